// Colours, pens, brushes, fonts, the GDI-style canvas and bitmaps.
//
// TCanvas draws over QPainter with the rules of a classic GDI device context:
//  - no antialiasing of shapes unless SetAntialiasing(true);
//  - Rectangle/Ellipse/FillRect(l, t, r, b) cover columns l..r-1 and rows t..b-1;
//  - LineTo and Polyline leave out their end point;
//  - Arc/Pie/Chord take a bounding box and two points; the arc runs counter-clockwise (on screen)
//    from the ray through the first point to the ray through the second;
//  - TextOut(x, y) puts the top-left of the text cell at (x, y); a solid brush paints the text
//    background, a clear brush leaves it;
//  - copy modes and pen modes are raster operations on the pixels.
#pragma once

#include "QOR_Set.h"
#include "QOR_SysUtils.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPalette>
#include <QPoint>
#include <QRect>
#include <QVector>
#include <functional>
#include <memory>

class QPainter;

namespace qor {

// ---------------------------------------------------------------------------------------------
// Colours: $00BBGGRR; system colours are $FF0000xx with xx the system colour index.

using TColor = std::int32_t;

// The colour of red, green and blue components 0..255 (each taken modulo 256).
constexpr TColor RGB(int r, int g, int b) { return TColor((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16)); }
// The red component 0..255 of a plain colour.
constexpr int GetRValue(TColor c) { return c & 0xFF; }
// The green component 0..255 of a plain colour.
constexpr int GetGValue(TColor c) { return (c >> 8) & 0xFF; }
// The blue component 0..255 of a plain colour.
constexpr int GetBValue(TColor c) { return (c >> 16) & 0xFF; }

constexpr TColor clBlack = 0x000000; // black, RGB 0, 0, 0
constexpr TColor clMaroon = 0x000080; // dark red, RGB 128, 0, 0
constexpr TColor clGreen = 0x008000; // dark green, RGB 0, 128, 0
constexpr TColor clOlive = 0x008080; // olive, RGB 128, 128, 0
constexpr TColor clNavy = 0x800000; // navy blue, RGB 0, 0, 128
constexpr TColor clPurple = 0x800080; // purple, RGB 128, 0, 128
constexpr TColor clTeal = 0x808000; // teal, RGB 0, 128, 128
constexpr TColor clGray = 0x808080; // grey, RGB 128, 128, 128 (same as clDkGray)
constexpr TColor clSilver = 0xC0C0C0; // silver, RGB 192, 192, 192 (same as clLtGray)
constexpr TColor clRed = 0x0000FF; // red, RGB 255, 0, 0
constexpr TColor clLime = 0x00FF00; // lime green, RGB 0, 255, 0
constexpr TColor clYellow = 0x00FFFF; // yellow, RGB 255, 255, 0
constexpr TColor clBlue = 0xFF0000; // blue, RGB 0, 0, 255
constexpr TColor clFuchsia = 0xFF00FF; // fuchsia, RGB 255, 0, 255
constexpr TColor clAqua = 0xFFFF00; // aqua, RGB 0, 255, 255
constexpr TColor clWhite = 0xFFFFFF; // white, RGB 255, 255, 255
constexpr TColor clLtGray = 0xC0C0C0; // light grey, RGB 192, 192, 192 (same as clSilver)
constexpr TColor clDkGray = 0x808080; // dark grey, RGB 128, 128, 128 (same as clGray)
constexpr TColor clMoneyGreen = 0xC0DCC0; // pale green, RGB 192, 220, 192
constexpr TColor clSkyBlue = 0xF0CAA6; // sky blue, RGB 166, 202, 240
constexpr TColor clCream = 0xF0FBFF; // cream, RGB 255, 251, 240
constexpr TColor clMedGray = 0xA4A0A0; // medium grey, RGB 160, 160, 164

constexpr TColor clSystemColor = TColor(0xFF000000u); // the flag of the system colours: the low byte is the system colour index
constexpr TColor clScrollBar = clSystemColor | 0; // scroll bar background (palette Button)
constexpr TColor clBackground = clSystemColor | 1; // desktop (palette Window)
constexpr TColor clActiveCaption = clSystemColor | 2; // title bar of the active window (palette Highlight)
constexpr TColor clInactiveCaption = clSystemColor | 3; // title bar of an inactive window (palette Mid)
constexpr TColor clMenu = clSystemColor | 4; // menu background (palette Window)
constexpr TColor clWindow = clSystemColor | 5; // background of edits and lists (palette Base)
constexpr TColor clWindowFrame = clSystemColor | 6; // window frame (palette Shadow)
constexpr TColor clMenuText = clSystemColor | 7; // menu text (palette WindowText)
constexpr TColor clWindowText = clSystemColor | 8; // text in edits and lists (palette Text)
constexpr TColor clCaptionText = clSystemColor | 9; // text of the active title bar (palette HighlightedText)
constexpr TColor clActiveBorder = clSystemColor | 10; // border of the active window (palette Window)
constexpr TColor clInactiveBorder = clSystemColor | 11; // border of an inactive window (palette Window)
constexpr TColor clAppWorkSpace = clSystemColor | 12; // background of multiple-document areas (palette Dark)
constexpr TColor clHighlight = clSystemColor | 13; // background of selected items (palette Highlight)
constexpr TColor clHighlightText = clSystemColor | 14; // text of selected items (palette HighlightedText)
constexpr TColor clBtnFace = clSystemColor | 15; // button face and dialog background (palette Button)
constexpr TColor clBtnShadow = clSystemColor | 16; // shadow edge of 3-D elements (palette Dark)
constexpr TColor clGrayText = clSystemColor | 17; // disabled text (palette Text of the disabled group)
constexpr TColor clBtnText = clSystemColor | 18; // text on buttons (palette ButtonText)
constexpr TColor clInactiveCaptionText = clSystemColor | 19; // text of an inactive title bar (palette WindowText)
constexpr TColor clBtnHighlight = clSystemColor | 20; // lit edge of 3-D elements (palette Light)
constexpr TColor cl3DDkShadow = clSystemColor | 21; // darkest edge of 3-D elements (palette Shadow)
constexpr TColor cl3DLight = clSystemColor | 22; // light edge of 3-D elements (palette Midlight)
constexpr TColor clInfoText = clSystemColor | 23; // tooltip text (palette ToolTipText)
constexpr TColor clInfoBk = clSystemColor | 24; // tooltip background (palette ToolTipBase)
constexpr TColor clHotLight = clSystemColor | 26; // hot-tracked items and links (palette Link)
constexpr TColor clGradientActiveCaption = clSystemColor | 27; // gradient end of the active title bar (palette Highlight, lighter)
constexpr TColor clGradientInactiveCaption = clSystemColor | 28; // gradient end of an inactive title bar (palette Midlight)
constexpr TColor clMenuHighlight = clSystemColor | 29; // highlighted menu item (palette Highlight)
constexpr TColor clMenuBar = clSystemColor | 30; // menu bar (palette Window)

constexpr TColor clNone = 0x1FFFFFFF; // "no colour" (a marker value, not a system colour; drawn it reads as white)
constexpr TColor CLR_INVALID = TColor(0xFFFFFFFFu); // what Pixels() reads outside the surface or clip rectangle
constexpr TColor clDefault = 0x20000000; // "the default colour"; as a bitmap's TransparentColor: its bottom-left pixel's colour

// Whether c is a system colour ($FF0000xx), resolved through a palette when drawn.
constexpr bool IsSystemColor(TColor c) { return (std::uint32_t(c) & 0xFF000000u) == 0xFF000000u; }
// Plain colours pass unchanged (the high byte cleared); system colours resolve through a
// QPalette: the one given, else the palette of the control being drawn (TPaletteScope), else
// the application's.
KORVANE_EXPORT TColor ColorToRGB(TColor c);
// ColorToRGB with system colours resolved through Palette.
KORVANE_EXPORT TColor ColorToRGB(TColor c, const QPalette& Palette);
// The QColor (opaque) of c, system colours resolved as ColorToRGB does.
KORVANE_EXPORT QColor ToQColor(TColor c);
// The QColor (opaque) of c, system colours resolved through Palette.
KORVANE_EXPORT QColor ToQColor(TColor c, const QPalette& Palette);

// While a scope lives, ColorToRGB without a palette resolves through Palette: the host opens
// one with the control's own palette (which inherits its parent's and the application's) for
// every rendering of a control. Scopes nest; the palette must outlive the scope.
class KORVANE_EXPORT TPaletteScope {
public:
    // Opens a scope that resolves system colours through Palette; the destructor restores the
    // scope that was open before.
    explicit TPaletteScope(const QPalette& Palette);
    ~TPaletteScope();
    TPaletteScope(const TPaletteScope&) = delete;
    TPaletteScope& operator=(const TPaletteScope&) = delete;
private:
    const QPalette* FOuter;
};
// The TColor of a QColor; the alpha channel is dropped.
KORVANE_EXPORT TColor FromQColor(const QColor& c);
// "clRed" for a named constant (plain and system colours), else "$00BBGGRR".
KORVANE_EXPORT QString ColorToString(TColor c);
// Accepts the identifiers (case-insensitive), "$BBGGRR" hexadecimal and decimal numbers;
// anything else raises EConvertError.
KORVANE_EXPORT TColor StringToColor(const QString& s);
// The colour of a colour identifier ("clRed", case-insensitive) in c; false (c unchanged)
// for any other text.
KORVANE_EXPORT bool IdentToColor(const QString& ident, TColor& c);
// The identifier of a named colour ("clRed") in ident; false (ident unchanged) when c has
// no name.
KORVANE_EXPORT bool ColorToIdent(TColor c, QString& ident);

// ---------------------------------------------------------------------------------------------
// Small sets

enum TFontStyle : std::uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
// A set of font styles (fsBold, fsItalic, fsUnderline, fsStrikeOut).
using TFontStyles = TSet<TFontStyle, std::uint8_t>;

// How lines are drawn: solid, dashed, dotted, dash-dot, dash-dot-dot, not at all, or solid
// and kept inside the box of a shape (psInsideFrame).
enum TPenStyle : std::uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// How the pen combines with the pixels below (raster operation): pmCopy paints the pen colour,
// pmXor inverts where the pen is set, pmNop leaves the pixels, pmNot inverts them ...
enum TPenMode : std::uint8_t { pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot,
                               pmMaskPenNot, pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge,
                               pmMask, pmNotMask, pmXor, pmNotXor };
// How shapes are filled: solid, not at all (bsClear), or hatched in the brush colour.
enum TBrushStyle : std::uint8_t { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal,
                                  bsBDiagonal, bsCross, bsDiagCross };
// How CopyRect combines source with destination: copy, AND, OR, inverted copy, XOR, or
// fill black or white.
enum TCopyMode : std::uint8_t { cmSrcCopy, cmSrcAnd, cmSrcPaint, cmNotSrcCopy, cmSrcInvert,
                                cmBlackness, cmWhiteness };
// FloodFill: fill the area of the given colour (fsSurface) or up to a border of it (fsBorder).
enum TFillStyle : std::uint8_t { fsSurface, fsBorder };
// Text rendering quality: the platform default (antialiased), never or always antialiased.
enum TFontQuality : std::uint8_t { fqDefault, fqNonAntialiased, fqAntialiased };
// Scaling of bitmaps: nearest pixel (smColorOnColor) or smoothed (smHalftone).
enum TStretchMode : std::uint8_t { smColorOnColor, smHalftone };

// ---------------------------------------------------------------------------------------------
// Graphic objects. Each notifies its owner (the canvas) through OnChange.

class KORVANE_EXPORT TGraphicsObject {
public:
    virtual ~TGraphicsObject() = default;
    std::function<void()> OnChange; // called after every change of the object
protected:
    void Changed() { if (OnChange) OnChange(); }
};

// The pen lines and outlines are drawn with.
class KORVANE_EXPORT TPen : public TGraphicsObject {
public:
    // The line colour (black at start).
    TColor Color() const { return FColor; }
    // Sets the line colour.
    void SetColor(TColor v) { if (v != FColor) { FColor = v; Changed(); } }
    // The line width in pixels (at least 1).
    int Width() const { return FWidth; }
    // Sets the line width; values below 1 count as 1.
    void SetWidth(int v) { v = v < 1 ? 1 : v; if (v != FWidth) { FWidth = v; Changed(); } }
    // The line style (psSolid at start).
    TPenStyle Style() const { return FStyle; }
    // Sets the line style.
    void SetStyle(TPenStyle v) { if (v != FStyle) { FStyle = v; Changed(); } }
    // The raster operation (pmCopy at start).
    TPenMode Mode() const { return FMode; }
    // Sets the raster operation.
    void SetMode(TPenMode v) { if (v != FMode) { FMode = v; Changed(); } }
    // Copies colour, width, style and mode of p.
    void Assign(const TPen& p) { FColor = p.FColor; FWidth = p.FWidth; FStyle = p.FStyle; FMode = p.FMode; Changed(); }
private:
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
};

// The brush shapes are filled with.
class KORVANE_EXPORT TBrush : public TGraphicsObject {
public:
    // The fill colour (white at start).
    TColor Color() const { return FColor; }
    // Sets the fill colour; a clear brush becomes solid.
    void SetColor(TColor v) { if (v != FColor || FStyle == bsClear) { FColor = v; if (FStyle == bsClear) FStyle = bsSolid; Changed(); } }
    // The fill style (bsSolid at start).
    TBrushStyle Style() const { return FStyle; }
    // Sets the fill style.
    void SetStyle(TBrushStyle v) { if (v != FStyle) { FStyle = v; Changed(); } }
    // Copies colour and style of b.
    void Assign(const TBrush& b) { FColor = b.FColor; FStyle = b.FStyle; Changed(); }
private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
};

// A font: family, size in points at 96 dots per inch (or Height in pixels: negative = character
// height, as the classic API), colour, styles, orientation in tenths of a degree counter-clockwise
// and rendering quality.
class KORVANE_EXPORT TFont : public TGraphicsObject {
public:
    // The application font's family and size, the colour clWindowText, no styles.
    TFont();
    // The family name (the application font's at start).
    QString Name() const { return FName; }
    // Sets the family name.
    void SetName(const QString& v);
    // The size in points at 96 dots per inch (from Height when that was set).
    int Size() const { return FSize; }
    // Sets the size in points; Height follows from it.
    void SetSize(int v);
    // Height in pixels; negative: the character height (Size * 96 / 72), positive: cell height.
    int Height() const;
    // Sets the height in pixels (see Height); Size follows from it.
    void SetHeight(int v);
    // The text colour (clWindowText at start).
    TColor Color() const { return FColor; }
    // Sets the text colour.
    void SetColor(TColor v) { if (v != FColor) { FColor = v; Changed(); } }
    // The styles: bold, italic, underline, strike-out.
    TFontStyles Style() const { return FStyle; }
    // Sets the styles.
    void SetStyle(TFontStyles v) { if (!(v == FStyle)) { FStyle = v; Changed(); } }
    // The angle of the text in tenths of a degree, counter-clockwise (0: horizontal).
    int Orientation() const { return FOrientation; }
    // Sets the angle; TextOut turns the text about its top-left corner.
    void SetOrientation(int v) { if (v != FOrientation) { FOrientation = v; Changed(); } }
    // The rendering quality of the text.
    TFontQuality Quality() const { return FQuality; }
    // Sets the rendering quality.
    void SetQuality(TFontQuality v) { if (v != FQuality) { FQuality = v; Changed(); } }
    // Copies every setting of f.
    void Assign(const TFont& f);
    // Takes family, size (pixel or point), bold, italic, underline and strike-out from a QFont.
    void AssignQFont(const QFont& f);
    // The QFont that renders this font (pixel size, styles, hinting, antialiasing strategy).
    QFont ToQFont() const;
    // Whether family, height, colour, styles, orientation and quality all match.
    bool operator==(const TFont& o) const;
private:
    QString FName;
    int FSize = 8;
    int FPixelHeight = 0;   // != 0 when set through SetHeight
    TColor FColor = clWindowText;
    TFontStyles FStyle;
    int FOrientation = 0;
    TFontQuality FQuality = fqDefault;
};

// ---------------------------------------------------------------------------------------------
// TCanvas

class TBitmap;

// The canvas: GDI-style drawing with pen, brush and font onto an image (the rules are at the
// top of this file). Calls on a canvas without an image do nothing.
class KORVANE_EXPORT TCanvas {
public:
    // A canvas over an image. The image must outlive the canvas.
    explicit TCanvas(QImage* target = nullptr);
    virtual ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // Draws onto target from now on (nullptr: nowhere); the drawing on the old image is finished.
    void SetTarget(QImage* target);
    // The image the canvas draws onto; nullptr when none.
    QImage* Target() const { return FTarget; }
    // Ends the pending QPainter so the image can be read or changed directly.
    void Flush() const;

