// Thumbnail pane geometry: slides per row at the documented widths, the normalised scroll
// position for any Min, slide index and position round trips, border and gap points, the zero
// pitch, the range writers and the selection kept on its slides.
#include <gtest/gtest.h>

#include <QOR_Thumbnails.h>

#include <QSignalSpy>
#include <climits>
#include <cmath>
#include <limits>

using namespace qor;

namespace {

TEST(ThumbnailsGeometry, Defaults)
{
    TThumbnails t;
    EXPECT_EQ(t.size(), QSize(260, 400));
    EXPECT_FALSE(t.AntiAlias());
    EXPECT_EQ(t.ColorBackGnd(), clBtnFace);
    EXPECT_EQ(t.ColorCover(), 0xC0C0C0);
    EXPECT_EQ(t.ColorFocus(), 0xFF0000);
    EXPECT_EQ(t.ColorMark(), 0x000000);
    EXPECT_EQ(t.ColorScheme(), csGrayWhite);
    EXPECT_EQ(t.ColorSelected(), 0x800000);
    EXPECT_EQ(t.FocusLinewidth(), 1);
    EXPECT_EQ(t.FocusedSlide(), 0);
    EXPECT_EQ(t.FrameStyle(), fsLowered);
    EXPECT_EQ(t.InnerFrameStyle(), fsLowered);
    EXPECT_EQ(t.OuterFrameStyle(), fsRaised);
    EXPECT_EQ(t.Max(), 100);
    EXPECT_EQ(t.Min(), 1);
    EXPECT_EQ(t.SlideDistance(), 2);
    EXPECT_EQ(t.SlideMargin(), 7);
    EXPECT_EQ(t.SlideSelectMode(), ssmSingle);
    EXPECT_EQ(t.SlideSize(), 120);
    EXPECT_EQ(t.FirstThumbIdx(), 1.0);
    EXPECT_EQ(t.Pitch(), 136);
    EXPECT_EQ(t.NumSlidesSelected(), 0);
}

TEST(ThumbnailsGeometry, SlidesPerRowAndRows)
{
    TThumbnails t;
    EXPECT_EQ(t.NumSlidesHoriz(), 1);   // (260 + 2 - 20) div 136
    EXPECT_EQ(t.NumSlidesVert(), 3);    // 400 div 136 + 1
    t.resize(300, 400);
    EXPECT_EQ(t.NumSlidesHoriz(), 2);
    t.resize(100, 136);
    EXPECT_EQ(t.NumSlidesHoriz(), 1);   // at least one
    EXPECT_EQ(t.NumSlidesVert(), 2);
    t.resize(600, 800);
    EXPECT_EQ(t.NumSlidesHoriz(), 4);
    t.SetSlideDistance(0);
    t.SetSlideMargin(0);
    EXPECT_EQ(t.NumSlidesHoriz(), 4);   // (600 - 20) div 120
}

TEST(ThumbnailsGeometry, WritersClampAsDocumented)
{
    TThumbnails t;
    t.SetFocusLinewidth(11);
    EXPECT_EQ(t.FocusLinewidth(), 10);
    t.SetFocusLinewidth(-1);
    EXPECT_EQ(t.FocusLinewidth(), 0);
    t.SetSlideDistance(101);
    EXPECT_EQ(t.SlideDistance(), 100);
    t.SetSlideDistance(-4);
    EXPECT_EQ(t.SlideDistance(), 0);
    t.SetSlideMargin(1000);
    EXPECT_EQ(t.SlideMargin(), 100);
    t.SetSlideMargin(-1);
    EXPECT_EQ(t.SlideMargin(), 0);
    t.SetSlideSize(10);
    EXPECT_EQ(t.SlideSize(), 50);
    t.SetSlideSize(500);
    EXPECT_EQ(t.SlideSize(), 260);      // the width at the time of writing
    t.resize(40, 100);
    t.SetSlideSize(10);
    EXPECT_EQ(t.SlideSize(), 40);       // 50 first, then the width
    t.SetFrameStyle(TFrameStyle(77));
    EXPECT_EQ(t.FrameStyle(), fsNone);
}

TEST(ThumbnailsGeometry, PositionNormalisesToTheRowStart)
{
    TThumbnails t;
    t.resize(300, 400);                 // 2 per row
    t.SetFirstThumbIdx(8);
    EXPECT_DOUBLE_EQ(t.FirstThumbIdx(), 7.5);   // row of slide 7, half a row scrolled out
    t.SetFirstThumbIdx(7);
    EXPECT_DOUBLE_EQ(t.FirstThumbIdx(), 7.0);
    t.SetFirstThumbIdx(0);
    EXPECT_DOUBLE_EQ(t.FirstThumbIdx(), 1.0);   // limited to Min..Max
    t.SetFirstThumbIdx(1000);
    EXPECT_DOUBLE_EQ(t.FirstThumbIdx(), 99.5);
    t.SetFirstThumbIdx(std::numeric_limits<double>::quiet_NaN());
    EXPECT_DOUBLE_EQ(t.FirstThumbIdx(), 99.5);

    // Rows start at Min + N k for any Min.
    t.resize(600, 400);                 // 4 per row
    t.SetMin(5);
    t.SetFirstThumbIdx(12);
    EXPECT_DOUBLE_EQ(t.FirstThumbIdx(), 9.75);
    t.SetMin(-10);
    t.SetFirstThumbIdx(-3.5);           // rows -10, -6, -2: -3.5 is 2.5 slides into row -6
    EXPECT_DOUBLE_EQ(t.FirstThumbIdx(), -6 + 2.5 / 4);

    // A new width renormalises the position it holds.
    t.SetMin(1);
    t.resize(300, 400);
    t.SetFirstThumbIdx(8);
    t.resize(440, 400);                 // 3 per row
    t.RenderNow();                      // a hidden widget is laid out when painted
    EXPECT_EQ(t.NumSlidesHoriz(), 3);
    EXPECT_DOUBLE_EQ(t.FirstThumbIdx(), 7 + 0.5 / 3);
}

TEST(ThumbnailsGeometry, ScrollSignalOnlyOnChange)
{
    TThumbnails t;
    QSignalSpy spy(&t, &TThumbnails::scrolled);
    t.SetFirstThumbIdx(3);
    t.SetFirstThumbIdx(3);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toDouble(), 3.0);
}

