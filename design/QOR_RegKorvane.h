// Qt Designer plugin: puts the library's widgets on Designer's widget box (group "QOR-Gui") and
// gives file-name properties a task-menu entry with a file dialog.
#pragma once

#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <QIcon>
#include <QObject>
#include <QStringList>
#include <functional>

class QPainter;

class QDesignerFormEditorInterface;

namespace qordesign {

// What Designer needs to know of one widget class.
struct WidgetEntry {
    QString ClassName;        // "TMeter"
    QString IncludeFile;      // "QOR_Meter.h"
    QString ToolTip;
    QSize DefaultSize;
    std::function<QWidget*(QWidget*)> Create;
    // Draws the widget-box icon on a transparent 32 x 32 pixmap (antialiased painter).
    std::function<void(QPainter&)> PaintIcon;
    QStringList FileNameProperties;   // properties edited with a file dialog
    // Properties Designer stores with every new widget (a range that must reach the program).
    QString ExtraDomXml;
};

// The registered widgets in palette order.
const QList<WidgetEntry>& Entries();

class WidgetPlugin : public QObject, public QDesignerCustomWidgetInterface {
    Q_OBJECT
    Q_INTERFACES(QDesignerCustomWidgetInterface)
public:
    WidgetPlugin(const WidgetEntry& entry, QObject* parent);
    // The qualified class name, as the widget's meta-object gives it and .ui files store it.
    QString name() const override { return QStringLiteral("qor::") + FEntry.ClassName; }
    QString group() const override { return QStringLiteral("QOR-Gui"); }
    QString toolTip() const override { return FEntry.ToolTip; }
    QString whatsThis() const override { return FEntry.ToolTip; }
    QString includeFile() const override { return FEntry.IncludeFile; }
    QIcon icon() const override;
    bool isContainer() const override { return false; }
    QWidget* createWidget(QWidget* parent) override;
    bool isInitialized() const override { return FInitialized; }
    void initialize(QDesignerFormEditorInterface* core) override;
    QString domXml() const override;
private:
    WidgetEntry FEntry;
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
