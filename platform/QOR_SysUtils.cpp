#include "QOR_SysUtils.h"

#include <QFile>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <limits>

#if defined(Q_OS_WIN)
#include <windows.h>
#elif defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace qor {

// ---------------------------------------------------------------------------------------------
// Exceptions and the application-wide handler

Exception::Exception(const QString& msg)
    : std::runtime_error(msg.toUtf8().toStdString()), FMessage(msg)
{
}

static TExceptionHandler& CurrentHandler()
{
    static TExceptionHandler handler;
    return handler;
}

void SetExceptionHandler(TExceptionHandler handler)
{
    CurrentHandler() = std::move(handler);
}

void HandleException(const std::exception& e)
{
    if (CurrentHandler()) {
        CurrentHandler()(e);
        return;
    }
    QTextStream(stderr) << "Korvane: unhandled exception: " << QString::fromUtf8(e.what()) << "\n";
}

void HandleUnknownException()
{
    HandleException(Exception(QStringLiteral("unknown exception")));
}

// ---------------------------------------------------------------------------------------------
// Settings

TFormatSettings& FormatSettings()
{
    static TFormatSettings settings;
    return settings;
}

void ResetFormatSettings()
{
    FormatSettings() = TFormatSettings();
}

// ---------------------------------------------------------------------------------------------
// Rounding

static std::int64_t CheckedInt64(long double r, long double original)
{
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    constexpr long double limit = 9223372036854775808.0L;
    if (!std::isfinite(original) || r >= limit || r < -limit)
        throw EConvertError(QStringLiteral("Invalid floating point operation"));
    return std::int64_t(r);
}

std::int64_t Round(long double x)
{
    long double r = std::nearbyint(x);   // default rounding mode: to nearest, ties to even
    return CheckedInt64(r, x);
}

std::int64_t Round(double x) { return Round((long double)x); }

std::int64_t Trunc(long double x)
{
    return CheckedInt64(std::trunc(x), x);
}

std::int64_t RoundSaturated(double x, double Limit)
{
    if (std::isnan(x))
        return 0;
    const double lim = std::min(std::fabs(Limit), 9.2e18);
    return std::int64_t(std::nearbyint(std::clamp(x, -lim, lim)));
}

std::int64_t Trunc(double x) { return Trunc((long double)x); }

double Int(double x) { return std::trunc(x); }

double Frac(double x) { return x - std::trunc(x); }

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const long long p = (long long)a * b;
    long long q = p / c;
    const long long rem = p % c;
    // round half away from zero
    if (2 * std::llabs(rem) >= std::llabs((long long)c))
        q += ((p < 0) != (c < 0)) ? -1 : 1;
    return int(q);
}

// ---------------------------------------------------------------------------------------------
// Text -> number

static bool IsBlank(QChar c) { return c.unicode() <= ' '; }

// 0..15 for an ASCII hexadecimal digit, else -1.
static int HexDigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

