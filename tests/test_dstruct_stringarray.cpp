// String array storage, ordering and hooks; bit field; logic operators.
#include <gtest/gtest.h>

#include <QOR_dstruct.h>

#include <numeric>
#include <random>

using namespace qor;

namespace {

QStringList Column(const TStringArray& a, int col)
{
    QStringList l;
    for (int r = 1; r <= a.NrOfRows(); ++r)
        l << a.GetString(col, r);
    return l;
}

void Put(TStringArray& a, int col, const QStringList& values)
{
    for (int r = 1; r <= values.size(); ++r)
        a.SetString(col, r, values[r - 1]);
}

} // namespace

TEST(StringArray, CellsCutAndOutOfRangeIsHarmless)
{
    TStringArray a;
    a.Resize(2, 3);
    a.SetString(2, 3, QString(300, QLatin1Char('x')));
    EXPECT_EQ(a.GetString(2, 3).size(), 255);
    a.SetString(3, 1, u"ignored");
    a.SetString(-1, 1, u"ignored");
    a.SetString(0, 4, u"ignored");
    EXPECT_TRUE(a.GetString(3, 1).isEmpty());
    EXPECT_TRUE(a.GetString(0, 4).isEmpty());
    EXPECT_EQ(a.GetRowAttrib(9), 0);
    a.SetRowAttrib(9, 1);   // no crash
    EXPECT_THROW(a.Resize(-1, 2), EQORDStructError);
}

TEST(StringArray, OverwritesReuseAndCompactStorage)
{
    TStringArray a;
    a.Resize(1, 100);
    for (int round = 0; round < 200; ++round)
        for (int r = 1; r <= 100; ++r)
            a.SetString(1, r, QStringLiteral("value %1 round %2").arg(r).arg(round));
    EXPECT_EQ(a.GetString(1, 42), QStringLiteral("value 42 round 199"));
    // Garbage is reclaimed: far below 200 rounds of text.
    EXPECT_LT(a.MemoryUsage(), std::size_t(100 * 40 * 2 * 4));
    // A cell copied from a neighbour in the same column survives pool growth.
    a.SetString(1, 1, a.GetStringView(1, 2));
    EXPECT_EQ(a.GetString(1, 1), a.GetString(1, 2));
}

TEST(StringArray, ResizeKeepsContentAndAttributes)
{
    TStringArray a;
    a.Resize(2, 2);
    a.SetString(1, 2, u"keep");
    a.SetRowAttrib(2, 0x80);
    a.SetColAttrib(1, 0x80);
    a.Resize(5, 50);
    EXPECT_EQ(a.GetString(1, 2), QStringLiteral("keep"));
    EXPECT_EQ(a.GetRowAttrib(2), 0x80);
    EXPECT_EQ(a.GetColAttrib(1), 0x80);
    EXPECT_TRUE(a.GetString(5, 50).isEmpty());
    a.Resize(1, 1);
    a.Resize(2, 2);
    EXPECT_TRUE(a.GetString(1, 2).isEmpty());   // rows cut off do not come back
    EXPECT_EQ(a.GetRowAttrib(2), 0);
}

TEST(StringArray, SortNumbersBeforeTextCaseInsensitiveStable)
{
    TStringArray a;
    a.Resize(2, 9);
    Put(a, 1, {u"b"_qs, u"10"_qs, u" 9 "_qs, u"B"_qs, u"1,5"_qs, u"a"_qs, u""_qs, u"Ärger"_qs, u"-2e1"_qs});
    Put(a, 2, {u"1"_qs, u"2"_qs, u"3"_qs, u"4"_qs, u"5"_qs, u"6"_qs, u"7"_qs, u"8"_qs, u"9"_qs});
    a.Sort(1, -1, true, true);
    EXPECT_EQ(Column(a, 1), (QStringList{u"-2e1"_qs, u"1,5"_qs, u" 9 "_qs, u"10"_qs, u""_qs, u"a"_qs, u"b"_qs, u"B"_qs, u"Ärger"_qs}));
    // "b" and "B" are equal; their earlier order (b first) stays.
    EXPECT_EQ(a.GetString(2, 7), QStringLiteral("1"));
    EXPECT_EQ(a.GetString(2, 8), QStringLiteral("4"));
    a.Sort(1, -1, false, true);
    EXPECT_EQ(a.GetString(1, 1), QStringLiteral("Ärger"));
    EXPECT_EQ(a.GetString(1, 9), QStringLiteral("-2e1"));
    // Descending keeps equal rows in their previous order too.
    EXPECT_EQ(a.GetString(2, 2), QStringLiteral("1"));
    EXPECT_EQ(a.GetString(2, 3), QStringLiteral("4"));
}

