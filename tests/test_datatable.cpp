// The numeric data table: sizes, states, names, nominal scales, edits, hooks and sorting.
#include <gtest/gtest.h>

#include <QOR_datatable.h>

#include <numeric>

using namespace qor;

namespace {

void FillColumn(TDataTable& t, int col, std::initializer_list<double> values)
{
    int r = 1;
    for (double v : values)
        t.SetElem(col, r++, v);
}

} // namespace

TEST(DataTable, NewCellsAreEmptyAndValuesClearTheState)
{
    TDataTable t;
    t.Resize(3, 2);
    EXPECT_EQ(t.GetCellState(1, 1), csEmpty);
    EXPECT_FALSE(t.GetIsNumber(1, 1));
    t.SetCellState(2, 2, csInvalid | csMarkedA);
    t.SetElem(2, 2, 4.5);
    EXPECT_EQ(t.GetCellState(2, 2), csMarkedA);
    EXPECT_TRUE(t.GetIsNumber(2, 2));
    EXPECT_EQ(t.GetElem(2, 2), 4.5);
    EXPECT_EQ(t.GetElem(9, 9), 0.0);
    t.Resize(4, 3);
    EXPECT_EQ(t.GetElem(2, 2), 4.5);
    EXPECT_EQ(t.GetCellState(4, 3), csEmpty);
    t.Elements()->Fill(2);
    EXPECT_EQ(t.GetElem(4, 3), 2.0);
}

TEST(DataTable, NamesAttributesAndNominalIDs)
{
    TDataTable t;
    t.Resize(2, 2);
    t.SetColName(1, QString(60, QLatin1Char('n')));
    EXPECT_EQ(t.GetColName(1).size(), 50);
    t.SetColName(2, QString(49, QLatin1Char('n')) + QString::fromUtf8("😀"));   // never half a character
    EXPECT_EQ(t.GetColName(2), QString(49, QLatin1Char('n')));
    t.SetRowName(3, QStringLiteral("x"));   // ignored
    EXPECT_TRUE(t.GetRowName(3).isEmpty());
    t.SetRowAttrib(2, 255);
    EXPECT_EQ(t.GetRowAttrib(2), 255);
    t.SetMScaleType(2, mstNominal);
    EXPECT_EQ(t.GetMScaleType(2), 1);
    EXPECT_EQ(MScaleTypeNames(1), QStringLiteral("nominal"));
    t.SetNominalID(2, 150, QStringLiteral("Category-Long"));
    EXPECT_EQ(t.GetNominalID(2, 150), QStringLiteral("Category-L"));
    EXPECT_EQ(t.OrdinalOfNominalID(2, QStringLiteral("category-l"), true), 150);
    EXPECT_EQ(t.OrdinalOfNominalID(2, QStringLiteral("category-l"), false), -1);
    EXPECT_EQ(t.OrdinalOfNominalID(2, QStringLiteral("none"), true), -1);
    EXPECT_TRUE(t.GetNominalID(2, 151).isEmpty());
    EXPECT_TRUE(t.GetNominalID(1, 3).isEmpty());
    t.SetFComment(QStringLiteral("note"));
    EXPECT_EQ(t.Comment(), QStringLiteral("note"));
}

TEST(DataTable, StructuralEditsMoveEverythingAndNotify)
{
    TDataTable t;
    t.Resize(2, 3);
    FillColumn(t, 1, {1, 2, 3});
    t.SetColName(2, QStringLiteral("B"));
    std::vector<std::tuple<int, int, int>> resizes;
    t.OnResize = [&](QObject*, int o, int n, int r) { resizes.emplace_back(o, n, r); };
    t.InsertColumn(1);
    EXPECT_EQ(t.NrOfColumns(), 3);
    EXPECT_EQ(t.GetColName(3), QStringLiteral("B"));
    EXPECT_EQ(t.GetElem(2, 3), 3.0);
    EXPECT_EQ(t.GetCellState(1, 1), csEmpty);
    ASSERT_EQ(resizes.size(), 1u);
    EXPECT_EQ(resizes[0], std::make_tuple(2, 3, 3));
    t.RemoveRow(1);
    EXPECT_EQ(t.NrOfRows(), 2);
    EXPECT_EQ(t.GetElem(2, 1), 2.0);
    t.InsertRow(3);   // append
    EXPECT_EQ(t.NrOfRows(), 3);
    EXPECT_EQ(t.GetCellState(2, 3), csEmpty);
    t.MirrorRows();
    EXPECT_EQ(t.GetElem(2, 2), 3.0);
    t.MirrorColumns();
    EXPECT_EQ(t.GetColName(1), QStringLiteral("B"));
    t.RemoveColumn(7);   // ignored
    EXPECT_EQ(t.NrOfColumns(), 3);
}

