"""The module keeps up with the headers: every component class, published property and signal."""
import re

import pytest

import korvane
from conftest import SOURCE_DIR, qobject_classes

UNIT_DIRS = ["platform", "foundation", "report_list", "numeric_input", "meter", "table_editor",
             "labels", "calendar", "buttons", "bars", "browsing"]
# Plumbing the bindings leave out on purpose: they have no use from Python.
NOT_WRAPPED = {"TCanvasItemDelegate", "TInplaceEdit"}


def header_qobject_classes():
    found = set()
    for d in UNIT_DIRS:
        for h in (SOURCE_DIR / d).glob("*.h"):
            if h.name.endswith("_p.h"):
                continue
            text = h.read_text()
            for m in re.finditer(r"^class KORVANE_EXPORT (\w+)[^{;]*\{\s*Q_OBJECT", text, re.M):
                found.add(m.group(1))
    return found


def own_members(cls):
    """Properties and signals the library's classes add above Qt's."""
    meta = cls.staticMetaObject
    qt = meta
    while qt.className().startswith("qor::"):
        qt = qt.superClass()
    props = [meta.property(i) for i in range(qt.propertyCount(), meta.propertyCount())]
    signals = {bytes(meta.method(i).name()).decode() for i in range(qt.methodCount(), meta.methodCount())
               if meta.method(i).methodType() == meta.method(i).MethodType.Signal}
    return props, signals


def test_every_component_class_of_the_headers_is_wrapped():
    classes = header_qobject_classes()
    assert len(classes) > 20
    missing = sorted(c for c in classes - NOT_WRAPPED if not hasattr(korvane, c))
    assert not missing


@pytest.mark.parametrize("name", sorted(qobject_classes()))
def test_published_properties_and_signals_are_wrapped(name):
    cls = qobject_classes()[name]
    props, signals = own_members(cls)
    missing = []
    for p in props:
        if not hasattr(cls, p.name()):
            missing.append(p.name())
        qt_setter = "set" + p.name()[0].upper() + p.name()[1:]
        if p.isWritable() and not hasattr(cls, qt_setter):
            missing.append(qt_setter)
    missing += [s for s in signals if not hasattr(cls, s)]
    assert not missing, f"{name} lacks {missing}"


def test_generated_files_match_the_headers():
    import subprocess
    import sys
    r = subprocess.run([sys.executable, str(SOURCE_DIR / "python" / "gen_sip.py"), "--check"],
                       capture_output=True, text=True)
    assert r.returncode == 0, r.stdout + r.stderr
