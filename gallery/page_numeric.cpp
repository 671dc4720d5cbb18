// The "Numeric input" page: self-drawn TNumIO2 fields in several set-ups and TNumIO line-edit
// fields, each with a live read-out of its value, plus switches for the input format and the
// decimal separator that apply to every field on the page.
#include "GalleryPage.h"

#include <QOR_NumIO2.h>
#include <QOR_NumIOEdit.h>

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

using namespace qor;

namespace {

const char* const kFormatNames[] = {"itExp", "itFloat", "itFixPoint", "itInt", "itHex", "itOct", "itBin", "itDynamic"};
const char* const kSepNames[] = {"platform", "point", "comma", "point or comma"};

QString ValueText(double v) { return QString::number(v, 'g', 12); }

class NumericPage : public QWidget {
public:
    NumericPage()
    {
        auto* page = new QVBoxLayout(this);

        auto* switches = new QHBoxLayout;
        FFormat = new QComboBox;
        for (const char* n : kFormatNames)
            FFormat->addItem(QString::fromLatin1(n));
        FFormat->setCurrentIndex(-1);
        FFormat->setPlaceholderText(QStringLiteral("(as set per field)"));
        FSep = new QComboBox;
        for (const char* n : kSepNames)
            FSep->addItem(QString::fromLatin1(n));
        FSep->setCurrentIndex(-1);
        FSep->setPlaceholderText(QStringLiteral("(as set per field)"));
        switches->addWidget(gallery::LabelFor(QStringLiteral("InputFormat of all fields:"), FFormat));
        switches->addWidget(FFormat);
        switches->addSpacing(20);
        switches->addWidget(gallery::LabelFor(QStringLiteral("DecPlaceSep of all fields:"), FSep));
        switches->addWidget(FSep);
        switches->addStretch(1);
        page->addLayout(switches);

        auto* fields2 = new QGridLayout;
        int row = 0;

        auto* withButtons = AddField2(fields2, row++, QStringLiteral("Float, buttons and gauge"));
        withButtons->resize(240, 40);
        withButtons->setFixedSize(240, 40);
        withButtons->SetLeftText(QStringLiteral("U ="));
        withButtons->SetRightText(QStringLiteral("V"));
        withButtons->SetButVisible(true);
        withButtons->SetButHeight(26);
        withButtons->SetGaugeVisible(true);
        withButtons->SetGaugeWidth(82);
        withButtons->SetRangeLow(0.0);
        withButtons->SetRangeHigh(10.0);
        withButtons->SetButIncrem(0.25);
        withButtons->SetValue(3.75);

        auto* pivots = AddField2(fields2, row++, QStringLiteral("Fixed point, pivots 0 1 2 5 10 20 50 100"));
        pivots->setFixedSize(240, 40);
        pivots->SetInputFormat(itFixPoint);
        pivots->SetLeftText(QStringLiteral("R"));
        pivots->SetRightText(QStringLiteral("k\u03A9"));
        pivots->SetButVisible(true);
        pivots->SetButHeight(26);
        pivots->SetGaugeVisible(true);
        pivots->SetRangeHigh(100.0);
        pivots->ButtonPivots = {0, 1, 2, 5, 10, 20, 50, 100};
        pivots->SetValue(20.0);

        auto* hex = AddField2(fields2, row++, QStringLiteral("Hexadecimal, left-aligned"));
        hex->setFixedSize(240, 28);
        hex->SetInputFormat(itHex);
        hex->SetAlignment(taLeftJustify);
        hex->SetLeftText(QStringLiteral("$"));
        hex->SetRangeHigh(4294967295.0);
        hex->SetValue(48879.0);

        auto* dynamic = AddField2(fields2, row++, QStringLiteral("Dynamic: $ hex, % binary, & octal"));
        dynamic->setFixedSize(240, 28);
        dynamic->SetInputFormat(itDynamic);
        dynamic->SetRangeLow(-1e9);
        dynamic->SetRangeHigh(1e9);
        dynamic->SetText(QStringLiteral("$1F"));

        auto* frozen = AddField2(fields2, row++, QStringLiteral("Freeze box, captions, raised frame"));
        frozen->setFixedSize(240, 28);
        frozen->SetInputFormat(itExp);
        frozen->SetFrameStyle(fsRaised);
        frozen->SetLeftText(QStringLiteral("f ="));
        frozen->SetRightText(QStringLiteral("Hz"));
        frozen->SetRightTextAlignment(taLeftJustify);
        frozen->SetSignificantDigits(4);
        frozen->SetTextBoxWidth(96);
        frozen->SetFreezeBoxVisible(true);
        frozen->SetHideInputOnFreeze(false);
        frozen->SetRangeHigh(1e6);
        frozen->SetValue(50.0);
        frozen->SetFreezeBoxChecked(true);

        auto* warn = AddField2(fields2, row++, QStringLiteral("Out of range (0 .. 10)"));
        warn->setFixedSize(240, 28);
        warn->SetRangeHigh(10.0);
        warn->SetValue(12.5);

        page->addWidget(gallery::Framed(QStringLiteral("TNumIO2"), Holder(fields2)));

        auto* fields = new QGridLayout;
        row = 0;
        auto* dyn = AddField(fields, row++, QStringLiteral("Dynamic, range -1000 .. 1000"));
        dyn->SetRangeLow(-1000.0);
        dyn->SetRangeHigh(1000.0);
        dyn->SetValue(123.0);
        auto* fix = AddField(fields, row++, QStringLiteral("Fixed point, 3 decimals, 0 .. 100"));
        fix->SetInputFormat(itFixPoint);
        fix->SetFixPointDecPlaces(3);
        fix->SetRangeHigh(100.0);
        fix->SetValue(12.345);
        auto* integer = AddField(fields, row++, QStringLiteral("Integer, range 0 .. 0 (only 0)"));
        integer->SetInputFormat(itInt);
        integer->SetValue(0.0);
        auto* bin = AddField(fields, row++, QStringLiteral("Binary, 0 .. 255"));
        bin->SetInputFormat(itBin);
        bin->SetRangeHigh(255.0);
        bin->SetValue(5.0);
        page->addWidget(gallery::Framed(QStringLiteral("TNumIO"), Holder(fields)));
        page->addStretch(1);

        connect(FFormat, &QComboBox::activated, this, [this](int i) {
            for (auto* f : FFields2)
                f->SetInputFormat(TInFormat(i));
            for (auto* f : FFields)
                f->SetInputFormat(TInFormat(i));
            Refresh();
        });
        connect(FSep, &QComboBox::activated, this, [this](int i) {
            for (auto* f : FFields2)
                f->SetDecPlaceSep(TDecPSep(i));
            for (auto* f : FFields)
                f->SetDecPlaceSep(TDecPSep(i));
            Refresh();
        });
        Refresh();
    }

private:
    static QWidget* Holder(QLayout* l)
    {
        auto* w = new QWidget;
        w->setLayout(l);
        return w;
    }

