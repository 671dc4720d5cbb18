// Colour helpers: the mean of two colours and the table of predefined colours with names.
#pragma once

#include <QOR_Graphics.h>

namespace qor {

// The colour halfway between c1 and c2: each of red, green and blue is the mean of the two,
// rounded up at .5, so MeanColor(a, b) == MeanColor(b, a). System colours are resolved through
// the application palette first; the result is a plain $00BBGGRR colour.
KORVANE_EXPORT TColor MeanColor(TColor c1, TColor c2);

// A colour with its identifier, an entry of the predefined-colour table.
struct TPredefinedColor {
    TColor Color;  // the colour value (a system colour for entries 20..46)
    const char* Name;   // identifier, "clRed"
};
// 47 colours, Index 0..46:
//    0..15  the 16 basic VGA colours (clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple,
//           clTeal, clGray, clSilver, clRed, clLime, clYellow, clBlue, clFuchsia, clAqua, clWhite)
//   16..19  4 extended ones (clMoneyGreen, clSkyBlue, clCream, clMedGray)
//   20..46  27 system colours (clScrollBar .. clInfoBk in index order, clGradientActiveCaption,
//           clGradientInactiveCaption)
// Each name is the colour's identifier as ColorToString gives it. An Index outside 0..46 gives
// an entry with colour clNone and an empty name.
constexpr int NumPredefinedColors = 47;
// The entry Index of the table described at NumPredefinedColors; the clNone entry with an
// empty name outside 0..46.
KORVANE_EXPORT const TPredefinedColor& PredefinedColors(int Index);

} // namespace qor
