// TNumIO: conversion, the re-check after every change, fixed-point rules and range handling.
#include <gtest/gtest.h>

#include <QOR_NumIOEdit.h>
#include <QOR_univconst.h>

#include <QTest>

using namespace qor;

namespace {

class NumIOEdit : public ::testing::Test {
protected:
    void SetUp() override
    {
        e = new TNumIO;
        e->OnChange = [this](QObject*) { ++changes; };
    }
    void TearDown() override
    {
        delete e;
        ResetFormatSettings();
    }
    void Type(const QString& s)
    {
        QTest::keyClicks(e, s);
    }
    double Conv(const QString& s, bool* ok = nullptr)
    {
        double v = -1;
        const bool r = e->ConvertNumString(s, v);
        if (ok)
            *ok = r;
        return r ? v : std::nan("");
    }
    TNumIO* e = nullptr;
    int changes = 0;
};

} // namespace

TEST_F(NumIOEdit, Defaults)
{
    EXPECT_EQ(e->InputFormat(), itDynamic);
    EXPECT_EQ(e->DecPlaceSep(), dpsOS);
    EXPECT_EQ(e->FixPointDecPlaces(), 2);
    EXPECT_EQ(e->RangeLow(), 0.0);
    EXPECT_EQ(e->RangeHigh(), 0.0);
    EXPECT_TRUE(e->text().isEmpty());
    TNumIO designed;
    designed.SetDesigning(true);
    EXPECT_EQ(designed.RangeLow(), -uc_MaxDouble);
    EXPECT_EQ(designed.RangeHigh(), uc_MaxDouble);
}

