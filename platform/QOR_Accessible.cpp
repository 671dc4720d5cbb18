// The accessibility layer: the factory, the interface of a self-drawn control and its parts, and
// the announcements a component makes (TControlEvents::Accessible...Changed).
#include "QOR_Accessible_p.h"

#include <QAbstractScrollArea>
#include <QLineEdit>
#include <QTimer>
#include <QWindow>

#include <memory>
#include <typeinfo>

namespace qor {

namespace accessible {

namespace {

// Assistive technology is listening: Qt's platform bridge is on, or a program (a test) switched
// accessibility on through QAccessible::setActive.
class TActivation : public QAccessible::ActivationObserver {
public:
    void accessibilityActiveChanged(bool active) override { FActive = active; }
    bool FActive = false;
};

TActivation& Activation()
{
    static TActivation* observer = [] {
        auto* o = new TActivation;
        QAccessible::installActivationObserver(o);
        return o;
    }();
    return *observer;
}

bool Listening()
{
    return QAccessible::isActive() || Activation().FActive;
}

void Send(QAccessibleEvent&& event)
{
    QAccessible::updateAccessibility(&event);
}

QRect ToGlobal(const QWidget* w, const QRect& r)
{
    return r.isEmpty() || !w ? QRect() : QRect(w->mapToGlobal(r.topLeft()), r.size());
}

} // namespace

QString JoinTexts(std::initializer_list<QString> texts)
{
    QStringList parts;
    for (const QString& t : texts)
        if (!t.isEmpty() && !parts.contains(t))
            parts.append(t);
    return parts.join(QStringLiteral("; "));
}

// =============================================================================================
// TAccessibleControl

TAccessibleControl::TAccessibleControl(QWidget* w) : QAccessibleWidget(w) {}

TAccessibleControl::~TAccessibleControl()
{
    DropParts(0);
}

QString TAccessibleControl::GivenName() const
{
    // The program's accessibleName, else a buddy label (a top-level widget has neither).
    return widget()->isWindow() ? widget()->accessibleName() : QAccessibleWidget::text(QAccessible::Name);
}

QString TAccessibleControl::ShownText() const
{
    const TControlEvents* c = Component();
    return c ? Ask(QString(), [&] { return c->AccessibleText(); }) : QString();
}

TAccessibleValue TAccessibleControl::Value() const
{
    TAccessibleValue v;
    if (const TControlEvents* c = Component())
        GuardedCall([&] { c->AccessibleValue(v); });
    return v;
}

QAccessible::Role TAccessibleControl::role() const
{
    const TControlEvents* c = Component();
    return c ? Ask(QAccessible::Client, [&] { return c->AccessibleRole(); }) : QAccessibleWidget::role();
}

QString TAccessibleControl::text(QAccessible::Text t) const
{
    const TControlEvents* c = Component();
    if (!c)
        return QAccessibleWidget::text(t);
    const QString given = GivenName();
    switch (t) {
    case QAccessible::Name:
        return given.isEmpty() ? Ask(QString(), [&] { return c->AccessibleName(); }) : given;
    case QAccessible::Description: {
        // What the component calls itself, when the program named it otherwise; a warning.
        const QString own = given.isEmpty() ? QString() : Ask(QString(), [&] { return c->AccessibleName(); });
        const QString warning = Ask(QString(), [&] { return c->AccessibleWarning(); });
        return JoinTexts({own, warning, QAccessibleWidget::text(QAccessible::Description)});
    }
    case QAccessible::Value:
        return Ask(false, [&] { return c->AccessibleShowsText(); }) ? ShownText() : QString();
    default:
        return QAccessibleWidget::text(t);
    }
}

QAccessible::State TAccessibleControl::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    const TControlEvents* c = Component();
    if (!c)
        return s;
    GuardedCall([&] {
        s.readOnly = s.readOnly || c->IsAccessibleLabel();
        c->AccessibleState(s);
    });
    if (Ask(false, [&] { return c->AccessibleEditable(); })) {
        s.editable = !s.readOnly;
        s.selectableText = true;
    }
    return s;
}

void* TAccessibleControl::interface_cast(QAccessible::InterfaceType t)
{
    const TControlEvents* c = Component();
    switch (t) {
    case QAccessible::ValueInterface: {
        TAccessibleValue v;
        return c && Ask(false, [&] { return c->AccessibleValue(v); }) ? static_cast<QAccessibleValueInterface*>(this)
                                                                      : nullptr;
    }
    case QAccessible::TextInterface:
        return c && Ask(false, [&] { return c->AccessibleShowsText(); }) ? static_cast<QAccessibleTextInterface*>(this)
                                                                         : nullptr;
    case QAccessible::EditableTextInterface:
        return c && Ask(false, [&] { return c->AccessibleEditable(); })
                   ? static_cast<QAccessibleEditableTextInterface*>(this)
                   : nullptr;
    default:
        return QAccessibleWidget::interface_cast(t);
    }
}

QList<QPair<QAccessibleInterface*, QAccessible::Relation>> TAccessibleControl::relations(QAccessible::Relation match) const
{
    auto rels = QAccessibleWidget::relations(match);
    if (!(match & QAccessible::Label))
        return rels;
    const TControlEvents* c = Component();
    for (int i = 0, n = PartCount(); c && i < n; ++i)
        if (Ask(false, [&] { return c->AccessiblePart(i).LabelsComponent; }))
            rels.append({PartInterface(i), QAccessible::Label});
    return rels;
}

int TAccessibleControl::PartCount() const
{
    const TControlEvents* c = Component();
    return c ? std::max(0, Ask(0, [&] { return c->AccessiblePartCount(); })) : 0;
}

QAccessibleInterface* TAccessibleControl::PartInterface(int index) const
{
    if (index < 0 || index >= PartCount())
        return nullptr;
    auto it = FParts.constFind(index);
    if (it != FParts.constEnd())
        return QAccessible::accessibleInterface(*it);
    auto* part = new TAccessiblePartObject(widget(), index);
    FParts.insert(index, QAccessible::registerAccessibleInterface(part));
    return part;
}

void TAccessibleControl::DropParts(int from)
{
    for (auto it = FParts.begin(); it != FParts.end();) {
        if (it.key() >= from) {
            QAccessible::deleteAccessibleInterface(it.value());
            it = FParts.erase(it);
        } else {
            ++it;
        }
    }
}

void TAccessibleControl::PartsChanged()
{
    const TControlEvents* c = Component();
    QList<TAccessiblePart> now;
    for (int i = 0, n = PartCount(); c && i < n; ++i)
        now.append(Ask(TAccessiblePart{}, [&] { return c->AccessiblePart(i); }));
    const QList<TAccessiblePart> before = std::exchange(FAnnouncedParts, now);
    if (now.size() != before.size()) {
        DropParts(int(now.size()));
        Send(QAccessibleEvent(object(), QAccessible::ObjectReorder));
    }
    for (int i = 0, n = int(std::min(now.size(), before.size())); i < n; ++i) {
        if (now[i].Name != before[i].Name)
            Send(QAccessibleEvent(PartInterface(i), QAccessible::NameChanged));
        if (now[i].Checked != before[i].Checked) {
            QAccessible::State changed;
            changed.checked = true;
            Send(QAccessibleStateChangeEvent(PartInterface(i), changed));
        }
    }
}

int TAccessibleControl::childCount() const
{
    return QAccessibleWidget::childCount() + PartCount();
}

QAccessibleInterface* TAccessibleControl::child(int index) const
{
    const int widgets = QAccessibleWidget::childCount();
    return index < widgets ? QAccessibleWidget::child(index) : PartInterface(index - widgets);
}

int TAccessibleControl::indexOfChild(const QAccessibleInterface* child) const
{
    if (auto* part = dynamic_cast<const TAccessiblePartObject*>(child))
        return part->parent() == this && part->Index() < PartCount() ? QAccessibleWidget::childCount() + part->Index() : -1;
    return QAccessibleWidget::indexOfChild(child);
}

QAccessibleInterface* TAccessibleControl::childAt(int x, int y) const
{
    for (int i = 0, n = PartCount(); i < n; ++i) {
        QAccessibleInterface* part = PartInterface(i);
        if (part && part->rect().contains(x, y))
            return part;
    }
    return QAccessibleWidget::childAt(x, y);
}

QStringList TAccessibleControl::actionNames() const
{
    QStringList names = QAccessibleWidget::actionNames();
    if (const TControlEvents* c = Component())
        for (const QString& a : Ask(QStringList(), [&] { return c->AccessibleActions(); }))
            if (!names.contains(a))
                names.append(a);
    return names;
}

void TAccessibleControl::doAction(const QString& actionName)
{
    TControlEvents* c = Component();
    if (c && Ask(QStringList(), [&] { return c->AccessibleActions(); }).contains(actionName))
        GuardedCall([&] { c->DoAccessibleAction(actionName); });
    else
        QAccessibleWidget::doAction(actionName);
}

// --- value

QVariant TAccessibleControl::currentValue() const { return Value().Current; }
QVariant TAccessibleControl::maximumValue() const { return Value().Maximum; }
QVariant TAccessibleControl::minimumValue() const { return Value().Minimum; }
QVariant TAccessibleControl::minimumStepSize() const { return Value().Step; }

void TAccessibleControl::setCurrentValue(const QVariant& value)
{
    bool ok = false;
    const double v = value.toDouble(&ok);
    if (TControlEvents* c = Component(); c && ok)
        GuardedCall([&] { c->SetAccessibleValue(v); });
}

// --- text

void TAccessibleControl::selection(int selectionIndex, int* startOffset, int* endOffset) const
{
    int s = 0, e = 0;
    if (const TControlEvents* c = Component(); c && selectionIndex == 0)
        GuardedCall([&] { c->AccessibleTextSelection(s, e); });
    *startOffset = s < e ? s : 0;
    *endOffset = s < e ? e : 0;
}

int TAccessibleControl::selectionCount() const
{
    int s = 0, e = 0;
    selection(0, &s, &e);
    return s < e ? 1 : 0;
}

void TAccessibleControl::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void TAccessibleControl::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        setCursorPosition(cursorPosition());
}

