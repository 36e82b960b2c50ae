#pragma once

// What the tests of the secondary windows share: a shell that records what
// it is asked to open, and a window manager started for the tests that need
// frames, placement and moves as on a desktop.

#include "MainServices.h"
#include "X11Windows.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTest>

namespace WindowFakes {

// Records "<verb> <file>" for each call.
class RecordingShell final : public IShell
{
public:
    QStringList opened;
    int64_t ShellExecuteVerb(QWidget*, int32_t verb, const QString& file, const QString&, const QString&,
                             int32_t) override
    {
        opened << QString::number(verb) + QLatin1Char(' ') + file;
        return 1;
    }
};

// Starts openbox in `process` when the display has no window manager;
// false when none runs afterwards.
inline bool EnsureWindowManager(QProcess& process)
{
    if (!X11Windows::WindowManagerName().isEmpty())
        return true;
    if (QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty())
        return false;
    process.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    if (!process.waitForStarted()
        || !QTest::qWaitFor([] { return !X11Windows::WindowManagerName().isEmpty(); }, 5000))
        return false;
    // A window mapped just as the manager starts can be missed by it.
    QTest::qWait(200);
    return true;
}

inline void StopWindowManager(QProcess& process)
{
    if (process.state() == QProcess::Running) {
        process.terminate();
        if (!process.waitForFinished(3000))
            process.kill();
    }
}

}  // namespace WindowFakes
