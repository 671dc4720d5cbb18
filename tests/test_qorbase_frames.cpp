// Frame and rectangle drawing: exact pixels of every frame style, the inclusive box, canvas
// state left alone.
#include <gtest/gtest.h>

#include <QOR_qorbase.h>

#include "test_support.h"

using namespace qor;

namespace {

constexpr TColor kBack = 0x00FF00FF;   // magenta: untouched pixels
constexpr TColor kLight = 0x00000001;
constexpr TColor kLightGray = 0x00000002;
constexpr TColor kDarkGray = 0x00000003;
constexpr TColor kDark = 0x00000004;
constexpr TColor kOutline = 0x00000005;

struct Rings {
    TColor OuterTL, OuterBR, InnerTL, InnerBR;   // kBack for "no ring"
};

// The colour the documented rule gives to (x, y) for a frame on the inclusive box (l, t, r, b).
// Formulated per pixel (not per line) so it checks the drawing independently.
TColor Expected(int x, int y, int l, int t, int r, int b, const Rings& k)
{
    for (int ring = 0; ring < 2; ++ring) {
        const int L = l + ring, T = t + ring, R = r - ring, B = b - ring;
        const TColor tl = ring == 0 ? k.OuterTL : k.InnerTL;
        const TColor br = ring == 0 ? k.OuterBR : k.InnerBR;
        if (tl == kBack || L > R || T > B || x < L || x > R || y < T || y > B)
            continue;
        if (x == R || y == B)
            return br;
        if (x == L || y == T)
            return tl;
    }
    return kBack;
}

QImage Framed(TFrameStyle style, int w, int h, int l, int t, int r, int b)
{
    TBitmap bmp(w, h);
    bmp.Canvas()->Brush()->SetColor(kBack);
    bmp.Canvas()->FillRect(0, 0, w, h);
    DrawFrame(bmp.Canvas(), style, l, t, r, b, kLight, kLightGray, kDarkGray, kDark, kOutline);
    return bmp.Image().copy();
}

void ExpectFrame(TFrameStyle style, const Rings& k, int w, int h, int l, int t, int r, int b)
{
    const QImage img = Framed(style, w, h, l, t, r, b);
    const int nl = std::min(l, r), nr = std::max(l, r), nt = std::min(t, b), nb = std::max(t, b);
    int wrong = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const TColor want = Expected(x, y, nl, nt, nr, nb, k);
            const TColor got = qortest::PixelAt(img, x, y);
            if (got != want && ++wrong <= 5)
                ADD_FAILURE() << "style " << int(style) << " box (" << l << "," << t << "," << r << "," << b
                              << ") pixel (" << x << "," << y << "): got " << std::hex << got << " want " << want;
        }
    EXPECT_EQ(wrong, 0);
}

const Rings kStyleRings[] = {
    {kBack, kBack, kBack, kBack},                    // fsNone
    {kOutline, kOutline, kBack, kBack},              // fsSimple
    {kDarkGray, kLight, kDark, kLightGray},          // fsLowered
    {kLightGray, kDark, kLight, kDarkGray},          // fsRaised
    {kLight, kDarkGray, kDarkGray, kLight},          // fsEmbossed
    {kDarkGray, kLight, kLight, kDarkGray},          // fsEngraved
};

} // namespace

TEST(DrawFrame, EveryStyleDrawsItsDocumentedPixels)
{
    for (int s = fsNone; s <= fsEngraved; ++s) {
        SCOPED_TRACE(s);
        ExpectFrame(TFrameStyle(s), kStyleRings[s], 16, 12, 2, 3, 12, 9);
    }
}

TEST(DrawFrame, RightAndBottomAreInclusiveOnAWholeBitmap)
{
    const QImage img = Framed(fsRaised, 10, 8, 0, 0, 9, 7);
    EXPECT_EQ(qortest::PixelAt(img, 0, 0), kLightGray);
    EXPECT_EQ(qortest::PixelAt(img, 9, 7), kDark);
    EXPECT_EQ(qortest::PixelAt(img, 9, 0), kDark);     // top-right corner belongs to bottom-right
    EXPECT_EQ(qortest::PixelAt(img, 0, 7), kDark);     // bottom-left likewise
    EXPECT_EQ(qortest::PixelAt(img, 8, 6), kDarkGray);
    EXPECT_EQ(qortest::PixelAt(img, 1, 1), kLight);
    EXPECT_EQ(qortest::PixelAt(img, 2, 2), kBack);
    for (int s = fsNone; s <= fsEngraved; ++s)
        ExpectFrame(TFrameStyle(s), kStyleRings[s], 10, 8, 0, 0, 9, 7);
}

TEST(DrawFrame, SmallReversedAndClippedBoxes)
{
    // Boxes too small for an inner ring, a single pixel row or column, reversed corners and a
    // box running off the surface: same rule, no pixel outside the box.
    const int boxes[][4] = {{3, 3, 6, 6}, {3, 3, 4, 4}, {3, 3, 3, 3}, {2, 4, 9, 4}, {5, 2, 5, 9},
                            {9, 8, 2, 3}, {-3, -2, 6, 5}, {4, 4, 20, 20}};
    for (const auto& b : boxes)
        for (int s = fsNone; s <= fsEngraved; ++s) {
            SCOPED_TRACE(testing::Message() << "style " << s << " box " << b[0] << "," << b[1] << "," << b[2] << "," << b[3]);
            ExpectFrame(TFrameStyle(s), kStyleRings[s], 12, 11, b[0], b[1], b[2], b[3]);
        }
}

