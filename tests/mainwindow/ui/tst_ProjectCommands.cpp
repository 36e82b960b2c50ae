// The project commands of the real window: a project saved with every
// option off its default and opened again after New, the save question,
// replacing files, a failed save, the recent projects, older and damaged
// project files.

#include "GamesHarness.h"
#include "ViewTestParts.h"

#include "C3DProject.h"
#include "CurveEditing.h"
#include "FlexgridEx.h"
#include "CProjectIOHandler.h"
#include "MCommon.h"
#include "MFileOp.h"
#include "MenuItemArray.h"
#include "PathHelper.h"
#include "ProjectCommands.h"
#include "ScriptPanel.h"
#include "UC3DCurveList.h"
#include "UC3DCurveManager.h"
#include "UCTabbedFlexgrid.h"

#include <pugixml.hpp>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QToolButton>
#include <QtTest>

#include <cerrno>
#include <cstring>

#include <sstream>

#include <unistd.h>

namespace {

// File dialogs answered from lists (an empty answer or none cancels),
// message boxes recorded and answered from a list (then OK).
class Dialogs final : public IDialogs
{
public:
    struct Box
    {
        QString title;
        QString prompt;
        int32_t style;
    };
    struct Asked
    {
        QString title;
        QString proposed;
        QString folder;
        QString filter;
        int32_t flags;
    };
    QList<Box> boxes;
    QList<int32_t> answers;
    QStringList openPaths;
    QStringList savePaths;
    QList<Asked> opens;
    QList<Asked> saves;

    bool ShowOpenDialog(QWidget*, const QString& title, QString& fileName, QString& fileTitle, const QString& folder,
                        const QString& filter, int32_t&, const QString&, int32_t flags) override
    {
        opens << Asked{title, fileName, folder, filter, flags};
        return Answer(openPaths, fileName, fileTitle);
    }
    bool ShowSaveDialog(QWidget*, const QString& title, QString& fileName, QString& fileTitle, const QString& folder,
                        const QString& filter, int32_t&, const QString&, int32_t flags) override
    {
        saves << Asked{title, fileName, folder, filter, flags};
        return Answer(savePaths, fileName, fileTitle);
    }
    QString BrowseForFolder(QWidget*, const QString&, const QString&, int32_t, int32_t, const QString&) override
    {
        return QStringLiteral("cancel");
    }
    int32_t MessageBox(QWidget*, const QString& title, const QString& prompt, int32_t style, const QString&,
                       int32_t) override
    {
        boxes << Box{title, prompt, style};
        return answers.isEmpty() ? MMsgBoxEx::IdOk : answers.takeFirst();
    }
    void Clear()
    {
        boxes.clear();
        answers.clear();
        openPaths.clear();
        savePaths.clear();
        opens.clear();
        saves.clear();
    }

private:
    static bool Answer(QStringList& paths, QString& fileName, QString& fileTitle)
    {
        const QString path = paths.isEmpty() ? QString() : paths.takeFirst();
        if (path.isEmpty())
            return false;
        fileName = path;
        fileTitle = QFileInfo(path).fileName();
        return true;
    }
};

constexpr int32_t Rtcw = 3;

// A record as the file writer writes it, to compare two records by text.
QString RecordText(const C3DProject& project)
{
    QTemporaryDir dir;
    CProjectIOHandler io;
    io.SetModificationTime(QDateTime(QDate(2020, 1, 1), QTime(0, 0)));
    C3DCurveController none;
    const QString path = dir.filePath(QStringLiteral("r.vava"));
    if (!io.Save(path, project, none))
        return QStringLiteral("not written: ") + io.LastError();
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QString::fromUtf8(f.readAll());
}

QString CurvesXml(const C3DCurveController& controller)
{
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("Root");
    controller.Serialize(doc, root);
    std::ostringstream out;
    doc.save(out);
    return QString::fromStdString(out.str());
}

QByteArray FileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// The test's PATH is a folder of its own.
QString Chattr()
{
    const QString found = QStandardPaths::findExecutable(
        QStringLiteral("chattr"), {QStringLiteral("/usr/bin"), QStringLiteral("/bin"), QStringLiteral("/sbin"),
                                   QStringLiteral("/usr/sbin")});
    return found.isEmpty() ? QStringLiteral("/usr/bin/chattr") : found;
}

bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

}  // namespace

class TstProjectCommands : public QObject
{
    Q_OBJECT

    std::unique_ptr<GamesHarness::TempHome> m_home;
    std::unique_ptr<Harness::TempStore> m_store;
    std::shared_ptr<Dialogs> m_dialogs = std::make_shared<Dialogs>();
    std::unique_ptr<FrmMain> m_window;
    QString m_gameRoot;
    QString m_projects;
    QString m_maps;

