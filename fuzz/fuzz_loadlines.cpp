// Loading the lines of a text file into a column, at any column and first row: an invalid place
// changes nothing; otherwise each line lands in its row (cut to a cell's length), check columns
// keep their marks, and the rows above are untouched.
#include "fuzz_replist.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::CoreApp();
    fuzz::Input in(data, size);
    const int column = in.IntIn(-1, 4);
    const int firstRow = in.Bool() ? in.AnyInt() : in.IntIn(-1, 5);
    const QByteArray bytes = in.RestBytes();
    const QString file = fuzz::ScratchFile(bytes, ".txt");

    qor::TRLData rl;
    fuzz::FillSample(rl);
    const fuzz::HeldList before(rl);
    const QString above = firstRow >= 2 && firstRow <= 4 ? rl.RawElem(column, firstRow - 1) : QString();
    const bool checkColumn = rl.ColumnCheckMode(column) != qor::cmNone;
    const int n = rl.LoadLinesFromFile(column, firstRow, file);
    FUZZ_CHECK(n >= -2);
    if (n < 0) {
        FUZZ_CHECK(n == -2);
        FUZZ_CHECK(fuzz::HeldList(rl) == before);
        return 0;
    }
    FUZZ_CHECK(n == 0 || rl.NrOfRows() >= firstRow + n - 1);
    if (firstRow >= 2 && firstRow <= 4)
        FUZZ_CHECK(rl.RawElem(column, firstRow - 1) == above);
    if (n > 0) {
        const QString text = QString::fromUtf8(bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes);
        qsizetype end = 0;
        while (end < text.size() && text[end] != QLatin1Char('\r') && text[end] != QLatin1Char('\n'))
            ++end;
        const QString first = fuzz::CutText(text.left(end), qor::TStringArray::MaxCellLength - (checkColumn ? 1 : 0));
        FUZZ_CHECK(rl.Elem(column, firstRow) == first);
    }
    return 0;
}
