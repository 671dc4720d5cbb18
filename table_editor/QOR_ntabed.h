// TNTabEd: a grid that shows and edits one TDataTable of the math package: a matrix of doubles
// with a state byte per cell (1 invalid, 2 empty, 16 locked, 64 mark A, 128 mark B), a name and
// an attribute byte per row and column, a scale type per column and a comment.
//
// Layout. Grid column 0 holds the row names, grid column 1 the row attributes while
// AttribRowVisible (FColOffset 1); grid row 0 holds the column names, grid row 1 the column
// attributes while AttribColVisible (FRowOffset 1). Data column k is grid column k + FColOffset,
// data row j grid row j + FRowOffset (data indices from 1). Grid columns = columns + FColOffset
// + 1, fixed columns FColOffset + 1; the same for rows. Every public index is a data index;
// Selection, Col, Row and the grid events (OnGetEditText, OnSetEditText, OnSelectCell) are the
// grid's, in grid indices.
//
// Number text of a value x with the column's precision p and w = NumWidth (NTabNumberText):
//   p 0..8: fixed, FormatRealStr(w, p, x), unless |x| is above the limit of p (999999999,
//           9999999.9, 999999.99, 99999.999, 9999.9999, 999.99999, 99.999999, 9.9999999,
//           0.99999999) or x != 0 and |x| < 10^-p: then exponential;
//   p -1, 9, 10: always exponential;
//   exponential: FormatRealStr(w + 6, -2, x) (two exponent digits, a row of "*" from 100 on).
// Attributes show as integers. A cell shows "" when empty (state 2), else "-nan-" when invalid
// (state 1), else in a nominal column (scale type 1 or 2) the identifier of its rounded
// ordinal, or "<scale type name>:<ordinal>" when the ordinal lies outside 0..150 or has no
// identifier, else its number text. The text offered for editing ignores the state: the
// identifier (or the bare ordinal) in nominal columns, the number text elsewhere.
//
// Drawing (L, T, R, B: a cell's rectangle, R and B exclusive):
//   data cell    background ColorRangeSelBG when selected, else ColorBackground; text colour
//                ColorMarkedA / ColorMarkedB / ColorMarkedBoth by the marks, else
//                ColorRangeSelFG when selected, else ColorNormal; marked cells bold when
//                BoldMarks; then OnBeforeRenderCell; the text at (L + 2, T + 1) clipped to the
//                cell. The current cell of a focused editor gets a dotted frame on its border.
//   fixed cell   (all but the top-left) its ring, the outermost pixel on each side, in the
//                DrawingStyle's look; inside it (L + 1 .. R - 2, T + 1 .. B - 2) ColorFixed; the
//                heading text clipped 2 pixels short of the inner right edge. Row names at
//                (L + 3, T + 1), row attributes and every column heading at (L + 3, T + 2), in
//                ColorSelected (bold when BoldSelHeads) for the top row / left column of the
//                selection, else ColorNormal. "Attrib" heads the attribute column, "Attribute"
//                the attribute row; where both cross the cell stays blank.
//   DrawingStyle gdsClassic: ring raised, clBtnHighlight top and left, clBtnShadow bottom and
//                right; gdsThemed (default): flat, ColorFixed top and left, clBtnShadow bottom
//                and right; gdsGradient: the whole cell a vertical gradient from
//                GradientStartColor (top row) to GradientEndColor (bottom row), texts over it.
//                The system colours resolve through the control's palette, the only visual
//                style this platform has.
//   top-left     "Comment:" in white on teal ($808000) at (L + 3, T + 2) while the comment memo
//                is open; else, with ShowCellCursor, the current cell as "column:row" (2:5) in
//                ColorNormal on clWindow; else a plain fixed cell.
//   no rows      the whole client area in ColorBackground, EmptyMessage split at "|" into n
//                lines of the text height h, each centred, line i (from 1) at
//                y = (ClientHeight - n h) / 2 + (i - 1) h - 2, in ColorEmptyMsg.
// With OptimizeRowHeight the default row height becomes the height AutoRowHeight(-1, 2) gives,
// checked before each paint (before, not after, so that the paint already has it) and set only
// when it differs, so that no paint announces a layout change.
// Nothing is painted while SuppressPaint or the editor's own bulk work holds painting off.
//
// Editing. The grid's goEditing follows the current cell: off on a locked cell and while
// DataReadOnly. Typing, F2, Enter (without AutoAdvance) or a click on the current cell opens
// the in-place editor (a pick list of the defined identifiers, ordinals 0..150 in order, in
// nominal columns, NomEditDropDownCount rows). Every change of its text is stored at once:
//   nominal column  an identifier found (OrdinalOfNominalID, ignoring case) or, failing that,
//                   a decimal integer is the ordinal;
//   other column    "," read as ".", blanks around ignored, the whole text a real number;
//   the value is held to the value range (VRangeLow..VRangeHigh, ordinals to the rounded
//   bounds) and stored, and the cell loses flags 1 and 2 (lock and marks stay); a text that is
//   no number sets flag 1 and keeps the value. OnSetEditText follows.
// Escape gives the cell back the value and state it had when the editor opened.
// With AutoAdvance, Enter (in the editor or not) moves the cursor: down for the first
// AutoAdvanceDir value (orHorizontal), right for the second (orVertical).
// On a locked cell, or read-only, keys that would change the cell are dropped; keys that only
// move (cursor keys, Page Up/Down, Home, End, Tab) and Enter still act.
//
// Menus. A right press (or the menu key) shows, unless OnContextPopup takes the event, the
// PopupMenu when one is assigned; otherwise, unless BlockInternalPopup, the editor's own:
//   on a data cell       the data menu "PopupDTAction" at the press point + (10, -20): items
//                        1..4 mark or unmark A or B in the submenu's scope ("Range": the
//                        selection, "Column": its columns, "Row": its rows, "All"), 5 unmark
//                        all, 6 clear, 7 copy, 8 paste, 9 extract from the clipboard,
//                        10 toggle DataReadOnly (icon CHECKEDBOX / EMPTYBOX), 11 select all,
//                        12 toggle the empty state of the selection, 13 reset all empty states;
//   on a heading         the heading menu "PopupHTAction" at the cell's top-left + (20, 20),
//                        while it is open the cell's frame inverted: 1 edit the heading (an
//                        edit box at the cell's top-left + (30, 5); Enter stores, a name cut to
//                        50 characters, an attribute that parses held to 0..255 and rounded,
//                        anything else changes nothing; Escape closes), 2 step the column's
//                        precision down (3, 2, 1, 0, -1, 10, 9, ...) and open the menu again,
//                        3 select, 4 insert before (named "(...)"), 5 delete the column or row;
//   on the top-left cell with CommentEditingAllowed: the comment memo, right of column 0,
//                        80 px high, white on teal: Enter stores (OnChange), Escape or a
//                        press on the top-left cell closes it without storing.
// Bit i - 1 of PopupDMask / PopupHMask belongs to item i: a data menu item whose bit is clear
// is hidden (items 1..4 too, so that a program can take any item away), a heading menu item
// disabled. Clear, paste, extract, insert and delete are disabled while DataReadOnly; paste
// also until something was copied, extract without text on the clipboard. Ctrl+C, Ctrl+V,
// Ctrl+Shift+V and Ctrl+A are the data menu's Copy, Paste, Extract and Select All.
//
// Clipboard.
//   Copy     the selection goes to the copy table (values and states) and to the clipboard as
//            text: per row, per column a separator (a blank before the first cell, a Tab before
//            the others) and the cell: "####" when it holds no number, else FormatRealStr(22,
//            -1, x) with ClipboardUseFullPrec, FormatRealStr(1, p, x) without; CR LF after each
//            row.
//   Paste    the copy table, values (held to the range) and states, from the top-left selected
//            cell on; cells outside the table are skipped; the block becomes the selection.
//   Extract  the numbers of the clipboard text (ScanClipNumbers) from the top-left selected cell
//            on, one column per number, one row per line that holds numbers; the block becomes
//            the selection. A stored number clears flags 1 and 2, as an edit does.
//   Locked cells are never changed by Clear, Paste or Extract.
//   GetClipMatrixSize gives the size of that block (ClipMatrixSize).
//
// Design choices:
//  - The value range is in force when VRangeLow <= VRangeHigh and either is not 0; a bound of
//    0 then counts as a bound (Low 0, High 10 is 0..10; Low -5, High 0 is -5..0). Low above
//    High (Low 5, High 0 included) is no range.
//  - Commas separate numbers in clipboard text for extraction and for GetClipMatrixSize alike
//    (CSV lines read as their numbers; the copy output uses points).
//  - New cells, at construction and when the table grows, are empty (value 0, state 2).
//  - Precision writes clamp: below 0 to -1, above 10 to 10. New columns, from growing or
//    inserting, take the precision of the last column, or 3 (as at construction) when there
//    was none; inserted columns take 3 and DefaultColWidth.
//  - New columns from growing take the width of the last data column, or DefaultColWidth
//    when there was none (the last grid column is then a heading column).
//  - OnSelectionChanged fires when the selection differs from the one last reported, after a
//    key, a mouse move, a wheel turn, a scroll or a menu selection.
//  - Structural edits and sorts run with painting held, repaint once and then tell what
//    changed: OnChangeSetup for a new size (insert, remove, Redimension), OnChange for values
//    that moved (mirror, sort).
//  - DrawingStyle chooses the look of the fixed cells (above). StyleElements: seBorder shows
//    the control's frame; seClient and seFont are kept for forms and change nothing, the cell
//    and text colours being the editor's own properties.
//  - The heading edit box stores on Enter and when it loses the focus; the comment memo stays
//    open when the focus goes elsewhere.
//  - Further operations: SortCols, SortRows (the values of the key
//    row / column in the rectangle decide, cells without a number last; IncludeHeaders moves
//    names, attributes and precisions with their lines), SortRowAttributes and
//    SortColAttributes (lines ordered by attribute, headings and precisions moving), SortColNames
//    and SortRowNames (whole lines by name), FindColIndex and FindRowIndex (TDataTable's name
//    lookup: case and surrounding blanks ignored, 0 when none), AssignAnotherDataMatrix (the
//    editor shows the table and no longer frees it; nullptr is ignored; the previous table's
//    hooks are cut, or it is freed when it was the editor's own; precisions start at 3),
//    CopyContentsFrom (the whole table: size, values, states, headings, comment; precisions
//    follow as when growing), CopyCellStatesFrom (the states of the cells both have), the
//    CellState write (stores the byte, repaints, OnCellStateChanged, and OnEmptyStChanged when
//    flag 2 changed). Every one keeps the grid layout and the precisions in step with the table.
//  - A size the memory cannot hold raises EQORNTabedError ("not enough memory on heap") and
//    leaves table, layout and precisions as they were.
//
// Safeguards against lost or corrupted data:
//  - Every hook the editor sets on an outside table is cut when the editor goes or shows
//    another table (not two of them).
//  - Precision and width follow their column through InsertColumn, RemoveColumn and
//    MirrorColumns (also when a program edits Data() directly).
//  - Nominal ordinal 0 is accepted as typed (the pick list offers it).
//  - A successful edit clears flags 1 and 2 and keeps lock and marks on both paths.
//  - Escape restores value and state exactly (not the rounded display text).
//  - GetClipMatrixSize counts the lines that hold numbers, the last one too: the copy output
//    does not report an extra row, "1 2 3" without a line end is 1 x 3.
//  - Only scans that read a digit are numbers: a lone sign or point is no 0.
//  - A failed growth leaves the table and the precision array as they were.
//  - Non-finite values (Elem, Fill, FillMarkedCells) are refused.
//  - Locked cells are not changed by Clear, Paste or Extract.
//  - FillMarkedCells tells OnChange once when it wrote cells (its SuppressPaint would
//    otherwise keep every notification back).
//
// Accessibility: the data cells as a table, with their shown texts, the column names as column
// headers, the current cell (focus moves with it) and the selected rows; readers hear when the
// selection and the shape of the table change. Locked cells, and all while DataReadOnly, are
// not editable.
#pragma once

