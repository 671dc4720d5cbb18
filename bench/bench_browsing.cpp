// Browsing: a repaint of a 600 x 800 thumbnail pane (4 x 6 slides on screen, each a picture the
// handler hands over) with 1,000 and with 1,000,000 slides, beside a QListView in icon mode
// over a model of as many decorated items, rendered the same way; and expanding a folder of
// 10,000 subfolders (every tenth with a subfolder of its own) in the folder tree, read, sorted,
// probed and shown, beside a QFileSystemModel fetching the same folder (wall-clock time, as
// the model reads in a thread of its own).
#include <benchmark/benchmark.h>

#include <QOR_FolderTree.h>
#include <QOR_Thumbnails.h>

#include <QAbstractListModel>
#include <QDir>
#include <QEventLoop>
#include <QFileSystemModel>
#include <QImage>
#include <QListView>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTimer>

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

// A temporary folder "big" of 10,000 subfolders, made once.
class BigFolder {
public:
    static constexpr int Count = 10'000;
    BigFolder()
    {
        FPath = QFileInfo(FDir.path()).canonicalFilePath() + QStringLiteral("/big");
        QDir big;
        for (int i = 0; i < Count; ++i) {
            const QString name = FPath + QStringLiteral("/Folder %1").arg(i * 7919 % Count, 5, 10, QLatin1Char('0'));
            big.mkpath(i % 10 ? name : name + QStringLiteral("/sub"));
        }
    }
    QString Path() const { return FPath; }
    QString Parent() const { return QFileInfo(FPath).path(); }

private:
    QTemporaryDir FDir;
    QString FPath;
};

const BigFolder& Big()
{
    static const BigFolder folder;
    return folder;
}

void BM_FolderTreeExpand10000(benchmark::State& state)
{
    TFolderTree tree;
    tree.resize(300, 600);
    tree.show();
    tree.SelectPath(Big().Parent());
    QTreeWidgetItem* big = tree.currentItem()->child(0);
    QImage img(tree.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        big->setExpanded(false);
        big->setData(0, Qt::UserRole, QVariant());   // read again
        big->setExpanded(true);
        tree.render(&img);
        if (big->childCount() != BigFolder::Count)
            state.SkipWithError("not every folder was listed");
    }
}
BENCHMARK(BM_FolderTreeExpand10000)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_QFileSystemModelFetch10000(benchmark::State& state)
{
    const QString path = Big().Path();
    for (auto _ : state) {
        QFileSystemModel model;
        model.setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
        QEventLoop loop;
        QObject::connect(&model, &QFileSystemModel::directoryLoaded, &loop, [&](const QString& dir) {
            if (dir == path)
                loop.quit();
        });
        QTimer::singleShot(30'000, &loop, &QEventLoop::quit);
        const QModelIndex root = model.setRootPath(path);
        loop.exec();
        if (model.rowCount(root) != BigFolder::Count)
            state.SkipWithError("not every folder was fetched");
    }
}
BENCHMARK(BM_QFileSystemModelFetch10000)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace
