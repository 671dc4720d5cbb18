#include "QOR_NumIO2.h"
#include "QOR_WidgetFactory.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qor {

QOR_REGISTER_WIDGET(qor::TNumIO2);

TNumIO2::TNumIO2(QWidget* AOwner)
    : TCustomControl(AOwner)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setMinimumHeight(18);
    setMouseTracking(true);  // MouseAreaCode follows the mouse without a button held
    resize(160, 28);
    FCaretTimer = new TWindowTimer(this);
    FCaretTimer->SetInterval(CaretBlinkMs);
    FCaretTimer->OnTimer = [this] { CaretTimerStep(); };
    // The caret shows once the field has the focus (see focusInEvent).
}

TNumIO2::~TNumIO2() = default;

// ---------------------------------------------------------------------------------------------
// Conversion

bool TNumIO2::CheckValidity(const QString& Instring) const
{
    switch (FInputFormat) {
    case itExp: return CheckFloatExpStr(Instring, true, FDecPlaceSep);
    case itFloat: return CheckFloatStr(Instring, FDecPlaceSep);
    case itFixPoint: return CheckFixPointStr(Instring, FDecPlaceSep, FFixPointDecPlaces);
    case itInt: return CheckIntStr(Instring);
    case itHex: return CheckHexStr(Instring);
    case itOct: return CheckOctStr(Instring);
    case itBin: return CheckBinStr(Instring);
    case itDynamic:
        if (Instring.isEmpty())
            return false;
        switch (Instring[0].unicode()) {
        case u'$': return CheckHexStr(Instring.mid(1));
        case u'%': return CheckBinStr(Instring.mid(1));
        case u'&': return CheckOctStr(Instring.mid(1));
        default: return CheckFloatExpStr(Instring, true, FDecPlaceSep);
        }
    }
    return false;
}

double TNumIO2::ValueOfText(const QString& s) const
{
    int pos = 1;
    switch (FInputFormat) {
    case itExp:
    case itFloat:
    case itFixPoint:
        return ScanFloatStr(s, true, 3, pos);
    case itInt: {
        if (s.isEmpty() || !CheckIntStr(s))
            return 0.0;
        int v = 0;
        return TryStrToInt(s, v) ? double(v) : 2147483647.0;
    }
    case itHex: return ScanHexStr(s, pos);
    case itOct: return ScanOctStr(s, pos);
    case itBin: return ScanBinStr(s, pos);
    case itDynamic: {
        if (s.isEmpty())
            return 0.0;
        const QString rest = s.mid(1);
        switch (s[0].unicode()) {
        case u'$': return ScanHexStr(rest, pos);
        case u'%': return ScanBinStr(rest, pos);
        case u'&': return ScanOctStr(rest, pos);
        default: return ScanFloatStr(s, true, 3, pos);
        }
    }
    }
    return 0.0;
}

QString TNumIO2::TextOfValue(double v) const
{
    QString s;
    switch (FInputFormat) {
    case itExp:
        s = FormatRealStr(FSignificantDigits + 6, -2, v);
        // A row of asterisks would read back as no number and lose the value: exponents of
        // 100 and more keep all their digits.
        if (s.startsWith(QLatin1Char('*')))
            s = FormatRealStr(FSignificantDigits + 8, -1, v);
        break;
    case itFloat:
    case itFixPoint: s = FormatRealStr(1, FFixPointDecPlaces, v); break;
    case itInt:
    case itDynamic: return IntToStr(RoundSaturated(v, 9.2e18));
    case itHex: return HexDigitStr(std::int32_t(std::uint32_t(RoundSaturated(v, 9.2e18))), 8);
    case itOct: return OctDigitStr(std::int32_t(std::uint32_t(RoundSaturated(v, 9.2e18))), 11);
    case itBin: return BinDigitStr(std::int32_t(std::uint32_t(RoundSaturated(v, 9.2e18))), 32);
    }
    // A field that accepts only the comma must not be handed a "." it would then refuse.
    if (ResolveDecPSep(FDecPlaceSep) == 2)
        s.replace(QLatin1Char('.'), QLatin1Char(','));
    return s;
}

double TNumIO2::Value() const { return ValueOfText(FBuffer); }

void TNumIO2::SetValue(double v)
{
    const QString old = FBuffer;
    FBuffer = TextOfValue(v);
    const int len = int(FBuffer.size());
    FCaret = std::min(FCaret, len);
    FSelBegin = std::min(FSelBegin, len);
    FSelEnd = std::min(FSelEnd, len);
    Invalidate();
    ReportTextChange(old);
}

