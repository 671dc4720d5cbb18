// Thumbnail pane interaction: clicks in the three selection modes and their events and signals,
// double clicks, scrolling by keys and wheel, the slides on screen through QAccessible, and Assign.
#include <gtest/gtest.h>

#include "test_accessibility_support.h"

#include <QOR_Thumbnails.h>
#include <QOR_ProgBar.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <vector>

using namespace qor;

namespace {

// Slide 1 covers (10..144) x (12..146), slide 2 lies below it; (50, 147) is between them.
const QPoint OnSlide1(50, 50);
const QPoint OnSlide2(50, 200);
const QPoint Between(50, 147);

void Wheel(QWidget& w, int delta, QPoint at = {50, 50})
{
    QWheelEvent e(at, w.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(&w, &e);
}

// The events of a real double click: press, release, double click, release.
void DoubleClick(QWidget& w, QPoint at)
{
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                              QEvent::MouseButtonRelease}) {
        const bool down = type != QEvent::MouseButtonRelease;
        QMouseEvent e(type, at, w.mapToGlobal(at), Qt::LeftButton, down ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(&w, &e);
    }
}

struct Click {
    int X, Y, ThumbID;
};

TEST(ThumbnailsInput, SingleModeSelectsTheClickedSlideOnly)
{
    TThumbnails t;
    std::vector<Click> clicks;
    t.OnImageClick = [&](QObject* sender, int x, int y, int k) {
        EXPECT_EQ(sender, &t);
        clicks.push_back({x, y, k});
    };
    QSignalSpy spy(&t, &TThumbnails::imageClicked);
    QTest::mouseClick(&t, Qt::LeftButton, {}, OnSlide1);
    EXPECT_TRUE(t.SlideSelected(1));
    QTest::mouseClick(&t, Qt::LeftButton, {}, OnSlide2);
    EXPECT_FALSE(t.SlideSelected(1));
    EXPECT_TRUE(t.SlideSelected(2));
    EXPECT_EQ(t.LastClickedSlide(), 2);
    QTest::mouseClick(&t, Qt::LeftButton, {}, Between);
    EXPECT_EQ(t.NumSlidesSelected(), 0);
    QTest::mouseClick(&t, Qt::RightButton, {}, OnSlide1);   // only the left button selects
    EXPECT_EQ(t.NumSlidesSelected(), 0);
    ASSERT_EQ(clicks.size(), 3u);
    EXPECT_EQ(clicks[0].ThumbID, 1);
    EXPECT_EQ(clicks[2].ThumbID, 0);   // a click between slides reports no slide
    EXPECT_EQ(QPoint(clicks[1].X, clicks[1].Y), OnSlide2);
    ASSERT_EQ(spy.count(), 3);
    EXPECT_EQ(spy.at(1).at(2).toInt(), 2);
}

TEST(ThumbnailsInput, MultipleModeTogglesAndDisabledModeKeeps)
{
    TThumbnails t;
    t.SetSlideSelectMode(ssmMultiple);
    QTest::mouseClick(&t, Qt::LeftButton, {}, OnSlide1);
    QTest::mouseClick(&t, Qt::LeftButton, {}, OnSlide2);
    EXPECT_EQ(t.NumSlidesSelected(), 2);
    QTest::mouseClick(&t, Qt::LeftButton, {}, OnSlide1);
    EXPECT_FALSE(t.SlideSelected(1));
    QTest::mouseClick(&t, Qt::LeftButton, {}, Between);
    EXPECT_EQ(t.NumSlidesSelected(), 1);

    int doubles = 0;
    t.OnImageDblClick = [&](QObject*, int, int, int k) {
        EXPECT_EQ(k, 1);
        ++doubles;
    };
    DoubleClick(t, OnSlide1);
    EXPECT_EQ(doubles, 1);
    EXPECT_TRUE(t.SlideSelected(1));   // toggled once, by the first release

    t.SetSlideSelectMode(ssmDisabled);
    int clicks = 0;
    t.OnImageClick = [&](QObject*, int, int, int) { ++clicks; };
    QTest::mouseClick(&t, Qt::LeftButton, {}, OnSlide1);
    EXPECT_EQ(t.NumSlidesSelected(), 0);
    EXPECT_EQ(clicks, 1);   // still reported
}

TEST(ThumbnailsInput, FocusedSlideNotifies)
{
    TThumbnails t;
    QSignalSpy spy(&t, &TThumbnails::focusChanged);
    int events = 0;
    t.OnFocusChange = [&](QObject*) { ++events; };
    QMouseEvent move(QEvent::MouseMove, OnSlide1, t.mapToGlobal(OnSlide1), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&t, &move);
    EXPECT_EQ(t.FocusedSlide(), 1);
    EXPECT_EQ(t.property("FocusedSlide").toInt(), 1);
    QApplication::sendEvent(&t, &move);   // same slide: nothing new
    EXPECT_EQ(events, 1);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&t, &leave);
    EXPECT_EQ(t.FocusedSlide(), 0);
    EXPECT_EQ(events, 2);
    EXPECT_EQ(spy.count(), 2);
}

