// TMeter: an analog panel meter with a circular scale, coloured range bands, a main and a
// secondary needle, two limit lamps and a caption; TNeedleLayout: the shape of one needle.
//
// Dial geometry (recomputed on every resize and layout change). With D = Height - RimBottom:
//   mlCirc90   A = 90;  R = D - RimTop - 16;                                   CY = D - 8
//   mlCirc120  A = 120; R = min(D - RimTop - 16, (Width / 2 - RimSide - 8) * 1.1547); CY = D - 8
//   mlCirc180  A = 180; R = min(D - RimTop - 16,  Width / 2 - RimSide - 8);    CY = D - 8
//   mlCirc270  A = 270; R = min(Width div 2 - RimSide - 8, (D - RimTop - 16) / (1 + cos 45°));
//              CY = Round(RimTop + 8 + R)
//   mlCirc300  A = 300; R = min(Width div 2 - RimSide - 8, (D - RimTop - 16) / 1.866);
//              CY = Round(RimTop + 8 + R)
//   mlCirc360  A = 360; R = min(Width div 2 - RimSide - 8, (D - RimTop - 16) / 2);
//              CY = Round(RimTop + 8 + R)
// and CX = Width div 2 for all. The factors are the dial's height over R: a half circle or less
// stands on its centre line near the bottom rim; wider sweeps hang below the centre by
// R cos(180° - A/2) (0.866 R at 300°, 0.707 R at 270°, R at 360°).
//
// Angles: the fraction f of a value runs 0 at MeterMinValue to 1 at MeterMaxValue (logarithmic
// when Logarithmic and the value and both bounds are above 0); the drawing angle, counter-
// clockwise from the positive x axis with y up, is A/2 + 90 - A f degrees.
#pragma once

#include <QOR_Controls.h>
#include <QOR_Graphics.h>
#include <QOR_qorbase.h>

#include <QColor>
#include <QFont>
#include <QObject>
#include <QString>
#include <QVector>
#include <cstdint>
#include <functional>

namespace qor {

inline namespace QOR_Meter {
Q_NAMESPACE_EXPORT(KORVANE_EXPORT)
// Sweep of the dial in degrees: 90, 120, 180, 270, 300 or 360 (see the geometry above).
enum TMeterLayout : std::uint8_t { mlCirc90, mlCirc120, mlCirc180, mlCirc270, mlCirc300, mlCirc360 };
Q_ENUM_NS(TMeterLayout)
} // namespace QOR_Meter

// Before the needles are drawn: set NeedleDrawn to true to draw them yourself on Canvas.
using TBeforeDrawNeedleEvent = std::function<void(QObject* Sender, TCanvas* Canvas, bool& NeedleDrawn)>;
// Before a scale label is drawn: CurrentTickLabel may be changed (empty draws nothing); ChartX,
// ChartY are the top left pixel of the label as it would be drawn.
using TmtBeforeDrawScaleLabelEvent =
    std::function<void(QObject* Sender, TCanvas* Canvas, QString& CurrentTickLabel, int ChartX, int ChartY)>;
// After the meter has been painted, to draw on top of it.
using TMeterRenderedEvent = std::function<void(QObject* Sender, TCanvas* Canvas)>;
// On every mouse move over the meter: WithinRange is false (and MeterValue 0) outside the
// swept angle; MeterValue is the scale value under the mouse.
using TMouseMoveInMeterEvent =
    std::function<void(QObject* Sender, bool WithinRange, TShiftState Shift, double MeterValue)>;

// ---------------------------------------------------------------------------------------------
// The shape and colours of a needle: an arrow head of two HeadSize sides opening HeadAngle
// degrees, a notch HeadMidLeng back from the tip and a shaft of Thickness pixels to the centre.
// The meter publishes both layouts as properties of its own (NeedleLayout_HeadSize, ...).
class KORVANE_EXPORT TNeedleLayout : public QObject {
    Q_OBJECT
public:
    // A visible needle with a 20 pixel head opening 30 degrees, no shaft width and no shadow.
    explicit TNeedleLayout(QObject* AOwner = nullptr);

