// The draw grid: a scrolling grid of owner-drawn cells with fixed rows and columns, a current
// cell and selection rectangle, column/row sizing, keyboard navigation and an in-place editor.
//
// Geometry follows the classic draw grid:
//  - columns and rows are numbered from 0; the fixed ones come first and never scroll;
//  - each cell is ColWidths(c) x RowHeights(r) pixels, followed by GridLineWidth pixels of grid
//    line to the right and below; the line is drawn only where Options ask for it (goFixed...
//    for lines next to fixed cells, goVertLine/goHorzLine elsewhere), otherwise the gap shows
//    the grid's Color;
//  - scrolling moves by whole rows and columns: TopRow and LeftCol are the first visible
//    non-fixed row and column, so a paint touches only the visible cells whatever RowCount is.
//
// Cell rectangles are QRects; the classic Right/Bottom edges (exclusive) are
// rect.left() + rect.width() and rect.top() + rect.height().
#pragma once

#include "QOR_Controls.h"
#include "QOR_Graphics.h"
#include "QOR_Set.h"

#include <QAbstractScrollArea>
#include <QLineEdit>
#include <QStringList>
#include <vector>

class QComboBox;

namespace qor {

// A cell of the grid: column X, row Y (both from 0; -1 for none where a query finds no cell).
struct TGridCoord {
    int X = 0; // column
    int Y = 0; // row
    // Same column and row.
    constexpr bool operator==(const TGridCoord&) const = default;
};

// A rectangle of cells, both corners included.
struct TGridRect {
    int Left = 0; // first column
    int Top = 0; // first row
    int Right = 0; // last column
    int Bottom = 0; // last row
    // Same corners.
    constexpr bool operator==(const TGridRect&) const = default;
    // Whether column c, row r lies inside.
    constexpr bool Contains(int c, int r) const { return c >= Left && c <= Right && r >= Top && r <= Bottom; }
};

inline namespace QOR_Grids {
Q_NAMESPACE_EXPORT(KORVANE_EXPORT)
// The grid options, a set: each option is one bit, so Designer shows them as a check list and
// .ui files store them as goVertLine|goRowSelect.
enum TGridOption : std::uint32_t {
    goFixedVertLine = 1u << 0, goFixedHorzLine = 1u << 1, goVertLine = 1u << 2, goHorzLine = 1u << 3,
    goRangeSelect = 1u << 4, goDrawFocusSelected = 1u << 5, goRowSizing = 1u << 6, goColSizing = 1u << 7,
    goRowMoving = 1u << 8, goColMoving = 1u << 9, goEditing = 1u << 10, goTabs = 1u << 11,
    goRowSelect = 1u << 12, goAlwaysShowEditor = 1u << 13, goThumbTracking = 1u << 14,
    goFixedColClick = 1u << 15, goFixedRowClick = 1u << 16, goFixedHotTrack = 1u << 17
};
Q_DECLARE_FLAGS(TGridOptions, TGridOption)
Q_FLAG_NS(TGridOptions)
// Which scroll bars the grid shows.
enum TScrollStyle : std::uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
Q_ENUM_NS(TScrollStyle)
// The grid's frame: none, or a single border (see Ctl3D).
enum TBorderStyle : std::uint8_t { bsNone, bsSingle };
Q_ENUM_NS(TBorderStyle)
} // namespace QOR_Grids
Q_DECLARE_OPERATORS_FOR_FLAGS(TGridOptions)

// How a cell is drawn: gdSelected in the selection, gdFocused the current cell of a focused
// grid, gdFixed a fixed cell, gdRowSelected a cell of the current row under goRowSelect
// (the base grid sets neither gdHotTrack nor gdPressed).
enum TGridDrawStateElem : std::uint8_t { gdSelected, gdFocused, gdFixed, gdRowSelected, gdHotTrack, gdPressed };
// The draw state a cell is drawn with (DrawCell, OnDrawCell).
using TGridDrawState = TSet<TGridDrawStateElem, std::uint8_t>;

// The in-place editor a cell gets: a line edit, one with an ellipsis button, or a pick list.
enum TEditStyle : std::uint8_t { esSimple, esEllipsis, esPickList };
// What a mouse drag is doing now: nothing, selecting cells, sizing a row or sizing a column.
enum TGridState : std::uint8_t { gsNormal, gsSelecting, gsRowSizing, gsColSizing };

// Draws cell (ACol, ARow) into Rect (client coordinates) on the grid's canvas.
using TDrawCellEvent = std::function<void(QObject* Sender, int ACol, int ARow, QRect Rect, TGridDrawState State)>;
// Asked before the current cell moves to (ACol, ARow); set CanSelect to false to refuse.
using TSelectCellEvent = std::function<void(QObject* Sender, int ACol, int ARow, bool& CanSelect)>;
// The editor opens on (ACol, ARow): set Value to the text it starts with (empty by default).
using TGetEditEvent = std::function<void(QObject* Sender, int ACol, int ARow, QString& Value)>;
// The editor of (ACol, ARow) holds Value; called on every edit as the user types.
using TSetEditEvent = std::function<void(QObject* Sender, int ACol, int ARow, const QString& Value)>;

class TCustomGrid;

// The in-place editor: a frameless line edit over the current cell (QOR_GridEditor.cpp).
class KORVANE_EXPORT TInplaceEdit : public QLineEdit {
    Q_OBJECT
public:
    // Creates the hidden, frameless editor on the viewport of grid.
    explicit TInplaceEdit(TCustomGrid* grid);
protected:
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
private:
    TCustomGrid* FGrid;
};

// The grid base on the control host; its data cells are its accessible table.
class KORVANE_EXPORT TCustomGrid : public TSurfaceHost<QAbstractScrollArea>, public TAccessibleTableSource {
    Q_OBJECT
public:
    // Creates a 5 x 5 grid of 64 x 24 pixel cells with one fixed row and column and the current
    // cell at (1, 1), owned by AOwner.
    explicit TCustomGrid(QWidget* AOwner = nullptr);
    ~TCustomGrid() override;

