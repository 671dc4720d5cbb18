// Gallery page: the numeric table editor over 20 x 200 generated measurements.
#include "GalleryPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include <QOR_ntabed.h>

namespace {

using namespace qor;

constexpr int Columns = 20;
constexpr int Rows = 200;
const char* const Sites[] = {"North", "South", "East", "West", "Lab"};

// Column 1 names the site of each reading (a nominal column); columns 2..20 are probes whose
// readings drift and wobble a little from row to row.
void FillMeasurements(TNTabEd* t)
{
    t->SetSuppressPaint(true);
    t->Redimension(Columns, Rows);
    TDataTable* d = t->Data();
    d->SetMScaleType(1, mstNominal);
    for (int o = 0; o < 5; ++o)
        d->SetNominalID(1, o, QString::fromLatin1(Sites[o]));
    t->SetColName(1, QStringLiteral("Site"));
    quint32 seed = 20240611u;
    auto noise = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return double((seed >> 8) % 1000) / 1000.0 - 0.5;
    };
    for (int c = 2; c <= Columns; ++c) {
        t->SetColName(c, QStringLiteral("Probe %1").arg(c - 1));
        t->SetColAttrib(c, std::uint8_t(c * 7 % 256));
        t->SetPrecision(c, 1 + c % 3);
    }
    t->SetPrecision(1, 0);
    for (int r = 1; r <= Rows; ++r) {
        t->SetRowName(r, QStringLiteral("t %1 s").arg(r * 15));
        t->SetRowAttrib(r, std::uint8_t(r % 4));
        t->SetElem(1, r, (r * 7) % 5);
        for (int c = 2; c <= Columns; ++c)
            t->SetElem(c, r, 20.0 + c * 0.8 + 3.0 * std::sin(r / 9.0 + c) + noise());
    }
    t->SetElemMarkedA(5, 3, true);
    t->SetElemMarkedB(6, 4, true);
    t->SetElemMarkedA(7, 5, true);
    t->SetElemMarkedB(7, 5, true);
    t->SetIsEmpty(3, 6, true);
    t->SetCellState(4, 7, csInvalid);
    t->SetCellState(2, 2, csLocked);
    t->SetComment(QStringLiteral("Generated readings of 19 probes at five sites"));
    t->SetSuppressPaint(false);
}

class TableEditorPage : public QWidget {
public:
    TableEditorPage()
    {
        auto* t = new TNTabEd;
        t->setObjectName(QStringLiteral("TableEditor"));
        t->setAccessibleName(QStringLiteral("Probe readings"));
        t->setMinimumSize(700, 360);
        t->SetEmptyMessage(QStringLiteral("No rows|add some with the heading menu"));
        t->SetOptions(t->Options() | goColSizing);
        FillMeasurements(t);
        t->AutoColWidth(0, true, 4);

        auto* status = new QLabel;
        auto update = [t, status] {
            int nc = 0, nr = 0;
            const bool clip = t->GetClipMatrixSize(nc, nr);
            status->setText(QStringLiteral("Cell %1:%2   marked A %3, B %4   clipboard %5")
                                .arg(t->CurrentCol()).arg(t->CurrentRow())
                                .arg(t->NrOfMarkedDataA()).arg(t->NrOfMarkedDataB())
                                .arg(clip ? QStringLiteral("%1 x %2 numbers").arg(nc).arg(nr)
                                          : QStringLiteral("holds no numbers")));
        };
        QObject::connect(t, &TNTabEd::selectionChanged, this, update);
        QObject::connect(t, &TNTabEd::cellStateChanged, this, update);
        QObject::connect(t, &TNTabEd::changed, this, update);
        update();

        auto button = [this](const QString& text, auto action) {
            auto* b = new QPushButton(text);
            QObject::connect(b, &QPushButton::clicked, this, action);
            return b;
        };
        auto* buttons = new QGridLayout;
        buttons->addWidget(button(QStringLiteral("Sort rows by the current column"), [t] {
            t->SortRows(std::max(1, t->CurrentCol()), true, 1, 1, t->NrOfColumns(), t->NrOfRows(), true);
        }), 0, 0);
        buttons->addWidget(button(QStringLiteral("Sort columns by their names"), [t] { t->SortColNames(true, true); }), 0, 1);
        buttons->addWidget(button(QStringLiteral("Mirror rows"), [t] { t->MirrorRows(); }), 0, 2);
        buttons->addWidget(button(QStringLiteral("Mark readings above 25 (A)"), [t] {
            t->SetSuppressPaint(true);
            for (int r = 1; r <= t->NrOfRows(); ++r)
                for (int c = 2; c <= t->NrOfColumns(); ++c)
                    if (t->IsNumber(c, r) && t->Elem(c, r) > 25.0)
                        t->SetElemMarkedA(c, r, true);
            t->SetSuppressPaint(false);
        }), 1, 0);
        buttons->addWidget(button(QStringLiteral("Exchange marks A and B"), [t] { t->ExchangeMarkings(); }), 1, 1);
        buttons->addWidget(button(QStringLiteral("Unmark all"), [t] { t->UnMarkAllElems(); }), 1, 2);
        buttons->addWidget(button(QStringLiteral("Copy selection"), [t, update] {
            t->CopySelection();
            update();
        }), 2, 0);
        buttons->addWidget(button(QStringLiteral("Paste the copy at the cursor"), [t] { t->PasteCopy(); }), 2, 1);
        buttons->addWidget(button(QStringLiteral("Extract numbers from the clipboard"), [t] { t->ExtractFromClipboard(); }), 2, 2);

        auto* readOnly = new QCheckBox(QStringLiteral("Data read-only"));
        QObject::connect(readOnly, &QCheckBox::toggled, t, &TNTabEd::setDataReadOnly);
        QObject::connect(t, &TNTabEd::dataReadOnlyChanged, readOnly, &QCheckBox::setChecked);
        auto* attribCol = new QCheckBox(QStringLiteral("Row attributes"));
        attribCol->setChecked(t->AttribRowVisible());
        QObject::connect(attribCol, &QCheckBox::toggled, t, &TNTabEd::setAttribRowVisible);
        auto* attribRow = new QCheckBox(QStringLiteral("Column attributes"));
        QObject::connect(attribRow, &QCheckBox::toggled, t, &TNTabEd::setAttribColVisible);
        auto* toggles = new QHBoxLayout;
        for (QWidget* w : {static_cast<QWidget*>(readOnly), static_cast<QWidget*>(attribCol), static_cast<QWidget*>(attribRow)})
            toggles->addWidget(w);
        toggles->addStretch(1);

        auto* lay = new QVBoxLayout(this);
        lay->addWidget(gallery::Framed(QStringLiteral("TNTabEd: type to edit, right-click cells and headings for the "
                                                      "menus, right-click the top-left cell for the comment"), t), 1);
        lay->addWidget(status);
        lay->addLayout(toggles);
        lay->addLayout(buttons);
    }
};

const bool registered = gallery::RegisterPage(25, QStringLiteral("Table editor"), QStringLiteral("tableeditor"),
                                              [] { return new TableEditorPage; });

} // namespace
