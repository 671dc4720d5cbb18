#include "QOR_StdCtrls.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QWheelEvent>

namespace qor {

TCustomComboBox::TCustomComboBox(QWidget* AOwner)
    : TControlHost<QComboBox>(AOwner, clWindow)
{
    setEditable(false);
    // Styles that open the list as a menu ignore maxVisibleItems unless told otherwise.
    setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    FMeasure.SetSize(1, 1);
    // After the host's own connection, so Click() comes first.
    connect(this, &QComboBox::activated, this, [this](int index) { GuardedCall([&] { Activated(index); }); });
}

TCustomComboBox::~TCustomComboBox() = default;

void TCustomComboBox::Activated(int Index)
{
    const bool changed = Index != FIndexBeforeUser;
    FIndexBeforeUser = Index;
    if (changed)
        Change();
}

void TCustomComboBox::Change()
{
    Notify(this, OnChange, &TCustomComboBox::changed);
}

void TCustomComboBox::DropDown()
{
    Notify(this, OnDropDown, &TCustomComboBox::dropDown);
}

void TCustomComboBox::CloseUp()
{
    Notify(this, OnCloseUp, &TCustomComboBox::closeUp);
}

void TCustomComboBox::SetItemIndex(int v)
{
    if (v >= -1 && v < count())
        setCurrentIndex(v);
}

void TCustomComboBox::SetDropDownCount(int v)
{
    setMaxVisibleItems(std::max(1, v));
}

void TCustomComboBox::SetOwnerDraw(bool v)
{
    if (!Store(FOwnerDraw, v))
        return;
    if (v) {
        FDelegate = new TCanvasItemDelegate(
            [this](TCanvas* c, int i, const QRect& r, TOwnerDrawState s) { DrawItemOn(c, i, r, s); }, this);
        FDelegate->SetItemHeight(FItemHeight);
        setItemDelegate(FDelegate);
    } else {
        setItemDelegate(new QStyledItemDelegate(this));
        delete FDelegate;
        FDelegate = nullptr;
    }
    update();
}

void TCustomComboBox::SetItemHeight(int v)
{
    if (!Store(FItemHeight, std::max(0, v)))
        return;
    if (FDelegate)
        FDelegate->SetItemHeight(FItemHeight);
    view()->doItemsLayout();
    updateGeometry();
}

TCanvas* TCustomComboBox::Canvas()
{
    if (FCanvas)
        return FCanvas;
    FMeasure.Canvas()->Font()->Assign(*Font());
    return FMeasure.Canvas();
}

void TCustomComboBox::DrawItemOn(TCanvas* Canvas, int Index, const QRect& Rect, TOwnerDrawState State)
{
    FCanvas = Canvas;
    struct Reset {
        TCanvas*& Field;
        ~Reset() { Field = nullptr; }
    } reset{FCanvas};
    DrawItem(Index, Rect, State);
}

void TCustomComboBox::DrawItem(int Index, const QRect& Rect, TOwnerDrawState State)
{
    TCanvas* c = Canvas();
    c->TextRect(Rect, Rect.left() + 2, Rect.top() + (Rect.height() - c->TextHeight(QStringLiteral("Xg"))) / 2,
                itemText(Index));
}

void TCustomComboBox::ColorChanged()
{
    // The list and the owner drawing start from the palette's base.
    QPalette pal = palette();
    pal.setColor(QPalette::Base, ToQColor(Color()));
    setPalette(pal);
    view()->setPalette(pal);
    update();
}

void TCustomComboBox::showPopup()
{
    FIndexBeforeUser = currentIndex();
    GuardedCall([this] { DropDown(); });
    QComboBox::showPopup();
}

void TCustomComboBox::hidePopup()
{
    QComboBox::hidePopup();
    GuardedCall([this] { CloseUp(); });
}

void TCustomComboBox::keyPressEvent(QKeyEvent* e)
{
    FIndexBeforeUser = currentIndex();
    TControlHost<QComboBox>::keyPressEvent(e);
}

void TCustomComboBox::wheelEvent(QWheelEvent* e)
{
    FIndexBeforeUser = currentIndex();
    TControlHost<QComboBox>::wheelEvent(e);
}

void TCustomComboBox::paintEvent(QPaintEvent* e)
{
    if (!FOwnerDraw) {
        QComboBox::paintEvent(e);
        return;
    }
    QStylePainter p(this);
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    opt.currentText.clear();
    opt.currentIcon = QIcon();
    p.drawComplexControl(QStyle::CC_ComboBox, opt);
    const int index = currentIndex();
    if (index < 0)
        return;
    TOwnerDrawState state{odComboBoxEdit};
    if (hasFocus() && !view()->isVisible())
        state.Include(odSelected).Include(odFocused);
    if (!isEnabled())
        state.Include(odDisabled).Include(odGrayed);
    const bool selected = state.Contains(odSelected);
    TFont font;
    font.Assign(*Font());
    if (selected)
        font.SetColor(clHighlightText);
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
    PaintOwnerDrawnItem(&p, field, index, state, font, selected ? clHighlight : Color(),
                        [this](TCanvas* c, int i, const QRect& r, TOwnerDrawState s) { DrawItemOn(c, i, r, s); });
}

} // namespace qor
