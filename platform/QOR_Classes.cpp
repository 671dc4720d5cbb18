#include "QOR_Classes.h"

#include <QCoreApplication>
#include <QFont>
#include <QMetaProperty>
#include <QMetaType>
#include <algorithm>
#include <utility>
#include <vector>

namespace qor {

QString ClassNameOf(const QObject* o)
{
    if (!o)
        return QStringLiteral("nil");
    QString name = QString::fromLatin1(o->metaObject()->className());
    const int sep = name.lastIndexOf(QLatin1String("::"));
    return sep >= 0 ? name.mid(sep + 2) : name;
}

// The published writes of the configuration phase that may still be written again, in the
// order of their first write.
struct TComponentState::TConfigLog {
    struct Entry {
        QMetaProperty Property;
        QVariant Requested;   // what the write asked for
        QVariant Seen;        // what the property held when the phase last looked
        TWriteRoute Route;
    };
    std::vector<Entry> Entries;
    bool Busy = false;        // a published write of this component is being handled
    bool WritingBack = false;
};

namespace {

// Published writes under way on this (the GUI) thread, write-backs included.
int PublishedWriteDepth = 0;

struct TDepthGuard {
    TDepthGuard() { ++PublishedWriteDepth; }
    ~TDepthGuard() { --PublishedWriteDepth; }
    TDepthGuard(const TDepthGuard&) = delete;
    TDepthGuard& operator=(const TDepthGuard&) = delete;
};

struct TFlagGuard {
    bool& Flag;
    explicit TFlagGuard(bool& f) : Flag(f) { Flag = true; }
    ~TFlagGuard() { Flag = false; }
    TFlagGuard(const TFlagGuard&) = delete;
    TFlagGuard& operator=(const TFlagGuard&) = delete;
};

} // namespace

TComponentState::TComponentState() = default;
TComponentState::~TComponentState() = default;

QString TComponentState::Name() const
{
    return ComponentObject()->objectName();
}

void TComponentState::Assign(const QObject* Source)
{
    if (auto* src = dynamic_cast<const TComponentState*>(Source)) {
        src->AssignTo(ComponentObject());
        return;
    }
    AssignError(Source);
}

void TComponentState::AssignTo(QObject* Dest) const
{
    throw EConvertError(QStringLiteral("Cannot assign a %1 to a %2")
                            .arg(ClassNameOf(ComponentObject()), ClassNameOf(Dest)));
}

void TComponentState::AssignError(const QObject* Source) const
{
    throw EConvertError(QStringLiteral("Cannot assign a %1 to a %2")
                            .arg(ClassNameOf(Source), ClassNameOf(ComponentObject())));
}

void TComponentState::StartConfiguration(QObject* self)
{
    // Without an application there is no form loading and no event loop to end the phase.
    if (!QCoreApplication::instance())
        return;
    FConfiguring = true;
    QMetaObject::invokeMethod(self, [this] { EndConfiguration(); }, Qt::QueuedConnection);
}

void TComponentState::EndConfiguration()
{
    FConfiguring = false;
    // A write under way (whose handler showed the component) drops the log when it is done.
    if (!FConfigLog || !FConfigLog->Busy)
        FConfigLog.reset();
}

void TComponentState::ConfiguredWrite(const char* Name, const QVariant& Value, TWriteRoute Route,
                                      const std::function<void()>& Apply)
{
    if (!FConfigLog)
        FConfigLog = std::make_unique<TConfigLog>();
    TConfigLog& log = *FConfigLog;
    QObject* self = ComponentObject();
    const QMetaObject* mo = self->metaObject();
    const QMetaProperty written = mo->property(mo->indexOfProperty(Name));
    if (!written.isValid()) {
        Apply();
        return;
    }
    auto sameProperty = [&](const TConfigLog::Entry& e) { return e.Property.propertyIndex() == written.propertyIndex(); };
    auto forget = [&](auto pred) { std::erase_if(log.Entries, pred); };
    // The record of the written property: a call that held needs none; fonts get none.
    auto record = [&] {
        if (Value.metaType() == QMetaType::fromType<QFont>())
            return;
        const QVariant now = written.read(self);
        forget(sameProperty);
        if (Route == TWriteRoute::MetaObject || now != Value)
            log.Entries.push_back({written, Value, now, Route});
    };
    auto apply = [&] {
        const TDepthGuard depth;
        Apply();
    };

    // A write-back, or a write from a handler of a setter still running (rule 4).
    if (PublishedWriteDepth > 0 || log.Busy) {
        apply();
        if (!log.WritingBack)
            record();
        return;
    }

    const TFlagGuard busy(log.Busy);
    // Rule 3: what changed since the phase last looked was the program's doing.
    forget([&](const auto& e) { return e.Property.read(self) != e.Seen; });
    apply();
    record();
    // A setX called in code that changed other properties on its way wins over their records.
    if (Route == TWriteRoute::Call)
        forget([&](const auto& e) { return !sameProperty(e) && e.Property.read(self) != e.Seen; });

    // Write again what does not hold: requests that never held (rule 1) and, after a
    // meta-object write, whatever it disturbed (rule 2). The list is taken first: the setters'
    // handlers may record writes of their own meanwhile.
    std::vector<std::pair<QMetaProperty, QVariant>> again;
    for (const auto& e : log.Entries)
        if (!sameProperty(e) && e.Property.read(self) != e.Requested
            && (Route == TWriteRoute::MetaObject || e.Seen != e.Requested))
            again.emplace_back(e.Property, e.Requested);
    // Named references, not a structured binding: lambdas of clang before 16 cannot capture one.
    for (const auto& entry : again) {
        const QMetaProperty& property = entry.first;
        const QVariant& value = entry.second;
        if (!FConfiguring)
            break;
        const TDepthGuard depth;
        const TFlagGuard writingBack(log.WritingBack);
        bool done = false;
        GuardedCall([&] { done = property.write(self, value); });
        if (!done)   // rule 5: a write-back that throws is forgotten
            forget([&](const auto& e) { return e.Property.propertyIndex() == property.propertyIndex(); });
    }

    // What the phase saw last; calls whose requests hold now need nothing more.
    for (auto& e : log.Entries)
        e.Seen = e.Property.read(self);
    forget([](const auto& e) { return e.Route == TWriteRoute::Call && e.Seen == e.Requested; });
    if (!FConfiguring)
        log.Entries.clear();
}

TComponent::TComponent(QObject* AOwner)
    : QObject(AOwner)
{
    StartConfiguration(this);
}

} // namespace qor
