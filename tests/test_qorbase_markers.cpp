// Marker symbols: centred on the point, symmetric, each pixel drawn once, filled and hollow
// variants, canvas state left alone, names.
#include <gtest/gtest.h>

#include <QOR_qorbase.h>

#include <QSet>

#include "test_support.h"

using namespace qor;

namespace {

constexpr int kSize = 31;
constexpr int kC = 15;   // the point the marker is drawn at

using PixelSet = QSet<QPair<int, int>>;

// Offsets (dx, dy) from the point of the pixels a marker paints in black on white.
PixelSet MarkerPixels(int mark, int penWidth = 1, bool antialiasing = false)
{
    TBitmap bmp(kSize, kSize);
    bmp.Canvas()->SetAntialiasing(antialiasing);
    bmp.Canvas()->Pen()->SetColor(clBlack);
    bmp.Canvas()->Pen()->SetWidth(penWidth);
    DrawMarkOnCanvas(bmp.Canvas(), mark, kC, kC);
    PixelSet set;
    const QImage& img = bmp.Image();
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const TColor c = qortest::PixelAt(img, x, y);
            if (c != clWhite) {
                EXPECT_EQ(c, clBlack) << "mark " << mark << " at " << x << "," << y;
                set.insert({x - kC, y - kC});
            }
        }
    return set;
}

bool IsTriangleVertical(int m) { return m >= 19 && m <= 30; }
bool IsTriangleHorizontal(int m) { return m >= 31 && m <= 42; }
bool IsAreaShape(int m) { return m >= 1 && m <= 42; }

} // namespace

TEST(Markers, EveryMarkerIsCentredOnThePointWithItsDocumentedBox)
{
    for (int m = 0; m < NumMarkers; ++m) {
        SCOPED_TRACE(m);
        const PixelSet px = MarkerPixels(m);
        ASSERT_FALSE(px.isEmpty());
        int minX = 99, maxX = -99, minY = 99, maxY = -99;
        for (const auto& p : px) {
            minX = std::min(minX, p.first);
            maxX = std::max(maxX, p.first);
            minY = std::min(minY, p.second);
            maxY = std::max(maxY, p.second);
        }
        const int s = MarkerHalfSize(m);
        EXPECT_EQ(minX, -s);
        EXPECT_EQ(maxX, s);
        EXPECT_EQ(minY, -s);
        EXPECT_EQ(maxY, s);
        EXPECT_TRUE(s == 0 || s == 2 || s == 3 || s == 5);
    }
    EXPECT_EQ(MarkerPixels(0), PixelSet({{0, 0}}));
}

TEST(Markers, SymbolsAreMirrorSymmetricAboutTheirAxes)
{
    for (int m = 0; m < NumMarkers; ++m) {
        SCOPED_TRACE(m);
        const PixelSet px = MarkerPixels(m);
        for (const auto& p : px) {
            // Triangles pointing left or right are not symmetric left-right, the others are.
            if (!IsTriangleHorizontal(m))
                EXPECT_TRUE(px.contains({-p.first, p.second})) << p.first << "," << p.second;
            if (!IsTriangleVertical(m))
                EXPECT_TRUE(px.contains({p.first, -p.second})) << p.first << "," << p.second;
        }
    }
}

TEST(Markers, TrianglesPointTheirWayAndMirrorOneAnother)
{
    for (int k = 0; k < 6; ++k) {
        SCOPED_TRACE(k);
        const PixelSet up = MarkerPixels(19 + k), down = MarkerPixels(25 + k);
        const PixelSet left = MarkerPixels(31 + k), right = MarkerPixels(37 + k);
        const int s = MarkerHalfSize(19 + k);
        // Tip: a single pixel on the axis at the pointing side; base: the full width opposite.
        int tipRow = 0, baseRow = 0;
        for (const auto& p : up) {
            tipRow += p.second == -s;
            baseRow += p.second == s;
        }
        EXPECT_EQ(tipRow, 1);
        EXPECT_EQ(baseRow, 2 * s + 1);
        for (const auto& p : up) {
            EXPECT_TRUE(down.contains({p.first, -p.second}));
            EXPECT_TRUE(left.contains({p.second, p.first}));
            EXPECT_TRUE(right.contains({-p.second, p.first}));
        }
        EXPECT_EQ(up.size(), down.size());
        EXPECT_EQ(up.size(), left.size());
        EXPECT_EQ(up.size(), right.size());
    }
}

