// Report list view: hooks with its data, structure, column order and widths, selection methods,
// filtering and sorting of enabled rows, Assign.
#include <gtest/gtest.h>

#include <QFile>

#include <limits>

#include "test_rlview_support.h"

using namespace qor;
using rlvtest::View;

namespace {

void Words(View& f, const QStringList& words)
{
    f.v.SetNrOfRows(int(words.size()));
    for (int r = 1; r <= words.size(); ++r) {
        f.v.SetElem(1, r, words[r - 1]);
        f.v.SetElem(2, r, QString::number(r));
    }
}

QStringList Shown(View& f, int col = 1)
{
    QStringList out;
    for (int r = 1; r <= f.v.NrOfShownRows(); ++r)
        out << f.v.Elem(col, r);
    return out;
}

} // namespace

TEST(RLViewData, HooksReachTheViewsEventsWithTheViewAsSender)
{
    View f;
    int changes = 0;
    f.v.OnChange = [&](QObject* s) { EXPECT_EQ(s, &f.v); ++changes; };
    f.v.SetElem(1, 1, QStringLiteral("x"));
    EXPECT_GE(changes, 1);
    std::vector<QObject*> senders;
    f.v.OnBeforeSortExchange = [&](QObject* s, int, int) { senders.push_back(s); };
    f.FillColumn(1, [](int r) { return QString::number(10 - r); });
    f.v.Sort(1, -1, true);
    ASSERT_FALSE(senders.empty());
    EXPECT_EQ(senders.front(), &f.v);
    QString cellText;
    f.v.OnReadCell = [&](QObject*, int c, int r, QString& t) { t = QStringLiteral("<%1,%2>").arg(c).arg(r); };
    EXPECT_EQ(f.v.Elem(2, 3), "<2,3>");
    EXPECT_EQ(f.v.Data()->Elem(2, 3), "");
    // Selection changes are no content changes.
    changes = 0;
    f.v.SelectAllRows();
    EXPECT_EQ(changes, 0);
}

TEST(RLViewData, RowsColumnsAndHeaderRowsStayInStep)
{
    View f;
    int setups = 0;
    f.v.OnChangeSetup = [&](QObject*) { ++setups; };
    f.v.SetNrOfRows(10);
    EXPECT_EQ(f.v.RowCount(), 11);
    EXPECT_GE(setups, 1);
    f.v.SetNrOfRows(0);
    EXPECT_EQ(f.v.RowCount(), 2);   // one empty grid row below the headers
    f.v.SetColumnHeadersVisible(false);
    EXPECT_EQ(f.v.FixedRows(), 0);
    EXPECT_EQ(f.v.RowCount(), 1);
    f.v.SetColumnHeadersVisible(true);
    f.v.SetCommonHeaderVisible(true);
    f.v.SetNrOfRows(3);
    EXPECT_EQ(f.v.RowCount(), 5);
    EXPECT_EQ(f.v.RowHeights(0), 20);
    f.v.SetColumnHeadersHeight(500);
    EXPECT_EQ(f.v.ColumnHeadersHeight(), 127);
    EXPECT_EQ(f.v.RowHeights(1), 127);
    f.v.SetTopRow(1);
    EXPECT_EQ(f.v.TopRow(), 1);

    // New columns take the width of the old last one; per-column settings follow inserts.
    f.v.SetColWidths(5, 90);
    f.v.SetNrOfColumns(7);
    EXPECT_EQ(f.v.ColWidths(6), 90);
    EXPECT_EQ(f.v.ColWidths(7), 90);
    f.v.SetColumnAlignment(2, taRightJustify);
    f.v.SetColumnIsPwd(3, true);
    EXPECT_EQ(f.v.InsertColumn(2), 2);
    EXPECT_EQ(f.v.NrOfColumns(), 8);
    EXPECT_EQ(f.v.ColumnAlignment(2), taLeftJustify);
    EXPECT_EQ(f.v.ColumnAlignment(3), taRightJustify);
    EXPECT_TRUE(f.v.ColumnIsPwd(4));
    f.v.RemoveColumn(2);
    EXPECT_EQ(f.v.ColumnAlignment(2), taRightJustify);
    EXPECT_EQ(f.v.ColCount(), 7);
    EXPECT_EQ(f.v.InsertColumn(99), 8);
    f.v.RemoveColumn(0);    // ignored
    f.v.RemoveColumn(99);   // ignored
    EXPECT_EQ(f.v.NrOfColumns(), 8);
    // Out-of-range per-column reads give the defaults, writes are ignored.
    f.v.SetColumnAlignment(0, taCenter);
    EXPECT_EQ(f.v.ColumnAlignment(0), taLeftJustify);
    EXPECT_FALSE(f.v.ColumnEditable(42));
}

