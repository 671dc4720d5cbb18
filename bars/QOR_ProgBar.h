// TProgBar: a progress bar inside two frames and margins, in one colour or as a gradient taken
// from a scale of 1024 colours, with an optional background image, grid lines and a rotatable
// value text; with AutoInc on, a timer adds AutoIncStep to the value by itself.
//
// Geometry. W x H is the control's size, the inner area (L, T, R, B) = (MarginLeft, MarginTop,
// W - MarginRight, H - MarginBottom), s its extent along the direction of growth (R - L or
// B - T) and f = (Value - Min) / (Max - Min). The bar is n = Round(s f) pixels long (rounding
// to even) and starts at the edge it grows from:
//   dirUp     rows    B-1 down to B-n    grid rows    B-1, B-1-G, ... while the row >= B-n
//   dirDown   rows    T   up to  T+n-1   grid rows    T,   T+G,   ... while the row <= T+n-1
//   dirRight  columns L   up to  L+n-1   grid columns L,   L+G,   ... while the column <= L+n
//   dirLeft   columns R-1 down to R-n    grid columns R-1, R-1-G, ... while the column >= R-1-n
// (G = GridDist; no grid unless G > 1). Down and left are up and right mirrored, so a grid
// line of the horizontal directions may stand one column past the bar's end, as it does for
// dirRight. Pixel k of the bar (k = 0 at the base) has colour element
//   cgmCover    Round(1023 k / s)
//   cgmStretch  Round(1023 k / n): the whole scale along the bar, whatever its length (its last
//               pixel is one step of 1023 / n short of element 1023)
//   cgmMove     Round(1023 k / s) - Round(1023 (n - 1) / s) + 1023: the bar ends in element 1023
// limited to 0..1023. A bar longer than the inner area (Value above Max) runs on under the
// frames and is cut at the control's edge. There is no bar when n <= 0: a value at or below
// Min, Max equal to Min (n = 0 then, the fraction being undefined), a fraction that is NaN
// (infinite range) and margins that leave no inner area (s <= 0, n = 0). The frames, the
// text and the grid lines the rules above give for that n are drawn all the same (n = 0
// keeps the line at the base of the horizontal directions). Bar, grid and background are
// one-pixel fills, so they scale whole at any device pixel ratio.
//
// The colour scale: elements 1..1022 interpolate between element 0 (ColorMin) and element
// 1023 (ColorMax) channel by channel, Trunc(a + (b - a) i / 1023), system colours taken as
// they look when the end colour is set.
//
// Frames (grey, white and black are the frame line colours, set by ColorScheme): the inner
// style on (L, T, R, B), then the outer style on (0, 0, W, H):
//   fsNone      nothing
//   fsSimple    grey rectangle (L, T, R, B)
//   fsLowered   black polyline (L+1, B-3) (L+1, T+1) (R-1, T+1); white polyline (L+1, B-1)
//               (R-1, B-1) (R-1, T); grey rectangle (L, T, R-1, B-1); the pixels (L, B-1) and
//               (R-1, T) in ColorMargin
//   fsRaised    as fsLowered with black and white exchanged
//   fsEmbossed  grey rectangle (L+1, T+1, R, B), white rectangle (L, T, R-1, B-1), the pixels
//   fsEngraved  white rectangle (L+1, T+1, R, B), grey rectangle (L, T, R-1, B-1), the pixels
//
// Value text: FormatRealStr(1, d, Value) with d = TextDecPlaces, but -1 and -2 exchanged;
// OnShowValue may replace it. It is drawn in Font, turned TextAngle degrees counter-clockwise
// about its top-left corner, placed so that (TextPosX, TextPosY) is the middle of its left
// edge (taLeftJustify), of its right edge (taRightJustify) or its centre (taCenter).
#pragma once

#include <QOR_Controls.h>
#include <QOR_Graphics.h>
#include <QOR_Timer.h>
#include <QOR_qorbase.h>

