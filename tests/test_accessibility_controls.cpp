// What a screen reader gets from the self-drawn controls and the line-edit field: names, texts,
// values, states, parts, actions and events, and that a handler's exception never reaches it.
#include "test_accessibility_support.h"

#include <QOR_Meter.h>
#include <QOR_NumIO.h>
#include <QOR_NumLab.h>
#include <QOR_ProgBar.h>
#include <QOR_RasterLab.h>
#include <QOR_RotLab.h>
#include <QOR_SysUtils.h>
#include <QOR_gradfl.h>
#include <QOR_sevenseg.h>

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace qor;
using qortest::EventRecorder;

namespace {

QAccessibleInterface* Iface(QObject* o)
{
    return QAccessible::queryAccessibleInterface(o);
}

QString AllText(QAccessibleInterface* a)
{
    QAccessibleTextInterface* t = a->textInterface();
    return t ? t->text(0, t->characterCount()) : QStringLiteral("<no text interface>");
}

QStringList ActionsOf(QAccessibleInterface* a)
{
    return a->actionInterface() ? a->actionInterface()->actionNames() : QStringList();
}

} // namespace

TEST(AccessibilityLabels, EachLabelIsNamedByWhatItShows)
{
    QWidget form;
    TNumLab num(&form);
    num.SetLeftText(QStringLiteral("U ="));
    num.SetRightText(QStringLiteral("V"));
    num.SetDisplayType(dtFixP);
    num.SetPrecision(2);
    num.SetValue(12.34);
    TSevenSeg seg(&form);
    seg.SetCaption(QStringLiteral("12:34"));
    TRotLab rot(&form);
    rot.SetCaption(QStringLiteral("Axis title"));
    TRasterLab raster(&form);
    raster.SetText(QStringLiteral("KORVANE scrolls"));

    const std::pair<QWidget*, QString> labels[] = {
        {&num, QStringLiteral("U = 12.34 V")}, {&seg, QStringLiteral("12:34")},
        {&rot, QStringLiteral("Axis title")}, {&raster, QStringLiteral("KORVANE scrolls")}};
    for (const auto& [w, shown] : labels) {
        QAccessibleInterface* a = Iface(w);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->role(), QAccessible::StaticText);
        EXPECT_EQ(a->text(QAccessible::Name), shown);
        EXPECT_EQ(AllText(a), shown);
        EXPECT_TRUE(a->state().readOnly);
        EXPECT_EQ(a->valueInterface(), nullptr) << "a display offers no steps";
    }

    // A name the program gives wins; what the label shows is then its description.
    num.setAccessibleName(QStringLiteral("Supply"));
    EXPECT_EQ(Iface(&num)->text(QAccessible::Name), QStringLiteral("Supply"));
    EXPECT_EQ(Iface(&num)->text(QAccessible::Description), QStringLiteral("U = 12.34 V"));
    // So does a buddy label.
    QLabel buddy(QStringLiteral("Clock"), &form);
    buddy.setBuddy(&seg);
    EXPECT_EQ(Iface(&seg)->text(QAccessible::Name), QStringLiteral("Clock"));
    EXPECT_EQ(Iface(&seg)->text(QAccessible::Description), QStringLiteral("12:34"));
}

