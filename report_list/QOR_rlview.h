// TReportListView: a grid that shows one TRLData as a report — optional common header, column
// headers with a sort arrow, banded rows, check boxes and radio buttons, password columns,
// per-row selection and disabled state, highlighting, an "empty" message and an inter-row
// indicator — and lets the user sort, select, check and edit it.
//
// Grid and data coordinates: the header rows (common header, column headers; 0..2 of them,
// CountHeadRows) are the grid's fixed rows; grid row g shows data row g - CountHeadRows() + 1;
// grid column x shows data column ColumnOrder(x + 1). Data rows and columns count from 1.
#pragma once

#include "QOR_rldata.h"
#include "QOR_rleditor.h"

#include <QOR_Grids.h>

#include <QColor>
#include <QPen>
#include <QVector>
#include <algorithm>
#include <initializer_list>
#include <limits>
#include <memory>
#include <vector>

class QAbstractButton;
class QDialog;
class QStaticText;

namespace qor {

class KORVANE_EXPORT EQORRepListError : public EQORError {
public:
    using EQORError::EQORError;
};

// Called before a data cell is drawn or measured (DetermineMaxColWidth) with its data column and
// row and the colours, font style and text the view would use; the handler may change any of them.
using TRenderCellEvent = std::function<void(QObject* Sender, int ACol, int ARow, TColor& PenColor, TColor& BrushColor,
                                            TColor& FontColor, TFontStyles& FontStyles, QString& Text)>;
// Offered the text Elem returns for a cell (data column and row); the handler may replace it.
using TReadCellEvent = std::function<void(QObject* Sender, int ACol, int ARow, QString& Text)>;
// Check-mark hooks: State is the cell's state (see OnBeforeCheckedChange, OnCheckedChange) of
// data column Col, row Row.
using TCheckStateChangeEvent = std::function<void(QObject* Sender, bool& State, int Col, int Row)>;
// Called per row (shown order) before a filter matches it; see FilterAndSort.
using TBeforeFilterEvent = std::function<void(QObject* Sender, int Row, bool& Found, TLogicOp& CombineWithInternalSearch)>;
// Called with the virtual key code (VK_PRIOR..VK_DOWN) after a cursor key moved the selection.
using TCursorKeyActionEvent = std::function<void(QObject* Sender, WORD Key)>;

// The view's enabled state is the widget's own (QWidget::enabled); the view keeps its flag in
// step through EnabledChanged.
class KORVANE_EXPORT TReportListView : public TCustomDrawGrid {
    Q_OBJECT
public:
    QOR_PROPERTY(int, NrOfColumns)
    QOR_PROPERTY(int, NrOfRows)
    QOR_PROPERTY(bool, AutoAdvance)
    QOR_COLOR_PROPERTY(ColorText)
    QOR_COLOR_PROPERTY(ColorBkgdNormal)
    QOR_COLOR_PROPERTY(ColorBkgdShaded)
    QOR_COLOR_PROPERTY(ColorHigh)
    QOR_COLOR_PROPERTY(ColorHighText)
    QOR_COLOR_PROPERTY(ColorSelectedRow)
    QOR_COLOR_PROPERTY(ColorSelectedRowText)
    QOR_COLOR_PROPERTY(ColorSelectedCol)
    QOR_COLOR_PROPERTY(ColorSelectedColText)
    QOR_COLOR_PROPERTY(ColorSelectedBoth)
    QOR_COLOR_PROPERTY(ColorSelectedBothText)
    QOR_COLOR_PROPERTY(ColorColumnHd)
    QOR_COLOR_PROPERTY(FixedColor)
    QOR_COLOR_PROPERTY(ColorColumnHdText)
    QOR_COLOR_PROPERTY(ColorCommonHd)
    QOR_COLOR_PROPERTY(ColorCommonHdText)
    QOR_COLOR_PROPERTY(ColorDisabledBkgd)
    QOR_COLOR_PROPERTY(ColorDisabledText)
    QOR_COLOR_PROPERTY(ColorEmptyMsg)
    QOR_COLOR_PROPERTY(InterRowIndicatorColor)
    QOR_PROPERTY(QString, EmptyMessage)
    QOR_PROPERTY(QString, CommonHeader)
    QOR_PROPERTY(qor::QOR_Controls::TAlignment, CommonHeaderAlignment)
    QOR_PROPERTY(bool, CommonHeaderVisible)
    QOR_PROPERTY(int, CommonHeaderHeight)
    QOR_PROPERTY(bool, ColumnHeadersVisible)
    QOR_PROPERTY(int, ColumnHeadersHeight)
    QOR_PROPERTY(int, DefaultColWidth)
    QOR_PROPERTY(int, DefaultRowHeight)
    QOR_PROPERTY(bool, DefaultDrawing)
    QOR_PROPERTY(int, HighLightRow)
    QOR_PROPERTY(int, HighLightColumn)
    QOR_PROPERTY(bool, HighLightBold)
    QOR_PROPERTY(int, InterRowIndicatorWidth)
    QOR_PROPERTY_NOTIFY(int, LeftCol, topLeftChanged)
    QOR_PROPERTY_NOTIFY(int, TopRow, topLeftChanged)
    QOR_PROPERTY(int, RowSelectMode)
    QOR_PROPERTY(int, RowColPattern)
    QOR_PROPERTY(bool, ShowEmptyCheckBoxes)
    QOR_PROPERTY(bool, FixedFirstColumn)
    QOR_PROPERTY(bool, SortEnabled)
    QOR_PROPERTY(bool, UseCtrlForMultiSel)
    QOR_PROPERTY(qor::QOR_Grids::TGridOptions, Options)
    QOR_COLOR_PROPERTY(Color)
    QOR_PROPERTY(qor::QOR_Grids::TScrollStyle, ScrollBars)
    QOR_PROPERTY(qor::QOR_Grids::TBorderStyle, BorderStyle)
    // The sort the user or the program chose last (read only).
    Q_PROPERTY(int LastSortColumn READ LastSortColumn NOTIFY sortChanged)
    Q_PROPERTY(bool LastSortOrder READ LastSortOrder NOTIFY sortChanged)

