// TNumIO2: a self-drawn numeric input field with captions, its own caret and selection, optional
// up/down buttons, a freeze check box and a gauge strip along the bottom edge. Every keystroke
// is checked against the input format and refused when it would make the text invalid.
#pragma once

#include "QOR_NumText.h"

#include <QOR_Controls.h>
#include <QOR_Timer.h>
#include <QOR_qorbase.h>

#include <QColor>
#include <QVector>

#include <algorithm>

namespace qor {

class KORVANE_EXPORT EQORNumIO2Error : public EQORError {
public:
    using EQORError::EQORError;
};

// While the gauge is dragged with the left button: GaugeValue is the value at the mouse.
using TOnGaugeChangeEvent = std::function<void(QObject* Sender, TShiftState Shift, double GaugeValue)>;

// The numeric field control. The number box sits LeftSpace pixels from the left, TextBoxWidth
// wide, between LeftText and RightText; the buttons step the value by ButIncrem (or to the
// next of ButtonPivots), the gauge sets it from RangeLow .. RangeHigh by mouse.
class KORVANE_EXPORT TNumIO2 : public TCustomControl {
    Q_OBJECT
public:
    QOR_PROPERTY(qor::QOR_Controls::TAlignment, Alignment)
    QOR_PROPERTY(bool, AutoSize)
    QOR_PROPERTY(bool, Beep)
    QOR_PROPERTY(bool, ButVisible)
    QOR_PROPERTY(bool, But3D)
    QOR_PROPERTY(int, ButHeight)
    QOR_PROPERTY(int, ButWidth)
    QOR_PROPERTY(double, ButIncrem)
    QOR_PROPERTY(int, ButSpace)
    QOR_COLOR_PROPERTY(ButColor)
    QOR_COLOR_PROPERTY(ColorBoxBG)
    QOR_COLOR_PROPERTY(ColorBoxText)
    QOR_COLOR_PROPERTY(ColorOutBG)
    QOR_COLOR_PROPERTY(ColorOutText)
    QOR_COLOR_PROPERTY(ColorWarnBG)
    QOR_COLOR_PROPERTY(ColorWarnText)
    QOR_PROPERTY(qor::QOR_qorbase::TColorScheme, ColorScheme)
    QOR_PROPERTY(qor::QOR_qorbase::TDecPSep, DecPlaceSep)
    QOR_PROPERTY(int, FixPointDecPlaces)
    QOR_PROPERTY(qor::QOR_qorbase::TFrameStyle, FrameStyle)
    QOR_PROPERTY(bool, FreezeBoxVisible)
    QOR_PROPERTY_NOTIFY(bool, FreezeBoxChecked, freezeBoxCheckedChanged)
    QOR_PROPERTY(int, FreezeBoxLeft)
    QOR_PROPERTY(int, FreezeBoxTop)
    QOR_PROPERTY(int, FreezeBoxSize)
    QOR_PROPERTY(bool, GaugeVisible)
    QOR_COLOR_PROPERTY(GaugeColor)
    QOR_COLOR_PROPERTY(GaugeColorBg)
    QOR_COLOR_PROPERTY(GaugeColorFrame)
    QOR_PROPERTY(qor::QOR_qorbase::TFrameStyle, GaugeFrameStyle)
    QOR_PROPERTY(int, GaugeHeight)
    QOR_PROPERTY(int, GaugeWidth)
    QOR_PROPERTY(int, GaugeLeftMargin)
    QOR_PROPERTY(int, GaugeTopMargin)
    QOR_PROPERTY(bool, HideInputEditor)
    QOR_PROPERTY(bool, HideInputOnFreeze)
    QOR_PROPERTY(bool, HideSelection)
    QOR_PROPERTY(qor::QOR_NumIO::TInFormat, InputFormat)
    QOR_PROPERTY(int, LeftSpace)
    QOR_PROPERTY(QString, LeftText)
    QOR_PROPERTY(QString, RightText)
    QOR_PROPERTY(qor::QOR_Controls::TAlignment, LeftTextAlignment)
    QOR_PROPERTY(qor::QOR_Controls::TAlignment, RightTextAlignment)
    QOR_PROPERTY(double, RangeLow)
    QOR_PROPERTY(double, RangeHigh)
    QOR_PROPERTY(bool, ReadOnly)
    QOR_PROPERTY(int, SignificantDigits)
    QOR_PROPERTY_NOTIFY(QString, Text, textChanged)
    QOR_PROPERTY(int, TextBoxWidth)
    QOR_PROPERTY_NOTIFY(double, Value, valueChanged)

    // An empty 160 x 28 field taking the focus by click and tab; the caret blinks while focused.
    explicit TNumIO2(QWidget* AOwner = nullptr);
    ~TNumIO2() override;

