// TMiniCal: a month calendar on the draw grid, 8 columns x 8 rows. It keeps one selected date,
// marks today, colours weekdays, weekends, holidays and the selection, knows eight fixed and six
// Easter-dependent holidays in four languages and takes further holidays from the program.
//
// Cells (column, row), from 0:
//   (0,0)-(0,1)   "today" button, one button over both rows
//   (1,0) "<<" previous year   (2,0) "<" previous month   (6,0) ">" next month   (7,0) ">>" next year
//   (3,0)-(5,0)   caption: month name, a blank, the year, drawn once across the three cells
//   (1..7,1)      weekday names, FirstDayOfWeek in column 1
//   (0,2..7)      ISO week numbers
//   (1..7,2..7)   day numbers: cell (c, r) shows day d = MonthOffset() + c - 1 + (r - 2) * 7
// With a = (DayOfTheWeek(first of month) - FirstDayOfWeek + 7) mod 7 (Monday = 1 .. Sunday = 7,
// FirstDayOfWeek by ordinal), MonthOffset() = 2 - a, or -5 when that is 2: day 1 always lies in
// row 2, in column a, or in column 7 when a = 0 (a month that starts the day before the first
// weekday).
//
// Drawing (L, T, R, B: a cell's rectangle, R and B exclusive). Every text is centred with
// x = L + (R - L - TextWidth) div 2, y = T + (B - T - TextHeight) div 2 and drawn with TextRect,
// which fills the cell with the brush first.
//   buttons   face colour, then with Ctl3D the button frame: pen $FFFFFF (L,B-1)-(L,T)-(R,T);
//             $686868 (L,B)-(R,B)-(R,T); $9CA0A5 (L+1,B-1)-(R-1,B-1)-(R-1,T); $E6E2E2
//             (L+1,B-2)-(L+1,T+1)-(R-1,T+1) (each line leaves out its end point, so the frame
//             reaches one pixel into the grid lines right of and below the cell). The caption
//             cell (5,0) has L moved to L - 2 (R - L) - 2 GridLineWidth, the "today" cell (0,1)
//             has T moved up by RowHeights(0) + GridLineWidth.
//   weekdays  ColorDayIdBg / ColorDayIdFg; column c names weekday (FirstDayOfWeek + c - 1) mod 7.
//   weeks     ColorWeekNoBg / ColorWeekNoFg; row r shows the ISO week of the first of the
//             month plus (r - 2) * 7 days.
//   days      background DayColors(weekday of the column). Days of the neighbouring months
//             (d < 1: d + days of the previous month; d > days: d - days) in ColorInactiveMonth;
//             days of the month in ColorActiveMonth, holidays (IndicateHolidays) on
//             ColorHolidayBg in ColorHolidayFg, the selected day on ColorSelectedBg (on
//             MeanColor(ColorSelectedBg, ColorHolidayBg) when it is a holiday) in
//             ColorSelectedFg. With MarkToday, today's cell gets an unfilled ellipse
//             (L+2, T+2, R-2, B-2) in ColorToday.
// Buttons and caption: face clBtnFace and text clBtnText, both from the palette, with the
// default StyleElements. Without seClient the face is the classic $F0F0F0, without seFont the
// text is black, so an empty StyleElements gives the classic look whatever the palette. The
// control's border is the Qt style's in any case: seBorder changes nothing.
//
// Sizing, on every change of the client area W x H (frame and scroll bars excluded):
// DefaultColWidth = (W - 7 GridLineWidth) div 8, DefaultRowHeight = (H - 7 GridLineWidth) div 8;
// column 0 and row 0 take what is left, so the eight cells and their lines fill the client area
// exactly: ColWidths(0) = W - 7 (DefaultColWidth + GridLineWidth) - GridLineWidth, likewise
// RowHeights(0). (This is the classic rule of Width + f - 7 (DefaultColWidth + GridLineWidth + 1),
// f = 2 with Ctl3D, with the platform's border widths taken out; without Ctl3D the classic
// factor 5 overshot the client area by a pixel.) Default size 300 x 180.
//
// The date. Date is a whole day: every setter drops the time of day, the "today" button too,
// so Date always equals EncodeDate(Year, Month, Day). Dates run from 1.1.1 to 31.12.9999;
// SetDate with NaN, an infinity or a date outside that range changes nothing, and stepping
// (buttons, keys, months, years, clicks on neighbouring days) stops at either end.
// SetYear(y >= 0), SetMonth(0..12) and SetDay(0..days of the month) encode the date again with
// EncodeDate and raise its EConvertError for an invalid date (Month 0, Day 0, Year 0,
// 31 January -> Month 2), leaving the date unchanged; other values leave that part unchanged.
// Day, Month and Year are published but not stored: Date is what a form stores. Their Qt-style
// setters (setDay ...) route the conversion error to HandleException.
//
// Mouse. Only a left press inside the cells counts. A day cell selects its day; with AutoSwitch
// a day of a neighbouring month switches to that month, without it the click changes nothing.
// The second press of a double click on a day cell selects nothing again (it would otherwise
// pick another day from the month the first press switched to). Buttons: "today", "<<", "<",
// ">", ">>"; the caption does nothing. OnDblClick fires only when the press before it was on a
// day cell. Mouse-up ends the grid's drag state but fires no OnMouseUp. The wheel steps a month
// (down: next month) unless an OnMouseWheel handler takes it.
//
// Keyboard (the grid's own cell movement does not run):
//   Left / Right            one day back / on
//   Up / Down               one week back / on
//   Page Up / Page Down     PrevMonth / NextMonth
//   Ctrl+Page Up / Down     PrevYear / NextYear
//   Home / End              first / last day of the month
// Other keys go on to the dialog and the focus chain.
//
// Hints. Hint is the control's tool tip, shown while ShowHint is on (on by default, as Qt shows
// a tool tip that is set; there is no ParentShowHint, Qt knowing no parent's switch for it).
// With ShowHolidayHint on, the tool tip is the holiday name of the selected date (empty on
// other days).
//
// The grid's current cell follows the selected day, so the accessible table's selection is
// the selected date.
//
// Accessibility: a table of the 6 x 7 day cells under the caption "April 2024", its columns
// headed by the long weekday names (the weekday row). Each cell is named by its full date in
// the calendar's language, followed by the holiday name when the day is a holiday of the shown
// month ("Monday, 1 April 2024, Easter Monday"). The selected day is the current cell, where a
// reader stands; the calendar's own name is that cell's name, so a program that names the
// calendar (accessibleName, a buddy label) has the selected date read as its description. The
// buttons are no objects of their own: the keys do all they do.
//
// Holidays. The table holds 3 columns (day, month, year, or -99999 for every year) x
// NumHolidays() rows with a caption each; CheckHoliday takes the first row that matches, then
// the movable holidays of Easter. A holiday the program adds shows at once. Language loads the
// eight built-in holidays again and drops the ones the program added. Texts of lgNone (and of
// values outside the enumeration) are English.
#pragma once

