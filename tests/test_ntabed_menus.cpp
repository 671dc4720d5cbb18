// Table editor: the two built-in menus — where they open, captions and masks, their items —
// the heading edit box, the comment memo, and when the program's PopupMenu wins.
#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>

#include "test_ntabed_support.h"

using namespace qor;
using ntest::Editor;

namespace {

QAction* Item(QMenu* m, int i)
{
    return m->actions().value(i - 1);
}

void CloseMenus(Editor& f)
{
    f.t.DataPopupMenu()->hide();
    f.t.HeadingPopupMenu()->hide();
}

// Right-clicks a point of the editor and returns the menu it opened (nullptr for none). A menu
// still open would take the press for closing itself.
QMenu* MenuAt(Editor& f, QPoint p)
{
    CloseMenus(f);
    f.RightPress(p);
    for (QMenu* m : {f.t.DataPopupMenu(), f.t.HeadingPopupMenu()})
        if (m->isVisible())
            return m;
    return nullptr;
}

} // namespace

TEST(NTabEdMenus, TheDataMenuOpensOnADataCellWithItsItems)
{
    Editor f(3, 3);
    QMenu* before = nullptr;
    f.t.OnBeforePopup = [&](QObject*, QMenu* m) { before = m; };
    const QPoint p = f.Cell(2, 2).center();
    QMenu* m = MenuAt(f, p);
    ASSERT_EQ(m, f.t.DataPopupMenu());
    EXPECT_EQ(before, m);
    EXPECT_EQ(m->objectName(), QStringLiteral("PopupDTAction"));
    EXPECT_EQ(m->pos(), f.t.viewport()->mapToGlobal(p) + QPoint(10, -20));
    ASSERT_EQ(m->actions().size(), 13);
    EXPECT_EQ(Item(m, 9)->text(), QStringLiteral("Extract from Clipboard"));
    ASSERT_NE(Item(m, 1)->menu(), nullptr);
    QStringList scopes;
    for (QAction* a : Item(m, 1)->menu()->actions())
        scopes << a->text();
    EXPECT_EQ(scopes, (QStringList{"Range", "Column", "Row", "All"}));
    EXPECT_FALSE(Item(m, 8)->isEnabled());   // nothing copied yet
    EXPECT_FALSE(Item(m, 10)->icon().isNull());
    CloseMenus(f);
    // Headings open the heading menu at the cell's top-left + (20, 20).
    const QRect head = f.GridCell(2, 0);
    m = MenuAt(f, head.center());
    ASSERT_EQ(m, f.t.HeadingPopupMenu());
    EXPECT_EQ(m->objectName(), QStringLiteral("PopupHTAction"));
    EXPECT_EQ(m->pos(), f.t.viewport()->mapToGlobal(head.topLeft() + QPoint(20, 20)));
    EXPECT_EQ(Item(m, 3)->text(), QStringLiteral("Select Column"));
    EXPECT_TRUE(Item(m, 2)->isEnabled());
    CloseMenus(f);
    m = MenuAt(f, f.GridCell(0, 2).center());
    ASSERT_EQ(m, f.t.HeadingPopupMenu());
    EXPECT_EQ(Item(m, 5)->text(), QStringLiteral("Delete Row"));
    EXPECT_FALSE(Item(m, 2)->isEnabled());   // precision belongs to columns
    CloseMenus(f);
    // "Attrib" heads no data line: no menu.
    EXPECT_EQ(MenuAt(f, f.GridCell(1, 0).center()), nullptr);
}

TEST(NTabEdMenus, PopupMenuAndBlockInternalPopupKeepTheBuiltInMenusClosed)
{
    Editor f(2, 2);
    QMenu own;
    own.addAction(QStringLiteral("Own"));
    f.t.SetPopupMenu(&own);
    EXPECT_EQ(MenuAt(f, f.Cell(1, 1).center()), nullptr);
    EXPECT_TRUE(own.isVisible());
    own.hide();
    f.t.SetPopupMenu(nullptr);
    f.t.SetBlockInternalPopup(true);
    EXPECT_EQ(MenuAt(f, f.Cell(1, 1).center()), nullptr);
    f.RightPress(f.GridCell(0, 0).center());
    EXPECT_EQ(f.t.CommentEditor(), nullptr);
}

