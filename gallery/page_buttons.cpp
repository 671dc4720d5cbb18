// Gallery page "Buttons": on/off buttons in every picture set, a radio group, a momentary and a
// disabled button; repeating buttons stepping a counter; a colour selector switching palettes;
// a marker selector showing its selection.
#include "GalleryPage.h"

#include <QOR_Colsel.h>
#include <QOR_marksel.h>
#include <QOR_onoffbut.h>
#include <QOR_repsbut.h>

#include <QButtonGroup>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMetaEnum>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

using namespace qor;

// Every built-in picture set, and the user pictures, with the set's name below; every other
// button off.
QWidget* MakePictureSets()
{
    auto* w = new QWidget;
    auto* grid = new QGridLayout(w);
    grid->setSpacing(4);
    const QMetaEnum names = QMetaEnum::fromType<TOnOffButStyle>();
    constexpr int columns = 8;
    for (int s = 0; s < names.keyCount(); ++s) {
        auto* b = new TOnOffBut;
        b->SetButtonStyle(TOnOffButStyle(names.value(s)));
        b->setFixedSize(std::max(104, b->GlyphWidth() + 16), b->GlyphHeight() + 42);
        b->SetBottomText(QString::fromLatin1(names.key(s)).mid(4));
        b->SetOnOff(s % 2 == 0);
        b->SetMouseAction(oomaPlain);
        grid->addWidget(b, s / columns, s % columns, Qt::AlignBottom);
    }
    return w;
}

QWidget* MakeGroupAndModes()
{
    auto* w = new QWidget;
    auto* lay = new QVBoxLayout(w);

    // A radio group: one of three is always on.
    auto* group = new QFrame;
    group->setFixedSize(150, 96);
    const char* levels[] = {"Low", "Medium", "High"};
    for (int i = 0; i < 3; ++i) {
        auto* b = new TOnOffBut(group);
        b->setGeometry(0, i * 32, 150, 32);
        b->SetButtonStyle(oobsRadioBut);
        b->SetFrameStyle(fsNone);
        b->SetAutoCenter(false);
        b->SetLeftSpace(8);
        b->SetTopSpace(8);
        b->SetRightText(QString::fromLatin1(levels[i]));
        b->SetTransparent(true);
        // Off before joining: a button that joins its group on switches the others off.
        b->SetOnOff(i == 1);
        b->SetGroupIndex(1);
        b->SetAllowAllOff(false);
    }
    lay->addWidget(new QLabel(QStringLiteral("Radio group (GroupIndex 1, no all-off)")));
    lay->addWidget(group);

    // Momentary: on while held.
    auto* row = new QHBoxLayout;
    auto* hold = new TOnOffBut;
    hold->setFixedSize(120, 72);
    hold->SetButtonStyle(oobsButLamp);
    hold->SetMode(oobmSpeedBut);
    hold->SetBottomText(QStringLiteral("hold me"));
    auto* state = new QLabel(QStringLiteral("released"));
    QObject::connect(hold, &TOnOffBut::onOffChanged, state,
                     [state](bool on) { state->setText(on ? QStringLiteral("held") : QStringLiteral("released")); });
    row->addWidget(hold);
    row->addWidget(state);

    // Disabled pictures and embossed captions, on and off.
    for (bool on : {true, false}) {
        auto* b = new TOnOffBut;
        b->setFixedSize(150, 72);
        b->SetButtonStyle(oobsLedRedGreen);
        b->SetRightText(on ? QStringLiteral("on") : QStringLiteral("off"));
        b->SetTopText(QStringLiteral("Disabled"));
        b->SetOnOff(on);
        b->setEnabled(false);
        row->addWidget(b);
    }
    row->addStretch();
    lay->addLayout(row);

    // Transparent over a coloured panel.
    auto* panel = new QFrame;
    panel->setFixedSize(260, 60);
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, QColor(40, 70, 120));
    panel->setPalette(pal);
    auto* clear = new TOnOffBut(panel);
    clear->setGeometry(5, 5, 250, 50);
    clear->SetTransparent(true);
    clear->SetButtonStyle(oobsHDLeft);
    clear->SetColorText(clWhite);
    clear->SetLeftText(QStringLiteral("Transparent"));
    clear->SetFrameStyle(fsNone);
    lay->addWidget(panel);
    lay->addStretch();
    return w;
}

