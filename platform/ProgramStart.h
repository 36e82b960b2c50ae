#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>

class QSocketNotifier;

// Starting a program the way the shell started the game on Windows: one
// command-line text for the arguments, a working folder, no waiting. The
// engines join their arguments with blanks and parse the result as one
// command line, so the text is split where a blank stands outside double
// quotes and the quotes stay: "+set fs_game "my mod"" reaches the engine
// as it was written (QProcess::splitCommand would drop the quotes).
namespace RuvPlatform::ProgramStart {

// The arguments of a command line: split at blanks outside double quotes,
// each argument keeping its quotes; a run of blanks separates like one, and
// blanks at either end give no argument. A quote left open runs to the end.
QStringList SplitCommandLine(const QString& commandLine);

// Starts the program (a path in Windows or Linux form) with the arguments in
// the working folder (empty: ours), detached: it runs on when we end. The
// new process's id; 0 when it was not started, with the reason in plain
// English: no such file, a folder, no execute permission, not a program the
// system can run, or no such working folder.
std::int64_t Start(const QString& program, const QStringList& arguments, const QString& workingFolder,
                   QString& reason);

// The same with the arguments given as one command line (SplitCommandLine).
std::int64_t Start(const QString& program, const QString& commandLine, const QString& workingFolder,
                   QString& reason);

// Tells once, from the event loop, that a process Start started has ended.
// Such a process is no child of ours, so its end cannot be waited for; the
// watch holds the process itself (a Linux process file descriptor), not
// its id, so a later process that the system gives the same id is never
// taken for it. A process that has ended already, or that cannot be
// watched, is told at the next turn of the loop: whoever asks has then
// nothing left that could reach another program. Destroying the watch
// stops it; `ended` is never called after that, and must not destroy the
// watch itself.
class EndWatch : public QObject
{
public:
    EndWatch(std::int64_t process, std::function<void()> ended);
    ~EndWatch() override;
    EndWatch(const EndWatch&) = delete;
    EndWatch& operator=(const EndWatch&) = delete;

private:
    void Tell();

    std::function<void()> m_ended;
    int m_descriptor = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

}  // namespace RuvPlatform::ProgramStart
