// Progress bar settings: defaults, the clamps and compare rules, the range, the colour scale,
// the value text, the auto-increment timer in its two phases and in design mode, Assign,
// published properties and accessibility.
#include <gtest/gtest.h>

#include <QOR_NumIO.h>
#include <QOR_ProgBar.h>
#include <QOR_gradfl.h>

#include <QAccessible>
#include <QSignalSpy>
#include <limits>

using namespace qor;

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

TEST(ProgBarValues, Defaults)
{
    TProgBar b;
    EXPECT_EQ(b.size(), QSize(300, 28));
    EXPECT_FALSE(b.AutoInc());
    EXPECT_EQ(b.AutoIncStep(), 1.0);
    EXPECT_TRUE(b.BackGroundImg().isEmpty());
    EXPECT_EQ(b.ColorBackGnd(), 0xC0C0C0);
    EXPECT_EQ(b.ColorGrid(), 0x000000);
    EXPECT_EQ(b.ColorMapMode(), cgmStretch);
    EXPECT_EQ(b.ColorMargin(), 0xC0C0C0);
    EXPECT_EQ(b.ColorMax(), 0x0000FF);
    EXPECT_EQ(b.ColorMin(), 0xFF0000);
    EXPECT_EQ(b.ColorScheme(), csGrayWhite);
    EXPECT_EQ(b.Direction(), dirRight);
    EXPECT_EQ(b.FrameStyleInner(), fsLowered);
    EXPECT_EQ(b.FrameStyleOuter(), fsRaised);
    EXPECT_EQ(b.GridDist(), 0);
    EXPECT_EQ(b.MarginBottom(), 4);
    EXPECT_EQ(b.MarginLeft(), 4);
    EXPECT_EQ(b.MarginRight(), 4);
    EXPECT_EQ(b.MarginTop(), 4);
    EXPECT_EQ(b.Max(), 100.0);
    EXPECT_EQ(b.Min(), 0.0);
    EXPECT_EQ(b.RepeatInterval(), 700);
    EXPECT_FALSE(b.ShowColorGradient());
    EXPECT_EQ(b.StartInterval(), 1500);
    EXPECT_EQ(b.TextAlignment(), taCenter);
    EXPECT_EQ(b.TextAngle(), 0);
    EXPECT_EQ(b.TextDecPlaces(), 0);
    EXPECT_EQ(b.TextPosX(), 14);
    EXPECT_EQ(b.TextPosY(), 14);
    EXPECT_TRUE(b.TextVisible());
    EXPECT_EQ(b.Value(), 10.0);
    EXPECT_EQ(b.ColBlackLine(), clBlack);
    EXPECT_EQ(b.ColGrayLine(), clGray);
    EXPECT_EQ(b.ColWhiteLine(), clWhite);
    EXPECT_EQ(b.focusPolicy(), Qt::NoFocus);
}

TEST(ProgBarValues, ClampsOfTheTextSettingsAndIntervals)
{
    TProgBar b;
    b.SetTextDecPlaces(20);
    EXPECT_EQ(b.TextDecPlaces(), 10);
    b.SetTextDecPlaces(-5);
    EXPECT_EQ(b.TextDecPlaces(), -2);
    b.SetTextAngle(-5);
    EXPECT_EQ(b.TextAngle(), 0);
    b.SetTextAngle(400);
    EXPECT_EQ(b.TextAngle(), 360);
    b.SetTextPosX(1000);
    EXPECT_EQ(b.TextPosX(), 300);
    b.SetTextPosX(-3);
    EXPECT_EQ(b.TextPosX(), 0);
    b.SetTextPosY(100);
    EXPECT_EQ(b.TextPosY(), 28);
    b.resize(300, 60);   // the limit is the size at the time of writing
    b.SetTextPosY(100);
    EXPECT_EQ(b.TextPosY(), 60);
    b.SetStartInterval(5);
    EXPECT_EQ(b.StartInterval(), 10);
    b.SetRepeatInterval(-1);
    EXPECT_EQ(b.RepeatInterval(), 10);
}

