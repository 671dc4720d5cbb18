// Draw grid: cell geometry, scrolling, visible counts, painting only what shows, grid lines.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollBar>
#include <QTest>

#include <QOR_Grids.h>

#include "test_support.h"

using namespace qor;

namespace {

// A grid with a known client area: no frame, no scroll bars.
struct Fixture {
    TDrawGrid grid;
    Fixture(int w = 300, int h = 200)
    {
        grid.SetBorderStyle(bsNone);
        grid.SetScrollBars(ssNone);
        grid.resize(w, h);
        grid.SetDefaultColWidth(50);
        grid.SetDefaultRowHeight(20);
    }
};

} // namespace

TEST(GridGeometry, CellRectsFollowWidthsHeightsAndLines)
{
    Fixture f;
    f.grid.SetColCount(10);
    f.grid.SetRowCount(20);
    f.grid.SetColWidths(0, 30);
    f.grid.SetRowHeights(0, 25);
    // Fixed cell (0,0) at the origin; each cell is followed by one line pixel.
    EXPECT_EQ(f.grid.CellRect(0, 0), QRect(0, 0, 30, 25));
    EXPECT_EQ(f.grid.CellRect(1, 1), QRect(31, 26, 50, 20));
    EXPECT_EQ(f.grid.CellRect(2, 3), QRect(82, 26 + 2 * 21, 50, 20));
    // The last visible column is clipped to the client area.
    const QRect last = f.grid.CellRect(6, 1);
    EXPECT_EQ(last.left(), 31 + 5 * 51);
    EXPECT_EQ(last.right(), 299);
    // Cells beyond the client area are empty.
    EXPECT_TRUE(f.grid.CellRect(9, 1).isEmpty());
    EXPECT_TRUE(f.grid.CellRect(-1, 1).isEmpty());
    EXPECT_TRUE(f.grid.CellRect(1, 99).isEmpty());

    f.grid.SetGridLineWidth(3);
    EXPECT_EQ(f.grid.CellRect(1, 1), QRect(33, 28, 50, 20));
}

TEST(GridGeometry, MouseCoordMapsPointsIncludingTheLineAfterACell)
{
    Fixture f;
    f.grid.SetColCount(4);
    f.grid.SetRowCount(4);
    EXPECT_EQ(f.grid.MouseCoord(0, 0), (TGridCoord{0, 0}));
    EXPECT_EQ(f.grid.MouseCoord(50, 20), (TGridCoord{0, 0}));   // the line pixels
    EXPECT_EQ(f.grid.MouseCoord(51, 21), (TGridCoord{1, 1}));
    // Right of the last column and below the last row there is no cell.
    EXPECT_EQ(f.grid.MouseCoord(4 * 51 + 5, 10), (TGridCoord{-1, -1}));
    EXPECT_EQ(f.grid.MouseCoord(10, 4 * 21 + 5), (TGridCoord{-1, -1}));
    EXPECT_EQ(f.grid.MouseCoord(-1, 5), (TGridCoord{-1, -1}));
}

TEST(GridGeometry, TopRowAndLeftColScrollAndClamp)
{
    Fixture f;   // 200 px high: fixed row 21 px, then 8 full rows (8*21 = 168 <= 179)
    f.grid.SetColCount(20);
    f.grid.SetRowCount(100);
    EXPECT_EQ(f.grid.VisibleRowCount(), 8);
    EXPECT_EQ(f.grid.VisibleColCount(), 4);   // 51 + 4*51 = 255 <= 300, the fifth is cut
    int changes = 0;
    f.grid.OnTopLeftChanged = [&](QObject*) { ++changes; };
    f.grid.SetTopRow(10);
    EXPECT_EQ(f.grid.TopRow(), 10);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(f.grid.CellRect(1, 10).top(), 21);
    EXPECT_TRUE(f.grid.CellRect(1, 9).isEmpty());
    // The last top row still shows the last row completely.
    f.grid.SetTopRow(1000);
    EXPECT_EQ(f.grid.TopRow(), 99 - 8 + 1);
    const QRect lastRow = f.grid.CellRect(1, 99);
    EXPECT_FALSE(lastRow.isEmpty());
    EXPECT_LE(lastRow.bottom(), 199);
    f.grid.SetTopRow(0);
    EXPECT_EQ(f.grid.TopRow(), 1);   // never into the fixed rows
    f.grid.SetLeftCol(5);
    EXPECT_EQ(f.grid.LeftCol(), 5);
    EXPECT_EQ(f.grid.CellRect(5, 1).left(), 51);
}

