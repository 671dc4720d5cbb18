// A grid as a table a reader can use: the caption, the column headers and the data cells are
// children of the grid (in that order), made on demand and kept until the table changes shape;
// the current cell takes the focus, selection changes are announced cell by cell.
#include "QOR_Accessible_p.h"

#include <QWindow>

namespace qor::accessible {

class TAccessibleGrid;

namespace {

constexpr int HeaderRow = -1;
constexpr int CaptionRow = -2;
// Cell interfaces kept at most; a reader walking a huge table does not make them pile up.
constexpr int MaxKeptCells = 20000;

// One cell of the grid: a data cell (row >= 0), a column header or the caption.
class TAccessibleCell : public TAccessibleLeaf,
                        public QAccessibleTableCellInterface,
                        public QAccessibleActionInterface {
public:
    TAccessibleCell(QWidget* grid, int row, int column) : TAccessibleLeaf(grid), FRow(row), FColumn(column) {}

    bool isValid() const override;
    QString text(QAccessible::Text t) const override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType t) override;

    // table cell
    bool isSelected() const override { return FRow >= 0 && Ask(false, [&] { return Source()->AccessibleRowSelected(FRow); }); }
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return FColumn; }
    int rowIndex() const override { return FRow; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    // actions: a check or radio cell toggles where a click would
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    const TAccessibleTableSource* Source() const
    {
        const TControlEvents* c = FOwner ? ComponentOf(FOwner.data()) : nullptr;
        return c ? Ask<const TAccessibleTableSource*>(nullptr, [&] { return c->AccessibleTable(); }) : nullptr;
    }
    bool IsData() const { return FRow >= 0; }
    int FRow, FColumn;
};

} // namespace

// ---------------------------------------------------------------------------------------------
class TAccessibleGrid : public TAccessibleControl, public QAccessibleTableInterface {
public:
    explicit TAccessibleGrid(QWidget* w) : TAccessibleControl(w)
    {
        int column = -1;
        if (const TAccessibleTableSource* s = Source())
            GuardedCall([&] { s->AccessibleCurrentCell(FCursorRow, column); });
        FAnnouncedRow = FLeftRow = FCursorRow;
    }
    ~TAccessibleGrid() override { DropCells(); }

    QAccessible::Role role() const override { return QAccessible::Table; }
    QAccessible::State state() const override
    {
        QAccessible::State s = TAccessibleControl::state();
        s.multiSelectable = Ask(false, [&] { return Source() && Source()->AccessibleMultiSelect(); });
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return TAccessibleControl::interface_cast(t);
    }

    // Children: caption, column headers, cells row by row.
    int childCount() const override { return Leading() + rowCount() * columnCount(); }
    QAccessibleInterface* child(int index) const override
    {
        const int lead = Leading(), cols = columnCount();
        if (index < 0 || cols <= 0)
            return nullptr;
        if (index < lead)
            return HasCaption() && index == 0 ? Cell(CaptionRow, 0) : Cell(HeaderRow, index - (HasCaption() ? 1 : 0));
        return cellAt((index - lead) / cols, (index - lead) % cols);
    }
    int indexOfChild(const QAccessibleInterface* iface) const override
    {
        auto* cell = dynamic_cast<const TAccessibleCell*>(iface);
        if (!cell || cell->parent() != this)
            return -1;
        if (cell->rowIndex() == CaptionRow)
            return 0;
        const int captions = HasCaption() ? 1 : 0;
        if (cell->rowIndex() == HeaderRow)
            return captions + cell->columnIndex();
        return Leading() + cell->rowIndex() * columnCount() + cell->columnIndex();
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        int row = -1, column = -1;
        const TAccessibleTableSource* s = Source();
        if (!s || !Ask(false, [&] { return s->AccessibleCellAt(widget()->mapFromGlobal(QPoint(x, y)), row, column); }))
            return nullptr;
        return row == HeaderRow ? HeaderCell(column) : cellAt(row, column);
    }
    QAccessibleInterface* focusChild() const override
    {
        int row = -1, column = -1;
        if (const TAccessibleTableSource* s = Source(); s && widget()->hasFocus())
            GuardedCall([&] { s->AccessibleCurrentCell(row, column); });
        return cellAt(row, column);
    }

