// TReportListView: painting — data cells, header cells, the empty message and the inter-row
// indicator.
#include "QOR_rlview.h"

#include <QOR_stringl.h>

#include <QHash>
#include <QPainter>
#include <QStaticText>
#include <cmath>
#include <unordered_map>

namespace qor {

namespace {

int RightOf(const QRect& r) { return r.left() + r.width(); }
int BottomOf(const QRect& r) { return r.top() + r.height(); }

void Line(TCanvas* cv, int x1, int y1, int x2, int y2)
{
    cv->MoveTo(x1, y1);
    cv->LineTo(x2, y2);
}

// The left edge of text `width` pixels wide aligned in textRect. Italic text is taken 2 pixels
// wider; width is updated to what the text takes.
int AlignedLeft(const TCanvas* cv, const QRect& textRect, TAlignment align, int& width)
{
    if (cv->Font()->Style().Contains(fsItalic))
        width += 2;
    const int l = textRect.left(), r = RightOf(textRect);
    if (align == taRightJustify)
        return r - width;
    if (align == taCenter)
        return (l + r) / 2 - width / 2;
    return l;
}

// Text placed in a text rectangle by alignment (italic text is taken 2 pixels wider). Text that
// lies inside the rectangle needs no clipping; the cell behind it is already filled.
void DrawAligned(TCanvas* cv, const QRect& textRect, int y, const QString& text, TAlignment align, int width = -1)
{
    if (text.isEmpty())
        return;
    if (width < 0)
        width = cv->TextWidth(text);
    const int l = textRect.left(), r = RightOf(textRect);
    const int x = AlignedLeft(cv, textRect, align, width);
    const TBrushStyle brush = cv->Brush()->Style();
    cv->Brush()->SetStyle(bsClear);
    if (x >= l && x + width <= r && y >= textRect.top() && y + cv->TextHeight(text) <= BottomOf(textRect) + 1)
        cv->TextOut(x, y, text);
    else
        cv->TextRect(textRect, x, y, text);
    cv->Brush()->SetStyle(brush);
}

// Rounds to nearest with halves to even, as the cut lengths are specified.
int RoundHalfEven(double v) { return int(std::nearbyint(v)); }

} // namespace

struct TReportListView::TextCache {
    QFont For;   // the grid font the widths were measured with
    struct Entry {
        int Width = 0;
        QStaticText Static;
    };
    // Keyed by font style and text; looked up with a view of the text, so a paint that finds
    // its texts builds no string.
    struct Key {
        unsigned Style;
        QString Text;
    };
    struct KeyView {
        unsigned Style;
        QStringView Text;
    };
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(const KeyView& k) const { return qHash(k.Text, k.Style); }
        std::size_t operator()(const Key& k) const { return qHash(QStringView(k.Text), k.Style); }
    };
    struct Equal {
        using is_transparent = void;
        static KeyView View(const Key& k) { return {k.Style, k.Text}; }
        static KeyView View(const KeyView& k) { return k; }
        template <typename A, typename B>
        bool operator()(const A& a, const B& b) const
        {
            const KeyView x = View(a), y = View(b);
            return x.Style == y.Style && x.Text == y.Text;
        }
    };
    std::unordered_map<Key, Entry, Hash, Equal> Entries;
    static constexpr std::size_t MaxEntries = 20000;   // a few screens of distinct texts
    Entry& Get(TCanvas* cv, QStringView text)
    {
        const KeyView key{cv->Font()->Style().ToBits(), text};
        auto it = Entries.find(key);
        if (it == Entries.end()) {
            if (Entries.size() >= MaxEntries)
                Entries.clear();
            const QString s = text.toString();
            Entry e;
            e.Width = cv->TextWidth(s);
            e.Static.setText(s);
            e.Static.setTextFormat(Qt::PlainText);
            e.Static.setPerformanceHint(QStaticText::AggressiveCaching);
            it = Entries.emplace(Key{key.Style, s}, std::move(e)).first;
        }
        return it->second;
    }
};

void TReportListView::TextCacheDeleter::operator()(TextCache* c) const { delete c; }

void TReportListView::FontChanged()
{
    if (FTextCache)
        FTextCache->Entries.clear();
    TCustomDrawGrid::FontChanged();
}

