// TRLData's CSV files and text lines: export, import and loading lines into a column.
#include "QOR_rldata.h"
#include "QOR_rlfiles_p.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace qor {

using namespace rlfiles;

namespace {

constexpr char Utf8Bom[] = "\xEF\xBB\xBF";

// Alone: the field is the only one of its line. Empty, it is quoted, since an empty line is no
// record to many readers.
bool CsvNeedsQuotes(QStringView s, char16_t delim, bool alone)
{
    if (s.isEmpty())
        return alone;
    if (s.front() == QLatin1Char(' ') || s.back() == QLatin1Char(' '))
        return true;
    for (QChar ch : s) {
        const char16_t u = ch.unicode();
        if (u == delim || u == u'"' || u == u'\n' || u == u'\r')
            return true;
    }
    return false;
}

void AppendCsvField(QString& line, QStringView s, QChar delim, bool alone)
{
    if (!CsvNeedsQuotes(s, delim.unicode(), alone)) {
        line.append(s);
        return;
    }
    line.append(QLatin1Char('"'));
    for (QChar ch : s) {
        if (ch == QLatin1Char('"'))
            line.append(QLatin1Char('"'));
        line.append(ch);
    }
    line.append(QLatin1Char('"'));
}

// Appends the UTF-8 of s (no escaping).
void AppendXmlFreeUtf8(std::string& out, QStringView s)
{
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t ch = s[i].unicode();
        if (ch < 0x80)
            out.push_back(char(ch));
        else if (QChar::isHighSurrogate(ch) && i + 1 < s.size() && QChar::isLowSurrogate(s[i + 1].unicode())) {
            AppendUtf8(out, QChar::surrogateToUcs4(ch, s[i + 1].unicode()));
            ++i;
        } else if (QChar::isSurrogate(ch))
            AppendUtf8(out, 0xFFFD);
        else
            AppendUtf8(out, ch);
    }
}

// A CSV field in UTF-8, quoted where needed.
void AppendCsvFieldUtf8(std::string& out, QStringView s, char16_t delim, bool alone)
{
    if (!CsvNeedsQuotes(s, delim, alone)) {
        AppendXmlFreeUtf8(out, s);
        return;
    }
    out.push_back('"');
    qsizetype from = 0;
    for (qsizetype i = 0; i < s.size(); ++i)
        if (s[i] == QLatin1Char('"')) {
            AppendXmlFreeUtf8(out, s.mid(from, i + 1 - from));
            out.push_back('"');
            from = i + 1;
        }
    AppendXmlFreeUtf8(out, s.mid(from));
    out.push_back('"');
}

// Decodes the UTF-8 bytes [p, e) and appends them.
void AppendRaw(const char* p, const char* e, std::u16string& out)
{
    while (p < e) {
        const unsigned char c = (unsigned char)*p;
        if (c < 0x80) {
            out.push_back(char16_t(c));
            ++p;
        } else {
            p = DecodeUtf8(p, e, out);
        }
    }
}

// Records of CSV text: fields separated by the delimiter, records by LF, CR LF or CR outside
// quotes; a field that starts with a double quote runs to the matching quote ("" inside is one
// quote); text after the closing quote is kept as it stands.
class CsvReader {
public:
    CsvReader(const char* begin, const char* end, char delim) : p(begin), e(end), d(delim) {}
    bool Error = false;
    // Reads the next record; false at the end of the text or on an unterminated quote (Error).
    bool ReadRecord(std::vector<std::u16string>* fields, int& count)
    {
        count = 0;
        if (p >= e || Error)
            return false;
        for (;;) {
            std::u16string* field = nullptr;
            if (fields) {
                if (fields->size() <= std::size_t(count))
                    fields->emplace_back();
                field = &(*fields)[std::size_t(count)];
                field->clear();
            }
            ++count;
            if (p < e && *p == '"') {
                ++p;
                for (;;) {
                    const char* q = static_cast<const char*>(std::memchr(p, '"', std::size_t(e - p)));
                    if (!q) {
                        Error = true;
                        return false;
                    }
                    if (field)
                        AppendRaw(p, q, *field);
                    p = q + 1;
                    if (p < e && *p == '"') {
                        if (field)
                            field->push_back(u'"');
                        ++p;
                        continue;
                    }
                    break;
                }
            }
            const char* q = p;
            while (q < e && *q != d && *q != '\n' && *q != '\r')
                ++q;
            if (field)
                AppendRaw(p, q, *field);
            p = q;
            if (p >= e)
                return true;
            if (*p == d) {
                ++p;
                continue;
            }
            if (*p == '\r' && p + 1 < e && p[1] == '\n')
                ++p;
            ++p;
            return true;
        }
    }
private:
    const char* p;
    const char* e;
    char d;
};

