// TReportListView: mouse and keyboard, the row selection model, check toggling, in-place
// editing, header-click sorting and filtering.
#include "QOR_rlview.h"

#include <QApplication>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QStringMatcher>

namespace qor {

namespace {

int RightOf(const QRect& r) { return r.left() + r.width(); }

// Attribute changes are no content changes: keep the array's change notification quiet.
class QuietArray {
public:
    explicit QuietArray(TStringArray* a) : FArray(a), FOld(a->NotifyChange()) { a->SetNotifyChange(false); }
    ~QuietArray() { FArray->SetNotifyChange(FOld); }
private:
    TStringArray* FArray;
    bool FOld;
};

// ---- filter expressions

struct BoolNode {
    enum Kind { Term, Not, And, Or } K = Term;
    int A = -1, B = -1;   // child nodes
    int TermIx = -1;
};

class BoolParser {
public:
    explicit BoolParser(const QString& s) : FText(s) { Tokenize(); }
    // Builds the tree; throws EQORRepListError on malformed input.
    int Parse(std::vector<BoolNode>& nodes, QStringList& terms)
    {
        FNodes = &nodes;
        FTerms = &terms;
        if (FTokens.isEmpty())
            Fail("empty expression");
        const int root = ParseOr();
        if (FPos != FTokens.size())
            Fail("unexpected \"" + FTokens[FPos].Text + "\"");
        return root;
    }

private:
    struct Token {
        QString Text;
        bool Quoted = false;
    };
    [[noreturn]] static void Fail(const QString& why)
    {
        throw EQORRepListError(QStringLiteral("Invalid filter expression: ") + why);
    }
    void Tokenize()
    {
        int i = 0;
        const int n = int(FText.size());
        while (i < n) {
            const QChar c = FText[i];
            if (c.isSpace()) {
                ++i;
            } else if (c == QLatin1Char('(') || c == QLatin1Char(')')) {
                FTokens.append({QString(c), false});
                ++i;
            } else if (c == QLatin1Char('"')) {
                const int end = int(FText.indexOf(QLatin1Char('"'), i + 1));
                if (end < 0)
                    Fail(QStringLiteral("unbalanced quotes"));
                FTokens.append({FText.mid(i + 1, end - i - 1), true});
                i = end + 1;
            } else {
                int j = i;
                while (j < n && !FText[j].isSpace() && FText[j] != QLatin1Char('(') && FText[j] != QLatin1Char(')')
                       && FText[j] != QLatin1Char('"'))
                    ++j;
                FTokens.append({FText.mid(i, j - i), false});
                i = j;
            }
        }
    }
    bool IsWord(const char* w) const
    {
        return FPos < FTokens.size() && !FTokens[FPos].Quoted
            && FTokens[FPos].Text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
    }
    bool IsPunct(char p) const { return FPos < FTokens.size() && !FTokens[FPos].Quoted && FTokens[FPos].Text == QLatin1Char(p); }
    int Add(BoolNode n) { FNodes->push_back(n); return int(FNodes->size()) - 1; }
    int ParseOr()
    {
        int left = ParseAnd();
        while (IsWord("or")) {
            ++FPos;
            left = Add({BoolNode::Or, left, ParseAnd(), -1});
        }
        return left;
    }
    bool StartsOperand() const
    {
        return FPos < FTokens.size() && !IsWord("or") && !IsWord("and") && !IsPunct(')');
    }
    int ParseAnd()
    {
        int left = ParseNot();
        for (;;) {
            if (IsWord("and")) {
                ++FPos;
                left = Add({BoolNode::And, left, ParseNot(), -1});
            } else if (StartsOperand()) {
                left = Add({BoolNode::And, left, ParseNot(), -1});
            } else {
                return left;
            }
        }
    }
    int ParseNot()
    {
        if (IsWord("not")) {
            ++FPos;
            return Add({BoolNode::Not, ParseNot(), -1, -1});
        }
        if (IsPunct('(')) {
            ++FPos;
            const int inner = ParseOr();
            if (!IsPunct(')'))
                Fail(QStringLiteral("unbalanced parentheses"));
            ++FPos;
            return inner;
        }
        if (FPos >= FTokens.size() || IsPunct(')') || IsWord("and") || IsWord("or"))
            Fail(QStringLiteral("a term is missing"));
        FTerms->append(FTokens[FPos].Text);
        ++FPos;
        return Add({BoolNode::Term, -1, -1, int(FTerms->size()) - 1});
    }

