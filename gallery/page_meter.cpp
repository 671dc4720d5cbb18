// Gallery page "Meter": four analog meters driven by one slider, with controls for the layout,
// tick count, decimals and thresholds, and a read-out of the value under the mouse.
#include "GalleryPage.h"

#include <QOR_Meter.h>

#include <QComboBox>
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

class MeterPage : public QWidget {
public:
    MeterPage()
    {
        auto* grid = new QGridLayout;
        grid->setSpacing(12);
        FMeters.push_back(MakeVoltmeter());
        FMeters.push_back(MakeTachometer());
        FMeters.push_back(MakeLogMeter());
        FMeters.push_back(MakeGauge());
        const char* titles[] = {"Voltmeter: 90°, bands, shadowed needle", "Tachometer: 300°, drag pointer",
                                "Logarithmic: 120°, 1 … 1000 Hz", "Pressure: 270°, dark dial"};
        for (int i = 0; i < 4; ++i) {
            QWidget* box = gallery::Framed(QString::fromUtf8(titles[i]), FMeters[size_t(i)]);
            box->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
            grid->addWidget(box, i / 2, i % 2);
        }

        // The controls sit under the dials in two columns.
        auto* left = new QFormLayout;
        auto* right = new QFormLayout;
        FValue = new QSlider(Qt::Horizontal);
        FValue->setRange(0, 1000);
        FValue->setValue(620);
        FValue->setMinimumWidth(200);
        left->addRow(QStringLiteral("Value"), FValue);

        FLayout = new QComboBox;
        for (const char* name : {"mlCirc90", "mlCirc120", "mlCirc180", "mlCirc270", "mlCirc300", "mlCirc360"})
            FLayout->addItem(QString::fromLatin1(name));
        left->addRow(QStringLiteral("Voltmeter layout"), FLayout);

        FTicks = new QSpinBox;
        FTicks->setRange(2, 21);
        FTicks->setValue(3);
        left->addRow(QStringLiteral("Tick count"), FTicks);

        FDecimals = new QSpinBox;
        FDecimals->setRange(0, 4);
        FDecimals->setValue(0);
        left->addRow(QStringLiteral("Decimals"), FDecimals);

        FLow = new QSlider(Qt::Horizontal);
        FLow->setRange(0, 1000);
        FLow->setValue(200);
        right->addRow(QStringLiteral("Low threshold"), FLow);
        FHigh = new QSlider(Qt::Horizontal);
        FHigh->setRange(0, 1000);
        FHigh->setValue(800);
        right->addRow(QStringLiteral("High threshold"), FHigh);

        FReadOut = new QLabel(QStringLiteral("Move the mouse over a dial"));
        FReadOut->setMinimumWidth(200);
        right->addRow(QStringLiteral("Under the mouse"), FReadOut);

        auto* controlRow = new QHBoxLayout;
        controlRow->addLayout(left);
        controlRow->addSpacing(24);
        controlRow->addLayout(right);
        controlRow->addStretch();
        auto* top = new QVBoxLayout(this);
        auto* gridRow = new QHBoxLayout;
        gridRow->addLayout(grid);
        gridRow->addStretch();
        top->addLayout(gridRow);
        top->addLayout(controlRow);
        top->addStretch();

        connect(FValue, &QSlider::valueChanged, this, [this] { ApplyValue(); });
        connect(FLow, &QSlider::valueChanged, this, [this] { ApplyThresholds(); });
        connect(FHigh, &QSlider::valueChanged, this, [this] { ApplyThresholds(); });
        connect(FTicks, &QSpinBox::valueChanged, this, [this](int n) {
            for (size_t i = 0; i < FMeters.size(); ++i)
                if (i != 2)   // the logarithmic scale places its own ticks
                    FMeters[i]->SetMeterNrTicks(n);
        });
        connect(FDecimals, &QSpinBox::valueChanged, this, [this](int d) {
            for (auto* m : FMeters)
                m->SetMeterDecPlaces(d);
        });
        connect(FLayout, &QComboBox::currentIndexChanged, this,
                [this](int i) { FMeters[0]->SetMeterLayout(TMeterLayout(i)); });
        for (auto* m : FMeters) {
            m->OnMouseMoveInMeter = [this](QObject* sender, bool within, TShiftState, double v) {
                auto* meter = static_cast<TMeter*>(sender);
                FReadOut->setText(within ? QStringLiteral("%1 %2").arg(v, 0, 'f', 2).arg(meter->Caption())
                                         : QStringLiteral("outside the scale"));
            };
        }
        ApplyThresholds();
        ApplyValue();
        FMeters[1]->SetValueSec(6.6);   // a peak seen earlier
    }

private:
    static TMeter* NewMeter()
    {
        auto* m = new TMeter;
        m->setFixedSize(297, 209);
        return m;
    }

