// Raster label painting: dot sizes, the three block modes and the raster under them,
// proportional and fixed advance, the five frames, and the automatic height and centring.
#include <gtest/gtest.h>

#include "test_rasterlab_support.h"

#include <QSignalSpy>

using namespace qor;
using qortest::PixelAt;
using rltest::CountColor;
using rltest::Plain;
using rltest::Rendered;

namespace {

// Lit dots of 'A' (rows 1..9 of the built-in font).
constexpr int DotsOfA = 1 + 1 + 2 + 2 + 2 + 5 + 2 + 2 + 6;

TEST(RasterLabPaint, DotSizeOneDrawsOnePixelPerDotAndSizesAreClamped)
{
    TRasterLab lab;
    Plain(lab, 30, 20, QStringLiteral("A"));
    lab.SetCharBlockMode(rdbmOff);
    lab.SetDotSize(0);
    EXPECT_EQ(lab.DotSize(), 1);
    lab.SetDotSpacing(-2);
    EXPECT_EQ(lab.DotSpacing(), 0);
    lab.SetPosX(0);
    lab.SetPosY(0);
    const QImage img = Rendered(lab);
    EXPECT_EQ(CountColor(img, clLime), DotsOfA);
    const auto& rows = lab.CharMatrix().BitData['A'];
    for (int r = 0; r < 12; ++r)
        for (int k = 0; k < 7; ++k)
            EXPECT_EQ(PixelAt(img, k, r) == clLime, bool(rows[std::size_t(r)] & (1u << k))) << k << "," << r;

    lab.SetDotSize(40);
    EXPECT_EQ(lab.DotSize(), 32);
    lab.SetDotSize(-7);
    EXPECT_EQ(lab.DotSize(), 1);
    lab.SetDotSpacing(9);
    EXPECT_EQ(lab.DotSpacing(), 3);
}

TEST(RasterLabPaint, BlockModeOffDrawsOnlyLitDotsOnTheBackground)
{
    TRasterLab lab;
    Plain(lab, 100, 60, QStringLiteral("A0."));
    lab.SetCharBlockMode(rdbmOff);
    const QImage img = Rendered(lab);
    EXPECT_EQ(CountColor(img, clBlue), 0);
    // 3 x 3 squares: 'A', '0' (20 dots) and '.'.
    EXPECT_EQ(CountColor(img, clLime), (DotsOfA + 20 + 1) * 9);
    EXPECT_EQ(CountColor(img, clLime) + CountColor(img, clBlack), 100 * 60);
    // The first dot of row 9 of 'A' is the square at (1, 1 + 9 * 4).
    EXPECT_EQ(PixelAt(img, 1, 37), clLime);
    EXPECT_EQ(PixelAt(img, 3, 39), clLime);
    EXPECT_EQ(PixelAt(img, 4, 37), clBlack);
    EXPECT_EQ(PixelAt(img, 1, 40), clBlack);
}

// 'A' at (5, 1) with pitch 4: raster lines on columns and rows 0, 4, 8 ...
TEST(RasterLabPaint, RasterAndBlocksLieBetweenTheDots)
{
    TRasterLab lab;
    Plain(lab, 80, 52, QStringLiteral("A"));
    lab.SetPosX(5);
    for (TRDBlockMode mode : {rdbmRaster, rdbmOn}) {
        lab.SetCharBlockMode(mode);
        const QImage img = Rendered(lab);
        EXPECT_EQ(CountColor(img, clLime), DotsOfA * 9) << mode;
        // Row 9 of 'A' is "###.###": dots at x = 5, 9, 13, none at 17, then 21, 25, 29.
        for (int x : {5, 9, 13, 21, 25, 29})
            EXPECT_EQ(PixelAt(img, x + 2, 39), clLime) << mode << " " << x;
        EXPECT_EQ(PixelAt(img, 17, 37), clBlue) << mode;
        EXPECT_EQ(PixelAt(img, 19, 39), clBlue) << mode;
        for (int line : {0, 4, 16, 32, 76})
            EXPECT_EQ(PixelAt(img, line, 10), clBlack) << mode << " column " << line;
        for (int line : {0, 4, 16, 32, 48})
            EXPECT_EQ(PixelAt(img, 10, line), clBlack) << mode << " row " << line;
        EXPECT_EQ(PixelAt(img, 78, 50), clBlue) << mode;
        // The column before the text and the one after 'A' (x 1..3 and 33..35): unlit dots
        // in the raster, background in block mode.
        const TColor gap = mode == rdbmOn ? clBlack : clBlue;
        for (int x : {1, 3, 33, 35})
            for (int y : {1, 22, 51})
                EXPECT_EQ(PixelAt(img, x, y), gap) << mode << " " << x << "," << y;
        EXPECT_EQ(PixelAt(img, 37, 22), clBlue) << mode;
    }
}

TEST(RasterLabPaint, RasterFollowsANegativeOriginAndWiderSpacing)
{
    TRasterLab lab;
    Plain(lab, 80, 52, QStringLiteral("A"));
    lab.SetCharBlockMode(rdbmRaster);
    lab.SetPosX(-2);
    QImage img = Rendered(lab);
    // Dot columns start at -2, 2, 6 ...: lines on 1, 5, 9 ... 77; column 6 of 'A' at 22..24.
    EXPECT_EQ(PixelAt(img, 21, 38), clBlack);
    EXPECT_EQ(PixelAt(img, 22, 38), clLime);
    EXPECT_EQ(PixelAt(img, 24, 38), clLime);
    EXPECT_EQ(PixelAt(img, 25, 38), clBlack);
    EXPECT_EQ(PixelAt(img, 10, 38), clBlue);
    EXPECT_EQ(PixelAt(img, 0, 10), clBlue);
    EXPECT_EQ(PixelAt(img, 77, 10), clBlack);
    EXPECT_EQ(PixelAt(img, 79, 10), clBlue);
    EXPECT_EQ(CountColor(img, clLime), (DotsOfA - 1) * 9 + 3);   // the dot at x = -2..0 shows one column

    // Two pixels of spacing, dots of 2: the pitch is 4, with lines on 3-4, 7-8 ... and 0.
    lab.SetPosX(1);
    lab.SetDotSize(2);
    lab.SetDotSpacing(2);
    img = Rendered(lab);
    for (int x : {0, 3, 4, 7, 8})
        EXPECT_EQ(PixelAt(img, x, 1), clBlack) << x;
    for (int x : {1, 2, 5, 6})
        EXPECT_EQ(PixelAt(img, x, 1), clBlue) << x;
    EXPECT_EQ(PixelAt(img, 1, 3), clBlack);
    EXPECT_EQ(PixelAt(img, 1, 4), clBlack);

    // No spacing: no raster lines at all.
    lab.SetDotSpacing(0);
    img = Rendered(lab);
    EXPECT_EQ(CountColor(img, clBlack), 0);
}

TEST(RasterLabPaint, ProportionalAndFixedAdvance)
{
    TRasterLab lab;
    Plain(lab, 120, 52, QStringLiteral("i."));
    lab.SetCharBlockMode(rdbmOff);
    // 'i' spans columns 2..4, '.' column 3.
    QImage img = Rendered(lab);
    EXPECT_EQ(PixelAt(img, 5, 9), clLime);     // the dot of 'i', column 3, row 2
    EXPECT_EQ(PixelAt(img, 17, 37), clLime);   // '.' after 4 pitches
    EXPECT_EQ(PixelAt(img, 16, 37), clBlack);
    EXPECT_EQ(PixelAt(img, 20, 37), clBlack);
    EXPECT_EQ(lab.TextLength(), 4 * 4 + 4 * 2);
    EXPECT_EQ(lab.PaintedTextLength(), lab.TextLength() + 1);

    lab.SetProportional(false);
    img = Rendered(lab);
    EXPECT_EQ(PixelAt(img, 13, 9), clLime);    // columns counted from 0
    EXPECT_EQ(PixelAt(img, 45, 37), clLime);   // '.' after 8 pitches, in its column 3
    EXPECT_EQ(PixelAt(img, 33, 37), clBlack);
    EXPECT_EQ(lab.TextLength(), 2 * 4 * 8);
}

struct FrameProbe {
    TRasterLab lab;
    QImage img;
    explicit FrameProbe(TFrameStyle style, TColorScheme scheme = csGrayWhite)
    {
        Plain(lab, 20, 12, QString());
        lab.SetCharBlockMode(rdbmOff);
        lab.SetColorLabBakG(clBlue);
        lab.SetColorScheme(scheme);
        lab.SetFrameStyle(style);
        img = Rendered(lab);
    }
    TColor At(int x, int y) const { return PixelAt(img, x, y); }
};

TEST(RasterLabPaint, SimpleFrameAndNoFrame)
{
    FrameProbe simple(fsSimple);
    for (int x = 0; x < 20; ++x) {
        EXPECT_EQ(simple.At(x, 0), clGray) << x;
        EXPECT_EQ(simple.At(x, 11), clGray) << x;
    }
    for (int y = 0; y < 12; ++y) {
        EXPECT_EQ(simple.At(0, y), clGray) << y;
        EXPECT_EQ(simple.At(19, y), clGray) << y;
    }
    EXPECT_EQ(simple.At(1, 1), clBlue);
    EXPECT_EQ(CountColor(simple.img, clBlue), 18 * 10);

    FrameProbe system(fsSimple, csSystemColors);
    EXPECT_EQ(system.At(0, 0), ColorToRGB(clBtnShadow));
    FrameProbe none(fsNone);
    EXPECT_EQ(CountColor(none.img, clBlue), 20 * 12);
    FrameProbe beyond(TFrameStyle(9));
    EXPECT_EQ(CountColor(beyond.img, clBlue), 20 * 12);
}

TEST(RasterLabPaint, LoweredAndRaisedFrames)
{
    FrameProbe lowered(fsLowered);
    // black (1, 9) up to (1, 1) and on to (18, 1), end points left out
    for (QPoint p : {QPoint(1, 9), QPoint(1, 2), QPoint(1, 1), QPoint(17, 1)})
        EXPECT_EQ(lowered.At(p.x(), p.y()), clBlack) << p.x() << "," << p.y();
    // white (2, 11) to (19, 11) and up to (19, 0)
    for (QPoint p : {QPoint(2, 11), QPoint(18, 11), QPoint(19, 11), QPoint(19, 1)})
        EXPECT_EQ(lowered.At(p.x(), p.y()), clWhite) << p.x() << "," << p.y();
    // gray outline (0, 0)-(18, 10)
    for (QPoint p : {QPoint(0, 0), QPoint(0, 10), QPoint(18, 0), QPoint(18, 1), QPoint(18, 10), QPoint(1, 10)})
        EXPECT_EQ(lowered.At(p.x(), p.y()), clGray) << p.x() << "," << p.y();
    // pixels no line reaches keep the background
    for (QPoint p : {QPoint(19, 0), QPoint(0, 11), QPoint(1, 11), QPoint(2, 2), QPoint(17, 9)})
        EXPECT_EQ(lowered.At(p.x(), p.y()), clBlue) << p.x() << "," << p.y();

    FrameProbe raised(fsRaised);
    EXPECT_EQ(raised.At(1, 1), clWhite);
    EXPECT_EQ(raised.At(1, 9), clWhite);
    EXPECT_EQ(raised.At(2, 11), clBlack);
    EXPECT_EQ(raised.At(19, 1), clBlack);
    EXPECT_EQ(raised.At(0, 0), clGray);
    EXPECT_EQ(raised.At(18, 10), clGray);
}

TEST(RasterLabPaint, EmbossedAndEngravedFrames)
{
    FrameProbe embossed(fsEmbossed);
    // gray outline (1, 1)-(19, 11), then white outline (0, 0)-(18, 10) over it
    for (QPoint p : {QPoint(1, 5), QPoint(5, 1), QPoint(19, 5), QPoint(5, 11), QPoint(19, 11), QPoint(19, 1)})
        EXPECT_EQ(embossed.At(p.x(), p.y()), clGray) << p.x() << "," << p.y();
    for (QPoint p : {QPoint(0, 0), QPoint(0, 5), QPoint(18, 5), QPoint(5, 10), QPoint(18, 1), QPoint(1, 10)})
        EXPECT_EQ(embossed.At(p.x(), p.y()), clWhite) << p.x() << "," << p.y();
    EXPECT_EQ(embossed.At(19, 0), clBlue);
    EXPECT_EQ(embossed.At(0, 11), clBlue);
    EXPECT_EQ(embossed.At(2, 2), clBlue);

    FrameProbe engraved(fsEngraved);
    EXPECT_EQ(engraved.At(1, 5), clWhite);
    EXPECT_EQ(engraved.At(19, 5), clWhite);
    EXPECT_EQ(engraved.At(0, 0), clGray);
    EXPECT_EQ(engraved.At(18, 5), clGray);
}

TEST(RasterLabPaint, AutoHeightFitsFrameAndRows)
{
    TRasterLab lab;   // fsLowered, pitch 4, 12 rows
    lab.SetAutoHeight(true);
    EXPECT_EQ(lab.height(), 1 + 4 * 12);
    EXPECT_EQ(lab.sizeHint(), QSize(400, 49));
    lab.SetDotSize(5);
    EXPECT_EQ(lab.height(), 1 + 6 * 12);
    lab.SetFrameStyle(fsEmbossed);
    lab.SetDotSpacing(0);
    EXPECT_EQ(lab.height(), 2 + 5 * 12);
    lab.SetFrameStyle(fsNone);
    lab.SetDotSpacing(1);
    EXPECT_EQ(lab.height(), 6 * 12);
    lab.SetAutoHeight(false);
    lab.SetDotSize(3);
    EXPECT_EQ(lab.height(), 72);
    EXPECT_EQ(lab.sizeHint(), QSize(400, 68));
}

TEST(RasterLabPaint, AutoCenterPlacesTheText)
{
    TRasterLab lab;   // 400 wide, fsLowered
    lab.show();
    QSignalSpy moved(&lab, &TRasterLab::posXChanged);
    // "Text": T 7 columns, e, x and t 5 each: 8 + 6 + 6 + 6 pitches of 4.
    EXPECT_EQ(lab.TextLength(), 104);
    lab.SetAutoCenter(true);
    EXPECT_EQ(lab.PosX(), (400 - 104) / 2 + 1 + 1);
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved.at(0).at(0).toInt(), 150);
    lab.SetText(QString());
    EXPECT_EQ(lab.PosX(), 202);
    lab.resize(11, 68);
    EXPECT_EQ(lab.PosX(), 11 / 2 + 2);
    // A text wider than the label: div truncates toward zero, (11 - 104) div 2 = -46.
    lab.SetText(QStringLiteral("Text"));
    EXPECT_EQ(lab.PosX(), -46 + 2);
    lab.SetFrameStyle(fsEmbossed);
    lab.SetDotSpacing(0);   // pitch 3, length 78: -67 div 2 = -33, frame width 2
    EXPECT_EQ(lab.PosX(), -33 + 2 + 1);
    const int before = int(moved.count());
    lab.SetDotSpacing(0);
    EXPECT_EQ(moved.count(), before);
    lab.SetAutoCenter(false);
    EXPECT_EQ(lab.PosX(), 1);
}

// A label without a surface (width or height 0) has nothing to draw its dots onto.
TEST(RasterLabPaint, EmptySurfacePaintsNothingAndSurvives)
{
    for (const QSize size : {QSize(0, 0), QSize(0, 40), QSize(120, 0)}) {
        TRasterLab lab;
        lab.SetText(QStringLiteral("AB"));
        lab.resize(size);
        lab.RenderNow();
        lab.SetDotSize(1);
        lab.SetCharBlockMode(rdbmRaster);
        lab.RenderNow();
        EXPECT_TRUE(lab.Surface()->Empty());
    }
}

} // namespace