#include <QOR_Grids.h>
#include <QOR_TextCache.h>
#include <QOR_datatable.h>
#include <QOR_qorbase.h>

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <new>
#include <stdexcept>
#include <vector>

class QLineEdit;
class QMenu;
class QAction;
class QPlainTextEdit;

namespace qor {

inline namespace QOR_ntabed {
Q_NAMESPACE_EXPORT(KORVANE_EXPORT)
// The look of the fixed cells (see above).
enum TGridDrawingStyle : std::uint8_t { gdsClassic, gdsThemed, gdsGradient };
Q_ENUM_NS(TGridDrawingStyle)
} // namespace QOR_ntabed

// The table editor's exception: "Component "<Name>": failed to initialize table editor (out of
// memory)" from the constructor, "Component "<Name>": not enough memory on heap" when the table
// or the precisions cannot grow.
class KORVANE_EXPORT EQORNTabedError : public EQORError {
public:
    using EQORError::EQORError;
};

// colix, rowix: data indices. The handler may change text, colours and font style.
using TBeforeRenderCellEvent = std::function<void(QObject* Sender, int colix, int rowix, QString& Text,
                                                  TColor& ColorText, TColor& ColorBakg, TFontStyles& FontStyles)>;
// Called with the data or heading menu before it shows; the handler may adjust its items.
using TBeforePopupEvent = std::function<void(QObject* Sender, QMenu* PMenu)>;

// The number text of a value with a column's precision and NumWidth (rules above).
KORVANE_EXPORT QString NTabNumberText(double Value, int Precision, int NumWidth);
// The numbers of clipboard text as Extract and GetClipMatrixSize read them. Tab, CR and ","
// are blanks; before each number the text is skipped up to a sign, point or digit; a number
// is read by ScanFloatStr with exponents (the point as separator) and counts only when it read
// a digit without a syntax error (a malformed one, "1.2.3", is passed over up to the next blank);
// a line feed ends a line, and a line without numbers takes no row. Store is called with the
// number's column and row in the block (from 0) and its value.
KORVANE_EXPORT void ScanClipNumbers(const QString& Text, const std::function<void(int Col, int Row, double Value)>& Store);
// The size of that block: NCols the most numbers in a line, NRows the lines with numbers. False
// (and 0 x 0) when the text holds no number.
KORVANE_EXPORT bool ClipMatrixSize(const QString& Text, int& NCols, int& NRows);

// A grid that shows and edits one TDataTable: layout, number texts, drawing, editing, menus and
// clipboard as described at the top of this file.
class KORVANE_EXPORT TNTabEd : public TCustomDrawGrid {
    Q_OBJECT
public:
    QOR_PROPERTY(int, NrOfColumns)
    QOR_PROPERTY(int, NrOfRows)
    QOR_PROPERTY(bool, AttribRowVisible)
    QOR_PROPERTY(bool, AttribColVisible)
    QOR_PROPERTY(int, NumWidth)
    QOR_PROPERTY_NOTIFY(bool, DataReadOnly, dataReadOnlyChanged)
    QOR_PROPERTY(bool, AutoAdvance)
    QOR_PROPERTY(qor::QOR_qorbase::TOrientation, AutoAdvanceDir)
    QOR_PROPERTY(bool, ShowCellCursor)
    QOR_PROPERTY(bool, OptimizeRowHeight)
    QOR_PROPERTY(bool, BoldMarks)
    QOR_PROPERTY(bool, BoldSelHeads)
    QOR_PROPERTY(bool, ClipboardUseFullPrec)
    QOR_PROPERTY(bool, CommentEditingAllowed)
    QOR_PROPERTY(bool, BlockInternalPopup)
    QOR_PROPERTY(int, NomEditDropDownCount)
    QOR_PROPERTY(double, VRangeLow)
    QOR_PROPERTY(double, VRangeHigh)
    QOR_PROPERTY(QString, Comment)
    QOR_PROPERTY(QString, EmptyMessage)
    QOR_COLOR_PROPERTY(ColorEmptyMsg)
    QOR_COLOR_PROPERTY(ColorBackground)
    QOR_COLOR_PROPERTY(ColorFixed)
    QOR_COLOR_PROPERTY(ColorNormal)
    QOR_COLOR_PROPERTY(ColorSelected)
    QOR_COLOR_PROPERTY(ColorMarkedA)
    QOR_COLOR_PROPERTY(ColorMarkedB)
    QOR_COLOR_PROPERTY(ColorMarkedBoth)
    QOR_COLOR_PROPERTY(ColorRangeSelFG)
    QOR_COLOR_PROPERTY(ColorRangeSelBG)
    QOR_PROPERTY(int, DefaultColWidth)
    QOR_PROPERTY(int, DefaultRowHeight)
    QOR_PROPERTY_NOTIFY(int, LeftCol, topLeftChanged)
    QOR_PROPERTY_NOTIFY(int, TopRow, topLeftChanged)
    QOR_PROPERTY(qor::QOR_ntabed::TGridDrawingStyle, DrawingStyle)
    QOR_COLOR_PROPERTY(GradientStartColor)
    QOR_COLOR_PROPERTY(GradientEndColor)
    QOR_PROPERTY(qor::QOR_Controls::TStyleElements, StyleElements)
    QOR_PROPERTY(qor::QOR_Grids::TGridOptions, Options)
    Q_PROPERTY(int VisibleColCount READ VisibleColCount)
    Q_PROPERTY(int VisibleRowCount READ VisibleRowCount)
    // The current cell in data indices (0 where there is none).
    Q_PROPERTY(int CurrentCol READ CurrentCol NOTIFY currentDataCellChanged)
    Q_PROPERTY(int CurrentRow READ CurrentRow NOTIFY currentDataCellChanged)

