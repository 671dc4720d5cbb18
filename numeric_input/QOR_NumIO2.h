// TNumIO2: a self-drawn numeric input field with captions, its own caret and selection, optional
// up/down buttons, a freeze check box and a gauge strip along the bottom edge. Every keystroke
// is checked against the input format and refused when it would make the text invalid.
#pragma once

#include "QOR_NumIO.h"

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

using TOnGaugeChangeEvent = std::function<void(QObject* Sender, TShiftState Shift, double GaugeValue)>;

class KORVANE_EXPORT TNumIO2 : public TCustomControl {
    Q_OBJECT
    Q_PROPERTY(int Alignment READ AlignmentOrd WRITE SetAlignmentOrd)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(bool Beep READ Beep WRITE SetBeep)
    Q_PROPERTY(bool ButVisible READ ButVisible WRITE SetButVisible)
    Q_PROPERTY(bool But3D READ But3D WRITE SetBut3D)
    Q_PROPERTY(int ButHeight READ ButHeight WRITE SetButHeight)
    Q_PROPERTY(int ButWidth READ ButWidth WRITE SetButWidth)
    Q_PROPERTY(double ButIncrem READ ButIncrem WRITE SetButIncrem)
    Q_PROPERTY(int ButSpace READ ButSpace WRITE SetButSpace)
    Q_PROPERTY(QColor ButColor READ ButColorQ WRITE SetButColorQ)
    Q_PROPERTY(QColor ColorBoxBG READ ColorBoxBGQ WRITE SetColorBoxBGQ)
    Q_PROPERTY(QColor ColorBoxText READ ColorBoxTextQ WRITE SetColorBoxTextQ)
    Q_PROPERTY(QColor ColorOutBG READ ColorOutBGQ WRITE SetColorOutBGQ)
    Q_PROPERTY(QColor ColorOutText READ ColorOutTextQ WRITE SetColorOutTextQ)
    Q_PROPERTY(QColor ColorWarnBG READ ColorWarnBGQ WRITE SetColorWarnBGQ)
    Q_PROPERTY(QColor ColorWarnText READ ColorWarnTextQ WRITE SetColorWarnTextQ)
    Q_PROPERTY(int ColorScheme READ ColorSchemeOrd WRITE SetColorSchemeOrd)
    Q_PROPERTY(int DecPlaceSep READ DecPlaceSepOrd WRITE SetDecPlaceSepOrd)
    Q_PROPERTY(int FixPointDecPlaces READ FixPointDecPlaces WRITE SetFixPointDecPlaces)
    Q_PROPERTY(int FrameStyle READ FrameStyleOrd WRITE SetFrameStyleOrd)
    Q_PROPERTY(bool FreezeBoxVisible READ FreezeBoxVisible WRITE SetFreezeBoxVisible)
    Q_PROPERTY(bool FreezeBoxChecked READ FreezeBoxChecked WRITE SetFreezeBoxChecked)
    Q_PROPERTY(int FreezeBoxLeft READ FreezeBoxLeft WRITE SetFreezeBoxLeft)
    Q_PROPERTY(int FreezeBoxTop READ FreezeBoxTop WRITE SetFreezeBoxTop)
    Q_PROPERTY(int FreezeBoxSize READ FreezeBoxSize WRITE SetFreezeBoxSize)
    Q_PROPERTY(bool GaugeVisible READ GaugeVisible WRITE SetGaugeVisible)
    Q_PROPERTY(QColor GaugeColor READ GaugeColorQ WRITE SetGaugeColorQ)
    Q_PROPERTY(QColor GaugeColorBg READ GaugeColorBgQ WRITE SetGaugeColorBgQ)
    Q_PROPERTY(QColor GaugeColorFrame READ GaugeColorFrameQ WRITE SetGaugeColorFrameQ)
    Q_PROPERTY(int GaugeFrameStyle READ GaugeFrameStyleOrd WRITE SetGaugeFrameStyleOrd)
    Q_PROPERTY(int GaugeHeight READ GaugeHeight WRITE SetGaugeHeight)
    Q_PROPERTY(int GaugeWidth READ GaugeWidth WRITE SetGaugeWidth)
    Q_PROPERTY(int GaugeLeftMargin READ GaugeLeftMargin WRITE SetGaugeLeftMargin)
    Q_PROPERTY(int GaugeTopMargin READ GaugeTopMargin WRITE SetGaugeTopMargin)
    Q_PROPERTY(bool HideInputEditor READ HideInputEditor WRITE SetHideInputEditor)
    Q_PROPERTY(bool HideInputOnFreeze READ HideInputOnFreeze WRITE SetHideInputOnFreeze)
    Q_PROPERTY(bool HideSelection READ HideSelection WRITE SetHideSelection)
    Q_PROPERTY(int InputFormat READ InputFormatOrd WRITE SetInputFormatOrd)
    Q_PROPERTY(int LeftSpace READ LeftSpace WRITE SetLeftSpace)
    Q_PROPERTY(QString LeftText READ LeftText WRITE SetLeftText)
    Q_PROPERTY(QString RightText READ RightText WRITE SetRightText)
    Q_PROPERTY(int LeftTextAlignment READ LeftTextAlignmentOrd WRITE SetLeftTextAlignmentOrd)
    Q_PROPERTY(int RightTextAlignment READ RightTextAlignmentOrd WRITE SetRightTextAlignmentOrd)
    Q_PROPERTY(double RangeLow READ RangeLow WRITE SetRangeLow)
    Q_PROPERTY(double RangeHigh READ RangeHigh WRITE SetRangeHigh)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(int SignificantDigits READ SignificantDigits WRITE SetSignificantDigits)
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(int TextBoxWidth READ TextBoxWidth WRITE SetTextBoxWidth)
    Q_PROPERTY(double Value READ Value WRITE SetValue)

public:
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
    void SetMouseAreaCode(int v) { FMouseAreaCode = v; }
    int SelBegin() const { return FSelBegin; }
    void SetSelBegin(int v);
    int SelEnd() const { return FSelEnd; }
    void SetSelEnd(int v);
    int CaretPos() const { return FCaret; }
    bool CaretVisible() const { return FCaretVisible; }
    // Preferred values of the buttons and the gauge (empty: plain steps and free gauge).
    QVector<double> ButtonPivots;
    // The check of the current input format applied to a text.
    bool CheckValidity(const QString& Instring) const;
    bool OutOfRange() const;
    void SetFocus();
    // Fires OnChange.
    void Changed();
    void Assign(const QObject* Source) override;
    void AssignTo(QObject* Dest) const override;

