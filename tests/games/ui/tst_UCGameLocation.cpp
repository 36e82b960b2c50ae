#include "UCGameLocation.h"

#include "ComClient.h"
#include "MFileOpDialogs.h"
#include "ui/GameWindowsTestSupport.h"

#include <QCheckBox>
#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QWindow>

#include <deque>

class TestUCGameLocation : public QObject
{
    Q_OBJECT

    QTemporaryDir m_registry;
    QTemporaryDir m_tmp;

    QString Folder(const QString& rel)
    {
        const QString p = m_tmp.filePath(rel);
        QDir().mkpath(p);
        return p;
    }
    QString File(const QString& rel)
    {
        const QString p = m_tmp.filePath(rel);
        QDir().mkpath(QFileInfo(p).path());
        WriteAll(p, "x");
        return p;
    }

    struct Host
    {
        QWidget window;
        UCGameLocation* location = new UCGameLocation(&window);
        Host()
        {
            location->move(10, 10);
            window.resize(700, 400);
            window.show();
        }
        template <class T>
        T* Get(const char* name) const
        {
            return location->findChild<T*>(QString::fromLatin1(name));
        }
    };

    CGameDefinition EtPro()
    {
        CGameDefinition g = MakeGame(0);
        g.SetExeFullPath(m_tmp.filePath("ET/etl"));
        g.SetModFullDir(m_tmp.filePath("ET/etpro"));
        return g;
    }

    // Right-presses the box as the window system delivers it (so that a
    // context menu request follows) and says whether a menu opened.
    static bool RightPressOpensMenu(QWidget* box)
    {
        QWindow* window = box->window()->windowHandle();
        const QPoint at = box->mapTo(box->window(), box->rect().center());
        QTest::mousePress(window, Qt::RightButton, Qt::NoModifier, at);
        QTest::mouseRelease(window, Qt::RightButton, Qt::NoModifier, at);
        const bool opened = QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }, 2000);
        if (QWidget* menu = QApplication::activePopupWidget())
            menu->close();
        return opened;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_registry.isValid());
        qputenv("RUVADIR_REGISTRY", m_registry.path().toUtf8());
        QVERIFY(m_tmp.isValid());
        File("ET/etl");
        File("ET/quake3");
        File("ET/ETL");
        for (const char* f : {"ET/etmain", "ET/etpro", "ET/ETPRO2", "ET/Backup", "ET/docs", "ET/pbstats"})
            Folder(f);
        Folder("demos elsewhere");
    }

    void listAndItsExactCaseSelection()
    {
        CGameDefinition et = EtPro();
        Host h;
        QSignalSpy layout(h.location, &UCGameLocation::LayoutChanged);
        h.location->SetGame(&et);
        QCOMPARE(layout.count(), 1);
        auto* list = h.Get<QListWidget>("lstWorkingDirectory");
        QStringList names;
        for (int i = 0; i < list->count(); ++i)
            names << list->item(i)->text();
        QCOMPARE(names, (QStringList{"etmain", "etpro", "ETPRO2", "pbstats"}));
        QCOMPARE(list->currentRow(), 1);
        QCOMPARE(h.Get<QLineEdit>("txtGameExePath")->text(), m_tmp.filePath("ET/etl"));
        QVERIFY(h.location->IsLocationValid());

        // A mod folder named in another case is listed but not selected.
        et.SetModFullDir(m_tmp.filePath("ET/ETMAIN"));
        h.location->SetGame(&et);
        QVERIFY(list->selectedItems().isEmpty());
        QCOMPARE(list->count(), 4);
    }

    void clickSetsTheModFolder()
    {
        CGameDefinition et = EtPro();
        Host h;
        h.location->SetGame(&et);
        QVERIFY(QTest::qWaitForWindowExposed(&h.window));
        auto* list = h.Get<QListWidget>("lstWorkingDirectory");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(list->item(3)).center());
        QCOMPARE(et.ModFullDir(), m_tmp.filePath("ET/pbstats"));
        QCOMPARE(et.ModDirBasename(), QString("pbstats"));
        // The default demo folder followed the mod folder.
        QCOMPARE(h.Get<QLineEdit>("txtDemoDefaultRootDir")->text(), m_tmp.filePath("ET/pbstats/demos"));
        QVERIFY(QFileInfo(m_tmp.filePath("ET/pbstats/demos")).isDir());
        // Tabbing into the list chooses nothing.
        et.SetModFullDir(m_tmp.filePath("ET/ETMAIN"));
        h.location->SetGame(&et);
        h.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&h.window));
        h.Get<QPushButton>("cmdBrowseForGameExePath")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTRY_VERIFY(list->hasFocus());
        QCOMPARE(et.ModFullDir(), m_tmp.filePath("ET/ETMAIN"));
    }

    void useDefaultResetsAndDisables()
    {
        CGameDefinition et = EtPro();
        et.SetDemoDefaultRootDir(m_tmp.filePath("demos elsewhere"));
        Host h;
        h.location->SetGame(&et);
        QVERIFY(QTest::qWaitForWindowExposed(&h.window));
        auto* check = h.Get<QCheckBox>("chkDemoDefaultRootDirUseDefault");
        auto* text = h.Get<QLineEdit>("txtDemoDefaultRootDir");
        auto* browse = h.Get<QPushButton>("cmdBrowseForDemoDefaultRootDir");
        QVERIFY(!check->isChecked());
        QCOMPARE(text->text(), m_tmp.filePath("demos elsewhere"));
        QVERIFY(text->isEnabled() && browse->isEnabled());
        QVERIFY(text->isReadOnly());  // chosen with its browser

        QTest::mouseClick(check, Qt::LeftButton, Qt::NoModifier, QPoint(6, check->height() / 2));
        QVERIFY(check->isChecked());
        QCOMPARE(et.DemoDefaultRootDir(), m_tmp.filePath("ET/etpro/demos"));
        QCOMPARE(text->text(), et.DemoDefaultRootDir());
        QVERIFY(!text->isEnabled() && !browse->isEnabled());

        QTest::mouseClick(check, Qt::LeftButton, Qt::NoModifier, QPoint(6, check->height() / 2));
        QVERIFY(!check->isChecked());
        QVERIFY(text->isEnabled() && browse->isEnabled());
        QCOMPARE(et.DemoDefaultRootDir(), m_tmp.filePath("ET/etpro/demos"));
    }

    void executableDialogFilterAndCancel()
    {
        CGameDefinition et = EtPro();
        Host h;
        h.location->SetGame(&et);
        QVERIFY(QTest::qWaitForWindowExposed(&h.window));
        ModalAnswerer answer;
        QStringList filters;
        QString folder;
        QString title;
        answer.onFileDialog = [&](QFileDialog* d) {
            filters = d->nameFilters();
            folder = d->directory().absolutePath();
            title = d->windowTitle();
            QVERIFY(d->testOption(QFileDialog::DontUseNativeDialog));
            AnswerFileDialog(d, QString());
        };
        QTest::mouseClick(h.Get<QPushButton>("cmdBrowseForGameExePath"), Qt::LeftButton);
        QCOMPARE(title, QString("Please select the 'Et.exe' game executable."));
        QCOMPARE(folder, m_tmp.filePath("ET"));
        QCOMPARE(filters.size(), 1);
        QVERIFY2(filters[0].startsWith("Executable file (Et.exe etl etl.x86_64 "), qPrintable(filters[0]));
        QVERIFY(!filters[0].contains("*.exe"));
        // Cancelled: nothing changes.
        QCOMPARE(et.ExeFullPath(), m_tmp.filePath("ET/etl"));
        QVERIFY(answer.boxes.isEmpty());
    }

    void wrongFileAsksAgainAndCaseIsIgnored()
    {
        CGameDefinition et = EtPro();
        Host h;
        h.location->SetGame(&et);
        QVERIFY(QTest::qWaitForWindowExposed(&h.window));
        ModalAnswerer answer;
        std::deque<QString> picks{m_tmp.filePath("ET/quake3"), m_tmp.filePath("ET/ETL")};
        QStringList opened;  // the file each dialog came up with
        answer.onFileDialog = [&](QFileDialog* d) {
            opened << d->selectedFiles().value(0);
            const QString pick = picks.empty() ? QString() : picks.front();
            if (!picks.empty())
                picks.pop_front();
            AnswerFileDialog(d, pick);
        };
        QTest::mouseClick(h.Get<QPushButton>("cmdBrowseForGameExePath"), Qt::LeftButton);
        QCOMPARE(answer.boxes,
                 QStringList{"Wrong game executable|Please select the 'Et.exe' game executable."});
        QCOMPARE(opened.size(), 2);
        QCOMPARE(opened[0], m_tmp.filePath("ET/Et.exe"));
        QCOMPARE(opened[1], m_tmp.filePath("ET/quake3"));  // again on the file just chosen
        QCOMPARE(et.ExeFullPath(), m_tmp.filePath("ET/ETL"));
        QCOMPARE(h.Get<QLineEdit>("txtGameExePath")->text(), et.ExeFullPath());
    }

    void folderPickedAsExecutableKeepsTheDialog()
    {
        CGameDefinition et = EtPro();
        Host h;
        h.location->SetGame(&et);
        QVERIFY(QTest::qWaitForWindowExposed(&h.window));
        ModalAnswerer answer;
        std::deque<QString> picks{m_tmp.filePath("ET"), QString()};
        int dialogs = 0;
        answer.onFileDialog = [&](QFileDialog* d) {
            ++dialogs;
            const QString pick = picks.front();
            picks.pop_front();
            AnswerFileDialog(d, pick);
        };
        QTest::mouseClick(h.Get<QPushButton>("cmdBrowseForGameExePath"), Qt::LeftButton);
        // The folder only opened in the same dialog, which was then cancelled.
        QCOMPARE(dialogs, 2);
        QVERIFY(answer.boxes.isEmpty());
        QCOMPARE(et.ExeFullPath(), m_tmp.filePath("ET/etl"));
    }

    void rightPressOpensNoMenu_data()
    {
        QTest::addColumn<bool>("library");
        QTest::newRow("without the subclassing library") << false;
#ifdef RUV_DADAVIVE_PATH
        QTest::newRow("with the subclassing library") << true;
#endif
    }

    void rightPressOpensNoMenu()
    {
        QFETCH(bool, library);
#ifdef RUV_DADAVIVE_PATH
        if (library)
            QCOMPARE(Com::RegisterServerFile(QStringLiteral(RUV_DADAVIVE_PATH)), Com::S_OK);
#endif
        CGameDefinition qw = MakeGame(4);
        Host h;
        auto* plain = new QLineEdit(&h.window);  // shows its menu: the press gets through
        plain->setGeometry(10, 360, 200, 24);
        plain->show();
        h.location->SetGame(&qw);
        QVERIFY(QTest::qWaitForWindowExposed(&h.window));
        QVERIFY(RightPressOpensMenu(plain));
        QVERIFY(!RightPressOpensMenu(h.Get<QLineEdit>("txtGameExePath")));
        QVERIFY(!RightPressOpensMenu(h.Get<QLineEdit>("txtAbsoluteWorkingDirectory")));
        QVERIFY(h.Get<QLineEdit>("txtGameExePath")->isReadOnly());
#ifdef RUV_DADAVIVE_PATH
        if (library)
            QCOMPARE(Com::UnregisterServerFile(QStringLiteral(RUV_DADAVIVE_PATH)), Com::S_OK);
#endif
    }

    void etQwLayout()
    {
        CGameDefinition qw = MakeGame(4);
        qw.SetExeFullPath(File("etqw/etqw.x86"));
        qw.SetModFullDir(Folder("anywhere/base"));
        Host h;
        QSignalSpy layout(h.location, &UCGameLocation::LayoutChanged);
        h.location->SetGame(&qw);
        QCOMPARE(layout.count(), 1);
        auto* frame = h.Get<QFrame>("fraAbsoluteWorkingDirectory");
        auto* demo = h.Get<QFrame>("fraDemoDefaultRootDir");
        QVERIFY(frame->isVisibleTo(h.location));
        QVERIFY(!h.Get<QListWidget>("lstWorkingDirectory")->isVisibleTo(h.location));
        QCOMPARE(h.Get<QLineEdit>("txtAbsoluteWorkingDirectory")->text(), qw.ModFullDir());
        QCOMPARE(demo->y(), frame->y() + frame->height() + 3);
        QCOMPARE(h.location->height(), demo->y() + demo->height() + 8);
        const int listHeight = h.location->height();

        // The list layout is taller; the right edges of the three rows line up.
        CGameDefinition et = EtPro();
        h.location->SetGame(&et);
        QCOMPARE(layout.count(), 2);
        QVERIFY(h.location->height() > listHeight);
        auto* list = h.Get<QListWidget>("lstWorkingDirectory");
        QCOMPARE(demo->y(), list->y() + list->height() + 3);
        const auto right = [&](const char* name) {
            auto* b = h.Get<QPushButton>(name);
            return b->mapTo(h.location, QPoint(b->width(), 0)).x();
        };
        QCOMPARE(right("cmdBrowseForGameExePath"), h.location->width() - 8);
        QCOMPARE(right("cmdBrowseForDemoDefaultRootDir"), h.location->width() - 8);
        QCOMPARE(right("cmdBrowseForAbsoluteWorkingDirectory"), h.location->width() - 8);
    }

    void folderBrowsers()
    {
        CGameDefinition qw = MakeGame(4);
        qw.SetExeFullPath(File("etqw/etqw.x86"));
        qw.SetModFullDir(Folder("etqw/base"));
        Folder("etqw/base/maps");
        Folder("mods/chosen/demos");
        Host h;
        h.location->SetGame(&qw);
        QVERIFY(QTest::qWaitForWindowExposed(&h.window));
        ModalAnswerer answer;
        QStringList titles;
        std::deque<QString> picks{m_tmp.filePath("mods/chosen"), QString()};
        answer.onFileDialog = [&](QFileDialog* d) {
            titles << d->windowTitle();
            const QString pick = picks.front();
            picks.pop_front();
            AnswerFileDialog(d, pick);
        };
        QTest::mouseClick(h.Get<QPushButton>("cmdBrowseForAbsoluteWorkingDirectory"), Qt::LeftButton);
        QCOMPARE(qw.ModFullDir(), m_tmp.filePath("mods/chosen"));
        QCOMPARE(h.Get<QLineEdit>("txtAbsoluteWorkingDirectory")->text(), qw.ModFullDir());
        QCOMPARE(MFileOp::LastBrowseState().flags, 80);
        QCOMPARE(MFileOp::LastBrowseState().initialFolder, m_tmp.filePath("etqw/base"));

        // A cancelled browser changes nothing.
        const QString demos = qw.DemoDefaultRootDir();
        QCOMPARE(demos, m_tmp.filePath("mods/chosen/demos"));
        auto* check = h.Get<QCheckBox>("chkDemoDefaultRootDirUseDefault");
        QTest::mouseClick(check, Qt::LeftButton, Qt::NoModifier, QPoint(6, check->height() / 2));  // unchecked
        QTest::mouseClick(h.Get<QPushButton>("cmdBrowseForDemoDefaultRootDir"), Qt::LeftButton);
        QCOMPARE(titles, (QStringList{"Select the game base directory (usually <game folder>\\base).",
                                      "Select the demos directory."}));
        QCOMPARE(qw.DemoDefaultRootDir(), demos);
        QVERIFY(answer.boxes.isEmpty());
    }

    void badLocationsGiveEmptyLists()
    {
        CGameDefinition et = MakeGame(0);
        et.SetExeFullPath("Et.exe");
        Host h;
        h.location->SetGame(&et);
        QCOMPARE(h.Get<QListWidget>("lstWorkingDirectory")->count(), 0);
        QVERIFY(!h.location->IsLocationValid());
        et.SetExeFullPath(m_tmp.filePath("gone/etl"));
        h.location->SetGame(&et);
        QCOMPARE(h.Get<QListWidget>("lstWorkingDirectory")->count(), 0);

        // Texts: eleven or nothing.
        h.location->SetControlsText({"Emplacements"});
        QCOMPARE(h.location->findChild<QGroupBox*>("fraMain")->title(), QString("Locations"));
        QStringList texts;
        for (int i = 1; i <= 11; ++i)
            texts << QString("t%1").arg(i);
        h.location->SetControlsText(texts);
        QCOMPARE(h.location->findChild<QGroupBox*>("fraMain")->title(), QString("t1"));
        QCOMPARE(h.Get<QPushButton>("cmdBrowseForDemoDefaultRootDir")->text(), QString("t2"));
        QCOMPARE(h.Get<QCheckBox>("chkDemoDefaultRootDirUseDefault")->text(), QString("t6"));
    }
};

QTEST_MAIN(TestUCGameLocation)
#include "tst_UCGameLocation.moc"