    // --- table
    QAccessibleInterface* caption() const override { return HasCaption() ? Cell(CaptionRow, 0) : nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override
    {
        if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount())
            return nullptr;
        return Cell(row, column);
    }
    QAccessibleInterface* HeaderCell(int column) const
    {
        return HasHeaders() && column >= 0 && column < columnCount() ? Cell(HeaderRow, column) : nullptr;
    }
    int selectedCellCount() const override { return selectedRowCount() * columnCount(); }
    QList<QAccessibleInterface*> selectedCells() const override
    {
        QList<QAccessibleInterface*> cells;
        for (int r : selectedRows())
            for (int c = 0; c < columnCount(); ++c)
                cells.append(cellAt(r, c));
        return cells;
    }
    QString columnDescription(int column) const override
    {
        const TAccessibleTableSource* s = Source();
        return s ? Ask(QString(), [&] { return s->AccessibleColumnHeader(column); }) : QString();
    }
    QString rowDescription(int) const override { return {}; }
    int columnCount() const override
    {
        const TAccessibleTableSource* s = Source();
        return s ? std::max(0, Ask(0, [&] { return s->AccessibleColumnCount(); })) : 0;
    }
    int rowCount() const override
    {
        const TAccessibleTableSource* s = Source();
        return s ? std::max(0, Ask(0, [&] { return s->AccessibleRowCount(); })) : 0;
    }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return int(selectedRows().size()); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override
    {
        QList<int> rows;
        const TAccessibleTableSource* s = Source();
        for (int r = 0, n = rowCount(); s && r < n; ++r)
            if (isRowSelected(r))
                rows.append(r);
        return rows;
    }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override
    {
        const TAccessibleTableSource* s = Source();
        return s && Ask(false, [&] { return s->AccessibleRowSelected(row); });
    }
    bool selectRow(int row) override { return SelectRow(row, true); }
    bool unselectRow(int row) override { return SelectRow(row, false); }
    // Columns are not selected through the table (they are no unit of the grid's selection).
    bool selectColumn(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override { DropCells(); }

    const TAccessibleTableSource* Source() const
    {
        const TControlEvents* c = Component();
        return c ? Ask<const TAccessibleTableSource*>(nullptr, [&] { return c->AccessibleTable(); }) : nullptr;
    }
    int DataChildIndex(int row, int column) const { return Leading() + row * columnCount() + column; }

    void DropCells()
    {
        for (QAccessible::Id id : std::as_const(FCells))
            QAccessible::deleteAccessibleInterface(id);
        FCells.clear();
    }

    // Rows whose selection may have changed with the next selection change: the one the reader
    // heard of last, the one the cursor left, the one it is on.
    int FAnnouncedRow = -1;
    int FLeftRow = -1;
    int FCursorRow = -1;

private:
    bool HasCaption() const
    {
        const TAccessibleTableSource* s = Source();
        return s && !Ask(QString(), [&] { return s->AccessibleCaption(); }).isEmpty();
    }
    bool HasHeaders() const
    {
        const TAccessibleTableSource* s = Source();
        return s && Ask(false, [&] { return s->AccessibleHasColumnHeaders(); });
    }
    int Leading() const { return (HasCaption() ? 1 : 0) + (HasHeaders() ? columnCount() : 0); }
    bool SelectRow(int row, bool selected)
    {
        auto* s = const_cast<TAccessibleTableSource*>(Source());
        if (!s || row < 0 || row >= rowCount())
            return false;
        return Ask(false, [&] { return s->SelectAccessibleRow(row, selected); });
    }
    QAccessibleInterface* Cell(int row, int column) const
    {
        const qint64 key = (qint64(row) << 32) | quint32(column);
        auto it = FCells.constFind(key);
        if (it != FCells.constEnd())
            return QAccessible::accessibleInterface(*it);
        if (FCells.size() >= MaxKeptCells)
            const_cast<TAccessibleGrid*>(this)->DropCells();
        auto* cell = new TAccessibleCell(widget(), row, column);
        FCells.insert(key, QAccessible::registerAccessibleInterface(cell));
        return cell;
    }
    mutable QHash<qint64, QAccessible::Id> FCells;
};

// ---------------------------------------------------------------------------------------------
// TAccessibleCell

namespace {

TAccessibleGrid* GridOf(const QPointer<QWidget>& grid)
{
    return grid ? GridInterfaceOf(grid.data()) : nullptr;
}

} // namespace

bool TAccessibleCell::isValid() const
{
    const TAccessibleTableSource* s = Source();
    if (!s)
        return false;
    const int columns = Ask(0, [&] { return s->AccessibleColumnCount(); });
    if (FRow == CaptionRow)
        return !Ask(QString(), [&] { return s->AccessibleCaption(); }).isEmpty();
    if (FRow == HeaderRow)
        return FColumn < columns && Ask(false, [&] { return s->AccessibleHasColumnHeaders(); });
    return FColumn < columns && FRow < Ask(0, [&] { return s->AccessibleRowCount(); });
}

QAccessible::Role TAccessibleCell::role() const
{
    if (FRow == CaptionRow)
        return QAccessible::StaticText;
    if (FRow == HeaderRow)
        return QAccessible::ColumnHeader;
    const TAccessibleTableSource* s = Source();
    // A secret cell is read as a password field (its mask, never its text).
    return s && Ask(false, [&] { return s->AccessibleCellSecret(FRow, FColumn); }) ? QAccessible::EditableText
                                                                                  : QAccessible::Cell;
}

QString TAccessibleCell::text(QAccessible::Text t) const
{
    const TAccessibleTableSource* s = Source();
    if (!s || (t != QAccessible::Name && t != QAccessible::Value))
        return {};
    if (FRow == CaptionRow)
        return Ask(QString(), [&] { return s->AccessibleCaption(); });
    const QString header = Ask(QString(), [&] { return s->AccessibleColumnHeader(FColumn); });
    if (FRow == HeaderRow)
        return header;
    const QString shown = Ask(QString(), [&] { return s->AccessibleCellText(FRow, FColumn); });
    // A check or radio cell without text is named after its column.
    if (t == QAccessible::Name && shown.isEmpty() && Ask(false, [&] { return s->AccessibleCellCheckable(FRow, FColumn); }))
        return header;
    return shown;
}

QRect TAccessibleCell::rect() const
{
    const TAccessibleTableSource* s = Source();
    if (!s || !FOwner)
        return {};
    const QRect r = FRow == CaptionRow ? Ask(QRect(), [&] { return s->AccessibleCaptionRect(); })
                                       : Ask(QRect(), [&] { return s->AccessibleCellRect(FRow, FColumn); });
    return ToScreen(r);
}

QAccessible::State TAccessibleCell::state() const
{
    QAccessible::State st;
    const TAccessibleTableSource* s = Source();
    if (!s || !FOwner)
        return st;
    st.disabled = !FOwner->isEnabled();
    // Showing only where the cell is really on screen: the grid visible, the cell scrolled in.
    st.invisible = !FOwner->isVisible();
    st.offscreen = rect().isEmpty();
    if (!IsData()) {
        st.readOnly = true;
        return st;
    }
    st.selectable = true;
    st.selected = isSelected();
    st.focusable = FOwner->focusPolicy() != Qt::NoFocus;
    int row = -1, column = -1;
    GuardedCall([&] { s->AccessibleCurrentCell(row, column); });
    st.focused = FOwner->hasFocus() && row == FRow && column == FColumn;
    if (Ask(false, [&] { return s->AccessibleCellCheckable(FRow, FColumn); })) {
        st.checkable = true;
        st.checked = Ask(false, [&] { return s->AccessibleCellChecked(FRow, FColumn); });
    }
    if (Ask(false, [&] { return s->AccessibleCellSecret(FRow, FColumn); }))
        st.passwordEdit = true;
    if (Ask(false, [&] { return s->AccessibleCellEditable(FRow, FColumn); }))
        st.editable = true;
    else
        st.readOnly = true;
    return st;
}

void* TAccessibleCell::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TableCellInterface && IsData())
        return static_cast<QAccessibleTableCellInterface*>(this);
    if (t == QAccessible::ActionInterface && !actionNames().isEmpty())
        return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
}

