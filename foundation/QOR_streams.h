// Stream helpers of the base package.
#pragma once

#include <QOR_SysUtils.h>

#include <QString>

class QIODevice;

namespace qor {

// Reads the next text line from InStream, starting at its current position. A line ends at LF,
// CR LF or a lone CR; the line end is not part of the result. EndOfStream becomes true once the
// stream has no more data after this line (so the last line, with or without a line end, comes
// with EndOfStream set). Mode selects the decoding of the bytes: 0 UTF-8, 1 Latin-1.
// A null or unreadable stream gives an empty string and EndOfStream true.
KORVANE_EXPORT QString ReadLnStream(QIODevice* InStream, bool& EndOfStream, int Mode = 0);

} // namespace qor
