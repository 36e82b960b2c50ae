#include "GameDetection.h"

#include "CGameDefinition.h"
#include "GameLinuxNames.h"

#include <QDir>
#include <QStandardPaths>

namespace
{
QString Expand(const QString& folder)
{
    static const QString home = QStringLiteral("~/");
    static const QString dataHome = QStringLiteral("$XDG_DATA_HOME/");
    if (folder.startsWith(home))
        return QDir::cleanPath(QDir::homePath() + QLatin1Char('/') + folder.mid(home.size()));
    if (folder.startsWith(dataHome)) {
        // The XDG rule: a relative value is ignored.
        QString base = qEnvironmentVariable("XDG_DATA_HOME");
        if (base.isEmpty() || QDir::isRelativePath(base))
            base = QDir::homePath() + QStringLiteral("/.local/share");
        return QDir::cleanPath(base + QLatin1Char('/') + folder.mid(dataHome.size()));
    }
    return folder;
}

QStringList Expanded(const QStringList& folders)
{
    QStringList result;
    for (const QString& folder : folders)
        result << Expand(folder);
    return result;
}

// The sub-folder's name as it is on disk, empty when the folder holds none;
// the name as written wins over one in other case.
QString SubFolderNoCase(const QString& folder, const QString& name)
{
    if (name.isEmpty())
        return {};
    const QDir dir(folder);
    if (QFileInfo(dir.filePath(name)).isDir())
        return name;
    const QStringList entries = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return {};
}
}

namespace GameDetection
{
QStringList HomeFolders(int32_t gameType)
{
    return Expanded(LinuxNamesOfGame(gameType).homeFolders);
}

QStringList InstallFolders(int32_t gameType)
{
    return Expanded(LinuxNamesOfGame(gameType).installFolders);
}

QString FindExecutable(int32_t gameType)
{
    const QStringList& names = LinuxNamesOfGame(gameType).executables;
    for (const QString& name : names) {
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty())
            return found;
    }
    const QStringList installFolders = InstallFolders(gameType);
    for (const QString& name : names) {
        const QString found = QStandardPaths::findExecutable(name, installFolders);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

QString FindModFolder(int32_t gameType, const QString& baseDir, const QString& defaultDir)
{
    for (const QString& home : HomeFolders(gameType)) {
        if (SubFolderNoCase(home, baseDir).isEmpty())
            continue;
        const QString mod = SubFolderNoCase(home, defaultDir);
        return mod.isEmpty() ? QString() : QDir(home).filePath(mod);
    }
    return {};
}

bool FillEmptyLocation(CGameDefinition& game)
{
    bool filled = false;
    if (game.ExeFullPath().isEmpty()) {
        const QString exe = FindExecutable(game.GType());
        if (!exe.isEmpty()) {
            game.SetExeFullPath(exe);
            filled = true;
        }
    }
    if (game.ModFullDir().isEmpty()) {
        const QString mod = FindModFolder(game.GType(), game.BaseDir(), game.DefaultDir());
        if (!mod.isEmpty()) {
            game.SetModFullDir(mod);
            filled = true;
        }
    }
    return filled;
}
}
