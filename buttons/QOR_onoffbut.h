// TOnOffBut: a two-state button drawn as a picture (the glyph) from one of 23 built-in picture
// sets or four user pictures, with up to four captions around it; a toggle or a momentary push
// button, opaque or transparent, alone or in a radio group with its siblings.
//
// Pictures. A picture set is one bitmap of 2 x 2 tiles of the glyph size GW x GH (half the
// bitmap's width and height, rounded down):
//   top-left (0, 0, GW, GH)       picture 3, on and enabled
//   top-right (GW, 0, 2GW, GH)    picture 1, off and enabled
//   bottom-left (0, GH, GW, 2GH)  picture 2, on and disabled
//   bottom-right (GW, GH, ...)    picture 0, off and disabled
// Pixels of colour $EBBEEB are transparent. The built-in sets are library resources named as
// below (bitmap size): CHECKBOX 32 x 32, RADIOBUT 28 x 28, SLIDETOPBOT 36 x 60, SLIDELFTRGT
// 60 x 36, COLSLIDETB 36 x 60, COLSLIDELR 60 x 36, LEDREDGREEN 28 x 28, ARROWTR, ARROWUD, ARROWLR
// 50 x 50, TRAFFICLGT 62 x 62, BEVELEDLED 34 x 34, SMILEYS, SMILEYRG 36 x 36, BULB 78 x 98,
// BUTLAMP 98 x 48, HDLEFT, HDRIGHT 96 x 32, USER1 .. USER5 48 x 48. oobsUser shows the user
// pictures: at first 20 x 20, picture 1 two black diagonals (0, 0)-(20, 20) and (0, 20)-(20, 0),
// picture 3 the ellipse (5, 5, 15, 15), pictures 0 and 2 blank (white); SetUserGlyph and
// LoadUserGlyph replace them with a 2 x 2 tile bitmap split as above. The glyph size is the size
// of the pictures in use, so it follows the user pictures too while oobsUser is on.
//
// Geometry (W x H the control, LS = LeftSpace, TS = TopSpace): the glyph is drawn at
// (LS + 1, TS + 1); AutoCenter keeps LS = (W - GW) div 2 and TS = (H - GH) div 2, from
// construction on and whenever the size or the picture set changes. Without AutoCenter
// LeftSpace and TopSpace take values 0 .. W and 0 .. H; negative ones are ignored.
//
// Painting, on a surface of W x H:
//  1. th = TextHeight("(8g]}ÜÄ§"); the background ColorBackgnd (black when transparent).
//  2. Captions (tw = the caption's width), drawn with TextOut:
//     left    y = TS + (GH - th) div 2   x = 4 | LS - tw - 3 | (LS - tw) div 2
//     right   y as left                  x = LS + GW + 4 | W - tw - 4 | (W - tw - LS - GW) div 2 + LS + GW + 1
//     top     y = TS - th - 4            x = 4 | W - tw - 4 | LS + (GW - tw) div 2
//     bottom  y = TS + GH + 4            x as top
//     for taLeftJustify | taRightJustify | taCenter. Enabled in ColorText; disabled embossed:
//     white ($FFFFFF) one pixel right and down, then grey ($808080) at the place itself.
//  3. The glyph, picture 2 x ord(OnOff) + ord(enabled), its transparent pixels in ColorBackgnd.
//  4. The frame of FrameStyle on (0, 0, W - 1, H - 1) in the fixed colours $FFFFFF, $C0C0C0,
//     $808080, $000000, $000000 (the line colours ColorScheme sets are kept, not drawn).
// Transparent: everything but the captions, the glyph's own pixels and the frame lets the
// parent show through (the mask of the classic drawing: white = see-through, black = opaque).
// With the keyboard focus a dotted rectangle surrounds the glyph.
//
// Mouse (left button): where it acts depends on MouseAction: oomaNone nowhere, oomaFocused
// strictly inside the glyph (LS < X < LS + GW and TS < Y < TS + GH), oomaPlain anywhere.
// A press there inverts the state, except that the on button of a group without AllowAllOff
// stays on. A release there fires OnClick (Click itself is empty: no other click fires it). In
// oobmSpeedBut the button is on while pressed: any release switches it off, inside or not.
// Keyboard: the button takes the focus by Tab only (it is a windowless control to the mouse);
// Space presses and releases it as a click inside the glyph.
//
// Radio groups: buttons of one parent with the same GroupIndex (not 0). When one comes on, the
// others of its group that are on go off; every button of the group takes over its AllowAllOff.
// The OnOff writer refuses to switch off a grouped button without AllowAllOff, except while a
// form is being set up (a form stores the state it was designed with).
#pragma once