TEST(Markers, FilledVariantsCoverTheirHollowOutlineAndTheCentre)
{
    for (int m = 1; m <= 42; m += 2) {
        SCOPED_TRACE(m);
        const PixelSet hollow = MarkerPixels(m), filled = MarkerPixels(m + 1);
        EXPECT_FALSE(hollow.contains({0, 0}));
        EXPECT_TRUE(filled.contains({0, 0}));
        EXPECT_TRUE(filled.contains(hollow));
        EXPECT_GT(filled.size(), hollow.size());
        EXPECT_EQ(MarkerHalfSize(m), MarkerHalfSize(m + 1));
    }
    // Line symbols go through the point.
    for (int m = 43; m < NumMarkers; ++m)
        EXPECT_TRUE(MarkerPixels(m).contains({0, 0})) << m;
}

TEST(Markers, AllFiftyTwoAreDistinct)
{
    QVector<PixelSet> seen;
    for (int m = 0; m < NumMarkers; ++m) {
        const PixelSet px = MarkerPixels(m);
        for (int k = 0; k < seen.size(); ++k)
            EXPECT_NE(px, seen[k]) << "marks " << k << " and " << m << " look the same";
        seen.push_back(px);
    }
}

TEST(Markers, ShapesAreTheNamedOnes)
{
    // Spot checks of shape, independent of the drawing code: a medium hollow square is its border
    // ring, a medium filled diamond is |dx| + |dy| <= 3, a small cross is the two axes.
    PixelSet square, diamond, cross, xcross;
    for (int dy = -3; dy <= 3; ++dy)
        for (int dx = -3; dx <= 3; ++dx) {
            if (std::abs(dx) == 3 || std::abs(dy) == 3)
                square.insert({dx, dy});
            if (std::abs(dx) + std::abs(dy) <= 3)
                diamond.insert({dx, dy});
            if (std::abs(dx) <= 2 && std::abs(dy) <= 2 && (dx == 0 || dy == 0))
                cross.insert({dx, dy});
            if (std::abs(dx) <= 2 && std::abs(dx) == std::abs(dy))
                xcross.insert({dx, dy});
        }
    EXPECT_EQ(MarkerPixels(9), square);
    EXPECT_EQ(MarkerPixels(16), diamond);
    EXPECT_EQ(MarkerPixels(43), cross);
    EXPECT_EQ(MarkerPixels(46), xcross);
    EXPECT_EQ(MarkerPixels(49), cross + xcross);
    // Small hollow circle: a 12-pixel ring round a 3 x 3 hole.
    const PixelSet circle = MarkerPixels(1);
    EXPECT_EQ(circle.size(), 12);
    EXPECT_TRUE(circle.contains({0, -2}) && circle.contains({-2, 1}) && !circle.contains({2, 2}));
    EXPECT_FALSE(circle.contains({1, 1}));
}

TEST(Markers, ThickPenOrAntialiasedCanvasStillDrawsCrispOnePixelSymbols)
{
    for (int m : {1, 8, 20, 45, 51}) {
        EXPECT_EQ(MarkerPixels(m, 4), MarkerPixels(m)) << m;
        EXPECT_EQ(MarkerPixels(m, 1, true), MarkerPixels(m)) << m;
    }
    // The canvas keeps its own antialiasing setting for what it draws next.
    TBitmap bmp(kSize, kSize);
    bmp.Canvas()->SetAntialiasing(true);
    DrawMarkOnCanvas(bmp.Canvas(), 6, kC, kC);
    EXPECT_TRUE(bmp.Canvas()->Antialiasing());
    bmp.Canvas()->Pen()->SetColor(clBlack);
    bmp.Canvas()->Ellipse(2, 2, 12, 12);
    int grey = 0;
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 14; ++x) {
            const TColor c = qortest::PixelAt(bmp.Image(), x, y);
            grey += c != clWhite && c != clBlack;
        }
    EXPECT_GT(grey, 0);
}