TEST(StringArray, SecondaryColumnBreaksTiesWithItsOwnDirection)
{
    TStringArray a;
    a.Resize(2, 4);
    Put(a, 1, {u"x"_qs, u"y"_qs, u"x"_qs, u"y"_qs});
    Put(a, 2, {u"1"_qs, u"2"_qs, u"3"_qs, u"4"_qs});
    a.Sort(1, 2, true, false);
    EXPECT_EQ(Column(a, 2), (QStringList{u"3"_qs, u"1"_qs, u"4"_qs, u"2"_qs}));
}

TEST(StringArray, AttributesTravelAndUnSortRestores)
{
    TStringArray a;
    a.Resize(1, 3);
    Put(a, 1, {u"c"_qs, u"a"_qs, u"b"_qs});
    a.SetRowAttrib(1, 0x80);
    a.Sort(1, -1, true, true);
    EXPECT_EQ(a.GetSortOrder(1), 2);
    EXPECT_EQ(a.GetSortOrder(3), 1);
    EXPECT_EQ(a.GetRowAttrib(3), 0x80);   // "c" carried its attribute
    a.SetString(1, 1, u"A");               // writes go through the permutation
    a.UnSort();
    EXPECT_EQ(Column(a, 1), (QStringList{u"c"_qs, u"A"_qs, u"b"_qs}));
    EXPECT_EQ(a.GetRowAttrib(1), 0x80);
}

TEST(StringArray, CommitMakesOrderPhysicalAndEditsCommit)
{
    TStringArray a;
    a.Resize(1, 3);
    Put(a, 1, {u"c"_qs, u"a"_qs, u"b"_qs});
    a.Sort(1, -1, true, true);
    a.CommitSorting();
    EXPECT_FALSE(a.IsSorted());
    a.UnSort();
    EXPECT_EQ(Column(a, 1), (QStringList{u"a"_qs, u"b"_qs, u"c"_qs}));
    a.Sort(1, -1, false, true);
    a.InsertRow(2);   // commits, then inserts
    EXPECT_EQ(Column(a, 1), (QStringList{u"c"_qs, u""_qs, u"b"_qs, u"a"_qs}));
    a.RemoveRow(1);
    EXPECT_EQ(Column(a, 1), (QStringList{u""_qs, u"b"_qs, u"a"_qs}));
    EXPECT_EQ(a.NrOfRows(), 3);
}

TEST(StringArray, ExchangeHookReproducesTheNewOrder)
{
    TStringArray a;
    const int n = 500;
    a.Resize(1, n);
    std::mt19937 rng(7);
    for (int r = 1; r <= n; ++r)
        a.SetString(1, r, QString::number(rng() % 1000));
    std::vector<int> mirror(n + 1);
    std::iota(mirror.begin(), mirror.end(), 0);
    int calls = 0;
    a.OnBeforeSortExchange = [&](QObject* s, int r1, int r2) {
        EXPECT_EQ(s, &a);
        EXPECT_LT(r1, r2);
        std::swap(mirror[r1], mirror[r2]);
        ++calls;
    };
    a.Sort(1, -1, true, true);
    EXPECT_LT(calls, n);
    for (int i = 1; i <= n; ++i)
        ASSERT_EQ(mirror[i], a.GetSortOrder(i));
    for (int i = 2; i <= n; ++i)
        ASSERT_LE(a.GetString(1, i - 1).toInt(), a.GetString(1, i).toInt());
    a.UnSort();
    for (int i = 1; i <= n; ++i)
        ASSERT_EQ(mirror[i], i);
}