    // --- counts and sizes
    int ColCount() const { return int(FColWidths.size()); }
    void SetColCount(int v);
    int RowCount() const { return FRowCount; }
    void SetRowCount(int v);
    // Fixed counts are kept below the column / row count; a count lowered so comes back when
    // columns / rows come back (the count last set is the one wanted).
    int FixedCols() const { return FFixedCols; }
    void SetFixedCols(int v);
    int FixedRows() const { return FFixedRows; }
    void SetFixedRows(int v);
    int DefaultColWidth() const { return FDefaultColWidth; }
    // Sets every column to the new default width.
    void SetDefaultColWidth(int v);
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    // Sets every row to the new default height.
    void SetDefaultRowHeight(int v);
    // Out-of-range reads give 0; out-of-range writes are ignored.
    int ColWidths(int i) const;
    // Sets the width of column i in pixels (negative counts as 0).
    void SetColWidths(int i, int w);
    // Height of row i in pixels; 0 out of range.
    int RowHeights(int i) const;
    // Sets the height of row i in pixels (negative counts as 0); ignored out of range.
    void SetRowHeights(int i, int h);
    // Room for Cols columns and Rows rows: growing to them later (SetColCount, SetRowCount,
    // InsertColAt, InsertRowAt at the default height) allocates nothing, so a component can take
    // every allocation before it changes its data. Running out of memory here changes nothing.
    void ReserveLines(int Cols, int Rows);
    // A line shown or hidden in one step: InsertColAt puts a column Width wide before column
    // Index (0..ColCount()), the columns from Index on moving right with their widths;
    // DeleteColAt removes column Index (the last column stays), the columns after it moving
    // left. The current cell, the selection and the scroll position stay on their cells; the
    // fixed count stays as set. The row versions do the same with heights. An open in-place
    // editor is closed first.
    void InsertColAt(int Index, int Width);
    // Removes column Index; ignored out of range and for the last column left (see InsertColAt).
    void DeleteColAt(int Index);
    // Puts a row Height high before row Index (clamped to 0 .. RowCount()); see InsertColAt.
    void InsertRowAt(int Index, int Height);
    // Removes row Index; ignored out of range and for the last row left (see InsertColAt).
    void DeleteRowAt(int Index);
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int v);

