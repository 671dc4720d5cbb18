// Sort order of the string array against a plain reference comparison, on the columns that
// stress its keys: long common prefixes, equal keys, numbers among texts, alphabets of every
// size, and a secondary column. The exchanges a sort announces, and to whom.
#include <gtest/gtest.h>

#include <QOR_dstruct.h>

#include <algorithm>
#include <random>

using namespace qor;

namespace {

// A cell as the comparison sees it: a number, or its case-folded UTF-16 units.
struct RefCell {
    bool IsNumber = false;
    double Number = 0;
    std::u16string Folded;
};

RefCell ReadCell(const QString& s)
{
    RefCell c;
    c.IsNumber = TStringArray::ReadsAsNumber(s, c.Number);
    if (!c.IsNumber) {
        const QString f = s.toCaseFolded();
        c.Folded.assign(f.utf16(), f.utf16() + f.size());
    }
    return c;
}

// Numbers before texts, numbers by value, texts unit by unit (a text that begins another first).
int Compare(const RefCell& x, const RefCell& y)
{
    if (x.IsNumber != y.IsNumber)
        return x.IsNumber ? -1 : 1;
    if (x.IsNumber)
        return x.Number < y.Number ? -1 : (y.Number < x.Number ? 1 : 0);
    return x.Folded.compare(y.Folded) < 0 ? -1 : (x.Folded == y.Folded ? 0 : 1);
}

// The shown order after a stable sort of the current one by the primary and secondary columns.
std::vector<int> ReferenceOrder(const TStringArray& a, int prim, int sec, bool ascP, bool ascS)
{
    const int n = a.NrOfRows();
    std::vector<RefCell> p(std::size_t(n) + 1), s(std::size_t(n) + 1);
    std::vector<int> order;
    for (int i = 1; i <= n; ++i) {
        const int phys = a.GetSortOrder(i);
        order.push_back(phys);
        p[std::size_t(phys)] = ReadCell(a.GetString(prim, i));
        if (sec >= 0)
            s[std::size_t(phys)] = ReadCell(a.GetString(sec, i));
    }
    std::stable_sort(order.begin(), order.end(), [&](int x, int y) {
        int c = Compare(p[std::size_t(x)], p[std::size_t(y)]) * (ascP ? 1 : -1);
        if (c == 0 && sec >= 0)
            c = Compare(s[std::size_t(x)], s[std::size_t(y)]) * (ascS ? 1 : -1);
        return c < 0;
    });
    return order;
}

// Sorts in the four direction pairs, each starting from the order the one before left.
void ExpectReferenceOrder(TStringArray& a, int prim, int sec, const char* what)
{
    for (int dir = 0; dir < 4; ++dir) {
        const bool ascP = !(dir & 1), ascS = !(dir & 2);
        const std::vector<int> expected = ReferenceOrder(a, prim, sec, ascP, ascS);
        a.Sort(prim, sec, ascP, ascS);
        for (int i = 1; i <= a.NrOfRows(); ++i)
            ASSERT_EQ(a.GetSortOrder(i), expected[std::size_t(i - 1)])
                << what << ", ascending " << ascP << "/" << ascS << ", position " << i;
    }
}

void FillColumn(TStringArray& a, int col, const std::vector<QString>& cells)
{
    for (int r = 1; r <= a.NrOfRows(); ++r)
        a.SetString(col, r, cells[std::size_t(r - 1) % cells.size()]);
}

// The swaps that take the shown order Before to After (both display position -> physical row,
// [0] unused): going up the positions, each position that does not yet show its new row is
// swapped with the position that shows it.
std::vector<std::pair<int, int>> SwapsBetween(std::vector<int> Before, const std::vector<int>& After)
{
    std::vector<int> where(Before.size());
    for (std::size_t i = 1; i < Before.size(); ++i)
        where[std::size_t(Before[i])] = int(i);
    std::vector<std::pair<int, int>> swaps;
    for (std::size_t i = 1; i < Before.size(); ++i) {
        if (Before[i] == After[i])
            continue;
        const int j = where[std::size_t(After[i])];
        swaps.emplace_back(int(i), j);
        where[std::size_t(Before[i])] = j;
        std::swap(Before[i], Before[std::size_t(j)]);
        where[std::size_t(Before[i])] = int(i);
    }
    return swaps;
}

std::vector<int> ShownOrder(const TStringArray& a)
{
    std::vector<int> order(std::size_t(a.NrOfRows()) + 1, 0);
    for (int i = 1; i <= a.NrOfRows(); ++i)
        order[std::size_t(i)] = a.GetSortOrder(i);
    return order;
}

template <class Gen>
std::vector<QString> Generate(int n, Gen gen)
{
    std::vector<QString> v;
    for (int i = 0; i < n; ++i)
        v.push_back(gen(i));
    return v;
}

} // namespace

