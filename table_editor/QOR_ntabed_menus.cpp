// TNTabEd: the data menu and the heading menu — captions, masks, where they open and what their
// items do.
#include "QOR_ntabed.h"
#include <QOR_Text_p.h>

#include <QAction>
#include <QIcon>
#include <QBitmap>
#include <QMenu>
#include <QPixmap>
#include <QTimer>

namespace qor {

namespace {

constexpr int DataItems = 13;
constexpr int HeadItems = 5;
constexpr int ScopeItems = 4;
constexpr int MaxCaption = 50;

const char* const DataCaptions[DataItems] = {
    "Mark as type A", "Mark as type B", "Unmark type A", "Unmark type B", "Unmark All", "Clear", "Copy", "Paste",
    "Extract from Clipboard", "Data Read-Only", "Select All", "Toggle Empty State", "Reset All Empty States"};
const char* const HeadCaptions[HeadItems] = {"Edit Heading", "Change Precision", "Select..", "Insert..", "Delete.."};
const char* const ScopeCaptions[ScopeItems] = {"Range", "Column", "Row", "All"};

// Data menu items by number.
enum : int { diMarkA = 1, diMarkB, diUnmarkA, diUnmarkB, diUnmarkAll, diClear, diCopy, diPaste, diExtract,
             diReadOnly, diSelectAll, diToggleEmpty, diResetEmpty };
enum : int { hiEdit = 1, hiPrecision, hiSelect, hiInsert, hiDelete };

bool Bit(int Mask, int Item) { return (Mask >> (Item - 1)) & 1; }

// A glyph of the library's resources; its bottom-left pixel's colour is transparent.
QIcon ResourceIcon(const QString& Name)
{
    QPixmap pix(QStringLiteral(":/korvane/") + Name + QStringLiteral(".bmp"));
    if (!pix.isNull())
        pix.setMask(pix.createMaskFromColor(QColor(pix.toImage().pixel(0, pix.height() - 1))));
    return QIcon(pix);
}

} // namespace

struct TNTabEd::TMenus {
    std::array<QAction*, DataItems> Data{};
    std::array<QAction*, HeadItems> Head{};
    // The scope items of the submenus of data items 1..4.
    std::array<std::array<QAction*, ScopeItems>, 4> Scope{};
    bool OverColumn = false;   // the open heading menu belongs to a column heading
    QIcon Checked = ResourceIcon(QStringLiteral("CHECKEDBOX"));
    QIcon Unchecked = ResourceIcon(QStringLiteral("EMPTYBOX"));
};

void TNTabEd::TMenusDeleter::operator()(TMenus* m) const
{
    delete m;
}

void TNTabEd::BuildMenus()
{
    FMenus.reset(new TMenus);
    FDataMenu = new QMenu(this);
    FDataMenu->setObjectName(QStringLiteral("PopupDTAction"));
    for (int i = 1; i <= DataItems; ++i) {
        QAction* a = nullptr;
        if (i <= diUnmarkB) {
            QMenu* sub = FDataMenu->addMenu(QString::fromLatin1(DataCaptions[i - 1]));
            a = sub->menuAction();
            for (int s = 0; s < ScopeItems; ++s) {
                QAction* scope = sub->addAction(QString::fromLatin1(ScopeCaptions[s]));
                FMenus->Scope[std::size_t(i - 1)][std::size_t(s)] = scope;
                const std::uint8_t flag = (i == diMarkA || i == diUnmarkA) ? csMarkedA : csMarkedB;
                const bool on = i <= diMarkB;
                connect(scope, &QAction::triggered, this,
                        [this, s, flag, on] { GuardedCall([&] { MarkScope(TMarkScope(s), flag, on); }); });
            }
        } else {
            a = FDataMenu->addAction(QString::fromLatin1(DataCaptions[i - 1]));
            connect(a, &QAction::triggered, this, [this, i, a] { GuardedCall([&] { DataMenuAction(i, a); }); });
        }
        FMenus->Data[std::size_t(i - 1)] = a;
    }
    // The clipboard items also answer their keys while the editor has the focus.
    const std::pair<int, QKeySequence> keys[] = {{diCopy, QKeySequence::Copy}, {diPaste, QKeySequence::Paste},
                                                 {diExtract, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V)},
                                                 {diSelectAll, QKeySequence::SelectAll}};
    for (const auto& [item, key] : keys) {
        QAction* a = FMenus->Data[std::size_t(item - 1)];
        a->setShortcut(key);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(a);
    }