    // --- published properties
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool v);
    bool Beep() const { return FBeep; }
    void SetBeep(bool v) { FBeep = v; }
    bool ButVisible() const { return FButVisible; }
    void SetButVisible(bool v);
    bool But3D() const { return FBut3D; }
    void SetBut3D(bool v);
    int ButHeight() const { return FButHeight; }
    void SetButHeight(int v);
    int ButWidth() const { return FButWidth; }
    void SetButWidth(int v);
    double ButIncrem() const { return FButIncrem; }
    void SetButIncrem(double v) { FButIncrem = v; }
    int ButSpace() const { return FButSpace; }
    void SetButSpace(int v);
    TColor ButColor() const { return FButColor; }
    void SetButColor(TColor v);
    TColor ColorBoxBG() const { return FColorBoxBG; }
    void SetColorBoxBG(TColor v);
    TColor ColorBoxText() const { return FColorBoxText; }
    void SetColorBoxText(TColor v);
    TColor ColorOutBG() const { return FColorOutBG; }
    void SetColorOutBG(TColor v);
    TColor ColorOutText() const { return FColorOutText; }
    void SetColorOutText(TColor v);
    TColor ColorWarnBG() const { return FColorWarnBG; }
    void SetColorWarnBG(TColor v);
    TColor ColorWarnText() const { return FColorWarnText; }
    void SetColorWarnText(TColor v);
    TColorScheme ColorScheme() const { return FColorScheme; }
    void SetColorScheme(TColorScheme v);
    TDecPSep DecPlaceSep() const { return FDecPlaceSep; }
    void SetDecPlaceSep(TDecPSep v);
    int FixPointDecPlaces() const { return FFixPointDecPlaces; }
    void SetFixPointDecPlaces(int v);
    TFrameStyle FrameStyle() const { return FFrameStyle; }
    void SetFrameStyle(TFrameStyle v);
    bool FreezeBoxVisible() const { return FFreezeBoxVisible; }
    void SetFreezeBoxVisible(bool v);
    bool FreezeBoxChecked() const { return FFreezeBoxChecked; }
    void SetFreezeBoxChecked(bool v);
    int FreezeBoxLeft() const { return FFreezeBoxLeft; }
    void SetFreezeBoxLeft(int v);
    int FreezeBoxTop() const { return FFreezeBoxTop; }
    void SetFreezeBoxTop(int v);
    int FreezeBoxSize() const { return FFreezeBoxSize; }
    void SetFreezeBoxSize(int v);
    bool GaugeVisible() const { return FGaugeVisible; }
    void SetGaugeVisible(bool v);
    TColor GaugeColor() const { return FGaugeColor; }
    void SetGaugeColor(TColor v);
    TColor GaugeColorBg() const { return FGaugeColorBg; }
    void SetGaugeColorBg(TColor v);
    TColor GaugeColorFrame() const { return FGaugeColorFrame; }
    void SetGaugeColorFrame(TColor v);
    TFrameStyle GaugeFrameStyle() const { return FGaugeFrameStyle; }
    void SetGaugeFrameStyle(TFrameStyle v);
    int GaugeHeight() const { return FGaugeHeight; }
    void SetGaugeHeight(int v);
    int GaugeWidth() const { return FGaugeWidth; }
    void SetGaugeWidth(int v);
    int GaugeLeftMargin() const { return FGaugeLeftMargin; }
    void SetGaugeLeftMargin(int v);
    int GaugeTopMargin() const { return FGaugeTopMargin; }
    void SetGaugeTopMargin(int v);
    bool HideInputEditor() const { return FHideInputEditor; }
    void SetHideInputEditor(bool v);
    bool HideInputOnFreeze() const { return FHideInputOnFreeze; }
    void SetHideInputOnFreeze(bool v) { FHideInputOnFreeze = v; }
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool v);
    TInFormat InputFormat() const { return FInputFormat; }
    void SetInputFormat(TInFormat v);
    int LeftSpace() const { return FLeftSpace; }
    void SetLeftSpace(int v);
    QString LeftText() const { return FLeftText; }
    void SetLeftText(const QString& v);
    QString RightText() const { return FRightText; }
    void SetRightText(const QString& v);
    TAlignment LeftTextAlignment() const { return FLeftTextAlignment; }
    void SetLeftTextAlignment(TAlignment v);
    TAlignment RightTextAlignment() const { return FRightTextAlignment; }
    void SetRightTextAlignment(TAlignment v);
    double RangeLow() const { return FRangeLow; }
    void SetRangeLow(double v);
    double RangeHigh() const { return FRangeHigh; }
    void SetRangeHigh(double v);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v);
    int SignificantDigits() const { return FSignificantDigits; }
    void SetSignificantDigits(int v);
    QString Text() const { return FBuffer; }
    void SetText(const QString& v);
    int TextBoxWidth() const { return FTextBoxWidth; }
    void SetTextBoxWidth(int v);
    // The buffer converted for the current format / the value rendered into the buffer.
    double Value() const;
    void SetValue(double v);

    // --- public members
    // Value rounded; EQORNumIO2Error "integer overflow" outside the 32-bit range.
    int IntegerValue() const;
    // 0 over the left caption, 1 over the number box, 2 right of it.
    int MouseAreaCode() const { return FMouseAreaCode; }
    // Overrides the area code until the mouse moves again.
    void SetMouseAreaCode(int v) { FMouseAreaCode = v; }
    // Start of the selection, a character offset 0 .. length of Text.
    int SelBegin() const { return FSelBegin; }
    // Moves the selection start and the caret to v (clamped into the text); SelEnd follows
    // when it would lie before it.
    void SetSelBegin(int v);
    // End of the selection (exclusive), a character offset SelBegin .. length of Text.
    int SelEnd() const { return FSelEnd; }
    // Moves the selection end and the caret to v (clamped into the text); SelBegin follows
    // when it would lie after it.
    void SetSelEnd(int v);
    // Caret position, a character offset 0 .. length of Text.
    int CaretPos() const { return FCaret; }
    // Whether the blinking caret is drawn at this moment.
    bool CaretVisible() const { return FCaretVisible; }
    // Preferred values of the buttons and the gauge (empty: plain steps and free gauge).
    QVector<double> ButtonPivots;
    // The check of the current input format applied to a text.
    bool CheckValidity(const QString& Instring) const;
    // Whether Value lies outside RangeLow .. RangeHigh (the field then shows the warning colours).
    bool OutOfRange() const;
    // Takes the keyboard focus and, unless read-only, starts the caret blinking.
    void SetFocus();
    // Fires OnChange.
    void Changed();
    void Assign(const QObject* Source) override;
    void AssignTo(QObject* Dest) const override;

    // Pixel position of a character offset and the offset nearest to a pixel column.
    int CharPosToXCoords(int CharPos);
    // Character offset 0 .. length of Text nearest to pixel column X (0 for an empty text).
    int XCoordsToCharPos(int X);
    // The caret timer (tests drive it by Tick()).
    TWindowTimer* CaretTimer() const { return FCaretTimer; }

    // Fires when the user changed the number (a keystroke, a button step, a gauge drag on
    // release, an assistive edit) or clicked the freeze box; then changed().
    TNotifyEvent OnChange;
    // Fires on each move of a gauge drag, with the new value; then gaugeChange().
    TOnGaugeChangeEvent OnGaugeChange;

    // Accessibility: a spin box named by its captions, whose text is the number as shown
    // (caret and selection included; edits are checked as typing is) and whose value is Value
    // in RangeLow .. RangeHigh; a value set from outside is clamped to the range as the buttons
    // clamp it and fires OnChange. The captions are parts that label the field, the freeze
    // box is a check box part that toggles as a click does.
    QAccessible::Role AccessibleRole() const override { return QAccessible::SpinBox; }
    QString AccessibleName() const override;
    bool AccessibleShowsText() const override { return true; }
    // The number as shown; empty while HideInputEditor is set.
    QString AccessibleText() const override { return FHideInputEditor ? QString() : FBuffer; }
    int AccessibleCaret() const override { return FCaret; }
    // SelBegin and SelEnd (both 0 while HideInputEditor is set).
    void AccessibleTextSelection(int& Start, int& End) const override;
    // Selects Start .. End (either order, clamped into the text) with the caret at End.
    void SetAccessibleTextSelection(int Start, int End) override;
    QRect AccessibleCharRect(int Offset) const override;
    bool AccessibleEditable() const override { return true; }
    // Replaces the characters Start .. End by s as typing would; false (and a beep when Beep
    // is set) when read-only or the result is no (start of a) number of the format.
    bool ReplaceAccessibleText(int Start, int End, const QString& s) override;
    bool AccessibleValue(TAccessibleValue& v) const override;
    // Sets Value to v clamped into RangeLow .. RangeHigh, then OnChange when the text changed;
    // ignored for NaN or a read-only field.
    void SetAccessibleValue(double v) override;
    void AccessibleState(QAccessible::State& s) const override { s.readOnly = FReadOnly; }
    QString AccessibleWarning() const override;
    int AccessiblePartCount() const override { return int(AccessibleParts().size()); }
    // The caption or freeze box part Index (an empty part outside the count).
    TAccessiblePart AccessiblePart(int Index) const override;
    // Any action on the freeze box part clicks it (when enabled); other parts have none.
    void DoAccessiblePartAction(int Index, const QString& Action) override;

