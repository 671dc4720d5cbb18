#include "QOR_Controls.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <QtMath>
#include <algorithm>

namespace qor {

// =============================================================================================
// Qt -> classic translation

TShiftState ShiftFromQt(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons)
{
    TShiftState s;
    if (mods & Qt::ShiftModifier)
        s.Include(ssShift);
    if (mods & Qt::AltModifier)
        s.Include(ssAlt);
    if (mods & Qt::ControlModifier)
        s.Include(ssCtrl);
    if (buttons & Qt::LeftButton)
        s.Include(ssLeft);
    if (buttons & Qt::RightButton)
        s.Include(ssRight);
    if (buttons & Qt::MiddleButton)
        s.Include(ssMiddle);
    return s;
}

bool MouseButtonFromQt(Qt::MouseButton b, TMouseButton& out)
{
    switch (b) {
    case Qt::LeftButton: out = mbLeft; return true;
    case Qt::RightButton: out = mbRight; return true;
    case Qt::MiddleButton: out = mbMiddle; return true;
    default: return false;
    }
}

WORD VirtualKeyFromQt(int k, Qt::KeyboardModifiers mods)
{
    if (mods & Qt::KeypadModifier) {
        if (k >= Qt::Key_0 && k <= Qt::Key_9)
            return WORD(VK_NUMPAD0 + (k - Qt::Key_0));
        switch (k) {
        case Qt::Key_Period: case Qt::Key_Comma: return VK_DECIMAL;
        case Qt::Key_Plus: return VK_ADD;
        case Qt::Key_Minus: return VK_SUBTRACT;
        case Qt::Key_Asterisk: return VK_MULTIPLY;
        case Qt::Key_Slash: return VK_DIVIDE;
        default: break;   // the keypad's navigation keys are the ordinary ones
        }
    }
    if (k >= Qt::Key_A && k <= Qt::Key_Z)
        return WORD('A' + (k - Qt::Key_A));
    if (k >= Qt::Key_0 && k <= Qt::Key_9)
        return WORD('0' + (k - Qt::Key_0));
    if (k >= Qt::Key_F1 && k <= Qt::Key_F12)
        return WORD(VK_F1 + (k - Qt::Key_F1));
    switch (k) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab: case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Clear: return VK_CLEAR;
    case Qt::Key_Return: case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Pause: return VK_PAUSE;
    case Qt::Key_CapsLock: return VK_CAPITAL;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Asterisk: return VK_MULTIPLY;
    case Qt::Key_Plus: return VK_OEM_PLUS;
    case Qt::Key_Comma: return VK_OEM_COMMA;
    case Qt::Key_Minus: return VK_OEM_MINUS;
    case Qt::Key_Period: return VK_OEM_PERIOD;
    case Qt::Key_Slash: return VK_DIVIDE;
    default: return 0;
    }
}

QChar KeyCharFromQt(const QKeyEvent* e)
{
    const int k = e->key();
    if ((e->modifiers() & Qt::ControlModifier) && k >= Qt::Key_A && k <= Qt::Key_Z)
        return QChar(char16_t(k - Qt::Key_A + 1));
    switch (k) {
    case Qt::Key_Return: case Qt::Key_Enter: return QChar(13);
    case Qt::Key_Backspace: return QChar(8);
    case Qt::Key_Escape: return QChar(27);
    case Qt::Key_Tab: return QChar(9);
    default: break;
    }
    const QString t = e->text();
    if (t.isEmpty() || (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return QChar();
    if (t[0].unicode() < 32 || t[0].unicode() == 127)
        return QChar();
    return t[0];
}

// =============================================================================================
// TControlEvents

void TControlEvents::Click()
{
    if (OnClick)
        OnClick(ComponentObject());
    EmitControlSignal(TControlSignal::Clicked, {});
}

void TControlEvents::DblClick()
{
    if (OnDblClick)
        OnDblClick(ComponentObject());
    EmitControlSignal(TControlSignal::DoubleClicked, {});
}

void TControlEvents::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseDown)
        OnMouseDown(ComponentObject(), Button, Shift, X, Y);
    EmitControlSignal(TControlSignal::MouseDown, {Button, Shift, X, Y});
}

void TControlEvents::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseUp)
        OnMouseUp(ComponentObject(), Button, Shift, X, Y);
    EmitControlSignal(TControlSignal::MouseUp, {Button, Shift, X, Y});
}

void TControlEvents::MouseMove(TShiftState Shift, int X, int Y)
{
    if (OnMouseMove)
        OnMouseMove(ComponentObject(), Shift, X, Y);
    EmitControlSignal(TControlSignal::MouseMove, {mbLeft, Shift, X, Y});
}

void TControlEvents::MouseEnter()
{
    if (OnMouseEnter)
        OnMouseEnter(ComponentObject());
    EmitControlSignal(TControlSignal::MouseEntered, {});
}

void TControlEvents::MouseLeave()
{
    if (OnMouseLeave)
        OnMouseLeave(ComponentObject());
    EmitControlSignal(TControlSignal::MouseLeft, {});
}

