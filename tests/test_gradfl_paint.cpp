// Gradient fill: band edges and colours through MulDiv, the mirrored types, the band count's
// limits, the flipping rules (also through a form's property writes), grid lines in the three
// modes, the frame and the paint event.
#include <gtest/gtest.h>

#include <QOR_gradfl.h>
#include <test_support.h>

#include <QSignalSpy>

using namespace qor;
using qortest::PixelAt;

namespace {

QImage Rendered(TGradFill& g)
{
    g.RenderNow();
    return g.Surface()->Image();
}

// The first row (or column) of each band, read off the picture: where the colour changes.
std::vector<int> Edges(const QImage& img, bool vertical)
{
    std::vector<int> edges{0};
    const int n = vertical ? img.width() : img.height();
    for (int i = 1; i < n; ++i) {
        const TColor a = vertical ? PixelAt(img, i - 1, 5) : PixelAt(img, 5, i - 1);
        const TColor b = vertical ? PixelAt(img, i, 5) : PixelAt(img, 5, i);
        if (a != b)
            edges.push_back(i);
    }
    return edges;
}

TEST(GradFill, Defaults)
{
    TGradFill g;
    EXPECT_EQ(g.size(), QSize(121, 121));
    EXPECT_EQ(g.ColorFirst(), 0x000080);
    EXPECT_EQ(g.ColorLast(), 0x00FFFF);
    EXPECT_FALSE(g.ColorFlipped());
    EXPECT_EQ(g.FillType(), gtHoriz);
    EXPECT_EQ(g.FrameStyle(), fsNone);
    EXPECT_EQ(g.GridColor(), 0x800000);
    EXPECT_EQ(g.GridMode(), gmNone);
    EXPECT_EQ(g.NrColors(), 16);
}

TEST(GradFill, BandEdgesRoundHalvesAwayFromZero)
{
    TGradFill g;
    g.resize(10, 10);
    g.SetNrColors(4);   // edges 2.5, 5, 7.5 -> 3, 5, 8
    EXPECT_EQ(Edges(Rendered(g), false), (std::vector<int>{0, 3, 5, 8}));
    g.SetFillType(gtVert);
    EXPECT_EQ(Edges(Rendered(g), true), (std::vector<int>{0, 3, 5, 8}));
    g.resize(121, 121);
    g.SetNrColors(16);
    const QImage img = Rendered(g);
    const std::vector<int> edges = Edges(img, true);
    ASSERT_EQ(edges.size(), 16u);
    for (int n = 0; n < 16; ++n)
        EXPECT_EQ(edges[size_t(n)], MulDiv(n, 121, 16));
}

TEST(GradFill, BandColoursStepTowardsTheLastColour)
{
    TGradFill g;   // $000080 to $00FFFF: red 128 -> 255, green 0 -> 255
    const QImage img = Rendered(g);
    EXPECT_EQ(PixelAt(img, 60, 0), RGB(128, 0, 0));
    EXPECT_EQ(PixelAt(img, 60, 8), RGB(136, 16, 0));      // 128 + MulDiv(1, 127, 16), MulDiv(1, 255, 16)
    EXPECT_EQ(PixelAt(img, 60, 120), RGB(247, 239, 0));   // one step short of the last colour
    EXPECT_EQ(g.BandColor(15), RGB(247, 239, 0));
    // Halves round away from zero on falling channels too: 2 + MulDiv(1, -2, 4) = 1.
    g.SetColorFirst(RGB(200, 2, 0));
    g.SetColorLast(RGB(0, 0, 202));
    g.SetNrColors(4);
    EXPECT_EQ(g.BandColor(1), RGB(150, 1, 51));
    g.SetColorFirst(RGB(202, 0, 0));
    EXPECT_EQ(g.BandColor(1), RGB(151, 0, 51));
    // System colours are resolved first.
    g.SetColorFirst(clBtnFace);
    EXPECT_EQ(g.BandColor(0), ColorToRGB(clBtnFace));
}

TEST(GradFill, NrColorsLimitsAndASingleBand)
{
    TGradFill g;
    g.SetNrColors(300);
    EXPECT_EQ(g.NrColors(), 255);
    g.SetNrColors(0);
    EXPECT_EQ(g.NrColors(), 1);
    g.SetNrColors(-4);
    EXPECT_EQ(g.NrColors(), 1);
    for (TGradType t : {gtHoriz, gtVert, gtMidBandHoriz, gtMidBandVert}) {
        g.SetFillType(t);
        const QImage img = Rendered(g);
        EXPECT_EQ(PixelAt(img, 0, 0), clMaroon);
        EXPECT_EQ(PixelAt(img, 60, 60), clMaroon);
        EXPECT_EQ(PixelAt(img, 120, 120), clMaroon);
    }
    g.SetNrColors(255);   // more bands than rows: some bands are empty
    g.SetFillType(gtHoriz);
    const QImage img = Rendered(g);
    EXPECT_EQ(PixelAt(img, 5, 0), g.BandColor(1));   // band 0 is empty: MulDiv(1, 121, 255) = 0
    EXPECT_EQ(PixelAt(img, 5, 120), g.BandColor(253));
}

TEST(GradFill, MirroredBandsPeakInTheMiddle)
{
    TGradFill g;
    g.SetFillType(gtMidBandVert);
    const QImage img = Rendered(g);
    auto band = [&](int n) { return PixelAt(img, MulDiv(n, 121, 16), 60); };
    EXPECT_EQ(band(0), clMaroon);
    EXPECT_EQ(band(15), clMaroon);
    EXPECT_EQ(band(8), clYellow);
    EXPECT_EQ(band(7), RGB(128 + MulDiv(7, 127, 8), MulDiv(7, 255, 8), 0));
    EXPECT_EQ(band(9), RGB(128 + MulDiv(6, 127, 8), MulDiv(6, 255, 8), 0));
    EXPECT_EQ(PixelAt(img, 60, 0), PixelAt(img, 60, 120));   // vertical bands: rows alike
    g.SetNrColors(2);
    EXPECT_EQ(g.BandColor(0), clMaroon);
    EXPECT_EQ(g.BandColor(1), clYellow);
    g.SetFillType(gtMidBandHoriz);
    g.SetNrColors(3);
    const QImage h = Rendered(g);
    EXPECT_EQ(PixelAt(h, 60, 0), clMaroon);
    EXPECT_EQ(PixelAt(h, 60, 60), clYellow);
    EXPECT_EQ(PixelAt(h, 60, 120), clMaroon);
}

TEST(GradFill, FlippingKeepsTheBaseColours)
{
    TGradFill g;
    g.SetColorFlipped(true);
    EXPECT_EQ(g.ColorFirst(), clYellow);
    EXPECT_EQ(g.ColorLast(), clMaroon);
    EXPECT_EQ(PixelAt(Rendered(g), 60, 0), clYellow);
    g.SetColorFirst(clRed);
    EXPECT_EQ(PixelAt(Rendered(g), 60, 0), clRed);
    g.SetColorFlipped(false);   // red goes to the last edge
    EXPECT_EQ(g.ColorFirst(), clMaroon);
    EXPECT_EQ(g.ColorLast(), clRed);
    g.SetColorFlipped(true);
    g.SetColorLast(clBlue);     // the last edge while flipped is the first base colour
    g.SetColorFlipped(false);
    EXPECT_EQ(g.ColorFirst(), clBlue);
    EXPECT_EQ(g.ColorLast(), clRed);
}

// A form stores the colours in effect with the flag; reading it back in that order (and
// writing again what a later property overrode) restores the base colours as well.
TEST(GradFill, FlippedColoursSurviveAFormRoundTrip)
{
    TGradFill saved;
    saved.SetColorFirst(clRed);
    saved.SetColorLast(clBlue);
    saved.SetColorFlipped(true);
    TGradFill loaded;
    ASSERT_TRUE(loaded.Configuring());
    for (const char* name : {"ColorFirst", "ColorLast", "ColorFlipped"})
        loaded.setProperty(name, saved.property(name));
    EXPECT_EQ(loaded.ColorFirst(), clBlue);
    EXPECT_EQ(loaded.ColorLast(), clRed);
    loaded.EndConfiguration();
    loaded.SetColorFlipped(false);
    EXPECT_EQ(loaded.ColorFirst(), clRed);
    EXPECT_EQ(loaded.ColorLast(), clBlue);
}

TEST(GradFill, GridLinesOnTheBandBorders)
{
    TGradFill g;
    g.SetGridColor(clLime);
    const int y1 = MulDiv(1, 121, 16), x1 = y1;   // 8
    auto lines = [&](TGridMode m, bool& horiz, bool& vert) {
        g.SetGridMode(m);
        const QImage img = Rendered(g);
        horiz = PixelAt(img, 3, y1) == clLime && PixelAt(img, 120, y1) == clLime &&
                PixelAt(img, 3, MulDiv(15, 121, 16)) == clLime;
        vert = PixelAt(img, x1, 3) == clLime && PixelAt(img, x1, 120) == clLime &&
               PixelAt(img, MulDiv(15, 121, 16), 3) == clLime;
        // No line on the outer edges, none inside a band.
        EXPECT_NE(PixelAt(img, 3, 0), clLime);
        EXPECT_NE(PixelAt(img, 0, 3), clLime);
        EXPECT_NE(PixelAt(img, 3, y1 + 1), clLime);
        EXPECT_NE(PixelAt(img, x1 + 1, 3), clLime);
    };
    for (TGradType t : {gtHoriz, gtMidBandVert}) {
        SCOPED_TRACE(int(t));
        g.SetFillType(t);
        bool h = false, v = false;
        lines(gmNone, h, v);
        EXPECT_FALSE(h || v);
        lines(gmHoriz, h, v);
        EXPECT_TRUE(h && !v);
        lines(gmVert, h, v);
        EXPECT_TRUE(!h && v);
        lines(gmBoth, h, v);
        EXPECT_TRUE(h && v);
    }
    g.SetNrColors(1);
    g.SetGridMode(gmBoth);   // one band: no border, no line
    EXPECT_EQ(PixelAt(Rendered(g), 60, 60), clMaroon);
}

TEST(GradFill, FrameOverBandsAndGrid)
{
    TGradFill g;
    g.SetFrameStyle(fsRaised);
    g.SetGridMode(gmBoth);
    g.SetGridColor(clLime);
    const QImage img = Rendered(g);
    EXPECT_EQ(PixelAt(img, 0, 0), clSilver);
    EXPECT_EQ(PixelAt(img, 0, 8), clSilver);   // over the grid line
    EXPECT_EQ(PixelAt(img, 120, 120), clBlack);
    EXPECT_EQ(PixelAt(img, 1, 1), clWhite);
    EXPECT_EQ(PixelAt(img, 119, 119), clGray);
    EXPECT_EQ(PixelAt(img, 2, 8), clLime);
}

TEST(GradFill, OnPaintAfterEachPainting)
{
    TGradFill g;
    QSignalSpy painted(&g, &TGradFill::painted);
    int calls = 0;
    TColor seen = clNone;
    g.OnPaint = [&](QObject* s) {
        EXPECT_EQ(s, &g);
        ++calls;
        seen = PixelAt(g.Surface()->Image(), 60, 0);   // the picture is complete by then
    };
    g.RenderNow();
    g.SetColorFirst(clRed);   // the same or not, every setter repaints
    g.RenderNow();
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(painted.count(), 2);
    EXPECT_EQ(seen, clRed);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&g)->role(), QAccessible::Graphic);
}

} // namespace
