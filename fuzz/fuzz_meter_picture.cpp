// Pictures for the meter: any bytes as the background and as the anchor picture, in every fill
// mode; a picture that cannot be read is dropped (its name cleared), one that can is drawn, and
// the meter paints either way.
#include "fuzz_support.h"

#include <QOR_Meter.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::GuiApp();
    fuzz::Input in(data, size);
    const auto fill = qor::TBkgFill(in.Byte() % 3);
    const bool anchor = in.Bool();
    const int w = in.IntIn(1, 120), h = in.IntIn(1, 120);
    const QString file = fuzz::ScratchFile(in.RestBytes());

    qor::TMeter meter;
    meter.resize(w, h);
    meter.SetBkgndFillMode(fill);
    if (anchor)
        meter.SetAnchorImage(file);
    else
        meter.SetBackGroundImg(file);
    const QString kept = anchor ? meter.AnchorImage() : meter.BackGroundImg();
    FUZZ_CHECK(kept.isEmpty() || kept == file);
    meter.RenderNow();
    meter.resize(h, w);
    meter.SetValue(meter.MeterMaxValue());
    meter.RenderNow();
    return 0;
}
