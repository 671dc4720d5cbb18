// On/off button pictures and drawing: the 23 picture sets at their sizes and tiles, the user
// pictures, glyph centring and spaces, the glyph, background and frame, the captions on four
// sides in every alignment, the disabled look, transparency and a ratio-2 screen.
#include <gtest/gtest.h>

#include <QOR_onoffbut.h>
#include "test_labels_support.h"
#include "test_support.h"

#include <QDir>
#include <QImage>

using namespace qor;
using qortest::PixelAt;

namespace {

constexpr QRgb Key = 0xFFEBBEEB;

QImage Rendered(TOnOffBut& b)
{
    b.RenderNow();
    return b.Surface()->Image();
}

// A button with a plain background, a plain frame and black captions.
void Plain(TOnOffBut& b)
{
    b.SetColorBackgnd(clWhite);
    b.SetColorText(clBlack);
    b.SetFrameStyle(fsNone);
}

struct SetSize {
    TOnOffButStyle Style;
    int Width, Height;
};
const SetSize kSets[] = {
    {oobsCheckbox, 32, 32},     {oobsRadioBut, 28, 28},     {oobsSlideTB, 36, 60},
    {oobsSlideLR, 60, 36},      {oobsColSlideTB, 36, 60},   {oobsColSlideLR, 60, 36},
    {oobsLedRedGreen, 28, 28},  {oobsArrowTopRgt, 50, 50},  {oobsArrowUpDown, 50, 50},
    {oobsArrowLeftRight, 50, 50}, {oobsTrafficLPed, 62, 62}, {oobsBeveledLed, 34, 34},
    {oobsSmileyYellow, 36, 36}, {oobsSmileyRedGrn, 36, 36}, {oobsBulb, 78, 98},
    {oobsButLamp, 98, 48},      {oobsHDLeft, 96, 32},       {oobsHDRight, 96, 32},
    {oobsUser1, 48, 48},        {oobsUser2, 48, 48},        {oobsUser3, 48, 48},
    {oobsUser4, 48, 48},        {oobsUser5, 48, 48},
};

TEST(OnOffButPictures, EveryPictureSetLoadsAtItsSizeInItsFourTiles)
{
    ASSERT_EQ(std::size(kSets), 23u);
    TOnOffBut b;
    for (const SetSize& s : kSets) {
        SCOPED_TRACE(OnOffButResourceName(s.Style).toStdString());
        TBitmap set;
        ASSERT_TRUE(set.LoadFromResourceName(OnOffButResourceName(s.Style)));
        EXPECT_EQ(set.Width(), s.Width);
        EXPECT_EQ(set.Height(), s.Height);
        b.SetButtonStyle(s.Style);
        const int w = s.Width / 2, h = s.Height / 2;
        EXPECT_EQ(b.GlyphWidth(), w);
        EXPECT_EQ(b.GlyphHeight(), h);
        EXPECT_EQ(b.LeftSpace(), (100 - w) / 2);
        EXPECT_EQ(b.TopSpace(), (50 - h) / 2);
        const QImage& all = set.Image();
        EXPECT_EQ(b.ButtonImage(3).Image(), all.copy(0, 0, w, h));   // on, enabled
        EXPECT_EQ(b.ButtonImage(1).Image(), all.copy(w, 0, w, h));   // off, enabled
        EXPECT_EQ(b.ButtonImage(2).Image(), all.copy(0, h, w, h));   // on, disabled
        EXPECT_EQ(b.ButtonImage(0).Image(), all.copy(w, h, w, h));   // off, disabled
        // Transparent around the picture, and never blended into the key colour.
        int keys = 0, fringe = 0;
        for (int y = 0; y < s.Height; ++y)
            for (int x = 0; x < s.Width; ++x) {
                const QRgb c = all.pixel(x, y) | 0xFF000000;
                if (c == Key)
                    ++keys;
                else if (qRed(c) - qGreen(c) > 30 && qBlue(c) - qGreen(c) > 30 && std::abs(qRed(c) - qBlue(c)) < 40)
                    ++fringe;   // tinted like the key colour: blended into it
            }
        EXPECT_GT(keys, 0);
        EXPECT_EQ(fringe, 0);
        // The four pictures differ: on from off, enabled from disabled.
        EXPECT_NE(b.ButtonImage(3).Image(), b.ButtonImage(1).Image());
        EXPECT_NE(b.ButtonImage(3).Image(), b.ButtonImage(2).Image());
    }
}

TEST(OnOffButPictures, DefaultsAndTheCentredGlyphFromConstruction)
{
    TOnOffBut b;   // no parent
    EXPECT_EQ(b.size(), QSize(100, 50));
    EXPECT_EQ(b.ButtonStyle(), oobsColSlideLR);
    EXPECT_EQ(b.GlyphWidth(), 30);
    EXPECT_EQ(b.GlyphHeight(), 18);
    EXPECT_EQ(b.LeftSpace(), 35);
    EXPECT_EQ(b.TopSpace(), 16);
    EXPECT_TRUE(b.AutoCenter());
    EXPECT_TRUE(b.AllowAllOff());
    EXPECT_TRUE(b.OnOff());
    EXPECT_EQ(b.LeftTextAlignment(), taRightJustify);
    EXPECT_EQ(b.RightTextAlignment(), taLeftJustify);
    EXPECT_EQ(b.TopTextAlignment(), taCenter);
    EXPECT_EQ(b.BottomTextAlignment(), taCenter);
    EXPECT_EQ(b.FrameStyle(), fsLowered);
    EXPECT_EQ(b.MouseAction(), oomaFocused);
    EXPECT_EQ(b.Mode(), oobmNormalBut);
    EXPECT_EQ(b.ColorBackgnd(), clBtnFace);
    EXPECT_EQ(b.ColorText(), clBlack);
    EXPECT_EQ(b.ColorScheme(), csGrayWhite);
    EXPECT_EQ(b.GroupIndex(), 0);
    EXPECT_FALSE(b.Transparent());
    EXPECT_TRUE(b.OnResize);
}

TEST(OnOffButPictures, SpacesFollowTheSizeUnlessAutoCenterIsOffOrTheResizeHandlerReplaced)
{
    TOnOffBut b;
    b.resize(200, 80);
    b.show();
    EXPECT_EQ(b.LeftSpace(), 85);
    EXPECT_EQ(b.TopSpace(), 31);
    b.SetLeftSpace(3);   // ignored under AutoCenter
    EXPECT_EQ(b.LeftSpace(), 85);

    b.SetAutoCenter(false);
    b.SetLeftSpace(3);
    b.SetTopSpace(4);
    EXPECT_EQ(b.LeftSpace(), 3);
    EXPECT_EQ(b.TopSpace(), 4);
    b.SetLeftSpace(-1);
    b.SetTopSpace(-7);
    EXPECT_EQ(b.LeftSpace(), 3);
    EXPECT_EQ(b.TopSpace(), 4);
    b.SetLeftSpace(5000);
    b.SetTopSpace(5000);
    EXPECT_EQ(b.LeftSpace(), 200);
    EXPECT_EQ(b.TopSpace(), 80);
    b.SetAutoCenter(true);
    EXPECT_EQ(b.LeftSpace(), 85);

    // A handler of the program's replaces the centring.
    int resizes = 0;
    b.OnResize = [&](QObject*) { ++resizes; };
    b.resize(120, 60);
    QCoreApplication::processEvents();
    EXPECT_EQ(resizes, 1);
    EXPECT_EQ(b.LeftSpace(), 85);
}

TEST(OnOffButPictures, UserPicturesStartDrawnAndComeFromATileBitmapOrFile)
{
    TOnOffBut b;
    const QImage cross = b.UserImage(1).Image();
    ASSERT_EQ(cross.size(), QSize(20, 20));
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(PixelAt(cross, i, i), clBlack) << i;
    EXPECT_EQ(PixelAt(cross, 10, 10), clBlack);
    EXPECT_EQ(PixelAt(cross, 19, 1), clBlack);
    EXPECT_EQ(PixelAt(cross, 5, 10), clWhite);
    const QImage ring = b.UserImage(3).Image();
    EXPECT_EQ(PixelAt(ring, 10, 5), clBlack);
    EXPECT_EQ(PixelAt(ring, 10, 10), clWhite);
    EXPECT_EQ(PixelAt(ring, 2, 2), clWhite);
    for (int i : {0, 2}) {
        QImage blank(20, 20, QImage::Format_RGB32);
        blank.fill(Qt::white);
        EXPECT_EQ(b.UserImage(i).Image(), blank);
    }

    // oobsUser shows them at their own size.
    b.SetButtonStyle(oobsUser);
    EXPECT_EQ(b.GlyphWidth(), 20);
    EXPECT_EQ(b.LeftSpace(), 40);
    EXPECT_EQ(b.ButtonImage(1).Image(), cross);

    // A tile bitmap of 2 x 2 pictures of 10 x 6, each its own colour.
    TBitmap tiles(20, 12);
    const TColor colours[4] = {clRed, clLime, clBlue, clYellow};   // top-left, top-right, bottom-left, bottom-right
    for (int k = 0; k < 4; ++k) {
        tiles.Canvas()->Brush()->SetColor(colours[k]);
        tiles.Canvas()->FillRect(10 * (k % 2), 6 * (k / 2), 10 * (k % 2) + 10, 6 * (k / 2) + 6);
    }
    b.SetUserGlyph(tiles);
    EXPECT_EQ(b.GlyphWidth(), 10);
    EXPECT_EQ(b.GlyphHeight(), 6);
    EXPECT_EQ(b.LeftSpace(), 45);
    EXPECT_EQ(PixelAt(b.ButtonImage(3).Image(), 0, 0), clRed);
    EXPECT_EQ(PixelAt(b.ButtonImage(1).Image(), 0, 0), clLime);
    EXPECT_EQ(PixelAt(b.ButtonImage(2).Image(), 0, 0), clBlue);
    EXPECT_EQ(PixelAt(b.ButtonImage(0).Image(), 0, 0), clYellow);

    // Bad input changes nothing and says why.
    const QImage before = b.UserImage(3).Image();
    EXPECT_THROW(b.SetUserGlyph(TBitmap()), EQORError);
    EXPECT_THROW(b.SetUserGlyph(TBitmap(1, 40)), EQORError);
    EXPECT_THROW(b.SetUserGlyph(TBitmap(4000, 10)), EQORError);
    EXPECT_THROW(b.LoadUserGlyph(QDir(qortest::ScratchDir()).filePath(QStringLiteral("missing.bmp"))), EInOutError);
    const QString junk = qortest::WriteFile(QDir(qortest::ScratchDir()).filePath(QStringLiteral("junk.bmp")), "BM not a bitmap");
    EXPECT_THROW(b.LoadUserGlyph(junk), EInOutError);
    EXPECT_EQ(b.UserImage(3).Image(), before);
    EXPECT_EQ(b.GlyphWidth(), 10);

    // From a file, with a built-in set shown: the set stays in use.
    b.SetButtonStyle(oobsCheckbox);
    const QString file = QDir(qortest::ScratchDir()).filePath(QStringLiteral("user.bmp"));
    ASSERT_TRUE(TBitmap(44, 30).SaveToFile(file));
    b.LoadUserGlyph(file);
    EXPECT_EQ(b.UserImage(0).Width(), 22);
    EXPECT_EQ(b.GlyphWidth(), 16);
}

TEST(OnOffButPaint, GlyphBackgroundAndFrameAtTheirPixels)
{
    TOnOffBut b;
    b.SetColorBackgnd(0x102030);
    const QImage img = Rendered(b);
    const int LS = b.LeftSpace(), TS = b.TopSpace();
    const QImage& pic = b.ButtonImage(3).Image();   // on, enabled
    for (int y = 0; y < pic.height(); ++y)
        for (int x = 0; x < pic.width(); ++x) {
            const bool key = (pic.pixel(x, y) | 0xFF000000) == Key;
            ASSERT_EQ(PixelAt(img, LS + 1 + x, TS + 1 + y), key ? 0x102030 : PixelAt(pic, x, y)) << x << "," << y;
        }
    EXPECT_EQ(PixelAt(img, 10, 10), 0x102030);
    EXPECT_EQ(PixelAt(img, LS, TS), 0x102030);   // the glyph starts one pixel in
    // fsLowered on (0, 0, 99, 49) in the fixed colours.
    EXPECT_EQ(PixelAt(img, 0, 0), clGray);
    EXPECT_EQ(PixelAt(img, 99, 49), clWhite);
    EXPECT_EQ(PixelAt(img, 1, 1), clBlack);
    EXPECT_EQ(PixelAt(img, 98, 48), clSilver);
    EXPECT_EQ(PixelAt(img, 2, 2), 0x102030);

    // Off shows picture 1; the line colours of a scheme are not drawn.
    b.SetOnOff(false);
    b.SetColorScheme(csSystemColors);
    EXPECT_EQ(b.ColGrayLine(), clBtnShadow);
    const QImage off = Rendered(b);
    const QImage& pic1 = b.ButtonImage(1).Image();
    EXPECT_EQ(PixelAt(off, LS + 1 + pic1.width() / 2, TS + 1 + pic1.height() / 2),
              PixelAt(pic1, pic1.width() / 2, pic1.height() / 2));
    EXPECT_EQ(PixelAt(off, 0, 0), clGray);
}

TEST(OnOffButPaint, CaptionsOnFourSidesInEveryAlignment)
{
    TOnOffBut b;
    Plain(b);
    b.resize(240, 120);
    const TFont& font = *b.Font();
    const int th = labeltest::TextHeightOf(font);
    const int LS = b.LeftSpace(), TS = b.TopSpace(), GW = b.GlyphWidth(), GH = b.GlyphHeight(), W = 240;
    const QString s = QStringLiteral("Ab");
    const int tw = labeltest::TextWidthOf(font, s);
    const QRect ink = labeltest::TextInk(font, s);
    struct Case {
        void (TOnOffBut::*SetText)(const QString&);
        void (TOnOffBut::*SetAlign)(TAlignment);
        TAlignment Align;
        QPoint At;
    };
    const int sideY = TS + (GH - th) / 2, topY = TS - th - 4, bottomY = TS + GH + 4;
    const Case cases[] = {
        {&TOnOffBut::SetLeftText, &TOnOffBut::SetLeftTextAlignment, taLeftJustify, {4, sideY}},
        {&TOnOffBut::SetLeftText, &TOnOffBut::SetLeftTextAlignment, taRightJustify, {LS - tw - 3, sideY}},
        {&TOnOffBut::SetLeftText, &TOnOffBut::SetLeftTextAlignment, taCenter, {(LS - tw) / 2, sideY}},
        {&TOnOffBut::SetRightText, &TOnOffBut::SetRightTextAlignment, taLeftJustify, {LS + GW + 4, sideY}},
        {&TOnOffBut::SetRightText, &TOnOffBut::SetRightTextAlignment, taRightJustify, {W - tw - 4, sideY}},
        {&TOnOffBut::SetRightText, &TOnOffBut::SetRightTextAlignment, taCenter,
         {(W - tw - LS - GW) / 2 + LS + GW + 1, sideY}},
        {&TOnOffBut::SetTopText, &TOnOffBut::SetTopTextAlignment, taLeftJustify, {4, topY}},
        {&TOnOffBut::SetTopText, &TOnOffBut::SetTopTextAlignment, taRightJustify, {W - tw - 4, topY}},
        {&TOnOffBut::SetTopText, &TOnOffBut::SetTopTextAlignment, taCenter, {LS + (GW - tw) / 2, topY}},
        {&TOnOffBut::SetBottomText, &TOnOffBut::SetBottomTextAlignment, taLeftJustify, {4, bottomY}},
        {&TOnOffBut::SetBottomText, &TOnOffBut::SetBottomTextAlignment, taRightJustify, {W - tw - 4, bottomY}},
        {&TOnOffBut::SetBottomText, &TOnOffBut::SetBottomTextAlignment, taCenter, {LS + (GW - tw) / 2, bottomY}},
    };
    int k = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(k++);
        for (auto set : {&TOnOffBut::SetLeftText, &TOnOffBut::SetRightText, &TOnOffBut::SetTopText, &TOnOffBut::SetBottomText})
            (b.*set)(QString());
        (b.*c.SetText)(s);
        (b.*c.SetAlign)(c.Align);
        const QImage img = Rendered(b);
        const QRect glyph(LS + 1, TS + 1, GW, GH);
        QImage captionOnly = img;
        for (int y = glyph.top(); y <= glyph.bottom(); ++y)
            for (int x = glyph.left(); x <= glyph.right(); ++x)
                captionOnly.setPixel(x, y, 0xFFFFFFFF);
        EXPECT_EQ(labeltest::InkBox(captionOnly, captionOnly.rect(), clWhite), ink.translated(c.At));
    }
}

