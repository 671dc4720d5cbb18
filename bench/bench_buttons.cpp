// Buttons and selectors: a full repaint of an on/off button with captions beside a QCheckBox
// of the same size (opaque and transparent), the marker selector's repaint beside a QListWidget
// showing 52 items in icon mode, the colour selector's closed box beside a QComboBox with the same
// names and a colour icon per item.
#include <benchmark/benchmark.h>

#include <QOR_Colsel.h>
#include <QOR_marksel.h>
#include <QOR_onoffbut.h>

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QListWidget>
#include <QPixmap>

namespace {

using namespace qor;

template <class W>
void Render(benchmark::State& state, W& w, bool invalidate)
{
    QImage img(w.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        if constexpr (requires { w.Invalidate(); })
            if (invalidate)
                w.Invalidate();
        w.render(&img);
        benchmark::DoNotOptimize(img.constBits());
    }
}

void OnOffBut(benchmark::State& state, bool transparent)
{
    TOnOffBut b;
    b.resize(160, 50);
    b.SetLeftText(QStringLiteral("Pump"));
    b.SetRightText(QStringLiteral("on"));
    b.SetTransparent(transparent);
    Render(state, b, true);
}

void BM_OnOffButRepaint(benchmark::State& state) { OnOffBut(state, false); }
BENCHMARK(BM_OnOffButRepaint)->Unit(benchmark::kMicrosecond);

void BM_OnOffButRepaintTransparent(benchmark::State& state) { OnOffBut(state, true); }
BENCHMARK(BM_OnOffButRepaintTransparent)->Unit(benchmark::kMicrosecond);

void BM_QCheckBoxRender(benchmark::State& state)
{
    QCheckBox c(QStringLiteral("Pump on"));
    c.resize(160, 50);
    c.setChecked(true);
    Render(state, c, false);
}
BENCHMARK(BM_QCheckBoxRender)->Unit(benchmark::kMicrosecond);

void BM_MarkSelRepaint(benchmark::State& state)
{
    TMarkSel m;
    m.SetSelected(9);
    Render(state, m, true);
}
BENCHMARK(BM_MarkSelRepaint)->Unit(benchmark::kMicrosecond);

void BM_QListWidgetIconsRender(benchmark::State& state)
{
    QListWidget l;
    l.resize(236, 178);
    l.setViewMode(QListView::IconMode);
    l.setGridSize(QSize(29, 29));
    QPixmap icon(11, 11);
    icon.fill(Qt::black);
    for (int i = 0; i < NumMarkers; ++i)
        l.addItem(new QListWidgetItem(QIcon(icon), QString()));
    l.setCurrentRow(9);
    Render(state, l, false);
}
BENCHMARK(BM_QListWidgetIconsRender)->Unit(benchmark::kMicrosecond);

void BM_ColSelRender(benchmark::State& state)
{
    TColSel c;
    c.resize(200, 24);
    c.SetSelColor(clTeal);
    Render(state, c, false);
}
BENCHMARK(BM_ColSelRender)->Unit(benchmark::kMicrosecond);

void BM_QComboBoxIconRender(benchmark::State& state)
{
    QComboBox c;
    c.resize(200, 24);
    for (int i = 0; i < 20; ++i) {
        QPixmap swatch(30, 14);
        swatch.fill(ToQColor(PredefinedColors(i).Color));
        c.addItem(QIcon(swatch), ColorToString(PredefinedColors(i).Color));
    }
    c.setCurrentIndex(6);
    Render(state, c, false);
}
BENCHMARK(BM_QComboBoxIconRender)->Unit(benchmark::kMicrosecond);

} // namespace
