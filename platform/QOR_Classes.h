// The component layer every class of the library shares, visual or not: design mode, loading,
// Assign/AssignTo, and the configuration phase that makes forms load the same whatever order
// their properties come in. QtCore only: non-visual components include no GUI header.
#pragma once

#include "QOR_SysUtils.h"

#include <QObject>
#include <QString>
#include <QVariant>
#include <memory>

namespace qor {

// Class name of a QObject as the messages show it, without namespace ("nil" for none).
KORVANE_EXPORT QString ClassNameOf(const QObject* o);

// ---------------------------------------------------------------------------------------------
// State every component has.
//
// Configuration phase: from construction until the component is first shown or the event loop
// first runs, the Qt-style setters of its published properties (setX, which uic-generated code
// and QUiLoader call) are recorded. After each such write, every earlier recorded property
// that does not hold its requested value is written again. So a value stored with its range
// ends up the same whether a form lists the value or the range first, exactly as if the form
// had written the range first. Afterwards setters behave as always.
class KORVANE_EXPORT TComponentState {
public:
    TComponentState();
    virtual ~TComponentState();
    TComponentState(const TComponentState&) = delete;
    TComponentState& operator=(const TComponentState&) = delete;

    bool Designing() const { return FDesigning; }
    virtual void SetDesigning(bool v) { FDesigning = v; }
    bool Loading() const { return FLoading; }
    // While loading, setters only store; Loaded() ends loading and applies what depends on it.
    virtual void BeginLoading() { FLoading = true; }
    virtual void Loaded() { FLoading = false; }
    // Copies the settings of Source. The default asks Source to assign itself to this component
    // and throws EConvertError ("Cannot assign a <source class> to a <this class>") otherwise.
    virtual void Assign(const QObject* Source);
    // The default throws EConvertError naming both classes.
    virtual void AssignTo(QObject* Dest) const;
    // The component's QObject (its Name is objectName()).
    virtual QObject* ComponentObject() = 0;
    const QObject* ComponentObject() const { return const_cast<TComponentState*>(this)->ComponentObject(); }
    QString Name() const;

    // --- configuration phase
    bool Configuring() const { return FConfiguring; }
    // Ends the configuration phase now (the hosts call it when first shown).
    void EndConfiguration();
    // Called by the Qt-style setter of published property Name after it wrote Value.
    void PublishedWritten(const char* Name, const QVariant& Value);

protected:
    // Called by the constructors of the QObject classes: schedules the end of the configuration
    // phase for the first turn of the event loop.
    void StartConfiguration(QObject* self);
    [[noreturn]] void AssignError(const QObject* Source) const;
    // The AssignTo rule of every component class T: when Dest is a T and this component is an
    // instance of Dest's class, Dest->Assign(this) and true; otherwise false (the caller then
    // defers to its base class).
    template <class T>
    bool AssignToSameClass(QObject* Dest) const
    {
        auto* d = qobject_cast<T*>(Dest);
        if (!d || !ComponentObject()->metaObject()->inherits(Dest->metaObject()))
            return false;
        d->Assign(ComponentObject());
        return true;
    }

private:
    struct TConfigLog;
    bool FDesigning = false;
    bool FLoading = false;
    bool FConfiguring = false;
    std::unique_ptr<TConfigLog> FConfigLog;
};

// Non-visual component.
class KORVANE_EXPORT TComponent : public QObject, public TComponentState {
    Q_OBJECT
public:
    explicit TComponent(QObject* AOwner = nullptr);
    QObject* ComponentObject() override { return this; }
    QObject* Owner() const { return parent(); }
};

// The first step of a setter: stores v when it differs from field. True when it changed.
template <class T>
bool Store(T& field, const T& v)
{
    if (field == v)
        return false;
    field = v;
    return true;
}

// Fires a notification event and then its Qt signal: handler(self, args...), then
// emit (self->*signal)(args...).
template <class Self, class Handler, class Signal, class... Args>
void Notify(Self* self, const Handler& handler, Signal signal, const Args&... args)
{
    if (handler)
        handler(self, args...);
    (self->*signal)(args...);
}

} // namespace qor
