// TRLData's XML files: recognition of a report list, writing and reading the XML format.
#include "QOR_rldata.h"
#include <QOR_Text_p.h>
#include "QOR_rlfiles_p.h"

#include <QOR_streams.h>
#include <QOR_stringl.h>

#include <QFile>
#include <QSaveFile>
#include <QTextStream>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>

namespace qor {

using namespace rlfiles;

namespace {

// ---- UTF-8 output with escaping

void AppendHex4(std::string& out, unsigned v)
{
    static const char Hex[] = "0123456789ABCDEF";
    out += "\\u";
    for (int s = 12; s >= 0; s -= 4)
        out.push_back(Hex[(v >> s) & 15]);
}

// Characters XML 1.0 cannot carry, not even as references.
bool XmlForbidden(char16_t ch)
{
    return (ch < 0x20 && ch != u'\t' && ch != u'\n' && ch != u'\r') || ch == 0xFFFE || ch == 0xFFFF;
}

// True when the text needs the backslash form (forbidden characters or unpaired surrogates).
bool NeedsEscapeForm(QStringView s)
{
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t ch = s[i].unicode();
        if (ch < 0x20 ? XmlForbidden(ch) : ch >= 0xD800) {
            if (XmlForbidden(ch))
                return true;
            if (QChar::isHighSurrogate(ch)) {
                if (i + 1 < s.size() && QChar::isLowSurrogate(s[i + 1].unicode())) {
                    ++i;
                    continue;
                }
                return true;
            }
            if (QChar::isLowSurrogate(ch))
                return true;
        }
    }
    return false;
}

// Appends s as XML character data. In the backslash form, "\" is doubled and characters XML
// cannot hold are written as \uXXXX. Carriage returns become &#13; (parsers fold a literal CR).
void AppendXmlText(std::string& out, QStringView s, bool escapeForm, bool attribute = false)
{
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t ch = s[i].unicode();
        if (ch < 0x80) {
            switch (ch) {
            case u'<': out.append("&lt;", 4); continue;
            case u'>': out.append("&gt;", 4); continue;
            case u'&': out.append("&amp;", 5); continue;
            case u'"': out.append("&quot;", 6); continue;
            case u'\r': out.append("&#13;", 5); continue;
            case u'\\':
                if (escapeForm) {
                    out.append("\\\\", 2);
                    continue;
                }
                break;
            case u'\n':
                if (attribute) {
                    out.append("&#10;", 5);
                    continue;
                }
                break;
            case u'\t':
                if (attribute) {
                    out.append("&#9;", 4);
                    continue;
                }
                break;
            default:
                if (XmlForbidden(ch)) {
                    if (escapeForm)
                        AppendHex4(out, ch);
                    continue;
                }
            }
            out.push_back(char(ch));
        } else if (QChar::isHighSurrogate(ch) && i + 1 < s.size() && QChar::isLowSurrogate(s[i + 1].unicode())) {
            AppendUtf8(out, QChar::surrogateToUcs4(ch, s[i + 1].unicode()));
            ++i;
        } else if (QChar::isSurrogate(ch) || XmlForbidden(ch)) {
            if (escapeForm)
                AppendHex4(out, ch);
        } else {
            AppendUtf8(out, ch);
        }
    }
}

void AppendInt(std::string& out, int v)
{
    char buf[16];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, std::size_t(res.ptr - buf));
}

void AppendElement(std::string& out, const char* tag, QStringView text, int col = -1, int row = -1)
{
    const bool esc = NeedsEscapeForm(text);
    out.push_back('<');
    out.append(tag);
    if (col >= 0) {
        out += " c=\"";
        AppendInt(out, col);
        out.push_back('"');
    }
    if (row >= 0) {
        out += " r=\"";
        AppendInt(out, row);
        out.push_back('"');
    }
    if (esc)
        out.append(" esc=\"1\"");
    out.push_back('>');
    AppendXmlText(out, text, esc);
    ((out += "</") += tag) += ">\n";
}
// ---- XML input

class XmlScanner {
public:
    XmlScanner(const char* data, qsizetype size) : p(data), end(data + size) {}

    struct Attr {
        std::string Name;
        std::u16string Value;
    };

    const char* p;
    const char* end;

