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
const std::array<ColorIdent, 54> ColorIdents = {{
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
    {clGradientInactiveCaption, "clGradientInactiveCaption"}, {clMenuHighlight, "clMenuHighlight"},
    {clMenuBar, "clMenuBar"}, {clNone, "clNone"},
    {clDefault, "clDefault"},
}};

TColor FromRgb(QRgb rgb)
{
    return RGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

// The palette of the control being drawn, when a TPaletteScope is open.
const QPalette* ScopePalette = nullptr;

// The palette entry that plays the part of each system colour. The system colours are the
// same for every state of a control (the components draw their own disabled looks), so they
// come from the active group whatever group a widget's palette currently points at.
QColor SystemColor(int index, const QPalette& pal)
{
    using P = QPalette;
    const auto active = [&pal](P::ColorRole role) { return pal.color(P::Active, role); };
    switch (index) {
    case 0: return active(P::Button);                      // scroll bar
    case 1: return active(P::Window);                      // desktop
    case 2: return active(P::Highlight);                   // active caption
    case 3: return active(P::Mid);                         // inactive caption
    case 4: return active(P::Window);                      // menu
    case 5: return active(P::Base);                        // window
    case 6: return active(P::Shadow);                      // window frame
    case 7: return active(P::WindowText);                  // menu text
    case 8: return active(P::Text);                        // window text
    case 9: return active(P::HighlightedText);             // caption text
    case 10: return active(P::Window);                     // active border
    case 11: return active(P::Window);                     // inactive border
    case 12: return active(P::Dark);                       // application workspace
    case 13: return active(P::Highlight);                  // highlight
    case 14: return active(P::HighlightedText);            // highlight text
    case 15: return active(P::Button);                     // button face
    case 16: return active(P::Dark);                       // button shadow
    case 17: return pal.color(P::Disabled, P::Text);       // grey text
    case 18: return active(P::ButtonText);                 // button text
    case 19: return active(P::WindowText);                 // inactive caption text
    case 20: return active(P::Light);                      // button highlight
    case 21: return active(P::Shadow);                     // 3D dark shadow
    case 22: return active(P::Midlight);                   // 3D light
    case 23: return active(P::ToolTipText);                // info text
    case 24: return active(P::ToolTipBase);                // info background
    case 26: return active(P::Link);                       // hot light
    case 27: return active(P::Highlight).lighter(150);     // gradient active caption
    case 28: return active(P::Midlight);                   // gradient inactive caption
    case 29: return active(P::Highlight);                  // menu highlight
    case 30: return active(P::Window);                     // menu bar
    default: return QColor(Qt::black);
    }
}

} // namespace

TColor ColorToRGB(TColor c, const QPalette& Palette)
{
    if (IsSystemColor(c))
        return FromRgb(SystemColor(c & 0xFF, Palette).rgb());
    return c & 0x00FFFFFF;
}

TColor ColorToRGB(TColor c)
{
    if (!IsSystemColor(c))
        return c & 0x00FFFFFF;
    if (ScopePalette)
        return ColorToRGB(c, *ScopePalette);
    if (!QGuiApplication::instance())
        return clBlack;
    return ColorToRGB(c, QGuiApplication::palette());
}

QColor ToQColor(TColor c, const QPalette& Palette)
{
    const TColor rgb = ColorToRGB(c, Palette);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

QColor ToQColor(TColor c)
{
    const TColor rgb = ColorToRGB(c);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TPaletteScope::TPaletteScope(const QPalette& Palette) : FOuter(ScopePalette)
{
    ScopePalette = &Palette;
}

TPaletteScope::~TPaletteScope()
{
    ScopePalette = FOuter;
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
