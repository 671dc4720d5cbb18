#include "QOR_Meter.h"
#include "QOR_WidgetFactory.h"

#include "QOR_Meter_p.h"

#include <QOR_NumText.h>

#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace qor {

using namespace meter_detail;

// =============================================================================================
// TNeedleLayout

TNeedleLayout::TNeedleLayout(QObject* AOwner) : QObject(AOwner) {}

template <class T> void TNeedleLayout::Set(T& field, T v)
{
    if (Store(field, v))
        Changed();
}

void TNeedleLayout::Changed()
{
    Notify(this, OnChange, &TNeedleLayout::changed);
}

void TNeedleLayout::SetHeadSize(int v) { Set(FHeadSize, v); }
void TNeedleLayout::SetHeadAngle(int v) { Set(FHeadAngle, std::clamp(v, 0, 180)); }
void TNeedleLayout::SetHeadMidLeng(int v) { Set(FHeadMidLeng, v); }
void TNeedleLayout::SetThickness(int v) { Set(FThickness, v); }
void TNeedleLayout::SetColorBody(TColor v) { Set(FColorBody, v); }
void TNeedleLayout::SetColorOutline(TColor v) { Set(FColorOutline, v); }
void TNeedleLayout::SetPercentNeedleLength(int v) { Set(FPercentNeedleLength, std::clamp(v, 0, 100)); }
void TNeedleLayout::SetShadowDx(int v) { Set(FShadowDx, v); }
void TNeedleLayout::SetShadowDy(int v) { Set(FShadowDy, v); }
void TNeedleLayout::SetShadowColor(TColor v) { Set(FShadowColor, v); }
void TNeedleLayout::SetVisible(bool v) { Set(FVisible, v); }

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

QOR_REGISTER_WIDGET(qor::TMeter);

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

template <class T> void TMeter::Set(T& field, T v)
{
    if (Store(field, v))
        Changed();
}

void TMeter::Changed()
{
    FDialDirty = true;
    Invalidate();
}

void TMeter::NeedleChanged() { Invalidate(); }

void TMeter::FontChanged() { Changed(); }

void TMeter::Resized()
{
    CalcMeterLayoutParams();
    Changed();
}

// System colours of the dial may have changed: the cached dial is drawn again too.
void TMeter::LooksChanged() { Changed(); }

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

void TMeter::SetMeterNrTicks(int v) { Set(FMeterNrTicks, std::clamp(v, 2, 21)); }
void TMeter::SetMeterDecPlaces(int v) { Set(FMeterDecPlaces, std::clamp(v, 0, 4)); }
void TMeter::SetMeterShortTicks(bool v) { Set(FMeterShortTicks, v); }
void TMeter::SetMeterScaleLine(bool v) { Set(FMeterScaleLine, v); }
void TMeter::SetScaleVisible(bool v) { Set(FScaleVisible, v); }
void TMeter::SetScaleBkVisible(bool v) { Set(FScaleBkVisible, v); }

void TMeter::SetScaleBkWidth(double v)
{
    if (std::isnan(v))
        return;
    Set(FScaleBkWidth, std::clamp(v, 0.0, 100.0));
}

void TMeter::SetColorScale(TColor v) { Set(FColorScale, v); }
void TMeter::SetColorSclBkLow(TColor v) { Set(FColorSclBkLow, v); }
void TMeter::SetColorSclBkNorm(TColor v) { Set(FColorSclBkNorm, v); }
void TMeter::SetColorSclBkHigh(TColor v) { Set(FColorSclBkHigh, v); }
void TMeter::SetColorBakG(TColor v) { Set(FColorBakG, v); }
void TMeter::SetColorCover(TColor v) { Set(FColorCover, v); }
void TMeter::SetColorScheme(TColorScheme v) { Set(FColorScheme, v); }
void TMeter::SetFrameStyle(TFrameStyle v) { Set(FFrameStyle, v > fsEngraved ? fsNone : v); }
void TMeter::SetBkgndFillMode(TBkgFill v) { Set(FBkgndFillMode, v > bfTile ? bfSimple : v); }

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

void TMeter::SetCaption(const QString& v)
{
    Set(FCaption, v);
    AccessibleValueChanged();   // the caption names the meter and is the unit of its text
}