#include <QOR_DateUtils.h>
#include <QOR_Grids.h>
#include <QOR_TextCache.h>
#include <QOR_matrix.h>
#include <QOR_qorbase.h>

#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>

namespace qor {

inline namespace QOR_MiniCal {
Q_NAMESPACE_EXPORT(KORVANE_EXPORT)
// A weekday, Monday first.
enum TDayOfWeek : std::uint8_t { dwMon, dwTue, dwWed, dwThu, dwFri, dwSat, dwSun };
Q_ENUM_NS(TDayOfWeek)
} // namespace QOR_MiniCal

// Cell background per weekday, Monday first.
using TDayColors = std::array<TColor, 7>;

// Easter Sunday of a year of the Gregorian calendar (Gauss's rule): Month is 3 or 4.
KORVANE_EXPORT void CalcEasterSunday(int Year, int& Day, int& Month);

// The month calendar control (see above).
class KORVANE_EXPORT TMiniCal : public TCustomDrawGrid {
    Q_OBJECT
public:
    QOR_PROPERTY(bool, AutoSwitch)
    QOR_COLOR_PROPERTY(ColorActiveMonth)
    QOR_COLOR_PROPERTY(ColorInactiveMonth)
    QOR_COLOR_PROPERTY(ColorWeekNoBg)
    QOR_COLOR_PROPERTY(ColorWeekNoFg)
    QOR_COLOR_PROPERTY(ColorDayIdBg)
    QOR_COLOR_PROPERTY(ColorDayIdFg)
    QOR_COLOR_PROPERTY(ColorSelectedBg)
    QOR_COLOR_PROPERTY(ColorSelectedFg)
    QOR_COLOR_PROPERTY(ColorHolidayBg)
    QOR_COLOR_PROPERTY(ColorHolidayFg)
    QOR_COLOR_PROPERTY(ColorToday)
    QOR_PROPERTY(bool, Ctl3D)
    QOR_PROPERTY_NOTIFY(double, Date, dateChanged)
    QOR_UNSTORED_PROPERTY_NOTIFY(int, Day, dateChanged)
    QOR_UNSTORED_PROPERTY_NOTIFY(int, Month, dateChanged)
    QOR_UNSTORED_PROPERTY_NOTIFY(int, Year, dateChanged)
    QOR_PROPERTY(qor::QOR_MiniCal::TDayOfWeek, FirstDayOfWeek)
    QOR_PROPERTY(bool, IndicateHolidays)
    QOR_PROPERTY(qor::QOR_qorbase::TLanguage, Language)
    QOR_PROPERTY(bool, MarkToday)
    QOR_PROPERTY(bool, ShowHint)
    QOR_PROPERTY(bool, ShowHolidayHint)
    QOR_PROPERTY(bool, ShowMonthShort)
    QOR_PROPERTY(bool, ShowMovableHolidays)
    QOR_PROPERTY(qor::QOR_Controls::TStyleElements, StyleElements)

