#include "QOR_math1.h"

#include <cmath>
#include <limits>

namespace qor {

bool IsValidDecInt(const QString& Text)
{
    qsizetype i = 0;
    while (i < Text.size() && Text[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < Text.size() && (Text[i] == QLatin1Char('+') || Text[i] == QLatin1Char('-'))) {
        negative = Text[i] == QLatin1Char('-');
        ++i;
    }
    if (i >= Text.size())
        return false;
    long long v = 0;
    for (; i < Text.size(); ++i) {
        const char16_t c = Text[i].unicode();
        if (c < u'0' || c > u'9')
            return false;
        v = v * 10 + (c - u'0');
        if (v > 2147483648LL)
            return false;
    }
    return negative || v <= 2147483647LL;
}

int IntNeg(double X)
{
    const double f = std::floor(X);
    if (!(f >= double(std::numeric_limits<int>::min())))
        return std::numeric_limits<int>::min();
    if (f > double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return int(f);
}

} // namespace qor