    // --- options and looks
    TGridOptions Options() const { return FOptions; }
    void SetOptions(TGridOptions v);
    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor c);
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool v) { FDefaultDrawing = v; Invalidate(); }
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle v);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle v);
    // A single border is a sunken 3-D edge, or without Ctl3D a flat line one pixel wide.
    bool Ctl3D() const { return FCtl3D; }
    // Switches between the sunken and the flat single border.
    void SetCtl3D(bool v);

    // --- scrolling
    // The first non-fixed row shown (at least FixedRows()).
    int TopRow() const { return FTopLeft.Y; }
    // Scrolls so that row v comes first after the fixed rows, as far as the rows allow
    // (scrolling stops once the last row is shown completely).
    void SetTopRow(int v);
    // The first non-fixed column shown (at least FixedCols()).
    int LeftCol() const { return FTopLeft.X; }
    // Scrolls so that column v comes first after the fixed columns, as far as the columns allow.
    void SetLeftCol(int v);
    // The number of non-fixed rows / columns shown completely.
    int VisibleRowCount() const;
    // The number of non-fixed columns shown completely.
    int VisibleColCount() const;

    // --- current cell and selection
    // Column of the current cell.
    int Col() const { return FCurrent.X; }
    // Moves the current cell to column v (held to the non-fixed columns; SelectCell may refuse),
    // collapsing the selection to it and scrolling it into view.
    void SetCol(int v) { FocusCell(v, FCurrent.Y, true); }
    // Row of the current cell.
    int Row() const { return FCurrent.Y; }
    // Moves the current cell to row v (held to the non-fixed rows; SelectCell may refuse),
    // collapsing the selection to it and scrolling it into view.
    void SetRow(int v) { FocusCell(FCurrent.X, v, true); }
    // The selected cells: the rectangle from the anchor to the current cell (whole non-fixed
    // columns under goRowSelect).
    TGridRect Selection() const;
    // Sets the selection, clamped to the non-fixed cells: its top-left becomes the anchor and
    // its bottom-right the current cell.
    void SetSelection(TGridRect v);

    // --- geometry queries (client = viewport coordinates)
    // The rectangle of a visible cell (clipped to the client area); empty when not visible.
    QRect CellRect(int ACol, int ARow) const;
    // The cell under the client point (X, Y), grid line included; (-1, -1) outside the cells.
    TGridCoord MouseCoord(int X, int Y) const;
    // MouseCoord() as column and row.
    void MouseToCell(int X, int Y, int& ACol, int& ARow) const;
    // Right / bottom end of the visible cells with their lines, at most the client size.
    int GridWidth() const;
    // Bottom end of the visible cells with their lines, at most ClientHeight().
    int GridHeight() const;
    // Width of the client area (the viewport) in pixels.
    int ClientWidth() const;
    // Height of the client area (the viewport) in pixels.
    int ClientHeight() const;
    // The client area in client coordinates.
    QRect ClientRect() const { return QRect(0, 0, ClientWidth(), ClientHeight()); }

    // --- editing
    // Whether the in-place editor is open.
    bool EditorMode() const;
    // Opens (ShowEditor) or closes (HideEditor) the in-place editor.
    void SetEditorMode(bool v);
    // The line-edit editor; nullptr until it was first needed (a pick list is not it).
    QLineEdit* InplaceEditor() const;
    // Opens the editor on the current cell when goEditing allows it (not under goRowSelect) and
    // the cell is not fixed; the editor starts with GetEditText.
    void ShowEditor();
    // Closes the editor, keeping what was typed (each edit has already gone to SetEditText).
    void HideEditor();
    // Rows the pick list shows when it drops down (at least 1; 8 at start).
    int PickListDropDownCount() const { return FPickListDropDownCount; }
    // Sets the pick list's row count; values below 1 count as 1.
    void SetPickListDropDownCount(int v);

    // --- painting
    // Renders the grid again (the grid always renders whole).
    void InvalidateCell(int, int) { Invalidate(); }
    // Renders the grid again (the grid always renders whole).
    void InvalidateRow(int) { Invalidate(); }
    // Renders the grid again (the grid always renders whole).
    void InvalidateCol(int) { Invalidate(); }
    // Renders the grid again.
    void InvalidateGrid() { Invalidate(); }

    // What a mouse drag is doing now.
    TGridState GridState() const { return FGridState; }

    // --- the data cells as an accessible table (the plain grid knows no texts)
    const TAccessibleTableSource* AccessibleTable() const override { return this; }
    QAccessible::Role AccessibleRole() const override { return QAccessible::Table; }
    // The non-fixed rows.
    int AccessibleRowCount() const override { return std::max(0, FRowCount - FFixedRows); }
    // The non-fixed columns.
    int AccessibleColumnCount() const override { return std::max(0, ColCount() - FFixedCols); }
    QString AccessibleCellText(int Row, int Column) const override { return {}; }
    QString AccessibleColumnHeader(int Column) const override { return {}; }
    QRect AccessibleCellRect(int Row, int Column) const override;
    bool AccessibleCellAt(QPoint Pos, int& Row, int& Column) const override;
    // Whether a data row lies in the selection's rows.
    bool AccessibleRowSelected(int Row) const override;
    void AccessibleCurrentCell(int& Row, int& Column) const override;

