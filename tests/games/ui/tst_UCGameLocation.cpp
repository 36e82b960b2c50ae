#include "UCGameLocation.h"

#include "ComClient.h"
#include "MFileOpDialogs.h"
#include "MRuvResource.h"
#include "ui/GameWindowsTestSupport.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QWindow>

class TestUCGameLocation : public QObject
{
    Q_OBJECT

    PrivateRegistry m_registry;
    GamesTempTree m_tree;
    TreeHome m_home{m_tree};

    // The control on a window of its own, showing the game.
    struct Host
    {
        QWidget window;
        UCGameLocation* location = new UCGameLocation(&window);
        explicit Host(CGameDefinition& game)
        {
            location->move(10, 10);
            window.resize(700, 400);
            location->SetGame(&game);
            window.show();
        }
        bool Exposed() { return QTest::qWaitForWindowExposed(&window); }
        template <class T>
        T* Get(const char* name) const
        {
            return location->findChild<T*>(QString::fromLatin1(name));
        }
        QStringList ListTexts() const
        {
            auto* list = Get<QListWidget>("lstWorkingDirectory");
            QStringList names;
            for (int i = 0; i < list->count(); ++i)
                names << list->item(i)->text();
            return names;
        }
        void ClickCheck(QCheckBox* check) const
        {
            QTest::mouseClick(check, Qt::LeftButton, Qt::NoModifier, QPoint(6, check->height() / 2));
        }
    };

    // The executable dialog's title and the wrong-executable box for ET Pro.
    inline static const QString kEtNames = QStringLiteral(
        "Please select the game executable (etl, etl.x86_64, etl.i386, etl.aarch64, et, et.x86, etlegacy, Et.exe).");

    CGameDefinition EtPro() const
    {
        CGameDefinition g = MakeGame(0);
        g.SetExeFullPath(m_tree.Path("ET/etl"));
        g.SetModFullDir(m_tree.Path("ET/etpro"));
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
        QVERIFY(m_registry.IsValid());
        QVERIFY(m_tree.IsValid());
        for (const char* f : {"ET/etl", "ET/quake3", "ET/ETL"})
            QVERIFY(!m_tree.File(f).isEmpty());
        for (const char* f : {"ET/etmain", "ET/etpro", "ET/ETPRO2", "ET/Backup", "ET/docs", "ET/pbstats",
                              "demos elsewhere"})
            QVERIFY(!m_tree.Folder(f).isEmpty());
    }

    void listAndItsExactCaseSelection()
    {
        CGameDefinition et = EtPro();
        Host h(et);
        QCOMPARE(h.ListTexts(), (QStringList{"etmain", "etpro", "ETPRO2", "pbstats"}));
        auto* list = h.Get<QListWidget>("lstWorkingDirectory");
        QCOMPARE(list->currentRow(), 1);
        QCOMPARE(h.Get<QLineEdit>("txtGameExePath")->text(), m_tree.Path("ET/etl"));
        QVERIFY(h.location->IsLocationValid());

        // A mod folder named in another case is listed but not selected.
        et.SetModFullDir(m_tree.Path("ET/ETMAIN"));
        QSignalSpy layout(h.location, &UCGameLocation::LayoutChanged);
        h.location->SetGame(&et);
        QCOMPARE(layout.count(), 1);
        QVERIFY(list->selectedItems().isEmpty());
        QCOMPARE(list->count(), 4);
    }

