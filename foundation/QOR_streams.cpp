#include "QOR_streams.h"

#include <QByteArray>
#include <QIODevice>

namespace qor {

QString ReadLnStream(QIODevice* InStream, bool& EndOfStream, int Mode)
{
    EndOfStream = true;
    if (!InStream || !InStream->isReadable())
        return QString();
    QByteArray line;
    char ch = 0;
    while (InStream->getChar(&ch)) {
        if (ch == '\n')
            break;
        if (ch == '\r') {
            char next = 0;
            if (InStream->peek(&next, 1) == 1 && next == '\n')
                InStream->getChar(&next);
            break;
        }
        line.append(ch);
    }
    EndOfStream = InStream->atEnd();
    return Mode == 1 ? QString::fromLatin1(line) : QString::fromUtf8(line);
}

} // namespace qor
