// An exception thrown from any event handler of any component, from a handler called while it
// paints and from a timer tick reaches qor::HandleException, and the component stays usable:
// the next event reaches its handler again, and the next paint shows what a component that never
// saw the exception shows.
#include <gtest/gtest.h>

#include <QOR_Colsel.h>
#include <QOR_FolderTree.h>
#include <QOR_Grids.h>
#include <QOR_Meter.h>
#include <QOR_MiniCal.h>
#include <QOR_NumIO2.h>
#include <QOR_NumIOEdit.h>
#include <QOR_NumLab.h>
#include <QOR_ProgBar.h>
#include <QOR_RasterLab.h>
#include <QOR_RotLab.h>
#include <QOR_Thumbnails.h>
#include <QOR_gradfl.h>
#include <QOR_marksel.h>
#include <QOR_ntabed.h>
#include <QOR_onoffbut.h>
#include <QOR_replist.h>
#include <QOR_repsbut.h>
#include <QOR_sevenseg.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QContextMenuEvent>
#include <QTest>
#include <QWheelEvent>

#include <functional>
#include <memory>
#include <stdexcept>

#include "test_support.h"

using namespace qor;

namespace {

using Act = std::function<void()>;

// Collects what reaches HandleException while it lives.
struct Caught {
    QStringList Messages;
    Caught() { SetExceptionHandler([this](const std::exception& e) { Messages << QString::fromUtf8(e.what()); }); }
    ~Caught() { SetExceptionHandler(nullptr); }
};

// Points a handler of any signature at act (or clears it).
template <class Handler>
void Point(Handler& handler, const Act& act)
{
    if (act)
        handler = [act](auto&&...) { act(); };
    else
        handler = nullptr;
}

Act Thrower(const char* what)
{
    return [what] { throw std::runtime_error(what); };
}

// ---- the components, each holding something to draw

struct Subject {
    const char* Name;
    std::function<std::unique_ptr<QWidget>()> Make;   // not shown yet
};

template <class T, class Setup>
Subject Make(const char* name, Setup setup)
{
    return {name, [setup] {
                auto w = std::make_unique<T>();
                w->resize(160, 90);
                setup(*w);
                return std::unique_ptr<QWidget>(std::move(w));
            }};
}

// Shows the widget and lets it paint, as a window does when it opens.
std::unique_ptr<QWidget> Shown(std::unique_ptr<QWidget> w)
{
    w->show();
    QApplication::processEvents();
    return w;
}

const std::vector<Subject>& Subjects()
{
    static const std::vector<Subject> all = {
        Make<TMeter>("TMeter", [](TMeter& m) { m.SetValue(40); }),
        Make<TNumIO2>("TNumIO2", [](TNumIO2& n) { n.SetValue(12.5); }),
        Make<TNumIO>("TNumIO", [](TNumIO& n) { n.SetText(QStringLiteral("12")); }),
        Make<TNumLab>("TNumLab", [](TNumLab& n) { n.SetValue(3.25); }),
        Make<TSevenSeg>("TSevenSeg", [](TSevenSeg& s) { s.SetCaption(QStringLiteral("42")); }),
        Make<TRasterLab>("TRasterLab", [](TRasterLab& r) { r.SetText(QStringLiteral("AB12")); }),
        Make<TRotLab>("TRotLab", [](TRotLab& r) { r.SetCaption(QStringLiteral("turned")); }),
        Make<TProgBar>("TProgBar", [](TProgBar& p) {
            p.SetValue(30);
            p.SetTextVisible(true);
        }),
        Make<TGradFill>("TGradFill", [](TGradFill&) {}),
        Make<TDrawGrid>("TDrawGrid", [](TDrawGrid&) {}),
        Make<TReportListView>("TReportListView",
                              [](TReportListView& v) {
                                  v.SetNrOfColumns(2);
                                  v.SetNrOfRows(5);
                                  v.SetColumnCheckMode(2, cmBox);
                                  for (int r = 1; r <= 5; ++r)
                                      v.SetElem(1, r, QStringLiteral("row %1").arg(r));
                              }),
        Make<TNTabEd>("TNTabEd",
                      [](TNTabEd& t) {
                          t.Redimension(3, 4);
                          for (int r = 1; r <= 4; ++r)
                              t.SetElem(1, r, r * 1.5);
                      }),
        Make<TMiniCal>("TMiniCal", [](TMiniCal& c) { c.SetDate(EncodeDate(2024, 2, 14)); }),
        Make<TOnOffBut>("TOnOffBut", [](TOnOffBut& b) {
            b.SetMouseAction(oomaPlain);
            b.SetLeftText(QStringLiteral("on"));
        }),
        Make<TRepSpeedButton>("TRepSpeedButton", [](TRepSpeedButton& b) { b.setText(QStringLiteral(">")); }),
        Make<TColSel>("TColSel", [](TColSel&) {}),
        // Without the keyboard's highlight: it would show which of two windows had the focus.
        Make<TMarkSel>("TMarkSel", [](TMarkSel& m) { m.setFocusPolicy(Qt::NoFocus); }),
        Make<TThumbnails>("TThumbnails", [](TThumbnails& t) { t.SetMax(12); }),
        Make<TFolderTree>("TFolderTree", [](TFolderTree&) {}),
    };
    return all;
}

// Mouse events go to the widget that receives them: a scroll area's viewport.
QWidget* MouseTarget(QWidget* w)
{
    auto* area = qobject_cast<QAbstractScrollArea*>(w);
    return area ? area->viewport() : w;
}

QPoint Inside(QWidget* w)
{
    return QPoint(MouseTarget(w)->width() / 3, MouseTarget(w)->height() * 2 / 3);
}

void Send(QWidget* target, QEvent& e)
{
    QApplication::sendEvent(target, &e);
}

// ---- the inherited events every control republishes, each with what fires it

struct HostEvent {
    const char* Name;
    void (*Arm)(TControlEvents& e, const Act& act);
    void (*Fire)(QWidget* w);
};

#define QOR_HOST_EVENT(Member, FireBody)                                                           \
    HostEvent { #Member, [](TControlEvents& e, const Act& a) { Point(e.Member, a); }, [](QWidget* w) FireBody }

const HostEvent HostEvents[] = {
    QOR_HOST_EVENT(OnClick, { QTest::mouseClick(MouseTarget(w), Qt::LeftButton, {}, Inside(w)); }),
    QOR_HOST_EVENT(OnDblClick, { QTest::mouseDClick(MouseTarget(w), Qt::LeftButton, {}, Inside(w)); }),
    QOR_HOST_EVENT(OnMouseDown, {
        QTest::mousePress(MouseTarget(w), Qt::LeftButton, {}, Inside(w));
        QTest::mouseRelease(MouseTarget(w), Qt::LeftButton, {}, Inside(w));
    }),
    QOR_HOST_EVENT(OnMouseUp, {
        QTest::mousePress(MouseTarget(w), Qt::RightButton, {}, Inside(w));
        QTest::mouseRelease(MouseTarget(w), Qt::RightButton, {}, Inside(w));
    }),
    QOR_HOST_EVENT(OnMouseMove, {
        const QPoint p = Inside(w);
        QMouseEvent e(QEvent::MouseMove, p, MouseTarget(w)->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        Send(MouseTarget(w), e);
    }),
    QOR_HOST_EVENT(OnMouseEnter, {
        QEnterEvent e(Inside(w), Inside(w), MouseTarget(w)->mapToGlobal(Inside(w)));
        Send(w, e);
    }),
    QOR_HOST_EVENT(OnMouseLeave, {
        QEvent e(QEvent::Leave);
        Send(w, e);
    }),
    QOR_HOST_EVENT(OnMouseWheel, {
        const QPoint p = Inside(w);
        QWheelEvent e(p, MouseTarget(w)->mapToGlobal(p), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        Send(MouseTarget(w), e);
    }),
    QOR_HOST_EVENT(OnKeyDown, { QTest::keyClick(w, Qt::Key_Right); }),
    QOR_HOST_EVENT(OnKeyPress, { QTest::keyClick(w, Qt::Key_5); }),
    QOR_HOST_EVENT(OnKeyUp, { QTest::keyClick(w, Qt::Key_Left); }),
    QOR_HOST_EVENT(OnEnter, {
        QFocusEvent e(QEvent::FocusIn, Qt::OtherFocusReason);
        Send(w, e);
    }),
    QOR_HOST_EVENT(OnExit, {
        QFocusEvent e(QEvent::FocusOut, Qt::OtherFocusReason);
        Send(w, e);
    }),
    QOR_HOST_EVENT(OnResize, { w->resize(w->width() + 3, w->height() + 1); }),
    QOR_HOST_EVENT(OnContextPopup, {
        const QPoint p = Inside(w);
        QContextMenuEvent e(QContextMenuEvent::Mouse, p, MouseTarget(w)->mapToGlobal(p));
        Send(MouseTarget(w), e);
    }),
};

// Runs Fire with a counting handler and tells how often the handler ran.
int Fired(QWidget* w, const HostEvent& ev)
{
    auto& events = dynamic_cast<TControlEvents&>(*w);
    int calls = 0;
    ev.Arm(events, [&] { ++calls; });
    ev.Fire(w);
    ev.Arm(events, {});
    return calls;
}

// The component's surface as the next paint makes it.
QImage Rendered(QWidget* w)
{
    auto* surface = dynamic_cast<TSurfaceHost<QWidget>*>(w);
    auto* grid = dynamic_cast<TSurfaceHost<QAbstractScrollArea>*>(w);
    if (surface) {
        surface->Invalidate();
        surface->RenderNow();
        return surface->Surface()->Image().copy();
    }
    if (grid) {
        grid->Invalidate();
        grid->RenderNow();
        return grid->Surface()->Image().copy();
    }
    return w->grab().toImage();
}

} // namespace

// Every inherited event of every component: a throwing handler goes to HandleException, and the
// same event then reaches a handler again.
TEST(FailureHandlers, ExceptionsFromEveryInheritedEventReachTheHandlerAndTheComponentGoesOn)
{
    int routed = 0;
    QStringList silent;
    for (const Subject& s : Subjects()) {
        for (const HostEvent& ev : HostEvents) {
            SCOPED_TRACE(std::string(s.Name) + " " + ev.Name);
            auto w = Shown(s.Make());
            if (Fired(w.get(), ev) == 0) {
                silent << QStringLiteral("%1.%2").arg(QLatin1String(s.Name), QLatin1String(ev.Name));
                continue;
            }
            {
                Caught caught;
                ev.Arm(dynamic_cast<TControlEvents&>(*w), Thrower(ev.Name));
                ev.Fire(w.get());
                ev.Arm(dynamic_cast<TControlEvents&>(*w), {});
                EXPECT_TRUE(caught.Messages.contains(QLatin1String(ev.Name))) << caught.Messages.join(u'|').toStdString();
                ++routed;
            }
            Caught after;
            EXPECT_GE(Fired(w.get(), ev), 1);
            Rendered(w.get());
            EXPECT_TRUE(after.Messages.isEmpty()) << after.Messages.join(u'|').toStdString();
        }
    }
    RecordProperty("routed", routed);
    RecordProperty("not_fired", silent.join(u' ').toStdString());
    // Each event reaches every component, but for three that do not fire by design: the calendar
    // has no mouse-up event and double-clicks only on a day, and a combo box clicks when an entry
    // is chosen, not when its list opens.
    silent.sort();
    EXPECT_EQ(silent.join(u' ').toStdString(), "TColSel.OnClick TMiniCal.OnDblClick TMiniCal.OnMouseUp");
}

namespace {

// A handler a component calls while it paints, armed on a component made by Make.
struct PaintHandler {
    const char* Name;
    std::function<std::unique_ptr<QWidget>()> Make;
    std::function<void(QWidget*, const Act&)> Arm;
};

template <class T>
PaintHandler OnPaintOf(const char* name, const char* subject, std::function<void(T&, const Act&)> arm)
{
    for (const Subject& s : Subjects())
        if (std::string(s.Name) == subject)
            return {name, s.Make, [arm](QWidget* w, const Act& a) { arm(static_cast<T&>(*w), a); }};
    return {name, {}, {}};
}

} // namespace

// Handlers called during a paint: the exception ends that paint, the next one is whole again.
TEST(FailureHandlers, ExceptionsFromPaintHandlersLeaveTheNextPaintWhole)
{
    const PaintHandler handlers[] = {
        OnPaintOf<TMeter>("OnBeforeDrawNeedle", "TMeter", [](TMeter& m, const Act& a) { Point(m.OnBeforeDrawNeedle, a); }),
        OnPaintOf<TMeter>("OnBeforeDrawScaleLabel", "TMeter", [](TMeter& m, const Act& a) { Point(m.OnBeforeDrawScaleLabel, a); }),
        OnPaintOf<TMeter>("OnMeterRendered", "TMeter", [](TMeter& m, const Act& a) { Point(m.OnMeterRendered, a); }),
        OnPaintOf<TNumLab>("OnBeforeDisplay", "TNumLab", [](TNumLab& n, const Act& a) { Point(n.OnBeforeDisplay, a); }),
        OnPaintOf<TProgBar>("OnShowValue", "TProgBar", [](TProgBar& p, const Act& a) { Point(p.OnShowValue, a); }),
        OnPaintOf<TGradFill>("OnPaint", "TGradFill", [](TGradFill& g, const Act& a) { Point(g.OnPaint, a); }),
        OnPaintOf<TDrawGrid>("OnDrawCell", "TDrawGrid", [](TDrawGrid& g, const Act& a) { Point(g.OnDrawCell, a); }),
        OnPaintOf<TReportListView>("OnBeforeRenderCell", "TReportListView",
                                   [](TReportListView& v, const Act& a) { Point(v.OnBeforeRenderCell, a); }),
        OnPaintOf<TNTabEd>("OnBeforeRenderCell", "TNTabEd", [](TNTabEd& t, const Act& a) { Point(t.OnBeforeRenderCell, a); }),
        OnPaintOf<TThumbnails>("OnImageRequest", "TThumbnails",
                               [](TThumbnails& t, const Act& a) { Point(t.OnImageRequest, a); }),
        OnPaintOf<TThumbnails>("OnSlideRendered", "TThumbnails",
                               [](TThumbnails& t, const Act& a) { Point(t.OnSlideRendered, a); }),
        OnPaintOf<TThumbnails>("OnFirstImageRequest", "TThumbnails",
                               [](TThumbnails& t, const Act& a) { Point(t.OnFirstImageRequest, a); }),
        OnPaintOf<TMarkSel>("OnPaint", "TMarkSel", [](TMarkSel& m, const Act& a) { Point(m.OnPaint, a); }),
    };
    for (const PaintHandler& h : handlers) {
        SCOPED_TRACE(h.Name);
        ASSERT_TRUE(h.Make);
        {
            auto probe = h.Make();
            int calls = 0;
            h.Arm(probe.get(), [&] { ++calls; });
            Rendered(probe.get());
            if (calls == 0) {
                ADD_FAILURE() << "the paint does not call " << h.Name;
                continue;
            }
        }
        // The first paint of the victim fails, so nothing it caches on the way is complete.
        auto reference = Shown(h.Make());
        auto victim = h.Make();
        {
            Caught caught;
            h.Arm(victim.get(), Thrower(h.Name));
            victim = Shown(std::move(victim));   // its paint events, as the screen asks for them
            h.Arm(victim.get(), {});
            EXPECT_EQ(caught.Messages.value(0), QLatin1String(h.Name));
        }
        Caught after;
        EXPECT_EQ(Rendered(victim.get()), Rendered(reference.get()));
        EXPECT_TRUE(after.Messages.isEmpty());
    }
}

// Ticks: the scrolling label and the auto-incrementing bar go on exactly as a twin that never
// saw the exception.
TEST(FailureHandlers, ExceptionsFromTimerTicksLeaveTheComponentTicking)
{
    {
        TRasterLab victim, twin;
        for (TRasterLab* r : {&victim, &twin}) {
            r->resize(120, 30);
            r->SetText(QStringLiteral("scroll"));
            r->SetScrollMode(rdsmLeft);
            r->SetScrollIncrement(7);
            r->show();   // a hidden label pauses its scrolling
        }
        Caught caught;
        victim.OnScrollTimer = [](QObject*) { throw std::runtime_error("scroll tick"); };
        for (int i = 0; i < 40; ++i) {   // past the left edge: the loop restarts too
            victim.ScrollTimer()->Tick();
            twin.ScrollTimer()->Tick();
        }
        EXPECT_EQ(caught.Messages.size(), 40);
        EXPECT_EQ(caught.Messages.value(0), QStringLiteral("scroll tick"));
        EXPECT_EQ(victim.ScrollX(), twin.ScrollX());
        EXPECT_TRUE(victim.ScrollTimer()->Active());
        victim.OnScrollTimer = nullptr;
        victim.OnScrollLoopRestart = [](QObject*) { throw std::runtime_error("restart"); };
        for (int i = 0; i < 40; ++i) {
            victim.ScrollTimer()->Tick();
            twin.ScrollTimer()->Tick();
        }
        EXPECT_TRUE(caught.Messages.contains(QStringLiteral("restart")));
        EXPECT_EQ(victim.ScrollX(), twin.ScrollX());
        EXPECT_EQ(Rendered(&victim), Rendered(&twin));
    }
    {
        TProgBar victim, twin;
        for (TProgBar* p : {&victim, &twin}) {
            p->resize(120, 20);
            p->SetAutoInc(true);
        }
        Caught caught;
        victim.OnAutoInc = [](QObject*) { throw std::runtime_error("auto increment"); };
        for (int i = 0; i < 5; ++i) {
            victim.AutoIncTimer()->Tick();
            twin.AutoIncTimer()->Tick();
        }
        EXPECT_EQ(caught.Messages.size(), 5);
        EXPECT_EQ(victim.Value(), twin.Value());
        EXPECT_TRUE(victim.AutoIncTimer()->Active());
        EXPECT_EQ(Rendered(&victim), Rendered(&twin));
    }
    {
        TRepSpeedButton victim;
        victim.resize(40, 24);
        victim.show();
        QTest::mousePress(&victim, Qt::LeftButton, {}, QPoint(20, 12));
        ASSERT_TRUE(victim.Held());
        Caught caught;
        victim.OnRepeatClick = [](QObject*) { throw std::runtime_error("repeat"); };
        for (int i = 0; i < 5; ++i)
            victim.RepeatTimer()->Tick();
        EXPECT_EQ(caught.Messages, QStringList(5, QStringLiteral("repeat")));
        EXPECT_TRUE(victim.RepeatTimer()->Active());
        EXPECT_FALSE(victim.InStartPhase());
        int repeats = 0;
        victim.OnRepeatClick = [&](QObject*) { ++repeats; };
        victim.RepeatTimer()->Tick();
        EXPECT_EQ(repeats, 1);
        QTest::mouseRelease(&victim, Qt::LeftButton, {}, QPoint(20, 12));
        EXPECT_FALSE(victim.RepeatTimer()->Active());
    }
}

// Notifications fired by what the user does: the change is made, the exception reported, and
// the component takes the next input.
TEST(FailureHandlers, ExceptionsFromNotificationsOfUserInputKeepTheChange)
{
    {
        TNumIO2 field;
        field.resize(120, 24);
        field.show();
        field.SetFocus();
        Caught caught;
        field.OnChange = [](QObject*) { throw std::runtime_error("changed"); };
        QTest::keyClick(&field, Qt::Key_7);
        EXPECT_EQ(caught.Messages, QStringList{QStringLiteral("changed")});
        field.OnChange = nullptr;
        QTest::keyClick(&field, Qt::Key_3);
        EXPECT_TRUE(field.Text().endsWith(QStringLiteral("73"))) << field.Text().toStdString();
    }
    {
        TReportListView view;
        view.resize(200, 120);
        view.SetNrOfColumns(2);
        view.SetNrOfRows(3);
        view.SetColumnCheckMode(2, cmBox);
        view.show();
        QApplication::processEvents();
        Caught caught;
        view.OnCheckedChange = [](QObject*, bool&, int, int) { throw std::runtime_error("checked"); };
        const QRect box = view.CellRect(1, 1);
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(box.left() + 6, box.center().y()));
        EXPECT_EQ(caught.Messages, QStringList{QStringLiteral("checked")});
        EXPECT_TRUE(view.ElemChecked(2, 1));
        view.OnCheckedChange = nullptr;
        view.OnSelectedChange = [](QObject*) { throw std::runtime_error("selected"); };
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.CellRect(0, 2).center());
        EXPECT_TRUE(caught.Messages.contains(QStringLiteral("selected")));
        view.OnSelectedChange = nullptr;
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(box.left() + 6, box.center().y()));
        EXPECT_FALSE(view.ElemChecked(2, 1));
    }
}

