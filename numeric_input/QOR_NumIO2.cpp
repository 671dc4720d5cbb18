#include "QOR_NumIO2.h"

#include <QFocusEvent>
#include <QKeyEvent>

#include <algorithm>
#include <cmath>
#include <limits>

namespace qor {

namespace {

constexpr TColor kGray = TColor(0x808080);
constexpr int kCaretBlinkMs = 500;
const QString& MeasureString()
{
    static const QString s = QStringLiteral("(8g]}\u00DC\u00C4\u00A7");
    return s;
}

// Round to nearest (ties to even) without the conversion error of Round for values beyond
// 64 bits: the fields must be able to render any double they are given.
std::int64_t SafeRound(double v)
{
    if (std::isnan(v))
        return 0;
    constexpr double lim = 9.2e18;
    return Round(std::clamp(v, -lim, lim));
}

} // namespace

TNumIO2::TNumIO2(QWidget* AOwner)
    : TCustomControl(AOwner)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setMinimumHeight(18);
    setMouseTracking(true);  // MouseAreaCode follows the mouse without a button held
    resize(160, 28);
    FCaretTimer = new TWindowTimer(this);
    FCaretTimer->SetInterval(kCaretBlinkMs);
    FCaretTimer->OnTimer = [this] { CaretTimerStep(); };
    // The caret shows once the field has the focus (see focusInEvent).
}

TNumIO2::~TNumIO2() = default;

// ---------------------------------------------------------------------------------------------
// Caret

void TNumIO2::StartCaretTimer()
{
    FCaretTimer->Stop();
    FCaretVisible = true;
    FCaretTimer->Start(kCaretBlinkMs);
    Invalidate();
}

void TNumIO2::CaretTimerStep()
{
    if (hasFocus()) {
        FCaretVisible = !FCaretVisible;
    } else {
        FCaretTimer->Stop();
        FCaretVisible = false;
    }
    Invalidate();
}

void TNumIO2::SetFocus()
{
    setFocus(Qt::OtherFocusReason);
    if (!FReadOnly)
        StartCaretTimer();
}

void TNumIO2::focusInEvent(QFocusEvent* e)
{
    TCustomControl::focusInEvent(e);
    if (!FReadOnly)
        StartCaretTimer();
}

void TNumIO2::focusOutEvent(QFocusEvent* e)
{
    TCustomControl::focusOutEvent(e);
    // No caret outside the focus, and a hidden selection disappears at once.
    FCaretTimer->Stop();
    FCaretVisible = false;
    Invalidate();
}

void TNumIO2::Click()
{
    if (!FReadOnly)
        StartCaretTimer();
    TCustomControl::Click();
}

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
    case itDynamic: return IntToStr(SafeRound(v));
    case itHex: return HexDigitStr(std::int32_t(std::uint32_t(SafeRound(v))), 8);
    case itOct: return OctDigitStr(std::int32_t(std::uint32_t(SafeRound(v))), 11);
    case itBin: return BinDigitStr(std::int32_t(std::uint32_t(SafeRound(v))), 32);
    }
    // A field that accepts only the comma must not be handed a "." it would then refuse.
    if (ResolveDecPSep(FDecPlaceSep) == 2)
        s.replace(QLatin1Char('.'), QLatin1Char(','));
    return s;
}

double TNumIO2::Value() const { return ValueOfText(FBuffer); }

void TNumIO2::SetValue(double v)
{
    FBuffer = TextOfValue(v);
    const int len = int(FBuffer.size());
    FCaret = std::min(FCaret, len);
    FSelBegin = std::min(FSelBegin, len);
    FSelEnd = std::min(FSelEnd, len);
    Invalidate();
}

int TNumIO2::IntegerValue() const
{
    const double v = Value();
    const std::int64_t r = SafeRound(v);
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
    if (OnChange)
        OnChange(this);
}

// ---------------------------------------------------------------------------------------------
// Property writers