    // The pen of lines and outlines.
    TPen* Pen() { return &FPen; }
    // The brush of fills and text backgrounds.
    TBrush* Brush() { return &FBrush; }
    // The font of text; its colour is the text colour.
    TFont* Font() { return &FFont; }
    // The pen, read-only.
    const TPen* Pen() const { return &FPen; }
    // The brush, read-only.
    const TBrush* Brush() const { return &FBrush; }
    // The font, read-only.
    const TFont* Font() const { return &FFont; }
    // How CopyRect combines source and destination (cmSrcCopy at start).
    TCopyMode CopyMode() const { return FCopyMode; }
    // Sets the copy mode.
    void SetCopyMode(TCopyMode m) { FCopyMode = m; }
    // The pen position: where LineTo starts; after TextOut the end of its text.
    QPoint PenPos() const;
    // Moves the pen position to p without drawing.
    void SetPenPos(QPoint p) { FPenPos = p; FPenAfterText.clear(); }
    // Antialiasing of shapes and lines (off by default, as on a GDI device context).
    bool Antialiasing() const { return FAntialiasing; }
    // Switches antialiasing of shapes and lines.
    void SetAntialiasing(bool on);
    // How CopyRect and StretchDraw scale (smColorOnColor at start).
    TStretchMode StretchMode() const { return FStretchMode; }
    // Sets the scaling mode.
    void SetStretchMode(TStretchMode m) { FStretchMode = m; }
    // The palette system colours drawn on this canvas resolve through (a control's surface
    // canvas follows its control's palette); none: ColorToRGB's rule. Must outlive the canvas.
    const QPalette* Palette() const { return FPalette; }
    // Sets the palette (nullptr: none); the canvas does not own it.
    void SetPalette(const QPalette* p) { FPalette = p; InvalidateState(); }

