// Month calendar: Easter, the holiday table, the month layout, stepping through months and
// years, Day/Month/Year and their conversion error, and what each setter reports.
#include <gtest/gtest.h>

#include <QSignalSpy>

#include <cmath>
#include <limits>

#include "test_minical_support.h"

using namespace qor;
using mctest::D;
using mctest::Ymd;

namespace {

// Easter by the anonymous Gregorian algorithm (Meeus, Jones, Butcher), written apart from the
// rule the calendar uses.
QDate EasterReference(int y)
{
    const int a = y % 19, b = y / 100, c = y % 100, d = b / 4, e = b % 4;
    const int f = (b + 8) / 25, g = (b - f + 1) / 3, h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4, k = c % 4, l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int month = (h + l - 7 * m + 114) / 31, day = (h + l - 7 * m + 114) % 31 + 1;
    return QDate(y, month, day);
}

QString Holiday(const TMiniCal& c, int y, int m, int d)
{
    QString caption = QStringLiteral("untouched");
    return c.CheckHoliday(y, m, d, caption) ? caption : QStringLiteral("-");
}

struct Counter {
    int Changes = 0;
    explicit Counter(TMiniCal& c) { c.OnChange = [this](QObject*) { ++Changes; }; }
};

} // namespace

TEST(MiniCalEaster, MatchesAnIndependentRuleOverTheGregorianYears)
{
    for (int y = 1583; y <= 9999; ++y) {
        int d = 0, m = 0;
        CalcEasterSunday(y, d, m);
        ASSERT_EQ(QDate(y, m, d), EasterReference(y)) << y;
    }
    const std::tuple<int, int, int> known[] = {{2024, 31, 3}, {2025, 20, 4}, {2019, 21, 4}, {2008, 23, 3}};
    for (auto [y, day, month] : known) {
        int d = 0, m = 0;
        CalcEasterSunday(y, d, m);
        EXPECT_EQ(std::pair(d, m), std::pair(day, month)) << y;
    }
    // Any year is computed without overflow; the month is still March or April.
    for (int y : {std::numeric_limits<int>::max(), std::numeric_limits<int>::min(), 0, -1}) {
        int d = 0, m = 0;
        CalcEasterSunday(y, d, m);
        EXPECT_TRUE(m == 3 || m == 4) << y;
    }
}

TEST(MiniCalHolidays, BuiltInTableHasEightRepeatingRowsInItsOrder)
{
    TMiniCal c;
    EXPECT_EQ(c.NumHolidays(), 8);
    int d = -1, m = -1, y = -1;
    bool repeat = false;
    QString text = QStringLiteral("keep");
    EXPECT_FALSE(c.RetrieveHoliday(0, d, m, y, repeat, text));
    EXPECT_FALSE(c.RetrieveHoliday(9, d, m, y, repeat, text));
    EXPECT_EQ(std::tuple(d, m, y, repeat, text), std::tuple(-1, -1, -1, false, QStringLiteral("keep")));
    const std::tuple<int, int, const char*> rows[] = {{25, 12, "Christmas Day"}, {26, 12, "Boxing Day"},
                                                      {1, 1, "New Year's Day"},   {6, 1, "Epiphany"},
                                                      {15, 8, "Assumption of Mary"}, {1, 11, "All Saints"},
                                                      {8, 12, "Immaculate Conception"}, {1, 5, "Labor Day"}};
    for (int i = 0; i < 8; ++i) {
        ASSERT_TRUE(c.RetrieveHoliday(i + 1, d, m, y, repeat, text));
        EXPECT_EQ(std::tuple(d, m, y, repeat, text),
                  std::tuple(std::get<0>(rows[i]), std::get<1>(rows[i]), TMiniCal::RepeatYear, true,
                             QString::fromUtf8(std::get<2>(rows[i]))));
    }
}

