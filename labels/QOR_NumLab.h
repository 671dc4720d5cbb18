// TNumLab: one number in a framed value field, with a text on its left (a caption) and on its
// right (a unit). It accepts no input.
//
// Areas, left to right: the left text area (x 0 .. LeftSpace), the value field (LeftSpace + 1 ..
// LeftSpace + LabelWidth, rows 0 .. Height - 2, frame included) and the right text area.
//
// Value text, with p = Precision (0 .. 15), made by NumLabValueText:
//   dtFloat      "%.<p>g": the shorter of fixed and scientific with p significant digits
//                (1 for p = 0): 3.14159 -> "3.14", 1234567 -> "1.23E6"
//   dtFixP       "%.<p>f": fixed with p decimals: "-3.14"
//   dtExp        "%.<p>e": p digits in all (1 for p = 0), exponent sign, three digits: "1.23E+003"
//   dtInt        the value rounded (halves to even): 2.5 -> "2", 3.5 -> "4"
//   dtZeroInt    the rounded value with at least p digits, zero-padded: p = 4: "0042", "-0042"
//   dtHex        the rounded value in upper-case hexadecimal with at least p digits,
//                zero-padded; a negative value is "-" and the digits of its magnitude: p = 4:
//                255 -> "00FF", -255 -> "-00FF"
//   dtOct, dtBin as dtHex in base 8 and 2
//   dtDateTime   FormatDateTime(DTFormat, Value) (QOR_DateUtils.h): "Mar-05, 2024"
//   dtState      StateText
//   dtDeg        degrees with p decimals: p = 2: "12.51°"
//   dtDegMin     whole degrees and minutes with p decimals, two integer digits: "12°30.60′"
//   dtDegMinSec  whole degrees, whole minutes, seconds with p decimals: "12°30′36.00″"
//                (the angle is rounded at its last shown digit, so 59.999′ carries into the
//                degrees; a negative angle has one "-" in front)
//   dtEEng       engineering notation: a mantissa m with 1 <= |m| < 1000 and p significant
//                digits (never fewer than its integer digits), "E", the exponent (a multiple
//                of 3) with sign and three digits: p = 3: 1234.5 -> "1.23E+003",
//                12345 -> "12.3E+003", 0.00012345 -> "123E-006", 0 -> "0.00E+000"; the
//                digits count after rounding: 9.997 -> "10.0E+000", 999.7 -> "1.00E+003"
//   dtEEngNoDP   as dtEEng with the mantissa rounded to a whole number: 12345 -> "12E+003"
// A value the display type cannot show as a number gives OverflowIndicator: NaN, infinities,
// values that do not round into -2^63 .. 2^63 - 1 for the integer types (dtInt, dtZeroInt,
// dtHex, dtOct, dtBin), magnitudes of 2^63 and more for the degree types, and dates outside
// the years 1 .. 9999. The floating types (dtFloat, dtFixP, dtExp, dtEEng, dtEEngNoDP) show
// NaN and infinities as "NAN", "INF", "-INF".
// Then, except for dtHex, dtDateTime, dtState and dtBin: every "," becomes "." (with Comma every
// "." becomes ","), and with ForcePlusSign a value above 0 gets a leading "+". The component
// then fires OnBeforeDisplay, and shows OverflowIndicator instead of a text wider than
// LabelWidth - 6 pixels (not for dtState). With Empty the field holds no text.
//
// Field: filled with ColorLabBakG and outlined in the pen of ColorScheme's grey line colour
// (its white line colour for fsEmbossed, ColorLabBakG for fsNone), then framed by DrawFrame
// with white, $C0C0C0, $808080, black and black. The frame's rings lie on that outline for
// every style, so ColorScheme does not change the picture.
//
// Transparent: the outer area shows the parent. The control is painted as the opaque one with a
// white outer background, then the value field (LeftSpace + 2 .. LeftSpace + LabelWidth - 1,
// rows 2 .. Height - 3) is combined by bitwise AND with white when ColorLabText is not black,
// else with ColorLabBakG; everywhere else white becomes see-through, and every other pixel
// keeps its colour with the white taken out (grey text edges blend with the parent as they
// would by AND; a black pixel stays black).
//
// Accessibility: static text named by what it shows: LeftText, the value text as drawn (after
// OnBeforeDisplay and the width check) and RightText.
#pragma once

