// TFolderTree: a read-only tree of the file system's folders on a native QTreeWidget. A folder's
// subfolders are read only when it is first expanded; a folder that has subfolders but is not
// read yet carries the single placeholder child "Child", so the tree shows its expand button.
// Directory is the path of the selected folder.
//
// Platform. The root node is the file system's root, "/" here ("C:\" on Windows); a node's text
// is one path component, and PathOfNode joins the texts from the root down, each followed by the
// platform's separator ("/a/b/"). Names are compared as the file system compares them:
// case-sensitively on Linux.
//
// What counts as a folder (Options): a folder whose name does not start with "."; with
// fotHidden also those starting with "." (Windows: also those with the hidden attribute); with
// fotSymLinks also symbolic links, but only those that point to a folder. fotSystem has no
// meaning on Linux (Windows: folders with the system attribute count too).
//
// Order. Subfolders are sorted without regard to case ("A", "b", "c"); names that differ only in
// case follow their character codes ("B" before "b"). A folder counts as having subfolders when
// its listing finds a first entry that counts as a folder: the probe stops there. A folder that
// cannot be read shows no subfolders.
//
// Selecting. A change of the selected node fires OnClick, sets Directory, fires OnChange and,
// when Directory changed, OnDirChanged (each with its signal). A mouse click that selects fires
// OnClick once: the release that ends it does not click again.
//
// SelectPath(path) rebuilds the tree, reads the folders along the path ("/", "/a/", "/a/b/")
// and selects the node of the whole path. It returns true only when that node was found; a
// path whose folders do not all show in the tree (a hidden folder without fotHidden) selects
// the deepest one that does and returns false.
//
// MakeSubFolder(name) creates name below the selected folder: "/" or "\" separate levels
// ("x/y/" makes x and x/y), leading and trailing separators are not allowed and not needed
// respectively; it refuses an empty name, an absolute path, a "." or ".." level, control
// characters and the characters " < > | (on Windows also : * ?), so nothing is ever made
// outside the selected folder. "a..b" is a name like any other.
//
// Look. OldTreeStyle draws the classic look, dotted lines and boxed plus and minus signs;
// without it the tree has the style's own branch indicators. Color is the background; a
// disabled tree shows clBtnFace and gets its colour back when enabled again.
//
// Design mode shows no nodes and reads nothing from the file system: Designer stores the items
// of a QTreeWidget with the form, and a program loading the form would get them beside its own
// root. SelectPath and RefreshTree do nothing there.
#pragma once

#include <QOR_Controls.h>
#include <QOR_Graphics.h>

#include <QList>
#include <QObject>
#include <QString>
#include <QTreeWidget>
#include <cstdint>
#include <functional>

namespace qor {

inline namespace QOR_FolderTree {
Q_NAMESPACE_EXPORT(KORVANE_EXPORT)
// Which extra entries count as folders; a set, each option one bit.
enum TFolderOptTypes : std::uint8_t { fotSymLinks = 1u << 0, fotHidden = 1u << 1, fotSystem = 1u << 2 };
Q_DECLARE_FLAGS(TFolderOptions, TFolderOptTypes)
Q_FLAG_NS(TFolderOptions)
} // namespace QOR_FolderTree
Q_DECLARE_OPERATORS_FOR_FLAGS(TFolderOptions)

// A subfolder as the tree lists it: its name and whether it holds subfolders itself.
struct TSubFolder {
    QString Name;                          // the folder's name, one path component
    bool HasSubFolders = false;            // it holds at least one entry that counts as a folder
};
// Subfolders in the tree's order.
using TSubFolderList = QList<TSubFolder>;

// Asked before a node expands; AllowExpansion false keeps it collapsed.
using TTVExpandingEvent = std::function<void(QObject* Sender, QTreeWidgetItem* Node, bool& AllowExpansion)>;
// After the selection moved to Node (never nullptr).
using TTVChangedEvent = std::function<void(QObject* Sender, QTreeWidgetItem* Node)>;

// The folder tree control (see above).
class KORVANE_EXPORT TFolderTree : public TControlHost<QTreeWidget> {
    Q_OBJECT
public:
    QOR_COLOR_PROPERTY(Color)
    QOR_PROPERTY(qor::QOR_FolderTree::TFolderOptions, Options)
    QOR_PROPERTY(bool, OldTreeStyle)
    Q_PROPERTY(QString Directory READ Directory NOTIFY dirChanged)

