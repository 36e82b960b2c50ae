#pragma once

// For tests that start the fake game (tests/fakegame/game): where it is, how
// to give it a game's executable name, the environment that sets it up, and
// its log. Link the CMake target ruv_fakegame_support; ruv_gamelaunch_test
// also gives the test its label and the display's focus lock.
//
//   const QString exe = FakeGame::InstallAs(dir.path(), "etl");   // ~ a game
//   FakeGame::Options o;  o.title = "Enemy Territory";  o.log = dir.filePath("log");
//   FakeGame::SetEnvironment(o);        // the program under test starts it...
//   QProcess p;  p.setProcessEnvironment(FakeGame::Environment(o));  // ...or the test
//   FakeGame::Log log(o.log);  QVERIFY(log.WaitFor("console open"));
//
// The log's lines are described at the top of game/FakeGameMain.cpp.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTest>

#include <utility>

namespace FakeGame
{
// The fake as built.
inline QString Binary()
{
    return QStringLiteral(RUV_FAKEGAME_BINARY);
}

// Makes folder/name start the fake (a symbolic link; a copy where links
// cannot be made), so that it passes for a game executable such as "etl"
// (see games/GameLinuxNames). The path made, empty on failure.
inline QString InstallAs(const QString& folder, const QString& name)
{
    if (!QDir().mkpath(folder))
        return {};
    const QString path = QDir(folder).filePath(name);
    QFile::remove(path);
    if (QFile::link(Binary(), path) || QFile::copy(Binary(), path))
        return path;
    return {};
}

struct Options
{
    QString title;        // empty: "Fake Game"
    QString windowClass;  // the class part of WM_CLASS; empty: Qt's own
    QString log;          // the log file
    QString home;         // holds the mod folders
    bool withdrawn = false;
    QChar grab;           // 'A' to 'Z': holds Alt+letter
    int frameMs = 0;      // the length of its frames; 0: 16 ms
};

// The environment of a fake started by the test itself.
inline QProcessEnvironment Environment(const Options& o,
                                       QProcessEnvironment base = QProcessEnvironment::systemEnvironment())
{
    const auto set = [&base](const char* name, const QString& value) {
        if (value.isEmpty())
            base.remove(QString::fromLatin1(name));
        else
            base.insert(QString::fromLatin1(name), value);
    };
    set("RUV_FAKEGAME_TITLE", o.title);
    set("RUV_FAKEGAME_CLASS", o.windowClass);
    set("RUV_FAKEGAME_LOG", o.log);
    set("RUV_FAKEGAME_HOME", o.home);
    set("RUV_FAKEGAME_WITHDRAWN", o.withdrawn ? QStringLiteral("1") : QString());
    set("RUV_FAKEGAME_GRAB", o.grab.isNull() ? QString() : QString(o.grab));
    set("RUV_FAKEGAME_FRAME_MS", o.frameMs > 0 ? QString::number(o.frameMs) : QString());
    return base;
}

// The same in this process's environment, which a game started by the
// program under test inherits.
inline void SetEnvironment(const Options& o)
{
    const QProcessEnvironment env = Environment(o, QProcessEnvironment());
    for (const char* name : {"RUV_FAKEGAME_TITLE", "RUV_FAKEGAME_CLASS", "RUV_FAKEGAME_LOG", "RUV_FAKEGAME_HOME",
                             "RUV_FAKEGAME_WITHDRAWN", "RUV_FAKEGAME_GRAB", "RUV_FAKEGAME_FRAME_MS"}) {
        const QString key = QString::fromLatin1(name);
        if (env.contains(key))
            qputenv(name, env.value(key).toUtf8());
        else
            qunsetenv(name);
    }
}

// The fake's log, read afresh on every call.
class Log
{
public:
    explicit Log(QString path) : m_path(std::move(path)) {}

    QStringList Lines() const
    {
        QFile file(m_path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }
    bool Contains(const QString& line) const { return Lines().contains(line); }
    // The rest of the first line that begins with prefix; empty when none.
    QString Value(const QString& prefix) const
    {
        for (const QString& line : Lines()) {
            if (line.startsWith(prefix))
                return line.mid(prefix.size());
        }
        return {};
    }
    // The X window id of the fake's window, from its "window" line; 0
    // before it is made.
    quint64 WindowId() const { return Value(QStringLiteral("window ")).section(QLatin1Char(' '), 0, 0).toULongLong(); }
    // Waits (running the event loop, so that the clipboard is served) until
    // the line is in the log.
    bool WaitFor(const QString& line, int timeoutMs = 10000) const
    {
        return QTest::qWaitFor([&] { return Contains(line); }, timeoutMs);
    }
    bool WaitForPrefix(const QString& prefix, int timeoutMs = 10000) const
    {
        return QTest::qWaitFor([&] { return !Value(prefix).isEmpty(); }, timeoutMs);
    }
    // Empties the log, for the next step of a test.
    void Clear() const { QFile(m_path).resize(0); }
    const QString& Path() const { return m_path; }

private:
    QString m_path;
};

// Starts the fake game as `game` and waits until it has made its window.
inline bool Start(QProcess& game, const Options& o)
{
    game.setProcessEnvironment(Environment(o));
    game.start(Binary(), {});
    return game.waitForStarted() && Log(o.log).WaitForPrefix(QStringLiteral("window "));
}
}