TEST(NTabEdMenus, CaptionsAndMasks)
{
    Editor f(2, 2);
    f.t.SetPopupDCaptions(6, QString(70, QLatin1Char('c')));
    EXPECT_EQ(f.t.PopupDCaptions(6).size(), 50);
    EXPECT_EQ(f.t.PopupDCaptions(14), QString());
    f.t.SetPopupDCaptions(0, QStringLiteral("ignored"));
    f.t.SetPopupHCaptions(1, QStringLiteral("Rename"));
    EXPECT_EQ(f.t.PopupHCaptions(1), QStringLiteral("Rename"));
    f.t.SetPopupMCaptions(4, QStringLiteral("Everything"));
    f.t.SetPopupUCaptions(1, QStringLiteral("Block"));
    QMenu* m = f.t.DataPopupMenu();
    EXPECT_EQ(Item(m, 2)->menu()->actions().at(3)->text(), QStringLiteral("Everything"));
    EXPECT_EQ(Item(m, 4)->menu()->actions().at(0)->text(), QStringLiteral("Block"));
    EXPECT_EQ(Item(m, 1)->menu()->actions().at(0)->text(), QStringLiteral("Range"));
    EXPECT_EQ(f.t.PopupMCaptions(4), QStringLiteral("Everything"));
    EXPECT_EQ(f.t.PopupUCaptions(5), QString());

    int setups = 0;
    f.t.OnChangeSetup = [&](QObject*) { ++setups; };
    f.t.SetPopupDMask(~((1 << 1) | (1 << 6)));   // without items 2 and 7
    EXPECT_EQ(setups, 1);
    m = MenuAt(f, f.Cell(1, 1).center());
    ASSERT_NE(m, nullptr);
    EXPECT_FALSE(Item(m, 2)->isVisible());
    EXPECT_FALSE(Item(m, 7)->isVisible());
    EXPECT_TRUE(Item(m, 6)->isVisible());
    CloseMenus(f);
    f.t.SetPopupHMask(~(1 << 0));
    m = MenuAt(f, f.GridCell(2, 0).center());
    ASSERT_NE(m, nullptr);
    EXPECT_FALSE(Item(m, 1)->isEnabled());
    EXPECT_TRUE(Item(m, 2)->isEnabled());
    CloseMenus(f);
    // Read-only disables clear, paste, extract, insert and delete.
    f.t.SetDataReadOnly(true);
    m = MenuAt(f, f.GridCell(2, 0).center());
    ASSERT_NE(m, nullptr);
    EXPECT_FALSE(Item(m, 4)->isEnabled());
    EXPECT_FALSE(Item(m, 5)->isEnabled());
    CloseMenus(f);
    ntest::SetClipboard(QStringLiteral("1 2"));
    m = MenuAt(f, f.Cell(1, 1).center());
    ASSERT_NE(m, nullptr);
    EXPECT_FALSE(Item(m, 6)->isEnabled());
    EXPECT_FALSE(Item(m, 9)->isEnabled());
    CloseMenus(f);
}

