// Month calendar on forms: QUiLoader and uic-style code apply the stored Date exactly, in any
// property order; a hand-edited form that names the unstored Day or Month with a value the
// month cannot take reports the conversion error and goes on loading.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QSignalSpy>
#include <QUiLoader>

#include <memory>

#include "test_minical_support.h"

using namespace qor;
using mctest::D;
using mctest::Ymd;

namespace {

std::unique_ptr<QWidget> Load(const QString& properties)
{
    const QByteArray xml = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><ui version=\"4.0\"><class>Form</class>"
        "<widget class=\"QWidget\" name=\"Form\"><widget class=\"qor::TMiniCal\" name=\"cal\">%1</widget>"
        "</widget></ui>")
                               .arg(properties)
                               .toUtf8();
    QUiLoader loader;
    loader.addPluginPath(QStringLiteral(KORVANE_DSGN_DIR));
    QBuffer buffer;
    buffer.setData(xml);
    buffer.open(QIODevice::ReadOnly);
    std::unique_ptr<QWidget> form(loader.load(&buffer));
    EXPECT_NE(form, nullptr) << loader.errorString().toStdString();
    return form;
}

QString Prop(const char* name, const QString& value)
{
    return QStringLiteral("<property name=\"%1\">%2</property>").arg(QLatin1String(name), value);
}

TMiniCal* Cal(const std::unique_ptr<QWidget>& form)
{
    return form ? form->findChild<TMiniCal*>(QStringLiteral("cal")) : nullptr;
}

} // namespace

TEST(MiniCalForms, StoredDateLoadsExactlyInEitherOrder)
{
    const QString date = Prop("Date", QStringLiteral("<double>%1</double>").arg(D(2024, 4, 1), 0, 'f', 15));
    const QString lang = Prop("Language", QStringLiteral("<enum>qor::QOR_qorbase::lgGerman</enum>"));
    const QString first = Prop("FirstDayOfWeek", QStringLiteral("<enum>qor::QOR_MiniCal::dwSun</enum>"));
    for (const QString& props : {date + lang + first, first + lang + date}) {
        const auto form = Load(props);
        TMiniCal* c = Cal(form);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->Date(), D(2024, 4, 1));
        EXPECT_EQ(Ymd(*c), std::tuple(2024, 4, 1));
        EXPECT_EQ(std::pair(c->Language(), c->FirstDayOfWeek()), std::pair(lgGerman, dwSun));
        EXPECT_EQ(c->Hint(), "Ostermontag");
        EXPECT_EQ(c->CellText(2, 2), "1");   // a Monday in the Monday column
    }
    // A time of day in the form is dropped, as every setter drops it.
    const auto form = Load(Prop("Date", QStringLiteral("<double>45383.75</double>")));
    ASSERT_NE(Cal(form), nullptr);
    EXPECT_EQ(Cal(form)->Date(), 45383.0);
}

TEST(MiniCalForms, AnImpossibleDayOrMonthInAFormDoesNotEndTheProgram)
{
    QStringList handled;
    SetExceptionHandler([&](const std::exception& e) { handled << QString::fromUtf8(e.what()); });
    const QString date = Prop("Date", QStringLiteral("<double>%1</double>").arg(D(2024, 1, 31)));
    const auto form = Load(date + Prop("Month", QStringLiteral("<number>2</number>"))
                           + Prop("Day", QStringLiteral("<number>0</number>"))
                           + Prop("Language", QStringLiteral("<enum>qor::QOR_qorbase::lgFrench</enum>")));
    SetExceptionHandler({});
    TMiniCal* c = Cal(form);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(handled.size(), 2);
    EXPECT_EQ(c->Date(), D(2024, 1, 31));
    EXPECT_EQ(c->Language(), lgFrench);   // loading went on after the errors
    // A day the month lacks is out of Day's range: that part stays, nothing is raised.
    const auto feb = Load(Prop("Date", QStringLiteral("<double>%1</double>").arg(D(2023, 2, 10)))
                          + Prop("Day", QStringLiteral("<number>30</number>")));
    ASSERT_NE(Cal(feb), nullptr);
    EXPECT_EQ(Cal(feb)->Date(), D(2023, 2, 10));
}

// What uic writes for a stored calendar: the Qt-style setters, then connections.
TEST(MiniCalForms, UicStyleSettersAndSignals)
{
    TMiniCal c;
    QSignalSpy dates(&c, &TMiniCal::dateChanged);
    QSignalSpy changes(&c, &TMiniCal::changed);
    c.setLanguage(lgSpanish);
    c.setFirstDayOfWeek(dwSun);
    c.setDate(D(2025, 4, 20));
    EXPECT_EQ(c.Hint(), QString::fromUtf8("Domingo de Resurrección"));
    ASSERT_EQ(dates.count(), 1);
    EXPECT_EQ(dates.at(0).at(0).toDouble(), D(2025, 4, 20));
    EXPECT_EQ(changes.count(), 2);   // the first weekday and the date
    c.setMonth(5);
    EXPECT_EQ(dates.count(), 2);
    EXPECT_EQ(c.property("Month").toInt(), 5);
    EXPECT_FALSE(c.metaObject()->property(c.metaObject()->indexOfProperty("Day")).isStored());
    EXPECT_TRUE(c.metaObject()->property(c.metaObject()->indexOfProperty("Date")).isStored());
}
