// TReportListView: mouse and keyboard, the row selection model, check toggling, in-place
// editing, header-click sorting and filtering.
#include "QOR_rlview.h"
#include "QOR_rlfilter.h"

#include <QApplication>
#include <QMouseEvent>

namespace qor {

namespace {

int RightOf(const QRect& r) { return r.left() + r.width(); }

// Attribute changes are no content changes: keep the array's change notification quiet.
class QuietArray {
public:
    explicit QuietArray(TStringArray* a) : FArray(a), FOld(a->NotifyChange()) { a->SetNotifyChange(false); }
    ~QuietArray() { FArray->SetNotifyChange(FOld); }
private:
    TStringArray* FArray;
    bool FOld;
};

} // namespace

// ---------------------------------------------------------------------------------------------
// Mouse

void TReportListView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FLastMousePosX = X;
    FLastMousePosY = Y;
    TCustomDrawGrid::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || X <= 0 || X >= GridWidth() || Y <= 0 || Y >= GridHeight())
        return;
    const TGridCoord cell = MouseCoord(X, Y);
    if (cell.X < 0)
        return;
    const int d = DataCol(cell.X);
    const QRect rc = CellRect(cell.X, cell.Y);
    if (cell.Y == ColumnHeaderRow()) {
        // Clicks near a border are left to column sizing.
        if (FSortEnabled && X - rc.left() > 4 && RightOf(rc) - X > 4)
            HeaderClickSort(d);
        return;
    }
    if (cell.Y < FixedRows())
        return;
    const int r = DataRowOfGridRow(cell.Y);
    if (r < 1 || r > NrOfShownRows())
        return;
    PaintGuard guard(this);
    SetOptions(Options().setFlag(goEditing, ColumnEditable(d) && !RowDisabled(r)));
    if (X - rc.left() < 18 && CanToggleCheck(d, r))
        ToggleCheck(d, r);
    ApplyClickSelection(Shift);
}

void TReportListView::HeaderClickSort(int d)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TStringArray* s = FRLData->Strings();
    const int remembered = s->GetSortOrder(DataRowOfGridRow(Selection().Top));
    FRLData->SetSortToggle(!FRLData->SortToggle());
    Sort(d, SecondarySortColumn(), FRLData->SortToggle());
    if (remembered > 0) {
        for (int i = 1; i <= NrOfRows(); ++i) {
            if (s->GetSortOrder(i) == remembered) {
                const TGridRect sel = Selection();
                const int g = GridRowOfDataRow(i);
                SetSelection(TGridRect{sel.Left, g, sel.Right, g});
                break;
            }
        }
    }
    QApplication::restoreOverrideCursor();
}

bool TReportListView::CanToggleCheck(int d, int r) const
{
    return FRLData->ColumnCheckMode(d) != cmNone && !FROCheckMarks && !RowDisabled(r)
        && (FRLData->RawElem(d, r).length() > 1 || FShowEmptyCBx);
}

void TReportListView::ToggleCheck(int d, int r)
{
    bool state = !FRLData->ElemChecked(d, r);
    if (OnBeforeCheckedChange)
        OnBeforeCheckedChange(this, state, d, r);
    if (FRLData->ColumnCheckMode(d) == cmRadio)
        FRLData->SetElemChecked(d, r, true);   // a radio column always ends with this cell chosen
    else
        FRLData->SetElemChecked(d, r, state);
    bool before = !state;
    if (OnCheckedChange)
        OnCheckedChange(this, before, d, r);
    emit checkedChanged(d, r);
}

