#include "QOR_Accessible_p.h"

#include "QOR_Controls.h"

#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QLineEdit>
#include <QHash>
#include <QPointer>

namespace qor {

namespace {

// The component behind a widget, or none while the widget is being destroyed (its component
// part is gone then), so no call reaches a half-destroyed component.
TControlEvents* ComponentOf(QObject* o)
{
    return dynamic_cast<TControlEvents*>(o);
}

// ---------------------------------------------------------------------------------------------
// A control: role, value text and state from the component; value components also answer the
// value interface.
class TAccessibleControl : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit TAccessibleControl(QWidget* w) : QAccessibleWidget(w) {}

    QAccessible::Role role() const override
    {
        const TControlEvents* c = ComponentOf(object());
        return c ? c->AccessibleRole() : QAccessibleWidget::role();
    }
    QString text(QAccessible::Text t) const override
    {
        const TControlEvents* c = ComponentOf(object());
        if (t == QAccessible::Value && c)
            return c->AccessibleValueText();
        QString s = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && s.isEmpty())
            s = object()->objectName();
        return s;
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        if (const TControlEvents* c = ComponentOf(object()))
            c->AccessibleState(s);
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType t) override
    {
        TAccessibleValue v;
        if (t == QAccessible::ValueInterface) {
            const TControlEvents* c = ComponentOf(object());
            return c && c->AccessibleValue(v) ? static_cast<QAccessibleValueInterface*>(this) : nullptr;
        }
        return QAccessibleWidget::interface_cast(t);
    }

    QVariant currentValue() const override { return Value().Current; }
    void setCurrentValue(const QVariant& value) override
    {
        if (TControlEvents* c = ComponentOf(object()))
            GuardedCall([&] { c->SetAccessibleValue(value.toDouble()); });
    }
    QVariant maximumValue() const override { return Value().Maximum; }
    QVariant minimumValue() const override { return Value().Minimum; }
    QVariant minimumStepSize() const override { return Value().Step; }

private:
    TAccessibleValue Value() const
    {
        TAccessibleValue v;
        if (const TControlEvents* c = ComponentOf(object()))
            c->AccessibleValue(v);
        return v;
    }
};

// ---------------------------------------------------------------------------------------------
// An edit control: a value component that keeps the line edit's text interface, so screen
// readers follow the caret and the selection as in any Qt line edit.
class TAccessibleEdit : public TAccessibleControl, public QAccessibleTextInterface {
public:
    explicit TAccessibleEdit(QLineEdit* e) : TAccessibleControl(e) {}

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return TAccessibleControl::interface_cast(t);
    }

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override
    {
        *startOffset = *endOffset = 0;
        if (selectionIndex == 0 && Edit()->hasSelectedText()) {
            *startOffset = Edit()->selectionStart();
            *endOffset = *startOffset + int(Edit()->selectedText().size());
        }
    }
    int selectionCount() const override { return Edit()->hasSelectedText() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
    void removeSelection(int selectionIndex) override
    {
        if (selectionIndex == 0)
            Edit()->deselect();
    }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override
    {
        if (selectionIndex == 0)
            Edit()->setSelection(startOffset, endOffset - startOffset);
    }
    int cursorPosition() const override { return Edit()->cursorPosition(); }
    void setCursorPosition(int position) override { Edit()->setCursorPosition(position); }
    QString text(int startOffset, int endOffset) const override
    {
        return Edit()->text().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(Edit()->text().size()); }
    QRect characterRect(int offset) const override
    {
        // One line of text from the left of the text area (a line edit keeps 2 pixels free).
        const QLineEdit* e = Edit();
        const QString t = e->displayText();
        if (offset < 0 || offset >= t.size())
            return {};
        const QFontMetrics fm(e->font());
        const QRect area = e->contentsRect().marginsRemoved(e->textMargins());
        const int x = area.left() + 2 + fm.horizontalAdvance(t.left(offset));
        const QRect r(x, area.top() + (area.height() - fm.height()) / 2, fm.horizontalAdvance(t.at(offset)), fm.height());
        return QRect(e->mapToGlobal(r.topLeft()), r.size());
    }
    int offsetAtPoint(const QPoint& point) const override { return Edit()->cursorPositionAt(Edit()->mapFromGlobal(point)); }
    void scrollToSubstring(int startIndex, int) override { Edit()->setCursorPosition(startIndex); }
    QString attributes(int offset, int* startOffset, int* endOffset) const override
    {
        *startOffset = *endOffset = offset;
        return {};
    }

private:
    QLineEdit* Edit() const { return static_cast<QLineEdit*>(widget()); }
};

class TAccessibleGrid;

