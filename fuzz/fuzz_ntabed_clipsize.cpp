// Table editor clipboard size: on any text the size routine and the number scan agree (every
// scanned number lies inside the size, rows in order, only finite numbers), and a text without
// numbers has no size.
#include "fuzz_ntabed_support.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using fuzz_ntabed::Check;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), int(size));
    int cols = 0, rows = 0, count = 0, lastRow = -1;
    const bool found = qor::ClipMatrixSize(text, cols, rows);
    qor::ScanClipNumbers(text, [&](int c, int r, double v) {
        Check(std::isfinite(v) && c >= 0 && c < cols && r >= lastRow && r < rows);
        lastRow = r;
        ++count;
    });
    Check(found == (count > 0) && (found || (cols == 0 && rows == 0)));
    Check(!found || lastRow == rows - 1);
    return 0;
}
