#!/usr/bin/env python3
"""Filling cells from Python: TRLData.SetElem against QStandardItemModel.setItem(QStandardItem),
in the same run, on the same grid of text; and TRLData.SetElems, the bulk writer, a list of rows
at a time.

    PYTHONPATH=build/python python3 python/bench/fill_cells.py [--rows 100000] [--cols 10]
"""
import argparse
import time

from PyQt6.QtGui import QStandardItem, QStandardItemModel
from PyQt6.QtWidgets import QApplication

import korvane


def fill_rldata(rows, cols, texts):
    data = korvane.TRLData()
    data.SetNrOfColumns(cols)
    data.SetNrOfRows(rows)
    set_elem = data.SetElem
    start = time.process_time()
    for r in range(1, rows + 1):
        for c in range(1, cols + 1):
            set_elem(c, r, texts[c - 1])
    return time.process_time() - start, data


def fill_rldata_bulk(rows, cols, texts):
    data = korvane.TRLData()
    data.SetNrOfColumns(cols)
    data.SetNrOfRows(rows)
    start = time.process_time()
    block = [texts] * 1000
    for r in range(1, rows + 1, len(block)):
        data.SetElems(1, r, block[:rows - r + 1])
    return time.process_time() - start, data


def fill_model(rows, cols, texts):
    model = QStandardItemModel(rows, cols)
    set_item = model.setItem
    start = time.process_time()
    for r in range(rows):
        for c in range(cols):
            set_item(r, c, QStandardItem(texts[c]))
    return time.process_time() - start, model


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--rows", type=int, default=100_000)
    ap.add_argument("--cols", type=int, default=10)
    opts = ap.parse_args()
    app = QApplication.instance() or QApplication([])  # noqa: F841
    texts = [f"cell {c} 12.5" for c in range(opts.cols)]
    cells = opts.rows * opts.cols
    t_rl, data = fill_rldata(opts.rows, opts.cols, texts)
    assert data.Elem(opts.cols, opts.rows) == texts[-1]
    del data
    t_bulk, data = fill_rldata_bulk(opts.rows, opts.cols, texts)
    assert data.Elem(opts.cols, opts.rows) == texts[-1]
    del data
    t_model, model = fill_model(opts.rows, opts.cols, texts)
    assert model.item(opts.rows - 1, opts.cols - 1).text() == texts[-1]
    del model
    print(f"{cells} cells, CPU seconds")
    print(f"  TRLData.SetElem                                {t_rl:7.2f}")
    print(f"  TRLData.SetElems, 1,000 rows a call            {t_bulk:7.2f}")
    print(f"  QStandardItemModel.setItem(QStandardItem(...)) {t_model:7.2f}")
    print(f"  ratio TRLData / QStandardItemModel             {t_rl / t_model:7.2f}")


if __name__ == "__main__":
    main()
