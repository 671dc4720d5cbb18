// Folder tree paths and selection: SelectPath down the prefixes with case-sensitive names,
// Directory and its events in their order, Reset, RefreshTree after a folder vanished, the
// Options writer, one OnClick per click.
#include <gtest/gtest.h>

#include <QOR_FolderTree.h>
#include "test_foldertree_support.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

using namespace qor;
using qortest::ChildTexts;
using qortest::FolderSandbox;

namespace {

TEST(FolderTreePaths, SelectPathWalksThePrefixes)
{
    FolderSandbox box({"a/b/c", "a/x"});
    TFolderTree tree;
    EXPECT_TRUE(tree.SelectPath(box.Path("a/b")));
    QTreeWidgetItem* b = tree.currentItem();
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->text(0), QStringLiteral("b"));
    EXPECT_EQ(tree.Directory(), box.Folder("a/b"));
    EXPECT_EQ(tree.PathOfNode(b), box.Folder("a/b"));
    EXPECT_TRUE(b->isSelected());
    EXPECT_TRUE(b->parent()->isExpanded());   // the way down is open
    EXPECT_EQ(ChildTexts(b->parent()), (QStringList{"b", "x"}));
    EXPECT_EQ(ChildTexts(b), QStringList{"c"});   // the selected folder was read too
    // Every ancestor up to the root is a node of the path.
    QTreeWidgetItem* root = b;
    while (root->parent())
        root = root->parent();
    EXPECT_EQ(root->text(0), QStringLiteral("/"));
    // With or without the trailing separator, relative parts cleaned.
    EXPECT_TRUE(tree.SelectPath(box.Folder("a/x")));
    EXPECT_EQ(tree.Directory(), box.Folder("a/x"));
    EXPECT_TRUE(tree.SelectPath(box.Path("a/b/../x")));
    EXPECT_EQ(tree.Directory(), box.Folder("a/x"));
}

TEST(FolderTreePaths, SelectPathRefusesWhatIsNoFolder)
{
    FolderSandbox box({"a", "f.txt"});
    TFolderTree tree;
    tree.SelectPath(box.Path("a"));
    EXPECT_FALSE(tree.SelectPath(box.Path("missing")));
    EXPECT_FALSE(tree.SelectPath(box.Path("f.txt")));
    EXPECT_FALSE(tree.SelectPath(QString()));
    EXPECT_EQ(tree.Directory(), box.Folder("a"));   // nothing changed
}

TEST(FolderTreePaths, NamesCompareAsTheFileSystemDoes)
{
    FolderSandbox box({"Abc/upper", "abc/lower"});
    TFolderTree tree;
    ASSERT_TRUE(tree.SelectPath(box.Path("abc")));
    EXPECT_EQ(tree.currentItem()->text(0), QStringLiteral("abc"));
    EXPECT_EQ(ChildTexts(tree.currentItem()), QStringList{"lower"});
    ASSERT_TRUE(tree.SelectPath(box.Path("Abc")));
    EXPECT_EQ(tree.currentItem()->text(0), QStringLiteral("Abc"));
    EXPECT_FALSE(tree.SelectPath(box.Path("ABC")));   // no such folder here
}

TEST(FolderTreePaths, APathTheTreeDoesNotShowSelectsTheDeepestShownFolder)
{
    FolderSandbox box({"a/.hidden/b"});
    TFolderTree tree;
    EXPECT_FALSE(tree.SelectPath(box.Path("a/.hidden/b")));
    EXPECT_EQ(tree.Directory(), box.Folder("a"));
    tree.SetOptions(fotHidden);
    EXPECT_TRUE(tree.SelectPath(box.Path("a/.hidden/b")));
    EXPECT_EQ(tree.Directory(), box.Folder("a/.hidden/b"));
}

