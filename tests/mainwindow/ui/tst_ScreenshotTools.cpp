// The screenshot tools on the real window: the loader (a script of the
// test that logs its arguments) gets the first .tga before any .jpg; none
// found, a loader chosen in the open dialog (a file that is no program
// asks again, Cancel keeps the old one, the right button chooses), a loader
// that does not start; deleting only the screenshots; opening the folder.

#include "LaunchHarness.h"

#include <QFile>
#include <QTemporaryDir>

using namespace Harness;

namespace {

// Message boxes recorded and answered from a list; the open dialog answers
// from a list of files (an empty one: cancelled).
class ScriptedDialogs final : public IDialogs
{
public:
    struct Open
    {
        QString title;
        QString fileName;
        QString folder;
        QString filter;
    };
    QList<RecordingDialogs::Box> boxes;
    QList<int32_t> answers;
    QList<Open> opens;
    QStringList files;

    bool ShowOpenDialog(QWidget*, const QString& title, QString& fileName, QString& fileTitle,
                        const QString& initialFolder, const QString& filter, int32_t&, const QString&,
                        int32_t) override
    {
        opens << Open{title, fileName, initialFolder, filter};
        const QString file = files.isEmpty() ? QString() : files.takeFirst();
        if (file.isEmpty())
            return false;
        fileName = file;
        fileTitle = QFileInfo(file).fileName();
        return true;
    }
    bool ShowSaveDialog(QWidget*, const QString&, QString&, QString&, const QString&, const QString&, int32_t&,
                        const QString&, int32_t) override
    {
        return false;
    }
    QString BrowseForFolder(QWidget*, const QString&, const QString&, int32_t, int32_t, const QString&) override
    {
        return QStringLiteral("cancel");
    }
    int32_t MessageBox(QWidget* owner, const QString& title, const QString& prompt, int32_t style,
                       const QString& icon, int32_t) override
    {
        boxes << RecordingDialogs::Box{owner, title, prompt, style, icon};
        return answers.isEmpty() ? MMsgBoxEx::IdOk : answers.takeFirst();
    }
};

}  // namespace

class TstScreenshotTools : public QObject
{
    Q_OBJECT

    Launch::Session m_s;
    std::shared_ptr<ScriptedDialogs> m_dialogs = std::make_shared<ScriptedDialogs>();
    std::shared_ptr<Launch::RecordingShell> m_shell = std::make_shared<Launch::RecordingShell>();
    QString m_loader;

    MainWidgets& W() { return m_s.window->Widgets(); }
    QString Shots() const { return m_s.Path(QStringLiteral("et/etpro/screenshots")); }
    QString Text(int32_t id) { return m_s.window->Texts().fGetText(id); }
    QString& Loader() { return m_s.window->State().m_sShotLoader; }

