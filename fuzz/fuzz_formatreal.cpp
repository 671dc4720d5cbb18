// The fixed-width number formatter on any width (the extremes and widths far beyond any field
// too), any decimals and any double: no crash; a finite value gives a field at least as wide as
// asked (up to the widest field there is), and the text reads back as a value that formats to
// the same text.
#include "fuzz_support.h"

#include <QOR_NumIO.h>

#include <cmath>

namespace {

// Mostly the widths and decimals callers use; now and then a large one, rarely any int (a
// field of a million characters takes milliseconds, so they would slow the search down).
int FuzzedCount(fuzz::Input& in, int usualLow, int usualHigh)
{
    const std::uint8_t kind = in.Byte();
    if (kind < 4)
        return in.AnyInt();
    if (kind < 24)
        return in.IntIn(-5000, 5000);
    return in.IntIn(usualLow, usualHigh);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Input in(data, size);
    const int width = FuzzedCount(in, -40, 40);
    const int decimals = FuzzedCount(in, -3, 120);
    const double value = in.AnyDouble();
    const QString text = qor::FormatRealStr(width, decimals, value);
    if (!std::isfinite(value))
        return 0;
    const qint64 field = std::min<qint64>(std::abs(qint64(width)), qor::MaxFieldWidth);
    if (decimals >= 0)
        FUZZ_CHECK(text.size() >= field);
    if (text.contains(QLatin1Char('*')))
        return 0;   // an exponent of 100 or more in the two-digit layout
    int pos = 1;
    const double back = qor::ScanFloatStr(text, true, 1, pos);
    FUZZ_CHECK(pos == text.size() + 1);
    // A value that rounds to zero may keep its sign ("-0.00"); zero reads back unsigned.
    if (back != 0.0)
        FUZZ_CHECK(qor::FormatRealStr(width, decimals, back) == text);
    return 0;
}
