// Thumbnail pane drawing: the empty panels with their numbers, covers and frames, selected
// covers, pictures scaled with their aspect ratio (nearest and smooth), markers, the request
// order and its buffer rules, nested paints, the highlight rings and the control's border.
#include <gtest/gtest.h>

#include <QOR_Thumbnails.h>
#include <test_support.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QSet>
#include <vector>

using namespace qor;
using qortest::PixelAt;

namespace {

constexpr TColor Back = 0x102030;

QImage Rendered(TThumbnails& t)
{
    t.RenderNow();
    return t.Surface()->Image();
}

// A pane in the default geometry (one column, slide 1 at (10, 12)..(144, 146)) with a plain
// background colour.
void Plain(TThumbnails& t)
{
    t.SetColorBackGnd(Back);
}

// A handler that shows slide k as a picture of the given size and colour.
TImageRequestEvent ShowPicture(int w, int h, TColor colour)
{
    return [=](QObject*, int, TImageRequestProcessing& how, int&, TBitmap& buffer) {
        how = irpShowSlide;
        buffer.SetSize(w, h);
        buffer.Canvas()->Brush()->SetColor(colour);
        buffer.Canvas()->FillRect(0, 0, w, h);
    };
}

TEST(ThumbnailsPaint, EmptyPanelsShowCoverFrameAndNumber)
{
    TThumbnails t;
    Plain(t);
    const QImage img = Rendered(t);
    // Cover inside the raised slide frame on (10, 12, 144, 146).
    EXPECT_EQ(PixelAt(img, 12, 20), clSilver);
    EXPECT_EQ(PixelAt(img, 10, 50), clSilver);       // outer top-left ring: light grey
    EXPECT_EQ(PixelAt(img, 11, 50), clWhite);        // inner top-left ring
    EXPECT_EQ(PixelAt(img, 144, 50), clBlack);       // outer bottom-right ring
    EXPECT_EQ(PixelAt(img, 143, 50), clGray);
    EXPECT_EQ(PixelAt(img, 50, 146), clBlack);
    EXPECT_EQ(PixelAt(img, 145, 50), Back);          // nothing right of the slide
    // The white panel (17, 39, 137, 119) outlined in black.
    EXPECT_EQ(PixelAt(img, 17, 39), clBlack);
    EXPECT_EQ(PixelAt(img, 136, 118), clBlack);
    EXPECT_EQ(PixelAt(img, 137, 60), clSilver);
    EXPECT_EQ(PixelAt(img, 20, 45), clWhite);
    EXPECT_EQ(PixelAt(img, 20, 38), clSilver);
    // The number in black, centred on (77, 79).
    QRect ink;
    for (int y = 40; y < 118; ++y)
        for (int x = 18; x < 136; ++x)
            if (PixelAt(img, x, y) != clWhite)
                ink |= QRect(x, y, 1, 1);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_NEAR(ink.center().x(), 77, 2);
    EXPECT_NEAR(ink.center().y(), 79, 3);
    // Slide 2 one pitch further down.
    EXPECT_EQ(PixelAt(img, 17, 39 + 136), clBlack);
}

TEST(ThumbnailsPaint, BandsAndControlFrame)
{
    TThumbnails t;
    Plain(t);
    t.SetFirstThumbIdx(1.5);   // half a row up: slides reach into the top band
    const QImage img = Rendered(t);
    // Bands (0, 0, 260, 10) and (0, 390, 260, 400), then the lowered frame on (0, 0, 258, 398).
    EXPECT_EQ(PixelAt(img, 50, 5), Back);
    EXPECT_EQ(PixelAt(img, 50, 395), Back);
    EXPECT_EQ(PixelAt(img, 50, 0), clGray);
    EXPECT_EQ(PixelAt(img, 0, 50), clGray);
    EXPECT_EQ(PixelAt(img, 50, 1), clBlack);
    EXPECT_EQ(PixelAt(img, 258, 50), clWhite);
    EXPECT_EQ(PixelAt(img, 257, 50), clSilver);
    EXPECT_EQ(PixelAt(img, 50, 398), clWhite);
    EXPECT_EQ(PixelAt(img, 50, 397), clSilver);
    EXPECT_EQ(PixelAt(img, 259, 50), Back);
    EXPECT_EQ(PixelAt(img, 50, 399), Back);
    // Below the band the slide shows: row 1 starts at 12 - 68 = -56.
    EXPECT_EQ(PixelAt(img, 12, 11), clSilver);
}

TEST(ThumbnailsPaint, SelectedSlideHasTheSelectedCover)
{
    TThumbnails t;
    Plain(t);
    t.SetColorSelected(0x0000AA);
    t.SetSlideSelected(2, true);
    const QImage img = Rendered(t);
    EXPECT_EQ(PixelAt(img, 12, 20), clSilver);
    EXPECT_EQ(PixelAt(img, 12, 20 + 136), 0x0000AA);
}

TEST(ThumbnailsPaint, PicturesKeepTheirAspectRatio)
{
    TThumbnails t;
    Plain(t);
    t.SetInnerFrameStyle(fsLowered);
    t.OnImageRequest = ShowPicture(40, 20, clRed);   // landscape: 120 x 60 at (17, 49)
    QImage img = Rendered(t);
    EXPECT_EQ(PixelAt(img, 70, 80), clRed);
    EXPECT_EQ(PixelAt(img, 19, 51), clRed);
    EXPECT_EQ(PixelAt(img, 135, 107), clRed);
    EXPECT_EQ(PixelAt(img, 70, 48), clSilver);       // cover above and below
    EXPECT_EQ(PixelAt(img, 70, 110), clSilver);
    // The inner frame on (17, 49, 137, 109), corners inclusive.
    EXPECT_EQ(PixelAt(img, 70, 49), clGray);
    EXPECT_EQ(PixelAt(img, 17, 80), clGray);
    EXPECT_EQ(PixelAt(img, 70, 50), clBlack);
    EXPECT_EQ(PixelAt(img, 70, 109), clWhite);
    EXPECT_EQ(PixelAt(img, 137, 80), clWhite);

    t.OnImageRequest = ShowPicture(20, 40, clLime);  // portrait: 60 x 120 at (47, 19)
    img = Rendered(t);
    EXPECT_EQ(PixelAt(img, 77, 80), clLime);
    EXPECT_EQ(PixelAt(img, 49, 21), clLime);
    EXPECT_EQ(PixelAt(img, 105, 137), clLime);
    EXPECT_EQ(PixelAt(img, 45, 80), clSilver);
    EXPECT_EQ(PixelAt(img, 109, 80), clSilver);
    EXPECT_EQ(PixelAt(img, 47, 80), clGray);
    EXPECT_EQ(PixelAt(img, 107, 80), clWhite);

    t.OnImageRequest = ShowPicture(3, 7, clBlue);    // f = Round(3 * 120 / 7) = Round(51.43) = 51
    img = Rendered(t);
    EXPECT_EQ(PixelAt(img, 10 + 7 + 34 + 2, 80), clBlue);   // left edge 51 (+ the frame)
    EXPECT_EQ(PixelAt(img, 10 + 7 + 34 + 50 - 2, 80), clBlue);
    EXPECT_EQ(PixelAt(img, 10 + 7 + 34 + 52, 80), clSilver);
}

// The distinct colours along a row of the picture's rectangle.
int ColoursAlong(const QImage& img, int y, int x0, int x1)
{
    QSet<TColor> colours;
    for (int x = x0; x <= x1; ++x)
        colours.insert(PixelAt(img, x, y));
    return int(colours.size());
}

TEST(ThumbnailsPaint, AntiAliasScalesSmoothly)
{
    TThumbnails t;
    Plain(t);
    t.SetInnerFrameStyle(fsNone);
    t.OnImageRequest = [](QObject*, int, TImageRequestProcessing& how, int&, TBitmap& buffer) {
        how = irpShowSlide;
        buffer.SetSize(4, 2);
        for (int x = 0; x < 4; ++x)
            for (int y = 0; y < 2; ++y)
                buffer.Canvas()->SetPixels(x, y, x % 2 ? clWhite : clBlack);
    };
    EXPECT_EQ(ColoursAlong(Rendered(t), 80, 17, 136), 2);   // nearest pixel: black and white only
    t.SetAntiAlias(true);
    EXPECT_GT(ColoursAlong(Rendered(t), 80, 17, 136), 4);   // smooth: greys between
}

TEST(ThumbnailsPaint, ProcessingModesAndMarkers)
{
    TThumbnails t;
    Plain(t);
    t.SetColorMark(0x00AA00);
    t.OnImageRequest = [](QObject*, int k, TImageRequestProcessing& how, int& mark, TBitmap&) {
        how = k == 1 ? irpShowFrameOnly : irpShowNothing;
        mark = k == 1 ? 2 : 8;   // filled circle and filled square, small
    };
    const QImage img = Rendered(t);
    EXPECT_EQ(PixelAt(img, 20, 45), clSilver);              // frame only: no white panel
    EXPECT_EQ(PixelAt(img, 11, 50), clWhite);
    EXPECT_EQ(PixelAt(img, 20, 24), 0x00AA00);             // marker centred on (X + 10, Y + 12)
    EXPECT_EQ(PixelAt(img, 40, 80 + 136), Back);            // nothing: no cover
    EXPECT_EQ(PixelAt(img, 20, 24 + 136), 0x00AA00);       // the marker all the same
}

TEST(ThumbnailsPaint, RequestsInColumnOrderBetweenFirstAndLast)
{
    TThumbnails t;
    t.resize(300, 300);   // 2 columns, 3 rows
    t.SetMax(5);
    std::vector<int> calls;
    t.OnFirstImageRequest = [&](QObject*) { calls.push_back(-1); };
    t.OnLastImageRequest = [&](QObject*) { calls.push_back(-2); };
    t.OnImageRequest = [&](QObject*, int k, TImageRequestProcessing& how, int& mark, TBitmap& buffer) {
        EXPECT_EQ(how, irpShowEmpty);
        EXPECT_EQ(mark, -1);
        EXPECT_TRUE(buffer.Empty());
        calls.push_back(k);
    };
    std::vector<int> rendered;
    t.OnSlideRendered = [&](QObject*, TCanvas*, int x, int y, int k) {
        int px = 0, py = 0;
        t.CalcSlidePos(k, px, py);
        EXPECT_EQ(QPoint(x, y), QPoint(px, py));
        rendered.push_back(k);
    };
    t.RenderNow();
    EXPECT_EQ(calls, (std::vector<int>{-1, 1, 3, 5, 2, 4, -2}));   // slide 6 is beyond Max
    EXPECT_EQ(rendered, (std::vector<int>{1, 3, 5, 2, 4}));
}

TEST(ThumbnailsPaint, TheBufferIsEmptyAtEveryRequest)
{
    // A handler that asks to show a picture without drawing one never shows the previous one.
    TThumbnails t;
    Plain(t);
    t.SetMax(2);
    t.OnImageRequest = [](QObject*, int k, TImageRequestProcessing& how, int&, TBitmap& buffer) {
        how = irpShowSlide;
        if (k == 1) {
            buffer.SetSize(10, 10);
            buffer.Canvas()->Brush()->SetColor(clRed);
            buffer.Canvas()->FillRect(0, 0, 10, 10);
        }
    };
    const QImage img = Rendered(t);
    EXPECT_EQ(PixelAt(img, 77, 79), clRed);
    EXPECT_EQ(PixelAt(img, 77, 79 + 136), clSilver);

    // A picture the handler keeps is shared, not taken: it survives every paint unchanged.
    TBitmap kept(8, 8);
    kept.Canvas()->Brush()->SetColor(clBlue);
    kept.Canvas()->FillRect(0, 0, 8, 8);
    t.OnImageRequest = [&](QObject*, int, TImageRequestProcessing& how, int&, TBitmap& buffer) {
        how = irpShowSlide;
        buffer.SetImage(kept.Image());
        buffer.Canvas()->SetPixels(0, 0, clRed);   // drawing on the buffer leaves the kept one
    };
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(PixelAt(Rendered(t), 77, 79), clBlue);
    EXPECT_EQ(kept.Width(), 8);
    EXPECT_EQ(PixelAt(kept.Image(), 0, 0), clBlue);
}

TEST(ThumbnailsPaint, NestedPaintsAreIgnored)
{
    TThumbnails t;
    int requests = 0;
    t.OnImageRequest = [&](QObject*, int, TImageRequestProcessing&, int&, TBitmap&) {
        ++requests;
        t.RenderNow();
        t.Repaint();
    };
    t.RenderNow();
    EXPECT_EQ(requests, 3);
}

void MoveTo(QWidget& w, QPoint p)
{
    QMouseEvent e(QEvent::MouseMove, p, w.mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
}

TEST(ThumbnailsPaint, HighlightRingsFollowTheMouse)
{
    constexpr TColor Focus = 0x0000EE;
    TThumbnails t;
    Plain(t);
    t.SetColorFocus(Focus);
    t.SetFocusLinewidth(2);
    t.RenderNow();
    int requests = 0;
    t.OnImageRequest = [&](QObject*, int, TImageRequestProcessing&, int&, TBitmap&) { ++requests; };
    MoveTo(t, {50, 50});
    ASSERT_EQ(t.FocusedSlide(), 1);
    // Rings (12, 14, 142, 144) and (13, 15, 141, 143), drawn without asking for pictures.
    QImage img = t.Surface()->Image();
    EXPECT_EQ(requests, 0);
    for (QPoint p : {QPoint(12, 50), QPoint(13, 50), QPoint(141, 50), QPoint(140, 50), QPoint(50, 14),
                     QPoint(50, 15), QPoint(50, 143), QPoint(50, 142)})
        EXPECT_EQ(PixelAt(img, p.x(), p.y()), Focus) << p.x() << "," << p.y();
    EXPECT_EQ(PixelAt(img, 14, 50), clSilver);
    EXPECT_EQ(PixelAt(img, 142, 50), clSilver);
    EXPECT_EQ(PixelAt(img, 143, 50), clGray);
    // The control's frame is whole after the bands were painted again.
    EXPECT_EQ(PixelAt(img, 50, 397), clSilver);
    EXPECT_EQ(PixelAt(img, 257, 5), clSilver);
    // A repaint keeps the highlight.
    EXPECT_EQ(PixelAt(Rendered(t), 12, 50), Focus);

    // To slide 2: slide 1's rings go back to its cover, the selected cover when selected.
    t.SetSlideSelected(1, true);
    t.RenderNow();
    MoveTo(t, {50, 200});
    img = t.Surface()->Image();
    EXPECT_EQ(t.FocusedSlide(), 2);
    EXPECT_EQ(PixelAt(img, 12, 50), clNavy);
    EXPECT_EQ(PixelAt(img, 12, 200), Focus);
    // Between slides and on leaving: no slide.
    MoveTo(t, {50, 147});
    EXPECT_EQ(t.FocusedSlide(), 0);
    EXPECT_EQ(PixelAt(t.Surface()->Image(), 12, 200), clSilver);
}

TEST(ThumbnailsPaint, HighlightStaysOutOfTheBands)
{
    TThumbnails t;
    Plain(t);
    t.SetFirstThumbIdx(1.5);   // slide 1 at y = -56: its rings would start in the top band
    t.RenderNow();
    MoveTo(t, {50, 20});
    ASSERT_EQ(t.FocusedSlide(), 1);
    const QImage img = t.Surface()->Image();
    EXPECT_EQ(PixelAt(img, 12, 20), clBlue);
    EXPECT_EQ(PixelAt(img, 12, 5), Back);
    EXPECT_EQ(PixelAt(img, 50, 2), Back);
    EXPECT_EQ(PixelAt(img, 50, 1), clBlack);   // the frame's inner line
}

TEST(ThumbnailsPaint, NoHighlightWithLinewidthZero)
{
    TThumbnails t;
    Plain(t);
    t.SetFocusLinewidth(0);
    t.RenderNow();
    MoveTo(t, {50, 50});
    EXPECT_EQ(t.FocusedSlide(), 0);
    EXPECT_EQ(PixelAt(t.Surface()->Image(), 12, 50), clSilver);
}

} // namespace