    // --- each setter fires OnChange when the value differs
    // Length of the two sides of the arrow head, in pixels (default 20).
    int HeadSize() const { return FHeadSize; }
    // Sets HeadSize, in pixels.
    void SetHeadSize(int v);
    // Full opening angle of the arrow head, in degrees 0 .. 180 (default 30).
    int HeadAngle() const { return FHeadAngle; }
    void SetHeadAngle(int v);              // clamped to 0 .. 180
    // Distance of the notch behind the tip, where the shaft meets the head, in pixels (default 20).
    int HeadMidLeng() const { return FHeadMidLeng; }
    // Sets HeadMidLeng, in pixels.
    void SetHeadMidLeng(int v);
    // Width of the shaft, in pixels; 0 draws the shaft as a line (default).
    int Thickness() const { return FThickness; }
    // Sets Thickness, in pixels.
    void SetThickness(int v);
    // Fill colour of the needle (default clSilver).
    TColor ColorBody() const { return FColorBody; }
    // Sets the fill colour.
    void SetColorBody(TColor v);
    // Outline colour of the needle (default clBlack).
    TColor ColorOutline() const { return FColorOutline; }
    // Sets the outline colour.
    void SetColorOutline(TColor v);
    // Needle length as a percentage 0 .. 100 of the dial radius less 4 pixels (default 100).
    int PercentNeedleLength() const { return FPercentNeedleLength; }
    void SetPercentNeedleLength(int v);    // clamped to 0 .. 100
    // Horizontal offset of the shadow, in pixels; the shadow is drawn ShadowDx to the left, and
    // no shadow is drawn while both offsets are 0 (default).
    int ShadowDx() const { return FShadowDx; }
    // Sets ShadowDx, in pixels.
    void SetShadowDx(int v);
    // Vertical offset of the shadow, in pixels; the shadow is drawn ShadowDy upwards.
    int ShadowDy() const { return FShadowDy; }
    // Sets ShadowDy, in pixels.
    void SetShadowDy(int v);
    // Fill and outline colour of the shadow (default clGray).
    TColor ShadowColor() const { return FShadowColor; }
    // Sets the shadow colour.
    void SetShadowColor(TColor v);
    // Whether the meter draws this needle (default true; the meter's secondary needle starts
    // hidden).
    bool Visible() const { return FVisible; }
    // Shows or hides the needle.
    void SetVisible(bool v);

    // Fired by every setter that changes a value (then changed()).
    TNotifyEvent OnChange;

