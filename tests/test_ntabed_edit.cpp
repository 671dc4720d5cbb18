// Table editor: typing into cells, the value range, nominal columns, locked cells, Escape,
// auto-advance and read-only mode.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <limits>

#include "test_ntabed_support.h"

using namespace qor;
using ntest::Editor;

TEST(NTabEdEdit, TypedTextIsStoredAsItChanges)
{
    Editor f(3, 4);
    f.Type(1, 1, QStringLiteral("1,5"));
    EXPECT_EQ(f.t.Elem(1, 1), 1.5);   // stored before the editor closes
    EXPECT_TRUE(f.t.IsNumber(1, 1));
    QTest::keyClick(f.t.InplaceEditor(), Qt::Key_Return);
    f.Type(2, 1, QStringLiteral(" 2 "));
    QTest::keyClick(f.t.InplaceEditor(), Qt::Key_Return);
    EXPECT_EQ(f.t.Elem(2, 1), 2.0);
    f.t.SetElem(3, 1, 8);
    f.Type(3, 1, QStringLiteral("abc"));
    QTest::keyClick(f.t.InplaceEditor(), Qt::Key_Return);
    EXPECT_EQ(f.t.Elem(3, 1), 8.0);   // the value stays
    EXPECT_EQ(f.t.CellState(3, 1) & csInvalid, csInvalid);
    EXPECT_EQ(f.t.CellText(3, 1), QStringLiteral("-nan-"));
}

TEST(NTabEdEdit, TheValueRangeHoldsTypedAndWrittenValues)
{
    Editor f(2, 2);
    f.t.SetVRangeLow(0);
    f.t.SetVRangeHigh(10);
    f.Type(1, 1, QStringLiteral("12"));
    EXPECT_EQ(f.t.Elem(1, 1), 10.0);
    f.t.SetElem(2, 1, -4);
    EXPECT_EQ(f.t.Elem(2, 1), 0.0);
    // Only a lower bound below 0: 0 is the upper bound.
    f.t.SetVRangeLow(-5);
    f.t.SetVRangeHigh(0);
    f.t.SetElem(2, 1, 3);
    EXPECT_EQ(f.t.Elem(2, 1), 0.0);
    f.t.SetElem(2, 1, -9);
    EXPECT_EQ(f.t.Elem(2, 1), -5.0);
    // Low above High, or both 0: no range.
    f.t.SetVRangeLow(5);
    f.t.SetElem(2, 1, 99);
    EXPECT_EQ(f.t.Elem(2, 1), 99.0);
    f.t.SetVRangeLow(0);
    f.t.SetElem(2, 1, -99);
    EXPECT_EQ(f.t.Elem(2, 1), -99.0);
    // Values that are not finite are refused.
    f.t.SetElem(2, 1, std::numeric_limits<double>::quiet_NaN());
    f.t.SetElem(2, 1, std::numeric_limits<double>::infinity());
    f.t.Fill(std::numeric_limits<double>::infinity());
    EXPECT_EQ(f.t.Elem(2, 1), -99.0);
    EXPECT_EQ(f.t.FillMarkedCells(std::numeric_limits<double>::quiet_NaN(), 0xFF), 0);
}

TEST(NTabEdEdit, AnEditClearsInvalidAndEmptyAndKeepsTheMarks)
{
    Editor f(2, 2);
    f.t.SetCellState(1, 1, csInvalid | csEmpty | csMarkedA | csMarkedB);
    f.Type(1, 1, QStringLiteral("4"));
    QTest::keyClick(f.t.InplaceEditor(), Qt::Key_Return);
    EXPECT_EQ(f.t.CellState(1, 1), csMarkedA | csMarkedB);
    // The nominal path does the same.
    f.t.Data()->SetMScaleType(2, mstNominal);
    f.t.Data()->SetNominalID(2, 1, QStringLiteral("one"));
    f.t.SetCellState(2, 1, csEmpty | csMarkedB);
    f.Type(2, 1, QStringLiteral("one"));
    EXPECT_EQ(f.t.Elem(2, 1), 1.0);
    EXPECT_EQ(f.t.CellState(2, 1), csMarkedB);
}

