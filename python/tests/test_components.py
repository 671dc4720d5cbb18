"""Every wrapped class from Python: created, its published properties written and read, its
signals connected and driven."""
import enum

import pytest
from PyQt6.QtCore import QPoint, Qt
from PyQt6.QtGui import QColor, QFont
from PyQt6.QtTest import QTest
from PyQt6.QtWidgets import QWidget

import korvane
from conftest import qobject_classes
from test_completeness import own_members

# Bases that only exist to be derived from.
ABSTRACT = {"TComponent", "TCustomControl", "TGraphicControl", "TCustomEdit", "TCustomGrid",
            "TCustomDrawGrid", "TCustomComboBox"}


def creatable():
    return sorted(n for n, c in qobject_classes().items() if n not in ABSTRACT)


def other_value(value):
    """A value of the same type that differs from value."""
    if isinstance(value, bool):
        return not value
    if isinstance(value, enum.Flag):
        return value ^ list(type(value))[0]
    if isinstance(value, enum.Enum):
        members = list(type(value))
        return members[(members.index(value) + 1) % len(members)] if len(members) > 1 else value
    if isinstance(value, int):
        return value + 1
    if isinstance(value, float):
        return value + 0.25
    if isinstance(value, str):
        return value + "x"
    if isinstance(value, QColor):
        return QColor(Qt.GlobalColor.darkCyan) if value != QColor(Qt.GlobalColor.darkCyan) else QColor(Qt.GlobalColor.red)
    if isinstance(value, QFont):
        f = QFont(value)
        f.setBold(not f.bold())
        return f
    return None


@pytest.mark.parametrize("name", creatable())
def test_create_and_write_every_published_property(app, name):
    cls = qobject_classes()[name]
    obj = cls()
    props, _ = own_members(cls)
    changed = 0
    for p in props:
        if not p.isWritable():
            continue
        pname = p.name()
        getter = getattr(obj, pname)
        try:
            before = obj.property(pname)
        except TypeError:
            # PyQt reads no QVariant of a flags type it did not register under the moc's name;
            # the Python reader is the one that counts there.
            before = getter()
        new = other_value(before)
        if new is None:
            continue
        try:
            getattr(obj, "set" + pname[0].upper() + pname[1:])(new)
        except korvane.Exception:
            continue            # the component refuses the value, as in C++
        try:
            after = obj.property(pname)
        except TypeError:
            after = getter()
        # The Python reader and Qt's property system see the same value.
        read = getter() if callable(getter) else getter
        if isinstance(after, QColor):
            read = getattr(obj, pname + "AsQColor")() if hasattr(obj, pname + "AsQColor") else read
        if isinstance(after, QFont) or isinstance(read, korvane.TFont):
            continue
        assert read == after, f"{name}.{pname}: Python reads {read!r}, Qt {after!r}"
        changed += after != before
    if any(p.isWritable() for p in props):
        assert changed > 0, f"no property of {name} took a new value"


@pytest.mark.parametrize("name", creatable())
def test_every_signal_connects(app, name):
    cls = qobject_classes()[name]
    obj = cls()
    _, signals = own_members(cls)
    for s in signals:
        getattr(obj, s).connect(lambda *args: None)


def test_signals_carry_values_to_python(app):
    meter = korvane.TMeter()
    values, flows = [], []
    meter.valueChanged.connect(values.append)
    meter.overFlow.connect(lambda: flows.append("over"))
    meter.SetThresholdHigh(0.8)
    meter.SetValue(0.5)
    meter.setValue(0.9)
    meter.SetValue(0.9)          # the same value again emits nothing
    assert values == [0.5, 0.9]
    assert flows == ["over"]

    button = korvane.TOnOffBut()
    states = []
    button.onOffChanged.connect(states.append)
    button.SetOnOff(not button.OnOff())
    assert states == [button.OnOff()]


