#include "ProgramStart.h"

#include "PathHelper.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSocketNotifier>

#include <sys/pidfd.h>
#include <unistd.h>

#include <utility>

namespace RuvPlatform::ProgramStart {

QStringList SplitCommandLine(const QString& commandLine)
{
    QStringList arguments;
    QString current;
    bool quoted = false;
    for (const QChar c : commandLine) {
        if (c == QLatin1Char(' ') && !quoted) {
            if (!current.isEmpty())
                arguments << current;
            current.clear();
            continue;
        }
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        current += c;
    }
    if (!current.isEmpty())
        arguments << current;
    return arguments;
}

std::int64_t Start(const QString& program, const QStringList& arguments, const QString& workingFolder,
                   QString& reason)
{
    reason.clear();
    const QFileInfo file(PathHelper::ToNative(program));
    if (program.isEmpty() || !file.exists()) {
        reason = QStringLiteral("The file \"%1\" does not exist.").arg(program);
        return 0;
    }
    if (file.isDir()) {
        reason = QStringLiteral("\"%1\" is a folder, not a program.").arg(program);
        return 0;
    }
    if (!file.isExecutable()) {
        reason = QStringLiteral("The file \"%1\" is not executable.").arg(program);
        return 0;
    }
    const QString folder = workingFolder.isEmpty() ? QString() : PathHelper::ToNative(workingFolder);
    if (!workingFolder.isEmpty() && !QFileInfo(folder).isDir()) {
        reason = QStringLiteral("The working folder \"%1\" does not exist.").arg(workingFolder);
        return 0;
    }

    QProcess process;
    // An absolute path: the program is never looked up on PATH.
    process.setProgram(file.absoluteFilePath());
    process.setArguments(arguments);
    process.setWorkingDirectory(folder);
    qint64 pid = 0;
    if (process.startDetached(&pid) && pid > 0)
        return pid;
    // Qt names the failed call first ("execv: Exec format error").
    static const QRegularExpression callName(QStringLiteral("^[a-z_]+: "));
    reason = QStringLiteral("The file \"%1\" could not be started: %2.")
                 .arg(program, process.errorString().remove(callName));
    return 0;
}

std::int64_t Start(const QString& program, const QString& commandLine, const QString& workingFolder,
                   QString& reason)
{
    return Start(program, SplitCommandLine(commandLine), workingFolder, reason);
}

EndWatch::EndWatch(std::int64_t process, std::function<void()> ended) : m_ended(std::move(ended))
{
    if (process > 0)
        m_descriptor = pidfd_open(static_cast<pid_t>(process), 0);
    if (m_descriptor < 0) {
        QMetaObject::invokeMethod(this, [this] { Tell(); }, Qt::QueuedConnection);
        return;
    }
    // The descriptor reads as ready once the process has ended.
    m_notifier = std::make_unique<QSocketNotifier>(m_descriptor, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] { Tell(); });
}

EndWatch::~EndWatch()
{
    m_notifier.reset();
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

void EndWatch::Tell()
{
    if (!m_ended)
        return;
    if (m_notifier)
        m_notifier->setEnabled(false);
    const std::function<void()> ended = std::exchange(m_ended, nullptr);
    ended();
}

}  // namespace RuvPlatform::ProgramStart
