// Browsing: a repaint of a 600 x 800 thumbnail pane (4 x 6 slides on screen, each a picture the
// handler hands over) with 1,000 and with 1,000,000 slides, beside a QListView in icon mode
// over a model of as many decorated items, rendered the same way.
#include <benchmark/benchmark.h>

#include <QOR_Thumbnails.h>

#include <QAbstractListModel>
#include <QImage>
#include <QListView>
#include <QPainter>
#include <QPixmap>

namespace {

using namespace qor;

const QSize PaneSize(600, 800);

QImage SlidePicture()
{
    QImage img(160, 120, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, 160, 120);
    g.setColorAt(0, QColor(40, 90, 160));
    g.setColorAt(1, QColor(230, 200, 120));
    p.fillRect(img.rect(), g);
    return img;
}

void RenderThumbnails(benchmark::State& state)
{
    TThumbnails t;
    t.resize(PaneSize);
    t.SetMax(int(state.range(0)));
    t.SetFirstThumbIdx(t.Max() / 2);
    const QImage picture = SlidePicture();
    t.OnImageRequest = [&](QObject*, int k, TImageRequestProcessing& how, int& mark, TBitmap& buffer) {
        how = irpShowSlide;
        buffer.SetImage(picture);
        if (k % 5 == 0)
            mark = 4;
    };
    QImage img(PaneSize, QImage::Format_RGB32);
    for (auto _ : state) {
        t.Invalidate();
        t.render(&img);
        benchmark::DoNotOptimize(img.constBits());
    }
}
BENCHMARK(RenderThumbnails)->Name("BM_ThumbnailsRepaint600x800")->Arg(1'000)->Arg(1'000'000)
    ->Unit(benchmark::kMicrosecond);

// Rows of a list: the text of the row number and the same picture for each.
class PictureModel : public QAbstractListModel {
public:
    PictureModel(int rows, const QPixmap& picture) : FRows(rows), FPicture(picture) {}
    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : FRows; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role == Qt::DisplayRole)
            return QString::number(index.row() + 1);
        if (role == Qt::DecorationRole)
            return FPicture;
        return {};
    }
private:
    int FRows;
    QPixmap FPicture;
};

void RenderListView(benchmark::State& state)
{
    PictureModel model(int(state.range(0)), QPixmap::fromImage(SlidePicture()));
    QListView view;
    view.resize(PaneSize);
    view.setViewMode(QListView::IconMode);
    view.setMovement(QListView::Static);
    view.setUniformItemSizes(true);
    view.setIconSize(QSize(120, 120));
    view.setGridSize(QSize(136, 136));
    view.setModel(&model);
    view.scrollTo(model.index(int(state.range(0)) / 2, 0), QAbstractItemView::PositionAtTop);
    QImage img(PaneSize, QImage::Format_RGB32);
    for (auto _ : state) {
        view.render(&img);
        benchmark::DoNotOptimize(img.constBits());
    }
}
BENCHMARK(RenderListView)->Name("BM_QListViewIconModeRender600x800")->Arg(1'000)->Arg(1'000'000)
    ->Unit(benchmark::kMicrosecond);

} // namespace