TEST(AccessibilityLabels, TheNumericLabelReadsAsDrawnAndAnnouncesChanges)
{
    EventRecorder heard;
    TNumLab num;
    num.SetDisplayType(dtFixP);
    num.SetPrecision(1);
    num.OnBeforeDisplay = [](QObject*, QString& s) { s += QStringLiteral(" kPa"); };
    num.SetValue(2.5);
    EXPECT_EQ(Iface(&num)->text(QAccessible::Name), QStringLiteral("2.5 kPa"));
    num.SetLabelWidth(10);   // too narrow: the overflow indicator is drawn
    EXPECT_EQ(Iface(&num)->text(QAccessible::Name), num.OverflowIndicator());
    num.SetLabelWidth(120);
    num.SetEmpty(true);
    EXPECT_EQ(Iface(&num)->text(QAccessible::Name), QString());

    num.SetEmpty(false);
    heard.Clear();
    num.SetValue(3.5);
    EXPECT_EQ(heard.Count(QAccessible::NameChanged), 1);
    ASSERT_EQ(heard.Count(QAccessible::TextUpdated), 1);
    for (const auto& e : heard.Heard())
        if (e.Type == QAccessible::TextUpdated) {
            EXPECT_EQ(e.TextBefore, QStringLiteral("2.5 kPa"));
            EXPECT_EQ(e.TextAfter, QStringLiteral("3.5 kPa"));
        }
    heard.Clear();
    num.SetColorLabText(clRed);   // nothing a reader hears changed
    EXPECT_EQ(heard.Heard().size(), 0);
}

TEST(AccessibilityHost, AHandlerThatThrowsNeverReachesTheReader)
{
    QStringList seen;
    SetExceptionHandler([&](const std::exception& e) { seen << QString::fromUtf8(e.what()); });
    TProgBar bar;
    bar.SetValue(40);
    bar.OnShowValue = [](QObject*, QString&) { throw std::runtime_error("show value failed"); };
    QAccessibleInterface* a = Iface(&bar);
    EXPECT_NO_THROW({
        EXPECT_EQ(a->text(QAccessible::Value), QString());
        EXPECT_EQ(AllText(a), QString());
        EXPECT_EQ(a->textInterface()->characterCount(), 0);
    });
    TNumLab num;
    num.OnBeforeDisplay = [](QObject*, QString&) { throw std::runtime_error("display failed"); };
    EXPECT_NO_THROW(EXPECT_EQ(Iface(&num)->text(QAccessible::Name), QString()));
    {
        EventRecorder heard;   // announcing a change asks the handler too
        EXPECT_NO_THROW(num.SetValue(5));
        EXPECT_NO_THROW(bar.SetValue(50));
    }
    SetExceptionHandler(nullptr);
    ASSERT_GE(seen.size(), 4);
    EXPECT_TRUE(seen.contains(QStringLiteral("show value failed")));
    EXPECT_TRUE(seen.contains(QStringLiteral("display failed")));
}

TEST(AccessibilityFields, TheSelfDrawnFieldReadsItsTextAndTakesEditsAsTyping)
{
    TNumIO2 field;
    field.resize(260, 28);
    field.SetInputFormat(itHex);
    field.SetRangeHigh(100000);
    field.SetValue(48879);
    int changes = 0;
    field.OnChange = [&](QObject*) { ++changes; };
    QAccessibleInterface* a = Iface(&field);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::SpinBox);
    EXPECT_EQ(AllText(a), QStringLiteral("0000BEEF"));
    EXPECT_TRUE(a->state().editable);
    ASSERT_NE(a->valueInterface(), nullptr);
    EXPECT_EQ(a->valueInterface()->currentValue().toDouble(), 48879.0);

    // Caret and selection are the field's own.
    a->textInterface()->setSelection(0, 2, 5);
    EXPECT_EQ(field.SelBegin(), 2);
    EXPECT_EQ(field.SelEnd(), 5);
    int s = -1, e = -1;
    a->textInterface()->selection(0, &s, &e);
    EXPECT_EQ(std::pair(s, e), std::pair(2, 5));
    a->textInterface()->setCursorPosition(3);
    EXPECT_EQ(field.CaretPos(), 3);
    EXPECT_EQ(a->textInterface()->cursorPosition(), 3);
    EXPECT_FALSE(a->textInterface()->characterRect(0).isEmpty());

    // Edits are checked as keystrokes are: a hex digit goes in, a "G" does not.
    QAccessibleEditableTextInterface* edit = a->editableTextInterface();
    ASSERT_NE(edit, nullptr);
    edit->replaceText(0, 8, QStringLiteral("1F"));
    EXPECT_EQ(field.Text(), QStringLiteral("1F"));
    EXPECT_EQ(changes, 1);
    edit->insertText(2, QStringLiteral("G"));
    EXPECT_EQ(field.Text(), QStringLiteral("1F"));
    EXPECT_EQ(changes, 1);

    // A value set from outside is clamped as the buttons clamp it, and fires OnChange.
    a->valueInterface()->setCurrentValue(2e6);
    EXPECT_EQ(field.Value(), 100000.0);
    EXPECT_EQ(changes, 2);
    a->valueInterface()->setCurrentValue(100000.0);   // the same value: nothing changed
    EXPECT_EQ(changes, 2);

    // Read-only: nothing goes in.
    field.SetReadOnly(true);
    EXPECT_TRUE(a->state().readOnly);
    EXPECT_FALSE(a->state().editable);
    a->valueInterface()->setCurrentValue(7);
    edit->insertText(0, QStringLiteral("1"));
    EXPECT_EQ(field.Value(), 100000.0);
    EXPECT_EQ(changes, 2);
}

