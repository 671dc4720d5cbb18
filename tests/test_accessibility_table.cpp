// The report list as a table a screen reader uses: caption, header cells, the table-cell
// interface, check, radio and password cells, what is showing, keyboard moves and row
// selection through the interface.
#include "test_accessibility_support.h"

#include <QOR_replist.h>

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <gtest/gtest.h>

using namespace qor;
using qortest::EventRecorder;

namespace {

// Name | Active (boxes) | Shift (radio) | Pass word (secret), three rows.
void Fill(TReportListView& list)
{
    list.resize(400, 160);
    list.SetNrOfColumns(4);
    list.SetNrOfRows(3);
    list.SetHeader(1, QStringLiteral("Name"));
    list.SetHeader(2, QStringLiteral("Active"));
    list.SetHeader(3, QStringLiteral("Shift"));
    list.SetHeader(4, QStringLiteral("Pass\nword"));
    list.SetColumnCheckMode(2, cmBox);
    list.SetColumnCheckMode(3, cmRadio);
    list.SetColumnIsPwd(4, true);
    const char* const names[] = {"Ann", "Bob", "Cy"};
    for (int r = 1; r <= 3; ++r) {
        list.SetElem(1, r, QString::fromLatin1(names[r - 1]));
        list.SetElem(4, r, QStringLiteral("secret"));
        list.SetElemChecked(2, r, r == 1);
        list.SetElemChecked(3, r, false);
    }
    list.SetElemChecked(3, 2, true);   // a radio column: one choice
}

QAccessibleTableInterface* TableOf(TReportListView& list)
{
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&list);
    return a ? a->tableInterface() : nullptr;
}

} // namespace

TEST(AccessibilityTable, HeadersAreHeaderCellsAndTheCommonHeaderIsTheCaption)
{
    TReportListView list;
    Fill(list);
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&list);
    QAccessibleTableInterface* t = TableOf(list);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->rowCount(), 3);
    EXPECT_EQ(t->columnCount(), 4);
    EXPECT_EQ(t->caption(), nullptr);

    QAccessibleTableCellInterface* cell = t->cellAt(1, 3)->tableCellInterface();
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->rowIndex(), 1);
    EXPECT_EQ(cell->columnIndex(), 3);
    EXPECT_EQ(cell->table(), a);
    const QList<QAccessibleInterface*> headers = cell->columnHeaderCells();
    ASSERT_EQ(headers.size(), 1);
    EXPECT_EQ(headers[0]->role(), QAccessible::ColumnHeader);
    EXPECT_EQ(headers[0]->text(QAccessible::Name), QStringLiteral("Pass word")) << "two lines read as one";
    EXPECT_EQ(t->columnDescription(3), QStringLiteral("Pass word"));
    // The headers come first among the children, then the cells row by row.
    EXPECT_EQ(a->childCount(), 4 + 12);
    EXPECT_EQ(a->child(1)->text(QAccessible::Name), QStringLiteral("Active"));
    EXPECT_EQ(a->child(4), t->cellAt(0, 0));
    EXPECT_EQ(a->indexOfChild(t->cellAt(2, 1)), 4 + 2 * 4 + 1);
    EXPECT_EQ(a->indexOfChild(headers[0]), 3);

    list.SetCommonHeader(QStringLiteral("Staff\nof the night"));
    list.SetCommonHeaderVisible(true);
    ASSERT_NE(t->caption(), nullptr);
    EXPECT_EQ(t->caption()->text(QAccessible::Name), QStringLiteral("Staff of the night"));
    EXPECT_EQ(a->child(0), t->caption());
    EXPECT_EQ(a->indexOfChild(t->cellAt(0, 0)), 1 + 4);

    list.SetColumnHeadersVisible(false);
    EXPECT_TRUE(t->cellAt(0, 0)->tableCellInterface()->columnHeaderCells().isEmpty());
    EXPECT_EQ(a->childCount(), 1 + 12);
}

TEST(AccessibilityTable, CheckRadioAndPasswordCellsTellWhatTheyAre)
{
    TReportListView list;
    Fill(list);
    QAccessibleTableInterface* t = TableOf(list);
    // The states of every kind of cell, checked and not.
    struct Want {
        int Row, Column;
        QAccessible::Role Role;
        QString Name;
        bool Checkable, Checked, Secret;
    };
    const Want want[] = {
        {0, 0, QAccessible::Cell, QStringLiteral("Ann"), false, false, false},
        {0, 1, QAccessible::Cell, QStringLiteral("Active"), true, true, false},
        {1, 1, QAccessible::Cell, QStringLiteral("Active"), true, false, false},
        {0, 2, QAccessible::Cell, QStringLiteral("Shift"), true, false, false},
        {1, 2, QAccessible::Cell, QStringLiteral("Shift"), true, true, false},
        {0, 3, QAccessible::EditableText, QStringLiteral("******"), false, false, true},
    };
    for (const Want& w : want) {
        SCOPED_TRACE(testing::Message() << "cell " << w.Row << ", " << w.Column);
        QAccessibleInterface* c = t->cellAt(w.Row, w.Column);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->role(), w.Role);
        EXPECT_EQ(c->text(QAccessible::Name), w.Name);
        EXPECT_EQ(c->state().checkable, w.Checkable);
        EXPECT_EQ(c->state().checked, w.Checked);
        EXPECT_EQ(c->state().passwordEdit, w.Secret);
        EXPECT_FALSE(c->text(QAccessible::Value).contains(QStringLiteral("secret")));
        const bool toggles = c->actionInterface()
                             && c->actionInterface()->actionNames().contains(QAccessibleActionInterface::toggleAction());
        EXPECT_EQ(toggles, w.Checkable);
    }

    // A toggle goes the way of a click: the events fire, a radio column keeps one choice.
    QList<int> seen;
    list.OnCheckedChange = [&](QObject*, bool&, int col, int row) { seen << col << row; };
    t->cellAt(2, 2)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(list.ElemChecked(3, 3));
    EXPECT_FALSE(list.ElemChecked(3, 2));
    EXPECT_EQ(seen, (QList<int>{3, 3}));
    t->cellAt(0, 1)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_FALSE(list.ElemChecked(2, 1));

    // Where a click would do nothing, no toggle is offered.
    list.SetRowEnabled(2, false);
    EXPECT_EQ(t->cellAt(1, 1)->actionInterface(), nullptr);
    list.SetCheckMarksReadOnly(true);
    EXPECT_EQ(t->cellAt(0, 1)->actionInterface(), nullptr);
}

