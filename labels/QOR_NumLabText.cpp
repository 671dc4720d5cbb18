// The value text of the numeric label: one routine per display type, then the separator and
// sign rules shared by most of them.
#include "QOR_NumLab.h"

#include <QOR_DateUtils.h>
#include <QOR_SysUtils.h>

#include <algorithm>
#include <cmath>
#include <optional>

namespace qor {

namespace {

constexpr double kTwoTo63 = 9223372036854775808.0;

// "%.<p><conversion>" with the run-time library's Format.
QString FormatWithPrecision(char conversion, int p, double v)
{
    return Format(QStringLiteral("%.%1%2").arg(p).arg(QLatin1Char(conversion)), {v});
}

// The value rounded to a whole number (halves to even), when it fits in 64 bits: -2^63 does,
// 2^63 does not.
std::optional<std::int64_t> RoundedInt(double v)
{
    if (!std::isfinite(v) || v >= kTwoTo63 || v < -kTwoTo63)
        return std::nullopt;
    return Round(v);
}

QString PadLeft(QString s, int digits)
{
    if (s.size() < digits)
        s.prepend(QString(digits - s.size(), QLatin1Char('0')));
    return s;
}

// Digits of the rounded value in a base, at least p of them; "-" before a negative value.
std::optional<QString> DigitText(double v, int base, int p)
{
    const auto n = RoundedInt(v);
    if (!n)
        return std::nullopt;
    const unsigned long long magnitude = *n < 0 ? 0ULL - static_cast<unsigned long long>(*n)
                                                : static_cast<unsigned long long>(*n);
    const QString digits = PadLeft(QString::number(magnitude, base).toUpper(), p);
    return *n < 0 ? QLatin1Char('-') + digits : digits;
}

bool HasNonZeroDigit(const QString& s)
{
    return std::any_of(s.begin(), s.end(), [](QChar c) { return c.isDigit() && c != QLatin1Char('0'); });
}

// A fixed-point part with p decimals and at least two integer digits ("05.50"); true in
// carry when rounding made it reach 60.
QString SixtiethText(long double part, int p, bool& carry)
{
    QString s = FormatWithPrecision('f', p, double(part));
    carry = s.startsWith(QStringLiteral("60"));
    if (carry)
        s = FormatWithPrecision('f', p, 0.0);
    const int intDigits = int(s.indexOf(FormatSettings().DecimalSeparator));
    return (intDigits == 1 || (intDigits < 0 && s.size() == 1)) ? QLatin1Char('0') + s : s;
}

std::optional<QString> DegreeText(double v, TDisplay type, int p)
{
    if (!std::isfinite(v))
        return std::nullopt;
    if (std::fabs(v) >= kTwoTo63)
        return std::nullopt;
    const QChar degree(0x00B0), minute(0x2032), second(0x2033);
    if (type == dtDeg)
        return FormatWithPrecision('f', p, v) + degree;
    const long double a = std::fabs(static_cast<long double>(v));
    auto degrees = static_cast<long long>(std::floor(a));
    const long double minutes = (a - degrees) * 60.0L;
    bool carry = false;
    QString text;
    if (type == dtDegMin) {
        const QString m = SixtiethText(minutes, p, carry);
        degrees += carry;
        text = QString::number(degrees) + degree + m + minute;
    } else {
        auto wholeMinutes = static_cast<int>(std::floor(minutes));
        const QString s = SixtiethText((minutes - wholeMinutes) * 60.0L, p, carry);
        wholeMinutes += carry;
        if (wholeMinutes == 60) {
            wholeMinutes = 0;
            ++degrees;
        }
        text = QString::number(degrees) + degree + PadLeft(QString::number(wholeMinutes), 2) + minute + s + second;
    }
    return v < 0 && HasNonZeroDigit(text) ? QLatin1Char('-') + text : text;
}

QString ExponentText(int e)
{
    return (e < 0 ? QStringLiteral("E-") : QStringLiteral("E+")) + PadLeft(QString::number(std::abs(e)), 3);
}

// The digits before the decimal separator of a formatted number without sign.
int IntegerDigits(const QString& s)
{
    const auto sep = s.indexOf(FormatSettings().DecimalSeparator);
    return int(sep < 0 ? s.size() : sep);
}

// Engineering notation: a mantissa of 1 <= |m| < 1000 and an exponent that is a multiple of 3.
QString EngineeringText(double v, int significant, bool wholeMantissa)
{
    if (!std::isfinite(v))
        return FormatWithPrecision('e', 1, v);   // "NAN", "INF", "-INF"
    significant = std::max(significant, 1);
    if (v == 0)
        return FormatWithPrecision('f', wholeMantissa ? 0 : significant - 1, 0.0) + ExponentText(0);
    const long double a = std::fabs(static_cast<long double>(v));
    int e3 = int(std::floor(std::floor(std::log10(a)) / 3.0L)) * 3;
    long double m = a / std::pow(10.0L, e3);
    // log10 may round across a power of ten.
    if (m < 1.0L)
        m = a / std::pow(10.0L, e3 -= 3);
    else if (m >= 1000.0L)
        m = a / std::pow(10.0L, e3 += 3);
    // The decimals that leave `significant` digits beside intDigits integer digits.
    auto mantissaText = [&](int intDigits, long double value) {
        return FormatWithPrecision('f', wholeMantissa ? 0 : std::max(0, significant - intDigits), double(value));
    };
    const int intDigits = m < 10.0L ? 1 : m < 100.0L ? 2 : 3;
    QString mantissa = mantissaText(intDigits, m);
    if (mantissa.startsWith(QStringLiteral("1000"))) {   // rounded up to the next step
        e3 += 3;
        mantissa = mantissaText(1, 1.0L);
    } else if (IntegerDigits(mantissa) > intDigits) {   // rounded up to 10 or 100
        mantissa = mantissaText(IntegerDigits(mantissa), m);
    }
    return (v < 0 ? QStringLiteral("-") : QString()) + mantissa + ExponentText(e3);
}

std::optional<QString> DateText(double v, const QString& fmt)
{
    TDateTime first = 0, last = 0;
    TryEncodeDate(1, 1, 1, first);
    TryEncodeDate(9999, 12, 31, last);
    if (!std::isfinite(v) || v <= first - 1 || v >= last + 1)
        return std::nullopt;
    return FormatDateTime(fmt, v);
}

std::optional<QString> TypeText(double v, const TNumLabTextSettings& s, int p)
{
    switch (s.DisplayType) {
    case dtFloat: return FormatWithPrecision('g', p, v);
    case dtFixP: return FormatWithPrecision('f', p, v);
    case dtExp: return FormatWithPrecision('e', p, v);
    case dtInt: {
        const auto n = RoundedInt(v);
        return n ? std::optional<QString>(QString::number(*n)) : std::nullopt;
    }
    case dtZeroInt: return DigitText(v, 10, p);
    case dtHex: return DigitText(v, 16, p);
    case dtOct: return DigitText(v, 8, p);
    case dtBin: return DigitText(v, 2, p);
    case dtDateTime: return DateText(v, s.DTFormat);
    case dtState: return s.StateText;
    case dtDeg:
    case dtDegMin:
    case dtDegMinSec: return DegreeText(v, s.DisplayType, p);
    case dtEEng: return EngineeringText(v, p, false);
    case dtEEngNoDP: return EngineeringText(v, p, true);
    }
    return FormatWithPrecision('f', p, v);
}

} // namespace

QString NumLabValueText(double Value, const TNumLabTextSettings& Settings)
{
    const int p = std::clamp(Settings.Precision, 0, 15);
    const std::optional<QString> typed = TypeText(Value, Settings, p);
    if (!typed)
        return Settings.OverflowIndicator;
    QString text = *typed;
    switch (Settings.DisplayType) {
    case dtHex:
    case dtDateTime:
    case dtState:
    case dtBin:
        return text;
    default:
        break;
    }
    if (Settings.Comma)
        text.replace(QLatin1Char('.'), QLatin1Char(','));
    else
        text.replace(QLatin1Char(','), QLatin1Char('.'));
    if (Settings.ForcePlusSign && Value > 0)
        text.prepend(QLatin1Char('+'));
    return text;
}

} // namespace qor
