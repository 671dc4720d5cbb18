"""Korvane's components for PyQt6.

The classes, enumerations, sets and routines of the C++ namespace qor are attributes of this
package (korvane.TMeter, korvane.TMeterLayout.mlCirc180), and so are the library's exceptions
(korvane.EQORRLDataError, a subclass of korvane.EQORError and RuntimeError).
"""
from PyQt6 import QtWidgets  # noqa: F401  (PyQt6's modules load before the extension)

from . import _korvane
from ._korvane import qor


def _export():
    names = {n: getattr(qor, n) for n in dir(qor) if not n.startswith("_")}
    names.update({n: v for n, v in vars(_korvane).items()
                  if isinstance(v, type) and issubclass(v, BaseException)})
    globals().update(names)


_export()

from .uiloader import loadUi  # noqa: E402,F401