// The grid font can change without FontChanged (Font()->SetSize writes the classic font
// directly); the cached widths are dropped whenever it differs from the one they were made with.
void TReportListView::SyncTextCache()
{
    const QFont f = TCustomGrid::Font()->ToQFont();
    if (!FTextCache)
        FTextCache.reset(new TextCache);
    else if (FTextCache->For == f)
        return;
    FTextCache->Entries.clear();
    FTextCache->For = f;
}

int TReportListView::CachedTextWidth(TCanvas* cv, QStringView text)
{
    if (!FTextCache)
        SyncTextCache();
    return FTextCache->Get(cv, text).Width;
}

// Like DrawAligned, with the cached layout: the text's top-left at (x, y) as TextOut puts it.
void TReportListView::DrawCellText(TCanvas* cv, const QRect& textRect, int y, QStringView text, TAlignment align,
                                   int width)
{
    if (text.isEmpty())
        return;
    if (!FTextCache)
        SyncTextCache();
    TextCache::Entry& e = FTextCache->Get(cv, text);
    if (width < 0)
        width = e.Width;
    const int l = textRect.left(), r = RightOf(textRect);
    const int x = AlignedLeft(cv, textRect, align, width);
    const TColor color = cv->Font()->Color();
    QPainter* p = cv->Painter();
    if (!p)
        return;
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    // One pen object for the texts, recoloured only when the colour changes.
    const QColor qc = ToQColor(color);
    if (FTextPen.color() != qc)
        FTextPen = QPen(qc);
    p->setPen(FTextPen);
    const bool inside = x >= l && x + width <= r;
    if (inside) {
        p->drawStaticText(QPoint(x, y), e.Static);
        return;
    }
    p->save();
    p->setClipRect(textRect, Qt::IntersectClip);
    p->drawStaticText(QPoint(x, y), e.Static);
    p->restore();
}

void TReportListView::Paint()
{
    if (FSuppressPaint)
        return;
    SyncTextCache();
    // Every header cell of this paint shares one right end, and the common header band, which
    // spans all columns, is drawn with the first of its cells.
    FPaintRightEnd = VisibleRightEnd();
    FCommonHeaderDrawn = false;
    FInPaint = true;
    struct EndOfPaint {
        bool& InPaint;
        ~EndOfPaint() { InPaint = false; }
    } endOfPaint{FInPaint};
    TCustomDrawGrid::Paint();
    TCanvas* cv = Canvas();
    if (NrOfShownRows() == 0)
        DrawEmptyMessage(cv);
    DrawInterRowIndicator(cv);
}

// The right end of the visible columns: the cells of row 0 from the left, fixed ones first, up
// to the first one that is not on screen. The widths are summed along the way (CellRect would
// walk from the left again for every column).
int TReportListView::VisibleRightEnd() const
{
    const int cw = ClientWidth(), lw = GridLineWidth();
    if (RowCount() < 1 || ClientHeight() <= 0 || RowHeights(0) <= 0)
        return 0;
    int e = 0;
    auto walk = [&](int from, int to, int x) {
        for (int c = from; c < to; ++c) {
            const int w = TCustomGrid::ColWidths(c);
            if (x >= cw || w <= 0)
                return;
            e = x + std::min(w, cw - x);
            x += w + lw;
        }
    };
    int fixedWidth = 0;
    for (int c = 0; c < FixedCols(); ++c)
        fixedWidth += TCustomGrid::ColWidths(c) + lw;
    walk(0, FixedCols(), 0);
    walk(TCustomGrid::LeftCol(), ColCount(), fixedWidth);
    return e;
}

void TReportListView::DrawEmptyMessage(TCanvas* cv)
{
    int hh = 0;
    for (int r = 0; r < CountHeadRows(); ++r)
        hh += RowHeights(r);
    const int w = ClientWidth(), h = ClientHeight();
    cv->Pen()->SetWidth(1);
    cv->Pen()->SetColor(Color());
    cv->Brush()->SetColor(Color());
    cv->Rectangle(0, hh, w, h);
    if (FEmptyMsg.isEmpty())
        return;
    cv->Font()->Assign(*TCustomGrid::Font());
    cv->Font()->SetColor(FColorEmptyMsg);
    cv->Brush()->SetStyle(bsClear);
    // Tokenized: empty parts ("a||b", a leading or trailing "|") make no lines.
    QStringList lines;
    Tokenize(FEmptyMsg, QStringLiteral("|"), lines);
    const int th = cv->TextHeight(FEmptyMsg);
    const int top = hh - th * int(lines.size());
    for (int k = 0; k < lines.size(); ++k) {
        const int x = (w - cv->TextWidth(lines[k])) / 2;
        const int y = top + (h - top) / 2 + th * k - 2;
        cv->TextOut(x, y, lines[k]);
    }
    cv->Brush()->SetStyle(bsSolid);
}

