// Script creation in the real window under a German user locale: the
// save dialog, the folder check, the options of the panel, the script
// generator's files and messages, the result box that closes itself, and
// the script folder opened in the shell.

#include "FileDialogDriver.h"
#include "GamesHarness.h"

#include "C3DCameraScriptOption.h"
#include "CFramerateHandler.h"
#include "MRuvScriptGenerator.h"
#include "ScriptCreation.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDirIterator>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

using namespace GamesHarness;

namespace {

// The generator's messages, recorded.
struct RecordingUi : IScriptGeneratorUi
{
    QStringList messages;
    int32_t ShowScriptFileError(const QString&, const QString& prompt, int32_t) override
    {
        messages << prompt;
        return MMsgBoxEx::IdCancel;
    }
    void ShowInputError(const QString&, const QString& message) override { messages << message; }
};

// Every file of a folder: name and bytes.
QMap<QString, QByteArray> FilesOf(const QString& folder)
{
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(folder).entryList(QDir::Files)) {
        QFile file(QDir(folder).filePath(name));
        file.open(QIODevice::ReadOnly);
        files.insert(name, file.readAll());
    }
    return files;
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(), qPrintable(path));
}

}  // namespace

class TstScriptCreation : public QObject
{
    Q_OBJECT

    Session m_s;
    QString m_mod;

    MainWidgets& W() { return m_s.window->Widgets(); }
    ScriptCreation& Creation() { return static_cast<ScriptCreation&>(*m_s.window->Parts().scriptCreation); }
    CGameDefinition& Game() { return *m_s.window->State().m_activeGame; }
    void ClickCreate()
    {
        W().tabControl->setCurrentIndex(3);
        QTRY_VERIFY(W().cmdCreateScript->isVisible());
        QTest::mouseClick(W().cmdCreateScript, Qt::LeftButton);
    }
    QStringList BoxTitles() const
    {
        QStringList titles;
        for (const Dialogs::Box& b : m_s.dialogs->boxes)
            titles << b.title;
        return titles;
    }
    void Clear()
    {
        m_s.dialogs->boxes.clear();
        m_s.dialogs->saves.clear();
        m_s.dialogs->answers.clear();
        m_s.fake.calls.clear();
    }

private slots:
    void initTestCase()
    {
        QCOMPARE(QLocale::system().decimalPoint(), QStringLiteral(","));
        QVERIFY(m_s.Start());
        // ET: Legacy of the user's own, with the mod in its home folder.
        const QString exe = m_s.home->File(QStringLiteral("bin/etl"), true);
        m_s.home->Folder(QStringLiteral("home/.etlegacy/etmain"));
        m_mod = m_s.home->Folder(QStringLiteral("home/.etlegacy/etpro"));
        m_s.home->Folder(QStringLiteral("home/.etlegacy/etpro/cam"));
        QVERIFY(ChooseMod(*m_s.window, 0));
        Game().SetExeFullPath(exe);
        Game().SetModFullDir(m_mod);
        QVERIFY(Game().IsLocationValid());
        C3DCurve& curve = *m_s.window->State().m_mainCurve;
        curve.AddControl3(0, 0, 0, 0, 0, 0, true);
        curve.AddControl3(256, 128, 64, 10, 90, 0, true);
    }
    void cleanupTestCase()
    {
        m_s.Stop();
    }