    // Clipping: everything drawn afterwards is limited to the rectangle (l..r-1, t..b-1).
    void SetClipRect(const QRect& r);
    // Ends clipping: drawing reaches the whole image again.
    void ResetClipRect();
    // The current clip rectangle, or the whole surface.
    QRect ClipRect() const;
    // Width of the image in logical pixels; 0 without an image.
    int Width() const;
    // Height of the image in logical pixels; 0 without an image.
    int Height() const;

    // Moves the pen position to (x, y) without drawing.
    void MoveTo(int x, int y);
    // Draws a line with the pen from the pen position to (x, y), leaving out (x, y), and moves the
    // pen position there.
    void LineTo(int x, int y);
    // Draws lines with the pen through pts in turn (each end point left out); the pen position
    // ends on the last point. Nothing for an empty list.
    void Polyline(const QVector<QPoint>& pts);
    // Draws the closed polygon through pts, outlined by the pen and filled by the brush (odd-even
    // rule). Nothing for fewer than 2 points.
    void Polygon(const QVector<QPoint>& pts);
    // Draws the rectangle covering columns l..r-1 and rows t..b-1: outline by the pen, inside by
    // the brush. Corners given in any order.
    void Rectangle(int l, int t, int r, int b);
    // Rectangle() covering the cells of r.
    void Rectangle(const QRect& r) { Rectangle(r.left(), r.top(), r.right() + 1, r.bottom() + 1); }
    // Draws a rectangle with rounded corners, the corner ellipses w x h pixels, covering columns
    // l..r-1 and rows t..b-1.
    void RoundRect(int l, int t, int r, int b, int w, int h);
    // Fills r with the brush (no outline); nothing with a clear brush.
    void FillRect(const QRect& r);
    // Fills columns l..r-1 and rows t..b-1 with the brush.
    void FillRect(int l, int t, int r, int b) { FillRect(QRect(QPoint(l, t), QPoint(r - 1, b - 1))); }
    // Draws a 1-pixel frame on the outermost pixels of r in the brush colour (the pen is not
    // used).
    void FrameRect(const QRect& r);
    // Draws the ellipse inside the box l..r-1, t..b-1: outline by the pen, inside by the brush.
    void Ellipse(int l, int t, int r, int b);
    // Draws the arc of the ellipse inside l, t, r, b with the pen, counter-clockwise from the ray
    // through (x3, y3) to the ray through (x4, y4).
    void Arc(int l, int t, int r, int b, int x3, int y3, int x4, int y4);
    // Draws the pie slice bounded by the arc (see Arc) and the two radii: outline by the pen,
    // inside by the brush.
    void Pie(int l, int t, int r, int b, int x3, int y3, int x4, int y4);
    // Draws the arc (see Arc) closed by its chord: outline by the pen, inside by the brush.
    void Chord(int l, int t, int r, int b, int x3, int y3, int x4, int y4);

