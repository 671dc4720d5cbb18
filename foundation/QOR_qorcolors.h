// Colour helpers: the mean of two colours and the table of predefined colours with names.
#pragma once

#include <QOR_Graphics.h>

namespace qor {

// The colour halfway between c1 and c2 (system colours resolved first).
KORVANE_EXPORT TColor MeanColor(TColor c1, TColor c2);

struct TPredefinedColor {
    TColor Color;
    const char* Name;   // identifier, "clRed"
};
// 47 colours: the 16 basic VGA colours, 4 extended ones (clMoneyGreen, clSkyBlue, clCream,
// clMedGray) and 27 system colours (clScrollBar .. clInfoBk, clGradientActiveCaption,
// clGradientInactiveCaption).
constexpr int NumPredefinedColors = 47;
KORVANE_EXPORT const TPredefinedColor& PredefinedColors(int Index);

} // namespace qor
