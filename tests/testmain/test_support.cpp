#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace qortest {

qor::TColor PixelAt(const QImage& img, int x, int y)
{
    return qor::FromQColor(QColor::fromRgb(img.pixel(x, y)));
}

QImage Render(QWidget* w)
{
    QImage img(w->size(), QImage::Format_RGB32);
    img.fill(Qt::magenta);
    w->render(&img);
    return img;
}

QString ScratchDir()
{
    static std::unique_ptr<QTemporaryDir> dir;
    if (!dir)
        dir = std::make_unique<QTemporaryDir>();
    return dir->path();
}

QString WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
    return path;
}

} // namespace qortest
