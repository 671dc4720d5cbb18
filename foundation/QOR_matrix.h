// Matrices of the math package: a matrix of doubles and a matrix of integers, both indexed
// [col, row] from 1. Out-of-range reads give 0, out-of-range writes are ignored.
#pragma once

#include <QOR_SysUtils.h>

#include <QOR_Classes.h>

#include <QObject>
#include <vector>

namespace qor {

template <typename T>
class TMatrixStore {
public:
    int NrOfColumns() const { return FNrCols; }
    int NrOfRows() const { return FNrRows; }
    // Content that still fits is kept; new cells are 0. Negative sizes count as 0.
    void Resize(int NrCols, int NrRows)
    {
        NrCols = NrCols < 0 ? 0 : NrCols;
        NrRows = NrRows < 0 ? 0 : NrRows;
        if (NrCols == FNrCols && NrRows == FNrRows)
            return;
        if (NrCols == FNrCols) {
            // Rows are stored one after another: the kept ones stay where they are, and growing
            // row by row costs amortized constant time instead of a copy of the whole table.
            FData.resize(std::size_t(NrCols) * std::size_t(NrRows), T(0));
            FNrRows = NrRows;
            return;
        }
        std::vector<T> data(std::size_t(NrCols) * std::size_t(NrRows), T(0));
        const int nc = NrCols < FNrCols ? NrCols : FNrCols;
        const int nr = NrRows < FNrRows ? NrRows : FNrRows;
        for (int r = 0; r < nr; ++r)
            for (int c = 0; c < nc; ++c)
                data[std::size_t(r) * std::size_t(NrCols) + std::size_t(c)] = FData[Index(c + 1, r + 1)];
        FData.swap(data);
        FNrCols = NrCols;
        FNrRows = NrRows;
    }
    T Get(int Col, int Row) const { return Valid(Col, Row) ? FData[Index(Col, Row)] : T(0); }
    void Set(int Col, int Row, T Value)
    {
        if (Valid(Col, Row))
            FData[Index(Col, Row)] = Value;
    }
    void Fill(T Value) { std::fill(FData.begin(), FData.end(), Value); }
    bool Valid(int Col, int Row) const { return Col >= 1 && Col <= FNrCols && Row >= 1 && Row <= FNrRows; }

protected:
    std::size_t Index(int Col, int Row) const
    {
        return std::size_t(Row - 1) * std::size_t(FNrCols) + std::size_t(Col - 1);
    }
    int FNrCols = 0;
    int FNrRows = 0;
    std::vector<T> FData;   // row by row
};

class KORVANE_EXPORT TMatrix : public TComponent, public TMatrixStore<double> {
    Q_OBJECT
public:
    explicit TMatrix(QObject* AOwner = nullptr, int NrCols = 0, int NrRows = 0) : TComponent(AOwner) { Resize(NrCols, NrRows); }
    double Elem(int Col, int Row) const { return Get(Col, Row); }
    void SetElem(int Col, int Row, double Value) { Set(Col, Row, Value); }
    // Exchanges two rows / two columns (ignored when out of range).
    void ExchangeRows(int Row1, int Row2);
    void ExchangeColumns(int Col1, int Col2);
    // Inserts an all-zero row / column before Ix (1..count + 1); removes row / column Ix.
    void InsertRow(int Ix);
    void RemoveRow(int Ix);
    void InsertColumn(int Ix);
    void RemoveColumn(int Ix);
};

class KORVANE_EXPORT TIntMatrix : public TComponent, public TMatrixStore<int> {
    Q_OBJECT
public:
    explicit TIntMatrix(QObject* AOwner = nullptr, int NrCols = 0, int NrRows = 0) : TComponent(AOwner) { Resize(NrCols, NrRows); }
    int GetVal(int Col, int Row) const { return Get(Col, Row); }
    void SetVal(int Col, int Row, int Value) { Set(Col, Row, Value); }
    // Changes the row count only, keeping the content (rows are added at the end, zero).
    void SetNRows(int NrRows) { Resize(FNrCols, NrRows); }
    int NRows() const { return FNrRows; }
    int NCols() const { return FNrCols; }
};

} // namespace qor
