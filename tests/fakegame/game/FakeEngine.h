#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// What the fake game does with its command line and its console lines, as a
// Quake 3 engine does: the arguments joined with blanks are split into "+"
// commands, a console line into ";" commands, each into words (double quotes
// group and are dropped). Known commands:
//   set fs_game <mod>          (command line) the mod folder below home
//   set fs_userpath <folder>   (command line) the home folder
//   screenshot                 writes home/mod/screenshots/shotNNNN.tga
//   demo <name>, playNetDemo <name>
//                              logs whether home/mod/demos/<name> exists
// A leading "/" or "\" is dropped, as the console does; other commands are
// only logged with their line.
class FakeEngine
{
public:
    using Log = std::function<void(const QString&)>;

    // The mod is "base" until the command line names one.
    FakeEngine(Log log, QString home);

    // Logs "cmdline", "home" and "mod", then runs the commands other than set.
    void Start(const QStringList& arguments);
    // Logs "run <line>" and runs its commands.
    void RunLine(const QString& line);

    const QString& Home() const { return m_home; }
    const QString& Mod() const { return m_mod; }

private:
    void Run(const QStringList& words);
    void Screenshot();
    void Demo(const QString& name);

    Log m_log;
    QString m_home;
    QString m_mod = QStringLiteral("base");
};
