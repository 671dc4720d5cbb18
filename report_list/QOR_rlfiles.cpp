// Files and text export of TRLData: recognition, XML, CSV, lines, HTML and the clipboard.
#include "QOR_rldata.h"

#include <QOR_streams.h>
#include <QOR_stringl.h>

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>
#include <QTextStream>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>

namespace qor {

namespace {

// Sizes a file may ask for; beyond them a file is taken to be damaged, not a report list.
constexpr long long MaxLoadColumns = 100000;
constexpr long long MaxLoadCells = 64LL * 1024 * 1024;
constexpr qsizetype FlushBytes = 1 << 20;

QString IdOfLine(const QString& lowerLine)
{
    const qsizetype at = lowerLine.indexOf(QLatin1String("id=\""));
    if (at < 0)
        return QString();
    const int close = NumberedPos(QStringLiteral("\""), lowerLine, int(at) + 1, 2, false);
    const qsizetype from = at + 4;
    const QString id = close > 0 ? lowerLine.mid(from, close - 1 - from) : lowerLine.mid(from);
    return Trim(id);
}

bool LineIsReplist(const QString& line, const QString& lowerID)
{
    const QString lower = line.toLower();
    if (!lower.contains(QLatin1String("<replist")) || !lower.contains(QLatin1String("vendrilex")))
        return false;
    return lowerID.isEmpty() || IdOfLine(lower) == lowerID;
}

bool SameID(const QString& fileID, const QString& wanted)
{
    return wanted.isEmpty() || Trim(fileID).toLower() == Trim(wanted).toLower();
}

// ---- UTF-8 output with escaping

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(char(cp));
    } else if (cp < 0x800) {
        out.push_back(char(0xC0 | (cp >> 6)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(char(0xE0 | (cp >> 12)));
        out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (cp >> 18)));
        out.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    }
}

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
    static void PutCodePoint(std::u16string& out, char32_t cp)
    {
        if (cp >= 0x10000) {
            out.push_back(QChar::highSurrogate(cp));
            out.push_back(QChar::lowSurrogate(cp));
        } else {
            out.push_back(char16_t(cp));
        }
    }
    // One multi-byte UTF-8 sequence; malformed bytes give U+FFFD.
    static const char* DecodeUtf8(const char* s, const char* e, std::u16string& out)
    {
        const unsigned char c = (unsigned char)*s;
        int n = c >= 0xF0 && c < 0xF5 ? 3 : c >= 0xE0 ? 2 : c >= 0xC2 && c < 0xE0 ? 1 : -1;
        if (c >= 0xF5)
            n = -1;
        if (n < 0 || e - s <= n) {
            out.push_back(u'\xFFFD');
            return s + 1;
        }
        char32_t cp = c & (0x3F >> n);
        for (int i = 1; i <= n; ++i) {
            const unsigned char d = (unsigned char)s[i];
            if ((d & 0xC0) != 0x80) {
                out.push_back(u'\xFFFD');
                return s + 1;
            }
            cp = (cp << 6) | (d & 0x3F);
        }
        static const char32_t Min[] = {0, 0x80, 0x800, 0x10000};
        if (cp < Min[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            out.push_back(u'\xFFFD');
        else
            PutCodePoint(out, cp);
        return s + n + 1;
    }
};

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

QString ToQString(const std::u16string& s)
{
    return QString(reinterpret_cast<const QChar*>(s.data()), qsizetype(s.size()));
}

QStringView ToView(const std::u16string& s)
{
    return QStringView(s.data(), qsizetype(s.size()));
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

// ---- CSV

void AppendCsvField(QString& line, QStringView s, QChar delim);

bool CsvNeedsQuotes(QStringView s, char16_t delim)
{
    if (s.isEmpty())
        return false;
    if (s.front() == QLatin1Char(' ') || s.back() == QLatin1Char(' '))
        return true;
    for (QChar ch : s) {
        const char16_t u = ch.unicode();
        if (u == delim || u == u'"' || u == u'\n' || u == u'\r')
            return true;
    }
    return false;
}

void AppendCsvField(QString& line, QStringView s, QChar delim)
{
    if (!CsvNeedsQuotes(s, delim.unicode())) {
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

QString HtmlEscape(const QString& s)
{
    return s.toHtmlEscaped().replace(QLatin1Char('\''), QLatin1String("&#39;"));
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
void AppendCsvFieldUtf8(std::string& out, QStringView s, char16_t delim)
{
    if (!CsvNeedsQuotes(s, delim)) {
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
            p = XmlScanner::DecodeUtf8(p, e, out);
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
    const QString id = DataID.toLower();
    bool eof = false;
    do {
        const QString line = ReadLnStream(InStream, eof, 0);
        if (LineIsReplist(line, id))
            return true;
    } while (!eof);
    return false;
}

// ---------------------------------------------------------------------------------------------
// Clipboard

QString TRLData::ClipboardText(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader,
                               const QString& Separator) const
{
    QString text, line;
    auto emitLine = [&](QString& l) {
        if (OnExportText)
            OnExportText(const_cast<TRLData*>(this), l);
        text.append(l);
    };
    if (AddHeader) {
        line.clear();
        for (int c = LeftCol; c <= RightCol; ++c) {
            if (c > LeftCol)
                line.append(Separator);
            line.append(Header(c));
        }
        line.append(QLatin1String("\n\n"));
        emitLine(line);
    }
    for (int r = TopRow; r <= BottomRow; ++r) {
        line.clear();
        for (int c = LeftCol; c <= RightCol; ++c) {
            if (c > LeftCol)
                line.append(Separator);
            line.append(Elem(c, r));
        }
        line.append(QLatin1Char('\n'));
        emitLine(line);
    }
    return text;
}

QString TRLData::ClipboardTextFixed(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader) const
{
    std::vector<int> width;
    for (int c = LeftCol; c <= RightCol; ++c) {
        int w = AddHeader ? int(Header(c).size()) : 0;
        for (int r = TopRow; r <= BottomRow; ++r)
            w = std::max(w, ValidCell(c, r) ? FStrings->GetLength(c, r) : 0);
        width.push_back(std::min(w, 255));
    }
    QString text, line;
    auto emitLine = [&](QString& l) {
        if (OnExportText)
            OnExportText(const_cast<TRLData*>(this), l);
        text.append(l);
    };
    if (AddHeader) {
        line.clear();
        for (int c = LeftCol; c <= RightCol; ++c)
            line.append(LeftString(Header(c), width[std::size_t(c - LeftCol)] + 1));
        line.append(QLatin1String("\n\n"));
        emitLine(line);
    }
    for (int r = TopRow; r <= BottomRow; ++r) {
        line.clear();
        for (int c = LeftCol; c <= RightCol; ++c)
            line.append(LeftString(Elem(c, r), width[std::size_t(c - LeftCol)] + 1));
        line.append(QLatin1Char('\n'));
        emitLine(line);
    }
    return text;
}

void TRLData::CopyToClipBoard(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader,
                              const QString& Separator)
{
    QGuiApplication::clipboard()->setText(ClipboardText(LeftCol, TopRow, RightCol, BottomRow, AddHeader, Separator));
}

void TRLData::CopyToClipBoard(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader, bool UseTabs)
{
    QGuiApplication::clipboard()->setText(
        UseTabs ? ClipboardText(LeftCol, TopRow, RightCol, BottomRow, AddHeader, QStringLiteral("\t"))
                : ClipboardTextFixed(LeftCol, TopRow, RightCol, BottomRow, AddHeader));
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
    FDataID = Trim(fileID);

    long long nc = -1, nr = -1;
    bool sized = false;
    auto ensureSized = [&]() {
        if (sized)
            return true;
        if (nc < 0 || nr < 0)
            return false;
        if (nc > MaxLoadColumns || (nr + 1) * (nc + 1) > MaxLoadCells)
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
                FColName[std::size_t(c - 1)] = ToQString(text).left(MaxNameLength);
            } else if (tag == xmlColumnFormat) {
                FColumnFormat[std::size_t(c - 1)] = ToQString(text).left(MaxColFmtLength);
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
    if (OnPercentDone)
        fresh.OnPercentDone = [this](QObject*, int Percent) { OnPercentDone(this, Percent); };
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
    QFile f(FName);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
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

// ---------------------------------------------------------------------------------------------
// CSV

int TRLData::ExportCSV(const QString& FName, TCSVDelimiters Delimiter, bool IncludeColHeaders, bool IncludeCommonHeader,
                       int FirstCol, int FirstRow, int LastCol, int LastRow)
{
    FirstCol = std::max(0, FirstCol);
    LastCol = std::min(FNrOfCols, LastCol);
    FirstRow = std::max(1, FirstRow);
    LastRow = std::min(FNrOfRows, LastRow);
    const QChar delim = CSVDelimiterChar(Delimiter);
    QSaveFile f(FName);
    if (!f.open(QIODevice::WriteOnly))
        return -1;
    QString line;
    std::string out;
    out.reserve(std::size_t(FlushBytes) + 4096);
    bool ok = true;
    auto flush = [&]() {
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
        AppendCsvField(line, FCommonHeader, delim);
        emitLine();
    }
    if (IncludeColHeaders && FirstCol <= LastCol) {
        for (int c = FirstCol; c <= LastCol; ++c) {
            if (c > FirstCol)
                line.append(delim);
            AppendCsvField(line, Header(c), delim);
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
                    AppendCsvField(line, s, delim);
                } else {
                    // No listener: encode straight into the output.
                    if (c > FirstCol)
                        out.push_back(char(delim.unicode()));
                    AppendCsvFieldUtf8(out, s, delim.unicode());
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
    QFile f(FName);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return -1;
    const char* begin = bytes.constData();
    if (bytes.startsWith("\xEF\xBB\xBF"))
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
    if (widest > MaxLoadColumns || (rows + 1) * (widest + 1) > MaxLoadCells)
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
    QFile f(FName);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return -1;
    QStringList lines;
    const QString text = QString::fromUtf8(bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes);
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
        if ((last + 1) * (FNrOfCols + 1) > MaxLoadCells)
            return -2;
        SetNrOfRows(int(last));
    }
    NotifyPauseGuard pause(FStrings.get());
    for (qsizetype i = 0; i < lines.size(); ++i)
        SetElem(Column, FirstRow + int(i), lines[i]);
    return int(lines.size());
}

// ---------------------------------------------------------------------------------------------
// HTML

void TRLData::ExportHTMLTable(const QString& FName, int LoC, int LoR, int HiC, int HiR, const QVector<int>& ColumnSelection,
                              int Border, int CellSpacing, int Cellpadding, bool IncludeHeader, const QString& HeadClass,
                              const QString& CellClass, const QString& TableClass)
{
    LoC = std::max(0, LoC);
    HiC = std::min(FNrOfCols, HiC);
    LoR = std::max(1, LoR);
    HiR = std::min(FNrOfRows, HiR);
    QVector<int> cols;
    if (ColumnSelection.isEmpty()) {
        for (int c = LoC; c <= HiC; ++c)
            cols.append(c);
    } else {
        for (int c : ColumnSelection)
            if (c >= LoC && c <= HiC)
                cols.append(c);
    }
    auto classAttr = [](const QString& cls) {
        return cls.isEmpty() ? QString() : QStringLiteral(" class=\"%1\"").arg(HtmlEscape(cls));
    };
    const QString thOpen = QStringLiteral("<th") + classAttr(HeadClass) + QLatin1Char('>');
    const QString tdOpen = QStringLiteral("<td") + classAttr(CellClass) + QLatin1Char('>');
    QString html;
    html += QStringLiteral("<table%1 border=\"%2\" cellspacing=\"%3\" cellpadding=\"%4\">\n")
                .arg(classAttr(TableClass))
                .arg(Border)
                .arg(CellSpacing)
                .arg(Cellpadding);
    QString text;
    if (IncludeHeader && !cols.isEmpty()) {
        html += QStringLiteral("<tr>");
        for (int c : cols) {
            text = Header(c);
            BeforeHTMLExport(text, c, 0);
            html += thOpen + HtmlEscape(text) + QStringLiteral("</th>");
        }
        html += QStringLiteral("</tr>\n");
    }
    for (int r = LoR; r <= HiR && !cols.isEmpty(); ++r) {
        html += QStringLiteral("<tr>");
        for (int c : cols) {
            text = Elem(c, r);
            BeforeHTMLExport(text, c, r);
            html += tdOpen + HtmlEscape(text) + QStringLiteral("</td>");
        }
        html += QStringLiteral("</tr>\n");
    }
    html += QStringLiteral("</table>\n");
    QSaveFile f(FName);
    const QByteArray bytes = html.toUtf8();
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        throw EInOutError(QStringLiteral("Cannot write file \"%1\": %2").arg(FName, f.errorString()));
}

} // namespace qor