TEST(ThumbnailsInput, SlidesOnScreenAreAccessibleListItems)
{
    TThumbnails t;   // one column, three rows: slides 1..3
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&t);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::List);
    ASSERT_EQ(a->childCount(), 3);
    QAccessibleInterface* first = a->child(0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->role(), QAccessible::ListItem);
    EXPECT_EQ(first->text(QAccessible::Name), QStringLiteral("Slide 1"));
    EXPECT_EQ(first->rect(), QRect(t.mapToGlobal(QPoint(10, 12)), QSize(135, 135)));
    // The list shows the slide under the mouse; a selected slide says so.
    EXPECT_EQ(a->textInterface()->text(0, -1), QString());
    QMouseEvent move(QEvent::MouseMove, OnSlide1, t.mapToGlobal(OnSlide1), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&t, &move);
    EXPECT_EQ(a->textInterface()->text(0, -1), QStringLiteral("Slide 1"));
    t.SetSlideSelected(1, true);
    EXPECT_EQ(first->text(QAccessible::Name), QStringLiteral("Slide 1, selected"));
    EXPECT_EQ(a->textInterface()->text(0, -1), QStringLiteral("Slide 1, selected"));
    // The last row reaches into the bottom band: its rectangle ends above it.
    EXPECT_EQ(a->child(2)->rect().bottom(), t.mapToGlobal(QPoint(0, 390)).y());
    const QPoint onSecond = t.mapToGlobal(OnSlide2);
    EXPECT_EQ(a->childAt(onSecond.x(), onSecond.y()), a->child(1));
    // Pressing a slide clicks it.
    QSignalSpy clicked(&t, &TThumbnails::imageClicked);
    a->child(1)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(t.SlideSelected(2));
    EXPECT_FALSE(t.SlideSelected(1));
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(2).toInt(), 2);
    // Scrolled by a row, the items follow.
    t.SetFirstThumbIdx(2);
    EXPECT_EQ(a->child(0)->text(QAccessible::Name), QStringLiteral("Slide 2, selected"));
    t.SetMax(3);
    EXPECT_EQ(a->childCount(), 2);
    EXPECT_FALSE(a->state().multiSelectable);
    t.SetSlideSelectMode(ssmMultiple);
    EXPECT_TRUE(a->state().multiSelectable);
}

TEST(ThumbnailsInput, SlideChangesAreAnnounced)
{
    qortest::EventRecorder heard;
    TThumbnails t;
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&t);
    ASSERT_EQ(a->childCount(), 3);
    t.SetSlideSelected(3, true);   // a first change may only tell the reader to read them anew
    heard.Clear();
    t.SetSlideSelected(2, true);
    EXPECT_EQ(heard.Count(QAccessible::NameChanged, QStringLiteral("Slide 2, selected")), 1);
    heard.Clear();
    QMouseEvent move(QEvent::MouseMove, OnSlide1, t.mapToGlobal(OnSlide1), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&t, &move);
    EXPECT_GE(heard.Count(QAccessible::TextUpdated), 1);
    heard.Clear();
    t.SetFirstThumbIdx(2);   // scrolled: every item shows another slide
    EXPECT_GE(heard.Count(QAccessible::NameChanged), 1);
}

TEST(ThumbnailsInput, KeysScrollByQuarterRowsAndPages)
{
    TThumbnails t;
    t.resize(300, 400);   // 2 per row; the slide area is 380 pixels, 380 / 136 rows
    QTest::keyClick(&t, Qt::Key_Down);
    EXPECT_DOUBLE_EQ(t.FirstThumbIdx(), 1.25);
    QTest::keyClick(&t, Qt::Key_Down);
    QTest::keyClick(&t, Qt::Key_Down);
    QTest::keyClick(&t, Qt::Key_Down);
    EXPECT_DOUBLE_EQ(t.FirstThumbIdx(), 3.0);
    QTest::keyClick(&t, Qt::Key_Up);
    EXPECT_DOUBLE_EQ(t.FirstThumbIdx(), 1.75);
    QTest::keyClick(&t, Qt::Key_PageDown);
    const double rows = 0.75 + 380.0 / 136;   // 3.544 rows from slide 1
    EXPECT_NEAR(t.FirstThumbIdx(), 1 + 2 * 3 + (rows - 3), 1e-9);
    QTest::keyClick(&t, Qt::Key_End);
    EXPECT_DOUBLE_EQ(t.FirstThumbIdx(), 99.5);
    QTest::keyClick(&t, Qt::Key_PageDown);
    EXPECT_DOUBLE_EQ(t.FirstThumbIdx(), 99.5);   // at the end
    QTest::keyClick(&t, Qt::Key_Home);
    EXPECT_DOUBLE_EQ(t.FirstThumbIdx(), 1.0);
    QTest::keyClick(&t, Qt::Key_PageUp);
    EXPECT_DOUBLE_EQ(t.FirstThumbIdx(), 1.0);
    EXPECT_EQ(t.focusPolicy(), Qt::StrongFocus);
}

