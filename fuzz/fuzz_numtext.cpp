// Number and date text: no input may crash, hang or leave a position outside the text.
#include <QOR_NumIO.h>
#include <QOR_replist.h>

#include <QCoreApplication>
#include <QString>

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const int mode = data[0] % 4;
    const int sep = data[1] % 4;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 2), int(size - 2));
    int pos = 0;
    const double v = qor::ScanFloatStr(text, mode & 1, sep, pos);
    if (pos < 0 || pos > text.size() + 1)
        std::abort();
    qor::CheckFloatExpStr(text, mode & 1, sep);
    qor::CheckIntStr(text);
    int hexPos = 0;
    qor::ScanHexStr(text, hexPos);
    if (std::isfinite(v))
        qor::FormatRealStr(int(data[0] % 40) - 20, int(data[1] % 12) - 4, v);
    // The text is also a date format for a fixed date text, and a date text for fixed formats.
    int error = 0;
    try {
        qor::ScanDateTimeStr(text, QStringLiteral("dd.MM.yyyy HH:mm"), mode, error);
        qor::ScanDateTimeStr(QStringLiteral("24.12.2025 18:30"), text, mode, error);
    } catch (const std::exception&) {
        // out-of-range dates raise the documented conversion error
    }
    return 0;
}
