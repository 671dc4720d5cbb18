// TRotLab: a label whose caption is drawn at any angle around an anchor point, optionally
// anti-aliased, inside a frame.
//
// The text is drawn in the control's font turned by TextAngle degrees counter-clockwise (the
// font's orientation in tenths of a degree), about the top-left corner of its text cell. With
// a = TextAngle in radians, hw = text width div 2 and hh = text height div 2, the text cell's
// top-left corner lies at RotLabTextOrigin:
//   taLeftJustify   (PosX + nint(-hh sin a),                PosY + nint(-hh cos a))
//   taRightJustify  (PosX + nint(-2 hw cos a - hh sin a),   PosY + nint(2 hw sin a - hh cos a))
//   taCenter        (PosX + nint(-hw cos a - hh sin a),     PosY + nint(hw sin a - hh cos a))
// (nint rounds halves to even), so the text's middle line passes through the anchor, which lies
// at the text's start, end or centre.
//
// AutoCenter keeps the anchor at (Width div 2, Height div 2): when switched on, on every
// resize (of a control with or without parent), and on every write of PosX or PosY, which then
// ignores the written value; PosX() and PosY() report the centre while it is on.
//
// Transparent (the default): only text and frame are drawn, the parent shows elsewhere; else
// the background is filled with Color. AntiAlias asks for anti-aliased glyphs; without it the
// glyphs are aliased, every pixel in the text colour or untouched (the platform's default
// quality here is anti-aliased, so "default" would change nothing). The text colour is the font's (FontColor); a disabled label
// draws it engraved, in clBtnHighlight one pixel right of and below the start, then in
// clBtnShadow at the start.
//
// Accessibility: static text named by its caption.
#pragma once

#include <QOR_Controls.h>
#include <QOR_Graphics.h>
#include <QOR_qorbase.h>

#include <QObject>
#include <QPoint>
#include <QString>

namespace qor {

// Top-left corner of the text cell for an anchor, as above.
KORVANE_EXPORT QPoint RotLabTextOrigin(TAlignment Alignment, int TextAngle, int PosX, int PosY, int TextWidth,
                                       int TextHeight);

// The rotated label control (see above).
class KORVANE_EXPORT TRotLab : public TGraphicControl {
    Q_OBJECT
public:
    QOR_PROPERTY(QString, Caption)
    QOR_PROPERTY(int, TextAngle)
    QOR_PROPERTY_NOTIFY(int, PosX, posXChanged)
    QOR_PROPERTY_NOTIFY(int, PosY, posYChanged)
    QOR_PROPERTY(bool, AutoCenter)
    QOR_PROPERTY(qor::QOR_Controls::TAlignment, Alignment)
    QOR_PROPERTY(bool, AntiAlias)
    QOR_PROPERTY(bool, Transparent)
    QOR_COLOR_PROPERTY(Color)
    QOR_PROPERTY(qor::QOR_qorbase::TFrameStyle, FrameStyle)
    QOR_COLOR_PROPERTY(FontColor)

    // A transparent 200 x 200 label in Arial 11, anchored at its centre.
    explicit TRotLab(QWidget* AOwner = nullptr);
    ~TRotLab() override;

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& v);
    int TextAngle() const { return FTextAngle; }
    void SetTextAngle(int v);
    int PosX() const { return FAutoCenter ? width() / 2 : FPosX; }
    void SetPosX(int v);
    int PosY() const { return FAutoCenter ? height() / 2 : FPosY; }
    void SetPosY(int v);
    bool AutoCenter() const { return FAutoCenter; }
    void SetAutoCenter(bool v);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    bool AntiAlias() const { return FAntiAlias; }
    void SetAntiAlias(bool v);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    // Color and SetColor are the control colour (TCustomControl).
    TFrameStyle FrameStyle() const { return FFrameStyle; }
    void SetFrameStyle(TFrameStyle v);
    // The colour of the font (Font()->Color()).
    TColor FontColor() const { return Font()->Color(); }
    void SetFontColor(TColor v) { Font()->SetColor(v); }

    // Copies AutoCenter, FrameStyle, TextAngle, PosX, PosY and AntiAlias.
    void Assign(const QObject* Source) override;
    void AssignTo(QObject* Dest) const override;

    QAccessible::Role AccessibleRole() const override { return QAccessible::StaticText; }
    // The caption as written.
    QString AccessibleText() const override { return FCaption; }

Q_SIGNALS:
    // The anchor's x changed (set, centred, or by Assign); carries the new PosX.
    void posXChanged(int posX);
    // The anchor's y changed (set, centred, or by Assign); carries the new PosY.
    void posYChanged(int posY);

protected:
    void Paint() override;
    void Resized() override;

private:
    template <class T> void Set(T& field, T v);
    void Center();
    void SetAnchor(int& field, int v, void (TRotLab::*changed)(int));

    QString FCaption;
    int FTextAngle = 0;
    int FPosX = 10;
    int FPosY = 10;
    bool FAutoCenter = true;
    TAlignment FAlignment = taCenter;
    bool FAntiAlias = true;
    bool FTransparent = true;
    TFrameStyle FFrameStyle = fsLowered;
};

} // namespace qor
