// TRLData: the data behind a report list — a table of short text cells with named, formatted and
// check-mark columns, attribute bytes per row and column, a reversible sort order, a comment and
// a data identifier — and its files (XML, CSV, lines, HTML) and clipboard export.
#pragma once

#include <QOR_Classes.h>
#include <QOR_Published.h>
#include <QOR_dstruct.h>
#include <QOR_qorbase.h>

#include <QString>
#include <QVector>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QIODevice;
class QTextStream;

namespace qor {

// Check-mark mode of a column.
enum TCheckMode : std::uint8_t { cmNone, cmBox, cmRadio };
// Matching of the view's filter.
enum TFilterMode : std::uint8_t { fmSimple, fmBoolean, fmGrep };
// Elements of a report-list file.
enum TRepListXmlTag : std::uint8_t {
    xmlNumCols, xmlNumRows, xmlColName, xmlCheckedColumn, xmlCommonHd, xmlColumnFormat, xmlCell,
    xmlComment, xmlEndReplist, xmlInvalid
};
// "numcols", "numrows", "colname", "checkedcolumn", "commonheader", "columnformat", "cell",
// "comment", "/replist", "invalidtag".
KORVANE_EXPORT QString RepListXmlTagText(TRepListXmlTag Tag);
// The tag whose text is Text (compared in lower case); xmlInvalid for any other text.
KORVANE_EXPORT TRepListXmlTag RepListXmlTagOf(const QString& Text);

// Column names: at most 50 characters; column formats: at most 80 (cut on assignment).
using TNameStrType = QString;
// Column format text (see DefaultValue), at most MaxColFmtLength characters.
using TColFmtString = QString;
// Longest column name kept.
constexpr int MaxNameLength = 50;
// Longest column format kept.
constexpr int MaxColFmtLength = 80;

// Row attribute bits (column attributes use only rlaSelected). Other bits are kept untouched.
constexpr std::uint8_t rlaSelected = 0x80;  // selected: painted in the selection colours
constexpr std::uint8_t rlaDisabled = 0x40;  // disabled: painted in the disabled colours

class KORVANE_EXPORT EQORRLDataError : public EQORError {
public:
    using EQORError::EQORError;
};

// Offered every exported HTML cell text (Row 0 for the header line); the handler may replace it.
using TBeforeHTMLExportEvent = std::function<void(QObject* Sender, QString& Text, int Col, int Row)>;

// True when the file / stream holds a report list: a line that contains "<replist" and
// "vendrilex" (compared in lower case) and, when DataID is not empty, whose id="..." attribute
// (its character references such as &amp; resolved, as the writer escapes them) equals DataID
// ignoring case and surrounding blanks. The stream is read from its current
// position and left where reading stopped. A file that cannot be opened raises EInOutError.
// A file that does not exist or cannot be read raises EInOutError.
KORVANE_EXPORT bool CheckIfValidReplist(const QString& FName, const QString& DataID);
// The same check on an open stream (false for a null stream).
KORVANE_EXPORT bool CheckIfValidReplist(QIODevice* InStream, const QString& DataID);

// Rows and data columns are numbered from 1; column 0 is a hidden text column of every row.
// Cells hold at most 255 characters. In a check column (cmBox, cmRadio) a non-empty cell starts
// with a mark character ("X" checked, " " unchecked, anything but a blank counts as checked);
// reading operations drop the mark, writing operations keep or set it. Out-of-range indices
// read as empty / false / 0 and writes to them are ignored.
class KORVANE_EXPORT TRLData : public TComponent {
    Q_OBJECT
public:
    QOR_PROPERTY(int, NrOfColumns)
    QOR_PROPERTY(int, NrOfRows)
    QOR_PROPERTY(QString, CommonHeader)

    // One column named "C-1" and no rows, owned by AOwner.
    explicit TRLData(QObject* AOwner = nullptr);
    ~TRLData() override;

    // ---- counts, headers, identification
    int NrOfColumns() const { return FNrOfCols; }
    // Values <= 0 give 1 column; new columns get the name "C-<n>", no format, cmNone.
    void SetNrOfColumns(int Value);
    int NrOfRows() const { return FNrOfRows; }
    // Negative values give 0; shrinking to 0 empties row 1.
    void SetNrOfRows(int Value);
    QString CommonHeader() const { return FCommonHeader; }
    void SetCommonHeader(const QString& Value);
    // Free text saved with the report list in its XML file.
    QString Comment() const { return FComment; }
    // Replaces the comment (any length).
    void SetComment(const QString& Value) { FComment = Value; }
    // The identifier written into and expected from the XML files.
    QString DataID() const { return FDataID; }
    // Replaces the identifier.
    void SetDataID(const QString& Value) { FDataID = Value; }

