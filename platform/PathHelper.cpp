#include "PathHelper.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStorageInfo>

#include <algorithm>

namespace RuvPlatform::PathHelper {

namespace {

bool IsSeparator(QChar c)
{
    return c == QLatin1Char('\\') || c == QLatin1Char('/');
}

bool IsLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
}

// Volumes a user means by a drive: real file systems other than the root,
// not the kernel's pseudo file systems.
bool IsUserVolume(const QStorageInfo& v)
{
    if (!v.isValid() || !v.isReady() || v.rootPath() == QLatin1String("/"))
        return false;
    static const QStringList pseudo = {
        QStringLiteral("proc"), QStringLiteral("sysfs"), QStringLiteral("devtmpfs"), QStringLiteral("devpts"),
        QStringLiteral("tmpfs"), QStringLiteral("cgroup"), QStringLiteral("cgroup2"), QStringLiteral("overlay"),
        QStringLiteral("squashfs"), QStringLiteral("mqueue"), QStringLiteral("debugfs"), QStringLiteral("tracefs"),
        QStringLiteral("securityfs"), QStringLiteral("pstore"), QStringLiteral("bpf"), QStringLiteral("autofs"),
        QStringLiteral("hugetlbfs"), QStringLiteral("fusectl"), QStringLiteral("configfs"), QStringLiteral("binfmt_misc"),
        QStringLiteral("nsfs"), QStringLiteral("ramfs"), QStringLiteral("efivarfs"),
    };
    const QString type = QString::fromLatin1(v.fileSystemType());
    if (pseudo.contains(type))
        return false;
    const QString root = v.rootPath();
    return !(root.startsWith(QLatin1String("/proc")) || root.startsWith(QLatin1String("/sys"))
             || root.startsWith(QLatin1String("/dev")) || root.startsWith(QLatin1String("/run")));
}

// Finds `part` in `folder`: as written when it exists, else the one entry
// whose name equals it without regard to case.
QString ResolvePart(const QString& folder, const QString& part)
{
    if (part == QLatin1String(".") || part == QLatin1String(".."))
        return part;
    const QString direct = folder.isEmpty() ? part : folder + QLatin1Char('/') + part;
    if (QFileInfo::exists(direct))
        return part;
    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    if (!dir.exists())
        return part;
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& e : entries) {
        if (e.compare(part, Qt::CaseInsensitive) == 0)
            return e;
    }
    return part;
}

// The match of pattern[p..] against name[n..], "*" by backtracking over its
// last position only (linear in practice).
bool MatchFrom(QStringView pattern, QStringView name)
{
    qsizetype p = 0, n = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == QLatin1Char('*')) {
            starP = p++;
            starN = n;
        } else if (p < pattern.size()
                   && (pattern[p] == QLatin1Char('?')
                       || pattern[p].toCaseFolded() == name[n].toCaseFolded())) {
            ++p;
            ++n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}

}  // namespace

QList<Drive> LogicalDrives()
{
    QList<Drive> drives{Drive{QLatin1Char('C'), QStringLiteral("/")}};
    QStringList roots;
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
        if (IsUserVolume(v) && !roots.contains(v.rootPath()))
            roots.append(v.rootPath());
    }
    std::sort(roots.begin(), roots.end());
    char16_t letter = u'D';
    for (const QString& root : roots) {
        if (letter > u'Z')
            break;
        drives.append(Drive{QChar(letter++), root});
    }
    return drives;
}

uint32_t LogicalDriveMask()
{
    uint32_t mask = 0;
    for (const Drive& d : LogicalDrives())
        mask |= 1u << (d.letter.unicode() - u'A');
    return mask;
}

bool HasDriveLetter(const QString& path)
{
    return path.size() >= 2 && IsLetter(path[0]) && path[1] == QLatin1Char(':');
}

bool StaysInside(const QString& relative)
{
    if (relative.startsWith(QLatin1Char('/')) || relative.startsWith(QLatin1Char('\\')) || HasDriveLetter(relative))
        return false;
    static const QRegularExpression separators(QStringLiteral("[\\\\/]"));
    return !relative.split(separators).contains(QStringLiteral(".."));
}