    void SkipSpace()
    {
        while (p < end && (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r'))
            ++p;
    }
    bool StartsWith(const char* s) const
    {
        const std::size_t n = std::strlen(s);
        return std::size_t(end - p) >= n && std::memcmp(p, s, n) == 0;
    }
    // Skips comments, processing instructions and the document type; false on truncation.
    bool SkipMisc()
    {
        for (;;) {
            SkipSpace();
            if (StartsWith("<!--")) {
                const char* e = Find("-->", p + 4);
                if (!e)
                    return false;
                p = e + 3;
            } else if (StartsWith("<?") || StartsWith("<!")) {
                const char* e = Find(">", p + 2);
                if (!e)
                    return false;
                p = e + 1;
            } else {
                return true;
            }
        }
    }
    const char* Find(const char* s, const char* from) const
    {
        const std::size_t n = std::strlen(s);
        for (const char* q = from; q + n <= end; ++q)
            if (*q == s[0] && std::memcmp(q, s, n) == 0)
                return q;
        return nullptr;
    }
    static bool NameChar(char c)
    {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
               c == '.' || c == ':' || (unsigned char)c >= 0x80;
    }
    bool ReadName(std::string& name)
    {
        name.clear();
        while (p < end && NameChar(*p))
            name.push_back(char(std::tolower((unsigned char)*p++)));
        return !name.empty();
    }
    // After "<name": attributes up to ">" or "/>".
    bool ReadAttributes(std::vector<Attr>& attrs, bool& selfClosing)
    {
        attrs.clear();
        for (;;) {
            SkipSpace();
            if (p >= end)
                return false;
            if (*p == '>') {
                ++p;
                selfClosing = false;
                return true;
            }
            if (*p == '/') {
                if (p + 1 < end && p[1] == '>') {
                    p += 2;
                    selfClosing = true;
                    return true;
                }
                return false;
            }
            Attr a;
            if (!ReadName(a.Name))
                return false;
            SkipSpace();
            if (p < end && *p != '=') {
                // A bare word (as in "<replist vendrilex id=...>"): accepted with an empty value.
                attrs.push_back(std::move(a));
                continue;
            }
            if (p >= end)
                return false;
            ++p;
            SkipSpace();
            if (p >= end || (*p != '"' && *p != '\''))
                return false;
            const char quote = *p++;
            const char* start = p;
            while (p < end && *p != quote && *p != '<')
                ++p;
            if (p >= end || *p != quote)
                return false;
            if (!Decode(start, p, a.Value, true))
                return false;
            ++p;
            attrs.push_back(std::move(a));
        }
    }
    // Character data from start to stop with references resolved and UTF-8 decoded.
    static bool Decode(const char* s, const char* e, std::u16string& out, bool attribute)
    {
        out.clear();
        while (s < e) {
            const unsigned char c = (unsigned char)*s;
            if (c == '&') {
                const char* semi = static_cast<const char*>(std::memchr(s, ';', std::size_t(std::min<std::ptrdiff_t>(e - s, 12))));
                if (!semi)
                    return false;
                const std::string_view ent(s + 1, std::size_t(semi - s - 1));
                char32_t cp = 0;
                if (ent == "lt") cp = '<';
                else if (ent == "gt") cp = '>';
                else if (ent == "amp") cp = '&';
                else if (ent == "quot") cp = '"';
                else if (ent == "apos") cp = '\'';
                else if (ent.size() >= 2 && ent[0] == '#') {
                    const bool hex = ent[1] == 'x' || ent[1] == 'X';
                    std::size_t i = hex ? 2 : 1;
                    if (i >= ent.size())
                        return false;
                    for (; i < ent.size(); ++i) {
                        const char d = ent[i];
                        int v;
                        if (d >= '0' && d <= '9') v = d - '0';
                        else if (hex && d >= 'a' && d <= 'f') v = d - 'a' + 10;
                        else if (hex && d >= 'A' && d <= 'F') v = d - 'A' + 10;
                        else return false;
                        cp = cp * (hex ? 16 : 10) + char32_t(v);
                        if (cp > 0x10FFFF)
                            return false;
                    }
                    if (cp == 0 || (cp >= 0xD800 && cp <= 0xDFFF))
                        return false;
                } else {
                    return false;
                }
                PutCodePoint(out, cp);
                s = semi + 1;
            } else if (c == '\r') {
                // Line ends are folded to LF, as XML requires.
                out.push_back(u'\n');
                ++s;
                if (s < e && *s == '\n')
                    ++s;
            } else if ((c == '\n' || c == '\t') && attribute) {
                out.push_back(u' ');
                ++s;
            } else if (c < 0x80) {
                if (c == '<')
                    return false;
                out.push_back(char16_t(c));
                ++s;
            } else {
                s = DecodeUtf8(s, e, out);
            }
        }
        return true;
    }
};

// The identifier of a root line in lower case. The writer escapes markup characters in it
// ("R&D" is written "R&amp;D"), so references are resolved as the reader resolves them.
QString IdOfLine(const QString& lowerLine)
{
    const qsizetype at = lowerLine.indexOf(QLatin1String("id=\""));
    if (at < 0)
        return QString();
    const int close = NumberedPos(QStringLiteral("\""), lowerLine, int(at) + 1, 2, false);
    const qsizetype from = at + 4;
    QString id = close > 0 ? lowerLine.mid(from, close - 1 - from) : lowerLine.mid(from);
    if (id.contains(QLatin1Char('&'))) {
        const QByteArray utf8 = id.toUtf8();
        std::u16string decoded;
        if (XmlScanner::Decode(utf8.constData(), utf8.constData() + utf8.size(), decoded, true))
            id = ToQString(decoded).toLower();
    }
    return Trim(id);
}

// The id as a file can carry it: the characters XML cannot hold are left out, as the writer
// leaves them out, so a list read from a file writes and reads back under the id it holds.
QString StorableID(const QString& id)
{
    QString out;
    out.reserve(id.size());
    for (const QChar c : id)
        if (!XmlForbidden(c.unicode()))
            out += c;
    return out;
}

bool SameID(const QString& fileID, const QString& wanted)
{
    return wanted.isEmpty() || Trim(fileID).toLower() == Trim(wanted).toLower();
}

// Blanks around the wanted id count as little as those around the file's (IdOfLine trims).
bool LineIsReplist(const QString& line, const QString& wantedID)
{
    const QString lower = line.toLower();
    if (!lower.contains(QLatin1String("<replist")) || !lower.contains(QLatin1String("vendrilex")))
        return false;
    return wantedID.isEmpty() || SameID(IdOfLine(lower), wantedID);
}

TRepListXmlTag TagOfName(const std::string& name)
{
    static const char* const Names[] = {"numcols", "numrows", "colname", "checkedcolumn", "commonheader",
                                        "columnformat", "cell", "comment"};
    if (name == "cell")
        return xmlCell;
    for (int i = 0; i < 8; ++i)
        if (name == Names[i])
            return TRepListXmlTag(i);
    return xmlInvalid;
}

// Undoes the backslash form of AppendXmlText.
bool Unescape(std::u16string& s)
{
    std::u16string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != u'\\') {
            out.push_back(s[i]);
            continue;
        }
        if (i + 1 < s.size() && s[i + 1] == u'\\') {
            out.push_back(u'\\');
            ++i;
        } else if (i + 5 < s.size() + 0 && s[i + 1] == u'u') {
            char16_t v = 0;
            for (std::size_t k = i + 2; k < i + 6; ++k) {
                const char16_t d = s[k];
                int x;
                if (d >= u'0' && d <= u'9') x = d - u'0';
                else if (d >= u'A' && d <= u'F') x = d - u'A' + 10;
                else if (d >= u'a' && d <= u'f') x = d - u'a' + 10;
                else return false;
                v = char16_t(v * 16 + x);
            }
            out.push_back(v);
            i += 5;
        } else {
            return false;
        }
    }
    s.swap(out);
    return true;
}