    FHeadMenu = new QMenu(this);
    FHeadMenu->setObjectName(QStringLiteral("PopupHTAction"));
    for (int i = 1; i <= HeadItems; ++i) {
        QAction* a = FHeadMenu->addAction(QString::fromLatin1(HeadCaptions[i - 1]));
        connect(a, &QAction::triggered, this, [this, i] { GuardedCall([&] { HeadingMenuAction(i); }); });
        FMenus->Head[std::size_t(i - 1)] = a;
    }
    // The inverted frame of the heading goes with the menu.
    connect(FHeadMenu, &QMenu::aboutToHide, this, [this] { Invalidate(); });
    ApplyMasks();
}

// Visibility and enabled state from the masks and the editor's state.
void TNTabEd::ApplyMasks()
{
    if (!FMenus)
        return;
    for (int i = 1; i <= DataItems; ++i) {
        bool enabled = Bit(FPopupDMask, i);
        if (i == diClear || i == diPaste || i == diExtract)
            enabled = enabled && !FDataReadOnly;
        if (i == diPaste)
            enabled = enabled && FCopyHeld;
        QAction* a = FMenus->Data[std::size_t(i - 1)];
        a->setVisible(Bit(FPopupDMask, i));
        a->setEnabled(enabled);
    }
    for (int i = 1; i <= HeadItems; ++i) {
        bool enabled = Bit(FPopupHMask, i);
        if (i == hiPrecision)
            enabled = enabled && FMenus->OverColumn;
        if (i == hiInsert || i == hiDelete)
            enabled = enabled && !FDataReadOnly;
        FMenus->Head[std::size_t(i - 1)]->setEnabled(enabled);
    }
}

void TNTabEd::SetPopupDMask(int v)
{
    if (!Store(FPopupDMask, v))
        return;
    ApplyMasks();
    ChangedSetup();
}

void TNTabEd::SetPopupHMask(int v)
{
    if (!Store(FPopupHMask, v))
        return;
    ApplyMasks();
    ChangedSetup();
}

QString TNTabEd::PopupDCaptions(int ix) const
{
    return (ix >= 1 && ix <= DataItems) ? FMenus->Data[std::size_t(ix - 1)]->text() : QString();
}

void TNTabEd::SetPopupDCaptions(int ix, const QString& v)
{
    if (ix >= 1 && ix <= DataItems)
        FMenus->Data[std::size_t(ix - 1)]->setText(CutToLength(v, MaxCaption));
}

QString TNTabEd::PopupHCaptions(int ix) const
{
    return (ix >= 1 && ix <= HeadItems) ? FMenus->Head[std::size_t(ix - 1)]->text() : QString();
}

void TNTabEd::SetPopupHCaptions(int ix, const QString& v)
{
    if (ix >= 1 && ix <= HeadItems)
        FMenus->Head[std::size_t(ix - 1)]->setText(CutToLength(v, MaxCaption));
}

// The "Mark" submenus are those of items 1 and 2, the "Unmark" ones those of 3 and 4.
QString TNTabEd::PopupMCaptions(int ix) const
{
    return (ix >= 1 && ix <= ScopeItems) ? FMenus->Scope[0][std::size_t(ix - 1)]->text() : QString();
}

void TNTabEd::SetPopupMCaptions(int ix, const QString& v)
{
    if (ix < 1 || ix > ScopeItems)
        return;
    for (int sub : {0, 1})
        FMenus->Scope[std::size_t(sub)][std::size_t(ix - 1)]->setText(CutToLength(v, MaxCaption));
}

QString TNTabEd::PopupUCaptions(int ix) const
{
    return (ix >= 1 && ix <= ScopeItems) ? FMenus->Scope[2][std::size_t(ix - 1)]->text() : QString();
}

void TNTabEd::SetPopupUCaptions(int ix, const QString& v)
{
    if (ix < 1 || ix > ScopeItems)
        return;
    for (int sub : {2, 3})
        FMenus->Scope[std::size_t(sub)][std::size_t(ix - 1)]->setText(CutToLength(v, MaxCaption));
}

// ---------------------------------------------------------------------------------------------
// Opening

bool TNTabEd::DoContextPopup(QPoint MousePos, QPoint GlobalPos)
{
    if (TCustomDrawGrid::DoContextPopup(MousePos, GlobalPos))
        return true;
    if (FBlockInternalPopup || Designing())
        return false;
    const TGridCoord cell = MouseCoord(MousePos.x(), MousePos.y());
    if (cell.X == 0 && cell.Y == 0) {
        if (!FCommentEditingAllowed)
            return false;
        OpenCommentEditor();
        return true;
    }
    if (IsDataCell(cell.X, cell.Y))
        return ShowDataMenu(GlobalPos + QPoint(10, -20));
    return ShowHeadingMenu(cell.X, cell.Y);
}