QString ToNative(const QString& path)
{
    if (path.isEmpty())
        return {};
    QString rest = path;
    QString root;
    if (HasDriveLetter(path)) {
        const QChar letter = path[0].toUpper();
        for (const Drive& d : LogicalDrives()) {
            if (d.letter == letter)
                root = d.rootPath;
        }
        if (root.isEmpty())
            return {};
        rest = path.mid(2);
    } else if (IsSeparator(path[0])) {
        root = QStringLiteral("/");
    }
    rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QStringList parts = rest.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString out = root;
    for (const QString& part : parts) {
        const QString folder = out;
        const QString resolved = ResolvePart(folder, part);
        if (!out.isEmpty() && !out.endsWith(QLatin1Char('/')))
            out += QLatin1Char('/');
        out += resolved;
    }
    // A trailing separator is kept: it tells a folder.
    if (IsSeparator(path.back()) && !out.endsWith(QLatin1Char('/')))
        out += QLatin1Char('/');
    return out;
}

QString ToWindows(const QString& nativePath)
{
    if (HasDriveLetter(nativePath) || !nativePath.startsWith(QLatin1Char('/'))) {
        QString p = nativePath;
        return p.replace(QLatin1Char('/'), QLatin1Char('\\'));
    }
    // The volume with the longest root that holds the path.
    Drive best{QLatin1Char('C'), QStringLiteral("/")};
    for (const Drive& d : LogicalDrives()) {
        const QString& r = d.rootPath;
        if (r != QLatin1String("/") && (nativePath == r || nativePath.startsWith(r + QLatin1Char('/')))
            && r.size() > best.rootPath.size())
            best = d;
    }
    QString rest = best.rootPath == QLatin1String("/") ? nativePath : nativePath.mid(best.rootPath.size());
    rest.replace(QLatin1Char('/'), QLatin1Char('\\'));
    if (!rest.startsWith(QLatin1Char('\\')))
        rest.prepend(QLatin1Char('\\'));
    return QString(best.letter) + QLatin1Char(':') + rest;
}

QChar SeparatorOf(const QString& path)
{
    if (HasDriveLetter(path))
        return QLatin1Char('\\');
    if (path.contains(QLatin1Char('\\')) && !path.contains(QLatin1Char('/')))
        return QLatin1Char('\\');
    return QLatin1Char('/');
}

QString Join(const QString& folder, const QString& name)
{
    if (folder.isEmpty())
        return name;
    if (IsSeparator(folder.back()))
        return folder + name;
    return folder + SeparatorOf(folder) + name;
}

qsizetype LastSeparator(const QString& path)
{
    return std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
}

bool WildcardMatch(const QString& pattern, const QString& name)
{
    if (pattern.endsWith(QLatin1String(".*"))) {
        // "x.*" also matches "x": Windows treats the dot as optional here.
        if (MatchFrom(pattern, name))
            return true;
        return MatchFrom(QStringView(pattern).chopped(2), name) && !name.isEmpty();
    }
    if (pattern.endsWith(QLatin1Char('.')) && pattern.size() > 1 && pattern != QLatin1String("..")) {
        return !name.contains(QLatin1Char('.')) && MatchFrom(QStringView(pattern).chopped(1), name);
    }
    return MatchFrom(pattern, name);
}

bool HasWildcards(const QString& text)
{
    return text.contains(QLatin1Char('*')) || text.contains(QLatin1Char('?'));
}

bool IsValidWindowsName(const QString& name)
{
    if (name.isEmpty() || name.endsWith(QLatin1Char(' ')) || (name.endsWith(QLatin1Char('.')) && name != QLatin1String(".")
                                                               && name != QLatin1String("..")))
        return false;
    for (QChar c : name) {
        if (c.unicode() < 0x20 || QStringView(u"<>:\"/\\|?*").contains(c))
            return false;
    }
    return true;
}

bool IsValidWindowsPath(const QString& path)
{
    QString rest = HasDriveLetter(path) ? path.mid(2) : path;
    rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QStringList parts = rest.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return !path.trimmed().isEmpty();
    return std::all_of(parts.begin(), parts.end(), IsValidWindowsName);
}

}  // namespace RuvPlatform::PathHelper
