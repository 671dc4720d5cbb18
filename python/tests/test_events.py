"""On... events assigned Python callables: arguments in, by-reference arguments back out."""
from PyQt6.QtCore import QPoint, Qt
from PyQt6.QtTest import QTest
from PyQt6.QtWidgets import QWidget

import korvane


def shown_meter():
    top = QWidget()
    meter = korvane.TMeter(top)
    meter.resize(200, 150)
    top.show()
    return top, meter


def test_notification_and_mouse_events(app):
    top, meter = shown_meter()
    seen = []
    meter.OnClick = lambda sender: seen.append(("click", sender is meter))
    meter.OnMouseDown = lambda sender, button, shift, x, y: seen.append((button, shift, x, y))
    QTest.mouseClick(meter, Qt.MouseButton.LeftButton, Qt.KeyboardModifier.ControlModifier, QPoint(20, 30))
    assert seen == [(korvane.TMouseButton.mbLeft,
                     {korvane.TShiftStateElem.ssLeft, korvane.TShiftStateElem.ssCtrl}, 20, 30),
                    ("click", True)]


def test_handler_reads_back_and_can_be_removed(app):
    meter = korvane.TMeter()

    def handler(sender):
        pass

    assert meter.OnClick is None
    meter.OnClick = handler
    assert meter.OnClick is handler
    meter.OnClick = None
    assert meter.OnClick is None


def test_by_reference_argument_takes_the_returned_value(app, tmp_path):
    data = korvane.TRLData()
    data.SetNrOfColumns(2)
    data.SetNrOfRows(1)
    data.SetElem(1, 1, "a")
    data.SetElem(2, 1, "b")
    calls = []

    def shout(sender, text, col, row):
        calls.append((text, col, row))
        return text.upper() + "!"

    data.OnBeforeHTMLExport = shout
    out = tmp_path / "t.html"
    data.ExportHTMLTable(str(out), 1, 1, 2, 1, [], 1, 0, 0, False, "", "", "")
    html = out.read_text()
    assert ("a", 1, 1) in calls and ("b", 2, 1) in calls
    assert "A!" in html and "B!" in html


def test_a_handler_returning_none_leaves_the_argument(app):
    top, meter = shown_meter()
    calls = []
    meter.OnBeforeDrawNeedle = lambda sender, canvas, drawn: calls.append(isinstance(canvas, korvane.TCanvas))
    meter.SetValue(0.4)
    meter.grab()
    assert calls and all(calls)


def test_an_exception_in_a_handler_does_not_end_the_program(app, capsys):
    top, meter = shown_meter()

    def broken(sender):
        raise ValueError("broken handler")

    meter.OnClick = broken
    QTest.mouseClick(meter, Qt.MouseButton.LeftButton, Qt.KeyboardModifier.NoModifier, QPoint(20, 30))
    assert "broken handler" in capsys.readouterr().err
    assert meter.Value() == 0.0       # still alive


def test_handler_outlives_the_python_name_and_dies_with_the_component(app):
    import gc
    import weakref

    class Handler:
        def __call__(self, sender):
            pass

    meter = korvane.TMeter()
    h = Handler()
    ref = weakref.ref(h)
    meter.OnClick = h
    del h
    gc.collect()
    assert ref() is not None          # the event keeps its handler
    del meter
    gc.collect()
    assert ref() is None              # and lets go of it with the component
