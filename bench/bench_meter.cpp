// Meter: a full repaint of a 297 x 209 dial (bands, minor ticks, labels, both needles) against
// a QDial of the same size rendered the same way (with the dial layer reused, and drawn from
// scratch), and 1,000 value changes with repaints, with the heap growth across them.
#include <benchmark/benchmark.h>

#include <QOR_Meter.h>

#include <QDial>
#include <QImage>
#include <malloc.h>

namespace {

using namespace qor;

void SetUpMeter(TMeter& m)
{
    m.resize(297, 209);
    m.SetMeterMaxValue(250);
    m.SetMeterNrTicks(5);
    m.SetMeterDecPlaces(0);
    m.SetMeterShortTicks(true);
    m.SetScaleBkVisible(true);
    m.SetScaleBkWidth(8);
    m.SetThresholdLow(50);
    m.SetThresholdHigh(200);
    m.SetCaption(QStringLiteral("V"));
    m.NeedleLayout()->SetThickness(3);
    m.NeedleLayout()->SetShadowDx(-3);
    m.NeedleLayout()->SetShadowDy(-3);
    m.NeedleLayoutSec()->SetVisible(true);
    m.SetValueSec(180);
    m.SetValue(120);
}

void SetUpDial(QDial& d)
{
    d.resize(297, 209);
    d.setRange(0, 250);
    d.setNotchesVisible(true);
    d.setValue(120);
}

QImage Target() { return QImage(297, 209, QImage::Format_RGB32); }

void BM_MeterFullRepaint(benchmark::State& state)
{
    TMeter m;
    SetUpMeter(m);
    QImage img = Target();
    for (auto _ : state) {
        m.Invalidate();
        m.render(&img);
        benchmark::DoNotOptimize(img.constBits());
    }
}
BENCHMARK(BM_MeterFullRepaint)->Unit(benchmark::kMicrosecond);

// The same with the dial drawn from scratch every time (a setting changes before each paint).
void BM_MeterColdRepaint(benchmark::State& state)
{
    TMeter m;
    SetUpMeter(m);
    QImage img = Target();
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        m.SetColorScale(flip ? clNavy : clBlack);
        m.render(&img);
        benchmark::DoNotOptimize(img.constBits());
    }
}
BENCHMARK(BM_MeterColdRepaint)->Unit(benchmark::kMicrosecond);

void BM_QDialRender(benchmark::State& state)
{
    QDial d;
    SetUpDial(d);
    QImage img = Target();
    for (auto _ : state) {
        d.render(&img);
        benchmark::DoNotOptimize(img.constBits());
    }
}
BENCHMARK(BM_QDialRender)->Unit(benchmark::kMicrosecond);

std::size_t HeapInUse() { return mallinfo2().uordblks; }

void BM_Meter1000ValueChanges(benchmark::State& state)
{
    TMeter m;
    SetUpMeter(m);
    auto sweep = [&] {
        for (int i = 0; i < 1000; ++i) {
            m.SetValue((i * 37) % 251);
            m.RenderNow();
        }
    };
    sweep();   // caches and the surface settle first
    long long growth = 0;
    for (auto _ : state) {
        const std::size_t before = HeapInUse();
        sweep();
        growth = std::max<long long>(growth, static_cast<long long>(HeapInUse()) - static_cast<long long>(before));
    }
    state.counters["heap_growth_bytes"] = double(growth);
}
BENCHMARK(BM_Meter1000ValueChanges)->Unit(benchmark::kMillisecond);

void BM_QDial1000ValueChanges(benchmark::State& state)
{
    QDial d;
    SetUpDial(d);
    QImage img = Target();
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) {
            d.setValue((i * 37) % 251);
            d.render(&img);
        }
        benchmark::DoNotOptimize(img.constBits());
    }
}
BENCHMARK(BM_QDial1000ValueChanges)->Unit(benchmark::kMillisecond);

} // namespace
