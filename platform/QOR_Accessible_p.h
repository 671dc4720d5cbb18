// The accessibility layer of the control host: a QAccessible factory that answers for every
// component with what the component tells the host (the rules are on TControlEvents in
// QOR_Controls.h).
//
// The interface depends on the Qt class the component stands on:
//   QWidget               TAccessibleControl   the component's role, name, text, value, parts
//   QAbstractScrollArea   TAccessibleGrid      the same, and the cells as a table (grids)
//   QLineEdit             TAccessibleLineEdit  Qt's line-edit interface (text, editable text,
//                                              states), and the component's additions
// A component on any other Qt class keeps Qt's own interface untouched (the factory declines),
// until its base gets an interface here that reproduces Qt's and adds to it.
#pragma once

#include "QOR_Controls.h"
#include "QOR_SysUtils.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <utility>

namespace qor {

// Installs the factory once; every host constructor calls it.
void InstallAccessibleFactory();
// Makes sure the object is answered by the factory, not by an interface Qt made before the
// component existed.
void AdoptAccessibleInterface(QObject* object);

namespace accessible {

// The component behind a widget, or none while the widget is being destroyed (its component
// part is gone then), so no call reaches a half-destroyed component.
inline TControlEvents* ComponentOf(QObject* o)
{
    return dynamic_cast<TControlEvents*>(o);
}

// A call into the component under the exception guard: what it throws goes to
// HandleException, and the reader gets the fallback.
template <class R, class F>
R Ask(R fallback, F&& fn) noexcept
{
    R result = fallback;
    GuardedCall([&] { result = fn(); });
    return result;
}

// Non-empty texts joined for one description.
QString JoinTexts(std::initializer_list<QString> texts);

class TAccessiblePartObject;

// ---------------------------------------------------------------------------------------------
// A control drawn by the component: role, name, text, value, actions and parts from it.
class TAccessibleControl : public QAccessibleWidget,
                           public QAccessibleValueInterface,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface {
public:
    explicit TAccessibleControl(QWidget* w);
    ~TAccessibleControl() override;

    QAccessible::Role role() const override;
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType t) override;
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(QAccessible::Relation match) const override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

    // Actions: the widget's own (focus) and the component's.
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

    // Value (components whose value the user can set).
    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

    // Text: the text the component shows.
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

    // Editable text (self-drawn editors): every edit goes the way typing goes.
    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString& text) override;
    void replaceText(int startOffset, int endOffset, const QString& text) override;

    // The parts as the reader last got them; a change announces the difference.
    void PartsChanged();
    QAccessibleInterface* PartInterface(int index) const;
    int PartCount() const;

protected:
    TControlEvents* Component() const { return ComponentOf(object()); }
    // The name the program or a buddy label gives, empty when none.
    QString GivenName() const;
    // Children before the parts (a grid puts its cells there).
    virtual int CellChildCount() const { return 0; }
    TAccessibleValue Value() const;
    QString ShownText() const;

private:
    void DropParts(int from);
    mutable QHash<int, QAccessible::Id> FParts;
    QList<TAccessiblePart> FAnnouncedParts;
};

// ---------------------------------------------------------------------------------------------
// Something drawn inside a component's widget (a part, a cell): no object and no children of its
// own; its parent is the widget's interface.
class TAccessibleLeaf : public QAccessibleInterface {
public:
    explicit TAccessibleLeaf(QWidget* owner) : FOwner(owner) {}
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    void setText(QAccessible::Text, const QString&) override {}

protected:
    // Widget coordinates to screen coordinates (an empty rectangle stays empty).
    QRect ToScreen(const QRect& r) const;
    QPointer<QWidget> FOwner;
};

// ---------------------------------------------------------------------------------------------
// One part of a component (a caption, the freeze box).
class TAccessiblePartObject : public TAccessibleLeaf, public QAccessibleActionInterface {
public:
    TAccessiblePartObject(QWidget* owner, int index) : TAccessibleLeaf(owner), FIndex(index) {}

    bool isValid() const override;
    QString text(QAccessible::Text t) const override;
    QRect rect() const override;
    QAccessible::Role role() const override { return Part().Role; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType t) override;
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(QAccessible::Relation match) const override;

    QStringList actionNames() const override { return Part().Actions; }
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    int Index() const { return FIndex; }

private:
    TAccessiblePart Part() const;
    int FIndex;
};

// ---------------------------------------------------------------------------------------------
// A grid: the control, and its cells as a table (QOR_AccessibleGrid.cpp).
class TAccessibleGrid;
TAccessibleControl* NewGridInterface(QWidget* w);
// The grid interface of a widget, or none.
TAccessibleGrid* GridInterfaceOf(QObject* o);
void AnnounceCurrentCell(QObject* grid);
void AnnounceRowSelection(QObject* grid, int row);
void AnnounceTableChange(QObject* grid);

// A line edit: Qt's own line-edit accessibility, and the component's (QOR_AccessibleEdit.cpp).
TAccessibleControl* NewLineEditInterface(QWidget* w);

// The interface the host gives a component (a new one), or none where Qt's own stays.
TAccessibleControl* InterfaceFor(QWidget* w, const TControlEvents* c);

} // namespace accessible
} // namespace qor