    explicit TReportListView(QWidget* AOwner = nullptr);
    ~TReportListView() override;

    // The data shown: the view's own, or one held elsewhere (see SetData).
    TRLData* Data() const { return FRLData; }
    // Shows AData, held elsewhere (a form's TRLData, a document's), instead of the view's own
    // data; nullptr goes back to the view's own. The view does not take ownership: it follows the
    // data's changes, those made on the data directly included, and goes back to its own data
    // when AData is destroyed. A data container feeds one view at a time: a view that takes it
    // takes its change hooks from the view that showed it before.
    void SetData(TRLData* AData);

    // ---- counts and headers
    int NrOfColumns() const { return FRLData->NrOfColumns(); }
    void SetNrOfColumns(int v);
    int NrOfRows() const { return FRLData->NrOfRows(); }
    void SetNrOfRows(int v);
    // Number of header rows shown above the data: 0, 1 or 2 (common header, column headers).
    int CountHeadRows() const { return (FComHdVis ? 1 : 0) + (FColHdVis ? 1 : 0); }
    QString CommonHeader() const { return FRLData->CommonHeader(); }
    void SetCommonHeader(const QString& v);
    TAlignment CommonHeaderAlignment() const { return FHeaderAlignment; }
    void SetCommonHeaderAlignment(TAlignment v);
    bool CommonHeaderVisible() const { return FComHdVis; }
    void SetCommonHeaderVisible(bool v);
    int CommonHeaderHeight() const { return FComHdHgt; }
    void SetCommonHeaderHeight(int v);
    bool ColumnHeadersVisible() const { return FColHdVis; }
    void SetColumnHeadersVisible(bool v);
    int ColumnHeadersHeight() const { return FColHdHgt; }
    void SetColumnHeadersHeight(int v);
    QString EmptyMessage() const { return FEmptyMsg; }
    void SetEmptyMessage(const QString& v);

    // ---- colours
    TColor ColorText() const { return FColorNormal; }
    void SetColorText(TColor c) { SetColorSetup(FColorNormal, c); }
    TColor ColorBkgdNormal() const { return FRColorNormal; }
    void SetColorBkgdNormal(TColor c) { SetColorSetup(FRColorNormal, c); }
    TColor ColorBkgdShaded() const { return FRColorShaded; }
    void SetColorBkgdShaded(TColor c) { SetColorSetup(FRColorShaded, c); }
    TColor ColorHigh() const { return FHiLgtColor; }
    void SetColorHigh(TColor c) { SetColorSetup(FHiLgtColor, c); }
    TColor ColorHighText() const { return FHiLgtTextColor; }
    void SetColorHighText(TColor c) { SetColorSetup(FHiLgtTextColor, c); }
    TColor ColorSelectedRow() const { return FSelRowColor; }
    void SetColorSelectedRow(TColor c) { SetColorSetup(FSelRowColor, c); }
    TColor ColorSelectedRowText() const { return FSelRowTextColor; }
    void SetColorSelectedRowText(TColor c) { SetColorSetup(FSelRowTextColor, c); }
    TColor ColorSelectedCol() const { return FSelColColor; }
    void SetColorSelectedCol(TColor c) { SetColorSetup(FSelColColor, c); }
    TColor ColorSelectedColText() const { return FSelColTextColor; }
    void SetColorSelectedColText(TColor c) { SetColorSetup(FSelColTextColor, c); }
    TColor ColorSelectedBoth() const { return FSelBothColor; }
    void SetColorSelectedBoth(TColor c) { SetColorSetup(FSelBothColor, c); }
    TColor ColorSelectedBothText() const { return FSelBothTextColor; }
    void SetColorSelectedBothText(TColor c) { SetColorSetup(FSelBothTextColor, c); }
    TColor ColorColumnHd() const { return FColHdColor; }
    void SetColorColumnHd(TColor c);
    TColor FixedColor() const { return ColorColumnHd(); }
    void SetFixedColor(TColor c) { SetColorColumnHd(c); }
    TColor ColorColumnHdText() const { return FColHdTxtColor; }
    void SetColorColumnHdText(TColor c) { SetColorSetup(FColHdTxtColor, c); }
    TColor ColorCommonHd() const { return FComHdColor; }
    void SetColorCommonHd(TColor c) { SetColorSetup(FComHdColor, c); }
    TColor ColorCommonHdText() const { return FComHdTxtColor; }
    void SetColorCommonHdText(TColor c) { SetColorSetup(FComHdTxtColor, c); }
    TColor ColorDisabledBkgd() const { return FDisabledBkgdColor; }
    void SetColorDisabledBkgd(TColor c) { SetColorSetup(FDisabledBkgdColor, c); }
    TColor ColorDisabledText() const { return FDisabledTextColor; }
    void SetColorDisabledText(TColor c) { SetColorSetup(FDisabledTextColor, c); }
    TColor ColorEmptyMsg() const { return FColorEmptyMsg; }
    void SetColorEmptyMsg(TColor c);
    TColor InterRowIndicatorColor() const { return FInterRowColor; }
    void SetInterRowIndicatorColor(TColor c) { SetColorSetup(FInterRowColor, c); }
    int InterRowIndicatorWidth() const { return FInterRowWidth; }
    void SetInterRowIndicatorWidth(int v);
    // Data row (1..NrOfRows + 1) above which the inter-row indicator line is drawn; 0 for none.
    int InterRowIndicatorPos() const { return FInterRowIndi; }
    // Moves the inter-row indicator; values outside the rows on screen draw no line.
    void SetInterRowIndicatorPos(int v);