// The new components' own notifications of user input: the change is made, the exception
// reported, and the next input is taken.
TEST(FailureHandlers, ExceptionsFromNotificationsOfTheSelectorsKeepTheChange)
{
    {
        TOnOffBut button;
        button.resize(100, 50);
        button.SetMouseAction(oomaPlain);
        button.show();
        const bool start = button.OnOff();
        Caught caught;
        button.OnClick = [](QObject*) { throw std::runtime_error("clicked"); };
        QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(50, 25));
        EXPECT_EQ(caught.Messages, QStringList{QStringLiteral("clicked")});
        EXPECT_EQ(button.OnOff(), !start);
        button.OnClick = nullptr;
        QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(50, 25));
        EXPECT_EQ(button.OnOff(), start);
    }
    {
        TThumbnails pane;
        pane.resize(300, 200);
        pane.show();
        QApplication::processEvents();
        int x, y;
        pane.CalcSlidePos(2, x, y);
        const QPoint second(x + pane.Pitch() / 2, y + pane.Pitch() / 2);
        ASSERT_EQ(pane.CalcSlideIndex(second.x(), second.y()), 2);
        Caught caught;
        pane.OnImageClick = [](QObject*, int, int, int) { throw std::runtime_error("image clicked"); };
        QTest::mouseClick(&pane, Qt::LeftButton, {}, second);
        EXPECT_EQ(caught.Messages, QStringList{QStringLiteral("image clicked")});
        EXPECT_TRUE(pane.SlideSelected(2));
        pane.OnImageClick = nullptr;
        pane.CalcSlidePos(1, x, y);
        QTest::mouseClick(&pane, Qt::LeftButton, {}, QPoint(x + pane.Pitch() / 2, y + pane.Pitch() / 2));
        EXPECT_TRUE(pane.SlideSelected(1));
        EXPECT_FALSE(pane.SlideSelected(2));
    }
    {
        TMarkSel picker;
        picker.resize(200, 120);
        picker.show();
        Caught caught;
        int marks = 0;
        picker.OnMarkClick = [](QObject*, int, int, int) { throw std::runtime_error("mark"); };
        QTest::mouseClick(&picker, Qt::LeftButton, {}, QPoint(30, 30));
        EXPECT_EQ(caught.Messages, QStringList{QStringLiteral("mark")});
        const int chosen = picker.Selected();
        picker.OnMarkClick = [&](QObject*, int, int, int) { ++marks; };
        QTest::mouseClick(&picker, Qt::LeftButton, {}, QPoint(150, 90));
        EXPECT_EQ(marks, 1);
        EXPECT_NE(picker.Selected(), chosen);
    }
    {
        TMiniCal cal;
        cal.SetDate(EncodeDate(2024, 2, 14));
        cal.show();
        QApplication::processEvents();
        Caught caught;
        cal.OnChange = [](QObject*) { throw std::runtime_error("date"); };
        QTest::keyClick(&cal, Qt::Key_Right);
        EXPECT_EQ(caught.Messages, QStringList{QStringLiteral("date")});
        EXPECT_EQ(cal.Date(), EncodeDate(2024, 2, 15));
        cal.OnChange = nullptr;
        QTest::keyClick(&cal, Qt::Key_Right);
        EXPECT_EQ(cal.Date(), EncodeDate(2024, 2, 16));
    }
}