    // Draws s in the font with the top-left of its text cell at (x, y), the background in the
    // brush unless it is clear; the pen position moves to the end of the text.
    void TextOut(int x, int y, const QString& s);
    // Fills rect with the brush (unless clear) and draws s at (x, y) clipped to rect.
    void TextRect(const QRect& rect, int x, int y, const QString& s);
    // Width of s in the current font, in pixels.
    int TextWidth(const QString& s) const;
    // Height of a line of text in the current font, in pixels (the same for every s).
    int TextHeight(const QString& s) const;
    // TextWidth and TextHeight of s.
    QSize TextExtent(const QString& s) const;
    // Ascent of the current font (the baseline lies Ascent pixels below a TextOut's y).
    int TextAscent() const;

    // Draws bmp with its top-left at (x, y) in its own size; with its transparent colour left out
    // when bmp.Transparent(). A bitmap cannot draw onto itself.
    void Draw(int x, int y, const TBitmap& bmp);
    // Draws bmp with its transparent colour left out when bmp.Transparent().
    void StretchDraw(const QRect& r, const TBitmap& bmp);
    // Copies src rect of the source canvas to dest rect (scaled when sizes differ) by CopyMode().
    void CopyRect(const QRect& dest, const TCanvas& src, const QRect& srcRect);
    // Copies srcRect of the image src to dest rect (scaled when sizes differ) by CopyMode().
    void CopyRect(const QRect& dest, const QImage& src, const QRect& srcRect);

