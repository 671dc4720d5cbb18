// Meter painting: the pixels of lamps, rims, bevel, frame, bands, needle tip and shadow, the
// anchor variants, background and anchor images with their fallback, and the paint hooks.
#include <gtest/gtest.h>

#include <QOR_Meter.h>
#include <test_support.h>

#include <QDir>
#include <QImage>
#include <chrono>
#include <cmath>
#include <limits>
#include <random>

using namespace qor;
using qortest::PixelAt;

namespace {

QImage Rendered(TMeter& m)
{
    m.RenderNow();
    return m.Surface()->Image();
}

// True when some pixel within one pixel of (x, y) has the colour: for lines whose exact
// rasterisation is the canvas's business, not the meter's.
bool Near(const QImage& img, int x, int y, TColor c)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (PixelAt(img, x + dx, y + dy) == c)
                return true;
    return false;
}

int CountColor(const QImage& img, const QRect& r, TColor c)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += PixelAt(img, x, y) == c;
    return n;
}

QString SaveImage(const QString& name, const QImage& img)
{
    const QString path = QDir(qortest::ScratchDir()).filePath(name);
    EXPECT_TRUE(img.save(path));
    return path;
}

QImage Solid(int w, int h, QColor c)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

TEST(MeterPaint, LampsShowTheirStateWithShading)
{
    TMeter m;
    m.SetThresholdHigh(0.8);
    m.SetValue(0.9);
    QImage img = Rendered(m);
    const int hx = 297 - 10 - 18, ly = 8 + 8, lx = 10 + 8;
    EXPECT_EQ(PixelAt(img, hx + 5, ly + 5), clRed);    // high lamp lit
    EXPECT_EQ(PixelAt(img, lx + 5, ly + 5), clGray);   // low lamp unlit
    for (int x0 : {hx, lx}) {
        EXPECT_EQ(PixelAt(img, x0, ly + 5), clBlack);
        EXPECT_EQ(PixelAt(img, x0 + 5, ly), clBlack);
        EXPECT_EQ(PixelAt(img, x0 + 9, ly + 5), clWhite);
        EXPECT_EQ(PixelAt(img, x0 + 5, ly + 9), clWhite);
        EXPECT_EQ(PixelAt(img, x0 + 8, ly + 5), clSilver);
        EXPECT_EQ(PixelAt(img, x0 + 5, ly + 8), clSilver);
        EXPECT_EQ(PixelAt(img, x0 + 1, ly + 5), clGray);
        EXPECT_EQ(PixelAt(img, x0 + 5, ly + 1), clGray);
        EXPECT_EQ(PixelAt(img, x0 + 8, ly + 1), clGray);
    }
    m.SetThresholdHigh(0.95);   // lowering and raising the threshold later updates the lamp
    m.SetValue(0.1);
    m.SetValue(0.5);
    img = Rendered(m);
    EXPECT_EQ(PixelAt(img, hx + 5, ly + 5), clGray);
    m.SetThresholdHigh(0.4);
    img = Rendered(m);
    EXPECT_EQ(PixelAt(img, hx + 5, ly + 5), clRed);
    m.SetLimWatchHighOn(false);
    img = Rendered(m);
    EXPECT_EQ(PixelAt(img, hx + 5, ly + 5), clWhite);   // the dial shows instead
}

