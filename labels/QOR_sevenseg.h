// TSevenSeg: a short text as a row of slanted seven-segment digits.
//
// Each glyph of SevenSegCharList is composed once at 312 x 432 pixels from the six segment
// shapes of the library's resources (SEGVERT, SEGHORZ, SEGDOT, SEGPLUS, SEGDEG, SEGCOLON),
// coloured by flood fill, and scaled down smoothly into one cell of the glyph strip. Painting
// only copies strip cells. The strip is rebuilt when one of its inputs differs from the last
// build: the control's size and device pixel ratio, ColorText, ColorBackGnd (as resolved
// colours), Margin, InterDigDist and NumDigits; never for the caption. It is brought up to date
// when the control paints (or GlyphStrip() is asked), so several changes in a row cost one
// rebuild. A white ColorText is drawn as $FEFEFE, which the composition can tell from the white
// working canvas.
//
// Cells: with w = (Width - 2 Margin) div NumDigits - InterDigDist and h = Height - 2 Margin,
// digit cell n (from 0) lies at x = Margin + n (InterDigDist + w), y = Margin, w x h. The strip
// holds the 21 glyphs side by side at the device pixel ratio (21 w x h at ratio 1).
//
// Caption: read from its first character, one cell at a time, until NumDigits cells are used:
// "." or "," is an empty cell with a decimal point; any other character takes the point of a
// "." or "," right after it, which is then skipped ("12.5" is three cells: 1, 2 with point, 5;
// ".5" is an empty cell with point, then 5). Letters are looked up in upper case; a character
// not in the list is an empty cell.
//
// Accessibility: static text named by its caption.
#pragma once

#include <QOR_Controls.h>
#include <QOR_Graphics.h>
#include <QOR_qorbase.h>

#include <QImage>
#include <QObject>
#include <QString>
#include <QVector>
#include <array>
#include <memory>

namespace qor {

// The glyphs of the strip, in cell order (glyph k from 1 has cell k).
inline constexpr char16_t SevenSegCharList[] = u"0123456789-+:\u00B0ABCDEF.";
// Number of glyphs in SevenSegCharList, and of cells in the glyph strip.
inline constexpr int SevenSegGlyphCount = 21;

// One digit cell as the caption gives it: Glyph is the index (0 .. 20) into SevenSegCharList,
// -1 for an empty cell; Point a decimal point in the cell.
struct TSevenSegCell {
    int Glyph = -1;                        // index into SevenSegCharList, -1 for an empty cell
    bool Point = false;                    // the cell's decimal point is lit
    // Equal when glyph and point are equal.
    bool operator==(const TSevenSegCell& o) const { return Glyph == o.Glyph && Point == o.Point; }
};

// The cells a caption fills, at most NumDigits of them (rules above).
KORVANE_EXPORT QVector<TSevenSegCell> SevenSegCells(const QString& Caption, int NumDigits);

// The seven-segment display control (see above).
class KORVANE_EXPORT TSevenSeg : public TGraphicControl {
    Q_OBJECT
public:
    QOR_PROPERTY(QString, Caption)
    QOR_PROPERTY(int, NumDigits)
    QOR_COLOR_PROPERTY(ColorText)
    QOR_COLOR_PROPERTY(ColorBackGnd)
    QOR_PROPERTY(int, Margin)
    QOR_PROPERTY(int, InterDigDist)
    QOR_PROPERTY(qor::QOR_qorbase::TFrameStyle, FrameStyle)
    QOR_PROPERTY(qor::QOR_qorbase::TColorScheme, ColorScheme)

    // A 216 x 76 display of four red digits on dark grey, showing "8.8.8.8.".
    explicit TSevenSeg(QWidget* AOwner = nullptr);
    ~TSevenSeg() override;

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& v);
    int NumDigits() const { return FNumDigits; }
    void SetNumDigits(int v);              // 1 .. 32, other values ignored
    TColor ColorText() const { return FColorText; }
    void SetColorText(TColor v);
    TColor ColorBackGnd() const { return FColorBackGnd; }
    void SetColorBackGnd(TColor v);
    int Margin() const { return FMargin; }
    void SetMargin(int v);                 // negative values ignored, at most Height div 2 - 1
    int InterDigDist() const { return FInterDigDist; }
    void SetInterDigDist(int v);           // negative values ignored, 256 and more -> 255
    TFrameStyle FrameStyle() const { return FFrameStyle; }
    void SetFrameStyle(TFrameStyle v);
    TColorScheme ColorScheme() const { return FColorScheme; }
    void SetColorScheme(TColorScheme v);

    // Cell size in logical pixels (w and h above; 0 when the control leaves no room).
    int CellWidth() const;
    // Cell height h = Height - 2 Margin, in logical pixels (0 when there is no room).
    int CellHeight() const;
    // The glyph strip, brought up to date first; null when the cells have no room.
    const QImage& GlyphStrip() const;
    // How many times the strip was built (for tests and diagnostics).
    int GlyphStripBuilds() const { return FStripBuilds; }

    // Copies colours, digit count, caption, frame style, colour scheme, margin and gap.
    void Assign(const QObject* Source) override;
    void AssignTo(QObject* Dest) const override;

    QAccessible::Role AccessibleRole() const override { return QAccessible::StaticText; }
    // The caption as written.
    QString AccessibleText() const override { return FCaption; }

protected:
    void Paint() override;
    // Layouts leave every digit cell at least one pixel: 2 Margin + NumDigits (1 +
    // InterDigDist) wide, 2 Margin + 1 high.
    QSize MinimumDrawSize() const override;

private:
    struct TStripKey {
        QSize Size;
        qreal Ratio = 0;
        int Margin = 0, Gap = 0, Digits = 0;
        TColor Text = 0, Back = 0;
        bool operator==(const TStripKey&) const = default;
    };
    struct TShapes;
    TStripKey CurrentKey() const;
    void BuildStrip() const;
    void ColourShapes() const;
    void ComposeGlyph(QChar ch, bool point) const;
    template <class T> void Set(T& field, T v);
    template <class T> void SetLayout(T& field, T v);

    QString FCaption = QStringLiteral("8.8.8.8.");
    int FNumDigits = 4;
    TColor FColorText = clRed;
    TColor FColorBackGnd = 0x333333;
    int FMargin = 8;
    int FInterDigDist = 2;
    TFrameStyle FFrameStyle = fsLowered;
    TColorScheme FColorScheme = csGrayWhite;

    std::unique_ptr<TShapes> FShapes;     // segment bitmaps and the glyph canvas
    mutable QImage FStrip;
    mutable TStripKey FStripKey;
    mutable bool FStripValid = false;
    mutable int FStripBuilds = 0;
};

} // namespace qor
