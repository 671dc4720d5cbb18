// Gallery page "Bars": progress bars in the three colour mappings and four directions, with
// grids, frames and rotated value texts, one advancing by itself, all driven by a slider; and
// gradient fills of every type with and without grid and flipping.
#include "GalleryPage.h"

#include <QOR_ProgBar.h>
#include <QOR_gradfl.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>
#include <vector>

namespace {

using namespace qor;

TProgBar* NewBar(int w, int h, TDirection dir)
{
    auto* b = new TProgBar;
    b->setFixedSize(w, h);
    b->SetDirection(dir);
    b->SetShowColorGradient(true);
    b->SetColorBackGnd(RGB(0xF4, 0xF4, 0xF0));
    b->SetTextPosX(w / 2);
    b->SetTextPosY(h / 2);
    b->OnShowValue = [](QObject*, QString& text) { text += QStringLiteral(" %"); };
    return b;
}

class BarsPage : public QWidget {
public:
    BarsPage()
    {
        auto* top = new QVBoxLayout(this);
        auto* upper = new QHBoxLayout;
        upper->addWidget(gallery::Framed(QStringLiteral("Colour mappings (slider-driven)"), MakeMappings()));
        upper->addWidget(gallery::Framed(QStringLiteral("Directions, grid, rotated text"), MakeDirections()));
        upper->addStretch();
        top->addLayout(upper);
        auto* middle = new QHBoxLayout;
        middle->addWidget(gallery::Framed(QStringLiteral("Frames and styles"), MakeStyles()));
        middle->addWidget(gallery::Framed(QStringLiteral("Auto-increment"), MakeAutoInc()));
        middle->addStretch();
        top->addLayout(middle);
        top->addWidget(gallery::Framed(QStringLiteral("Gradient fills"), MakeFills()));
        top->addStretch();
        ApplyValue(FSlider->value());
    }

private:
    QWidget* MakeMappings()
    {
        auto* w = new QWidget;
        auto* form = new QFormLayout(w);
        const char* names[] = {"cgmCover", "cgmStretch", "cgmMove"};
        for (int i = 0; i < 3; ++i) {
            TProgBar* b = NewBar(300, 28, dirRight);
            b->SetColorMapMode(TColorMapping(i));
            b->SetTextPosX(150);
            FDriven.push_back(b);
            form->addRow(QString::fromLatin1(names[i]), b);
        }
        TProgBar* plain = NewBar(300, 28, dirRight);
        plain->SetShowColorGradient(false);
        plain->SetColorMin(RGB(0x30, 0x80, 0x30));
        plain->SetTextDecPlaces(1);
        FDriven.push_back(plain);
        form->addRow(QStringLiteral("one colour"), plain);
        TProgBar* warm = NewBar(300, 28, dirRight);
        warm->SetColorMin(RGB(0xFF, 0xF0, 0x60));
        warm->SetColorMax(RGB(0xC0, 0x10, 0x10));
        warm->SetColorMapMode(cgmCover);
        warm->SetGridDist(10);
        warm->SetColorGrid(RGB(0x60, 0x40, 0x20));
        FDriven.push_back(warm);
        form->addRow(QStringLiteral("cover + grid"), warm);
        FSlider = new QSlider(Qt::Horizontal);
        FSlider->setRange(0, 100);
        FSlider->setValue(64);
        form->addRow(QStringLiteral("Value"), FSlider);
        connect(FSlider, &QSlider::valueChanged, this, [this](int v) { ApplyValue(v); });
        return w;
    }

