// Run-time library helpers: rounding, conversions, Format layouts, dates, colours.
#include <gtest/gtest.h>

#include <QOR_DateUtils.h>
#include <QOR_Graphics.h>
#include <QOR_SysUtils.h>
#include "test_support.h"

#include <QApplication>
#include <QPalette>
#include <cmath>
#include <limits>

using namespace qor;

TEST(Rounding, HalvesGoToEven)
{
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(3.5), 4);
    EXPECT_EQ(Round(-2.5), -2);
    EXPECT_EQ(Round(-3.5), -4);
    EXPECT_EQ(Round(2.4999), 2);
    EXPECT_EQ(Round(1e15 + 0.5), 1000000000000000LL);
    EXPECT_EQ(Trunc(-2.7), -2);
    EXPECT_DOUBLE_EQ(Int(-2.5), -2.0);
    EXPECT_DOUBLE_EQ(Frac(-2.5), -0.5);
    EXPECT_THROW(Round(std::numeric_limits<double>::quiet_NaN()), EConvertError);
    EXPECT_THROW(Round(1e300), EConvertError);
    EXPECT_EQ(MulDiv(7, 3, 2), 11);   // 10.5 rounds away from zero
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
}

TEST(Conversion, ValDoubleReportsFirstBadPosition)
{
    int code = -1;
    EXPECT_DOUBLE_EQ(ValDouble(QStringLiteral("1.5e3"), code), 1500.0);
    EXPECT_EQ(code, 0);
    EXPECT_DOUBLE_EQ(ValDouble(QStringLiteral("  -0.25"), code), -0.25);
    EXPECT_EQ(code, 0);
    ValDouble(QStringLiteral("1.2.3"), code);
    EXPECT_EQ(code, 4);
    ValDouble(QStringLiteral("1,5"), code);
    EXPECT_EQ(code, 2);
    ValDouble(QStringLiteral(""), code);
    EXPECT_NE(code, 0);
    ValDouble(QStringLiteral("1e"), code);
    EXPECT_NE(code, 0);
    ValDouble(QStringLiteral("1e999"), code);
    EXPECT_NE(code, 0);
}

TEST(Conversion, IntegersAndFloatsWithSettings)
{
    EXPECT_EQ(StrToInt(QStringLiteral(" 42")), 42);
    EXPECT_EQ(StrToInt(QStringLiteral("$FF")), 255);
    EXPECT_EQ(StrToInt(QStringLiteral("-2147483648")), std::numeric_limits<int>::min());
    EXPECT_THROW(StrToInt(QStringLiteral("2147483648")), EConvertError);
    EXPECT_THROW(StrToInt(QStringLiteral("12a")), EConvertError);
    EXPECT_EQ(StrToIntDef(QStringLiteral("x"), 7), 7);
    FormatSettings().DecimalSeparator = QLatin1Char(',');
    EXPECT_DOUBLE_EQ(StrToFloat(QStringLiteral("1,25")), 1.25);
    EXPECT_THROW(StrToFloat(QStringLiteral("1.25")), EConvertError);
    EXPECT_EQ(FloatToStr(1.25), QStringLiteral("1,25"));
    ResetFormatSettings();
    EXPECT_EQ(IntToHex(255, 4), QStringLiteral("00FF"));
}

TEST(Conversion, FloatLayouts)
{
    EXPECT_EQ(FloatToStr(0.1), QStringLiteral("0.1"));
    EXPECT_EQ(FloatToStr(100), QStringLiteral("100"));
    EXPECT_EQ(FloatToStr(1e20), QStringLiteral("1E20"));
    EXPECT_EQ(FloatToStr(1.5e-7), QStringLiteral("1.5E-7"));
    EXPECT_EQ(FloatToStr(-123.456), QStringLiteral("-123.456"));
    EXPECT_EQ(FloatToStr(0), QStringLiteral("0"));
    EXPECT_EQ(FloatToStrF(1234.5, ffExponent, 4, 2), QStringLiteral("1.235E+03"));
    EXPECT_EQ(FloatToStrF(-0.000123, ffExponent, 3, 0), QStringLiteral("-1.23E-4"));
    EXPECT_EQ(FloatToStrF(3.14159, ffFixed, 15, 3), QStringLiteral("3.142"));
    EXPECT_EQ(FloatToStrF(1234567.891, ffNumber, 15, 2), QStringLiteral("1,234,567.89"));
    EXPECT_EQ(FloatToStrF(std::numeric_limits<double>::infinity(), ffGeneral, 15, 0), QStringLiteral("INF"));
}