    void clickSetsTheModFolder()
    {
        CGameDefinition et = EtPro();
        Host h(et);
        QVERIFY(h.Exposed());
        auto* list = h.Get<QListWidget>("lstWorkingDirectory");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(list->item(3)).center());
        QCOMPARE(et.ModFullDir(), m_tree.Path("ET/pbstats"));
        QCOMPARE(et.ModDirBasename(), QString("pbstats"));
        // The default demo folder followed the mod folder.
        QCOMPARE(h.Get<QLineEdit>("txtDemoDefaultRootDir")->text(), m_tree.Path("ET/pbstats/demos"));
        QVERIFY(QFileInfo(m_tree.Path("ET/pbstats/demos")).isDir());
        // Tabbing into the list chooses nothing.
        et.SetModFullDir(m_tree.Path("ET/ETMAIN"));
        h.location->SetGame(&et);
        QVERIFY(FocusTest::ShowActive(h.window));
        h.Get<QPushButton>("cmdBrowseForGameExePath")->setFocus();
        FocusTest::Key(h.window, Qt::Key_Tab);
        QTRY_VERIFY(list->hasFocus());
        QCOMPARE(et.ModFullDir(), m_tree.Path("ET/ETMAIN"));
    }

    void useDefaultResetsAndDisables()
    {
        CGameDefinition et = EtPro();
        et.SetDemoDefaultRootDir(m_tree.Path("demos elsewhere"));
        Host h(et);
        QVERIFY(h.Exposed());
        auto* check = h.Get<QCheckBox>("chkDemoDefaultRootDirUseDefault");
        auto* text = h.Get<QLineEdit>("txtDemoDefaultRootDir");
        auto* browse = h.Get<QPushButton>("cmdBrowseForDemoDefaultRootDir");
        QVERIFY(!check->isChecked());
        QCOMPARE(text->text(), m_tree.Path("demos elsewhere"));
        QVERIFY(text->isEnabled() && browse->isEnabled());
        QVERIFY(text->isReadOnly());  // chosen with its browser

        h.ClickCheck(check);
        QVERIFY(check->isChecked());
        QCOMPARE(et.DemoDefaultRootDir(), m_tree.Path("ET/etpro/demos"));
        QCOMPARE(text->text(), et.DemoDefaultRootDir());
        QVERIFY(!text->isEnabled() && !browse->isEnabled());

        h.ClickCheck(check);
        QVERIFY(!check->isChecked());
        QVERIFY(text->isEnabled() && browse->isEnabled());
        QCOMPARE(et.DemoDefaultRootDir(), m_tree.Path("ET/etpro/demos"));
    }

    void executableDialogFilterAndCancel()
    {
        CGameDefinition et = EtPro();
        Host h(et);
        QVERIFY(h.Exposed());
        ModalAnswerer answer;  // no pick: the dialog is cancelled
        QTest::mouseClick(h.Get<QPushButton>("cmdBrowseForGameExePath"), Qt::LeftButton);
        QCOMPARE(answer.fileDialogs.size(), 1);
        const ModalAnswerer::FileDialog& d = answer.fileDialogs[0];
        QCOMPARE(d.title, kEtNames);
        QCOMPARE(d.folder, m_tree.Path("ET"));
        QCOMPARE(d.filters.size(), 1);
        QVERIFY2(d.filters[0].startsWith("Executable file (etl etl.x86_64 "), qPrintable(d.filters[0]));
        QVERIFY2(d.filters[0].endsWith(" etlegacy Et.exe)"), qPrintable(d.filters[0]));
        QVERIFY(!d.filters[0].contains("*.exe"));
        QCOMPARE(et.ExeFullPath(), m_tree.Path("ET/etl"));
        QVERIFY(answer.boxes.isEmpty());
    }

    void wrongFileAsksAgainAndCaseIsIgnored()
    {
        CGameDefinition et = EtPro();
        Host h(et);
        QVERIFY(h.Exposed());
        ModalAnswerer answer;
        answer.picks = {m_tree.Path("ET/quake3"), m_tree.Path("ET/ETL")};
        QTest::mouseClick(h.Get<QPushButton>("cmdBrowseForGameExePath"), Qt::LeftButton);
        QCOMPARE(answer.boxes, QStringList{"Wrong game executable|" + kEtNames});
        QCOMPARE(answer.fileDialogs.size(), 2);
        QCOMPARE(answer.fileDialogs[0].file, m_tree.Path("ET/etl"));
        QCOMPARE(answer.fileDialogs[1].file, m_tree.Path("ET/quake3"));  // again on the file just chosen
        QCOMPARE(et.ExeFullPath(), m_tree.Path("ET/ETL"));
        QCOMPARE(h.Get<QLineEdit>("txtGameExePath")->text(), et.ExeFullPath());
    }

    void theDialogProposesALinuxEngineOfTheFolder_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("proposed");
        // The first Linux name found, in the case the folder has it; the
        // Windows name is never proposed.
        QTest::newRow("the first engine found") << "propose/a" << QStringList{"quake3", "Quake3.exe"} << "quake3";
        QTest::newRow("another case") << "propose/b" << QStringList{"IOQuake3.x86_64"} << "IOQuake3.x86_64";
        QTest::newRow("none there") << "propose/c" << QStringList{"Quake3.exe"} << "ioquake3";
    }
    void theDialogProposesALinuxEngineOfTheFolder()
    {
        QFETCH(QString, folder);
        QFETCH(QStringList, files);
        QFETCH(QString, proposed);
        for (const QString& f : files)
            QVERIFY(!m_tree.File(folder + "/" + f).isEmpty());
        CGameDefinition q3 = MakeGame(1);
        q3.SetExeFullPath(m_tree.Path(folder + "/" + files.first()));
        Host h(q3);
        QVERIFY(h.Exposed());
        ModalAnswerer answer;
        QTest::mouseClick(h.Get<QPushButton>("cmdBrowseForGameExePath"), Qt::LeftButton);
        QCOMPARE(answer.fileDialogs.size(), 1);
        QCOMPARE(answer.fileDialogs[0].file, m_tree.Path(folder + "/" + proposed));
    }

    void theWrongExecutableBoxNamesTheLinuxEngines_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("text");
        const QString names = QStringLiteral(
            "ioquake3, ioquake3.x86_64, ioquake3.i386, ioquake3.aarch64, quake3, quake3.x86, q3, Quake3.exe");
        QTest::newRow("English") << int(MRuvResource::LanguageEnglish)
                                 << "Wrong game executable|Please select the game executable (" + names + ").";
        QTest::newRow("French") << int(MRuvResource::LanguageFrench)
                                << QString::fromUtf8("Mauvais exécutable du jeu|Veuillez sélectionner l'exécutable "
                                                     "du jeu (") + names + ").";
        QTest::newRow("German") << int(MRuvResource::LanguageGerman)
                                << QString::fromUtf8("Falsche ausführbare Spieldatei|Bitte wählen Sie die "
                                                     "ausführbare Datei des Spiels (") + names + ").";
    }

    void theWrongExecutableBoxNamesTheLinuxEngines()
    {
        QFETCH(int, language);
        QFETCH(QString, text);
        CGameDefinition q3 = MakeGame(1);
        q3.SetExeFullPath(m_tree.File("q3/ioquake3"));
        Host h(q3);
        // The texts the main window gives the control, from the language's table.
        QStringList texts;
        for (int32_t number = 113; number <= 123; ++number)
            texts << MRuvResource::GetResString(language, number);
        texts.swapItemsAt(0, 1);  // the frame's caption comes before the browse buttons'
        h.location->SetControlsText(texts);
        QVERIFY(h.Exposed());
        ModalAnswerer answer;
        answer.picks = {m_tree.File("q3/Quake3.txt")};
        QTest::mouseClick(h.Get<QPushButton>("cmdBrowseForGameExePath"), Qt::LeftButton);
        QCOMPARE(answer.boxes, QStringList{text});
        QCOMPARE(answer.fileDialogs.size(), 2);
        QCOMPARE(answer.fileDialogs[0].title, text.section(QLatin1Char('|'), 1));
        QCOMPARE(q3.ExeFullPath(), m_tree.Path("q3/ioquake3"));
    }

    void folderPickedAsExecutableKeepsTheDialog()
    {
        CGameDefinition et = EtPro();
        Host h(et);
        QVERIFY(h.Exposed());
        ModalAnswerer answer;
        answer.picks = {m_tree.Path("ET")};
        QTest::mouseClick(h.Get<QPushButton>("cmdBrowseForGameExePath"), Qt::LeftButton);
        // The folder only opened in the same dialog, which was then cancelled.
        QCOMPARE(answer.fileDialogs.size(), 2);
        QVERIFY(answer.boxes.isEmpty());
        QCOMPARE(et.ExeFullPath(), m_tree.Path("ET/etl"));
    }

    void folderBrowsers()
    {
        CGameDefinition qw = MakeGame(4);
        qw.SetExeFullPath(m_tree.File("etqw/etqw.x86"));
        qw.SetModFullDir(m_tree.Folder("etqw/base"));
        m_tree.Folder("etqw/base/maps");
        m_tree.Folder("mods/chosen/demos");
        Host h(qw);
        QVERIFY(h.Exposed());
        ModalAnswerer answer;
        answer.picks = {m_tree.Path("mods/chosen")};
        QTest::mouseClick(h.Get<QPushButton>("cmdBrowseForAbsoluteWorkingDirectory"), Qt::LeftButton);
        QCOMPARE(qw.ModFullDir(), m_tree.Path("mods/chosen"));
        QCOMPARE(h.Get<QLineEdit>("txtAbsoluteWorkingDirectory")->text(), qw.ModFullDir());
        QCOMPARE(MFileOp::LastBrowseState().flags, 80);
        QCOMPARE(MFileOp::LastBrowseState().initialFolder, m_tree.Path("etqw/base"));

        // A cancelled browser changes nothing.
        const QString demos = qw.DemoDefaultRootDir();
        QCOMPARE(demos, m_tree.Path("mods/chosen/demos"));
        h.ClickCheck(h.Get<QCheckBox>("chkDemoDefaultRootDirUseDefault"));  // unchecked: browsing allowed
        QTest::mouseClick(h.Get<QPushButton>("cmdBrowseForDemoDefaultRootDir"), Qt::LeftButton);
        QCOMPARE(answer.fileDialogs.size(), 2);
        QCOMPARE(answer.fileDialogs[0].title, QString("Select the game base directory (usually <game folder>\\base)."));
        QCOMPARE(answer.fileDialogs[1].title, QString("Select the demos directory."));
        QCOMPARE(qw.DemoDefaultRootDir(), demos);
        QVERIFY(answer.boxes.isEmpty());
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
        Host h(qw);
        auto* plain = new QLineEdit(&h.window);  // shows its menu: the press gets through
        plain->setGeometry(10, 360, 200, 24);
        plain->show();
        QVERIFY(h.Exposed());
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
        qw.SetExeFullPath(m_tree.File("etqw/etqw.x86"));
        qw.SetModFullDir(m_tree.Folder("anywhere/base"));
        CGameDefinition et = EtPro();
        Host h(et);
        const int listHeight = h.location->height();
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
        QVERIFY(h.location->height() < listHeight);

        // The right edges of the three rows line up.
        const auto right = [&](const char* name) {
            auto* b = h.Get<QPushButton>(name);
            return b->mapTo(h.location, QPoint(b->width(), 0)).x();
        };
        QCOMPARE(right("cmdBrowseForGameExePath"), h.location->width() - 8);
        QCOMPARE(right("cmdBrowseForDemoDefaultRootDir"), h.location->width() - 8);
        QCOMPARE(right("cmdBrowseForAbsoluteWorkingDirectory"), h.location->width() - 8);
        h.location->SetGame(&et);
        auto* list = h.Get<QListWidget>("lstWorkingDirectory");
        QCOMPARE(demo->y(), list->y() + list->height() + 3);
        QCOMPARE(h.location->height(), listHeight);
    }

    void badLocationsGiveEmptyLists()
    {
        CGameDefinition et = MakeGame(0);
        et.SetExeFullPath("Et.exe");
        Host h(et);
        QVERIFY(h.ListTexts().isEmpty());
        QVERIFY(!h.location->IsLocationValid());
        et.SetExeFullPath(m_tree.Path("gone/etl"));
        h.location->SetGame(&et);
        QVERIFY(h.ListTexts().isEmpty());

        // Texts: eleven or nothing.
        auto* frame = h.location->findChild<QGroupBox*>("fraMain");
        h.location->SetControlsText({"Emplacements"});
        QCOMPARE(frame->title(), QString("Locations"));
        QStringList texts;
        for (int i = 1; i <= 11; ++i)
            texts << QString("t%1").arg(i);
        h.location->SetControlsText(texts);
        QCOMPARE(frame->title(), QString("t1"));
        QCOMPARE(h.Get<QPushButton>("cmdBrowseForDemoDefaultRootDir")->text(), QString("t2"));
        QCOMPARE(h.Get<QCheckBox>("chkDemoDefaultRootDirUseDefault")->text(), QString("t6"));
    }
};

QTEST_MAIN(TestUCGameLocation)
#include "tst_UCGameLocation.moc"
