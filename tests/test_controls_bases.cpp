// Component bases: retained surface, input translation, Assign errors, timers.
#include <gtest/gtest.h>

#include <QOR_Controls.h>
#include <QOR_Timer.h>
#include "test_support.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QTest>

using namespace qor;

namespace {

class Probe : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    int paints = 0;
    QStringList log;
protected:
    void Paint() override
    {
        ++paints;
        Canvas()->Brush()->SetColor(clNavy);
        Canvas()->FillRect(ClientRect());
        Canvas()->Brush()->SetColor(clYellow);
        Canvas()->FillRect(QRect(0, 0, 3, 3));
    }
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override
    {
        log << QStringLiteral("down %1 %2,%3%4%5").arg(int(b)).arg(x).arg(y)
                   .arg(s.Contains(ssShift) ? QStringLiteral(" shift") : QString())
                   .arg(s.Contains(ssDouble) ? QStringLiteral(" double") : QString());
        TCustomControl::MouseDown(b, s, x, y);
    }
    void MouseUp(TMouseButton b, TShiftState s, int x, int y) override
    {
        log << QStringLiteral("up %1").arg(int(b));
        TCustomControl::MouseUp(b, s, x, y);
    }
    void Click() override { log << QStringLiteral("click"); TCustomControl::Click(); }
    void DblClick() override { log << QStringLiteral("dblclick"); TCustomControl::DblClick(); }
    void KeyDown(WORD& k, TShiftState s) override
    {
        log << QStringLiteral("keydown %1%2").arg(k, 2, 16, QLatin1Char('0'))
                   .arg(s.Contains(ssCtrl) ? QStringLiteral(" ctrl") : QString());
        TCustomControl::KeyDown(k, s);
    }
    void KeyPress(QChar& c) override { log << QStringLiteral("press %1").arg(int(c.unicode())); TCustomControl::KeyPress(c); }
};


TEST(CustomControl, PaintRendersIntoSurfaceOnlyWhenInvalid)
{
    Probe p;
    p.resize(20, 10);
    QImage img = qortest::Render(&p);
    EXPECT_EQ(qortest::PixelAt(img, 10, 5), clNavy);
    EXPECT_EQ(qortest::PixelAt(img, 1, 1), clYellow);
    const int paints = p.paints;
    qortest::Render(&p);
    EXPECT_EQ(p.paints, paints);   // the surface is reused
    p.Invalidate();
    qortest::Render(&p);
    EXPECT_EQ(p.paints, paints + 1);
    p.resize(30, 12);
    img = qortest::Render(&p);
    EXPECT_EQ(p.paints, paints + 2);
    EXPECT_EQ(qortest::PixelAt(img, 29, 11), clNavy);
}

TEST(CustomControl, DirectCanvasDrawingShowsAfterUpdate)
{
    Probe p;
    p.resize(20, 10);
    qortest::Render(&p);
    p.Canvas()->SetPixels(15, 5, clRed);
    p.Update();
    const QImage img = qortest::Render(&p);
    EXPECT_EQ(qortest::PixelAt(img, 15, 5), clRed);
}

TEST(CustomControl, SurfaceHonoursDevicePixelRatio)
{
    Probe p;
    p.resize(20, 10);
    QImage hi(40, 20, QImage::Format_RGB32);
    hi.setDevicePixelRatio(2.0);
    p.render(&hi);
    // Whatever ratio the screen has, the yellow corner covers the logical 3x3 pixels.
    EXPECT_EQ(FromQColor(QColor(hi.pixel(4, 4))), clYellow);
    EXPECT_EQ(FromQColor(QColor(hi.pixel(30, 10))), clNavy);
}