    // Copies the published properties of another needle layout, then fires OnChange once.
    // Raises EConvertError unless Source is a needle layout (nullptr included).
    virtual void Assign(const QObject* Source);
    // Copies this layout into Dest; raises EConvertError unless Dest is a needle layout.
    virtual void AssignTo(QObject* Dest) const;

Q_SIGNALS:
    // Emitted after OnChange, whenever a value changed.
    void changed();

protected:
    void Changed();

private:
    template <class T> void Set(T& field, T v);
    int FHeadSize = 20;
    int FHeadAngle = 30;
    int FHeadMidLeng = 20;
    int FThickness = 0;
    TColor FColorBody = clSilver;
    TColor FColorOutline = clBlack;
    int FPercentNeedleLength = 100;
    int FShadowDx = 0;
    int FShadowDy = 0;
    TColor FShadowColor = clGray;
    bool FVisible = true;
};

// The properties of a needle layout, published by the meter that owns it.
#define QOR_NEEDLE_LAYOUT_PROPERTIES(Layout)                                                       \
    QOR_SUB_PROPERTY(int, Layout, HeadSize)                                                        \
    QOR_SUB_PROPERTY(int, Layout, HeadAngle)                                                       \
    QOR_SUB_PROPERTY(int, Layout, HeadMidLeng)                                                     \
    QOR_SUB_PROPERTY(int, Layout, Thickness)                                                       \
    QOR_SUB_COLOR_PROPERTY(Layout, ColorBody)                                                      \
    QOR_SUB_COLOR_PROPERTY(Layout, ColorOutline)                                                   \
    QOR_SUB_PROPERTY(int, Layout, PercentNeedleLength)                                             \
    QOR_SUB_PROPERTY(int, Layout, ShadowDx)                                                        \
    QOR_SUB_PROPERTY(int, Layout, ShadowDy)                                                        \
    QOR_SUB_COLOR_PROPERTY(Layout, ShadowColor)                                                    \
    QOR_SUB_PROPERTY(bool, Layout, Visible)

// ---------------------------------------------------------------------------------------------
// Result of the nice-step search for a scale: first major tick, major step (0 for an empty
// range) and number of minor intervals per major step.
struct TMeterTickStep {
    double First = 0.0;                    // first major tick: first multiple of Step from lo on
    double Step = 0.0;                     // major tick distance, negative for hi < lo; 0 for none
    int Minor = 1;                         // minor intervals per major step, 1 for none
};

// The meter control. Value and ValueSec are clamped into MeterMinValue .. MeterMaxValue; a NaN
// is ignored. A new value of a visible needle is compared with the thresholds: at or above
// ThresholdHigh lights the high lamp (OnOverFlow), at or below ThresholdLow the low lamp
// (OnUnderFlow), in between OnNormalRange.
class KORVANE_EXPORT TMeter : public TCustomControl {
    Q_OBJECT
public:
    QOR_PROPERTY(qor::QOR_Meter::TMeterLayout, MeterLayout)
    QOR_PROPERTY(double, MeterMinValue)
    QOR_PROPERTY(double, MeterMaxValue)
    QOR_PROPERTY_NOTIFY(double, Value, valueChanged)
    QOR_PROPERTY_NOTIFY(double, ValueSec, valueSecChanged)
    QOR_PROPERTY(double, ThresholdLow)
    QOR_PROPERTY(double, ThresholdHigh)
    QOR_PROPERTY(bool, Logarithmic)
    QOR_PROPERTY(int, MeterNrTicks)
    QOR_PROPERTY(int, MeterDecPlaces)
    QOR_PROPERTY(bool, MeterShortTicks)
    QOR_PROPERTY(bool, MeterScaleLine)
    QOR_PROPERTY(bool, ScaleVisible)
    QOR_PROPERTY(bool, ScaleBkVisible)
    QOR_PROPERTY(double, ScaleBkWidth)
    QOR_COLOR_PROPERTY(ColorScale)
    QOR_COLOR_PROPERTY(ColorSclBkLow)
    QOR_COLOR_PROPERTY(ColorSclBkNorm)
    QOR_COLOR_PROPERTY(ColorSclBkHigh)
    QOR_COLOR_PROPERTY(ColorBakG)
    QOR_COLOR_PROPERTY(ColorCover)
    QOR_PROPERTY(qor::QOR_qorbase::TColorScheme, ColorScheme)
    QOR_PROPERTY(qor::QOR_qorbase::TFrameStyle, FrameStyle)
    QOR_PROPERTY(int, RimTop)
    QOR_PROPERTY(int, RimBottom)
    QOR_PROPERTY(int, RimSide)
    QOR_PROPERTY(QString, Caption)
    QOR_FONT_PROPERTY(FontCaption)
    QOR_COLOR_PROPERTY(FontCaptionColor)
    QOR_PROPERTY(QString, BackGroundImg)
    QOR_PROPERTY(qor::QOR_qorbase::TBkgFill, BkgndFillMode)
    QOR_PROPERTY(bool, AnchorCovered)
    QOR_PROPERTY(int, AnchorSize)
    QOR_PROPERTY(QString, AnchorImage)
    QOR_PROPERTY(bool, LimWatchHighOn)
    QOR_PROPERTY(bool, LimWatchLowOn)
    QOR_COLOR_PROPERTY(LimWatchActColor)
    QOR_COLOR_PROPERTY(LimWatchPsvColor)
    // The two needle layouts, property by property (NeedleLayout_HeadSize, ...).
    QOR_NEEDLE_LAYOUT_PROPERTIES(NeedleLayout)
    QOR_NEEDLE_LAYOUT_PROPERTIES(NeedleLayoutSec)

    explicit TMeter(QWidget* AOwner = nullptr);
    ~TMeter() override;

