// The demo browser on a real display, over demo folders the tests make:
// what the tree lists and in which order, the notes (saved, removed to the
// trash of a data folder of the test, in both encodings, and what happens
// when they cannot be written or removed), the selection by path, the
// clicks and the menu of the tree, the folder browser and the refresh.

#include "ComClient.h"
#include "FrmDemos.h"
#include "MainServices.h"
#include "WindowFakes.h"
#include "X11Keys.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QtTest>

namespace {

class FakeDialogs final : public IDialogs
{
public:
    struct Box
    {
        QString title, prompt;
        int32_t style;
    };
    QList<Box> boxes;
    QStringList folders;  // the browser's answers, in turn
    QString browsedTitle, browsedStart;
    int32_t browsedFlags = 0;
    bool ownerEnabledWhileBrowsing = true;
    QWidget* owner = nullptr;
    // Whether a real modal window stands for the chooser, closed by the
    // test once it has the keyboard; and whether it got there.
    bool realChooser = false;
    bool chooserShown = false;

    bool ShowOpenDialog(QWidget*, const QString&, QString&, QString&, const QString&, const QString&, int32_t&,
                        const QString&, int32_t) override
    {
        return false;
    }
    bool ShowSaveDialog(QWidget*, const QString&, QString&, QString&, const QString&, const QString&, int32_t&,
                        const QString&, int32_t) override
    {
        return false;
    }
    QString BrowseForFolder(QWidget* parent, const QString& title, const QString& start, int32_t, int32_t flags,
                            const QString&) override
    {
        browsedTitle = title;
        browsedStart = start;
        browsedFlags = flags;
        ownerEnabledWhileBrowsing = owner && owner->isEnabled();
        if (realChooser) {
            QDialog chooser(parent);
            chooser.setWindowTitle(title);
            chooser.resize(300, 200);
            QTimer poll;
            QObject::connect(&poll, &QTimer::timeout, &chooser, [&] {
                if (QApplication::activeWindow() == &chooser) {
                    chooserShown = true;
                    chooser.reject();
                }
            });
            poll.start(10);
            chooser.exec();
        }
        return folders.isEmpty() ? QStringLiteral("cancel") : folders.takeFirst();
    }
    int32_t MessageBox(QWidget*, const QString& title, const QString& prompt, int32_t style, const QString&,
                       int32_t) override
    {
        boxes << Box{title, prompt, style};
        return 1;
    }
};

void Write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(bytes);
}

QByteArray Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

}  // namespace

class TestFrmDemos : public QObject
{
    Q_OBJECT

    QTemporaryDir m_store;
    QTemporaryDir m_data;
    std::unique_ptr<QTemporaryDir> m_root;
    std::shared_ptr<FakeDialogs> m_dialogs;
    std::shared_ptr<WindowFakes::RecordingShell> m_shell;
    std::unique_ptr<QWidget> m_owner;
    std::unique_ptr<FrmDemos> m_w;

    QString Root() const { return m_root->path(); }
    QString At(const QString& relative) const { return m_root->filePath(relative); }
    QString Trashed(const QString& name) const { return m_data.filePath(QStringLiteral("Trash/files/")) + name; }

