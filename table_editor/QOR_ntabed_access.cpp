// TNTabEd as an accessible table: the data cells, rows and columns from 0; the column names are
// the header row (-1).
#include "QOR_ntabed.h"

namespace qor {

QString TNTabEd::AccessibleCellText(int Row, int Column) const
{
    return CellText(Column + 1, Row + 1);
}

QString TNTabEd::AccessibleColumnHeader(int Column) const
{
    return ColName(Column + 1).simplified();
}

QRect TNTabEd::AccessibleCellRect(int Row, int Column) const
{
    if (Row < -1 || Column < 0 || Row >= NrOfRows() || Column >= NrOfColumns())
        return {};
    const QRect r = CellRect(GridCol(Column + 1), Row < 0 ? 0 : GridRow(Row + 1));
    return r.isEmpty() ? r : r.translated(viewport()->pos());
}

bool TNTabEd::AccessibleCellAt(QPoint Pos, int& Row, int& Column) const
{
    const TGridCoord cell = MouseCoord(Pos.x() - viewport()->x(), Pos.y() - viewport()->y());
    const bool header = cell.Y == 0 && DataCol(cell.X) >= 1 && DataCol(cell.X) <= NrOfColumns();
    if (!header && !IsDataCell(cell.X, cell.Y)) {
        Row = Column = -1;
        return false;
    }
    Row = header ? -1 : DataRow(cell.Y) - 1;
    Column = DataCol(cell.X) - 1;
    return true;
}

bool TNTabEd::AccessibleRowSelected(int Row) const
{
    const TGridRect sel = Selection();
    const int g = GridRow(Row + 1);
    return g >= sel.Top && g <= sel.Bottom;
}

bool TNTabEd::AccessibleCellEditable(int Row, int Column) const
{
    return MayEdit(GridCol(Column + 1), GridRow(Row + 1));
}

void TNTabEd::AccessibleCurrentCell(int& Row, int& Column) const
{
    Row = CurrentRow() - 1;
    Column = CurrentCol() - 1;
    if (Row < 0 || Column < 0)
        Row = Column = -1;
}

} // namespace qor