    // --- published properties
    TMeterLayout MeterLayout() const { return FMeterLayout; }
    void SetMeterLayout(TMeterLayout v);
    double MeterMinValue() const { return FMeterMinValue; }
    void SetMeterMinValue(double v);
    double MeterMaxValue() const { return FMeterMaxValue; }
    void SetMeterMaxValue(double v);
    double Value() const { return FValue; }
    void SetValue(double v);
    double ValueSec() const { return FValueSec; }
    void SetValueSec(double v);
    double ThresholdLow() const { return FThresholdLow; }
    void SetThresholdLow(double v);
    double ThresholdHigh() const { return FThresholdHigh; }
    void SetThresholdHigh(double v);
    bool Logarithmic() const { return FLogarithmic; }
    void SetLogarithmic(bool v);
    int MeterNrTicks() const { return FMeterNrTicks; }
    void SetMeterNrTicks(int v);           // clamped to 2 .. 21
    int MeterDecPlaces() const { return FMeterDecPlaces; }
    void SetMeterDecPlaces(int v);         // clamped to 0 .. 4
    bool MeterShortTicks() const { return FMeterShortTicks; }
    void SetMeterShortTicks(bool v);
    bool MeterScaleLine() const { return FMeterScaleLine; }
    void SetMeterScaleLine(bool v);
    bool ScaleVisible() const { return FScaleVisible; }
    void SetScaleVisible(bool v);
    bool ScaleBkVisible() const { return FScaleBkVisible; }
    void SetScaleBkVisible(bool v);
    double ScaleBkWidth() const { return FScaleBkWidth; }
    void SetScaleBkWidth(double v);        // percent of R, clamped to 0 .. 100
    TColor ColorScale() const { return FColorScale; }
    void SetColorScale(TColor v);
    TColor ColorSclBkLow() const { return FColorSclBkLow; }
    void SetColorSclBkLow(TColor v);
    TColor ColorSclBkNorm() const { return FColorSclBkNorm; }
    void SetColorSclBkNorm(TColor v);
    TColor ColorSclBkHigh() const { return FColorSclBkHigh; }
    void SetColorSclBkHigh(TColor v);
    TColor ColorBakG() const { return FColorBakG; }
    void SetColorBakG(TColor v);
    TColor ColorCover() const { return FColorCover; }
    void SetColorCover(TColor v);
    TColorScheme ColorScheme() const { return FColorScheme; }
    void SetColorScheme(TColorScheme v);
    TFrameStyle FrameStyle() const { return FFrameStyle; }
    void SetFrameStyle(TFrameStyle v);
    int RimTop() const { return FRimTop; }
    void SetRimTop(int v);
    int RimBottom() const { return FRimBottom; }
    void SetRimBottom(int v);
    int RimSide() const { return FRimSide; }
    void SetRimSide(int v);
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& v);
    // The caption's own font; SetFontCaption copies the given font.
    TFont* FontCaption() { return &FFontCaption; }
    const TFont* FontCaption() const { return &FFontCaption; }
    void SetFontCaption(const TFont& f);
    TColor FontCaptionColor() const { return FFontCaption.Color(); }
    void SetFontCaptionColor(TColor c) { FFontCaption.SetColor(c); }
    // Empty when no image is in use (a missing or unreadable file empties the name).
    QString BackGroundImg() const { return FBackGroundImg; }
    void SetBackGroundImg(const QString& FileName);
    TBkgFill BkgndFillMode() const { return FBkgndFillMode; }
    void SetBkgndFillMode(TBkgFill v);
    bool AnchorCovered() const { return FAnchorCovered; }
    void SetAnchorCovered(bool v);
    int AnchorSize() const { return FAnchorSize; }
    void SetAnchorSize(int v);
    QString AnchorImage() const { return FAnchorImage; }
    void SetAnchorImage(const QString& FileName);
    bool LimWatchHighOn() const { return FLimWatchHighOn; }
    void SetLimWatchHighOn(bool v);
    bool LimWatchLowOn() const { return FLimWatchLowOn; }
    void SetLimWatchLowOn(bool v);
    TColor LimWatchActColor() const { return FLimWatchActColor; }
    void SetLimWatchActColor(TColor v);
    TColor LimWatchPsvColor() const { return FLimWatchPsvColor; }
    void SetLimWatchPsvColor(TColor v);
    // The owned layouts; the setters copy the given layout into them.
    TNeedleLayout* NeedleLayout() const { return FNeedleLayout; }
    // Copies v into the main needle's layout; nullptr is ignored.
    void SetNeedleLayout(TNeedleLayout* v);
    // The secondary needle's layout, owned by the meter (hidden by default).
    TNeedleLayout* NeedleLayoutSec() const { return FNeedleLayoutSec; }
    // Copies v into the secondary needle's layout; nullptr is ignored.
    void SetNeedleLayoutSec(TNeedleLayout* v);

