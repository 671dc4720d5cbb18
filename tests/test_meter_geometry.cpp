// Meter geometry: dial centre and radius per layout, value <-> angle <-> pixel mapping, label
// decimals and the nice tick step, including the inputs that must not hang or divide by zero.
#include <gtest/gtest.h>

#include <QOR_Meter.h>

#include <chrono>
#include <cmath>
#include <limits>

using namespace qor;

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

TEST(MeterGeometry, DefaultDialIsA90DegreeArcOnTheBottom)
{
    TMeter m;
    EXPECT_EQ(m.width(), 297);
    EXPECT_EQ(m.height(), 209);
    EXPECT_EQ(m.SweepAngle(), 90);
    EXPECT_DOUBLE_EQ(m.Radius(), 175.0);
    EXPECT_EQ(m.CenterX(), 148);
    EXPECT_EQ(m.CenterY(), 191);
    EXPECT_DOUBLE_EQ(m.DrawingAngle(0.0), 135.0);
    EXPECT_DOUBLE_EQ(m.DrawingAngle(1.0), 45.0);
    EXPECT_DOUBLE_EQ(m.DrawingAngle(0.5), 90.0);
}

TEST(MeterGeometry, EveryLayoutFollowsItsFormula)
{
    TMeter m;   // 297 x 209, rims 8 / 10 / 10: D = 199
    struct Case { TMeterLayout layout; int sweep; double r; int cy; };
    const Case cases[] = {
        {mlCirc120, 120, (297 / 2.0 - 18) * 1.1547, 191},   // width-bound
        {mlCirc180, 180, 130.5, 191},
        {mlCirc270, 270, 175 / (1 + std::cos(3.14159265358979 / 4)), 119},
        {mlCirc300, 300, 175 / 1.866, 110},
        {mlCirc360, 360, 87.5, 104},                        // Round(103.5) goes to even
        {mlCirc90, 90, 175.0, 191},
    };
    for (const Case& c : cases) {
        m.SetMeterLayout(c.layout);
        SCOPED_TRACE(int(c.layout));
        EXPECT_EQ(m.SweepAngle(), c.sweep);
        EXPECT_NEAR(m.Radius(), c.r, 1e-9);
        EXPECT_EQ(m.CenterY(), c.cy);
        EXPECT_EQ(m.CenterX(), 148);
    }
}

TEST(MeterGeometry, ResizeAndRimsRecomputeEvenWhenHidden)
{
    TMeter m;
    m.resize(400, 300);
    EXPECT_DOUBLE_EQ(m.Radius(), 300 - 10 - 8 - 16);
    EXPECT_EQ(m.CenterX(), 200);
    m.SetRimBottom(20);
    EXPECT_EQ(m.CenterY(), 300 - 20 - 8);
    m.SetRimTop(0);
    EXPECT_DOUBLE_EQ(m.Radius(), 280 - 16);
}

TEST(MeterGeometry, NeedleAngleAndPixelCoordinatesAgreeWithTheDrawingAngle)
{
    TMeter m;
    EXPECT_DOUBLE_EQ(m.CalcNeedleAngle(0.0), 135.0);
    EXPECT_DOUBLE_EQ(m.CalcNeedleAngle(0.5), 180.0);
    EXPECT_DOUBLE_EQ(m.CalcNeedleAngle(1.0), 225.0);
    int x = 0, y = 0;
    m.ConvertToPixelCoords(x, y, 100, 0.5);
    EXPECT_EQ(x, 148);
    EXPECT_EQ(y, 16);
    m.ConvertToPixelCoords(x, y, 100, 0.0);
    EXPECT_EQ(x, 24);   // 148 - 175 cos 45°
    EXPECT_EQ(y, 67);
    m.ConvertToPixelCoords(x, y, 50, 1.0);
    EXPECT_EQ(x, 210);
    EXPECT_EQ(y, 129);
    m.ConvertToPixelCoords(x, y, 0, 0.3);
    EXPECT_EQ(x, 148);
    EXPECT_EQ(y, 191);
    // Values outside the range sit on the ends of the scale.
    EXPECT_DOUBLE_EQ(m.CalcNeedleAngle(-5), 135.0);
    EXPECT_DOUBLE_EQ(m.CalcNeedleAngle(7), 225.0);
}

TEST(MeterGeometry, PixelToValueOverAndBelowTheCentre)
{
    TMeter m;
    double v = -1;
    EXPECT_TRUE(m.ConvertPixelToValue(148, 50, v));
    EXPECT_DOUBLE_EQ(v, 0.5);
    EXPECT_TRUE(m.ConvertPixelToValue(148, 190, v));   // distance does not matter
    EXPECT_DOUBLE_EQ(v, 0.5);
    EXPECT_TRUE(m.ConvertPixelToValue(48, 91, v));      // 135°: the minimum end
    EXPECT_NEAR(v, 0.0, 1e-12);
    EXPECT_TRUE(m.ConvertPixelToValue(248, 91, v));     // 45°: the maximum end
    EXPECT_NEAR(v, 1.0, 1e-12);
    v = 7;
    EXPECT_FALSE(m.ConvertPixelToValue(148, 200, v));   // below the centre of a 90° dial
    EXPECT_EQ(v, 0.0);
    EXPECT_FALSE(m.ConvertPixelToValue(10, 191, v));    // level with the centre, left
    EXPECT_EQ(v, 0.0);

    m.SetMeterLayout(mlCirc360);
    EXPECT_TRUE(m.ConvertPixelToValue(m.CenterX(), m.CenterY() + 40, v));
    EXPECT_NEAR(v, 0.0, 1e-12);   // straight down is where a full circle starts
}

