// TRasterLab: a dot-matrix display. Each character of the text is drawn from a bit pattern as
// square dots, optionally on a raster of unlit dots, and the text can scroll under a timer.
//
// Geometry, with the pitch p = DotSize + DotSpacing and the origin (PosX + scroll x,
// PosY + scroll y):
//  - the dot of column k (counted from the character's first column) and row r of a character
//    starting at x is the square of DotSize at (x + k p, origin y + r p);
//  - a character advances p (columns + 1): proportional, its used columns; fixed, FontWidth;
//    a character without dots in a scanned font counts as 0 columns;
//  - the raster (CharBlockMode other than rdbmOff) is ColorDotOff with DotSpacing-wide lines of
//    ColorLabBakG between the dots, aligned to the origin; rdbmOn also clears the column gap
//    after each character over the whole height, so characters stand as separate blocks;
//  - the text length as painted is the end x minus the start x plus 1; TextLength() is the
//    same without the 1 (the sum of the advances).
//
// Frames (w, h the control size; an outline (l, t)-(r, b) runs through the four corner pixels;
// a line from a to b leaves out b). Framed labels start in ColorLabBakG, and the fill leaves a
// 1-pixel border:
//   fsSimple    gray outline (0, 0)-(w-1, h-1)
//   fsLowered   black (1, h-3) to (1, 1) to (w-2, 1); white (2, h-1) to (w-1, h-1) to (w-1, 0);
//               gray outline (0, 0)-(w-2, h-2)
//   fsRaised    the same with black and white swapped
//   fsEmbossed  gray outline (1, 1)-(w-1, h-1), then white outline (0, 0)-(w-2, h-2)
//   fsEngraved  the same with gray and white swapped
// Gray and white are $808080 and $FFFFFF (csGrayWhite) or clBtnShadow and clBtnHighlight.
//
// Layout: the frame width is 1 for fsSimple..fsRaised, 2 for fsEmbossed and fsEngraved.
// AutoHeight sets the height to frame width + p FontHeight, and keeps it in a layout (the
// vertical size policy is Fixed while it is on, and returns to what it was when it is off); AutoCenter sets PosX to
// (width - TextLength()) div 2 + frame width + 1 (switching it off sets PosX to 1). Both apply
// when switched on and when DotSize, DotSpacing or the font change; centring also follows the
// text, Proportional and the width (a hidden label recentres when it is shown).
//
// Scrolling: each tick of the timer runs one step, repaints, then fires OnScrollTimer. A step
// moves the text by ScrollIncrement; with ScrollLoop a text that has left the control starts
// again at the opposite edge (OnScrollLoopRestart), without it the text leaves for good:
//   rdsmRight  scroll x grows;   beyond the width it becomes -(text length as painted)
//   rdsmLeft   scroll x shrinks; below -(text length as painted) it becomes the width
//   rdsmDown   scroll y grows;   beyond the height it becomes -(p FontHeight)
//   rdsmUp     scroll y shrinks; below -(p FontHeight) it becomes the height
//   rdsmOff    the offsets return to 0 and the timer stops
// The timer never runs in design mode, nor while the label is not visible (never shown yet, or
// on a hidden page); showing the label resumes it.
//
// Characters: the text is shown through the 256 slots of the character matrix in the Windows
// code page 1252 (Latin-1, with the euro, dashes, quotes, Š, Œ, Ž, Ÿ ... in 128..159); a
// character the code page lacks shows as '?'.
#pragma once

#include <QOR_Controls.h>
#include <QOR_Graphics.h>
#include <QOR_Timer.h>
#include <QOR_qorbase.h>

#include <QByteArray>
#include <QObject>
#include <QRect>
#include <QSizePolicy>
#include <QString>
#include <QVector>
#include <array>
#include <cstdint>

