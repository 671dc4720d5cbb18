// Report list view: header sorting, check toggling, the selection modes, keyboard, wheel.
#include <gtest/gtest.h>

#include <QMouseEvent>

#include "test_rlview_support.h"

using namespace qor;
using rlvtest::View;

namespace {

// Column 1 holds "r<n>" (n = row), column 2 the number n, so orders are easy to read back.
void Numbered(View& f, int rows)
{
    f.v.SetNrOfRows(rows);
    f.FillColumn(1, [](int r) { return QStringLiteral("r%1").arg(r); });
    f.FillColumn(2, [](int r) { return QString::number(r); });
}

QPoint HeaderPoint(View& f, int gridCol, int dx)
{
    const QRect r = f.Cell(gridCol, 0);
    return QPoint(dx >= 0 ? r.left() + dx : r.left() + r.width() + dx, r.center().y());
}

} // namespace

TEST(RLViewInteraction, HeaderClicksSortDescendingThenAscendingAndKeepTheSelectedRow)
{
    View f;
    Numbered(f, 6);
    f.ClickCell(0, 3);   // data row 3 ("r3")
    EXPECT_TRUE(f.v.RowSelected(3));
    f.Click(HeaderPoint(f, 1, 20));
    EXPECT_EQ(f.v.LastSortColumn(), 2);
    EXPECT_FALSE(f.v.LastSortOrder());
    EXPECT_EQ(f.v.Elem(1, 1), "r6");
    // The previously selected row is still the selected one, wherever it went.
    EXPECT_EQ(f.v.GetSelectedRows(), TIntArray{4});
    EXPECT_EQ(f.v.Elem(1, 4), "r3");
    EXPECT_EQ(f.v.Selection().Top, 4);
    // The next header click, on any column, sorts ascending.
    f.Click(HeaderPoint(f, 0, 20));
    EXPECT_EQ(f.v.LastSortColumn(), 1);
    EXPECT_TRUE(f.v.LastSortOrder());
    EXPECT_EQ(f.v.Elem(1, 1), "r1");
    EXPECT_EQ(f.v.Selection().Top, 3);
}

TEST(RLViewInteraction, ClicksNearAHeaderBorderOrWithSortingOffDoNotSort)
{
    View f;
    Numbered(f, 4);
    f.Click(HeaderPoint(f, 1, 3));
    f.Click(HeaderPoint(f, 1, -3));
    EXPECT_EQ(f.v.LastSortColumn(), -1);
    // Positive control: 5 pixels in, the same header sorts.
    f.Click(HeaderPoint(f, 1, 5));
    EXPECT_EQ(f.v.LastSortColumn(), 2);
    f.v.UnSort();
    f.v.SetSortEnabled(false);
    f.Click(HeaderPoint(f, 1, 20));
    EXPECT_EQ(f.v.LastSortColumn(), -1);
    f.v.SetSortEnabled(true);
    f.Click(HeaderPoint(f, 1, 20));
    EXPECT_EQ(f.v.LastSortColumn(), 2);
}

TEST(RLViewInteraction, CheckBoxClickTogglesWithBothEvents)
{
    View f;
    f.v.SetColumnCheckMode(2, cmBox);
    f.v.SetElem(2, 1, QStringLiteral("a"));
    f.v.SetElemChecked(2, 1, true);
    std::vector<std::tuple<char, bool, int, int>> calls;
    f.v.OnBeforeCheckedChange = [&](QObject* s, bool& st, int c, int r) { EXPECT_EQ(s, &f.v); calls.emplace_back('b', st, c, r); };
    f.v.OnCheckedChange = [&](QObject*, bool& st, int c, int r) { calls.emplace_back('a', st, c, r); };
    int changes = 0;
    f.v.OnChange = [&](QObject*) { ++changes; };
    const QRect cell = f.Cell(1, 1);
    f.Click(cell.topLeft() + QPoint(8, 8));
    EXPECT_FALSE(f.v.ElemChecked(2, 1));
    EXPECT_EQ(f.v.Data()->RawElem(2, 1), " a");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0], std::make_tuple('b', false, 2, 1));
    EXPECT_EQ(calls[1], std::make_tuple('a', true, 2, 1));
    EXPECT_GE(changes, 1);
    // A click right of the box area only selects.
    f.Click(cell.topLeft() + QPoint(30, 8));
    EXPECT_FALSE(f.v.ElemChecked(2, 1));
    // An empty cell reacts only while empty boxes are shown.
    f.Click(f.Cell(1, 2).topLeft() + QPoint(8, 8));
    EXPECT_TRUE(f.v.ElemChecked(2, 2));
    EXPECT_EQ(f.v.Data()->RawElem(2, 2), "X");
    f.v.SetShowEmptyCheckBoxes(false);
    f.Click(f.Cell(1, 3).topLeft() + QPoint(8, 8));
    EXPECT_FALSE(f.v.ElemChecked(2, 3));
}