#include <QOR_Controls.h>
#include <QOR_Graphics.h>
#include <QOR_qorbase.h>

#include <QObject>
#include <QString>
#include <array>
#include <cstdint>

namespace qor {

inline namespace QOR_onoffbut {
Q_NAMESPACE_EXPORT(KORVANE_EXPORT)
// Toggle button (a click inverts the state) or momentary push button (on while pressed).
enum TOOButMode : std::uint8_t { oobmNormalBut, oobmSpeedBut };
Q_ENUM_NS(TOOButMode)
// Where the left mouse button acts: nowhere, inside the glyph only, or anywhere.
enum TOOButMouseAction : std::uint8_t { oomaNone, oomaFocused, oomaPlain };
Q_ENUM_NS(TOOButMouseAction)
// The picture set of the glyph: the user pictures or one of the built-in sets named above.
enum TOnOffButStyle : std::uint8_t {
    oobsUser, oobsCheckbox, oobsRadioBut, oobsSlideTB, oobsSlideLR, oobsColSlideTB, oobsColSlideLR,
    oobsLedRedGreen, oobsArrowTopRgt, oobsArrowUpDown, oobsArrowLeftRight, oobsTrafficLPed,
    oobsBeveledLed, oobsSmileyYellow, oobsSmileyRedGrn, oobsBulb, oobsButLamp, oobsHDLeft,
    oobsHDRight, oobsUser1, oobsUser2, oobsUser3, oobsUser4, oobsUser5
};
Q_ENUM_NS(TOnOffButStyle)
} // namespace QOR_onoffbut

// The resource name of a built-in picture set ("CHECKBOX"); empty for oobsUser.
KORVANE_EXPORT QString OnOffButResourceName(TOnOffButStyle Style);

// The on/off button control (see above).
class KORVANE_EXPORT TOnOffBut : public TGraphicControl {
    Q_OBJECT
public:
    QOR_PROPERTY(bool, AllowAllOff)
    QOR_PROPERTY(bool, AutoCenter)
    QOR_PROPERTY(QString, BottomText)
    QOR_PROPERTY(qor::QOR_Controls::TAlignment, BottomTextAlignment)
    QOR_PROPERTY(qor::QOR_onoffbut::TOnOffButStyle, ButtonStyle)
    QOR_COLOR_PROPERTY(ColorBackgnd)
    QOR_PROPERTY(qor::QOR_qorbase::TColorScheme, ColorScheme)
    QOR_COLOR_PROPERTY(ColorText)
    QOR_PROPERTY(qor::QOR_qorbase::TFrameStyle, FrameStyle)
    QOR_PROPERTY(int, GroupIndex)
    QOR_PROPERTY(QString, LeftText)
    QOR_PROPERTY(qor::QOR_Controls::TAlignment, LeftTextAlignment)
    QOR_PROPERTY(int, LeftSpace)
    QOR_PROPERTY(qor::QOR_onoffbut::TOOButMode, Mode)
    QOR_PROPERTY(qor::QOR_onoffbut::TOOButMouseAction, MouseAction)
    QOR_PROPERTY(QString, RightText)
    QOR_PROPERTY(qor::QOR_Controls::TAlignment, RightTextAlignment)
    QOR_PROPERTY(QString, TopText)
    QOR_PROPERTY(qor::QOR_Controls::TAlignment, TopTextAlignment)
    QOR_PROPERTY(int, TopSpace)
    QOR_PROPERTY(bool, Transparent)
    // Last, so that a form sets the group first and the state it was designed with after it.
    Q_PROPERTY(bool OnOff READ OnOff WRITE loaderSetOnOff NOTIFY onOffChanged)

