// Number text: FormatRealStr layouts and the digit strings.
#include <gtest/gtest.h>

#include <QOR_NumIO.h>
#include <QOR_univconst.h>

#include <cmath>
#include <limits>

#include "test_support.h"

using namespace qor;

TEST(NumTextFormat, ScientificWithTwoDigitExponent)
{
    EXPECT_EQ(FormatRealStr(12, -2, 1234.5), QStringLiteral(" 1.23450E+03"));
    EXPECT_EQ(FormatRealStr(12, -2, -1234.5), QStringLiteral("-1.23450E+03"));
    // The field of the numeric field's default: six significant digits.
    EXPECT_EQ(FormatRealStr(12, -2, 1.234567), QStringLiteral(" 1.23457E+00"));
    EXPECT_EQ(FormatRealStr(12, -2, 0.0), QStringLiteral(" 0.00000E+00"));
    EXPECT_EQ(FormatRealStr(12, -2, 2.5e-7), QStringLiteral(" 2.50000E-07"));
    EXPECT_EQ(FormatRealStr(12, -2, 9.99e99), QStringLiteral(" 9.99000E+99"));
    EXPECT_EQ(FormatRealStr(8, -2, 1.25), QStringLiteral(" 1.3E+00"));
    EXPECT_EQ(FormatRealStr(8, -2, 1250.0), QStringLiteral(" 1.3E+03"));
    EXPECT_EQ(FormatRealStr(8, -2, -0.0625), QStringLiteral("-6.3E-02"));
    EXPECT_EQ(FormatRealStr(8, -2, 1.5), QStringLiteral(" 1.5E+00"));
    // Rounding up into the next decade moves the exponent.
    EXPECT_EQ(FormatRealStr(8, -2, 9.99), QStringLiteral(" 1.0E+01"));
    EXPECT_EQ(FormatRealStr(20, -2, 1.0).size(), 20);
}

TEST(NumTextFormat, ThreeDigitExponentsBecomeAsterisks)
{
    EXPECT_EQ(FormatRealStr(12, -2, 1e150), QString(12, QLatin1Char('*')));
    EXPECT_EQ(FormatRealStr(12, -2, -1e-150), QString(12, QLatin1Char('*')));
    EXPECT_EQ(FormatRealStr(12, -2, uc_MaxDouble), QString(12, QLatin1Char('*')));
    EXPECT_EQ(FormatRealStr(12, -2, 9.999999e99), QString(12, QLatin1Char('*')));  // rounds to 1E+100
}

TEST(NumTextFormat, ScientificWithFourDigitExponent)
{
    EXPECT_EQ(FormatRealStr(14, -1, 1234.5), QStringLiteral(" 1.23450E+0003"));
    EXPECT_EQ(FormatRealStr(14, -1, -1e-150), QStringLiteral("-1.00000E-0150"));
    // Too narrow a field gets no fraction digits but is never cut.
    EXPECT_EQ(FormatRealStr(1, -1, 5.0), QStringLiteral(" 5E+0000"));
}

TEST(NumTextFormat, FixedIsRightAlignedAndNeverCut)
{
    EXPECT_EQ(FormatRealStr(1, 2, 3.14159), QStringLiteral("3.14"));
    EXPECT_EQ(FormatRealStr(8, 2, 3.14159), QStringLiteral("    3.14"));
    // Exact decimal ties round away from zero, like the platform's formatting.
    EXPECT_EQ(FormatRealStr(1, 0, 2.5), QStringLiteral("3"));
    EXPECT_EQ(FormatRealStr(1, 0, -2.5), QStringLiteral("-3"));
    EXPECT_EQ(FormatRealStr(1, 2, 0.125), QStringLiteral("0.13"));
    EXPECT_EQ(FormatRealStr(1, 2, 0.375), QStringLiteral("0.38"));
    EXPECT_EQ(FormatRealStr(1, 0, 0.49999999999999994), QStringLiteral("0"));
    EXPECT_EQ(FormatRealStr(1, 2, 0.115), QStringLiteral("0.12"));  // 0.115 is 0.11500000000000000499...
    EXPECT_EQ(FormatRealStr(1, 3, -0.0005), QStringLiteral("-0.001"));
    EXPECT_EQ(FormatRealStr(1, 2, -0.0), QStringLiteral("0.00"));
    EXPECT_EQ(FormatRealStr(2, 1, 12345.0), QStringLiteral("12345.0"));
    EXPECT_EQ(FormatRealStr(1, 2, 1e20), QStringLiteral("100000000000000000000.00"));
    EXPECT_EQ(FormatRealStr(1, 8, 0.1), QStringLiteral("0.10000000"));
}

