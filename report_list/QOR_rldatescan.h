// The date/time scanner of the report list: reads a date typed against a column's date format
// (the row editor's date picker starts from it).
#pragma once

#include <QOR_SysUtils.h>

#include <QString>

namespace qor {

// Error codes of ScanDateTimeStr.
enum : int { dtsOk = 0, dtsLiteralMismatch = -1, dtsUnknownToken = -2, dtsUnreadableField = -3 };
// Reads a date/time typed against Format (tokens yyyy yy MMMM MMM MM M dddd ddd dd d HH H hh h
// mm m ss s t tt, quoted and plain literals). LangIx selects the month and day names: 0 neutral
// (M01.., D01..), 1 English, 2 German, 3 French, 4 Spanish. Fixed-width fields (yyyy, yy, MM,
// dd, HH, hh, mm, ss) need their digits; fields of any length (M, d, H, h, m, s) read as an
// integer scan reads (0 without a digit). A run of a field letter that is no token (yyy,
// MMMMM, ddddd, hhh, ...) gives dtsUnknownToken. ErrorCode is one of the dts codes; the
// result is 0 unless it is dtsOk. A date or time out of range raises EConvertError.
KORVANE_EXPORT double ScanDateTimeStr(const QString& Instring, const QString& Format, int LangIx, int& ErrorCode);

} // namespace qor
