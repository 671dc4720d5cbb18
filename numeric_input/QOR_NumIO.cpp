#include "QOR_NumText.h"

#include <QOR_DateUtils.h>
#include <QOR_univconst.h>


#include <algorithm>
#include <bit>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace qor {

// ---------------------------------------------------------------------------------------------
// Separators

int ResolveDecPSep(int DecPSep)
{
    if (DecPSep == 0)
        return FormatSettings().DecimalSeparator == QLatin1Char('.') ? 1 : 2;
    if (DecPSep == 1 || DecPSep == 2)
        return DecPSep;
    return 3;
}

QChar DecPSepChar(int DecPSep)
{
    if (DecPSep == 0)
        return FormatSettings().DecimalSeparator;
    return DecPSep == 2 ? QLatin1Char(',') : QLatin1Char('.');
}

// ---------------------------------------------------------------------------------------------
// The real-number state machine shared by the scanner and the exponent check.

namespace {

enum CharClass { ccSep, ccBlank, ccSign, ccDigit, ccExp, ccOther };

constexpr int sExpOrEnd = -2;  // "E?": 6 when exponents are allowed, else 9
constexpr int sAccept = 9;
constexpr int sError = -1;
constexpr int kMaxExponent = 4200;

// Rows: states 1..8; columns: CharClass.
constexpr int kFloatTable[8][6] = {
    /* 1 */ {4, 1, 2, 3, sError, sError},
    /* 2 */ {4, sError, sError, 3, sError, sError},
    /* 3 */ {4, 9, 9, 3, sExpOrEnd, 9},
    /* 4 */ {sError, 9, 9, 5, sExpOrEnd, 9},
    /* 5 */ {sError, 9, 9, 5, sExpOrEnd, 9},
    /* 6 */ {sError, sError, 7, 8, sError, 9},
    /* 7 */ {sError, sError, sError, 8, sError, 9},
    /* 8 */ {9, 9, 9, 8, 9, 9},
};

inline CharClass Classify(char16_t c, int sep)
{
    if ((c == u'.' && (sep == 1 || sep == 3)) || (c == u',' && (sep == 2 || sep == 3)))
        return ccSep;
    if (c == u' ')
        return ccBlank;
    if (c == u'+' || c == u'-')
        return ccSign;
    if (c >= u'0' && c <= u'9')
        return ccDigit;
    if (c == u'E' || c == u'e')
        return ccExp;
    return ccOther;
}

inline int NextState(int state, CharClass cls, bool expAllowed)
{
    const int next = kFloatTable[state - 1][cls];
    return next == sExpOrEnd ? (expAllowed ? 6 : sAccept) : next;
}

// Exponent digits read so far, saturating well above the cut so long runs cannot overflow.
inline int AddExpDigit(int state, int next, int expValue, char16_t c)
{
    if (next != 8)
        return expValue;
    const int digit = c - u'0';
    if (state != 8)
        return digit;
    return expValue > kMaxExponent ? expValue : expValue * 10 + digit;
}

// A character buffer on the stack for the usual short numbers; a longer number moves it to
// the heap. It grows with the number read, not with the text that follows it, so reading a long
// text number by number stays linear.
class NumBuf {
public:
    void Push(char c)
    {
        if (FHeap.empty() && FLen < qsizetype(sizeof(FLocal))) {
            FLocal[FLen++] = c;
            return;
        }
        if (FHeap.empty())
            FHeap.assign(FLocal, std::size_t(FLen));
        FHeap.push_back(c);
        ++FLen;
    }
    char* Data() { return FHeap.empty() ? FLocal : FHeap.data(); }
    qsizetype Len() const { return FLen; }
    char Last() const { return FLen ? (FHeap.empty() ? FLocal[FLen - 1] : FHeap.back()) : '\0'; }
private:
    char FLocal[96];
    std::string FHeap;
    qsizetype FLen = 0;
};

// Decimal text (digits, one ".", optional "-" and exponent) to a double, computed so that
// magnitudes beyond the double range still come out with the right side of the clamp.
double DecimalTextToDouble(const char* first, const char* last)
{
    double v = 0.0;
    auto res = std::from_chars(first, last, v);
    if (res.ec == std::errc())
        return v;
    // Beyond the double range (or a dangling text that from_chars refuses): the extended
    // conversion in the C locale decides.
    static locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", locale_t(0));
    std::string s(first, last);
    long double x = strtold_l(s.c_str(), nullptr, cLocale);
    if (x > (long double)uc_MaxDouble)
        return uc_MaxDouble;
    if (x < -(long double)uc_MaxDouble)
        return -uc_MaxDouble;
    return double(x);
}

} // namespace