// Switches the change notification off and restores it (one notification at the end).
class NotifyPauseGuard {
public:
    explicit NotifyPauseGuard(TStringArray* a) : FArray(a), FPrevious(a->NotifyChange()) { a->SetNotifyChange(false); }
    ~NotifyPauseGuard()
    {
        FArray->SetNotifyChange(FPrevious);
        FArray->Changed();
    }
private:
    TStringArray* FArray;
    bool FPrevious;
};

} // namespace

// ---------------------------------------------------------------------------------------------
// CSV

int TRLData::ExportCSV(const QString& FName, TCSVDelimiters Delimiter, bool IncludeColHeaders, bool IncludeCommonHeader,
                       int FirstCol, int FirstRow, int LastCol, int LastRow)
{
    ClampRange(FirstCol, FirstRow, LastCol, LastRow);
    const QChar delim = CSVDelimiterChar(Delimiter);
    QSaveFile f(FName);
    if (!f.open(QIODevice::WriteOnly))
        return -1;
    QString line;
    std::string out;
    out.reserve(std::size_t(FlushBytes) + 4096);
    bool ok = true, started = false;
    auto flush = [&]() {
        // A file that opens with U+FEFF would lose it to every reader (this one too), which takes
        // it for a byte-order mark; a mark of its own in front keeps the character.
        if (!started && out.rfind(Utf8Bom, 0) == 0)
            ok = f.write(Utf8Bom, 3) == 3;
        started = started || !out.empty();
        ok = ok && f.write(out.data(), qint64(out.size())) == qint64(out.size());
        out.clear();
    };
    auto emitLine = [&]() {
        if (OnExportText)
            OnExportText(this, line);
        AppendXmlFreeUtf8(out, line);
        out += "\r\n";
        line.clear();
    };
    if (IncludeCommonHeader) {
        AppendCsvField(line, FCommonHeader, delim, true);
        emitLine();
    }
    if (IncludeColHeaders && FirstCol <= LastCol) {
        for (int c = FirstCol; c <= LastCol; ++c) {
            if (c > FirstCol)
                line.append(delim);
            AppendCsvField(line, Header(c), delim, FirstCol == LastCol);
        }
        emitLine();
    }
    int rows = 0;
    const int step = std::max(1, FFeedbkStep / std::max(1, FNrOfCols + 1));
    if (FirstCol <= LastCol) {
        for (int r = FirstRow; r <= LastRow; ++r) {
            for (int c = FirstCol; c <= LastCol; ++c) {
                QStringView s = FStrings->GetStringView(c, r);
                if (IsCheckCol(c) && !s.isEmpty())
                    s = s.mid(1);
                if (OnExportText) {
                    if (c > FirstCol)
                        line.append(delim);
                    AppendCsvField(line, s, delim, FirstCol == LastCol);
                } else {
                    // No listener: encode straight into the output.
                    if (c > FirstCol)
                        out.push_back(char(delim.unicode()));
                    AppendCsvFieldUtf8(out, s, delim.unicode(), FirstCol == LastCol);
                }
            }
            if (OnExportText)
                emitLine();
            else
                out += "\r\n";
            if (out.size() >= std::size_t(FlushBytes))
                flush();
            ++rows;
            if (rows % step == 0)
                ReportProgress(rows, LastRow - FirstRow + 1);
        }
    }
    flush();
    if (!ok || !f.commit())
        return -1;
    return rows;
}