TEST(AccessibilityFields, OutOfRangeCaptionsAndTheFreezeBox)
{
    QWidget form;
    TNumIO2 field(&form);
    field.resize(300, 28);
    field.SetRangeLow(0);
    field.SetRangeHigh(10);
    field.SetText(QStringLiteral("50.00"));
    QAccessibleInterface* a = Iface(&field);
    EXPECT_EQ(a->text(QAccessible::Description), QStringLiteral("out of range 0 to 10"));
    field.SetText(QStringLiteral("5.00"));
    EXPECT_EQ(a->text(QAccessible::Description), QString());

    EventRecorder heard;
    field.SetLeftText(QStringLiteral("Flow"));
    field.SetRightText(QStringLiteral("l/min"));
    field.SetFreezeBoxVisible(true);
    EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("Flow l/min"));
    ASSERT_EQ(a->childCount(), 3);
    QAccessibleInterface* left = a->child(0);
    QAccessibleInterface* freeze = a->child(2);
    EXPECT_EQ(left->role(), QAccessible::StaticText);
    EXPECT_EQ(left->text(QAccessible::Name), QStringLiteral("Flow"));
    EXPECT_EQ(a->indexOfChild(freeze), 2);
    EXPECT_EQ(freeze->parent(), a);
    // The captions label the field, both ways.
    const auto labels = a->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 2);
    EXPECT_EQ(labels[0].first, left);
    ASSERT_EQ(left->relations(QAccessible::Labelled).size(), 1);
    EXPECT_EQ(left->relations(QAccessible::Labelled)[0].first, a);

    // The freeze box is a check box that toggles as a click does.
    EXPECT_EQ(freeze->role(), QAccessible::CheckBox);
    EXPECT_TRUE(freeze->state().checkable);
    EXPECT_FALSE(freeze->state().checked);
    int changes = 0;
    field.OnChange = [&](QObject*) { ++changes; };
    field.SetHideInputOnFreeze(true);
    heard.Clear();
    ASSERT_TRUE(ActionsOf(freeze).contains(QAccessibleActionInterface::toggleAction()));
    freeze->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(field.FreezeBoxChecked());
    EXPECT_TRUE(field.ReadOnly());
    EXPECT_TRUE(field.HideInputEditor());
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(freeze->state().checked);
    EXPECT_TRUE(a->state().readOnly);
    EXPECT_EQ(AllText(a), QString()) << "a hidden number shows no text";
    bool heardChecked = false;
    for (const auto& e : heard.Heard())
        heardChecked = heardChecked || (e.Type == QAccessible::StateChanged && e.Changed.checked && e.Name == "Freeze");
    EXPECT_TRUE(heardChecked);

    // Hiding a part takes it out of the tree.
    field.SetFreezeBoxVisible(false);
    EXPECT_EQ(a->childCount(), 2);
}

