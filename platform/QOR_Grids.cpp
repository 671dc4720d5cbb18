#include "QOR_Grids.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <utility>

namespace qor {

// ---------------------------------------------------------------------------------------------
// Construction and sizes

TCustomGrid::TCustomGrid(QWidget* AOwner) : TSurfaceHost<QAbstractScrollArea>(AOwner, clWindow)
{
    FColWidths.assign(5, FDefaultColWidth);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    verticalScrollBar()->setTracking(false);
    horizontalScrollBar()->setTracking(false);
    UpdateScrollBars();
    // A reader follows the current cell.
    connect(this, &TCustomGrid::currentCellChanged, this, [this] { AccessibleCurrentCellChanged(); });
}

TCustomGrid::~TCustomGrid()
{
    // The editors go first: losing focus while the grid is half destroyed must not reach it.
    FEditorShown = false;
    delete std::exchange(FEditor, nullptr);
    delete std::exchange(FPickList, nullptr);
}

void TCustomGrid::SetColCount(int v)
{
    v = std::max(1, v);
    const int old = ColCount();
    if (v == old)
        return;
    FColWidths.resize(std::size_t(v), FDefaultColWidth);
    FFixedCols = std::min(FFixedColsSet, v - 1);
    ClampCurrent();
    ClampTopLeft();
    SizeChanged(old, FRowCount);
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetRowCount(int v)
{
    v = std::max(1, v);
    const int old = FRowCount;
    if (v == old)
        return;
    // The heights first: without room for them the grid keeps its rows.
    if (!FRowHeights.empty())
        FRowHeights.resize(std::size_t(v), FDefaultRowHeight);
    FRowCount = v;
    FFixedRows = std::min(FFixedRowsSet, v - 1);
    ClampCurrent();
    ClampTopLeft();
    SizeChanged(ColCount(), old);
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetFixedCols(int v)
{
    FFixedColsSet = std::max(0, v);
    v = std::min(FFixedColsSet, ColCount() - 1);
    if (v == FFixedCols)
        return;
    FFixedCols = v;
    ClampCurrent();
    ClampTopLeft();
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetFixedRows(int v)
{
    FFixedRowsSet = std::max(0, v);
    v = std::min(FFixedRowsSet, FRowCount - 1);
    if (v == FFixedRows)
        return;
    FFixedRows = v;
    ClampCurrent();
    ClampTopLeft();
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetDefaultColWidth(int v)
{
    v = std::max(0, v);
    FDefaultColWidth = v;
    std::fill(FColWidths.begin(), FColWidths.end(), v);
    ColWidthsChanged();
    ClampTopLeft();
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetDefaultRowHeight(int v)
{
    v = std::max(0, v);
    FDefaultRowHeight = v;
    FRowHeights.clear();
    RowHeightsChanged();
    ClampTopLeft();
    UpdateScrollBars();
    Invalidate();
}

int TCustomGrid::ColWidths(int i) const
{
    return (i >= 0 && i < ColCount()) ? FColWidths[std::size_t(i)] : 0;
}

void TCustomGrid::SetColWidths(int i, int w)
{
    if (i < 0 || i >= ColCount())
        return;
    w = std::max(0, w);
    if (FColWidths[std::size_t(i)] == w)
        return;
    FColWidths[std::size_t(i)] = w;
    ColWidthsChanged();
    ClampTopLeft();
    UpdateScrollBars();
    PlaceEditor();
    Invalidate();
}

int TCustomGrid::RowHeights(int i) const
{
    if (i < 0 || i >= FRowCount)
        return 0;
    return FRowHeights.empty() ? FDefaultRowHeight : FRowHeights[std::size_t(i)];
}

void TCustomGrid::SetRowHeights(int i, int h)
{
    if (i < 0 || i >= FRowCount)
        return;
    h = std::max(0, h);
    if (RowHeights(i) == h)
        return;
    if (FRowHeights.empty())
        FRowHeights.assign(std::size_t(FRowCount), FDefaultRowHeight);
    FRowHeights[std::size_t(i)] = h;
    RowHeightsChanged();
    ClampTopLeft();
    UpdateScrollBars();
    PlaceEditor();
    Invalidate();
}

void TCustomGrid::ReserveLines(int Cols, int Rows)
{
    FColWidths.reserve(std::size_t(std::max(0, Cols)));
    if (!FRowHeights.empty())
        FRowHeights.reserve(std::size_t(std::max(0, Rows)));
}

void TCustomGrid::InsertColAt(int Index, int Width)
{
    HideEditor();
    const int old = ColCount();
    Index = std::clamp(Index, 0, old);
    FColWidths.insert(FColWidths.begin() + Index, std::max(0, Width));
    ShiftCells(&TGridCoord::X, Index, 1, old, FRowCount);
}

void TCustomGrid::DeleteColAt(int Index)
{
    const int old = ColCount();
    if (Index < 0 || Index >= old || old == 1)
        return;
    HideEditor();
    FColWidths.erase(FColWidths.begin() + Index);
    ShiftCells(&TGridCoord::X, Index, -1, old, FRowCount);
}

void TCustomGrid::InsertRowAt(int Index, int Height)
{
    HideEditor();
    const int old = FRowCount;
    Index = std::clamp(Index, 0, old);
    Height = std::max(0, Height);
    if (!FRowHeights.empty() || Height != FDefaultRowHeight) {
        if (FRowHeights.empty())
            FRowHeights.assign(std::size_t(old), FDefaultRowHeight);
        FRowHeights.insert(FRowHeights.begin() + Index, Height);
    }
    ++FRowCount;
    ShiftCells(&TGridCoord::Y, Index, 1, ColCount(), old);
}

void TCustomGrid::DeleteRowAt(int Index)
{
    const int old = FRowCount;
    if (Index < 0 || Index >= old || old == 1)
        return;
    HideEditor();
    if (!FRowHeights.empty())
        FRowHeights.erase(FRowHeights.begin() + Index);
    --FRowCount;
    ShiftCells(&TGridCoord::Y, Index, -1, ColCount(), old);
}

void TCustomGrid::ShiftCells(int TGridCoord::*Axis, int Index, int Delta, int OldCols, int OldRows)
{
    // A cell after the line moves with it; a cell on a removed line stays where it is and so
    // falls to its neighbour.
    const TGridCoord was = FCurrent;
    for (TGridCoord* p : {&FCurrent, &FAnchor, &FTopLeft})
        if (p->*Axis > Index || (Delta > 0 && p->*Axis == Index))
            p->*Axis += Delta;
    FFixedCols = std::min(FFixedColsSet, ColCount() - 1);
    FFixedRows = std::min(FFixedRowsSet, FRowCount - 1);
    ClampCurrent(was);
    ClampTopLeft();
    SizeChanged(OldCols, OldRows);
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetGridLineWidth(int v)
{
    v = std::max(0, v);
    if (v == FGridLineWidth)
        return;
    FGridLineWidth = v;
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetOptions(TGridOptions v)
{
    if (v == FOptions)
        return;
    const bool trackChanged = v.testFlag(goThumbTracking) != FOptions.testFlag(goThumbTracking);
    FOptions = v;
    if (trackChanged) {
        verticalScrollBar()->setTracking(v.testFlag(goThumbTracking));
        horizontalScrollBar()->setTracking(v.testFlag(goThumbTracking));
    }
    if (!v.testFlag(goEditing) && EditorMode())
        HideEditor();
    if (!v.testFlag(goRangeSelect))
        FAnchor = FCurrent;
    Invalidate();
}

void TCustomGrid::SetFixedColor(TColor c)
{
    if (c == FFixedColor)
        return;
    FFixedColor = c;
    Invalidate();
}

void TCustomGrid::SetScrollBars(TScrollStyle v)
{
    FScrollBars = v;
    setVerticalScrollBarPolicy((v == ssVertical || v == ssBoth) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy((v == ssHorizontal || v == ssBoth) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    UpdateScrollBars();
}

void TCustomGrid::SetBorderStyle(TBorderStyle v)
{
    FBorderStyle = v;
    ApplyBorder();
}

void TCustomGrid::SetCtl3D(bool v)
{
    if (Store(FCtl3D, v))
        ApplyBorder();
}

void TCustomGrid::ApplyBorder()
{
    if (FBorderStyle != bsSingle) {
        setFrameStyle(QFrame::NoFrame);
    } else if (FCtl3D) {
        setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    } else {
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setLineWidth(1);
    }
}

// ---------------------------------------------------------------------------------------------
// Geometry

// Before the first resize event reaches a hidden grid its viewport has not been laid out yet;
// the client area is then what the frame leaves.
int TCustomGrid::ClientWidth() const
{
    return testAttribute(Qt::WA_PendingResizeEvent) ? maximumViewportSize().width() : viewport()->width();
}

int TCustomGrid::ClientHeight() const
{
    return testAttribute(Qt::WA_PendingResizeEvent) ? maximumViewportSize().height() : viewport()->height();
}

int TCustomGrid::FixedWidth() const
{
    int w = 0;
    for (int c = 0; c < FFixedCols; ++c)
        w += ColWidths(c) + FGridLineWidth;
    return w;
}

int TCustomGrid::FixedHeight() const
{
    int h = 0;
    for (int r = 0; r < FFixedRows; ++r)
        h += RowHeights(r) + FGridLineWidth;
    return h;
}

TCustomGrid::AxisRun TCustomGrid::VisibleCols() const
{
    AxisRun run;
    const int limit = ClientWidth();
    int x = 0;
    for (int c = 0; c < FFixedCols && x < limit; ++c) {
        run.Index.push_back(c);
        run.Start.push_back(x);
        x += ColWidths(c) + FGridLineWidth;
    }
    for (int c = std::max(FTopLeft.X, FFixedCols); c < ColCount() && x < limit; ++c) {
        run.Index.push_back(c);
        run.Start.push_back(x);
        x += ColWidths(c) + FGridLineWidth;
    }
    run.End = x;
    return run;
}

TCustomGrid::AxisRun TCustomGrid::VisibleRows() const
{
    AxisRun run;
    const int limit = ClientHeight();
    int y = 0;
    for (int r = 0; r < FFixedRows && y < limit; ++r) {
        run.Index.push_back(r);
        run.Start.push_back(y);
        y += RowHeights(r) + FGridLineWidth;
    }
    for (int r = std::max(FTopLeft.Y, FFixedRows); r < FRowCount && y < limit; ++r) {
        run.Index.push_back(r);
        run.Start.push_back(y);
        y += RowHeights(r) + FGridLineWidth;
    }
    run.End = y;
    return run;
}

int TCustomGrid::GridWidth() const { return std::min(VisibleCols().End, ClientWidth()); }
int TCustomGrid::GridHeight() const { return std::min(VisibleRows().End, ClientHeight()); }

QRect TCustomGrid::CellRect(int ACol, int ARow) const
{
    if (ACol < 0 || ACol >= ColCount() || ARow < 0 || ARow >= FRowCount)
        return QRect();
    if ((ACol >= FFixedCols && ACol < FTopLeft.X) || (ARow >= FFixedRows && ARow < FTopLeft.Y))
        return QRect();
    const int cw = ClientWidth(), ch = ClientHeight();
    int x = 0;
    if (ACol < FFixedCols) {
        for (int c = 0; c < ACol; ++c)
            x += ColWidths(c) + FGridLineWidth;
    } else {
        x = FixedWidth();
        for (int c = FTopLeft.X; c < ACol && x < cw; ++c)
            x += ColWidths(c) + FGridLineWidth;
    }
    int y = 0;
    if (ARow < FFixedRows) {
        for (int r = 0; r < ARow; ++r)
            y += RowHeights(r) + FGridLineWidth;
    } else {
        y = FixedHeight();
        for (int r = FTopLeft.Y; r < ARow && y < ch; ++r)
            y += RowHeights(r) + FGridLineWidth;
    }
    if (x >= cw || y >= ch)
        return QRect();
    const int w = std::min(ColWidths(ACol), cw - x);
    const int h = std::min(RowHeights(ARow), ch - y);
    if (w <= 0 || h <= 0)
        return QRect();
    return QRect(x, y, w, h);
}

TGridCoord TCustomGrid::MouseCoord(int X, int Y) const
{
    TGridCoord res{-1, -1};
    if (X < 0 || Y < 0 || X >= ClientWidth() || Y >= ClientHeight())
        return res;
    const AxisRun cols = VisibleCols();
    for (std::size_t i = 0; i < cols.Index.size(); ++i) {
        const int end = cols.Start[i] + ColWidths(cols.Index[i]) + FGridLineWidth;
        if (X >= cols.Start[i] && X < end) { res.X = cols.Index[i]; break; }
    }
    const AxisRun rows = VisibleRows();
    for (std::size_t i = 0; i < rows.Index.size(); ++i) {
        const int end = rows.Start[i] + RowHeights(rows.Index[i]) + FGridLineWidth;
        if (Y >= rows.Start[i] && Y < end) { res.Y = rows.Index[i]; break; }
    }
    if (res.X < 0 || res.Y < 0)
        return TGridCoord{-1, -1};
    return res;
}

void TCustomGrid::MouseToCell(int X, int Y, int& ACol, int& ARow) const
{
    const TGridCoord c = MouseCoord(X, Y);
    ACol = c.X;
    ARow = c.Y;
}

int TCustomGrid::VisibleRowCount() const
{
    const int limit = ClientHeight();
    int y = FixedHeight(), n = 0;
    for (int r = std::max(FTopLeft.Y, FFixedRows); r < FRowCount; ++r) {
        if (y + RowHeights(r) > limit)
            break;
        ++n;
        y += RowHeights(r) + FGridLineWidth;
    }
    return n;
}

int TCustomGrid::VisibleColCount() const
{
    const int limit = ClientWidth();
    int x = FixedWidth(), n = 0;
    for (int c = std::max(FTopLeft.X, FFixedCols); c < ColCount(); ++c) {
        if (x + ColWidths(c) > limit)
            break;
        ++n;
        x += ColWidths(c) + FGridLineWidth;
    }
    return n;
}

// The greatest top row that still shows the last row completely.
int TCustomGrid::MaxTopRow() const
{
    if (FRowCount <= FFixedRows)
        return FFixedRows;
    const int budget = ClientHeight() - FixedHeight();
    int t = FRowCount - 1;
    int used = RowHeights(t);
    while (t - 1 >= FFixedRows && used + RowHeights(t - 1) + FGridLineWidth <= budget) {
        used += RowHeights(t - 1) + FGridLineWidth;
        --t;
    }
    return t;
}

int TCustomGrid::MaxLeftCol() const
{
    if (ColCount() <= FFixedCols)
        return FFixedCols;
    const int budget = ClientWidth() - FixedWidth();
    int l = ColCount() - 1;
    int used = ColWidths(l);
    while (l - 1 >= FFixedCols && used + ColWidths(l - 1) + FGridLineWidth <= budget) {
        used += ColWidths(l - 1) + FGridLineWidth;
        --l;
    }
    return l;
}

void TCustomGrid::ClampTopLeft()
{
    const int top = std::clamp(FTopLeft.Y, FFixedRows, std::max(FFixedRows, MaxTopRow()));
    const int left = std::clamp(FTopLeft.X, FFixedCols, std::max(FFixedCols, MaxLeftCol()));
    if (top != FTopLeft.Y || left != FTopLeft.X) {
        FTopLeft = {left, top};
        UpdateScrollBars();
        TopLeftChanged();
    }
}

TGridCoord TCustomGrid::ClampedToCells(TGridCoord p) const
{
    return {std::clamp(p.X, FFixedCols, std::max(FFixedCols, ColCount() - 1)),
            std::clamp(p.Y, FFixedRows, std::max(FFixedRows, FRowCount - 1))};
}

void TCustomGrid::ClampCurrent()
{
    ClampCurrent(FCurrent);
}

void TCustomGrid::ClampCurrent(TGridCoord was)
{
    FCurrent = ClampedToCells(FCurrent);
    FAnchor = ClampedToCells(FAnchor);
    if (!FOptions.testFlag(goRangeSelect))
        FAnchor = FCurrent;
    if (!(FCurrent == was))
        emit currentCellChanged(FCurrent.X, FCurrent.Y);
}

void TCustomGrid::UpdateScrollBars()
{
    // Reset however the update ends: a flag left set would make the grid ignore its scroll bars.
    FSyncingScroll = true;
    struct Reset {
        bool& Flag;
        ~Reset() { Flag = false; }
    } reset{FSyncingScroll};
    QScrollBar* vb = verticalScrollBar();
    const int vmax = std::max(0, MaxTopRow() - FFixedRows);
    vb->setRange(0, vmax);
    vb->setPageStep(std::max(1, VisibleRowCount()));
    vb->setSingleStep(1);
    vb->setValue(FTopLeft.Y - FFixedRows);
    QScrollBar* hb = horizontalScrollBar();
    const int hmax = std::max(0, MaxLeftCol() - FFixedCols);
    hb->setRange(0, hmax);
    hb->setPageStep(std::max(1, VisibleColCount()));
    hb->setSingleStep(1);
    hb->setValue(FTopLeft.X - FFixedCols);
}

void TCustomGrid::scrollContentsBy(int, int)
{
    if (FSyncingScroll)
        return;
    const int top = FFixedRows + verticalScrollBar()->value();
    const int left = FFixedCols + horizontalScrollBar()->value();
    if (top != FTopLeft.Y || left != FTopLeft.X) {
        FTopLeft = {left, top};
        PlaceEditor();
        TopLeftChanged();
        Invalidate();
    }
}

void TCustomGrid::SetTopLeft(int ACol, int ARow)
{
    ACol = std::clamp(ACol, FFixedCols, std::max(FFixedCols, MaxLeftCol()));
    ARow = std::clamp(ARow, FFixedRows, std::max(FFixedRows, MaxTopRow()));
    if (ACol == FTopLeft.X && ARow == FTopLeft.Y)
        return;
    FTopLeft = {ACol, ARow};
    UpdateScrollBars();
    PlaceEditor();
    TopLeftChanged();
    Invalidate();
}

void TCustomGrid::SetTopRow(int v) { SetTopLeft(FTopLeft.X, v); }
void TCustomGrid::SetLeftCol(int v) { SetTopLeft(v, FTopLeft.Y); }

void TCustomGrid::ScrollToCell(int ACol, int ARow)
{
    int top = FTopLeft.Y, left = FTopLeft.X;
    if (ARow >= FFixedRows && ARow < FRowCount) {
        if (ARow < top) {
            top = ARow;
        } else {
            // Smallest top row that shows ARow completely.
            const int budget = ClientHeight() - FixedHeight();
            int t = ARow, used = RowHeights(ARow);
            while (t - 1 >= top && used + RowHeights(t - 1) + FGridLineWidth <= budget) {
                used += RowHeights(t - 1) + FGridLineWidth;
                --t;
            }
            top = std::max(top, t);
        }
    }
    if (!FOptions.testFlag(goRowSelect) && ACol >= FFixedCols && ACol < ColCount()) {
        if (ACol < left) {
            left = ACol;
        } else {
            const int budget = ClientWidth() - FixedWidth();
            int l = ACol, used = ColWidths(ACol);
            while (l - 1 >= left && used + ColWidths(l - 1) + FGridLineWidth <= budget) {
                used += ColWidths(l - 1) + FGridLineWidth;
                --l;
            }
            left = std::max(left, l);
        }
    }
    SetTopLeft(left, top);
}

// ---------------------------------------------------------------------------------------------
// Current cell and selection

void TCustomGrid::SetSelection(TGridRect v)
{
    const TGridCoord was = FCurrent;
    FAnchor = ClampedToCells({v.Left, v.Top});
    FCurrent = ClampedToCells({v.Right, v.Bottom});
    if (!FOptions.testFlag(goRangeSelect) && !(FAnchor == FCurrent))
        FAnchor = FCurrent = {v.Left, v.Top};
    Invalidate();
    if (!(FCurrent == was))
        emit currentCellChanged(FCurrent.X, FCurrent.Y);
}

void TCustomGrid::FocusCell(int ACol, int ARow, bool MoveAnchor)
{
    if (ColCount() <= FFixedCols || FRowCount <= FFixedRows)
        return;
    ACol = std::clamp(ACol, FFixedCols, ColCount() - 1);
    ARow = std::clamp(ARow, FFixedRows, FRowCount - 1);
    const bool moves = ACol != FCurrent.X || ARow != FCurrent.Y;
    if (moves && !SelectCell(ACol, ARow))
        return;
    if (moves && EditorMode())
        CommitEditorAndHide();
    FCurrent = {ACol, ARow};
    if (MoveAnchor || !FOptions.testFlag(goRangeSelect))
        FAnchor = FCurrent;
    ScrollToCell(ACol, ARow);
    Invalidate();
    if (moves)
        emit currentCellChanged(ACol, ARow);
    if (FOptions.testFlag(goAlwaysShowEditor) && FOptions.testFlag(goEditing))
        ShowEditor();
}

TGridRect TCustomGrid::Selection() const
{
    TGridRect r{std::min(FAnchor.X, FCurrent.X), std::min(FAnchor.Y, FCurrent.Y),
                std::max(FAnchor.X, FCurrent.X), std::max(FAnchor.Y, FCurrent.Y)};
    if (FOptions.testFlag(goRowSelect)) {
        r.Left = FFixedCols;
        r.Right = ColCount() - 1;
    }
    return r;
}

// ---------------------------------------------------------------------------------------------
// Painting

bool TCustomGrid::IsSelectedDraw(int c, int r) const
{
    return Selection().Contains(c, r);
}

void TCustomGrid::DrawLines(const AxisRun& cols, const AxisRun& rows)
{
    if (FGridLineWidth <= 0 || cols.Index.empty() || rows.Index.empty())
        return;
    TCanvas* cv = Canvas();
    const TColor fixedLine = clBlack;
    const TColor plainLine = ColorToRGB(Color()) == clSilver ? clGray : clSilver;
    const int fixedH = std::min(FixedHeight(), rows.End);
    const int fixedW = std::min(FixedWidth(), cols.End);
    auto bar = [cv](TColor color, int l, int t, int r, int b) {
        if (r <= l || b <= t)
            return;
        cv->Brush()->SetColor(color);
        cv->FillRect(l, t, r, b);
    };
    // Vertical lines: over the fixed rows by goFixedVertLine, below them by the column's kind.
    for (std::size_t i = 0; i < cols.Index.size(); ++i) {
        const int c = cols.Index[i];
        const int x = cols.Start[i] + ColWidths(c);
        const bool fixedCol = c < FFixedCols;
        if (FOptions.testFlag(goFixedVertLine))
            bar(fixedLine, x, 0, x + FGridLineWidth, fixedH);
        if (fixedCol ? FOptions.testFlag(goFixedVertLine) : FOptions.testFlag(goVertLine))
            bar(fixedCol ? fixedLine : plainLine, x, fixedH, x + FGridLineWidth, rows.End);
    }
    for (std::size_t i = 0; i < rows.Index.size(); ++i) {
        const int r = rows.Index[i];
        const int y = rows.Start[i] + RowHeights(r);
        const bool fixedRow = r < FFixedRows;
        if (FOptions.testFlag(goFixedHorzLine))
            bar(fixedLine, 0, y, fixedW, y + FGridLineWidth);
        if (fixedRow ? FOptions.testFlag(goFixedHorzLine) : FOptions.testFlag(goHorzLine))
            bar(fixedRow ? fixedLine : plainLine, fixedW, y, cols.End, y + FGridLineWidth);
    }
}

void TCustomGrid::Paint()
{
    TCanvas* cv = Canvas();
    cv->ResetClipRect();
    cv->Font()->Assign(*Font());
    cv->Pen()->SetColor(clBlack);
    cv->Pen()->SetWidth(1);
    cv->Pen()->SetStyle(psSolid);
    cv->Pen()->SetMode(pmCopy);
    cv->Brush()->SetColor(Color());
    cv->FillRect(0, 0, ClientWidth(), ClientHeight());

    const AxisRun cols = VisibleCols();
    const AxisRun rows = VisibleRows();
    DrawLines(cols, rows);

    const bool active = hasFocus() || (FEditorShown && FEditor && FEditor->hasFocus());
    const TGridRect sel = Selection();
    for (int pass = 0; pass < 2; ++pass) {
        const bool fixedPass = pass == 0;
        for (std::size_t ri = 0; ri < rows.Index.size(); ++ri) {
            const int r = rows.Index[ri];
            const int h = RowHeights(r);
            if (h <= 0)
                continue;
            for (std::size_t ci = 0; ci < cols.Index.size(); ++ci) {
                const int c = cols.Index[ci];
                const bool fixed = c < FFixedCols || r < FFixedRows;
                if (fixed != fixedPass)
                    continue;
                const int w = ColWidths(c);
                if (w <= 0)
                    continue;
                const QRect rect(cols.Start[ci], rows.Start[ri], w, h);
                TGridDrawState state;
                if (fixed) {
                    state.Include(gdFixed);
                } else {
                    const bool focusedCell = c == FCurrent.X && r == FCurrent.Y;
                    if (active && focusedCell)
                        state.Include(gdFocused);
                    if (sel.Contains(c, r))
                        state.Include(gdSelected);
                    if (FOptions.testFlag(goRowSelect) && r == FCurrent.Y)
                        state.Include(gdRowSelected);
                }
                if (FDefaultDrawing) {
                    const bool highlight = state.Contains(gdSelected)
                        && (!state.Contains(gdFocused) || FOptions.testFlag(goDrawFocusSelected)
                            || FOptions.testFlag(goRowSelect));
                    cv->Brush()->SetColor(fixed ? FFixedColor : highlight ? clHighlight : Color());
                    cv->Font()->SetColor(highlight ? clHighlightText : Font()->Color());
                    cv->FillRect(rect);
                }
                DrawCell(c, r, rect, state);
                if (FDefaultDrawing && state.Contains(gdFocused) && !FOptions.testFlag(goRowSelect)) {
                    // A dotted focus frame just inside the cell.
                    cv->Pen()->SetColor(clWindowText);
                    cv->Pen()->SetStyle(psDot);
                    cv->Brush()->SetStyle(bsClear);
                    cv->Rectangle(rect);
                    cv->Pen()->SetStyle(psSolid);
                    cv->Brush()->SetStyle(bsSolid);
                }
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Mouse

int TCustomGrid::ColSizingHit(int X, int Y) const
{
    if (Y < 0 || Y >= std::min(FixedHeight(), ClientHeight()))
        return -1;
    const AxisRun cols = VisibleCols();
    for (std::size_t i = cols.Index.size(); i-- > 0;) {
        const int border = cols.Start[i] + ColWidths(cols.Index[i]);
        if (X >= border - 3 && X <= border + FGridLineWidth + 1)
            return cols.Index[i];
    }
    return -1;
}

int TCustomGrid::RowSizingHit(int X, int Y) const
{
    if (X < 0 || X >= std::min(FixedWidth(), ClientWidth()))
        return -1;
    const AxisRun rows = VisibleRows();
    for (std::size_t i = rows.Index.size(); i-- > 0;) {
        const int border = rows.Start[i] + RowHeights(rows.Index[i]);
        if (Y >= border - 3 && Y <= border + FGridLineWidth + 1)
            return rows.Index[i];
    }
    return -1;
}

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && !Shift.Contains(ssDouble)) {
        const int sc = FOptions.testFlag(goColSizing) ? ColSizingHit(X, Y) : -1;
        const int sr = (sc < 0 && FOptions.testFlag(goRowSizing)) ? RowSizingHit(X, Y) : -1;
        if (sc >= 0) {
            FGridState = gsColSizing;
            FSizingIndex = sc;
            FSizingOrigin = X;
            FSizingStartSize = ColWidths(sc);
        } else if (sr >= 0) {
            FGridState = gsRowSizing;
            FSizingIndex = sr;
            FSizingOrigin = Y;
            FSizingStartSize = RowHeights(sr);
        } else {
            const TGridCoord cell = MouseCoord(X, Y);
            if (cell.X >= FFixedCols && cell.Y >= FFixedRows) {
                FClickOnCurrent = cell.X == FCurrent.X && cell.Y == FCurrent.Y;
                FocusCell(cell.X, cell.Y, !(Shift.Contains(ssShift) && FOptions.testFlag(goRangeSelect)));
                FGridState = gsSelecting;
            }
        }
    }
    TControlEvents::MouseDown(Button, Shift, X, Y);
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y)
{
    switch (FGridState) {
    case gsColSizing:
        SetColWidths(FSizingIndex, FSizingStartSize + X - FSizingOrigin);
        break;
    case gsRowSizing:
        SetRowHeights(FSizingIndex, FSizingStartSize + Y - FSizingOrigin);
        break;
    case gsSelecting: {
        TGridCoord cell = MouseCoord(X, Y);
        // Dragging past an edge moves on by one cell, which scrolls.
        if (Y >= ClientHeight())
            cell = {cell.X >= 0 ? cell.X : FCurrent.X, FCurrent.Y + 1};
        else if (Y < FixedHeight() && FTopLeft.Y > FFixedRows)
            cell = {cell.X >= 0 ? cell.X : FCurrent.X, FCurrent.Y - 1};
        if (X >= ClientWidth() && !FOptions.testFlag(goRowSelect))
            cell = {FCurrent.X + 1, cell.Y >= 0 ? cell.Y : FCurrent.Y};
        if (cell.X >= FFixedCols && cell.Y >= FFixedRows && cell.X < ColCount() && cell.Y < FRowCount
            && !(cell == FCurrent)) {
            FClickOnCurrent = false;
            FocusCell(cell.X, cell.Y, false);
        }
        break;
    }
    default: {
        const bool colEdge = FOptions.testFlag(goColSizing) && ColSizingHit(X, Y) >= 0;
        const bool rowEdge = !colEdge && FOptions.testFlag(goRowSizing) && RowSizingHit(X, Y) >= 0;
        if (colEdge)
            viewport()->setCursor(Qt::SplitHCursor);
        else if (rowEdge)
            viewport()->setCursor(Qt::SplitVCursor);
        else
            viewport()->unsetCursor();
    }
    }
    TControlEvents::MouseMove(Shift, X, Y);
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FinishMouseAction(X, Y);
    TControlEvents::MouseUp(Button, Shift, X, Y);
}

void TCustomGrid::FinishMouseAction(int X, int Y)
{
    const TGridState was = FGridState;
    FGridState = gsNormal;
    if (was == gsColSizing)
        ColWidthsChanged();
    else if (was == gsRowSizing)
        RowHeightsChanged();
    else if (was == gsSelecting && FClickOnCurrent && FOptions.testFlag(goEditing)) {
        const TGridCoord cell = MouseCoord(X, Y);
        if (cell == FCurrent)
            ShowEditor();
    }
    FClickOnCurrent = false;
}

bool TCustomGrid::DoMouseWheelDown(TShiftState Shift, QPoint MousePos)
{
    if (TControlEvents::DoMouseWheelDown(Shift, MousePos))
        return true;
    SetTopRow(FTopLeft.Y + 3);
    return true;
}

bool TCustomGrid::DoMouseWheelUp(TShiftState Shift, QPoint MousePos)
{
    if (TControlEvents::DoMouseWheelUp(Shift, MousePos))
        return true;
    SetTopRow(FTopLeft.Y - 3);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Keyboard

void TCustomGrid::KeyDown(WORD& Key, TShiftState Shift)
{
    TControlEvents::KeyDown(Key, Shift);
    if (Key == 0)
        return;
    const bool rowSelect = FOptions.testFlag(goRowSelect);
    const int page = std::max(1, VisibleRowCount());
    const int pageW = std::max(1, VisibleColCount());
    TGridCoord cur = FCurrent;
    int top = FTopLeft.Y, left = FTopLeft.X;
    bool moved = true;
    if (Shift.Contains(ssCtrl)) {
        switch (Key) {
        case VK_UP: --top; moved = false; break;
        case VK_DOWN: ++top; moved = false; break;
        case VK_LEFT: if (!rowSelect) { cur.X -= pageW; left -= pageW; } break;
        case VK_RIGHT: if (!rowSelect) { cur.X += pageW; left += pageW; } break;
        case VK_PRIOR: cur.Y = FTopLeft.Y; break;
        case VK_NEXT: cur.Y = FTopLeft.Y + page - 1; break;
        case VK_HOME: cur = {FFixedCols, FFixedRows}; break;
        case VK_END: cur = {ColCount() - 1, FRowCount - 1}; break;
        default: return;
        }
    } else {
        switch (Key) {
        case VK_UP: --cur.Y; break;
        case VK_DOWN: ++cur.Y; break;
        case VK_LEFT: if (rowSelect) --cur.Y; else --cur.X; break;
        case VK_RIGHT: if (rowSelect) ++cur.Y; else ++cur.X; break;
        case VK_NEXT: cur.Y += page; top += page; break;
        case VK_PRIOR: cur.Y -= page; top -= page; break;
        case VK_HOME: if (rowSelect) cur.Y = FFixedRows; else cur.X = FFixedCols; break;
        case VK_END: if (rowSelect) cur.Y = FRowCount - 1; else cur.X = ColCount() - 1; break;
        case VK_TAB:
            if (!FOptions.testFlag(goTabs))
                return;
            if (Shift.Contains(ssShift)) {
                if (--cur.X < FFixedCols) { cur.X = ColCount() - 1; --cur.Y; }
            } else if (++cur.X >= ColCount()) {
                cur.X = FFixedCols;
                ++cur.Y;
            }
            if (cur.Y < FFixedRows || cur.Y >= FRowCount) {
                UseKey();
                return;
            }
            break;
        case VK_F2:
            ShowEditor();
            UseKey();
            return;
        case VK_RETURN:
            if (FEnterFromEditor) {
                UseKey();   // it closed the editor; the handlers after this one see it
                return;
            }
            if (FOptions.testFlag(goEditing) && !FEditorShown) {
                ShowEditor();
                UseKey();
            }
            return;
        default: return;
        }
    }
    UseKey();
    if (top != FTopLeft.Y || left != FTopLeft.X)
        SetTopLeft(left, top);
    if (moved && !(cur == FCurrent)) {
        const bool extend = Shift.Contains(ssShift) && FOptions.testFlag(goRangeSelect) && Key != VK_TAB;
        FocusCell(cur.X, cur.Y, !extend);
    }
}

void TCustomGrid::KeyPress(QChar& Key)
{
    TControlEvents::KeyPress(Key);
    if (Key.isNull() || !FOptions.testFlag(goEditing) || FEditorShown)
        return;
    if (Key.isPrint() && Key != QChar(9) && Key != QChar(13) && Key != QChar(27)) {
        ShowEditorChar(Key);
        UseKey();
    }
}

bool TCustomGrid::focusNextPrevChild(bool next)
{
    // With goTabs the Tab key moves between cells instead of leaving the grid.
    if (FOptions.testFlag(goTabs))
        return false;
    return QAbstractScrollArea::focusNextPrevChild(next);
}

// ---------------------------------------------------------------------------------------------
// Qt plumbing

void TCustomGrid::Resized()
{
    ClampTopLeft();
    UpdateScrollBars();
    PlaceEditor();
    Invalidate();
}

// ---------------------------------------------------------------------------------------------
// TCustomDrawGrid

TCustomDrawGrid::TCustomDrawGrid(QWidget* AOwner) : TCustomGrid(AOwner) {}

void TCustomDrawGrid::DrawCell(int ACol, int ARow, const QRect& ARect, TGridDrawState AState)
{
    Notify(this, OnDrawCell, &TCustomDrawGrid::drawCell, ACol, ARow, ARect, AState);
}

bool TCustomDrawGrid::SelectCell(int ACol, int ARow)
{
    bool can = true;
    if (OnSelectCell)
        OnSelectCell(this, ACol, ARow, can);
    return can;
}

void TCustomDrawGrid::TopLeftChanged()
{
    Notify(this, OnTopLeftChanged, &TCustomDrawGrid::topLeftChanged);
}

QString TCustomDrawGrid::GetEditText(int ACol, int ARow)
{
    QString v;
    if (OnGetEditText)
        OnGetEditText(this, ACol, ARow, v);
    return v;
}

void TCustomDrawGrid::SetEditText(int ACol, int ARow, const QString& Value)
{
    Notify(this, OnSetEditText, &TCustomDrawGrid::editTextSet, ACol, ARow, Value);
}

void TCustomDrawGrid::ColWidthsChanged()
{
    Notify(this, OnColumnSized, &TCustomDrawGrid::columnSized);
}

// ---------------------------------------------------------------------------------------------
// Accessible table: the data cells, counted from the first non-fixed row and column.

QRect TCustomGrid::AccessibleCellRect(int Row, int Column) const
{
    const QRect r = CellRect(Column + FFixedCols, Row + FFixedRows);
    return r.isEmpty() ? r : r.translated(viewport()->pos());
}

bool TCustomGrid::AccessibleCellAt(QPoint Pos, int& Row, int& Column) const
{
    const TGridCoord cell = MouseCoord(Pos.x() - viewport()->x(), Pos.y() - viewport()->y());
    Row = cell.Y - FFixedRows;
    Column = cell.X - FFixedCols;
    if (cell.X < FFixedCols || cell.Y < FFixedRows) {
        Row = Column = -1;
        return false;
    }
    return true;
}

void TCustomGrid::AccessibleCurrentCell(int& Row, int& Column) const
{
    Row = FCurrent.Y - FFixedRows;
    Column = FCurrent.X - FFixedCols;
    if (Row < 0 || Column < 0 || Row >= AccessibleRowCount() || Column >= AccessibleColumnCount())
        Row = Column = -1;
}

bool TCustomGrid::AccessibleRowSelected(int Row) const
{
    const TGridRect sel = Selection();
    return Row + FFixedRows >= sel.Top && Row + FFixedRows <= sel.Bottom;
}

} // namespace qor
