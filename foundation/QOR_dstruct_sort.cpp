// Sorting the rows of a string array. Every cell of the sorted columns is read once and turned
// into a 64-bit key; rows are then sorted as compact items (a key and the row), so that a pass
// touches no other memory. Large ranges go through a stable radix sort over the bits in which
// their keys differ; a range already in order, or in reverse order, takes one pass. Texts longer
// than one key are refined, run by run, by their next key.
#include "QOR_dstruct.h"

#include <algorithm>
#include <array>
#include <bit>
#include <memory>
#include <optional>
#include <utility>

namespace qor {

namespace {

struct Item {
    std::uint64_t Key;
    std::uint32_t Row;
};

// Below this many items a comparison sort beats the radix passes' fixed cost.
constexpr std::ptrdiff_t RadixThreshold = 512;
constexpr std::ptrdiff_t InsertionThreshold = 16;
constexpr unsigned DigitBits = 11;
constexpr std::size_t DigitValues = std::size_t(1) << DigitBits;

// The second buffer of the radix passes, allocated once per sort at its first use.
class Scratch {
public:
    explicit Scratch(std::size_t Size) : FSize(Size) {}
    Item* Get()
    {
        if (!FItems)
            FItems = std::make_unique_for_overwrite<Item[]>(FSize);
        return FItems.get();
    }
private:
    std::size_t FSize;
    std::unique_ptr<Item[]> FItems;
};

void InsertionSort(Item* b, Item* e)
{
    for (Item* it = b + 1; it < e; ++it) {
        const Item x = *it;
        Item* hole = it;
        for (; hole != b && x.Key < (hole - 1)->Key; --hole)
            *hole = *(hole - 1);
        *hole = x;
    }
}

// Stable LSD radix sort of [b, e) by key. Only the bits in which the keys differ are sorted, in
// digits of DigitBits bits; a digit that is the same in every key takes no pass.
void RadixSort(Item* b, Item* e, Scratch& scratch)
{
    const auto n = std::size_t(e - b);
    std::uint64_t differs = 0;
    for (const Item* it = b; it != e; ++it)
        differs |= it->Key ^ b->Key;
    if (differs == 0)
        return;
    const unsigned low = unsigned(std::countr_zero(differs));
    const unsigned width = unsigned(std::bit_width(differs)) - low;
    const unsigned passes = (width + DigitBits - 1) / DigitBits;
    auto digit = [low](std::uint64_t key, unsigned pass) {
        return std::size_t((key >> (low + pass * DigitBits)) & (DigitValues - 1));
    };
    std::vector<std::array<std::uint32_t, DigitValues>> counts(passes);
    for (auto& c : counts)
        c.fill(0);
    for (const Item* it = b; it != e; ++it)
        for (unsigned p = 0; p < passes; ++p)
            ++counts[p][digit(it->Key, p)];
    Item* from = b;
    Item* to = scratch.Get();
    for (unsigned p = 0; p < passes; ++p) {
        auto& c = counts[p];
        if (c[digit(from->Key, p)] == n)
            continue;
        std::uint32_t sum = 0;
        for (auto& v : c)
            sum += std::exchange(v, sum);
        for (std::size_t i = 0; i < n; ++i)
            to[c[digit(from[i].Key, p)]++] = from[i];
        std::swap(from, to);
    }
    if (from != b)
        std::copy(from, from + n, b);
}

// Puts [b, e), whose keys never rise, in order: reversed, and with Ties, each run of equal keys
// turned back so that it keeps its order.
void ReverseKeepingTies(Item* b, Item* e, bool Ties)
{
    std::reverse(b, e);
    if (!Ties)
        return;
    for (Item* run = b; run != e;) {
        Item* end = run + 1;
        while (end != e && end->Key == run->Key)
            ++end;
        if (end - run > 1)
            std::reverse(run, end);
        run = end;
    }
}

// How the keys of a range lie: already in order, in reverse order, with equal neighbours.
struct Shape {
    bool Rising = true;
    bool Falling = true;
    bool Ties = false;
    void Add(std::uint64_t Before, std::uint64_t Key)
    {
        Rising &= Before <= Key;
        Falling &= Before >= Key;
        Ties |= Before == Key;
    }
};

// Keys of a descending sort are complemented: they then sort ascending, and equal keys stay
// equal, so runs are found as before.
constexpr std::uint64_t KeyFlip(bool Ascending)
{
    return Ascending ? 0 : ~std::uint64_t(0);
}

// Complements the keys of a descending sort and finds their shape.
Shape PrepareKeys(Item* b, Item* e, bool Ascending)
{
    Shape shape;
    const std::uint64_t flip = KeyFlip(Ascending);
    if (flip)
        for (Item* it = b; it != e; ++it)
            it->Key ^= flip;
    for (const Item* it = b + 1; it < e; ++it)
        shape.Add((it - 1)->Key, it->Key);
    return shape;
}

// Stable sort of [b, e) by its prepared keys; equal keys keep their order. A range already in
// order, or in reverse order, takes one pass: sorting the column just sorted the other way
// round, as a header click does, is that case.
void SortPrepared(Item* b, Item* e, const Shape& shape, Scratch& scratch)
{
    if (shape.Rising)
        return;
    if (shape.Falling)
        ReverseKeepingTies(b, e, shape.Ties);
    else if (e - b <= InsertionThreshold)
        InsertionSort(b, e);
    else if (e - b < RadixThreshold)
        std::stable_sort(b, e, [](const Item& x, const Item& y) { return x.Key < y.Key; });
    else
        RadixSort(b, e, scratch);
}

// The rows of [b, e), whose keys never rise, in order into Out: backwards, each run of equal
// keys in its own order.
void WriteReversed(const Item* b, const Item* e, int* Out)
{
    for (const Item* end = e; end != b;) {
        const Item* start = end - 1;
        while (start != b && (start - 1)->Key == start->Key)
            --start;
        for (const Item* it = start; it != end; ++it)
            *Out++ = int(it->Row);
        end = start;
    }
}

// Calls fn(rb, re) for every run of two or more equal keys in a sorted [b, e).
template <class Fn>
void ForEachTie(Item* b, Item* e, Fn&& fn)
{
    while (b != e) {
        Item* r = b + 1;
        while (r != e && r->Key == b->Key)
            ++r;
        if (r - b > 1)
            fn(b, r);
        b = r;
    }
}

// A number's key: its bits, turned so that unsigned order is numeric order (-0 counts as +0).
std::uint64_t NumberKey(double v)
{
    const auto bits = std::bit_cast<std::uint64_t>(v == 0 ? 0.0 : v);
    return (bits & 0x8000000000000000ull) ? ~bits : (bits | 0x8000000000000000ull);
}

// The case folding the comparison uses, of unit j of a text of n units: simple case folding,
// a surrogate pair folded as one character.
char16_t FoldedUnit(const char16_t* p, std::size_t n, std::size_t j)
{
    const char16_t ch = p[j];
    if (ch < 0x80)
        return char16_t(ch - u'A') < 26 ? char16_t(ch + 32) : ch;
    if (QChar::isHighSurrogate(ch) && j + 1 < n && QChar::isLowSurrogate(p[j + 1]))
        return QChar::highSurrogate(QChar::toCaseFolded(QChar::surrogateToUcs4(ch, p[j + 1])));
    if (QChar::isLowSurrogate(ch) && j > 0 && QChar::isHighSurrogate(p[j - 1]))
        return QChar::lowSurrogate(QChar::toCaseFolded(QChar::surrogateToUcs4(p[j - 1], ch)));
    return QChar::toCaseFolded(ch);
}

// Asks for the cache line of p ahead of its use, where the compiler offers it.
inline void Prefetch(const void* p)
{
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(p);
#else
    (void)p;
#endif
}

// Whether the cell may read as a number: after blanks, numbers start with a sign, a digit or a
// decimal separator, all of them below "9". Most texts are told apart by their first unit.
bool MayBeNumber(QStringView s)
{
    return !s.isEmpty() && s[0].unicode() <= u'9';
}

} // namespace

// One column prepared for sorting: for every physical row whether the cell reads as a number,
// and its first key (the number, or the start of its folded text).
//
// Texts are packed into keys with as few bits per character as the range of the column's folded
// code units allows (a unit's rank is its distance from the lowest, from 1; 0 ends a text), so a
// column of plain text packs nine characters into one key instead of four. The start that all
// texts share is skipped. Later characters are read from the cells when a run of texts needs
// them.
class TStringArray::SortColumn {
public:
    SortColumn(const Column& Cells, bool Ascending)
        : FColumn(Cells), FAscending(Ascending), FRows(Cells.Cells.size() - 1),
          FIsNumber(std::make_unique_for_overwrite<std::uint8_t[]>(FRows + 1)),
          FFirst(std::make_unique_for_overwrite<std::uint64_t[]>(FRows + 1))
    {
        const std::size_t first = GuessCommonPrefix();
        bool stale = false;   // keys made from a common prefix that proved shorter
        for (std::size_t r = 1; r <= FRows; ++r) {
            const QStringView s = Text(r);
            double v = 0;
            FIsNumber[r] = MayBeNumber(s) && ReadsAsNumber(s, v);
            if (FIsNumber[r]) {
                FFirst[r] = NumberKey(v);
                ++FNumbers;
                continue;
            }
            if (FRankOf.empty())
                RankUnits();
            FMaxLength = std::max(FMaxLength, std::size_t(s.size()));
            if (FCommonPrefix > 0 && ShortenCommonPrefix(first, r))
                stale = true;
            FFirst[r] = TextKey(r, FCommonPrefix);
        }
        if (stale)
            for (std::size_t r = 1; r <= FRows; ++r)
                if (!FIsNumber[r])
                    FFirst[r] = TextKey(r, FCommonPrefix);
    }

