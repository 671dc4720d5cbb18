// The design-time package: puts every component of the library on Qt Designer's widget box under
// "QOR-Gui" and gives the meter's picture file names a file dialog.
//
// Register() makes the package's registration calls; the plugin collection (KorvaneWidgets) runs
// it once when Designer loads the plugin and builds its widget-box entries from what it recorded,
// with the widget table (QOR_WidgetTable.h) for icons, texts and sizes.
#pragma once

#include "QOR_WidgetTable.h"

#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <QIcon>
#include <QObject>
#include <QPointer>

class QDesignerFormEditorInterface;

namespace qordesign {

// The package's registration, in its order: demand loading off, the 19 classes on "QOR-Gui",
// then the file-name editor for the meter's "AnchorImage" and "BackgroundImg".
void Register();

// The file-name editor of one string property of one widget: Edit() opens a file dialog on the
// property's value and, when the user confirms, makes the chosen file (full path) the value.
// Inside Designer's form editor the change goes through the form's cursor, so it can be undone.
class TFDFileNameProperty {
public:
    TFDFileNameProperty(QWidget* Widget, const QString& PropertyName);
    static QString Filter() { return QStringLiteral("Windows Bitmap Files (*.bmp);;All Files (*)"); }
    QString GetValue() const;
    void SetValue(const QString& Value);
    void Edit();

private:
    QPointer<QWidget> FWidget;
    QString FProperty;
};

class WidgetPlugin : public QObject, public QDesignerCustomWidgetInterface {
    Q_OBJECT
    Q_INTERFACES(QDesignerCustomWidgetInterface)
public:
    WidgetPlugin(const WidgetEntry& entry, const QString& group, QObject* parent);
    // The qualified class name, as the widget's meta-object gives it and .ui files store it.
    QString name() const override { return FEntry.FormClass; }
    QString group() const override { return FGroup; }
    QString toolTip() const override { return FEntry.ToolTip; }
    QString whatsThis() const override { return FEntry.WhatsThis; }
    QString includeFile() const override { return FEntry.IncludeFile; }
    QIcon icon() const override;
    bool isContainer() const override { return false; }
    QWidget* createWidget(QWidget* parent) override;
    bool isInitialized() const override { return FInitialized; }
    void initialize(QDesignerFormEditorInterface* core) override;
    QString domXml() const override;

private:
    WidgetEntry FEntry;
    QString FGroup;
    bool FInitialized = false;
    QDesignerFormEditorInterface* FCore = nullptr;   // set inside Designer only
};

class KorvaneWidgets : public QObject, public QDesignerCustomWidgetCollectionInterface {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
    Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)
public:
    explicit KorvaneWidgets(QObject* parent = nullptr);
    QList<QDesignerCustomWidgetInterface*> customWidgets() const override { return FWidgets; }

private:
    QList<QDesignerCustomWidgetInterface*> FWidgets;
};

} // namespace qordesign