TEST(Markers, RespectTheCanvasClipRectangle)
{
    TBitmap bmp(kSize, kSize);
    bmp.Canvas()->Pen()->SetColor(clBlack);
    bmp.Canvas()->SetClipRect(QRect(0, 0, kC, kSize));   // columns 0 .. kC-1
    DrawMarkOnCanvas(bmp.Canvas(), 12, kC, kC);         // filled large square
    EXPECT_EQ(qortest::PixelAt(bmp.Image(), kC - 1, kC), clBlack);
    EXPECT_EQ(qortest::PixelAt(bmp.Image(), kC, kC), clWhite);
    EXPECT_EQ(qortest::PixelAt(bmp.Image(), kC + 3, kC), clWhite);
}

TEST(Markers, EachPixelIsDrawnOnceSoXorTwiceRestores)
{
    TBitmap bmp(kSize, kSize);
    TCanvas* c = bmp.Canvas();
    c->Pen()->SetColor(clWhite);
    c->Pen()->SetMode(pmXor);
    for (int m = 0; m < NumMarkers; ++m) {
        DrawMarkOnCanvas(c, m, kC, kC);
        if (m == 51)
            EXPECT_EQ(qortest::PixelAt(bmp.Image(), kC, kC), clBlack);   // white xor white
        DrawMarkOnCanvas(c, m, kC, kC);
        const QImage& img = bmp.Image();
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x)
                ASSERT_EQ(qortest::PixelAt(img, x, y), clWhite) << "mark " << m << " at " << x << "," << y;
    }
}

TEST(Markers, UseThePenColourOnlyAndLeaveTheCanvasState)
{
    TBitmap bmp(kSize, kSize);
    TCanvas* c = bmp.Canvas();
    c->Pen()->SetColor(clNavy);
    c->Pen()->SetWidth(2);
    c->Pen()->SetStyle(psDash);
    c->Brush()->SetColor(clRed);
    c->MoveTo(3, 4);
    DrawMarkOnCanvas(c, 6, kC, kC);   // filled large circle
    EXPECT_EQ(qortest::PixelAt(bmp.Image(), kC, kC), clNavy);
    EXPECT_EQ(qortest::PixelAt(bmp.Image(), kC + 5, kC), clNavy);
    EXPECT_EQ(qortest::PixelAt(bmp.Image(), kC + 6, kC), clWhite);
    EXPECT_EQ(c->Pen()->Width(), 2);
    EXPECT_EQ(c->Pen()->Style(), psDash);
    EXPECT_EQ(c->Brush()->Color(), clRed);
    EXPECT_EQ(c->PenPos(), QPoint(3, 4));
}

TEST(Markers, OutOfRangeNumbersAndEdgesAreHarmless)
{
    for (int m : {-1, 52, 1000})
        EXPECT_TRUE(MarkerPixels(m).isEmpty()) << m;
    // Half outside the surface: the visible part is drawn, nothing else happens.
    TBitmap bmp(8, 8);
    bmp.Canvas()->Pen()->SetColor(clBlack);
    DrawMarkOnCanvas(bmp.Canvas(), 12, 0, 0);
    DrawMarkOnCanvas(bmp.Canvas(), 51, 7, -3);
    EXPECT_EQ(qortest::PixelAt(bmp.Image(), 0, 0), clBlack);
    EXPECT_EQ(qortest::PixelAt(bmp.Image(), 5, 5), clBlack);   // the filled square's corner
    EXPECT_EQ(qortest::PixelAt(bmp.Image(), 6, 6), clWhite);
    EXPECT_EQ(qortest::PixelAt(bmp.Image(), 2, 2), clBlack);   // the star's diagonal
}

TEST(Markers, NamesAreUniqueAndDescribeTheSymbol)
{
    QSet<QString> names;
    for (int m = 0; m < NumMarkers; ++m) {
        const QString n = MarkerName(m);
        EXPECT_FALSE(n.isEmpty()) << m;
        names.insert(n);
    }
    EXPECT_EQ(names.size(), NumMarkers);
    EXPECT_EQ(MarkerName(0), QStringLiteral("dot"));
    EXPECT_EQ(MarkerName(2), QStringLiteral("filled circle, small"));
    EXPECT_EQ(MarkerName(11), QStringLiteral("hollow square, large"));
    EXPECT_EQ(MarkerName(26), QStringLiteral("filled triangle down, small"));
    EXPECT_EQ(MarkerName(51), QStringLiteral("star, large"));
    EXPECT_TRUE(MarkerName(-1).isEmpty());
    EXPECT_TRUE(MarkerName(52).isEmpty());
    EXPECT_EQ(MarkerHalfSize(52), 0);
}