void TReportListView::ApplyClickSelection(TShiftState Shift)
{
    const int r = DataRowOfGridRow(Selection().Top);
    if (FRowSelectMode == 0 || r < 1 || r > NrOfShownRows())
        return;
    {
        QuietArray quiet(FRLData->Strings());
        if (FRowSelectMode == 1) {
            SetAllRowBits(rlaSelected, false);
            SetRowBit(r, rlaSelected, true);
        } else if (Shift.Contains(ssShift)) {
            // The range takes the anchor's selection state; the disabled bits stay as they are.
            // An anchor the filter has hidden since still gives the state, but the range ends
            // at the last shown row.
            const bool on = FRLData->RowAttrib(FSelectAnchor) & rlaSelected;
            const int lo = std::min(r, FSelectAnchor), hi = std::max(r, FSelectAnchor);
            for (int i = std::max(1, lo); i <= std::min(hi, NrOfShownRows()); ++i)
                SetRowBit(i, rlaSelected, on);
        } else {
            FSelectAnchor = r;
            if (Shift.Contains(ssCtrl) || !FCtrlForMultiSel) {
                SetRowBit(r, rlaSelected, !(FRLData->RowAttrib(r) & rlaSelected));
            } else {
                SetAllRowBits(rlaSelected, false);
                SetRowBit(r, rlaSelected, true);
            }
        }
    }
    ChangedSelection();
}

void TReportListView::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const bool sized = GridState() == gsColSizing;
    TCustomDrawGrid::MouseUp(Button, Shift, X, Y);
    if (sized)
        ChangedSetup();   // a column width set by the user is a layout change like ColWidths

    if (FRowSelectMode == 2 && (X > GridWidth() || (Y > GridHeight() && Button == mbLeft))) {
        {
            QuietArray quiet(FRLData->Strings());
            SetAllRowBits(rlaSelected, false);
        }
        ChangedSelection();
        Invalidate();
    }
}

void TReportListView::MouseMove(TShiftState Shift, int X, int Y)
{
    FLastMousePosX = X;
    FLastMousePosY = Y;
    TCustomDrawGrid::MouseMove(Shift, X, Y);
}

// A double click arrives without a move first; its position is the last mouse position.
void TReportListView::mouseDoubleClickEvent(QMouseEvent* e)
{
    const QPoint p = MapEventPos(e->position().toPoint());
    FLastMousePosX = p.x();
    FLastMousePosY = p.y();
    TCustomDrawGrid::mouseDoubleClickEvent(e);
}

void TReportListView::DblClick()
{
    if (FLastMousePosY < GridHeight() && FColHdVis) {
        const TGridCoord cell = MouseCoord(FLastMousePosX, FLastMousePosY);
        if (cell.X >= 0 && cell.Y == ColumnHeaderRow()) {
            const QRect rc = CellRect(cell.X, cell.Y);
            const int X = FLastMousePosX;
            if (X - rc.left() < 5 || RightOf(rc) - X <= 4) {
                // Size the column left of the border, skipping hidden (zero-width) columns.
                int c = cell.X + (X >= (rc.left() + RightOf(rc)) / 2 ? 1 : 0);
                while (c > 1 && TCustomGrid::ColWidths(c - 1) < 1)
                    --c;
                if (c >= 1)
                    AutoColWidth(DataCol(c - 1), true, 0);
            }
            return;   // double clicks on the column headers are the view's
        }
    }
    TCustomDrawGrid::DblClick();
}

bool TReportListView::DoMouseWheelDown(TShiftState Shift, QPoint MousePos)
{
    return TControlEvents::DoMouseWheelDown(Shift, MousePos);
}

bool TReportListView::DoMouseWheelUp(TShiftState Shift, QPoint MousePos)
{
    return TControlEvents::DoMouseWheelUp(Shift, MousePos);
}

// ---------------------------------------------------------------------------------------------
// Keyboard

void TReportListView::KeyDown(WORD& Key, TShiftState Shift)
{
    TCustomDrawGrid::KeyDown(Key, Shift);
    if (Key < VK_PRIOR || Key > VK_DOWN)
        return;
    {
        QuietArray quiet(FRLData->Strings());
        SetAllRowBits(rlaSelected, false);
        const int r = DataRowOfGridRow(Selection().Top);
        if (r >= 1 && r <= NrOfShownRows())
            SetRowBit(r, rlaSelected, true);
    }
    Invalidate();
    CursorKeyAction(Key);
    ChangedSelection();
}

void TReportListView::KeyPress(QChar& Key)
{
    TCustomDrawGrid::KeyPress(Key);
    if (FAutoAdvance && (Key == QChar(13) || Key.isNull())) {
        WORD down = VK_DOWN;
        KeyDown(down, TShiftState{});
    }
}

