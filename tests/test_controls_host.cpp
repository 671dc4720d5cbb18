// The rules the control host owns for every component: keys that travel on, events every base
// forwards, rendering again on look changes, the exception guard, transparent surfaces,
// accessibility and the configuration phase of forms.
#include <gtest/gtest.h>

#include <QOR_Controls.h>
#include <QOR_Grids.h>
#include <QOR_Meter.h>
#include <QOR_NumIO2.h>
#include <QOR_NumIOEdit.h>
#include <QOR_replist.h>
#include "test_support.h"

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

using namespace qor;

namespace {

// A dialog with an OK (default) and a Cancel button around one field.
struct DialogWith {
    QDialog dialog;
    QPushButton* ok;
    QPushButton* cancel;
    explicit DialogWith(QWidget* field)
    {
        auto* lay = new QVBoxLayout(&dialog);
        field->setParent(&dialog);
        lay->addWidget(field);
        ok = new QPushButton(QStringLiteral("OK"), &dialog);
        cancel = new QPushButton(QStringLiteral("Cancel"), &dialog);
        lay->addWidget(ok);
        lay->addWidget(cancel);
        ok->setDefault(true);
        QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
        QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        field->setFocus();
    }
};

TEST(ControlHost, EnterAndEscapeInAFocusedFieldReachTheDialogButtons)
{
    {
        auto* field = new TNumIO2;
        DialogWith d(field);
        ASSERT_TRUE(field->hasFocus());
        QTest::keyClick(field, Qt::Key_7);
        EXPECT_EQ(field->Text(), QStringLiteral("7"));   // the field still types
        QTest::keyClick(field, Qt::Key_Return);
        EXPECT_EQ(d.dialog.result(), QDialog::Accepted);
    }
    {
        auto* field = new TNumIO2;
        DialogWith d(field);
        QTest::keyClick(field, Qt::Key_Escape);
        EXPECT_EQ(d.dialog.result(), QDialog::Rejected);
        EXPECT_FALSE(d.dialog.isVisible());
    }
    {
        // A grid without editing has no use for Enter either.
        auto* grid = new TDrawGrid;
        grid->resize(200, 100);
        DialogWith d(grid);
        QTest::keyClick(grid, Qt::Key_Down);
        EXPECT_EQ(grid->Row(), 2);   // a key it uses stays with it
        QTest::keyClick(grid, Qt::Key_Return);
        EXPECT_EQ(d.dialog.result(), QDialog::Accepted);
    }
}

TEST(ControlHost, KeypadKeysTranslateToTheirOwnCodes)
{
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_5, Qt::KeypadModifier), WORD(VK_NUMPAD0 + 5));
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_5), WORD('5'));
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Comma, Qt::KeypadModifier), VK_DECIMAL);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Period, Qt::KeypadModifier), VK_DECIMAL);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Plus, Qt::KeypadModifier), VK_ADD);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Minus, Qt::KeypadModifier), VK_SUBTRACT);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Asterisk, Qt::KeypadModifier), VK_MULTIPLY);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Slash, Qt::KeypadModifier), VK_DIVIDE);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Minus), VK_OEM_MINUS);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Home, Qt::KeypadModifier), VK_HOME);

    TNumIO2 f;
    f.SetInputFormat(itFloat);
    f.show();
    f.SetFocus();
    QTest::keyClick(&f, Qt::Key_5, Qt::KeypadModifier);
    QTest::keyClick(&f, Qt::Key_Comma, Qt::KeypadModifier);
    QTest::keyClick(&f, Qt::Key_2, Qt::KeypadModifier);
    EXPECT_EQ(f.Text(), QStringLiteral("5,2"));
}

TEST(ControlHost, EveryBaseForwardsWheelEnterLeaveAndContextMenu)
{
    TNumIO edit;
    edit.resize(80, 24);
    edit.show();
    int wheels = 0, enters = 0, leaves = 0, popups = 0;
    edit.OnMouseWheel = [&](QObject* s, TShiftState, int delta, QPoint, bool& handled) {
        EXPECT_EQ(s, &edit);
        EXPECT_EQ(delta, -120);
        handled = true;
        ++wheels;
    };
    edit.OnMouseEnter = [&](QObject*) { ++enters; };
    edit.OnMouseLeave = [&](QObject*) { ++leaves; };
    edit.OnContextPopup = [&](QObject*, QPoint p, bool& handled) {
        EXPECT_EQ(p, QPoint(5, 6));
        handled = true;   // the edit's own menu does not open
        ++popups;
    };
    QSignalSpy entered(&edit, &TNumIO::mouseEntered);
    QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&edit, &wheel);
    QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
    QApplication::sendEvent(&edit, &enter);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&edit, &leave);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(5, 6), edit.mapToGlobal(QPoint(5, 6)));
    QApplication::sendEvent(&edit, &menu);
    EXPECT_EQ(wheels, 1);
    EXPECT_TRUE(wheel.isAccepted());
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(entered.count(), 1);
    EXPECT_EQ(leaves, 1);
    EXPECT_EQ(popups, 1);

    // An unhandled wheel goes on to the parent.
    TMeter meter;
    QWheelEvent free(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(&meter, &free);
    EXPECT_FALSE(free.isAccepted());
}

