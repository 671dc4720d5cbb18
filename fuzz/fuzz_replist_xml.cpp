// Report-list XML: a failed read must leave the data exactly as it was.
#include <QOR_rldata.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QString>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    qor::TRLData rl;
    rl.SetNrOfColumns(2);
    rl.SetNrOfRows(2);
    rl.SetElem(1, 1, QStringLiteral("keep"));
    const QString xml = QString::fromUtf8(reinterpret_cast<const char*>(data), int(size));
    if (!rl.ReadFromXMLString(xml, QString())) {
        if (rl.NrOfColumns() != 2 || rl.NrOfRows() != 2 || rl.Elem(1, 1) != QStringLiteral("keep"))
            std::abort();
        return 0;
    }
    // What was read can be written and read again.
    QString again;
    {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        rl.WriteToXMLStream(&buffer, true, QString());
        again = QString::fromUtf8(bytes);
    }
    qor::TRLData copy;
    if (!copy.ReadFromXMLString(again, QString()) || copy.NrOfRows() != rl.NrOfRows()
        || copy.NrOfColumns() != rl.NrOfColumns())
        std::abort();
    return 0;
}