#define QOR_NUMIO2_SETTER(Name, Type, Field) \
    void TNumIO2::Set##Name(Type v)          \
    {                                        \
        if (v != Field) {                    \
            Field = v;                       \
            Invalidate();                    \
        }                                    \
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
QOR_NUMIO2_SETTER(FreezeBoxVisible, bool, FFreezeBoxVisible)
QOR_NUMIO2_SETTER(FreezeBoxLeft, int, FFreezeBoxLeft)
QOR_NUMIO2_SETTER(FreezeBoxTop, int, FFreezeBoxTop)
QOR_NUMIO2_SETTER(GaugeVisible, bool, FGaugeVisible)
QOR_NUMIO2_SETTER(GaugeColor, TColor, FGaugeColor)
QOR_NUMIO2_SETTER(GaugeColorBg, TColor, FGaugeColorBg)
QOR_NUMIO2_SETTER(GaugeColorFrame, TColor, FGaugeColorFrame)
QOR_NUMIO2_SETTER(GaugeFrameStyle, TFrameStyle, FGaugeFrameStyle)
QOR_NUMIO2_SETTER(HideInputEditor, bool, FHideInputEditor)
QOR_NUMIO2_SETTER(HideSelection, bool, FHideSelection)
QOR_NUMIO2_SETTER(LeftText, const QString&, FLeftText)
QOR_NUMIO2_SETTER(RightText, const QString&, FRightText)
QOR_NUMIO2_SETTER(LeftTextAlignment, TAlignment, FLeftTextAlignment)
QOR_NUMIO2_SETTER(RightTextAlignment, TAlignment, FRightTextAlignment)

#undef QOR_NUMIO2_SETTER

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
    FFreezeBoxChecked = v;
    SetReadOnly(v);
    Invalidate();
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
    FReadOnly = v;
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
    FBuffer = v;
    FCaret = FSelBegin = FSelEnd = 0;
    Invalidate();
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

void TNumIO2::resizeEvent(QResizeEvent* e)
{
    if (FButHeight > height())
        FButHeight = std::max(18, height());
    TCustomControl::resizeEvent(e);
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
}

void TNumIO2::AssignTo(QObject* Dest) const
{
    if (!AssignToSameClass<TNumIO2>(Dest))
        TCustomControl::AssignTo(Dest);
}

// ---------------------------------------------------------------------------------------------
// Geometry helpers

void TNumIO2::PrepareFont()
{
    TFont* f = Canvas()->Font();
    if (!(*f == *Font()))
        f->Assign(*Font());
}

int TNumIO2::TextW(const QString& s)
{
    PrepareFont();
    return Canvas()->TextWidth(s);
}

TColor TNumIO2::GrayLine() const { return FColorScheme == csGrayWhite ? kGray : clBtnShadow; }
TColor TNumIO2::WhiteLine() const { return FColorScheme == csGrayWhite ? clWhite : clBtnHighlight; }

int TNumIO2::GaugeReserve() const
{
    return FGaugeVisible ? FGaugeHeight + FGaugeTopMargin + 1 : 0;
}

int TNumIO2::FreezeBoxX() const
{
    int x = FLeftSpace + FTextBoxWidth + FFreezeBoxLeft + 8;
    if (FButVisible)
        x += FButWidth + FButSpace;
    return x;
}

int TNumIO2::CharPosToXCoords(int CharPos)
{
    const int wn = TextW(FBuffer.left(std::clamp(CharPos, 0, int(FBuffer.size()))));
    const int W = TextW(FBuffer);
    switch (FAlignment) {
    case taLeftJustify: return wn + FLeftSpace + 4;
    case taRightJustify: return wn + FLeftSpace + FTextBoxWidth - W - 2;
    default: return wn + FLeftSpace + (FTextBoxWidth - W) / 2 + 2;
    }
}

int TNumIO2::XCoordsToCharPos(int X)
{
    const int len = int(FBuffer.size());
    if (len == 0)
        return 0;
    const int W = TextW(FBuffer);
    const int a = W / len;
    if (a <= 0)
        return 0;  // zero-width text: every column maps to the start
    int d;
    switch (FAlignment) {
    case taLeftJustify: d = X - FLeftSpace - 3; break;
    case taRightJustify: d = X + W - FLeftSpace - FTextBoxWidth + 3; break;
    default: d = X - FLeftSpace - (FTextBoxWidth - W) / 2 - 1; break;
    }
    d = std::clamp(d, 0, W);
    // The mean width may overshoot for narrow characters; the caret stays inside the text.
    return std::min((d + a / 2) / a, len);
}

// ---------------------------------------------------------------------------------------------
// Keyboard

namespace {

// The character a key types into the field, or a null QChar.
QChar KeyCharacter(WORD key, bool shift)
{
    if (key >= '0' && key <= '9') {
        if (shift && key == '4')
            return QLatin1Char('$');
        if (shift && key == '5')
            return QLatin1Char('%');
        if (shift && key == '6')
            return QLatin1Char('&');
        return QChar(char16_t(key));
    }
    if (key >= 'A' && key <= 'F')
        return QChar(char16_t(key));
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9)
        return QChar(char16_t('0' + key - VK_NUMPAD0));
    switch (key) {
    case VK_ADD: case VK_OEM_PLUS: return QLatin1Char('+');
    case VK_SUBTRACT: case VK_OEM_MINUS: return QLatin1Char('-');
    case VK_DECIMAL: case VK_OEM_COMMA: return QLatin1Char(',');
    case VK_OEM_PERIOD: return QLatin1Char('.');
    default: return QChar();
    }
}

} // namespace

