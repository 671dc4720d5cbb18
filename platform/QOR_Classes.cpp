#include "QOR_Classes.h"

#include <QCoreApplication>
#include <QFont>
#include <QMetaType>
#include <algorithm>
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

// The published writes of the configuration phase, in the order of their first write.
struct TComponentState::TConfigLog {
    struct Entry {
        QByteArray Name;
        QVariant Value;
    };
    std::vector<Entry> Writes;
    bool Replaying = false;
};

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
    FConfigLog.reset();
}

void TComponentState::PublishedWritten(const char* Name, const QVariant& Value)
{
    if (!FConfiguring)
        return;
    if (!FConfigLog)
        FConfigLog = std::make_unique<TConfigLog>();
    TConfigLog& log = *FConfigLog;
    if (log.Replaying)
        return;
    const QByteArray name(Name);
    auto it = std::find_if(log.Writes.begin(), log.Writes.end(), [&](const auto& e) { return e.Name == name; });
    if (it != log.Writes.end())
        it->Value = Value;
    else
        log.Writes.push_back({name, Value});

    // Earlier writes that a later one overrode (a value clamped into a range set afterwards)
    // are written again; fonts read back in another form than written and are left alone.
    log.Replaying = true;
    QObject* self = ComponentObject();
    for (const auto& e : log.Writes) {
        if (e.Name == name || e.Value.metaType() == QMetaType::fromType<QFont>())
            continue;
        if (self->property(e.Name.constData()) != e.Value)
            self->setProperty(e.Name.constData(), e.Value);
    }
    log.Replaying = false;
}

TComponent::TComponent(QObject* AOwner)
    : QObject(AOwner)
{
    StartConfiguration(this);
}

} // namespace qor
