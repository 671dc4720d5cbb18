// On/off button behaviour: where a click acts, OnClick only from the release, radio groups with
// and without all-off, the momentary mode (released anywhere it goes off), the keyboard, the
// OnOff writer's group rule and forms, signals, Assign and accessibility.
#include <gtest/gtest.h>

#include <QOR_onoffbut.h>
#include "test_accessibility_support.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QTest>

using namespace qor;

namespace {

// Inside the default glyph (35 < X < 65, 16 < Y < 34), on a caption's place, and outside.
const QPoint InGlyph(50, 25), OnEdge(35, 25), Beside(10, 25);

struct Clicks {
    int Count = 0;
    explicit Clicks(TOnOffBut& b)
    {
        b.OnClick = [this](QObject*) { ++Count; };
    }
};

TEST(OnOffButInput, AClickActsWhereMouseActionSays)
{
    TOnOffBut b;
    b.show();
    Clicks clicks(b);
    QSignalSpy spy(&b, &TOnOffBut::onOffChanged);

    // oomaFocused: strictly inside the glyph only.
    QTest::mouseClick(&b, Qt::LeftButton, {}, InGlyph);
    EXPECT_FALSE(b.OnOff());
    EXPECT_EQ(clicks.Count, 1);
    QTest::mouseClick(&b, Qt::LeftButton, {}, OnEdge);
    QTest::mouseClick(&b, Qt::LeftButton, {}, Beside);
    EXPECT_FALSE(b.OnOff());
    EXPECT_EQ(clicks.Count, 1);
    QTest::mouseClick(&b, Qt::RightButton, {}, InGlyph);
    EXPECT_FALSE(b.OnOff());

    // oomaPlain: anywhere.
    b.SetMouseAction(oomaPlain);
    QTest::mouseClick(&b, Qt::LeftButton, {}, Beside);
    EXPECT_TRUE(b.OnOff());
    EXPECT_EQ(clicks.Count, 2);

    // oomaNone: nowhere, and no OnClick.
    b.SetMouseAction(oomaNone);
    QTest::mouseClick(&b, Qt::LeftButton, {}, InGlyph);
    EXPECT_TRUE(b.OnOff());
    EXPECT_EQ(clicks.Count, 2);
    EXPECT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(0).at(0).toBool(), false);
}

TEST(OnOffButInput, OnClickComesFromTheReleaseOnlyAndTheStateFromThePress)
{
    TOnOffBut b;
    b.show();
    Clicks clicks(b);
    QTest::mousePress(&b, Qt::LeftButton, {}, InGlyph);
    EXPECT_FALSE(b.OnOff());
    EXPECT_EQ(clicks.Count, 0);
    QTest::mouseRelease(&b, Qt::LeftButton, {}, Beside);   // let go beside the glyph
    EXPECT_EQ(clicks.Count, 0);
    EXPECT_FALSE(b.OnOff());
    QSignalSpy clicked(&b, &TOnOffBut::clicked);
    QTest::mouseClick(&b, Qt::LeftButton, {}, InGlyph);
    EXPECT_EQ(clicks.Count, 1);
    EXPECT_EQ(clicked.count(), 1);
}