// ---------------------------------------------------------------------------------------------
// One cell of a grid.
class TAccessibleCell : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    TAccessibleCell(TAccessibleGrid* table, QWidget* grid, int row, int column)
        : FTable(table), FGrid(grid), FRow(row), FColumn(column) {}

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return FGrid ? FGrid->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        const TAccessibleTableSource* s = Source();
        if (!s || (t != QAccessible::Name && t != QAccessible::Value))
            return {};
        return s->AccessibleCellText(FRow, FColumn);
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        const TAccessibleTableSource* s = Source();
        if (!s)
            return {};
        const QRect r = s->AccessibleCellRect(FRow, FColumn);
        return r.isEmpty() ? r : QRect(FGrid->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override
    {
        QAccessible::State st;
        const TAccessibleTableSource* s = Source();
        if (!s)
            return st;
        st.selectable = true;
        st.selected = s->AccessibleRowSelected(FRow);
        if (s->AccessibleCellCheckable(FRow, FColumn)) {
            st.checkable = true;
            st.checked = s->AccessibleCellChecked(FRow, FColumn);
        }
        if (s->AccessibleCellRect(FRow, FColumn).isEmpty())
            st.invisible = true;
        return st;
    }
    void* interface_cast(QAccessible::InterfaceType t) override
    {
        return t == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface*>(this) : nullptr;
    }

    bool isSelected() const override { return state().selected; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return FColumn; }
    int rowIndex() const override { return FRow; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override;

private:
    const TAccessibleTableSource* Source() const
    {
        const TControlEvents* c = FGrid ? ComponentOf(FGrid.data()) : nullptr;
        return c ? c->AccessibleTable() : nullptr;
    }
    TAccessibleGrid* FTable;
    QPointer<QWidget> FGrid;
    int FRow, FColumn;
};

// ---------------------------------------------------------------------------------------------
// A grid: the control, and its cells as a table. Cell interfaces are made on demand and kept
// until the table changes shape.
class TAccessibleGrid : public TAccessibleControl, public QAccessibleTableInterface {
public:
    explicit TAccessibleGrid(QWidget* w) : TAccessibleControl(w) {}
    ~TAccessibleGrid() override { DropCells(); }

    QAccessible::Role role() const override { return QAccessible::Table; }
    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return TAccessibleControl::interface_cast(t);
    }
    int childCount() const override { return rowCount() * columnCount(); }
    QAccessibleInterface* child(int index) const override
    {
        const int cols = columnCount();
        return cols > 0 && index >= 0 ? cellAt(index / cols, index % cols) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* iface) const override
    {
        if (auto* cell = const_cast<QAccessibleInterface*>(iface)->tableCellInterface())
            return cell->rowIndex() * columnCount() + cell->columnIndex();
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        const TAccessibleTableSource* s = Source();
        int row = -1, column = -1;
        if (s)
            s->AccessibleCellAt(widget()->mapFromGlobal(QPoint(x, y)), row, column);
        return cellAt(row, column);
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override
    {
        if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount())
            return nullptr;
        const qint64 key = (qint64(row) << 32) | quint32(column);
        auto it = FCells.constFind(key);
        if (it != FCells.constEnd())
            return QAccessible::accessibleInterface(*it);
        auto* cell = new TAccessibleCell(const_cast<TAccessibleGrid*>(this), widget(), row, column);
        FCells.insert(key, QAccessible::registerAccessibleInterface(cell));
        return cell;
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
        return s ? s->AccessibleColumnHeader(column) : QString();
    }
    QString rowDescription(int) const override { return {}; }
    int columnCount() const override
    {
        const TAccessibleTableSource* s = Source();
        return s ? s->AccessibleColumnCount() : 0;
    }
    int rowCount() const override
    {
        const TAccessibleTableSource* s = Source();
        return s ? s->AccessibleRowCount() : 0;
    }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return int(selectedRows().size()); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override
    {
        QList<int> rows;
        const TAccessibleTableSource* s = Source();
        for (int r = 0, n = s ? s->AccessibleRowCount() : 0; r < n; ++r)
            if (s->AccessibleRowSelected(r))
                rows.append(r);
        return rows;
    }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override
    {
        const TAccessibleTableSource* s = Source();
        return s && s->AccessibleRowSelected(row);
    }
    // Selection stays with the user and the program.
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override { DropCells(); }

    const TAccessibleTableSource* Source() const
    {
        const TControlEvents* c = ComponentOf(object());
        return c ? c->AccessibleTable() : nullptr;
    }

private:
    void DropCells()
    {
        for (QAccessible::Id id : std::as_const(FCells))
            QAccessible::deleteAccessibleInterface(id);
        FCells.clear();
    }
    mutable QHash<qint64, QAccessible::Id> FCells;
};

bool TAccessibleCell::isValid() const
{
    const TAccessibleTableSource* s = Source();
    return s && FRow < s->AccessibleRowCount() && FColumn < s->AccessibleColumnCount();
}

QAccessibleInterface* TAccessibleCell::parent() const
{
    return FGrid ? QAccessible::queryAccessibleInterface(FGrid.data()) : nullptr;
}

QAccessibleInterface* TAccessibleCell::table() const
{
    return parent();
}

QAccessibleInterface* Factory(const QString&, QObject* object)
{
    auto* w = qobject_cast<QWidget*>(object);
    const TControlEvents* c = w ? ComponentOf(object) : nullptr;
    if (!c)
        return nullptr;
    if (c->AccessibleTable())
        return new TAccessibleGrid(w);
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return new TAccessibleEdit(edit);
    return new TAccessibleControl(w);
}

} // namespace

void AdoptAccessibleInterface(QObject* object)
{
    // With assistive technology running, Qt may have made a plain interface while the widget
    // was still being constructed; drop it so the next query makes the component's own.
    if (!QAccessible::isActive())
        return;
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
    if (iface && !dynamic_cast<TAccessibleControl*>(iface))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
}

void InstallAccessibleFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(&Factory);
        return true;
    }();
    (void)installed;
}

} // namespace qor