TEST(OnOffButPaint, ADisabledButtonShowsItsDisabledPicturesAndEmbossedCaptions)
{
    TOnOffBut b;
    Plain(b);
    b.SetColorBackgnd(clSilver);
    b.SetColorText(clBlack);
    b.resize(200, 60);
    b.SetLeftText(QStringLiteral("Off"));
    b.setEnabled(false);
    for (bool on : {true, false}) {
        b.SetOnOff(on);
        const QImage img = Rendered(b);
        const QImage& pic = b.ButtonImage(on ? 2 : 0).Image();
        const int x = pic.width() / 2, y = pic.height() / 2;
        EXPECT_EQ(PixelAt(img, b.LeftSpace() + 1 + x, b.TopSpace() + 1 + y), PixelAt(pic, x, y));
    }
    const QImage img = Rendered(b);
    const int th = labeltest::TextHeightOf(*b.Font());
    const int tw = labeltest::TextWidthOf(*b.Font(), QStringLiteral("Off"));
    const QPoint at(b.LeftSpace() - tw - 3, b.TopSpace() + (b.GlyphHeight() - th) / 2);
    const QRect ink = labeltest::TextInk(*b.Font(), QStringLiteral("Off")).translated(at);
    // Grey at the text's place over a white copy one pixel right and down: no text colour.
    const QRect area = ink.adjusted(-2, -2, 3, 3);
    EXPECT_EQ(labeltest::InkBox(img, area, clSilver), ink.adjusted(0, 0, 1, 1));
    EXPECT_GT(labeltest::CountColor(img, area, clWhite), 0);
    EXPECT_GT(labeltest::InkWhere(img, area, [](TColor c) { return GetRValue(c) <= 0x90; }).width(), 0);
    EXPECT_TRUE(labeltest::InkWhere(img, area, [](TColor c) { return GetRValue(c) < 0x70; }).isEmpty());
}