TEST(DataTable, BulkStateEdits)
{
    TDataTable t;
    t.Resize(2, 2);
    t.SetCellState(1, 1, csMarkedA);
    t.SetCellState(2, 1, csEmpty | csMarkedB | csLocked);
    t.SetCellState(1, 2, csMarkedB);
    t.ExchangeMarkings();
    EXPECT_EQ(t.GetCellState(1, 1), csMarkedB);
    EXPECT_EQ(t.GetCellState(2, 1), csEmpty | csMarkedA | csLocked);
    EXPECT_EQ(t.FillMarkedCells(8, csMarkedA | csMarkedB), 2);   // the locked one stays
    EXPECT_EQ(t.GetElem(1, 2), 8.0);
    EXPECT_TRUE(t.GetIsNumber(1, 1));
    EXPECT_FALSE(t.GetIsNumber(2, 1));
    t.InvertCellStates(csMarkedA);
    EXPECT_EQ(t.GetCellState(2, 1), csEmpty | csLocked);
    t.UnmarkAllCells();
    EXPECT_EQ(t.GetCellState(1, 1), 0);
    t.Clear();
    EXPECT_EQ(t.GetCellState(1, 1), csEmpty);
    EXPECT_EQ(t.NrOfColumns(), 2);
}

TEST(DataTable, SortRowsMovesRowsAndReportsExchanges)
{
    TDataTable t;
    t.Resize(2, 5);
    FillColumn(t, 1, {3, 1, 2, 0, 5});
    FillColumn(t, 2, {30, 10, 20, 0, 50});
    t.SetCellState(1, 4, csInvalid);
    for (int r = 1; r <= 5; ++r)
        t.SetRowName(r, QString::number(r));
    std::vector<int> mirror(6);
    std::iota(mirror.begin(), mirror.end(), 0);
    t.OnSortExchange = [&](QObject*, std::uint8_t kind, int a, int b) {
        EXPECT_EQ(kind, dtExchangeRows);
        std::swap(mirror[a], mirror[b]);
    };
    t.SortRows(1, true, true);
    EXPECT_EQ(t.GetElem(2, 1), 10.0);
    EXPECT_EQ(t.GetElem(2, 2), 20.0);
    EXPECT_EQ(t.GetElem(2, 4), 50.0);
    EXPECT_EQ(t.GetCellState(1, 5), csInvalid);   // no number: last
    EXPECT_EQ(t.GetRowName(1), QStringLiteral("2"));
    EXPECT_EQ(mirror, (std::vector<int>{0, 2, 3, 1, 5, 4}));
    t.SortRows(1, false, false);   // descending, names stay
    EXPECT_EQ(t.GetElem(1, 1), 5.0);
    EXPECT_EQ(t.GetCellState(1, 5), csInvalid);
    EXPECT_EQ(t.GetRowName(1), QStringLiteral("2"));
}

TEST(DataTable, SortColumnsWithinARectangle)
{
    TDataTable t;
    t.Resize(4, 2);
    for (int c = 1; c <= 4; ++c) {
        t.SetElem(c, 1, 10 - c);
        t.SetElem(c, 2, c);
    }
    t.OnSortExchange = [](QObject*, std::uint8_t kind, int, int) { EXPECT_EQ(kind, dtExchangeColumns); };
    t.SortColumnsInRange(1, true, 2, 1, 4, 1, false);   // only row 1, columns 2..4
    EXPECT_EQ(t.GetElem(1, 1), 9.0);
    EXPECT_EQ(t.GetElem(2, 1), 6.0);
    EXPECT_EQ(t.GetElem(4, 1), 8.0);
    EXPECT_EQ(t.GetElem(2, 2), 2.0);   // row 2 untouched
}

TEST(DataTable, StructuralEditsTellWhereTheyHappened)
{
    TDataTable t;
    t.Resize(3, 3);
    std::vector<std::pair<int, int>> edits;
    std::vector<std::string> order;
    t.OnStructureChanged = [&](QObject*, TDTStructureEdit k, int ix) {
        edits.emplace_back(int(k), ix);
        order.push_back("structure");
    };
    t.OnResize = [&](QObject*, int, int, int) { order.push_back("resize"); };
    t.OnDataChanged = [&](QObject*) { order.push_back("data"); };
    t.InsertColumn(2);
    EXPECT_EQ(order, (std::vector<std::string>{"structure", "resize", "data"}));
    t.RemoveColumn(1);
    t.InsertRow(4);
    t.RemoveRow(2);
    t.MirrorColumns();
    t.MirrorRows();
    t.InsertRow(9);   // ignored, tells nothing
    EXPECT_EQ(edits, (std::vector<std::pair<int, int>>{{dtsColumnInserted, 2}, {dtsColumnRemoved, 1},
                                                         {dtsRowInserted, 4}, {dtsRowRemoved, 2},
                                                         {dtsColumnsMirrored, 0}, {dtsRowsMirrored, 0}}));
    t.ClearHooks();
    t.InsertRow(1);   // no hook left to call
    EXPECT_EQ(edits.size(), 6u);
}

