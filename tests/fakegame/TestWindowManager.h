#pragma once

// Starts a window manager (openbox) for the test when the display has none,
// so that states, activation and focus behave as on a desktop; stops it at
// the end. RUV_TEST_NO_WM set, or no openbox, leaves the display bare.
#include "X11Windows.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>

class TestWindowManager
{
public:
    TestWindowManager() = default;
    TestWindowManager(const TestWindowManager&) = delete;
    TestWindowManager& operator=(const TestWindowManager&) = delete;
    ~TestWindowManager() { Stop(); }

    // True when a manager runs afterwards.
    bool Ensure()
    {
        if (!X11Windows::WindowManagerName().isEmpty())
            return true;
        if (qEnvironmentVariableIsSet("RUV_TEST_NO_WM") ||
            QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty())
            return false;
        m_process.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
        if (!m_process.waitForStarted() ||
            !QTest::qWaitFor([] { return !X11Windows::WindowManagerName().isEmpty(); }, 5000))
            return false;
        // A window mapped just as the manager starts can be missed by it.
        QTest::qWait(200);
        return true;
    }

    void Stop()
    {
        if (m_process.state() == QProcess::Running) {
            m_process.terminate();
            if (!m_process.waitForFinished(3000))
                m_process.kill();
        }
    }

private:
    QProcess m_process;
};
