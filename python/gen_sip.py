#!/usr/bin/env python3
"""Writes the .sip files of python/sip/ from the library's headers.

    python3 python/gen_sip.py            rewrite the generated .sip files
    python3 python/gen_sip.py --check    exit 1 when a generated file is out of date

One generated file per unit header. The script reads the headers the way the library writes them:
published properties from the QOR_..._PROPERTY macros (getter X, writers SetX and setX), Qt signals
from Q_SIGNALS sections, enumerations, sets and flags at namespace level, and the public methods and
exported routines whose types the bindings know (TYPE_MAP, the enumerations, sets and wrapped
classes). A declaration with a type it does not know is left out and listed at the end of the
unit's file, so a reader sees what Python lacks. Hand-written parts live in korvane.sip and
QOR_base.sip.
"""
from __future__ import annotations

import argparse
import re
import sys
from dataclasses import dataclass, field
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
SIP_DIR = ROOT / "python" / "sip"

# The unit headers that are wrapped, in dependency order.
UNITS = [
    "platform/QOR_Classes.h",
    "platform/QOR_Controls.h",
    "platform/QOR_Graphics.h",
    "platform/QOR_Timer.h",
    "platform/QOR_Grids.h",
    "platform/QOR_StdCtrls.h",
    "platform/QOR_Buttons.h",
    "platform/QOR_DateUtils.h",
    "platform/QOR_SysUtils.h",
    "foundation/QOR_qorbase.h",
    "foundation/QOR_qorcolors.h",
    "foundation/QOR_dstruct.h",
    "foundation/QOR_matrix.h",
    "foundation/QOR_datatable.h",
    "foundation/QOR_math1.h",
    "numeric_input/QOR_NumText.h",
    "numeric_input/QOR_NumIO.h",
    "numeric_input/QOR_NumIO2.h",
    "numeric_input/QOR_NumIOEdit.h",
    "meter/QOR_Meter.h",
    "bars/QOR_ProgBar.h",
    "bars/QOR_gradfl.h",
    "labels/QOR_NumLab.h",
    "labels/QOR_RasterLab.h",
    "labels/QOR_RotLab.h",
    "labels/QOR_sevenseg.h",
    "buttons/QOR_Colsel.h",
    "buttons/QOR_marksel.h",
    "buttons/QOR_onoffbut.h",
    "buttons/QOR_repsbut.h",
    "calendar/QOR_MiniCal.h",
    "report_list/QOR_rldatescan.h",
    "report_list/QOR_rldata.h",
    "report_list/QOR_rlview.h",
    "report_list/QOR_rlformdata.h",
    "table_editor/QOR_ntabed.h",
    "browsing/QOR_FolderTree.h",
    "browsing/QOR_Thumbnails.h",
]

# Classes that are no QObject but are wrapped: the drawing objects events hand to Python.
VALUE_CLASSES = {"TFont", "TCanvas", "TPen", "TBrush", "TBitmap"}
# Plain structures wrapped as values with their fields.
STRUCT_CLASSES = {"TGridCoord", "TGridRect", "TMeterTickStep"}
QT_BASES = {"QObject", "QWidget", "QLineEdit", "QToolButton", "QComboBox", "QTreeWidget", "QAbstractScrollArea"}
# Classes never wrapped: host templates and plumbing that Python has no use for.
SKIP_CLASSES = {"TControlHost", "TSurfaceHost", "TControlEvents", "TComponentState", "TCanvasItemDelegate",
                "TInplaceEdit", "TAccessibleTableSource", "TPaletteScope", "TGraphicsObject", "TTextCache", "FormatArg", "TRowEditor", "TRowFilter", "TMatrixStore"}
# Qt classes that play a host template's part.
HOST_BASES = {
    "TSurfaceHost<QWidget>": "QWidget",
    "TSurfaceHost<QAbstractScrollArea>": "QAbstractScrollArea",
    "TControlHost<QWidget>": "QWidget",
    "TControlHost<QLineEdit>": "QLineEdit",
    "TControlHost<QToolButton>": "QToolButton",
    "TControlHost<QComboBox>": "QComboBox",
    "TControlHost<QTreeWidget>": "QTreeWidget",
}

# The On... members of TControlEvents, which every class on a host template inherits (filled
# while reading QOR_Controls.h).
CONTROL_EVENTS = []

# Members a class inherits from a template base the script does not read.
_STORE = ["int NrOfColumns() const;", "int NrOfRows() const;", "void Resize(int NrCols, int NrRows);",
          "void Fill({T} Value);", "bool Valid(int Col, int Row) const;"]
# A bulk writer for Python: one call stores a list of rows of text, cell by cell as SetElem does
# (cells outside the table are left out), without a Python call per cell.
_SET_ELEMS = """void SetElems(int FirstCol, int FirstRow, SIP_PYOBJECT Rows /TypeHint="Sequence[Sequence[str]]"/);
%MethodCode
    PyObject *rows = PySequence_Fast(a2, "Rows must be a sequence of rows");
    for (Py_ssize_t r = 0; rows && !sipIsErr && r < PySequence_Fast_GET_SIZE(rows); ++r)
    {
        PyObject *row = PySequence_Fast(PySequence_Fast_GET_ITEM(rows, r), "each row must be a sequence of str");
        for (Py_ssize_t c = 0; row && c < PySequence_Fast_GET_SIZE(row); ++c)
        {
            Py_ssize_t size = 0;
            const char *text = PyUnicode_AsUTF8AndSize(PySequence_Fast_GET_ITEM(row, c), &size);
            if (!text)
                break;
            sipCpp->SetElem(a0 + int(c), a1 + int(r), QString::fromUtf8(text, size));
        }
        Py_XDECREF(row);
        sipIsErr = PyErr_Occurred() != 0;
    }
    Py_XDECREF(rows);
    sipIsErr = sipIsErr || PyErr_Occurred() != 0;
%End"""
EXTRA_MEMBERS = {"TMatrix": [m.format(T="double") for m in _STORE],
                 "TIntMatrix": [m.format(T="int") for m in _STORE],
                 "TRLData": [_SET_ELEMS]}

