// The curve manager's import on the real main window, with real clicks on
// its import button: position files the tests write (a folder of them for
// ET Pro, RTCW and ET QW, one file of lines for DeFrag and Warsow), the
// dialogs scripted, and the trash in a data folder of the test, so that
// only the files that were read are seen to go.

#include "MainWindowHarness.h"
#include "ImportDemoFixture.h"

#include "C3DCurve.h"
#include "MFileOp.h"
#include "PositionFiles.h"
#include "UC3DCurveList.h"
#include "UC3DCurveManager.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include <algorithm>

using namespace Harness;

namespace {

enum Game : int32_t { EtPro = 0, DeFrag = 1, Warsow = 2, Rtcw = 3, EtQw = 4 };

// An ET Pro position file: one ":" only.
QByteArray EtProFile(int x)
{
    return QStringLiteral("(%1 20 30) : 45\n\"cg_fov\" is:\"100^7\" default:\"90^7\"\n").arg(x).toLatin1();
}

}  // namespace

class TstCurveImport : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempStore> m_store;
    std::unique_ptr<QTemporaryDir> m_dir;
    QByteArray m_oldDataHome;
    std::shared_ptr<ScriptedDialogs> m_dialogs;
    FakeState m_fake;
    std::unique_ptr<FrmMain> m_window;

    FrmMain& W() { return *m_window; }
    CGameDefinition& Game() { return *W().State().m_activeGame; }
    C3DCurve& MainCurve() { return *W().State().m_mainCurve; }
    QString Path(const QString& name) const { return m_dir->filePath(name); }
    QString Trashed(const QString& name) const { return Path(QStringLiteral("data/Trash/files/") + name); }
    QString Text(int32_t id) const { return m_window->Texts().fGetText(id); }

    void UseGame(int32_t type)
    {
        W().Parts().gameSelection->fApplyGameToGui(type, false);
        QCOMPARE(Game().GType(), type);
    }
    void SelectRow(int32_t row)
    {
        W().Widgets().cmCurveManager->findChild<UC3DCurveList*>(QStringLiteral("clCurveList"))->SetSelectedIndex(row);
    }
    void ClickImport()
    {
        QTest::mouseClick(W().Widgets().cmCurveManager->findChild<QPushButton*>(QStringLiteral("cmdImport")),
                          Qt::LeftButton);
    }
    QStringList Prompts() const
    {
        QStringList prompts;
        for (const ScriptedDialogs::Box& box : m_dialogs->boxes)
            prompts << box.prompt;
        return prompts;
    }
    // Imports the files of a folder (ET Pro, RTCW, ET QW), answering the
    // question of removing them with `answer`.
    void ImportFolder(const QString& folder, int32_t answer = MMsgBoxEx::IdNo)
    {
        m_dialogs->folders << folder;
        m_dialogs->answers << answer;
        ClickImport();
    }
    void ImportFile(const QString& file)
    {
        m_dialogs->files << file;
        ClickImport();
    }
    void AddPoints(C3DCurve& curve, int32_t count)
    {
        for (int32_t i = 0; i < count; ++i)
            curve.AddControl3(static_cast<float>(i), 0, 0, 0, 0, 0, false);
    }

