// The file-system side of the folder tree: which entries count as folders, the sorted listing
// of a folder with the "has subfolders" probe, paths of the platform, and the check of new
// folder names. Nothing here knows the tree widget.
#pragma once

#include "QOR_FolderTree.h"

#include <QString>
#include <QStringList>

namespace qor::folderscan {

// The platform's file-system root with its separator ("/" here, "C:\" on Windows).
QString PlatformRoot();
// The platform's path separator.
QChar Separator();
// How the file system compares names: case-sensitively on Linux, not on Windows and macOS.
Qt::CaseSensitivity NameCase();
// Path as an absolute, clean path in the platform's separators ending in a separator.
QString FolderPath(const QString& Path);

// The subfolders of Path as the options count them, sorted, each with the probe's answer.
// An unreadable or missing folder has none.
TSubFolderList ListSubFolders(const QString& Path, TFolderOptions Options);
// Sorts without regard to case; names that differ only in case keep the order of their
// character codes ("B" before "b").
void SortSubFolders(TSubFolderList& List);

// The levels a new folder name asks for ("a/b/" gives a and b; "/" and "\" both separate);
// empty when the name is refused: empty, absolute, a "." or ".." level, a control character,
// or a character the platform's file systems refuse (" < > | everywhere, also : * ? on
// Windows).
QStringList NewFolderLevels(const QString& Name);

} // namespace qor::folderscan