TEST(MiniCalHolidays, FixedAndMovableTextsInEveryLanguage)
{
    TMiniCal c;
    struct Case {
        TLanguage Lang;
        int Y, M, D;
        const char* Text;
    };
    // Every text with letters beyond ASCII, and the Easter-dependent days of 2024 (Easter 31 March).
    const Case cases[] = {
        {lgEnglish, 2024, 3, 31, "Easter Day"},      {lgEnglish, 2024, 4, 1, "Easter Monday"},
        {lgEnglish, 2024, 5, 9, "Ascension Day"},    {lgEnglish, 2024, 5, 19, "Pentecost"},
        {lgEnglish, 2024, 5, 20, "Whit Monday"},     {lgEnglish, 2024, 5, 30, "Corpus Christi"},
        {lgGerman, 2024, 1, 6, "Hl. Drei Könige"},   {lgGerman, 2024, 12, 8, "Maria Empfängnis"},
        {lgGerman, 2024, 5, 30, "Fronleichnam"},     {lgFrench, 2024, 12, 25, "Noël"},
        {lgFrench, 2024, 1, 6, "Épiphanie"},         {lgFrench, 2024, 12, 8, "Immaculée Conception"},
        {lgFrench, 2024, 5, 1, "Fête du Travail"},   {lgFrench, 2024, 3, 31, "Le jour de Pâques"},
        {lgFrench, 2024, 5, 19, "Dimanche de Pentecôte"}, {lgSpanish, 2024, 12, 26, "Día de San Esteban"},
        {lgSpanish, 2024, 1, 1, "Día de Año Nuevo"}, {lgSpanish, 2024, 1, 6, "Epifanía"},
        {lgSpanish, 2024, 8, 15, "Asunción"},        {lgSpanish, 2024, 11, 1, "Día de Todos los Santos"},
        {lgSpanish, 2024, 12, 8, "Inmaculada Concepción"}, {lgSpanish, 2024, 3, 31, "Domingo de Resurrección"},
        {lgSpanish, 2024, 5, 9, "Ascensión de Cristo"}, {lgSpanish, 2024, 5, 19, "Domingo de Pentecostés"},
        {lgSpanish, 2024, 5, 30, "Corpus Cristi"},   {lgNone, 2024, 4, 1, "Easter Monday"},
        {lgNone, 2024, 12, 26, "Boxing Day"},
    };
    for (const Case& k : cases) {
        c.SetLanguage(k.Lang);
        EXPECT_EQ(Holiday(c, k.Y, k.M, k.D), QString::fromUtf8(k.Text)) << k.Text;
    }
    c.SetLanguage(lgEnglish);
    EXPECT_EQ(Holiday(c, 2024, 4, 2), "-");
    EXPECT_EQ(Holiday(c, 2024, 7, 29), "-");   // 120 days after Easter: only March to June count
    c.SetShowMovableHolidays(false);
    EXPECT_EQ(Holiday(c, 2024, 4, 1), "-");
    EXPECT_EQ(Holiday(c, 2024, 12, 25), "Christmas Day");
}

TEST(MiniCalHolidays, TableRowsComeFirstAndTheFirstMatchWins)
{
    TMiniCal c;
    // Ascension 2008 (Easter 23 March) falls on 1 May, which the table names first.
    EXPECT_EQ(Holiday(c, 2008, 5, 1), "Labor Day");
    EXPECT_EQ(Holiday(c, 2008, 3, 24), "Easter Monday");
    c.AddRepeatHoliday(25, 12, QStringLiteral("Later row"));
    EXPECT_EQ(Holiday(c, 2024, 12, 25), "Christmas Day");
    c.AddRepeatHoliday(1, 4, QStringLiteral("Fools"));
    EXPECT_EQ(Holiday(c, 2024, 4, 1), "Fools");   // a row before the movable Easter Monday
    c.AddHoliday(3, 10, 2024, QStringLiteral("Once"));
    EXPECT_EQ(Holiday(c, 2024, 10, 3), "Once");
    EXPECT_EQ(Holiday(c, 2025, 10, 3), "-");
    c.AddRepeatHoliday(2, 2, QString());
    EXPECT_EQ(Holiday(c, 2031, 2, 2), "");   // a holiday without a name is still one
    EXPECT_EQ(c.NumHolidays(), 12);
    int d, m, y;
    bool repeat;
    QString text;
    ASSERT_TRUE(c.RetrieveHoliday(11, d, m, y, repeat, text));
    EXPECT_EQ(std::tuple(d, m, y, repeat, text), std::tuple(3, 10, 2024, false, QStringLiteral("Once")));
}

