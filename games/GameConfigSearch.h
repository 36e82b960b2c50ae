#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The game's configuration scripts the user can have the game execute: the
// ".cfg" files in a game folder and below its searched folders.
namespace GameConfigSearch {

struct Entry
{
    // The file's path relative to the root, with "\" between its parts (it
    // goes into settings, projects and the game's "exec" as it is).
    QString text;
    // The text equals one of the preselected names exactly.
    bool selected = false;
};

// Walks the root: its own ".cfg" files, and the sub-folders that lie in one
// of the searched folders (names relative to the root) unless they are
// excluded. `excludedFolders` holds folder paths relative to a searched
// folder, parted by ";" (the recorder's folders). Files and folders come in
// name order, each folder's entries where it stands; a name must be longer
// than ".cfg". Unreadable folders and links that lead nowhere are skipped;
// other links are followed, and a folder reached twice (a link back up the
// tree) is walked once.
QList<Entry> SearchConfigs(const QString& root, const QStringList& searchedFolders,
                           const QStringList& preselected, const QString& excludedFolders);

} // namespace GameConfigSearch