TEST(CustomControl, MouseTranslationAndClick)
{
    Probe p;
    p.resize(50, 50);
    p.show();
    QTest::mouseClick(&p, Qt::LeftButton, Qt::ShiftModifier, QPoint(7, 9));
    EXPECT_EQ(p.log, QStringList({"down 0 7,9 shift", "up 0", "click"}));
    p.log.clear();
    QTest::mouseClick(&p, Qt::RightButton, Qt::NoModifier, QPoint(1, 2));
    EXPECT_EQ(p.log, QStringList({"down 1 1,2", "up 1"}));
    p.log.clear();
    QTest::mouseDClick(&p, Qt::LeftButton, Qt::NoModifier, QPoint(3, 4));
    EXPECT_TRUE(p.log.contains(QStringLiteral("dblclick")));
    EXPECT_TRUE(p.log.contains(QStringLiteral("down 0 3,4 double")));
}

TEST(CustomControl, KeyTranslationToVirtualKeys)
{
    Probe p;
    p.setFocusPolicy(Qt::StrongFocus);
    p.show();
    p.setFocus();
    QTest::keyClick(&p, Qt::Key_Left);
    QTest::keyClick(&p, Qt::Key_Return);
    QTest::keyClick(&p, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(&p, Qt::Key_5);
    EXPECT_EQ(p.log, QStringList({"keydown 25", "keydown 0d", "press 13", "keydown 11 ctrl", "keydown 43 ctrl", "press 3",
                                  "keydown 35", "press 53"}));
}

TEST(CustomControl, KeyDownSettingZeroSwallowsKeyPress)
{
    Probe p;
    p.show();
    int presses = 0;
    p.OnKeyDown = [](QObject*, WORD& k, TShiftState) { k = 0; };
    p.OnKeyPress = [&](QObject*, QChar&) { ++presses; };
    QTest::keyClick(&p, Qt::Key_A);
    EXPECT_EQ(presses, 0);
}

TEST(CustomControl, WheelGoesToUpAndDownEvents)
{
    Probe p;
    p.resize(20, 20);
    p.show();
    int downs = 0, ups = 0;
    p.OnMouseWheelDown = [&](QObject*, TShiftState, QPoint, bool& h) { ++downs; h = true; };
    p.OnMouseWheelUp = [&](QObject*, TShiftState, QPoint, bool& h) { ++ups; h = true; };
    QWheelEvent down(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(&p, &down);
    QWheelEvent up(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(&p, &up);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(ups, 1);
}

TEST(Component, AssignOfUnrelatedClassesNamesBoth)
{
    Probe a;
    TComponent b;
    try {
        a.Assign(&b);
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("TComponent")));
        EXPECT_TRUE(e.Message().contains(QStringLiteral("TCustomControl")));
    }
    EXPECT_THROW(a.Assign(nullptr), EConvertError);
    EXPECT_THROW(b.AssignTo(&a), EConvertError);
}

TEST(Component, DesignAndLoadingFlags)
{
    TComponent c;
    EXPECT_FALSE(c.Designing());
    c.SetDesigning(true);
    EXPECT_TRUE(c.Designing());
    c.BeginLoading();
    EXPECT_TRUE(c.Loading());
    c.Loaded();
    EXPECT_FALSE(c.Loading());
    c.setObjectName(QStringLiteral("Data1"));
    EXPECT_EQ(c.Name(), QStringLiteral("Data1"));
}

TEST(Timer, TicksAndRoutesExceptions)
{
    TWindowTimer t;
    int ticks = 0;
    t.OnTimer = [&] { ++ticks; };
    t.Start(5);
    EXPECT_TRUE(t.Active());
    QElapsedTimer clock;
    clock.start();
    while (ticks < 2 && clock.elapsed() < 300)
        QTest::qWait(5);
    t.Stop();
    EXPECT_GE(ticks, 2);
    QString seen;
    SetExceptionHandler([&](const std::exception& e) { seen = QString::fromUtf8(e.what()); });
    t.OnTimer = [] { throw Exception(QStringLiteral("tick failed")); };
    t.Tick();
    EXPECT_EQ(seen, QStringLiteral("tick failed"));
    SetExceptionHandler(nullptr);
}

TEST(Clipboard, TextRoundTrip)
{
    SetClipboardText(QStringLiteral("12.5\u00b0"));
    EXPECT_EQ(ClipboardText(), QStringLiteral("12.5\u00b0"));
}

} // namespace
