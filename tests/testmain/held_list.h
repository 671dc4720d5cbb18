// Everything a report list holds, to tell whether an operation that failed left it exactly as it
// was. Shared by the tests and the fuzz targets (no test framework involved).
#pragma once

#include <QOR_rldata.h>

#include <QByteArray>
#include <QString>
#include <vector>

namespace qortest {

struct HeldList {
    QByteArray Xml;          // cells, counts, names, formats, check modes, headers, comment
    QString DataID;
    std::vector<int> Extra;  // row attributes and sort order, column attributes, sort settings

    explicit HeldList(const qor::TRLData& rl) : Xml(rl.ToXML(rl.DataID())), DataID(rl.DataID())
    {
        const qor::TStringArray* s = rl.Strings();
        Extra.reserve(std::size_t(rl.NrOfRows()) * 2 + std::size_t(rl.NrOfColumns()) + 8);
        for (int r = 1; r <= rl.NrOfRows(); ++r) {
            Extra.push_back(rl.RowAttrib(r));
            Extra.push_back(s->GetSortOrder(r));
        }
        for (int c = 0; c <= rl.NrOfColumns(); ++c)
            Extra.push_back(rl.ColAttrib(c));
        for (int v : {rl.LastSortColumn(), rl.LastSortColumnSec(), int(rl.LastSortOrder()), int(rl.LastSortOrderSec()),
                      int(rl.SortToggle()), s->NrOfColumns(), s->NrOfRows()})
            Extra.push_back(v);
    }
    bool operator==(const HeldList&) const = default;
};

} // namespace qortest