TEST(ProgBarValues, ValueAndRangeAreStoredAsGiven)
{
    TProgBar b;
    QSignalSpy changed(&b, &TProgBar::valueChanged);
    b.SetRange(100, 0);
    EXPECT_EQ(b.Min(), 0.0);
    EXPECT_EQ(b.Max(), 100.0);
    b.SetValue(250);
    EXPECT_EQ(b.Value(), 250.0);
    b.SetMax(50);
    b.SetMin(80);   // above Max, and the value is left alone
    EXPECT_EQ(b.Min(), 80.0);
    EXPECT_EQ(b.Max(), 50.0);
    EXPECT_EQ(b.Value(), 250.0);
    b.SetValue(-7);
    b.SetValue(-7);   // unchanged: no signal
    b.SetValue(NaN);  // ignored
    b.SetMin(NaN);
    b.SetRange(NaN, 3);
    EXPECT_EQ(b.Value(), -7.0);
    EXPECT_EQ(b.Min(), 80.0);
    ASSERT_EQ(changed.count(), 2);
    EXPECT_EQ(changed.at(1).at(0).toDouble(), -7.0);
}

TEST(ProgBarValues, ColourScaleInterpolatesWithTruncation)
{
    TProgBar b;
    EXPECT_EQ(b.BarColors(0), 0xFF0000);
    EXPECT_EQ(b.BarColors(511), 0x7F007F);   // blue 127.6, red 127.4: both cut to 127
    EXPECT_EQ(b.BarColors(1023), 0x0000FF);
    b.SetColorMin(clBlack);
    b.SetColorMax(RGB(255, 100, 10));
    EXPECT_EQ(b.BarColors(511), RGB(127, 49, 4));   // 49.95 and 4.995 are cut, not rounded
    EXPECT_EQ(b.BarColors(512), RGB(127, 50, 5));
    EXPECT_EQ(b.BarColors(1023), RGB(255, 100, 10));
    EXPECT_EQ(b.BarColors(1), RGB(0, 0, 0));

    // Single elements change alone; only a new end colour interpolates again.
    b.SetBarColors(5, clLime);
    EXPECT_EQ(b.BarColors(5), clLime);
    b.SetColorMin(clBlack);   // unchanged: nothing recomputed
    EXPECT_EQ(b.BarColors(5), clLime);
    b.SetColorMin(RGB(0, 0, 1));
    EXPECT_NE(b.BarColors(5), clLime);
    // Out of the table: reads black, writes nothing.
    b.SetBarColors(1024, clLime);
    b.SetBarColors(-1, clLime);
    EXPECT_EQ(b.BarColors(1024), clBlack);
    EXPECT_EQ(b.BarColors(-1), clBlack);
    EXPECT_EQ(b.GetBarColorElem(1023), b.ColorMax());
}

TEST(ProgBarValues, ColorSchemeSetsTheFrameLines)
{
    TProgBar b;
    b.SetColorScheme(csSystemColors);
    EXPECT_EQ(b.ColGrayLine(), clBtnShadow);
    EXPECT_EQ(b.ColWhiteLine(), clBtnHighlight);
    EXPECT_EQ(b.ColBlackLine(), clBlack);
    b.SetColorScheme(csGrayWhite);
    EXPECT_EQ(b.ColGrayLine(), clGray);
    EXPECT_EQ(b.ColWhiteLine(), clWhite);
}

TEST(ProgBarValues, ValueTextSwapsTheScientificLayouts)
{
    TProgBar b;
    b.SetValue(1234.5678);
    EXPECT_EQ(b.ValueText(), QStringLiteral("1235"));
    b.SetTextDecPlaces(2);
    EXPECT_EQ(b.ValueText(), QStringLiteral("1234.57"));
    b.SetTextDecPlaces(-1);
    EXPECT_EQ(b.ValueText(), FormatRealStr(1, -2, 1234.5678));
    b.SetTextDecPlaces(-2);
    EXPECT_EQ(b.ValueText(), FormatRealStr(1, -1, 1234.5678));
    EXPECT_NE(FormatRealStr(1, -1, 1234.5678), FormatRealStr(1, -2, 1234.5678));
    QObject* sender = nullptr;
    b.OnShowValue = [&](QObject* s, QString& text) {
        sender = s;
        text = QStringLiteral("<") + text + QStringLiteral(">");
    };
    b.SetTextDecPlaces(1);
    EXPECT_EQ(b.ValueText(), QStringLiteral("<1234.6>"));
    EXPECT_EQ(sender, &b);
}

