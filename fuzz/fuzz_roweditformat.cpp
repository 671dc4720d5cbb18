// The row editor's column format and the default values formats propose: no crash from any
// format text, row number or letter; the control width stays within 1..2000 and the drop-down
// count within 1..100 (0 when none is given).
#include "fuzz_replist.h"

#include <QOR_rleditor.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::CoreApp();
    fuzz::Input in(data, size);
    const int row = in.Bool() ? in.AnyInt() : in.IntIn(-3, 1000);
    const QChar letter(in.Byte());
    const bool rixAnyCase = in.Bool();
    const QString format = in.Rest();

    const qor::TRowEditFormat f = qor::TRowEditFormat::Parse(format);
    FUZZ_CHECK(f.Width >= 1 && f.Width <= 2000);
    const int drop = f.DropDownCount();
    FUZZ_CHECK(drop == 0 || (drop >= 1 && drop <= 100));

    qor::TRLData rl;
    rl.SetNrOfColumns(1);
    rl.SetNrOfRows(1);
    rl.SetColumnFormat(1, format);
    rl.DefaultValue(1, row);
    rl.DefaultValue(1, 1);
    rl.DefaultValue(0, row);   // no format there
    qor::TRLData::FormatDefault(letter, format, row, rixAnyCase);
    for (const char c : {'c', 'd', 'e', 'f', 'h', 'i', 'l', 's'})
        qor::TRLData::FormatDefault(QLatin1Char(c), format, row, rixAnyCase);
    return 0;
}
