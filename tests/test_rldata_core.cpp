// TRLData: defaults, cells and check marks, counts, structure, formats, sorting and Assign.
#include <gtest/gtest.h>

#include <QOR_replist.h>

using namespace qor;

namespace {

void Rows(TRLData& d, int col, const QStringList& values)
{
    if (d.NrOfRows() < values.size())
        d.SetNrOfRows(int(values.size()));
    for (int r = 1; r <= values.size(); ++r)
        d.SetElem(col, r, values[r - 1]);
}

QStringList ColumnOf(const TRLData& d, int col)
{
    QStringList l;
    for (int r = 1; r <= d.NrOfRows(); ++r)
        l << d.Elem(col, r);
    return l;
}

} // namespace

TEST(RLData, Defaults)
{
    TRLData d;
    EXPECT_EQ(d.NrOfColumns(), 1);
    EXPECT_EQ(d.NrOfRows(), 0);
    EXPECT_EQ(d.Header(1), QStringLiteral("C-1"));
    EXPECT_EQ(d.CommonHeader(), QStringLiteral("QOR Report Listview"));
    EXPECT_EQ(d.LastSortColumn(), -1);
    EXPECT_TRUE(d.SortToggle());
    EXPECT_EQ(d.FeedbkNumCells(), 1);
    EXPECT_EQ(d.FeedbkStep(), 1);
    EXPECT_EQ(d.property("CommonHeader").toString(), QStringLiteral("QOR Report Listview"));
    EXPECT_TRUE(d.setProperty("NrOfColumns", 3));
    EXPECT_EQ(d.NrOfColumns(), 3);
}

TEST(RLData, ColumnCountKeepsNamesAndClamps)
{
    TRLData d;
    d.SetNrOfColumns(2);
    d.SetHeader(1, QStringLiteral("First"));
    d.SetNrOfColumns(4);
    EXPECT_EQ(d.Header(1), QStringLiteral("First"));
    EXPECT_EQ(d.Header(2), QStringLiteral("C-2"));
    EXPECT_EQ(d.Header(4), QStringLiteral("C-4"));
    d.SetNrOfColumns(0);
    EXPECT_EQ(d.NrOfColumns(), 1);
    d.SetNrOfColumns(-5);
    EXPECT_EQ(d.NrOfColumns(), 1);
    d.SetNrOfRows(-3);
    EXPECT_EQ(d.NrOfRows(), 0);
    d.SetNrOfRows(10);
    EXPECT_EQ(d.FeedbkNumCells(), 20);
    EXPECT_EQ(d.FeedbkStep(), 1);
}

TEST(RLData, OutOfRangeIsEmptyAndIgnored)
{
    TRLData d;
    d.SetNrOfColumns(2);
    d.SetNrOfRows(2);
    d.SetElem(3, 1, QStringLiteral("x"));
    d.SetElem(1, 0, QStringLiteral("x"));
    d.SetElem(1, 3, QStringLiteral("x"));
    EXPECT_TRUE(d.Elem(3, 1).isEmpty());
    EXPECT_TRUE(d.Elem(1, 0).isEmpty());
    EXPECT_FALSE(d.ElemChecked(-1, 1));
    EXPECT_TRUE(d.Header(0).isEmpty());
    EXPECT_EQ(d.ColumnCheckMode(9), cmNone);
    d.SetHeader(3, QStringLiteral("nope"));
    d.SetElem(0, 2, QStringLiteral("hidden"));
    EXPECT_EQ(d.Elem(0, 2), QStringLiteral("hidden"));
    d.SetElem(1, 1, QString(300, QLatin1Char('a')));
    EXPECT_EQ(d.Elem(1, 1).size(), 255);
    d.SetHeader(1, QString(60, QLatin1Char('h')));
    EXPECT_EQ(d.Header(1).size(), 50);
    d.SetColumnFormat(1, QString(90, QLatin1Char('f')));
    EXPECT_EQ(d.ColumnFormat(1).size(), 80);
}

