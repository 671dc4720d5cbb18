// Draw grid: mouse and keyboard navigation, range selection, column sizing, in-place editing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <QOR_Grids.h>

#include "test_support.h"

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
        grid.show();
        grid.activateWindow();
        grid.setFocus();
        QApplication::processEvents();
    }
    // Centre of a cell in client coordinates.
    QPoint At(int c, int r) const { return grid.CellRect(c, r).center(); }
    void Key(int k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(&grid, Qt::Key(k), m); }
    void Click(int c, int r, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, m, At(c, r));
    }
};

} // namespace

TEST(GridInput, CursorKeysMoveTheCurrentCellAndScroll)
{
    Fixture f;
    EXPECT_EQ(f.grid.Col(), 1);
    EXPECT_EQ(f.grid.Row(), 1);
    f.Key(Qt::Key_Down);
    f.Key(Qt::Key_Right);
    EXPECT_EQ(f.grid.Row(), 2);
    EXPECT_EQ(f.grid.Col(), 2);
    f.Key(Qt::Key_Up);
    f.Key(Qt::Key_Up);
    EXPECT_EQ(f.grid.Row(), 1);   // stops at the first non-fixed row
    f.Key(Qt::Key_PageDown);
    EXPECT_EQ(f.grid.Row(), 1 + f.grid.VisibleRowCount());
    f.Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(f.grid.Row(), 99);
    EXPECT_EQ(f.grid.Col(), 9);
    EXPECT_FALSE(f.grid.CellRect(9, 99).isEmpty());   // scrolled into view
    f.Key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(f.grid.Row(), 1);
    EXPECT_EQ(f.grid.TopRow(), 1);
    EXPECT_EQ(f.grid.LeftCol(), 1);
}

TEST(GridInput, RowSelectMakesLeftRightAndHomeEndMoveRows)
{
    Fixture f;
    f.grid.SetOptions(f.grid.Options() | goRowSelect);
    f.Key(Qt::Key_Right);
    EXPECT_EQ(f.grid.Row(), 2);
    f.Key(Qt::Key_End);
    EXPECT_EQ(f.grid.Row(), 99);
    f.Key(Qt::Key_Home);
    EXPECT_EQ(f.grid.Row(), 1);
    const TGridRect sel = f.grid.Selection();
    EXPECT_EQ(sel.Left, 1);
    EXPECT_EQ(sel.Right, 9);
}

TEST(GridInput, ShiftExtendsTheSelectionOnlyWithRangeSelect)
{
    Fixture f;
    f.Click(2, 2);
    f.Key(Qt::Key_Down, Qt::ShiftModifier);
    f.Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(f.grid.Selection(), (TGridRect{2, 2, 3, 3}));
    f.Click(1, 4, Qt::ShiftModifier);
    EXPECT_EQ(f.grid.Selection(), (TGridRect{1, 2, 2, 4}));

    f.grid.SetOptions(f.grid.Options().setFlag(goRangeSelect, false));
    f.Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(f.grid.Selection(), (TGridRect{1, 5, 1, 5}));
}

TEST(GridInput, SelectCellMayRefuseAMove)
{
    Fixture f;
    f.grid.OnSelectCell = [](QObject*, int c, int, bool& can) { can = c != 3; };
    f.Click(3, 2);
    EXPECT_EQ(f.grid.Col(), 1);
    f.Click(4, 2);
    EXPECT_EQ(f.grid.Col(), 4);
    EXPECT_EQ(f.grid.Row(), 2);
}

TEST(GridInput, DraggingAHeaderBorderSizesTheColumn)
{
    Fixture f;
    f.grid.SetOptions(f.grid.Options() | goColSizing);
    int sized = 0;
    f.grid.OnColumnSized = [&](QObject*) { ++sized; };
    QWidget* vp = f.grid.viewport();
    const QPoint border(2 * 51 - 1, 10);   // right border of column 1 in the fixed row
    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, border);
    QMouseEvent move(QEvent::MouseMove, QPointF(border + QPoint(30, 0)), vp->mapToGlobal(QPointF(border + QPoint(30, 0))),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(vp, &move);
    QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, border + QPoint(30, 0));
    EXPECT_EQ(f.grid.ColWidths(1), 80);
    EXPECT_GE(sized, 1);
    // A press on a data cell does not size.
    QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, QPoint(2 * 51 - 1 + 30, 50));
    EXPECT_EQ(f.grid.ColWidths(1), 80);
}

