// Raster label scrolling: the steps and loop restarts of the four directions, scrolling away
// for good without loop, the timer settings, design mode, the pause while not visible, and
// exceptions of a tick. The timer runs only while the label is visible: the tests show it.
#include <gtest/gtest.h>

#include "test_rasterlab_support.h"

#include <QSignalSpy>
#include <QWidget>
#include <QTest>
#include <climits>
#include <string>
#include <vector>

using namespace qor;
using rltest::CountColor;
using rltest::Plain;
using rltest::Rendered;

namespace {

constexpr int W = 100, H = 52;
// "AB" at pitch 4: 'A' 7 columns, 'B' 6, so 8 + 7 pitches; painted length one more.
constexpr int PaintedLength = 4 * 15 + 1;
constexpr int TextHeight = 4 * 12;

struct Direction {
    TRDScrollMode Mode;
    bool Horizontal;
    int Sign;
    int RestartAt;   // the offset a loop restart sets
    const char* Name;
};

const Direction Directions[] = {
    {rdsmRight, true, +1, -PaintedLength, "right"},
    {rdsmLeft, true, -1, W, "left"},
    {rdsmDown, false, +1, -TextHeight, "down"},
    {rdsmUp, false, -1, H, "up"},
};

void Prepare(TRasterLab& lab, TRDScrollMode mode, int increment)
{
    Plain(lab, W, H, QStringLiteral("AB"));
    lab.SetScrollIncrement(increment);
    lab.SetScrollMode(mode);
    lab.show();
}

int Offset(const TRasterLab& lab, const Direction& d) { return d.Horizontal ? lab.ScrollX() : lab.ScrollY(); }

bool TextVisible(TRasterLab& lab) { return CountColor(Rendered(lab), clLime) > 0; }

TEST(RasterLabScroll, EachDirectionStepsAndRestartsAtTheOppositeEdge)
{
    for (const Direction& d : Directions) {
        SCOPED_TRACE(d.Name);
        TRasterLab lab;
        Prepare(lab, d.Mode, 7);
        ASSERT_TRUE(lab.ScrollTimer()->Active());
        QSignalSpy restarts(&lab, &TRasterLab::scrollLoopRestart);
        QSignalSpy ticks(&lab, &TRasterLab::scrollTimer);
        int handlerRestarts = 0;
        lab.OnScrollLoopRestart = [&](QObject* sender) {
            EXPECT_EQ(sender, &lab);
            ++handlerRestarts;
        };
        const int limit = d.Sign > 0 ? (d.Horizontal ? W : H) : -(d.Horizontal ? PaintedLength : TextHeight);
        int n = 0;
        for (; n < 100 && restarts.isEmpty(); ++n) {
            const int before = Offset(lab, d);
            lab.ScrollTimer()->Tick();
            const int expected = before + d.Sign * 7;
            const bool beyond = d.Sign > 0 ? expected > limit : expected < limit;
            EXPECT_EQ(Offset(lab, d), beyond ? d.RestartAt : expected) << "tick " << n;
            EXPECT_EQ(restarts.count(), beyond ? 1 : 0);
        }
        EXPECT_EQ(restarts.count(), 1);
        EXPECT_EQ(handlerRestarts, 1);
        EXPECT_EQ(ticks.count(), n);
        EXPECT_EQ(d.Horizontal ? lab.ScrollY() : lab.ScrollX(), 0);

        // Restarted just outside the control, the text comes in again within a few steps.
        EXPECT_FALSE(TextVisible(lab));
        lab.SetScrollIncrement(1);
        int steps = 0;
        while (!TextVisible(lab) && steps < 16) {
            lab.ScrollTimer()->Tick();
            ++steps;
        }
        EXPECT_TRUE(TextVisible(lab)) << steps;
    }
}

TEST(RasterLabScroll, WithoutLoopTheTextLeavesForGood)
{
    for (const Direction& d : Directions) {
        SCOPED_TRACE(d.Name);
        TRasterLab lab;
        Prepare(lab, d.Mode, 3);
        lab.SetScrollLoop(false);
        QSignalSpy restarts(&lab, &TRasterLab::scrollLoopRestart);
        ASSERT_TRUE(TextVisible(lab));
        bool left = false;
        for (int n = 0; n < 200; ++n) {
            lab.ScrollTimer()->Tick();
            const bool visible = TextVisible(lab);
            EXPECT_FALSE(left && visible) << "back after tick " << n;
            left = left || !visible;
            EXPECT_EQ(Offset(lab, d), d.Sign * 3 * (n + 1));
        }
        EXPECT_TRUE(left);
        EXPECT_EQ(restarts.count(), 0);
    }
}

TEST(RasterLabScroll, HugeStepsSaturateInsteadOfOverflowing)
{
    TRasterLab lab;
    Prepare(lab, rdsmLeft, INT_MIN);
    EXPECT_EQ(lab.ScrollIncrement(), INT_MAX);
    lab.SetScrollLoop(false);
    for (int n = 0; n < 5; ++n)
        lab.ScrollTimer()->Tick();
    EXPECT_LT(lab.ScrollX(), -1000000);
    EXPECT_FALSE(TextVisible(lab));
    lab.SetScrollLoop(true);
    lab.ScrollTimer()->Tick();
    EXPECT_EQ(lab.ScrollX(), W);
}

TEST(RasterLabScroll, TickFiresTheHandlerThenTheSignal)
{
    TRasterLab lab;
    Prepare(lab, rdsmRight, 2);
    std::vector<std::string> order;
    lab.OnScrollTimer = [&](QObject*) {
        EXPECT_EQ(lab.ScrollX(), 2);   // after the step
        order.push_back("handler");
    };
    QObject::connect(&lab, &TRasterLab::scrollTimer, [&] { order.push_back("signal"); });
    lab.ScrollTimer()->Tick();
    EXPECT_EQ(order, (std::vector<std::string>{"handler", "signal"}));
}

TEST(RasterLabScroll, TimerSettingsAreKeptInRange)
{
    TRasterLab lab;
    lab.show();
    lab.SetScrollInterval(5);
    EXPECT_EQ(lab.ScrollInterval(), 10);
    lab.SetScrollMode(rdsmRight);
    ASSERT_TRUE(lab.ScrollTimer()->Active());
    EXPECT_EQ(lab.ScrollTimer()->Interval(), 10);
    lab.SetScrollInterval(-40);
    EXPECT_EQ(lab.ScrollInterval(), 10);
    lab.SetScrollInterval(250);
    EXPECT_EQ(lab.ScrollTimer()->Interval(), 250);
    EXPECT_TRUE(lab.ScrollTimer()->Active());
    lab.SetScrollIncrement(0);
    EXPECT_EQ(lab.ScrollIncrement(), 1);
    lab.SetScrollIncrement(-4);
    EXPECT_EQ(lab.ScrollIncrement(), 4);
    lab.SetScrollMode(TRDScrollMode(17));
    EXPECT_EQ(lab.ScrollMode(), rdsmOff);
    EXPECT_FALSE(lab.ScrollTimer()->Active());
}

TEST(RasterLabScroll, SwitchingOffClearsTheOffsetsAndStopsTheTimer)
{
    TRasterLab lab;
    Prepare(lab, rdsmDown, 5);
    lab.ScrollTimer()->Tick();
    lab.SetScrollMode(rdsmLeft);   // a new direction keeps the offsets
    lab.ScrollTimer()->Tick();
    EXPECT_EQ(lab.ScrollX(), -5);
    EXPECT_EQ(lab.ScrollY(), 5);
    const QImage moved = Rendered(lab);
    lab.SetScrollMode(rdsmOff);
    EXPECT_EQ(lab.ScrollX(), 0);
    EXPECT_EQ(lab.ScrollY(), 0);
    EXPECT_FALSE(lab.ScrollTimer()->Active());
    TRasterLab still;
    Plain(still, W, H, QStringLiteral("AB"));
    EXPECT_EQ(Rendered(lab), Rendered(still));
    EXPECT_NE(moved, Rendered(still));
}

TEST(RasterLabScroll, TheTimerNeverRunsInDesignMode)
{
    TRasterLab lab;
    lab.show();
    lab.SetDesigning(true);
    lab.SetScrollMode(rdsmRight);
    EXPECT_FALSE(lab.ScrollTimer()->Active());
    lab.SetScrollInterval(20);
    lab.SetScrollIncrement(3);
    EXPECT_FALSE(lab.ScrollTimer()->Active());
    lab.SetDesigning(false);
    EXPECT_TRUE(lab.ScrollTimer()->Active());
    lab.SetDesigning(true);   // a running timer stops too
    EXPECT_FALSE(lab.ScrollTimer()->Active());
}

TEST(RasterLabScroll, TheTimerPausesWhileTheLabelIsNotVisible)
{
    QWidget page;
    auto* lab = new TRasterLab(&page);
    lab->SetScrollMode(rdsmRight);
    EXPECT_FALSE(lab->ScrollTimer()->Active());   // not shown yet
    page.show();
    EXPECT_TRUE(lab->ScrollTimer()->Active());
    page.hide();                                   // its page is hidden
    EXPECT_FALSE(lab->ScrollTimer()->Active());
    page.show();
    EXPECT_TRUE(lab->ScrollTimer()->Active());
    lab->hide();
    EXPECT_FALSE(lab->ScrollTimer()->Active());
    lab->show();
    EXPECT_TRUE(lab->ScrollTimer()->Active());
    lab->SetScrollMode(rdsmOff);                   // showing does not start a switched-off one
    page.hide();
    page.show();
    EXPECT_FALSE(lab->ScrollTimer()->Active());

    // A page hidden from the start, as the pages of a tab widget but the current one.
    QWidget panel;
    auto* hiddenPage = new QWidget(&panel);
    auto* other = new TRasterLab(hiddenPage);
    other->SetScrollMode(rdsmLeft);
    hiddenPage->hide();
    panel.show();
    EXPECT_FALSE(other->ScrollTimer()->Active());
    hiddenPage->show();
    EXPECT_TRUE(other->ScrollTimer()->Active());
}

TEST(RasterLabScroll, AnExceptionInATickGoesToTheApplicationHandler)
{
    QString seen;
    SetExceptionHandler([&](const std::exception& e) { seen = QString::fromUtf8(e.what()); });
    TRasterLab lab;
    lab.setObjectName(QStringLiteral("ticker"));
    Prepare(lab, rdsmRight, 1);
    lab.OnScrollTimer = [](QObject*) { throw EQORRasterLabError(QStringLiteral("tick failed")); };
    EXPECT_NO_THROW(lab.ScrollTimer()->Tick());
    SetExceptionHandler(nullptr);
    EXPECT_EQ(seen, QStringLiteral("tick failed"));
    EXPECT_EQ(lab.ScrollX(), 1);
}

TEST(RasterLabScroll, TheRunningTimerScrolls)
{
    TRasterLab lab;
    Plain(lab, W, H, QStringLiteral("AB"));
    lab.SetScrollInterval(10);
    QSignalSpy ticks(&lab, &TRasterLab::scrollTimer);
    lab.SetScrollMode(rdsmRight);
    lab.show();
    QTest::qWait(150);
    EXPECT_GE(ticks.count(), 2);
    EXPECT_EQ(lab.ScrollX(), int(ticks.count()));
}

} // namespace