# Reference parameters that only return a value (Python does not pass them); every other
# non-const reference parameter is passed in and returned.
OUT_ONLY = {
    "CalcEasterSunday": {"Day", "Month"}, "DecodeDate": {"Year", "Month", "Day"},
    "DecodeTime": {"Hour", "Min", "Sec", "MSec"}, "ScanDateTimeStr": {"ErrorCode"},
    "TryEncodeDate": {"Date"}, "TryEncodeTime": {"Time"}, "ConvertPixelToValue": {"MeterValue"},
    "ConvertToPixelCoords": {"X", "Y"}, "WeekOfTheYear": {"Year"}, "ScanFloatStr": {"IsNumber"},
    "CellDate": {"Date"}, "CalcSlidePos": {"XPos", "YPos"}, "MouseButtonFromQt": {"out"},
    "IdentToColor": {"c"}, "ColorToIdent": {"ident"}, "MouseToCell": {"ACol", "ARow"},
    "RetrieveHoliday": {"Day", "Month", "Year", "IsRepeatHDay", "Description"},
    "CheckHoliday": {"Caption"}, "ConvertNumString": {"Value"}, "ValDouble": {"Code"}, "ValInt": {"Code"},
    "TryStrToInt": {"Value"}, "TryStrToFloat": {"Value"}, "MarkPosition": {"Pos"},
    "GetClipMatrixSize": {"NCols", "NRows"}, "ClipMatrixSize": {"NCols", "NRows"},
}

# Methods whose object keeps using the object argument without owning it.
KEEPS_ARGUMENT = {"AssignAnotherDataMatrix"}

# C++ type (without const/&) -> SIP type. Pointers to these are not wrapped unless listed.
TYPE_MAP = {
    "void": "void", "bool": "bool", "int": "int", "unsigned": "unsigned int", "unsigned int": "unsigned int",
    "double": "double", "float": "float", "long double": None,
    "std::int32_t": "int", "std::uint32_t": "unsigned int", "std::int64_t": "qint64", "std::uint64_t": "quint64",
    "std::uint8_t": "int", "std::uint16_t": "int", "std::int16_t": "int", "std::size_t": "size_t",
    "qint64": "qint64", "size_t": "size_t", "Int64": "qint64",
    "QString": "QString", "QStringList": "QStringList", "QColor": "QColor", "QFont": "QFont",
    "QPoint": "QPoint", "QRect": "QRect", "QSize": "QSize", "QPointF": "QPointF", "QRectF": "QRectF",
    "QImage": "QImage", "QPixmap": "QPixmap", "QByteArray": "QByteArray", "QDate": "QDate",
    "QDateTime": "QDateTime", "QVariant": "QVariant", "QPalette": "QPalette",
    "TColor": "qor::TColor", "TDateTime": "qor::TDateTime", "WORD": "qor::WORD",
    "TIntArray": "QList<int>", "TDoubleArray": "QList<qreal>", "QVector<int>": "QList<int>",
    "QVector<double>": "QList<qreal>", "QList<int>": "QList<int>", "QList<double>": "QList<qreal>",
    "TOpenStringArray": "QStringList", "TNameStrType": "QString", "TColFmtString": "QString",
    "TDTNameStr": "QString", "qreal": "double", "QChar": "QChar", "QIcon": "QIcon",
    "Qt::KeyboardModifiers": "Qt::KeyboardModifiers", "Qt::MouseButtons": "Qt::MouseButtons",
    "Qt::MouseButton": "Qt::MouseButton", "QVector<QPoint>": "QList<QPoint>", "QTextStream": "QTextStream",
}
# Qt classes PyQt wraps as classes: a non-const reference to one is the object itself, not a result.
QT_CLASSES = {"QTextStream", "QImage", "QFont", "QColor"}
QT_POINTERS = {"QWidget", "QObject", "QMenu", "QTreeWidgetItem", "QPainter", "QImage", "QIODevice",
               "QStandardItemModel", "QAbstractItemModel", "QLineEdit", "QPlainTextEdit", "QDialog"}


@dataclass
class Known:
    enums: set = field(default_factory=set)         # enumeration type names
    flags: set = field(default_factory=set)         # QFlags names
    sets: dict = field(default_factory=dict)        # set name -> element enumeration
    values: set = field(default_factory=set)        # enumeration value names
    classes: set = field(default_factory=set)       # wrapped class names
    events: dict = field(default_factory=dict)      # event type -> (parameters, SIP text)
    event_signatures: dict = field(default_factory=dict)  # parameters -> event type


# ---------------------------------------------------------------------------------------------
# Reading a header

def strip_comments(text: str) -> str:
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    return re.sub(r"//[^\n]*", "", text)


def read_macros(text: str) -> tuple[str, dict]:
    """Removes preprocessor lines; returns the text and the function-like macros defined."""
    macros, out, lines, i = {}, [], text.split("\n"), 0
    while i < len(lines):
        line = lines[i]
        if line.lstrip().startswith("#"):
            full = line
            while full.endswith("\\") and i + 1 < len(lines):
                i += 1
                full = full[:-1] + "\n" + lines[i]
            m = re.match(r"\s*#\s*define\s+(\w+)(?:\(([^)]*)\))?\s*(.*)", full, re.S)
            if m:
                params = [p.strip() for p in m.group(2).split(",")] if m.group(2) is not None else []
                macros[m.group(1)] = (params, m.group(3))
            out.append("")
        else:
            out.append(line)
        i += 1
    return "\n".join(out), macros


def balanced(text: str, i: int, open_: str, close: str) -> int:
    """Index just past the bracket that closes the one at text[i]."""
    depth = 0
    while i < len(text):
        if text[i] == open_:
            depth += 1
        elif text[i] == close:
            depth -= 1
            if depth == 0:
                return i + 1
        i += 1
    raise ValueError("unbalanced " + open_)


def expand_macros(text: str, macros: dict) -> str:
    """Expands the header's own macros (not the published-property macros, read as they are)."""
    for _ in range(4):
        changed = False
        for name, (params, body) in macros.items():
            if name.startswith("QOR_") and name.endswith(("PROPERTY", "PROPERTY_NOTIFY", "_")) \
                    and "PROPERTIES" not in name:
                continue
            if name.startswith(("Q_", "KORVANE")):
                continue
            pattern = re.compile(r"\b%s\b" % name + (r"\s*\(" if params else r"(?!\s*\()"))
            m = pattern.search(text)
            while m:
                if params:
                    end = balanced(text, m.end() - 1, "(", ")")
                    args = [a.strip() for a in text[m.end():end - 1].split(",")]
                    expansion = body
                    for p, a in zip(params, args):
                        expansion = re.sub(r"\b%s\b" % re.escape(p), a, expansion)
                else:
                    end = m.end()
                    expansion = body
                expansion = re.sub(r"\s*##\s*", "", expansion)
                text = text[:m.start()] + "\n" + expansion + "\n" + text[end:]
                changed = True
                m = pattern.search(text, m.start() + len(expansion))
        if not changed:
            break
    return text


ACCESS = re.compile(r"(public|protected|private)(\s+(?:Q_SLOTS|slots))?\s*:(?!:)|(Q_SIGNALS|signals)\s*:(?!:)")
MACRO_CALL = re.compile(r"(Q_[A-Z_]+|QOR_[A-Z_]+)\s*\(")
BARE_MACRO = re.compile(r"(Q_OBJECT|Q_GADGET)\b")


def statements(text: str):
    """Yields (kind, head, body) for a scope: kind is 'access', 'macro' or 'decl'."""
    i, n = 0, len(text)
    while i < n:
        while i < n and text[i] in " \t\r\n;":
            i += 1
        if i >= n:
            break
        m = ACCESS.match(text, i)
        if m:
            yield "access", (m.group(1) or "signals"), None
            i = m.end()
            continue
        m = BARE_MACRO.match(text, i)
        if m:
            i = m.end()
            continue
        m = MACRO_CALL.match(text, i)
        if m:
            end = balanced(text, m.end() - 1, "(", ")")
            yield "macro", m.group(1), text[m.end():end - 1]
            i = end
            continue
        start, paren = i, 0
        while i < n:
            c = text[i]
            if c == "(":
                paren += 1
            elif c == ")":
                paren -= 1
            elif c == ";" and paren == 0:
                yield "decl", text[start:i].strip(), None
                i += 1
                break
            elif c == "{" and paren == 0:
                end = balanced(text, i, "{", "}")
                head = text[start:i].strip()
                # A brace initialiser of a data member (int x{0};) ends like a declaration.
                yield "decl", head, text[i + 1:end - 1]
                i = end
                break
            i += 1
        else:
            break


# ---------------------------------------------------------------------------------------------
# Declarations

@dataclass
class Unit:
    header: str
    enums: list = field(default_factory=list)      # (name, values, is_flag_enum)
    flags: list = field(default_factory=list)      # (flags name, enum name)
    sets: list = field(default_factory=list)       # (set name, element enum)
    classes: list = field(default_factory=list)    # ClassDecl
    functions: list = field(default_factory=list)  # raw declarations
    consts: list = field(default_factory=list)     # (name, sip type)
    narrow: dict = field(default_factory=dict)     # enumeration -> bits, when under an int
    events: dict = field(default_factory=dict)     # event type -> its parameter list


@dataclass
class ClassDecl:
    name: str
    base: str
    is_qobject: bool
    props: list = field(default_factory=list)      # (macro, args)
    methods: list = field(default_factory=list)    # raw public declarations
    signals: list = field(default_factory=list)    # raw signal declarations
    hidden: list = field(default_factory=list)     # Qt virtuals the class overrides privately
    events: list = field(default_factory=list)     # (event type or parameter list, member name)
    fields: list = field(default_factory=list)     # (type, name) of a plain structure
    exception: bool = False
    hosted: bool = False                           # stands directly on a host template


def read_unit(path: str) -> tuple[Unit, dict]:
    text = strip_comments((ROOT / path).read_text())
    text, macros = read_macros(text)
    return Unit(path), (text, macros)


def collect(unit: Unit, text: str, in_class_template=False):
    """Reads the namespace-level statements of a header into unit."""
    for kind, head, body in statements(text):
        if kind == "macro":
            if head == "Q_DECLARE_FLAGS":
                flags, enum = [a.strip() for a in body.split(",")]
                unit.flags.append((flags, enum))
            continue
        if kind != "decl":
            continue
        m = re.match(r"(?:inline\s+)?namespace\s*(\w*)\s*$", head)
        if m and body is not None:
            collect(unit, body)
            continue
        if head.startswith("template"):
            continue
        m = re.match(r"enum\s+(?:class\s+)?(\w*)\s*(?::\s*([\w:]+))?\s*$", head)
        if m and body is not None:
            if head.startswith("enum class"):
                continue
            if not m.group(1):
                # An unnamed enumeration gives named integer constants (VK_RETURN, dtsOk ...).
                unit.consts += [(v.split("=")[0].strip(), "int") for v in body.split(",") if v.strip()]
                continue
            values = [v.split("=")[0].strip() for v in body.split(",") if v.strip()]
            unit.enums.append((m.group(1), values))
            bits = {"std::uint8_t": 8, "std::int8_t": 8, "std::uint16_t": 16, "std::int16_t": 16}
            if m.group(2) in bits:
                unit.narrow[m.group(1)] = bits[m.group(2)]
            continue
        m = re.match(r"(class|struct)\s+(?:KORVANE_EXPORT\s+)?(\w+)\s*(?:final\s*)?(?::\s*(.*))?$", head, re.S)
        if m and body is not None:
            read_class(unit, m.group(2), m.group(3) or "", body)
            continue
        m = re.match(r"using\s+(\w+)\s*=\s*TSet<\s*(\w+)\s*,", head)
        if m:
            unit.sets.append((m.group(1), m.group(2)))
            continue
        m = re.match(r"using\s+(\w+)\s*=\s*std::function<\s*void\s*\((.*)\)\s*>$", head, re.S)
        if m:
            unit.events[m.group(1)] = re.sub(r"\s+", " ", m.group(2)).strip()
            continue
        if head.startswith(("using", "typedef", "extern", "friend", "static_assert")):
            continue
        m = re.match(r"(?:inline\s+)?constexpr\s+([\w:]+)\s+(\w+)\s*=", head)
        if m:
            unit.consts.append((m.group(2), m.group(1)))
            continue
        if "(" in head and "operator" not in head:
            unit.functions.append(re.sub(r"\s+", " ", head))


