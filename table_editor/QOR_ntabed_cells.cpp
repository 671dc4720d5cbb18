// TNTabEd: cell values and states, marks, bulk edits, structural edits and sorting.
#include "QOR_ntabed.h"

#include <algorithm>
#include <cmath>

namespace qor {

// ---------------------------------------------------------------------------------------------
// Values and states

void TNTabEd::SetElem(int ACol, int ARow, double v)
{
    if (std::isfinite(v))
        FData->SetElem(ACol, ARow, ClampToRange(v));
}

// A number stored by an edit, a paste or an extraction: held to the range; flags 1 and 2 go,
// lock and marks stay (the table's SetElem does exactly that).
void TNTabEd::StoreNumber(int ACol, int ARow, double v)
{
    SetElem(ACol, ARow, v);
}

void TNTabEd::SetCellState(int ACol, int ARow, std::uint8_t v)
{
    if (ACol < 1 || ACol > NrOfColumns() || ARow < 1 || ARow > NrOfRows())
        return;
    const bool emptyChanged = ((CellState(ACol, ARow) ^ v) & csEmpty) != 0;
    {
        Quiet quiet(this);
        FData->SetCellState(ACol, ARow, v);
    }
    if (IsDataCell(Col(), Row()))
        SetEditing(MayEdit(Col(), Row()));
    Invalidate();
    CellStatesChanged();
    if (emptyChanged)
        EmptyStatesChanged();
}

void TNTabEd::SetMarkFlag(int ACol, int ARow, std::uint8_t Flag, bool On)
{
    if (ACol >= 1 && ACol <= NrOfColumns() && ARow >= 1 && ARow <= NrOfRows()) {
        const std::uint8_t s = CellState(ACol, ARow);
        Quiet quiet(this);
        FData->SetCellState(ACol, ARow, On ? std::uint8_t(s | Flag) : std::uint8_t(s & ~Flag));
    }
    Invalidate();
    CellStatesChanged();
}

void TNTabEd::SetIsEmpty(int ACol, int ARow, bool v)
{
    if (ACol < 1 || ACol > NrOfColumns() || ARow < 1 || ARow > NrOfRows())
        return;
    const std::uint8_t s = CellState(ACol, ARow);
    {
        Quiet quiet(this);
        FData->SetCellState(ACol, ARow, v ? std::uint8_t(s | csEmpty) : std::uint8_t(s & ~csEmpty));
    }
    Invalidate();
    EmptyStatesChanged();
}

bool TNTabEd::IfRowMarked(int RowNr) const
{
    for (int c = 1; RowNr >= 1 && RowNr <= NrOfRows() && c <= NrOfColumns(); ++c)
        if (CellState(c, RowNr) & (csMarkedA | csMarkedB))
            return true;
    return false;
}

bool TNTabEd::IfColumnMarked(int ColNr) const
{
    for (int r = 1; ColNr >= 1 && ColNr <= NrOfColumns() && r <= NrOfRows(); ++r)
        if (CellState(ColNr, r) & (csMarkedA | csMarkedB))
            return true;
    return false;
}

bool TNTabEd::IfAnyMarked() const
{
    return CountStates(csMarkedA | csMarkedB) > 0;
}

int TNTabEd::CountStates(std::uint8_t Flag) const
{
    int n = 0;
    for (int r = 1; r <= NrOfRows(); ++r)
        for (int c = 1; c <= NrOfColumns(); ++c)
            n += (CellState(c, r) & Flag) ? 1 : 0;
    return n;
}

void TNTabEd::ChangeAllStates(std::uint8_t Set, std::uint8_t Clear)
{
    {
        Quiet quiet(this);
        for (int r = 1; r <= NrOfRows(); ++r)
            for (int c = 1; c <= NrOfColumns(); ++c)
                FData->SetCellState(c, r, std::uint8_t((CellState(c, r) & ~Clear) | Set));
    }
    Invalidate();
    CellStatesChanged();
}

void TNTabEd::InvertCellStates(std::uint8_t StateMask)
{
    {
        Quiet quiet(this);
        FData->InvertCellStates(StateMask);
    }
    SetEditing(MayEdit(Col(), Row()));
    Invalidate();
    CellStatesChanged();
}

void TNTabEd::ExchangeMarkings()
{
    {
        Quiet quiet(this);
        FData->ExchangeMarkings();
    }
    Invalidate();
    CellStatesChanged();
}

int TNTabEd::FillMarkedCells(double Value, std::uint8_t StateMask)
{
    if (!std::isfinite(Value))
        return 0;
    int n = 0;
    {
        PaintHold hold(this);
        n = FData->FillMarkedCells(Value, StateMask);
    }
    if (n > 0)
        Changed();
    return n;
}

void TNTabEd::Fill(double Value)
{
    if (std::isfinite(Value))
        FData->Elements()->Fill(Value);
}

void TNTabEd::Clear()
{
    HideEditor();
    {
        Quiet quiet(this);
        FData->Clear();
        for (int c = 1; c <= NrOfColumns(); ++c)
            FData->SetColName(c, QStringLiteral("C-%1").arg(c));
        for (int r = 1; r <= NrOfRows(); ++r)
            FData->SetRowName(r, QStringLiteral("R-%1").arg(r));
        std::fill(FDecP.begin(), FDecP.end(), std::int8_t(3));
    }
    Invalidate();
    Changed();
}

// ---------------------------------------------------------------------------------------------
// Structure

// A structural edit or a sort: with painting held, then one repaint, and what changed is told
// once: the size, or the order of the values. The cursor may stand on another cell after it.
template <class Edit>
void TNTabEd::StructuralEdit(bool SizeChanges, Edit edit)
{
    HideEditor();
    {
        PaintHold hold(this);
        Allocating(edit);
    }
    SetEditing(MayEdit(Col(), Row()));
    Invalidate();
    if (SizeChanges)
        ChangedSetup();
    else
        Changed();
}

void TNTabEd::InsertRow(int Ix)
{
    if (Ix >= 1 && Ix <= NrOfRows() + 1)
        StructuralEdit(true, [&] {
            ReserveLayout(NrOfColumns(), NrOfRows() + 1);
            FData->InsertRow(Ix);
        });
}

void TNTabEd::InsertColumn(int Ix)
{
    if (Ix >= 1 && Ix <= NrOfColumns() + 1)
        StructuralEdit(true, [&] {
            ReserveLayout(NrOfColumns() + 1, NrOfRows());
            FData->InsertColumn(Ix);
        });
}

void TNTabEd::RemoveRow(int Ix)
{
    if (Ix >= 1 && Ix <= NrOfRows() && NrOfRows() >= 2)
        StructuralEdit(true, [&] { FData->RemoveRow(Ix); });
}

void TNTabEd::RemoveColumn(int Ix)
{
    if (Ix >= 1 && Ix <= NrOfColumns() && NrOfColumns() >= 2)
        StructuralEdit(true, [&] { FData->RemoveColumn(Ix); });
}

void TNTabEd::MirrorRows()
{
    StructuralEdit(false, [&] { FData->MirrorRows(); });
}

void TNTabEd::MirrorColumns()
{
    StructuralEdit(false, [&] { FData->MirrorColumns(); });
}

// ---------------------------------------------------------------------------------------------
// Sorting

void TNTabEd::SortRows(int SortColIx, bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow,
                       bool IncludeHeaders)
{
    StructuralEdit(false, [&] {
        FData->SortRowsInRange(SortColIx, Ascending, LowCol, LowRow, HighCol, HighRow, IncludeHeaders);
    });
}

void TNTabEd::SortCols(int SortRowIx, bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow,
                       bool IncludeHeaders)
{
    StructuralEdit(false, [&] {
        FData->SortColumnsInRange(SortRowIx, Ascending, LowCol, LowRow, HighCol, HighRow, IncludeHeaders);
    });
}

void TNTabEd::SortRowAttributes(bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow)
{
    StructuralEdit(false, [&] { FData->SortRowsByAttrib(Ascending, LowCol, LowRow, HighCol, HighRow); });
}

void TNTabEd::SortColAttributes(bool Ascending, int LowCol, int LowRow, int HighCol, int HighRow)
{
    StructuralEdit(false, [&] { FData->SortColumnsByAttrib(Ascending, LowCol, LowRow, HighCol, HighRow); });
}

void TNTabEd::SortColNames(bool Ascending, bool IgnoreCase)
{
    StructuralEdit(false, [&] { FData->SortColumnsByName(Ascending, IgnoreCase); });
}

void TNTabEd::SortRowNames(bool Ascending, bool IgnoreCase)
{
    StructuralEdit(false, [&] { FData->SortRowsByName(Ascending, IgnoreCase); });
}

// ---------------------------------------------------------------------------------------------
// The selection in data terms

bool TNTabEd::SelectedBlock(int& L, int& T, int& R, int& B) const
{
    const TGridRect sel = Selection();
    L = std::max(1, DataCol(sel.Left));
    T = std::max(1, DataRow(sel.Top));
    R = std::min(NrOfColumns(), DataCol(sel.Right));
    B = std::min(NrOfRows(), DataRow(sel.Bottom));
    return L <= R && T <= B;
}

void TNTabEd::SelectBlock(int L, int T, int R, int B)
{
    SetSelection(TGridRect{GridCol(L), GridRow(T), GridCol(R), GridRow(B)});
    ReportSelection();
}

void TNTabEd::MarkScope(TMarkScope Scope, std::uint8_t Flag, bool On)
{
    int L = 1, T = 1, R = NrOfColumns(), B = NrOfRows();
    if (Scope != TMarkScope::All) {
        int sl, st, sr, sb;
        if (!SelectedBlock(sl, st, sr, sb))
            return;
        if (Scope != TMarkScope::Row) {
            L = sl;
            R = sr;
        }
        if (Scope != TMarkScope::Column) {
            T = st;
            B = sb;
        }
    }
    {
        Quiet quiet(this);
        for (int r = T; r <= B; ++r)
            for (int c = L; c <= R; ++c) {
                const std::uint8_t s = CellState(c, r);
                FData->SetCellState(c, r, On ? std::uint8_t(s | Flag) : std::uint8_t(s & ~Flag));
            }
    }
    Invalidate();
    CellStatesChanged();
}

void TNTabEd::ClearSelection()
{
    int L, T, R, B;
    if (!SelectedBlock(L, T, R, B))
        return;
    HideEditor();
    {
        Quiet quiet(this);
        for (int r = T; r <= B; ++r)
            for (int c = L; c <= R; ++c)
                if (!(CellState(c, r) & csLocked)) {
                    FData->Elements()->Set(c, r, 0.0);
                    FData->SetCellState(c, r, 0);
                }
    }
    Invalidate();
    Changed();
    CellStatesChanged();
}

void TNTabEd::SelectAllCells()
{
    if (NrOfColumns() > 0 && NrOfRows() > 0)
        SelectBlock(1, 1, NrOfColumns(), NrOfRows());
}

void TNTabEd::ToggleEmptyStates()
{
    int L, T, R, B;
    if (!SelectedBlock(L, T, R, B))
        return;
    {
        Quiet quiet(this);
        for (int r = T; r <= B; ++r)
            for (int c = L; c <= R; ++c)
                FData->SetCellState(c, r, std::uint8_t(CellState(c, r) ^ csEmpty));
    }
    Invalidate();
    EmptyStatesChanged();
}

void TNTabEd::ResetAllEmptyStates()
{
    ChangeAllStates(0, csEmpty);
    EmptyStatesChanged();
}

} // namespace qor
