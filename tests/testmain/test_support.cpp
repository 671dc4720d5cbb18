#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <ctime>
#include <malloc.h>
#include <memory>

#if defined(__SANITIZE_ADDRESS__)
#define KORVANE_SANITIZER_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KORVANE_SANITIZER_HEAP 1
#endif
#endif
#ifdef KORVANE_SANITIZER_HEAP
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

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

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int TimeScale()
{
    return (UnderSanitizer ? 10 : 2) * (OptimisedBuild ? 1 : 4);
}

qint64 ThreadCpuNs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

bool OneOf(int Attempts, const std::function<bool()>& Attempt)
{
    for (int i = 0; i < Attempts; ++i)
        if (Attempt())
            return true;
    return false;
}

double LoadScale()
{
    bool ok = false;
    const double set = qEnvironmentVariable("KORVANE_LOAD_SCALE").toDouble(&ok);
    if (ok && set > 0)
        return set;
    if (UnderSanitizer)
        return OptimisedBuild ? 0.1 : 0.05;
    return OptimisedBuild ? 1.0 : 0.2;
}

std::size_t HeapInUse()
{
#ifdef KORVANE_SANITIZER_HEAP
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
#endif
}

int OpenHandles()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System).size());
}

} // namespace qortest