// Renders the widget, changes the application palette's button face, renders again.
QImage RenderWithButtonFace(QWidget* w, const QColor& face)
{
    QPalette pal = QApplication::palette();
    pal.setColor(QPalette::Button, face);
    QApplication::setPalette(pal);
    QCoreApplication::sendPostedEvents();   // the palette reaches the widgets as posted events
    return qortest::Render(w);
}

TEST(ControlHost, APaletteChangeRendersEveryComponentAgain)
{
    const QPalette saved = QApplication::palette();
    TMeter meter;                 // the cover around the dial is clBtnFace
    TNumIO2 field;                // the area outside the box is clBtnFace
    field.SetLeftText(QString());
    TReportListView list;         // the column headers are clBtnFace
    list.resize(200, 100);
    TCustomControl plain;         // the default fill is clBtnFace
    plain.resize(20, 20);
    struct Probe {
        QWidget* w;
        QPoint at;
    } probes[] = {{&meter, {3, 100}}, {&field, {3, 3}}, {&list, {30, 8}}, {&plain, {10, 10}}};
    for (const Probe& p : probes) {
        RenderWithButtonFace(p.w, QColor(0x11, 0x22, 0x33));
        const QImage after = RenderWithButtonFace(p.w, QColor(0x44, 0x55, 0x66));
        EXPECT_EQ(qortest::PixelAt(after, p.at.x(), p.at.y()), RGB(0x44, 0x55, 0x66)) << p.w->metaObject()->className();
    }
    QApplication::setPalette(saved);
}

TEST(ControlHost, FontKeptInStepBothWaysWithARepaint)
{
    TDrawGrid grid;
    grid.resize(120, 80);
    int paints = 0;
    grid.OnDrawCell = [&](QObject*, int, int, QRect, TGridDrawState) { ++paints; };
    qortest::Render(&grid);
    const int before = paints;
    grid.Font()->SetColor(clRed);
    qortest::Render(&grid);
    EXPECT_GT(paints, before);   // a colour change alone renders again
    grid.Font()->SetSize(14);
    EXPECT_EQ(grid.font().pixelSize(), -grid.Font()->Height());
    EXPECT_EQ(grid.Font()->Height(), -19);   // 14 points at 96 dpi
    QFont f = grid.font();
    f.setPixelSize(10);
    grid.setFont(f);
    EXPECT_EQ(grid.Font()->Height(), -10);
    EXPECT_EQ(grid.Font()->Color(), clRed);   // the Qt font has no colour: the TFont keeps its own
}

class Thrower : public TCustomControl {
public:
    bool failPaint = false;
protected:
    void Paint() override
    {
        if (failPaint)
            throw EQORError(QStringLiteral("paint failed"));
        TCustomControl::Paint();
    }
    void MouseDown(TMouseButton, TShiftState, int, int) override { throw EQORError(QStringLiteral("click failed")); }
};

TEST(ControlHost, ExceptionsFromPaintAndHandlersGoToTheHandler)
{
    QStringList seen;
    SetExceptionHandler([&](const std::exception& e) { seen << QString::fromUtf8(e.what()); });
    Thrower t;
    t.resize(20, 20);
    t.failPaint = true;
    qortest::Render(&t);
    t.show();
    QTest::mouseClick(&t, Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
    SetExceptionHandler(nullptr);
    EXPECT_EQ(seen, QStringList({"paint failed", "click failed"}));
    t.failPaint = false;
    t.Invalidate();
    EXPECT_EQ(qortest::PixelAt(qortest::Render(&t), 5, 5), ColorToRGB(clBtnFace));   // it recovers
}

class Spot : public TCustomControl {
public:
    using TCustomControl::SetTransparentSurface;
protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(clLime);
        Canvas()->FillRect(4, 4, 8, 8);
    }
};

TEST(ControlHost, TransparentSurfaceLetsTheParentShowThrough)
{
    QWidget parent;
    parent.resize(40, 40);
    parent.setAutoFillBackground(true);
    QPalette pal = parent.palette();
    pal.setColor(QPalette::Window, QColor(0xAA, 0x00, 0x55));
    parent.setPalette(pal);
    auto* spot = new Spot;
    spot->setParent(&parent);
    spot->setGeometry(10, 10, 20, 20);
    spot->SetColor(clBlue);

    QImage shot = qortest::Render(&parent);
    EXPECT_EQ(qortest::PixelAt(shot, 15, 15), clLime);
    EXPECT_EQ(qortest::PixelAt(shot, 25, 25), clBlue);   // opaque: the control's own colour
    spot->SetTransparentSurface(true);
    EXPECT_TRUE(spot->TransparentSurface());
    shot = qortest::Render(&parent);
    EXPECT_EQ(qortest::PixelAt(shot, 15, 15), clLime);
    EXPECT_EQ(qortest::PixelAt(shot, 25, 25), RGB(0xAA, 0x00, 0x55));
    EXPECT_EQ(qortest::PixelAt(shot, 11, 11), RGB(0xAA, 0x00, 0x55));
}

