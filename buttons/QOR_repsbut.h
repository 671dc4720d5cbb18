// TRepSpeedButton: a speed button that repeats while the left mouse button holds it down, for
// example to step a value while an arrow is held.
//
// Held with the left button, it fires OnRepeatClick (after the RepeatClickEvent hook, then the
// signal repeatClick()) first StartClickInterval ms after the press and then every
// RepeatClickInterval ms. States: idle; start phase (the timer runs with the start interval);
// repeat phase (the first tick switches to the repeat interval). The release, the pointer leaving
// the button or being dragged off it, and design mode end the repetition. Leaving only stops the
// timer: a release off the button does not click, as with every Qt button. The button clicks
// (OnClick, clicked()) once per press and release on it, however often it repeated, by its own
// rules as a speed button (QOR_Buttons.h); Qt's own autoRepeat stays off.
#pragma once

#include <QOR_Buttons.h>
#include <QOR_Timer.h>
#include <QOR_qorbase.h>

namespace qor {

// The repeating button's exception. The timer of this platform cannot fail to start, so the
// "no timer available" failure of a window timer never arises.
class KORVANE_EXPORT EQORRepSpeedButton : public EQORError {
public:
    using EQORError::EQORError;
};

// The repeating speed button control (see above).
class KORVANE_EXPORT TRepSpeedButton : public TSpeedButton {
    Q_OBJECT
public:
    QOR_PROPERTY(int, RepeatClickInterval)
    QOR_PROPERTY(int, StartClickInterval)

    // An idle button that repeats every 200 ms after a start of 500 ms.
    explicit TRepSpeedButton(QWidget* AOwner = nullptr);
    ~TRepSpeedButton() override;

    // Milliseconds; values below 10 become 10.
    int RepeatClickInterval() const { return FRepClickIv; }
    void SetRepeatClickInterval(int v);
    int StartClickInterval() const { return FStartIv; }
    void SetStartClickInterval(int v);

    // Fires on each repetition while the button is held; then repeatClick().
    TNotifyEvent OnRepeatClick;

    // The repeat timer (tests drive it with Tick()); whether the left button holds the button;
    // whether the running timer is the start timer.
    TWindowTimer* RepeatTimer() const { return FTimer; }
    // Whether the left button holds the button down (repeating or about to).
    bool Held() const { return FRClickTimerEnabled; }
    // Whether the repetition is still waiting out StartClickInterval.
    bool InStartPhase() const { return FIsStart; }

    // Entering design mode stops the repetition.
    void SetDesigning(bool v) override;

Q_SIGNALS:
    // Emitted after OnRepeatClick.
    void repeatClick();

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;
    // One tick: the start phase gives way to the repeat phase, then RepeatClickEvent, then
    // OnRepeatClick.
    virtual void DoTimer();
    // A hook for descendants, called before OnRepeatClick; empty here.
    virtual void RepeatClickEvent() {}
    void InitTimer();
    void UpdateTimer();

private:
    void StopRepeating();

    TWindowTimer* FTimer = nullptr;
    bool FRClickTimerEnabled = false;
    int FRepClickIv = 200;
    int FStartIv = 500;
    bool FIsStart = false;
};

} // namespace qor
