// TNTabEd: in-place editing, keys, mouse, the heading edit box and the comment memo.
#include "QOR_ntabed.h"
#include <QOR_Text_p.h>

#include <QOR_NumText.h>
#include <QOR_math1.h>

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <cmath>

namespace qor {

namespace {

constexpr TColor CommentColor = 0x808000;   // teal
constexpr int CommentHeight = 80;

bool IsMoveKey(WORD Key)
{
    switch (Key) {
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
    case VK_PRIOR: case VK_NEXT: case VK_HOME: case VK_END: case VK_TAB:
        return true;
    default:
        return false;
    }
}

// The whole text as a real number ("," read as ".", blanks around ignored).
bool ReadReal(QString Text, double& Value)
{
    Text.replace(QLatin1Char(','), QLatin1Char('.'));
    Text = Text.trimmed();
    int pos = 1;
    bool isNumber = false;
    Value = ScanFloatStr(Text, true, 1, pos, isNumber);
    return isNumber && pos == Text.size() + 1 && std::isfinite(Value);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Editing permission

bool TNTabEd::MayEdit(int GridColumn, int GridRowNr) const
{
    return !FDataReadOnly && IsDataCell(GridColumn, GridRowNr)
           && !(CellState(DataCol(GridColumn), DataRow(GridRowNr)) & csLocked);
}

void TNTabEd::SetEditing(bool On)
{
    TCustomGrid::SetOptions(TCustomGrid::Options().setFlag(goEditing, On));
}

void TNTabEd::SetDataReadOnly(bool v)
{
    if (!Store(FDataReadOnly, v))
        return;
    if (v)
        HideEditor();
    SetEditing(MayEdit(Col(), Row()));
    ApplyMasks();
    emit dataReadOnlyChanged(v);
    ChangedSetup();
}

bool TNTabEd::SelectCell(int ACol, int ARow)
{
    if (!TCustomDrawGrid::SelectCell(ACol, ARow))
        return false;
    SetEditing(MayEdit(ACol, ARow));
    return true;
}

// ---------------------------------------------------------------------------------------------
// The in-place editor

TEditStyle TNTabEd::GetEditStyle(int ACol, int ARow)
{
    return IsNominal(DataCol(ACol)) ? esPickList : esSimple;
}

QStringList TNTabEd::GetPickListItems(int ACol, int ARow)
{
    QStringList ids;
    for (int o = 0; o <= MaxNominalOrdinal; ++o) {
        const QString id = FData->GetNominalID(DataCol(ACol), o);
        if (!id.isEmpty())
            ids << id;
    }
    return ids;
}

// Called as the editor opens: what the cell holds now is what Escape brings back.
QString TNTabEd::GetEditText(int ACol, int ARow)
{
    const int c = DataCol(ACol), r = DataRow(ARow);
    FEditValue = Elem(c, r);
    FEditState = CellState(c, r);
    QString text = EditText(c, r);
    if (OnGetEditText)
        OnGetEditText(this, ACol, ARow, text);
    return text;
}

void TNTabEd::SetEditText(int ACol, int ARow, const QString& Value)
{
    const int c = DataCol(ACol), r = DataRow(ARow);
    if (MayEdit(ACol, ARow)) {
        double v = 0.0;
        bool ok = false;
        if (IsNominal(c)) {
            const int ord = FData->OrdinalOfNominalID(c, CutToLength(Value, MaxNominalIDLength), true);
            ok = ord >= 0;
            v = ord;
            if (!ok && IsValidDecInt(Value)) {
                int code = 0;
                v = ValInt(Value.trimmed(), code);
                ok = code == 0;
            }
        } else {
            ok = ReadReal(Value, v);
        }
        if (!ok)
            FData->SetCellState(c, r, CellState(c, r) | csInvalid);
        else if (IsNominal(c))
            FData->SetElem(c, r, ClampOrdinal(v));
        else
            StoreNumber(c, r, v);
    }
    TCustomDrawGrid::SetEditText(ACol, ARow, Value);
}

void TNTabEd::RestoreEditCell(int ACol, int ARow, const QString&)
{
    const int c = DataCol(ACol), r = DataRow(ARow);
    {
        Quiet quiet(this);
        FData->SetElem(c, r, FEditValue);
        FData->SetCellState(c, r, FEditState);
    }
    Invalidate();
    Changed();
}

// ---------------------------------------------------------------------------------------------
// Keys

void TNTabEd::KeyDown(WORD& Key, TShiftState Shift)
{
    if (IsDataCell(Col(), Row()) && !MayEdit(Col(), Row()) && !IsMoveKey(Key) && Key != VK_RETURN) {
        // The program hears it; the cell is not opened for it.
        TControlEvents::KeyDown(Key, Shift);
        SetEditing(false);
        return;
    }
    if (Key == VK_RETURN && FAutoAdvance && !EditorMode()) {
        // Enter advances (in KeyPress) instead of opening the editor.
        TControlEvents::KeyDown(Key, Shift);
        if (Key != 0)
            UseKey();
        return;
    }
    TCustomDrawGrid::KeyDown(Key, Shift);
    ReportSelection();
    Invalidate();
}

void TNTabEd::KeyPress(QChar& Key)
{
    const bool enter = Key == QChar(13);
    if (!MayEdit(Col(), Row())) {
        SetEditing(false);
        TControlEvents::KeyPress(Key);
    } else {
        SetEditing(true);
        TCustomDrawGrid::KeyPress(Key);
    }
    if (enter && FAutoAdvance && !Key.isNull()) {
        AutoAdvanceStep();
        UseKey();
    }
}

void TNTabEd::AutoAdvanceStep()
{
    WORD key = FAutoAdvanceDir == orHorizontal ? VK_DOWN : VK_RIGHT;
    KeyDown(key, TShiftState{});
}

void TNTabEd::ReportSelection()
{
    const TGridRect sel = Selection();
    if (sel == FLastSelection)
        return;
    FLastSelection = sel;
    AccessibleRowSelectionChanged(-1);
    Fire(OnSelectionChanged, &TNTabEd::selectionChanged);
}

void TNTabEd::TopLeftChanged()
{
    ReportSelection();
    TCustomDrawGrid::TopLeftChanged();
}

// ---------------------------------------------------------------------------------------------
// Mouse

void TNTabEd::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const TGridCoord cell = MouseCoord(X, Y);
    if (FCommentMemo) {
        TCustomDrawGrid::MouseDown(Button, Shift, X, Y);
        if (cell.X == 0 && cell.Y == 0)
            CloseCommentEditor(false);
        return;
    }
    // The first press on a cell selects it; a second press on the same cell may edit it.
    if (!(cell == FPrevPressCell))
        SetEditing(false);
    FPrevPressCell = cell;
    TCustomDrawGrid::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft)
        Invalidate();   // the current cell in the top-left cell
    ReportSelection();
}

void TNTabEd::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomDrawGrid::MouseUp(Button, Shift, X, Y);
    SetEditing(MayEdit(Col(), Row()));
}