bool TControlEvents::DoMouseWheel(TShiftState Shift, int WheelDelta, QPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheel)
        OnMouseWheel(ComponentObject(), Shift, WheelDelta, MousePos, handled);
    if (!handled) {
        if (WheelDelta < 0)
            handled = DoMouseWheelDown(Shift, MousePos);
        else if (WheelDelta > 0)
            handled = DoMouseWheelUp(Shift, MousePos);
    }
    return handled;
}

bool TControlEvents::DoMouseWheelDown(TShiftState Shift, QPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheelDown)
        OnMouseWheelDown(ComponentObject(), Shift, MousePos, handled);
    return handled;
}

bool TControlEvents::DoMouseWheelUp(TShiftState Shift, QPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheelUp)
        OnMouseWheelUp(ComponentObject(), Shift, MousePos, handled);
    return handled;
}

void TControlEvents::KeyDown(WORD& Key, TShiftState Shift)
{
    if (OnKeyDown)
        OnKeyDown(ComponentObject(), Key, Shift);
}

void TControlEvents::KeyUp(WORD& Key, TShiftState Shift)
{
    if (OnKeyUp)
        OnKeyUp(ComponentObject(), Key, Shift);
}

void TControlEvents::KeyPress(QChar& Key)
{
    if (OnKeyPress)
        OnKeyPress(ComponentObject(), Key);
}

void TControlEvents::DoEnter()
{
    if (OnEnter)
        OnEnter(ComponentObject());
    EmitControlSignal(TControlSignal::Entered, {});
}

void TControlEvents::DoExit()
{
    if (OnExit)
        OnExit(ComponentObject());
    EmitControlSignal(TControlSignal::Exited, {});
}

void TControlEvents::Resize()
{
    if (OnResize)
        OnResize(ComponentObject());
    EmitControlSignal(TControlSignal::Resized, {});
}

void TControlEvents::DispatchMousePress(QMouseEvent* e)
{
    TMouseButton b;
    if (!MouseButtonFromQt(e->button(), b))
        return;
    const QPoint p = MapEventPos(e->position().toPoint());
    FClicked = b == mbLeft;
    MouseDown(b, ShiftFromQt(e->modifiers(), e->buttons()), p.x(), p.y());
}

void TControlEvents::DispatchMouseRelease(QMouseEvent* e, bool ClickOnRelease)
{
    TMouseButton b;
    if (!MouseButtonFromQt(e->button(), b))
        return;
    const QPoint p = MapEventPos(e->position().toPoint());
    const bool click = ClickOnRelease && FClicked && b == mbLeft;
    FClicked = false;
    MouseUp(b, ShiftFromQt(e->modifiers(), e->buttons()), p.x(), p.y());
    if (click) {
        const auto* w = dynamic_cast<const QWidget*>(ComponentObject());
        if (!w || w->rect().contains(e->position().toPoint()))
            Click();
    }
}

void TControlEvents::DispatchMouseDoubleClick(QMouseEvent* e)
{
    TMouseButton b;
    if (!MouseButtonFromQt(e->button(), b))
        return;
    const QPoint p = MapEventPos(e->position().toPoint());
    FClicked = false;
    if (b == mbLeft)
        DblClick();
    MouseDown(b, ShiftFromQt(e->modifiers(), e->buttons()).Include(ssDouble), p.x(), p.y());
}

void TControlEvents::DispatchMouseMove(QMouseEvent* e)
{
    const QPoint p = MapEventPos(e->position().toPoint());
    MouseMove(ShiftFromQt(e->modifiers(), e->buttons()), p.x(), p.y());
}

void TControlEvents::DispatchWheel(QWheelEvent* e)
{
    const int delta = e->angleDelta().y();
    const QPoint p = MapEventPos(e->position().toPoint());
    if (DoMouseWheel(ShiftFromQt(e->modifiers(), e->buttons()), delta, p))
        e->accept();
    else
        e->ignore();
}

bool TControlEvents::DispatchKeyPress(QKeyEvent* e)
{
    FKeyUsed = false;
    WORD key = VirtualKeyFromQt(e->key(), e->modifiers());
    const TShiftState shift = ShiftFromQt(e->modifiers());
    if (key != 0) {
        KeyDown(key, shift);
        if (key == 0)
            return true;
    }
    QChar ch = KeyCharFromQt(e);
    if (!ch.isNull()) {
        KeyPress(ch);
        if (ch.isNull())
            return true;
    }
    return FKeyUsed;
}

bool TControlEvents::DispatchKeyRelease(QKeyEvent* e)
{
    FKeyUsed = false;
    WORD key = VirtualKeyFromQt(e->key(), e->modifiers());
    if (key == 0)
        return false;
    KeyUp(key, ShiftFromQt(e->modifiers()));
    return key == 0 || FKeyUsed;
}

