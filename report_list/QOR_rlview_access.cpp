// The report list as an accessible table: what a screen reader reads of the cells.
#include "QOR_rlview.h"

namespace qor {

// Accessible rows are the shown rows from 0, accessible columns the display columns from 0.

QString TReportListView::AccessibleCellText(int Row, int Column) const
{
    const int d = ColumnOrder(Column + 1);
    if (d == 0 || ColumnIsPwd(d) || Row < 0 || Row >= NrOfShownRows())
        return {};
    return Elem(d, Row + 1);
}

QString TReportListView::AccessibleColumnHeader(int Column) const
{
    const int d = ColumnOrder(Column + 1);
    return d == 0 ? QString() : Header(d);
}

QRect TReportListView::AccessibleCellRect(int Row, int Column) const
{
    const QRect r = CellRect(Column, GridRowOfDataRow(Row + 1));
    return r.isEmpty() ? r : r.translated(viewport()->pos());
}

bool TReportListView::AccessibleCellAt(QPoint Pos, int& Row, int& Column) const
{
    const TGridCoord cell = MouseCell(Pos.x() - viewport()->x(), Pos.y() - viewport()->y());
    Row = cell.Y - 1;
    Column = cell.X - 1;
    if (cell.X < 1 || cell.Y < 1) {
        Row = Column = -1;
        return false;
    }
    return true;
}

bool TReportListView::AccessibleCellCheckable(int Row, int Column) const
{
    const int d = ColumnOrder(Column + 1);
    return d != 0 && ColumnCheckMode(d) != cmNone && Row >= 0 && Row < NrOfShownRows();
}

bool TReportListView::AccessibleCellChecked(int Row, int Column) const
{
    return AccessibleCellCheckable(Row, Column) && ElemChecked(ColumnOrder(Column + 1), Row + 1);
}

} // namespace qor
