// Gallery page "Labels": numeric labels in several display types and a seven-segment display,
// all fed by one slider; rotated labels turned by a dial with a choice of alignment; a raster
// label scrolling the value; frames, colours and a transparent label over a coloured panel.
// The raster label has a page of its own too ("Raster label").
//
// Layout: a 2 x 2 grid of groups.
#include "GalleryPage.h"

#include <QOR_DateUtils.h>
#include <QOR_NumLab.h>
#include <QOR_RasterLab.h>
#include <QOR_RotLab.h>
#include <QOR_sevenseg.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDial>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>
#include <vector>

namespace {

using namespace qor;

const char* const kDisplayNames[] = {"dtFloat", "dtFixP", "dtExp", "dtHex", "dtZeroInt", "dtInt", "dtDateTime",
                                     "dtState", "dtBin", "dtOct", "dtDeg", "dtDegMin", "dtDegMinSec", "dtEEng",
                                     "dtEEngNoDP"};

class LabelsPage : public QWidget {
public:
    LabelsPage()
    {
        FValue = new QSlider(Qt::Horizontal);
        FValue->setRange(-5000, 5000);
        FValue->setValue(1234);
        FValue->setMinimumWidth(240);

        auto* grid = new QGridLayout;
        grid->setSpacing(12);
        grid->addWidget(gallery::Framed(QStringLiteral("TNumLab: one value, many display types"), NumLabGroup()), 0, 0);
        grid->addWidget(gallery::Framed(QStringLiteral("TSevenSeg"), SevenSegGroup()), 0, 1, Qt::AlignTop);
        grid->addWidget(gallery::Framed(QStringLiteral("TRotLab"), RotLabGroup()), 1, 0, Qt::AlignTop);
        grid->addWidget(gallery::Framed(QStringLiteral("TRasterLab: the value scrolling"), RasterGroup()), 1, 1,
                        Qt::AlignTop);
        grid->setColumnStretch(2, 1);

        auto* valueRow = new QHBoxLayout;
        valueRow->addWidget(gallery::LabelFor(QStringLiteral("Value (all labels and displays)"), FValue));
        valueRow->addWidget(FValue);
        FValueText = new QLabel;
        FValueText->setMinimumWidth(80);
        valueRow->addWidget(FValueText);
        valueRow->addStretch();

        auto* top = new QVBoxLayout(this);
        top->addLayout(valueRow);
        top->addLayout(grid);
        top->addStretch();

        connect(FValue, &QSlider::valueChanged, this, [this] { ApplyValue(); });
        ApplyValue();
    }

private:
    double Value() const { return FValue->value() / 100.0; }

    static TNumLab* NewLab(const QString& left, const QString& right, TDisplay type, int precision)
    {
        auto* lab = new TNumLab;
        lab->setFixedSize(220, 26);
        lab->SetLeftSpace(60);
        lab->SetLabelWidth(110);
        lab->SetLeftText(left);
        lab->SetRightText(right);
        lab->SetDisplayType(type);
        lab->SetPrecision(precision);
        return lab;
    }

