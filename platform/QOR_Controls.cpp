#include "QOR_Controls.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

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

WORD VirtualKeyFromQt(int k)
{
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
// TComponentState

QString ClassNameOf(const QObject* o)
{
    if (!o)
        return QStringLiteral("nil");
    QString name = QString::fromLatin1(o->metaObject()->className());
    const int sep = name.lastIndexOf(QLatin1String("::"));
    return sep >= 0 ? name.mid(sep + 2) : name;
}

QString TComponentState::Name() const
{
    return ComponentObject()->objectName();
}

void TComponentState::Assign(const QObject* Source)
{
    if (auto* src = dynamic_cast<const TComponentState*>(Source)) {
        src->AssignTo(ComponentObject());
        return;
    }
    AssignError(Source);
}

void TComponentState::AssignTo(QObject* Dest) const
{
    throw EConvertError(QStringLiteral("Cannot assign a %1 to a %2")
                            .arg(ClassNameOf(ComponentObject()), ClassNameOf(Dest)));
}

void TComponentState::AssignError(const QObject* Source) const
{
    throw EConvertError(QStringLiteral("Cannot assign a %1 to a %2")
                            .arg(ClassNameOf(Source), ClassNameOf(ComponentObject())));
}

TComponent::TComponent(QObject* AOwner)
    : QObject(AOwner)
{
}

// =============================================================================================
// TControlEvents

void TControlEvents::Click()
{
    if (OnClick)
        OnClick(ComponentObject());
}

void TControlEvents::DblClick()
{
    if (OnDblClick)
        OnDblClick(ComponentObject());
}

void TControlEvents::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseDown)
        OnMouseDown(ComponentObject(), Button, Shift, X, Y);
}

void TControlEvents::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseUp)
        OnMouseUp(ComponentObject(), Button, Shift, X, Y);
}

void TControlEvents::MouseMove(TShiftState Shift, int X, int Y)
{
    if (OnMouseMove)
        OnMouseMove(ComponentObject(), Shift, X, Y);
}

void TControlEvents::MouseEnter()
{
    if (OnMouseEnter)
        OnMouseEnter(ComponentObject());
}

void TControlEvents::MouseLeave()
{
    if (OnMouseLeave)
        OnMouseLeave(ComponentObject());
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
}

void TControlEvents::DoExit()
{
    if (OnExit)
        OnExit(ComponentObject());
}

void TControlEvents::Resize()
{
    if (OnResize)
        OnResize(ComponentObject());
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

void TControlEvents::DispatchMouseRelease(QMouseEvent* e)
{
    TMouseButton b;
    if (!MouseButtonFromQt(e->button(), b))
        return;
    const QPoint p = MapEventPos(e->position().toPoint());
    const bool click = FClicked && b == mbLeft;
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
    WORD key = VirtualKeyFromQt(e->key());
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
    return false;
}

bool TControlEvents::DispatchKeyRelease(QKeyEvent* e)
{
    WORD key = VirtualKeyFromQt(e->key());
    if (key == 0)
        return false;
    KeyUp(key, ShiftFromQt(e->modifiers()));
    return key == 0;
}

bool TControlEvents::DispatchContextMenu(QContextMenuEvent* e)
{
    bool handled = false;
    if (OnContextPopup)
        OnContextPopup(ComponentObject(), MapEventPos(e->pos()), handled);
    return handled;
}

// =============================================================================================
// TCustomControl

TCustomControl::TCustomControl(QWidget* AOwner)
    : QWidget(AOwner)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    FFont.AssignQFont(font());
    FFont.SetColor(clWindowText);
    FFont.OnChange = [this] {
        QFont f = FFont.ToQFont();
        if (f != font())
            setFont(f);
        FontChanged();
    };
}

TCustomControl::~TCustomControl() = default;

bool TCustomControl::EnsureSurface()
{
    const qreal dpr = devicePixelRatioF();
    const QSize want(std::max(0, int(width() * dpr)), std::max(0, int(height() * dpr)));
    const QImage& img = FSurface.Image();
    if (img.size() == want && img.devicePixelRatio() == dpr)
        return false;
    if (want.isEmpty()) {
        FSurface.SetSize(0, 0);
    } else {
        QImage fresh(want, QImage::Format_RGB32);
        fresh.setDevicePixelRatio(dpr);
        fresh.fill(ToQColor(FColor));
        FSurface.SetImage(fresh);
        FSurface.Image().setDevicePixelRatio(dpr);
    }
    return true;
}

TCanvas* TCustomControl::Canvas()
{
    EnsureSurface();
    return FSurface.Canvas();
}

void TCustomControl::Invalidate()
{
    FNeedsPaint = true;
    update();
}

void TCustomControl::Repaint()
{
    Invalidate();
    repaint();
}

void TCustomControl::RenderNow()
{
    if (FInPaint)
        return;
    EnsureSurface();
    FNeedsPaint = false;
    FInPaint = true;
    try {
        Paint();
    } catch (...) {
        FInPaint = false;
        throw;
    }
    FInPaint = false;
}

void TCustomControl::SetColor(TColor c)
{
    if (c != FColor) {
        FColor = c;
        Invalidate();
    }
}