    explicit TNTabEd(QWidget* AOwner = nullptr);
    ~TNTabEd() override;

    // The table shown; the editor's own unless AssignAnotherDataMatrix gave it another.
    TDataTable* Data() const { return FData; }

    // ---- size and layout
    int NrOfColumns() const { return FData->NrOfColumns(); }
    void SetNrOfColumns(int v) { Redimension(v, NrOfRows()); }
    int NrOfRows() const { return FData->NrOfRows(); }
    void SetNrOfRows(int v) { Redimension(NrOfColumns(), v); }
    // Both sizes in one step; content is kept where it fits. Repaints.
    void Redimension(int NrCols, int NrRows);
    // The column of row attributes (grid column 1).
    bool AttribRowVisible() const { return FColOffset == 1; }
    void SetAttribRowVisible(bool v);
    // The row of column attributes (grid row 1).
    bool AttribColVisible() const { return FRowOffset == 1; }
    void SetAttribColVisible(bool v);
    // Index > 0 a data column, 0 the row names, < 0 the attribute column (reads 0 and takes no
    // write while hidden; a write is also the width it gets when shown again). Out of range: 0.
    int ColWidths(int Index) const;
    // Sets a width in pixels (negative counts as 0); ignored for Index > NrOfColumns and for the
    // hidden attribute column. OnLayoutChanged.
    void SetColWidths(int Index, int Width);
    // Index > 0 a data row, 0 the names, < 0 the attribute row (nothing while hidden).
    int RowHeights(int Index) const;
    // Sets a height in pixels; ignored for Index > NrOfRows and for the hidden attribute row.
    // OnLayoutChanged.
    void SetRowHeights(int Index, int Height);
    int DefaultColWidth() const { return TCustomGrid::DefaultColWidth(); }
    // Every column that width, then the row names 80 and the attribute column its kept width.
    void SetDefaultColWidth(int v);
    int DefaultRowHeight() const { return TCustomGrid::DefaultRowHeight(); }
    void SetDefaultRowHeight(int v);
    // Fits a width to the widest text of a column (-1 attribute column: "Attrib" or "255";
    // 0: "999:9999" and the row names; data column: its name when IncludeHeader, its attribute
    // and the number text of every row): widest + Addon + 8, at least 4; stored and returned.
    // Another ColNr gives 0.
    int AutoColWidth(int ColNr, bool IncludeHeader, int Addon);
    // Text height of "9GMgÜ$§[{|" + Addon + 2, at least 8, stored through RowHeights(RowNr).
    int AutoRowHeight(int RowNr, int Addon);
    // First visible data column / row; writes are held to 1..count, then the grid scrolls.
    int LeftCol() const { return TCustomGrid::LeftCol() - FColOffset; }
    void SetLeftCol(int v);
    int TopRow() const { return TCustomGrid::TopRow() - FRowOffset; }
    void SetTopRow(int v);
    // Data column of the current cell; 0 when the cursor is on a heading.
    int CurrentCol() const;
    // Data row of the current cell; 0 when the cursor is on a heading.
    int CurrentRow() const;
    TGridDrawingStyle DrawingStyle() const { return FDrawingStyle; }
    void SetDrawingStyle(TGridDrawingStyle v);
    TStyleElements StyleElements() const { return FStyleElements; }
    void SetStyleElements(TStyleElements v);
    TGridOptions Options() const { return TCustomGrid::Options(); }
    // goEditing follows the editing rules whatever is set.
    void SetOptions(TGridOptions v);