    FrmDemos& Window(const QString& pattern = QStringLiteral("dm_??"))
    {
        m_w = std::make_unique<FrmDemos>(m_owner.get(), m_dialogs, m_shell);
        m_w->SetGuiTexts(QStringLiteral("Location"), QStringLiteral("Comments"), QStringLiteral("Apply"),
                         QStringLiteral("&Refresh"), QStringLiteral("Please select a demo in the list first."),
                         QStringLiteral("Select the directory"));
        m_w->SetRootDirectory(Root(), pattern);
        return *m_w;
    }
    bool Shown(FrmDemos& w)
    {
        w.ShowEx(m_owner.get());
        return QTest::qWaitForWindowExposed(&w);
    }
    // Waits until the keyboard goes to that window. (isActiveWindow() says
    // true of a tool window whose owner is active and of the owner of an
    // active tool window too, so it cannot tell.)
    static bool ActiveIs(QWidget* window)
    {
        return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
    }
    // Shown and active: the keyboard focus can be read.
    bool Active(FrmDemos& w) { return Shown(w) && ActiveIs(&w); }
    // The user goes to another program's window and comes back.
    static bool Reactivated(FrmDemos& w)
    {
        QWidget other;
        other.show();
        other.activateWindow();
        if (!ActiveIs(&other))
            return false;
        w.activateWindow();
        return ActiveIs(&w);
    }
    static QStringList Nodes(const FrmDemos& w)
    {
        QStringList nodes;
        for (QTreeWidgetItemIterator it(w.Tree()); *it; ++it)
            nodes << FrmDemos::FullPath(*it) + QLatin1Char(':') + QString::number(FrmDemos::NodeImage(*it));
        return nodes;
    }
    static QTreeWidgetItem* Node(const FrmDemos& w, const QString& path)
    {
        for (QTreeWidgetItemIterator it(w.Tree()); *it; ++it)
            if (FrmDemos::FullPath(*it) == path)
                return *it;
        return nullptr;
    }
    static QPoint Where(const FrmDemos& w, QTreeWidgetItem* node)
    {
        w.Tree()->scrollToItem(node);
        return w.Tree()->visualItemRect(node).center();
    }
    static void Click(FrmDemos& w, const QString& path, Qt::MouseButton button = Qt::LeftButton)
    {
        QTreeWidgetItem* node = Node(w, path);
        QVERIFY2(node, qPrintable(path));
        QTest::mouseClick(w.Tree()->viewport(), button, {}, Where(w, node));
    }
    // A double click as the display gives it: a click, then the second
    // press as a double click.
    static void DoubleClick(FrmDemos& w, QTreeWidgetItem* node)
    {
        const QPoint at = Where(w, node);
        QTest::mouseClick(w.Tree()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(w.Tree()->viewport(), Qt::LeftButton, {}, at);
    }
    static QPlainTextEdit* NoteBox(const FrmDemos& w) { return w.findChild<QPlainTextEdit*>(QStringLiteral("txtDemoInfo")); }
    static void Save(FrmDemos& w) { QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("cmdSaveDemoInfo")), Qt::LeftButton); }
    static void TypeNote(FrmDemos& w, const QString& text)
    {
        QPlainTextEdit* box = NoteBox(w);
        box->setFocus();
        box->selectAll();
        if (text.isEmpty()) {
            QTest::keyClick(box, Qt::Key_Delete);
            return;
        }
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                QTest::keyClick(box, Qt::Key_Return);
            // Typed as the keyboard gives characters beyond ASCII.
            for (const QChar c : lines[i])
                QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }

private slots:
    void initTestCase()
    {
        qputenv("RUVADIR_REGISTRY", m_store.path().toLocal8Bit());
        // The trash lies in the test's own data folder.
        qputenv("XDG_DATA_HOME", m_data.path().toLocal8Bit());
        QVERIFY(Com::Succeeded(Com::RegisterServerFile(QStringLiteral(RUV_DADAVIVE_PATH))));
    }
    void init()
    {
        m_root = std::make_unique<QTemporaryDir>();
        m_dialogs = std::make_shared<FakeDialogs>();
        m_shell = std::make_shared<WindowFakes::RecordingShell>();
        m_owner = std::make_unique<QWidget>();
        m_dialogs->owner = m_owner.get();
    }
    void cleanup()
    {
        m_w.reset();
        m_owner.reset();
    }

    void patternsAndCopies()
    {
        for (const char* name : {"a.dm_84", "b.dm_8", "c.DM_84", "d.txt", "__vava_last_demo_0314.dm_84",
                                 "mid__vava_last_demo_x.dm_84", "__VAVA_Last_Demo_1.dm_84", "noextension"})
            Write(At(QString::fromLatin1(name)), "demo");
        Write(At(QStringLiteral("a.dm_84.txt")), "a note");
        FrmDemos& w = Window();
        QCOMPARE(Nodes(w), QStringList{QStringLiteral("a.dm_84:5")});
        w.SetRootDirectory(Root(), QString());
        QStringList all = Nodes(w);
        all.sort();
        QCOMPARE(all, (QStringList{QStringLiteral("a.dm_84.txt:4"), QStringLiteral("a.dm_84:5"),
                                   QStringLiteral("b.dm_8:4"), QStringLiteral("c.DM_84:4"), QStringLiteral("d.txt:4"),
                                   QStringLiteral("noextension:4")}));
        QCOMPARE(w.findChild<QLineEdit*>(QStringLiteral("txtDemoRootDir"))->text(), Root());
    }

    void foldersComeFirstDepthFirstWithTheirKeysAndImages()
    {
        Write(At(QStringLiteral("top.dm_84")), "demo");
        Write(At(QStringLiteral("holder/inner/m.dm_84")), "demo");
        QVERIFY(QDir().mkpath(At(QStringLiteral("holder/empty"))));
        QVERIFY(QDir().mkpath(At(QStringLiteral("onlyEmpty/void"))));
        for (int i = 0; i < 8; ++i)
            Write(At(QStringLiteral("f%1/x.dm_84").arg(i)), "demo");
        FrmDemos& w = Window();
        QSignalSpy updated(&w, &FrmDemos::DemoListUpdated);
        w.RefreshDemoList();
        QCOMPARE(updated.count(), 1);

        // Depth first: every folder right after its parent, numbered in
        // that order in hexadecimal; all folders of a level before its files.
        QStringList keys;
        for (QTreeWidgetItemIterator it(w.Tree()); *it; ++it) {
            if (FrmDemos::IsDemoNode(*it)) {
                QVERIFY(FrmDemos::NodeKey(*it).isEmpty());
                QTreeWidgetItem* parent = (*it)->parent();
                const int count = parent ? parent->childCount() : w.Tree()->topLevelItemCount();
                const int index = parent ? parent->indexOfChild(*it) : w.Tree()->indexOfTopLevelItem(*it);
                for (int later = index + 1; later < count; ++later) {
                    QTreeWidgetItem* next = parent ? parent->child(later) : w.Tree()->topLevelItem(later);
                    QVERIFY(FrmDemos::IsDemoNode(next));
                }
            } else {
                keys << FrmDemos::NodeKey(*it);
            }
        }
        QStringList expected;
        for (int n = 1; n <= 13; ++n)
            expected << QString::number(n, 16).toUpper() + QLatin1Char('k');
        QCOMPARE(keys, expected);
        QCOMPARE(FrmDemos::NodeImage(Node(w, QStringLiteral("onlyEmpty"))), int(FrmDemos::ImageFolder));
        QCOMPARE(FrmDemos::NodeImage(Node(w, QStringLiteral("onlyEmpty\\void"))), int(FrmDemos::ImageFolderEmpty));
        QCOMPARE(FrmDemos::NodeImage(Node(w, QStringLiteral("holder\\empty"))), int(FrmDemos::ImageFolderEmpty));
        QCOMPARE(FrmDemos::NodeImage(Node(w, QStringLiteral("holder\\inner\\m.dm_84"))), int(FrmDemos::ImageDemo));
    }

    void notesAreSavedAndRemovedToTheTrash()
    {
        Write(At(QStringLiteral("sub/match.dm_84")), "demo");
        Write(At(QStringLiteral("empty.dm_84")), "demo");
        Write(At(QStringLiteral("empty.dm_84.txt")), "");
        FrmDemos& w = Window();
        // A 0-byte note found while filling is gone, to the trash.
        QVERIFY(!QFile::exists(At(QStringLiteral("empty.dm_84.txt"))));
        QVERIFY(QFile::exists(Trashed(QStringLiteral("empty.dm_84.txt"))));
        QCOMPARE(FrmDemos::NodeImage(Node(w, QStringLiteral("empty.dm_84"))), int(FrmDemos::ImageDemo));

        QVERIFY(Shown(w));
        Node(w, QStringLiteral("sub"))->setExpanded(true);
        Click(w, QStringLiteral("sub\\match.dm_84"));
        TypeNote(w, QStringLiteral("first line\nsecond"));
        Save(w);
        QCOMPARE(Read(At(QStringLiteral("sub/match.dm_84.txt"))), QByteArray("first line\r\nsecond"));
        QCOMPARE(FrmDemos::NodeImage(Node(w, QStringLiteral("sub\\match.dm_84"))), int(FrmDemos::ImageDemoNote));

        TypeNote(w, QString());
        Save(w);
        QVERIFY(!QFile::exists(At(QStringLiteral("sub/match.dm_84.txt"))));
        QCOMPARE(Read(Trashed(QStringLiteral("match.dm_84.txt"))), QByteArray("first line\r\nsecond"));
        QCOMPARE(FrmDemos::NodeImage(Node(w, QStringLiteral("sub\\match.dm_84"))), int(FrmDemos::ImageDemo));
        QVERIFY(m_dialogs->boxes.isEmpty());
    }

    void notesOfEveryAlphabetSurviveAndOldNotesReadRight()
    {
        Write(At(QStringLiteral("pl.dm_84")), "demo");
        Write(At(QStringLiteral("old.dm_84")), "demo");
        Write(At(QStringLiteral("old.dm_84.txt")), QByteArray("Caf\xe9 d\xe9j\xe0 vu\r\nligne 2"));
        FrmDemos& w = Window();
        QVERIFY(Shown(w));
        QVERIFY(w.SelectItem(QStringLiteral("old.dm_84")));
        QCOMPARE(NoteBox(w)->toPlainText(), QString::fromUtf8("Café déjà vu\nligne 2"));

        const QString polish = QString::fromUtf8("Zażółć gęślą jaźń\nłódź");
        Click(w, QStringLiteral("pl.dm_84"));
        TypeNote(w, polish);
        Save(w);
        QCOMPARE(Read(At(QStringLiteral("pl.dm_84.txt"))), QString(polish).replace(QLatin1String("\n"), QLatin1String("\r\n")).toUtf8());
        // A note that fits the single-byte code page is written in it.
        Click(w, QStringLiteral("old.dm_84"));
        TypeNote(w, QString::fromUtf8("Été"));
        Save(w);
        QCOMPARE(Read(At(QStringLiteral("old.dm_84.txt"))), QByteArray("\xc9t\xe9"));

        w.RefreshDemoList();
        QVERIFY(NoteBox(w)->toPlainText().isEmpty());
        QVERIFY(w.SelectItem(QStringLiteral("PL.DM_84")));
        QCOMPARE(NoteBox(w)->toPlainText(), polish);
    }

    void aNoteThatCannotBeWrittenIsReportedAndKept_data()
    {
        QTest::addColumn<bool>("readOnlyFolder");
        QTest::newRow("read-only folder") << true;
        QTest::newRow("a folder where the note goes") << false;
    }
    void aNoteThatCannotBeWrittenIsReportedAndKept()
    {
        QFETCH(bool, readOnlyFolder);
        const QString folder = At(QStringLiteral("locked"));
        Write(folder + QStringLiteral("/d.dm_84"), "demo");
        if (readOnlyFolder) {
            QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
            QFile probe(folder + QStringLiteral("/probe"));
            if (probe.open(QIODevice::WriteOnly)) {
                probe.remove();
                QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
                QSKIP("this user writes into read-only folders; the other row shows the refusal");
            }
        } else {
            QVERIFY(QDir().mkpath(folder + QStringLiteral("/d.dm_84.txt/inside")));
        }
        FrmDemos& w = Window();
        QVERIFY(Shown(w));
        QVERIFY(w.SelectItem(QStringLiteral("locked\\d.dm_84")));
        TypeNote(w, QStringLiteral("keep me"));
        Save(w);
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QCOMPARE(m_dialogs->boxes.size(), 1);
        QCOMPARE(m_dialogs->boxes[0].prompt,
                 QStringLiteral("The note cannot be saved to \"%1/d.dm_84.txt\". Its text stays in the box.").arg(folder));
        QCOMPARE(NoteBox(w)->toPlainText(), QStringLiteral("keep me"));
        QCOMPARE(FrmDemos::NodeImage(Node(w, QStringLiteral("locked\\d.dm_84"))), int(FrmDemos::ImageDemo));
        // Activating the window again keeps what was typed.
        QVERIFY(Reactivated(w));
        QCOMPARE(NoteBox(w)->toPlainText(), QStringLiteral("keep me"));
    }

    void aNoteThatCannotBeRemovedIsReportedAndStays()
    {
        Write(At(QStringLiteral("d.dm_84")), "demo");
        Write(At(QStringLiteral("d.dm_84.txt")), "note");
        FrmDemos& w = Window();
        QVERIFY(Shown(w));
        QVERIFY(w.SelectItem(QStringLiteral("d.dm_84")));
        // No trash can be made below a file.
        Write(m_data.filePath(QStringLiteral("file")), "x");
        qputenv("XDG_DATA_HOME", m_data.filePath(QStringLiteral("file/data")).toLocal8Bit());
        TypeNote(w, QString());
        Save(w);
        qputenv("XDG_DATA_HOME", m_data.path().toLocal8Bit());
        QCOMPARE(m_dialogs->boxes.size(), 1);
        QCOMPARE(m_dialogs->boxes[0].prompt,
                 QStringLiteral("The note \"%1\" cannot be moved to the trash.").arg(At(QStringLiteral("d.dm_84.txt"))));
        QCOMPARE(Read(At(QStringLiteral("d.dm_84.txt"))), QByteArray("note"));
        QCOMPARE(FrmDemos::NodeImage(Node(w, QStringLiteral("d.dm_84"))), int(FrmDemos::ImageDemoNote));
    }

    // The keys go to the focused tree as the keyboard gives them.
    void theNoteFollowsTheNodeMadeCurrentByKeys()
    {
        Write(At(QStringLiteral("sub/match.dm_84")), "demo");
        Write(At(QStringLiteral("sub/match.dm_84.txt")), "old note");
        Write(At(QStringLiteral("a.dm_84")), "demo");
        FrmDemos& w = Window();
        QVERIFY(Shown(w));
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        Node(w, QStringLiteral("sub"))->setExpanded(true);
        Click(w, QStringLiteral("sub\\match.dm_84"));
        QCOMPARE(NoteBox(w)->toPlainText(), QStringLiteral("old note"));
        QTreeWidgetItem* a = Node(w, QStringLiteral("a.dm_84"));

        w.Tree()->setFocus();
        QTRY_VERIFY(w.Tree()->hasFocus());
        QTest::keyClick(w.Tree(), Qt::Key_Down);
        QCOMPARE(w.Tree()->currentItem(), a);
        QCOMPARE(w.CurrentNode(), a);
        QCOMPARE(NoteBox(w)->toPlainText(), QString());
        TypeNote(w, QStringLiteral("new note"));
        Save(w);
        QCOMPARE(Read(At(QStringLiteral("a.dm_84.txt"))), QByteArray("new note"));
        QCOMPARE(Read(At(QStringLiteral("sub/match.dm_84.txt"))), QByteArray("old note"));
        QCOMPARE(FrmDemos::NodeImage(a), int(FrmDemos::ImageDemoNote));
        QCOMPARE(FrmDemos::NodeImage(Node(w, QStringLiteral("sub\\match.dm_84"))), int(FrmDemos::ImageDemoNote));

        // Up, and a name typed into the tree, show each node's own note.
        w.Tree()->setFocus();
        QTRY_VERIFY(w.Tree()->hasFocus());
        QTest::keyClick(w.Tree(), Qt::Key_Up);
        QCOMPARE(FrmDemos::FullPath(w.CurrentNode()), QStringLiteral("sub\\match.dm_84"));
        QCOMPARE(NoteBox(w)->toPlainText(), QStringLiteral("old note"));
        QTest::keyClick(w.Tree(), Qt::Key_A);
        QCOMPARE(w.CurrentNode(), a);
        QCOMPARE(NoteBox(w)->toPlainText(), QStringLiteral("new note"));
        QVERIFY(m_dialogs->boxes.isEmpty());
    }

    void withoutADemoANoteIsRefused()
    {
        QVERIFY(QDir().mkpath(At(QStringLiteral("folder"))));
        FrmDemos& w = Window();
        QVERIFY(Shown(w));
        Save(w);
        QVERIFY(m_dialogs->boxes.isEmpty());
        Click(w, QStringLiteral("folder"));
        TypeNote(w, QStringLiteral("lost?"));
        Save(w);
        QCOMPARE(m_dialogs->boxes.size(), 1);
        QCOMPARE(m_dialogs->boxes[0].prompt, QStringLiteral("Please select a demo in the list first."));
        QCOMPARE(m_dialogs->boxes[0].title, QString());
        QCOMPARE(m_dialogs->boxes[0].style, 64);
        QCOMPARE(QDir(Root()).entryList(QDir::Files), QStringList());
    }

    void selectItemIgnoresCase()
    {
        Write(At(QStringLiteral("sub/match.dm_84")), "demo");
        Write(At(QStringLiteral("sub/match.dm_84.txt")), "found");
        FrmDemos& w = Window();
        QVERIFY(w.SelectItem(QStringLiteral("SUB\\Match.DM_84")));
        QCOMPARE(FrmDemos::FullPath(w.CurrentNode()), QStringLiteral("sub\\match.dm_84"));
        QCOMPARE(w.Tree()->currentItem(), w.CurrentNode());
        QCOMPARE(NoteBox(w)->toPlainText(), QStringLiteral("found"));
        QVERIFY(w.SelectItem(QStringLiteral("Sub")));
        QCOMPARE(FrmDemos::FullPath(w.CurrentNode()), QStringLiteral("sub"));
        QVERIFY(!w.SelectItem(QStringLiteral("sub\\gone.dm_84")));
        QCOMPARE(FrmDemos::FullPath(w.CurrentNode()), QStringLiteral("sub"));
        // A rebuild forgets the current node.
        w.RefreshDemoList();
        QCOMPARE(w.CurrentNode(), nullptr);
    }

    void rightClickOffersExploreOnFoldersOnly()
    {
        Write(At(QStringLiteral("sub/match.dm_84")), "demo");
        Write(At(QStringLiteral("top.dm_84")), "demo");
        FrmDemos& w = Window();
        QVERIFY(Shown(w));
        Click(w, QStringLiteral("top.dm_84"), Qt::RightButton);
        QCOMPARE(FrmDemos::FullPath(w.CurrentNode()), QStringLiteral("top.dm_84"));
        QTest::qWait(50);
        QVERIFY(QApplication::activePopupWidget() == nullptr);

        Click(w, QStringLiteral("sub"), Qt::RightButton);
        QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QList<QAction*> visible;
        for (QAction* a : menu->actions())
            if (a->isVisible())
                visible << a;
        QCOMPARE(visible.size(), 1);
        QCOMPARE(visible[0]->text(), QStringLiteral("Explore"));
        QCOMPARE(menu->defaultAction(), visible[0]);
        QCOMPARE(w.Tree()->currentItem(), Node(w, QStringLiteral("sub")));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(visible[0]).center());
        QTRY_COMPARE(m_shell->opened, QStringList{QStringLiteral("2 ") + Root() + QStringLiteral("/sub")});
    }

    void escapeOnTheExploreMenuClosesOnlyTheMenu()
    {
        if (!X11Keys::Available())
            QSKIP("needs XTest");
        Write(At(QStringLiteral("sub/match.dm_84")), "demo");
        FrmDemos& w = Window();
        QVERIFY(Shown(w));
        QVERIFY(QTest::qWaitForWindowActive(&w));
        Click(w, QStringLiteral("sub"), Qt::RightButton);
        QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
        QWidget* menu = QApplication::activePopupWidget();
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        // Escape typed on the keyboard goes to the open menu.
        const std::uint32_t escape = X11Keys::KeysymForVirtualKey(0x1B, false);
        QVERIFY(X11Keys::SendKeysym(escape, true) && X11Keys::SendKeysym(escape, false));
        QTRY_VERIFY(!menu->isVisible());
        QVERIFY(QApplication::activePopupWidget() == nullptr);
        QVERIFY(w.isVisible());
        // Once the menu is closed, Escape hides the window.
        QVERIFY(X11Keys::SendKeysym(escape, true) && X11Keys::SendKeysym(escape, false));
        QTRY_VERIFY(!w.isVisible());
    }

    void aDoubleClickChoosesADemoAndHides()
    {
        Write(At(QStringLiteral("sub/match.dm_84")), "demo");
        FrmDemos& w = Window();
        QSignalSpy chosen(&w, &FrmDemos::SelectedDemoChanged);
        QVERIFY(Shown(w));
        QTreeWidgetItem* folder = Node(w, QStringLiteral("sub"));
        DoubleClick(w, folder);
        QTRY_VERIFY(folder->isExpanded());
        QVERIFY(chosen.isEmpty());
        QVERIFY(w.isVisible());
        DoubleClick(w, Node(w, QStringLiteral("sub\\match.dm_84")));
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen[0][0].toString(), QStringLiteral("sub\\match.dm_84"));
        QVERIFY(!w.isVisible());
    }

    void closingOnlyHides()
    {
        Write(At(QStringLiteral("a.dm_84")), "demo");
        Write(At(QStringLiteral("sub/b.dm_84")), "demo");
        FrmDemos& w = Window();
        for (auto close : {+[](FrmDemos& d) { d.close(); },
                           +[](FrmDemos& d) { QTest::keyClick(d.Tree(), Qt::Key_Escape); }}) {
            QVERIFY(Shown(w));
            const QStringList before = Nodes(w);
            close(w);
            QVERIFY(!w.isVisible());
            QVERIFY(Shown(w));
            QCOMPARE(Nodes(w), before);
        }
        // The subclass object keeps the window from getting too small.
        QTRY_COMPARE(w.minimumSize(), QSize(FrmDemos::MinWidth, FrmDemos::MinHeight));
    }

    void theFolderBrowserRaisesOnlyANewFolder()
    {
        QVERIFY(QDir().mkpath(At(QStringLiteral("other"))));
        FrmDemos& w = Window();
        w.SetRootDirectory(At(QStringLiteral("gone/deeper")), QStringLiteral("dm_??"));
        QSignalSpy selected(&w, &FrmDemos::NewDemoRootDirSelected);
        QVERIFY(Shown(w));
        auto* browse = w.findChild<QPushButton*>(QStringLiteral("cmdBrowseForDemoRootDir"));
        m_dialogs->folders = {QStringLiteral("cancel"), At(QStringLiteral("GONE/Deeper")), At(QStringLiteral("other"))};
        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(browse, Qt::LeftButton);
        QCOMPARE(selected.count(), 1);
        QCOMPARE(selected[0][0].toString(), At(QStringLiteral("other")));
        // Opened at the nearest folder that exists, with its flags, while
        // the owner could not be used; the root is the window's to keep.
        QCOMPARE(m_dialogs->browsedStart, Root());
        QCOMPARE(m_dialogs->browsedTitle, QStringLiteral("Select the directory"));
        QCOMPARE(m_dialogs->browsedFlags, 596);
        QVERIFY(!m_dialogs->ownerEnabledWhileBrowsing);
        QVERIFY(m_owner->isEnabled());
        QCOMPARE(w.RootDirectory(), At(QStringLiteral("gone/deeper")));
    }

    void theBrowserHasTheKeyboardAgainAfterItsChooser()
    {
        if (!X11Keys::Available())
            QSKIP("needs XTest");
        m_owner->setWindowTitle(QStringLiteral("owner"));
        m_owner->resize(500, 400);
        m_owner->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_owner.get()));
        FrmDemos& w = Window();
        QVERIFY(Active(w));
        m_dialogs->realChooser = true;
        QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("cmdBrowseForDemoRootDir")), Qt::LeftButton);
        QVERIFY(m_dialogs->chooserShown);
        QVERIFY(m_owner->isEnabled());
        QVERIFY(ActiveIs(&w));
        // Escape typed on the keyboard reaches the browser, which hides.
        const std::uint32_t escape = X11Keys::KeysymForVirtualKey(0x1B, false);
        QVERIFY(X11Keys::SendKeysym(escape, true) && X11Keys::SendKeysym(escape, false));
        QTRY_VERIFY(!w.isVisible());
        QVERIFY(m_owner->isVisible());
    }

    void refreshAsksFirst()
    {
        Write(At(QStringLiteral("a.dm_84")), "demo");
        FrmDemos& w = Window();
        QVERIFY(Active(w));
        bool cancel = true;
        connect(&w, &FrmDemos::RefreshRequested, this, [&](bool& c) { c = cancel; });
        QSignalSpy updated(&w, &FrmDemos::DemoListUpdated);
        Write(At(QStringLiteral("b.dm_84")), "demo");
        // The click gives the button the focus; the refresh hands it to the
        // tree, whether it rebuilt the tree or not.
        auto* refresh = w.findChild<QPushButton*>(QStringLiteral("cmdRefresh"));
        QTest::mouseClick(refresh, Qt::LeftButton);
        QCOMPARE(updated.count(), 0);
        QCOMPARE(Nodes(w).size(), 1);
        QVERIFY(w.Tree()->hasFocus());
        cancel = false;
        refresh->setFocus();
        QTest::mouseClick(refresh, Qt::LeftButton);
        QCOMPARE(updated.count(), 1);
        QCOMPARE(Nodes(w).size(), 2);
        QVERIFY(w.Tree()->hasFocus());
    }

    void missingRootsAndLinkLoopsGiveAFiniteTree()
    {
        FrmDemos& w = Window();
        QSignalSpy updated(&w, &FrmDemos::DemoListUpdated);
        w.SetRootDirectory(At(QStringLiteral("missing")), QStringLiteral("dm_??"));
        QCOMPARE(updated.count(), 1);
        QCOMPARE(w.Tree()->topLevelItemCount(), 0);
        w.SetRootDirectory(QString(), QString());
        QCOMPARE(updated.count(), 2);
        QCOMPARE(w.Tree()->topLevelItemCount(), 0);

        Write(At(QStringLiteral("a/b/c.dm_84")), "demo");
        QVERIFY(QFile::link(At(QStringLiteral("a")), At(QStringLiteral("a/b/up"))));
        QVERIFY(QFile::link(Root(), At(QStringLiteral("a/root"))));
        QVERIFY(QFile::link(QStringLiteral("/"), At(QStringLiteral("a/system"))));
        Write(m_data.filePath(QStringLiteral("elsewhere/e.dm_84")), "demo");
        QVERIFY(QFile::link(m_data.filePath(QStringLiteral("elsewhere")), At(QStringLiteral("linked"))));
        w.SetRootDirectory(Root(), QStringLiteral("dm_??"));
        QStringList nodes = Nodes(w);
        nodes.sort();
        QCOMPARE(nodes, (QStringList{QStringLiteral("a:1"), QStringLiteral("a\\b:1"), QStringLiteral("a\\b\\c.dm_84:4"),
                                     QStringLiteral("linked:1"), QStringLiteral("linked\\e.dm_84:4")}));
    }

    void activationReadsTheNoteAgain()
    {
        Write(At(QStringLiteral("a.dm_84")), "demo");
        FrmDemos& w = Window();
        QVERIFY(Shown(w));
        QVERIFY(w.SelectItem(QStringLiteral("a.dm_84")));
        QCOMPARE(NoteBox(w)->toPlainText(), QString());
        // Written by another program meanwhile.
        Write(At(QStringLiteral("a.dm_84.txt")), "from outside");
        QVERIFY(Reactivated(w));
        QCOMPARE(NoteBox(w)->toPlainText(), QStringLiteral("from outside"));
        QCOMPARE(FrmDemos::NodeImage(w.CurrentNode()), int(FrmDemos::ImageDemoNote));
    }
};

QTEST_MAIN(TestFrmDemos)
#include "tst_FrmDemos.moc"