    static TMeter* MakeVoltmeter()
    {
        TMeter* m = NewMeter();
        m->SetMeterMaxValue(250);
        m->SetMeterNrTicks(3);
        m->SetMeterDecPlaces(0);
        m->SetScaleBkVisible(true);
        m->SetScaleBkWidth(6);
        m->SetColorBakG(RGB(0xFB, 0xF8, 0xEE));
        m->SetCaption(QStringLiteral("V"));
        m->FontCaption()->SetSize(14);
        m->FontCaption()->SetStyle({fsBold});
        m->FontCaption()->SetColor(clNavy);
        TNeedleLayout* n = m->NeedleLayout();
        n->SetColorBody(RGB(0xC8, 0x20, 0x20));
        n->SetColorOutline(RGB(0x60, 0x00, 0x00));
        n->SetThickness(3);
        n->SetHeadSize(16);
        n->SetHeadMidLeng(12);
        n->SetShadowDx(-3);
        n->SetShadowDy(-3);
        n->SetShadowColor(RGB(0xB8, 0xB4, 0xA8));
        return m;
    }

    static TMeter* MakeTachometer()
    {
        TMeter* m = NewMeter();
        m->SetMeterLayout(mlCirc300);
        m->SetMeterMaxValue(8);
        m->SetMeterNrTicks(8);
        m->SetMeterDecPlaces(0);
        m->SetScaleBkVisible(true);
        m->SetScaleBkWidth(10);
        m->SetCaption(QStringLiteral("×1000 rpm"));
        m->FontCaption()->SetColor(clGray);
        m->SetColorCover(RGB(0x70, 0x78, 0x84));
        m->SetAnchorSize(12);
        TNeedleLayout* n = m->NeedleLayout();
        n->SetColorBody(RGB(0xF0, 0x80, 0x10));
        n->SetColorOutline(RGB(0x80, 0x40, 0x00));
        n->SetThickness(4);
        n->SetHeadSize(14);
        n->SetHeadMidLeng(10);
        n->SetPercentNeedleLength(92);
        TNeedleLayout* sec = m->NeedleLayoutSec();
        sec->SetColorBody(RGB(0x90, 0xB0, 0xE0));
        sec->SetColorOutline(RGB(0x40, 0x60, 0x90));
        sec->SetHeadSize(10);
        sec->SetHeadMidLeng(10);
        sec->SetPercentNeedleLength(70);
        sec->SetVisible(true);
        return m;
    }

    static TMeter* MakeLogMeter()
    {
        TMeter* m = NewMeter();
        m->SetMeterLayout(mlCirc120);
        m->SetMeterMinValue(1);
        m->SetMeterMaxValue(1000);
        m->SetLogarithmic(true);
        m->SetMeterShortTicks(false);
        m->SetMeterDecPlaces(0);
        m->SetScaleBkVisible(true);
        m->SetScaleBkWidth(4);
        m->SetColorSclBkLow(RGB(0xB0, 0xD8, 0xF0));
        m->SetColorSclBkNorm(RGB(0xC0, 0xE8, 0xC0));
        m->SetColorSclBkHigh(RGB(0xF0, 0xB8, 0xB8));
        m->SetColorScale(RGB(0x20, 0x30, 0x40));
        m->SetCaption(QStringLiteral("Hz"));
        m->FontCaption()->SetSize(12);
        m->FontCaption()->SetStyle({fsItalic});
        m->SetFrameStyle(fsEngraved);
        TNeedleLayout* n = m->NeedleLayout();
        n->SetColorBody(RGB(0x30, 0x30, 0x30));
        n->SetThickness(2);
        n->SetHeadAngle(24);
        n->SetShadowDx(-2);
        n->SetShadowDy(-2);
        n->SetShadowColor(RGB(0xC8, 0xC8, 0xC8));
        return m;
    }