bool ParseInt(const std::u16string& s, long long& v)
{
    std::size_t i = 0;
    while (i < s.size() && (s[i] == u' ' || s[i] == u'\n' || s[i] == u'\t'))
        ++i;
    if (i >= s.size())
        return false;
    v = 0;
    std::size_t digits = 0;
    for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i, ++digits) {
        v = v * 10 + (s[i] - u'0');
        if (v > 1000000000000LL)
            return false;
    }
    while (i < s.size() && (s[i] == u' ' || s[i] == u'\n' || s[i] == u'\t'))
        ++i;
    return digits > 0 && i == s.size();
}

const std::u16string* FindAttr(const std::vector<XmlScanner::Attr>& attrs, const char* name)
{
    for (const auto& a : attrs)
        if (a.Name == name)
            return &a.Value;
    return nullptr;
}

// Reads lines until one holds the end tag; false at the end of the data without it.
template <typename ReadLine>
bool CollectUntilEndTag(QByteArray& collected, ReadLine readLine)
{
    bool inside = false;
    for (;;) {
        QByteArray line;
        if (!readLine(line))
            return false;
        collected.append(line);
        if (!inside && line.toLower().contains("<replist"))
            inside = true;
        if (inside && line.toLower().contains("</replist"))
            return true;
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Recognition

bool CheckIfValidReplist(const QString& FName, const QString& DataID)
{
    QFile f(FName);
    if (!f.open(QIODevice::ReadOnly))
        throw EInOutError(QStringLiteral("Cannot open file \"%1\": %2").arg(FName, f.errorString()));
    return CheckIfValidReplist(&f, DataID);
}

bool CheckIfValidReplist(QIODevice* InStream, const QString& DataID)
{
    if (!InStream)
        return false;
    bool eof = false;
    do {
        const QString line = ReadLnStream(InStream, eof, 0);
        if (LineIsReplist(line, DataID))
            return true;
    } while (!eof);
    return false;
}
// ---------------------------------------------------------------------------------------------
// XML output

void TRLData::WriteXML(std::string& Out, bool CreateHeader, const QString& DataID) const
{
    WriteXMLChunked(Out, CreateHeader, DataID, {});
}

void TRLData::WriteXMLChunked(std::string& Out, bool CreateHeader, const QString& DataID,
                              const std::function<void(std::string&)>& Flush) const
{
    if (CreateHeader)
        Out.append("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    // The start tag stays on one line: readers recognise a report list by that line.
    Out.append("<replist id=\"");
    AppendXmlText(Out, DataID, false, true);
    Out.append("\" format=\"vendrilex\" version=\"1\">\n");
    Out += "<numcols>" + std::to_string(FNrOfCols) + "</numcols>\n";
    Out += "<numrows>" + std::to_string(FNrOfRows) + "</numrows>\n";
    AppendElement(Out, "commonheader", FCommonHeader);
    AppendElement(Out, "comment", FComment);
    for (int c = 1; c <= FNrOfCols; ++c) {
        AppendElement(Out, "colname", FColName[std::size_t(c - 1)], c);
        if (!FColumnFormat[std::size_t(c - 1)].isEmpty())
            AppendElement(Out, "columnformat", FColumnFormat[std::size_t(c - 1)], c);
        if (FColButMode[std::size_t(c - 1)] != cmNone)
            AppendElement(Out, "checkedcolumn", FColButMode[std::size_t(c - 1)] == cmRadio ? u"radio" : u"box", c);
    }
    const qint64 total = qint64(FNrOfRows);
    const qint64 step = std::max<qint64>(1, FFeedbkStep / std::max(1, FNrOfCols + 1));
    for (int r = 1; r <= FNrOfRows; ++r) {
        for (int c = 0; c <= FNrOfCols; ++c) {
            const QStringView s = FStrings->GetStringView(c, r);
            if (!s.isEmpty())
                AppendElement(Out, "cell", s, c, r);
        }
        if (Flush && Out.size() >= FlushBytes)
            Flush(Out);
        if (r % step == 0)
            const_cast<TRLData*>(this)->ReportProgress(r, total);
    }
    Out.append("</replist>\n");
    if (Flush)
        Flush(Out);
}

QByteArray TRLData::ToXML(const QString& DataID) const
{
    std::string out;
    WriteXML(out, true, DataID);
    return QByteArray(out.data(), qsizetype(out.size()));
}

void TRLData::WriteToXMLStream(QIODevice* OutStream, bool CreateHeader, const QString& DataID)
{
    if (!OutStream || !OutStream->isWritable())
        throw EInOutError(QStringLiteral("Stream not open for writing"));
    std::string out;
    out.reserve(std::size_t(FlushBytes) + 4096);
    WriteXMLChunked(out, CreateHeader, DataID, [&](std::string& chunk) {
        if (OutStream->write(chunk.data(), qint64(chunk.size())) != qint64(chunk.size()))
            throw EInOutError(QStringLiteral("Write error: %1").arg(OutStream->errorString()));
        chunk.clear();
    });
}

void TRLData::WriteToOpenXMLFile(QTextStream& OutFile, bool CreateHeader, const QString& DataID)
{
    std::string out;
    WriteXMLChunked(out, CreateHeader, DataID, [&](std::string& chunk) {
        OutFile << QString::fromUtf8(chunk.data(), qsizetype(chunk.size()));
        chunk.clear();
    });
    OutFile.flush();
    if (OutFile.status() != QTextStream::Ok)
        throw EInOutError(QStringLiteral("Write error on text file"));
}

void TRLData::SaveAsXMLFile(const QString& FName, const QString& DataID)
{
    QSaveFile f(FName);
    if (!f.open(QIODevice::WriteOnly))
        throw EInOutError(QStringLiteral("Cannot create file \"%1\": %2").arg(FName, f.errorString()));
    WriteToXMLStream(&f, true, DataID);
    if (!f.commit())
        throw EInOutError(QStringLiteral("Cannot write file \"%1\": %2").arg(FName, f.errorString()));
}

// ---------------------------------------------------------------------------------------------
// XML input

bool TRLData::ParseXML(const char* Data, qsizetype Size, const QString& DataID)
{
    XmlScanner sc(Data, Size);
    // Skip the byte-order mark and whatever precedes the report list.
    const char* start = sc.p;
    for (;; ++start) {
        start = static_cast<const char*>(std::memchr(start, '<', std::size_t(sc.end - start)));
        if (!start || sc.end - start < 8)
            return false;
        if (QByteArrayView(start + 1, 7).compare("replist", Qt::CaseInsensitive) == 0)
            break;
    }
    sc.p = start + 8;
    std::vector<XmlScanner::Attr> attrs;
    bool selfClosing = false;
    if (!sc.ReadAttributes(attrs, selfClosing) || selfClosing)
        return false;
    const std::u16string* id = FindAttr(attrs, "id");
    const QString fileID = id ? ToQString(*id) : QString();
    if (!SameID(fileID, DataID))
        return false;
    FDataID = Trim(StorableID(fileID));

    long long nc = -1, nr = -1;
    bool sized = false;
    auto ensureSized = [&]() {
        if (sized)
            return true;
        if (nc < 0 || nr < 0)
            return false;
        // Every column of a written list has an element of its own, so a list cannot have
        // more columns than its text has bytes; rows need memory alone.
        if (nc > Size || !TableFits(nc, nr, Size))
            return false;
        SetNrOfColumns(int(std::max(1LL, nc)));
        SetNrOfRows(int(nr));
        if (nc == 0)
            RemoveColumn(1);
        FStrings->SetNotifyChange(false);
        sized = true;
        return true;
    };
    std::string name;
    std::u16string text;
    qint64 cellsRead = 0;
    const qint64 progressStep = std::max<qint64>(1024, Size / 2000);
    for (;;) {
        if (!sc.SkipMisc() || sc.p >= sc.end || *sc.p != '<')
            return false;
        ++sc.p;
        if (sc.p < sc.end && *sc.p == '/') {
            ++sc.p;
            if (!sc.ReadName(name) || name != "replist")
                return false;
            sc.SkipSpace();
            if (sc.p >= sc.end || *sc.p != '>')
                return false;
            break;
        }
        if (!sc.ReadName(name) || !sc.ReadAttributes(attrs, selfClosing))
            return false;
        const TRepListXmlTag tag = TagOfName(name);
        text.clear();
        if (!selfClosing) {
            const char* textStart = sc.p;
            const char* lt = static_cast<const char*>(std::memchr(sc.p, '<', std::size_t(sc.end - sc.p)));
            if (!lt)
                return false;
            if (tag == xmlInvalid) {
                // An element this reader does not know: skip it with everything inside.
                int depth = 1;
                sc.p = lt;
                while (depth > 0) {
                    const char* next = static_cast<const char*>(std::memchr(sc.p, '<', std::size_t(sc.end - sc.p)));
                    if (!next)
                        return false;
                    sc.p = next + 1;
                    if (sc.p < sc.end && *sc.p == '/') {
                        ++sc.p;
                        --depth;
                    } else if (sc.p < sc.end && (*sc.p == '!' || *sc.p == '?')) {
                        --sc.p;
                        if (!sc.SkipMisc())
                            return false;
                        continue;
                    } else {
                        std::string inner;
                        std::vector<XmlScanner::Attr> innerAttrs;
                        bool innerClosed = false;
                        if (!sc.ReadName(inner) || !sc.ReadAttributes(innerAttrs, innerClosed))
                            return false;
                        if (!innerClosed)
                            ++depth;
                        continue;
                    }
                    const char* gt = static_cast<const char*>(std::memchr(sc.p, '>', std::size_t(sc.end - sc.p)));
                    if (!gt)
                        return false;
                    sc.p = gt + 1;
                }
                continue;
            }
            if (!XmlScanner::Decode(textStart, lt, text, false))
                return false;
            sc.p = lt;
            if (!sc.StartsWith("</"))
                return false;
            sc.p += 2;
            std::string closing;
            if (!sc.ReadName(closing) || closing != name)
                return false;
            sc.SkipSpace();
            if (sc.p >= sc.end || *sc.p != '>')
                return false;
            ++sc.p;
        } else if (tag == xmlInvalid) {
            continue;
        }
        if (const std::u16string* esc = FindAttr(attrs, "esc"); esc && *esc == u"1")
            if (!Unescape(text))
                return false;
        long long c = -1, r = -1;
        if (const std::u16string* a = FindAttr(attrs, "c"); a && !ParseInt(*a, c))
            return false;
        if (const std::u16string* a = FindAttr(attrs, "r"); a && !ParseInt(*a, r))
            return false;
        switch (tag) {
        case xmlNumCols:
            if (nc >= 0 || sized || !ParseInt(text, nc))
                return false;
            break;
        case xmlNumRows:
            if (nr >= 0 || sized || !ParseInt(text, nr))
                return false;
            break;
        case xmlCommonHd:
            FCommonHeader = ToQString(text);
            break;
        case xmlComment:
            FComment = ToQString(text);
            break;
        case xmlColName:
        case xmlColumnFormat:
        case xmlCheckedColumn:
            if (!ensureSized() || c < 1 || c > nc)
                return false;
            if (tag == xmlColName) {
                FColName[std::size_t(c - 1)] = CutToLength(ToQString(text), MaxNameLength);
            } else if (tag == xmlColumnFormat) {
                FColumnFormat[std::size_t(c - 1)] = CutToLength(ToQString(text), MaxColFmtLength);
            } else {
                const QString mode = ToQString(text).trimmed().toLower();
                if (mode == QLatin1String("box") || mode == QLatin1String("1"))
                    FColButMode[std::size_t(c - 1)] = cmBox;
                else if (mode == QLatin1String("radio") || mode == QLatin1String("2"))
                    FColButMode[std::size_t(c - 1)] = cmRadio;
                else if (mode == QLatin1String("none") || mode == QLatin1String("0"))
                    FColButMode[std::size_t(c - 1)] = cmNone;
                else
                    return false;
            }
            break;
        case xmlCell:
            if (!ensureSized() || c < 0 || c > nc || r < 1 || r > nr)
                return false;
            FStrings->SetString(int(c), int(r), ToView(text));
            if (++cellsRead % progressStep == 0)
                ReportProgress(sc.p - Data, Size);
            break;
        default:
            return false;
        }
    }
    if (!ensureSized())
        return false;
    return true;
}

bool TRLData::LoadXMLBytes(const QByteArray& Bytes, const QString& DataID)
{
    // Parse into a fresh object; this one changes only when the whole text was sound.
    TRLData fresh;
    fresh.OnPercentDone = THookForwarder<int>{
        [this](QObject*, int Percent) { Notify(this, OnPercentDone, &TRLData::percentDone, Percent); },
        [this] { return PercentDoneHeard(); }};
    try {
        if (!fresh.ParseXML(Bytes.constData(), Bytes.size(), DataID))
            return false;
    } catch (const EQORError&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
    TakeLoadedContent(fresh);
    return true;
}

bool TRLData::ReadFromXMLString(const QString& InString, const QString& DataID)
{
    return LoadXMLBytes(InString.toUtf8(), DataID);
}

bool TRLData::LoadFromXMLFile(const QString& FName, const QString& DataID)
{
    QByteArray bytes;
    if (!ReadFileBytes(FName, bytes))
        return false;
    return LoadXMLBytes(bytes, DataID);
}

bool TRLData::ReadFromXMLStream(QIODevice* InStream, const QString& DataID)
{
    if (!InStream || !InStream->isReadable())
        return false;
    QByteArray bytes;
    if (!CollectUntilEndTag(bytes, [&](QByteArray& line) {
            if (InStream->atEnd())
                return false;
            line = InStream->readLine();
            return !line.isEmpty();
        }))
        return false;
    return LoadXMLBytes(bytes, DataID);
}

bool TRLData::ReadFromOpenXMLFile(QTextStream& InFile, const QString& DataID)
{
    QByteArray bytes;
    if (!CollectUntilEndTag(bytes, [&](QByteArray& line) {
            if (InFile.atEnd())
                return false;
            line = InFile.readLine().toUtf8();
            line.append('\n');
            return true;
        }))
        return false;
    return LoadXMLBytes(bytes, DataID);
}

} // namespace qor