void TReportListView::DrawInterRowIndicator(TCanvas* cv)
{
    const int p = FInterRowIndi;
    const int hr = CountHeadRows();
    const int gridTop = TCustomGrid::TopRow();
    if (p == 0 || p < gridTop - hr + 1 || p > NrOfRows() + 1)
        return;
    int hh = 0;
    for (int r = 0; r < hr; ++r)
        hh += RowHeights(r);
    const int y = (hr + p - gridTop - 1) * (DefaultRowHeight() + 1) + hh;
    cv->Pen()->SetColor(FInterRowColor);
    cv->Pen()->SetWidth(FInterRowWidth);
    Line(cv, 0, y, ClientWidth(), y);
    cv->Pen()->SetWidth(1);
}

void TReportListView::DrawCell(int ACol, int ARow, const QRect& ARect, TGridDrawState AState)
{
    if (ARow >= FixedRows())
        DrawDataCell(ACol, ARow, ARect);
    else
        DrawHeaderCell(ACol, ARow, ARect);
    TCustomDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}

void TReportListView::DrawRaisedEdge(TCanvas* cv, int l, int t, int b, int e, bool blackEnd, int stop)
{
    const int s = std::min(e, stop);
    cv->Pen()->SetWidth(1);
    cv->Pen()->SetColor(clWhite);
    cv->MoveTo(l, b - 1);
    cv->LineTo(l, t);
    cv->LineTo(s, t);
    cv->Pen()->SetColor(clGray);
    cv->MoveTo(l + 1, b - 1);
    cv->LineTo(std::min(e - 1, s), b - 1);
    cv->MoveTo(e - 1, b - 1);
    cv->LineTo(e - 1, t);
    if (blackEnd) {
        cv->Pen()->SetColor(clBlack);
        Line(cv, e, b - 1, e, t - 1);
    }
}

