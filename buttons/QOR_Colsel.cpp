#include "QOR_Colsel.h"
#include "QOR_WidgetFactory.h"

#include <QAbstractItemView>
#include <QColorDialog>
#include <QMouseEvent>
#include <cmath>

namespace qor {

QOR_REGISTER_WIDGET(qor::TColSel);

TColSel::TColSel(QWidget* AOwner) : TCustomComboBox(AOwner)
{
    for (int i = 1; i <= MaxColSelColors; ++i) {
        FColors[size_t(i)] = PredefinedColors(i - 1).Color;
        FColorNames[size_t(i)] = ColorToString(FColors[size_t(i)]);
    }
    SetOwnerDraw(true);
    SetDropDownCount(8);
    setMouseTracking(true);   // the pointer over the colour bar, without a button held
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (FFilling || index < 0)
            return;
        const TColor before = SelColor();
        FSelColorIx = index + 1;
        SelColorSettled(before);
    });
    FillList();
}

TColSel::~TColSel() = default;

// ---------------------------------------------------------------------------------------------
// Entries

QString TColSel::NameFor(TColor c)
{
    QString name = ColorToString(c);
    if (OnColorNameChange)
        OnColorNameChange(this, name);
    return name;
}

void TColSel::StoreColor(int Index, TColor c, const QString& Name)
{
    FColors[size_t(Index)] = c;
    FColorNames[size_t(Index)] = Name;
}

void TColSel::ShowEntry(int Index)
{
    if (InUse(Index) && Index <= count())
        setItemText(Index - 1, FColorNames[size_t(Index)]);
    Refresh();
    if (Index == FSelColorIx && QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, currentText());
        QAccessible::updateAccessibility(&event);
    }
}

TColor TColSel::Colors(int Index) const
{
    return InUse(Index) ? FColors[size_t(Index)] : 0;
}

void TColSel::SetColors(int Index, TColor v)
{
    if (!InUse(Index))
        return;
    const TColor before = SelColor();
    StoreColor(Index, v, NameFor(v));
    ShowEntry(Index);
    SelColorSettled(before);
}

QString TColSel::ColorNames(int Index) const
{
    return InUse(Index) ? FColorNames[size_t(Index)] : QString();
}

void TColSel::SetColorNames(int Index, const QString& v)
{
    if (!InUse(Index))
        return;
    QString name = v;
    if (OnColorNameChange)
        OnColorNameChange(this, name);
    FColorNames[size_t(Index)] = name;
    ShowEntry(Index);
}

bool TColSel::ColorEditAllowed(int Index) const
{
    return InUse(Index) && FIsUserEditable[size_t(Index)];
}

void TColSel::SetColorEditAllowed(int Index, bool v)
{
    if (!InUse(Index))
        return;
    FIsUserEditable[size_t(Index)] = v;
    Refresh();
}

void TColSel::SetAllColorEditFlags()
{
    FIsUserEditable.fill(true);
    Refresh();
}

void TColSel::ResetAllColorEditFlags()
{
    FIsUserEditable.fill(false);
    Refresh();
}

int TColSel::FindColorEntry(TColor Color) const
{
    for (int i = 1; i <= MaxColSelColors; ++i)
        if (FColors[size_t(i)] == Color)
            return i;
    return 0;
}

QString TColSel::SelColorID() const
{
    return currentIndex() < 0 ? QString() : FColorNames[size_t(FSelColorIx)];
}

// ---------------------------------------------------------------------------------------------
// Selection and the list

void TColSel::SelColorSettled(TColor Before)
{
    if (SelColor() != Before)
        emit selColorChanged(ToQColor(SelColor()));
}

void TColSel::Select(int Index)
{
    FSelColorIx = Index;
    if (!Loading())
        setCurrentIndex(Index - 1);
}

void TColSel::SetSelColor(TColor v)
{
    const TColor before = SelColor();
    int found = 0;
    // The exact value first: two system colours may look the same here.
    for (int i = 1; i <= FNumColors && !found; ++i)
        if (FColors[size_t(i)] == v)
            found = i;
    const TColor rgb = ColorToRGB(v);
    for (int i = 1; i <= FNumColors && !found; ++i)
        if (ColorToRGB(FColors[size_t(i)]) == rgb)
            found = i;
    if (found) {
        Select(found);
    } else {
        StoreColor(FSelColorIx, v, NameFor(rgb));
        ShowEntry(FSelColorIx);
    }
    Refresh();
    SelColorSettled(before);
}

void TColSel::SetNumColors(int v)
{
    if (v < 1 || v > MaxColSelColors)
        return;
    const TColor before = SelColor();
    FNumColors = v;
    FSelColorIx = 1;
    FillList();
    SelColorSettled(before);
}

void TColSel::FillList()
{
    if (Loading())
        return;
    FFilling = true;
    clear();
    for (int i = 1; i <= FNumColors; ++i)
        addItem(FColorNames[size_t(i)]);
    setCurrentIndex(FSelColorIx - 1);
    FFilling = false;
    Refresh();
}

void TColSel::Loaded()
{
    TCustomComboBox::Loaded();
    FillList();
}

