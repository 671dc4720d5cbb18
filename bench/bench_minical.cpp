// Month calendar: a full repaint at the default 300 x 180, and a month step with its repaint,
// each beside a QCalendarWidget of the same size rendered the same way (its nearest Qt
// counterpart), both shown on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCalendarWidget>
#include <QImage>

#include <QOR_MiniCal.h>

namespace {

using namespace qor;

const QSize Size(300, 180);

struct Calendars {
    TMiniCal Cal;
    QCalendarWidget Qt;
    Calendars()
    {
        Cal.resize(Size);
        Cal.SetDate(EncodeDate(2024, 4, 10));
        Cal.AddRepeatHoliday(3, 10, QStringLiteral("Unity Day"));
        Qt.resize(Size);
        Qt.setSelectedDate(QDate(2024, 4, 10));
        Cal.show();
        Qt.show();
        QApplication::processEvents();
    }
};

Calendars& Shown()
{
    // Kept to the end of the process: widgets must not outlive the application in static
    // destructors.
    static auto* c = new Calendars;
    return *c;
}

// Renders the widget as it shows, after step() on every round.
template <class Step>
void Render(benchmark::State& state, QWidget& w, Step step)
{
    QImage img(Size, QImage::Format_RGB32);
    for (auto _ : state) {
        step();
        w.render(&img);
        benchmark::DoNotOptimize(img.constBits());
    }
}

void BM_MiniCalRepaint300x180(benchmark::State& state)
{
    TMiniCal& cal = Shown().Cal;
    Render(state, cal, [&] { cal.Invalidate(); });
}
BENCHMARK(BM_MiniCalRepaint300x180)->Unit(benchmark::kMicrosecond);

void BM_QCalendarWidgetRender300x180(benchmark::State& state)
{
    Render(state, Shown().Qt, [] {});
}
BENCHMARK(BM_QCalendarWidgetRender300x180)->Unit(benchmark::kMicrosecond);

// Forth and back, so that the date stays in the same years however long the run.
void BM_MiniCalMonthStepRepaint(benchmark::State& state)
{
    TMiniCal& cal = Shown().Cal;
    bool forth = true;
    Render(state, cal, [&] {
        forth ? cal.NextMonth() : cal.PrevMonth();
        forth = !forth;
    });
}
BENCHMARK(BM_MiniCalMonthStepRepaint)->Unit(benchmark::kMicrosecond);

void BM_QCalendarWidgetMonthStepRender(benchmark::State& state)
{
    QCalendarWidget& q = Shown().Qt;
    bool forth = true;
    Render(state, q, [&] {
        forth ? q.showNextMonth() : q.showPreviousMonth();
        forth = !forth;
    });
}
BENCHMARK(BM_QCalendarWidgetMonthStepRender)->Unit(benchmark::kMicrosecond);

} // namespace
