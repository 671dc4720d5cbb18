// Every save the library has, interrupted: into a read-only folder, past the file-size limit of
// the process (a full disk as the writer sees it), by a handler that throws half-way, onto a
// folder. Each reports its failure, leaves the previous file byte for byte as it was and leaves
// no temporary file behind; the next save without the fault succeeds.
#include <gtest/gtest.h>

#include <QOR_Graphics.h>
#include <QOR_replist.h>

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <csignal>
#include <functional>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "test_support.h"

using namespace qor;

namespace {

// A save: writes generation g of its content to the file and tells whether it succeeded (each
// kind reports failure its own way: an exception, -1 or false).
struct Saver {
    const char* Name;
    std::function<bool(const QString& file, int g)> Save;
};

// A list large enough that every format of it passes the file-size limit below.
TRLData& ListOf(int g)
{
    static TRLData data;
    data.SetNrOfColumns(3);
    data.SetNrOfRows(2000);
    data.Fill(QStringLiteral("generation %1, some text to make the file long").arg(g));
    return data;
}

TBitmap& PictureOf(int g)
{
    static TBitmap bmp(200, 200);
    QRandomGenerator rng{quint32(g)};
    QImage& img = bmp.Image();
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, rng.generate() | 0xFF000000u);   // noise: PNG cannot shrink it
    return bmp;
}

template <typename F>
bool Succeeds(F f)
{
    try {
        return f();
    } catch (const EInOutError&) {
        return false;
    }
}

const std::vector<Saver>& Savers()
{
    static const std::vector<Saver> all = {
        {"xml", [](const QString& f, int g) { return Succeeds([&] { ListOf(g).SaveAsXMLFile(f, QStringLiteral("id")); return true; }); }},
        {"csv", [](const QString& f, int g) { return ListOf(g).ExportCSV(f, csvSemicolon, true, true, 0, 1, 3, 2000) >= 0; }},
        {"html", [](const QString& f, int g) {
             return Succeeds([&] {
                 ListOf(g).ExportHTMLTable(f, 1, 1, 3, 2000, {}, 1, 0, 2, true, QString(), QString(), QString());
                 return true;
             });
         }},
        {"png", [](const QString& f, int g) { return PictureOf(g).SaveToFile(f); }},
        {"bmp", [](const QString& f, int g) { return PictureOf(g).SaveToFile(f); }},
    };
    return all;
}

// A folder with the file of generation 1 of a save in it.
struct Saved {
    QString Dir;
    QString File;
    QByteArray Bytes;
    Saved(const Saver& s, const QString& what)
    {
        Dir = qortest::ScratchDir() + QStringLiteral("/%1-%2").arg(QLatin1String(s.Name), what);
        QDir(Dir).removeRecursively();
        QDir().mkpath(Dir);
        File = Dir + QStringLiteral("/previous.") + QLatin1String(s.Name);
        EXPECT_TRUE(s.Save(File, 1));
        Bytes = qortest::ReadFile(File);
        EXPECT_GT(Bytes.size(), 64 * 1024);
    }
    // The previous file as it was, and nothing else in the folder.
    void ExpectIntact() const
    {
        EXPECT_TRUE(qortest::ReadFile(File) == Bytes) << "the previous file changed";
        EXPECT_EQ(QDir(Dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                  QStringList{QFileInfo(File).fileName()});
    }
};

// The file-size limit of the process for its lifetime; a write past it fails (EFBIG) instead
// of raising SIGXFSZ.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &FOld);
        FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lim{bytes, FOld.rlim_max};
        setrlimit(RLIMIT_FSIZE, &lim);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &FOld);
        std::signal(SIGXFSZ, FOldHandler);
    }
private:
    rlimit FOld{};
    void (*FOldHandler)(int) = nullptr;
};

// Permissions count for this thread even when it runs as root: the capabilities that override
// them are switched off while the guard lives. Active() is false where that is not possible.
class WithoutOverride {
public:
    WithoutOverride()
    {
        FHeader.version = _LINUX_CAPABILITY_VERSION_3;
        FHeader.pid = 0;
        if (syscall(SYS_capget, &FHeader, FSaved) != 0)
            return;
        __user_cap_data_struct lowered[2] = {FSaved[0], FSaved[1]};
        lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER));
        FActive = syscall(SYS_capset, &FHeader, lowered) == 0;
    }
    ~WithoutOverride()
    {
        if (FActive)
            syscall(SYS_capset, &FHeader, FSaved);
    }
    bool Active() const { return FActive; }
