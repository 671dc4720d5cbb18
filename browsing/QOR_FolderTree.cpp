// TFolderTree: the nodes and their loading, selection, paths, making and removing folders,
// colours and the enabled look.
#include "QOR_FolderTree.h"
#include "QOR_WidgetFactory.h"

#include "QOR_FolderScan_p.h"

#include <QOR_filesys.h>
#include <QOR_stringl.h>

#include <QDir>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPalette>
#include <utility>

namespace qor {

using namespace folderscan;

namespace {

// The wait cursor for as long as a folder is being read.
class TWaitCursor {
public:
    TWaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

} // namespace

QOR_REGISTER_WIDGET(qor::TFolderTree);

TFolderTree::TFolderTree(QWidget* AOwner) : TControlHost<QTreeWidget>(AOwner, clWindow)
{
    setColumnCount(1);
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformRowHeights(true);
    resize(121, 97);
    OnExpanding = [this](QObject* Sender, QTreeWidgetItem* Node, bool& Allow) {
        ProcessExpanding(Sender, Node, Allow);
    };
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* n) { GuardedCall([&] { Expanding(n); }); });
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* n) { GuardedCall([&] { Change(n); }); });
    ShowColor();
    Reset();
}

TFolderTree::~TFolderTree() = default;

// ---------------------------------------------------------------------------------------------
// Nodes

QTreeWidgetItem* TFolderTree::NewNode(const QString& Text, bool Placeholder)
{
    auto* node = new QTreeWidgetItem(QStringList(Text));
    if (Placeholder)
        node->addChild(new QTreeWidgetItem(QStringList(QString::fromLatin1(PlaceholderText))));
    return node;
}

bool TFolderTree::NodeLoaded(const QTreeWidgetItem* Node)
{
    return Node && Node->data(0, Qt::UserRole).toUInt() == LoadedMarker;
}

QString TFolderTree::PathOfNode(const QTreeWidgetItem* Node) const
{
    QStringList texts;
    for (const QTreeWidgetItem* n = Node; n; n = n->parent())
        texts.prepend(n->text(0));
    QString path;
    for (const QString& t : texts)
        path = EnsureTrailingBkSlash(path + t);
    return path;
}

QTreeWidgetItem* TFolderTree::ChildNamed(QTreeWidgetItem* Node, const QString& Name)
{
    for (int i = 0, n = Node->childCount(); i < n; ++i)
        if (Node->child(i)->text(0).compare(Name, NameCase()) == 0)
            return Node->child(i);
    return nullptr;
}

void TFolderTree::BuildMainTree()
{
    clear();
    // Designer would store the nodes with the form, and a loaded form would show them twice.
    if (!Designing())
        addTopLevelItem(NewNode(PlatformRoot(), true));
}

TSubFolderList TFolderTree::LoadDirNamesAndSort(const QString& Path) const
{
    return ListSubFolders(Path, FOptions);
}

void TFolderTree::ProcessExpanding(QObject*, QTreeWidgetItem* Node, bool&)
{
    if (Designing() || !Node || NodeLoaded(Node))
        return;
    TWaitCursor wait;
    const TSubFolderList folders = LoadDirNamesAndSort(PathOfNode(Node));
    qDeleteAll(Node->takeChildren());
    if (folders.isEmpty())
        return;
    Node->setData(0, Qt::UserRole, LoadedMarker);
    QList<QTreeWidgetItem*> children;
    children.reserve(folders.size());
    for (const TSubFolder& f : folders)
        children.append(NewNode(f.Name, f.HasSubFolders));
    Node->addChildren(children);
}

void TFolderTree::Expanding(QTreeWidgetItem* Node)
{
    bool allow = true;
    if (OnExpanding)
        OnExpanding(this, Node, allow);
    if (!allow)
        Node->setExpanded(false);
}

// ---------------------------------------------------------------------------------------------
// Selection and Directory

void TFolderTree::Change(QTreeWidgetItem* Node)
{
    if (!Node)
        return;
    TControlHost<QTreeWidget>::Click();
    FPressSelected = FInPress;
    const QString old = std::exchange(FDirectory, PathOfNode(Node));
    Notify(this, OnChange, &TFolderTree::changed, Node);
    if (FDirectory != old)
        DirHasChanged();
}

void TFolderTree::DirHasChanged()
{
    Notify(this, OnDirChanged, &TFolderTree::dirChanged);
}

void TFolderTree::Click()
{
    // The release of a press that selected a node: that selection clicked already.
    if (std::exchange(FPressSelected, false))
        return;
    TControlHost<QTreeWidget>::Click();
}