TEST(RLViewInteraction, ReadOnlyMarksAndDisabledRowsIgnoreClicks)
{
    View f;
    f.v.SetColumnCheckMode(1, cmBox);
    f.v.SetCheckMarksReadOnly(true);
    f.Click(f.Cell(0, 1).topLeft() + QPoint(8, 8));
    EXPECT_FALSE(f.v.ElemChecked(1, 1));
    f.v.SetCheckMarksReadOnly(false);
    f.Click(f.Cell(0, 1).topLeft() + QPoint(8, 8));   // positive control: the same click checks
    EXPECT_TRUE(f.v.ElemChecked(1, 1));
    f.v.SetRowEnabled(2, false);
    f.Click(f.Cell(0, 2).topLeft() + QPoint(8, 8));
    EXPECT_FALSE(f.v.ElemChecked(1, 2));
    f.v.SetRowEnabled(2, true);
    f.Click(f.Cell(0, 2).topLeft() + QPoint(8, 8));
    EXPECT_TRUE(f.v.ElemChecked(1, 2));
}

TEST(RLViewInteraction, RadioColumnKeepsExactlyTheClickedCell)
{
    View f;
    f.v.SetColumnCheckMode(3, cmRadio);
    f.v.SetElemChecked(3, 1, true);
    f.v.OnBeforeCheckedChange = [](QObject*, bool& st, int, int) { st = false; };
    f.Click(f.Cell(2, 3).topLeft() + QPoint(8, 8));
    EXPECT_TRUE(f.v.ElemChecked(3, 3));
    EXPECT_FALSE(f.v.ElemChecked(3, 1));
    EXPECT_EQ(f.v.Data()->CountCheckedElemsInCol(3), 1);
}

TEST(RLViewInteraction, MultiSelectWithShiftCtrlAndClickBelowRows)
{
    View f;
    Numbered(f, 8);
    f.v.SetRowSelectMode(2);
    f.ClickCell(0, 2);
    f.ClickCell(0, 5, Qt::ShiftModifier);
    EXPECT_EQ(f.v.GetSelectedRows(), (TIntArray{2, 3, 4, 5}));
    f.ClickCell(0, 3, Qt::ControlModifier);
    EXPECT_EQ(f.v.GetSelectedRows(), (TIntArray{2, 4, 5}));
    // Shift from the new anchor (row 3, now deselected) copies its state: the range is cleared.
    f.ClickCell(0, 4, Qt::ShiftModifier);
    EXPECT_EQ(f.v.GetSelectedRows(), (TIntArray{2, 5}));
    // A disabled row inside a shift range keeps its disabled state.
    f.v.SetRowEnabled(7, false);
    f.ClickCell(0, 6);
    f.ClickCell(0, 8, Qt::ShiftModifier);
    EXPECT_FALSE(f.v.RowEnabled(7));
    EXPECT_EQ(f.v.NumEnabledRows(), 7);
    // A plain click selects one row; a release below the rows deselects all.
    f.ClickCell(0, 1);
    EXPECT_EQ(f.v.GetSelectedRows(), TIntArray{1});
    int selChanges = 0;
    f.v.OnSelectedChange = [&](QObject*) { ++selChanges; };
    f.Click(QPoint(20, f.v.GridHeight() + 10));
    EXPECT_EQ(f.v.NumSelectedRows(), 0);
    EXPECT_GE(selChanges, 1);
    // Without Ctrl for multi-selection every click toggles.
    f.v.SetUseCtrlForMultiSel(false);
    f.ClickCell(0, 1);
    f.ClickCell(0, 3);
    EXPECT_EQ(f.v.GetSelectedRows(), (TIntArray{1, 3}));
    f.ClickCell(0, 1);
    EXPECT_EQ(f.v.GetSelectedRows(), TIntArray{3});
}

TEST(RLViewInteraction, SingleAndNoSelectionModes)
{
    View f;
    Numbered(f, 5);
    f.ClickCell(0, 2);
    f.ClickCell(0, 4, Qt::ControlModifier);
    EXPECT_EQ(f.v.GetSelectedRows(), TIntArray{4});
    f.v.SetRowSelectMode(0);
    EXPECT_EQ(f.v.NumSelectedRows(), 0);
    f.ClickCell(0, 3);
    EXPECT_EQ(f.v.NumSelectedRows(), 0);
}