    explicit TOnOffBut(QWidget* AOwner = nullptr);
    ~TOnOffBut() override;

    // --- published properties
    bool AllowAllOff() const { return FAllowAllOff; }
    void SetAllowAllOff(bool v);
    bool AutoCenter() const { return FAutoCenter; }
    void SetAutoCenter(bool v);
    QString BottomText() const { return FBottomText; }
    void SetBottomText(const QString& v);
    TAlignment BottomTextAlignment() const { return FBTAlignment; }
    void SetBottomTextAlignment(TAlignment v);
    TOnOffButStyle ButtonStyle() const { return FButStyle; }
    void SetButtonStyle(TOnOffButStyle v);
    TColor ColorBackgnd() const { return FColorBakG; }
    void SetColorBackgnd(TColor v);
    TColorScheme ColorScheme() const { return FColorScheme; }
    void SetColorScheme(TColorScheme v);
    TColor ColorText() const { return FColorTxt; }
    void SetColorText(TColor v);
    TFrameStyle FrameStyle() const { return FFrameStyle; }
    void SetFrameStyle(TFrameStyle v);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int v);
    QString LeftText() const { return FLeftText; }
    void SetLeftText(const QString& v);
    TAlignment LeftTextAlignment() const { return FLTAlignment; }
    void SetLeftTextAlignment(TAlignment v);
    int LeftSpace() const { return FLeftSpace; }
    void SetLeftSpace(int v);
    TOOButMode Mode() const { return FMode; }
    void SetMode(TOOButMode v);
    TOOButMouseAction MouseAction() const { return FMouseAction; }
    void SetMouseAction(TOOButMouseAction v) { FMouseAction = v; }
    // Whether the button is on (default off).
    bool OnOff() const { return FOnOff; }
    // Switches the button on or off, switching the rest of its group off when it comes on;
    // switching off a grouped button without AllowAllOff is ignored. onOffChanged follows a change.
    void SetOnOff(bool v);
    // The published writers (see QOR_Published.h): while a form is set up they switch a grouped
    // button off too, so a stored form restores the state it was designed with.
    Q_SLOT void setOnOff(bool v);
    // The OnOff property's writer for forms and QObject::setProperty (see setOnOff).
    void loaderSetOnOff(bool v);
    QString RightText() const { return FRightText; }
    void SetRightText(const QString& v);
    TAlignment RightTextAlignment() const { return FRTAlignment; }
    void SetRightTextAlignment(TAlignment v);
    QString TopText() const { return FTopText; }
    void SetTopText(const QString& v);
    TAlignment TopTextAlignment() const { return FTTAlignment; }
    void SetTopTextAlignment(TAlignment v);
    int TopSpace() const { return FTopSpace; }
    void SetTopSpace(int v);
    bool Transparent() const { return FTransParent; }
    void SetTransparent(bool v);

    // --- public methods
    // The user pictures from a 2 x 2 tile bitmap (see above). A null or empty bitmap, or one
    // with a tile under 1 x 1 or over 1024 x 1024 pixels, raises EQORError and changes nothing.
    void SetUserGlyph(const TBitmap& Img);
    // The same from a bitmap file; an unreadable file raises EInOutError and changes nothing.
    void LoadUserGlyph(const QString& FName);
    // Copies every setting but GroupIndex, AllowAllOff and Mode, then repaints.
    void Assign(const QObject* Source) override;
    void AssignTo(QObject* Dest) const override;