    // The year of the repeating holidays in the holiday table.
    static constexpr int RepeatYear = -99999;

    // A 300 x 180 calendar of the current month, today selected, the built-in holidays loaded.
    explicit TMiniCal(QWidget* AOwner = nullptr);
    ~TMiniCal() override;

    // --- published properties
    bool AutoSwitch() const { return FAutoSwitch; }
    void SetAutoSwitch(bool v) { FAutoSwitch = v; }
    // The colour setters repaint.
    TColor ColorActiveMonth() const { return FColorActMon; }
    void SetColorActiveMonth(TColor v) { SetLook(FColorActMon, v); }
    TColor ColorInactiveMonth() const { return FColorInactMon; }
    void SetColorInactiveMonth(TColor v) { SetLook(FColorInactMon, v); }
    TColor ColorWeekNoBg() const { return FColorWknBg; }
    void SetColorWeekNoBg(TColor v) { SetLook(FColorWknBg, v); }
    TColor ColorWeekNoFg() const { return FColorWknFg; }
    void SetColorWeekNoFg(TColor v) { SetLook(FColorWknFg, v); }
    TColor ColorDayIdBg() const { return FColorDayIdBg; }
    void SetColorDayIdBg(TColor v) { SetLook(FColorDayIdBg, v); }
    TColor ColorDayIdFg() const { return FColorDayIdFg; }
    void SetColorDayIdFg(TColor v) { SetLook(FColorDayIdFg, v); }
    TColor ColorSelectedBg() const { return FColorSelBg; }
    void SetColorSelectedBg(TColor v) { SetLook(FColorSelBg, v); }
    TColor ColorSelectedFg() const { return FColorSelFg; }
    void SetColorSelectedFg(TColor v) { SetLook(FColorSelFg, v); }
    TColor ColorHolidayBg() const { return FColorHdayBg; }
    void SetColorHolidayBg(TColor v) { SetLook(FColorHdayBg, v); }
    TColor ColorHolidayFg() const { return FColorHdayFg; }
    void SetColorHolidayFg(TColor v) { SetLook(FColorHdayFg, v); }
    TColor ColorToday() const { return FColorToday; }
    void SetColorToday(TColor v) { SetLook(FColorToday, v); }
    // The border (see TCustomGrid), the button frames and the sizing of column 0 and row 0.
    bool Ctl3D() const { return TCustomDrawGrid::Ctl3D(); }
    void SetCtl3D(bool v);
    TDateTime Date() const { return FDate; }
    // Stores the day (time of day dropped), recomputes and calls Changed, also for the date it
    // already holds. Ignored outside 1.1.1 .. 31.12.9999 and for NaN and infinities.
    void SetDate(TDateTime v);
    int Day() const;
    void SetDay(int v);      // EConvertError for 0
    int Month() const;
    void SetMonth(int v);    // EConvertError for 0 or a month shorter than the day
    int Year() const;
    void SetYear(int v);     // EConvertError for 0, above 9999 and on 29 February
    // Unchanged: nothing; else recomputes and calls Changed.
    TDayOfWeek FirstDayOfWeek() const { return F1stDayWeek; }
    void SetFirstDayOfWeek(TDayOfWeek v);
    // Recompute and repaint.
    bool IndicateHolidays() const { return FIndicateHolid; }
    void SetIndicateHolidays(bool v);
    // Loads the built-in holidays in the new language (holidays the program added are lost)
    // and recomputes, also for the language it already has.
    TLanguage Language() const { return FLanguage; }
    void SetLanguage(TLanguage v);
    bool MarkToday() const { return FMarkToday; }
    void SetMarkToday(bool v) { SetLook(FMarkToday, v); }
    // Whether the tool tip (Hint) shows.
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool v);
    // Clears Hint, switches ShowHint on when on, recomputes and repaints.
    bool ShowHolidayHint() const { return FShowHDayHint; }
    void SetShowHolidayHint(bool v);
    bool ShowMonthShort() const { return FMonthShort; }
    void SetShowMonthShort(bool v) { SetLook(FMonthShort, v); }
    bool ShowMovableHolidays() const { return FShowMovHdays; }
    void SetShowMovableHolidays(bool v);
    TStyleElements StyleElements() const { return FStyleElements; }
    void SetStyleElements(TStyleElements v) { SetLook(FStyleElements, v); }