void TFolderTree::mousePressEvent(QMouseEvent* e)
{
    FPressSelected = false;
    FInPress = e->button() == Qt::LeftButton;
    TControlHost<QTreeWidget>::mousePressEvent(e);
    FInPress = false;
}

void TFolderTree::Reset()
{
    const QString old = std::exchange(FDirectory, PlatformRoot());
    BuildMainTree();
    collapseAll();
    if (FDirectory != old)
        DirHasChanged();
}

bool TFolderTree::SelectPath(const QString& Path)
{
    if (Path.isEmpty() || Designing())
        return false;
    const QString target = FolderPath(Path);
    if (!DirExists(target))
        return false;
    BuildMainTree();
    QTreeWidgetItem* node = topLevelItem(0);
    bool allow = true;
    ProcessExpanding(this, node, allow);
    bool whole = target.startsWith(PlatformRoot(), NameCase());
    if (whole) {
        const QStringList levels = target.mid(PlatformRoot().size()).split(Separator(), Qt::SkipEmptyParts);
        for (const QString& level : levels) {
            QTreeWidgetItem* child = ChildNamed(node, level);
            if (!child) {
                whole = false;
                break;
            }
            node = child;
            ProcessExpanding(this, node, allow);
        }
    }
    setCurrentItem(node);
    scrollToItem(node);
    return whole;
}

bool TFolderTree::RefreshTree()
{
    if (Designing())
        return false;
    const QString old = FDirectory;
    bool selected = SelectPath(FDirectory);
    while (!selected && !FDirectory.isEmpty()) {
        const QString parent = ParentDir(FDirectory);
        FDirectory = parent.isEmpty() ? QString() : EnsureTrailingBkSlash(parent);
        selected = SelectPath(FDirectory);
    }
    if (FDirectory != old)
        DirHasChanged();
    return selected;
}

// ---------------------------------------------------------------------------------------------
// Folders

bool TFolderTree::GetSubDirs(const QString& Path, TSubFolderList& DirList) const
{
    DirList = DirExists(Path) ? LoadDirNamesAndSort(Path) : TSubFolderList();
    return !DirList.isEmpty();
}

bool TFolderTree::GetSubDirs(QTreeWidgetItem* Node, TSubFolderList& DirList) const
{
    if (!Node) {
        DirList.clear();
        return false;
    }
    return GetSubDirs(PathOfNode(Node), DirList);
}

bool TFolderTree::MakeSubFolder(const QString& FolderName)
{
    QTreeWidgetItem* node = currentItem();
    const QStringList levels = NewFolderLevels(FolderName);
    if (!node || levels.isEmpty())
        return false;
    const QString path = PathOfNode(node) + levels.join(Separator());
    if (!QDir().mkpath(path))
        return false;
    SelectPath(path);
    return true;
}

bool TFolderTree::RemoveSelectedFolder()
{
    QTreeWidgetItem* node = currentItem();
    if (!node || !node->parent())
        return false;
    const QString parent = PathOfNode(node->parent());
    if (!QDir().rmdir(PathOfNode(node)))
        return false;
    SelectPath(parent);
    // Read the parent's folders again when it is next expanded.
    if (QTreeWidgetItem* selected = currentItem())
        selected->setData(0, Qt::UserRole, QVariant());
    return true;
}

void TFolderTree::SetOptions(TFolderOptions v)
{
    if (Store(FOptions, v))
        RefreshTree();
}

// ---------------------------------------------------------------------------------------------
// Colour, state and loading

void TFolderTree::SetColor(TColor v)
{
    FColorBak = v;
    ShowColor();
}

void TFolderTree::ShowColor()
{
    TControlHost<QTreeWidget>::SetColor(isEnabled() ? FColorBak : clBtnFace);
}

void TFolderTree::ColorChanged()
{
    QPalette pal = palette();
    pal.setColor(QPalette::Base, ToQColor(TControlHost<QTreeWidget>::Color()));
    setPalette(pal);
}

void TFolderTree::EnabledChanged()
{
    ShowColor();
}

void TFolderTree::Loaded()
{
    TControlHost<QTreeWidget>::Loaded();
    if (FColorBak == clBlack)
        SetColor(clWhite);
    collapseAll();
}

void TFolderTree::SetDesigning(bool v)
{
    if (v == Designing())
        return;
    TControlHost<QTreeWidget>::SetDesigning(v);
    Reset();
}

} // namespace qor
