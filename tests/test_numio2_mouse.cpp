// TNumIO2 mouse handling: caret placement, drag selection, buttons with and without pivots,
// gauge clicks and drags, the freeze box and the mouse area code.
#include <gtest/gtest.h>

#include <QOR_NumIO2.h>

#include <QTest>

using namespace qor;

namespace {

class NumIO2Mouse : public ::testing::Test {
protected:
    void SetUp() override
    {
        f = new TNumIO2;
        f->OnChange = [this](QObject*) { ++changes; };
    }
    void TearDown() override { delete f; }
    void ClickAt(int x, int y, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::mouseClick(f, Qt::LeftButton, mods, QPoint(x, y));
    }
    TNumIO2* f = nullptr;
    int changes = 0;
};

} // namespace

TEST_F(NumIO2Mouse, ClickPlacesTheCaretByMeanCharacterWidth)
{
    f->SetAlignment(taLeftJustify);
    f->SetText(QStringLiteral("1234"));
    const int W = f->Canvas()->TextWidth(QStringLiteral("1234"));
    const int a = W / 4;
    ClickAt(35 + 3 + 2 * a, 10);
    EXPECT_EQ(f->CaretPos(), 2);
    EXPECT_EQ(f->SelBegin(), 2);
    EXPECT_EQ(f->SelEnd(), 2);
    EXPECT_TRUE(f->CaretVisible());
    ClickAt(5, 10);  // left of the box
    EXPECT_EQ(f->CaretPos(), 0);
    ClickAt(150, 10);  // right of the box
    EXPECT_EQ(f->CaretPos(), 4);
    // Centred text: the offset is measured from the centred start.
    f->SetAlignment(taCenter);
    ClickAt(35 + (80 - W) / 2 + 1 + a, 10);
    EXPECT_EQ(f->CaretPos(), 1);
    f->SetAlignment(taRightJustify);
    ClickAt(35 + 80 - 3 - W + 3 * a, 10);
    EXPECT_EQ(f->CaretPos(), 3);
    EXPECT_EQ(f->XCoordsToCharPos(10000), 4);
    f->SetText(QString());
    EXPECT_EQ(f->XCoordsToCharPos(60), 0);
}

TEST_F(NumIO2Mouse, DragExtendsTheSelection)
{
    f->SetAlignment(taLeftJustify);
    f->SetText(QStringLiteral("123456"));
    const int a = f->Canvas()->TextWidth(QStringLiteral("123456")) / 6;
    QTest::mousePress(f, Qt::LeftButton, Qt::NoModifier, QPoint(38 + a, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(38 + 4 * a, 10), QPointF(38 + 4 * a, 10), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f, &move);
    QTest::mouseRelease(f, Qt::LeftButton, Qt::NoModifier, QPoint(38 + 4 * a, 10));
    EXPECT_EQ(f->SelBegin(), 1);
    EXPECT_EQ(f->SelEnd(), 4);
    // Typing replaces the selection.
    QTest::keyClick(f, Qt::Key_9);
    EXPECT_EQ(f->Text(), QStringLiteral("1956"));
}

TEST_F(NumIO2Mouse, ButtonsStepAndClamp)
{
    f->SetButVisible(true);
    f->SetValue(10.0);
    // Buttons at x 118..136; upper half up, lower half down.
    ClickAt(127, 5);
    EXPECT_EQ(f->Value(), 11.0);
    EXPECT_EQ(changes, 1);
    ClickAt(127, 20);
    ClickAt(127, 20);
    EXPECT_EQ(f->Value(), 9.0);
    f->SetButIncrem(100.0);
    ClickAt(127, 20);
    EXPECT_EQ(f->Value(), 0.0);  // clamped to RangeLow
    // The border of the buttons is no button.
    ClickAt(118, 5);
    EXPECT_EQ(f->Value(), 0.0);
    // Read-only fields do not step.
    f->SetReadOnly(true);
    ClickAt(127, 5);
    EXPECT_EQ(f->Value(), 0.0);
}

TEST_F(NumIO2Mouse, ButtonsWithPivots)
{
    f->SetButVisible(true);
    f->ButtonPivots = {0.0, 10.0, 100.0};
    f->SetValue(10.0);
    ClickAt(127, 5);
    EXPECT_EQ(f->Value(), 100.0);
    f->SetValue(10.0);
    ClickAt(127, 20);
    EXPECT_EQ(f->Value(), 0.0);
    f->SetValue(50.0);
    ClickAt(127, 20);
    EXPECT_EQ(f->Value(), 10.0);
    f->SetValue(50.0);
    ClickAt(127, 5);
    EXPECT_EQ(f->Value(), 100.0);
    // At the ends the pivot stays.
    f->SetValue(100.0);
    ClickAt(127, 5);
    EXPECT_EQ(f->Value(), 100.0);
    f->SetValue(-5.0);
    ClickAt(127, 20);
    EXPECT_EQ(f->Value(), 0.0);
}

TEST_F(NumIO2Mouse, GaugeClicksAtTheEdgesAndWithPivots)
{
    f->SetGaugeVisible(true);
    f->SetRangeHigh(100.0);
    // Gauge below y = 16, columns 35 .. 117.
    ClickAt(35, 22);
    EXPECT_EQ(f->Value(), 0.0);
    EXPECT_EQ(changes, 1);  // reported on button up
    ClickAt(117, 22);
    EXPECT_EQ(f->Value(), 100.0);
    ClickAt(35 + 41, 22);
    EXPECT_DOUBLE_EQ(f->Value(), 50.0);
    ClickAt(118, 22);  // beyond the gauge
    EXPECT_DOUBLE_EQ(f->Value(), 50.0);
    f->ButtonPivots = {0.0, 10.0, 100.0};
    ClickAt(35 + 33, 22);  // about 40 %
    EXPECT_EQ(f->Value(), 10.0);
}

TEST_F(NumIO2Mouse, GaugeDragFiresGaugeChange)
{
    f->SetGaugeVisible(true);
    f->SetRangeHigh(82.0);
    QVector<double> seen;
    f->OnGaugeChange = [&](QObject*, TShiftState, double v) { seen.push_back(v); };
    QTest::mousePress(f, Qt::LeftButton, Qt::NoModifier, QPoint(40, 22));
    for (int x : {50, 34, 118, 120}) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, 22), QPointF(x, 22), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(f, &move);
    }
    // 34 and 118 lie in the one-pixel tolerance and clamp; 120 is outside.
    ASSERT_EQ(seen.size(), 3);
    EXPECT_DOUBLE_EQ(seen[0], 15.0);
    EXPECT_DOUBLE_EQ(seen[1], 0.0);
    EXPECT_DOUBLE_EQ(seen[2], 82.0);
    const int before = changes;
    QTest::mouseRelease(f, Qt::LeftButton, Qt::NoModifier, QPoint(120, 22));
    EXPECT_EQ(changes, before + 1);
}