    // --- public
    // The control's tool tip.
    QString Hint() const { return toolTip(); }
    // Sets the tool tip; while ShowHolidayHint is on, every recomputation replaces it by the
    // selected day's holiday (or empties it).
    void SetHint(const QString& v) { setToolTip(v); }
    // Cell background per weekday. Recomputes and calls Changed; days outside dwMon..dwSun are
    // not written and read clBlack.
    TColor DayColors(TDayOfWeek d) const;
    // Sets the cell background of weekday d (see DayColors).
    void SetDayColors(TDayOfWeek d, TColor c);
    // The same as DayColors(d).
    TColor GetDayColors(TDayOfWeek d) const { return DayColors(d); }
    // Number of rows of the holiday table, built-in holidays included.
    int NumHolidays() const { return FHDayList->NRows(); }
    // Whether the date is a holiday, with its name in Caption (empty when it is none).
    bool CheckHoliday(int Year, int Month, int Day, QString& Caption) const;
    // Appends a holiday of one year / of every year, and shows it.
    void AddHoliday(int Day, int Mon, int Year, const QString& Caption);
    // Appends a holiday that falls on Day.Mon of every year (stored with RepeatYear).
    void AddRepeatHoliday(int Day, int Mon, const QString& Caption);
    // Row HDIndex (1 .. NumHolidays) of the holiday table; false and the outputs untouched
    // for any other index.
    bool RetrieveHoliday(int HDIndex, int& Day, int& Month, int& Year, bool& IsRepeatHDay,
                         QString& Description) const;
    // Removes every holiday, the built-in ones too, recomputes and repaints.
    void ClearHolidayList();
    // Day limited to the length of the month reached.
    void NextMonth() { MonthStep(1); }
    // The month before; the day is limited to that month's length.
    void PrevMonth() { MonthStep(-1); }
    // 29 February goes to 28 February.
    void NextYear() { YearStep(1); }
    // The same day a year before (29 February goes to 28 February); nothing before year 1.
    void PrevYear() { YearStep(-1); }
    // Selects the last day of the shown month.
    void LastDayOfMonth();
    // The layout of the shown month (see the cell rule above).
    int MonthOffset() const { return FMonOfs; }
    // The text a cell shows ("" for the cells that show none).
    QString CellText(int ACol, int ARow) const;
    // The cell of the last left press inside the grid; (0, 0) before the first.
    TGridCoord LastClickedCell() const { return FGridCell; }
    // Recomputes the month layout and the holiday hint, and repaints.
    void UpdateCal();

    // Copies every setting, the holidays and the date.
    void Assign(const QObject* Source) override;
    void AssignTo(QObject* Dest) const override;

    // --- events
    // After every change of the date (also to the date it held), the first weekday and the
    // weekday colours; then the signal changed().
    TNotifyEvent OnChange;

