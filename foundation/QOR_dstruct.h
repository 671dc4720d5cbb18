// Data structures of the base package: the string array that holds report-list cells, a bit
// field, the logical operators used to combine search results, and the exception for cells that
// do not read as numbers.
#pragma once

#include <QOR_qorbase.h>

#include <QOR_Classes.h>

#include <QObject>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <functional>
#include <vector>

namespace qor {

// Unreadable numbers in cells and other misuse of the data structures.
class KORVANE_EXPORT EQORDStructError : public EQORError {
public:
    using EQORError::EQORError;
};

// How two Boolean results are combined (search results, filters).
enum TLogicOp : std::uint8_t { loAND, loOR, loXOR, loANDNot, loORNot, loXORNot };
// A op B; the ...Not variants negate B first (A and not B, ...).
KORVANE_EXPORT bool ApplyLogicOp(bool A, bool B, TLogicOp Op);

// Called before two display positions of a string array are exchanged during sorting.
// Sender is the array (or the component that forwards the call), Row1 and Row2 are the display
// positions (1-based, Row1 < Row2) whose rows are about to swap.
using TBeforeSortExchgEvent = std::function<void(QObject* Sender, int Row1, int Row2)>;

// A hook handler that only passes its calls on (a component binding the hooks of the parts it
// owns): Call, and Listened, which tells whether anybody listens further on. A source of many
// calls asks HookHeard once and, when nobody listens, neither prepares nor makes them.
template <class... Args>
struct THookForwarder {
    std::function<void(QObject* Sender, Args...)> Call;  // receives every call; must be set before the first
    std::function<bool()> Listened;  // whether anybody listens further on; unassigned means yes
    // Passes the call on to Call.
    void operator()(QObject* Sender, Args... args) const { Call(Sender, args...); }
};

// Whether calling Hook reaches anybody: it is assigned and, when it is a THookForwarder, its
// Listened says so (one without Listened always listens). Any other handler listens.
template <class... Args>
bool HookHeard(const std::function<void(QObject*, Args...)>& Hook)
{
    if (!Hook)
        return false;
    const auto* forwarder = Hook.template target<THookForwarder<Args...>>();
    return !forwarder || !forwarder->Listened || forwarder->Listened();
}

// A table of short texts (at most 255 characters each) addressed [col, row].
//
// Resize(NrCols, NrRows) gives the cells [0..NrCols, 0..NrRows]. Row 0 takes no part in sorting
// (it is usually left empty or used for headings); rows 1..NrRows are the data rows.
//
// Storage: every column keeps one UTF-16 pool and one small fixed-size handle per cell, so a cell
// costs 8 bytes plus its characters; no heap object is allocated per cell. Overwritten texts
// leave garbage in the pool that is compacted once it outweighs the live text.
//
// Sort order: the rows are kept in their physical (unsorted) order plus a permutation of the
// display positions 1..NrRows. Every cell and row-attribute access goes through the permutation.
// GetSortOrder(i) is the physical (unsorted) row shown at position i; UnSort restores the
// physical order; CommitSorting makes the current order the physical one. Row attributes travel
// with their rows, column attributes stay with their columns.
//
// Comparison used by Sort (a stable sort of the current display order):
//   - a cell "reads as a number" when, after trimming blanks and reading every "," as ".", it is
//     an optional sign, digits with an optional decimal point and an optional exponent
//     ("12", " -1,5 ", "3e4", ".5");
//   - two numbers compare numerically; a number sorts before any text (empty cells are texts);
//   - texts compare case-insensitively: by their Unicode (simple) case folding, UTF-16 unit by
//     unit, a text that is the start of another first;
//   - equal primary cells are ordered by the secondary column (with its own direction), and
//     rows equal in both keep their previous relative order. Descending reverses the comparison,
//     not the stability.
// Every cell of the sorted columns is read once into a 64-bit key (texts packed with as few bits
// per character as the column's characters need, behind the start all its texts share), and
// compact (key, row) items are sorted by a stable radix sort over the bits in which the keys
// differ; texts longer than one key are refined run by run. Time and memory are linear in the
// row count for keys of bounded length.
//
// Before-exchange hook: when OnBeforeSortExchange is heard (HookHeard: assigned, and a
// forwarder's listener present), Sort and UnSort express the change of order as a sequence of
// swaps of two display positions and call the hook before each swap (at most NrRows - 1 calls
// per sort): going up the positions, each position that does not yet show its new row is
// swapped with the position that shows it. A listener that applies the same swaps to a parallel
// list ends up with the new order. When nobody hears it, the order changes in one step.
//
// Change notification: OnChange fires after every change of content, size or order while
// NotifyChange() is true (the default). Bulk operations switch it off, work and restore it.
//
// Percent done: OnPercentDone, when heard, reports the progress of sorting: 0 at the start, 20
// after the primary column's keys when there is a secondary column, 40 after all keys, 90 once
// sorted, 100 once shown.
class KORVANE_EXPORT TStringArray : public TComponent {
    Q_OBJECT
public:
    // Longest text a cell keeps; longer texts are cut.
    static constexpr int MaxCellLength = 255;

