// The combo box: a drop-down list (a QComboBox that is not editable) on the control host
// (QOR_Controls.h); it opens, steps with keys and wheel and seeks by typing as Qt's own does.
//
// Events: Click() (OnClick, clicked()) and then Change() (OnChange, changed()) when the user
// picks an item, by mouse, keyboard or wheel; Change() only when the pick changed the item.
// DropDown() (OnDropDown, dropDown()) runs before the list opens, CloseUp() (OnCloseUp,
// closeUp()) after it closed. Programs that set ItemIndex fire none of them.
// Accessibility is Qt's own combo box: its value is the current item's text.
//
// Owner drawing: with OwnerDraw on, DrawItem draws every item of the list and the current
// item on the closed box (State holds odComboBoxEdit there, and odSelected and odFocused while
// the box has the focus) on Canvas(), an off-screen canvas of the item's size: Rect is
// (0, 0, width, height), the canvas starts with the control's font and is filled with Color()
// (clHighlight and clHighlightText for a selected item). The default DrawItem writes the item's
// text 2 pixels from the left, centred vertically.
#pragma once

#include "QOR_Controls.h"

#include <QComboBox>

namespace qor {

// A drop-down list box: a fixed list of texts the user picks one of (the file description
// gives its events and owner drawing).
class KORVANE_EXPORT TCustomComboBox : public TControlHost<QComboBox> {
    Q_OBJECT
public:
    // Creates an empty, non-editable box with the window colour, owned by AOwner.
    explicit TCustomComboBox(QWidget* AOwner = nullptr);
    ~TCustomComboBox() override;

    TNotifyEvent OnChange; // after the user picked another item (not when a program sets ItemIndex)
    TNotifyEvent OnDropDown; // before the list opens
    TNotifyEvent OnCloseUp; // after the list closed, picked or not

    // The current item, 0-based; -1 for none.
    int ItemIndex() const { return currentIndex(); }
    // Selects item v; -1 clears the selection; other values out of range are ignored.
    void SetItemIndex(int v);
    // Items the open list shows without scrolling (at least 1).
    int DropDownCount() const { return maxVisibleItems(); }
    // Sets the number of items the open list shows; values below 1 count as 1.
    void SetDropDownCount(int v);
    // Whether DrawItem draws the items (off: the style draws their texts).
    bool OwnerDraw() const { return FOwnerDraw; }
    // Switches owner drawing on or off and repaints.
    void SetOwnerDraw(bool v);
    // Height of an owner-drawn item in pixels; 0: as the style makes it.
    int ItemHeight() const { return FItemHeight; }
    // Sets the height of an owner-drawn item in pixels; negative values count as 0.
    void SetItemHeight(int v);
    // The canvas of the item being drawn; outside DrawItem a canvas with the control's font
    // for measuring.
    TCanvas* Canvas();

    // DropDown() first, then the list opens; CloseUp() after it closed.
    void showPopup() override;
    // Closes the list, then CloseUp().
    void hidePopup() override;

Q_SIGNALS:
    // After OnChange: the user picked another item.
    void changed();
    // After OnDropDown: the list is about to open.
    void dropDown();
    // After OnCloseUp: the list has closed.
    void closeUp();

protected:
    virtual void Change();
    virtual void DropDown();
    virtual void CloseUp();
    virtual void DrawItem(int Index, const QRect& Rect, TOwnerDrawState State);

    void ColorChanged() override;
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

private:
    void Activated(int Index);
    void DrawItemOn(TCanvas* Canvas, int Index, const QRect& Rect, TOwnerDrawState State);

    bool FOwnerDraw = false;
    int FItemHeight = 0;
    // The item before the user acted (a key, the wheel, the list opening): a pick of another
    // item is a change.
    int FIndexBeforeUser = -1;
    TCanvas* FCanvas = nullptr;
    TBitmap FMeasure;
    TCanvasItemDelegate* FDelegate = nullptr;

    QOR_CONTROL_SIGNALS
};

} // namespace qor
