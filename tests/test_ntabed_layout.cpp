// Table editor: construction, sizing, the attribute lines, widths, heights, precisions,
// headings and the events that report them; the table's hooks and its memory failures.
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "test_ntabed_support.h"

using namespace qor;
using ntest::Editor;

namespace {

// Counts every notification event of an editor.
struct Events {
    int Change = 0, Setup = 0, Heading = 0, Attribute = 0, Layout = 0, States = 0, Empty = 0;
    explicit Events(TNTabEd& t)
    {
        t.OnChange = [this](QObject*) { ++Change; };
        t.OnChangeSetup = [this](QObject*) { ++Setup; };
        t.OnHeadingChanged = [this](QObject*) { ++Heading; };
        t.OnAttributeChanged = [this](QObject*) { ++Attribute; };
        t.OnLayoutChanged = [this](QObject*) { ++Layout; };
        t.OnCellStateChanged = [this](QObject*) { ++States; };
        t.OnEmptyStChanged = [this](QObject*) { ++Empty; };
    }
};

} // namespace

TEST(NTabEdLayout, ANewEditorHasTheDefaults)
{
    TNTabEd t;
    EXPECT_EQ(t.NrOfColumns(), 3);
    EXPECT_EQ(t.NrOfRows(), 4);
    EXPECT_TRUE(t.AttribRowVisible());
    EXPECT_FALSE(t.AttribColVisible());
    EXPECT_EQ(t.ColCount(), 5);
    EXPECT_EQ(t.RowCount(), 5);
    EXPECT_EQ(t.FixedCols(), 2);
    EXPECT_EQ(t.FixedRows(), 1);
    EXPECT_EQ(t.ColWidths(0), 80);
    EXPECT_EQ(t.ColWidths(-1), 32);
    EXPECT_EQ(t.NumWidth(), 1);
    EXPECT_TRUE(t.AutoAdvance());
    EXPECT_EQ(t.AutoAdvanceDir(), orHorizontal);
    EXPECT_EQ(t.NomEditDropDownCount(), 8);
    EXPECT_EQ(t.ColorNormal(), 0x002000);
    EXPECT_EQ(t.ColorRangeSelBG(), 0xF8E8E0);
    EXPECT_EQ(t.ColorBackground(), clWindow);
    EXPECT_EQ(t.ColorFixed(), clBtnFace);
    for (int c = 1; c <= 3; ++c)
        EXPECT_EQ(t.Precision(c), 3);
    // Fresh cells are empty, their values 0.
    EXPECT_TRUE(t.IsEmpty(1, 1));
    EXPECT_EQ(t.Elem(3, 4), 0.0);
    EXPECT_EQ(t.PopupDMask(), -1);
}

TEST(NTabEdLayout, GrowingGivesNewColumnsTheLastWidthAndPrecision)
{
    Editor f(3, 4);
    f.t.SetColWidths(3, 51);
    f.t.SetPrecision(3, 5);
    Events ev(f.t);
    f.t.SetNrOfColumns(5);
    EXPECT_EQ(f.t.ColCount(), 7);
    EXPECT_EQ(f.t.ColWidths(4), 51);
    EXPECT_EQ(f.t.ColWidths(5), 51);
    EXPECT_EQ(f.t.Precision(5), 5);
    EXPECT_EQ(ev.Setup, 1);
    f.t.Redimension(2, 10);
    EXPECT_EQ(f.t.RowCount(), 11);
    EXPECT_EQ(f.t.Precision(3), 0);   // gone
    // From no columns at all new ones take the default width and precision 3.
    f.t.SetNrOfColumns(0);
    EXPECT_EQ(f.t.ColCount(), 2);
    f.t.SetNrOfColumns(2);
    EXPECT_EQ(f.t.ColWidths(1), f.t.DefaultColWidth());
    EXPECT_EQ(f.t.Precision(2), 3);
    EXPECT_EQ(f.t.FixedCols(), 2);   // the fixed columns came back
    f.t.SetNrOfColumns(-4);
    EXPECT_EQ(f.t.NrOfColumns(), 0);
}

