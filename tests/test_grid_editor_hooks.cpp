// Draw grid: what the in-place editor hands on to the grid and its subclasses: Escape's
// restore hook, Enter reaching the key handlers, the pick list's drop-down count.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <QOR_Grids.h>

using namespace qor;

namespace {

// A grid of texts with column 2 edited through a pick list; it records the restore hook.
class HookGrid : public TDrawGrid {
public:
    HookGrid()
    {
        SetBorderStyle(bsNone);
        resize(300, 200);
        SetOptions(Options() | goEditing);
        OnGetEditText = [this](QObject*, int, int, QString& v) { v = Stored; };
        OnSetEditText = [this](QObject*, int, int, const QString& v) { Stored = v; };
        show();
        setFocus();
        QApplication::processEvents();
    }
    QString Stored = QStringLiteral("alpha");
    QStringList Restored;
protected:
    TEditStyle GetEditStyle(int ACol, int) override { return ACol == 2 ? esPickList : esSimple; }
    QStringList GetPickListItems(int, int) override { return {"a", "b", "c", "d", "e"}; }
    void RestoreEditCell(int ACol, int ARow, const QString& OriginalText) override
    {
        Restored << QStringLiteral("%1,%2:%3").arg(ACol).arg(ARow).arg(OriginalText);
        TDrawGrid::RestoreEditCell(ACol, ARow, OriginalText);
    }
};

} // namespace

TEST(GridEditorHooks, EscapeRestoresThroughTheHookOnlyAfterAWrite)
{
    HookGrid g;
    QTest::keyClick(&g, Qt::Key_F2);
    ASSERT_TRUE(g.EditorMode());
    QTest::keyClick(g.InplaceEditor(), Qt::Key_Escape);
    EXPECT_TRUE(g.Restored.isEmpty());   // nothing written, nothing to restore
    QTest::keyClick(&g, Qt::Key_F2);
    QTest::keyClicks(g.InplaceEditor(), "zz");
    EXPECT_EQ(g.Stored, "zz");
    QTest::keyClick(g.InplaceEditor(), Qt::Key_Escape);
    EXPECT_FALSE(g.EditorMode());
    EXPECT_EQ(g.Restored, QStringList{"1,1:alpha"});
    EXPECT_EQ(g.Stored, "alpha");
}

TEST(GridEditorHooks, EnterClosesTheEditorAndReachesTheKeyHandlers)
{
    HookGrid g;
    std::vector<int> downs;
    QString presses;
    g.OnKeyDown = [&](QObject*, WORD& k, TShiftState) { downs.push_back(k); };
    g.OnKeyPress = [&](QObject*, QChar& c) { presses += c; };
    QTest::keyClick(&g, Qt::Key_F2);
    downs.clear();
    QTest::keyClicks(g.InplaceEditor(), "new");
    QTest::keyClick(g.InplaceEditor(), Qt::Key_Return);
    EXPECT_FALSE(g.EditorMode());   // not opened again by the grid's Enter
    EXPECT_EQ(g.Stored, "new");
    EXPECT_EQ(downs, std::vector<int>{VK_RETURN});
    EXPECT_EQ(presses, QString(QChar(13)));
    EXPECT_TRUE(g.hasFocus());
    // Without an editor Enter opens one, as before.
    QTest::keyClick(&g, Qt::Key_Return);
    EXPECT_TRUE(g.EditorMode());

    // The pick list hands Enter on the same way.
    QTest::keyClick(g.InplaceEditor(), Qt::Key_Escape);
    g.SetCol(2);
    QTest::keyClick(&g, Qt::Key_F2);
    auto* box = g.viewport()->findChild<QComboBox*>();
    ASSERT_NE(box, nullptr);
    downs.clear();
    box->setCurrentIndex(3);
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    EXPECT_FALSE(g.EditorMode());
    EXPECT_EQ(g.Stored, "d");
    EXPECT_EQ(downs, std::vector<int>{VK_RETURN});
}

TEST(GridEditorHooks, PickListDropsDownTheRowsAsked)
{
    HookGrid g;
    EXPECT_EQ(g.PickListDropDownCount(), 8);
    g.SetPickListDropDownCount(0);
    EXPECT_EQ(g.PickListDropDownCount(), 1);
    g.SetPickListDropDownCount(3);
    g.SetCol(2);
    QTest::keyClick(&g, Qt::Key_F2);
    auto* box = g.viewport()->findChild<QComboBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->maxVisibleItems(), 3);
    g.SetPickListDropDownCount(4);   // also while it is open
    EXPECT_EQ(box->maxVisibleItems(), 4);
}
