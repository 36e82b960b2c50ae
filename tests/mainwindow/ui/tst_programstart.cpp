// The program entry: the two component libraries registered beside the
// program, a start without a display.

#include "MainWindowHarness.h"

#include "Dadavive.h"
#include "Dorado.h"
#include "MArrayConvert.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QtTest>

using namespace Harness;

namespace {

QString Folder()
{
    return QFileInfo(QStringLiteral(RUV_DORADO_PATH)).absolutePath();
}

}  // namespace

class TstProgramStart : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempStore> m_store;

private slots:
    void init() { m_store = std::make_unique<TempStore>(); }
    void cleanup() { m_store.reset(); }

    void anEmptyStoreGetsBothLibraries()
    {
        QVERIFY(ProgramStart::RegisterLibraries(Folder()).isEmpty());
        QCOMPARE(Com::RegisteredServerPath(Dorado::CLSID_BSP), QFileInfo(QStringLiteral(RUV_DORADO_PATH)).absoluteFilePath());
        QCOMPARE(Com::RegisteredServerPath(Dadavive::CLSID_CSubclass),
                 QFileInfo(QStringLiteral(RUV_DADAVIVE_PATH)).absoluteFilePath());
    }

    void validKeysStayAndGoneFilesAreRenewed()
    {
        QTemporaryDir other;
        const QString elsewhere = other.filePath(QStringLiteral("libdorado.so"));
        QVERIFY(QFile::copy(QStringLiteral(RUV_DORADO_PATH), elsewhere));
        QCOMPARE(Com::RegisterServerFile(elsewhere), Com::S_OK);
        const QString gone = other.filePath(QStringLiteral("libdadavive.so"));
        QVERIFY(QFile::copy(QStringLiteral(RUV_DADAVIVE_PATH), gone));
        QCOMPARE(Com::RegisterServerFile(gone), Com::S_OK);
        QVERIFY(QFile::remove(gone));

        QVERIFY(ProgramStart::RegisterLibraries(Folder()).isEmpty());
        QCOMPARE(Com::RegisteredServerPath(Dorado::CLSID_BSP), elsewhere);
        QCOMPARE(Com::RegisteredServerPath(Dadavive::CLSID_CSubclass),
                 QFileInfo(QStringLiteral(RUV_DADAVIVE_PATH)).absoluteFilePath());
    }

    void anUnloadableLibraryIsToldAndTheStartGoesOn()
    {
        QTemporaryDir folder;
        QFile broken(folder.filePath(QStringLiteral("libdorado.so")));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write(QByteArray(4096, 'x'));
        broken.close();
        QVERIFY(QFile::copy(QStringLiteral(RUV_DADAVIVE_PATH), folder.filePath(QStringLiteral("libdadavive.so"))));

        auto dialogs = std::make_shared<RecordingDialogs>();
        ProgramStart::RegisterLibrariesAndReport(folder.path(), *dialogs);
        QCOMPARE(dialogs->boxes.size(), 1);
        QVERIFY(dialogs->boxes[0].prompt.contains(broken.fileName()));
        // The loader's reason.
        QVERIFY(dialogs->boxes[0].prompt.contains(QStringLiteral("ELF header")));
        QVERIFY(Com::RegisteredServerPath(Dorado::CLSID_BSP).isEmpty());
        QVERIFY(!Com::RegisteredServerPath(Dadavive::CLSID_CSubclass).isEmpty());

        // The window starts without maps.
        MArrayConvert::SetCommandLineText(QString());
        std::unique_ptr<FrmMain> window;
        FakeState fake;
        QCOMPARE(ProgramStart::StartMainWindow(Services(dialogs), window, std::make_unique<FakeFactory>(fake)), 0);
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QVERIFY(!window->State().m_map);
        QVERIFY(window->Controls().FormSc);
        QCOMPARE(dialogs->boxes.size(), 1);
    }

    void withoutTheLibrariesTheWindowWorksWithoutTheirObjects()
    {
        // Nothing registered: no map object, no subclass objects.
        MArrayConvert::SetCommandLineText(QString());
        std::unique_ptr<FrmMain> window;
        FakeState fake;
        auto dialogs = std::make_shared<RecordingDialogs>();
        QCOMPARE(ProgramStart::StartMainWindow(Services(dialogs), window, std::make_unique<FakeFactory>(fake)), 0);
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QVERIFY(!window->State().m_map);
        QVERIFY(!window->Controls().FormSc && !window->Controls().txtDemoSc && !window->Controls().tabControlSc);
        QVERIFY(dialogs->boxes.isEmpty());
        window->close();
        QTRY_VERIFY(window->IsClosedDown());
    }

    void withoutADisplayTheProgramSaysSoAndEnds()
    {
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.insert(QStringLiteral("RUVADIR_REGISTRY"), m_store->Path());
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(RUV_PROGRAM_PATH), {});
        QVERIFY(program.waitForFinished(20000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 1);
        QVERIFY(QString::fromLocal8Bit(program.readAllStandardError()).contains(QStringLiteral("X display")));
    }
};

QTEST_MAIN(TstProgramStart)
#include "tst_programstart.moc"
