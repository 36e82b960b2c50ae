#pragma once

// The demo browser: the project's demo root folder as a tree of its
// sub-folders and demo files, a note per demo, and the choice of another
// root folder. The main window makes it once, keeps it as mDemosForm and
// shows it modeless beside its demo pick button. The window never changes
// the main window's demo itself: it tells what the user did through its
// four signals, which the main window's demo selection handles.
//
// Paths given to and by the main window are relative to the root folder,
// their parts joined by "\" (a node's full path).

#include "ComTypes.h"

#include <QIcon>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <array>
#include <memory>

class IDialogs;
class IShell;
class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class WindowEvents;

namespace Dadavive {
class ICSubclass;
}

class FrmDemos : public QWidget
{
    Q_OBJECT

public:
    // The tree's images: folders with and without content, any folder
    // while expanded, demos without and with a note.
    enum Image { ImageFolder = 1, ImageFolderExpanded = 2, ImageFolderEmpty = 3, ImageDemo = 4, ImageDemoNote = 5 };
    // The smallest size the user can give the window.
    static constexpr int MinWidth = 300;
    static constexpr int MinHeight = 200;

    // The dialogs service gives the folder browser and the message boxes,
    // the shell the explorer view of a folder.
    FrmDemos(QWidget* owner, std::shared_ptr<IDialogs> dialogs = nullptr, std::shared_ptr<IShell> shell = nullptr);
    ~FrmDemos() override;

    // The window that is disabled while the folder browser is open.
    void Initialize(QWidget* owner);
    // Shows the root (without trailing separator) and fills the tree with
    // its demos: files whose extension fits the pattern ("dm_??": five
    // characters beginning with "dm_"; empty: every file).
    void SetRootDirectory(const QString& rootDirectory, const QString& pattern);
    // Rebuilds the tree, forgets the current node, empties the note box and
    // signals DemoListUpdated, also when the root cannot be listed.
    void RefreshDemoList();
    // Selects, shows and makes current the first node whose full path
    // equals the path without regard to case; false (nothing changed) when
    // there is none.
    bool SelectItem(const QString& path);
    // Places the window by a control of another window: the control's
    // position in its window, plus that window's position, plus 45 twips
    // to the right and 915 down.
    void SetPosition(const QWidget* anchor);
    // Shows the window modeless, owned by `owner`.
    void ShowEx(QWidget* owner);
    // The two labels (" :" is added), the captions of the save and refresh
    // buttons, the message of a note saved without a demo and the folder
    // browser's title.
    void SetGuiTexts(const QString& rootLabel, const QString& infoLabel, const QString& saveCaption,
                     const QString& refreshCaption, const QString& noDemoText, const QString& browseTitle);

    // The messages of a note that cannot be saved or removed ("%%": the
    // note's path); English until they are set.
    void SetMessageTexts(const QString& cannotSave, const QString& cannotRemove);

    const QString& RootDirectory() const { return m_rootDirectory; }
    const QString& DemoPattern() const { return m_demoPattern; }
    QTreeWidget* Tree() const { return m_tvwDemos; }
    // The node last clicked or selected, null after a rebuild.
    QTreeWidgetItem* CurrentNode() const { return m_currentNode; }
    // The node's texts from the top joined by "\".
    static QString FullPath(const QTreeWidgetItem* node);
    static int NodeImage(const QTreeWidgetItem* node);
    static QString NodeKey(const QTreeWidgetItem* node);
    static bool IsDemoNode(const QTreeWidgetItem* node);

signals:
    // The folder browser gave a folder that differs, case aside, from the
    // root. The window does not change its root itself.
    void NewDemoRootDirSelected(const QString& folder);
    // Refresh was clicked; setting cancel skips the rebuild.
    void RefreshRequested(bool& cancel);
    // A demo was double-clicked: its full path.
    void SelectedDemoChanged(const QString& path);
    // The end of every rebuild.
    void DemoListUpdated();

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void BuildControls();
    void fFillTree(const QString& folder, const QString& canonical, QTreeWidgetItem* parent, int32_t& counter,
                   bool& holdsAnything, QList<QTreeWidgetItem*>& topLevel);
    bool fAcceptsDemo(const QString& name) const;
    void SetNodeImage(QTreeWidgetItem* node, int image);
    void fUpdateNodeImage(QTreeWidgetItem* node);
    QString fInfoFilePath(const QTreeWidgetItem* node) const;
    void fShowDemoInfo();
    void fArrangeControls();
    void cmdBrowseForDemoRootDir_Click();
    void cmdRefresh_Click();
    void cmdSaveDemoInfo_Click();
    void mnuExplore_Click();
    void tvwDemos_MouseDown(Qt::MouseButton button, const QPoint& position);
    void tvwDemos_NodeClick(QTreeWidgetItem* node);
    void tvwDemos_DblClick();
    void ShowMessage(const QString& prompt, int32_t style);

    std::shared_ptr<IDialogs> m_dialogs;
    std::shared_ptr<IShell> m_shell;
    QWidget* m_owner = nullptr;

    QFrame* m_fraTop = nullptr;
    QLabel* m_lblDemoRootDir = nullptr;
    QLineEdit* m_txtDemoRootDir = nullptr;
    QPushButton* m_cmdBrowseForDemoRootDir = nullptr;
    QTreeWidget* m_tvwDemos = nullptr;
    QFrame* m_fraDemoInfo = nullptr;
    QLabel* m_lblDemoInfo = nullptr;
    QPlainTextEdit* m_txtDemoInfo = nullptr;
    QPushButton* m_cmdSaveDemoInfo = nullptr;
    QFrame* m_fraBottom = nullptr;
    QPushButton* m_cmdRefresh = nullptr;
    QMenu* m_mnuMain = nullptr;
    QAction* m_mnuExplore = nullptr;
    std::array<QIcon, 6> m_images;

    Com::ComPtr<WindowEvents> m_events;
    Com::ComPtr<Dadavive::ICSubclass> FormSc;

    QString m_rootDirectory;
    // The root as the file system names it.
    QString m_nativeRoot;
    QString m_demoPattern;
    QString m_demoPatternStem;
    QTreeWidgetItem* m_currentNode = nullptr;
    Qt::MouseButton m_lastButton = Qt::NoButton;
    QPoint m_lastPosition;
    QString m_noDemoText;
    QString m_browseTitle;
    QString m_cannotSaveText;
    QString m_cannotRemoveText;
};
