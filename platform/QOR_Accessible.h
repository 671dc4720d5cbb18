// What a component tells the accessibility layer about the things it draws itself: its value,
// the parts inside it (captions, a check box) and, for grids, its cells. The virtual functions
// that hand these to the host are on TControlEvents (QOR_Controls.h), which states the rules.
#pragma once

#include "QOR_Classes.h"

#include <QAccessible>
#include <QRect>
#include <QString>
#include <QStringList>

namespace qor {

// The value of a component whose value the user can set (a numeric field).
struct TAccessibleValue {
    double Current = 0.0; // the value now
    double Minimum = 0.0; // the smallest value the user can set
    double Maximum = 0.0; // the largest value the user can set
    double Step = 0.0; // the change of one step (an arrow key); 0 when the value has no steps
};

// A part of a component that a reader meets as an object of its own: a caption, a check box.
struct TAccessiblePart {
    QAccessible::Role Role = QAccessible::StaticText; // what a reader calls it; StaticText marks it read-only
    QString Name; // the text a reader reads for it
    QRect Rect;                  // widget coordinates; empty while the part is not shown
    bool Checkable = false; // whether it is a check box
    bool Checked = false; // whether its box is checked (only meaningful when Checkable)
    bool LabelsComponent = false;   // a caption: the component is labelled by it
    QStringList Actions;         // Qt action names that work now (QAccessibleActionInterface)
};

// The cells of a grid as a table: rows and columns count from 0 over the data cells (the
// header rows are not rows of the table; their cells are the column headers).
class KORVANE_EXPORT TAccessibleTableSource {
public:
    virtual ~TAccessibleTableSource() = default;
    // Number of data rows (header rows not counted); a negative count is taken as 0.
    virtual int AccessibleRowCount() const = 0;
    // Number of columns; a negative count is taken as 0.
    virtual int AccessibleColumnCount() const = 0;
    // The text a screen reader reads: the cell's text as shown; the mask for secret cells.
    virtual QString AccessibleCellText(int Row, int Column) const = 0;
    // One line of text (a header of several lines is read as one).
    virtual QString AccessibleColumnHeader(int Column) const = 0;
    // Whether the column headers are on screen (they are cells of their own then).
    virtual bool AccessibleHasColumnHeaders() const { return false; }
    // The caption over the whole table; empty when there is none.
    virtual QString AccessibleCaption() const { return {}; }
    // Where the caption lies, in widget coordinates; empty when there is no caption or it is hidden.
    virtual QRect AccessibleCaptionRect() const { return {}; }
    // Where a cell lies, in widget coordinates; empty when it is not visible. Row -1 is the
    // column header row.
    virtual QRect AccessibleCellRect(int Row, int Column) const = 0;
    // The cell at a point in widget coordinates (row -1 on a column header); false (and -1, -1)
    // when there is none.
    virtual bool AccessibleCellAt(QPoint Pos, int& Row, int& Column) const = 0;
    // Whether the data row Row is selected.
    virtual bool AccessibleRowSelected(int Row) const = 0;
    // Whether the cell is a check or radio cell (it then reads as checkable).
    virtual bool AccessibleCellCheckable(int Row, int Column) const { return false; }
    // Whether the check or radio cell is checked now; false for other cells.
    virtual bool AccessibleCellChecked(int Row, int Column) const { return false; }
    // Whether a toggle of the check or radio cell would take effect now (a cell the grid does
    // not let the user change is not).
    virtual bool AccessibleCellToggleable(int Row, int Column) const { return false; }
    // Toggles a cell the way a click on its box does (events fire).
    virtual void ToggleAccessibleCell(int Row, int Column) {}
    // Secret cells give their mask, never their text.
    virtual bool AccessibleCellSecret(int Row, int Column) const { return false; }
    // Whether the user could edit the cell's text now; cells that are not are read as read-only.
    virtual bool AccessibleCellEditable(int Row, int Column) const { return false; }
    // The current cell (-1, -1 when there is none).
    virtual void AccessibleCurrentCell(int& Row, int& Column) const { Row = Column = -1; }
    // Whether more than one row can be selected at a time.
    virtual bool AccessibleMultiSelect() const { return false; }
    // Row selection through assistive technology, the way the user selects (events fire);
    // false when the grid does not allow it.
    virtual bool SelectAccessibleRow(int Row, bool Selected) { return false; }
};

} // namespace qor
