// Forms as a user makes them: every registered widget is placed on a form in Designer's own form
// editor, every published property set through the form window as the property editor does,
// the form saved by Designer and loaded by QUiLoader (in Designer's order and reversed). The
// loaded widgets must equal the same widgets built in code. The saved form and the expected
// values are written for the uic consumer test.
#include <gtest/gtest.h>

#include <QOR_Controls.h>
#include <QOR_NumIOEdit.h>
#include "form_values.h"
#include "test_support.h"

#include <QBuffer>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QMetaProperty>
#include <QPluginLoader>
#include <QTemporaryDir>
#include <QUiLoader>
#include <QtDesigner/QDesignerComponents>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowCursorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerFormWindowManagerInterface>
#include <QtDesigner/QDesignerIntegration>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <memory>

namespace {

QDesignerCustomWidgetCollectionInterface* Collection()
{
    static QPluginLoader loader(QStringLiteral(KORVANE_DSGN_FILE));
    return qobject_cast<QDesignerCustomWidgetCollectionInterface*>(loader.instance());
}

// Designer's form editor with the library's plugin, made once.
QDesignerFormEditorInterface* Designer()
{
    static QDesignerFormEditorInterface* core = [] {
        // Designer looks for plugins in <library path>/designer.
        static QTemporaryDir dir;
        QDir(dir.path()).mkpath(QStringLiteral("designer"));
        QFile::link(QStringLiteral(KORVANE_DSGN_FILE), dir.filePath(QStringLiteral("designer/libkorvane_dsgn.so")));
        QCoreApplication::addLibraryPath(dir.path());
        QDesignerFormEditorInterface* c = QDesignerComponents::createFormEditor(nullptr);
        QDesignerComponents::initializeResources();
        QDesignerComponents::initializePlugins(c);
        c->setWidgetBox(QDesignerComponents::createWidgetBox(c, nullptr));
        c->setIntegration(new QDesignerIntegration(c, nullptr));
        return c;
    }();
    return core;
}

const QRect Geometry(10, 10, 260, 120);

QString FormWith(const QStringList& classes)
{
    QString body;
    for (const QString& cls : classes)
        body += QStringLiteral("<widget class=\"%1\" name=\"%2\"><property name=\"geometry\"><rect><x>%3</x>"
                               "<y>%4</y><width>%5</width><height>%6</height></rect></property></widget>")
                    .arg(cls, cls.mid(5))
                    .arg(Geometry.x())
                    .arg(Geometry.y())
                    .arg(Geometry.width())
                    .arg(Geometry.height());
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><ui version=\"4.0\"><class>Form</class>"
                          "<widget class=\"QWidget\" name=\"Form\"><property name=\"geometry\"><rect><x>0</x><y>0</y>"
                          "<width>600</width><height>400</height></rect></property>%1</widget></ui>")
        .arg(body);
}

// The properties the library's classes declare (not Qt's own) and forms store, in declaration
// order. A property that is part of another one (Day of a Date) is not stored and not set here.
QList<QMetaProperty> OwnProperties(const QMetaObject* mo)
{
    QList<const QMetaObject*> chain;
    for (const QMetaObject* m = mo; m && QByteArray(m->className()).startsWith("qor::"); m = m->superClass())
        chain.prepend(m);
    QList<QMetaProperty> props;
    for (const QMetaObject* m : chain)
        for (int i = m->propertyOffset(); i < m->propertyCount(); ++i)
            if (m->property(i).isStored())
                props.append(m->property(i));
    return props;
}

// A value other than the current one, of the property's type.
QVariant OtherValue(const QMetaProperty& p, const QVariant& now, int salt)
{
    if (p.isFlagType()) {
        const QMetaEnum e = p.enumerator();
        return now.toInt() ^ e.value(salt % e.keyCount()) ^ e.value((salt + 3) % e.keyCount());
    }
    if (p.isEnumType()) {
        const QMetaEnum e = p.enumerator();
        for (int k = 0; k < e.keyCount(); ++k)
            if (e.value(k) == now.toInt())
                return e.value((k + 1) % e.keyCount());
        return e.value(0);
    }
    switch (p.metaType().id()) {
    case QMetaType::Bool: return !now.toBool();
    case QMetaType::Int: return now.toInt() + 1 + salt % 3;
    case QMetaType::Double: return now.toDouble() + 0.25 + salt % 5;
    case QMetaType::QString:
        return p.name() == QByteArray("text") ? QStringLiteral("12") : QStringLiteral("Text %1").arg(salt);
    case QMetaType::QColor: return QColor(0x10 + salt % 200, 0x80, 0xF0 - salt % 200);
    case QMetaType::QFont: {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPointSize(9 + salt % 5);
        f.setBold(true);
        return f;
    }
    default: return now;
    }
}

struct Change {
    QByteArray Name;
    QVariant Value;
};

// The properties a test sets on one widget, with the values.
QList<Change> ChangesFor(QWidget* w)
{
    QList<Change> changes;
    int salt = 0;
    for (const QMetaProperty& p : OwnProperties(w->metaObject()))
        changes.append({p.name(), OtherValue(p, p.read(w), ++salt)});
    return changes;
}

// The XML with the properties of every widget in reverse order.
QByteArray Reversed(const QByteArray& xml)
{
    QDomDocument doc;
    doc.setContent(xml);
    const QDomNodeList widgets = doc.elementsByTagName(QStringLiteral("widget"));
    for (int i = 0; i < widgets.size(); ++i) {
        QDomElement w = widgets.at(i).toElement();
        QList<QDomNode> props;
        for (QDomNode n = w.firstChildElement(QStringLiteral("property")); !n.isNull();
             n = n.nextSiblingElement(QStringLiteral("property")))
            props.append(n);
        for (QDomNode& n : props)
            w.removeChild(n);
        for (auto it = props.rbegin(); it != props.rend(); ++it)
            w.insertBefore(*it, w.firstChild());
    }
    return doc.toByteArray();
}

std::unique_ptr<QWidget> Load(const QByteArray& xml)
{
    QUiLoader loader;
    loader.addPluginPath(QStringLiteral(KORVANE_DSGN_DIR));
    QBuffer buffer;
    buffer.setData(xml);
    buffer.open(QIODevice::ReadOnly);
    std::unique_ptr<QWidget> form(loader.load(&buffer));
    EXPECT_NE(form, nullptr) << loader.errorString().toStdString();
    return form;
}

class DesignerForms : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(Collection(), nullptr);
        for (auto* w : Collection()->customWidgets())
            Classes << w->name();
        Form = Designer()->formWindowManager()->createFormWindow(nullptr);
        Form->setContents(FormWith(Classes));
    }
    void TearDown() override { delete Form; }
    QWidget* Placed(const QString& cls) { return Form->mainContainer()->findChild<QWidget*>(cls.mid(5)); }
    QStringList Classes;
    QDesignerFormWindowInterface* Form = nullptr;
};

TEST_F(DesignerForms, DesignModeOnlyInTheFormEditor)
{
    for (const QString& cls : Classes) {
        auto* placed = dynamic_cast<qor::TComponentState*>(Placed(cls));
        ASSERT_NE(placed, nullptr) << cls.toStdString();
        EXPECT_TRUE(placed->Designing()) << cls.toStdString();
    }
    const auto form = Load(Form->contents().toUtf8());
    ASSERT_NE(form, nullptr);
    for (const QString& cls : Classes) {
        auto* loaded = dynamic_cast<qor::TComponentState*>(form->findChild<QWidget*>(cls.mid(5)));
        ASSERT_NE(loaded, nullptr) << cls.toStdString();
        EXPECT_FALSE(loaded->Designing()) << cls.toStdString();
    }
}

