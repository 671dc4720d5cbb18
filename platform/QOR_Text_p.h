// Length limits on text. A limit counts UTF-16 units, as QString does; a cut that would end
// between the two halves of a surrogate pair keeps neither, so a stored name or cell never holds
// half a character (which a UTF-8 writer would turn into a replacement mark).
#pragma once

#include <QString>
#include <QStringView>

namespace qor {

// Text cut to at most Max UTF-16 units, never inside a surrogate pair.
inline QStringView CutToLength(QStringView Text, qsizetype Max)
{
    if (Max <= 0)
        return {};
    if (Text.size() <= Max)
        return Text;
    if (Text[Max - 1].isHighSurrogate() && Text[Max].isLowSurrogate())
        --Max;
    return Text.first(Max);
}

inline QString CutToLength(const QString& Text, qsizetype Max)
{
    return Text.size() <= Max ? Text : CutToLength(QStringView(Text), Max).toString();
}

} // namespace qor