QWidget* MakeRepeat()
{
    auto* w = new QWidget;
    auto* lay = new QHBoxLayout(w);
    auto* value = new QLabel(QStringLiteral("0"));
    value->setMinimumWidth(60);
    value->setAlignment(Qt::AlignCenter);
    QFont big = value->font();
    big.setPointSize(16);
    big.setBold(true);
    value->setFont(big);
    auto step = [value](int by) {
        value->setText(QString::number(value->text().toInt() + by));
    };
    for (int by : {-1, +1}) {
        auto* b = new TRepSpeedButton;
        b->setFixedSize(36, 30);
        b->SetCaption(by < 0 ? QStringLiteral("-") : QStringLiteral("+"));
        b->SetStartClickInterval(400);
        b->SetRepeatClickInterval(60);
        // One step per click, and one per repetition while held.
        QObject::connect(b, &QAbstractButton::clicked, value, [step, by] { step(by); });
        b->OnRepeatClick = [step, by](QObject*) { step(by); };
        lay->insertWidget(by < 0 ? 0 : 1, b);
    }
    lay->insertWidget(1, value);
    lay->addWidget(new QLabel(QStringLiteral("hold: repeats after 400 ms, every 60 ms")));
    lay->addStretch();
    return w;
}

QWidget* MakeColours()
{
    auto* w = new QWidget;
    auto* lay = new QVBoxLayout(w);
    auto* sel = new TColSel;
    sel->setFixedWidth(200);
    sel->SetColorEditAllowed(1, true);
    sel->SetColorEditAllowed(2, true);
    auto* swatch = new QLabel;
    swatch->setFixedSize(200, 24);
    swatch->setFrameShape(QFrame::Box);
    auto show = [sel, swatch] {
        swatch->setStyleSheet(QStringLiteral("background: %1").arg(ToQColor(sel->SelColor()).name()));
        swatch->setText(QStringLiteral(" ") + sel->SelColorID());
    };
    QObject::connect(sel, &TColSel::selColorChanged, swatch, show);
    show();
    auto* palettes = new QHBoxLayout;
    struct Palette {
        const char* Name;
        void (TColSel::*Load)();
    };
    const Palette list[] = {{"VGA", &TColSel::LoadBasicVGAPalette},
                            {"Extended", &TColSel::LoadExtendedPalette},
                            {"Standard", &TColSel::LoadStandardPalette},
                            {"System", &TColSel::LoadWindowsSystemPalette}};
    for (const Palette& p : list) {
        auto* b = new QPushButton(QString::fromLatin1(p.Name));
        QObject::connect(b, &QPushButton::clicked, sel, [sel, load = p.Load, show] {
            (sel->*load)();
            sel->SetColorEditAllowed(1, true);
            show();
        });
        palettes->addWidget(b);
    }
    palettes->addStretch();
    lay->addWidget(sel);
    lay->addLayout(palettes);
    lay->addWidget(swatch);
    lay->addWidget(new QLabel(QStringLiteral("Entries with a mark: open the list over the bar to change them")));
    auto* disabled = new TColSel;
    disabled->setFixedWidth(200);
    disabled->SetSelColor(clTeal);
    disabled->setEnabled(false);
    lay->addWidget(disabled);
    lay->addStretch();
    return w;
}

QWidget* MakeMarkers()
{
    auto* w = new QWidget;
    auto* lay = new QHBoxLayout(w);
    auto* sel = new TMarkSel;
    sel->setFixedSize(236, 178);
    sel->SetSelected(10);
    auto* label = new QLabel;
    label->setMinimumWidth(220);
    auto show = [sel, label](int mark) {
        label->setText(mark < 0 ? QStringLiteral("Selected: none")
                                : QStringLiteral("Selected: %1\n%2").arg(mark).arg(MarkerName(mark)));
    };
    QObject::connect(sel, &TMarkSel::selectedChanged, label, show);
    show(sel->Selected());
    auto* small = new TMarkSel;
    small->setFixedSize(160, 100);
    small->HideAllMarks();
    for (int m : {2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 44, 47, 50})
        small->SetMarkVisible(m, true);
    small->SetNrOfColumns(6);
    small->SetNrOfRows(3);
    small->SetColorBackGnd(clWhite);
    small->SetFrameStyle(fsLowered);
    lay->addWidget(sel);
    lay->addWidget(label);
    lay->addWidget(small, 0, Qt::AlignTop);
    lay->addStretch();
    return w;
}

class ButtonsPage : public QWidget {
public:
    ButtonsPage()
    {
        auto* top = new QVBoxLayout(this);
        top->addWidget(gallery::Framed(QStringLiteral("On/off buttons: every picture set (click to switch)"),
                                       MakePictureSets()));
        auto* middle = new QHBoxLayout;
        middle->addWidget(gallery::Framed(QStringLiteral("Groups, modes, disabled, transparent"), MakeGroupAndModes()));
        auto* right = new QVBoxLayout;
        right->addWidget(gallery::Framed(QStringLiteral("Repeating speed buttons"), MakeRepeat()));
        right->addWidget(gallery::Framed(QStringLiteral("Colour selector"), MakeColours()));
        middle->addLayout(right);
        middle->addStretch();
        top->addLayout(middle);
        top->addWidget(gallery::Framed(QStringLiteral("Marker selectors"), MakeMarkers()));
        top->addStretch();
    }
};

const bool registered = gallery::RegisterPage(80, QStringLiteral("Buttons"), QStringLiteral("buttons"),
                                              [] { return new ButtonsPage; });

} // namespace