def read_class(unit: Unit, name: str, bases: str, body: str):
    if name == "TControlEvents":
        # The events every control base republishes: members of each class on a host.
        holder = ClassDecl(name, "", False)
        read_members(holder, body)
        CONTROL_EVENTS[:] = holder.events
        return
    if name in SKIP_CLASSES:
        return
    base_list = [b.strip() for b in re.split(r",(?![^<]*>)", bases) if b.strip()]
    base_list = [re.sub(r"^(public|protected|private)\s+", "", b) for b in base_list]
    first = base_list[0] if base_list else ""
    hosted = first.replace(" ", "") in HOST_BASES
    first = HOST_BASES.get(first.replace(" ", ""), first)
    is_exception = bool(re.search(r"\b(Exception|EQORError|E\w+Error|std::runtime_error)\b", first))
    cls = ClassDecl(name, first, "Q_OBJECT" in body, exception=is_exception, hosted=hosted)
    if is_exception:
        unit.classes.append(cls)
        return
    if not cls.is_qobject and name not in VALUE_CLASSES | STRUCT_CLASSES:
        return
    read_members(cls, body, "public" if name in STRUCT_CLASSES else "private")
    unit.classes.append(cls)


def read_members(cls: ClassDecl, body: str, access="private"):
    for kind, head, inner in statements(body):
        if kind == "access":
            access = head
            continue
        if access == "private" and kind == "decl" and re.search(r"\boverride\b", head) \
                and re.search(r"\b[a-z]\w*\s*\(", head):
            cls.hidden.append(re.sub(r"\s+", " ", head))
        if access not in ("public", "signals"):
            continue
        if kind == "macro":
            if head.startswith("QOR_") and "PROPERTY" in head:
                cls.props.append((head, [a.strip() for a in inner.split(",")]))
            continue
        m = re.match(r"(?:std::function<\s*void\s*\((.*)\)\s*>|(\w+))\s+(On\w+)$", head, re.S) \
            if kind == "decl" and access == "public" else None
        if m:
            cls.events.append((m.group(2) or re.sub(r"\s+", " ", m.group(1)).strip(), m.group(3)))
            continue
        m = re.match(r"([\w:]+)\s+(\w+)(\s*=.*)?$", head) if kind == "decl" and cls.name in STRUCT_CLASSES else None
        if m:
            cls.fields.append((m.group(1), m.group(2)))
            continue
        if kind != "decl" or "(" not in head or head.startswith(("template", "friend", "using", "operator", "~")):
            continue
        decl = re.sub(r"\s+", " ", head)
        if inner is not None:
            decl = re.sub(r"\)\s*:(?!:).*$", ")", decl)   # a constructor's initialiser list
        (cls.signals if access == "signals" else cls.methods).append(decl)


# ---------------------------------------------------------------------------------------------
# Types

def base_name(t: str) -> str:
    """qor::QOR_Meter::TMeterLayout -> TMeterLayout; qor::TCanvas -> TCanvas."""
    return re.sub(r"^(?:qor::)?(?:QOR_\w+::)?", "", t.strip())


def sip_type(t: str, known: Known) -> str | None:
    """The SIP spelling of a C++ type, or None when the bindings do not know it."""
    t = re.sub(r"\s+", " ", t.strip())
    t = re.sub(r"\s*([*&<>,])\s*", r"\1", t)
    const = t.startswith("const ")
    if const:
        t = t[6:]
    ref = t.endswith("&")
    t = t.rstrip("&")
    ptr = t.count("*")
    t = t.rstrip("*").rstrip()
    if t.endswith(" const"):
        t = t[:-6]
    name = base_name(t)
    prefix = "const " if const else ""
    suffix = "*" * ptr + ("&" if ref else "")
    if ptr:
        if ptr > 1:
            return None
        if name in known.classes:
            return f"{prefix}qor::{name} *"
        if t in QT_POINTERS:
            return f"{prefix}{t} *"
        return None
    if name in known.enums or name in known.flags or name in known.sets:
        return f"{prefix}qor::{name}" + (" &" if ref else "")
    if t in TYPE_MAP or name in TYPE_MAP:
        mapped = TYPE_MAP.get(t) or TYPE_MAP.get(name)
        if mapped is None:
            return None
        return f"{prefix}{mapped}" + (" &" if ref else "")
    if name in known.classes and ref:
        return f"{prefix}qor::{name} &"
    if name in STRUCT_CLASSES:
        return f"{prefix}qor::{name}" + (" &" if ref else "")
    return None


def split_args(args: str) -> list[str]:
    out, depth, cur = [], 0, ""
    for c in args:
        if c in "<({":
            depth += 1
        elif c in ">)}":
            depth -= 1
        if c == "," and depth == 0:
            out.append(cur)
            cur = ""
        else:
            cur += c
    if cur.strip():
        out.append(cur)
    return [a.strip() for a in out]


