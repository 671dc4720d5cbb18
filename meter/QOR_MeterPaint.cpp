// The meter's drawing: dial, bands, scale, caption, needles, rims, anchor, lamps, frame.
#include "QOR_Meter.h"

#include "QOR_Meter_p.h"

#include <QOR_NumText.h>
#include <QOR_math1.h>

#include <QBrush>
#include <QPainter>
#include <cmath>
#include <cstring>

namespace qor {

using namespace meter_detail;

namespace {

QString LabelText(int dp, double v) { return FormatRealStr(1, dp, v); }

} // namespace

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
    Notify(this, OnMeterRendered, &TMeter::meterRendered, c);
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
        // Same picture as drawing every tile, in one call (no painter on an empty surface).
        if (QPainter* p = c->Painter())
            p->fillRect(QRect(0, 0, W, H), QBrush(FBkgndBmp.Image()));
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
