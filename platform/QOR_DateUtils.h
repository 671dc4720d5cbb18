// Date and time helpers of the run-time library. TDateTime counts days since 30 December 1899;
// the fraction is the time of day.
#pragma once

#include "QOR_SysUtils.h"

#include <QDateTime>

#include <cstdint>

namespace qor {

// A date and time: days since 30 December 1899 (negative before it); the fraction is the time
// of day, counted forward from midnight also for dates before 1899 (-1.25 is 29.12.1899 06:00).
using TDateTime = double;

// Gregorian leap year: divisible by 4, except centuries not divisible by 400.
KORVANE_EXPORT bool IsLeapYear(int Year);
KORVANE_EXPORT int DaysInAMonth(int Year, int Month);            // 0 for an invalid month
// EConvertError "Invalid argument to date encode" for dates outside 1.1.1..31.12.9999.
KORVANE_EXPORT TDateTime EncodeDate(int Year, int Month, int Day);
// EncodeDate without the exception: false (Date unchanged) for an invalid date.
KORVANE_EXPORT bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Date);
// EConvertError "Invalid argument to time encode" unless 0..23, 0..59, 0..59, 0..999.
KORVANE_EXPORT TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec);
// EncodeTime without the exception: false (Time unchanged) for an invalid time.
KORVANE_EXPORT bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Time);
// The calendar date of Date's whole days (the time of day is ignored).
KORVANE_EXPORT void DecodeDate(TDateTime Date, int& Year, int& Month, int& Day);
// The time of day of Time's fraction, rounded to the millisecond (never past 23:59:59.999).
KORVANE_EXPORT void DecodeTime(TDateTime Time, int& Hour, int& Min, int& Sec, int& MSec);
// The local date and time now, to the millisecond.
KORVANE_EXPORT TDateTime Now();
// Today's local date, at midnight.
KORVANE_EXPORT TDateTime Date();
// Monday = 1 .. Sunday = 7.
KORVANE_EXPORT int DayOfTheWeek(TDateTime Date);
// Sunday = 1 .. Saturday = 7, as the classic DayOfWeek.
KORVANE_EXPORT int DayOfWeek(TDateTime Date);
// ISO 8601 week number (weeks start on Monday; week 1 holds the first Thursday).
KORVANE_EXPORT int WeekOfTheYear(TDateTime Date);
// ISO 8601 week number, with Year set to the year the week belongs to (the year of its
// Thursday, which differs from the date's year around New Year).
KORVANE_EXPORT int WeekOfTheYear(TDateTime Date, int& Year);
// Day of the year: 1 for 1 January .. 365 or 366.
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
// The name of month or weekday Ix in language Lang (see the list above); empty for a Lang or
// Ix out of range.
KORVANE_EXPORT QString DateName(int Lang, TDateNameKind Kind, int Ix);

// Conversions to and from Qt's date-time (local time, millisecond precision).
KORVANE_EXPORT QDateTime ToQDateTime(TDateTime DateTime);
// The TDateTime of a Qt date-time; an invalid time counts as midnight, an invalid date as day 0.
KORVANE_EXPORT TDateTime FromQDateTime(const QDateTime& DateTime);

// FormatDateTime with the run-time library's tokens: d dd ddd dddd, m mm mmm mmmm, yy yyyy,
// h hh, n nn, s ss, z zzz, am/pm, a/p, ampm, c (short date + long time), ddddd (short date),
// t/tt (time), "/" and ":" (the separators of FormatSettings()), quoted text '...' and "...".
// Month and day names are English.
KORVANE_EXPORT QString FormatDateTime(const QString& Fmt, TDateTime DateTime);

} // namespace qor
