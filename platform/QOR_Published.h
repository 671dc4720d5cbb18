// Published properties: one declaration gives Designer and .ui files their Q_PROPERTY and gives
// uic-generated code the Qt-style setter setX it calls, beside the system's own getter X() and
// setter SetX(), which the class declares itself. So the two setter names cannot drift apart.
//
//   QOR_PROPERTY(double, MeterMaxValue)                 plain property
//   QOR_PROPERTY_NOTIFY(double, Value, valueChanged)    property that changes by interaction
//   QOR_COLOR_PROPERTY(ColorScale)                      TColor property, QColor in Designer
//   QOR_COLOR_PROPERTY_NOTIFY(SelColor, selColorChanged) the same, changing by interaction
//   QOR_FONT_PROPERTY(FontCaption)                      TFont* sub-object (const getter needed),
//                                                       QFont in Designer
//   QOR_SUB_PROPERTY(int, NeedleLayout, HeadSize)       property HeadSize of a sub-object
//
// Enumeration and set types are named fully qualified (qor::QOR_Meter::TMeterLayout), so that
// moc finds their meta-object and Designer shows their names. Use the macros in a public
// section. Each gives two writers that run SetX under the configuration phase's rules
// (QOR_Classes.h): setX, for code (uic-generated or a program's), and loaderSetX, the
// property's WRITE, which QUiLoader, Designer and QObject::setProperty reach.
//
// setX is a public slot that takes its value by value, so its signature is the property's type
// as Qt's string-based connections spell it (setValue(double), setCaption(QString)): Designer's
// signal/slot editor offers it, and a form can connect a QSlider to a meter.
#pragma once

#include "QOR_Classes.h"

#include <type_traits>

namespace qor {
// Scalars by value, everything else by const reference.
template <class T>
using TPropertyArg = std::conditional_t<std::is_scalar_v<T>, T, const T&>;
} // namespace qor

#define QOR_QT_SETTER_(Type, Name, Apply)                                                          \
    Q_SLOT void set##Name(Type v)                                                                  \
    {                                                                                              \
        this->WritePublished(#Name, v, qor::TComponentState::TWriteRoute::Call, [&] { Apply; });   \
    }                                                                                              \
    void loaderSet##Name(qor::TPropertyArg<Type> v)                                                \
    {                                                                                              \
        this->WritePublished(#Name, v, qor::TComponentState::TWriteRoute::MetaObject, [&] { Apply; }); \
    }

// Publishes Name of type Type: the Q_PROPERTY Name (READ Name(), WRITE loaderSetName()), the
// public slot setName(Type) and loaderSetName(), both storing through SetName().
#define QOR_PROPERTY(Type, Name)                                                                   \
    Q_PROPERTY(Type Name READ Name WRITE loaderSet##Name)                                          \
    QOR_QT_SETTER_(Type, Name, Set##Name(v))

// QOR_PROPERTY with Signal as the property's NOTIFY signal, for a property that changes by
// interaction (the class declares and emits Signal).
#define QOR_PROPERTY_NOTIFY(Type, Name, Signal)                                                    \
    Q_PROPERTY(Type Name READ Name WRITE loaderSet##Name NOTIFY Signal)                            \
    QOR_QT_SETTER_(Type, Name, Set##Name(v))

#define QOR_COLOR_ACCESSORS_(Name)                                                                 \
    QColor Name##AsQColor() const { return qor::ToQColor(Name()); }                                \
    QOR_QT_SETTER_(QColor, Name, Set##Name(qor::FromQColor(v)))

// Publishes the TColor property Name as a QColor: NameAsQColor() reads it, setName(QColor) and
// loaderSetName() store it through SetName(); system colours resolve through the palette.
#define QOR_COLOR_PROPERTY(Name)                                                                   \
    Q_PROPERTY(QColor Name READ Name##AsQColor WRITE loaderSet##Name)                              \
    QOR_COLOR_ACCESSORS_(Name)

// QOR_COLOR_PROPERTY with Signal as the NOTIFY signal.
#define QOR_COLOR_PROPERTY_NOTIFY(Name, Signal)                                                    \
    Q_PROPERTY(QColor Name READ Name##AsQColor WRITE loaderSet##Name NOTIFY Signal)                \
    QOR_COLOR_ACCESSORS_(Name)

// Publishes the TFont sub-object Name() as a QFont: NameAsQFont() reads it, setName(QFont) and
// loaderSetName() assign it.
#define QOR_FONT_PROPERTY(Name)                                                                    \
    Q_PROPERTY(QFont Name READ Name##AsQFont WRITE loaderSet##Name)                                \
    QFont Name##AsQFont() const { return Name()->ToQFont(); }                                     \
    QOR_QT_SETTER_(QFont, Name, Name()->AssignQFont(v))

// Publishes property Name of the sub-object Object() as Object_Name: the getter Object_Name(),
// the slot setObject_Name(Type) and loaderSetObject_Name() store through Object()->SetName().
#define QOR_SUB_PROPERTY(Type, Object, Name)                                                       \
    Q_PROPERTY(Type Object##_##Name READ Object##_##Name WRITE loaderSet##Object##_##Name)         \
    Type Object##_##Name() const { return Object()->Name(); }                                      \
    QOR_QT_SETTER_(Type, Object##_##Name, Object()->Set##Name(v))

// QOR_SUB_PROPERTY for a TColor property of the sub-object, published as a QColor.
#define QOR_SUB_COLOR_PROPERTY(Object, Name)                                                       \
    Q_PROPERTY(QColor Object##_##Name READ Object##_##Name WRITE loaderSet##Object##_##Name)       \
    QColor Object##_##Name() const { return qor::ToQColor(Object()->Name()); }                     \
    QOR_QT_SETTER_(QColor, Object##_##Name, Object()->Set##Name(qor::FromQColor(v)))

// A published property that is a part of another one (Day of a stored Date): Designer shows it,
// but forms do not store it, so a form never applies it before or after the whole it belongs
// to, and the configuration phase does not replay it. Its Qt-style setter routes an exception
// of SetX to HandleException: code that calls setX as uic does, or a hand-edited form that names
// the property anyway, cannot end the program with it.
//
//   QOR_UNSTORED_PROPERTY(int, Day)                      plain
//   QOR_UNSTORED_PROPERTY_NOTIFY(int, Day, changed)      changes by interaction
#define QOR_UNSTORED_QT_SETTER_(Type, Name)                                                        \
    Q_SLOT void set##Name(Type v)                                                                  \
    {                                                                                              \
        qor::GuardedCall([&] { Set##Name(v); });                                                   \
    }

// Publishes Name as a property that forms do not store (STORED false); its slot setName(Type)
// routes an exception of SetName() to HandleException.
#define QOR_UNSTORED_PROPERTY(Type, Name)                                                          \
    Q_PROPERTY(Type Name READ Name WRITE set##Name STORED false)                                   \
    QOR_UNSTORED_QT_SETTER_(Type, Name)

// QOR_UNSTORED_PROPERTY with Signal as the NOTIFY signal.
#define QOR_UNSTORED_PROPERTY_NOTIFY(Type, Name, Signal)                                           \
    Q_PROPERTY(Type Name READ Name WRITE set##Name NOTIFY Signal STORED false)                     \
    QOR_UNSTORED_QT_SETTER_(Type, Name)