    MainWidgets& W() { return m_window->Widgets(); }
    MainState& S() { return m_window->State(); }
    MainParts& P() { return m_window->Parts(); }
    ProjectCommands& Commands() { return static_cast<ProjectCommands&>(*P().projectCommands); }
    C3DCurveController& Curves() { return *S().m_curveController; }
    void Trigger(const char* item) { m_window->Menus().Action(QString::fromLatin1(item))->trigger(); }
    QString Project(const QString& name) { return m_projects + QLatin1Char('/') + name; }
    QStringList Prompts() const
    {
        QStringList texts;
        for (const Dialogs::Box& b : m_dialogs->boxes)
            texts << b.prompt;
        return texts;
    }
    void AddPoints(C3DCurve& curve, int count, float offset = 0)
    {
        for (int i = 0; i < count; ++i)
            curve.AddControl3(offset + 100.0f * i, 50.0f * i, 10.0f, 0, 0, 0, false);
    }
    // A new project without questions, its mark clear and the boxes gone.
    void Fresh()
    {
        S().m_projectModified = false;
        QVERIFY(P().projectCommands->fNewProject(true));
        m_dialogs->Clear();
    }
    // Saves the window's project at path through File > Save.
    void SaveAs(const QString& path)
    {
        m_dialogs->savePaths = {path};
        Trigger("mnuT_Save");
    }
    void OpenFile(const QString& path)
    {
        m_dialogs->openPaths = {path};
        Trigger("mnuT_Open");
    }

private slots:
    void initTestCase()
    {
        m_home = std::make_unique<GamesHarness::TempHome>();
        m_store = std::make_unique<Harness::TempStore>();
        Harness::RegisterLibraries();
        MArrayConvert::SetCommandLineText(QString());
        MainServices services = MakeRealServices();
        services.dialogs = m_dialogs;
        services.shell = std::make_shared<WindowFakes::RecordingShell>();
        services.gameSearch = m_home->Places();
        QCOMPARE(ProgramStart::StartMainWindow(std::move(services), m_window, std::make_unique<MainPartsFactory>()),
                 0);
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_window->Controls().m_aboutForm->hide();

        // RTCW at a valid location with its configuration files, a map
        // folder with a small map, a project folder.
        m_gameRoot = m_home->Folder(QStringLiteral("rtcw"));
        m_home->Folder(QStringLiteral("rtcw/Main/demos"));
        CGameDefinition& game = S().m_games[Rtcw];
        game.SetExeFullPath(m_home->File(QStringLiteral("rtcw/WolfMP.exe"), true));
        game.SetModFullDir(m_gameRoot + QStringLiteral("/Main"));
        QVERIFY(game.IsLocationValid());
        for (const char* name : {"a.cfg", "b.cfg", "before1.cfg", "before2.cfg", "after1.cfg", "after2.cfg"})
            m_home->File(QStringLiteral("rtcw/") + QLatin1String(name));
        m_maps = m_home->Folder(QStringLiteral("maps"));
        QVERIFY(ViewTest::WriteMap(ViewTest::FloorMap(256), m_maps + QStringLiteral("/floor.bsp")));
        m_projects = m_home->Folder(QStringLiteral("projects"));
        P().gameSelection->fApplyGameToGui(Rtcw, true);
        QCOMPARE(S().m_activeGame->GType(), Rtcw);
        S().m_activeGame->SetMapDir(m_maps);
        S().m_activeGame->SetProjectDir(m_projects);
    }
    void cleanupTestCase()
    {
        m_window.reset();
        m_store.reset();
        m_home.reset();
    }
    void init()
    {
        // An older project may name another game.
        P().gameSelection->fApplyGameToGui(Rtcw, true);
        S().m_activeGame->SetMapDir(m_maps);
        Fresh();
        S().m_activeGame->SetProjectDir(m_projects);
    }

