// What the implementation files of TMiniCal share: the range of dates and the day of a date.
#pragma once

#include <QOR_DateUtils.h>

#include <QDate>

namespace qor::minical {

// The first and the last day the calendar takes: 1.1.1 and 31.12.9999.
constexpr TDateTime FirstDate = -693593;
constexpr TDateTime LastDate = 2958465;

inline bool InDateRange(TDateTime d)
{
    return d >= FirstDate && d <= LastDate;
}

// The day of a whole-day date (QDate also covers the weeks just outside the range).
inline QDate ToQDate(TDateTime d)
{
    return QDate(1899, 12, 30).addDays(qint64(d));
}

} // namespace qor::minical