    // ---- looks
    // Field width of numbers, 1..20; other values are refused (OnLayoutChanged fires anyway).
    int NumWidth() const { return FNumWidth; }
    void SetNumWidth(int v);
    // Precision of a data column (see the number text); 0 outside 1..NrOfColumns.
    int Precision(int ColNr) const;
    // Sets the precision of data column ColNr, held to -1..10; repaints, OnLayoutChanged.
    void SetPrecision(int ColNr, int v);
    bool ShowCellCursor() const { return FShowCellCursor; }
    void SetShowCellCursor(bool v);
    bool OptimizeRowHeight() const { return FOptimizeRowHeight; }
    void SetOptimizeRowHeight(bool v);
    bool BoldMarks() const { return FBoldMarks; }
    void SetBoldMarks(bool v);
    bool BoldSelHeads() const { return FBoldSelHeads; }
    void SetBoldSelHeads(bool v);
    QString EmptyMessage() const { return FEmptyMessage; }
    void SetEmptyMessage(const QString& v);
    TColor ColorEmptyMsg() const { return FColorEmptyMsg; }
    void SetColorEmptyMsg(TColor v);
    // The control colour and the grid's fixed colour; neither fires an event.
    TColor ColorBackground() const { return Color(); }
    void SetColorBackground(TColor v) { SetColor(v); }
    TColor ColorFixed() const { return FixedColor(); }
    void SetColorFixed(TColor v) { SetFixedColor(v); }
    TColor ColorNormal() const { return FColorNormal; }
    void SetColorNormal(TColor v) { SetLayoutColor(FColorNormal, v); }
    TColor ColorSelected() const { return FColorSelected; }
    void SetColorSelected(TColor v) { SetLayoutColor(FColorSelected, v); }
    TColor ColorMarkedA() const { return FColorMarkedA; }
    void SetColorMarkedA(TColor v) { SetLayoutColor(FColorMarkedA, v); }
    TColor ColorMarkedB() const { return FColorMarkedB; }
    void SetColorMarkedB(TColor v) { SetLayoutColor(FColorMarkedB, v); }
    TColor ColorMarkedBoth() const { return FColorMarkedBoth; }
    void SetColorMarkedBoth(TColor v) { SetLayoutColor(FColorMarkedBoth, v); }
    TColor ColorRangeSelFG() const { return FColorRangeSelFG; }
    void SetColorRangeSelFG(TColor v) { SetLayoutColor(FColorRangeSelFG, v); }
    TColor ColorRangeSelBG() const { return FColorRangeSelBG; }
    void SetColorRangeSelBG(TColor v) { SetLayoutColor(FColorRangeSelBG, v); }
    TColor GradientStartColor() const { return FGradientStart; }
    void SetGradientStartColor(TColor v) { SetLayoutColor(FGradientStart, v); }
    TColor GradientEndColor() const { return FGradientEnd; }
    void SetGradientEndColor(TColor v) { SetLayoutColor(FGradientEnd, v); }
    // Whether painting is held off by the program.
    bool SuppressPaint() const { return FSuppressPaint; }
    // Switching painting back on repaints.
    void SetSuppressPaint(bool v);