void TAccessibleControl::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (TControlEvents* c = Component(); c && selectionIndex == 0)
        GuardedCall([&] { c->SetAccessibleTextSelection(startOffset, endOffset); });
}

int TAccessibleControl::cursorPosition() const
{
    const TControlEvents* c = Component();
    return c ? Ask(0, [&] { return c->AccessibleCaret(); }) : 0;
}

void TAccessibleControl::setCursorPosition(int position)
{
    setSelection(0, position, position);
}

QString TAccessibleControl::text(int startOffset, int endOffset) const
{
    const QString t = ShownText();
    if (endOffset < 0 || endOffset > t.size())
        endOffset = int(t.size());
    startOffset = std::clamp(startOffset, 0, endOffset);
    return t.mid(startOffset, endOffset - startOffset);
}

int TAccessibleControl::characterCount() const
{
    return int(ShownText().size());
}

QRect TAccessibleControl::characterRect(int offset) const
{
    const TControlEvents* c = Component();
    return c ? ToGlobal(widget(), Ask(QRect(), [&] { return c->AccessibleCharRect(offset); })) : QRect();
}

int TAccessibleControl::offsetAtPoint(const QPoint& point) const
{
    for (int i = 0, n = characterCount(); i < n; ++i)
        if (characterRect(i).contains(point))
            return i;
    return -1;
}

