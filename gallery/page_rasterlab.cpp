// Gallery page "Raster label": a scrolling dot-matrix display with controls for its text, dots,
// scrolling and frame; the three block modes; a label whose dots come from a system font; and
// the whole built-in character set.
#include "GalleryPage.h"

#include <QOR_RasterLab.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

using namespace qor;

class RasterLabPage : public QWidget {
public:
    RasterLabPage()
    {
        auto* top = new QVBoxLayout(this);
        auto* upper = new QHBoxLayout;
        auto* left = new QVBoxLayout;
        left->addWidget(gallery::Framed(QStringLiteral("Scrolling (timer running)"), MakeTicker()));
        left->addWidget(gallery::Framed(QStringLiteral("Block modes: rdbmOn, rdbmRaster, rdbmOff"), MakeBlockModes()));
        left->addWidget(gallery::Framed(QStringLiteral("Dots from system fonts (CreateBitFont)"), MakeSystemFonts()));
        left->addStretch();
        upper->addLayout(left);
        upper->addWidget(MakeControls(), 0, Qt::AlignTop);
        upper->addStretch();
        top->addLayout(upper);
        auto* chartRow = new QHBoxLayout;
        chartRow->addWidget(gallery::Framed(QStringLiteral("Built-in font, characters 32..255 (fixed pitch)"), MakeChart()));
        chartRow->addStretch();
        top->addLayout(chartRow);
        top->addStretch();
    }

private:
    QWidget* MakeTicker()
    {
        FTicker = new TRasterLab;
        FTicker->setFixedWidth(460);
        FTicker->SetText(QString::fromUtf8("KORVANE · Raster label · 12:30:45 · −12.5 °C · Größe ±0.5 % · ÀÉÎÕÜ"));
        FTicker->SetAutoHeight(true);
        FTicker->SetScrollMode(rdsmLeft);
        FTicker->SetScrollInterval(30);
        FTicker->SetScrollIncrement(2);
        FTicker->OnScrollLoopRestart = [this](QObject*) { FLoops->setText(QString::number(++FLoopCount)); };
        return FTicker;
    }

    static TRasterLab* Label(const QString& text, TRDBlockMode mode, TColor on, TColor off, TFrameStyle frame)
    {
        auto* l = new TRasterLab;
        l->setFixedWidth(460);
        l->SetFrameStyle(frame);
        l->SetText(text);
        l->SetCharBlockMode(mode);
        l->SetColorDotOn(on);
        l->SetColorDotOff(off);
        l->SetAutoHeight(true);
        return l;
    }

    QWidget* MakeBlockModes()
    {
        auto* box = new QWidget;
        auto* lay = new QVBoxLayout(box);
        lay->setContentsMargins(0, 0, 0, 0);
        FModes[0] = Label(QStringLiteral("Blocks 0123"), rdbmOn, clLime, 0x404040, fsLowered);
        FModes[1] = Label(QStringLiteral("Raster 4567"), rdbmRaster, RGB(0xFF, 0xB0, 0x00), RGB(0x3A, 0x2A, 0x10),
                          fsEmbossed);
        FModes[2] = Label(QStringLiteral("Plain, centred"), rdbmOff, RGB(0xFF, 0x40, 0x30), 0x404040, fsSimple);
        FModes[2]->SetAutoCenter(true);
        for (auto* l : FModes)
            lay->addWidget(l);
        return box;
    }

    QWidget* MakeSystemFonts()
    {
        auto* box = new QWidget;
        auto* lay = new QVBoxLayout(box);
        lay->setContentsMargins(0, 0, 0, 0);
        auto add = [&](const QString& family, int size, TFontQuality quality, const QString& text) {
            auto* l = new TRasterLab;
            l->setFixedWidth(460);
            l->SetDotSize(2);
            l->SetCharBlockMode(rdbmRaster);
            l->SetColorDotOn(RGB(0x60, 0xD0, 0xFF));
            l->SetColorDotOff(RGB(0x18, 0x28, 0x38));
            l->SetAutoHeight(true);
            l->Font()->SetName(family);
            l->Font()->SetSize(size);
            l->Font()->SetQuality(quality);
            l->SetText(text);
            lay->addWidget(l);
        };
        add(QStringLiteral("DejaVu Sans"), 9, fqNonAntialiased, QStringLiteral("DejaVu Sans 9 pt, no antialiasing"));
        add(QStringLiteral("DejaVu Serif"), 10, fqDefault, QStringLiteral("DejaVu Serif 10 pt, antialiased"));
        return box;
    }

