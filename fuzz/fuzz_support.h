// What the fuzz targets share: one application object per process, a reader that takes typed
// values from the fuzzer's bytes, a scratch file for the readers that take a file name, and the
// check that ends the run on a broken promise.
#pragma once

#include <QApplication>
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace fuzz {

// Ends the run with a message when a promise of the code under test is broken; libFuzzer keeps
// the input that did it.
#define FUZZ_CHECK(cond)                                                                           \
    do {                                                                                           \
        if (!(cond)) {                                                                             \
            std::fprintf(stderr, "FUZZ_CHECK failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__);    \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

inline void QuietMessages(QtMsgType, const QMessageLogContext&, const QString&) {}

// A QCoreApplication, made once; Qt's warnings about odd input are expected and not printed.
inline void CoreApp()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) {
        qInstallMessageHandler(QuietMessages);
        static QCoreApplication app(argc, argv);
    }
}

// A QApplication on the offscreen platform, for the targets that draw. It is never destroyed:
// at exit its destructor would run after the GUI module's own statics are gone and crash, which
// the fuzzer reports as a finding of every run.
inline void GuiApp()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) {
        qInstallMessageHandler(QuietMessages);
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static QApplication* app = new QApplication(argc, argv);
        (void)app;
    }
}

// Typed values taken from the front of the fuzzer's bytes; once they run out, every value is 0
// and every text empty.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : FData(data), FSize(size) {}

    std::size_t Left() const { return FSize - FPos; }
    std::uint8_t Byte() { return FPos < FSize ? FData[FPos++] : 0; }
    bool Bool() { return Byte() & 1; }
    // Any value in [lo, hi].
    int IntIn(int lo, int hi)
    {
        const auto span = std::uint64_t(std::int64_t(hi) - lo) + 1;
        return int(std::int64_t(lo) + std::int64_t(Raw<std::uint32_t>() % span));
    }
    // Any 32-bit value, the extremes included.
    int AnyInt() { return Raw<std::int32_t>(); }
    // Any bit pattern: infinities, NaNs and subnormals included.
    double AnyDouble() { return Raw<double>(); }
    // A text of at most MaxBytes bytes of UTF-8 (invalid sequences become replacement
    // characters, as they do wherever the library reads UTF-8).
    QString Text(std::size_t MaxBytes)
    {
        const std::size_t n = std::min<std::size_t>(Byte() % (MaxBytes + 1), Left());
        const QString s = QString::fromUtf8(reinterpret_cast<const char*>(FData + FPos), qsizetype(n));
        FPos += n;
        return s;
    }
    QByteArray RestBytes()
    {
        const QByteArray b(reinterpret_cast<const char*>(FData + FPos), qsizetype(Left()));
        FPos = FSize;
        return b;
    }
    QString Rest() { return QString::fromUtf8(RestBytes()); }

private:
    template <typename T>
    T Raw()
    {
        unsigned char b[sizeof(T)] = {};
        for (auto& c : b)
            c = Byte();
        T v;
        std::memcpy(&v, b, sizeof v);
        return v;
    }
    const std::uint8_t* FData;
    std::size_t FSize;
    std::size_t FPos = 0;
};

// What a text limited to Max UTF-16 units holds: its first Max units, less a first half of a
// surrogate pair whose second half the limit cut off.
inline QString CutText(const QString& Text, qsizetype Max)
{
    QString kept = Text.left(Max);
    if (kept.size() < Text.size() && !kept.isEmpty() && kept.back().isHighSurrogate()
        && Text[kept.size()].isLowSurrogate())
        kept.chop(1);
    return kept;
}

// The process's scratch file, holding Bytes; Suffix lets readers that go by the name see a type.
// It is removed when the process ends.
inline QString ScratchFile(const QByteArray& Bytes, const char* Suffix = "")
{
    struct Remover {
        QString Path;
        ~Remover() { QFile::remove(Path); }
    };
    const QString path = QDir::tempPath()
        + QStringLiteral("/korvane-fuzz-%1%2").arg(QCoreApplication::applicationPid()).arg(QLatin1String(Suffix));
    static Remover last;
    if (last.Path != path) {
        QFile::remove(last.Path);
        last.Path = path;
    }
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(Bytes) != Bytes.size())
        std::abort();
    return path;
}

} // namespace fuzz