void TNumIO2::keyPressEvent(QKeyEvent* e)
{
    // The virtual key of the press, with the keypad keys told apart and the characters a
    // keyboard layout delivers directly ("$" "%" "&") brought back to their shifted digits.
    WORD key = VirtualKeyFromQt(e->key());
    TShiftState shift = ShiftFromQt(e->modifiers());
    const bool keypad = e->modifiers() & Qt::KeypadModifier;
    switch (e->key()) {
    case Qt::Key_Dollar: key = '4'; shift.Include(ssShift); break;
    case Qt::Key_Percent: key = '5'; shift.Include(ssShift); break;
    case Qt::Key_Ampersand: key = '6'; shift.Include(ssShift); break;
    case Qt::Key_Plus: if (keypad) key = VK_ADD; break;
    case Qt::Key_Minus: if (keypad) key = VK_SUBTRACT; break;
    case Qt::Key_Period: case Qt::Key_Comma: if (keypad) key = VK_DECIMAL; break;
    default:
        if (keypad && e->key() >= Qt::Key_0 && e->key() <= Qt::Key_9)
            key = WORD(VK_NUMPAD0 + (e->key() - Qt::Key_0));
        break;
    }
    e->accept();
    if (key == 0) {
        if (FBeep && !FReadOnly && !e->text().isEmpty())
            MessageBeep();
        return;
    }
    KeyDown(key, shift);
    if (key == 0)
        return;
    QChar ch = KeyCharFromQt(e);
    if (!ch.isNull())
        KeyPress(ch);
}

void TNumIO2::KeyDown(WORD& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);  // OnKeyDown first; a handler may swallow the key
    if (Key != 0)
        EditKey(Key, Shift);
}

void TNumIO2::DeleteSelection()
{
    if (FSelBegin < FSelEnd)
        FBuffer.remove(FSelBegin, FSelEnd - FSelBegin);
    FCaret = FSelEnd = FSelBegin;
}

void TNumIO2::InsertText(const QString& s)
{
    FCaret = std::clamp(FCaret, 0, int(FBuffer.size()));
    FBuffer.insert(FCaret, s);
    FCaret += int(s.size());
}

