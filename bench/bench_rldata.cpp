// TRLData against QStandardItemModel on the same data: fill, sort, memory, and the throughput
// of the XML and CSV files. The ratio of each pair is the figure to read.
//
// The sort of single columns also runs beside its floor: a bare std::stable_sort of 64-bit keys
// computed beforehand (each row's rank in the column's order), which is what any stable sort of
// the column costs once its keys are known.
#include <benchmark/benchmark.h>

#include <QOR_replist.h>

#include <QDir>
#include <QFile>
#include <QStandardItemModel>

#include <algorithm>
#include <malloc.h>
#include <random>

using namespace qor;

namespace {

constexpr int BenchRows = 200000;
constexpr int BenchCols = 5;

// Numeric-looking and text cells: integers, decimals with a comma, words, codes, mixed.
const std::vector<QString>& Cells(int rows)
{
    static std::map<int, std::vector<QString>> cache;
    auto& cells = cache[rows];
    if (!cells.empty())
        return cells;
    static const char* const Words[] = {"alpha", "Beta", "gamma", "Delta", "epsilon", "Zeta", "eta", "Theta",
                                        "iota", "Kappa", "lambda", "My", "ny", "Xi", "omikron", "Pi"};
    std::mt19937 rng(42);
    cells.reserve(std::size_t(rows) * BenchCols);
    for (int r = 0; r < rows; ++r) {
        cells.push_back(QString::number(rng() % 1000000));
        cells.push_back(QString::number(rng() % 100000) + QLatin1Char(',') + QString::number(rng() % 100));
        cells.push_back(QString::fromLatin1(Words[rng() % 16]) + QLatin1Char(' ') + QString::fromLatin1(Words[rng() % 16]));
        cells.push_back(QStringLiteral("K-%1").arg(rng() % 99999, 5, 10, QLatin1Char('0')));
        cells.push_back((rng() % 2) ? QString::number(rng() % 500) : QString::fromLatin1(Words[rng() % 16]));
    }
    return cells;
}

// The cells row by row, BenchCols to a row.
void FillRL(TRLData& d, const std::vector<QString>& cells)
{
    const int rows = int(cells.size() / BenchCols);
    d.SetNrOfColumns(BenchCols);
    d.SetNrOfRows(rows);
    d.Strings()->SetNotifyChange(false);
    std::size_t i = 0;
    for (int r = 1; r <= rows; ++r)
        for (int c = 1; c <= BenchCols; ++c)
            d.SetElem(c, r, cells[i++]);
    d.Strings()->SetNotifyChange(true);
}

void FillModel(QStandardItemModel& m, const std::vector<QString>& cells)
{
    const int rows = int(cells.size() / BenchCols);
    m.setColumnCount(BenchCols);
    m.setRowCount(rows);
    std::size_t i = 0;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < BenchCols; ++c)
            m.setItem(r, c, new QStandardItem(cells[i++]));
}

// Five columns for the column sorts: a number, a code with a long common prefix
// ("item-31017-2"), two random words, a decimal with a comma, a short word.
const std::vector<QString>& SortCells()
{
    static std::vector<QString> cells;
    if (!cells.empty())
        return cells;
    std::mt19937 rng(7);
    auto word = [&] {
        QString w;
        const int len = 3 + int(rng() % 8);
        for (int i = 0; i < len; ++i)
            w += QChar(char16_t((i == 0 && rng() % 2 ? u'A' : u'a') + rng() % 26));
        return w;
    };
    cells.reserve(std::size_t(BenchRows) * BenchCols);
    for (int r = 0; r < BenchRows; ++r) {
        cells.push_back(QString::number(rng() % 1000000));
        cells.push_back(QStringLiteral("item-%1-%2").arg(rng() % 100000, 5, 10, QLatin1Char('0')).arg(rng() % 10));
        cells.push_back(word() + QLatin1Char(' ') + word());
        cells.push_back(QString::number(rng() % 100000) + QLatin1Char(',') + QString::number(rng() % 100));
        cells.push_back(word());
    }
    return cells;
}

