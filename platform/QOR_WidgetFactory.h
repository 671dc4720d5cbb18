// The library's widgets by class name: one way for everything that builds widgets from a form or
// a script (the Designer plugin, qor::TUiLoader in a program that loads no Designer plugins, the
// Python module) to make them.
//
//   QWidget* w = qor::CreateWidget("qor::TMeter", parent);   // "TMeter" works too
//
// Each widget class registers itself in its own source file with QOR_REGISTER_WIDGET, so the
// list cannot miss a class the library builds.
#pragma once

#include "korvane_export.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace qor {

// Makes a new widget of one class with the given parent.
using TWidgetMaker = QWidget* (*)(QWidget* Parent);

// Adds a class under its qualified name ("qor::TMeter"); the last registration of a name wins.
KORVANE_EXPORT bool RegisterWidgetClass(const char* QualifiedName, TWidgetMaker Make);
// A new widget of the class, with Parent as its parent; nullptr for a name the library does not
// know. Both the qualified name ("qor::TMeter", as forms store it) and the short one ("TMeter")
// are accepted.
KORVANE_EXPORT QWidget* CreateWidget(const QString& ClassName, QWidget* Parent = nullptr);
// True when CreateWidget knows ClassName (qualified or short).
KORVANE_EXPORT bool IsWidgetClass(const QString& ClassName);
// The qualified names of every registered class, sorted.
KORVANE_EXPORT QStringList WidgetClassNames();

} // namespace qor

// Registers Class with the factory when the library is loaded. In the class's source file, at
// namespace scope: QOR_REGISTER_WIDGET(qor::TMeter);
#define QOR_REGISTER_WIDGET(Class) QOR_REGISTER_WIDGET_AT_(Class, __LINE__)
#define QOR_REGISTER_WIDGET_AT_(Class, Line) QOR_REGISTER_WIDGET_NAMED_(Class, qor_widget_registered_##Line)
#define QOR_REGISTER_WIDGET_NAMED_(Class, Flag)                                                    \
    static const bool Flag = qor::RegisterWidgetClass(                                             \
        #Class, [](QWidget* parent) -> QWidget* { return new Class(parent); })