    // Pixel position of a character offset and the offset nearest to a pixel column.
    int CharPosToXCoords(int CharPos);
    int XCoordsToCharPos(int X);
    // The caret timer (tests drive it by Tick()).
    TWindowTimer* CaretTimer() const { return FCaretTimer; }

    TNotifyEvent OnChange;
    TOnGaugeChangeEvent OnGaugeChange;

    QSize sizeHint() const override { return QSize(160, 28); }

    // QColor and ordinal faces of the properties for Designer and .ui files.
    QColor ButColorQ() const { return ToQColor(FButColor); }
    void SetButColorQ(const QColor& c) { SetButColor(FromQColor(c)); }
    QColor ColorBoxBGQ() const { return ToQColor(FColorBoxBG); }
    void SetColorBoxBGQ(const QColor& c) { SetColorBoxBG(FromQColor(c)); }
    QColor ColorBoxTextQ() const { return ToQColor(FColorBoxText); }
    void SetColorBoxTextQ(const QColor& c) { SetColorBoxText(FromQColor(c)); }
    QColor ColorOutBGQ() const { return ToQColor(FColorOutBG); }
    void SetColorOutBGQ(const QColor& c) { SetColorOutBG(FromQColor(c)); }
    QColor ColorOutTextQ() const { return ToQColor(FColorOutText); }
    void SetColorOutTextQ(const QColor& c) { SetColorOutText(FromQColor(c)); }
    QColor ColorWarnBGQ() const { return ToQColor(FColorWarnBG); }
    void SetColorWarnBGQ(const QColor& c) { SetColorWarnBG(FromQColor(c)); }
    QColor ColorWarnTextQ() const { return ToQColor(FColorWarnText); }
    void SetColorWarnTextQ(const QColor& c) { SetColorWarnText(FromQColor(c)); }
    QColor GaugeColorQ() const { return ToQColor(FGaugeColor); }
    void SetGaugeColorQ(const QColor& c) { SetGaugeColor(FromQColor(c)); }
    QColor GaugeColorBgQ() const { return ToQColor(FGaugeColorBg); }
    void SetGaugeColorBgQ(const QColor& c) { SetGaugeColorBg(FromQColor(c)); }
    QColor GaugeColorFrameQ() const { return ToQColor(FGaugeColorFrame); }
    void SetGaugeColorFrameQ(const QColor& c) { SetGaugeColorFrame(FromQColor(c)); }
    int AlignmentOrd() const { return FAlignment; }
    void SetAlignmentOrd(int v) { SetAlignment(TAlignment(std::clamp(v, 0, 2))); }
    int LeftTextAlignmentOrd() const { return FLeftTextAlignment; }
    void SetLeftTextAlignmentOrd(int v) { SetLeftTextAlignment(TAlignment(std::clamp(v, 0, 2))); }
    int RightTextAlignmentOrd() const { return FRightTextAlignment; }
    void SetRightTextAlignmentOrd(int v) { SetRightTextAlignment(TAlignment(std::clamp(v, 0, 2))); }
    int ColorSchemeOrd() const { return FColorScheme; }
    void SetColorSchemeOrd(int v) { SetColorScheme(TColorScheme(std::clamp(v, 0, 1))); }
    int DecPlaceSepOrd() const { return FDecPlaceSep; }
    void SetDecPlaceSepOrd(int v) { SetDecPlaceSep(TDecPSep(std::clamp(v, 0, 3))); }
    int FrameStyleOrd() const { return FFrameStyle; }
    void SetFrameStyleOrd(int v) { SetFrameStyle(TFrameStyle(std::clamp(v, 0, 5))); }
    int GaugeFrameStyleOrd() const { return FGaugeFrameStyle; }
    void SetGaugeFrameStyleOrd(int v) { SetGaugeFrameStyle(TFrameStyle(std::clamp(v, 0, 5))); }
    int InputFormatOrd() const { return FInputFormat; }
    void SetInputFormatOrd(int v) { SetInputFormat(TInFormat(std::clamp(v, 0, 7))); }

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
    void resizeEvent(QResizeEvent* e) override;

private:
    void StartCaretTimer();
    void CaretTimerStep();
    void EditKey(WORD Key, TShiftState Shift);
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
