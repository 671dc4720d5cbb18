// The folder tree over a generated tree of 100,000 folders (10 x 100 x 99 under a temporary
// directory; fewer in Debug and sanitizer builds): every folder of the second level expanded,
// then folders removed and added behind the tree's back, then refreshed. The tree lists exactly
// what the disk holds, selects the nearest folder that still exists, and closes every folder
// handle it opened.
#include <gtest/gtest.h>

#include <QOR_FolderTree.h>

#include <QDir>
#include <QElapsedTimer>

#include <algorithm>

#include "test_foldertree_support.h"
#include "test_support.h"

using namespace qor;
using qortest::ChildTexts;
using qortest::FolderSandbox;

namespace {

QString Name(char level, int i)
{
    return QStringLiteral("%1%2").arg(QLatin1Char(level)).arg(i, 2, 10, QLatin1Char('0'));
}

// The node of a path below the root, read on the way.
QTreeWidgetItem* NodeOf(TFolderTree& tree, const QString& path)
{
    if (!tree.SelectPath(path))
        return nullptr;
    return tree.currentItem();
}

} // namespace

TEST(LoadFolderTree, HundredThousandFoldersChangedBehindItsBackThenRefreshed)
{
    const int leaves = std::max(9, int(99 * qortest::LoadScale()));
    FolderSandbox box;
    QElapsedTimer clock;
    clock.start();
    int made = 0;
    for (int a = 0; a < 10; ++a)
        for (int b = 0; b < 100; ++b) {
            const QString mid = box.Path(Name('a', a) + QLatin1Char('/') + Name('b', b));
            ASSERT_TRUE(QDir().mkpath(mid));
            made += b == 0 ? 2 : 1;
            for (int c = 0; c < leaves; ++c, ++made)
                ASSERT_TRUE(QDir(mid).mkdir(Name('c', c)));
        }
    RecordProperty("folders", made);
    RecordProperty("make_ms", int(clock.restart()));

    const int handles = qortest::OpenHandles();
    TFolderTree tree;
    tree.resize(300, 400);
    // Every folder: each of the 1,000 folders of the second level read, with its leaves probed.
    int listed = 0;
    for (int a = 0; a < 10; ++a) {
        QTreeWidgetItem* top = NodeOf(tree, box.Folder(Name('a', a)));
        ASSERT_NE(top, nullptr) << a;
        ASSERT_EQ(top->childCount(), 100);
        for (int b = 0; b < 100; ++b) {
            QTreeWidgetItem* mid = top->child(b);
            ASSERT_EQ(mid->text(0), Name('b', b));
            ASSERT_EQ(mid->childCount(), 1) << "the placeholder of a folder not read yet";
            mid->setExpanded(true);
            ASSERT_TRUE(TFolderTree::NodeLoaded(mid));
            ASSERT_EQ(mid->childCount(), leaves);
            ASSERT_EQ(mid->child(leaves - 1)->text(0), Name('c', leaves - 1));
            ASSERT_EQ(mid->child(0)->childCount(), 0) << "a leaf has no expand button";
            listed += 1 + mid->childCount();
        }
    }
    RecordProperty("listed", listed);
    RecordProperty("expand_ms", int(clock.restart()));
    EXPECT_EQ(qortest::OpenHandles(), handles);

    // Behind its back: the selected folder and a whole branch go, new folders come.
    const QString selected = Name('a', 5) + QStringLiteral("/") + Name('b', 50) + QStringLiteral("/") + Name('c', 3);
    ASSERT_TRUE(tree.SelectPath(box.Folder(selected)));
    ASSERT_EQ(tree.Directory(), box.Folder(selected));
    ASSERT_TRUE(QDir(box.Path(selected)).removeRecursively());
    ASSERT_TRUE(QDir(box.Path(QStringLiteral("a05/b51"))).removeRecursively());
    box.Add(QStringLiteral("a05/b50/new"));
    box.Add(QStringLiteral("a07/b99/c00/deep/deeper"));
    box.Add(QStringLiteral("A99"));
    RecordProperty("change_ms", int(clock.restart()));

    ASSERT_TRUE(tree.RefreshTree());
    EXPECT_EQ(tree.Directory(), box.Folder(QStringLiteral("a05/b50")));
    QTreeWidgetItem* mid = tree.currentItem();
    ASSERT_NE(mid, nullptr);
    QStringList want;
    for (int c = 0; c < leaves; ++c)
        if (c != 3)
            want << Name('c', c);
    want << QStringLiteral("new");
    EXPECT_EQ(ChildTexts(mid), want);
    QStringList mids = ChildTexts(mid->parent());
    EXPECT_EQ(mids.size(), 99);
    EXPECT_FALSE(mids.contains(QStringLiteral("b51")));
    EXPECT_EQ(ChildTexts(mid->parent()->parent()).join(u' '),
              QStringLiteral("a00 a01 a02 a03 a04 a05 a06 a07 a08 a09 A99"));
    EXPECT_TRUE(tree.SelectPath(box.Folder(QStringLiteral("a07/b99/c00/deep/deeper"))));
    RecordProperty("refresh_ms", int(clock.restart()));
    EXPECT_EQ(qortest::OpenHandles(), handles);
}