    // Fills the region around (x, y) with the brush: with fsSurface the connected pixels of colour
    // c, with fsBorder the connected pixels that are not c. Nothing with a clear brush or outside
    // the clip rectangle.
    void FloodFill(int x, int y, TColor c, TFillStyle style);
    // Pixels outside the surface (or the clip rectangle) read as CLR_INVALID; writes there are
    // ignored.
    TColor Pixels(int x, int y) const;
    // Sets the pixel (x, y) to c (every device pixel it covers); see Pixels.
    void SetPixels(int x, int y, TColor c);

    // A QPainter set up like the canvas (pen, brush, font, clip, raster mode) for drawing the
    // canvas cannot express. Valid until the next canvas call.
    QPainter* Painter();

private:
    QPainter* Begin();
    void ApplyPen(QPainter* p) const;
    // A 1-pixel pen on a surface of device pixel ratio above 1.
    bool ScaledHairline() const;
    void ApplyBrush(QPainter* p) const;
    void ApplyMode(QPainter* p, TPenMode m) const;
    void DrawArcShape(int kind, int l, int t, int r, int b, int x3, int y3, int x4, int y4);
    void InvalidateState() { FStateDirty = true; }
    void FontChanged();
    const QFont& CachedFont() const;
    const QFontMetrics& Metrics() const;
    QPoint PhysicalPoint(int x, int y) const;
    QColor Resolve(TColor c) const { return FPalette ? ToQColor(c, *FPalette) : ToQColor(c); }

