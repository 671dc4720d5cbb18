// Progress bar drawing: the bar in four directions with rounding to even, the three colour
// mappings at the bar's ends, grid lines, the five frame styles with their corner pixels, a bar
// beyond Max under the frames, degenerate ranges and values, the background picture and the
// position of the (rotated) value text.
#include <gtest/gtest.h>

#include <QOR_ProgBar.h>
#include <test_support.h>

#include <QDir>
#include <QImage>
#include <limits>

using namespace qor;
using qortest::PixelAt;

namespace {

constexpr TColor Margin = 0x030201;
constexpr TColor Back = 0x0A0B0C;
constexpr TColor Bar = 0x305070;
constexpr TColor Grid = 0x00EE00;

QImage Rendered(TProgBar& b)
{
    b.RenderNow();
    return b.Surface()->Image();
}

// A bar with nothing but margins, background and bar: no frames, no text, plain colours, and
// Max = the inner extent, so that Value is the bar length in pixels.
void Bare(TProgBar& b, int w, int h, TDirection dir)
{
    b.resize(w, h);
    b.SetDirection(dir);
    b.SetFrameStyleInner(fsNone);
    b.SetFrameStyleOuter(fsNone);
    b.SetTextVisible(false);
    b.SetColorMargin(Margin);
    b.SetColorBackGnd(Back);
    b.SetColorMin(Bar);
    const bool vertical = dir == dirUp || dir == dirDown;
    b.SetMax(vertical ? h - 8 : w - 8);
}

// Colour element i encoded so that a pixel tells its index.
TColor Code(int i) { return RGB(i & 0xFF, i >> 8, 0x55); }
int Decode(TColor c) { return GetBValue(c) == 0x55 ? GetRValue(c) | (GetGValue(c) << 8) : -1; }

void Encode(TProgBar& b)
{
    b.SetShowColorGradient(true);
    for (int i = 0; i < TProgBar::NumBarColors; ++i)
        b.SetBarColors(i, Code(i));
}

TEST(ProgBarPaint, FourDirectionsRoundHalvesToEven)
{
    struct Case {
        TDirection Dir;
        int W, H;
        QPoint Base, LastBar, FirstBack;
    };
    // 300 x 28 has the inner columns 4..295; 28 x 200 the inner rows 4..195. Length 146.
    const Case cases[] = {{dirRight, 300, 28, {4, 10}, {149, 10}, {150, 10}},
                          {dirLeft, 300, 28, {295, 10}, {150, 10}, {149, 10}},
                          {dirUp, 28, 200, {10, 195}, {10, 50}, {10, 49}},
                          {dirDown, 28, 200, {10, 4}, {10, 149}, {10, 150}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.Dir));
        TProgBar b;
        Bare(b, c.W, c.H, c.Dir);
        b.SetValue(146);
        QImage img = Rendered(b);
        EXPECT_EQ(PixelAt(img, c.LastBar.x(), c.LastBar.y()), Bar);
        EXPECT_EQ(PixelAt(img, c.FirstBack.x(), c.FirstBack.y()), Back);
        EXPECT_EQ(PixelAt(img, 2, 2), Margin);
        // The bar fills the inner area across: the first and last inner row or column.
        const bool vertical = c.Dir == dirUp || c.Dir == dirDown;
        const QPoint across = vertical ? QPoint(4, c.LastBar.y()) : QPoint(c.LastBar.x(), 4);
        const QPoint across2 = vertical ? QPoint(23, c.LastBar.y()) : QPoint(c.LastBar.x(), 23);
        EXPECT_EQ(PixelAt(img, across.x(), across.y()), Bar);
        EXPECT_EQ(PixelAt(img, across2.x(), across2.y()), Bar);
        const QPoint outside = vertical ? QPoint(24, c.LastBar.y()) : QPoint(c.LastBar.x(), 24);
        EXPECT_EQ(PixelAt(img, outside.x(), outside.y()), Margin);
        // The gradient starts at the base.
        Encode(b);
        img = Rendered(b);
        EXPECT_EQ(Decode(PixelAt(img, c.Base.x(), c.Base.y())), 0);
        EXPECT_EQ(Decode(PixelAt(img, c.LastBar.x(), c.LastBar.y())), 1016);   // Round(1023 * 145 / 146)
        EXPECT_EQ(Decode(PixelAt(img, across2.x(), across2.y())), 1016);
    }
    // 2.5 pixels round to 2, 3.5 to 4.
    TProgBar b;
    Bare(b, 300, 28, dirRight);
    b.SetValue(2.5);
    QImage img = Rendered(b);
    EXPECT_EQ(PixelAt(img, 5, 10), Bar);
    EXPECT_EQ(PixelAt(img, 6, 10), Back);
    b.SetValue(3.5);
    img = Rendered(b);
    EXPECT_EQ(PixelAt(img, 7, 10), Bar);
    EXPECT_EQ(PixelAt(img, 8, 10), Back);
}

