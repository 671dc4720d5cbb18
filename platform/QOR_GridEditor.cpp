// The draw grid's in-place editors: the line edit over the current cell and the pick list,
// how they open, follow their cell, commit and cancel.
#include "QOR_Grids.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>

namespace qor {

// ---------------------------------------------------------------------------------------------
// In-place editor

TInplaceEdit::TInplaceEdit(TCustomGrid* grid) : QLineEdit(grid->viewport()), FGrid(grid)
{
    setFrame(false);
    hide();
    connect(this, &QLineEdit::textEdited, this, [this](const QString& s) { FGrid->EditorTextEdited(s); });
}

void TInplaceEdit::keyPressEvent(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Escape:
        FGrid->CancelEditor();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        FGrid->PassEnterFromEditor(e);
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        // Leaving the cell by keyboard: keep the text and let the grid move.
        FGrid->CommitEditorAndHide();
        FGrid->keyPressEvent(e);
        return;
    default:
        QLineEdit::keyPressEvent(e);
    }
}

void TInplaceEdit::focusOutEvent(QFocusEvent* e)
{
    QLineEdit::focusOutEvent(e);
    // Focus moving to another widget (not a popup of our own) ends editing.
    if (e->reason() != Qt::PopupFocusReason && isVisible() && QApplication::focusWidget() != FGrid)
        FGrid->CommitEditorAndHide();
}

// ---------------------------------------------------------------------------------------------
// Editing

bool TCustomGrid::EditorMode() const { return FEditorShown; }

void TCustomGrid::SetEditorMode(bool v)
{
    if (v)
        ShowEditor();
    else
        CommitEditorAndHide();
}

QLineEdit* TCustomGrid::InplaceEditor() const { return FEditor; }

// As on the classic grid, a whole-row cursor leaves no single cell to edit.
bool TCustomGrid::CanEditShow() const
{
    return FOptions.testFlag(goEditing) && !FOptions.testFlag(goRowSelect);
}

void TCustomGrid::ShowEditor()
{
    if (!FOptions.testFlag(goEditing) || !CanEditShow() || FCurrent.X < FFixedCols || FCurrent.Y < FFixedRows
        || FCurrent.X >= ColCount() || FCurrent.Y >= FRowCount)
        return;
    if (FEditorShown && FEditCell == FCurrent)
        return;
    if (FEditorShown)
        CommitEditorAndHide();
    ScrollToCell(FCurrent.X, FCurrent.Y);
    FEditCell = FCurrent;
    FEditWritten = false;
    FEditOriginal = GetEditText(FCurrent.X, FCurrent.Y);
    FPickActive = GetEditStyle(FCurrent.X, FCurrent.Y) == esPickList;
    if (FPickActive) {
        if (!FPickList) {
            FPickList = new QComboBox(viewport());
            FPickList->setEditable(true);
            FPickList->setFrame(false);
            FPickList->installEventFilter(this);
            FPickList->lineEdit()->installEventFilter(this);
            connect(FPickList, &QComboBox::currentTextChanged, this, [this](const QString& s) {
                if (FEditorShown && FPickActive)
                    EditorTextEdited(s);
            });
        }
        const QSignalBlocker block(FPickList);
        FPickList->setMaxVisibleItems(FPickListDropDownCount);
        FPickList->clear();
        FPickList->addItems(GetPickListItems(FCurrent.X, FCurrent.Y));
        FPickList->setEditText(FEditOriginal);
    } else {
        if (!FEditor)
            FEditor = new TInplaceEdit(this);
        FEditor->setFont(font());
        FEditor->setText(FEditOriginal);
    }
    FEditorShown = true;
    PlaceEditor();
    QWidget* ed = FPickActive ? static_cast<QWidget*>(FPickList) : static_cast<QWidget*>(FEditor);
    ed->show();
    ed->setFocus();
    if (ed == FEditor)
        FEditor->selectAll();
}

void TCustomGrid::ShowEditorChar(QChar ch)
{
    ShowEditor();
    if (!FEditorShown)
        return;
    if (FEditor && FEditor->isVisible()) {
        FEditor->setText(QString(ch));
        EditorTextEdited(FEditor->text());
    } else if (FPickActive) {
        FPickList->setEditText(QString(ch));
    }
}

void TCustomGrid::PlaceEditor()
{
    if (!FEditorShown)
        return;
    QWidget* ed = FPickActive ? static_cast<QWidget*>(FPickList) : static_cast<QWidget*>(FEditor);
    if (!ed)
        return;
    const QRect r = CellRect(FEditCell.X, FEditCell.Y);
    if (r.isEmpty()) {
        ed->setGeometry(-1000, -1000, 10, 10);   // scrolled out of sight, still editing
        return;
    }
    ed->setGeometry(r);
}

void TCustomGrid::EditorTextEdited(const QString& s)
{
    if (!FEditorShown)
        return;
    FEditWritten = true;
    SetEditText(FEditCell.X, FEditCell.Y, s);
}

void TCustomGrid::CommitEditorAndHide()
{
    if (!FEditorShown)
        return;
    FEditorShown = false;
    const bool hadFocus = (FEditor && FEditor->hasFocus()) || (FPickList && FPickList->isAncestorOf(QApplication::focusWidget()))
                          || (FPickList && FPickList->hasFocus());
    if (FEditor)
        FEditor->hide();
    if (FPickList)
        FPickList->hide();
    if (hadFocus)
        setFocus();
    Invalidate();
}

void TCustomGrid::CancelEditor()
{
    if (!FEditorShown)
        return;
    if (FEditWritten)
        RestoreEditCell(FEditCell.X, FEditCell.Y, FEditOriginal);
    CommitEditorAndHide();
}

void TCustomGrid::RestoreEditCell(int ACol, int ARow, const QString& OriginalText)
{
    SetEditText(ACol, ARow, OriginalText);
}

void TCustomGrid::PassEnterFromEditor(QKeyEvent* e)
{
    CommitEditorAndHide();
    FEnterFromEditor = true;
    keyPressEvent(e);
    FEnterFromEditor = false;
}

void TCustomGrid::SetPickListDropDownCount(int v)
{
    FPickListDropDownCount = std::max(1, v);
    if (FPickList)
        FPickList->setMaxVisibleItems(FPickListDropDownCount);
}

void TCustomGrid::HideEditor() { CommitEditorAndHide(); }

bool TCustomGrid::eventFilter(QObject* o, QEvent* e)
{
    if (FPickList && (o == FPickList || o == FPickList->lineEdit()) && e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Escape) {
            CancelEditor();
            return true;
        }
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            EditorTextEdited(FPickList->currentText());
            PassEnterFromEditor(k);
            return true;
        }
    }
    return QAbstractScrollArea::eventFilter(o, e);
}

} // namespace qor