TEST(ThumbnailsGeometry, IndexAndPositionRoundTripForAnyMin)
{
    for (int min : {1, 5, 0, -7}) {
        TThumbnails t;
        t.resize(600, 800);
        t.SetMin(min);
        t.SetMax(min + 500);
        t.SetFirstThumbIdx(min + 8 + 0.25 * 4);   // third row, a quarter scrolled out
        const int n = t.NumSlidesHoriz();
        const int first = int(std::floor(t.FirstThumbIdx()));
        int hits = 0;
        for (int k = first; k < first + n * t.NumSlidesVert(); ++k) {
            int x = 0, y = 0;
            t.CalcSlidePos(k, x, y);
            EXPECT_EQ(x, 10 + 136 * ((k - first) % n)) << min << " " << k;
            EXPECT_EQ(y, 10 + 2 - 34 + 136 * ((k - first) / n)) << min << " " << k;
            for (QPoint inside : {QPoint(x, y), QPoint(x + 67, y + 67), QPoint(x + 134, y + 134)}) {
                if (inside.y() < 10 || inside.y() > 790)
                    continue;
                EXPECT_EQ(t.CalcSlideIndex(inside.x(), inside.y()), k) << min << " " << k;
                ++hits;
            }
        }
        EXPECT_GT(hits, 40);
        // A slide above the top row lies in the row above, in its own column.
        int x = 0, y = 0;
        t.CalcSlidePos(first - 1, x, y);
        EXPECT_EQ(x, 10 + 136 * (n - 1));
        EXPECT_EQ(y, 10 + 2 - 34 - 136);
    }
}

TEST(ThumbnailsGeometry, BorderGapAndOutsidePointsHitNoSlide)
{
    TThumbnails t;   // one column: slide 1 covers (10..144) x (12..146), slide 2 starts at y 148
    EXPECT_EQ(t.CalcSlideIndex(10, 12), 1);
    EXPECT_EQ(t.CalcSlideIndex(144, 146), 1);
    EXPECT_EQ(t.CalcSlideIndex(10, 148), 2);
    EXPECT_EQ(t.CalcSlideIndex(9, 50), 0);      // left border
    EXPECT_EQ(t.CalcSlideIndex(50, 9), 0);      // top band
    EXPECT_EQ(t.CalcSlideIndex(50, 11), 0);     // the distance above the first row
    EXPECT_EQ(t.CalcSlideIndex(50, 147), 0);    // between two rows
    EXPECT_EQ(t.CalcSlideIndex(145, 50), 0);    // right of the only column
    EXPECT_EQ(t.CalcSlideIndex(50, 391), 0);    // bottom band
    t.resize(300, 400);
    EXPECT_EQ(t.CalcSlideIndex(145, 50), 0);    // between two columns
    EXPECT_EQ(t.CalcSlideIndex(146, 50), 2);
    EXPECT_EQ(t.CalcSlideIndex(291, 50), 0);    // right border
    t.SetMax(1);
    EXPECT_EQ(t.CalcSlideIndex(146, 50), 0);    // beyond Max
    // With 0 a slide number, "no slide" lies below Min.
    t.SetMin(0);
    EXPECT_EQ(t.NoSlide(), -1);
    EXPECT_EQ(t.CalcSlideIndex(50, 50), 0);
    EXPECT_EQ(t.CalcSlideIndex(5, 5), -1);
}