TEST(MeterPaint, RimsBevelAndRaisedFrame)
{
    TMeter m;
    m.SetColorCover(RGB(10, 20, 30));
    m.SetAnchorCovered(false);
    const QImage img = Rendered(m);
    const TColor cover = RGB(10, 20, 30);
    EXPECT_EQ(PixelAt(img, 4, 100), cover);     // left rim: columns 0 .. RimSide - 2
    EXPECT_EQ(PixelAt(img, 150, 4), cover);     // top rim
    EXPECT_EQ(PixelAt(img, 292, 100), cover);   // right rim
    EXPECT_EQ(PixelAt(img, 150, 204), cover);   // bottom rim
    // The window bevel: white below and right, gray above and left.
    EXPECT_EQ(PixelAt(img, 100, 199), clWhite);
    EXPECT_EQ(PixelAt(img, 150, 199), clWhite);
    EXPECT_EQ(PixelAt(img, 287, 100), clWhite);
    EXPECT_EQ(PixelAt(img, 9, 199), clWhite);
    EXPECT_EQ(PixelAt(img, 150, 8), clGray);
    EXPECT_EQ(PixelAt(img, 287, 8), clGray);
    EXPECT_EQ(PixelAt(img, 9, 100), clGray);
    EXPECT_EQ(PixelAt(img, 9, 8), clGray);
    EXPECT_EQ(PixelAt(img, 8, 100), cover);
    // Raised frame: light top and left, dark right and bottom.
    EXPECT_EQ(PixelAt(img, 0, 0), clWhite);
    EXPECT_EQ(PixelAt(img, 0, 100), clWhite);
    EXPECT_EQ(PixelAt(img, 100, 0), clWhite);
    EXPECT_EQ(PixelAt(img, 0, 208), clWhite);
    EXPECT_EQ(PixelAt(img, 296, 0), clGray);
    EXPECT_EQ(PixelAt(img, 296, 100), clGray);
    EXPECT_EQ(PixelAt(img, 100, 208), clGray);
}

TEST(MeterPaint, FrameStylesAndColourScheme)
{
    TMeter m;
    m.SetColorBakG(RGB(1, 2, 3));
    const TColor cover = ColorToRGB(clBtnFace);
    m.SetFrameStyle(fsNone);
    QImage img = Rendered(m);
    EXPECT_EQ(PixelAt(img, 0, 100), cover);
    m.SetFrameStyle(fsSimple);
    img = Rendered(m);
    EXPECT_EQ(PixelAt(img, 0, 100), RGB(1, 2, 3));
    EXPECT_EQ(PixelAt(img, 296, 208), RGB(1, 2, 3));
    m.SetFrameStyle(fsLowered);
    img = Rendered(m);
    EXPECT_EQ(PixelAt(img, 0, 100), clGray);
    EXPECT_EQ(PixelAt(img, 296, 100), clWhite);
    m.SetFrameStyle(fsEmbossed);
    img = Rendered(m);
    EXPECT_EQ(PixelAt(img, 0, 0), clWhite);
    EXPECT_EQ(PixelAt(img, 295, 207), clWhite);
    EXPECT_EQ(PixelAt(img, 1, 100), clGray);
    EXPECT_EQ(PixelAt(img, 100, 1), clGray);
    EXPECT_EQ(PixelAt(img, 296, 100), clGray);
    EXPECT_EQ(PixelAt(img, 100, 208), clGray);
    m.SetFrameStyle(fsEngraved);
    img = Rendered(m);
    EXPECT_EQ(PixelAt(img, 0, 0), clGray);
    EXPECT_EQ(PixelAt(img, 1, 100), clWhite);
    m.SetFrameStyle(fsLowered);
    m.SetColorScheme(csSystemColors);
    img = Rendered(m);
    EXPECT_EQ(PixelAt(img, 0, 100), ColorToRGB(clBtnShadow));
    EXPECT_EQ(PixelAt(img, 296, 100), ColorToRGB(clBtnHighlight));
}

TEST(MeterPaint, NeedleTipFollowsTheValue)
{
    TMeter m;
    m.SetMeterShortTicks(false);
    m.SetScaleVisible(false);
    m.SetValue(0.5);
    QImage img = Rendered(m);
    EXPECT_EQ(PixelAt(img, 148, 20), clBlack);    // tip at R - 4 = 171 above the centre
    EXPECT_EQ(PixelAt(img, 148, 19), clWhite);
    EXPECT_EQ(PixelAt(img, 148, 100), clBlack);   // a thin shaft runs down the middle
    m.SetValue(0);
    img = Rendered(m);
    EXPECT_EQ(PixelAt(img, 27, 70), clBlack);     // 148 - 171 cos 45°, 191 - 171 sin 45°
    m.SetValue(1);
    img = Rendered(m);
    EXPECT_EQ(PixelAt(img, 269, 70), clBlack);
    m.NeedleLayout()->SetPercentNeedleLength(50);
    img = Rendered(m);
    EXPECT_EQ(PixelAt(img, 208, 131), clBlack);   // L = 85.5
    EXPECT_EQ(PixelAt(img, 269, 70), clWhite);
}

