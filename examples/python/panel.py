#!/usr/bin/env python3
"""A small instrument panel in Python: a numeric field drives a meter and a progress bar, the
meter's limit lamps and the calendar's date write a log into a report list.

    PYTHONPATH=build/python python3 examples/python/panel.py
    PYTHONPATH=build/python python3 examples/python/panel.py --screenshot panel.png

With --screenshot the panel is drawn once into the PNG file and the program ends (with
QT_QPA_PLATFORM=offscreen it needs no display).
"""
import argparse
import sys

from PyQt6.QtWidgets import QApplication, QGridLayout, QLabel, QWidget

import korvane


class Panel(QWidget):
    def __init__(self):
        super().__init__()
        self.setWindowTitle("Korvane panel")
        self.meter = korvane.TMeter(self)
        self.meter.SetMeterLayout(korvane.TMeterLayout.mlCirc180)
        self.meter.SetMeterMaxValue(100.0)
        self.meter.SetThresholdLow(10.0)
        self.meter.SetThresholdHigh(80.0)
        self.meter.SetScaleBkVisible(True)
        self.meter.SetCaption("bar")

        self.field = korvane.TNumIO2(self)
        self.bar = korvane.TProgBar(self)
        self.bar.SetMax(100.0)
        self.calendar = korvane.TMiniCal(self)

        self.log = korvane.TReportListView(self)
        self.log.SetNrOfColumns(2)
        self.log.SetNrOfRows(0)
        self.log.SetHeader(1, "event")
        self.log.SetHeader(2, "value")

        layout = QGridLayout(self)
        layout.addWidget(self.meter, 0, 0, 2, 1)
        layout.addWidget(QLabel("pressure"), 0, 1)
        layout.addWidget(self.field, 0, 2)
        layout.addWidget(self.bar, 1, 1, 1, 2)
        layout.addWidget(self.calendar, 2, 0)
        layout.addWidget(self.log, 2, 1, 1, 2)

        # The wiring: signals of one component call the writers of another.
        self.field.valueChanged.connect(self.meter.SetValue)
        self.meter.valueChanged.connect(self.bar.SetValue)
        self.meter.overFlow.connect(lambda: self.note("above the high limit", self.meter.Value()))
        self.meter.underFlow.connect(lambda: self.note("below the low limit", self.meter.Value()))
        self.calendar.dateChanged.connect(
            lambda date: self.note("date", korvane.FormatDateTime("yyyy-mm-dd", date)))

    def note(self, event, value):
        row = self.log.NrOfRows() + 1
        self.log.SetNrOfRows(row)
        self.log.SetElem(1, row, event)
        self.log.SetElem(2, row, str(value))


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--screenshot", metavar="PNG", help="draw the panel into PNG and end")
    opts = ap.parse_args(argv)
    app = QApplication.instance() or QApplication([])
    panel = Panel()
    panel.resize(640, 480)
    panel.field.SetValue(42.0)
    panel.field.SetValue(91.5)
    panel.calendar.SetDate(korvane.EncodeDate(2026, 12, 8))
    if opts.screenshot:
        panel.show()
        app.processEvents()
        if not panel.grab().save(opts.screenshot):
            print(f"could not write {opts.screenshot}", file=sys.stderr)
            return 1
        return 0
    panel.show()
    return app.exec()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
