// Run-time library services the components rely on: exceptions, number rounding and
// conversion, Format-style layouts, the process-wide format settings and the application-wide
// exception handler.
#pragma once

#include <QString>
#include <QChar>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <stdexcept>
#include <variant>

#include "korvane_export.h"

namespace qor {

// ---------------------------------------------------------------------------------------------
// Exceptions

// Root of every exception the library raises. what() is the UTF-8 message.
class KORVANE_EXPORT Exception : public std::runtime_error {
public:
    // An exception carrying msg (what() gives it in UTF-8).
    explicit Exception(const QString& msg);
    // The message as given to the constructor.
    QString Message() const { return FMessage; }
private:
    QString FMessage;
};

// A conversion failed: text that is no number, an invalid date, an unsupported Assign pair.
class KORVANE_EXPORT EConvertError : public Exception {
public:
    // An exception carrying msg (what() gives it in UTF-8).
    using Exception::Exception;
};

// A file could not be opened, read or written.
class KORVANE_EXPORT EInOutError : public Exception {
public:
    // An exception carrying msg (what() gives it in UTF-8).
    using Exception::Exception;
};

// Integer arithmetic overflowed.
class KORVANE_EXPORT EIntOverflow : public Exception {
public:
    // An exception carrying msg (what() gives it in UTF-8).
    using Exception::Exception;
};

// The application-wide handler for exceptions that escape an event loop callback (timer ticks).
// The default prints the message to stderr and carries on. Pass an empty function to restore it.
using TExceptionHandler = std::function<void(const std::exception&)>;
// Installs handler for every later HandleException; an empty function restores the default.
KORVANE_EXPORT void SetExceptionHandler(TExceptionHandler handler);
// Passes e to the installed handler, or prints "Korvane: unhandled exception: <message>" to
// stderr when none is installed.
KORVANE_EXPORT void HandleException(const std::exception& e);
// HandleException for an exception of no known type.
KORVANE_EXPORT void HandleUnknownException();
// Runs fn and routes any exception to HandleException: what every event handler, paint and
// timer tick runs under, so no exception reaches Qt's event loop.
template <class F>
void GuardedCall(F&& fn) noexcept
{
    try {
        fn();
    } catch (const std::exception& e) {
        HandleException(e);
    } catch (...) {
        HandleUnknownException();
    }
}

// ---------------------------------------------------------------------------------------------
// Process-wide format settings (what the host's locale settings are to the run-time library).
// Tests and programs may change them; every number and date routine reads them.
struct KORVANE_EXPORT TFormatSettings {
    QChar DecimalSeparator = QLatin1Char('.'); // separates the integer part from the decimals
    QChar ThousandSeparator = QLatin1Char(','); // groups thousands (ffNumber, %n)
    QChar DateSeparator = QLatin1Char('.'); // replaces "/" in date layouts
    QChar TimeSeparator = QLatin1Char(':'); // replaces ":" in time layouts
    QString ShortDateFormat = QStringLiteral("dd.mm.yyyy"); // the date layout of the "c" and "ddddd" tokens
    QString LongTimeFormat = QStringLiteral("hh:nn:ss"); // the time layout of "c" and "tt"; "t" takes its first 5 characters
    QString TimeAMString = QStringLiteral("AM"); // the morning text of the "ampm" token
    QString TimePMString = QStringLiteral("PM"); // the afternoon text of the "ampm" token
    // Two-digit years yy are taken from the century window that starts
    // TwoDigitYearCenturyWindow years before the current year (0 = no window: 20yy).
    int TwoDigitYearCenturyWindow = 50;
};
// The settings every number and date routine reads; changes take effect at once, for the
// whole process (not thread-safe).
KORVANE_EXPORT TFormatSettings& FormatSettings();
// Resets FormatSettings() to the built-in defaults above.
KORVANE_EXPORT void ResetFormatSettings();

// ---------------------------------------------------------------------------------------------
// Rounding and number parts

// To nearest, halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2). Throws EConvertError when the
// value is not finite or does not fit in 64 bits.
KORVANE_EXPORT std::int64_t Round(double x);
// Round for a long double argument: halves to even, EConvertError when not finite or too big
// for 64 bits.
KORVANE_EXPORT std::int64_t Round(long double x);
// To nearest, halves to even, held to -Limit .. Limit (at most about 9.2e18); NaN gives 0.
// For arithmetic that must never fail or wrap: pixel positions, digit strings of any double.
KORVANE_EXPORT std::int64_t RoundSaturated(double x, double Limit);
// Toward zero; same errors as Round.
KORVANE_EXPORT std::int64_t Trunc(double x);
// Trunc for a long double argument: toward zero, EConvertError when not finite or too big
// for 64 bits.
KORVANE_EXPORT std::int64_t Trunc(long double x);
// Integer and fractional part with the sign of x (Int(-2.5) = -2.0, Frac(-2.5) = -0.5).
KORVANE_EXPORT double Int(double x);
// The fractional part, x - Int(x): in (-1, 1), with the sign of x.
KORVANE_EXPORT double Frac(double x);
// a * b / c with a 64-bit intermediate, rounded to nearest; -1 when c is 0.
KORVANE_EXPORT int MulDiv(int a, int b, int c);

// ---------------------------------------------------------------------------------------------
// Text <-> number

// Val-like conversion: optional blanks, sign, digits, point as the decimal separator, optional
// exponent. Code is 0 on success, else the 1-based position of the first bad character.
KORVANE_EXPORT double ValDouble(const QString& s, int& Code);
// Integer conversion of the run-time library: optional blanks before, sign, decimal digits or
// "$"/"0x" hexadecimal. Code as ValDouble; the value must fit in 32 bits.
KORVANE_EXPORT int ValInt(const QString& s, int& Code);
KORVANE_EXPORT int StrToInt(const QString& s);               // EConvertError on failure
// StrToInt with Default in place of the exception.
KORVANE_EXPORT int StrToIntDef(const QString& s, int Default);
// StrToInt without the exception: false (Value unchanged) when s is no 32-bit integer.
KORVANE_EXPORT bool TryStrToInt(const QString& s, int& Value);
KORVANE_EXPORT std::int64_t StrToInt64(const QString& s);    // EConvertError on failure
KORVANE_EXPORT double StrToFloat(const QString& s);          // DecimalSeparator; EConvertError
// StrToFloat without the exception: false (Value unchanged) when s is no number.
KORVANE_EXPORT bool TryStrToFloat(const QString& s, double& Value);
// Decimal digits of v, with "-" before negative values and no grouping.
KORVANE_EXPORT QString IntToStr(std::int64_t v);
KORVANE_EXPORT QString IntToHex(std::uint64_t v, int Digits);  // upper case, at least Digits

// Floating-point layouts, as the run-time library's FloatToStrF formats.
enum TFloatFormat : std::uint8_t { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };
// ffGeneral: shortest of fixed and scientific with Precision significant digits (trailing
//   zeros dropped; scientific when the exponent >= Precision or the value < 1E-5: "1.5E-7").
// ffExponent: "-d.ddddE+ddd" with Precision digits and at least Digits exponent digits.
// ffFixed: Digits decimals (scientific when the value has more than Precision integer digits).
// ffNumber: as ffFixed with thousand separators.
KORVANE_EXPORT QString FloatToStrF(long double Value, TFloatFormat Format, int Precision, int Digits);
// ffGeneral with 15 significant digits.
KORVANE_EXPORT QString FloatToStr(double Value);

// Format with the layouts of the run-time library:
//   %[-][width][.prec]d  integer, at least prec digits
//   %[-][width]u         unsigned decimal (an integer read as 64 unsigned bits)
//   %[-][width][.prec]x  upper-case hexadecimal
//   %[-][width][.prec]e  scientific "-d.ddd...E+ddd", prec significant digits (default 15)
//   %[-][width][.prec]f  fixed, prec decimals (default 2)
//   %[-][width][.prec]g  general, prec significant digits (default 15)
//   %[-][width][.prec]n  fixed with thousand separators
//   %[-][width][.prec]s  text, cut to prec characters
//   %%                   a percent sign
// Width pads with blanks on the left ('-' pads on the right). A mismatch of argument and
// specifier, or too few arguments, raises EConvertError.
using TFormatArg = std::variant<std::int64_t, long double, QString>;
// One argument of Format: an integer (any integer type, held as 64 bits), a floating-point
// value or a text (const char* is read as UTF-8).
class KORVANE_EXPORT FormatArg {
public:
    // An integer argument, for %d, %u and %x.
    FormatArg(int v) : FValue(std::int64_t(v)) {}
    // An integer argument, for %d, %u and %x.
    FormatArg(unsigned v) : FValue(std::int64_t(v)) {}
    // An integer argument, for %d, %u and %x.
    FormatArg(long v) : FValue(std::int64_t(v)) {}
    // An integer argument, for %d, %u and %x.
    FormatArg(long long v) : FValue(std::int64_t(v)) {}
    // An integer argument, for %d, %u and %x (values above the int64 range read as negative
    // with %d; %u and %x show them as given).
    FormatArg(unsigned long v) : FValue(std::int64_t(v)) {}
    // An integer argument, for %d, %u and %x (values above the int64 range read as negative
    // with %d; %u and %x show them as given).
    FormatArg(unsigned long long v) : FValue(std::int64_t(v)) {}
    // A floating-point argument, for %e, %f, %g and %n.
    FormatArg(double v) : FValue((long double)v) {}
    // A floating-point argument, for %e, %f, %g and %n.
    FormatArg(long double v) : FValue(v) {}
    // A text argument, for %s.
    FormatArg(const QString& v) : FValue(v) {}
    // A text argument in UTF-8, for %s.
    FormatArg(const char* v) : FValue(QString::fromUtf8(v)) {}
    // The held argument: int64, long double or QString.
    const TFormatArg& Value() const { return FValue; }
private:
    TFormatArg FValue;
};
// Fmt with each specifier replaced by the next of Args (the specifiers are listed at
// TFormatArg); arguments left over are ignored.
KORVANE_EXPORT QString Format(const QString& Fmt, std::initializer_list<FormatArg> Args);

// Blanks and control characters (<= ' ') removed at both ends / one end.
KORVANE_EXPORT QString Trim(const QString& s);
// s without its leading blanks and control characters.
KORVANE_EXPORT QString TrimLeft(const QString& s);
// s without its trailing blanks and control characters.
KORVANE_EXPORT QString TrimRight(const QString& s);

// ---------------------------------------------------------------------------------------------
// Memory

// Bytes the process can still take without pushing the machine into swapping: the memory the
// system reports available, within the limit of the process's control group where it has one.
// Readers of files use it to refuse sizes no machine could build, without a fixed cap.
KORVANE_EXPORT std::uint64_t AvailableMemoryBytes();

} // namespace qor