TEST(NumTextFormat, NegativeWidthPadsWithZeros)
{
    EXPECT_EQ(FormatRealStr(-6, 2, -1.5), QStringLiteral("-01.50"));
    EXPECT_EQ(FormatRealStr(-6, 2, 1.5), QStringLiteral("001.50"));
    EXPECT_EQ(FormatRealStr(-4, 2, -1.5), QStringLiteral("-1.50"));  // no room, no padding
    EXPECT_EQ(FormatRealStr(-3, 0, -7.0), QStringLiteral("-07"));
}

// The extremes of the width: the most negative one has no magnitude as an int, and no field
// is wider than MaxFieldWidth, whatever the width asks for.
TEST(NumTextFormat, ExtremeWidthsGiveTheWidestField)
{
    const int lowest = std::numeric_limits<int>::min(), highest = std::numeric_limits<int>::max();
    const QString zeros = FormatRealStr(lowest, 2, -3.25);
    EXPECT_EQ(zeros.size(), MaxFieldWidth);
    EXPECT_TRUE(zeros.startsWith(QStringLiteral("-000")));
    EXPECT_TRUE(zeros.endsWith(QStringLiteral("003.25")));
    EXPECT_EQ(FormatRealStr(highest, 0, 7).size(), MaxFieldWidth);
    const QString sci = FormatRealStr(highest, -2, 1.5);
    EXPECT_EQ(sci.size(), MaxFieldWidth);
    EXPECT_TRUE(sci.startsWith(QStringLiteral(" 1.5000")) && sci.endsWith(QStringLiteral("0E+00")));
    EXPECT_EQ(FormatRealStr(lowest, -1, 2.0).size(), MaxFieldWidth);
    EXPECT_EQ(FormatRealStr(MaxFieldWidth + 1, 1, 1.0), FormatRealStr(MaxFieldWidth, 1, 1.0));
}

TEST(NumTextFormat, NonFiniteValuesAreNamed)
{
    EXPECT_EQ(FormatRealStr(5, 2, std::numeric_limits<double>::quiet_NaN()), QStringLiteral("  NAN"));
    EXPECT_EQ(FormatRealStr(1, -2, -std::numeric_limits<double>::infinity()), QStringLiteral("-INF"));
}

// Any width works: the text has exactly the width asked for and reads back.
TEST(NumTextFormat, WideScientificFieldsHoldTheExactDigits)
{
    for (int w = 60; w <= 130; ++w) {
        for (double v : {0.1, -2.0 / 3.0, 6.02214076e23, 5e-324, 1.7976931348623157e308}) {
            const QString two = FormatRealStr(w, -2, v);
            const QString four = FormatRealStr(w, -1, v);
            ASSERT_EQ(two.size(), w) << w << " " << qPrintable(two);
            ASSERT_EQ(four.size(), w) << w << " " << qPrintable(four);
            if (std::abs(v) >= 1e-99 && std::abs(v) < 1e100) {
                int pos = 1;
                const QString t = two.trimmed();
                EXPECT_EQ(ScanFloatStr(t, true, 1, pos), v) << qPrintable(two);
                EXPECT_EQ(pos, t.size() + 1);
            }
        }
    }
    // The digits are those of the double itself, which 0.1 is not quite.
    EXPECT_EQ(FormatRealStr(80, -2, 0.1),
              QStringLiteral(" 1.") + QStringLiteral("000000000000000055511151231257827021181583404541015625").leftJustified(73, QLatin1Char('0'))
                  + QStringLiteral("E-01"));
    EXPECT_EQ(FormatRealStr(1, 60, 0.1),
              QStringLiteral("0.100000000000000005551115123125782702118158340454101562500000"));
}