    // Runs of rows that this column leaves equal are sorted by Ties.
    void BreakTiesBy(const SortColumn* Ties) { FTies = Ties; }

    // The stable sort of the shown order Shown (display position -> physical row, [0] unused)
    // into Sorted.
    void SortShown(const std::vector<int>& Shown, std::vector<int>& Sorted) const
    {
        const std::size_t n = Shown.size() - 1;
        const auto items = std::make_unique_for_overwrite<Item[]>(n);
        Item* const b = items.get();
        Item* const e = b + n;
        Scratch scratch(n);
        if (FNumbers != 0 && FNumbers != FRows) {
            for (std::size_t i = 0; i < n; ++i)
                b[i].Row = std::uint32_t(Shown[i + 1]);
            Sort(b, e, scratch);
        } else {
            // Rows shown in any order are scattered over the keys: fetch ahead of use.
            constexpr std::size_t Ahead = 16;
            const std::uint64_t flip = KeyFlip(FAscending);
            Shape shape;
            for (std::size_t i = 0; i < n; ++i) {
                if (i + Ahead < n)
                    Prefetch(&FFirst[std::size_t(Shown[i + 1 + Ahead])]);
                const auto row = std::uint32_t(Shown[i + 1]);
                b[i] = Item{FFirst[row] ^ flip, row};
                if (i > 0)
                    shape.Add(b[i - 1].Key, b[i].Key);
            }
            // The first keys decide all when no tie column follows and no text needs a second key.
            const bool firstKeysDecide = !FTies && (FNumbers != 0 || FMaxLength <= FCommonPrefix + FCharsPerKey);
            if (firstKeysDecide && shape.Falling) {
                WriteReversed(b, e, &Sorted[1]);
                return;
            }
            if (FNumbers != 0)
                SortNumbers(b, e, scratch, &shape);
            else
                SortTexts(b, e, FCommonPrefix, scratch, &shape);
        }
        for (std::size_t i = 0; i < n; ++i)
            Sorted[i + 1] = int(b[i].Row);
    }

private:
    QStringView Text(std::size_t Row) const
    {
        const Cell& cell = FColumn.Cells[Row];
        return QStringView(FColumn.Pool.data() + cell.Offset, cell.Length);
    }

