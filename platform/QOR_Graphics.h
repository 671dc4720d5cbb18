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

constexpr TColor RGB(int r, int g, int b) { return TColor((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16)); }
constexpr int GetRValue(TColor c) { return c & 0xFF; }
constexpr int GetGValue(TColor c) { return (c >> 8) & 0xFF; }
constexpr int GetBValue(TColor c) { return (c >> 16) & 0xFF; }

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;

constexpr TColor clSystemColor = TColor(0xFF000000u);
constexpr TColor clScrollBar = clSystemColor | 0;
constexpr TColor clBackground = clSystemColor | 1;
constexpr TColor clActiveCaption = clSystemColor | 2;
constexpr TColor clInactiveCaption = clSystemColor | 3;
constexpr TColor clMenu = clSystemColor | 4;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowFrame = clSystemColor | 6;
constexpr TColor clMenuText = clSystemColor | 7;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clCaptionText = clSystemColor | 9;
constexpr TColor clActiveBorder = clSystemColor | 10;
constexpr TColor clInactiveBorder = clSystemColor | 11;
constexpr TColor clAppWorkSpace = clSystemColor | 12;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clHighlightText = clSystemColor | 14;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clInactiveCaptionText = clSystemColor | 19;
constexpr TColor clBtnHighlight = clSystemColor | 20;
constexpr TColor cl3DDkShadow = clSystemColor | 21;
constexpr TColor cl3DLight = clSystemColor | 22;
constexpr TColor clInfoText = clSystemColor | 23;
constexpr TColor clInfoBk = clSystemColor | 24;
constexpr TColor clHotLight = clSystemColor | 26;
constexpr TColor clGradientActiveCaption = clSystemColor | 27;
constexpr TColor clGradientInactiveCaption = clSystemColor | 28;
constexpr TColor clMenuHighlight = clSystemColor | 29;
constexpr TColor clMenuBar = clSystemColor | 30;

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor CLR_INVALID = TColor(0xFFFFFFFFu);
constexpr TColor clDefault = 0x20000000;

constexpr bool IsSystemColor(TColor c) { return (std::uint32_t(c) & 0xFF000000u) == 0xFF000000u; }
// Plain colours pass unchanged (the high byte cleared); system colours resolve through a
// QPalette: the one given, else the palette of the control being drawn (TPaletteScope), else
// the application's.
KORVANE_EXPORT TColor ColorToRGB(TColor c);
KORVANE_EXPORT TColor ColorToRGB(TColor c, const QPalette& Palette);
KORVANE_EXPORT QColor ToQColor(TColor c);
KORVANE_EXPORT QColor ToQColor(TColor c, const QPalette& Palette);

// While a scope lives, ColorToRGB without a palette resolves through Palette: the host opens
// one with the control's own palette (which inherits its parent's and the application's) for
// every rendering of a control. Scopes nest; the palette must outlive the scope.
class KORVANE_EXPORT TPaletteScope {
public:
    explicit TPaletteScope(const QPalette& Palette);
    ~TPaletteScope();
    TPaletteScope(const TPaletteScope&) = delete;
    TPaletteScope& operator=(const TPaletteScope&) = delete;
private:
    const QPalette* FOuter;
};
KORVANE_EXPORT TColor FromQColor(const QColor& c);
// "clRed" for a named constant (plain and system colours), else "$00BBGGRR".
KORVANE_EXPORT QString ColorToString(TColor c);
// Accepts the identifiers (case-insensitive), "$BBGGRR" hexadecimal and decimal numbers;
// anything else raises EConvertError.
KORVANE_EXPORT TColor StringToColor(const QString& s);
KORVANE_EXPORT bool IdentToColor(const QString& ident, TColor& c);
KORVANE_EXPORT bool ColorToIdent(TColor c, QString& ident);

// ---------------------------------------------------------------------------------------------
// Small sets

enum TFontStyle : std::uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle, std::uint8_t>;

enum TPenStyle : std::uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode : std::uint8_t { pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot,
                               pmMaskPenNot, pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge,
                               pmMask, pmNotMask, pmXor, pmNotXor };
