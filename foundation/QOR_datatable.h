// The numeric data table of the math package: a matrix of doubles with a state byte per cell,
// column and row names, attribute bytes, measurement scale types with nominal identifiers, a
// comment and the notifications a table editor hooks. All indices are 1-based; out-of-range
// reads give 0, an empty string or the empty state, out-of-range writes are ignored.
#pragma once

#include <QOR_matrix.h>
#include <QOR_qorbase.h>

#include <QOR_Classes.h>

#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace qor {

// Column and row names: at most 50 characters (cut on assignment).
using TDTNameStr = QString;
constexpr int MaxDTNameLength = 50;
// Nominal identifiers: at most 10 characters; ordinals 0..MaxNominalOrdinal.
constexpr int MaxNominalIDLength = 10;
constexpr int MaxNominalOrdinal = 150;

// Bits of the cell state byte.
constexpr std::uint8_t csInvalid = 1;     // holds no valid number
constexpr std::uint8_t csEmpty = 2;       // holds nothing
constexpr std::uint8_t csLocked = 16;     // not editable
constexpr std::uint8_t csMarkedA = 64;
constexpr std::uint8_t csMarkedB = 128;

// Measurement scale of a column. Types 1 and 2 are nominal: their cells hold ordinals of the
// column's nominal identifiers.
enum TMScaleType : std::uint8_t { mstUndefined, mstNominal, mstBinary, mstOrdinal, mstInterval, mstRatio };
constexpr int MaxMScaleType = 5;
// "undefined", "nominal", "binary", "ordinal", "interval", "ratio"; empty for other types.
KORVANE_EXPORT QString MScaleTypeNames(int ScaleType);

// Kind byte of the sort-exchange hook.
constexpr std::uint8_t dtExchangeRows = 0;
constexpr std::uint8_t dtExchangeColumns = 1;

class KORVANE_EXPORT TDataTable : public TComponent {
    Q_OBJECT
public:
    explicit TDataTable(QObject* AOwner = nullptr);
    ~TDataTable() override;

    int NrOfColumns() const { return FNrCols; }
    int NrOfRows() const { return FNrRows; }
    // Keeps content where it fits; new cells are empty; new names empty. Fires OnResize and
    // OnDataChanged. Negative sizes count as 0.
    void Resize(int NrCols, int NrRows);

    double GetElem(int Col, int Row) const { return FElems->Get(Col, Row); }
    double Elem(int Col, int Row) const { return GetElem(Col, Row); }
    // Stores the value and clears the invalid and empty bits; fires OnDataChanged.
    void SetElem(int Col, int Row, double Value);
    // The cells' values; Fill and direct writes bypass the cell states.
    TMatrix* Elements() const { return FElems.get(); }

    std::uint8_t GetCellState(int Col, int Row) const;
    void SetCellState(int Col, int Row, std::uint8_t State);
    // Neither invalid nor empty.
    bool GetIsNumber(int Col, int Row) const;

    TDTNameStr GetColName(int Col) const;
    void SetColName(int Col, const TDTNameStr& Name);
    TDTNameStr GetRowName(int Row) const;
    void SetRowName(int Row, const TDTNameStr& Name);
    std::uint8_t GetColAttrib(int Col) const;
    void SetColAttrib(int Col, std::uint8_t Value);
    std::uint8_t GetRowAttrib(int Row) const;
    void SetRowAttrib(int Row, std::uint8_t Value);

    int GetMScaleType(int Col) const;
    void SetMScaleType(int Col, int ScaleType);   // 0..MaxMScaleType, others ignored
    // Identifier of an ordinal (0..150) of a column; empty when undefined.
    QString GetNominalID(int Col, int Ordinal) const;
    void SetNominalID(int Col, int Ordinal, const QString& ID);   // cut to 10 characters
    // The ordinal whose identifier equals ID (compared without regard to case when IgnoreCase),
    // -1 when there is none. Blanks around ID are ignored.
    int OrdinalOfNominalID(int Col, const QString& ID, bool IgnoreCase) const;

    QString Comment() const { return FComment; }
    void SetFComment(const QString& Text);
    void SetComment(const QString& Text) { SetFComment(Text); }