TEST(RLViewData, InsertAndRemoveRows)
{
    View f;
    f.FillColumn(1, [](int r) { return QString::number(r); });
    f.v.Sort(1, -1, false);
    EXPECT_EQ(f.v.InsertRow(2), 2);
    EXPECT_EQ(f.v.NrOfRows(), 5);
    EXPECT_EQ(f.v.LastSortColumn(), -1);
    EXPECT_EQ(f.v.Elem(1, 2), "");
    EXPECT_EQ(f.v.Elem(1, 3), "3");
    EXPECT_EQ(f.v.InsertRow(50), 6);
    EXPECT_EQ(f.v.AddRow(), 7);
    f.v.RemoveEmptyRows();
    EXPECT_EQ(f.v.NrOfRows(), 4);
    f.v.RemoveRow(1);
    EXPECT_EQ(f.v.NrOfRows(), 3);
    EXPECT_EQ(f.v.RowCount(), 4);
    f.v.RemoveRow(0);
    f.v.RemoveRow(4);
    EXPECT_EQ(f.v.NrOfRows(), 3);
    for (int i = 0; i < 3; ++i)
        f.v.RemoveRow(1);
    EXPECT_EQ(f.v.NrOfRows(), 0);
    EXPECT_EQ(f.v.RowCount(), 2);
}

TEST(RLViewData, ColumnOrderRearrangesTheDisplayOnly)
{
    View f;
    f.v.SetNrOfColumns(3);
    for (int c = 1; c <= 3; ++c)
        f.v.SetElem(c, 1, QStringLiteral("c%1").arg(c));
    EXPECT_FALSE(f.v.SetColumnOrder({3, 1}));   // too few: nothing changes
    EXPECT_EQ(f.v.ColumnOrder(1), 1);
    EXPECT_TRUE(f.v.SetColumnOrder({3, 1, 2}));
    EXPECT_EQ(f.v.ColumnOrder(1), 3);
    EXPECT_EQ(f.v.ColumnOrder(3), 2);
    EXPECT_EQ(f.v.ColumnOrder(4), 0);
    // A bad entry is skipped; the valid ones are stored.
    EXPECT_FALSE(f.v.SetColumnOrder({2, 0, 1}));
    EXPECT_EQ(f.v.ColumnOrder(1), 2);
    EXPECT_EQ(f.v.ColumnOrder(2), 1);
    EXPECT_EQ(f.v.ColumnOrder(3), 1);
    // Drawing follows the order: display column 1 shows data column 2.
    f.v.SetColumnOrder({2, 3, 1});
    f.v.SetColWidths(2, 120);   // widths belong to data columns
    EXPECT_EQ(f.v.TCustomGrid::ColWidths(0), 120);
    int seen = 0;
    f.v.OnBeforeRenderCell = [&](QObject*, int c, int r, TColor&, TColor&, TColor&, TFontStyles&, QString& t) {
        if (r == 1 && c == 2 && t == "c2")
            ++seen;
    };
    f.Img();
    EXPECT_EQ(seen, 1);
}

TEST(RLViewData, AutoColWidthMeasuresCellsHeadersAndMarks)
{
    View f;
    f.v.SetNrOfColumns(3);
    // An empty column: 10 + Addon, never below 4.
    f.v.SetHeader(3, QString());
    f.v.AutoColWidth(3, true, 5);
    EXPECT_EQ(f.v.ColWidths(3), 15);
    f.v.AutoColWidth(3, true, -100);
    EXPECT_EQ(f.v.ColWidths(3), 4);
    EXPECT_EQ(f.v.DetermineMaxColWidth(9, true), 10);

    TBitmap bmp(10, 10);
    bmp.Canvas()->Font()->Assign(*f.v.Font());
    f.v.SetElem(1, 2, QStringLiteral("medium text"));
    f.v.SetHeader(1, QStringLiteral("A much longer column name"));
    const int cell = bmp.Canvas()->TextWidth("medium text");
    const int head = bmp.Canvas()->TextWidth("A much longer column name");
    EXPECT_EQ(f.v.DetermineMaxColWidth(1, false), cell + 10);
    EXPECT_EQ(f.v.DetermineMaxColWidth(1, true), head + 10);
    f.v.AutoColWidth(1, true, 2, 50);
    EXPECT_EQ(f.v.ColWidths(1), 50);
    // A check column measures the stored text with its mark, plus the box.
    f.v.SetColumnCheckMode(2, cmBox);
    f.v.SetHeader(2, QString());
    f.v.SetElem(2, 1, QStringLiteral("ok"));
    EXPECT_EQ(f.v.DetermineMaxColWidth(2, false), bmp.Canvas()->TextWidth(" ok") + 16 + 10);
    // The render hook may change the text that is measured.
    f.v.OnBeforeRenderCell = [](QObject*, int, int, TColor&, TColor&, TColor&, TFontStyles&, QString& t) { t = QStringLiteral("W"); };
    EXPECT_EQ(f.v.DetermineMaxColWidth(1, false), bmp.Canvas()->TextWidth("W") + 10);
}

TEST(RLViewData, FitAllColWidthsExpandsOneColumnToTheClientWidth)
{
    View f(500, 200);   // no frame, no scroll bars: the client is 500 wide
    f.v.SetNrOfColumns(3);
    f.v.SetElem(1, 2, QStringLiteral("a text far wider than the cap of sixty pixels"));
    f.v.SetElem(3, 1, QStringLiteral("mid"));
    f.v.SetHeader(3, QStringLiteral("C"));
    TBitmap bmp(10, 10);
    bmp.Canvas()->Font()->Assign(*f.v.Font());
    const int third = bmp.Canvas()->TextWidth(QStringLiteral("mid")) + 10 + 3;   // + Addon
    ASSERT_LT(third, 60);
    f.v.FitAllColWidths(2, true, 3, 60, 10);
    EXPECT_EQ(f.v.ColWidths(1), 60);      // capped at MaxWidth
    EXPECT_EQ(f.v.ColWidths(3), third);   // below the cap: its own width
    EXPECT_EQ(f.v.ColWidths(2), 500 - 10 - 60 - third);
    f.v.ExpandColWidth(2, 1000);
    EXPECT_EQ(f.v.ColWidths(2), 16);
}