TEST(StringArraySort, LongCommonPrefixes)
{
    std::mt19937 rng(3);
    const QString longStem = QStringLiteral("https://example.org/catalogue/section-7/item-");
    const QString veryLong = QString(200, QLatin1Char('q'));
    const int n = 3000;
    TStringArray a;
    a.Resize(3, n);
    FillColumn(a, 1, Generate(n, [&](int) -> QString {
        switch (rng() % 8) {
        case 0: return QStringLiteral("item-%1-%2").arg(rng() % 100000, 5, 10, QLatin1Char('0')).arg(rng() % 10);
        case 1: return QStringLiteral("ITEM-%1-%2").arg(rng() % 300, 5, 10, QLatin1Char('0')).arg(rng() % 3);
        case 2: return QStringLiteral("item-").left(int(rng() % 6));   // the prefix itself and its starts
        case 3: return QStringLiteral("item-%1").arg(rng() % 1000);    // begins longer cells
        case 4: return longStem + QString::number(rng() % 50);
        case 5: return veryLong + QString::number(rng() % 40000);      // cut at 255 characters
        case 6: return veryLong.left(int(190 + rng() % 20));
        default: return QStringLiteral("item-%1-%2").arg(rng() % 100, 5, 10, QLatin1Char('0')).arg(rng() % 10);
        }
    }));
    FillColumn(a, 2, Generate(n, [&](int) { return QString::number(rng() % 4); }));
    FillColumn(a, 3, Generate(n, [&](int) { return QStringLiteral("item-common-prefix-") + QChar(char16_t(u'a' + rng() % 3)); }));
    ExpectReferenceOrder(a, 1, 2, "prefixed column, secondary numbers");
    ExpectReferenceOrder(a, 1, -1, "prefixed column alone");
    ExpectReferenceOrder(a, 3, 1, "few values behind a shared prefix, prefixed secondary");
}

TEST(StringArraySort, EqualKeysKeepTheirPreviousOrder)
{
    // Every cell below reads as 1, as the empty text, or as "a": three keys in many spellings.
    const std::vector<QString> spellings = {u"1"_qs, u"1,0"_qs, u"01"_qs, u" 1 "_qs, u"+1"_qs, u"1e0"_qs, u"10e-1"_qs,
                                            u""_qs, u"a"_qs, u"A"_qs};
    std::mt19937 rng(5);
    const int n = 2000;
    TStringArray a;
    a.Resize(3, n);
    FillColumn(a, 1, Generate(n, [&](int) { return spellings[rng() % spellings.size()]; }));
    FillColumn(a, 2, Generate(n, [&](int) { return QString::number(rng() % 3); }));
    FillColumn(a, 3, Generate(n, [&](int i) { return QString::number(i); }));
    ExpectReferenceOrder(a, 1, -1, "equal keys alone");
    ExpectReferenceOrder(a, 2, 1, "equal keys as the secondary column");
    ExpectReferenceOrder(a, 1, 2, "equal keys in both columns");
    a.UnSort();
    ExpectReferenceOrder(a, 1, 1, "the secondary column is the primary one");
}

