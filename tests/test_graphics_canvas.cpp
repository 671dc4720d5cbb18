// Pixel rules of the GDI-style canvas.
#include <gtest/gtest.h>

#include <QOR_Graphics.h>
#include "test_support.h"

#include <QDir>
#include <QFile>

using namespace qor;

namespace {

struct CanvasTest : ::testing::Test {
    TBitmap bmp{40, 30};
    TCanvas* c = bmp.Canvas();
    void SetUp() override
    {
        c->Brush()->SetColor(clWhite);
        c->FillRect(QRect(0, 0, 40, 30));
    }
    TColor At(int x, int y) { return c->Pixels(x, y); }
};

TEST_F(CanvasTest, RectangleCoversLeftToRightMinusOne)
{
    c->Pen()->SetColor(clRed);
    c->Brush()->SetColor(clBlue);
    c->Rectangle(5, 5, 15, 12);
    EXPECT_EQ(At(5, 5), clRed);
    EXPECT_EQ(At(14, 5), clRed);
    EXPECT_EQ(At(14, 11), clRed);
    EXPECT_EQ(At(5, 11), clRed);
    EXPECT_EQ(At(15, 5), clWhite);   // right edge excluded
    EXPECT_EQ(At(5, 12), clWhite);   // bottom edge excluded
    EXPECT_EQ(At(6, 6), clBlue);
    EXPECT_EQ(At(13, 10), clBlue);
}

TEST_F(CanvasTest, RectangleWithClearBrushLeavesInside)
{
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetStyle(bsClear);
    c->Rectangle(2, 2, 10, 10);
    EXPECT_EQ(At(2, 2), clBlack);
    EXPECT_EQ(At(5, 5), clWhite);
}

TEST_F(CanvasTest, RectangleWithoutPenFillsOnePixelLess)
{
    c->Pen()->SetStyle(psClear);
    c->Brush()->SetColor(clGreen);
    c->Rectangle(2, 2, 10, 10);
    EXPECT_EQ(At(2, 2), clGreen);
    EXPECT_EQ(At(8, 8), clGreen);
    EXPECT_EQ(At(9, 9), clWhite);
}

TEST_F(CanvasTest, FillRectAndFrameRect)
{
    c->Brush()->SetColor(clNavy);
    c->FillRect(QRect(QPoint(3, 4), QPoint(8, 9)));
    EXPECT_EQ(At(3, 4), clNavy);
    EXPECT_EQ(At(8, 9), clNavy);
    EXPECT_EQ(At(9, 9), clWhite);
    c->FillRect(20, 20, 25, 25);   // l, t, r, b: 20..24
    EXPECT_EQ(At(24, 24), clNavy);
    EXPECT_EQ(At(25, 24), clWhite);
    c->Brush()->SetColor(clRed);
    c->FrameRect(QRect(QPoint(30, 2), QPoint(36, 8)));
    EXPECT_EQ(At(30, 2), clRed);
    EXPECT_EQ(At(36, 8), clRed);
    EXPECT_EQ(At(33, 5), clWhite);
}

TEST_F(CanvasTest, LineToLeavesOutEndPoint)
{
    c->Pen()->SetColor(clBlack);
    c->MoveTo(2, 3);
    c->LineTo(10, 3);
    EXPECT_EQ(At(2, 3), clBlack);
    EXPECT_EQ(At(9, 3), clBlack);
    EXPECT_EQ(At(10, 3), clWhite);
    EXPECT_EQ(c->PenPos(), QPoint(10, 3));
    c->MoveTo(5, 10);
    c->LineTo(5, 20);
    EXPECT_EQ(At(5, 19), clBlack);
    EXPECT_EQ(At(5, 20), clWhite);
    c->MoveTo(20, 10);
    c->LineTo(25, 15);   // diagonal
    EXPECT_EQ(At(20, 10), clBlack);
    EXPECT_EQ(At(24, 14), clBlack);
    EXPECT_EQ(At(25, 15), clWhite);
}

TEST_F(CanvasTest, PolylineLeavesOutLastPointPolygonCloses)
{
    c->Pen()->SetColor(clBlack);
    c->Polyline({QPoint(1, 1), QPoint(8, 1), QPoint(8, 8)});
    EXPECT_EQ(At(8, 1), clBlack);
    EXPECT_EQ(At(8, 7), clBlack);
    EXPECT_EQ(At(8, 8), clWhite);
    c->Brush()->SetColor(clYellow);
    c->Polygon({QPoint(20, 5), QPoint(30, 5), QPoint(30, 15), QPoint(20, 15)});
    EXPECT_EQ(At(20, 5), clBlack);
    EXPECT_EQ(At(25, 10), clYellow);
    EXPECT_EQ(At(20, 10), clBlack);   // closing edge
}

TEST_F(CanvasTest, PenModesAreRasterOperations)
{
    c->Brush()->SetColor(RGB(0x0F, 0xF0, 0x33));
    c->FillRect(QRect(0, 0, 40, 30));
    c->Pen()->SetColor(RGB(0xFF, 0x0F, 0x11));
    c->Pen()->SetMode(pmXor);
    c->MoveTo(0, 0);
    c->LineTo(5, 0);
    EXPECT_EQ(At(1, 0), RGB(0x0F ^ 0xFF, 0xF0 ^ 0x0F, 0x33 ^ 0x11));
    c->Pen()->SetMode(pmNot);
    c->MoveTo(0, 1);
    c->LineTo(5, 1);
    EXPECT_EQ(At(1, 1), RGB(0xF0, 0x0F, 0xCC));
    // Xor twice restores the pixels.
    c->Pen()->SetMode(pmXor);
    c->MoveTo(0, 2);
    c->LineTo(5, 2);
    c->MoveTo(0, 2);
    c->LineTo(5, 2);
    EXPECT_EQ(At(2, 2), RGB(0x0F, 0xF0, 0x33));
}

TEST_F(CanvasTest, EllipseStaysInsideItsBox)
{
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetColor(clRed);
    c->Ellipse(10, 5, 30, 25);
    EXPECT_EQ(At(20, 15), clRed);
    EXPECT_EQ(At(10, 5), clWhite);   // corners are outside
    EXPECT_EQ(At(20, 25), clWhite);  // bottom edge excluded
    EXPECT_EQ(At(30, 15), clWhite);
    EXPECT_EQ(At(10, 15), clBlack);  // leftmost point of the outline
}

TEST_F(CanvasTest, PieRunsCounterClockwiseFromFirstToSecondPoint)
{
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetColor(clRed);
    // Upper-right quarter: from the ray to the right to the ray upward.
    c->Pie(0, 0, 31, 31, 30, 15, 15, 0);
    EXPECT_EQ(At(20, 10), clRed);
    EXPECT_EQ(At(10, 20), clWhite);
    EXPECT_EQ(At(10, 10), clWhite);
    EXPECT_EQ(At(20, 20), clWhite);
    // Swapping the points takes the other three quarters.
    c->Brush()->SetColor(clWhite);
    c->FillRect(QRect(0, 0, 40, 30));
    c->Brush()->SetColor(clBlue);
    c->Pie(0, 0, 31, 31, 15, 0, 30, 15);
    EXPECT_EQ(At(10, 20), clBlue);
    EXPECT_EQ(At(10, 10), clBlue);
    EXPECT_EQ(At(20, 20), clBlue);
    EXPECT_EQ(At(22, 8), clWhite);
}

TEST_F(CanvasTest, ArcEndsOnTheRays)
{
    c->Pen()->SetColor(clBlack);
    c->Arc(0, 0, 21, 21, 20, 10, 10, 0);   // quarter from 3 o'clock to 12 o'clock
    EXPECT_EQ(At(20, 10), clBlack);
    EXPECT_EQ(At(10, 0), clBlack);
    EXPECT_EQ(At(0, 10), clWhite);
    EXPECT_EQ(At(10, 20), clWhite);
}

TEST_F(CanvasTest, FloodFillSurfaceAndBorder)
{
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetStyle(bsClear);
    c->Rectangle(5, 5, 20, 20);
    c->Brush()->SetColor(clRed);
    c->FloodFill(10, 10, clWhite, fsSurface);
    EXPECT_EQ(At(10, 10), clRed);
    EXPECT_EQ(At(6, 6), clRed);
    EXPECT_EQ(At(5, 5), clBlack);
    EXPECT_EQ(At(2, 2), clWhite);   // outside the border untouched
    c->Brush()->SetColor(clBlue);
    c->FloodFill(10, 10, clBlack, fsBorder);
    EXPECT_EQ(At(18, 18), clBlue);
    EXPECT_EQ(At(5, 5), clBlack);
    EXPECT_EQ(At(21, 21), clWhite);
}

// A winding region (a comb with teeth from both sides) reached only through turns up and down:
// every pixel of it is filled, nothing else.
TEST_F(CanvasTest, FloodFillSurfaceFollowsWindingRegions)
{
    c->Brush()->SetColor(clBlack);
    for (int x = 4; x < 36; x += 4)
        c->FillRect(QRect(x, x % 8 ? 0 : 3, 2, 27));
    c->Brush()->SetColor(clGreen);
    c->FloodFill(1, 1, clWhite, fsSurface);
    // Reference: 4-connected search over the white pixels from (1, 1).
    const QImage& img = bmp.Image();
    std::vector<bool> reach(40 * 30, false);
    std::vector<QPoint> todo{{1, 1}};
    reach[41] = true;
    while (!todo.empty()) {
        const QPoint p = todo.back();
        todo.pop_back();
        for (QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
            const QPoint q = p + d;
            if (q.x() < 0 || q.y() < 0 || q.x() >= 40 || q.y() >= 30 || reach[q.y() * 40 + q.x()])
                continue;
            if (FromQColor(QColor::fromRgb(img.pixel(q))) == clBlack)
                continue;
            reach[q.y() * 40 + q.x()] = true;
            todo.push_back(q);
        }
    }
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const TColor got = FromQColor(QColor::fromRgb(img.pixel(x, y)));
            ASSERT_EQ(got, reach[y * 40 + x] ? clGreen : clBlack) << x << "," << y;
        }
}

