#include "QOR_RotLab.h"
#include "QOR_WidgetFactory.h"

#include <QOR_SysUtils.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace qor {

QPoint RotLabTextOrigin(TAlignment Alignment, int TextAngle, int PosX, int PosY, int TextWidth, int TextHeight)
{
    const double a = (TextAngle % 360) * std::numbers::pi / 180.0;
    const double s = std::sin(a), c = std::cos(a);
    const int hw = TextWidth / 2, hh = TextHeight / 2;
    // How far along the text the anchor lies: 0 at its start, hw at its centre, 2 hw at its end.
    const double along = Alignment == taLeftJustify ? 0.0 : Alignment == taRightJustify ? 2.0 * hw : double(hw);
    // In 64 bits, so an anchor near the end of the int range cannot overflow.
    const auto coord = [](int anchor, double offset) {
        return int(std::clamp<std::int64_t>(anchor + Round(offset), INT_MIN, INT_MAX));
    };
    return QPoint(coord(PosX, -along * c - hh * s), coord(PosY, along * s - hh * c));
}

QOR_REGISTER_WIDGET(qor::TRotLab);

TRotLab::TRotLab(QWidget* AOwner) : TGraphicControl(AOwner)
{
    Font()->SetName(QStringLiteral("Arial"));
    Font()->SetSize(11);
    SetTransparentSurface(true);
    resize(200, 200);
    Center();
}

TRotLab::~TRotLab() = default;

template <class T> void TRotLab::Set(T& field, T v)
{
    if (Store(field, v))
        Invalidate();
}

void TRotLab::Center()
{
    const int x = width() / 2, y = height() / 2;
    const bool dx = Store(FPosX, x), dy = Store(FPosY, y);
    if (dx || dy)
        Invalidate();
    if (dx)
        emit posXChanged(x);
    if (dy)
        emit posYChanged(y);
}

void TRotLab::Resized()
{
    if (FAutoCenter)
        Center();
}

void TRotLab::SetCaption(const QString& v)
{
    if (Store(FCaption, v)) {
        Invalidate();
        AccessibleValueChanged();
    }
}

void TRotLab::SetTextAngle(int v) { Set(FTextAngle, v); }

// A written anchor coordinate; under AutoCenter the centre wins.
void TRotLab::SetAnchor(int& field, int v, void (TRotLab::*changed)(int))
{
    if (FAutoCenter) {
        Center();
        return;
    }
    if (Store(field, v)) {
        Invalidate();
        emit(this->*changed)(v);
    }
}

void TRotLab::SetPosX(int v) { SetAnchor(FPosX, v, &TRotLab::posXChanged); }
void TRotLab::SetPosY(int v) { SetAnchor(FPosY, v, &TRotLab::posYChanged); }

void TRotLab::SetAutoCenter(bool v)
{
    if (Store(FAutoCenter, v) && v)
        Center();
}

void TRotLab::SetAlignment(TAlignment v) { Set(FAlignment, v > taCenter ? taCenter : v); }
void TRotLab::SetAntiAlias(bool v) { Set(FAntiAlias, v); }

void TRotLab::SetTransparent(bool v)
{
    if (Store(FTransparent, v))
        SetTransparentSurface(v);   // invalidates
}

void TRotLab::SetFrameStyle(TFrameStyle v) { Set(FFrameStyle, v > fsEngraved ? fsNone : v); }

void TRotLab::Paint()
{
    TCanvas* c = Canvas();
    const int w = width(), h = height();
    if (!FTransparent) {
        c->Brush()->SetColor(Color());
        c->FillRect(0, 0, w, h);
    }
    if (!FCaption.isEmpty()) {
        c->Font()->Assign(*Font());
        c->Font()->SetOrientation((FTextAngle % 360) * 10);
        c->Font()->SetQuality(FAntiAlias ? fqAntialiased : fqNonAntialiased);
        c->Brush()->SetStyle(bsClear);
        const QPoint at = RotLabTextOrigin(FAlignment, FTextAngle, PosX(), PosY(), c->TextWidth(FCaption),
                                           c->TextHeight(FCaption));
        if (isEnabled()) {
            c->TextOut(at.x(), at.y(), FCaption);
        } else {
            c->Font()->SetColor(clBtnHighlight);
            c->TextOut(at.x() + 1, at.y() + 1, FCaption);
            c->Font()->SetColor(clBtnShadow);
            c->TextOut(at.x(), at.y(), FCaption);
        }
    }
    DrawFrame(c, FFrameStyle, 0, 0, w - 1, h - 1, clWhite, clSilver, clGray, clBlack, 0);
}

void TRotLab::Assign(const QObject* Source)
{
    const auto* src = qobject_cast<const TRotLab*>(Source);
    if (!src) {
        TGraphicControl::Assign(Source);
        return;
    }
    if (src == this)
        return;
    const int oldX = PosX(), oldY = PosY();
    FAutoCenter = src->FAutoCenter;
    FFrameStyle = src->FFrameStyle;
    FTextAngle = src->FTextAngle;
    FPosX = src->FPosX;
    FPosY = src->FPosY;
    FAntiAlias = src->FAntiAlias;
    if (FAutoCenter)
        Center();
    Invalidate();
    if (PosX() != oldX)
        emit posXChanged(PosX());
    if (PosY() != oldY)
        emit posYChanged(PosY());
}

void TRotLab::AssignTo(QObject* Dest) const
{
    if (!AssignToSameClass<TRotLab>(Dest))
        TGraphicControl::AssignTo(Dest);
}

} // namespace qor