TEST(StringArraySort, NumbersMixedWithTexts)
{
    const std::vector<QString> edge = {
        u"-0"_qs, u"0"_qs, u"+0,0"_qs, u"0.0e5"_qs, u"1e400"_qs, u"-1e400"_qs, u"1e-400"_qs, u"-1e-400"_qs,
        u"2,5"_qs, u"2.5"_qs, u".5"_qs, u"5."_qs, u"-"_qs, u"+"_qs, u"e5"_qs, u"1e"_qs, u"12abc"_qs, u""_qs,
        u"   "_qs, u"0x10"_qs, u"1 2"_qs, u"\u22121"_qs, u"\u0661"_qs, u"9007199254740993"_qs,
        u"9007199254740992"_qs, u"-9007199254740993"_qs, u"1,7976931348623157e308"_qs, u"4,9e-324"_qs,
        u"nan"_qs, u"inf"_qs, u"-inf"_qs, u"Infinity"_qs, u"1.5.1"_qs, u"3 "_qs, u"\t7"_qs};
    std::mt19937 rng(9);
    const int n = 2500;
    TStringArray a;
    a.Resize(2, n);
    FillColumn(a, 1, Generate(n, [&](int) -> QString {
        switch (rng() % 4) {
        case 0: return edge[rng() % edge.size()];
        case 1: return QString::number(double(int(rng() % 20001) - 10000) / 8.0, 'g', 17);
        case 2: return QString::number(int(rng() % 2001) - 1000);
        default: return QStringLiteral("t%1").arg(rng() % 50);
        }
    }));
    FillColumn(a, 2, Generate(n, [&](int) { return (rng() % 2) ? edge[rng() % edge.size()] : QString::number(rng() % 3); }));
    ExpectReferenceOrder(a, 1, 2, "numbers and texts, mixed secondary");
    ExpectReferenceOrder(a, 2, 1, "mixed secondary as primary");
}

// Texts of few and of many distinct characters (lengths up to the cell limit, case variants that
// fold together, surrogate pairs), so that texts pack into keys at every width.
TEST(StringArraySort, AlphabetsOfEverySize)
{
    std::mt19937 rng(13);
    const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 -_.,;:!?");
    for (int size : {1, 2, 3, 15, 16, 17, 40, 255, 256, 3000}) {
        std::vector<QString> alphabet;
        for (int k = 0; k < size; ++k) {
            if (k < letters.size())
                alphabet.push_back(letters.mid(k, 1));
            else if (k % 7 == 0)
                alphabet.push_back(QString::fromUcs4(std::u32string(1, char32_t(0x10400 + k % 80)).data(), 1));
            else
                alphabet.push_back(QString(QChar(char16_t(0x100 + k * 13 % 0xCF00))));
        }
        const int n = 400;
        TStringArray a;
        a.Resize(2, n);
        FillColumn(a, 1, Generate(n, [&](int) {
            QString s;
            const int len = (rng() % 8 == 0) ? int(rng() % 260) : int(rng() % 40);
            for (int j = 0; j < len; ++j)
                s += alphabet[rng() % alphabet.size()];
            return s;
        }));
        FillColumn(a, 2, Generate(n, [&](int) { return alphabet[rng() % alphabet.size()]; }));
        ExpectReferenceOrder(a, 1, 2, qPrintable(QStringLiteral("alphabet of %1").arg(size)));
    }
}

TEST(StringArraySort, EveryCodeUnitInOneColumn)
{
    // 257 cells of 255 consecutive UTF-16 units cover all 65,536 of them (lone surrogates too).
    std::vector<QString> cells;
    for (int start = 0; start < 0x10000; start += 255) {
        QString s;
        for (int u = start; u < std::min(start + 255, 0x10000); ++u)
            s += QChar(char16_t(u));
        cells.push_back(s);
        cells.push_back(s.left(3));
    }
    std::shuffle(cells.begin(), cells.end(), std::mt19937(17));
    TStringArray a;
    a.Resize(1, int(cells.size()));
    FillColumn(a, 1, cells);
    ExpectReferenceOrder(a, 1, -1, "every code unit");
}