    // An empty array (one column 0 and row 0, no data rows) owned by AOwner.
    explicit TStringArray(QObject* AOwner = nullptr);
    ~TStringArray() override;

    // Highest column index (columns run 0..NrOfColumns).
    int NrOfColumns() const { return FNrCols; }
    // Number of data rows (rows run 0..NrOfRows; row 0 is the heading row).
    int NrOfRows() const { return FNrRows; }

    // [0..NrCols, 0..NrRows]. Content that still fits is kept; shrinking the row count while
    // sorted commits the sorting first (the last displayed rows go). Negative counts raise
    // EQORDStructError, as does a size the memory cannot hold.
    void Resize(int NrCols, int NrRows);
    // Empties every cell; size, attributes and order stay.
    void Clear();
    // Row capacity is grown in steps of at least this many rows.
    void SetAllocRowsBy(int Rows);
    // Current growth step of the row capacity (1 or more).
    int AllocRowsBy() const { return FAllocRowsBy; }

    // Out-of-range reads give an empty string (a null view); out-of-range writes are ignored.
    QString GetString(int Col, int Row) const;
    QStringView GetStringView(int Col, int Row) const;  // valid until the next write
    // The cell of physical (unsorted) row PhysRow: scans in this order read memory in sequence.
    QStringView GetPhysicalStringView(int Col, int PhysRow) const;
    // Length of the cell's text in UTF-16 units; 0 outside the range.
    int GetLength(int Col, int Row) const;
    void SetString(int Col, int Row, QStringView Value);  // cut to MaxCellLength
    // Same as the QStringView overload.
    void SetString(int Col, int Row, const QString& Value) { SetString(Col, Row, QStringView(Value)); }
    // Same as the QStringView overload (a null-terminated text).
    void SetString(int Col, int Row, const char16_t* Value) { SetString(Col, Row, QStringView(Value)); }

    // Attribute bytes; 0 outside the range.
    std::uint8_t GetRowAttrib(int Row) const;
    // Sets the attribute of the row shown at Row (0..NrRows); fires OnChange. Ignored outside.
    void SetRowAttrib(int Row, std::uint8_t Value);
    // Attribute of column Col (0..NrCols).
    std::uint8_t GetColAttrib(int Col) const;
    // Sets the attribute of column Col (0..NrCols); fires OnChange. Ignored outside.
    void SetColAttrib(int Col, std::uint8_t Value);

    // Structural edits, each commits the sorting first (except InsertColumn and RemoveColumn,
    // which leave rows alone). InsertRow(r) inserts an empty row before r (1..NrRows + 1) and
    // grows NrRows; RemoveRow(r) removes row r (1..NrRows) and shrinks NrRows. InsertColumn(c)
    // inserts an empty column before c (0..NrCols + 1) and grows NrCols; RemoveColumn(c) removes
    // column c (0..NrCols) and shrinks NrCols (the last column is emptied instead).
    void InsertRow(int Row);
    // Removes row Row (1..NrRows); see InsertRow.
    void RemoveRow(int Row);
    // Inserts an empty column before Col (0..NrCols + 1); see InsertRow.
    void InsertColumn(int Col);
    // Removes column Col (0..NrCols); see InsertRow.
    void RemoveColumn(int Col);
    // Removes the rows shown at the display positions i (1..NrRows) whose Drop[i] is set (Drop
    // has NrRows + 1 entries, index 0 unused), in one pass and without committing the sorting:
    // the remaining rows keep their shown order, and UnSort gives them in their unsorted order.
    void RemoveRows(const std::vector<char>& Drop);
    // Swaps two display positions (rows 1..NrRows).
    void ExchangeRows(int Row1, int Row2);

