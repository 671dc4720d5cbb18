// Folder tree changes and looks: MakeSubFolder with levels and refused names (nothing outside
// the selected folder), RemoveSelectedFolder, the colour kept while disabled, Loaded, design
// mode, the classic and native looks, and Qt's own tree accessibility.
#include <gtest/gtest.h>

#include <QOR_FolderTree.h>
#include "test_foldertree_support.h"
#include <test_support.h>

#include <QAccessible>
#include <QDirIterator>

using namespace qor;
using qortest::ChildTexts;
using qortest::FolderSandbox;

namespace {

// Every entry below the sandbox, relative to it.
QStringList Everything(const FolderSandbox& box)
{
    QStringList all;
    QDirIterator it(box.Path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        all << it.next().mid(box.Path().size() + 1);
    all.sort();
    return all;
}

TEST(FolderTreeEdit, MakeSubFolderCreatesLevelsAndSelects)
{
    FolderSandbox box({"temp"});
    TFolderTree tree;
    tree.SelectPath(box.Path("temp"));
    EXPECT_TRUE(tree.MakeSubFolder(QStringLiteral("a/b/")));
    EXPECT_TRUE(box.Exists("temp/a/b"));
    EXPECT_EQ(tree.Directory(), box.Folder("temp/a/b"));
    tree.SelectPath(box.Path("temp"));
    EXPECT_TRUE(tree.MakeSubFolder(QStringLiteral("x\\y")));
    EXPECT_TRUE(box.Exists("temp/x/y"));
    tree.SelectPath(box.Path("temp"));
    EXPECT_TRUE(tree.MakeSubFolder(QStringLiteral("a..b")));
    EXPECT_TRUE(tree.MakeSubFolder(QStringLiteral("c//d")));   // inside the new a..b
    EXPECT_TRUE(box.Exists("temp/a..b/c/d"));
    tree.SelectPath(box.Path("temp"));
    EXPECT_TRUE(tree.MakeSubFolder(QStringLiteral("a")));      // exists already: selected
    EXPECT_EQ(tree.Directory(), box.Folder("temp/a"));
}

TEST(FolderTreeEdit, MakeSubFolderRefusesNamesThatLeaveTheFolder)
{
    FolderSandbox box({"temp/inner"});
    TFolderTree tree;
    EXPECT_FALSE(tree.MakeSubFolder(QStringLiteral("x")));     // nothing selected
    tree.SelectPath(box.Path("temp/inner"));
    const QStringList before = Everything(box);
    for (const char* name : {"", "/", "///", "..", "../x", "a/../../x", "a/..", ".", "./a", "/abs", "\\abs",
                             "a|b", "a<b", "a>b", "a\"b", "tab\there", "line\nbreak", "bell\x07"}) {
        EXPECT_FALSE(tree.MakeSubFolder(QString::fromLatin1(name))) << name;
    }
    EXPECT_EQ(Everything(box), before);
    EXPECT_EQ(tree.Directory(), box.Folder("temp/inner"));
}

TEST(FolderTreeEdit, RemoveSelectedFolderOnlyEmptyAndNotTheRoot)
{
    FolderSandbox box({"p/full/x", "p/empty"});
    TFolderTree tree;
    EXPECT_FALSE(tree.RemoveSelectedFolder());                 // nothing selected
    tree.setCurrentItem(tree.topLevelItem(0));
    EXPECT_FALSE(tree.RemoveSelectedFolder());                 // the root
    tree.SelectPath(box.Path("p/full"));
    EXPECT_FALSE(tree.RemoveSelectedFolder());
    EXPECT_TRUE(box.Exists("p/full"));
    tree.SelectPath(box.Path("p/empty"));
    EXPECT_TRUE(tree.RemoveSelectedFolder());
    EXPECT_FALSE(box.Exists("p/empty"));
    EXPECT_EQ(tree.Directory(), box.Folder("p"));
    QTreeWidgetItem* p = tree.currentItem();
    EXPECT_EQ(ChildTexts(p), QStringList{"full"});
    EXPECT_FALSE(TFolderTree::NodeLoaded(p));                  // read again on the next expansion
}

TEST(FolderTreeEdit, DisablingKeepsTheColourToRestore)
{
    TFolderTree tree;
    EXPECT_EQ(tree.Color(), clWindow);
    tree.SetColor(0x123456);
    EXPECT_EQ(tree.palette().color(QPalette::Base), ToQColor(0x123456));
    tree.setEnabled(false);
    EXPECT_EQ(tree.palette().color(QPalette::Base), ToQColor(clBtnFace));
    EXPECT_EQ(tree.Color(), 0x123456);
    tree.SetColor(0x654321);                                   // while disabled: kept for later
    EXPECT_EQ(tree.palette().color(QPalette::Base), ToQColor(clBtnFace));
    tree.setEnabled(true);
    EXPECT_EQ(tree.palette().color(QPalette::Base), ToQColor(0x654321));
    EXPECT_EQ(tree.property("Color").value<QColor>(), ToQColor(0x654321));
}

TEST(FolderTreeEdit, LoadedTurnsBlackWhiteAndCollapses)
{
    FolderSandbox box({"a/b"});
    TFolderTree tree;
    tree.SelectPath(box.Path("a/b"));
    tree.BeginLoading();
    tree.SetColor(clBlack);
    tree.Loaded();
    EXPECT_EQ(tree.Color(), clWhite);
    EXPECT_FALSE(tree.topLevelItem(0)->isExpanded());
    tree.SetColor(clBlack);   // only loading replaces black
    EXPECT_EQ(tree.Color(), clBlack);
}

TEST(FolderTreeEdit, DesignModeShowsNoNodesAndReadsNothing)
{
    FolderSandbox box({"a"});
    TFolderTree tree;
    tree.SetDesigning(true);
    EXPECT_EQ(tree.topLevelItemCount(), 0);
    EXPECT_FALSE(tree.SelectPath(box.Path("a")));
    EXPECT_FALSE(tree.RefreshTree());
    tree.SetOptions(fotHidden);
    EXPECT_EQ(tree.Directory(), QStringLiteral("/"));
    EXPECT_FALSE(tree.MakeSubFolder(QStringLiteral("x")));
    tree.SetDesigning(false);
    EXPECT_EQ(tree.topLevelItemCount(), 1);
    EXPECT_TRUE(tree.SelectPath(box.Path("a")));
}

// How many pixels of the branch area of the root row have the classic line grey.
int GreyBranchPixels(TFolderTree& tree)
{
    const QImage img = qortest::Render(&tree);
    const QRect row = tree.visualItemRect(tree.topLevelItem(0)).translated(tree.viewport()->pos());
    int grey = 0;
    for (int y = row.top(); y <= row.bottom(); ++y)
        for (int x = tree.viewport()->x(); x < row.left(); ++x)
            grey += qortest::PixelAt(img, x, y) == clGray;
    return grey;
}

TEST(FolderTreeEdit, ClassicAndNativeLooks)
{
    TFolderTree tree;
    tree.resize(200, 120);
    EXPECT_TRUE(tree.OldTreeStyle());
    const int classic = GreyBranchPixels(tree);
    EXPECT_GT(classic, 10);   // a boxed plus sign and a dotted line
    tree.SetOldTreeStyle(false);
    EXPECT_LT(GreyBranchPixels(tree), classic);
}

TEST(FolderTreeEdit, KeepsQtTreeAccessibility)
{
    TFolderTree tree;
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&tree);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::Tree);
    EXPECT_NE(a->tableInterface(), nullptr);
}

} // namespace
