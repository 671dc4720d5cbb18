// The control host every visual component stands on, and the translation of Qt input events to
// the classic handler and event signatures.
//
// TControlHost<QtBase> is the one bridge from Qt to the classic handlers, written once over the
// Qt class that plays the base's part; TSurfaceHost<QtBase> adds the retained surface of a
// control that paints itself. The bases are thin classes on them:
//   TCustomControl   TSurfaceHost<QWidget>                a self-painting control
//   TGraphicControl  TCustomControl without focus          a windowless self-painting control
//   TCustomEdit      TControlHost<QLineEdit>              the platform edit
//   TCustomGrid      TSurfaceHost<QAbstractScrollArea>    the draw grid (QOR_Grids.h)
// and the host also stands ready over QToolButton, QComboBox and QTreeWidget.
//
// Native widgets. A Qt class whose widget has behaviour of its own (HasNativeBehaviour: the line
// edit types, the tool button presses, the combo box opens, the tree expands) keeps all of it;
// the host listens beside it:
//  - mouse: the Qt widget's press runs before the classic MouseDown, its release after the
//    classic MouseUp, so the handlers see the widget pressed and a click Qt makes on the
//    release follows OnMouseUp; a double click is the Qt widget's and one classic DblClick plus
//    MouseDown (ssDouble), never a second classic MouseDown;
//  - keys: the classic KeyDown/KeyPress/KeyUp run first; a key they use (zero it or UseKey())
//    stops there, any other reaches the Qt widget, and what the widget ignores travels on;
//  - wheel and context menu: the classic handlers first; unhandled, the Qt widget's own;
//  - clicks: where the Qt class says itself what a click is (HasNativeClick: a button's
//    clicked(), a combo box's activated(), by mouse or keyboard), Click() follows that signal
//    and a button's clicked() is its Qt signal; elsewhere Click() follows a left press and
//    release inside the control, as on every base.
// Owner-drawn items of such widgets draw through TCanvas with TCanvasItemDelegate.
//
// The rules the host owns for every component:
//  - a key the component does not use (its handlers neither zero it nor call UseKey()) is
//    ignored, so it reaches dialog buttons, shortcuts and the focus chain;
//  - the TFont and the QWidget font stay in step both ways; font, palette, style and enabled
//    changes render again, and so does a change of device pixel ratio;
//  - wheel, enter, leave and context-menu events reach the classic handlers of every base;
//  - every exception from rendering or a handler goes to qor::HandleException;
//  - a component with a transparent mode asks for a transparent surface (premultiplied ARGB,
//    the parent shows through); opaque is the default, because it is faster;
//  - accessibility: the component tells the host what a reader should hear (the virtual
//    functions of TControlEvents, rules there), and the host answers QAccessible for it.
#pragma once

#include "QOR_Accessible.h"
#include "QOR_Classes.h"
#include "QOR_Graphics.h"
#include "QOR_Published.h"

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QObject>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QTreeWidget>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <type_traits>

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

inline namespace QOR_Controls {
Q_NAMESPACE_EXPORT(KORVANE_EXPORT)
enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };
Q_ENUM_NS(TAlignment)
enum TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };
Q_ENUM_NS(TMouseButton)
enum TShiftStateElem : std::uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
Q_ENUM_NS(TShiftStateElem)
// Which parts of a control follow the application's look (a set: Designer shows a check list).
// Each component that publishes StyleElements says what the parts mean for it.
enum TStyleElement : std::uint8_t { seFont = 1u << 0, seClient = 1u << 1, seBorder = 1u << 2 };
Q_DECLARE_FLAGS(TStyleElements, TStyleElement)
Q_FLAG_NS(TStyleElements)
} // namespace QOR_Controls
Q_DECLARE_OPERATORS_FOR_FLAGS(TStyleElements)

using TShiftState = TSet<TShiftStateElem, std::uint8_t>;

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
// The virtual-key code of a Qt key (0 when it has none). With Qt::KeypadModifier the keypad's
// own codes: VK_NUMPAD0..VK_NUMPAD9, VK_DECIMAL for its point or comma, VK_ADD, VK_SUBTRACT,
// VK_MULTIPLY and VK_DIVIDE.
KORVANE_EXPORT WORD VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers mods = Qt::NoModifier);
// The character a key press delivers (Ctrl+letter gives the control character, Enter #13,
// Backspace #8, Escape #27, Tab #9); a null QChar when the press delivers none.
KORVANE_EXPORT QChar KeyCharFromQt(const QKeyEvent* e);