TEST(Format, Layouts)
{
    EXPECT_EQ(Format(QStringLiteral("%d|%5d|%-5d|%.3d"), {7, 42, 42, 5}), QStringLiteral("7|   42|42   |005"));
    EXPECT_EQ(Format(QStringLiteral("%x %.4x"), {255, 10}), QStringLiteral("FF 000A"));
    EXPECT_EQ(Format(QStringLiteral("%f %.1f %8.3f"), {1.0, 2.25, -3.14159}), QStringLiteral("1.00 2.3   -3.142"));
    EXPECT_EQ(Format(QStringLiteral("%e"), {1234.5}), QStringLiteral("1.23450000000000E+003"));
    EXPECT_EQ(Format(QStringLiteral("%.3e"), {-0.0012345}), QStringLiteral("-1.23E-003"));
    EXPECT_EQ(Format(QStringLiteral("%g %g"), {0.5, 1e-10}), QStringLiteral("0.5 1E-10"));
    EXPECT_EQ(Format(QStringLiteral("%s=%.2s%%"), {"ab", "xyz"}), QStringLiteral("ab=xy%"));
    EXPECT_THROW(Format(QStringLiteral("%d"), {1.5}), EConvertError);
    EXPECT_THROW(Format(QStringLiteral("%d %d"), {1}), EConvertError);
    EXPECT_THROW(Format(QStringLiteral("%q"), {1}), EConvertError);
}

TEST(Dates, EncodeDecodeAndLimits)
{
    EXPECT_DOUBLE_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_DOUBLE_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_DOUBLE_EQ(EncodeDate(2000, 1, 1), 36526.0);
    EXPECT_THROW(EncodeDate(2023, 2, 31), EConvertError);
    EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
    EXPECT_NO_THROW(EncodeDate(2024, 2, 29));
    EXPECT_THROW(EncodeDate(0, 1, 1), EConvertError);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    int y, m, d;
    DecodeDate(EncodeDate(2024, 2, 29) + 0.75, y, m, d);
    EXPECT_EQ(y * 10000 + m * 100 + d, 20240229);
    int h, n, s, ms;
    DecodeTime(EncodeTime(13, 45, 30, 250), h, n, s, ms);
    EXPECT_EQ(h * 10000000 + n * 100000 + s * 1000 + ms, 134530250);
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_TRUE(IsLeapYear(2024));
    EXPECT_EQ(DaysInAMonth(2024, 2), 29);
    EXPECT_EQ(DaysInAMonth(2023, 2), 28);
    EXPECT_EQ(DaysInAMonth(2023, 13), 0);
}

TEST(Dates, WeekdaysAndIsoWeeks)
{
    EXPECT_EQ(DayOfTheWeek(EncodeDate(2026, 12, 7)), 1);   // a Monday
    EXPECT_EQ(DayOfTheWeek(EncodeDate(2026, 12, 13)), 7);
    EXPECT_EQ(DayOfWeek(EncodeDate(2026, 12, 13)), 1);     // Sunday first
    EXPECT_EQ(DayOfTheWeek(EncodeDate(1899, 12, 30)), 6);
    EXPECT_EQ(DayOfTheWeek(EncodeDate(1800, 1, 1)), 3);    // before the epoch
    int year = 0;
    EXPECT_EQ(WeekOfTheYear(EncodeDate(2021, 1, 3), year), 53);   // belongs to 2020
    EXPECT_EQ(year, 2020);
    EXPECT_EQ(WeekOfTheYear(EncodeDate(2024, 12, 30), year), 1);  // belongs to 2025
    EXPECT_EQ(year, 2025);
    EXPECT_EQ(WeekOfTheYear(EncodeDate(2026, 1, 1)), 1);
    EXPECT_EQ(WeekOfTheYear(EncodeDate(2020, 12, 31)), 53);
    EXPECT_EQ(WeekOfTheYear(EncodeDate(2023, 1, 1)), 52);
    EXPECT_EQ(DayOfTheYear(EncodeDate(2024, 12, 31)), 366);
}

TEST(Dates, FormatDateTimeTokens)
{
    const TDateTime t = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 45);
    EXPECT_EQ(FormatDateTime(QStringLiteral("dd.mm.yyyy hh:nn:ss.zzz"), t), QStringLiteral("05.03.2024 14:07:09.045"));
    EXPECT_EQ(FormatDateTime(QStringLiteral("d/m/yy"), t), QStringLiteral("5.3.24"));
    EXPECT_EQ(FormatDateTime(QStringLiteral("ddd dddd mmm mmmm"), t), QStringLiteral("Tue Tuesday Mar March"));
    EXPECT_EQ(FormatDateTime(QStringLiteral("h:mm am/pm"), t), QStringLiteral("2:07 pm"));
    EXPECT_EQ(FormatDateTime(QStringLiteral("'day' d"), t), QStringLiteral("day 5"));
}