TEST(MeterGeometry, LogarithmicMappingUsesLogFractions)
{
    TMeter m;
    m.SetMeterMaxValue(1000);
    m.SetMeterMinValue(1);
    m.SetLogarithmic(true);
    ASSERT_TRUE(m.Logarithmic());
    EXPECT_DOUBLE_EQ(m.DrawingAngle(std::sqrt(1000.0)), 90.0);
    EXPECT_NEAR(m.DrawingAngle(10), 135 - 30.0, 1e-9);
    double v = 0;
    EXPECT_TRUE(m.ConvertPixelToValue(148, 50, v));
    EXPECT_NEAR(v, std::sqrt(1000.0), 1e-9);
    // A value that is not above 0 falls back to the linear fraction instead of log(0).
    EXPECT_TRUE(std::isfinite(m.DrawingAngle(0)));
}

TEST(MeterGeometry, LabelDecimalsFromTheSpan)
{
    EXPECT_EQ(TMeter::CalcM(3, 0, 1), 3);
    EXPECT_EQ(TMeter::CalcM(-1, 0, 1), -1);
    EXPECT_EQ(TMeter::CalcM(-2, 1, 0), 2);          // ln 1 = 0
    EXPECT_EQ(TMeter::CalcM(-2, 10, 0), 1);         // 2 - Round(0.92)
    EXPECT_EQ(TMeter::CalcM(-2, 0, 0.05), 3);       // 2 - Round(-1.198)
    EXPECT_EQ(TMeter::CalcM(-2, 0, 100), 0);
    EXPECT_EQ(TMeter::CalcM(-2, 0, 1e6), -1);
    EXPECT_EQ(TMeter::CalcM(-2, 3, 3), -1);
    EXPECT_EQ(TMeter::CalcM(-2, NaN, 1), -1);
    EXPECT_EQ(TMeter::CalcM(-2, -Inf, Inf), -1);
}

TEST(MeterGeometry, NiceStepWorkedExamples)
{
    TMeterTickStep s = TMeter::NiceTickStep(3, 0, 1);
    EXPECT_NEAR(s.Step, 0.2, 1e-15);
    EXPECT_EQ(s.Minor, 4);
    EXPECT_NEAR(s.First, 0.0, 1e-15);

    s = TMeter::NiceTickStep(5, 0, 100);   // h equals log10 2, still below the limit
    EXPECT_DOUBLE_EQ(s.Step, 10);
    EXPECT_EQ(s.Minor, 5);
    EXPECT_NEAR(s.First, 0, 1e-12);

    s = TMeter::NiceTickStep(3, 0, 1000);
    EXPECT_DOUBLE_EQ(s.Step, 200);
    EXPECT_EQ(s.Minor, 4);

    s = TMeter::NiceTickStep(3, 0, 250);
    EXPECT_DOUBLE_EQ(s.Step, 50);
    EXPECT_EQ(s.Minor, 5);

    s = TMeter::NiceTickStep(4, 0.13, 0.97);   // first multiple of the step not below lo
    EXPECT_NEAR(s.Step, 0.2, 1e-15);
    EXPECT_NEAR(s.First, 0.2, 1e-12);

    s = TMeter::NiceTickStep(3, -7, 7);
    EXPECT_DOUBLE_EQ(s.Step, 2);
    EXPECT_EQ(s.Minor, 4);
    EXPECT_NEAR(s.First, -6, 1e-12);

    s = TMeter::NiceTickStep(3, 1, 0);   // reversed range: the step runs downwards
    EXPECT_NEAR(s.Step, -0.2, 1e-15);
    EXPECT_NEAR(s.First, 1.0, 1e-12);

    s = TMeter::NiceTickStep(0, 2.5, 9);
    EXPECT_DOUBLE_EQ(s.Step, 1);
    EXPECT_DOUBLE_EQ(s.First, 3);
    EXPECT_EQ(s.Minor, 5);
}

TEST(MeterGeometry, NiceStepSurvivesBadInput)
{
    const auto t0 = std::chrono::steady_clock::now();
    TMeterTickStep s = TMeter::NiceTickStep(3, 5, 5);
    EXPECT_EQ(s.Step, 0);
    EXPECT_EQ(s.First, 5);
    EXPECT_EQ(s.Minor, 1);
    for (double bad : {NaN, Inf, -Inf}) {
        s = TMeter::NiceTickStep(3, bad, 1);
        EXPECT_EQ(s.Step, 0);
        EXPECT_TRUE(std::isfinite(s.First));
        s = TMeter::NiceTickStep(3, 0, bad);
        EXPECT_EQ(s.Step, 0);
    }
    s = TMeter::NiceTickStep(3, -1e308, 1e308);   // the span itself overflows
    EXPECT_EQ(s.Step, 0);
    s = TMeter::NiceTickStep(2000000000, 0, 1);
    EXPECT_GT(s.Step, 0);
    EXPECT_LT(s.Step, 1e-8);
    s = TMeter::NiceTickStep(-4, 0, 1);
    EXPECT_DOUBLE_EQ(s.Step, 1);
    s = TMeter::NiceTickStep(3, 1e20, 1e20 + 1e5);   // step far below the bounds' precision
    EXPECT_TRUE(std::isfinite(s.First));
    s = TMeter::NiceTickStep(3, 1e-300, 2e-300);
    EXPECT_GT(s.Step, 0);
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(1));
}

} // namespace
