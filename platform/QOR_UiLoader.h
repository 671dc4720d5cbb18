// Loading forms with the library's widgets in a program that does not load Designer plugins:
//
//   qor::TUiLoader loader;
//   QFile file(":/forms/panel.ui");
//   QWidget* form = loader.load(&file, this);
//
// Everything else QUiLoader does stays as it is. Needs Qt6::UiTools (header only, so the library
// itself does not depend on it).
#pragma once

#include "QOR_WidgetFactory.h"

#include <QUiLoader>
#include <QWidget>

namespace qor {

// A QUiLoader that makes the library's widgets itself, through CreateWidget().
class TUiLoader : public QUiLoader {
public:
    using QUiLoader::QUiLoader;

    // The library's widget of class ClassName named Name, or what QUiLoader makes of any other class.
    QWidget* createWidget(const QString& ClassName, QWidget* Parent = nullptr, const QString& Name = QString()) override
    {
        QWidget* widget = CreateWidget(ClassName, Parent);
        if (!widget)
            return QUiLoader::createWidget(ClassName, Parent, Name);
        widget->setObjectName(Name);
        return widget;
    }
};

} // namespace qor
