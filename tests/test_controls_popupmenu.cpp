// The host's PopupMenu: the menu every component shows on the context-menu event.
#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>

#include <QOR_Grids.h>
#include <QOR_NumIO.h>
#include <QOR_ProgBar.h>

using namespace qor;

namespace {

// Sends a mouse context-menu event at p to w; true when the host accepted it.
bool ContextMenuAt(QWidget* w, QPoint p)
{
    QContextMenuEvent e(QContextMenuEvent::Mouse, p, w->mapToGlobal(p));
    QApplication::sendEvent(w, &e);
    return e.isAccepted();
}

template <class Control>
void ExpectMenuShownBy(Control& c, QWidget* eventTarget)
{
    c.resize(120, 80);
    c.show();
    QMenu menu;
    menu.addAction(QStringLiteral("Item"));
    c.SetPopupMenu(&menu);
    EXPECT_EQ(c.PopupMenu(), &menu);
    ASSERT_TRUE(ContextMenuAt(eventTarget, QPoint(10, 12)));
    EXPECT_TRUE(menu.isVisible());
    menu.hide();

    // A handled OnContextPopup keeps the menu closed.
    int popups = 0;
    c.OnContextPopup = [&](QObject*, QPoint p, bool& handled) {
        EXPECT_EQ(p, QPoint(10, 12));
        handled = true;
        ++popups;
    };
    ContextMenuAt(eventTarget, QPoint(10, 12));
    EXPECT_EQ(popups, 1);
    EXPECT_FALSE(menu.isVisible());
    c.OnContextPopup = nullptr;
}

} // namespace

TEST(ControlPopupMenu, EveryBaseShowsItsPopupMenuUnlessTheEventTakesIt)
{
    TProgBar bar;
    ExpectMenuShownBy(bar, &bar);
    TNumIO edit;
    ExpectMenuShownBy(edit, &edit);
    TDrawGrid grid;
    ExpectMenuShownBy(grid, grid.viewport());
}

TEST(ControlPopupMenu, AMenuDeletedElsewhereReadsAsNone)
{
    TProgBar bar;
    auto* menu = new QMenu;
    bar.SetPopupMenu(menu);
    delete menu;
    EXPECT_EQ(bar.PopupMenu(), nullptr);
    EXPECT_FALSE(ContextMenuAt(&bar, QPoint(2, 2)));   // nothing to show: left to Qt
}
