#include "QOR_qorcolors.h"

#include <array>

namespace qor {

TColor MeanColor(TColor c1, TColor c2)
{
    const TColor a = ColorToRGB(c1);
    const TColor b = ColorToRGB(c2);
    auto mean = [](int x, int y) { return (x + y + 1) / 2; };
    return RGB(mean(GetRValue(a), GetRValue(b)), mean(GetGValue(a), GetGValue(b)),
               mean(GetBValue(a), GetBValue(b)));
}

namespace {

#define QOR_COLOR(c) TPredefinedColor{c, #c}
constexpr std::array<TPredefinedColor, NumPredefinedColors> kPredefined{{
    // basic VGA colours
    QOR_COLOR(clBlack), QOR_COLOR(clMaroon), QOR_COLOR(clGreen), QOR_COLOR(clOlive),
    QOR_COLOR(clNavy), QOR_COLOR(clPurple), QOR_COLOR(clTeal), QOR_COLOR(clGray),
    QOR_COLOR(clSilver), QOR_COLOR(clRed), QOR_COLOR(clLime), QOR_COLOR(clYellow),
    QOR_COLOR(clBlue), QOR_COLOR(clFuchsia), QOR_COLOR(clAqua), QOR_COLOR(clWhite),
    // extended colours
    QOR_COLOR(clMoneyGreen), QOR_COLOR(clSkyBlue), QOR_COLOR(clCream), QOR_COLOR(clMedGray),
    // system colours
    QOR_COLOR(clScrollBar), QOR_COLOR(clBackground), QOR_COLOR(clActiveCaption),
    QOR_COLOR(clInactiveCaption), QOR_COLOR(clMenu), QOR_COLOR(clWindow), QOR_COLOR(clWindowFrame),
    QOR_COLOR(clMenuText), QOR_COLOR(clWindowText), QOR_COLOR(clCaptionText),
    QOR_COLOR(clActiveBorder), QOR_COLOR(clInactiveBorder), QOR_COLOR(clAppWorkSpace),
    QOR_COLOR(clHighlight), QOR_COLOR(clHighlightText), QOR_COLOR(clBtnFace), QOR_COLOR(clBtnShadow),
    QOR_COLOR(clGrayText), QOR_COLOR(clBtnText), QOR_COLOR(clInactiveCaptionText),
    QOR_COLOR(clBtnHighlight), QOR_COLOR(cl3DDkShadow), QOR_COLOR(cl3DLight), QOR_COLOR(clInfoText),
    QOR_COLOR(clInfoBk), QOR_COLOR(clGradientActiveCaption), QOR_COLOR(clGradientInactiveCaption),
}};
#undef QOR_COLOR

constexpr TPredefinedColor kNoColor{clNone, ""};

} // namespace

const TPredefinedColor& PredefinedColors(int Index)
{
    if (Index < 0 || Index >= NumPredefinedColors)
        return kNoColor;
    return kPredefined[size_t(Index)];
}

} // namespace qor
