// Window timer of a component: a QTimer whose tick runs the callback with exceptions routed to
// HandleException.
#pragma once

#include "QOR_SysUtils.h"

#include <QObject>
#include <functional>

class QTimer;

namespace qor {

// A repeating timer that runs OnTimer on every tick; what OnTimer throws goes to
// HandleException, never to the event loop.
class KORVANE_EXPORT TWindowTimer : public QObject {
    Q_OBJECT
public:
    // Creates a stopped timer owned by parent. Its interval starts at 0 (a tick on every turn
    // of the event loop) until SetInterval.
    explicit TWindowTimer(QObject* parent = nullptr);
    ~TWindowTimer() override;
    // Milliseconds between ticks (at least 1 once set).
    int Interval() const;
    // Sets the milliseconds between ticks; values below 1 count as 1. A running timer starts
    // counting again.
    void SetInterval(int ms);
    // Starts ticking (restarts the count when already running).
    void Start();
    // Sets the interval to ms, then starts.
    void Start(int ms) { SetInterval(ms); Start(); }
    // Stops ticking; no tick follows.
    void Stop();
    // Whether the timer is running.
    bool Active() const;
    std::function<void()> OnTimer; // the tick handler; empty: ticks do nothing
    // Runs one tick now (tests drive timers this way).
    void Tick();
private:
    QTimer* FTimer;
};

} // namespace qor
