// Helpers shared by the report list's file units (XML, CSV, export); not part of the API.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringView>

#include <QOR_SysUtils.h>

#include <limits>
#include <string>

namespace qor::rlfiles {

// Whether a loaded table of Cols x Rows cells can be built: both counts fit the int indices of
// the data, and the cell handles (8 bytes each, the hidden column and the spare row included),
// the per-row and per-column bookkeeping and the UTF-16 copy of TextBytes of text fit in the
// memory the machine has free. There is no fixed cap: what the library can hold, it reads.
inline bool TableFits(long long Cols, long long Rows, long long TextBytes)
{
    constexpr long long MaxCount = std::numeric_limits<int>::max() - 1;
    if (Cols < 0 || Rows < 0 || Cols > MaxCount || Rows > MaxCount)
        return false;
    const double need = 8.0 * double(Cols + 1) * double(Rows + 1) + 6.0 * double(Rows + 1) + 160.0 * double(Cols + 1)
                      + 2.0 * double(TextBytes);
    return need <= double(AvailableMemoryBytes());
}

// Output is handed to the device in pieces of about this size.
constexpr qsizetype FlushBytes = 1 << 20;

// Appends one code point as UTF-8.
inline void AppendUtf8(std::string& out, char32_t cp)
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

// Appends one code point as UTF-16.
inline void PutCodePoint(std::u16string& out, char32_t cp)
{
    if (cp >= 0x10000) {
        out.push_back(QChar::highSurrogate(cp));
        out.push_back(QChar::lowSurrogate(cp));
    } else {
        out.push_back(char16_t(cp));
    }
}

// One multi-byte UTF-8 sequence; malformed bytes give U+FFFD.
inline const char* DecodeUtf8(const char* s, const char* e, std::u16string& out)
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

// Parsed UTF-16 text as Qt strings.
inline QString ToQString(const std::u16string& s)
{
    return QString(reinterpret_cast<const QChar*>(s.data()), qsizetype(s.size()));
}

inline QStringView ToView(const std::u16string& s)
{
    return QStringView(s.data(), qsizetype(s.size()));
}

// The whole content of a file; false when it cannot be opened or read.
inline bool ReadFileBytes(const QString& FName, QByteArray& Bytes)
{
    QFile f(FName);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    Bytes = f.readAll();
    return f.error() == QFileDevice::NoError;
}

} // namespace qor::rlfiles
