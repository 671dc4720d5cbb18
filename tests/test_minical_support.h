// Shared fixture of the month calendar tests.
#pragma once

#include <QApplication>
#include <QTest>

#include <tuple>

#include <QOR_MiniCal.h>

#include "test_support.h"

namespace mctest {

inline qor::TDateTime D(int y, int m, int d)
{
    return qor::EncodeDate(y, m, d);
}

// Year, month and day of the selected date.
inline std::tuple<int, int, int> Ymd(const qor::TMiniCal& c)
{
    return {c.Year(), c.Month(), c.Day()};
}

// A shown calendar on a fixed date, today not marked (so no picture depends on the day the
// tests run).
struct Cal {
    qor::TMiniCal c;
    explicit Cal(qor::TDateTime date = D(2024, 4, 10), int w = 300, int h = 180)
    {
        c.SetMarkToday(false);
        c.SetDate(date);
        c.resize(w, h);
        c.show();
        QApplication::processEvents();
    }
    QImage Img()
    {
        c.RenderNow();
        return c.Surface()->Image().copy();
    }
    qor::TColor Px(int x, int y) { return qortest::PixelAt(Img(), x, y); }
    QRect Cell(int col, int row) const { return c.CellRect(col, row); }
    void Press(int col, int row, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        QTest::mousePress(c.viewport(), Qt::LeftButton, m, Cell(col, row).center());
    }
    void Click(int col, int row, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        QTest::mouseClick(c.viewport(), Qt::LeftButton, m, Cell(col, row).center());
    }
    void Key(int k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(&c, Qt::Key(k), m); }
};

} // namespace mctest