TEST(RLViewData, SelectionMethodsAndQueries)
{
    View f;
    f.v.SetNrOfRows(10);
    int sel = 0;
    f.v.OnSelectedChange = [&](QObject*) { ++sel; };
    f.v.SetSelectedRows({7, 3, 99, 5});
    EXPECT_EQ(f.v.GetSelectedRows(), (TIntArray{3, 5, 7}));
    EXPECT_EQ(f.v.Row(), 5);   // the last valid entry is the current row
    EXPECT_EQ(f.v.NumSelectedRows(), 3);
    EXPECT_EQ(f.v.FirstSelectedRow(), 3);
    f.v.SetRowEnabled(3, false);
    EXPECT_EQ(f.v.FirstSelectedRow(), 0);   // the lowest selected row is disabled
    EXPECT_EQ(f.v.NumEnabledRows(), 9);
    f.v.EnableAllRows();
    f.v.SelectRow(42);
    EXPECT_EQ(f.v.NumSelectedRows(), 0);
    f.v.SelectColumn(2);
    EXPECT_EQ(f.v.FirstSelectedColumn(), 2);
    f.v.SelectAllColumns();
    EXPECT_EQ(f.v.NumSelectedColumns(), 5);
    f.v.DeselectAllColumns();
    EXPECT_EQ(f.v.NumSelectedColumns(), 0);
    f.v.DisableAllRows();
    EXPECT_EQ(f.v.NumEnabledRows(), 0);
    EXPECT_FALSE(f.v.RowSelected(0));
    EXPECT_FALSE(f.v.RowEnabled(11));
    EXPECT_GE(sel, 8);

    // The view's count of checked cells skips disabled rows.
    f.v.EnableAllRows();
    f.v.SetColumnCheckMode(1, cmBox);
    f.v.SetAllCheckmarksOfCol(1, true);
    f.v.SetRowEnabled(2, false);
    EXPECT_EQ(f.v.CountCheckedElemsInCol(1), 9);
    EXPECT_EQ(f.v.Data()->CountCheckedElemsInCol(1), 10);
    f.v.InvertAllCheckmarksOfCol(1, true);
    EXPECT_TRUE(f.v.ElemChecked(1, 2));
    EXPECT_FALSE(f.v.ElemChecked(1, 1));
}

TEST(RLViewData, CenterScrollAndSelect)
{
    View f(400, 200);
    f.v.SetNrOfRows(100);
    const int v = f.v.VisibleRowCount();
    f.v.CenterScrollAndSelect(50);
    EXPECT_EQ(f.v.GetSelectedRows(), TIntArray{50});
    EXPECT_EQ(f.v.TopRow(), 50 - v / 2);
    EXPECT_EQ(f.v.Selection().Top, 50);
    f.v.CenterScrollAndSelect(99);
    EXPECT_EQ(f.v.TopRow(), 100 - v + 1);
    f.v.CenterScrollAndSelect(2);
    EXPECT_EQ(f.v.TopRow(), 1);
}

TEST(RLViewData, FilterModesHideRowsWithoutDeletingThem)
{
    View f;
    Words(f, {"Apple pie", "banana split", "Cherry tart", "apple crumble", "Date loaf", "fig roll"});
    f.v.FilterAndSort(QStringLiteral("apple"), {}, true, fmSimple, 0, true);
    EXPECT_EQ(Shown(f), (QStringList{"Apple pie", "apple crumble"}));
    EXPECT_EQ(f.v.NrOfRows(), 6);
    EXPECT_EQ(f.v.RowCount(), 3);
    f.v.FilterAndSort(QStringLiteral("apple"), {}, false, fmSimple, 1, true);
    EXPECT_EQ(Shown(f), (QStringList{"apple crumble"}));
    // Only the listed columns are searched.
    f.v.FilterAndSort(QStringLiteral("3"), {1}, true, fmSimple, 0, true);
    EXPECT_TRUE(Shown(f).isEmpty());
    f.v.FilterAndSort(QStringLiteral("3"), {2}, true, fmSimple, 0, true);
    EXPECT_EQ(Shown(f), (QStringList{"Cherry tart"}));

    f.v.FilterAndSort(QStringLiteral("(apple OR cherry) AND NOT pie"), {1}, true, fmBoolean, 1, true);
    EXPECT_EQ(Shown(f), (QStringList{"apple crumble", "Cherry tart"}));
    f.v.FilterAndSort(QStringLiteral("\"split\" banana"), {}, true, fmBoolean, 0, true);
    EXPECT_EQ(Shown(f), (QStringList{"banana split"}));
    f.v.FilterAndSort(QStringLiteral("^[a-d]"), {1}, false, fmGrep, 1, false);
    EXPECT_EQ(Shown(f), (QStringList{"banana split", "apple crumble"}));

    // The empty filter shows everything again, sorted.
    f.v.FilterAndSort(QString(), {}, true, fmSimple, 2, false);
    EXPECT_EQ(f.v.NrOfShownRows(), 6);
    EXPECT_FALSE(f.v.Filtered());
    EXPECT_EQ(f.v.Elem(1, 1), "fig roll");
}