TEST_F(CanvasTest, CopyModes)
{
    TBitmap src(4, 4);
    src.Canvas()->Brush()->SetColor(RGB(0xF0, 0x0F, 0x55));
    src.Canvas()->FillRect(QRect(0, 0, 4, 4));
    auto copyWith = [&](TCopyMode m, TColor dest) {
        c->Brush()->SetColor(dest);
        c->FillRect(QRect(0, 0, 4, 4));
        c->SetCopyMode(m);
        c->CopyRect(QRect(0, 0, 4, 4), *src.Canvas(), QRect(0, 0, 4, 4));
        return At(1, 1);
    };
    const TColor d = RGB(0x3C, 0x3C, 0x0F);
    EXPECT_EQ(copyWith(cmSrcCopy, d), RGB(0xF0, 0x0F, 0x55));
    EXPECT_EQ(copyWith(cmSrcAnd, d), RGB(0xF0 & 0x3C, 0x0F & 0x3C, 0x55 & 0x0F));
    EXPECT_EQ(copyWith(cmSrcPaint, d), RGB(0xF0 | 0x3C, 0x0F | 0x3C, 0x55 | 0x0F));
    EXPECT_EQ(copyWith(cmNotSrcCopy, d), RGB(0x0F, 0xF0, 0xAA));
    EXPECT_EQ(copyWith(cmSrcInvert, d), RGB(0xF0 ^ 0x3C, 0x0F ^ 0x3C, 0x55 ^ 0x0F));
}

