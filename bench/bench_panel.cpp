// A live instrument panel: 150 components (meters, seven-segment displays, progress bars,
// numeric labels), each given a new value 1,000 times a second for 5 seconds, painted by a
// 60 Hz loop (value changes between frames only mark the components dirty; the frame is one
// pass of the event loop, which paints what is dirty). Beside it the same panel built from
// QDial, QLCDNumber, QProgressBar and QLabel. The time is simulated, so the figures do not
// depend on the machine keeping pace:
//   cpu_per_s     process CPU seconds per simulated second (1 = one core busy)
//   frames        frames the panel drew (300 expected)
//   set_ns        mean cost of one value change
//   stale         frames in which a component showed an older value than its latest (0)
//   renders_per_paint  renders of a component per paint it received (at most 1: no component
//                      renders on a value change, only for the paint)
#include <benchmark/benchmark.h>

#include <QOR_Meter.h>
#include <QOR_NumLab.h>
#include <QOR_ProgBar.h>
#include <QOR_sevenseg.h>

#include <QApplication>
#include <QDial>
#include <QGridLayout>
#include <QLCDNumber>
#include <QLabel>
#include <QProgressBar>
#include <QWidget>

#include <cmath>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

namespace {

using namespace qor;

constexpr int Components = 150;
constexpr int Columns = 10;
constexpr int Seconds = 5;
constexpr int ChangesPerSecond = 1000;
constexpr int FramesPerSecond = 60;

double ProcessCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// The value of component i at millisecond t: a slow wave with a little noise, 0..100.
double ValueAt(int i, int t)
{
    const double wave = 50 + 45 * std::sin(0.002 * t + 0.7 * i);
    const unsigned noise = unsigned(t * 2654435761u + unsigned(i) * 40503u) >> 28;
    return wave + 0.25 * noise;
}

// A component of the panel: how to give it a value and, for ours, what it last rendered.
struct Gauge {
    QWidget* Widget = nullptr;
    std::function<void(double)> Set;
    std::function<double()> Rendered;   // empty for the Qt widgets
    std::function<int()> Renders;
    std::function<int()> Paints;
};

// One of our components that counts its renders and its paint events and remembers the value
// it rendered last.
template <class Base>
class Counted : public Base {
public:
    std::function<double()> Current;
    double LastRendered = -1;
    int RenderCount = 0;
    int PaintCount = 0;

protected:
    void Paint() override
    {
        ++RenderCount;
        LastRendered = Current();
        Base::Paint();
    }
    void paintEvent(QPaintEvent* e) override
    {
        ++PaintCount;
        Base::paintEvent(e);
    }
};

template <class T, class Setter>
Gauge Ours(QWidget* parent, QSize size, Setter set)
{
    auto* w = new Counted<T>;
    w->setParent(parent);
    w->setFixedSize(size);
    auto value = std::make_shared<double>(0);
    w->Current = [value] { return *value; };
    Gauge g;
    g.Widget = w;
    g.Set = [w, value, set](double v) {
        *value = v;
        set(*w, v);
    };
    g.Rendered = [w] { return w->LastRendered; };
    g.Renders = [w] { return w->RenderCount; };
    g.Paints = [w] { return w->PaintCount; };
    return g;
}

template <class T, class Setter>
Gauge Theirs(QWidget* parent, QSize size, Setter set, std::function<void(T&)> setup = {})
{
    auto* w = new T(parent);
    w->setFixedSize(size);
    if (setup)
        setup(*w);
    Gauge g;
    g.Widget = w;
    g.Set = [w, set](double v) { set(*w, v); };
    return g;
}

using Factory = std::function<Gauge(QWidget*, int kind)>;

Gauge OurGauge(QWidget* p, int kind)
{
    switch (kind) {
    case 0:
        return Ours<TMeter>(p, QSize(120, 90), [](TMeter& m, double v) { m.SetValue(v); });
    case 1:
        return Ours<TSevenSeg>(p, QSize(120, 40), [](TSevenSeg& s, double v) { s.SetCaption(QString::number(v, 'f', 1)); });
    case 2:
        return Ours<TProgBar>(p, QSize(120, 20), [](TProgBar& b, double v) { b.SetValue(v); });
    default:
        return Ours<TNumLab>(p, QSize(120, 24), [](TNumLab& l, double v) { l.SetValue(v); });
    }
}

Gauge QtGauge(QWidget* p, int kind)
{
    switch (kind) {
    case 0:
        return Theirs<QDial>(p, QSize(120, 90), [](QDial& d, double v) { d.setValue(int(v)); },
                             [](QDial& d) { d.setNotchesVisible(true); });
    case 1:
        return Theirs<QLCDNumber>(p, QSize(120, 40), [](QLCDNumber& l, double v) { l.display(QString::number(v, 'f', 1)); },
                                  [](QLCDNumber& l) { l.setDigitCount(5); });
    case 2:
        return Theirs<QProgressBar>(p, QSize(120, 20), [](QProgressBar& b, double v) { b.setValue(int(v)); });
    default:
        return Theirs<QLabel>(p, QSize(120, 24), [](QLabel& l, double v) { l.setText(QString::number(v, 'f', 2)); });
    }
}

// Counts the paint events of every widget of a panel (the Qt widgets cannot count their own).
class PaintCounter : public QObject {
public:
    int Paints = 0;
protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++Paints;
        return false;
    }
};

