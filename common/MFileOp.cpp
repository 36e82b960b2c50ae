#include "MFileOp.h"

#include "MCommon.h"
#include "PathHelper.h"
#include "RuvError.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>
#include <cstdio>

namespace PathHelper = RuvPlatform::PathHelper;

namespace MFileOp {

namespace {

struct Entry {
    QString name;
    bool isFolder = false;
};

// Entries of a native folder that match a Windows pattern, in the order
// Windows file systems give them (by name, without regard to case).
QList<Entry> Search(const QString& nativeFolder, const QString& pattern)
{
    QList<Entry> found;
    const QDir dir(nativeFolder.isEmpty() ? QStringLiteral(".") : nativeFolder);
    const QFileInfoList infos = dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                                  QDir::Unsorted);
    for (const QFileInfo& info : infos) {
        if (PathHelper::WildcardMatch(pattern, info.fileName()))
            found.append(Entry{info.fileName(), info.isDir()});
    }
    std::sort(found.begin(), found.end(), [](const Entry& a, const Entry& b) {
        const int c = a.name.compare(b.name, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.name < b.name;
    });
    return found;
}

// Splits "folder\pattern" into the native folder and the last part.
void SplitLast(const QString& path, QString& nativeFolder, QString& last)
{
    const qsizetype sep = PathHelper::LastSeparator(path);
    if (sep < 0 && PathHelper::HasDriveLetter(path)) {
        nativeFolder = PathHelper::ToNative(path.left(2) + QLatin1Char('\\'));
        last = path.mid(2);
        return;
    }
    last = sep < 0 ? path : path.mid(sep + 1);
    const QString folder = sep < 0 ? QString() : path.left(sep + 1);
    nativeFolder = folder.isEmpty() ? QString() : PathHelper::ToNative(folder);
}

// The native paths that a path with wildcards in its last part stands for.
QStringList Targets(const QString& path)
{
    QString folder, last;
    SplitLast(path, folder, last);
    if (!PathHelper::HasWildcards(last)) {
        const QString native = PathHelper::ToNative(path);
        if (native.isEmpty() || !QFileInfo::exists(native))
            return {};
        QString p = native;
        while (p.size() > 1 && p.endsWith(QLatin1Char('/')))
            p.chop(1);
        return {p};
    }
    if (PathHelper::HasWildcards(folder))
        return {};
    QStringList out;
    for (const Entry& e : Search(folder, last))
        out.append(QDir(folder.isEmpty() ? QStringLiteral(".") : folder).filePath(e.name));
    return out;
}

void CheckFlags(int32_t flags, const char* source)
{
    if (flags < 0 || flags > 0xFFFF)
        throw RuvError(RuvError::Overflow, QStringLiteral("Overflow"), QString::fromLatin1(source));
}

bool IsRoot(const QString& native)
{
    const QString clean = QDir::cleanPath(native);
    if (clean == QLatin1String("/"))
        return true;
    for (const auto& d : PathHelper::LogicalDrives()) {
        if (QDir::cleanPath(d.rootPath) == clean)
            return true;
    }
    return false;
}

// Copies one file to `dest` through a temporary file in the target folder,
// so that an interrupted copy never leaves half a file under the name.
bool CopyFile(const QString& source, const QString& dest, bool replace)
{
    if (QFileInfo::exists(dest)) {
        if (!replace || QFileInfo(dest).isDir())
            return false;
    }
    const QFileInfo destInfo(dest);
    const QString temp = destInfo.absolutePath() + QStringLiteral("/.") + destInfo.fileName() + QStringLiteral(".copying");
    QFile::remove(temp);
    if (!QFile::copy(source, temp))
        return false;
    if (std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(dest).constData()) != 0) {
        QFile::remove(temp);
        return false;
    }
    return true;
}

bool CopyTree(const QString& source, const QString& dest, bool replace)
{
    const QFileInfo info(source);
    if (!info.isDir())
        return CopyFile(source, dest, replace);
    // Never copy a folder into itself.
    const QString canonicalSource = info.canonicalFilePath();
    const QString absDest = QFileInfo(dest).absoluteFilePath();
    if (absDest == canonicalSource || absDest.startsWith(canonicalSource + QLatin1Char('/')))
        return false;
    if (!QFileInfo(dest).isDir() && !QDir().mkpath(dest))
        return false;
    bool ok = true;
    const QDir dir(source);
    for (const QFileInfo& child :
         dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
        ok = CopyTree(child.filePath(), dest + QLatin1Char('/') + child.fileName(), replace) && ok;
    }
    return ok;
}

}  // namespace