TEST_F(CanvasTest, CopyRectScalesNearestPixel)
{
    TBitmap src(2, 1);
    src.Canvas()->SetPixels(0, 0, clRed);
    src.Canvas()->SetPixels(1, 0, clBlue);
    c->CopyRect(QRect(0, 0, 8, 2), *src.Canvas(), QRect(0, 0, 2, 1));
    EXPECT_EQ(At(0, 0), clRed);
    EXPECT_EQ(At(3, 1), clRed);
    EXPECT_EQ(At(4, 0), clBlue);
    EXPECT_EQ(At(7, 1), clBlue);
}

TEST_F(CanvasTest, TextOutTopLeftAndOpaqueBackground)
{
    c->Font()->SetColor(clBlack);
    c->Brush()->SetColor(clYellow);
    c->TextOut(4, 3, QStringLiteral("W"));
    const int w = c->TextWidth(QStringLiteral("W"));
    const int h = c->TextHeight(QStringLiteral("W"));
    ASSERT_GT(w, 0);
    ASSERT_GT(h, 0);
    EXPECT_EQ(At(4, 3), clYellow);               // cell background in the brush colour
    EXPECT_EQ(At(4 + w - 1, 3 + h - 1), clYellow);
    EXPECT_EQ(At(4 + w, 3), clWhite);
    EXPECT_EQ(At(3, 3), clWhite);
    EXPECT_EQ(c->TextHeight(QString()), c->Font()->ToQFont().pixelSize() > 0 ? h : h);
}

