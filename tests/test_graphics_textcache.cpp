// The text cache: the widths and pictures of TextWidth and TextRect, kept per font.
#include <gtest/gtest.h>

#include <QOR_TextCache.h>

#include "test_support.h"

using namespace qor;

namespace {

QImage Drawn(const std::function<void(TCanvas*)>& draw)
{
    TBitmap bmp(120, 40);
    TCanvas* cv = bmp.Canvas();
    cv->Font()->SetName(QStringLiteral("DejaVu Sans"));
    cv->Font()->SetHeight(-13);
    cv->Brush()->SetColor(clWhite);
    cv->FillRect(0, 0, 120, 40);
    cv->Brush()->SetColor(0xE0F0FF);
    draw(cv);
    return bmp.Image().copy();
}

} // namespace

TEST(TextCache, DrawsAndMeasuresAsTheCanvasDoes)
{
    TTextCache cache;
    const QRect rect(10, 5, 90, 25);
    for (const QString& s : {QStringLiteral("Mär 2024"), QStringLiteral("17"), QStringLiteral("Día")}) {
        const QImage plain = Drawn([&](TCanvas* cv) {
            cv->Font()->SetColor(clNavy);
            cv->TextRect(rect, 14, 8, s);
        });
        const QImage cached = Drawn([&](TCanvas* cv) {
            EXPECT_EQ(cache.TextWidth(cv, s), cv->TextWidth(s));
            cache.TextRect(cv, rect, 14, 8, s, clNavy);
        });
        EXPECT_EQ(plain, cached) << s.toStdString();
    }
    // Clipped to the rectangle, and the brush left alone when it is clear.
    const QImage clipped = Drawn([&](TCanvas* cv) {
        cv->Brush()->SetStyle(bsClear);
        cache.TextRect(cv, QRect(10, 5, 12, 25), 10, 8, QStringLiteral("WWWW"), clBlack);
    });
    EXPECT_EQ(qortest::PixelAt(clipped, 11, 6), clWhite);
    bool inkRight = false, inkInside = false;
    for (int y = 5; y < 30; ++y) {
        inkRight |= qortest::PixelAt(clipped, 23, y) != clWhite;
        inkInside |= qortest::PixelAt(clipped, 15, y) != clWhite;
    }
    EXPECT_TRUE(inkInside);
    EXPECT_FALSE(inkRight);
}

TEST(TextCache, ANewFontMeasuresAgain)
{
    TTextCache cache;
    TBitmap bmp(50, 50);
    TCanvas* cv = bmp.Canvas();
    cv->Font()->SetName(QStringLiteral("DejaVu Sans"));
    cv->Font()->SetHeight(-11);
    const int small = cache.TextWidth(cv, QStringLiteral("Wednesday"));
    EXPECT_EQ(small, cv->TextWidth(QStringLiteral("Wednesday")));
    cv->Font()->SetColor(clRed);   // colour alone: the same layout
    EXPECT_EQ(cache.TextWidth(cv, QStringLiteral("Wednesday")), small);
    cv->Font()->SetHeight(-22);
    EXPECT_EQ(cache.TextWidth(cv, QStringLiteral("Wednesday")), cv->TextWidth(QStringLiteral("Wednesday")));
    EXPECT_GT(cache.TextWidth(cv, QStringLiteral("Wednesday")), small);
    cv->Font()->SetStyle({fsBold});
    EXPECT_EQ(cache.TextWidth(cv, QStringLiteral("Wednesday")), cv->TextWidth(QStringLiteral("Wednesday")));
}
