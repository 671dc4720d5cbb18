// The Designer plugin: widget box entries, widget creation, forms through QUiLoader.
#include <gtest/gtest.h>

#include <QOR_Controls.h>
#include "test_support.h"

#include <QBuffer>
#include <QPluginLoader>
#include <QUiLoader>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

namespace {

// The palette order of the library; the plugin lists the built ones in this order.
const QStringList PaletteOrder = {"TMeter", "TMarkSel", "TColSel", "TGradFill", "TNTabEd", "TNumLab",
                                  "TNumIO", "TNumIO2", "TOnOffBut", "TMiniCal", "TRotLab", "TSevenSeg",
                                  "TProgBar", "TRasterLab", "TFolderTree", "TThumbnails",
                                  "TReportListView", "TRepSpeedButton"};

// The widgets the library has built so far.
const QStringList BuiltWidgets = {"TMeter", "TGradFill", "TNumLab", "TNumIO", "TNumIO2", "TMiniCal", "TRotLab",
                                   "TSevenSeg", "TProgBar", "TRasterLab", "TReportListView"};

QDesignerCustomWidgetCollectionInterface* Collection()
{
    static QPluginLoader loader(QStringLiteral(KORVANE_DSGN_FILE));
    QObject* root = loader.instance();
    EXPECT_NE(root, nullptr) << loader.errorString().toStdString();
    return qobject_cast<QDesignerCustomWidgetCollectionInterface*>(root);
}

TEST(DesignerPlugin, ListsWidgetsInPaletteOrderUnderOneGroup)
{
    auto* collection = Collection();
    ASSERT_NE(collection, nullptr);
    int last = -1;
    QStringList names;
    for (auto* w : collection->customWidgets()) {
        names << w->name().mid(5);
        EXPECT_EQ(w->group(), QStringLiteral("QOR-Gui"));
        EXPECT_TRUE(w->name().startsWith(QStringLiteral("qor::")));
        const QString shortName = w->name().mid(5);
        const int pos = int(PaletteOrder.indexOf(shortName));
        EXPECT_GT(pos, last) << w->name().toStdString();
        last = pos;
        EXPECT_TRUE(w->includeFile().startsWith(QStringLiteral("QOR_")));
        EXPECT_TRUE(w->domXml().contains(QStringLiteral("class=\"%1\"").arg(w->name())));
        EXPECT_FALSE(w->icon().isNull());
    }
    EXPECT_EQ(names, BuiltWidgets);
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