double ScanFloatStr(const QString& Instring, bool ExpAllowed, int DecPSep, int& Pos)
{
    bool isNumber = false;
    return ScanFloatStr(Instring, ExpAllowed, DecPSep, Pos, isNumber);
}

double ScanFloatStr(const QString& Instring, bool ExpAllowed, int DecPSep, int& Pos, bool& IsNumber)
{
    IsNumber = false;
    bool mantissaDigit = false;
    const int sep = ResolveDecPSep(DecPSep);
    const qsizetype len = Instring.size();
    const char16_t* s = reinterpret_cast<const char16_t*>(Instring.constData());
    // The position counts in 64 bits: a start at the largest int may step once past it.
    qint64 pos = std::max(Pos, 1);
    NumBuf buf;
    int state = 1;
    int expValue = 0;
    while (state != sAccept && state != sError) {
        const char16_t c = pos <= len ? s[pos - 1] : u'Z';
        ++pos;
        const CharClass cls = Classify(c, sep);
        const int next = NextState(state, cls, ExpAllowed);
        mantissaDigit = mantissaDigit || (cls == ccDigit && next >= 3 && next <= 5);
        expValue = AddExpDigit(state, next, expValue, c);
        if (next >= 1 && next <= 8 && expValue <= kMaxExponent) {
            // Blanks and "+" carry no value; the rest is the normalised number text.
            if (cls == ccSep)
                buf.Push('.');
            else if (cls == ccExp)
                buf.Push('E');
            else if (c != u' ' && c != u'+')
                buf.Push(char(c));
        }
        state = next;
    }
    Pos = int(pos - 1);
    if (state == sError)
        return 0.0;
    IsNumber = mantissaDigit;
    if (buf.Len() == 0 || buf.Last() == '.' || buf.Last() == '-')
        buf.Push('0');
    double v = DecimalTextToDouble(buf.Data(), buf.Data() + buf.Len());
    if (v > uc_MaxDouble)
        v = uc_MaxDouble;
    else if (v < -uc_MaxDouble)
        v = -uc_MaxDouble;
    return v == 0.0 ? 0.0 : v;  // no negative zero
}

bool CheckFloatExpStr(const QString& Instring, bool ExpAllowed, int DecPSep)
{
    if (Instring.isEmpty())
        return false;
    const int sep = ResolveDecPSep(DecPSep);
    const qsizetype len = Instring.size();
    const char16_t* s = reinterpret_cast<const char16_t*>(Instring.constData());
    int state = 1;
    int expValue = 0;
    for (qsizetype pos = 0; state != sAccept && state != sError; ++pos) {
        const char16_t c = pos < len ? s[pos] : u'Z';
        const int next = NextState(state, Classify(c, sep), ExpAllowed);
        expValue = AddExpDigit(state, next, expValue, c);
        state = expValue > kMaxExponent ? sError : next;
    }
    return state == sAccept;
}

bool CheckFloatStr(const QString& Instring, int DecPSep)
{
    if (Instring.isEmpty())
        return false;
    const QChar sepChar = ResolveDecPSep(DecPSep) == 1 ? QLatin1Char('.') : QLatin1Char(',');
    // Rows: states 0..4; columns: sign, separator, digit, anything else. 5 is invalid.
    static constexpr int table[5][4] = {{1, 2, 3, 5}, {5, 2, 3, 5}, {5, 5, 4, 5}, {5, 2, 3, 5}, {5, 5, 4, 5}};
    const bool both = ResolveDecPSep(DecPSep) == 3;
    int state = 0;
    for (QChar c : Instring) {
        int cls = 3;
        if (c == QLatin1Char('+') || c == QLatin1Char('-'))
            cls = 0;
        else if (both ? (c == QLatin1Char('.') || c == QLatin1Char(',')) : c == sepChar)
            cls = 1;
        else if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            cls = 2;
        state = table[state][cls];
        if (state == 5)
            return false;
    }
    return true;
}

bool CheckFixPointStr(const QString& Instring, int DecPSep, int DecPlaces)
{
    if (!CheckFloatStr(Instring, DecPSep))
        return false;
    // The layout is measured at the ".", or at the "," where only the comma is accepted (a
    // "." could never pass the check above then).
    const QChar pointChar = ResolveDecPSep(DecPSep) == 2 ? QLatin1Char(',') : QLatin1Char('.');
    const qsizetype point = Instring.indexOf(pointChar) + 1;  // 1-based, 0 when absent
    if (point == 0)
        return Instring.size() == DecPlaces;
    return point == Instring.size() - DecPlaces;
}