    void aProjectComesBackAsItWasSaved()
    {
        MainWidgets& w = W();
        // The configuration lists as the game's settings fill them.
        const auto fill = [](QComboBox* combo, const QStringList& items) {
            combo->clear();
            combo->addItem(QStringLiteral("<none>"));
            combo->addItems(items);
        };
        fill(w.cboGConfigs, {"a.cfg", "b.cfg"});
        fill(w.cboSCmdsBefore, {"before1.cfg", "before2.cfg"});
        fill(w.cboSCmdsAfter, {"after1.cfg", "after2.cfg"});
        const QString demoRoot = m_home->Folder(QStringLiteral("otherdemos"));
        QVERIFY(WriteBytes(demoRoot + QStringLiteral("/sub/take.dm_60"), "demo"));

        QVERIFY(P().mapBinding->fLoadMap(QStringLiteral("floor.bsp")));
        for (int i = 0; i < 4; ++i) {
            S().m_views[size_t(i)].SetShowGrid(!S().m_views[size_t(i)].ShowGrid());
            S().m_views[size_t(i)].SetScaleIndex(S().m_views[size_t(i)].ScaleIndex() + 1 + i);
        }
        P().viewInput->fSelectView(1);
        P().viewPresets->fSavePreset(2);
        P().viewInput->fSelectView(2);
        P().viewPresets->fSavePreset(7);
        P().viewInput->fSelectView(3);
        P().layout->fSetViewRatioIndex(2, false);
        S().m_camera.Deserialize(QStringLiteral("1;2;3;10;20;5;75;30000"));
        QString root = demoRoot;
        P().demoSelection->SetProjectDemoRootDir(root);
        P().demoSelection->fSetDemo(QStringLiteral("sub\\take.dm_60"));
        w.cboGConfigs->setCurrentIndex(2);
        w.cboSCmdsBefore->setCurrentIndex(2);
        w.cboSCmdsAfter->setCurrentIndex(1);
        w.chkSAutoStart->setChecked(true);
        w.chkSScriptPauseState->setChecked(true);
        w.txtSScriptPauseInterval->setText(QStringLiteral("7"));
        w.cboSScriptPauseKey->setCurrentIndex(20);
        w.chkSIncFov->setChecked(false);
        w.chkSIncTS->setChecked(false);
        w.chkSIncConMsg->setChecked(true);
        if (w.cboCamMode->count() > 1)
            w.cboCamMode->setCurrentIndex(1);
        if (w.cboCamModeOption->count() > 1)
            w.cboCamModeOption->setCurrentIndex(1);
        w.txtGDemoTimes[0]->setText(QStringLiteral("3"));
        w.txtGDemoTimes[1]->setText(QStringLiteral("25"));
        w.txtGDemoTimes[2]->setText(QStringLiteral("40"));
        w.txtTransSpeed->setText(QStringLiteral("250"));
        P().scriptPanel->fParseRecordFrameSettings(QStringLiteral("1;2;8;1"));
        CFramerateHandler& rates = *m_window->Controls().mFramerateHandler;
        rates.AddTraceSpecificValues(QStringLiteral("33;"));
        int32_t rate = 47;
        rates.SelectByValue(rate);
        m_window->Controls().m_notesForm->SetContent(QStringLiteral("first line\r\nsecond line"));
        AddPoints(*S().m_mainCurve, 3);
        C3DCurve& other = Curves().Add(QStringLiteral("Other"));
        AddPoints(other, 2, 500);
        // As a project's other curves come back.
        other.SetShowArrow(false);
        Curves().SetFramerate(47);

        const C3DProject before = Commands().fBuildProjectRecord();
        const C3DProject blank;
        QCOMPARE(before.ViewPresetStrings().size(), 2);
        QCOMPARE(before.ViewPresetSlot(0), 2);
        QCOMPARE(before.ViewPresetSlot(1), 7);
        QCOMPARE(before.EtqwScreenshotSettingsString(), QStringLiteral("1;2;8;1"));
        QCOMPARE(before.SelectedFramerate(), 47);
        QCOMPARE(before.MapFileName(), QStringLiteral("floor.bsp"));
        QCOMPARE(before.SelectedDemoPath(), QStringLiteral("sub\\take.dm_60"));
        QCOMPARE(before.ActiveView(), int16_t(3));
        QVERIFY(before.SelectedConfigName() == QStringLiteral("b.cfg"));
        const QString recordBefore = RecordText(before);
        const QString curvesBefore = CurvesXml(Curves());

        S().m_projectModified = true;
        const QString path = Project(QStringLiteral("trip.vava"));
        SaveAs(path);
        QVERIFY(QFileInfo::exists(path));
        QVERIFY(!S().m_projectModified);
        QCOMPARE(S().m_captionName, QStringLiteral("trip"));
        QCOMPARE(m_dialogs->saves.size(), 1);
        QCOMPARE(m_dialogs->saves[0].filter, QStringLiteral("Ruvadir project (*.vava)|*.vava|"));
        QCOMPARE(m_dialogs->saves[0].folder, m_projects);
        QVERIFY(Prompts().isEmpty());

        // New keeps the map and the view states; then what it leaves alone
        // changes too.
        const QString viewsAfterSave = S().m_views[1].Serialize();
        m_window->Menus().Action(QStringLiteral("mnuT_New"))->trigger();
        QVERIFY(Prompts().isEmpty());
        QVERIFY(P().mapBinding->fIsMapLoaded());
        QCOMPARE(S().m_views[1].Serialize(), viewsAfterSave);
        QCOMPARE(S().m_activeViewIndex, 0);
        QCOMPARE(Curves().CurveCount(), 1);
        QCOMPARE(S().m_captionName, QString());
        QVERIFY(!Commands().fBuildProjectRecord().ViewPresetStrings().size());
        P().mapBinding->fUnloadMap(true);
        S().m_views[1].SetScaleIndex(S().m_views[1].ScaleIndex() + 3);
        P().layout->fSetViewRatioIndex(3, false);
        w.txtSScriptPauseInterval->setText(QStringLiteral("2"));
        w.cboSScriptPauseKey->setCurrentIndex(5);
        for (QLineEdit* box : w.txtGDemoTimes)
            box->setText(QStringLiteral("1"));
        w.txtTransSpeed->setText(QStringLiteral("9"));
        P().scriptPanel->fParseRecordFrameSettings(QStringLiteral("0;0;16;0"));
        QVERIFY(RecordText(Commands().fBuildProjectRecord()) != recordBefore);
        QVERIFY(RecordText(blank) != recordBefore);

        OpenFile(path);
        QCOMPARE(Prompts(), QStringList());
        QCOMPARE(m_dialogs->opens.size(), 1);
        QCOMPARE(m_dialogs->opens[0].filter, QStringLiteral("Ruvadir project (*.vava;*.rcwt)|*.vava;*.rcwt|"));
        QCOMPARE(m_dialogs->opens[0].flags, 4100);
        QCOMPARE(RecordText(Commands().fBuildProjectRecord()), recordBefore);
        QCOMPARE(CurvesXml(Curves()), curvesBefore);
        QVERIFY(P().mapBinding->fIsMapLoaded());
        QVERIFY(!S().m_projectModified);
        QCOMPARE(S().m_captionName, QStringLiteral("trip"));
        QCOMPARE(m_window->Controls().m_notesForm->Content(), QStringLiteral("first line\r\nsecond line"));
    }