void TNumIO2::ReportTextChange(const QString& Old)
{
    if (FBuffer == Old)
        return;
    emit textChanged(FBuffer);
    if (ValueOfText(Old) != Value())
        emit valueChanged(Value());
    AccessibleValueChanged();
}

int TNumIO2::IntegerValue() const
{
    const double v = Value();
    const std::int64_t r = RoundSaturated(v, 9.2e18);
    if (r > std::numeric_limits<std::int32_t>::max() || r < std::numeric_limits<std::int32_t>::min())
        throw EQORNumIO2Error(QStringLiteral("Component \"") + Name() + QStringLiteral("\": integer overflow"));
    return int(r);
}

bool TNumIO2::OutOfRange() const
{
    const double v = Value();
    return v < FRangeLow || v > FRangeHigh;
}

void TNumIO2::Changed()
{
    Notify(this, OnChange, &TNumIO2::changed);
}

// ---------------------------------------------------------------------------------------------
// Accessibility

QString TNumIO2::AccessibleName() const
{
    const QString left = FLeftText.trimmed(), right = FRightText.trimmed();
    return left.isEmpty() || right.isEmpty() ? left + right : left + QLatin1Char(' ') + right;
}

void TNumIO2::AccessibleTextSelection(int& Start, int& End) const
{
    Start = FHideInputEditor ? 0 : FSelBegin;
    End = FHideInputEditor ? 0 : FSelEnd;
}

void TNumIO2::SetAccessibleTextSelection(int Start, int End)
{
    const int oldCaret = FCaret, oldBegin = FSelBegin, oldEnd = FSelEnd;
    const int len = int(FBuffer.size());
    FSelBegin = std::clamp(std::min(Start, End), 0, len);
    FSelEnd = std::clamp(std::max(Start, End), 0, len);
    FCaret = std::clamp(End, 0, len);
    Invalidate();
    ReportCaret(oldCaret, oldBegin, oldEnd);
}

QRect TNumIO2::AccessibleCharRect(int Offset) const
{
    if (FHideInputEditor || Offset < 0 || Offset >= FBuffer.size())
        return {};
    auto* self = const_cast<TNumIO2*>(this);
    const int x0 = self->CharPosToXCoords(Offset), x1 = self->CharPosToXCoords(Offset + 1);
    return QRect(x0, 2, std::max(1, x1 - x0), std::max(1, height() - GaugeReserve() - 5));
}

bool TNumIO2::ReplaceAccessibleText(int Start, int End, const QString& s)
{
    // An edit from outside is a keystroke's edit: refused when read-only or when the text
    // would not be (the start of) a number of the format.
    if (FReadOnly)
        return false;
    const int len = int(FBuffer.size());
    Start = std::clamp(Start, 0, len);
    End = std::clamp(End, Start, len);
    const QString edited = QString(FBuffer).replace(Start, End - Start, s);
    if (!(edited.isEmpty() || edited == QLatin1String("-") || edited == QLatin1String("+") || CheckValidity(edited))) {
        if (FBeep)
            MessageBeep();
        return false;
    }
    const QString old = std::exchange(FBuffer, edited);
    const int oldCaret = FCaret, oldBegin = FSelBegin, oldEnd = FSelEnd;
    FCaret = FSelBegin = FSelEnd = Start + int(s.size());
    Invalidate();
    if (edited != old)
        Changed();
    ReportTextChange(old);
    ReportCaret(oldCaret, oldBegin, oldEnd);
    return true;
}

bool TNumIO2::AccessibleValue(TAccessibleValue& v) const
{
    v = {Value(), FRangeLow, FRangeHigh, FButIncrem};
    return true;
}

void TNumIO2::SetAccessibleValue(double v)
{
    // As the buttons and the gauge set it: clamped to the range, then OnChange.
    if (FReadOnly || std::isnan(v))
        return;
    const QString old = FBuffer;
    SetValue(std::clamp(v, FRangeLow, FRangeHigh));
    if (FBuffer != old)
        Changed();
}

QString TNumIO2::AccessibleWarning() const
{
    if (!OutOfRange())
        return {};
    return QStringLiteral("out of range %1 to %2").arg(QString::number(FRangeLow, 'g', 12), QString::number(FRangeHigh, 'g', 12));
}

