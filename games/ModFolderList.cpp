#include "ModFolderList.h"

#include "CGameDefinition.h"
#include "GameDetection.h"
#include "MArrayConvert.h"
#include "MFileOp.h"
#include "PathHelper.h"

#include <QDir>

#include <algorithm>

namespace ModFolderList {

namespace {

// Folders compared as the location test compares them: without regard to case.
bool SameFolder(const QString& a, const QString& b)
{
    return QDir::cleanPath(a).compare(QDir::cleanPath(b), Qt::CaseInsensitive) == 0;
}

// Appends the folder's sub-folders less the excluded ones. With a base
// folder name, only a folder that holds it (any case) is listed: a mod
// beside no base folder is a location the game cannot run from.
void AddSubFolders(QList<Entry>& entries, const QString& folder, bool besideExecutable,
                   const QString& requiredBase = QString())
{
    QStringList listed;
    if (!MFileOp::ListFolder(listed, folder, false))
        return;
    // The folder itself comes first.
    QStringList names;
    for (qsizetype i = 1; i < listed.size(); ++i)
        names << MFileOp::GetFileName(listed.at(i));
    if (!requiredBase.isEmpty() && !names.contains(requiredBase, Qt::CaseInsensitive))
        return;
    for (const QString& name : names) {
        if (!MArrayConvert::StringArrayContains(ExcludedFolders(), name, true, false))
            entries.append(Entry{name, folder, besideExecutable});
    }
}

} // namespace

const QStringList& ExcludedFolders()
{
    static const QStringList names{QStringLiteral("backup"), QStringLiteral("docs"), QStringLiteral("uninstall"),
                                   QStringLiteral("pb"), QStringLiteral("libs")};
    return names;
}

QList<Entry> ListModFolders(const GameDetection::SearchPlaces& places, const CGameDefinition& game)
{
    QList<Entry> entries;
    const QString exeFolder = MFileOp::GetFolderPart(game.ExeFullPath());
    if (exeFolder.isEmpty())
        return entries;
    AddSubFolders(entries, exeFolder, true);
    if (game.UseAbsoluteWorkingDir())
        return entries;

    // The engine's home folders, then the one the mod folder lies in (an
    // fs_homepath of the user's own), each once.
    QStringList others = GameDetection::HomeFolders(places, game.GType());
    QString modParent;
    if (MFileOp::GetParentFolder(game.ModFullDir(), modParent))
        others << modParent;
    QStringList listed{exeFolder};
    for (const QString& folder : others) {
        if (std::any_of(listed.begin(), listed.end(), [&](const QString& f) { return SameFolder(f, folder); }))
            continue;
        listed << folder;
        AddSubFolders(entries, folder, false, game.BaseDir());
    }
    return entries;
}

int CurrentEntry(const QList<Entry>& entries, const CGameDefinition& game)
{
    // Namesakes lie in several folders: the one the mod folder lies in.
    QString modParent;
    if (!MFileOp::GetParentFolder(game.ModFullDir(), modParent))
        return -1;
    for (int i = 0; i < entries.size(); ++i) {
        const Entry& e = entries.at(i);
        if (e.name == game.ModDirBasename() && SameFolder(e.folder, modParent))
            return i;
    }
    return -1;
}

QString FullPath(const Entry& entry)
{
    return RuvPlatform::PathHelper::Join(entry.folder, entry.name);
}

} // namespace ModFolderList