// ---------------------------------------------------------------------------------------------
// Integer checks and scanners

namespace {

template <typename Pred>
bool AllChars(const QString& s, Pred ok)
{
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (!ok(c.unicode()))
            return false;
    return true;
}

inline bool IsDec(char16_t c) { return c >= u'0' && c <= u'9'; }

// Value of c as a digit of the base, or -1.
inline int DigitValue(char16_t c, int base)
{
    int d = -1;
    if (c >= u'0' && c <= u'9')
        d = c - u'0';
    else if (c >= u'A' && c <= u'F')
        d = c - u'A' + 10;
    else if (c >= u'a' && c <= u'f')
        d = c - u'a' + 10;
    return d < base ? d : -1;
}

void SkipBlanks(const QString& s, int& Pos)
{
    if (Pos < 1)
        Pos = 1;
    while (Pos < s.size() && s[Pos - 1] == QLatin1Char(' '))
        ++Pos;
}

std::uint32_t ScanDigits(const QString& s, int& Pos, int base)
{
    std::uint32_t v = 0;
    const qsizetype len = s.size();
    while (Pos <= len) {
        const int d = DigitValue(s[Pos - 1].unicode(), base);
        if (d < 0)
            break;
        v = v * std::uint32_t(base) + std::uint32_t(d);
        ++Pos;
    }
    return v;
}

} // namespace

bool CheckIntStr(const QString& Instring)
{
    if (Instring.isEmpty())
        return false;
    const char16_t first = Instring[0].unicode();
    if (Instring.size() == 1)
        return IsDec(first);
    if (!(first == u'+' || first == u'-' || IsDec(first)))
        return false;
    for (qsizetype i = 1; i < Instring.size(); ++i)
        if (!IsDec(Instring[i].unicode()))
            return false;
    return true;
}

bool CheckHexStr(const QString& Instring) { return AllChars(Instring, [](char16_t c) { return DigitValue(c, 16) >= 0; }); }
bool CheckOctStr(const QString& Instring) { return AllChars(Instring, [](char16_t c) { return c >= u'0' && c <= u'7'; }); }
bool CheckBinStr(const QString& Instring) { return AllChars(Instring, [](char16_t c) { return c == u'0' || c == u'1'; }); }

std::int32_t ScanDecIntStr(const QString& Instring, int& Pos)
{
    SkipBlanks(Instring, Pos);
    bool negative = false;
    if (Pos <= Instring.size() && (Instring[Pos - 1] == QLatin1Char('+') || Instring[Pos - 1] == QLatin1Char('-'))) {
        negative = Instring[Pos - 1] == QLatin1Char('-');
        ++Pos;
    }
    const std::uint32_t v = ScanDigits(Instring, Pos, 10);
    return std::int32_t(negative ? 0u - v : v);
}

std::int32_t ScanHexStr(const QString& Instring, int& Pos)
{
    SkipBlanks(Instring, Pos);
    if (Pos == 1 && !Instring.isEmpty() && Instring[0] == QLatin1Char('$'))
        ++Pos;
    return std::int32_t(ScanDigits(Instring, Pos, 16));
}

std::int32_t ScanOctStr(const QString& Instring, int& Pos)
{
    SkipBlanks(Instring, Pos);
    return std::int32_t(ScanDigits(Instring, Pos, 8));
}

std::int32_t ScanBinStr(const QString& Instring, int& Pos)
{
    SkipBlanks(Instring, Pos);
    return std::int32_t(ScanDigits(Instring, Pos, 2));
}

// ---------------------------------------------------------------------------------------------
// Rendering

namespace {

QString NonFiniteText(double v)
{
    if (std::isnan(v))
        return QStringLiteral("NAN");
    return v < 0 ? QStringLiteral("-INF") : QStringLiteral("+INF");
}

// Decimal digits of a finite a > 0: Digits[0..Len) are significant digits, Exp10 the power of
// ten of the first.
struct DecimalDigits {
    static constexpr int MaxDigits = 800;   // a double's exact expansion has at most 767
    char Digits[MaxDigits + 2];
    int Len = 0;
    int Exp10 = 0;
    bool ZerosFrom(int from) const
    {
        for (int i = std::max(from, 0); i < Len; ++i)
            if (Digits[i] != '0')
                return false;
        return true;
    }
};

// The standard conversion with Precision fraction digits (correctly rounded to them).
void Convert(double a, int precision, DecimalDigits& d)
{
    char buf[DecimalDigits::MaxDigits + 16];
    const auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, precision);
    d.Len = 0;
    const char* p = buf;
    for (; p < res.ptr && *p != 'e'; ++p)
        if (*p != '.')
            d.Digits[d.Len++] = *p;
    std::from_chars(p + 1 + (p + 1 < res.ptr && p[1] == '+'), res.ptr, d.Exp10);
}

