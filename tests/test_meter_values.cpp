// Meter properties: defaults and clamping, the repairs between range, value and thresholds,
// the limit events and lamps, loading mode, needle layouts and the mouse read-out.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include "test_support.h"

#include <QOR_Meter.h>

#include <QApplication>
#include <QFont>
#include <QMouseEvent>
#include <cmath>
#include <limits>
#include <vector>

using namespace qor;

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

// Records the limit events in order: 'O'verflow, 'U'nderflow, 'N'ormal.
struct EventLog {
    explicit EventLog(TMeter& m)
    {
        m.OnOverFlow = [this](QObject*) { seen += 'O'; };
        m.OnUnderFlow = [this](QObject*) { seen += 'U'; };
        m.OnNormalRange = [this](QObject*) { seen += 'N'; };
    }
    std::string seen;
};

TEST(MeterValues, Defaults)
{
    TMeter m;
    EXPECT_EQ(m.MeterLayout(), mlCirc90);
    EXPECT_EQ(m.MeterMinValue(), 0.0);
    EXPECT_EQ(m.MeterMaxValue(), 1.0);
    EXPECT_EQ(m.Value(), 0.0);
    EXPECT_EQ(m.ValueSec(), 0.0);
    EXPECT_EQ(m.ThresholdLow(), 0.0);
    EXPECT_EQ(m.ThresholdHigh(), 1.0);
    EXPECT_FALSE(m.Logarithmic());
    EXPECT_EQ(m.MeterNrTicks(), 3);
    EXPECT_EQ(m.MeterDecPlaces(), 1);
    EXPECT_TRUE(m.MeterShortTicks());
    EXPECT_TRUE(m.MeterScaleLine());
    EXPECT_TRUE(m.ScaleVisible());
    EXPECT_FALSE(m.ScaleBkVisible());
    EXPECT_EQ(m.ScaleBkWidth(), 0.0);
    EXPECT_EQ(m.ColorScale(), clNavy);
    EXPECT_EQ(m.ColorSclBkLow(), clLime);
    EXPECT_EQ(m.ColorSclBkNorm(), 0x0080FF);
    EXPECT_EQ(m.ColorSclBkHigh(), clRed);
    EXPECT_EQ(m.ColorBakG(), clWhite);
    EXPECT_EQ(m.ColorCover(), clBtnFace);
    EXPECT_EQ(m.ColorScheme(), csGrayWhite);
    EXPECT_EQ(m.FrameStyle(), fsRaised);
    EXPECT_EQ(m.RimTop(), 8);
    EXPECT_EQ(m.RimBottom(), 10);
    EXPECT_EQ(m.RimSide(), 10);
    EXPECT_TRUE(m.Caption().isEmpty());
    EXPECT_TRUE(*m.FontCaption() == *m.Font());
    EXPECT_TRUE(m.BackGroundImg().isEmpty());
    EXPECT_EQ(m.BkgndFillMode(), bfSimple);
    EXPECT_TRUE(m.AnchorCovered());
    EXPECT_EQ(m.AnchorSize(), 24);
    EXPECT_TRUE(m.LimWatchHighOn());
    EXPECT_TRUE(m.LimWatchLowOn());
    EXPECT_EQ(m.LimWatchActColor(), clRed);
    EXPECT_EQ(m.LimWatchPsvColor(), clGray);
    for (TNeedleLayout* n : {m.NeedleLayout(), m.NeedleLayoutSec()}) {
        EXPECT_EQ(n->HeadSize(), 20);
        EXPECT_EQ(n->HeadAngle(), 30);
        EXPECT_EQ(n->HeadMidLeng(), 20);
        EXPECT_EQ(n->Thickness(), 0);
        EXPECT_EQ(n->ColorBody(), clSilver);
        EXPECT_EQ(n->ColorOutline(), clBlack);
        EXPECT_EQ(n->PercentNeedleLength(), 100);
        EXPECT_EQ(n->ShadowDx(), 0);
        EXPECT_EQ(n->ShadowDy(), 0);
        EXPECT_EQ(n->ShadowColor(), clGray);
    }
    EXPECT_TRUE(m.NeedleLayout()->Visible());
    EXPECT_FALSE(m.NeedleLayoutSec()->Visible());
    // The published properties reach Qt's property system with Qt types.
    EXPECT_EQ(m.property("ColorScale").value<QColor>(), QColor(0, 0, 0x80));
    EXPECT_EQ(m.property("MeterNrTicks").toInt(), 3);
}

