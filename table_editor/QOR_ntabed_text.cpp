// TNTabEd: the texts of cells, and the numbers of clipboard text.
#include "QOR_ntabed.h"

#include <QOR_NumText.h>

#include <array>
#include <cmath>

namespace qor {

namespace {

// Above these magnitudes a precision of 0..8 decimals turns to the exponential form.
constexpr std::array<double, 9> FixedLimits{999999999.0, 9999999.9, 999999.99, 99999.999, 9999.9999,
                                            999.99999,   99.999999, 9.9999999, 0.99999999};
// Below these (and above 0) as well: 10^-p.
constexpr std::array<double, 9> SmallLimits{1.0, 1e-1, 1e-2, 1e-3, 1e-4, 1e-5, 1e-6, 1e-7, 1e-8};

const QString NanText = QStringLiteral("-nan-");

bool StartsNumber(QChar c)
{
    return c.isDigit() || c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('.');
}

} // namespace

QString NTabNumberText(double Value, int Precision, int NumWidth)
{
    if (!std::isfinite(Value))
        return NanText;
    if (Precision >= 0 && Precision <= 8) {
        const double a = std::fabs(Value);
        const auto p = std::size_t(Precision);
        if (a <= FixedLimits[p] && (Value == 0.0 || a >= SmallLimits[p]))
            return FormatRealStr(NumWidth, Precision, Value);
    }
    return FormatRealStr(NumWidth + 6, -2, Value);
}

namespace {

// The ordinal a nominal cell holds: its value rounded.
std::int64_t Ordinal(double v)
{
    return RoundSaturated(v, 2147483647.0);
}

} // namespace

QString TNTabEd::CellText(int ACol, int ARow) const
{
    const std::uint8_t state = CellState(ACol, ARow);
    if (state & csEmpty)
        return QString();
    if (state & csInvalid)
        return NanText;
    if (IsNominal(ACol)) {
        const std::int64_t ord = Ordinal(Elem(ACol, ARow));
        const QString id = (ord >= 0 && ord <= MaxNominalOrdinal) ? FData->GetNominalID(ACol, int(ord)) : QString();
        return id.isEmpty() ? MScaleTypeNames(FData->GetMScaleType(ACol)) + QLatin1Char(':') + QString::number(ord) : id;
    }
    return NTabNumberText(Elem(ACol, ARow), ColPrecision(ACol), FNumWidth);
}

QString TNTabEd::EditText(int ACol, int ARow) const
{
    if (IsNominal(ACol)) {
        const std::int64_t ord = Ordinal(Elem(ACol, ARow));
        const QString id = (ord >= 0 && ord <= MaxNominalOrdinal) ? FData->GetNominalID(ACol, int(ord)) : QString();
        return id.isEmpty() ? QString::number(ord) : id;
    }
    return NTabNumberText(Elem(ACol, ARow), ColPrecision(ACol), FNumWidth);
}

// ---------------------------------------------------------------------------------------------
// Clipboard numbers

void ScanClipNumbers(const QString& Text, const std::function<void(int Col, int Row, double Value)>& Store)
{
    QString t = Text;
    for (QChar& c : t)
        if (c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char(','))
            c = QLatin1Char(' ');
    t += QLatin1Char(' ');
    const int n = int(std::min<qsizetype>(t.size(), 0x7FFFFFFE));
    int pos = 1, col = 0, row = 0;
    while (pos <= n) {
        const QChar c = t[pos - 1];
        if (c == QLatin1Char('\n')) {
            if (col > 0) {
                ++row;
                col = 0;
            }
            ++pos;
            continue;
        }
        if (!StartsNumber(c)) {
            ++pos;
            continue;
        }
        bool isNumber = false;
        const int start = pos;
        const double v = ScanFloatStr(t, true, 1, pos, isNumber);
        if (isNumber && std::isfinite(v)) {
            Store(col++, row, v);
        } else {
            // A malformed number ("1.2.3", "--5") is passed over as a whole.
            while (pos <= n && t[pos - 1] != QLatin1Char(' ') && t[pos - 1] != QLatin1Char('\n'))
                ++pos;
        }
        pos = std::max(pos, start + 1);
    }
}

bool ClipMatrixSize(const QString& Text, int& NCols, int& NRows)
{
    NCols = NRows = 0;
    ScanClipNumbers(Text, [&](int c, int r, double) {
        NCols = std::max(NCols, c + 1);
        NRows = r + 1;
    });
    return NRows > 0;
}

} // namespace qor
