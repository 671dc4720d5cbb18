#include "QOR_DesignRegistry.h"

namespace qordesign {

namespace {

QList<TPaletteEntry>& Components()
{
    static QList<TPaletteEntry> list;
    return list;
}

QList<TPropertyEditorBinding>& Editors()
{
    static QList<TPropertyEditorBinding> list;
    return list;
}

} // namespace

void ForceDemandLoadState(TDemandLoadState)
{
}

void RegisterComponents(const QString& Page, const QStringList& Classes)
{
    for (const QString& cls : Classes)
        Components().append({Page, cls});
}

void RegisterPropertyEditor(const QString& PropertyType, const QString& ComponentClass,
                            const QString& PropertyName, TPropertyEditorKind Editor)
{
    Editors().append({PropertyType, ComponentClass, PropertyName, Editor});
}

const QList<TPaletteEntry>& RegisteredComponents()
{
    return Components();
}

const QList<TPropertyEditorBinding>& RegisteredPropertyEditors()
{
    return Editors();
}

QList<TPropertyEditorBinding> PropertyEditorsOf(const QString& ComponentClass)
{
    QList<TPropertyEditorBinding> found;
    for (const auto& b : Editors())
        if (b.ComponentClass == ComponentClass)
            found.append(b);
    return found;
}

} // namespace qordesign