TEST(GridGeometry, CountsKeepFixedCellsAndCurrentCellValid)
{
    Fixture f;
    f.grid.SetColCount(5);
    f.grid.SetRowCount(50);
    f.grid.SetRow(40);
    f.grid.SetRowCount(10);
    EXPECT_EQ(f.grid.Row(), 9);
    f.grid.SetFixedRows(20);
    EXPECT_EQ(f.grid.FixedRows(), 9);   // at most one less than the row count
    f.grid.SetRowCount(1);
    EXPECT_EQ(f.grid.FixedRows(), 0);
    f.grid.SetColCount(0);
    EXPECT_EQ(f.grid.ColCount(), 1);
    // Out-of-range sizes: reads give the default, writes do nothing.
    EXPECT_EQ(f.grid.ColWidths(99), 50);
    f.grid.SetColWidths(99, 7);
    f.grid.SetRowHeights(-1, 7);
    EXPECT_EQ(f.grid.RowHeights(0), 20);
}

TEST(GridGeometry, PaintDrawsOnlyVisibleCellsFixedFirst)
{
    for (int rows : {100, 1000000}) {
        Fixture f;
        f.grid.SetColCount(30);
        f.grid.SetRowCount(rows);
        f.grid.SetFixedCols(1);
        f.grid.SetTopRow(rows / 2);
        std::vector<std::pair<int, int>> calls;
        f.grid.OnDrawCell = [&](QObject*, int c, int r, QRect, TGridDrawState) { calls.emplace_back(c, r); };
        f.grid.RenderNow();
        // 6 columns (one fixed, the sixth partial) x 10 rows (one fixed, the last partial).
        EXPECT_EQ(calls.size(), 6u * 10u) << rows;
        // All fixed cells come before the first non-fixed one.
        bool seenPlain = false;
        for (auto [c, r] : calls) {
            const bool fixed = c == 0 || r == 0;
            EXPECT_FALSE(fixed && seenPlain);
            seenPlain = seenPlain || !fixed;
        }
    }
}

TEST(GridGeometry, DrawStateTellsFixedSelectedAndFocused)
{
    Fixture f;
    f.grid.SetColCount(4);
    f.grid.SetRowCount(4);
    f.grid.SetOptions(f.grid.Options() | goRowSelect);
    f.grid.SetRow(2);
    std::map<std::pair<int, int>, TGridDrawState> states;
    f.grid.OnDrawCell = [&](QObject*, int c, int r, QRect, TGridDrawState s) { states[{c, r}] = s; };
    f.grid.RenderNow();
    EXPECT_TRUE((states[{0, 2}]).Contains(gdFixed));
    EXPECT_TRUE((states[{3, 2}]).Contains(gdSelected));
    EXPECT_TRUE((states[{1, 2}]).Contains(gdSelected));
    EXPECT_FALSE((states[{1, 1}]).Contains(gdSelected));
    EXPECT_FALSE((states[{1, 2}]).Contains(gdFocused));   // the grid has no focus
}

TEST(GridGeometry, LinesAreDrawnOnlyWhereOptionsAskAndCellsDoNotCoverThem)
{
    Fixture f;
    f.grid.SetColCount(3);
    f.grid.SetRowCount(3);
    f.grid.SetDefaultDrawing(false);
    f.grid.SetColor(clWhite);
    f.grid.OnDrawCell = [&](QObject* s, int, int, QRect r, TGridDrawState) {
        TCanvas* cv = static_cast<TDrawGrid*>(s)->Canvas();
        cv->Brush()->SetColor(clYellow);
        cv->FillRect(r);
    };
    f.grid.SetOptions(goFixedVertLine | goFixedHorzLine);
    f.grid.RenderNow();
    const QImage& img = f.grid.Surface()->Image();
    EXPECT_EQ(qortest::PixelAt(img, 49, 10), clYellow);
    EXPECT_EQ(qortest::PixelAt(img, 50, 10), clBlack);    // fixed vertical line in the fixed row
    EXPECT_EQ(qortest::PixelAt(img, 50, 30), clBlack);    // line right of the fixed column
    EXPECT_EQ(qortest::PixelAt(img, 101, 30), clWhite);   // no goVertLine: the gap shows Color
    EXPECT_EQ(qortest::PixelAt(img, 70, 20), clBlack);    // horizontal line under the fixed row
    EXPECT_EQ(qortest::PixelAt(img, 70, 41), clWhite);    // no goHorzLine
    EXPECT_EQ(qortest::PixelAt(img, 200, 10), clWhite);   // right of the last column

    f.grid.SetOptions(goVertLine | goHorzLine);
    f.grid.RenderNow();
    const QImage& img2 = f.grid.Surface()->Image();
    EXPECT_EQ(qortest::PixelAt(img2, 101, 30), clSilver);
    EXPECT_EQ(qortest::PixelAt(img2, 70, 41), clSilver);
    EXPECT_EQ(qortest::PixelAt(img2, 50, 10), clWhite);   // fixed lines off
}