def sip_default(value: str, known: Known) -> str | None:
    v = value.strip()
    if v == "nullptr":
        return "0"
    if re.fullmatch(r"-?[\d.]+[uUlLfF]?|true|false|'.'|\"[^\"]*\"", v):
        return v
    if v in ("{}", "QString()", "QStringList()", "QColor()", "QPoint()", "QRect()", "QFont()"):
        return v if v != "{}" else None
    if re.fullmatch(r"Qt::\w+", v):
        return v
    name = base_name(v)
    if name in known.values:
        return "qor::" + name
    m = re.fullmatch(r"(\w+)\(\)", v)
    if m and (m.group(1) in known.sets or m.group(1) in known.flags):
        return f"qor::{m.group(1)}()"
    return None


FUNC = re.compile(r"^(?P<pre>(?:(?:static|virtual|inline|explicit|constexpr|Q_SLOT|Q_INVOKABLE|KORVANE_EXPORT|\[\[nodiscard\]\])\s+)*)"
                  r"(?P<ret>.*?)\b(?P<name>~?\w+)\s*\((?P<args>.*)\)\s*(?P<post>[^()]*)$", re.S)


def canonical(t: str) -> str:
    """The type a typedef stands for, so overloads that differ only in spelling are one."""
    return {"qor::TDateTime": "double", "qor::TColor": "int", "qor::WORD": "unsigned short"}.get(t.strip(), t.strip())


def sip_function(decl: str, known: Known, cls: str | None = None, signal=False):
    """(SIP text, key) for a declaration, or (None, reason) when it cannot be wrapped."""
    m = FUNC.match(decl)
    if not m:
        return None, "unreadable"
    pre, ret, name, args, post = m.group("pre"), m.group("ret").strip(), m.group("name"), m.group("args"), m.group("post")
    if name.startswith("~") or "operator" in decl or "= delete" in post or "[[" in ret:
        return None, "skipped"
    ret = ret.replace("KORVANE_EXPORT", "").strip()
    is_ctor = cls is not None and name == cls and not ret
    if name.startswith(("loaderSet", "Accessible", "SetAccessible", "DoAccessible", "ReplaceAccessible")):
        return None, "internal"
    if name in ("HostedQtClass", "ComponentObject", "metaObject", "qt_metacast", "qt_metacall"):
        return None, "internal"
    out_args = []
    for a in split_args(args):
        if a == "void":
            continue
        default = None
        if "=" in a:
            a, default = a.split("=", 1)
            a = a.strip()
            default = sip_default(default, known)
            if default is None:
                return None, f"default value in {name}"
        am = re.match(r"(.*?)(\w+)$", a)
        if am and am.group(1).strip() and am.group(1).strip() not in ("const", "unsigned"):
            atype, aname = am.group(1), am.group(2)
        else:
            atype, aname = a, ""
        st = sip_type(atype, known)
        if st is None:
            return None, f"type {atype.strip()} in {name}"
        anno = ""
        if st.endswith("&") and not st.startswith("const") and not signal \
                and st.rstrip("& ") not in QT_CLASSES:
            anno = " /Out/" if aname in OUT_ONLY.get(name, ()) else " /In, Out/"
        if (st == "QImage *" or name in KEEPS_ARGUMENT) and not signal:
            # The object goes on using what it is given (a canvas its image, an editor the table
            # it shows): Python keeps that alive at least as long.
            anno = " /KeepReference=1/"
        if is_ctor and st in ("QWidget *", "QObject *"):
            # The owner is the Qt parent; Python code (and PyQt's form loader) names it so.
            anno, aname = " /TransferThis/", "parent"
        text = f"{st} {aname}{anno}".strip()
        if default is not None:
            text += " = " + default
        out_args.append(text)
    const = " const" if re.search(r"\bconst\b", post) else ""
    arglist = ", ".join(out_args)
    if is_ctor:
        return f"{name}({arglist});", ("ctor", arglist)
    rt = sip_type(ret.replace("static", "").replace("virtual", "").replace("inline", "").strip(), known)
    if rt is None:
        return None, f"result {ret} of {name}"
    if rt.endswith("&"):
        if base_name(rt.replace("const ", "").rstrip("& ")).replace("qor::", "") in known.classes:
            return None, f"class by reference: result of {name}"
        if rt.startswith("const"):
            rt = rt[6:-1].strip()
        else:
            return None, f"reference result of {name}"
    static = "static " if "static" in pre.split() and not signal else ""
    # The key is the call as Python sees it: /Out/ arguments are not passed.
    key = (name, tuple(canonical(re.sub(r"\s*(/.*?/)?\s*(=.*)?$", "", a).rsplit(" ", 1)[0] if " " in a else a
                       ) for a in out_args if "/Out/" not in a))
    return f"{static}{rt} {name}({arglist}){const};", key


# ---------------------------------------------------------------------------------------------
# Events: a Python callable assigned to an On... member is called with the event's arguments;
# what it returns is written back to the by-reference arguments (one value, or a tuple of them in
# their order; None leaves them as they are).

SCALAR_TO_PY = {"int": "PyLong_FromLong(long({a}))", "WORD": "PyLong_FromLong(long({a}))",
                "std::uint8_t": "PyLong_FromLong(long({a}))", "TColor": "PyLong_FromLong(long({a}))",
                "double": "PyFloat_FromDouble({a})", "bool": "PyBool_FromLong({a})"}
SCALAR_FROM_PY = {"int": "{a} = int(PyLong_AsLong({r}));", "WORD": "{a} = WORD(PyLong_AsLong({r}));",
                  "TColor": "{a} = TColor(PyLong_AsLong({r}));", "double": "{a} = PyFloat_AsDouble({r});",
                  "bool": "{a} = PyObject_IsTrue({r}) == 1;"}
VALUE_TYPES = {"QString", "QPoint", "QRect", "QChar"}
POINTER_TYPES = {"QObject": "sipType_QObject", "TCanvas": "sipType_qor_TCanvas",
                 "QTreeWidgetItem": "sipType_QTreeWidgetItem"}


def event_params(params: str):
    """[(type, name, by reference)] of a parameter list."""
    out = []
    for i, a in enumerate(split_args(params)):
        m = re.match(r"(const\s+)?([\w:]+)\s*([*&]?)\s*(\w*)$", a)
        if not m:
            return None
        const, t, deref, _ = m.groups()
        out.append((base_name(t), deref, bool(deref == "&" and not const)))
    return out