TEST(DrawFrame, StylesOutsideTheEnumerationDrawNothingAndNullCanvasIsIgnored)
{
    const QImage img = Framed(TFrameStyle(6), 8, 8, 0, 0, 7, 7);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(qortest::PixelAt(img, x, y), kBack);
    DrawFrame(nullptr, fsRaised, 0, 0, 5, 5, kLight, kLightGray, kDarkGray, kDark, kOutline);
    DrawRectangle(nullptr, 0, 0, 5, 5);
    DrawMarkOnCanvas(nullptr, 3, 5, 5);
}

TEST(DrawFrame, LeavesPenBrushAndPenPositionAlone)
{
    TBitmap bmp(20, 20);
    TCanvas* c = bmp.Canvas();
    c->Pen()->SetColor(clRed);
    c->Pen()->SetWidth(3);
    c->Pen()->SetStyle(psDot);
    c->Pen()->SetMode(pmXor);
    c->Brush()->SetColor(clLime);
    c->MoveTo(7, 8);
    DrawFrame(c, fsLowered, 1, 1, 18, 18, clWhite, clSilver, clGray, clBlack, clBlack);
    EXPECT_EQ(c->Pen()->Color(), clRed);
    EXPECT_EQ(c->Pen()->Width(), 3);
    EXPECT_EQ(c->Pen()->Style(), psDot);
    EXPECT_EQ(c->Pen()->Mode(), pmXor);
    EXPECT_EQ(c->Brush()->Color(), clLime);
    EXPECT_EQ(c->Brush()->Style(), bsSolid);
    EXPECT_EQ(c->PenPos(), QPoint(7, 8));
    // The xor pen mode of the caller does not leak into the frame: it is drawn in copy mode.
    EXPECT_EQ(qortest::PixelAt(bmp.Image(), 1, 1), clGray);
    EXPECT_EQ(qortest::PixelAt(bmp.Image(), 18, 18), clWhite);
    // The inside is not filled.
    EXPECT_EQ(qortest::PixelAt(bmp.Image(), 9, 9), clWhite);
}

TEST(DrawFrame, SystemColoursAreResolved)
{
    TBitmap bmp(10, 10);
    DrawFrame(bmp.Canvas(), fsSimple, 0, 0, 9, 9, clWhite, clSilver, clGray, clBlack, clBtnShadow);
    EXPECT_EQ(qortest::PixelAt(bmp.Image(), 0, 5), ColorToRGB(clBtnShadow));
}

TEST(FrameWidth, MatchesTheRingsDrawn)
{
    const int widths[] = {0, 1, 2, 2, 2, 2};
    for (int s = fsNone; s <= fsEngraved; ++s)
        EXPECT_EQ(FrameWidth(TFrameStyle(s)), widths[s]) << s;
    EXPECT_EQ(FrameWidth(TFrameStyle(17)), 0);
}

TEST(DrawRectangle, OutlinesTheHalfOpenBoxInThePenAndKeepsTheInside)
{
    TBitmap bmp(12, 12);
    TCanvas* c = bmp.Canvas();
    c->Brush()->SetColor(kBack);
    c->FillRect(0, 0, 12, 12);
    c->Pen()->SetColor(clBlue);
    c->Brush()->SetColor(clYellow);
    DrawRectangle(c, 2, 3, 9, 8);
    const QImage& img = bmp.Image();
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool inBox = x >= 2 && x <= 8 && y >= 3 && y <= 7;
            const bool edge = inBox && (x == 2 || x == 8 || y == 3 || y == 7);
            ASSERT_EQ(qortest::PixelAt(img, x, y), edge ? clBlue : kBack) << x << "," << y;
        }
    EXPECT_EQ(c->Brush()->Color(), clYellow);
    EXPECT_EQ(c->Brush()->Style(), bsSolid);
}

TEST(DrawRectangle, NestedRingsDrawAFocusBand)
{
    // Rings shrinking by one pixel per side form a solid band, as a focus highlight uses them.
    TBitmap bmp(20, 20);
    TCanvas* c = bmp.Canvas();
    c->Pen()->SetColor(clRed);
    for (int i = 1; i <= 3; ++i)
        DrawRectangle(c, 2 + i - 1, 2 + i - 1, 18 - i + 1, 18 - i + 1);
    const QImage& img = bmp.Image();
    for (int d = 0; d < 3; ++d) {
        EXPECT_EQ(qortest::PixelAt(img, 2 + d, 10), clRed);
        EXPECT_EQ(qortest::PixelAt(img, 17 - d, 10), clRed);
    }
    EXPECT_EQ(qortest::PixelAt(img, 5, 10), clWhite);
    EXPECT_EQ(qortest::PixelAt(img, 14, 10), clWhite);
}