TEST(StringArraySort, OnlyEmptyTextsBesideNumbers)
{
    TStringArray a;
    a.Resize(2, 7);
    FillColumn(a, 1, {u""_qs, u"3"_qs, u""_qs, u"-1"_qs, u""_qs, u"3,0"_qs, u""_qs});
    FillColumn(a, 2, {u"b"_qs, u"a"_qs, u"c"_qs, u"a"_qs, u"a"_qs, u"b"_qs, u"B"_qs});
    ExpectReferenceOrder(a, 1, 2, "empty texts and numbers");
    ExpectReferenceOrder(a, 1, -1, "empty texts and numbers alone");
}

// Random cells with duplicates, so that sorts move many rows and keep ties.
void FillForExchanges(TStringArray& a, int n)
{
    std::mt19937 rng(21);
    a.Resize(2, n);
    FillColumn(a, 1, Generate(n, [&](int) { return QStringLiteral("item-%1").arg(rng() % 300); }));
    FillColumn(a, 2, Generate(n, [&](int) { return QString::number(rng() % 50); }));
}

TEST(StringArrayExchanges, AnnouncedSwapsFollowTheirRule)
{
    TStringArray a;
    FillForExchanges(a, 700);
    std::vector<std::pair<int, int>> announced;
    std::vector<int> mirror;   // the shown order as the announcements leave it
    a.OnBeforeSortExchange = [&](QObject* s, int r1, int r2) {
        EXPECT_EQ(s, &a);
        // Announced before the swap: both positions still show what they showed.
        EXPECT_EQ(a.GetSortOrder(r1), mirror[std::size_t(r1)]);
        EXPECT_EQ(a.GetSortOrder(r2), mirror[std::size_t(r2)]);
        std::swap(mirror[std::size_t(r1)], mirror[std::size_t(r2)]);
        announced.emplace_back(r1, r2);
    };
    auto check = [&](auto change, const char* what) {
        const std::vector<int> before = ShownOrder(a);
        mirror = before;
        announced.clear();
        change();
        EXPECT_EQ(announced, SwapsBetween(before, ShownOrder(a))) << what;
        EXPECT_EQ(mirror, ShownOrder(a)) << what;
    };
    check([&] { a.Sort(1, -1, true, true); }, "ascending");
    check([&] { a.Sort(1, -1, false, true); }, "descending");
    check([&] { a.Sort(2, 1, true, false); }, "with a secondary column");
    check([&] { a.UnSort(); }, "unsorted");
    EXPECT_FALSE(a.IsSorted());
}

// A forwarding hook whose listener is gone hears nothing, and the order comes out the same.
TEST(StringArrayExchanges, UnheardHooksAreNotCalled)
{
    TStringArray heard, unheard;
    FillForExchanges(heard, 700);
    FillForExchanges(unheard, 700);
    int heardCalls = 0, unheardCalls = 0, percents = 0;
    bool listening = false;
    heard.OnBeforeSortExchange = [&](QObject*, int, int) { ++heardCalls; };
    unheard.OnBeforeSortExchange = THookForwarder<int, int>{[&](QObject*, int, int) { ++unheardCalls; }, [&] { return listening; }};
    unheard.OnPercentDone = THookForwarder<int>{[&](QObject*, int) { ++percents; }, [&] { return listening; }};
    for (bool asc : {true, false}) {
        heard.Sort(1, 2, asc, !asc);
        unheard.Sort(1, 2, asc, !asc);
        ASSERT_EQ(ShownOrder(unheard), ShownOrder(heard));
    }
    heard.UnSort();
    unheard.UnSort();
    EXPECT_FALSE(unheard.IsSorted());
    EXPECT_GT(heardCalls, 0);
    EXPECT_EQ(unheardCalls, 0);
    EXPECT_EQ(percents, 0);

    // The listener comes back: the same swaps as a plain handler, and the progress.
    listening = true;
    heardCalls = 0;
    heard.Sort(1, -1, false, true);
    unheard.Sort(1, -1, false, true);
    EXPECT_EQ(unheardCalls, heardCalls);
    EXPECT_EQ(percents, 5);
    EXPECT_EQ(ShownOrder(unheard), ShownOrder(heard));
}
