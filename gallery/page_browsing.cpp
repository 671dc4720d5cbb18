// Gallery page "Browsing": a thumbnail pane of a few hundred pictures drawn on request, with
// multiple selection, and a folder tree of the file system with buttons to make, remove and
// refresh folders.
#include "GalleryPage.h"

#include <QOR_FolderTree.h>
#include <QOR_Thumbnails.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>

namespace {

using namespace qor;

constexpr int SlideCount = 360;

// Picture k: a landscape or portrait card with a sky, a hill and a sun whose hue follows k,
// drawn for the screen's pixel ratio so that it stays sharp there.
QImage Picture(int k, qreal dpr)
{
    const bool portrait = k % 3 == 0;
    QImage img(QSize(portrait ? 90 : 160, portrait ? 120 : 100) * dpr, QImage::Format_RGB32);
    QPainter p(&img);
    p.scale(dpr, dpr);
    p.setRenderHint(QPainter::Antialiasing);
    const int hue = (k * 37) % 360;
    const QRectF area(0, 0, img.width() / dpr, img.height() / dpr);
    QLinearGradient sky(0, 0, 0, area.height());
    sky.setColorAt(0, QColor::fromHsv(hue, 120, 250));
    sky.setColorAt(1, QColor::fromHsv((hue + 40) % 360, 60, 255));
    p.fillRect(area, sky);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromHsv((hue + 180) % 360, 160, 150));
    p.drawEllipse(QPointF(area.width() * 0.3, area.height() * 1.1), area.width() * 0.8, area.height() * 0.55);
    p.setBrush(QColor::fromHsv((hue + 60) % 360, 200, 255));
    p.drawEllipse(QPointF(area.width() * (0.2 + 0.6 * ((k * 7) % 10) / 10.0), area.height() * 0.3),
                  area.height() * 0.12, area.height() * 0.12);
    p.setPen(Qt::white);
    QFont f = p.font();
    f.setPixelSize(int(area.height() / 5));
    f.setBold(true);
    p.setFont(f);
    p.drawText(area.adjusted(6, 4, -6, -4), Qt::AlignRight | Qt::AlignBottom, QString::number(k));
    return img;
}

class BrowsingPage : public QWidget {
public:
    BrowsingPage()
    {
        auto* top = new QHBoxLayout(this);
        top->addWidget(gallery::Framed(QStringLiteral("Thumbnails: %1 pictures drawn on request").arg(SlideCount),
                                       MakeThumbnails()));
        top->addWidget(gallery::Framed(QStringLiteral("Folder tree of the file system"), MakeFolderTree()), 0,
                       Qt::AlignTop);
        top->addStretch();
    }

private:
    QWidget* MakeThumbnails()
    {
        auto* w = new QWidget;
        auto* lay = new QVBoxLayout(w);
        FThumbs = new TThumbnails;
        FThumbs->setFixedSize(470, 520);
        FThumbs->SetMax(SlideCount);
        FThumbs->SetSlideSize(96);
        FThumbs->SetSlideSelectMode(ssmMultiple);
        FThumbs->SetFocusLinewidth(2);
        FThumbs->SetColorSelected(RGB(0x30, 0x60, 0xB0));
        FThumbs->SetAntiAlias(true);
        FThumbs->OnImageRequest = [this](QObject*, int k, TImageRequestProcessing& how, int& mark, TBitmap& buffer) {
            if (k % 25 == 0) {
                how = irpShowEmpty;   // a slide without a picture shows its number
                return;
            }
            how = irpShowSlide;
            buffer.SetImage(Picture(k, FThumbs->devicePixelRatioF()));
            if (k % 7 == 0)
                mark = 6;   // a large filled circle
        };
        for (int k : {2, 3, 9, 14})
            FThumbs->SetSlideSelected(k, true);
        lay->addWidget(FThumbs);

        auto* status = new QLabel;
        auto showState = [this, status] {
            const int focused = FThumbs->FocusedSlide();
            status->setText(QStringLiteral("%1 selected, first %2; under the mouse: %3")
                                .arg(FThumbs->NumSlidesSelected())
                                .arg(FThumbs->FirstSelectedSlide())
                                .arg(focused ? QString::number(focused) : QStringLiteral("none")));
        };
        connect(FThumbs, &TThumbnails::imageClicked, status, showState);
        connect(FThumbs, &TThumbnails::focusChanged, status, showState);
        showState();

        auto* controls = new QFormLayout;
        auto* size = new QSpinBox;
        size->setRange(50, 220);
        size->setValue(FThumbs->SlideSize());
        connect(size, &QSpinBox::valueChanged, FThumbs, [this](int v) { FThumbs->SetSlideSize(v); });
        auto* mode = new QComboBox;
        mode->addItems({QStringLiteral("ssmDisabled"), QStringLiteral("ssmSingle"), QStringLiteral("ssmMultiple")});
        mode->setCurrentIndex(FThumbs->SlideSelectMode());
        connect(mode, &QComboBox::currentIndexChanged, FThumbs, [this](int i) {
            FThumbs->SetSlideSelectMode(TSlideSelectMode(i));
        });
        auto* smooth = new QCheckBox(QStringLiteral("AntiAlias"));
        smooth->setChecked(true);
        connect(smooth, &QCheckBox::toggled, FThumbs, [this](bool on) { FThumbs->SetAntiAlias(on); });
        auto* clear = new QPushButton(QStringLiteral("Clear selection"));
        connect(clear, &QPushButton::clicked, FThumbs, [this, showState] {
            FThumbs->ResetAllSelections();
            showState();
        });
        auto* row = new QHBoxLayout;
        row->addWidget(mode);
        row->addWidget(smooth);
        row->addWidget(clear);
        controls->addRow(QStringLiteral("SlideSize"), size);
        controls->addRow(QStringLiteral("Selection"), row);
        lay->addLayout(controls);
        lay->addWidget(status);
        lay->addWidget(new QLabel(QStringLiteral("Wheel, Up/Down and Page Up/Down scroll; a click toggles a slide")));
        return w;
    }

