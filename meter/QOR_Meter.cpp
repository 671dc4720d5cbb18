#include "QOR_Meter.h"

#include <QOR_NumIO.h>
#include <QOR_math1.h>

#include <QBrush>
#include <QFileInfo>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>
#include <cstring>
#include <cmath>
#include <limits>

namespace qor {

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double LogFloor = 1e-100;   // smallest bound a logarithmic scale accepts
constexpr int MaxTicks = 2000;        // hard stop for tick loops on pathological ranges
constexpr int MaxDecades = 420;       // 1e-100 .. 1e308 and a little more

// Round half to even, as the platform's Round, but total: NaN gives 0 and huge values are
// held inside the int range so a bad number can never wrap into a wild pixel.
int RoundI(double x)
{
    if (std::isnan(x))
        return 0;
    x = std::clamp(x, -1.0e9, 1.0e9);
    return int(std::nearbyint(x));
}

double Deg2Rad(double d) { return d * Pi / 180.0; }

// Clamp that tolerates lo > hi (a range left inconsistent while loading): lo wins.
double ClampTo(double v, double lo, double hi)
{
    if (v > hi) v = hi;
    if (v < lo) v = lo;
    return v;
}

QString LabelText(int dp, double v) { return FormatRealStr(1, dp, v); }

} // namespace

// =============================================================================================
// TNeedleLayout

TNeedleLayout::TNeedleLayout(QObject* AOwner) : QObject(AOwner) {}

template <class T> void TNeedleLayout::Store(T& field, T v)
{
    if (field != v) {
        field = v;
        Changed();
    }
}

void TNeedleLayout::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TNeedleLayout::SetHeadSize(int v) { Store(FHeadSize, v); }
void TNeedleLayout::SetHeadAngle(int v) { Store(FHeadAngle, std::clamp(v, 0, 180)); }
void TNeedleLayout::SetHeadMidLeng(int v) { Store(FHeadMidLeng, v); }
void TNeedleLayout::SetThickness(int v) { Store(FThickness, v); }
void TNeedleLayout::SetColorBody(TColor v) { Store(FColorBody, v); }
void TNeedleLayout::SetColorOutline(TColor v) { Store(FColorOutline, v); }
void TNeedleLayout::SetPercentNeedleLength(int v) { Store(FPercentNeedleLength, std::clamp(v, 0, 100)); }
void TNeedleLayout::SetShadowDx(int v) { Store(FShadowDx, v); }
void TNeedleLayout::SetShadowDy(int v) { Store(FShadowDy, v); }
void TNeedleLayout::SetShadowColor(TColor v) { Store(FShadowColor, v); }
void TNeedleLayout::SetVisible(bool v) { Store(FVisible, v); }

void TNeedleLayout::Assign(const QObject* Source)
{
    const auto* src = qobject_cast<const TNeedleLayout*>(Source);
    if (!src) {
        if (Source)
            throw EConvertError(QStringLiteral("Cannot assign a %1 to a TNeedleLayout").arg(ClassNameOf(Source)));
        throw EConvertError(QStringLiteral("Cannot assign a nil to a TNeedleLayout"));
    }
    if (src == this)
        return;
    FHeadSize = src->FHeadSize;
    FHeadAngle = src->FHeadAngle;
    FHeadMidLeng = src->FHeadMidLeng;
    FThickness = src->FThickness;
    FColorBody = src->FColorBody;
    FColorOutline = src->FColorOutline;
    FPercentNeedleLength = src->FPercentNeedleLength;
    FShadowDx = src->FShadowDx;
    FShadowDy = src->FShadowDy;
    FShadowColor = src->FShadowColor;
    FVisible = src->FVisible;
    Changed();
}

void TNeedleLayout::AssignTo(QObject* Dest) const
{
    if (auto* d = qobject_cast<TNeedleLayout*>(Dest)) {
        d->Assign(this);
        return;
    }
    throw EConvertError(QStringLiteral("Cannot assign a TNeedleLayout to a %1").arg(ClassNameOf(Dest)));
}

// =============================================================================================
// TMeter: construction and plain properties

TMeter::TMeter(QWidget* AOwner) : TCustomControl(AOwner)
{
    FFontCaption.Assign(*Font());
    FFontCaption.OnChange = [this] { Changed(); };
    FNeedleLayout = new TNeedleLayout(this);
    FNeedleLayoutSec = new TNeedleLayout(this);
    FNeedleLayoutSec->SetVisible(false);
    FNeedleLayout->OnChange = [this](QObject*) { NeedleChanged(); };
    FNeedleLayoutSec->OnChange = [this](QObject*) { NeedleChanged(); };
    FBkgndBmp.SetSize(10, 10);
    FAnchorBmp.SetSize(10, 10);
    FAnchorMask.SetSize(10, 10);
    FPoly.reserve(8);
    setMouseTracking(true);
    resize(297, 209);
    CalcMeterLayoutParams();
}