#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>

namespace qor {

inline namespace QOR_ProgBar {
Q_NAMESPACE_EXPORT(KORVANE_EXPORT)
// How the colour scale maps onto the bar (see the formulas above).
enum TColorMapping : std::uint8_t { cgmCover, cgmStretch, cgmMove };
Q_ENUM_NS(TColorMapping)
} // namespace QOR_ProgBar

// The progress bar's exception. The timer of this platform cannot fail to start, so the
// "no timer available" failure of a window timer never arises.
class KORVANE_EXPORT EQORProgBar : public EQORError {
public:
    using EQORError::EQORError;
};

// Before the value text is drawn: ValueText may be replaced.
using TBeforeShowValueEvent = std::function<void(QObject* Sender, QString& ValueText)>;

// The progress bar control (see above).
class KORVANE_EXPORT TProgBar : public TGraphicControl {
    Q_OBJECT
public:
    QOR_PROPERTY(bool, AutoInc)
    QOR_PROPERTY(double, AutoIncStep)
    QOR_PROPERTY(QString, BackGroundImg)
    QOR_COLOR_PROPERTY(ColorBackGnd)
    QOR_COLOR_PROPERTY(ColorGrid)
    QOR_PROPERTY(qor::QOR_ProgBar::TColorMapping, ColorMapMode)
    QOR_COLOR_PROPERTY(ColorMargin)
    QOR_COLOR_PROPERTY(ColorMax)
    QOR_COLOR_PROPERTY(ColorMin)
    QOR_PROPERTY(qor::QOR_qorbase::TColorScheme, ColorScheme)
    QOR_PROPERTY(qor::QOR_qorbase::TDirection, Direction)
    QOR_PROPERTY(qor::QOR_qorbase::TFrameStyle, FrameStyleInner)
    QOR_PROPERTY(qor::QOR_qorbase::TFrameStyle, FrameStyleOuter)
    QOR_PROPERTY(int, GridDist)
    QOR_PROPERTY(int, MarginBottom)
    QOR_PROPERTY(int, MarginLeft)
    QOR_PROPERTY(int, MarginRight)
    QOR_PROPERTY(int, MarginTop)
    QOR_PROPERTY(double, Max)
    QOR_PROPERTY(double, Min)
    QOR_PROPERTY(int, RepeatInterval)
    QOR_PROPERTY(bool, ShowColorGradient)
    QOR_PROPERTY(int, StartInterval)
    QOR_PROPERTY(qor::QOR_Controls::TAlignment, TextAlignment)
    QOR_PROPERTY(int, TextAngle)
    QOR_PROPERTY(int, TextDecPlaces)
    QOR_PROPERTY(int, TextPosX)
    QOR_PROPERTY(int, TextPosY)
    QOR_PROPERTY(bool, TextVisible)
    QOR_PROPERTY_NOTIFY(double, Value, valueChanged)

    // Number of elements of the colour scale (0 .. 1023).
    static constexpr int NumBarColors = 1024;

    // A 300 x 28 bar with a colour scale from clBlue to clRed; the timer is off.
    explicit TProgBar(QWidget* AOwner = nullptr);
    ~TProgBar() override;