    void theSaveQuestion()
    {
        // No control point: nothing to save, whatever the mark says.
        S().m_projectModified = true;
        Trigger("mnuT_New");
        Trigger("mnuT_Open");
        QVERIFY(Prompts().isEmpty());
        QCOMPARE(m_dialogs->opens.size(), 1);

        // Yes, then the save dialog cancelled: the command stops.
        AddPoints(*S().m_mainCurve, 2);
        S().m_projectModified = true;
        m_dialogs->Clear();
        m_dialogs->answers = {MMsgBoxEx::IdYes};
        QVERIFY(!P().projectCommands->fNewProject(false));
        QCOMPARE(m_dialogs->boxes.size(), 1);
        QCOMPARE(m_dialogs->boxes[0].prompt, QStringLiteral("Do you want to save the current curve?"));
        QCOMPARE(m_dialogs->boxes[0].title.trimmed(), QStringLiteral("New"));
        QCOMPARE(m_dialogs->boxes[0].style, 35);
        QCOMPARE(m_dialogs->saves.size(), 1);
        QCOMPARE(S().m_mainCurve->ControlsCount(), 2);
        // Cancel at the question: neither dialog.
        m_dialogs->Clear();
        m_dialogs->answers = {MMsgBoxEx::IdCancel};
        Trigger("mnuT_Open");
        QCOMPARE(m_dialogs->boxes.size(), 1);
        QCOMPARE(m_dialogs->boxes[0].title.trimmed(), QStringLiteral("Open..."));
        QVERIFY(m_dialogs->opens.isEmpty());
        // No: the command goes on without saving.
        m_dialogs->Clear();
        m_dialogs->answers = {MMsgBoxEx::IdNo};
        QVERIFY(P().projectCommands->fNewProject(false));
        QVERIFY(m_dialogs->saves.isEmpty());
        QCOMPARE(S().m_mainCurve->ControlsCount(), 0);
    }

    void theShortcutKeys()
    {
        // Save and New want a point.
        AddPoints(*S().m_mainCurve, 1);
        S().m_projectModified = false;
        QVERIFY(Harness::Activate(m_window.get()));
        QTest::keyClick(m_window.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(m_dialogs->saves.size(), 1);
        QCOMPARE(m_dialogs->saves[0].title.trimmed(), QStringLiteral("Project saving"));
        QCOMPARE(m_dialogs->saves[0].flags, 4);
        QTest::keyClick(m_window.get(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(m_dialogs->opens.size(), 1);
        QCOMPARE(m_dialogs->opens[0].title.trimmed(), QStringLiteral("Project loading"));
        QCOMPARE(m_dialogs->opens[0].folder, m_projects);
        S().m_projectModified = true;
        m_dialogs->answers = {MMsgBoxEx::IdNo};
        QTest::keyClick(m_window.get(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(m_dialogs->boxes.size(), 1);
        QCOMPARE(S().m_mainCurve->ControlsCount(), 0);
    }

    void replacingFiles()
    {
        AddPoints(*S().m_mainCurve, 2);
        const QString own = Project(QStringLiteral("mine.vava"));
        SaveAs(own);
        QVERIFY(QFileInfo::exists(own));
        QCOMPARE(m_dialogs->saves.last().proposed, QString());
        // The proposed name in the project folder: its own file, no question.
        AddPoints(*S().m_mainCurve, 1);
        SaveAs(own);
        QVERIFY(Prompts().isEmpty());
        QCOMPARE(m_dialogs->saves.last().proposed, QStringLiteral("mine"));
        // Another existing file, differing from its own by case only: asked;
        // No keeps it.
        const QString other = Project(QStringLiteral("Mine.vava"));
        QVERIFY(WriteBytes(other, "someone else's"));
        m_dialogs->answers = {MMsgBoxEx::IdNo};
        SaveAs(other);
        QCOMPARE(Prompts(), QStringList{QStringLiteral("Do you really want to replace the existing file?")});
        QCOMPARE(m_dialogs->boxes[0].style, 36);
        QCOMPARE(m_dialogs->boxes[0].title.trimmed(), QStringLiteral("Project saving"));
        QCOMPARE(FileBytes(other), QByteArray("someone else's"));
        QCOMPARE(S().m_captionName, QStringLiteral("mine"));
    }

    void aNameTypedWithoutExtensionIsSavedAsAProject_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::newRow("no extension") << "intro" << "intro.vava";
        QTest::newRow("an extension of its own") << "intro.old" << "intro.old";
    }
    void aNameTypedWithoutExtensionIsSavedAsAProject()
    {
        QFETCH(QString, typed);
        QFETCH(QString, written);
        AddPoints(*S().m_mainCurve, 2);
        const QString folder = m_home->Folder(QStringLiteral("typed/") + written);
        m_dialogs->savePaths = {folder + QLatin1Char('/') + typed};
        QVERIFY(Harness::Activate(m_window.get()));
        QTest::keyClick(m_window.get(), Qt::Key_S, Qt::ControlModifier);
        const QString path = folder + QLatin1Char('/') + written;
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{written});
        QCOMPARE(m_window->Menus().mnuT_RecentFiles()->Tag(1), path);
        QCOMPARE(S().m_captionName, QStringLiteral("intro"));
        QVERIFY(Prompts().isEmpty());
        // It opens again.
        Fresh();
        OpenFile(path);
        QCOMPARE(S().m_mainCurve->ControlsCount(), 2);
        QVERIFY(Prompts().isEmpty());
    }

    void aNameTypedWithoutExtensionAsksBeforeReplacingItsProject()
    {
        AddPoints(*S().m_mainCurve, 2);
        const QString folder = m_home->Folder(QStringLiteral("typed/asked"));
        QVERIFY(WriteBytes(folder + QStringLiteral("/intro.vava"), "someone else's"));
        m_dialogs->answers = {MMsgBoxEx::IdNo};
        SaveAs(folder + QStringLiteral("/intro"));
        QCOMPARE(Prompts(), QStringList{QStringLiteral("Do you really want to replace the existing file?")});
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("intro.vava")});
        QCOMPARE(FileBytes(folder + QStringLiteral("/intro.vava")), QByteArray("someone else's"));
        QCOMPARE(S().m_captionName, QString());
    }

    void aFailedSaveChangesNothing()
    {
        AddPoints(*S().m_mainCurve, 2);
        const QString folder = m_home->Folder(QStringLiteral("locked"));
        const QString path = folder + QStringLiteral("/kept.vava");
        SaveAs(path);
        QCOMPARE(S().m_captionName, QStringLiteral("kept"));
        const QByteArray old = FileBytes(path);
        AddPoints(*S().m_mainCurve, 1);
        S().m_projectModified = true;
        const QString caption = m_window->windowTitle();
        // Into a folder that is not there, and under a name longer than a
        // name can be: fail wherever the test runs, each with its cause.
        const QString gone = m_home->Path(QStringLiteral("gone/kept.vava"));
        const QString tooLong = folder + QLatin1Char('/') + QString(300, QLatin1Char('n')) + QStringLiteral(".vava");
        for (const auto& [target, cause] : {std::pair{gone, ENOENT}, std::pair{tooLong, ENAMETOOLONG}}) {
            m_dialogs->Clear();
            SaveAs(target);
            QCOMPARE(Prompts(), QStringList{QStringLiteral("Saving error.\nThe project could not be written to \"")
                                            + target + QStringLiteral("\": ") + QString::fromLocal8Bit(strerror(cause))
                                            + QLatin1Char('.')});
        }
        QVERIFY(S().m_projectModified);
        QCOMPARE(m_window->windowTitle(), caption);
        QCOMPARE(m_window->Menus().mnuT_RecentFiles()->Tag(1), path);

        // Root writes into read-only folders: the file is made immutable.
        bool locked = false;
        if (geteuid() == 0)
            locked = QProcess::execute(Chattr(), {QStringLiteral("+i"), folder}) == 0;
        else
            locked = QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        QFile probe(folder + QStringLiteral("/probe"));
        if (!locked || probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            if (locked && geteuid() == 0)
                QProcess::execute(Chattr(), {QStringLiteral("-i"), folder});
            QSKIP("no folder here refuses a write");
        }
        const auto unlock = qScopeGuard([&] {
            if (geteuid() == 0)
                QProcess::execute(Chattr(), {QStringLiteral("-i"), folder});
            else
                QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        });
        m_dialogs->Clear();
        S().m_activeGame->SetProjectDir(folder);
        SaveAs(path);
        const int refused = geteuid() == 0 ? EPERM : EACCES;
        QCOMPARE(Prompts(), QStringList{QStringLiteral("Saving error.\nThe project could not be written to \"") + path
                                        + QStringLiteral("\": ") + QString::fromLocal8Bit(strerror(refused))
                                        + QLatin1Char('.')});
        QCOMPARE(m_dialogs->boxes[0].style, 48);
        QCOMPARE(FileBytes(path), old);
        QVERIFY(S().m_projectModified);
        QCOMPARE(m_window->windowTitle(), caption);
        QCOMPARE(P().projectCommands->fProjectName(), QStringLiteral("kept"));
    }

    void recentCaptions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("caption");
        const QString name24 = QStringLiteral("abcdefghijklmnopqrstuvwx");
        QTest::newRow("24 characters") << name24 << "/home/u/projects/" + name24 + ".vava"
                                       << "...s/" + name24;
        QTest::newRow("24 characters keep one of the folder")
            << name24 << "/home/u/projectsZ/" + name24 + ".vava" << "...Z/" + name24;
        const QString name25 = name24 + QLatin1Char('y');
        QTest::newRow("25 characters") << name25 << "/home/" + name25 + ".vava" << name25;
        QTest::newRow("in the root") << "intro" << "/intro.vava" << "/intro";
        QTest::newRow("short folder") << "intro" << "/ab/intro.vava" << ".../ab/intro";
        QTest::newRow("long folder") << "intro" << "/home/user/movies/projects/intro.vava"
                                     << "...user/movies/projects/intro";
        // Only the trailing name goes, not a folder of the same name.
        QTest::newRow("folder of that name") << "cut" << "/cut/cut/cut.vava" << ".../cut/cut/cut";
        QTest::newRow("no name") << "" << "/a/.vava" << "";
    }
    void recentCaptions()
    {
        QFETCH(QString, name);
        QFETCH(QString, path);
        QFETCH(QString, caption);
        QCOMPARE(ProjectCommands::fRecentFileCaption(name, path), caption);
    }