TEST(NTabEdMenus, DataItemsMarkClearAndToggle)
{
    Editor f(3, 3);
    f.SelectBlock(2, 2, 3, 2);
    QMenu* m = f.t.DataPopupMenu();
    Item(m, 1)->menu()->actions().at(0)->trigger();   // mark A, range
    EXPECT_TRUE(f.t.ElemMarkedA(2, 2));
    EXPECT_TRUE(f.t.ElemMarkedA(3, 2));
    EXPECT_FALSE(f.t.ElemMarkedA(1, 2));
    Item(m, 2)->menu()->actions().at(1)->trigger();   // mark B, column
    EXPECT_EQ(f.t.NrOfMarkedDataB(), 6);
    EXPECT_FALSE(f.t.ElemMarkedB(1, 1));
    Item(m, 4)->menu()->actions().at(2)->trigger();   // unmark B, row
    EXPECT_EQ(f.t.NrOfMarkedDataB(), 4);
    Item(m, 3)->menu()->actions().at(3)->trigger();   // unmark A, all
    EXPECT_EQ(f.t.NrOfMarkedDataA(), 0);
    EXPECT_TRUE(f.t.IfColumnMarked(3));
    EXPECT_FALSE(f.t.IfRowMarked(2));
    Item(m, 5)->trigger();
    EXPECT_FALSE(f.t.IfAnyMarked());
    // Clear: replaced by OnClear, whose Sender is the item.
    f.t.SetElem(2, 2, 4);
    QObject* sender = nullptr;
    f.t.OnClear = [&](QObject* s) { sender = s; };
    Item(m, 6)->trigger();
    EXPECT_EQ(sender, Item(m, 6));
    EXPECT_EQ(f.t.Elem(2, 2), 4.0);
    f.t.OnClear = nullptr;
    Item(m, 6)->trigger();
    EXPECT_EQ(f.t.Elem(2, 2), 0.0);
    EXPECT_EQ(f.t.CellState(2, 2), 0);
    Item(m, 10)->trigger();
    EXPECT_TRUE(f.t.DataReadOnly());
    Item(m, 11)->trigger();
    EXPECT_EQ(f.t.Selection(), (TGridRect{2, 1, 4, 3}));
    Item(m, 12)->trigger();   // (1, 1) was empty from the start, (2, 2) was cleared
    EXPECT_FALSE(f.t.IsEmpty(1, 1));
    EXPECT_TRUE(f.t.IsEmpty(2, 2));
    Item(m, 13)->trigger();
    EXPECT_FALSE(f.t.IsEmpty(2, 2));
}

TEST(NTabEdMenus, HeadingItemsStepPrecisionSelectInsertAndDelete)
{
    Editor f(3, 2);
    QMenu* m = MenuAt(f, f.GridCell(3, 0).center());   // column 2
    ASSERT_NE(m, nullptr);
    int layouts = 0;
    f.t.OnLayoutChanged = [&](QObject*) { ++layouts; };
    for (int step = 0; step < 5; ++step) {
        Item(m, 2)->trigger();
        QApplication::processEvents();
        EXPECT_TRUE(m->isVisible());   // open again at the same cell
    }
    EXPECT_EQ(f.t.Precision(2), 10);   // 3, 2, 1, 0, -1, 10
    EXPECT_EQ(layouts, 5);
    Item(m, 3)->trigger();
    EXPECT_EQ(f.t.Selection(), (TGridRect{3, 1, 3, 2}));
    Item(m, 4)->trigger();
    EXPECT_EQ(f.t.NrOfColumns(), 4);
    EXPECT_EQ(f.t.ColName(2), QStringLiteral("(...)"));
    EXPECT_EQ(f.t.Precision(3), 10);   // the column moved on with its precision
    CloseMenus(f);
    m = MenuAt(f, f.GridCell(0, 1).center());   // row 1
    ASSERT_NE(m, nullptr);
    Item(m, 5)->trigger();
    EXPECT_EQ(f.t.NrOfRows(), 1);
    m = MenuAt(f, f.GridCell(0, 1).center());
    ASSERT_NE(m, nullptr);
    Item(m, 5)->trigger();   // the last row stays
    EXPECT_EQ(f.t.NrOfRows(), 1);
    CloseMenus(f);
}