    // --- events
    // Fires before the needles are drawn; setting NeedleDrawn replaces both the main needle and
    // the secondary one (drawn for ValueSec under the main needle while NeedleLayoutSec is
    // visible).
    TBeforeDrawNeedleEvent OnBeforeDrawNeedle;
    // Fires for each scale label before it is drawn; the handler may change or empty its text.
    TmtBeforeDrawScaleLabelEvent OnBeforeDrawScaleLabel;
    // --- each event below is followed by its signal (meterRendered(), mouseMoveInMeter(), ...)
    // Fires after each paint, with the canvas the meter was drawn on.
    TMeterRenderedEvent OnMeterRendered;
    // Fires on every mouse move over the meter, with the value under the mouse.
    TMouseMoveInMeterEvent OnMouseMoveInMeter;
    // Fires when a needle's new value is at or above ThresholdHigh, or ThresholdHigh is set at
    // or below the main value.
    TNotifyEvent OnOverFlow;
    // Fires when a needle's new value is at or below ThresholdLow, or ThresholdLow is set at or
    // above the main value.
    TNotifyEvent OnUnderFlow;
    // Fires when a needle's new value lies between the two thresholds.
    TNotifyEvent OnNormalRange;

    // --- geometry and value mapping
    // Recomputes the dial geometry (centre, radius, sweep) from the size, rims and layout; the
    // meter does so itself on every change, and the getters below on demand.
    void CalcMeterLayoutParams();
    // X of the dial centre in pixels (Width div 2).
    int CenterX() const { SyncGeometry(); return FCX; }
    // Y of the dial centre in pixels, from the top.
    int CenterY() const { SyncGeometry(); return FCY; }
    // Radius R of the scale in pixels.
    double Radius() const { SyncGeometry(); return FR; }
    // Sweep A of the scale in degrees, from MeterLayout (90 .. 360).
    int SweepAngle() const { SyncGeometry(); return FA; }
    // Needle angle in degrees, clockwise from straight down (180 = straight up).
    double CalcNeedleAngle(double value) const;
    // The pixel at pctradius percent of R in the direction of value.
    void ConvertToPixelCoords(int& X, int& Y, double pctradius, double value) const;
    // The value under a pixel; false (and MeterValue 0) outside the swept angle.
    bool ConvertPixelToValue(int XPos, int YPos, double& MeterValue) const;
    // Label decimals: decimals unchanged unless -2, which picks them from the span |a - b|.
    static int CalcM(int decimals, double a, double b);
    // First tick, step and minor intervals of a scale lo .. hi asked for about n intervals.
    // Never loops endlessly: NaN, infinite or equal bounds give step 0.
    static TMeterTickStep NiceTickStep(int n, double lo, double hi);
    // Fraction 0 .. 1 of the scale at which v lies (v clamped into the range); 0 for NaN or an
    // empty range. Logarithmic when the log scale is usable for v.
    double ValueFraction(double v) const;
    // Drawing angle of v in degrees, counter-clockwise from the positive x axis: A/2 + 90 - A f.
    double DrawingAngle(double v) const;
    // Whether the high limit lamp is lit (the last evaluated value reached ThresholdHigh).
    bool HighLampLit() const { return FHighLamp; }
    // Whether the low limit lamp is lit (the last evaluated value reached ThresholdLow).
    bool LowLampLit() const { return FLowLamp; }

    // Clamps Value into the range, loads the image files and repaints.
    void Loaded() override;
    // Copies all settings, both needle layouts, the value and the lamps of another meter, then
    // emits the value signals for what changed; other sources go to the base class.
    void Assign(const QObject* Source) override;
    // Copies this meter into another meter; other destinations go to the base class.
    void AssignTo(QObject* Dest) const override;

    // Accessibility: a read-only gauge named by its caption (the unit), whose text is Value as
    // its scale labels it, with the caption: "12.3 V". On a logarithmic scale the value keeps
    // three significant digits however small it is. It has no value interface (a display
    // offers no steps).
    QAccessible::Role AccessibleRole() const override { return QAccessible::ProgressBar; }
    QString AccessibleName() const override { return FCaption.trimmed(); }
    bool AccessibleShowsText() const override { return true; }
    // Value with the scale's decimals and the caption as unit ("12.3 V").
    QString AccessibleText() const override;
    void AccessibleState(QAccessible::State& s) const override { s.readOnly = true; }

Q_SIGNALS:
    // The main value changed (set, clamped by a range change, Assign or Loaded); carries it.
    void valueChanged(double value);
    // The secondary value changed, with the clamped new value.
    void valueSecChanged(double value);
    // Emitted after OnMeterRendered.
    void meterRendered(qor::TCanvas* canvas);
    // Emitted after OnMouseMoveInMeter, with the same arguments.
    void mouseMoveInMeter(bool withinRange, qor::TShiftState shift, double meterValue);
    // Emitted after OnOverFlow.
    void overFlow();
    // Emitted after OnUnderFlow.
    void underFlow();
    // Emitted after OnNormalRange.
    void normalRange();

protected:
    void Paint() override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void FontChanged() override;
    void LooksChanged() override;
    void Resized() override;

