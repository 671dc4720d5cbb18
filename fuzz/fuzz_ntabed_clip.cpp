// Table editor clipboard: the size routine and extraction agree on any text, keep to finite
// numbers, and pasting or extracting never changes a locked cell or the table's size.
#include <QOR_ntabed.h>

#include <QApplication>
#include <QClipboard>
#include <QString>

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

QApplication& App()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    App();
    if (size < 2)
        return 0;
    const int at = data[0] % 5 + 1, rowAt = data[1] % 5 + 1;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 2), int(size - 2));

    int cols = 0, rows = 0, count = 0, lastRow = -1;
    const bool found = qor::ClipMatrixSize(text, cols, rows);
    qor::ScanClipNumbers(text, [&](int c, int r, double v) {
        Check(std::isfinite(v) && c >= 0 && c < cols && r >= lastRow && r < rows);
        lastRow = r;
        ++count;
    });
    Check(found == (count > 0) && (found || (cols == 0 && rows == 0)));

    qor::TNTabEd editor;
    editor.Redimension(4, 4);
    for (int r = 1; r <= 4; ++r)
        for (int c = 1; c <= 4; ++c)
            editor.SetElem(c, r, c * 10 + r);
    editor.SetElem(2, 2, 42.0);
    editor.SetCellState(2, 2, qor::csLocked);
    QGuiApplication::clipboard()->setText(text);
    editor.SetSelection(qor::TGridRect{at + 1, rowAt, at + 1, rowAt});
    Check(editor.ExtractFromClipboard() == found);
    editor.SelectAllCells();
    editor.CopySelection();
    editor.SetSelection(qor::TGridRect{at, rowAt, at, rowAt});
    editor.PasteCopy();
    Check(editor.Elem(2, 2) == 42.0 && editor.CellState(2, 2) == qor::csLocked);
    Check(editor.NrOfColumns() == 4 && editor.NrOfRows() == 4);
    int nc = 0, nr = 0;
    editor.GetClipMatrixSize(nc, nr);
    Check(nc == 4 && nr == 4);
    return 0;
}