protected:
    // Renders the visible part of the grid into Canvas(): background, grid lines, then every
    // visible cell through DrawCell, fixed cells first.
    virtual void Paint();
    virtual void DrawCell(int ACol, int ARow, const QRect& ARect, TGridDrawState AState) {}
    // Asked before the current cell moves; false keeps it where it is.
    virtual bool SelectCell(int ACol, int ARow) { return true; }
    virtual void TopLeftChanged() {}
    virtual void SizeChanged(int OldColCount, int OldRowCount) {}
    virtual void ColWidthsChanged() {}
    virtual void RowHeightsChanged() {}
    virtual QString GetEditText(int ACol, int ARow) { return QString(); }
    virtual void SetEditText(int ACol, int ARow, const QString& Value) {}
    virtual bool CanEditShow() const;
    virtual TEditStyle GetEditStyle(int ACol, int ARow) { return esSimple; }
    virtual QStringList GetPickListItems(int ACol, int ARow) { return {}; }
    // Escape in an editor that has written to its cell: the cell gets back what it held when
    // the editor opened. The default writes OriginalText, the text GetEditText gave then,
    // through SetEditText.
    virtual void RestoreEditCell(int ACol, int ARow, const QString& OriginalText);
    void FocusChanged(bool Focused) override
    {
        Invalidate();
        if (Focused)
            AccessibleCurrentCellChanged();
    }

    // Moves the current cell (asking SelectCell); MoveAnchor false extends the selection from
    // the anchor (range selection). Scrolls the cell into view.
    void FocusCell(int ACol, int ARow, bool MoveAnchor);
    // Scrolls so that the cell is fully visible (as far as the client area allows).
    void ScrollToCell(int ACol, int ARow);
    void ShowEditorChar(QChar ch);

    // Classic handlers.
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // What MouseUp does before it fires OnMouseUp: ends sizing and drag selection (and opens
    // the editor after a click on the current cell). A grid whose MouseUp keeps OnMouseUp
    // silent still calls it, or every later hover would go on moving the current cell.
    void FinishMouseAction(int X, int Y);
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    bool DoMouseWheelDown(TShiftState Shift, QPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, QPoint MousePos) override;

    // Qt plumbing.
    void Resized() override;
    void scrollContentsBy(int dx, int dy) override;
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    friend class TInplaceEdit;
    struct AxisRun {      // the visible cells of one axis
        std::vector<int> Index;   // cell numbers in drawing order (fixed first)
        std::vector<int> Start;   // pixel start of each
        int End = 0;              // end of the last cell's line
    };
    AxisRun VisibleCols() const;
    AxisRun VisibleRows() const;
    int FixedWidth() const;
    int FixedHeight() const;
    int MaxTopRow() const;
    int MaxLeftCol() const;
    void ClampTopLeft();
    void UpdateScrollBars();
    void ApplyBorder();
    void SetTopLeft(int ACol, int ARow);
    TGridCoord ClampedToCells(TGridCoord p) const;   // inside the non-fixed cells
    // Moves the cell positions along one axis after a line was inserted (Delta 1) or removed
    // (Delta -1) at Index, then applies the new counts.
    void ShiftCells(int TGridCoord::*Axis, int Index, int Delta, int OldCols, int OldRows);
    void ClampCurrent();
    void ClampCurrent(TGridCoord Was);   // tells currentCellChanged when the cell is not Was
    int ColSizingHit(int X, int Y) const;   // column whose right border is under (X, Y), or -1
    int RowSizingHit(int X, int Y) const;
    void PlaceEditor();
    void EditorTextEdited(const QString& s);
    void CommitEditorAndHide();
    void CancelEditor();
    // Enter closed the editor: the key goes on to the grid's handlers (KeyDown, KeyPress),
    // which must not open the editor again.
    void PassEnterFromEditor(QKeyEvent* e);
    void DrawLines(const AxisRun& cols, const AxisRun& rows);
    bool IsSelectedDraw(int c, int r) const;

    std::vector<int> FColWidths;
    std::vector<int> FRowHeights;       // empty while every row has the default height
    int FRowCount = 5;
    int FFixedCols = 1;
    int FFixedRows = 1;
    int FFixedColsSet = 1;      // the fixed counts last set, before the counts limit them
    int FFixedRowsSet = 1;
    int FDefaultColWidth = 64;
    int FDefaultRowHeight = 24;
    int FGridLineWidth = 1;
    TGridOptions FOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
    TColor FFixedColor = clBtnFace;
    bool FDefaultDrawing = true;
    TScrollStyle FScrollBars = ssBoth;
    TBorderStyle FBorderStyle = bsSingle;
    bool FCtl3D = true;
    TGridCoord FTopLeft{1, 1};
    TGridCoord FCurrent{1, 1};
    TGridCoord FAnchor{1, 1};
    TGridState FGridState = gsNormal;
    int FSizingIndex = -1;
    int FSizingOrigin = 0;       // mouse position where sizing started
    int FSizingStartSize = 0;
    bool FClickOnCurrent = false;
    bool FSyncingScroll = false;
    TInplaceEdit* FEditor = nullptr;
    QComboBox* FPickList = nullptr;
    QString FEditOriginal;
    bool FEditorShown = false;
    bool FPickActive = false;   // the open editor is the pick list
    int FPickListDropDownCount = 8;
    bool FEditWritten = false;      // the open editor has written to its cell
    bool FEnterFromEditor = false;  // the key being handled is the Enter that closed the editor
    TGridCoord FEditCell{-1, -1};