    QString FText;
    QVector<Token> FTokens;
    int FPos = 0;
    std::vector<BoolNode>* FNodes = nullptr;
    QStringList* FTerms = nullptr;
};

class RowMatcher {
public:
    RowMatcher(const QString& exp, bool ignoreCase, TFilterMode mode)
        : FMode(mode), FCase(ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive)
    {
        if (mode == fmGrep) {
            FRegex.setPattern(exp);
            if (ignoreCase)
                FRegex.setPatternOptions(QRegularExpression::CaseInsensitiveOption);
            if (!FRegex.isValid())
                throw EQORRepListError(QStringLiteral("Invalid filter expression: ") + FRegex.errorString());
            FRegex.optimize();
        } else if (mode == fmBoolean) {
            FRoot = BoolParser(exp).Parse(FNodes, FTerms);
            for (const QString& t : std::as_const(FTerms))
                FTermMatchers.emplace_back(t, FCase);
        } else {
            FTermMatchers.emplace_back(exp, FCase);
        }
    }
    // cells(i) gives the text of the i-th filter column of the row.
    template <typename Cells>
    bool Matches(int nCols, Cells cells) const
    {
        switch (FMode) {
        case fmGrep:
            for (int i = 0; i < nCols; ++i)
                if (FRegex.match(cells(i).toString()).hasMatch())
                    return true;
            return false;
        case fmBoolean: {
            std::vector<signed char> memo(std::size_t(FTerms.size()), -1);
            auto term = [&](int t) {
                if (memo[std::size_t(t)] < 0) {
                    bool hit = false;
                    for (int i = 0; i < nCols && !hit; ++i)
                        hit = Contains(FTermMatchers[std::size_t(t)], cells(i));
                    memo[std::size_t(t)] = hit;
                }
                return memo[std::size_t(t)] == 1;
            };
            return Eval(FRoot, term);
        }
        default:
            for (int i = 0; i < nCols; ++i)
                if (Contains(FTermMatchers.front(), cells(i)))
                    return true;
            return false;
        }
    }

private:
    // A prepared matcher searches each cell without re-reading the pattern (an empty pattern
    // matches every cell, as QString::contains does).
    static bool Contains(const QStringMatcher& m, QStringView cell)
    {
        return m.pattern().isEmpty() || m.indexIn(cell) >= 0;
    }

    template <typename Term>
    bool Eval(int n, Term& term) const
    {
        const BoolNode& node = FNodes[std::size_t(n)];
        switch (node.K) {
        case BoolNode::Term: return term(node.TermIx);
        case BoolNode::Not: return !Eval(node.A, term);
        case BoolNode::And: return Eval(node.A, term) && Eval(node.B, term);
        case BoolNode::Or: return Eval(node.A, term) || Eval(node.B, term);
        }
        return false;
    }

    TFilterMode FMode;
    Qt::CaseSensitivity FCase;
    QRegularExpression FRegex;
    std::vector<BoolNode> FNodes;
    QStringList FTerms;
    std::vector<QStringMatcher> FTermMatchers;   // one per term (fmSimple: the whole expression)
    int FRoot = -1;
};

} // namespace

// ---------------------------------------------------------------------------------------------
// Mouse

void TReportListView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FLastMousePosX = X;
    FLastMousePosY = Y;
    TCustomDrawGrid::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || X <= 0 || X >= GridWidth() || Y <= 0 || Y >= GridHeight())
        return;
    const TGridCoord cell = MouseCoord(X, Y);
    if (cell.X < 0)
        return;
    const int d = DataCol(cell.X);
    const QRect rc = CellRect(cell.X, cell.Y);
    if (cell.Y == ColumnHeaderRow()) {
        // Clicks near a border are left to column sizing.
        if (FSortEnabled && X - rc.left() > 4 && RightOf(rc) - X > 4)
            HeaderClickSort(d);
        return;
    }
    if (cell.Y < FixedRows())
        return;
    const int r = DataRowOfGridRow(cell.Y);
    if (r < 1 || r > NrOfShownRows())
        return;
    PaintGuard guard(this);
    SetOptions(Options().setFlag(goEditing, ColumnEditable(d) && !RowDisabled(r)));
    if (FRLData->ColumnCheckMode(d) != cmNone && X - rc.left() < 18 && !FROCheckMarks && !RowDisabled(r)
        && (FRLData->RawElem(d, r).length() > 1 || FShowEmptyCBx))
        ToggleCheck(d, r);
    ApplyClickSelection(Shift);
}