TMeter::~TMeter() = default;

template <class T> void TMeter::Store(T& field, T v)
{
    if (field != v) {
        field = v;
        Changed();
    }
}

void TMeter::Changed()
{
    FDialDirty = true;
    Invalidate();
}

void TMeter::NeedleChanged() { Invalidate(); }

void TMeter::FontChanged() { Changed(); }

void TMeter::resizeEvent(QResizeEvent* e)
{
    TCustomControl::resizeEvent(e);
    CalcMeterLayoutParams();
    Changed();
}

void TMeter::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::PaletteChange)
        Changed();   // system colours of the dial may have changed
    TCustomControl::changeEvent(e);
}

void TMeter::SetMeterLayout(TMeterLayout v)
{
    if (v > mlCirc360)
        v = mlCirc90;
    if (v != FMeterLayout) {
        FMeterLayout = v;
        CalcMeterLayoutParams();
        Changed();
    }
}

void TMeter::SetMeterLayoutOrd(int v)
{
    SetMeterLayout(v >= mlCirc90 && v <= mlCirc360 ? TMeterLayout(v) : mlCirc90);
}

void TMeter::SetMeterNrTicks(int v) { Store(FMeterNrTicks, std::clamp(v, 2, 21)); }
void TMeter::SetMeterDecPlaces(int v) { Store(FMeterDecPlaces, std::clamp(v, 0, 4)); }
void TMeter::SetMeterShortTicks(bool v) { Store(FMeterShortTicks, v); }
void TMeter::SetMeterScaleLine(bool v) { Store(FMeterScaleLine, v); }
void TMeter::SetScaleVisible(bool v) { Store(FScaleVisible, v); }
void TMeter::SetScaleBkVisible(bool v) { Store(FScaleBkVisible, v); }

void TMeter::SetScaleBkWidth(double v)
{
    if (std::isnan(v))
        return;
    Store(FScaleBkWidth, std::clamp(v, 0.0, 100.0));
}

void TMeter::SetColorScale(TColor v) { Store(FColorScale, v); }
void TMeter::SetColorSclBkLow(TColor v) { Store(FColorSclBkLow, v); }
void TMeter::SetColorSclBkNorm(TColor v) { Store(FColorSclBkNorm, v); }
void TMeter::SetColorSclBkHigh(TColor v) { Store(FColorSclBkHigh, v); }
void TMeter::SetColorBakG(TColor v) { Store(FColorBakG, v); }
void TMeter::SetColorCover(TColor v) { Store(FColorCover, v); }
void TMeter::SetColorScheme(TColorScheme v) { Store(FColorScheme, v); }
void TMeter::SetFrameStyle(TFrameStyle v) { Store(FFrameStyle, v > fsEngraved ? fsNone : v); }
void TMeter::SetFrameStyleOrd(int v) { SetFrameStyle(v >= 0 && v <= fsEngraved ? TFrameStyle(v) : fsNone); }
void TMeter::SetBkgndFillMode(TBkgFill v) { Store(FBkgndFillMode, v > bfTile ? bfSimple : v); }
void TMeter::SetBkgndFillModeOrd(int v) { SetBkgndFillMode(v >= 0 && v <= bfTile ? TBkgFill(v) : bfSimple); }

void TMeter::SetRimTop(int v)
{
    if (v != FRimTop) {
        FRimTop = v;
        CalcMeterLayoutParams();
        Changed();
    }
}

void TMeter::SetRimBottom(int v)
{
    if (v != FRimBottom) {
        FRimBottom = v;
        CalcMeterLayoutParams();
        Changed();
    }
}

void TMeter::SetRimSide(int v)
{
    if (v != FRimSide) {
        FRimSide = v;
        CalcMeterLayoutParams();
        Changed();
    }
}

void TMeter::SetCaption(const QString& v) { Store(FCaption, v); }

void TMeter::SetFontCaption(const TFont& f)
{
    if (&f != &FFontCaption)
        FFontCaption.Assign(f);   // fires OnChange
}

void TMeter::SetQFontCaption(const QFont& f) { FFontCaption.AssignQFont(f); Changed(); }
void TMeter::SetQFontCaptionColor(const QColor& c) { FFontCaption.SetColor(FromQColor(c)); }

void TMeter::SetAnchorCovered(bool v) { Store(FAnchorCovered, v); }
void TMeter::SetAnchorSize(int v) { Store(FAnchorSize, v); }
void TMeter::SetLimWatchHighOn(bool v) { Store(FLimWatchHighOn, v); }
void TMeter::SetLimWatchLowOn(bool v) { Store(FLimWatchLowOn, v); }
void TMeter::SetLimWatchActColor(TColor v) { Store(FLimWatchActColor, v); }
void TMeter::SetLimWatchPsvColor(TColor v) { Store(FLimWatchPsvColor, v); }

void TMeter::SetNeedleLayout(TNeedleLayout* v)
{
    if (v && v != FNeedleLayout)
        FNeedleLayout->Assign(v);
}