TEST(OnOffButPaint, ATransparentButtonShowsItsParentAroundCaptionGlyphAndFrame)
{
    QWidget parent;
    labeltest::FillBackground(parent, QSize(140, 80), clNavy);
    auto* b = new TOnOffBut(&parent);
    b->move(10, 10);
    b->SetTransparent(true);
    b->SetColorText(clYellow);
    b->SetLeftText(QStringLiteral("Go"));
    parent.show();
    const QImage img = qortest::Render(&parent);
    const int LS = b->LeftSpace(), TS = b->TopSpace();
    EXPECT_EQ(PixelAt(img, 10 + 50, 10 + 45), clNavy);      // background: see-through
    EXPECT_EQ(PixelAt(img, 10 + 0, 10 + 0), clGray);        // the frame is drawn
    const QImage& pic = b->ButtonImage(3).Image();
    int keys = 0;
    for (int y = 0; y < pic.height(); ++y)
        for (int x = 0; x < pic.width(); ++x) {
            const bool key = (pic.pixel(x, y) | 0xFF000000) == Key;
            keys += key;
            ASSERT_EQ(PixelAt(img, 10 + LS + 1 + x, 10 + TS + 1 + y), key ? clNavy : PixelAt(pic, x, y)) << x << "," << y;
        }
    EXPECT_GT(keys, 0);
    const int th = labeltest::TextHeightOf(*b->Font());
    const int tw = labeltest::TextWidthOf(*b->Font(), QStringLiteral("Go"));
    const QRect ink = labeltest::TextInk(*b->Font(), QStringLiteral("Go"))
                          .translated(10 + LS - tw - 3, 10 + TS + (b->GlyphHeight() - th) / 2);
    EXPECT_GT(labeltest::CountColor(img, ink, clYellow), 0);
    EXPECT_EQ(labeltest::InkBox(img, ink.adjusted(-2, -2, 2, 2), clNavy).isEmpty(), false);
    EXPECT_TRUE(ink.adjusted(-1, -1, 1, 1).contains(labeltest::InkBox(img, ink.adjusted(-3, -3, 3, 3), clNavy)));
}

TEST(OnOffButPaint, AtRatioTwoTheGlyphIsCrisp)
{
    TOnOffBut b;
    b.SetFrameStyle(fsNone);
    b.SetColorBackgnd(clWhite);
    const QImage img = Rendered(b);
    const qreal dpr = b.devicePixelRatioF();
    ASSERT_EQ(img.devicePixelRatio(), dpr);
    const int r = int(dpr);
    if (r * dpr != dpr * dpr || r < 1)
        GTEST_SKIP() << "fractional ratio";
    // Every logical pixel of the glyph is r x r device pixels of the picture's colour.
    const QImage& pic = b.ButtonImage(3).Image();
    const int LS = b.LeftSpace(), TS = b.TopSpace();
    for (int y = 0; y < pic.height(); ++y)
        for (int x = 0; x < pic.width(); ++x) {
            const bool key = (pic.pixel(x, y) | 0xFF000000) == Key;
            const TColor want = key ? clWhite : PixelAt(pic, x, y);
            for (int dy = 0; dy < r; ++dy)
                for (int dx = 0; dx < r; ++dx)
                    ASSERT_EQ(PixelAt(img, (LS + 1 + x) * r + dx, (TS + 1 + y) * r + dy), want) << x << "," << y;
        }
}

} // namespace