QString TAccessibleControl::attributes(int offset, int* startOffset, int* endOffset) const
{
    *startOffset = *endOffset = offset;
    return {};
}

void TAccessibleControl::deleteText(int startOffset, int endOffset)
{
    replaceText(startOffset, endOffset, QString());
}

void TAccessibleControl::insertText(int offset, const QString& text)
{
    replaceText(offset, offset, text);
}

void TAccessibleControl::replaceText(int startOffset, int endOffset, const QString& text)
{
    if (TControlEvents* c = Component())
        GuardedCall([&] { c->ReplaceAccessibleText(startOffset, endOffset, text); });
}

// =============================================================================================
// TAccessibleLeaf, TAccessiblePartObject

QWindow* TAccessibleLeaf::window() const
{
    return FOwner ? FOwner->window()->windowHandle() : nullptr;
}

QAccessibleInterface* TAccessibleLeaf::parent() const
{
    return FOwner ? QAccessible::queryAccessibleInterface(FOwner.data()) : nullptr;
}

QRect TAccessibleLeaf::ToScreen(const QRect& r) const
{
    return ToGlobal(FOwner, r);
}

TAccessiblePart TAccessiblePartObject::Part() const
{
    const TControlEvents* c = FOwner ? ComponentOf(FOwner.data()) : nullptr;
    return c ? Ask(TAccessiblePart{}, [&] { return c->AccessiblePart(FIndex); }) : TAccessiblePart{};
}