// Halves round away from zero from the exact decimal digits, whatever the build type.
TEST(NumTextFormat, TiesRoundAwayFromZeroExactly)
{
    EXPECT_EQ(FormatRealStr(8, -2, -0.0625), QStringLiteral("-6.3E-02"));
    EXPECT_EQ(FormatRealStr(8, -2, 0.0625), QStringLiteral(" 6.3E-02"));
    EXPECT_EQ(FormatRealStr(8, -2, 0.125), QStringLiteral(" 1.3E-01"));
    EXPECT_EQ(FormatRealStr(7, -2, 2.5), QStringLiteral(" 3E+00"));
    EXPECT_EQ(FormatRealStr(7, -2, -3.5), QStringLiteral("-4E+00"));
    EXPECT_EQ(FormatRealStr(12, -2, 1.0000025), QStringLiteral(" 1.00000E+00"));   // just below the half
    EXPECT_EQ(FormatRealStr(10, -1, 0.375), QStringLiteral(" 3.8E-0001"));
    EXPECT_EQ(FormatRealStr(1, 1, 0.25), QStringLiteral("0.3"));
    EXPECT_EQ(FormatRealStr(1, 1, -0.25), QStringLiteral("-0.3"));
    EXPECT_EQ(FormatRealStr(1, 3, 1.0005), QStringLiteral("1.000"));   // 1.000499999999999989...
    EXPECT_EQ(FormatRealStr(1, 2, 0.005), QStringLiteral("0.01"));     // 0.005000000000000000104...
    EXPECT_EQ(FormatRealStr(1, 2, 0.0049999999999999999), QStringLiteral("0.01"));   // the same double
    EXPECT_EQ(FormatRealStr(1, 2, 0.004), QStringLiteral("0.00"));
    EXPECT_EQ(FormatRealStr(1, 2, 0.0004), QStringLiteral("0.00"));
    EXPECT_EQ(FormatRealStr(1, 0, 9.5), QStringLiteral("10"));
    EXPECT_EQ(FormatRealStr(1, 1, 99.95), QStringLiteral("100.0"));    // 99.9500000000000028...
    EXPECT_EQ(FormatRealStr(1, 0, 2251799813685248.5), QStringLiteral("2251799813685249"));
    // Large exponents; 2.5e-300 is a little below the half.
    EXPECT_EQ(FormatRealStr(8, -2, 1.5e300), QString(8, QLatin1Char('*')));
    EXPECT_EQ(FormatRealStr(9, -1, 2.5e-300), QStringLiteral(" 2E-0300"));
}

TEST(NumTextFormat, RoundTripThroughTheScanner)
{
    for (double v : {0.0, 1.0, -2.5, 3.14159e-5, 6.02214e23, -9.87654e-99}) {
        const QString s = FormatRealStr(12, -2, v);
        int pos = 1;
        const double back = ScanFloatStr(s.trimmed(), true, 1, pos);
        EXPECT_EQ(pos, s.trimmed().size() + 1) << qPrintable(s);
        EXPECT_NEAR(back, v, std::abs(v) * 1e-5) << qPrintable(s);
    }
}

TEST(NumTextDigits, CountIsClampedAndPadded)
{
    EXPECT_EQ(HexDigitStr(255, 8), QStringLiteral("000000FF"));
    EXPECT_EQ(HexDigitStr(-1, 8), QStringLiteral("FFFFFFFF"));
    EXPECT_EQ(HexDigitStr(-1, 16), QStringLiteral("00000000FFFFFFFF"));
    EXPECT_EQ(HexDigitStr(0xABC, 40), QStringLiteral("0000000000000ABC"));
    EXPECT_EQ(HexDigitStr(0x1234, 2), QStringLiteral("34"));
    EXPECT_EQ(OctDigitStr(-1, 11), QStringLiteral("37777777777"));
    EXPECT_EQ(OctDigitStr(8, 0), QStringLiteral("0"));
    EXPECT_EQ(OctDigitStr(8, 3), QStringLiteral("010"));
    EXPECT_EQ(BinDigitStr(5, 0), QStringLiteral("1"));
    EXPECT_EQ(BinDigitStr(5, 4), QStringLiteral("0101"));
    EXPECT_EQ(BinDigitStr(std::numeric_limits<std::int32_t>::min(), 99), QStringLiteral("1") + QString(31, QLatin1Char('0')));
}

TEST(NumTextDigits, DigitStringsScanBack)
{
    for (std::int32_t v : {0, 1, 255, -1, 123456789, std::numeric_limits<std::int32_t>::min()}) {
        int p = 1;
        EXPECT_EQ(ScanHexStr(HexDigitStr(v, 8), p), v);
        p = 1;
        EXPECT_EQ(ScanOctStr(OctDigitStr(v, 11), p), v);
        p = 1;
        EXPECT_EQ(ScanBinStr(BinDigitStr(v, 32), p), v);
    }
}