    // ---- cells
    // The visible text of the cell (column 0..NrOfColumns, row 1..NrOfRows), mark dropped.
    QString Elem(int ACol, int ARow) const;
    // Stores the visible text; in a check column the cell keeps its mark (unchecked for an empty one).
    // Texts longer than 255 characters (mark included) are cut.
    void SetElem(int ACol, int ARow, const QString& Value);
    // Whether the cell of a check column is checked; false in other columns.
    bool ElemChecked(int ACol, int ARow) const;
    // Checks or unchecks the cell of a check column; in a cmRadio column checking it unchecks every
    // other row's cell. Ignored in other columns.
    void SetElemChecked(int ACol, int ARow, bool Value);
    // The cell read as a number: mark dropped, blanks trimmed, "," read as "."; an empty cell is
    // 0. Other text raises EQORDStructError "Class TRLData: invalid numeric string: [c,r]: raw".
    double AsNumber(int ACol, int ARow) const;
    // A proposed value for a cell derived from the column format (see the format letters in the
    // source: "[i]rix3" numbers rows with three digits, "[s]$pwd$8" invents passwords, ...).
    QString DefaultValue(int ACol, int ARow) const;
    // The default text of a format letter and the text after the format's brackets for data row
    // ARow ("rix"+n renders the row, "$pwd$"+n invents a password); shared with the row editor.
    // "rix" is found in any case for e and f; for h and i only in lower case, unless
    // RixAnyCase (the row editor's rule).
    static QString FormatDefault(QChar Letter, const QString& Rest, int ARow, bool RixAnyCase = false);
    // The stored cell, mark included.
    QString RawElem(int ACol, int ARow) const;
    // Stores the cell exactly as given, mark included (cut to 255 characters).
    void SetRawElem(int ACol, int ARow, const QString& Value);

    // ---- columns
    // Name of column ColNr (1..NrOfColumns); empty outside.
    TNameStrType Header(int ColNr) const;
    // Renames column ColNr (cut to MaxNameLength characters); ignored outside.
    void SetHeader(int ColNr, const TNameStrType& HLine);
    // Format text of column ColNr; empty outside 1..NrOfColumns.
    TColFmtString ColumnFormat(int ColNr) const;
    // Sets the format text of column ColNr (cut to MaxColFmtLength); the cells are not touched.
    void SetColumnFormat(int ColNr, const TColFmtString& DefValue);
    // Check-mark mode of column ColNr; cmNone outside 1..NrOfColumns.
    TCheckMode ColumnCheckMode(int ColNr) const;
    // Converts the cells: marks added (" ") or dropped; cmBox -> cmRadio clears all marks.
    void SetColumnCheckMode(int ColNr, TCheckMode Value);
    // True for a cmBox column.
    bool IsCheckedColumn(int ColNr) const { return ColumnCheckMode(ColNr) == cmBox; }
    // Makes column ColNr a cmBox column (true) or a plain one (false), converting its cells.
    void SetIsCheckedColumn(int ColNr, bool Value) { SetColumnCheckMode(ColNr, Value ? cmBox : cmNone); }
    // The highest-numbered column whose name equals (or, with PartialMatch, contains) Head,
    // compared in lower case; -1 when none. An empty Head never matches partially.
    int ColumnIndex(const QString& Head, bool PartialMatch) const;

    // ---- check marks
    // Acts on a cmBox column, or on a cmRadio column when Checked is false. With
    // AffectEnabledRowsOnly, disabled rows are left alone. LastRow >= 0 limits the walk to rows
    // 1..LastRow (the view passes the rows its filter shows).
    void SetAllCheckmarksOfCol(int Column, bool Checked, bool AffectEnabledRowsOnly = false, int LastRow = -1);
    // cmBox columns only: every unchecked or empty cell becomes checked, every checked unchecked.
    void InvertAllCheckmarksOfCol(int Column, bool AffectEnabledRowsOnly = false, int LastRow = -1);
    // Number of checked cells of a check column; 0 for other columns.
    int CountCheckedElemsInCol(int Column) const;
    // Number of checked cells of row Row over the check columns.
    int CountCheckedElemsInRow(int Row) const;
    // The first row whose cell in check column ColNr is checked; 0 when none or not a check column.
    int FirstCheckedElemInCol(int ColNr) const;
    // The first check column whose cell in row RowNr is checked; 0 when none.
    int FirstCheckedElemInRow(int RowNr) const;

