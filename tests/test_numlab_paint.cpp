// Numeric label painting: the field frame and fill, where the three texts go for each
// alignment, the overflow indicator, OnBeforeDisplay, Empty, the disabled look, the transparent
// mode over a coloured parent, the mouse areas, accessibility and Assign.
#include <gtest/gtest.h>

#include <QOR_NumLab.h>
#include "test_labels_support.h"
#include <test_support.h>

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <climits>

using namespace qor;
using labeltest::InkBox;
using labeltest::TextInk;
using qortest::PixelAt;

namespace {

constexpr TColor kField = RGB(0xC8, 0xFF, 0xC8);   // light green
constexpr TColor kOuter = RGB(0xFF, 0xF0, 0xE0);

// Exact text colours: a large bold font drawn without antialiasing.
void UseBoldFont(TNumLab& lab)
{
    lab.Font()->SetHeight(-22);
    lab.Font()->SetStyle({fsBold});
    lab.Font()->SetQuality(fqNonAntialiased);
    lab.resize(160, 40);
}

QImage Rendered(TNumLab& lab)
{
    lab.RenderNow();
    return lab.Surface()->Image();
}

// A label in plain colours: black texts on white, so ink boxes compare exactly.
struct PlainLab : TNumLab {
    PlainLab()
    {
        SetColorLabBakG(clWhite);
        SetColorOutBakG(clWhite);
        SetFrameStyle(fsNone);
    }
    int TextY() const { return (height() - labeltest::TextHeightOf(*Font())) / 2; }
    QRect FieldInk(const QImage& img) const
    {
        return InkBox(img, QRect(LeftSpace() + 1, 0, LabelWidth(), height() - 1), clWhite);
    }
};

TEST(NumLabPaint, FieldFrameAndFillFollowTheBox)
{
    TNumLab lab;   // 160 x 28, LeftSpace 35, LabelWidth 80: box (36, 0) .. (115, 26)
    lab.SetColorLabBakG(kField);
    lab.SetColorOutBakG(kOuter);
    lab.SetEmpty(true);
    QImage img = Rendered(lab);
    // fsLowered: grey and white outside, black and silver inside.
    EXPECT_EQ(PixelAt(img, 36, 10), clGray);
    EXPECT_EQ(PixelAt(img, 60, 0), clGray);
    EXPECT_EQ(PixelAt(img, 115, 10), clWhite);
    EXPECT_EQ(PixelAt(img, 60, 26), clWhite);
    EXPECT_EQ(PixelAt(img, 37, 10), clBlack);
    EXPECT_EQ(PixelAt(img, 60, 1), clBlack);
    EXPECT_EQ(PixelAt(img, 114, 10), clSilver);
    EXPECT_EQ(PixelAt(img, 60, 25), clSilver);
    EXPECT_EQ(PixelAt(img, 38, 2), kField);
    EXPECT_EQ(PixelAt(img, 113, 24), kField);
    // The outer area around it, the row below included.
    EXPECT_EQ(PixelAt(img, 35, 10), kOuter);
    EXPECT_EQ(PixelAt(img, 116, 10), kOuter);
    EXPECT_EQ(PixelAt(img, 60, 27), kOuter);
    EXPECT_EQ(PixelAt(img, 0, 0), kOuter);

    lab.SetFrameStyle(fsNone);
    img = Rendered(lab);
    EXPECT_EQ(PixelAt(img, 36, 0), kField);
    EXPECT_EQ(PixelAt(img, 115, 26), kField);
    EXPECT_EQ(PixelAt(img, 116, 26), kOuter);
    lab.SetFrameStyle(fsSimple);
    img = Rendered(lab);
    EXPECT_EQ(PixelAt(img, 36, 13), clBlack);
    EXPECT_EQ(PixelAt(img, 115, 13), clBlack);
    EXPECT_EQ(PixelAt(img, 37, 13), kField);

    lab.SetLeftSpace(50);
    lab.SetLabelWidth(60);   // box (51, 0) .. (110, 26)
    img = Rendered(lab);
    EXPECT_EQ(PixelAt(img, 50, 13), kOuter);
    EXPECT_EQ(PixelAt(img, 51, 13), clBlack);
    EXPECT_EQ(PixelAt(img, 110, 13), clBlack);
    EXPECT_EQ(PixelAt(img, 111, 13), kOuter);
}

TEST(NumLabPaint, ValueTextPlacedByAlignment)
{
    PlainLab lab;
    lab.SetValue(3.14159);
    const QString s = QStringLiteral("3.14");
    const QRect ink = TextInk(*lab.Font(), s);
    const int tw = labeltest::TextWidthOf(*lab.Font(), s);
    const int y = lab.TextY();
    lab.SetAlignment(taLeftJustify);
    EXPECT_EQ(lab.FieldInk(Rendered(lab)), ink.translated(35 + 4, y));
    lab.SetAlignment(taRightJustify);
    EXPECT_EQ(lab.FieldInk(Rendered(lab)), ink.translated(35 + 80 - tw - 2, y));
    lab.SetAlignment(taCenter);
    EXPECT_EQ(lab.FieldInk(Rendered(lab)), ink.translated(35 + (80 - tw) / 2 + 2, y));
    // A taller control moves the text by half the height difference, rounded down.
    lab.resize(160, 41);
    const int y41 = lab.TextY();
    EXPECT_EQ(y41, (41 - labeltest::TextHeightOf(*lab.Font())) / 2);
    EXPECT_EQ(lab.FieldInk(Rendered(lab)), ink.translated(35 + (80 - tw) / 2 + 2, y41));
}

TEST(NumLabPaint, SideTextsPlacedByAlignment)
{
    PlainLab lab;
    lab.SetEmpty(true);
    lab.SetLeftText(QStringLiteral("U"));
    lab.SetRightText(QStringLiteral("mV"));
    const QRect left = TextInk(*lab.Font(), QStringLiteral("U"));
    const QRect right = TextInk(*lab.Font(), QStringLiteral("mV"));
    const int lw = labeltest::TextWidthOf(*lab.Font(), QStringLiteral("U"));
    const int rw = labeltest::TextWidthOf(*lab.Font(), QStringLiteral("mV"));
    const int y = lab.TextY();
    auto leftInk = [&] { return InkBox(Rendered(lab), QRect(0, 0, 36, 28), clWhite); };
    auto rightInk = [&] { return InkBox(Rendered(lab), QRect(116, 0, 44, 28), clWhite); };

    EXPECT_EQ(leftInk(), left.translated(35 - lw - 5, y));   // defaults: right-justified
    EXPECT_EQ(rightInk(), right.translated(115 + 7, y));     // and left-justified
    lab.SetLeftTextAlignment(taLeftJustify);
    lab.SetRightTextAlignment(taRightJustify);
    EXPECT_EQ(leftInk(), left.translated(7, y));
    EXPECT_EQ(rightInk(), right.translated(160 - rw - 6, y));
    lab.SetLeftTextAlignment(taCenter);
    lab.SetRightTextAlignment(taCenter);
    EXPECT_EQ(leftInk(), left.translated((35 - lw) / 2, y));
    EXPECT_EQ(rightInk(), right.translated((160 - (115 + rw)) / 2 + 115 + 1, y));
}

TEST(NumLabPaint, TextsUseTheirColours)
{
    TNumLab lab;
    lab.SetColorLabBakG(kField);
    lab.SetColorOutBakG(kOuter);
    lab.SetColorLabText(clNavy);
    lab.SetColorOutText(clMaroon);
    lab.SetValue(111);
    lab.SetPrecision(0);
    lab.SetLeftText(QStringLiteral("IIII"));
    UseBoldFont(lab);
    const QImage img = Rendered(lab);
    EXPECT_GT(labeltest::CountColor(img, QRect(38, 2, 76, 35), clNavy), 0);
    EXPECT_GT(labeltest::CountColor(img, QRect(0, 0, 35, 40), clMaroon), 0);
}

TEST(NumLabPaint, TooWideTextShowsTheOverflowIndicator)
{
    PlainLab wide, stars;
    wide.SetValue(123456789.0);   // "123456789.00" is wider than LabelWidth - 6
    stars.SetDisplayType(dtState);
    stars.SetStateText(QStringLiteral("*********"));
    EXPECT_EQ(Rendered(wide), Rendered(stars));
    wide.SetOverflowIndicator(QStringLiteral("#"));
    stars.SetStateText(QStringLiteral("#"));
    EXPECT_EQ(Rendered(wide), Rendered(stars));
    // The limit is LabelWidth - 6 pixels of text width.
    const int tw = labeltest::TextWidthOf(*wide.Font(), QStringLiteral("123456789.00"));
    wide.SetLabelWidth(tw + 6);
    stars.SetLabelWidth(tw + 6);
    stars.SetStateText(QStringLiteral("123456789.00"));
    EXPECT_EQ(Rendered(wide), Rendered(stars));
    wide.SetLabelWidth(tw + 5);
    stars.SetLabelWidth(tw + 5);
    stars.SetStateText(QStringLiteral("#"));
    EXPECT_EQ(Rendered(wide), Rendered(stars));
}

TEST(NumLabPaint, StateTextIsClippedNotReplaced)
{
    PlainLab lab;
    lab.SetDisplayType(dtState);
    lab.SetStateText(QString(20, QChar(0x2588)));   // full blocks: ink up to the clip edges
    const QRect ink = lab.FieldInk(Rendered(lab));
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_EQ(ink.left(), 35 + 3);
    EXPECT_EQ(ink.right(), 35 + 80 - 2);
    EXPECT_GE(ink.top(), 2);
    EXPECT_LE(ink.bottom(), 28 - 4);
}

TEST(NumLabPaint, BeforeDisplayChangesTheTextBeforeTheWidthCheck)
{
    PlainLab lab, ref;
    ref.SetDisplayType(dtState);
    int calls = 0;
    QString seen;
    lab.SetValue(2.5);
    lab.OnBeforeDisplay = [&](QObject* sender, QString& text) {
        EXPECT_EQ(sender, &lab);
        seen = text;
        text = QStringLiteral("OK");
        ++calls;
    };
    ref.SetStateText(QStringLiteral("OK"));
    EXPECT_EQ(Rendered(lab), Rendered(ref));
    EXPECT_EQ(seen, "2.50");
    lab.OnBeforeDisplay = [](QObject*, QString& text) { text = QStringLiteral("a text far too wide for the field"); };
    ref.SetStateText(QStringLiteral("*********"));
    EXPECT_EQ(Rendered(lab), Rendered(ref));
    // Empty: no text, no event.
    lab.OnBeforeDisplay = [&](QObject*, QString&) { ++calls; };
    lab.SetEmpty(true);
    calls = 0;
    const QImage img = Rendered(lab);
    EXPECT_EQ(calls, 0);
    EXPECT_TRUE(lab.FieldInk(img).isEmpty());
}

TEST(NumLabPaint, DisabledLookEngravesTheSideTexts)
{
    PlainLab lab;
    lab.SetColorOutBakG(kOuter);
    lab.SetLeftText(QStringLiteral("U"));
    lab.SetRightText(QStringLiteral("H"));
    lab.SetRightTextAlignment(taRightJustify);
    lab.SetValue(111);
    lab.setEnabled(false);
    UseBoldFont(lab);
    const QImage img = Rendered(lab);
    const int y = lab.TextY();
    const auto grey = [](TColor c) { return c == clGray; };
    const auto white = [](TColor c) { return c == clWhite; };
    const int lw = labeltest::TextWidthOf(*lab.Font(), QStringLiteral("U"));
    const int rw = labeltest::TextWidthOf(*lab.Font(), QStringLiteral("H"));
    const QRect leftArea(0, 0, 36, 40), rightArea(116, 0, 44, 40);
    // The grey copy's fully covered pixels lie within the text's ink; the white copy is one pixel
    // down and right (left for the right-justified right text).
    const QRect leftGrey = labeltest::InkWhere(img, leftArea, grey);
    const QRect leftWhite = labeltest::InkWhere(img, leftArea, white);
    ASSERT_FALSE(leftGrey.isEmpty());
    EXPECT_TRUE(TextInk(*lab.Font(), QStringLiteral("U")).translated(35 - lw - 5, y).contains(leftGrey));
    EXPECT_EQ(leftWhite.bottom(), leftGrey.bottom() + 1);
    EXPECT_EQ(leftWhite.right(), leftGrey.right() + 1);
    const QRect rightGrey = labeltest::InkWhere(img, rightArea, grey);
    const QRect rightWhite = labeltest::InkWhere(img, rightArea, white);
    ASSERT_FALSE(rightGrey.isEmpty());
    EXPECT_TRUE(TextInk(*lab.Font(), QStringLiteral("H")).translated(160 - rw - 6, y).contains(rightGrey));
    EXPECT_EQ(rightWhite.bottom(), rightGrey.bottom() + 1);
    EXPECT_EQ(rightWhite.left(), rightGrey.left() - 1);
    // The value in the button shadow colour.
    EXPECT_GT(labeltest::CountColor(img, QRect(38, 2, 76, 35), ColorToRGB(clBtnShadow)), 0);
    EXPECT_EQ(labeltest::CountColor(img, QRect(38, 2, 76, 35), clBlack), 0);
}

TEST(NumLabPaint, TransparentLabelShowsTheParentOutsideTheField)
{
    constexpr TColor kParent = RGB(0x20, 0x60, 0xC0);
    QWidget parent;
    labeltest::FillBackground(parent, QSize(200, 40), kParent);
    auto* lab = new TNumLab(&parent);
    lab->move(10, 5);
    lab->SetColorLabBakG(kField);
    lab->SetColorOutBakG(kOuter);
    lab->SetLeftText(QStringLiteral("IIII"));
    lab->SetValue(111);
    lab->SetPrecision(0);
    lab->SetTransparent(true);
    UseBoldFont(*lab);
    lab->resize(160, 28);
    QImage img = qortest::Render(&parent);
    const auto at = [&](int x, int y) { return PixelAt(img, 10 + x, 5 + y); };
    EXPECT_EQ(at(33, 24), kParent);                    // outer area
    EXPECT_EQ(at(60, 27), kParent);                    // the row below the field
    EXPECT_EQ(at(115, 10), kParent);                   // the white frame line, as AND shows it
    // The grey one darkens the parent as AND with grey would (half of each channel here).
    const TColor blend = at(36, 10);
    EXPECT_NEAR(GetRValue(blend), 0x10, 1);
    EXPECT_NEAR(GetGValue(blend), 0x30, 1);
    EXPECT_NEAR(GetBValue(blend), 0x60, 1);
    EXPECT_EQ(at(37, 10), clBlack);
    EXPECT_EQ(at(40, 3), kField);                      // the field keeps its colour
    EXPECT_GT(labeltest::CountColor(img, QRect(10, 5, 35, 28), clBlack), 0);   // black side text
    EXPECT_GT(labeltest::CountColor(img, QRect(10 + 38, 5 + 2, 76, 23), clBlack), 0);

    // A coloured value text: the field is combined with white, so it shows as painted.
    lab->SetColorLabText(clRed);
    img = qortest::Render(&parent);
    EXPECT_EQ(at(40, 3), kField);
    EXPECT_GT(labeltest::CountColor(img, QRect(10 + 38, 5 + 2, 76, 23), clRed), 0);

    lab->SetTransparent(false);
    img = qortest::Render(&parent);
    EXPECT_EQ(at(33, 24), kOuter);
    EXPECT_EQ(at(115, 10), clWhite);
}

TEST(NumLabPaint, MouseAreaCodeFollowsTheAreas)
{
    TNumLab lab;
    auto moveTo = [&](int x) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, 10), QPointF(x, 10), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&lab, &move);
        return lab.MouseAreaCode();
    };
    int moves = 0;
    lab.OnMouseMove = [&](QObject*, TShiftState, int, int) { ++moves; };
    EXPECT_TRUE(lab.hasMouseTracking());
    EXPECT_EQ(moveTo(35), 0);
    EXPECT_EQ(moveTo(36), 1);
    EXPECT_EQ(moveTo(115), 1);
    EXPECT_EQ(moveTo(116), 2);
    EXPECT_EQ(moveTo(3), 0);
    EXPECT_EQ(moves, 5);
}

