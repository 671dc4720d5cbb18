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

// What a structural edit did, for the hook that keeps per-line settings of a viewer in step.
enum TDTStructureEdit : std::uint8_t {
    dtsColumnInserted,   // a column now stands at Ix; the ones from Ix on moved right
    dtsColumnRemoved,    // column Ix went; the ones after it moved left
    dtsRowInserted,
    dtsRowRemoved,
    dtsColumnsMirrored,  // the order of all columns was reversed (Ix 0)
    dtsRowsMirrored
};

class KORVANE_EXPORT TDataTable : public TComponent {
    Q_OBJECT
public:
    explicit TDataTable(QObject* AOwner = nullptr);
    ~TDataTable() override;

    int NrOfColumns() const { return FNrCols; }
    int NrOfRows() const { return FNrRows; }
    // Keeps content where it fits; new cells are empty; new names empty. Fires OnResize and
    // OnDataChanged. Negative sizes count as 0. A size the memory cannot hold (more than the
    // machine has free) raises std::bad_alloc and leaves the table as it was.
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
    // Insert before Ix (1..count + 1); remove Ix (1..count). Fire OnStructureChanged, then
    // OnResize and OnDataChanged.
    void InsertColumn(int Ix);
    void InsertRow(int Ix);
    void RemoveColumn(int Ix);
    void RemoveRow(int Ix);
    // Reverse the order of the columns / rows with everything that belongs to them; fire
    // OnStructureChanged and OnDataChanged.
    void MirrorColumns();
    void MirrorRows();

    // Everything of Source: size, values, states, names, attributes, scale types, nominal
    // identifiers and comment (OnResize, OnDataChanged). Copying itself changes nothing; a
    // size the memory cannot hold raises std::bad_alloc and leaves the table as it was.
    void CopyFrom(const TDataTable& Source);
    // The states of the cells both tables have; the other cells keep theirs (OnDataChanged).
    void CopyStatesFrom(const TDataTable& Source);
    // The first column (row) whose name equals Name, ignoring case and the blanks around
    // both; 0 when there is none.
    int FindColName(const QString& Name) const;
    int FindRowName(const QString& Name) const;

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
    // Columns FirstCol..LastCol ordered by their attributes (rows by theirs); the lines move
    // with their names and attributes, and with their cells in rows FirstRow..LastRow
    // (columns FirstCol..LastCol).
    void SortColumnsByAttrib(bool Ascending, int FirstCol, int FirstRow, int LastCol, int LastRow);
    void SortRowsByAttrib(bool Ascending, int FirstCol, int FirstRow, int LastCol, int LastRow);
    // All columns (rows) ordered by their names, whole lines moving.
    void SortColumnsByName(bool Ascending, bool IgnoreCase);
    void SortRowsByName(bool Ascending, bool IgnoreCase);
    // While OnSortExchange runs: whether names and attributes move with the exchanged lines.
    bool ExchangingHeadings() const { return FExchangingHeadings; }
    // Exchanges two rows / columns completely (cells, states, names, attributes, nominal IDs).
    void ExchangeRows(int Row1, int Row2);
    void ExchangeColumns(int Col1, int Col2);

    std::function<void(QObject* Sender)> OnDataChanged;
    std::function<void(QObject* Sender)> OnSetupChanged;
    TOnPercentDoneEvent OnPercentDone;
    std::function<void(QObject* Sender, int OldCols, int NewCols, int NewRows)> OnResize;
    std::function<void(QObject* Sender, std::uint8_t Kind, int Ix1, int Ix2)> OnSortExchange;
    std::function<void(QObject* Sender, TDTStructureEdit Kind, int Ix)> OnStructureChanged;
    // Unbinds every hook above (a viewer that goes away while the table stays).
    void ClearHooks();

private:
    using NominalTable = std::array<QString, MaxNominalOrdinal + 1>;
    bool ValidCell(int Col, int Row) const { return Col >= 1 && Col <= FNrCols && Row >= 1 && Row <= FNrRows; }
    std::size_t StateIx(int Col, int Row) const { return std::size_t(Row - 1) * std::size_t(FNrCols) + std::size_t(Col - 1); }
    void DataChanged();
    void SetupChanged();
    void Resized(int OldCols);
    // Resize without the hooks.
    void ResizeQuietly(int NrCols, int NrRows);
    void StructureChanged(TDTStructureEdit Kind, int Ix);
    void SwapCells(int Col1, int Row1, int Col2, int Row2);
    void SwapHeadings(bool Rows, int Ix1, int Ix2);
    void SortRange(bool ByRows, int Key, bool Ascending, int FirstCol, int FirstRow, int LastCol, int LastRow,
                   bool WithHeadings);
    void SortByAttrib(bool ByRows, bool Ascending, int FirstCol, int FirstRow, int LastCol, int LastRow);
    void SortByName(bool ByRows, bool Ascending, bool IgnoreCase);
    // Orders lines First..Last (rows when ByRows) by Less on line numbers, moving their cells
    // in the other axis' range CellFirst..CellLast and, WithHeadings, their headings.
    template <class Less>
    void SortLines(bool ByRows, int First, int Last, int CellFirst, int CellLast, bool WithHeadings, Less less);

    int FNrCols = 0;
    int FNrRows = 0;
    std::unique_ptr<TMatrix> FElems;
    std::vector<std::uint8_t> FStates;             // row by row
    std::vector<QString> FColNames, FRowNames;     // index 0 = column / row 1
    std::vector<std::uint8_t> FColAttrib, FRowAttrib, FScaleType;
    std::vector<std::unique_ptr<NominalTable>> FNominal;   // per column, created on first use
    QString FComment;
    bool FExchangingHeadings = false;
};

} // namespace qor
