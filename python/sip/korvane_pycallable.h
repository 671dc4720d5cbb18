// Written by hand (python/gen_sip.py leaves it alone): a Python callable held by an event. The
// last copy of the event lets it go under the GIL.
#pragma once

#include <Python.h>

struct KorvanePyCallable
{
    PyObject *callable;
    explicit KorvanePyCallable(PyObject *c) : callable(c) { Py_INCREF(c); }
    KorvanePyCallable(const KorvanePyCallable &) = delete;
    KorvanePyCallable &operator=(const KorvanePyCallable &) = delete;
    ~KorvanePyCallable()
    {
        if (!Py_IsInitialized())
            return;
        PyGILState_STATE state = PyGILState_Ensure();
        Py_DECREF(callable);
        PyGILState_Release(state);
    }
};