    // Sort rows 1..NrRows; see the comparison above. SecCol outside 0..NrCols means no
    // secondary key; PrimCol outside 0..NrCols leaves the order untouched.
    void Sort(int PrimCol, int SecCol, bool AscendPrim, bool AscendSec);
    // Shows the rows in their physical order again (announcing the swaps like Sort); fires OnChange.
    void UnSort();
    // Makes the shown order the physical one, so that UnSort keeps it. Does nothing when not sorted.
    // Raises EQORDStructError when the memory for the reordering is missing (nothing changes then).
    void CommitSorting();
    // True when the shown order differs from the physical one.
    bool IsSorted() const;
    // The physical (unsorted) row shown at display position i (1..NrRows); -1 outside.
    int GetSortOrder(int i) const;
    // Shows physical row j at position i (both 1..NrRows); ignored outside. The caller is
    // responsible for ending with a permutation (Assign sets every position in turn).
    void SetSortOrder(int i, int j);

    // Whether Changed fires OnChange (true by default).
    bool NotifyChange() const { return FNotifyChange; }
    // Switches OnChange on or off; switching it on fires nothing by itself.
    void SetNotifyChange(bool v) { FNotifyChange = v; }
    // Fires OnChange (when enabled and assigned).
    void Changed();

    // Reading of a cell as a number, as the comparison uses it: blanks trimmed, "," as ".".
    // Returns false for text that is no number and for an empty cell.
    static bool ReadsAsNumber(QStringView Text, double& Value);

    // Called after every change of content, size or order while NotifyChange is true.
    std::function<void(QObject* Sender)> OnChange;
    // Progress of sorting in percent (see the class description).
    TOnPercentDoneEvent OnPercentDone;
    // Called before each swap of two display positions by Sort and UnSort (see the class description).
    TBeforeSortExchgEvent OnBeforeSortExchange;

    // Approximate heap use in bytes (handles, pools, attributes, order).
    std::size_t MemoryUsage() const;

private:
    struct Cell {
        std::uint32_t Offset = 0;
        std::uint16_t Length = 0;
        std::uint16_t Capacity = 0;
    };
    struct Column {
        std::vector<Cell> Cells;          // physical rows 0..NrRows
        std::vector<char16_t> Pool;
        std::size_t Garbage = 0;
    };

    class SortColumn;   // a column's sort keys, with Sort

    bool ValidCell(int Col, int Row) const { return Col >= 0 && Col <= FNrCols && Row >= 0 && Row <= FNrRows; }
    int Physical(int Row) const { return Row == 0 ? 0 : FOrder[std::size_t(Row)]; }
    // Committing the sort order in two steps: the buffers, taken before anything changes (raises
    // EQORDStructError without memory for them), then the commit itself, which cannot fail.
    struct CommitBuffers {
        std::vector<Cell> Cells;
        std::vector<std::uint8_t> Attrib;
        bool Ready = false;
    };
    CommitBuffers BuffersForCommit(std::size_t Rows) const;
    void CommitWith(CommitBuffers& Buffers);
    void CompactColumn(Column& c);
    // Raises EQORDStructError when growing to this capacity and column count would take more
    // than the free memory.
    void RefuseBeyondFreeMemory(std::size_t RowCapacity, std::size_t Cols) const;
    // Shows NewOrder (display position -> physical row), announcing the exchanges when heard.
    void ApplyOrder(const std::vector<int>& NewOrder);
    void ReportPercent(int Percent);

    int FNrCols = 0;
    int FNrRows = 0;
    int FAllocRowsBy = 1;
    bool FNotifyChange = true;
    std::vector<Column> FColumns;              // 0..NrCols
    std::vector<std::uint8_t> FRowAttrib;      // physical rows 0..NrRows
    std::vector<std::uint8_t> FColAttrib;      // 0..NrCols
    std::vector<int> FOrder;                   // display position -> physical row; [0] = 0
};

// A field of bits numbered 0..Size-1. Out-of-range reads give false; writes are ignored.
class KORVANE_EXPORT TBitFld : public TComponent {
    Q_OBJECT
public:
    // An empty field (size 0) owned by AOwner.
    explicit TBitFld(QObject* AOwner = nullptr) : TComponent(AOwner) {}
    // New bits are false; bits that still fit keep their values.
    void SetSize(int Size);
    // Number of bits (0 or more).
    int Size() const { return FSize; }
    // All bits false.
    void Clear();
    // Bit Ix (0..Size-1); false outside.
    bool GetBit(int Ix) const;
    // Sets bit Ix (0..Size-1); ignored outside.
    void SetBit(int Ix, bool Value);
    // Number of bits that are set.
    int CountTrueBits() const;
    // The lowest set bit, -1 when none is set.
    int FirstTrueBit() const;
    // The lowest set bit at or above Ix, -1 when there is none.
    int NextTrueBit(int Ix) const;
private:
    int FSize = 0;
    std::vector<std::uint64_t> FWords;
};

} // namespace qor