TEST(ControlHost, AccessibilityReadsValuesTextsAndCells)
{
    TMeter meter;
    meter.SetMeterMaxValue(200);
    meter.SetValue(42.5);
    QAccessibleInterface* m = QAccessible::queryAccessibleInterface(&meter);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->role(), QAccessible::ProgressBar);
    EXPECT_EQ(m->valueInterface(), nullptr);   // a display offers no steps
    EXPECT_EQ(m->text(QAccessible::Value), QStringLiteral("42.5"));
    EXPECT_TRUE(m->state().readOnly);

    TNumIO2 field;
    field.SetText(QStringLiteral("12.5"));
    QAccessibleInterface* f = QAccessible::queryAccessibleInterface(&field);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->role(), QAccessible::SpinBox);
    EXPECT_EQ(f->text(QAccessible::Value), QStringLiteral("12.5"));
    f->valueInterface()->setCurrentValue(7.0);
    EXPECT_EQ(field.Value(), 7.0);

    TNumIO edit;
    edit.SetRangeHigh(100);
    edit.setText(QStringLiteral("42.5"));
    QAccessibleInterface* e = QAccessible::queryAccessibleInterface(&edit);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->role(), QAccessible::EditableText);
    ASSERT_NE(e->valueInterface(), nullptr);
    EXPECT_EQ(e->valueInterface()->currentValue().toDouble(), 42.5);
    ASSERT_NE(e->textInterface(), nullptr);   // the line edit's caret and text stay readable
    EXPECT_EQ(e->textInterface()->characterCount(), 4);
    EXPECT_EQ(e->textInterface()->text(0, 2), QStringLiteral("42"));

    TReportListView list;
    list.resize(300, 150);
    list.SetNrOfColumns(3);
    list.SetNrOfRows(2);
    list.SetHeader(1, QStringLiteral("Name"));
    list.SetElem(1, 2, QStringLiteral("Smith"));
    list.SetElem(2, 2, QStringLiteral("secret"));
    list.SetColumnIsPwd(2, true);
    list.SetColumnCheckMode(3, cmBox);
    list.SetElemChecked(3, 2, true);
    QAccessibleInterface* t = QAccessible::queryAccessibleInterface(&list);
    ASSERT_NE(t, nullptr);
    QAccessibleTableInterface* table = t->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->columnCount(), 3);
    EXPECT_EQ(table->columnDescription(0), QStringLiteral("Name"));
    EXPECT_EQ(table->cellAt(1, 0)->text(QAccessible::Name), QStringLiteral("Smith"));
    EXPECT_EQ(table->cellAt(1, 1)->text(QAccessible::Name), QStringLiteral("******"));   // a password gives its mask
    EXPECT_TRUE(table->cellAt(1, 2)->state().checkable);
    EXPECT_TRUE(table->cellAt(1, 2)->state().checked);
    EXPECT_FALSE(table->cellAt(0, 2)->state().checked);
    EXPECT_EQ(table->cellAt(5, 0), nullptr);
    EXPECT_EQ(table->cellAt(1, 0)->tableCellInterface()->rowIndex(), 1);
}

TEST(ControlHost, AFormLoadsTheSameWhateverOrderItsPropertiesComeIn)
{
    // A form writes through the Qt-style setters; value first, range second.
    TMeter meter;
    ASSERT_TRUE(meter.Configuring());
    meter.setProperty("Value", 42.0);
    meter.setProperty("MeterMaxValue", 100.0);
    EXPECT_EQ(meter.Value(), 42.0);
    TNumIO2 field;
    field.setProperty("Value", 900.0);
    field.setProperty("RangeHigh", 2000.0);
    field.setProperty("InputFormat", QVariant::fromValue(itFixPoint));
    EXPECT_EQ(field.Value(), 900.0);

    // Once the component is shown, a narrowed range clamps as always.
    meter.show();
    EXPECT_FALSE(meter.Configuring());
    meter.setProperty("MeterMaxValue", 10.0);
    meter.setProperty("MeterMaxValue", 100.0);
    EXPECT_EQ(meter.Value(), 10.0);

    // The event loop ends the phase too.
    TMeter later;
    QCoreApplication::processEvents();
    EXPECT_FALSE(later.Configuring());
}

} // namespace