#include <QOR_Controls.h>
#include <QOR_Graphics.h>
#include <QOR_qorbase.h>

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

namespace qor {

inline namespace QOR_NumLab {
Q_NAMESPACE_EXPORT(KORVANE_EXPORT)
// How the value is rendered as text (see the list above).
enum TDisplay : std::uint8_t { dtFloat, dtFixP, dtExp, dtHex, dtZeroInt, dtInt, dtDateTime, dtState,
                               dtBin, dtOct, dtDeg, dtDegMin, dtDegMinSec, dtEEng, dtEEngNoDP };
Q_ENUM_NS(TDisplay)
} // namespace QOR_NumLab

// Before the value text is measured and drawn: Text may be changed.
using TBeforeDisplayEvent = std::function<void(QObject* Sender, QString& Text)>;

// The settings the value text depends on, with the component's defaults.
struct TNumLabTextSettings {
    TDisplay DisplayType = dtFixP;                          // how the value is rendered
    int Precision = 2;                                      // digits or decimals p, 0 .. 15
    bool Comma = false;                                     // "," instead of "." as separator
    bool ForcePlusSign = false;                             // "+" in front of a value above 0
    QString DTFormat = QStringLiteral("mmm-dd, yyyy");      // date/time format of dtDateTime
    QString StateText = QStringLiteral("undefined");        // the whole text of dtState
    QString OverflowIndicator = QStringLiteral("*********"); // shown for what cannot be shown
};

// The value text of a number (above), before OnBeforeDisplay and the width check. Pure: it reads
// nothing but its arguments and the process-wide format settings.
KORVANE_EXPORT QString NumLabValueText(double Value, const TNumLabTextSettings& Settings);

// The number label control (see above).
class KORVANE_EXPORT TNumLab : public TGraphicControl {
    Q_OBJECT
public:
    QOR_PROPERTY(double, Value)
    QOR_PROPERTY(qor::QOR_NumLab::TDisplay, DisplayType)
    QOR_PROPERTY(int, Precision)
    QOR_PROPERTY(bool, Comma)
    QOR_PROPERTY(bool, ForcePlusSign)
    QOR_PROPERTY(bool, Empty)
    QOR_PROPERTY(QString, OverflowIndicator)
    QOR_PROPERTY(QString, DTFormat)
    QOR_PROPERTY(QString, StateText)
    QOR_PROPERTY(QString, LeftText)
    QOR_PROPERTY(QString, RightText)
    QOR_PROPERTY(int, LeftSpace)
    QOR_PROPERTY(int, LabelWidth)
    QOR_PROPERTY(qor::QOR_Controls::TAlignment, Alignment)
    QOR_PROPERTY(qor::QOR_Controls::TAlignment, LeftTextAlignment)
    QOR_PROPERTY(qor::QOR_Controls::TAlignment, RightTextAlignment)
    QOR_COLOR_PROPERTY(ColorLabText)
    QOR_COLOR_PROPERTY(ColorLabBakG)
    QOR_COLOR_PROPERTY(ColorOutText)
    QOR_COLOR_PROPERTY(ColorOutBakG)
    QOR_PROPERTY(qor::QOR_qorbase::TFrameStyle, FrameStyle)
    QOR_PROPERTY(qor::QOR_qorbase::TColorScheme, ColorScheme)
    QOR_PROPERTY(bool, Transparent)

    // A 160 x 28 label showing 0 as "0.00".
    explicit TNumLab(QWidget* AOwner = nullptr);
    ~TNumLab() override;

