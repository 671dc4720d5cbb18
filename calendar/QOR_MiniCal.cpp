// TMiniCal: construction, settings, the date and its steps, the month layout, Assign.
#include "QOR_MiniCal.h"
#include "QOR_WidgetFactory.h"
#include "QOR_MiniCal_p.h"

#include <QEvent>

#include <algorithm>
#include <cmath>
#include <utility>

namespace qor {

using minical::InDateRange;

QOR_REGISTER_WIDGET(qor::TMiniCal);

TMiniCal::TMiniCal(QWidget* AOwner)
    : TCustomDrawGrid(AOwner), FHDayList(std::make_unique<TIntMatrix>(nullptr, 3, 8))
{
    SetColCount(8);
    SetRowCount(8);
    SetFixedCols(1);
    SetFixedRows(2);
    SetGridLineWidth(1);
    SetScrollBars(ssNone);
    SetBorderStyle(bsSingle);
    SetDefaultDrawing(false);
    SetOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goDrawFocusSelected});
    FDate = qor::Date();
    LoadBuiltInHolidays();
    resize(300, 180);
    SizeCells();
    UpdateCal();
}

TMiniCal::~TMiniCal() = default;

void TMiniCal::Changed()
{
    Notify(this, OnChange, &TMiniCal::changed);
}

// ---------------------------------------------------------------------------------------------
// Settings

void TMiniCal::SetCtl3D(bool v)
{
    if (v == Ctl3D())
        return;
    TCustomDrawGrid::SetCtl3D(v);
    SizeCells();
    Repaint();
}

void TMiniCal::SetFirstDayOfWeek(TDayOfWeek v)
{
    if (v == F1stDayWeek || v > dwSun)
        return;
    F1stDayWeek = v;
    UpdateCal();
    Changed();
}

void TMiniCal::SetIndicateHolidays(bool v)
{
    if (!Store(FIndicateHolid, v))
        return;
    UpdateCal();
    Repaint();
}

void TMiniCal::SetShowMovableHolidays(bool v)
{
    if (!Store(FShowMovHdays, v))
        return;
    UpdateCal();
    Repaint();
}

void TMiniCal::SetLanguage(TLanguage v)
{
    FLanguage = v;
    LoadBuiltInHolidays();
    UpdateCal();
}

void TMiniCal::SetShowHint(bool v)
{
    FShowHint = v;
}

void TMiniCal::SetShowHolidayHint(bool v)
{
    FShowHDayHint = v;
    SetHint(QString());
    if (v)
        SetShowHint(true);
    UpdateCal();
    Repaint();
}

TColor TMiniCal::DayColors(TDayOfWeek d) const
{
    return d <= dwSun ? FDayColors[d] : clBlack;
}

void TMiniCal::SetDayColors(TDayOfWeek d, TColor c)
{
    if (d > dwSun)
        return;
    FDayColors[d] = c;
    UpdateCal();
    Changed();
}

// A tool tip shows only while ShowHint is on.
bool TMiniCal::event(QEvent* e)
{
    if (e->type() == QEvent::ToolTip && !FShowHint) {
        e->accept();
        return true;
    }
    return TCustomDrawGrid::event(e);
}

// ---------------------------------------------------------------------------------------------
// The date

void TMiniCal::SetDate(TDateTime v)
{
    if (!std::isfinite(v) || !InDateRange(std::trunc(v)))
        return;
    const TDateTime day = std::trunc(v);
    const bool moved = day != FDate;
    FDate = day;
    UpdateCal();
    if (moved)
        emit dateChanged(FDate);
    Changed();
}

int TMiniCal::Day() const { return int(FDate - FLayout.First) + 1; }
int TMiniCal::Month() const { return FLayout.Month; }
int TMiniCal::Year() const { return FLayout.Year; }

void TMiniCal::SetDay(int v)
{
    const int d = v >= 0 && v <= FLayout.Days ? v : Day();
    SetDate(EncodeDate(Year(), Month(), d));
}

void TMiniCal::SetMonth(int v)
{
    const int m = v >= 0 && v <= 12 ? v : Month();
    SetDate(EncodeDate(Year(), m, Day()));
}

void TMiniCal::SetYear(int v)
{
    const int y = v >= 0 ? v : Year();
    SetDate(EncodeDate(y, Month(), Day()));
}

void TMiniCal::MonthStep(int n)
{
    const int day = Day();
    TDateTime t = n <= 0 ? FLayout.First : FLayout.First + FLayout.Days - 1;
    t += n;
    if (!InDateRange(t))
        return;
    int y, m, d;
    DecodeDate(t, y, m, d);
    SetDate(EncodeDate(y, m, std::min(day, DaysInAMonth(y, m))));
}