    // ---- attributes (rlaSelected, rlaDisabled); travel with their rows through sorting
    // Attribute byte of data row Row (1..NrOfRows); 0 outside.
    std::uint8_t RowAttrib(int Row) const;
    // Sets the attribute byte of data row Row; ignored outside 1..NrOfRows.
    void SetRowAttrib(int Row, std::uint8_t Value);
    // Attribute byte of column Col (1..NrOfColumns); 0 outside.
    std::uint8_t ColAttrib(int Col) const;
    // Sets the attribute byte of column Col; ignored outside 1..NrOfColumns.
    void SetColAttrib(int Col, std::uint8_t Value);

    // ---- structure
    // InsertColumn(c), 1 <= c <= NrOfColumns: an empty, unnamed column before c.
    void InsertColumn(int c);
    // RemoveColumn(c): the last remaining column is emptied and NrOfColumns becomes 0.
    void RemoveColumn(int c);
    // InsertRow(r), 1 <= r <= NrOfRows: an empty row before r (NrOfRows grows by one).
    void InsertRow(int r);
    // RemoveRow(r): the last remaining row is emptied and NrOfRows becomes 0.
    void RemoveRow(int r);
    // Removes every row whose visible text is empty in all columns 0..NrOfColumns (one pass).
    void RemoveEmptyRows();
    // Whether the visible text of the row is empty in all columns 0..NrOfColumns (marks do
    // not count); false outside 1..NrOfRows.
    bool RowEmpty(int Row) const;
    // Removes the rows at these positions (others are ignored) in one pass with one change
    // notification. Unlike RemoveRow it leaves the sort order uncommitted: UnSort afterwards
    // gives the remaining rows in their unsorted order. Removing every row leaves NrOfRows 0.
    void RemoveRows(const TIntArray& Rows);
    // Raw cells of columns 0..NrOfColumns and the row attribute.
    void CopyRow(int Source, int Target);

    // ---- sorting (comparison: see TStringArray)
    // Sorts with the secondary column in the same direction.
    void Sort(int PrimCol, int SecCol, bool Ascending) { Sort(PrimCol, SecCol, Ascending, true); }
    // Sorts the data rows by column PrimCol, equal ones by SecCol (each with its own direction);
    // the choice is remembered even when fewer than two rows leave nothing to sort.
    void Sort(int PrimCol, int SecCol, bool AscendPrim, bool AscendSec);
    // Shows the rows in their unsorted order again and forgets the last sort columns.
    void UnSort();
    // Primary column of the last Sort; -1 when unsorted.
    int LastSortColumn() const { return FSortColumnPrim; }
    // Secondary column of the last Sort; -1 when unsorted.
    int LastSortColumnSec() const { return FSortColumnSec; }
    // Direction of the last Sort's primary column (true = ascending).
    bool LastSortOrder() const { return FSortOrderPrim; }
    // Direction of the last Sort's secondary column (true = ascending).
    bool LastSortOrderSec() const { return FSortOrderSec; }
    // Direction of the next header-click sort of the view.
    bool SortToggle() const { return FSortToggle; }
    // Sets the direction of the next header-click sort.
    void SetSortToggle(bool Value) { FSortToggle = Value; }

    // ---- bulk
    // Every data cell becomes s; check columns keep each cell's checked state.
    void Fill(const QString& s);
    // Empties all cells and resets names, formats and check modes; the counts stay.
    void Clear();
    void Assign(const QObject* Source) override;
    void AssignTo(QObject* Dest) const override;

    // The cells. The view binds the array's change and percent-done hooks; they survive Assign
    // and every load. The array's before-exchange hook forwards to this object's.
    TStringArray* Strings() const { return FStrings.get(); }
    // Number of cells a file operation reports progress over (at least 1).
    int FeedbkNumCells() const { return FFeedbkNumCells; }
    // Cells between two progress reports (about one percent of FeedbkNumCells).
    int FeedbkStep() const { return FFeedbkStep; }