TEST(FolderTreePaths, SelectionFiresClickDirectoryChangeDirChangedInOrder)
{
    FolderSandbox box({"a", "b"});
    TFolderTree tree;
    QStringList log;
    tree.OnClick = [&](QObject*) { log << "click " + tree.Directory(); };
    tree.OnChange = [&](QObject*, QTreeWidgetItem* node) { log << "change " + node->text(0) + " " + tree.Directory(); };
    tree.OnDirChanged = [&](QObject*) { log << "dir " + tree.Directory(); };
    QSignalSpy dirSpy(&tree, &TFolderTree::dirChanged);
    QSignalSpy changeSpy(&tree, &TFolderTree::changed);
    tree.SelectPath(box.Path("a"));
    const QString before = log.value(0).mid(6);
    EXPECT_EQ(log, (QStringList{"click " + before, "change a " + box.Folder("a"), "dir " + box.Folder("a")}));
    EXPECT_EQ(dirSpy.count(), 1);
    EXPECT_EQ(changeSpy.count(), 1);
    log.clear();
    tree.SelectPath(box.Path("a"));   // a new node, the same folder: no OnDirChanged
    EXPECT_EQ(log, (QStringList{"click " + box.Folder("a"), "change a " + box.Folder("a")}));
    EXPECT_EQ(tree.property("Directory").toString(), box.Folder("a"));
}

TEST(FolderTreePaths, ResetGoesBackToTheRoot)
{
    FolderSandbox box({"a"});
    TFolderTree tree;
    tree.SelectPath(box.Path("a"));
    int dirChanges = 0;
    tree.OnDirChanged = [&](QObject*) { ++dirChanges; };
    tree.Reset();
    EXPECT_EQ(tree.Directory(), QStringLiteral("/"));
    EXPECT_EQ(dirChanges, 1);
    EXPECT_EQ(tree.topLevelItemCount(), 1);
    EXPECT_FALSE(tree.topLevelItem(0)->isExpanded());
    tree.Reset();
    EXPECT_EQ(dirChanges, 1);
}

TEST(FolderTreePaths, RefreshSelectsTheNearestExistingAncestor)
{
    FolderSandbox box({"a/b/c"});
    TFolderTree tree;
    tree.SelectPath(box.Path("a/b/c"));
    ASSERT_TRUE(QDir(box.Path("a/b")).removeRecursively());
    int dirChanges = 0;
    tree.OnDirChanged = [&](QObject*) { ++dirChanges; };
    EXPECT_TRUE(tree.RefreshTree());
    EXPECT_EQ(tree.Directory(), box.Folder("a"));
    EXPECT_EQ(tree.currentItem()->text(0), QStringLiteral("a"));
    EXPECT_EQ(dirChanges, 1);
    EXPECT_TRUE(ChildTexts(tree.currentItem()).isEmpty());
    // Without a change outside, a refresh selects the same folder again.
    EXPECT_TRUE(tree.RefreshTree());
    EXPECT_EQ(tree.Directory(), box.Folder("a"));
    EXPECT_EQ(dirChanges, 1);
}

TEST(FolderTreePaths, OptionsWriterRefreshes)
{
    FolderSandbox box({"a/.h"});
    TFolderTree tree;
    tree.SelectPath(box.Path("a"));
    EXPECT_TRUE(ChildTexts(tree.currentItem()).isEmpty());
    tree.SetOptions(fotHidden);
    EXPECT_EQ(tree.Options(), TFolderOptions(fotHidden));
    EXPECT_EQ(tree.Directory(), box.Folder("a"));
    EXPECT_EQ(ChildTexts(tree.currentItem()), QStringList{".h"});
}

TEST(FolderTreePaths, AClickThatSelectsClicksOnce)
{
    FolderSandbox box({"a/b", "a/c"});
    TFolderTree tree;
    tree.resize(300, 400);
    tree.show();
    tree.SelectPath(box.Path("a/b"));
    QTreeWidgetItem* c = tree.currentItem()->parent()->child(1);
    tree.scrollToItem(c);
    int clicks = 0;
    tree.OnClick = [&](QObject*) { ++clicks; };
    QSignalSpy clicked(&tree, &TFolderTree::clicked);
    const QPoint at = tree.visualItemRect(c).center();
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(tree.currentItem(), c);
    EXPECT_EQ(tree.Directory(), box.Folder("a/c"));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(clicked.count(), 1);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, at);   // on the selected one
    EXPECT_EQ(clicks, 2);
    QTest::keyClick(tree.viewport(), Qt::Key_Up);                 // the keyboard selects too
    EXPECT_EQ(tree.Directory(), box.Folder("a/b"));
    EXPECT_EQ(clicks, 3);
}

} // namespace