// The column each sort case uses: 0 the number, 1 the prefixed code, 2 the random words.
int SortColumnOf(const benchmark::State& state)
{
    return int(state.range(0)) + 1;
}

// Whether two cells are equal under the data's comparison (numbers by value, texts folded).
bool SameSortKey(const QString& a, const QString& b)
{
    double x = 0, y = 0;
    const bool nx = TStringArray::ReadsAsNumber(a, x), ny = TStringArray::ReadsAsNumber(b, y);
    if (nx || ny)
        return nx && ny && x == y;
    return a.toCaseFolded() == b.toCaseFolded();
}

struct KeyedRow {
    std::uint64_t Key;
    std::uint32_t Row;
};

// Every row of the column with its rank in the column's ascending order (equal cells share one),
// in unsorted row order.
std::vector<KeyedRow> RankedRows(int col)
{
    TRLData d;
    FillRL(d, SortCells());
    d.Sort(col, -1, true);
    std::vector<KeyedRow> rows(BenchRows);
    std::uint64_t rank = 0;
    for (int i = 1; i <= BenchRows; ++i) {
        if (i > 1 && !SameSortKey(d.Elem(col, i - 1), d.Elem(col, i)))
            ++rank;
        const int phys = d.Strings()->GetSortOrder(i);
        rows[std::size_t(phys - 1)] = KeyedRow{rank, std::uint32_t(phys)};
    }
    return rows;
}

std::size_t HeapInUse()
{
    malloc_trim(0);
    const struct mallinfo2 mi = mallinfo2();
    return mi.uordblks + mi.hblkhd;
}

QString BenchFile(const char* name)
{
    return QDir::tempPath() + QStringLiteral("/korvane_bench_") + QString::fromLatin1(name);
}

qint64 FileSize(const QString& f)
{
    return QFile(f).size();
}

} // namespace

static void BM_Fill_TRLData(benchmark::State& state)
{
    Cells(BenchRows);
    for (auto _ : state) {
        TRLData d;
        FillRL(d, Cells(BenchRows));
        benchmark::DoNotOptimize(d.Strings());
    }
    state.SetItemsProcessed(state.iterations() * BenchRows * BenchCols);
}
BENCHMARK(BM_Fill_TRLData)->Unit(benchmark::kMillisecond);

static void BM_Fill_QStandardItemModel(benchmark::State& state)
{
    Cells(BenchRows);
    for (auto _ : state) {
        QStandardItemModel m;
        FillModel(m, Cells(BenchRows));
        benchmark::DoNotOptimize(&m);
    }
    state.SetItemsProcessed(state.iterations() * BenchRows * BenchCols);
}
BENCHMARK(BM_Fill_QStandardItemModel)->Unit(benchmark::kMillisecond);

static void BM_Sort_TRLData(benchmark::State& state)
{
    TRLData d;
    FillRL(d, Cells(BenchRows));
    const int col = int(state.range(0)) + 1;
    bool asc = true;
    for (auto _ : state) {
        d.Sort(col, -1, asc);
        asc = !asc;
    }
}
BENCHMARK(BM_Sort_TRLData)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);

// The model of a data set that the sorts share. A model whose rows were sorted takes minutes to
// free (every item looks its index up anew), a cost outside anything measured here: it lives
// until the run ends.
static QStandardItemModel& ModelToSort(const std::vector<QString>& cells)
{
    static std::map<const std::vector<QString>*, QStandardItemModel*> models;
    QStandardItemModel*& m = models[&cells];
    if (!m) {
        m = new QStandardItemModel;
        FillModel(*m, cells);
    }
    return *m;
}

static void BM_Sort_QStandardItemModel(benchmark::State& state)
{
    QStandardItemModel& m = ModelToSort(Cells(BenchRows));
    const int col = int(state.range(0));
    bool asc = true;
    for (auto _ : state) {
        m.sort(col, asc ? Qt::AscendingOrder : Qt::DescendingOrder);
        asc = !asc;
    }
}
BENCHMARK(BM_Sort_QStandardItemModel)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(3);