// One step of the date, not two: 29 February becomes 28 February of the year reached.
void TMiniCal::YearStep(int n)
{
    const int y = Year() + n;
    if (y < 1 || y > 9999)
        return;
    const int d = Month() == 2 && Day() == 29 ? 28 : Day();
    SetDate(EncodeDate(y, Month(), d));
}

void TMiniCal::StepDays(int n)
{
    SetDate(FDate + n);
}

void TMiniCal::LastDayOfMonth()
{
    SetDate(FLayout.First + FLayout.Days - 1);
}

// ---------------------------------------------------------------------------------------------
// The month layout

void TMiniCal::UpdateCal()
{
    const TMonthLayout before = FLayout;
    TMonthLayout& l = FLayout;
    int d;
    DecodeDate(FDate, l.Year, l.Month, d);
    l.Days = DaysInAMonth(l.Year, l.Month);
    l.PrevDays = l.Month == 1 ? 31 : DaysInAMonth(l.Year, l.Month - 1);
    l.First = FDate - (d - 1);
    l.FirstDay = F1stDayWeek;
    l.Lang = TextLanguage();
    const int a = (DayOfTheWeek(l.First) - int(F1stDayWeek) + 7) % 7;
    FMonOfs = a == 0 ? -5 : 2 - a;
    FindHolidaysOfMonth();
    UpdateHolidayHint();
    // What a reader hears: the cells say something else, the selected day moved, the name.
    if (!(l == before))
        AccessibleTableChanged();
    SyncCurrentCell();
    AccessibleValueChanged();
    Invalidate();
}

void TMiniCal::UpdateHolidayHint()
{
    if (FShowHDayHint)
        SetHint(FLayout.IsHoliday[std::size_t(Day())] ? FLayout.Holiday[std::size_t(Day())] : QString());
}

// The grid's current cell follows the selected day: it is what the accessible table's reader
// stands on. The grid announces a move; a new day in the same cell is announced here.
void TMiniCal::SyncCurrentCell()
{
    const TGridCoord cell = DayCell(Day());
    const bool newDay = std::exchange(FCellDate, FDate) != FDate;
    if (cell.X != Col() || cell.Y != Row())
        FocusCell(cell.X, cell.Y, true);
    else if (newDay)
        AccessibleCurrentCellChanged();
}

int TMiniCal::CellDay(int ACol, int ARow) const
{
    return FMonOfs + ACol - 1 + (ARow - 2) * 7;
}

TGridCoord TMiniCal::DayCell(int d) const
{
    const int k = d - FMonOfs;
    return {1 + k % 7, 2 + k / 7};
}

// ---------------------------------------------------------------------------------------------
// Assign

void TMiniCal::Assign(const QObject* Source)
{
    const auto* src = qobject_cast<const TMiniCal*>(Source);
    if (!src) {
        TCustomDrawGrid::Assign(Source);
        return;
    }
    if (src == this)
        return;
    FAutoSwitch = src->FAutoSwitch;
    FColorActMon = src->FColorActMon;
    FColorInactMon = src->FColorInactMon;
    FColorWknBg = src->FColorWknBg;
    FColorWknFg = src->FColorWknFg;
    FColorDayIdBg = src->FColorDayIdBg;
    FColorDayIdFg = src->FColorDayIdFg;
    FColorSelBg = src->FColorSelBg;
    FColorSelFg = src->FColorSelFg;
    FColorHdayBg = src->FColorHdayBg;
    FColorHdayFg = src->FColorHdayFg;
    FColorToday = src->FColorToday;
    FShowHDayHint = src->FShowHDayHint;
    FIndicateHolid = src->FIndicateHolid;
    FShowMovHdays = src->FShowMovHdays;
    FDayColors = src->FDayColors;
    FLanguage = src->FLanguage;
    FMarkToday = src->FMarkToday;
    FMonthShort = src->FMonthShort;
    F1stDayWeek = src->F1stDayWeek;
    FShowHint = src->FShowHint;
    FStyleElements = src->FStyleElements;
    CopyHolidays(*src);
    SetCtl3D(src->Ctl3D());
    SetDate(src->FDate);
    Repaint();
}

void TMiniCal::AssignTo(QObject* Dest) const
{
    if (!AssignToSameClass<TMiniCal>(Dest))
        TCustomDrawGrid::AssignTo(Dest);
}

} // namespace qor