void TCustomControl::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetColor(FColor);
    c->FillRect(ClientRect());
}

void TCustomControl::paintEvent(QPaintEvent*)
{
    if (EnsureSurface() || FNeedsPaint) {
        try {
            RenderNow();
        } catch (const std::exception& e) {
            HandleException(e);
        }
    }
    if (FSurface.Empty())
        return;
    QPainter p(this);
    p.drawImage(QPoint(0, 0), FSurface.Image());
}

void TCustomControl::resizeEvent(QResizeEvent*)
{
    FNeedsPaint = true;
    Resize();
}

void TCustomControl::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::EnabledChange)
        EnabledChanged();
    else if (e->type() == QEvent::FontChange) {
        if (!(FFont.ToQFont() == font())) {
            const TColor color = FFont.Color();
            auto handler = std::move(FFont.OnChange);
            FFont.AssignQFont(font());
            FFont.SetColor(color);
            FFont.OnChange = std::move(handler);
        }
        FontChanged();
    }
    QWidget::changeEvent(e);
}

void TCustomControl::mousePressEvent(QMouseEvent* e)
{
    if (focusPolicy() & Qt::ClickFocus)
        setFocus(Qt::MouseFocusReason);
    DispatchMousePress(e);
}

void TCustomControl::mouseReleaseEvent(QMouseEvent* e) { DispatchMouseRelease(e); }
void TCustomControl::mouseDoubleClickEvent(QMouseEvent* e) { DispatchMouseDoubleClick(e); }
void TCustomControl::mouseMoveEvent(QMouseEvent* e) { DispatchMouseMove(e); }
void TCustomControl::wheelEvent(QWheelEvent* e) { DispatchWheel(e); }

void TCustomControl::keyPressEvent(QKeyEvent* e)
{
    DispatchKeyPress(e);
}

void TCustomControl::keyReleaseEvent(QKeyEvent* e)
{
    DispatchKeyRelease(e);
}

void TCustomControl::enterEvent(QEnterEvent*) { MouseEnter(); }
void TCustomControl::leaveEvent(QEvent*) { MouseLeave(); }

void TCustomControl::focusInEvent(QFocusEvent* e)
{
    QWidget::focusInEvent(e);
    DoEnter();
}

void TCustomControl::focusOutEvent(QFocusEvent* e)
{
    QWidget::focusOutEvent(e);
    DoExit();
}

void TCustomControl::contextMenuEvent(QContextMenuEvent* e)
{
    if (DispatchContextMenu(e))
        e->accept();
    else
        QWidget::contextMenuEvent(e);
}

// =============================================================================================
// TCustomEdit

TCustomEdit::TCustomEdit(QWidget* AOwner)
    : QLineEdit(AOwner)
{
    connect(this, &QLineEdit::textChanged, this, [this] { Change(); });
}

void TCustomEdit::Change()
{
    if (OnChange)
        OnChange(this);
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

void TCustomEdit::SetColor(TColor c)
{
    if (c == FColor)
        return;
    FColor = c;
    QPalette pal = palette();
    pal.setColor(QPalette::Base, ToQColor(c));
    setPalette(pal);
}

void TCustomEdit::mousePressEvent(QMouseEvent* e)
{
    QLineEdit::mousePressEvent(e);
    DispatchMousePress(e);
}

void TCustomEdit::mouseReleaseEvent(QMouseEvent* e)
{
    QLineEdit::mouseReleaseEvent(e);
    DispatchMouseRelease(e);
}

void TCustomEdit::mouseDoubleClickEvent(QMouseEvent* e)
{
    QLineEdit::mouseDoubleClickEvent(e);
    DispatchMouseDoubleClick(e);
}

void TCustomEdit::mouseMoveEvent(QMouseEvent* e)
{
    QLineEdit::mouseMoveEvent(e);
    DispatchMouseMove(e);
}

void TCustomEdit::keyPressEvent(QKeyEvent* e)
{
    if (DispatchKeyPress(e)) {
        e->accept();
        return;
    }
    QLineEdit::keyPressEvent(e);
}

void TCustomEdit::keyReleaseEvent(QKeyEvent* e)
{
    if (DispatchKeyRelease(e)) {
        e->accept();
        return;
    }
    QLineEdit::keyReleaseEvent(e);
}

void TCustomEdit::focusInEvent(QFocusEvent* e)
{
    QLineEdit::focusInEvent(e);
    DoEnter();
}

void TCustomEdit::focusOutEvent(QFocusEvent* e)
{
    QLineEdit::focusOutEvent(e);
    DoExit();
}

void TCustomEdit::resizeEvent(QResizeEvent* e)
{
    QLineEdit::resizeEvent(e);
    Resize();
}

// =============================================================================================
// Beep and clipboard

void MessageBeep()
{
    QApplication::beep();
}

QString ClipboardText()
{
    if (!QGuiApplication::instance())
        return QString();
    return QGuiApplication::clipboard()->text();
}

void SetClipboardText(const QString& s)
{
    if (QGuiApplication::instance())
        QGuiApplication::clipboard()->setText(s);
}

} // namespace qor