    void createWritesTheGeneratorsFiles()
    {
        Clear();
        m_s.dialogs->savePaths << m_mod + QStringLiteral("/cam/movie.cfg");
        ClickCreate();

        QCOMPARE(m_s.dialogs->saves.size(), 1);
        const Dialogs::Save& save = m_s.dialogs->saves.front();
        QCOMPARE(save.title, QStringLiteral("Choose a name and a location for your script."));
        QCOMPARE(save.proposed, QString());
        QCOMPARE(save.folder, m_mod + QStringLiteral("/cam"));
        QCOMPARE(save.filter, QStringLiteral("ET Pro script (*.cfg)|*.cfg|"));
        QCOMPARE(Creation().LastScriptName(), QStringLiteral("movie"));
        QCOMPARE(Game().ScriptOutDir(), m_mod + QStringLiteral("/cam"));
        QCOMPARE(m_s.fake.calls, (QStringList{"Busy", "NotBusy"}));

        // One box: the result, owned by no window, closing by itself.
        QCOMPARE(m_s.dialogs->boxes.size(), 1);
        const Dialogs::Box& result = m_s.dialogs->boxes.front();
        QVERIFY(result.owner == nullptr);
        QVERIFY(result.title.startsWith(QStringLiteral("Script generated in ")));
        QVERIFY(result.prompt.startsWith(QStringLiteral("Successfully saved\r\n\r\nEffective number of points:")));
        QCOMPARE(result.style, 64);
        QCOMPARE(result.icon, QStringLiteral("IDI_A"));
        QCOMPARE(result.timeoutMs, 3000);

        // The same options given to the generator write the same files.
        const QString reference = m_s.home->Folder(QStringLiteral("reference"));
        C3DCameraScriptOption options;
        Creation().fGatherScriptOptions(options, QStringLiteral("movie"), reference, QString());
        RecordingUi ui;
        int32_t ms = 0;
        int32_t points = 0;
        QVERIFY(MRuvScriptGenerator::GenerateCameraScripts(ui, QStringLiteral("Ruvadir"), QStringLiteral("e"),
                                                           QStringLiteral("c"), options, ms, points));
        QCOMPARE(result.prompt.mid(result.prompt.lastIndexOf(QLatin1Char(':')) + 1), QString::number(points));
        const QMap<QString, QByteArray> written = FilesOf(m_mod + QStringLiteral("/cam"));
        // The script and the first position.
        QVERIFY(written.contains(QStringLiteral("movie.cfg")));
        QVERIFY(written.size() >= 2);
        QCOMPARE(written, FilesOf(reference));

        // The next dialog proposes the name.
        Clear();
        ClickCreate();
        QCOMPARE(m_s.dialogs->saves.front().proposed, QStringLiteral("movie"));
        QVERIFY(m_s.dialogs->boxes.isEmpty());
        QVERIFY(m_s.fake.calls.isEmpty());
    }

    void theResultShowsSecondsInTheUsersForm()
    {
        Clear();
        Creation().fShowScriptResult(1234, 57);
        QCOMPARE(m_s.dialogs->boxes.size(), 1);
        QCOMPARE(m_s.dialogs->boxes.front().title, QStringLiteral("Script generated in 1,2 sec"));
        QCOMPARE(m_s.dialogs->boxes.front().prompt,
                 QStringLiteral("Successfully saved\r\n\r\nEffective number of points:57"));
        Clear();
        Creation().fShowScriptResult(12345678, 1);
        QCOMPARE(m_s.dialogs->boxes.front().title, QStringLiteral("Script generated in 12345,7 sec"));
    }

    void theResultBoxClosesItself()
    {
        Clear();
        m_s.dialogs->realBoxes = true;
        m_s.dialogs->savePaths << m_mod + QStringLiteral("/cam/movie.cfg");
        bool seen = false;
        Harness::OnBox([&seen](QMessageBox*) { seen = true; });
        QElapsedTimer clock;
        clock.start();
        ClickCreate();
        m_s.dialogs->realBoxes = false;
        QVERIFY(seen);
        QVERIFY(clock.elapsed() >= 2500);
        QVERIFY(!Harness::OpenBox());
        QCOMPARE(m_s.dialogs->boxes.size(), 1);
    }

    void aFolderOutsideTheGameIsAskedFor()
    {
        const QString outside = m_s.home->Folder(QStringLiteral("scripts/test"));
        for (int answer : {MMsgBoxEx::IdNo, MMsgBoxEx::IdYes}) {
            Clear();
            QFile::remove(outside + QStringLiteral("/solo.cfg"));
            m_s.dialogs->savePaths << outside + QStringLiteral("/solo.cfg");
            m_s.dialogs->answers << answer;
            ClickCreate();
            QVERIFY(!m_s.dialogs->boxes.isEmpty());
            const Dialogs::Box& question = m_s.dialogs->boxes.front();
            QCOMPARE(question.title, QStringLiteral(" Folder not valid"));
            QCOMPARE(question.style, 36);
            QVERIFY(question.prompt.startsWith(QStringLiteral("The specified folder is not valid.\r\nThe script must "
                                                              "be located at least at the root of the MOD (ET Pro)")));
            QVERIFY(question.prompt.endsWith(QStringLiteral("\r\nDo you wish to continue ?")));
            // The folder is kept either way.
            QCOMPARE(Game().ScriptOutDir(), outside);
            QCOMPARE(QFile::exists(outside + QStringLiteral("/solo.cfg")), answer == MMsgBoxEx::IdYes);
        }
        QCOMPARE(Creation().LastScriptName(), QStringLiteral("solo"));
    }