TEST(RLViewData, IgnoreCaseFiltersCoverNonLatinLetters)
{
    View f;
    Words(f, {QStringLiteral("\u00C4rger"), QStringLiteral("\u00D6l"), QStringLiteral("\u03A3\u039F\u03A6\u0399\u0391")});
    f.v.FilterAndSort(QStringLiteral("\u00E4RG"), {}, true, fmSimple, 0, true);
    EXPECT_EQ(Shown(f), (QStringList{QStringLiteral("\u00C4rger")}));
    f.v.FilterAndSort(QStringLiteral("\u03C3\u03BF\u03C6 OR \u00F6"), {}, true, fmBoolean, 0, true);
    EXPECT_EQ(Shown(f).size(), 2);
    f.v.FilterAndSort(QStringLiteral("\u00E4rg"), {}, false, fmSimple, 0, true);
    EXPECT_TRUE(Shown(f).isEmpty());
}

TEST(RLViewData, BeforeFilterVetoesForcesOrCombines)
{
    View f;
    Words(f, {"one", "two", "three", "four"});
    f.v.OnBeforeFilter = [&](QObject* s, int row, bool& found, TLogicOp& op) {
        EXPECT_EQ(s, &f.v);
        if (f.v.Elem(1, row) == "four") {
            found = true;   // force in
            op = loOR;
        } else if (f.v.Elem(1, row) == "two") {
            found = false;   // veto
        }
    };
    f.v.FilterAndSort(QStringLiteral("o"), {}, true, fmSimple, 0, true);
    EXPECT_EQ(Shown(f), (QStringList{"one", "four"}));
    f.v.FilterAndSort(QStringLiteral("zzz"), {}, true, fmSimple, 0, true);
    EXPECT_EQ(Shown(f), (QStringList{"four"}));
}

TEST(RLViewData, MalformedFiltersRaiseAndChangeNothing)
{
    View f;
    Words(f, {"a", "b", "c"});
    f.v.FilterAndSort(QStringLiteral("a"), {}, true, fmSimple, 0, true);
    for (auto [exp, mode] : {std::pair{QStringLiteral("(a OR b"), fmBoolean}, {QStringLiteral("\"open"), fmBoolean},
                             {QStringLiteral("a AND"), fmBoolean}, {QStringLiteral("[a-"), fmGrep}}) {
        EXPECT_THROW(f.v.FilterAndSort(exp, {}, true, mode, 0, true), EQORRepListError) << exp.toStdString();
        EXPECT_EQ(Shown(f), QStringList{"a"});
    }
}

TEST(RLViewData, SortAndStructureWhileFiltered)
{
    View f;
    Words(f, {"b1", "a2", "c3", "a4", "b5"});
    f.v.FilterAndSort(QStringLiteral("a"), {}, true, fmSimple, 0, true);
    f.v.Sort(2, -1, false);   // a header sort keeps hidden rows hidden
    EXPECT_EQ(Shown(f), (QStringList{"a4", "a2"}));
    // Painting shows the empty message when nothing matches.
    f.v.FilterAndSort(QStringLiteral("zzz"), {}, true, fmSimple, 0, true);
    EXPECT_EQ(f.v.NrOfShownRows(), 0);
    EXPECT_EQ(f.Px(5, 30), ColorToRGB(f.v.Color()));
    // A change of the row count ends the filter.
    f.v.SetNrOfRows(6);
    EXPECT_FALSE(f.v.Filtered());
    EXPECT_EQ(f.v.NrOfShownRows(), 6);
}

TEST(RLViewData, SortEnabledStateKeepsDisabledRowsAfterInTheirOrder)
{
    View f;
    Words(f, {"d", "b", "e", "a", "c"});
    f.v.SetRowEnabled(1, false);   // d
    f.v.SetRowEnabled(4, false);   // a
    f.v.SortEnabledState(1, -1, true);
    EXPECT_EQ(Shown(f), (QStringList{"b", "c", "e", "d", "a"}));
    EXPECT_FALSE(f.v.RowEnabled(4));
    EXPECT_FALSE(f.v.RowEnabled(5));
    EXPECT_EQ(f.v.LastSortColumn(), 1);
}