TEST(AccessibilityFields, TheCaretAndTypingAreAnnounced)
{
    EventRecorder heard;
    TNumIO2 field;
    field.SetText(QStringLiteral("12.50"));
    field.show();
    field.setFocus();
    QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
    QApplication::sendEvent(&field, &end);
    heard.Clear();
    QKeyEvent home(QEvent::KeyPress, Qt::Key_Home, Qt::NoModifier);
    QApplication::sendEvent(&field, &home);
    EXPECT_EQ(heard.Count(QAccessible::TextCaretMoved), 1);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&field)->textInterface()->cursorPosition(), 0);
    QKeyEvent digit(QEvent::KeyPress, Qt::Key_3, Qt::NoModifier, QStringLiteral("3"));
    QApplication::sendEvent(&field, &digit);
    EXPECT_EQ(field.Text(), QStringLiteral("312.50"));
    ASSERT_EQ(heard.Count(QAccessible::TextUpdated), 1);
    EXPECT_EQ(heard.Count(QAccessible::ValueChanged), 1);
}

TEST(AccessibilityFields, TheLineEditFieldKeepsWhatALineEditHasAndAddsItsValue)
{
    QWidget form;
    auto* lay = new QVBoxLayout(&form);
    auto* label = new QLabel(QStringLiteral("Amount"));
    auto* field = new TNumIO;
    auto* plain = new QLineEdit;
    label->setBuddy(field);
    lay->addWidget(label);
    lay->addWidget(field);
    lay->addWidget(plain);
    field->SetRangeHigh(100);
    field->setText(QStringLiteral("42"));
    plain->setText(QStringLiteral("42"));
    int changes = 0;
    field->OnChange = [&](QObject*) { ++changes; };

    QAccessibleInterface* a = Iface(field);
    QAccessibleInterface* q = Iface(plain);
    auto sameAsALineEdit = [&](const char* when) {
        SCOPED_TRACE(when);
        EXPECT_EQ(a->role(), q->role());
        EXPECT_EQ(a->state().editable, q->state().editable);
        EXPECT_EQ(a->state().readOnly, q->state().readOnly);
        EXPECT_EQ(a->state().passwordEdit, q->state().passwordEdit);
        EXPECT_EQ(a->state().selectableText, q->state().selectableText);
        EXPECT_EQ(a->text(QAccessible::Value), q->text(QAccessible::Value));
        ASSERT_NE(a->textInterface(), nullptr);
        ASSERT_NE(a->editableTextInterface(), nullptr);
        EXPECT_EQ(AllText(a), AllText(q));
        EXPECT_EQ(a->textInterface()->cursorPosition(), q->textInterface()->cursorPosition());
    };
    sameAsALineEdit("editable");
    EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("Amount"));
    ASSERT_NE(a->valueInterface(), nullptr);
    EXPECT_EQ(a->valueInterface()->currentValue().toDouble(), 42.0);

    // Edits go through the field's check: in range taken (OnChange), out of range refused.
    a->editableTextInterface()->replaceText(0, 2, QStringLiteral("17"));
    EXPECT_EQ(field->text(), QStringLiteral("17"));
    EXPECT_EQ(changes, 1);
    a->valueInterface()->setCurrentValue(250.0);
    EXPECT_EQ(field->text(), QStringLiteral("17"));
    a->valueInterface()->setCurrentValue(64.0);
    EXPECT_EQ(field->Value(), 64.0);
    EXPECT_EQ(changes, 2);

    field->setReadOnly(true);
    plain->setReadOnly(true);
    plain->setText(field->text());
    sameAsALineEdit("read-only");
    a->editableTextInterface()->insertText(0, QStringLiteral("1"));
    EXPECT_EQ(field->Value(), 64.0);

    field->setReadOnly(false);
    plain->setReadOnly(false);
    field->setEchoMode(QLineEdit::Password);
    plain->setEchoMode(QLineEdit::Password);
    sameAsALineEdit("secret");
    EXPECT_TRUE(a->state().passwordEdit);
}

