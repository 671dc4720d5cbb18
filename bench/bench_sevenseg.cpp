// Labels: a seven-segment display repainted for a new caption (glyph strip cached) against a
// QLCDNumber of the same size and digit count; the strip rebuilt for a new colour; a numeric
// label repainted for a new value against a QLabel showing the same text.
#include <benchmark/benchmark.h>

#include <QOR_NumLab.h>
#include <QOR_sevenseg.h>

#include <QImage>
#include <QLCDNumber>
#include <QLabel>

namespace {

using namespace qor;

const char* const kCaptions[] = {"12.34", "56.78", "-9.01", "23.45"};

void BM_SevenSegRepaint(benchmark::State& state)
{
    TSevenSeg s;
    s.resize(216, 76);
    QImage img(216, 76, QImage::Format_RGB32);
    s.render(&img);   // builds the strip once
    int i = 0;
    for (auto _ : state) {
        s.SetCaption(QLatin1String(kCaptions[i++ & 3]));
        s.render(&img);
        benchmark::DoNotOptimize(img.constBits());
    }
    state.counters["strip_builds"] = s.GlyphStripBuilds();
}
BENCHMARK(BM_SevenSegRepaint)->Unit(benchmark::kMicrosecond);

void BM_QLCDNumberRender(benchmark::State& state)
{
    QLCDNumber lcd(4);
    lcd.resize(216, 76);
    lcd.setSegmentStyle(QLCDNumber::Filled);
    QImage img(216, 76, QImage::Format_RGB32);
    int i = 0;
    for (auto _ : state) {
        lcd.display(QLatin1String(kCaptions[i++ & 3]));
        lcd.render(&img);
        benchmark::DoNotOptimize(img.constBits());
    }
}
BENCHMARK(BM_QLCDNumberRender)->Unit(benchmark::kMicrosecond);

// A colour change: 21 glyphs composed at 312 x 432 and scaled into the strip.
void BM_SevenSegStripRebuild(benchmark::State& state)
{
    TSevenSeg s;
    s.resize(216, 76);
    QImage img(216, 76, QImage::Format_RGB32);
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        s.SetColorText(flip ? clRed : clLime);
        s.render(&img);
        benchmark::DoNotOptimize(img.constBits());
    }
}
BENCHMARK(BM_SevenSegStripRebuild)->Unit(benchmark::kMillisecond);

void BM_NumLabRepaint(benchmark::State& state)
{
    TNumLab lab;
    lab.SetLeftText(QStringLiteral("U ="));
    lab.SetRightText(QStringLiteral("V"));
    QImage img(160, 28, QImage::Format_RGB32);
    int i = 0;
    for (auto _ : state) {
        lab.SetValue(1.25 * (i++ % 1000));
        lab.render(&img);
        benchmark::DoNotOptimize(img.constBits());
    }
}
BENCHMARK(BM_NumLabRepaint)->Unit(benchmark::kMicrosecond);

void BM_QLabelRenderNumLab(benchmark::State& state)
{
    QLabel label;
    label.resize(160, 28);
    label.setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label.setAlignment(Qt::AlignCenter);
    QImage img(160, 28, QImage::Format_RGB32);
    int i = 0;
    for (auto _ : state) {
        label.setText(QString::number(1.25 * (i++ % 1000), 'f', 2));
        label.render(&img);
        benchmark::DoNotOptimize(img.constBits());
    }
}
BENCHMARK(BM_QLabelRenderNumLab)->Unit(benchmark::kMicrosecond);

} // namespace