void TMeter::SetFontCaption(const TFont& f)
{
    if (&f != &FFontCaption)
        FFontCaption.Assign(f);   // fires OnChange
}


void TMeter::SetAnchorCovered(bool v) { Set(FAnchorCovered, v); }
void TMeter::SetAnchorSize(int v) { Set(FAnchorSize, v); }
void TMeter::SetLimWatchHighOn(bool v) { Set(FLimWatchHighOn, v); }
void TMeter::SetLimWatchLowOn(bool v) { Set(FLimWatchLowOn, v); }
void TMeter::SetLimWatchActColor(TColor v) { Set(FLimWatchActColor, v); }
void TMeter::SetLimWatchPsvColor(TColor v) { Set(FLimWatchPsvColor, v); }

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
    const double old = FValue;
    FValue = ClampTo(v, FMeterMinValue, FMeterMaxValue);
    if (FNeedleLayout->Visible())
        EvaluateValue(FValue);
    else
        FHighLamp = FLowLamp = false;
    NeedleChanged();
    ReportValueChanges(old, FValueSec);
}

void TMeter::ReportValueChanges(double OldValue, double OldValueSec)
{
    if (FValue != OldValue) {
        emit valueChanged(FValue);
        AccessibleValueChanged();
    }
    if (FValueSec != OldValueSec)
        emit valueSecChanged(FValueSec);
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
    const double old = FValueSec;
    FValueSec = ClampTo(v, FMeterMinValue, FMeterMaxValue);
    // A hidden secondary needle must not switch off lamps the main value has lit.
    if (FNeedleLayoutSec->Visible()) {
        EvaluateValue(FValueSec);
        NeedleChanged();
    }
    ReportValueChanges(FValue, old);
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
    const double oldValue = FValue, oldSec = FValueSec;
    FMeterMinValue = v;
    if (FMeterMaxValue <= v)
        FMeterMaxValue = v + 1;
    FValue = std::max(FValue, v);
    FValueSec = std::max(FValueSec, v);
    FThresholdLow = std::max(FThresholdLow, v);
    FThresholdHigh = std::max(FThresholdHigh, v);
    Changed();
    ReportValueChanges(oldValue, oldSec);
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
    const double oldValue = FValue, oldSec = FValueSec;
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
    ReportValueChanges(oldValue, oldSec);
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

void TMeter::DoOverFlowEvent() { Notify(this, OnOverFlow, &TMeter::overFlow); }
void TMeter::DoUnderFlowEvent() { Notify(this, OnUnderFlow, &TMeter::underFlow); }
void TMeter::DoNormalRangeEvent() { Notify(this, OnNormalRange, &TMeter::normalRange); }

void TMeter::MouseMoveInMeter(bool WithinRange, TShiftState Shift, double MeterValue)
{
    Notify(this, OnMouseMoveInMeter, &TMeter::mouseMoveInMeter, WithinRange, Shift, MeterValue);
}

QString TMeter::AccessibleText() const
{
    int decimals = std::max(0, CalcM(FMeterDecPlaces, FMeterMaxValue, FMeterMinValue));
    if (FLogarithmic && FValue > 0.0)
        decimals = std::clamp(2 - int(std::floor(std::log10(FValue))), decimals, 15);
    const QString number = FormatRealStr(1, decimals, FValue);
    const QString unit = FCaption.trimmed();
    return unit.isEmpty() ? number : number + QLatin1Char(' ') + unit;
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
    const double oldValue = FValue, oldSec = FValueSec;
    FValue = ClampTo(FValue, FMeterMinValue, FMeterMaxValue);
    FValueSec = ClampTo(FValueSec, FMeterMinValue, FMeterMaxValue);
    // The lamps show the loaded state; events wait for the first real change.
    FHighLamp = FValue >= FThresholdHigh;
    FLowLamp = !FHighLamp && FValue <= FThresholdLow;
    LoadBackground();
    LoadAnchor();
    CalcMeterLayoutParams();
    Changed();
    ReportValueChanges(oldValue, oldSec);
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
    const double oldValue = FValue, oldSec = FValueSec;
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
    ReportValueChanges(oldValue, oldSec);
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

} // namespace qor
