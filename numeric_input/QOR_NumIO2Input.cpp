// TNumIO2 input: the caret, the keyboard editing with its online check, the mouse on the
// text, the buttons, the gauge and the freeze box.
#include "QOR_NumIO2.h"

#include <QFocusEvent>
#include <QKeyEvent>

#include <algorithm>
#include <cmath>

namespace qor {

// ---------------------------------------------------------------------------------------------
// Caret

void TNumIO2::StartCaretTimer()
{
    FCaretTimer->Stop();
    FCaretVisible = true;
    FCaretTimer->Start(CaretBlinkMs);
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
    // "$", "%" and "&" come as keys of their own from Qt; the field takes them as the shifted
    // digits 4, 5 and 6 that type them.
    int digit = 0;
    switch (e->key()) {
    case Qt::Key_Dollar: digit = Qt::Key_4; break;
    case Qt::Key_Percent: digit = Qt::Key_5; break;
    case Qt::Key_Ampersand: digit = Qt::Key_6; break;
    default: TCustomControl::keyPressEvent(e); return;
    }
    QKeyEvent shifted(e->type(), digit, e->modifiers() | Qt::ShiftModifier, e->text());
    TCustomControl::keyPressEvent(&shifted);
    e->setAccepted(shifted.isAccepted());
}

void TNumIO2::KeyDown(WORD& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);  // OnKeyDown first; a handler may swallow the key
    if (Key != 0 && EditKey(Key, Shift))
        UseKey();
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

bool TNumIO2::EditKey(WORD Key, TShiftState Shift)
{
    if (Key == VK_SHIFT || Key == VK_CONTROL)
        return true;
    const bool ctrl = Shift.Contains(ssCtrl);
    if (FReadOnly && !(ctrl && Key == 'C'))
        return false;
    // Enter and Escape belong to the dialog the field sits on (its default and cancel buttons).
    if (Key == VK_RETURN || Key == VK_ESCAPE)
        return false;
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
            return false;
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
            return true;
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
                return false;
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
    ReportTextChange(savedBuffer);
    ReportCaret(savedCaret, savedSelBegin, savedSelEnd);
    return true;
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
        const int oldCaret = FCaret, oldBegin = FSelBegin, oldEnd = FSelEnd;
        FCaret = XCoordsToCharPos(X);
        FSelBegin = FSelEnd = FCaret;
        ReportCaret(oldCaret, oldBegin, oldEnd);
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
        if (X > x0 && X < x0 + FFreezeBoxSize && Y > FFreezeBoxTop && Y < FFreezeBoxTop + FFreezeBoxSize)
            ToggleFreeze();
    }
    Invalidate();
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TNumIO2::ToggleFreeze()
{
    const bool checked = !FFreezeBoxChecked;
    FFreezeBoxChecked = checked;
    const bool hidden = FHideInputOnFreeze && checked;
    const bool hiddenChanged = hidden != FHideInputEditor;
    FHideInputEditor = hidden;
    SetReadOnly(checked);
    Invalidate();
    AccessiblePartsChanged();
    if (hiddenChanged)
        AccessibleValueChanged();
    emit freezeBoxCheckedChanged(checked);
    Changed();
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
            Notify(this, OnGaugeChange, &TNumIO2::gaugeChange, Shift, v);
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

} // namespace qor