TEST(RLViewData, AssignCopiesSettingsDataAndKeepsHooksOnTheTarget)
{
    View a, b;
    a.v.SetNrOfColumns(3);
    a.v.SetNrOfRows(7);
    a.v.SetElem(2, 3, QStringLiteral("payload"));
    a.v.SetColumnAlignment(2, taCenter);
    a.v.SetColumnOrder({3, 2, 1});
    a.v.SetColorBkgdShaded(clYellow);
    a.v.SetCommonHeaderVisible(true);
    a.v.SetFixedFirstColumn(true);
    b.v.Assign(&a.v);
    EXPECT_EQ(b.v.NrOfColumns(), 3);
    EXPECT_EQ(b.v.NrOfRows(), 7);
    EXPECT_EQ(b.v.RowCount(), 9);
    EXPECT_EQ(b.v.FixedCols(), 1);
    EXPECT_EQ(b.v.Elem(2, 3), "payload");
    EXPECT_EQ(b.v.ColumnAlignment(2), taCenter);
    EXPECT_EQ(b.v.ColumnOrder(1), 3);
    EXPECT_EQ(b.v.ColorBkgdShaded(), clYellow);
    int changesA = 0, changesB = 0;
    a.v.OnChange = [&](QObject*) { ++changesA; };
    b.v.OnChange = [&](QObject*) { ++changesB; };
    b.v.SetElem(1, 1, QStringLiteral("x"));
    EXPECT_EQ(changesA, 0);
    EXPECT_GE(changesB, 1);
    EXPECT_THROW(b.v.Assign(new QObject(&b.v)), EConvertError);
}

TEST(RLViewData, XmlRoundTripThroughTheView)
{
    View a, b;
    a.v.SetNrOfColumns(2);
    a.v.SetNrOfRows(3);
    a.v.SetHeader(2, QStringLiteral("Amount"));
    a.v.SetElem(2, 2, QStringLiteral("12.5"));
    const QString file = qortest::ScratchDir() + QStringLiteral("/view.xml");
    a.v.SaveAsXMLFile(file, QStringLiteral("id1"));
    b.v.SetNrOfColumns(7);
    ASSERT_TRUE(b.v.LoadFromXMLFile(file, QStringLiteral("id1")));
    EXPECT_EQ(b.v.NrOfColumns(), 2);
    EXPECT_EQ(b.v.ColCount(), 2);
    EXPECT_EQ(b.v.RowCount(), 4);
    EXPECT_EQ(b.v.Elem(2, 2), "12.5");
    EXPECT_FALSE(b.v.LoadFromXMLFile(file + ".missing", QString()));
    EXPECT_EQ(b.v.NrOfColumns(), 2);
}

TEST(RLViewData, RemovingAColumnKeepsTheFilteredRows)
{
    View f;
    Words(f, {"b1", "a2", "c3", "a4"});
    f.v.Sort(1, -1, false);
    f.v.FilterAndSort(QStringLiteral("a"), {1}, true, fmSimple, 0, true);
    EXPECT_EQ(Shown(f), (QStringList{"a4", "a2"}));
    f.v.RemoveColumn(2);
    EXPECT_EQ(Shown(f), (QStringList{"a4", "a2"}));
    f.v.Sort(1, -1, true);
    EXPECT_EQ(Shown(f), (QStringList{"a2", "a4"}));
}

// Mixed operations in a fixed pseudo-random order: whatever the sequence, the view stays
// consistent with its data and paints without faults (RLV_SEED, RLV_STEPS: other and longer runs).
TEST(RLViewData, MixedOperationsKeepViewAndDataInStep)
{
    View f(300, 200);
    quint32 seed = quint32(qEnvironmentVariableIntValue("RLV_SEED") + 7);
    auto rnd = [&seed](int n) { seed = seed * 1664525u + 1013904223u; return int((seed >> 8) % quint32(n)); };
    const int steps = qEnvironmentVariableIsSet("RLV_STEPS") ? qEnvironmentVariableIntValue("RLV_STEPS") : 400;
    for (int step = 0; step < steps; ++step) {
        const int nc = f.v.NrOfColumns(), nr = f.v.NrOfRows();
        switch (rnd(16)) {
        case 0: f.v.SetNrOfRows(rnd(30)); break;
        case 1: f.v.SetNrOfColumns(rnd(8) - 1); break;
        case 2: f.v.InsertRow(rnd(nr + 3) - 1); break;
        case 3: f.v.RemoveRow(rnd(nr + 2)); break;
        case 4: f.v.InsertColumn(rnd(nc + 3) - 1); break;
        case 5: f.v.RemoveColumn(rnd(nc + 2)); break;
        case 6: f.v.Sort(rnd(nc + 2), rnd(nc + 2) - 1, rnd(2) == 0); break;
        case 7: f.v.FilterAndSort(rnd(3) ? QString::number(rnd(10)) : QString(), {}, true, TFilterMode(rnd(3)), rnd(nc + 1), true); break;
        case 8: f.v.SetElem(rnd(nc + 2), rnd(nr + 2), QString::number(rnd(100))); break;
        case 9: f.v.SetColumnCheckMode(rnd(nc + 1), TCheckMode(rnd(3))); break;
        case 10: {
            QVector<int> order;
            for (int i = 0; i < nc; ++i)
                order << rnd(nc + 2) - 1;
            f.v.SetColumnOrder(order);
            break;
        }
        case 11: f.v.SetCommonHeaderVisible(rnd(2)); f.v.SetColumnHeadersVisible(rnd(3) != 0); break;
        case 12: f.v.SetRowSelectMode(rnd(3)); break;
        case 13: {
            const QPoint p(rnd(300), rnd(200));
            QTest::mouseClick(f.v.viewport(), Qt::LeftButton, rnd(2) ? Qt::ShiftModifier : Qt::NoModifier, p);
            break;
        }
        case 14: f.Key(rnd(2) ? Qt::Key_Down : Qt::Key_PageUp); break;
        default: f.v.SetFixedFirstColumn(rnd(2)); break;
        }
        ASSERT_EQ(f.v.ColCount(), std::max(1, f.v.NrOfColumns())) << step;
        ASSERT_EQ(f.v.FixedRows(), f.v.CountHeadRows()) << step;
        ASSERT_EQ(f.v.RowCount(), std::max(f.v.CountHeadRows() + f.v.NrOfShownRows(), f.v.CountHeadRows() + 1)) << step;
        ASSERT_LE(f.v.NrOfShownRows(), f.v.NrOfRows()) << step;
        if (step % 10 == 0)
            f.Img();
    }
}