double ValDouble(const QString& s, int& Code)
{
    const int n = s.size();
    int i = 0;
    while (i < n && s[i] == QLatin1Char(' '))
        ++i;
    QByteArray digits;
    digits.reserve(n);
    if (i < n && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
        digits.append(char(s[i++].unicode()));
    int mantissaDigits = 0;
    while (i < n && s[i].isDigit() && s[i].unicode() < 128) {
        digits.append(char(s[i++].unicode()));
        ++mantissaDigits;
    }
    if (i < n && s[i] == QLatin1Char('.')) {
        digits.append('.');
        ++i;
        while (i < n && s[i].unicode() < 128 && s[i].isDigit()) {
            digits.append(char(s[i++].unicode()));
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0) {
        Code = i + 1;
        return 0.0;
    }
    if (i < n && (s[i] == QLatin1Char('e') || s[i] == QLatin1Char('E'))) {
        digits.append('e');
        ++i;
        if (i < n && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
            digits.append(char(s[i++].unicode()));
        int expDigits = 0;
        while (i < n && s[i].unicode() < 128 && s[i].isDigit()) {
            digits.append(char(s[i++].unicode()));
            ++expDigits;
        }
        if (expDigits == 0) {
            Code = i + 1;
            return 0.0;
        }
    }
    if (i < n) {
        Code = i + 1;
        return 0.0;
    }
    const double v = std::strtod(digits.constData(), nullptr);
    if (!std::isfinite(v)) {
        Code = n;   // overflow: the conversion fails at the last character
        return 0.0;
    }
    Code = 0;
    return v;
}

int ValInt(const QString& s, int& Code)
{
    const int n = s.size();
    int i = 0;
    while (i < n && s[i] == QLatin1Char(' '))
        ++i;
    bool neg = false;
    if (i < n && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
        neg = s[i++] == QLatin1Char('-');
    int base = 10;
    if (i < n && s[i] == QLatin1Char('$')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && s[i] == QLatin1Char('0') && (s[i + 1] == QLatin1Char('x') || s[i + 1] == QLatin1Char('X'))) {
        base = 16;
        i += 2;
    }
    const int start = i;
    unsigned long long v = 0;
    const unsigned long long limit = base == 16 ? 0xFFFFFFFFull : (neg ? 2147483648ull : 2147483647ull);
    while (i < n) {
        const int d = HexDigitValue(s[i]);
        if (d < 0 || d >= base)
            break;
        v = v * base + unsigned(d);
        if (v > limit) {
            Code = i + 1;
            return 0;
        }
        ++i;
    }
    if (i == start || i < n) {
        Code = i + 1;
        return 0;
    }
    Code = 0;
    long long r = (long long)v;
    if (base == 16)
        r = (long long)(std::int32_t)(std::uint32_t)v;
    return int(neg ? -r : r);
}

bool TryStrToInt(const QString& s, int& Value)
{
    int code = 0;
    const int v = ValInt(TrimRight(s), code);
    if (code != 0)
        return false;
    Value = v;
    return true;
}

int StrToInt(const QString& s)
{
    int v = 0;
    if (!TryStrToInt(s, v))
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(s));
    return v;
}

int StrToIntDef(const QString& s, int Default)
{
    int v = 0;
    return TryStrToInt(s, v) ? v : Default;
}

std::int64_t StrToInt64(const QString& s)
{
    bool ok = false;
    const qlonglong v = Trim(s).toLongLong(&ok);
    if (!ok)
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(s));
    return v;
}

bool TryStrToFloat(const QString& s, double& Value)
{
    QString t = Trim(s);
    const QChar sep = FormatSettings().DecimalSeparator;
    if (sep != QLatin1Char('.')) {
        if (t.contains(QLatin1Char('.')))
            return false;
        t.replace(sep, QLatin1Char('.'));
    }
    int code = 0;
    const double v = ValDouble(t, code);
    if (code != 0)
        return false;
    Value = v;
    return true;
}

double StrToFloat(const QString& s)
{
    double v = 0;
    if (!TryStrToFloat(s, v))
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(s));
    return v;
}

QString IntToStr(std::int64_t v) { return QString::number(v); }

QString IntToHex(std::uint64_t v, int Digits)
{
    QString s = QString::number(v, 16).toUpper();
    if (s.size() < Digits)
        s = QString(Digits - s.size(), QLatin1Char('0')) + s;
    return s;
}

QString Trim(const QString& s) { return TrimRight(TrimLeft(s)); }

QString TrimLeft(const QString& s)
{
    int i = 0;
    while (i < s.size() && IsBlank(s[i]))
        ++i;
    return s.mid(i);
}

QString TrimRight(const QString& s)
{
    int i = s.size();
    while (i > 0 && IsBlank(s[i - 1]))
        --i;
    return s.left(i);
}

// ---------------------------------------------------------------------------------------------
// Number -> text

namespace {

// Decimal digits of |v| rounded to `prec` significant digits: digits "d1d2..." and the decimal
// exponent e such that |v| = 0.d1d2... * 10^e. Zero gives "0" and e = 0... as 0.0 * 10^1.
struct DecimalDigits {
    QByteArray Digits;
    int Exponent = 0;
    bool Negative = false;
};

// The exact decimal expansion of |v| (up to 40 significant digits, more than a long double
// holds), rounded half away from zero to `keep` significant digits. keep <= 0 rounds to the
// digit before the first one (giving "1" one place higher, or "0").
DecimalDigits RoundedDigits(long double v, int keep)
{
    DecimalDigits d;
    d.Negative = std::signbit(v) && v != 0;
    if (v == 0) {
        d.Digits = "0";
        d.Exponent = 1;
        return d;
    }
    char buf[96];
    std::snprintf(buf, sizeof buf, "%.39Le", std::fabs(v));
    const char* p = buf;
    QByteArray all;
    while (*p && *p != 'e') {
        if (*p >= '0' && *p <= '9')
            all.append(*p);
        ++p;
    }
    d.Exponent = std::atoi(p + 1) + 1;
    if (keep >= all.size()) {
        d.Digits = all;
        return d;
    }
    const bool up = keep >= 0 && all[keep] >= '5';
    if (keep <= 0) {
        // Only the rounding of the leading digit is left.
        const bool roundsUp = keep == 0 && all[0] >= '5';
        d.Digits = roundsUp ? "1" : "0";
        if (roundsUp)
            d.Exponent += 1;
        else
            d.Exponent = 1;
        return d;
    }
    QByteArray kept = all.left(keep);
    if (up) {
        int i = keep - 1;
        while (i >= 0 && kept[i] == '9') {
            kept[i] = '0';
            --i;
        }
        if (i < 0) {
            kept.prepend('1');
            kept.chop(1);
            d.Exponent += 1;
        } else {
            kept[i] = char(kept[i] + 1);
        }
    }
    d.Digits = kept;
    return d;
}

DecimalDigits ToDigits(long double v, int prec)
{
    return RoundedDigits(v, std::clamp(prec, 1, 20));
}

QString ExponentText(int e, int minDigits, bool plusSign)
{
    QString s = QString::number(std::abs(e));
    if (s.size() < minDigits)
        s = QString(minDigits - s.size(), QLatin1Char('0')) + s;
    if (e < 0)
        return QLatin1Char('-') + s;
    return plusSign ? QLatin1Char('+') + s : s;
}

QString SpecialValue(long double v)
{
    if (std::isnan(v))
        return QStringLiteral("NAN");
    return v < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

QString GroupThousands(const QString& intPart)
{
    const QChar sep = FormatSettings().ThousandSeparator;
    QString out;
    const int n = intPart.size();
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out.append(sep);
        out.append(intPart[i]);
    }
    return out;
}

QString FixedText(long double v, int decimals, bool thousands)
{
    decimals = std::clamp(decimals, 0, 18);
    const DecimalDigits d = RoundedDigits(v, RoundedDigits(v, 40).Exponent + decimals);
    QByteArray digits = d.Digits;
    const bool isZero = !std::any_of(digits.begin(), digits.end(), [](char c) { return c != '0'; });
    // Lay the digits out around the decimal point: Exponent digits before it.
    QString intPart, frac;
    for (int i = 0; i < d.Exponent; ++i)
        intPart.append(QLatin1Char(i < digits.size() ? digits[i] : '0'));
    if (intPart.isEmpty())
        intPart = QStringLiteral("0");
    for (int i = 0; i < decimals; ++i) {
        const int k = d.Exponent + i;
        frac.append(QLatin1Char(k >= 0 && k < digits.size() ? digits[k] : '0'));
    }
    if (thousands)
        intPart = GroupThousands(intPart);
    QString out = intPart;
    if (!frac.isEmpty())
        out += FormatSettings().DecimalSeparator + frac;
    if (d.Negative && !isZero)
        out.prepend(QLatin1Char('-'));
    return out;
}

QString ScientificText(long double v, int prec, int expDigits, bool plusSign, bool trimZeros)
{
    DecimalDigits d = ToDigits(v, prec);
    QByteArray digits = d.Digits;
    if (trimZeros)
        while (digits.size() > 1 && digits.endsWith('0'))
            digits.chop(1);
    QString s = QString(QLatin1Char(digits[0]));
    if (digits.size() > 1)
        s += FormatSettings().DecimalSeparator + QString::fromLatin1(digits.mid(1));
    const int e = (v == 0) ? 0 : d.Exponent - 1;
    s += QLatin1Char('E') + ExponentText(e, expDigits, plusSign);
    return d.Negative ? QLatin1Char('-') + s : s;
}

QString GeneralText(long double v, int prec, int expDigits)
{
    prec = std::clamp(prec, 1, 18);
    if (v == 0)
        return QStringLiteral("0");
    DecimalDigits d = ToDigits(v, prec);
    if (d.Exponent > prec || std::fabs(v) < 0.00001L)
        return ScientificText(v, prec, expDigits, false, true);
    QByteArray digits = d.Digits;
    while (digits.size() > 1 && digits.endsWith('0') && digits.size() > d.Exponent)
        digits.chop(1);
    QString s;
    if (d.Exponent <= 0) {
        s = QStringLiteral("0") + FormatSettings().DecimalSeparator + QString(-d.Exponent, QLatin1Char('0'))
            + QString::fromLatin1(digits);
    } else if (digits.size() <= d.Exponent) {
        s = QString::fromLatin1(digits) + QString(d.Exponent - digits.size(), QLatin1Char('0'));
    } else {
        s = QString::fromLatin1(digits.left(d.Exponent)) + FormatSettings().DecimalSeparator
            + QString::fromLatin1(digits.mid(d.Exponent));
    }
    return d.Negative ? QLatin1Char('-') + s : s;
}

} // namespace

QString FloatToStrF(long double Value, TFloatFormat Fmt, int Precision, int Digits)
{
    if (!std::isfinite(Value))
        return SpecialValue(Value);
    switch (Fmt) {
    case ffGeneral:
        return GeneralText(Value, Precision, std::clamp(Digits, 0, 4));
    case ffExponent:
        return ScientificText(Value, std::clamp(Precision, 1, 18), std::clamp(Digits, 0, 4), true, false);
    case ffFixed:
    case ffNumber:
    case ffCurrency: {
        const int prec = std::clamp(Precision, 1, 18);
        if (Value != 0 && std::floor(std::log10(std::fabs(Value))) + 1 > prec)
            return ScientificText(Value, prec, 0, true, false);
        return FixedText(Value, Digits, Fmt != ffFixed);
    }
    }
    return QString();
}

QString FloatToStr(double Value)
{
    return FloatToStrF(Value, ffGeneral, 15, 0);
}

// ---------------------------------------------------------------------------------------------
// Format

namespace {

[[noreturn]] void FormatError(const QString& fmt)
{
    throw EConvertError(QStringLiteral("Format '%1' invalid or incompatible with argument").arg(fmt));
}

long double AsFloat(const TFormatArg& a, const QString& fmt)
{
    if (auto p = std::get_if<long double>(&a))
        return *p;
    FormatError(fmt);
}

std::int64_t AsInt(const TFormatArg& a, const QString& fmt)
{
    if (auto p = std::get_if<std::int64_t>(&a))
        return *p;
    FormatError(fmt);
}

} // namespace

QString Format(const QString& Fmt, std::initializer_list<FormatArg> Args)
{
    QString out;
    auto arg = Args.begin();
    const int n = Fmt.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = Fmt[i];
        if (c != QLatin1Char('%')) {
            out.append(c);
            continue;
        }
        if (++i >= n)
            FormatError(Fmt);
        if (Fmt[i] == QLatin1Char('%')) {
            out.append(QLatin1Char('%'));
            continue;
        }
        bool left = false;
        if (Fmt[i] == QLatin1Char('-')) {
            left = true;
            ++i;
        }
        int width = -1, prec = -1;
        auto readNumber = [&](int& target) {
            int v = 0;
            bool any = false;
            while (i < n && Fmt[i].isDigit()) {
                v = v * 10 + Fmt[i].digitValue();
                ++i;
                any = true;
            }
            if (any)
                target = std::min(v, 4096);
        };
        readNumber(width);
        if (i < n && Fmt[i] == QLatin1Char('.')) {
            ++i;
            prec = 0;
            readNumber(prec);
        }
        if (i >= n || arg == Args.end())
            FormatError(Fmt);
        const TFormatArg& a = (arg++)->Value();
        QString piece;
        switch (Fmt[i].toLower().unicode()) {
        case 'd': {
            const std::int64_t v = AsInt(a, Fmt);
            piece = QString::number(v < 0 ? -(unsigned long long)v : (unsigned long long)v);
            if (prec > piece.size())
                piece = QString(prec - piece.size(), QLatin1Char('0')) + piece;
            if (v < 0)
                piece.prepend(QLatin1Char('-'));
            break;
        }
        case 'u':
            piece = QString::number((unsigned long long)AsInt(a, Fmt));
            break;
        case 'x': {
            piece = QString::number((unsigned long long)AsInt(a, Fmt), 16).toUpper();
            if (prec > piece.size())
                piece = QString(prec - piece.size(), QLatin1Char('0')) + piece;
            break;
        }
        case 'e':
            piece = FloatToStrF(AsFloat(a, Fmt), ffExponent, prec < 0 ? 15 : prec, 3);
            break;
        case 'f':
            piece = FloatToStrF(AsFloat(a, Fmt), ffFixed, 18, prec < 0 ? 2 : prec);
            break;
        case 'g':
            piece = FloatToStrF(AsFloat(a, Fmt), ffGeneral, prec < 0 ? 15 : prec, 0);
            break;
        case 'n':
            piece = FloatToStrF(AsFloat(a, Fmt), ffNumber, 18, prec < 0 ? 2 : prec);
            break;
        case 's': {
            if (auto p = std::get_if<QString>(&a))
                piece = *p;
            else
                FormatError(Fmt);
            if (prec >= 0)
                piece = piece.left(prec);
            break;
        }
        default:
            FormatError(Fmt);
        }
        if (width > piece.size())
            piece = left ? piece + QString(width - piece.size(), QLatin1Char(' '))
                         : QString(width - piece.size(), QLatin1Char(' ')) + piece;
        out.append(piece);
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
// Memory

namespace {

// The first number in a small system file (a /proc or /sys entry); false when there is none.
bool ReadNumberFile(const char* path, const char* key, std::uint64_t& value)
{
    QFile f(QString::fromLatin1(path));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = f.read(1 << 16);
    qsizetype at = 0;
    if (key) {
        at = text.indexOf(key);
        if (at < 0)
            return false;
        at += qsizetype(std::strlen(key));
    }
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
        ++at;
    qsizetype end = at;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9')
        ++end;
    bool ok = false;
    value = text.mid(at, end - at).toULongLong(&ok);
    return ok;
}

} // namespace

std::uint64_t AvailableMemoryBytes()
{
    std::uint64_t avail = std::numeric_limits<std::uint64_t>::max();
#if defined(Q_OS_WIN)
    MEMORYSTATUSEX status;
    status.dwLength = sizeof status;
    if (GlobalMemoryStatusEx(&status))
        avail = status.ullAvailPhys;
#elif defined(Q_OS_UNIX)
    std::uint64_t kb = 0;
    if (ReadNumberFile("/proc/meminfo", "MemAvailable:", kb)) {
        avail = kb * 1024;
    } else {
#if defined(_SC_AVPHYS_PAGES)
        const long pages = sysconf(_SC_AVPHYS_PAGES), size = sysconf(_SC_PAGESIZE);
        if (pages > 0 && size > 0)
            avail = std::uint64_t(pages) * std::uint64_t(size);
#endif
    }
    // A control group (a container, a service) may allow less than the machine has.
    std::uint64_t limit = 0, used = 0;
    if (ReadNumberFile("/sys/fs/cgroup/memory.max", nullptr, limit) && ReadNumberFile("/sys/fs/cgroup/memory.current", nullptr, used))
        avail = std::min(avail, limit > used ? limit - used : 0);
#endif
    return avail;
}

} // namespace qor
