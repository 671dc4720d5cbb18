// Raster label: one scroll tick (the step and the repaint into the surface) at 400 x 68, with
// the default text and with a long text, against a QLabel of the same size rendered with the
// same texts.
#include <benchmark/benchmark.h>

#include <QOR_RasterLab.h>

#include <QImage>
#include <QLabel>

namespace {

using namespace qor;

QString LongText()
{
    return QString::fromUtf8("Channel 1: 12.5 °C  Channel 2: -3.75 bar  Flow 118.2 l/min  "
                             "Valve A open · Valve B closed · Pump running at 2950 rpm  ")
        .repeated(4);
}

void ScrollTick(benchmark::State& state, const QString& text)
{
    TRasterLab lab;
    lab.resize(400, 68);
    lab.SetText(text);
    lab.SetScrollIncrement(2);
    lab.SetScrollMode(rdsmLeft);
    lab.RenderNow();
    for (auto _ : state) {
        lab.ScrollTimer()->Tick();
        lab.RenderNow();
        benchmark::DoNotOptimize(lab.Surface()->Image().constBits());
    }
    state.counters["chars"] = double(text.size());
}

void BM_RasterLabScrollTick(benchmark::State& state) { ScrollTick(state, QStringLiteral("Text")); }
BENCHMARK(BM_RasterLabScrollTick)->Unit(benchmark::kMicrosecond);

void BM_RasterLabScrollTickLongText(benchmark::State& state) { ScrollTick(state, LongText()); }
BENCHMARK(BM_RasterLabScrollTickLongText)->Unit(benchmark::kMicrosecond);

void LabelRender(benchmark::State& state, const QString& text)
{
    QLabel label(text);
    label.resize(400, 68);
    QImage img(400, 68, QImage::Format_RGB32);
    for (auto _ : state) {
        label.render(&img);
        benchmark::DoNotOptimize(img.constBits());
    }
}

void BM_QLabelRender400x68(benchmark::State& state) { LabelRender(state, QStringLiteral("Text")); }
BENCHMARK(BM_QLabelRender400x68)->Unit(benchmark::kMicrosecond);

void BM_QLabelRender400x68LongText(benchmark::State& state) { LabelRender(state, LongText()); }
BENCHMARK(BM_QLabelRender400x68LongText)->Unit(benchmark::kMicrosecond);

} // namespace
