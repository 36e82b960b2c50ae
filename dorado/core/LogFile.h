#pragma once

// The map object's debugging log. Each line is appended on its own (the
// file is opened and closed around it) so that the log is complete on disk
// even if the process dies:
//
//   08.12.2026 02:30:15.7<TAB><-><TAB>message
//
// with "<->" for information and "<!>" for errors. A line of 83 "-" opens
// each initialization's first line.

#include <QDateTime>
#include <QString>

#include <functional>

namespace Dorado {

class LogFile
{
public:
    enum class Level { Info, Error };

    // Keeps the path when the file can be opened for appending; false (and
    // no path) otherwise.
    bool Initialize(const QString& path);
    bool HasPath() const { return !m_path.isEmpty(); }
    const QString& Path() const { return m_path; }

    // Appends one line; a file that cannot be opened loses that line.
    void Write(Level level, const QString& message);

    // The clock, replaceable for tests.
    void SetClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    static QString TimeStamp(const QDateTime& t);
    static const char* Marker(Level level) { return level == Level::Info ? "<->" : "<!>"; }

private:
    QString m_path;
    bool m_separatorWritten = false;
    std::function<QDateTime()> m_clock = [] { return QDateTime::currentDateTime(); };
};

}  // namespace Dorado
