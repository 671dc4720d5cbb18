// TOnOffBut: painting (the rules are in QOR_onoffbut.h).
#include "QOR_onoffbut.h"

#include <QPainter>

namespace qor {

namespace {

constexpr QRgb KeyColour = 0xFFEBBEEB;   // $EBBEEB: red EB, green BE, blue EB

// The picture with its transparent pixels in Background, and its mask (white where
// transparent, black elsewhere).
void KeyedPicture(const QImage& Picture, QRgb Background, QImage& Out, QImage& Mask)
{
    Out = Picture.convertToFormat(QImage::Format_RGB32);
    Mask = QImage(Out.size(), QImage::Format_RGB32);
    for (int y = 0; y < Out.height(); ++y) {
        auto* px = reinterpret_cast<QRgb*>(Out.scanLine(y));
        auto* mk = reinterpret_cast<QRgb*>(Mask.scanLine(y));
        for (int x = 0; x < Out.width(); ++x) {
            const bool key = (px[x] | 0xFF000000) == KeyColour;
            if (key)
                px[x] = Background;
            mk[x] = key ? 0xFFFFFFFF : 0xFF000000;
        }
    }
}

// Makes the surface see-through where the mask is white: the bitmap was drawn on black, so its
// colours are already premultiplied by the mask's coverage.
void ApplyMask(QImage& Surface, const QImage& Mask)
{
    for (int y = 0; y < Surface.height() && y < Mask.height(); ++y) {
        auto* px = reinterpret_cast<QRgb*>(Surface.scanLine(y));
        const auto* mk = reinterpret_cast<const QRgb*>(Mask.constScanLine(y));
        for (int x = 0; x < Surface.width() && x < Mask.width(); ++x) {
            const int a = 255 - qGray(mk[x]);
            px[x] = qRgba(std::min(qRed(px[x]), a), std::min(qGreen(px[x]), a), std::min(qBlue(px[x]), a), a);
        }
    }
}

} // namespace

void TOnOffBut::Paint()
{
    const int W = width(), H = height();
    TCanvas* c = Canvas();
    c->Font()->Assign(*Font());
    c->Pen()->SetStyle(psSolid);
    // The mask matters only when the parent shows through.
    TCanvas* m = nullptr;
    if (FTransParent) {
        const QImage& surface = Surface()->Image();
        if (FMask.Image().size() != surface.size() || FMask.DevicePixelRatio() != surface.devicePixelRatio()) {
            QImage img(surface.size(), QImage::Format_RGB32);
            img.setDevicePixelRatio(surface.devicePixelRatio());
            FMask.SetImage(img);
        }
        m = FMask.Canvas();
        m->Font()->Assign(*Font());
        m->Font()->SetColor(clBlack);
        m->Pen()->SetColor(clWhite);
        m->Brush()->SetColor(clWhite);
        m->Rectangle(0, 0, W, H);
    }
    const int th = c->TextHeight(QStringLiteral("(8g]}ÜÄ§"));
    const TColor background = FTransParent ? clBlack : FColorBakG;
    c->Pen()->SetColor(background);
    c->Brush()->SetColor(background);
    c->Rectangle(0, 0, W, H);

    PaintCaptions(c, m, th);
    PaintGlyph(c, m);
    DrawFrame(c, FFrameStyle, 0, 0, W - 1, H - 1, clWhite, clSilver, clGray, clBlack, clBlack);
    if (m)
        DrawFrame(m, FFrameStyle, 0, 0, W - 1, H - 1, clBlack, clBlack, clBlack, clBlack, clBlack);
    if (hasFocus()) {
        for (TCanvas* canvas : {c, m}) {
            if (!canvas)
                continue;
            canvas->Brush()->SetStyle(bsClear);
            canvas->Pen()->SetStyle(psDot);
            canvas->Pen()->SetColor(canvas == m ? clBlack : FColorTxt);
            canvas->Rectangle(FLeftSpace, FTopSpace, FLeftSpace + FGlyphWidth + 2, FTopSpace + FGlyphHeight + 2);
            canvas->Pen()->SetStyle(psSolid);
        }
    }
    if (m)
        ApplyMask(Surface()->Image(), FMask.Image());
}

void TOnOffBut::PaintCaptions(TCanvas* c, TCanvas* m, int th)
{
    const int W = width(), LS = FLeftSpace, TS = FTopSpace, GW = FGlyphWidth, GH = FGlyphHeight;
    const bool enabled = isEnabled();
    if (m)
        m->Brush()->SetStyle(bsClear);
    if (!enabled)
        c->Brush()->SetStyle(bsClear);
    auto draw = [&](const QString& s, int x, int y) {
        if (s.isEmpty())
            return;
        if (enabled) {
            c->Font()->SetColor(FColorTxt);
            c->TextOut(x, y, s);
        } else {
            c->Font()->SetColor(clWhite);
            c->TextOut(x + 1, y + 1, s);
            c->Font()->SetColor(clGray);
            c->TextOut(x, y, s);
        }
        if (m) {
            m->TextOut(x, y, s);
            if (!enabled)
                m->TextOut(x + 1, y + 1, s);
        }
    };
    auto pick = [](TAlignment a, int left, int right, int centre) {
        return a == taLeftJustify ? left : a == taRightJustify ? right : centre;
    };
    const int sideY = TS + (GH - th) / 2;
    int tw = c->TextWidth(FLeftText);
    draw(FLeftText, pick(FLTAlignment, 4, LS - tw - 3, (LS - tw) / 2), sideY);
    tw = c->TextWidth(FRightText);
    draw(FRightText, pick(FRTAlignment, LS + GW + 4, W - tw - 4, (W - tw - LS - GW) / 2 + LS + GW + 1), sideY);
    tw = c->TextWidth(FTopText);
    draw(FTopText, pick(FTTAlignment, 4, W - tw - 4, LS + (GW - tw) / 2), TS - th - 4);
    tw = c->TextWidth(FBottomText);
    draw(FBottomText, pick(FBTAlignment, 4, W - tw - 4, LS + (GW - tw) / 2), TS + GH + 4);
}

void TOnOffBut::PaintGlyph(TCanvas* c, TCanvas* m)
{
    const TBitmap& p = FButImg[size_t(2 * FOnOff + isEnabled())];
    if (p.Empty())
        return;
    const QRgb background = FTransParent ? 0xFF000000 : (0xFF000000 | ToQColor(FColorBakG).rgb());
    QImage picture, mask;
    KeyedPicture(p.Image(), background, picture, mask);
    const QRect d(FLeftSpace + 1, FTopSpace + 1, p.Width(), p.Height());
    c->SetCopyMode(cmSrcCopy);
    c->CopyRect(d, picture, picture.rect());
    if (m) {
        m->SetCopyMode(cmSrcCopy);
        m->CopyRect(d, mask, mask.rect());
    }
}

} // namespace qor