    // --- accessibility
    // The selected date and its holiday ("Monday, 1 April 2024, Easter Monday").
    QString AccessibleName() const override;
    QString AccessibleCellText(int Row, int Column) const override;
    QString AccessibleColumnHeader(int Column) const override;
    bool AccessibleHasColumnHeaders() const override { return true; }
    // The shown month ("April 2024").
    QString AccessibleCaption() const override;
    // The caption cells (3, 0) .. (5, 0), in the control's coordinates.
    QRect AccessibleCaptionRect() const override;
    bool AccessibleCellAt(QPoint Pos, int& Row, int& Column) const override;
    // The selection is one day, the current cell, which no row selection can say.
    bool AccessibleRowSelected(int Row) const override { return false; }

Q_SIGNALS:
    // Emitted after OnChange.
    void changed();
    // The selected day changed (a no-op write emits nothing); carries the new date.
    void dateChanged(double date);

protected:
    virtual void Changed();
    // n = -1 or +1: the month before or after, the day limited to the length of that month.
    void MonthStep(int n);
    void Paint() override;
    void DrawCell(int ACol, int ARow, const QRect& ARect, TGridDrawState AState) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DblClick() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    bool DoMouseWheelDown(TShiftState Shift, QPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, QPoint MousePos) override;
    void Resized() override;
    bool event(QEvent* e) override;
    // Layouts give the calendar its whole month (the host routes sizing exceptions).
    QSize PreferredSize() const override { return QSize(300, 180); }

private:
    // What UpdateCal derives from the date and the holidays for painting and reading cells.
    struct TMonthLayout {
        int Year = 1;
        int Month = 1;
        int Days = 31;          // of the shown month
        int PrevDays = 31;      // of the month before
        TDateTime First = 0;    // the first of the shown month
        TDayOfWeek FirstDay = dwMon;
        TLanguage Lang = lgEnglish;
        // By day 1..31, filled with IndicateHolidays only (a holiday may have an empty name).
        std::array<bool, 32> IsHoliday{};
        std::array<QString, 32> Holiday;
        bool operator==(const TMonthLayout&) const = default;
    };
    template <class T> void SetLook(T& field, T v);
    // Holidays (QOR_MiniCalHolidays.cpp).
    void LoadBuiltInHolidays();
    void AppendHoliday(int Day, int Mon, int Year, const QString& Caption);
    void CopyHolidays(const TMiniCal& Source);
    bool RowMatches(int Row, int Year, int Month, int Day) const;
    // The Easter-dependent holidays (with ShowMovableHolidays).
    bool MovableHoliday(int Year, int Month, int Day, QString& Caption) const;
    void FindHolidaysOfMonth();
    void UpdateHolidayHint();
    void YearStep(int n);
    void StepDays(int n);
    // Day d of the shown month in cell (ACol, ARow) of the day rows (below 1 or above the
    // month's days for the neighbouring months), and the cell of day d.
    int CellDay(int ACol, int ARow) const;
    TGridCoord DayCell(int d) const;
    // The date of a day cell (neighbouring months included); false outside the date range.
    bool CellDate(int ACol, int ARow, TDateTime& Date) const;
    // Day d of the layout, or the neighbouring month's day it stands for.
    int ShownDay(int d) const;
    // The full name of a date in the calendar's language ("Monday, 1 April 2024").
    QString DateText(TDateTime Date) const;
    TLanguage TextLanguage() const;
    void SizeCells();
    void SyncCurrentCell();
    void ClickDay(TGridCoord Cell);
    void ClickButton(int ACol);
    // Drawing (QOR_MiniCalPaint.cpp).
    TColor ButtonFace() const;
    TColor ButtonText() const;
    void DrawButton(TCanvas* cv, int L, int T, int R, int B, const QString& Text);
    void DrawButtonFrame(TCanvas* cv, int L, int T, int R, int B);
    void DrawDayCell(TCanvas* cv, int ACol, int ARow, int L, int T, int R, int B);
    void TextCentred(TCanvas* cv, int L, int T, int R, int B, const QString& Text, TColor Color);

    bool FAutoSwitch = true;
    TColor FColorActMon = clBlack;
    TColor FColorInactMon = clSilver;
    TColor FColorWknBg = 0xC0C0C0;
    TColor FColorWknFg = 0x000000;
    TColor FColorDayIdBg = 0xC0C0C0;
    TColor FColorDayIdFg = 0x000000;
    TColor FColorSelBg = 0xD0A040;
    TColor FColorSelFg = 0xFFFFFF;
    TColor FColorHdayBg = 0x9BD8F1;
    TColor FColorHdayFg = 0x0000C0;
    TColor FColorToday = clRed;
    bool FShowHDayHint = true;
    bool FIndicateHolid = true;
    bool FShowMovHdays = true;
    std::unique_ptr<TIntMatrix> FHDayList;
    QStringList FHDayCaptions;
    TDateTime FDate = 0;
    TDayColors FDayColors{0xF8F8F8, 0xF8F8F8, 0xF8F8F8, 0xF8F8F8, 0xF8F8F8, 0xBBDDEE, 0xCCEEFF};
    TLanguage FLanguage = lgEnglish;
    bool FMarkToday = true;
    int FMonOfs = 1;
    bool FMonthShort = true;
    TDayOfWeek F1stDayWeek = dwMon;
    TGridCoord FGridCell{0, 0};
    bool FShowHint = true;
    TStyleElements FStyleElements{seFont, seClient, seBorder};
    TMonthLayout FLayout;
    TDateTime FToday = 0;   // taken at the start of each paint
    TDateTime FCellDate = 0;   // the date the grid's current cell was last set for
    TTextCache FTexts;
};

// The looks: store and repaint.
template <class T> void TMiniCal::SetLook(T& field, T v)
{
    if (Store(field, v))
        Repaint();
}

} // namespace qor