enum TBrushStyle : std::uint8_t { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal,
                                  bsBDiagonal, bsCross, bsDiagCross };
enum TCopyMode : std::uint8_t { cmSrcCopy, cmSrcAnd, cmSrcPaint, cmNotSrcCopy, cmSrcInvert,
                                cmBlackness, cmWhiteness };
enum TFillStyle : std::uint8_t { fsSurface, fsBorder };
// Text rendering quality: the platform default (antialiased), never or always antialiased.
enum TFontQuality : std::uint8_t { fqDefault, fqNonAntialiased, fqAntialiased };
enum TStretchMode : std::uint8_t { smColorOnColor, smHalftone };

// ---------------------------------------------------------------------------------------------
// Graphic objects. Each notifies its owner (the canvas) through OnChange.

class KORVANE_EXPORT TGraphicsObject {
public:
    virtual ~TGraphicsObject() = default;
    std::function<void()> OnChange;
protected:
    void Changed() { if (OnChange) OnChange(); }
};

class KORVANE_EXPORT TPen : public TGraphicsObject {
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor v) { if (v != FColor) { FColor = v; Changed(); } }
    int Width() const { return FWidth; }
    void SetWidth(int v) { v = v < 1 ? 1 : v; if (v != FWidth) { FWidth = v; Changed(); } }
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle v) { if (v != FStyle) { FStyle = v; Changed(); } }
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode v) { if (v != FMode) { FMode = v; Changed(); } }
    void Assign(const TPen& p) { FColor = p.FColor; FWidth = p.FWidth; FStyle = p.FStyle; FMode = p.FMode; Changed(); }
private:
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
};

class KORVANE_EXPORT TBrush : public TGraphicsObject {
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor v) { if (v != FColor || FStyle == bsClear) { FColor = v; if (FStyle == bsClear) FStyle = bsSolid; Changed(); } }
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle v) { if (v != FStyle) { FStyle = v; Changed(); } }
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
    TFont();
    QString Name() const { return FName; }
    void SetName(const QString& v);
    int Size() const { return FSize; }
    void SetSize(int v);
    // Height in pixels; negative: the character height (Size * 96 / 72), positive: cell height.
    int Height() const;
    void SetHeight(int v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v) { if (v != FColor) { FColor = v; Changed(); } }
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles v) { if (!(v == FStyle)) { FStyle = v; Changed(); } }
    int Orientation() const { return FOrientation; }
    void SetOrientation(int v) { if (v != FOrientation) { FOrientation = v; Changed(); } }
    TFontQuality Quality() const { return FQuality; }
    void SetQuality(TFontQuality v) { if (v != FQuality) { FQuality = v; Changed(); } }
    void Assign(const TFont& f);
    // Takes family, size (pixel or point), bold, italic, underline and strike-out from a QFont.
    void AssignQFont(const QFont& f);
    // The QFont that renders this font (pixel size, styles, hinting, antialiasing strategy).
    QFont ToQFont() const;
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

class KORVANE_EXPORT TCanvas {
public:
    // A canvas over an image. The image must outlive the canvas.
    explicit TCanvas(QImage* target = nullptr);
    virtual ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    void SetTarget(QImage* target);
    QImage* Target() const { return FTarget; }
    // Ends the pending QPainter so the image can be read or changed directly.
    void Flush() const;

    TPen* Pen() { return &FPen; }
    TBrush* Brush() { return &FBrush; }
    TFont* Font() { return &FFont; }
    const TPen* Pen() const { return &FPen; }
    const TBrush* Brush() const { return &FBrush; }
    const TFont* Font() const { return &FFont; }
    TCopyMode CopyMode() const { return FCopyMode; }
    void SetCopyMode(TCopyMode m) { FCopyMode = m; }
    QPoint PenPos() const;
    void SetPenPos(QPoint p) { FPenPos = p; FPenAfterText.clear(); }
    // Antialiasing of shapes and lines (off by default, as on a GDI device context).
    bool Antialiasing() const { return FAntialiasing; }
    void SetAntialiasing(bool on);
    TStretchMode StretchMode() const { return FStretchMode; }
    void SetStretchMode(TStretchMode m) { FStretchMode = m; }
    // The palette system colours drawn on this canvas resolve through (a control's surface
    // canvas follows its control's palette); none: ColorToRGB's rule. Must outlive the canvas.
    const QPalette* Palette() const { return FPalette; }
    void SetPalette(const QPalette* p) { FPalette = p; InvalidateState(); }

