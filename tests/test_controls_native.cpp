// The host over Qt widgets that have behaviour of their own: a combo box opens and steps, a tool
// button presses and clicks, a tree selects and expands exactly as the plain Qt widgets do, and
// the classic handlers run beside them. Owner-drawn items draw through TCanvas.
#include <gtest/gtest.h>

#include <QOR_Controls.h>
#include "test_support.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>
#include <QWheelEvent>

using namespace qor;

namespace {

using NativeCombo = TControlHost<QComboBox>;
using NativeButton = TControlHost<QToolButton>;
using NativeTree = TControlHost<QTreeWidget>;

void FillCombo(QComboBox& c)
{
    c.addItems({QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")});
    c.resize(120, 26);
    c.show();
    QApplication::setActiveWindow(&c);
    c.setFocus();
}

void SendWheel(QWidget* w, int delta)
{
    const QPointF pos(10, 10);
    QWheelEvent e(pos, w->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

TEST(NativeHost, AComboBoxOpensOnAPressAndTheClassicHandlerSeesIt)
{
    NativeCombo combo(nullptr, clWindow);
    FillCombo(combo);
    int downs = 0;
    bool openAtDown = false;
    combo.OnMouseDown = [&](QObject* s, TMouseButton b, TShiftState, int x, int y) {
        EXPECT_EQ(s, &combo);
        EXPECT_EQ(b, mbLeft);
        EXPECT_EQ(QPoint(x, y), QPoint(30, 12));
        openAtDown = combo.view()->isVisible();
        ++downs;
    };
    QTest::mousePress(&combo, Qt::LeftButton, {}, QPoint(30, 12));
    EXPECT_EQ(downs, 1);
    EXPECT_TRUE(openAtDown);   // the widget's press ran first
    EXPECT_TRUE(combo.view()->isVisible());
    combo.hidePopup();
    EXPECT_FALSE(combo.view()->isVisible());
}

TEST(NativeHost, AComboBoxStepsWithKeysAndWheelUnlessAHandlerTakesThem)
{
    NativeCombo combo(nullptr, clWindow);
    FillCombo(combo);
    QList<WORD> keys;
    int clicks = 0;
    QSignalSpy activated(&combo, &QComboBox::activated);
    combo.OnKeyDown = [&](QObject*, WORD& key, TShiftState) { keys << key; };
    combo.OnClick = [&](QObject*) {
        EXPECT_EQ(activated.count(), clicks);   // the handler runs before the signal's receivers
        ++clicks;
    };
    QTest::keyClick(&combo, Qt::Key_Down);
    EXPECT_EQ(combo.currentIndex(), 1);
    EXPECT_EQ(keys, QList<WORD>{VK_DOWN});
    EXPECT_EQ(clicks, 1);   // a selection by keyboard is a click of the combo box
    EXPECT_EQ(activated.count(), 1);

    // A key the handler uses stays with it.
    combo.OnKeyDown = [&](QObject*, WORD& key, TShiftState) { key = 0; };
    QTest::keyClick(&combo, Qt::Key_Down);
    EXPECT_EQ(combo.currentIndex(), 1);
    EXPECT_EQ(clicks, 1);

    // A key neither the handlers nor the widget use travels on.
    combo.OnKeyDown = nullptr;
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&combo, &escape);
    EXPECT_FALSE(escape.isAccepted());

    // The wheel steps the box (a click too) unless the handler takes it.
    SendWheel(&combo, -120);
    EXPECT_EQ(combo.currentIndex(), 2);
    EXPECT_EQ(clicks, 2);
    combo.OnMouseWheel = [](QObject*, TShiftState, int, QPoint, bool& handled) { handled = true; };
    SendWheel(&combo, 120);
    EXPECT_EQ(combo.currentIndex(), 2);
}

TEST(NativeHost, AToolButtonClicksOnceAfterTheMouseUpAsAPlainOneDoes)
{
    NativeButton button(nullptr, clBtnFace);
    button.resize(40, 30);
    button.show();
    QStringList order;
    button.OnMouseDown = [&](QObject*, TMouseButton, TShiftState, int, int) {
        order << (button.isDown() ? QStringLiteral("down(pressed)") : QStringLiteral("down"));
    };
    button.OnMouseUp = [&](QObject*, TMouseButton, TShiftState, int, int) { order << QStringLiteral("up"); };
    button.OnClick = [&](QObject* s) {
        EXPECT_EQ(s, &button);
        order << QStringLiteral("click");
    };
    QSignalSpy clicked(&button, &QAbstractButton::clicked);
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(20, 15));
    EXPECT_EQ(order, (QStringList{QStringLiteral("down(pressed)"), QStringLiteral("up"), QStringLiteral("click")}));
    EXPECT_EQ(clicked.count(), 1);

    // Released outside: no click, as with Qt's own button.
    order.clear();
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(20, 15));
    QTest::mouseMove(&button, QPoint(80, 15));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(80, 15));
    EXPECT_EQ(order, (QStringList{QStringLiteral("down(pressed)"), QStringLiteral("up")}));
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_FALSE(button.isDown());

    // The keyboard presses it too; the key handlers see the key first.
    QList<WORD> keys;
    button.OnKeyDown = [&](QObject*, WORD& key, TShiftState) { keys << key; };
    QApplication::setActiveWindow(&button);
    button.setFocus();
    order.clear();
    QTest::keyClick(&button, Qt::Key_Space);
    EXPECT_EQ(keys, QList<WORD>{VK_SPACE});
    EXPECT_EQ(order, QStringList{QStringLiteral("click")});
    EXPECT_EQ(clicked.count(), 2);
}

TEST(NativeHost, ADoubleClickOnAToolButtonIsQtsOwnAndOneClassicDoubleClick)
{
    QToolButton plain;
    plain.resize(40, 30);
    plain.show();
    QSignalSpy plainClicks(&plain, &QAbstractButton::clicked);
    // Through the window system: press, release, press (a double click), release.
    QTest::mouseDClick(plain.windowHandle(), Qt::LeftButton, {}, QPoint(20, 15));
    ASSERT_EQ(plainClicks.count(), 2);

    NativeButton button(nullptr, clBtnFace);
    button.resize(40, 30);
    button.show();
    QSignalSpy clicks(&button, &QAbstractButton::clicked);
    int downs = 0, doubleDowns = 0, doubles = 0, onClicks = 0;
    button.OnMouseDown = [&](QObject*, TMouseButton, TShiftState s, int, int) {
        ++downs;
        doubleDowns += s.Contains(ssDouble);
    };
    button.OnDblClick = [&](QObject*) { ++doubles; };
    button.OnClick = [&](QObject*) { ++onClicks; };
    QTest::mouseDClick(button.windowHandle(), Qt::LeftButton, {}, QPoint(20, 15));
    EXPECT_EQ(clicks.count(), plainClicks.count());
    EXPECT_EQ(onClicks, clicks.count());
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(doubleDowns, 1);
    EXPECT_EQ(downs, 2);   // the first press, and the second as a double click
    EXPECT_FALSE(button.isDown());
}

TEST(NativeHost, ATreeSelectsAndExpandsAndTheClassicHandlersGetViewportPoints)
{
    NativeTree tree(nullptr, clWindow);
    tree.setHeaderHidden(true);
    auto* first = new QTreeWidgetItem(&tree, {QStringLiteral("first")});
    auto* second = new QTreeWidgetItem(&tree, {QStringLiteral("second")});
    new QTreeWidgetItem(second, {QStringLiteral("child")});
    tree.resize(200, 150);
    tree.show();
    QApplication::setActiveWindow(&tree);
    ASSERT_NE(first, nullptr);
    const QPoint at = tree.visualItemRect(second).center();
    QPoint down(-1, -1);
    int clicks = 0, doubles = 0;
    tree.OnMouseDown = [&](QObject*, TMouseButton, TShiftState, int x, int y) { down = QPoint(x, y); };
    tree.OnClick = [&](QObject*) { ++clicks; };
    tree.OnDblClick = [&](QObject*) { ++doubles; };
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(tree.currentItem(), second);
    EXPECT_EQ(down, at);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(second->isExpanded());
    QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, at);
    EXPECT_TRUE(second->isExpanded());
    EXPECT_EQ(doubles, 1);
}