TEST(AccessibilityHost, ANativeWidgetKeepsQtsOwnInterface)
{
    // Qt's interfaces for these widgets answer; the host does not take their place.
    TControlHost<QComboBox> combo(nullptr, clWindow);
    combo.addItems({QStringLiteral("red"), QStringLiteral("green")});
    combo.setCurrentIndex(1);
    QAccessibleInterface* c = Iface(&combo);
    EXPECT_EQ(c->role(), QAccessible::ComboBox);
    EXPECT_EQ(c->text(QAccessible::Value), QStringLiteral("green"));
    TControlHost<QToolButton> button(nullptr, clBtnFace);
    QToolButton plain;
    for (QToolButton* t : {static_cast<QToolButton*>(&button), &plain}) {
        t->setText(QStringLiteral("Start"));
        t->setCheckable(true);
    }
    QAccessibleInterface* b = Iface(&button);
    EXPECT_EQ(b->role(), Iface(&plain)->role());
    EXPECT_EQ(b->text(QAccessible::Name), QStringLiteral("Start"));
    EXPECT_TRUE(b->state().checkable);
    EXPECT_EQ(ActionsOf(b), ActionsOf(Iface(&plain)));
    TControlHost<QTreeWidget> tree(nullptr, clWindow);
    EXPECT_NE(Iface(&tree)->tableInterface(), nullptr) << "Qt's tree reads as its own table";
}

TEST(AccessibilityGauges, TheMeterIsNamedByItsCaptionAndReadsItsValueAsTheScaleDoes)
{
    EventRecorder heard;
    TMeter meter;
    meter.SetCaption(QStringLiteral("V"));
    meter.SetMeterMaxValue(50);
    meter.SetValue(12.3);
    QAccessibleInterface* a = Iface(&meter);
    EXPECT_EQ(a->role(), QAccessible::ProgressBar);
    EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("V"));
    EXPECT_EQ(AllText(a), QStringLiteral("12.3 V"));
    EXPECT_EQ(a->valueInterface(), nullptr);
    EXPECT_TRUE(ActionsOf(a).isEmpty()) << "no steps a meter cannot take";
    EXPECT_TRUE(a->state().readOnly);

    meter.setAccessibleName(QStringLiteral("Supply"));
    EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("Supply"));
    EXPECT_EQ(a->text(QAccessible::Description), QStringLiteral("V"));

    // A logarithmic scale reads small values with their significant digits.
    meter.SetMeterMinValue(0.001);
    meter.SetMeterMaxValue(1);
    meter.SetLogarithmic(true);
    meter.SetValue(0.00512);
    EXPECT_EQ(AllText(a), QStringLiteral("0.00512 V"));
    meter.SetValue(0.5);
    EXPECT_EQ(AllText(a), QStringLiteral("0.500 V"));

    heard.Clear();
    meter.SetValue(0.25);
    EXPECT_EQ(heard.Count(QAccessible::TextUpdated), 1);
}

TEST(AccessibilityGauges, TheProgressBarReadsItsTextAndTheGradientIsDecorative)
{
    TProgBar bar;
    bar.SetTextDecPlaces(0);
    bar.SetValue(64);
    bar.OnShowValue = [](QObject*, QString& text) { text += QStringLiteral(" %"); };
    QAccessibleInterface* a = Iface(&bar);
    EXPECT_EQ(a->role(), QAccessible::ProgressBar);
    EXPECT_EQ(AllText(a), QStringLiteral("64 %"));
    EXPECT_EQ(a->valueInterface(), nullptr);
    EXPECT_TRUE(ActionsOf(a).isEmpty());

    QWidget form;
    TGradFill fill(&form);
    form.show();
    EXPECT_TRUE(Iface(&fill)->state().invisible);
    fill.setAccessibleName(QStringLiteral("Temperature scale"));
    EXPECT_FALSE(Iface(&fill)->state().invisible);
    EXPECT_EQ(Iface(&fill)->role(), QAccessible::Graphic);
}