TEST(OnOffButInput, RadioGroupsWithAndWithoutAllOff)
{
    QWidget parent;
    TOnOffBut* b[3];
    for (auto*& x : b) {
        x = new TOnOffBut(&parent);
        x->SetOnOff(false);
        x->SetGroupIndex(1);
    }
    auto* other = new TOnOffBut(&parent);   // another group
    other->SetGroupIndex(2);
    auto* alone = new TOnOffBut;            // no parent: no group to tell
    alone->SetGroupIndex(1);
    b[0]->SetAllowAllOff(false);            // the whole group takes it over
    EXPECT_FALSE(b[1]->AllowAllOff());
    EXPECT_FALSE(b[2]->AllowAllOff());
    EXPECT_TRUE(other->AllowAllOff());
    parent.show();

    QTest::mouseClick(b[1], Qt::LeftButton, {}, InGlyph);
    EXPECT_TRUE(b[1]->OnOff());
    QTest::mouseClick(b[2], Qt::LeftButton, {}, InGlyph);
    EXPECT_FALSE(b[1]->OnOff());
    EXPECT_TRUE(b[2]->OnOff());
    EXPECT_TRUE(other->OnOff());
    EXPECT_TRUE(alone->OnOff());
    // The one that is on stays on, by mouse and by the writer.
    QTest::mouseClick(b[2], Qt::LeftButton, {}, InGlyph);
    EXPECT_TRUE(b[2]->OnOff());
    b[2]->SetOnOff(false);
    EXPECT_TRUE(b[2]->OnOff());
    b[0]->SetOnOff(true);
    EXPECT_TRUE(b[0]->OnOff());
    EXPECT_FALSE(b[2]->OnOff());

    // With all-off, the one that is on switches off.
    b[1]->SetAllowAllOff(true);
    EXPECT_TRUE(b[0]->AllowAllOff());
    QTest::mouseClick(b[0], Qt::LeftButton, {}, InGlyph);
    for (auto* x : b)
        EXPECT_FALSE(x->OnOff());
    // Mode oobmSpeedBut switches a button off whatever its group says.
    b[1]->SetAllowAllOff(false);
    b[1]->SetOnOff(true);
    b[1]->SetMode(oobmSpeedBut);
    EXPECT_FALSE(b[1]->OnOff());
    delete alone;
}

TEST(OnOffButInput, AMomentaryButtonIsOnWhileHeldAndOffWhereverItIsReleased)
{
    TOnOffBut b;
    b.SetMode(oobmSpeedBut);
    EXPECT_FALSE(b.OnOff());
    b.show();
    Clicks clicks(b);
    QTest::mousePress(&b, Qt::LeftButton, {}, InGlyph);
    EXPECT_TRUE(b.OnOff());
    QTest::mouseRelease(&b, Qt::LeftButton, {}, InGlyph);
    EXPECT_FALSE(b.OnOff());
    EXPECT_EQ(clicks.Count, 1);

    // Dragged off the glyph, or off the button, before the release: off, and no click.
    for (QPoint release : {Beside, QPoint(300, 300)}) {
        QTest::mousePress(&b, Qt::LeftButton, {}, InGlyph);
        EXPECT_TRUE(b.OnOff());
        QTest::mouseMove(&b, release);
        QTest::mouseRelease(&b, Qt::LeftButton, {}, release);
        EXPECT_FALSE(b.OnOff());
        EXPECT_EQ(clicks.Count, 1);
    }
}

TEST(OnOffButInput, SpaceWorksTheFocusedButtonAsAClickInTheGlyph)
{
    TOnOffBut b;
    EXPECT_EQ(b.focusPolicy(), Qt::TabFocus);
    b.show();
    QApplication::setActiveWindow(&b);
    b.setFocus();
    ASSERT_TRUE(b.hasFocus());
    Clicks clicks(b);
    QTest::keyPress(&b, Qt::Key_Space);
    EXPECT_FALSE(b.OnOff());
    QTest::keyPress(&b, Qt::Key_Space, {}, -1);   // held: the repeat does nothing
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QApplication::sendEvent(&b, &repeat);
    QTest::keyRelease(&b, Qt::Key_Space);
    EXPECT_EQ(clicks.Count, 1);
    b.SetMode(oobmSpeedBut);
    QTest::keyPress(&b, Qt::Key_Space);
    EXPECT_TRUE(b.OnOff());
    QTest::keyRelease(&b, Qt::Key_Space);
    EXPECT_FALSE(b.OnOff());
    EXPECT_EQ(clicks.Count, 2);
    // Other keys travel on.
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(&b, &enter);
    EXPECT_FALSE(enter.isAccepted());
}

TEST(OnOffButInput, TheWriterSignalsChangesOnlyAndAFormKeepsItsDesignedState)
{
    TOnOffBut b;
    QSignalSpy spy(&b, &TOnOffBut::onOffChanged);
    b.SetOnOff(true);
    EXPECT_EQ(spy.count(), 0);
    b.SetOnOff(false);
    EXPECT_EQ(spy.count(), 1);

    // A form sets a grouped button off after its group, while it is being set up.
    QWidget parent;
    auto* f = new TOnOffBut(&parent);
    f->setProperty("GroupIndex", 3);
    f->setProperty("AllowAllOff", false);
    ASSERT_TRUE(f->Configuring());
    f->setProperty("OnOff", false);
    EXPECT_FALSE(f->OnOff());
    f->EndConfiguration();
    f->setProperty("OnOff", true);
    f->setProperty("OnOff", false);   // afterwards the group rule holds
    EXPECT_TRUE(f->OnOff());
}