bool ShellCopy(const QString& from, const QString& to, int32_t flags, QObject*)
{
    CheckFlags(flags, "MFileOp.ShellCopy");
    const QStringList sources = Targets(from);
    const QString target = PathHelper::ToNative(to);
    if (sources.isEmpty() || target.isEmpty())
        return false;
    QString last, folder;
    SplitLast(from, folder, last);
    const bool many = PathHelper::HasWildcards(last);
    const bool replace = flags & FofNoConfirmation;
    const QFileInfo targetInfo(target);
    if (many && !targetInfo.exists() && !QDir().mkpath(target))
        return false;
    const bool intoFolder = QFileInfo(target).isDir();
    if (!intoFolder && !PathHelper::IsValidWindowsName(QFileInfo(target).fileName()))
        return false;
    bool ok = true;
    for (const QString& source : sources) {
        const QString dest = intoFolder ? QDir(target).filePath(QFileInfo(source).fileName()) : target;
        ok = CopyTree(source, dest, replace) && ok;
    }
    return ok;
}

bool ShellDelete(const QString& path, int32_t flags, QObject*)
{
    CheckFlags(flags, "MFileOp.ShellDelete");
    QString folder, last;
    SplitLast(path, folder, last);
    const bool filesOnly = (flags & FofFilesOnly) && PathHelper::HasWildcards(last);
    const QStringList targets = Targets(path);
    if (targets.isEmpty())
        return false;
    bool ok = true;
    for (const QString& t : targets) {
        const QFileInfo info(t);
        if (IsRoot(t)) {
            ok = false;
            continue;
        }
        if (info.isDir() && !info.isSymLink()) {
            if (filesOnly)
                continue;
            ok = ((flags & FofAllowUndo) ? MoveToTrash(t) : QDir(t).removeRecursively()) && ok;
        } else {
            ok = ((flags & FofAllowUndo) ? MoveToTrash(t) : QFile::remove(t)) && ok;
        }
    }
    return ok;
}

bool MoveToTrash(const QString& nativePath)
{
    // Qt falls back to the home trash; when that cannot be made it still
    // moves the file, into a "files" folder of the current folder, and says
    // it succeeded. Make sure the home trash is there first.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty() || !QDir().mkpath(data + QStringLiteral("/Trash/files"))
        || !QDir().mkpath(data + QStringLiteral("/Trash/info")))
        return false;
    return QFile::moveToTrash(nativePath);
}

bool DrivesPresent(int32_t mask)
{
    const uint32_t present = PathHelper::LogicalDriveMask();
    return (static_cast<uint32_t>(mask) & present) == static_cast<uint32_t>(mask);
}

bool DriveExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    // A Linux path lives on the root or a volume below it.
    if (path.startsWith(QLatin1Char('/')))
        return true;
    const int index = path[0].toUpper().unicode() - 65;
    if (index < 0 || index > 25)
        return false;
    return DrivesPresent(static_cast<int32_t>(1u << index));
}

bool FileExists(const QString& path)
{
    QString folder, last;
    SplitLast(path, folder, last);
    if (last.isEmpty())
        return false;
    if (PathHelper::HasWildcards(last)) {
        if (PathHelper::HasWildcards(folder))
            return false;
        const QList<Entry> found = Search(folder, last);
        return !found.isEmpty() && !found.front().isFolder;
    }
    const QString native = PathHelper::ToNative(path);
    const QFileInfo info(native);
    return !native.isEmpty() && info.exists() && !info.isDir();
}

bool FolderExists(const QString& path)
{
    const QString trimmed = path.trimmed();
    if (!trimmed.isEmpty() && std::all_of(trimmed.begin(), trimmed.end(), [](QChar c) { return c == QLatin1Char('/'); }))
        return true;  // the Linux root
    const QString normal = NormalizePath(path);
    if (normal.isEmpty() || PathHelper::HasWildcards(normal))
        return false;
    if (normal.size() == 2 && PathHelper::HasDriveLetter(normal))
        return DriveExists(normal);
    const QString native = PathHelper::ToNative(normal);
    return !native.isEmpty() && QFileInfo(native).isDir();
}

bool CreateFolderPath(const QString& path)
{
    const QString normal = NormalizePath(path);
    QString parent;
    if (!GetParentFolder(normal, parent))
        return false;
    if (!PathHelper::IsValidWindowsName(GetFileName(normal)))
        return false;
    if (!FolderExists(parent) && !CreateFolderPath(parent))
        return false;
    const QString native = PathHelper::ToNative(normal);
    if (native.isEmpty() || QFileInfo::exists(native))
        return false;
    return QDir().mkdir(native);
}