    // ---- looks and behaviour
    bool AutoAdvance() const { return FAutoAdvance; }
    void SetAutoAdvance(bool v) { FAutoAdvance = v; }
    int DefaultColWidth() const { return TCustomGrid::DefaultColWidth(); }
    void SetDefaultColWidth(int v);
    int DefaultRowHeight() const { return TCustomGrid::DefaultRowHeight(); }
    void SetDefaultRowHeight(int v);
    // Whether the view reacts to the user and paints in its normal colours (else greyed).
    bool Enabled() const { return FEnabled; }
    // Enables or disables the widget and repaints.
    void SetEnabled(bool v);
    int HighLightRow() const { return FHiLgtRow; }
    void SetHighLightRow(int v);
    int HighLightColumn() const { return FHiLgtColumn; }
    void SetHighLightColumn(int v);
    bool HighLightBold() const { return FHiLgtBold; }
    void SetHighLightBold(bool v);
    int RowColPattern() const { return FRowColPattern; }
    void SetRowColPattern(int v);
    bool ShowEmptyCheckBoxes() const { return FShowEmptyCBx; }
    void SetShowEmptyCheckBoxes(bool v);
    // Whether check marks are shown without their boxes and cannot be toggled by the user.
    bool CheckMarksReadOnly() const { return FROCheckMarks; }
    // Sets CheckMarksReadOnly and repaints.
    void SetCheckMarksReadOnly(bool v);
    bool FixedFirstColumn() const { return FFixedColOne; }
    void SetFixedFirstColumn(bool v);
    bool SortEnabled() const { return FSortEnabled; }
    void SetSortEnabled(bool v) { FSortEnabled = v; }
    bool UseCtrlForMultiSel() const { return FCtrlForMultiSel; }
    void SetUseCtrlForMultiSel(bool v) { FCtrlForMultiSel = v; }
    // Whether painting is switched off (for bulk changes).
    bool SuppressPaint() const { return FSuppressPaint; }
    // Switching painting back on repaints once.
    void SetSuppressPaint(bool v);

    // ---- scrolling in data terms
    int TopRow() const { return TCustomGrid::TopRow() - CountHeadRows() + 1; }
    void SetTopRow(int v);
    int LeftCol() const { return TCustomGrid::LeftCol() + 1; }
    void SetLeftCol(int v);

    // ---- data forwarded
    // Free text saved with the data (TRLData::Comment).
    QString Comment() const { return FRLData->Comment(); }
    // Replaces the data's comment.
    void SetComment(const QString& v) { FRLData->SetComment(v); }
    // Identifier the data's XML files carry (TRLData::DataID).
    QString DataID() const { return FRLData->DataID(); }
    // Replaces the data's identifier.
    void SetDataID(const QString& v) { FRLData->SetDataID(v); }
    // Primary column of the last sort; -1 when unsorted.
    int LastSortColumn() const { return FRLData->LastSortColumn(); }
    // Secondary column of the last sort; -1 when unsorted.
    int LastSortColumnSec() const { return FRLData->LastSortColumnSec(); }
    // Direction of the last sort's primary column (true = ascending).
    bool LastSortOrder() const { return FRLData->LastSortOrder(); }
    // Direction of the last sort's secondary column (true = ascending).
    bool LastSortOrderSec() const { return FRLData->LastSortOrderSec(); }
    // Secondary column the next header-click sort uses: the one set since the last sort, else the
    // last sort's.
    int SecondarySortColumn() const { return FSecSortColumn != -2 ? FSecSortColumn : FRLData->LastSortColumnSec(); }
    // Accepted for -1..NrOfColumns (then OnChangeSetup); other values are ignored.
    void SetSecondarySortColumn(int v);

    // Elem passes the text through OnReadCell.
    QString Elem(int ACol, int ARow) const;
    // Stores the visible text of a cell (see TRLData::SetElem).
    void SetElem(int ACol, int ARow, const QString& v) { FRLData->SetElem(ACol, ARow, v); }
    // Whether a check cell is checked (see TRLData::ElemChecked).
    bool ElemChecked(int ACol, int ARow) const { return FRLData->ElemChecked(ACol, ARow); }
    // Checks or unchecks a check cell (see TRLData::SetElemChecked).
    void SetElemChecked(int ACol, int ARow, bool v) { FRLData->SetElemChecked(ACol, ARow, v); }
    // The cell read as a number (see TRLData::AsNumber); raises EQORDStructError naming the view and
    // the raw text when it is no number.
    double AsNumber(int ACol, int ARow) const;
    // A proposed value from the column format (see TRLData::DefaultValue).
    QString DefaultValue(int ACol, int ARow) const { return FRLData->DefaultValue(ACol, ARow); }
    // Format text of column ColNr; empty outside 1..NrOfColumns.
    QString ColumnFormat(int ColNr) const { return FRLData->ColumnFormat(ColNr); }
    // Sets the format text of column ColNr; fires OnChange and repaints.
    void SetColumnFormat(int ColNr, const QString& v);
    // Check-mark mode of column ColNr; cmNone outside 1..NrOfColumns.
    TCheckMode ColumnCheckMode(int ColNr) const { return FRLData->ColumnCheckMode(ColNr); }
    // Sets the check-mark mode of column ColNr, converting its cells; fires OnChange and repaints.
    void SetColumnCheckMode(int ColNr, TCheckMode v);
    // Name of column ColNr; empty outside 1..NrOfColumns.
    QString Header(int ColNr) const { return FRLData->Header(ColNr); }
    // Renames column ColNr (cut to MaxNameLength characters); fires OnChange and repaints.
    void SetHeader(int ColNr, const QString& v);
    // True for a cmBox column.
    bool IsCheckedColumn(int ColNr) const { return FRLData->IsCheckedColumn(ColNr); }
    // Makes column ColNr a cmBox (true) or plain (false) column; fires OnChange and repaints.
    void SetIsCheckedColumn(int ColNr, bool v);
    // See TRLData::ColumnIndex.
    int ColumnIndex(const QString& Head, bool PartialMatch) const { return FRLData->ColumnIndex(Head, PartialMatch); }

