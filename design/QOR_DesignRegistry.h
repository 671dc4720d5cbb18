// The registration services a design-time package calls, on top of Qt Designer: a package
// describes what it puts on the designer's palette with these calls, and the plugin classes
// (QOR_RegKorvane) build Designer's widget-box entries and extensions from what they recorded.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace qordesign {

// Whether the designer may load a package only when one of its classes is first used.
enum class TDemandLoadState { dlEnable = 0, dlDisable = 1 };

// Qt Designer loads every plugin at start-up and has no demand loading to switch off: the call
// is accepted and does nothing.
void ForceDemandLoadState(TDemandLoadState State);

// Puts Classes, in this order, on the palette page Page (Designer's widget-box group).
void RegisterComponents(const QString& Page, const QStringList& Classes);

// The kinds of property editor a package can bind.
enum class TPropertyEditorKind { FileName };

// Binds Editor to the property PropertyName (of type PropertyType, "QString") of ComponentClass.
// Property names are matched as the original designer did, ignoring case.
void RegisterPropertyEditor(const QString& PropertyType, const QString& ComponentClass,
                            const QString& PropertyName, TPropertyEditorKind Editor);

struct TPaletteEntry {
    QString Page;
    QString ClassName;
};
struct TPropertyEditorBinding {
    QString PropertyType;
    QString ComponentClass;
    QString PropertyName;
    TPropertyEditorKind Editor;
};

// What has been registered, in the order of the calls.
const QList<TPaletteEntry>& RegisteredComponents();
const QList<TPropertyEditorBinding>& RegisteredPropertyEditors();
// The bindings of one class's properties.
QList<TPropertyEditorBinding> PropertyEditorsOf(const QString& ComponentClass);

} // namespace qordesign