TEST(RLViewData, FixedFirstColumnSurvivesShrinkingToOneColumn)
{
    View f;
    f.v.SetFixedFirstColumn(true);
    EXPECT_EQ(f.v.FixedCols(), 1);
    f.v.SetNrOfColumns(1);
    EXPECT_EQ(f.v.ColCount(), 1);
    EXPECT_EQ(f.v.FixedCols(), 0);   // one column cannot be fixed and scroll
    f.v.SetNrOfColumns(3);
    EXPECT_EQ(f.v.FixedCols(), 1);
    EXPECT_TRUE(f.v.FixedFirstColumn());
    // The fixed column's cells use the column header colour and a raised edge.
    const QRect c = f.Cell(0, 1);
    EXPECT_EQ(f.Px(c.left() + 5, c.top() + 5), ColorToRGB(clBtnFace));
    EXPECT_EQ(f.Px(c.left(), c.top() + 5), clWhite);
    EXPECT_EQ(f.Px(c.left() + c.width() - 1, c.top() + 5), clGray);
}

TEST(RLViewData, HtmlExportPassesCellsThroughTheViewsHook)
{
    View f;
    f.v.SetNrOfColumns(2);
    f.v.SetNrOfRows(2);
    f.v.SetElem(1, 1, QStringLiteral("a<b"));
    QObject* sender = nullptr;
    f.v.OnBeforeHTMLExport = [&](QObject* s, QString& t, int, int) { sender = s; t += QStringLiteral("!"); };
    const QString file = qortest::ScratchDir() + QStringLiteral("/view.html");
    f.v.ExportHTMLTable(file, 1, 1, 2, 2, {}, 1, 0, 2, true, QString(), QString(), QString());
    QFile in(file);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(in.readAll());
    EXPECT_TRUE(html.contains(QStringLiteral("a&lt;b!")));
    EXPECT_EQ(sender, &f.v);
}

// While a filter hides rows, everything that walks the rows for the user stays on the shown ones:
// selecting all and deleting the selection must not reach rows the user never saw.
TEST(RLViewData, BulkOperationsWhileFilteredTouchOnlyTheShownRows)
{
    View f;
    Words(f, {"Smith", "Jones", "Smithers", "Brown", "Smith jr"});
    f.v.SetColumnCheckMode(3, cmBox);
    f.v.SetRowSelectMode(2);
    f.v.FilterAndSort(QStringLiteral("smith"), {1}, true, fmSimple, 0, true);
    ASSERT_EQ(Shown(f), (QStringList{"Smith", "Smithers", "Smith jr"}));
    auto hiddenSelectedOrChecked = [&] {
        int n = 0;
        for (int r = f.v.NrOfShownRows() + 1; r <= f.v.NrOfRows(); ++r)
            n += f.v.RowSelected(r) + f.v.ElemChecked(3, r) + !f.v.RowEnabled(r);
        return n;
    };

    f.v.SelectAllRows();
    EXPECT_EQ(f.v.NumSelectedRows(), 3);
    EXPECT_EQ(f.v.GetSelectedRows(), (TIntArray{1, 2, 3}));
    EXPECT_EQ(hiddenSelectedOrChecked(), 0);
    // Deleting the selection the way a program does it removes exactly the three Smiths.
    const TIntArray sel = f.v.GetSelectedRows();
    for (auto it = sel.rbegin(); it != sel.rend(); ++it)
        f.v.RemoveRow(*it);
    EXPECT_EQ(f.v.NrOfRows(), 2);
    for (int r = 1; r <= 2; ++r)
        EXPECT_FALSE(f.v.Elem(1, r).contains(QStringLiteral("Smith"))) << r;

    // Check marks, counts, enabling and explicit selections too.
    Words(f, {"Smith", "Jones", "Smithers", "Brown", "Smith jr"});
    f.v.FilterAndSort(QStringLiteral("smith"), {1}, true, fmSimple, 0, true);
    f.v.SetAllCheckmarksOfCol(3, true);
    EXPECT_EQ(f.v.CountCheckedElemsInCol(3), 3);
    EXPECT_EQ(hiddenSelectedOrChecked(), 0);
    f.v.InvertAllCheckmarksOfCol(3);
    f.v.InvertAllCheckmarksOfCol(3);
    EXPECT_EQ(f.v.Data()->CountCheckedElemsInCol(3), 3);
    EXPECT_EQ(hiddenSelectedOrChecked(), 0);
    f.v.DisableAllRows();
    EXPECT_EQ(hiddenSelectedOrChecked(), 0);
    EXPECT_EQ(f.v.NumEnabledRows(), 0);
    f.v.EnableAllRows();
    f.v.SetSelectedRows({2, 4, 5});   // 4 and 5 are hidden
    EXPECT_EQ(f.v.GetSelectedRows(), TIntArray{2});
    EXPECT_EQ(hiddenSelectedOrChecked(), 0);
    f.v.CenterScrollAndSelect(5);
    EXPECT_EQ(f.v.NumSelectedRows(), 0);
    EXPECT_EQ(hiddenSelectedOrChecked(), 0);
    // A row selected before the filter and hidden by it does not count, nor lead FirstSelectedRow.
    f.v.FilterAndSort(QString(), {}, true, fmSimple, 0, true);
    ASSERT_EQ(Shown(f), (QStringList{"Smith", "Smithers", "Smith jr", "Jones", "Brown"}));
    f.v.DeselectAllRows();
    f.ClickCell(0, 5);   // Brown: selected, and the anchor of the next shift click
    f.v.FilterAndSort(QStringLiteral("smith"), {1}, true, fmSimple, 0, true);
    EXPECT_EQ(f.v.FirstSelectedRow(), 0);
    EXPECT_EQ(f.v.NumSelectedRows(), 0);
    EXPECT_TRUE(f.v.GetSelectedRows().isEmpty());
    // The range of a shift click up to that hidden anchor covers the shown rows only.
    f.ClickCell(0, 1, Qt::ShiftModifier);
    EXPECT_EQ(f.v.GetSelectedRows(), (TIntArray{1, 2, 3}));
    EXPECT_EQ(hiddenSelectedOrChecked(), 1);   // Brown, as it was; Jones untouched
    f.v.FilterAndSort(QString(), {}, true, fmSimple, 0, true);
    // Without a filter the same calls reach every row (positive control).
    f.v.SelectAllRows();
    EXPECT_EQ(f.v.NumSelectedRows(), 5);
    f.v.SetAllCheckmarksOfCol(3, true);
    EXPECT_EQ(f.v.CountCheckedElemsInCol(3), 5);
}