def test_mouse_signals_give_sets_and_enums(app):
    top = QWidget()
    meter = korvane.TMeter(top)
    meter.resize(200, 150)
    top.show()
    downs, clicks = [], []
    meter.mouseDown.connect(lambda button, shift, x, y: downs.append((button, shift, x, y)))
    meter.clicked.connect(lambda: clicks.append(1))
    QTest.mouseClick(meter, Qt.MouseButton.LeftButton, Qt.KeyboardModifier.ShiftModifier, QPoint(30, 40))
    assert clicks == [1]
    button, shift, x, y = downs[0]
    assert button == korvane.TMouseButton.mbLeft
    assert korvane.TShiftStateElem.ssShift in shift and korvane.TShiftStateElem.ssLeft in shift
    assert (x, y) == (30, 40)


def test_parent_owns_the_component(app):
    top = QWidget()
    meter = korvane.TMeter(top)
    assert meter.parent() is top
    del top                      # the parent deletes its child; Python must not crash
    with pytest.raises(RuntimeError):
        meter.Value()


def test_enumerations_sets_and_flags(app):
    meter = korvane.TMeter()
    meter.SetMeterLayout(korvane.TMeterLayout.mlCirc270)
    assert meter.MeterLayout() is korvane.TMeterLayout.mlCirc270
    with pytest.raises(TypeError):
        meter.SetMeterLayout(3)
    font = korvane.TFont()
    font.SetStyle({korvane.TFontStyle.fsBold, korvane.TFontStyle.fsItalic})
    assert font.Style() == {korvane.TFontStyle.fsBold, korvane.TFontStyle.fsItalic}
    assert font.ToQFont().bold()
    with pytest.raises(TypeError):
        font.SetStyle({korvane.TMeterLayout.mlCirc90})
    grid = korvane.TDrawGrid()
    opts = korvane.TGridOption.goEditing | korvane.TGridOption.goRowSelect
    grid.SetOptions(opts)
    assert korvane.TGridOption.goRowSelect in grid.Options()


def test_lists_and_strings(app):
    data = korvane.TRLData()
    data.SetNrOfColumns(3)
    data.SetNrOfRows(2)
    data.SetElem(1, 1, "Grüße")
    assert data.Elem(1, 1) == "Grüße"
    table = korvane.TDataTable()
    table.Resize(3, 4) if hasattr(table, "Resize") else None


def test_canvas_keeps_its_image_alive(app):
    import gc

    from PyQt6.QtGui import QImage

    canvas = korvane.TCanvas(QImage(20, 10, QImage.Format.Format_RGB32))
    gc.collect()                 # the image has no other Python owner
    canvas.Brush().SetColor(korvane.clRed)
    canvas.Rectangle(0, 0, 20, 10)
    canvas.Flush()
    assert QColor(canvas.Target().pixel(5, 5)) == QColor(255, 0, 0)
    canvas.SetTarget(QImage(4, 4, QImage.Format.Format_RGB32))
    gc.collect()
    assert canvas.Width() == 4


def test_table_editor_keeps_a_table_it_shows(app):
    import gc

    editor = korvane.TNTabEd()
    table = korvane.TDataTable()
    table.Resize(2, 2)
    table.SetElem(1, 1, 2.5)
    editor.AssignAnotherDataMatrix(table)
    del table
    gc.collect()                 # the editor does not own the table; Python must keep it
    assert editor.Data().Elem(1, 1) == 2.5
    editor.grab()


def test_grid_coordinates_and_rectangles_are_values(app):
    grid = korvane.TDrawGrid()
    grid.SetColCount(5)
    grid.SetRowCount(5)
    r = korvane.TGridRect()
    r.Left, r.Top, r.Right, r.Bottom = 1, 1, 2, 3
    grid.SetSelection(r)
    s = grid.Selection()
    assert (s.Left, s.Top, s.Right, s.Bottom) == (1, 1, 2, 3)
    assert s.Contains(2, 2) and not s.Contains(3, 2)
    assert (grid.MouseCoord(-5, -5).X, grid.MouseCoord(-5, -5).Y) == (-1, -1)
