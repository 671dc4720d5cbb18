"""Loading Designer forms that hold the library's widgets."""
import enum
import io
import os
import re

from PyQt6.uic import properties as _properties
from PyQt6.uic.Loader.loader import DynamicUILoader

# A custom widget entry as the Designer plugin writes it: <class>qor::TMeter</class> with its
# header; PyQt's loader imports the header's name as a module, so both are pointed at korvane.
_ENTRY = re.compile(r"(<customwidget>\s*<class>)qor::(\w+)(</class>.*?<header[^>]*>)[^<]*(</header>)", re.S)
_WIDGET = re.compile(r'(<widget\s+class=")qor::(\w+)(")')


def _rewrite(text):
    text = _ENTRY.sub(r"\1\2\3korvane\4", text)
    return _WIDGET.sub(r"\1\2\3", text)


def _qor_enum_members():
    from . import qor
    members = {}
    for cls in vars(qor).values():
        if isinstance(cls, type) and issubclass(cls, enum.Enum):
            members.update(cls.__members__)
    return members


def _enum_member_reader(original):
    """Designer writes the library's values as qor::QOR_Meter::mlCirc180: the names are unique in
    namespace qor, so the member is found by its last part. Other names go to PyQt's reader."""
    members = {}

    def read(self, cpp_name):
        if not cpp_name.startswith("qor::"):
            return original(self, cpp_name)
        if not members:
            members.update(_qor_enum_members())
        try:
            return members[cpp_name.rsplit("::", 1)[-1]]
        except KeyError:
            raise AttributeError(f"no enumeration value {cpp_name} in korvane") from None

    read.korvane = True
    return read


if not getattr(_properties.Properties._pyEnumMember, "korvane", False):
    _properties.Properties._pyEnumMember = _enum_member_reader(_properties.Properties._pyEnumMember)


class _Loader(DynamicUILoader):
    """PyQt's loader, reading the rewritten text, with paths in the form relative to its file."""

    def __init__(self, package, base_dir):
        super().__init__(package)
        self._base_dir = base_dir

    def parse(self, filename):
        set_base_dir = self.wprops.set_base_dir
        self.wprops.set_base_dir = lambda _: set_base_dir(self._base_dir)
        try:
            return super().parse(filename)
        finally:
            self.wprops.set_base_dir = set_base_dir


def loadUi(uifile, baseinstance=None, package=""):
    """PyQt6.uic.loadUi for forms with korvane widgets (class names qor::TMeter and the like).

    uifile is a file name or an open file, as for PyQt6.uic.loadUi; so are the other arguments
    and the result.
    """
    if hasattr(uifile, "read"):
        text = uifile.read()
        base_dir = ""
    else:
        with open(uifile, "rb") as f:
            text = f.read()
        base_dir = os.path.dirname(uifile)
    if isinstance(text, bytes):
        text = text.decode("utf-8")
    rewritten = io.BytesIO(_rewrite(text).encode("utf-8"))
    return _Loader(package, base_dir).loadUi(rewritten, baseinstance)
