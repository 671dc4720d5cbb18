// TNumIO2 painting: box frame, buttons, gauge, freeze box, caret, selection and captions at
// the pixels the drawing rules give.
#include <gtest/gtest.h>

#include <QOR_NumIO2.h>
#include <test_support.h>

#include <QApplication>

using namespace qor;
using qortest::PixelAt;

namespace {

constexpr TColor kGray = 0x808080;

class NumIO2Paint : public ::testing::Test {
protected:
    void SetUp() override
    {
        f = new TNumIO2;
        f->Font()->SetQuality(fqNonAntialiased);
    }
    void TearDown() override { delete f; }
    QImage Shot()
    {
        f->RenderNow();
        return f->Surface()->Image();
    }
    // Whether any pixel of the rectangle l..r-1 x t..b-1 has the colour.
    static bool Has(const QImage& img, int l, int t, int r, int b, TColor c)
    {
        for (int y = t; y < b; ++y)
            for (int x = l; x < r; ++x)
                if (PixelAt(img, x, y) == c)
                    return true;
        return false;
    }
    TNumIO2* f = nullptr;
};

} // namespace

TEST_F(NumIO2Paint, SunkenNumberBox)
{
    const QImage img = Shot();
    ASSERT_EQ(img.width(), 160);
    EXPECT_EQ(PixelAt(img, 10, 10), ColorToRGB(clBtnFace));
    // Outer rectangle 35..115 x 0..26 in gray.
    EXPECT_EQ(PixelAt(img, 35, 10), kGray);
    EXPECT_EQ(PixelAt(img, 50, 0), kGray);
    EXPECT_EQ(PixelAt(img, 115, 10), kGray);
    EXPECT_EQ(PixelAt(img, 50, 26), kGray);
    // Upper-left inner line black, lower-right line white just outside the rectangle.
    EXPECT_EQ(PixelAt(img, 36, 10), clBlack);
    EXPECT_EQ(PixelAt(img, 50, 1), clBlack);
    EXPECT_EQ(PixelAt(img, 116, 10), clWhite);
    EXPECT_EQ(PixelAt(img, 50, 27), clWhite);
    EXPECT_EQ(PixelAt(img, 117, 10), ColorToRGB(clBtnFace));
    // Inside: the box colour.
    EXPECT_EQ(PixelAt(img, 60, 5), clWhite);
}