void TReportListView::DrawDataCell(int ACol, int ARow, const QRect& ARect)
{
    TCanvas* cv = Canvas();
    const int d = DataCol(ACol);
    const int r = DataRowOfGridRow(ARow);
    const bool fixedCell = ACol < FixedCols();
    QRect fill = ARect;
    if (!fixedCell) {
        if (!Options().testFlag(goVertLine))
            fill.setWidth(fill.width() + 1);
        if (!Options().testFlag(goHorzLine))
            fill.setHeight(fill.height() + 1);
    }
    if (r > NrOfShownRows() || d < 1) {
        // The grid keeps one row even without data (or with every row filtered out).
        cv->Pen()->SetColor(Color());
        cv->Brush()->SetColor(Color());
        cv->Rectangle(fill);
        return;
    }
    const int L = ARect.left(), T = ARect.top(), R = RightOf(ARect), B = BottomOf(ARect);
    QRect textRect(QPoint(L + 4, T + 2), QPoint(R - 6 - 1, B - 1));

    // The text is a view of the stored cell or of the mask; only a render handler, a password
    // check cell and a cut text need a string, and they reuse the view's buffers.
    QStringView text = ShownTextView(d, r, FCellText);

    TColor fontColor = FColorNormal;
    TColor bg = FRColorNormal;
    if (FRowColPattern > 0 && ((ARow - FixedRows()) / FRowColPattern) % 2 == 0)
        bg = FRColorShaded;
    TFontStyles style = TCustomGrid::Font()->Style();
    const bool disabledRow = RowDisabled(r);
    if (FEnabled) {
        if (disabledRow) {
            bg = FDisabledBkgdColor;
            fontColor = FDisabledTextColor;
        } else {
            const bool colSel = FRLData->ColAttrib(d) & rlaSelected;
            const bool rowSel = FRLData->RowAttrib(r) & rlaSelected;
            if (colSel && rowSel) {
                bg = FSelBothColor;
                fontColor = FSelBothTextColor;
            } else if (colSel) {
                bg = FSelColColor;
                fontColor = FSelColTextColor;
            } else if (rowSel) {
                bg = FSelRowColor;
                fontColor = FSelRowTextColor;
            }
            if (r == FHiLgtRow || d == FHiLgtColumn) {
                bg = FHiLgtColor;
                fontColor = FHiLgtTextColor;
                if (FHiLgtBold)
                    style = TFontStyles{fsBold};
            }
        }
    }
    if (fixedCell)
        bg = FColHdColor;
    if (!FEnabled)
        fontColor = clInactiveCaption;
    TColor penColor = bg, brushColor = bg;
    if (OnBeforeRenderCell) {
        if (text.isEmpty() || text.data() != FCellText.constData()) {
            FCellText.resize(0);
            FCellText.append(text);
        }
        OnBeforeRenderCell(this, d, r, penColor, brushColor, fontColor, style, FCellText);
        text = FCellText;
    }

    // The grid's paint set the font's face and size; per cell only style and colour change.
    TFont* font = cv->Font();
    font->SetStyle(style);
    font->SetColor(fontColor);

    const TCheckMode mode = FRLData->ColumnCheckMode(d);
    const bool check = mode != cmNone;
    const TAlignment align = ColumnAlignment(d);
    // Too wide: cut, keeping the start (or, right-aligned, the first character and the end).
    // The whole text is measured first: when it fits, so does the text without its first character.
    int fullWidth = CachedTextWidth(cv, text);
    const int avail = TCustomGrid::ColWidths(ACol) - (check ? 16 : 0) - 9;
    if (fullWidth > avail) {
        const int w = CachedTextWidth(cv, text.mid(1));
        if (avail < w && w > 0) {
            const int n = std::max(1, RoundHalfEven(double(text.length()) * avail / w - 4));
            FCutText.resize(0);
            if (align == taRightJustify) {
                FCutText.append(text.left(1));
                FCutText.append(QLatin1String("..."));
                FCutText.append(text.right(n));
            } else {
                FCutText.append(text.left(n));
                FCutText.append(QLatin1String("..."));
            }
            text = FCutText;
            fullWidth = -1;
        }
    }

    cv->Pen()->SetWidth(1);
    cv->Brush()->SetColor(brushColor);
    cv->FillRect(fill);   // pen and brush in the same colour: the outline adds nothing
    cv->Pen()->SetColor(penColor);

    if (!check) {
        DrawCellText(cv, textRect, textRect.top() - 1, text, align, fullWidth);
    } else if (text.length() > 1 || FShowEmptyCBx) {
        textRect.setLeft(textRect.left() + 16);
        const bool checked = !text.isEmpty() && text[0] != QLatin1Char(' ');
        DrawCellText(cv, textRect, textRect.top() - 1, text.mid(1), align, -1);
        if (!FROCheckMarks) {
            cv->Pen()->SetColor(!FEnabled ? clInactiveCaption : disabledRow ? penColor : clBtnShadow);
            cv->Brush()->SetColor(brushColor);
            if (mode == cmRadio)
                cv->Ellipse(L + 4, T + 4, L + 15, T + 15);
            else
                cv->Rectangle(L + 4, T + 4, L + 15, T + 15);
        }
        if (checked) {
            cv->Pen()->SetColor(FEnabled ? fontColor : clInactiveCaption);
            if (mode == cmBox) {
                for (int i = 0; i <= 2; ++i) {
                    Line(cv, L + 6, T + 8 + i, L + 9, T + 11 + i);
                    Line(cv, L + 8, T + 10 + i, L + 13, T + 5 + i);
                }
            } else {
                Line(cv, L + 8, T + 7, L + 11, T + 7);
                for (int i = 0; i <= 2; ++i)
                    Line(cv, L + 7, T + 8 + i, L + 12, T + 8 + i);
                Line(cv, L + 8, T + 11, L + 11, T + 11);
            }
        }
    }
    if (fixedCell)
        DrawRaisedEdge(cv, L, T, B, R, false);
}