TEST(NTabEdEdit, NominalColumnsEditThroughAPickListOrdinalZeroIncluded)
{
    Editor f(2, 3);
    TDataTable* d = f.t.Data();
    d->SetMScaleType(1, mstNominal);
    d->SetNominalID(1, 0, QStringLiteral("none"));
    d->SetNominalID(1, 2, QStringLiteral("two"));
    d->SetNominalID(1, 5, QStringLiteral("five"));
    f.t.SetNomEditDropDownCount(4);
    f.t.SetElem(1, 1, 5);
    f.SelectCell(1, 1);
    f.Key(Qt::Key_F2);
    auto* box = f.t.viewport()->findChild<QComboBox*>();
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(box->isVisible());
    EXPECT_EQ(box->maxVisibleItems(), 4);
    ASSERT_EQ(box->count(), 3);
    EXPECT_EQ(box->itemText(0), QStringLiteral("none"));
    EXPECT_EQ(box->itemText(2), QStringLiteral("five"));
    EXPECT_EQ(box->currentText(), QStringLiteral("five"));
    box->setCurrentIndex(0);
    EXPECT_EQ(f.t.Elem(1, 1), 0.0);   // ordinal 0 is taken
    EXPECT_TRUE(f.t.IsNumber(1, 1));
    box->setEditText(QStringLiteral("TWO"));
    EXPECT_EQ(f.t.Elem(1, 1), 2.0);
    box->setEditText(QStringLiteral("17"));   // an integer is an ordinal too
    EXPECT_EQ(f.t.Elem(1, 1), 17.0);
    box->setEditText(QStringLiteral("nothing"));
    EXPECT_EQ(f.t.Elem(1, 1), 17.0);
    EXPECT_TRUE(f.t.CellState(1, 1) & csInvalid);
    // The range holds ordinals to the rounded bounds.
    f.t.SetVRangeLow(0.4);
    f.t.SetVRangeHigh(3.6);
    box->setEditText(QStringLiteral("five"));
    EXPECT_EQ(f.t.Elem(1, 1), 4.0);
}

TEST(NTabEdEdit, EscapeRestoresValueAndStateExactly)
{
    Editor f(2, 2);
    f.t.SetElem(1, 1, 3.14159265);
    f.t.SetCellState(1, 1, csMarkedA);
    f.SelectCell(1, 1);
    f.Key(Qt::Key_F2);
    ASSERT_TRUE(f.t.EditorMode());
    QTest::keyClicks(f.t.InplaceEditor(), "77");   // replaces the selected text
    EXPECT_EQ(f.t.Elem(1, 1), 77.0);
    QTest::keyClick(f.t.InplaceEditor(), Qt::Key_Escape);
    EXPECT_FALSE(f.t.EditorMode());
    EXPECT_EQ(f.t.Elem(1, 1), 3.14159265);   // not the rounded display text
    EXPECT_EQ(f.t.CellState(1, 1), csMarkedA);
    // An empty cell comes back empty.
    f.Type(2, 2, QStringLiteral("x"));
    QTest::keyClick(f.t.InplaceEditor(), Qt::Key_Escape);
    EXPECT_TRUE(f.t.IsEmpty(2, 2));
    EXPECT_FALSE(f.t.CellState(2, 2) & csInvalid);
}

TEST(NTabEdEdit, LockedCellsTakeNoEditButTheCursorLeavesThem)
{
    Editor f(3, 3);
    f.t.SetElem(2, 2, 5);
    f.t.SetCellState(2, 2, csLocked);
    f.SelectCell(2, 2);
    f.Key(Qt::Key_7);
    f.Key(Qt::Key_F2);
    EXPECT_FALSE(f.t.EditorMode());
    EXPECT_EQ(f.t.Elem(2, 2), 5.0);
    // A click on the locked current cell opens nothing either.
    f.ClickCell(2, 2);
    f.ClickCell(2, 2);
    EXPECT_FALSE(f.t.EditorMode());
    f.Key(Qt::Key_Right);
    EXPECT_EQ(f.t.CurrentCol(), 3);
    f.Key(Qt::Key_Left);
    f.Key(Qt::Key_Down);
    EXPECT_EQ(f.t.CurrentRow(), 3);
    // Next to it editing works.
    f.Key(Qt::Key_9);
    EXPECT_TRUE(f.t.EditorMode());
}