def event_code(name: str, params: list, known: Known) -> str | None:
    """The mapped type and the call object of an event type; None when a parameter is not known."""
    decls, to_py, back = [], [], []
    for i, (t, deref, by_ref) in enumerate(params):
        a = f"a{i}"
        if deref == "*":
            if t not in POINTER_TYPES:
                return None
            to_py.append(f"sipConvertFromType({a}, {POINTER_TYPES[t]}, 0)")
        elif t in SCALAR_TO_PY:
            to_py.append(SCALAR_TO_PY[t].format(a=a))
            if by_ref:
                if t not in SCALAR_FROM_PY:
                    return None
                back.append(SCALAR_FROM_PY[t].format(a=a, r="{r}"))
        elif t in known.enums:
            to_py.append(f"sipConvertFromEnum(int({a}), sipType_qor_{t})")
            if by_ref:
                back.append(f"{a} = static_cast<{t}>(sipConvertToEnum({{r}}, sipType_qor_{t}));")
        elif t in known.sets or t in VALUE_TYPES:
            sip_t = f"sipType_qor_{t}" if t in known.sets else f"sipType_{t}"
            cpp_t = f"qor::{t}" if t in known.sets else t
            to_py.append(f"sipConvertFromNewType(new {cpp_t}({a}), {sip_t}, 0)")
            if by_ref:
                back.append(f"korvaneAssignFrom({{r}}, {sip_t}, {a});")
        else:
            return None
        ref = "&" if by_ref else ("*" if deref == "*" else "")
        const = "const " if deref == "&" and not by_ref else ""
        decls.append(f"{const}{t}{' ' if not ref else ref} {a}".replace("  ", " ").replace(" &", "&"))
    items = "\n".join(f"    PyTuple_SET_ITEM(args, {i}, {e});" for i, e in enumerate(to_py))
    if len(back) == 1:
        results = "        " + back[0].format(r="r")
    elif back:
        results = (f"        if (PyTuple_Check(r) && PyTuple_GET_SIZE(r) == {len(back)})\n        {{\n"
                   + "\n".join("            " + b.format(r=f"PyTuple_GET_ITEM(r, {i})") for i, b in enumerate(back))
                   + "\n        }\n        else\n            PyErr_SetString(PyExc_TypeError, "
                   + f'"the handler must return None or a tuple of {len(back)} values");')
    else:
        results = ""
    call = f"KorvaneCall_{name}"
    struct = (f"struct {call}\n{{\n    std::shared_ptr<KorvanePyCallable> py;\n"
              f"    void operator()({', '.join(decls)}) const;\n}};\n")
    return struct, f"""
%MappedType qor::{name} /AllowNone, TypeHint="Optional[Callable[..., Any]]"/
{{
%TypeHeaderCode
#include <korvane_events.h>
%End

%ConvertToTypeCode
    if (!sipIsErr)
        return sipPy == Py_None || PyCallable_Check(sipPy);
    *sipCppPtr = sipPy == Py_None ? new qor::{name}()
                                  : new qor::{name}(qor::{call}{{std::make_shared<KorvanePyCallable>(sipPy)}});
    return sipGetState(sipTransferObj);
%End

%ConvertFromTypeCode
    // A handler assigned from Python reads back as itself; one set in C++ as None.
    if (const auto *call = sipCpp->target<qor::{call}>())
    {{
        Py_INCREF(call->py->callable);
        return call->py->callable;
    }}
    Py_INCREF(Py_None);
    return Py_None;
%End
}};

%ModuleCode
#include <korvane_events.h>
namespace qor {{
void {call}::operator()({", ".join(decls)}) const
{{
    if (!Py_IsInitialized())
        return;
    SIP_BLOCK_THREADS
    PyObject *args = PyTuple_New({len(to_py)});
{items}
    PyObject *r = PyObject_CallObject(py->callable, args);
    Py_DECREF(args);
    if (r)
    {{
        if (r != Py_None)
        {{
{results}
        }}
        Py_DECREF(r);
    }}
    // An exception in a handler is reported and ends the handler, not the program.
    if (PyErr_Occurred())
        PyErr_Print();
    SIP_UNBLOCK_THREADS
}}
}}
%End
"""


EVENTS_HEADER = """// Generated by python/gen_sip.py: what the event types of QOR_events.sip need.
#pragma once

#include <memory>

#include "korvane_pycallable.h"

{includes}
"""


def write_events(known: Known) -> str:
    out = ["// Generated by python/gen_sip.py: the event types whose handlers Python can assign.",
           "",
           "%ModuleCode",
           "// Writes what a handler returned into a by-reference argument of a wrapped type.",
           "template <class T>",
           "static void korvaneAssignFrom(PyObject *value, const sipTypeDef *type, T &target)",
           "{",
           "    int state = 0, err = 0;",
           "    void *p = sipForceConvertToType(value, type, 0, SIP_NOT_NONE, &state, &err);",
           "    if (!err && p)",
           "        target = *reinterpret_cast<T *>(p);",
           "    if (p)",
           "        sipReleaseType(p, type, state);",
           "}",
           "%End"]
    for name in sorted(known.events):
        out.append(known.events[name][1])
    return "\n".join(out) + "\n"


# ---------------------------------------------------------------------------------------------
# Properties