void TMeter::SetNeedleLayoutSec(TNeedleLayout* v)
{
    if (v && v != FNeedleLayoutSec)
        FNeedleLayoutSec->Assign(v);
}

// =============================================================================================
// Range, value and thresholds

void TMeter::EvaluateValue(double v)
{
    FHighLamp = false;
    FLowLamp = false;
    if (v >= FThresholdHigh) {
        FHighLamp = true;
        DoOverFlowEvent();
    } else if (v > FThresholdLow) {
        DoNormalRangeEvent();
    } else {
        FLowLamp = true;
        DoUnderFlowEvent();
    }
}

void TMeter::SetValue(double v)
{
    if (std::isnan(v))
        return;   // a NaN would leave the needle nowhere; keep the last good value
    if (Loading()) {
        FValue = v;
        return;
    }
    if (v == FValue)
        return;
    FValue = ClampTo(v, FMeterMinValue, FMeterMaxValue);
    if (FNeedleLayout->Visible())
        EvaluateValue(FValue);
    else
        FHighLamp = FLowLamp = false;
    NeedleChanged();
}

void TMeter::SetValueSec(double v)
{
    if (std::isnan(v))
        return;
    if (Loading()) {
        FValueSec = v;
        return;
    }
    if (v == FValueSec)
        return;
    FValueSec = ClampTo(v, FMeterMinValue, FMeterMaxValue);
    // A hidden secondary needle must not switch off lamps the main value has lit.
    if (FNeedleLayoutSec->Visible()) {
        EvaluateValue(FValueSec);
        NeedleChanged();
    }
}

void TMeter::SetMeterMinValue(double v)
{
    if (!std::isfinite(v))
        return;
    if (Loading()) {
        FMeterMinValue = v;
        return;
    }
    if (FLogarithmic && v < LogFloor)
        return;
    if (v == FMeterMinValue)
        return;
    FMeterMinValue = v;
    if (FMeterMaxValue <= v)
        FMeterMaxValue = v + 1;
    FValue = std::max(FValue, v);
    FValueSec = std::max(FValueSec, v);
    FThresholdLow = std::max(FThresholdLow, v);
    FThresholdHigh = std::max(FThresholdHigh, v);
    Changed();
}

void TMeter::SetMeterMaxValue(double v)
{
    if (!std::isfinite(v))
        return;
    if (Loading()) {
        FMeterMaxValue = v;
        return;
    }
    if (FLogarithmic && v < LogFloor)
        return;
    if (v == FMeterMaxValue)
        return;
    FMeterMaxValue = v;
    if (v <= FMeterMinValue) {
        FMeterMinValue = v - 1;
        if (FLogarithmic && FMeterMinValue <= 0)
            FMeterMinValue = v / 10;
    }
    FValue = std::min(FValue, v);
    FValueSec = std::min(FValueSec, v);
    FThresholdLow = std::min(FThresholdLow, v);
    FThresholdHigh = std::min(FThresholdHigh, v);
    Changed();
}

void TMeter::SetThresholdLow(double v)
{
    if (std::isnan(v))
        return;
    if (Loading()) {
        FThresholdLow = v;
        return;
    }
    if (FLogarithmic && v < LogFloor)
        return;
    if (v == FThresholdLow)
        return;
    FThresholdLow = ClampTo(v, FMeterMinValue, FMeterMaxValue);
    if (FThresholdHigh < FThresholdLow)
        FThresholdHigh = FThresholdLow;
    FLowLamp = FValue <= FThresholdLow;
    FHighLamp = FHighLamp && FValue >= FThresholdHigh;   // a raised high threshold may clear it
    if (FLowLamp)
        DoUnderFlowEvent();
    Changed();
}

void TMeter::SetThresholdHigh(double v)
{
    if (std::isnan(v))
        return;
    if (Loading()) {
        FThresholdHigh = v;
        return;
    }
    if (FLogarithmic && v < LogFloor)
        return;
    if (v == FThresholdHigh)
        return;
    FThresholdHigh = ClampTo(v, FMeterMinValue, FMeterMaxValue);
    if (FThresholdLow > FThresholdHigh)
        FThresholdLow = FThresholdHigh;
    FHighLamp = FValue >= FThresholdHigh;
    FLowLamp = FLowLamp && FValue <= FThresholdLow;      // a lowered low threshold may clear it
    if (FHighLamp)
        DoOverFlowEvent();
    Changed();
}

void TMeter::SetLogarithmic(bool v)
{
    if (Loading()) {
        FLogarithmic = v;
        return;
    }
    if (v == FLogarithmic)
        return;
    FLogarithmic = v && FMeterMinValue > LogFloor && FMeterMaxValue > LogFloor;
    Changed();
}

void TMeter::DoOverFlowEvent()
{
    if (OnOverFlow)
        OnOverFlow(this);
}

