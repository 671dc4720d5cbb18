// System colours follow the palette of the control being drawn, which inherits its parent's
// and the application's; explicit colours stay as set.
#include <gtest/gtest.h>

#include <QOR_Meter.h>
#include <QOR_NumIO2.h>
#include <QOR_ProgBar.h>
#include <QOR_replist.h>

#include "test_support.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

using namespace qor;
using qortest::PixelAt;

namespace {

constexpr TColor kButton = RGB(0x12, 0x34, 0x56);
constexpr TColor kOtherButton = RGB(0x65, 0x43, 0x21);

QPalette WithButton(QPalette pal, TColor button)
{
    pal.setColor(QPalette::Button, ToQColor(button));
    pal.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
    return pal;
}

QImage Rendered(TCustomControl& c)
{
    c.RenderNow();
    return c.Surface()->Image().copy();
}

QImage Rendered(TReportListView& v)
{
    v.RenderNow();
    return v.Surface()->Image().copy();
}

// The pixel of the report list's first column header, clear of its text (CLR_INVALID when
// the header is not visible).
TColor HeaderPixel(TReportListView& v)
{
    const QRect r = v.CellRect(0, 0);
    return r.isEmpty() ? CLR_INVALID : PixelAt(Rendered(v), r.left() + 2, r.top() + 2);
}

// A dark panel holding a numeric field, a meter and a report list.
struct Panel {
    QWidget Window;
    TNumIO2* Field = new TNumIO2(&Window);
    TMeter* Meter = new TMeter(&Window);
    TReportListView* List = new TReportListView(&Window);
    Panel()
    {
        Meter->move(0, 40);
        List->setGeometry(0, 260, 400, 120);
        List->SetBorderStyle(bsNone);
        List->SetScrollBars(ssNone);
        Window.resize(420, 400);
        Window.show();
        QApplication::processEvents();
    }
};

TEST(HostPalette, APaletteOnTheParentRecoloursTheSystemColouredParts)
{
    Panel p;
    const TColor appButton = ColorToRGB(clBtnFace);
    ASSERT_NE(appButton, kButton);
    EXPECT_EQ(PixelAt(Rendered(*p.Field), 2, 2), appButton);

    p.Window.setPalette(WithButton(p.Window.palette(), kButton));
    EXPECT_EQ(PixelAt(Rendered(*p.Field), 2, 2), kButton);     // ColorOutBG = clBtnFace
    EXPECT_EQ(PixelAt(Rendered(*p.Meter), 4, 100), kButton);   // the rims, ColorCover = clBtnFace
    EXPECT_EQ(HeaderPixel(*p.List), kButton);                  // column headers, clBtnFace
    // The cached dial and glyphs follow a second change too.
    p.Window.setPalette(WithButton(p.Window.palette(), kOtherButton));
    EXPECT_EQ(PixelAt(Rendered(*p.Meter), 4, 100), kOtherButton);
    EXPECT_EQ(HeaderPixel(*p.List), kOtherButton);
    // Outside a rendering, ColorToRGB without a palette keeps to the application's.
    EXPECT_EQ(ColorToRGB(clBtnFace), appButton);
    EXPECT_EQ(ColorToRGB(clBtnFace, p.Field->palette()), kOtherButton);
}

TEST(HostPalette, ExplicitColoursStayAsSet)
{
    Panel p;
    p.Field->SetColorOutBG(clRed);
    p.Meter->SetColorCover(RGB(1, 2, 3));
    p.Window.setPalette(WithButton(p.Window.palette(), kButton));
    EXPECT_EQ(PixelAt(Rendered(*p.Field), 2, 2), clRed);
    EXPECT_EQ(PixelAt(Rendered(*p.Meter), 4, 100), RGB(1, 2, 3));
    // The first data row's band colour is a plain colour.
    const QRect row = p.List->CellRect(0, 1);
    EXPECT_EQ(PixelAt(Rendered(*p.List), row.left() + 2, row.top() + 2), 0xF0EFE8);
}

TEST(HostPalette, TheBarScaleBetweenSystemColouredEndsFollowsAPaletteChange)
{
    QWidget parent;
    TProgBar* follows = new TProgBar(&parent);
    TProgBar* custom = new TProgBar(&parent);
    for (TProgBar* bar : {follows, custom}) {
        bar->SetColorMin(clBtnFace);
        bar->SetColorMax(clBtnFace);
    }
    custom->SetBarColors(512, clLime);
    parent.setPalette(WithButton(parent.palette(), kButton));
    EXPECT_EQ(follows->BarColors(512), kButton);
    EXPECT_EQ(custom->BarColors(512), clLime);   // a colour the program set stays
}

TEST(HostPalette, TheApplicationPaletteStillReachesEveryControl)
{
    const QPalette saved = QApplication::palette();
    QApplication::setPalette(WithButton(saved, kButton));
    TNumIO2 field;
    const TColor seen = PixelAt(Rendered(field), 2, 2);
    QApplication::setPalette(saved);
    EXPECT_EQ(seen, kButton);
}

} // namespace