    QImage* FTarget = nullptr;
    const QPalette* FPalette = nullptr;
    mutable std::unique_ptr<QPainter> FPainter;
    mutable bool FStateDirty = true;
    mutable bool FFontDirty = true;
    mutable std::unique_ptr<QFont> FQFont;
    mutable std::shared_ptr<QFontMetrics> FMetrics;
    TPen FPen;
    TBrush FBrush;
    TFont FFont;
    TCopyMode FCopyMode = cmSrcCopy;
    TStretchMode FStretchMode = smColorOnColor;
    mutable QPoint FPenPos;
    // TextOut moves the pen past its text; the advance is measured only when someone asks.
    mutable QString FPenAfterText;
    mutable std::shared_ptr<QFontMetrics> FPenAfterMetrics;   // the font the text was drawn in
    bool FAntialiasing = false;
    bool FClipped = false;
    QRect FClipRect;
};

// ---------------------------------------------------------------------------------------------
// TBitmap: a 32-bit image with its canvas.

// A 32-bit image with its canvas; a new bitmap is empty, a resized one white where nothing
// was drawn.
class KORVANE_EXPORT TBitmap {
public:
    // An empty bitmap (0 x 0).
    TBitmap();
    // A white bitmap of w x h pixels (negative sizes count as 0).
    TBitmap(int w, int h);
    ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    // Width of the image in pixels (device pixels when DevicePixelRatio() is above 1); 0 when empty.
    int Width() const { return FImage.isNull() ? 0 : FImage.width(); }
    // Height of the image in pixels (device pixels when DevicePixelRatio() is above 1); 0 when empty.
    int Height() const { return FImage.isNull() ? 0 : FImage.height(); }
    // Sets the width, keeping the height (see SetSize).
    void SetWidth(int w) { SetSize(w, Height()); }
    // Sets the height, keeping the width (see SetSize).
    void SetHeight(int h) { SetSize(Width(), h); }
    // Resizes keeping the pixels that fit; new pixels are white. Negative sizes count as 0.
    void SetSize(int w, int h);
    // Whether the bitmap has no pixels (width or height 0).
    bool Empty() const { return Width() == 0 || Height() == 0; }