// The data's column count changed directly, behind the view's back: the view's own per-column
// arrays follow before anything indexes them.
TEST(RLViewData, ColumnOperationsAfterADirectChangeOfTheDataStayInsideTheViewsArrays)
{
    View f;
    f.v.SetNrOfColumns(2);
    f.v.SetColumnAlignment(2, taRightJustify);
    f.v.Data()->SetNrOfColumns(8);
    EXPECT_TRUE(f.v.SetColumnOrder({8, 7, 6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(f.v.ColumnOrder(1), 8);
    EXPECT_EQ(f.v.ColumnOrder(8), 1);
    EXPECT_EQ(f.v.ColCount(), 8);
    EXPECT_EQ(f.v.ColumnAlignment(2), taRightJustify);   // kept for the existing column
    f.v.RemoveColumn(8);
    EXPECT_EQ(f.v.NrOfColumns(), 7);
    EXPECT_EQ(f.v.ColCount(), 7);
    EXPECT_EQ(f.v.ColumnOrder(1), 7);
    f.v.Data()->SetNrOfColumns(9);
    EXPECT_EQ(f.v.InsertColumn(9), 9);
    EXPECT_EQ(f.v.NrOfColumns(), 10);
    f.v.SetColumnIsPwd(10, true);
    EXPECT_TRUE(f.v.ColumnIsPwd(10));
    // Shrinking behind the view's back as well.
    f.v.Data()->SetNrOfColumns(3);
    f.v.RemoveColumn(3);
    EXPECT_EQ(f.v.NrOfColumns(), 2);
    EXPECT_EQ(f.v.ColCount(), 2);
    for (int x = 1; x <= 2; ++x)
        EXPECT_GE(f.v.ColumnOrder(x), 1);
    f.Img();
}

// The view removes a row from the data directly: the sort order stays uncommitted, so UnSort
// still brings back the unsorted order of the remaining rows.
TEST(RLViewData, RemoveRowKeepsTheSortOrderUncommitted)
{
    View f;
    Words(f, {"c", "a", "d", "b"});
    f.Click(f.Cell(0, 0).center());   // header click: descending
    ASSERT_EQ(Shown(f), (QStringList{"d", "c", "b", "a"}));
    f.v.RemoveRow(2);   // "c"
    EXPECT_EQ(Shown(f), (QStringList{"d", "b", "a"}));
    EXPECT_EQ(f.v.LastSortColumn(), 1);
    f.v.UnSort();
    EXPECT_EQ(Shown(f), (QStringList{"a", "d", "b"}));
    EXPECT_EQ(Shown(f, 2), (QStringList{"2", "3", "4"}));
    // The data's own RemoveRow commits, as before.
    f.v.Sort(1, -1, true);
    f.v.Data()->RemoveRow(1);
    f.v.UnSort();
    EXPECT_EQ(Shown(f), (QStringList{"b", "d"}));
}

// One pass over the rows, one notification of each kind, the order left uncommitted; while
// filtered, only the shown empty rows go.
TEST(RLViewData, RemoveEmptyRowsRemovesInOnePassAndNotifiesOnce)
{
    View f;
    f.v.SetNrOfRows(8);
    for (int r : {1, 3, 4, 7})
        f.v.SetElem(1, r, QStringLiteral("row %1").arg(r));
    f.v.SetElem(0, 6, QStringLiteral("hidden column"));   // column 0 counts
    f.v.SetColumnCheckMode(2, cmBox);
    f.v.SetElemChecked(2, 8, true);   // a mark alone does not
    f.v.Sort(1, -1, false);
    int setups = 0, changes = 0;
    f.v.OnChangeSetup = [&](QObject*) { ++setups; };
    f.v.OnChange = [&](QObject*) { ++changes; };
    f.v.RemoveEmptyRows();
    EXPECT_EQ(f.v.NrOfRows(), 5);
    EXPECT_EQ(f.v.RowCount(), 6);
    EXPECT_EQ(setups, 1);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(Shown(f), (QStringList{"row 7", "row 4", "row 3", "row 1", ""}));
    f.v.UnSort();
    EXPECT_EQ(Shown(f), (QStringList{"row 1", "row 3", "row 4", "", "row 7"}));
    EXPECT_EQ(f.v.Data()->RawElem(0, 4), QStringLiteral("hidden column"));
    // Nothing to remove: no notification at all.
    setups = changes = 0;
    f.v.RemoveEmptyRows();
    EXPECT_EQ(setups + changes, 0);

    // Filtered: the empty rows the filter shows go, hidden ones stay.
    f.v.Clear();
    Words(f, {"x", "", "y", ""});
    f.v.SetElem(2, 2, QString());
    f.v.SetElem(2, 4, QString());
    f.v.OnBeforeFilter = [&](QObject*, int row, bool& found, TLogicOp& op) {
        found = row <= 2;   // rows 1 and 2 shown, whatever they hold
        op = loOR;
    };
    f.v.FilterAndSort(QStringLiteral("zzz"), {}, true, fmSimple, 0, true);
    ASSERT_EQ(Shown(f), (QStringList{"x", ""}));
    f.v.RemoveEmptyRows();
    EXPECT_EQ(f.v.NrOfRows(), 3);
    f.v.OnBeforeFilter = nullptr;
    EXPECT_EQ(Shown(f), (QStringList{"x", "y", ""}));
    // Every row empty: none remain.
    f.v.SetNrOfRows(3);
    f.v.Clear();
    f.v.RemoveEmptyRows();
    EXPECT_EQ(f.v.NrOfRows(), 0);
    EXPECT_EQ(f.v.RowCount(), 2);
}

// Running out of memory in the view is the view's failure, named after the view.
TEST(RLViewData, AllocationFailuresRaiseTheViewsErrorWithItsName)
{
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the address sanitizer ends the program where operator new would throw bad_alloc";
#endif
    View f;
    f.v.setObjectName(QStringLiteral("grid1"));
    f.v.SetNrOfColumns(3);
    try {
        f.v.SetNrOfColumns(std::numeric_limits<int>::max());
        ADD_FAILURE() << "no exception";
    } catch (const EQORRepListError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Component \"grid1\": not enough memory on heap"));
    } catch (const std::exception& e) {
        ADD_FAILURE() << "other exception: " << e.what();
    }
    // Nothing changed.
    EXPECT_EQ(f.v.NrOfColumns(), 3);
    EXPECT_EQ(f.v.ColCount(), 3);
    f.v.SetNrOfColumns(4);
    EXPECT_EQ(f.v.NrOfColumns(), 4);
}

// Long lists are fitted from width estimates of every row and exact measures of the widest:
// the widest text is found wherever it is, whether it is long or made wide by the render hook.
TEST(RLViewData, ColumnWidthOfALongListFindsTheWidestText)
{
    View f;
    f.v.SetNrOfColumns(1);
    f.v.SetNrOfRows(30000);
    TStringArray* s = f.v.Data()->Strings();
    s->SetNotifyChange(false);
    for (int r = 1; r <= 30000; ++r)
        s->SetString(1, r, QStringLiteral("iiiiiiiiiiiiiiiiii%1").arg(r % 10));   // many characters, narrow
    s->SetNotifyChange(true);
    f.v.SetElem(1, 20002, QStringLiteral("WWWWWWWWWW"));   // fewer characters, wider
    TBitmap bmp(10, 10);
    bmp.Canvas()->Font()->Assign(*f.v.Font());
    const int wide = bmp.Canvas()->TextWidth(QStringLiteral("WWWWWWWWWW"));
    ASSERT_GT(wide, bmp.Canvas()->TextWidth(QStringLiteral("iiiiiiiiiiiiiiiiii0")));
    EXPECT_EQ(f.v.DetermineMaxColWidth(1, false), wide + 10);
    // A bold row made so by the render hook.
    f.v.SetElem(1, 20002, QStringLiteral("x"));
    f.v.OnBeforeRenderCell = [](QObject*, int, int r, TColor&, TColor&, TColor&, TFontStyles& st, QString& t) {
        if (r == 17777) {
            st = TFontStyles{fsBold};
            t = QStringLiteral("iiiiiiiiiiiiiiiiiiiiiiiiiiiiii");
        }
    };
    bmp.Canvas()->Font()->SetStyle(TFontStyles{fsBold});
    EXPECT_EQ(f.v.DetermineMaxColWidth(1, false), bmp.Canvas()->TextWidth(QStringLiteral("iiiiiiiiiiiiiiiiiiiiiiiiiiiiii")) + 10);
}