TEST(RLData, CheckModeConversionKeepsVisibleText)
{
    TRLData d;
    Rows(d, 1, {u"a"_qs, u""_qs, u"b"_qs});
    int changes = 0;
    d.Strings()->OnChange = [&](QObject*) { ++changes; };
    d.SetColumnCheckMode(1, cmBox);
    EXPECT_EQ(changes, 1);   // one notification for the whole column
    EXPECT_EQ(d.RawElem(1, 1), QStringLiteral(" a"));
    EXPECT_EQ(d.RawElem(1, 2), QString());
    EXPECT_EQ(d.RawElem(1, 3), QStringLiteral(" b"));
    EXPECT_EQ(ColumnOf(d, 1), (QStringList{u"a"_qs, u""_qs, u"b"_qs}));
    d.SetElemChecked(1, 1, true);
    EXPECT_EQ(d.RawElem(1, 1), QStringLiteral("Xa"));
    d.SetElem(1, 1, QStringLiteral("new"));
    EXPECT_EQ(d.RawElem(1, 1), QStringLiteral("Xnew"));
    EXPECT_TRUE(d.IsCheckedColumn(1));
    d.SetColumnCheckMode(1, cmNone);
    EXPECT_EQ(ColumnOf(d, 1), (QStringList{u"new"_qs, u""_qs, u"b"_qs}));
}

TEST(RLData, EmptyCheckCellAndRadioColumns)
{
    TRLData d;
    d.SetNrOfRows(3);
    d.SetColumnCheckMode(1, cmRadio);
    EXPECT_FALSE(d.ElemChecked(1, 2));
    d.SetElemChecked(1, 1, true);
    d.SetElemChecked(1, 3, true);
    EXPECT_FALSE(d.ElemChecked(1, 1));
    EXPECT_TRUE(d.ElemChecked(1, 3));
    EXPECT_EQ(d.RawElem(1, 3), QStringLiteral("X"));
    EXPECT_TRUE(d.Elem(1, 3).isEmpty());
    EXPECT_EQ(d.CountCheckedElemsInCol(1), 1);
    EXPECT_EQ(d.FirstCheckedElemInCol(1), 3);
    d.SetAllCheckmarksOfCol(1, true);   // a radio column cannot check all
    EXPECT_EQ(d.CountCheckedElemsInCol(1), 1);
    d.SetAllCheckmarksOfCol(1, false);
    EXPECT_EQ(d.CountCheckedElemsInCol(1), 0);
    d.SetElemChecked(1, 2, true);
    d.SetColumnCheckMode(1, cmBox);     // radio -> box keeps the marks
    EXPECT_TRUE(d.ElemChecked(1, 2));
    d.SetElemChecked(1, 1, true);
    d.SetColumnCheckMode(1, cmRadio);   // box -> radio clears them
    EXPECT_EQ(d.CountCheckedElemsInCol(1), 0);
}

TEST(RLData, BoxColumnBulkMarksAndCounting)
{
    TRLData d;
    d.SetNrOfColumns(3);
    d.SetNrOfRows(3);
    d.SetColumnCheckMode(2, cmBox);
    d.SetColumnCheckMode(3, cmBox);
    d.SetRawElem(2, 1, QStringLiteral("Yodd mark"));   // any mark but a blank counts as checked
    EXPECT_TRUE(d.ElemChecked(2, 1));
    d.SetRowAttrib(2, rlaDisabled);
    d.InvertAllCheckmarksOfCol(2, true);
    EXPECT_FALSE(d.ElemChecked(2, 1));   // inverted to unchecked
    EXPECT_FALSE(d.ElemChecked(2, 2));   // disabled row skipped
    EXPECT_TRUE(d.ElemChecked(2, 3));
    d.SetAllCheckmarksOfCol(3, true, true);
    EXPECT_EQ(d.CountCheckedElemsInCol(3), 2);
    EXPECT_EQ(d.CountCheckedElemsInRow(3), 2);
    EXPECT_EQ(d.FirstCheckedElemInRow(1), 3);
    EXPECT_EQ(d.FirstCheckedElemInRow(9), 0);
    EXPECT_EQ(d.CountCheckedElemsInCol(1), 0);
    EXPECT_EQ(d.FirstCheckedElemInCol(1), 0);
}

TEST(RLData, AsNumberReadsCellsOrRaises)
{
    TRLData d;
    d.SetNrOfColumns(2);
    Rows(d, 1, {u" 1,5 "_qs, u""_qs, u"1.2.3"_qs});
    EXPECT_DOUBLE_EQ(d.AsNumber(1, 1), 1.5);
    EXPECT_DOUBLE_EQ(d.AsNumber(1, 2), 0.0);
    try {
        d.AsNumber(1, 3);
        FAIL() << "no exception";
    } catch (const EQORDStructError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Class TRLData: invalid numeric string: [1,3]: 1.2.3"));
    }
    d.SetColumnCheckMode(2, cmBox);
    d.SetElem(2, 1, QStringLiteral("42"));
    d.SetElemChecked(2, 1, true);
    EXPECT_DOUBLE_EQ(d.AsNumber(2, 1), 42.0);
    d.SetElem(2, 2, QStringLiteral("x"));
    try {
        d.AsNumber(2, 2);
        FAIL() << "no exception";
    } catch (const EQORDStructError& e) {
        EXPECT_TRUE(e.Message().endsWith(QStringLiteral("[2,2]:  x")));   // the raw cell, mark included
    }
}