TEST(StringArray, ChangeNotificationCanBeSwitchedOff)
{
    TStringArray a;
    a.Resize(1, 2);
    int changes = 0;
    a.OnChange = [&](QObject*) { ++changes; };
    a.SetString(1, 1, u"x");
    EXPECT_EQ(changes, 1);
    a.SetNotifyChange(false);
    a.SetString(1, 2, u"y");
    a.Sort(1, -1, true, true);
    EXPECT_EQ(changes, 1);
    int lastPercent = -1;
    a.OnPercentDone = [&](QObject*, int p) { EXPECT_GE(p, lastPercent); lastPercent = p; };
    a.Sort(1, -1, false, true);
    EXPECT_EQ(lastPercent, 100);
}

TEST(StringArray, ColumnsInsertAndRemove)
{
    TStringArray a;
    a.Resize(2, 1);
    a.SetString(1, 1, u"one");
    a.SetString(2, 1, u"two");
    a.InsertColumn(2);
    EXPECT_EQ(a.NrOfColumns(), 3);
    EXPECT_TRUE(a.GetString(2, 1).isEmpty());
    EXPECT_EQ(a.GetString(3, 1), QStringLiteral("two"));
    a.RemoveColumn(1);
    EXPECT_EQ(a.GetString(2, 1), QStringLiteral("two"));
}

TEST(StringArray, ReadsAsNumberFollowsTheCellReading)
{
    double v = 0;
    EXPECT_TRUE(TStringArray::ReadsAsNumber(u" 1,5 ", v));
    EXPECT_DOUBLE_EQ(v, 1.5);
    EXPECT_TRUE(TStringArray::ReadsAsNumber(u"+.5e2", v));
    EXPECT_DOUBLE_EQ(v, 50);
    EXPECT_FALSE(TStringArray::ReadsAsNumber(u"1.2.3", v));
    EXPECT_FALSE(TStringArray::ReadsAsNumber(u"", v));
    EXPECT_FALSE(TStringArray::ReadsAsNumber(u"1e", v));
    EXPECT_FALSE(TStringArray::ReadsAsNumber(u"inf", v));
    EXPECT_FALSE(TStringArray::ReadsAsNumber(u"12abc", v));
}

TEST(BitFld, SizeBitsCountsAndFirst)
{
    TBitFld b;
    b.SetSize(130);
    EXPECT_EQ(b.FirstTrueBit(), -1);
    b.SetBit(129, true);
    b.SetBit(64, true);
    b.SetBit(130, true);   // out of range
    EXPECT_EQ(b.CountTrueBits(), 2);
    EXPECT_EQ(b.FirstTrueBit(), 64);
    EXPECT_EQ(b.NextTrueBit(64), 64);
    EXPECT_EQ(b.NextTrueBit(65), 129);
    EXPECT_EQ(b.NextTrueBit(-5), 64);
    EXPECT_EQ(b.NextTrueBit(130), -1);
    EXPECT_FALSE(b.GetBit(-1));
    b.SetSize(100);
    b.SetSize(130);
    EXPECT_FALSE(b.GetBit(129));   // shrinking forgot it
    EXPECT_TRUE(b.GetBit(64));
    b.Clear();
    EXPECT_EQ(b.CountTrueBits(), 0);
}

TEST(LogicOp, Table)
{
    EXPECT_TRUE(ApplyLogicOp(true, true, loAND));
    EXPECT_FALSE(ApplyLogicOp(true, false, loAND));
    EXPECT_TRUE(ApplyLogicOp(false, true, loOR));
    EXPECT_FALSE(ApplyLogicOp(true, true, loXOR));
    EXPECT_TRUE(ApplyLogicOp(true, false, loANDNot));
    EXPECT_FALSE(ApplyLogicOp(false, true, loORNot));
    EXPECT_TRUE(ApplyLogicOp(false, false, loXORNot));
}

