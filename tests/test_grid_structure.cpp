// Draw grid: fixed counts that come back, lines shown and hidden in bulk, the selection kept
// inside the grid, out-of-range size reads.
#include <gtest/gtest.h>

#include <QApplication>

#include <QOR_Grids.h>

using namespace qor;

namespace {

struct Fixture {
    TDrawGrid grid;
    Fixture()
    {
        grid.SetBorderStyle(bsNone);
        grid.SetScrollBars(ssNone);
        grid.resize(300, 200);
        grid.SetDefaultColWidth(50);
        grid.SetDefaultRowHeight(20);
        grid.SetColCount(10);
        grid.SetRowCount(100);
    }
};

} // namespace

TEST(GridStructure, FixedCountsComeBackWithTheirLines)
{
    Fixture f;
    f.grid.SetFixedCols(2);
    f.grid.SetFixedRows(2);
    f.grid.SetColCount(2);
    f.grid.SetRowCount(1);
    EXPECT_EQ(f.grid.FixedCols(), 1);
    EXPECT_EQ(f.grid.FixedRows(), 0);
    f.grid.SetColCount(5);
    f.grid.SetRowCount(5);
    EXPECT_EQ(f.grid.FixedCols(), 2);
    EXPECT_EQ(f.grid.FixedRows(), 2);
    // A count set while the grid is too small for it is the one that comes back.
    f.grid.SetRowCount(2);
    f.grid.SetFixedRows(3);
    EXPECT_EQ(f.grid.FixedRows(), 1);
    f.grid.SetRowCount(10);
    EXPECT_EQ(f.grid.FixedRows(), 3);
}

TEST(GridStructure, SelectionIsKeptInsideTheNonFixedCells)
{
    Fixture f;
    f.grid.SetOptions(f.grid.Options() | goRangeSelect);
    f.grid.SetSelection(TGridRect{-5, 0, 50, 500});
    EXPECT_EQ(f.grid.Selection(), (TGridRect{1, 1, 9, 99}));
    EXPECT_EQ(f.grid.Col(), 9);
    EXPECT_EQ(f.grid.Row(), 99);
    f.grid.SetSelection(TGridRect{3, 4, 2, 2});   // corners in any order
    EXPECT_EQ(f.grid.Selection(), (TGridRect{2, 2, 3, 4}));
    EXPECT_EQ(f.grid.Col(), 2);
}

TEST(GridStructure, AColumnShownOrHiddenMovesTheWidthsAndKeepsTheCurrentCell)
{
    Fixture f;
    for (int c = 0; c < 10; ++c)
        f.grid.SetColWidths(c, 30 + c);
    f.grid.SetCol(4);
    f.grid.SetRow(7);
    int moves = 0;
    QObject::connect(&f.grid, &TCustomGrid::currentCellChanged, [&](int c, int r) {
        ++moves;
        EXPECT_EQ(c, f.grid.Col());
        EXPECT_EQ(r, 7);
    });
    f.grid.InsertColAt(1, 77);
    EXPECT_EQ(f.grid.ColCount(), 11);
    EXPECT_EQ(f.grid.ColWidths(0), 30);
    EXPECT_EQ(f.grid.ColWidths(1), 77);
    EXPECT_EQ(f.grid.ColWidths(2), 31);
    EXPECT_EQ(f.grid.ColWidths(10), 39);
    EXPECT_EQ(f.grid.Col(), 5);
    f.grid.DeleteColAt(1);
    EXPECT_EQ(f.grid.ColCount(), 10);
    EXPECT_EQ(f.grid.ColWidths(1), 31);
    EXPECT_EQ(f.grid.Col(), 4);
    EXPECT_EQ(moves, 2);
    f.grid.DeleteColAt(4);   // the current column goes: its neighbour takes the cursor
    EXPECT_EQ(f.grid.Col(), 4);
    EXPECT_EQ(f.grid.ColWidths(4), 35);
    f.grid.DeleteColAt(10);   // out of range
    f.grid.InsertColAt(99, 5);   // appended
    EXPECT_EQ(f.grid.ColWidths(9), 5);
}

TEST(GridStructure, ARowShownOrHiddenMovesTheHeightsEvenWhenAllAreDefault)
{
    Fixture f;
    f.grid.SetTopRow(50);
    f.grid.InsertRowAt(1, 20);
    EXPECT_EQ(f.grid.RowCount(), 101);
    EXPECT_EQ(f.grid.TopRow(), 51);
    f.grid.SetRowHeights(0, 33);
    f.grid.InsertRowAt(1, 11);
    EXPECT_EQ(f.grid.RowHeights(0), 33);
    EXPECT_EQ(f.grid.RowHeights(1), 11);
    EXPECT_EQ(f.grid.RowHeights(2), 20);
    f.grid.DeleteRowAt(0);
    EXPECT_EQ(f.grid.RowHeights(0), 11);
    EXPECT_EQ(f.grid.RowCount(), 101);
    // The fixed count stays as set: the rows below it are the fixed ones now.
    EXPECT_EQ(f.grid.FixedRows(), 1);
    TDrawGrid one;
    one.SetRowCount(1);
    one.DeleteRowAt(0);
    EXPECT_EQ(one.RowCount(), 1);
}