    // ---- behaviour
    bool DataReadOnly() const { return FDataReadOnly; }
    // On: the in-place editor closes and editing stops; off: editing is allowed again.
    void SetDataReadOnly(bool v);
    bool AutoAdvance() const { return FAutoAdvance; }
    void SetAutoAdvance(bool v) { FAutoAdvance = v; }
    TOrientation AutoAdvanceDir() const { return FAutoAdvanceDir; }
    void SetAutoAdvanceDir(TOrientation v) { FAutoAdvanceDir = v; }
    bool ClipboardUseFullPrec() const { return FClipboardUseFullPrec; }
    void SetClipboardUseFullPrec(bool v) { FClipboardUseFullPrec = v; }
    bool CommentEditingAllowed() const { return FCommentEditingAllowed; }
    void SetCommentEditingAllowed(bool v) { FCommentEditingAllowed = v; }
    bool BlockInternalPopup() const { return FBlockInternalPopup; }
    void SetBlockInternalPopup(bool v) { FBlockInternalPopup = v; }
    int NomEditDropDownCount() const { return PickListDropDownCount(); }
    void SetNomEditDropDownCount(int v) { SetPickListDropDownCount(v); }
    double VRangeLow() const { return FVRangeLow; }
    void SetVRangeLow(double v);
    double VRangeHigh() const { return FVRangeHigh; }
    void SetVRangeHigh(double v);
    // A value held to the value range when it is in force; an ordinal to its rounded bounds.
    double ClampToRange(double v) const;
    // An ordinal held to the rounded bounds of the value range when it is in force.
    double ClampOrdinal(double v) const;

    // ---- headings and comment (data indices; outside: reads empty or 0, writes ignored)
    // Name of data column ColNr.
    TDTNameStr ColName(int ColNr) const { return FData->GetColName(ColNr); }
    // Cut to 50 characters; OnHeadingChanged.
    void SetColName(int ColNr, const TDTNameStr& v);
    // Name of data row RowNr.
    TDTNameStr RowName(int RowNr) const { return FData->GetRowName(RowNr); }
    // Cut to 50 characters; OnHeadingChanged.
    void SetRowName(int RowNr, const TDTNameStr& v);
    // Attribute byte of data column ColNr.
    std::uint8_t ColAttrib(int ColNr) const { return FData->GetColAttrib(ColNr); }
    // OnAttributeChanged.
    void SetColAttrib(int ColNr, std::uint8_t v);
    // Attribute byte of data row RowNr.
    std::uint8_t RowAttrib(int RowNr) const { return FData->GetRowAttrib(RowNr); }
    // OnAttributeChanged.
    void SetRowAttrib(int RowNr, std::uint8_t v);
    QString Comment() const { return FData->Comment(); }
    // Control characters removed; OnChange.
    void SetComment(const QString& v);

    // ---- cells (data indices; outside: reads 0 / false / the empty state, writes ignored)
    // Value of the cell, whatever its state.
    double Elem(int ACol, int ARow) const { return FData->GetElem(ACol, ARow); }
    // Held to the value range; NaN and infinities are refused.
    void SetElem(int ACol, int ARow, double v);
    // State byte of the cell (cs* bits).
    std::uint8_t CellState(int ACol, int ARow) const { return FData->GetCellState(ACol, ARow); }
    // Stores the whole state byte; repaints, OnCellStateChanged, and OnEmptyStChanged when the
    // empty bit changed.
    void SetCellState(int ACol, int ARow, std::uint8_t v);
    // Whether the cell carries mark A.
    bool ElemMarkedA(int ACol, int ARow) const { return CellState(ACol, ARow) & csMarkedA; }
    // Repaints and fires OnCellStateChanged, also for a cell outside the table.
    void SetElemMarkedA(int ACol, int ARow, bool v) { SetMarkFlag(ACol, ARow, csMarkedA, v); }
    // Whether the cell carries mark B.
    bool ElemMarkedB(int ACol, int ARow) const { return CellState(ACol, ARow) & csMarkedB; }
    // Same as SetElemMarkedA for mark B.
    void SetElemMarkedB(int ACol, int ARow, bool v) { SetMarkFlag(ACol, ARow, csMarkedB, v); }
    // Whether the cell is empty (state bit csEmpty).
    bool IsEmpty(int ACol, int ARow) const { return FData->GetCellState(ACol, ARow) & csEmpty; }
    // OnEmptyStChanged.
    void SetIsEmpty(int ACol, int ARow, bool v);
    // Neither invalid nor empty.
    bool IsNumber(int ACol, int ARow) const { return FData->GetIsNumber(ACol, ARow); }
    // A cell of the row (column) has mark A or B.
    bool IfRowMarked(int RowNr) const;
    // Whether a cell of column ColNr has mark A or B; false outside 1..NrOfColumns.
    bool IfColumnMarked(int ColNr) const;
    // Whether any cell has mark A or B.
    bool IfAnyMarked() const;
    // Number of cells with mark A.
    int NrOfMarkedDataA() const { return CountStates(csMarkedA); }
    // Number of cells with mark B.
    int NrOfMarkedDataB() const { return CountStates(csMarkedB); }
    // Mark every cell / clear both marks of every cell: one repaint, OnCellStateChanged.
    void MarkAllElemsA() { ChangeAllStates(csMarkedA, 0); }
    // Marks every cell B.
    void MarkAllElemsB() { ChangeAllStates(csMarkedB, 0); }
    // Clears marks A and B of every cell.
    void UnMarkAllElems() { ChangeAllStates(0, csMarkedA | csMarkedB); }
    // Toggles the bits of StateMask in every cell; one repaint, OnCellStateChanged.
    void InvertCellStates(std::uint8_t StateMask);
    // Swaps marks A and B in every cell; one repaint, OnCellStateChanged.
    void ExchangeMarkings();
    // Every unlocked cell whose state shares a bit with StateMask gets Value; the number of
    // cells written (0 for a value that is not finite). One repaint, OnChange when cells changed.
    int FillMarkedCells(double Value, std::uint8_t StateMask);
    // Every value of the table (not held to the range); no repaint, no event.
    void Fill(double Value);
    // The table's Clear; columns named "C-1", "C-2" ..., rows "R-1" ...; every precision 3.
    void Clear();

