// TNumIO2: typing, the online check, fixed-point overwrite, selection and the clipboard.
#include <gtest/gtest.h>

#include <QOR_NumIO2.h>

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>

using namespace qor;

namespace {

class NumIO2Keys : public ::testing::Test {
protected:
    void SetUp() override
    {
        f = new TNumIO2;
        f->setObjectName(QStringLiteral("Field"));
        f->OnChange = [this](QObject*) { ++changes; };
        f->show();
        QApplication::setActiveWindow(f);
        f->setFocus();
    }
    void TearDown() override
    {
        delete f;
        ResetFormatSettings();
    }
    void Type(const char* keys)
    {
        for (const char* k = keys; *k; ++k)
            Key(*k);
    }
    void Key(char c)
    {
        switch (c) {
        case '.': QTest::keyClick(f, Qt::Key_Period); break;
        case ',': QTest::keyClick(f, Qt::Key_Comma); break;
        case '-': QTest::keyClick(f, Qt::Key_Minus); break;
        case '+': QTest::keyClick(f, Qt::Key_Plus); break;
        case '$': QTest::keyClick(f, Qt::Key_4, Qt::ShiftModifier); break;
        case '%': QTest::keyClick(f, Qt::Key_5, Qt::ShiftModifier); break;
        case '&': QTest::keyClick(f, Qt::Key_6, Qt::ShiftModifier); break;
        default:
            if (c >= '0' && c <= '9')
                QTest::keyClick(f, Qt::Key(Qt::Key_0 + (c - '0')));
            else
                QTest::keyClick(f, Qt::Key(Qt::Key_A + (QChar(c).toUpper().toLatin1() - 'A')));
        }
    }
    TNumIO2* f = nullptr;
    int changes = 0;
};

} // namespace

TEST_F(NumIO2Keys, DefaultsAsPublished)
{
    EXPECT_EQ(f->width(), 160);
    EXPECT_EQ(f->height(), 28);
    EXPECT_EQ(f->InputFormat(), itFloat);
    EXPECT_EQ(f->DecPlaceSep(), dpsBoth);
    EXPECT_EQ(f->ButHeight(), 28);
    EXPECT_EQ(f->FixPointDecPlaces(), 2);
    EXPECT_EQ(f->RangeHigh(), 1000.0);
    EXPECT_EQ(f->ColorWarnBG(), TColor(0x6088FFF0));
    EXPECT_TRUE(f->Text().isEmpty());
    EXPECT_EQ(f->Value(), 0.0);
    EXPECT_EQ(f->focusPolicy(), Qt::StrongFocus);
}

TEST_F(NumIO2Keys, TypingANumberFiresChangePerKey)
{
    Type("12.5");
    EXPECT_EQ(f->Text(), QStringLiteral("12.5"));
    EXPECT_DOUBLE_EQ(f->Value(), 12.5);
    EXPECT_EQ(f->CaretPos(), 4);
    EXPECT_EQ(changes, 4);
}

TEST_F(NumIO2Keys, RefusedKeysRestoreBufferAndCaret)
{
    Type("12");
    QTest::keyClick(f, Qt::Key_Left);
    EXPECT_EQ(f->CaretPos(), 1);
    const int before = changes;
    Type("G");  // no key of the field
    Type("$");  // not in itFloat
    Type("-");  // "1-2" is no number
    EXPECT_EQ(f->Text(), QStringLiteral("12"));
    EXPECT_EQ(f->CaretPos(), 1);
    EXPECT_EQ(changes, before);
    // With point only, a comma is refused by the check.
    f->SetDecPlaceSep(dpsPoint);
    QTest::keyClick(f, Qt::Key_End);
    Type(",");
    EXPECT_EQ(f->Text(), QStringLiteral("12"));
}

TEST_F(NumIO2Keys, LoneSignStaysAndReadsZero)
{
    Type("-");
    EXPECT_EQ(f->Text(), QStringLiteral("-"));
    EXPECT_EQ(f->Value(), 0.0);
    Type("3");
    EXPECT_DOUBLE_EQ(f->Value(), -3.0);
}

