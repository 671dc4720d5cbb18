// The speed button: a QToolButton on the control host (QOR_Controls.h), pressing, clicking and
// taking keys as Qt's own tool button does.
//
// Caption, Glyph and Flat are Qt's text, icon and autoRaise (Designer shows them under those
// names). GroupIndex makes the button latch: the buttons of one parent that share a GroupIndex
// other than 0 are Down one at a time; a click puts a button down and the others of its group
// up; with AllowAllUp a click on the down button brings it up again, without it the group always
// keeps the button that is down (SetDown(false) is then refused too). A button of GroupIndex 0
// never stays down. Down is Qt's checked state, and the buttons of a group share AllowAllUp.
// Click() (OnClick, then the button's own clicked()) follows every click, by mouse or keyboard.
// Accessibility is Qt's own tool button (named by its text, checkable in a group).
#pragma once

#include "QOR_Controls.h"

#include <QIcon>
#include <QToolButton>

namespace qor {

// A tool button that can latch down in a group (see the file description for the rules).
class KORVANE_EXPORT TSpeedButton : public TControlHost<QToolButton> {
    Q_OBJECT
public:
    QOR_PROPERTY(bool, AllowAllUp)
    QOR_PROPERTY_NOTIFY(bool, Down, downChanged)
    QOR_PROPERTY(int, GroupIndex)

    // Creates an up button of GroupIndex 0, owned by AOwner.
    explicit TSpeedButton(QWidget* AOwner = nullptr);
    ~TSpeedButton() override;

    // The button's text (Qt's text()).
    QString Caption() const { return text(); }
    // Sets the button's text.
    void SetCaption(const QString& v) { setText(v); }
    // The picture on the button (Qt's icon()); null when none.
    QIcon Glyph() const { return icon(); }
    // Sets the picture on the button.
    void SetGlyph(const QIcon& v) { setIcon(v); }
    // Whether the button shows its frame only while the mouse is over it (Qt's autoRaise()).
    bool Flat() const { return autoRaise(); }
    // Sets whether the button is flat.
    void SetFlat(bool v) { setAutoRaise(v); }
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool v);
    bool Down() const { return isChecked(); }
    void SetDown(bool v);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int v);

Q_SIGNALS:
    // The button went down (true) or up (false), by click or by SetDown.
    void downChanged(bool down);

protected:
    // A click on the down button of a group without AllowAllUp leaves it down.
    void nextCheckState() override;

private:
    // The other buttons of the group: same parent, same GroupIndex.
    QList<TSpeedButton*> GroupMates() const;
    void ReleaseGroupMates();
    void Toggled(bool down);

    int FGroupIndex = 0;
    bool FAllowAllUp = false;

    QOR_BUTTON_CONTROL_SIGNALS
};

} // namespace qor
