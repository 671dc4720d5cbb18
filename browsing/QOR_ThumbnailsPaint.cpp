// TThumbnails: painting the slides, the highlight rings and the border.
#include "QOR_Thumbnails.h"

#include <algorithm>
#include <cmath>

namespace qor {

struct TThumbnails::TSlideBox {
    int X, Y, X2, Y2;
};

void TThumbnails::DrawFrameOf(TCanvas* c, TFrameStyle Style, int L, int T, int R, int B)
{
    DrawFrame(c, Style, L, T, R, B, clWhite, clSilver, clGray, clBlack, clBlack);
}

void TThumbnails::Paint()
{
    if (FIsWorking)
        return;
    FIsWorking = true;
    struct Done {
        bool& Flag;
        ~Done() { Flag = false; }
    } done{FIsWorking};

    TCanvas* c = Canvas();
    const int w = width(), h = height();
    UpdateLayout();
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetWidth(1);
    c->Pen()->SetMode(pmCopy);
    c->Pen()->SetColor(FColorBG);
    c->Brush()->SetColor(FColorBG);
    c->Rectangle(0, 0, w, h);
    c->Font()->Assign(*Font());

    Notify(this, OnFirstImageRequest, &TThumbnails::firstImageRequested);
    const int p = Pitch();
    if (p > 0) {
        const std::int64_t first = std::int64_t(std::floor(FFirstThumbIx));
        const int extent = FThumbBaseSize + 2 * FSlideMargin;
        const int top = FSlideDist - RowOffset() + Border;
        const int columns = NumSlidesHoriz(), rows = NumSlidesVert();
        for (int i = 1; i <= columns; ++i)
            for (int j = 1; j <= rows; ++j) {
                const std::int64_t k = first + std::int64_t(columns) * (j - 1) + i - 1;
                if (!InRange(k))
                    continue;
                const int x = (i - 1) * p + Border, y = (j - 1) * p + top;
                PaintSlide(c, {x, y, x + extent, y + extent}, int(k));
            }
    }
    Notify(this, OnLastImageRequest, &TThumbnails::lastImageRequested);

    if (FHiliteThickness > 0 && InRange(FLastHiLite))
        PaintRings(c, FLastHiLite, FColorHilite);
    PaintBorder(c, true);
}

void TThumbnails::PaintSlide(TCanvas* c, const TSlideBox& box, int SldNum)
{
    TImageRequestProcessing how = irpShowEmpty;
    int mark = -1;
    TBitmap buffer;
    if (OnImageRequest)
        OnImageRequest(this, SldNum, how, mark, buffer);

    const int m = FSlideMargin;
    if (how != irpShowNothing) {
        const TColor cover = SlideSelected(SldNum) ? FColorSelected : FColorCover;
        c->Pen()->SetColor(cover);
        c->Brush()->SetColor(cover);
        c->Rectangle(box.X, box.Y, box.X2 + 1, box.Y2 + 1);
        DrawFrameOf(c, FOuterFrameStyle, box.X, box.Y, box.X2, box.Y2);
    }
    c->Pen()->SetColor(clBlack);
    if (how == irpShowEmpty) {
        c->Brush()->SetColor(clWhite);
        c->Rectangle(box.X + m, box.Y + m + 20, box.X2 - m, box.Y2 - m - 20);
        c->Font()->SetColor(clBlack);
        const QString number = QString::number(SldNum);
        c->TextOut((box.X + box.X2) / 2 - c->TextWidth(number) / 2, (box.Y + box.Y2) / 2 - c->TextHeight(number) / 2,
                   number);
    } else if (how == irpShowSlide && !buffer.Empty()) {
        PaintPicture(c, box, buffer);
    }
    if (mark != -1) {
        c->Pen()->SetColor(FMarkColor);
        DrawMarkOnCanvas(c, mark, box.X + 10, box.Y + 12);
    }
    Notify(this, OnSlideRendered, &TThumbnails::slideRendered, c, box.X, box.Y, SldNum);
}

void TThumbnails::PaintPicture(TCanvas* c, const TSlideBox& box, const TBitmap& Picture)
{
    const int m = FSlideMargin, s = FThumbBaseSize;
    const double pw = Picture.Width(), ph = Picture.Height();
    int l, t, r, b;
    if (pw < ph) {
        const int f = int(Round(pw * s / ph));
        l = box.X + m + (s - f) / 2;
        t = box.Y + m;
        r = l + f;
        b = box.Y2 - m;
    } else {
        const int f = int(Round(ph * s / pw));
        l = box.X + m;
        t = box.Y + m + (s - f) / 2;
        r = box.X2 - m;
        b = t + f;
    }
    c->SetStretchMode(FAntiAlias ? smHalftone : smColorOnColor);
    c->StretchDraw(QRect(QPoint(l, t), QPoint(r - 1, b - 1)), Picture);
    c->SetStretchMode(smColorOnColor);
    DrawFrameOf(c, FInnerFrameStyle, l, t, r, b);
}

void TThumbnails::PaintRings(TCanvas* c, int SldNum, TColor Color)
{
    int x, y;
    CalcSlidePos(SldNum, x, y);
    const int span = 2 * FSlideMargin + FThumbBaseSize - 2;
    const int l = x + 2, t = std::max(y + 2, 2), r = x + span, b = std::min(y + span, height() - 3);
    c->Pen()->SetColor(Color);
    c->Pen()->SetWidth(1);
    for (int i = 1; i <= FHiliteThickness; ++i)
        DrawRectangle(c, l + i - 1, t + i - 1, r - i + 1, b - i + 1);
}

void TThumbnails::PaintBorder(TCanvas* c, bool WholeBands)
{
    const int w = width(), h = height(), inset = WholeBands ? 0 : 2;
    c->Pen()->SetColor(FColorBG);
    c->Brush()->SetColor(FColorBG);
    c->Rectangle(inset, inset, w - inset, Border);
    c->Rectangle(inset, h - Border, w - inset, h - inset);
    DrawFrameOf(c, FFrameStyle, 0, 0, w - 2, h - 2);
}

void TThumbnails::HiLite(int SldNum)
{
    if (FHiliteThickness <= 0 || !InRange(SldNum))
        return;
    TCanvas* c = Canvas();
    PaintRings(c, SldNum, FColorHilite);
    PaintBorder(c, false);
    Update();
}

void TThumbnails::ResetLastHiLite()
{
    if (FHiliteThickness <= 0 || !InRange(FLastHiLite))
        return;
    TCanvas* c = Canvas();
    PaintRings(c, FLastHiLite, SlideSelected(FLastHiLite) ? FColorSelected : FColorCover);
    PaintBorder(c, false);
    Update();
}

} // namespace qor
