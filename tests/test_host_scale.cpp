// The surface covers every device pixel of the widget at any device pixel ratio. CTest runs
// this program once as it is and once at each of the scale factors 1.25, 1.5 and 1.75
// (QT_SCALE_FACTOR), where the last logical column and row end inside a device pixel.
#include <gtest/gtest.h>

#include <QOR_ProgBar.h>
#include <QOR_RotLab.h>
#include <QOR_gradfl.h>

#include "test_support.h"

#include <QApplication>
#include <QPixmap>

#include <cmath>

using namespace qor;

namespace {

constexpr TColor kFill = RGB(0x30, 0x90, 0x60);

// Every device pixel of a grab in one colour; the first one that is not, in the message.
::testing::AssertionResult Uniform(QWidget& w, TColor colour)
{
    const QImage img = w.grab().toImage();
    const qreal dpr = w.devicePixelRatioF();
    if (img.width() < int(w.width() * dpr) || img.height() < int(w.height() * dpr))
        return ::testing::AssertionFailure() << "grab of " << img.width() << " x " << img.height();
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qortest::PixelAt(img, x, y) != colour)
                return ::testing::AssertionFailure() << "device pixel (" << x << ", " << y << ") of "
                                                     << img.width() << " x " << img.height() << " is "
                                                     << std::hex << qortest::PixelAt(img, x, y);
    return ::testing::AssertionSuccess();
}

TEST(HostScale, TheRatioIsTheOneAskedFor)
{
    const QByteArray asked = qgetenv("QT_SCALE_FACTOR");
    const double want = asked.isEmpty() ? 1.0 : asked.toDouble();
    EXPECT_DOUBLE_EQ(qApp->devicePixelRatio(), want);
}

TEST(HostScale, TheSurfaceCoversTheLastDeviceColumnAndRow)
{
    TGradFill fill;
    fill.SetNrColors(1);
    fill.SetColorFirst(kFill);
    TProgBar bar;
    bar.SetColorMargin(kFill);
    bar.SetColorBackGnd(kFill);
    bar.SetFrameStyleInner(fsNone);
    bar.SetFrameStyleOuter(fsNone);
    bar.SetValue(0);
    bar.SetTextVisible(false);
    TRotLab label;   // opaque, no caption, no frame
    label.SetTransparent(false);
    label.SetFrameStyle(fsNone);
    label.SetColor(kFill);
    for (QWidget* w : {static_cast<QWidget*>(&fill), static_cast<QWidget*>(&bar), static_cast<QWidget*>(&label)}) {
        for (QSize size : {QSize(101, 51), QSize(100, 50), QSize(7, 3)}) {
            w->resize(size);
            EXPECT_TRUE(Uniform(*w, kFill)) << w->metaObject()->className() << " " << size.width() << " x "
                                            << size.height();
        }
    }
}

TEST(HostScale, TheSurfaceHoldsTheWholeWidgetInDevicePixels)
{
    TGradFill fill;
    fill.resize(101, 51);
    fill.RenderNow();
    const qreal dpr = fill.devicePixelRatioF();
    const QImage& img = fill.Surface()->Image();
    EXPECT_EQ(img.width(), int(std::ceil(101 * dpr - 1e-6)));
    EXPECT_EQ(img.height(), int(std::ceil(51 * dpr - 1e-6)));
    // The canvas still measures the widget in logical pixels.
    EXPECT_EQ(fill.Canvas()->Width(), 101);
    EXPECT_EQ(fill.Canvas()->Height(), 51);
}

} // namespace
