#include "QOR_datatable.h"

#include <algorithm>
#include <numeric>

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

void TDataTable::Resize(int NrCols, int NrRows)
{
    NrCols = std::max(0, NrCols);
    NrRows = std::max(0, NrRows);
    const int oldCols = FNrCols;
    if (NrCols != FNrCols || NrRows != FNrRows) {
        std::vector<std::uint8_t> states(std::size_t(NrCols) * std::size_t(NrRows), csEmpty);
        const int nc = std::min(NrCols, FNrCols), nr = std::min(NrRows, FNrRows);
        for (int r = 1; r <= nr; ++r)
            for (int c = 1; c <= nc; ++c)
                states[std::size_t(r - 1) * std::size_t(NrCols) + std::size_t(c - 1)] = FStates[StateIx(c, r)];
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
    Resized(oldCols);
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
    FColNames[std::size_t(Col - 1)] = Name.left(MaxDTNameLength);
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
    FRowNames[std::size_t(Row - 1)] = Name.left(MaxDTNameLength);
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
    (*table)[std::size_t(Ordinal)] = ID.left(MaxNominalIDLength);
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
    std::swap(FRowNames[std::size_t(Row1 - 1)], FRowNames[std::size_t(Row2 - 1)]);
    std::swap(FRowAttrib[std::size_t(Row1 - 1)], FRowAttrib[std::size_t(Row2 - 1)]);
}

void TDataTable::ExchangeColumns(int Col1, int Col2)
{
    if (Col1 < 1 || Col1 > FNrCols || Col2 < 1 || Col2 > FNrCols || Col1 == Col2)
        return;
    for (int r = 1; r <= FNrRows; ++r)
        SwapCells(Col1, r, Col2, r);
    const auto a = std::size_t(Col1 - 1), b = std::size_t(Col2 - 1);
    std::swap(FColNames[a], FColNames[b]);
    std::swap(FColAttrib[a], FColAttrib[b]);
    std::swap(FScaleType[a], FScaleType[b]);
    std::swap(FNominal[a], FNominal[b]);
}

void TDataTable::InsertColumn(int Ix)
{
    if (Ix < 1 || Ix > FNrCols + 1)
        return;
    const int oldCols = FNrCols;
    auto onResize = std::move(OnResize);
    Resize(FNrCols + 1, FNrRows);
    OnResize = std::move(onResize);
    for (int c = FNrCols; c > Ix; --c)
        ExchangeColumns(c, c - 1);
    Resized(oldCols);
}

void TDataTable::InsertRow(int Ix)
{
    if (Ix < 1 || Ix > FNrRows + 1)
        return;
    const int oldCols = FNrCols;
    auto onResize = std::move(OnResize);
    Resize(FNrCols, FNrRows + 1);
    OnResize = std::move(onResize);
    for (int r = FNrRows; r > Ix; --r)
        ExchangeRows(r, r - 1);
    Resized(oldCols);
}

void TDataTable::RemoveColumn(int Ix)
{
    if (Ix < 1 || Ix > FNrCols)
        return;
    const int oldCols = FNrCols;
    for (int c = Ix; c < FNrCols; ++c)
        ExchangeColumns(c, c + 1);
    auto onResize = std::move(OnResize);
    Resize(FNrCols - 1, FNrRows);
    OnResize = std::move(onResize);
    Resized(oldCols);
}

void TDataTable::RemoveRow(int Ix)
{
    if (Ix < 1 || Ix > FNrRows)
        return;
    const int oldCols = FNrCols;
    for (int r = Ix; r < FNrRows; ++r)
        ExchangeRows(r, r + 1);
    auto onResize = std::move(OnResize);
    Resize(FNrCols, FNrRows - 1);
    OnResize = std::move(onResize);
    Resized(oldCols);
}

void TDataTable::MirrorColumns()
{
    for (int a = 1, b = FNrCols; a < b; ++a, --b)
        ExchangeColumns(a, b);
    DataChanged();
}

void TDataTable::MirrorRows()
{
    for (int a = 1, b = FNrRows; a < b; ++a, --b)
        ExchangeRows(a, b);
    DataChanged();
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
    if (OnPercentDone)
        OnPercentDone(this, 0);
    auto keyCell = [&](int i, bool& isNum) {
        const int c = ByRows ? Key : i, r = ByRows ? i : Key;
        isNum = GetIsNumber(c, r);
        return FElems->Get(c, r);
    };
    std::vector<int> order(std::size_t(last - first + 1));
    std::iota(order.begin(), order.end(), first);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        bool na = false, nb = false;
        const double va = keyCell(a, na), vb = keyCell(b, nb);
        if (na != nb)
            return na;   // numbers first, whatever the direction
        if (!na)
            return false;
        return Ascending ? va < vb : vb < va;
    });
    if (OnPercentDone)
        OnPercentDone(this, 50);
    // Reach the sorted order by exchanges, announcing each one.
    std::vector<int> at(order.size()), where(order.size());
    std::iota(at.begin(), at.end(), first);
    std::iota(where.begin(), where.end(), 0);
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (at[k] == order[k])
            continue;
        const std::size_t j = std::size_t(where[std::size_t(order[k] - first)]);
        const int ix1 = first + int(k), ix2 = first + int(j);
        if (OnSortExchange)
            OnSortExchange(this, ByRows ? dtExchangeRows : dtExchangeColumns, ix1, ix2);
        if (ByRows) {
            for (int c = FirstCol; c <= LastCol; ++c)
                SwapCells(c, ix1, c, ix2);
            if (WithHeadings) {
                std::swap(FRowNames[std::size_t(ix1 - 1)], FRowNames[std::size_t(ix2 - 1)]);
                std::swap(FRowAttrib[std::size_t(ix1 - 1)], FRowAttrib[std::size_t(ix2 - 1)]);
            }
        } else {
            for (int r = FirstRow; r <= LastRow; ++r)
                SwapCells(ix1, r, ix2, r);
            if (WithHeadings) {
                const auto a = std::size_t(ix1 - 1), b = std::size_t(ix2 - 1);
                std::swap(FColNames[a], FColNames[b]);
                std::swap(FColAttrib[a], FColAttrib[b]);
                std::swap(FScaleType[a], FScaleType[b]);
                std::swap(FNominal[a], FNominal[b]);
            }
        }
        std::swap(at[k], at[j]);
        where[std::size_t(at[k] - first)] = int(k);
        where[std::size_t(at[j] - first)] = int(j);
    }
    if (OnPercentDone)
        OnPercentDone(this, 100);
    DataChanged();
}

} // namespace qor
