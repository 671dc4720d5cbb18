#include "QOR_datatable.h"
#include <QOR_Text_p.h>

#include <algorithm>
#include <cmath>
#include <new>
#include <numeric>
#include <utility>

namespace qor {

QString MScaleTypeNames(int ScaleType)
{
    static const char* const Names[] = {"undefined", "nominal", "binary", "ordinal", "interval", "ratio"};
    if (ScaleType < 0 || ScaleType > MaxMScaleType)
        return QString();
    return QString::fromLatin1(Names[ScaleType]);
}

TDataTable::TDataTable(QObject* AOwner) : TComponent(AOwner), FElems(std::make_unique<TMatrix>())
{
}

TDataTable::~TDataTable() = default;

void TDataTable::DataChanged()
{
    if (OnDataChanged)
        OnDataChanged(this);
}

void TDataTable::SetupChanged()
{
    if (OnSetupChanged)
        OnSetupChanged(this);
}

void TDataTable::Resized(int OldCols)
{
    if (OnResize)
        OnResize(this, OldCols, FNrCols, FNrRows);
    DataChanged();
}

void TDataTable::StructureChanged(TDTStructureEdit Kind, int Ix)
{
    if (OnStructureChanged)
        OnStructureChanged(this, Kind, Ix);
}

void TDataTable::ClearHooks()
{
    OnDataChanged = nullptr;
    OnSetupChanged = nullptr;
    OnPercentDone = nullptr;
    OnResize = nullptr;
    OnSortExchange = nullptr;
    OnStructureChanged = nullptr;
}

void TDataTable::Resize(int NrCols, int NrRows)
{
    const int oldCols = FNrCols;
    ResizeQuietly(NrCols, NrRows);
    Resized(oldCols);
}

void TDataTable::ResizeQuietly(int NrCols, int NrRows)
{
    NrCols = std::max(0, NrCols);
    NrRows = std::max(0, NrRows);
    if (NrCols == FNrCols && NrRows == FNrRows)
        return;
    // A value and a state byte per cell. Sizes beyond what the machine has free are refused
    // before anything is touched (asking the system only for big tables).
    const double bytes = double(NrCols) * double(NrRows) * double(sizeof(double) + 1);
    if (bytes > double(1 << 26) && bytes > double(AvailableMemoryBytes()))
        throw std::bad_alloc();
    // Every new part is had first; then nothing can fail.
    std::vector<std::uint8_t> states(std::size_t(NrCols) * std::size_t(NrRows), csEmpty);
    const int nc = std::min(NrCols, FNrCols), nr = std::min(NrRows, FNrRows);
    for (int r = 1; r <= nr; ++r)
        std::copy_n(FStates.begin() + std::ptrdiff_t(StateIx(1, r)), nc,
                    states.begin() + std::ptrdiff_t(std::size_t(r - 1) * std::size_t(NrCols)));
    for (auto* v : {&FColNames, &FRowNames})
        v->reserve(std::size_t(v == &FColNames ? NrCols : NrRows));
    FColAttrib.reserve(std::size_t(NrCols));
    FScaleType.reserve(std::size_t(NrCols));
    FNominal.reserve(std::size_t(NrCols));
    FRowAttrib.reserve(std::size_t(NrRows));
    FElems->Resize(NrCols, NrRows);
    FStates.swap(states);
    FColNames.resize(std::size_t(NrCols));
    FColAttrib.resize(std::size_t(NrCols), 0);
    FScaleType.resize(std::size_t(NrCols), mstUndefined);
    FNominal.resize(std::size_t(NrCols));
    FRowNames.resize(std::size_t(NrRows));
    FRowAttrib.resize(std::size_t(NrRows), 0);
    FNrCols = NrCols;
    FNrRows = NrRows;
}

void TDataTable::SetElem(int Col, int Row, double Value)
{
    if (!ValidCell(Col, Row))
        return;
    FElems->Set(Col, Row, Value);
    FStates[StateIx(Col, Row)] &= std::uint8_t(~(csInvalid | csEmpty));
    DataChanged();
}

std::uint8_t TDataTable::GetCellState(int Col, int Row) const
{
    return ValidCell(Col, Row) ? FStates[StateIx(Col, Row)] : csEmpty;
}

void TDataTable::SetCellState(int Col, int Row, std::uint8_t State)
{
    if (!ValidCell(Col, Row))
        return;
    FStates[StateIx(Col, Row)] = State;
    DataChanged();
}

bool TDataTable::GetIsNumber(int Col, int Row) const
{
    return ValidCell(Col, Row) && (FStates[StateIx(Col, Row)] & (csInvalid | csEmpty)) == 0;
}

TDTNameStr TDataTable::GetColName(int Col) const
{
    return (Col >= 1 && Col <= FNrCols) ? FColNames[std::size_t(Col - 1)] : QString();
}

void TDataTable::SetColName(int Col, const TDTNameStr& Name)
{
    if (Col < 1 || Col > FNrCols)
        return;
    FColNames[std::size_t(Col - 1)] = CutToLength(Name, MaxDTNameLength);
    DataChanged();
}

TDTNameStr TDataTable::GetRowName(int Row) const
{
    return (Row >= 1 && Row <= FNrRows) ? FRowNames[std::size_t(Row - 1)] : QString();
}

void TDataTable::SetRowName(int Row, const TDTNameStr& Name)
{
    if (Row < 1 || Row > FNrRows)
        return;
    FRowNames[std::size_t(Row - 1)] = CutToLength(Name, MaxDTNameLength);
    DataChanged();
}

std::uint8_t TDataTable::GetColAttrib(int Col) const
{
    return (Col >= 1 && Col <= FNrCols) ? FColAttrib[std::size_t(Col - 1)] : 0;
}

void TDataTable::SetColAttrib(int Col, std::uint8_t Value)
{
    if (Col < 1 || Col > FNrCols)
        return;
    FColAttrib[std::size_t(Col - 1)] = Value;
    SetupChanged();
}

std::uint8_t TDataTable::GetRowAttrib(int Row) const
{
    return (Row >= 1 && Row <= FNrRows) ? FRowAttrib[std::size_t(Row - 1)] : 0;
}

void TDataTable::SetRowAttrib(int Row, std::uint8_t Value)
{
    if (Row < 1 || Row > FNrRows)
        return;
    FRowAttrib[std::size_t(Row - 1)] = Value;
    SetupChanged();
}

int TDataTable::GetMScaleType(int Col) const
{
    return (Col >= 1 && Col <= FNrCols) ? FScaleType[std::size_t(Col - 1)] : int(mstUndefined);
}

void TDataTable::SetMScaleType(int Col, int ScaleType)
{
    if (Col < 1 || Col > FNrCols || ScaleType < 0 || ScaleType > MaxMScaleType)
        return;
    FScaleType[std::size_t(Col - 1)] = std::uint8_t(ScaleType);
    SetupChanged();
}

QString TDataTable::GetNominalID(int Col, int Ordinal) const
{
    if (Col < 1 || Col > FNrCols || Ordinal < 0 || Ordinal > MaxNominalOrdinal)
        return QString();
    const auto& table = FNominal[std::size_t(Col - 1)];
    return table ? (*table)[std::size_t(Ordinal)] : QString();
}

void TDataTable::SetNominalID(int Col, int Ordinal, const QString& ID)
{
    if (Col < 1 || Col > FNrCols || Ordinal < 0 || Ordinal > MaxNominalOrdinal)
        return;
    auto& table = FNominal[std::size_t(Col - 1)];
    if (!table)
        table = std::make_unique<NominalTable>();
    (*table)[std::size_t(Ordinal)] = CutToLength(ID, MaxNominalIDLength);
    SetupChanged();
}

int TDataTable::OrdinalOfNominalID(int Col, const QString& ID, bool IgnoreCase) const
{
    if (Col < 1 || Col > FNrCols)
        return -1;
    const auto& table = FNominal[std::size_t(Col - 1)];
    const QString id = ID.trimmed();
    if (!table || id.isEmpty())
        return -1;
    const auto cs = IgnoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive;
    for (int i = 0; i <= MaxNominalOrdinal; ++i)
        if ((*table)[std::size_t(i)].trimmed().compare(id, cs) == 0)
            return i;
    return -1;
}

void TDataTable::SetFComment(const QString& Text)
{
    FComment = Text;
    DataChanged();
}

void TDataTable::Clear()
{
    FElems->Fill(0);
    std::fill(FStates.begin(), FStates.end(), csEmpty);
    std::fill(FColNames.begin(), FColNames.end(), QString());
    std::fill(FRowNames.begin(), FRowNames.end(), QString());
    std::fill(FColAttrib.begin(), FColAttrib.end(), 0);
    std::fill(FRowAttrib.begin(), FRowAttrib.end(), 0);
    std::fill(FScaleType.begin(), FScaleType.end(), mstUndefined);
    for (auto& t : FNominal)
        t.reset();
    FComment.clear();
    DataChanged();
}

void TDataTable::SwapCells(int Col1, int Row1, int Col2, int Row2)
{
    const double v = FElems->Get(Col1, Row1);
    FElems->Set(Col1, Row1, FElems->Get(Col2, Row2));
    FElems->Set(Col2, Row2, v);
    std::swap(FStates[StateIx(Col1, Row1)], FStates[StateIx(Col2, Row2)]);
}

void TDataTable::ExchangeRows(int Row1, int Row2)
{
    if (Row1 < 1 || Row1 > FNrRows || Row2 < 1 || Row2 > FNrRows || Row1 == Row2)
        return;
    for (int c = 1; c <= FNrCols; ++c)
        SwapCells(c, Row1, c, Row2);
    SwapHeadings(true, Row1, Row2);
}

void TDataTable::ExchangeColumns(int Col1, int Col2)
{
    if (Col1 < 1 || Col1 > FNrCols || Col2 < 1 || Col2 > FNrCols || Col1 == Col2)
        return;
    for (int r = 1; r <= FNrRows; ++r)
        SwapCells(Col1, r, Col2, r);
    SwapHeadings(false, Col1, Col2);
}

void TDataTable::InsertColumn(int Ix)
{
    if (Ix < 1 || Ix > FNrCols + 1)
        return;
    const int oldCols = FNrCols;
    ResizeQuietly(FNrCols + 1, FNrRows);
    for (int c = FNrCols; c > Ix; --c)
        ExchangeColumns(c, c - 1);
    StructureChanged(dtsColumnInserted, Ix);
    Resized(oldCols);
}

void TDataTable::InsertRow(int Ix)
{
    if (Ix < 1 || Ix > FNrRows + 1)
        return;
    const int oldCols = FNrCols;
    ResizeQuietly(FNrCols, FNrRows + 1);
    for (int r = FNrRows; r > Ix; --r)
        ExchangeRows(r, r - 1);
    StructureChanged(dtsRowInserted, Ix);
    Resized(oldCols);
}

void TDataTable::RemoveColumn(int Ix)
{
    if (Ix < 1 || Ix > FNrCols)
        return;
    const int oldCols = FNrCols;
    for (int c = Ix; c < FNrCols; ++c)
        ExchangeColumns(c, c + 1);
    ResizeQuietly(FNrCols - 1, FNrRows);
    StructureChanged(dtsColumnRemoved, Ix);
    Resized(oldCols);
}

void TDataTable::RemoveRow(int Ix)
{
    if (Ix < 1 || Ix > FNrRows)
        return;
    const int oldCols = FNrCols;
    for (int r = Ix; r < FNrRows; ++r)
        ExchangeRows(r, r + 1);
    ResizeQuietly(FNrCols, FNrRows - 1);
    StructureChanged(dtsRowRemoved, Ix);
    Resized(oldCols);
}

void TDataTable::MirrorColumns()
{
    for (int a = 1, b = FNrCols; a < b; ++a, --b)
        ExchangeColumns(a, b);
    StructureChanged(dtsColumnsMirrored, 0);
    DataChanged();
}

void TDataTable::MirrorRows()
{
    for (int a = 1, b = FNrRows; a < b; ++a, --b)
        ExchangeRows(a, b);
    StructureChanged(dtsRowsMirrored, 0);
    DataChanged();
}

void TDataTable::CopyFrom(const TDataTable& Source)
{
    if (&Source == this)
        return;
    const int oldCols = FNrCols;
    // Copies first, so that a failure leaves the table as it was.
    auto elems = std::make_unique<TMatrix>();
    elems->Resize(Source.FNrCols, Source.FNrRows);
    for (int r = 1; r <= Source.FNrRows; ++r)
        for (int c = 1; c <= Source.FNrCols; ++c)
            elems->Set(c, r, Source.FElems->Get(c, r));
    auto states = Source.FStates;
    auto colNames = Source.FColNames, rowNames = Source.FRowNames;
    auto colAttrib = Source.FColAttrib, rowAttrib = Source.FRowAttrib, scaleType = Source.FScaleType;
    std::vector<std::unique_ptr<NominalTable>> nominal(Source.FNominal.size());
    for (std::size_t i = 0; i < nominal.size(); ++i)
        if (Source.FNominal[i])
            nominal[i] = std::make_unique<NominalTable>(*Source.FNominal[i]);
    FElems.swap(elems);
    FStates.swap(states);
    FColNames.swap(colNames);
    FRowNames.swap(rowNames);
    FColAttrib.swap(colAttrib);
    FRowAttrib.swap(rowAttrib);
    FScaleType.swap(scaleType);
    FNominal.swap(nominal);
    FComment = Source.FComment;
    FNrCols = Source.FNrCols;
    FNrRows = Source.FNrRows;
    Resized(oldCols);
}

void TDataTable::CopyStatesFrom(const TDataTable& Source)
{
    const int nc = std::min(FNrCols, Source.FNrCols), nr = std::min(FNrRows, Source.FNrRows);
    for (int r = 1; r <= nr; ++r)
        std::copy_n(Source.FStates.begin() + std::ptrdiff_t(Source.StateIx(1, r)), nc,
                    FStates.begin() + std::ptrdiff_t(StateIx(1, r)));
    DataChanged();
}

namespace {

// The lines First..Last ordered by an index comparison; equal lines keep their order.
template <class Less>
std::vector<int> SortedOrder(int First, int Last, Less less)
{
    std::vector<int> order(std::size_t(Last - First + 1));
    std::iota(order.begin(), order.end(), First);
    std::stable_sort(order.begin(), order.end(), less);
    return order;
}

// The key cells of a value sort, one per line, read once and compared where they lie (a
// comparison through line indices would miss the cache on every step of a large sort).
struct TLineKeys {
    struct TKey {
        double Value;
        int Line;
        bool Number;   // NaN counts as no number: it has no place among the numbers
    };
    std::vector<TKey> Keys;
    bool Ascending;
};

// Numbers first, in the asked direction, then the cells without a number; equal keys keep the
// order of their lines.
std::vector<int> SortedOrder(int, int, TLineKeys& keys)
{
    const bool up = keys.Ascending;
    std::sort(keys.Keys.begin(), keys.Keys.end(), [up](const TLineKeys::TKey& a, const TLineKeys::TKey& b) {
        if (a.Number != b.Number)
            return a.Number;
        if (a.Number && a.Value != b.Value)
            return up ? a.Value < b.Value : b.Value < a.Value;
        return a.Line < b.Line;
    });
    std::vector<int> order(keys.Keys.size());
    std::transform(keys.Keys.begin(), keys.Keys.end(), order.begin(), [](const TLineKeys::TKey& k) { return k.Line; });
    return order;
}

int FindName(const std::vector<QString>& names, const QString& name)
{
    const QString wanted = name.trimmed();
    for (std::size_t i = 0; i < names.size(); ++i)
        if (QStringView(names[i]).trimmed().compare(wanted, Qt::CaseInsensitive) == 0)
            return int(i) + 1;
    return 0;
}

} // namespace

int TDataTable::FindColName(const QString& Name) const
{
    return FindName(FColNames, Name);
}

int TDataTable::FindRowName(const QString& Name) const
{
    return FindName(FRowNames, Name);
}

void TDataTable::UnmarkAllCells()
{
    for (auto& s : FStates)
        s &= std::uint8_t(~(csMarkedA | csMarkedB));
    DataChanged();
}

void TDataTable::ExchangeMarkings()
{
    for (auto& s : FStates) {
        const std::uint8_t a = s & csMarkedA, b = s & csMarkedB;
        s = std::uint8_t((s & ~(csMarkedA | csMarkedB)) | (a ? csMarkedB : 0) | (b ? csMarkedA : 0));
    }
    DataChanged();
}

void TDataTable::InvertCellStates(std::uint8_t Mask)
{
    for (auto& s : FStates)
        s ^= Mask;
    DataChanged();
}

int TDataTable::FillMarkedCells(double Value, std::uint8_t Mask)
{
    int n = 0;
    for (int r = 1; r <= FNrRows; ++r)
        for (int c = 1; c <= FNrCols; ++c) {
            std::uint8_t& s = FStates[StateIx(c, r)];
            if ((s & Mask) && !(s & csLocked)) {
                FElems->Set(c, r, Value);
                s &= std::uint8_t(~(csInvalid | csEmpty));
                ++n;
            }
        }
    DataChanged();
    return n;
}

void TDataTable::SortRowsInRange(int KeyCol, bool Ascending, int FirstCol, int FirstRow, int LastCol, int LastRow,
                                 bool WithHeadings)
{
    SortRange(true, KeyCol, Ascending, FirstCol, FirstRow, LastCol, LastRow, WithHeadings);
}

void TDataTable::SortColumnsInRange(int KeyRow, bool Ascending, int FirstCol, int FirstRow, int LastCol, int LastRow,
                                    bool WithHeadings)
{
    SortRange(false, KeyRow, Ascending, FirstCol, FirstRow, LastCol, LastRow, WithHeadings);
}

void TDataTable::SortRange(bool ByRows, int Key, bool Ascending, int FirstCol, int FirstRow, int LastCol, int LastRow,
                           bool WithHeadings)
{
    FirstCol = std::max(1, FirstCol);
    FirstRow = std::max(1, FirstRow);
    LastCol = std::min(FNrCols, LastCol);
    LastRow = std::min(FNrRows, LastRow);
    if (ByRows ? (Key < 1 || Key > FNrCols) : (Key < 1 || Key > FNrRows))
        return;
    const int first = ByRows ? FirstRow : FirstCol;
    const int last = ByRows ? LastRow : LastCol;
    if (last - first < 1 || LastCol < FirstCol || LastRow < FirstRow)
        return;
    // The keys are read once into one array and sorted where they lie.
    TLineKeys keys{{}, Ascending};
    keys.Keys.reserve(std::size_t(last - first + 1));
    for (int i = first; i <= last; ++i) {
        const int c = ByRows ? Key : i, r = ByRows ? i : Key;
        const double v = FElems->Get(c, r);
        keys.Keys.push_back({v, i, GetIsNumber(c, r) && !std::isnan(v)});
    }
    SortLines(ByRows, first, last, ByRows ? FirstCol : FirstRow, ByRows ? LastCol : LastRow, WithHeadings, std::move(keys));
}

void TDataTable::SortColumnsByAttrib(bool Ascending, int FirstCol, int FirstRow, int LastCol, int LastRow)
{
    SortByAttrib(false, Ascending, FirstCol, FirstRow, LastCol, LastRow);
}

void TDataTable::SortRowsByAttrib(bool Ascending, int FirstCol, int FirstRow, int LastCol, int LastRow)
{
    SortByAttrib(true, Ascending, FirstCol, FirstRow, LastCol, LastRow);
}

void TDataTable::SortByAttrib(bool ByRows, bool Ascending, int FirstCol, int FirstRow, int LastCol, int LastRow)
{
    FirstCol = std::max(1, FirstCol);
    FirstRow = std::max(1, FirstRow);
    LastCol = std::min(FNrCols, LastCol);
    LastRow = std::min(FNrRows, LastRow);
    if (LastCol < FirstCol || LastRow < FirstRow)
        return;
    const std::vector<std::uint8_t>& attrib = ByRows ? FRowAttrib : FColAttrib;
    SortLines(ByRows, ByRows ? FirstRow : FirstCol, ByRows ? LastRow : LastCol, ByRows ? FirstCol : FirstRow,
              ByRows ? LastCol : LastRow, true, [&](int a, int b) {
                  const std::uint8_t x = attrib[std::size_t(a - 1)], y = attrib[std::size_t(b - 1)];
                  return Ascending ? x < y : y < x;
              });
}

void TDataTable::SortColumnsByName(bool Ascending, bool IgnoreCase)
{
    SortByName(false, Ascending, IgnoreCase);
}

void TDataTable::SortRowsByName(bool Ascending, bool IgnoreCase)
{
    SortByName(true, Ascending, IgnoreCase);
}

void TDataTable::SortByName(bool ByRows, bool Ascending, bool IgnoreCase)
{
    const std::vector<QString>& names = ByRows ? FRowNames : FColNames;
    const auto cs = IgnoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive;
    SortLines(ByRows, 1, ByRows ? FNrRows : FNrCols, 1, ByRows ? FNrCols : FNrRows, true, [&](int a, int b) {
        const int order = names[std::size_t(a - 1)].compare(names[std::size_t(b - 1)], cs);
        return Ascending ? order < 0 : order > 0;
    });
}

void TDataTable::SwapHeadings(bool Rows, int Ix1, int Ix2)
{
    const auto a = std::size_t(Ix1 - 1), b = std::size_t(Ix2 - 1);
    if (Rows) {
        std::swap(FRowNames[a], FRowNames[b]);
        std::swap(FRowAttrib[a], FRowAttrib[b]);
    } else {
        std::swap(FColNames[a], FColNames[b]);
        std::swap(FColAttrib[a], FColAttrib[b]);
        std::swap(FScaleType[a], FScaleType[b]);
        std::swap(FNominal[a], FNominal[b]);
    }
}

template <class Less>
void TDataTable::SortLines(bool ByRows, int First, int Last, int CellFirst, int CellLast, bool WithHeadings, Less less)
{
    if (Last - First < 1)
        return;
    if (OnPercentDone)
        OnPercentDone(this, 0);
    const std::vector<int> order = SortedOrder(First, Last, less);
    if (OnPercentDone)
        OnPercentDone(this, 50);
    // Reach the sorted order by exchanges, announcing each one.
    std::vector<int> at(order.size()), where(order.size());
    std::iota(at.begin(), at.end(), First);
    std::iota(where.begin(), where.end(), 0);
    FExchangingHeadings = WithHeadings;
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (at[k] == order[k])
            continue;
        const std::size_t j = std::size_t(where[std::size_t(order[k] - First)]);
        const int ix1 = First + int(k), ix2 = First + int(j);
        if (OnSortExchange)
            OnSortExchange(this, ByRows ? dtExchangeRows : dtExchangeColumns, ix1, ix2);
        for (int i = CellFirst; i <= CellLast; ++i) {
            if (ByRows)
                SwapCells(i, ix1, i, ix2);
            else
                SwapCells(ix1, i, ix2, i);
        }
        if (WithHeadings)
            SwapHeadings(ByRows, ix1, ix2);
        std::swap(at[k], at[j]);
        where[std::size_t(at[k] - First)] = int(k);
        where[std::size_t(at[j] - First)] = int(j);
    }
    FExchangingHeadings = false;
    if (OnPercentDone)
        OnPercentDone(this, 100);
    DataChanged();
}

} // namespace qor