void TReportListView::DrawHeaderCell(int ACol, int ARow, const QRect& ARect)
{
    TCanvas* cv = Canvas();
    const int E = FInPaint ? FPaintRightEnd : VisibleRightEnd();
    const int L = ARect.left(), T = ARect.top(), R = RightOf(ARect), B = BottomOf(ARect);
    TFont* font = cv->Font();
    font->Assign(*TCustomGrid::Font());
    cv->Pen()->SetWidth(1);

    if (FComHdVis && ARow == 0) {
        if (FInPaint && FCommonHeaderDrawn)
            return;
        FCommonHeaderDrawn = FInPaint;
        const TColor bg = FEnabled ? FComHdColor : FDisabledBkgdColor;
        font->SetColor(FEnabled ? FComHdTxtColor : FDisabledTextColor);
        cv->Brush()->SetColor(bg);
        cv->FillRect(0, T, E, B);
        const QString header = CommonHeader();
        const QStringList lines = header.split(QLatin1Char('\n'));
        const int h = cv->TextHeight(header);
        const QRect clip(QPoint(0, T), QPoint(E - 1, B - 1));
        cv->Brush()->SetStyle(bsClear);
        for (int k = 0; k < lines.size(); ++k) {
            const int tw = cv->TextWidth(lines[k]);
            const int x = FHeaderAlignment == taLeftJustify ? 4
                        : FHeaderAlignment == taRightJustify ? E - tw - 6
                                                            : (E - tw) / 2;
            cv->TextRect(clip, x, T + 2 + k * h, lines[k]);
        }
        cv->Brush()->SetStyle(bsSolid);
        // One band across the visible columns, whichever cell asks for it.
        DrawRaisedEdge(cv, 0, T, B, E, true);
        return;
    }
    if (ARow != ColumnHeaderRow())
        return;

    const int d = DataCol(ACol);
    const TColor bg = FEnabled ? FColHdColor : FDisabledBkgdColor;
    font->SetColor(FEnabled ? FColHdTxtColor : FDisabledTextColor);
    cv->Pen()->SetColor(bg);
    cv->Brush()->SetColor(bg);
    cv->Rectangle(ARect);

    const QString name = FRLData->Header(d);
    const QStringList lines = name.split(QLatin1Char('\n'));
    const bool sorted = d >= 1 && LastSortColumn() == d;
    const int colW = TCustomGrid::ColWidths(ACol);
    const int avail = colW - (sorted ? 13 : 0) - 9;
    const QRect textRect(QPoint(L + 4, T + 2), QPoint(R - 6 - 1, B - 1));
    const int h = cv->TextHeight(name);
    const TAlignment align = ColumnAlignment(d);
    int firstWidth = 0;
    cv->Brush()->SetStyle(bsClear);
    for (int k = 0; k < lines.size(); ++k) {
        QString line = lines[k];
        const int tw = cv->TextWidth(line);
        if (tw > avail && tw > 0)
            line = line.left(std::max(1, RoundHalfEven(double(line.length()) * avail / tw - 3))) + QStringLiteral("...");
        if (k == 0)
            firstWidth = cv->TextWidth(line);
        DrawAligned(cv, textRect, textRect.top() + k * h, line, align);
    }
    cv->Brush()->SetStyle(bsSolid);

    if (sorted) {
        const int tl = textRect.left(), tr = RightOf(textRect);
        int a = align == taLeftJustify ? firstWidth + 10
              : align == taRightJustify ? tr - tl - firstWidth - 12
                                        : (tr - tl) / 2 + firstWidth / 2 + 10;
        a = std::min(a, colW - 12);
        const int x = tl + a, y = textRect.top() + h / 2;
        if (LastSortOrder()) {
            cv->Pen()->SetColor(clGray);
            Line(cv, x - 4, y + 3, x, y - 3);
            cv->Pen()->SetColor(clWhite);
            cv->LineTo(x + 4, y + 3);
            cv->LineTo(x - 4, y + 3);
        } else {
            cv->Pen()->SetColor(clWhite);
            Line(cv, x + 4, y - 3, x, y + 3);
            cv->Pen()->SetColor(clGray);
            cv->LineTo(x - 4, y - 3);
            cv->LineTo(x + 4, y - 3);
        }
    }
    // The edge runs on to the right end of the columns; the next cells paint over it up to
    // their own edges, so only the part up to the next cell is drawn (a line per column across
    // every column would cost columns times width).
    DrawRaisedEdge(cv, L, T, B, E, false, R + GridLineWidth());
}

} // namespace qor
