// Number text: the real-number scanner, the checks and the integer scanners.
#include <gtest/gtest.h>

#include <QOR_NumIO.h>
#include <QOR_univconst.h>

#include <limits>
#include <random>

using namespace qor;

namespace {

struct Scan {
    double Value;
    int Pos;
};

Scan ScanF(const QString& s, bool exp, int sep, int start = 1)
{
    int pos = start;
    const double v = ScanFloatStr(s, exp, sep, pos);
    return {v, pos};
}

} // namespace

TEST(NumTextScan, SeparatorChoiceDecidesWhereTheNumberEnds)
{
    auto both = ScanF(QStringLiteral("1,5"), true, 3);
    EXPECT_DOUBLE_EQ(both.Value, 1.5);
    EXPECT_EQ(both.Pos, 4);
    auto point = ScanF(QStringLiteral("1,5"), true, 1);
    EXPECT_DOUBLE_EQ(point.Value, 1.0);
    EXPECT_EQ(point.Pos, 2);
    auto comma = ScanF(QStringLiteral("2.5"), true, 2);
    EXPECT_DOUBLE_EQ(comma.Value, 2.0);
    EXPECT_EQ(comma.Pos, 2);
    // A second separator is a syntax error, not the end of the number.
    auto twice = ScanF(QStringLiteral("1.2.3"), true, 1);
    EXPECT_EQ(twice.Value, 0.0);
    EXPECT_EQ(twice.Pos, 4);
}

TEST(NumTextScan, ChoiceZeroFollowsThePlatformSeparator)
{
    FormatSettings().DecimalSeparator = QLatin1Char(',');
    auto v = ScanF(QStringLiteral("3,25"), false, 0);
    EXPECT_DOUBLE_EQ(v.Value, 3.25);
    EXPECT_EQ(v.Pos, 5);
    EXPECT_EQ(ScanF(QStringLiteral("3.25"), false, 0).Pos, 2);
    EXPECT_EQ(ResolveDecPSep(0), 2);
    ResetFormatSettings();
    EXPECT_EQ(ResolveDecPSep(0), 1);
}

TEST(NumTextScan, ExponentsAndTheirAbsence)
{
    auto e = ScanF(QStringLiteral("12e5"), true, 3);
    EXPECT_DOUBLE_EQ(e.Value, 1200000.0);
    EXPECT_EQ(e.Pos, 5);
    auto noExp = ScanF(QStringLiteral("12e5"), false, 3);
    EXPECT_DOUBLE_EQ(noExp.Value, 12.0);
    EXPECT_EQ(noExp.Pos, 3);
    EXPECT_DOUBLE_EQ(ScanF(QStringLiteral("-1.5E-3"), true, 1).Value, -0.0015);
    EXPECT_DOUBLE_EQ(ScanF(QStringLiteral("+2.5e+2"), true, 1).Value, 250.0);
    // A dangling exponent letter or sign adds nothing to the value.
    auto dangling = ScanF(QStringLiteral("7e"), true, 1);
    EXPECT_DOUBLE_EQ(dangling.Value, 7.0);
    EXPECT_EQ(dangling.Pos, 3);
    EXPECT_DOUBLE_EQ(ScanF(QStringLiteral("7e-"), true, 1).Value, 7.0);
    // Exponent digits end on the next non-digit, which stays under the position.
    auto stop = ScanF(QStringLiteral("1e2x"), true, 1);
    EXPECT_DOUBLE_EQ(stop.Value, 100.0);
    EXPECT_EQ(stop.Pos, 4);
}

TEST(NumTextScan, HugeExponentsAreCutAndClamped)
{
    auto big = ScanF(QStringLiteral("1e5000"), true, 1);
    EXPECT_EQ(big.Value, uc_MaxDouble);
    EXPECT_EQ(big.Pos, 7);
    EXPECT_EQ(ScanF(QStringLiteral("-1e5000"), true, 1).Value, -uc_MaxDouble);
    EXPECT_EQ(ScanF(QStringLiteral("1e400"), true, 1).Value, uc_MaxDouble);
    EXPECT_EQ(ScanF(QStringLiteral("1e-5000"), true, 1).Value, 0.0);
    // 4200 is still taken whole; 4201 is cut to 420 (still beyond the double range).
    EXPECT_EQ(ScanF(QStringLiteral("1e-4200"), true, 1).Value, 0.0);
    EXPECT_EQ(ScanF(QStringLiteral("1e4201"), true, 1).Value, uc_MaxDouble);
    // An endless exponent keeps its longest prefix not above 4200 ("999"): still the clamp.
    EXPECT_EQ(ScanF(QStringLiteral("0.5e99999999999999999999"), true, 1).Value, uc_MaxDouble);
    EXPECT_FALSE(CheckFloatExpStr(QStringLiteral("1e5000"), true, 1));
    EXPECT_FALSE(CheckFloatExpStr(QStringLiteral("-1e5000"), true, 1));
    EXPECT_TRUE(CheckFloatExpStr(QStringLiteral("1e4200"), true, 1));
    EXPECT_FALSE(CheckFloatExpStr(QStringLiteral("1e4201"), true, 1));
}

