// TProgBar painting: background, bar, grid, the two frames and the value text.
#include "QOR_ProgBar.h"

#include <QImage>
#include <algorithm>
#include <cmath>

namespace qor {

namespace {

constexpr double Pi = 3.14159265358979323846;

// Round half to even, held to a range where the pixel arithmetic below cannot overflow.
std::int64_t RoundClamped(double x)
{
    return RoundSaturated(x, 1.0e12);
}

// A coordinate held just outside 0..limit: the pixels that show stay the same, and drawing
// calls get no wild numbers. The slack covers the frames' offsets of up to 3 pixels.
int Held(std::int64_t v, int limit)
{
    return int(std::clamp<std::int64_t>(v, -4, std::int64_t(limit) + 4));
}

// The run of the bar, or of its grid, along the axis of growth: line k stands at
// Base + Sign k, for k = 0 .. Last.
struct TRun {
    std::int64_t Base;
    int Sign;
    std::int64_t Last;
    // The first and last k whose line lies in 0 .. Limit - 1 (First > LastVisible: none).
    void Visible(int Limit, std::int64_t& First, std::int64_t& LastVisible) const
    {
        const std::int64_t lo = Sign > 0 ? -Base : Base - (Limit - 1);
        const std::int64_t hi = Sign > 0 ? Limit - 1 - Base : Base;
        First = std::max<std::int64_t>(0, lo);
        LastVisible = std::min(Last, hi);
    }
};

// A rectangle whose pen and brush have one colour, given either way round: a fill of the
// same pixels, whole at any pixel ratio.
void Box(TCanvas* c, TColor color, int l, int t, int r, int b)
{
    c->Brush()->SetColor(color);
    c->FillRect(std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b));
}

} // namespace

struct TProgBar::TBarGeometry {
    int W = 0, H = 0;
    std::int64_t L = 0, T = 0, R = 0, B = 0;
    std::int64_t s = 0;   // inner extent along the direction of growth
    std::int64_t n = 0;   // bar length in pixels
    bool Vertical = false;
    // The bar's pixel rows (vertical) or columns: k = 0 at the base.
    TRun Pixels() const
    {
        switch (Dir) {
        case dirUp: return {B - 1, -1, n - 1};
        case dirDown: return {T, 1, n - 1};
        case dirLeft: return {R - 1, -1, n - 1};
        default: return {L, 1, n - 1};
        }
    }
    TDirection Dir = dirRight;
};

TProgBar::TBarGeometry TProgBar::Geometry() const
{
    TBarGeometry g;
    g.W = width();
    g.H = height();
    g.L = FMarginLeft;
    g.T = FMarginTop;
    g.R = std::int64_t(g.W) - FMarginRight;
    g.B = std::int64_t(g.H) - FMarginBottom;
    g.Dir = FDirection;
    g.Vertical = FDirection == dirUp || FDirection == dirDown;
    g.s = g.Vertical ? g.B - g.T : g.R - g.L;
    // An empty range has no fraction; an empty inner area has no bar.
    const double f = (FProgValue - FProgMin) / (FProgMax - FProgMin);
    if (g.s > 0 && FProgMax != FProgMin && !std::isnan(f))
        g.n = RoundClamped(double(g.s) * f);
    return g;
}

// Row (vertical directions) or column p across the inner area, as a one-pixel fill: the pixels
// of a pen line at a pixel ratio of 1, and whole at any other.
void TProgBar::FillLine(TCanvas* c, const TBarGeometry& g, int p)
{
    if (g.Vertical)
        c->FillRect(Held(g.L, g.W), p, Held(g.R, g.W), p + 1);
    else
        c->FillRect(p, Held(g.T, g.H), p + 1, Held(g.B, g.H));
}

int TProgBar::ColorIndex(std::int64_t k, std::int64_t n, std::int64_t s) const
{
    std::int64_t ix = 0;
    switch (FColorMapMode) {
    case cgmCover:
        ix = RoundClamped(1023.0 * double(k) / double(s));
        break;
    case cgmMove:
        ix = RoundClamped(1023.0 * double(k) / double(s)) - RoundClamped(1023.0 * double(n - 1) / double(s)) + 1023;
        break;
    default:
        ix = RoundClamped(1023.0 * double(k) / double(n));
        break;
    }
    return int(std::clamp<std::int64_t>(ix, 0, NumBarColors - 1));
}

void TProgBar::Paint()
{
    TCanvas* c = Canvas();
    c->SetCopyMode(cmSrcCopy);
    c->Pen()->SetWidth(1);
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetMode(pmCopy);
    const TBarGeometry g = Geometry();
    PaintBackground(c, g);
    PaintBar(c, g);
    PaintGrid(c, g);
    PaintFrame(c, FInnerFrameSt, Held(g.L, g.W), Held(g.T, g.H), Held(g.R, g.W), Held(g.B, g.H));
    PaintFrame(c, FOuterFrameSt, 0, 0, g.W, g.H);
    PaintValueText(c);
}

void TProgBar::PaintBackground(TCanvas* c, const TBarGeometry& g)
{
    const int L = Held(g.L, g.W), T = Held(g.T, g.H), R = Held(g.R, g.W), B = Held(g.B, g.H);
    Box(c, FColorMargin, 0, 0, g.W, g.H);
    auto plain = [&] { Box(c, FColorBakG, L, T, R, B); };
    plain();
    if (FBakGndFile.isEmpty())
        return;
    bool drawn = false;
    try {
        if (!FAuxBmp.Empty() && R > L && B > T) {
            c->StretchDraw(QRect(L, T, R - L, B - T), FAuxBmp);
            drawn = true;
        }
    } catch (const std::exception&) {
        drawn = false;
    }
    if (!drawn)
        plain();
}