void TReportListView::HeaderClickSort(int d)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TStringArray* s = FRLData->Strings();
    const int remembered = s->GetSortOrder(DataRowOfGridRow(Selection().Top));
    FRLData->SetSortToggle(!FRLData->SortToggle());
    Sort(d, SecondarySortColumn(), FRLData->SortToggle());
    if (remembered > 0) {
        for (int i = 1; i <= NrOfRows(); ++i) {
            if (s->GetSortOrder(i) == remembered) {
                const TGridRect sel = Selection();
                const int g = GridRowOfDataRow(i);
                SetSelection(TGridRect{sel.Left, g, sel.Right, g});
                break;
            }
        }
    }
    QApplication::restoreOverrideCursor();
}

void TReportListView::ToggleCheck(int d, int r)
{
    bool state = !FRLData->ElemChecked(d, r);
    if (OnBeforeCheckedChange)
        OnBeforeCheckedChange(this, state, d, r);
    if (FRLData->ColumnCheckMode(d) == cmRadio)
        FRLData->SetElemChecked(d, r, true);   // a radio column always ends with this cell chosen
    else
        FRLData->SetElemChecked(d, r, state);
    bool before = !state;
    if (OnCheckedChange)
        OnCheckedChange(this, before, d, r);
}

void TReportListView::ApplyClickSelection(TShiftState Shift)
{
    const int r = DataRowOfGridRow(Selection().Top);
    if (FRowSelectMode == 0 || r < 1 || r > NrOfRows())
        return;
    {
        QuietArray quiet(FRLData->Strings());
        if (FRowSelectMode == 1) {
            SetAllRowBits(rlaSelected, false);
            SetRowBit(r, rlaSelected, true);
        } else if (Shift.Contains(ssShift)) {
            // The range takes the anchor's selection state; the disabled bits stay as they are.
            const bool on = FRLData->RowAttrib(FSelectAnchor) & rlaSelected;
            const int lo = std::min(r, FSelectAnchor), hi = std::max(r, FSelectAnchor);
            for (int i = std::max(1, lo); i <= std::min(hi, NrOfRows()); ++i)
                SetRowBit(i, rlaSelected, on);
        } else {
            FSelectAnchor = r;
            if (Shift.Contains(ssCtrl) || !FCtrlForMultiSel) {
                SetRowBit(r, rlaSelected, !(FRLData->RowAttrib(r) & rlaSelected));
            } else {
                SetAllRowBits(rlaSelected, false);
                SetRowBit(r, rlaSelected, true);
            }
        }
    }
    ChangedSelection();
}

void TReportListView::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const bool sized = GridState() == gsColSizing;
    TCustomDrawGrid::MouseUp(Button, Shift, X, Y);
    if (sized)
        ChangedSetup();   // a column width set by the user is a layout change like ColWidths

    if (FRowSelectMode == 2 && (X > GridWidth() || (Y > GridHeight() && Button == mbLeft))) {
        {
            QuietArray quiet(FRLData->Strings());
            SetAllRowBits(rlaSelected, false);
        }
        ChangedSelection();
        Invalidate();
    }
}

void TReportListView::MouseMove(TShiftState Shift, int X, int Y)
{
    FLastMousePosX = X;
    FLastMousePosY = Y;
    TCustomDrawGrid::MouseMove(Shift, X, Y);
}

// A double click arrives without a move first; its position is the last mouse position.
void TReportListView::mouseDoubleClickEvent(QMouseEvent* e)
{
    const QPoint p = MapEventPos(e->position().toPoint());
    FLastMousePosX = p.x();
    FLastMousePosY = p.y();
    TCustomDrawGrid::mouseDoubleClickEvent(e);
}

void TReportListView::DblClick()
{
    if (FLastMousePosY < GridHeight() && FColHdVis) {
        const TGridCoord cell = MouseCoord(FLastMousePosX, FLastMousePosY);
        if (cell.X >= 0 && cell.Y == ColumnHeaderRow()) {
            const QRect rc = CellRect(cell.X, cell.Y);
            const int X = FLastMousePosX;
            if (X - rc.left() < 5 || RightOf(rc) - X <= 4) {
                // Size the column left of the border, skipping hidden (zero-width) columns.
                int c = cell.X + (X >= (rc.left() + RightOf(rc)) / 2 ? 1 : 0);
                while (c > 1 && TCustomGrid::ColWidths(c - 1) < 1)
                    --c;
                if (c >= 1)
                    AutoColWidth(DataCol(c - 1), true, 0);
            }
            return;   // double clicks on the column headers are the view's
        }
    }
    TCustomDrawGrid::DblClick();
}

