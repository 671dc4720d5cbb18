// TNTabEd as an accessible table: the data cells, rows and columns from 0.
#include "QOR_ntabed.h"

namespace qor {

QString TNTabEd::AccessibleCellText(int Row, int Column) const
{
    return CellText(Column + 1, Row + 1);
}

QString TNTabEd::AccessibleColumnHeader(int Column) const
{
    return ColName(Column + 1);
}

QRect TNTabEd::AccessibleCellRect(int Row, int Column) const
{
    if (Row < 0 || Column < 0 || Row >= NrOfRows() || Column >= NrOfColumns())
        return {};
    const QRect r = CellRect(GridCol(Column + 1), GridRow(Row + 1));
    return r.isEmpty() ? r : r.translated(viewport()->pos());
}

bool TNTabEd::AccessibleCellAt(QPoint Pos, int& Row, int& Column) const
{
    const TGridCoord cell = MouseCoord(Pos.x() - viewport()->x(), Pos.y() - viewport()->y());
    if (!IsDataCell(cell.X, cell.Y)) {
        Row = Column = -1;
        return false;
    }
    Row = DataRow(cell.Y) - 1;
    Column = DataCol(cell.X) - 1;
    return true;
}

bool TNTabEd::AccessibleRowSelected(int Row) const
{
    const TGridRect sel = Selection();
    const int g = GridRow(Row + 1);
    return g >= sel.Top && g <= sel.Bottom;
}

} // namespace qor