QList<QAccessibleInterface*> TAccessibleCell::columnHeaderCells() const
{
    TAccessibleGrid* grid = GridOf(FOwner);
    QAccessibleInterface* header = grid ? grid->HeaderCell(FColumn) : nullptr;
    return header ? QList<QAccessibleInterface*>{header} : QList<QAccessibleInterface*>{};
}

QStringList TAccessibleCell::actionNames() const
{
    const TAccessibleTableSource* s = Source();
    if (s && IsData() && Ask(false, [&] { return s->AccessibleCellToggleable(FRow, FColumn); }))
        return {QAccessibleActionInterface::toggleAction()};
    return {};
}

void TAccessibleCell::doAction(const QString& actionName)
{
    auto* s = const_cast<TAccessibleTableSource*>(Source());
    if (s && actionNames().contains(actionName))
        GuardedCall([&] { s->ToggleAccessibleCell(FRow, FColumn); });
}

// ---------------------------------------------------------------------------------------------

TAccessibleControl* NewGridInterface(QWidget* w)
{
    return new TAccessibleGrid(w);
}

TAccessibleGrid* GridInterfaceOf(QObject* o)
{
    return dynamic_cast<TAccessibleGrid*>(QAccessible::queryAccessibleInterface(o));
}

void AnnounceCurrentCell(QObject* o)
{
    TAccessibleGrid* grid = GridInterfaceOf(o);
    const TAccessibleTableSource* s = grid ? grid->Source() : nullptr;
    int row = -1, column = -1;
    if (s)
        GuardedCall([&] { s->AccessibleCurrentCell(row, column); });
    if (!grid || !grid->cellAt(row, column))
        return;
    if (row != grid->FCursorRow)
        grid->FLeftRow = std::exchange(grid->FCursorRow, row);
    const int index = grid->DataChildIndex(row, column);
    QAccessibleEvent active(o, QAccessible::ActiveDescendantChanged);
    active.setChild(index);
    QAccessible::updateAccessibility(&active);
    if (!static_cast<QWidget*>(o)->hasFocus())
        return;
    QAccessibleEvent focus(o, QAccessible::Focus);
    focus.setChild(index);
    QAccessible::updateAccessibility(&focus);
}

