#pragma once

#include "GamesTestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>

// A temporary folder tree for the game tests: game folders, mods,
// configuration files. Paths are given relative to its root.
class GamesTempTree
{
public:
    bool IsValid() const { return m_dir.isValid(); }
    QString Root() const { return m_dir.path(); }
    QString Path(const QString& relative) const { return m_dir.filePath(relative); }
    // A file holding the bytes, with its folders; its path, empty on failure.
    QString File(const QString& relative, const QByteArray& bytes = "x") const
    {
        const QString p = Path(relative);
        return QDir().mkpath(QFileInfo(p).path()) && WriteAll(p, bytes) ? p : QString();
    }
    // A folder with its parents; its path, empty on failure.
    QString Folder(const QString& relative) const
    {
        const QString p = Path(relative);
        return QDir().mkpath(p) ? p : QString();
    }

private:
    QTemporaryDir m_dir;
};

// One member of every entry, in order.
template <class Entry>
QStringList Column(const QList<Entry>& entries, QString Entry::*member)
{
    QStringList out;
    for (const Entry& e : entries)
        out << e.*member;
    return out;
}
