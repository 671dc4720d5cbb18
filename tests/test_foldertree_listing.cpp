// Folder tree listing: sorting without regard to case and its tie-break, the "has subfolders"
// probe and the placeholder child, the options for hidden folders and symbolic links, folders
// that cannot be read or vanished, and loading on expansion with a replaceable handler.
#include <gtest/gtest.h>

#include <QOR_FolderTree.h>
#include "test_foldertree_support.h"

#include <QFile>
#include <sys/wait.h>
#include <unistd.h>

using namespace qor;
using qortest::ChildTexts;
using qortest::FolderSandbox;

namespace {

QStringList Names(const TSubFolderList& list)
{
    QStringList names;
    for (const TSubFolder& f : list)
        names << f.Name;
    return names;
}

TEST(FolderTreeListing, SortedWithoutRegardToCase)
{
    FolderSandbox box({"b", "A", "c", "B2", "_x", "a1"});
    TFolderTree tree;
    TSubFolderList list;
    ASSERT_TRUE(tree.GetSubDirs(box.Path(), list));
    EXPECT_EQ(Names(list), (QStringList{"_x", "A", "a1", "b", "B2", "c"}));
}

TEST(FolderTreeListing, NamesDifferingOnlyInCaseFollowTheirCodes)
{
    FolderSandbox box({"b", "B", "bB", "Bb", "a"});
    TFolderTree tree;
    TSubFolderList list;
    tree.GetSubDirs(box.Path(), list);
    EXPECT_EQ(Names(list), (QStringList{"a", "B", "b", "Bb", "bB"}));
}

TEST(FolderTreeListing, ProbeFindsSubfoldersNotFilesNorHiddenOnes)
{
    FolderSandbox box({"full/sub", "files/one.txt", "hidden/.git", "empty"});
    TFolderTree tree;
    TSubFolderList list;
    ASSERT_TRUE(tree.GetSubDirs(box.Path(), list));
    ASSERT_EQ(Names(list), (QStringList{"empty", "files", "full", "hidden"}));
    EXPECT_FALSE(list[0].HasSubFolders);
    EXPECT_FALSE(list[1].HasSubFolders);
    EXPECT_TRUE(list[2].HasSubFolders);
    EXPECT_FALSE(list[3].HasSubFolders);   // only an entry starting with "."
    EXPECT_FALSE(tree.GetSubDirs(box.Path("empty"), list));
    EXPECT_TRUE(list.isEmpty());
    EXPECT_FALSE(tree.GetSubDirs(box.Path("missing"), list));
    EXPECT_FALSE(tree.GetSubDirs(static_cast<QTreeWidgetItem*>(nullptr), list));
}

TEST(FolderTreeListing, HiddenFoldersWithTheOption)
{
    FolderSandbox box({".config/x", "visible", "hidden/.git"});
    TFolderTree tree;
    TSubFolderList list;
    tree.GetSubDirs(box.Path(), list);
    EXPECT_EQ(Names(list), (QStringList{"hidden", "visible"}));
    tree.SetOptions(fotHidden);
    tree.GetSubDirs(box.Path(), list);
    EXPECT_EQ(Names(list), (QStringList{".config", "hidden", "visible"}));
    EXPECT_TRUE(list[1].HasSubFolders);   // now the ".git" below counts
    tree.SetOptions(fotSystem);           // no meaning here
    tree.GetSubDirs(box.Path(), list);
    EXPECT_EQ(Names(list), (QStringList{"hidden", "visible"}));
}

TEST(FolderTreeListing, LinksCountOnlyWithTheOptionAndOnlyToFolders)
{
    FolderSandbox box({"real/sub", "file.txt", "probe"});
    ASSERT_TRUE(QFile::link(box.Path("real"), box.Path("toFolder")));
    ASSERT_TRUE(QFile::link(box.Path("file.txt"), box.Path("toFile")));
    ASSERT_TRUE(QFile::link(box.Path("gone"), box.Path("broken")));
    ASSERT_TRUE(QFile::link(box.Path("real"), box.Path("probe/link")));
    TFolderTree tree;
    TSubFolderList list;
    tree.GetSubDirs(box.Path(), list);
    EXPECT_EQ(Names(list), (QStringList{"probe", "real"}));
    EXPECT_FALSE(list[0].HasSubFolders);
    tree.SetOptions(fotSymLinks);
    tree.GetSubDirs(box.Path(), list);
    EXPECT_EQ(Names(list), (QStringList{"probe", "real", "toFolder"}));
    EXPECT_TRUE(list[0].HasSubFolders);   // its link to a folder counts as a subfolder
    EXPECT_TRUE(list[2].HasSubFolders);
}

TEST(FolderTreeListing, ExpandingLoadsOnceWithPlaceholders)
{
    FolderSandbox box({"p/q/r", "p/s", "p/.t/u"});
    TFolderTree tree;
    ASSERT_TRUE(tree.SelectPath(box.Path("p")));
    QTreeWidgetItem* p = tree.currentItem();
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(TFolderTree::NodeLoaded(p));
    EXPECT_EQ(p->data(0, Qt::UserRole).toUInt(), 0xA5F016EDu);
    ASSERT_EQ(ChildTexts(p), (QStringList{"q", "s"}));
    QTreeWidgetItem* q = p->child(0);
    EXPECT_EQ(ChildTexts(q), QStringList{"Child"});   // r is not read yet
    EXPECT_FALSE(TFolderTree::NodeLoaded(q));
    EXPECT_EQ(p->child(1)->childCount(), 0);           // s has nothing: no expand button
    q->setExpanded(true);
    EXPECT_EQ(ChildTexts(q), QStringList{"r"});
    EXPECT_TRUE(TFolderTree::NodeLoaded(q));
    // A loaded node is not read again: a folder made since does not show.
    box.Add("p/q/r2");
    q->setExpanded(false);
    q->setExpanded(true);
    EXPECT_EQ(ChildTexts(q), QStringList{"r"});
}

TEST(FolderTreeListing, AFolderThatVanishedShowsNoChildren)
{
    FolderSandbox box({"p/gone/x"});
    TFolderTree tree;
    tree.SelectPath(box.Path("p"));
    QTreeWidgetItem* gone = tree.currentItem()->child(0);
    ASSERT_EQ(ChildTexts(gone), QStringList{"Child"});
    ASSERT_TRUE(QDir(box.Path("p/gone")).removeRecursively());
    gone->setExpanded(true);
    EXPECT_EQ(gone->childCount(), 0);
    EXPECT_FALSE(TFolderTree::NodeLoaded(gone));
}

// Expands the node and lists the folder; 0 when both find nothing.
int ReadLocked(TFolderTree& tree, QTreeWidgetItem* locked, const QString& path)
{
    locked->setExpanded(true);
    TSubFolderList list;
    return locked->childCount() == 0 && !tree.GetSubDirs(path, list) ? 0 : 1;
}

TEST(FolderTreeListing, AnUnreadableFolderShowsNoChildren)
{
    FolderSandbox box({"p/locked/x"});
    TFolderTree tree;
    tree.SelectPath(box.Path("p"));
    QTreeWidgetItem* locked = tree.currentItem()->child(0);
    const QString path = box.Path("p/locked");
    const auto open = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                      QFileDevice::ReadOther | QFileDevice::ExeOther;
    QFile::setPermissions(box.Path(), open);
    QFile::setPermissions(box.Path("p"), open);
    QFile::setPermissions(path, QFileDevice::Permissions());
    struct Unlock {   // so the sandbox can be removed whatever happens
        QString Path;
        ~Unlock() { QFile::setPermissions(Path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner); }
    } unlock{path};
    if (geteuid() != 0) {
        EXPECT_EQ(ReadLocked(tree, locked, path), 0);
        return;
    }
    // Permissions do not keep the superuser out: read as an ordinary user in a child process.
    const pid_t child = fork();
    if (child == 0)
        _exit(setuid(65534) == 0 ? ReadLocked(tree, locked, path) : 2);
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(FolderTreeListing, OnExpandingCanBeReplacedAndRefuse)
{
    FolderSandbox box({"p/q/r"});
    TFolderTree tree;
    tree.SelectPath(box.Path("p"));
    QTreeWidgetItem* q = tree.currentItem()->child(0);
    int asked = 0;
    tree.OnExpanding = [&](QObject* sender, QTreeWidgetItem* node, bool& allow) {
        EXPECT_EQ(sender, &tree);
        EXPECT_EQ(node, q);
        ++asked;
        allow = false;
    };
    q->setExpanded(true);
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(q->isExpanded());
    EXPECT_EQ(ChildTexts(q), QStringList{"Child"});   // the replaced handler read nothing
}

TEST(FolderTreeListing, RootStartsCollapsedWithItsPlaceholder)
{
    TFolderTree tree;
    ASSERT_EQ(tree.topLevelItemCount(), 1);
    QTreeWidgetItem* root = tree.topLevelItem(0);
    EXPECT_EQ(root->text(0), QStringLiteral("/"));
    EXPECT_EQ(ChildTexts(root), QStringList{"Child"});
    EXPECT_FALSE(root->isExpanded());
    EXPECT_EQ(tree.Directory(), QStringLiteral("/"));
    EXPECT_EQ(tree.PathOfNode(root), QStringLiteral("/"));
    EXPECT_EQ(tree.currentItem(), nullptr);
    EXPECT_EQ(tree.selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(tree.editTriggers(), QAbstractItemView::NoEditTriggers);
}

} // namespace
