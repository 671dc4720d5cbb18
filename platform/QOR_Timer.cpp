#include "QOR_Timer.h"

#include <QTimer>

namespace qor {

TWindowTimer::TWindowTimer(QObject* parent)
    : QObject(parent), FTimer(new QTimer(this))
{
    connect(FTimer, &QTimer::timeout, this, &TWindowTimer::Tick);
}

TWindowTimer::~TWindowTimer() = default;

int TWindowTimer::Interval() const { return FTimer->interval(); }

void TWindowTimer::SetInterval(int ms)
{
    FTimer->setInterval(std::max(1, ms));
}

void TWindowTimer::Start() { FTimer->start(); }
void TWindowTimer::Stop() { FTimer->stop(); }
bool TWindowTimer::Active() const { return FTimer->isActive(); }

void TWindowTimer::Tick()
{
    if (OnTimer)
        GuardedCall(OnTimer);
}

} // namespace qor