    QWidget* MakeDirections()
    {
        auto* w = new QWidget;
        auto* grid = new QGridLayout(w);
        TProgBar* up = NewBar(40, 196, dirUp);
        up->SetTextAngle(90);
        up->SetGridDist(8);
        TProgBar* down = NewBar(40, 196, dirDown);
        down->SetTextAngle(270);
        down->SetColorMapMode(cgmMove);
        down->SetGridDist(8);
        TProgBar* left = NewBar(220, 40, dirLeft);
        left->SetGridDist(10);
        left->SetColorMapMode(cgmCover);
        TProgBar* right = NewBar(220, 40, dirRight);
        right->SetTextAngle(15);
        right->SetTextAlignment(taLeftJustify);
        right->SetTextPosX(10);
        right->SetTextPosY(24);
        right->SetGridDist(10);
        up->setAccessibleName(QStringLiteral("dirUp"));
        down->setAccessibleName(QStringLiteral("dirDown, cgmMove"));
        for (TProgBar* b : {up, down, left, right})
            FDriven.push_back(b);
        grid->addWidget(up, 0, 0, 4, 1);
        grid->addWidget(down, 0, 1, 4, 1);
        grid->addWidget(gallery::LabelFor(QStringLiteral("dirLeft, cgmCover"), left), 0, 2);
        grid->addWidget(left, 1, 2);
        grid->addWidget(gallery::LabelFor(QStringLiteral("dirRight, text at 15°, left-justified"), right), 2, 2);
        grid->addWidget(right, 3, 2);
        return w;
    }

    QWidget* MakeStyles()
    {
        auto* w = new QWidget;
        auto* form = new QFormLayout(w);
        struct Style {
            const char* Name;
            TFrameStyle Outer, Inner;
        };
        const Style styles[] = {{"raised / lowered", fsRaised, fsLowered},
                                {"lowered / raised", fsLowered, fsRaised},
                                {"embossed / engraved", fsEmbossed, fsEngraved},
                                {"simple / none", fsSimple, fsNone}};
        for (const Style& s : styles) {
            TProgBar* b = NewBar(260, 24, dirRight);
            b->SetFrameStyleOuter(s.Outer);
            b->SetFrameStyleInner(s.Inner);
            b->SetColorMargin(RGB(0xD8, 0xD8, 0xD0));
            b->SetTextPosX(130);
            b->SetTextPosY(12);
            FDriven.push_back(b);
            form->addRow(QString::fromLatin1(s.Name), b);
        }
        TProgBar* wide = NewBar(260, 34, dirRight);
        wide->SetMarginTop(8);
        wide->SetMarginBottom(8);
        wide->SetMarginLeft(12);
        wide->SetMarginRight(12);
        wide->SetColorMargin(RGB(0x40, 0x48, 0x50));
        wide->SetColorBackGnd(RGB(0x20, 0x24, 0x28));
        wide->SetColorMin(RGB(0x20, 0xA0, 0xF0));
        wide->SetColorMax(RGB(0xF0, 0xF0, 0xFF));
        wide->Font()->SetColor(clWhite);
        wide->SetTextPosX(130);
        wide->SetTextPosY(17);
        FDriven.push_back(wide);
        form->addRow(QStringLiteral("wide margins, dark"), wide);
        return w;
    }

    QWidget* MakeAutoInc()
    {
        auto* w = new QWidget;
        auto* lay = new QVBoxLayout(w);
        FAuto = NewBar(260, 28, dirRight);
        FAuto->SetTextPosX(130);
        FAuto->SetColorMapMode(cgmMove);
        FAuto->SetStartInterval(400);
        FAuto->SetRepeatInterval(60);
        FAuto->SetValue(0);
        FAuto->OnShowValue = nullptr;
        FAuto->setAccessibleName(QStringLiteral("Auto increment"));
        // Wraps round at Max, like a busy indicator.
        FAuto->OnAutoInc = [this](QObject*) {
            if (FAuto->Value() > FAuto->Max())
                FAuto->SetValue(FAuto->Min());
        };
        auto* ticks = new QLabel;
        connect(FAuto, &TProgBar::autoInc, ticks, [ticks, n = 0]() mutable {
            ticks->setText(QStringLiteral("%1 steps").arg(++n));
        });
        auto* row = new QHBoxLayout;
        auto* button = new QPushButton(QStringLiteral("Start"));
        auto* step = new QSpinBox;
        step->setRange(1, 10);
        step->setPrefix(QStringLiteral("step "));
        connect(step, &QSpinBox::valueChanged, this, [this](int v) { FAuto->SetAutoIncStep(v); });
        connect(button, &QPushButton::clicked, this, [this, button] {
            FAuto->SetAutoInc(!FAuto->AutoInc());
            button->setText(FAuto->AutoInc() ? QStringLiteral("Stop") : QStringLiteral("Start"));
        });
        row->addWidget(button);
        row->addWidget(step);
        row->addWidget(ticks, 1);
        lay->addWidget(FAuto);
        lay->addLayout(row);
        lay->addWidget(new QLabel(QStringLiteral("First step after 400 ms, then every 60 ms")));
        lay->addStretch();
        return w;
    }

