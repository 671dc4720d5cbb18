// The real-number scanner and the checks, with every separator choice (0 read under a point and
// under a comma platform separator) and any start position: no crash, the position stays on the
// text or just past it, the value is finite and within the double range.
#include "fuzz_support.h"

#include <QOR_NumIO.h>
#include <QOR_univconst.h>

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Input in(data, size);
    const bool exp = in.Bool();
    const bool commaPlatform = in.Bool();
    const int startPos = in.IntIn(-2, 300);
    const int decimals = in.AnyInt();
    const QString text = in.Rest();
    qor::FormatSettings().DecimalSeparator = QLatin1Char(commaPlatform ? ',' : '.');
    for (int sep = 0; sep <= 4; ++sep) {   // 4 is no choice and counts as 3
        int pos = 1;
        const double v = qor::ScanFloatStr(text, exp, sep, pos);
        FUZZ_CHECK(pos >= 1 && pos <= text.size() + 1);
        FUZZ_CHECK(std::isfinite(v) && std::fabs(v) <= qor::uc_MaxDouble);
        // From any start: the scan moves forward from it (a start before the text counts as 1).
        int from = startPos;
        const double w = qor::ScanFloatStr(text, exp, sep, from);
        FUZZ_CHECK(std::isfinite(w) && std::fabs(w) <= qor::uc_MaxDouble);
        FUZZ_CHECK(from >= std::max(startPos, 1));
        qor::CheckFloatExpStr(text, exp, sep);
        qor::CheckFloatStr(text, sep);
        qor::CheckFixPointStr(text, sep, decimals);
        qor::CheckFixPointStr(text, sep, decimals & 7);
    }
    // The extremes of the position: far before the text is its start, far after it its end.
    int first = 1, lowest = std::numeric_limits<int>::min(), highest = std::numeric_limits<int>::max();
    FUZZ_CHECK(qor::ScanFloatStr(text, exp, 3, lowest) == qor::ScanFloatStr(text, exp, 3, first) && lowest == first);
    FUZZ_CHECK(qor::ScanFloatStr(text, exp, 3, highest) == 0.0 && highest == std::numeric_limits<int>::max());
    qor::ResetFormatSettings();
    return 0;
}
