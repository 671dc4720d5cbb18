#include "QOR_RegKorvane.h"
#include "QOR_DesignRegistry.h"

#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowCursorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionFactory>
#include <QtDesigner/QExtensionManager>

#include <QOR_Classes.h>
#include <QOR_WidgetFactory.h>

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QMetaProperty>
#include <QPainter>
#include <QPixmap>

namespace qordesign {

void Register()
{
    ForceDemandLoadState(TDemandLoadState::dlDisable);
    RegisterComponents(QStringLiteral("QOR-Gui"),
                       {QStringLiteral("TMeter"), QStringLiteral("TMarkSel"), QStringLiteral("TColSel"),
                        QStringLiteral("TGradFill"), QStringLiteral("TNTabEd"), QStringLiteral("TNumLab"),
                        QStringLiteral("TNumIO"), QStringLiteral("TNumIO2"), QStringLiteral("TOnOffBut"),
                        QStringLiteral("TMiniCal"), QStringLiteral("TRotLab"), QStringLiteral("TSevenSeg"),
                        QStringLiteral("TProgBar"), QStringLiteral("TRasterLab"), QStringLiteral("TFolderTree"),
                        QStringLiteral("TThumbnails"), QStringLiteral("TReportListView"),
                        QStringLiteral("TRepSpeedButton"), QStringLiteral("TRLData")});
    RegisterPropertyEditor(QStringLiteral("QString"), QStringLiteral("TMeter"), QStringLiteral("AnchorImage"),
                           TPropertyEditorKind::FileName);
    RegisterPropertyEditor(QStringLiteral("QString"), QStringLiteral("TMeter"), QStringLiteral("BackgroundImg"),
                           TPropertyEditorKind::FileName);
}

// ---------------------------------------------------------------------------------------------
// File-name properties

TFDFileNameProperty::TFDFileNameProperty(QWidget* Widget, const QString& PropertyName)
    : FWidget(Widget), FProperty(PropertyName)
{
}

QString TFDFileNameProperty::GetValue() const
{
    return FWidget ? FWidget->property(FProperty.toLatin1().constData()).toString() : QString();
}

void TFDFileNameProperty::SetValue(const QString& Value)
{
    if (!FWidget)
        return;
    if (auto* form = QDesignerFormWindowInterface::findFormWindow(FWidget))
        form->cursor()->setWidgetProperty(FWidget, FProperty, Value);
    else
        FWidget->setProperty(FProperty.toLatin1().constData(), Value);
}

void TFDFileNameProperty::Edit()
{
    QFileDialog dialog(FWidget ? FWidget->window() : nullptr, QObject::tr("Choose %1").arg(FProperty));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(Filter().split(QStringLiteral(";;")));
    const QString current = GetValue();
    if (!current.isEmpty()) {
        const QFileInfo file(current);
        dialog.setDirectory(file.absolutePath());
        dialog.selectFile(file.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || !FWidget)
        return;   // cancelled: the property stays as it is
    const QStringList chosen = dialog.selectedFiles();
    if (!chosen.isEmpty())
        SetValue(QFileInfo(chosen.first()).absoluteFilePath());
}

namespace {

// The palette class of a widget made by the plugin ("TMeter" for a qor::TMeter).
QString PaletteClassOf(const QWidget* widget)
{
    const QString formClass = QString::fromLatin1(widget->metaObject()->className());
    for (const TPaletteEntry& e : RegisteredComponents())
        if (const WidgetEntry* entry = FindWidgetEntry(e.ClassName); entry && entry->FormClass == formClass)
            return e.ClassName;
    return {};
}

// The widget's own spelling of a property registered under Name (matched ignoring case).
QString PropertyNamed(const QWidget* widget, const QString& Name)
{
    const QMetaObject* meta = widget->metaObject();
    for (int i = 0; i < meta->propertyCount(); ++i) {
        const QString candidate = QString::fromLatin1(meta->property(i).name());
        if (candidate.compare(Name, Qt::CaseInsensitive) == 0)
            return candidate;
    }
    return {};
}

// A task-menu entry "Choose <property>..." per file-name property of the widget.
class FileNameTaskMenu : public QObject, public QDesignerTaskMenuExtension {
    Q_OBJECT
    Q_INTERFACES(QDesignerTaskMenuExtension)
public:
    FileNameTaskMenu(QWidget* widget, const QStringList& properties, QObject* parent) : QObject(parent)
    {
        for (const QString& prop : properties) {
            auto* action = new QAction(tr("Choose %1...").arg(prop), this);
            action->setObjectName(QStringLiteral("Choose") + prop);
            connect(action, &QAction::triggered, this, [widget, prop] { TFDFileNameProperty(widget, prop).Edit(); });
            FActions.append(action);
        }
    }
    QList<QAction*> taskActions() const override { return FActions; }
    QAction* preferredEditAction() const override { return FActions.value(0); }

private:
    QList<QAction*> FActions;
};

class FileNameTaskMenuFactory : public QExtensionFactory {
public:
    explicit FileNameTaskMenuFactory(QExtensionManager* parent) : QExtensionFactory(parent) {}

protected:
    QObject* createExtension(QObject* object, const QString& iid, QObject* parent) const override
    {
        auto* widget = qobject_cast<QWidget*>(object);
        if (!widget || iid != QLatin1String(Q_TYPEID(QDesignerTaskMenuExtension)))
            return nullptr;
        QStringList properties;
        for (const TPropertyEditorBinding& b : PropertyEditorsOf(PaletteClassOf(widget)))
            if (const QString name = PropertyNamed(widget, b.PropertyName); !name.isEmpty())
                properties.append(name);
        return properties.isEmpty() ? nullptr : new FileNameTaskMenu(widget, properties, parent);
    }
};

QPixmap IconPixmap(const WidgetEntry& entry, int size)
{
    QPixmap pix(size, size);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    entry.PaintIcon(p);
    return pix;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Widget-box entries

WidgetPlugin::WidgetPlugin(const WidgetEntry& entry, const QString& group, QObject* parent)
    : QObject(parent), FEntry(entry), FGroup(group)
{
}

QIcon WidgetPlugin::icon() const
{
    QIcon icon;
    icon.addPixmap(IconPixmap(FEntry, 16));
    icon.addPixmap(IconPixmap(FEntry, 32));
    return icon;
}

QWidget* WidgetPlugin::createWidget(QWidget* parent)
{
    QWidget* w = qor::CreateWidget(FEntry.FormClass, parent);
    // Design mode belongs to Designer's form editor only: its preview, QUiLoader and every
    // program get the widget as code would.
    const bool inFormEditor = FCore && parent && QDesignerFormWindowInterface::findFormWindow(parent);
    if (auto* component = dynamic_cast<qor::TComponentState*>(w); component && inFormEditor)
        component->SetDesigning(true);
    return w;
}

void WidgetPlugin::initialize(QDesignerFormEditorInterface* core)
{
    if (FInitialized)
        return;
    FInitialized = true;
    FCore = core;
    if (!core)
        return;
    // One task-menu factory per Designer, whichever widget is initialized first.
    QExtensionManager* manager = core->extensionManager();
    if (!manager->property("korvaneFileNames").toBool()) {
        manager->registerExtensions(new FileNameTaskMenuFactory(manager), Q_TYPEID(QDesignerTaskMenuExtension));
        manager->setProperty("korvaneFileNames", true);
    }
}

QString WidgetPlugin::domXml() const
{
    // The widget box shows the palette name; forms store the qualified class.
    return QStringLiteral("<ui language=\"c++\" displayname=\"%1\">\n"
                          " <widget class=\"%2\" name=\"%3\">\n"
                          "  <property name=\"geometry\"><rect><x>0</x><y>0</y><width>%4</width>"
                          "<height>%5</height></rect></property>\n"
                          "%6"
                          " </widget>\n"
                          "</ui>\n")
        .arg(FEntry.ClassName, FEntry.FormClass, FEntry.ObjectName)
        .arg(FEntry.DefaultSize.width())
        .arg(FEntry.DefaultSize.height())
        .arg(FEntry.DomDefaults);
}

KorvaneWidgets::KorvaneWidgets(QObject* parent) : QObject(parent)
{
    static const bool registered = (Register(), true);
    Q_UNUSED(registered);
    for (const TPaletteEntry& e : RegisteredComponents())
        if (const WidgetEntry* entry = FindWidgetEntry(e.ClassName))
            FWidgets.append(new WidgetPlugin(*entry, e.Page, this));
}

} // namespace qordesign

#include "QOR_RegKorvane.moc"