TEST(NumLabPaint, SettersKeepTheirLimits)
{
    TNumLab lab;
    lab.SetLeftSpace(-5);
    EXPECT_EQ(lab.LeftSpace(), 35);
    lab.SetLeftSpace(500);
    EXPECT_EQ(lab.LeftSpace(), 160);
    lab.SetLabelWidth(-1);
    EXPECT_EQ(lab.LabelWidth(), 80);
    lab.SetLabelWidth(INT_MAX);
    EXPECT_EQ(lab.LabelWidth(), 65535);
    lab.SetRightText(QStringLiteral("R"));
    lab.RenderNow();   // far-off coordinates draw nothing and overflow nothing
    lab.setProperty("DisplayType", 99);
    EXPECT_EQ(lab.DisplayType(), dtFixP);
    lab.setProperty("DisplayType", QVariant::fromValue(dtEEng));
    EXPECT_EQ(lab.DisplayType(), dtEEng);
    EXPECT_EQ(lab.property("DisplayType").value<TDisplay>(), dtEEng);
    EXPECT_EQ(lab.size(), QSize(160, 28));
}

TEST(NumLabPaint, AccessibleValueIsTheShownNumber)
{
    TNumLab lab;
    lab.SetValue(1234.5);
    lab.SetDisplayType(dtExp);
    lab.SetPrecision(3);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&lab);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::StaticText);
    EXPECT_EQ(iface->text(QAccessible::Value), "1.23E+003");
    EXPECT_EQ(iface->text(QAccessible::Name), "1.23E+003");
    EXPECT_TRUE(iface->state().readOnly);
    EXPECT_EQ(iface->valueInterface(), nullptr);   // a display offers no steps
    lab.SetEmpty(true);
    EXPECT_EQ(iface->text(QAccessible::Value), "");
}

