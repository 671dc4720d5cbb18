// One window with every component, for a screen reader to read over AT-SPI (read_tree.py).
// Commands on standard input drive it the way a user would:
//   key Down     a Down key press to the report list (which has the focus)
//   quit
#include <QOR_Meter.h>
#include <QOR_NumIO.h>
#include <QOR_NumLab.h>
#include <QOR_ProgBar.h>
#include <QOR_RasterLab.h>
#include <QOR_RotLab.h>
#include <QOR_gradfl.h>
#include <QOR_replist.h>
#include <QOR_sevenseg.h>

#include <QApplication>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QSocketNotifier>
#include <QTextStream>
#include <QVBoxLayout>

#include <cstdio>
#include <unistd.h>

using namespace qor;

namespace {

QWidget* Labels()
{
    auto* box = new QWidget;
    auto* lay = new QVBoxLayout(box);
    auto* num = new TNumLab;
    num->SetLeftText(QStringLiteral("U ="));
    num->SetRightText(QStringLiteral("V"));
    num->SetDisplayType(dtFixP);
    num->SetPrecision(2);
    num->SetValue(12.34);
    lay->addWidget(num);
    auto* seg = new TSevenSeg;
    seg->SetCaption(QStringLiteral("12:34"));
    lay->addWidget(seg);
    auto* rot = new TRotLab;
    rot->SetCaption(QStringLiteral("Axis title"));
    lay->addWidget(rot);
    auto* raster = new TRasterLab;
    raster->SetText(QStringLiteral("KORVANE scrolls"));
    raster->SetScrollMode(rdsmLeft);
    lay->addWidget(raster);
    return box;
}

QWidget* Fields()
{
    auto* box = new QWidget;
    auto* form = new QFormLayout(box);
    auto* hex = new TNumIO2;
    hex->SetInputFormat(itHex);
    hex->SetRangeHigh(100000);
    hex->SetValue(48879);
    hex->SetLeftText(QStringLiteral("Code"));
    hex->SetFreezeBoxVisible(true);
    hex->resize(260, 28);
    form->addRow(hex);
    auto* amount = new TNumIO;
    amount->SetRangeHigh(100);
    amount->setText(QStringLiteral("42"));
    form->addRow(QStringLiteral("Amount"), amount);   // the form's label is the field's buddy
    auto* meter = new TMeter;
    meter->SetCaption(QStringLiteral("V"));
    meter->SetMeterMaxValue(50);
    meter->SetValue(12.3);
    meter->setFixedSize(160, 120);
    form->addRow(meter);
    auto* bar = new TProgBar;
    bar->SetValue(64);
    bar->SetTextDecPlaces(0);
    bar->OnShowValue = [](QObject*, QString& text) { text += QStringLiteral(" %"); };
    form->addRow(bar);
    form->addRow(new TGradFill);
    return box;
}

TReportListView* Table()
{
    auto* list = new TReportListView;
    list->setObjectName(QStringLiteral("staff"));
    list->SetNrOfColumns(3);
    list->SetNrOfRows(3);
    list->SetHeader(1, QStringLiteral("Name"));
    list->SetHeader(2, QStringLiteral("Active"));
    list->SetHeader(3, QStringLiteral("Pass\nword"));
    list->SetColumnCheckMode(2, cmBox);
    list->SetColumnIsPwd(3, true);
    list->SetCommonHeader(QStringLiteral("Staff"));
    list->SetCommonHeaderVisible(true);
    const char* const names[] = {"Ann", "Bob", "Cy"};
    for (int r = 1; r <= 3; ++r) {
        list->SetElem(1, r, QString::fromLatin1(names[r - 1]));
        list->SetElem(3, r, QStringLiteral("secret"));
        list->SetElemChecked(2, r, r == 1);
    }
    list->SelectRow(1);
    list->setMinimumSize(320, 140);
    return list;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("korvane_atspi_probe"));
    QWidget window;
    window.setWindowTitle(QStringLiteral("Korvane probe"));
    auto* lay = new QVBoxLayout(&window);
    lay->addWidget(Labels());
    lay->addWidget(Fields());
    TReportListView* table = Table();
    lay->addWidget(table);
    window.show();
    window.activateWindow();
    table->setFocus();

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char line[128] = {};
        if (!fgets(line, sizeof line, stdin)) {
            input.setEnabled(false);
            return;
        }
        const QString command = QString::fromLatin1(line).trimmed();
        if (command == QLatin1String("key Down")) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
            QApplication::sendEvent(table, &press);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier);
            QApplication::sendEvent(table, &release);
        } else if (command == QLatin1String("quit")) {
            app.quit();
        }
    });
    return app.exec();
}