void TReportListView::CursorKeyAction(WORD Key)
{
    Notify(this, OnCursorKeyAction, &TReportListView::cursorKeyAction, int(Key));
}

// ---------------------------------------------------------------------------------------------
// In-place editing (grid coordinates in, data coordinates to the events)

bool TReportListView::SelectCell(int ACol, int ARow)
{
    // The keyboard reaches cells here, the mouse in MouseDown: both ask the same questions.
    const bool editable = ARow >= FixedRows() && ColumnEditable(DataCol(ACol)) && !RowDisabled(DataRowOfGridRow(ARow));
    SetOptions(Options().setFlag(goEditing, editable));
    bool can = true;
    if (OnSelectCell)
        OnSelectCell(this, ACol, ARow, can);
    return can;
}

QString TReportListView::GetEditText(int ACol, int ARow)
{
    const int d = DataCol(ACol), r = DataRowOfGridRow(ARow);
    QString v = FRLData->RawElem(d, r);
    if (FRLData->ColumnCheckMode(d) != cmNone)
        v = v.mid(1);
    if (OnGetEditText)
        OnGetEditText(this, ACol, r, v);
    return v;
}

void TReportListView::SetEditText(int ACol, int ARow, const QString& Value)
{
    const int d = DataCol(ACol), r = DataRowOfGridRow(ARow);
    if (FRLData->ColumnCheckMode(d) != cmNone) {
        const QString raw = FRLData->RawElem(d, r);
        const bool checked = !raw.isEmpty() && raw[0] != QLatin1Char(' ');
        FRLData->SetRawElem(d, r, QString(checked ? QLatin1Char('X') : QLatin1Char(' ')) + Value);
    } else {
        FRLData->SetRawElem(d, r, Value);
    }
    if (OnSetEditText)
        OnSetEditText(this, ACol, r, Value);
}

// ---------------------------------------------------------------------------------------------
// Selection model

void TReportListView::SetRowBit(int r, std::uint8_t bit, bool on)
{
    const std::uint8_t a = FRLData->RowAttrib(r);
    const std::uint8_t b = on ? std::uint8_t(a | bit) : std::uint8_t(a & ~bit);
    if (a != b)
        FRLData->SetRowAttrib(r, b);
    if (on && (bit & rlaSelected) && FSelHintValid) {
        FSelHint.push_back(r);
        if (FSelHint.size() > std::size_t(NrOfRows()))
            FSelHintValid = false;
    }
}

// Clearing the selection reaches every row (a row the filter hides keeps no selection the user
// cannot see); anything else reaches the shown rows only.
void TReportListView::SetAllRowBits(std::uint8_t bit, bool on)
{
    const bool deselect = bit == rlaSelected && !on;
    if (deselect && FSelHintValid) {
        for (int r : FSelHint)
            SetRowBit(r, rlaSelected, false);
        FSelHint.clear();
        return;
    }
    const int last = deselect ? NrOfRows() : NrOfShownRows();
    for (int r = 1; r <= last; ++r)
        SetRowBit(r, bit, on);
    if (bit & rlaSelected) {
        FSelHint.clear();
        FSelHintValid = deselect;
    }
}

void TReportListView::SetRowSelectMode(int v)
{
    FRowSelectMode = v;
    {
        QuietArray quiet(FRLData->Strings());
        if (v != 2)
            SetAllRowBits(rlaSelected, false);
    }
    if (v == 0)
        SetSelection(TGridRect{NrOfColumns() + 1, NrOfRows() + 1, NrOfColumns() + 1, NrOfRows() + 1});
    Invalidate();
    ChangedSelection();
}

bool TReportListView::RowSelected(int r) const
{
    return r >= 1 && r <= NrOfRows() && (FRLData->RowAttrib(r) & rlaSelected);
}

void TReportListView::SetRowSelected(int r, bool v)
{
    if (r < 1 || r > NrOfRows())
        return;
    {
        QuietArray quiet(FRLData->Strings());
        SetRowBit(r, rlaSelected, v);
    }
    ChangedSelection();
    Invalidate();
}

bool TReportListView::RowEnabled(int r) const
{
    return r >= 1 && r <= NrOfRows() && !(FRLData->RowAttrib(r) & rlaDisabled);
}