namespace qor {

inline namespace QOR_RasterLab {
Q_NAMESPACE_EXPORT(KORVANE_EXPORT)
// The raster of unlit dots: none, in separate character blocks, or continuous.
enum TRDBlockMode : std::uint8_t { rdbmOff, rdbmOn, rdbmRaster };
Q_ENUM_NS(TRDBlockMode)
// The direction the text scrolls in under the timer, or none.
enum TRDScrollMode : std::uint8_t { rdsmOff, rdsmLeft, rdsmRight, rdsmDown, rdsmUp };
Q_ENUM_NS(TRDScrollMode)
} // namespace QOR_RasterLab

// The character font of a raster label.
struct TRDCharMatrix {
    int FontWidth = 0;                                   // widest character, in dot columns
    int FontHeight = 0;                                  // dot rows used
    std::array<std::uint8_t, 256> LeftMostBit{};         // first used column of each character
    std::array<std::uint8_t, 256> RightMostBit{};        // last used column of each character
    // One word per character and row; bit j (least significant first) is column j.
    std::array<std::array<std::uint32_t, 32>, 256> BitData{};
    // Equal when every size and every dot are equal.
    bool operator==(const TRDCharMatrix&) const = default;
};

class KORVANE_EXPORT EQORRasterLabError : public EQORError {
public:
    using EQORError::EQORError;
};

// The dot-matrix label control (see above).
class KORVANE_EXPORT TRasterLab : public TGraphicControl {
    Q_OBJECT
public:
    QOR_PROPERTY(QString, Text)
    QOR_PROPERTY(int, DotSize)
    QOR_PROPERTY(int, DotSpacing)
    QOR_PROPERTY_NOTIFY(int, PosX, posXChanged)
    QOR_PROPERTY(int, PosY)
    QOR_PROPERTY(bool, Proportional)
    QOR_PROPERTY(qor::QOR_RasterLab::TRDBlockMode, CharBlockMode)
    QOR_COLOR_PROPERTY(ColorDotOn)
    QOR_COLOR_PROPERTY(ColorDotOff)
    QOR_COLOR_PROPERTY(ColorLabBakG)
    QOR_PROPERTY(qor::QOR_qorbase::TFrameStyle, FrameStyle)
    QOR_PROPERTY(qor::QOR_qorbase::TColorScheme, ColorScheme)
    QOR_PROPERTY(bool, AutoHeight)
    QOR_PROPERTY(bool, AutoCenter)
    QOR_PROPERTY(qor::QOR_RasterLab::TRDScrollMode, ScrollMode)
    QOR_PROPERTY(int, ScrollInterval)
    QOR_PROPERTY(int, ScrollIncrement)
    QOR_PROPERTY(bool, ScrollLoop)

    // 400 x 68 pixels, the built-in font (Font: name "default", size 8).
    explicit TRasterLab(QWidget* AOwner = nullptr);
    ~TRasterLab() override;

    // --- published properties
    QString Text() const { return FText; }
    void SetText(const QString& v);
    int DotSize() const { return FDotSize; }
    void SetDotSize(int v);                // clamped to 1 .. 32
    int DotSpacing() const { return FDotSpacing; }
    void SetDotSpacing(int v);             // clamped to 0 .. 3
    int PosX() const { return FPosX; }
    void SetPosX(int v);
    int PosY() const { return FPosY; }
    void SetPosY(int v);
    bool Proportional() const { return FProportional; }
    void SetProportional(bool v);
    TRDBlockMode CharBlockMode() const { return FCharBlockMode; }
    void SetCharBlockMode(TRDBlockMode v);
    TColor ColorDotOn() const { return FColorDotOn; }
    void SetColorDotOn(TColor v);
    TColor ColorDotOff() const { return FColorDotOff; }
    void SetColorDotOff(TColor v);
    TColor ColorLabBakG() const { return FColorLabBakG; }
    void SetColorLabBakG(TColor v);
    TFrameStyle FrameStyle() const { return FFrameStyle; }
    void SetFrameStyle(TFrameStyle v);     // values beyond fsEngraved draw no frame
    TColorScheme ColorScheme() const { return FColorScheme; }
    void SetColorScheme(TColorScheme v);
    bool AutoHeight() const { return FAutoHeight; }
    void SetAutoHeight(bool v);
    bool AutoCenter() const { return FAutoCenter; }
    void SetAutoCenter(bool v);
    TRDScrollMode ScrollMode() const { return FScrollMode; }
    void SetScrollMode(TRDScrollMode v);   // values beyond rdsmUp count as rdsmOff
    int ScrollInterval() const { return FScrollInterval; }
    void SetScrollInterval(int v);         // at least 10 ms
    int ScrollIncrement() const { return FScrollIncrement; }
    void SetScrollIncrement(int v);        // 0 becomes 1, negative values their absolute value
    bool ScrollLoop() const { return FScrollLoop; }
    void SetScrollLoop(bool v);            // repaints even when unchanged

    // --- events: each is followed by its signal, scrollTimer() and scrollLoopRestart()
    // Fires after each scroll step and its repaint.
    TNotifyEvent OnScrollTimer;
    // Fires when a looping text restarts at the opposite edge.
    TNotifyEvent OnScrollLoopRestart;

