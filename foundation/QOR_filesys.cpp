#include "QOR_filesys.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

namespace qor {

bool DirExists(const QString& Path)
{
    if (Path.isEmpty())
        return false;
    return QFileInfo(Path).isDir();
}

QString ParentDir(const QString& Path)
{
    QString p = QDir::fromNativeSeparators(Path);
    while (p.size() > 1 && p.endsWith(QLatin1Char('/')))
        p.chop(1);
    const qsizetype slash = p.lastIndexOf(QLatin1Char('/'));
    if (slash < 0 || p == QLatin1String("/"))
        return QString();
    if (slash == 0)
        return QDir::toNativeSeparators(QStringLiteral("/"));
    QString parent = p.left(slash);
    if (parent.size() == 2 && parent[1] == QLatin1Char(':'))   // drive root keeps its separator
        parent += QLatin1Char('/');
    return QDir::toNativeSeparators(parent);
}

QString InventPassword(int N)
{
    static const char16_t Alphabet[] = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    constexpr quint32 AlphabetSize = 62;
    QString s;
    if (N <= 0)
        return s;
    s.reserve(N);
    QRandomGenerator* rng = QRandomGenerator::system();
    for (int i = 0; i < N; ++i)
        s.append(QChar(Alphabet[rng->bounded(AlphabetSize)]));
    return s;
}

} // namespace qor