bool TReportListView::DoMouseWheelDown(TShiftState Shift, QPoint MousePos)
{
    return TControlEvents::DoMouseWheelDown(Shift, MousePos);
}

bool TReportListView::DoMouseWheelUp(TShiftState Shift, QPoint MousePos)
{
    return TControlEvents::DoMouseWheelUp(Shift, MousePos);
}

// ---------------------------------------------------------------------------------------------
// Keyboard

void TReportListView::KeyDown(WORD& Key, TShiftState Shift)
{
    TCustomDrawGrid::KeyDown(Key, Shift);
    if (Key < VK_PRIOR || Key > VK_DOWN)
        return;
    {
        QuietArray quiet(FRLData->Strings());
        SetAllRowBits(rlaSelected, false);
        const int r = DataRowOfGridRow(Selection().Top);
        if (r >= 1 && r <= NrOfShownRows())
            SetRowBit(r, rlaSelected, true);
    }
    Invalidate();
    CursorKeyAction(Key);
    ChangedSelection();
}

void TReportListView::KeyPress(QChar& Key)
{
    TCustomDrawGrid::KeyPress(Key);
    if (FAutoAdvance && (Key == QChar(13) || Key.isNull())) {
        WORD down = VK_DOWN;
        KeyDown(down, TShiftState{});
    }
}

void TReportListView::CursorKeyAction(WORD Key)
{
    if (OnCursorKeyAction)
        OnCursorKeyAction(this, Key);
}

// ---------------------------------------------------------------------------------------------
// In-place editing (grid coordinates in, data coordinates to the events)

bool TReportListView::SelectCell(int ACol, int ARow)
{
    SetOptions(Options().setFlag(goEditing, ARow != 0 && ColumnEditable(DataCol(ACol))));
    bool can = true;
    if (OnSelectCell)
        OnSelectCell(this, ACol, ARow, can);
    return can;
}

QString TReportListView::GetEditText(int ACol, int ARow)
{
    const int d = DataCol(ACol), r = DataRowOfGridRow(ARow);
    QString v = FRLData->RawElem(d, r);
    if (FRLData->ColumnCheckMode(d) != cmNone)
        v = v.mid(1);
    if (OnGetEditText)
        OnGetEditText(this, ACol, r, v);
    return v;
}

void TReportListView::SetEditText(int ACol, int ARow, const QString& Value)
{
    const int d = DataCol(ACol), r = DataRowOfGridRow(ARow);
    if (FRLData->ColumnCheckMode(d) != cmNone) {
        const QString raw = FRLData->RawElem(d, r);
        const bool checked = !raw.isEmpty() && raw[0] != QLatin1Char(' ');
        FRLData->SetRawElem(d, r, QString(checked ? QLatin1Char('X') : QLatin1Char(' ')) + Value);
    } else {
        FRLData->SetRawElem(d, r, Value);
    }
    if (OnSetEditText)
        OnSetEditText(this, ACol, r, Value);
}

// ---------------------------------------------------------------------------------------------
// Selection model

void TReportListView::SetRowBit(int r, std::uint8_t bit, bool on)
{
    const std::uint8_t a = FRLData->RowAttrib(r);
    const std::uint8_t b = on ? std::uint8_t(a | bit) : std::uint8_t(a & ~bit);
    if (a != b)
        FRLData->SetRowAttrib(r, b);
    if (on && (bit & rlaSelected) && FSelHintValid) {
        FSelHint.push_back(r);
        if (FSelHint.size() > std::size_t(NrOfRows()))
            FSelHintValid = false;
    }
}

void TReportListView::SetAllRowBits(std::uint8_t bit, bool on)
{
    if (bit == rlaSelected && !on && FSelHintValid) {
        for (int r : FSelHint)
            SetRowBit(r, rlaSelected, false);
        FSelHint.clear();
        return;
    }
    for (int r = 1; r <= NrOfRows(); ++r)
        SetRowBit(r, bit, on);
    if (bit & rlaSelected) {
        FSelHint.clear();
        FSelHintValid = !on;
    }
}