Q_SIGNALS:
    // After OnChange / OnGaugeChange.
    void changed();
    // Emitted after OnGaugeChange, with the same arguments.
    void gaugeChange(qor::TShiftState shift, double gaugeValue);
    // The text changed, by the user or a setter; carries the new text.
    void textChanged(const QString& text);
    // The value of the text changed, by the user or a setter; carries the new value.
    void valueChanged(double value);
    // The freeze box was checked or unchecked, by a click or SetFreezeBoxChecked.
    void freezeBoxCheckedChanged(bool checked);

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void Click() override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void Resized() override;

private:
    static constexpr int CaretBlinkMs = 500;
    void StartCaretTimer();
    void CaretTimerStep();
    // True when the field used the key (an edit, a move, a refused character).
    bool EditKey(WORD Key, TShiftState Shift);
    // Emits textChanged / valueChanged when the buffer differs from Old.
    void ReportTextChange(const QString& Old);
    // Deletes the selected characters; the caret and both ends go to its start.
    void DeleteSelection();
    void InsertText(const QString& s);
    double ValueOfText(const QString& s) const;
    QString TextOfValue(double v) const;
    int GaugeReserve() const;
    double GaugeValueAt(int X) const;
    double SnapToPivot(double v) const;
    int NearestPivot(double v) const;
    void StepButton(bool up);
    // The freeze box clicked: frozen is read-only (and hidden with HideInputOnFreeze); OnChange.
    void ToggleFreeze();
    // Tells a reader where the caret and the selection went, when they moved.
    void ReportCaret(int OldCaret, int OldSelBegin, int OldSelEnd);
    enum class TPart : std::uint8_t { LeftCaption, RightCaption, FreezeBox };
    QVector<TPart> AccessibleParts() const;
    int FreezeBoxX() const;
    void BoxFrame(TCanvas* c, int l, int t, int r, int b, bool flag);
    void DrawCaption(TCanvas* c, const QString& s, int x, int y);
    void PrepareFont();
    int TextW(const QString& s);
    TColor GrayLine() const;
    TColor WhiteLine() const;

    TAlignment FAlignment = taCenter;
    bool FAutoSize = false;
    bool FBeep = false;
    bool FButVisible = false;
    bool FBut3D = true;
    int FButHeight = 28;
    int FButWidth = 18;
    double FButIncrem = 1.0;
    int FButSpace = 3;
    TColor FButColor = clSilver;
    TColor FColorBoxBG = clWhite;
    TColor FColorBoxText = clBlack;
    TColor FColorOutBG = clBtnFace;
    TColor FColorOutText = clBlack;
    TColor FColorWarnBG = TColor(0x6088FFF0);
    TColor FColorWarnText = clRed;
    TColorScheme FColorScheme = csGrayWhite;
    TDecPSep FDecPlaceSep = dpsBoth;
    int FFixPointDecPlaces = 2;
    TFrameStyle FFrameStyle = fsLowered;
    bool FFreezeBoxVisible = false;
    bool FFreezeBoxChecked = false;
    int FFreezeBoxLeft = 30;
    int FFreezeBoxTop = 4;
    int FFreezeBoxSize = 16;
    bool FGaugeVisible = false;
    TColor FGaugeColor = clNavy;
    TColor FGaugeColorBg = clSilver;
    TColor FGaugeColorFrame = clGray;
    TFrameStyle FGaugeFrameStyle = fsLowered;
    int FGaugeHeight = 8;
    int FGaugeWidth = 82;
    int FGaugeLeftMargin = 35;
    int FGaugeTopMargin = 3;
    bool FHideInputEditor = false;
    bool FHideInputOnFreeze = false;
    bool FHideSelection = true;
    TInFormat FInputFormat = itFloat;
    int FLeftSpace = 35;
    QString FLeftText, FRightText;
    TAlignment FLeftTextAlignment = taRightJustify;
    TAlignment FRightTextAlignment = taLeftJustify;
    double FRangeLow = 0.0;
    double FRangeHigh = 1000.0;
    bool FReadOnly = false;
    int FSignificantDigits = 6;
    int FTextBoxWidth = 80;

    QString FBuffer;
    int FCaret = 0;
    bool FCaretVisible = false;
    int FSelBegin = 0;
    int FSelEnd = 0;
    int FMouseAreaCode = 0;
    bool FGaugeChanged = false;
    TWindowTimer* FCaretTimer = nullptr;
};

} // namespace qor
