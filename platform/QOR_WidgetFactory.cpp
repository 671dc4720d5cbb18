#include "QOR_WidgetFactory.h"

#include <QHash>
#include <QWidget>

namespace qor {

namespace {

QHash<QString, TWidgetMaker>& Makers()
{
    static QHash<QString, TWidgetMaker> makers;
    return makers;
}

QString Qualified(const QString& ClassName)
{
    return ClassName.contains(QLatin1String("::")) ? ClassName : QStringLiteral("qor::") + ClassName;
}

} // namespace

bool RegisterWidgetClass(const char* QualifiedName, TWidgetMaker Make)
{
    Makers().insert(QString::fromLatin1(QualifiedName), Make);
    return true;
}

QWidget* CreateWidget(const QString& ClassName, QWidget* Parent)
{
    const TWidgetMaker make = Makers().value(Qualified(ClassName));
    return make ? make(Parent) : nullptr;
}

bool IsWidgetClass(const QString& ClassName)
{
    return Makers().contains(Qualified(ClassName));
}

QStringList WidgetClassNames()
{
    QStringList names = Makers().keys();
    names.sort();
    return names;
}

} // namespace qor
