#include "QOR_dstruct.h"
#include <QOR_Text_p.h>

#include <QOR_SysUtils.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <functional>
#include <limits>
#include <new>

namespace qor {

bool ApplyLogicOp(bool A, bool B, TLogicOp Op)
{
    switch (Op) {
    case loAND: return A && B;
    case loOR: return A || B;
    case loXOR: return A != B;
    case loANDNot: return A && !B;
    case loORNot: return A || !B;
    case loXORNot: return A == B;
    }
    return A;
}

// ---------------------------------------------------------------------------------------------
// TStringArray

namespace {

// Capacity for n elements, growing geometrically.
template <class V>
void ReserveFor(V& v, std::size_t n)
{
    if (v.capacity() < n)
        v.reserve(std::max(n, v.capacity() * 2));
}

// Out[i] = v[Order[i]] for every i, then back into v: reads follow the order, writes run in
// sequence (several times faster than following the permutation's cycles in place).
template <class T>
void Gather(std::vector<T>& v, const std::vector<int>& Order, std::vector<T>& Out)
{
    Out.resize(Order.size());
    for (std::size_t i = 0; i < Order.size(); ++i)
        Out[i] = v[std::size_t(Order[i])];
    std::copy(Out.begin(), Out.end(), v.begin());
}

} // namespace

TStringArray::TStringArray(QObject* AOwner) : TComponent(AOwner)
{
    Resize(0, 0);
}

TStringArray::~TStringArray() = default;

void TStringArray::Changed()
{
    if (FNotifyChange && OnChange)
        OnChange(this);
}

void TStringArray::SetAllocRowsBy(int Rows)
{
    FAllocRowsBy = std::max(1, Rows);
}

void TStringArray::Resize(int NrCols, int NrRows)
{
    if (NrCols < 0 || NrRows < 0)
        throw EQORDStructError(QStringLiteral("TStringArray: invalid size [%1,%2]").arg(NrCols).arg(NrRows));
    const std::size_t rows = std::size_t(NrRows) + 1;
    const std::size_t cols = std::size_t(NrCols) + 1;
    // First everything that can fail, changing no content: capacities and the new columns.
    std::vector<Column> added;
    try {
        std::size_t cap = FOrder.capacity();
        if (rows > cap) {
            // Grow in allocation steps, but never slower than geometrically, so that rows
            // appended one by one cost amortised constant time.
            cap = std::max(rows, cap + cap / 2);
            cap = (cap + std::size_t(FAllocRowsBy) - 1) / std::size_t(FAllocRowsBy) * std::size_t(FAllocRowsBy);
        }
        RefuseBeyondFreeMemory(cap, cols);
        FOrder.reserve(cap);
        FRowAttrib.reserve(cap);
        for (std::size_t c = 0; c < std::min(cols, FColumns.size()); ++c)
            FColumns[c].Cells.reserve(cap);
        if (cols > FColumns.size()) {
            added.resize(cols - FColumns.size());
            for (auto& c : added)
                c.Cells.reserve(cap);
            FColumns.reserve(cols);
            FColAttrib.reserve(cols);
        }
    } catch (const std::bad_alloc&) {
        throw EQORDStructError(QStringLiteral("TStringArray: not enough memory for [%1,%2]").arg(NrCols).arg(NrRows));
    }
    // Shrinking drops the last rows shown, so the order they are shown in becomes the stored one.
    CommitBuffers commit;
    if (NrRows < FNrRows && IsSorted())
        commit = BuffersForCommit(FOrder.size());
    // From here on nothing allocates.
    CommitWith(commit);
    for (auto& c : added)
        FColumns.push_back(std::move(c));
    FColumns.resize(cols);
    FColAttrib.resize(cols, 0);
    for (auto& c : FColumns) {
        for (std::size_t r = rows; r < c.Cells.size(); ++r)
            c.Garbage += c.Cells[r].Capacity;
        c.Cells.resize(rows);
    }
    const std::size_t oldRows = FOrder.size();
    FRowAttrib.resize(rows, 0);
    FOrder.resize(rows);
    for (std::size_t r = oldRows; r < rows; ++r)
        FOrder[r] = int(r);
    FNrCols = NrCols;
    FNrRows = NrRows;
    for (auto& c : FColumns)
        if (c.Garbage > c.Pool.size() / 2)
            CompactColumn(c);
    Changed();
}

void TStringArray::Clear()
{
    for (auto& c : FColumns) {
        std::fill(c.Cells.begin(), c.Cells.end(), Cell{});
        c.Pool.clear();
        c.Pool.shrink_to_fit();
        c.Garbage = 0;
    }
    Changed();
}

QStringView TStringArray::GetStringView(int Col, int Row) const
{
    if (!ValidCell(Col, Row))
        return {};
    const Column& c = FColumns[std::size_t(Col)];
    const Cell& cell = c.Cells[std::size_t(Physical(Row))];
    if (cell.Length == 0)
        return {};
    return QStringView(c.Pool.data() + cell.Offset, cell.Length);
}

QStringView TStringArray::GetPhysicalStringView(int Col, int PhysRow) const
{
    if (!ValidCell(Col, PhysRow))
        return {};
    const Column& c = FColumns[std::size_t(Col)];
    const Cell& cell = c.Cells[std::size_t(PhysRow)];
    if (cell.Length == 0)
        return {};
    return QStringView(c.Pool.data() + cell.Offset, cell.Length);
}

QString TStringArray::GetString(int Col, int Row) const
{
    return GetStringView(Col, Row).toString();
}

int TStringArray::GetLength(int Col, int Row) const
{
    if (!ValidCell(Col, Row))
        return 0;
    return FColumns[std::size_t(Col)].Cells[std::size_t(Physical(Row))].Length;
}

void TStringArray::SetString(int Col, int Row, QStringView Value)
{
    if (!ValidCell(Col, Row))
        return;
    Value = CutToLength(Value, MaxCellLength);
    Column& c = FColumns[std::size_t(Col)];
    const char16_t* src = Value.utf16();
    if (!c.Pool.empty() && src >= c.Pool.data() && src < c.Pool.data() + c.Pool.size()) {
        // The text lives in this column's pool, which may move while it grows.
        const QString copy = Value.toString();
        SetString(Col, Row, QStringView(copy));
        return;
    }
    Cell& cell = c.Cells[std::size_t(Physical(Row))];
    const auto len = std::uint16_t(Value.size());
    if (len <= cell.Capacity) {
        std::copy(Value.utf16(), Value.utf16() + len, c.Pool.data() + cell.Offset);
        cell.Length = len;
    } else {
        if (c.Garbage > 4096 && c.Garbage > c.Pool.size() / 2)
            CompactColumn(c);
        if (c.Pool.size() + len > std::numeric_limits<std::uint32_t>::max())
            throw EQORDStructError(QStringLiteral("TStringArray: column %1 is full").arg(Col));
        const std::size_t offset = c.Pool.size();
        try {
            c.Pool.insert(c.Pool.end(), Value.utf16(), Value.utf16() + len);
        } catch (const std::bad_alloc&) {
            throw EQORDStructError(QStringLiteral("TStringArray: not enough memory for the text of [%1,%2]").arg(Col).arg(Row));
        }
        // The cell moves to its new text only once that is stored.
        c.Garbage += cell.Capacity;
        cell.Offset = std::uint32_t(offset);
        cell.Length = len;
        cell.Capacity = len;
    }
    Changed();
}

// Reserving is only a promise of the system (it overcommits); the memory is taken when the new
// cells are cleared, and a program that takes more than there is gets killed. So a growth beyond
// the free memory is refused before anything is reserved. Small growth is not worth the look.
void TStringArray::RefuseBeyondFreeMemory(std::size_t RowCapacity, std::size_t Cols) const
{
    constexpr double LargeGrowth = 64.0 * 1024 * 1024;
    const std::size_t kept = std::min(Cols, FColumns.size());
    const double newRows = double(RowCapacity - std::min(RowCapacity, FOrder.capacity()));
    const double bytes = newRows * (sizeof(int) + 1 + double(kept) * sizeof(Cell))
                       + double(Cols - kept) * (sizeof(Column) + double(RowCapacity) * sizeof(Cell));
    if (bytes > LargeGrowth && bytes > double(AvailableMemoryBytes()))
        throw EQORDStructError(QStringLiteral("TStringArray: not enough memory for [%1,%2]").arg(Cols - 1).arg(RowCapacity - 1));
}

// Compaction only gives memory back: without room for the compacted pool the garbage stays.
void TStringArray::CompactColumn(Column& c)
{
    std::vector<char16_t> pool;
    try {
        pool.reserve(c.Pool.size() - std::min(c.Garbage, c.Pool.size()));
    } catch (const std::bad_alloc&) {
        return;
    }
    for (Cell& cell : c.Cells) {
        const auto off = std::uint32_t(pool.size());
        pool.insert(pool.end(), c.Pool.begin() + cell.Offset, c.Pool.begin() + cell.Offset + cell.Length);
        cell.Offset = cell.Length ? off : 0;
        cell.Capacity = cell.Length;
    }
    c.Pool.swap(pool);
    c.Garbage = 0;
}

std::uint8_t TStringArray::GetRowAttrib(int Row) const
{
    if (Row < 0 || Row > FNrRows)
        return 0;
    return FRowAttrib[std::size_t(Physical(Row))];
}

void TStringArray::SetRowAttrib(int Row, std::uint8_t Value)
{
    if (Row < 0 || Row > FNrRows)
        return;
    FRowAttrib[std::size_t(Physical(Row))] = Value;
    Changed();
}

std::uint8_t TStringArray::GetColAttrib(int Col) const
{
    if (Col < 0 || Col > FNrCols)
        return 0;
    return FColAttrib[std::size_t(Col)];
}

void TStringArray::SetColAttrib(int Col, std::uint8_t Value)
{
    if (Col < 0 || Col > FNrCols)
        return;
    FColAttrib[std::size_t(Col)] = Value;
    Changed();
}

void TStringArray::InsertRow(int Row)
{
    if (Row < 1 || Row > FNrRows + 1)
        return;
    // Room first: when there is none, the order and the cells stay as they were.
    CommitBuffers commit;
    if (IsSorted())
        commit = BuffersForCommit(FOrder.size() + 1);
    const bool notify = FNotifyChange;
    FNotifyChange = false;
    try {
        Resize(FNrCols, FNrRows + 1);
    } catch (...) {
        FNotifyChange = notify;
        throw;
    }
    FNotifyChange = notify;
    CommitWith(commit);
    // The new, empty physical row is the last one; it moves up to its place.
    for (auto& c : FColumns)
        std::rotate(c.Cells.begin() + Row, c.Cells.end() - 1, c.Cells.end());
    std::rotate(FRowAttrib.begin() + Row, FRowAttrib.end() - 1, FRowAttrib.end());
    Changed();
}

void TStringArray::RemoveRow(int Row)
{
    if (Row < 1 || Row > FNrRows)
        return;
    CommitSorting();
    for (auto& c : FColumns) {
        c.Garbage += c.Cells[std::size_t(Row)].Capacity;
        c.Cells.erase(c.Cells.begin() + Row);
        c.Cells.push_back(Cell{});
    }
    FRowAttrib.erase(FRowAttrib.begin() + Row);
    FRowAttrib.push_back(0);
    const bool notify = FNotifyChange;
    FNotifyChange = false;
    Resize(FNrCols, FNrRows - 1);
    FNotifyChange = notify;
    Changed();
}

void TStringArray::RemoveRows(const std::vector<char>& Drop)
{
    const int n = FNrRows;
    std::vector<char> dropPhys(std::size_t(n) + 1, 0);
    int dropped = 0;
    for (int i = 1; i <= n && std::size_t(i) < Drop.size(); ++i)
        if (Drop[std::size_t(i)]) {
            dropPhys[std::size_t(FOrder[std::size_t(i)])] = 1;
            ++dropped;
        }
    if (dropped == 0)
        return;
    // The kept physical rows close up in their physical order; renumber them.
    std::vector<int> newPhys(std::size_t(n) + 1, 0);
    for (int p = 1, k = 1; p <= n; ++p)
        if (!dropPhys[std::size_t(p)])
            newPhys[std::size_t(p)] = k++;
    for (auto& c : FColumns) {
        std::size_t k = 1;
        for (std::size_t p = 1; p <= std::size_t(n); ++p) {
            if (dropPhys[p])
                c.Garbage += c.Cells[p].Capacity;
            else
                c.Cells[k++] = c.Cells[p];
        }
        c.Cells.resize(k);
        if (c.Garbage > c.Pool.size() / 2)
            CompactColumn(c);
    }
    std::size_t k = 1;
    for (std::size_t p = 1; p <= std::size_t(n); ++p)
        if (!dropPhys[p])
            FRowAttrib[k++] = FRowAttrib[p];
    FRowAttrib.resize(k);
    k = 1;
    for (std::size_t i = 1; i <= std::size_t(n); ++i)
        if (!(i < Drop.size() && Drop[i]))
            FOrder[k++] = newPhys[std::size_t(FOrder[i])];
    FOrder.resize(k);
    FNrRows = n - dropped;
    Changed();
}

void TStringArray::InsertColumn(int Col)
{
    if (Col < 0 || Col > FNrCols + 1)
        return;
    Column fresh;
    try {
        fresh.Cells.reserve(FOrder.capacity());
        fresh.Cells.resize(FOrder.size());
        ReserveFor(FColumns, FColumns.size() + 1);
        ReserveFor(FColAttrib, FColAttrib.size() + 1);
    } catch (const std::bad_alloc&) {
        throw EQORDStructError(QStringLiteral("TStringArray: not enough memory for column %1").arg(FNrCols + 1));
    }
    FColumns.insert(FColumns.begin() + Col, std::move(fresh));
    FColAttrib.insert(FColAttrib.begin() + Col, std::uint8_t(0));
    ++FNrCols;
    Changed();
}

void TStringArray::RemoveColumn(int Col)
{
    if (Col < 0 || Col > FNrCols)
        return;
    if (FNrCols == 0) {
        Column& c = FColumns[0];
        std::fill(c.Cells.begin(), c.Cells.end(), Cell{});
        c.Pool.clear();
        c.Garbage = 0;
        FColAttrib[0] = 0;
    } else {
        FColumns.erase(FColumns.begin() + Col);
        FColAttrib.erase(FColAttrib.begin() + Col);
        --FNrCols;
    }
    Changed();
}

void TStringArray::ExchangeRows(int Row1, int Row2)
{
    if (Row1 < 1 || Row1 > FNrRows || Row2 < 1 || Row2 > FNrRows || Row1 == Row2)
        return;
    std::swap(FOrder[std::size_t(Row1)], FOrder[std::size_t(Row2)]);
    Changed();
}

bool TStringArray::IsSorted() const
{
    for (std::size_t i = 1; i < FOrder.size(); ++i)
        if (FOrder[i] != int(i))
            return true;
    return false;
}

int TStringArray::GetSortOrder(int i) const
{
    if (i < 1 || i > FNrRows)
        return -1;
    return FOrder[std::size_t(i)];
}

void TStringArray::SetSortOrder(int i, int j)
{
    if (i < 1 || i > FNrRows || j < 1 || j > FNrRows)
        return;
    FOrder[std::size_t(i)] = j;
    Changed();
}

void TStringArray::CommitSorting()
{
    if (!IsSorted())
        return;
    CommitBuffers commit = BuffersForCommit(FOrder.size());
    CommitWith(commit);
}

TStringArray::CommitBuffers TStringArray::BuffersForCommit(std::size_t Rows) const
{
    CommitBuffers b;
    try {
        b.Cells.reserve(Rows);
        b.Attrib.reserve(Rows);
    } catch (const std::bad_alloc&) {
        throw EQORDStructError(QStringLiteral("TStringArray: not enough memory to commit the sort order"));
    }
    b.Ready = true;
    return b;
}

void TStringArray::CommitWith(CommitBuffers& Buffers)
{
    if (!Buffers.Ready || !IsSorted())
        return;
    for (auto& c : FColumns)
        Gather(c.Cells, FOrder, Buffers.Cells);
    Gather(FRowAttrib, FOrder, Buffers.Attrib);
    for (std::size_t i = 0; i < FOrder.size(); ++i)
        FOrder[i] = int(i);
    Changed();
}

void TStringArray::ApplyOrder(const std::vector<int>& NewOrder)
{
    if (HookHeard(OnBeforeSortExchange)) {
        // Reach the new order by swaps of two positions, announcing each before it happens.
        std::vector<int> where(FOrder.size());
        for (std::size_t i = 0; i < FOrder.size(); ++i)
            where[std::size_t(FOrder[i])] = int(i);
        for (std::size_t i = 1; i < FOrder.size(); ++i) {
            if (FOrder[i] == NewOrder[i])
                continue;
            const int j = where[std::size_t(NewOrder[i])];
            OnBeforeSortExchange(this, int(i), j);
            const int moved = FOrder[i];
            FOrder[i] = FOrder[std::size_t(j)];
            FOrder[std::size_t(j)] = moved;
            where[std::size_t(moved)] = j;
            where[std::size_t(FOrder[i])] = int(i);
        }
    } else {
        // Copied, not moved in: the order keeps the capacity that row growth relies on.
        std::copy(NewOrder.begin(), NewOrder.end(), FOrder.begin());
    }
}

void TStringArray::UnSort()
{
    std::vector<int> order(FOrder.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    ApplyOrder(order);
    Changed();
}

void TStringArray::ReportPercent(int Percent)
{
    if (HookHeard(OnPercentDone))
        OnPercentDone(this, Percent);
}

bool TStringArray::ReadsAsNumber(QStringView Text, double& Value)
{
    const char16_t* p = Text.utf16();
    const char16_t* end = p + Text.size();
    while (p < end && *p <= u' ')
        ++p;
    while (end > p && end[-1] <= u' ')
        --end;
    if (p == end || end - p > 300)
        return false;
    const bool negative = *p == u'-';
    if (*p == u'+' || *p == u'-')
        ++p;
    const char16_t* const number = p;
    // The digits also accumulate into an integer mantissa while it is exact.
    auto isDigit = [](char16_t c) { return char16_t(c - u'0') < 10; };
    int digits = 0, fractionDigits = 0;
    std::uint64_t mantissa = 0;
    auto digit = [&] {
        if (++digits <= 19)
            mantissa = mantissa * 10 + std::uint64_t(*p - u'0');
        ++p;
    };
    while (p < end && isDigit(*p))
        digit();
    if (p < end && (*p == u'.' || *p == u',')) {
        ++p;
        for (; p < end && isDigit(*p); ++fractionDigits)
            digit();
    }
    if (digits == 0)
        return false;
    if (p == end) {
        // An exact mantissa divided by an exact power of ten is rounded once, as the full
        // conversion below rounds: the same value, much faster.
        static constexpr double Pow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                           1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
        if (digits <= 19 && mantissa <= (std::uint64_t(1) << 53) && fractionDigits <= 22) {
            const double v = double(mantissa) / Pow10[fractionDigits];
            Value = negative ? -v : v;
            return true;
        }
    } else if (*p == u'e' || *p == u'E') {
        ++p;
        if (p < end && (*p == u'+' || *p == u'-'))
            ++p;
        const char16_t* const exponent = p;
        while (p < end && isDigit(*p))
            ++p;
        if (p == exponent)
            return false;
    }
    if (p != end)
        return false;
    char buf[304];
    qsizetype n = 0;
    for (const char16_t* q = number; q < end; ++q)
        buf[n++] = *q == u',' ? '.' : (*q == u'E' ? 'e' : char(*q));
    double v = 0;
    const auto res = std::from_chars(buf, buf + n, v);
    if (res.ec == std::errc::result_out_of_range) {
        // Overflow reads as infinity, underflow as zero: still a number for ordering.
        v = (buf[0] != '0' && n > 0) ? std::numeric_limits<double>::infinity() : 0.0;
        bool expNegative = false;
        for (qsizetype k = 0; k < n; ++k)
            if (buf[k] == 'e' && k + 1 < n && buf[k + 1] == '-')
                expNegative = true;
        if (expNegative)
            v = 0.0;
    } else if (res.ec != std::errc()) {
        return false;
    }
    Value = negative ? -v : v;
    return true;
}

std::size_t TStringArray::MemoryUsage() const
{
    std::size_t total = FOrder.capacity() * sizeof(int) + FRowAttrib.capacity() + FColAttrib.capacity();
    for (const auto& c : FColumns)
        total += c.Cells.capacity() * sizeof(Cell) + c.Pool.capacity() * sizeof(char16_t);
    return total;
}

// ---------------------------------------------------------------------------------------------
// TBitFld

void TBitFld::SetSize(int Size)
{
    Size = std::max(0, Size);
    try {
        FWords.resize((std::size_t(Size) + 63) / 64, 0);
    } catch (const std::bad_alloc&) {
        throw EQORDStructError(QStringLiteral("TBitFld: not enough memory for %1 bits").arg(Size));
    }
    // Bits beyond the new size are cleared so that growing again shows false.
    if (Size % 64 && !FWords.empty())
        FWords.back() &= (std::uint64_t(1) << (Size % 64)) - 1;
    FSize = Size;
}

void TBitFld::Clear()
{
    std::fill(FWords.begin(), FWords.end(), 0);
}

bool TBitFld::GetBit(int Ix) const
{
    if (Ix < 0 || Ix >= FSize)
        return false;
    return (FWords[std::size_t(Ix) / 64] >> (Ix % 64)) & 1u;
}

void TBitFld::SetBit(int Ix, bool Value)
{
    if (Ix < 0 || Ix >= FSize)
        return;
    const std::uint64_t mask = std::uint64_t(1) << (Ix % 64);
    if (Value)
        FWords[std::size_t(Ix) / 64] |= mask;
    else
        FWords[std::size_t(Ix) / 64] &= ~mask;
}

int TBitFld::CountTrueBits() const
{
    int n = 0;
    for (auto w : FWords)
        n += std::popcount(w);
    return n;
}

int TBitFld::FirstTrueBit() const
{
    return NextTrueBit(0);
}

int TBitFld::NextTrueBit(int Ix) const
{
    Ix = std::max(0, Ix);
    if (Ix >= FSize)
        return -1;
    std::size_t i = std::size_t(Ix) / 64;
    std::uint64_t word = FWords[i] & (~std::uint64_t(0) << (Ix % 64));
    while (!word) {
        if (++i == FWords.size())
            return -1;
        word = FWords[i];
    }
    return int(i * 64) + std::countr_zero(word);
}

} // namespace qor
