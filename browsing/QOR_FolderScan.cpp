// The folder tree's file-system side: listing, probing, sorting, paths and new folder names.
#include "QOR_FolderScan_p.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <vector>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QDirIterator>
#endif

namespace qor::folderscan {

namespace {

#ifdef Q_OS_UNIX

// A folder read with the POSIX calls, opened relative to its parent's descriptor: probing
// thousands of subfolders costs no path lookups. An unreadable folder reads as empty.
class TFolderReader {
public:
    TFolderReader(int ParentFd, const char* Name)
    {
        const int fd = openat(ParentFd, Name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0 && !(FDir = fdopendir(fd)))
            close(fd);
    }
    ~TFolderReader()
    {
        if (FDir)
            closedir(FDir);
    }
    TFolderReader(const TFolderReader&) = delete;
    TFolderReader& operator=(const TFolderReader&) = delete;

    int Fd() const { return FDir ? dirfd(FDir) : -1; }
    // The name of the next entry that counts as a folder, null at the end.
    const char* NextFolder(TFolderOptions Options)
    {
        while (FDir)
            if (const dirent* e = readdir(FDir); !e)
                return nullptr;
            else if (CountsAsFolder(e, Options))
                return e->d_name;
        return nullptr;
    }

private:
    // Hidden entries (a name starting with ".") only with fotHidden, symbolic links only with
    // fotSymLinks and only when they point to a folder; fotSystem has no meaning here.
    bool CountsAsFolder(const dirent* e, TFolderOptions Options) const
    {
        const char* name = e->d_name;
        if (name[0] == '.' && (!Options.testFlag(fotHidden) || !name[1] || (name[1] == '.' && !name[2])))
            return false;
        struct stat st;
        unsigned char type = e->d_type;
        if (type == DT_UNKNOWN) {   // file systems that do not say
            if (fstatat(Fd(), name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                return false;
            type = S_ISLNK(st.st_mode) ? DT_LNK : S_ISDIR(st.st_mode) ? DT_DIR : DT_REG;
        }
        if (type == DT_DIR)
            return true;
        return type == DT_LNK && Options.testFlag(fotSymLinks) && fstatat(Fd(), name, &st, 0) == 0 &&
               S_ISDIR(st.st_mode);
    }

    DIR* FDir = nullptr;
};

TSubFolderList ReadSubFolders(const QString& Folder, TFolderOptions Options)
{
    TSubFolderList list;
    TFolderReader folder(AT_FDCWD, QFile::encodeName(Folder).constData());
    while (const char* name = folder.NextFolder(Options)) {
        // The probe stops at the first subfolder.
        TFolderReader sub(folder.Fd(), name);
        list.append({QFile::decodeName(name), sub.NextFolder(Options) != nullptr});
    }
    return list;
}

#else

constexpr QDir::Filters Scan = QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System;

// Hidden entries (a name starting with "." or the hidden attribute) only with fotHidden,
// symbolic links only with fotSymLinks and only when they point to a folder, entries with the
// system attribute only with fotSystem.
bool CountsAsFolder(const QFileInfo& fi, TFolderOptions Options)
{
    if (!Options.testFlag(fotHidden) && (fi.fileName().startsWith(QLatin1Char('.')) || fi.isHidden()))
        return false;
    if (fi.isSymLink() && !Options.testFlag(fotSymLinks))
        return false;
    return fi.isDir();
}

QDirIterator Listing(const QString& Folder, TFolderOptions Options)
{
    return QDirIterator(Folder, Options.testFlag(fotSystem) ? Scan : Scan & ~QDir::System);
}

bool HasSubFolders(const QString& Folder, TFolderOptions Options)
{
    QDirIterator it = Listing(Folder, Options);
    while (it.hasNext()) {
        it.next();
        if (CountsAsFolder(it.fileInfo(), Options))
            return true;
    }
    return false;
}

TSubFolderList ReadSubFolders(const QString& Folder, TFolderOptions Options)
{
    TSubFolderList list;
    QDirIterator it = Listing(Folder, Options);
    while (it.hasNext()) {
        it.next();
        const QFileInfo fi = it.fileInfo();
        if (CountsAsFolder(fi, Options))
            list.append({fi.fileName(), HasSubFolders(fi.filePath(), Options)});
    }
    return list;
}

#endif

} // namespace

QString PlatformRoot()
{
    return QDir::toNativeSeparators(QDir::rootPath());
}

QChar Separator()
{
    return QDir::separator();
}

Qt::CaseSensitivity NameCase()
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return Qt::CaseInsensitive;
#else
    return Qt::CaseSensitive;
#endif
}

QString FolderPath(const QString& Path)
{
    QString p = QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(Path).absoluteFilePath()));
    if (!p.endsWith(Separator()))
        p += Separator();
    return p;
}

TSubFolderList ListSubFolders(const QString& Path, TFolderOptions Options)
{
    TSubFolderList list = ReadSubFolders(FolderPath(Path), Options);
    SortSubFolders(list);
    return list;
}

void SortSubFolders(TSubFolderList& List)
{
    struct Keyed {
        QString Key;
        TSubFolder Folder;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(size_t(List.size()));
    for (TSubFolder& f : List)
        keyed.push_back({f.Name.toLower(), std::move(f)});
    std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        const int byKey = a.Key.compare(b.Key);
        return byKey != 0 ? byKey < 0 : a.Folder.Name < b.Folder.Name;
    });
    for (qsizetype i = 0; i < List.size(); ++i)
        List[i] = std::move(keyed[size_t(i)].Folder);
}

QStringList NewFolderLevels(const QString& Name)
{
    QString refused = QStringLiteral("\"<>|");
#ifdef Q_OS_WIN
    refused += QStringLiteral(":*?");
#endif
    for (QChar ch : Name)
        if (ch.unicode() <= 31 || refused.contains(ch))
            return {};
    QString name = Name;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (name.startsWith(QLatin1Char('/')) || QDir::isAbsolutePath(name))
        return {};
    const QStringList levels = name.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& level : levels)
        if (level == QLatin1String(".") || level == QLatin1String(".."))
            return {};
    return levels;
}

} // namespace qor::folderscan
