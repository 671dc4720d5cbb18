// A form made in Designer with connections between Qt's widgets and the library's
// (gallery/forms/instruments.ui): the connections work whichever way the form is built —
// QUiLoader with the Designer plugin, qor::TUiLoader without it, and uic-compiled code.
#include <gtest/gtest.h>

#include <QOR_Controls.h>
#include <QOR_Meter.h>
#include <QOR_NumIO.h>
#include <QOR_NumLab.h>
#include <QOR_ProgBar.h>
#include <QOR_RasterLab.h>
#include <QOR_UiLoader.h>
#include <QOR_onoffbut.h>
#include "test_support.h"
#include "ui_instruments.h"

#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMetaMethod>
#include <QMetaProperty>
#include <memory>

namespace {

template <class T>
T* Child(QWidget* form, const char* name)
{
    T* w = form->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

// Drives each connection of the form from its sending end and looks at the receiving end.
void ExpectConnectionsWork(QWidget* form)
{
    ASSERT_NE(form, nullptr);
    auto* spin = Child<QDoubleSpinBox>(form, "voltageSpin");
    auto* meter = Child<qor::TMeter>(form, "voltmeter");
    auto* reading = Child<qor::TNumLab>(form, "voltageReading");
    auto* setpoint = Child<qor::TNumIO2>(form, "setpoint");
    auto* level = Child<qor::TProgBar>(form, "level");
    auto* message = Child<QLineEdit>(form, "message");
    auto* ticker = Child<qor::TRasterLab>(form, "ticker");
    auto* power = Child<qor::TOnOffBut>(form, "power");
    auto* powerState = Child<QLabel>(form, "powerState");
    ASSERT_TRUE(spin && meter && reading && setpoint && level && message && ticker && power && powerState);

    // What the form set holds before anything moves.
    EXPECT_EQ(meter->Value(), 120.0);
    EXPECT_EQ(level->Value(), 40.0);

    spin->setValue(187.5);
    EXPECT_EQ(meter->Value(), 187.5);
    EXPECT_EQ(reading->Value(), 187.5);
    setpoint->SetValue(62.0);
    EXPECT_EQ(level->Value(), 62.0);
    message->setText(QStringLiteral("ALARM"));
    EXPECT_EQ(ticker->Text(), QStringLiteral("ALARM"));
    power->SetOnOff(false);
    EXPECT_FALSE(powerState->isEnabled());
    power->SetOnOff(true);
    EXPECT_TRUE(powerState->isEnabled());
}

std::unique_ptr<QWidget> LoadWith(QUiLoader& loader)
{
    QFile file(QStringLiteral(KORVANE_SOURCE_DIR "/gallery/forms/instruments.ui"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    std::unique_ptr<QWidget> form(loader.load(&file));
    EXPECT_NE(form, nullptr) << loader.errorString().toStdString();
    return form;
}

TEST(FormConnections, WorkThroughQUiLoaderWithThePlugin)
{
    QUiLoader loader;
    loader.addPluginPath(QStringLiteral(KORVANE_DSGN_DIR));
    const auto form = LoadWith(loader);
    ExpectConnectionsWork(form.get());
}

TEST(FormConnections, WorkThroughTheLibrarysLoaderWithoutPlugins)
{
    qor::TUiLoader loader;
    loader.clearPluginPaths();
    const auto form = LoadWith(loader);
    ExpectConnectionsWork(form.get());
    // Qt's own widgets still come from QUiLoader.
    EXPECT_NE(form->findChild<QDoubleSpinBox*>(QStringLiteral("voltageSpin")), nullptr);
}

TEST(FormConnections, WorkInUicCompiledCode)
{
    QWidget form;
    Ui::InstrumentsForm ui;
    ui.setupUi(&form);
    ExpectConnectionsWork(&form);
}

// Designer's signal/slot editor offers a property's setter when it is a public slot whose
// signature is the property's type; a form saved with it connects by that signature.
TEST(FormConnections, EveryStoredPropertysSetterIsAPublicSlot)
{
    int checked = 0;
    for (const QString& cls : qor::WidgetClassNames()) {
        std::unique_ptr<QWidget> w(qor::CreateWidget(cls));
        const QMetaObject* mo = w->metaObject();
        for (const QMetaObject* m = mo; m && QByteArray(m->className()).startsWith("qor::"); m = m->superClass())
            for (int i = m->propertyOffset(); i < m->propertyCount(); ++i) {
                const QMetaProperty p = m->property(i);
                if (!p.isWritable())
                    continue;
                // The slot setName taking the property's own type (a set type as its typedef).
                QByteArray slotName = "set" + QByteArray(p.name());
                slotName[3] = char(QChar::toUpper(uint(slotName[3])));
                int index = -1;
                for (int k = 0; k < mo->methodCount() && index < 0; ++k) {
                    const QMetaMethod method = mo->method(k);
                    if (method.methodType() == QMetaMethod::Slot && method.name() == slotName
                        && method.parameterCount() == 1 && method.parameterMetaType(0) == p.metaType())
                        index = k;
                }
                ASSERT_GE(index, 0) << cls.toStdString() << "::" << slotName.constData();
                EXPECT_EQ(mo->method(index).access(), QMetaMethod::Public) << slotName.constData();
                ++checked;
            }
    }
    EXPECT_GT(checked, 300);
}

} // namespace