// One column of 200,000 rows. Range 0 picks the column (SortColumnOf); range 1 the start of
// each sort: 0 the order the last sort left, sorting ascending and descending in turn (a header
// clicked again), 1 the unsorted rows, which lie in random order (a column sorted first). The
// rows are brought back to their start outside the timing.
bool FromUnsorted(const benchmark::State& state)
{
    return state.range(1) != 0;
}

// The timed loop of the TRLData sorts: the column and the start as the arguments say.
void TimeColumnSorts(benchmark::State& state, TRLData& d)
{
    const int col = SortColumnOf(state);
    bool asc = true;
    for (auto _ : state) {
        if (FromUnsorted(state)) {
            state.PauseTiming();
            d.Strings()->UnSort();
            state.ResumeTiming();
        }
        d.Sort(col, -1, asc);
        asc = !asc;
    }
}

// Nobody listens to the exchanges.
static void BM_SortColumn_TRLData(benchmark::State& state)
{
    TRLData d;
    FillRL(d, SortCells());
    TimeColumnSorts(state, d);
}
BENCHMARK(BM_SortColumn_TRLData)->ArgsProduct({{0, 1, 2}, {0, 1}})->Unit(benchmark::kMillisecond);

// The same with a handler that hears every exchange.
static void BM_SortColumn_TRLDataAnnounced(benchmark::State& state)
{
    TRLData d;
    FillRL(d, SortCells());
    std::int64_t exchanges = 0;
    d.OnBeforeSortExchange = [&](QObject*, int, int) { ++exchanges; };
    TimeColumnSorts(state, d);
    state.counters["exchanges"] = benchmark::Counter(double(exchanges), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_SortColumn_TRLDataAnnounced)->Args({1, 0})->Args({1, 1})->Unit(benchmark::kMillisecond);

static void BM_SortColumn_QStandardItemModel(benchmark::State& state)
{
    QStandardItemModel& m = ModelToSort(SortCells());
    const int col = SortColumnOf(state) - 1;
    // The model has no unsorted order to go back to: sorting by another column of random cells
    // (the words, or for them the numbers) leaves its rows as random for this one.
    const int scramble = col == 2 ? 0 : 2;
    bool asc = true;
    for (auto _ : state) {
        if (FromUnsorted(state)) {
            state.PauseTiming();
            m.sort(scramble);
            state.ResumeTiming();
        }
        m.sort(col, asc ? Qt::AscendingOrder : Qt::DescendingOrder);
        asc = !asc;
    }
}
BENCHMARK(BM_SortColumn_QStandardItemModel)->ArgsProduct({{0, 1, 2}, {0, 1}})->Unit(benchmark::kMillisecond)->Iterations(3);

// The floor: the column's keys known beforehand, a bare stable sort of (key, row) pairs.
static void BM_SortColumn_Floor(benchmark::State& state)
{
    const std::vector<KeyedRow> unsorted = RankedRows(SortColumnOf(state));
    std::vector<KeyedRow> rows = unsorted;
    bool asc = true;
    for (auto _ : state) {
        if (FromUnsorted(state)) {
            state.PauseTiming();
            rows = unsorted;
            state.ResumeTiming();
        }
        if (asc)
            std::stable_sort(rows.begin(), rows.end(), [](const KeyedRow& x, const KeyedRow& y) { return x.Key < y.Key; });
        else
            std::stable_sort(rows.begin(), rows.end(), [](const KeyedRow& x, const KeyedRow& y) { return x.Key > y.Key; });
        benchmark::DoNotOptimize(rows.data());
        asc = !asc;
    }
}
BENCHMARK(BM_SortColumn_Floor)->ArgsProduct({{0, 1, 2}, {0, 1}})->Unit(benchmark::kMillisecond);

static void BM_Memory_TRLData(benchmark::State& state)
{
    Cells(BenchRows);
    for (auto _ : state) {
        const std::size_t before = HeapInUse();
        TRLData d;
        FillRL(d, Cells(BenchRows));
        state.counters["heap_MB"] = double(HeapInUse() - before) / 1048576.0;
    }
}
BENCHMARK(BM_Memory_TRLData)->Iterations(1)->Unit(benchmark::kMillisecond);

static void BM_Memory_QStandardItemModel(benchmark::State& state)
{
    Cells(BenchRows);
    for (auto _ : state) {
        const std::size_t before = HeapInUse();
        QStandardItemModel m;
        FillModel(m, Cells(BenchRows));
        state.counters["heap_MB"] = double(HeapInUse() - before) / 1048576.0;
    }
}
BENCHMARK(BM_Memory_QStandardItemModel)->Iterations(1)->Unit(benchmark::kMillisecond);

static void BM_XmlWrite_TRLData(benchmark::State& state)
{
    TRLData d;
    FillRL(d, Cells(BenchRows));
    const QString file = BenchFile("w.xml");
    for (auto _ : state)
        d.SaveAsXMLFile(file, QStringLiteral("bench"));
    state.SetBytesProcessed(state.iterations() * FileSize(file));
}
BENCHMARK(BM_XmlWrite_TRLData)->Unit(benchmark::kMillisecond);

static void BM_XmlRead_TRLData(benchmark::State& state)
{
    TRLData d;
    FillRL(d, Cells(BenchRows));
    const QString file = BenchFile("r.xml");
    d.SaveAsXMLFile(file, QStringLiteral("bench"));
    TRLData target;
    for (auto _ : state)
        if (!target.LoadFromXMLFile(file, QStringLiteral("bench")))
            state.SkipWithError("load failed");
    state.SetBytesProcessed(state.iterations() * FileSize(file));
}
BENCHMARK(BM_XmlRead_TRLData)->Unit(benchmark::kMillisecond);

static void BM_CsvExport_TRLData(benchmark::State& state)
{
    TRLData d;
    FillRL(d, Cells(BenchRows));
    const QString file = BenchFile("w.csv");
    for (auto _ : state)
        d.ExportCSV(file, csvSemicolon, true, false, 1, 1, BenchCols, BenchRows);
    state.SetBytesProcessed(state.iterations() * FileSize(file));
}
BENCHMARK(BM_CsvExport_TRLData)->Unit(benchmark::kMillisecond);

static void BM_CsvImport_TRLData(benchmark::State& state)
{
    TRLData d;
    FillRL(d, Cells(BenchRows));
    const QString file = BenchFile("r.csv");
    d.ExportCSV(file, csvSemicolon, true, false, 1, 1, BenchCols, BenchRows);
    TRLData target;
    for (auto _ : state)
        if (target.ImportCSV(file, csvSemicolon, true) != BenchRows)
            state.SkipWithError("import failed");
    state.SetBytesProcessed(state.iterations() * FileSize(file));
}
BENCHMARK(BM_CsvImport_TRLData)->Unit(benchmark::kMillisecond);

// A million rows: sort time and the memory of ten columns of short texts.
static void BM_Sort1M_TRLData(benchmark::State& state)
{
    TRLData d;
    FillRL(d, Cells(1000000));
    const int col = int(state.range(0)) + 1;
    bool asc = false;
    for (auto _ : state) {
        d.Sort(col, -1, asc);
        asc = !asc;
    }
    state.counters["array_MB"] = double(d.Strings()->MemoryUsage()) / 1048576.0;
}
BENCHMARK(BM_Sort1M_TRLData)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(2);

static void BM_Memory1Mx10_TRLData(benchmark::State& state)
{
    const auto& cells = Cells(1000000);
    for (auto _ : state) {
        const std::size_t before = HeapInUse();
        TRLData d;
        d.SetNrOfColumns(10);
        d.SetNrOfRows(1000000);
        std::size_t i = 0;
        for (int r = 1; r <= 1000000; ++r)
            for (int c = 1; c <= 10; ++c)
                d.SetElem(c, r, cells[(i++) % cells.size()]);
        state.counters["heap_MB"] = double(HeapInUse() - before) / 1048576.0;
    }
}
BENCHMARK(BM_Memory1Mx10_TRLData)->Iterations(1)->Unit(benchmark::kMillisecond);
