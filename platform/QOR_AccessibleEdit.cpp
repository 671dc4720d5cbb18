// The interface of a component on QLineEdit: everything Qt's own line-edit interface gives (the
// editable-text role, the editable or read-only state, the password state, the text interface
// with caret and selection, the editable-text interface), and what the component adds (its
// value, states and name).
#include "QOR_Accessible_p.h"

#include <QFontMetrics>
#include <QLineEdit>

namespace qor::accessible {

namespace {

class TAccessibleLineEdit : public TAccessibleControl {
public:
    explicit TAccessibleLineEdit(QLineEdit* e) : TAccessibleControl(e) {}

    QAccessible::Role role() const override { return QAccessible::EditableText; }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Value)
            return TAccessibleControl::text(t);
        // A secret field gives a star for each character (none when it echoes nothing).
        switch (Edit()->echoMode()) {
        case QLineEdit::Normal: return Edit()->text();
        case QLineEdit::NoEcho: return {};
        default: return QString(Edit()->text().size(), QLatin1Char('*'));
        }
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = TAccessibleControl::state();
        s.editable = true;   // as Qt has it: a read-only line edit is editable and read-only
        s.readOnly = s.readOnly || Edit()->isReadOnly();
        s.passwordEdit = Edit()->echoMode() != QLineEdit::Normal;
        s.selectableText = true;
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        if (t == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return TAccessibleControl::interface_cast(t);
    }

    // --- text, as the line edit has it (a secret field gives none)
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override
    {
        *startOffset = *endOffset = 0;
        if (selectionIndex == 0 && Edit()->hasSelectedText()) {
            *startOffset = Edit()->selectionStart();
            *endOffset = Edit()->selectionEnd();
        }
    }
    int selectionCount() const override { return Edit()->hasSelectedText() ? 1 : 0; }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override
    {
        if (selectionIndex == 0)
            Edit()->setSelection(startOffset, endOffset - startOffset);
    }
    void removeSelection(int selectionIndex) override
    {
        if (selectionIndex == 0)
            Edit()->deselect();
    }
    int cursorPosition() const override { return Edit()->cursorPosition(); }
    void setCursorPosition(int position) override { Edit()->setCursorPosition(position); }
    QString text(int startOffset, int endOffset) const override
    {
        if (startOffset > endOffset || Edit()->echoMode() != QLineEdit::Normal)
            return {};
        return Edit()->text().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(Edit()->text().size()); }
    QRect characterRect(int offset) const override
    {
        // One line of text from the left of the text area (a line edit keeps 2 pixels free).
        const QLineEdit* e = Edit();
        const QString t = e->displayText();
        if (offset < 0 || offset >= t.size())
            return {};
        const QFontMetrics fm(e->font());
        const QRect area = e->contentsRect().marginsRemoved(e->textMargins());
        const int x = area.left() + 2 + fm.horizontalAdvance(t.left(offset));
        const QRect r(x, area.top() + (area.height() - fm.height()) / 2, fm.horizontalAdvance(t.at(offset)), fm.height());
        return QRect(e->mapToGlobal(r.topLeft()), r.size());
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        return Edit()->cursorPositionAt(Edit()->mapFromGlobal(point));
    }
    void scrollToSubstring(int startIndex, int) override { Edit()->setCursorPosition(startIndex); }

    // --- edits go through setText, so the component checks them as it checks typing
    void replaceText(int startOffset, int endOffset, const QString& text) override
    {
        QLineEdit* e = Edit();
        if (e->isReadOnly())
            return;
        const qsizetype length = e->text().size();
        const qsizetype from = std::clamp<qsizetype>(startOffset, 0, length);
        const qsizetype to = std::clamp<qsizetype>(endOffset, from, length);
        GuardedCall([&] { e->setText(e->text().replace(from, to - from, text)); });
    }

private:
    QLineEdit* Edit() const { return static_cast<QLineEdit*>(widget()); }
};

} // namespace

TAccessibleControl* NewLineEditInterface(QWidget* w)
{
    return new TAccessibleLineEdit(static_cast<QLineEdit*>(w));
}

} // namespace qor::accessible