// The notification events every base republishes, as Qt signals (see QOR_CONTROL_SIGNALS).
enum class TControlSignal : std::uint8_t {
    Clicked, DoubleClicked, MouseDown, MouseUp, MouseMove, MouseEntered, MouseLeft, Entered, Exited, Resized
};
struct TMouseArgs {
    TMouseButton Button = mbLeft;
    TShiftState Shift;
    int X = 0;
    int Y = 0;
};

// ---------------------------------------------------------------------------------------------
// Input handlers and the events the controls republish. The host forwards Qt events to the
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

    // --- accessibility: what the component tells the host. The host (QOR_Accessible*.cpp)
    // answers QAccessible from it for every component alike, by these rules:
    //  - Name: the program's accessibleName, else the text of a buddy label, else the
    //    component's own AccessibleName(). When the program or a buddy names the component,
    //    its own name is read as the description instead. A label-like component names itself
    //    by its display text, because readers read the name of static text (Qt's AT-SPI bridge
    //    passes QAccessible::Value on to nobody).
    //  - Text: a component that shows text (AccessibleShowsText) has a text interface with the
    //    text as it is shown, caret and selection included; a self-drawn editor may also take
    //    edits (AccessibleEditable, ReplaceAccessibleText), checked as typing is.
    //  - Value: only a component whose value the user can set has a value interface: Qt's
    //    AT-SPI bridge offers "increase" and "decrease" on every value interface and reports
    //    them done, so a display gives its value as text. A value set through the interface
    //    goes the way a user's change goes (clamped as the component clamps, events fire).
    //  - States add to the widget's own; a shown value outside its range is read as the
    //    description "out of range ..." (AccessibleWarning): Qt has no invalid-entry state (its
    //    `invalid` means a defunct object).
    //  - Actions are offered only where they work; parts (captions, check boxes) and grid
    //    cells are objects of their own, made on demand.
    //  - A component on a Qt widget that has its own accessibility keeps all of it: on the
    //    line edit the host's interface reproduces Qt's and adds the component's value, states
    //    and name; on the tool button, the combo box and the tree Qt's own interface answers
    //    alone (the program names such a component with setAccessibleName or a buddy label)
    //    until the host has an interface for that base that adds to Qt's (QOR_Accessible_p.h).
    //  - Every call into the component is guarded: an exception goes to HandleException and the
    //    reader gets an empty answer.
    // The component announces changes with the Accessible...Changed functions below.
    virtual QAccessible::Role AccessibleRole() const { return QAccessible::Client; }
    // What the component calls itself (a meter's caption); a label-like component
    // (QAccessible::StaticText) calls itself by its text.
    virtual QString AccessibleName() const { return IsAccessibleLabel() ? AccessibleText() : QString(); }
    // The text the component shows, as shown ("U = 12.34 V", "0000BEEF", "64 %"); a label-like
    // component shows text by nature.
    virtual bool AccessibleShowsText() const { return IsAccessibleLabel(); }
    virtual QString AccessibleText() const { return {}; }
    // Caret and selection in that text (editors that draw their own).
    virtual int AccessibleCaret() const { return 0; }
    virtual void AccessibleTextSelection(int& Start, int& End) const { Start = End = 0; }
    virtual void SetAccessibleTextSelection(int Start, int End) {}
    // A character's rectangle in widget coordinates (empty when unknown or not shown).
    virtual QRect AccessibleCharRect(int Offset) const { return {}; }
    // Edits: the characters Start .. End replaced by s the way typing does it; false when
    // refused (read-only, or the result is not valid input).
    virtual bool AccessibleEditable() const { return false; }
    virtual bool ReplaceAccessibleText(int Start, int End, const QString& s) { return false; }
    // The value of a component whose value the user can set; false for none.
    virtual bool AccessibleValue(TAccessibleValue& v) const { return false; }
    virtual void SetAccessibleValue(double v) {}
    // Adds the component's own state (read-only, checked, ...) to what the widget reports.
    virtual void AccessibleState(QAccessible::State& s) const {}
    // A problem with what is shown ("out of range 0 to 1000"); empty when there is none.
    virtual QString AccessibleWarning() const { return {}; }
    // Actions (Qt's action names) that work now, and doing one.
    virtual QStringList AccessibleActions() const { return {}; }
    virtual void DoAccessibleAction(const QString& Action) {}
    // Parts drawn inside the component that a reader meets as objects of their own.
    virtual int AccessiblePartCount() const { return 0; }
    virtual TAccessiblePart AccessiblePart(int Index) const { return {}; }
    virtual void DoAccessiblePartAction(int Index, const QString& Action) {}
    // Grids give their cells as a table.
    virtual const TAccessibleTableSource* AccessibleTable() const { return nullptr; }
    bool IsAccessibleLabel() const { return AccessibleRole() == QAccessible::StaticText; }
    // The Qt class the host stands on (it decides the interface; see QOR_Accessible_p.h).
    virtual const QMetaObject* HostedQtClass() const { return &QWidget::staticMetaObject; }

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
    // A key handler that acts on its key without zeroing it says so; the host then keeps the
    // key from travelling on to the parent.
    void UseKey() { FKeyUsed = true; }
    // Announcements to assistive technology (nothing happens while none listens):
    // the value or the shown text changed (also the name of a label-like component);
    void AccessibleValueChanged();
    // states changed (only the fields set in Changed);
    void AccessibleStateChanged(QAccessible::State Changed);
    // the caret moved or the text selection changed in the shown text;
    void AccessibleCaretMoved();
    void AccessibleTextSelectionChanged();
    // the parts changed in number or looks;
    void AccessiblePartsChanged();
    // grids: the current cell moved (focus and active descendant go to it), rows were
    // selected or deselected (Row -1: many at once), the table changed shape.
    void AccessibleCurrentCellChanged();
    void AccessibleRowSelectionChanged(int Row);
    void AccessibleTableChanged();
    // Emits the Qt signal of an inherited event; each base class implements it with
    // QOR_CONTROL_SIGNALS.
    virtual void EmitControlSignal(TControlSignal Which, const TMouseArgs& Args) {}

    // Qt event dispatch. The key dispatch returns true when the key was used.
    void DispatchMousePress(QMouseEvent* e);
    // ClickOnRelease: a left press and release inside the control is a Click() (false where the
    // Qt widget says itself what a click is).
    void DispatchMouseRelease(QMouseEvent* e, bool ClickOnRelease = true);
    void DispatchMouseDoubleClick(QMouseEvent* e);
    void DispatchMouseMove(QMouseEvent* e);
    void DispatchWheel(QWheelEvent* e);
    bool DispatchKeyPress(QKeyEvent* e);
    bool DispatchKeyRelease(QKeyEvent* e);
    bool DispatchContextMenu(QContextMenuEvent* e);
    // The point of a Qt event in the coordinates the handlers use.
    virtual QPoint MapEventPos(QPoint p) const { return p; }
    // Whether the mouse button that went down last is still down over the control.
    bool FClicked = false;