TEST_F(NumIOEdit, ConvertNumStringPerFormat)
{
    bool ok = false;
    EXPECT_EQ(Conv(QStringLiteral("  1.5e3")), 1500.0);
    Conv(QString(), &ok);
    EXPECT_FALSE(ok);
    Conv(QStringLiteral("1 5"), &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(Conv(QStringLiteral("$fF")), 255.0);
    EXPECT_EQ(Conv(QStringLiteral("%101")), 5.0);
    EXPECT_EQ(Conv(QStringLiteral("&17")), 15.0);
    Conv(QStringLiteral("$fg"), &ok);
    EXPECT_FALSE(ok);
    // A dangling exponent is ignored.
    EXPECT_EQ(Conv(QStringLiteral("2e")), 2.0);
    EXPECT_EQ(Conv(QStringLiteral("2E-")), 2.0);
    Conv(QStringLiteral("2e--"), &ok);
    EXPECT_FALSE(ok);
    e->SetInputFormat(itInt);
    EXPECT_EQ(Conv(QStringLiteral("-12")), -12.0);
    Conv(QStringLiteral("12.5"), &ok);
    EXPECT_FALSE(ok);
    // Digits beyond 32 bits are no integer (they would wrap).
    Conv(QStringLiteral("4294967297"), &ok);
    EXPECT_FALSE(ok);
    Conv(QString(30, QLatin1Char('9')), &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(Conv(QStringLiteral("-2147483648")), -2147483648.0);
    e->SetInputFormat(itFloat);
    Conv(QStringLiteral("1e5"), &ok);
    EXPECT_FALSE(ok);
    e->SetInputFormat(itHex);
    EXPECT_EQ(Conv(QStringLiteral("ffffffff")), -1.0);
    e->SetInputFormat(itOct);
    Conv(QStringLiteral("8"), &ok);
    EXPECT_FALSE(ok);
}

TEST_F(NumIOEdit, SeparatorChoice)
{
    e->SetInputFormat(itFloat);
    bool ok = false;
    EXPECT_EQ(Conv(QStringLiteral("1.5")), 1.5);  // platform separator "."
    Conv(QStringLiteral("1,5"), &ok);
    EXPECT_FALSE(ok);
    FormatSettings().DecimalSeparator = QLatin1Char(',');
    EXPECT_EQ(Conv(QStringLiteral("1,5")), 1.5);
    e->SetDecPlaceSep(dpsBoth);
    EXPECT_EQ(Conv(QStringLiteral("1.5")), 1.5);
    EXPECT_EQ(Conv(QStringLiteral("1,5")), 1.5);
}

TEST_F(NumIOEdit, ZeroIsAlwaysAcceptedAndTheRangeRefusesTheRest)
{
    Type(QStringLiteral("0"));
    EXPECT_EQ(e->text(), QStringLiteral("0"));
    EXPECT_EQ(changes, 1);
    Type(QStringLiteral("5"));  // range 0..0
    EXPECT_EQ(e->text(), QStringLiteral("0"));
    EXPECT_EQ(changes, 1);
    e->SetRangeHigh(100.0);
    e->selectAll();
    Type(QStringLiteral("42"));
    EXPECT_EQ(e->text(), QStringLiteral("42"));
    EXPECT_EQ(e->Value(), 42.0);
    Type(QStringLiteral("1"));  // 421 is out of range
    EXPECT_EQ(e->text(), QStringLiteral("42"));
    EXPECT_EQ(e->cursorPosition(), 2);
    e->SetRangeLow(50.0);
    EXPECT_TRUE(e->text().isEmpty());  // 42 no longer fits and nothing good is left
}

TEST_F(NumIOEdit, RangeSettersSwapIntoPlace)
{
    e->SetRangeHigh(10.0);
    EXPECT_EQ(e->RangeLow(), 0.0);
    EXPECT_EQ(e->RangeHigh(), 10.0);
    e->SetRangeLow(20.0);  // not below RangeHigh
    EXPECT_EQ(e->RangeLow(), 10.0);
    EXPECT_EQ(e->RangeHigh(), 20.0);
    e->SetRangeHigh(5.0);  // not above RangeLow
    EXPECT_EQ(e->RangeLow(), 5.0);
    EXPECT_EQ(e->RangeHigh(), 10.0);
}

TEST_F(NumIOEdit, RefusedTextComesBackWithTheCaretOneBack)
{
    e->SetRangeLow(-1000.0);
    e->SetRangeHigh(1000.0);
    e->SetBeep(true);
    Type(QStringLiteral("12"));
    e->setCursorPosition(1);
    Type(QStringLiteral("x"));
    EXPECT_EQ(e->text(), QStringLiteral("12"));
    EXPECT_EQ(e->cursorPosition(), 1);
    // Exponent being typed is accepted; the value ignores it.
    e->setCursorPosition(2);
    Type(QStringLiteral("e-"));
    EXPECT_EQ(e->text(), QStringLiteral("12e-"));
    EXPECT_EQ(e->Value(), 12.0);
    Type(QStringLiteral("1"));
    EXPECT_DOUBLE_EQ(e->Value(), 1.2);
}

TEST_F(NumIOEdit, IntegerFormatRefusesAPoint)
{
    e->SetRangeHigh(1000.0);
    e->SetInputFormat(itInt);
    Type(QStringLiteral("12.5"));
    EXPECT_EQ(e->text(), QStringLiteral("125"));
}

TEST_F(NumIOEdit, FixPointRendersAndGuardsThePoint)
{
    e->SetRangeHigh(1000.0);
    e->SetInputFormat(itFixPoint);
    e->SetValue(12.5);
    EXPECT_EQ(e->text(), QStringLiteral("12.50"));
    e->setCursorPosition(5);
    Type(QStringLiteral("7"));  // a third decimal: re-rendered with two
    EXPECT_EQ(e->text(), QStringLiteral("12.51"));
    EXPECT_DOUBLE_EQ(e->Value(), 12.51);
    // Deleting the point brings back the last good text, caret just before its point.
    e->setCursorPosition(2);
    QTest::keyClick(e, Qt::Key_Delete);
    EXPECT_EQ(e->text(), QStringLiteral("12.51"));
    EXPECT_EQ(e->cursorPosition(), 2);
    // A second point: the last good text again, caret at its point.
    e->setCursorPosition(5);
    Type(QStringLiteral("."));
    EXPECT_EQ(e->text(), QStringLiteral("12.51"));
    EXPECT_EQ(e->cursorPosition(), 3);
    // Typing a digit in the integer part keeps the layout.
    e->setCursorPosition(0);
    Type(QStringLiteral("3"));
    EXPECT_EQ(e->text(), QStringLiteral("312.51"));
    EXPECT_EQ(e->cursorPosition(), 1);
    e->SetFixPointDecPlaces(20);
    EXPECT_EQ(e->FixPointDecPlaces(), 8);
}

TEST_F(NumIOEdit, FormatChangeEmptiesATextThatDoesNotFit)
{
    e->SetRangeHigh(1000.0);
    Type(QStringLiteral("1.5"));
    EXPECT_EQ(e->text(), QStringLiteral("1.5"));
    e->SetInputFormat(itFloat);
    EXPECT_EQ(e->text(), QStringLiteral("1.5"));
    e->SetInputFormat(itInt);
    EXPECT_TRUE(e->text().isEmpty());
}

TEST_F(NumIOEdit, ValueReadAndWrite)
{
    e->SetRangeLow(-uc_MaxDouble);
    e->SetRangeHigh(uc_MaxDouble);
    e->SetValue(1234.5);
    EXPECT_EQ(e->text(), QStringLiteral(" 1.23450E+03"));
    EXPECT_DOUBLE_EQ(e->Value(), 1234.5);
    e->SetValue(6.02e-123);
    EXPECT_EQ(e->text(), QStringLiteral(" 6.02000E-0123"));
    EXPECT_DOUBLE_EQ(e->Value(), 6.02e-123);
    e->SetInputFormat(itFloat);
    e->SetValue(0.1);
    EXPECT_EQ(e->text(), QStringLiteral("0.10000000"));
    e->SetInputFormat(itInt);
    e->SetValue(2.5);
    EXPECT_EQ(e->text(), QStringLiteral("3"));
    e->SetInputFormat(itHex);
    e->SetValue(255.0);
    EXPECT_EQ(e->text(), QStringLiteral("000000FF"));
    e->SetValue(-1.0);
    EXPECT_EQ(e->text(), QStringLiteral("FFFFFFFF"));
    // Binary values wider than eight digits keep all their digits.
    e->SetInputFormat(itBin);
    e->SetValue(300.0);
    EXPECT_EQ(e->text(), QStringLiteral("100101100"));
    EXPECT_EQ(e->Value(), 300.0);
    e->SetValue(5.0);
    EXPECT_EQ(e->text(), QStringLiteral("00000101"));
    // A comma in the text reads as the point.
    e->SetInputFormat(itFloat);
    e->SetDecPlaceSep(dpsBoth);
    e->setText(QStringLiteral("2,5"));
    EXPECT_DOUBLE_EQ(e->Value(), 2.5);
    e->setText(QStringLiteral("7,"));
    EXPECT_DOUBLE_EQ(e->Value(), 7.0);
}

TEST_F(NumIOEdit, CommaPlatformFieldWorksEndToEnd)
{
    FormatSettings().DecimalSeparator = QLatin1Char(',');
    e->SetRangeHigh(100.0);
    e->SetInputFormat(itFloat);
    Type(QStringLiteral("3,25"));
    EXPECT_EQ(e->text(), QStringLiteral("3,25"));
    EXPECT_DOUBLE_EQ(e->Value(), 3.25);
    e->SetValue(1.5);
    EXPECT_EQ(e->text(), QStringLiteral("1,50000000"));
    e->SetInputFormat(itFixPoint);
    e->SetValue(1.5);
    EXPECT_EQ(e->text(), QStringLiteral("1,50"));
    e->setCursorPosition(4);
    Type(QStringLiteral("9"));
    EXPECT_EQ(e->text(), QStringLiteral("1,51"));
}

TEST_F(NumIOEdit, AssignCopiesTheNumberSettings)
{
    e->SetInputFormat(itHex);
    e->SetRangeHigh(99.0);
    e->SetBeep(true);
    e->SetDecPlaceSep(dpsComma);
    TNumIO other;
    other.Assign(e);
    EXPECT_EQ(other.InputFormat(), itHex);
    EXPECT_EQ(other.RangeHigh(), 99.0);
    EXPECT_TRUE(other.Beep());
    EXPECT_EQ(other.DecPlaceSep(), dpsComma);
    TNumIO third;
    e->AssignTo(&third);
    EXPECT_EQ(third.InputFormat(), itHex);
    QObject plain;
    EXPECT_THROW(other.Assign(&plain), EConvertError);
}

TEST_F(NumIOEdit, PastingANonNumberRestoresTheText)
{
    e->SetRangeHigh(100.0);
    Type(QStringLiteral("12"));
    e->selectAll();
    e->insert(QStringLiteral("hello"));
    EXPECT_EQ(e->text(), QStringLiteral("12"));
    e->insert(QString(2000, QLatin1Char('7')));
    EXPECT_EQ(e->text(), QStringLiteral("12"));
}

// In the designer nothing is checked: the text typed there survives changes of format, range
// and separator.
TEST_F(NumIOEdit, DesignerChangesOfFormatAndRangeKeepTheText)
{
    TNumIO designed;
    designed.SetDesigning(true);
    designed.setText(QStringLiteral("12.5"));
    designed.SetInputFormat(itInt);
    EXPECT_EQ(designed.text(), QStringLiteral("12.5"));
    designed.SetRangeLow(100);
    designed.SetRangeHigh(200);
    designed.SetDecPlaceSep(dpsComma);
    EXPECT_EQ(designed.text(), QStringLiteral("12.5"));
    // Positive control: at run time the same change of format empties the text.
    e->SetRangeLow(-1000);
    e->SetRangeHigh(1000);
    e->setText(QStringLiteral("12.5"));
    ASSERT_EQ(e->text(), QStringLiteral("12.5"));
    e->SetInputFormat(itInt);
    EXPECT_TRUE(e->text().isEmpty());
}