void TReportListView::SetRowEnabled(int r, bool v)
{
    if (r < 1 || r > NrOfRows())
        return;
    {
        QuietArray quiet(FRLData->Strings());
        SetRowBit(r, rlaDisabled, !v);
    }
    ChangedSelection();
    Invalidate();
}

bool TReportListView::ColumnSelected(int c) const
{
    return c >= 1 && c <= NrOfColumns() && (FRLData->ColAttrib(c) & rlaSelected);
}

void TReportListView::SetColumnSelected(int c, bool v)
{
    if (c < 1 || c > NrOfColumns())
        return;
    {
        QuietArray quiet(FRLData->Strings());
        const std::uint8_t a = FRLData->ColAttrib(c);
        FRLData->SetColAttrib(c, v ? std::uint8_t(a | rlaSelected) : std::uint8_t(a & ~rlaSelected));
    }
    ChangedSelection();
    Invalidate();
}

void TReportListView::SelectRow(int RowNr)
{
    {
        QuietArray quiet(FRLData->Strings());
        SetAllRowBits(rlaSelected, false);
        if (RowNr >= 1 && RowNr <= NrOfShownRows())
            SetRowBit(RowNr, rlaSelected, true);
    }
    Invalidate();
    ChangedSelection();
}

void TReportListView::SelectAllRows()
{
    {
        QuietArray quiet(FRLData->Strings());
        SetAllRowBits(rlaSelected, true);
    }
    Invalidate();
    ChangedSelection();
}

void TReportListView::DeselectAllRows()
{
    {
        QuietArray quiet(FRLData->Strings());
        SetAllRowBits(rlaSelected, false);
    }
    Invalidate();
    ChangedSelection();
}

void TReportListView::SelectColumn(int ColNr)
{
    {
        QuietArray quiet(FRLData->Strings());
        for (int c = 1; c <= NrOfColumns(); ++c) {
            const std::uint8_t a = FRLData->ColAttrib(c);
            FRLData->SetColAttrib(c, c == ColNr ? std::uint8_t(a | rlaSelected) : std::uint8_t(a & ~rlaSelected));
        }
    }
    Invalidate();
    ChangedSelection();
}

void TReportListView::SelectAllColumns()
{
    {
        QuietArray quiet(FRLData->Strings());
        for (int c = 1; c <= NrOfColumns(); ++c)
            FRLData->SetColAttrib(c, std::uint8_t(FRLData->ColAttrib(c) | rlaSelected));
    }
    Invalidate();
    ChangedSelection();
}

void TReportListView::DeselectAllColumns()
{
    {
        QuietArray quiet(FRLData->Strings());
        for (int c = 1; c <= NrOfColumns(); ++c)
            FRLData->SetColAttrib(c, std::uint8_t(FRLData->ColAttrib(c) & ~rlaSelected));
    }
    Invalidate();
    ChangedSelection();
}

void TReportListView::EnableAllRows()
{
    {
        QuietArray quiet(FRLData->Strings());
        SetAllRowBits(rlaDisabled, false);
    }
    Invalidate();
    ChangedSelection();
}

void TReportListView::DisableAllRows()
{
    {
        QuietArray quiet(FRLData->Strings());
        SetAllRowBits(rlaDisabled, true);
    }
    Invalidate();
    ChangedSelection();
}

int TReportListView::FirstSelectedRow() const
{
    for (int r = 1; r <= NrOfShownRows(); ++r) {
        const std::uint8_t a = FRLData->RowAttrib(r);
        if (a & rlaSelected)
            return (a & rlaDisabled) ? 0 : r;
    }
    return 0;
}

int TReportListView::FirstSelectedColumn() const
{
    for (int c = 1; c <= NrOfColumns(); ++c)
        if (FRLData->ColAttrib(c) & rlaSelected)
            return c;
    return 0;
}

int TReportListView::NumSelectedRows() const
{
    int n = 0;
    for (int r = 1; r <= NrOfShownRows(); ++r)
        n += (FRLData->RowAttrib(r) & rlaSelected) ? 1 : 0;
    return n;
}