TEST(RLData, ColumnIndexMatchesFromTheLastColumn)
{
    TRLData d;
    d.SetNrOfColumns(3);
    EXPECT_EQ(d.ColumnIndex(QStringLiteral("c-1"), false), 1);
    d.SetHeader(1, QStringLiteral("Total"));
    d.SetHeader(3, QStringLiteral("Total"));
    EXPECT_EQ(d.ColumnIndex(QStringLiteral("TOTAL"), false), 3);
    EXPECT_EQ(d.ColumnIndex(QStringLiteral("ota"), true), 3);
    EXPECT_EQ(d.ColumnIndex(QStringLiteral("ota"), false), -1);
    EXPECT_EQ(d.ColumnIndex(QString(), true), -1);
}

TEST(RLData, DefaultValueFormats)
{
    TRLData d;
    d.SetNrOfColumns(8);
    d.SetColumnFormat(1, QStringLiteral("[i]rix3"));
    EXPECT_EQ(d.DefaultValue(1, 7), QStringLiteral("007"));
    EXPECT_EQ(d.DefaultValue(1, 1234), QStringLiteral("234"));
    d.SetColumnFormat(2, QStringLiteral("[h]rix4"));
    EXPECT_EQ(d.DefaultValue(2, 255), QStringLiteral("00FF"));
    d.SetColumnFormat(2, QStringLiteral("[h]rix0"));
    EXPECT_EQ(d.DefaultValue(2, 255), QStringLiteral("F"));
    d.SetColumnFormat(3, QStringLiteral("[c]one|two"));
    EXPECT_EQ(d.DefaultValue(3, 1), QStringLiteral("one"));
    d.SetColumnFormat(4, QStringLiteral("[s]$pwd$8"));
    const QString p1 = d.DefaultValue(4, 1), p2 = d.DefaultValue(4, 1);
    EXPECT_EQ(p1.size(), 8);
    EXPECT_NE(p1, p2);
    d.SetColumnFormat(1, QStringLiteral("[i]rix 12"));
    EXPECT_EQ(d.DefaultValue(1, 42), QStringLiteral("000000000042"));
    d.SetColumnFormat(4, QStringLiteral("[s]$pwd$999999999"));
    EXPECT_EQ(d.DefaultValue(4, 1).size(), 255);   // never more than a cell holds
    d.SetColumnFormat(5, QStringLiteral("[f]rix2"));
    EXPECT_EQ(d.DefaultValue(5, 7), QStringLiteral("7.00"));
    d.SetColumnFormat(6, QStringLiteral("[d]2024-01-01"));
    EXPECT_EQ(d.DefaultValue(6, 1), QStringLiteral("2024-01-01"));
    d.SetColumnFormat(7, QStringLiteral("[q]what"));
    EXPECT_TRUE(d.DefaultValue(7, 1).isEmpty());
    d.SetColumnFormat(8, QStringLiteral("nobracket"));
    EXPECT_TRUE(d.DefaultValue(8, 1).isEmpty());
    d.SetColumnFormat(8, QStringLiteral("[i]"));
    EXPECT_TRUE(d.DefaultValue(8, 1).isEmpty());
    d.SetColumnFormat(8, QStringLiteral("[i]plain"));
    EXPECT_EQ(d.DefaultValue(8, 1), QStringLiteral("plain"));
    EXPECT_TRUE(d.DefaultValue(9, 1).isEmpty());
}