void TMeter::DoUnderFlowEvent()
{
    if (OnUnderFlow)
        OnUnderFlow(this);
}

void TMeter::DoNormalRangeEvent()
{
    if (OnNormalRange)
        OnNormalRange(this);
}

void TMeter::MouseMoveInMeter(bool WithinRange, TShiftState Shift, double MeterValue)
{
    if (OnMouseMoveInMeter)
        OnMouseMoveInMeter(this, WithinRange, Shift, MeterValue);
}

void TMeter::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    double v = 0.0;
    const bool within = ConvertPixelToValue(X, Y, v);
    MouseMoveInMeter(within, Shift, v);
}

void TMeter::Loaded()
{
    TCustomControl::Loaded();
    FValue = ClampTo(FValue, FMeterMinValue, FMeterMaxValue);
    FValueSec = ClampTo(FValueSec, FMeterMinValue, FMeterMaxValue);
    // The lamps show the loaded state; events wait for the first real change.
    FHighLamp = FValue >= FThresholdHigh;
    FLowLamp = !FHighLamp && FValue <= FThresholdLow;
    LoadBackground();
    LoadAnchor();
    CalcMeterLayoutParams();
    Changed();
}

void TMeter::Assign(const QObject* Source)
{
    const auto* src = qobject_cast<const TMeter*>(Source);
    if (!src) {
        TCustomControl::Assign(Source);
        return;
    }
    if (src == this)
        return;
    FMeterLayout = src->FMeterLayout;
    FMeterMinValue = src->FMeterMinValue;
    FMeterMaxValue = src->FMeterMaxValue;
    FValue = src->FValue;
    FValueSec = src->FValueSec;
    FThresholdLow = src->FThresholdLow;
    FThresholdHigh = src->FThresholdHigh;
    FLogarithmic = src->FLogarithmic;
    FMeterNrTicks = src->FMeterNrTicks;
    FMeterDecPlaces = src->FMeterDecPlaces;
    FMeterShortTicks = src->FMeterShortTicks;
    FMeterScaleLine = src->FMeterScaleLine;
    FScaleVisible = src->FScaleVisible;
    FScaleBkVisible = src->FScaleBkVisible;
    FScaleBkWidth = src->FScaleBkWidth;
    FColorScale = src->FColorScale;
    FColorSclBkLow = src->FColorSclBkLow;
    FColorSclBkNorm = src->FColorSclBkNorm;
    FColorSclBkHigh = src->FColorSclBkHigh;
    FColorBakG = src->FColorBakG;
    FColorCover = src->FColorCover;
    FColorScheme = src->FColorScheme;
    FFrameStyle = src->FFrameStyle;
    FRimTop = src->FRimTop;
    FRimBottom = src->FRimBottom;
    FRimSide = src->FRimSide;
    FCaption = src->FCaption;
    FBkgndFillMode = src->FBkgndFillMode;
    FAnchorCovered = src->FAnchorCovered;
    FAnchorSize = src->FAnchorSize;
    FLimWatchHighOn = src->FLimWatchHighOn;
    FLimWatchLowOn = src->FLimWatchLowOn;
    FLimWatchActColor = src->FLimWatchActColor;
    FLimWatchPsvColor = src->FLimWatchPsvColor;
    FHighLamp = src->FHighLamp;
    FLowLamp = src->FLowLamp;
    FFontCaption.Assign(src->FFontCaption);
    FNeedleLayout->Assign(src->FNeedleLayout);
    FNeedleLayoutSec->Assign(src->FNeedleLayoutSec);
    FBackGroundImg = src->FBackGroundImg;
    FAnchorImage = src->FAnchorImage;
    LoadBackground();
    LoadAnchor();
    CalcMeterLayoutParams();
    Changed();
}

void TMeter::AssignTo(QObject* Dest) const
{
    if (!AssignToSameClass<TMeter>(Dest))
        TCustomControl::AssignTo(Dest);
}

// =============================================================================================
// Image files

void TMeter::SetBackGroundImg(const QString& FileName)
{
    FBackGroundImg = FileName;
    if (!Loading())
        LoadBackground();
    Changed();
}

void TMeter::SetAnchorImage(const QString& FileName)
{
    FAnchorImage = FileName;
    if (!Loading())
        LoadAnchor();
    Changed();
}

bool TMeter::LoadBackground()
{
    if (FBackGroundImg.isEmpty())
        return false;
    if (!QFileInfo(FBackGroundImg).isFile() || !FBkgndBmp.LoadFromFile(FBackGroundImg) || FBkgndBmp.Empty()) {
        FBackGroundImg.clear();
        return false;
    }
    return true;
}

