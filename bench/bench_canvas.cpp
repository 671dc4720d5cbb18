// The canvas against a bare QPainter on a QImage doing the same drawing: 1000 rectangles and
// lines, 1000 frames (against qDrawWinPanel), 1000 markers (against the nearest QPainter shapes).
#include <benchmark/benchmark.h>

#include <QOR_qorbase.h>

#include <QImage>
#include <QPainter>
#include <QPalette>
#include <qdrawutil.h>

#include <vector>

using namespace qor;

namespace {

constexpr int kW = 300, kH = 200, kCount = 1000;

struct Shape {
    int L, T, R, B;       // rectangle, half-open
    int X1, Y1, X2, Y2;   // line
    TColor Colour;
};

// A fixed pseudo-random scene, the same for both sides.
const std::vector<Shape>& Scene()
{
    static const std::vector<Shape> scene = [] {
        std::vector<Shape> v;
        unsigned s = 12345;
        auto next = [&s](int n) { s = s * 1103515245u + 12345u; return int((s >> 16) % unsigned(n)); };
        for (int i = 0; i < kCount; ++i) {
            const int l = next(kW - 20), t = next(kH - 20);
            v.push_back({l, t, l + 2 + next(60), t + 2 + next(40), next(kW), next(kH), next(kW), next(kH),
                         RGB(next(256), next(256), next(256))});
        }
        return v;
    }();
    return scene;
}

void BM_Canvas_RectanglesAndLines(benchmark::State& state)
{
    TBitmap bmp(kW, kH);
    TCanvas* c = bmp.Canvas();
    for (auto _ : state) {
        for (const Shape& s : Scene()) {
            c->Pen()->SetColor(clBlack);
            c->Brush()->SetColor(s.Colour);
            c->Rectangle(s.L, s.T, s.R, s.B);
            c->Pen()->SetColor(s.Colour);
            c->MoveTo(s.X1, s.Y1);
            c->LineTo(s.X2, s.Y2);
        }
        benchmark::DoNotOptimize(bmp.Image().constBits());
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_Canvas_RectanglesAndLines)->Unit(benchmark::kMicrosecond);

void BM_QPainter_RectanglesAndLines(benchmark::State& state)
{
    QImage img(kW, kH, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (auto _ : state) {
        QPainter p(&img);
        for (const Shape& s : Scene()) {
            const QColor colour = ToQColor(s.Colour);
            p.setPen(Qt::black);
            p.setBrush(colour);
            p.drawRect(s.L, s.T, s.R - s.L - 1, s.B - s.T - 1);
            p.setPen(colour);
            p.drawLine(s.X1, s.Y1, s.X2, s.Y2);
        }
        p.end();
        benchmark::DoNotOptimize(img.constBits());
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_QPainter_RectanglesAndLines)->Unit(benchmark::kMicrosecond);

void BM_Canvas_DrawFrame(benchmark::State& state)
{
    TBitmap bmp(kW, kH);
    for (auto _ : state) {
        for (const Shape& s : Scene())
            DrawFrame(bmp.Canvas(), fsLowered, s.L, s.T, s.R, s.B, clWhite, clSilver, clGray, clBlack, clBlack);
        benchmark::DoNotOptimize(bmp.Image().constBits());
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_Canvas_DrawFrame)->Unit(benchmark::kMicrosecond);

void BM_QPainter_qDrawWinPanel(benchmark::State& state)
{
    QImage img(kW, kH, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPalette pal;
    pal.setColor(QPalette::Light, Qt::white);
    pal.setColor(QPalette::Midlight, QColor(0xC0, 0xC0, 0xC0));
    pal.setColor(QPalette::Dark, QColor(0x80, 0x80, 0x80));
    pal.setColor(QPalette::Shadow, Qt::black);
    for (auto _ : state) {
        QPainter p(&img);
        for (const Shape& s : Scene())
            qDrawWinPanel(&p, s.L, s.T, s.R - s.L + 1, s.B - s.T + 1, pal, true, nullptr);
        p.end();
        benchmark::DoNotOptimize(img.constBits());
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_QPainter_qDrawWinPanel)->Unit(benchmark::kMicrosecond);

void BM_Canvas_Markers(benchmark::State& state)
{
    TBitmap bmp(kW, kH);
    TCanvas* c = bmp.Canvas();
    c->Pen()->SetColor(clNavy);
    for (auto _ : state) {
        int i = 0;
        for (const Shape& s : Scene())
            DrawMarkOnCanvas(c, i++ % NumMarkers, s.X1, s.Y1);
        benchmark::DoNotOptimize(bmp.Image().constBits());
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_Canvas_Markers)->Unit(benchmark::kMicrosecond);

// The nearest plain-Qt way to put the same symbols down: ellipses, rectangles, polygons and line
// pairs of the same sizes, filled or hollow in turn, without antialiasing.
void BM_QPainter_MarkerShapes(benchmark::State& state)
{
    QImage img(kW, kH, QImage::Format_RGB32);
    img.fill(Qt::white);
    const QColor navy = ToQColor(clNavy);
    for (auto _ : state) {
        QPainter p(&img);
        p.setPen(navy);
        int i = 0;
        for (const Shape& s : Scene()) {
            const int m = i++ % NumMarkers;
            const int h = std::max(1, MarkerHalfSize(m));
            const int x = s.X1, y = s.Y1;
            p.setBrush(m % 2 == 0 ? QBrush(navy) : QBrush(Qt::NoBrush));
            switch (m * 11 / NumMarkers) {
            case 0: case 1: p.drawEllipse(QPoint(x, y), h, h); break;
            case 2: case 3: p.drawRect(x - h, y - h, 2 * h, 2 * h); break;
            case 4: case 5: {
                const QPoint d[] = {{x, y - h}, {x + h, y}, {x, y + h}, {x - h, y}};
                p.drawPolygon(d, 4);
                break;
            }
            case 6: case 7: case 8: {
                const QPoint t[] = {{x, y - h}, {x + h, y + h}, {x - h, y + h}};
                p.drawPolygon(t, 3);
                break;
            }
            default:
                p.drawLine(x - h, y, x + h, y);
                p.drawLine(x, y - h, x, y + h);
                break;
            }
        }
        p.end();
        benchmark::DoNotOptimize(img.constBits());
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_QPainter_MarkerShapes)->Unit(benchmark::kMicrosecond);

} // namespace
