// Running out of memory while a container grows: every allocation of each growing operation
// fails in turn. The operation then raises its unit's error (never a bare bad_alloc) and leaves
// the data exactly as it was, and it succeeds when tried again; where it absorbs the failure,
// its result is the one it gives without it.
//
// The failures are injected by this program's own operator new, which the address sanitizer
// does not allow to replace (its new ends the program instead of throwing): the tests are
// skipped under it.
#include <gtest/gtest.h>

#include <QOR_dstruct.h>
#include <QOR_ntabed.h>
#include <QOR_replist.h>

#include <QScrollBar>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <new>

#include "held_list.h"
#include "test_support.h"

using namespace qor;

#if !defined(__SANITIZE_ADDRESS__)
#define KORVANE_INJECT_ALLOC 1
namespace {
// Allocations of the armed thread are counted; the one numbered FailAt fails.
thread_local bool tArmed = false;
thread_local long tCount = 0;
thread_local long tFailAt = -1;

void* Allocate(std::size_t n, std::size_t align = 0)
{
    if (tArmed && tCount++ == tFailAt)
        throw std::bad_alloc();
    void* p = align ? std::aligned_alloc(align, (n + align - 1) / align * align) : std::malloc(n ? n : 1);
    if (!p)
        throw std::bad_alloc();
    return p;
}
} // namespace