    QWidget* NumLabGroup()
    {
        auto* box = new QWidget;
        auto* form = new QVBoxLayout(box);
        form->setSpacing(4);
        auto add = [&](TNumLab* lab) {
            FLabs.push_back(lab);
            form->addWidget(lab);
            return lab;
        };
        add(NewLab(QStringLiteral("U ="), QStringLiteral("V"), dtFixP, 2));
        add(NewLab(QStringLiteral("float"), QString(), dtFloat, 4))->SetFrameStyle(fsRaised);
        TNumLab* exp = add(NewLab(QStringLiteral("exp"), QString(), dtExp, 3));
        exp->SetAlignment(taRightJustify);
        exp->SetFrameStyle(fsSimple);
        TNumLab* eng = add(NewLab(QStringLiteral("I ="), QStringLiteral("mA"), dtEEng, 3));
        eng->SetColorLabBakG(RGB(0x10, 0x20, 0x18));
        eng->SetColorLabText(RGB(0x40, 0xFF, 0x80));
        eng->SetFrameStyle(fsEmbossed);
        TNumLab* hex = add(NewLab(QStringLiteral("hex"), QStringLiteral("h"), dtHex, 4));
        hex->SetAlignment(taLeftJustify);
        hex->SetFrameStyle(fsEngraved);
        TNumLab* dms = add(NewLab(QStringLiteral("lat"), QStringLiteral("N"), dtDegMinSec, 1));
        dms->SetColorLabBakG(clWhite);
        dms->SetColorLabText(clNavy);
        TNumLab* comma = add(NewLab(QStringLiteral("Komma"), QStringLiteral("%"), dtFixP, 1));
        comma->SetComma(true);
        comma->SetForcePlusSign(true);
        comma->SetColorOutBakG(RGB(0xE8, 0xEE, 0xF8));
        comma->SetColorOutText(clNavy);
        TNumLab* narrow = add(NewLab(QStringLiteral("narrow"), QString(), dtFixP, 3));
        narrow->SetLabelWidth(50);   // too narrow for large values: the overflow indicator
        TNumLab* off = add(NewLab(QStringLiteral("disabled"), QStringLiteral("V"), dtFixP, 2));
        off->setEnabled(false);
        TNumLab* date = add(NewLab(QStringLiteral("date"), QString(), dtDateTime, 0));
        date->SetDTFormat(QStringLiteral("dd mmm yyyy hh:nn"));
        date->SetLabelWidth(130);
        FDate = date;

        // A transparent label on a coloured panel: the panel shows around the field.
        auto* panel = new QWidget;
        panel->setFixedSize(220, 36);
        panel->setAutoFillBackground(true);
        QPalette pal = panel->palette();
        pal.setColor(QPalette::Window, QColor(0x8F, 0xC8, 0xE8));
        panel->setPalette(pal);
        auto* glass = new TNumLab(panel);
        glass->setGeometry(0, 4, 220, 28);
        glass->SetLeftSpace(60);
        glass->SetLabelWidth(110);
        glass->SetLeftText(QStringLiteral("glass"));
        glass->SetRightText(QStringLiteral("bar"));
        glass->SetFrameStyle(fsRaised);
        glass->SetColorLabBakG(RGB(0xFF, 0xF4, 0xC0));
        glass->SetTransparent(true);
        FLabs.push_back(glass);
        form->addWidget(panel);

        // One free label: display type, precision and signs chosen here.
        FFree = NewLab(QStringLiteral("free"), QString(), dtFixP, 2);
        FLabs.push_back(FFree);
        auto* type = new QComboBox;
        type->setAccessibleName(QStringLiteral("DisplayType"));
        for (const char* n : kDisplayNames)
            type->addItem(QString::fromLatin1(n));
        type->setCurrentIndex(dtFixP);
        auto* precision = new QSpinBox;
        precision->setRange(0, 15);
        precision->setValue(2);
        auto* comma2 = new QCheckBox(QStringLiteral("Comma"));
        auto* plus = new QCheckBox(QStringLiteral("ForcePlusSign"));
        auto* row1 = new QHBoxLayout;
        row1->addWidget(type);
        row1->addWidget(gallery::LabelFor(QStringLiteral("Precision"), precision));
        row1->addWidget(precision);
        row1->addStretch();
        auto* row2 = new QHBoxLayout;
        row2->addWidget(comma2);
        row2->addWidget(plus);
        row2->addStretch();
        form->addSpacing(6);
        form->addWidget(FFree);
        form->addLayout(row1);
        form->addLayout(row2);
        connect(type, &QComboBox::currentIndexChanged, this, [this](int i) { FFree->SetDisplayType(TDisplay(i)); });
        connect(precision, &QSpinBox::valueChanged, this, [this](int p) { FFree->SetPrecision(p); });
        connect(comma2, &QCheckBox::toggled, this, [this](bool on) { FFree->SetComma(on); });
        connect(plus, &QCheckBox::toggled, this, [this](bool on) { FFree->SetForcePlusSign(on); });
        return box;
    }

    QWidget* SevenSegGroup()
    {
        auto* box = new QWidget;
        auto* lay = new QVBoxLayout(box);
        FSegValue = new TSevenSeg;
        FSegValue->setFixedSize(260, 84);
        FSegValue->SetNumDigits(5);
        lay->addWidget(gallery::LabelFor(QStringLiteral("The slider value, red on dark grey"), FSegValue));
        lay->addWidget(FSegValue);

        FSegHex = new TSevenSeg;
        FSegHex->setFixedSize(260, 64);
        FSegHex->SetNumDigits(6);
        FSegHex->SetColorText(RGB(0x40, 0xFF, 0x60));
        FSegHex->SetColorBackGnd(RGB(0x08, 0x18, 0x08));
        FSegHex->SetFrameStyle(fsRaised);
        FSegHex->SetInterDigDist(4);
        lay->addWidget(gallery::LabelFor(QStringLiteral("Hexadecimal, green, raised frame"), FSegHex));
        lay->addWidget(FSegHex);

        auto* clock = new TSevenSeg;
        clock->setFixedSize(260, 56);
        clock->SetNumDigits(8);
        clock->SetColorText(clWhite);
        clock->SetColorBackGnd(RGB(0x10, 0x30, 0x70));
        clock->SetFrameStyle(fsNone);
        clock->SetMargin(6);
        clock->SetCaption(QStringLiteral("12:34-56"));
        lay->addWidget(gallery::LabelFor(QStringLiteral("White on blue, no frame: colon and dash"), clock));
        lay->addWidget(clock);

        auto* temp = new TSevenSeg;
        temp->setFixedSize(160, 56);
        temp->SetNumDigits(4);
        temp->SetColorText(RGB(0xFF, 0xB0, 0x20));
        temp->SetColorBackGnd(clBlack);
        temp->SetFrameStyle(fsEngraved);
        temp->SetCaption(QStringLiteral("+21\u00B0"));
        lay->addWidget(gallery::LabelFor(QStringLiteral("Amber: plus and degree signs"), temp));
        lay->addWidget(temp);
        lay->addStretch();
        return box;
    }

