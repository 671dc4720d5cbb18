// The marker selector: settings and their ranges, the layout with hidden symbols, the nearest
// symbol (ties, 64-bit distances, never one outside the visible cells), painting at its pixels,
// the highlight, clicks, the keyboard and OnPaint.
#include <gtest/gtest.h>

#include <QOR_marksel.h>
#include "test_support.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QTest>

using namespace qor;
using qortest::PixelAt;

namespace {

// Default layout: 236 x 178, DH = DV = 29, margins 14.
QPoint Cell(int n) { return QPoint(14 + 29 * (n % 8), 14 + 29 * (n / 8)); }

QImage Rendered(TMarkSel& m)
{
    m.RenderNow();
    return m.Surface()->Image();
}

TEST(MarkSel, DefaultsAndRanges)
{
    TMarkSel m;
    EXPECT_EQ(m.size(), QSize(236, 178));
    EXPECT_EQ(m.NrOfColumns(), 8);
    EXPECT_EQ(m.NrOfRows(), 6);
    EXPECT_EQ(m.Selected(), -1);
    EXPECT_EQ(m.FrameStyle(), fsEngraved);
    EXPECT_EQ(m.ColorBackGnd(), clBtnFace);
    EXPECT_EQ(m.ColorMarks(), clBlack);
    EXPECT_EQ(m.ColorHiLiteBG(), 0x0000FF);
    EXPECT_EQ(m.ColorHiLiteSymbol(), 0xFFFFFF);
    EXPECT_EQ(m.ColorSelBG(), 0xFFFFFF);
    EXPECT_EQ(m.ColorSelFG(), 0x800000);
    EXPECT_TRUE(m.ShowZeroAsCross());
    for (int v : {0, 52, -1}) {
        m.SetNrOfColumns(v);
        m.SetNrOfRows(v);
    }
    EXPECT_EQ(m.NrOfColumns(), 8);
    EXPECT_EQ(m.NrOfRows(), 6);
    QSignalSpy spy(&m, &TMarkSel::selectedChanged);
    m.SetSelected(52);
    m.SetSelected(-2);
    EXPECT_EQ(m.Selected(), -1);
    m.SetSelected(51);
    m.SetSelected(51);
    EXPECT_EQ(spy.count(), 1);
    m.SetMarkVisible(0, false);
    EXPECT_TRUE(m.MarkVisible(0));
    m.SetMarkVisible(5, false);
    EXPECT_FALSE(m.MarkVisible(5));
    EXPECT_TRUE(m.MarkVisible(60));    // reads symbol 0
    EXPECT_TRUE(m.MarkVisible(-3));
}

TEST(MarkSel, HiddenSymbolsCompactTheLayoutAndOnlyVisibleCellsCount)
{
    TMarkSel m;
    QPoint p;
    EXPECT_TRUE(m.MarkPosition(9, p));
    EXPECT_EQ(p, Cell(9));
    for (int i = 48; i < 52; ++i)
        EXPECT_FALSE(m.MarkPosition(i, p)) << i;   // below the six rows
    m.SetMarkVisible(3, false);
    EXPECT_FALSE(m.MarkPosition(3, p));
    EXPECT_TRUE(m.MarkPosition(4, p));
    EXPECT_EQ(p, Cell(3));
    EXPECT_TRUE(m.MarkPosition(48, p));             // moved up into the last visible cell
    EXPECT_EQ(p, Cell(47));
    m.HideAllMarks();
    EXPECT_TRUE(m.MarkPosition(0, p));
    EXPECT_EQ(p, Cell(0));
    EXPECT_FALSE(m.MarkPosition(1, p));
    EXPECT_EQ(m.NearestMark(200, 150), 0);
    m.ShowAllMarks();
    m.SetNrOfRows(7);
    EXPECT_TRUE(m.MarkPosition(51, p));
}

TEST(MarkSel, TheNearestSymbolRule)
{
    TMarkSel m;
    EXPECT_EQ(m.NearestMark(Cell(9).x(), Cell(9).y()), 9);
    EXPECT_EQ(m.NearestMark(Cell(9).x() + 14, Cell(9).y()), 9);
    EXPECT_EQ(m.NearestMark(Cell(9).x() + 15, Cell(9).y()), 10);
    // Near the bottom edge: a symbol in the last visible row, never one laid out below it.
    EXPECT_EQ(m.NearestMark(Cell(0).x(), 177), 40);
    EXPECT_EQ(m.NearestMark(Cell(3).x(), 5000), 43);
    // A tie keeps the earlier symbol.
    m.resize(244, 178);   // DH = 30: cells at 15, 45, ...
    EXPECT_EQ(m.NearestMark(30, 15), 0);
    EXPECT_EQ(m.NearestMark(31, 15), 1);
    // Distances beyond 32 bits: within 10^10 the nearest counts, beyond it nothing does.
    EXPECT_EQ(m.NearestMark(99990, 15), 7);
    EXPECT_EQ(m.NearestMark(100300, 15), 0);
    EXPECT_EQ(m.NearestMark(-2000000000, -2000000000), 0);
}

TEST(MarkSel, PaintingAtThePixels)
{
    TMarkSel m;
    m.SetColorBackGnd(0x202020);
    m.SetSelected(9);
    int paints = 0;
    m.OnPaint = [&](QObject*) { ++paints; };
    QImage img = Rendered(m);
    EXPECT_EQ(paints, 1);
    // The frame (engraved) and the background.
    EXPECT_EQ(PixelAt(img, 0, 0), clGray);
    EXPECT_EQ(PixelAt(img, 1, 1), clWhite);
    EXPECT_EQ(PixelAt(img, 235, 177), clWhite);
    EXPECT_EQ(PixelAt(img, 234, 176), clGray);
    EXPECT_EQ(PixelAt(img, 100, 2), 0x202020);
    // The cross of symbol 0: (4, 4)-(30, 30) and (4, 29)-(30, 3).
    EXPECT_EQ(PixelAt(img, 10, 10), clBlack);
    EXPECT_EQ(PixelAt(img, 5, 28), clBlack);
    EXPECT_EQ(PixelAt(img, 30, 30), 0x202020);
    // The selected cell (32, 32, 60, 60) and its hollow square of half-size 3 at (45, 45).
    EXPECT_EQ(PixelAt(img, 32, 32), 0x800000);
    EXPECT_EQ(PixelAt(img, 59, 59), 0x800000);
    EXPECT_EQ(PixelAt(img, 36, 36), clWhite);
    EXPECT_EQ(PixelAt(img, 42, 42), 0x800000);
    EXPECT_EQ(PixelAt(img, 45, 45), clWhite);
    // Another symbol (10, a filled square) in the symbol colour at (74, 45).
    EXPECT_EQ(PixelAt(img, 74, 45), clBlack);
    EXPECT_EQ(PixelAt(img, 72, 43), clBlack);

    m.SetShowZeroAsCross(false);
    img = Rendered(m);
    EXPECT_EQ(PixelAt(img, 10, 10), 0x202020);
    EXPECT_EQ(PixelAt(img, 16, 16), clBlack);   // the dot at (14 + 2, 14 + 2)

    m.setEnabled(false);
    img = Rendered(m);
    EXPECT_EQ(PixelAt(img, 100, 2), clSilver);
    EXPECT_EQ(PixelAt(img, 36, 36), 0xDEDEDE);
    EXPECT_EQ(PixelAt(img, 32, 32), clGray);
    EXPECT_EQ(PixelAt(img, 74, 45), clGray);
}

TEST(MarkSel, SymbolsOutsideTheVisibleCellsAreNotDrawn)
{
    TMarkSel m;
    m.SetFrameStyle(fsNone);
    m.SetColorBackGnd(clWhite);
    m.resize(236, 129);   // DV = 20: the seventh row's symbols would reach rows 127 and 128
    const QImage img = Rendered(m);
    for (int y = 125; y < 129; ++y)
        for (int x = 0; x < 236; ++x)
            ASSERT_EQ(PixelAt(img, x, y), clWhite) << x << "," << y;
}

TEST(MarkSel, TheHighlightFollowsThePointerAndAClickSelects)
{
    TMarkSel m;
    m.show();
    QTest::mouseMove(&m, Cell(10));
    EXPECT_EQ(m.HighlightedMark(), 10);
    QImage img = Rendered(m);
    EXPECT_EQ(PixelAt(img, 72 - 14 + 4, 43 - 14 + 4), 0x0000FF);   // the highlight rectangle
    EXPECT_EQ(PixelAt(img, 72 + 14 + 1, 43 + 14 + 1), 0x0000FF);
    EXPECT_EQ(PixelAt(img, 74, 45), clWhite);                       // the symbol on it
    QTest::mouseMove(&m, Cell(20));
    EXPECT_EQ(m.HighlightedMark(), 20);
    img = m.Surface()->Image();
    EXPECT_EQ(PixelAt(img, 62, 33), PixelAt(img, 100, 2));   // the old cell is plain again
    EXPECT_EQ(PixelAt(img, 74, 45), clBlack);

    QSignalSpy clicked(&m, &TMarkSel::markClicked);
    QSignalSpy doubled(&m, &TMarkSel::markDoubleClicked);
    QList<int> marks;
    m.OnMarkClick = [&](QObject* s, int x, int y, int mark) {
        EXPECT_EQ(s, &m);
        EXPECT_EQ(QPoint(x, y), QPoint(Cell(12).x() + 3, Cell(12).y() - 2));
        marks << mark;
    };
    QTest::mouseClick(&m, Qt::LeftButton, {}, QPoint(Cell(12).x() + 3, Cell(12).y() - 2));
    EXPECT_EQ(m.Selected(), 12);
    EXPECT_EQ(marks, QList<int>{12});
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(m.HighlightedMark(), 12);
    // A click far outside still picks the nearest visible symbol.
    m.OnMarkClick = nullptr;
    QTest::mouseClick(&m, Qt::LeftButton, {}, QPoint(2000, 3000));
    EXPECT_EQ(m.Selected(), 47);
    int doubles = 0;
    m.OnMarkDblClick = [&](QObject*, int, int, int mark) {
        EXPECT_EQ(mark, 1);
        ++doubles;
    };
    QTest::mouseDClick(&m, Qt::LeftButton, {}, Cell(1));
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(doubled.count(), 1);
    EXPECT_EQ(m.Selected(), 1);

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&m, &leave);
    EXPECT_EQ(m.HighlightedMark(), -1);
}

