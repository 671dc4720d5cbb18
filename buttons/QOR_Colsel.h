// TColSel: a drop-down list of up to 47 colours, each a colour bar followed by its name.
//
// Entries 1..47 hold a colour, its name and whether the user may change it; NumColors of them
// are in use and listed, item i (from 0) showing entry i + 1 under entry i + 1's name. At first
// entry i is the predefined colour i - 1 of the colour table (QOR_qorcolors.h), named by
// ColorToString, none editable, NumColors 20, entry 1 selected. The four palettes select entry 1
// and fill (names through OnColorNameChange):
//   LoadBasicVGAPalette        entries 1..16 from predefined 0..15    NumColors 16
//   LoadExtendedPalette        entries 1..20 from predefined 0..19    NumColors 20
//   LoadStandardPalette        entries 1..47 from predefined 0..46    NumColors 47
//   LoadWindowsSystemPalette   entries 1..27 from predefined 20..46   NumColors 27
// leaving the entries after them as they were. Colors[i], ColorNames[i] and ColorEditAllowed[i]
// read 0, '' and false outside 1..NumColors, where writes do nothing. Every name the component
// makes for a colour passes OnColorNameChange before it is stored; writing a name does too.
//
// SelColor is the selected entry's colour. Writing it selects the first entry in use holding
// exactly that colour, else the first that looks the same (ColorToRGB), else it replaces the
// selected entry's colour, named ColorToString(ColorToRGB(colour)).
//
// Drawing an item (L, T, R, B the item's rectangle; CBW = ColorBarWidth; 0 hides the bar):
//  1. bar, when CBW > 0: enabled, brush = the colour; disabled, pen and brush $C0C0C0 and the
//     rectangle (L-1, T-1, L+CBW+3, B+1), then pen $808080; the bar is the rectangle
//     (L+3, T+2, L+CBW+3, B-2);
//  2. an editable entry of an enabled control with CBW > 11 gets an edit mark, the polyline
//     (L+5, T+4) (L+5, B-5) (L+8, B-5) (L+11, B-8) (L+11, T+7) (L+8, T+4) (L+5, T+4) in black
//     when the brightness sqrt(R^2 + B^2 + 2G^2) / 2 of ColorToRGB of the colour exceeds 180,
//     else in white;
//  3. the name, with TextRect from x = L + CBW + 3 to R, at x + 3 and
//     y = T + (B - T - TextHeight) div 2: enabled black on Color, disabled $808080 on $C0C0C0.
// The rest of the item (around the bar) shows the highlight for the selected item.
//
// The colour dialog: when the list is opened (by the mouse or the keyboard) while the pointer is
// over the colour bar (X < ColorBarWidth) and the selected entry is editable, a colour dialog
// opens on its colour first; a confirmed colour replaces it, named ColorToString(ColorToRGB(c)),
// OnChange fires, then OnColorNameChange, then the name is stored. The list opens afterwards.
//
// Assistive technology reads Qt's own combo box, whose value, the current item's text, is the
// selected colour's name; a new name for the selected entry is announced as a value change.
#pragma once

#include <QOR_StdCtrls.h>
#include <QOR_qorbase.h>
#include <QOR_qorcolors.h>

#include <QColor>
#include <array>
#include <functional>

namespace qor {

// Number of colour entries a selector holds (entries 1 .. 47).
constexpr int MaxColSelColors = 47;

// May replace the name the selector made for a colour before it is stored.
using TOnColorNameChangeEvent = std::function<void(QObject* Sender, QString& ColorName)>;

// The colour selector control (see above).
class KORVANE_EXPORT TColSel : public TCustomComboBox {
    Q_OBJECT
public:
    QOR_COLOR_PROPERTY(Color)
    QOR_PROPERTY(int, ColorBarWidth)
    QOR_PROPERTY(int, DropDownCount)
    QOR_PROPERTY(int, NumColors)
    QOR_COLOR_PROPERTY_NOTIFY(SelColor, selColorChanged)