TEST(MeterPaint, ThickNeedleIsFilledWithItsBodyColour)
{
    TMeter m;
    m.SetScaleVisible(false);
    m.SetValue(0.5);
    m.NeedleLayout()->SetThickness(8);
    m.NeedleLayout()->SetColorBody(clYellow);
    const QImage img = Rendered(m);
    EXPECT_EQ(PixelAt(img, 148, 120), clYellow);
    EXPECT_EQ(PixelAt(img, 144, 120), clBlack);   // the shaft's edge, Thickness / 2 off the middle
    EXPECT_EQ(PixelAt(img, 141, 120), clWhite);
}

TEST(MeterPaint, HandlerCanTakeOverTheNeedle)
{
    TMeter m;
    m.SetScaleVisible(false);
    m.SetValue(0.5);
    m.SetThresholdHigh(0.5);
    m.SetValue(0.6);
    int calls = 0;
    m.OnBeforeDrawNeedle = [&](QObject* s, TCanvas* c, bool& drawn) {
        EXPECT_EQ(s, &m);
        EXPECT_NE(c, nullptr);
        ++calls;
        drawn = true;
    };
    QImage img = Rendered(m);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(CountColor(img, QRect(30, 30, 230, 140), clBlack), 0);   // no needle anywhere
    EXPECT_EQ(PixelAt(img, 274, 21), clRed);                           // lamps still drawn
    EXPECT_EQ(PixelAt(img, 148, 185), ColorToRGB(clBtnFace));         // and the anchor
    m.OnBeforeDrawNeedle = [](QObject*, TCanvas*, bool&) {};   // leaves the flag: needle drawn
    img = Rendered(m);
    EXPECT_GT(CountColor(img, QRect(30, 30, 230, 140), clBlack), 50);
}

TEST(MeterPaint, ShadowIsOffsetUpAndLeft)
{
    TMeter m;
    m.SetScaleVisible(false);
    m.SetValue(0.5);
    m.NeedleLayout()->SetShadowDx(3);
    m.NeedleLayout()->SetShadowDy(3);
    m.NeedleLayout()->SetShadowColor(clRed);
    const QImage img = Rendered(m);
    EXPECT_EQ(PixelAt(img, 145, 100), clRed);
    EXPECT_EQ(PixelAt(img, 145, 17), clRed);     // the shadow's tip: three up, three left
    EXPECT_EQ(PixelAt(img, 148, 100), clBlack);
    EXPECT_EQ(PixelAt(img, 151, 100), clWhite);
}

TEST(MeterPaint, SecondaryNeedleDrawsUnderTheMainOne)
{
    TMeter m;
    m.SetScaleVisible(false);
    m.SetValue(0.5);
    TNeedleLayout* sec = m.NeedleLayoutSec();
    sec->SetColorOutline(clBlue);
    QImage img = Rendered(m);
    EXPECT_FALSE(Near(img, 77, 120, clBlue));   // hidden by default
    sec->SetVisible(true);
    img = Rendered(m);
    EXPECT_TRUE(Near(img, 77, 120, clBlue));    // 100 px out at 135°
    m.SetValueSec(0.5);
    img = Rendered(m);
    EXPECT_EQ(PixelAt(img, 148, 100), clBlack); // the main needle is on top
}

TEST(MeterPaint, HalfDiscAnchorOnAFoot)
{
    TMeter m;
    m.SetColorCover(RGB(10, 20, 30));
    m.SetValue(0.5);
    const QImage img = Rendered(m);
    const TColor cover = RGB(10, 20, 30);
    const int cx = 148, cy = 191, s = 24;
    EXPECT_EQ(PixelAt(img, cx, cy - 10), cover);       // the half disc hides the needle's root
    EXPECT_EQ(PixelAt(img, cx - 10, cy + 4), cover);   // the foot
    EXPECT_EQ(PixelAt(img, cx, 199), cover);           // the bevel is open under the foot
    EXPECT_EQ(PixelAt(img, cx + s - 1, cy + 4), clGray);
    EXPECT_EQ(PixelAt(img, cx - s, cy + 4), clWhite);
    EXPECT_EQ(PixelAt(img, 100, 199), clWhite);
    EXPECT_EQ(PixelAt(img, 200, 199), clWhite);
    EXPECT_EQ(PixelAt(img, cx, cy - s), clWhite);      // top of the half disc's outline
    EXPECT_TRUE(Near(img, cx + 22, cy - 6, clGray));  // the gray arc from 0° to 45°
}

