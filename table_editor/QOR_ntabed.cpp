// TNTabEd: construction, the table and its hooks, events, sizing and the layout of the lines.
#include "QOR_ntabed.h"
#include "QOR_WidgetFactory.h"

#include <QOR_stringl.h>

#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <algorithm>
#include <cmath>
#include <new>
#include <stdexcept>

namespace qor {

namespace {

constexpr int InitialPrecision = 3;   // at construction, after Clear, and for new columns
constexpr int RowNameWidth = 80;
// Grid rows are counted in int: the table's rows and the heading rows must fit.
constexpr int MaxTableRows = 0x7FFFFFF0;

constexpr const char* InitTail = "\": failed to initialize table editor (out of memory)";
constexpr const char* HeapTail = "\": not enough memory on heap";

} // namespace

// ---------------------------------------------------------------------------------------------
// Construction

QOR_REGISTER_WIDGET(qor::TNTabEd);

TNTabEd::TNTabEd(QWidget* AOwner) : TCustomDrawGrid(AOwner)
{
    FQuiet = 1;   // nothing is told while the editor is being built
    try {
        FData = new TDataTable(nullptr);
        FCopy = std::make_unique<TDataTable>(nullptr);
        FDecP.assign(3, std::int8_t(InitialPrecision));
        FData->Resize(3, 4);
    } catch (const std::bad_alloc&) {
        delete std::exchange(FData, nullptr);
        throw EQORNTabedError(MemoryMessage(InitTail));
    }
    SetDefaultDrawing(false);
    TCustomGrid::SetOptions(TCustomGrid::Options() | goTabs | goEditing);
    SetColCount(NrOfColumns() + FColOffset + 1);
    SetRowCount(NrOfRows() + FRowOffset + 1);
    ApplyAttribFixedCounts();
    TCustomGrid::SetColWidths(0, RowNameWidth);
    TCustomGrid::SetColWidths(1, FAttribColWidth);
    BindTable(FData);
    BuildMenus();
    connect(this, &TCustomGrid::currentCellChanged, this,
            [this](int c, int r) { emit currentDataCellChanged(DataCol(c), DataRow(r)); });
    FQuiet = 0;
}

TNTabEd::~TNTabEd()
{
    // The editors and menus call back into the editor: they go while it is still whole.
    HideEditor();
    delete FHeadingEdit.data();
    delete FCommentMemo.data();
    delete FDataMenu;
    delete FHeadMenu;
    if (FOwnsData)
        delete FData;
    else
        FData->ClearHooks();
}

QString TNTabEd::MemoryMessage(const char* Tail) const
{
    return QStringLiteral("Component \"") + objectName() + QString::fromLatin1(Tail);
}

QString TNTabEd::HeapMessage() const
{
    return MemoryMessage(HeapTail);
}

// ---------------------------------------------------------------------------------------------
// Events

void TNTabEd::Changed()
{
    Fire(OnChange, &TNTabEd::changed);
    if (!Held())
        AccessibleValueChanged();
}

void TNTabEd::ChangedSetup() { Fire(OnChangeSetup, &TNTabEd::changeSetup); }
void TNTabEd::LayoutChanged() { Fire(OnLayoutChanged, &TNTabEd::layoutChanged); }
void TNTabEd::CellStatesChanged() { Fire(OnCellStateChanged, &TNTabEd::cellStateChanged); }
void TNTabEd::EmptyStatesChanged() { Fire(OnEmptyStChanged, &TNTabEd::emptyStateChanged); }

void TNTabEd::SetLayoutColor(TColor& Field, TColor v)
{
    if (!Store(Field, v))
        return;
    Invalidate();
    LayoutChanged();
}

// ---------------------------------------------------------------------------------------------
// The table

void TNTabEd::BindTable(TDataTable* t)
{
    // Bulk work of the editor holds these back and repaints once when it is done.
    t->OnDataChanged = [this](QObject*) {
        if (Held())
            return;
        Invalidate();
        Changed();
    };
    t->OnSetupChanged = [this](QObject*) {
        if (Held())
            return;
        Invalidate();
        ChangedSetup();
    };
    t->OnPercentDone = [this](QObject*, int p) { Notify(this, OnPercentDone, &TNTabEd::percentDone, p); };
    t->OnResize = [this](QObject*, int oldCols, int, int) { TableResized(oldCols); };
    t->OnSortExchange = [this](QObject*, std::uint8_t kind, int a, int b) { TableSortExchange(kind, a, b); };
    t->OnStructureChanged = [this](QObject*, TDTStructureEdit kind, int ix) { TableStructureChanged(kind, ix); };
}

void TNTabEd::Redimension(int NrCols, int NrRows)
{
    NrCols = std::max(0, NrCols);
    NrRows = std::clamp(NrRows, 0, MaxTableRows);
    if (NrCols > MaxTableRows)
        throw EQORNTabedError(HeapMessage());
    if (NrCols == NrOfColumns() && NrRows == NrOfRows())
        return;
    {
        Quiet quiet(this);   // a new size, not new values
        Allocating([&] {
            // The layout's room first: when the table cannot grow, nothing has changed.
            ReserveLayout(NrCols, NrRows);
            FData->Resize(NrCols, NrRows);
        });
    }
    Invalidate();
    ChangedSetup();
}

void TNTabEd::ReserveLayout(int NrCols, int NrRows)
{
    FDecP.reserve(std::size_t(NrCols));
    ReserveLines(NrCols + FColOffset + 1, NrRows + FRowOffset + 1);
}

// Sizing, after the table took a new size (through the editor or directly): the grid's counts,
// the widths of new columns and the precisions.
void TNTabEd::TableResized(int OldCols)
{
    const int cols = FData->NrOfColumns(), rows = FData->NrOfRows();
    {
        Quiet quiet(this);
        const int oldGridCols = ColCount();
        const int newWidth = OldCols > 0 ? TCustomGrid::ColWidths(oldGridCols - 1) : DefaultColWidth();
        const std::int8_t newPrecision = FDecP.empty() ? std::int8_t(InitialPrecision) : FDecP.back();
        FDecP.resize(std::size_t(cols), newPrecision);
        // Each step stores its line counts and widths before it tells Qt (scroll bars, signals);
        // running out of memory in the telling goes to HandleException, and the layout still
        // follows the table in full.
        GuardedCall([&] { SetColCount(cols + FColOffset + 1); });
        for (int g = std::max(oldGridCols, FColOffset + 1); g < ColCount(); ++g)
            GuardedCall([&] { TCustomGrid::SetColWidths(g, newWidth); });
        GuardedCall([&] { SetRowCount(rows + FRowOffset + 1); });
    }
    GuardedCall([this] {
        AccessibleTableChanged();
        ChangedSetup();
        Invalidate();
    });
}

// A structural edit of the table: precision, width and height move with their line.
void TNTabEd::TableStructureChanged(TDTStructureEdit Kind, int Ix)
{
    Quiet quiet(this);
    GuardedCall([this] { AccessibleTableChanged(); });
    // As in TableResized: the grid's lines move before Qt is told, and a failure in the telling
    // does not leave the layout behind the table.
    GuardedCall([&] { FollowStructure(Kind, Ix); });
}

void TNTabEd::FollowStructure(TDTStructureEdit Kind, int Ix)
{
    switch (Kind) {
    case dtsColumnInserted:
        FDecP.insert(FDecP.begin() + std::min<std::ptrdiff_t>(Ix - 1, std::ptrdiff_t(FDecP.size())),
                     std::int8_t(InitialPrecision));
        InsertColAt(GridCol(Ix), DefaultColWidth());
        break;
    case dtsColumnRemoved:
        if (Ix >= 1 && Ix <= int(FDecP.size()))
            FDecP.erase(FDecP.begin() + (Ix - 1));
        DeleteColAt(GridCol(Ix));
        break;
    case dtsRowInserted:
        InsertRowAt(GridRow(Ix), DefaultRowHeight());
        break;
    case dtsRowRemoved:
        DeleteRowAt(GridRow(Ix));
        break;
    case dtsColumnsMirrored: {
        std::reverse(FDecP.begin(), FDecP.end());
        for (int a = GridCol(1), b = ColCount() - 1; a < b; ++a, --b) {
            const int wa = TCustomGrid::ColWidths(a);
            TCustomGrid::SetColWidths(a, TCustomGrid::ColWidths(b));
            TCustomGrid::SetColWidths(b, wa);
        }
        break;
    }
    case dtsRowsMirrored:
        for (int a = GridRow(1), b = RowCount() - 1; a < b; ++a, --b) {
            const int ha = TCustomGrid::RowHeights(a), hb = TCustomGrid::RowHeights(b);
            if (ha != hb) {
                TCustomGrid::SetRowHeights(a, hb);
                TCustomGrid::SetRowHeights(b, ha);
            }
        }
        break;
    }
}

// Columns exchanged by a sort that moves their headings take their precision and width along.
void TNTabEd::TableSortExchange(std::uint8_t Kind, int Ix1, int Ix2)
{
    if (Kind != dtExchangeColumns || !FData->ExchangingHeadings())
        return;
    if (Ix1 >= 1 && Ix2 >= 1 && Ix1 <= int(FDecP.size()) && Ix2 <= int(FDecP.size()))
        std::swap(FDecP[std::size_t(Ix1 - 1)], FDecP[std::size_t(Ix2 - 1)]);
    const int w1 = TCustomGrid::ColWidths(GridCol(Ix1));
    TCustomGrid::SetColWidths(GridCol(Ix1), TCustomGrid::ColWidths(GridCol(Ix2)));
    TCustomGrid::SetColWidths(GridCol(Ix2), w1);
}

void TNTabEd::AssignAnotherDataMatrix(TDataTable* NewDTab)
{
    if (!NewDTab || NewDTab == FData)
        return;
    HideEditor();
    if (FOwnsData)
        delete FData;
    else
        FData->ClearHooks();
    FData = NewDTab;
    FOwnsData = false;
    BindTable(FData);
    Allocating([&] { FDecP.assign(std::size_t(FData->NrOfColumns()), std::int8_t(InitialPrecision)); });
    TableResized(FData->NrOfColumns());
    Changed();
}

void TNTabEd::CopyContentsFrom(const TDataTable* ExtTab)
{
    if (!ExtTab)
        return;
    HideEditor();
    Allocating([&] {
        FDecP.reserve(std::size_t(ExtTab->NrOfColumns()));
        FData->CopyFrom(*ExtTab);
    });
}

void TNTabEd::CopyCellStatesFrom(const TDataTable* ExtTab)
{
    if (!ExtTab)
        return;
    {
        Quiet quiet(this);
        FData->CopyStatesFrom(*ExtTab);
    }
    SetEditing(MayEdit(Col(), Row()));
    Invalidate();
    CellStatesChanged();
}

// ---------------------------------------------------------------------------------------------
// Lines and layout

bool TNTabEd::IsDataCell(int GridColumn, int GridRowNr) const
{
    const int c = DataCol(GridColumn), r = DataRow(GridRowNr);
    return c >= 1 && c <= NrOfColumns() && r >= 1 && r <= NrOfRows();
}

int TNTabEd::ColPrecision(int ColNr) const
{
    return (ColNr >= 1 && ColNr <= int(FDecP.size())) ? FDecP[std::size_t(ColNr - 1)] : InitialPrecision;
}

bool TNTabEd::IsNominal(int ColNr) const
{
    const int t = FData->GetMScaleType(ColNr);
    return t == mstNominal || t == mstBinary;
}

int TNTabEd::CurrentCol() const
{
    return IsDataCell(Col(), Row()) ? DataCol(Col()) : 0;
}

int TNTabEd::CurrentRow() const
{
    return IsDataCell(Col(), Row()) ? DataRow(Row()) : 0;
}

void TNTabEd::ApplyAttribFixedCounts()
{
    SetFixedCols(FColOffset + 1);
    SetFixedRows(FRowOffset + 1);
}

void TNTabEd::SetAttribRowVisible(bool v)
{
    if (v == AttribRowVisible())
        return;
    if (v) {
        FColOffset = 1;
        InsertColAt(1, FAttribColWidth);
    } else {
        FAttribColWidth = TCustomGrid::ColWidths(1);
        FColOffset = 0;
        DeleteColAt(1);
    }
    ApplyAttribFixedCounts();
    Invalidate();
    LayoutChanged();
}

void TNTabEd::SetAttribColVisible(bool v)
{
    if (v == AttribColVisible())
        return;
    if (v) {
        FRowOffset = 1;
        InsertRowAt(1, TCustomGrid::RowHeights(0));
    } else {
        FRowOffset = 0;
        DeleteRowAt(1);
    }
    ApplyAttribFixedCounts();
    Invalidate();
    LayoutChanged();
}

int TNTabEd::ColWidths(int Index) const
{
    if (Index < 0)
        return AttribRowVisible() ? TCustomGrid::ColWidths(1) : 0;
    if (Index > NrOfColumns())
        return 0;
    return TCustomGrid::ColWidths(Index == 0 ? 0 : GridCol(Index));
}

void TNTabEd::SetColWidths(int Index, int Width)
{
    if (Index > NrOfColumns() || (Index < 0 && !AttribRowVisible()))
        return;
    Width = std::max(0, Width);
    if (Index < 0)
        FAttribColWidth = Width;
    TCustomGrid::SetColWidths(Index < 0 ? 1 : Index == 0 ? 0 : GridCol(Index), Width);
    LayoutChanged();
}

int TNTabEd::RowHeights(int Index) const
{
    if (Index < 0)
        return AttribColVisible() ? TCustomGrid::RowHeights(1) : 0;
    if (Index > NrOfRows())
        return 0;
    return TCustomGrid::RowHeights(Index == 0 ? 0 : GridRow(Index));
}

void TNTabEd::SetRowHeights(int Index, int Height)
{
    if (Index > NrOfRows() || (Index < 0 && !AttribColVisible()))
        return;
    TCustomGrid::SetRowHeights(Index < 0 ? 1 : Index == 0 ? 0 : GridRow(Index), Height);
    LayoutChanged();
}

void TNTabEd::SetDefaultColWidth(int v)
{
    TCustomGrid::SetDefaultColWidth(v);
    TCustomGrid::SetColWidths(0, RowNameWidth);
    if (AttribRowVisible())
        TCustomGrid::SetColWidths(1, FAttribColWidth);
    LayoutChanged();
}

void TNTabEd::SetDefaultRowHeight(int v)
{
    if (v == DefaultRowHeight())
        return;
    TCustomGrid::SetDefaultRowHeight(v);
    LayoutChanged();
}

void TNTabEd::SetLeftCol(int v)
{
    TCustomGrid::SetLeftCol(GridCol(std::clamp(v, 1, std::max(1, NrOfColumns()))));
}

void TNTabEd::SetTopRow(int v)
{
    TCustomGrid::SetTopRow(GridRow(std::clamp(v, 1, std::max(1, NrOfRows()))));
    Invalidate();
}

void TNTabEd::SetDrawingStyle(TGridDrawingStyle v)
{
    if (!Store(FDrawingStyle, v))
        return;
    Invalidate();
    LayoutChanged();
}

void TNTabEd::SetStyleElements(TStyleElements v)
{
    if (!Store(FStyleElements, v))
        return;
    SetBorderStyle(v.testFlag(seBorder) ? bsSingle : bsNone);
}

void TNTabEd::SetOptions(TGridOptions v)
{
    TCustomGrid::SetOptions(v.setFlag(goEditing, MayEdit(Col(), Row())));
}

void TNTabEd::SetNumWidth(int v)
{
    if (v >= 1 && v <= 20 && v != FNumWidth) {
        FNumWidth = v;
        Invalidate();
    }
    LayoutChanged();
}

int TNTabEd::Precision(int ColNr) const
{
    return (ColNr >= 1 && ColNr <= NrOfColumns()) ? ColPrecision(ColNr) : 0;
}

void TNTabEd::SetPrecision(int ColNr, int v)
{
    if (ColNr < 1 || ColNr > NrOfColumns() || ColNr > int(FDecP.size()))
        return;
    FDecP[std::size_t(ColNr - 1)] = std::int8_t(std::clamp(v, -1, 10));
    Invalidate();
    LayoutChanged();
}

void TNTabEd::SetShowCellCursor(bool v)
{
    if (Store(FShowCellCursor, v))
        Invalidate();
}

void TNTabEd::SetOptimizeRowHeight(bool v)
{
    if (Store(FOptimizeRowHeight, v))
        Invalidate();
}

void TNTabEd::SetBoldMarks(bool v)
{
    if (Store(FBoldMarks, v))
        Invalidate();
}

void TNTabEd::SetBoldSelHeads(bool v)
{
    if (Store(FBoldSelHeads, v))
        Invalidate();
}

void TNTabEd::SetEmptyMessage(const QString& v)
{
    if (!Store(FEmptyMessage, v))
        return;
    Invalidate();
    ChangedSetup();
}

void TNTabEd::SetColorEmptyMsg(TColor v)
{
    if (!Store(FColorEmptyMsg, v))
        return;
    Invalidate();
    ChangedSetup();
}

void TNTabEd::SetSuppressPaint(bool v)
{
    const bool was = FSuppressPaint;
    FSuppressPaint = v;
    if (was && !v)
        Invalidate();
}

void TNTabEd::SetVRangeLow(double v)
{
    if (std::isfinite(v))
        FVRangeLow = v;
}

void TNTabEd::SetVRangeHigh(double v)
{
    if (std::isfinite(v))
        FVRangeHigh = v;
}

bool TNTabEd::RangeInForce() const
{
    return (FVRangeLow != 0.0 || FVRangeHigh != 0.0) && FVRangeLow <= FVRangeHigh;
}

double TNTabEd::ClampToRange(double v) const
{
    return RangeInForce() ? std::clamp(v, FVRangeLow, FVRangeHigh) : v;
}

double TNTabEd::ClampOrdinal(double v) const
{
    return RangeInForce() ? std::clamp(v, std::round(FVRangeLow), std::round(FVRangeHigh)) : v;
}

// ---------------------------------------------------------------------------------------------
// Headings and comment

// A heading written to the table quietly, then told by its own event.
template <class Signal, class Write>
void TNTabEd::WriteHeading(bool Valid, const TNotifyEvent& Event, Signal Sig, Write write)
{
    if (!Valid)
        return;
    {
        Quiet quiet(this);
        write();
    }
    Invalidate();
    Fire(Event, Sig);
}

void TNTabEd::SetColName(int ColNr, const TDTNameStr& v)
{
    WriteHeading(ColNr >= 1 && ColNr <= NrOfColumns(), OnHeadingChanged, &TNTabEd::headingChanged,
                 [&] { FData->SetColName(ColNr, v); });
}

void TNTabEd::SetRowName(int RowNr, const TDTNameStr& v)
{
    WriteHeading(RowNr >= 1 && RowNr <= NrOfRows(), OnHeadingChanged, &TNTabEd::headingChanged,
                 [&] { FData->SetRowName(RowNr, v); });
}

void TNTabEd::SetColAttrib(int ColNr, std::uint8_t v)
{
    WriteHeading(ColNr >= 1 && ColNr <= NrOfColumns(), OnAttributeChanged, &TNTabEd::attributeChanged,
                 [&] { FData->SetColAttrib(ColNr, v); });
}

void TNTabEd::SetRowAttrib(int RowNr, std::uint8_t v)
{
    WriteHeading(RowNr >= 1 && RowNr <= NrOfRows(), OnAttributeChanged, &TNTabEd::attributeChanged,
                 [&] { FData->SetRowAttrib(RowNr, v); });
}

void TNTabEd::SetComment(const QString& v)
{
    FData->SetFComment(RemoveControlChars(v));
}

// ---------------------------------------------------------------------------------------------
// Fitting sizes

int TNTabEd::AutoRowHeight(int RowNr, int Addon)
{
    TCanvas* cv = Canvas();
    cv->Font()->Assign(*Font());
    const int h = std::max(8, cv->TextHeight(QStringLiteral("9GMgÜ$§[{|")) + Addon + 2);
    SetRowHeights(RowNr, h);
    return h;
}

int TNTabEd::AutoColWidth(int ColNr, bool IncludeHeader, int Addon)
{
    if (ColNr < -1 || ColNr > NrOfColumns())
        return 0;
    TCanvas* cv = Canvas();
    cv->Font()->Assign(*Font());
    int widest = 0;
    auto fit = [&](const QString& s) { widest = std::max(widest, cv->TextWidth(s)); };
    if (ColNr == -1) {
        fit(IncludeHeader ? QStringLiteral("Attrib") : QStringLiteral("255"));
    } else if (ColNr == 0) {
        fit(QStringLiteral("999:9999"));
        for (int r = 1; r <= NrOfRows(); ++r)
            fit(RowName(r));
    } else {
        if (IncludeHeader)
            fit(ColName(ColNr));
        fit(NTabNumberText(ColAttrib(ColNr), 0, 1));
        // Number texts hold digits, signs, points, "E" and blanks, which do not kern: their
        // widths add up from the characters, so a million rows need no shaping.
        const QFontMetrics fm(cv->Font()->ToQFont());
        std::array<int, 128> advance{};
        for (int ch = 32; ch < 128; ++ch)
            advance[std::size_t(ch)] = fm.horizontalAdvance(QChar(ch));
        for (int r = 1; r <= NrOfRows(); ++r) {
            const QString t = IsNominal(ColNr) ? EditText(ColNr, r)
                                               : NTabNumberText(Elem(ColNr, r), ColPrecision(ColNr), FNumWidth);
            int w = 0;
            for (QChar ch : t)
                w += ch.unicode() < 128 ? advance[ch.unicode()] : fm.horizontalAdvance(ch);
            widest = std::max(widest, w);
        }
    }
    const int width = std::max(4, widest + Addon + 8);
    SetColWidths(ColNr, width);
    return width;
}

} // namespace qor
