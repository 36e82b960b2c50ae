#include "GameConfigSearch.h"

#include "PathHelper.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace GameConfigSearch {

namespace {

struct Search
{
    QString rootKey;             // the root in "\" form, for the exclusion test
    QStringList searched;        // lower case, each followed by "\"
    QStringList excludedPaths;   // root\searched\excluded, as written
    const QStringList* preselected = nullptr;
    QSet<QString> walked;        // canonical paths of the folders walked
    QList<Entry> found;

    bool InSearchedFolder(const QString& relative) const
    {
        const QString probe = relative.toLower() + QLatin1Char('\\');
        return std::any_of(searched.begin(), searched.end(),
                           [&](const QString& s) { return probe.startsWith(s); });
    }

    bool Excluded(const QString& relative) const
    {
        const QString full = rootKey + QLatin1Char('\\') + relative;
        return std::any_of(excludedPaths.begin(), excludedPaths.end(),
                           [&](const QString& e) { return full.contains(e); });
    }

    // `relative` is empty for the root, else the folder's path below it.
    void Walk(const QString& nativeFolder, const QString& relative)
    {
        // Linked folders are followed (a linked etmain holds the configs the
        // game reads); one that leads back up the tree, or to a folder
        // already walked, is walked once.
        const QString canonical = QFileInfo(nativeFolder).canonicalFilePath();
        if (canonical.isEmpty() || walked.contains(canonical))
            return;
        walked.insert(canonical);
        QFileInfoList entries = QDir(nativeFolder).entryInfoList(
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
        // The order a Windows file system lists a folder in.
        std::sort(entries.begin(), entries.end(), [](const QFileInfo& a, const QFileInfo& b) {
            const int c = a.fileName().compare(b.fileName(), Qt::CaseInsensitive);
            return c != 0 ? c < 0 : a.fileName() < b.fileName();
        });
        for (const QFileInfo& info : entries) {
            const QString name = info.fileName();
            const QString path = relative.isEmpty() ? name : relative + QLatin1Char('\\') + name;
            // A link that leads nowhere is neither: no configuration the game could run.
            if (info.isDir()) {
                if (InSearchedFolder(path) && !Excluded(path))
                    Walk(info.filePath(), path);
            } else if (info.isFile() && name.size() > 4 && name.endsWith(QLatin1String(".cfg"), Qt::CaseInsensitive)) {
                found.append(Entry{path, preselected->contains(path)});
            }
        }
    }
};

} // namespace

QList<Entry> SearchConfigs(const QString& root, const QStringList& searchedFolders,
                           const QStringList& preselected, const QString& excludedFolders)
{
    const QString native = RuvPlatform::PathHelper::ToNative(root);
    if (native.isEmpty() || !QFileInfo(native).isDir())
        return {};

    Search s;
    s.rootKey = QString(root).replace(QLatin1Char('/'), QLatin1Char('\\'));
    while (s.rootKey.size() > 1 && s.rootKey.endsWith(QLatin1Char('\\')))
        s.rootKey.chop(1);
    for (const QString& folder : searchedFolders)
        s.searched << folder.toLower() + QLatin1Char('\\');
    // An empty element would exclude everything below the searched folders.
    for (const QString& excluded : excludedFolders.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        for (const QString& folder : searchedFolders)
            s.excludedPaths << s.rootKey + QLatin1Char('\\') + folder + QLatin1Char('\\') + excluded;
    s.preselected = &preselected;
    s.Walk(native, QString());
    return s.found;
}

} // namespace GameConfigSearch