TEST(MeterPaint, DiscAnchorOnWideDials)
{
    TMeter m;
    m.SetMeterLayout(mlCirc300);
    m.SetColorCover(RGB(10, 20, 30));
    m.SetAnchorSize(12);
    const QImage img = Rendered(m);
    const int cx = m.CenterX(), cy = m.CenterY();
    EXPECT_EQ(PixelAt(img, cx, cy), RGB(10, 20, 30));
    EXPECT_EQ(PixelAt(img, cx + 3, cy + 6), RGB(10, 20, 30));
    // Lower-right half shaded dark, upper-left half light.
    EXPECT_GT(CountColor(img, QRect(cx + 3, cy + 3, 10, 10), clGray), 3);
    EXPECT_EQ(CountColor(img, QRect(cx - 12, cy - 12, 10, 10), clGray), 0);
    EXPECT_EQ(PixelAt(img, 150, 199), clWhite);        // full bevel, nothing stands on it
}

TEST(MeterPaint, UncoveredAnchorLeavesTheNeedleRootVisible)
{
    TMeter m;
    m.SetScaleVisible(false);
    m.SetValue(0.5);
    m.NeedleLayout()->SetThickness(6);
    m.NeedleLayout()->SetColorBody(clYellow);
    m.SetAnchorCovered(false);
    const QImage img = Rendered(m);
    EXPECT_EQ(PixelAt(img, 148, 188), clYellow);
}

TEST(MeterPaint, AnchorImageDrawnOpaqueAndMissingFileFallsBack)
{
    TMeter m;
    m.SetValue(0.5);
    const QString blue = SaveImage(QStringLiteral("anchor.bmp"), Solid(9, 7, Qt::blue));
    m.SetAnchorImage(blue);
    EXPECT_EQ(m.AnchorImage(), blue);
    QImage img = Rendered(m);
    EXPECT_EQ(PixelAt(img, 148, 191), clBlue);
    EXPECT_EQ(PixelAt(img, 148 - 4, 191 - 3), clBlue);   // 9 x 7 centred on the centre
    EXPECT_EQ(PixelAt(img, 148 + 4, 191 + 3), clBlue);
    EXPECT_NE(PixelAt(img, 148 + 5, 191 + 4), clBlue);
    EXPECT_EQ(PixelAt(img, 150, 199), clWhite);          // the image variant draws the full bevel

    // A PNG with a transparent corner keeps the dial visible there.
    QImage png(8, 8, QImage::Format_ARGB32);
    png.fill(QColor(255, 0, 0, 255));
    png.setPixelColor(0, 0, QColor(0, 0, 0, 0));
    m.SetScaleVisible(false);
    m.SetAnchorImage(SaveImage(QStringLiteral("anchor.png"), png));
    img = Rendered(m);
    EXPECT_EQ(PixelAt(img, 148, 191), clRed);
    EXPECT_EQ(PixelAt(img, 144, 187), clWhite);

    m.SetAnchorImage(QDir(qortest::ScratchDir()).filePath(QStringLiteral("missing.bmp")));
    EXPECT_TRUE(m.AnchorImage().isEmpty());
    const QString junk = qortest::WriteFile(QDir(qortest::ScratchDir()).filePath(QStringLiteral("junk.png")),
                                            QByteArray("not a picture"));
    m.SetAnchorImage(junk);
    EXPECT_TRUE(m.AnchorImage().isEmpty());
    img = Rendered(m);
    EXPECT_EQ(PixelAt(img, 148, 185), ColorToRGB(clBtnFace));   // the drawn anchor again
}

