"""Loading Designer forms that hold the library's widgets."""
import os
import re
import tempfile

from PyQt6 import uic

# A custom widget entry as the Designer plugin writes it: <class>qor::TMeter</class> with its
# header; PyQt's loader imports the header's name as a module, so both are pointed at korvane.
_ENTRY = re.compile(r"(<customwidget>\s*<class>)qor::(\w+)(</class>.*?<header[^>]*>)[^<]*(</header>)", re.S)
_WIDGET = re.compile(r'(<widget\s+class=")qor::(\w+)(")')


def _rewrite(text):
    text = _ENTRY.sub(r"\1\2\3korvane\4", text)
    return _WIDGET.sub(r"\1\2\3", text)


def loadUi(uifile, baseinstance=None, package="", resource_suffix="_rc"):
    """PyQt6.uic.loadUi for forms with korvane widgets (class names qor::TMeter and the like).

    uifile is a file name or an open file, as for PyQt6.uic.loadUi; the result is the same.
    """
    if hasattr(uifile, "read"):
        text = uifile.read()
        base = os.getcwd()
    else:
        with open(uifile, encoding="utf-8") as f:
            text = f.read()
        base = os.path.dirname(os.path.abspath(uifile))
    if isinstance(text, bytes):
        text = text.decode("utf-8")
    # Resources and icons are named relative to the form, so the rewritten copy sits beside it
    # when it can; otherwise in the temporary folder.
    try:
        fd, path = tempfile.mkstemp(suffix=".ui", dir=base)
    except OSError:
        fd, path = tempfile.mkstemp(suffix=".ui")
    try:
        with os.fdopen(fd, "w", encoding="utf-8") as f:
            f.write(_rewrite(text))
        return uic.loadUi(path, baseinstance, package, resource_suffix)
    finally:
        os.unlink(path)