    bool Touch(const QString& path)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        return file.open(QIODevice::WriteOnly);
    }

    bool MakeScript(const QString& path, const QByteArray& text)
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(text) == text.size()
               && file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    }

    // The folder with exactly these files.
    void Shoot(const QStringList& names)
    {
        QDir(Shots()).removeRecursively();
        QVERIFY(QDir().mkpath(Shots()));
        for (const QString& name : names)
            QVERIFY(Touch(Shots() + QLatin1Char('/') + name));
    }

    QStringList Left() const
    {
        QStringList names;
        for (const QFileInfo& info : QDir(Shots()).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name))
            names << info.fileName();
        return names;
    }

    QString LoaderLog() const
    {
        QFile file(m_s.Path(QStringLiteral("loader.log")));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(Touch(m_s.Path(QStringLiteral("et/etl"))));
        QVERIFY(QDir().mkpath(m_s.Path(QStringLiteral("et/etpro"))));
        // Each argument on a line of its own.
        m_loader = m_s.Path(QStringLiteral("bin/loader"));
        QVERIFY(QDir().mkpath(m_s.Path(QStringLiteral("bin"))));
        QVERIFY(MakeScript(m_loader, "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > \"$(dirname \"$0\")/../loader.log\"\n"));
        MainServices services = Services(nullptr);
        services.dialogs = m_dialogs;
        services.shell = m_shell;
        QVERIFY(m_s.Start(std::move(services)));
        QVERIFY(Launch::SetGameFolders(*m_s.window, m_s.Path(QStringLiteral("et/etl")), m_s.Path(QStringLiteral("et/etpro"))));
    }

    void cleanupTestCase() { m_s.window.reset(); }

    void init()
    {
        m_dialogs->boxes.clear();
        m_dialogs->opens.clear();
        m_dialogs->files.clear();
        m_shell->executes.clear();
        m_shell->executeForReal = true;
        m_s.stand.screenshotDir.reset();
        m_s.stand.screenshotDirError.reset();
        Loader() = m_loader;
        QFile::remove(m_s.Path(QStringLiteral("loader.log")));
    }

    void theLoaderGetsTheFirstScreenshot_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("first");
        QTest::newRow("tga before jpg") << QStringList{"shot0000.jpg", "shot0002.tga", "shot0001.tga", "notes.txt"}
                                        << "shot0001.tga";
        QTest::newRow("jpg only") << QStringList{"shot0003.jpg", "shot0004.jpg", "other.tga"} << "shot0003.jpg";
        QTest::newRow("quotes and blanks in the name")
            << QStringList{"shot\" --evil=1 \"x.tga"} << "shot\" --evil=1 \"x.tga";
    }

    void theLoaderGetsTheFirstScreenshot()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, first);
        Shoot(files);
        QTest::mouseClick(W().cmdGSShotLoad, Qt::LeftButton);
        // One argument, the path as it is.
        QTRY_COMPARE(LoaderLog(), Shots() + QLatin1Char('/') + first + QLatin1Char('\n'));
        QCOMPARE(m_shell->executes.size(), 1);
        QCOMPARE(m_shell->executes[0].arguments, QStringList{Shots() + QLatin1Char('/') + first});
        QVERIFY(m_dialogs->boxes.isEmpty());
        QVERIFY(m_dialogs->opens.isEmpty());
    }

    void noScreenshotIsTold()
    {
        Shoot({QStringLiteral("notes.txt"), QStringLiteral("picture.tga")});
        QTest::mouseClick(W().cmdGSShotLoad, Qt::LeftButton);
        QCOMPARE(m_dialogs->boxes.size(), 1);
        QCOMPARE(m_dialogs->boxes[0].prompt, Text(211));
        QCOMPARE(m_dialogs->boxes[0].title, QLatin1Char(' ') + Text(210));
        QVERIFY(m_shell->executes.isEmpty());
    }

    void aLoaderIsChosenUntilItIsAProgram()
    {
        Shoot({QStringLiteral("shot0000.tga")});
        Loader() = m_s.Path(QStringLiteral("bin/gone"));
        const QString text = m_s.Path(QStringLiteral("bin/readme.txt"));
        QVERIFY(Touch(text));
        m_dialogs->files = {text, m_loader};
        QTest::mouseClick(W().cmdGSShotLoad, Qt::LeftButton);
        QCOMPARE(m_dialogs->opens.size(), 2);
        QVERIFY(m_dialogs->opens[0].title.startsWith(Text(212)));
        QVERIFY(m_dialogs->opens[0].title.contains(Text(277) + QStringLiteral(" : /usr/bin/")));
        QCOMPARE(m_dialogs->opens[0].folder, QStringLiteral("/usr/bin"));
        // Again on the file just refused.
        QCOMPARE(m_dialogs->opens[1].fileName, text);
        QCOMPARE(Loader(), m_loader);
        QTRY_COMPARE(LoaderLog(), Shots() + QStringLiteral("/shot0000.tga\n"));
    }

    void aCancelledChoiceKeepsTheLoaderAndStartsNothing()
    {
        Shoot({QStringLiteral("shot0000.tga")});
        Loader() = m_s.Path(QStringLiteral("bin/gone"));
        QTest::mouseClick(W().cmdGSShotLoad, Qt::LeftButton);
        QCOMPARE(m_dialogs->opens.size(), 1);
        QCOMPARE(Loader(), m_s.Path(QStringLiteral("bin/gone")));
        QVERIFY(m_shell->executes.isEmpty());
    }

    void theRightButtonChoosesTheLoader()
    {
        const QString other = m_s.Path(QStringLiteral("bin/other"));
        QVERIFY(MakeScript(other, "#!/bin/sh\n"));
        m_dialogs->files = {other};
        QTest::mouseClick(W().cmdGSShotLoad, Qt::RightButton);
        QCOMPARE(m_dialogs->opens.size(), 1);
        // It starts where the loader lies.
        QCOMPARE(m_dialogs->opens[0].fileName, m_loader);
        QCOMPARE(Loader(), other);
        QVERIFY(m_shell->executes.isEmpty());
    }

    void aLoaderThatDoesNotStartIsTold()
    {
        Shoot({QStringLiteral("shot0000.tga")});
        const QString broken = m_s.Path(QStringLiteral("bin/broken"));
        QVERIFY(MakeScript(broken, "\x7f" "ELF, not really"));
        Loader() = broken;
        QTest::mouseClick(W().cmdGSShotLoad, Qt::LeftButton);
        QCOMPARE(m_dialogs->boxes.size(), 1);
        QCOMPARE(m_dialogs->boxes[0].prompt, m_s.window->Texts().fGetText(936, TaggedValue(broken)));
    }

    void deletingRemovesOnlyTheScreenshots()
    {
        Shoot({QStringLiteral("shot0000.tga"), QStringLiteral("shot0001.JPG"), QStringLiteral("notes.txt"),
               QStringLiteral("myshot.tga")});
        QVERIFY(Touch(Shots() + QStringLiteral("/sub/shot0009.tga")));
        m_dialogs->answers = {MMsgBoxEx::IdNo};
        QTest::mouseClick(W().cmdGSShotsDelete, Qt::LeftButton);
        QCOMPARE(Left().size(), 5);
        m_dialogs->answers = {MMsgBoxEx::IdYes};
        QTest::mouseClick(W().cmdGSShotsDelete, Qt::LeftButton);
        QCOMPARE(Left(), (QStringList{"myshot.tga", "notes.txt", "sub"}));
        QVERIFY(QFile::exists(Shots() + QStringLiteral("/sub/shot0009.tga")));
        // The question, twice, in a plain box.
        QCOMPARE(m_dialogs->boxes.size(), 2);
        QCOMPARE(m_dialogs->boxes[1].prompt, Text(214));
        QCOMPARE(m_dialogs->boxes[1].title, Text(213));
        QCOMPARE(m_dialogs->boxes[1].style, 36);

        // Nothing left to delete: told, not asked.
        m_dialogs->boxes.clear();
        QTest::mouseClick(W().cmdGSShotsDelete, Qt::LeftButton);
        QCOMPARE(m_dialogs->boxes.size(), 1);
        QCOMPARE(m_dialogs->boxes[0].prompt, Text(211));
        QCOMPARE(m_dialogs->boxes[0].title, QLatin1Char(' ') + Text(213));
    }

    void exploringOpensTheNearestExistingFolder_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("opened");
        QTest::newRow("the folder") << "et/etpro/screenshots" << "et/etpro/screenshots";
        QTest::newRow("not made yet") << "et/etpro/screenshots/new" << "et/etpro/screenshots";
    }

    void exploringOpensTheNearestExistingFolder()
    {
        QFETCH(QString, folder);
        QFETCH(QString, opened);
        Shoot({});
        m_shell->executeForReal = false;
        m_s.stand.screenshotDir = m_s.Path(folder);
        QTest::mouseClick(W().cmdGSShotExploreFolder, Qt::LeftButton);
        QCOMPARE(m_shell->executes.size(), 1);
        QCOMPARE(m_shell->executes[0].verb, 0);
        QCOMPARE(m_shell->executes[0].file, m_s.Path(opened));
        QVERIFY(m_dialogs->boxes.isEmpty());
    }

    void exploringWithoutAFolderIsTold()
    {
        m_shell->executeForReal = false;
        m_s.stand.screenshotDir = QString();
        QTest::mouseClick(W().cmdGSShotExploreFolder, Qt::LeftButton);
        QVERIFY(m_shell->executes.isEmpty());
        QCOMPARE(m_dialogs->boxes.size(), 1);
        QCOMPARE(m_dialogs->boxes[0].prompt, Text(215));
        QCOMPARE(m_dialogs->boxes[0].title, QLatin1Char(' ') + Text(216));
        QCOMPARE(m_dialogs->boxes[0].style, 64);
    }

    void anErrorOfTheProgramIsShownNotLeftToQt()
    {
        m_s.stand.screenshotDirError = RuvError::Platform(RuvError::IndexOutOfRange, QStringLiteral("FrmMain.fGetScreenshotDir"));
        for (QPushButton* button : {W().cmdGSShotLoad, W().cmdGSShotsDelete, W().cmdGSShotExploreFolder})
            QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(m_dialogs->boxes.size(), 3);
        QCOMPARE(m_dialogs->boxes[0].prompt,
                 m_s.window->Texts().fGetText(910, TaggedValue(QStringLiteral("9")),
                                              TaggedValue(RuvError::PlatformDescription(RuvError::IndexOutOfRange))));
        QCOMPARE(m_dialogs->boxes[0].style, 16);
    }
};

QTEST_MAIN(TstScreenshotTools)
#include "tst_ScreenshotTools.moc"