    void anUnwritableFolderShowsTheGeneratorsMessageOnly()
    {
        Clear();
        const QString blocker = m_s.home->File(QStringLiteral("blocker"));
        m_s.dialogs->savePaths << blocker + QStringLiteral("/movie.cfg");
        m_s.dialogs->answers << MMsgBoxEx::IdYes << MMsgBoxEx::IdCancel;
        ClickCreate();
        QCOMPARE(BoxTitles(), (QStringList{" Folder not valid", " Create..."}));
        QCOMPARE(m_s.dialogs->boxes.at(1).prompt, QStringLiteral("Script saving error."));
        QCOMPARE(m_s.fake.calls, (QStringList{"Busy", "NotBusy"}));
        QCOMPARE(Creation().LastScriptName(), QStringLiteral("solo"));
    }

    void refusedInputsGetTheGeneratorsMessages()
    {
        QComboBox* before = W().cboSCmdsBefore;
        before->addItems({QStringLiteral("none"), QStringLiteral("etmain\\a;quit.cfg")});
        before->setCurrentIndex(1);
        Clear();
        m_s.dialogs->savePaths << m_mod + QStringLiteral("/cam/refused.cfg");
        ClickCreate();
        QCOMPARE(BoxTitles(), QStringList{" Create..."});
        QVERIFY(m_s.dialogs->boxes.front().prompt.contains(QStringLiteral("\"a;quit.cfg\"")));
        QVERIFY(!QFile::exists(m_mod + QStringLiteral("/cam/refused.cfg")));
        QCOMPARE(m_s.fake.calls, (QStringList{"Busy", "NotBusy"}));
        before->setCurrentIndex(0);

        // A path of one point.
        C3DCurve& curve = *m_s.window->State().m_mainCurve;
        curve.DeleteControl(1);
        // Below two points the button is off; the generator still refuses
        // a path of one point when it is reached.
        QVERIFY(!W().cmdCreateScript->isEnabled());
        W().cmdCreateScript->setEnabled(true);
        Clear();
        m_s.dialogs->savePaths << m_mod + QStringLiteral("/cam/refused.cfg");
        ClickCreate();
        QCOMPARE(BoxTitles(), QStringList{" Create..."});
        QCOMPARE(m_s.dialogs->boxes.front().prompt, QStringLiteral("The camera path needs at least two points."));
        curve.AddControl3(256, 128, 64, 10, 90, 0, true);
        QVERIFY(!QFile::exists(m_mod + QStringLiteral("/cam/refused.cfg")));
    }

