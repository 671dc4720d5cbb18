// The on/off button's user pictures: any bytes as the picture file. A file that cannot be read,
// or one whose tiles are not 1 x 1 to 1024 x 1024, raises and leaves the user pictures as they
// were; one that can gives four tiles of half its size. The button paints either way, on and
// off, enabled and disabled, opaque and transparent, wherever the glyph is placed.
#include "fuzz_support.h"

#include <QOR_onoffbut.h>

#include <array>

namespace {

std::array<QImage, 4> UserImages(const qor::TOnOffBut& b)
{
    std::array<QImage, 4> out;
    for (int i = 0; i < 4; ++i)
        out[size_t(i)] = b.UserImage(i).Image().copy();
    return out;
}

void PaintEveryState(qor::TOnOffBut& b)
{
    for (const bool enabled : {true, false}) {
        b.setEnabled(enabled);
        for (const bool on : {false, true}) {
            b.SetOnOff(on);
            b.RenderNow();
        }
    }
    b.setEnabled(true);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::GuiApp();
    fuzz::Input in(data, size);
    const std::uint8_t flags = in.Byte();
    const bool userFirst = flags & 1;      // the user style chosen before or after the load
    const bool transparent = flags & 2;
    const bool autoCenter = flags & 4;
    const int w = in.IntIn(1, 200), h = in.IntIn(1, 200);
    const int left = in.IntIn(-10, 300), top = in.IntIn(-10, 300);
    const QString caption = in.Text(12);
    const QString file = fuzz::ScratchFile(in.RestBytes());

    qor::TOnOffBut b;
    b.resize(w, h);
    b.SetTransparent(transparent);
    b.SetAutoCenter(autoCenter);
    b.SetLeftSpace(left);
    b.SetTopSpace(top);
    b.SetLeftText(caption);
    b.SetBottomText(caption);
    if (userFirst)
        b.SetButtonStyle(qor::oobsUser);
    const auto before = UserImages(b);
    bool loaded = false;
    try {
        b.LoadUserGlyph(file);
        loaded = true;
    } catch (const qor::EInOutError&) {
        // unreadable
    } catch (const qor::EQORError&) {
        // tiles out of size
    }
    const auto after = UserImages(b);
    if (!loaded) {
        FUZZ_CHECK(after == before);
    } else {
        const QSize tile = after[3].size();
        FUZZ_CHECK(tile.width() >= 1 && tile.height() >= 1 && tile.width() <= 1024 && tile.height() <= 1024);
        for (const QImage& img : after)
            FUZZ_CHECK(img.size() == tile);
    }
    if (!userFirst)
        b.SetButtonStyle(qor::oobsUser);
    FUZZ_CHECK(b.GlyphWidth() == after[3].width() && b.GlyphHeight() == after[3].height());
    PaintEveryState(b);
    b.resize(h, w);
    PaintEveryState(b);
    return 0;
}
