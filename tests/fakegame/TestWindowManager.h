#pragma once

// Starts a window manager (openbox) for the test when the display has none,
// so that states, activation and focus behave as on a desktop; stops it at
// the end. RUV_TEST_NO_WM set, or no openbox, leaves the display bare.
#include "X11Windows.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
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
            QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty() || !m_dir.isValid())
            return false;
        // The manager runs its start-up command once it manages the display:
        // a window mapped before that can be missed by it. It reads the
        // packaged configuration only, never the user's.
        const QString ready = m_dir.filePath(QStringLiteral("ready"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.path());
        env.insert(QStringLiteral("XDG_CACHE_HOME"), m_dir.path());
        m_process.setProcessEnvironment(env);
        m_process.start(QStringLiteral("openbox"),
                        {QStringLiteral("--sm-disable"), QStringLiteral("--startup"), QStringLiteral("touch ") + ready});
        return m_process.waitForStarted() &&
               QTest::qWaitFor([&] { return QFile::exists(ready) && !X11Windows::WindowManagerName().isEmpty(); },
                               30000);
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
    QTemporaryDir m_dir;
    QProcess m_process;
};