    // ---- clipboard: the range is cut to the data (columns 0..NrOfColumns, rows 1..NrOfRows),
    // as in the CSV and HTML exports. Without a GUI application nothing is copied.
    // Separator form: names joined by Separator then a blank line (AddHeader), then one line
    // per row; every line ends in a single LF.
    void CopyToClipBoard(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader, const QString& Separator);
    // UseTabs: the separator form with tabs. Otherwise fixed-width columns measured from the
    // stored text (mark included), each field one character wider than its column.
    void CopyToClipBoard(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader, bool UseTabs);
    // The text the two forms hand to the clipboard.
    QString ClipboardText(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader, const QString& Separator) const;
    // The fixed-width text CopyToClipBoard hands over without UseTabs.
    QString ClipboardTextFixed(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader) const;

    // ---- XML (UTF-8). Writes raise EInOutError when the target cannot be written; SaveAsXMLFile
    // replaces the file atomically, so a failed save leaves the previous file intact. Reads
    // return false and leave the data untouched when the source is missing, malformed,
    // truncated, has another id (DataID not empty), or claims a size the free memory cannot
    // hold (or more columns than its text could declare). Whatever the library holds and
    // writes, it reads back; there is no fixed size limit.
    // A successful read replaces cells, counts, names, formats, check modes, common header,
    // comment and DataID, and leaves the data unsorted with all attributes cleared.
    void SaveAsXMLFile(const QString& FName, const QString& DataID);
    // Writes the report list (and, with CreateHeader, the XML declaration before it).
    void WriteToXMLStream(QIODevice* OutStream, bool CreateHeader, const QString& DataID);
    // Writes to an open text stream; raises EInOutError when the stream reports a write error.
    void WriteToOpenXMLFile(QTextStream& OutFile, bool CreateHeader, const QString& DataID);
    // Reads a report-list file; false when it cannot be read (see SaveAsXMLFile for the rules).
    bool LoadFromXMLFile(const QString& FName, const QString& DataID);
    // Reads the report list from XML text.
    bool ReadFromXMLString(const QString& InString, const QString& DataID);
    // Read from the current position up to and including the line with the end tag; the stream
    // is left after it, so several report lists can follow each other in one file.
    bool ReadFromXMLStream(QIODevice* InStream, const QString& DataID);
    // Reads from an open text stream up to and including the end-tag line, like ReadFromXMLStream.
    bool ReadFromOpenXMLFile(QTextStream& InFile, const QString& DataID);
    // The XML text of the report list, declaration included.
    QByteArray ToXML(const QString& DataID) const;

    // ---- CSV (UTF-8, CRLF line ends; a leading byte-order mark is skipped on import).
    // Fields that contain the delimiter, a double quote, CR or LF, or start or end with a blank,
    // are enclosed in double quotes, and inner double quotes are doubled; a line whose only
    // field is empty is written "" (an empty line is no record to many readers). Delimiters:
    // csvComma ",", csvSemicolon ";", csvTab tab, csvSpace blank, csvBar "|".
    // ExportCSV writes the common header as a line of its own (IncludeCommonHeader), the column
    // names of FirstCol..LastCol (IncludeColHeaders), then the visible text of the cells
    // (marks dropped) of the rectangle, clipped to the data. Result: the number of data rows
    // written; -1 when the file cannot be written (an existing file is then left unchanged).
    int ExportCSV(const QString& FName, TCSVDelimiters Delimiter, bool IncludeColHeaders, bool IncludeCommonHeader,
                  int FirstCol, int FirstRow, int LastCol, int LastRow);
    // Replaces the data with the records of the file: one row per record, as many columns as
    // the widest record (at least 1), the first record taken as column names when
    // IncludeColHeaders. Result: the number of data rows read; -1 when the file cannot be read,
    // -2 when it is malformed (an unterminated quoted field) or larger than the free memory can
    // hold; the data is then untouched.
    int ImportCSV(const QString& FName, TCSVDelimiters Delimiter, bool IncludeColHeaders);

    // Loads the lines of a text file (UTF-8; LF, CR LF or CR) into column Column (0..NrOfColumns)
    // from row FirstRow (1..NrOfRows + 1) on, adding rows as needed; check columns keep their
    // marks. Result: the number of lines loaded; -1 when the file cannot be read, -2 for an
    // invalid column or row, or more rows than the free memory can hold (nothing changes then).
    int LoadLinesFromFile(int Column, int FirstRow, const QString& FName);