    // The canvas that draws on the bitmap.
    TCanvas* Canvas() { return &FCanvas; }
    // The canvas that draws on the bitmap, read-only.
    const TCanvas* Canvas() const { return &FCanvas; }
    // The pixels (the canvas's pending drawing finished first).
    const QImage& Image() const;
    // The pixels for changing in place (the canvas's pending drawing finished first).
    QImage& Image();
    // Replaces the pixels by a copy of img, in 32-bit form (premultiplied when it has alpha); a
    // null img empties the bitmap.
    void SetImage(const QImage& img);
    // Device pixel ratio: the surface holds Width*ratio x Height*ratio pixels; drawing uses
    // logical coordinates.
    qreal DevicePixelRatio() const { return FImage.devicePixelRatio(); }

    // BMP and PNG (and every format Qt reads). False and unchanged when the file cannot be read.
    bool LoadFromFile(const QString& FileName);
    // Raises EInOutError when the file cannot be read.
    void LoadFromFileOrThrow(const QString& FileName);
    // Loads a named picture from the library's resources (":/korvane/<name>.png" or ".bmp").
    bool LoadFromResourceName(const QString& Name);
    bool SaveToFile(const QString& FileName) const;   // by suffix; a failed save keeps the old file

    // Transparency by colour key: Draw/StretchDraw leave out pixels of TransparentColor.
    // The default key is the colour of the bottom-left pixel.
    bool Transparent() const { return FTransparent; }
    // Switches transparency by colour key.
    void SetTransparent(bool v) { FTransparent = v; }
    // The colour key: the one set, else the colour of the bottom-left pixel (clDefault when
    // empty).
    TColor TransparentColor() const;
    // Sets the colour key; clDefault: the bottom-left pixel's colour.
    void SetTransparentColor(TColor c) { FTransparentColor = c; }
    // Copies pixels and transparency settings of src.
    void Assign(const TBitmap& src);

private:
    QImage FImage;
    TCanvas FCanvas;
    bool FTransparent = false;
    TColor FTransparentColor = clDefault;
};

} // namespace qor