private:
    bool FKeyUsed = false;
    QString FAccessibleShownText;   // the shown text and own name as the reader last got them
    QString FAccessibleOwnName;
};

// ---------------------------------------------------------------------------------------------
// The event bridge over a Qt widget class.

// Qt classes whose widgets have behaviour of their own: the host passes them their input too.
template <class QtBase>
inline constexpr bool HasNativeBehaviour =
    std::is_base_of_v<QLineEdit, QtBase> || std::is_base_of_v<QAbstractButton, QtBase> ||
    std::is_base_of_v<QComboBox, QtBase> || std::is_base_of_v<QAbstractItemView, QtBase>;
// Qt classes whose widgets say themselves what a click is (clicked(), activated()).
template <class QtBase>
inline constexpr bool HasNativeClick = std::is_base_of_v<QAbstractButton, QtBase> || std::is_base_of_v<QComboBox, QtBase>;

template <class QtBase>
class KORVANE_EXPORT TControlHost : public QtBase, public TControlEvents {
public:
    explicit TControlHost(QWidget* AOwner, TColor DefaultColor);
    ~TControlHost() override;
    QObject* ComponentObject() override { return this; }
    const QMetaObject* HostedQtClass() const override { return &QtBase::staticMetaObject; }

    // The control's TFont, in step with the QWidget font; its colour is the text colour.
    TFont* Font() { return &FFont; }
    const TFont* Font() const { return &FFont; }
    TColor Color() const { return FColor; }
    virtual void SetColor(TColor c);
    bool Enabled() const { return this->isEnabled(); }
    int Width() const { return this->width(); }
    int Height() const { return this->height(); }

protected:
    // Hooks of the change notifications (each after the host did its part).
    virtual void FontChanged() {}
    virtual void EnabledChanged() {}
    // Palette or style changed: colours that follow the system look render again.
    virtual void LooksChanged() {}
    virtual void ColorChanged() {}
    virtual void FocusChanged(bool Focused) {}
    // The widget has its new size (before Resize() fires OnResize).
    virtual void Resized() {}

