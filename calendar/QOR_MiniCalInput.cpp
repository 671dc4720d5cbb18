// TMiniCal: mouse, keyboard and what assistive technology reads.
#include "QOR_MiniCal.h"
#include "QOR_MiniCal_p.h"

namespace qor {

// ---------------------------------------------------------------------------------------------
// Mouse

void TMiniCal::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomDrawGrid::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || X <= 0 || Y <= 0 || X >= GridWidth() || Y >= GridHeight())
        return;
    const TGridCoord cell = MouseCoord(X, Y);
    if (cell.X < 0 || cell.Y < 0)
        return;
    FGridCell = cell;
    if (cell.X > 0 && cell.Y > 1) {
        // The first press of a double click chose the day already.
        if (!Shift.Contains(ssDouble))
            ClickDay(cell);
    } else if (cell.Y == 0 || (cell.Y == 1 && cell.X == 0)) {
        ClickButton(cell.X);
    }
}

void TMiniCal::ClickDay(TGridCoord Cell)
{
    int d = CellDay(Cell.X, Cell.Y);
    int y = Year(), m = Month();
    if (FAutoSwitch) {
        if (d < 1) {
            if (m == 1) {
                m = 12;
                --y;
                d += 31;
            } else {
                --m;
                d += DaysInAMonth(y, m);
            }
        } else if (d > FLayout.Days) {
            d -= FLayout.Days;
            if (++m > 12) {
                m = 1;
                ++y;
            }
        }
    }
    TDateTime t;
    if (TryEncodeDate(y, m, d, t))   // false also beyond 1.1.1 .. 31.12.9999
        SetDate(t);
    UpdateCal();
}

void TMiniCal::ClickButton(int ACol)
{
    switch (ACol) {
    case 0: SetDate(Now()); break;
    case 1: PrevYear(); break;
    case 2: PrevMonth(); break;
    case 6: NextMonth(); break;
    case 7: NextYear(); break;
    default: break;
    }
}

// No OnMouseUp; the grid's drag state ends all the same.
void TMiniCal::MouseUp(TMouseButton, TShiftState, int X, int Y)
{
    FinishMouseAction(X, Y);
    SyncCurrentCell();
}

void TMiniCal::DblClick()
{
    if (FGridCell.X > 0 && FGridCell.Y > 1)
        TCustomDrawGrid::DblClick();
}

bool TMiniCal::DoMouseWheelDown(TShiftState Shift, QPoint MousePos)
{
    if (!TControlEvents::DoMouseWheelDown(Shift, MousePos))
        NextMonth();
    return true;
}

bool TMiniCal::DoMouseWheelUp(TShiftState Shift, QPoint MousePos)
{
    if (!TControlEvents::DoMouseWheelUp(Shift, MousePos))
        PrevMonth();
    return true;
}

// ---------------------------------------------------------------------------------------------
// Keyboard

void TMiniCal::KeyDown(WORD& Key, TShiftState Shift)
{
    TControlEvents::KeyDown(Key, Shift);   // OnKeyDown may take the key
    if (Key == 0 || Shift.Contains(ssAlt))
        return;
    const bool ctrl = Shift.Contains(ssCtrl);
    if (ctrl && Key != VK_PRIOR && Key != VK_NEXT)
        return;
    switch (Key) {
    case VK_LEFT: StepDays(-1); break;
    case VK_RIGHT: StepDays(1); break;
    case VK_UP: StepDays(-7); break;
    case VK_DOWN: StepDays(7); break;
    case VK_PRIOR: ctrl ? PrevYear() : PrevMonth(); break;
    case VK_NEXT: ctrl ? NextYear() : NextMonth(); break;
    case VK_HOME: SetDate(FLayout.First); break;
    case VK_END: LastDayOfMonth(); break;
    default: return;
    }
    UseKey();
}

// ---------------------------------------------------------------------------------------------
// Accessibility

QString TMiniCal::DateText(TDateTime Date) const
{
    static const char* const layouts[4] = {"%1, %2 %3 %4", "%1, %2. %3 %4", "%1 %2 %3 %4", "%1, %2 de %3 de %4"};
    const int lang = TextLanguage();
    const QDate d = minical::ToQDate(Date);
    return QString::fromLatin1(layouts[lang - 1])
        .arg(qor::DateName(lang, dnDayLong, d.dayOfWeek()), QString::number(d.day()),
             qor::DateName(lang, dnMonthLong, d.month()), QString::number(d.year()));
}

bool TMiniCal::CellDate(int ACol, int ARow, TDateTime& Date) const
{
    if (ACol < 1 || ACol > 7 || ARow < 2 || ARow > 7)
        return false;
    Date = FLayout.First + CellDay(ACol, ARow) - 1;
    return minical::InDateRange(Date);
}

// The date, and the holiday for a day of the shown month.
QString TMiniCal::AccessibleCellText(int Row, int Column) const
{
    TDateTime date;
    if (!CellDate(Column + 1, Row + 2, date))
        return {};
    QString text = DateText(date);
    const int d = int(date - FLayout.First) + 1;
    if (d >= 1 && d <= FLayout.Days && FLayout.IsHoliday[std::size_t(d)] && !FLayout.Holiday[std::size_t(d)].isEmpty())
        text += QStringLiteral(", ") + FLayout.Holiday[std::size_t(d)];
    return text;
}

QString TMiniCal::AccessibleColumnHeader(int Column) const
{
    if (Column < 0 || Column > 6)
        return {};
    return qor::DateName(TextLanguage(), dnDayLong, (int(F1stDayWeek) + Column) % 7 + 1);
}

QString TMiniCal::AccessibleName() const
{
    const TGridCoord cell = DayCell(Day());
    return AccessibleCellText(cell.Y - 2, cell.X - 1);
}

QString TMiniCal::AccessibleCaption() const
{
    return MonthLong(TextLanguage(), FLayout.Month) + QLatin1Char(' ') + QString::number(FLayout.Year);
}

// The caption cells 3 to 5 of row 0.
QRect TMiniCal::AccessibleCaptionRect() const
{
    const QRect r = CellRect(3, 0) | CellRect(5, 0);
    return r.isEmpty() ? r : r.translated(viewport()->pos());
}

// The weekday row is the row of column headers (-1).
bool TMiniCal::AccessibleCellAt(QPoint Pos, int& Row, int& Column) const
{
    const TGridCoord cell = MouseCoord(Pos.x() - viewport()->x(), Pos.y() - viewport()->y());
    Row = cell.Y - 2;
    Column = cell.X - 1;
    if (cell.X < 1 || cell.Y < 1) {
        Row = Column = -1;
        return false;
    }
    return true;
}

} // namespace qor