TEST_F(DesignerForms, ANumericFieldPlacedInDesignerKeepsItsRangeAndRefusesLetters)
{
    // Placed from the widget box: its default properties come with it.
    delete Form;
    Form = Designer()->formWindowManager()->createFormWindow(nullptr);
    QString xml;
    for (auto* w : Collection()->customWidgets())
        if (w->name() == QLatin1String("qor::TNumIO"))
            xml = w->domXml();
    const int start = int(xml.indexOf(QLatin1String("<widget"))), end = int(xml.lastIndexOf(QLatin1String("</widget>")));
    ASSERT_GT(end, start);
    Form->setContents(FormWith({}).replace(QLatin1String("</widget></ui>"),
                                           xml.mid(start, end - start + 9) + QLatin1String("</widget></ui>")));
    QWidget* placed = Form->mainContainer()->findChild<QWidget*>(QStringLiteral("NumIO"));
    ASSERT_NE(placed, nullptr);
    Form->cursor()->setWidgetProperty(placed, QStringLiteral("text"), QStringLiteral("1500.5"));
    const QString saved = Form->contents();
    EXPECT_TRUE(saved.contains(QLatin1String("RangeHigh")));

    const auto form = Load(saved.toUtf8());
    auto* field = form->findChild<qor::TNumIO*>(QStringLiteral("NumIO"));
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->text(), QStringLiteral("1500.5"));   // the text came before the range
    EXPECT_GT(field->RangeHigh(), 1e300);
    EXPECT_LT(field->RangeLow(), -1e300);
    field->setText(QStringLiteral("abc"));
    EXPECT_EQ(field->text(), QStringLiteral("1500.5"));
    field->setText(QStringLiteral("-3"));
    EXPECT_EQ(field->Value(), -3.0);
}

TEST_F(DesignerForms, EveryPublishedPropertyRoundTripsInEitherOrder)
{
    QMap<QString, QList<Change>> changes;
    for (const QString& cls : Classes) {
        QWidget* placed = Placed(cls);
        ASSERT_NE(placed, nullptr);
        changes[cls] = ChangesFor(placed);
        for (const Change& c : changes[cls])
            Form->cursor()->setWidgetProperty(placed, QString::fromLatin1(c.Name), c.Value);
    }
    const QByteArray saved = Form->contents().toUtf8();
    // Designer stores enumerations by their scoped names and sets as A|B.
    EXPECT_TRUE(saved.contains("<enum>qor::QOR_"));
    EXPECT_TRUE(saved.contains("<set>qor::QOR_Grids::go"));

    // The reference: the same widgets built in code with the same values.
    QFile expect(QStringLiteral(KORVANE_FORMS_DIR "/all_widgets.expect"));
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(KORVANE_FORMS_DIR)));
    ASSERT_TRUE(expect.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text));
    QMap<QString, std::shared_ptr<QWidget>> reference;
    for (auto* plugin : Collection()->customWidgets()) {
        std::shared_ptr<QWidget> w(plugin->createWidget(nullptr));
        w->setGeometry(Geometry);
        for (const Change& c : changes[plugin->name()])
            w->setProperty(c.Name.constData(), c.Value);
        for (const Change& c : changes[plugin->name()])
            expect.write(QStringLiteral("%1 %2 %3\n")
                             .arg(plugin->name().mid(5), QString::fromLatin1(c.Name),
                                  qortest::Normalised(w->property(c.Name.constData())))
                             .toUtf8());
        reference[plugin->name()] = w;
    }
    expect.close();
    QFile ui(QStringLiteral(KORVANE_FORMS_DIR "/all_widgets.ui"));
    ASSERT_TRUE(ui.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ui.write(saved);
    ui.close();

    for (const QByteArray& xml : {saved, Reversed(saved)}) {
        const auto form = Load(xml);
        ASSERT_NE(form, nullptr);
        for (const QString& cls : Classes) {
            QWidget* loaded = form->findChild<QWidget*>(cls.mid(5));
            ASSERT_NE(loaded, nullptr) << cls.toStdString();
            for (const Change& c : changes[cls])
                EXPECT_EQ(qortest::Normalised(loaded->property(c.Name.constData())),
                          qortest::Normalised(reference[cls]->property(c.Name.constData())))
                    << cls.toStdString() << "." << c.Name.constData() << (xml == saved ? "" : " (reversed)");
        }
    }
}

} // namespace