TEST(ThumbnailsInput, KeysThatScrollNothingTravelOn)
{
    TProgBar parentLike;   // any widget that sees keys its child ignores
    TThumbnails t(&parentLike);
    int parentKeys = 0;
    parentLike.OnKeyDown = [&](QObject*, WORD&, TShiftState) { ++parentKeys; };
    QTest::keyClick(&t, Qt::Key_Up);   // already at the top
    QTest::keyClick(&t, Qt::Key_A);
    EXPECT_EQ(parentKeys, 2);
    QTest::keyClick(&t, Qt::Key_Down);
    EXPECT_EQ(parentKeys, 2);
}

TEST(ThumbnailsInput, WheelScrollsAQuarterRowPerNotch)
{
    TThumbnails t;
    QSignalSpy scrolled(&t, &TThumbnails::scrolled);
    Wheel(t, -120);
    EXPECT_DOUBLE_EQ(t.FirstThumbIdx(), 1.25);
    Wheel(t, -480);
    EXPECT_DOUBLE_EQ(t.FirstThumbIdx(), 2.25);
    Wheel(t, 60);   // half a notch
    EXPECT_DOUBLE_EQ(t.FirstThumbIdx(), 2.125);
    EXPECT_EQ(scrolled.count(), 3);
    // The highlight follows the slide that came under the mouse.
    EXPECT_EQ(t.FocusedSlide(), t.CalcSlideIndex(50, 50));
    EXPECT_EQ(t.FocusedSlide(), 2);
    // A handler that takes the wheel stops the scrolling.
    t.OnMouseWheel = [](QObject*, TShiftState, int, QPoint, bool& handled) { handled = true; };
    Wheel(t, -120);
    EXPECT_DOUBLE_EQ(t.FirstThumbIdx(), 2.125);
}

TEST(ThumbnailsInput, AssignCopiesTheListedSettings)
{
    TThumbnails a, b;
    a.resize(300, 400);
    a.SetFrameStyle(fsRaised);
    a.SetInnerFrameStyle(fsNone);
    a.SetOuterFrameStyle(fsSimple);
    a.SetColorBackGnd(0x010203);
    a.SetColorScheme(csSystemColors);
    a.SetMin(3);
    a.SetMax(400);
    a.SetFirstThumbIdx(10);
    a.SetSlideSize(60);
    a.SetSlideDistance(5);
    a.SetSlideMargin(3);
    a.SetAntiAlias(true);
    a.SetColorCover(0x111111);
    a.SetColorSelected(0x222222);
    a.SetColorFocus(0x333333);
    a.SetFocusLinewidth(4);
    a.SetColorMark(0x444444);
    a.SetSlideSelectMode(ssmMultiple);
    int requests = 0;
    a.OnImageRequest = [&](QObject*, int, TImageRequestProcessing&, int&, TBitmap&) { ++requests; };
    b.SetSlideSelected(5, true);
    b.Assign(&a);
    EXPECT_EQ(b.FrameStyle(), fsRaised);
    EXPECT_EQ(b.InnerFrameStyle(), fsNone);
    EXPECT_EQ(b.OuterFrameStyle(), fsSimple);
    EXPECT_EQ(b.ColorBackGnd(), 0x010203);
    EXPECT_EQ(b.ColorScheme(), csSystemColors);
    EXPECT_EQ(b.ColGrayLine(), clBtnShadow);
    EXPECT_EQ(b.Min(), 3);
    EXPECT_EQ(b.Max(), 400);
    EXPECT_EQ(b.FirstThumbIdx(), a.FirstThumbIdx());
    EXPECT_EQ(b.SlideSize(), 60);
    EXPECT_EQ(b.SlideDistance(), 5);
    EXPECT_EQ(b.SlideMargin(), 3);
    EXPECT_TRUE(b.AntiAlias());
    EXPECT_EQ(b.ColorCover(), 0x111111);
    EXPECT_EQ(b.ColorSelected(), 0x222222);
    EXPECT_EQ(b.ColorFocus(), 0x333333);
    EXPECT_EQ(b.FocusLinewidth(), 4);
    EXPECT_EQ(b.ColorMark(), clBlack);             // not in the list
    EXPECT_EQ(b.SlideSelectMode(), ssmSingle);     // nor the selection mode
    EXPECT_TRUE(b.SlideSelected(5));               // the selection stays on its slide
    b.RenderNow();
    EXPECT_GT(requests, 0);                        // the handler came along

    TProgBar other;
    EXPECT_THROW(b.Assign(&other), EConvertError);
    TThumbnails c;
    a.AssignTo(&c);
    EXPECT_EQ(c.Max(), 400);
}

} // namespace
