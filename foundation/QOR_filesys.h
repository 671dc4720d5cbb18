// File-system helpers of the base package.
#pragma once

#include <QOR_SysUtils.h>

#include <QString>

namespace qor {

// True when Path names an existing directory.
KORVANE_EXPORT bool DirExists(const QString& Path);
// The directory that holds Path (a trailing separator is ignored); the root and an empty path
// give an empty string.
KORVANE_EXPORT QString ParentDir(const QString& Path);
// A new password of N characters (letters A-Z, a-z and digits 0-9, uniformly chosen) from the
// operating system's cryptographically secure random source. N <= 0 gives an empty string.
KORVANE_EXPORT QString InventPassword(int N);

} // namespace qor