    // --- the character font
    // The current font; writing it replaces the font (FontWidth and FontHeight are kept within
    // 0 .. 32, the columns within 0 .. 31) and lays out and repaints as a font change does.
    const TRDCharMatrix& CharMatrix() const { return FCharMatrix; }
    // Replaces the font by m (see CharMatrix()).
    void SetCharMatrix(const TRDCharMatrix& m);
    // The matrix for a font: the built-in font for no font or the name "default" (any case),
    // otherwise each character scanned from its rendering at (0, 0) in black on white: rows and
    // columns 0..31, every pixel that is not white is a dot. The space then spans the columns
    // 0 .. FontWidth div 2.
    static TRDCharMatrix CreateBitFont(const TFont* Font);
    // The slot (0..255) that shows a character of the text, and the character a slot holds.
    static std::uint8_t CharSlot(char32_t c);
    // The character slot holds in code page 1252 (the undefined 0x81, 0x8D, 0x8F, 0x90, 0x9D
    // give the same code point).
    static char32_t SlotChar(std::uint8_t slot);

    // --- layout and scrolling state
    // Pixels the text takes, the sum of the character advances.
    int TextLength() const;
    // The text length as painting stores it (TextLength() + 1), from the current text and font.
    int PaintedTextLength() const;
    // Horizontal scroll offset in pixels, added to PosX (0 under rdsmOff).
    int ScrollX() const { return FScrollX; }
    // Vertical scroll offset in pixels, added to PosY (0 under rdsmOff).
    int ScrollY() const { return FScrollY; }
    // The scrolling timer, owned by the label (tests drive it by Tick()).
    TWindowTimer* ScrollTimer() const { return FTimer; }
    // Design mode stops the scrolling timer; leaving it lets a scrolling mode run again.
    void SetDesigning(bool v) override;

    void Assign(const QObject* Source) override;
    void AssignTo(QObject* Dest) const override;

    QAccessible::Role AccessibleRole() const override { return QAccessible::StaticText; }
    // Accessibility: static text named by its whole text, wherever the scrolling stands.
    QString AccessibleText() const override { return FText; }

Q_SIGNALS:
    // PosX changed (set, or by AutoCenter); carries the new PosX.
    void posXChanged(int posX);
    // Emitted after OnScrollTimer.
    void scrollTimer();
    // Emitted after OnScrollLoopRestart.
    void scrollLoopRestart();

protected:
    void Paint() override;
    void FontChanged() override;
    void Resized() override;
    // The timer runs only while the label is visible.
    void VisibleChanged() override;
    // The creation size, with the fitted height while AutoHeight is on.
    QSize PreferredSize() const override;

private:
    void PaintRaster(TCanvas* c, qint64 ox, qint64 oy, int p);
    void PaintText(TCanvas* c, qint64 ox, qint64 oy, int p);
    void PaintFrame(TCanvas* c);
    int CharColumns(std::uint8_t slot, int& first) const;
    qint64 TextLength64() const;
    int LayoutFrameWidth() const;
    int AutoHeightValue() const;
    void ApplyAutoHeight();
    void ApplyAutoCenter();
    void FontLayoutChanged();
    void StorePosX(int v);
    void ScrollTick();
    void ScrollStep();
    void Restart(int& offset, qint64 value);
    void UpdateTimer();
    template <class T> void Set(T& field, T v);

    // Filled rectangles l..r-1 x t..b-1 of one colour, drawn in one call (a dot-matrix text is
    // hundreds of small squares).
    class TRectBatch {
    public:
        void Add(int l, int t, int r, int b);
        void Flush(TCanvas* c, TColor color);
    private:
        QVector<QRect> FRects;
    };

    QString FText = QStringLiteral("Text");
    QByteArray FSlots;                     // the text as matrix slots
    int FDotSize = 3;
    int FDotSpacing = 1;
    int FPosX = 1;
    int FPosY = 1;
    bool FProportional = true;
    TRDBlockMode FCharBlockMode = rdbmOn;
    TColor FColorDotOn = 0x00FF00;
    TColor FColorDotOff = 0x404040;
    TColor FColorLabBakG = clBlack;
    TFrameStyle FFrameStyle = fsLowered;
    TColorScheme FColorScheme = csGrayWhite;
    bool FAutoHeight = false;
    QSizePolicy::Policy FVerticalPolicy = QSizePolicy::Preferred;   // to return to after AutoHeight
    bool FAutoCenter = false;
    TRDScrollMode FScrollMode = rdsmOff;
    int FScrollInterval = 100;
    int FScrollIncrement = 1;
    bool FScrollLoop = true;

    TRDCharMatrix FCharMatrix;
    TFont FMatrixFont;                     // the font FCharMatrix was built from
    bool FMatrixFromFont = false;
    int FScrollX = 0;
    int FScrollY = 0;
    bool FTimerEnabled = false;
    TWindowTimer* FTimer = nullptr;
    TRectBatch FBatch;
    TRectBatch FGaps;
};

} // namespace qor
