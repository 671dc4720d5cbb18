// The component layer every class of the library shares, visual or not: design mode, loading,
// Assign/AssignTo, and the configuration phase that makes forms load the same whatever order
// their properties come in. QtCore only: non-visual components include no GUI header.
#pragma once

#include "QOR_SysUtils.h"

#include <QObject>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <functional>
#include <memory>

namespace qor {

// Class name of a QObject as the messages show it, without namespace ("nil" for none).
KORVANE_EXPORT QString ClassNameOf(const QObject* o);

// ---------------------------------------------------------------------------------------------
// State every component has.
//
// The configuration phase: forms load the same whatever order their settings come in, and a
// program's own writes are never undone.
//
// It lasts from construction until the component is first shown, first rendered or the event
// loop first turns, whichever comes first (or until EndConfiguration()). Meanwhile every write
// through a Qt-style setter of a published property is a published write: setX called in code
// (uic-generated or a program's), or the meta-object writer that QUiLoader, Designer and
// QObject::setProperty reach. The rules:
//  1. A published write that does not hold (the setter clamped or ignored it: a value outside
//     a range the form sets only afterwards) is written again after each later published
//     write, until it holds.
//  2. After a meta-object write, every earlier meta-object write that no longer holds is
//     written again, so a form loaded at run time acts as if the properties that change others
//     came first (a flag that exchanges two colours does not undo the colours the form gives).
//     Code gets no such restoring: after setColorFirst, setColorLast and setColorFlipped(true)
//     called in code the colours are exchanged, before showing as after.
//  3. Every write a program makes wins over what was recorded before it: a record is dropped
//     as soon as its property changes by anything but the phase's own write-backs (SetX,
//     Assign, a range call, or a setX called in code that changes other properties too).
//  4. Nothing is written back while a published write is under way: a setX from a signal
//     handler of a setter (or of a write-back) is recorded, but writes nothing back itself.
//  5. A write-back that throws goes to HandleException and is dropped; the phase goes on and
//     ends as above. Fonts are never written back (they read back in another form).
// Declare published properties in a sensible order (ranges before values, flags before what
// they change): Designer stores forms in that order, and uic-compiled forms follow it.
// A write of the value a property already holds cannot be told from no write, so a request
// that never held survives it. Afterwards every setter behaves as always.
class KORVANE_EXPORT TComponentState {
public:
    TComponentState();
    virtual ~TComponentState();
    TComponentState(const TComponentState&) = delete;
    TComponentState& operator=(const TComponentState&) = delete;

    // Whether the component is in design mode (placed on a form in the designer); false in
    // programs.
    bool Designing() const { return FDesigning; }
    // Switches design mode; the designer plugin sets it on every component it places.
    virtual void SetDesigning(bool v) { FDesigning = v; }
    // Whether BeginLoading() was called and Loaded() has not yet ended it.
    bool Loading() const { return FLoading; }
    // While loading, setters only store; Loaded() ends loading and applies what depends on it.
    virtual void BeginLoading() { FLoading = true; }
    // Ends loading; components override it to apply what depends on the stored settings.
    virtual void Loaded() { FLoading = false; }
    // Copies the settings of Source. The default asks Source to assign itself to this component
    // and throws EConvertError ("Cannot assign a <source class> to a <this class>") otherwise.
    virtual void Assign(const QObject* Source);
    // The default throws EConvertError naming both classes.
    virtual void AssignTo(QObject* Dest) const;
    // The component's QObject (its Name is objectName()).
    virtual QObject* ComponentObject() = 0;
    // The component's QObject, read-only.
    const QObject* ComponentObject() const { return const_cast<TComponentState*>(this)->ComponentObject(); }
    // The component's name: objectName() of its QObject (empty when unnamed).
    QString Name() const;

    // --- configuration phase
    // Whether the configuration phase (above) is still on; false from the start without a
    // QCoreApplication.
    bool Configuring() const { return FConfiguring; }
    // Ends the configuration phase now (the hosts call it when first shown or rendered).
    void EndConfiguration();
    // How a published write came: a call of setX in code (uic-generated or a program's), or
    // the meta-object (QUiLoader, Designer, QObject::setProperty).
    enum class TWriteRoute : std::uint8_t { Call, MetaObject };
    // The Qt-style setter of published property Name: Apply() stores Value through the
    // system's setter, under the rules of the configuration phase.
    template <class T, class F>
    void WritePublished(const char* Name, const T& Value, TWriteRoute Route, F&& Apply)
    {
        if (!FConfiguring) {
            Apply();
            return;
        }
        ConfiguredWrite(Name, QVariant::fromValue(Value), Route, Apply);
    }

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
    void ConfiguredWrite(const char* Name, const QVariant& Value, TWriteRoute Route,
                         const std::function<void()>& Apply);
    bool FDesigning = false;
    bool FLoading = false;
    bool FConfiguring = false;
    std::unique_ptr<TConfigLog> FConfigLog;
};

// Non-visual component.
class KORVANE_EXPORT TComponent : public QObject, public TComponentState {
    Q_OBJECT
public:
    // Creates the component owned by AOwner (its QObject parent), which frees it; starts the
    // configuration phase.
    explicit TComponent(QObject* AOwner = nullptr);
    QObject* ComponentObject() override { return this; }
    // The owner: the QObject parent (nullptr when none).
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