void TProgBar::PaintBar(TCanvas* c, const TBarGeometry& g)
{
    if (g.n <= 0)
        return;
    const int L = Held(g.L, g.W), T = Held(g.T, g.H), R = Held(g.R, g.W), B = Held(g.B, g.H);
    if (!FColorGrad) {
        const TColor color = FBarColorArray[0];
        switch (g.Dir) {
        case dirUp: Box(c, color, L, Held(g.B - g.n, g.H), R, B); break;
        case dirDown: Box(c, color, L, T, R, Held(g.T + g.n, g.H)); break;
        case dirLeft: Box(c, color, Held(g.R - g.n, g.W), T, R, B); break;
        default: Box(c, color, L, T, Held(g.L + g.n, g.W), B); break;
        }
        return;
    }
    // Only the lines that can show are drawn, so a value far above Max costs no more. The
    // lines go into a strip one pixel thick that is stretched across the inner area in one
    // copy: the pixels of one line after the other.
    const TRun run = g.Pixels();
    std::int64_t first = 0, last = 0;
    run.Visible(g.Vertical ? g.H : g.W, first, last);
    if (first > last)
        return;
    const int count = int(last - first + 1);
    QImage strip(g.Vertical ? QSize(1, count) : QSize(count, 1), QImage::Format_RGB32);
    auto* px = reinterpret_cast<QRgb*>(strip.bits());   // one row or one column: contiguous
    // The strip runs from the lowest coordinate up, the bar from its base.
    const std::int64_t lowK = run.Sign > 0 ? first : last;
    const int low = int(run.Base + run.Sign * lowK);
    for (int i = 0; i < count; ++i) {
        const std::int64_t k = run.Sign > 0 ? first + i : last - i;
        const TColor color = ColorToRGB(FBarColorArray[size_t(ColorIndex(k, g.n, g.s))]);
        px[i] = qRgb(GetRValue(color), GetGValue(color), GetBValue(color));
    }
    const QRect dest = g.Vertical ? QRect(L, low, R - L, count) : QRect(low, T, count, B - T);
    c->SetCopyMode(cmSrcCopy);
    c->CopyRect(dest, strip, strip.rect());
}

void TProgBar::PaintGrid(TCanvas* c, const TBarGeometry& g)
{
    if (FGridDist <= 1)
        return;
    // The vertical directions stop at the bar's last row, the horizontal ones one column past
    // the bar's end (a line may stand at x = L + n).
    TRun run = g.Pixels();
    if (!g.Vertical)
        run.Last = g.n;
    std::int64_t first = 0, last = 0;
    run.Visible(g.Vertical ? g.H : g.W, first, last);
    const std::int64_t G = FGridDist;
    first = (first + G - 1) / G * G;
    c->Brush()->SetColor(FColorGrid);
    for (std::int64_t k = first; k <= last; k += G)
        FillLine(c, g, int(run.Base + run.Sign * k));
}

void TProgBar::PaintFrame(TCanvas* c, TFrameStyle Style, int L, int T, int R, int B)
{
    const TColor grey = FColGrayLine, white = FColWhiteLine, black = FColBlackLine;
    auto rect = [&](TColor color, int l, int t, int r, int b) {
        c->Pen()->SetColor(color);
        c->Brush()->SetStyle(bsClear);
        c->Rectangle(l, t, r, b);
    };
    auto line = [&](TColor color, QPoint a, QPoint m, QPoint e) {
        c->Pen()->SetColor(color);
        c->Polyline({a, m, e});
    };
    // The two corners where the light and dark sides meet take the margin colour.
    auto corners = [&] {
        c->Brush()->SetColor(FColorMargin);
        c->FillRect(L, B - 1, L + 1, B);
        c->FillRect(R - 1, T, R, T + 1);
    };
    switch (Style) {
    case fsSimple:
        rect(grey, L, T, R, B);
        break;
    case fsLowered:
    case fsRaised: {
        const TColor topLeft = Style == fsLowered ? black : white;
        const TColor bottomRight = Style == fsLowered ? white : black;
        line(topLeft, {L + 1, B - 3}, {L + 1, T + 1}, {R - 1, T + 1});
        line(bottomRight, {L + 1, B - 1}, {R - 1, B - 1}, {R - 1, T});
        rect(grey, L, T, R - 1, B - 1);
        corners();
        break;
    }
    case fsEmbossed:
    case fsEngraved:
        rect(Style == fsEmbossed ? grey : white, L + 1, T + 1, R, B);
        rect(Style == fsEmbossed ? white : grey, L, T, R - 1, B - 1);
        corners();
        break;
    default:
        break;
    }
}

void TProgBar::PaintValueText(TCanvas* c)
{
    if (!FShowValue)
        return;
    const QString text = ValueText();
    TFont* f = c->Font();
    f->Assign(*Font());
    f->SetOrientation(FTextAngle * 10);
    f->SetQuality(fqDefault);
    c->Brush()->SetStyle(bsClear);
    const int tw = c->TextWidth(text);
    const int th2 = c->TextHeight(text) / 2;
    const int hw = tw / 2;
    const double a = FTextAngle * Pi / 180.0;
    const double sn = std::sin(a), cs = std::cos(a);
    // The offset, along the text's baseline direction, from the anchor to the left edge.
    double along = 0.0;
    if (FAlignment == taRightJustify)
        along = 2.0 * hw;
    else if (FAlignment == taCenter)
        along = hw;
    const int x = FTextPosX + int(RoundClamped(-along * cs - th2 * sn));
    const int y = FTextPosY + int(RoundClamped(along * sn - th2 * cs));
    c->TextOut(x, y, text);
}

} // namespace qor
