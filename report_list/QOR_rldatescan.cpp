#include "QOR_rldatescan.h"

#include <QOR_DateUtils.h>
#include <QOR_NumText.h>

#include <QDate>

namespace qor {

namespace {

using NameFn = QString (*)(int LangIx, int Ix, bool Full);

// 1-based index of the first of Count names the text starts with (case-insensitive), 0 for none.
int MatchName(const QString& text, NameFn names, int LangIx, bool full, int count, int& length)
{
    for (int i = 1; i <= count; ++i) {
        const QString name = names(LangIx, i, full);
        if (text.startsWith(name, Qt::CaseInsensitive)) {
            length = int(name.size());
            return i;
        }
    }
    return 0;
}

bool IsFieldLetter(QChar c)
{
    switch (c.unicode()) {
    case u'y': case u'M': case u'd': case u'H': case u'h': case u'm': case u's': case u't':
        return true;
    default:
        return false;
    }
}

// Takes the next literal off the front of the format (quoted or plain).
QString TakeLiteral(QString& fmt)
{
    QString lit;
    qsizetype i = 0;
    if (fmt[0] == QLatin1Char('\'')) {
        i = 1;
        while (i < fmt.size()) {
            if (fmt[i] == QLatin1Char('\'')) {
                if (i + 1 < fmt.size() && fmt[i + 1] == QLatin1Char('\'')) {
                    lit += QLatin1Char('\'');
                    i += 2;
                    continue;
                }
                ++i;  // closing quote
                break;
            }
            lit += fmt[i++];
        }
    } else {
        while (i < fmt.size() && fmt[i] != QLatin1Char('\'') && !IsFieldLetter(fmt[i]))
            lit += fmt[i++];
    }
    fmt.remove(0, i);
    return lit;
}

// A fixed-width number field: optional blanks, one sign, digits, nothing else.
bool FixedFieldValue(const QString& text, int width, int& value)
{
    const QString field = text.left(width);
    int pos = 1;
    value = ScanDecIntStr(field, pos);
    bool digits = false;
    for (QChar c : field)
        digits = digits || (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
    return digits && pos == field.size() + 1;
}

} // namespace

double ScanDateTimeStr(const QString& Instring, const QString& Format, int LangIx, int& ErrorCode)
{
    QString fmt = Format;
    QString text = Instring;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    bool twelveHour = false, pm = false;
    ErrorCode = dtsOk;

    // Reads a field of fixed width (2 or 4) or, with width 0, of any length.
    auto readNumber = [&](int width, int& target) {
        if (width > 0) {
            if (!FixedFieldValue(text, width, target)) {
                ErrorCode = dtsUnreadableField;
                return;
            }
            text.remove(0, width);
            return;
        }
        // What the integer scanner reads, 0 when there is no digit ("7:" with "H:m" is 07:00).
        int pos = 1;
        target = ScanDecIntStr(text, pos);
        text.remove(0, pos - 1);
    };
    auto readName = [&](NameFn names, int count, bool full, int& target) {
        int length = 0;
        const int ix = MatchName(text, names, LangIx, full, count, length);
        if (ix == 0) {
            ErrorCode = dtsUnreadableField;
            return;
        }
        target = ix;
        text.remove(0, length);
    };

    while (!fmt.isEmpty() && ErrorCode == dtsOk) {
        const QChar letter = fmt[0];
        if (!IsFieldLetter(letter)) {
            const QString lit = TakeLiteral(fmt);
            if (!text.startsWith(lit))
                ErrorCode = dtsLiteralMismatch;
            else
                text.remove(0, lit.size());
            continue;
        }
        int run = 1;
        while (run < fmt.size() && fmt[run] == letter)
            ++run;
        fmt.remove(0, run);
        int unused = 0;
        switch (letter.unicode()) {
        case u'y':
            if (run == 4) {
                readNumber(4, year);
            } else if (run == 2) {
                int n = 0;
                readNumber(2, n);
                const int window = FormatSettings().TwoDigitYearCenturyWindow;
                const int current = QDate::currentDate().year();
                year = (current - window) / 100 * 100 + n;
                if (window != 0 && year < current - window)
                    year += 100;
            } else {
                ErrorCode = dtsUnknownToken;
            }
            break;
        case u'M':
            if (run == 4) {
                readName(NumIOMonthName, 12, true, month);
            } else if (run == 3) {
                // The first three characters must be one of the short names exactly.
                int length = 0;
                const int ix = MatchName(text.left(3), NumIOMonthName, LangIx, false, 12, length);
                if (ix == 0 || length != 3 || text.size() < 3)
                    ErrorCode = dtsUnreadableField;
                else {
                    month = ix;
                    text.remove(0, 3);
                }
            } else if (run <= 2) {
                readNumber(run == 2 ? 2 : 0, month);
            } else {
                ErrorCode = dtsUnknownToken;
            }
            break;
        case u'd':
            if (run > 4)
                ErrorCode = dtsUnknownToken;
            else if (run == 4)
                readName(NumIODayName, 7, true, unused);
            else if (run == 3)
                readName(NumIODayName, 7, false, unused);
            else
                readNumber(run == 2 ? 2 : 0, day);
            break;
        case u'H':
        case u'h':
            if (run > 2) {
                ErrorCode = dtsUnknownToken;
                break;
            }
            readNumber(run == 2 ? 2 : 0, hour);
            if (letter == QLatin1Char('h'))
                twelveHour = true;
            break;
        case u'm':
        case u's':
            if (run > 2) {
                ErrorCode = dtsUnknownToken;
                break;
            }
            readNumber(run == 2 ? 2 : 0, letter == QLatin1Char('m') ? minute : second);
            break;
        case u't':
            if (run > 2) {
                ErrorCode = dtsUnknownToken;
                break;
            }
            pm = run == 1 ? text.left(1).toLower() != QLatin1String("a")
                          : text.left(2).toLower() != QLatin1String("am");
            text.remove(0, run);
            break;
        }
    }

    if (ErrorCode != dtsOk)
        return 0.0;
    if (twelveHour) {
        if (!pm && hour == 12)
            hour = 0;
        else if (pm && hour != 12)
            hour += 12;
    }
    const double time = EncodeTime(hour, minute, second, 0);
    if (year == 0 && month == 0 && day == 0)
        return time;
    const double date = EncodeDate(year, month, day);
    // Before the epoch the day count is negative while the time of day still counts forward.
    return date >= 0 ? date + time : date - time;
}

} // namespace qor
