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
// Longest column or row name kept; longer names are cut.
constexpr int MaxDTNameLength = 50;
// Nominal identifiers: at most 10 characters; ordinals 0..MaxNominalOrdinal.
// Longest nominal identifier kept; longer ones are cut.
constexpr int MaxNominalIDLength = 10;
// Highest ordinal a nominal identifier can be given.
constexpr int MaxNominalOrdinal = 150;

// Bits of the cell state byte.
constexpr std::uint8_t csInvalid = 1;     // holds no valid number
constexpr std::uint8_t csEmpty = 2;       // holds nothing
constexpr std::uint8_t csLocked = 16;     // not editable
constexpr std::uint8_t csMarkedA = 64;  // user mark A (see UnmarkAllCells, ExchangeMarkings)
constexpr std::uint8_t csMarkedB = 128;  // user mark B

// Measurement scale of a column. Types 1 and 2 are nominal: their cells hold ordinals of the
// column's nominal identifiers.
enum TMScaleType : std::uint8_t { mstUndefined, mstNominal, mstBinary, mstOrdinal, mstInterval, mstRatio };
// Highest valid TMScaleType value.
constexpr int MaxMScaleType = 5;
// "undefined", "nominal", "binary", "ordinal", "interval", "ratio"; empty for other types.
KORVANE_EXPORT QString MScaleTypeNames(int ScaleType);

// Kind byte of the sort-exchange hook.
// OnSortExchange is about to swap two rows.
constexpr std::uint8_t dtExchangeRows = 0;
// OnSortExchange is about to swap two columns.
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

// A resizable table of doubles with per-cell state bytes, line names, attributes, measurement
// scale types and nominal identifiers (1-based indices). Edits notify through the On* hooks.
class KORVANE_EXPORT TDataTable : public TComponent {
    Q_OBJECT
public:
    // An empty table (0 x 0) owned by AOwner.
    explicit TDataTable(QObject* AOwner = nullptr);
    ~TDataTable() override;

    // Number of columns (0 for an empty table).
    int NrOfColumns() const { return FNrCols; }
    // Number of rows (0 for an empty table).
    int NrOfRows() const { return FNrRows; }
    // Keeps content where it fits; new cells are empty; new names empty. Fires OnResize and
    // OnDataChanged. Negative sizes count as 0. A size the memory cannot hold (more than the
    // machine has free) raises std::bad_alloc and leaves the table as it was.
    void Resize(int NrCols, int NrRows);

    // Value of the cell; 0 outside the table. The value is kept whatever the cell state says.
    double GetElem(int Col, int Row) const { return FElems->Get(Col, Row); }
    // Same as GetElem.
    double Elem(int Col, int Row) const { return GetElem(Col, Row); }
    // Stores the value and clears the invalid and empty bits; fires OnDataChanged.
    void SetElem(int Col, int Row, double Value);
    // The cells' values; Fill and direct writes bypass the cell states.
    TMatrix* Elements() const { return FElems.get(); }

    // State byte of the cell (cs* bits); csEmpty outside the table.
    std::uint8_t GetCellState(int Col, int Row) const;
    // Replaces the whole state byte of the cell; fires OnDataChanged. Ignored outside the table.
    void SetCellState(int Col, int Row, std::uint8_t State);
    // Neither invalid nor empty.
    bool GetIsNumber(int Col, int Row) const;

    // Name of column Col; empty outside 1..NrOfColumns.
    TDTNameStr GetColName(int Col) const;
    // Names column Col (cut to MaxDTNameLength characters); fires OnDataChanged.
    void SetColName(int Col, const TDTNameStr& Name);
    // Name of row Row; empty outside 1..NrOfRows.
    TDTNameStr GetRowName(int Row) const;
    // Names row Row (cut to MaxDTNameLength characters); fires OnDataChanged.
    void SetRowName(int Row, const TDTNameStr& Name);
    // Free attribute byte of column Col; 0 outside the table.
    std::uint8_t GetColAttrib(int Col) const;
    // Sets the attribute byte of column Col; fires OnSetupChanged.
    void SetColAttrib(int Col, std::uint8_t Value);
    // Free attribute byte of row Row; 0 outside the table.
    std::uint8_t GetRowAttrib(int Row) const;
    // Sets the attribute byte of row Row; fires OnSetupChanged.
    void SetRowAttrib(int Row, std::uint8_t Value);