    QWidget* MakeFolderTree()
    {
        auto* w = new QWidget;
        auto* lay = new QVBoxLayout(w);
        FTree = new TFolderTree;
        FTree->setFixedSize(300, 420);
        // Only the root's own folders: the page looks alike on every machine.
        FTree->topLevelItem(0)->setExpanded(true);
        lay->addWidget(FTree);

        auto* directory = new QLabel;
        directory->setTextInteractionFlags(Qt::TextSelectableByMouse);
        auto showDirectory = [this, directory] { directory->setText(QStringLiteral("Directory: ") + FTree->Directory()); };
        connect(FTree, &TFolderTree::dirChanged, directory, showDirectory);
        showDirectory();
        lay->addWidget(directory);

        auto* status = new QLabel;
        auto report = [status](const QString& what, bool ok) {
            status->setText(what + (ok ? QStringLiteral(": done") : QStringLiteral(": refused")));
        };
        auto* name = new QLineEdit(QStringLiteral("new folder"));
        auto* make = new QPushButton(QStringLiteral("New folder"));
        connect(make, &QPushButton::clicked, FTree, [this, name, report] {
            report(QStringLiteral("New folder \"%1\"").arg(name->text()), FTree->MakeSubFolder(name->text()));
        });
        auto* remove = new QPushButton(QStringLiteral("Remove"));
        connect(remove, &QPushButton::clicked, FTree, [this, report] {
            report(QStringLiteral("Remove ") + FTree->Directory(), FTree->RemoveSelectedFolder());
        });
        auto* refresh = new QPushButton(QStringLiteral("Refresh"));
        connect(refresh, &QPushButton::clicked, FTree, [this, report] {
            report(QStringLiteral("Refresh"), FTree->RefreshTree());
        });
        auto* row = new QHBoxLayout;
        row->addWidget(name, 1);
        row->addWidget(make);
        lay->addLayout(row);
        auto* buttons = new QHBoxLayout;
        buttons->addWidget(remove);
        buttons->addWidget(refresh);
        buttons->addStretch();
        lay->addLayout(buttons);

        auto* classic = new QCheckBox(QStringLiteral("OldTreeStyle"));
        classic->setChecked(FTree->OldTreeStyle());
        connect(classic, &QCheckBox::toggled, FTree, [this](bool on) { FTree->SetOldTreeStyle(on); });
        auto* hidden = new QCheckBox(QStringLiteral("fotHidden"));
        auto* links = new QCheckBox(QStringLiteral("fotSymLinks"));
        auto applyOptions = [this, hidden, links] {
            TFolderOptions o;
            o.setFlag(fotHidden, hidden->isChecked());
            o.setFlag(fotSymLinks, links->isChecked());
            FTree->SetOptions(o);
        };
        connect(hidden, &QCheckBox::toggled, FTree, applyOptions);
        connect(links, &QCheckBox::toggled, FTree, applyOptions);
        auto* looks = new QHBoxLayout;
        looks->addWidget(classic);
        looks->addWidget(hidden);
        looks->addWidget(links);
        lay->addLayout(looks);
        lay->addWidget(status);
        return w;
    }

    TThumbnails* FThumbs = nullptr;
    TFolderTree* FTree = nullptr;
};

const bool registered = gallery::RegisterPage(150, QStringLiteral("Browsing"), QStringLiteral("browsing"),
                                              [] { return new BrowsingPage; });

} // namespace
