// The Designer plugin: widget box entries, widget creation, forms through QUiLoader.
#include <gtest/gtest.h>

#include <QOR_Controls.h>
#include <QOR_Meter.h>
#include <QOR_WidgetFactory.h>
#include <QOR_replist.h>
#include <QOR_rlformdata.h>
#include "test_support.h"

#include <QBuffer>
#include <QDir>
#include <QDomDocument>
#include <QFileInfo>
#include <QMetaProperty>
#include <QSet>
#include <QPluginLoader>
#include <QUiLoader>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

namespace {

// The palette, in the package's order.
const QStringList PaletteOrder = {"TMeter", "TMarkSel", "TColSel", "TGradFill", "TNTabEd", "TNumLab",
                                  "TNumIO", "TNumIO2", "TOnOffBut", "TMiniCal", "TRotLab", "TSevenSeg",
                                  "TProgBar", "TRasterLab", "TFolderTree", "TThumbnails",
                                  "TReportListView", "TRepSpeedButton", "TRLData"};

QDesignerCustomWidgetCollectionInterface* Collection()
{
    static QPluginLoader loader(QStringLiteral(KORVANE_DSGN_FILE));
    QObject* root = loader.instance();
    EXPECT_NE(root, nullptr) << loader.errorString().toStdString();
    return qobject_cast<QDesignerCustomWidgetCollectionInterface*>(root);
}

// The palette name Designer shows: the domXml's display name.
QString DisplayName(const QDesignerCustomWidgetInterface* w)
{
    QDomDocument doc;
    doc.setContent(w->domXml());
    return doc.documentElement().attribute(QStringLiteral("displayname"));
}

TEST(DesignerPlugin, ListsTheNineteenClassesInPaletteOrderUnderOneGroup)
{
    auto* collection = Collection();
    ASSERT_NE(collection, nullptr);
    QStringList names;
    QSet<QString> whatsThis;
    for (auto* w : collection->customWidgets()) {
        names << DisplayName(w);
        EXPECT_EQ(w->group(), QStringLiteral("QOR-Gui"));
        EXPECT_TRUE(w->name().startsWith(QStringLiteral("qor::T")));
        EXPECT_TRUE(w->name().endsWith(DisplayName(w))) << w->name().toStdString();
        EXPECT_TRUE(w->includeFile().startsWith(QStringLiteral("QOR_")) && w->includeFile().endsWith(".h"));
        EXPECT_TRUE(w->domXml().contains(QStringLiteral("class=\"%1\"").arg(w->name())));
        EXPECT_FALSE(w->toolTip().isEmpty());
        EXPECT_GT(w->whatsThis().size(), w->toolTip().size()) << w->name().toStdString();
        whatsThis.insert(w->whatsThis());
        // Crisp at both sizes: drawn for each, not scaled from one.
        const QIcon icon = w->icon();
        EXPECT_EQ(icon.availableSizes(), (QList<QSize>{{16, 16}, {32, 32}})) << w->name().toStdString();
        for (int size : {16, 32}) {
            const QImage img = icon.pixmap(size, size).toImage();
            int painted = 0;
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x)
                    painted += qAlpha(img.pixel(x, y)) > 0;
            EXPECT_GT(painted, size * size / 8) << w->name().toStdString() << " at " << size;
        }
    }
    EXPECT_EQ(names, PaletteOrder);
    EXPECT_EQ(whatsThis.size(), PaletteOrder.size());
}

