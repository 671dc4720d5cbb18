// Date and time helpers of the run-time library. TDateTime counts days since 30 December 1899;
// the fraction is the time of day.
#pragma once

#include "QOR_SysUtils.h"

#include <QDateTime>

#include <cstdint>

namespace qor {

using TDateTime = double;

KORVANE_EXPORT bool IsLeapYear(int Year);
KORVANE_EXPORT int DaysInAMonth(int Year, int Month);            // 0 for an invalid month
// EConvertError "Invalid argument to date encode" for dates outside 1.1.1..31.12.9999.
KORVANE_EXPORT TDateTime EncodeDate(int Year, int Month, int Day);
KORVANE_EXPORT bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Date);
// EConvertError "Invalid argument to time encode" unless 0..23, 0..59, 0..59, 0..999.
KORVANE_EXPORT TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec);
KORVANE_EXPORT bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Time);
KORVANE_EXPORT void DecodeDate(TDateTime Date, int& Year, int& Month, int& Day);
KORVANE_EXPORT void DecodeTime(TDateTime Time, int& Hour, int& Min, int& Sec, int& MSec);
KORVANE_EXPORT TDateTime Now();
KORVANE_EXPORT TDateTime Date();
// Monday = 1 .. Sunday = 7.
KORVANE_EXPORT int DayOfTheWeek(TDateTime Date);
// Sunday = 1 .. Saturday = 7, as the classic DayOfWeek.
KORVANE_EXPORT int DayOfWeek(TDateTime Date);
// ISO 8601 week number (weeks start on Monday; week 1 holds the first Thursday).
KORVANE_EXPORT int WeekOfTheYear(TDateTime Date);
KORVANE_EXPORT int WeekOfTheYear(TDateTime Date, int& Year);
KORVANE_EXPORT int DayOfTheYear(TDateTime Date);

// Month and weekday names: the one table every unit that shows or reads them derives its own
// from. Lang follows the interface languages: 1 English, 2 German, 3 French, 4 Spanish. Names
// are spelt as in running text, so French and Spanish ones are lower case.
//   dnMonthLong   "January", "janvier"
//   dnMonthShort  at most 4 characters, as a calendar heads its months: "Jan", "janv", "juil"
//   dnMonth3      exactly 3 characters, as a date text abbreviates them: "Jan", "jan", "jul"
//   dnDayLong     "Monday", "lundi"
//   dnDayShort    at most 3 characters: "Mon", "Mo", "lun"
// Ix is the month 1..12 or the day 1 (Monday) .. 7 (Sunday); "" outside or for another Lang.
enum TDateNameKind : std::uint8_t { dnMonthLong, dnMonthShort, dnMonth3, dnDayLong, dnDayShort };
KORVANE_EXPORT QString DateName(int Lang, TDateNameKind Kind, int Ix);

// Conversions to and from Qt's date-time (local time, millisecond precision).
KORVANE_EXPORT QDateTime ToQDateTime(TDateTime DateTime);
KORVANE_EXPORT TDateTime FromQDateTime(const QDateTime& DateTime);

// FormatDateTime with the run-time library's tokens: d dd ddd dddd, m mm mmm mmmm, yy yyyy,
// h hh, n nn, s ss, z zzz, am/pm, a/p, ampm, c (short date + long time), ddddd (short date),
// t/tt (time), "/" and ":" (the separators of FormatSettings()), quoted text '...' and "...".
// Month and day names are English.
KORVANE_EXPORT QString FormatDateTime(const QString& Fmt, TDateTime DateTime);

} // namespace qor
