// Shared fixture of the table editor tests.
#pragma once

#include <QApplication>
#include <QClipboard>
#include <QTest>

#include <QOR_ntabed.h>

#include "test_support.h"

namespace ntest {

// A shown editor without frame and scroll bars, so client and widget coordinates agree.
struct Editor {
    qor::TNTabEd t;
    explicit Editor(int cols = 3, int rows = 4, int w = 400, int h = 300)
    {
        t.SetBorderStyle(qor::bsNone);
        t.SetScrollBars(qor::ssNone);
        t.resize(w, h);
        t.Redimension(cols, rows);
        t.show();
        t.activateWindow();
        t.setFocus();
        QApplication::processEvents();
    }
    QImage Img()
    {
        t.RenderNow();
        return t.Surface()->Image().copy();
    }
    // The rectangle of a data cell (data indices) and of a grid cell.
    QRect Cell(int c, int r) const
    {
        return t.CellRect(c + (t.AttribRowVisible() ? 1 : 0), r + (t.AttribColVisible() ? 1 : 0));
    }
    QRect GridCell(int gc, int gr) const { return t.CellRect(gc, gr); }
    void Click(QPoint p, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        QTest::mouseClick(t.viewport(), b, m, p);
    }
    void ClickCell(int c, int r) { Click(Cell(c, r).center()); }
    void Key(int k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(&t, Qt::Key(k), m); }
    // Moves the cursor to a data cell and types text into a fresh editor there.
    void Type(int c, int r, const QString& text)
    {
        SelectCell(c, r);
        QTest::keyClicks(&t, text.left(1));
        if (text.size() > 1)
            QTest::keyClicks(QApplication::focusWidget(), text.mid(1));   // the line edit or the pick list
    }
    void SelectCell(int c, int r) { SelectBlock(c, r, c, r); }
    void SelectBlock(int l, int tp, int rt, int b)
    {
        const int dc = t.AttribRowVisible() ? 1 : 0, dr = t.AttribColVisible() ? 1 : 0;
        t.SetSelection(qor::TGridRect{l + dc, tp + dr, rt + dc, b + dr});
    }
    // A right press at a point of the viewport, through the window system, which sends the
    // context-menu event with it.
    void RightPress(QPoint p)
    {
        QWidget* top = t.window();
        const QPoint at = t.viewport()->mapTo(top, p);
        QTest::mousePress(top->windowHandle(), Qt::RightButton, Qt::NoModifier, at);
        QTest::mouseRelease(top->windowHandle(), Qt::RightButton, Qt::NoModifier, at);
    }
};

inline void SetClipboard(const QString& s) { QGuiApplication::clipboard()->setText(s); }
inline QString Clipboard() { return QGuiApplication::clipboard()->text(); }

} // namespace ntest