TEST(MiniCalHolidays, LanguageChangeDropsAddedHolidaysAndClearingDropsAll)
{
    TMiniCal c;
    c.AddHoliday(3, 10, 2024, QStringLiteral("Once"));
    c.AddRepeatHoliday(14, 2, QStringLiteral("Valentine"));
    c.SetLanguage(lgGerman);
    EXPECT_EQ(c.NumHolidays(), 8);
    EXPECT_EQ(Holiday(c, 2024, 10, 3), "-");
    EXPECT_EQ(Holiday(c, 2024, 2, 14), "-");
    EXPECT_EQ(Holiday(c, 2024, 12, 26), "Stephanitag");
    c.AddRepeatHoliday(14, 2, QStringLiteral("Valentinstag"));
    c.SetLanguage(lgGerman);   // the same language loads the table again, too
    EXPECT_EQ(c.NumHolidays(), 8);
    c.ClearHolidayList();
    EXPECT_EQ(c.NumHolidays(), 0);
    EXPECT_EQ(Holiday(c, 2024, 12, 25), "-");
    EXPECT_EQ(Holiday(c, 2024, 4, 1), "Ostermontag");   // Easter is no row of the table
}

TEST(MiniCalLayout, DayOneLiesInRowTwoUnderItsWeekday)
{
    TMiniCal c;
    for (int first = dwMon; first <= dwSun; ++first) {
        c.SetFirstDayOfWeek(TDayOfWeek(first));
        for (int m = 1; m <= 12; ++m) {
            c.SetDate(D(2025, m, 15));
            const int a = (QDate(2025, m, 1).dayOfWeek() - first + 7) % 7;
            const int col = a == 0 ? 7 : a;
            EXPECT_EQ(c.MonthOffset(), a == 0 ? -5 : 2 - a);
            EXPECT_EQ(c.CellText(col, 2), "1") << first << " " << m;
            // The column is headed by the weekday of the first.
            EXPECT_EQ(c.CellText(col, 1), WeekDayShort(lgEnglish, QDate(2025, m, 1).dayOfWeek()));
            if (col > 1)
                EXPECT_NE(c.CellText(col - 1, 2), "2");
        }
    }
    // September 2024 starts on a Sunday, the day before Monday: day 1 in column 7, never 0.
    c.SetFirstDayOfWeek(dwMon);
    c.SetDate(D(2024, 9, 10));
    EXPECT_EQ(c.MonthOffset(), -5);
    EXPECT_EQ(c.CellText(6, 2), "31");
    EXPECT_EQ(c.CellText(7, 2), "1");
    EXPECT_EQ(c.CellText(1, 3), "2");
}