bool TMeter::LoadAnchor()
{
    if (FAnchorImage.isEmpty())
        return false;
    if (!QFileInfo(FAnchorImage).isFile() || !FAnchorBmp.LoadFromFile(FAnchorImage) || FAnchorBmp.Empty()) {
        FAnchorImage.clear();
        return false;
    }
    // The mask is black wherever the picture is opaque, so that mask-AND then picture-OR puts
    // the picture on the dial unchanged. A picture with an alpha channel keeps its see-through
    // parts: white in the mask, black in the picture.
    QImage pic = FAnchorBmp.Image().convertToFormat(QImage::Format_ARGB32);
    QImage mask(pic.size(), QImage::Format_RGB32);
    for (int y = 0; y < pic.height(); ++y) {
        auto* p = reinterpret_cast<QRgb*>(pic.scanLine(y));
        auto* m = reinterpret_cast<QRgb*>(mask.scanLine(y));
        for (int x = 0; x < pic.width(); ++x) {
            const bool opaque = qAlpha(p[x]) >= 128;
            m[x] = opaque ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
            p[x] = opaque ? (p[x] | 0xFF000000u) : qRgb(0, 0, 0);
        }
    }
    FAnchorBmp.SetImage(pic.convertToFormat(QImage::Format_RGB32));
    FAnchorMask.SetImage(mask);
    return true;
}

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

// =============================================================================================
// Painting

QPoint TMeter::PolarPoint(double radius, double angleRad) const
{
    return QPoint(RoundI(FCX + radius * std::cos(angleRad)), RoundI(FCY - radius * std::sin(angleRad)));
}

void TMeter::Paint()
{
    SyncGeometry();
    TCanvas* c = Canvas();
    if (!(FR > 0)) {
        // Too small for the rims: no dial, only the cover colour (no stale picture).
        c->Pen()->SetColor(FColorCover);
        c->Brush()->SetColor(FColorCover);
        c->FillRect(0, 0, width(), height());
        return;
    }
    c->SetCopyMode(cmSrcCopy);
    c->Pen()->SetWidth(1);
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetMode(pmCopy);
    // A label hook may draw differently every time, so the dial is then never reused.
    if (OnBeforeDrawScaleLabel) {
        FDialDirty = true;
        PaintDial(c);
    } else if (!RestoreDial()) {
        PaintDial(c);
        StoreDial();
    }

    bool needleDrawn = false;
    if (OnBeforeDrawNeedle)
        OnBeforeDrawNeedle(this, c, needleDrawn);
    if (!needleDrawn) {
        if (FNeedleLayoutSec->Visible())
            PaintNeedle(c, *FNeedleLayoutSec, FValueSec);
        PaintNeedle(c, *FNeedleLayout, FValue);
    }

    PaintRims(c);
    PaintAnchor(c);
    if (FLimWatchHighOn)
        PaintLamp(c, width() - FRimSide - 18, FRimTop + 8, FHighLamp);
    if (FLimWatchLowOn)
        PaintLamp(c, FRimSide + 8, FRimTop + 8, FLowLamp);
    if (OnMeterRendered)
        OnMeterRendered(this, c);
    PaintFrame(c);
}

void TMeter::PaintDial(TCanvas* c)
{
    PaintBackground(c);
    if (FScaleBkVisible)
        PaintBands(c);
    if (FScaleVisible)
        PaintScale(c);
    PaintCaption(c);
}

bool TMeter::RestoreDial()
{
    if (FDialDirty)
        return false;
    QImage& img = Surface()->Image();
    if (img.size() != FDialLayer.size() || img.format() != FDialLayer.format() ||
        img.devicePixelRatio() != FDialLayer.devicePixelRatio() || img.bytesPerLine() != FDialLayer.bytesPerLine())
        return false;
    std::memcpy(img.bits(), FDialLayer.constBits(), size_t(img.sizeInBytes()));
    return true;
}

void TMeter::StoreDial()
{
    const QImage& img = Surface()->Image();
    if (img.size() == FDialLayer.size() && img.format() == FDialLayer.format() &&
        img.bytesPerLine() == FDialLayer.bytesPerLine()) {
        std::memcpy(FDialLayer.bits(), img.constBits(), size_t(img.sizeInBytes()));
        FDialLayer.setDevicePixelRatio(img.devicePixelRatio());
    } else {
        FDialLayer = img.copy();
    }
    FDialDirty = false;
}

void TMeter::PaintBackground(TCanvas* c)
{
    const int W = width(), H = height();
    c->Pen()->SetColor(FColorBakG);
    c->Brush()->SetColor(FColorBakG);
    c->Font()->Assign(*Font());
    if (FBackGroundImg.isEmpty()) {
        c->FillRect(0, 0, W, H);
        return;
    }
    switch (FBkgndFillMode) {
    case bfStretch: {
        const TStretchMode old = c->StretchMode();
        c->SetStretchMode(smHalftone);
        c->StretchDraw(QRect(0, 0, W, H), FBkgndBmp);
        c->SetStretchMode(old);
        break;
    }
    case bfTile:
        // Same picture as drawing every tile, in one call.
        c->Painter()->fillRect(QRect(0, 0, W, H), QBrush(FBkgndBmp.Image()));
        break;
    default:
        c->Rectangle(0, 0, W, H);
        c->Draw(0, 0, FBkgndBmp);
        break;
    }
}