double GetFileDate(const QString& path)
{
    const QString native = PathHelper::ToNative(path);
    const QFileInfo info(native);
    if (native.isEmpty() || !info.exists())
        return 0;
    QDateTime t = info.lastModified().toLocalTime();
    if (!t.isValid() || t.toSecsSinceEpoch() <= 0)
        return 0;
    t = t.addMSecs(-t.time().msec());
    return MCommon::ToOleDate(t);
}

namespace {

bool ReadBytes(const QString& path, int32_t maxBytes, QByteArray& out)
{
    if (!FileExists(path))
        return false;
    QFile file(PathHelper::ToNative(path));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // The size as the 32-bit interface had it: larger files read as nothing.
    const qint64 size = file.size();
    if (size < 1 || size > 0x7FFFFFFF)
        return false;
    qint64 count = size;
    if (maxBytes >= 1 && maxBytes < size)
        count = maxBytes;
    out = file.read(count);
    return !out.isEmpty();
}

QString g_lastWriteError;

bool WriteBytes(const QString& path, const QByteArray& data)
{
    g_lastWriteError.clear();
    const QString native = PathHelper::ToNative(path);
    if (native.isEmpty() || !PathHelper::IsValidWindowsName(GetFileName(path))) {
        g_lastWriteError = QStringLiteral("Invalid file name");
        return false;
    }
    QSaveFile file(native);
    if (!file.open(QIODevice::WriteOnly)) {
        g_lastWriteError = file.errorString();
        return false;
    }
    if (file.write(data) != data.size()) {
        g_lastWriteError = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        g_lastWriteError = file.errorString();
        return false;
    }
    return true;
}

}  // namespace

bool ReadFileData(const QString& path, QString& text, int32_t maxBytes)
{
    QByteArray bytes;
    if (!ReadBytes(path, maxBytes, bytes))
        return false;
    text = QString::fromLatin1(bytes);
    return true;
}

bool ReadFileData(const QString& path, QStringList& lines, int32_t maxBytes)
{
    QByteArray bytes;
    if (!ReadBytes(path, maxBytes, bytes))
        return false;
    // Any run of line ends counts as one; empty lines are dropped.
    lines.clear();
    qsizetype start = 0;
    for (qsizetype i = 0; i <= bytes.size(); ++i) {
        if (i == bytes.size() || bytes[i] == '\r' || bytes[i] == '\n') {
            if (i > start)
                lines.append(QString::fromLatin1(bytes.mid(start, i - start)));
            start = i + 1;
        }
    }
    return !lines.isEmpty();
}

bool ReadFileData(const QString& path, QByteArray& bytes, int32_t maxBytes)
{
    QByteArray read;
    if (!ReadBytes(path, maxBytes, read))
        return false;
    bytes = read;
    return true;
}

bool WriteFileData(const QString& path, const QString& text, bool)
{
    return WriteBytes(path, text.toLatin1());
}