TEST(RLData, StructuralEditsAtTheEdges)
{
    TRLData d;
    d.SetNrOfColumns(3);
    d.SetHeader(2, QStringLiteral("B"));
    d.SetColumnCheckMode(2, cmBox);
    d.InsertColumn(2);
    EXPECT_EQ(d.NrOfColumns(), 4);
    EXPECT_TRUE(d.Header(2).isEmpty());
    EXPECT_EQ(d.Header(3), QStringLiteral("B"));
    EXPECT_EQ(d.ColumnCheckMode(3), cmBox);
    d.InsertColumn(5);   // cannot append
    EXPECT_EQ(d.NrOfColumns(), 4);

    TRLData one;
    one.SetNrOfRows(2);
    one.SetElem(1, 1, QStringLiteral("x"));
    one.SetElem(0, 2, QStringLiteral("hidden"));
    one.RemoveColumn(1);
    EXPECT_EQ(one.NrOfColumns(), 0);
    EXPECT_TRUE(one.Header(1).isEmpty());
    EXPECT_EQ(one.Elem(0, 2), QStringLiteral("hidden"));
    EXPECT_EQ(one.FeedbkNumCells(), 2);

    TRLData rows;
    rows.SetNrOfRows(1);
    rows.SetElem(1, 1, QStringLiteral("only"));
    rows.SetRowAttrib(1, rlaSelected);
    rows.RemoveRow(1);
    EXPECT_EQ(rows.NrOfRows(), 0);
    rows.SetNrOfRows(1);
    EXPECT_TRUE(rows.Elem(1, 1).isEmpty());   // nothing stale comes back
    EXPECT_EQ(rows.RowAttrib(1), 0);
    rows.InsertRow(1);
    EXPECT_EQ(rows.NrOfRows(), 2);
    rows.InsertRow(3);   // only before an existing row
    EXPECT_EQ(rows.NrOfRows(), 2);
}

TEST(RLData, ShrinkingToNoRowsKeepsCheckMarksOnly)
{
    TRLData d;
    d.SetNrOfColumns(2);
    d.SetNrOfRows(2);
    d.SetColumnCheckMode(2, cmBox);
    d.SetElem(1, 1, QStringLiteral("text"));
    d.SetElem(2, 1, QStringLiteral("t"));
    d.SetElemChecked(2, 1, true);
    d.SetNrOfRows(0);
    d.SetNrOfRows(1);
    EXPECT_TRUE(d.Elem(1, 1).isEmpty());
    EXPECT_EQ(d.RawElem(2, 1), QStringLiteral("X"));
}

TEST(RLData, RemoveEmptyRowsIgnoresMarksAndLooksAtTheHiddenColumn)
{
    TRLData d;
    d.SetNrOfColumns(2);
    d.SetNrOfRows(5);
    d.SetColumnCheckMode(2, cmBox);
    d.SetElem(1, 1, QStringLiteral("a"));
    d.SetElemChecked(2, 2, true);               // a mark alone is empty
    d.SetElem(0, 3, QStringLiteral("hidden"));  // hidden text keeps the row
    d.SetElem(1, 5, QStringLiteral("e"));
    d.SetRowAttrib(5, rlaSelected);
    d.RemoveEmptyRows();
    EXPECT_EQ(d.NrOfRows(), 3);
    EXPECT_EQ(ColumnOf(d, 1), (QStringList{u"a"_qs, u""_qs, u"e"_qs}));
    EXPECT_EQ(d.Elem(0, 2), QStringLiteral("hidden"));
    EXPECT_EQ(d.RowAttrib(3), rlaSelected);

    TRLData empty;
    empty.SetNrOfRows(4);
    empty.RemoveEmptyRows();
    EXPECT_EQ(empty.NrOfRows(), 0);
}

TEST(RLData, CopyRowCopiesRawCellsAndAttribute)
{
    TRLData d;
    d.SetNrOfColumns(2);
    d.SetNrOfRows(2);
    d.SetColumnCheckMode(2, cmBox);
    d.SetElem(0, 1, QStringLiteral("h"));
    d.SetElem(2, 1, QStringLiteral("v"));
    d.SetElemChecked(2, 1, true);
    d.SetRowAttrib(1, rlaDisabled);
    d.CopyRow(1, 2);
    EXPECT_EQ(d.RawElem(2, 2), QStringLiteral("Xv"));
    EXPECT_EQ(d.Elem(0, 2), QStringLiteral("h"));
    EXPECT_EQ(d.RowAttrib(2), rlaDisabled);
    d.CopyRow(1, 3);   // ignored
}

TEST(RLData, SortUnsortWithAttributesAndHook)
{
    TRLData d;
    d.SetNrOfColumns(2);
    Rows(d, 1, {u"b"_qs, u"10"_qs, u"a"_qs, u"9"_qs});
    Rows(d, 2, {u"1"_qs, u"2"_qs, u"3"_qs, u"4"_qs});
    d.SetRowAttrib(1, rlaSelected);
    int exchanges = 0;
    QObject* sender = nullptr;
    d.OnBeforeSortExchange = [&](QObject* s, int, int) { ++exchanges; sender = s; };
    d.Sort(1, 2, false);
    EXPECT_EQ(d.LastSortColumn(), 1);
    EXPECT_EQ(d.LastSortColumnSec(), 2);
    EXPECT_FALSE(d.LastSortOrder());
    EXPECT_TRUE(d.LastSortOrderSec());
    EXPECT_EQ(ColumnOf(d, 1), (QStringList{u"b"_qs, u"a"_qs, u"10"_qs, u"9"_qs}));
    EXPECT_EQ(d.RowAttrib(1), rlaSelected);
    EXPECT_GT(exchanges, 0);
    EXPECT_EQ(sender, &d);
    d.UnSort();
    EXPECT_EQ(d.LastSortColumn(), -1);
    EXPECT_EQ(d.LastSortColumnSec(), -1);
    EXPECT_EQ(ColumnOf(d, 2), (QStringList{u"1"_qs, u"2"_qs, u"3"_qs, u"4"_qs}));
    EXPECT_EQ(d.RowAttrib(1), rlaSelected);
}

