// Number text: the scanners, checkers and formatters shared by the numeric fields, the meter's
// scale labels, the table editor, the progress bar and the report list's row editor.
//
// Positions in texts are 1-based, as the routines count them. Separator choices are the
// ordinals of TDecPSep: 0 the platform's separator (FormatSettings().DecimalSeparator),
// 1 point, 2 comma, 3 point or comma. None of the number routines raises on bad text.
#pragma once

#include <QOR_SysUtils.h>
#include <QOR_qorbase.h>

#include <QObject>
#include <QString>
#include <cstdint>

namespace qor {

inline namespace QOR_NumIO {
Q_NAMESPACE_EXPORT(KORVANE_EXPORT)
// Input format of the numeric fields.
enum TInFormat : std::uint8_t { itExp, itFloat, itFixPoint, itInt, itHex, itOct, itBin, itDynamic };
Q_ENUM_NS(TInFormat)
} // namespace QOR_NumIO

// The separator choice 0 resolved against the platform separator: 1 (point) when it is ".",
// else 2 (comma). 1, 2 and 3 pass unchanged; anything else counts as 3.
KORVANE_EXPORT int ResolveDecPSep(int DecPSep);
// The separator character of a choice: "," for 2, the platform separator for 0, else ".".
KORVANE_EXPORT QChar DecPSepChar(int DecPSep);

// Reads a real number from Pos on (separator choice 1, 2 or 3; 0 is taken as the platform's).
// Pos is left on the character that ended the scan: the whole text is a number exactly when
// Pos == length + 1 afterwards. A syntax error gives 0. Exponents are cut to their longest
// prefix not above 4200; the result is clamped to +-uc_MaxDouble.
KORVANE_EXPORT double ScanFloatStr(const QString& Instring, bool ExpAllowed, int DecPSep, int& Pos);
// The same, telling whether it read a number: at least one digit before any exponent, and no
// syntax error (a lone sign or point, "1..", "-e5" are none).
KORVANE_EXPORT double ScanFloatStr(const QString& Instring, bool ExpAllowed, int DecPSep, int& Pos, bool& IsNumber);
// Whether the text starts with a real number (exponent optional), the end being marked by any
// character that cannot continue it. Exponents above 4200 are rejected; empty text is invalid.
KORVANE_EXPORT bool CheckFloatExpStr(const QString& Instring, bool ExpAllowed, int DecPSep);
// Whether the text is a real number or the beginning of one ("-", ".", "-.", "12." pass);
// no blanks, no exponent; empty text is invalid.
KORVANE_EXPORT bool CheckFloatStr(const QString& Instring, int DecPSep);
// CheckFloatStr plus the layout of a fixed-point number with DecPlaces decimals: the first "."
// sits exactly DecPlaces characters before the end (a text without "." must be DecPlaces long).
// Where only the comma is accepted, the "," takes the place of the ".".
KORVANE_EXPORT bool CheckFixPointStr(const QString& Instring, int DecPSep, int DecPlaces);
// Whether the text is a decimal integer: digits with an optional leading "+" or "-" (a lone
// sign fails); no blanks, no range check; empty text is invalid.
KORVANE_EXPORT bool CheckIntStr(const QString& Instring);
// Whether every character is a hexadecimal digit (either case); no "$", no blanks; empty fails.
KORVANE_EXPORT bool CheckHexStr(const QString& Instring);
// Whether every character is an octal digit 0 .. 7; empty text is invalid.
KORVANE_EXPORT bool CheckOctStr(const QString& Instring);
// Whether every character is 0 or 1; empty text is invalid.
KORVANE_EXPORT bool CheckBinStr(const QString& Instring);

// Integer scanners: skip blanks, read the digits of the base from Pos on and leave Pos on the
// first character not used. 32-bit arithmetic, wrapping silently.
// ScanDecIntStr takes one sign; ScanHexStr skips a "$" at position 1.
KORVANE_EXPORT std::int32_t ScanDecIntStr(const QString& Instring, int& Pos);
// Hexadecimal digits (either case), after an optional "$" at position 1; no sign.
KORVANE_EXPORT std::int32_t ScanHexStr(const QString& Instring, int& Pos);
// Octal digits 0 .. 7; no sign. No digit at all gives 0 with Pos past the blanks.
KORVANE_EXPORT std::int32_t ScanOctStr(const QString& Instring, int& Pos);
// Binary digits 0 and 1; no sign. No digit at all gives 0 with Pos past the blanks.
KORVANE_EXPORT std::int32_t ScanBinStr(const QString& Instring, int& Pos);

// Fixed-width rendering of a real number ("." is always the separator).
//  Decimals >= 0:  fixed, right-aligned in |Width| characters, never cut.
//  Decimals == -2: scientific with |Width| - 7 fraction digits and a two-digit exponent
//                  (" 1.23450E+03" for Width 12); an exponent of 100 or more gives a row of "*".
//  other negatives: scientific in exactly |Width| characters (|Width| - 9 fraction digits) with
//                  a four-digit exponent.
// A negative Width pads with zeros instead of blanks ("-01.50"). Any width works; a field is
// at most MaxFieldWidth characters wide (wider ones count as that), so no width asks for more
// memory than a few megabytes. The digits are those of the double's exact decimal value,
// rounded half away from zero, so every build gives the same text.
constexpr int MaxFieldWidth = 1 << 20;
// Value rendered as laid out above; NaN and infinities read "NAN", "+INF", "-INF", right-aligned
// in the width, and a negative zero renders as zero.
KORVANE_EXPORT QString FormatRealStr(int Width, int Decimals, double Value);

// Exactly NrDigits digits (clamped to 1..16, 1..11, 1..32) of the value taken as unsigned.
KORVANE_EXPORT QString HexDigitStr(std::int32_t Value, int NrDigits);
// Octal digits, NrDigits clamped to 1 .. 11; higher digits than asked for are dropped.
KORVANE_EXPORT QString OctDigitStr(std::int32_t Value, int NrDigits);
// Binary digits, NrDigits clamped to 1 .. 32; higher digits than asked for are dropped.
KORVANE_EXPORT QString BinDigitStr(std::int32_t Value, int NrDigits);

// The month and day names the report list's ScanDateTimeStr matches: LangIx 0 neutral (M01..,
// D01..), 1 English, 2 German, 3 French, 4 Spanish (others count as 1); Month 1..12, Day 1 =
// Monday .. 7; "" outside.
KORVANE_EXPORT QString NumIOMonthName(int LangIx, int Month, bool Full);
// Day name (Day 1 = Monday .. 7 = Sunday), full or short, in the language LangIx as above;
// "" for a day outside 1 .. 7.
KORVANE_EXPORT QString NumIODayName(int LangIx, int Day, bool Full);

} // namespace qor