TEST(Colors, ConversionsAndSystemColours)
{
    EXPECT_EQ(RGB(1, 2, 3), 0x030201);
    EXPECT_EQ(ColorToString(clRed), QStringLiteral("clRed"));
    EXPECT_EQ(ColorToString(clBtnFace), QStringLiteral("clBtnFace"));
    EXPECT_EQ(ColorToString(0x123456), QStringLiteral("$00123456"));
    EXPECT_EQ(StringToColor(QStringLiteral("clnavy")), clNavy);
    EXPECT_EQ(StringToColor(QStringLiteral("$00123456")), 0x123456);
    EXPECT_EQ(StringToColor(QStringLiteral("255")), clRed);
    EXPECT_THROW(StringToColor(QStringLiteral("reddish")), EConvertError);
    // Every system colour the library defines has its name, both ways.
    for (TColor c = clScrollBar; c <= clMenuBar; ++c) {
        if (c == (clSystemColor | 25))
            continue;   // no system colour has this index
        const QString name = ColorToString(c);
        EXPECT_TRUE(name.startsWith(QLatin1String("cl"))) << std::hex << c;
        EXPECT_EQ(StringToColor(name), c) << name.toStdString();
    }
    EXPECT_EQ(FromQColor(ToQColor(0xA0B0C0)), 0xA0B0C0);
    EXPECT_EQ(ToQColor(clRed), QColor(255, 0, 0));

    QPalette old = QApplication::palette();
    QPalette pal = old;
    pal.setColor(QPalette::Button, QColor(10, 20, 30));
    pal.setColor(QPalette::Active, QPalette::Highlight, QColor(200, 100, 50));
    QApplication::setPalette(pal);
    EXPECT_EQ(ColorToRGB(clBtnFace), RGB(10, 20, 30));
    EXPECT_EQ(ColorToRGB(clHighlight), RGB(200, 100, 50));
    EXPECT_EQ(ColorToRGB(clRed), clRed);
    QApplication::setPalette(old);
}

TEST(ExceptionHandler, ReplaceableAndRestorable)
{
    QString seen;
    SetExceptionHandler([&](const std::exception& e) { seen = QString::fromUtf8(e.what()); });
    GuardedCall([] { throw EConvertError(QStringLiteral("bad tick \u00e4")); });
    EXPECT_EQ(seen, QStringLiteral("bad tick \u00e4"));
    SetExceptionHandler(nullptr);
    GuardedCall([] { throw Exception(QStringLiteral("printed to stderr")); });   // no crash
}

TEST(Conversion, DecimalTiesRoundAwayFromZero)
{
    EXPECT_EQ(FloatToStrF(0.125, ffFixed, 15, 2), QStringLiteral("0.13"));
    EXPECT_EQ(FloatToStrF(-0.125, ffFixed, 15, 2), QStringLiteral("-0.13"));
    EXPECT_EQ(FloatToStrF(2.5, ffFixed, 15, 0), QStringLiteral("3"));
    EXPECT_EQ(FloatToStrF(0.004, ffFixed, 15, 2), QStringLiteral("0.00"));
    EXPECT_EQ(FloatToStrF(-0.004, ffFixed, 15, 2), QStringLiteral("0.00"));
    EXPECT_EQ(FloatToStrF(0.005, ffFixed, 15, 2), QStringLiteral("0.01"));
    EXPECT_EQ(FloatToStrF(9.999, ffFixed, 15, 2), QStringLiteral("10.00"));
    EXPECT_EQ(FloatToStrF(999999.5, ffFixed, 15, 0), QStringLiteral("1000000"));
    EXPECT_EQ(FloatToStrF(9.99, ffExponent, 2, 2), QStringLiteral("1.0E+01"));
}

TEST(Rounding, SaturatedNeverFailsOrWraps)
{
    EXPECT_EQ(RoundSaturated(2.5, 100), 2);
    EXPECT_EQ(RoundSaturated(3.5, 100), 4);
    EXPECT_EQ(RoundSaturated(-2.5, 100), -2);
    EXPECT_EQ(RoundSaturated(1e300, 1e9), 1000000000);
    EXPECT_EQ(RoundSaturated(-std::numeric_limits<double>::infinity(), 1e9), -1000000000);
    EXPECT_EQ(RoundSaturated(std::nan(""), 1e9), 0);
    EXPECT_EQ(RoundSaturated(1e300, 1e300), std::int64_t(9.2e18));   // held to the 64-bit range
}