    // ---- structure (each repaints once)
    // Before Ix, 1..count + 1.
    void InsertRow(int Ix);
    // Inserts an empty column before Ix (1..NrOfColumns + 1); other values are ignored.
    void InsertColumn(int Ix);
    // Ix in 1..count while the count is at least 2; the in-place editor closes.
    void RemoveRow(int Ix);
    // Removes column Ix (1..NrOfColumns) while there are at least 2; the in-place editor closes.
    void RemoveColumn(int Ix);
    // Reverses the order of the rows with their headings; OnChange.
    void MirrorRows();
    // Reverses the order of the columns with their headings, precisions and widths; OnChange.
    void MirrorColumns();
    // Rows LowRow..HighRow ordered by the values of column SortColIx (columns LowCol..HighCol
    // move; IncludeHeaders moves names and attributes too). Cells without a number go last.
    void SortRows(int SortColIx, bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow, bool IncludeHeaders);
    // Columns LowCol..HighCol ordered by the values of row SortRowIx; precisions move with
    // their columns when IncludeHeaders.
    void SortCols(int SortRowIx, bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow, bool IncludeHeaders);
    // Lines ordered by their attributes; headings and precisions move with them.
    void SortRowAttributes(bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow);
    // The column counterpart of SortRowAttributes.
    void SortColAttributes(bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow);
    // Whole lines ordered by their names (without IgnoreCase: case counts).
    void SortColNames(bool Ascending) { SortColNames(Ascending, false); }
    // Whole columns ordered by their names (IgnoreCase: without regard to case).
    void SortColNames(bool Ascending, bool IgnoreCase);
    // Whole rows ordered by their names, case counting.
    void SortRowNames(bool Ascending) { SortRowNames(Ascending, false); }
    // Whole rows ordered by their names (IgnoreCase: without regard to case).
    void SortRowNames(bool Ascending, bool IgnoreCase);
    // The first column (row) of that name, ignoring case and blanks around; 0 when none.
    int FindColIndex(const QString& ColID) const { return FData->FindColName(ColID); }
    // The row counterpart of FindColIndex.
    int FindRowIndex(const QString& RowID) const { return FData->FindRowName(RowID); }
    // Shows a table owned elsewhere; the editor no longer frees its table (see above).
    void AssignAnotherDataMatrix(TDataTable* NewDTab);
    // Takes size, values, states, headings and comment of ExtTab (nullptr is ignored); raises
    // EQORNTabedError when the memory cannot hold it, leaving everything as it was.
    void CopyContentsFrom(const TDataTable* ExtTab);
    // Takes the states of the cells both tables have (nullptr is ignored); OnCellStateChanged.
    void CopyCellStatesFrom(const TDataTable* ExtTab);

    // ---- clipboard and the data menu's actions on the selection
    // Size of the block Extract would store from the clipboard text; false (0 x 0) without numbers.
    bool GetClipMatrixSize(int& NCols, int& NRows) const;
    // Copies the selected data cells to the copy table and the clipboard (see the file description).
    void CopySelection();
    // Pastes the block copied last; false when nothing was copied.
    bool PasteCopy();
    // Extracts the numbers of the clipboard text; false when it holds none.
    bool ExtractFromClipboard();
    // Value 0 and state 0 in every selected unlocked cell (no OnClear: that is the menu's).
    void ClearSelection();
    // Selects every data cell (nothing when the table has no cells).
    void SelectAllCells();
    // Toggles the empty state of every selected data cell; OnEmptyStChanged.
    void ToggleEmptyStates();
    // Clears the empty state of every cell; OnEmptyStChanged.
    void ResetAllEmptyStates();
    // Whether a copy is held for PasteCopy.
    bool CopyHeld() const { return FCopyHeld; }

    // ---- menus
    // The editor's data menu.
    QMenu* DataPopupMenu() const { return FDataMenu; }
    // The editor's heading menu.
    QMenu* HeadingPopupMenu() const { return FHeadMenu; }
    // Item captions, at most 50 characters: data menu 1..13, heading menu 1..5, the items of
    // the "Mark" submenus 1..4 and of the "Unmark" submenus 1..4. Outside: read empty, no write.
    QString PopupDCaptions(int ix) const;
    // Sets a data menu caption (1..13); other indices are ignored.
    void SetPopupDCaptions(int ix, const QString& v);
    // Heading menu caption ix (1..5).
    QString PopupHCaptions(int ix) const;
    // Sets a heading menu caption (1..5).
    void SetPopupHCaptions(int ix, const QString& v);
    // "Mark" submenu caption ix (1..4).
    QString PopupMCaptions(int ix) const;
    // Sets a "Mark" submenu caption (1..4).
    void SetPopupMCaptions(int ix, const QString& v);
    // "Unmark" submenu caption ix (1..4).
    QString PopupUCaptions(int ix) const;
    // Sets an "Unmark" submenu caption (1..4).
    void SetPopupUCaptions(int ix, const QString& v);
    // Visibility bits of the data menu items (bit i - 1 for item i).
    int PopupDMask() const { return FPopupDMask; }
    // Sets the data menu bits; OnChangeSetup when they change.
    void SetPopupDMask(int v);
    // Enabling bits of the heading menu items (bit i - 1 for item i).
    int PopupHMask() const { return FPopupHMask; }
    // Sets the heading menu bits; OnChangeSetup when they change.
    void SetPopupHMask(int v);
    // The heading edit box and the comment memo while they are open (nullptr otherwise).
    QLineEdit* HeadingEditor() const;
    // The comment memo while it is open (nullptr otherwise).
    QPlainTextEdit* CommentEditor() const;