    // Stable sort of [b, e): numbers before texts (after them when descending).
    void Sort(Item* b, Item* e, Scratch& scratch) const
    {
        if (e - b < 2)
            return;
        Item* const mid = std::stable_partition(b, e, [&](const Item& x) { return bool(FIsNumber[x.Row]) == FAscending; });
        SortNumbers(FAscending ? b : mid, FAscending ? mid : e, scratch, nullptr);
        SortTexts(FAscending ? mid : b, FAscending ? e : mid, FCommonPrefix, scratch, nullptr);
    }

    // The start that the texts among the first rows share, as the first keys' start (checked
    // against every text as the keys are made). Returns the first text's row, 0 when none.
    std::size_t GuessCommonPrefix()
    {
        constexpr std::size_t Sample = 64;
        std::size_t first = 0;
        for (std::size_t r = 1; r <= std::min(FRows, Sample); ++r) {
            double v = 0;
            if (MayBeNumber(Text(r)) && ReadsAsNumber(Text(r), v))
                continue;
            if (first == 0) {
                first = r;
                FCommonPrefix = FColumn.Cells[r].Length;
            } else {
                ShortenCommonPrefix(first, r);
            }
        }
        return first;
    }

    // Cuts the common prefix to what the texts of rows First and Row share; true when it got
    // shorter. Raw units that agree fold alike, except a high surrogate, whose folding depends
    // on the unit after it: compare raw first, then folded from there.
    bool ShortenCommonPrefix(std::size_t First, std::size_t Row)
    {
        const QStringView a = Text(First), b = Text(Row);
        const std::size_t common = std::min<std::size_t>(FCommonPrefix, std::size_t(b.size()));
        std::size_t j = 0;
        while (j < common && a[j] == b[j])
            ++j;
        if (j > 0 && j < common && a[j - 1].isHighSurrogate())
            --j;
        while (j < common && FoldedUnit(a.utf16(), std::size_t(a.size()), j) == FoldedUnit(b.utf16(), std::size_t(b.size()), j))
            ++j;
        const bool shorter = j < FCommonPrefix;
        FCommonPrefix = j;
        return shorter;
    }

