// Seven-segment display: the segment shapes, caption parsing, the digit cells copied from the
// glyph strip, white text, the frame, and when the strip is rebuilt.
#include <gtest/gtest.h>

#include <QOR_sevenseg.h>
#include <test_support.h>

#include "test_labels_support.h"

#include <QAccessible>
#include <QFile>

using namespace qor;
using qortest::PixelAt;

namespace {

constexpr TColor kBack = 0x333333;

QImage Rendered(TSevenSeg& s)
{
    s.RenderNow();
    return s.Surface()->Image();
}

int Glyph(char16_t c)
{
    for (int k = 0; k < SevenSegGlyphCount; ++k)
        if (SevenSegCharList[k] == c)
            return k;
    return -1;
}

// The default display: 216 x 76, margin 8, gap 2, four digits: cells 48 x 60 every 50 pixels.
constexpr int kW = 48, kH = 60;
QRect DigitCell(int n) { return QRect(8 + n * 50, 8, kW, kH); }
QRect StripCell(int k) { return QRect(k * kW, 0, kW, kH); }
// The decimal point's corner of a cell.
QRect PointPart(const QRect& cell)
{
    const int dx = kW * 5 / 6, dy = kH * 5 / 6;
    return QRect(cell.left() + dx, cell.top() + dy, kW - dx, kH - dy);
}

bool AllColour(const QImage& img, const QRect& r, TColor c)
{
    return labeltest::CountColor(img, r, c) == r.width() * r.height();
}

TEST(SevenSegShapes, ResourcesHaveTheirSizesAndDepths)
{
    struct Shape { const char* Name; int W, H, Bits; };
    for (const Shape& s : {Shape{"SEGVERT", 68, 190, 1}, Shape{"SEGHORZ", 200, 38, 1}, Shape{"SEGDOT", 38, 38, 1},
                           Shape{"SEGPLUS", 200, 190, 24}, Shape{"SEGDEG", 160, 138, 24},
                           Shape{"SEGCOLON", 68, 190, 24}}) {
        QFile f(QStringLiteral(":/korvane/%1.bmp").arg(QLatin1String(s.Name)));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << s.Name;
        const QByteArray header = f.read(30);
        EXPECT_EQ(header.left(2), "BM");
        EXPECT_EQ(quint8(header[28]), s.Bits) << s.Name;
        TBitmap bmp;
        ASSERT_TRUE(bmp.LoadFromResourceName(QLatin1String(s.Name)));
        EXPECT_EQ(bmp.Width(), s.W) << s.Name;
        EXPECT_EQ(bmp.Height(), s.H) << s.Name;
    }
}

// Colouring fills the black region at the seed points: it must be the whole shape.
TEST(SevenSegShapes, SeedFillsColourTheWholeShape)
{
    struct Seeds { const char* Name; QVector<QPoint> At; };
    for (const Seeds& s : {Seeds{"SEGVERT", {{34, 95}}}, Seeds{"SEGHORZ", {{100, 19}}}, Seeds{"SEGDOT", {{19, 19}}},
                           Seeds{"SEGPLUS", {{100, 95}}}, Seeds{"SEGDEG", {{18, 120}, {142, 18}}},
                           Seeds{"SEGCOLON", {{25, 95}}}}) {
        TBitmap bmp;
        ASSERT_TRUE(bmp.LoadFromResourceName(QLatin1String(s.Name)));
        const QImage before = bmp.Image();
        const int black = labeltest::CountColor(before, before.rect(), clBlack);
        EXPECT_EQ(black + labeltest::CountColor(before, before.rect(), clWhite), before.width() * before.height())
            << s.Name << ": black and white only";
        bmp.Canvas()->Brush()->SetColor(clRed);
        for (QPoint p : s.At) {
            EXPECT_EQ(PixelAt(bmp.Image(), p.x(), p.y()), clBlack) << s.Name;
            bmp.Canvas()->FloodFill(p.x(), p.y(), clBlack, fsSurface);
        }
        EXPECT_EQ(labeltest::CountColor(bmp.Image(), before.rect(), clBlack), 0) << s.Name;
        EXPECT_EQ(labeltest::CountColor(bmp.Image(), before.rect(), clRed), black) << s.Name;
    }
}

TEST(SevenSegCaption, CellsAndDecimalPoints)
{
    using C = TSevenSegCell;
    const int one = Glyph(u'1'), two = Glyph(u'2'), five = Glyph(u'5'), eight = Glyph(u'8');
    EXPECT_EQ(SevenSegCells(QStringLiteral("12.5"), 4), (QVector<C>{{one, false}, {two, true}, {five, false}}));
    EXPECT_EQ(SevenSegCells(QStringLiteral(".5"), 4), (QVector<C>{{-1, true}, {five, false}}));
    EXPECT_EQ(SevenSegCells(QStringLiteral("8,8"), 4), (QVector<C>{{eight, true}, {eight, false}}));
    EXPECT_EQ(SevenSegCells(QStringLiteral("1.."), 4), (QVector<C>{{one, true}, {-1, true}}));
    EXPECT_EQ(SevenSegCells(QStringLiteral("8.8.8.8."), 4), (QVector<C>(4, {eight, true})));
    EXPECT_EQ(SevenSegCells(QStringLiteral("123456"), 4).size(), 4);
    EXPECT_EQ(SevenSegCells(QStringLiteral("12345.6"), 5).last(), (C{five, true}));
    EXPECT_TRUE(SevenSegCells(QString(), 4).isEmpty());
    EXPECT_EQ(SevenSegCells(QStringLiteral("aFg"), 4), (QVector<C>{{Glyph(u'A'), false}, {Glyph(u'F'), false}, {-1, false}}));
    EXPECT_EQ(SevenSegCells(QStringLiteral("-+:\u00B0"), 4),
              (QVector<C>{{Glyph(u'-'), false}, {Glyph(u'+'), false}, {Glyph(u':'), false}, {Glyph(u'\u00B0'), false}}));
    // A character outside the basic plane fills one cell, not two.
    EXPECT_EQ(SevenSegCells(QStringLiteral("\U0001F600.1"), 4), (QVector<C>{{-1, true}, {one, false}}));
}

TEST(SevenSegPaint, DigitCellsAreCopiedFromTheStrip)
{
    TSevenSeg s;
    s.SetCaption(QStringLiteral("12.5"));
    const QImage img = Rendered(s);
    const QImage strip = s.GlyphStrip();
    ASSERT_EQ(strip.size(), QSize(21 * kW, kH));
    EXPECT_EQ(img.copy(DigitCell(0)), strip.copy(StripCell(Glyph(u'1'))));
    // "2" with the point corner of the "." cell.
    QImage two = strip.copy(StripCell(Glyph(u'2')));
    const QRect point = PointPart(QRect(0, 0, kW, kH));
    const QImage dot = strip.copy(PointPart(StripCell(Glyph(u'.'))));
    EXPECT_EQ(img.copy(PointPart(DigitCell(1))), dot);
    EXPECT_FALSE(AllColour(dot, dot.rect(), kBack));   // the point is visible
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            if (!point.contains(x, y))
                ASSERT_EQ(PixelAt(img, DigitCell(1).left() + x, DigitCell(1).top() + y), PixelAt(two, x, y)) << x << "," << y;
    EXPECT_EQ(img.copy(DigitCell(2)), strip.copy(StripCell(Glyph(u'5'))));
    EXPECT_TRUE(AllColour(img, DigitCell(3), kBack));     // the fourth cell stays empty
    EXPECT_TRUE(AllColour(img, QRect(2, 2, 6, 72), kBack));   // margin
    EXPECT_TRUE(AllColour(img, QRect(56, 8, 2, 60), kBack));  // gap between cells 0 and 1
}

TEST(SevenSegPaint, PointOnlyCellAndUnknownCharacters)
{
    TSevenSeg s;
    s.SetCaption(QStringLiteral(".5G"));
    const QImage img = Rendered(s);
    const QImage strip = s.GlyphStrip();
    EXPECT_EQ(img.copy(PointPart(DigitCell(0))), strip.copy(PointPart(StripCell(Glyph(u'.')))));
    EXPECT_EQ(img.copy(DigitCell(0)), strip.copy(StripCell(Glyph(u'.'))));   // nothing but the point
    EXPECT_EQ(img.copy(DigitCell(1)), strip.copy(StripCell(Glyph(u'5'))));
    EXPECT_TRUE(AllColour(img, DigitCell(2), kBack));
    // Lower case shows as upper case; the caption is cut at NumDigits cells.
    TSevenSeg lower, upper;
    lower.SetCaption(QStringLiteral("abcdef"));
    upper.SetCaption(QStringLiteral("ABCD"));
    EXPECT_EQ(Rendered(lower), Rendered(upper));
}

TEST(SevenSegPaint, SegmentsLitAndUnlit)
{
    TSevenSeg s;
    s.SetColorText(clLime);
    s.SetCaption(QStringLiteral("81"));
    const QImage img = Rendered(s);
    // Middle of segment 4 (the middle bar), at glyph (157, 216), and of segment 1 at (194, 19).
    const QPoint mid(157 * kW / 312, 216 * kH / 432), top(194 * kW / 312, 2);
    EXPECT_EQ(PixelAt(img, DigitCell(0).left() + mid.x(), DigitCell(0).top() + mid.y()), clLime);
    EXPECT_EQ(PixelAt(img, DigitCell(0).left() + top.x(), DigitCell(0).top() + top.y()), clLime);
    EXPECT_EQ(PixelAt(img, DigitCell(1).left() + mid.x(), DigitCell(1).top() + mid.y()), kBack);
    EXPECT_EQ(PixelAt(img, DigitCell(1).left() + top.x(), DigitCell(1).top() + top.y()), kBack);
    // The holes of the 8 are background, not the white working canvas.
    EXPECT_EQ(PixelAt(img, DigitCell(0).left() + 170 * kW / 312, DigitCell(0).top() + 110 * kH / 432), kBack);
    EXPECT_EQ(labeltest::CountColor(img, QRect(2, 2, 212, 72), clWhite), 0);
}

TEST(SevenSegPaint, WhiteTextIsDrawnAsFEFEFE)
{
    TSevenSeg s;
    s.SetColorText(clWhite);
    s.SetFrameStyle(fsNone);
    s.SetCaption(QStringLiteral("8"));
    const QImage img = Rendered(s);
    const QPoint mid(157 * kW / 312, 216 * kH / 432);
    EXPECT_EQ(PixelAt(img, DigitCell(0).left() + mid.x(), DigitCell(0).top() + mid.y()), 0xFEFEFE);
    EXPECT_GT(labeltest::CountColor(img, DigitCell(0), 0xFEFEFE), 100);
    EXPECT_EQ(labeltest::CountColor(img, img.rect(), clWhite), 0);
}

TEST(SevenSegPaint, FrameAroundTheWholeControl)
{
    TSevenSeg s;   // fsLowered
    QImage img = Rendered(s);
    EXPECT_EQ(PixelAt(img, 0, 30), clGray);
    EXPECT_EQ(PixelAt(img, 100, 0), clGray);
    EXPECT_EQ(PixelAt(img, 215, 30), clWhite);
    EXPECT_EQ(PixelAt(img, 100, 75), clWhite);
    EXPECT_EQ(PixelAt(img, 1, 30), clBlack);
    EXPECT_EQ(PixelAt(img, 214, 30), clSilver);
    EXPECT_EQ(PixelAt(img, 2, 30), kBack);
    s.SetFrameStyle(fsNone);
    img = Rendered(s);
    EXPECT_EQ(PixelAt(img, 0, 30), kBack);
    EXPECT_EQ(PixelAt(img, 215, 75), kBack);
}

TEST(SevenSegStrip, RebuiltOnlyWhenItsInputsChange)
{
    TSevenSeg s;
    s.GlyphStrip();
    EXPECT_EQ(s.GlyphStripBuilds(), 1);
    for (const char* caption : {"1", "2.3", "-4.5E", "", "8.8.8.8."}) {
        s.SetCaption(QLatin1String(caption));
        Rendered(s);
    }
    s.SetFrameStyle(fsRaised);
    s.SetColorScheme(csSystemColors);
    s.SetColorText(clRed);   // the value it has
    Rendered(s);
    EXPECT_EQ(s.GlyphStripBuilds(), 1);

    int builds = 1;
    auto rebuiltOnce = [&](const char* what) {
        Rendered(s);
        Rendered(s);
        EXPECT_EQ(s.GlyphStripBuilds(), ++builds) << what;
    };
    s.SetColorText(clYellow);
    s.SetColorText(clAqua);   // two changes, one rebuild
    rebuiltOnce("text colour");
    s.SetColorBackGnd(clNavy);
    rebuiltOnce("background");
    s.SetMargin(4);
    rebuiltOnce("margin");
    EXPECT_EQ(s.CellWidth(), (216 - 8) / 4 - 2);
    s.SetInterDigDist(6);
    rebuiltOnce("gap");
    s.SetNumDigits(6);
    rebuiltOnce("digits");
    EXPECT_EQ(s.GlyphStrip().size(), QSize(21 * s.CellWidth(), 76 - 8));
    s.resize(300, 100);
    rebuiltOnce("size");
    s.resize(300, 100);
    Rendered(s);
    EXPECT_EQ(s.GlyphStripBuilds(), builds);
}

TEST(SevenSegStrip, SettersKeepTheirLimits)
{
    TSevenSeg s;
    s.SetNumDigits(0);
    s.SetNumDigits(33);
    EXPECT_EQ(s.NumDigits(), 4);
    s.SetNumDigits(32);
    EXPECT_EQ(s.NumDigits(), 32);
    s.SetInterDigDist(300);
    EXPECT_EQ(s.InterDigDist(), 255);
    s.SetInterDigDist(-4);
    EXPECT_EQ(s.InterDigDist(), 255);
    s.SetMargin(100);
    EXPECT_EQ(s.Margin(), 76 / 2 - 1);
    s.SetMargin(-3);
    EXPECT_EQ(s.Margin(), 37);
    // No room for the cells: nothing but background and frame, and no crash.
    EXPECT_EQ(s.CellWidth(), 0);
    EXPECT_TRUE(s.GlyphStrip().isNull());
    const QImage img = Rendered(s);
    EXPECT_EQ(PixelAt(img, 100, 38), kBack);
    EXPECT_EQ(s.size(), QSize(216, 76));
}

TEST(SevenSegStrip, AssignShowsWhatTheSourceShows)
{
    TSevenSeg src, dst;
    src.SetCaption(QStringLiteral("-1.5\u00B0"));
    src.SetColorText(clYellow);
    src.SetColorBackGnd(clNavy);
    src.SetNumDigits(5);
    src.SetMargin(5);
    src.SetInterDigDist(4);
    src.SetFrameStyle(fsRaised);
    src.SetColorScheme(csSystemColors);
    dst.Assign(&src);
    EXPECT_EQ(dst.ColorScheme(), csSystemColors);
    EXPECT_EQ(Rendered(dst), Rendered(src));
    TSevenSeg back;
    dst.AssignTo(&back);
    EXPECT_EQ(back.Caption(), src.Caption());

    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&dst);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::StaticText);
    EXPECT_EQ(iface->text(QAccessible::Value), src.Caption());
}

} // namespace
