#include "QOR_Buttons.h"

namespace qor {

TSpeedButton::TSpeedButton(QWidget* AOwner)
    : TControlHost<QToolButton>(AOwner, clBtnFace)
{
    setAutoRepeat(false);
    connect(this, &QAbstractButton::toggled, this, [this](bool down) { GuardedCall([&] { Toggled(down); }); });
}

TSpeedButton::~TSpeedButton() = default;

QList<TSpeedButton*> TSpeedButton::GroupMates() const
{
    QList<TSpeedButton*> mates;
    if (FGroupIndex == 0 || !parentWidget())
        return mates;
    for (TSpeedButton* b : parentWidget()->findChildren<TSpeedButton*>(QString(), Qt::FindDirectChildrenOnly))
        if (b != this && b->FGroupIndex == FGroupIndex)
            mates.append(b);
    return mates;
}

void TSpeedButton::ReleaseGroupMates()
{
    for (TSpeedButton* b : GroupMates())
        b->setChecked(false);
}

void TSpeedButton::Toggled(bool down)
{
    if (down)
        ReleaseGroupMates();
    emit downChanged(down);
}

void TSpeedButton::nextCheckState()
{
    if (isChecked() && !FAllowAllUp)
        return;
    QToolButton::nextCheckState();
}

void TSpeedButton::SetDown(bool v)
{
    if (FGroupIndex == 0 || v == isChecked() || (!v && !FAllowAllUp))
        return;
    setChecked(v);
}

void TSpeedButton::SetGroupIndex(int v)
{
    if (!Store(FGroupIndex, v))
        return;
    if (v == 0)
        setChecked(false);
    setCheckable(v != 0);
    if (isChecked())
        ReleaseGroupMates();
}

void TSpeedButton::SetAllowAllUp(bool v)
{
    if (!Store(FAllowAllUp, v))
        return;
    for (TSpeedButton* b : GroupMates())
        b->FAllowAllUp = v;
}

} // namespace qor