void TMeter::PaintBands(TCanvas* c)
{
    const double aMin = Deg2Rad(FA / 2.0 + 90.0);
    const double aLo = Deg2Rad(DrawingAngle(FThresholdLow));
    const double aHi = Deg2Rad(DrawingAngle(FThresholdHigh));
    const double aMax = Deg2Rad(90.0 - FA / 2.0);
    const int ro = RoundI(FR + 4);
    auto sector = [&](TColor color, double from, double to) {
        if (std::fabs(to - from) <= 1e-6)
            return;
        const QPoint p1 = PolarPoint(FR, from), p2 = PolarPoint(FR, to);
        c->Pen()->SetColor(color);
        c->Brush()->SetColor(color);
        c->Pie(FCX - ro, FCY - ro, FCX + ro + 1, FCY + ro, p1.x(), p1.y(), p2.x(), p2.y());
    };
    sector(FColorSclBkLow, aLo, aMin);
    sector(FColorSclBkNorm, aHi, aLo);
    sector(FColorSclBkHigh, aMax, aHi);
    const int ri = RoundI((100.0 - FScaleBkWidth) * FR / 100.0);
    c->Pen()->SetColor(FColorBakG);
    c->Brush()->SetColor(FColorBakG);
    c->Ellipse(FCX - ri, FCY - ri, FCX + ri + 1, FCY + ri);
}

void TMeter::PaintScaleLabel(TCanvas* c, double v, double dx, double dy, int dp)
{
    // On a full circle the maximum falls on the minimum: one label there, not two overprinted.
    const double f = ValueFraction(v);
    if (FA >= 360 && f >= 1 - 1e-9 && FLabelAtMin)
        return;
    if (f <= 1e-9)
        FLabelAtMin = true;
    QString text = LabelText(dp, v);
    const double theta = Deg2Rad(DrawingAngle(v));
    const int x = RoundI(FCX + (FR - dx) * std::cos(theta));
    const int y = RoundI(FCY - (FR - dy) * std::sin(theta));
    if (OnBeforeDrawScaleLabel) {
        const QSize sz = c->TextExtent(text);
        OnBeforeDrawScaleLabel(this, c, text, x - sz.width() / 2, y - sz.height() / 2);
    }
    if (text.isEmpty())
        return;
    const QSize sz = c->TextExtent(text);
    c->Brush()->SetStyle(bsClear);
    c->TextOut(x - sz.width() / 2, y - sz.height() / 2, text);
}

void TMeter::PaintScale(TCanvas* c)
{
    FLabelAtMin = false;
    const double lo = FMeterMinValue, hi = FMeterMaxValue;
    c->Pen()->SetColor(FColorScale);
    c->Brush()->SetStyle(bsClear);
    auto tick = [&](double v, double inner) {
        const double theta = Deg2Rad(DrawingAngle(v));
        const QPoint a = PolarPoint(FR, theta), b = PolarPoint(FR - inner, theta);
        c->MoveTo(a.x(), a.y());
        c->LineTo(b.x(), b.y());
    };

    if (FMeterScaleLine) {
        const int rr = RoundI(FR);
        const QPoint pMax = PolarPoint(FR, Deg2Rad(90.0 - FA / 2.0));
        const QPoint pMin = PolarPoint(FR, Deg2Rad(90.0 + FA / 2.0));
        c->Arc(FCX - rr, FCY - rr, FCX + rr + 1, FCY + rr, pMax.x(), pMax.y(), pMin.x(), pMin.y());
    }

    const TMeterTickStep st = NiceTickStep(FMeterNrTicks, lo, hi);
    const double s = st.First, t = st.Step;
    if (FMeterShortTicks && t != 0.0) {
        const double ms = t / st.Minor;
        for (int k = 0; k < MaxTicks; ++k) {
            const double p = s - t + k * ms;
            if (k % st.Minor != 0 && p >= lo)
                tick(p, 4);
            if (s - t + (k + 1) * ms > hi + 0.001 * ms)
                break;
        }
    }

    const int dp = CalcM(FMeterDecPlaces, hi, lo);
    const QSize maxSize = c->TextExtent(LabelText(dp, hi));
    const double dx = maxSize.width() / 2.0 + 15, dy = maxSize.height() / 2.0 + 15;
    c->Font()->Assign(*Font());

    auto linearMajors = [&] {
        for (int k = 0; k < MaxTicks; ++k) {
            double v = s + k * t;
            if (std::fabs(v) < 1e-9 * std::fabs(t))
                v = 0.0;   // "-0.0" is no label
            c->Pen()->SetColor(FColorScale);
            tick(v, 8);
            PaintScaleLabel(c, v, dx, dy, dp);
            if (t == 0.0 || s + (k + 1) * t > hi + 0.001 * t)
                break;
        }
    };

    if (!LogScaleUsable(hi) || std::fabs(std::log10(hi / lo)) < 1) {
        linearMajors();
        return;
    }
    const double q = 0.999999999;
    const double e = IntNeg(std::log10(q * lo));   // first decade: rounded towards minus infinity
    const double base = std::pow(10.0, e);
    const bool labelAll = hi / lo < 10;
    double F = 1.0;
    for (int decade = 0; decade < MaxDecades; ++decade) {
        for (int k = 1; k <= 9; ++k) {
            const double v = k * base * F;
            if (v / q > lo && k * q * base * F < hi) {
                c->Pen()->SetColor(FColorScale);
                tick(v, 8);
                if (labelAll || k == 1 || k == 2 || k == 5)
                    PaintScaleLabel(c, v, dx, dy, dp);
            }
        }
        F *= 10.0;
        if (!(q * base * F <= hi))
            break;
    }
}

