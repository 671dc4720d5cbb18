// TColor conversions and the system colours.
#include "QOR_Graphics.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPalette>

#include <array>

namespace qor {

namespace {

struct ColorIdent {
    TColor Color;
    const char* Name;
};

// Identifiers of the named colours, plain ones first: ColorToString finds a plain colour's
// first name (clSilver before clLtGray).
const std::array<ColorIdent, 52> ColorIdents = {{
    {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
    {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
    {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
    {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"}, {clSkyBlue, "clSkyBlue"}, {clCream, "clCream"},
    {clMedGray, "clMedGray"}, {clLtGray, "clLtGray"}, {clDkGray, "clDkGray"},
    {clScrollBar, "clScrollBar"}, {clBackground, "clBackground"}, {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"}, {clMenu, "clMenu"}, {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"}, {clMenuText, "clMenuText"}, {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"}, {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"}, {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"}, {clHighlightText, "clHighlightText"}, {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"}, {clGrayText, "clGrayText"}, {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"}, {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"}, {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"}, {clHotLight, "clHotLight"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"}, {clNone, "clNone"},
    {clDefault, "clDefault"},
}};

TColor FromRgb(QRgb rgb)
{
    return RGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

// The palette entry that plays the part of each system colour.
QColor SystemColor(int index)
{
    const QPalette pal = QGuiApplication::palette();
    using P = QPalette;
    switch (index) {
    case 0: return pal.color(P::Button);                      // scroll bar
    case 1: return pal.color(P::Window);                      // desktop
    case 2: return pal.color(P::Active, P::Highlight);        // active caption
    case 3: return pal.color(P::Mid);                         // inactive caption
    case 4: return pal.color(P::Window);                      // menu
    case 5: return pal.color(P::Base);                        // window
    case 6: return pal.color(P::Shadow);                      // window frame
    case 7: return pal.color(P::WindowText);                  // menu text
    case 8: return pal.color(P::Text);                        // window text
    case 9: return pal.color(P::HighlightedText);             // caption text
    case 10: return pal.color(P::Window);                     // active border
    case 11: return pal.color(P::Window);                     // inactive border
    case 12: return pal.color(P::Dark);                       // application workspace
    case 13: return pal.color(P::Active, P::Highlight);       // highlight
    case 14: return pal.color(P::Active, P::HighlightedText); // highlight text
    case 15: return pal.color(P::Button);                     // button face
    case 16: return pal.color(P::Dark);                       // button shadow
    case 17: return pal.color(P::Disabled, P::Text);          // grey text
    case 18: return pal.color(P::ButtonText);                 // button text
    case 19: return pal.color(P::WindowText);                 // inactive caption text
    case 20: return pal.color(P::Light);                      // button highlight
    case 21: return pal.color(P::Shadow);                     // 3D dark shadow
    case 22: return pal.color(P::Midlight);                   // 3D light
    case 23: return pal.color(P::ToolTipText);                // info text
    case 24: return pal.color(P::ToolTipBase);                // info background
    case 26: return pal.color(P::Link);                       // hot light
    case 27: return pal.color(P::Active, P::Highlight).lighter(150);
    case 28: return pal.color(P::Midlight);
    case 29: return pal.color(P::Active, P::Highlight);       // menu highlight
    case 30: return pal.color(P::Window);                     // menu bar
    default: return QColor(Qt::black);
    }
}

} // namespace

TColor ColorToRGB(TColor c)
{
    if (IsSystemColor(c)) {
        if (!QGuiApplication::instance())
            return clBlack;
        return FromRgb(SystemColor(c & 0xFF).rgb());
    }
    return c & 0x00FFFFFF;
}

QColor ToQColor(TColor c)
{
    const TColor rgb = ColorToRGB(c);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TColor FromQColor(const QColor& c)
{
    return FromRgb(c.rgb());
}

bool ColorToIdent(TColor c, QString& ident)
{
    for (const auto& e : ColorIdents)
        if (e.Color == c) {
            ident = QLatin1String(e.Name);
            return true;
        }
    return false;
}

bool IdentToColor(const QString& ident, TColor& c)
{
    for (const auto& e : ColorIdents)
        if (ident.compare(QLatin1String(e.Name), Qt::CaseInsensitive) == 0) {
            c = e.Color;
            return true;
        }
    return false;
}

QString ColorToString(TColor c)
{
    QString ident;
    if (ColorToIdent(c, ident))
        return ident;
    return QLatin1Char('$') + IntToHex(std::uint32_t(c), 8);
}

TColor StringToColor(const QString& s)
{
    TColor c = 0;
    if (IdentToColor(s.trimmed(), c))
        return c;
    int code = 0;
    const int v = ValInt(s.trimmed(), code);
    if (code != 0)
        throw EConvertError(QStringLiteral("'%1' is not a valid colour").arg(s));
    return TColor(v);
}

} // namespace qor
