// Builds the uic-compiled form and compares every widget property with the expected values,
// lines of "<object name> <property> <value>".
#include "ui_all_widgets.h"

#include "form_values.h"

#include <QApplication>
#include <QFile>
#include <QTextStream>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    QWidget form;
    Ui::Form ui;
    ui.setupUi(&form);
    QFile expect(QString::fromLocal8Bit(argv[1]));
    if (!expect.open(QIODevice::ReadOnly | QIODevice::Text))
        return 2;
    int checked = 0, wrong = 0;
    QTextStream in(&expect);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        const QString object = line.section(QLatin1Char(' '), 0, 0);
        const QString property = line.section(QLatin1Char(' '), 1, 1);
        const QString value = line.section(QLatin1Char(' '), 2);
        QWidget* w = form.findChild<QWidget*>(object);
        const QString got = w ? qortest::Normalised(w->property(property.toLatin1().constData())) : QStringLiteral("<none>");
        ++checked;
        if (got != value) {
            ++wrong;
            std::fprintf(stderr, "%s.%s: stored %s, got %s\n", qPrintable(object), qPrintable(property),
                         qPrintable(value), qPrintable(got));
        }
    }
    std::printf("%d properties checked, %d wrong\n", checked, wrong);
    return checked > 0 && wrong == 0 ? 0 : 1;
}
