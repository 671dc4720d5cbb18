// The repeating speed button: interval rules, the start and repeat phases (driven, and in real
// time within a few hundred ms), one click per press, stopping on release, on leaving and on
// being dragged off without clicking, design mode; and the speed button's groups.
#include <gtest/gtest.h>

#include <QOR_repsbut.h>
#include "test_support.h"

#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>

using namespace qor;

namespace {

const QPoint Inside(20, 12);

// Records the hook and the event in order.
class Recorder : public TRepSpeedButton {
public:
    QStringList Log;
    Recorder()
    {
        resize(40, 24);
        OnRepeatClick = [this](QObject* s) {
            EXPECT_EQ(s, this);
            Log << QStringLiteral("repeat");
        };
        OnClick = [this](QObject*) { Log << QStringLiteral("click"); };
        OnMouseUp = [this](QObject*, TMouseButton, TShiftState, int, int) { Log << QStringLiteral("up"); };
    }
    void RepeatClickEvent() override { Log << QStringLiteral("hook"); }
};

TEST(RepSpeedButton, IntervalsDefaultAndKeepTheirLowerLimit)
{
    TRepSpeedButton b;
    EXPECT_EQ(b.RepeatClickInterval(), 200);
    EXPECT_EQ(b.StartClickInterval(), 500);
    EXPECT_FALSE(b.autoRepeat());
    b.SetRepeatClickInterval(5);
    b.SetStartClickInterval(-3);
    EXPECT_EQ(b.RepeatClickInterval(), 10);
    EXPECT_EQ(b.StartClickInterval(), 10);
    b.SetRepeatClickInterval(10);
    b.SetStartClickInterval(40);
    EXPECT_EQ(b.StartClickInterval(), 40);
    EXPECT_FALSE(b.RepeatTimer()->Active());   // nothing held, nothing runs
}

TEST(RepSpeedButton, AHeldButtonStartsThenRepeatsAndClicksOnceOnRelease)
{
    Recorder b;
    b.show();
    QSignalSpy clicked(&b, &QAbstractButton::clicked);
    QSignalSpy repeats(&b, &TRepSpeedButton::repeatClick);
    QTest::mousePress(&b, Qt::LeftButton, {}, Inside);
    EXPECT_TRUE(b.Held());
    EXPECT_TRUE(b.isDown());
    EXPECT_TRUE(b.RepeatTimer()->Active());
    EXPECT_TRUE(b.InStartPhase());
    EXPECT_EQ(b.RepeatTimer()->Interval(), 500);
    b.RepeatTimer()->Tick();
    EXPECT_FALSE(b.InStartPhase());
    EXPECT_EQ(b.RepeatTimer()->Interval(), 200);
    b.RepeatTimer()->Tick();
    EXPECT_EQ(b.Log, (QStringList{"hook", "repeat", "hook", "repeat"}));
    EXPECT_EQ(repeats.count(), 2);
    EXPECT_EQ(clicked.count(), 0);
    QTest::mouseRelease(&b, Qt::LeftButton, {}, Inside);
    EXPECT_FALSE(b.Held());
    EXPECT_FALSE(b.RepeatTimer()->Active());
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(b.Log.mid(4), (QStringList{"up", "click"}));
}

TEST(RepSpeedButton, RepeatsInRealTimeAndAShortClickDoesNot)
{
    Recorder b;
    b.SetStartClickInterval(60);
    b.SetRepeatClickInterval(25);
    b.show();
    QTest::mousePress(&b, Qt::LeftButton, {}, Inside);
    QTest::qWait(40);
    EXPECT_EQ(b.Log.count(QStringLiteral("repeat")), 0);   // still in the start phase
    QTest::qWait(120);                                      // 60, 85, 110, 135 ms ...
    QTest::mouseRelease(&b, Qt::LeftButton, {}, Inside);
    const int repeats = int(b.Log.count(QStringLiteral("repeat")));
    EXPECT_GE(repeats, 2);
    EXPECT_LE(repeats, 6);
    QTest::qWait(80);
    EXPECT_EQ(b.Log.count(QStringLiteral("repeat")), repeats);

    b.Log.clear();
    QTest::mouseClick(&b, Qt::LeftButton, {}, Inside);
    QTest::qWait(80);
    EXPECT_EQ(b.Log, (QStringList{"up", "click"}));
}

TEST(RepSpeedButton, DraggingOffOrLeavingStopsWithoutAClick)
{
    Recorder b;
    b.show();
    QSignalSpy clicked(&b, &QAbstractButton::clicked);
    QTest::mousePress(&b, Qt::LeftButton, {}, Inside);
    QTest::mouseMove(&b, QPoint(120, 12));
    EXPECT_FALSE(b.RepeatTimer()->Active());
    EXPECT_TRUE(b.Log.isEmpty());   // no mouse-up on the way out
    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(120, 12));
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_FALSE(b.Log.contains(QStringLiteral("click")));