    void DoOverFlowEvent();
    void DoUnderFlowEvent();
    void DoNormalRangeEvent();
    void MouseMoveInMeter(bool WithinRange, TShiftState Shift, double MeterValue);
    // Emits valueChanged / valueSecChanged for what differs from the old values.
    void ReportValueChanges(double OldValue, double OldValueSec);

private:
    // Painting steps, in the order Paint runs them. The dial (background, bands, scale,
    // caption) only changes with the settings, so a repaint for a new value copies it from
    // FDialLayer instead of drawing it again.
    void PaintDial(TCanvas* c);
    bool RestoreDial();
    void StoreDial();
    void PaintBackground(TCanvas* c);
    void PaintBands(TCanvas* c);
    void PaintScale(TCanvas* c);
    void PaintScaleLabel(TCanvas* c, double v, double dx, double dy, int dp);
    void PaintCaption(TCanvas* c);
    void PaintNeedle(TCanvas* c, const TNeedleLayout& layout, double v);
    void PaintRims(TCanvas* c);
    void PaintBevel(TCanvas* c);
    void PaintAnchor(TCanvas* c);
    void PaintLamp(TCanvas* c, int x0, int y0, bool lit);
    void PaintFrame(TCanvas* c);

    QPoint PolarPoint(double radius, double angleRad) const;
    // A hidden widget gets no resize event, so the geometry follows the size on demand.
    void ComputeGeometry() const;
    void SyncGeometry() const { if (size() != FGeoSize) ComputeGeometry(); }
    bool LogScaleUsable(double v) const;
    void EvaluateValue(double v);
    void Changed();                        // repaint after a setting change (the dial too)
    void NeedleChanged();                  // repaint after a value or needle change
    bool LoadBackground();
    bool LoadAnchor();
    template <class T> void Set(T& field, T v);

    TMeterLayout FMeterLayout = mlCirc90;
    double FMeterMinValue = 0.0;
    double FMeterMaxValue = 1.0;
    double FValue = 0.0;
    double FValueSec = 0.0;
    double FThresholdLow = 0.0;
    double FThresholdHigh = 1.0;
    bool FLogarithmic = false;
    int FMeterNrTicks = 3;
    int FMeterDecPlaces = 1;
    bool FMeterShortTicks = true;
    bool FMeterScaleLine = true;
    bool FScaleVisible = true;
    bool FScaleBkVisible = false;
    double FScaleBkWidth = 0.0;
    TColor FColorScale = clNavy;
    TColor FColorSclBkLow = clLime;
    TColor FColorSclBkNorm = 0x0080FF;
    TColor FColorSclBkHigh = clRed;
    TColor FColorBakG = clWhite;
    TColor FColorCover = clBtnFace;
    TColorScheme FColorScheme = csGrayWhite;
    TFrameStyle FFrameStyle = fsRaised;
    int FRimTop = 8;
    int FRimBottom = 10;
    int FRimSide = 10;
    QString FCaption;
    TFont FFontCaption;
    QString FBackGroundImg;
    TBkgFill FBkgndFillMode = bfSimple;
    bool FAnchorCovered = true;
    int FAnchorSize = 24;
    QString FAnchorImage;
    bool FLimWatchHighOn = true;
    bool FLimWatchLowOn = true;
    TColor FLimWatchActColor = clRed;
    TColor FLimWatchPsvColor = clGray;
    TNeedleLayout* FNeedleLayout = nullptr;
    TNeedleLayout* FNeedleLayoutSec = nullptr;

    mutable int FCX = 0, FCY = 0, FA = 90;
    mutable double FR = 0.0;
    mutable QSize FGeoSize;
    bool FHighLamp = false;
    bool FLowLamp = false;
    TBitmap FBkgndBmp;
    TBitmap FAnchorBmp;
    TBitmap FAnchorMask;
    QVector<QPoint> FPoly;                 // reused needle polygon
    QImage FDialLayer;
    bool FDialDirty = true;
    bool FLabelAtMin = false;              // scale painting: a label sits at the minimum
};

} // namespace qor