    // Writes an HTML table (UTF-8 fragment: <table>...</table>) of rows LoR..HiR and columns
    // LoC..HiC (clipped to the data); when ColumnSelection is not empty, only its columns that lie
    // in LoC..HiC, in its order. Header cells (IncludeHeader) carry HeadClass, data cells
    // CellClass, the table TableClass (no class attribute when empty). Every text passes through
    // OnBeforeHTMLExport and is then HTML-escaped. Raises EInOutError when the file cannot be
    // written (an existing file is then left unchanged).
    void ExportHTMLTable(const QString& FName, int LoC, int LoR, int HiC, int HiR, const QVector<int>& ColumnSelection,
                         int Border, int CellSpacing, int Cellpadding, bool IncludeHeader, const QString& HeadClass,
                         const QString& CellClass, const QString& TableClass);

    // Sorting announces its exchanges, and sorting and the files report their progress, only
    // while somebody hears them: a handler (see HookHeard for handlers that forward) or a
    // connected signal. Unheard, a sort applies its new order in one step.
    TBeforeSortExchgEvent OnBeforeSortExchange;
    // Offered every exported HTML cell text (see ExportHTMLTable).
    TBeforeHTMLExportEvent OnBeforeHTMLExport;
    // Every CSV line and clipboard line before it is written.
    TExportTextEvent OnExportText;
    // Progress of sorting and of the file operations in percent (0..100).
    TOnPercentDoneEvent OnPercentDone;
    // Whether exchanges and progress reports reach anybody now.
    bool SortExchangeHeard() const;
    // Whether progress reports reach anybody now.
    bool PercentDoneHeard() const;

Q_SIGNALS:
    // After OnPercentDone and OnBeforeSortExchange.
    void percentDone(int percent);
    // Emitted with OnBeforeSortExchange, for the same two display positions.
    void beforeSortExchange(int row1, int row2);

protected:
    void BeforeSortExchange(QObject* Sender, int Row1, int Row2);
    void BeforeHTMLExport(QString& Text, int Col, int Row);

private:
    bool ValidCell(int ACol, int ARow) const { return ACol >= 0 && ACol <= FNrOfCols && ARow >= 1 && ARow <= FNrOfRows; }
    bool IsCheckCol(int ACol) const { return ColumnCheckMode(ACol) != cmNone; }
    void RecalcFeedback();
    // Cuts an export rectangle to columns 0..NrOfColumns and rows 1..NrOfRows.
    void ClampRange(int& LeftCol, int& TopRow, int& RightCol, int& BottomRow) const;
    void BindArray();
    void ResizeArray(int Cols, int Rows);   // EQORRLDataError on memory failure
    void ReportProgress(qint64 Done, qint64 Total);
    [[noreturn]] void HeapError() const;
    static QString DefaultName(int ColNr);
    void SetMark(int ACol, int ARow, QChar Mark);
    // Writes a cell; no room for its text raises the data's heap error.
    void StoreCell(int ACol, int ARow, QStringView Value);
    // Replaces everything a load sets by the content of Fresh (a parsed object).
    void TakeLoadedContent(TRLData& Fresh);
    bool ParseXML(const char* Data, qsizetype Size, const QString& DataID);
    void WriteXML(std::string& Out, bool CreateHeader, const QString& DataID) const;
    // Writes the XML text, handing Out to Flush whenever it has grown large (and at the end).
    void WriteXMLChunked(std::string& Out, bool CreateHeader, const QString& DataID,
                         const std::function<void(std::string&)>& Flush) const;
    bool LoadXMLBytes(const QByteArray& Bytes, const QString& DataID);

    QString FComment;
    std::vector<QString> FColName;          // index 0 = column 1
    std::vector<QString> FColumnFormat;
    QString FCommonHeader;
    std::vector<TCheckMode> FColButMode;
    int FNrOfCols = 1;
    int FNrOfRows = 0;
    int FSortColumnPrim = -1;
    int FSortColumnSec = -1;
    bool FSortOrderPrim = true;
    bool FSortOrderSec = true;
    QString FDataID;
    bool FSortToggle = true;
    int FFeedbkNumCells = 1;
    int FFeedbkStep = 1;
    std::unique_ptr<TStringArray> FStrings;
};

} // namespace qor
