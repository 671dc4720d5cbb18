// TProgBar: construction, settings, the auto-increment timer, Assign and accessibility.
#include "QOR_ProgBar.h"
#include "QOR_WidgetFactory.h"

#include <QOR_NumText.h>

#include <algorithm>
#include <cmath>

namespace qor {

QOR_REGISTER_WIDGET(qor::TProgBar);

TProgBar::TProgBar(QWidget* AOwner) : TGraphicControl(AOwner)
{
    FBarColorArray[0] = clBlue;
    FBarColorArray[NumBarColors - 1] = clRed;
    InterpolateColors();
    FAuxBmp.SetSize(10, 10);
    FTimer = new TWindowTimer(this);
    FTimer->OnTimer = [this] { DoTimer(); };
    resize(300, 28);
}

TProgBar::~TProgBar()
{
    FTimer->Stop();
}

template <class T> void TProgBar::Set(T& field, T v)
{
    if (Store(field, v))
        Invalidate();
}

// ---------------------------------------------------------------------------------------------
// Colours

void TProgBar::InterpolateColors()
{
    // System colours interpolate from what they look like on this bar now, not from their
    // index bits.
    const TColor a = ColorToRGB(FBarColorArray[0], palette());
    const TColor b = ColorToRGB(FBarColorArray[NumBarColors - 1], palette());
    auto channel = [](TColor c, int shift) { return (c >> shift) & 0xFF; };
    for (int i = 1; i < NumBarColors - 1; ++i) {
        const double t = double(i) / (NumBarColors - 1);
        TColor c = 0;
        for (int shift : {16, 8, 0}) {
            const int ca = channel(a, shift), cb = channel(b, shift);
            c |= TColor(ca + (cb - ca) * t) << shift;   // truncation: the bytes are never negative
        }
        FBarColorArray[size_t(i)] = c & 0xFFFFFF;
    }
    FInterpolated = true;
}

void TProgBar::LooksChanged()
{
    // Colours a program put between the ends stay as set.
    const bool systemEnds = IsSystemColor(ColorMin()) || IsSystemColor(ColorMax());
    if (systemEnds && FInterpolated)
        InterpolateColors();
    TGraphicControl::LooksChanged();
}

void TProgBar::SetColorMin(TColor v)
{
    if (!Store(FBarColorArray[0], v))
        return;
    InterpolateColors();
    Invalidate();
}

void TProgBar::SetColorMax(TColor v)
{
    if (!Store(FBarColorArray[NumBarColors - 1], v))
        return;
    InterpolateColors();
    Invalidate();
}

TColor TProgBar::BarColors(int ix) const
{
    return ix >= 0 && ix < NumBarColors ? FBarColorArray[size_t(ix)] : clBlack;
}

void TProgBar::SetBarColors(int ix, TColor v)
{
    if (ix < 0 || ix >= NumBarColors)
        return;
    FBarColorArray[size_t(ix)] = v;
    if (ix > 0 && ix < NumBarColors - 1)
        FInterpolated = false;
}

void TProgBar::SetFrameLineColors()
{
    const bool plain = FColorScheme == csGrayWhite;
    FColGrayLine = plain ? clGray : clBtnShadow;
    FColWhiteLine = plain ? clWhite : clBtnHighlight;
}

void TProgBar::SetColorScheme(TColorScheme v)
{
    if (!Store(FColorScheme, v))
        return;
    SetFrameLineColors();
    Invalidate();
}

void TProgBar::SetColorBackGnd(TColor v) { Set(FColorBakG, v); }
void TProgBar::SetColorGrid(TColor v) { Set(FColorGrid, v); }
void TProgBar::SetColorMargin(TColor v) { Set(FColorMargin, v); }
void TProgBar::SetColorMapMode(TColorMapping v) { Set(FColorMapMode, v); }
void TProgBar::SetShowColorGradient(bool v) { Set(FColorGrad, v); }

// ---------------------------------------------------------------------------------------------
// Geometry and text

void TProgBar::SetDirection(TDirection v) { Set(FDirection, v); }
void TProgBar::SetFrameStyleInner(TFrameStyle v) { Set(FInnerFrameSt, v); }
void TProgBar::SetFrameStyleOuter(TFrameStyle v) { Set(FOuterFrameSt, v); }
void TProgBar::SetGridDist(int v) { Set(FGridDist, v); }
void TProgBar::SetMarginBottom(int v) { Set(FMarginBottom, v); }
void TProgBar::SetMarginLeft(int v) { Set(FMarginLeft, v); }
void TProgBar::SetMarginRight(int v) { Set(FMarginRight, v); }
void TProgBar::SetMarginTop(int v) { Set(FMarginTop, v); }
void TProgBar::SetTextAlignment(TAlignment v) { Set(FAlignment, v); }

// The text settings repaint even when unchanged.
void TProgBar::SetTextVisible(bool v)
{
    FShowValue = v;
    Invalidate();
}

void TProgBar::SetTextPosX(int v)
{
    FTextPosX = std::clamp(v, 0, std::max(0, width()));
    Invalidate();
}

void TProgBar::SetTextPosY(int v)
{
    FTextPosY = std::clamp(v, 0, std::max(0, height()));
    Invalidate();
}

void TProgBar::SetTextDecPlaces(int v)
{
    FTextDecPlaces = std::clamp(v, -2, 10);
    Invalidate();
    AccessibleValueChanged();
}

void TProgBar::SetTextAngle(int v)
{
    FTextAngle = std::clamp(v, 0, 360);
    Invalidate();
}

QString TProgBar::ValueText()
{
    // The formatter's two scientific layouts are offered the other way round.
    int dp = FTextDecPlaces;
    if (dp == -1)
        dp = -2;
    else if (dp == -2)
        dp = -1;
    QString text = FormatRealStr(1, dp, FProgValue);
    if (OnShowValue)
        OnShowValue(this, text);
    return text;
}

void TProgBar::SetBackGroundImg(const QString& FileName)
{
    if (FileName.isEmpty())
        FBakGndFile.clear();
    else if (FAuxBmp.LoadFromFile(FileName))
        FBakGndFile = FileName;
    Invalidate();
}

// ---------------------------------------------------------------------------------------------
// Value and range

void TProgBar::ValueSettingChanged(double OldValue)
{
    Invalidate();
    if (FProgValue != OldValue)
        emit valueChanged(FProgValue);
    AccessibleValueChanged();
}

void TProgBar::SetValue(double v)
{
    if (std::isnan(v) || v == FProgValue)
        return;
    const double old = FProgValue;
    FProgValue = v;
    ValueSettingChanged(old);
}

void TProgBar::SetMin(double v)
{
    if (!std::isnan(v) && Store(FProgMin, v))
        ValueSettingChanged(FProgValue);
}

void TProgBar::SetMax(double v)
{
    if (!std::isnan(v) && Store(FProgMax, v))
        ValueSettingChanged(FProgValue);
}

void TProgBar::SetRange(double AMin, double AMax)
{
    if (std::isnan(AMin) || std::isnan(AMax))
        return;
    FProgMin = std::min(AMin, AMax);
    FProgMax = std::max(AMin, AMax);
    ValueSettingChanged(FProgValue);
}

QString TProgBar::AccessibleText() const
{
    return const_cast<TProgBar*>(this)->ValueText();
}

// ---------------------------------------------------------------------------------------------
// Auto-increment timer

void TProgBar::InitTimer()
{
    FIsStart = true;
    FTimer->Stop();
    if (FStartIv > 0 && FTimerEnabled && !Designing())
        FTimer->Start(FStartIv);
}

void TProgBar::UpdateTimer()
{
    FIsStart = false;
    FTimer->Stop();
    if (FRepeatIv > 0 && FTimerEnabled && !Designing())
        FTimer->Start(FRepeatIv);
}

void TProgBar::DoTimer()
{
    if (FIsStart)
        UpdateTimer();
    SetValue(FProgValue + FAutoIncStep);
    Notify(this, OnAutoInc, &TProgBar::autoInc);
}

void TProgBar::SetAutoInc(bool v)
{
    if (!Store(FTimerEnabled, v) || Designing())
        return;
    if (v)
        InitTimer();
    else
        FTimer->Stop();
}

void TProgBar::SetAutoIncStep(double v)
{
    // A step of 0 would stall the bar, a non-finite one would wreck the value.
    if (v != 0.0 && std::isfinite(v))
        FAutoIncStep = v;
}

void TProgBar::SetStartInterval(int v)
{
    if (Store(FStartIv, std::max(v, 10)) && !Designing())
        InitTimer();
}

void TProgBar::SetRepeatInterval(int v)
{
    if (Store(FRepeatIv, std::max(v, 10)) && !Designing())
        UpdateTimer();
}

void TProgBar::SetDesigning(bool v)
{
    if (v == Designing())
        return;
    TGraphicControl::SetDesigning(v);
    if (v)
        FTimer->Stop();
    else if (FTimerEnabled)
        InitTimer();
}

// ---------------------------------------------------------------------------------------------
// Assign

void TProgBar::Assign(const QObject* Source)
{
    const auto* src = qobject_cast<const TProgBar*>(Source);
    if (!src) {
        TGraphicControl::Assign(Source);
        return;
    }
    if (src == this)
        return;
    const double old = FProgValue;
    FInnerFrameSt = src->FInnerFrameSt;
    FOuterFrameSt = src->FOuterFrameSt;
    FProgValue = src->FProgValue;
    FProgMax = src->FProgMax;
    FProgMin = src->FProgMin;
    FColorMargin = src->FColorMargin;
    FColBlackLine = src->FColBlackLine;
    FColGrayLine = src->FColGrayLine;
    FColWhiteLine = src->FColWhiteLine;
    FColorScheme = src->FColorScheme;
    FDirection = src->FDirection;
    FBarColorArray = src->FBarColorArray;
    FInterpolated = src->FInterpolated;
    FAuxBmp.Assign(src->FAuxBmp);
    FColorBakG = src->FColorBakG;
    FColorGrad = src->FColorGrad;
    FColorGrid = src->FColorGrid;
    FGridDist = src->FGridDist;
    FColorMapMode = src->FColorMapMode;
    FMarginLeft = src->FMarginLeft;
    FMarginRight = src->FMarginRight;
    FMarginTop = src->FMarginTop;
    FMarginBottom = src->FMarginBottom;
    FBakGndFile = src->FBakGndFile;
    FTextPosX = src->FTextPosX;
    FTextPosY = src->FTextPosY;
    FTextDecPlaces = src->FTextDecPlaces;
    FTextAngle = src->FTextAngle;
    FAlignment = src->FAlignment;
    OnShowValue = src->OnShowValue;
    FShowValue = src->FShowValue;
    ValueSettingChanged(old);
}

void TProgBar::AssignTo(QObject* Dest) const
{
    if (!AssignToSameClass<TProgBar>(Dest))
        TGraphicControl::AssignTo(Dest);
}

} // namespace qor