    // --- published properties
    double Value() const { return FValue; }
    void SetValue(double v);
    TDisplay DisplayType() const { return FText.DisplayType; }
    void SetDisplayType(TDisplay v);
    int Precision() const { return FText.Precision; }
    void SetPrecision(int v);              // negative values ignored, above 15 -> 15
    bool Comma() const { return FText.Comma; }
    void SetComma(bool v);
    bool ForcePlusSign() const { return FText.ForcePlusSign; }
    void SetForcePlusSign(bool v);
    bool Empty() const { return FEmpty; }
    void SetEmpty(bool v);
    QString OverflowIndicator() const { return FText.OverflowIndicator; }
    void SetOverflowIndicator(const QString& v);
    QString DTFormat() const { return FText.DTFormat; }
    void SetDTFormat(const QString& v);
    QString StateText() const { return FText.StateText; }
    void SetStateText(const QString& v);
    QString LeftText() const { return FLeftText; }
    void SetLeftText(const QString& v);
    QString RightText() const { return FRightText; }
    void SetRightText(const QString& v);
    int LeftSpace() const { return FLeftSpace; }
    void SetLeftSpace(int v);              // negative values ignored, above Width -> Width
    int LabelWidth() const { return FLabelWidth; }
    void SetLabelWidth(int v);             // negative values ignored, at most 65535
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    TAlignment LeftTextAlignment() const { return FLeftTextAlignment; }
    void SetLeftTextAlignment(TAlignment v);
    TAlignment RightTextAlignment() const { return FRightTextAlignment; }
    void SetRightTextAlignment(TAlignment v);
    TColor ColorLabText() const { return FColorLabText; }
    void SetColorLabText(TColor v);
    TColor ColorLabBakG() const { return FColorLabBakG; }
    void SetColorLabBakG(TColor v);
    TColor ColorOutText() const { return FColorOutText; }
    void SetColorOutText(TColor v);
    TColor ColorOutBakG() const { return FColorOutBakG; }
    void SetColorOutBakG(TColor v);
    TFrameStyle FrameStyle() const { return FFrameStyle; }
    void SetFrameStyle(TFrameStyle v);
    TColorScheme ColorScheme() const { return FColorScheme; }
    void SetColorScheme(TColorScheme v);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);

    // 0 over the left area, 1 when the last mouse move had x > LeftSpace, 2 when
    // x > LeftSpace + LabelWidth.
    int MouseAreaCode() const { return FMouseAreaCode; }
    // The value text as the settings make it (before OnBeforeDisplay and the width check).
    QString ValueText() const;

    // May change the value text before it is measured and drawn.
    TBeforeDisplayEvent OnBeforeDisplay;

    // Copies every published setting of another TNumLab except Comma, ForcePlusSign, DTFormat,
    // Enabled and the event.
    void Assign(const QObject* Source) override;
    void AssignTo(QObject* Dest) const override;

    QAccessible::Role AccessibleRole() const override { return QAccessible::StaticText; }
    // LeftText, the value text as drawn and RightText, trimmed, the empty ones left out,
    // joined by blanks.
    QString AccessibleText() const override;

protected:
    void Paint() override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    // Layouts keep the value field whole: LeftSpace + LabelWidth + 1 wide, a text line high.
    QSize MinimumDrawSize() const override;

private:
    template <class T> void Set(T& field, T v);
    void Changed();
    void TextChanged();
    void PaintSideText(TCanvas* c, const QString& s, int x, int y, bool rightJustifiedRight);
    void PaintValueField(TCanvas* c);
    void PaintValueText(TCanvas* c, int y);
    // The value text as drawn: after OnBeforeDisplay, the overflow indicator when too wide.
    QString ShownValueText(const std::function<int(const QString&)>& TextWidth) const;
    void ApplyTransparency();

    double FValue = 0.0;
    TNumLabTextSettings FText;
    bool FEmpty = false;
    QString FLeftText;
    QString FRightText;
    int FLeftSpace = 35;
    int FLabelWidth = 80;
    TAlignment FAlignment = taCenter;
    TAlignment FLeftTextAlignment = taRightJustify;
    TAlignment FRightTextAlignment = taLeftJustify;
    TColor FColorLabText = clBlack;
    TColor FColorLabBakG = clBtnFace;
    TColor FColorOutText = clBlack;
    TColor FColorOutBakG = clBtnFace;
    TFrameStyle FFrameStyle = fsLowered;
    TColorScheme FColorScheme = csGrayWhite;
    bool FTransparent = false;
    int FMouseAreaCode = 0;
};

} // namespace qor