QVector<TNumIO2::TPart> TNumIO2::AccessibleParts() const
{
    QVector<TPart> parts;
    if (!FLeftText.trimmed().isEmpty())
        parts.append(TPart::LeftCaption);
    if (!FRightText.trimmed().isEmpty())
        parts.append(TPart::RightCaption);
    if (FFreezeBoxVisible)
        parts.append(TPart::FreezeBox);
    return parts;
}

TAccessiblePart TNumIO2::AccessiblePart(int Index) const
{
    const QVector<TPart> parts = AccessibleParts();
    if (Index < 0 || Index >= parts.size())
        return {};
    auto* self = const_cast<TNumIO2*>(this);
    const int textBottom = height() - GaugeReserve();
    TAccessiblePart p;
    switch (parts[Index]) {
    case TPart::LeftCaption:
        p.Name = FLeftText;
        p.LabelsComponent = true;
        p.Rect = QRect(0, 0, FLeftSpace, textBottom);
        break;
    case TPart::RightCaption: {
        p.Name = FRightText;
        p.LabelsComponent = true;
        const int x = FLeftSpace + FTextBoxWidth + (FButVisible ? FButWidth + FButSpace : 0);
        p.Rect = QRect(x, 0, std::max(0, width() - x), textBottom);
        break;
    }
    case TPart::FreezeBox:
        p.Role = QAccessible::CheckBox;
        p.Name = QStringLiteral("Freeze");
        p.Checkable = true;
        p.Checked = FFreezeBoxChecked;
        p.Rect = QRect(self->FreezeBoxX(), FFreezeBoxTop, FFreezeBoxSize, FFreezeBoxSize);
        if (isEnabled())
            p.Actions = {QAccessibleActionInterface::toggleAction(), QAccessibleActionInterface::pressAction()};
        break;
    }
    return p;
}

void TNumIO2::DoAccessiblePartAction(int Index, const QString& Action)
{
    const QVector<TPart> parts = AccessibleParts();
    if (Index >= 0 && Index < parts.size() && parts[Index] == TPart::FreezeBox && isEnabled())
        ToggleFreeze();
}

void TNumIO2::ReportCaret(int OldCaret, int OldSelBegin, int OldSelEnd)
{
    if (FCaret != OldCaret)
        AccessibleCaretMoved();
    if (FSelBegin != OldSelBegin || FSelEnd != OldSelEnd)
        AccessibleTextSelectionChanged();
}

// ---------------------------------------------------------------------------------------------
// Property writers

#define QOR_NUMIO2_SETTER(Name, Type, Field) \
    void TNumIO2::Set##Name(Type v)          \
    {                                        \
        if (Store(Field, v))                 \
            Invalidate();                    \
    }

QOR_NUMIO2_SETTER(Alignment, TAlignment, FAlignment)
QOR_NUMIO2_SETTER(ButVisible, bool, FButVisible)
QOR_NUMIO2_SETTER(But3D, bool, FBut3D)
QOR_NUMIO2_SETTER(ButColor, TColor, FButColor)
QOR_NUMIO2_SETTER(ColorBoxBG, TColor, FColorBoxBG)
QOR_NUMIO2_SETTER(ColorBoxText, TColor, FColorBoxText)
QOR_NUMIO2_SETTER(ColorOutBG, TColor, FColorOutBG)
QOR_NUMIO2_SETTER(ColorOutText, TColor, FColorOutText)
QOR_NUMIO2_SETTER(ColorWarnBG, TColor, FColorWarnBG)
QOR_NUMIO2_SETTER(ColorWarnText, TColor, FColorWarnText)
QOR_NUMIO2_SETTER(ColorScheme, TColorScheme, FColorScheme)
QOR_NUMIO2_SETTER(FrameStyle, TFrameStyle, FFrameStyle)
QOR_NUMIO2_SETTER(FreezeBoxLeft, int, FFreezeBoxLeft)
QOR_NUMIO2_SETTER(FreezeBoxTop, int, FFreezeBoxTop)
QOR_NUMIO2_SETTER(GaugeVisible, bool, FGaugeVisible)
QOR_NUMIO2_SETTER(GaugeColor, TColor, FGaugeColor)
QOR_NUMIO2_SETTER(GaugeColorBg, TColor, FGaugeColorBg)
QOR_NUMIO2_SETTER(GaugeColorFrame, TColor, FGaugeColorFrame)
QOR_NUMIO2_SETTER(GaugeFrameStyle, TFrameStyle, FGaugeFrameStyle)
QOR_NUMIO2_SETTER(HideSelection, bool, FHideSelection)
QOR_NUMIO2_SETTER(LeftTextAlignment, TAlignment, FLeftTextAlignment)
QOR_NUMIO2_SETTER(RightTextAlignment, TAlignment, FRightTextAlignment)