// The sort against a plain reference comparison on random cells with long common prefixes,
// numbers, empty cells and a secondary column, in all four direction pairs.
TEST(StringArray, SortAgreesWithAReferenceComparison)
{
    std::mt19937 rng(11);
    const QStringList stems = {u"prefix-shared-"_qs, u"PREFIX-shared-"_qs, u"pre"_qs, u""_qs, u"ß"_qs, u"Zeta"_qs};
    const int n = 3000;
    TStringArray a;
    a.Resize(2, n);
    for (int r = 1; r <= n; ++r) {
        QString cell;
        switch (rng() % 4) {
        case 0: cell = QString::number(int(rng() % 200) - 100); break;
        case 1: cell = QString::number(rng() % 50) + u",5"_qs; break;
        default: cell = stems[int(rng() % stems.size())] + QString(QChar(char16_t(u'a' + rng() % 3))).repeated(int(rng() % 3)); break;
        }
        a.SetString(1, r, cell);
        a.SetString(2, r, QString::number(rng() % 5));
    }
    auto readKey = [](const QString& s, double& v) { return TStringArray::ReadsAsNumber(s, v); };
    auto compare = [&](const QString& x, const QString& y) {
        double vx = 0, vy = 0;
        const bool nx = readKey(x, vx), ny = readKey(y, vy);
        if (nx != ny)
            return nx ? -1 : 1;
        if (nx)
            return vx < vy ? -1 : (vy < vx ? 1 : 0);
        const QString fx = x.toCaseFolded(), fy = y.toCaseFolded();
        return fx < fy ? -1 : (fy < fx ? 1 : 0);
    };
    for (int dir = 0; dir < 4; ++dir) {
        const bool ascP = dir & 1, ascS = dir & 2;
        std::vector<int> expected;
        for (int i = 1; i <= n; ++i)
            expected.push_back(a.GetSortOrder(i));
        std::vector<QString> c1(n + 1), c2(n + 1);
        for (int i = 1; i <= n; ++i) {
            c1[std::size_t(a.GetSortOrder(i))] = a.GetString(1, i);
            c2[std::size_t(a.GetSortOrder(i))] = a.GetString(2, i);
        }
        std::stable_sort(expected.begin(), expected.end(), [&](int x, int y) {
            int c = compare(c1[x], c1[y]) * (ascP ? 1 : -1);
            if (c == 0)
                c = compare(c2[x], c2[y]) * (ascS ? 1 : -1);
            return c < 0;
        });
        a.Sort(1, 2, ascP, ascS);
        for (int i = 1; i <= n; ++i)
            ASSERT_EQ(a.GetSortOrder(i), expected[std::size_t(i - 1)]) << "direction " << dir << " position " << i;
    }
}

TEST(StringArray, RemoveRowsInOnePassKeepsBothOrders)
{
    TStringArray a;
    a.Resize(1, 6);
    Put(a, 0, {"0a", "0b", "0c", "0d", "0e", "0f"});
    Put(a, 1, {"e", "b", "f", "a", "d", "c"});
    for (int r = 1; r <= 6; ++r)
        a.SetRowAttrib(r, std::uint8_t(r));
    a.Sort(1, -1, true, true);   // a b c d e f
    int notified = 0;
    a.OnChange = [&](QObject*) { ++notified; };
    std::vector<char> drop(7, 0);
    drop[2] = drop[3] = drop[6] = 1;   // shown b, c, f
    a.RemoveRows(drop);
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(a.NrOfRows(), 3);
    EXPECT_EQ(Column(a, 1), (QStringList{"a", "d", "e"}));
    EXPECT_EQ(Column(a, 0), (QStringList{"0d", "0e", "0a"}));
    EXPECT_EQ(a.GetRowAttrib(1), 4);   // attributes travel with their rows
    EXPECT_TRUE(a.IsSorted());
    a.UnSort();
    EXPECT_EQ(Column(a, 1), (QStringList{"e", "a", "d"}));
    EXPECT_EQ(a.GetRowAttrib(1), 1);
    // Nothing to drop: nothing happens, not even a notification.
    a.RemoveRows(std::vector<char>(4, 0));
    a.RemoveRows({});
    EXPECT_EQ(notified, 2);   // the UnSort
    // Growing again after a removal gives empty rows.
    a.Resize(1, 5);
    EXPECT_EQ(Column(a, 1), (QStringList{"e", "a", "d", "", ""}));
}