// The precision at which the conversion of a is exact: its expansion ends at the place of the
// lowest set bit of its mantissa (2^-k has k decimals). Exp10Bound is at least its exponent.
int ExactPrecision(double a, int exp10Bound)
{
    int e2 = 0;
    const double f = std::frexp(a, &e2);
    const auto m = std::uint64_t(std::ldexp(f, 53));
    const int lowest = e2 - 53 + std::countr_zero(m);
    return std::clamp(exp10Bound + std::max(0, -lowest), 0, DecimalDigits::MaxDigits - 2);
}

// The digits of a finite a > 0 rounded half away from zero, decided on the exact decimal value.
// KeepFor(Exp10) tells how many leading digits stay, given the power of ten of the first. It may
// be 0 (the value lies below the last place kept and rounds to one unit of it or to nothing) or
// negative (it rounds to nothing). The result holds max(keep, 0) digits, or "1" with Exp10 at
// the last place kept when a value below that place rounds up to it.
template <typename KeepFor>
void RoundedDigits(double a, KeepFor keepFor, DecimalDigits& d)
{
    // Guard digits settle the first dropped digit; when they all come out 0 they may hide a
    // carry through a run of 9s (or the expansion simply ends there), and only the exact
    // expansion tells. 2^e has at most one decimal digit per bit above 1, so the estimate of the
    // exponent below is at most one too low.
    constexpr int Guard = 8;
    const int exp10Bound = int(std::floor(std::ilogb(a) * 0.30102999566398120)) + 1;
    const int exact = ExactPrecision(a, exp10Bound);
    const int keepBound = keepFor(exp10Bound);
    int precision = std::clamp(keepBound + Guard, 0, exact);
    Convert(a, precision, d);
    int keep = keepFor(d.Exp10);
    if (precision < exact && d.ZerosFrom(std::max(keep, 0) + 1)) {
        Convert(a, exact, d);
        keep = keepFor(d.Exp10);
    }
    const int first = std::max(keep, 0);
    const bool up = keep >= 0 && first < d.Len && d.Digits[first] >= '5';
    if (keep <= 0) {
        d.Exp10 = d.Exp10 + 1 - keep;   // the power of ten of the last place kept
        d.Len = up ? 1 : 0;
        d.Digits[0] = '1';
        return;
    }
    for (int i = d.Len; i < first; ++i)
        d.Digits[i] = '0';
    d.Len = first;
    if (!up)
        return;
    int i = first;
    while (i > 0 && d.Digits[i - 1] == '9')
        d.Digits[--i] = '0';
    if (i > 0) {
        ++d.Digits[i - 1];
        return;
    }
    // 9.99.. became 10.0..: a 1 in front, one place up; the digits are all 0 already.
    d.Digits[0] = '1';
    ++d.Exp10;
}

// " d.dddE+dddd" / "-d.dddE+dddd" with the given number of fraction digits (no point for 0).
QString Scientific(double v, int fractionDigits)
{
    const int keep = std::min(fractionDigits + 1, DecimalDigits::MaxDigits);
    DecimalDigits d;
    if (v == 0.0) {
        d.Len = keep;
        std::fill(d.Digits, d.Digits + d.Len, '0');
    } else {
        RoundedDigits(std::fabs(v), [&](int) { return keep; }, d);
    }
    std::string out;
    out.reserve(std::size_t(fractionDigits) + 12);
    out += v < 0 ? '-' : ' ';
    out += d.Digits[0];
    if (fractionDigits > 0) {
        out += '.';
        out.append(d.Digits + 1, std::size_t(d.Len - 1));
        out.append(std::size_t(fractionDigits - (d.Len - 1)), '0');   // beyond every digit a double has
    }
    out += d.Exp10 < 0 ? "E-" : "E+";
    char exp[8];
    const auto res = std::to_chars(exp, exp + sizeof exp, std::abs(d.Exp10));
    out.append(std::size_t(std::max<std::ptrdiff_t>(0, 4 - (res.ptr - exp))), '0');
    out.append(exp, res.ptr);
    return QString::fromLatin1(out.data(), qsizetype(out.size()));
}

