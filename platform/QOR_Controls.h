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
//    release inside the control, as on every base;
//  - accessibility: by the rules on TControlEvents below (Qt's own interface, with what the
//    host adds where it has an interface for the base).
// Owner-drawn items of such widgets draw through TCanvas with TCanvasItemDelegate.
//
// The rules the host owns for every component:
//  - a key the component does not use (its handlers neither zero it nor call UseKey()) is
//    ignored, so it reaches dialog buttons, shortcuts and the focus chain;
//  - the TFont and the QWidget font stay in step both ways; font, palette, style and enabled
//    changes render again, and so does a change of device pixel ratio;
//  - wheel, enter, leave and context-menu events reach the classic handlers of every base;
//    an unhandled context-menu event shows the component's PopupMenu;
//  - every exception from rendering, sizing or a handler goes to qor::HandleException;
//  - system colours (clBtnFace, clWindow ...) resolve through the control's own palette, which
//    inherits its parent's and the application's: the surface canvas follows it, and every
//    rendering runs under a TPaletteScope of it, so no component resolves colours on its own;
//  - a component with a transparent mode asks for a transparent surface (premultiplied ARGB,
//    the parent shows through); opaque is the default, because it is faster;
//  - the surface covers every device pixel the widget touches, at fractional ratios too;
//  - in a layout a self-painting control asks for its creation size (PreferredSize) and for
//    what it needs to draw at all (MinimumDrawSize); a component that knows better overrides
//    those, not sizeHint;
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
#include <QMenu>
#include <QObject>
#include <QPointer>
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

// A 16-bit virtual-key code (VK_...).
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
// Horizontal alignment of a text: left, right or centred.
enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };
Q_ENUM_NS(TAlignment)
// The mouse button of a press or release.
enum TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };
Q_ENUM_NS(TMouseButton)
// One element of a TShiftState: a modifier key (Shift, Alt, Ctrl), a mouse button held down, or
// ssDouble for the second press of a double click.
enum TShiftStateElem : std::uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
Q_ENUM_NS(TShiftStateElem)
// Which parts of a control follow the application's look (a set: Designer shows a check list).
// Each component that publishes StyleElements says what the parts mean for it.
enum TStyleElement : std::uint8_t { seFont = 1u << 0, seClient = 1u << 1, seBorder = 1u << 2 };
Q_DECLARE_FLAGS(TStyleElements, TStyleElement)
Q_FLAG_NS(TStyleElements)
} // namespace QOR_Controls
Q_DECLARE_OPERATORS_FOR_FLAGS(TStyleElements)

// The modifier keys and mouse buttons down at an input event, plus ssDouble.
using TShiftState = TSet<TShiftStateElem, std::uint8_t>;

// The result a modal dialog closes with (mrNone: not closed yet).
enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4,
                          mrIgnore = 5, mrYes = 6, mrNo = 7 };

