// Report-list helpers of the fuzz targets: a small list with every kind of content, and all a
// failed read must leave untouched (HeldList, shared with the tests).
#pragma once

#include "fuzz_support.h"

#include <QOR_rldata.h>

#include "held_list.h"

namespace fuzz {

// Three rows, a box and a radio column, names, a format, a comment, a selected and a disabled
// row, sorted descending.
inline void FillSample(qor::TRLData& rl)
{
    rl.SetNrOfColumns(3);
    rl.SetNrOfRows(3);
    rl.SetHeader(1, QStringLiteral("name"));
    rl.SetColumnFormat(2, QStringLiteral("[i]rix3"));
    rl.SetColumnCheckMode(2, qor::cmBox);
    rl.SetColumnCheckMode(3, qor::cmRadio);
    rl.SetComment(QStringLiteral("kept"));
    rl.SetDataID(QStringLiteral("sample"));
    for (int r = 1; r <= 3; ++r) {
        rl.SetElem(0, r, QStringLiteral("hidden %1").arg(r));
        rl.SetElem(1, r, QStringLiteral("row %1 <&>").arg(r));
        rl.SetElemChecked(2, r, r != 2);
    }
    rl.SetRowAttrib(1, qor::rlaSelected);
    rl.SetRowAttrib(3, qor::rlaDisabled);
    rl.Sort(1, -1, false);
}

using qortest::HeldList;

} // namespace fuzz
