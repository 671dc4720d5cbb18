// Month calendar: sizing of the cells, and the drawing of every kind of cell at its pixels.
#include <gtest/gtest.h>

#include <QOR_qorcolors.h>

#include "test_minical_support.h"

using namespace qor;
using mctest::Cal;
using mctest::D;

namespace {

// Classic edges of a cell (R and B exclusive).
struct Edges {
    int L, T, R, B;
};

Edges EdgesOf(const QRect& r)
{
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

// The box of the pixels in r that differ from bg (empty when there are none).
QRect Ink(const QImage& img, const QRect& r, TColor bg)
{
    QRect box;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (qortest::PixelAt(img, x, y) != bg)
                box |= QRect(x, y, 1, 1);
    return box;
}

bool HasPixel(const QImage& img, const QRect& r, TColor c)
{
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (qortest::PixelAt(img, x, y) == c)
                return true;
    return false;
}

// Where TextRect puts a centred text in (L, T, R, B): its cell, measured by the calendar's
// canvas in the font it draws with.
QRect TextCell(TMiniCal& c, Edges e, const QString& text)
{
    const int w = c.Canvas()->TextWidth(text), h = c.Canvas()->TextHeight(text);
    return QRect(e.L + (e.R - e.L - w) / 2, e.T + (e.B - e.T - h) / 2, w, h);
}

} // namespace

TEST(MiniCalSizing, CellsFillTheClientAreaWithColumnAndRowZeroTakingTheRest)
{
    Cal f;
    for (QSize size : {QSize(300, 180), QSize(413, 251), QSize(90, 60), QSize(10, 8)}) {
        f.c.resize(size);
        QApplication::processEvents();
        const int w = f.c.ClientWidth(), h = f.c.ClientHeight();
        EXPECT_EQ(f.c.DefaultColWidth(), std::max(0, (w - 7) / 8)) << size.width();
        EXPECT_EQ(f.c.DefaultRowHeight(), std::max(0, (h - 7) / 8));
        int sumW = 0, sumH = 0;
        for (int i = 0; i < 8; ++i) {
            sumW += f.c.ColWidths(i) + 1;
            sumH += f.c.RowHeights(i) + 1;
        }
        if (w >= 8 && h >= 8) {
            EXPECT_EQ(std::pair(sumW, sumH), std::pair(w, h)) << size.width();
            EXPECT_GE(f.c.ColWidths(0), f.c.DefaultColWidth());
        }
        EXPECT_EQ(std::pair(f.c.TopRow(), f.c.LeftCol()), std::pair(2, 1));   // nothing scrolls
    }
    // The default 300 x 180 with the sunken edge; without Ctl3D the flat line leaves more room.
    f.c.resize(300, 180);
    QApplication::processEvents();
    const int w3d = f.c.ClientWidth();
    f.c.SetCtl3D(false);
    QApplication::processEvents();
    EXPECT_EQ(f.c.ClientWidth(), 298);
    EXPECT_GE(f.c.ClientWidth(), w3d);
    EXPECT_EQ(f.c.ColWidths(0), 298 - 7 * (f.c.DefaultColWidth() + 1) - 1);
    EXPECT_EQ(f.c.sizeHint(), QSize(300, 180));
}

TEST(MiniCalPaint, ButtonsHaveTheFaceAndTheThreeDimensionalFrame)
{
    Cal f;
    const QImage img = f.Img();
    const TColor face = ColorToRGB(clBtnFace);
    const Edges e = EdgesOf(f.Cell(1, 0));   // "<<"
    EXPECT_EQ(qortest::PixelAt(img, e.L + 2, e.T + 2), face);
    EXPECT_EQ(qortest::PixelAt(img, e.L, e.B - 1), 0xFFFFFF);       // left edge, from B-1
    EXPECT_EQ(qortest::PixelAt(img, e.L, e.T), 0xFFFFFF);
    EXPECT_EQ(qortest::PixelAt(img, e.R - 1, e.T), 0xFFFFFF);       // top edge up to R-1
    EXPECT_EQ(qortest::PixelAt(img, e.L, e.B), 0x686868);           // on the grid line below
    EXPECT_EQ(qortest::PixelAt(img, e.R - 1, e.B), 0x686868);
    EXPECT_EQ(qortest::PixelAt(img, e.R, e.B), 0x686868);           // on the grid line right
    EXPECT_EQ(qortest::PixelAt(img, e.R, e.T + 1), 0x686868);
    EXPECT_NE(qortest::PixelAt(img, e.R, e.T), 0x686868);           // its end point is left out
    EXPECT_EQ(qortest::PixelAt(img, e.L + 1, e.B - 1), 0x9CA0A5);
    EXPECT_EQ(qortest::PixelAt(img, e.R - 1, e.B - 1), 0x9CA0A5);
    EXPECT_EQ(qortest::PixelAt(img, e.R - 1, e.T + 1), 0x9CA0A5);
    EXPECT_EQ(qortest::PixelAt(img, e.L + 1, e.B - 2), 0xE6E2E2);
    EXPECT_EQ(qortest::PixelAt(img, e.L + 1, e.T + 1), 0xE6E2E2);
    EXPECT_EQ(qortest::PixelAt(img, e.R - 2, e.T + 1), 0xE6E2E2);
    EXPECT_EQ(qortest::PixelAt(img, e.L + 1, e.B - 1), 0x9CA0A5);
    // The text, centred by the font's metrics.
    const QRect ink = Ink(img, QRect(e.L + 2, e.T + 2, e.R - e.L - 4, e.B - e.T - 4), face);
    EXPECT_FALSE(ink.isEmpty());
    EXPECT_TRUE(TextCell(f.c, e, QStringLiteral("<<")).contains(ink));
    // Without Ctl3D no frame: face up to the edges.
    f.c.SetCtl3D(false);
    const QImage flat = f.Img();
    const Edges g = EdgesOf(f.Cell(2, 0));
    EXPECT_EQ(qortest::PixelAt(flat, g.L, g.T), face);
    EXPECT_EQ(qortest::PixelAt(flat, g.R - 1, g.B - 1), face);
}

TEST(MiniCalPaint, CaptionSpansThreeCellsAndTodaySpansTwoRows)
{
    Cal f;
    const QImage img = f.Img();
    const TColor face = ColorToRGB(clBtnFace);
    const Edges c3 = EdgesOf(f.Cell(3, 0)), c5 = EdgesOf(f.Cell(5, 0));
    EXPECT_EQ(c5.L - 2 * (c5.R - c5.L) - 2, c3.L);
    EXPECT_EQ(qortest::PixelAt(img, c3.L, c3.T + 3), 0xFFFFFF);
    EXPECT_EQ(qortest::PixelAt(img, c3.R, c3.T + 3), face);    // the lines between are covered
    EXPECT_EQ(qortest::PixelAt(img, c5.R, c5.T + 3), 0x686868);
    const Edges wide{c3.L, c5.T, c5.R, c5.B};
    const QRect ink = Ink(img, QRect(wide.L + 2, wide.T + 2, wide.R - wide.L - 4, wide.B - wide.T - 4), face);
    EXPECT_TRUE(TextCell(f.c, wide, QStringLiteral("Apr 2024")).contains(ink));
    EXPECT_GT(ink.width(), c5.R - c5.L);

    const Edges t = EdgesOf(f.Cell(0, 1));
    const int top = t.T - f.c.RowHeights(0) - 1;
    EXPECT_EQ(top, 0);
    EXPECT_EQ(qortest::PixelAt(img, t.L + 3, top), 0xFFFFFF);
    EXPECT_EQ(qortest::PixelAt(img, t.L + 3, t.T - 1), face);   // over the line between rows 0 and 1
    EXPECT_EQ(qortest::PixelAt(img, t.L + 3, t.B), 0x686868);
    const Edges today{t.L, top, t.R, t.B};
    EXPECT_TRUE(TextCell(f.c, today, QStringLiteral("today"))
                    .contains(Ink(img, QRect(t.L + 2, top + 2, t.R - t.L - 4, t.B - top - 4), face)));
    // Columns 0, 3 and 4 of row 0 draw nothing of their own; 0 is under the "today" button.
    EXPECT_EQ(qortest::PixelAt(img, 3, 3), face);
}

TEST(MiniCalPaint, WeekdayNamesAndWeekNumbersInTheirColours)
{
    Cal f;   // 10 April 2024; 1 April is a Monday of week 14
    f.c.SetColorDayIdBg(0x405060);
    f.c.SetColorDayIdFg(clYellow);
    f.c.SetColorWeekNoBg(0x203040);
    f.c.SetColorWeekNoFg(clLime);
    QImage img = f.Img();
    const Edges mon = EdgesOf(f.Cell(1, 1));
    EXPECT_EQ(qortest::PixelAt(img, mon.L, mon.T), 0x405060);
    EXPECT_TRUE(HasPixel(img, f.Cell(1, 1), clYellow));
    EXPECT_TRUE(TextCell(f.c, mon, QStringLiteral("Mon")).contains(Ink(img, f.Cell(1, 1), 0x405060)));
    const Edges wk = EdgesOf(f.Cell(0, 2));
    EXPECT_EQ(qortest::PixelAt(img, wk.L, wk.T), 0x203040);
    EXPECT_TRUE(HasPixel(img, f.Cell(0, 2), clLime));
    EXPECT_TRUE(TextCell(f.c, wk, QStringLiteral("14")).contains(Ink(img, f.Cell(0, 2), 0x203040)));
    // Sunday first: column 1 names Sunday, and its days take the Sunday background.
    f.c.SetFirstDayOfWeek(dwSun);
    img = f.Img();
    const QRect sun = f.Cell(1, 1);
    EXPECT_TRUE(TextCell(f.c, EdgesOf(sun), QStringLiteral("Sun")).contains(Ink(img, sun, 0x405060)));
    EXPECT_EQ(qortest::PixelAt(img, f.Cell(1, 3).left(), f.Cell(1, 3).top()), 0xCCEEFF);
}

TEST(MiniCalPaint, DayCellsInWeekdayHolidaySelectedAndNeighbourColours)
{
    Cal f;   // April 2024 from Monday: d = column + (row - 2) * 7; Easter Monday is the 1st
    auto corner = [&](const QImage& img, int col, int row) {
        return qortest::PixelAt(img, f.Cell(col, row).left(), f.Cell(col, row).top());
    };
    QImage img = f.Img();
    EXPECT_EQ(corner(img, 2, 2), 0xF8F8F8);   // Tuesday 2nd
    EXPECT_EQ(corner(img, 6, 2), 0xBBDDEE);   // Saturday 6th
    EXPECT_EQ(corner(img, 7, 2), 0xCCEEFF);   // Sunday 7th
    EXPECT_TRUE(HasPixel(img, f.Cell(2, 2), clBlack));
    EXPECT_EQ(corner(img, 1, 2), 0x9BD8F1);   // Easter Monday
    EXPECT_TRUE(HasPixel(img, f.Cell(1, 2), 0x0000C0));
    EXPECT_EQ(corner(img, 3, 3), 0xD0A040);   // the selected 10th
    EXPECT_TRUE(HasPixel(img, f.Cell(3, 3), 0xFFFFFF));
    EXPECT_EQ(corner(img, 3, 6), 0xF8F8F8);   // 1 May, a day of the next month: no holiday colours
    EXPECT_TRUE(HasPixel(img, f.Cell(3, 6), clSilver));
    EXPECT_FALSE(HasPixel(img, f.Cell(3, 6), 0x0000C0));
    const Edges e = EdgesOf(f.Cell(3, 6));
    EXPECT_TRUE(TextCell(f.c, e, QStringLiteral("1")).contains(Ink(img, f.Cell(3, 6), 0xF8F8F8)));
    // The selected holiday: the mean of both backgrounds.
    f.c.SetDate(D(2024, 4, 1));
    img = f.Img();
    EXPECT_EQ(corner(img, 1, 2), MeanColor(0xD0A040, 0x9BD8F1));
    EXPECT_TRUE(HasPixel(img, f.Cell(1, 2), 0xFFFFFF));
    EXPECT_EQ(corner(img, 3, 3), 0xF8F8F8);
    f.c.SetIndicateHolidays(false);
    EXPECT_EQ(corner(f.Img(), 1, 2), 0xD0A040);
    f.c.SetDate(D(2024, 4, 2));
    img = f.Img();
    EXPECT_EQ(corner(img, 1, 2), 0xF8F8F8);
    EXPECT_TRUE(HasPixel(img, f.Cell(1, 2), clBlack));
    // Holidays the program adds show at once.
    f.c.SetIndicateHolidays(true);
    f.c.AddHoliday(4, 4, 2024, QStringLiteral("Added"));
    EXPECT_EQ(corner(f.Img(), 4, 2), 0x9BD8F1);
}

TEST(MiniCalPaint, TodayIsCircledOnlyInItsOwnMonthAndWithMarkToday)
{
    Cal f(qor::Date());
    f.c.SetColorToday(clLime);
    auto circled = [&] {
        const QImage img = f.Img();
        for (int r = 2; r <= 7; ++r)
            for (int c = 1; c <= 7; ++c) {
                const Edges e = EdgesOf(f.Cell(c, r));
                // The ellipse (L+2, T+2, R-2, B-2) touches column L+2 half way down.
                if (qortest::PixelAt(img, e.L + 2, (e.T + e.B - 1) / 2) == clLime
                    && qortest::PixelAt(img, e.L + 1, (e.T + e.B - 1) / 2) != clLime)
                    return QPoint(c, r);
            }
        return QPoint(-1, -1);
    };
    EXPECT_EQ(circled(), QPoint(-1, -1));   // MarkToday off
    f.c.SetMarkToday(true);
    const int k = f.c.Day() - f.c.MonthOffset();
    EXPECT_EQ(circled(), QPoint(1 + k % 7, 2 + k / 7));
    f.c.NextMonth();
    EXPECT_EQ(circled(), QPoint(-1, -1));
    f.c.PrevMonth();
    f.c.NextYear();
    EXPECT_EQ(circled(), QPoint(-1, -1));
}

TEST(MiniCalPaint, StyleElementsChooseBetweenThePaletteAndTheClassicButtons)
{
    Cal f;
    QPalette pal = f.c.palette();
    pal.setColor(QPalette::Button, QColor(0x20, 0x30, 0x70));
    pal.setColor(QPalette::ButtonText, QColor(0xFF, 0xFF, 0x00));
    f.c.setPalette(pal);   // system colours resolve through the control's own palette
    const Edges e = EdgesOf(f.Cell(5, 0));   // the caption, with upright strokes
    QImage img = f.Img();
    EXPECT_EQ(qortest::PixelAt(img, e.L + 3, e.T + 3), RGB(0x20, 0x30, 0x70));
    EXPECT_TRUE(HasPixel(img, f.Cell(5, 0), clYellow));
    f.c.SetStyleElements({});
    img = f.Img();
    EXPECT_EQ(qortest::PixelAt(img, e.L + 3, e.T + 3), 0xF0F0F0);
    EXPECT_TRUE(HasPixel(img, f.Cell(5, 0), clBlack));
    EXPECT_FALSE(HasPixel(img, f.Cell(5, 0), clYellow));
}
