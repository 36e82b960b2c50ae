#include "ModFolderList.h"

#include "CGameDefinition.h"
#include "MArrayConvert.h"
#include "MFileOp.h"
#include "PathHelper.h"

#include <algorithm>

namespace ModFolderList {

namespace {

void AddSubFolders(QList<Entry>& entries, const QString& folder, bool besideExecutable)
{
    QStringList listed;
    if (!MFileOp::ListFolder(listed, folder, false))
        return;
    // The folder itself comes first.
    for (qsizetype i = 1; i < listed.size(); ++i) {
        const QString name = MFileOp::GetFileName(listed.at(i));
        if (!MArrayConvert::StringArrayContains(ExcludedFolders(), name, true, false))
            entries.append(Entry{name, folder, besideExecutable});
    }
}

// The mod folder's parent when the mod folder lies outside the executable's
// folder at a place the location test accepts; empty otherwise.
QString OtherModParent(const CGameDefinition& game, const QString& exeFolder)
{
    QString parent;
    if (game.UseAbsoluteWorkingDir() || !game.IsLocationValid()
        || !MFileOp::GetParentFolder(game.ModFullDir(), parent))
        return QString();
    return parent.compare(exeFolder, Qt::CaseInsensitive) == 0 ? QString() : parent;
}

} // namespace

const QStringList& ExcludedFolders()
{
    static const QStringList names{QStringLiteral("backup"), QStringLiteral("docs"), QStringLiteral("uninstall"),
                                   QStringLiteral("pb"), QStringLiteral("libs")};
    return names;
}

QList<Entry> ListModFolders(const CGameDefinition& game)
{
    QList<Entry> entries;
    const QString exeFolder = MFileOp::GetFolderPart(game.ExeFullPath());
    if (exeFolder.isEmpty())
        return entries;
    AddSubFolders(entries, exeFolder, true);
    const QString other = OtherModParent(game, exeFolder);
    if (!other.isEmpty())
        AddSubFolders(entries, other, false);
    return entries;
}

int CurrentEntry(const QList<Entry>& entries, const CGameDefinition& game)
{
    // The home folder is listed only when the mod folder lies there.
    const bool modAtHome =
        std::any_of(entries.begin(), entries.end(), [](const Entry& e) { return !e.besideExecutable; });
    int current = -1;
    for (int i = 0; i < entries.size(); ++i) {
        const Entry& e = entries.at(i);
        if (e.name == game.ModDirBasename() && e.besideExecutable != modAtHome)
            current = i;
    }
    return current;
}

QString FullPath(const Entry& entry)
{
    return RuvPlatform::PathHelper::Join(entry.folder, entry.name);
}

} // namespace ModFolderList