TEST(OnOffButInput, AssignCopiesAllButTheGroupSettingsAndTheMode)
{
    TOnOffBut src, dst;
    src.SetButtonStyle(oobsBulb);
    src.SetAutoCenter(false);
    src.SetLeftSpace(7);
    src.SetTopText(QStringLiteral("Top"));
    src.SetTopTextAlignment(taLeftJustify);
    src.SetColorBackgnd(clAqua);
    src.SetColorText(clRed);
    src.SetColorScheme(csSystemColors);
    src.SetFrameStyle(fsRaised);
    src.SetMouseAction(oomaPlain);
    src.SetTransparent(true);
    src.SetOnOff(false);
    src.setEnabled(false);
    src.SetGroupIndex(4);
    src.SetAllowAllOff(false);
    src.SetMode(oobmSpeedBut);
    dst.Assign(&src);
    EXPECT_EQ(dst.ButtonStyle(), oobsBulb);
    EXPECT_EQ(dst.GlyphWidth(), 39);
    EXPECT_EQ(dst.ButtonImage(3).Image(), src.ButtonImage(3).Image());
    EXPECT_FALSE(dst.AutoCenter());
    EXPECT_EQ(dst.LeftSpace(), 7);
    EXPECT_EQ(dst.TopText(), QStringLiteral("Top"));
    EXPECT_EQ(dst.TopTextAlignment(), taLeftJustify);
    EXPECT_EQ(dst.ColorBackgnd(), clAqua);
    EXPECT_EQ(dst.ColorText(), clRed);
    EXPECT_EQ(dst.ColorScheme(), csSystemColors);
    EXPECT_EQ(dst.ColGrayLine(), clBtnShadow);
    EXPECT_EQ(dst.FrameStyle(), fsRaised);
    EXPECT_EQ(dst.MouseAction(), oomaPlain);
    EXPECT_TRUE(dst.Transparent());
    EXPECT_FALSE(dst.OnOff());
    EXPECT_FALSE(dst.isEnabled());
    EXPECT_EQ(dst.GroupIndex(), 0);
    EXPECT_TRUE(dst.AllowAllOff());
    EXPECT_EQ(dst.Mode(), oobmNormalBut);

    TOnOffBut viaAssignTo;
    src.AssignTo(&viaAssignTo);
    EXPECT_EQ(viaAssignTo.ButtonStyle(), oobsBulb);
    QObject notAButton;
    EXPECT_THROW(dst.Assign(&notAButton), EConvertError);
}

TEST(OnOffButInput, AssistiveTechnologyReadsTheStateAndTheCaptionsAndToggles)
{
    qortest::EventRecorder heard;
    QWidget parent;
    auto* b = new TOnOffBut(&parent);
    b->SetLeftText(QStringLiteral("Pump"));
    b->SetRightText(QStringLiteral("running"));
    parent.show();
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(b);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::CheckBox);
    EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("Pump running"));
    EXPECT_TRUE(iface->state().checkable);
    EXPECT_TRUE(iface->state().checked);
    Clicks clicks(*b);
    ASSERT_NE(iface->actionInterface(), nullptr);
    EXPECT_TRUE(iface->actionInterface()->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    heard.Clear();
    iface->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_FALSE(b->OnOff());
    EXPECT_FALSE(iface->state().checked);
    EXPECT_EQ(clicks.Count, 1);
    ASSERT_EQ(heard.Count(QAccessible::StateChanged), 1);
    EXPECT_TRUE(heard.Heard().last().Changed.checked);
    b->SetRightText(QStringLiteral("stopped"));
    EXPECT_EQ(heard.Count(QAccessible::NameChanged), 1);
    b->SetMouseAction(oomaNone);
    EXPECT_FALSE(iface->actionInterface()->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    b->SetGroupIndex(1);
    EXPECT_EQ(iface->role(), QAccessible::RadioButton);
}

} // namespace
