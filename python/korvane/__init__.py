"""Korvane's components for PyQt6."""
from PyQt6 import QtWidgets  # noqa: F401  (PyQt6's modules load before the extension)

from ._korvane import qor

# The classes, enumerations and routines of namespace qor, at the package's top level too.
for _name in dir(qor):
    if not _name.startswith("_"):
        globals()[_name] = getattr(qor, _name)
del _name
