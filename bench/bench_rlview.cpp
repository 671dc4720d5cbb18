// The report list view against QTableView over a QStandardItemModel: full repaint of a
// 600 x 400 view with 100 and 1,000,000 rows, header-click sort, page down, simple filtering,
// removing the empty half of 200,000 rows, fitting every column width to 1,000,000 rows.
//
// Sorting and filtering 1,000,000 rows have no Qt counterpart here: a QStandardItemModel with
// items in every row of the sorted column exhausts the machine's memory, so their figures are
// absolute times.
// Removing empty rows and fitting column widths are absolute times too: QTableView has no
// removal of empty rows, and its resizeColumnsToContents measures a bounded sample of rows only.
// The Qt model of 1,000,000 rows holds items in its first 1,000 rows only (the rest are empty
// cells): items for every cell would take gigabytes, and a repaint at the top touches the
// first page alone either way.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStandardItemModel>
#include <QTableView>

#include <QOR_replist.h>

#include <map>
#include <memory>

namespace {

using namespace qor;

constexpr int kCols = 5;

QString CellText(int c, int r)
{
    switch (c) {
    case 1: return QStringLiteral("Name %1").arg((r * 7919) % 100003);
    case 2: return QString::number((r * 104729) % 1000003);
    case 3: return QStringLiteral("City %1").arg(r % 97);
    case 4: return QStringLiteral("%1.%2.20%3").arg(1 + r % 28).arg(1 + r % 12).arg(10 + r % 15);
    default: return QStringLiteral("note %1").arg(r % 1013);
    }
}

// One shown view per row count, built once and kept to the end of the process (widgets must
// not outlive the application object in static destructors).
TReportListView* View(int rows)
{
    static std::map<int, TReportListView*> views;
    auto& v = views[rows];
    if (!v) {
        v = new TReportListView;
        v->resize(600, 400);
        v->SetNrOfColumns(kCols);
        v->SetNrOfRows(rows);
        TStringArray* s = v->Data()->Strings();
        s->SetNotifyChange(false);
        for (int r = 1; r <= rows; ++r)
            for (int c = 1; c <= kCols; ++c)
                s->SetString(c, r, CellText(c, r));
        s->SetNotifyChange(true);
        v->show();
        QApplication::processEvents();
    }
    return v;
}

QTableView* Table(int rows)
{
    static std::map<int, std::pair<QStandardItemModel*, QTableView*>> tables;
    auto& t = tables[rows];
    if (!t.second) {
        t.first = new QStandardItemModel(rows, kCols);
        for (int r = 0; r < std::min(rows, 1000); ++r)
            for (int c = 0; c < kCols; ++c)
                t.first->setItem(r, c, new QStandardItem(CellText(c + 1, r + 1)));
        t.second = new QTableView;
        t.second->setModel(t.first);
        t.second->resize(600, 400);
        t.second->show();
        QApplication::processEvents();
    }
    return t.second;
}

// A full repaint: every visible cell drawn again.
void BM_RLView_Repaint(benchmark::State& state)
{
    TReportListView* v = View(int(state.range(0)));
    for (auto _ : state)
        v->Repaint();
}
BENCHMARK(BM_RLView_Repaint)->Arg(100)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// The window uncovered, nothing changed: the retained surface is copied to the screen.
void BM_RLView_Expose(benchmark::State& state)
{
    TReportListView* v = View(int(state.range(0)));
    for (auto _ : state)
        v->viewport()->repaint();
}
BENCHMARK(BM_RLView_Expose)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void BM_QTableView_Repaint(benchmark::State& state)
{
    QTableView* t = Table(int(state.range(0)));
    for (auto _ : state)
        t->viewport()->repaint();
}
BENCHMARK(BM_QTableView_Repaint)->Arg(100)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void SendKey(QWidget* w, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

void BM_RLView_PageDown(benchmark::State& state)
{
    TReportListView* v = View(1000000);
    v->setFocus();
    for (auto _ : state) {
        SendKey(v, Qt::Key_PageDown);
        v->viewport()->repaint();
        if (v->TopRow() > 999000) {
            state.PauseTiming();
            SendKey(v, Qt::Key_Home);
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_RLView_PageDown)->Unit(benchmark::kMicrosecond);

void BM_QTableView_PageDown(benchmark::State& state)
{
    QTableView* t = Table(1000000);
    t->setFocus();
    t->setCurrentIndex(t->model()->index(0, 0));
    for (auto _ : state) {
        SendKey(t, Qt::Key_PageDown);
        t->viewport()->repaint();
    }
}
BENCHMARK(BM_QTableView_PageDown)->Unit(benchmark::kMicrosecond);

void BM_RLView_HeaderClickSort1M(benchmark::State& state)
{
    TReportListView* v = View(1000000);
    const QRect hd = v->CellRect(1, 0);
    const QPointF at(hd.center());
    for (auto _ : state) {
        QMouseEvent press(QEvent::MouseButtonPress, at, v->viewport()->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(v->viewport(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, v->viewport()->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(v->viewport(), &release);
        v->viewport()->repaint();
    }
}
BENCHMARK(BM_RLView_HeaderClickSort1M)->Unit(benchmark::kMillisecond)->Iterations(4);

void BM_RLView_FilterSimple1M(benchmark::State& state)
{
    TReportListView* v = View(1000000);
    bool odd = false;
    for (auto _ : state) {
        v->FilterAndSort(odd ? QStringLiteral("city 42") : QStringLiteral("name 77"), {}, true, fmSimple, 0, true);
        odd = !odd;
    }
    state.counters["shown"] = v->NrOfShownRows();
    v->FilterAndSort(QString(), {}, true, fmSimple, 0, true);
}
BENCHMARK(BM_RLView_FilterSimple1M)->Unit(benchmark::kMillisecond)->Iterations(4);

// 200,000 rows, every second one empty (column 0 included); the view removes the 100,000 empty
// ones. Each run starts from a fresh list.
void BM_RLView_RemoveEmptyRows200k(benchmark::State& state)
{
    constexpr int rows = 200000;
    auto* v = new TReportListView;
    v->resize(600, 400);
    v->SetNrOfColumns(kCols);
    v->show();
    QApplication::processEvents();
    int setups = 0, changes = 0;
    v->OnChangeSetup = [&](QObject*) { ++setups; };
    v->OnChange = [&](QObject*) { ++changes; };
    for (auto _ : state) {
        state.PauseTiming();
        v->SetNrOfRows(rows);
        TStringArray* s = v->Data()->Strings();
        s->SetNotifyChange(false);
        for (int r = 1; r <= rows; ++r)
            for (int c = 0; c <= kCols; ++c)
                s->SetString(c, r, r % 2 ? CellText(std::max(c, 1), r) : QString());
        s->SetNotifyChange(true);
        setups = changes = 0;
        state.ResumeTiming();
        v->RemoveEmptyRows();
    }
    state.counters["rows_left"] = v->NrOfRows();
    state.counters["OnChangeSetup"] = setups;
    state.counters["OnChange"] = changes;
    delete v;
}
BENCHMARK(BM_RLView_RemoveEmptyRows200k)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RLView_FitAllColWidths1M(benchmark::State& state)
{
    TReportListView* v = View(1000000);
    for (auto _ : state)
        v->FitAllColWidths(kCols, true, 4, 400, 0);
    state.counters["width1"] = v->ColWidths(1);
}
BENCHMARK(BM_RLView_FitAllColWidths1M)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
