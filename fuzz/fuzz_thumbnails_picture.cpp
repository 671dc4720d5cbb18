// The thumbnails' pictures: any bytes as the picture file a program loads in OnImageRequest and
// hands over, for every slide on screen, with any marker number, any slide geometry, scroll
// position and frame styles, scaled with and without smoothing. The pane paints whatever the
// picture is (none, one pixel wide, far wider than high), asks for every slide it shows, and the
// picture stays inside its slide: the margin around the slide area keeps the background.
#include "fuzz_support.h"

#include <QOR_Thumbnails.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::GuiApp();
    fuzz::Input in(data, size);
    const std::uint8_t flags = in.Byte();
    const int w = in.IntIn(1, 400), h = in.IntIn(1, 400);
    const int slide = in.IntIn(0, 400), margin = in.IntIn(0, 100), distance = in.IntIn(0, 100);
    const int mark = in.AnyInt();
    const double first = in.AnyDouble();
    const std::uint8_t styles = in.Byte();
    const QString file = fuzz::ScratchFile(in.RestBytes());

    qor::TBitmap picture;
    const bool readable = picture.LoadFromFile(file);
    picture.SetTransparent(flags & 2);

    qor::TThumbnails pane;
    pane.resize(w, h);
    pane.SetAntiAlias(flags & 1);
    pane.SetSlideSize(slide);
    pane.SetSlideMargin(margin);
    pane.SetSlideDistance(distance);
    pane.SetMax(50);
    pane.SetFirstThumbIdx(first);
    pane.SetOuterFrameStyle(qor::TFrameStyle(styles % 6));
    pane.SetInnerFrameStyle(qor::TFrameStyle(styles / 6 % 6));
    pane.SetColorBackGnd(qor::clLime);
    int requests = 0;
    pane.OnImageRequest = [&](QObject*, int, qor::TImageRequestProcessing& how, int& markIt, qor::TBitmap& buffer) {
        ++requests;
        how = qor::irpShowSlide;
        markIt = mark;
        if (readable)
            buffer.SetImage(picture.Image());
        buffer.SetTransparent(picture.Transparent());
    };
    pane.RenderNow();
    FUZZ_CHECK(pane.FirstThumbIdx() >= pane.Min() && pane.FirstThumbIdx() <= pane.Max());
    FUZZ_CHECK(requests > 0);   // the first row is always on screen
    // Between the control's frame (x = 0, 1) and the first column of slides (x = 10) nothing
    // is drawn but the background.
    const QImage& img = pane.Surface()->Image();
    const qreal ratio = img.devicePixelRatio();
    for (int y = 10; y < h - 10; y += 7)
        for (int x = 3; x < 10 && x < w - 3; ++x)
            FUZZ_CHECK(img.pixel(int(x * ratio), int(y * ratio)) == 0xFF00FF00u);
    return 0;
}