bool TAccessiblePartObject::isValid() const
{
    const TControlEvents* c = FOwner ? ComponentOf(FOwner.data()) : nullptr;
    return c && FIndex < Ask(0, [&] { return c->AccessiblePartCount(); });
}


QString TAccessiblePartObject::text(QAccessible::Text t) const
{
    return t == QAccessible::Name ? Part().Name : QString();
}

QRect TAccessiblePartObject::rect() const
{
    return ToScreen(Part().Rect);
}

QAccessible::State TAccessiblePartObject::state() const
{
    const TAccessiblePart p = Part();
    QAccessible::State s;
    s.invisible = p.Rect.isEmpty() || !FOwner || !FOwner->isVisible();
    s.disabled = !FOwner || !FOwner->isEnabled();
    s.checkable = p.Checkable;
    s.checked = p.Checked;
    s.readOnly = p.Role == QAccessible::StaticText;
    return s;
}

void* TAccessiblePartObject::interface_cast(QAccessible::InterfaceType t)
{
    return t == QAccessible::ActionInterface && !Part().Actions.isEmpty() ? static_cast<QAccessibleActionInterface*>(this)
                                                                          : nullptr;
}

QList<QPair<QAccessibleInterface*, QAccessible::Relation>> TAccessiblePartObject::relations(QAccessible::Relation match) const
{
    if ((match & QAccessible::Labelled) && Part().LabelsComponent && parent())
        return {{parent(), QAccessible::Labelled}};
    return {};
}

void TAccessiblePartObject::doAction(const QString& actionName)
{
    TControlEvents* c = FOwner ? ComponentOf(FOwner.data()) : nullptr;
    if (c && Part().Actions.contains(actionName))
        GuardedCall([&] { c->DoAccessiblePartAction(FIndex, actionName); });
}

// =============================================================================================
// The factory

// The interface the host gives a component, or none where Qt's own must stay.
TAccessibleControl* InterfaceFor(QWidget* w, const TControlEvents* c)
{
    const QMetaObject* base = c->HostedQtClass();
    if (base == &QLineEdit::staticMetaObject)
        return NewLineEditInterface(w);
    if (base != &QWidget::staticMetaObject && base != &QAbstractScrollArea::staticMetaObject)
        return nullptr;
    if (Ask(false, [&] { return c->AccessibleTable() != nullptr; }))
        return NewGridInterface(w);
    return new TAccessibleControl(w);
}

namespace {

QAccessibleInterface* Factory(const QString&, QObject* object)
{
    auto* w = qobject_cast<QWidget*>(object);
    const TControlEvents* c = w ? ComponentOf(object) : nullptr;
    return c ? InterfaceFor(w, c) : nullptr;
}

} // namespace

} // namespace accessible

