// Component base classes: the non-visual TComponent on QObject, the self-painting
// TCustomControl on QWidget with its retained surface, the edit base TCustomEdit on QLineEdit,
// and the translation of Qt input events to the classic handler and event signatures.
#pragma once

#include "QOR_Graphics.h"

#include <QLineEdit>
#include <QObject>
#include <QWidget>
#include <cstdint>
#include <functional>

class QMouseEvent;
class QWheelEvent;
class QKeyEvent;
class QContextMenuEvent;

namespace qor {

using WORD = std::uint16_t;

// Virtual-key codes the components test for.
enum : WORD {
    VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_MBUTTON = 0x04,
    VK_BACK = 0x08, VK_TAB = 0x09, VK_CLEAR = 0x0C, VK_RETURN = 0x0D,
    VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12, VK_PAUSE = 0x13, VK_CAPITAL = 0x14,
    VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23,
    VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28,
    VK_INSERT = 0x2D, VK_DELETE = 0x2E,
    VK_NUMPAD0 = 0x60, VK_NUMPAD9 = 0x69, VK_MULTIPLY = 0x6A, VK_ADD = 0x6B,
    VK_SEPARATOR = 0x6C, VK_SUBTRACT = 0x6D, VK_DECIMAL = 0x6E, VK_DIVIDE = 0x6F,
    VK_F1 = 0x70, VK_F2 = 0x71, VK_F3 = 0x72, VK_F4 = 0x73, VK_F5 = 0x74, VK_F6 = 0x75,
    VK_F7 = 0x76, VK_F8 = 0x77, VK_F9 = 0x78, VK_F10 = 0x79, VK_F11 = 0x7A, VK_F12 = 0x7B,
    VK_OEM_PLUS = 0xBB, VK_OEM_COMMA = 0xBC, VK_OEM_MINUS = 0xBD, VK_OEM_PERIOD = 0xBE
};
// Letters and digits use their upper-case character codes ('A' = 0x41, '0' = 0x30).

enum TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };
enum TShiftStateElem : std::uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateElem, std::uint8_t>;

enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };
enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4,
                          mrIgnore = 5, mrYes = 6, mrNo = 7 };

