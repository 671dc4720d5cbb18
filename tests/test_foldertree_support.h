// Helpers of the folder tree tests: a scratch folder tree in a temporary directory, and the
// texts of a node's children.
#pragma once

#include <QOR_FolderTree.h>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTreeWidgetItem>

namespace qortest {

// A temporary directory with the given folders (paths relative to it, "a/b" makes both) and
// empty files (names ending in ".txt").
class FolderSandbox {
public:
    explicit FolderSandbox(const QStringList& Entries = {})
    {
        for (const QString& e : Entries)
            Add(e);
    }
    void Add(const QString& Entry)
    {
        if (Entry.endsWith(QLatin1String(".txt"))) {
            QDir().mkpath(QFileInfo(Path(Entry)).path());
            QFile f(Path(Entry));
            f.open(QIODevice::WriteOnly);
        } else {
            QDir().mkpath(Path(Entry));
        }
    }
    // The absolute path of an entry, "" for the sandbox itself, without a trailing separator.
    QString Path(const QString& Entry = {}) const
    {
        return Entry.isEmpty() ? FRoot : FRoot + QLatin1Char('/') + Entry;
    }
    // The same as the tree writes it: native separators and a trailing one.
    QString Folder(const QString& Entry = {}) const
    {
        return QDir::toNativeSeparators(Path(Entry)) + QDir::separator();
    }
    bool Exists(const QString& Entry) const { return QFileInfo(Path(Entry)).isDir(); }

private:
    QTemporaryDir FDir;
    // Without links on the way, so the tree (which lists no links by default) reaches it.
    QString FRoot = QFileInfo(FDir.path()).canonicalFilePath();
};

inline QStringList ChildTexts(const QTreeWidgetItem* Node)
{
    QStringList texts;
    for (int i = 0; Node && i < Node->childCount(); ++i)
        texts << Node->child(i)->text(0);
    return texts;
}

} // namespace qortest
