// The CSV importer with every delimiter, with and without a header record: a failed import
// leaves the data exactly as it was; what was imported exports and imports back to the same
// cells and names.
#include "fuzz_replist.h"

#include <QTemporaryFile>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::CoreApp();
    fuzz::Input in(data, size);
    const auto delimiter = qor::TCSVDelimiters(in.Byte() % 5);
    const bool header = in.Bool();
    const QString file = fuzz::ScratchFile(in.RestBytes(), ".csv");

    qor::TRLData rl;
    fuzz::FillSample(rl);
    const fuzz::HeldList before(rl);
    const int rows = rl.ImportCSV(file, delimiter, header);
    FUZZ_CHECK(rows >= -2);
    if (rows < 0) {
        FUZZ_CHECK(rows == -2);
        FUZZ_CHECK(fuzz::HeldList(rl) == before);
        return 0;
    }
    FUZZ_CHECK(rl.NrOfRows() == rows && rl.NrOfColumns() >= 1);

    const QString again = fuzz::ScratchFile({}, ".again.csv");
    FUZZ_CHECK(rl.ExportCSV(again, delimiter, header, false, 1, 1, rl.NrOfColumns(), rl.NrOfRows()) == rows);
    qor::TRLData copy;
    FUZZ_CHECK(copy.ImportCSV(again, delimiter, header) == rows);
    FUZZ_CHECK(copy.NrOfColumns() == rl.NrOfColumns());
    for (int c = 1; c <= rl.NrOfColumns(); ++c) {
        FUZZ_CHECK(copy.Header(c) == rl.Header(c));
        for (int r = 1; r <= rows; ++r)
            FUZZ_CHECK(copy.RawElem(c, r) == rl.RawElem(c, r));
    }
    return 0;
}