    // ---- per-column settings (columns outside 1..NrOfColumns: ignored, read as defaults)
    // Text alignment of column ColNr; taLeftJustify by default.
    TAlignment ColumnAlignment(int ColNr) const;
    // Sets the alignment of column ColNr; fires OnChange and repaints when it changes.
    void SetColumnAlignment(int ColNr, TAlignment v);
    // Whether the user may edit the cells of column ColNr in place (false by default).
    bool ColumnEditable(int ColNr) const;
    // Lets the user edit column ColNr in place, or not.
    void SetColumnEditable(int ColNr, bool v);
    // Whether column ColNr is a password column, shown masked (false by default).
    bool ColumnIsPwd(int ColNr) const;
    // Makes column ColNr a password column or a plain one; fires OnChange and repaints on a change.
    void SetColumnIsPwd(int ColNr, bool v);
    // The data column shown in display column ColNr (1-based); 0 outside.
    int ColumnOrder(int ColNr) const;
    // Exactly NrOfColumns entries; entry i sets display column i + 1 to data column ColList[i].
    // Entries outside 1..NrOfColumns are skipped and make the result false.
    bool SetColumnOrder(const QVector<int>& ColList);
    // Same as the QVector overload.
    bool SetColumnOrder(std::initializer_list<int> ColList) { return SetColumnOrder(QVector<int>(ColList)); }
    // Width of the grid column that shows data column Index; 0 outside 1..NrOfColumns.
    int ColWidths(int Index) const;
    // Sets the width in pixels of the grid column that shows data column Index; fires OnChangeSetup.
    // Ignored outside 1..NrOfColumns.
    void SetColWidths(int Index, int w);

    // ---- check marks (while filtered: the shown rows only, see FilterAndSort)
    // See TRLData::SetAllCheckmarksOfCol; repaints once.
    void SetAllCheckmarksOfCol(int Column, bool Checked, bool AffectEnabledRowsOnly = false);
    // See TRLData::InvertAllCheckmarksOfCol; repaints once.
    void InvertAllCheckmarksOfCol(int Column, bool AffectEnabledRowsOnly = false);
    // Skips disabled rows.
    int CountCheckedElemsInCol(int Column) const;
    // Number of checked cells of row Row over the check columns.
    int CountCheckedElemsInRow(int Row) const { return FRLData->CountCheckedElemsInRow(Row); }
    // The first shown row whose cell in check column ColNr is checked; 0 when none.
    int FirstCheckedElemInCol(int ColNr) const;
    // The first check column whose cell in row RowNr is checked; 0 when none.
    int FirstCheckedElemInRow(int RowNr) const { return FRLData->FirstCheckedElemInRow(RowNr); }

    // ---- structure
    // Appends an empty row; returns its number (the new NrOfRows).
    int AddRow();
    // Inserts an empty row before r (1..NrOfRows), or appends one for a larger r; returns the new
    // row's number (r, with nothing inserted, when r < 1). The rows then count as unsorted
    // (LastSortColumn -1).
    int InsertRow(int r);
    // Inserts an empty column (left-aligned, not editable, no password) before c (1..NrOfColumns),
    // or appends one for a larger c; returns its number (c, with nothing inserted, when c < 1).
    int InsertColumn(int c);
    // Removes data row r (1..NrOfRows; ignored outside) and ends the filter; the sort order is kept
    // uncommitted.
    void RemoveRow(int r);
    // Removes column c with its settings (see TRLData::RemoveColumn); ignored outside 1..NrOfColumns.
    void RemoveColumn(int c);
    // Removes the shown rows whose visible text is empty in every column, then ends the filter.
    void RemoveEmptyRows();
    // See TRLData::CopyRow; the view is not repainted.
    void CopyRow(int Source, int Target) { FRLData->CopyRow(Source, Target); }
    // Every data cell becomes s (check cells keep their state); repaints once.
    void Fill(const QString& s);
    // Empties cells, names, formats and check modes and resets the per-column settings; ends the
    // filter. The counts stay.
    void Clear();

