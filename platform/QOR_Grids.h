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

struct TGridCoord {
    int X = 0;
    int Y = 0;
    constexpr bool operator==(const TGridCoord&) const = default;
};

// A rectangle of cells, both corners included.
struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    constexpr bool operator==(const TGridRect&) const = default;
    constexpr bool Contains(int c, int r) const { return c >= Left && c <= Right && r >= Top && r <= Bottom; }
};

enum TGridOption : std::uint8_t {
    goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goDrawFocusSelected,
    goRowSizing, goColSizing, goRowMoving, goColMoving, goEditing, goTabs, goRowSelect,
    goAlwaysShowEditor, goThumbTracking, goFixedColClick, goFixedRowClick, goFixedHotTrack
};
using TGridOptions = TSet<TGridOption, std::uint32_t>;

enum TGridDrawStateElem : std::uint8_t { gdSelected, gdFocused, gdFixed, gdRowSelected, gdHotTrack, gdPressed };
using TGridDrawState = TSet<TGridDrawStateElem, std::uint8_t>;

enum TScrollStyle : std::uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TBorderStyle : std::uint8_t { bsNone, bsSingle };
enum TEditStyle : std::uint8_t { esSimple, esEllipsis, esPickList };
enum TGridState : std::uint8_t { gsNormal, gsSelecting, gsRowSizing, gsColSizing };

using TDrawCellEvent = std::function<void(QObject* Sender, int ACol, int ARow, QRect Rect, TGridDrawState State)>;
using TSelectCellEvent = std::function<void(QObject* Sender, int ACol, int ARow, bool& CanSelect)>;
using TGetEditEvent = std::function<void(QObject* Sender, int ACol, int ARow, QString& Value)>;
using TSetEditEvent = std::function<void(QObject* Sender, int ACol, int ARow, const QString& Value)>;

class TCustomGrid;

// The in-place editor: a frameless line edit over the current cell.
class KORVANE_EXPORT TInplaceEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TInplaceEdit(TCustomGrid* grid);
protected:
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
private:
    TCustomGrid* FGrid;
};

class KORVANE_EXPORT TCustomGrid : public QAbstractScrollArea, public TControlEvents {
    Q_OBJECT
public:
    explicit TCustomGrid(QWidget* AOwner = nullptr);
    ~TCustomGrid() override;
    QObject* ComponentObject() override { return this; }