TEST(MeterPaint, BackgroundImageInItsThreeFillModes)
{
    TMeter m;
    m.SetScaleVisible(false);
    m.NeedleLayout()->SetPercentNeedleLength(0);
    QImage pic(20, 10, QImage::Format_RGB32);
    pic.fill(Qt::red);
    for (int y = 0; y < 10; ++y)
        for (int x = 10; x < 20; ++x)
            pic.setPixelColor(x, y, Qt::blue);
    m.SetBackGroundImg(SaveImage(QStringLiteral("bkg.png"), pic));
    ASSERT_FALSE(m.BackGroundImg().isEmpty());

    QImage img = Rendered(m);   // natural size at the top-left, the rest in ColorBakG
    EXPECT_EQ(PixelAt(img, 12, 9), clBlue);
    EXPECT_EQ(PixelAt(img, 25, 100), clWhite);
    m.SetBkgndFillMode(bfTile);
    img = Rendered(m);
    EXPECT_EQ(PixelAt(img, 25, 100), clRed);
    EXPECT_EQ(PixelAt(img, 30, 100), clBlue);
    EXPECT_EQ(PixelAt(img, 265, 150), clRed);
    m.SetBkgndFillMode(bfStretch);
    img = Rendered(m);
    EXPECT_EQ(PixelAt(img, 40, 100), clRed);
    EXPECT_EQ(PixelAt(img, 260, 100), clBlue);

    m.SetBackGroundImg(QStringLiteral("/no/such/file.bmp"));
    EXPECT_TRUE(m.BackGroundImg().isEmpty());
    img = Rendered(m);
    EXPECT_EQ(PixelAt(img, 40, 100), clWhite);

    // Without a surface there is nothing to tile onto.
    m.SetBackGroundImg(SaveImage(QStringLiteral("bkg.png"), pic));
    m.SetBkgndFillMode(bfTile);
    m.resize(0, 0);
    m.RenderNow();
    m.resize(0, 50);
    m.RenderNow();
}

TEST(MeterPaint, ImagesLoadOnlyWhenLoadingEnds)
{
    TMeter m;
    const QString path = SaveImage(QStringLiteral("late.bmp"), Solid(4, 4, Qt::green));
    m.BeginLoading();
    m.SetBackGroundImg(QStringLiteral("/no/such/file.bmp"));
    m.SetAnchorImage(path);
    EXPECT_EQ(m.BackGroundImg(), QStringLiteral("/no/such/file.bmp"));   // only stored so far
    m.Loaded();
    EXPECT_TRUE(m.BackGroundImg().isEmpty());
    EXPECT_EQ(m.AnchorImage(), path);
    EXPECT_EQ(PixelAt(Rendered(m), 148, 191), clLime);
}

TEST(MeterPaint, RangeBandsFormARingOutsideTheScale)
{
    TMeter m;
    m.SetScaleVisible(false);
    m.NeedleLayout()->SetPercentNeedleLength(0);
    m.SetThresholdLow(0.3);
    m.SetThresholdHigh(0.7);
    m.SetScaleBkVisible(true);
    auto at = [&](const QImage& img, double v, double r) {
        const double th = m.DrawingAngle(v) * 3.14159265358979 / 180;
        return PixelAt(img, int(std::lround(148 + r * std::cos(th))), int(std::lround(191 - r * std::sin(th))));
    };
    QImage img = Rendered(m);
    EXPECT_EQ(at(img, 0.1, 177), clLime);
    EXPECT_EQ(at(img, 0.5, 177), TColor(0x0080FF));
    EXPECT_EQ(at(img, 0.9, 177), clRed);
    EXPECT_EQ(at(img, 0.5, 170), clWhite);   // width 0: only the 4-pixel ring outside R
    m.SetScaleBkWidth(20);
    img = Rendered(m);
    EXPECT_EQ(at(img, 0.1, 150), clLime);
    EXPECT_EQ(at(img, 0.9, 150), clRed);
    EXPECT_EQ(at(img, 0.5, 130), clWhite);
}