// "-" for negative values, the integer digits, and with decimals above 0 a "." and exactly that
// many decimals, rounded half away from zero.
QString Fixed(double v, int decimals)
{
    DecimalDigits d;
    if (v != 0.0)
        RoundedDigits(std::fabs(v), [&](int exp10) { return exp10 + 1 + decimals; }, d);
    // The digits stand for the places 10^Exp10 downwards.
    auto digitAt = [&](int power) {
        const int i = d.Exp10 - power;
        return i >= 0 && i < d.Len ? d.Digits[i] : '0';
    };
    char buf[DecimalDigits::MaxDigits + 128];
    int n = 0;
    if (v < 0)
        buf[n++] = '-';
    for (int power = std::max(d.Exp10, 0); power >= 0; --power)
        buf[n++] = digitAt(power);
    if (decimals > 0) {
        buf[n++] = '.';
        for (int power = -1; power >= -decimals; --power)
            buf[n++] = digitAt(power);
    }
    return QString::fromLatin1(buf, n);
}

QString PadLeft(const QString& s, int width)
{
    return s.size() >= width ? s : QString(width - s.size(), QLatin1Char(' ')) + s;
}

} // namespace

QString FormatRealStr(int Width, int Decimals, double Value)
{
    const bool zeroPad = Width < 0;
    // In 64 bits: the magnitude of the most negative width does not fit an int.
    const int width = int(std::min<qint64>(std::abs(qint64(Width)), MaxFieldWidth));
    if (Value == 0.0)
        Value = 0.0;  // no negative zero
    QString s;
    if (!std::isfinite(Value)) {
        s = PadLeft(NonFiniteText(Value), width);
    } else if (Decimals == -2) {
        const int field = width + 2;
        s = Scientific(Value, std::max(field - 9, 0));
        const qsizetype e = s.indexOf(QLatin1Char('E')) + 1;
        if (s.size() == e + 5) {
            const bool small = s[e + 1] == QLatin1Char('0') && s[e + 2] == QLatin1Char('0');
            s.remove(e + 1, 2);
            if (!small)
                s.fill(QLatin1Char('*'));
        }
    } else if (Decimals < 0) {
        s = Scientific(Value, std::max(width - 9, 0));
    } else {
        s = PadLeft(Fixed(Value, std::min(Decimals, 100)), width);
    }
    if (zeroPad) {
        qsizetype blanks = 0;
        while (blanks < s.size() && s[blanks] == QLatin1Char(' '))
            s[blanks++] = QLatin1Char('0');
        if (blanks > 0 && blanks < s.size() && s[blanks] == QLatin1Char('-')) {
            s[blanks] = QLatin1Char('0');
            s[0] = QLatin1Char('-');
        }
    }
    return s;
}

namespace {

QString DigitStr(std::int32_t Value, int NrDigits, int maxDigits, int bits)
{
    static const char kDigits[] = "0123456789ABCDEF";
    const int n = std::clamp(NrDigits, 1, maxDigits);
    std::uint32_t v = std::uint32_t(Value);
    QString s(n, QLatin1Char('0'));
    for (int i = n - 1; i >= 0; --i) {
        s[i] = QLatin1Char(kDigits[v & ((1u << bits) - 1)]);
        v >>= bits;
    }
    return s;
}

} // namespace

QString HexDigitStr(std::int32_t Value, int NrDigits) { return DigitStr(Value, NrDigits, 16, 4); }
QString OctDigitStr(std::int32_t Value, int NrDigits) { return DigitStr(Value, NrDigits, 11, 3); }
QString BinDigitStr(std::int32_t Value, int NrDigits) { return DigitStr(Value, NrDigits, 32, 1); }

// ---------------------------------------------------------------------------------------------
// Month and day names (read by the report list's date scanner)

// Row 0 names the months and days by number; rows 1..4 are the platform's names as they stand.
QString NumIOMonthName(int LangIx, int Month, bool Full)
{
    if (Month < 1 || Month > 12)
        return QString();
    if (LangIx == 0)
        return QStringLiteral("M%1").arg(Month, 2, 10, QLatin1Char('0'));
    return DateName(LangIx >= 1 && LangIx <= 4 ? LangIx : 1, Full ? dnMonthLong : dnMonth3, Month);
}

QString NumIODayName(int LangIx, int Day, bool Full)
{
    if (Day < 1 || Day > 7)
        return QString();
    if (LangIx == 0)
        return QStringLiteral("D%1").arg(Day, 2, 10, QLatin1Char('0'));
    return DateName(LangIx >= 1 && LangIx <= 4 ? LangIx : 1, Full ? dnDayLong : dnDayShort, Day);
}

} // namespace qor
