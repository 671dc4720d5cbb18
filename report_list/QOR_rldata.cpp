#include "QOR_rldata.h"
#include <QOR_Text_p.h>

#include <QOR_filesys.h>
#include <QOR_stringl.h>

#include <QMetaMethod>

#include <algorithm>
#include <new>

namespace qor {

namespace {

constexpr QChar MarkChecked = QLatin1Char('X');
constexpr QChar MarkUnchecked = QLatin1Char(' ');

// Switches the array's change notification off for the lifetime of the guard and restores
// it, firing one change notification when it comes back on.
class NotifyPause {
public:
    explicit NotifyPause(TStringArray* a) : FArray(a), FPrevious(a->NotifyChange()) { a->SetNotifyChange(false); }
    ~NotifyPause()
    {
        FArray->SetNotifyChange(FPrevious);
        FArray->Changed();
    }
    NotifyPause(const NotifyPause&) = delete;
    NotifyPause& operator=(const NotifyPause&) = delete;
private:
    TStringArray* FArray;
    bool FPrevious;
};

// Integer read from Text at 0-based position From: leading blanks, one sign, decimal digits.

} // namespace

QString RepListXmlTagText(TRepListXmlTag Tag)
{
    static const char* const Texts[] = {"numcols", "numrows", "colname", "checkedcolumn", "commonheader",
                                        "columnformat", "cell", "comment", "/replist", "invalidtag"};
    return QString::fromLatin1(Texts[std::min<int>(Tag, xmlInvalid)]);
}

TRepListXmlTag RepListXmlTagOf(const QString& Text)
{
    const QString t = Text.toLower();
    for (int i = xmlNumCols; i < xmlInvalid; ++i)
        if (t == RepListXmlTagText(TRepListXmlTag(i)))
            return TRepListXmlTag(i);
    return xmlInvalid;
}

// ---------------------------------------------------------------------------------------------
// Construction

TRLData::TRLData(QObject* AOwner) : TComponent(AOwner), FCommonHeader(QStringLiteral("QOR Report Listview"))
{
    try {
        FStrings = std::make_unique<TStringArray>();
        FStrings->SetAllocRowsBy(10);
        FStrings->Resize(FNrOfCols, std::max(FNrOfRows, 1));
        FStrings->Clear();
        FColName.assign(std::size_t(FNrOfCols), QString());
        for (int c = 1; c <= FNrOfCols; ++c)
            FColName[std::size_t(c - 1)] = DefaultName(c);
        FColumnFormat.assign(std::size_t(FNrOfCols), QString());
        FColButMode.assign(std::size_t(FNrOfCols), cmNone);
    } catch (const std::bad_alloc&) {
        throw EQORRLDataError(QStringLiteral("Component \"") + Name() + QStringLiteral("\": failed to initialize (out of memory)"));
    } catch (const EQORDStructError&) {
        throw EQORRLDataError(QStringLiteral("Component \"") + Name() + QStringLiteral("\": failed to initialize (out of memory)"));
    }
    BindArray();
}

TRLData::~TRLData() = default;

void TRLData::BindArray()
{
    FStrings->OnBeforeSortExchange = THookForwarder<int, int>{
        [this](QObject* Sender, int Row1, int Row2) { BeforeSortExchange(Sender, Row1, Row2); },
        [this] { return SortExchangeHeard(); }};
}

bool TRLData::SortExchangeHeard() const
{
    return HookHeard(OnBeforeSortExchange) || isSignalConnected(QMetaMethod::fromSignal(&TRLData::beforeSortExchange));
}

bool TRLData::PercentDoneHeard() const
{
    return HookHeard(OnPercentDone) || isSignalConnected(QMetaMethod::fromSignal(&TRLData::percentDone));
}

QString TRLData::DefaultName(int ColNr)
{
    return QStringLiteral("C-") + QString::number(ColNr);
}

void TRLData::HeapError() const
{
    throw EQORRLDataError(QStringLiteral("Component \"") + Name() + QStringLiteral("\": not enough memory on heap"));
}

void TRLData::ResizeArray(int Cols, int Rows)
{
    try {
        FStrings->Resize(Cols, Rows);
    } catch (const EQORDStructError&) {
        HeapError();
    } catch (const std::bad_alloc&) {
        HeapError();
    }
}

void TRLData::RecalcFeedback()
{
    const long long cells = (long long)FNrOfRows * (FNrOfCols + 1);
    FFeedbkNumCells = int(std::clamp<long long>(cells, 1, 2147483647LL));
    FFeedbkStep = FFeedbkNumCells / 100 + 1;
}

void TRLData::ReportProgress(qint64 Done, qint64 Total)
{
    if (Total > 0 && PercentDoneHeard())
        Notify(this, OnPercentDone, &TRLData::percentDone, int(std::clamp<qint64>(Done * 100 / Total, 0, 100)));
}

void TRLData::BeforeSortExchange(QObject* Sender, int Row1, int Row2)
{
    Q_UNUSED(Sender);
    Notify(this, OnBeforeSortExchange, &TRLData::beforeSortExchange, Row1, Row2);
}

void TRLData::BeforeHTMLExport(QString& Text, int Col, int Row)
{
    if (OnBeforeHTMLExport)
        OnBeforeHTMLExport(this, Text, Col, Row);
}

// ---------------------------------------------------------------------------------------------
// Counts and headers

void TRLData::SetNrOfRows(int Value)
{
    Value = std::max(0, Value);
    ResizeArray(FNrOfCols, std::max(Value, 1));
    if (Value == 0 && FNrOfRows > 0) {
        // Row 1 stays in the array; empty it so nothing stale reappears when rows come back.
        NotifyPause pause(FStrings.get());
        for (int c = 0; c <= FNrOfCols; ++c) {
            const QStringView raw = FStrings->GetStringView(c, 1);
            if (IsCheckCol(c) && !raw.isEmpty())
                FStrings->SetString(c, 1, raw.first(1).toString());
            else
                FStrings->SetString(c, 1, QStringView());
        }
        FStrings->SetRowAttrib(1, 0);
    }
    FNrOfRows = Value;
    RecalcFeedback();
}

void TRLData::SetNrOfColumns(int Value)
{
    if (Value <= 0)
        Value = 1;
    const auto n = std::size_t(Value);
    // The cells first (the array refuses a size beyond the free memory), then room for the
    // column settings; without that the array gives its new columns back.
    ResizeArray(Value, std::max(FNrOfRows, 1));
    std::vector<QString> names;
    try {
        FColName.reserve(n);
        FColumnFormat.reserve(n);
        FColButMode.reserve(n);
        for (std::size_t i = FColName.size(); i < n; ++i)
            names.push_back(DefaultName(int(i) + 1));
    } catch (const std::bad_alloc&) {
        FStrings->Resize(FNrOfCols, std::max(FNrOfRows, 1));
        HeapError();
    }
    const std::size_t old = FColName.size();
    FColName.resize(n);
    FColumnFormat.resize(n);
    FColButMode.resize(n, cmNone);
    for (std::size_t i = old; i < n; ++i)
        FColName[i] = std::move(names[i - old]);
    FNrOfCols = Value;
    RecalcFeedback();
}

void TRLData::SetCommonHeader(const QString& Value)
{
    if (FCommonHeader != Value)
        FCommonHeader = Value;
}

TNameStrType TRLData::Header(int ColNr) const
{
    return (ColNr >= 1 && ColNr <= FNrOfCols) ? FColName[std::size_t(ColNr - 1)] : QString();
}

void TRLData::SetHeader(int ColNr, const TNameStrType& HLine)
{
    if (ColNr >= 1 && ColNr <= FNrOfCols)
        FColName[std::size_t(ColNr - 1)] = CutToLength(HLine, MaxNameLength);
}

TColFmtString TRLData::ColumnFormat(int ColNr) const
{
    return (ColNr >= 1 && ColNr <= FNrOfCols) ? FColumnFormat[std::size_t(ColNr - 1)] : QString();
}

void TRLData::SetColumnFormat(int ColNr, const TColFmtString& DefValue)
{
    if (ColNr >= 1 && ColNr <= FNrOfCols)
        FColumnFormat[std::size_t(ColNr - 1)] = CutToLength(DefValue, MaxColFmtLength);
}

TCheckMode TRLData::ColumnCheckMode(int ColNr) const
{
    return (ColNr >= 1 && ColNr <= FNrOfCols) ? FColButMode[std::size_t(ColNr - 1)] : cmNone;
}

void TRLData::SetColumnCheckMode(int ColNr, TCheckMode Value)
{
    if (ColNr < 1 || ColNr > FNrOfCols || Value > cmRadio)
        return;
    const TCheckMode old = FColButMode[std::size_t(ColNr - 1)];
    if (old == Value)
        return;
    NotifyPause pause(FStrings.get());
    FColButMode[std::size_t(ColNr - 1)] = Value;
    QString buf;
    for (int r = 1; r <= FNrOfRows; ++r) {
        const QStringView raw = FStrings->GetStringView(ColNr, r);
        if (raw.isEmpty())
            continue;
        if (old == cmNone) {
            buf = QString(MarkUnchecked) + raw.toString();
            FStrings->SetString(ColNr, r, buf);
        } else if (Value == cmNone) {
            FStrings->SetString(ColNr, r, raw.mid(1).toString());
        } else if (Value == cmRadio && raw[0] != MarkUnchecked) {
            buf = raw.toString();
            buf[0] = MarkUnchecked;
            FStrings->SetString(ColNr, r, buf);
        }
    }
}

int TRLData::ColumnIndex(const QString& Head, bool PartialMatch) const
{
    if (PartialMatch && Head.isEmpty())
        return -1;
    const QString head = Head.toLower();
    for (int c = FNrOfCols; c >= 1; --c) {
        const QString name = FColName[std::size_t(c - 1)].toLower();
        if (PartialMatch ? name.contains(head) : name == head)
            return c;
    }
    return -1;
}

// ---------------------------------------------------------------------------------------------
// Cells

QString TRLData::RawElem(int ACol, int ARow) const
{
    return ValidCell(ACol, ARow) ? FStrings->GetString(ACol, ARow) : QString();
}

void TRLData::SetRawElem(int ACol, int ARow, const QString& Value)
{
    if (ValidCell(ACol, ARow))
        StoreCell(ACol, ARow, Value);
}

void TRLData::StoreCell(int ACol, int ARow, QStringView Value)
{
    try {
        FStrings->SetString(ACol, ARow, Value);
    } catch (const EQORDStructError&) {
        HeapError();
    }
}

QString TRLData::Elem(int ACol, int ARow) const
{
    if (!ValidCell(ACol, ARow))
        return QString();
    const QStringView raw = FStrings->GetStringView(ACol, ARow);
    if (IsCheckCol(ACol))
        return raw.isEmpty() ? QString() : raw.mid(1).toString();
    return raw.toString();
}

void TRLData::SetElem(int ACol, int ARow, const QString& Value)
{
    if (!ValidCell(ACol, ARow))
        return;
    if (IsCheckCol(ACol)) {
        const QStringView raw = FStrings->GetStringView(ACol, ARow);
        const QChar mark = raw.isEmpty() ? MarkUnchecked : raw[0];
        StoreCell(ACol, ARow, QString(mark) + Value);
    } else {
        StoreCell(ACol, ARow, Value);
    }
}

bool TRLData::ElemChecked(int ACol, int ARow) const
{
    if (!ValidCell(ACol, ARow) || !IsCheckCol(ACol))
        return false;
    const QStringView raw = FStrings->GetStringView(ACol, ARow);
    return !raw.isEmpty() && raw[0] != MarkUnchecked;
}

void TRLData::SetMark(int ACol, int ARow, QChar Mark)
{
    const QStringView raw = FStrings->GetStringView(ACol, ARow);
    if (raw.isEmpty()) {
        StoreCell(ACol, ARow, QString(Mark));
    } else if (raw[0] != Mark) {
        QString s = raw.toString();
        s[0] = Mark;
        StoreCell(ACol, ARow, s);
    }
}

void TRLData::SetElemChecked(int ACol, int ARow, bool Value)
{
    if (!ValidCell(ACol, ARow) || !IsCheckCol(ACol))
        return;
    NotifyPause pause(FStrings.get());
    // The one mark that may need room comes first; clearing the others of a radio column
    // replaces a mark in place.
    SetMark(ACol, ARow, Value ? MarkChecked : MarkUnchecked);
    if (ColumnCheckMode(ACol) == cmRadio)
        for (int r = 1; r <= FNrOfRows; ++r)
            if (r != ARow && !FStrings->GetStringView(ACol, r).isEmpty())
                SetMark(ACol, r, MarkUnchecked);
}

double TRLData::AsNumber(int ACol, int ARow) const
{
    const QString raw = FStrings->GetString(ACol, ARow);
    QStringView text(raw);
    if (IsCheckCol(ACol) && !text.isEmpty())
        text = text.mid(1);
    if (std::all_of(text.begin(), text.end(), [](QChar ch) { return ch.unicode() <= ' '; }))
        return 0.0;
    double v = 0;
    if (!TStringArray::ReadsAsNumber(text, v))
        throw EQORDStructError(QStringLiteral("Class TRLData: invalid numeric string: [%1,%2]: ").arg(ACol).arg(ARow) + raw);
    return v;
}

QString TRLData::DefaultValue(int ACol, int ARow) const
{
    QString f = ColumnFormat(ACol);
    const qsizetype close = f.indexOf(QLatin1Char(']'));
    const QString prefix = close >= 0 ? f.left(close + 1) : QString();
    f.remove(0, prefix.size());
    if (f.isEmpty() || prefix.size() < 2)
        return QString();
    const qsizetype close2 = f.indexOf(QLatin1Char(']'));
    const QString r = close2 >= 0 ? f.mid(close2 + 1) : f;
    return FormatDefault(prefix[1], r, ARow);
}

QString TRLData::FormatDefault(QChar Letter, const QString& r, int ARow, bool RixAnyCase)
{
    const QString lower = r.toLower();
    const bool rixHI = (RixAnyCase ? lower : r).contains(QLatin1String("rix"));
    switch (Letter.unicode()) {
    case 'c':
    case 'l': {
        const qsizetype bar = r.indexOf(QLatin1Char('|'));
        return bar >= 0 ? r.left(bar) : r;
    }
    case 'd':
        return r;
    case 'e':
    case 'f':
        if (lower.contains(QLatin1String("rix")))
            return strff(ARow, 1, LeadingInteger(r, 3));
        return r;
    case 'h':
        if (rixHI) {
            const int n = std::clamp(LeadingInteger(r, 3), 1, 16);
            static const char Digits[] = "0123456789ABCDEF";
            std::uint64_t v = std::uint64_t(std::uint32_t(ARow));
            QString s(n, QLatin1Char('0'));
            for (int i = n - 1; i >= 0; --i, v >>= 4)
                s[i] = QLatin1Char(Digits[v & 15]);
            return s;
        }
        return r;
    case 'i':
        if (rixHI) {
            // A cell holds at most 255 characters, so longer fields are never needed.
            const int n = std::clamp(LeadingInteger(r, 3), 1, TStringArray::MaxCellLength);
            std::uint64_t v = ARow < 0 ? std::uint64_t(-(long long)ARow) : std::uint64_t(ARow);
            QString s(n, QLatin1Char('0'));
            for (int i = n - 1; i >= 0 && v > 0; --i, v /= 10)
                s[i] = QLatin1Char(char('0' + v % 10));
            return ARow < 0 ? QStringLiteral("-") + s : s;
        }
        return r;
    case 's':
        if (lower.contains(QLatin1String("$pwd$")))
            return InventPassword(std::min(LeadingInteger(r, 5), TStringArray::MaxCellLength));
        return r;
    default:
        return QString();
    }
}

// ---------------------------------------------------------------------------------------------
// Check marks

void TRLData::SetAllCheckmarksOfCol(int Column, bool Checked, bool AffectEnabledRowsOnly, int LastRow)
{
    const TCheckMode mode = ColumnCheckMode(Column);
    if (mode == cmNone || (mode == cmRadio && Checked))
        return;
    NotifyPause pause(FStrings.get());
    const int last = LastRow < 0 ? FNrOfRows : std::min(LastRow, FNrOfRows);
    for (int r = 1; r <= last; ++r)
        if (!AffectEnabledRowsOnly || !(FStrings->GetRowAttrib(r) & rlaDisabled))
            SetMark(Column, r, Checked ? MarkChecked : MarkUnchecked);
}

void TRLData::InvertAllCheckmarksOfCol(int Column, bool AffectEnabledRowsOnly, int LastRow)
{
    if (ColumnCheckMode(Column) != cmBox)
        return;
    NotifyPause pause(FStrings.get());
    const int last = LastRow < 0 ? FNrOfRows : std::min(LastRow, FNrOfRows);
    for (int r = 1; r <= last; ++r) {
        if (AffectEnabledRowsOnly && (FStrings->GetRowAttrib(r) & rlaDisabled))
            continue;
        const QStringView raw = FStrings->GetStringView(Column, r);
        // Any mark but a blank counts as checked, so it inverts to unchecked.
        const bool checked = !raw.isEmpty() && raw[0] != MarkUnchecked;
        SetMark(Column, r, checked ? MarkUnchecked : MarkChecked);
    }
}

int TRLData::CountCheckedElemsInCol(int Column) const
{
    if (!IsCheckCol(Column))
        return 0;
    int n = 0;
    for (int r = 1; r <= FNrOfRows; ++r)
        n += ElemChecked(Column, r) ? 1 : 0;
    return n;
}

int TRLData::CountCheckedElemsInRow(int Row) const
{
    int n = 0;
    for (int c = 1; c <= FNrOfCols; ++c)
        n += ElemChecked(c, Row) ? 1 : 0;
    return n;
}

int TRLData::FirstCheckedElemInCol(int ColNr) const
{
    if (!IsCheckCol(ColNr))
        return 0;
    for (int r = 1; r <= FNrOfRows; ++r)
        if (ElemChecked(ColNr, r))
            return r;
    return 0;
}

int TRLData::FirstCheckedElemInRow(int RowNr) const
{
    if (RowNr < 1 || RowNr > FNrOfRows)
        return 0;
    for (int c = 1; c <= FNrOfCols; ++c)
        if (ElemChecked(c, RowNr))
            return c;
    return 0;
}

std::uint8_t TRLData::RowAttrib(int Row) const
{
    return (Row >= 1 && Row <= FNrOfRows) ? FStrings->GetRowAttrib(Row) : 0;
}

void TRLData::SetRowAttrib(int Row, std::uint8_t Value)
{
    if (Row >= 1 && Row <= FNrOfRows)
        FStrings->SetRowAttrib(Row, Value);
}

std::uint8_t TRLData::ColAttrib(int Col) const
{
    return (Col >= 1 && Col <= FNrOfCols) ? FStrings->GetColAttrib(Col) : 0;
}

void TRLData::SetColAttrib(int Col, std::uint8_t Value)
{
    if (Col >= 1 && Col <= FNrOfCols)
        FStrings->SetColAttrib(Col, Value);
}

// ---------------------------------------------------------------------------------------------
// Structure

void TRLData::InsertColumn(int c)
{
    if (c < 1 || c > FNrOfCols)
        return;
    const auto n = std::size_t(FNrOfCols) + 1;
    try {
        FColName.reserve(n);
        FColumnFormat.reserve(n);
        FColButMode.reserve(n);
        FStrings->InsertColumn(c);
    } catch (const std::bad_alloc&) {
        HeapError();
    } catch (const EQORDStructError&) {
        HeapError();
    }
    const auto at = std::ptrdiff_t(c - 1);
    FColName.insert(FColName.begin() + at, QString());
    FColumnFormat.insert(FColumnFormat.begin() + at, QString());
    FColButMode.insert(FColButMode.begin() + at, cmNone);
    ++FNrOfCols;
    RecalcFeedback();
}

void TRLData::RemoveColumn(int c)
{
    if (c < 1 || c > FNrOfCols)
        return;
    FStrings->CommitSorting();
    const auto at = std::size_t(c - 1);
    if (FNrOfCols >= 2) {
        FStrings->RemoveColumn(c);
        FColName.erase(FColName.begin() + std::ptrdiff_t(at));
        FColumnFormat.erase(FColumnFormat.begin() + std::ptrdiff_t(at));
        FColButMode.erase(FColButMode.begin() + std::ptrdiff_t(at));
        --FNrOfCols;
    } else {
        NotifyPause pause(FStrings.get());
        for (int r = 0; r <= FNrOfRows; ++r)
            FStrings->SetString(c, r, QStringView());
        FStrings->SetColAttrib(c, 0);
        FColName[at].clear();
        FColumnFormat[at].clear();
        FColButMode[at] = cmNone;
        FNrOfCols = 0;
    }
    RecalcFeedback();
}

void TRLData::InsertRow(int r)
{
    if (r < 1 || r > FNrOfRows)
        return;
    try {
        FStrings->InsertRow(r);
    } catch (const EQORDStructError&) {
        HeapError();
    }
    ++FNrOfRows;
    RecalcFeedback();
}

void TRLData::RemoveRow(int r)
{
    if (r < 1 || r > FNrOfRows)
        return;
    FStrings->CommitSorting();
    if (FNrOfRows >= 2) {
        FStrings->RemoveRow(r);
    } else {
        NotifyPause pause(FStrings.get());
        for (int c = 0; c <= FNrOfCols; ++c)
            FStrings->SetString(c, r, QStringView());
        FStrings->SetRowAttrib(r, 0);
    }
    --FNrOfRows;
    RecalcFeedback();
}

bool TRLData::RowEmpty(int Row) const
{
    if (Row < 1 || Row > FNrOfRows)
        return false;
    for (int c = 0; c <= FNrOfCols; ++c)
        if (FStrings->GetLength(c, Row) > (IsCheckCol(c) ? 1 : 0))
            return false;
    return true;
}

void TRLData::RemoveEmptyRows()
{
    TIntArray empty;
    for (int r = 1; r <= FNrOfRows; ++r)
        if (RowEmpty(r))
            empty.append(r);
    if (empty.isEmpty())
        return;
    // Removing commits the sorting, as RemoveRow does (the shown positions stay what they
    // are); then one pass takes all empty rows.
    NotifyPause pause(FStrings.get());
    FStrings->CommitSorting();
    RemoveRows(empty);
}

void TRLData::RemoveRows(const TIntArray& Rows)
{
    std::vector<char> drop(std::size_t(FNrOfRows) + 1, 0);
    int count = 0;
    for (int r : Rows)
        if (r >= 1 && r <= FNrOfRows && !drop[std::size_t(r)]) {
            drop[std::size_t(r)] = 1;
            ++count;
        }
    if (count == 0)
        return;
    NotifyPause pause(FStrings.get());
    if (count == FNrOfRows) {
        SetNrOfRows(0);   // the array keeps one emptied row
        return;
    }
    FStrings->RemoveRows(drop);
    FNrOfRows -= count;
    RecalcFeedback();
}

void TRLData::CopyRow(int Source, int Target)
{
    if (Source < 1 || Source > FNrOfRows || Target < 1 || Target > FNrOfRows || Source == Target)
        return;
    NotifyPause pause(FStrings.get());
    for (int c = 0; c <= FNrOfCols; ++c)
        FStrings->SetString(c, Target, FStrings->GetString(c, Source));
    FStrings->SetRowAttrib(Target, FStrings->GetRowAttrib(Source));
}

// ---------------------------------------------------------------------------------------------
// Sorting

void TRLData::Sort(int PrimCol, int SecCol, bool AscendPrim, bool AscendSec)
{
    FSortColumnPrim = PrimCol;
    FSortColumnSec = SecCol;
    FSortOrderPrim = AscendPrim;
    FSortOrderSec = AscendSec;
    // Only the data rows take part; row numbers beyond NrOfRows may exist in the array when
    // NrOfRows is 0 (one spare row), which must not move.
    if (FNrOfRows >= 2)
        FStrings->Sort(PrimCol, SecCol, AscendPrim, AscendSec);
}

void TRLData::UnSort()
{
    FSortColumnPrim = -1;
    FSortColumnSec = -1;
    FStrings->UnSort();
}

// ---------------------------------------------------------------------------------------------
// Bulk

void TRLData::Fill(const QString& s)
{
    NotifyPause pause(FStrings.get());
    const QString value = CutToLength(s, TStringArray::MaxCellLength);
    const QString unchecked = QString(MarkUnchecked) + value;
    const QString checked = QString(MarkChecked) + value;
    for (int c = 1; c <= FNrOfCols; ++c) {
        const bool check = IsCheckCol(c);
        for (int r = 1; r <= FNrOfRows; ++r) {
            if (!check) {
                FStrings->SetString(c, r, value);
            } else {
                const QStringView raw = FStrings->GetStringView(c, r);
                FStrings->SetString(c, r, (raw.isEmpty() || raw[0] == MarkUnchecked) ? unchecked : checked);
            }
        }
    }
}

void TRLData::Clear()
{
    NotifyPause pause(FStrings.get());
    FStrings->Clear();
    for (int c = 1; c <= int(FColName.size()); ++c) {
        FColName[std::size_t(c - 1)] = DefaultName(c);
        FColumnFormat[std::size_t(c - 1)].clear();
        FColButMode[std::size_t(c - 1)] = cmNone;
    }
}

void TRLData::Assign(const QObject* Source)
{
    const auto* src = qobject_cast<const TRLData*>(Source);
    if (!src) {
        TComponent::Assign(Source);
        return;
    }
    if (src == this)
        return;
    std::unique_ptr<TStringArray> fresh;
    try {
        fresh = std::make_unique<TStringArray>();
        fresh->SetAllocRowsBy(src->FStrings->AllocRowsBy());
        fresh->Resize(src->FNrOfCols, std::max(src->FNrOfRows, 1));
    } catch (const std::bad_alloc&) {
        HeapError();
    } catch (const EQORDStructError&) {
        HeapError();
    }
    fresh->SetNotifyChange(false);
    for (int c = 1; c <= src->FNrOfCols; ++c)
        fresh->SetColAttrib(c, src->FStrings->GetColAttrib(c));
    // The copy holds the data in unsorted order, then takes over the source's permutation.
    for (int r = 1; r <= src->FNrOfRows; ++r) {
        const int phys = src->FStrings->GetSortOrder(r);
        fresh->SetRowAttrib(phys, src->FStrings->GetRowAttrib(r));
        for (int c = 0; c <= src->FNrOfCols; ++c)
            fresh->SetString(c, phys, src->FStrings->GetStringView(c, r));
    }
    for (int r = 1; r <= src->FNrOfRows; ++r)
        fresh->SetSortOrder(r, src->FStrings->GetSortOrder(r));

    // The hooks a view bound to the old array stay bound.
    fresh->OnChange = std::move(FStrings->OnChange);
    fresh->OnPercentDone = std::move(FStrings->OnPercentDone);
    fresh->SetNotifyChange(FStrings->NotifyChange());
    FStrings = std::move(fresh);
    BindArray();

    FNrOfCols = src->FNrOfCols;
    FNrOfRows = src->FNrOfRows;
    FSortColumnPrim = src->FSortColumnPrim;
    FSortColumnSec = src->FSortColumnSec;
    FSortOrderPrim = src->FSortOrderPrim;
    FSortOrderSec = src->FSortOrderSec;
    FSortToggle = src->FSortToggle;
    FComment = src->FComment;
    FCommonHeader = src->FCommonHeader;
    OnBeforeSortExchange = src->OnBeforeSortExchange;
    FDataID = src->FDataID;
    FColName = src->FColName;
    FColumnFormat = src->FColumnFormat;
    FColButMode = src->FColButMode;
    RecalcFeedback();
    FStrings->Changed();
}

void TRLData::AssignTo(QObject* Dest) const
{
    if (!AssignToSameClass<TRLData>(Dest))
        TComponent::AssignTo(Dest);
}

void TRLData::TakeLoadedContent(TRLData& Fresh)
{
    Fresh.FStrings->OnChange = std::move(FStrings->OnChange);
    Fresh.FStrings->OnPercentDone = std::move(FStrings->OnPercentDone);
    Fresh.FStrings->SetNotifyChange(FStrings->NotifyChange());
    FStrings.swap(Fresh.FStrings);
    BindArray();
    FNrOfCols = Fresh.FNrOfCols;
    FNrOfRows = Fresh.FNrOfRows;
    FColName.swap(Fresh.FColName);
    FColumnFormat.swap(Fresh.FColumnFormat);
    FColButMode.swap(Fresh.FColButMode);
    FCommonHeader = Fresh.FCommonHeader;
    FComment = Fresh.FComment;
    FDataID = Fresh.FDataID;
    FSortColumnPrim = -1;
    FSortColumnSec = -1;
    RecalcFeedback();
    FStrings->Changed();
}

} // namespace qor