TEST(MeterPaint, ScaleLabelsGoThroughTheHook)
{
    TMeter m;
    QStringList labels;
    QList<QPoint> corners;
    m.OnBeforeDrawScaleLabel = [&](QObject*, TCanvas* c, QString& text, int x, int y) {
        labels << text;
        corners << QPoint(x, y);
        if (text == QStringLiteral("0.4"))
            text.clear();   // the handler may suppress a label
    };
    m.RenderNow();
    EXPECT_EQ(labels, QStringList({"0.0", "0.2", "0.4", "0.6", "0.8", "1.0"}));
    // The label of the maximum sits (w/2 + 15, h/2 + 15) inside the radius at 45°.
    TBitmap bmp(10, 10);
    bmp.Canvas()->Font()->Assign(*m.Font());
    const QSize sz = bmp.Canvas()->TextExtent(QStringLiteral("1.0"));
    const double c45 = std::cos(3.14159265358979 / 4);
    const int ax = int(std::nearbyint(148 + (175 - (sz.width() / 2.0 + 15)) * c45));
    const int ay = int(std::nearbyint(191 - (175 - (sz.height() / 2.0 + 15)) * c45));
    EXPECT_EQ(corners.last(), QPoint(ax - sz.width() / 2, ay - sz.height() / 2));

    labels.clear();
    m.SetMeterMaxValue(1000);
    m.SetMeterMinValue(1);
    m.SetLogarithmic(true);
    m.SetMeterDecPlaces(0);
    m.RenderNow();
    EXPECT_EQ(labels, QStringList({"1", "2", "5", "10", "20", "50", "100", "200", "500", "1000"}));

    labels.clear();
    m.SetMeterMaxValue(5);   // under a decade every tick is labelled
    m.RenderNow();
    EXPECT_EQ(labels, QStringList({"1", "2", "3", "4", "5"}));
}

TEST(MeterPaint, FullCircleShowsOneLabelWhereMinimumMeetsMaximum)
{
    TMeter m;
    m.SetMeterLayout(mlCirc360);
    QStringList labels;
    m.OnBeforeDrawScaleLabel = [&](QObject*, TCanvas*, QString& text, int, int) { labels << text; };
    m.RenderNow();
    EXPECT_EQ(labels, QStringList({"0.0", "0.2", "0.4", "0.6", "0.8"}));
    labels.clear();
    m.SetMeterMinValue(0.1);   // the minimum has no tick of its own: the maximum keeps its label
    m.RenderNow();
    EXPECT_EQ(labels, QStringList({"0.2", "0.4", "0.6", "0.8", "1.0"}));
}

TEST(MeterPaint, LogarithmicScaleTicksEveryUnitOfEachDecade)
{
    TMeter m;
    m.SetMeterMaxValue(1000);
    m.SetMeterMinValue(1);
    m.SetLogarithmic(true);
    m.SetMeterShortTicks(false);
    m.SetMeterScaleLine(false);
    m.NeedleLayout()->SetPercentNeedleLength(0);
    const QImage img = Rendered(m);
    for (double v : {3.0, 7.0, 30.0, 900.0}) {
        const double th = m.DrawingAngle(v) * 3.14159265358979 / 180;
        EXPECT_TRUE(Near(img, int(std::lround(148 + 171 * std::cos(th))), int(std::lround(191 - 171 * std::sin(th))),
                         clNavy)) << v;
    }
}

TEST(MeterPaint, CaptionCentredAboveTheCentre)
{
    TMeter m;
    m.SetCaption(QStringLiteral("mA"));
    m.FontCaption()->SetColor(clRed);
    m.FontCaption()->SetSize(14);
    const QImage img = Rendered(m);
    const int cy = 191 - 58;   // Round(175 / 3)
    EXPECT_GT(CountColor(img, QRect(128, cy - 12, 40, 24), clRed), 10);
    EXPECT_EQ(CountColor(img, QRect(20, 20, 100, 60), clRed), 0);
}