void TNTabEd::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomDrawGrid::MouseMove(Shift, X, Y);
    ReportSelection();
}

bool TNTabEd::DoMouseWheelDown(TShiftState Shift, QPoint MousePos)
{
    const bool handled = TCustomDrawGrid::DoMouseWheelDown(Shift, MousePos);
    Invalidate();
    ReportSelection();
    return handled;
}

bool TNTabEd::DoMouseWheelUp(TShiftState Shift, QPoint MousePos)
{
    const bool handled = TCustomDrawGrid::DoMouseWheelUp(Shift, MousePos);
    Invalidate();
    ReportSelection();
    return handled;
}

// ---------------------------------------------------------------------------------------------
// The heading edit box

QLineEdit* TNTabEd::HeadingEditor() const
{
    return FHeadingEdit;
}

void TNTabEd::OpenHeadingEditor(int GridColumn, int GridRowNr)
{
    if (Designing() || GridColumn < 0 || GridRowNr < 0)
        return;
    const QRect cell = CellRect(GridColumn, GridRowNr);
    if (cell.isEmpty())
        return;
    CloseHeadingEditor();
    FHeadingCell = {GridColumn, GridRowNr};
    const int c = DataCol(GridColumn), r = DataRow(GridRowNr);
    QString text;
    if (GridRowNr == 0)
        text = ColName(c);
    else if (AttribColVisible() && GridRowNr == 1)
        text = QString::number(ColAttrib(c));
    else if (GridColumn == 0)
        text = RowName(r);
    else
        text = QString::number(RowAttrib(r));
    auto* edit = new QLineEdit(viewport());
    edit->setObjectName(QStringLiteral("HeadingEdit"));
    edit->setMaxLength(MaxDTNameLength);
    edit->setText(text);
    edit->installEventFilter(this);
    edit->move(cell.topLeft() + QPoint(30, 5));
    edit->resize(std::max(120, cell.width()), edit->sizeHint().height());
    FHeadingEdit = edit;
    edit->show();
    edit->setFocus();
    edit->selectAll();
}