void TNumIO2::EditKey(WORD Key, TShiftState Shift)
{
    if (Key == VK_SHIFT || Key == VK_CONTROL)
        return;
    const bool ctrl = Shift.Contains(ssCtrl);
    if (FReadOnly && !(ctrl && Key == 'C'))
        return;
    const QString savedBuffer = FBuffer;
    const int savedCaret = FCaret, savedSelBegin = FSelBegin, savedSelEnd = FSelEnd;
    const bool hasSelection = FSelBegin < FSelEnd;
    const QString selected = hasSelection ? FBuffer.mid(FSelBegin, FSelEnd - FSelBegin) : QString();
    bool changed = false;
    bool moved = false;
    // Removing a selection by Delete, Backspace or Ctrl+X leaves the zero of the format
    // rather than an empty box.
    auto deleteSelectionToZero = [&] {
        DeleteSelection();
        if (FBuffer.isEmpty())
            SetValue(0.0);
        changed = true;
    };

    if (ctrl) {
        switch (Key) {
        case 'C':
            if (hasSelection)
                SetClipboardText(selected);
            break;
        case 'X':
            if (hasSelection) {
                SetClipboardText(selected);
                deleteSelectionToZero();
            }
            break;
        case 'V': {
            const QString clip = ClipboardText();
            if (!clip.isEmpty()) {
                DeleteSelection();
                InsertText(clip);
                FSelBegin = FSelEnd = 0;
                changed = true;
            }
            break;
        }
        default:
            if (FBeep)
                MessageBeep();
            break;
        }
    } else {
        const int len = int(FBuffer.size());
        switch (Key) {
        case VK_BACK:
            if (hasSelection) {
                deleteSelectionToZero();
            } else if (FCaret > 0) {
                FBuffer.remove(FCaret - 1, 1);
                --FCaret;
                changed = true;
            }
            break;
        case VK_DELETE:
            if (hasSelection) {
                deleteSelectionToZero();
            } else if (FCaret < len) {
                FBuffer.remove(FCaret, 1);
                changed = true;
            }
            break;
        case VK_TAB:
            focusNextChild();
            return;
        case VK_HOME: FCaret = 0; moved = true; break;
        case VK_END: FCaret = len; moved = true; break;
        case VK_LEFT:
        case VK_UP: FCaret = std::max(0, FCaret - 1); moved = true; break;
        case VK_RIGHT:
        case VK_DOWN: FCaret = std::min(len, FCaret + 1); moved = true; break;
        default: {
            const QChar ch = KeyCharacter(Key, Shift.Contains(ssShift));
            if (ch.isNull()) {
                if (FBeep)
                    MessageBeep();
                break;
            }
            DeleteSelection();
            InsertText(QString(ch));
            changed = true;
            break;
        }
        }
    }

    // The edited text stands only if it is (the start of) a number of the format.
    if (changed && !(FBuffer.isEmpty() || FBuffer == QLatin1String("-") || FBuffer == QLatin1String("+")
                     || CheckValidity(FBuffer))) {
        FBuffer = savedBuffer;
        FCaret = savedCaret;
        FSelBegin = savedSelBegin;
        FSelEnd = savedSelEnd;
        changed = false;
        if (FBeep)
            MessageBeep();
    }

    if (FInputFormat == itFixPoint) {
        // Inside the decimals the next digit overwrites the one after the caret.
        if (FCaret > FBuffer.size() - FFixPointDecPlaces - 1) {
            FSelBegin = FCaret;
            FSelEnd = std::min(FCaret + 1, int(FBuffer.size()));
        } else {
            FSelBegin = FSelEnd = FCaret;
        }
    } else if (changed || moved) {
        FSelBegin = FSelEnd = FCaret;
    }
    FCaretVisible = true;
    if (changed)
        Changed();
    Invalidate();
}

// ---------------------------------------------------------------------------------------------
// Mouse

double TNumIO2::GaugeValueAt(int X) const
{
    double v = FRangeLow + double(X - FGaugeLeftMargin) / double(std::max(1, FGaugeWidth)) * (FRangeHigh - FRangeLow);
    if (!ButtonPivots.isEmpty())
        v = SnapToPivot(v);
    return std::clamp(v, FRangeLow, FRangeHigh);
}

int TNumIO2::NearestPivot(double v) const
{
    int best = 0;
    for (int i = 1; i < ButtonPivots.size(); ++i)
        if (std::abs(ButtonPivots[i] - v) < std::abs(ButtonPivots[best] - v))
            best = i;
    return best;
}

double TNumIO2::SnapToPivot(double v) const
{
    return ButtonPivots[NearestPivot(v)];
}

void TNumIO2::StepButton(bool up)
{
    const double value = Value();
    double next;
    if (ButtonPivots.isEmpty()) {
        next = std::clamp(up ? value + FButIncrem : value - FButIncrem, FRangeLow, FRangeHigh);
    } else {
        const double e = std::pow(10.0, -FFixPointDecPlaces);
        const int i = NearestPivot(value);
        const int last = int(ButtonPivots.size()) - 1;
        if (up)
            next = (value >= ButtonPivots[i] - e && i < last) ? ButtonPivots[i + 1] : ButtonPivots[i];
        else
            next = (value <= ButtonPivots[i] + e && i > 0) ? ButtonPivots[i - 1] : ButtonPivots[i];
    }
    SetValue(next);
    Changed();
}

