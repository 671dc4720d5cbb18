// Numeric helpers of the math package.
#pragma once

#include <QOR_SysUtils.h>

#include <QString>

namespace qor {

// True when Text is a decimal integer that fits in 32 bits: optional leading blanks, an optional
// sign, then decimal digits only (no hexadecimal prefix, nothing after the digits).
KORVANE_EXPORT bool IsValidDecInt(const QString& Text);
// The largest integer not above X (for values within the int range).
KORVANE_EXPORT int IntNeg(double X);

} // namespace qor
