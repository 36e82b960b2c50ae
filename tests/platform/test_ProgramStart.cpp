// Starting a program from one command line with its quotes kept, against the
// fake game (on Qt's offscreen platform: no display needed), the system's
// refusals with their reasons, and the watch that tells when a started
// program ends.
#include "FakeGameSupport.h"
#include "ProgramStart.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <vector>

namespace PS = RuvPlatform::ProgramStart;

TEST(ProgramStart, SplitsAtBlanksOutsideQuotesKeepingThem)
{
    struct Case
    {
        QString line;
        QStringList arguments;
    };
    const Case cases[] = {
        {"+set fs_game \"etpro\" +exec a.cfg", {"+set", "fs_game", "\"etpro\"", "+exec", "a.cfg"}},
        {"+set fs_userpath \"/home/u/My Games/etqw\" +playNetDemo \"a b.ndm\"",
         {"+set", "fs_userpath", "\"/home/u/My Games/etqw\"", "+playNetDemo", "\"a b.ndm\""}},
        {"+set fs_game \"etpro\" ", {"+set", "fs_game", "\"etpro\""}},  // no game command
        {"  a   b  ", {"a", "b"}},
        {"x\"a b\"y z", {"x\"a b\"y", "z"}},
        {"a \"\" b", {"a", "\"\"", "b"}},
        {"a \"open to the end", {"a", "\"open to the end"}},
        {"tab\tstays", {"tab\tstays"}},
        {"", {}},
        {"   ", {}},
    };
    for (const Case& c : cases) {
        const QStringList got = PS::SplitCommandLine(c.line);
        EXPECT_EQ(got, c.arguments) << c.line.toStdString();
        // What an engine reads back, where the line has no runs of blanks.
        if (!c.line.contains(QLatin1String("  "))) {
            EXPECT_EQ(got.join(QLatin1Char(' ')), c.line.trimmed()) << c.line.toStdString();
        }
    }
}

class ProgramStartTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString MakeFile(const QString& name, const QByteArray& content, bool executable)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        QFile::Permissions p = QFile::ReadOwner | QFile::WriteOwner;
        if (executable)
            p |= QFile::ExeOwner;
        file.setPermissions(p);
        return path;
    }

    QTemporaryDir m_dir;
};

TEST_F(ProgramStartTest, RefusalsNameTheirReason)
{
    const QString text = MakeFile("notes.txt", "just text\n", false);
    const QString noProgram = MakeFile("etl", "just text\n", true);
    const QString badElf = MakeFile("etl.x86_64", QByteArray("\x7f" "ELF", 4) + QByteArray(60, '\x01'), true);
    const QString folder = m_dir.filePath("etpro");
    ASSERT_TRUE(QDir().mkpath(folder));
    struct Case
    {
        QString program, workingFolder, reasonHas;
    };
    const Case cases[] = {
        {m_dir.filePath("missing"), {}, "does not exist"},
        {{}, {}, "does not exist"},
        {folder, {}, "is a folder"},
        {text, {}, "is not executable"},
        {noProgram, {}, "could not be started"},
        {badElf, {}, "could not be started"},
        {MakeFile("ok.sh", "#!/bin/sh\nexit 0\n", true), m_dir.filePath("no folder"), "working folder"},
    };
    for (const Case& c : cases) {
        QString reason = "stale";
        EXPECT_EQ(PS::Start(c.program, QStringList{"+set"}, c.workingFolder, reason), 0) << c.program.toStdString();
        EXPECT_TRUE(reason.contains(c.reasonHas)) << reason.toStdString();
        if (!c.program.isEmpty()) {
            EXPECT_TRUE(reason.contains(c.program) || reason.contains(c.workingFolder)) << reason.toStdString();
        }
    }
}

TEST_F(ProgramStartTest, TheGameReadsTheCommandLineInItsFolder)
{
    const QString gameFolder = m_dir.filePath("Wolf ET");
    const QString exe = FakeGame::InstallAs(gameFolder, "etl");
    ASSERT_FALSE(exe.isEmpty());
    FakeGame::Options o;
    o.log = m_dir.filePath("game.log");
    o.home = m_dir.filePath("home");
    FakeGame::SetEnvironment(o);
    qputenv("QT_QPA_PLATFORM", "offscreen");

    const QString commandLine = "+set fs_game \"et pro\" +exec \"my cfg.cfg\"+demo \"x\\a b.dm_84\" ";
    QString reason = "stale";
    const std::int64_t pid = PS::Start(exe, commandLine, gameFolder, reason);
    ASSERT_GT(pid, 0) << reason.toStdString();
    EXPECT_TRUE(reason.isEmpty());
    const FakeGame::Log log(o.log);
    ASSERT_TRUE(log.WaitFor("demo x\\a b.dm_84 missing")) << log.Lines().join('\n').toStdString();
    ::kill(static_cast<pid_t>(pid), SIGTERM);
    EXPECT_EQ(log.Value("start "), QString::number(pid));
    EXPECT_EQ(log.Value("cwd "), gameFolder);
    EXPECT_EQ(log.Value("cmdline "), commandLine.chopped(1));
    EXPECT_EQ(log.Value("arg 3 "), "\"et pro\"");
    EXPECT_EQ(log.Value("mod "), "et pro");
    qunsetenv("QT_QPA_PLATFORM");
    FakeGame::SetEnvironment({});
}

TEST_F(ProgramStartTest, TheEndOfAStartedProgramIsToldOnce)
{
    char name[] = "test_platform";
    char* argv[] = {name, nullptr};
    int argc = 1;
    QCoreApplication app(argc, argv);
    QString reason;
    const std::int64_t running = PS::Start(MakeFile("wait.sh", "#!/bin/sh\nexec sleep 60\n", true), QString(),
                                           QString(), reason);
    ASSERT_GT(running, 0) << reason.toStdString();
    const std::int64_t stopped = PS::Start(MakeFile("stop.sh", "#!/bin/sh\nexec sleep 60\n", true), QString(),
                                           QString(), reason);
    ASSERT_GT(stopped, 0) << reason.toStdString();
    struct Case
    {
        const char* name;
        std::int64_t process;
        int told = 0;
    };
    // No process has the last id: it cannot be watched.
    Case cases[] = {{"running", running}, {"ended", stopped}, {"none", 0}, {"no such id", 0x3FFFFFFF}};
    std::vector<std::unique_ptr<PS::EndWatch>> watches;
    for (Case& c : cases)
        watches.push_back(std::make_unique<PS::EndWatch>(c.process, [&c] { ++c.told; }));
    // A watch let go tells nothing, even when its process ends.
    int toldGone = 0;
    auto gone = std::make_unique<PS::EndWatch>(stopped, [&toldGone] { ++toldGone; });
    gone.reset();

    ::kill(static_cast<pid_t>(stopped), SIGKILL);
    EXPECT_TRUE(QTest::qWaitFor([&] { return cases[1].told > 0 && cases[2].told > 0 && cases[3].told > 0; }));
    QCoreApplication::processEvents();
    for (const Case& c : cases)
        EXPECT_EQ(c.told, c.process == running ? 0 : 1) << c.name;
    EXPECT_EQ(toldGone, 0);

    ::kill(static_cast<pid_t>(running), SIGKILL);
    EXPECT_TRUE(QTest::qWaitFor([&] { return cases[0].told > 0; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(cases[0].told, 1);
}
