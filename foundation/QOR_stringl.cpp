#include "QOR_stringl.h"

#include <QDir>
#include <QRegularExpression>
#include <cmath>

namespace qor {

int Tokenize(const QString& Text, const QString& Delimiters, TOpenStringArray& Parts)
{
    Parts.clear();
    qsizetype start = -1;
    for (qsizetype i = 0; i <= Text.size(); ++i) {
        const bool delim = i == Text.size() || Delimiters.contains(Text[i]);
        if (delim) {
            if (start >= 0)
                Parts.append(Text.mid(start, i - start));
            start = -1;
        } else if (start < 0) {
            start = i;
        }
    }
    return int(Parts.size());
}

int NumberedPos(const QString& Sub, const QString& Text, int Start, int N, bool IgnoreCase)
{
    if (Sub.isEmpty() || N < 1)
        return 0;
    qsizetype from = std::max(Start, 1) - 1;
    const auto cs = IgnoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive;
    for (int k = 1;; ++k) {
        const qsizetype p = Text.indexOf(Sub, from, cs);
        if (p < 0)
            return 0;
        if (k == N)
            return int(p) + 1;
        from = p + Sub.size();
    }
}

QString ReplaceCharInString(const QString& Text, QChar OldChar, QChar NewChar)
{
    QString s = Text;
    s.replace(OldChar, NewChar);
    return s;
}

QString EnsureTrailingChar(const QString& Text, QChar Ch)
{
    if (Text.endsWith(Ch))
        return Text;
    return Text + Ch;
}

QString EnsureTrailingBkSlash(const QString& Text)
{
    return EnsureTrailingChar(Text, QDir::separator());
}

QString StripLeadingChars(const QString& Text, const QString& Chars)
{
    qsizetype i = 0;
    while (i < Text.size() && Chars.contains(Text[i]))
        ++i;
    return Text.mid(i);
}

QString StripTrailingChars(const QString& Text, const QString& Chars)
{
    qsizetype n = Text.size();
    while (n > 0 && Chars.contains(Text[n - 1]))
        --n;
    return Text.left(n);
}

QString RemoveControlChars(const QString& Text)
{
    QString s;
    s.reserve(Text.size());
    for (QChar c : Text)
        if (c.unicode() >= 32 && c.unicode() != 127)
            s.append(c);
    return s;
}

QString LeftString(const QString& Text, int N)
{
    if (N <= 0)
        return QString();
    if (Text.size() >= N)
        return Text.left(N);
    return Text + QString(N - Text.size(), QLatin1Char(' '));
}

QString strff(double Value, int Width, int Decimals)
{
    QString s;
    if (!std::isfinite(Value))
        s = std::isnan(Value) ? QStringLiteral("NAN") : (Value > 0 ? QStringLiteral("+INF") : QStringLiteral("-INF"));
    else if (Decimals < 0)
        s = QString::number(Value, 'E', 14).replace(QRegularExpression(QStringLiteral("E([+-])(\\d)$")), QStringLiteral("E\\g<1>00\\2"))
                .replace(QRegularExpression(QStringLiteral("E([+-])(\\d\\d)$")), QStringLiteral("E\\g<1>0\\2"));
    else
        s = QString::number(Value, 'f', std::min(Decimals, 99));
    if (s.size() < Width)
        s = QString(Width - s.size(), QLatin1Char(' ')) + s;
    return s;
}

} // namespace qor