TEST(ProgBarPaint, ColourMappingsAtTheBarsEnds)
{
    TProgBar b;
    Bare(b, 300, 28, dirRight);   // s = 292
    Encode(b);
    auto indexAt = [&](int k) { return Decode(PixelAt(Rendered(b), 4 + k, 10)); };

    b.SetValue(146);
    b.SetColorMapMode(cgmCover);
    EXPECT_EQ(indexAt(0), 0);
    EXPECT_EQ(indexAt(145), 508);    // Round(1023 * 145 / 292): half the scale for half the bar
    b.SetValue(292);
    EXPECT_EQ(indexAt(146), 512);    // 511.5 rounds to even
    EXPECT_EQ(indexAt(291), 1019);

    b.SetColorMapMode(cgmStretch);
    b.SetValue(146);
    EXPECT_EQ(indexAt(0), 0);
    EXPECT_EQ(indexAt(73), 512);     // Round(1023 * 73 / 146)
    EXPECT_EQ(indexAt(145), 1016);   // the whole scale along the bar: Round(1023 * 145 / 146)
    b.SetValue(1);
    EXPECT_EQ(indexAt(0), 0);

    b.SetColorMapMode(cgmMove);
    b.SetValue(1);
    EXPECT_EQ(indexAt(0), 1023);
    b.SetValue(146);
    EXPECT_EQ(indexAt(145), 1023);
    EXPECT_EQ(indexAt(0), 515);      // 0 - Round(1023 * 145 / 292) + 1023
    EXPECT_EQ(indexAt(146), -1);     // background after the bar
}

TEST(ProgBarPaint, BarBeyondMaxRunsUnderTheFrames)
{
    TProgBar b;
    Bare(b, 300, 28, dirRight);
    b.SetValue(2 * 292);   // twice the range: not clamped
    EXPECT_EQ(b.Value(), 584);
    QImage img = Rendered(b);
    EXPECT_EQ(PixelAt(img, 297, 10), Bar);   // the right margin
    EXPECT_EQ(PixelAt(img, 299, 10), Bar);
    EXPECT_EQ(PixelAt(img, 297, 2), Margin);
    b.SetFrameStyleOuter(fsRaised);
    b.SetFrameStyleInner(fsLowered);
    img = Rendered(b);
    EXPECT_EQ(PixelAt(img, 299, 10), clBlack);   // outer frame's dark side
    EXPECT_EQ(PixelAt(img, 295, 10), clWhite);   // inner frame's light side
    EXPECT_EQ(PixelAt(img, 297, 10), Bar);
    // With a gradient the visible part only is drawn, also for absurd values.
    Encode(b);
    b.SetColorMapMode(cgmStretch);
    img = Rendered(b);
    EXPECT_EQ(Decode(PixelAt(img, 4 + 200, 20)), 350);   // Round(1023 * 200 / 584)
    b.SetValue(1e300);
    img = Rendered(b);
    EXPECT_EQ(Decode(PixelAt(img, 297, 10)), 0);
    b.SetValue(std::numeric_limits<double>::infinity());
    img = Rendered(b);
    EXPECT_EQ(Decode(PixelAt(img, 297, 10)), 0);
}