    // Empties every cell (value 0, state empty) and clears names, attributes, scale types,
    // nominal identifiers and the comment. The size stays.
    void Clear();
    // Insert before Ix (1..count + 1); remove Ix (1..count). Fire OnResize and OnDataChanged.
    void InsertColumn(int Ix);
    void InsertRow(int Ix);
    void RemoveColumn(int Ix);
    void RemoveRow(int Ix);
    // Reverse the order of the columns / rows with everything that belongs to them.
    void MirrorColumns();
    void MirrorRows();

    // Clears both mark bits of every cell.
    void UnmarkAllCells();
    // Swaps mark A and mark B in every cell.
    void ExchangeMarkings();
    // Toggles the bits of Mask in every cell's state.
    void InvertCellStates(std::uint8_t Mask);
    // Every unlocked cell whose state shares a bit with Mask gets Value (and becomes a number);
    // returns the number of cells written.
    int FillMarkedCells(double Value, std::uint8_t Mask);

    // Sorting. Cells that hold no number sort after all numbers in either direction; equal keys
    // keep their order. Rows (columns) move with their cell states and, when WithHeadings, with
    // their names and attributes. OnSortExchange is called before every exchange of two rows
    // (kind dtExchangeRows) or columns (dtExchangeColumns) with the two indices.
    // Rows FirstRow..LastRow ordered by the values in column KeyCol; only columns
    // FirstCol..LastCol move.
    void SortRowsInRange(int KeyCol, bool Ascending, int FirstCol, int FirstRow, int LastCol, int LastRow,
                         bool WithHeadings);
    // Columns FirstCol..LastCol ordered by the values in row KeyRow; only rows FirstRow..LastRow move.
    void SortColumnsInRange(int KeyRow, bool Ascending, int FirstCol, int FirstRow, int LastCol, int LastRow,
                            bool WithHeadings);
    void SortRows(int KeyCol, bool Ascending, bool WithHeadings = true)
    {
        SortRowsInRange(KeyCol, Ascending, 1, 1, FNrCols, FNrRows, WithHeadings);
    }
    void SortColumns(int KeyRow, bool Ascending, bool WithHeadings = true)
    {
        SortColumnsInRange(KeyRow, Ascending, 1, 1, FNrCols, FNrRows, WithHeadings);
    }
    // Exchanges two rows / columns completely (cells, states, names, attributes, nominal IDs).
    void ExchangeRows(int Row1, int Row2);
    void ExchangeColumns(int Col1, int Col2);

    std::function<void(QObject* Sender)> OnDataChanged;
    std::function<void(QObject* Sender)> OnSetupChanged;
    TOnPercentDoneEvent OnPercentDone;
    std::function<void(QObject* Sender, int OldCols, int NewCols, int NewRows)> OnResize;
    std::function<void(QObject* Sender, std::uint8_t Kind, int Ix1, int Ix2)> OnSortExchange;

private:
    using NominalTable = std::array<QString, MaxNominalOrdinal + 1>;
    bool ValidCell(int Col, int Row) const { return Col >= 1 && Col <= FNrCols && Row >= 1 && Row <= FNrRows; }
    std::size_t StateIx(int Col, int Row) const { return std::size_t(Row - 1) * std::size_t(FNrCols) + std::size_t(Col - 1); }
    void DataChanged();
    void SetupChanged();
    void Resized(int OldCols);
    void SwapCells(int Col1, int Row1, int Col2, int Row2);
    void SortRange(bool ByRows, int Key, bool Ascending, int FirstCol, int FirstRow, int LastCol, int LastRow,
                   bool WithHeadings);

    int FNrCols = 0;
    int FNrRows = 0;
    std::unique_ptr<TMatrix> FElems;
    std::vector<std::uint8_t> FStates;             // row by row
    std::vector<QString> FColNames, FRowNames;     // index 0 = column / row 1
    std::vector<std::uint8_t> FColAttrib, FRowAttrib, FScaleType;
    std::vector<std::unique_ptr<NominalTable>> FNominal;   // per column, created on first use
    QString FComment;
};

} // namespace qor