    QWidget* MakeFills()
    {
        auto* w = new QWidget;
        auto* lay = new QVBoxLayout(w);
        auto* grid = new QGridLayout;
        const char* types[] = {"gtHoriz", "gtVert", "gtMidBandHoriz", "gtMidBandVert"};
        const char* rows[] = {"plain", "grid, flipped, framed"};
        for (int r = 0; r < 2; ++r) {
            grid->addWidget(new QLabel(QString::fromLatin1(rows[r])), r * 2 + 1, 0);
            for (int t = 0; t < 4; ++t) {
                auto* f = new TGradFill;
                f->setFixedSize(121, 100);
                f->SetFillType(TGradType(t));
                if (r == 1) {
                    f->SetColorFirst(RGB(0x10, 0x30, 0x80));
                    f->SetColorLast(RGB(0xE0, 0xF0, 0xFF));
                    f->SetColorFlipped(true);
                    f->SetGridMode(TGridMode(1 + t % 3));
                    f->SetGridColor(RGB(0x40, 0x40, 0x40));
                    f->SetFrameStyle(t % 2 ? fsLowered : fsRaised);
                }
                FFills.push_back(f);
                if (r == 0)
                    grid->addWidget(new QLabel(QString::fromLatin1(types[t])), 0, t + 1);
                grid->addWidget(f, r * 2 + 1, t + 1);
            }
        }
        auto* gridRow = new QHBoxLayout;
        gridRow->addLayout(grid);
        gridRow->addStretch();
        lay->addLayout(gridRow);
        auto* controls = new QHBoxLayout;
        auto* colours = new QSpinBox;
        colours->setRange(1, 255);
        colours->setValue(16);
        colours->setPrefix(QStringLiteral("NrColors "));
        connect(colours, &QSpinBox::valueChanged, this, [this](int n) {
            for (auto* f : FFills)
                f->SetNrColors(n);
        });
        auto* flip = new QCheckBox(QStringLiteral("Flip colours"));
        connect(flip, &QCheckBox::toggled, this, [this] {
            for (auto* f : FFills)
                f->SetColorFlipped(!f->ColorFlipped());
        });
        auto* gridMode = new QComboBox;
        gridMode->addItems({QStringLiteral("gmNone"), QStringLiteral("gmHoriz"), QStringLiteral("gmVert"),
                            QStringLiteral("gmBoth")});
        connect(gridMode, &QComboBox::currentIndexChanged, this, [this](int i) {
            for (size_t k = 4; k < FFills.size(); ++k)
                FFills[k]->SetGridMode(TGridMode(i));
        });
        controls->addWidget(colours);
        controls->addWidget(flip);
        controls->addWidget(gallery::LabelFor(QStringLiteral("Grid of the lower row"), gridMode));
        controls->addWidget(gridMode);
        controls->addStretch();
        lay->addLayout(controls);
        return w;
    }

    void ApplyValue(int v)
    {
        for (TProgBar* b : FDriven)
            b->SetValue(v);
    }

    std::vector<TProgBar*> FDriven;
    std::vector<TGradFill*> FFills;
    QSlider* FSlider = nullptr;
    TProgBar* FAuto = nullptr;
};

const bool registered = gallery::RegisterPage(130, QStringLiteral("Bars"), QStringLiteral("bars"),
                                              [] { return new BarsPage; });

} // namespace
