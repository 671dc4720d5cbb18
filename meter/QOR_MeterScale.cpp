// The meter's scale arithmetic: dial geometry, value <-> angle <-> pixel, label decimals and
// the nice tick step.
#include "QOR_Meter.h"

#include "QOR_Meter_p.h"

#include <QOR_SysUtils.h>

#include <cmath>

namespace qor {

using namespace meter_detail;

// =============================================================================================
// Geometry and value mapping

void TMeter::CalcMeterLayoutParams() { ComputeGeometry(); }

void TMeter::ComputeGeometry() const
{
    FGeoSize = size();
    const int W = width();
    const int D = height() - FRimBottom;
    const double vertical = D - FRimTop - 16;          // room between the rims
    const double halfWidth = W / 2 - FRimSide - 8;     // integer half width, as the dial centre
    FCX = W / 2;
    auto hanging = [&](int sweep, double heightFactor) {
        FA = sweep;
        FR = std::min(halfWidth, vertical / heightFactor);
        FCY = RoundI(FRimTop + 8 + FR);
    };
    switch (FMeterLayout) {
    case mlCirc120:
        FA = 120;
        FCY = D - 8;
        FR = std::min(vertical, (W / 2.0 - FRimSide - 8) * 1.1547);
        break;
    case mlCirc180:
        FA = 180;
        FCY = D - 8;
        FR = std::min(vertical, W / 2.0 - FRimSide - 8);
        break;
    case mlCirc270: hanging(270, 1.0 + std::cos(Pi / 4)); break;
    case mlCirc300: hanging(300, 1.866); break;
    case mlCirc360: hanging(360, 2.0); break;
    default:
        FA = 90;
        FR = vertical;
        FCY = D - 8;
        break;
    }
}

bool TMeter::LogScaleUsable(double v) const
{
    return FLogarithmic && v > 0 && FMeterMinValue > 0 && FMeterMaxValue > FMeterMinValue;
}

double TMeter::ValueFraction(double v) const
{
    const double lo = FMeterMinValue, hi = FMeterMaxValue;
    if (!(hi > lo) || std::isnan(v))
        return 0.0;   // an empty range puts everything at the minimum end
    v = ClampTo(v, lo, hi);
    if (LogScaleUsable(v))
        return (std::log(v) - std::log(lo)) / (std::log(hi) - std::log(lo));
    return (v - lo) / (hi - lo);
}

double TMeter::DrawingAngle(double v) const
{
    SyncGeometry();
    return FA / 2.0 + 90.0 - FA * ValueFraction(v);
}

double TMeter::CalcNeedleAngle(double value) const
{
    SyncGeometry();
    return 180.0 - (FA / 2.0 - FA * ValueFraction(value));
}

void TMeter::ConvertToPixelCoords(int& X, int& Y, double pctradius, double value) const
{
    const double phi = Deg2Rad(-90.0 - CalcNeedleAngle(value));
    X = RoundI(std::cos(phi) * pctradius / 100.0 * FR + FCX);
    Y = RoundI(FCY - std::sin(phi) * pctradius / 100.0 * FR);
}

bool TMeter::ConvertPixelToValue(int XPos, int YPos, double& MeterValue) const
{
    SyncGeometry();
    const double dx = XPos - FCX, dy = YPos - FCY;
    double beta;
    if (dx == 0) {
        beta = dy <= 0 ? 270.0 : 90.0;
    } else {
        beta = std::atan(dy / dx) * 180.0 / Pi;
        if (dx < 0)
            beta += 180.0;
        if (beta < 0)
            beta += 360.0;
    }
    double d = beta - 90.0;
    if (d < 0)
        d += 360.0;
    const double start = 180.0 - FA / 2.0;
    if (d < start || d > 180.0 + FA / 2.0 || FA <= 0) {
        MeterValue = 0.0;
        return false;
    }
    const double f = (d - start) / FA;
    const double lo = FMeterMinValue, hi = FMeterMaxValue;
    if (LogScaleUsable(hi))
        MeterValue = std::exp((std::log(hi) - std::log(lo)) * f + std::log(lo));
    else
        MeterValue = lo + f * (hi - lo);
    return true;
}

int TMeter::CalcM(int decimals, double a, double b)
{
    if (decimals != -2)
        return decimals;
    const double d = std::fabs(a - b);
    if (!std::isfinite(d) || d >= 1000000.0 || d <= 0.0001)
        return -1;
    if (d >= 100.0)
        return 0;
    return 2 - RoundI(std::log(d) / 2.5);
}

TMeterTickStep TMeter::NiceTickStep(int n, double lo, double hi)
{
    TMeterTickStep r;
    const double span = std::fabs(hi - lo);
    if (hi == lo || !std::isfinite(span) || span == 0.0) {
        r.First = std::isfinite(lo) ? lo : 0.0;
        return r;   // step 0, one minor interval
    }
    const double sigma = hi <= lo ? -1.0 : 1.0;
    double t;
    if (n <= 0) {
        t = 1.0;
        r.First = Int(lo) - 1.0;
        r.Minor = span <= 10 ? 5 : 1;
    } else {
        double g = std::log10(span / n);
        double h = g - Int(g);
        if (std::fabs(h) < 1e-10 || std::fabs(h) > 0.9999999999) {
            g = std::nearbyint(g);
            h = 0;
        }
        if (g < 0 && h != 0)
            g = g - 1;
        if (h < 0)
            h = h + 1;
        // The mantissa (1, 2 or 5) times a whole power of ten keeps steps like 0.2 exact.
        double mantissa;
        if (h < std::log10(2.0) + 1e-10) {
            mantissa = 1.0;
            r.Minor = 5;
        } else if (h < std::log10(5.0) + 1e-10) {
            mantissa = 2.0;
            r.Minor = 4;
        } else {
            mantissa = 5.0;
            r.Minor = 5;
        }
        t = sigma * mantissa * std::pow(10.0, Int(g));
        if (t == 0.0 || !std::isfinite(t)) {
            r.First = lo;
            r.Minor = 1;
            return r;
        }
        r.First = (Int(lo / t) - 1.0) * t;
    }
    // Advance to the first multiple of t not below lo; a step too small to move s ends it.
    for (int i = 0; i < 8 && 0.001 * std::fabs(t) < sigma * (lo - r.First); ++i) {
        const double next = r.First + t;
        if (next == r.First)
            break;
        r.First = next;
    }
    r.Step = t;
    return r;
}

} // namespace qor
