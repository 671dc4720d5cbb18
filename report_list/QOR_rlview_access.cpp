// The report list as an accessible table: what a screen reader reads of the cells, and what it
// may do with them (toggle a check cell, select a row) the way the user does it.
#include "QOR_rlview.h"

namespace qor {

namespace {

// A header of several lines is read as one.
QString OneLine(const QString& s)
{
    return s.simplified();
}

} // namespace

// Accessible rows are the shown rows from 0, accessible columns the display columns from 0.

QString TReportListView::AccessibleCellText(int Row, int Column) const
{
    const int d = AccessibleDataCol(Column), r = AccessibleDataRow(Row);
    if (d == 0 || r == 0)
        return {};
    const QString shown = ShownText(d, r);
    // A check column keeps its mark in the first character; the box shows it.
    return ColumnCheckMode(d) != cmNone ? shown.mid(1) : shown;
}

QString TReportListView::AccessibleColumnHeader(int Column) const
{
    const int d = AccessibleDataCol(Column);
    return d == 0 ? QString() : OneLine(Header(d));
}

QString TReportListView::AccessibleCaption() const
{
    return FComHdVis ? OneLine(CommonHeader()) : QString();
}

QRect TReportListView::AccessibleCaptionRect() const
{
    if (!FComHdVis || !viewport()->isVisible())
        return {};
    const QRect band(0, 0, std::min(GridWidth(), ClientWidth()), RowHeights(0));
    return band.isEmpty() ? band : band.translated(viewport()->pos());
}

QRect TReportListView::AccessibleCellRect(int Row, int Column) const
{
    const int gridRow = Row < 0 ? ColumnHeaderRow() : GridRowOfDataRow(Row + 1);
    if (gridRow < 0 || (Row >= 0 && AccessibleDataRow(Row) == 0))
        return {};
    const QRect r = CellRect(Column, gridRow);
    return r.isEmpty() ? r : r.translated(viewport()->pos());
}

bool TReportListView::AccessibleCellAt(QPoint Pos, int& Row, int& Column) const
{
    const TGridCoord cell = MouseCell(Pos.x() - viewport()->x(), Pos.y() - viewport()->y());
    Row = cell.Y == -1 ? -1 : cell.Y - 1;   // the column header row reads as row -1
    Column = cell.X - 1;
    if (cell.X < 1 || cell.Y == 0 || cell.Y < -1) {
        Row = Column = -1;
        return false;
    }
    return true;
}

bool TReportListView::AccessibleCellCheckable(int Row, int Column) const
{
    const int d = AccessibleDataCol(Column);
    return d != 0 && AccessibleDataRow(Row) != 0 && ColumnCheckMode(d) != cmNone;
}

bool TReportListView::AccessibleCellChecked(int Row, int Column) const
{
    return AccessibleCellCheckable(Row, Column) && ElemChecked(AccessibleDataCol(Column), AccessibleDataRow(Row));
}

bool TReportListView::AccessibleCellToggleable(int Row, int Column) const
{
    return AccessibleCellCheckable(Row, Column) && CanToggleCheck(AccessibleDataCol(Column), AccessibleDataRow(Row));
}

void TReportListView::ToggleAccessibleCell(int Row, int Column)
{
    if (!AccessibleCellToggleable(Row, Column))
        return;
    PaintGuard guard(this);
    ToggleCheck(AccessibleDataCol(Column), AccessibleDataRow(Row));
}

bool TReportListView::AccessibleCellSecret(int Row, int Column) const
{
    const int d = AccessibleDataCol(Column);
    return d != 0 && ColumnIsPwd(d);
}

bool TReportListView::AccessibleCellEditable(int Row, int Column) const
{
    const int d = AccessibleDataCol(Column), r = AccessibleDataRow(Row);
    return d != 0 && r != 0 && ColumnEditable(d) && !RowDisabled(r);
}

void TReportListView::AccessibleCurrentCell(int& Row, int& Column) const
{
    Row = DataRowOfGridRow(TCustomGrid::Row()) - 1;
    Column = Col();
    if (AccessibleDataRow(Row) == 0 || AccessibleDataCol(Column) == 0)
        Row = Column = -1;
}

bool TReportListView::SelectAccessibleRow(int Row, bool Selected)
{
    const int r = AccessibleDataRow(Row);
    if (FRowSelectMode == 0 || r == 0)
        return false;
    if (FRowSelectMode == 1 && Selected) {
        // As a click on the row: the cursor goes there, and the row alone is selected.
        TCustomGrid::SetRow(GridRowOfDataRow(r));
        SelectRow(r);
    } else {
        SetRowSelected(r, Selected);
    }
    return true;
}

} // namespace qor
