// TGradFill: a decorative background filled with a stepped colour gradient in NrColors bands,
// horizontal or vertical, from one edge to the other or mirrored about the middle, with
// optional grid lines and a frame.
//
// Band n = 0 .. N-1 (N = NrColors) of a W x H control covers rows MulDiv(n, H, N) ..
// MulDiv(n + 1, H, N) - 1 (gtHoriz, gtMidBandHoriz: bands stacked from top to bottom) or the
// columns MulDiv(n, W, N) .. MulDiv(n + 1, W, N) - 1 (gtVert, gtMidBandVert: from left to
// right). Each channel of its colour, with s the channel of ColorFirst and d the difference to
// ColorLast (both through ColorToRGB):
//   gtHoriz, gtVert                 s + MulDiv(n, d, N); ColorFirst alone when N < 2, and the
//                                   last band stops one step short of ColorLast
//   gtMidBandHoriz, gtMidBandVert   M = N div 2: s + MulDiv(n, d, M) for n <= M, else
//                                   s + MulDiv(N - n - 1, d, M): ColorFirst at both edges,
//                                   ColorLast in band M; ColorFirst alone when N = 1 (M = 0)
// Grid lines (GridColor, 1 pixel, over the bands, under the frame) stand on the band borders:
// gmHoriz draws the rows y = MulDiv(n, H, N), gmVert the columns x = MulDiv(n, W, N), gmBoth
// both, for n = 1 .. N-1, whatever the fill type; so the direction without bands gets lines at
// the spacing it would have with them. gmNone draws none.
// The frame is DrawFrame (QOR_qorbase.h) of FrameStyle on (0, 0, W-1, H-1) with the colours
// white, $C0C0C0, $808080, black, black.
//
// ColorFirst and ColorLast are the colours in effect. ColorFlipped exchanges them: the two base
// colours as set stay, and a colour written while flipped goes to the base colour that is in
// effect at that edge, so clearing the flag moves it to the other edge.
#pragma once

#include <QOR_Controls.h>
#include <QOR_Graphics.h>
#include <QOR_qorbase.h>

#include <QObject>
#include <cstdint>

namespace qor {

inline namespace QOR_gradfl {
Q_NAMESPACE_EXPORT(KORVANE_EXPORT)
// Direction of the bands: stacked or side by side, running edge to edge or mirrored.
enum TGradType : std::uint8_t { gtHoriz, gtVert, gtMidBandHoriz, gtMidBandVert };
Q_ENUM_NS(TGradType)
// Which grid lines are drawn on the band borders: none, rows, columns or both.
enum TGridMode : std::uint8_t { gmNone, gmHoriz, gmVert, gmBoth };
Q_ENUM_NS(TGridMode)
} // namespace QOR_gradfl

// The gradient fill control (see above).
class KORVANE_EXPORT TGradFill : public TGraphicControl {
    Q_OBJECT
public:
    // The flag first: a form that stores the colours in effect with it, in this order, gives
    // them back as stored.
    QOR_PROPERTY(bool, ColorFlipped)
    QOR_COLOR_PROPERTY(ColorFirst)
    QOR_COLOR_PROPERTY(ColorLast)
    QOR_PROPERTY(qor::QOR_gradfl::TGradType, FillType)
    QOR_PROPERTY(qor::QOR_qorbase::TFrameStyle, FrameStyle)
    QOR_COLOR_PROPERTY(GridColor)
    QOR_PROPERTY(qor::QOR_gradfl::TGridMode, GridMode)
    QOR_PROPERTY(int, NrColors)

    // The most bands a fill has.
    static constexpr int MaxColors = 255;

    // A 121 x 121 fill of 16 horizontal bands from clMaroon to clYellow, without grid or frame.
    explicit TGradFill(QWidget* AOwner = nullptr);

    // Every setter repaints, changed or not.
    TColor ColorFirst() const { return FColorFirst; }
    void SetColorFirst(TColor v);
    TColor ColorLast() const { return FColorLast; }
    void SetColorLast(TColor v);
    bool ColorFlipped() const { return FColorsFlipped; }
    void SetColorFlipped(bool v);
    TGradType FillType() const { return FGradType; }
    void SetFillType(TGradType v);
    TFrameStyle FrameStyle() const { return FFrameStyle; }
    void SetFrameStyle(TFrameStyle v);
    TColor GridColor() const { return FGridColor; }
    void SetGridColor(TColor v);
    TGridMode GridMode() const { return FGridMode; }
    void SetGridMode(TGridMode v);
    int NrColors() const { return FNrColors; }
    void SetNrColors(int v);              // clamped to 1..255

    // The colour of band n (0 .. NrColors - 1) as DrawGradient fills it.
    TColor BandColor(int n) const;

    // After each painting (then the signal painted()).
    TNotifyEvent OnPaint;

    // Accessibility: a decorative graphic, left out by readers unless the program names it.
    QAccessible::Role AccessibleRole() const override { return QAccessible::Graphic; }
    void AccessibleState(QAccessible::State& s) const override { s.invisible = s.invisible || accessibleName().isEmpty(); }

Q_SIGNALS:
    // Emitted after OnPaint.
    void painted();

protected:
    void Paint() override;
    // Fills the bitmap (its logical size) with the bands, the grid and the frame.
    virtual void DrawGradient(TBitmap& Bitmap);

private:
    template <class T> void Put(T& field, T v);

    int FNrColors = 16;
    TGradType FGradType = gtHoriz;
    TColor FColorFirst = clMaroon;
    TColor FColorLast = clYellow;
    TColor FColFirstOrg = clMaroon;
    TColor FColLastOrg = clYellow;
    bool FColorsFlipped = false;
    TFrameStyle FFrameStyle = fsNone;
    TGridMode FGridMode = gmNone;
    TColor FGridColor = clNavy;
};

} // namespace qor