def property_members(macro: str, args: list[str], known: Known) -> list[str]:
    """The getter and the two writers Python users call for a published property."""
    if macro in ("QOR_PROPERTY", "QOR_PROPERTY_NOTIFY", "QOR_UNSTORED_PROPERTY", "QOR_UNSTORED_PROPERTY_NOTIFY"):
        st = sip_type(args[0], known)
        if st is None:
            return []
        name = args[1]
        arg = st if st in ("int", "bool", "double") or st.startswith("qor::T") else f"const {st} &"
        return [f"{st} {name}() const;", f"void Set{name}({arg} v);", f"void set{name}({arg} v);"]
    if macro in ("QOR_COLOR_PROPERTY", "QOR_COLOR_PROPERTY_NOTIFY"):
        name = args[0]
        return [f"qor::TColor {name}() const;", f"void Set{name}(qor::TColor v);",
                f"QColor {name}AsQColor() const;", f"void set{name}(const QColor &v);"]
    if macro == "QOR_FONT_PROPERTY":
        name = args[0]
        return [f"qor::TFont *{name}();", f"QFont {name}AsQFont() const;", f"void set{name}(const QFont &v);"]
    if macro == "QOR_SUB_PROPERTY":
        st = sip_type(args[0], known)
        name = f"{args[1]}_{args[2]}"
        return [f"{st} {name}() const;", f"void set{name}({st} v);"]
    if macro == "QOR_SUB_COLOR_PROPERTY":
        name = f"{args[0]}_{args[1]}"
        return [f"QColor {name}() const;", f"void set{name}(const QColor &v);"]
    return []


# ---------------------------------------------------------------------------------------------
# Writing

SET_TEMPLATE = """
%MappedType qor::{name} /TypeHint="Set[qor.{elem}]"/
{{
%TypeHeaderCode
#include <{header}>
%End

%ConvertFromTypeCode
    PyObject *set = PySet_New(0);
    if (!set)
        return 0;
    for (int bit = 0; bit < 32; ++bit)
    {{
        if (!(sipCpp->ToBits() & (1ull << bit)))
            continue;
        PyObject *member = sipConvertFromEnum(bit, sipType_qor_{elem});
        if (!member || PySet_Add(set, member) < 0)
        {{
            Py_XDECREF(member);
            Py_DECREF(set);
            return 0;
        }}
        Py_DECREF(member);
    }}
    return set;
%End

%ConvertToTypeCode
    // Any iterable of {elem} members (a set, a list, a tuple) converts.
    if (!sipIsErr)
        return PyAnySet_Check(sipPy) || PyList_Check(sipPy) || PyTuple_Check(sipPy);
    PyObject *it = PyObject_GetIter(sipPy);
    if (!it)
    {{
        *sipIsErr = 1;
        return 0;
    }}
    qor::{name} value;
    while (PyObject *item = PyIter_Next(it))
    {{
        int e = sipConvertToEnum(item, sipType_qor_{elem});
        Py_DECREF(item);
        if (PyErr_Occurred())
        {{
            *sipIsErr = 1;
            break;
        }}
        value.Include(static_cast<qor::{elem}>(e));
    }}
    Py_DECREF(it);
    if (*sipIsErr)
        return 0;
    *sipCppPtr = new qor::{name}(value);
    return sipGetState(sipTransferObj);
%End
}};
"""


def write_unit(unit: Unit, known: Known) -> str:
    inc = Path(unit.header).name
    out = [f"// Generated by python/gen_sip.py from {unit.header}; run it again after changing the header.",
           ""]
    left_out = []
    body = []
    flag_enums = {e for _, e in unit.flags}
    for name, values in unit.enums:
        anno = " /BaseType=Flag/" if name in flag_enums else ""
        body.append(f"    enum {name}{anno}\n    {{\n" + "".join(f"        {v},\n" for v in values) + "    };")
    for flags, enum in unit.flags:
        body.append(f"    typedef QFlags<qor::{enum}> {flags};")
    for cls in unit.classes:
        if cls.exception:
            continue
        body.append(write_class(cls, known, inc, left_out))
    seen, functions = {}, []
    for decl in unit.functions:
        text, key = sip_function(decl, known)
        if text is None:
            left_out.append(f"{decl}  [{key}]")
        else:
            add_member(functions, seen, text, key)
    body += ["    " + f for f in functions]
    for name, ctype in unit.consts:
        st = sip_type(ctype, known)
        if st and "::" not in name:
            body.append(f"    const {st} {name};")
    if body:
        out += ["namespace qor", "{", "%TypeHeaderCode", f"#include <{inc}>", "%End", ""]
        out += ["\n".join(body).replace("\n\n\n", "\n\n"), "};"]
    for name, elem in unit.sets:
        out.append(SET_TEMPLATE.format(name=name, elem=elem, header=inc))
    if left_out:
        out += ["", "// Not wrapped (a type or default the bindings do not know):"]
        out += [f"//   {d}" for d in left_out]
    return "\n".join(out) + "\n"


def add_member(members: list, seen: dict, text: str, key) -> None:
    """Adds a declaration unless Python already calls one the same way; of two such overloads
    the one that returns more (/Out/ arguments) stays."""
    if key in seen:
        i = seen[key]
        if text.count("/Out/") > members[i].count("/Out/"):
            members[i] = text
        return
    seen[key] = len(members)
    members.append(text)


def write_class(cls: ClassDecl, known: Known, inc: str, left_out: list) -> str:
    base = base_name(cls.base)
    if base in known.classes:
        base = "qor::" + base
    elif base not in QT_BASES:
        base = ""
    lines = [f"    class {cls.name}" + (f" : {base}" if base else ""), "    {",
             "    %TypeHeaderCode", f"    #include <{inc}>", "    %End", "", "    public:"]
    seen = {}
    members = []
    for macro, args in cls.props:
        for m in property_members(macro, args, known):
            key = sip_function(m.replace("qor::", ""), known)[1]
            add_member(members, seen, m, key)
    for decl in cls.methods:
        text, key = sip_function(decl, known, cls.name)
        if text is None:
            if key not in ("skipped", "internal"):
                left_out.append(f"{cls.name}::{decl}  [{key}]")
            continue
        add_member(members, seen, text, key)
    members += EXTRA_MEMBERS.get(cls.name, [])
    members += [f"{sip_type(t, known)} {n};" for t, n in cls.fields if sip_type(t, known)]
    for etype, member in cls.events + (CONTROL_EVENTS if cls.hosted else []):
        if etype not in known.events:
            parsed = event_params(etype)
            etype = known.event_signatures.get(tuple(parsed)) if parsed else None
        if etype in known.events:
            members.append(f"qor::{etype} {member};")
        else:
            left_out.append(f"{cls.name}::{member}  [event type]")
    lines += [f"        {m}" for m in members]
    sigs = []
    sig_seen = set()
    for decl in cls.signals:
        text, key = sip_function(decl, known, cls.name, signal=True)
        if text is None:
            left_out.append(f"{cls.name} signal {decl}  [{key}]")
        elif text not in sig_seen:
            sig_seen.add(text)
            sigs.append(text)
    if sigs:
        lines += ["", "    signals:"] + [f"        {s}" for s in sigs]
    if cls.name in STRUCT_CLASSES:
        lines += ["    };", ""]
        return "\n".join(lines)
    lines += ["", "    private:", f"        {cls.name}(const qor::{cls.name} &);"]
    # SIP must not reimplement what the class made private.
    for decl in cls.hidden:
        plain = re.sub(r"\b(override|virtual|final)\b", "", decl).strip()
        lines.append(f"        virtual {plain};")
    lines += ["    };", ""]
    return "\n".join(lines)