    // --- published properties
    bool AutoInc() const { return FTimerEnabled; }
    void SetAutoInc(bool v);
    double AutoIncStep() const { return FAutoIncStep; }
    void SetAutoIncStep(double v);        // 0 (and NaN or infinity) is ignored
    // The name of the picture stretched into the inner area. A name that cannot be loaded is
    // not taken: the old name and picture stay.
    QString BackGroundImg() const { return FBakGndFile; }
    void SetBackGroundImg(const QString& FileName);
    TColor ColorBackGnd() const { return FColorBakG; }
    void SetColorBackGnd(TColor v);
    TColor ColorGrid() const { return FColorGrid; }
    void SetColorGrid(TColor v);
    TColorMapping ColorMapMode() const { return FColorMapMode; }
    void SetColorMapMode(TColorMapping v);
    TColor ColorMargin() const { return FColorMargin; }
    void SetColorMargin(TColor v);
    // Elements 1023 and 0 of the colour scale; setting either interpolates elements 1..1022.
    TColor ColorMax() const { return FBarColorArray[NumBarColors - 1]; }
    void SetColorMax(TColor v);
    TColor ColorMin() const { return FBarColorArray[0]; }
    void SetColorMin(TColor v);
    TColorScheme ColorScheme() const { return FColorScheme; }
    void SetColorScheme(TColorScheme v);
    TDirection Direction() const { return FDirection; }
    void SetDirection(TDirection v);
    TFrameStyle FrameStyleInner() const { return FInnerFrameSt; }
    void SetFrameStyleInner(TFrameStyle v);
    TFrameStyle FrameStyleOuter() const { return FOuterFrameSt; }
    void SetFrameStyleOuter(TFrameStyle v);
    int GridDist() const { return FGridDist; }
    void SetGridDist(int v);
    int MarginBottom() const { return FMarginBottom; }
    void SetMarginBottom(int v);
    int MarginLeft() const { return FMarginLeft; }
    void SetMarginLeft(int v);
    int MarginRight() const { return FMarginRight; }
    void SetMarginRight(int v);
    int MarginTop() const { return FMarginTop; }
    void SetMarginTop(int v);
    // Value, Min and Max are stored as given: neither is clamped to the others. NaN is ignored.
    double Max() const { return FProgMax; }
    void SetMax(double v);
    double Min() const { return FProgMin; }
    void SetMin(double v);
    int RepeatInterval() const { return FRepeatIv; }
    void SetRepeatInterval(int v);        // at least 10 ms
    bool ShowColorGradient() const { return FColorGrad; }
    void SetShowColorGradient(bool v);
    int StartInterval() const { return FStartIv; }
    void SetStartInterval(int v);         // at least 10 ms
    TAlignment TextAlignment() const { return FAlignment; }
    void SetTextAlignment(TAlignment v);
    int TextAngle() const { return FTextAngle; }
    void SetTextAngle(int v);             // clamped to 0..360
    int TextDecPlaces() const { return FTextDecPlaces; }
    void SetTextDecPlaces(int v);         // clamped to -2..10
    int TextPosX() const { return FTextPosX; }
    void SetTextPosX(int v);              // clamped to 0..Width
    int TextPosY() const { return FTextPosY; }
    void SetTextPosY(int v);              // clamped to 0..Height
    bool TextVisible() const { return FShowValue; }
    void SetTextVisible(bool v);
    double Value() const { return FProgValue; }
    void SetValue(double v);

    // --- events
    // After each timer step (then the signal autoInc()).
    TNotifyEvent OnAutoInc;
    // May replace the value text before it is drawn.
    TBeforeShowValueEvent OnShowValue;

    // --- public methods
    // Min := the smaller, Max := the larger of the two.
    void SetRange(double AMin, double AMax);
    // The colour scale; indices outside 0..1023 read clBlack and are not written. Writing an
    // element neither repaints nor interpolates.
    TColor BarColors(int ix) const;
    // Writes element ix of the colour scale; a later palette change no longer interpolates
    // once an inner element was written.
    void SetBarColors(int ix, TColor v);
    // The same as BarColors(ix).
    TColor GetBarColorElem(int ix) const { return BarColors(ix); }
    // The same as SetBarColors(ix, v).
    void SetBarColorElem(int ix, TColor v) { SetBarColors(ix, v); }
    // The value text as it is drawn (after OnShowValue).
    QString ValueText();
    // The auto-increment timer (tests drive it with Tick()).
    TWindowTimer* AutoIncTimer() const { return FTimer; }
    // Whether the running (or next) timer interval is the start interval.
    bool InStartPhase() const { return FIsStart; }
    // The frame line colours ColorScheme sets.
    TColor ColBlackLine() const { return FColBlackLine; }
    // The grey line colour ColorScheme sets.
    TColor ColGrayLine() const { return FColGrayLine; }
    // The white line colour ColorScheme sets.
    TColor ColWhiteLine() const { return FColWhiteLine; }

