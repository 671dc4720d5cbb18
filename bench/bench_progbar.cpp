// Progress bar: a full repaint with a gradient bar, grid, both frames and the value text, at
// 300 x 28 and as a tall vertical bar, each beside a QProgressBar of the same size rendered the
// same way; and a repaint of a 121 x 121 gradient fill beside a QFrame with a QLinearGradient
// background of the same size.
#include <benchmark/benchmark.h>

#include <QOR_ProgBar.h>
#include <QOR_gradfl.h>

#include <QFrame>
#include <QImage>
#include <QLinearGradient>
#include <QPalette>
#include <QProgressBar>

namespace {

using namespace qor;

void SetUpBar(TProgBar& b, QSize size, TDirection dir)
{
    b.resize(size);
    b.SetDirection(dir);
    b.SetShowColorGradient(true);
    b.SetColorMapMode(cgmStretch);
    b.SetGridDist(10);
    b.SetValue(64);
    b.SetTextPosX(size.width() / 2);
    b.SetTextPosY(size.height() / 2);
    if (dir == dirUp)
        b.SetTextAngle(90);
}

void SetUpQt(QProgressBar& q, QSize size, Qt::Orientation o)
{
    q.resize(size);
    q.setOrientation(o);
    q.setRange(0, 100);
    q.setValue(64);
    q.setTextVisible(true);
}

void RenderBar(benchmark::State& state, QSize size, TDirection dir)
{
    TProgBar b;
    SetUpBar(b, size, dir);
    QImage img(size, QImage::Format_RGB32);
    for (auto _ : state) {
        b.Invalidate();
        b.render(&img);
        benchmark::DoNotOptimize(img.constBits());
    }
}

void RenderQt(benchmark::State& state, QSize size, Qt::Orientation o)
{
    QProgressBar q;
    SetUpQt(q, size, o);
    QImage img(size, QImage::Format_RGB32);
    for (auto _ : state) {
        q.render(&img);
        benchmark::DoNotOptimize(img.constBits());
    }
}

void BM_ProgBarRepaint300x28(benchmark::State& state) { RenderBar(state, {300, 28}, dirRight); }
BENCHMARK(BM_ProgBarRepaint300x28)->Unit(benchmark::kMicrosecond);

void BM_QProgressBarRender300x28(benchmark::State& state) { RenderQt(state, {300, 28}, Qt::Horizontal); }
BENCHMARK(BM_QProgressBarRender300x28)->Unit(benchmark::kMicrosecond);

void BM_ProgBarRepaintTall28x600(benchmark::State& state) { RenderBar(state, {28, 600}, dirUp); }
BENCHMARK(BM_ProgBarRepaintTall28x600)->Unit(benchmark::kMicrosecond);

void BM_QProgressBarRenderTall28x600(benchmark::State& state) { RenderQt(state, {28, 600}, Qt::Vertical); }
BENCHMARK(BM_QProgressBarRenderTall28x600)->Unit(benchmark::kMicrosecond);

void BM_GradFillRepaint(benchmark::State& state)
{
    TGradFill g;
    g.SetNrColors(64);
    g.SetFillType(gtMidBandHoriz);
    g.SetGridMode(gmBoth);
    g.SetFrameStyle(fsRaised);
    QImage img(g.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        g.Invalidate();
        g.render(&img);
        benchmark::DoNotOptimize(img.constBits());
    }
}
BENCHMARK(BM_GradFillRepaint)->Unit(benchmark::kMicrosecond);

void BM_QFrameGradientRender(benchmark::State& state)
{
    QFrame f;
    f.resize(121, 121);
    f.setFrameStyle(QFrame::Panel | QFrame::Raised);
    QLinearGradient grad(0, 0, 0, 121);
    grad.setColorAt(0, QColor(128, 0, 0));
    grad.setColorAt(0.5, QColor(255, 255, 0));
    grad.setColorAt(1, QColor(128, 0, 0));
    QPalette pal = f.palette();
    pal.setBrush(QPalette::Window, grad);
    f.setPalette(pal);
    f.setAutoFillBackground(true);
    QImage img(f.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        f.render(&img);
        benchmark::DoNotOptimize(img.constBits());
    }
}
BENCHMARK(BM_QFrameGradientRender)->Unit(benchmark::kMicrosecond);

} // namespace
