// Shared helpers of the raster label tests.
#pragma once

#include <QOR_RasterLab.h>

#include "test_support.h"

#include <QImage>
#include <QRect>

namespace rltest {

// The label's surface after a fresh paint.
inline QImage Rendered(qor::TRasterLab& lab)
{
    lab.RenderNow();
    return lab.Surface()->Image().copy();
}

inline int CountColor(const QImage& img, const QRect& r, qor::TColor c)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += qortest::PixelAt(img, x, y) == c;
    return n;
}

inline int CountColor(const QImage& img, qor::TColor c) { return CountColor(img, img.rect(), c); }

// A label without frame in easily told colours: lit dots lime, unlit dots blue, background black.
inline void Plain(qor::TRasterLab& lab, int w, int h, const QString& text)
{
    lab.resize(w, h);
    lab.SetFrameStyle(qor::fsNone);
    lab.SetColorDotOn(qor::clLime);
    lab.SetColorDotOff(qor::clBlue);
    lab.SetColorLabBakG(qor::clBlack);
    lab.SetText(text);
}

} // namespace rltest