TEST(GridGeometry, ScrollBarFollowsAndDrivesTheTopRow)
{
    TDrawGrid grid;
    grid.resize(300, 200);
    grid.SetRowCount(1000000);
    grid.SetOptions(grid.Options() | goThumbTracking);
    grid.show();
    QScrollBar* vb = grid.verticalScrollBar();
    EXPECT_GT(vb->maximum(), 999000);
    vb->setValue(500000);
    EXPECT_EQ(grid.TopRow(), 500001);
    grid.SetTopRow(10);
    EXPECT_EQ(vb->value(), 9);
}

// Counts, sizes, fixed cells and scrolling changed in a fixed pseudo-random order: the current
// cell, the top-left cell and the scroll bars always stay valid.
TEST(GridGeometry, MixedChangesKeepCursorAndScrollingValid)
{
    TDrawGrid grid;
    grid.resize(260, 180);
    grid.show();
    quint32 seed = 11;
    auto rnd = [&seed](int n) { seed = seed * 1664525u + 1013904223u; return int((seed >> 8) % quint32(n)); };
    int painted = 0;
    grid.OnDrawCell = [&](QObject*, int c, int r, QRect, TGridDrawState) {
        ASSERT_LT(c, grid.ColCount());
        ASSERT_LT(r, grid.RowCount());
        ++painted;
    };
    for (int step = 0; step < 600; ++step) {
        switch (rnd(10)) {
        case 0: grid.SetColCount(rnd(12)); break;
        case 1: grid.SetRowCount(rnd(40)); break;
        case 2: grid.SetFixedCols(rnd(4)); break;
        case 3: grid.SetFixedRows(rnd(4)); break;
        case 4: grid.SetColWidths(rnd(14) - 1, rnd(120)); break;
        case 5: grid.SetRowHeights(rnd(42) - 1, rnd(60)); break;
        case 6: grid.SetTopRow(rnd(50) - 5); grid.SetLeftCol(rnd(15) - 2); break;
        case 7: grid.SetDefaultRowHeight(rnd(40)); break;
        case 8: grid.resize(50 + rnd(300), 30 + rnd(250)); break;
        default: QTest::keyClick(&grid, rnd(2) ? Qt::Key_PageDown : Qt::Key_End, rnd(2) ? Qt::ControlModifier : Qt::NoModifier); break;
        }
        ASSERT_LT(grid.FixedCols(), grid.ColCount()) << step;
        ASSERT_LT(grid.FixedRows(), grid.RowCount()) << step;
        ASSERT_GE(grid.TopRow(), grid.FixedRows()) << step;
        ASSERT_GE(grid.LeftCol(), grid.FixedCols()) << step;
        if (grid.RowCount() > grid.FixedRows()) {
            ASSERT_LT(grid.Row(), grid.RowCount()) << step;
            ASSERT_LT(grid.TopRow(), grid.RowCount()) << step;
        }
        grid.RenderNow();
    }
    EXPECT_GT(painted, 0);
}

TEST(GridGeometry, Ctl3DChoosesBetweenASunkenEdgeAndAFlatLine)
{
    TDrawGrid grid;
    grid.SetScrollBars(ssNone);
    grid.resize(300, 200);
    grid.show();
    QApplication::processEvents();
    EXPECT_TRUE(grid.Ctl3D());
    EXPECT_EQ(grid.frameShadow(), QFrame::Sunken);
    grid.SetCtl3D(false);
    QApplication::processEvents();
    EXPECT_EQ(std::pair(grid.frameShape(), grid.frameShadow()), std::pair(QFrame::Box, QFrame::Plain));
    EXPECT_EQ(grid.ClientWidth(), 298);   // one pixel on either side
    EXPECT_EQ(grid.ClientHeight(), 198);
    grid.SetBorderStyle(bsNone);
    EXPECT_EQ(grid.frameShape(), QFrame::NoFrame);
    grid.SetBorderStyle(bsSingle);
    EXPECT_EQ(grid.frameShape(), QFrame::Box);   // still flat
    grid.SetCtl3D(true);
    EXPECT_EQ(grid.frameShadow(), QFrame::Sunken);
}