TEST(NTabEdLayout, AttributeLinesShowAndHideKeepingTheWidths)
{
    Editor f(3, 4);
    for (int c = 1; c <= 3; ++c)
        f.t.SetColWidths(c, 40 + c);
    f.t.SetColWidths(-1, 25);
    f.SelectCell(2, 3);
    Events ev(f.t);
    f.t.SetAttribRowVisible(false);
    EXPECT_EQ(f.t.FixedCols(), 1);
    EXPECT_EQ(f.t.ColCount(), 4);
    EXPECT_EQ(f.t.ColWidths(-1), 0);   // hidden reads 0
    f.t.SetColWidths(-1, 99);          // and takes no write
    EXPECT_EQ(f.t.ColWidths(2), 42);
    EXPECT_EQ(f.t.CurrentCol(), 2);    // the cursor stays on its cell
    f.t.SetAttribRowVisible(true);
    EXPECT_EQ(f.t.ColWidths(-1), 25);
    for (int c = 1; c <= 3; ++c)
        EXPECT_EQ(f.t.ColWidths(c), 40 + c);
    f.t.SetAttribRowVisible(true);     // the present value does nothing
    EXPECT_EQ(ev.Layout, 2);
    // The attribute row takes the height of row 0.
    f.t.SetRowHeights(0, 30);
    f.t.SetAttribColVisible(true);
    EXPECT_EQ(f.t.FixedRows(), 2);
    EXPECT_EQ(f.t.RowHeights(-1), 30);
    EXPECT_EQ(f.t.CurrentRow(), 3);
    f.t.SetAttribColVisible(false);
    EXPECT_EQ(f.t.RowHeights(-1), 0);
}

TEST(NTabEdLayout, WidthsHeightsAndPrecisionsByDataIndex)
{
    Editor f(3, 4);
    Events ev(f.t);
    EXPECT_EQ(f.t.ColWidths(4), 0);   // out of range
    f.t.SetColWidths(4, 10);
    EXPECT_EQ(ev.Layout, 0);
    f.t.SetRowHeights(2, 33);
    EXPECT_EQ(f.t.RowHeights(2), 33);
    f.t.SetRowHeights(5, 12);          // above the row count: ignored
    EXPECT_EQ(f.t.RowHeights(5), 0);
    f.t.SetDefaultColWidth(50);
    EXPECT_EQ(f.t.ColWidths(1), 50);
    EXPECT_EQ(f.t.ColWidths(0), 80);
    EXPECT_EQ(f.t.ColWidths(-1), 32);
    // Precision is held to -1..10; outside the columns it reads 0 and takes no write.
    f.t.SetPrecision(1, -7);
    EXPECT_EQ(f.t.Precision(1), -1);
    f.t.SetPrecision(1, 42);
    EXPECT_EQ(f.t.Precision(1), 10);
    f.t.SetPrecision(0, 2);
    EXPECT_EQ(f.t.Precision(0), 0);
    // NumWidth takes 1..20 only, and says so every time.
    const int before = ev.Layout;
    f.t.SetNumWidth(21);
    f.t.SetNumWidth(0);
    EXPECT_EQ(f.t.NumWidth(), 1);
    EXPECT_EQ(ev.Layout, before + 2);
    // The two control colours fire nothing.
    f.t.SetColorBackground(clYellow);
    f.t.SetColorFixed(clAqua);
    EXPECT_EQ(f.t.Color(), clYellow);
    EXPECT_EQ(f.t.FixedColor(), clAqua);
    EXPECT_EQ(ev.Layout, before + 2);
    f.t.SetColorMarkedA(clGreen);
    EXPECT_EQ(ev.Layout, before + 3);
}

TEST(NTabEdLayout, ScrollPositionsAreHeldToTheTable)
{
    Editor f(30, 200, 300, 200);
    QSignalSpy moved(&f.t, &TNTabEd::topLeftChanged);
    f.t.SetTopRow(50);
    EXPECT_EQ(f.t.TopRow(), 50);
    f.t.SetTopRow(-3);
    EXPECT_EQ(f.t.TopRow(), 1);
    f.t.SetLeftCol(12);
    EXPECT_EQ(f.t.LeftCol(), 12);
    f.t.SetLeftCol(1000);
    EXPECT_LE(f.t.LeftCol(), 30);
    EXPECT_GE(moved.count(), 3);
}

TEST(NTabEdLayout, HeadingsCommentAndTheirEvents)
{
    Editor f(2, 2);
    Events ev(f.t);
    f.t.SetColName(1, QString(60, QLatin1Char('x')));
    EXPECT_EQ(f.t.ColName(1).size(), 50);
    f.t.SetColName(3, QStringLiteral("ignored"));
    f.t.SetRowName(2, QStringLiteral("second"));
    EXPECT_EQ(ev.Heading, 2);
    EXPECT_EQ(ev.Change, 0);   // names are no values
    f.t.SetColAttrib(2, 200);
    f.t.SetRowAttrib(0, 5);
    EXPECT_EQ(f.t.ColAttrib(2), 200);
    EXPECT_EQ(f.t.RowAttrib(0), 0);
    EXPECT_EQ(ev.Attribute, 1);
    EXPECT_EQ(ev.Setup, 0);
    f.t.SetComment(QStringLiteral("two\tlines\r\nhere"));
    EXPECT_EQ(f.t.Comment(), QStringLiteral("twolineshere"));
    EXPECT_EQ(ev.Change, 1);
    // Nothing is told while painting is held off; switching it on repaints.
    f.t.SetSuppressPaint(true);
    f.t.SetColName(1, QStringLiteral("quiet"));
    f.t.SetElem(1, 1, 3);
    EXPECT_EQ(ev.Heading, 2);
    EXPECT_EQ(ev.Change, 1);
    f.t.SetSuppressPaint(false);
    EXPECT_EQ(f.t.ColName(1), QStringLiteral("quiet"));
}