bool WriteFileData(const QString& path, const QStringList& lines, bool)
{
    QString text;
    for (const QString& line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    return WriteBytes(path, text.toLatin1());
}

bool WriteFileData(const QString& path, const QByteArray& bytes, bool)
{
    return WriteBytes(path, bytes);
}

QString LastWriteError()
{
    return g_lastWriteError;
}

QString GetFolderPart(const QString& path)
{
    if (path == QLatin1String("\\") || path == QLatin1String("/"))
        return {};
    if (path.size() <= 1)
        return path;
    const qsizetype sep = PathHelper::LastSeparator(path);
    return sep >= 1 ? path.left(sep) : QString();
}

bool GetExistingFolder(const QString& path, QString& result)
{
    result.clear();
    QString p = path;
    while (!FolderExists(p)) {
        QString parent;
        if (!GetParentFolder(p, parent))
            return false;
        p = parent;
    }
    result = p;
    return true;
}

namespace {

void ListInto(QStringList& list, const QString& folder, bool recursive, QSet<QString>& seen)
{
    const QString normal = NormalizePath(folder);
    list.append(normal);
    const QString native = PathHelper::ToNative(normal.isEmpty() ? folder : normal);
    if (native.isEmpty())
        return;
    // A link that leads back up the tree is listed once, never followed again.
    const QString canonical = QFileInfo(native).canonicalFilePath();
    if (canonical.isEmpty() || seen.contains(canonical))
        return;
    seen.insert(canonical);
    for (const Entry& e : Search(native, QStringLiteral("*.*"))) {
        if (!e.isFolder)
            continue;
        const QString child = PathHelper::Join(normal, NormalizePath(e.name));
        if (recursive)
            ListInto(list, child, true, seen);
        else
            list.append(child);
    }
}

}  // namespace

bool ListFolder(QStringList& list, const QString& folder, bool recursive)
{
    QSet<QString> seen;
    ListInto(list, folder, recursive, seen);
    return true;
}

bool FindFilesRecursive(QStringList& result, const QString& folder, bool recursive, const QStringList& patterns)
{
    QStringList folders;
    if (recursive)
        ListFolder(folders, folder, true);
    else
        folders.append(folder);
    const QString pattern = patterns.size() == 1 ? patterns.front() : QStringLiteral("*.*");
    QStringList wanted;
    for (const QString& p : patterns)
        wanted.append(p.toLower());
    QStringList found;
    for (const QString& f : folders) {
        const QString native = PathHelper::ToNative(f);
        if (native.isEmpty())
            continue;
        for (const Entry& e : Search(native, pattern)) {
            if (e.isFolder)
                continue;
            if (patterns.size() >= 2) {
                const qsizetype dot = e.name.lastIndexOf(QLatin1Char('.'));
                if (dot < 0 || !wanted.contains(e.name.mid(dot + 1).toLower()))
                    continue;
            }
            found.append(PathHelper::Join(f, e.name));
        }
    }
    if (found.isEmpty())
        return false;
    result = found;
    return true;
}

QString GetFileName(const QString& path)
{
    if (path == QLatin1String("\\") || path == QLatin1String("/"))
        return {};
    QString p = path;
    // A path that ends in a separator names its last folder.
    const bool endsInSep = !p.isEmpty() && (p.back() == QLatin1Char('\\') || p.back() == QLatin1Char('/'));
    if (endsInSep)
        p.chop(1);
    const qsizetype sep = PathHelper::LastSeparator(p);
    QString name = sep < 0 ? p : p.mid(sep + 1);
    return MCommon::TrimNull(name);
}

QString GetExtension(const QString& path)
{
    const qsizetype d = path.lastIndexOf(QLatin1Char('.'));
    const qsizetype s = PathHelper::LastSeparator(path);
    if (d >= 0 && d > s)
        return path.mid(d + 1);
    return path;
}

QString RemoveExtension(const QString& path)
{
    const qsizetype d = path.lastIndexOf(QLatin1Char('.'));
    const qsizetype s = PathHelper::LastSeparator(path);
    if (d >= 1 && d > s)
        return path.left(d);
    return path;
}

bool GetParentFolder(const QString& path, QString& parent)
{
    parent = NormalizePath(path);
    const qsizetype sep = PathHelper::LastSeparator(parent);
    if (sep < 0)
        return false;
    if (sep >= 2) {
        parent = parent.left(sep);
        return true;
    }
    parent.clear();
    return false;
}

QString NormalizePath(const QString& path)
{
    // Blanks only, as the program's own trimming has it; tabs stay.
    qsizetype begin = 0, end = path.size();
    while (begin < end && path[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && path[end - 1] == QLatin1Char(' '))
        --end;
    QString p = path.mid(begin, end - begin);
    while (!p.isEmpty() && (p.back() == QLatin1Char('\\') || p.back() == QLatin1Char('/')))
        p.chop(1);
    return p;
}

QString SpecialFolderPath(int32_t csidl)
{
    if (csidl < -32768 || csidl > 65535)
        throw RuvError(RuvError::Overflow, QStringLiteral("Overflow"), QStringLiteral("MFileOp.SpecialFolderPath"));
    QStandardPaths::StandardLocation where = QStandardPaths::HomeLocation;
    switch (csidl) {
    case CsidlDrives: return QStringLiteral("/");
    case CsidlDesktop: where = QStandardPaths::DesktopLocation; break;
    case CsidlPersonal: where = QStandardPaths::DocumentsLocation; break;
    case CsidlMyMusic: where = QStandardPaths::MusicLocation; break;
    case CsidlMyVideo: where = QStandardPaths::MoviesLocation; break;
    case CsidlAppData: where = QStandardPaths::GenericConfigLocation; break;
    case CsidlMyPictures: where = QStandardPaths::PicturesLocation; break;
    default: break;
    }
    const QString path = QStandardPaths::writableLocation(where);
    return path.isEmpty() ? QDir::homePath() : path;
}

}  // namespace MFileOp