TEST_F(NumIO2Keys, EditingKeys)
{
    Type("1234");
    QTest::keyClick(f, Qt::Key_Backspace);
    EXPECT_EQ(f->Text(), QStringLiteral("123"));
    QTest::keyClick(f, Qt::Key_Home);
    QTest::keyClick(f, Qt::Key_Delete);
    EXPECT_EQ(f->Text(), QStringLiteral("23"));
    EXPECT_EQ(f->CaretPos(), 0);
    QTest::keyClick(f, Qt::Key_Up);  // not below 0
    EXPECT_EQ(f->CaretPos(), 0);
    QTest::keyClick(f, Qt::Key_End);
    QTest::keyClick(f, Qt::Key_Down);  // not past the end
    EXPECT_EQ(f->CaretPos(), 2);
    // Keypad keys: digits, minus, and the decimal key types a comma.
    f->SetText(QString());
    QTest::keyClick(f, Qt::Key_Minus, Qt::KeypadModifier);
    QTest::keyClick(f, Qt::Key_7, Qt::KeypadModifier);
    QTest::keyClick(f, Qt::Key_Period, Qt::KeypadModifier);
    QTest::keyClick(f, Qt::Key_5, Qt::KeypadModifier);
    EXPECT_EQ(f->Text(), QStringLiteral("-7,5"));
    EXPECT_DOUBLE_EQ(f->Value(), -7.5);
}

TEST_F(NumIO2Keys, DeletingEverythingLeavesTheZeroOfTheFormat)
{
    f->SetValue(42.0);
    EXPECT_EQ(f->Text(), QStringLiteral("42.00"));
    f->SetSelBegin(0);
    f->SetSelEnd(5);
    QTest::keyClick(f, Qt::Key_Delete);
    EXPECT_EQ(f->Text(), QStringLiteral("0.00"));
}

TEST_F(NumIO2Keys, TypingOverASelectionReplacesIt)
{
    f->SetValue(42.0);
    f->SetSelBegin(0);
    f->SetSelEnd(5);
    Type("7");
    EXPECT_EQ(f->Text(), QStringLiteral("7"));
    EXPECT_EQ(f->CaretPos(), 1);
}

TEST_F(NumIO2Keys, FixPointDigitsOverwriteTheDecimals)
{
    f->SetInputFormat(itFixPoint);
    f->SetValue(12.34);
    EXPECT_EQ(f->Text(), QStringLiteral("12.34"));
    QTest::keyClick(f, Qt::Key_Home);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(f, Qt::Key_Right);
    EXPECT_EQ(f->CaretPos(), 3);
    EXPECT_EQ(f->SelBegin(), 3);
    EXPECT_EQ(f->SelEnd(), 4);
    Type("9");
    EXPECT_EQ(f->Text(), QStringLiteral("12.94"));
    EXPECT_EQ(f->SelBegin(), 4);
    EXPECT_EQ(f->SelEnd(), 5);
    Type("8");
    EXPECT_EQ(f->Text(), QStringLiteral("12.98"));
    // At the end nothing is left to overwrite: a third decimal is refused.
    Type("7");
    EXPECT_EQ(f->Text(), QStringLiteral("12.98"));
    // In the integer part digits are inserted.
    QTest::keyClick(f, Qt::Key_Home);
    Type("5");
    EXPECT_EQ(f->Text(), QStringLiteral("512.98"));
    EXPECT_EQ(f->SelBegin(), f->SelEnd());
}

TEST_F(NumIO2Keys, DynamicPrefixes)
{
    f->SetInputFormat(itDynamic);
    EXPECT_EQ(f->Text(), QStringLiteral("0"));  // the value 0 written in the new format
    f->SetText(QString());
    Type("$");
    EXPECT_TRUE(f->Text().isEmpty());  // the prefix alone is no number
    Type("1F");
    QTest::keyClick(f, Qt::Key_Home);
    Type("$");
    EXPECT_EQ(f->Text(), QStringLiteral("$1F"));
    EXPECT_EQ(f->Value(), 31.0);
    f->SetText(QStringLiteral("%101"));
    EXPECT_EQ(f->Value(), 5.0);
    f->SetText(QStringLiteral("&17"));
    EXPECT_EQ(f->Value(), 15.0);
    f->SetText(QStringLiteral("1.5e3"));
    EXPECT_EQ(f->Value(), 1500.0);
    // A keyboard layout that delivers "$" directly.
    f->SetText(QStringLiteral("FF"));  // no number without a prefix
    EXPECT_EQ(f->Text(), QStringLiteral("1.5e3"));
    f->SetText(QStringLiteral("2A"));
    QTest::keyClick(f, Qt::Key_Home);
    QTest::keyClick(f, Qt::Key_Dollar, Qt::NoModifier, '$');
    EXPECT_EQ(f->Text(), QStringLiteral("$2A"));
    EXPECT_EQ(f->Value(), 42.0);
}

