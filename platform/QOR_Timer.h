// Window timer of a component: a QTimer whose tick runs the callback with exceptions routed to
// HandleException.
#pragma once

#include "QOR_SysUtils.h"

#include <QObject>
#include <functional>

class QTimer;

namespace qor {

class KORVANE_EXPORT TWindowTimer : public QObject {
    Q_OBJECT
public:
    explicit TWindowTimer(QObject* parent = nullptr);
    ~TWindowTimer() override;
    // Milliseconds between ticks (at least 1).
    int Interval() const;
    void SetInterval(int ms);
    void Start();
    void Start(int ms) { SetInterval(ms); Start(); }
    void Stop();
    bool Active() const;
    std::function<void()> OnTimer;
    // Runs one tick now (tests drive timers this way).
    void Tick();
private:
    QTimer* FTimer;
};

} // namespace qor