    // --- state
    // Glyph width GW in pixels: half the width of the picture set in use.
    int GlyphWidth() const { return FGlyphWidth; }
    // Glyph height GH in pixels: half the height of the picture set in use.
    int GlyphHeight() const { return FGlyphHeight; }
    // Picture 0..3 in use (2 x ord(on) + ord(enabled)); user picture 0..3.
    const TBitmap& ButtonImage(int Index) const { return FButImg[size_t(Index & 3)]; }
    // User picture Index (0 .. 3, taken modulo 4), numbered as the pictures in use.
    const TBitmap& UserImage(int Index) const { return FUserImg[size_t(Index & 3)]; }
    // The frame line colours ColorScheme sets.
    TColor ColBlackLine() const { return FColBlackLine; }
    // The grey line colour ColorScheme sets.
    TColor ColGrayLine() const { return FColGrayLine; }
    // The white line colour ColorScheme sets.
    TColor ColWhiteLine() const { return FColWhiteLine; }

    // Accessibility: a check box (a radio button in a group), checked when on, named by its
    // captions; its toggle action works as a click in the glyph.
    QAccessible::Role AccessibleRole() const override;
    QString AccessibleName() const override;
    void AccessibleState(QAccessible::State& s) const override;
    QStringList AccessibleActions() const override;
    // The toggle action presses and releases the button as a click in the glyph; ignored for
    // other actions, when disabled or when MouseAction is oomaNone.
    void DoAccessibleAction(const QString& Action) override;

Q_SIGNALS:
    // The state changed, by the user, a setter or the group; carries the new state.
    void onOffChanged(bool on);

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;
    // A held Space presses once.
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    // Empty: OnClick fires from MouseUp only.
    void Click() override {}
    void FocusChanged(bool Focused) override { Invalidate(); }
    // The handler OnResize starts with: centres the glyph when AutoCenter is on.
    void ProcessResize();
    void AdjustAutoCenter();
    void LoadGlyphs();
    // Splits a 2 x 2 tile bitmap into four pictures (see above).
    static void ExtractGlyphs(const TBitmap& Bmp, std::array<TBitmap, 4>& Into);
    // Tells the other buttons of the group that this one was pressed (it is on, or its
    // AllowAllOff changed).
    void UpdateExclusive();
    // A button of group GroupIdx was pressed.
    void ButtonPressed(int GroupIdx, TOnOffBut* Sender);

private:
    void ApplyPublishedOnOff(bool v);
    bool ActsAt(int X, int Y) const;
    // LeftSpace or TopSpace: negative values ignored, the glyph centred under AutoCenter, else
    // at most Limit.
    void SetSpace(int& Field, int v, int Limit);
    void SetCaption(QString& Field, const QString& v);
    // What a press and a release where the button acts do (mouse or Space).
    void Press();
    void Release(bool Inside);
    // Stores the state, repaints and notifies; no group rule.
    void ChangeState(bool v);
    void SetFrameLineColors();
    void PaintCaptions(TCanvas* Bmp, TCanvas* Mask, int th);
    void PaintGlyph(TCanvas* Bmp, TCanvas* Mask);
    template <class T> void Set(T& field, const T& v);

    bool FOnOff = true;
    std::array<TBitmap, 4> FButImg;
    std::array<TBitmap, 4> FUserImg;
    TBitmap FMask;
    bool FAutoCenter = true;
    TOnOffButStyle FButStyle = oobsColSlideLR;
    int FGroupIndex = 0;
    TOOButMouseAction FMouseAction = oomaFocused;
    bool FAllowAllOff = true;
    TColor FColorBakG = clBtnFace;
    TColor FColorTxt = clBlack;
    int FGlyphWidth = 0;
    int FGlyphHeight = 0;
    int FLeftSpace = 35;
    int FTopSpace = 18;
    QString FLeftText, FTopText, FBottomText, FRightText;
    TOOButMode FMode = oobmNormalBut;
    TFrameStyle FFrameStyle = fsLowered;
    bool FTransParent = false;
    TAlignment FLTAlignment = taRightJustify;
    TAlignment FTTAlignment = taCenter;
    TAlignment FBTAlignment = taCenter;
    TAlignment FRTAlignment = taLeftJustify;
    TColor FColBlackLine = clBlack;
    TColor FColGrayLine = clGray;
    TColor FColWhiteLine = clWhite;
    TColorScheme FColorScheme = csGrayWhite;
};

} // namespace qor
