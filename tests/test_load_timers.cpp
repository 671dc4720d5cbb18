// Every timer-driven component run for 10,000 ticks, painted after each as the screen would: the
// heap and the open handles of the process do not grow. The first ticks warm the caches (glyphs,
// pens); the growth counted is that of the 10,000 after them (fewer in Debug and sanitizer
// builds, where the sanitizer reports any leak by itself).
#include <gtest/gtest.h>

#include <QOR_NumIO2.h>
#include <QOR_ProgBar.h>
#include <QOR_RasterLab.h>
#include <QOR_repsbut.h>

#include <QApplication>
#include <QTest>
#include <algorithm>
#include <functional>

#include "test_support.h"

using namespace qor;

namespace {

const int Ticks = std::max(1000, int(10000 * qortest::LoadScale()));
// Caches may settle by a few kB; a leak of a byte per tick shows as 10 kB over the full run.
constexpr std::size_t Tolerance = 8 * 1024;

struct Growth {
    std::ptrdiff_t Heap;
    int Handles;
};

// Runs tick + paint Ticks times after a warm-up and measures what the process gained.
Growth Measure(const std::function<void()>& tickAndPaint)
{
    for (int i = 0; i < 200; ++i)
        tickAndPaint();
    QApplication::processEvents();
    const std::size_t heap = qortest::HeapInUse();
    const int handles = qortest::OpenHandles();
    for (int i = 0; i < Ticks; ++i)
        tickAndPaint();
    QApplication::processEvents();
    return {std::ptrdiff_t(qortest::HeapInUse()) - std::ptrdiff_t(heap), qortest::OpenHandles() - handles};
}

void Expect(const char* what, const Growth& g)
{
    EXPECT_LE(g.Heap, std::ptrdiff_t(Tolerance)) << what << ": the heap grew by " << g.Heap << " bytes";
    EXPECT_EQ(g.Handles, 0) << what;
    ::testing::Test::RecordProperty(std::string(what) + "_heap_growth", int(g.Heap));
}

} // namespace

TEST(LoadTimers, NumericFieldCaretBlinksWithoutGrowth)
{
    TNumIO2 field;
    field.resize(120, 24);
    field.show();
    field.SetFocus();
    field.SetValue(3.5);
    ASSERT_TRUE(field.CaretTimer()->Active());
    Expect("caret", Measure([&] {
        field.CaretTimer()->Tick();
        field.RenderNow();
    }));
    EXPECT_TRUE(field.CaretTimer()->Active());
}

TEST(LoadTimers, ProgressBarAutoIncrementsWithoutGrowth)
{
    TProgBar bar;
    bar.resize(200, 24);
    bar.SetTextVisible(true);
    bar.SetMax(1e9);
    bar.SetAutoInc(true);
    bar.show();
    Expect("auto increment", Measure([&] {
        bar.AutoIncTimer()->Tick();
        bar.RenderNow();
    }));
    EXPECT_GE(bar.Value(), 200 + Ticks);   // and whatever the real timer added
}

TEST(LoadTimers, RasterLabelScrollsWithoutGrowth)
{
    for (const TRDScrollMode mode : {rdsmLeft, rdsmRight, rdsmUp, rdsmDown}) {
        TRasterLab label;
        label.resize(160, 40);
        label.SetText(QStringLiteral("Scrolling \u20ac 12.5"));
        label.SetScrollMode(mode);
        label.SetScrollIncrement(3);
        int restarts = 0;
        label.OnScrollLoopRestart = [&](QObject*) { ++restarts; };
        label.show();
        Expect("scroll", Measure([&] {
            label.ScrollTimer()->Tick();
            label.RenderNow();
        }));
        EXPECT_GT(restarts, Ticks / 1000) << "the text loops round";   // 10 in the full run
    }
}

// The held repeat button, painted after each tick as the screen would: its repeat clicks cost
// nothing that stays.
TEST(LoadTimers, HeldRepeatButtonRepeatsWithoutGrowth)
{
    TRepSpeedButton button;
    button.resize(40, 24);
    button.setText(QStringLiteral(">"));
    int repeats = 0;
    button.OnRepeatClick = [&](QObject*) { ++repeats; };
    button.show();
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(20, 12));
    ASSERT_TRUE(button.Held());
    const auto tickAndPaint = [&] {
        button.RepeatTimer()->Tick();
        button.repaint();
    };
    // The first run settles what the style keeps for a pressed button (some kB, however long the
    // run); growth that comes with the ticks shows in the second.
    Measure(tickAndPaint);
    Expect("repeat", Measure(tickAndPaint));
    EXPECT_TRUE(button.RepeatTimer()->Active());
    EXPECT_FALSE(button.InStartPhase());
    EXPECT_GE(repeats, 2 * (200 + Ticks));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(20, 12));
    EXPECT_FALSE(button.RepeatTimer()->Active());
}
