// Published properties: one declaration gives Designer and .ui files their Q_PROPERTY and gives
// uic-generated code the Qt-style setter setX it calls, beside the system's own getter X() and
// setter SetX(), which the class declares itself. So the two setter names cannot drift apart.
//
//   QOR_PROPERTY(double, MeterMaxValue)                 plain property
//   QOR_PROPERTY_NOTIFY(double, Value, valueChanged)    property that changes by interaction
//   QOR_COLOR_PROPERTY(ColorScale)                      TColor property, QColor in Designer
//   QOR_FONT_PROPERTY(FontCaption)                      TFont* sub-object (const getter needed),
//                                                       QFont in Designer
//   QOR_SUB_PROPERTY(int, NeedleLayout, HeadSize)       property HeadSize of a sub-object
//
// Enumeration and set types are named fully qualified (qor::QOR_Meter::TMeterLayout), so that
// moc finds their meta-object and Designer shows their names. Use the macros in a public
// section; setX records the write for the configuration phase (QOR_Classes.h).
#pragma once

#include "QOR_Classes.h"

#include <type_traits>

namespace qor {
// Scalars by value, everything else by const reference.
template <class T>
using TPropertyArg = std::conditional_t<std::is_scalar_v<T>, T, const T&>;
} // namespace qor

#define QOR_QT_SETTER_(Type, Name, Apply)                                                          \
    void set##Name(qor::TPropertyArg<Type> v)                                                      \
    {                                                                                              \
        Apply;                                                                                     \
        this->PublishedWritten(#Name, QVariant::fromValue(v));                                     \
    }

#define QOR_PROPERTY(Type, Name)                                                                   \
    Q_PROPERTY(Type Name READ Name WRITE set##Name)                                                \
    QOR_QT_SETTER_(Type, Name, Set##Name(v))

#define QOR_PROPERTY_NOTIFY(Type, Name, Signal)                                                    \
    Q_PROPERTY(Type Name READ Name WRITE set##Name NOTIFY Signal)                                  \
    QOR_QT_SETTER_(Type, Name, Set##Name(v))

#define QOR_COLOR_PROPERTY(Name)                                                                   \
    Q_PROPERTY(QColor Name READ Name##AsQColor WRITE set##Name)                                    \
    QColor Name##AsQColor() const { return qor::ToQColor(Name()); }                                \
    QOR_QT_SETTER_(QColor, Name, Set##Name(qor::FromQColor(v)))

#define QOR_FONT_PROPERTY(Name)                                                                    \
    Q_PROPERTY(QFont Name READ Name##AsQFont WRITE set##Name)                                      \
    QFont Name##AsQFont() const { return Name()->ToQFont(); }                                     \
    QOR_QT_SETTER_(QFont, Name, Name()->AssignQFont(v))

#define QOR_SUB_PROPERTY(Type, Object, Name)                                                       \
    Q_PROPERTY(Type Object##_##Name READ Object##_##Name WRITE set##Object##_##Name)               \
    Type Object##_##Name() const { return Object()->Name(); }                                      \
    QOR_QT_SETTER_(Type, Object##_##Name, Object()->Set##Name(v))

#define QOR_SUB_COLOR_PROPERTY(Object, Name)                                                       \
    Q_PROPERTY(QColor Object##_##Name READ Object##_##Name WRITE set##Object##_##Name)             \
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
    void set##Name(qor::TPropertyArg<Type> v)                                                      \
    {                                                                                              \
        qor::GuardedCall([&] { Set##Name(v); });                                                   \
    }

#define QOR_UNSTORED_PROPERTY(Type, Name)                                                          \
    Q_PROPERTY(Type Name READ Name WRITE set##Name STORED false)                                   \
    QOR_UNSTORED_QT_SETTER_(Type, Name)

#define QOR_UNSTORED_PROPERTY_NOTIFY(Type, Name, Signal)                                           \
    Q_PROPERTY(Type Name READ Name WRITE set##Name NOTIFY Signal STORED false)                     \
    QOR_UNSTORED_QT_SETTER_(Type, Name)