TEST(NTabEdMenus, TheHeadingEditBoxStoresNamesAndAttributes)
{
    Editor f(2, 2);
    f.t.SetAttribColVisible(true);
    QMenu* m = MenuAt(f, f.GridCell(2, 0).center());
    ASSERT_NE(m, nullptr);
    int headings = 0;
    f.t.OnHeadingChanged = [&](QObject*) { ++headings; };
    Item(m, 1)->trigger();
    QLineEdit* edit = f.t.HeadingEditor();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->pos(), f.GridCell(2, 0).topLeft() + QPoint(30, 5));
    edit->setText(QString(60, QLatin1Char('n')));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(f.t.HeadingEditor(), nullptr);
    EXPECT_EQ(f.t.ColName(1), QString(50, QLatin1Char('n')));
    EXPECT_EQ(headings, 1);
    // The attribute row: a number is held to 0..255 and rounded; other text changes nothing.
    m = MenuAt(f, f.GridCell(2, 1).center());
    ASSERT_NE(m, nullptr);
    Item(m, 1)->trigger();
    edit = f.t.HeadingEditor();
    ASSERT_NE(edit, nullptr);
    edit->setText(QStringLiteral("300.4"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(f.t.ColAttrib(1), 255);
    m = MenuAt(f, f.GridCell(2, 1).center());
    ASSERT_NE(m, nullptr);
    Item(m, 1)->trigger();
    f.t.HeadingEditor()->setText(QStringLiteral("seven"));
    QTest::keyClick(f.t.HeadingEditor(), Qt::Key_Return);
    EXPECT_EQ(f.t.ColAttrib(1), 255);
    m = MenuAt(f, f.GridCell(1, 2).center());   // the attribute of row 1
    ASSERT_NE(m, nullptr);
    Item(m, 1)->trigger();
    f.t.HeadingEditor()->setText(QStringLiteral("12.6"));
    QTest::keyClick(f.t.HeadingEditor(), Qt::Key_Return);
    EXPECT_EQ(f.t.RowAttrib(1), 13);
    // Escape closes without storing.
    m = MenuAt(f, f.GridCell(0, 3).center());
    ASSERT_NE(m, nullptr);
    Item(m, 1)->trigger();
    f.t.HeadingEditor()->setText(QStringLiteral("kept?"));
    QTest::keyClick(f.t.HeadingEditor(), Qt::Key_Escape);
    EXPECT_EQ(f.t.RowName(2), QString());
    EXPECT_EQ(f.t.HeadingEditor(), nullptr);
}

TEST(NTabEdMenus, TheCommentMemoOpensOnTheTopLeftCell)
{
    Editor f(2, 2);
    f.t.SetComment(QStringLiteral("old"));
    f.RightPress(f.GridCell(0, 0).center());
    QPlainTextEdit* memo = f.t.CommentEditor();
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("old"));
    EXPECT_EQ(memo->geometry(), QRect(f.t.ColWidths(0) + 1, 0, f.t.width() - f.t.ColWidths(0) - 20, 80));
    EXPECT_EQ(FromQColor(memo->palette().color(QPalette::Base)), 0x808000);
    // The top-left cell says so, white on teal.
    const QImage img = f.Img();
    EXPECT_EQ(qortest::PixelAt(img, 1, 1), 0x808000);
    memo->setPlainText(QStringLiteral("new"));
    int changes = 0;
    f.t.OnChange = [&](QObject*) { ++changes; };
    QTest::keyClick(memo, Qt::Key_Return);
    EXPECT_EQ(f.t.Comment(), QStringLiteral("new"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(f.t.CommentEditor(), nullptr);
    // A press on the top-left cell closes it without storing.
    f.RightPress(f.GridCell(0, 0).center());
    ASSERT_NE(f.t.CommentEditor(), nullptr);
    f.t.CommentEditor()->setPlainText(QStringLiteral("dropped"));
    f.Click(f.GridCell(0, 0).center());
    EXPECT_EQ(f.t.CommentEditor(), nullptr);
    EXPECT_EQ(f.t.Comment(), QStringLiteral("new"));
    f.t.SetCommentEditingAllowed(false);
    f.RightPress(f.GridCell(0, 0).center());
    EXPECT_EQ(f.t.CommentEditor(), nullptr);
}

TEST(NTabEdMenus, ClipboardKeysActOnTheSelection)
{
    Editor f(2, 2);
    f.t.SetElem(1, 1, 1);
    f.t.SetElem(2, 1, 2);
    f.t.SetClipboardUseFullPrec(false);
    f.t.SetPrecision(1, 0);
    f.t.SetPrecision(2, 0);
    f.SelectBlock(1, 1, 2, 1);
    f.Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(ntest::Clipboard(), QStringLiteral(" 1\t2\r\n"));
    f.SelectCell(1, 2);
    f.Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(f.t.Elem(2, 2), 2.0);
    ntest::SetClipboard(QStringLiteral("8 9"));
    f.SelectCell(1, 1);
    f.Key(Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(f.t.Elem(2, 1), 9.0);
    f.Key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(f.t.Selection(), (TGridRect{2, 1, 3, 2}));
}