int TReportListView::NumSelectedColumns() const
{
    int n = 0;
    for (int c = 1; c <= NrOfColumns(); ++c)
        n += (FRLData->ColAttrib(c) & rlaSelected) ? 1 : 0;
    return n;
}

int TReportListView::NumEnabledRows() const
{
    int n = 0;
    for (int r = 1; r <= NrOfShownRows(); ++r)
        n += (FRLData->RowAttrib(r) & rlaDisabled) ? 0 : 1;
    return n;
}

TIntArray TReportListView::GetSelectedRows() const
{
    TIntArray rows;
    for (int r = 1; r <= NrOfShownRows(); ++r)
        if (FRLData->RowAttrib(r) & rlaSelected)
            rows.append(r);
    return rows;
}

void TReportListView::SetSelectedRows(const TIntArray& SelList)
{
    {
        QuietArray quiet(FRLData->Strings());
        SetAllRowBits(rlaSelected, false);
        for (int r : SelList) {
            if (r < 1 || r > NrOfShownRows())
                continue;
            TCustomGrid::SetRow(GridRowOfDataRow(r));
            SetRowBit(r, rlaSelected, true);
        }
    }
    Invalidate();
    ChangedSelection();
}

void TReportListView::CenterScrollAndSelect(int Row)
{
    SelectRow(Row);
    const int v = VisibleRowCount();
    const int n = NrOfShownRows();
    if (Filtered() && Row > n)
        return;   // a hidden row is not brought into view
    const int top = Row > n - v / 2 ? n - v + 1 : Row - v / 2;
    SetTopRow(std::max(1, top));
    const int g = GridRowOfDataRow(Row);
    SetSelection(TGridRect{FixedCols(), g, ColCount() - 1, g});
}

TGridCoord TReportListView::MouseCell(int X, int Y) const
{
    const TGridCoord cell = MouseCoord(X, Y);
    if (cell.X < 0 || X >= GridWidth() || Y >= GridHeight())
        return TGridCoord{0, 0};
    TGridCoord res{cell.X + 1, 0};
    if (cell.Y >= FixedRows())
        res.Y = DataRowOfGridRow(cell.Y);
    else if (cell.Y == ColumnHeaderRow())
        res.Y = -1;
    else
        res.Y = -2;
    return res;
}

// ---------------------------------------------------------------------------------------------
// Sorting and filtering

void TReportListView::Sort(int PrimCol, int SecCol, bool Ascending)
{
    Sort(PrimCol, SecCol, Ascending, FRLData->LastSortOrderSec());
}

void TReportListView::Sort(int PrimCol, int SecCol, bool AscendPrim, bool AscendSec)
{
    HideEditor();
    const SortWatch watch(this);
    {
        PaintGuard guard(this);
        FRLData->Sort(PrimCol, SecCol, AscendPrim, AscendSec);
        FSecSortColumn = -2;
        ReapplyFilterOrder();
    }
    Invalidate();
}

void TReportListView::UnSort()
{
    HideEditor();
    const SortWatch watch(this);
    {
        PaintGuard guard(this);
        FRLData->UnSort();
        ReapplyFilterOrder();
    }
    Invalidate();
}

void TReportListView::ApplyDisplayOrder(const std::vector<int>& physicalOrder)
{
    FSelHintValid = false;
    TStringArray* s = FRLData->Strings();
    QuietArray quiet(s);
    for (int i = 1; i <= int(physicalOrder.size()); ++i)
        if (s->GetSortOrder(i) != physicalOrder[std::size_t(i - 1)])
            s->SetSortOrder(i, physicalOrder[std::size_t(i - 1)]);
}

void TReportListView::ReapplyFilterOrder()
{
    if (FFilterCount < 0)
        return;
    TStringArray* s = FRLData->Strings();
    const int n = NrOfRows();
    std::vector<int> order;
    order.reserve(std::size_t(n));
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 1; i <= n; ++i) {
            const int p = s->GetSortOrder(i);
            const bool match = p >= 0 && std::size_t(p) < FMatchPhys.size() && FMatchPhys[std::size_t(p)];
            if (match == (pass == 0))
                order.push_back(p);
        }
    int shown = 0;
    for (int p : order) {
        if (!(std::size_t(p) < FMatchPhys.size() && FMatchPhys[std::size_t(p)]))
            break;
        ++shown;
    }
    FFilterCount = shown;
    ApplyDisplayOrder(order);
}