TEST(RLData, FillKeepsCheckStatesAndClearResetsColumns)
{
    TRLData d;
    d.SetNrOfColumns(2);
    d.SetNrOfRows(3);
    d.SetColumnCheckMode(2, cmBox);
    d.SetElemChecked(2, 1, true);
    d.SetElem(2, 2, QStringLiteral("x"));
    d.Fill(QStringLiteral("f"));
    EXPECT_EQ(ColumnOf(d, 1), (QStringList{u"f"_qs, u"f"_qs, u"f"_qs}));
    EXPECT_EQ(d.RawElem(2, 1), QStringLiteral("Xf"));
    EXPECT_EQ(d.RawElem(2, 2), QStringLiteral(" f"));
    EXPECT_EQ(d.RawElem(2, 3), QStringLiteral(" f"));   // an empty cell stays unchecked
    d.SetHeader(1, QStringLiteral("Name"));
    d.SetColumnFormat(1, QStringLiteral("[d]x"));
    d.Clear();
    EXPECT_EQ(d.NrOfRows(), 3);
    EXPECT_EQ(d.Header(1), QStringLiteral("C-1"));
    EXPECT_TRUE(d.ColumnFormat(1).isEmpty());
    EXPECT_EQ(d.ColumnCheckMode(2), cmNone);
    EXPECT_TRUE(d.Elem(1, 1).isEmpty());
}

TEST(RLData, AssignCopiesSortedDataAndKeepsBoundHooks)
{
    TRLData src;
    src.SetNrOfColumns(2);
    Rows(src, 1, {u"c"_qs, u"a"_qs, u"b"_qs});
    src.SetElem(0, 1, QStringLiteral("h-c"));
    src.SetHeader(2, QStringLiteral("Two"));
    src.SetColumnCheckMode(2, cmRadio);
    src.SetElemChecked(2, 3, true);
    src.SetRowAttrib(1, rlaSelected);
    src.SetColAttrib(2, rlaSelected);
    src.SetComment(QStringLiteral("note"));
    src.SetDataID(QStringLiteral("id7"));
    src.Sort(1, -1, true);

    TRLData dst;
    int viewChanges = 0;
    dst.Strings()->OnChange = [&](QObject*) { ++viewChanges; };
    dst.Assign(&src);
    EXPECT_GT(viewChanges, 0);
    EXPECT_EQ(ColumnOf(dst, 1), (QStringList{u"a"_qs, u"b"_qs, u"c"_qs}));
    EXPECT_EQ(dst.Elem(0, 3), QStringLiteral("h-c"));
    EXPECT_EQ(dst.RowAttrib(3), rlaSelected);
    EXPECT_EQ(dst.ColAttrib(2), rlaSelected);
    EXPECT_TRUE(dst.ElemChecked(2, 2));
    EXPECT_EQ(dst.LastSortColumn(), 1);
    EXPECT_EQ(dst.Header(2), QStringLiteral("Two"));
    EXPECT_EQ(dst.ColumnCheckMode(2), cmRadio);
    EXPECT_EQ(dst.Comment(), QStringLiteral("note"));
    EXPECT_EQ(dst.DataID(), QStringLiteral("id7"));
    EXPECT_EQ(dst.FeedbkNumCells(), 9);
    dst.UnSort();
    EXPECT_EQ(ColumnOf(dst, 1), (QStringList{u"c"_qs, u"a"_qs, u"b"_qs}));
    viewChanges = 0;
    dst.SetElem(1, 1, QStringLiteral("z"));
    EXPECT_EQ(viewChanges, 1);

    TRLData third;
    src.AssignTo(&third);
    EXPECT_EQ(third.NrOfRows(), 3);
    QObject other;
    EXPECT_THROW(dst.Assign(&other), EConvertError);
}
