// TFolderTree: the classic look (dotted lines, boxed plus and minus signs) and the native one.
#include "QOR_FolderTree.h"

#include <QPainter>

namespace qor {

namespace {

constexpr int BoxSize = 9;
const QColor LineColor(0x80, 0x80, 0x80);

// Every other pixel, on even coordinates of the view, so dotted lines run on across rows.
void DottedVertical(QPainter* p, int x, int top, int bottom)
{
    for (int y = top + (top & 1); y <= bottom; y += 2)
        p->fillRect(x, y, 1, 1, LineColor);
}

void DottedHorizontal(QPainter* p, int left, int right, int y)
{
    for (int x = left + (left & 1); x <= right; x += 2)
        p->fillRect(x, y, 1, 1, LineColor);
}

bool HasNextSibling(const QTreeWidgetItem* item)
{
    if (const QTreeWidgetItem* parent = item->parent())
        return parent->indexOfChild(const_cast<QTreeWidgetItem*>(item)) < parent->childCount() - 1;
    const QTreeWidget* tree = item->treeWidget();
    return tree && tree->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item)) < tree->topLevelItemCount() - 1;
}

} // namespace

void TFolderTree::SetOldTreeStyle(bool v)
{
    if (Store(FUseOldStyle, v))
        viewport()->update();
}

void TFolderTree::drawBranches(QPainter* Painter, const QRect& Rect, const QModelIndex& Index) const
{
    if (FUseOldStyle)
        DrawClassicBranches(Painter, Rect, Index);
    else
        QTreeWidget::drawBranches(Painter, Rect, Index);
}

// The branch area holds one column of Indentation() per level; the item's own is the last.
void TFolderTree::DrawClassicBranches(QPainter* Painter, const QRect& Rect, const QModelIndex& Index) const
{
    const QTreeWidgetItem* item = itemFromIndex(Index);
    if (!item)
        return;
    const int indent = indentation();
    const int mid = Rect.top() + Rect.height() / 2;
    int column = Rect.right() + 1 - indent;
    const int x = column + indent / 2;
    const bool first = !item->parent() && indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item)) == 0;
    DottedVertical(Painter, x, first ? mid : Rect.top(), HasNextSibling(item) ? Rect.bottom() : mid);
    DottedHorizontal(Painter, x, column + indent - 2, mid);
    for (const QTreeWidgetItem* a = item->parent(); a; a = a->parent()) {
        column -= indent;
        if (HasNextSibling(a))
            DottedVertical(Painter, column + indent / 2, Rect.top(), Rect.bottom());
    }
    if (item->childCount() == 0)
        return;
    const QRect box(x - BoxSize / 2, mid - BoxSize / 2, BoxSize, BoxSize);
    Painter->fillRect(box, palette().color(QPalette::Base));
    Painter->setPen(LineColor);
    Painter->setBrush(Qt::NoBrush);
    Painter->drawRect(box.adjusted(0, 0, -1, -1));
    Painter->setPen(palette().color(QPalette::Text));
    Painter->drawLine(x - 2, mid, x + 2, mid);
    if (!item->isExpanded())
        Painter->drawLine(x, mid - 2, x, mid + 2);
}

} // namespace qor