    static QWidget* MakeChart()
    {
        auto* box = new QWidget;
        auto* grid = new QGridLayout(box);
        grid->setContentsMargins(0, 0, 0, 0);
        grid->setVerticalSpacing(0);
        grid->setHorizontalSpacing(6);
        for (int row = 0; row < 14; ++row) {
            const int first = 32 + row * 16;
            auto* code = new QLabel(QStringLiteral("%1").arg(first, 3, 10, QLatin1Char(' ')));
            code->setFont(QFont(QStringLiteral("DejaVu Sans Mono")));
            grid->addWidget(code, row, 0);
            auto* l = new TRasterLab;
            QString text;
            for (int i = 0; i < 16; ++i) {
                const char32_t u = TRasterLab::SlotChar(std::uint8_t(first + i));
                text += QString::fromUcs4(&u, 1);
            }
            l->SetText(text);
            l->SetDotSize(2);
            l->SetProportional(false);
            l->SetFrameStyle(fsNone);
            l->SetCharBlockMode(rdbmRaster);
            l->SetColorDotOff(RGB(0x20, 0x30, 0x20));
            l->SetPosX(3);
            l->SetPosY(2);
            l->setFixedSize(16 * 3 * 8 + 3, 12 * 3 + 3);
            grid->addWidget(l, row, 1);
        }
        return box;
    }

    QWidget* MakeControls()
    {
        auto* box = new QWidget;
        auto* form = new QFormLayout(box);
        auto* text = new QLineEdit(FTicker->Text());
        text->setMinimumWidth(260);
        form->addRow(QStringLiteral("Text"), text);
        auto* dotSize = new QSpinBox;
        dotSize->setRange(1, 8);
        dotSize->setValue(FTicker->DotSize());
        form->addRow(QStringLiteral("Dot size"), dotSize);
        auto* spacing = new QSpinBox;
        spacing->setRange(0, 3);
        spacing->setValue(FTicker->DotSpacing());
        form->addRow(QStringLiteral("Dot spacing"), spacing);
        auto* mode = new QComboBox;
        for (const char* name : {"rdsmOff", "rdsmLeft", "rdsmRight", "rdsmDown", "rdsmUp"})
            mode->addItem(QString::fromLatin1(name));
        mode->setCurrentIndex(FTicker->ScrollMode());
        form->addRow(QStringLiteral("Scroll mode"), mode);
        auto* increment = new QSpinBox;
        increment->setRange(1, 20);
        increment->setValue(FTicker->ScrollIncrement());
        form->addRow(QStringLiteral("Pixels per tick"), increment);
        auto* interval = new QSpinBox;
        interval->setRange(10, 500);
        interval->setSuffix(QStringLiteral(" ms"));
        interval->setValue(FTicker->ScrollInterval());
        form->addRow(QStringLiteral("Interval"), interval);
        auto* loop = new QCheckBox(QStringLiteral("Loop"));
        loop->setChecked(true);
        form->addRow(QString(), loop);
        auto* proportional = new QCheckBox(QStringLiteral("Proportional"));
        proportional->setChecked(true);
        form->addRow(QString(), proportional);
        auto* frame = new QComboBox;
        for (const char* name : {"fsNone", "fsSimple", "fsLowered", "fsRaised", "fsEmbossed", "fsEngraved"})
            frame->addItem(QString::fromLatin1(name));
        frame->setCurrentIndex(FTicker->FrameStyle());
        form->addRow(QStringLiteral("Frame"), frame);
        FLoops = new QLabel(QStringLiteral("0"));
        form->addRow(QStringLiteral("Loop restarts"), FLoops);

        connect(text, &QLineEdit::textChanged, this, [this](const QString& s) { FTicker->SetText(s); });
        connect(dotSize, &QSpinBox::valueChanged, this, [this](int v) {
            FTicker->SetDotSize(v);
            for (auto* l : FModes)
                l->SetDotSize(v);
        });
        connect(spacing, &QSpinBox::valueChanged, this, [this](int v) {
            FTicker->SetDotSpacing(v);
            for (auto* l : FModes)
                l->SetDotSpacing(v);
        });
        connect(mode, &QComboBox::currentIndexChanged, this,
                [this](int i) { FTicker->SetScrollMode(TRDScrollMode(i)); });
        connect(increment, &QSpinBox::valueChanged, this, [this](int v) { FTicker->SetScrollIncrement(v); });
        connect(interval, &QSpinBox::valueChanged, this, [this](int v) { FTicker->SetScrollInterval(v); });
        connect(loop, &QCheckBox::toggled, this, [this](bool on) { FTicker->SetScrollLoop(on); });
        connect(proportional, &QCheckBox::toggled, this, [this](bool on) { FTicker->SetProportional(on); });
        connect(frame, &QComboBox::currentIndexChanged, this,
                [this](int i) { FTicker->SetFrameStyle(TFrameStyle(i)); });
        return box;
    }

    TRasterLab* FTicker = nullptr;
    TRasterLab* FModes[3] = {};
    QLabel* FLoops = nullptr;
    int FLoopCount = 0;
};

const bool registered = gallery::RegisterPage(75, QStringLiteral("Raster label"), QStringLiteral("rasterlab"),
                                              [] { return new RasterLabPage; });

} // namespace
