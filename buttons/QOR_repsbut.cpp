#include "QOR_repsbut.h"
#include "QOR_WidgetFactory.h"

#include <algorithm>

namespace qor {

namespace {
constexpr int MinInterval = 10;
} // namespace

QOR_REGISTER_WIDGET(qor::TRepSpeedButton);

TRepSpeedButton::TRepSpeedButton(QWidget* AOwner) : TSpeedButton(AOwner)
{
    FTimer = new TWindowTimer(this);
    FTimer->OnTimer = [this] { DoTimer(); };
}

TRepSpeedButton::~TRepSpeedButton()
{
    FTimer->Stop();
}

void TRepSpeedButton::InitTimer()
{
    FIsStart = true;
    FTimer->Stop();
    if (FStartIv > 0 && FRClickTimerEnabled && !Designing())
        FTimer->Start(FStartIv);
}

void TRepSpeedButton::UpdateTimer()
{
    FIsStart = false;
    FTimer->Stop();
    if (FRepClickIv > 0 && FRClickTimerEnabled && !Designing())
        FTimer->Start(FRepClickIv);
}

void TRepSpeedButton::DoTimer()
{
    if (FIsStart)
        UpdateTimer();
    RepeatClickEvent();
    Notify(this, OnRepeatClick, &TRepSpeedButton::repeatClick);
}

void TRepSpeedButton::StopRepeating()
{
    FRClickTimerEnabled = false;
    UpdateTimer();
}

void TRepSpeedButton::SetRepeatClickInterval(int v)
{
    if (Store(FRepClickIv, std::max(v, MinInterval)) && !Designing())
        UpdateTimer();
}

void TRepSpeedButton::SetStartClickInterval(int v)
{
    if (Store(FStartIv, std::max(v, MinInterval)) && !Designing())
        InitTimer();
}

void TRepSpeedButton::SetDesigning(bool v)
{
    TSpeedButton::SetDesigning(v);
    if (v)
        StopRepeating();
}

void TRepSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TSpeedButton::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    FRClickTimerEnabled = true;
    InitTimer();
}

void TRepSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TSpeedButton::MouseUp(Button, Shift, X, Y);
    if (Button == mbLeft)
        StopRepeating();
}

void TRepSpeedButton::MouseMove(TShiftState Shift, int X, int Y)
{
    TSpeedButton::MouseMove(Shift, X, Y);
    if (FRClickTimerEnabled && !rect().contains(X, Y))
        StopRepeating();
}

void TRepSpeedButton::MouseLeave()
{
    TSpeedButton::MouseLeave();
    StopRepeating();
}

} // namespace qor