TEST(NumTextScan, LoneSignsPointsAndEmptyText)
{
    auto sign = ScanF(QStringLiteral("-"), true, 1);
    EXPECT_EQ(sign.Value, 0.0);
    EXPECT_EQ(sign.Pos, 2);
    auto point = ScanF(QStringLiteral("."), true, 1);
    EXPECT_EQ(point.Value, 0.0);
    EXPECT_EQ(point.Pos, 2);
    EXPECT_EQ(ScanF(QString(), true, 1).Value, 0.0);
    EXPECT_EQ(ScanF(QString(), true, 1).Pos, 1);
    EXPECT_DOUBLE_EQ(ScanF(QStringLiteral("5."), true, 1).Value, 5.0);
    EXPECT_DOUBLE_EQ(ScanF(QStringLiteral(".25"), true, 1).Value, 0.25);
    EXPECT_DOUBLE_EQ(ScanF(QStringLiteral("   -4"), true, 1).Value, -4.0);
    // No negative zero comes out.
    EXPECT_FALSE(std::signbit(ScanF(QStringLiteral("-0"), true, 1).Value));
    EXPECT_FALSE(std::signbit(ScanF(QStringLiteral("-."), true, 1).Value));
    // Errors: a sign after a sign, a blank after a sign, a letter at the start.
    EXPECT_EQ(ScanF(QStringLiteral("--1"), true, 1).Value, 0.0);
    EXPECT_EQ(ScanF(QStringLiteral("- 1"), true, 1).Value, 0.0);
    EXPECT_EQ(ScanF(QStringLiteral("x1"), true, 1).Value, 0.0);
    EXPECT_EQ(ScanF(QStringLiteral("e5"), true, 1).Value, 0.0);
}

TEST(NumTextScan, ScanStartsAtTheGivenPosition)
{
    auto v = ScanF(QStringLiteral("ab12.5cd"), false, 1, 3);
    EXPECT_DOUBLE_EQ(v.Value, 12.5);
    EXPECT_EQ(v.Pos, 7);
    // Blank and sign end a number: "1 2" is 1 with the position on the blank.
    auto blank = ScanF(QStringLiteral("1 2"), true, 1);
    EXPECT_DOUBLE_EQ(blank.Value, 1.0);
    EXPECT_EQ(blank.Pos, 2);
    auto sign = ScanF(QStringLiteral("3-4"), true, 1);
    EXPECT_DOUBLE_EQ(sign.Value, 3.0);
    EXPECT_EQ(sign.Pos, 2);
}

// A start beyond the text ends the scan at once, however far out it lies; one before the text
// counts as 1.
TEST(NumTextScan, ExtremeStartPositions)
{
    int pos = std::numeric_limits<int>::max();
    EXPECT_EQ(ScanFloatStr(QStringLiteral("12"), true, 1, pos), 0.0);
    EXPECT_EQ(pos, std::numeric_limits<int>::max());
    pos = std::numeric_limits<int>::min();
    EXPECT_DOUBLE_EQ(ScanFloatStr(QStringLiteral("12"), true, 1, pos), 12.0);
    EXPECT_EQ(pos, 3);
}

TEST(NumTextScan, LongDigitRunsStayExactEnough)
{
    const QString many = QString(400, QLatin1Char('9'));
    EXPECT_EQ(ScanF(many, true, 1).Value, uc_MaxDouble);
    EXPECT_EQ(ScanF(many, true, 1).Pos, 401);
    const QString longFraction = QStringLiteral("0.") + QString(3000, QLatin1Char('3'));
    EXPECT_NEAR(ScanF(longFraction, true, 1).Value, 1.0 / 3.0, 1e-16);
    EXPECT_DOUBLE_EQ(ScanF(QStringLiteral("123456789012345678901234567890"), true, 1).Value, 1.2345678901234568e29);
    EXPECT_DOUBLE_EQ(ScanF(QStringLiteral("0.1"), true, 1).Value, 0.1);
}

