#include "LogFile.h"

#include <QFile>

namespace Dorado {

namespace {
constexpr int SeparatorLength = 83;
}

bool LogFile::Initialize(const QString& path)
{
    m_separatorWritten = false;
    m_path.clear();
    if (path.isEmpty())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::Append | QIODevice::ReadWrite))
        return false;
    file.close();
    m_path = path;
    return true;
}

QString LogFile::TimeStamp(const QDateTime& t)
{
    // Day, month, year, time, then the milliseconds as a plain number
    // (".7", not ".007"): the format readers of these logs know.
    return t.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")) + QLatin1Char('.') +
           QString::number(t.time().msec());
}

void LogFile::Write(Level level, const QString& message)
{
    if (m_path.isEmpty())
        return;
    QFile file(m_path);
    if (!file.open(QIODevice::Append | QIODevice::WriteOnly))
        return;
    QByteArray line;
    if (!m_separatorWritten) {
        line.append(SeparatorLength, '-');
        line.append('\n');
    }
    line += TimeStamp(m_clock()).toUtf8();
    line += '\t';
    line += Marker(level);
    line += '\t';
    line += message.toUtf8();
    line += '\n';
    if (file.write(line) == line.size())
        m_separatorWritten = true;
    file.close();
}

}  // namespace Dorado
