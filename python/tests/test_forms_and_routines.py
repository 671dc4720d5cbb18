"""Designer forms, the routines users call, and the library's exceptions from Python."""
from pathlib import Path

import pytest
from PyQt6.QtGui import QColor
from PyQt6.QtWidgets import QWidget

import korvane

FORM = Path(__file__).parent / "forms" / "panel.ui"


def test_designer_form_loads_with_its_values(app):
    form = korvane.loadUi(str(FORM))
    meter = form.findChild(korvane.TMeter, "meter")
    assert isinstance(meter, korvane.TMeter)
    assert meter.MeterLayout() is korvane.TMeterLayout.mlCirc180
    assert (meter.MeterMaxValue(), meter.Value(), meter.Caption()) == (10.0, 7.5, "V")
    assert meter.ColorScaleAsQColor() == QColor(0, 128, 0)
    assert meter.ColorScale() == 0x008000
    grid = form.findChild(korvane.TDrawGrid, "grid")
    assert korvane.TGridOption.goEditing in grid.Options()
    assert korvane.TGridOption.goRowSelect in grid.Options()
    assert isinstance(form.findChild(QWidget, "field"), korvane.TNumIO2)


def test_form_loads_onto_a_given_widget_and_from_an_open_file(app):
    base = QWidget()
    with open(FORM, encoding="utf-8") as f:
        korvane.loadUi(f, base)
    assert isinstance(base.meter, korvane.TMeter)
    assert base.meter.Value() == 7.5


def test_unknown_value_in_a_form_is_an_error(app, tmp_path):
    bad = tmp_path / "bad.ui"
    bad.write_text(FORM.read_text().replace("mlCirc180", "mlCirc999"))
    with pytest.raises(AttributeError, match="mlCirc999"):
        korvane.loadUi(str(bad))


def test_number_text_routines():
    assert korvane.ScanFloatStr("  12.5e3x", True, 0, 1) == (12500.0, 9, True)
    value, pos, is_number = korvane.ScanFloatStr("-", True, 0, 1)
    assert not is_number
    assert korvane.FormatRealStr(8, 2, 3.14159) == "    3.14"
    assert korvane.CheckHexStr("1aF") and not korvane.CheckHexStr("1g")
    assert korvane.ScanHexStr("ff ", 1) == (255, 3)
    assert korvane.HexDigitStr(255, 4) == "00FF"


def test_dates_and_colours():
    assert korvane.CalcEasterSunday(2024) == (31, 3)
    assert korvane.CalcEasterSunday(2025) == (20, 4)
    date, error = korvane.ScanDateTimeStr("2024-03-05", "yyyy-MM-dd", 0)
    assert error == korvane.dtsOk
    assert korvane.DecodeDate(date) == (2024, 3, 5)
    assert korvane.ScanDateTimeStr("2024-03-05", "yyyy-MMM-dd", 1)[1] != korvane.dtsOk
    assert korvane.MeanColor(korvane.clRed, korvane.clBlack) == 0x80
    assert korvane.ColorToIdent(korvane.clRed) == (True, "clRed")


def test_library_exceptions_arrive_with_their_class_and_message():
    # Minutes, not months: the date has month 0.
    with pytest.raises(korvane.EConvertError, match="Invalid argument to date encode") as info:
        korvane.ScanDateTimeStr("2024-03-05", "yyyy-mm-dd", 0)
    assert isinstance(info.value, korvane.Exception) and isinstance(info.value, RuntimeError)
    for name in ("EQORRLDataError", "EQORDStructError", "EQORNTabedError", "EQORRepListError"):
        with pytest.raises(getattr(korvane, name), match="Grüße"):
            korvane._korvane._raiseLibraryError(name, "Grüße")
    assert issubclass(korvane.EQORRLDataError, korvane.EQORError)
    with pytest.raises(RuntimeError, match="plain"):
        korvane._korvane._raiseLibraryError("none", "plain")


def test_report_list_data_and_its_files(app, tmp_path):
    data = korvane.TRLData()
    data.SetNrOfColumns(2)
    data.SetNrOfRows(3)
    for row in range(1, 4):
        data.SetElem(1, row, f"r{row}")
        data.SetElem(2, row, str(row * 1.5))
    path = str(tmp_path / "data.xml")
    data.SaveAsXMLFile(path, "ID1")
    back = korvane.TRLData()
    assert back.LoadFromXMLFile(path, "ID1")
    assert [back.Elem(1, r) for r in range(1, 4)] == ["r1", "r2", "r3"]
    assert back.AsNumber(2, 3) == 4.5


def test_data_table_as_the_table_editor_uses_it(app):
    editor = korvane.TNTabEd()
    table = editor.Data() if hasattr(editor, "Data") else korvane.TDataTable()
    table.Resize(3, 2)
    table.SetElem(2, 1, 6.25)
    assert table.Elem(2, 1) == 6.25
    assert (table.NrOfColumns(), table.NrOfRows()) == (3, 2)


def test_bulk_writer_stores_rows_as_set_elem_does(app):
    data = korvane.TRLData()
    data.SetNrOfColumns(3)
    data.SetNrOfRows(2)
    data.SetElems(2, 1, [["a", "bü", "beyond the last column"], ("c",)])
    assert [[data.Elem(c, r) for c in (1, 2, 3)] for r in (1, 2)] == [["", "a", "bü"], ["", "c", ""]]
    data.SetElems(1, 3, [["beyond the last row"]])
    assert data.NrOfRows() == 2
    with pytest.raises(TypeError):
        data.SetElems(1, 1, [[1.5]])
    with pytest.raises(TypeError):
        data.SetElems(1, 1, 5)
