// TNTabEd: painting — data cells, headings, the top-left cell, the empty message and the frame
// of the heading a menu is open for.
#include "QOR_ntabed.h"

#include <QMenu>
#include <QPlainTextEdit>

namespace qor {

namespace {

int RightOf(const QRect& r) { return r.left() + r.width(); }
int BottomOf(const QRect& r) { return r.top() + r.height(); }

constexpr TColor CommentColor = 0x808000;   // teal

// The colour a fraction f (0..1) of the way from a to b, channel by channel.
TColor Blend(TColor a, TColor b, double f)
{
    a = ColorToRGB(a);
    b = ColorToRGB(b);
    auto mix = [f](int x, int y) { return int(x + (y - x) * f + 0.5); };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

void FillBand(TCanvas* cv, TColor c, int l, int t, int r, int b)
{
    if (r <= l || b <= t)
        return;
    cv->Brush()->SetColor(c);
    cv->FillRect(l, t, r, b);
}

} // namespace

void TNTabEd::Paint()
{
    if (Held())
        return;
    TCanvas* cv = Canvas();
    if (FOptimizeRowHeight) {
        cv->Font()->Assign(*Font());
        const int h = std::max(8, cv->TextHeight(QStringLiteral("9GMgÜ$§[{|")) + 2 + 2);
        if (h != DefaultRowHeight())
            SetDefaultRowHeight(h);
    }
    TCustomDrawGrid::Paint();
    if (NrOfRows() == 0)
        DrawEmptyMessage(cv);
    DrawHeadingMenuFrame(cv);
}

void TNTabEd::DrawCell(int ACol, int ARow, const QRect& ARect, TGridDrawState AState)
{
    TCanvas* cv = Canvas();
    if (IsDataCell(ACol, ARow))
        DrawDataCell(cv, DataCol(ACol), DataRow(ARow), ARect, AState);
    else if (ACol == 0 && ARow == 0)
        DrawTopLeftCell(cv, ARect);
    else
        DrawFixedCell(cv, ACol, ARow, ARect);
    TCustomDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}

void TNTabEd::DrawDataCell(TCanvas* cv, int c, int r, const QRect& Rect, TGridDrawState State)
{
    const std::uint8_t state = CellState(c, r);
    const bool selected = State.Contains(gdSelected);
    const bool a = state & csMarkedA, b = state & csMarkedB;
    TColor text = a && b ? FColorMarkedBoth : a ? FColorMarkedA : b ? FColorMarkedB
                : selected ? FColorRangeSelFG : FColorNormal;
    TColor back = selected ? FColorRangeSelBG : Color();
    TFontStyles style = Font()->Style();
    if ((a || b) && FBoldMarks)
        style.Include(fsBold);
    FCellText = CellText(c, r);
    if (OnBeforeRenderCell)
        OnBeforeRenderCell(this, c, r, FCellText, text, back, style);
    cv->Brush()->SetColor(back);
    cv->Font()->SetStyle(style);
    CacheFor(cv).TextRect(cv, Rect, Rect.left() + 2, Rect.top() + 1, FCellText, text);
    if (State.Contains(gdFocused)) {
        cv->Pen()->SetColor(clWindowText);
        cv->Pen()->SetStyle(psDot);
        cv->Brush()->SetStyle(bsClear);
        cv->Rectangle(Rect);
        cv->Pen()->SetStyle(psSolid);
        cv->Brush()->SetStyle(bsSolid);
    }
}

// The face of a fixed cell in the DrawingStyle's look.
void TNTabEd::DrawFixedFace(TCanvas* cv, const QRect& Rect)
{
    const int L = Rect.left(), T = Rect.top(), R = RightOf(Rect), B = BottomOf(Rect);
    if (FDrawingStyle == gdsGradient) {
        const int h = std::max(1, Rect.height() - 1);
        for (int y = T; y < B; ++y)
            FillBand(cv, Blend(FGradientStart, FGradientEnd, double(y - T) / h), L, y, R, y + 1);
        return;
    }
    const TColor lit = FDrawingStyle == gdsClassic ? clBtnHighlight : FixedColor();
    FillBand(cv, lit, L, T, R, T + 1);
    FillBand(cv, lit, L, T, L + 1, B);
    FillBand(cv, clBtnShadow, L, B - 1, R, B);
    FillBand(cv, clBtnShadow, R - 1, T, R, B);
    FillBand(cv, FixedColor(), L + 1, T + 1, R - 1, B - 1);
}

// The text of a heading cell; Highlight when it heads the selection's top row or left column;
// DY its offset below the inner top.
QString TNTabEd::FixedCellText(int ACol, int ARow, bool& Highlight, int& DY) const
{
    Highlight = false;
    DY = 1;
    const TGridRect sel = Selection();
    const bool attribCol = FColOffset == 1 && ACol == 1;
    const bool attribRow = FRowOffset == 1 && ARow == 1;
    if (ARow == 0 && attribCol)
        return QStringLiteral("Attrib");
    if (ACol == 0 && attribRow) {
        DY = 0;
        return QStringLiteral("Attribute");
    }
    if (attribCol && attribRow)
        return QString();
    if (ARow == 0 || attribRow) {
        const int c = DataCol(ACol);
        Highlight = ACol == sel.Left;
        return ARow == 0 ? ColName(c) : NTabNumberText(ColAttrib(c), 0, 1);
    }
    const int r = DataRow(ARow);
    Highlight = ARow == sel.Top;
    if (ACol == 0) {
        DY = 0;
        return RowName(r);
    }
    return NTabNumberText(RowAttrib(r), 0, 1);
}

void TNTabEd::DrawFixedCell(TCanvas* cv, int ACol, int ARow, const QRect& Rect)
{
    DrawFixedFace(cv, Rect);
    bool highlight = false;
    int dy = 1;
    const QString text = FixedCellText(ACol, ARow, highlight, dy);
    TFontStyles style = Font()->Style();
    if (highlight && FBoldSelHeads)
        style.Include(fsBold);
    cv->Font()->SetStyle(style);
    // Over the face: the shrunk cell less 2 pixels on the right, in the face's colour.
    const QRect clip(Rect.left() + 1, Rect.top() + 1, Rect.width() - 4, Rect.height() - 2);
    cv->Brush()->SetColor(FixedColor());
    if (FDrawingStyle == gdsGradient)
        cv->Brush()->SetStyle(bsClear);
    CacheFor(cv).TextRect(cv, clip, clip.left() + 2, clip.top() + dy, text, highlight ? FColorSelected : FColorNormal);
    cv->Brush()->SetStyle(bsSolid);
}

void TNTabEd::DrawTopLeftCell(TCanvas* cv, const QRect& Rect)
{
    cv->Font()->SetStyle(Font()->Style());
    if (FCommentMemo) {
        cv->Brush()->SetColor(CommentColor);
        FTextCache.TextRect(cv, Rect, Rect.left() + 3, Rect.top() + 2, QStringLiteral("Comment:"), clWhite);
    } else if (FShowCellCursor) {
        const QString cell = CurrentCol() > 0 ? QStringLiteral("%1:%2").arg(CurrentCol()).arg(CurrentRow()) : QString();
        cv->Brush()->SetColor(clWindow);
        FTextCache.TextRect(cv, Rect, Rect.left() + 3, Rect.top() + 2, cell, FColorNormal);
    } else {
        DrawFixedFace(cv, Rect);
    }
}

void TNTabEd::DrawEmptyMessage(TCanvas* cv)
{
    const int w = ClientWidth(), h = ClientHeight();
    cv->Brush()->SetColor(Color());
    cv->FillRect(0, 0, w, h);
    if (FEmptyMessage.isEmpty())
        return;
    cv->Font()->Assign(*Font());
    cv->Brush()->SetStyle(bsClear);
    const QStringList lines = FEmptyMessage.split(QLatin1Char('|'));
    const int th = cv->TextHeight(FEmptyMessage);
    const int n = int(lines.size());
    const QRect all(0, 0, w, h);
    for (int i = 1; i <= n; ++i) {
        const QString& line = lines[i - 1];
        FTextCache.TextRect(cv, all, (w - FTextCache.TextWidth(cv, line)) / 2, (h - n * th) / 2 + (i - 1) * th - 2,
                            line, FColorEmptyMsg);
    }
    cv->Brush()->SetStyle(bsSolid);
}

TTextCache& TNTabEd::CacheFor(const TCanvas* cv)
{
    return cv->Font()->Style() == Font()->Style() ? FTextCache : FBoldCache;
}

// While the heading menu is open its cell's frame shows inverted.
void TNTabEd::DrawHeadingMenuFrame(TCanvas* cv)
{
    if (FMenuCell.X < 0 || !FHeadMenu || !FHeadMenu->isVisible())
        return;
    const QRect r = CellRect(FMenuCell.X, FMenuCell.Y);
    if (r.isEmpty())
        return;
    cv->Pen()->SetMode(pmNot);
    cv->Brush()->SetStyle(bsClear);
    cv->Rectangle(r);
    cv->Pen()->SetMode(pmCopy);
    cv->Brush()->SetStyle(bsSolid);
}

} // namespace qor
