// Shared fixture of the report list view tests.
#pragma once

#include <QApplication>
#include <QTest>

#include <QOR_replist.h>

#include "test_support.h"

namespace rlvtest {

// A shown view without frame and scroll bars, so client and widget coordinates agree.
struct View {
    qor::TReportListView v;
    explicit View(int w = 400, int h = 300)
    {
        v.SetBorderStyle(qor::bsNone);
        v.SetScrollBars(qor::ssNone);
        v.resize(w, h);
        v.show();
        v.activateWindow();
        v.setFocus();
        QApplication::processEvents();
    }
    QImage Img()
    {
        v.RenderNow();
        return v.Surface()->Image().copy();
    }
    qor::TColor Px(int x, int y) { return qortest::PixelAt(Img(), x, y); }
    QRect Cell(int gridCol, int gridRow) const { return v.CellRect(gridCol, gridRow); }
    void Click(QPoint p, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        QTest::mouseClick(v.viewport(), Qt::LeftButton, m, p);
    }
    void ClickCell(int gridCol, int gridRow, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        Click(Cell(gridCol, gridRow).center(), m);
    }
    void Key(int k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(&v, Qt::Key(k), m); }
    // Rows 1..n of column c filled with text(r).
    template <typename F>
    void FillColumn(int c, F text)
    {
        for (int r = 1; r <= v.NrOfRows(); ++r)
            v.SetElem(c, r, text(r));
    }
};

} // namespace rlvtest