private:
    __user_cap_header_struct FHeader{};
    __user_cap_data_struct FSaved[2]{};
    bool FActive = false;
};

} // namespace

TEST(FailureSaves, ReadOnlyFolderKeepsThePreviousFile)
{
    for (const Saver& s : Savers()) {
        SCOPED_TRACE(s.Name);
        const Saved saved(s, QStringLiteral("readonly"));
        ASSERT_TRUE(QFile::setPermissions(saved.Dir, QFile::ReadOwner | QFile::ExeOwner));
        {
            WithoutOverride guard;
            // Writing into the folder must really be refused, or the case proves nothing.
            QFile probe(saved.Dir + QStringLiteral("/probe"));
            if (probe.open(QIODevice::WriteOnly)) {
                probe.remove();
                QFile::setPermissions(saved.Dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
                GTEST_SKIP() << "this process may write into read-only folders";
            }
            EXPECT_FALSE(s.Save(saved.File, 2));
        }
        QFile::setPermissions(saved.Dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        saved.ExpectIntact();
        EXPECT_TRUE(s.Save(saved.File, 2));
    }
}

TEST(FailureSaves, FileSizeLimitKeepsThePreviousFile)
{
    for (const Saver& s : Savers()) {
        SCOPED_TRACE(s.Name);
        const Saved saved(s, QStringLiteral("limit"));
        for (const rlim_t limit : {rlim_t(0), rlim_t(1), rlim_t(4096), rlim_t(40000)}) {
            SCOPED_TRACE(limit);
            bool ok;
            {
                FileSizeLimit guard(limit);
                ok = s.Save(saved.File, 2);
            }
            EXPECT_FALSE(ok);
            saved.ExpectIntact();
        }
        EXPECT_TRUE(s.Save(saved.File, 2));
        EXPECT_NE(qortest::ReadFile(saved.File), saved.Bytes);
    }
}

// A handler that throws while the file is half written: the exception reaches the caller and the
// previous file stays.
TEST(FailureSaves, HandlerThatThrowsHalfWayKeepsThePreviousFile)
{
    struct Interrupt {
        const char* Save;
        std::function<void(TRLData&, bool)> Arm;
    };
    const Interrupt interrupts[] = {
        {"xml", [](TRLData& d, bool on) {
             d.OnPercentDone = on ? TOnPercentDoneEvent([](QObject*, int p) {
                 if (p >= 50)
                     throw std::runtime_error("stop");
             })
                                  : nullptr;
         }},
        {"csv", [](TRLData& d, bool on) {
             int lines = 0;
             d.OnExportText = on ? TExportTextEvent([lines](QObject*, QString&) mutable {
                 if (++lines == 1500)
                     throw std::runtime_error("stop");
             })
                                 : nullptr;
         }},
        {"html", [](TRLData& d, bool on) {
             d.OnBeforeHTMLExport = on ? TBeforeHTMLExportEvent([](QObject*, QString&, int, int r) {
                 if (r == 1500)
                     throw std::runtime_error("stop");
             })
                                       : nullptr;
         }},
    };
    for (const Interrupt& in : interrupts) {
        SCOPED_TRACE(in.Save);
        const Saver& s = *std::find_if(Savers().begin(), Savers().end(),
                                       [&](const Saver& x) { return std::string(x.Name) == in.Save; });
        const Saved saved(s, QStringLiteral("handler"));
        in.Arm(ListOf(2), true);
        EXPECT_THROW(s.Save(saved.File, 2), std::runtime_error);
        in.Arm(ListOf(2), false);
        saved.ExpectIntact();
    }
}

TEST(FailureSaves, SaveOntoAFolderOrIntoAMissingFolderFails)
{
    for (const Saver& s : Savers()) {
        SCOPED_TRACE(s.Name);
        const Saved saved(s, QStringLiteral("target"));
        const QString folder = saved.Dir + QStringLiteral("/sub.") + QLatin1String(s.Name);
        ASSERT_TRUE(QDir().mkpath(folder));
        EXPECT_FALSE(s.Save(folder, 2));
        EXPECT_TRUE(QFileInfo(folder).isDir());
        EXPECT_TRUE(QDir(folder).isEmpty());
        EXPECT_FALSE(s.Save(saved.Dir + QStringLiteral("/missing/x.") + QLatin1String(s.Name), 2));
        QDir(folder).removeRecursively();
        saved.ExpectIntact();
    }
}
