// The configuration phase: forms load the same in any order, and a program's own writes are
// never undone by what a form (or the program) wrote earlier.
#include <gtest/gtest.h>

#include <QOR_Meter.h>
#include <QOR_ProgBar.h>
#include <QOR_gradfl.h>

#include <QCoreApplication>
#include <QSignalSpy>

#include <stdexcept>

using namespace qor;

namespace {

// A component with a clamped property (Level within 0 .. Limit) whose writer can be made to
// throw, to follow the phase where the real components cannot go.
class TLevelProbe : public TGraphicControl {
    Q_OBJECT
public:
    QOR_PROPERTY(int, Level)
    QOR_PROPERTY(int, Limit)

    int Level() const { return FLevel; }
    void SetLevel(int v)
    {
        if (FailingLevel == v)
            throw std::runtime_error("level refused");
        FLevel = std::clamp(v, 0, FLimit);
    }
    int Limit() const { return FLimit; }
    void SetLimit(int v)
    {
        FLimit = std::max(v, 0);
        FLevel = std::min(FLevel, FLimit);
    }
    int FailingLevel = -1;

private:
    int FLevel = 0;
    int FLimit = 10;
};

// Routes HandleException to a counter for the life of the object.
struct ExceptionCounter {
    int Count = 0;
    QString Last;
    ExceptionCounter()
    {
        SetExceptionHandler([this](const std::exception& e) {
            ++Count;
            Last = QString::fromUtf8(e.what());
        });
    }
    ~ExceptionCounter() { SetExceptionHandler(nullptr); }
};

TEST(ConfigurationPhase, ARangeCallOfTheProgramIsNotUndoneByALaterWrite)
{
    // uic-style calls, then the program's own range.
    TProgBar called;
    called.setMin(0);
    called.setMax(100);
    called.setValue(50);
    called.SetRange(0, 1000);
    called.setTextVisible(false);
    EXPECT_EQ(called.Max(), 1000.0);
    // The same through the meta-object, as QUiLoader writes.
    TProgBar loaded;
    loaded.setProperty("Min", 0.0);
    loaded.setProperty("Max", 100.0);
    loaded.setProperty("Value", 50.0);
    loaded.SetRange(0, 1000);
    loaded.setProperty("TextVisible", false);
    EXPECT_EQ(loaded.Max(), 1000.0);
    EXPECT_TRUE(loaded.Configuring());
}

TEST(ConfigurationPhase, ATimerTheProgramSwitchedOffStaysOff)
{
    for (bool viaMetaObject : {false, true}) {
        TProgBar b;
        if (viaMetaObject)
            b.setProperty("AutoInc", true);
        else
            b.setAutoInc(true);
        b.SetAutoInc(false);
        b.setTextAngle(5);
        EXPECT_FALSE(b.AutoInc()) << viaMetaObject;
        EXPECT_FALSE(b.AutoIncTimer()->Active()) << viaMetaObject;
    }
}

TEST(ConfigurationPhase, SetValueAssignAndClampingWinOverEarlierWrites)
{
    TProgBar b;
    b.setProperty("Value", 30.0);
    QSignalSpy changes(&b, &TProgBar::valueChanged);
    b.SetValue(0);
    b.setTextAngle(1);
    EXPECT_EQ(b.Value(), 0.0);
    ASSERT_EQ(changes.count(), 1);   // the program's 0, and no return to 30
    EXPECT_EQ(changes.at(0).at(0).toDouble(), 0.0);

    TProgBar source;
    source.SetValue(5);
    source.SetMax(40);
    TProgBar assigned;
    assigned.setProperty("Value", 30.0);
    assigned.setProperty("Max", 60.0);
    assigned.Assign(&source);
    assigned.setTextAngle(1);
    EXPECT_EQ(assigned.Value(), 5.0);
    EXPECT_EQ(assigned.Max(), 40.0);

    // The meter clamps its value into a narrowed range; widening it again does not bring the
    // form's value back.
    TMeter m;
    m.setProperty("MeterMaxValue", 100.0);
    m.setProperty("Value", 50.0);
    m.SetMeterMaxValue(20);
    m.SetMeterMaxValue(100);
    m.setProperty("Caption", QStringLiteral("V"));
    EXPECT_EQ(m.Value(), 20.0);
}

TEST(ConfigurationPhase, NothingIsWrittenBackFromASignalHandler)
{
    for (bool viaMetaObject : {false, true}) {
        TProgBar b;
        auto write = [&](const char* name, const QVariant& v) {
            if (viaMetaObject)
                b.setProperty(name, v);
            else if (QByteArray(name) == "Value")
                b.setValue(v.toDouble());
            else
                b.setColorMin(v.value<QColor>());
        };
        write("Value", 10.0);
        QObject::connect(&b, &TProgBar::valueChanged, &b, [&] { write("ColorMin", QColor(Qt::red)); });
        write("Value", 90.0);
        EXPECT_EQ(b.Value(), 90.0) << viaMetaObject;
        EXPECT_EQ(b.ColorMin(), clRed) << viaMetaObject;
    }
}

TEST(ConfigurationPhase, AFlipInCodeFlipsAsItDoesAfterShow)
{
    TGradFill before;
    ASSERT_TRUE(before.Configuring());
    before.setColorFirst(Qt::red);
    before.setColorLast(Qt::blue);
    before.setColorFlipped(true);
    TGradFill after;
    after.EndConfiguration();
    after.setColorFirst(Qt::red);
    after.setColorLast(Qt::blue);
    after.setColorFlipped(true);
    EXPECT_EQ(before.ColorFirst(), clBlue);
    EXPECT_EQ(before.ColorLast(), clRed);
    EXPECT_EQ(before.ColorFirst(), after.ColorFirst());
    EXPECT_EQ(before.ColorLast(), after.ColorLast());
}

TEST(ConfigurationPhase, ARequestThatDidNotHoldIsWrittenAgainUntilItHolds)
{
    // A compiled form with the value before its range.
    TLevelProbe p;
    p.setLevel(50);
    EXPECT_EQ(p.Level(), 10);
    p.setLimit(100);
    EXPECT_EQ(p.Level(), 50);
    // It held: a narrower range later clamps as always and the request is not made again.
    p.setLimit(20);
    p.setLimit(100);
    EXPECT_EQ(p.Level(), 20);
    // A request the program overrides in between is forgotten.
    p.setLimit(10);
    p.setLevel(70);
    p.SetLevel(3);
    p.setLimit(100);
    EXPECT_EQ(p.Level(), 3);
}

TEST(ConfigurationPhase, AThrowingWriteBackGoesToTheHandlerAndThePhaseGoesOn)
{
    ExceptionCounter errors;
    TLevelProbe p;
    p.setLevel(50);
    p.FailingLevel = 50;
    EXPECT_NO_THROW(p.setLimit(100));
    EXPECT_EQ(errors.Count, 1);
    EXPECT_EQ(errors.Last, QStringLiteral("level refused"));
    EXPECT_EQ(p.Limit(), 100);
    // Forgotten, not retried; and later requests are written back as before.
    p.setLimit(200);
    EXPECT_EQ(errors.Count, 1);
    p.setLevel(300);
    p.setLimit(400);
    EXPECT_EQ(p.Level(), 300);
    EXPECT_TRUE(p.Configuring());
}

TEST(ConfigurationPhase, EndsWhenShownRenderedOrTheEventLoopTurns)
{
    TProgBar rendered;
    ASSERT_TRUE(rendered.Configuring());
    rendered.RenderNow();   // a program that only renders images
    EXPECT_FALSE(rendered.Configuring());
    TGradFill grabbed;
    grabbed.grab();
    EXPECT_FALSE(grabbed.Configuring());
    TProgBar shown;
    shown.show();
    EXPECT_FALSE(shown.Configuring());
    TProgBar waiting;
    QCoreApplication::processEvents();
    EXPECT_FALSE(waiting.Configuring());

    // Afterwards a request that does not hold is not made again.
    TLevelProbe p;
    p.EndConfiguration();
    p.setLevel(50);
    p.setLimit(100);
    EXPECT_EQ(p.Level(), 10);
}

} // namespace

#include "test_host_configuration.moc"