    void recentFiles()
    {
        AddPoints(*S().m_mainCurve, 2);
        const QString first = Project(QStringLiteral("first.vava"));
        const QString second = Project(QStringLiteral("second.vava"));
        SaveAs(first);
        SaveAs(second);
        MenuItemArray& items = *m_window->Menus().mnuT_RecentFiles();
        QCOMPARE(items.Tag(1), second);
        QCOMPARE(items.Tag(2), first);
        QCOMPARE(items.Caption(1), ProjectCommands::fRecentFileCaption(QStringLiteral("second"), second));

        // A recent project opens (its entry goes on top).
        Fresh();
        items.Action(2)->trigger();
        QTRY_COMPARE(S().m_captionName, QStringLiteral("first"));
        QCOMPARE(S().m_mainCurve->ControlsCount(), 2);
        QCOMPARE(items.Tag(1), first);

        // A recent file that is gone: told, and its entry goes.
        QVERIFY(QFile::remove(second));
        m_dialogs->Clear();
        QCOMPARE(items.Tag(2), second);
        items.Action(2)->trigger();
        QTRY_COMPARE(Prompts(), QStringList{"'" + second + "' file not found."});
        QCOMPARE(m_dialogs->boxes[0].title.trimmed(), QStringLiteral("Recent files"));
        QCOMPARE(m_dialogs->boxes[0].style, 64);
        QStringList paths;
        m_window->Controls().m_recentFiles->GetDatas(CRecentFile::ModeDatas, paths);
        QVERIFY(!paths.contains(second));
        QVERIFY(paths.contains(first));
    }

