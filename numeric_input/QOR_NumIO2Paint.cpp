// TNumIO2 drawing: the layout of captions, box, buttons and gauge, character positions, and
// the rendering of the whole field.
#include "QOR_NumIO2.h"

#include <algorithm>

namespace qor {

namespace {

constexpr TColor kGray = TColor(0x808080);

const QString& MeasureString()
{
    static const QString s = QStringLiteral("(8g]}\u00DC\u00C4\u00A7");
    return s;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Geometry helpers

void TNumIO2::PrepareFont()
{
    TFont* f = Canvas()->Font();
    if (!(*f == *Font()))
        f->Assign(*Font());
}

int TNumIO2::TextW(const QString& s)
{
    PrepareFont();
    return Canvas()->TextWidth(s);
}

TColor TNumIO2::GrayLine() const { return FColorScheme == csGrayWhite ? kGray : clBtnShadow; }
TColor TNumIO2::WhiteLine() const { return FColorScheme == csGrayWhite ? clWhite : clBtnHighlight; }

int TNumIO2::GaugeReserve() const
{
    return FGaugeVisible ? FGaugeHeight + FGaugeTopMargin + 1 : 0;
}

int TNumIO2::FreezeBoxX() const
{
    int x = FLeftSpace + FTextBoxWidth + FFreezeBoxLeft + 8;
    if (FButVisible)
        x += FButWidth + FButSpace;
    return x;
}

int TNumIO2::CharPosToXCoords(int CharPos)
{
    const int wn = TextW(FBuffer.left(std::clamp(CharPos, 0, int(FBuffer.size()))));
    const int W = TextW(FBuffer);
    switch (FAlignment) {
    case taLeftJustify: return wn + FLeftSpace + 4;
    case taRightJustify: return wn + FLeftSpace + FTextBoxWidth - W - 2;
    default: return wn + FLeftSpace + (FTextBoxWidth - W) / 2 + 2;
    }
}

int TNumIO2::XCoordsToCharPos(int X)
{
    const int len = int(FBuffer.size());
    if (len == 0)
        return 0;
    const int W = TextW(FBuffer);
    const int a = W / len;
    if (a <= 0)
        return 0;  // zero-width text: every column maps to the start
    int d;
    switch (FAlignment) {
    case taLeftJustify: d = X - FLeftSpace - 3; break;
    case taRightJustify: d = X + W - FLeftSpace - FTextBoxWidth + 3; break;
    default: d = X - FLeftSpace - (FTextBoxWidth - W) / 2 - 1; break;
    }
    d = std::clamp(d, 0, W);
    // The mean width may overshoot for narrow characters; the caret stays inside the text.
    return std::min((d + a / 2) / a, len);
}

// ---------------------------------------------------------------------------------------------
// Painting

void TNumIO2::BoxFrame(TCanvas* c, int l, int t, int r, int b, bool flag)
{
    TColor pen;
    switch (FFrameStyle) {
    case fsNone: pen = flag ? FColorBoxBG : clSilver; break;
    case fsEmbossed: pen = WhiteLine(); break;
    default: pen = GrayLine(); break;
    }
    c->Pen()->SetColor(pen);
    if (FFrameStyle == fsNone || FFrameStyle == fsSimple) {
        c->Rectangle(l, t, r, b);
        return;
    }
    c->Rectangle(l, t, r - 1, b - 1);
    TColor upperLeft = clBlack, lowerRight = WhiteLine();
    switch (FFrameStyle) {
    case fsRaised: upperLeft = WhiteLine(); lowerRight = clBlack; break;
    case fsEmbossed: upperLeft = lowerRight = GrayLine(); break;
    case fsEngraved: upperLeft = lowerRight = WhiteLine(); break;
    default: break;
    }
    c->Pen()->SetColor(upperLeft);
    c->Polyline({QPoint(l + 1, b - 3), QPoint(l + 1, t + 1), QPoint(r - 2, t + 1)});
    c->Pen()->SetColor(lowerRight);
    c->Polyline({QPoint(l + 1, b - 1), QPoint(r - 1, b - 1), QPoint(r - 1, t)});
}

void TNumIO2::DrawCaption(TCanvas* c, const QString& s, int x, int y)
{
    c->Brush()->SetStyle(bsClear);
    if (isEnabled()) {
        c->Font()->SetColor(FColorOutText);
        c->TextOut(x, y, s);
        return;
    }
    // Engraved: a white copy one pixel right and down under the gray text.
    c->Font()->SetColor(clWhite);
    c->TextOut(x + 1, y + 1, s);
    c->Font()->SetColor(kGray);
    c->TextOut(x, y, s);
}

void TNumIO2::Paint()
{
    TCanvas* c = Canvas();
    PrepareFont();
    if (FAutoSize) {
        const int want = c->TextHeight(QStringLiteral("E0")) + 6;
        if (want != height()) {
            resize(width(), want);
            c = Canvas();
            PrepareFont();
        }
    }
    const int W = width();
    const int H = height();
    const int R = GaugeReserve();
    const bool disabled = !isEnabled();
    const int TH = c->TextHeight(MeasureString());
    const int ty = (H - R - TH) / 2;
    const double value = Value();
    const bool outOfRange = value < FRangeLow || value > FRangeHigh;
    c->SetCopyMode(cmSrcCopy);
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetMode(pmCopy);
    c->Pen()->SetWidth(1);

    // 1. background
    c->Brush()->SetColor(FColorOutBG);
    c->FillRect(0, 0, W, H);

    // 2. left caption
    if (!FLeftText.isEmpty()) {
        const int w = c->TextWidth(FLeftText);
        const int x = FLeftTextAlignment == taLeftJustify ? 7
                      : FLeftTextAlignment == taRightJustify ? FLeftSpace - w - 5
                                                             : (FLeftSpace - w) / 2;
        DrawCaption(c, FLeftText, x, ty);
    }

    // 3. up/down buttons
    const int S = FButVisible ? FButWidth + FButSpace : 0;
    if (FButVisible) {
        const int h = FButHeight / 2;
        const int bx = FLeftSpace + FTextBoxWidth + FButSpace;
        const int bx2 = bx + FButWidth;
        c->Pen()->SetColor(kGray);
        c->Brush()->SetColor(FButColor);
        c->Rectangle(bx, 0, bx2 + 1, 2 * h - 1);
        c->MoveTo(bx, h - 1);
        c->LineTo(bx2, h - 1);
        if (FBut3D) {
            c->Pen()->SetColor(clWhite);
            c->Polyline({QPoint(bx + 1, 2 * h - 3), QPoint(bx + 1, h), QPoint(bx2, h)});
            c->Polyline({QPoint(bx + 1, h - 2), QPoint(bx + 1, 1), QPoint(bx2, 1)});
            c->Pen()->SetColor(clBlack);
            c->Polyline({QPoint(bx + 1, 2 * h - 1), QPoint(bx2 + 1, 2 * h - 1), QPoint(bx2 + 1, 1)});
        }
        c->Pen()->SetColor(disabled || FReadOnly ? kGray : clBlack);
        const int cx = bx + FButWidth / 2;
        const int hd = h / 2;
        auto hline = [c](int x1, int x2, int y) { c->MoveTo(x1, y); c->LineTo(x2, y); };
        hline(cx, cx + 2, hd - 1);
        hline(cx - 1, cx + 3, hd);
        hline(cx - 2, cx + 4, hd + 1);
        hline(cx, cx + 2, hd + h);
        hline(cx - 1, cx + 3, hd + h - 1);
        hline(cx - 2, cx + 4, hd + h - 2);
    }

    // 4. right caption
    if (!FRightText.isEmpty()) {
        const int w = c->TextWidth(FRightText);
        const int boxEnd = FLeftSpace + S + FTextBoxWidth;
        const int x = FRightTextAlignment == taLeftJustify ? boxEnd + 7
                      : FRightTextAlignment == taRightJustify ? W - w - 6
                                                              : (W - (boxEnd + w)) / 2 + boxEnd + 1;
        DrawCaption(c, FRightText, x, ty);
    }

    // 5. freeze box
    if (FFreezeBoxVisible) {
        const int x0 = FreezeBoxX();
        const int t = FFreezeBoxTop;
        const int n = FFreezeBoxSize;
        c->Brush()->SetColor(disabled ? clSilver : FColorBoxBG);
        BoxFrame(c, x0, t, x0 + n, t + n, !disabled);
        if (FFreezeBoxChecked) {
            const int cx = x0 + n / 2;
            const int cy = t + n / 2;
            c->Pen()->SetColor(clBlack);
            c->Polyline({QPoint(cx - 4, cy + 1), QPoint(cx - 2, cy + 3), QPoint(cx + 4, cy - 3)});
            c->Polyline({QPoint(cx - 3, cy + 1), QPoint(cx - 1, cy + 3), QPoint(cx + 5, cy - 3)});
        }
    }

    // 6. gauge
    if (FGaugeVisible) {
        const int gl = FGaugeLeftMargin;
        const int gw = FGaugeWidth;
        const int y1 = H - R + FGaugeTopMargin;
        const int y2 = y1 + FGaugeHeight;
        c->Brush()->SetColor(FGaugeColorBg);
        c->Pen()->SetColor(FGaugeFrameStyle != fsNone ? FGaugeColorFrame : FGaugeColorBg);
        c->Rectangle(gl, y1, gl + gw, y2);
        double f = 1.0;
        if (FRangeHigh != FRangeLow)
            f = std::clamp((value - FRangeLow) / (FRangeHigh - FRangeLow), 0.0, 1.0);
        if (std::isnan(f))
            f = 0.0;
        const int bar = int(Round(gw * f));
        c->Brush()->SetColor(disabled || FReadOnly ? kGray : FGaugeColor);
        if (bar > 0)
            c->FillRect(gl, y1, gl + bar, y2);
        if (FGaugeFrameStyle != fsNone) {
            c->Brush()->SetStyle(bsClear);
            c->Pen()->SetColor(FGaugeFrameStyle == fsSimple ? FGaugeColorFrame
                               : FGaugeFrameStyle == fsEmbossed ? WhiteLine() : GrayLine());
            c->Rectangle(gl, y1, gl + gw, y2);
            if (FGaugeFrameStyle != fsSimple) {
                TColor upperLeft = clBlack, lowerRight = WhiteLine();
                switch (FGaugeFrameStyle) {
                case fsRaised: upperLeft = WhiteLine(); lowerRight = clBlack; break;
                case fsEmbossed: upperLeft = lowerRight = GrayLine(); break;
                case fsEngraved: upperLeft = lowerRight = WhiteLine(); break;
                default: break;
                }
                c->Pen()->SetColor(upperLeft);
                c->Polyline({QPoint(gl + 1, y2 - 2), QPoint(gl + 1, y1 + 1), QPoint(gl + gw - 1, y1 + 1)});
                c->Pen()->SetColor(lowerRight);
                c->Polyline({QPoint(gl + 1, y2), QPoint(gl + gw, y2), QPoint(gl + gw, y1)});
            }
        }
    }

    // 7. number box
    const bool grayed = disabled || FFreezeBoxChecked;
    c->Brush()->SetColor(grayed ? clSilver : outOfRange ? FColorWarnBG : FColorBoxBG);
    BoxFrame(c, FLeftSpace, 0, FLeftSpace + FTextBoxWidth + 2, H - R, FFreezeBoxChecked);

    // 8. number, caret and selection
    if (FHideInputEditor)
        return;
    const int Wt = c->TextWidth(FBuffer);
    const int wc = c->TextWidth(FBuffer.left(std::clamp(FCaret, 0, int(FBuffer.size()))));
    int x, k;
    switch (FAlignment) {
    case taLeftJustify:
        x = FLeftSpace + 4;
        k = wc + 3;
        break;
    case taRightJustify:
        x = FLeftSpace + FTextBoxWidth - Wt - 2;
        k = FTextBoxWidth + wc - Wt - 3;
        break;
    default:
        x = FLeftSpace + (FTextBoxWidth - Wt) / 2 + 2;
        k = wc + (FTextBoxWidth - Wt) / 2 + 1;
        break;
    }
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetColor(grayed ? kGray : outOfRange ? FColorWarnText : FColorBoxText);
    const QRect clip(QPoint(FLeftSpace + 3, 2), QPoint(FLeftSpace + FTextBoxWidth - 2, H - R - 4));
    c->TextRect(clip, x, ty, FBuffer);
    if (FCaretVisible && k > 0 && k < FTextBoxWidth) {
        c->Pen()->SetColor(clBlack);
        c->MoveTo(FLeftSpace + k, 3);
        c->LineTo(FLeftSpace + k, H - R - 3);
    }
    if (FSelBegin < FSelEnd && (hasFocus() || !FHideSelection)) {
        const int x1 = std::clamp(CharPosToXCoords(FSelBegin), FLeftSpace, FLeftSpace + FTextBoxWidth);
        const int x2 = std::clamp(CharPosToXCoords(FSelEnd), FLeftSpace, FLeftSpace + FTextBoxWidth);
        if (x2 > x1 && H - R - 3 > 3) {
            const QRect sel(QPoint(x1, 3), QPoint(x2 - 1, H - R - 4));
            c->SetCopyMode(cmNotSrcCopy);
            c->CopyRect(sel, *c, sel);
            c->SetCopyMode(cmSrcCopy);
        }
    }
}

} // namespace qor
