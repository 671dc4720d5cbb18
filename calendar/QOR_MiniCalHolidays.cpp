// TMiniCal: the holiday table, the built-in holidays in four languages and Easter.
#include "QOR_MiniCal.h"

#include <cstdint>

namespace qor {

namespace {

// Texts by language: English, German, French, Spanish.
using TNames = const char16_t* const[4];

struct TFixedHoliday {
    int Day;
    int Month;
    TNames Name;
};

// Loaded in this order, as repeating holidays.
const TFixedHoliday FixedHolidays[8] = {
    {25, 12, {u"Christmas Day", u"Weihnachten", u"Noël", u"Navidad"}},
    {26, 12, {u"Boxing Day", u"Stephanitag", u"Jour de boxe", u"Día de San Esteban"}},
    {1, 1, {u"New Year's Day", u"Neujahrstag", u"Nouvel An Jour", u"Día de Año Nuevo"}},
    {6, 1, {u"Epiphany", u"Hl. Drei Könige", u"Épiphanie", u"Epifanía"}},
    {15, 8, {u"Assumption of Mary", u"Maria Himmelfahrt", u"Assomption", u"Asunción"}},
    {1, 11, {u"All Saints", u"Allerheiligen", u"La Toussaint", u"Día de Todos los Santos"}},
    {8, 12, {u"Immaculate Conception", u"Maria Empfängnis", u"Immaculée Conception", u"Inmaculada Concepción"}},
    {1, 5, {u"Labor Day", u"Tag der Arbeit", u"Fête du Travail", u"Día del Trabajo"}},
};

struct TMovableHoliday {
    int Offset;   // days after Easter Sunday
    TNames Name;
};

const TMovableHoliday MovableHolidays[6] = {
    {0, {u"Easter Day", u"Ostersonntag", u"Le jour de Pâques", u"Domingo de Resurrección"}},
    {1, {u"Easter Monday", u"Ostermontag", u"Lundi de Pâques", u"Lunes de Pascua"}},
    {39, {u"Ascension Day", u"Christi Himmelfahrt", u"Ascension du Christ", u"Ascensión de Cristo"}},
    {49, {u"Pentecost", u"Pfingstsonntag", u"Dimanche de Pentecôte", u"Domingo de Pentecostés"}},
    {50, {u"Whit Monday", u"Pfingstmontag", u"Lundi de Pentecôte", u"Lunes de Pentecostés"}},
    {60, {u"Corpus Christi", u"Fronleichnam", u"Corpus Christi", u"Corpus Cristi"}},
};

// Days from 1 March to the day before the first of March, April, May and June.
constexpr int DaysBeforeMonth[4] = {0, 31, 61, 92};

} // namespace

// Gauss's rule in Lichtenberg's form, in 64 bits so that no year overflows.
void CalcEasterSunday(int Year, int& Day, int& Month)
{
    const std::int64_t y = Year;
    const std::int64_t k = y / 100;
    const std::int64_t m = 15 + (3 * k + 3) / 4 - (8 * k + 13) / 25;
    const std::int64_t s = 2 - (3 * k + 3) / 4;
    const std::int64_t a = y % 19;
    const std::int64_t d = (19 * a + m) % 30;
    const std::int64_t r = (d + a / 11) / 29;
    const std::int64_t og = 21 + d - r;
    const std::int64_t sz = 7 - (y + y / 4 + s) % 7;
    const std::int64_t oe = 7 - (og - sz) % 7;
    Month = 3;
    Day = int(og + oe);
    if (Day > 31) {
        Month = 4;
        Day -= 31;
    }
}

TLanguage TMiniCal::TextLanguage() const
{
    return FLanguage >= lgEnglish && FLanguage <= lgSpanish ? FLanguage : lgEnglish;
}

// The constructor's table has its 8 rows already; a language change starts from none.
void TMiniCal::LoadBuiltInHolidays()
{
    const int lang = TextLanguage() - 1;
    FHDayList->Resize(3, 8);
    FHDayCaptions.clear();
    for (int i = 0; i < 8; ++i) {
        const TFixedHoliday& h = FixedHolidays[i];
        FHDayList->SetVal(1, i + 1, h.Day);
        FHDayList->SetVal(2, i + 1, h.Month);
        FHDayList->SetVal(3, i + 1, RepeatYear);
        FHDayCaptions.append(QString::fromUtf16(h.Name[lang]));
    }
}

void TMiniCal::AppendHoliday(int Day, int Mon, int Year, const QString& Caption)
{
    const int row = NumHolidays() + 1;
    FHDayList->SetNRows(row);
    FHDayList->SetVal(1, row, Day);
    FHDayList->SetVal(2, row, Mon);
    FHDayList->SetVal(3, row, Year);
    FHDayCaptions.append(Caption);
    // Only a holiday of the shown month changes what the calendar shows.
    if (Mon == FLayout.Month && (Year == RepeatYear || Year == FLayout.Year))
        UpdateCal();
}

void TMiniCal::AddHoliday(int Day, int Mon, int Year, const QString& Caption)
{
    AppendHoliday(Day, Mon, Year, Caption);
}

void TMiniCal::AddRepeatHoliday(int Day, int Mon, const QString& Caption)
{
    AppendHoliday(Day, Mon, RepeatYear, Caption);
}

void TMiniCal::ClearHolidayList()
{
    FHDayList->Resize(3, 0);
    FHDayCaptions.clear();
    UpdateCal();
    Repaint();
}

void TMiniCal::CopyHolidays(const TMiniCal& Source)
{
    const int rows = Source.NumHolidays();
    FHDayList->Resize(3, rows);
    for (int r = 1; r <= rows; ++r)
        for (int c = 1; c <= 3; ++c)
            FHDayList->SetVal(c, r, Source.FHDayList->GetVal(c, r));
    FHDayCaptions = Source.FHDayCaptions;
}

bool TMiniCal::RetrieveHoliday(int HDIndex, int& Day, int& Month, int& Year, bool& IsRepeatHDay,
                               QString& Description) const
{
    if (HDIndex < 1 || HDIndex > NumHolidays())
        return false;
    Day = FHDayList->GetVal(1, HDIndex);
    Month = FHDayList->GetVal(2, HDIndex);
    Year = FHDayList->GetVal(3, HDIndex);
    IsRepeatHDay = Year == RepeatYear;
    Description = FHDayCaptions.value(HDIndex - 1);
    return true;
}

bool TMiniCal::RowMatches(int Row, int Year, int Month, int Day) const
{
    const int y = FHDayList->GetVal(3, Row);
    return FHDayList->GetVal(1, Row) == Day && FHDayList->GetVal(2, Row) == Month && (y == RepeatYear || y == Year);
}

bool TMiniCal::MovableHoliday(int Year, int Month, int Day, QString& Caption) const
{
    if (!FShowMovHdays || Month < 3 || Month > 6)
        return false;
    int easterDay, easterMonth;
    CalcEasterSunday(Year, easterDay, easterMonth);
    const int easter = easterMonth == 3 ? easterDay : easterDay + 31;
    const int n = Day + DaysBeforeMonth[Month - 3];
    for (const TMovableHoliday& h : MovableHolidays)
        if (n == easter + h.Offset) {
            Caption = QString::fromUtf16(h.Name[TextLanguage() - 1]);
            return true;
        }
    return false;
}

bool TMiniCal::CheckHoliday(int Year, int Month, int Day, QString& Caption) const
{
    Caption.clear();
    for (int r = 1; r <= NumHolidays(); ++r)
        if (RowMatches(r, Year, Month, Day)) {
            Caption = FHDayCaptions.value(r - 1);
            return true;
        }
    return MovableHoliday(Year, Month, Day, Caption);
}

// What CheckHoliday gives for every day of the shown month, in one pass over the table.
void TMiniCal::FindHolidaysOfMonth()
{
    TMonthLayout& l = FLayout;
    l.IsHoliday.fill(false);
    l.Holiday.fill(QString());
    if (!FIndicateHolid)
        return;
    for (int r = 1; r <= NumHolidays(); ++r) {
        const int d = FHDayList->GetVal(1, r);
        if (d >= 1 && d <= l.Days && !l.IsHoliday[std::size_t(d)] && RowMatches(r, l.Year, l.Month, d)) {
            l.IsHoliday[std::size_t(d)] = true;
            l.Holiday[std::size_t(d)] = FHDayCaptions.value(r - 1);
        }
    }
    for (int d = 1; d <= l.Days; ++d)
        if (!l.IsHoliday[std::size_t(d)])
            l.IsHoliday[std::size_t(d)] = MovableHoliday(l.Year, l.Month, d, l.Holiday[std::size_t(d)]);
}

} // namespace qor