void TReportListView::EndFilter()
{
    if (FFilterCount < 0)
        return;
    FFilterCount = -1;
    FMatchPhys.clear();
}

void TReportListView::SortEnabledState(int SortColumn1, int SortColumn2, bool Ascending)
{
    HideEditor();
    const SortWatch watch(this);
    {
        PaintGuard guard(this);
        TStringArray* s = FRLData->Strings();
        const int n = NrOfRows();
        std::vector<int> disabledBefore;
        for (int i = 1; i <= n; ++i)
            if (FRLData->RowAttrib(i) & rlaDisabled)
                disabledBefore.push_back(s->GetSortOrder(i));
        FRLData->Sort(SortColumn1, SortColumn2, Ascending, true);
        FSecSortColumn = -2;
        std::vector<int> order;
        order.reserve(std::size_t(n));
        for (int i = 1; i <= n; ++i)
            if (!(FRLData->RowAttrib(i) & rlaDisabled))
                order.push_back(s->GetSortOrder(i));
        order.insert(order.end(), disabledBefore.begin(), disabledBefore.end());
        ApplyDisplayOrder(order);
        ReapplyFilterOrder();
        s->Changed();
    }
    Invalidate();
}

void TReportListView::FilterAndSort(const QString& FilterExp, const QVector<int>& FilterColumns, bool IgnoreCase,
                                    TFilterMode FilterMode, int SortColumn, bool Ascending)
{
    HideEditor();
    const SortWatch watch(this);
    // Parse first: a malformed expression changes nothing.
    std::optional<TRowFilter> matcher;
    if (!FilterExp.isEmpty()) {
        QString why;
        matcher = TRowFilter::Compile(FilterExp, IgnoreCase, FilterMode, why);
        if (!matcher)
            throw EQORRepListError(QStringLiteral("Invalid filter expression: ") + why);
    }
    QVector<int> cols;
    for (int c : FilterColumns)
        if (c >= 1 && c <= NrOfColumns())
            cols.append(c);
    if (cols.isEmpty())
        for (int c = 1; c <= NrOfColumns(); ++c)
            cols.append(c);
    std::vector<bool> checkCol(cols.size());
    for (int i = 0; i < cols.size(); ++i)
        checkCol[std::size_t(i)] = FRLData->ColumnCheckMode(cols[i]) != cmNone;

    {
        PaintGuard guard(this);
        EndFilter();
        if (SortColumn >= 1 && SortColumn <= NrOfColumns()) {
            FRLData->Sort(SortColumn, -1, Ascending, true);
            FSecSortColumn = -2;
        }
        if (matcher) {
            TStringArray* s = FRLData->Strings();
            const int n = NrOfRows();
            FMatchPhys.assign(std::size_t(n) + 1, 0);
            const auto matchesPhysical = [&](int phys) {
                return matcher->Matches(int(cols.size()), [&](int k) {
                    QStringView v = s->GetPhysicalStringView(cols[k], phys);
                    return checkCol[std::size_t(k)] ? v.mid(std::min<qsizetype>(1, v.size())) : v;
                });
            };
            if (OnBeforeFilter) {
                // The handler sees the rows in their shown order.
                for (int i = 1; i <= n; ++i) {
                    bool found = true;
                    TLogicOp op = loAND;
                    OnBeforeFilter(this, i, found, op);
                    const int phys = s->GetSortOrder(i);
                    FMatchPhys[std::size_t(phys)] = ApplyLogicOp(matchesPhysical(phys), found, op);
                }
            } else {
                // Physical order reads the cell storage in sequence, however the rows are sorted.
                for (int phys = 1; phys <= n; ++phys)
                    FMatchPhys[std::size_t(phys)] = matchesPhysical(phys);
            }
            FFilterCount = 0;
            ReapplyFilterOrder();
        }
        DeriveRows();
        TCustomGrid::SetTopRow(CountHeadRows());
        FRLData->Strings()->Changed();
    }
    Invalidate();
    ChangedSetup();
}

} // namespace qor
