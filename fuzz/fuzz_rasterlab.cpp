// The raster label's text and font: any text (every code point, broken surrogates included),
// any font name, size and style scanned into a dot font, any dot font handed over directly, any
// geometry and scrolling; the label lays out, scrolls and paints without a crash, and a dot font
// handed over is kept within its limits.
#include "fuzz_support.h"

#include <QOR_RasterLab.h>

#include <cstring>

namespace {

qor::TRDCharMatrix FuzzedMatrix(fuzz::Input& in)
{
    qor::TRDCharMatrix m;
    m.FontWidth = in.AnyInt();
    m.FontHeight = in.AnyInt();
    const QByteArray bits = in.RestBytes();
    // The rest of the input spreads over the per-character columns and rows.
    for (qsizetype i = 0; i < bits.size(); ++i) {
        const auto slot = std::size_t(std::uint8_t(bits[i]));
        m.LeftMostBit[slot] = std::uint8_t(bits[(i + 1) % bits.size()]);
        m.RightMostBit[slot] = std::uint8_t(bits[(i + 2) % bits.size()]);
        m.BitData[slot][std::size_t(i % 32)] ^= 0x9E3779B9u * std::uint32_t(i + 1);
    }
    return m;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::GuiApp();
    fuzz::Input in(data, size);
    qor::TRasterLab lab;
    lab.resize(in.IntIn(0, 200), in.IntIn(0, 80));
    lab.SetDotSize(in.AnyInt());
    lab.SetDotSpacing(in.AnyInt());
    lab.SetPosX(in.Bool() ? in.AnyInt() : in.IntIn(-50, 50));
    lab.SetPosY(in.Bool() ? in.AnyInt() : in.IntIn(-50, 50));
    lab.SetProportional(in.Bool());
    lab.SetCharBlockMode(qor::TRDBlockMode(in.Byte() % 3));
    lab.SetFrameStyle(qor::TFrameStyle(in.Byte() % 8));
    lab.SetAutoHeight(in.Bool());
    lab.SetAutoCenter(in.Bool());
    lab.SetScrollIncrement(in.AnyInt());
    lab.SetScrollLoop(in.Bool());
    const auto scroll = qor::TRDScrollMode(in.Byte() % 6);
    // The text: UTF-16 units straight from the input, so lone surrogates occur too.
    QString text;
    for (int n = in.IntIn(0, 40); n > 0; --n)
        text.append(QChar(char16_t(in.Byte() | (in.Byte() << 8))));
    lab.SetText(text);
    // Scanning a font renders 224 characters: one input in eight does it, so the search keeps
    // its pace on the text and the geometry.
    switch (in.Byte() % 8) {
    case 0: {
        qor::TFont* f = lab.Font();
        f->SetName(in.Text(16));
        f->SetSize(in.Bool() ? in.AnyInt() : in.IntIn(-40, 40));
        f->SetStyle(qor::TFontStyles::FromBits(std::uint8_t(in.Byte() & 15)));
        break;
    }
    case 1: {
        const qor::TRDCharMatrix m = FuzzedMatrix(in);
        lab.SetCharMatrix(m);
        const qor::TRDCharMatrix& kept = lab.CharMatrix();
        FUZZ_CHECK(kept.FontWidth >= 0 && kept.FontWidth <= 32 && kept.FontHeight >= 0 && kept.FontHeight <= 32);
        for (int s = 0; s < 256; ++s)
            FUZZ_CHECK(kept.LeftMostBit[std::size_t(s)] <= 31 && kept.RightMostBit[std::size_t(s)] <= 31);
        break;
    }
    default:
        break;
    }
    lab.TextLength();
    lab.RenderNow();
    lab.SetScrollMode(scroll);
    for (int i = 0; i < 8; ++i)
        lab.ScrollTimer()->Tick();
    lab.RenderNow();
    return 0;
}