void TNTabEd::StoreHeading()
{
    if (!FHeadingEdit)
        return;
    const QString text = FHeadingEdit->text();
    const int gc = FHeadingCell.X, gr = FHeadingCell.Y;
    const int c = DataCol(gc), r = DataRow(gr);
    const bool colHeading = gr == 0 || (AttribColVisible() && gr == 1);
    const bool attrib = colHeading ? gr == 1 && AttribColVisible() : gc == 1 && AttribRowVisible();
    CloseHeadingEditor();
    if (!attrib) {
        if (colHeading)
            SetColName(c, text);
        else
            SetRowName(r, text);
        return;
    }
    double v = 0.0;
    if (!ReadReal(text, v))
        return;   // no number: nothing changes
    const auto a = std::uint8_t(std::lround(std::clamp(v, 0.0, 255.0)));
    if (colHeading)
        SetColAttrib(c, a);
    else
        SetRowAttrib(r, a);
    Fire(OnHeadingChanged, &TNTabEd::headingChanged);
}

void TNTabEd::CloseHeadingEditor()
{
    QLineEdit* edit = FHeadingEdit;
    if (!edit)
        return;
    FHeadingEdit = nullptr;
    edit->removeEventFilter(this);
    const bool hadFocus = edit->hasFocus();
    edit->hide();
    edit->deleteLater();
    if (hadFocus)
        setFocus();
}

// ---------------------------------------------------------------------------------------------
// The comment memo

QPlainTextEdit* TNTabEd::CommentEditor() const
{
    return FCommentMemo;
}

void TNTabEd::OpenCommentEditor()
{
    if (Designing() || FCommentMemo)
        return;
    HideEditor();
    auto* memo = new QPlainTextEdit(viewport());
    memo->setObjectName(QStringLiteral("CommentMemo"));
    QPalette pal = memo->palette();
    pal.setColor(QPalette::Base, ToQColor(CommentColor));
    pal.setColor(QPalette::Text, Qt::white);
    memo->setPalette(pal);
    memo->setPlainText(Comment());
    const int x = TCustomGrid::ColWidths(0) + GridLineWidth();
    memo->setGeometry(x, 0, std::max(0, width() - TCustomGrid::ColWidths(0) - 20), CommentHeight);
    memo->installEventFilter(this);
    FCommentMemo = memo;
    memo->show();
    memo->setFocus();
    Invalidate();
}

void TNTabEd::CloseCommentEditor(bool Store)
{
    QPlainTextEdit* memo = FCommentMemo;
    if (!memo)
        return;
    FCommentMemo = nullptr;
    memo->removeEventFilter(this);
    if (Store)
        SetComment(memo->toPlainText());
    memo->hide();
    memo->deleteLater();
    setFocus();
    Invalidate();
}

bool TNTabEd::eventFilter(QObject* o, QEvent* e)
{
    const bool heading = FHeadingEdit && o == FHeadingEdit.data();
    const bool memo = FCommentMemo && o == FCommentMemo.data();
    if ((heading || memo) && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        if (enter || key == Qt::Key_Escape) {
            GuardedCall([&] {
                if (heading && enter)
                    StoreHeading();
                else if (heading)
                    CloseHeadingEditor();
                else
                    CloseCommentEditor(enter);
            });
            return true;
        }
    }
    if (heading && e->type() == QEvent::FocusOut)
        GuardedCall([this] { StoreHeading(); });
    return TCustomDrawGrid::eventFilter(o, e);
}

} // namespace qor
