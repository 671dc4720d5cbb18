// Table editor paste: a block of any values and states (raw doubles, infinities and NaNs
// offered), copied from any rectangle and pasted at any cell, keeps the table's size, stores
// only finite values, never changes a locked cell, and gives every other cell it covers the
// copied value and state.
#include "fuzz_ntabed_support.h"

#include <cstdint>
#include <cstring>
#include <utility>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace fuzz_ntabed;
    App();
    if (size < 6)
        return 0;
    // Bytes 0..3: the copied rectangle; 4..5: where it goes; then per cell a state byte and a
    // value of 8 raw bytes while they last.
    int l = data[0] % kSize + 1, t = data[1] % kSize + 1, r = data[2] % kSize + 1, b = data[3] % kSize + 1;
    if (l > r)
        std::swap(l, r);
    if (t > b)
        std::swap(t, b);
    const int col = data[4] % kSize + 1, row = data[5] % kSize + 1;

    qor::TNTabEd editor;
    Prepare(editor);
    std::size_t at = 6;
    for (int y = 1; y <= kSize; ++y)
        for (int x = 1; x <= kSize && at + 9 <= size; ++x) {
            if (x == kLockedCol && y == kLockedRow)
                continue;
            double v;
            std::memcpy(&v, data + at + 1, sizeof v);
            editor.SetElem(x, y, v);   // non-finite values are refused
            editor.SetCellState(x, y, data[at]);
            at += 9;
        }
    CheckKept(editor);

    double values[kSize][kSize];
    std::uint8_t states[kSize][kSize];
    for (int y = t; y <= b; ++y)
        for (int x = l; x <= r; ++x) {
            values[y - t][x - l] = editor.Elem(x, y);
            states[y - t][x - l] = editor.CellState(x, y);
        }
    bool locked[kSize + 1][kSize + 1];   // cells locked before the paste keep what they hold
    double held[kSize + 1][kSize + 1];
    for (int y = 1; y <= kSize; ++y)
        for (int x = 1; x <= kSize; ++x) {
            locked[y][x] = editor.CellState(x, y) & qor::csLocked;
            held[y][x] = editor.Elem(x, y);
        }
    const qor::TGridRect from = DataCell(editor, l, t), to = DataCell(editor, r, b);
    editor.SetSelection(qor::TGridRect{from.Left, from.Top, to.Right, to.Bottom});
    editor.CopySelection();
    editor.SetSelection(DataCell(editor, col, row));
    Check(editor.PasteCopy());
    CheckKept(editor);
    for (int y = row; y <= kSize && y - row <= b - t; ++y)
        for (int x = col; x <= kSize && x - col <= r - l; ++x)
            Check(locked[y][x] ? editor.Elem(x, y) == held[y][x]
                               : editor.Elem(x, y) == values[y - row][x - col]
                                     && editor.CellState(x, y) == states[y - row][x - col]);
    return 0;
}