    b.Log.clear();
    QTest::mousePress(&b, Qt::LeftButton, {}, Inside);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&b, &leave);
    EXPECT_FALSE(b.RepeatTimer()->Active());
    EXPECT_FALSE(b.Held());
    EXPECT_TRUE(b.Log.isEmpty());
    QTest::mouseRelease(&b, Qt::LeftButton, {}, Inside);
}

TEST(RepSpeedButton, OnlyTheLeftButtonRepeatsAndNeverInDesignMode)
{
    Recorder b;
    b.show();
    QTest::mousePress(&b, Qt::RightButton, {}, Inside);
    EXPECT_FALSE(b.RepeatTimer()->Active());
    QTest::mouseRelease(&b, Qt::RightButton, {}, Inside);

    QTest::mousePress(&b, Qt::LeftButton, {}, Inside);
    ASSERT_TRUE(b.RepeatTimer()->Active());
    b.SetDesigning(true);
    EXPECT_FALSE(b.RepeatTimer()->Active());
    QTest::mouseRelease(&b, Qt::LeftButton, {}, Inside);
    QTest::mousePress(&b, Qt::LeftButton, {}, Inside);
    EXPECT_FALSE(b.RepeatTimer()->Active());
    b.SetRepeatClickInterval(300);
    b.SetStartClickInterval(300);
    EXPECT_FALSE(b.RepeatTimer()->Active());
    QTest::mouseRelease(&b, Qt::LeftButton, {}, Inside);
}

TEST(RepSpeedButton, AnExceptionFromTheRepeatHandlerGoesToTheApplicationHandler)
{
    TRepSpeedButton b;
    b.resize(40, 24);
    b.show();
    int handled = 0;
    SetExceptionHandler([&](const std::exception& e) {
        EXPECT_STREQ(e.what(), "stop");
        ++handled;
    });
    b.OnRepeatClick = [](QObject*) { throw EQORRepSpeedButton(QStringLiteral("stop")); };
    QTest::mousePress(&b, Qt::LeftButton, {}, Inside);
    b.RepeatTimer()->Tick();
    SetExceptionHandler({});
    EXPECT_EQ(handled, 1);
    EXPECT_TRUE(b.RepeatTimer()->Active());
    QTest::mouseRelease(&b, Qt::LeftButton, {}, Inside);
}

TEST(SpeedButton, GroupsLatchOneButtonDown)
{
    QWidget parent;
    TSpeedButton* b[3];
    for (auto*& x : b) {
        x = new TSpeedButton(&parent);
        x->resize(30, 20);
        x->SetGroupIndex(5);
    }
    auto* loose = new TSpeedButton(&parent);
    loose->SetDown(true);   // without a group a button never stays down
    EXPECT_FALSE(loose->Down());
    parent.show();
    QSignalSpy down(b[0], &TSpeedButton::downChanged);
    QTest::mouseClick(b[0], Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(b[0]->Down());
    QTest::mouseClick(b[1], Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(b[0]->Down());
    EXPECT_TRUE(b[1]->Down());
    EXPECT_EQ(down.count(), 2);
    // Without AllowAllUp the down button stays down.
    QTest::mouseClick(b[1], Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(b[1]->Down());
    b[1]->SetDown(false);
    EXPECT_TRUE(b[1]->Down());
    // With it (shared by the group) it comes up.
    b[2]->SetAllowAllUp(true);
    EXPECT_TRUE(b[1]->AllowAllUp());
    QTest::mouseClick(b[1], Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(b[1]->Down());
    b[2]->SetDown(true);
    EXPECT_TRUE(b[2]->Down());
    b[2]->SetGroupIndex(0);
    EXPECT_FALSE(b[2]->Down());
    EXPECT_FALSE(b[2]->isCheckable());
}

} // namespace
