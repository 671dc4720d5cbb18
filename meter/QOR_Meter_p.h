// Helpers the meter's units share: rounding that never wraps, angles and the clamp.
#pragma once

#include <QOR_SysUtils.h>

#include <QString>
#include <algorithm>
#include <cmath>

namespace qor::meter_detail {

constexpr double Pi = 3.14159265358979323846;
constexpr double LogFloor = 1e-100;   // smallest bound a logarithmic scale accepts
constexpr int MaxTicks = 2000;        // hard stop for tick loops on pathological ranges
constexpr int MaxDecades = 420;       // 1e-100 .. 1e308 and a little more

// Round half to even, as the platform's Round, but total: NaN gives 0 and huge values are
// held inside the int range so a bad number can never wrap into a wild pixel.
inline int RoundI(double x)
{
    return int(RoundSaturated(x, 1.0e9));
}

inline double Deg2Rad(double d) { return d * Pi / 180.0; }

// Clamp that tolerates lo > hi (a range left inconsistent while loading): lo wins.
inline double ClampTo(double v, double lo, double hi)
{
    if (v > hi) v = hi;
    if (v < lo) v = lo;
    return v;
}


} // namespace qor::meter_detail