TEST(MarkSel, TheKeyboardMovesTheHighlightAndSelects)
{
    TMarkSel m;
    m.SetSelected(9);
    m.show();
    QApplication::setActiveWindow(&m);
    m.setFocus();
    ASSERT_TRUE(m.hasFocus());
    EXPECT_EQ(m.HighlightedMark(), 9);
    QTest::keyClick(&m, Qt::Key_Right);
    EXPECT_EQ(m.HighlightedMark(), 10);
    QTest::keyClick(&m, Qt::Key_Down);
    EXPECT_EQ(m.HighlightedMark(), 18);
    QTest::keyClick(&m, Qt::Key_End);
    EXPECT_EQ(m.HighlightedMark(), 47);
    QTest::keyClick(&m, Qt::Key_Down);   // no further
    EXPECT_EQ(m.HighlightedMark(), 47);
    QTest::keyClick(&m, Qt::Key_Home);
    QTest::keyClick(&m, Qt::Key_Left);
    EXPECT_EQ(m.HighlightedMark(), 0);
    QTest::keyClick(&m, Qt::Key_Right);
    int clicks = 0;
    m.OnMarkClick = [&](QObject*, int x, int y, int mark) {
        EXPECT_EQ(QPoint(x, y), Cell(1));
        EXPECT_EQ(mark, 1);
        ++clicks;
    };
    QTest::keyClick(&m, Qt::Key_Space);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(m.Selected(), 1);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&m);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->text(QAccessible::Value), QStringLiteral("1: ") + MarkerName(1));
}

} // namespace