    // ---- events; each without by-reference arguments is followed by its signal. The first
    // eight fire only while painting is not held off.
    // After values changed (edits, FillMarkedCells, paste, extract, mirror, sort, comment).
    TNotifyEvent OnChange;
    // After the size changed (insert, remove, Redimension) or the set-up (read-only, menu bits).
    TNotifyEvent OnChangeSetup;
    // After a column or row name changed.
    TNotifyEvent OnHeadingChanged;
    // After a column or row attribute changed.
    TNotifyEvent OnAttributeChanged;
    // After widths, heights, precisions, NumWidth or colours changed.
    TNotifyEvent OnLayoutChanged;
    // After cell states (marks, lock, invalid) changed.
    TNotifyEvent OnCellStateChanged;
    // After the empty state of cells changed.
    TNotifyEvent OnEmptyStChanged;
    // After the selection changed (see the file description).
    TNotifyEvent OnSelectionChanged;
    // Progress of sorting in percent.
    TOnPercentDoneEvent OnPercentDone;
    // See TBeforeRenderCellEvent.
    TBeforeRenderCellEvent OnBeforeRenderCell;
    // See TBeforePopupEvent.
    TBeforePopupEvent OnBeforePopup;
    // The menu's Clear: replaces the clearing; Sender is the menu item.
    TNotifyEvent OnClear;
    // After a paste or an extract stored cells.
    TNotifyEvent OnPaste;

    // ---- accessibility: the data cells, the column names as their headers (row -1)
    // Every data row.
    int AccessibleRowCount() const override { return NrOfRows(); }
    // Every data column.
    int AccessibleColumnCount() const override { return NrOfColumns(); }
    QString AccessibleCellText(int Row, int Column) const override;
    QString AccessibleColumnHeader(int Column) const override;
    bool AccessibleHasColumnHeaders() const override { return true; }
    QRect AccessibleCellRect(int Row, int Column) const override;
    bool AccessibleCellAt(QPoint Pos, int& Row, int& Column) const override;
    // Whether data row Row + 1 lies in the selection's rows.
    bool AccessibleRowSelected(int Row) const override;
    // Whether the user could edit the cell now (not locked, not read-only).
    bool AccessibleCellEditable(int Row, int Column) const override;
    void AccessibleCurrentCell(int& Row, int& Column) const override;
    // True when the grid allows a range selection (goRangeSelect).
    bool AccessibleMultiSelect() const override { return Options().testFlag(goRangeSelect); }

    // The texts of a cell (rules above).
    QString CellText(int ACol, int ARow) const;
    // The text the in-place editor starts with (see the file description).
    QString EditText(int ACol, int ARow) const;

Q_SIGNALS:
    // Follows OnChange.
    void changed();
    // Follows OnChangeSetup.
    void changeSetup();
    // Follows OnHeadingChanged.
    void headingChanged();
    // Follows OnAttributeChanged.
    void attributeChanged();
    // Follows OnLayoutChanged.
    void layoutChanged();
    // Follows OnCellStateChanged.
    void cellStateChanged();
    // Follows OnEmptyStChanged.
    void emptyStateChanged();
    // Follows OnSelectionChanged.
    void selectionChanged();
    // Follows OnPercentDone.
    void percentDone(int percent);
    // Follows OnBeforePopup.
    void beforePopup(QMenu* menu);
    // The data menu's Clear was chosen (before OnClear or the clearing).
    void clearChosen();
    // Follows OnPaste.
    void pasted();
    // DataReadOnly changed to readOnly.
    void dataReadOnlyChanged(bool readOnly);
    // The current cell moved; col and row in data indices (0 or less on a heading).
    void currentDataCellChanged(int col, int row);

protected:
    void Paint() override;
    void DrawCell(int ACol, int ARow, const QRect& ARect, TGridDrawState AState) override;
    bool SelectCell(int ACol, int ARow) override;
    void TopLeftChanged() override;
    QString GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const QString& Value) override;
    void RestoreEditCell(int ACol, int ARow, const QString& OriginalText) override;
    TEditStyle GetEditStyle(int ACol, int ARow) override;
    QStringList GetPickListItems(int ACol, int ARow) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    bool DoMouseWheelDown(TShiftState Shift, QPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, QPoint MousePos) override;
    bool DoContextPopup(QPoint MousePos, QPoint GlobalPos) override;

private:
    // Holds events and painting back while the editor works in bulk; nests.
    class Quiet {
    public:
        explicit Quiet(TNTabEd* e) : FEditor(e) { ++e->FQuiet; }
        ~Quiet() { --FEditor->FQuiet; }
        Quiet(const Quiet&) = delete;
        Quiet& operator=(const Quiet&) = delete;
    private:
        TNTabEd* FEditor;
    };
    // SuppressPaint on for a bulk operation; the previous state (and a repaint) after.
    class PaintHold {
    public:
        explicit PaintHold(TNTabEd* e) : FEditor(e), FOld(e->FSuppressPaint) { e->FSuppressPaint = true; }
        ~PaintHold() { FEditor->SetSuppressPaint(FOld); }
        PaintHold(const PaintHold&) = delete;
        PaintHold& operator=(const PaintHold&) = delete;
    private:
        TNTabEd* FEditor;
        bool FOld;
    };
    enum class TMarkScope : std::uint8_t { Range, Column, Row, All };
    // The items of both menus (QOR_ntabed_menus.cpp).
    struct TMenus;
    struct TMenusDeleter {
        void operator()(TMenus* m) const;
    };