void TNumIO2::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const int R = GaugeReserve();
    const int H = height();
    if (!FReadOnly)
        FCaretVisible = true;
    if (Y > 0 && Y < H - R) {
        FCaret = XCoordsToCharPos(X);
        FSelBegin = FSelEnd = FCaret;
    }
    if (Button == mbLeft && !FReadOnly) {
        if (FGaugeVisible && Y > H - R && X >= FGaugeLeftMargin && X <= FGaugeLeftMargin + FGaugeWidth) {
            SetValue(GaugeValueAt(X));
            FGaugeChanged = true;
        }
        const int bx = FLeftSpace + FTextBoxWidth + FButSpace;
        if (FButVisible && X > bx && X < bx + FButWidth && Y > 0 && Y < FButHeight)
            StepButton(Y <= FButHeight / 2);
    }
    if (Button == mbLeft && FFreezeBoxVisible) {
        const int x0 = FreezeBoxX();
        if (X > x0 && X < x0 + FFreezeBoxSize && Y > FFreezeBoxTop && Y < FFreezeBoxTop + FFreezeBoxSize) {
            const bool checked = !FFreezeBoxChecked;
            FFreezeBoxChecked = checked;
            FHideInputEditor = FHideInputOnFreeze && checked;
            SetReadOnly(checked);
            Changed();
        }
    }
    Invalidate();
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TNumIO2::MouseMove(TShiftState Shift, int X, int Y)
{
    FMouseAreaCode = X > FLeftSpace + FTextBoxWidth ? 2 : X > FLeftSpace ? 1 : 0;
    if (Shift.Contains(ssLeft)) {
        const int R = GaugeReserve();
        const int H = height();
        if (Y > 0 && Y < H - R) {
            const int pos = XCoordsToCharPos(X);
            if (pos > FSelBegin)
                FSelEnd = pos;
            else
                FSelBegin = pos;
            Invalidate();
        } else if (FGaugeVisible && !FReadOnly && Y > H - R && X >= FGaugeLeftMargin - 1
                   && X <= FGaugeLeftMargin + FGaugeWidth + 1) {
            const double v = GaugeValueAt(X);
            SetValue(v);
            FGaugeChanged = true;
            if (OnGaugeChange)
                OnGaugeChange(this, Shift, v);
        }
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TNumIO2::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (FGaugeChanged) {
        FGaugeChanged = false;
        Changed();
    }
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

// ---------------------------------------------------------------------------------------------
// Painting

void TNumIO2::BoxFrame(TCanvas* c, int l, int t, int r, int b, bool flag)
{
    TColor pen;
    switch (FFrameStyle) {
    case fsNone: pen = flag ? FColorBoxBG : clSilver; break;
    case fsEmbossed: pen = WhiteLine(); break;
    default: pen = GrayLine(); break;
    }
    c->Pen()->SetColor(pen);
    if (FFrameStyle == fsNone || FFrameStyle == fsSimple) {
        c->Rectangle(l, t, r, b);
        return;
    }
    c->Rectangle(l, t, r - 1, b - 1);
    TColor upperLeft = clBlack, lowerRight = WhiteLine();
    switch (FFrameStyle) {
    case fsRaised: upperLeft = WhiteLine(); lowerRight = clBlack; break;
    case fsEmbossed: upperLeft = lowerRight = GrayLine(); break;
    case fsEngraved: upperLeft = lowerRight = WhiteLine(); break;
    default: break;
    }
    c->Pen()->SetColor(upperLeft);
    c->Polyline({QPoint(l + 1, b - 3), QPoint(l + 1, t + 1), QPoint(r - 2, t + 1)});
    c->Pen()->SetColor(lowerRight);
    c->Polyline({QPoint(l + 1, b - 1), QPoint(r - 1, b - 1), QPoint(r - 1, t)});
}

void TNumIO2::DrawCaption(TCanvas* c, const QString& s, int x, int y)
{
    c->Brush()->SetStyle(bsClear);
    if (isEnabled()) {
        c->Font()->SetColor(FColorOutText);
        c->TextOut(x, y, s);
        return;
    }
    // Engraved: a white copy one pixel right and down under the gray text.
    c->Font()->SetColor(clWhite);
    c->TextOut(x + 1, y + 1, s);
    c->Font()->SetColor(kGray);
    c->TextOut(x, y, s);
}

void TNumIO2::Paint()
{
    TCanvas* c = Canvas();
    PrepareFont();
    if (FAutoSize) {
        const int want = c->TextHeight(QStringLiteral("E0")) + 6;
        if (want != height()) {
            resize(width(), want);
            c = Canvas();
            PrepareFont();
        }
    }
    const int W = width();
    const int H = height();
    const int R = GaugeReserve();
    const bool disabled = !isEnabled();
    const int TH = c->TextHeight(MeasureString());
    const int ty = (H - R - TH) / 2;
    const double value = Value();
    const bool outOfRange = value < FRangeLow || value > FRangeHigh;
    c->SetCopyMode(cmSrcCopy);
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetMode(pmCopy);
    c->Pen()->SetWidth(1);

    // 1. background
    c->Brush()->SetColor(FColorOutBG);
    c->FillRect(0, 0, W, H);

    // 2. left caption
    if (!FLeftText.isEmpty()) {
        const int w = c->TextWidth(FLeftText);
        const int x = FLeftTextAlignment == taLeftJustify ? 7
                      : FLeftTextAlignment == taRightJustify ? FLeftSpace - w - 5
                                                             : (FLeftSpace - w) / 2;
        DrawCaption(c, FLeftText, x, ty);
    }

    // 3. up/down buttons
    const int S = FButVisible ? FButWidth + FButSpace : 0;
    if (FButVisible) {
        const int h = FButHeight / 2;
        const int bx = FLeftSpace + FTextBoxWidth + FButSpace;
        const int bx2 = bx + FButWidth;
        c->Pen()->SetColor(kGray);
        c->Brush()->SetColor(FButColor);
        c->Rectangle(bx, 0, bx2 + 1, 2 * h - 1);
        c->MoveTo(bx, h - 1);
        c->LineTo(bx2, h - 1);
        if (FBut3D) {
            c->Pen()->SetColor(clWhite);
            c->Polyline({QPoint(bx + 1, 2 * h - 3), QPoint(bx + 1, h), QPoint(bx2, h)});
            c->Polyline({QPoint(bx + 1, h - 2), QPoint(bx + 1, 1), QPoint(bx2, 1)});
            c->Pen()->SetColor(clBlack);
            c->Polyline({QPoint(bx + 1, 2 * h - 1), QPoint(bx2 + 1, 2 * h - 1), QPoint(bx2 + 1, 1)});
        }
        c->Pen()->SetColor(disabled || FReadOnly ? kGray : clBlack);
        const int cx = bx + FButWidth / 2;
        const int hd = h / 2;
        auto hline = [c](int x1, int x2, int y) { c->MoveTo(x1, y); c->LineTo(x2, y); };
        hline(cx, cx + 2, hd - 1);
        hline(cx - 1, cx + 3, hd);
        hline(cx - 2, cx + 4, hd + 1);
        hline(cx, cx + 2, hd + h);
        hline(cx - 1, cx + 3, hd + h - 1);
        hline(cx - 2, cx + 4, hd + h - 2);
    }

    // 4. right caption
    if (!FRightText.isEmpty()) {
        const int w = c->TextWidth(FRightText);
        const int boxEnd = FLeftSpace + S + FTextBoxWidth;
        const int x = FRightTextAlignment == taLeftJustify ? boxEnd + 7
                      : FRightTextAlignment == taRightJustify ? W - w - 6
                                                              : (W - (boxEnd + w)) / 2 + boxEnd + 1;
        DrawCaption(c, FRightText, x, ty);
    }

    // 5. freeze box
    if (FFreezeBoxVisible) {
        const int x0 = FreezeBoxX();
        const int t = FFreezeBoxTop;
        const int n = FFreezeBoxSize;
        c->Brush()->SetColor(disabled ? clSilver : FColorBoxBG);
        BoxFrame(c, x0, t, x0 + n, t + n, !disabled);
        if (FFreezeBoxChecked) {
            const int cx = x0 + n / 2;
            const int cy = t + n / 2;
            c->Pen()->SetColor(clBlack);
            c->Polyline({QPoint(cx - 4, cy + 1), QPoint(cx - 2, cy + 3), QPoint(cx + 4, cy - 3)});
            c->Polyline({QPoint(cx - 3, cy + 1), QPoint(cx - 1, cy + 3), QPoint(cx + 5, cy - 3)});
        }
    }

    // 6. gauge
    if (FGaugeVisible) {
        const int gl = FGaugeLeftMargin;
        const int gw = FGaugeWidth;
        const int y1 = H - R + FGaugeTopMargin;
        const int y2 = y1 + FGaugeHeight;
        c->Brush()->SetColor(FGaugeColorBg);
        c->Pen()->SetColor(FGaugeFrameStyle != fsNone ? FGaugeColorFrame : FGaugeColorBg);
        c->Rectangle(gl, y1, gl + gw, y2);
        double f = 1.0;
        if (FRangeHigh != FRangeLow)
            f = std::clamp((value - FRangeLow) / (FRangeHigh - FRangeLow), 0.0, 1.0);
        if (std::isnan(f))
            f = 0.0;
        const int bar = int(Round(gw * f));
        c->Brush()->SetColor(disabled || FReadOnly ? kGray : FGaugeColor);
        if (bar > 0)
            c->FillRect(gl, y1, gl + bar, y2);
        if (FGaugeFrameStyle != fsNone) {
            c->Brush()->SetStyle(bsClear);
            c->Pen()->SetColor(FGaugeFrameStyle == fsSimple ? FGaugeColorFrame
                               : FGaugeFrameStyle == fsEmbossed ? WhiteLine() : GrayLine());
            c->Rectangle(gl, y1, gl + gw, y2);
            if (FGaugeFrameStyle != fsSimple) {
                TColor upperLeft = clBlack, lowerRight = WhiteLine();
                switch (FGaugeFrameStyle) {
                case fsRaised: upperLeft = WhiteLine(); lowerRight = clBlack; break;
                case fsEmbossed: upperLeft = lowerRight = GrayLine(); break;
                case fsEngraved: upperLeft = lowerRight = WhiteLine(); break;
                default: break;
                }
                c->Pen()->SetColor(upperLeft);
                c->Polyline({QPoint(gl + 1, y2 - 2), QPoint(gl + 1, y1 + 1), QPoint(gl + gw - 1, y1 + 1)});
                c->Pen()->SetColor(lowerRight);
                c->Polyline({QPoint(gl + 1, y2), QPoint(gl + gw, y2), QPoint(gl + gw, y1)});
            }
        }
    }

    // 7. number box
    const bool grayed = disabled || FFreezeBoxChecked;
    c->Brush()->SetColor(grayed ? clSilver : outOfRange ? FColorWarnBG : FColorBoxBG);
    BoxFrame(c, FLeftSpace, 0, FLeftSpace + FTextBoxWidth + 2, H - R, FFreezeBoxChecked);

    // 8. number, caret and selection
    if (FHideInputEditor)
        return;
    const int Wt = c->TextWidth(FBuffer);
    const int wc = c->TextWidth(FBuffer.left(std::clamp(FCaret, 0, int(FBuffer.size()))));
    int x, k;
    switch (FAlignment) {
    case taLeftJustify:
        x = FLeftSpace + 4;
        k = wc + 3;
        break;
    case taRightJustify:
        x = FLeftSpace + FTextBoxWidth - Wt - 2;
        k = FTextBoxWidth + wc - Wt - 3;
        break;
    default:
        x = FLeftSpace + (FTextBoxWidth - Wt) / 2 + 2;
        k = wc + (FTextBoxWidth - Wt) / 2 + 1;
        break;
    }
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetColor(grayed ? kGray : outOfRange ? FColorWarnText : FColorBoxText);
    const QRect clip(QPoint(FLeftSpace + 3, 2), QPoint(FLeftSpace + FTextBoxWidth - 2, H - R - 4));
    c->TextRect(clip, x, ty, FBuffer);
    if (FCaretVisible && k > 0 && k < FTextBoxWidth) {
        c->Pen()->SetColor(clBlack);
        c->MoveTo(FLeftSpace + k, 3);
        c->LineTo(FLeftSpace + k, H - R - 3);
    }
    if (FSelBegin < FSelEnd && (hasFocus() || !FHideSelection)) {
        const int x1 = std::clamp(CharPosToXCoords(FSelBegin), FLeftSpace, FLeftSpace + FTextBoxWidth);
        const int x2 = std::clamp(CharPosToXCoords(FSelEnd), FLeftSpace, FLeftSpace + FTextBoxWidth);
        if (x2 > x1 && H - R - 3 > 3) {
            const QRect sel(QPoint(x1, 3), QPoint(x2 - 1, H - R - 4));
            c->SetCopyMode(cmNotSrcCopy);
            c->CopyRect(sel, *c, sel);
            c->SetCopyMode(cmSrcCopy);
        }
    }
}

} // namespace qor
