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

// HOME points into the tree while the object lives (the XDG data home
// follows it), so that the engines' home folders are the test's own and
// none of the machine's is read.
class TreeHome
{
public:
    explicit TreeHome(const GamesTempTree& tree) : m_home(tree.Folder(QStringLiteral("user")))
    {
        for (const char* name : {"HOME", "XDG_DATA_HOME"})
            m_saved.append({name, qgetenv(name)});
        qputenv("HOME", m_home.toUtf8());
        qunsetenv("XDG_DATA_HOME");
    }
    ~TreeHome()
    {
        for (const auto& [name, value] : m_saved) {
            if (value.isNull())
                qunsetenv(name);
            else
                qputenv(name, value);
        }
    }
    TreeHome(const TreeHome&) = delete;
    TreeHome& operator=(const TreeHome&) = delete;
    // The path below the home folder ("~/" + relative).
    QString Path(const QString& relative) const { return m_home + QLatin1Char('/') + relative; }

private:
    QString m_home;
    QList<QPair<const char*, QByteArray>> m_saved;
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
