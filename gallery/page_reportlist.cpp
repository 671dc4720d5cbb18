// Gallery page: the report list view over a few thousand generated rows.
#include "GalleryPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <QOR_replist.h>

namespace {

using namespace qor;

const char* const FirstNames[] = {"Ada", "Boris", "Chiara", "Dmitri", "Elif", "Farid", "Greta", "Hiro", "Ines", "Jonas",
                                  "Kaja", "Lior", "Mara", "Nils", "Olga", "Pavel", "Quinn", "Rosa", "Sven", "Tala"};
const char* const LastNames[] = {"Albers", "Brandt", "Costa", "Dvorak", "Eriksen", "Fischer", "Gallo", "Horvat",
                                 "Ivanova", "Jensen", "Kowalski", "Lindqvist", "Moreau", "Novak", "Okafor", "Petrov"};
const char* const Cities[] = {"Oslo", "Lyon", "Graz", "Porto", "Turku", "Brno", "Ghent", "Cork", "Split", "Lund"};

void FillDemoData(TReportListView* v, int rows)
{
    v->SetSuppressPaint(true);
    v->SetNrOfColumns(8);
    v->SetNrOfRows(rows);
    const char* heads[] = {"Name", "City", "Amount", "Date", "Done", "Default", "Password", "Note\n(editable)"};
    for (int c = 1; c <= 8; ++c)
        v->SetHeader(c, QString::fromLatin1(heads[c - 1]));
    v->SetColumnCheckMode(5, cmBox);
    v->SetColumnCheckMode(6, cmRadio);
    v->SetColumnIsPwd(7, true);
    v->SetColumnAlignment(3, taRightJustify);
    v->SetColumnAlignment(4, taCenter);
    v->SetColumnEditable(8, true);
    v->SetColumnFormat(3, QStringLiteral("[f][90]"));
    v->SetColumnFormat(4, QStringLiteral("[ddd.MM.yyyy][100]"));
    v->SetColumnFormat(2, QStringLiteral("[c:6][120]Oslo|Lyon|Graz|Porto|Turku|Brno|Ghent|Cork|Split|Lund"));
    quint32 seed = 12345;
    auto next = [&seed](quint32 n) { seed = seed * 1103515245u + 12345u; return (seed >> 8) % n; };
    TRLData* d = v->Data();
    for (int r = 1; r <= rows; ++r) {
        d->SetElem(1, r, QStringLiteral("%1 %2").arg(QLatin1String(FirstNames[next(20)]), QLatin1String(LastNames[next(16)])));
        d->SetElem(2, r, QLatin1String(Cities[next(10)]));
        d->SetElem(3, r, QString::number(double(next(1000000)) / 100.0, 'f', 2));
        d->SetElem(4, r, QStringLiteral("%1.%2.%3").arg(1 + next(28), 2, 10, QLatin1Char('0')).arg(1 + next(12), 2, 10, QLatin1Char('0')).arg(2015 + next(12)));
        d->SetElem(5, r, QStringLiteral("task %1").arg(r));
        d->SetElemChecked(5, r, next(3) == 0);
        d->SetElem(6, r, QString());
        d->SetElem(7, r, QStringLiteral("secret%1").arg(next(10000)));
        d->SetElem(8, r, r % 7 == 0 ? QStringLiteral("call back") : QString());
        if (r % 23 == 0)
            v->SetRowEnabled(r, false);
    }
    d->SetElemChecked(6, 1, true);
    v->SetCommonHeader(QStringLiteral("Customers"));
    v->SetSuppressPaint(false);
}

class ReportListPage : public QWidget {
public:
    ReportListPage()
    {
        auto* view = new TReportListView;
        FView = view;
        view->setObjectName(QStringLiteral("ReportListView"));
        view->setMinimumSize(640, 380);
        FillDemoData(view, 3000);
        view->SetOptions(view->Options().setFlag(goRowSelect, false));
        view->SetCommonHeaderVisible(true);
        view->SetColumnHeadersHeight(34);
        view->SetEmptyMessage(QStringLiteral("No rows match|change the filter"));
        view->SetRowSelectMode(2);
        view->SelectRow(2);
        // Fitted once the view has its size; afterwards the note column takes the room the
        // others leave.
        view->OnResize = [view, fitted = false](QObject*) mutable {
            if (!fitted)
                view->FitAllColWidths(8, true, 4, 200, 10);
            else
                view->ExpandColWidth(8, 10);
            fitted = true;
        };

        auto* status = new QLabel;
        auto updateStatus = [view, status] {
            status->setText(QStringLiteral("%1 rows shown of %2, %3 selected, %4 done")
                                .arg(view->NrOfShownRows()).arg(view->NrOfRows()).arg(view->NumSelectedRows())
                                .arg(view->CountCheckedElemsInCol(5)));
        };
        view->OnSelectedChange = [updateStatus](QObject*) { updateStatus(); };
        view->OnChange = [updateStatus](QObject*) { updateStatus(); };
        updateStatus();

        auto* mode = new QComboBox;
        mode->addItems({QStringLiteral("0: no row selection"), QStringLiteral("1: single row"), QStringLiteral("2: multiple rows")});
        mode->setCurrentIndex(2);
        connect(mode, &QComboBox::currentIndexChanged, this, [view](int i) { view->SetRowSelectMode(i); });

        auto* comHd = new QCheckBox(QStringLiteral("Common header"));
        comHd->setChecked(true);
        connect(comHd, &QCheckBox::toggled, this, [view](bool on) { view->SetCommonHeaderVisible(on); });
        auto* colHd = new QCheckBox(QStringLiteral("Column headers"));
        colHd->setChecked(true);
        connect(colHd, &QCheckBox::toggled, this, [view](bool on) { view->SetColumnHeadersVisible(on); });

        auto* bands = new QSpinBox;
        bands->setRange(0, 10);
        bands->setValue(1);
        connect(bands, &QSpinBox::valueChanged, this, [view](int n) { view->SetRowColPattern(n); });

        auto* filter = new QLineEdit;
        filter->setPlaceholderText(QStringLiteral("filter, e.g. Oslo AND NOT Ada"));
        auto* filterMode = new QComboBox;
        filterMode->addItems({QStringLiteral("simple"), QStringLiteral("boolean"), QStringLiteral("regular expression")});
        auto* filterError = new QLabel;
        auto applyFilter = [view, filter, filterMode, filterError, updateStatus] {
            try {
                view->FilterAndSort(filter->text(), {}, true, TFilterMode(filterMode->currentIndex()),
                                    view->LastSortColumn(), view->LastSortOrder());
                filterError->clear();
            } catch (const std::exception& e) {
                filterError->setText(QString::fromUtf8(e.what()));
            }
            updateStatus();
        };
        connect(filter, &QLineEdit::textChanged, this, applyFilter);
        connect(filterMode, &QComboBox::currentIndexChanged, this, applyFilter);

        auto* fit = new QPushButton(QStringLiteral("Fit columns"));
        connect(fit, &QPushButton::clicked, this, [view] { view->FitAllColWidths(8, true, 4, 220, 10); });
        auto* edit = new QPushButton(QStringLiteral("Edit selected row..."));
        connect(edit, &QPushButton::clicked, this, [this, view] {
            const int r = view->FirstSelectedRow();
            if (r < 1) {
                QMessageBox::information(this, QStringLiteral("Row editor"), QStringLiteral("Select an enabled row first."));
                return;
            }
            const QPoint at = mapToGlobal(QPoint(40, 40));
            view->EditRowEntries(r, at.x(), at.y());
        });
        auto* save = new QPushButton(QStringLiteral("Save XML..."));
        connect(save, &QPushButton::clicked, this, [this, view] {
            const QString f = QFileDialog::getSaveFileName(this, QStringLiteral("Save report list"), QString(), QStringLiteral("XML (*.xml)"));
            if (f.isEmpty())
                return;
            try {
                view->SaveAsXMLFile(f, QString());
            } catch (const std::exception& e) {
                QMessageBox::warning(this, QStringLiteral("Save"), QString::fromUtf8(e.what()));
            }
        });
        auto* load = new QPushButton(QStringLiteral("Load XML..."));
        connect(load, &QPushButton::clicked, this, [this, view, updateStatus] {
            const QString f = QFileDialog::getOpenFileName(this, QStringLiteral("Load report list"), QString(), QStringLiteral("XML (*.xml)"));
            if (!f.isEmpty() && !view->LoadFromXMLFile(f, QString()))
                QMessageBox::warning(this, QStringLiteral("Load"), QStringLiteral("The file holds no readable report list."));
            updateStatus();
        });

        auto* form = new QFormLayout;
        form->addRow(QStringLiteral("Row selection"), mode);
        auto* heads = new QHBoxLayout;
        heads->addWidget(comHd);
        heads->addWidget(colHd);
        form->addRow(QStringLiteral("Headers"), heads);
        form->addRow(QStringLiteral("Rows per band"), bands);
        auto* filterRow = new QHBoxLayout;
        filterRow->addWidget(filter, 1);
        filterRow->addWidget(filterMode);
        form->addRow(gallery::LabelFor(QStringLiteral("Filter"), filter), filterRow);
        filterMode->setAccessibleName(QStringLiteral("Filter mode"));
        form->addRow(QString(), filterError);
        auto* buttons = new QHBoxLayout;
        for (QWidget* b : {static_cast<QWidget*>(fit), static_cast<QWidget*>(edit), static_cast<QWidget*>(save), static_cast<QWidget*>(load)})
            buttons->addWidget(b);
        buttons->addStretch(1);

        auto* lay = new QVBoxLayout(this);
        lay->addWidget(gallery::Framed(QStringLiteral("TReportListView: click headers to sort, boxes to check, "
                                                      "Shift/Ctrl to select several rows"), view), 1);
        lay->addWidget(status);
        lay->addLayout(form);
        lay->addLayout(buttons);
    }

private:
    TReportListView* FView;
};

const bool registered = gallery::RegisterPage(20, QStringLiteral("Report list"), QStringLiteral("reportlist"),
                                              [] { return new ReportListPage; });

} // namespace
