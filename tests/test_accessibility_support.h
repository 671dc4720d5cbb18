// What assistive technology hears: accessibility switched on for a test, and every event the
// components send, recorded (through the tests' bridge, testmain/accessibility_bridge.cpp: Qt
// hands an update handler nothing while no platform bridge is active, as under offscreen).
#pragma once

#include "test_support.h"

#include <QAccessible>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

namespace qortest {

struct HeardEvent {
    QAccessible::Event Type;
    QObject* Object;
    int Child;
    QString Name;            // the name of the object (or the child) the event is about
    QAccessible::State Changed;
    QString TextBefore, TextAfter;   // text updates
};

// While alive: accessibility is on and every event lands in Heard().
class EventRecorder {
public:
    EventRecorder()
    {
        Instance() = this;
        QAccessible::setActive(true);
        SetAccessibilityListener(&Record);
    }
    ~EventRecorder()
    {
        SetAccessibilityListener(nullptr);
        QAccessible::setActive(false);
        Instance() = nullptr;
    }
    QList<HeardEvent>& Heard() { return FHeard; }
    void Clear() { FHeard.clear(); }
    int Count(QAccessible::Event type, const QString& name = QString()) const
    {
        int n = 0;
        for (const HeardEvent& e : FHeard)
            if (e.Type == type && (name.isNull() || e.Name == name))
                ++n;
        return n;
    }

private:
    static EventRecorder*& Instance()
    {
        static EventRecorder* recorder = nullptr;
        return recorder;
    }
    static void Record(QAccessibleEvent* e)
    {
        EventRecorder* r = Instance();
        if (!r)
            return;
        HeardEvent h{e->type(), e->object(), e->child(), {}, {}, {}, {}};
        if (QAccessibleInterface* iface = e->accessibleInterface())
            h.Name = iface->text(QAccessible::Name);
        if (e->type() == QAccessible::StateChanged)
            h.Changed = static_cast<QAccessibleStateChangeEvent*>(e)->changedStates();
        if (e->type() == QAccessible::TextUpdated) {
            auto* t = static_cast<QAccessibleTextUpdateEvent*>(e);
            h.TextBefore = t->textRemoved();
            h.TextAfter = t->textInserted();
        }
        r->FHeard.append(h);
    }
    QList<HeardEvent> FHeard;
};

} // namespace qortest