    void badProjectFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("damaged") << "damaged";
        QTest::newRow("oversized") << "oversized";
        QTest::newRow("a folder") << "folder";
        QTest::newRow("missing") << "missing";
    }
    void badProjectFiles()
    {
        QFETCH(QString, kind);
        AddPoints(*S().m_mainCurve, 2);
        const QString good = Project(QStringLiteral("good-") + kind + QStringLiteral(".vava"));
        SaveAs(good);
        const QString path = Project(QStringLiteral("bad-") + kind + QStringLiteral(".vava"));
        if (kind == QLatin1String("damaged")) {
            QVERIFY(WriteBytes(path, "<?xml version=\"1.0\"?><Project><Setting><Curves>"));
        } else if (kind == QLatin1String("oversized")) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QVERIFY(f.resize(CProjectIOHandler::MaxFileSize + 1));
        } else if (kind == QLatin1String("folder")) {
            QVERIFY(QDir().mkpath(path));
        }
        const QString curvesBefore = CurvesXml(Curves());
        const QString recordBefore = RecordText(Commands().fBuildProjectRecord());
        S().m_projectModified = true;
        m_dialogs->Clear();
        m_dialogs->answers = {MMsgBoxEx::IdNo};
        OpenFile(path);
        QCOMPARE(m_dialogs->boxes.size(), 2);
        const QStringList lines = m_dialogs->boxes[1].prompt.split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], QStringLiteral("Data reading error."));
        QCOMPARE(lines[1], Commands().LastError());
        QVERIFY(!lines[1].isEmpty());
        QCOMPARE(m_dialogs->boxes[1].title.trimmed(), QStringLiteral("Project loading"));
        QCOMPARE(m_dialogs->boxes[1].style, 48);
        QCOMPARE(CurvesXml(Curves()), curvesBefore);
        QCOMPARE(RecordText(Commands().fBuildProjectRecord()), recordBefore);
        QCOMPARE(S().m_captionName, QStringLiteral("good-") + kind);
        QVERIFY(S().m_projectModified);
        if (kind != QLatin1String("folder"))
            QFile::remove(path);
    }

    void whatAFileHoldsIsKeptToTheLists()
    {
        // 14 presets, indices beyond their lists, a ratio the list lacks,
        // a map and a demo that are not there.
        P().viewInput->fSelectView(1);
        P().viewPresets->fSavePreset(0);
        QStringList texts;
        QList<int32_t> slotNumbers;
        QVERIFY(P().viewPresets->fPresetStrings(texts, slotNumbers));
        C3DProject p;
        p.SetGameType(Rtcw);
        for (int i = 0; i < 14; ++i)
            p.ViewPresetStrings() << texts[0];
        p.SetScriptPauseResumeKeyIndex(5000);
        p.SetView3dRatioIndex(QStringLiteral("9"));
        p.SetMapFileName(QStringLiteral("gone.bsp"));
        p.SetSelectedDemoPath(QStringLiteral("nowhere\\x.dm_60"));
        p.SetSelectedConfigName(QStringLiteral("not listed.cfg"));
        p.SetTransitionSpeed(77);
        C3DCurveController curves;
        AddPoints(curves.Add(QStringLiteral("Camera path")), 2);
        const QString path = Project(QStringLiteral("lists.vava"));
        QVERIFY(CProjectIOHandler().Save(path, p, curves));
        QVERIFY(P().mapBinding->fLoadMap(QStringLiteral("floor.bsp")));

        OpenFile(path);
        QVERIFY(P().projectCommands->fProjectName() == QStringLiteral("lists"));
        QVERIFY(P().viewPresets->fPresetStrings(texts, slotNumbers));
        QCOMPARE(texts.size(), 12);
        QCOMPARE(W().cboSScriptPauseKey->currentIndex(), W().cboSScriptPauseKey->count() - 1);
        QCOMPARE(W().cbo3DViewRatio->currentIndex(), 0);
        QCOMPARE(W().cboGConfigs->currentIndex(), W().cboGConfigs->count() > 0 ? 0 : -1);
        QVERIFY(!P().mapBinding->fIsMapLoaded());
        QVERIFY(Prompts().contains(QStringLiteral("nowhere\\x.dm_60 demo not found.")));
        // The rest loads.
        QCOMPARE(W().txtTransSpeed->text(), QStringLiteral("77"));
        QCOMPARE(S().m_mainCurve->ControlsCount(), 2);
    }

    void aDemoOutsideItsFolderIsNotChosen_data()
    {
        // The demo root is <home>/demos/inner, and <home>/secret.dm_60 exists.
        const QString secret = m_home->File(QStringLiteral("secret.dm_60"));
        QTest::addColumn<QString>("demo");
        QTest::addColumn<bool>("chosen");
        QTest::newRow("parent parts") << QStringLiteral("..\\..\\secret.dm_60") << false;
        QTest::newRow("down, then up") << QStringLiteral("sub\\..\\..\\..\\secret.dm_60") << false;
        QTest::newRow("parent parts, slashes") << QStringLiteral(" ../../secret.dm_60 ") << false;
        QTest::newRow("a Linux root") << secret << false;
        QTest::newRow("a drive letter") << RuvPlatform::PathHelper::ToWindows(secret) << false;
        QTest::newRow("a backslash root") << QStringLiteral("\\secret.dm_60") << false;
        QTest::newRow("dots inside names") << QStringLiteral("..take\\final..dm_60") << true;
    }
    void aDemoOutsideItsFolderIsNotChosen()
    {
        QFETCH(QString, demo);
        QFETCH(bool, chosen);
        const QString root = m_home->Folder(QStringLiteral("demos/inner"));
        m_home->File(QStringLiteral("demos/inner/..take/final..dm_60"));
        C3DProject p;
        p.SetGameType(Rtcw);
        p.SetDemoRootDir(root);
        p.SetSelectedDemoPath(demo);
        p.SetTransitionSpeed(33);
        C3DCurveController curves;
        AddPoints(curves.Add(QStringLiteral("Camera path")), 2);
        const QString path = Project(QStringLiteral("demo.vava"));
        QVERIFY(CProjectIOHandler().Save(path, p, curves));

        OpenFile(path);
        QCOMPARE(P().demoSelection->fHasDemo(), chosen);
        const QString refused = QStringLiteral("The project's demo \"%1\" lies outside its demo folder: no demo is chosen.").arg(demo);
        QCOMPARE(Prompts(), chosen ? QStringList() : QStringList{refused});
        // Nothing of the machine is copied to the game or handed to it.
        QCOMPARE(P().demoSelection->fGetGameDemoPath().isEmpty(), !chosen);
        // The rest of the project loads.
        QCOMPARE(P().projectCommands->fProjectName(), QStringLiteral("demo"));
        QCOMPARE(P().demoSelection->ProjectDemoRootDir(), root);
        QCOMPARE(W().txtTransSpeed->text(), QStringLiteral("33"));
        QCOMPARE(S().m_mainCurve->ControlsCount(), 2);
    }

    void twoCurvesOfOneNameAreEditedEachAsItself()
    {
        // A file may give two curves one name; the window keeps it, and an
        // edit of the second reaches the second only.
        P().viewInput->fSelectView(0);
        const QPoint grab(300, 200);
        const QPoint drop(340, 230);
        const auto world = [&](QPoint p) {
            std::array<float, 3> w{};
            m_window->ViewControl().WindowToWorld(float(p.x()), float(p.y()), w);
            return w;
        };
        const std::array<float, 3> at = world(grab);
        C3DProject p;
        p.SetGameType(Rtcw);
        C3DCurveController curves;
        AddPoints(curves.Add(QStringLiteral("Path")), 2, -5000.0f);
        C3DCurve& second = curves.Add(QStringLiteral("Path"));
        second.AddControl3(at[0], at[1], 10.0f, 0, 0, 0, false);
        second.AddControl3(at[0] + 500.0f, at[1], 10.0f, 0, 0, 0, false);
        second.SetName(QStringLiteral("Path"));
        const QString path = Project(QStringLiteral("alike.vava"));
        QVERIFY(CProjectIOHandler().Save(path, p, curves));

        OpenFile(path);
        QCOMPARE(Curves().CurveCount(), 2);
        QCOMPARE(Curves().Curves(1).Name(), Curves().Curves(0).Name());
        QCOMPARE(world(grab), at);
        const QString firstBefore = CurvesXml(Curves()).section(QStringLiteral("</Curve>"), 0, 0);

        // A drag of the second curve's point with the points tool.
        W().optTools[1]->click();
        IViewInput& input = *P().viewInput;
        const auto mouse = [&](void (IViewInput::*handler)(int16_t&, int16_t&, float&, float&), int16_t button,
                               QPoint q) {
            int16_t shift = 0;
            float x = float(q.x());
            float y = float(q.y());
            (input.*handler)(button, shift, x, y);
        };
        mouse(&IViewInput::oglView_MouseMove, 0, grab);
        QCOMPARE(static_cast<CurveEditing&>(*P().curveEditing).HoverControl(), 1);
        mouse(&IViewInput::oglView_MouseDown, 1, grab);
        mouse(&IViewInput::oglView_MouseMove, 1, drop);
        mouse(&IViewInput::oglView_MouseUp, 1, drop);
        const std::array<float, 3> to = world(drop);
        QCOMPARE(Curves().Curves(1).GetX(1), MCommon::RoundToDecimals(to[0], 2));
        QCOMPARE(Curves().Curves(1).GetY(1), MCommon::RoundToDecimals(to[1], 2));

        // A typed cell of the second curve in the point grid.
        W().cmCurveManager->findChild<UC3DCurveList*>()->SetSelectedIndex(1);
        QCOMPARE(W().cmCurveManager->SelectedCurve(), &Curves().Curves(1));
        FlexgridEx& grid = W().tabbedFlexgrid->Grids(0);
        const QModelIndex cell = grid.model()->index(2 - grid.FixedRows(), 2 - grid.FixedCols());
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, grid.visualRect(cell).center());
        QCOMPARE(grid.Row(), 2);
        QTest::keyClick(&grid, Qt::Key_7);
        QTRY_VERIFY(grid.Editor() != nullptr);
        QTest::keyClick(grid.Editor(), Qt::Key_Return);
        QTRY_COMPARE(Curves().Curves(1).GetX(2), 7.0f);
        QCOMPARE(CurvesXml(Curves()).section(QStringLiteral("</Curve>"), 0, 0), firstBefore);

        // Saved and opened again, both curves come back as they were left.
        const QString edited = CurvesXml(Curves());
        SaveAs(path);
        QVERIFY(!S().m_projectModified);
        Fresh();
        OpenFile(path);
        QCOMPARE(CurvesXml(Curves()), edited);
    }

    void aProjectOfAnotherGameKeepsWhatItChose()
    {
        // Written on Windows, for ET Pro: the game comes first, so that its
        // folders and lists do not push the project's aside.
        const QString demoRoot = m_home->Folder(QStringLiteral("etdemos"));
        C3DProject p;
        p.SetGameType(0);
        p.SetDemoRootDir(RuvPlatform::PathHelper::ToWindows(demoRoot));
        QVERIFY(p.DemoRootDir().contains(QLatin1Char('\\')));
        p.SetTransitionSpeed(12);
        C3DCurveController curves;
        AddPoints(curves.Add(QStringLiteral("Camera path")), 2);
        const QString path = Project(QStringLiteral("et.vava"));
        QVERIFY(CProjectIOHandler().Save(path, p, curves));

        OpenFile(path);
        QCOMPARE(S().m_activeGame->GType(), 0);
        QCOMPARE(S().m_captionName, QStringLiteral("et"));
        QVERIFY(m_window->windowTitle().endsWith(QStringLiteral(" - et")));
        QCOMPARE(P().demoSelection->ProjectDemoRootDir(), demoRoot);
        QCOMPARE(m_window->Menus().mnuT_RecentFiles()->Tag(1), path);
        QCOMPARE(S().m_activeGame->ProjectDir(), m_projects);
        QCOMPARE(W().txtTransSpeed->text(), QStringLiteral("12"));
        QVERIFY(!m_window->Menus().Action(QStringLiteral("mnuE_Undo"))->isEnabled());
    }

    void aProjectWithoutAMapUnloadsTheMap()
    {
        AddPoints(*S().m_mainCurve, 2);
        const QString path = Project(QStringLiteral("nomap.vava"));
        SaveAs(path);
        QVERIFY(P().mapBinding->fLoadMap(QStringLiteral("floor.bsp")));
        Fresh();
        OpenFile(path);
        QVERIFY(!P().mapBinding->fIsMapLoaded());
    }

    void numbersFromBoxesFitTheirFields()
    {
        W().txtGDemoTimes[0]->setText(QStringLiteral("99999"));
        W().txtSScriptPauseInterval->setText(QStringLiteral("99999"));
        W().txtTransSpeed->setText(QStringLiteral("9999999999"));
        W().txtGDemoTimes[2]->setText(QStringLiteral("2.5 s"));
        const C3DProject p = Commands().fBuildProjectRecord();
        QCOMPARE(p.DemoGoToMinute(), C3DProject::MaxDemoGoToMinute);
        QCOMPARE(p.ScriptPauseInterval(), int16_t(32767));
        QCOMPARE(p.TransitionSpeed(), int32_t(2147483647));
        QCOMPARE(p.DemoForwardSecond(), int16_t(2));
    }

    void olderTextProjects_data()
    {
        QTest::addColumn<QByteArray>("timing");
        QTest::addColumn<double>("duration");  // < 0: the curve's own
        QTest::addColumn<double>("startTime");
        QTest::newRow("curve duration") << QByteArray("curve_duration 12.5\r\n") << 12.5 << 0.0;
        QTest::newRow("step count 2") << QByteArray("curve_duration 0\r\nstep_idx 1\r\nstep1 30\r\nstep2 90\r\n")
                                      << -2.0 << 0.0;
        QTest::newRow("bad step value") << QByteArray("step_idx 7\r\nstep1 60\r\nstep2 90\r\n") << -1.0 << 0.0;
        QTest::newRow("nothing") << QByteArray("curve_duration 0\r\nstep1 0\r\nstep2 0\r\n") << -3.0 << 0.0;
        QTest::newRow("autostart time") << QByteArray("autostart_time 4\r\n") << -3.0 << 4.0;
    }
    void olderTextProjects()
    {
        QFETCH(QByteArray, timing);
        QFETCH(double, duration);
        QFETCH(double, startTime);
        const QByteArray point1 = "0;0;0;0;0;0;90;1;0;0;0;0;0;0;0;;0;0;0;0;0;0;0;0;";
        const QByteArray point2 = "100;0;0;0;0;0;90;1;0;0;0;0;0;0;0;;0;0;0;0;0;0;0;0;";
        const QByteArray text = "version 1.0\r\ngame_mod 3\r\n" + timing + "ctl:" + point1 + "\r\nctl:" + point2
                                + "\r\nctl:" + point1 + "\r\n";
        const QString path = Project(QStringLiteral("old.rcwt"));
        QVERIFY(WriteBytes(path, text));
        // What the curve carries itself.
        C3DProject record;
        C3DCurveController loaded;
        bool invariant = true;
        QVERIFY(CProjectIOHandler().Load(path, record, loaded, invariant));
        const double own = loaded.Curves(0).Duration();

        OpenFile(path);
        QVERIFY(Prompts().isEmpty());
        C3DCurve& main = *S().m_mainCurve;
        QCOMPARE(main.ControlsCount(), 3);
        const double rate = main.StepRate();
        const double expected = duration == -1.0 ? 60.0 / rate : duration == -2.0 ? 90.0 / rate
                              : duration == -3.0 ? own : duration;
        // Durations are whole frames.
        QVERIFY2(qAbs(main.Duration() - std::clamp(expected, main.MinDuration(), main.MaxDuration())) <= 1.0 / rate,
                 qPrintable(QString::number(main.Duration()) + " for " + QString::number(expected)));
        QCOMPARE(main.StartTime(), startTime);
    }
};

QTEST_MAIN(TstProjectCommands)
#include "tst_ProjectCommands.moc"