    // The widget that receives the paint and input events (a scroll area's viewport).
    QWidget* EventWidget();

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
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void SyncFontFromWidget();
    TFont FFont;
    TColor FColor;
    // Qt's default double click presses again; that press is the widget's only.
    bool FNativeDoubleClick = false;
};

// The host of a control that paints itself.
//
// Paint() renders into Canvas(), the surface of the control's size (times the device pixel
// ratio); paintEvent copies the surface to the screen in one step, rendering first only when
// the surface is new or marked dirty. Invalidate() asks for a new Paint() before the next copy;
// drawing on Canvas() outside Paint() ("directly on the control canvas") shows after Update().
template <class QtBase>
class KORVANE_EXPORT TSurfaceHost : public TControlHost<QtBase> {
public:
    explicit TSurfaceHost(QWidget* AOwner, TColor DefaultColor);
    ~TSurfaceHost() override;

    TCanvas* Canvas();
    TBitmap* Surface();
    // Paint() at the next screen update.
    void Invalidate();
    // Paint() now and show it.
    void Repaint();
    // Paint() now into the surface without going through the screen (tests, printing).
    void RenderNow();
    // Shows what was drawn on Canvas() outside Paint().
    void Update();
    bool TransparentSurface() const { return FTransparent; }

protected:
    // Renders the whole control into Canvas(). The default fills it with Color().
    virtual void Paint();
    // A transparent surface starts every Paint() fully transparent and lets the parent show
    // through where nothing is drawn.
    void SetTransparentSurface(bool v);
    // The logical size of the surface (the event widget's size).
    QSize SurfaceSize();

    void FontChanged() override { Invalidate(); }
    void EnabledChanged() override { Invalidate(); }
    void LooksChanged() override { Invalidate(); }
    void ColorChanged() override { Invalidate(); }
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    bool EnsureSurface();
    TBitmap FSurface;
    bool FNeedsPaint = true;
    bool FInPaint = false;
    bool FTransparent = false;
};

extern template class TControlHost<QWidget>;
extern template class TControlHost<QLineEdit>;
extern template class TControlHost<QAbstractScrollArea>;
extern template class TControlHost<QToolButton>;
extern template class TControlHost<QComboBox>;
extern template class TControlHost<QTreeWidget>;
extern template class TSurfaceHost<QWidget>;
extern template class TSurfaceHost<QAbstractScrollArea>;

// The Qt signals of the inherited events, emitted right after their handlers: clicked(),
// doubleClicked(), mouseDown(button, shift, x, y), mouseUp(...), mouseMove(shift, x, y),
// mouseEntered(), mouseLeft(), entered(), exited() (the focus), resized(). Each base class
// declares them with QOR_CONTROL_SIGNALS at the end of its class body; a base on a Qt button
// uses QOR_BUTTON_CONTROL_SIGNALS, because there the button's own clicked() is the signal.
#define QOR_CONTROL_SIGNALS                                                                        \
Q_SIGNALS:                                                                                         \
    void clicked();                                                                                \
    QOR_BUTTON_CONTROL_SIGNALS

#define QOR_BUTTON_CONTROL_SIGNALS                                                                 \
Q_SIGNALS:                                                                                         \
    void doubleClicked();                                                                          \
    void mouseDown(qor::TMouseButton button, qor::TShiftState shift, int x, int y);                \
    void mouseUp(qor::TMouseButton button, qor::TShiftState shift, int x, int y);                  \
    void mouseMove(qor::TShiftState shift, int x, int y);                                          \
    void mouseEntered();                                                                           \
    void mouseLeft();                                                                              \
    void entered();                                                                                \
    void exited();                                                                                 \
    void resized();                                                                                \
                                                                                                   \
protected:                                                                                         \
    void EmitControlSignal(qor::TControlSignal Which, const qor::TMouseArgs& Args) override        \
    {                                                                                              \
        qor::EmitControlSignalOf(this, Which, Args);                                               \
    }                                                                                              \
                                                                                                   \
private:

template <class Control>
void EmitControlSignalOf(Control* c, TControlSignal which, const TMouseArgs& a)
{
    switch (which) {
    case TControlSignal::Clicked:
        if constexpr (!std::is_base_of_v<QAbstractButton, Control>)
            emit c->clicked();
        break;
    case TControlSignal::DoubleClicked: emit c->doubleClicked(); break;
    case TControlSignal::MouseDown: emit c->mouseDown(a.Button, a.Shift, a.X, a.Y); break;
    case TControlSignal::MouseUp: emit c->mouseUp(a.Button, a.Shift, a.X, a.Y); break;
    case TControlSignal::MouseMove: emit c->mouseMove(a.Shift, a.X, a.Y); break;
    case TControlSignal::MouseEntered: emit c->mouseEntered(); break;
    case TControlSignal::MouseLeft: emit c->mouseLeft(); break;
    case TControlSignal::Entered: emit c->entered(); break;
    case TControlSignal::Exited: emit c->exited(); break;
    case TControlSignal::Resized: emit c->resized(); break;
    }
}

// ---------------------------------------------------------------------------------------------
// Owner-drawn items of native widgets (a combo box's list and face, a tree's rows).

enum TOwnerDrawStateElem : std::uint8_t { odSelected, odGrayed, odDisabled, odChecked, odFocused,
                                          odDefault, odHotLight, odInactive, odNoAccel,
                                          odNoFocusRect, odReserved1, odReserved2, odComboBoxEdit };
using TOwnerDrawState = TSet<TOwnerDrawStateElem, std::uint16_t>;
// Draws item Index on Canvas inside Rect.
using TDrawItemEvent = std::function<void(TCanvas* Canvas, int Index, const QRect& Rect, TOwnerDrawState State)>;

// Renders one owner-drawn item into Target: an off-screen bitmap of Target's size at the
// painter's device pixel ratio gets Font (its colour is the text colour) and a brush of
// Background, is filled with it, is drawn by Draw with Rect = (0, 0, width, height) and is
// copied to Target in one step. Drawing outside Rect is cut off; an exception from Draw goes
// to HandleException.
KORVANE_EXPORT void PaintOwnerDrawnItem(QPainter* Painter, const QRect& Target, int Index, TOwnerDrawState State,
                                        const TFont& Font, TColor Background, const TDrawItemEvent& Draw);

// An item delegate that draws the items of a Qt item view through TCanvas, with
// PaintOwnerDrawnItem: the font is the view's, the background and text colour the view's base
// and text, or highlight and highlighted text for a selected item. Items are ItemHeight()
// pixels high (0: as the style makes them).
class KORVANE_EXPORT TCanvasItemDelegate : public QStyledItemDelegate {
public:
    explicit TCanvasItemDelegate(TDrawItemEvent Draw, QObject* Parent = nullptr);
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int v) { FItemHeight = v < 0 ? 0 : v; }
    // The owner-draw state of an item as Qt's style option gives it.
    static TOwnerDrawState StateOf(const QStyleOptionViewItem& Option);

    void paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override;
    QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override;

private:
    TDrawItemEvent FDraw;
    int FItemHeight = 0;
};

// ---------------------------------------------------------------------------------------------
// The bases.

// A control that paints itself (focusable when its focus policy says so).
class KORVANE_EXPORT TCustomControl : public TSurfaceHost<QWidget> {
    Q_OBJECT
public:
    explicit TCustomControl(QWidget* AOwner = nullptr);
    ~TCustomControl() override;
    QRect ClientRect() const { return QRect(0, 0, width(), height()); }
    QOR_CONTROL_SIGNALS
};

// A windowless control: paints itself, never takes the focus.
class KORVANE_EXPORT TGraphicControl : public TCustomControl {
    Q_OBJECT
public:
    explicit TGraphicControl(QWidget* AOwner = nullptr);
};

// Edit control base on QLineEdit: the key handlers run before the line edit sees a key
// (a handler that sets the key to 0 swallows it); Change() follows every text change.
class KORVANE_EXPORT TCustomEdit : public TControlHost<QLineEdit> {
    Q_OBJECT
public:
    explicit TCustomEdit(QWidget* AOwner = nullptr);
    TNotifyEvent OnChange;
    QString Text() const { return text(); }
    void SetText(const QString& s) { setText(s); }
    int SelStart() const;
    void SetSelStart(int v);
    int SelLength() const;
    void SetSelLength(int v);
Q_SIGNALS:
    void changed();
protected:
    virtual void Change();
    void ColorChanged() override;
    void FontChanged() override;
    QOR_CONTROL_SIGNALS
};

// Message beep and clipboard text.
KORVANE_EXPORT void MessageBeep();
KORVANE_EXPORT QString ClipboardText();
KORVANE_EXPORT void SetClipboardText(const QString& s);

} // namespace qor

Q_DECLARE_METATYPE(qor::TShiftState)