    // --- counts and sizes
    int ColCount() const { return int(FColWidths.size()); }
    void SetColCount(int v);
    int RowCount() const { return FRowCount; }
    void SetRowCount(int v);
    // Fixed counts are kept at most the column / row count.
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
    // Out-of-range reads give the default size; out-of-range writes are ignored.
    int ColWidths(int i) const;
    void SetColWidths(int i, int w);
    int RowHeights(int i) const;
    void SetRowHeights(int i, int h);
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int v);

    // --- options and looks
    TGridOptions Options() const { return FOptions; }
    void SetOptions(TGridOptions v);
    TColor Color() const { return FColor; }
    void SetColor(TColor c);
    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor c);
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool v) { FDefaultDrawing = v; Invalidate(); }
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle v);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle v);
    // The grid's font (kept in step with the QWidget font).
    TFont* Font() { return &FFont; }

    // --- scrolling
    int TopRow() const { return FTopLeft.Y; }
    void SetTopRow(int v);
    int LeftCol() const { return FTopLeft.X; }
    void SetLeftCol(int v);
    // The number of non-fixed rows / columns shown completely.
    int VisibleRowCount() const;
    int VisibleColCount() const;

    // --- current cell and selection
    int Col() const { return FCurrent.X; }
    void SetCol(int v) { FocusCell(v, FCurrent.Y, true); }
    int Row() const { return FCurrent.Y; }
    void SetRow(int v) { FocusCell(FCurrent.X, v, true); }
    TGridRect Selection() const;
    // Sets the selection (clamped to the non-fixed cells) and makes its top-left the current cell.
    void SetSelection(TGridRect v);

    // --- geometry queries (client = viewport coordinates)
    // The rectangle of a visible cell (clipped to the client area); empty when not visible.
    QRect CellRect(int ACol, int ARow) const;
    TGridCoord MouseCoord(int X, int Y) const;
    void MouseToCell(int X, int Y, int& ACol, int& ARow) const;
    // Right / bottom end of the visible cells with their lines, at most the client size.
    int GridWidth() const;
    int GridHeight() const;
    int ClientWidth() const;
    int ClientHeight() const;
    QRect ClientRect() const { return QRect(0, 0, ClientWidth(), ClientHeight()); }

    // --- editing
    bool EditorMode() const;
    void SetEditorMode(bool v);
    QLineEdit* InplaceEditor() const;
    void ShowEditor();
    void HideEditor();

    // --- painting
    TCanvas* Canvas();
    TBitmap* Surface() { EnsureSurface(); return &FSurface; }
    void Invalidate();
    void Repaint();
    // Paints into the surface now (tests, printing).
    void RenderNow();
    void InvalidateCell(int, int) { Invalidate(); }
    void InvalidateRow(int) { Invalidate(); }
    void InvalidateCol(int) { Invalidate(); }
    void InvalidateGrid() { Invalidate(); }
    bool Enabled() const { return isEnabled(); }
    int Width() const { return width(); }
    int Height() const { return height(); }

    TGridState GridState() const { return FGridState; }

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
    virtual void FontChanged() { Invalidate(); }
    virtual void EnabledChanged() { Invalidate(); }

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
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    bool DoMouseWheelDown(TShiftState Shift, QPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, QPoint MousePos) override;

    // Qt plumbing.
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
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
    void SetTopLeft(int ACol, int ARow);
    void ClampCurrent();
    int ColSizingHit(int X, int Y) const;   // column whose right border is under (X, Y), or -1
    int RowSizingHit(int X, int Y) const;
    bool EnsureSurface();
    void PlaceEditor();
    void EditorTextEdited(const QString& s);
    void CommitEditorAndHide();
    void CancelEditor();
    void DrawLines(const AxisRun& cols, const AxisRun& rows);
    bool IsSelectedDraw(int c, int r) const;

    std::vector<int> FColWidths;
    std::vector<int> FRowHeights;       // empty while every row has the default height
    int FRowCount = 5;
    int FFixedCols = 1;
    int FFixedRows = 1;
    int FDefaultColWidth = 64;
    int FDefaultRowHeight = 24;
    int FGridLineWidth = 1;
    TGridOptions FOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
    TColor FColor = clWindow;
    TColor FFixedColor = clBtnFace;
    bool FDefaultDrawing = true;
    TScrollStyle FScrollBars = ssBoth;
    TBorderStyle FBorderStyle = bsSingle;
    TFont FFont;
    TGridCoord FTopLeft{1, 1};
    TGridCoord FCurrent{1, 1};
    TGridCoord FAnchor{1, 1};
    TGridState FGridState = gsNormal;
    int FSizingIndex = -1;
    int FSizingOrigin = 0;       // mouse position where sizing started
    int FSizingStartSize = 0;
    bool FClickOnCurrent = false;
    bool FKeyHandled = false;
    bool FSyncingScroll = false;
    TBitmap FSurface;
    TInplaceEdit* FEditor = nullptr;
    QComboBox* FPickList = nullptr;
    QString FEditOriginal;
    bool FEditorShown = false;
    bool FPickActive = false;   // the open editor is the pick list
    TGridCoord FEditCell{-1, -1};
};

// The draw grid with its events: OnDrawCell draws each cell, OnSelectCell may refuse a move,
// OnTopLeftChanged follows scrolling, OnGetEditText / OnSetEditText connect the editor.
class KORVANE_EXPORT TCustomDrawGrid : public TCustomGrid {
    Q_OBJECT
public:
    explicit TCustomDrawGrid(QWidget* AOwner = nullptr);
    TDrawCellEvent OnDrawCell;
    TSelectCellEvent OnSelectCell;
    TNotifyEvent OnTopLeftChanged;
    TGetEditEvent OnGetEditText;
    TSetEditEvent OnSetEditText;
    TNotifyEvent OnColumnSized;
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
    Q_PROPERTY(int ColCount READ ColCount WRITE SetColCount)
    Q_PROPERTY(int RowCount READ RowCount WRITE SetRowCount)
    Q_PROPERTY(int FixedCols READ FixedCols WRITE SetFixedCols)
    Q_PROPERTY(int FixedRows READ FixedRows WRITE SetFixedRows)
    Q_PROPERTY(int DefaultColWidth READ DefaultColWidth WRITE SetDefaultColWidth)
    Q_PROPERTY(int DefaultRowHeight READ DefaultRowHeight WRITE SetDefaultRowHeight)
    Q_PROPERTY(int GridLineWidth READ GridLineWidth WRITE SetGridLineWidth)
    Q_PROPERTY(bool DefaultDrawing READ DefaultDrawing WRITE SetDefaultDrawing)
public:
    explicit TDrawGrid(QWidget* AOwner = nullptr) : TCustomDrawGrid(AOwner) {}
};

} // namespace qor