bool TControlEvents::DispatchContextMenu(QContextMenuEvent* e)
{
    bool handled = false;
    if (OnContextPopup)
        OnContextPopup(ComponentObject(), MapEventPos(e->pos()), handled);
    return handled;
}

// =============================================================================================
// Owner-drawn items

void PaintOwnerDrawnItem(QPainter* Painter, const QRect& Target, int Index, TOwnerDrawState State,
                         const TFont& Font, TColor Background, const TDrawItemEvent& Draw)
{
    if (Target.isEmpty())
        return;
    const qreal dpr = Painter->device() ? Painter->device()->devicePixelRatioF() : 1.0;
    QImage img(QSize(qCeil(Target.width() * dpr), qCeil(Target.height() * dpr)), QImage::Format_RGB32);
    img.setDevicePixelRatio(dpr);
    TBitmap bmp;
    bmp.SetImage(img);
    TCanvas* c = bmp.Canvas();
    c->Font()->Assign(Font);
    c->Brush()->SetColor(Background);
    const QRect rect(0, 0, Target.width(), Target.height());
    c->FillRect(rect);
    if (Draw)
        GuardedCall([&] { Draw(c, Index, rect, State); });
    Painter->drawImage(Target.topLeft(), bmp.Image());
}

TCanvasItemDelegate::TCanvasItemDelegate(TDrawItemEvent Draw, QObject* Parent)
    : QStyledItemDelegate(Parent), FDraw(std::move(Draw))
{
}

TOwnerDrawState TCanvasItemDelegate::StateOf(const QStyleOptionViewItem& Option)
{
    TOwnerDrawState s;
    if (Option.state & QStyle::State_Selected)
        s.Include(odSelected);
    if (!(Option.state & QStyle::State_Enabled))
        s.Include(odDisabled).Include(odGrayed);
    if (Option.state & QStyle::State_HasFocus)
        s.Include(odFocused);
    if (Option.state & QStyle::State_MouseOver)
        s.Include(odHotLight);
    return s;
}

void TCanvasItemDelegate::paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const
{
    const TOwnerDrawState state = StateOf(Option);
    const bool selected = state.Contains(odSelected);
    TFont font;
    font.AssignQFont(Option.font);
    font.SetColor(FromQColor(Option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text)));
    const TColor background = FromQColor(Option.palette.color(selected ? QPalette::Highlight : QPalette::Base));
    PaintOwnerDrawnItem(Painter, Option.rect, Index.row(), state, font, background, FDraw);
}

QSize TCanvasItemDelegate::sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const
{
    QSize s = QStyledItemDelegate::sizeHint(Option, Index);
    if (FItemHeight > 0)
        s.setHeight(FItemHeight);
    return s;
}

// =============================================================================================
// The bases

TCustomControl::TCustomControl(QWidget* AOwner)
    : TSurfaceHost<QWidget>(AOwner, clBtnFace)
{
}

TCustomControl::~TCustomControl() = default;

TGraphicControl::TGraphicControl(QWidget* AOwner)
    : TCustomControl(AOwner)
{
    setFocusPolicy(Qt::NoFocus);
}

TCustomEdit::TCustomEdit(QWidget* AOwner)
    : TControlHost<QLineEdit>(AOwner, clWindow)
{
    connect(this, &QLineEdit::textChanged, this, [this] { GuardedCall([this] { Change(); }); });
}

void TCustomEdit::Change()
{
    Notify(this, OnChange, &TCustomEdit::changed);
    AccessibleValueChanged();
}

int TCustomEdit::SelStart() const
{
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

void TCustomEdit::SetSelStart(int v)
{
    setCursorPosition(std::clamp(v, 0, int(text().size())));
}

int TCustomEdit::SelLength() const
{
    return int(selectedText().size());
}

void TCustomEdit::SetSelLength(int v)
{
    const int start = SelStart();
    setSelection(start, std::clamp(v, 0, int(text().size()) - start));
}

void TCustomEdit::ColorChanged()
{
    QPalette pal = palette();
    pal.setColor(QPalette::Base, ToQColor(Color()));
    setPalette(pal);
}

void TCustomEdit::FontChanged()
{
    // The edit draws its text in the palette's text colour: a TFont colour of its own goes
    // there. The default (the system's window text) leaves the palette to follow the system.
    const QColor text = ToQColor(Font()->Color());
    if (Font()->Color() == clWindowText || palette().color(QPalette::Text) == text)
        return;
    QPalette pal = palette();
    pal.setColor(QPalette::Text, text);
    setPalette(pal);
}

// =============================================================================================
// Beep and clipboard

void MessageBeep()
{
    QApplication::beep();
}

namespace {

// The clipboard, or none without a GUI application (a QCoreApplication has none either).
QClipboard* Clipboard()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
}

} // namespace

QString ClipboardText()
{
    const QClipboard* cb = Clipboard();
    return cb ? cb->text() : QString();
}

void SetClipboardText(const QString& s)
{
    if (QClipboard* cb = Clipboard())
        cb->setText(s);
}

} // namespace qor