TEST(MeterValues, PublishedPropertiesWorkThroughQtsPropertySystem)
{
    // What a form loader does with the stored properties.
    TMeter m;
    EXPECT_TRUE(m.setProperty("MeterMaxValue", 50.0));
    EXPECT_TRUE(m.setProperty("Value", 20.0));
    EXPECT_TRUE(m.setProperty("MeterLayout", 4));
    EXPECT_TRUE(m.setProperty("ColorBakG", QColor(0x11, 0x22, 0x33)));
    EXPECT_TRUE(m.setProperty("FrameStyle", 5));
    EXPECT_TRUE(m.setProperty("Caption", QStringLiteral("psi")));
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(17);
    f.setBold(true);
    EXPECT_TRUE(m.setProperty("FontCaption", f));
    EXPECT_EQ(m.MeterMaxValue(), 50.0);
    EXPECT_EQ(m.Value(), 20.0);
    EXPECT_EQ(m.MeterLayout(), mlCirc300);
    EXPECT_EQ(m.ColorBakG(), RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(m.FrameStyle(), fsEngraved);
    EXPECT_EQ(m.Caption(), QStringLiteral("psi"));
    EXPECT_TRUE(m.FontCaption()->Style().Contains(fsBold));
    EXPECT_EQ(m.property("FontCaption").value<QFont>().pixelSize(), 17);
    // The needle layouts are designed property by property.
    EXPECT_TRUE(m.setProperty("NeedleLayout_HeadAngle", 300));
    EXPECT_EQ(m.NeedleLayout()->HeadAngle(), 180);
    EXPECT_TRUE(m.setProperty("NeedleLayoutSec_Visible", true));
    EXPECT_TRUE(m.NeedleLayoutSec()->Visible());
    EXPECT_TRUE(m.setProperty("NeedleLayoutSec_ColorBody", QColor(0x10, 0x20, 0x30)));
    EXPECT_EQ(m.NeedleLayoutSec()->ColorBody(), RGB(0x10, 0x20, 0x30));
}

TEST(MeterValues, SettersClamp)
{
    TMeter m;
    m.SetMeterNrTicks(1);
    EXPECT_EQ(m.MeterNrTicks(), 2);
    m.SetMeterNrTicks(500);
    EXPECT_EQ(m.MeterNrTicks(), 21);
    m.SetMeterDecPlaces(-3);
    EXPECT_EQ(m.MeterDecPlaces(), 0);
    m.SetMeterDecPlaces(9);
    EXPECT_EQ(m.MeterDecPlaces(), 4);
    m.SetScaleBkWidth(-1);
    EXPECT_EQ(m.ScaleBkWidth(), 0.0);
    m.SetScaleBkWidth(250);
    EXPECT_EQ(m.ScaleBkWidth(), 100.0);
    m.SetScaleBkWidth(NaN);
    EXPECT_EQ(m.ScaleBkWidth(), 100.0);
    m.SetMeterLayout(TMeterLayout(17));
    EXPECT_EQ(m.MeterLayout(), mlCirc90);
    TNeedleLayout* n = m.NeedleLayout();
    n->SetHeadAngle(400);
    EXPECT_EQ(n->HeadAngle(), 180);
    n->SetHeadAngle(-5);
    EXPECT_EQ(n->HeadAngle(), 0);
    n->SetPercentNeedleLength(101);
    EXPECT_EQ(n->PercentNeedleLength(), 100);
    n->SetPercentNeedleLength(-1);
    EXPECT_EQ(n->PercentNeedleLength(), 0);
}

TEST(MeterValues, ValueFiresOneEventPerChangeAndLightsLamps)
{
    TMeter m;
    m.SetThresholdLow(0.2);
    m.SetThresholdHigh(0.8);
    EventLog log(m);
    m.SetValue(0.5);
    m.SetValue(0.5);   // unchanged: nothing
    EXPECT_EQ(log.seen, "N");
    EXPECT_FALSE(m.HighLampLit());
    EXPECT_FALSE(m.LowLampLit());
    m.SetValue(0.8);   // at the high threshold counts as over
    EXPECT_EQ(log.seen, "NO");
    EXPECT_TRUE(m.HighLampLit());
    m.SetValue(0.2);   // at the low threshold counts as under
    EXPECT_EQ(log.seen, "NOU");
    EXPECT_TRUE(m.LowLampLit());
    EXPECT_FALSE(m.HighLampLit());
    m.SetValue(9);
    EXPECT_EQ(m.Value(), 1.0);
    m.SetValue(-9);
    EXPECT_EQ(m.Value(), 0.0);
    EXPECT_EQ(log.seen, "NOUOU");
}

TEST(MeterValues, HiddenMainNeedleRaisesNoEvents)
{
    TMeter m;
    EventLog log(m);
    m.NeedleLayout()->SetVisible(false);
    m.SetValue(1);
    EXPECT_EQ(log.seen, "");
    EXPECT_FALSE(m.HighLampLit());
    EXPECT_EQ(m.Value(), 1.0);
}

TEST(MeterValues, SecondaryValueEvaluatesOnlyWhileVisible)
{
    TMeter m;
    m.SetThresholdHigh(0.8);
    EventLog log(m);
    m.SetValue(0.9);
    ASSERT_TRUE(m.HighLampLit());
    m.SetValueSec(5);   // hidden: stored, clamped, quiet, the main value's lamp stays lit
    EXPECT_EQ(m.ValueSec(), 1.0);
    EXPECT_EQ(log.seen, "O");
    EXPECT_TRUE(m.HighLampLit());
    m.NeedleLayoutSec()->SetVisible(true);
    m.SetValueSec(0.5);
    EXPECT_EQ(log.seen, "ON");
    EXPECT_FALSE(m.HighLampLit());
}

TEST(MeterValues, RangeRepairs)
{
    TMeter m;
    m.SetMeterMinValue(10);
    EXPECT_EQ(m.MeterMaxValue(), 11.0);
    EXPECT_EQ(m.Value(), 10.0);
    EXPECT_EQ(m.ThresholdLow(), 10.0);
    EXPECT_EQ(m.ThresholdHigh(), 10.0);
    m.SetMeterMaxValue(5);
    EXPECT_EQ(m.MeterMinValue(), 4.0);
    EXPECT_EQ(m.Value(), 5.0);
    EXPECT_EQ(m.ValueSec(), 5.0);
    EXPECT_EQ(m.ThresholdHigh(), 5.0);

    TMeter g;
    g.SetMeterMaxValue(10);
    g.SetMeterMinValue(1);
    g.SetLogarithmic(true);
    ASSERT_TRUE(g.Logarithmic());
    g.SetMeterMaxValue(0.5);   // 0.5 - 1 is not above 0 on a logarithmic scale
    EXPECT_DOUBLE_EQ(g.MeterMinValue(), 0.05);
    g.SetMeterMinValue(0);     // below 1e-100: ignored
    g.SetMeterMaxValue(-3);
    g.SetThresholdLow(0);
    EXPECT_DOUBLE_EQ(g.MeterMinValue(), 0.05);
    EXPECT_DOUBLE_EQ(g.MeterMaxValue(), 0.5);
    EXPECT_DOUBLE_EQ(g.ThresholdLow(), 0.5);   // clamped down by the max change

    TMeter lin;
    lin.SetLogarithmic(true);   // min is 0: the scale stays linear
    EXPECT_FALSE(lin.Logarithmic());
}

TEST(MeterValues, ThresholdsRepairEachOtherAndUpdateLamps)
{
    TMeter m;
    m.SetValue(0.5);
    EventLog log(m);
    m.SetThresholdLow(0.6);
    EXPECT_TRUE(m.LowLampLit());
    EXPECT_EQ(log.seen, "U");
    m.SetThresholdHigh(0.4);   // lowers ThresholdLow with it; the value is now over
    EXPECT_EQ(m.ThresholdLow(), 0.4);
    EXPECT_TRUE(m.HighLampLit());
    EXPECT_EQ(log.seen, "UO");
    m.SetThresholdLow(0.45);   // the low lamp goes out once the value is above it
    EXPECT_FALSE(m.LowLampLit());
    EXPECT_TRUE(m.HighLampLit());
    m.SetThresholdLow(3);      // clamped to the range, raises ThresholdHigh above the value
    EXPECT_EQ(m.ThresholdLow(), 1.0);
    EXPECT_EQ(m.ThresholdHigh(), 1.0);
    EXPECT_TRUE(m.LowLampLit());
    EXPECT_FALSE(m.HighLampLit());   // never both lamps for one value
    m.SetThresholdHigh(0.2);         // lowers ThresholdLow below the value
    EXPECT_TRUE(m.HighLampLit());
    EXPECT_FALSE(m.LowLampLit());
    m.SetThresholdHigh(NaN);
    EXPECT_EQ(m.ThresholdHigh(), 0.2);
}

TEST(MeterValues, NonFiniteInputKeepsTheMeterSane)
{
    TMeter m;
    m.SetValue(0.25);
    m.SetValue(NaN);
    EXPECT_EQ(m.Value(), 0.25);
    m.SetValue(Inf);
    EXPECT_EQ(m.Value(), 1.0);
    m.SetValue(-Inf);
    EXPECT_EQ(m.Value(), 0.0);
    m.SetMeterMaxValue(Inf);
    m.SetMeterMinValue(NaN);
    m.SetMeterMinValue(-Inf);
    EXPECT_EQ(m.MeterMinValue(), 0.0);
    EXPECT_EQ(m.MeterMaxValue(), 1.0);
    EXPECT_TRUE(std::isfinite(m.CalcNeedleAngle(NaN)));
}

TEST(MeterValues, LoadingOnlyStoresUntilLoaded)
{
    TMeter m;
    EventLog log(m);
    m.BeginLoading();
    m.SetValue(150);
    m.SetThresholdHigh(80);
    m.SetMeterMaxValue(100);
    m.SetLogarithmic(true);   // stored as is while loading
    EXPECT_EQ(m.Value(), 150.0);
    EXPECT_TRUE(m.Logarithmic());
    EXPECT_EQ(log.seen, "");
    m.SetMeterMinValue(1);
    m.Loaded();
    EXPECT_FALSE(m.Loading());
    EXPECT_EQ(m.Value(), 100.0);
    EXPECT_TRUE(m.HighLampLit());
    EXPECT_EQ(log.seen, "");
}

TEST(MeterValues, EqualBoundsAfterLoadingDoNotDivideByZero)
{
    TMeter m;
    m.BeginLoading();
    m.SetMeterMinValue(5);
    m.SetMeterMaxValue(5);
    m.SetValue(5);
    m.Loaded();
    EXPECT_DOUBLE_EQ(m.CalcNeedleAngle(5), 135.0);
    double v = -1;
    EXPECT_TRUE(m.ConvertPixelToValue(148, 40, v));
    EXPECT_EQ(v, 5.0);
    m.RenderNow();   // one tick, one label, no endless loop
}

TEST(MeterValues, LogarithmicFlagWithNonPositiveBoundsMapsLinearly)
{
    TMeter m;
    m.BeginLoading();   // loading stores the flag without checking the bounds
    m.SetLogarithmic(true);
    m.SetMeterMinValue(-5);
    m.SetMeterMaxValue(5);
    m.Loaded();
    EXPECT_DOUBLE_EQ(m.DrawingAngle(0), 90.0);
    double v = 1;
    EXPECT_TRUE(m.ConvertPixelToValue(148, 40, v));
    EXPECT_DOUBLE_EQ(v, 0.0);
    m.RenderNow();
}

TEST(MeterValues, NeedleLayoutsNotifyAndCopy)
{
    TMeter m;
    int changes = 0;
    TNeedleLayout* own = m.NeedleLayout();
    own->OnChange = [&](QObject* s) { EXPECT_EQ(s, own); ++changes; };
    own->SetThickness(4);
    own->SetThickness(4);
    own->SetColorBody(clYellow);
    EXPECT_EQ(changes, 2);

    TNeedleLayout other;
    other.SetHeadSize(7);
    other.SetShadowDx(3);
    other.SetVisible(false);
    m.SetNeedleLayout(&other);
    EXPECT_EQ(m.NeedleLayout(), own);   // still the owned object
    EXPECT_EQ(own->HeadSize(), 7);
    EXPECT_EQ(own->ShadowDx(), 3);
    EXPECT_FALSE(own->Visible());
    EXPECT_EQ(own->Thickness(), 0);
    EXPECT_EQ(changes, 3);              // one notification for the whole copy
    EXPECT_THROW(own->Assign(&m), EConvertError);
}

TEST(MeterValues, AssignCopiesAnotherMeter)
{
    TMeter a, b;
    a.SetMeterLayout(mlCirc300);
    a.SetMeterMaxValue(50);
    a.SetValue(20);
    a.SetCaption(QStringLiteral("kPa"));
    a.NeedleLayoutSec()->SetVisible(true);
    b.Assign(&a);
    EXPECT_EQ(b.MeterLayout(), mlCirc300);
    EXPECT_EQ(b.MeterMaxValue(), 50.0);
    EXPECT_EQ(b.Value(), 20.0);
    EXPECT_EQ(b.Caption(), QStringLiteral("kPa"));
    EXPECT_TRUE(b.NeedleLayoutSec()->Visible());
    EXPECT_EQ(b.SweepAngle(), 300);
    QObject plain;
    EXPECT_THROW(b.Assign(&plain), EConvertError);
    TMeter c;
    a.AssignTo(&c);
    EXPECT_EQ(c.Caption(), QStringLiteral("kPa"));
    EXPECT_THROW(a.AssignTo(&plain), EConvertError);
}

TEST(MeterValues, MouseMoveReportsTheValueUnderThePointer)
{
    TMeter m;
    int moves = 0;
    bool within = false;
    double value = -1;
    m.OnMouseMove = [&](QObject*, TShiftState, int, int) { ++moves; };
    m.OnMouseMoveInMeter = [&](QObject* s, bool w, TShiftState, double v) {
        EXPECT_EQ(s, &m);
        within = w;
        value = v;
    };
    auto move = [&](QPoint p) {
        QMouseEvent e(QEvent::MouseMove, QPointF(p), m.mapToGlobal(QPointF(p)), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(&m, &e);
    };
    move(QPoint(148, 60));
    EXPECT_TRUE(within);
    EXPECT_DOUBLE_EQ(value, 0.5);
    move(QPoint(148, 205));
    EXPECT_FALSE(within);
    EXPECT_EQ(value, 0.0);
    EXPECT_EQ(moves, 2);   // the inherited event still fires
}

TEST(MeterValues, SignalsFollowTheirEventsAndStayQuietForUnchangedValues)
{
    TMeter m;
    m.SetMeterMaxValue(100);
    m.SetThresholdLow(20);
    m.SetThresholdHigh(80);
    QStringList order;
    m.OnOverFlow = [&](QObject*) { order << QStringLiteral("OnOverFlow"); };
    QObject::connect(&m, &TMeter::overFlow, [&] { order << QStringLiteral("overFlow"); });
    QSignalSpy value(&m, &TMeter::valueChanged);
    QSignalSpy sec(&m, &TMeter::valueSecChanged);
    QSignalSpy under(&m, &TMeter::underFlow);
    QSignalSpy normal(&m, &TMeter::normalRange);
    m.SetValue(50);
    m.SetValue(50);                  // the value it already holds: nothing
    ASSERT_EQ(value.count(), 1);
    EXPECT_EQ(value.at(0).at(0).toDouble(), 50.0);
    EXPECT_EQ(normal.count(), 1);
    m.SetValue(90);
    EXPECT_EQ(order, QStringList({"OnOverFlow", "overFlow"}));   // the handler first
    m.SetValue(5);
    EXPECT_EQ(under.count(), 1);
    // A range change that moves the value reports it too; one that does not stays quiet.
    m.SetValue(60);
    value.clear();
    m.SetMeterMaxValue(40);
    ASSERT_EQ(value.count(), 1);
    EXPECT_EQ(value.at(0).at(0).toDouble(), 40.0);
    m.SetMeterMaxValue(300);
    EXPECT_EQ(value.count(), 1);
    m.NeedleLayoutSec()->SetVisible(true);
    m.SetValueSec(10);
    EXPECT_EQ(sec.count(), 1);
    QSignalSpy layout(m.NeedleLayout(), &TNeedleLayout::changed);
    m.setProperty("NeedleLayout_Thickness", 3);
    m.setProperty("NeedleLayout_Thickness", 3);
    EXPECT_EQ(layout.count(), 1);
    // A slider drives the meter through the Qt-style slot.
    QSignalSpy rendered(&m, &TMeter::meterRendered);
    m.resize(200, 150);
    qortest::Render(&m);
    EXPECT_EQ(rendered.count(), 1);
}

} // namespace