TEST(GridInput, WheelScrollsThreeRowsUnlessAHandlerTakesIt)
{
    Fixture f;
    QWheelEvent down(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(f.grid.viewport(), &down);
    EXPECT_EQ(f.grid.TopRow(), 4);
    f.grid.OnMouseWheelDown = [](QObject*, TShiftState, QPoint, bool& handled) { handled = true; };
    QApplication::sendEvent(f.grid.viewport(), &down);
    EXPECT_EQ(f.grid.TopRow(), 4);
}

TEST(GridInput, EditorReadsWritesAndCancels)
{
    Fixture f;
    std::map<std::pair<int, int>, QString> cells{{{1, 1}, "alpha"}};
    f.grid.OnGetEditText = [&](QObject*, int c, int r, QString& v) { v = cells[{c, r}]; };
    f.grid.OnSetEditText = [&](QObject*, int c, int r, const QString& v) { cells[{c, r}] = v; };
    // Without goEditing nothing opens.
    f.Key(Qt::Key_F2);
    EXPECT_FALSE(f.grid.EditorMode());

    f.grid.SetOptions(f.grid.Options() | goEditing);
    f.Key(Qt::Key_F2);
    ASSERT_TRUE(f.grid.EditorMode());
    QLineEdit* ed = f.grid.InplaceEditor();
    EXPECT_EQ(ed->text(), "alpha");
    EXPECT_EQ(ed->geometry(), f.grid.CellRect(1, 1));
    QTest::keyClicks(ed, "xy");   // replaces the selected text
    EXPECT_EQ((cells[{1, 1}]), "xy");
    QTest::keyClick(ed, Qt::Key_Escape);
    EXPECT_FALSE(f.grid.EditorMode());
    EXPECT_EQ((cells[{1, 1}]), "alpha");

    // Typing a character opens the editor with that character; Enter keeps the text.
    f.Key(Qt::Key_Q);
    ASSERT_TRUE(f.grid.EditorMode());
    EXPECT_EQ((cells[{1, 1}]), "q");
    QTest::keyClick(f.grid.InplaceEditor(), Qt::Key_Return);
    EXPECT_FALSE(f.grid.EditorMode());
    EXPECT_EQ((cells[{1, 1}]), "q");

    // Down in the editor leaves the cell and moves on.
    f.Key(Qt::Key_F2);
    QTest::keyClick(f.grid.InplaceEditor(), Qt::Key_Down);
    EXPECT_FALSE(f.grid.EditorMode());
    EXPECT_EQ(f.grid.Row(), 2);

    // A click on the current cell opens the editor.
    f.Click(1, 2);
    EXPECT_TRUE(f.grid.EditorMode());
}

TEST(GridInput, TabsMoveAcrossCellsOnlyWithGoTabs)
{
    Fixture f;
    f.grid.SetOptions(f.grid.Options() | goTabs);
    f.Key(Qt::Key_Tab);
    EXPECT_EQ(f.grid.Col(), 2);
    f.grid.SetCol(9);
    f.Key(Qt::Key_Tab);
    EXPECT_EQ(f.grid.Col(), 1);
    EXPECT_EQ(f.grid.Row(), 2);
}

namespace {
// A grid whose column 2 edits through a pick list.
class PickGrid : public TDrawGrid {
public:
    using TDrawGrid::TDrawGrid;
protected:
    TEditStyle GetEditStyle(int ACol, int) override { return ACol == 2 ? esPickList : esSimple; }
    QStringList GetPickListItems(int, int) override { return {"red", "green", "blue"}; }
};
} // namespace

TEST(GridInput, PickListEditorOffersItemsAndWritesTheChoice)
{
    PickGrid grid;
    grid.SetBorderStyle(bsNone);
    grid.resize(300, 200);
    grid.SetOptions(grid.Options() | goEditing);
    QString stored = "green";
    grid.OnGetEditText = [&](QObject*, int, int, QString& v) { v = stored; };
    grid.OnSetEditText = [&](QObject*, int, int, const QString& v) { stored = v; };
    grid.show();
    grid.setFocus();
    grid.SetCol(2);
    QTest::keyClick(&grid, Qt::Key_F2);
    ASSERT_TRUE(grid.EditorMode());
    auto* box = grid.viewport()->findChild<QComboBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->count(), 3);
    EXPECT_EQ(box->currentText(), "green");
    EXPECT_EQ(box->geometry(), grid.CellRect(2, 1));
    box->setCurrentIndex(2);
    EXPECT_EQ(stored, "blue");
    QTest::keyClick(box->lineEdit(), Qt::Key_Escape);
    EXPECT_FALSE(grid.EditorMode());
    EXPECT_EQ(stored, "green");
    // Column 1 keeps the line editor.
    grid.SetCol(1);
    QTest::keyClick(&grid, Qt::Key_F2);
    EXPECT_TRUE(grid.InplaceEditor()->isVisible());
    EXPECT_FALSE(box->isVisible());
}

