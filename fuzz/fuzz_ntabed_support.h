// Shared by the table editor's fuzz targets: an offscreen application and a small editor with
// one locked cell, whose contents every target checks afterwards.
#pragma once

#include "fuzz_support.h"

#include <QOR_ntabed.h>

#include <QApplication>
#include <QClipboard>

#include <cmath>
#include <cstdlib>

namespace fuzz_ntabed {

constexpr int kSize = 4;                   // columns and rows of the editor
constexpr int kLockedCol = 2, kLockedRow = 2;
constexpr double kLockedValue = 42.0;

inline QApplication& App()
{
    fuzz::GuiApp();
    return *qApp;
}

inline void Check(bool ok)
{
    if (!ok)
        std::abort();
}

// Cell (c, r) holds 10 c + r; the locked cell holds kLockedValue.
inline void Prepare(qor::TNTabEd& editor)
{
    editor.Redimension(kSize, kSize);
    for (int r = 1; r <= kSize; ++r)
        for (int c = 1; c <= kSize; ++c)
            editor.SetElem(c, r, c * 10 + r);
    editor.SetElem(kLockedCol, kLockedRow, kLockedValue);
    editor.SetCellState(kLockedCol, kLockedRow, qor::csLocked);
}

// Whatever came in: the size is kept, the locked cell untouched, every value finite.
inline void CheckKept(const qor::TNTabEd& editor)
{
    Check(editor.NrOfColumns() == kSize && editor.NrOfRows() == kSize);
    Check(editor.Elem(kLockedCol, kLockedRow) == kLockedValue
          && editor.CellState(kLockedCol, kLockedRow) == qor::csLocked);
    for (int r = 1; r <= kSize; ++r)
        for (int c = 1; c <= kSize; ++c)
            Check(std::isfinite(editor.Elem(c, r)));
}

// The data cell (c, r) as a one-cell grid selection.
inline qor::TGridRect DataCell(const qor::TNTabEd& editor, int c, int r)
{
    const int gc = c + (editor.AttribRowVisible() ? 1 : 0), gr = r + (editor.AttribColVisible() ? 1 : 0);
    return qor::TGridRect{gc, gr, gc, gr};
}

} // namespace fuzz_ntabed