TEST(ProgBarPaint, EmptyBarForDegenerateRangesAndValues)
{
    TProgBar b;
    Bare(b, 300, 28, dirRight);
    auto empty = [&] {
        const QImage img = Rendered(b);
        return PixelAt(img, 4, 10) == Back && PixelAt(img, 150, 10) == Back && PixelAt(img, 2, 10) == Margin;
    };
    b.SetRange(50, 50);
    b.SetValue(80);
    EXPECT_TRUE(empty());
    b.SetShowColorGradient(true);
    EXPECT_TRUE(empty());
    b.SetRange(0, 100);
    b.SetValue(-30);   // below Min: nothing, not a bar into the left margin
    EXPECT_TRUE(empty());
    b.SetShowColorGradient(false);
    EXPECT_TRUE(empty());
    b.SetRange(-1e308, 1e308);   // the span overflows to infinity
    b.SetValue(1e308);
    Rendered(b);
    b.SetRange(-std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity());
    EXPECT_TRUE(empty());
    // Margins wider than the control leave no inner area.
    b.SetRange(0, 100);
    b.SetValue(50);
    b.SetMarginLeft(200);
    b.SetMarginRight(200);
    b.SetGridDist(5);
    const QImage img = Rendered(b);
    EXPECT_EQ(PixelAt(img, 150, 10), Back);   // the reversed inner box is still painted
}

TEST(ProgBarPaint, GridLinesStopAtTheBarsEnd)
{
    auto gridded = [](TDirection dir, double value, int dist = 10) {
        TProgBar b;
        const bool vertical = dir == dirUp || dir == dirDown;
        Bare(b, vertical ? 28 : 300, vertical ? 200 : 28, dir);
        b.SetColorGrid(Grid);
        b.SetGridDist(dist);
        b.SetValue(value);
        return Rendered(b);
    };
    // Right: columns L, L + G, ... while <= L + n, so one may stand just past the bar.
    QImage img = gridded(dirRight, 150);   // bar columns 4..153
    EXPECT_EQ(PixelAt(img, 4, 4), Grid);
    EXPECT_EQ(PixelAt(img, 14, 23), Grid);
    EXPECT_EQ(PixelAt(img, 14, 24), Margin);
    EXPECT_EQ(PixelAt(img, 15, 10), Bar);
    EXPECT_EQ(PixelAt(img, 154, 10), Grid);
    EXPECT_EQ(PixelAt(img, 164, 10), Back);
    img = gridded(dirRight, 150, 1);       // no grid unless above 1
    EXPECT_EQ(PixelAt(img, 14, 10), Bar);

    // Up: rows B-1, B-1-G, ... while >= the bar's top row.
    img = gridded(dirUp, 91);              // rows 105..195
    EXPECT_EQ(PixelAt(img, 4, 195), Grid);
    EXPECT_EQ(PixelAt(img, 23, 105), Grid);
    EXPECT_EQ(PixelAt(img, 24, 105), Margin);
    img = gridded(dirUp, 90);              // rows 106..195: the line at 105 goes
    EXPECT_EQ(PixelAt(img, 10, 105), Back);
    EXPECT_EQ(PixelAt(img, 10, 115), Grid);

    // Down and left mirror them.
    img = gridded(dirDown, 91);            // rows 4..94
    EXPECT_EQ(PixelAt(img, 10, 4), Grid);
    EXPECT_EQ(PixelAt(img, 10, 94), Grid);
    img = gridded(dirDown, 90);
    EXPECT_EQ(PixelAt(img, 10, 94), Back);
    img = gridded(dirLeft, 150);           // columns 146..295
    EXPECT_EQ(PixelAt(img, 295, 10), Grid);
    EXPECT_EQ(PixelAt(img, 145, 10), Grid);
    EXPECT_EQ(PixelAt(img, 135, 10), Back);
}