TEST(NTabEdLayout, ClearNamesEveryLineAndResetsPrecisions)
{
    Editor f(2, 3);
    f.t.SetPrecision(2, 7);
    f.t.SetElem(1, 1, 5);
    f.t.Clear();
    EXPECT_EQ(f.t.ColName(2), QStringLiteral("C-2"));
    EXPECT_EQ(f.t.RowName(3), QStringLiteral("R-3"));
    EXPECT_EQ(f.t.Precision(2), 3);
    EXPECT_TRUE(f.t.IsEmpty(1, 1));
}

TEST(NTabEdLayout, PrecisionsAndWidthsFollowTheirColumnsThroughStructuralEdits)
{
    Editor f(4, 2);
    for (int c = 1; c <= 4; ++c) {
        f.t.SetPrecision(c, c);
        f.t.SetColWidths(c, 40 + c);
    }
    f.t.InsertColumn(1);
    EXPECT_EQ(f.t.Precision(1), 3);
    EXPECT_EQ(f.t.Precision(2), 1);
    EXPECT_EQ(f.t.Precision(5), 4);
    EXPECT_EQ(f.t.ColWidths(2), 41);
    EXPECT_EQ(f.t.ColWidths(5), 44);
    f.t.RemoveColumn(1);
    EXPECT_EQ(f.t.Precision(1), 1);
    EXPECT_EQ(f.t.ColWidths(4), 44);
    f.t.MirrorColumns();
    EXPECT_EQ(f.t.Precision(1), 4);
    EXPECT_EQ(f.t.Precision(4), 1);
    EXPECT_EQ(f.t.ColWidths(1), 44);
    // Also when a program edits the table directly.
    f.t.Data()->RemoveColumn(1);
    EXPECT_EQ(f.t.Precision(1), 3);
    EXPECT_EQ(f.t.ColCount(), 5);
    // Sorting columns with their headings takes the precision along.
    f.t.SetElem(1, 1, 30);
    f.t.SetElem(2, 1, 20);
    f.t.SetElem(3, 1, 10);
    f.t.SortCols(1, true, 1, 1, 3, 2, true);
    EXPECT_EQ(f.t.Precision(1), 1);
    EXPECT_EQ(f.t.Precision(3), 3);
    f.t.SortCols(1, false, 1, 1, 3, 2, false);   // without: precisions stay
    EXPECT_EQ(f.t.Precision(1), 1);
}

TEST(NTabEdLayout, StructuralEditsKeepTheirLimitsAndTellTheSize)
{
    Editor f(1, 1);
    Events ev(f.t);
    f.t.RemoveRow(1);
    f.t.RemoveColumn(1);
    EXPECT_EQ(f.t.NrOfRows(), 1);   // the last row and column stay
    EXPECT_EQ(f.t.NrOfColumns(), 1);
    f.t.InsertRow(3);
    f.t.InsertColumn(0);
    EXPECT_EQ(f.t.NrOfRows(), 1);
    f.t.InsertRow(2);
    EXPECT_EQ(f.t.NrOfRows(), 2);
    EXPECT_EQ(f.t.RowCount(), 3);
    EXPECT_EQ(ev.Setup, 1);
    f.t.MirrorRows();
    EXPECT_EQ(ev.Change, 1);
}

TEST(NTabEdLayout, ASizeBeyondMemoryRaisesAndChangesNothing)
{
    Editor f(3, 4);
    f.t.setObjectName(QStringLiteral("Editor1"));
    f.t.SetElem(2, 2, 7);
    f.t.SetPrecision(3, 6);
    try {
        f.t.Redimension(1000000, 2000000000);
        FAIL() << "no exception";
    } catch (const EQORNTabedError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Component \"Editor1\": not enough memory on heap"));
    }
    EXPECT_EQ(f.t.NrOfColumns(), 3);
    EXPECT_EQ(f.t.NrOfRows(), 4);
    EXPECT_EQ(f.t.ColCount(), 5);
    EXPECT_EQ(f.t.Precision(3), 6);
    EXPECT_EQ(f.t.Elem(2, 2), 7.0);
}

