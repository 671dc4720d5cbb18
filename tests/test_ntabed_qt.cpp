// Table editor as a Qt component: properties with NOTIFY, signals after the events, the cells
// through QAccessible as a table.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleInterface>
#include <QMetaProperty>
#include <QSignalSpy>

#include "test_ntabed_support.h"

using namespace qor;
using ntest::Editor;

TEST(NTabEdQt, InteractivePropertiesNotify)
{
    const QMetaObject* mo = &TNTabEd::staticMetaObject;
    for (const char* name : {"TopRow", "LeftCol", "DataReadOnly", "CurrentCol", "CurrentRow"}) {
        const QMetaProperty p = mo->property(mo->indexOfProperty(name));
        ASSERT_TRUE(p.isValid()) << name;
        EXPECT_TRUE(p.hasNotifySignal()) << name;
    }
    const QMetaProperty dir = mo->property(mo->indexOfProperty("AutoAdvanceDir"));
    EXPECT_TRUE(dir.isEnumType());
    Editor f(2, 2);
    f.t.setProperty("NrOfColumns", 6);   // the Qt-style setter, as uic writes it
    EXPECT_EQ(f.t.NrOfColumns(), 6);
    f.t.setProperty("StyleElements", QVariant::fromValue(TStyleElements(seFont)));
    EXPECT_EQ(f.t.BorderStyle(), bsNone);
}

TEST(NTabEdQt, EveryNotificationIsAlsoASignal)
{
    Editor f(3, 3);
    QSignalSpy changed(&f.t, &TNTabEd::changed), setup(&f.t, &TNTabEd::changeSetup),
        heading(&f.t, &TNTabEd::headingChanged), attribute(&f.t, &TNTabEd::attributeChanged),
        layout(&f.t, &TNTabEd::layoutChanged), states(&f.t, &TNTabEd::cellStateChanged),
        empty(&f.t, &TNTabEd::emptyStateChanged), percent(&f.t, &TNTabEd::percentDone);
    f.t.SetElem(1, 1, 2);
    f.t.SetNrOfRows(5);
    f.t.SetColName(1, QStringLiteral("a"));
    f.t.SetRowAttrib(1, 3);
    f.t.SetColorSelected(clRed);
    f.t.SetElemMarkedB(1, 1, true);
    f.t.SetElemMarkedB(9, 9, true);   // outside: still told
    f.t.SetIsEmpty(2, 2, false);
    f.t.SortRows(1, true, 1, 1, 3, 5, true);
    EXPECT_EQ(changed.count(), 2);   // the value, the sort
    EXPECT_EQ(setup.count(), 1);
    EXPECT_EQ(heading.count(), 1);
    EXPECT_EQ(attribute.count(), 1);
    EXPECT_EQ(layout.count(), 1);
    EXPECT_EQ(states.count(), 2);
    EXPECT_EQ(empty.count(), 1);
    ASSERT_GE(percent.count(), 2);
    EXPECT_EQ(percent.last().at(0).toInt(), 100);
}

TEST(NTabEdQt, TheCellsAreAnAccessibleTable)
{
    Editor f(3, 2);
    f.t.SetColName(2, QStringLiteral("Speed"));
    f.t.SetElem(2, 1, 12.5);
    f.t.SetCellState(3, 2, csInvalid);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&f.t);
    ASSERT_NE(iface, nullptr);
    QAccessibleTableInterface* table = iface->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->columnCount(), 3);
    EXPECT_EQ(table->columnDescription(1), QStringLiteral("Speed"));
    QAccessibleInterface* cell = table->cellAt(0, 1);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(QAccessible::Name), QStringLiteral("12.500"));
    EXPECT_EQ(table->cellAt(1, 2)->text(QAccessible::Name), QStringLiteral("-nan-"));
    const QRect r = f.Cell(2, 1);
    EXPECT_EQ(cell->rect(), QRect(f.t.viewport()->mapToGlobal(r.topLeft()), r.size()));
    QAccessibleInterface* hit = iface->childAt(cell->rect().center().x(), cell->rect().center().y());
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(hit->tableCellInterface()->columnIndex(), 1);
    f.SelectCell(1, 2);
    EXPECT_TRUE(table->isRowSelected(1));
    EXPECT_FALSE(table->isRowSelected(0));
    EXPECT_EQ(table->cellAt(5, 0), nullptr);
}

TEST(NTabEdQt, ReadersMeetHeaderCellsTheCurrentCellAndWhatTheyMayEdit)
{
    Editor f(3, 2);
    f.t.SetColName(1, QStringLiteral("Flow\nrate"));
    f.t.SetCellState(2, 1, csLocked);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&f.t);
    ASSERT_NE(iface, nullptr);
    QAccessibleTableInterface* table = iface->tableInterface();
    ASSERT_NE(table, nullptr);
    QAccessibleTableCellInterface* cell = table->cellAt(1, 0)->tableCellInterface();
    ASSERT_NE(cell, nullptr);
    const QList<QAccessibleInterface*> headers = cell->columnHeaderCells();
    ASSERT_EQ(headers.size(), 1);
    EXPECT_EQ(headers[0]->role(), QAccessible::ColumnHeader);
    EXPECT_EQ(headers[0]->text(QAccessible::Name), QStringLiteral("Flow rate"));
    const QRect head = f.t.CellRect(f.t.AttribRowVisible() ? 2 : 1, 0);
    EXPECT_EQ(headers[0]->rect(), QRect(f.t.viewport()->mapToGlobal(head.topLeft()), head.size()));

    EXPECT_TRUE(table->cellAt(0, 0)->state().editable);
    EXPECT_TRUE(table->cellAt(0, 1)->state().readOnly) << "locked";
    f.t.SetDataReadOnly(true);
    EXPECT_TRUE(table->cellAt(0, 0)->state().readOnly);
    f.t.SetDataReadOnly(false);

    f.SelectCell(3, 2);
    ASSERT_TRUE(f.t.hasFocus());
    EXPECT_TRUE(table->cellAt(1, 2)->state().focused);
    EXPECT_FALSE(table->cellAt(0, 0)->state().focused);
    f.t.SetAttribRowVisible(!f.t.AttribRowVisible());   // the cells follow the attribute column
    EXPECT_EQ(table->columnCount(), 3);
    EXPECT_EQ(table->cellAt(0, 0)->rect().left(), f.t.viewport()->mapToGlobal(f.Cell(1, 1).topLeft()).x());
}
