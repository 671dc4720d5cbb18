#include "QOR_NumIOEdit.h"
#include "QOR_WidgetFactory.h"

#include <QOR_univconst.h>

#include <cmath>
#include <limits>

namespace qor {

namespace {

// At least `least` digits, more when the value needs them (nothing is cut off).
template <typename DigitFn>
QString AllDigits(std::uint32_t v, int least, int bitsPerDigit, DigitFn fn)
{
    int need = 1;
    for (std::uint32_t rest = v >> bitsPerDigit; rest != 0; rest >>= bitsPerDigit)
        ++need;
    return fn(std::int32_t(v), std::max(least, need));
}

} // namespace

QOR_REGISTER_WIDGET(qor::TNumIO);

TNumIO::TNumIO(QWidget* AOwner)
    : TCustomEdit(AOwner)
{
    SetEditText(QString(), 0);
}

void TNumIO::SetDesigning(bool v)
{
    TCustomEdit::SetDesigning(v);
    if (v && FRangeLow == 0.0 && FRangeHigh == 0.0) {
        FRangeLow = -uc_MaxDouble;
        FRangeHigh = uc_MaxDouble;
    }
}

bool TNumIO::AccessibleValue(TAccessibleValue& v) const
{
    v = {Value(), FRangeLow, FRangeHigh, 0.0};
    return true;
}

QChar TNumIO::PointChar() const
{
    // A comma-only field writes and expects its decimals after a comma.
    return ResolveDecPSep(FDecPlaceSep) == 2 ? QLatin1Char(',') : QLatin1Char('.');
}

// ---------------------------------------------------------------------------------------------
// Conversion

bool TNumIO::ConvertNumString(const QString& Text, double& Value) const
{
    return Convert(Text, Value, FDecPlaceSep);
}

bool TNumIO::Convert(const QString& Text, double& Value, int DecPSep) const
{
    if (Text.isEmpty())
        return false;
    Value = 0.0;
    const int sep = DecPSep == 0 ? ResolveDecPSep(0) : DecPSep;
    qsizetype lead = 0;
    while (lead < Text.size() && Text[lead] == QLatin1Char(' '))
        ++lead;
    QString s = Text.mid(lead).toLower();
    if (s.contains(QLatin1Char(' ')))
        return false;

    TInFormat format = FInputFormat;
    if (format == itDynamic) {
        format = itExp;
        if (!s.isEmpty()) {
            switch (s[0].unicode()) {
            case u'$': format = itHex; s.remove(0, 1); break;
            case u'%': format = itBin; s.remove(0, 1); break;
            case u'&': format = itOct; s.remove(0, 1); break;
            default: break;
            }
        }
    }

    int pos = 1;
    switch (format) {
    case itExp: {
        // An exponent still being typed ("1e", "1e-") does not count.
        const qsizetype e = s.indexOf(QLatin1Char('e'));
        if (e >= 0) {
            const qsizetype after = s.size() - e - 1;
            if (after == 0 || (after == 1 && (s[e + 1] == QLatin1Char('+') || s[e + 1] == QLatin1Char('-'))))
                s.truncate(e);
        }
        Value = ScanFloatStr(s, true, sep, pos);
        break;
    }
    case itFloat:
    case itFixPoint:
        Value = ScanFloatStr(s, false, sep, pos);
        break;
    case itInt: {
        Value = ScanDecIntStr(s, pos);
        // More digits than 32 bits hold would wrap to a different number: no number then.
        bool ok = false;
        const qlonglong wide = s.left(pos - 1).toLongLong(&ok);
        if (ok && (wide > std::numeric_limits<std::int32_t>::max() || wide < std::numeric_limits<std::int32_t>::min()))
            return false;
        if (!ok && pos > 2)
            return false;
        break;
    }
    case itHex: Value = ScanHexStr(s, pos); break;
    case itOct: Value = ScanOctStr(s, pos); break;
    case itBin: Value = ScanBinStr(s, pos); break;
    case itDynamic: break;
    }
    return pos == s.size() + 1;
}

double TNumIO::Value() const
{
    QString s = text();
    const qsizetype comma = s.indexOf(QLatin1Char(','));
    if (comma >= 0)
        s[comma] = QLatin1Char('.');
    if (s.endsWith(QLatin1Char('.')))
        s += QLatin1Char('0');
    double v = 0.0;
    // The text now carries a "." whatever the separator choice, so the point must be read.
    const int sep = ResolveDecPSep(FDecPlaceSep) == 1 ? 1 : 3;
    return Convert(s, v, sep) ? v : 0.0;
}

QString TNumIO::TextOfValue(double v) const
{
    QString s;
    switch (FInputFormat) {
    case itExp:
    case itDynamic:
        s = FormatRealStr(12, -2, v);
        // Asterisks would read back as no number: large exponents keep all their digits.
        if (s.startsWith(QLatin1Char('*')))
            s = FormatRealStr(14, -1, v);
        break;
    case itFloat: s = FormatRealStr(1, 8, v); break;
    case itFixPoint: s = FormatRealStr(1, FFixPointDecPlaces, v); break;
    case itInt: s = FormatRealStr(1, 0, v); break;
    case itHex: s = AllDigits(std::uint32_t(RoundSaturated(v, 9.2e18)), 8, 4, HexDigitStr); break;
    case itOct: s = AllDigits(std::uint32_t(RoundSaturated(v, 9.2e18)), 8, 3, OctDigitStr); break;
    case itBin: s = AllDigits(std::uint32_t(RoundSaturated(v, 9.2e18)), 8, 1, BinDigitStr); break;
    }
    if (PointChar() == QLatin1Char(','))
        s.replace(QLatin1Char('.'), QLatin1Char(','));
    return s;
}

void TNumIO::SetValue(double v)
{
    const QString s = TextOfValue(v);
    FLastGoodText = s;
    SetEditText(s, int(s.size()));
}

void TNumIO::SetAccessibleValue(double v)
{
    if (!isReadOnly() && !std::isnan(v))
        QLineEdit::setText(TextOfValue(v));
}

// ---------------------------------------------------------------------------------------------
// Checking

void TNumIO::SetEditText(const QString& s, int caret)
{
    FInternalChange = true;
    QLineEdit::setText(s);   // the field's own text, not a write of the property
    FInternalChange = false;  // also when the text was unchanged and no notification came
    setCursorPosition(std::clamp(caret, 0, int(s.size())));
}

void TNumIO::Change()
{
    if (Designing()) {
        TCustomEdit::Change();
        return;
    }
    if (FInternalChange) {
        FInternalChange = false;
        return;
    }
    Recheck();
}

void TNumIO::Recheck()
{
    const QString current = text();
    const int caret = cursorPosition();

    if (FInputFormat == itFixPoint) {
        const QChar point = PointChar();
        const qsizetype p = current.indexOf(point);
        const qsizetype q = p >= 0 ? current.indexOf(point, p + 1) : -1;
        if (p < 0 || q > p) {
            // The point was deleted or doubled: the last good text comes back with the caret
            // at (just before) its point.
            const qsizetype lp = FLastGoodText.indexOf(point) + 1;  // 1-based, 0 when absent
            int at = int(lp);
            if (p < 0 && lp > 1)
                at = int(lp) - 1;
            SetEditText(FLastGoodText, at);
            return;
        }
    }

    double value = 0.0;
    QString replacement;
    bool replace = false;
    int replaceCaret = caret;
    bool ok = ConvertNumString(current, value);
    if (ok && FInputFormat == itFixPoint) {
        replacement = FormatRealStr(1, FFixPointDecPlaces, value);
        if (PointChar() == QLatin1Char(','))
            replacement.replace(QLatin1Char('.'), QLatin1Char(','));
        replace = replacement != current;
    }
    if (ok && !((value >= FRangeLow && value <= FRangeHigh) || value == 0.0))
        ok = false;

    if (ok) {
        FLastGoodText = replace ? replacement : current;
        if (replace)
            SetEditText(replacement, replaceCaret);
        TCustomEdit::Change();
        return;
    }
    if (FBeep)
        MessageBeep();
    SetEditText(FLastGoodText, caret - 1);
}

// ---------------------------------------------------------------------------------------------
// Property writers

// A new format, separator or range makes the last good text meaningless; the current text is
// checked against the new setting, except in the designer, where nothing is checked.
void TNumIO::SettingChanged()
{
    FLastGoodText.clear();
    if (!Designing())
        Recheck();
}

void TNumIO::SetInputFormat(TInFormat v)
{
    if (v == FInputFormat)
        return;
    FInputFormat = v;
    SettingChanged();
}

void TNumIO::SetDecPlaceSep(TDecPSep v)
{
    if (v == FDecPlaceSep)
        return;
    FDecPlaceSep = v;
    SettingChanged();
}

void TNumIO::SetRangeLow(double v)
{
    if (v >= FRangeHigh) {
        FRangeLow = FRangeHigh;
        FRangeHigh = v;
    } else {
        FRangeLow = v;
    }
    SettingChanged();
}

void TNumIO::SetRangeHigh(double v)
{
    if (v > FRangeLow) {
        FRangeHigh = v;
    } else {
        FRangeHigh = FRangeLow;
        FRangeLow = v;
    }
    SettingChanged();
}

void TNumIO::Assign(const QObject* Source)
{
    const auto* s = qobject_cast<const TNumIO*>(Source);
    if (!s) {
        TCustomEdit::Assign(Source);
        return;
    }
    FInputFormat = s->FInputFormat;
    FBeep = s->FBeep;
    FRangeLow = s->FRangeLow;
    FRangeHigh = s->FRangeHigh;
    FDecPlaceSep = s->FDecPlaceSep;
}

void TNumIO::AssignTo(QObject* Dest) const
{
    if (!AssignToSameClass<TNumIO>(Dest))
        TCustomEdit::AssignTo(Dest);
}

} // namespace qor
