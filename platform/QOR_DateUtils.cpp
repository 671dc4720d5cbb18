#include "QOR_DateUtils.h"

#include <QDateTime>

#include <cmath>
#include <cstring>

namespace qor {

namespace {

constexpr int DaysToDelphiEpoch = 693594;   // days from 1.1.0001 (day 1) to 30.12.1899

const int MonthDays[2][13] = {{0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                              {0, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};

struct LanguageNames {
    const char16_t* MonthLong[12];
    const char16_t* MonthShort[12];
    const char16_t* Month3[12];
    const char16_t* DayLong[7];
    const char16_t* DayShort[7];
};

const LanguageNames Names[4] = {
    {{u"January", u"February", u"March", u"April", u"May", u"June", u"July", u"August", u"September", u"October",
      u"November", u"December"},
     {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun", u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"},
     {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun", u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"},
     {u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday", u"Sunday"},
     {u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat", u"Sun"}},
    {{u"Januar", u"Februar", u"M\u00E4rz", u"April", u"Mai", u"Juni", u"Juli", u"August", u"September", u"Oktober",
      u"November", u"Dezember"},
     {u"Jan", u"Feb", u"M\u00E4r", u"Apr", u"Mai", u"Jun", u"Jul", u"Aug", u"Sep", u"Okt", u"Nov", u"Dez"},
     {u"Jan", u"Feb", u"M\u00E4r", u"Apr", u"Mai", u"Jun", u"Jul", u"Aug", u"Sep", u"Okt", u"Nov", u"Dez"},
     {u"Montag", u"Dienstag", u"Mittwoch", u"Donnerstag", u"Freitag", u"Samstag", u"Sonntag"},
     {u"Mo", u"Di", u"Mi", u"Do", u"Fr", u"Sa", u"So"}},
    {{u"janvier", u"f\u00E9vrier", u"mars", u"avril", u"mai", u"juin", u"juillet", u"ao\u00FBt", u"septembre",
      u"octobre", u"novembre", u"d\u00E9cembre"},
     {u"janv", u"f\u00E9vr", u"mars", u"avr", u"mai", u"juin", u"juil", u"ao\u00FBt", u"sept", u"oct", u"nov",
      u"d\u00E9c"},
     {u"jan", u"f\u00E9v", u"mar", u"avr", u"mai", u"jun", u"jul", u"ao\u00FB", u"sep", u"oct", u"nov", u"d\u00E9c"},
     {u"lundi", u"mardi", u"mercredi", u"jeudi", u"vendredi", u"samedi", u"dimanche"},
     {u"lun", u"mar", u"mer", u"jeu", u"ven", u"sam", u"dim"}},
    {{u"enero", u"febrero", u"marzo", u"abril", u"mayo", u"junio", u"julio", u"agosto", u"septiembre", u"octubre",
      u"noviembre", u"diciembre"},
     {u"ene", u"feb", u"mar", u"abr", u"may", u"jun", u"jul", u"ago", u"sep", u"oct", u"nov", u"dic"},
     {u"ene", u"feb", u"mar", u"abr", u"may", u"jun", u"jul", u"ago", u"sep", u"oct", u"nov", u"dic"},
     {u"lunes", u"martes", u"mi\u00E9rcoles", u"jueves", u"viernes", u"s\u00E1bado", u"domingo"},
     {u"lun", u"mar", u"mi\u00E9", u"jue", u"vie", u"s\u00E1b", u"dom"}},
};

// FormatDateTime counts the days of the week from Sunday.
QString EnglishDayName(int sundayFirst, TDateNameKind kind)
{
    return DateName(1, kind, sundayFirst == 0 ? 7 : sundayFirst);
}

// Whole days of a date-time (the date part; times before 1899 still count from midnight).
int DatePart(TDateTime d)
{
    return int(std::trunc(d));
}

} // namespace

QString DateName(int Lang, TDateNameKind Kind, int Ix)
{
    if (Lang < 1 || Lang > 4)
        return {};
    const LanguageNames& n = Names[Lang - 1];
    const bool month = Kind == dnMonthLong || Kind == dnMonthShort || Kind == dnMonth3;
    if (Ix < 1 || Ix > (month ? 12 : 7))
        return {};
    switch (Kind) {
    case dnMonthLong: return QString::fromUtf16(n.MonthLong[Ix - 1]);
    case dnMonthShort: return QString::fromUtf16(n.MonthShort[Ix - 1]);
    case dnMonth3: return QString::fromUtf16(n.Month3[Ix - 1]);
    case dnDayLong: return QString::fromUtf16(n.DayLong[Ix - 1]);
    case dnDayShort: return QString::fromUtf16(n.DayShort[Ix - 1]);
    }
    return {};
}

bool IsLeapYear(int Year)
{
    return (Year % 4 == 0) && ((Year % 100 != 0) || (Year % 400 == 0));
}

int DaysInAMonth(int Year, int Month)
{
    if (Month < 1 || Month > 12)
        return 0;
    return MonthDays[IsLeapYear(Year)][Month];
}

bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Date)
{
    if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 || Day > DaysInAMonth(Year, Month))
        return false;
    int days = Day;
    for (int m = 1; m < Month; ++m)
        days += MonthDays[IsLeapYear(Year)][m];
    const int y = Year - 1;
    days += y * 365 + y / 4 - y / 100 + y / 400;
    Date = double(days - DaysToDelphiEpoch);
    return true;
}

TDateTime EncodeDate(int Year, int Month, int Day)
{
    TDateTime d = 0;
    if (!TryEncodeDate(Year, Month, Day, d))
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    return d;
}

bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Time)
{
    if (Hour < 0 || Hour > 23 || Min < 0 || Min > 59 || Sec < 0 || Sec > 59 || MSec < 0 || MSec > 999)
        return false;
    Time = (Hour * 3600000.0 + Min * 60000.0 + Sec * 1000.0 + MSec) / 86400000.0;
    return true;
}

TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec)
{
    TDateTime t = 0;
    if (!TryEncodeTime(Hour, Min, Sec, MSec, t))
        throw EConvertError(QStringLiteral("Invalid argument to time encode"));
    return t;
}

void DecodeDate(TDateTime Date, int& Year, int& Month, int& Day)
{
    const QDate base(1899, 12, 30);
    const QDate d = base.addDays(DatePart(Date));
    Year = d.year();
    Month = d.month();
    Day = d.day();
}

void DecodeTime(TDateTime Time, int& Hour, int& Min, int& Sec, int& MSec)
{
    double frac = std::fabs(Time - std::trunc(Time));
    long long ms = std::llround(frac * 86400000.0);
    if (ms >= 86400000)
        ms = 86399999;
    Hour = int(ms / 3600000);
    Min = int(ms / 60000 % 60);
    Sec = int(ms / 1000 % 60);
    MSec = int(ms % 1000);
}

TDateTime Now()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QTime t = now.time();
    return Date() + EncodeTime(t.hour(), t.minute(), t.second(), t.msec());
}

TDateTime Date()
{
    const QDate today = QDate::currentDate();
    return EncodeDate(today.year(), today.month(), today.day());
}

int DayOfTheWeek(TDateTime Date)
{
    // 30.12.1899 was a Saturday (6).
    int d = (DatePart(Date) + 5) % 7;
    if (d < 0)
        d += 7;
    return d + 1;
}

int DayOfWeek(TDateTime Date)
{
    return DayOfTheWeek(Date) % 7 + 1;
}

int DayOfTheYear(TDateTime Date)
{
    int y, m, d;
    DecodeDate(Date, y, m, d);
    return DatePart(Date) - DatePart(EncodeDate(y, 1, 1)) + 1;
}

int WeekOfTheYear(TDateTime Date, int& Year)
{
    // The ISO week belongs to the year of its Thursday.
    const int thursday = DatePart(Date) - DayOfTheWeek(Date) + 4;
    int y, m, d;
    DecodeDate(thursday, y, m, d);
    Year = y;
    return (thursday - DatePart(EncodeDate(y, 1, 1))) / 7 + 1;
}

int WeekOfTheYear(TDateTime Date)
{
    int y;
    return WeekOfTheYear(Date, y);
}

QDateTime ToQDateTime(TDateTime DateTime)
{
    int y, m, d, h, n, s, ms;
    DecodeDate(DateTime, y, m, d);
    DecodeTime(DateTime, h, n, s, ms);
    return QDateTime(QDate(y, m, d), QTime(h, n, s, ms));
}

TDateTime FromQDateTime(const QDateTime& DateTime)
{
    const QDate d = DateTime.date();
    const QTime t = DateTime.time();
    const double days = double(QDate(1899, 12, 30).daysTo(d));
    const double frac = t.isValid() ? t.msecsSinceStartOfDay() / 86400000.0 : 0.0;
    // Before the epoch the time of day still counts forward from midnight.
    return days >= 0 ? days + frac : days - frac;
}

// ---------------------------------------------------------------------------------------------
// FormatDateTime

namespace {

QString Pad(int v, int width)
{
    return QString::number(v).rightJustified(width, QLatin1Char('0'));
}

bool StartsWithCI(const QString& fmt, int i, const char* token)
{
    return fmt.mid(i, int(std::strlen(token))).compare(QLatin1String(token), Qt::CaseInsensitive) == 0;
}

void AppendFormatted(QString& out, const QString& fmt, TDateTime dt, int depth);

// Whether an hour token at position i is followed (before the next hour token) by am/pm.
bool UsesTwelveHourClock(const QString& fmt, int from)
{
    for (int i = from; i < fmt.size(); ++i) {
        if (StartsWithCI(fmt, i, "am/pm") || StartsWithCI(fmt, i, "a/p") || StartsWithCI(fmt, i, "ampm"))
            return true;
        if (fmt[i].toLower() == QLatin1Char('h') && i > from)
            return false;
    }
    return false;
}

void AppendFormatted(QString& out, const QString& fmt, TDateTime dt, int depth)
{
    if (depth > 2)
        return;
    int year, month, day, hour, minute, sec, msec;
    DecodeDate(dt, year, month, day);
    DecodeTime(dt, hour, minute, sec, msec);
    const auto& fs = FormatSettings();
    bool lastWasHour = false;
    const int n = fmt.size();
    int i = 0;
    while (i < n) {
        const QChar c = fmt[i];
        const QChar lc = c.toLower();
        auto run = [&](QChar ch) {
            int k = i;
            while (k < n && fmt[k].toLower() == ch)
                ++k;
            return k - i;
        };
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const int end = fmt.indexOf(c, i + 1);
            const int stop = end < 0 ? n : end;
            out += fmt.mid(i + 1, stop - i - 1);
            i = stop + 1;
            continue;
        }
        if (c == QLatin1Char('/')) {
            out += fs.DateSeparator;
            ++i;
            continue;
        }
        if (c == QLatin1Char(':')) {
            out += fs.TimeSeparator;
            ++i;
            continue;
        }
        if (StartsWithCI(fmt, i, "am/pm")) {
            out += hour < 12 ? QStringLiteral("am") : QStringLiteral("pm");
            if (fmt.mid(i, 5) == QLatin1String("AM/PM"))
                out = out.left(out.size() - 2) + (hour < 12 ? QStringLiteral("AM") : QStringLiteral("PM"));
            i += 5;
            continue;
        }
        if (StartsWithCI(fmt, i, "a/p")) {
            const bool upper = fmt[i].isUpper();
            QString s = hour < 12 ? QStringLiteral("a") : QStringLiteral("p");
            out += upper ? s.toUpper() : s;
            i += 3;
            continue;
        }
        if (StartsWithCI(fmt, i, "ampm")) {
            out += hour < 12 ? fs.TimeAMString : fs.TimePMString;
            i += 4;
            continue;
        }
        if (lc == QLatin1Char('c')) {
            AppendFormatted(out, fs.ShortDateFormat, dt, depth + 1);
            if (dt - std::trunc(dt) != 0) {
                out += QLatin1Char(' ');
                AppendFormatted(out, fs.LongTimeFormat, dt, depth + 1);
            }
            ++i;
            continue;
        }
        if (lc == QLatin1Char('t')) {
            const int k = run(QLatin1Char('t'));
            AppendFormatted(out, k >= 2 ? fs.LongTimeFormat : fs.LongTimeFormat.left(5), dt, depth + 1);
            i += k;
            continue;
        }
        if (lc == QLatin1Char('y')) {
            const int k = run(QLatin1Char('y'));
            out += k <= 2 ? Pad(year % 100, 2) : Pad(year, 4);
            i += k;
            continue;
        }
        if (lc == QLatin1Char('m')) {
            const int k = run(QLatin1Char('m'));
            if (lastWasHour && k <= 2) {
                out += k == 1 ? QString::number(minute) : Pad(minute, 2);
            } else if (k == 1) {
                out += QString::number(month);
            } else if (k == 2) {
                out += Pad(month, 2);
            } else if (k == 3) {
                out += DateName(1, dnMonthShort, month);
            } else {
                out += DateName(1, dnMonthLong, month);
            }
            lastWasHour = false;
            i += k;
            continue;
        }
        if (lc == QLatin1Char('d')) {
            const int k = run(QLatin1Char('d'));
            const int dow = DayOfWeek(dt) - 1;
            if (k == 1)
                out += QString::number(day);
            else if (k == 2)
                out += Pad(day, 2);
            else if (k == 3)
                out += EnglishDayName(dow, dnDayShort);
            else if (k == 4)
                out += EnglishDayName(dow, dnDayLong);
            else
                AppendFormatted(out, fs.ShortDateFormat, dt, depth + 1);
            i += k;
            continue;
        }
        if (lc == QLatin1Char('h')) {
            const int k = run(QLatin1Char('h'));
            int h = hour;
            if (UsesTwelveHourClock(fmt, i)) {
                h = hour % 12;
                if (h == 0)
                    h = 12;
            }
            out += k == 1 ? QString::number(h) : Pad(h, 2);
            lastWasHour = true;
            i += k;
            continue;
        }
        if (lc == QLatin1Char('n')) {
            const int k = run(QLatin1Char('n'));
            out += k == 1 ? QString::number(minute) : Pad(minute, 2);
            i += k;
            continue;
        }
        if (lc == QLatin1Char('s')) {
            const int k = run(QLatin1Char('s'));
            out += k == 1 ? QString::number(sec) : Pad(sec, 2);
            i += k;
            continue;
        }
        if (lc == QLatin1Char('z')) {
            const int k = run(QLatin1Char('z'));
            out += k == 1 ? QString::number(msec) : Pad(msec, 3);
            i += k;
            continue;
        }
        out += c;
        ++i;
    }
}

} // namespace

QString FormatDateTime(const QString& Fmt, TDateTime DateTime)
{
    QString out;
    AppendFormatted(out, Fmt.isEmpty() ? QStringLiteral("c") : Fmt, DateTime, 0);
    return out;
}

} // namespace qor