    // The dialog is the program's own: Qt alone reads the quote as a list
    // of names and gives etmovie.cfg or cam.cfg.
    void aTypedNameHoldingAQuoteIsRefusedBeforeAnythingIsWritten_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("over an existing set") << "x\"etmovie";
        QTest::newRow("a name of its own") << "my\"cam";
    }
    void aTypedNameHoldingAQuoteIsRefusedBeforeAnythingIsWritten()
    {
        QFETCH(QString, typed);
        const QString folder = m_mod + QStringLiteral("/cam");
        // A set written before under the quoted part's name.
        WriteBytes(folder + QStringLiteral("/etmovie.cfg"), "exec cam\\etmovie000\r\n");
        WriteBytes(folder + QStringLiteral("/etmovie000.cfg"), "camera 0 0 0\r\n");
        const QMap<QString, QByteArray> before = FilesOf(folder);
        const QString lastName = Creation().LastScriptName();
        Game().SetScriptOutDir(folder + QStringLiteral("/not/yet"));
        Clear();
        m_s.dialogs->realSaves = true;
        Harness::OnFileDialog([typed](QFileDialog* d) { Harness::TypeAndChooseFileName(d, typed); });
        ClickCreate();
        m_s.dialogs->realSaves = false;

        QCOMPARE(m_s.dialogs->saves.size(), 1);
        QCOMPARE(BoxTitles(), QStringList{" Create..."});
        QCOMPARE(m_s.dialogs->boxes.front().prompt,
                 "The script name \"" + typed + "\" cannot be given to the game: it may not hold \";\", double "
                 "quotes, blanks, line breaks, control characters or characters outside Latin-1.");
        QCOMPARE(m_s.dialogs->boxes.front().style, 48);
        QCOMPARE(FilesOf(folder), before);
        QCOMPARE(Game().ScriptOutDir(), folder + QStringLiteral("/not/yet"));
        QCOMPARE(Creation().LastScriptName(), lastName);
        QVERIFY(m_s.fake.calls.isEmpty());
    }

    void aNumberBeyondItsFieldIsRefusedBeforeTheDialog_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("refused");
        QTest::newRow("speed too large") << "txtTransSpeed" << "Transition speed" << "99999999999999" << true;
        QTest::newRow("speed too small") << "txtTransSpeed" << "Transition speed" << "-99999999999999" << true;
        QTest::newRow("the largest speed") << "txtTransSpeed" << "Transition speed" << "2147483647" << false;
        // The record-frame boxes of ET QW, named though their labels are "w",
        // "h" and "AA".
        QTest::newRow("width") << "txtSRecordFrameWidth" << "Record frame width" << "99999999999999" << true;
        QTest::newRow("height") << "txtSRecordFrameHeight" << "Record frame height" << "99999999999999" << true;
        QTest::newRow("AA") << "txtSRecordFrameAA" << "Record frame antialiasing" << "-99999999999999" << true;
        QTest::newRow("the largest AA") << "txtSRecordFrameAA" << "Record frame antialiasing" << "2147483647" << false;
    }
    void aNumberBeyondItsFieldIsRefusedBeforeTheDialog()
    {
        QFETCH(QString, box);
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(bool, refused);
        auto* edit = m_s.window->findChild<QLineEdit*>(box);
        QVERIFY(edit);
        const QString old = edit->text();
        const QString folder = m_mod + QStringLiteral("/cam");
        const QMap<QString, QByteArray> before = FilesOf(folder);
        Game().SetScriptOutDir(folder + QStringLiteral("/not/yet"));
        edit->setText(value);
        Clear();
        m_s.dialogs->savePaths << folder + QStringLiteral("/speed.cfg");
        ClickCreate();
        edit->setText(old);
        QFile::remove(folder + QStringLiteral("/speed.cfg"));
        if (!refused) {
            QCOMPARE(m_s.dialogs->saves.size(), 1);
            return;
        }
        QVERIFY(m_s.dialogs->saves.isEmpty());
        QCOMPARE(BoxTitles(), QStringList{" Create..."});
        QCOMPARE(m_s.dialogs->boxes.front().prompt,
                 field + " \"" + value + "\" cannot be used: give a whole number from -2147483648 to 2147483647.");
        QCOMPARE(m_s.dialogs->boxes.front().style, 48);
        QCOMPARE(Game().ScriptOutDir(), folder + QStringLiteral("/not/yet"));
        QCOMPARE(FilesOf(folder), before);
        QVERIFY(m_s.fake.calls.isEmpty());
    }

    void theTransitionSpeedBecomesAWholeNumber_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("12.5 to the even 12") << "12.5" << "12";
        QTest::newRow("13.5 to the even 14") << "13.5" << "14";
        QTest::newRow("empty") << "" << "0";
        QTest::newRow("007") << "007" << "7";
    }
    void theTransitionSpeedBecomesAWholeNumber()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QLineEdit* speed = W().txtTransSpeed;
        speed->setText(typed);
        bool cancel = true;
        Creation().fValidateTransSpeed(cancel);
        QVERIFY(!cancel);
        QCOMPARE(speed->text(), shown);
    }

    void theOptionsAreThePanels()
    {
        MainWidgets& w = W();
        // A frame rate without its limit still gives its rate.
        const QString rateBefore = w.cboTFrameRate->currentText();
        w.cboTFrameRate->setEditText(QStringLiteral("25"));
        QCOMPARE(m_s.window->Controls().mFramerateHandler->SelectedValueString(), QStringLiteral("25"));
        w.chkSIncFPSLimit->setChecked(false);
        w.cboCamModeOption->setCurrentIndex(12);
        C3DCameraScriptOption o;
        Creation().fGatherScriptOptions(o, QStringLiteral("b"), QStringLiteral("/d"), QStringLiteral("r"));
        QCOMPARE(o.MaxFPS(), 25);
        QVERIFY(!o.IncludeFPSLimit());
        QCOMPARE(o.CameraModeValue(), 12);
        QCOMPARE(o.ScriptBasename(), QStringLiteral("b"));
        QCOMPARE(o.ScriptFullDir(), QStringLiteral("/d"));
        QCOMPARE(o.RelativeDir(), QStringLiteral("r"));
        QCOMPARE(o.ScriptFileExtension(), QStringLiteral(".cfg"));
        QCOMPARE(o.ScriptStopKey(), w.cboSScriptPauseKey->property("Tag").toString());
        QCOMPARE(o.EtqwRecordFrameAaSize(), 16);
        w.cboTFrameRate->setEditText(rateBefore);
        QVERIFY(o.Game() == &Game());
        QVERIFY(o.CamCurve() == m_s.window->State().m_mainCurve);

        // Free camera and autostart checked but disabled pass false.
        for (int game : {1, 2}) {
            QVERIFY(ChooseMod(*m_s.window, game));
            w.chkSIncFreecam->setChecked(true);
            w.chkSAutoStart->setChecked(true);
            Creation().fGatherScriptOptions(o, QStringLiteral("b"), QString(), QString());
            QVERIFY(!o.IncludeFreecam());
            QVERIFY(!o.AutostartEnabled());
            // Warsow has no mode: the list index of the empty box.
            QCOMPARE(o.CameraModeIndex(), game == 2 ? -1 : 0);
        }

        // ET QW "Free": the empty option box passes 0.
        QVERIFY(ChooseMod(*m_s.window, 4));
        QCOMPARE(w.cboCamModeOption->count(), 0);
        Creation().fGatherScriptOptions(o, QStringLiteral("b"), QString(), QString());
        QCOMPARE(o.CameraModeValue(), 0);
        QCOMPARE(o.CameraModeIndex(), 0);
        QVERIFY(ChooseMod(*m_s.window, 0));
    }

    void exploreOpensTheNearestExistingFolder()
    {
        Clear();
        m_s.shell->opened.clear();
        Game().SetScriptOutDir(m_mod + QStringLiteral("/cam/not/yet"));
        W().tabControl->setCurrentIndex(3);
        QTRY_VERIFY(W().cmdExploreScriptDir->isVisible());
        QTest::mouseClick(W().cmdExploreScriptDir, Qt::LeftButton);
        QCOMPARE(m_s.shell->opened, QStringList{"0 " + m_mod + "/cam"});
        QVERIFY(m_s.dialogs->boxes.isEmpty());

        // A game without folders has none.
        QVERIFY(ChooseMod(*m_s.window, 3));
        QTest::mouseClick(W().cmdExploreScriptDir, Qt::LeftButton);
        QCOMPARE(m_s.shell->opened.size(), 1);
        QCOMPARE(BoxTitles(), QStringList{" Explore script folder"});
        QCOMPARE(m_s.dialogs->boxes.front().prompt, QStringLiteral("Output script folder not found."));
        QCOMPARE(m_s.dialogs->boxes.front().style, 64);
        QVERIFY(ChooseMod(*m_s.window, 0));
    }
};

int main(int argc, char** argv)
{
    // The user's number form is German from the start.
    qputenv("LC_ALL", "de_DE.UTF-8");
    qputenv("LANG", "de_DE.UTF-8");
    QApplication app(argc, argv);
    TstScriptCreation test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ScriptCreation.moc"
