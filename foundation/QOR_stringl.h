// String utilities of the base package.
#pragma once

#include <QOR_SysUtils.h>

#include <QString>
#include <QStringList>

namespace qor {

// A list of strings, as Tokenize fills it.
using TOpenStringArray = QStringList;

// Splits Text at every character of Delimiters; runs of delimiters count as one and no empty
// part is produced. Parts receives the parts; the result is their number.
KORVANE_EXPORT int Tokenize(const QString& Text, const QString& Delimiters, TOpenStringArray& Parts);
// 1-based position of the N-th occurrence of Sub in Text, searching from position Start
// (1-based); 0 when there are fewer than N occurrences, Sub is empty or N < 1. Occurrences do
// not overlap. IgnoreCase compares without regard to case.
KORVANE_EXPORT int NumberedPos(const QString& Sub, const QString& Text, int Start, int N, bool IgnoreCase);
// Text with every OldChar replaced by NewChar.
KORVANE_EXPORT QString ReplaceCharInString(const QString& Text, QChar OldChar, QChar NewChar);
// Text ending in Ch (appended when missing; an empty text becomes Ch).
KORVANE_EXPORT QString EnsureTrailingChar(const QString& Text, QChar Ch);
// Text ending in the platform's path separator ("/" here, "\" on Windows).
KORVANE_EXPORT QString EnsureTrailingBkSlash(const QString& Text);
// Text without the leading / trailing run of characters contained in Chars.
KORVANE_EXPORT QString StripLeadingChars(const QString& Text, const QString& Chars);
// Text without the trailing run of characters contained in Chars.
KORVANE_EXPORT QString StripTrailingChars(const QString& Text, const QString& Chars);
// Text without characters below 32 (tabs and line breaks included) and without DEL (127).
KORVANE_EXPORT QString RemoveControlChars(const QString& Text);
// Text left-aligned in a field of N characters: padded with blanks, or cut to N.
KORVANE_EXPORT QString LeftString(const QString& Text, int N);
// Value with Decimals decimals (point as separator), right-aligned in at least Width
// characters; Decimals < 0 gives the scientific layout "-d.ddddddddddddddE+ddd".
KORVANE_EXPORT QString strff(double Value, int Width, int Decimals);
// The integer that starts at index From (0-based) of Text: blanks skipped, one "+" or "-", then
// decimal digits up to the first non-digit; no digits give 0. Saturates at +-1,000,000,000.
KORVANE_EXPORT int LeadingInteger(const QString& Text, qsizetype From = 0);

} // namespace qor