    // ---- sorting and filtering
    // Sorts with the secondary direction of the last sort.
    void Sort(int PrimCol, int SecCol, bool Ascending);
    // Sorts the rows (see TRLData::Sort); while filtered the shown rows stay in front.
    void Sort(int PrimCol, int SecCol, bool AscendPrim, bool AscendSec);
    // Shows the rows in their unsorted order (while filtered, the shown rows in front).
    void UnSort();
    // Sorts the enabled rows by SortColumn1 (then SortColumn2) among themselves and places the
    // disabled rows after them, in the order they had before.
    void SortEnabledState(int SortColumn1, int SortColumn2, bool Ascending);
    // Shows only the rows that match FilterExp in any of FilterColumns (all columns when the
    // list is empty), then sorts them by SortColumn (no sort outside 1..NrOfColumns).
    //  fmSimple:  FilterExp is a substring of the cell;
    //  fmBoolean: terms combined with AND, OR, NOT and parentheses; a term is a word or a
    //             "quoted phrase" matched as a substring; adjacent terms mean AND; NOT binds
    //             tightest, then AND, then OR; the operators are case-insensitive words;
    //  fmGrep:    FilterExp is a regular expression searched in the cell.
    // IgnoreCase applies to all three. OnBeforeFilter is called for each row before the match
    // with Found = true and CombineWithInternalSearch = loAND; the row is shown when
    // ApplyLogicOp(internal match, Found, CombineWithInternalSearch) holds, so a handler can
    // veto (Found = false), force (Found = true, loOR) or combine otherwise.
    // Rows that do not match stay in the data, after the shown ones; an empty FilterExp shows
    // every row again. While filtered, whatever walks the rows for the user touches the shown
    // rows 1..NrOfShownRows only: selecting, enabling and disabling all rows, the selection
    // queries and lists (NumSelectedRows, FirstSelectedRow, GetSelectedRows, SetSelectedRows,
    // SelectRow, CenterScrollAndSelect, NumEnabledRows, shift-click ranges), the check-mark
    // operations and counts, RemoveEmptyRows. Clearing the selection clears it everywhere.
    // Fill and Clear act on the whole data. Structural changes (row count, insert, remove,
    // load, Clear) end the filter. A malformed expression (unbalanced parentheses or quotes, a
    // bad regular expression) raises EQORRepListError and changes nothing.
    void FilterAndSort(const QString& FilterExp, const QVector<int>& FilterColumns, bool IgnoreCase,
                       TFilterMode FilterMode, int SortColumn, bool Ascending);
    // Rows shown: NrOfRows, or the number of matching rows while a filter is active.
    int NrOfShownRows() const { return FFilterCount >= 0 ? FFilterCount : NrOfRows(); }
    // True while a filter expression is in force.
    bool Filtered() const { return FFilterCount >= 0; }

    // ---- column widths
    // The widest text of a column + 10 (check columns: mark included, + 16 for the box; the
    // header + 13 when sorted by it), after OnBeforeRenderCell. Not every row is shaped: every
    // shown row gets an estimate from per-character advances, and the 2,048 rows with the
    // widest estimates, the rows on screen and 1,024 rows spread over the list are measured
    // exactly. Up to 2,048 rows the result is exact; beyond, a text could be missed only when
    // more than 2,048 others are estimated wider and are in fact narrower, by kerning alone.
    int DetermineMaxColWidth(int ColNr, bool IncludeHeader);
    // Sets column ColNr to DetermineMaxColWidth + Addon pixels (at least 4); ignored outside
    // 1..NrOfColumns.
    void AutoColWidth(int ColNr, bool IncludeHeader, int Addon);
    // As the three-argument AutoColWidth, but at most MaxWidth pixels.
    void AutoColWidth(int ColNr, bool IncludeHeader, int Addon, int MaxWidth);
    // Sizes column ColIx to fill the client width left by the other columns and RightMargin (at
    // least 16 pixels); ignored outside 1..NrOfColumns.
    void ExpandColWidth(int ColIx, int RightMargin);
    // AutoColWidth for every column but ExpandColumn, which then takes the rest (ExpandColWidth).
    void FitAllColWidths(int ExpandColumn, bool IncludeHeader, int Addon, int MaxWidth, int RightMargin);

    // ---- selection (each fires OnSelectedChange; while filtered, bulk ones reach the shown rows only)
    int RowSelectMode() const { return FRowSelectMode; }
    void SetRowSelectMode(int v);
    // Whether data row r is selected; false outside 1..NrOfRows.
    bool RowSelected(int r) const;
    // Selects or deselects data row r; ignored outside 1..NrOfRows.
    void SetRowSelected(int r, bool v);
    // Whether data row r is enabled; false outside 1..NrOfRows.
    bool RowEnabled(int r) const;
    // Enables or disables data row r; ignored outside 1..NrOfRows.
    void SetRowEnabled(int r, bool v);
    // Whether column c is selected; false outside 1..NrOfColumns.
    bool ColumnSelected(int c) const;
    // Selects or deselects column c; ignored outside 1..NrOfColumns.
    void SetColumnSelected(int c, bool v);
    // Selects row RowNr alone; a row that is not shown only clears the selection.
    void SelectRow(int RowNr);
    // Selects every shown row.
    void SelectAllRows();
    // Deselects every row.
    void DeselectAllRows();
    // Selects column ColNr alone; any other number only clears the column selection.
    void SelectColumn(int ColNr);
    // Selects every column.
    void SelectAllColumns();
    // Deselects every column.
    void DeselectAllColumns();
    // Enables every shown row.
    void EnableAllRows();
    // Disables every shown row.
    void DisableAllRows();
    // The first selected shown row; 0 when none is selected or the first selected one is disabled.
    int FirstSelectedRow() const;
    // The first selected column; 0 when none.
    int FirstSelectedColumn() const;
    // Number of selected shown rows.
    int NumSelectedRows() const;
    // Number of selected columns.
    int NumSelectedColumns() const;
    // Number of shown rows that are enabled.
    int NumEnabledRows() const;
    // The selected shown rows, ascending.
    TIntArray GetSelectedRows() const;
    // Selects exactly the shown rows listed (other numbers are skipped); the cursor goes to the last
    // listed one.
    void SetSelectedRows(const TIntArray& SelList);
    // Selects Row alone, scrolls it as near the middle as the ends allow and puts the grid's cursor
    // there; a row the filter hides is selected but not brought into view.
    void CenterScrollAndSelect(int Row);
    // The cell under a client point: X = grid column + 1 (0 outside); Y = data row, -1 on the
    // column header row, -2 on the common header row, 0 outside.
    TGridCoord MouseCell(int X, int Y) const;
    // Fires OnCursorKeyAction and cursorKeyAction with Key.
    void CursorKeyAction(WORD Key);

    // Fires OnChange and changed().
    void Changed();
    // Fires OnChangeSetup and changeSetup(), and tells assistive tools that the table changed.
    void ChangedSetup();
    // Fires OnSelectedChange and selectedChanged(), and tells assistive tools of the current row.
    void ChangedSelection();