TEST(DataTable, ASizeBeyondMemoryLeavesTheTableAsItWas)
{
    TDataTable t;
    t.Resize(2, 2);
    t.SetElem(1, 1, 5);
    t.SetColName(2, QStringLiteral("B"));
    int resizes = 0;
    t.OnResize = [&](QObject*, int, int, int) { ++resizes; };
    EXPECT_THROW(t.Resize(2000000000, 2000000000), std::bad_alloc);
    EXPECT_EQ(resizes, 0);
    EXPECT_EQ(t.NrOfColumns(), 2);
    EXPECT_EQ(t.NrOfRows(), 2);
    EXPECT_EQ(t.GetElem(1, 1), 5.0);
    EXPECT_EQ(t.GetColName(2), QStringLiteral("B"));
    t.Resize(3, 2);   // still usable
    EXPECT_EQ(t.GetElem(1, 1), 5.0);
}

TEST(DataTable, SortsByAttributesAndNamesMoveWholeHeadings)
{
    TDataTable t;
    t.Resize(3, 3);
    const char* names[] = {"beta", "Alpha", "gamma"};
    for (int c = 1; c <= 3; ++c) {
        t.SetColName(c, QString::fromLatin1(names[c - 1]));
        t.SetColAttrib(c, std::uint8_t(10 - c));
        t.SetElem(c, 1, c);
        t.SetElem(c, 2, 10 * c);
    }
    t.SetMScaleType(3, mstNominal);
    bool headings = false;
    t.OnSortExchange = [&](QObject*, std::uint8_t, int, int) { headings = t.ExchangingHeadings(); };
    // By attribute, moving only row 1's cells.
    t.SortColumnsByAttrib(true, 1, 1, 3, 1);
    EXPECT_TRUE(headings);
    EXPECT_FALSE(t.ExchangingHeadings());
    EXPECT_EQ(t.GetColName(1), QStringLiteral("gamma"));
    EXPECT_EQ(t.GetColAttrib(1), 7);
    EXPECT_EQ(t.GetMScaleType(1), int(mstNominal));
    EXPECT_EQ(t.GetElem(1, 1), 3.0);
    EXPECT_EQ(t.GetElem(1, 2), 10.0);   // row 2 stayed
    // By name: case decides only when asked to.
    t.SortColumnsByName(true, true);
    EXPECT_EQ(t.GetColName(1), QStringLiteral("Alpha"));
    EXPECT_EQ(t.GetColName(3), QStringLiteral("gamma"));
    t.SortColumnsByName(false, false);   // "Alpha" < "beta" < "gamma" by code too
    EXPECT_EQ(t.GetColName(1), QStringLiteral("gamma"));
    t.SetColName(2, QStringLiteral("Zeta"));
    t.SortColumnsByName(true, false);   // upper case first by code
    EXPECT_EQ(t.GetColName(1), QStringLiteral("Alpha"));
    EXPECT_EQ(t.GetColName(2), QStringLiteral("Zeta"));
    t.SetRowName(1, QStringLiteral("r2"));
    t.SetRowName(2, QStringLiteral("r1"));
    t.SetRowAttrib(3, 1);
    t.SortRowsByAttrib(false, 1, 1, 3, 3);
    EXPECT_EQ(t.GetRowAttrib(1), 1);
    t.SortRowsByName(true, false);
    EXPECT_EQ(t.GetRowName(2), QStringLiteral("r1"));
}

TEST(DataTable, CopiesAndLookups)
{
    TDataTable a, b;
    a.Resize(2, 3);
    a.SetElem(2, 3, 7.5);
    a.SetCellState(1, 1, csLocked | csMarkedA);
    a.SetColName(2, QStringLiteral("Speed"));
    a.SetRowName(3, QStringLiteral(" Last "));
    a.SetMScaleType(1, mstNominal);
    a.SetNominalID(1, 0, QStringLiteral("none"));
    a.SetFComment(QStringLiteral("c"));
    b.Resize(5, 1);
    int oldCols = -1;
    b.OnResize = [&](QObject*, int o, int, int) { oldCols = o; };
    b.CopyFrom(a);
    EXPECT_EQ(oldCols, 5);
    EXPECT_EQ(b.NrOfColumns(), 2);
    EXPECT_EQ(b.NrOfRows(), 3);
    EXPECT_EQ(b.GetElem(2, 3), 7.5);
    EXPECT_EQ(b.GetCellState(1, 1), csLocked | csMarkedA);
    EXPECT_EQ(b.GetNominalID(1, 0), QStringLiteral("none"));
    EXPECT_EQ(b.Comment(), QStringLiteral("c"));
    a.SetNominalID(1, 0, QStringLiteral("other"));   // the copy has its own identifiers
    EXPECT_EQ(b.GetNominalID(1, 0), QStringLiteral("none"));
    EXPECT_EQ(b.FindColName(QStringLiteral("speed ")), 2);
    EXPECT_EQ(b.FindRowName(QStringLiteral("last")), 3);
    EXPECT_EQ(b.FindColName(QStringLiteral("nothing")), 0);

    TDataTable c;
    c.Resize(1, 5);
    c.CopyStatesFrom(a);   // only the cells both have
    EXPECT_EQ(c.GetCellState(1, 1), csLocked | csMarkedA);
    EXPECT_EQ(c.GetCellState(1, 5), csEmpty);
    EXPECT_EQ(c.NrOfColumns(), 1);
}
