// Rotated label: the text's start point for the three alignments, where its ink lands at 0 and
// 90 degrees, AutoCenter, the transparent and filled backgrounds, the disabled look, Assign.
#include <gtest/gtest.h>

#include <QOR_RotLab.h>
#include <test_support.h>

#include "test_labels_support.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QWidget>
#include <climits>

using namespace qor;
using labeltest::InkBox;
using qortest::PixelAt;

namespace {

QImage Rendered(TRotLab& r)
{
    r.RenderNow();
    return r.Surface()->Image();
}

// A label on white without frame, anchored at (90, 110), so the ink is the text alone.
struct PlainRotLab : TRotLab {
    PlainRotLab()
    {
        SetTransparent(false);
        SetColor(clWhite);
        SetFrameStyle(fsNone);
        SetAutoCenter(false);
        SetPosX(90);
        SetPosY(110);
        SetFontColor(clBlack);
        SetCaption(QStringLiteral("Hello"));
    }
    QRect Ink() { return InkBox(Rendered(*this), rect(), clWhite); }
    // The ink of the caption drawn at (0, 0) in the label's font turned by the angle.
    QRect InkAtOrigin() const
    {
        TFont f;
        f.Assign(*Font());
        f.SetOrientation(TextAngle() * 10);
        f.SetQuality(AntiAlias() ? fqAntialiased : fqNonAntialiased);
        return labeltest::TextInk(f, Caption());
    }
};

TEST(RotLabOrigin, StartPointForEachAlignment)
{
    // Text 40 x 14: hw = 20, hh = 7, anchor (100, 50).
    EXPECT_EQ(RotLabTextOrigin(taLeftJustify, 0, 100, 50, 40, 14), QPoint(100, 43));
    EXPECT_EQ(RotLabTextOrigin(taCenter, 0, 100, 50, 40, 14), QPoint(80, 43));
    EXPECT_EQ(RotLabTextOrigin(taRightJustify, 0, 100, 50, 40, 14), QPoint(60, 43));
    EXPECT_EQ(RotLabTextOrigin(taLeftJustify, 90, 100, 50, 40, 14), QPoint(93, 50));
    EXPECT_EQ(RotLabTextOrigin(taCenter, 90, 100, 50, 40, 14), QPoint(93, 70));
    EXPECT_EQ(RotLabTextOrigin(taRightJustify, 90, 100, 50, 40, 14), QPoint(93, 90));
    EXPECT_EQ(RotLabTextOrigin(taCenter, 180, 100, 50, 40, 14), QPoint(120, 57));
    EXPECT_EQ(RotLabTextOrigin(taCenter, 270, 100, 50, 40, 14), QPoint(107, 30));
    EXPECT_EQ(RotLabTextOrigin(taCenter, -90, 100, 50, 40, 14), QPoint(107, 30));
    EXPECT_EQ(RotLabTextOrigin(taCenter, 450, 100, 50, 40, 14), QPoint(93, 70));
    // Odd sizes: the halves are taken by integer division.
    EXPECT_EQ(RotLabTextOrigin(taCenter, 0, 0, 0, 41, 15), QPoint(-20, -7));
    // 45 degrees: -20 cos a - 7 sin a = -19.09 -> -19; 20 sin a - 7 cos a = 9.19 -> 9.
    EXPECT_EQ(RotLabTextOrigin(taCenter, 45, 0, 0, 40, 14), QPoint(-19, 9));
    // Anchors at the end of the int range stay there instead of wrapping.
    EXPECT_EQ(RotLabTextOrigin(taLeftJustify, 90, INT_MIN, INT_MAX, 40, 14), QPoint(INT_MIN, INT_MAX));
}

TEST(RotLabPaint, InkAtZeroDegrees)
{
    PlainRotLab r;
    const int tw = labeltest::TextWidthOf(*r.Font(), r.Caption());
    const int hh = labeltest::TextHeightOf(*r.Font()) / 2;
    const QRect ink = r.InkAtOrigin();
    r.SetAlignment(taLeftJustify);
    EXPECT_EQ(r.Ink(), ink.translated(90, 110 - hh));
    r.SetAlignment(taRightJustify);
    EXPECT_EQ(r.Ink(), ink.translated(90 - 2 * (tw / 2), 110 - hh));
    r.SetAlignment(taCenter);
    const QRect centred = r.Ink();
    EXPECT_EQ(centred, ink.translated(90 - tw / 2, 110 - hh));
    // Centred horizontally on the anchor, its middle line through it.
    EXPECT_LE(std::abs(centred.left() + centred.right() - 2 * 90), 3);
    EXPECT_LT(centred.top(), 110);
    EXPECT_GT(centred.bottom(), 110);
}

TEST(RotLabPaint, InkAtNinetyDegreesReadsBottomToTop)
{
    PlainRotLab r;
    r.SetTextAngle(90);
    const int tw = labeltest::TextWidthOf(*r.Font(), r.Caption());
    const int hh = labeltest::TextHeightOf(*r.Font()) / 2;
    const QRect ink = r.InkAtOrigin();
    r.SetAlignment(taLeftJustify);
    const QRect fromStart = r.Ink();
    EXPECT_EQ(fromStart, ink.translated(90 - hh, 110));
    EXPECT_LE(fromStart.bottom(), 110);   // the text starts at the anchor and rises
    EXPECT_GT(fromStart.width(), 0);
    EXPECT_GT(fromStart.height(), fromStart.width());
    r.SetAlignment(taRightJustify);
    EXPECT_EQ(r.Ink(), ink.translated(90 - hh, 110 + 2 * (tw / 2)));
    r.SetAlignment(taCenter);
    const QRect centred = r.Ink();
    EXPECT_EQ(centred, ink.translated(90 - hh, 110 + tw / 2));
    EXPECT_LE(std::abs(centred.top() + centred.bottom() - 2 * 110), 3);
    EXPECT_LT(centred.left(), 90);
    EXPECT_GT(centred.right(), 90);
    // The first letter is at the bottom.
    r.SetAlignment(taLeftJustify);
    r.SetCaption(QStringLiteral("H"));
    const QRect first = r.Ink();
    EXPECT_EQ(first.bottom(), fromStart.bottom());
    EXPECT_GT(first.top(), fromStart.top() + 10);
}

TEST(RotLabCentre, AutoCenterKeepsTheAnchorAtTheCentre)
{
    TRotLab r;
    EXPECT_TRUE(r.AutoCenter());
    EXPECT_EQ(r.size(), QSize(200, 200));
    EXPECT_EQ(r.PosX(), 100);
    EXPECT_EQ(r.PosY(), 100);
    r.SetPosX(5);
    r.SetPosY(7);
    EXPECT_EQ(r.PosX(), 100);
    EXPECT_EQ(r.PosY(), 100);
    r.resize(301, 121);
    EXPECT_EQ(r.PosX(), 150);
    EXPECT_EQ(r.PosY(), 60);

    r.SetAutoCenter(false);
    r.SetPosX(5);
    EXPECT_EQ(r.PosX(), 5);
    r.SetAutoCenter(true);
    EXPECT_EQ(r.PosX(), 150);

    r.show();
    QSignalSpy xs(&r, &TRotLab::posXChanged), ys(&r, &TRotLab::posYChanged);
    r.resize(80, 121);
    ASSERT_EQ(xs.count(), 1);
    EXPECT_EQ(xs.at(0).at(0).toInt(), 40);
    EXPECT_EQ(ys.count(), 0);
    EXPECT_EQ(r.property("PosX").toInt(), 40);
}

TEST(RotLabCentre, CentredTextAtTheControlsMiddle)
{
    PlainRotLab r;
    r.resize(160, 90);
    r.SetAutoCenter(true);
    const int tw = labeltest::TextWidthOf(*r.Font(), r.Caption());
    const int hh = labeltest::TextHeightOf(*r.Font()) / 2;
    EXPECT_EQ(r.Ink(), r.InkAtOrigin().translated(80 - tw / 2, 45 - hh));
}

TEST(RotLabPaint, TransparentByDefaultOverTheParent)
{
    constexpr TColor kParent = RGB(0x30, 0x90, 0x40);
    QWidget parent;
    labeltest::FillBackground(parent, QSize(240, 240), kParent);
    auto* r = new TRotLab(&parent);
    r->move(20, 20);
    r->SetCaption(QStringLiteral("Tilted"));
    r->SetTextAngle(45);
    EXPECT_TRUE(r->Transparent());
    QImage img = qortest::Render(&parent);
    EXPECT_EQ(PixelAt(img, 20 + 10, 20 + 10), kParent);
    EXPECT_EQ(PixelAt(img, 20 + 0, 20 + 50), clGray);       // fsLowered frame
    EXPECT_EQ(PixelAt(img, 20 + 199, 20 + 50), clWhite);
    EXPECT_FALSE(InkBox(img, QRect(20 + 60, 20 + 60, 80, 80), kParent).isEmpty());

    r->SetTransparent(false);
    r->SetColor(clYellow);
    img = qortest::Render(&parent);
    EXPECT_EQ(PixelAt(img, 20 + 10, 20 + 10), clYellow);
    EXPECT_EQ(PixelAt(img, 20 + 0, 20 + 50), clGray);
    EXPECT_EQ(r->property("Color").value<QColor>(), QColor(Qt::yellow));
}

TEST(RotLabPaint, DisabledTextIsEngraved)
{
    PlainRotLab r;
    r.SetColor(clNavy);
    r.SetFontColor(clRed);
    r.Font()->SetHeight(-30);
    r.Font()->SetStyle({fsBold});
    r.SetCaption(QStringLiteral("LIE"));
    r.setEnabled(false);
    const QImage img = Rendered(r);
    const TColor shadow = ColorToRGB(clBtnShadow), light = ColorToRGB(clBtnHighlight);
    const QRect dark = labeltest::InkWhere(img, r.rect(), [&](TColor c) { return c == shadow; });
    const QRect bright = labeltest::InkWhere(img, r.rect(), [&](TColor c) { return c == light; });
    ASSERT_FALSE(dark.isEmpty());
    ASSERT_FALSE(bright.isEmpty());
    EXPECT_GT(bright.right(), dark.right());
    EXPECT_GT(bright.bottom(), dark.bottom());
    EXPECT_GE(bright.left(), dark.left());
    EXPECT_EQ(labeltest::CountColor(img, r.rect(), clRed), 0);
}

// The colours of a picture besides the background and the text colour.
int BlendedPixels(const QImage& img)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const TColor c = PixelAt(img, x, y);
            n += c != clWhite && c != clBlack;
        }
    return n;
}

