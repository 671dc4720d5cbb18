#include "QOR_marksel.h"
#include "QOR_WidgetFactory.h"

#include <QVector>

namespace qor {

namespace {
constexpr int MaxGrid = 51;
constexpr std::int64_t FarAway = 10'000'000'000;   // 10^10: no symbol is nearer
} // namespace

QOR_REGISTER_WIDGET(qor::TMarkSel);

TMarkSel::TMarkSel(QWidget* AOwner) : TGraphicControl(AOwner)
{
    setFocusPolicy(Qt::TabFocus);
    setMouseTracking(true);   // the highlight follows the pointer
    FMarkVis.fill(true);
    resize(236, 178);
}

TMarkSel::~TMarkSel() = default;

template <class T> void TMarkSel::Set(T& field, const T& v)
{
    if (Store(field, v))
        Invalidate();
}

// ---------------------------------------------------------------------------------------------
// Settings

void TMarkSel::SetColorBackGnd(TColor v) { Set(FColorBG, v); }
void TMarkSel::SetColorHiLiteBG(TColor v) { Set(FColorHiLite, v); }
void TMarkSel::SetColorHiLiteSymbol(TColor v) { Set(FColorHiSymb, v); }
void TMarkSel::SetColorMarks(TColor v) { Set(FColorFG, v); }
void TMarkSel::SetColorSelBG(TColor v) { Set(FColorSelBG, v); }
void TMarkSel::SetColorSelFG(TColor v) { Set(FColorSelFG, v); }
void TMarkSel::SetFrameStyle(TFrameStyle v) { Set(FFrameStyle, v); }
void TMarkSel::SetShowZeroAsCross(bool v) { Set(FZeroAsCross, v); }

void TMarkSel::SetNrOfColumns(int v)
{
    if (v >= 1 && v <= MaxGrid && Store(FNrCols, v))
        MarksChanged();
}

void TMarkSel::SetNrOfRows(int v)
{
    if (v >= 1 && v <= MaxGrid && Store(FNrRows, v))
        MarksChanged();
}

void TMarkSel::SetSelected(int v)
{
    if (v < -1 || v >= NumMarkers || !Store(FSelected, v))
        return;
    Invalidate();
    emit selectedChanged(v);
    AccessibleValueChanged();
}

void TMarkSel::MarksChanged()
{
    FLayoutValid = false;
    QPoint unused;
    if (FLastHiLite >= 0 && !MarkPosition(FLastHiLite, unused))
        FLastHiLite = -1;
    Invalidate();
}

void TMarkSel::ShowAllMarks()
{
    FMarkVis.fill(true);
    MarksChanged();
}

void TMarkSel::HideAllMarks()
{
    FMarkVis.fill(false);
    FMarkVis[0] = true;
    MarksChanged();
}

bool TMarkSel::MarkVisible(int ix) const
{
    return FMarkVis[size_t(ix >= 0 && ix < NumMarkers ? ix : 0)];
}

void TMarkSel::SetMarkVisible(int ix, bool v)
{
    if (ix < 1 || ix >= NumMarkers)
        return;
    FMarkVis[size_t(ix)] = v;
    MarksChanged();
}

QString TMarkSel::AccessibleText() const
{
    return FSelected < 0 ? QString() : QStringLiteral("%1: %2").arg(FSelected).arg(MarkerName(FSelected));
}

// ---------------------------------------------------------------------------------------------
// Layout

void TMarkSel::Layout() const
{
    // A hidden control gets no resize event: the size is compared instead.
    if (FLayoutValid && FLayoutSize == size())
        return;
    FLayoutSize = size();
    FMarkDistHorz = (width() - 4) / FNrCols;
    FMarkDistVert = (height() - 4) / FNrRows;
    FMarkMarginHorz = FMarkDistHorz / 2;
    FMarkMarginVert = FMarkDistVert / 2;
    int n = 0;
    for (int i = 0; i < NumMarkers; ++i) {
        TMarkPlace& place = FMarkCoords[size_t(i)];
        place.Visible = false;
        if (!FMarkVis[size_t(i)])
            continue;
        place.Pos = QPoint(FMarkMarginHorz + FMarkDistHorz * (n % FNrCols), FMarkMarginVert + (n / FNrCols) * FMarkDistVert);
        place.Visible = n / FNrCols < FNrRows;
        ++n;
    }
    FLayoutValid = true;
}

bool TMarkSel::MarkPosition(int Mark, QPoint& Pos) const
{
    if (Mark < 0 || Mark >= NumMarkers)
        return false;
    Layout();
    const TMarkPlace& place = FMarkCoords[size_t(Mark)];
    Pos = place.Pos;
    return place.Visible;
}

int TMarkSel::NearestMark(int X, int Y) const
{
    Layout();
    int nearest = 0;
    std::int64_t best = FarAway;
    for (int i = 0; i < NumMarkers; ++i) {
        const TMarkPlace& place = FMarkCoords[size_t(i)];
        if (!place.Visible)
            continue;
        const std::int64_t dx = std::int64_t(X) - place.Pos.x(), dy = std::int64_t(Y) - place.Pos.y();
        const std::int64_t d = dx * dx + dy * dy;
        if (d < best) {
            best = d;
            nearest = i;
        }
    }
    return nearest;
}

QRect TMarkSel::CellRect(int Mark, int Near, int Far) const
{
    Layout();
    const QPoint p = FMarkCoords[size_t(Mark)].Pos;
    const int h = FMarkDistHorz / 2, v = FMarkDistVert / 2;
    return QRect(QPoint(p.x() - h + Near, p.y() - v + Near), QPoint(p.x() + h + Far - 1, p.y() + v + Far - 1));
}

// ---------------------------------------------------------------------------------------------
// Painting

TMarkSel::TColors TMarkSel::CurrentColors() const
{
    if (isEnabled())
        return {FColorFG, FColorSelFG, FColorBG, FColorSelBG};
    return {clGray, clGray, clSilver, 0xDEDEDE};
}

void TMarkSel::DrawSymbol(TCanvas* c, int Mark) const
{
    if (Mark == 0 && FZeroAsCross) {
        const int DH = FMarkDistHorz, DV = FMarkDistVert;
        c->MoveTo(4, 4);
        c->LineTo(DH + 1, DV + 1);
        c->MoveTo(4, DV);
        c->LineTo(DH + 1, 3);
        return;
    }
    const QPoint p = FMarkCoords[size_t(Mark)].Pos;
    DrawMarkOnCanvas(c, Mark, p.x() + 2, p.y() + 2);
}

void TMarkSel::DrawMarks(TCanvas* c)
{
    Layout();
    const TColors colors = CurrentColors();
    c->Pen()->SetColor(colors.Background);
    c->Brush()->SetColor(colors.Background);
    c->Rectangle(0, 0, width(), height());
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetMode(pmCopy);
    for (int i = 0; i < NumMarkers; ++i) {
        if (!FMarkCoords[size_t(i)].Visible)
            continue;
        if (i == FSelected) {
            c->Pen()->SetColor(colors.SelPen);
            c->Brush()->SetColor(colors.SelFill);
            c->Rectangle(CellRect(i, 3, 3));
        } else {
            c->Pen()->SetColor(colors.Symbol);
            c->Brush()->SetColor(colors.Background);
        }
        DrawSymbol(c, i);
    }
    DrawFrame(c, FFrameStyle, 0, 0, width() - 1, height() - 1, clWhite, clSilver, clGray, clBlack, colors.Symbol);
}

void TMarkSel::Paint()
{
    DrawMarks(Canvas());
    if (FLastHiLite >= 0 && isEnabled())
        HiLite(FLastHiLite);
    Notify(this, OnPaint, &TMarkSel::painted);
}

void TMarkSel::HiLite(int Mark)
{
    FLastHiLite = Mark;
    TCanvas* c = Canvas();
    c->Pen()->SetColor(FColorHiLite);
    c->Brush()->SetColor(FColorHiLite);
    c->Rectangle(CellRect(Mark, 4, 2));
    c->Pen()->SetColor(FColorHiSymb);
    DrawSymbol(c, Mark);
}

void TMarkSel::ResetLastHiLite()
{
    if (FLastHiLite < 0 || !FMarkCoords[size_t(FLastHiLite)].Visible)
        return;
    const TColors colors = CurrentColors();
    const bool selected = FLastHiLite == FSelected;
    TCanvas* c = Canvas();
    c->Pen()->SetColor(selected ? colors.SelPen : colors.Background);
    c->Brush()->SetColor(selected ? colors.SelFill : colors.Background);
    c->Rectangle(CellRect(FLastHiLite, 3, 3));
    c->Pen()->SetColor(selected ? colors.SelPen : colors.Symbol);
    DrawSymbol(c, FLastHiLite);
}

void TMarkSel::MoveHighlight(int Mark)
{
    if (Mark == FLastHiLite)
        return;
    ResetLastHiLite();
    HiLite(Mark);
    Update();
}

// ---------------------------------------------------------------------------------------------
// Input

void TMarkSel::MouseMove(TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseMove(Shift, X, Y);
    MoveHighlight(NearestMark(X, Y));
}

void TMarkSel::MouseLeave()
{
    TGraphicControl::MouseLeave();
    ResetLastHiLite();
    FLastHiLite = -1;
    Update();
}

void TMarkSel::PickMark(int X, int Y, const TMarkClickEvent& Event, void (TMarkSel::*Signal)(int, int, int))
{
    const int mark = NearestMark(X, Y);
    SetSelected(mark);
    if (Event)
        Event(this, X, Y, mark);
    emit(this->*Signal)(X, Y, mark);
    FLastHiLite = mark;
    Invalidate();
}

void TMarkSel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (Button == mbLeft && !(X == -1 && Y == -1))
        PickMark(X, Y, OnMarkClick, &TMarkSel::markClicked);
}