TEST(RLViewInteraction, CursorKeysLeaveExactlyOneRowSelected)
{
    View f;
    Numbered(f, 6);
    f.v.SetRowSelectMode(2);
    f.v.SelectAllRows();
    std::vector<WORD> keys;
    f.v.OnCursorKeyAction = [&](QObject*, WORD k) { keys.push_back(k); };
    f.Key(Qt::Key_Down);
    EXPECT_EQ(f.v.GetSelectedRows(), TIntArray{2});
    f.Key(Qt::Key_End);
    EXPECT_EQ(f.v.GetSelectedRows(), TIntArray{6});
    EXPECT_EQ(keys, (std::vector<WORD>{VK_DOWN, VK_END}));
    f.Key(Qt::Key_A);   // other keys leave the selection alone
    EXPECT_EQ(f.v.GetSelectedRows(), TIntArray{6});
}

TEST(RLViewInteraction, AutoAdvanceMovesDownOnEnter)
{
    View f;
    Numbered(f, 5);
    f.Key(Qt::Key_Return);
    EXPECT_EQ(f.v.Row(), 1);
    f.v.SetAutoAdvance(true);
    f.Key(Qt::Key_Return);
    EXPECT_EQ(f.v.Row(), 2);
    EXPECT_EQ(f.v.GetSelectedRows(), TIntArray{2});
}

TEST(RLViewInteraction, WheelOnlyFiresTheEvents)
{
    View f;
    Numbered(f, 100);
    int downs = 0;
    f.v.OnMouseWheelDown = [&](QObject* s, TShiftState, QPoint, bool& h) { EXPECT_EQ(s, &f.v); ++downs; h = true; };
    QWheelEvent down(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(f.v.viewport(), &down);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(f.v.TopRow(), 1);
    f.v.OnMouseWheelDown = nullptr;
    QApplication::sendEvent(f.v.viewport(), &down);
    EXPECT_EQ(f.v.TopRow(), 1);
}

TEST(RLViewInteraction, DoubleClickOnAHeaderBorderFitsTheColumn)
{
    View f;
    f.v.SetElem(1, 2, QStringLiteral("a rather long cell text that needs room"));
    int dbl = 0;
    f.v.OnDblClick = [&](QObject*) { ++dbl; };
    const int expected = f.v.DetermineMaxColWidth(1, true);
    const QPoint border = HeaderPoint(f, 0, -2);
    QTest::mouseMove(f.v.viewport(), border);
    QTest::mouseDClick(f.v.viewport(), Qt::LeftButton, Qt::NoModifier, border);
    EXPECT_EQ(f.v.ColWidths(1), expected);
    EXPECT_EQ(dbl, 0);   // consumed on the header row
    // Elsewhere the double click reaches OnDblClick.
    QTest::mouseDClick(f.v.viewport(), Qt::LeftButton, Qt::NoModifier, f.Cell(1, 3).center());
    EXPECT_EQ(dbl, 1);
}

TEST(RLViewInteraction, MouseCellReportsHeaderRowsAndDataRows)
{
    View f;
    f.v.SetCommonHeaderVisible(true);
    EXPECT_EQ(f.v.MouseCell(f.Cell(1, 0).center().x(), 5), (TGridCoord{2, -2}));
    EXPECT_EQ(f.v.MouseCell(5, f.Cell(0, 1).center().y()), (TGridCoord{1, -1}));
    EXPECT_EQ(f.v.MouseCell(5, f.Cell(0, 3).center().y()), (TGridCoord{1, 2}));
    EXPECT_EQ(f.v.MouseCell(5, f.v.GridHeight() + 5), (TGridCoord{0, 0}));
}

TEST(RLViewInteraction, InPlaceEditingOfEditableColumnsAndCheckColumns)
{
    View f;
    f.v.SetOptions(f.v.Options().setFlag(goRowSelect, false));
    f.v.SetColumnEditable(2, true);
    f.v.SetColumnCheckMode(3, cmBox);
    f.v.SetColumnEditable(3, true);
    f.v.SetElem(2, 1, QStringLiteral("old"));
    f.v.SetElem(3, 1, QStringLiteral("text"));
    f.v.SetElemChecked(3, 1, true);
    // Column 1 is not editable: F2 opens nothing.
    f.ClickCell(0, 1);
    f.Key(Qt::Key_F2);
    EXPECT_FALSE(f.v.EditorMode());
    f.ClickCell(1, 1);
    f.Key(Qt::Key_F2);
    ASSERT_TRUE(f.v.EditorMode());
    EXPECT_EQ(f.v.InplaceEditor()->text(), "old");
    QTest::keyClicks(f.v.InplaceEditor(), "new");
    QTest::keyClick(f.v.InplaceEditor(), Qt::Key_Return);
    EXPECT_EQ(f.v.Elem(2, 1), "new");
    // In a check column the mark stays.
    f.ClickCell(2, 1);
    f.Key(Qt::Key_F2);
    ASSERT_TRUE(f.v.EditorMode());
    EXPECT_EQ(f.v.InplaceEditor()->text(), "text");
    QTest::keyClicks(f.v.InplaceEditor(), "done");
    QTest::keyClick(f.v.InplaceEditor(), Qt::Key_Return);
    EXPECT_EQ(f.v.Data()->RawElem(3, 1), "Xdone");
    // A disabled row is not editable either.
    f.v.SetRowEnabled(2, false);
    f.ClickCell(1, 2);
    f.Key(Qt::Key_F2);
    EXPECT_FALSE(f.v.EditorMode());
}

TEST(RLViewInteraction, DraggingAHeaderBorderSizesTheColumnAndReportsIt)
{
    View f;
    int setups = 0;
    f.v.OnChangeSetup = [&](QObject*) { ++setups; };
    QWidget* vp = f.v.viewport();
    const QPoint border(f.Cell(0, 0).width() - 1, 10);
    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, border);
    const QPointF to(border + QPoint(40, 0));
    QMouseEvent move(QEvent::MouseMove, to, vp->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(vp, &move);
    QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, to.toPoint());
    EXPECT_EQ(f.v.ColWidths(1), f.v.DefaultColWidth() + 40);
    EXPECT_EQ(setups, 1);
    EXPECT_EQ(f.v.LastSortColumn(), -1);   // sizing is no header click
}

