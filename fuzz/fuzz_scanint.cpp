// The integer scanners, the integer checks and the digit strings: no crash from any text, start
// position, value or digit count; the position never moves back; a digit string has exactly the
// clamped number of digits and scans back to the value's low bits.
#include "fuzz_support.h"

#include <QOR_NumIO.h>

#include <algorithm>

namespace {

using Scanner = std::int32_t (*)(const QString&, int&);

void ScanFrom(Scanner scan, const QString& text, int start)
{
    int pos = start;
    scan(text, pos);
    FUZZ_CHECK(pos >= std::max(start, 1));
    FUZZ_CHECK(start > text.size() + 1 || pos <= text.size() + 1);
}

// The digit string of Value with NrDigits digits scans back to the bits it shows.
void RoundTrip(QString (*digits)(std::int32_t, int), Scanner scan, int maxDigits, int bits, std::int32_t value, int nrDigits)
{
    const QString s = digits(value, nrDigits);
    const int n = std::clamp(nrDigits, 1, maxDigits);
    FUZZ_CHECK(s.size() == n);
    int pos = 1;
    const auto back = std::uint32_t(scan(s, pos));
    FUZZ_CHECK(pos == n + 1);
    const int shown = std::min(n * bits, 32);
    const std::uint32_t mask = shown >= 32 ? 0xFFFFFFFFu : (1u << shown) - 1;
    FUZZ_CHECK(back == (std::uint32_t(value) & mask));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Input in(data, size);
    const std::int32_t value = in.AnyInt();
    const int nrDigits = in.Bool() ? in.AnyInt() : in.IntIn(-2, 40);
    const int start = in.Bool() ? in.AnyInt() : in.IntIn(-2, 40);
    const QString text = in.Rest();
    for (Scanner scan : {&qor::ScanDecIntStr, &qor::ScanHexStr, &qor::ScanOctStr, &qor::ScanBinStr}) {
        ScanFrom(scan, text, 1);
        ScanFrom(scan, text, start);
    }
    qor::CheckIntStr(text);
    qor::CheckHexStr(text);
    qor::CheckOctStr(text);
    qor::CheckBinStr(text);
    RoundTrip(&qor::HexDigitStr, &qor::ScanHexStr, 16, 4, value, nrDigits);
    RoundTrip(&qor::OctDigitStr, &qor::ScanOctStr, 11, 3, value, nrDigits);
    RoundTrip(&qor::BinDigitStr, &qor::ScanBinStr, 32, 1, value, nrDigits);
    return 0;
}