    // Measurement scale type of column Col (TMScaleType); mstUndefined outside the table.
    int GetMScaleType(int Col) const;
    // Sets the scale type of column Col; fires OnSetupChanged.
    void SetMScaleType(int Col, int ScaleType);   // 0..MaxMScaleType, others ignored
    // Identifier of an ordinal (0..150) of a column; empty when undefined.
    QString GetNominalID(int Col, int Ordinal) const;
    void SetNominalID(int Col, int Ordinal, const QString& ID);   // cut to 10 characters
    // The ordinal whose identifier equals ID (compared without regard to case when IgnoreCase),
    // -1 when there is none. Blanks around ID are ignored.
    int OrdinalOfNominalID(int Col, const QString& ID, bool IgnoreCase) const;

    // Free text stored with the table.
    QString Comment() const { return FComment; }
    // Replaces the comment; fires OnDataChanged.
    void SetFComment(const QString& Text);
    // Same as SetFComment.
    void SetComment(const QString& Text) { SetFComment(Text); }

    // Empties every cell (value 0, state empty) and clears names, attributes, scale types,
    // nominal identifiers and the comment. The size stays.
    void Clear();
    // Insert before Ix (1..count + 1); remove Ix (1..count). Fire OnStructureChanged, then
    // OnResize and OnDataChanged.
    void InsertColumn(int Ix);
    // Inserts an empty row before Ix (1..NrOfRows + 1); other values are ignored.
    void InsertRow(int Ix);
    // Removes column Ix (1..NrOfColumns); other values are ignored.
    void RemoveColumn(int Ix);
    // Removes row Ix (1..NrOfRows); other values are ignored.
    void RemoveRow(int Ix);
    // Reverse the order of the columns / rows with everything that belongs to them; fire
    // OnStructureChanged and OnDataChanged.
    void MirrorColumns();
    // Reverses the order of the rows.
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
    // The row counterpart of FindColName.
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
    // All rows ordered by the values in column KeyCol; every column moves.
    void SortRows(int KeyCol, bool Ascending, bool WithHeadings = true)
    {
        SortRowsInRange(KeyCol, Ascending, 1, 1, FNrCols, FNrRows, WithHeadings);
    }
    // All columns ordered by the values in row KeyRow; every row moves.
    void SortColumns(int KeyRow, bool Ascending, bool WithHeadings = true)
    {
        SortColumnsInRange(KeyRow, Ascending, 1, 1, FNrCols, FNrRows, WithHeadings);
    }
    // Columns FirstCol..LastCol ordered by their attributes (rows by theirs); the lines move
    // with their names and attributes, and with their cells in rows FirstRow..LastRow
    // (columns FirstCol..LastCol).
    void SortColumnsByAttrib(bool Ascending, int FirstCol, int FirstRow, int LastCol, int LastRow);
    // The row counterpart of SortColumnsByAttrib.
    void SortRowsByAttrib(bool Ascending, int FirstCol, int FirstRow, int LastCol, int LastRow);
    // All columns (rows) ordered by their names, whole lines moving.
    void SortColumnsByName(bool Ascending, bool IgnoreCase);
    // The row counterpart of SortColumnsByName.
    void SortRowsByName(bool Ascending, bool IgnoreCase);
    // While OnSortExchange runs: whether names and attributes move with the exchanged lines.
    bool ExchangingHeadings() const { return FExchangingHeadings; }
    // Exchanges two rows / columns completely (cells, states, names, attributes, nominal IDs).
    void ExchangeRows(int Row1, int Row2);
    // The column counterpart of ExchangeRows. Out-of-range or equal indices do nothing.
    void ExchangeColumns(int Col1, int Col2);

    // Called after any change of values, states, names, size, line order or the comment.
    std::function<void(QObject* Sender)> OnDataChanged;
    // Called after a change of attributes, scale types or nominal identifiers.
    std::function<void(QObject* Sender)> OnSetupChanged;
    // Progress of a sort: 0, 50 and 100 percent.
    TOnPercentDoneEvent OnPercentDone;
    // Called by Resize, the inserts and removes and CopyFrom with the old column count and the new
    // size, before OnDataChanged.
    std::function<void(QObject* Sender, int OldCols, int NewCols, int NewRows)> OnResize;
    // Called before a sort exchanges two lines: Kind dtExchangeRows or dtExchangeColumns, the two indices.
    std::function<void(QObject* Sender, std::uint8_t Kind, int Ix1, int Ix2)> OnSortExchange;
    // Called after an insert, remove or mirror with what happened and where (before any OnResize).
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