void TMeter::PaintCaption(TCanvas* c)
{
    if (FCaption.isEmpty())
        return;
    c->Font()->Assign(FFontCaption);
    const QSize sz = c->TextExtent(FCaption);
    c->Brush()->SetStyle(bsClear);
    c->TextOut(FCX - sz.width() / 2, FCY - RoundI(FR / 3) - sz.height() / 2, FCaption);
}

void TMeter::PaintNeedle(TCanvas* c, const TNeedleLayout& n, double v)
{
    const double L = n.PercentNeedleLength() * (FR - 4) / 100.0;
    const double theta = Deg2Rad(DrawingAngle(v));
    const double alpha = Deg2Rad(n.HeadAngle() / 2.0);
    const double cs = std::cos(theta), sn = std::sin(theta);
    const double u = sn * n.Thickness() / 2.0, w = cs * n.Thickness() / 2.0;
    const int tx = RoundI(FCX + L * cs), ty = RoundI(FCY - L * sn);
    const double hs = n.HeadSize(), hm = n.HeadMidLeng();
    FPoly.resize(7);
    FPoly[0] = QPoint(RoundI(tx - hs * std::cos(theta + alpha)), RoundI(ty + hs * std::sin(theta + alpha)));
    FPoly[1] = QPoint(tx, ty);
    FPoly[2] = QPoint(RoundI(tx - hs * std::cos(theta - alpha)), RoundI(ty + hs * std::sin(theta - alpha)));
    FPoly[3] = QPoint(RoundI(tx - u - hm * cs), RoundI(ty - w + hm * sn));
    FPoly[4] = QPoint(RoundI(FCX - u), RoundI(FCY - w));
    FPoly[5] = QPoint(RoundI(FCX + u), RoundI(FCY + w));
    FPoly[6] = QPoint(RoundI(tx + u - hm * cs), RoundI(ty + w + hm * sn));
    if (n.ShadowDx() != 0 || n.ShadowDy() != 0) {
        const QPoint shift(-n.ShadowDx(), -n.ShadowDy());
        for (QPoint& p : FPoly)
            p += shift;
        c->Pen()->SetColor(n.ShadowColor());
        c->Brush()->SetColor(n.ShadowColor());
        c->Polygon(FPoly);
        for (QPoint& p : FPoly)
            p -= shift;
    }
    c->Pen()->SetColor(n.ColorOutline());
    c->Brush()->SetColor(n.ColorBody());
    c->Polygon(FPoly);
}

void TMeter::PaintRims(TCanvas* c)
{
    const int W = width(), H = height();
    c->Pen()->SetColor(FColorCover);
    c->Brush()->SetColor(FColorCover);
    c->Rectangle(0, 0, FRimSide - 1, H);
    c->Rectangle(0, 0, W, FRimTop);
    c->Rectangle(W - FRimSide, 0, W, H);
    c->Rectangle(0, H - FRimBottom, W, H);
}

void TMeter::PaintBevel(TCanvas* c)
{
    const int W = width(), H = height();
    const int l = FRimSide - 1, r = W - FRimSide, t = FRimTop, b = H - FRimBottom;
    c->Pen()->SetColor(clWhite);
    c->MoveTo(l, b);
    c->LineTo(r, b);
    c->LineTo(r, t);
    c->Pen()->SetColor(clGray);
    c->LineTo(l, t);
    c->LineTo(l, b);
}