    // Ranks the folded units that may occur in the column's texts: those of the range of units
    // found in its text pool (one sequential pass; units of numbers and of overwritten texts only
    // widen the range, which keeps the order). FRankOf maps a unit of a cell straight to the
    // rank of its folding.
    void RankUnits()
    {
        const char16_t* pool = FColumn.Pool.data();
        const std::size_t n = FColumn.Pool.size();
        // Signed 16-bit minimum and maximum of the units moved by 0x8000 (what vector units offer).
        std::int16_t lowMoved = INT16_MAX, highMoved = INT16_MIN;
        for (std::size_t i = 0; i < n; ++i) {
            const auto moved = std::int16_t(pool[i] ^ 0x8000);
            lowMoved = std::min(lowMoved, moved);
            highMoved = std::max(highMoved, moved);
        }
        const auto low = char16_t(std::uint16_t(lowMoved) ^ 0x8000), high = char16_t(std::uint16_t(highMoved) ^ 0x8000);
        FRankOf.assign(0x10000, 0);
        if (n == 0)
            return;   // only empty texts: any width will do
        char16_t foldedLow = 0xFFFF, foldedHigh = 0;
        for (std::size_t u = low; u <= high; ++u) {
            const char16_t f = QChar::toCaseFolded(char16_t(u));
            foldedLow = std::min(foldedLow, f);
            foldedHigh = std::max(foldedHigh, f);
        }
        // A surrogate pair folds to another pair: any surrogate may come out.
        const bool surrogates = low <= 0xDFFF && high >= 0xD800;
        if (surrogates) {
            foldedLow = std::min<char16_t>(foldedLow, 0xD800);
            foldedHigh = std::max<char16_t>(foldedHigh, 0xDFFF);
        }
        for (std::size_t u = low; u <= high; ++u)
            FRankOf[u] = std::uint32_t(QChar::toCaseFolded(char16_t(u)) - foldedLow) + 1;
        if (surrogates)
            for (std::size_t u = 0xD800; u <= 0xDFFF; ++u)
                FRankOf[u] = std::uint32_t(u - foldedLow) + 1;
        FBits = unsigned(std::bit_width(std::uint32_t(foldedHigh - foldedLow) + 1));
        FCharsPerKey = 64 / FBits;
    }