// Every header a form names is a header the library installs.
TEST(DesignerPlugin, IncludeFilesAreTheClassesHeaders)
{
    for (auto* w : Collection()->customWidgets()) {
        QWidget* made = w->createWidget(nullptr);
        ASSERT_NE(made, nullptr) << w->name().toStdString();
        const QString header = w->includeFile();
        QStringList found;
        for (const QString& dir : QDir(QStringLiteral(KORVANE_SOURCE_DIR)).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            if (QFileInfo::exists(QStringLiteral(KORVANE_SOURCE_DIR "/%1/%2").arg(dir, header)))
                found << dir;
        EXPECT_EQ(found.size(), 1) << header.toStdString();
        delete made;
    }
}

// The library's own factory: what the plugin, qor::TUiLoader and scripts use.
TEST(WidgetFactory, CreatesEveryRegisteredClassByEitherName)
{
    QStringList formClasses;
    for (auto* w : Collection()->customWidgets())
        formClasses << w->name();
    formClasses.sort();
    EXPECT_EQ(qor::WidgetClassNames(), formClasses);
    for (const QString& cls : formClasses) {
        QWidget parent;
        for (const QString& name : {cls, cls.mid(5)}) {
            QWidget* w = qor::CreateWidget(name, &parent);
            ASSERT_NE(w, nullptr) << name.toStdString();
            EXPECT_EQ(w->parent(), &parent);
            EXPECT_EQ(QString::fromLatin1(w->metaObject()->className()), cls);
            EXPECT_TRUE(qor::IsWidgetClass(name));
        }
    }
    EXPECT_EQ(qor::CreateWidget(QStringLiteral("QLabel")), nullptr);
    EXPECT_EQ(qor::CreateWidget(QStringLiteral("qor::TNoSuchWidget")), nullptr);
    EXPECT_FALSE(qor::IsWidgetClass(QString()));
}

// A form's data container: hidden in a program, one call away, and shown by a view.
TEST(WidgetFactory, AFormsDataContainerFeedsAReportListView)
{
    QWidget form;
    auto* holder = qobject_cast<qor::TFormTRLData*>(qor::CreateWidget(QStringLiteral("qor::TFormTRLData"), &form));
    ASSERT_NE(holder, nullptr);
    holder->setObjectName(QStringLiteral("RLData1"));
    holder->setNrOfColumns(3);
    holder->setNrOfRows(4);
    auto* view = new qor::TReportListView(&form);
    form.show();
    EXPECT_FALSE(holder->isVisible());
    qor::TRLData* data = qor::TFormTRLData::Find(&form, QStringLiteral("RLData1"));
    ASSERT_EQ(data, holder->Data());
    EXPECT_EQ(qor::TFormTRLData::Find(&form, QStringLiteral("none")), nullptr);

    view->SetData(data);
    EXPECT_EQ(view->Data(), data);
    EXPECT_EQ(view->NrOfColumns(), 3);
    EXPECT_EQ(view->NrOfRows(), 4);
    // Changes made on the data itself reach the view, sizes included.
    data->SetNrOfColumns(5);
    data->SetNrOfRows(7);
    data->SetElem(5, 7, QStringLiteral("last"));
    EXPECT_EQ(view->ColCount(), 5);
    EXPECT_EQ(view->RowCount(), view->CountHeadRows() + 7);
    EXPECT_EQ(view->Elem(5, 7), QStringLiteral("last"));
    view->grab();   // paints every cell of the foreign data

    // The view's own data comes back when the shown data goes, and on SetData(nullptr).
    qor::TRLData* own = nullptr;
    {
        qor::TRLData other;
        other.SetNrOfColumns(2);
        view->SetData(&other);
        EXPECT_EQ(view->NrOfColumns(), 2);
    }
    own = view->Data();
    ASSERT_NE(own, nullptr);
    EXPECT_NE(own, data);
    own->SetNrOfRows(2);
    view->grab();
    view->SetData(data);
    view->SetData(nullptr);
    EXPECT_EQ(view->Data(), own);
    // The data no longer reports to the view it left.
    data->SetNrOfRows(1);
    EXPECT_EQ(view->NrOfRows(), 2);
    delete view;
    data->SetElem(1, 1, QStringLiteral("after the view"));   // its hooks are gone with the view
    EXPECT_EQ(data->Elem(1, 1), QStringLiteral("after the view"));
}

// Outside Designer's form editor (QUiLoader, Designer's preview) a widget is what code makes;
// design mode inside the form editor is tested with Designer's own components.
TEST(DesignerPlugin, CreatesWidgetsAsCodeDoesOutsideTheFormEditor)
{
    auto* collection = Collection();
    ASSERT_NE(collection, nullptr);
    for (auto* w : collection->customWidgets()) {
        w->initialize(nullptr);
        QWidget parent;
        QWidget* widget = w->createWidget(&parent);
        ASSERT_NE(widget, nullptr);
        auto* component = dynamic_cast<qor::TComponentState*>(widget);
        ASSERT_NE(component, nullptr) << w->name().toStdString();
        EXPECT_FALSE(component->Designing());
        EXPECT_EQ(QString::fromLatin1(widget->metaObject()->className()), w->name());
    }
}

TEST(DesignerPlugin, UiLoaderBuildsFormsWithTheWidgets)
{
    auto* collection = Collection();
    ASSERT_NE(collection, nullptr);
    QUiLoader loader;
    loader.addPluginPath(QStringLiteral(KORVANE_DSGN_DIR));
    for (auto* w : collection->customWidgets()) {
        const QByteArray ui = QStringLiteral(
            "<ui version=\"4.0\"><class>Form</class><widget class=\"QWidget\" name=\"Form\">"
            "<widget class=\"%1\" name=\"probe\"><property name=\"geometry\"><rect><x>5</x><y>6</y>"
            "<width>150</width><height>90</height></rect></property></widget></widget></ui>")
                                  .arg(w->name()).toUtf8();
        QBuffer buffer;
        buffer.setData(ui);
        buffer.open(QIODevice::ReadOnly);
        std::unique_ptr<QWidget> form(loader.load(&buffer));
        ASSERT_NE(form, nullptr) << loader.errorString().toStdString();
        QWidget* probe = form->findChild<QWidget*>(QStringLiteral("probe"));
        ASSERT_NE(probe, nullptr) << w->name().toStdString();
        EXPECT_EQ(QString::fromLatin1(probe->metaObject()->className()), w->name());
        EXPECT_EQ(probe->geometry(), QRect(5, 6, 150, 90));
    }
}

} // namespace