    static TMeter* MakeGauge()
    {
        TMeter* m = NewMeter();
        m->SetMeterLayout(mlCirc270);
        m->SetMeterMaxValue(16);
        m->SetMeterNrTicks(4);
        m->SetMeterDecPlaces(0);
        m->SetColorBakG(RGB(0x1C, 0x22, 0x2A));
        m->SetColorScale(RGB(0xE8, 0xEC, 0xF0));
        m->SetColorCover(RGB(0x3A, 0x40, 0x48));
        m->SetScaleBkVisible(true);
        m->SetScaleBkWidth(5);
        m->SetColorSclBkLow(RGB(0x30, 0x90, 0xD0));
        m->SetColorSclBkNorm(RGB(0x3A, 0x46, 0x52));
        m->SetColorSclBkHigh(RGB(0xE0, 0x40, 0x30));
        m->Font()->SetColor(RGB(0xE8, 0xEC, 0xF0));
        m->SetCaption(QStringLiteral("bar"));
        m->FontCaption()->SetColor(RGB(0x90, 0xA0, 0xB0));
        m->FontCaption()->SetSize(11);
        m->SetAnchorSize(10);
        m->SetLimWatchPsvColor(RGB(0x50, 0x58, 0x60));
        TNeedleLayout* n = m->NeedleLayout();
        n->SetColorBody(RGB(0xFF, 0xD0, 0x40));
        n->SetColorOutline(RGB(0xFF, 0xD0, 0x40));
        n->SetThickness(2);
        n->SetHeadSize(12);
        n->SetHeadMidLeng(12);
        n->SetPercentNeedleLength(88);
        return m;
    }

    // The slider position as a value of each meter's own scale.
    static double AtFraction(const TMeter* m, double f)
    {
        const double lo = m->MeterMinValue(), hi = m->MeterMaxValue();
        if (m->Logarithmic())
            return std::exp(std::log(lo) + f * (std::log(hi) - std::log(lo)));
        return lo + f * (hi - lo);
    }

    void ApplyValue()
    {
        const double f = FValue->value() / 1000.0;
        for (auto* m : FMeters)
            m->SetValue(AtFraction(m, f));
        // The tachometer's secondary needle keeps the highest value seen, like a drag pointer.
        TMeter* tacho = FMeters[1];
        if (tacho->Value() > tacho->ValueSec() || FValue->value() == 0)
            tacho->SetValueSec(tacho->Value());
    }

    void ApplyThresholds()
    {
        const double lo = FLow->value() / 1000.0, hi = FHigh->value() / 1000.0;
        for (auto* m : FMeters) {
            m->SetThresholdHigh(AtFraction(m, std::max(lo, hi)));
            m->SetThresholdLow(AtFraction(m, std::min(lo, hi)));
            // Re-evaluate the lamps against the current value.
            const double v = m->Value();
            m->SetValue(m->MeterMinValue());
            m->SetValue(v);
        }
    }

    std::vector<TMeter*> FMeters;
    QSlider* FValue;
    QComboBox* FLayout;
    QSpinBox* FTicks;
    QSpinBox* FDecimals;
    QSlider* FLow;
    QSlider* FHigh;
    QLabel* FReadOut;
};

const bool registered = gallery::RegisterPage(60, QStringLiteral("Meter"), QStringLiteral("meter"),
                                              [] { return new MeterPage; });

} // namespace