TEST(NumLabPaint, AssignCopiesAllButFormatDetails)
{
    TNumLab src, dst;
    src.SetValue(7.25);
    src.SetDisplayType(dtFloat);
    src.SetPrecision(5);
    src.SetComma(true);
    src.SetForcePlusSign(true);
    src.SetDTFormat(QStringLiteral("yyyy"));
    src.SetLeftText(QStringLiteral("L"));
    src.SetRightText(QStringLiteral("R"));
    src.SetLeftSpace(20);
    src.SetLabelWidth(60);
    src.SetAlignment(taLeftJustify);
    src.SetColorLabBakG(kField);
    src.SetFrameStyle(fsRaised);
    src.SetColorScheme(csSystemColors);
    src.SetTransparent(true);
    src.SetStateText(QStringLiteral("s"));
    src.SetOverflowIndicator(QStringLiteral("!"));
    src.setEnabled(false);
    dst.Assign(&src);
    EXPECT_EQ(dst.Value(), 7.25);
    EXPECT_EQ(dst.DisplayType(), dtFloat);
    EXPECT_EQ(dst.Precision(), 5);
    EXPECT_EQ(dst.LeftText(), "L");
    EXPECT_EQ(dst.RightText(), "R");
    EXPECT_EQ(dst.LeftSpace(), 20);
    EXPECT_EQ(dst.LabelWidth(), 60);
    EXPECT_EQ(dst.Alignment(), taLeftJustify);
    EXPECT_EQ(dst.ColorLabBakG(), kField);
    EXPECT_EQ(dst.FrameStyle(), fsRaised);
    EXPECT_EQ(dst.ColorScheme(), csSystemColors);
    EXPECT_TRUE(dst.Transparent());
    EXPECT_EQ(dst.StateText(), "s");
    EXPECT_EQ(dst.OverflowIndicator(), "!");
    EXPECT_FALSE(dst.Comma());
    EXPECT_FALSE(dst.ForcePlusSign());
    EXPECT_EQ(dst.DTFormat(), "mmm-dd, yyyy");
    EXPECT_TRUE(dst.isEnabled());
    TNumLab back;
    src.AssignTo(&back);
    EXPECT_EQ(back.LeftSpace(), 20);
    QObject other;
    EXPECT_THROW(dst.Assign(&other), EConvertError);
}

} // namespace