bool TNTabEd::ShowDataMenu(QPoint Pos)
{
    ApplyMasks();
    QAction* extract = FMenus->Data[diExtract - 1];
    extract->setEnabled(extract->isEnabled() && !ClipboardText().isEmpty());
    FMenus->Data[diReadOnly - 1]->setIcon(FDataReadOnly ? FMenus->Checked : FMenus->Unchecked);
    if (OnBeforePopup)
        OnBeforePopup(this, FDataMenu);
    emit beforePopup(FDataMenu);
    FDataMenu->popup(Pos);
    return true;
}

bool TNTabEd::ShowHeadingMenu(int GridColumn, int GridRowNr)
{
    const bool overColumn = (GridRowNr == 0 || (AttribColVisible() && GridRowNr == 1)) && DataCol(GridColumn) >= 1
                            && DataCol(GridColumn) <= NrOfColumns();
    const bool overRow = (GridColumn == 0 || (AttribRowVisible() && GridColumn == 1)) && DataRow(GridRowNr) >= 1
                         && DataRow(GridRowNr) <= NrOfRows();
    if (!overColumn && !overRow)
        return false;
    const QRect cell = CellRect(GridColumn, GridRowNr);
    if (cell.isEmpty())
        return false;
    FMenuCell = {GridColumn, GridRowNr};
    FMenus->OverColumn = overColumn;
    const QString line = overColumn ? QStringLiteral("Column") : QStringLiteral("Row");
    FMenus->Head[hiSelect - 1]->setText(QStringLiteral("Select ") + line);
    FMenus->Head[hiInsert - 1]->setText(QStringLiteral("Insert ") + line);
    FMenus->Head[hiDelete - 1]->setText(QStringLiteral("Delete ") + line);
    ApplyMasks();
    FMenuPos = viewport()->mapToGlobal(cell.topLeft() + QPoint(20, 20));
    if (OnBeforePopup)
        OnBeforePopup(this, FHeadMenu);
    emit beforePopup(FHeadMenu);
    FHeadMenu->popup(FMenuPos);
    Invalidate();
    return true;
}

// ---------------------------------------------------------------------------------------------
// Items

void TNTabEd::DataMenuAction(int Item, QAction* Sender)
{
    switch (Item) {
    case diUnmarkAll:
        {
            Quiet quiet(this);
            FData->UnmarkAllCells();
        }
        Invalidate();
        CellStatesChanged();
        break;
    case diClear:
        emit clearChosen();
        if (OnClear)
            OnClear(Sender);
        else
            ClearSelection();
        break;
    case diCopy: CopySelection(); break;
    case diPaste: PasteCopy(); break;
    case diExtract: ExtractFromClipboard(); break;
    case diReadOnly: SetDataReadOnly(!FDataReadOnly); break;
    case diSelectAll: SelectAllCells(); break;
    case diToggleEmpty: ToggleEmptyStates(); break;
    case diResetEmpty: ResetAllEmptyStates(); break;
    default: break;
    }
}

void TNTabEd::HeadingMenuAction(int Item)
{
    const int gc = FMenuCell.X, gr = FMenuCell.Y;
    const bool column = FMenus->OverColumn;
    const int c = DataCol(gc), r = DataRow(gr);
    switch (Item) {
    case hiEdit:
        OpenHeadingEditor(gc, gr);
        break;
    case hiPrecision:
        StepPrecision();
        break;
    case hiSelect:
        if (column)
            SelectBlock(c, 1, c, NrOfRows());
        else
            SelectBlock(1, r, NrOfColumns(), r);
        break;
    case hiInsert: {
        // Only the new size is told, not a change of values.
        Quiet quiet(this);
        if (column) {
            InsertColumn(c);
            FData->SetColName(c, QStringLiteral("(...)"));
        } else {
            InsertRow(r);
            FData->SetRowName(r, QStringLiteral("(...)"));
        }
        break;
    }
    case hiDelete:
        if (column)
            RemoveColumn(c);
        else
            RemoveRow(r);
        break;
    default:
        break;
    }
    if (Item == hiInsert)
        ChangedSetup();
}

// One step down, from -1 round to 10; the menu opens again so that the user can step on.
void TNTabEd::StepPrecision()
{
    const int c = DataCol(FMenuCell.X);
    const int p = Precision(c) - 1;
    SetPrecision(c, p < -1 ? 10 : p);
    QTimer::singleShot(0, this, [this] {
        if (FMenuCell.X >= 0 && !FHeadMenu->isVisible())
            FHeadMenu->popup(FMenuPos);
    });
}

} // namespace qor
