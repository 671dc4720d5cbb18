// Matrices of the math package: a matrix of doubles and a matrix of integers, both indexed
// [col, row] from 1. Out-of-range reads give 0, out-of-range writes are ignored.
#pragma once

#include <QOR_SysUtils.h>

#include <QOR_Classes.h>

#include <QObject>
#include <vector>

namespace qor {

// The storage both matrices share: NrOfColumns x NrOfRows values of T, row by row, indexed
// [Col, Row] from 1.
template <typename T>
class TMatrixStore {
public:
    // Number of columns (0 or more).
    int NrOfColumns() const { return FNrCols; }
    // Number of rows (0 or more).
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
    // Value at [Col, Row]; 0 outside the matrix.
    T Get(int Col, int Row) const { return Valid(Col, Row) ? FData[Index(Col, Row)] : T(0); }
    // Stores Value at [Col, Row]; ignored outside the matrix.
    void Set(int Col, int Row, T Value)
    {
        if (Valid(Col, Row))
            FData[Index(Col, Row)] = Value;
    }
    // Sets every element to Value; the size stays.
    void Fill(T Value) { std::fill(FData.begin(), FData.end(), Value); }
    // True when [Col, Row] lies inside the matrix (both from 1).
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

// A matrix of doubles with row and column exchange, insertion and removal.
class KORVANE_EXPORT TMatrix : public TComponent, public TMatrixStore<double> {
    Q_OBJECT
public:
    // A matrix of NrCols x NrRows zeros owned by AOwner.
    explicit TMatrix(QObject* AOwner = nullptr, int NrCols = 0, int NrRows = 0) : TComponent(AOwner) { Resize(NrCols, NrRows); }
    // Same as Get.
    double Elem(int Col, int Row) const { return Get(Col, Row); }
    // Same as Set.
    void SetElem(int Col, int Row, double Value) { Set(Col, Row, Value); }
    // Exchanges two rows / two columns (ignored when out of range).
    void ExchangeRows(int Row1, int Row2);
    // The column counterpart of ExchangeRows.
    void ExchangeColumns(int Col1, int Col2);
    // Inserts an all-zero row / column before Ix (1..count + 1); removes row / column Ix.
    void InsertRow(int Ix);
    // Removes row Ix (1..NrOfRows); the rows below move up. Other values are ignored.
    void RemoveRow(int Ix);
    // Inserts an all-zero column before Ix (1..NrOfColumns + 1).
    void InsertColumn(int Ix);
    // Removes column Ix (1..NrOfColumns); the columns after it move left.
    void RemoveColumn(int Ix);
};

// A matrix of integers.
class KORVANE_EXPORT TIntMatrix : public TComponent, public TMatrixStore<int> {
    Q_OBJECT
public:
    // A matrix of NrCols x NrRows zeros owned by AOwner.
    explicit TIntMatrix(QObject* AOwner = nullptr, int NrCols = 0, int NrRows = 0) : TComponent(AOwner) { Resize(NrCols, NrRows); }
    // Same as Get.
    int GetVal(int Col, int Row) const { return Get(Col, Row); }
    // Same as Set.
    void SetVal(int Col, int Row, int Value) { Set(Col, Row, Value); }
    // Changes the row count only, keeping the content (rows are added at the end, zero).
    void SetNRows(int NrRows) { Resize(FNrCols, NrRows); }
    // Same as NrOfRows.
    int NRows() const { return FNrRows; }
    // Same as NrOfColumns.
    int NCols() const { return FNrCols; }
};

} // namespace qor
