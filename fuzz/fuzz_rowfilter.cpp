// The report list's filter expressions in every mode and case setting: compiling any text ends in
// a filter or in an error with a reason, and matching any cells ends; a simple filter matches
// exactly the rows with a cell that contains the expression.
#include "fuzz_support.h"

#include <QOR_rlfilter.h>

#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::CoreApp();
    fuzz::Input in(data, size);
    const auto mode = qor::TFilterMode(in.Byte() % 3);
    const bool ignoreCase = in.Bool();
    QStringList cells;
    for (int n = in.IntIn(0, 4); n > 0; --n)
        cells.append(in.Text(24));
    const QString exp = in.Rest();

    QString why;
    const std::optional<qor::TRowFilter> filter = qor::TRowFilter::Compile(exp, ignoreCase, mode, why);
    if (!filter) {
        FUZZ_CHECK(mode != qor::fmSimple);
        FUZZ_CHECK(!why.isEmpty());
        return 0;
    }
    const bool hit = filter->Matches(cells);
    if (mode == qor::fmSimple) {
        bool expected = false;
        for (const QString& c : cells)
            expected = expected || c.contains(exp, ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive);
        FUZZ_CHECK(hit == expected);
    }
    return 0;
}