Q_SIGNALS:
    // The current cell moved (by the user or the program).
    void currentCellChanged(int col, int row);

    QOR_CONTROL_SIGNALS
};

// The draw grid with its events: OnDrawCell draws each cell, OnSelectCell may refuse a move,
// OnTopLeftChanged follows scrolling, OnGetEditText / OnSetEditText connect the editor. The
// events without by-reference arguments are followed by their signals: drawCell(...),
// topLeftChanged(), editTextSet(...), columnSized().
class KORVANE_EXPORT TCustomDrawGrid : public TCustomGrid {
    Q_OBJECT
public:
    // Creates the grid owned by AOwner (see TCustomGrid).
    explicit TCustomDrawGrid(QWidget* AOwner = nullptr);
    TDrawCellEvent OnDrawCell; // draws each cell, after the default fill and before the focus frame when DefaultDrawing
    TSelectCellEvent OnSelectCell; // may refuse a move of the current cell
    TNotifyEvent OnTopLeftChanged; // TopRow or LeftCol changed
    TGetEditEvent OnGetEditText; // gives the text an editor opens with
    TSetEditEvent OnSetEditText; // takes every edit of the editor's text
    TNotifyEvent OnColumnSized; // a column width changed (by the user or a program)
Q_SIGNALS:
    // After OnDrawCell: the cell was drawn.
    void drawCell(int col, int row, QRect rect, qor::TGridDrawState state);
    // After OnTopLeftChanged: the grid scrolled.
    void topLeftChanged();
    // After OnSetEditText: the editor's text went to its cell.
    void editTextSet(int col, int row, const QString& value);
    // After OnColumnSized: a column width changed.
    void columnSized();
protected:
    void DrawCell(int ACol, int ARow, const QRect& ARect, TGridDrawState AState) override;
    bool SelectCell(int ACol, int ARow) override;
    void TopLeftChanged() override;
    QString GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const QString& Value) override;
    void ColWidthsChanged() override;
};

// A plain draw grid for programs that draw their cells through OnDrawCell.
class KORVANE_EXPORT TDrawGrid : public TCustomDrawGrid {
    Q_OBJECT
public:
    QOR_PROPERTY(int, ColCount)
    QOR_PROPERTY(int, RowCount)
    QOR_PROPERTY(int, FixedCols)
    QOR_PROPERTY(int, FixedRows)
    QOR_PROPERTY(int, DefaultColWidth)
    QOR_PROPERTY(int, DefaultRowHeight)
    QOR_PROPERTY(int, GridLineWidth)
    QOR_PROPERTY(bool, DefaultDrawing)
    QOR_PROPERTY(qor::QOR_Grids::TGridOptions, Options)
    QOR_COLOR_PROPERTY(Color)
    QOR_COLOR_PROPERTY(FixedColor)
    QOR_PROPERTY(qor::QOR_Grids::TScrollStyle, ScrollBars)
    QOR_PROPERTY(qor::QOR_Grids::TBorderStyle, BorderStyle)

    // Creates the grid owned by AOwner (see TCustomGrid).
    explicit TDrawGrid(QWidget* AOwner = nullptr) : TCustomDrawGrid(AOwner) {}
};

} // namespace qor

Q_DECLARE_METATYPE(qor::TGridDrawState)
