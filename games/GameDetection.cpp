#include "GameDetection.h"

#include "CGameDefinition.h"
#include "GameLinuxNames.h"

#include <QDir>
#include <QStandardPaths>

namespace
{
using GameDetection::SearchPlaces;

// The folder as an absolute path in the places; empty when the places give
// it no home (no home, no root).
QString Expand(const SearchPlaces& places, const QString& folder)
{
    static const QString home = QStringLiteral("~/");
    static const QString dataHome = QStringLiteral("$XDG_DATA_HOME/");
    if (folder.startsWith(home)) {
        if (places.home.isEmpty())
            return {};
        return QDir::cleanPath(places.home + QLatin1Char('/') + folder.mid(home.size()));
    }
    if (folder.startsWith(dataHome)) {
        // The XDG rule: a relative value is ignored.
        QString base = places.dataHome;
        if (base.isEmpty() || QDir::isRelativePath(base)) {
            if (places.home.isEmpty())
                return {};
            base = places.home + QStringLiteral("/.local/share");
        }
        return QDir::cleanPath(base + QLatin1Char('/') + folder.mid(dataHome.size()));
    }
    if (places.systemRoot.isEmpty())
        return {};
    return QDir::cleanPath(places.systemRoot + QLatin1Char('/') + folder);
}

QStringList Expanded(const SearchPlaces& places, const QStringList& folders)
{
    QStringList result;
    for (const QString& folder : folders) {
        const QString expanded = Expand(places, folder);
        if (!expanded.isEmpty())
            result << expanded;
    }
    return result;
}

// The first name found as an executable file in the folders. Qt searches
// the real PATH when given no folders: that never happens here.
QString FindIn(const QStringList& names, const QStringList& folders)
{
    if (folders.isEmpty())
        return {};
    for (const QString& name : names) {
        const QString found = QStandardPaths::findExecutable(name, folders);
        if (!found.isEmpty())
            return found;
    }
    return {};
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
SearchPlaces SearchPlaces::OfThisSystem()
{
    SearchPlaces places;
    places.pathFolders = qEnvironmentVariable("PATH").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    places.home = QDir::homePath();
    places.dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    places.systemRoot = QStringLiteral("/");
    return places;
}

QStringList HomeFolders(const SearchPlaces& places, int32_t gameType)
{
    return Expanded(places, LinuxNamesOfGame(gameType).homeFolders);
}

QStringList InstallFolders(const SearchPlaces& places, int32_t gameType)
{
    return Expanded(places, LinuxNamesOfGame(gameType).installFolders);
}

QString FindExecutable(const SearchPlaces& places, int32_t gameType)
{
    const QStringList& names = LinuxNamesOfGame(gameType).executables;
    QStringList path = places.pathFolders;
    path.removeAll(QString());
    const QString onPath = FindIn(names, path);
    return onPath.isEmpty() ? FindIn(names, InstallFolders(places, gameType)) : onPath;
}

QString FindModFolder(const SearchPlaces& places, int32_t gameType, const QString& baseDir,
                      const QString& defaultDir)
{
    for (const QString& home : HomeFolders(places, gameType)) {
        if (SubFolderNoCase(home, baseDir).isEmpty())
            continue;
        const QString mod = SubFolderNoCase(home, defaultDir);
        return mod.isEmpty() ? QString() : QDir(home).filePath(mod);
    }
    return {};
}

bool FillEmptyLocation(const SearchPlaces& places, CGameDefinition& game)
{
    bool filled = false;
    if (game.ExeFullPath().isEmpty()) {
        const QString exe = FindExecutable(places, game.GType());
        if (!exe.isEmpty()) {
            game.SetExeFullPath(exe);
            filled = true;
        }
    }
    if (game.ModFullDir().isEmpty()) {
        const QString mod = FindModFolder(places, game.GType(), game.BaseDir(), game.DefaultDir());
        if (!mod.isEmpty()) {
            game.SetModFullDir(mod);
            filled = true;
        }
    }
    return filled;
}
}