TEST_F(NumIO2Paint, FrameStylesOfTheBox)
{
    f->SetFrameStyle(fsRaised);
    QImage img = Shot();
    EXPECT_EQ(PixelAt(img, 36, 10), clWhite);
    EXPECT_EQ(PixelAt(img, 116, 10), clBlack);
    f->SetFrameStyle(fsSimple);
    img = Shot();
    EXPECT_EQ(PixelAt(img, 35, 10), kGray);
    EXPECT_EQ(PixelAt(img, 116, 10), kGray);
    EXPECT_EQ(PixelAt(img, 36, 10), clWhite);
    f->SetFrameStyle(fsEmbossed);
    img = Shot();
    EXPECT_EQ(PixelAt(img, 35, 10), clWhite);
    EXPECT_EQ(PixelAt(img, 36, 10), kGray);
    // No frame: a silver outline round the white box (not frozen).
    f->SetFrameStyle(fsNone);
    img = Shot();
    EXPECT_EQ(PixelAt(img, 35, 10), clSilver);
    EXPECT_EQ(PixelAt(img, 116, 10), clSilver);
    // ... and, frozen, a box-coloured outline round the silver box.
    f->SetFreezeBoxChecked(true);
    img = Shot();
    EXPECT_EQ(PixelAt(img, 35, 10), clWhite);
    EXPECT_EQ(PixelAt(img, 60, 5), clSilver);
    // The system scheme takes the frame lines from the palette.
    f->SetFreezeBoxChecked(false);
    f->SetFrameStyle(fsLowered);
    f->SetColorScheme(csSystemColors);
    img = Shot();
    EXPECT_EQ(PixelAt(img, 35, 10), ColorToRGB(clBtnShadow));
    EXPECT_EQ(PixelAt(img, 116, 10), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(PixelAt(img, 36, 10), clBlack);
}

TEST_F(NumIO2Paint, OutOfRangeAndDisabledColours)
{
    f->SetRangeLow(5.0);
    QImage img = Shot();
    EXPECT_EQ(PixelAt(img, 60, 5), TColor(0x88FFF0));
    f->setEnabled(false);
    img = Shot();
    EXPECT_EQ(PixelAt(img, 60, 5), clSilver);
}

TEST_F(NumIO2Paint, ButtonsWithBevelAndArrows)
{
    f->SetButVisible(true);
    QImage img = Shot();
    // bx = 118, bx2 = 136, h = 14; outline gray, face silver.
    EXPECT_EQ(PixelAt(img, 118, 5), kGray);
    EXPECT_EQ(PixelAt(img, 136, 5), kGray);
    EXPECT_EQ(PixelAt(img, 125, 13), kGray);    // divider
    EXPECT_EQ(PixelAt(img, 119, 5), clWhite);   // bevel, upper button
    EXPECT_EQ(PixelAt(img, 125, 1), clWhite);
    EXPECT_EQ(PixelAt(img, 125, 14), clWhite);  // bevel, lower button
    EXPECT_EQ(PixelAt(img, 137, 10), clBlack);  // shadow
    EXPECT_EQ(PixelAt(img, 130, 27), clBlack);
    EXPECT_EQ(PixelAt(img, 133, 10), clSilver);
    // Up arrow: rows 6, 7, 8 around cx = 127.
    EXPECT_EQ(PixelAt(img, 127, 6), clBlack);
    EXPECT_EQ(PixelAt(img, 128, 6), clBlack);
    EXPECT_EQ(PixelAt(img, 126, 6), clSilver);
    EXPECT_EQ(PixelAt(img, 129, 6), clSilver);
    EXPECT_EQ(PixelAt(img, 126, 7), clBlack);
    EXPECT_EQ(PixelAt(img, 129, 7), clBlack);
    EXPECT_EQ(PixelAt(img, 125, 8), clBlack);
    EXPECT_EQ(PixelAt(img, 130, 8), clBlack);
    EXPECT_EQ(PixelAt(img, 131, 8), clSilver);
    // Down arrow: rows 21, 20, 19.
    EXPECT_EQ(PixelAt(img, 127, 21), clBlack);
    EXPECT_EQ(PixelAt(img, 126, 21), clSilver);
    EXPECT_EQ(PixelAt(img, 125, 19), clBlack);
    EXPECT_EQ(PixelAt(img, 130, 19), clBlack);
    // Read-only grays the arrows; no bevel without But3D.
    f->SetReadOnly(true);
    f->SetBut3D(false);
    img = Shot();
    EXPECT_EQ(PixelAt(img, 127, 6), kGray);
    EXPECT_EQ(PixelAt(img, 119, 5), clSilver);
    EXPECT_EQ(PixelAt(img, 137, 10), ColorToRGB(clBtnFace));
}

TEST_F(NumIO2Paint, GaugeBarAndFrame)
{
    f->SetGaugeVisible(true);
    f->SetValue(500.0);
    QImage img = Shot();
    // Gauge rows 19..26, columns 35..116; the bar is 41 pixels wide (35..75).
    EXPECT_EQ(PixelAt(img, 50, 23), clNavy);
    EXPECT_EQ(PixelAt(img, 75, 23), clNavy);
    EXPECT_EQ(PixelAt(img, 76, 23), clSilver);
    EXPECT_EQ(PixelAt(img, 35, 23), kGray);
    EXPECT_EQ(PixelAt(img, 36, 23), clBlack);
    EXPECT_EQ(PixelAt(img, 50, 20), clBlack);
    EXPECT_EQ(PixelAt(img, 50, 27), clWhite);
    EXPECT_EQ(PixelAt(img, 117, 23), clWhite);
    // The number box now ends above the gauge (rows 0..14 outlined).
    EXPECT_EQ(PixelAt(img, 50, 14), kGray);
    EXPECT_EQ(PixelAt(img, 50, 15), clWhite);
    // Out of range above: full bar; simple frame in the frame colour.
    f->SetValue(5000.0);
    f->SetGaugeFrameStyle(fsSimple);
    f->SetGaugeColorFrame(clRed);
    img = Shot();
    EXPECT_EQ(PixelAt(img, 110, 23), clNavy);
    EXPECT_EQ(PixelAt(img, 35, 23), clRed);
    EXPECT_EQ(PixelAt(img, 116, 23), clRed);
    EXPECT_EQ(PixelAt(img, 50, 27), ColorToRGB(clBtnFace));
    // Read-only draws the bar gray; an empty range counts as full.
    f->SetReadOnly(true);
    f->SetRangeHigh(0.0);
    f->SetValue(0.0);
    img = Shot();
    EXPECT_EQ(PixelAt(img, 110, 23), kGray);
}

TEST_F(NumIO2Paint, FreezeBoxAndTick)
{
    f->resize(200, 28);
    f->SetFreezeBoxVisible(true);
    QImage img = Shot();
    // x0 = 153, box 153..168 x 4..19.
    EXPECT_EQ(PixelAt(img, 153, 10), kGray);
    EXPECT_EQ(PixelAt(img, 154, 10), clBlack);
    EXPECT_EQ(PixelAt(img, 168, 10), clWhite);
    EXPECT_EQ(PixelAt(img, 159, 15), clWhite);
    f->SetFreezeBoxChecked(true);
    EXPECT_TRUE(f->ReadOnly());
    img = Shot();
    EXPECT_EQ(PixelAt(img, 159, 15), clBlack);
    EXPECT_EQ(PixelAt(img, 160, 15), clBlack);
    EXPECT_EQ(PixelAt(img, 157, 13), clBlack);
    EXPECT_EQ(PixelAt(img, 164, 10), clBlack);
    // A frozen field shows a silver number box.
    EXPECT_EQ(PixelAt(img, 60, 5), clSilver);
}

TEST_F(NumIO2Paint, CaretAndSelection)
{
    f->SetAlignment(taLeftJustify);
    f->SetText(QStringLiteral("12"));
    f->SetHideSelection(false);
    // Focus needs a shown, active window.
    f->show();
    f->activateWindow();
    QApplication::processEvents();
    f->SetFocus();  // starts the caret timer with the caret shown
    ASSERT_TRUE(f->hasFocus());
    QImage img = Shot();
    // Caret at offset 0: x = 35 + 3, rows 3..24.
    EXPECT_EQ(PixelAt(img, 38, 3), clBlack);
    EXPECT_EQ(PixelAt(img, 38, 24), clBlack);
    EXPECT_EQ(PixelAt(img, 38, 25), clWhite);
    EXPECT_EQ(PixelAt(img, 38, 2), clWhite);
    // A tick of the caret timer blinks the caret off.
    f->CaretTimer()->Tick();
    img = Shot();
    EXPECT_EQ(PixelAt(img, 38, 4), clWhite);
    // Selecting both characters inverts from x = 39 to 39 + w("12") over rows 3..24.
    f->SetSelBegin(0);
    f->SetSelEnd(2);
    const int w = f->Canvas()->TextWidth(QStringLiteral("12"));
    img = Shot();
    EXPECT_EQ(PixelAt(img, 39, 4), clBlack);
    EXPECT_EQ(PixelAt(img, 39 + w - 1, 24), clBlack);
    EXPECT_EQ(PixelAt(img, 39 + w, 4), clWhite);
    EXPECT_EQ(PixelAt(img, 39, 25), clWhite);
    // Hidden selection while unfocused.
    f->SetHideSelection(true);
    f->clearFocus();
    img = Shot();
    EXPECT_EQ(PixelAt(img, 39, 4), clWhite);
}

TEST_F(NumIO2Paint, NumberPlacementByAlignment)
{
    f->SetText(QStringLiteral("8"));
    f->SetColorBoxText(clRed);
    const int w = f->Canvas()->TextWidth(QStringLiteral("8"));
    struct Case { TAlignment a; int x; } cases[] = {
        {taLeftJustify, 35 + 4}, {taRightJustify, 35 + 80 - w - 2}, {taCenter, 35 + (80 - w) / 2 + 2}};
    for (const auto& c : cases) {
        f->SetAlignment(c.a);
        const QImage img = Shot();
        EXPECT_TRUE(Has(img, c.x, 2, c.x + w, 24, clRed)) << int(c.a);
        EXPECT_FALSE(Has(img, 38, 2, c.x, 24, clRed)) << int(c.a);
        EXPECT_FALSE(Has(img, c.x + w, 2, 113, 24, clRed)) << int(c.a);
        EXPECT_EQ(f->CharPosToXCoords(0), c.x);
        EXPECT_EQ(f->CharPosToXCoords(1), c.x + w);
    }
    // Out of range shows the warning colour; hidden input draws nothing.
    f->SetRangeLow(10.0);
    f->SetColorWarnText(clBlue);
    QImage img = Shot();
    EXPECT_FALSE(Has(img, 36, 2, 114, 24, clRed));
    EXPECT_TRUE(Has(img, 36, 2, 114, 24, clBlue));
    f->SetHideInputEditor(true);
    img = Shot();
    EXPECT_FALSE(Has(img, 37, 2, 114, 24, clBlue));
}

TEST_F(NumIO2Paint, CaptionsAndEngravedDisabledText)
{
    f->resize(220, 28);
    f->SetLeftText(QStringLiteral("Ab"));
    f->SetRightText(QStringLiteral("mV"));
    f->SetColorOutText(clRed);
    const int wl = f->Canvas()->TextWidth(QStringLiteral("Ab"));
    const int wr = f->Canvas()->TextWidth(QStringLiteral("mV"));
    QImage img = Shot();
    // Left caption right-justified: ends 5 pixels before the box.
    const int xl = 35 - wl - 5;
    EXPECT_TRUE(Has(img, xl, 0, xl + wl, 28, clRed));
    EXPECT_FALSE(Has(img, 0, 0, xl, 28, clRed));
    EXPECT_FALSE(Has(img, xl + wl, 0, 35, 28, clRed));
    // Right caption left-justified at 35 + 80 + 7.
    EXPECT_TRUE(Has(img, 122, 0, 122 + wr, 28, clRed));
    EXPECT_FALSE(Has(img, 117, 0, 122, 28, clRed));
    f->SetRightTextAlignment(taRightJustify);
    img = Shot();
    EXPECT_TRUE(Has(img, 220 - wr - 6, 0, 220 - 6, 28, clRed));
    EXPECT_FALSE(Has(img, 117, 0, 220 - wr - 6, 28, clRed));
    f->setEnabled(false);
    img = Shot();
    EXPECT_FALSE(Has(img, 0, 0, 220, 28, clRed));
    EXPECT_TRUE(Has(img, xl, 0, xl + wl, 28, kGray));
    EXPECT_TRUE(Has(img, xl + 1, 1, xl + wl + 1, 28, clWhite));
}

TEST_F(NumIO2Paint, AutoSizeFollowsTheFont)
{
    f->SetAutoSize(true);
    f->RenderNow();
    EXPECT_EQ(f->height(), f->Canvas()->TextHeight(QStringLiteral("E0")) + 6);
}