    // Entering design mode stops the timer; leaving it starts it again when AutoInc is on.
    void SetDesigning(bool v) override;
    // Copies every setting but the timer's and the font, then repaints.
    void Assign(const QObject* Source) override;
    void AssignTo(QObject* Dest) const override;

    // Accessibility: a read-only progress bar whose text is the value text (after OnShowValue),
    // also while TextVisible is off; it has no value interface (a display offers no steps).
    QAccessible::Role AccessibleRole() const override { return QAccessible::ProgressBar; }
    bool AccessibleShowsText() const override { return true; }
    // The value text as drawn (ValueText()).
    QString AccessibleText() const override;
    void AccessibleState(QAccessible::State& s) const override { s.readOnly = true; }

Q_SIGNALS:
    // Value changed (set, by the timer or by Assign); carries the new value.
    void valueChanged(double value);
    // Emitted after OnAutoInc.
    void autoInc();

protected:
    void Paint() override;
    // A new palette may change system colours at the ends of the scale: interpolate again,
    // unless the program set colours between them.
    void LooksChanged() override;
    // One timer step: the repeat phase follows the start phase, Value grows by AutoIncStep,
    // then OnAutoInc.
    virtual void DoTimer();

private:
    struct TBarGeometry;
    void InitTimer();
    void UpdateTimer();
    void InterpolateColors();
    void SetFrameLineColors();
    void ValueSettingChanged(double OldValue);
    TBarGeometry Geometry() const;
    void PaintBackground(TCanvas* c, const TBarGeometry& g);
    void PaintBar(TCanvas* c, const TBarGeometry& g);
    void PaintGrid(TCanvas* c, const TBarGeometry& g);
    static void FillLine(TCanvas* c, const TBarGeometry& g, int p);
    void PaintFrame(TCanvas* c, TFrameStyle Style, int L, int T, int R, int B);
    void PaintValueText(TCanvas* c);
    int ColorIndex(std::int64_t k, std::int64_t n, std::int64_t s) const;
    template <class T> void Set(T& field, T v);

    TWindowTimer* FTimer = nullptr;
    bool FTimerEnabled = false;
    double FAutoIncStep = 1.0;
    int FRepeatIv = 700;
    int FStartIv = 1500;
    bool FIsStart = false;
    TFrameStyle FOuterFrameSt = fsRaised;
    TFrameStyle FInnerFrameSt = fsLowered;
    double FProgValue = 10.0;
    double FProgMax = 100.0;
    double FProgMin = 0.0;
    TDirection FDirection = dirRight;
    std::array<TColor, NumBarColors> FBarColorArray{};
    bool FInterpolated = false;   // the colours between the ends are the interpolated ones
    TBitmap FAuxBmp;
    TColor FColorMargin = clSilver;
    TColor FColorBakG = clSilver;
    bool FColorGrad = false;
    TColor FColorGrid = clBlack;
    int FGridDist = 0;
    TColor FColBlackLine = clBlack;
    TColor FColGrayLine = clGray;
    TColor FColWhiteLine = clWhite;
    TColorScheme FColorScheme = csGrayWhite;
    TColorMapping FColorMapMode = cgmStretch;
    int FMarginLeft = 4;
    int FMarginRight = 4;
    int FMarginTop = 4;
    int FMarginBottom = 4;
    QString FBakGndFile;
    int FTextPosX = 14;
    int FTextPosY = 14;
    int FTextDecPlaces = 0;
    int FTextAngle = 0;
    TAlignment FAlignment = taCenter;
    bool FShowValue = true;
};

} // namespace qor