void AnnounceRowSelection(QObject* o, int row)
{
    TAccessibleGrid* grid = GridInterfaceOf(o);
    if (!grid)
        return;
    // The row the reader heard of before may have lost its selection with this change.
    const int before = std::exchange(grid->FAnnouncedRow, row);
    QList<int> rows;
    for (int r : {before, grid->FLeftRow, row})
        if (r >= 0 && !rows.contains(r))
            rows.append(r);
    for (int r : std::as_const(rows)) {
        if (r >= grid->rowCount())
            continue;
        const bool selected = grid->isRowSelected(r);
        for (int c = 0, n = grid->columnCount(); c < n; ++c) {
            QAccessibleEvent e(o, selected ? QAccessible::SelectionAdd : QAccessible::SelectionRemove);
            e.setChild(grid->DataChildIndex(r, c));
            QAccessible::updateAccessibility(&e);
        }
    }
    QAccessibleEvent within(o, QAccessible::SelectionWithin);
    QAccessible::updateAccessibility(&within);
}

void AnnounceTableChange(QObject* o)
{
    if (TAccessibleGrid* grid = GridInterfaceOf(o)) {
        grid->DropCells();
        grid->FAnnouncedRow = grid->FLeftRow = grid->FCursorRow = -1;
        QAccessibleTableModelChangeEvent e(o, QAccessibleTableModelChangeEvent::ModelReset);
        QAccessible::updateAccessibility(&e);
    }
}

} // namespace qor::accessible
