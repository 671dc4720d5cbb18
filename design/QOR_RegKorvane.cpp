#include "QOR_RegKorvane.h"

#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowCursorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionFactory>
#include <QtDesigner/QExtensionManager>

#include <QOR_Controls.h>

#include <QAction>
#include <QFileDialog>
#include <QPainter>
#include <QPixmap>

#include <QOR_Meter.h>
#include <QOR_NumIO2.h>
#include <QOR_NumIOEdit.h>
#include <QOR_replist.h>

namespace qordesign {

namespace {

template <class T>
std::function<QWidget*(QWidget*)> Factory()
{
    return [](QWidget* parent) -> QWidget* { return new T(parent); };
}

QList<WidgetEntry> BuildEntries()
{
    // Palette order of the library.
    QList<WidgetEntry> list;
    list.append({QStringLiteral("TMeter"), QStringLiteral("QOR_Meter.h"), QStringLiteral("Analog meter"),
                 QSize(297, 209), Factory<qor::TMeter>(),
                 {QStringLiteral("AnchorImage"), QStringLiteral("BackGroundImg")}});
    list.append({QStringLiteral("TNumIO"), QStringLiteral("QOR_NumIOEdit.h"), QStringLiteral("Numeric edit field"),
                 QSize(121, 21), Factory<qor::TNumIO>(), {}});
    list.append({QStringLiteral("TNumIO2"), QStringLiteral("QOR_NumIO2.h"), QStringLiteral("Numeric input field"),
                 QSize(160, 26), Factory<qor::TNumIO2>(), {}});
    list.append({QStringLiteral("TReportListView"), QStringLiteral("QOR_replist.h"), QStringLiteral("Report list"),
                 QSize(320, 200), Factory<qor::TReportListView>(), {}});
    return list;
}

// ---------------------------------------------------------------------------------------------
// File-name properties: a task-menu entry per property opens a file dialog.

class FileNameTaskMenu : public QObject, public QDesignerTaskMenuExtension {
    Q_OBJECT
    Q_INTERFACES(QDesignerTaskMenuExtension)
public:
    FileNameTaskMenu(QWidget* widget, const QStringList& properties, QObject* parent)
        : QObject(parent), FWidget(widget)
    {
        for (const QString& prop : properties) {
            auto* action = new QAction(tr("Choose %1...").arg(prop), this);
            connect(action, &QAction::triggered, this, [this, prop] { Choose(prop); });
            FActions.append(action);
        }
    }
    QList<QAction*> taskActions() const override { return FActions; }
    QAction* preferredEditAction() const override { return FActions.value(0); }

private:
    void Choose(const QString& prop)
    {
        const QString current = FWidget->property(prop.toLatin1().constData()).toString();
        const QString file = QFileDialog::getOpenFileName(
            FWidget, tr("Choose %1").arg(prop), current,
            QStringLiteral("Windows Bitmap Files (*.bmp);;All Files (*)"));
        if (file.isEmpty())
            return;   // cancelled: the property stays as it is
        if (auto* form = QDesignerFormWindowInterface::findFormWindow(FWidget))
            form->cursor()->setWidgetProperty(FWidget, prop, file);
        else
            FWidget->setProperty(prop.toLatin1().constData(), file);
    }
    QWidget* FWidget;
    QList<QAction*> FActions;
};

class FileNameTaskMenuFactory : public QExtensionFactory {
public:
    explicit FileNameTaskMenuFactory(QExtensionManager* parent) : QExtensionFactory(parent) {}
protected:
    QObject* createExtension(QObject* object, const QString& iid, QObject* parent) const override
    {
        if (iid != QLatin1String(Q_TYPEID(QDesignerTaskMenuExtension)))
            return nullptr;
        auto* widget = qobject_cast<QWidget*>(object);
        if (!widget)
            return nullptr;
        const QString cls = QString::fromLatin1(widget->metaObject()->className()).section(QStringLiteral("::"), -1);
        for (const auto& e : Entries())
            if (e.ClassName == cls && !e.FileNameProperties.isEmpty())
                return new FileNameTaskMenu(widget, e.FileNameProperties, parent);
        return nullptr;
    }
};

} // namespace

const QList<WidgetEntry>& Entries()
{
    static const QList<WidgetEntry> entries = BuildEntries();
    return entries;
}

WidgetPlugin::WidgetPlugin(const WidgetEntry& entry, QObject* parent)
    : QObject(parent), FEntry(entry)
{
}

QIcon WidgetPlugin::icon() const
{
    // A miniature of the widget itself.
    QWidget* sample = FEntry.Create(nullptr);
    sample->resize(FEntry.DefaultSize);
    QPixmap shot = sample->grab();
    delete sample;
    QPixmap icon(32, 32);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QPixmap scaled = shot.scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    p.drawPixmap((32 - scaled.width()) / 2, (32 - scaled.height()) / 2, scaled);
    return QIcon(icon);
}

QWidget* WidgetPlugin::createWidget(QWidget* parent)
{
    QWidget* w = FEntry.Create(parent);
    if (auto* component = dynamic_cast<qor::TComponentState*>(w))
        component->SetDesigning(true);
    return w;
}

void WidgetPlugin::initialize(QDesignerFormEditorInterface* core)
{
    if (FInitialized)
        return;
    FInitialized = true;
    if (!core)
        return;
    static bool factoryRegistered = false;
    if (!factoryRegistered) {
        QExtensionManager* manager = core->extensionManager();
        manager->registerExtensions(new FileNameTaskMenuFactory(manager), Q_TYPEID(QDesignerTaskMenuExtension));
        factoryRegistered = true;
    }
}

QString WidgetPlugin::domXml() const
{
    // The widget box shows the short name; forms store the qualified class.
    const QString cls = FEntry.ClassName;
    return QStringLiteral("<ui language=\"c++\" displayname=\"%1\">\n"
                          " <widget class=\"%2\" name=\"%3\">\n"
                          "  <property name=\"geometry\"><rect><x>0</x><y>0</y><width>%4</width>"
                          "<height>%5</height></rect></property>\n"
                          " </widget>\n"
                          "</ui>\n")
        .arg(cls, name(), cls.mid(1))
        .arg(FEntry.DefaultSize.width())
        .arg(FEntry.DefaultSize.height());
}

KorvaneWidgets::KorvaneWidgets(QObject* parent)
    : QObject(parent)
{
    for (const auto& e : Entries())
        FWidgets.append(new WidgetPlugin(e, this));
}

} // namespace qordesign

#include "QOR_RegKorvane.moc"