TEST(MiniCalLayout, CellTextsOfHeaderWeeksAndNeighbourMonths)
{
    TMiniCal c;
    c.SetDate(D(2024, 3, 5));   // March 2024: 1 March is a Friday
    EXPECT_EQ(c.CellText(5, 0), "Mar 2024");
    c.SetShowMonthShort(false);
    EXPECT_EQ(c.CellText(5, 0), "March 2024");
    EXPECT_EQ(c.CellText(1, 0), "<<");
    EXPECT_EQ(c.CellText(7, 0), ">>");
    EXPECT_EQ(c.CellText(3, 0), "");
    EXPECT_EQ(c.CellText(0, 1), "today");
    EXPECT_EQ(c.CellText(1, 2), "26");   // February of a leap year ends on the 29th
    EXPECT_EQ(c.CellText(4, 2), "29");
    EXPECT_EQ(c.CellText(5, 2), "1");
    EXPECT_EQ(c.CellText(1, 7), "1");    // 1 April 2024, a Monday, in the last row
    EXPECT_EQ(c.CellText(0, 2), "9");    // ISO weeks of 1 March 2024 and the weeks after
    EXPECT_EQ(c.CellText(0, 7), "14");
    c.SetDate(D(2027, 1, 10));           // 1 January 2027 is a Friday of week 53 of 2026
    EXPECT_EQ(c.CellText(0, 2), "53");
    EXPECT_EQ(c.CellText(1, 2), "28");   // December before January has 31 days
    c.SetLanguage(lgGerman);
    c.SetFirstDayOfWeek(dwSun);
    EXPECT_EQ(c.CellText(1, 1), "So");
    EXPECT_EQ(c.CellText(7, 1), "Sa");
    EXPECT_EQ(c.CellText(0, 1), "heute");
    EXPECT_EQ(c.CellText(5, 0), "Januar 2027");
    c.SetLanguage(lgFrench);
    EXPECT_EQ(c.CellText(0, 1), "auj.");
    c.SetLanguage(lgSpanish);
    EXPECT_EQ(c.CellText(0, 1), "hoy");
    c.SetLanguage(lgNone);
    EXPECT_EQ(c.CellText(0, 1), "today");
    EXPECT_EQ(c.CellText(1, 1), "Sun");
    EXPECT_EQ(c.CellText(8, 2), "");
    EXPECT_EQ(c.CellText(-1, 2), "");
}

TEST(MiniCalStepping, MonthsKeepTheDayWithinTheMonthReached)
{
    TMiniCal c;
    const struct {
        TDateTime From;
        int Step;
        TDateTime To;
    } cases[] = {
        {D(2024, 1, 31), 1, D(2024, 2, 29)}, {D(2023, 1, 31), 1, D(2023, 2, 28)},
        {D(2024, 3, 31), -1, D(2024, 2, 29)}, {D(2023, 3, 30), -1, D(2023, 2, 28)},
        {D(2024, 12, 31), 1, D(2025, 1, 31)}, {D(2024, 1, 1), -1, D(2023, 12, 1)},
        {D(2024, 5, 31), 1, D(2024, 6, 30)},
    };
    for (const auto& k : cases) {
        c.SetDate(k.From);
        k.Step > 0 ? c.NextMonth() : c.PrevMonth();
        EXPECT_EQ(c.Date(), k.To) << k.From;
    }
    c.SetDate(D(2024, 2, 29));
    c.NextYear();
    EXPECT_EQ(c.Date(), D(2025, 2, 28));
    c.SetDate(D(2024, 2, 29));
    c.PrevYear();
    EXPECT_EQ(c.Date(), D(2023, 2, 28));
    c.SetDate(D(2023, 7, 14));
    c.NextYear();
    EXPECT_EQ(c.Date(), D(2024, 7, 14));
    c.SetDate(D(2023, 2, 3));
    c.LastDayOfMonth();
    EXPECT_EQ(c.Date(), D(2023, 2, 28));
}

TEST(MiniCalStepping, StopsAtTheFirstAndLastYear)
{
    TMiniCal c;
    Counter n(c);
    c.SetDate(D(9999, 12, 15));
    // The last rows show days and weeks of January 10000, which no click or step reaches.
    EXPECT_EQ(c.CellText(0, 7), QString::number(QDate(9999, 12, 1).addDays(35).weekNumber()));
    n.Changes = 0;
    c.NextMonth();
    c.NextYear();
    EXPECT_EQ(c.Date(), D(9999, 12, 15));
    c.SetDate(D(1, 1, 15));
    n.Changes = 0;
    c.PrevMonth();
    c.PrevYear();
    EXPECT_EQ(c.Date(), D(1, 1, 15));
    EXPECT_EQ(n.Changes, 0);
    EXPECT_EQ(c.CellText(1, 2), "1");    // 1 January of year 1 is a Monday
    c.NextMonth();
    EXPECT_EQ(c.Date(), D(1, 2, 15));
}