TEST(NumTextScan, HostileTextNeverCrashesAndEndsInsideTheText)
{
    std::mt19937 rng(4711);
    const QString alphabet = QStringLiteral("0123456789+-.,eE $%&\t\n\x01xZ") + QChar(0x0663) + QChar(0xFF11);
    for (int n = 0; n < 3000; ++n) {
        QString s;
        const int len = int(rng() % 40);
        for (int i = 0; i < len; ++i)
            s += alphabet[int(rng() % alphabet.size())];
        for (int sep = 0; sep <= 3; ++sep) {
            auto r = ScanF(s, n % 2 == 0, sep);
            ASSERT_GE(r.Pos, 1) << qPrintable(s);
            ASSERT_LE(r.Pos, s.size() + 1) << qPrintable(s);
            ASSERT_TRUE(std::isfinite(r.Value)) << qPrintable(s);
            CheckFloatExpStr(s, true, sep);
            CheckFloatStr(s, sep);
        }
        int p = 1;
        ScanDecIntStr(s, p);
        ASSERT_LE(p, s.size() + 1);
    }
}

TEST(NumTextCheck, ExponentCheckLooksOnlyUpToTheEnd)
{
    EXPECT_TRUE(CheckFloatExpStr(QStringLiteral("12A"), true, 1));
    EXPECT_TRUE(CheckFloatExpStr(QStringLiteral("1.5e-3"), true, 3));
    EXPECT_TRUE(CheckFloatExpStr(QStringLiteral("1e"), true, 1));
    EXPECT_TRUE(CheckFloatExpStr(QStringLiteral("."), true, 1));
    EXPECT_FALSE(CheckFloatExpStr(QString(), true, 1));
    EXPECT_FALSE(CheckFloatExpStr(QStringLiteral("-"), true, 1));
    EXPECT_FALSE(CheckFloatExpStr(QStringLiteral("A"), true, 1));
    EXPECT_TRUE(CheckFloatExpStr(QStringLiteral("1e+x"), true, 1));
    EXPECT_FALSE(CheckFloatExpStr(QStringLiteral("1e+-"), true, 1));
    EXPECT_FALSE(CheckFloatExpStr(QStringLiteral("1.,"), true, 3));
    // Without exponents "E" ends the number like any other character.
    EXPECT_TRUE(CheckFloatExpStr(QStringLiteral("1e+-"), false, 1));
    // Choice 0 resolves to comma only when the platform separator is a comma.
    FormatSettings().DecimalSeparator = QLatin1Char(',');
    EXPECT_TRUE(CheckFloatExpStr(QStringLiteral(",5"), true, 0));
    EXPECT_FALSE(CheckFloatExpStr(QStringLiteral(".5"), true, 0));
    ResetFormatSettings();
}

TEST(NumTextCheck, FloatCheckAcceptsTextBeingTyped)
{
    for (const char* ok : {"-", "+", ".", "-.", "12.", "12.5", "-0.25", "007"})
        EXPECT_TRUE(CheckFloatStr(QString::fromLatin1(ok), 1)) << ok;
    for (const char* bad : {"", " 1", "1 ", "1-", "1.2.3", "--", "1e5", ".-", "1,5", "$1"})
        EXPECT_FALSE(CheckFloatStr(QString::fromLatin1(bad), 1)) << bad;
    EXPECT_TRUE(CheckFloatStr(QStringLiteral("1,5"), 2));
    EXPECT_FALSE(CheckFloatStr(QStringLiteral("1.5"), 2));
    EXPECT_TRUE(CheckFloatStr(QStringLiteral("1.5"), 3));
    EXPECT_TRUE(CheckFloatStr(QStringLiteral("1,5"), 3));
}

TEST(NumTextCheck, FixPointNeedsTheDecimalsInPlace)
{
    EXPECT_TRUE(CheckFixPointStr(QStringLiteral("12.34"), 3, 2));
    EXPECT_TRUE(CheckFixPointStr(QStringLiteral(".34"), 3, 2));
    EXPECT_TRUE(CheckFixPointStr(QStringLiteral("34"), 3, 2));
    EXPECT_FALSE(CheckFixPointStr(QStringLiteral("12.3"), 3, 2));
    EXPECT_FALSE(CheckFixPointStr(QStringLiteral("12.345"), 3, 2));
    EXPECT_FALSE(CheckFixPointStr(QStringLiteral("1234"), 3, 2));
    // "." is the point of the layout, unless only the comma is accepted.
    EXPECT_FALSE(CheckFixPointStr(QStringLiteral("12,34"), 3, 2));
    EXPECT_TRUE(CheckFixPointStr(QStringLiteral("12,34"), 2, 2));
    EXPECT_FALSE(CheckFixPointStr(QStringLiteral("12.34"), 2, 2));
}

