// Recognising a report list in a stream: no crash on any bytes and any expected identifier; the
// stream is left inside what it holds; a list the writer wrote is recognised by its own id.
#include "fuzz_replist.h"

#include <QBuffer>

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::CoreApp();
    fuzz::Input in(data, size);
    const QString id = in.Text(16);
    const QByteArray bytes = in.RestBytes();
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    qor::CheckIfValidReplist(&buffer, id);
    FUZZ_CHECK(buffer.pos() >= 0 && buffer.pos() <= bytes.size());
    buffer.seek(0);
    qor::CheckIfValidReplist(&buffer, QString());

    // The fuzzed text as a list's identifier, written and recognised (when XML can hold it: an
    // attribute cannot carry control characters, so the writer leaves them out).
    const bool writable = std::all_of(id.begin(), id.end(), [](QChar c) {
        return c.unicode() >= 0x20 ? c.unicode() < 0xFFFE : c == u'\t' || c == u'\n' || c == u'\r';
    });
    qor::TRLData rl;
    rl.SetDataID(id);
    QBuffer written;
    written.open(QIODevice::ReadWrite);
    rl.WriteToXMLStream(&written, true, id);
    written.seek(0);
    if (writable && !id.trimmed().isEmpty())
        FUZZ_CHECK(qor::CheckIfValidReplist(&written, id));
    return 0;
}