    // The text of the placeholder child of a folder that is not read yet, and the value a read
    // folder's node carries in its data (role Qt::UserRole).
    static constexpr const char* PlaceholderText = "Child";
    // The data value (role Qt::UserRole) that marks a node whose subfolders were read.
    static constexpr quint32 LoadedMarker = 0xA5F016ED;

    // A 121 x 97 tree in clWindow showing the root alone, which is Directory.
    explicit TFolderTree(QWidget* AOwner = nullptr);
    ~TFolderTree() override;

    // --- published properties
    // The colour set last, also while the tree is disabled and shows clBtnFace.
    TColor Color() const { return FColorBak; }
    void SetColor(TColor v) override;
    // The same as Color().
    TColor GetColor() const { return Color(); }
    TFolderOptions Options() const { return FOptions; }
    void SetOptions(TFolderOptions v);        // a change refreshes the tree
    bool OldTreeStyle() const { return FUseOldStyle; }
    void SetOldTreeStyle(bool v);

    // --- events (each also a signal, emitted right after it)
    // Fires when a new selection changed Directory; then dirChanged().
    TNotifyEvent OnDirChanged;
    // Fires on every change of the selected node, after Directory was set; then changed().
    TTVChangedEvent OnChange;
    // Installed by the constructor: reads the node's subfolders (ProcessExpanding). A handler
    // that replaces it takes over the reading.
    TTVExpandingEvent OnExpanding;

    // --- public methods
    // The selected folder's path with a trailing separator.
    QString Directory() const { return FDirectory; }
    // The sorted subfolders of Path (of Node); false when there are none or the folder does
    // not exist. DirList receives the result.
    bool GetSubDirs(const QString& Path, TSubFolderList& DirList) const;
    // The same for the folder of Node; false and an empty DirList for no node.
    bool GetSubDirs(QTreeWidgetItem* Node, TSubFolderList& DirList) const;
    // Creates FolderName below the selected folder and selects it (see above).
    bool MakeSubFolder(const QString& FolderName);
    // Removes the selected folder when it is empty and not the root, then selects its parent.
    bool RemoveSelectedFolder();
    // Selects Directory again, or its nearest existing ancestor; true when one was selected.
    bool RefreshTree();
    // Directory becomes the root; the tree shows the root alone, collapsed.
    void Reset();
    // Rebuilds the tree and selects Path's node; true when the whole path was found (see above).
    bool SelectPath(const QString& Path);
    // The folder path of a node ("/a/b/"); empty for none.
    QString PathOfNode(const QTreeWidgetItem* Node) const;
    // Whether a node's subfolders have been read.
    static bool NodeLoaded(const QTreeWidgetItem* Node);

    // After loading a form: a black colour becomes white; the tree collapses.
    void Loaded() override;
    // Design mode shows no nodes (see above).
    void SetDesigning(bool v) override;

Q_SIGNALS:
    // Emitted after OnDirChanged.
    void dirChanged();
    // Emitted after OnChange, with the newly selected node.
    void changed(QTreeWidgetItem* node);

protected:
    // The selection changed to Node (see above).
    virtual void Change(QTreeWidgetItem* Node);
    virtual void DirHasChanged();
    // The default OnExpanding handler: reads Node's subfolders unless it was read already.
    void ProcessExpanding(QObject* Sender, QTreeWidgetItem* Node, bool& AllowExpansion);
    TSubFolderList LoadDirNamesAndSort(const QString& Path) const;
    void BuildMainTree();
    void Click() override;
    void EnabledChanged() override;
    void ColorChanged() override;
    void mousePressEvent(QMouseEvent* e) override;
    void drawBranches(QPainter* Painter, const QRect& Rect, const QModelIndex& Index) const override;

private:
    void Expanding(QTreeWidgetItem* Node);
    void ShowColor();
    void DrawClassicBranches(QPainter* Painter, const QRect& Rect, const QModelIndex& Index) const;
    static QTreeWidgetItem* NewNode(const QString& Text, bool Placeholder);
    static QTreeWidgetItem* ChildNamed(QTreeWidgetItem* Node, const QString& Name);

    QString FDirectory;
    bool FUseOldStyle = true;
    TColor FColorBak = clWindow;
    TFolderOptions FOptions;
    // A left press is being handled, and the selection change it made clicked already.
    bool FInPress = false;
    bool FPressSelected = false;
};

} // namespace qor