def write_errors(units: list) -> str:
    """The Python class of each library exception, built at import with the C++ hierarchy."""
    errors = {}
    for unit in units:
        for cls in unit.classes:
            if cls.exception:
                errors[cls.name] = (base_name(cls.base), Path(unit.header).name)
    def depth(name):
        return 0 if name not in errors else 1 + depth(errors[name][0])
    by_depth = sorted(errors, key=depth)
    index = {n: i for i, n in enumerate(by_depth)}
    headers = sorted({h for _, h in errors.values()})
    checks = "\n".join(f"    if (dynamic_cast<const qor::{n} *>(&e))\n        return korvaneErrors[{index[n]}];"
                       for n in sorted(errors, key=depth, reverse=True))
    throws = "\n".join(f'    if (className == QLatin1String("{n}"))\n        throw qor::{n}(message);'
                       for n in by_depth)
    create = "\n".join(
        f'    korvaneErrors[{index[n]}] = PyErr_NewException("korvane.{n}", '
        + (f"korvaneErrors[{index[errors[n][0]]}]" if errors[n][0] in errors else "PyExc_RuntimeError")
        + f', 0);\n    PyDict_SetItemString(sipModuleDict, "{n}", korvaneErrors[{index[n]}]);'
        for n in by_depth)
    return f"""// Generated by python/gen_sip.py from the exception classes of the headers.

%ModuleCode
{chr(10).join(f"#include <{h}>" for h in headers)}

static PyObject *korvaneErrors[{len(errors)}];

PyObject *korvaneErrorType(const std::exception &e)
{{
    // Most derived first.
{checks}
    return PyExc_RuntimeError;
}}

// SIP asks each module's handler about a C++ exception that a wrapped call let through.
static bool korvaneExceptionHandler(std::exception_ptr error)
{{
    try
    {{
        std::rethrow_exception(error);
    }}
    catch (const std::exception &e)
    {{
        PyErr_SetString(korvaneErrorType(e), e.what());
        return true;
    }}
    catch (...)
    {{
        return false;
    }}
}}

void korvaneThrowError(const QString &className, const QString &message)
{{
{throws}
    throw std::runtime_error(message.toStdString());
}}
%End

%PostInitialisationCode
    sipModuleAPI__korvane.em_exception_handler = korvaneExceptionHandler;
{create}
%End
"""


def main() -> int:
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--check", action="store_true", help="only say whether the files are up to date")
    opts = ap.parse_args()

    units, texts = [], []
    all_macros = {}
    for path in UNITS:
        unit, (text, macros) = read_unit(path)
        units.append(unit)
        texts.append(text)
        all_macros.update(macros)
    known = Known()
    for unit, text in zip(units, texts):
        collect(unit, expand_macros(text, all_macros))
        for name, values in unit.enums:
            known.enums.add(name)
            known.values.update(values)
        known.flags.update(f for f, _ in unit.flags)
        known.sets.update(dict(unit.sets))
        known.classes.update(c.name for c in unit.classes if not c.exception)

    signatures = {}
    for unit in units:
        for name, params in unit.events.items():
            parsed = event_params(params)
            code = event_code(name, parsed, known) if parsed else None
            if code:
                known.events[name] = (parsed, code[1], code[0])
                signatures.setdefault(tuple(parsed), name)
    known.event_signatures = signatures
    outputs = {Path(u.header).stem + ".sip": write_unit(u, known) for u in units}
    outputs["QOR_events.sip"] = write_events(known)
    outputs["korvane_events.h"] = EVENTS_HEADER.format(
        includes="\n".join(f"#include <{Path(u.header).name}>" for u in units)) + (
        "\n// The call objects the events hold: each calls its Python callable (QOR_events.sip).\n"
        "namespace qor {\n\n" + "\n".join(known.events[n][2] for n in sorted(known.events)) + "\n}\n")
    outputs["QOR_errors.sip"] = write_errors(units)
    outputs["units.sip"] = ("// Generated by python/gen_sip.py: the unit files, in dependency order.\n"
                            + "".join(f"%Include {name}\n" for name in outputs if name.endswith(".sip")))
    narrow = {n: b for u in units for n, b in u.narrow.items()}
    outputs["../korvane/_narrow_enums.py"] = (
        '"""Generated by python/gen_sip.py: the enumerations stored in fewer bits than an int."""\n'
        "NARROW_ENUMS = {\n" + "".join(f"    {n!r}: {b},\n" for n, b in sorted(narrow.items())) + "}\n")
    stale = []
    for name, text in outputs.items():
        target = (SIP_DIR / name).resolve()
        if not target.exists() or target.read_text() != text:
            stale.append(target.name)
            if not opts.check:
                target.write_text(text)
    if opts.check:
        if stale:
            print("out of date (run python/gen_sip.py):", " ".join(stale))
            return 1
        return 0
    print("wrote", len(stale), "file(s)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