    TNumIO2* AddField2(QGridLayout* grid, int row, const QString& what)
    {
        auto* f = new TNumIO2;
        auto* readout = new QLabel;
        readout->setMinimumWidth(160);
        grid->addWidget(gallery::LabelFor(what, f), row, 0);
        grid->addWidget(f, row, 1);
        grid->addWidget(readout, row, 2);
        FFields2.push_back(f);
        FReadouts2.push_back(readout);
        f->OnChange = [this](QObject*) { Refresh(); };
        f->OnGaugeChange = [this](QObject*, TShiftState, double) { Refresh(); };
        return f;
    }

    TNumIO* AddField(QGridLayout* grid, int row, const QString& what)
    {
        auto* f = new TNumIO;
        f->setFixedWidth(160);
        auto* readout = new QLabel;
        readout->setMinimumWidth(160);
        grid->addWidget(gallery::LabelFor(what, f), row, 0);
        grid->addWidget(f, row, 1);
        grid->addWidget(readout, row, 2);
        FFields.push_back(f);
        FReadouts.push_back(readout);
        f->OnChange = [this](QObject*) { Refresh(); };
        return f;
    }

    void Refresh()
    {
        for (size_t i = 0; i < FFields2.size(); ++i) {
            TNumIO2* f = FFields2[i];
            FReadouts2[i]->setText(QStringLiteral("Value = %1%2").arg(ValueText(f->Value()),
                                   f->OutOfRange() ? QStringLiteral("  (out of range)") : QString()));
        }
        for (size_t i = 0; i < FFields.size(); ++i)
            FReadouts[i]->setText(QStringLiteral("Value = %1").arg(ValueText(FFields[i]->Value())));
    }

    QComboBox* FFormat;
    QComboBox* FSep;
    std::vector<TNumIO2*> FFields2;
    std::vector<QLabel*> FReadouts2;
    std::vector<TNumIO*> FFields;
    std::vector<QLabel*> FReadouts;
};

const bool registered = gallery::RegisterPage(30, QStringLiteral("Numeric input"), QStringLiteral("numeric"),
                                              [] { return new NumericPage; });

} // namespace