TEST(MiniCalDate, SetDateDropsTheTimeAndRefusesWhatIsNoDate)
{
    TMiniCal c;
    Counter n(c);
    QSignalSpy moved(&c, &TMiniCal::dateChanged);
    c.SetDate(D(2024, 4, 10) + 0.75);
    EXPECT_EQ(c.Date(), D(2024, 4, 10));
    EXPECT_EQ(moved.count(), 1);
    EXPECT_EQ(n.Changes, 1);
    c.SetDate(D(2024, 4, 10));   // the same day: OnChange, no dateChanged
    EXPECT_EQ(moved.count(), 1);
    EXPECT_EQ(n.Changes, 2);
    c.SetDate(-1.5);             // 29 December 1899, 12:00
    EXPECT_EQ(c.Date(), -1.0);
    EXPECT_EQ(Ymd(c), std::tuple(1899, 12, 29));
    c.SetDate(D(2024, 4, 10));
    n.Changes = 0;
    for (double bad : {std::nan(""), std::numeric_limits<double>::infinity(),
                       -std::numeric_limits<double>::infinity(), D(1, 1, 1) - 1, D(9999, 12, 31) + 1, 1e300})
        c.SetDate(bad);
    EXPECT_EQ(c.Date(), D(2024, 4, 10));
    EXPECT_EQ(n.Changes, 0);
    c.SetDate(D(9999, 12, 31) + 0.99);
    EXPECT_EQ(Ymd(c), std::tuple(9999, 12, 31));
    c.SetDate(D(1, 1, 1));
    EXPECT_EQ(Ymd(c), std::tuple(1, 1, 1));
}

TEST(MiniCalDate, PartsRaiseTheConversionErrorAndKeepTheDate)
{
    TMiniCal c;
    Counter n(c);
    c.SetDate(D(2024, 1, 31));
    n.Changes = 0;
    EXPECT_THROW(c.SetMonth(2), EConvertError);
    EXPECT_THROW(c.SetMonth(0), EConvertError);
    EXPECT_THROW(c.SetDay(0), EConvertError);
    EXPECT_THROW(c.SetYear(0), EConvertError);
    EXPECT_THROW(c.SetYear(10000), EConvertError);
    EXPECT_EQ(c.Date(), D(2024, 1, 31));
    EXPECT_EQ(n.Changes, 0);
    c.SetDate(D(2024, 2, 29));
    EXPECT_THROW(c.SetYear(2023), EConvertError);
    EXPECT_EQ(c.Date(), D(2024, 2, 29));
    // Out of range: that part stays, the date is encoded again and OnChange fires.
    n.Changes = 0;
    c.SetMonth(13);
    c.SetDay(30);
    c.SetYear(-5);
    EXPECT_EQ(c.Date(), D(2024, 2, 29));
    EXPECT_EQ(n.Changes, 3);
    c.SetDay(5);
    c.SetMonth(12);
    c.SetYear(1999);
    EXPECT_EQ(Ymd(c), std::tuple(1999, 12, 5));
    // uic and QUiLoader call the Qt-style setters: the error goes to the handler.
    QStringList handled;
    SetExceptionHandler([&](const std::exception& e) { handled << QString::fromUtf8(e.what()); });
    c.SetDate(D(2024, 1, 31));
    c.setMonth(2);
    c.setDay(0);
    EXPECT_TRUE(c.setProperty("Year", 0));
    SetExceptionHandler({});
    EXPECT_EQ(handled.size(), 3);
    EXPECT_EQ(c.Date(), D(2024, 1, 31));
    c.setMonth(3);
    EXPECT_EQ(c.Date(), D(2024, 3, 31));
}

