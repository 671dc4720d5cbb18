// Forms as a user makes them: every registered widget is placed on a form in Designer's own form
// editor, every published property set through the form window as the property editor does,
// the form saved by Designer and loaded by QUiLoader (in Designer's order and reversed). The
// loaded widgets must equal the same widgets built in code. The saved form and the expected
// values are written for the uic consumer test.
#include <gtest/gtest.h>

#include <QOR_Controls.h>
#include <QOR_Meter.h>
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
#include <QApplication>
#include <QTimer>
#include <QTreeWidget>
#include <QUndoStack>
#include <QFileDialog>
#include <QLineEdit>
#include <QAction>
#include <QImage>
#include <functional>
#include <QUiLoader>
#include <QtDesigner/QDesignerComponents>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowCursorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerFormWindowManagerInterface>
#include <QtDesigner/QDesignerIntegration>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionManager>
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

// Designer stores the items of a tree widget with the form: a loaded tree must hold what the
// same tree built in code holds, nothing stored beside it.
TEST_F(DesignerForms, LoadedTreesHoldTheItemsCodeGives)
{
    const auto form = Load(Form->contents().toUtf8());
    ASSERT_NE(form, nullptr);
    for (auto* plugin : Collection()->customWidgets()) {
        auto* loaded = qobject_cast<QTreeWidget*>(form->findChild<QWidget*>(plugin->name().mid(5)));
        if (!loaded)
            continue;
        std::unique_ptr<QWidget> code(plugin->createWidget(nullptr));
        EXPECT_EQ(loaded->topLevelItemCount(), static_cast<QTreeWidget*>(code.get())->topLevelItemCount())
            << plugin->name().toStdString();
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

// ---------------------------------------------------------------------------------------------
// The meter's file names: a task-menu entry per property opens a file dialog, answered here
// from a timer as a user would.

QStringList ActionTexts(QDesignerTaskMenuExtension* menu)
{
    QStringList texts;
    if (menu)
        for (QAction* a : menu->taskActions())
            texts << a->text();
    return texts;
}

// Triggers action and lets answer handle the file dialog it opens.
void AnswerFileDialog(QAction* action, const std::function<void(QFileDialog*)>& answer)
{
    bool answered = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || answered)
            return;
        answered = true;
        answer(dialog);
    });
    poll.start(5);
    action->trigger();
    EXPECT_TRUE(answered);
}

QString FileNameText(QFileDialog* dialog)
{
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    return edit ? edit->text() : QStringLiteral("<no file name field>");
}

TEST_F(DesignerForms, MeterFileNamesAreChosenInAFileDialogAndCanBeUndone)
{
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QWidget* meter = Placed(QStringLiteral("qor::TMeter"));
    ASSERT_NE(meter, nullptr);
    auto* menu = qt_extension<QDesignerTaskMenuExtension*>(Designer()->extensionManager(), meter);
    ASSERT_EQ(ActionTexts(menu), QStringList({"Choose AnchorImage...", "Choose BackGroundImg..."}));
    // The progress bar's picture file stays a plain string property.
    auto* barMenu = qt_extension<QDesignerTaskMenuExtension*>(Designer()->extensionManager(),
                                                               Placed(QStringLiteral("qor::TProgBar")));
    for (const QString& text : ActionTexts(barMenu))
        EXPECT_FALSE(text.startsWith(QLatin1String("Choose"))) << text.toStdString();

    QTemporaryDir dir;
    const QString anchor = dir.filePath(QStringLiteral("anchor.bmp"));
    const QString face = dir.filePath(QStringLiteral("face.bmp"));
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    ASSERT_TRUE(picture.save(anchor) && picture.save(face));
    QAction* chooseAnchor = menu->taskActions().at(0);
    QUndoStack* history = Form->commandHistory();
    const int commandsBefore = history->count();

    // Empty value: no file preselected. Confirm: the full path becomes the value.
    ASSERT_TRUE(meter->property("AnchorImage").toString().isEmpty());
    AnswerFileDialog(chooseAnchor, [&](QFileDialog* d) {
        EXPECT_TRUE(FileNameText(d).isEmpty());
        EXPECT_EQ(d->nameFilters(), QStringList({"Windows Bitmap Files (*.bmp)", "All Files (*)"}));
        d->setDirectory(dir.path());
        d->selectFile(QStringLiteral("anchor.bmp"));
        static_cast<QDialog*>(d)->accept();
    });
    EXPECT_EQ(meter->property("AnchorImage").toString(), anchor);
    EXPECT_EQ(history->count(), commandsBefore + 1);
    EXPECT_TRUE(Form->contents().contains(anchor));

    // The current value is preselected; cancel changes nothing.
    AnswerFileDialog(chooseAnchor, [&](QFileDialog* d) {
        EXPECT_EQ(FileNameText(d), QStringLiteral("anchor.bmp"));
        EXPECT_EQ(QDir(d->directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
        d->selectFile(QStringLiteral("face.bmp"));
        d->reject();
    });
    EXPECT_EQ(meter->property("AnchorImage").toString(), anchor);
    EXPECT_EQ(history->count(), commandsBefore + 1);

    // The second entry edits the background picture.
    AnswerFileDialog(menu->taskActions().at(1), [&](QFileDialog* d) {
        d->setDirectory(dir.path());
        d->selectFile(QStringLiteral("face.bmp"));
        static_cast<QDialog*>(d)->accept();
    });
    EXPECT_EQ(meter->property("BackGroundImg").toString(), face);

    // Undo takes back each confirmed choice.
    history->undo();
    EXPECT_TRUE(meter->property("BackGroundImg").toString().isEmpty());
    history->undo();
    EXPECT_TRUE(meter->property("AnchorImage").toString().isEmpty());
}

// The gallery's form is as Designer saves it: opened in the form editor and saved again, it is
// unchanged (Designer's own output is kept in the build's forms folder to compare). This form
// editor has no signal/slot editor, which keeps a form's connections; they are compared apart.
QString WithoutConnections(QString ui)
{
    const qsizetype from = ui.indexOf(QLatin1String("<connections"));
    return from < 0 ? ui.trimmed() : ui.left(from).trimmed();
}

TEST_F(DesignerForms, TheGalleryFormIsWhatDesignerSaves)
{
    QFile committed(QStringLiteral(KORVANE_SOURCE_DIR "/gallery/forms/instruments.ui"));
    ASSERT_TRUE(committed.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(committed.readAll());
    delete Form;   // a form window of its own, as Designer opens a file
    Form = Designer()->formWindowManager()->createFormWindow(nullptr);
    Form->setContents(text);
    const QString saved = Form->contents();
    QFile out(QStringLiteral(KORVANE_FORMS_DIR "/instruments.designer.ui"));
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(KORVANE_FORMS_DIR)) && out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(saved.toUtf8());
    EXPECT_EQ(WithoutConnections(saved), WithoutConnections(text))
        << "compare with " KORVANE_FORMS_DIR "/instruments.designer.ui";
    EXPECT_EQ(text.count(QLatin1String("<connection>")), 5);
}

} // namespace
