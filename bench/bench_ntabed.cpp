// The numeric table editor against QTableView over the same TDataTable (a table model that reads
// its values): full repaint of a 600 x 400 view with 100, 10,000 and 1,000,000 rows; sorting
// 1,000,000 rows by one column against QSortFilterProxyModel over the same model.
// Extracting and pasting a 1,000 x 100 block and GetClipMatrixSize on its text have no Qt
// counterpart (Qt's views have no clipboard format); their figures are absolute times.
#include <benchmark/benchmark.h>

#include <QAbstractTableModel>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QSortFilterProxyModel>
#include <QTableView>

#include <QOR_ntabed.h>

#include <map>
#include <random>

namespace {

using namespace qor;

constexpr int kCols = 10;

// The same table for both views: a value per cell, every cell a number.
void FillTable(TNTabEd* t, int cols, int rows, unsigned seed)
{
    t->SetSuppressPaint(true);
    t->Redimension(cols, rows);
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> dist(-1000.0, 1000.0);
    for (int r = 1; r <= rows; ++r)
        for (int c = 1; c <= cols; ++c)
            t->SetElem(c, r, dist(gen));
    t->SetSuppressPaint(false);
}

// A Qt model that shows a TDataTable, as a program would put a QTableView over its data.
class TableModel : public QAbstractTableModel {
public:
    explicit TableModel(const TDataTable* t) : FTable(t) {}
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : FTable->NrOfRows(); }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : FTable->NrOfColumns();
    }
    QVariant data(const QModelIndex& i, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        return FTable->GetElem(i.column() + 1, i.row() + 1);
    }

private:
    const TDataTable* FTable;
};

TNTabEd* Editor(int rows)
{
    static std::map<int, TNTabEd*> editors;
    auto& t = editors[rows];
    if (!t) {
        t = new TNTabEd;
        t->resize(600, 400);
        FillTable(t, kCols, rows, 7);
        t->show();
        QApplication::processEvents();
    }
    return t;
}

QTableView* Table(int rows)
{
    static std::map<int, QTableView*> tables;
    auto& v = tables[rows];
    if (!v) {
        v = new QTableView;
        v->setModel(new TableModel(Editor(rows)->Data()));
        // The same cell sizes as the editor, so both draw the same cells.
        v->horizontalHeader()->setDefaultSectionSize(Editor(rows)->DefaultColWidth());
        v->verticalHeader()->setDefaultSectionSize(Editor(rows)->DefaultRowHeight());
        v->verticalHeader()->setFixedWidth(Editor(rows)->ColWidths(0) + Editor(rows)->ColWidths(-1));
        v->resize(600, 400);
        v->show();
        QApplication::processEvents();
    }
    return v;
}

// A full repaint: every visible cell drawn again.
void BM_NTabEd_Repaint(benchmark::State& state)
{
    TNTabEd* t = Editor(int(state.range(0)));
    for (auto _ : state)
        t->Repaint();
}
BENCHMARK(BM_NTabEd_Repaint)->Arg(100)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void BM_QTableView_RepaintNumbers(benchmark::State& state)
{
    QTableView* v = Table(int(state.range(0)));
    for (auto _ : state)
        v->viewport()->repaint();
}
BENCHMARK(BM_QTableView_RepaintNumbers)->Arg(100)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// A 1,000 x 100 block of numbers in the editor's own copy format (full precision).
TNTabEd* BlockEditor()
{
    static TNTabEd* t = [] {
        auto* e = new TNTabEd;
        e->resize(600, 400);
        FillTable(e, 100, 1000, 11);
        e->SelectAllCells();
        e->CopySelection();
        return e;
    }();
    return t;
}

void BM_NTabEd_Extract1000x100(benchmark::State& state)
{
    TNTabEd* t = BlockEditor();
    t->CopySelection();
    for (auto _ : state) {
        t->SetSelection(TGridRect{2, 1, 2, 1});
        t->ExtractFromClipboard();
    }
    state.counters["chars"] = double(QGuiApplication::clipboard()->text().size());
}
BENCHMARK(BM_NTabEd_Extract1000x100)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_NTabEd_Paste1000x100(benchmark::State& state)
{
    TNTabEd* t = BlockEditor();
    t->SelectAllCells();
    t->CopySelection();
    for (auto _ : state) {
        t->SetSelection(TGridRect{2, 1, 2, 1});
        t->PasteCopy();
    }
}
BENCHMARK(BM_NTabEd_Paste1000x100)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_NTabEd_GetClipMatrixSize1000x100(benchmark::State& state)
{
    TNTabEd* t = BlockEditor();
    t->SelectAllCells();
    t->CopySelection();
    int nc = 0, nr = 0;
    for (auto _ : state)
        t->GetClipMatrixSize(nc, nr);
    state.counters["cols"] = nc;
    state.counters["rows"] = nr;
}
BENCHMARK(BM_NTabEd_GetClipMatrixSize1000x100)->Unit(benchmark::kMillisecond)->Iterations(10);

// Sorting 1,000,000 rows of 5 columns by the first; every run starts from fresh values.
TNTabEd* SortEditor()
{
    static TNTabEd* t = [] {
        auto* e = new TNTabEd;
        e->resize(600, 400);
        return e;
    }();
    return t;
}

void BM_NTabEd_SortRows1M(benchmark::State& state)
{
    TNTabEd* t = SortEditor();
    unsigned seed = 1;
    for (auto _ : state) {
        state.PauseTiming();
        FillTable(t, 5, 1000000, seed++);
        state.ResumeTiming();
        t->SortRows(1, true, 1, 1, 5, 1000000, true);
    }
}
BENCHMARK(BM_NTabEd_SortRows1M)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_QSortFilterProxy_Sort1M(benchmark::State& state)
{
    TNTabEd* t = SortEditor();
    unsigned seed = 1;
    for (auto _ : state) {
        state.PauseTiming();
        FillTable(t, 5, 1000000, seed++);
        TableModel model(t->Data());
        QSortFilterProxyModel proxy;
        proxy.setSourceModel(&model);
        state.ResumeTiming();
        proxy.sort(0, Qt::AscendingOrder);
    }
}
BENCHMARK(BM_QSortFilterProxy_Sort1M)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