TEST_F(NumIO2Mouse, FreezeBoxTogglesReadOnlyAndHiding)
{
    f->resize(200, 28);
    f->SetFreezeBoxVisible(true);
    f->SetHideInputOnFreeze(true);
    ClickAt(160, 12);
    EXPECT_TRUE(f->FreezeBoxChecked());
    EXPECT_TRUE(f->ReadOnly());
    EXPECT_TRUE(f->HideInputEditor());
    EXPECT_EQ(changes, 1);
    ClickAt(160, 12);  // works while frozen
    EXPECT_FALSE(f->FreezeBoxChecked());
    EXPECT_FALSE(f->ReadOnly());
    EXPECT_FALSE(f->HideInputEditor());
    ClickAt(153, 12);  // on the border: nothing
    EXPECT_FALSE(f->FreezeBoxChecked());
    // Buttons move the box to the right.
    f->SetButVisible(true);
    ClickAt(160, 12);
    EXPECT_FALSE(f->FreezeBoxChecked());
    ClickAt(160 + 21, 12);
    EXPECT_TRUE(f->FreezeBoxChecked());
}

TEST_F(NumIO2Mouse, MouseAreaCode)
{
    auto moveTo = [this](int x) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, 10), QPointF(x, 10), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(f, &move);
        return f->MouseAreaCode();
    };
    EXPECT_TRUE(f->hasMouseTracking());
    EXPECT_EQ(moveTo(35), 0);
    EXPECT_EQ(moveTo(36), 1);
    EXPECT_EQ(moveTo(115), 1);
    EXPECT_EQ(moveTo(116), 2);
}

TEST_F(NumIO2Mouse, PropertyClamps)
{
    f->SetButWidth(2);
    EXPECT_EQ(f->ButWidth(), 8);
    f->SetButWidth(99);
    EXPECT_EQ(f->ButWidth(), 50);
    f->SetButHeight(5);
    EXPECT_EQ(f->ButHeight(), 18);
    f->SetButHeight(40);
    EXPECT_EQ(f->ButHeight(), 28);
    f->show();
    f->resize(160, 20);
    EXPECT_EQ(f->ButHeight(), 20);
    f->resize(160, 28);
    f->SetButSpace(-1);
    EXPECT_EQ(f->ButSpace(), 0);
    f->SetFixPointDecPlaces(0);
    EXPECT_EQ(f->FixPointDecPlaces(), 2);
    f->SetFixPointDecPlaces(20);
    EXPECT_EQ(f->FixPointDecPlaces(), 15);
    f->SetSignificantDigits(-3);
    EXPECT_EQ(f->SignificantDigits(), 6);
    f->SetLeftSpace(-5);
    EXPECT_EQ(f->LeftSpace(), 35);
    f->SetLeftSpace(500);
    EXPECT_EQ(f->LeftSpace(), 160);
    f->SetFreezeBoxSize(40);
    EXPECT_EQ(f->FreezeBoxSize(), 25);
    EXPECT_EQ(f->FreezeBoxTop(), (28 - (8 + 3 + 25 + 1)) / 2);
    f->SetGaugeHeight(100);
    EXPECT_EQ(f->GaugeHeight(), 7);
    f->SetGaugeWidth(1000);
    EXPECT_EQ(f->GaugeWidth(), 160 - 35);
    f->SetRangeLow(2000.0);
    EXPECT_EQ(f->RangeHigh(), 2000.0);
    f->SetRangeHigh(-1.0);
    EXPECT_EQ(f->RangeLow(), -1.0);
    f->SetText(QStringLiteral("12.5"));
    f->SetSelEnd(99);
    EXPECT_EQ(f->SelEnd(), 4);
    f->SetSelBegin(99);
    EXPECT_EQ(f->SelBegin(), 4);
    EXPECT_EQ(f->SelEnd(), 4);
    f->SetSelBegin(1);
    EXPECT_EQ(f->SelEnd(), 4);
    EXPECT_EQ(f->CaretPos(), 1);
}
