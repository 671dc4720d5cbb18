// Number text and the self-drawn numeric field against their Qt counterparts:
//  - ScanFloatStr + FormatRealStr vs QString::toDouble + QString::number on 1,000,000 texts;
//  - a TNumIO2 repaint vs a QDoubleSpinBox render of the same size.
#include <benchmark/benchmark.h>

#include <QOR_NumIO.h>
#include <QOR_NumIO2.h>

#include <QDoubleSpinBox>
#include <QImage>

#include <random>
#include <vector>

using namespace qor;

namespace {

constexpr int kTexts = 1000000;

// Typical field contents: integers, fixed decimals, signs, exponents, long fractions.
const std::vector<QString>& MixedTexts()
{
    static const std::vector<QString> texts = [] {
        std::vector<QString> v;
        v.reserve(kTexts);
        std::mt19937 rng(2026);
        std::uniform_real_distribution<double> mant(-1000.0, 1000.0);
        std::uniform_int_distribution<int> expo(-30, 30);
        for (int i = 0; i < kTexts; ++i) {
            const double x = mant(rng);
            switch (i % 6) {
            case 0: v.push_back(QString::number(int(x))); break;
            case 1: v.push_back(QString::number(x, 'f', 2)); break;
            case 2: v.push_back(QString::number(x, 'f', 6)); break;
            case 3: v.push_back(QString::number(x / 1000.0, 'e', 5).toUpper()); break;
            case 4: v.push_back(QString::number(x, 'g', 15)); break;
            default: v.push_back(QStringLiteral("%1e%2").arg(int(x)).arg(expo(rng))); break;
            }
        }
        return v;
    }();
    return texts;
}

void BM_NumText_ScanFormat(benchmark::State& state)
{
    const auto& texts = MixedTexts();
    for (auto _ : state) {
        qsizetype total = 0;
        for (int i = 0; i < kTexts; ++i) {
            int pos = 1;
            const double v = ScanFloatStr(texts[size_t(i)], true, 1, pos);
            const QString out = (i & 1) ? FormatRealStr(12, -2, v) : FormatRealStr(1, 2, v);
            total += out.size();
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * kTexts);
}

void BM_NumText_QtToDoubleNumber(benchmark::State& state)
{
    const auto& texts = MixedTexts();
    for (auto _ : state) {
        qsizetype total = 0;
        for (int i = 0; i < kTexts; ++i) {
            bool ok = false;
            const double v = texts[size_t(i)].toDouble(&ok);
            const QString out = (i & 1) ? QString::number(v, 'E', 5) : QString::number(v, 'f', 2);
            total += out.size();
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * kTexts);
}

void BM_NumIO2_Repaint(benchmark::State& state)
{
    TNumIO2 field;
    field.resize(160, 28);
    field.SetValue(123.45);
    field.SetLeftText(QStringLiteral("U ="));
    QImage img(field.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        field.Invalidate();
        field.render(&img);
        benchmark::DoNotOptimize(img.constBits());
    }
}

void BM_NumIO2_QDoubleSpinBoxRender(benchmark::State& state)
{
    QDoubleSpinBox spin;
    spin.resize(160, 28);
    spin.setRange(0.0, 1000.0);
    spin.setValue(123.45);
    spin.setPrefix(QStringLiteral("U = "));
    QImage img(spin.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        spin.render(&img);
        benchmark::DoNotOptimize(img.constBits());
    }
}

// The same repaint with buttons and gauge shown.
void BM_NumIO2_RepaintFull(benchmark::State& state)
{
    TNumIO2 field;
    field.resize(160, 40);
    field.SetButVisible(true);
    field.SetGaugeVisible(true);
    field.SetValue(500.0);
    QImage img(field.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        field.Invalidate();
        field.render(&img);
        benchmark::DoNotOptimize(img.constBits());
    }
}

} // namespace

BENCHMARK(BM_NumText_ScanFormat)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NumText_QtToDoubleNumber)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NumIO2_Repaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NumIO2_RepaintFull)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NumIO2_QDoubleSpinBoxRender)->Unit(benchmark::kMicrosecond);