// ---------------------------------------------------------------------------------------------
// Owner-drawn items

// Paints one item through the delegate onto an image of the given device pixel ratio.
QImage PaintItem(TCanvasItemDelegate& d, qreal dpr, QStyle::State state, const QSize& size = QSize(40, 16))
{
    QImage img(size * dpr, QImage::Format_RGB32);
    img.setDevicePixelRatio(dpr);
    img.fill(Qt::black);
    QStandardItemModel model(3, 1);
    QStyleOptionViewItem opt;
    opt.rect = QRect(QPoint(0, 0), size);
    opt.state = state;
    opt.palette.setColor(QPalette::Base, Qt::white);
    opt.palette.setColor(QPalette::Highlight, QColor(0, 0, 0x80));
    QPainter p(&img);
    d.paint(&p, opt, model.index(2, 0));
    p.end();
    return img;
}

TEST(NativeHost, OwnerDrawnItemsDrawThroughTheCanvasCrispAtAnyRatio)
{
    int index = -1;
    TOwnerDrawState seen;
    QRect rect;
    TCanvasItemDelegate d([&](TCanvas* c, int i, const QRect& r, TOwnerDrawState s) {
        index = i;
        seen = s;
        rect = r;
        c->Brush()->SetColor(clRed);
        c->Pen()->SetColor(clRed);
        c->Rectangle(r.left() + 2, r.top() + 3, r.left() + 12, r.bottom() + 1 - 3);
    });
    const QImage one = PaintItem(d, 1.0, QStyle::State_Enabled);
    EXPECT_EQ(index, 2);
    EXPECT_EQ(rect, QRect(0, 0, 40, 16));
    EXPECT_TRUE(seen.Empty());
    EXPECT_EQ(qortest::PixelAt(one, 0, 0), clWhite);    // the background came first
    EXPECT_EQ(qortest::PixelAt(one, 2, 3), clRed);
    EXPECT_EQ(qortest::PixelAt(one, 11, 12), clRed);
    EXPECT_EQ(qortest::PixelAt(one, 12, 12), clWhite);
    EXPECT_EQ(qortest::PixelAt(one, 11, 13), clWhite);

    // At ratio 2 every logical pixel is two by two device pixels, nothing blended.
    const QImage two = PaintItem(d, 2.0, QStyle::State_Enabled);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 80; ++x) {
            const TColor want = qortest::PixelAt(one, x / 2, y / 2);
            ASSERT_EQ(qortest::PixelAt(two, x, y), want) << x << "," << y;
        }

    // A selected item starts on the highlight; a disabled one is greyed.
    const QImage sel = PaintItem(d, 1.0, QStyle::State_Enabled | QStyle::State_Selected | QStyle::State_HasFocus);
    EXPECT_TRUE(seen.Contains(odSelected));
    EXPECT_TRUE(seen.Contains(odFocused));
    EXPECT_EQ(qortest::PixelAt(sel, 0, 0), RGB(0, 0, 0x80));
    PaintItem(d, 1.0, QStyle::State_None);
    EXPECT_TRUE(seen.Contains(odDisabled));
    EXPECT_TRUE(seen.Contains(odGrayed));

    d.SetItemHeight(21);
    EXPECT_EQ(d.sizeHint(QStyleOptionViewItem(), QModelIndex()).height(), 21);
}

TEST(NativeHost, AnExceptionFromOwnerDrawingGoesToTheHandler)
{
    int handled = 0;
    SetExceptionHandler([&](const std::exception&) { ++handled; });
    TCanvasItemDelegate d([](TCanvas*, int, const QRect&, TOwnerDrawState) { throw EConvertError(QStringLiteral("x")); });
    const QImage img = PaintItem(d, 1.0, QStyle::State_Enabled);
    SetExceptionHandler({});
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(qortest::PixelAt(img, 5, 5), clWhite);
}

} // namespace