TEST(NTabEdLayout, AnOutsideTableIsShownAndLeftWithoutHooks)
{
    TDataTable outside;
    outside.Resize(5, 2);
    outside.SetElem(5, 2, 9);
    {
        TNTabEd t;
        TDataTable second;
        second.Resize(1, 1);
        t.AssignAnotherDataMatrix(&second);
        t.AssignAnotherDataMatrix(&outside);
        // The table shown before has none of the editor's hooks any more.
        EXPECT_FALSE(second.OnDataChanged || second.OnSetupChanged || second.OnPercentDone || second.OnResize
                     || second.OnSortExchange || second.OnStructureChanged);
        EXPECT_EQ(t.Data(), &outside);
        EXPECT_EQ(t.NrOfColumns(), 5);
        EXPECT_EQ(t.ColCount(), 7);
        EXPECT_EQ(t.Precision(5), 3);
        EXPECT_EQ(t.CellText(5, 2), QStringLiteral("9.000"));
        int changes = 0;
        t.OnChange = [&](QObject*) { ++changes; };
        outside.SetElem(1, 1, 1);
        EXPECT_EQ(changes, 1);
        t.AssignAnotherDataMatrix(nullptr);   // ignored
        EXPECT_EQ(t.Data(), &outside);
    }
    // The editor is gone: the table stays, with no hook pointing at it.
    EXPECT_FALSE(outside.OnDataChanged || outside.OnSetupChanged || outside.OnPercentDone || outside.OnResize
                 || outside.OnSortExchange || outside.OnStructureChanged);
    outside.InsertColumn(1);
    outside.SortRows(1, true);
    EXPECT_EQ(outside.NrOfColumns(), 6);
}

TEST(NTabEdLayout, CopiesOfOtherTablesKeepTheLayoutInStep)
{
    Editor f(2, 2);
    f.t.SetPrecision(2, 6);
    TDataTable other;
    other.Resize(4, 3);
    other.SetElem(4, 3, 1.25);
    other.SetColName(4, QStringLiteral("Four"));
    other.SetCellState(1, 1, csLocked);
    f.t.CopyContentsFrom(&other);
    EXPECT_EQ(f.t.NrOfColumns(), 4);
    EXPECT_EQ(f.t.ColCount(), 6);
    EXPECT_EQ(f.t.Precision(2), 6);
    EXPECT_EQ(f.t.Precision(4), 6);
    EXPECT_EQ(f.t.ColName(4), QStringLiteral("Four"));
    EXPECT_EQ(f.t.FindColIndex(QStringLiteral("four")), 4);
    EXPECT_EQ(f.t.FindRowIndex(QStringLiteral("none")), 0);
    TDataTable states;
    states.Resize(1, 1);
    states.SetCellState(1, 1, csMarkedB);
    int stateEvents = 0;
    f.t.OnCellStateChanged = [&](QObject*) { ++stateEvents; };
    f.t.CopyCellStatesFrom(&states);
    EXPECT_EQ(f.t.CellState(1, 1), csMarkedB);
    EXPECT_EQ(stateEvents, 1);
    f.t.CopyContentsFrom(nullptr);
    EXPECT_EQ(f.t.NrOfColumns(), 4);
}

TEST(NTabEdLayout, FittedSizes)
{
    Editor f(2, 3);
    f.t.SetElem(1, 2, -12345.678);
    f.t.SetColName(1, QStringLiteral("A long column name"));
    TCanvas* cv = f.t.Canvas();
    cv->Font()->Assign(*f.t.Font());
    const int numberWidth = cv->TextWidth(QStringLiteral("-12345.678"));
    EXPECT_EQ(f.t.AutoColWidth(1, false, 2), numberWidth + 2 + 8);
    EXPECT_EQ(f.t.ColWidths(1), numberWidth + 10);
    EXPECT_EQ(f.t.AutoColWidth(1, true, 0), cv->TextWidth(QStringLiteral("A long column name")) + 8);
    EXPECT_EQ(f.t.AutoColWidth(-1, true, 0), cv->TextWidth(QStringLiteral("Attrib")) + 8);
    EXPECT_EQ(f.t.AutoColWidth(0, false, 0), cv->TextWidth(QStringLiteral("999:9999")) + 8);
    EXPECT_EQ(f.t.AutoColWidth(3, true, 0), 0);
    const int h = cv->TextHeight(QStringLiteral("9GMgÜ$§[{|"));
    EXPECT_EQ(f.t.AutoRowHeight(2, 3), h + 5);
    EXPECT_EQ(f.t.RowHeights(2), h + 5);
    f.t.SetOptimizeRowHeight(true);
    f.Img();
    EXPECT_EQ(f.t.DefaultRowHeight(), h + 4);
}