TEST(GridInput, DraggingBelowTheGridExtendsTheRangeAndScrolls)
{
    Fixture f;
    QWidget* vp = f.grid.viewport();
    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, f.At(1, 1));
    for (int i = 0; i < 12; ++i) {
        const QPointF below(40, 230);
        QMouseEvent move(QEvent::MouseMove, below, vp->mapToGlobal(below), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(vp, &move);
    }
    QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, QPoint(40, 190));
    EXPECT_EQ(f.grid.Selection(), (TGridRect{1, 1, 1, 13}));
    EXPECT_GT(f.grid.TopRow(), 1);
    EXPECT_FALSE(f.grid.CellRect(1, 13).isEmpty());
}

TEST(GridInput, SignalsForTheCurrentCellScrollingEditingAndSizing)
{
    Fixture f;
    QSignalSpy current(&f.grid, &TCustomGrid::currentCellChanged);
    QSignalSpy scrolled(&f.grid, &TCustomDrawGrid::topLeftChanged);
    QSignalSpy clicked(&f.grid, &TDrawGrid::clicked);
    f.Key(Qt::Key_Down);
    ASSERT_EQ(current.count(), 1);
    EXPECT_EQ(current.at(0).at(0).toInt(), 1);
    EXPECT_EQ(current.at(0).at(1).toInt(), 2);
    f.grid.SetRow(2);                 // already there: nothing
    EXPECT_EQ(current.count(), 1);
    f.grid.SetTopRow(40);
    EXPECT_EQ(scrolled.count(), 1);
    f.Click(2, 41);
    EXPECT_EQ(clicked.count(), 1);
    QSignalSpy edited(&f.grid, &TCustomDrawGrid::editTextSet);
    f.grid.SetOptions(f.grid.Options() | goEditing);
    f.Key(Qt::Key_F2);
    QTest::keyClicks(f.grid.InplaceEditor(), QStringLiteral("ab"));
    ASSERT_GE(edited.count(), 1);
    EXPECT_EQ(edited.last().at(2).toString(), QStringLiteral("ab"));
    QSignalSpy drawn(&f.grid, &TCustomDrawGrid::drawCell);
    f.grid.RenderNow();
    EXPECT_GT(drawn.count(), 10);
}


// A grid whose mouse-up fires no event: the drag state still ends with the button.
TEST(GridInput, MouseUpThatStaysSilentStillEndsTheDrag)
{
    struct SilentUp : TDrawGrid {
        int Ups = 0;
        void MouseUp(TMouseButton, TShiftState, int X, int Y) override
        {
            ++Ups;
            FinishMouseAction(X, Y);
        }
    };
    SilentUp grid;
    grid.SetBorderStyle(bsNone);
    grid.resize(300, 200);
    grid.show();
    QApplication::processEvents();
    int events = 0;
    grid.OnMouseUp = [&](QObject*, TMouseButton, TShiftState, int, int) { ++events; };
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.CellRect(1, 1).center());
    EXPECT_EQ(std::pair(grid.Ups, events), std::pair(1, 0));
    EXPECT_EQ(grid.GridState(), gsNormal);
    QTest::mouseMove(grid.viewport(), grid.CellRect(3, 3).center());   // a hover, no button
    EXPECT_EQ(std::pair(grid.Col(), grid.Row()), std::pair(1, 1));
}
