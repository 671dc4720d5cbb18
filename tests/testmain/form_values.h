// How the form tests compare a property: fonts by family, size and weight, colours by name,
// enumerations and sets by number, everything else as text. Header-only: the uic consumer,
// built outside the tree, uses it too.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QVariant>

namespace qortest {

inline QString Normalised(const QVariant& v)
{
    if (v.metaType().id() == QMetaType::QFont) {
        const QFont f = v.value<QFont>();
        return QStringLiteral("%1 %2 %3").arg(f.family()).arg(f.pointSize()).arg(f.bold());
    }
    if (v.metaType().id() == QMetaType::QColor)
        return v.value<QColor>().name();
    if (v.metaType().flags() & QMetaType::IsEnumeration)
        return QString::number(v.toInt());
    return v.toString();
}

} // namespace qortest
