// Numeric label value texts: every display type, precision limits, the comma and plus rules,
// and values a display type cannot show.
#include <gtest/gtest.h>

#include <QOR_DateUtils.h>
#include <QOR_NumLab.h>
#include <test_support.h>

#include <cmath>
#include <limits>

using namespace qor;

namespace {

QString Text(double v, TDisplay type, int precision = 2, bool comma = false, bool plus = false)
{
    TNumLabTextSettings s;
    s.DisplayType = type;
    s.Precision = precision;
    s.Comma = comma;
    s.ForcePlusSign = plus;
    return NumLabValueText(v, s);
}

const QString kOverflow = QStringLiteral("*********");
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

TEST(NumLabText, FixedPointWithCommaAndPlusSign)
{
    EXPECT_EQ(Text(3.14159, dtFixP), "3.14");
    EXPECT_EQ(Text(3.14159, dtFixP, 2, true), "3,14");
    EXPECT_EQ(Text(3.14159, dtFixP, 2, false, true), "+3.14");
    EXPECT_EQ(Text(-3.14159, dtFixP, 2, false, true), "-3.14");
    EXPECT_EQ(Text(0, dtFixP, 2, false, true), "0.00");
    EXPECT_EQ(Text(-0.001, dtFixP, 2), "0.00");          // no "-0.00"
}

TEST(NumLabText, ZeroNeverGetsAPlusSign)
{
    for (TDisplay t : {dtFloat, dtFixP, dtExp, dtZeroInt, dtInt, dtOct, dtDeg, dtDegMin, dtDegMinSec, dtEEng,
                       dtEEngNoDP})
        EXPECT_FALSE(Text(0, t, 2, false, true).startsWith(QLatin1Char('+'))) << int(t);
    EXPECT_TRUE(Text(1, dtOct, 2, false, true).startsWith(QLatin1Char('+')));
    EXPECT_TRUE(Text(1, dtZeroInt, 2, false, true).startsWith(QLatin1Char('+')));
}

TEST(NumLabText, ScientificAndGeneral)
{
    EXPECT_EQ(Text(1234.5, dtExp, 3), "1.23E+003");
    EXPECT_EQ(Text(-0.000123, dtExp, 2), "-1.2E-004");
    EXPECT_EQ(Text(1234.5, dtExp, 0), "1E+003");         // at least one digit
    EXPECT_EQ(Text(1234.5, dtExp, 3, true, true), "+1,23E+003");
    EXPECT_EQ(Text(3.14159, dtFloat, 3), "3.14");
    EXPECT_EQ(Text(2.5, dtFloat, 3), "2.5");              // trailing zeros dropped
    EXPECT_EQ(Text(1234567, dtFloat, 3), "1.23E6");
    EXPECT_EQ(Text(0.000001, dtFloat, 3), "1E-6");
    EXPECT_EQ(Text(0.5, dtFloat, 3, true), "0,5");
}

TEST(NumLabText, IntegersRoundHalvesToEven)
{
    EXPECT_EQ(Text(2.5, dtInt), "2");
    EXPECT_EQ(Text(3.5, dtInt), "4");
    EXPECT_EQ(Text(-2.5, dtInt), "-2");
    EXPECT_EQ(Text(1e15, dtInt), "1000000000000000");
    EXPECT_EQ(Text(7, dtInt, 2, false, true), "+7");
    EXPECT_EQ(Text(42, dtZeroInt, 4), "0042");
    EXPECT_EQ(Text(-42, dtZeroInt, 4), "-0042");
    EXPECT_EQ(Text(123456, dtZeroInt, 4), "123456");      // never cut
    EXPECT_EQ(Text(42.4, dtZeroInt, 0), "42");
}

TEST(NumLabText, DigitStringsInOtherBases)
{
    EXPECT_EQ(Text(255, dtHex, 4), "00FF");
    EXPECT_EQ(Text(-255, dtHex, 4), "-00FF");
    EXPECT_EQ(Text(65535.6, dtHex, 2), "10000");          // rounded first, more digits when needed
    EXPECT_EQ(Text(255, dtHex, 4, false, true), "00FF");  // no plus sign for hex
    EXPECT_EQ(Text(8, dtOct, 0), "10");
    EXPECT_EQ(Text(8, dtOct, 3, false, true), "+010");
    EXPECT_EQ(Text(5, dtBin, 8), "00000101");
    EXPECT_EQ(Text(5, dtBin, 0, false, true), "101");
    EXPECT_EQ(Text(-1e18, dtHex, 0), "-DE0B6B3A7640000");
}

TEST(NumLabText, DatesStatesKeepTheirText)
{
    TNumLabTextSettings s;
    s.DisplayType = dtDateTime;
    s.Comma = true;
    s.ForcePlusSign = true;
    EXPECT_EQ(NumLabValueText(EncodeDate(2024, 3, 5) + 0.5, s), "Mar-05, 2024");
    s.DTFormat = QStringLiteral("yyyy.mm.dd hh:nn");
    EXPECT_EQ(NumLabValueText(EncodeDate(2024, 3, 5) + 0.5, s), "2024.03.05 12:00");
    EXPECT_EQ(NumLabValueText(1e9, s), kOverflow);
    EXPECT_EQ(NumLabValueText(kNaN, s), kOverflow);
    s.DisplayType = dtState;
    s.StateText = QStringLiteral("off, 2.5");
    EXPECT_EQ(NumLabValueText(12, s), "off, 2.5");
    EXPECT_EQ(NumLabValueText(kNaN, s), "off, 2.5");
}

TEST(NumLabText, Degrees)
{
    const QString deg = QStringLiteral("\u00B0"), min = QStringLiteral("\u2032"), sec = QStringLiteral("\u2033");
    EXPECT_EQ(Text(12.51, dtDeg), "12.51" + deg);
    EXPECT_EQ(Text(-12.51, dtDeg, 1, true), "-12,5" + deg);
    EXPECT_EQ(Text(12.51, dtDegMin), "12" + deg + "30.60" + min);
    EXPECT_EQ(Text(12.09, dtDegMin, 1), "12" + deg + "05.4" + min);
    EXPECT_EQ(Text(-0.5, dtDegMin, 0), "-0" + deg + "30" + min);
    EXPECT_EQ(Text(12.51, dtDegMinSec), "12" + deg + "30" + min + "36.00" + sec);
    EXPECT_EQ(Text(12.51, dtDegMinSec, 0, false, true), "+12" + deg + "30" + min + "36" + sec);
    // Rounding at the last shown digit carries into minutes and degrees.
    EXPECT_EQ(Text(12.9999999, dtDegMin, 1), "13" + deg + "00.0" + min);
    EXPECT_EQ(Text(1.9999999, dtDegMinSec, 0), "2" + deg + "00" + min + "00" + sec);
    EXPECT_EQ(Text(-0.0000001, dtDegMinSec, 0), "0" + deg + "00" + min + "00" + sec);
    EXPECT_EQ(Text(1e19, dtDegMin), kOverflow);
}

TEST(NumLabText, EngineeringNotation)
{
    EXPECT_EQ(Text(1234.5, dtEEng, 3), "1.23E+003");
    EXPECT_EQ(Text(12345, dtEEng, 3), "12.3E+003");
    EXPECT_EQ(Text(123456, dtEEng, 3), "123E+003");
    EXPECT_EQ(Text(0.00012345, dtEEng, 3), "123E-006");
    EXPECT_EQ(Text(-1234.5, dtEEng, 3, true), "-1,23E+003");
    EXPECT_EQ(Text(1234.5, dtEEng, 3, false, true), "+1.23E+003");
    EXPECT_EQ(Text(0, dtEEng, 3), "0.00E+000");
    EXPECT_EQ(Text(999999, dtEEng, 3), "1.00E+006");      // rounding reaches the next step
    EXPECT_EQ(Text(1e-3, dtEEng, 2), "1.0E-003");
    EXPECT_EQ(Text(1e300, dtEEng, 1), "1E+300");
    // A mantissa that rounds up to 10 or 100 keeps p digits, not one more.
    EXPECT_EQ(Text(9.997, dtEEng, 3), "10.0E+000");
    EXPECT_EQ(Text(-9.997, dtEEng, 3), "-10.0E+000");
    EXPECT_EQ(Text(99.97, dtEEng, 3), "100E+000");
    EXPECT_EQ(Text(0.0099996, dtEEng, 4), "10.00E-003");
    EXPECT_EQ(Text(9.7, dtEEng, 1), "10E+000");
    EXPECT_EQ(Text(12345, dtEEngNoDP, 3), "12E+003");
    EXPECT_EQ(Text(9.7, dtEEngNoDP, 3), "10E+000");
    EXPECT_EQ(Text(999.6, dtEEngNoDP, 3), "1E+003");
    EXPECT_EQ(Text(-0.0456, dtEEngNoDP, 3), "-46E-003");
}

TEST(NumLabText, ValuesATypeCannotShow)
{
    for (TDisplay t : {dtInt, dtZeroInt, dtHex, dtOct, dtBin}) {
        EXPECT_EQ(Text(kNaN, t), kOverflow) << int(t);
        EXPECT_EQ(Text(kInf, t), kOverflow) << int(t);
        EXPECT_EQ(Text(1e19, t), kOverflow) << int(t);
        EXPECT_EQ(Text(-9.3e18, t), kOverflow) << int(t);
    }
    EXPECT_EQ(Text(kNaN, dtFixP), "NAN");
    EXPECT_EQ(Text(kInf, dtExp, 3, false, true), "+INF");
    EXPECT_EQ(Text(-kInf, dtEEng), "-INF");
    EXPECT_EQ(Text(kNaN, dtDeg), kOverflow);
    TNumLabTextSettings s;
    s.DisplayType = dtInt;
    s.OverflowIndicator = QStringLiteral("--");
    EXPECT_EQ(NumLabValueText(kNaN, s), "--");
}

TEST(NumLabText, TheWholeSixtyFourBitRangeShows)
{
    const double lowest = -9223372036854775808.0;   // -2^63
    EXPECT_EQ(Text(lowest, dtInt), "-9223372036854775808");
    EXPECT_EQ(Text(lowest, dtZeroInt, 0), "-9223372036854775808");
    EXPECT_EQ(Text(lowest, dtHex, 0), "-8000000000000000");
    EXPECT_EQ(Text(lowest, dtOct, 0), "-1000000000000000000000");
    EXPECT_EQ(Text(lowest, dtBin, 0), "-1" + QString(63, QLatin1Char('0')));
    EXPECT_EQ(Text(9223372036854774784.0, dtInt), "9223372036854774784");   // the largest double below 2^63
    for (TDisplay t : {dtInt, dtZeroInt, dtHex, dtOct, dtBin}) {
        EXPECT_EQ(Text(-lowest, t), kOverflow) << int(t);                     // 2^63
        EXPECT_EQ(Text(std::nextafter(lowest, -kInf), t), kOverflow) << int(t);
    }
}

TEST(NumLabText, PrecisionIsLimitedToFifteen)
{
    EXPECT_EQ(Text(1.0 / 3.0, dtFixP, 40), "0.333333333333333");
    EXPECT_EQ(Text(1.0 / 3.0, dtFixP, -3), "0");
    TNumLab lab;
    lab.SetPrecision(-1);
    EXPECT_EQ(lab.Precision(), 2);
    lab.SetPrecision(20);
    EXPECT_EQ(lab.Precision(), 15);
    lab.SetPrecision(0);
    EXPECT_EQ(lab.Precision(), 0);
    lab.SetValue(2.25);
    EXPECT_EQ(lab.ValueText(), "2");
    lab.SetEmpty(true);
    EXPECT_EQ(lab.ValueText(), "");
}

TEST(NumLabText, PlatformCommaBecomesAPoint)
{
    FormatSettings().DecimalSeparator = QLatin1Char(',');
    EXPECT_EQ(Text(3.14159, dtFixP), "3.14");
    EXPECT_EQ(Text(3.14159, dtFixP, 2, true), "3,14");
    EXPECT_EQ(Text(12.51, dtDegMin, 1), QStringLiteral("12\u00B030.6\u2032"));
    EXPECT_EQ(Text(9.997, dtEEng, 3, true), "10,0E+000");
    ResetFormatSettings();
}

} // namespace