#undef QOR_NUMIO2_SETTER

// Settings a reader hears of: the captions name the field and are parts of it, the freeze box
// is a part, a hidden number shows no text.
#define QOR_NUMIO2_SPOKEN_SETTER(Name, Type, Field) \
    void TNumIO2::Set##Name(Type v)                 \
    {                                               \
        if (!Store(Field, v))                       \
            return;                                 \
        Invalidate();                               \
        AccessiblePartsChanged();                   \
        AccessibleValueChanged();                   \
    }

QOR_NUMIO2_SPOKEN_SETTER(FreezeBoxVisible, bool, FFreezeBoxVisible)
QOR_NUMIO2_SPOKEN_SETTER(HideInputEditor, bool, FHideInputEditor)
QOR_NUMIO2_SPOKEN_SETTER(LeftText, const QString&, FLeftText)
QOR_NUMIO2_SPOKEN_SETTER(RightText, const QString&, FRightText)

#undef QOR_NUMIO2_SPOKEN_SETTER

void TNumIO2::SetAutoSize(bool v)
{
    FAutoSize = v;
    Invalidate();
}

void TNumIO2::SetButHeight(int v)
{
    FButHeight = std::clamp(v, 18, std::max(18, height()));
    Invalidate();
}

void TNumIO2::SetButWidth(int v)
{
    FButWidth = std::clamp(v, 8, 50);
    Invalidate();
}

void TNumIO2::SetButSpace(int v)
{
    FButSpace = std::clamp(v, 0, 50);
    Invalidate();
}

void TNumIO2::SetDecPlaceSep(TDecPSep v)
{
    if (v == FDecPlaceSep)
        return;
    if (v != dpsBoth) {
        const QChar to = DecPSepChar(v);
        if (FDecPlaceSep == dpsBoth) {
            FBuffer.replace(QLatin1Char('.'), to);
            FBuffer.replace(QLatin1Char(','), to);
        } else {
            const QChar from = DecPSepChar(FDecPlaceSep);
            if (from != to)
                FBuffer.replace(from, to);
        }
    }
    FDecPlaceSep = v;
    Invalidate();
}

void TNumIO2::SetFixPointDecPlaces(int v)
{
    if (v <= 0)
        return;
    const double value = Value();
    FFixPointDecPlaces = std::min(v, 15);
    SetValue(value);
}

void TNumIO2::SetSignificantDigits(int v)
{
    if (v <= 0)
        return;
    const double value = Value();
    FSignificantDigits = std::min(v, 15);
    SetValue(value);
}

void TNumIO2::SetFreezeBoxChecked(bool v)
{
    const bool changed = Store(FFreezeBoxChecked, v);
    SetReadOnly(v);
    Invalidate();
    if (changed) {
        AccessiblePartsChanged();
        emit freezeBoxCheckedChanged(v);
    }
}

void TNumIO2::SetFreezeBoxSize(int v)
{
    FFreezeBoxSize = std::clamp(v, 12, 25);
    FFreezeBoxTop = (height() - (FGaugeHeight + FGaugeTopMargin + FFreezeBoxSize + 1)) / 2;
    Invalidate();
}

void TNumIO2::SetGaugeHeight(int v)
{
    FGaugeHeight = std::max(3, std::min(v, height() - FGaugeTopMargin - 18));
    Invalidate();
}

void TNumIO2::SetGaugeWidth(int v)
{
    FGaugeWidth = std::max(10, std::min(v, width() - FGaugeLeftMargin));
    Invalidate();
}

void TNumIO2::SetGaugeLeftMargin(int v)
{
    FGaugeLeftMargin = std::max(0, std::min(v, width() - FGaugeWidth));
    Invalidate();
}

void TNumIO2::SetGaugeTopMargin(int v)
{
    FGaugeTopMargin = std::max(0, std::min(v, height() - FGaugeHeight - 18));
    Invalidate();
}

void TNumIO2::SetInputFormat(TInFormat v)
{
    if (v == FInputFormat)
        return;
    const double value = Value();
    FInputFormat = v;
    SetValue(value);
}

void TNumIO2::SetLeftSpace(int v)
{
    if (v < 0)
        return;
    FLeftSpace = std::min(v, width());
    Invalidate();
}