int TRLData::ImportCSV(const QString& FName, TCSVDelimiters Delimiter, bool IncludeColHeaders)
{
    QByteArray bytes;
    if (!ReadFileBytes(FName, bytes))
        return -1;
    const char* begin = bytes.constData();
    if (bytes.startsWith(Utf8Bom))
        begin += 3;
    const char delim = char(CSVDelimiterChar(Delimiter).unicode());

    // First pass: the shape, so the array is sized once.
    CsvReader shape(begin, bytes.constData() + bytes.size(), delim);
    long long records = 0, widest = 1;
    int count = 0;
    while (shape.ReadRecord(nullptr, count)) {
        ++records;
        widest = std::max<long long>(widest, count);
    }
    if (shape.Error)
        return -2;
    const long long rows = std::max(0LL, records - (IncludeColHeaders && records > 0 ? 1 : 0));
    if (!TableFits(widest, rows, bytes.size()))
        return -2;

    TRLData fresh;
    try {
        fresh.SetNrOfColumns(int(widest));
        fresh.SetNrOfRows(int(rows));
    } catch (const EQORError&) {
        return -2;
    }
    fresh.FStrings->SetNotifyChange(false);
    CsvReader reader(begin, bytes.constData() + bytes.size(), delim);
    std::vector<std::u16string> fields;
    const long long step = std::max<long long>(1, rows / 100);
    for (long long rec = 0; reader.ReadRecord(&fields, count); ++rec) {
        if (rec == 0 && IncludeColHeaders) {
            for (int c = 0; c < count; ++c)
                fresh.SetHeader(c + 1, ToQString(fields[std::size_t(c)]));
            continue;
        }
        const int r = int(rec) + (IncludeColHeaders ? 0 : 1);
        for (int c = 0; c < count; ++c)
            fresh.FStrings->SetString(c + 1, r, ToView(fields[std::size_t(c)]));
        if (r % step == 0)
            ReportProgress(r, rows);
    }
    fresh.FCommonHeader = FCommonHeader;
    fresh.FComment = FComment;
    fresh.FDataID = FDataID;
    TakeLoadedContent(fresh);
    return int(rows);
}

int TRLData::LoadLinesFromFile(int Column, int FirstRow, const QString& FName)
{
    if (Column < 0 || Column > FNrOfCols || FirstRow < 1 || FirstRow > FNrOfRows + 1)
        return -2;
    QByteArray bytes;
    if (!ReadFileBytes(FName, bytes))
        return -1;
    QStringList lines;
    const QString text = QString::fromUtf8(bytes.startsWith(Utf8Bom) ? bytes.mid(3) : bytes);
    qsizetype from = 0;
    while (from < text.size()) {
        qsizetype e = from;
        while (e < text.size() && text[e] != QLatin1Char('\n') && text[e] != QLatin1Char('\r'))
            ++e;
        lines.append(text.mid(from, e - from));
        if (e < text.size() && text[e] == QLatin1Char('\r') && e + 1 < text.size() && text[e + 1] == QLatin1Char('\n'))
            ++e;
        from = e + 1;
    }
    if (lines.isEmpty())
        return 0;
    const long long last = (long long)FirstRow + lines.size() - 1;
    if (last > FNrOfRows) {
        if (!TableFits(FNrOfCols, last, bytes.size()))
            return -2;
        SetNrOfRows(int(last));
    }
    NotifyPauseGuard pause(FStrings.get());
    for (qsizetype i = 0; i < lines.size(); ++i)
        SetElem(Column, FirstRow + int(i), lines[i]);
    return int(lines.size());
}

} // namespace qor