    // Clipping: everything drawn afterwards is limited to the rectangle (l..r-1, t..b-1).
    void SetClipRect(const QRect& r);
    void ResetClipRect();
    // The current clip rectangle, or the whole surface.
    QRect ClipRect() const;
    int Width() const;
    int Height() const;

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polyline(const QVector<QPoint>& pts);
    void Polygon(const QVector<QPoint>& pts);
    void Rectangle(int l, int t, int r, int b);
    void Rectangle(const QRect& r) { Rectangle(r.left(), r.top(), r.right() + 1, r.bottom() + 1); }
    void RoundRect(int l, int t, int r, int b, int w, int h);
    void FillRect(const QRect& r);
    void FillRect(int l, int t, int r, int b) { FillRect(QRect(QPoint(l, t), QPoint(r - 1, b - 1))); }
    void FrameRect(const QRect& r);
    void Ellipse(int l, int t, int r, int b);
    void Arc(int l, int t, int r, int b, int x3, int y3, int x4, int y4);
    void Pie(int l, int t, int r, int b, int x3, int y3, int x4, int y4);
    void Chord(int l, int t, int r, int b, int x3, int y3, int x4, int y4);

    void TextOut(int x, int y, const QString& s);
    // Fills rect with the brush (unless clear) and draws s at (x, y) clipped to rect.
    void TextRect(const QRect& rect, int x, int y, const QString& s);
    int TextWidth(const QString& s) const;
    int TextHeight(const QString& s) const;
    QSize TextExtent(const QString& s) const;
    // Ascent of the current font (the baseline lies Ascent pixels below a TextOut's y).
    int TextAscent() const;

    void Draw(int x, int y, const TBitmap& bmp);
    // Draws bmp with its transparent colour left out when bmp.Transparent().
    void StretchDraw(const QRect& r, const TBitmap& bmp);
    // Copies src rect of the source canvas to dest rect (scaled when sizes differ) by CopyMode().
    void CopyRect(const QRect& dest, const TCanvas& src, const QRect& srcRect);
    void CopyRect(const QRect& dest, const QImage& src, const QRect& srcRect);

    void FloodFill(int x, int y, TColor c, TFillStyle style);
    // Pixels outside the surface (or the clip rectangle) read as CLR_INVALID; writes there are
    // ignored.
    TColor Pixels(int x, int y) const;
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

class KORVANE_EXPORT TBitmap {
public:
    TBitmap();
    TBitmap(int w, int h);
    ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const { return FImage.isNull() ? 0 : FImage.width(); }
    int Height() const { return FImage.isNull() ? 0 : FImage.height(); }
    void SetWidth(int w) { SetSize(w, Height()); }
    void SetHeight(int h) { SetSize(Width(), h); }
    // Resizes keeping the pixels that fit; new pixels are white. Negative sizes count as 0.
    void SetSize(int w, int h);
    bool Empty() const { return Width() == 0 || Height() == 0; }

    TCanvas* Canvas() { return &FCanvas; }
    const TCanvas* Canvas() const { return &FCanvas; }
    // The pixels (the canvas's pending drawing finished first).
    const QImage& Image() const;
    QImage& Image();
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
    void SetTransparent(bool v) { FTransparent = v; }
    TColor TransparentColor() const;
    void SetTransparentColor(TColor c) { FTransparentColor = c; }
    void Assign(const TBitmap& src);

private:
    QImage FImage;
    TCanvas FCanvas;
    bool FTransparent = false;
    TColor FTransparentColor = clDefault;
};

} // namespace qor