// A plain notification: Sender is the component's QObject.
using TNotifyEvent = std::function<void(QObject* Sender)>;
// A mouse press or release at (X, Y) in the control's coordinates, in pixels.
using TMouseEvent = std::function<void(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
// The mouse moved to (X, Y) in the control's coordinates; Shift tells the buttons held down.
using TMouseMoveEvent = std::function<void(QObject* Sender, TShiftState Shift, int X, int Y)>;
// A key went down or up. Key is the virtual-key code; setting it to 0 swallows the key.
using TKeyEvent = std::function<void(QObject* Sender, WORD& Key, TShiftState Shift)>;
// A key press delivered the character Key; setting it to a null QChar swallows it.
using TKeyPressEvent = std::function<void(QObject* Sender, QChar& Key)>;
// The wheel turned by WheelDelta (Qt's angle delta: 120 per notch, negative toward the user)
// at MousePos; set Handled to keep the control from scrolling by itself.
using TMouseWheelEvent = std::function<void(QObject* Sender, TShiftState Shift, int WheelDelta, QPoint MousePos, bool& Handled)>;
// The wheel turned one way (OnMouseWheelDown or OnMouseWheelUp) at MousePos; set Handled to
// keep the control from scrolling by itself.
using TMouseWheelUpDownEvent = std::function<void(QObject* Sender, TShiftState Shift, QPoint MousePos, bool& Handled)>;
// The context menu was asked for at MousePos (control coordinates); set Handled to show no
// PopupMenu.
using TContextPopupEvent = std::function<void(QObject* Sender, QPoint MousePos, bool& Handled)>;

// Qt -> classic translation.
KORVANE_EXPORT TShiftState ShiftFromQt(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons = Qt::NoButton);
// The TMouseButton of Qt's button b in out; false (out unchanged) for any other button.
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
// The arguments of a mouse signal (EmitControlSignal): unused fields keep their defaults.
struct TMouseArgs {
    TMouseButton Button = mbLeft; // the button pressed or released
    TShiftState Shift; // modifier keys and buttons down
    int X = 0; // horizontal position in control coordinates, in pixels
    int Y = 0; // vertical position in control coordinates, in pixels
};

// ---------------------------------------------------------------------------------------------
// Input handlers and the events the controls republish. The host forwards Qt events to the
// Dispatch... functions, which call the virtual handlers; the default handlers fire the events.

class KORVANE_EXPORT TControlEvents : public TComponentState {
public:
    TNotifyEvent OnClick; // a left press and release inside the control, or the Qt widget's own click
    TNotifyEvent OnDblClick; // a left double click (after OnDblClick comes OnMouseDown with ssDouble)
    TMouseEvent OnMouseDown; // a mouse button went down over the control
    TMouseEvent OnMouseUp; // a mouse button went up (after a press on the control)
    TMouseMoveEvent OnMouseMove; // the mouse moved: over the control when it tracks the mouse, anywhere while a button pressed on it is held
    TNotifyEvent OnMouseEnter; // the mouse entered the control
    TNotifyEvent OnMouseLeave; // the mouse left the control
    TMouseWheelEvent OnMouseWheel; // the wheel turned; unhandled, OnMouseWheelDown or OnMouseWheelUp follow
    TMouseWheelUpDownEvent OnMouseWheelDown; // the wheel turned toward the user and OnMouseWheel left it unhandled
    TMouseWheelUpDownEvent OnMouseWheelUp; // the wheel turned away from the user and OnMouseWheel left it unhandled
    TKeyEvent OnKeyDown; // a key went down while the control has the focus
    TKeyPressEvent OnKeyPress; // a key press delivered a character
    TKeyEvent OnKeyUp; // a key went up while the control has the focus
    TNotifyEvent OnEnter; // the control received the focus
    TNotifyEvent OnExit; // the control lost the focus
    TNotifyEvent OnResize; // the control has a new size
    TContextPopupEvent OnContextPopup; // the context menu was asked for, before PopupMenu shows

    // The menu the context-menu event shows when OnContextPopup leaves the event unhandled.
    // Not owned: a menu deleted elsewhere reads as none.
    QMenu* PopupMenu() const { return FPopupMenu; }
    // Sets the context menu (nullptr: none); the component does not take ownership.
    void SetPopupMenu(QMenu* Menu) { FPopupMenu = Menu; }

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
    // That text; empty for a component that shows none.
    virtual QString AccessibleText() const { return {}; }
    // Caret and selection in that text (editors that draw their own).
    virtual int AccessibleCaret() const { return 0; }
    // The selection in that text as character offsets Start .. End (Start = End: none).
    virtual void AccessibleTextSelection(int& Start, int& End) const { Start = End = 0; }
    // Selects Start .. End in the shown text, on a reader's request (ignored by default).
    virtual void SetAccessibleTextSelection(int Start, int End) {}
    // A character's rectangle in widget coordinates (empty when unknown or not shown).
    virtual QRect AccessibleCharRect(int Offset) const { return {}; }
    // Edits: the characters Start .. End replaced by s the way typing does it; false when
    // refused (read-only, or the result is not valid input).
    virtual bool AccessibleEditable() const { return false; }
    // Replaces the characters Start .. End by s; see AccessibleEditable.
    virtual bool ReplaceAccessibleText(int Start, int End, const QString& s) { return false; }
    // The value of a component whose value the user can set; false for none.
    virtual bool AccessibleValue(TAccessibleValue& v) const { return false; }
    // Sets the value on a reader's request, as a user's change would.
    virtual void SetAccessibleValue(double v) {}
    // Adds the component's own state (read-only, checked, ...) to what the widget reports.
    virtual void AccessibleState(QAccessible::State& s) const {}
    // A problem with what is shown ("out of range 0 to 1000"); empty when there is none.
    virtual QString AccessibleWarning() const { return {}; }
    // Actions (Qt's action names) that work now, and doing one.
    virtual QStringList AccessibleActions() const { return {}; }
    // Does Action (one of AccessibleActions()) on a reader's request.
    virtual void DoAccessibleAction(const QString& Action) {}
    // Parts drawn inside the component that a reader meets as objects of their own.
    virtual int AccessiblePartCount() const { return 0; }
    // Part Index (0 .. AccessiblePartCount() - 1).
    virtual TAccessiblePart AccessiblePart(int Index) const { return {}; }
    // Does Action on part Index, on a reader's request.
    virtual void DoAccessiblePartAction(int Index, const QString& Action) {}
    // Grids give their cells as a table.
    virtual const TAccessibleTableSource* AccessibleTable() const { return nullptr; }
    // Whether the component is label-like: its role is QAccessible::StaticText.
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
    // The context-menu event (a right press, or the menu key at MousePos): OnContextPopup,
    // then, unless handled, PopupMenu at GlobalPos. True when the event was handled.
    virtual bool DoContextPopup(QPoint MousePos, QPoint GlobalPos);
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
    QPointer<QMenu> FPopupMenu;
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

// The bridge from the Qt widget class QtBase to the classic handlers and events, by the rules
// of the file description; every visual component stands on one.
template <class QtBase>
class KORVANE_EXPORT TControlHost : public QtBase, public TControlEvents {
public:
    // Creates the control owned by AOwner (its parent widget) with the colour DefaultColor and the
    // window text colour for its font; starts the configuration phase.
    explicit TControlHost(QWidget* AOwner, TColor DefaultColor);
    ~TControlHost() override;
    // The component's QObject: the control itself.
    QObject* ComponentObject() override { return this; }
    // The Qt class the control stands on: QtBase.
    const QMetaObject* HostedQtClass() const override { return &QtBase::staticMetaObject; }

    // The control's TFont, in step with the QWidget font; its colour is the text colour.
    TFont* Font() { return &FFont; }
    // The control's TFont, read-only.
    const TFont* Font() const { return &FFont; }
    // The control's own background colour (system colours resolve through its palette).
    TColor Color() const { return FColor; }
    // Sets the background colour; a change calls ColorChanged() (self-painting controls render
    // again).
    virtual void SetColor(TColor c);
    // Whether the control takes input (Qt's isEnabled()).
    bool Enabled() const { return this->isEnabled(); }
    // Width in pixels (Qt's width()).
    int Width() const { return this->width(); }
    // Height in pixels (Qt's height()).
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
    // The widget was shown or hidden (isVisible() tells which; a spontaneous hide, such as a
    // minimised window, leaves it visible).
    virtual void VisibleChanged() {}

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
    void hideEvent(QHideEvent* e) override;

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
    // Creates the control owned by AOwner with the colour DefaultColor; the surface is made
    // when first needed, in the control's size.
    explicit TSurfaceHost(QWidget* AOwner, TColor DefaultColor);
    ~TSurfaceHost() override;

    // The canvas of the surface, made in the control's current size if needed. Draw here in
    // Paint(); drawing outside Paint() shows after Update().
    TCanvas* Canvas();
    // The surface: a bitmap of the control's size times the device pixel ratio.
    TBitmap* Surface();
    // Paint() at the next screen update.
    void Invalidate();
    // Paint() now and show it.
    void Repaint();
    // Paint() now into the surface without going through the screen (tests, printing). An
    // exception from Paint() goes to HandleException.
    void RenderNow();
    // Shows what was drawn on Canvas() outside Paint().
    void Update();
    // Whether the surface starts every Paint() transparent (see SetTransparentSurface).
    bool TransparentSurface() const { return FTransparent; }

    // Layouts: PreferredSize() and MinimumDrawSize(), with exceptions sent to HandleException.
    QSize sizeHint() const override;
    // MinimumDrawSize(), or Qt's own minimum when it throws (the exception goes to
    // HandleException).
    QSize minimumSizeHint() const override;

protected:
    // Renders the whole control into Canvas(). The default fills it with Color().
    virtual void Paint();
    // The size a layout gives the control when it has room: the creation size (for a scroll
    // area, Qt's own hint).
    virtual QSize PreferredSize() const;
    // The smallest size the control can draw in; the default sets no limit.
    virtual QSize MinimumDrawSize() const;
    // The size the control had when a layout first asked for its size or it was first shown:
    // the size its constructor gave it, unless the program resized it before.
    QSize CreationSize() const;
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
    void showEvent(QShowEvent* e) override;

private:
    bool EnsureSurface();
    TBitmap FSurface;
    mutable QSize FCreationSize;
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

// The signals of QOR_CONTROL_SIGNALS without clicked(), for a base on a Qt button (whose own
// clicked() is the signal).
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

// Emits the Qt signal Which of control c with the arguments a (the body of EmitControlSignal
// that QOR_CONTROL_SIGNALS gives every base); a button's clicked() is left to the button.
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
// The state of an owner-drawn item (selected, disabled, focused, the face of a closed combo
// box ...).
using TOwnerDrawState = TSet<TOwnerDrawStateElem, std::uint16_t>;
// Draws item Index on Canvas inside Rect.
using TOwnerDrawProc = std::function<void(TCanvas* Canvas, int Index, const QRect& Rect, TOwnerDrawState State)>;

// Renders one owner-drawn item into Target: an off-screen bitmap of Target's size at the
// painter's device pixel ratio gets Font (its colour is the text colour) and a brush of
// Background, is filled with it, is drawn by Draw with Rect = (0, 0, width, height) and is
// copied to Target in one step. Drawing outside Rect is cut off; an exception from Draw goes
// to HandleException. System colours resolve through Palette (the widget's), when given.
KORVANE_EXPORT void PaintOwnerDrawnItem(QPainter* Painter, const QRect& Target, int Index, TOwnerDrawState State,
                                        const TFont& Font, TColor Background, const TOwnerDrawProc& Draw,
                                        const QPalette* Palette = nullptr);

// An item delegate that draws the items of a Qt item view through TCanvas, with
// PaintOwnerDrawnItem: the font is the view's, the background and text colour the view's base
// and text, or highlight and highlighted text for a selected item; system colours resolve
// through the view's palette. Items are ItemHeight()
// pixels high (0: as the style makes them).
class KORVANE_EXPORT TCanvasItemDelegate : public QStyledItemDelegate {
public:
    // A delegate that has Draw draw every item; owned by Parent.
    explicit TCanvasItemDelegate(TOwnerDrawProc Draw, QObject* Parent = nullptr);
    // Height of every item in pixels; 0: as the style makes them.
    int ItemHeight() const { return FItemHeight; }
    // Sets the item height; negative values count as 0.
    void SetItemHeight(int v) { FItemHeight = v < 0 ? 0 : v; }
    // The owner-draw state of an item as Qt's style option gives it.
    static TOwnerDrawState StateOf(const QStyleOptionViewItem& Option);

    // Draws the item at Option.rect through PaintOwnerDrawnItem and Draw.
    void paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override;
    // The style's size of the item, with ItemHeight() as its height when set.
    QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override;

private:
    TOwnerDrawProc FDraw;
    int FItemHeight = 0;
};

// ---------------------------------------------------------------------------------------------
// The bases.

// A control that paints itself (focusable when its focus policy says so).
class KORVANE_EXPORT TCustomControl : public TSurfaceHost<QWidget> {
    Q_OBJECT
public:
    // Creates the control owned by AOwner, with the button face colour.
    explicit TCustomControl(QWidget* AOwner = nullptr);
    ~TCustomControl() override;
    // The control's area in its own coordinates: (0, 0, width, height).
    QRect ClientRect() const { return QRect(0, 0, width(), height()); }
    QOR_CONTROL_SIGNALS
};

// A windowless control: paints itself, never takes the focus.
class KORVANE_EXPORT TGraphicControl : public TCustomControl {
    Q_OBJECT
public:
    // Creates the control owned by AOwner; its focus policy is Qt::NoFocus.
    explicit TGraphicControl(QWidget* AOwner = nullptr);
};

// Edit control base on QLineEdit: the key handlers run before the line edit sees a key
// (a handler that sets the key to 0 swallows it); Change() follows every text change.
class KORVANE_EXPORT TCustomEdit : public TControlHost<QLineEdit> {
    Q_OBJECT
public:
    // Creates an empty edit owned by AOwner, with the window colour.
    explicit TCustomEdit(QWidget* AOwner = nullptr);
    TNotifyEvent OnChange; // after every text change, by the user or a program
    // The text in the edit.
    QString Text() const { return text(); }
    // Replaces the text (OnChange follows when it differs).
    void SetText(const QString& s) { setText(s); }
    // Start of the selection, or the caret position when nothing is selected (0-based).
    int SelStart() const;
    // Moves the caret to v (held to 0 .. length) and clears the selection.
    void SetSelStart(int v);
    // Number of selected characters; 0 when nothing is selected.
    int SelLength() const;
    // Selects v characters from SelStart() (held to the end of the text).
    void SetSelLength(int v);
Q_SIGNALS:
    // After OnChange: the text changed.
    void changed();
protected:
    virtual void Change();
    void ColorChanged() override;
    void FontChanged() override;
    QOR_CONTROL_SIGNALS
};

// Message beep and clipboard text.
KORVANE_EXPORT void MessageBeep();
// The clipboard's text; empty without a GUI application.
KORVANE_EXPORT QString ClipboardText();
// Puts s on the clipboard; does nothing without a GUI application.
KORVANE_EXPORT void SetClipboardText(const QString& s);

} // namespace qor

Q_DECLARE_METATYPE(qor::TShiftState)