void AdoptAccessibleInterface(QObject* object)
{
    // With assistive technology running, an interface may have been made while the widget was
    // being constructed: Qt's plain one, or the host's before the component's overrides
    // answered (a grid not yet a grid). Once construction is over, an interface of another
    // kind than the factory makes now is dropped, so the next query makes the right one.
    if (!accessible::Listening())
        return;
    QTimer::singleShot(0, object, [object] {
        auto* w = qobject_cast<QWidget*>(object);
        const TControlEvents* c = accessible::ComponentOf(object);
        QAccessibleInterface* iface = w && c ? QAccessible::queryAccessibleInterface(object) : nullptr;
        if (!iface)
            return;
        const std::unique_ptr<accessible::TAccessibleControl> fresh(accessible::InterfaceFor(w, c));
        const bool right = fresh ? typeid(*fresh) == typeid(*iface) : !dynamic_cast<accessible::TAccessibleControl*>(iface);
        if (!right)
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
    });
}

void InstallAccessibleFactory()
{
    static const bool installed = [] {
        accessible::Activation();
        QAccessible::installFactory(&accessible::Factory);
        return true;
    }();
    (void)installed;
}

// =============================================================================================
// Announcements

void TControlEvents::AccessibleValueChanged()
{
    using namespace accessible;
    if (!Listening())
        return;
    QObject* o = ComponentObject();
    TAccessibleValue v;
    if (Ask(false, [&] { return AccessibleValue(v); }))
        Send(QAccessibleValueChangeEvent(o, v.Current));
    if (Ask(false, [&] { return AccessibleShowsText(); })) {
        const QString now = Ask(QString(), [&] { return AccessibleText(); });
        if (now != FAccessibleShownText) {
            const QString before = std::exchange(FAccessibleShownText, now);
            Send(QAccessibleTextUpdateEvent(o, 0, before, now));
        }
    }
    const QString name = Ask(QString(), [&] { return AccessibleName(); });
    if (name != FAccessibleOwnName) {
        FAccessibleOwnName = name;
        auto* iface = dynamic_cast<TAccessibleControl*>(QAccessible::queryAccessibleInterface(o));
        const bool isName = iface && iface->text(QAccessible::Name) == name;
        Send(QAccessibleEvent(o, isName ? QAccessible::NameChanged : QAccessible::DescriptionChanged));
    }
}

void TControlEvents::AccessibleStateChanged(QAccessible::State Changed)
{
    if (accessible::Listening())
        accessible::Send(QAccessibleStateChangeEvent(ComponentObject(), Changed));
}

void TControlEvents::AccessibleCaretMoved()
{
    using namespace accessible;
    if (Listening() && Ask(false, [&] { return AccessibleShowsText(); }))
        Send(QAccessibleTextCursorEvent(ComponentObject(), Ask(0, [&] { return AccessibleCaret(); })));
}

void TControlEvents::AccessibleTextSelectionChanged()
{
    using namespace accessible;
    if (!Listening() || !Ask(false, [&] { return AccessibleShowsText(); }))
        return;
    int s = 0, e = 0;
    GuardedCall([&] { AccessibleTextSelection(s, e); });
    Send(QAccessibleTextSelectionEvent(ComponentObject(), s, e));
}

void TControlEvents::AccessiblePartsChanged()
{
    if (!accessible::Listening())
        return;
    if (auto* iface = dynamic_cast<accessible::TAccessibleControl*>(QAccessible::queryAccessibleInterface(ComponentObject())))
        iface->PartsChanged();
}

void TControlEvents::AccessibleCurrentCellChanged()
{
    if (accessible::Listening())
        accessible::AnnounceCurrentCell(ComponentObject());
}

void TControlEvents::AccessibleRowSelectionChanged(int Row)
{
    if (accessible::Listening())
        accessible::AnnounceRowSelection(ComponentObject(), Row);
}

void TControlEvents::AccessibleTableChanged()
{
    if (accessible::Listening())
        accessible::AnnounceTableChange(ComponentObject());
}

} // namespace qor
