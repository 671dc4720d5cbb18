// TReportListView: construction, properties, the mapping between grid and data, structural
// operations, column order and widths, Assign, files.
#include "QOR_rlview.h"
#include "QOR_WidgetFactory.h"

#include <QFontMetricsF>
#include <QHash>
#include <QMetaMethod>
#include <QResizeEvent>
#include <map>
#include <limits>
#include <new>

namespace qor {

namespace {

constexpr const char* HeapTail = "\": not enough memory on heap";

QString MemoryMessage(const QObject* o, const char* tail)
{
    return QStringLiteral("Component \"") + o->objectName() + QString::fromLatin1(tail);
}

// Runs a step that allocates. Running out of memory there, in the view or in its data and cell
// array (which report it as their own errors), is the view's failure, named after the view.
template <typename Step>
void Allocating(const QObject* view, const char* tail, Step step)
{
    try {
        step();
    } catch (const std::bad_alloc&) {
        throw EQORRepListError(MemoryMessage(view, tail));
    } catch (const EQORRLDataError&) {
        throw EQORRepListError(MemoryMessage(view, tail));
    } catch (const EQORDStructError&) {
        throw EQORRepListError(MemoryMessage(view, tail));
    }
}

} // namespace

QOR_REGISTER_WIDGET(qor::TReportListView);

TReportListView::TReportListView(QWidget* AOwner) : TCustomDrawGrid(AOwner)
{
    FSuppressPaint = true;
    SetDefaultDrawing(false);
    SetFixedCols(0);
    SetFixedRows(1);
    Allocating(this, "\": failed to initialize table editor (out of memory)", [&] {
        FOwnData = std::make_unique<TRLData>(nullptr);
        FRLData = FOwnData.get();
        FRLData->SetNrOfColumns(ColCount());
        FRLData->SetNrOfRows(RowCount() - 1);
        ResetColumnArrays();
    });
    BindData();
    SetOptions(goFixedVertLine | goFixedHorzLine | goColSizing | goRowSelect | goThumbTracking);
    DeriveRows();
    TCustomGrid::SetTopRow(CountHeadRows());
    // Qt has no separate window-handle step: the view paints as soon as it is built.
    FSuppressPaint = false;
}

TReportListView::~TReportListView()
{
    // The data's hooks point at this view; cut them before the members go.
    UnbindData();
}

void TReportListView::UnbindData()
{
    QObject::disconnect(FForeignGone);
    if (!FRLData)
        return;
    if (TStringArray* s = FRLData->Strings()) {
        s->OnChange = nullptr;
        s->OnPercentDone = nullptr;
    }
    FRLData->OnPercentDone = nullptr;
    FRLData->OnBeforeSortExchange = nullptr;
    FRLData->OnBeforeHTMLExport = nullptr;
}

void TReportListView::SetData(TRLData* AData)
{
    TRLData* shown = AData ? AData : FOwnData.get();
    if (shown == FRLData)
        return;
    HideEditor();
    UnbindData();
    FRLData = shown;
    if (shown != FOwnData.get())
        FForeignGone = connect(shown, &QObject::destroyed, this, [this] { FRLData = nullptr; SetData(nullptr); });
    BindData();
    SetSelection(TGridRect{0, 0, 0, 0});
    SyncWithData();
}

void TReportListView::FollowForeignData()
{
    if (std::size_t(std::max(0, NrOfColumns())) != FColOrder.size())
        ColumnsFollowData();
    const int hr = CountHeadRows();
    if (RowCount() != std::max(hr + NrOfShownRows(), hr + 1))
        RowsChanged();
}

void TReportListView::BindData()
{
    TStringArray* s = FRLData->Strings();
    s->OnChange = [this](QObject*) { StringsHasChanged(); };
    // Progress and exchanges go on to the view's events and signals, and are heard while those are.
    const THookForwarder<int> percent{
        [this](QObject*, int p) { Notify(this, OnPercentDone, &TReportListView::percentDone, p); },
        [this] { return HookHeard(OnPercentDone) || isSignalConnected(QMetaMethod::fromSignal(&TReportListView::percentDone)); }};
    s->OnPercentDone = percent;
    FRLData->OnPercentDone = percent;
    FRLData->OnBeforeSortExchange = THookForwarder<int, int>{
        [this](QObject*, int r1, int r2) { Notify(this, OnBeforeSortExchange, &TReportListView::beforeSortExchange, r1, r2); },
        [this] {
            return HookHeard(OnBeforeSortExchange)
                || isSignalConnected(QMetaMethod::fromSignal(&TReportListView::beforeSortExchange));
        }};
    FRLData->OnBeforeHTMLExport = [this](QObject*, QString& t, int c, int r) {
        if (OnBeforeHTMLExport)
            OnBeforeHTMLExport(this, t, c, r);
    };
}

void TReportListView::StringsHasChanged()
{
    FSelHintValid = false;
    if (FRLData != FOwnData.get())
        FollowForeignData();
    Changed();
    if (!FSuppressPaint)
        Invalidate();
}

void TReportListView::Changed()
{
    Notify(this, OnChange, &TReportListView::changed);
}

void TReportListView::ChangedSetup()
{
    AccessibleTableChanged();
    Notify(this, OnChangeSetup, &TReportListView::changeSetup);
}

void TReportListView::ChangedSelection()
{
    // A reader hears of the row at the cursor; the rest of a bulk change as one event.
    int row = -1, column = -1;
    AccessibleCurrentCell(row, column);
    AccessibleRowSelectionChanged(row);
    Notify(this, OnSelectedChange, &TReportListView::selectedChanged);
}

void TReportListView::SetSuppressPaint(bool v)
{
    FSuppressPaint = v;
    if (!v)
        Invalidate();
}

void TReportListView::SetColorSetup(TColor& field, TColor v)
{
    field = v;
    Invalidate();
    ChangedSetup();
}

// ---------------------------------------------------------------------------------------------
// Grid <-> data

int TReportListView::DataCol(int gridCol) const
{
    if (gridCol < 0 || gridCol >= int(FColOrder.size()))
        return 0;
    return FColOrder[std::size_t(gridCol)] + 1;
}

void TReportListView::DeriveRows()
{
    const int hr = CountHeadRows();
    const int rows = std::max(hr + NrOfShownRows(), hr + 1);
    if (rows > RowCount()) {
        SetRowCount(rows);
        SetFixedRows(hr);
    } else {
        SetFixedRows(hr);
        SetRowCount(rows);
    }
    SetHeaderHeights();
    AccessibleTableChanged();
}

void TReportListView::SetHeaderHeights()
{
    const int drh = TCustomGrid::DefaultRowHeight();
    SetRowHeights(0, FComHdVis ? FComHdHgt : FColHdVis ? FColHdHgt : drh);
    // Row 1 is the column header row when both headers show, else a data row.
    if (RowCount() >= 2)
        SetRowHeights(1, (FComHdVis && FColHdVis) ? FColHdHgt : drh);
}

void TReportListView::ResetColumnArrays()
{
    const auto n = std::size_t(std::max(0, NrOfColumns()));
    FColAlignment.assign(n, taLeftJustify);
    FColumnEditable.assign(n, false);
    FColumnIsPwd.assign(n, false);
    FColOrder.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        FColOrder[i] = int(i);
}

void TReportListView::ColumnsFollowData()
{
    const auto n = std::size_t(std::max(0, NrOfColumns()));
    if (FColOrder.size() == n && FColAlignment.size() == n && FColumnEditable.size() == n && FColumnIsPwd.size() == n)
        return;
    FColAlignment.resize(n, taLeftJustify);
    FColumnEditable.resize(n, false);
    FColumnIsPwd.resize(n, false);
    // Display columns keep what they show while it still exists; the others show their own.
    const std::size_t kept = std::min(FColOrder.size(), n);
    FColOrder.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        if (i >= kept || FColOrder[i] < 0 || std::size_t(FColOrder[i]) >= n)
            FColOrder[i] = int(i);
    ApplyColCount(int(n));
}

void TReportListView::SyncWithData()
{
    EndFilter();
    const int n = NrOfColumns();
    FColAlignment.resize(std::size_t(std::max(0, n)), taLeftJustify);
    FColumnEditable.resize(std::size_t(std::max(0, n)), false);
    FColumnIsPwd.resize(std::size_t(std::max(0, n)), false);
    FColOrder.resize(std::size_t(std::max(0, n)));
    for (std::size_t i = 0; i < FColOrder.size(); ++i)
        FColOrder[i] = int(i);
    ApplyColCount(n);
    DeriveRows();
    Invalidate();
    ChangedSetup();
}

// The grid has one column per data column (at least one); a fixed first column is one of them
// and comes back when a single column grows to more.
void TReportListView::ApplyColCount(int n)
{
    SetColCount(std::max(n, 1));
    SetFixedCols(FFixedColOne ? 1 : 0);
}

void TReportListView::RowsChanged()
{
    EndFilter();
    DeriveRows();
    Invalidate();
}

// ---------------------------------------------------------------------------------------------
// Counts and headers

void TReportListView::SetNrOfRows(int v)
{
    HideEditor();
    Allocating(this, HeapTail, [&] { FRLData->SetNrOfRows(v); });
    EndFilter();   // only once the rows changed: a size that fails keeps the filter
    SetSelection(TGridRect{0, 0, 0, 0});
    DeriveRows();
    Invalidate();
    ChangedSetup();
}

void TReportListView::SetNrOfColumns(int v)
{
    HideEditor();
    const int oldLast = ColCount() - 1;
    const int lastWidth = TCustomGrid::ColWidths(oldLast);
    Allocating(this, HeapTail, [&] {
        FRLData->SetNrOfColumns(v);
        const int n = NrOfColumns();
        ApplyColCount(n);
        for (int c = oldLast; c < n; ++c)
            TCustomGrid::SetColWidths(c, lastWidth);
        FColAlignment.resize(std::size_t(n), taLeftJustify);
        FColumnEditable.resize(std::size_t(n), false);
        FColumnIsPwd.resize(std::size_t(n), false);
    });
    FColOrder.resize(std::size_t(NrOfColumns()));
    for (std::size_t i = 0; i < FColOrder.size(); ++i)
        FColOrder[i] = int(i);
    TCustomGrid::SetTopRow(CountHeadRows());
    Invalidate();
    ChangedSetup();
}

void TReportListView::SetCommonHeader(const QString& v)
{
    if (v == FRLData->CommonHeader())
        return;
    FRLData->SetCommonHeader(v);
    Changed();
    Invalidate();
}

void TReportListView::SetCommonHeaderAlignment(TAlignment v)
{
    if (v == FHeaderAlignment)
        return;
    FHeaderAlignment = v;
    Changed();
    Invalidate();
}

void TReportListView::SetCommonHeaderVisible(bool v)
{
    if (v == FComHdVis)
        return;
    FComHdVis = v;
    DeriveRows();
    Changed();
    Invalidate();
}

void TReportListView::SetColumnHeadersVisible(bool v)
{
    if (v == FColHdVis)
        return;
    FColHdVis = v;
    DeriveRows();
    Changed();
    Invalidate();
}

void TReportListView::SetCommonHeaderHeight(int v)
{
    FComHdHgt = std::clamp(v, 8, 127);
    SetHeaderHeights();
    Changed();
    Invalidate();
}

void TReportListView::SetColumnHeadersHeight(int v)
{
    FColHdHgt = std::clamp(v, 8, 127);
    SetHeaderHeights();
    Changed();
    Invalidate();
}

void TReportListView::SetEmptyMessage(const QString& v)
{
    if (v == FEmptyMsg)
        return;
    FEmptyMsg = v;
    Invalidate();
    ChangedSetup();
}

void TReportListView::SetColorEmptyMsg(TColor c)
{
    if (c == FColorEmptyMsg)
        return;
    SetColorSetup(FColorEmptyMsg, c);
}

void TReportListView::SetColorColumnHd(TColor c)
{
    TCustomGrid::SetFixedColor(c);
    SetColorSetup(FColHdColor, c);
}

void TReportListView::SetInterRowIndicatorWidth(int v) { FInterRowWidth = std::max(1, v); Invalidate(); ChangedSetup(); }

void TReportListView::SetInterRowIndicatorPos(int v)
{
    if (v == FInterRowIndi)
        return;
    FInterRowIndi = v;
    Invalidate();
}

void TReportListView::SetDefaultColWidth(int v)
{
    TCustomGrid::SetDefaultColWidth(v);
    Invalidate();
    ChangedSetup();
}

void TReportListView::SetDefaultRowHeight(int v)
{
    TCustomGrid::SetDefaultRowHeight(v);
    SetHeaderHeights();
    Invalidate();
    ChangedSetup();
}

void TReportListView::SetEnabled(bool v)
{
    FEnabled = v;
    setEnabled(v);
    Invalidate();
}

void TReportListView::EnabledChanged()
{
    FEnabled = isEnabled();
    Invalidate();
}

void TReportListView::SetHighLightRow(int v) { FHiLgtRow = v; Invalidate(); ChangedSetup(); }
void TReportListView::SetHighLightColumn(int v) { FHiLgtColumn = v; Invalidate(); ChangedSetup(); }
void TReportListView::SetHighLightBold(bool v) { FHiLgtBold = v; Invalidate(); ChangedSetup(); }
void TReportListView::SetRowColPattern(int v) { FRowColPattern = v; Invalidate(); ChangedSetup(); }

void TReportListView::SetShowEmptyCheckBoxes(bool v)
{
    if (v == FShowEmptyCBx)
        return;
    FShowEmptyCBx = v;
    Invalidate();
}

void TReportListView::SetCheckMarksReadOnly(bool v)
{
    if (v == FROCheckMarks)
        return;
    FROCheckMarks = v;
    Invalidate();
}

void TReportListView::SetFixedFirstColumn(bool v)
{
    FFixedColOne = v;
    SetFixedCols(v ? 1 : 0);
    Changed();
    Invalidate();
}

void TReportListView::SetSecondarySortColumn(int v)
{
    if (v < -1 || v > NrOfColumns())
        return;
    // Kept for the next header-click sort; the current order stays as it is.
    FSecSortColumn = v;
    ChangedSetup();
}

void TReportListView::SetTopRow(int v)
{
    const int hr = CountHeadRows();
    const int g = std::clamp(v + hr - 1, hr, std::max(hr, hr + NrOfShownRows() - 1));
    TCustomGrid::SetTopRow(g);
}

void TReportListView::SetLeftCol(int v)
{
    v = std::min(v, NrOfColumns());
    TCustomGrid::SetLeftCol(std::max(v, FixedCols() + 1) - 1);
}

void TReportListView::TopLeftChanged()
{
    Invalidate();
    TCustomDrawGrid::TopLeftChanged();
}

void TReportListView::resizeEvent(QResizeEvent* e)
{
    TCustomDrawGrid::resizeEvent(e);
    Invalidate();
}

// ---------------------------------------------------------------------------------------------
// Cells and columns

QString TReportListView::Elem(int ACol, int ARow) const
{
    QString s = FRLData->Elem(ACol, ARow);
    if (OnReadCell)
        OnReadCell(const_cast<TReportListView*>(this), ACol, ARow, s);
    return s;
}

double TReportListView::AsNumber(int ACol, int ARow) const
{
    try {
        return FRLData->AsNumber(ACol, ARow);
    } catch (const EQORDStructError&) {
        throw EQORDStructError(QStringLiteral("Class TReportListView: invalid numeric string: [%1,%2]: %3")
                                   .arg(ACol).arg(ARow).arg(FRLData->RawElem(ACol, ARow)));
    }
}

void TReportListView::SetColumnFormat(int ColNr, const QString& v) { FRLData->SetColumnFormat(ColNr, v); Changed(); Invalidate(); }
void TReportListView::SetColumnCheckMode(int ColNr, TCheckMode v) { FRLData->SetColumnCheckMode(ColNr, v); Changed(); Invalidate(); }
void TReportListView::SetHeader(int ColNr, const QString& v) { FRLData->SetHeader(ColNr, v); Changed(); Invalidate(); }
void TReportListView::SetIsCheckedColumn(int ColNr, bool v) { FRLData->SetIsCheckedColumn(ColNr, v); Changed(); Invalidate(); }

TAlignment TReportListView::ColumnAlignment(int ColNr) const
{
    return (ColNr >= 1 && ColNr <= int(FColAlignment.size())) ? FColAlignment[std::size_t(ColNr - 1)] : taLeftJustify;
}

void TReportListView::SetColumnAlignment(int ColNr, TAlignment v)
{
    ColumnsFollowData();
    if (ColNr < 1 || ColNr > int(FColAlignment.size()) || FColAlignment[std::size_t(ColNr - 1)] == v)
        return;
    FColAlignment[std::size_t(ColNr - 1)] = v;
    Changed();
    Invalidate();
}

bool TReportListView::ColumnEditable(int ColNr) const
{
    return ColNr >= 1 && ColNr <= int(FColumnEditable.size()) && FColumnEditable[std::size_t(ColNr - 1)];
}

void TReportListView::SetColumnEditable(int ColNr, bool v)
{
    ColumnsFollowData();
    if (ColNr >= 1 && ColNr <= int(FColumnEditable.size()))
        FColumnEditable[std::size_t(ColNr - 1)] = v;
}

bool TReportListView::ColumnIsPwd(int ColNr) const
{
    return ColNr >= 1 && ColNr <= int(FColumnIsPwd.size()) && FColumnIsPwd[std::size_t(ColNr - 1)];
}

void TReportListView::SetColumnIsPwd(int ColNr, bool v)
{
    ColumnsFollowData();
    if (ColNr < 1 || ColNr > int(FColumnIsPwd.size()) || FColumnIsPwd[std::size_t(ColNr - 1)] == v)
        return;
    FColumnIsPwd[std::size_t(ColNr - 1)] = v;
    Changed();
    Invalidate();
}

int TReportListView::ColumnOrder(int ColNr) const
{
    return (ColNr >= 1 && ColNr <= int(FColOrder.size())) ? FColOrder[std::size_t(ColNr - 1)] + 1 : 0;
}

bool TReportListView::SetColumnOrder(const QVector<int>& ColList)
{
    ColumnsFollowData();
    if (ColList.size() != NrOfColumns())
        return false;
    bool ok = true;
    for (int i = 0; i < ColList.size(); ++i) {
        if (ColList[i] < 1 || ColList[i] > NrOfColumns()) {
            ok = false;
            continue;
        }
        FColOrder[std::size_t(i)] = ColList[i] - 1;
    }
    return ok;
}

int TReportListView::GridColOfData(int d) const
{
    for (std::size_t x = 0; x < FColOrder.size(); ++x)
        if (FColOrder[x] == d - 1)
            return int(x);
    return -1;
}

// Index is a data column: the width belongs to the grid column that shows it, so widths follow
// their columns through SetColumnOrder.
int TReportListView::ColWidths(int Index) const
{
    const int x = (Index >= 1 && Index <= NrOfColumns()) ? GridColOfData(Index) : -1;
    return x < 0 ? 0 : TCustomGrid::ColWidths(x);
}

void TReportListView::SetColWidths(int Index, int w)
{
    const int x = (Index >= 1 && Index <= NrOfColumns()) ? GridColOfData(Index) : -1;
    if (x < 0)
        return;
    TCustomGrid::SetColWidths(x, w);
    ChangedSetup();
}

QStringView TReportListView::ShownTextView(int d, int r, QString& Buffer) const
{
    const QStringView raw = FRLData->Strings()->GetStringView(d, r);
    if (!ColumnIsPwd(d))
        return (d >= 0 && d <= NrOfColumns() && r >= 1 && r <= NrOfRows()) ? raw : QStringView();
    static const QString Mask = QStringLiteral("******");
    if (FRLData->ColumnCheckMode(d) == cmNone)
        return Mask;
    if (raw.isEmpty())
        return raw;
    Buffer.resize(0);
    Buffer.append(raw.first(1));
    Buffer.append(Mask);
    return Buffer;
}

QString TReportListView::ShownText(int d, int r) const
{
    QString buffer;
    return ShownTextView(d, r, buffer).toString();
}

// ---------------------------------------------------------------------------------------------
// Check marks

void TReportListView::SetAllCheckmarksOfCol(int Column, bool Checked, bool AffectEnabledRowsOnly)
{
    PaintGuard guard(this);
    FRLData->SetAllCheckmarksOfCol(Column, Checked, AffectEnabledRowsOnly, NrOfShownRows());
}

void TReportListView::InvertAllCheckmarksOfCol(int Column, bool AffectEnabledRowsOnly)
{
    PaintGuard guard(this);
    FRLData->InvertAllCheckmarksOfCol(Column, AffectEnabledRowsOnly, NrOfShownRows());
}

int TReportListView::CountCheckedElemsInCol(int Column) const
{
    if (FRLData->ColumnCheckMode(Column) == cmNone)
        return 0;
    int n = 0;
    for (int r = 1; r <= NrOfShownRows(); ++r)
        if (!RowDisabled(r) && FRLData->ElemChecked(Column, r))
            ++n;
    return n;
}

int TReportListView::FirstCheckedElemInCol(int ColNr) const
{
    if (FRLData->ColumnCheckMode(ColNr) == cmNone)
        return 0;
    for (int r = 1; r <= NrOfShownRows(); ++r)
        if (FRLData->ElemChecked(ColNr, r))
            return r;
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Structure

int TReportListView::AddRow()
{
    SetNrOfRows(NrOfRows() + 1);
    return NrOfRows();
}

int TReportListView::InsertRow(int r)
{
    HideEditor();
    if (r >= 1 && r <= NrOfRows()) {
        Allocating(this, HeapTail, [&] { FRLData->InsertRow(r); });
        SetNrOfRows(NrOfRows());
        ChangedSetup();
    } else if (r > NrOfRows()) {
        r = AddRow();
    }
    // The rows no longer follow the last sort.
    const SortWatch watch(this);
    FRLData->Sort(-1, -1, FRLData->LastSortOrder(), FRLData->LastSortOrderSec());
    return r;
}

int TReportListView::InsertColumn(int c)
{
    HideEditor();
    ColumnsFollowData();
    if (c >= 1 && c <= NrOfColumns()) {
        Allocating(this, HeapTail, [&] { FRLData->InsertColumn(c); });
        const auto at = std::size_t(c - 1);
        FColAlignment.insert(FColAlignment.begin() + std::ptrdiff_t(at), taLeftJustify);
        FColumnEditable.insert(FColumnEditable.begin() + std::ptrdiff_t(at), false);
        FColumnIsPwd.insert(FColumnIsPwd.begin() + std::ptrdiff_t(at), false);
        const std::vector<TAlignment> align = FColAlignment;
        const std::vector<bool> edit = FColumnEditable, pwd = FColumnIsPwd;
        SetNrOfColumns(NrOfColumns());
        FColAlignment = align;
        FColumnEditable = edit;
        FColumnIsPwd = pwd;
        ChangedSetup();
    } else if (c > NrOfColumns()) {
        SetNrOfColumns(NrOfColumns() + 1);
        c = NrOfColumns();
    }
    return c;
}

void TReportListView::RemoveRow(int r)
{
    if (r < 1 || r > NrOfRows())
        return;
    HideEditor();
    EndFilter();
    // Straight from the data's array: the sort order is not committed.
    FRLData->RemoveRows({r});
    AfterRowsRemoved();
}

void TReportListView::AfterRowsRemoved()
{
    if (NrOfRows() == 0)
        SetSelection(TGridRect{0, 0, 0, 0});
    DeriveRows();
    Invalidate();
    ChangedSetup();
}

void TReportListView::RemoveColumn(int c)
{
    if (c < 1 || c > NrOfColumns())
        return;
    HideEditor();
    ColumnsFollowData();
    const auto at = std::ptrdiff_t(c - 1);
    FColAlignment.erase(FColAlignment.begin() + at);
    FColumnEditable.erase(FColumnEditable.begin() + at);
    FColumnIsPwd.erase(FColumnIsPwd.begin() + at);
    // Removing a column makes the shown order the stored one: the filter marks follow.
    if (FFilterCount >= 0) {
        TStringArray* s = FRLData->Strings();
        std::vector<char> byPosition(FMatchPhys.size(), 0);
        for (int i = 1; i <= NrOfRows(); ++i) {
            const int p = s->GetSortOrder(i);
            if (p >= 0 && std::size_t(p) < FMatchPhys.size())
                byPosition[std::size_t(i)] = FMatchPhys[std::size_t(p)];
        }
        FMatchPhys.swap(byPosition);
    }
    FRLData->RemoveColumn(c);
    const int n = NrOfColumns();
    FColAlignment.resize(std::size_t(n), taLeftJustify);
    FColumnEditable.resize(std::size_t(n), false);
    FColumnIsPwd.resize(std::size_t(n), false);
    // The display order loses the removed column; later columns move one down.
    std::vector<int> order;
    for (int d : FColOrder) {
        if (d == c - 1)
            continue;
        order.push_back(d > c - 1 ? d - 1 : d);
    }
    order.resize(std::size_t(n));
    FColOrder = order;
    ApplyColCount(n);
    Invalidate();
    ChangedSetup();
}

// One pass through the data (each row removed on its own would move the rest of the table and
// notify every time): one OnChange, one OnChangeSetup. While filtered, the shown rows only.
void TReportListView::RemoveEmptyRows()
{
    TIntArray empty;
    for (int r = 1; r <= NrOfShownRows(); ++r)
        if (FRLData->RowEmpty(r))
            empty.append(r);
    if (empty.isEmpty())
        return;
    HideEditor();
    PaintGuard guard(this);
    EndFilter();
    FRLData->RemoveRows(empty);
    AfterRowsRemoved();
}

void TReportListView::Fill(const QString& s)
{
    PaintGuard guard(this);
    FRLData->Fill(s);
}

void TReportListView::Clear()
{
    HideEditor();
    EndFilter();
    FRLData->Clear();
    ResetColumnArrays();
    DeriveRows();
    Invalidate();
}

// ---------------------------------------------------------------------------------------------
// Column widths

namespace {

// Cheap width estimates from per-character advances (fractional, so they add up as the text
// layout does), one table per font style. Kerning and shaping make the real width differ by a
// pixel or so; the estimate only picks which texts to measure.
class WidthEstimator {
public:
    explicit WidthEstimator(const TFont& f) : FFont(f.ToQFont()) {}
    double Estimate(TFontStyles style, QStringView text)
    {
        Table& t = TableFor(style);
        double w = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t c = text[i].unicode();
            if (c < Table::DirectEnd) {
                float& a = t.Direct[c];
                if (a < 0)
                    a = float(t.Metrics.horizontalAdvance(QChar(c)));
                w += a;
                continue;
            }
            // Other characters, surrogate pairs as one.
            const qsizetype n = QChar::isHighSurrogate(c) && i + 1 < text.size() ? 2 : 1;
            const QString key = text.mid(i, n).toString();
            auto it = t.Others.find(key);
            if (it == t.Others.end())
                it = t.Others.insert(key, t.Metrics.horizontalAdvance(key));
            w += it.value();
            i += n - 1;
        }
        return w;
    }

private:
    struct Table {
        static constexpr char16_t DirectEnd = 0x3000;   // characters below it are looked up in an array
        explicit Table(const QFont& f) : Metrics(f), Direct(DirectEnd, -1.0f) {}
        QFontMetricsF Metrics;
        std::vector<float> Direct;
        QHash<QString, double> Others;
    };
    Table& TableFor(TFontStyles style)
    {
        const unsigned bits = style.ToBits();
        auto it = FTables.find(bits);
        if (it == FTables.end()) {
            QFont f = FFont;
            f.setBold(style.Contains(fsBold));
            f.setItalic(style.Contains(fsItalic));
            f.setUnderline(style.Contains(fsUnderline));
            f.setStrikeOut(style.Contains(fsStrikeOut));
            it = FTables.emplace(bits, std::make_unique<Table>(f)).first;
        }
        return *it->second;
    }
    QFont FFont;
    std::map<unsigned, std::unique_ptr<Table>> FTables;
};

} // namespace

// Not every row is measured: all rows get a width estimate from per-character advances, and the
// rows with the widest estimates, the rows on screen and rows spread evenly over the list are
// measured exactly (each text once, through the paint cache). Lists of up to ExactRows rows are
// thus measured completely.
int TReportListView::DetermineMaxColWidth(int ColNr, bool IncludeHeader)
{
    constexpr int ExactRows = 2048;    // widest estimates measured
    constexpr int SpreadRows = 1024;   // rows spread over the list measured
    if (ColNr < 1 || ColNr > NrOfColumns())
        return 10;
    SyncTextCache();
    TCanvas* cv = Canvas();
    TFont* font = cv->Font();
    font->Assign(*TCustomGrid::Font());
    const TFontStyles baseStyle = font->Style();
    const bool check = FRLData->ColumnCheckMode(ColNr) != cmNone;
    const bool pwd = ColumnIsPwd(ColNr);
    const int n = NrOfShownRows();
    WidthEstimator estimator(*font);

    // What a row shows before it is drawn: the stored text (a check column's mark included; a
    // password column's mask, so the width tells nothing of the secret), then whatever
    // OnBeforeRenderCell makes of it (its text and style count).
    struct Shown {
        QString Text;
        TFontStyles Style;
    };
    auto shown = [&](int row, QString text) {
        Shown s{std::move(text), baseStyle};
        if (OnBeforeRenderCell) {
            TColor pen = FRColorNormal, brush = FRColorNormal, fc = FColorNormal;
            OnBeforeRenderCell(this, ColNr, row, pen, brush, fc, s.Style, s.Text);
        }
        return s;
    };
    int widest = 0;
    auto measure = [&](const Shown& s, int extra) {
        font->SetStyle(s.Style);
        widest = std::max(widest, CachedTextWidth(cv, s.Text) + extra);
    };

    // The widest estimates, kept in a heap of bounded size (smallest on top).
    struct Candidate {
        double Estimate;
        Shown Cell;
        bool operator<(const Candidate& o) const { return Estimate > o.Estimate; }
    };
    std::vector<Candidate> best;
    best.reserve(std::size_t(std::min(n, ExactRows)));
    // Offers a row's estimate; Cell() gives its text only when it is kept.
    auto offer = [&](double e, auto cell) {
        if (int(best.size()) == ExactRows) {
            if (e <= best.front().Estimate)
                return;
            std::pop_heap(best.begin(), best.end());
            best.pop_back();
        }
        best.push_back({e, cell()});
        std::push_heap(best.begin(), best.end());
    };

    // Measured in any case: the rows on screen and rows spread over the list.
    const int spreadStep = std::max(1, n / SpreadRows);
    const int top = TopRow(), visibleEnd = std::min(n, top + VisibleRowCount());
    for (int r = 1; r <= n; r += spreadStep)
        measure(shown(r, ShownText(ColNr, r)), check ? 16 : 0);
    for (int r = std::max(1, top); r <= visibleEnd; ++r)
        measure(shown(r, ShownText(ColNr, r)), check ? 16 : 0);

    TStringArray* cells = FRLData->Strings();
    if (OnBeforeRenderCell || pwd) {
        for (int r = 1; r <= n; ++r) {
            Shown s = shown(r, ShownText(ColNr, r));
            offer(estimator.Estimate(s.Style, s.Text), [&] { return std::move(s); });
        }
    } else if (!Filtered()) {
        // Storage order reads the cells in sequence, however the list is sorted.
        for (int p = 1; p <= n; ++p) {
            const QStringView v = cells->GetPhysicalStringView(ColNr, p);
            offer(estimator.Estimate(baseStyle, v), [&] { return Shown{v.toString(), baseStyle}; });
        }
    } else {
        for (int r = 1; r <= n; ++r) {
            const QStringView v = cells->GetStringView(ColNr, r);
            offer(estimator.Estimate(baseStyle, v), [&] { return Shown{v.toString(), baseStyle}; });
        }
    }
    for (const Candidate& c : best)
        measure(c.Cell, check ? 16 : 0);
    if (IncludeHeader)
        measure(shown(0, FRLData->Header(ColNr)), LastSortColumn() == ColNr ? 13 : 0);
    font->SetStyle(baseStyle);
    return widest + 10;
}

void TReportListView::AutoColWidth(int ColNr, bool IncludeHeader, int Addon)
{
    AutoColWidth(ColNr, IncludeHeader, Addon, std::numeric_limits<int>::max());
}

void TReportListView::AutoColWidth(int ColNr, bool IncludeHeader, int Addon, int MaxWidth)
{
    if (ColNr < 1 || ColNr > NrOfColumns())
        return;
    SetColWidths(ColNr, std::min(std::max(DetermineMaxColWidth(ColNr, IncludeHeader) + Addon, 4), MaxWidth));
}

void TReportListView::ExpandColWidth(int ColIx, int RightMargin)
{
    if (ColIx < 1 || ColIx > NrOfColumns())
        return;
    int others = 0;
    for (int i = 1; i <= NrOfColumns(); ++i)
        if (i != ColIx)
            others += ColWidths(i);
    int w = ClientWidth() - RightMargin - others;
    if (w <= 15)
        w = 16;
    SetColWidths(ColIx, w);
}

void TReportListView::FitAllColWidths(int ExpandColumn, bool IncludeHeader, int Addon, int MaxWidth, int RightMargin)
{
    PaintGuard guard(this);
    for (int c = 1; c <= NrOfColumns(); ++c)
        if (c != ExpandColumn)
            AutoColWidth(c, IncludeHeader, Addon, MaxWidth);
    ExpandColWidth(ExpandColumn, RightMargin);
}

// ---------------------------------------------------------------------------------------------
// Assign and files

void TReportListView::Assign(const QObject* Source)
{
    const auto* src = qobject_cast<const TReportListView*>(Source);
    if (!src) {
        TCustomDrawGrid::Assign(Source);
        return;
    }
    if (src == this)
        return;
    HideEditor();
    Allocating(this, HeapTail, [&] {
        FAutoAdvance = src->FAutoAdvance;
        FLastMousePosX = src->FLastMousePosX;
        FLastMousePosY = src->FLastMousePosY;
        OnChange = src->OnChange;
        OnChangeSetup = src->OnChangeSetup;
        OnSelectedChange = src->OnSelectedChange;
        FSelectAnchor = src->FSelectAnchor;
        FRowSelectMode = src->FRowSelectMode;
        FSortEnabled = src->FSortEnabled;
        FEnabled = src->FEnabled;
        OnCheckedChange = src->OnCheckedChange;
        OnBeforeCheckedChange = src->OnBeforeCheckedChange;
        OnGetEditText = src->OnGetEditText;
        OnSetEditText = src->OnSetEditText;
        FSelRowColor = src->FSelRowColor;
        FSelRowTextColor = src->FSelRowTextColor;
        FSelColColor = src->FSelColColor;
        FSelColTextColor = src->FSelColTextColor;
        FSelBothColor = src->FSelBothColor;
        FSelBothTextColor = src->FSelBothTextColor;
        FHiLgtColor = src->FHiLgtColor;
        FHiLgtTextColor = src->FHiLgtTextColor;
        FHiLgtBold = src->FHiLgtBold;
        FHiLgtRow = src->FHiLgtRow;
        FHiLgtColumn = src->FHiLgtColumn;
        FColorNormal = src->FColorNormal;
        FRColorNormal = src->FRColorNormal;
        FRColorShaded = src->FRColorShaded;
        FRowColPattern = src->FRowColPattern;
        FHeaderAlignment = src->FHeaderAlignment;
        FComHdVis = src->FComHdVis;
        FComHdColor = src->FComHdColor;
        FComHdTxtColor = src->FComHdTxtColor;
        FColHdVis = src->FColHdVis;
        FColHdColor = src->FColHdColor;
        FColHdTxtColor = src->FColHdTxtColor;
        OnRequestEditFormat = src->OnRequestEditFormat;
        FShowEmptyCBx = src->FShowEmptyCBx;
        OnPercentDone = src->OnPercentDone;
        OnBeforeRenderCell = src->OnBeforeRenderCell;
        OnBeforeSortExchange = src->OnBeforeSortExchange;
        OnBeforeHTMLExport = src->OnBeforeHTMLExport;
        OnBeforeFilter = src->OnBeforeFilter;
        OnMouseWheelDown = src->OnMouseWheelDown;
        OnMouseWheelUp = src->OnMouseWheelUp;
        FInterRowIndi = src->FInterRowIndi;
        FInterRowColor = src->FInterRowColor;
        FInterRowWidth = src->FInterRowWidth;
        FFixedColOne = src->FFixedColOne;
        EndFilter();
        FSelHintValid = false;
        FRLData->Assign(src->FRLData);
        BindData();
        FColAlignment = src->FColAlignment;
        FColumnEditable = src->FColumnEditable;
        FColumnIsPwd = src->FColumnIsPwd;
        FColOrder = src->FColOrder;
        ColumnsFollowData();   // the source's arrays may lag behind its data
        ApplyColCount(NrOfColumns());
        DeriveRows();
    });
    SetSuppressPaint(src->FSuppressPaint);
    Invalidate();
}

void TReportListView::AssignTo(QObject* Dest) const
{
    if (!AssignToSameClass<TReportListView>(Dest))
        TCustomDrawGrid::AssignTo(Dest);
}

} // namespace qor