void TColSel::LoadPalette(int First, int Count)
{
    const TColor before = SelColor();
    FSelColorIx = 1;
    for (int k = 0; k < Count; ++k) {
        const TColor c = PredefinedColors(First + k).Color;
        StoreColor(k + 1, c, NameFor(c));
    }
    FNumColors = Count;
    FillList();
    SelColorSettled(before);
}

void TColSel::LoadBasicVGAPalette() { LoadPalette(0, 16); }
void TColSel::LoadExtendedPalette() { LoadPalette(0, 20); }
void TColSel::LoadStandardPalette() { LoadPalette(0, 47); }
void TColSel::LoadWindowsSystemPalette() { LoadPalette(20, 27); }

void TColSel::SetColorBarWidth(int v)
{
    if (v >= 0 && Store(FColorBarWidth, v))
        Refresh();
}

void TColSel::Refresh()
{
    update();
    view()->viewport()->update();
}

void TColSel::EnabledChanged()
{
    TCustomComboBox::EnabledChanged();
    Refresh();
}

void TColSel::ColorChanged()
{
    TCustomComboBox::ColorChanged();
    Refresh();
}

// ---------------------------------------------------------------------------------------------
// Drawing

void TColSel::DrawItem(int Index, const QRect& Rect, TOwnerDrawState State)
{
    const size_t e = size_t(Index + 1);
    if (Index < 0 || e > size_t(MaxColSelColors))
        return;
    TCanvas* c = Canvas();
    const int L = Rect.left(), T = Rect.top(), R = Rect.right() + 1, B = Rect.bottom() + 1;
    const int CBW = FColorBarWidth;
    const bool enabled = isEnabled();
    if (CBW > 0) {
        if (enabled) {
            c->Brush()->SetColor(FColors[e]);
        } else {
            c->Pen()->SetColor(clSilver);
            c->Brush()->SetColor(clSilver);
            c->Rectangle(L - 1, T - 1, L + CBW + 3, B + 1);
            c->Pen()->SetColor(clGray);
        }
        c->Rectangle(L + 3, T + 2, L + CBW + 3, B - 2);
    }
    if (FIsUserEditable[e] && CBW > 11 && enabled) {
        const TColor rgb = ColorToRGB(FColors[e]);
        const double r = GetRValue(rgb), g = GetGValue(rgb), b = GetBValue(rgb);
        const double brightness = std::sqrt(r * r + b * b + 2 * g * g) / 2;
        c->Pen()->SetColor(brightness > 180 ? clBlack : clWhite);
        c->Polyline({QPoint(L + 5, T + 4), QPoint(L + 5, B - 5), QPoint(L + 8, B - 5), QPoint(L + 11, B - 8),
                     QPoint(L + 11, T + 7), QPoint(L + 8, T + 4), QPoint(L + 5, T + 4)});
        c->Pen()->SetColor(clBlack);
    }
    c->Font()->SetColor(enabled ? clBlack : clGray);
    c->Brush()->SetColor(enabled ? Color() : clSilver);
    const QRect name(QPoint(L + CBW + 3, T), QPoint(R - 1, B - 1));
    c->TextRect(name, name.left() + 3, T + (B - T - c->TextHeight(FColorNames[e])) / 2, FColorNames[e]);
}

// ---------------------------------------------------------------------------------------------
// Input

void TColSel::Click()
{
    if (ItemIndex() >= 0) {
        const TColor before = SelColor();
        FSelColorIx = ItemIndex() + 1;
        SelColorSettled(before);
    }
    TCustomComboBox::Click();
}

void TColSel::MouseMove(TShiftState Shift, int X, int Y)
{
    FMouseAreaCode = X < FColorBarWidth ? 1 : 0;
    TCustomComboBox::MouseMove(Shift, X, Y);
}

void TColSel::MouseLeave()
{
    // Else a list opened later from the keyboard would still count as opened over the bar.
    FMouseAreaCode = 0;
    TCustomComboBox::MouseLeave();
}

void TColSel::mousePressEvent(QMouseEvent* e)
{
    // The list opens on the press, before the classic handlers run: where it is decides.
    FMouseAreaCode = e->position().x() < FColorBarWidth ? 1 : 0;
    TCustomComboBox::mousePressEvent(e);
}

void TColSel::DropDown()
{
    const int entry = ItemIndex() + 1;
    if (FMouseAreaCode == 1 && InUse(entry) && FIsUserEditable[size_t(entry)]) {
        QColorDialog dialog(ToQColor(FColors[size_t(entry)]), this);
        if (dialog.exec() == QDialog::Accepted) {
            const TColor before = SelColor();
            const TColor c = FromQColor(dialog.selectedColor());
            FColors[size_t(entry)] = c;
            QString name = ColorToString(ColorToRGB(c));
            Change();
            if (OnColorNameChange)
                OnColorNameChange(this, name);
            FColorNames[size_t(entry)] = name;
            ShowEntry(entry);
            SelColorSettled(before);
        }
        Refresh();
    }
    TCustomComboBox::DropDown();
}

} // namespace qor
