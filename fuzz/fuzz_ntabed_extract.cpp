// Table editor extraction: clipboard text of any kind, extracted at any cell, reports success
// exactly when the text holds a number, stores only finite numbers, keeps the table's size and
// never changes a locked cell.
#include "fuzz_ntabed_support.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace fuzz_ntabed;
    App();
    if (size < 2)
        return 0;
    const int col = data[0] % kSize + 1, row = data[1] % kSize + 1;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 2), int(size - 2));
    int cols = 0, rows = 0;
    const bool found = qor::ClipMatrixSize(text, cols, rows);

    qor::TNTabEd editor;
    Prepare(editor);
    QGuiApplication::clipboard()->setText(text);
    editor.SetSelection(DataCell(editor, col, row));
    Check(editor.ExtractFromClipboard() == (found && !text.isEmpty()));
    CheckKept(editor);
    int nc = 0, nr = 0;
    Check(editor.GetClipMatrixSize(nc, nr) == found && nc == cols && nr == rows);
    return 0;
}