    // ---- accessibility: a table of the shown rows in display order and every column, texts
    // as shown (password cells give their mask; check and radio cells tell their state and
    // toggle as a click does); the column headers are header cells, the common header is the
    // caption; rows are selected through the table as the user selects them.
    QAccessible::Role AccessibleRole() const override { return QAccessible::Table; }
    // The shown rows.
    int AccessibleRowCount() const override { return NrOfShownRows(); }
    // Every data column.
    int AccessibleColumnCount() const override { return NrOfColumns(); }
    QString AccessibleCellText(int Row, int Column) const override;
    QString AccessibleColumnHeader(int Column) const override;
    bool AccessibleHasColumnHeaders() const override { return FColHdVis; }
    QString AccessibleCaption() const override;
    // Where the common header lies in widget coordinates; empty when it is hidden.
    QRect AccessibleCaptionRect() const override;
    QRect AccessibleCellRect(int Row, int Column) const override;
    bool AccessibleCellAt(QPoint Pos, int& Row, int& Column) const override;
    // Whether shown row Row + 1 is selected.
    bool AccessibleRowSelected(int Row) const override { return RowSelected(Row + 1); }
    bool AccessibleCellCheckable(int Row, int Column) const override;
    // Whether the cell is a check cell that is checked.
    bool AccessibleCellChecked(int Row, int Column) const override;
    // Whether a click would toggle the check cell now (marks not read-only, row enabled, box shown).
    bool AccessibleCellToggleable(int Row, int Column) const override;
    void ToggleAccessibleCell(int Row, int Column) override;
    bool AccessibleCellSecret(int Row, int Column) const override;
    // Whether the column is editable in place and the row enabled.
    bool AccessibleCellEditable(int Row, int Column) const override;
    void AccessibleCurrentCell(int& Row, int& Column) const override;
    // True when several rows can be selected (RowSelectMode 2).
    bool AccessibleMultiSelect() const override { return FRowSelectMode == 2; }
    bool SelectAccessibleRow(int Row, bool Selected) override;
    void Assign(const QObject* Source) override;
    void AssignTo(QObject* Dest) const override;

    // ---- files and exports of the data (the view follows the new content)
    // Saves the data (see TRLData::SaveAsXMLFile); raises EInOutError when it cannot be written.
    void SaveAsXMLFile(const QString& FName, const QString& DataID) { FRLData->SaveAsXMLFile(FName, DataID); }
    // A failed load leaves data and view as they were.
    bool LoadFromXMLFile(const QString& FName, const QString& DataID)
    {
        HideEditor();
        return AfterLoad(FRLData->LoadFromXMLFile(FName, DataID));
    }
    // Loads the data from XML text; false leaves data and view as they were.
    bool ReadFromXMLString(const QString& InString, const QString& DataID)
    {
        HideEditor();
        return AfterLoad(FRLData->ReadFromXMLString(InString, DataID));
    }
    // See TRLData::ImportCSV; the view follows a successful import.
    int ImportCSV(const QString& FName, TCSVDelimiters Delimiter, bool IncludeColHeaders)
    {
        HideEditor();
        const int n = FRLData->ImportCSV(FName, Delimiter, IncludeColHeaders);
        AfterLoad(n >= 0);
        return n;
    }
    // See TRLData::ExportCSV.
    int ExportCSV(const QString& FName, TCSVDelimiters Delimiter, bool IncludeColHeaders, bool IncludeCommonHeader,
                  int FirstCol, int FirstRow, int LastCol, int LastRow)
    {
        return FRLData->ExportCSV(FName, Delimiter, IncludeColHeaders, IncludeCommonHeader, FirstCol, FirstRow, LastCol, LastRow);
    }
    // See TRLData::LoadLinesFromFile; the view takes on the new rows.
    int LoadLinesFromFile(int Column, int FirstRow, const QString& FName)
    {
        HideEditor();
        const int n = FRLData->LoadLinesFromFile(Column, FirstRow, FName);
        if (n >= 0)
            RowsChanged();
        return n;
    }
    // See TRLData::CopyToClipBoard (separator form).
    void CopyToClipBoard(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader, const QString& Separator)
    {
        FRLData->CopyToClipBoard(LeftCol, TopRow, RightCol, BottomRow, AddHeader, Separator);
    }
    // See TRLData::CopyToClipBoard (tab-separated or fixed-width form).
    void CopyToClipBoard(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader, bool UseTabs)
    {
        FRLData->CopyToClipBoard(LeftCol, TopRow, RightCol, BottomRow, AddHeader, UseTabs);
    }
    // Reads the data from a stream (see TRLData::ReadFromXMLStream); false changes nothing.
    bool ReadFromXMLStream(QIODevice* InStream, const QString& DataID)
    {
        HideEditor();
        return AfterLoad(FRLData->ReadFromXMLStream(InStream, DataID));
    }
    // Reads the data from an open text stream (see TRLData::ReadFromOpenXMLFile); false changes nothing.
    bool ReadFromOpenXMLFile(QTextStream& InFile, const QString& DataID)
    {
        HideEditor();
        return AfterLoad(FRLData->ReadFromOpenXMLFile(InFile, DataID));
    }
    // See TRLData::WriteToXMLStream.
    void WriteToXMLStream(QIODevice* OutStream, bool CreateHeader, const QString& DataID)
    {
        FRLData->WriteToXMLStream(OutStream, CreateHeader, DataID);
    }
    // See TRLData::WriteToOpenXMLFile.
    void WriteToOpenXMLFile(QTextStream& OutFile, bool CreateHeader, const QString& DataID)
    {
        FRLData->WriteToOpenXMLFile(OutFile, CreateHeader, DataID);
    }
    // See TRLData::ExportHTMLTable (its OnBeforeHTMLExport is this view's).
    void ExportHTMLTable(const QString& FName, int LoC, int LoR, int HiC, int HiR, const QVector<int>& ColumnSelection,
                         int Border, int CellSpacing, int Cellpadding, bool IncludeHeader, const QString& HeadClass,
                         const QString& CellClass, const QString& TableClass)
    {
        FRLData->ExportHTMLTable(FName, LoC, LoR, HiC, HiR, ColumnSelection, Border, CellSpacing, Cellpadding,
                                 IncludeHeader, HeadClass, CellClass, TableClass);
    }
    // Re-reads counts and sizes from the data after it was changed directly.
    void SyncWithData();