void TNumIO2::SetRangeLow(double v)
{
    FRangeLow = v;
    if (FRangeHigh < v)
        FRangeHigh = v;
    Invalidate();
}

void TNumIO2::SetRangeHigh(double v)
{
    FRangeHigh = v;
    if (FRangeLow > v)
        FRangeLow = v;
    Invalidate();
}

void TNumIO2::SetReadOnly(bool v)
{
    if (v != FReadOnly) {
        FReadOnly = v;
        QAccessible::State changed;
        changed.readOnly = changed.editable = true;
        AccessibleStateChanged(changed);
    }
    if (v) {
        FCaretTimer->Stop();
        FCaretVisible = false;
        Invalidate();
    } else if (hasFocus()) {
        StartCaretTimer();
    }
}

void TNumIO2::SetText(const QString& v)
{
    if (!v.isEmpty() && !CheckValidity(v))
        return;
    const QString old = FBuffer;
    FBuffer = v;
    FCaret = FSelBegin = FSelEnd = 0;
    Invalidate();
    ReportTextChange(old);
}

void TNumIO2::SetTextBoxWidth(int v)
{
    FTextBoxWidth = std::max(0, v);
    Invalidate();
}

void TNumIO2::SetSelBegin(int v)
{
    FSelBegin = std::clamp(v, 0, int(FBuffer.size()));
    FCaret = FSelBegin;
    if (FSelEnd < FSelBegin)
        FSelEnd = FSelBegin;
    Invalidate();
}

void TNumIO2::SetSelEnd(int v)
{
    FSelEnd = std::clamp(v, 0, int(FBuffer.size()));
    FCaret = FSelEnd;
    if (FSelBegin > FSelEnd)
        FSelBegin = FSelEnd;
    Invalidate();
}

void TNumIO2::Resized()
{
    if (FButHeight > height())
        FButHeight = std::max(18, height());
}

// ---------------------------------------------------------------------------------------------
// Assign

void TNumIO2::Assign(const QObject* Source)
{
    const auto* s = qobject_cast<const TNumIO2*>(Source);
    if (!s) {
        TCustomControl::Assign(Source);
        return;
    }
    FLeftSpace = s->FLeftSpace;
    FTextBoxWidth = s->FTextBoxWidth;
    FFixPointDecPlaces = s->FFixPointDecPlaces;
    FSignificantDigits = s->FSignificantDigits;
    FLeftText = s->FLeftText;
    FRightText = s->FRightText;
    FFrameStyle = s->FFrameStyle;
    FFreezeBoxVisible = s->FFreezeBoxVisible;
    FFreezeBoxSize = s->FFreezeBoxSize;
    FFreezeBoxLeft = s->FFreezeBoxLeft;
    FFreezeBoxTop = s->FFreezeBoxTop;
    FFreezeBoxChecked = s->FFreezeBoxChecked;
    FHideInputOnFreeze = s->FHideInputOnFreeze;
    FAlignment = s->FAlignment;
    FLeftTextAlignment = s->FLeftTextAlignment;
    FRightTextAlignment = s->FRightTextAlignment;
    FColorBoxBG = s->FColorBoxBG;
    FColorBoxText = s->FColorBoxText;
    FColorOutBG = s->FColorOutBG;
    FColorOutText = s->FColorOutText;
    FColorScheme = s->FColorScheme;
    FInputFormat = s->FInputFormat;
    const QString oldBuffer = FBuffer;
    FBuffer = s->FBuffer;
    FCaret = s->FCaret;
    FCaretVisible = s->FCaretVisible;
    FMouseAreaCode = s->FMouseAreaCode;
    FColorWarnBG = s->FColorWarnBG;
    FColorWarnText = s->FColorWarnText;
    FSelBegin = s->FSelBegin;
    FSelEnd = s->FSelEnd;
    FDecPlaceSep = s->FDecPlaceSep;
    FHideSelection = s->FHideSelection;
    FHideInputEditor = s->FHideInputEditor;
    FRangeHigh = s->FRangeHigh;
    FRangeLow = s->FRangeLow;
    FBeep = s->FBeep;
    FReadOnly = s->FReadOnly;
    FAutoSize = s->FAutoSize;
    if (FReadOnly)
        FCaretTimer->Stop();
    Invalidate();
    AccessiblePartsChanged();
    ReportTextChange(oldBuffer);
}

void TNumIO2::AssignTo(QObject* Dest) const
{
    if (!AssignToSameClass<TNumIO2>(Dest))
        TCustomControl::AssignTo(Dest);
}

} // namespace qor
