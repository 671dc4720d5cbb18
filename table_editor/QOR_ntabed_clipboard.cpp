// TNTabEd: copy, paste and extraction through the clipboard.
#include "QOR_ntabed.h"

#include <QOR_NumText.h>

namespace qor {

void TNTabEd::CopySelection()
{
    int L, T, R, B;
    if (!SelectedBlock(L, T, R, B))
        return;
    // The block and its text are made aside and taken over only when both are complete: a copy
    // that runs out of memory keeps the block copied before it.
    std::unique_ptr<TDataTable> copy;
    QString text;
    Allocating([&] {
        copy = std::make_unique<TDataTable>(nullptr);
        copy->Resize(R - L + 1, B - T + 1);
        for (int r = T; r <= B; ++r) {
            for (int c = L; c <= R; ++c) {
                const double v = Elem(c, r);
                copy->Elements()->Set(c - L + 1, r - T + 1, v);
                copy->SetCellState(c - L + 1, r - T + 1, CellState(c, r));
                text += c == L ? QLatin1Char(' ') : QLatin1Char('\t');
                if (!IsNumber(c, r))
                    text += QLatin1String("####");
                else if (FClipboardUseFullPrec)
                    text += FormatRealStr(22, -1, v);
                else
                    text += FormatRealStr(1, ColPrecision(c), v);
            }
            text += QLatin1String("\r\n");
        }
        SetClipboardText(text);
    });
    FCopy.swap(copy);
    FCopyHeld = true;
    ApplyMasks();
}

bool TNTabEd::PasteCopy()
{
    int L, T, R, B;
    if (!FCopyHeld || !SelectedBlock(L, T, R, B))
        return false;
    HideEditor();
    const int right = std::min(NrOfColumns(), L + FCopy->NrOfColumns() - 1);
    const int bottom = std::min(NrOfRows(), T + FCopy->NrOfRows() - 1);
    {
        Quiet quiet(this);
        for (int r = T; r <= bottom; ++r)
            for (int c = L; c <= right; ++c) {
                if (CellState(c, r) & csLocked)
                    continue;
                FData->Elements()->Set(c, r, ClampToRange(FCopy->GetElem(c - L + 1, r - T + 1)));
                FData->SetCellState(c, r, FCopy->GetCellState(c - L + 1, r - T + 1));
            }
    }
    Invalidate();
    Changed();
    CellStatesChanged();
    Notify(this, OnPaste, &TNTabEd::pasted);
    SelectBlock(L, T, right, bottom);
    return true;
}

bool TNTabEd::ExtractFromClipboard()
{
    int L, T, R, B;
    const QString text = ClipboardText();
    if (text.isEmpty() || !SelectedBlock(L, T, R, B))
        return false;
    HideEditor();
    int right = 0, bottom = 0;
    {
        Quiet quiet(this);
        ScanClipNumbers(text, [&](int col, int row, double v) {
            const int c = L + col, r = T + row;
            right = std::max(right, c);
            bottom = std::max(bottom, r);
            if (c <= NrOfColumns() && r <= NrOfRows() && !(CellState(c, r) & csLocked))
                StoreNumber(c, r, v);
        });
    }
    if (right == 0)
        return false;
    Invalidate();
    Changed();
    Notify(this, OnPaste, &TNTabEd::pasted);
    SelectBlock(L, T, std::min(right, NrOfColumns()), std::min(bottom, NrOfRows()));
    return true;
}

bool TNTabEd::GetClipMatrixSize(int& NCols, int& NRows) const
{
    return ClipMatrixSize(ClipboardText(), NCols, NRows);
}

} // namespace qor