    // ---- events and hooks (QOR_ntabed.cpp)
    bool Held() const { return FSuppressPaint || FQuiet > 0; }
    // Fires a notification event and its signal unless painting is held off.
    template <class Signal>
    void Fire(const TNotifyEvent& Event, Signal Sig)
    {
        if (!Held())
            Notify(this, Event, Sig);
    }
    void Changed();
    void ChangedSetup();
    void LayoutChanged();
    void CellStatesChanged();
    void EmptyStatesChanged();
    void BindTable(TDataTable* t);
    void TableResized(int OldCols);
    void TableStructureChanged(TDTStructureEdit Kind, int Ix);
    void FollowStructure(TDTStructureEdit Kind, int Ix);
    void TableSortExchange(std::uint8_t Kind, int Ix1, int Ix2);
    void SetLayoutColor(TColor& Field, TColor v);
    QString MemoryMessage(const char* Tail) const;
    // Runs a step that allocates; running out of memory there raises EQORNTabedError.
    template <class Step>
    void Allocating(Step step)
    {
        try {
            step();
        } catch (const std::bad_alloc&) {
            throw EQORNTabedError(HeapMessage());
        } catch (const std::length_error&) {
            throw EQORNTabedError(HeapMessage());
        }
    }
    QString HeapMessage() const;
    // Room in the precisions and the grid for a table of NrCols x NrRows, taken before the table
    // changes, so that the layout's following of the change cannot run out of memory halfway.
    void ReserveLayout(int NrCols, int NrRows);
    int GridCol(int ColNr) const { return ColNr + FColOffset; }
    int GridRow(int RowNr) const { return RowNr + FRowOffset; }
    int DataCol(int GridColumn) const { return GridColumn - FColOffset; }
    int DataRow(int GridRowNr) const { return GridRowNr - FRowOffset; }
    bool IsDataCell(int GridColumn, int GridRowNr) const;
    int ColPrecision(int ColNr) const;
    bool IsNominal(int ColNr) const;
    bool RangeInForce() const;
    void ApplyAttribFixedCounts();
    template <class Signal, class Write>
    void WriteHeading(bool Valid, const TNotifyEvent& Event, Signal Sig, Write write);

    // ---- cells (QOR_ntabed_cells.cpp)
    void SetMarkFlag(int ACol, int ARow, std::uint8_t Flag, bool On);
    int CountStates(std::uint8_t Flag) const;
    void ChangeAllStates(std::uint8_t Set, std::uint8_t Clear);
    // The data cells of the selection (data indices); false when it holds none.
    bool SelectedBlock(int& L, int& T, int& R, int& B) const;
    void SelectBlock(int L, int T, int R, int B);
    void MarkScope(TMarkScope Scope, std::uint8_t Flag, bool On);
    void StoreNumber(int ACol, int ARow, double v);
    template <class Edit>
    void StructuralEdit(bool SizeChanges, Edit edit);

    // ---- texts and painting (QOR_ntabed_paint.cpp)
    TTextCache& CacheFor(const TCanvas* cv);
    void DrawDataCell(TCanvas* cv, int c, int r, const QRect& Rect, TGridDrawState State);
    void DrawFixedCell(TCanvas* cv, int ACol, int ARow, const QRect& Rect);
    void DrawFixedFace(TCanvas* cv, const QRect& Rect);
    void DrawTopLeftCell(TCanvas* cv, const QRect& Rect);
    void DrawEmptyMessage(TCanvas* cv);
    void DrawHeadingMenuFrame(TCanvas* cv);
    QString FixedCellText(int ACol, int ARow, bool& Highlight, int& DY) const;

    // ---- input (QOR_ntabed_input.cpp)
    bool MayEdit(int GridColumn, int GridRowNr) const;
    void SetEditing(bool On);
    void ReportSelection();
    void AutoAdvanceStep();
    void OpenHeadingEditor(int GridColumn, int GridRowNr);
    void StoreHeading();
    void CloseHeadingEditor();
    void OpenCommentEditor();
    void CloseCommentEditor(bool Store);
    bool eventFilter(QObject* o, QEvent* e) override;

    // ---- menus (QOR_ntabed_menus.cpp)
    void BuildMenus();
    void ApplyMasks();
    bool ShowDataMenu(QPoint Pos);
    bool ShowHeadingMenu(int GridColumn, int GridRowNr);
    void DataMenuAction(int Item, QAction* Sender);
    void HeadingMenuAction(int Item);
    void StepPrecision();

    TDataTable* FData = nullptr;
    bool FOwnsData = true;
    std::unique_ptr<TDataTable> FCopy;
    bool FCopyHeld = false;
    std::vector<std::int8_t> FDecP;
    int FColOffset = 1;
    int FRowOffset = 0;
    int FAttribColWidth = 32;
    TGridRect FLastSelection{-1, -1, -1, -1};
    bool FSuppressPaint = false;
    int FQuiet = 0;
    int FNumWidth = 1;
    bool FDataReadOnly = false;
    bool FAutoAdvance = true;
    TOrientation FAutoAdvanceDir = orHorizontal;
    bool FShowCellCursor = true;
    bool FOptimizeRowHeight = false;
    bool FBoldMarks = true;
    bool FBoldSelHeads = true;
    bool FClipboardUseFullPrec = true;
    bool FCommentEditingAllowed = true;
    bool FBlockInternalPopup = false;
    double FVRangeLow = 0.0;
    double FVRangeHigh = 0.0;
    QString FEmptyMessage;
    TColor FColorEmptyMsg = clBlack;
    TColor FColorNormal = 0x002000;
    TColor FColorSelected = 0x404040;
    TColor FColorMarkedA = 0x0000FF;
    TColor FColorMarkedB = 0xFF0000;
    TColor FColorMarkedBoth = 0xCC00BB;
    TColor FColorRangeSelFG = 0x80552C;
    TColor FColorRangeSelBG = 0xF8E8E0;
    TColor FGradientStart = clWindow;
    TColor FGradientEnd = clBtnFace;
    TGridDrawingStyle FDrawingStyle = gdsThemed;
    TStyleElements FStyleElements{seFont, seClient, seBorder};
    int FPopupDMask = -1;
    int FPopupHMask = -1;
    std::unique_ptr<TMenus, TMenusDeleter> FMenus;
    QMenu* FDataMenu = nullptr;
    QMenu* FHeadMenu = nullptr;
    TGridCoord FMenuCell{-1, -1};        // the cell the open heading menu belongs to
    TGridCoord FPrevPressCell{-1, -1};   // the cell of the previous mouse press
    QPoint FMenuPos;                     // where the heading menu opened (global)
    QPointer<QLineEdit> FHeadingEdit;
    TGridCoord FHeadingCell{-1, -1};
    QPointer<QPlainTextEdit> FCommentMemo;
    // What the cell held when the in-place editor opened, for Escape.
    double FEditValue = 0.0;
    std::uint8_t FEditState = 0;
    // Texts in the control's font and in bold (marks and the selection's headings).
    TTextCache FTextCache;
    TTextCache FBoldCache;
    QString FCellText;   // painting buffer, kept with its capacity
};

} // namespace qor