void RunPanel(benchmark::State& state, const Factory& make)
{
    QWidget panel;
    auto* grid = new QGridLayout(&panel);
    grid->setSpacing(2);
    PaintCounter counter;
    std::vector<Gauge> gauges;
    for (int i = 0; i < Components; ++i) {
        gauges.push_back(make(&panel, i % 4));
        gauges.back().Widget->installEventFilter(&counter);
        grid->addWidget(gauges.back().Widget, i / Columns, i % Columns);
    }
    panel.show();
    QApplication::processEvents();
    const int paintsBefore = counter.Paints;
    std::vector<int> rendersBefore(gauges.size()), ourPaintsBefore(gauges.size());
    for (std::size_t i = 0; i < gauges.size(); ++i)
        if (gauges[i].Renders) {
            rendersBefore[i] = gauges[i].Renders();
            ourPaintsBefore[i] = gauges[i].Paints();
        }

    int stale = 0, frames = 0;
    double setSeconds = 0;
    for (auto _ : state) {
        const double cpu0 = ProcessCpuSeconds();
        for (int t = 1; t <= Seconds * ChangesPerSecond; ++t) {
            const double s0 = ProcessCpuSeconds();
            for (int i = 0; i < Components; ++i)
                gauges[std::size_t(i)].Set(ValueAt(i, t));
            setSeconds += ProcessCpuSeconds() - s0;
            // A frame is due whenever the 60 Hz clock has passed another tick.
            if (t * FramesPerSecond / ChangesPerSecond != (t - 1) * FramesPerSecond / ChangesPerSecond) {
                QApplication::processEvents();
                ++frames;
                for (int i = 0; i < Components; ++i) {
                    const Gauge& g = gauges[std::size_t(i)];
                    if (g.Rendered && g.Rendered() != ValueAt(i, t)) {
                        ++stale;
                        break;
                    }
                }
            }
        }
        const double cpu = ProcessCpuSeconds() - cpu0;
        state.counters["cpu_per_s"] = cpu / Seconds;
    }
    int renders = 0, ourPaints = 0;
    for (std::size_t i = 0; i < gauges.size(); ++i)
        if (gauges[i].Renders) {
            renders += gauges[i].Renders() - rendersBefore[i];
            ourPaints += gauges[i].Paints() - ourPaintsBefore[i];
        }
    state.counters["frames"] = double(counter.Paints - paintsBefore) / Components;
    state.counters["loop_frames"] = frames;
    state.counters["set_ns"] = setSeconds * 1e9 / (double(Seconds) * ChangesPerSecond * Components);
    if (ourPaints > 0) {
        state.counters["stale"] = stale;
        state.counters["renders_per_paint"] = double(renders) / ourPaints;
    }
}

void BM_PanelKorvane(benchmark::State& state) { RunPanel(state, OurGauge); }
BENCHMARK(BM_PanelKorvane)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_PanelQt(benchmark::State& state) { RunPanel(state, QtGauge); }
BENCHMARK(BM_PanelQt)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