void TReportListView::SetRowSelectMode(int v)
{
    FRowSelectMode = v;
    {
        QuietArray quiet(FRLData->Strings());
        if (v != 2)
            SetAllRowBits(rlaSelected, false);
    }
    if (v == 0)
        SetSelection(TGridRect{NrOfColumns() + 1, NrOfRows() + 1, NrOfColumns() + 1, NrOfRows() + 1});
    Invalidate();
    ChangedSelection();
}

bool TReportListView::RowSelected(int r) const
{
    return r >= 1 && r <= NrOfRows() && (FRLData->RowAttrib(r) & rlaSelected);
}

void TReportListView::SetRowSelected(int r, bool v)
{
    if (r < 1 || r > NrOfRows())
        return;
    {
        QuietArray quiet(FRLData->Strings());
        SetRowBit(r, rlaSelected, v);
    }
    ChangedSelection();
    Invalidate();
}

bool TReportListView::RowEnabled(int r) const
{
    return r >= 1 && r <= NrOfRows() && !(FRLData->RowAttrib(r) & rlaDisabled);
}

void TReportListView::SetRowEnabled(int r, bool v)
{
    if (r < 1 || r > NrOfRows())
        return;
    {
        QuietArray quiet(FRLData->Strings());
        SetRowBit(r, rlaDisabled, !v);
    }
    ChangedSelection();
    Invalidate();
}

bool TReportListView::ColumnSelected(int c) const
{
    return c >= 1 && c <= NrOfColumns() && (FRLData->ColAttrib(c) & rlaSelected);
}

void TReportListView::SetColumnSelected(int c, bool v)
{
    if (c < 1 || c > NrOfColumns())
        return;
    {
        QuietArray quiet(FRLData->Strings());
        const std::uint8_t a = FRLData->ColAttrib(c);
        FRLData->SetColAttrib(c, v ? std::uint8_t(a | rlaSelected) : std::uint8_t(a & ~rlaSelected));
    }
    ChangedSelection();
    Invalidate();
}

void TReportListView::SelectRow(int RowNr)
{
    {
        QuietArray quiet(FRLData->Strings());
        SetAllRowBits(rlaSelected, false);
        if (RowNr >= 1 && RowNr <= NrOfRows())
            SetRowBit(RowNr, rlaSelected, true);
    }
    Invalidate();
    ChangedSelection();
}

void TReportListView::SelectAllRows()
{
    {
        QuietArray quiet(FRLData->Strings());
        SetAllRowBits(rlaSelected, true);
    }
    Invalidate();
    ChangedSelection();
}

void TReportListView::DeselectAllRows()
{
    {
        QuietArray quiet(FRLData->Strings());
        SetAllRowBits(rlaSelected, false);
    }
    Invalidate();
    ChangedSelection();
}

void TReportListView::SelectColumn(int ColNr)
{
    {
        QuietArray quiet(FRLData->Strings());
        for (int c = 1; c <= NrOfColumns(); ++c) {
            const std::uint8_t a = FRLData->ColAttrib(c);
            FRLData->SetColAttrib(c, c == ColNr ? std::uint8_t(a | rlaSelected) : std::uint8_t(a & ~rlaSelected));
        }
    }
    Invalidate();
    ChangedSelection();
}

void TReportListView::SelectAllColumns()
{
    {
        QuietArray quiet(FRLData->Strings());
        for (int c = 1; c <= NrOfColumns(); ++c)
            FRLData->SetColAttrib(c, std::uint8_t(FRLData->ColAttrib(c) | rlaSelected));
    }
    Invalidate();
    ChangedSelection();
}

void TReportListView::DeselectAllColumns()
{
    {
        QuietArray quiet(FRLData->Strings());
        for (int c = 1; c <= NrOfColumns(); ++c)
            FRLData->SetColAttrib(c, std::uint8_t(FRLData->ColAttrib(c) & ~rlaSelected));
    }
    Invalidate();
    ChangedSelection();
}

void TReportListView::EnableAllRows()
{
    {
        QuietArray quiet(FRLData->Strings());
        SetAllRowBits(rlaDisabled, false);
    }
    Invalidate();
    ChangedSelection();
}

void TReportListView::DisableAllRows()
{
    {
        QuietArray quiet(FRLData->Strings());
        SetAllRowBits(rlaDisabled, true);
    }
    Invalidate();
    ChangedSelection();
}