TEST(RotLabPaint, AntiAliasOffDrawsAliasedText)
{
    for (int angle : {0, 30, 90}) {
        PlainRotLab r;
        r.SetTextAngle(angle);
        EXPECT_GT(BlendedPixels(Rendered(r)), 0) << angle;   // anti-aliased: grey edges
        r.SetAntiAlias(false);
        const QImage aliased = Rendered(r);
        EXPECT_EQ(BlendedPixels(aliased), 0) << angle;        // only black on white
        EXPECT_FALSE(r.Ink().isEmpty()) << angle;
    }
}

TEST(RotLabState, DefaultsAssignAndAccessibility)
{
    TRotLab r;
    EXPECT_EQ(r.Font()->Name(), "Arial");
    EXPECT_EQ(r.Font()->Size(), 11);
    EXPECT_EQ(r.Color(), clBtnFace);
    EXPECT_EQ(r.FrameStyle(), fsLowered);
    EXPECT_TRUE(r.AntiAlias());

    TRotLab src;
    src.SetAutoCenter(false);
    src.SetPosX(12);
    src.SetPosY(34);
    src.SetTextAngle(77);
    src.SetAntiAlias(false);
    src.SetFrameStyle(fsRaised);
    src.SetCaption(QStringLiteral("not copied"));
    src.SetAlignment(taLeftJustify);
    src.SetTransparent(false);
    r.Assign(&src);
    EXPECT_FALSE(r.AutoCenter());
    EXPECT_EQ(r.PosX(), 12);
    EXPECT_EQ(r.PosY(), 34);
    EXPECT_EQ(r.TextAngle(), 77);
    EXPECT_FALSE(r.AntiAlias());
    EXPECT_EQ(r.FrameStyle(), fsRaised);
    EXPECT_EQ(r.Caption(), "");
    EXPECT_EQ(r.Alignment(), taCenter);
    EXPECT_TRUE(r.Transparent());
    TRotLab back;
    r.AssignTo(&back);
    EXPECT_EQ(back.TextAngle(), 77);

    r.SetCaption(QStringLiteral("Axis"));
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&r);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::StaticText);
    EXPECT_EQ(iface->text(QAccessible::Value), "Axis");
}

} // namespace