TEST(NumTextCheck, IntegerChecks)
{
    EXPECT_TRUE(CheckIntStr(QStringLiteral("7")));
    EXPECT_TRUE(CheckIntStr(QStringLiteral("-12")));
    EXPECT_TRUE(CheckIntStr(QStringLiteral("+0")));
    EXPECT_FALSE(CheckIntStr(QStringLiteral("-")));
    EXPECT_FALSE(CheckIntStr(QStringLiteral("")));
    EXPECT_FALSE(CheckIntStr(QStringLiteral("1-")));
    EXPECT_FALSE(CheckIntStr(QStringLiteral("1.0")));
    EXPECT_FALSE(CheckIntStr(QString(QChar(0x0663))));  // Arabic-Indic three is no digit here
    EXPECT_TRUE(CheckHexStr(QStringLiteral("09afAF")));
    EXPECT_FALSE(CheckHexStr(QStringLiteral("0x1")));
    EXPECT_FALSE(CheckHexStr(QString()));
    EXPECT_TRUE(CheckOctStr(QStringLiteral("01234567")));
    EXPECT_FALSE(CheckOctStr(QStringLiteral("8")));
    EXPECT_TRUE(CheckBinStr(QStringLiteral("0101")));
    EXPECT_FALSE(CheckBinStr(QStringLiteral("012")));
}

TEST(NumTextIntScan, DecimalWithBlanksSignAndWrap)
{
    int p = 1;
    EXPECT_EQ(ScanDecIntStr(QStringLiteral("  -42x"), p), -42);
    EXPECT_EQ(p, 6);
    p = 1;
    EXPECT_EQ(ScanDecIntStr(QStringLiteral("+7"), p), 7);
    EXPECT_EQ(p, 3);
    p = 1;
    EXPECT_EQ(ScanDecIntStr(QString(), p), 0);
    EXPECT_EQ(p, 1);
    p = 1;
    // 4294967297 wraps to 1.
    EXPECT_EQ(ScanDecIntStr(QStringLiteral("4294967297"), p), 1);
    p = 1;
    EXPECT_EQ(ScanDecIntStr(QStringLiteral("2147483648"), p), std::numeric_limits<std::int32_t>::min());
    // A lone blank is not skipped (it is the last character).
    p = 1;
    EXPECT_EQ(ScanDecIntStr(QStringLiteral(" "), p), 0);
    EXPECT_EQ(p, 1);
}

TEST(NumTextIntScan, HexOctBin)
{
    int p = 1;
    EXPECT_EQ(ScanHexStr(QStringLiteral("$ff"), p), 255);
    EXPECT_EQ(p, 4);
    p = 1;
    EXPECT_EQ(ScanHexStr(QStringLiteral("FFFFFFFF"), p), -1);
    p = 1;
    EXPECT_EQ(ScanHexStr(QStringLiteral("1g"), p), 1);
    EXPECT_EQ(p, 2);
    // "$" is skipped only at position 1.
    p = 2;
    EXPECT_EQ(ScanHexStr(QStringLiteral("x$1"), p), 0);
    EXPECT_EQ(p, 2);
    p = 1;
    EXPECT_EQ(ScanOctStr(QStringLiteral("778"), p), 63);
    EXPECT_EQ(p, 3);
    p = 1;
    EXPECT_EQ(ScanBinStr(QStringLiteral("1012"), p), 5);
    EXPECT_EQ(p, 4);
    p = 1;
    EXPECT_EQ(ScanBinStr(QString(33, QLatin1Char('1')), p), -1);
}

TEST(NumTextScan, TheScannerTellsWhetherItReadANumber)
{
    struct Case {
        const char* Text;
        bool IsNumber;
        double Value;
    };
    for (const Case& c : {Case{"12", true, 12}, Case{"-.5", true, -0.5}, Case{"5.", true, 5}, Case{"0", true, 0},
                          Case{"3e2x", true, 300}, Case{"-", false, 0}, Case{".", false, 0}, Case{"+.", false, 0},
                          Case{"1.2.3", false, 0}, Case{"-e5", false, 0}, Case{"", false, 0}}) {
        int pos = 1;
        bool isNumber = !c.IsNumber;
        const double v = ScanFloatStr(QString::fromLatin1(c.Text), true, 1, pos, isNumber);
        EXPECT_EQ(isNumber, c.IsNumber) << c.Text;
        EXPECT_EQ(v, c.Value) << c.Text;
    }
}

TEST(NumTextScan, LongNumbersAndLongTextsAfterThem)
{
    // A number longer than the scanner's stack buffer.
    const QString longNumber = QStringLiteral("0.") + QString(150, QLatin1Char('0')) + QStringLiteral("1");
    int pos = 1;
    EXPECT_DOUBLE_EQ(ScanFloatStr(longNumber, true, 1, pos), 1e-151);
    EXPECT_EQ(pos, longNumber.size() + 1);
    // A short number before a long text: only the number is read.
    const QString text = QStringLiteral("12.5 ") + QString(100000, QLatin1Char('x'));
    pos = 1;
    EXPECT_EQ(ScanFloatStr(text, true, 1, pos), 12.5);
    EXPECT_EQ(pos, 5);
}