int TReportListView::FirstSelectedRow() const
{
    for (int r = 1; r <= NrOfRows(); ++r) {
        const std::uint8_t a = FRLData->RowAttrib(r);
        if (a & rlaSelected)
            return (a & rlaDisabled) ? 0 : r;
    }
    return 0;
}

int TReportListView::FirstSelectedColumn() const
{
    for (int c = 1; c <= NrOfColumns(); ++c)
        if (FRLData->ColAttrib(c) & rlaSelected)
            return c;
    return 0;
}

int TReportListView::NumSelectedRows() const
{
    int n = 0;
    for (int r = 1; r <= NrOfRows(); ++r)
        n += (FRLData->RowAttrib(r) & rlaSelected) ? 1 : 0;
    return n;
}

int TReportListView::NumSelectedColumns() const
{
    int n = 0;
    for (int c = 1; c <= NrOfColumns(); ++c)
        n += (FRLData->ColAttrib(c) & rlaSelected) ? 1 : 0;
    return n;
}

int TReportListView::NumEnabledRows() const
{
    int n = 0;
    for (int r = 1; r <= NrOfRows(); ++r)
        n += (FRLData->RowAttrib(r) & rlaDisabled) ? 0 : 1;
    return n;
}

TIntArray TReportListView::GetSelectedRows() const
{
    TIntArray rows;
    for (int r = 1; r <= NrOfRows(); ++r)
        if (FRLData->RowAttrib(r) & rlaSelected)
            rows.append(r);
    return rows;
}

void TReportListView::SetSelectedRows(const TIntArray& SelList)
{
    {
        QuietArray quiet(FRLData->Strings());
        SetAllRowBits(rlaSelected, false);
        for (int r : SelList) {
            if (r < 1 || r > NrOfRows())
                continue;
            TCustomGrid::SetRow(GridRowOfDataRow(r));
            SetRowBit(r, rlaSelected, true);
        }
    }
    Invalidate();
    ChangedSelection();
}

void TReportListView::CenterScrollAndSelect(int Row)
{
    SelectRow(Row);
    const int v = VisibleRowCount();
    const int top = Row > NrOfRows() - v / 2 ? NrOfRows() - v + 1 : Row - v / 2;
    SetTopRow(std::max(1, top));
    const int g = GridRowOfDataRow(Row);
    SetSelection(TGridRect{FixedCols(), g, ColCount() - 1, g});
}

TGridCoord TReportListView::MouseCell(int X, int Y) const
{
    const TGridCoord cell = MouseCoord(X, Y);
    if (cell.X < 0 || X >= GridWidth() || Y >= GridHeight())
        return TGridCoord{0, 0};
    TGridCoord res{cell.X + 1, 0};
    if (cell.Y >= FixedRows())
        res.Y = DataRowOfGridRow(cell.Y);
    else if (cell.Y == ColumnHeaderRow())
        res.Y = -1;
    else
        res.Y = -2;
    return res;
}

// ---------------------------------------------------------------------------------------------
// Sorting and filtering

void TReportListView::Sort(int PrimCol, int SecCol, bool Ascending)
{
    Sort(PrimCol, SecCol, Ascending, FRLData->LastSortOrderSec());
}

void TReportListView::Sort(int PrimCol, int SecCol, bool AscendPrim, bool AscendSec)
{
    HideEditor();
    {
        PaintGuard guard(this);
        FRLData->Sort(PrimCol, SecCol, AscendPrim, AscendSec);
        FSecSortColumn = -2;
        ReapplyFilterOrder();
    }
    Invalidate();
}

void TReportListView::UnSort()
{
    HideEditor();
    {
        PaintGuard guard(this);
        FRLData->UnSort();
        ReapplyFilterOrder();
    }
    Invalidate();
}

void TReportListView::ApplyDisplayOrder(const std::vector<int>& physicalOrder)
{
    FSelHintValid = false;
    TStringArray* s = FRLData->Strings();
    QuietArray quiet(s);
    for (int i = 1; i <= int(physicalOrder.size()); ++i)
        if (s->GetSortOrder(i) != physicalOrder[std::size_t(i - 1)])
            s->SetSortOrder(i, physicalOrder[std::size_t(i - 1)]);
}