TEST(ThumbnailsGeometry, ZeroPitchHasRoomForNoSlide)
{
    TThumbnails t;
    t.resize(0, 400);
    t.SetSlideSize(50);
    t.SetSlideDistance(0);
    t.SetSlideMargin(0);
    ASSERT_EQ(t.SlideSize(), 0);
    ASSERT_EQ(t.Pitch(), 0);
    int requests = 0;
    t.OnImageRequest = [&](QObject*, int, TImageRequestProcessing&, int&, TBitmap&) { ++requests; };
    t.resize(300, 300);
    t.RenderNow();
    EXPECT_EQ(requests, 0);
    EXPECT_EQ(t.NumSlidesHoriz(), 1);
    EXPECT_EQ(t.CalcSlideIndex(50, 50), 0);
    int x = -1, y = -1;
    t.CalcSlidePos(5, x, y);
    EXPECT_EQ(x, 10);
    t.ScrollRows(3);
    EXPECT_DOUBLE_EQ(t.FirstThumbIdx(), 4.0);
}

TEST(ThumbnailsGeometry, MinAndMaxKeepEachOtherInOrder)
{
    TThumbnails t;
    t.SetMin(200);
    EXPECT_EQ(t.Min(), 200);
    EXPECT_EQ(t.Max(), 200);            // raised with Min
    t.SetMax(50);
    EXPECT_EQ(t.Max(), 50);
    EXPECT_EQ(t.Min(), 50);             // lowered with Max
    t.SetMax(-3);
    EXPECT_EQ(t.Max(), 1);              // Max is at least 1
    EXPECT_EQ(t.Min(), 1);
    t.SetMax(INT_MAX);
    EXPECT_EQ(t.Max(), TThumbnails::MaxSlideCount);
    t.SetMin(INT_MIN);
    EXPECT_EQ(t.Min(), 1);              // the count is already at its limit
    t.SetMax(1000);
    t.SetMin(INT_MIN);
    EXPECT_EQ(t.Min(), 1000 - TThumbnails::MaxSlideCount + 1);
    EXPECT_DOUBLE_EQ(t.FirstThumbIdx(), 1.0);
    t.SetMin(500);
    EXPECT_DOUBLE_EQ(t.FirstThumbIdx(), 500.0);   // the position follows into the range
}

TEST(ThumbnailsGeometry, SelectionStaysOnItsSlides)
{
    TThumbnails t;
    t.SetSlideSelected(5, true);
    t.SetSlideSelected(10, true);
    t.SetSlideSelected(101, true);      // no such slide
    EXPECT_EQ(t.NumSlidesSelected(), 2);
    EXPECT_EQ(t.FirstSelectedSlide(), 5);
    t.SetMin(3);
    EXPECT_TRUE(t.SlideSelected(5));
    EXPECT_TRUE(t.SlideSelected(10));
    EXPECT_FALSE(t.SlideSelected(3));
    t.SetMin(-2);
    EXPECT_TRUE(t.SlideSelected(5));
    EXPECT_TRUE(t.GetSelectedSlide(10));
    EXPECT_EQ(t.NumSlidesSelected(), 2);
    t.SetMin(7);
    EXPECT_FALSE(t.SlideSelected(5));
    EXPECT_EQ(t.FirstSelectedSlide(), 10);
    t.SetMax(9);
    EXPECT_EQ(t.NumSlidesSelected(), 0);
    EXPECT_EQ(t.FirstSelectedSlide(), 0);          // no slide: 0 while Min >= 1
    t.SetMin(-4);
    EXPECT_EQ(t.FirstSelectedSlide(), -5);         // Min - 1 once 0 is a slide
    t.SetMax(1'000'000);
    t.SetSelectedSlide(999'999, true);
    EXPECT_TRUE(t.SlideSelected(999'999));
    EXPECT_EQ(t.FirstSelectedSlide(), 999'999);
    t.ResetAllSelections();
    EXPECT_EQ(t.NumSlidesSelected(), 0);
}

TEST(ThumbnailsGeometry, SelectModeWriterClearsTheSelection)
{
    TThumbnails t;
    t.SetSlideSelected(4, true);
    t.SetSlideSelectMode(ssmSingle);    // unchanged: kept
    EXPECT_TRUE(t.SlideSelected(4));
    t.SetSlideSelectMode(ssmMultiple);
    EXPECT_FALSE(t.SlideSelected(4));
}

} // namespace
