// A listener in Qt's place of a screen reader's bridge: Qt hands every accessibility event to
// the bridges it loaded, so tests hear what a reader would, on any platform (offscreen too).
#include "test_support.h"

#include <QAccessibleBridge>
#include <QAccessibleBridgePlugin>

namespace qortest {

namespace {

AccessibilityListener& Listener()
{
    static AccessibilityListener listener;
    return listener;
}

class TestBridge : public QAccessibleBridge {
public:
    void setRootObject(QAccessibleInterface*) override {}
    void notifyAccessibilityUpdate(QAccessibleEvent* event) override
    {
        if (Listener())
            Listener()(event);
    }
};

} // namespace

void SetAccessibilityListener(AccessibilityListener listener)
{
    Listener() = std::move(listener);
}

} // namespace qortest

class KorvaneTestBridgePlugin : public QAccessibleBridgePlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QAccessibleBridgeFactoryInterface_iid FILE "accessibility_bridge.json")
public:
    QAccessibleBridge* create(const QString&) override { return new qortest::TestBridge; }
};

#include "accessibility_bridge.moc"
