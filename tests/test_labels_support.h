// Helpers of the label tests: where ink lies in a picture, and where a text puts its ink
// relative to its TextOut point in a given font.
#pragma once

#include <QOR_Graphics.h>

#include <QImage>
#include <QPalette>
#include <QRect>
#include <QWidget>
#include <functional>

#include <test_support.h>

namespace labeltest {

// The bounding box of the pixels in area for which the predicate holds (empty when none).
inline QRect InkWhere(const QImage& img, const QRect& area, const std::function<bool(qor::TColor)>& ink)
{
    QRect box;
    const QRect r = area.intersected(img.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (ink(qortest::PixelAt(img, x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

// The bounding box of the pixels in area that differ from the background colour.
inline QRect InkBox(const QImage& img, const QRect& area, qor::TColor background)
{
    return InkWhere(img, area, [background](qor::TColor c) { return c != background; });
}

inline int CountColor(const QImage& img, const QRect& area, qor::TColor c)
{
    int n = 0;
    const QRect r = area.intersected(img.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += qortest::PixelAt(img, x, y) == c;
    return n;
}

// The ink of a text drawn with TextOut at (0, 0) in the font (orientation included): the
// same canvas draws the components' texts, so a text drawn at (x, y) puts its ink exactly
// this box moved by (x, y).
inline QRect TextInk(const qor::TFont& font, const QString& s)
{
    constexpr int kAt = 150;
    qor::TBitmap bmp(2 * kAt, 2 * kAt);
    qor::TCanvas* c = bmp.Canvas();
    c->Brush()->SetColor(qor::clWhite);
    c->FillRect(0, 0, 2 * kAt, 2 * kAt);
    c->Font()->Assign(font);
    c->Font()->SetColor(qor::clBlack);
    c->Brush()->SetStyle(qor::bsClear);
    c->TextOut(kAt, kAt, s);
    return InkBox(bmp.Image(), bmp.Image().rect(), qor::clWhite).translated(-kAt, -kAt);
}

inline int TextHeightOf(const qor::TFont& font)
{
    qor::TBitmap bmp(4, 4);
    bmp.Canvas()->Font()->Assign(font);
    return bmp.Canvas()->TextHeight(QStringLiteral("Ag"));
}

inline int TextWidthOf(const qor::TFont& font, const QString& s)
{
    qor::TBitmap bmp(4, 4);
    bmp.Canvas()->Font()->Assign(font);
    return bmp.Canvas()->TextWidth(s);
}

// A parent that fills its background with one colour, for the transparent modes.
inline void FillBackground(QWidget& w, QSize size, qor::TColor c)
{
    w.resize(size);
    QPalette pal = w.palette();
    pal.setColor(QPalette::Window, qor::ToQColor(c));
    w.setPalette(pal);
    w.setAutoFillBackground(true);
}

} // namespace labeltest