    // The first 20 predefined colours, named, none editable, entry 1 selected; 8 rows drop down.
    explicit TColSel(QWidget* AOwner = nullptr);
    ~TColSel() override;

    // --- published properties
    int ColorBarWidth() const { return FColorBarWidth; }
    void SetColorBarWidth(int v);   // negative values ignored
    int NumColors() const { return FNumColors; }
    void SetNumColors(int v);       // 1..47; selects entry 1
    // The colour of the selected entry.
    TColor SelColor() const { return FColors[size_t(FSelColorIx)]; }
    // Selects the entry holding v, or gives the selected entry v (see above); selColorChanged
    // follows when the selected colour changed.
    void SetSelColor(TColor v);

    // --- entries 1..47
    // Colour of entry Index; 0 outside 1 .. NumColors.
    TColor Colors(int Index) const;
    // Gives entry Index colour v, named ColorToString(v) through OnColorNameChange; ignored
    // outside 1 .. NumColors.
    void SetColors(int Index, TColor v);
    // Name of entry Index as listed; empty outside 1 .. NumColors.
    QString ColorNames(int Index) const;
    // Renames entry Index (v passes OnColorNameChange first); ignored outside 1 .. NumColors.
    void SetColorNames(int Index, const QString& v);
    // Whether the user may change entry Index's colour; false outside 1 .. NumColors.
    bool ColorEditAllowed(int Index) const;
    // Lets the user change entry Index's colour, or not; ignored outside 1 .. NumColors.
    void SetColorEditAllowed(int Index, bool v);
    // Makes all 47 entries editable, those not in use included.
    void SetAllColorEditFlags();
    // Makes no entry editable.
    void ResetAllColorEditFlags();
    // The first of all 47 entries holding exactly Color, or 0.
    int FindColorEntry(TColor Color) const;
    // The selected entry's name; empty when no item is selected.
    QString SelColorID() const;
    // The selected entry, 1-based.
    int SelColorIx() const { return FSelColorIx; }
    // Whether the pointer is over the colour bar.
    bool MouseOverColorBar() const { return FMouseAreaCode == 1; }

    // The 16 basic colours (see the palette table above).
    void LoadBasicVGAPalette();
    // The 16 basic colours and four more, 20 in all.
    void LoadExtendedPalette();
    // All 47 predefined colours: the 20 plain ones and the system colours.
    void LoadStandardPalette();
    // The 27 system colours (predefined 20 .. 46).
    void LoadWindowsSystemPalette();

    // Fires for every name the selector makes or is given, before it is stored.
    TOnColorNameChangeEvent OnColorNameChange;

    // Ends loading: fills the list.
    void Loaded() override;

Q_SIGNALS:
    void selColorChanged(const QColor& color);

protected:
    void DrawItem(int Index, const QRect& Rect, TOwnerDrawState State) override;
    void Click() override;
    void DropDown() override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;
    void mousePressEvent(QMouseEvent* e) override;
    void EnabledChanged() override;
    void ColorChanged() override;

private:
    bool InUse(int Index) const { return Index >= 1 && Index <= FNumColors; }
    // The name the selector gives a colour, after OnColorNameChange.
    QString NameFor(TColor c);
    void StoreColor(int Index, TColor c, const QString& Name);
    // Shows an entry's new name and colour.
    void ShowEntry(int Index);
    void LoadPalette(int First, int Count);
    // Clears and refills the list (unless loading) and selects SelColorIx.
    void FillList();
    void Select(int Index);
    // Repaints the box and the list.
    void Refresh();
    // Emits selColorChanged when the selected colour is no longer Before.
    void SelColorSettled(TColor Before);

    int FColorBarWidth = 30;
    int FSelColorIx = 1;
    int FNumColors = 20;
    int FMouseAreaCode = 0;
    bool FFilling = false;
    // Index 0 unused: entries count from 1.
    std::array<TColor, MaxColSelColors + 1> FColors{};
    std::array<QString, MaxColSelColors + 1> FColorNames;
    std::array<bool, MaxColSelColors + 1> FIsUserEditable{};
};

} // namespace qor
