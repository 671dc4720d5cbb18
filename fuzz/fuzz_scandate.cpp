// The date/time scanner with fuzzed text and fuzzed format, in every language: it ends with one
// of its codes (0 only with a result, the result 0 otherwise) or the conversion error for a date
// or time out of range, never anything else.
#include "fuzz_support.h"

#include <QOR_replist.h>

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Input in(data, size);
    const int lang = in.Byte();
    qor::FormatSettings().TwoDigitYearCenturyWindow = in.IntIn(-1, 120);
    const QString format = in.Text(64);
    const QString text = in.Rest();
    // The text under the fuzzed format, and each under a fixed partner.
    const QString pairs[][2] = {{text, format},
                                {text, QStringLiteral("dd.MM.yyyy HH:mm:ss")},
                                {text, QStringLiteral("d MMMM yy h:m:s tt")},
                                {QStringLiteral("24.12.2025 18:30"), format}};
    for (const auto& pair : pairs) {
        int code = 1;
        try {
            const double v = qor::ScanDateTimeStr(pair[0], pair[1], lang, code);
            FUZZ_CHECK(code == qor::dtsOk || code == qor::dtsLiteralMismatch || code == qor::dtsUnknownToken
                       || code == qor::dtsUnreadableField);
            FUZZ_CHECK(std::isfinite(v));
            FUZZ_CHECK(code == qor::dtsOk || v == 0.0);
        } catch (const qor::EConvertError&) {
            // a date or time out of range
        }
    }
    qor::ResetFormatSettings();
    return 0;
}