TEST_F(CanvasTest, TextOutMovesThePenPastTheTextInItsFont)
{
    c->MoveTo(0, 0);
    c->TextOut(3, 4, QStringLiteral("abc"));
    const int w = c->TextWidth(QStringLiteral("abc"));
    c->Font()->SetHeight(-30);   // a later font change does not alter where the pen went
    EXPECT_EQ(c->PenPos(), QPoint(3 + w, 4));
    c->TextOut(0, 0, QStringLiteral("x"));
    c->MoveTo(7, 8);
    EXPECT_EQ(c->PenPos(), QPoint(7, 8));
}

TEST_F(CanvasTest, TextOutWithClearBrushLeavesBackground)
{
    c->Font()->SetColor(clBlack);
    c->Brush()->SetStyle(bsClear);
    c->TextOut(4, 3, QStringLiteral("."));
    EXPECT_EQ(At(4, 3), clWhite);
}

TEST_F(CanvasTest, TextRectClipsToRect)
{
    c->Font()->SetColor(clBlack);
    c->Font()->SetQuality(fqNonAntialiased);
    c->Brush()->SetColor(clAqua);
    const QRect r(10, 10, 6, 8);
    c->TextRect(r, 10, 10, QStringLiteral("WWWWWWWW"));
    EXPECT_EQ(At(9, 12), clWhite);
    for (int x = 16; x < 40; ++x)
        for (int y = 0; y < 30; ++y)
            ASSERT_EQ(At(x, y), clWhite) << x << "," << y;
    int dark = 0;
    for (int x = 10; x < 16; ++x)
        for (int y = 10; y < 18; ++y)
            dark += At(x, y) == clBlack;
    EXPECT_GT(dark, 0);
}

TEST_F(CanvasTest, ClipRectLimitsDrawing)
{
    c->SetClipRect(QRect(5, 5, 10, 10));
    c->Brush()->SetColor(clRed);
    c->FillRect(QRect(0, 0, 40, 30));
    EXPECT_EQ(At(5, 5), clRed);
    EXPECT_EQ(At(14, 14), clRed);
    c->ResetClipRect();
    EXPECT_EQ(At(4, 4), clWhite);
    EXPECT_EQ(At(15, 15), clWhite);
}

TEST_F(CanvasTest, PixelsOutsideReadInvalidAndIgnoreWrites)
{
    EXPECT_EQ(c->Pixels(-1, 0), CLR_INVALID);
    EXPECT_EQ(c->Pixels(40, 0), CLR_INVALID);
    c->SetPixels(100, 100, clRed);   // no crash
    c->SetPixels(3, 4, clRed);
    EXPECT_EQ(At(3, 4), clRed);
}

TEST_F(CanvasTest, RotatedTextGoesUpward)
{
    TBitmap b(60, 60);
    TCanvas* cv = b.Canvas();
    cv->Brush()->SetColor(clWhite);
    cv->FillRect(QRect(0, 0, 60, 60));
    cv->Brush()->SetStyle(bsClear);
    cv->Font()->SetColor(clBlack);
    cv->Font()->SetOrientation(900);   // 90 degrees counter-clockwise
    cv->TextOut(10, 55, QStringLiteral("IIIIII"));
    int above = 0, right = 0;
    for (int y = 0; y < 55; ++y)
        for (int x = 10; x < 30; ++x)
            above += cv->Pixels(x, y) != clWhite;
    for (int x = 30; x < 60; ++x)
        for (int y = 40; y < 60; ++y)
            right += cv->Pixels(x, y) != clWhite;
    EXPECT_GT(above, 10);
    EXPECT_EQ(right, 0);
}