using TNotifyEvent = std::function<void(QObject* Sender)>;
using TMouseEvent = std::function<void(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(QObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(QObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(QObject* Sender, QChar& Key)>;
using TMouseWheelEvent = std::function<void(QObject* Sender, TShiftState Shift, int WheelDelta, QPoint MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent = std::function<void(QObject* Sender, TShiftState Shift, QPoint MousePos, bool& Handled)>;
using TContextPopupEvent = std::function<void(QObject* Sender, QPoint MousePos, bool& Handled)>;

// Qt -> classic translation.
KORVANE_EXPORT TShiftState ShiftFromQt(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons = Qt::NoButton);
KORVANE_EXPORT bool MouseButtonFromQt(Qt::MouseButton b, TMouseButton& out);
// The virtual-key code of a Qt key (0 when it has none).
KORVANE_EXPORT WORD VirtualKeyFromQt(int qtKey);
// The character a key press delivers (Ctrl+letter gives the control character, Enter #13,
// Backspace #8, Escape #27, Tab #9); a null QChar when the press delivers none.
KORVANE_EXPORT QChar KeyCharFromQt(const QKeyEvent* e);

// ---------------------------------------------------------------------------------------------
// State every component has: design mode, loading, Assign/AssignTo.

class KORVANE_EXPORT TComponentState {
public:
    virtual ~TComponentState() = default;
    bool Designing() const { return FDesigning; }
    virtual void SetDesigning(bool v) { FDesigning = v; }
    bool Loading() const { return FLoading; }
    // While loading, setters only store; Loaded() ends loading and applies what depends on it.
    virtual void BeginLoading() { FLoading = true; }
    virtual void Loaded() { FLoading = false; }
    // Copies the settings of Source. The default asks Source to assign itself to this component
    // and throws EConvertError ("Cannot assign a <source class> to a <this class>") otherwise.
    virtual void Assign(const QObject* Source);
    // The default throws EConvertError naming both classes.
    virtual void AssignTo(QObject* Dest) const;
    // The component's QObject (its Name is objectName()).
    virtual QObject* ComponentObject() = 0;
    const QObject* ComponentObject() const { return const_cast<TComponentState*>(this)->ComponentObject(); }
    QString Name() const;
protected:
    [[noreturn]] void AssignError(const QObject* Source) const;
    // The AssignTo rule of every component class T: when Dest is a T and this component is an
    // instance of Dest's class, Dest->Assign(this) and true; otherwise false (the caller then
    // defers to its base class).
    template <class T>
    bool AssignToSameClass(QObject* Dest) const
    {
        auto* d = qobject_cast<T*>(Dest);
        if (!d || !ComponentObject()->metaObject()->inherits(Dest->metaObject()))
            return false;
        d->Assign(ComponentObject());
        return true;
    }
private:
    bool FDesigning = false;
    bool FLoading = false;
};

// Class name of a QObject as the messages show it ("nil" for none).
KORVANE_EXPORT QString ClassNameOf(const QObject* o);

// Non-visual component.
class KORVANE_EXPORT TComponent : public QObject, public TComponentState {
    Q_OBJECT
public:
    explicit TComponent(QObject* AOwner = nullptr);
    QObject* ComponentObject() override { return this; }
    QObject* Owner() const { return parent(); }
};

// ---------------------------------------------------------------------------------------------
// Input handlers and the events the controls republish. A control forwards its Qt events to the
// Dispatch... functions, which call the virtual handlers; the default handlers fire the events.

class KORVANE_EXPORT TControlEvents : public TComponentState {
public:
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TMouseWheelEvent OnMouseWheel;
    TMouseWheelUpDownEvent OnMouseWheelDown;
    TMouseWheelUpDownEvent OnMouseWheelUp;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TNotifyEvent OnResize;
    TContextPopupEvent OnContextPopup;

protected:
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseEnter();
    virtual void MouseLeave();
    // Fires OnMouseWheel; when not handled, DoMouseWheelDown (delta < 0) or DoMouseWheelUp.
    virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, QPoint MousePos);
    virtual bool DoMouseWheelDown(TShiftState Shift, QPoint MousePos);
    virtual bool DoMouseWheelUp(TShiftState Shift, QPoint MousePos);
    virtual void KeyDown(WORD& Key, TShiftState Shift);
    virtual void KeyUp(WORD& Key, TShiftState Shift);
    virtual void KeyPress(QChar& Key);
    virtual void DoEnter();
    virtual void DoExit();
    virtual void Resize();

    // Qt event dispatch. The key dispatch returns true when the key was consumed (Key set to 0).
    void DispatchMousePress(QMouseEvent* e);
    void DispatchMouseRelease(QMouseEvent* e);
    void DispatchMouseDoubleClick(QMouseEvent* e);
    void DispatchMouseMove(QMouseEvent* e);
    void DispatchWheel(QWheelEvent* e);
    bool DispatchKeyPress(QKeyEvent* e);
    bool DispatchKeyRelease(QKeyEvent* e);
    bool DispatchContextMenu(QContextMenuEvent* e);
    // The point of a Qt event in the coordinates the handlers use (a scroll area maps its
    // viewport here).
    virtual QPoint MapEventPos(QPoint p) const { return p; }
    // Whether the mouse button that went down last is still down over the control.
    bool FClicked = false;
};

// ---------------------------------------------------------------------------------------------
// A control that paints itself into a retained surface.
//
// Paint() renders into Canvas(), the surface of the control's size; paintEvent copies the
// surface to the screen. Invalidate() asks for a new Paint() before the next copy; drawing on
// Canvas() outside Paint() ("directly on the control canvas") shows after Update().
class KORVANE_EXPORT TCustomControl : public QWidget, public TControlEvents {
    Q_OBJECT
public:
    explicit TCustomControl(QWidget* AOwner = nullptr);
    ~TCustomControl() override;
    QObject* ComponentObject() override { return this; }

    // The surface canvas (sized to the control).
    TCanvas* Canvas();
    TBitmap* Surface() { EnsureSurface(); return &FSurface; }
    // Paint() at the next screen update.
    void Invalidate();
    // Paint() now and show it.
    void Repaint();
    // Paint() now into the surface without going through the screen (tests, printing).
    void RenderNow();
    // Shows what was drawn on Canvas() outside Paint().
    void Update() { QWidget::update(); }
    TColor Color() const { return FColor; }
    virtual void SetColor(TColor c);
    int Width() const { return width(); }
    int Height() const { return height(); }
    QRect ClientRect() const { return QRect(0, 0, width(), height()); }
    bool Enabled() const { return isEnabled(); }
    // The control's TFont (kept in step with the QWidget font); FontChanged() follows changes.
    TFont* Font() { return &FFont; }

protected:
    // Renders the whole control into Canvas(). The default fills it with Color().
    virtual void Paint();
    // Hooks for Qt's change notifications.
    virtual void EnabledChanged() { Invalidate(); }
    virtual void FontChanged() { Invalidate(); }

    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;

private:
    bool EnsureSurface();
    TBitmap FSurface;
    TFont FFont;
    TColor FColor = clBtnFace;
    bool FNeedsPaint = true;
    bool FInPaint = false;
};

// ---------------------------------------------------------------------------------------------
// Edit control base on QLineEdit: the key handlers run before the line edit sees a key
// (a handler that sets the key to 0 swallows it); Change() follows every text change.
class KORVANE_EXPORT TCustomEdit : public QLineEdit, public TControlEvents {
    Q_OBJECT
public:
    explicit TCustomEdit(QWidget* AOwner = nullptr);
    QObject* ComponentObject() override { return this; }
    TNotifyEvent OnChange;
    QString Text() const { return text(); }
    void SetText(const QString& s) { setText(s); }
    int SelStart() const;
    void SetSelStart(int v);
    int SelLength() const;
    void SetSelLength(int v);
    TColor Color() const { return FColor; }
    void SetColor(TColor c);
protected:
    virtual void Change();
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
private:
    TColor FColor = clWindow;
};

// Message beep and clipboard text.
KORVANE_EXPORT void MessageBeep();
KORVANE_EXPORT QString ClipboardText();
KORVANE_EXPORT void SetClipboardText(const QString& s);

} // namespace qor