TEST_F(NumIO2Keys, ClipboardCopyCutPaste)
{
    f->SetText(QStringLiteral("123.5"));
    f->SetSelBegin(1);
    f->SetSelEnd(3);
    QTest::keyClick(f, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("23"));
    QTest::keyClick(f, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(f->Text(), QStringLiteral("1.5"));
    EXPECT_EQ(f->CaretPos(), 1);
    QTest::keyClick(f, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(f->Text(), QStringLiteral("123.5"));
    EXPECT_EQ(f->CaretPos(), 3);
    // A non-number on the clipboard is refused and the text stays.
    QGuiApplication::clipboard()->setText(QStringLiteral("abc"));
    QTest::keyClick(f, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(f->Text(), QStringLiteral("123.5"));
    EXPECT_EQ(f->CaretPos(), 3);
}

TEST_F(NumIO2Keys, ReadOnlyAllowsOnlyCopy)
{
    f->SetText(QStringLiteral("55"));
    f->SetReadOnly(true);
    f->SetSelBegin(0);
    f->SetSelEnd(2);
    Type("1");
    QTest::keyClick(f, Qt::Key_Delete);
    EXPECT_EQ(f->Text(), QStringLiteral("55"));
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(f, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("55"));
    EXPECT_FALSE(f->CaretTimer()->Active());
    f->SetReadOnly(false);
    EXPECT_TRUE(f->CaretTimer()->Active());
    EXPECT_TRUE(f->CaretVisible());
}

TEST_F(NumIO2Keys, OnKeyDownCanSwallowAKey)
{
    f->OnKeyDown = [](QObject*, WORD& key, TShiftState) {
        if (key == '5')
            key = 0;
    };
    Type("151");
    EXPECT_EQ(f->Text(), QStringLiteral("11"));
}

TEST_F(NumIO2Keys, TextSetterChecksTheFormat)
{
    f->SetText(QStringLiteral("3.25"));
    EXPECT_EQ(f->Text(), QStringLiteral("3.25"));
    f->SetText(QStringLiteral("abc"));
    EXPECT_EQ(f->Text(), QStringLiteral("3.25"));
    f->SetText(QString());
    EXPECT_TRUE(f->Text().isEmpty());
}

TEST_F(NumIO2Keys, FormatSwitchKeepsTheValue)
{
    f->SetValue(255.4);
    f->SetInputFormat(itHex);
    EXPECT_EQ(f->Text(), QStringLiteral("000000FF"));
    EXPECT_EQ(f->Value(), 255.0);
    f->SetInputFormat(itBin);
    EXPECT_EQ(f->Text(), QStringLiteral("00000000000000000000000011111111"));
    f->SetInputFormat(itExp);
    EXPECT_EQ(f->Text(), QStringLiteral(" 2.55000E+02"));
    f->SetSignificantDigits(3);
    EXPECT_EQ(f->Text(), QStringLiteral(" 2.55E+02"));
    f->SetInputFormat(itInt);
    EXPECT_EQ(f->Text(), QStringLiteral("255"));
    f->SetValue(-1.0);
    f->SetInputFormat(itHex);
    EXPECT_EQ(f->Text(), QStringLiteral("FFFFFFFF"));
    // Exponents of 100 and more are written out in full, so the value survives.
    f->SetInputFormat(itExp);
    f->SetValue(-1.5e150);
    EXPECT_EQ(f->Text(), QStringLiteral("-1.50E+0150"));
    EXPECT_DOUBLE_EQ(f->Value(), -1.5e150);
    // Any double can be written, also beyond 64 bits.
    f->SetValue(1e300);
    f->SetInputFormat(itInt);
    f->SetValue(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(f->Text(), QStringLiteral("0"));
}

TEST_F(NumIO2Keys, IntegerFormatAndIntegerValue)
{
    f->SetInputFormat(itInt);
    f->SetText(QStringLiteral("99999999999"));
    EXPECT_EQ(f->Value(), 2147483647.0);
    f->SetText(QStringLiteral("-42"));
    EXPECT_EQ(f->IntegerValue(), -42);
    f->SetInputFormat(itFloat);
    f->SetValue(3e9);
    try {
        f->IntegerValue();
        FAIL() << "no overflow error";
    } catch (const EQORNumIO2Error& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Component \"Field\": integer overflow"));
    }
}

TEST_F(NumIO2Keys, DecimalSeparatorSwitchRewritesTheBuffer)
{
    f->SetText(QStringLiteral("1,5"));
    f->SetDecPlaceSep(dpsPoint);
    EXPECT_EQ(f->Text(), QStringLiteral("1.5"));
    f->SetDecPlaceSep(dpsComma);
    EXPECT_EQ(f->Text(), QStringLiteral("1,5"));
    f->SetDecPlaceSep(dpsBoth);
    EXPECT_EQ(f->Text(), QStringLiteral("1,5"));
    // A comma-only field renders values with the comma, so typing goes on.
    f->SetDecPlaceSep(dpsComma);
    f->SetValue(2.25);
    EXPECT_EQ(f->Text(), QStringLiteral("2,25"));
    QTest::keyClick(f, Qt::Key_End);
    Type("1");
    EXPECT_EQ(f->Text(), QStringLiteral("2,251"));
}

TEST_F(NumIO2Keys, AssignCopiesSettingsButNotButtons)
{
    f->SetInputFormat(itFixPoint);
    f->SetValue(3.5);
    f->SetLeftText(QStringLiteral("L"));
    f->SetRangeHigh(50.0);
    f->SetButVisible(true);
    TNumIO2 g;
    g.Assign(f);
    EXPECT_EQ(g.InputFormat(), itFixPoint);
    EXPECT_EQ(g.Text(), QStringLiteral("3.50"));
    EXPECT_EQ(g.LeftText(), QStringLiteral("L"));
    EXPECT_EQ(g.RangeHigh(), 50.0);
    EXPECT_FALSE(g.ButVisible());
    TNumIO2 h;
    f->AssignTo(&h);
    EXPECT_EQ(h.Text(), QStringLiteral("3.50"));
    QObject other;
    EXPECT_THROW(g.Assign(&other), EConvertError);
}

TEST_F(NumIO2Keys, CaretBlinksOnlyWhileFocused)
{
    ASSERT_TRUE(f->hasFocus());
    EXPECT_TRUE(f->CaretTimer()->Active());
    EXPECT_TRUE(f->CaretVisible());
    f->CaretTimer()->Tick();
    EXPECT_FALSE(f->CaretVisible());
    f->CaretTimer()->Tick();
    EXPECT_TRUE(f->CaretVisible());
    f->clearFocus();
    f->CaretTimer()->Tick();
    EXPECT_FALSE(f->CaretVisible());
    EXPECT_FALSE(f->CaretTimer()->Active());
}

TEST_F(NumIO2Keys, HostileClipboardTextNeverBreaksTheField)
{
    f->SetInputFormat(itExp);
    f->SetValue(1.0);
    const QString before = f->Text();
    for (const QString& clip : {QString(5000, QLatin1Char('9')), QStringLiteral("1e99999"), QStringLiteral("\x01\x02"),
                                QString(QChar(0x0663)), QStringLiteral("--"), QStringLiteral("1\n2")}) {
        QGuiApplication::clipboard()->setText(clip);
        f->SetSelBegin(0);
        f->SetSelEnd(int(f->Text().size()));
        QTest::keyClick(f, Qt::Key_V, Qt::ControlModifier);
        f->RenderNow();
        EXPECT_TRUE(std::isfinite(f->Value()));
    }
    f->SetValue(1.0);
    EXPECT_EQ(f->Text(), before);
}

TEST(NumIO2Focus, ClickAndTabGiveTheFocus)
{
    QWidget form;
    auto* a = new TNumIO2(&form);
    auto* b = new TNumIO2(&form);
    b->move(0, 40);
    form.show();
    QApplication::setActiveWindow(&form);
    QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, QPoint(60, 10));
    EXPECT_TRUE(b->hasFocus());
    EXPECT_TRUE(b->CaretVisible());
    QTest::keyClick(b, Qt::Key_Tab);
    EXPECT_TRUE(a->hasFocus());
    EXPECT_FALSE(b->CaretVisible());
    EXPECT_TRUE(a->CaretVisible());
}

TEST_F(NumIO2Keys, SignalsFollowTypingSettersAndTheFreezeBox)
{
    QSignalSpy changed(f, &TNumIO2::changed);
    QSignalSpy text(f, &TNumIO2::textChanged);
    QSignalSpy value(f, &TNumIO2::valueChanged);
    Type("12");
    EXPECT_EQ(changed.count(), 2);
    ASSERT_EQ(text.count(), 2);
    EXPECT_EQ(text.last().at(0).toString(), QStringLiteral("12"));
    EXPECT_EQ(value.last().at(0).toDouble(), 12.0);
    Type("x");                        // refused: the text stays, nothing is reported
    EXPECT_EQ(text.count(), 2);
    f->SetText(QStringLiteral("12"));  // the text it already holds
    EXPECT_EQ(text.count(), 2);
    f->SetValue(7);
    EXPECT_EQ(value.last().at(0).toDouble(), 7.0);
    QSignalSpy frozen(f, &TNumIO2::freezeBoxCheckedChanged);
    f->SetFreezeBoxChecked(true);
    f->SetFreezeBoxChecked(true);
    EXPECT_EQ(frozen.count(), 1);
}