TEST(AccessibilityTable, OnlyCellsReallyOnScreenAreShowing)
{
    QWidget page;
    TReportListView list(&page);
    Fill(list);
    list.SetNrOfRows(200);
    page.show();
    QAccessibleTableInterface* t = TableOf(list);
    EXPECT_FALSE(t->cellAt(0, 0)->state().invisible);
    EXPECT_FALSE(t->cellAt(0, 0)->state().offscreen);
    EXPECT_FALSE(t->cellAt(0, 0)->rect().isEmpty());
    EXPECT_TRUE(t->cellAt(150, 0)->state().offscreen) << "scrolled out";
    page.hide();   // a hidden page
    EXPECT_TRUE(t->cellAt(0, 0)->state().invisible);
}

TEST(AccessibilityTable, KeyboardMovesAreHeardAsFocusAndSelection)
{
    EventRecorder heard;
    TReportListView list;
    Fill(list);
    list.show();
    QApplication::setActiveWindow(&list);
    list.setFocus();
    list.SelectRow(1);
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&list);
    QAccessibleTableInterface* t = a->tableInterface();
    heard.Clear();

    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(&list, &down);
    ASSERT_TRUE(list.RowSelected(2));
    const int bob = a->indexOfChild(t->cellAt(1, 0));
    bool focus = false, active = false, bobSelected = false, annDeselected = false;
    for (const auto& e : heard.Heard()) {
        focus = focus || (e.Type == QAccessible::Focus && e.Child == bob);
        active = active || (e.Type == QAccessible::ActiveDescendantChanged && e.Child == bob);
        bobSelected = bobSelected || (e.Type == QAccessible::SelectionAdd && e.Name == QStringLiteral("Bob"));
        annDeselected = annDeselected || (e.Type == QAccessible::SelectionRemove && e.Name == QStringLiteral("Ann"));
    }
    EXPECT_TRUE(focus);
    EXPECT_TRUE(active);
    EXPECT_TRUE(bobSelected);
    EXPECT_TRUE(annDeselected);
    EXPECT_TRUE(t->cellAt(1, 0)->state().focused);
    EXPECT_TRUE(t->cellAt(1, 0)->state().selected);
    EXPECT_FALSE(t->cellAt(0, 0)->state().selected);
    EXPECT_EQ(a->focusChild(), t->cellAt(1, 0));
    EXPECT_EQ(t->selectedRows(), QList<int>{1});
}

TEST(AccessibilityTable, RowsAreSelectedThroughTheTableAsTheUserSelects)
{
    TReportListView list;
    Fill(list);
    int changes = 0;
    list.OnSelectedChange = [&](QObject*) { ++changes; };
    QAccessibleTableInterface* t = TableOf(list);

    EXPECT_TRUE(t->selectRow(2));   // single selection: the row alone, the cursor with it
    EXPECT_EQ(list.GetSelectedRows(), TIntArray{3});
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(t->selectRow(0));
    EXPECT_EQ(list.GetSelectedRows(), TIntArray{1});
    EXPECT_FALSE(t->selectRow(7));

    list.SetRowSelectMode(2);   // multiple selection adds and removes
    EXPECT_TRUE(t->selectRow(2));
    EXPECT_EQ(list.GetSelectedRows(), (TIntArray{1, 3}));
    EXPECT_TRUE(t->unselectRow(0));
    EXPECT_EQ(list.GetSelectedRows(), TIntArray{3});
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(&list)->state().multiSelectable);

    list.SetRowSelectMode(0);   // no selection at all
    EXPECT_FALSE(t->selectRow(1));
    EXPECT_FALSE(t->selectColumn(1));
}

TEST(AccessibilityTable, AGridMadeWhileAReaderListensIsATable)
{
    EventRecorder heard;
    TReportListView list;
    Fill(list);
    QCoreApplication::processEvents();   // construction is over
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&list);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(a->tableInterface(), nullptr);
    EXPECT_EQ(a->tableInterface()->rowCount(), 3);
}
