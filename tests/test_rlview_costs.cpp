// Report list view: costs that must not grow with the data. Each check compares two timings or
// counts taken in the same run, so the machine's speed cancels out; the timings are the CPU time
// of the thread, so a loaded machine that preempts the test does not count either.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>

#include "test_rlview_support.h"

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
#define KORVANE_COUNT_MALLOC 1
// Every heap allocation of the process, the library's and Qt's included, goes through malloc.
namespace {
std::atomic<long> gMallocs{0};
}
extern "C" void* __libc_malloc(std::size_t);
extern "C" void* malloc(std::size_t n)
{
    gMallocs.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(n);
}
#endif

using namespace qor;
using rlvtest::View;

namespace {

// The shortest of a few runs, in nanoseconds of the thread's CPU time.
template <typename F>
qint64 Fastest(int runs, F f)
{
    qint64 best = -1;
    for (int i = 0; i < runs; ++i) {
        const qint64 start = qortest::ThreadCpuNs();
        f();
        const qint64 ns = qortest::ThreadCpuNs() - start;
        best = best < 0 ? ns : std::min(best, ns);
    }
    return best;
}

void FillDistinct(View& f, int rows)
{
    f.v.SetNrOfColumns(1);
    f.v.SetNrOfRows(rows);
    TStringArray* s = f.v.Data()->Strings();
    s->SetNotifyChange(false);
    for (int r = 1; r <= rows; ++r)
        s->SetString(1, r, QStringLiteral("entry %1").arg(r * 7919 % 1000003));
    s->SetNotifyChange(true);
}

} // namespace

// The ratios below hold for optimised code; the sanitizers change the cost of every operation
// unevenly, so the comparisons mean nothing there.
#define QOR_SKIP_UNDER_SANITIZER()                                                                 \
    if (qortest::UnderSanitizer)                                                                   \
    GTEST_SKIP() << "timing ratios do not hold under the sanitizers"

// Fitting a column does not shape the text of every row afresh: on 50,000 distinct texts it
// costs a fraction of measuring them all once.
TEST(RLViewCosts, ColumnWidthDoesNotMeasureEveryRow)
{
    QOR_SKIP_UNDER_SANITIZER();
    View f;
    FillDistinct(f, 50000);
    TCanvas* cv = f.v.Canvas();
    cv->Font()->Assign(*f.v.Font());
    int widest = 0;
    const qint64 all = Fastest(1, [&] {
        for (int r = 1; r <= 50000; ++r)
            widest = std::max(widest, cv->TextWidth(f.v.Data()->RawElem(1, r)));
    });
    int fitted = 0;
    qint64 fit = 0;
    const bool cheaper = qortest::OneOf(4, [&] {
        fit = Fastest(3, [&] { fitted = f.v.DetermineMaxColWidth(1, false); });
        return fit * 4 < all;
    });
    EXPECT_EQ(fitted, widest + 10);
    RecordProperty("fit_us", int(fit / 1000));
    RecordProperty("measure_all_us", int(all / 1000));
    EXPECT_TRUE(cheaper) << "fit " << fit / 1000 << " us, measuring every row " << all / 1000 << " us";
}

#ifdef KORVANE_COUNT_MALLOC
// Once the texts are known, a repaint builds no strings for its cells. A cell with text costs
// only what drawing the text takes from the heap (the painter's pen and brush objects, a few per
// cell) beyond the same cell empty; building the texts took another six or more.
TEST(RLViewCosts, RepaintingDataCellsBuildsNoStrings)
{
    auto mallocsOfRepaint = [](View& f) {
        f.Img();   // texts seen once
        const long before = gMallocs.load();
        f.v.RenderNow();
        return gMallocs.load() - before;
    };
    auto layout = [](View& f) {
        f.v.SetNrOfRows(200);
        f.v.SetColumnCheckMode(2, cmBox);
        f.v.SetColumnAlignment(3, taRightJustify);
        f.v.SetColWidths(4, 30);   // cut texts
        f.v.SetColumnIsPwd(5, true);
    };
    View blank(600, 400), full(600, 400);
    layout(blank);
    layout(full);
    for (int c = 1; c <= 5; ++c)
        full.FillColumn(c, [c](int r) { return QStringLiteral("cell %1 of row %2, long enough").arg(c).arg(r); });
    const int cells = full.v.VisibleRowCount() * 5;
    ASSERT_GT(cells, 50);
    const long empty = mallocsOfRepaint(blank);
    const long texts = mallocsOfRepaint(full);
    EXPECT_LT(texts - empty, cells * 5) << texts << " allocations for " << cells << " cells with text, " << empty
                                    << " for the same cells empty";
}
#endif

// The header rows cost in proportion to the visible columns: the right end of the columns is
// found once per paint and the common header is drawn once, not once per column. Every column
// has the same width in both lists (a narrow column cuts its name, which costs more than
// drawing it whole), so only their number differs.
TEST(RLViewCosts, HeaderPaintingGrowsLinearlyWithTheVisibleColumns)
{
    QOR_SKIP_UNDER_SANITIZER();
    auto paintTime = [](int columns) {
        View f(columns * 20, 200);
        f.v.SetNrOfRows(0);
        f.v.SetCommonHeaderVisible(true);
        f.v.SetNrOfColumns(columns);
        for (int c = 1; c <= columns; ++c)
            f.v.SetColWidths(c, 19);   // all of them on screen
        return Fastest(5, [&] { f.v.RenderNow(); });
    };
    qint64 few = 0, many = 0;
    // 15 times the columns: linear costs about 15 times (less, the fixed costs do not grow).
    const bool linear = qortest::OneOf(4, [&] {
        few = paintTime(20);
        many = paintTime(300);
        return many < few * 45;
    });
    RecordProperty("columns_20_us", int(few / 1000));
    RecordProperty("columns_300_us", int(many / 1000));
    EXPECT_TRUE(linear) << "20 columns " << few / 1000 << " us, 300 columns " << many / 1000 << " us";
}
