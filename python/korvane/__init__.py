"""Korvane's components for PyQt6.

The classes, enumerations, sets and routines of the C++ namespace qor are attributes of this
package (korvane.TMeter, korvane.TMeterLayout.mlCirc180), and so are the library's exceptions
(korvane.EQORRLDataError, a subclass of korvane.EQORError and RuntimeError).
"""
from PyQt6 import QtWidgets  # noqa: F401  (PyQt6's modules load before the extension)

from . import _korvane
from ._korvane import qor
from ._narrow_enums import NARROW_ENUMS


def _export():
    names = {n: getattr(qor, n) for n in dir(qor) if not n.startswith("_")}
    names.update({n: v for n, v in vars(_korvane).items()
                  if isinstance(v, type) and issubclass(v, BaseException)})
    globals().update(names)


def _mend_narrow_enums():
    # PyQt reads an enumeration argument of a signal as an int, four bytes, where the library's
    # enumerations of one or two bytes leave the bytes above theirs undefined. Only the low bytes
    # count, as in C++.
    for name, bits in NARROW_ENUMS.items():
        cls = getattr(qor, name, None)
        if cls is None:
            continue
        mask = (1 << bits) - 1
        wide_missing = cls._missing_

        def _missing_(c, value, mask=mask, wide_missing=wide_missing):
            if isinstance(value, int) and value & ~mask and value & mask in c._value2member_map_:
                return c._value2member_map_[value & mask]
            return wide_missing(value)

        cls._missing_ = classmethod(_missing_)


_export()
_mend_narrow_enums()


def loadUi(uifile, baseinstance=None, package=""):
    """PyQt6.uic.loadUi for forms with the library's widgets (see uiloader.loadUi)."""
    # PyQt's form loader (Debian's pyqt6-dev-tools) is needed only here.
    from .uiloader import loadUi as load
    return load(uifile, baseinstance, package)