// The outer frame of each style on (0, 0, 300, 28), pixel by pixel along its sides.
TEST(ProgBarPaint, FrameStylesAndCornerPixels)
{
    const TColor G = clGray, W = clWhite, K = clBlack, M = Margin;
    struct Probe {
        int X, Y;
        TColor C;
    };
    struct Case {
        TFrameStyle Style;
        std::vector<Probe> Probes;
    };
    const std::vector<Probe> lowered = {
        {0, 0, G}, {150, 0, G}, {298, 0, G}, {299, 0, M},   // top: grey, corner in the margin colour
        {0, 14, G}, {0, 26, G}, {0, 27, M},                  // left
        {1, 1, K}, {1, 14, K}, {1, 25, K}, {150, 1, K}, {297, 1, K},
        {298, 1, G}, {298, 14, G}, {1, 26, G}, {150, 26, G}, // the grey box's right and bottom
        {1, 27, W}, {150, 27, W}, {299, 27, W}, {299, 14, W}, {299, 1, W},
        {2, 2, M}, {297, 25, M}};
    std::vector<Probe> raised = lowered;
    for (Probe& p : raised)
        p.C = p.C == K ? W : p.C == W ? K : p.C;
    const std::vector<Probe> embossed = {
        {0, 0, W}, {150, 0, W}, {298, 0, W}, {0, 14, W}, {0, 26, W}, {150, 26, W}, {298, 14, W},
        {298, 1, W}, {1, 26, W},
        {1, 1, G}, {150, 1, G}, {1, 14, G}, {150, 27, G}, {299, 14, G}, {299, 27, G}, {299, 1, G},
        {299, 0, M}, {0, 27, M}, {2, 2, M}};
    std::vector<Probe> engraved = embossed;
    for (Probe& p : engraved)
        p.C = p.C == W ? G : p.C == G ? W : p.C;
    const std::vector<Case> cases = {
        {fsNone, {{0, 0, M}, {299, 27, M}, {150, 0, M}}},
        {fsSimple, {{0, 0, G}, {299, 0, G}, {299, 27, G}, {0, 27, G}, {150, 27, G}, {1, 1, M}}},
        {fsLowered, lowered},
        {fsRaised, raised},
        {fsEmbossed, embossed},
        {fsEngraved, engraved}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.Style));
        TProgBar b;
        Bare(b, 300, 28, dirRight);
        b.SetValue(0);
        b.SetFrameStyleOuter(c.Style);
        const QImage img = Rendered(b);
        for (const Probe& p : c.Probes)
            EXPECT_EQ(PixelAt(img, p.X, p.Y), p.C) << p.X << "," << p.Y;
    }
}