TEST(NTabEdEdit, EnterAdvancesDownOrRight)
{
    Editor f(3, 3);
    f.Type(1, 1, QStringLiteral("1"));
    QTest::keyClick(f.t.InplaceEditor(), Qt::Key_Return);
    EXPECT_FALSE(f.t.EditorMode());
    EXPECT_EQ(f.t.CurrentRow(), 2);
    EXPECT_EQ(f.t.Elem(1, 1), 1.0);
    f.Key(Qt::Key_Return);   // without an editor too
    EXPECT_EQ(f.t.CurrentRow(), 3);
    EXPECT_FALSE(f.t.EditorMode());
    f.t.SetAutoAdvanceDir(orVertical);
    f.Key(Qt::Key_Return);
    EXPECT_EQ(f.t.CurrentCol(), 2);
    // Digits do not advance.
    f.Key(Qt::Key_4);
    EXPECT_TRUE(f.t.EditorMode());
    EXPECT_EQ(f.t.CurrentCol(), 2);
    // Without AutoAdvance Enter opens and closes the editor.
    QTest::keyClick(f.t.InplaceEditor(), Qt::Key_Return);
    EXPECT_EQ(f.t.CurrentCol(), 3);
    f.t.SetAutoAdvance(false);
    f.Key(Qt::Key_Return);
    EXPECT_TRUE(f.t.EditorMode());
    QTest::keyClick(f.t.InplaceEditor(), Qt::Key_Return);
    EXPECT_FALSE(f.t.EditorMode());
    EXPECT_EQ(f.t.CurrentCol(), 3);
}

TEST(NTabEdEdit, ReadOnlyClosesTheEditorAndStopsEditing)
{
    Editor f(2, 2);
    QSignalSpy spy(&f.t, &TNTabEd::dataReadOnlyChanged);
    f.Type(1, 1, QStringLiteral("5"));
    ASSERT_TRUE(f.t.EditorMode());
    f.t.SetDataReadOnly(true);
    EXPECT_FALSE(f.t.EditorMode());
    EXPECT_EQ(spy.count(), 1);
    f.Key(Qt::Key_6);
    f.Key(Qt::Key_F2);
    EXPECT_FALSE(f.t.EditorMode());
    EXPECT_EQ(f.t.Elem(1, 1), 5.0);
    f.t.SetDataReadOnly(true);
    EXPECT_EQ(spy.count(), 1);
    f.t.SetDataReadOnly(false);
    f.Key(Qt::Key_6);
    EXPECT_TRUE(f.t.EditorMode());
    EXPECT_EQ(f.t.Elem(1, 1), 6.0);
}

TEST(NTabEdEdit, TheSelectionIsReportedWhenItChanges)
{
    Editor f(4, 4);
    int reports = 0;
    f.t.OnSelectionChanged = [&](QObject*) { ++reports; };
    QSignalSpy current(&f.t, &TNTabEd::currentDataCellChanged);
    f.Key(Qt::Key_Down);
    EXPECT_EQ(reports, 1);
    f.Key(Qt::Key_Up);
    f.Key(Qt::Key_Up);   // at the top: no change, no report
    EXPECT_EQ(reports, 2);
    ASSERT_GE(current.count(), 2);
    EXPECT_EQ(current.last().at(0).toInt(), 1);
    EXPECT_EQ(current.last().at(1).toInt(), 1);
    f.ClickCell(3, 2);
    EXPECT_EQ(reports, 3);
    EXPECT_EQ(f.t.CurrentCol(), 3);
    // The top-left cell shows the current cell.
    f.Img();
}