TEST(ProgBarValues, AutoIncrementStartAndRepeatPhases)
{
    TProgBar b;
    TWindowTimer* t = b.AutoIncTimer();
    EXPECT_FALSE(t->Active());
    int handled = 0;
    b.OnAutoInc = [&](QObject* s) {
        EXPECT_EQ(s, &b);
        ++handled;
    };
    QSignalSpy signalled(&b, &TProgBar::autoInc);
    QSignalSpy changed(&b, &TProgBar::valueChanged);

    b.SetAutoInc(true);
    EXPECT_TRUE(t->Active());
    EXPECT_TRUE(b.InStartPhase());
    EXPECT_EQ(t->Interval(), 1500);
    t->Tick();
    EXPECT_EQ(b.Value(), 11.0);
    EXPECT_FALSE(b.InStartPhase());
    EXPECT_EQ(t->Interval(), 700);
    EXPECT_TRUE(t->Active());
    b.SetAutoIncStep(0);   // ignored
    b.SetAutoIncStep(2.5);
    b.SetAutoIncStep(std::numeric_limits<double>::infinity());
    EXPECT_EQ(b.AutoIncStep(), 2.5);
    t->Tick();
    EXPECT_EQ(b.Value(), 13.5);
    EXPECT_EQ(t->Interval(), 700);
    EXPECT_EQ(handled, 2);
    EXPECT_EQ(signalled.count(), 2);
    EXPECT_EQ(changed.count(), 2);

    // A new start interval begins again with the start phase; a new repeat interval moves on
    // to the repeat phase at once.
    b.SetStartInterval(300);
    EXPECT_TRUE(b.InStartPhase());
    EXPECT_EQ(t->Interval(), 300);
    b.SetRepeatInterval(40);
    EXPECT_FALSE(b.InStartPhase());
    EXPECT_EQ(t->Interval(), 40);
    EXPECT_TRUE(t->Active());

    b.SetAutoInc(false);
    EXPECT_FALSE(t->Active());
    b.SetStartInterval(200);   // off: the interval is kept, nothing starts
    EXPECT_FALSE(t->Active());
}

TEST(ProgBarValues, TimerNeverRunsInDesignMode)
{
    TProgBar b;
    b.SetDesigning(true);
    b.SetAutoInc(true);
    EXPECT_TRUE(b.AutoInc());
    EXPECT_FALSE(b.AutoIncTimer()->Active());
    b.SetStartInterval(100);
    b.SetRepeatInterval(100);
    EXPECT_FALSE(b.AutoIncTimer()->Active());
    // Leaving design mode starts it; going back stops it.
    b.SetDesigning(false);
    EXPECT_TRUE(b.AutoIncTimer()->Active());
    EXPECT_TRUE(b.InStartPhase());
    b.SetDesigning(true);
    EXPECT_FALSE(b.AutoIncTimer()->Active());
}

TEST(ProgBarValues, TimerRunsByItself)
{
    TProgBar b;
    b.SetStartInterval(10);
    b.SetRepeatInterval(10);
    b.SetAutoInc(true);
    QSignalSpy signalled(&b, &TProgBar::autoInc);
    EXPECT_TRUE(signalled.wait(300));
    EXPECT_GT(b.Value(), 10.0);
}

