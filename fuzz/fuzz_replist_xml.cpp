// The report-list XML reader, from a string and from a stream, with and without an expected
// identifier: a failed read leaves the data exactly as it was; what was read writes and reads
// back to the same content.
#include "fuzz_replist.h"

#include <QOR_SysUtils.h>

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::CoreApp();
    fuzz::Input in(data, size);
    const QString id = in.Bool() ? in.Text(12) : QString();
    const bool fromStream = in.Bool();
    const QByteArray bytes = in.RestBytes();

    qor::TRLData rl;
    fuzz::FillSample(rl);
    const fuzz::HeldList before(rl);
    bool ok;
    if (fromStream) {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        ok = rl.ReadFromXMLStream(&buffer, id);
    } else {
        ok = rl.ReadFromXMLString(QString::fromUtf8(bytes), id);
    }
    if (!ok) {
        FUZZ_CHECK(fuzz::HeldList(rl) == before);
        return 0;
    }
    // Ids compare as the library trims them: control characters count as blanks there too.
    FUZZ_CHECK(id.isEmpty() || qor::Trim(rl.DataID()).toLower() == qor::Trim(id).toLower());
    FUZZ_CHECK(rl.LastSortColumn() == -1);
    const QByteArray xml = rl.ToXML(rl.DataID());
    qor::TRLData copy;
    FUZZ_CHECK(copy.ReadFromXMLString(QString::fromUtf8(xml), rl.DataID()));
    FUZZ_CHECK(copy.ToXML(copy.DataID()) == xml);
    return 0;
}