TEST(MiniCalDate, EachSetterReportsAsItsRuleSays)
{
    TMiniCal c;
    Counter n(c);
    QSignalSpy changed(&c, &TMiniCal::changed);
    QStringList order;
    c.OnChange = [&](QObject* s) {
        EXPECT_EQ(s, &c);
        order << QStringLiteral("OnChange");
    };
    QObject::connect(&c, &TMiniCal::changed, [&] { order << QStringLiteral("changed"); });
    c.SetFirstDayOfWeek(dwMon);   // unchanged: nothing
    EXPECT_TRUE(order.isEmpty());
    c.SetFirstDayOfWeek(dwSun);
    EXPECT_EQ(order, QStringList({"OnChange", "changed"}));
    c.SetDayColors(dwSat, clRed);
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(c.DayColors(dwSat), clRed);
    EXPECT_EQ(c.DayColors(TDayOfWeek(9)), clBlack);
    c.SetDayColors(TDayOfWeek(9), clRed);   // no weekday: nothing
    EXPECT_EQ(changed.count(), 2);
    // Looks, holidays and language: no OnChange.
    c.SetColorSelectedBg(clLime);
    c.SetIndicateHolidays(false);
    c.SetShowMovableHolidays(false);
    c.SetLanguage(lgFrench);
    c.SetMarkToday(false);
    c.SetShowMonthShort(false);
    c.SetShowHolidayHint(false);
    c.AddHoliday(1, 2, 2024, QStringLiteral("x"));
    c.ClearHolidayList();
    EXPECT_EQ(changed.count(), 2);
}

TEST(MiniCalDate, DefaultsAndAssign)
{
    TMiniCal a;
    EXPECT_EQ(a.Date(), qor::Date());
    EXPECT_EQ(a.size(), QSize(300, 180));
    EXPECT_EQ(std::tuple(a.ColorActiveMonth(), a.ColorInactiveMonth(), a.ColorWeekNoBg(), a.ColorWeekNoFg()),
              std::tuple(clBlack, clSilver, 0xC0C0C0, 0x000000));
    EXPECT_EQ(std::tuple(a.ColorDayIdBg(), a.ColorDayIdFg(), a.ColorSelectedBg(), a.ColorSelectedFg()),
              std::tuple(0xC0C0C0, 0x000000, 0xD0A040, 0xFFFFFF));
    EXPECT_EQ(std::tuple(a.ColorHolidayBg(), a.ColorHolidayFg(), a.ColorToday()),
              std::tuple(0x9BD8F1, 0x0000C0, clRed));
    for (int d = dwMon; d <= dwFri; ++d)
        EXPECT_EQ(a.DayColors(TDayOfWeek(d)), 0xF8F8F8);
    EXPECT_EQ(std::pair(a.DayColors(dwSat), a.DayColors(dwSun)), std::pair(0xBBDDEE, 0xCCEEFF));
    EXPECT_TRUE(a.AutoSwitch() && a.IndicateHolidays() && a.MarkToday() && a.ShowHolidayHint()
                && a.ShowMonthShort() && a.ShowMovableHolidays() && a.Ctl3D());
    EXPECT_EQ(std::pair(a.FirstDayOfWeek(), a.Language()), std::pair(dwMon, lgEnglish));
    EXPECT_EQ(std::tuple(a.ColCount(), a.RowCount(), a.FixedCols(), a.FixedRows()), std::tuple(8, 8, 1, 2));

    a.SetDate(D(2030, 6, 1));
    a.SetFirstDayOfWeek(dwWed);
    a.SetColorHolidayBg(clAqua);
    a.SetDayColors(dwTue, clYellow);
    a.SetLanguage(lgSpanish);
    a.AddRepeatHoliday(2, 6, QStringLiteral("Fiesta"));
    a.SetCtl3D(false);
    TMiniCal b;
    Counter n(b);
    b.Assign(&a);
    EXPECT_EQ(b.Date(), D(2030, 6, 1));
    EXPECT_EQ(std::tuple(b.FirstDayOfWeek(), b.ColorHolidayBg(), b.DayColors(dwTue), b.Language(), b.Ctl3D()),
              std::tuple(dwWed, clAqua, clYellow, lgSpanish, false));
    EXPECT_EQ(Holiday(b, 2031, 6, 2), "Fiesta");
    EXPECT_EQ(n.Changes, 1);
    TMiniCal d;
    a.AssignTo(&d);
    EXPECT_EQ(d.NumHolidays(), 9);
    QObject other;
    EXPECT_THROW(b.Assign(&other), EConvertError);
}