    // ---- row editor: a modal dialog with one input control per column of data row Row.
    // Edits data row Row in a dialog at screen position (PosLeft, PosTop) captioned "Editing Row n"
    // with OK and Cancel; returns mrOk when the values were written back, mrCancel otherwise.
    int EditRowEntries(int Row, int PosLeft, int PosTop);
    // The same with the given captions.
    int EditRowEntries(int Row, int PosLeft, int PosTop, const QString& FormCaption, const QString& ButOKCaption,
                       const QString& ButCancelCaption);
    // Places the controls at (PosLeft, PosTop) in ContainerForm and runs it modally; the form stays
    // the caller's. The values are written back when it returns mrOk. A null form gives the dialog
    // of the first overload.
    int EditRowEntries(int Row, QDialog* ContainerForm, int PosLeft, int PosTop);

    // ---- events; each without by-reference arguments is followed by its signal
    // After every change of the data's cells, size or order and of column headers, formats and
    // settings.
    TNotifyEvent OnChange;
    // After a change of the view's set-up: counts, colours, sizes, column widths and order.
    TNotifyEvent OnChangeSetup;
    // After the row or column selection or the enabled rows changed.
    TNotifyEvent OnSelectedChange;
    // After the user toggled a check cell; State is the opposite of the state the toggle asked for.
    TCheckStateChangeEvent OnCheckedChange;
    // Before a check cell is toggled by the user; State is the new state, which the handler may
    // change (a radio cell is always chosen).
    TCheckStateChangeEvent OnBeforeCheckedChange;
    // See FilterAndSort.
    TBeforeFilterEvent OnBeforeFilter;
    // Passed on to the row editor: may replace a column's format before its control is made.
    TRequestEditFormatEvent OnRequestEditFormat;
    // See TRenderCellEvent.
    TRenderCellEvent OnBeforeRenderCell;
    // See TCursorKeyActionEvent.
    TCursorKeyActionEvent OnCursorKeyAction;
    // See TReadCellEvent.
    TReadCellEvent OnReadCell;
    // Before a sort exchanges two display positions (see TStringArray); heard only while assigned.
    TBeforeSortExchgEvent OnBeforeSortExchange;
    // Offered every exported HTML cell text (see ExportHTMLTable).
    TBeforeHTMLExportEvent OnBeforeHTMLExport;
    // Progress of sorting and of the file operations in percent.
    TOnPercentDoneEvent OnPercentDone;

Q_SIGNALS:
    // Follows OnChange.
    void changed();
    // Follows OnChangeSetup.
    void changeSetup();
    // Follows OnSelectedChange.
    void selectedChanged();
    // Follows OnCheckedChange, with the cell's data column and row.
    void checkedChanged(int col, int row);
    // Follows OnCursorKeyAction.
    void cursorKeyAction(int key);
    // Follows OnBeforeSortExchange.
    void beforeSortExchange(int row1, int row2);
    // Follows OnPercentDone.
    void percentDone(int percent);
    // LastSortColumn or LastSortOrder changed.
    void sortChanged();

protected:
    void Paint() override;
    void DrawCell(int ACol, int ARow, const QRect& ARect, TGridDrawState AState) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void DblClick() override;
    bool DoMouseWheelDown(TShiftState Shift, QPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, QPoint MousePos) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    bool SelectCell(int ACol, int ARow) override;
    QString GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const QString& Value) override;
    void TopLeftChanged() override;
    void EnabledChanged() override;
    void resizeEvent(QResizeEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    // Painting suppressed for the lifetime of the guard; the old state comes back after.
    class PaintGuard {
    public:
        explicit PaintGuard(TReportListView* v) : FView(v), FOld(v->FSuppressPaint) { v->FSuppressPaint = true; }
        ~PaintGuard() { FView->SetSuppressPaint(FOld); }
    private:
        TReportListView* FView;
        bool FOld;
    };

    // Emits sortChanged when the sort column or order differs at the end of its scope.
    class SortWatch {
    public:
        explicit SortWatch(TReportListView* v) : FView(v), FColumn(v->LastSortColumn()), FOrder(v->LastSortOrder()) {}
        ~SortWatch()
        {
            if (FColumn != FView->LastSortColumn() || FOrder != FView->LastSortOrder())
                emit FView->sortChanged();
        }
    private:
        TReportListView* FView;
        int FColumn;
        bool FOrder;
    };

    void BindData();
    void UnbindData();
    // Data held elsewhere can change its size behind the view's back.
    void FollowForeignData();
    bool AfterLoad(bool ok) { if (ok) SyncWithData(); return ok; }
    void RowsChanged();   // the data's row count changed behind the view
    void AfterRowsRemoved();
    void ApplyColCount(int n);
    void StringsHasChanged();
    void SetColorSetup(TColor& field, TColor v);
    void DeriveRows();
    void SetHeaderHeights();
    void ResetColumnArrays();
    // Brings the per-column arrays and the grid to the data's column count, which a program
    // may have changed through Data() directly.
    void ColumnsFollowData();
    void EndFilter();
    void ReapplyFilterOrder();
    void ApplyDisplayOrder(const std::vector<int>& physicalOrder);
    int DataCol(int gridCol) const;
    int GridColOfData(int d) const;   // grid column showing data column d, -1 when none   // 1-based data column of a grid column, 0 outside
    int DataRowOfGridRow(int g) const { return g - CountHeadRows() + 1; }
    int GridRowOfDataRow(int r) const { return r + CountHeadRows() - 1; }
    int ColumnHeaderRow() const { return FColHdVis ? (FComHdVis ? 1 : 0) : -1; }
    // The stored text of a cell as it is shown and measured: a password column shows "******"
    // whatever the length, behind the mark of a check column. The view form copies nothing but
    // a password check cell, which it builds in Buffer; it is valid until the data changes.
    QString ShownText(int d, int r) const;
    QStringView ShownTextView(int d, int r, QString& Buffer) const;
    bool RowDisabled(int r) const { return FRLData->RowAttrib(r) & rlaDisabled; }
    void SetRowBit(int r, std::uint8_t bit, bool on);
    void SetAllRowBits(std::uint8_t bit, bool on);
    int VisibleRightEnd() const;
    // Cell texts are shaped once and kept (width and laid-out glyphs) for the next paints.
    struct TextCache;
    struct TextCacheDeleter { void operator()(TextCache* c) const; };
    int CachedTextWidth(TCanvas* cv, QStringView text);
    void SyncTextCache();
    void DrawCellText(TCanvas* cv, const QRect& textRect, int y, QStringView text, TAlignment align, int width);
    void FontChanged() override;
    void DrawDataCell(int ACol, int ARow, const QRect& ARect);
    void DrawHeaderCell(int ACol, int ARow, const QRect& ARect);
    // The raised edge of a header from l to e; its top and bottom lines stop at stop.
    void DrawRaisedEdge(TCanvas* cv, int l, int t, int b, int e, bool blackEnd, int stop = std::numeric_limits<int>::max());
    void DrawEmptyMessage(TCanvas* cv);
    void DrawInterRowIndicator(TCanvas* cv);
    void HeaderClickSort(int d);
    void ToggleCheck(int d, int r);
    // Whether a click on the box of data column d, row r toggles it.
    bool CanToggleCheck(int d, int r) const;
    // The data column of an accessible column and the data row of an accessible row, 0 outside.
    int AccessibleDataCol(int Column) const { return ColumnOrder(Column + 1); }
    int AccessibleDataRow(int Row) const { return Row >= 0 && Row < NrOfShownRows() ? Row + 1 : 0; }
    void ApplyClickSelection(TShiftState Shift);
    TRowEditor MakeRowEditor();

    bool FAutoAdvance = false;
    int FLastMousePosX = 0;
    int FLastMousePosY = 0;
    std::vector<TAlignment> FColAlignment;
    TAlignment FHeaderAlignment = taCenter;
    QString FEmptyMsg;
    std::vector<bool> FColumnEditable;
    std::vector<bool> FColumnIsPwd;
    std::vector<int> FColOrder;
    bool FComHdVis = false;
    TColor FComHdColor = clBtnFace;
    TColor FComHdTxtColor = clBlack;
    int FComHdHgt = 20;
    bool FColHdVis = true;
    TColor FColHdColor = clBtnFace;
    TColor FColHdTxtColor = clBlack;
    int FColHdHgt = 20;
    TColor FColorEmptyMsg = clBlack;
    TColor FDisabledTextColor = clSilver;
    TColor FDisabledBkgdColor = 0xF0F0F0;
    bool FEnabled = true;
    int FSelectAnchor = 1;
    int FRowSelectMode = 1;
    bool FCtrlForMultiSel = true;
    bool FSortEnabled = true;
    TColor FSelRowColor = 0x94BAED;
    TColor FSelRowTextColor = clNavy;
    TColor FSelColColor = clBlack;
    TColor FSelColTextColor = clBlack;
    TColor FSelBothColor = clBlack;
    TColor FSelBothTextColor = clBlack;
    bool FShowEmptyCBx = true;
    bool FROCheckMarks = false;
    TColor FHiLgtColor = 0xCC9966;
    TColor FHiLgtTextColor = clWhite;
    bool FHiLgtBold = false;
    int FHiLgtRow = 0;
    int FHiLgtColumn = 0;
    bool FSuppressPaint = true;
    TColor FColorNormal = 0x002000;
    TColor FRColorNormal = clWhite;
    TColor FRColorShaded = 0xF0EFE8;
    int FRowColPattern = 1;
    int FInterRowIndi = 0;
    TColor FInterRowColor = clRed;
    int FInterRowWidth = 3;
    bool FFixedColOne = false;
    QDialog* FContainerForm = nullptr;     // the row editor's form while it runs
    QAbstractButton* FSBERCancel = nullptr; // and its cancel button
    int FSecSortColumn = -2;               // set by SetSecondarySortColumn until the next sort
    int FFilterCount = -1;                 // rows shown while filtered, -1 = no filter
    std::vector<char> FMatchPhys;          // filter match by physical row (index 1..)
    // Rows the view selected since it last knew the whole selection: deselecting all then
    // touches only these. Any change reported by the data (content, order, attributes set from
    // outside) makes the hint unknown again.
    std::vector<int> FSelHint;
    bool FSelHintValid = false;
    std::unique_ptr<TextCache, TextCacheDeleter> FTextCache;
    QString FCellText;   // painting buffers, kept with their capacity from cell to cell
    QString FCutText;
    QPen FTextPen;
    bool FInPaint = false;           // while Paint runs:
    int FPaintRightEnd = 0;          //   the right end of the visible columns
    bool FCommonHeaderDrawn = false; //   and whether the common header band is drawn
    std::unique_ptr<TRLData> FOwnData;   // the view's own data, kept while it shows another
    TRLData* FRLData = nullptr;          // the data shown
    QMetaObject::Connection FForeignGone;
};

} // namespace qor