    QWidget* RasterGroup()
    {
        FTicker = new TRasterLab;
        FTicker->setFixedWidth(400);
        FTicker->SetAutoHeight(true);
        FTicker->SetScrollMode(rdsmLeft);
        FTicker->SetScrollInterval(40);
        FTicker->SetScrollIncrement(2);
        return FTicker;
    }

    QWidget* RotLabGroup()
    {
        auto* box = new QWidget;
        auto* lay = new QHBoxLayout(box);
        FRot = new TRotLab;
        FRot->setFixedSize(200, 200);
        FRot->SetCaption(QStringLiteral("Rotated text"));
        FRot->Font()->SetSize(14);
        FRot->SetFontColor(clNavy);
        lay->addWidget(FRot);

        FRotFilled = new TRotLab;
        FRotFilled->setFixedSize(140, 200);
        FRotFilled->SetTransparent(false);
        FRotFilled->SetColor(RGB(0xFF, 0xF8, 0xE0));
        FRotFilled->SetFrameStyle(fsRaised);
        FRotFilled->SetTextAngle(90);
        FRotFilled->SetCaption(QStringLiteral("Axis title"));
        FRotFilled->Font()->SetStyle({fsBold});
        FRotFilled->SetFontColor(RGB(0x80, 0x20, 0x00));
        lay->addWidget(FRotFilled);

        auto* controls = new QFormLayout;
        auto* dial = new QDial;
        dial->setRange(0, 359);
        dial->setWrapping(true);
        dial->setNotchesVisible(true);
        dial->setFixedSize(90, 90);
        dial->setValue(30);
        controls->addRow(QStringLiteral("TextAngle"), dial);
        auto* align = new QComboBox;
        align->addItems({QStringLiteral("taLeftJustify"), QStringLiteral("taRightJustify"), QStringLiteral("taCenter")});
        align->setCurrentIndex(taCenter);
        controls->addRow(QStringLiteral("Alignment"), align);
        auto* antiAlias = new QCheckBox;
        antiAlias->setChecked(true);
        controls->addRow(QStringLiteral("AntiAlias"), antiAlias);
        auto* enabled = new QCheckBox;
        enabled->setChecked(true);
        controls->addRow(QStringLiteral("Enabled"), enabled);
        lay->addLayout(controls);

        auto apply = [this, dial, align] {
            for (TRotLab* r : {FRot, FRotFilled}) {
                r->SetAlignment(TAlignment(align->currentIndex()));
                r->SetTextAngle(r == FRot ? dial->value() : 90 + dial->value() % 10);
            }
        };
        connect(dial, &QDial::valueChanged, this, apply);
        connect(align, &QComboBox::currentIndexChanged, this, apply);
        connect(antiAlias, &QCheckBox::toggled, this, [this](bool on) {
            FRot->SetAntiAlias(on);
            FRotFilled->SetAntiAlias(on);
        });
        connect(enabled, &QCheckBox::toggled, this, [this](bool on) {
            FRot->setEnabled(on);
            FRotFilled->setEnabled(on);
        });
        apply();
        return box;
    }

    void ApplyValue()
    {
        const double v = Value();
        FValueText->setText(QString::number(v, 'f', 2));
        for (TNumLab* lab : FLabs)
            lab->SetValue(lab == FDate ? EncodeDate(2024, 3, 5) + v : v * (lab->DisplayType() == dtHex ? 100 : 1));
        // Right-aligned: blanks (empty cells) in front, the point sharing its digit's cell.
        const QString digits = QString::number(v, 'f', 2);
        FSegValue->SetCaption(digits.rightJustified(FSegValue->NumDigits() + 1, QLatin1Char(' ')));
        FSegHex->SetCaption(QString::number(qint64(std::abs(FValue->value())) * 37, 16).toUpper());
        FTicker->SetText(QStringLiteral("Value %1 \u00b7 ").arg(digits));
    }

    QSlider* FValue;
    TRasterLab* FTicker = nullptr;
    QLabel* FValueText;
    std::vector<TNumLab*> FLabs;
    TNumLab* FFree = nullptr;
    TNumLab* FDate = nullptr;
    TSevenSeg* FSegValue = nullptr;
    TSevenSeg* FSegHex = nullptr;
    TRotLab* FRot = nullptr;
    TRotLab* FRotFilled = nullptr;
};

const bool registered = gallery::RegisterPage(70, QStringLiteral("Labels"), QStringLiteral("labels"),
                                              [] { return new LabelsPage; });

} // namespace