private slots:
    void init()
    {
        m_store = std::make_unique<TempStore>();
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_oldDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", Path(QStringLiteral("data")).toLocal8Bit());
        RegisterLibraries();
        MArrayConvert::SetCommandLineText(QString());
        m_dialogs = std::make_shared<ScriptedDialogs>();
        m_fake = FakeState{};
        MainServices services = MakeRealServices();
        services.dialogs = m_dialogs;
        QCOMPARE(ProgramStart::StartMainWindow(std::move(services), m_window, std::make_unique<FakeFactory>(m_fake)), 0);
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        W().Controls().m_aboutForm->hide();
        SelectRow(0);
        QCOMPARE(W().Widgets().cmCurveManager->SelectedCurve(), &MainCurve());
        UseGame(EtPro);
        W().State().m_projectModified = false;
    }
    void cleanup()
    {
        m_window.reset();
        if (m_oldDataHome.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", m_oldDataHome);
        m_dir.reset();
        m_store.reset();
    }

    void folderImportAddsAPointAFileAndTrashesOnlyTheFilesRead_data()
    {
        QTest::addColumn<int32_t>("answer");
        QTest::newRow("remove") << MMsgBoxEx::IdYes;
        QTest::newRow("keep") << MMsgBoxEx::IdNo;
    }
    void folderImportAddsAPointAFileAndTrashesOnlyTheFilesRead()
    {
        QFETCH(int32_t, answer);
        const QString folder = Path(QStringLiteral("pos"));
        QStringList read;
        for (int x = 1; x <= 3; ++x)
            read << WriteTestFile(QStringLiteral("%1/p%2.epcp").arg(folder).arg(x), EtProFile(x));
        // Files that give no entry: empty, too large to be a position file,
        // a link to nothing; and a file of another extension.
        const QStringList kept{WriteTestFile(folder + QStringLiteral("/empty.epcp"), {}),
                               WriteTestFile(folder + QStringLiteral("/large.epcp"),
                                         QByteArray(PositionFiles::MaxFileBytes + 1, '(')),
                               WriteTestFile(folder + QStringLiteral("/other.txt"), EtProFile(9))};
        QVERIFY(QFile::link(Path(QStringLiteral("nowhere.epcp")), folder + QStringLiteral("/broken.epcp")));
        // The browser starts at the nearest folder of the last import that
        // is still there.
        Game().SetImportDir(folder + QStringLiteral("/gone/too"));

        ImportFolder(folder, answer);

        QCOMPARE(m_dialogs->browses.size(), 1);
        const ScriptedDialogs::Browse& browse = m_dialogs->browses[0];
        QCOMPARE(browse.title, QStringLiteral("Select the folder containing the files generated under ET Pro (*.epcp)."));
        QCOMPARE(browse.initialFolder, folder);
        QCOMPARE(browse.root, MFileOp::CsidlDrives);
        QCOMPARE(browse.flags, 592);
        QCOMPARE(browse.icon, QStringLiteral("IDI_A"));
        QCOMPARE(Game().ImportDir(), folder);

        // One point a file read, as ET Pro writes them: no pitch, roll or
        // time; the empty curve starts at 0.
        QCOMPARE(MainCurve().ControlsCount(), 3);
        QList<float> xs;
        for (int32_t i = 1; i <= 3; ++i) {
            const ControlRecord r = MainCurve().GetControlRecord(i);
            xs << r.X;
            QCOMPARE(r.Y, 20.0f);
            QCOMPARE(r.Yaw, 45.0f);
            QCOMPARE(r.Pitch, 0.0f);
            QCOMPARE(r.Roll, 0.0f);
            QCOMPARE(r.Fov, 100.0f);
            // Without times in the files the curve keeps the points apart,
            // from 0 on.
            QVERIFY(i == 1 ? r.Time == 0.0 : r.Time > MainCurve().GetControlRecord(i - 1).Time);
            QCOMPARE(r.Timescale, 1.0f);
        }
        std::sort(xs.begin(), xs.end());
        QCOMPARE(xs, (QList<float>{1, 2, 3}));
        QCOMPARE(MainCurve().StartTime(), 0.0);
        QVERIFY(W().State().m_projectModified);

        QCOMPARE(m_dialogs->boxes.size(), 1);
        QCOMPARE(m_dialogs->boxes[0].title, QStringLiteral(" Importation"));
        QCOMPARE(m_dialogs->boxes[0].prompt, Text(176));
        QCOMPARE(m_dialogs->boxes[0].style, 36);
        for (const QString& file : read) {
            const QString name = QFileInfo(file).fileName();
            QCOMPARE(QFile::exists(file), answer == MMsgBoxEx::IdNo);
            QCOMPARE(QFile::exists(Trashed(name)), answer == MMsgBoxEx::IdYes);
        }
        for (const QString& file : kept)
            QVERIFY2(QFile::exists(file), qPrintable(file));
        QVERIFY(QFileInfo(folder + QStringLiteral("/broken.epcp")).isSymLink());
    }

    void filesThatCannotBeTrashedStayAndAreReported()
    {
        // A data folder that is a file: no trash can be made in it.
        qputenv("XDG_DATA_HOME", WriteTestFile(Path(QStringLiteral("datafile")), "x").toLocal8Bit());
        const QString folder = Path(QStringLiteral("pos"));
        const QString a = WriteTestFile(folder + QStringLiteral("/a.epcp"), EtProFile(1));
        const QString b = WriteTestFile(folder + QStringLiteral("/b.epcp"), EtProFile(2));
        ImportFolder(folder, MMsgBoxEx::IdYes);
        QCOMPARE(MainCurve().ControlsCount(), 2);
        QCOMPARE(Prompts(), (QStringList{Text(176), W().Texts().fGetText(953, QStringLiteral("2"), folder)}));
        QCOMPARE(m_dialogs->boxes[1].style, 48);
        QVERIFY(QFile::exists(a));
        QVERIFY(QFile::exists(b));
    }

    void folderImportFailuresChangeNothing_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int32_t>("message");  // 0: none
        QTest::addColumn<bool>("folderKept");   // the folder becomes ImportDir
        QTest::newRow("cancelled") << QStringLiteral("cancel") << QStringList() << 0 << false;
        QTest::newRow("no such folder") << QStringLiteral("gone") << QStringList() << 178 << false;
        QTest::newRow("no matching file") << QStringLiteral("pos") << QStringList{QStringLiteral("a.txt")} << 177
                                          << true;
        QTest::newRow("no readable file") << QStringLiteral("pos") << QStringList{QStringLiteral("a.epcp")} << 171
                                          << true;
    }
    void folderImportFailuresChangeNothing()
    {
        QFETCH(QString, chosen);
        QFETCH(QStringList, files);
        QFETCH(int32_t, message);
        QFETCH(bool, folderKept);
        QDir().mkpath(Path(QStringLiteral("pos")));
        for (const QString& name : files)
            WriteTestFile(Path(QStringLiteral("pos/") + name), {});
        const QString folder = chosen == QLatin1String("cancel") ? chosen : Path(chosen);
        Game().SetImportDir(QStringLiteral("/before"));

        ImportFolder(folder);

        QCOMPARE(m_dialogs->browses.size(), 1);
        QCOMPARE(Game().ImportDir(), folderKept ? folder : QStringLiteral("/before"));
        QCOMPARE(MainCurve().ControlsCount(), 0);
        QVERIFY(!W().State().m_projectModified);
        if (message == 0) {
            QVERIFY(m_dialogs->boxes.isEmpty());
            return;
        }
        QCOMPARE(m_dialogs->boxes.size(), 1);
        QCOMPARE(m_dialogs->boxes[0].title, QStringLiteral(" Importation"));
        QCOMPARE(m_dialogs->boxes[0].style, 64);
        const QString expected = message == 177 ? W().Texts().fGetText(177, QStringLiteral("*.epcp")) : Text(message);
        QCOMPARE(m_dialogs->boxes[0].prompt, expected);
        for (const QString& name : files)
            QVERIFY(QFile::exists(Path(QStringLiteral("pos/") + name)));
    }

    // Each game's position file through the import, its first time giving
    // the start time of the empty curve.
    void eachGameReadsItsPositions_data()
    {
        QTest::addColumn<int32_t>("game");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QList<float>>("values");  // x, y, z, pitch, yaw, roll, fov
        QTest::addColumn<double>("startTime");
        const QByteArray cvar = "\"cg_fov\" is:\"105^7\" default:\"90^7\"\n";
        QTest::newRow("ET Pro, four colons: read as RTCW")
            << int32_t(EtPro) << "(1 2 3) : 10 20 30 : 2500\n" + cvar << QList<float>{1, 2, 3, -10, 20, 30, 105}
            << 2500.0;
        QTest::newRow("RTCW, time 500, field of view 0")
            << int32_t(Rtcw) << QByteArray("(-10.5 20.25 30e1) : -45 180 -3 : 500\n\"cg_fov\" is:\"0\"\n")
            << QList<float>{-10.5f, 20.25f, 300, 45, 180, -3, 90} << 500.0;
        QTest::newRow("ET QW")
            << int32_t(EtQw) << QByteArray("getViewPos (7 8 9) (100 -200.5 30.126) 15 270 -5 12000\nui_fov: 80.5\"\n")
            << QList<float>{100, -200.5f, 30.13f, -15, 270, -5, 80.5f} << 12000.0;
        QTest::newRow("DeFrag, without its first line")
            << int32_t(DeFrag) << QByteArray("header:9,9,9,9,9,9,9,9\"\r\ncam1:10.5,-20,30.333,-5,90,99,2,110\"\r\n")
            << QList<float>{10.5f, -20, 30.33f, -5, 90, 2, 110} << 0.0;
    }
    void eachGameReadsItsPositions()
    {
        QFETCH(int32_t, game);
        QFETCH(QByteArray, text);
        QFETCH(QList<float>, values);
        QFETCH(double, startTime);
        UseGame(game);
        MainCurve().SetStartTime(77);
        const QString file = WriteTestFile(Path(QStringLiteral("in/cam.") + Game().ImportFileExtension()), text);
        const QString importDir = W().Parts().gameSelection->fGetImportDir();
        if (game == DeFrag)
            ImportFile(file);
        else
            ImportFolder(Path(QStringLiteral("in")));

        QCOMPARE(MainCurve().ControlsCount(), 1);
        const ControlRecord r = MainCurve().GetControlRecord(1);
        QCOMPARE((QList<float>{r.X, r.Y, r.Z, r.Pitch, r.Yaw, r.Roll, r.Fov}), values);
        QCOMPARE(r.Timescale, 1.0f);
        QCOMPARE(MainCurve().StartTime(), startTime);
        QCOMPARE(Game().ImportDir(), Path(QStringLiteral("in")));
        if (game != DeFrag)
            return;
        QCOMPARE(m_dialogs->opens.size(), 1);
        QCOMPARE(m_dialogs->opens[0].title, QStringLiteral("Import control points"));
        // The open dialog itself starts at the nearest folder that exists.
        QCOMPARE(m_dialogs->opens[0].initialFolder, importDir);
        QCOMPARE(m_dialogs->opens[0].filter, QStringLiteral("Defrag Camera Positions (*.dfcp)|*.dfcp|"));
        QCOMPARE(m_dialogs->opens[0].flags, 4100);
        QVERIFY(m_dialogs->boxes.isEmpty());
    }

    void defragLinesAfterTheFirstArePointsButEmptyLinesNone()
    {
        UseGame(DeFrag);
        QByteArray text = "first:999,999,999,999,999,999,999,\"999\"\r\n";
        for (int i = 1; i <= 10; ++i)
            text += QStringLiteral("c%1:%1,0,0,0,0,0,0,\"90\"\r\n").arg(i).toLatin1() + (i == 5 ? "\r\n\r\n" : "");
        ImportFile(WriteTestFile(Path(QStringLiteral("in/cams.dfcp")), text));
        QCOMPARE(MainCurve().ControlsCount(), 10);
        for (int32_t i = 1; i <= 10; ++i)
            QCOMPARE(MainCurve().GetControlRecord(i).X, static_cast<float>(i));
        QVERIFY(W().State().m_projectModified);
    }

    // A file that gives no point says so and leaves the curve, its start
    // time and the modified mark alone: Warsow, whose lines no parser reads,
    // and a DeFrag file of its first line only.
    void fileGivingNoPointSaysSoAndChangesNothing_data()
    {
        QTest::addColumn<int32_t>("game");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("Warsow") << int32_t(Warsow) << QByteArray("// Warsow cameras\n1 2 3 4 5 6\n7 8 9 10 11 12\n");
        QTest::newRow("DeFrag, one line") << int32_t(DeFrag) << QByteArray("cam1:1,2,3,4,5,6,7,90\"\n");
    }
    void fileGivingNoPointSaysSoAndChangesNothing()
    {
        QFETCH(int32_t, game);
        QFETCH(QByteArray, text);
        UseGame(game);
        MainCurve().SetStartTime(1234);
        ImportFile(WriteTestFile(Path(QStringLiteral("in/cams.") + Game().ImportFileExtension()), text));
        QCOMPARE(Prompts(), QStringList{Text(181)});
        QCOMPARE(MainCurve().ControlsCount(), 0);
        QCOMPARE(MainCurve().StartTime(), 1234.0);
        QVERIFY(!W().State().m_projectModified);
    }

    void fileImportFailures()
    {
        UseGame(DeFrag);
        Game().SetImportDir(QStringLiteral("/before"));
        // Cancelled: nothing at all.
        ClickImport();
        QCOMPARE(m_dialogs->opens.size(), 1);
        QVERIFY(m_dialogs->boxes.isEmpty());
        QCOMPARE(Game().ImportDir(), QStringLiteral("/before"));
        // Too large to be a position file: a reading error; the folder is
        // remembered all the same.
        const QString large = WriteTestFile(Path(QStringLiteral("in/large.dfcp")),
                                        QByteArray(PositionFiles::MaxFileBytes + 1, 'x'));
        ImportFile(large);
        QCOMPARE(Prompts(), QStringList{Text(171)});
        QCOMPARE(Game().ImportDir(), Path(QStringLiteral("in")));
        QCOMPARE(MainCurve().ControlsCount(), 0);
        QVERIFY(QFile::exists(large));
    }

    void fullCurveRefusesWhatItCannotHold()
    {
        AddPoints(MainCurve(), 245);
        for (int x = 1; x <= 6; ++x)
            WriteTestFile(Path(QStringLiteral("six/p%1.epcp").arg(x)), EtProFile(x));
        for (int x = 1; x <= 5; ++x)
            WriteTestFile(Path(QStringLiteral("five/p%1.epcp").arg(x)), EtProFile(x));

        ImportFolder(Path(QStringLiteral("six")));
        QCOMPARE(Prompts(), QStringList{Text(157) + QStringLiteral("\r\n") + Text(180)});
        QCOMPARE(MainCurve().ControlsCount(), 245);
        // Nothing was imported: the files are not offered for removal.
        m_dialogs->answers.clear();
        m_dialogs->boxes.clear();

        ImportFolder(Path(QStringLiteral("five")));
        QCOMPARE(MainCurve().ControlsCount(), 250);
        QCOMPARE(Prompts(), QStringList{Text(176)});
        m_dialogs->boxes.clear();

        // A full curve is refused before any dialog opens.
        ClickImport();
        QCOMPARE(Prompts(), QStringList{Text(157)});
        QCOMPARE(m_dialogs->browses.size(), 2);
    }

    void pointsGoToTheSelectedCurveAndNowhereWithoutOne()
    {
        C3DCurveController& curves = *W().State().m_curveController;
        C3DCurve& second = curves.Add(QStringLiteral("Second"));
        W().Widgets().cmCurveManager->RefreshCurveList(false);
        WriteTestFile(Path(QStringLiteral("pos/p1.epcp")), EtProFile(1));

        // No curve selected, none with points: nothing opens, nothing changes.
        W().Widgets().cmCurveManager->findChild<QListWidget*>()->clearSelection();
        QVERIFY(W().Widgets().cmCurveManager->SelectedCurve() == nullptr);
        ClickImport();
        QVERIFY(m_dialogs->browses.isEmpty());
        QVERIFY(m_dialogs->boxes.isEmpty());
        QVERIFY(!curves.HasControl());

        SelectRow(1);
        QCOMPARE(W().Widgets().cmCurveManager->SelectedCurve(), &second);
        ImportFolder(Path(QStringLiteral("pos")));
        QCOMPARE(second.ControlsCount(), 1);
        QCOMPARE(MainCurve().ControlsCount(), 0);
    }

    void importIntoACurveWithPointsKeepsItsStartTime()
    {
        AddPoints(MainCurve(), 2);
        MainCurve().SetStartTime(300);
        UseGame(Rtcw);
        WriteTestFile(Path(QStringLiteral("pos/p.cwcp")), "(1 2 3) : 4 5 6 : 9000\n\"cg_fov\" is:\"90\"\n");
        ImportFolder(Path(QStringLiteral("pos")));
        QCOMPARE(MainCurve().ControlsCount(), 3);
        QCOMPARE(MainCurve().StartTime(), 300.0);
        QCOMPARE(MainCurve().GetControlRecord(3).X, 1.0f);
    }
};

QTEST_MAIN(TstCurveImport)
#include "tst_CurveImport.moc"