TEST(MeterPaint, RenderedHookDrawsOverEverythingButTheFrame)
{
    TMeter m;
    m.OnMeterRendered = [](QObject*, TCanvas* c) {
        c->Brush()->SetColor(clFuchsia);
        c->FillRect(0, 0, 297, 209);
    };
    const QImage img = Rendered(m);
    EXPECT_EQ(PixelAt(img, 148, 191), clFuchsia);
    EXPECT_EQ(PixelAt(img, 274, 21), clFuchsia);
    EXPECT_EQ(PixelAt(img, 0, 0), clWhite);   // the frame comes last
}

TEST(MeterPaint, ReusedDialMatchesAFreshDrawing)
{
    auto setUp = [](TMeter& m) {
        m.SetScaleBkVisible(true);
        m.SetThresholdLow(0.3);
        m.SetThresholdHigh(0.6);
        m.SetCaption(QStringLiteral("A"));
        m.NeedleLayoutSec()->SetVisible(true);
    };
    TMeter warm;
    setUp(warm);
    warm.SetValue(0.1);
    warm.RenderNow();
    warm.SetValue(0.7);          // needle and lamps change, the dial is reused
    warm.SetValueSec(0.4);
    warm.NeedleLayout()->SetThickness(5);
    TMeter fresh;
    setUp(fresh);
    fresh.SetValue(0.7);
    fresh.SetValueSec(0.4);
    fresh.NeedleLayout()->SetThickness(5);
    EXPECT_EQ(Rendered(warm), Rendered(fresh));
    warm.SetThresholdHigh(0.9);  // a setting change draws the dial again
    fresh.SetThresholdHigh(0.9);
    warm.resize(250, 180);
    fresh.resize(250, 180);
    EXPECT_EQ(Rendered(warm), Rendered(fresh));
}

TEST(MeterPaint, TooSmallOrDegenerateMetersPaintNothingAndSurvive)
{
    TMeter m;
    m.resize(40, 30);   // R < 0
    ASSERT_LE(m.Radius(), 0);
    QImage img = Rendered(m);
    EXPECT_EQ(CountColor(img, QRect(0, 0, 40, 30), ColorToRGB(clBtnFace)), 40 * 30);
    m.resize(0, 0);
    m.RenderNow();
    m.resize(297, 209);
    m.SetMeterLayout(mlCirc360);
    m.SetMeterMinValue(-1e300);
    m.SetMeterMaxValue(1e300);
    m.SetValue(3);
    m.RenderNow();
    m.SetMeterMinValue(1e-90);
    m.SetMeterMaxValue(1e300);
    m.SetLogarithmic(true);
    m.RenderNow();   // 390 decades of ticks, bounded
    EXPECT_TRUE(m.Logarithmic());
}

TEST(MeterPaint, RandomSettingsNeverHangOrCrash)
{
    std::mt19937 rng(20261207);
    const double values[] = {0, 1, -1, 1e-120, 1e-100, 0.5, 7, 1e6, -1e300, 1e300, 1e17, 1e17 + 2,
                             std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()};
    auto any = [&] { return values[rng() % std::size(values)]; };
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < 300; ++i) {
        TMeter m;
        m.resize(int(rng() % 400), int(rng() % 300));
        m.SetMeterLayout(TMeterLayout(rng() % 6));
        m.SetRimTop(int(rng() % 40) - 5);
        m.SetRimSide(int(rng() % 40) - 5);
        m.SetMeterNrTicks(int(rng() % 30));
        m.SetMeterDecPlaces(int(rng() % 6));
        m.SetScaleBkVisible(rng() % 2);
        m.SetScaleBkWidth(any());
        m.SetMeterMinValue(any());
        m.SetMeterMaxValue(any());
        m.SetLogarithmic(rng() % 2);
        m.SetThresholdLow(any());
        m.SetThresholdHigh(any());
        m.SetValue(any());
        m.NeedleLayoutSec()->SetVisible(rng() % 2);
        m.SetValueSec(any());
        m.SetAnchorSize(int(rng() % 60) - 10);
        m.NeedleLayout()->SetThickness(int(rng() % 20) - 5);
        m.RenderNow();
        double v = 0;
        m.ConvertPixelToValue(int(rng() % 400), int(rng() % 300), v);
        EXPECT_FALSE(std::isnan(v));
    }
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(20));
}

} // namespace
