#include "QOR_gradfl.h"
#include "QOR_WidgetFactory.h"

#include <algorithm>

namespace qor {

QOR_REGISTER_WIDGET(qor::TGradFill);

TGradFill::TGradFill(QWidget* AOwner) : TGraphicControl(AOwner)
{
    resize(121, 121);
}

void TGradFill::SetColorFirst(TColor v)
{
    FColorFirst = v;
    (FColorsFlipped ? FColLastOrg : FColFirstOrg) = v;
    Invalidate();
}

void TGradFill::SetColorLast(TColor v)
{
    FColorLast = v;
    (FColorsFlipped ? FColFirstOrg : FColLastOrg) = v;
    Invalidate();
}

void TGradFill::SetColorFlipped(bool v)
{
    FColorsFlipped = v;
    FColorFirst = v ? FColLastOrg : FColFirstOrg;
    FColorLast = v ? FColFirstOrg : FColLastOrg;
    Invalidate();
}

// The writers store and repaint without comparing.
template <class T> void TGradFill::Put(T& field, T v)
{
    field = v;
    Invalidate();
}

void TGradFill::SetFillType(TGradType v) { Put(FGradType, v); }
void TGradFill::SetFrameStyle(TFrameStyle v) { Put(FFrameStyle, v); }
void TGradFill::SetGridColor(TColor v) { Put(FGridColor, v); }
void TGradFill::SetGridMode(TGridMode v) { Put(FGridMode, v); }
void TGradFill::SetNrColors(int v) { Put(FNrColors, std::clamp(v, 1, MaxColors)); }

TColor TGradFill::BandColor(int n) const
{
    const TColor first = ColorToRGB(FColorFirst, palette()), last = ColorToRGB(FColorLast, palette());
    const int N = FNrColors;
    const bool mirrored = FGradType == gtMidBandHoriz || FGradType == gtMidBandVert;
    const int M = N / 2;
    if (mirrored ? M == 0 : N < 2)
        return first;
    TColor c = 0;
    for (int shift : {0, 8, 16}) {
        const int s = (first >> shift) & 0xFF;
        const int d = ((last >> shift) & 0xFF) - s;
        int step = 0;
        if (!mirrored)
            step = MulDiv(n, d, N);
        else
            step = n <= M ? MulDiv(n, d, M) : MulDiv(N - n - 1, d, M);
        c |= TColor((s + step) & 0xFF) << shift;
    }
    return c;
}

void TGradFill::DrawGradient(TBitmap& Bitmap)
{
    TCanvas* c = Bitmap.Canvas();
    const int W = c->Width(), H = c->Height();
    c->SetCopyMode(cmSrcCopy);
    const int N = FNrColors;
    const bool horizontal = FGradType == gtHoriz || FGradType == gtMidBandHoriz;
    for (int n = 0; n < N; ++n) {
        c->Brush()->SetColor(BandColor(n));
        if (horizontal)
            c->FillRect(0, MulDiv(n, H, N), W, MulDiv(n + 1, H, N));
        else
            c->FillRect(MulDiv(n, W, N), 0, MulDiv(n + 1, W, N), H);
    }
    // Grid lines are one-pixel fills: the pixels of a pen line at a pixel ratio of 1, and they
    // scale with the bands at any other.
    c->Brush()->SetColor(FGridColor);
    for (int n = 1; n < N && FGridMode != gmNone; ++n) {
        if (FGridMode == gmHoriz || FGridMode == gmBoth)
            c->FillRect(0, MulDiv(n, H, N), W, MulDiv(n, H, N) + 1);
        if (FGridMode == gmVert || FGridMode == gmBoth)
            c->FillRect(MulDiv(n, W, N), 0, MulDiv(n, W, N) + 1, H);
    }
    DrawFrame(c, FFrameStyle, 0, 0, W - 1, H - 1, clWhite, clSilver, clGray, clBlack, clBlack);
}

void TGradFill::Paint()
{
    DrawGradient(*Surface());
    Notify(this, OnPaint, &TGradFill::painted);
}

} // namespace qor