TEST(Bitmap, SetSizeKeepsPixelsAndLoadsFiles)
{
    TBitmap b(4, 4);
    b.Canvas()->SetPixels(1, 1, clRed);
    b.SetSize(8, 6);
    EXPECT_EQ(b.Width(), 8);
    EXPECT_EQ(b.Height(), 6);
    EXPECT_EQ(b.Canvas()->Pixels(1, 1), clRed);
    EXPECT_EQ(b.Canvas()->Pixels(7, 5), clWhite);
    b.SetSize(-3, 2);
    EXPECT_TRUE(b.Empty());
    b.Canvas()->Rectangle(0, 0, 5, 5);   // drawing on an empty bitmap is harmless

    TBitmap bmp(3, 2);
    bmp.Canvas()->SetPixels(2, 1, clBlue);
    const QString bmpFile = QDir::temp().filePath(QStringLiteral("korvane_canvas_test.bmp"));
    const QString pngFile = QDir::temp().filePath(QStringLiteral("korvane_canvas_test.png"));
    ASSERT_TRUE(bmp.SaveToFile(bmpFile));
    ASSERT_TRUE(bmp.SaveToFile(pngFile));
    for (const QString& f : {bmpFile, pngFile}) {
        TBitmap loaded;
        ASSERT_TRUE(loaded.LoadFromFile(f));
        EXPECT_EQ(loaded.Width(), 3);
        EXPECT_EQ(loaded.Canvas()->Pixels(2, 1), clBlue);
        QFile::remove(f);
    }
    TBitmap keep(2, 2);
    EXPECT_FALSE(keep.LoadFromFile(QStringLiteral("/nonexistent/x.bmp")));
    EXPECT_EQ(keep.Width(), 2);
    EXPECT_THROW(keep.LoadFromFileOrThrow(QStringLiteral("/nonexistent/x.bmp")), EInOutError);
}

TEST(Bitmap, TransparentDrawLeavesKeyColourOut)
{
    TBitmap sprite(3, 3);
    sprite.Canvas()->Brush()->SetColor(clFuchsia);
    sprite.Canvas()->FillRect(QRect(0, 0, 3, 3));
    sprite.Canvas()->SetPixels(1, 1, clRed);
    sprite.SetTransparent(true);
    EXPECT_EQ(sprite.TransparentColor(), clFuchsia);   // bottom-left pixel
    TBitmap dest(5, 5);
    dest.Canvas()->Draw(1, 1, sprite);
    EXPECT_EQ(dest.Canvas()->Pixels(2, 2), clRed);
    EXPECT_EQ(dest.Canvas()->Pixels(1, 1), clWhite);
}

TEST(Font, SizeAndHeight)
{
    TFont f;
    f.SetSize(9);
    EXPECT_EQ(f.Height(), -12);
    f.SetHeight(-16);
    EXPECT_EQ(f.Size(), 12);
    EXPECT_EQ(f.ToQFont().pixelSize(), 16);
    f.SetStyle({fsBold, fsItalic});
    EXPECT_TRUE(f.ToQFont().bold());
    EXPECT_TRUE(f.ToQFont().italic());
    f.SetQuality(fqNonAntialiased);
    EXPECT_EQ(f.ToQFont().styleStrategy() & QFont::NoAntialias, QFont::NoAntialias);
}

TEST(Canvas, OnePixelLinesCoverWholeLogicalPixelsAtAnyPixelRatio)
{
    // A surface of 20 x 20 logical pixels at ratio 2: every logical pixel is 2 x 2.
    QImage img(40, 40, QImage::Format_RGB32);
    img.setDevicePixelRatio(2.0);
    img.fill(Qt::white);
    TCanvas c(&img);
    c.Pen()->SetColor(clBlack);
    c.MoveTo(2, 5);
    c.LineTo(8, 5);                       // pixels 2..7 of row 5
    c.Brush()->SetStyle(bsClear);
    c.Rectangle(10, 10, 15, 15);          // outline over 10..14
    c.Flush();
    auto dark = [&](int x, int y) { return qRed(img.pixel(x, y)) < 128; };
    for (int y : {10, 11})
        for (int x = 4; x < 16; ++x)
            EXPECT_TRUE(dark(x, y)) << x << "," << y;
    EXPECT_FALSE(dark(3, 10));
    EXPECT_FALSE(dark(16, 10));           // the end point is left out
    EXPECT_FALSE(dark(8, 9));
    EXPECT_FALSE(dark(8, 12));
    for (int d : {20, 21, 28, 29}) {      // left and right sides of the box, top row
        EXPECT_TRUE(dark(d, 24)) << d;
    }
    EXPECT_FALSE(dark(22, 24));
    EXPECT_FALSE(dark(30, 24));
    EXPECT_TRUE(dark(24, 20) && dark(24, 21) && !dark(24, 22));
}

} // namespace

