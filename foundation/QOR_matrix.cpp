#include "QOR_matrix.h"

#include <algorithm>

namespace qor {

void TMatrix::ExchangeRows(int Row1, int Row2)
{
    if (!Valid(1, Row1) || !Valid(1, Row2) || Row1 == Row2)
        return;
    std::swap_ranges(FData.begin() + std::ptrdiff_t(Index(1, Row1)), FData.begin() + std::ptrdiff_t(Index(1, Row1) + FNrCols),
                     FData.begin() + std::ptrdiff_t(Index(1, Row2)));
}

void TMatrix::ExchangeColumns(int Col1, int Col2)
{
    if (!Valid(Col1, 1) || !Valid(Col2, 1) || Col1 == Col2)
        return;
    for (int r = 1; r <= FNrRows; ++r)
        std::swap(FData[Index(Col1, r)], FData[Index(Col2, r)]);
}

void TMatrix::InsertRow(int Ix)
{
    if (Ix < 1 || Ix > FNrRows + 1)
        return;
    Resize(FNrCols, FNrRows + 1);
    for (int r = FNrRows; r > Ix; --r)
        ExchangeRows(r, r - 1);
}

void TMatrix::RemoveRow(int Ix)
{
    if (Ix < 1 || Ix > FNrRows)
        return;
    for (int c = 1; c <= FNrCols; ++c)
        FData[Index(c, Ix)] = 0;
    for (int r = Ix; r < FNrRows; ++r)
        ExchangeRows(r, r + 1);
    Resize(FNrCols, FNrRows - 1);
}

void TMatrix::InsertColumn(int Ix)
{
    if (Ix < 1 || Ix > FNrCols + 1)
        return;
    Resize(FNrCols + 1, FNrRows);
    for (int c = FNrCols; c > Ix; --c)
        ExchangeColumns(c, c - 1);
}

void TMatrix::RemoveColumn(int Ix)
{
    if (Ix < 1 || Ix > FNrCols)
        return;
    for (int c = Ix; c < FNrCols; ++c)
        ExchangeColumns(c, c + 1);
    Resize(FNrCols - 1, FNrRows);
}

} // namespace qor
