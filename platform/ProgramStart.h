#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

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

}  // namespace RuvPlatform::ProgramStart