    // The folded characters From.. of the row's text, FCharsPerKey of them, packed; a shorter
    // text is padded with zeros and sorts first.
    std::uint64_t TextKey(std::size_t Row, std::size_t From) const
    {
        const QStringView s = Text(Row);
        const char16_t* p = s.utf16();
        const auto n = std::size_t(s.size());
        const std::size_t end = std::min(n, From + FCharsPerKey);
        // Each character goes to its place directly, so that none waits for the one before.
        std::uint64_t key = 0;
        int shift = int((FCharsPerKey - 1) * FBits);
        for (std::size_t j = From; j < end; ++j, shift -= int(FBits)) {
            const char16_t ch = p[j];
            key |= std::uint64_t(FRankOf[QChar::isSurrogate(ch) ? FoldedUnit(p, n, j) : ch]) << shift;
        }
        return key;
    }

    // Prepared: the keys are in place, complemented as the direction asks, and shaped.
    void SortNumbers(Item* b, Item* e, Scratch& scratch, const Shape* Prepared) const
    {
        if (!Prepared)
            for (Item* it = b; it != e; ++it)
                it->Key = FFirst[it->Row];
        SortPrepared(b, e, Prepared ? *Prepared : PrepareKeys(b, e, FAscending), scratch);
        if (FTies)
            ForEachTie(b, e, [&](Item* rb, Item* re) { FTies->Sort(rb, re, scratch); });
    }

    // Sorts texts that agree up to From by their characters From.. .
    void SortTexts(Item* b, Item* e, std::size_t From, Scratch& scratch, const Shape* Prepared) const
    {
        if (e - b < 2)
            return;
        if (!Prepared)
            for (Item* it = b; it != e; ++it)
                it->Key = From == FCommonPrefix ? FFirst[it->Row] : TextKey(it->Row, From);
        SortPrepared(b, e, Prepared ? *Prepared : PrepareKeys(b, e, FAscending), scratch);
        const std::size_t next = From + FCharsPerKey;
        if (!FTies && FMaxLength <= next)
            return;   // nothing left to tell apart
        ForEachTie(b, e, [&](Item* rb, Item* re) {
            if (std::any_of(rb, re, [&](const Item& x) { return FColumn.Cells[x.Row].Length > next; }))
                SortTexts(rb, re, next, scratch, nullptr);
            else if (FTies)
                FTies->Sort(rb, re, scratch);   // equal texts
        });
    }

    const Column& FColumn;
    bool FAscending;
    std::size_t FRows;
    const SortColumn* FTies = nullptr;
    std::unique_ptr<std::uint8_t[]> FIsNumber;   // by physical row
    std::unique_ptr<std::uint64_t[]> FFirst;     // by physical row
    std::size_t FNumbers = 0;
    std::size_t FMaxLength = 0;                  // of the texts
    std::vector<std::uint32_t> FRankOf;          // code unit -> rank of its folding (from 1)
    unsigned FBits = 16;
    std::size_t FCharsPerKey = 4;
    std::size_t FCommonPrefix = 0;               // of the texts, in units: where the first keys start
};

void TStringArray::Sort(int PrimCol, int SecCol, bool AscendPrim, bool AscendSec)
{
    if (PrimCol < 0 || PrimCol > FNrCols || FNrRows < 2)
        return;
    const bool useSec = SecCol >= 0 && SecCol <= FNrCols && SecCol != PrimCol;
    std::vector<int> order(FOrder.size());
    {
        ReportPercent(0);
        SortColumn prim(FColumns[std::size_t(PrimCol)], AscendPrim);
        ReportPercent(useSec ? 20 : 40);
        std::optional<SortColumn> sec;
        if (useSec) {
            sec.emplace(FColumns[std::size_t(SecCol)], AscendSec);
            prim.BreakTiesBy(&*sec);
        }
        ReportPercent(40);
        prim.SortShown(FOrder, order);
    }
    ReportPercent(90);
    ApplyOrder(order);
    ReportPercent(100);
    Changed();
}

} // namespace qor