void TReportListView::ReapplyFilterOrder()
{
    if (FFilterCount < 0)
        return;
    TStringArray* s = FRLData->Strings();
    const int n = NrOfRows();
    std::vector<int> order;
    order.reserve(std::size_t(n));
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 1; i <= n; ++i) {
            const int p = s->GetSortOrder(i);
            const bool match = p >= 0 && std::size_t(p) < FMatchPhys.size() && FMatchPhys[std::size_t(p)];
            if (match == (pass == 0))
                order.push_back(p);
        }
    int shown = 0;
    for (int p : order) {
        if (!(std::size_t(p) < FMatchPhys.size() && FMatchPhys[std::size_t(p)]))
            break;
        ++shown;
    }
    FFilterCount = shown;
    ApplyDisplayOrder(order);
}

void TReportListView::EndFilter()
{
    if (FFilterCount < 0)
        return;
    FFilterCount = -1;
    FMatchPhys.clear();
}

void TReportListView::SortEnabledState(int SortColumn1, int SortColumn2, bool Ascending)
{
    HideEditor();
    {
        PaintGuard guard(this);
        TStringArray* s = FRLData->Strings();
        const int n = NrOfRows();
        std::vector<int> disabledBefore;
        for (int i = 1; i <= n; ++i)
            if (FRLData->RowAttrib(i) & rlaDisabled)
                disabledBefore.push_back(s->GetSortOrder(i));
        FRLData->Sort(SortColumn1, SortColumn2, Ascending, true);
        FSecSortColumn = -2;
        std::vector<int> order;
        order.reserve(std::size_t(n));
        for (int i = 1; i <= n; ++i)
            if (!(FRLData->RowAttrib(i) & rlaDisabled))
                order.push_back(s->GetSortOrder(i));
        order.insert(order.end(), disabledBefore.begin(), disabledBefore.end());
        ApplyDisplayOrder(order);
        ReapplyFilterOrder();
        s->Changed();
    }
    Invalidate();
}

void TReportListView::FilterAndSort(const QString& FilterExp, const QVector<int>& FilterColumns, bool IgnoreCase,
                                    TFilterMode FilterMode, int SortColumn, bool Ascending)
{
    HideEditor();
    // Parse first: a malformed expression changes nothing.
    std::unique_ptr<RowMatcher> matcher;
    if (!FilterExp.isEmpty())
        matcher = std::make_unique<RowMatcher>(FilterExp, IgnoreCase, FilterMode);
    QVector<int> cols;
    for (int c : FilterColumns)
        if (c >= 1 && c <= NrOfColumns())
            cols.append(c);
    if (cols.isEmpty())
        for (int c = 1; c <= NrOfColumns(); ++c)
            cols.append(c);
    std::vector<bool> checkCol(cols.size());
    for (int i = 0; i < cols.size(); ++i)
        checkCol[std::size_t(i)] = FRLData->ColumnCheckMode(cols[i]) != cmNone;

    {
        PaintGuard guard(this);
        EndFilter();
        if (SortColumn >= 1 && SortColumn <= NrOfColumns()) {
            FRLData->Sort(SortColumn, -1, Ascending, true);
            FSecSortColumn = -2;
        }
        if (matcher) {
            TStringArray* s = FRLData->Strings();
            const int n = NrOfRows();
            FMatchPhys.assign(std::size_t(n) + 1, 0);
            const auto matchesPhysical = [&](int phys) {
                return matcher->Matches(int(cols.size()), [&](int k) {
                    QStringView v = s->GetPhysicalStringView(cols[k], phys);
                    return checkCol[std::size_t(k)] ? v.mid(std::min<qsizetype>(1, v.size())) : v;
                });
            };
            if (OnBeforeFilter) {
                // The handler sees the rows in their shown order.
                for (int i = 1; i <= n; ++i) {
                    bool found = true;
                    TLogicOp op = loAND;
                    OnBeforeFilter(this, i, found, op);
                    const int phys = s->GetSortOrder(i);
                    FMatchPhys[std::size_t(phys)] = ApplyLogicOp(matchesPhysical(phys), found, op);
                }
            } else {
                // Physical order reads the cell storage in sequence, however the rows are sorted.
                for (int phys = 1; phys <= n; ++phys)
                    FMatchPhys[std::size_t(phys)] = matchesPhysical(phys);
            }
            FFilterCount = 0;
            ReapplyFilterOrder();
        }
        DeriveRows();
        TCustomGrid::SetTopRow(CountHeadRows());
        FRLData->Strings()->Changed();
    }
    Invalidate();
    ChangedSetup();
}

} // namespace qor