void TMarkSel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft && Shift.Contains(ssDouble))
        PickMark(X, Y, OnMarkDblClick, &TMarkSel::markDoubleClicked);
}

void TMarkSel::FocusChanged(bool Focused)
{
    // A keyboard user starts from the selected symbol.
    const int start = std::max(FSelected, 0);
    QPoint unused;
    if (Focused && FLastHiLite < 0 && MarkPosition(start, unused))
        MoveHighlight(start);
}

void TMarkSel::KeyDown(WORD& Key, TShiftState Shift)
{
    TGraphicControl::KeyDown(Key, Shift);
    Layout();
    QVector<int> shown;
    for (int i = 0; i < NumMarkers; ++i)
        if (FMarkCoords[size_t(i)].Visible)
            shown.append(i);
    const int from = FLastHiLite >= 0 ? FLastHiLite : std::max(FSelected, 0);
    const int n = std::max(0, int(shown.indexOf(from)));
    int to = n;
    switch (Key) {
    case VK_LEFT: to = n - 1; break;
    case VK_RIGHT: to = n + 1; break;
    case VK_UP: to = n - FNrCols; break;
    case VK_DOWN: to = n + FNrCols; break;
    case VK_HOME: to = 0; break;
    case VK_END: to = int(shown.size()) - 1; break;
    case VK_SPACE:
    case VK_RETURN: {
        const QPoint p = FMarkCoords[size_t(shown[n])].Pos;
        PickMark(p.x(), p.y(), OnMarkClick, &TMarkSel::markClicked);
        UseKey();
        return;
    }
    default: return;
    }
    if (to >= 0 && to < shown.size())
        MoveHighlight(shown[to]);
    UseKey();
}

} // namespace qor