TEST(RLViewInteraction, KeyboardEntryIntoADisabledRowOpensNoEditor)
{
    View f;
    f.v.SetOptions(f.v.Options().setFlag(goRowSelect, false));
    f.v.SetColumnEditable(2, true);
    f.v.SetElem(2, 2, QStringLiteral("locked"));
    f.v.SetRowEnabled(2, false);
    // Positive control: the enabled row above opens its editor on F2.
    f.ClickCell(1, 1);
    f.Key(Qt::Key_F2);
    ASSERT_TRUE(f.v.EditorMode());
    QTest::keyClick(f.v.InplaceEditor(), Qt::Key_Escape);
    ASSERT_FALSE(f.v.EditorMode());
    // Down into the disabled row: neither F2 nor typing edits it.
    f.Key(Qt::Key_Down);
    ASSERT_EQ(f.v.Row(), 2);
    f.Key(Qt::Key_F2);
    EXPECT_FALSE(f.v.EditorMode());
    f.Key(Qt::Key_X);
    EXPECT_FALSE(f.v.EditorMode());
    EXPECT_EQ(f.v.Elem(2, 2), QStringLiteral("locked"));
    // And back up, the enabled row is editable again.
    f.Key(Qt::Key_Up);
    f.Key(Qt::Key_F2);
    EXPECT_TRUE(f.v.EditorMode());
}

TEST(RLViewInteraction, SecondarySortColumnOrdersTiesOfTheNextHeaderClick)
{
    View f;
    f.v.SetNrOfRows(4);
    const QStringList groups{"a", "b", "a", "b"};
    for (int r = 1; r <= 4; ++r) {
        f.v.SetElem(1, r, groups[r - 1]);
        f.v.SetElem(2, r, QString::number(5 - r));
    }
    EXPECT_EQ(f.v.SecondarySortColumn(), -1);
    int setups = 0;
    f.v.OnChangeSetup = [&](QObject*) { ++setups; };
    f.v.SetSecondarySortColumn(2);
    EXPECT_EQ(f.v.SecondarySortColumn(), 2);
    EXPECT_EQ(setups, 1);
    f.v.SetSecondarySortColumn(6);    // beyond the columns: ignored
    f.v.SetSecondarySortColumn(-2);
    EXPECT_EQ(f.v.SecondarySortColumn(), 2);
    EXPECT_EQ(setups, 1);
    // Setting it sorts nothing yet.
    EXPECT_EQ(f.v.Elem(2, 1), "4");
    f.Click(HeaderPoint(f, 0, 20));   // descending by column 1, ties ascending by column 2
    EXPECT_EQ(f.v.LastSortColumn(), 1);
    EXPECT_EQ(f.v.LastSortColumnSec(), 2);
    QStringList second;
    for (int r = 1; r <= 4; ++r)
        second << f.v.Elem(1, r) + f.v.Elem(2, r);
    EXPECT_EQ(second, (QStringList{"b1", "b3", "a2", "a4"}));
    // A sort from code replaces it with its own secondary column.
    f.v.Sort(2, -1, true);
    EXPECT_EQ(f.v.SecondarySortColumn(), -1);
}