TEST(ProgBarPaint, InnerFrameOnTheInnerAreaAndSchemeColours)
{
    TProgBar b;
    Bare(b, 300, 28, dirRight);
    b.SetValue(0);
    b.SetFrameStyleInner(fsLowered);   // on (4, 4, 296, 24)
    QImage img = Rendered(b);
    EXPECT_EQ(PixelAt(img, 4, 4), clGray);
    EXPECT_EQ(PixelAt(img, 5, 10), clBlack);
    EXPECT_EQ(PixelAt(img, 150, 23), clWhite);
    EXPECT_EQ(PixelAt(img, 4, 23), Margin);
    EXPECT_EQ(PixelAt(img, 295, 4), Margin);
    EXPECT_EQ(PixelAt(img, 150, 3), Margin);
    b.SetColorScheme(csSystemColors);
    img = Rendered(b);
    EXPECT_EQ(PixelAt(img, 4, 4), ColorToRGB(clBtnShadow));
    EXPECT_EQ(PixelAt(img, 150, 23), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(PixelAt(img, 5, 10), clBlack);
}

TEST(ProgBarPaint, BackgroundPictureStretchedIntoTheInnerArea)
{
    QImage pic(2, 1, QImage::Format_RGB32);
    pic.setPixel(0, 0, qRgb(255, 0, 0));
    pic.setPixel(1, 0, qRgb(0, 255, 0));
    const QString path = QDir(qortest::ScratchDir()).filePath(QStringLiteral("progbar_bg.png"));
    ASSERT_TRUE(pic.save(path));

    TProgBar b;
    Bare(b, 300, 28, dirRight);
    b.SetValue(0);
    b.SetBackGroundImg(path);
    EXPECT_EQ(b.BackGroundImg(), path);
    QImage img = Rendered(b);
    EXPECT_EQ(PixelAt(img, 4, 4), clRed);
    EXPECT_EQ(PixelAt(img, 149, 23), clRed);
    EXPECT_EQ(PixelAt(img, 150, 4), clLime);
    EXPECT_EQ(PixelAt(img, 295, 23), clLime);
    EXPECT_EQ(PixelAt(img, 296, 10), Margin);

    // A missing or unreadable file keeps the old name and picture.
    b.SetBackGroundImg(path + QStringLiteral(".missing"));
    EXPECT_EQ(b.BackGroundImg(), path);
    const QString junk = qortest::WriteFile(QDir(qortest::ScratchDir()).filePath(QStringLiteral("junk.bmp")), "not a picture");
    b.SetBackGroundImg(junk);
    EXPECT_EQ(b.BackGroundImg(), path);
    img = Rendered(b);
    EXPECT_EQ(PixelAt(img, 4, 4), clRed);

    b.SetValue(100);   // the bar covers the picture
    img = Rendered(b);
    EXPECT_EQ(PixelAt(img, 50, 10), Bar);
    EXPECT_EQ(PixelAt(img, 200, 10), clLime);

    b.SetBackGroundImg(QString());
    EXPECT_TRUE(b.BackGroundImg().isEmpty());
    img = Rendered(b);
    EXPECT_EQ(PixelAt(img, 200, 10), Back);
}

// Where the text's pixels fall, against its cell from the anchor formulas.
class ProgBarText : public ::testing::Test {
protected:
    void SetUp() override
    {
        b.resize(300, 100);
        b.SetFrameStyleInner(fsNone);
        b.SetFrameStyleOuter(fsNone);
        b.SetColorMargin(clWhite);
        b.SetColorBackGnd(clWhite);
        b.SetValue(0);
        b.Font()->SetSize(20);
        b.Font()->SetColor(clBlack);
        b.OnShowValue = [](QObject*, QString& text) { text = QStringLiteral("HHHH"); };
        b.SetTextPosX(150);
        b.SetTextPosY(50);
        TBitmap probe(1, 1);
        probe.Canvas()->Font()->Assign(*b.Font());
        tw = probe.Canvas()->TextWidth(QStringLiteral("HHHH"));
        th = probe.Canvas()->TextHeight(QStringLiteral("HHHH"));
    }
    // The box around every pixel that is not white.
    QRect Ink()
    {
        const QImage img = Rendered(b);
        QRect r;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (PixelAt(img, x, y) != clWhite)
                    r |= QRect(x, y, 1, 1);
        return r;
    }
    TProgBar b;
    int tw = 0, th = 0;
};

TEST_F(ProgBarText, UprightAnchors)
{
    const int hw = tw / 2, th2 = th / 2;
    struct Case {
        TAlignment Align;
        int Left;
    };
    for (const Case& c : {Case{taLeftJustify, 150}, Case{taRightJustify, 150 - 2 * hw}, Case{taCenter, 150 - hw}}) {
        SCOPED_TRACE(int(c.Align));
        b.SetTextAlignment(c.Align);
        const QRect ink = Ink();
        const QRect cell(c.Left, 50 - th2, tw, th);
        EXPECT_TRUE(cell.contains(ink)) << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
        EXPECT_LE(ink.left() - cell.left(), 3);
        EXPECT_LE(cell.right() - ink.right(), 3);
    }
}

TEST_F(ProgBarText, TurnedAboutItsTopLeftCorner)
{
    const int hw = tw / 2, th2 = th / 2;
    b.SetTextAngle(90);   // reads upward; the cell's top-left corner is the output point
    b.SetTextAlignment(taLeftJustify);
    QRect ink = Ink();
    QRect cell(150 - th2, 50 - tw, th, tw);   // output point (X - th2, Y)
    EXPECT_TRUE(cell.adjusted(-1, -1, 1, 1).contains(ink)) << ink.x() << "," << ink.y();
    EXPECT_LE(50 - ink.bottom(), 4);
    b.SetTextAlignment(taCenter);            // output point (X - th2, Y + hw)
    ink = Ink();
    cell = QRect(150 - th2, 50 + hw - tw, th, tw);
    EXPECT_TRUE(cell.adjusted(-1, -1, 1, 1).contains(ink)) << ink.x() << "," << ink.y();
    EXPECT_NEAR(ink.center().y(), 50, 3);
    b.SetTextVisible(false);
    EXPECT_TRUE(Ink().isEmpty());
}

} // namespace