void TMeter::PaintAnchor(TCanvas* c)
{
    const int S = FAnchorSize;
    const int W = width(), H = height();
    if (!FAnchorCovered) {
        PaintBevel(c);
        return;
    }
    if (!FAnchorImage.isEmpty()) {
        PaintBevel(c);
        const QImage& pic = FAnchorBmp.Image();
        const QRect src(0, 0, pic.width(), pic.height());
        const QRect dest(FCX - pic.width() / 2, FCY - pic.height() / 2, pic.width(), pic.height());
        c->SetCopyMode(cmSrcAnd);
        c->CopyRect(dest, FAnchorMask.Image(), src);
        c->SetCopyMode(cmSrcPaint);
        c->CopyRect(dest, pic, src);
        c->SetCopyMode(cmSrcCopy);
        return;
    }
    c->Pen()->SetColor(FColorCover);
    c->Brush()->SetColor(FColorCover);
    if (FMeterLayout == mlCirc270 || FMeterLayout == mlCirc300 || FMeterLayout == mlCirc360) {
        c->Ellipse(FCX - S, FCY - S, FCX + S, FCY + S);
        PaintBevel(c);
        c->Pen()->SetColor(clWhite);
        c->Arc(FCX - S, FCY - S, FCX + S, FCY + S, FCX + S, FCY - S, FCX - S, FCY + S);
        c->Pen()->SetColor(clGray);
        c->Arc(FCX - S, FCY - S, FCX + S, FCY + S, FCX - S, FCY + S, FCX + S, FCY - S);
        return;
    }
    // Half disc on a foot that stands on the bottom rim; the window's bevel runs round it.
    const int l = FRimSide - 1, r = W - FRimSide, t = FRimTop, b = H - FRimBottom;
    c->Pie(FCX - S, FCY - S, FCX + S, FCY + S, FCX + S, FCY, FCX - S, FCY);
    c->Rectangle(FCX - S, FCY, FCX + S, b);
    c->Pen()->SetColor(clGray);
    c->MoveTo(FCX + S - 1, FCY);
    c->LineTo(FCX + S - 1, b);
    c->Pen()->SetColor(clWhite);
    c->LineTo(r, b);
    c->LineTo(r, t);
    c->Pen()->SetColor(clGray);
    c->LineTo(l, t);
    c->LineTo(l, b);
    c->Pen()->SetColor(clWhite);
    c->LineTo(FCX - S, b);
    c->LineTo(FCX - S, FCY - 1);
    c->Arc(FCX - S, FCY - S, FCX + S, FCY + S, FCX + S, FCY, FCX - S, FCY);
    c->Pen()->SetColor(clGray);
    c->Arc(FCX - S, FCY - S, FCX + S, FCY + S, FCX + S, FCY, FCX + S, FCY - S);
}

void TMeter::PaintLamp(TCanvas* c, int x0, int y0, bool lit)
{
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetColor(lit ? FLimWatchActColor : FLimWatchPsvColor);
    c->Rectangle(x0, y0, x0 + 10, y0 + 10);
    auto shade = [&](TColor color, QPoint a, QPoint b, QPoint d) {
        c->Pen()->SetColor(color);
        c->MoveTo(a.x(), a.y());
        c->LineTo(b.x(), b.y());
        c->LineTo(d.x(), d.y());
    };
    shade(clWhite, {x0 + 1, y0 + 9}, {x0 + 9, y0 + 9}, {x0 + 9, y0});
    shade(clSilver, {x0 + 2, y0 + 8}, {x0 + 8, y0 + 8}, {x0 + 8, y0 + 1});
    shade(clGray, {x0 + 1, y0 + 8}, {x0 + 1, y0 + 1}, {x0 + 9, y0 + 1});
}

void TMeter::PaintFrame(TCanvas* c)
{
    const int W = width(), H = height();
    const TColor gray = FColorScheme == csGrayWhite ? clGray : clBtnShadow;
    const TColor white = FColorScheme == csGrayWhite ? clWhite : clBtnHighlight;
    auto path = [&](TColor color, std::initializer_list<QPoint> pts) {
        c->Pen()->SetColor(color);
        auto it = pts.begin();
        c->MoveTo(it->x(), it->y());
        for (++it; it != pts.end(); ++it)
            c->LineTo(it->x(), it->y());
    };
    switch (FFrameStyle) {
    case fsSimple:
        path(FColorBakG, {{0, H - 1}, {0, 0}, {W - 1, 0}, {W - 1, H - 1}, {0, H - 1}});
        break;
    case fsLowered:
    case fsRaised: {
        const TColor topLeft = FFrameStyle == fsLowered ? gray : white;
        const TColor bottomRight = FFrameStyle == fsLowered ? white : gray;
        path(topLeft, {{0, H - 1}, {0, 0}, {W - 1, 0}});
        path(bottomRight, {{W - 1, 0}, {W - 1, H - 1}, {0, H - 1}});
        break;
    }
    case fsEmbossed:
    case fsEngraved: {
        const TColor outer = FFrameStyle == fsEmbossed ? white : gray;
        const TColor inner = FFrameStyle == fsEmbossed ? gray : white;
        path(outer, {{0, 0}, {W - 2, 0}, {W - 2, H - 2}, {0, H - 2}, {0, 0}});
        path(inner, {{1, H - 3}, {1, 1}, {W - 2, 1}});
        path(inner, {{1, H - 1}, {W - 1, H - 1}, {W - 1, 0}});
        break;
    }
    default:
        break;
    }
}

} // namespace qor