TEST(ProgBarValues, AssignCopiesAllButTimerAndFont)
{
    TProgBar src;
    src.SetFrameStyleInner(fsEngraved);
    src.SetFrameStyleOuter(fsSimple);
    src.SetRange(-5, 5);
    src.SetValue(3);
    src.SetColorMargin(clNavy);
    src.SetColorScheme(csSystemColors);
    src.SetDirection(dirUp);
    src.SetBarColors(100, clLime);
    src.SetColorBackGnd(clYellow);
    src.SetShowColorGradient(true);
    src.SetColorGrid(clTeal);
    src.SetGridDist(7);
    src.SetColorMapMode(cgmMove);
    src.SetMarginLeft(1);
    src.SetMarginRight(2);
    src.SetMarginTop(3);
    src.SetMarginBottom(5);
    src.SetTextPosX(40);
    src.SetTextPosY(20);
    src.SetTextDecPlaces(3);
    src.SetTextAngle(45);
    src.SetTextAlignment(taRightJustify);
    src.SetTextVisible(false);
    src.OnShowValue = [](QObject*, QString& t) { t = QStringLiteral("x"); };
    src.SetAutoIncStep(4);
    src.SetStartInterval(111);
    src.Font()->SetSize(30);

    TProgBar dst;
    QSignalSpy changed(&dst, &TProgBar::valueChanged);
    dst.Assign(&src);
    EXPECT_EQ(dst.FrameStyleInner(), fsEngraved);
    EXPECT_EQ(dst.FrameStyleOuter(), fsSimple);
    EXPECT_EQ(dst.Min(), -5.0);
    EXPECT_EQ(dst.Max(), 5.0);
    EXPECT_EQ(dst.Value(), 3.0);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(dst.ColorMargin(), clNavy);
    EXPECT_EQ(dst.ColorScheme(), csSystemColors);
    EXPECT_EQ(dst.ColGrayLine(), clBtnShadow);
    EXPECT_EQ(dst.Direction(), dirUp);
    EXPECT_EQ(dst.BarColors(100), clLime);
    EXPECT_EQ(dst.ColorBackGnd(), clYellow);
    EXPECT_TRUE(dst.ShowColorGradient());
    EXPECT_EQ(dst.ColorGrid(), clTeal);
    EXPECT_EQ(dst.GridDist(), 7);
    EXPECT_EQ(dst.ColorMapMode(), cgmMove);
    EXPECT_EQ(dst.MarginLeft(), 1);
    EXPECT_EQ(dst.MarginRight(), 2);
    EXPECT_EQ(dst.MarginTop(), 3);
    EXPECT_EQ(dst.MarginBottom(), 5);
    EXPECT_EQ(dst.TextPosX(), 40);
    EXPECT_EQ(dst.TextPosY(), 20);
    EXPECT_EQ(dst.TextDecPlaces(), 3);
    EXPECT_EQ(dst.TextAngle(), 45);
    EXPECT_EQ(dst.TextAlignment(), taRightJustify);
    EXPECT_FALSE(dst.TextVisible());
    EXPECT_EQ(dst.ValueText(), QStringLiteral("x"));
    // Not copied: the timer settings and the font.
    EXPECT_EQ(dst.AutoIncStep(), 1.0);
    EXPECT_EQ(dst.StartInterval(), 1500);
    EXPECT_NE(dst.Font()->Size(), 30);

    TProgBar viaAssignTo;
    src.AssignTo(&viaAssignTo);
    EXPECT_EQ(viaAssignTo.GridDist(), 7);
    TGradFill other;
    EXPECT_THROW(dst.Assign(&other), EConvertError);
    EXPECT_THROW(src.AssignTo(&other), EConvertError);
}

TEST(ProgBarValues, PublishedPropertiesRoundTrip)
{
    TProgBar b;
    EXPECT_TRUE(b.setProperty("ColorMapMode", QStringLiteral("cgmMove")));
    EXPECT_EQ(b.ColorMapMode(), cgmMove);
    EXPECT_TRUE(b.setProperty("Direction", QVariant::fromValue(dirDown)));
    EXPECT_EQ(b.property("Direction").value<TDirection>(), dirDown);
    EXPECT_TRUE(b.setProperty("ColorMin", QColor(1, 2, 3)));
    EXPECT_EQ(b.ColorMin(), RGB(1, 2, 3));
    EXPECT_EQ(b.property("ColorMax").value<QColor>(), QColor(255, 0, 0));
    EXPECT_TRUE(b.setProperty("TextAlignment", QVariant::fromValue(taLeftJustify)));
    EXPECT_EQ(b.TextAlignment(), taLeftJustify);
    EXPECT_TRUE(b.setProperty("Value", 42.0));
    EXPECT_EQ(b.property("Value").toDouble(), 42.0);
    const QMetaObject* mo = b.metaObject();
    const QMetaProperty value = mo->property(mo->indexOfProperty("Value"));
    EXPECT_TRUE(value.hasNotifySignal());
    EXPECT_EQ(value.notifySignal().name(), QByteArray("valueChanged"));
    const QMetaProperty mapping = mo->property(mo->indexOfProperty("ColorMapMode"));
    EXPECT_EQ(QByteArray(mapping.enumerator().scope()), QByteArray("qor::QOR_ProgBar"));
}

TEST(ProgBarValues, AccessibleAsReadOnlyProgressBar)
{
    TProgBar b;
    b.SetRange(-10, 90);
    b.SetValue(12.26);
    b.SetTextDecPlaces(1);
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&b);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::ProgressBar);
    EXPECT_EQ(a->text(QAccessible::Value), QStringLiteral("12.3"));
    EXPECT_TRUE(a->state().readOnly);
    EXPECT_EQ(a->valueInterface(), nullptr);   // a display offers no steps
    b.OnShowValue = [](QObject*, QString& t) { t += QStringLiteral(" %"); };
    EXPECT_EQ(a->text(QAccessible::Value), QStringLiteral("12.3 %"));
    ASSERT_NE(a->textInterface(), nullptr);
    EXPECT_EQ(a->textInterface()->text(0, 6), QStringLiteral("12.3 %"));
}

} // namespace