void* operator new(std::size_t n) { return Allocate(n); }
void* operator new[](std::size_t n) { return Allocate(n); }
void* operator new(std::size_t n, std::align_val_t a) { return Allocate(n, std::size_t(a)); }
void* operator new[](std::size_t n, std::align_val_t a) { return Allocate(n, std::size_t(a)); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept
{
    try {
        return Allocate(n);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t n, const std::nothrow_t& t) noexcept { return operator new(n, t); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
#endif

namespace {

// Arms the counter: allocation number k of this thread, counted from now, fails.
void FailAllocation(long k)
{
#ifdef KORVANE_INJECT_ALLOC
    tCount = 0;
    tFailAt = k;
    tArmed = true;
#else
    (void)k;
#endif
}

// Disarms the counter; true when allocation number k was reached, so that it failed.
bool Disarm(long k)
{
#ifdef KORVANE_INJECT_ALLOC
    tArmed = false;
    return tCount > k;
#else
    (void)k;
    return false;
#endif
}

// Everything a string array holds.
QStringList Dump(const TStringArray& s)
{
    QStringList out;
    out << QStringLiteral("%1x%2").arg(s.NrOfColumns()).arg(s.NrOfRows());
    for (int r = 0; r <= s.NrOfRows(); ++r) {
        QString line = QStringLiteral("%1 %2:").arg(s.GetRowAttrib(r)).arg(s.GetSortOrder(r));
        for (int c = 0; c <= s.NrOfColumns(); ++c)
            line += QLatin1Char('|') + s.GetString(c, r);
        out << line;
    }
    for (int c = 0; c <= s.NrOfColumns(); ++c)
        out << QString::number(s.GetColAttrib(c));
    return out;
}

QStringList Dump(const TBitFld& b)
{
    QStringList out{QString::number(b.Size())};
    for (int i = 0; i < b.Size(); ++i)
        if (b.GetBit(i))
            out << QString::number(i);
    return out;
}

QByteArray Dump(const TRLData& d)
{
    const qortest::HeldList held(d);
    QByteArray out = held.Xml;
    for (int v : held.Extra)
        out += QByteArray::number(v) + ' ';
    return out;
}

// Everything the table editor holds and shows: sizes, grid layout, precisions, headings, the
// bits of every value and every state.
QByteArray Dump(const TNTabEd& e)
{
    QByteArray out;
    const auto num = [&out](qint64 v) { out += QByteArray::number(v) + ' '; };
    num(e.NrOfColumns()), num(e.NrOfRows()), num(e.ColCount()), num(e.RowCount());
    for (int c = -1; c <= e.NrOfColumns(); ++c)
        num(e.ColWidths(c)), num(e.Precision(c)), num(e.ColAttrib(c)), out += e.ColName(c).toUtf8() + '|';
    for (int r = 0; r <= e.NrOfRows(); ++r) {
        num(e.RowHeights(r)), num(e.RowAttrib(r)), out += e.RowName(r).toUtf8() + '|';
        for (int c = 1; c <= e.NrOfColumns(); ++c) {
            const double v = e.Elem(c, r);
            qint64 bits;
            std::memcpy(&bits, &v, sizeof bits);
            num(bits), num(e.CellState(c, r));
        }
    }
    return out + e.Comment().toUtf8();
}

QByteArray Dump(const TReportListView& v)
{
    return Dump(*v.Data()) + QByteArray::number(v.RowCount()) + ' ' + QByteArray::number(v.ColCount());
}

// Runs Op on an object set up by Setup with allocation k failing, for k = 0, 1, ... until Op
// makes no allocation that fails. Expected is what Op throws then; the object must then hold
// what it held before. Returns the number of failures injected.
template <class T, class Error>
int FailEachAllocation(const char* what, std::function<void(T&)> setup, std::function<void(T&)> op)
{
    T reference;
    setup(reference);
    op(reference);
    const auto done = Dump(reference);
    int failures = 0;
    for (long k = 0;; ++k) {
        SCOPED_TRACE(std::string(what) + ", allocation " + std::to_string(k) + " fails");
        T subject;
        setup(subject);
        const auto before = Dump(subject);
        bool raised = false;
        FailAllocation(k);
        try {
            op(subject);
        } catch (const Error&) {
            raised = true;
        } catch (const std::bad_alloc&) {
            Disarm(k);
            ADD_FAILURE() << "a bare bad_alloc";
            return failures;
        }
        const bool injected = Disarm(k);
        if (raised) {
            ++failures;
            EXPECT_EQ(Dump(subject), before);
            op(subject);   // usable: the same growth succeeds now
            EXPECT_EQ(Dump(subject), done);
        } else {
            EXPECT_EQ(Dump(subject), done);   // absorbed, or no allocation failed at all
            if (!injected)
                return failures;
        }
        if (k > 10000) {
            ADD_FAILURE() << "no end to the allocations";
            return failures;
        }
    }
}

// A macro, not a function: GTEST_SKIP only leaves the function it is written in.
#define SKIP_UNDER_SANITIZER()                                                                     \
    if (qortest::UnderSanitizer)                                                                   \
    GTEST_SKIP() << "the address sanitizer ends the program where operator new would throw bad_alloc"


void SortedArray(TStringArray& s)
{
    s.Resize(3, 40);
    for (int r = 1; r <= 40; ++r) {
        s.SetString(1, r, QString::number((r * 17) % 40));
        s.SetString(2, r, QStringLiteral("text of row %1").arg(r));
        s.SetRowAttrib(r, std::uint8_t(r % 3));
    }
    s.SetColAttrib(2, 0x80);
    s.Sort(1, -1, true, true);
}

void SortedList(TRLData& d)
{
    d.setObjectName(QStringLiteral("data1"));
    d.SetNrOfColumns(3);
    d.SetNrOfRows(40);
    d.SetColumnCheckMode(3, cmBox);
    for (int r = 1; r <= 40; ++r) {
        d.SetElem(1, r, QString::number((r * 17) % 40));
        d.SetElem(2, r, QStringLiteral("text of row %1").arg(r));
        d.SetElemChecked(3, r, r % 2);
        d.SetRowAttrib(r, r % 5 == 0 ? rlaSelected : 0);
    }
    d.Sort(1, -1, true);
}

// FailEachAllocation for each named operation on an object made by setup; the failures injected
// in all.
template <class T, class Error>
int FailEachOperation(std::function<void(T&)> setup,
                      std::initializer_list<std::pair<const char*, std::function<void(T&)>>> ops)
{
    int failures = 0;
    for (const auto& [name, op] : ops)
        failures += FailEachAllocation<T, Error>(name, setup, op);
    return failures;
}

} // namespace

TEST(FailureAlloc, StringArrayGrowthRaisesItsErrorAndKeepsTheCells)
{
    SKIP_UNDER_SANITIZER();
    const int failures = FailEachOperation<TStringArray, EQORDStructError>(SortedArray, {
        {"more rows", [](TStringArray& s) { s.Resize(3, 500); }},
        {"more columns", [](TStringArray& s) { s.Resize(9, 40); }},
        {"both", [](TStringArray& s) { s.Resize(6, 100); }},
        {"fewer rows", [](TStringArray& s) { s.Resize(3, 10); }},
        {"insert row", [](TStringArray& s) { s.InsertRow(7); }},
        {"insert column", [](TStringArray& s) { s.InsertColumn(2); }},
        {"longer text", [](TStringArray& s) { s.SetString(2, 5, QString(200, QLatin1Char('w'))); }},
    });
    RecordProperty("failures", failures);
    EXPECT_GT(failures, 7);
}

TEST(FailureAlloc, BitFieldGrowthRaisesItsErrorAndKeepsTheBits)
{
    SKIP_UNDER_SANITIZER();
    const auto setup = [](TBitFld& b) {
        b.SetSize(100);
        for (int i = 0; i < 100; i += 7)
            b.SetBit(i, true);
    };
    EXPECT_GE((FailEachAllocation<TBitFld, EQORDStructError>("grow", setup, [](TBitFld& b) { b.SetSize(100000); })), 1);
}

TEST(FailureAlloc, ReportListGrowthRaisesItsErrorAndKeepsTheList)
{
    SKIP_UNDER_SANITIZER();
    const int failures = FailEachOperation<TRLData, EQORRLDataError>(SortedList, {
        {"more rows", [](TRLData& d) { d.SetNrOfRows(300); }},
        {"more columns", [](TRLData& d) { d.SetNrOfColumns(8); }},
        {"insert row", [](TRLData& d) { d.InsertRow(3); }},
        {"insert column", [](TRLData& d) { d.InsertColumn(2); }},
        {"longer text", [](TRLData& d) { d.SetElem(2, 9, QString(250, QLatin1Char('w'))); }},
        {"check mark", [](TRLData& d) { d.SetElemChecked(3, 2, true); }},
    });
    RecordProperty("failures", failures);
    EXPECT_GT(failures, 6);
    // The message names the component.
    if (!qortest::UnderSanitizer) {
        TRLData d;
        SortedList(d);
        try {
            d.SetNrOfRows(std::numeric_limits<int>::max());
            ADD_FAILURE() << "no exception";
        } catch (const EQORRLDataError& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Component \"data1\": not enough memory on heap"));
        }
    }
}

void FilledEditor(TNTabEd& e)
{
    e.setObjectName(QStringLiteral("tab1"));
    e.Redimension(5, 30);
    e.SetAttribColVisible(true);
    for (int c = 1; c <= 5; ++c) {
        e.SetColName(c, QStringLiteral("col %1").arg(c));
        e.SetColAttrib(c, std::uint8_t(c * 11));
        e.SetPrecision(c, c - 2);
        e.SetColWidths(c, 40 + c);
        for (int r = 1; r <= 30; ++r)
            e.SetElem(c, r, c * 100.0 + r / 8.0);
    }
    e.SetCellState(2, 3, csLocked | csMarkedA);
    e.SetRowName(4, QStringLiteral("row four"));
    e.SetComment(QStringLiteral("kept"));
    e.SetSelection(TGridRect{3, 3, 5, 12});
}

// Every growth of the table editor: the unit's error, and table, layout and precisions as they
// were.
TEST(FailureAlloc, TableEditorGrowthRaisesItsErrorAndKeepsTheTable)
{
    SKIP_UNDER_SANITIZER();
    const int failures = FailEachOperation<TNTabEd, EQORNTabedError>(FilledEditor, {
        {"more rows", [](TNTabEd& e) { e.Redimension(5, 400); }},
        {"more columns", [](TNTabEd& e) { e.Redimension(12, 30); }},
        {"both", [](TNTabEd& e) { e.Redimension(9, 90); }},
        {"insert row", [](TNTabEd& e) { e.InsertRow(7); }},
        {"insert column", [](TNTabEd& e) { e.InsertColumn(2); }},
        {"longer name", [](TNTabEd& e) { e.SetColName(3, QString(50, QLatin1Char('n'))); }},
    });
    RecordProperty("failures", failures);
    EXPECT_GT(failures, 5);
}

// Whichever allocation of a growth fails, the editor still follows its scroll bar afterwards
// (a failure while the scroll bars were brought up to date once left the grid deaf to them).
TEST(FailureAlloc, TableEditorFollowsItsScrollBarAfterAFailedGrowth)
{
    SKIP_UNDER_SANITIZER();
    for (long k = 0; k < 400; ++k) {
        SCOPED_TRACE("allocation " + std::to_string(k) + " fails");
        TNTabEd e;
        FilledEditor(e);
        e.resize(300, 200);
        FailAllocation(k);
        try {
            e.Redimension(5, 400);
        } catch (const EQORNTabedError&) {
        }
        const bool injected = Disarm(k);
        e.Redimension(5, 400);
        e.verticalScrollBar()->setValue(e.verticalScrollBar()->value() + 7);
        ASSERT_EQ(e.TopRow(), 8);
        if (!injected)
            break;
    }
}

// A copy that fails keeps the block copied before it: the next paste pastes that block.
TEST(FailureAlloc, TableEditorCopyThatFailsKeepsThePreviousCopy)
{
    SKIP_UNDER_SANITIZER();
    const auto copied = [](TNTabEd& e) {
        FilledEditor(e);
        e.SetSelection(TGridRect{2, 2, 2, 3});   // 1 x 2 cells of column 1
        e.CopySelection();
        e.SetSelection(TGridRect{2, 2, 6, 31});   // everything
    };
    // Dumped with a paste of the held copy at the bottom-right, so a copy that was replaced by
    // something else shows.
    const auto op = [](TNTabEd& e) { e.CopySelection(); };
    int failures = 0;
    for (long k = 0;; ++k) {
        SCOPED_TRACE("allocation " + std::to_string(k) + " fails");
        TNTabEd subject, reference;
        copied(subject);
        copied(reference);
        bool raised = false;
        FailAllocation(k);
        try {
            op(subject);
        } catch (const EQORNTabedError&) {
            raised = true;
        }
        const bool injected = Disarm(k);
        if (!raised) {
            if (!injected)
                break;
            continue;
        }
        ++failures;
        for (TNTabEd* e : {&subject, &reference}) {
            e->SetSelection(TGridRect{5, 20, 5, 20});
            ASSERT_TRUE(e->PasteCopy());
        }
        EXPECT_EQ(Dump(subject), Dump(reference));
        ASSERT_LT(k, 10000) << "no end to the allocations";
    }
    EXPECT_GE(failures, 1);
}

// The view grows its data first: a size the memory cannot hold is refused before anything is
// reserved (so this runs under the sanitizer too), and the view keeps its filter, selection
// and sort.
TEST(FailureAlloc, ReportListViewRefusesSizesBeyondTheMemoryAndKeepsItsState)
{
    TReportListView v;
    v.setObjectName(QStringLiteral("grid1"));
    v.resize(200, 100);
    SortedList(*v.Data());
    v.SyncWithData();
    v.FilterAndSort(QStringLiteral("1"), {1}, true, fmSimple, 2, false);
    v.SetRowSelected(2, true);
    const QByteArray before = Dump(v);
    const int shown = v.NrOfShownRows();
    ASSERT_TRUE(v.Filtered());
    try {
        v.SetNrOfColumns(std::numeric_limits<int>::max());
        ADD_FAILURE() << "no exception";
    } catch (const EQORRepListError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Component \"grid1\": not enough memory on heap"));
    }
    EXPECT_EQ(Dump(v), before);
    EXPECT_TRUE(v.Filtered());
    EXPECT_EQ(v.NrOfShownRows(), shown);
    EXPECT_EQ(v.RowSelected(2), true);
}

// Terabytes of cells: refused at once with the unit's error, before the system is asked for
// them (it would promise them and kill the program when they are touched).
TEST(FailureAlloc, SizesBeyondTheMemoryAreRefusedBeforeReserving)
{
    TRLData d;
    d.setObjectName(QStringLiteral("wide"));
    d.SetNrOfColumns(600);
    d.SetNrOfRows(5);
    d.SetElem(600, 5, QStringLiteral("kept"));
    const QByteArray before = Dump(d);
    EXPECT_THROW(d.SetNrOfRows(std::numeric_limits<int>::max()), EQORRLDataError);
    EXPECT_THROW(d.SetNrOfColumns(std::numeric_limits<int>::max()), EQORRLDataError);
    EXPECT_EQ(Dump(d), before);
    TStringArray s;
    s.Resize(600, 5);
    EXPECT_THROW(s.Resize(600, std::numeric_limits<int>::max()), EQORDStructError);
    EXPECT_EQ(s.NrOfRows(), 5);
}
