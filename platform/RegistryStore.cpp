#include "RegistryStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <map>
#include <utility>
#include <vector>

#include <sys/stat.h>

namespace RuvPlatform {

// ---------------------------------------------------------------------------
// Hive names

namespace {

struct HiveRow {
    const char* longName;
    const char* shortName;
    RegistryHive hive;
};

// Searched in this order: the first row whose long or short name matches.
constexpr HiveRow kHiveTable[] = {
    {"HKEY_CLASSES_ROOT", "HKCR", RegistryHive::ClassesRoot},
    {"HKEY_CURRENT_USER", "HKCU", RegistryHive::CurrentUser},
    {"HKEY_LOCAL_MACHINE", "HKLM", RegistryHive::LocalMachine},
    {"HKEY_PERF_ROOT", "HKPR", RegistryHive::LocalMachine},
    {"HKEY_USERS", "HKU", RegistryHive::Users},
    {"HKEY_PERFORMANCE_DATA", "HKPD", RegistryHive::PerformanceData},
    {"HKEY_CURRENT_CONFIG", "HKCC", RegistryHive::CurrentConfig},
    {"HKEY_DYN_DATA", "HKDD", RegistryHive::DynData},
};

// Deeper paths than Windows allows are refused rather than recursed into.
constexpr int kMaxKeyDepth = 512;
// A settings file beyond this is not ours; it is refused, not rewritten.
constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;
constexpr int kFormatVersion = 1;

}  // namespace

QString RegistryHiveName(RegistryHive hive)
{
    for (const HiveRow& row : kHiveTable) {
        if (row.hive == hive)
            return QString::fromLatin1(row.longName);
    }
    return {};
}

std::optional<RegistryHive> RegistryHiveFromName(const QString& name)
{
    const QString upper = name.toUpper();
    for (const HiveRow& row : kHiveTable) {
        if (upper == QLatin1String(row.longName) || upper == QLatin1String(row.shortName))
            return row.hive;
    }
    return std::nullopt;
}

bool SplitRegistryPath(const QString& path, RegistryHive& hive, QString& subkey)
{
    QString p = path;
    if (p.endsWith(QLatin1Char('\\')))
        p.chop(1);
    const qsizetype slash = p.indexOf(QLatin1Char('\\'));
    const QString hiveName = slash < 0 ? p : p.left(slash);
    subkey = slash < 0 ? QString() : p.mid(slash + 1);
    const auto found = RegistryHiveFromName(hiveName);
    if (!found)
        return false;
    hive = *found;
    return true;
}

// ---------------------------------------------------------------------------
// Values

RegistryValue RegistryValue::MakeText(QString text, bool expandable)
{
    RegistryValue v;
    v.type = expandable ? RegistryType::ExpandText : RegistryType::Text;
    v.text = std::move(text);
    return v;
}

RegistryValue RegistryValue::MakeNumber(uint32_t number)
{
    RegistryValue v;
    v.type = RegistryType::Number;
    v.number = number;
    return v;
}

RegistryValue RegistryValue::MakeBinary(QByteArray bytes)
{
    return MakeRaw(RegistryType::Binary, std::move(bytes));
}

RegistryValue RegistryValue::MakeTextList(QStringList items)
{
    RegistryValue v;
    v.type = RegistryType::TextList;
    v.items = std::move(items);
    return v;
}

RegistryValue RegistryValue::MakeRaw(uint32_t type, QByteArray bytes)
{
    RegistryValue v;
    v.type = type;
    v.bytes = std::move(bytes);
    return v;
}

bool operator==(const RegistryValue& a, const RegistryValue& b)
{
    if (a.type != b.type)
        return false;
    switch (a.type) {
    case RegistryType::Text:
    case RegistryType::ExpandText:
        return a.text == b.text;
    case RegistryType::Number:
        return a.number == b.number;
    case RegistryType::TextList:
        return a.items == b.items;
    default:
        return a.bytes == b.bytes;
    }
}

// ---------------------------------------------------------------------------
// The key tree

struct RegistryStore::Key {
    QString name;
    QList<RegistryEntry> values;
    std::vector<std::unique_ptr<Key>> children;

    Key* Child(const QString& childName)
    {
        for (auto& c : children) {
            if (c->name.compare(childName, Qt::CaseInsensitive) == 0)
                return c.get();
        }
        return nullptr;
    }

    Key* AddChild(const QString& childName)
    {
        children.push_back(std::make_unique<Key>());
        children.back()->name = childName;
        return children.back().get();
    }

    RegistryEntry* Entry(const QString& valueName)
    {
        for (RegistryEntry& e : values) {
            if (e.name.compare(valueName, Qt::CaseInsensitive) == 0)
                return &e;
        }
        return nullptr;
    }
};

namespace {

using Key = RegistryStore::Key;

// Empty parts (a doubled or leading backslash) are skipped, as the registry
// functions do for the paths the program builds.
std::optional<QStringList> SplitSubkey(const QString& subkey)
{
    QStringList parts = subkey.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    if (parts.size() > kMaxKeyDepth)
        return std::nullopt;
    return parts;
}

Key* FindKey(Key* hive, const QString& subkey)
{
    if (!hive)
        return nullptr;
    const auto parts = SplitSubkey(subkey);
    if (!parts)
        return nullptr;
    Key* k = hive;
    for (const QString& part : *parts) {
        k = k->Child(part);
        if (!k)
            return nullptr;
    }
    return k;
}

Key* MakeKey(Key* hive, const QString& subkey, bool& created)
{
    created = false;
    const auto parts = SplitSubkey(subkey);
    if (!parts)
        return nullptr;
    Key* k = hive;
    for (const QString& part : *parts) {
        Key* next = k->Child(part);
        if (!next) {
            next = k->AddChild(part);
            created = true;
        }
        k = next;
    }
    return k;
}

// --- Text that XML cannot carry as it is -----------------------------------
// Control characters and lone surrogates are not allowed in XML 1.0, and a
// carriage return would be folded into a line feed by any reader. Such texts
// are written as UTF-16 code units in hex instead.

bool NeedsHex(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < 0x20 && c != u'\t' && c != u'\n')
            return true;
        if (c == 0xFFFE || c == 0xFFFF)
            return true;
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 >= text.size() || !QChar::isLowSurrogate(text.at(i + 1).unicode()))
                return true;
            ++i;
        } else if (QChar::isLowSurrogate(c)) {
            return true;
        }
    }
    return false;
}

QString Utf16ToHex(const QString& text)
{
    QString out;
    out.reserve(text.size() * 5);
    for (QChar c : text) {
        if (!out.isEmpty())
            out += QLatin1Char(' ');
        out += QStringLiteral("%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
    return out;
}

std::optional<QString> HexToUtf16(QStringView hex)
{
    QString out;
    for (QStringView part : hex.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        bool ok = false;
        const uint code = part.toUInt(&ok, 16);
        if (!ok || part.size() != 4 || code > 0xFFFF)
            return std::nullopt;
        out += QChar(static_cast<char16_t>(code));
    }
    return out;
}

QString BytesToHex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

std::optional<QByteArray> HexToBytes(QStringView hex)
{
    QByteArray out;
    for (QStringView part : hex.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        // Long runs without blanks are accepted too, two digits a byte.
        if (part.size() % 2 != 0)
            return std::nullopt;
        for (qsizetype i = 0; i < part.size(); i += 2) {
            bool ok = false;
            const uint b = part.mid(i, 2).toUInt(&ok, 16);
            if (!ok)
                return std::nullopt;
            out.append(static_cast<char>(b));
        }
    }
    return out;
}

QString TypeTag(uint32_t type)
{
    switch (type) {
    case RegistryType::Text: return QStringLiteral("text");
    case RegistryType::ExpandText: return QStringLiteral("expandtext");
    case RegistryType::Binary: return QStringLiteral("binary");
    case RegistryType::Number: return QStringLiteral("number");
    case RegistryType::TextList: return QStringLiteral("textlist");
    default: return QString::number(type);
    }
}

std::optional<uint32_t> TypeFromTag(QStringView tag)
{
    if (tag == u"text") return RegistryType::Text;
    if (tag == u"expandtext") return RegistryType::ExpandText;
    if (tag == u"binary") return RegistryType::Binary;
    if (tag == u"number") return RegistryType::Number;
    if (tag == u"textlist") return RegistryType::TextList;
    bool ok = false;
    const uint code = tag.toUInt(&ok, 10);
    if (!ok || code == RegistryType::Text || code == RegistryType::ExpandText || code == RegistryType::Binary
        || code == RegistryType::Number || code == RegistryType::TextList)
        return std::nullopt;  // the five known types are written by name only
    return code;
}

void WriteName(QXmlStreamWriter& w, const QString& name)
{
    if (NeedsHex(name))
        w.writeAttribute(QStringLiteral("name-utf16"), Utf16ToHex(name));
    else
        w.writeAttribute(QStringLiteral("name"), name);
}

void WriteTextContent(QXmlStreamWriter& w, const QString& element, const QString& text)
{
    w.writeStartElement(element);
    if (NeedsHex(text)) {
        w.writeAttribute(QStringLiteral("encoding"), QStringLiteral("utf16"));
        w.writeCharacters(Utf16ToHex(text));
    } else {
        w.writeCharacters(text);
    }
    w.writeEndElement();
}

void WriteKey(QXmlStreamWriter& w, const Key& key)
{
    w.writeStartElement(QStringLiteral("key"));
    WriteName(w, key.name);
    for (const RegistryEntry& e : key.values) {
        const RegistryValue& v = e.value;
        w.writeStartElement(QStringLiteral("value"));
        WriteName(w, e.name);
        w.writeAttribute(QStringLiteral("type"), TypeTag(v.type));
        switch (v.type) {
        case RegistryType::Text:
        case RegistryType::ExpandText:
            if (NeedsHex(v.text)) {
                w.writeAttribute(QStringLiteral("encoding"), QStringLiteral("utf16"));
                w.writeCharacters(Utf16ToHex(v.text));
            } else {
                w.writeCharacters(v.text);
            }
            break;
        case RegistryType::Number:
            w.writeCharacters(QString::number(v.number));
            break;
        case RegistryType::TextList:
            for (const QString& item : v.items)
                WriteTextContent(w, QStringLiteral("item"), item);
            break;
        default:
            w.writeCharacters(BytesToHex(v.bytes));
            break;
        }
        w.writeEndElement();
    }
    for (const auto& child : key.children)
        WriteKey(w, *child);
    w.writeEndElement();
}

// --- Reading ---------------------------------------------------------------

class Parser
{
public:
    explicit Parser(const QByteArray& data) : r(data) {}

    // The tree, or nothing with `error` set. `tooNew` tells a file of a
    // later format, which must be left alone rather than replaced.
    std::unique_ptr<Key> Parse(QString& error, bool& tooNew)
    {
        tooNew = false;
        auto root = std::make_unique<Key>();
        if (!NextElement() || r.name() != u"registry")
            return Fail(error, QStringLiteral("the file does not begin with a <registry> element"));
        bool ok = false;
        const int version = r.attributes().value(QLatin1String("version")).toInt(&ok);
        if (!ok || version < 1)
            return Fail(error, QStringLiteral("the format version is missing"));
        if (version > kFormatVersion) {
            tooNew = true;
            return Fail(error, QStringLiteral("it was written in a later format (version %1)").arg(version));
        }
        if (!ReadKeyBody(*root, 0))
            return Fail(error, m_problem);
        // Nothing but comments and white space may follow.
        while (!r.atEnd()) {
            r.readNext();
            if (r.isStartElement())
                return Fail(error, QStringLiteral("there is more after the </registry> element"));
        }
        if (r.hasError())
            return Fail(error, r.errorString());
        return root;
    }

private:
    QXmlStreamReader r;
    QString m_problem;

    std::unique_ptr<Key> Fail(QString& error, const QString& why)
    {
        QString reason = r.hasError() ? r.errorString() : why;
        while (reason.endsWith(QLatin1Char('.')))
            reason.chop(1);
        error = QStringLiteral("%1 (line %2)").arg(reason).arg(r.lineNumber());
        return nullptr;
    }

    bool Problem(const QString& why)
    {
        if (m_problem.isEmpty())
            m_problem = why;
        return false;
    }

    // Moves to the next start element; false at the end of the document.
    bool NextElement()
    {
        while (!r.atEnd()) {
            r.readNext();
            if (r.isStartElement())
                return true;
        }
        return false;
    }

    std::optional<QString> ReadName()
    {
        const auto attrs = r.attributes();
        if (attrs.hasAttribute(QLatin1String("name")))
            return attrs.value(QLatin1String("name")).toString();
        if (attrs.hasAttribute(QLatin1String("name-utf16")))
            return HexToUtf16(attrs.value(QLatin1String("name-utf16")));
        return std::nullopt;
    }

    // Reads the text content of the current element; false when it holds
    // elements.
    std::optional<QString> ReadText()
    {
        const bool hex = r.attributes().value(QLatin1String("encoding")) == u"utf16";
        const QString text = r.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
        if (r.hasError())
            return std::nullopt;
        if (hex)
            return HexToUtf16(text);
        return text;
    }

    // Reads the children of the current <registry> or <key> element up to
    // its end element.
    bool ReadKeyBody(Key& key, int depth)
    {
        if (depth > kMaxKeyDepth)
            return Problem(QStringLiteral("keys are nested too deeply"));
        while (!r.atEnd()) {
            r.readNext();
            if (r.isEndElement())
                return true;
            if (r.isCharacters()) {
                if (!r.isWhitespace())
                    return Problem(QStringLiteral("unexpected text between keys"));
                continue;
            }
            if (!r.isStartElement())
                continue;
            if (r.name() == u"key") {
                const auto name = ReadName();
                if (!name || name->isEmpty() || name->contains(QLatin1Char('\\')))
                    return Problem(QStringLiteral("a key has no valid name"));
                // A name written twice (by hand) joins the first key.
                Key* child = key.Child(*name);
                if (!child)
                    child = key.AddChild(*name);
                if (!ReadKeyBody(*child, depth + 1))
                    return false;
            } else if (r.name() == u"value" && depth > 0) {
                if (!ReadValue(key))
                    return false;
            } else {
                return Problem(QStringLiteral("unexpected element <%1>").arg(r.name()));
            }
        }
        return Problem(QStringLiteral("the file ends inside a key"));
    }

    bool ReadValue(Key& key)
    {
        const auto name = ReadName();
        if (!name)
            return Problem(QStringLiteral("a value has no name"));
        const auto type = TypeFromTag(r.attributes().value(QLatin1String("type")));
        if (!type)
            return Problem(QStringLiteral("the value \"%1\" has an unknown type").arg(*name));
        RegistryValue v;
        v.type = *type;
        switch (*type) {
        case RegistryType::Text:
        case RegistryType::ExpandText: {
            const auto text = ReadText();
            if (!text)
                return Problem(QStringLiteral("the value \"%1\" is not a text").arg(*name));
            v.text = *text;
            break;
        }
        case RegistryType::Number: {
            const auto text = ReadText();
            bool ok = false;
            v.number = text ? text->trimmed().toUInt(&ok, 10) : 0;
            if (!ok)
                return Problem(QStringLiteral("the value \"%1\" is not a 32-bit number").arg(*name));
            break;
        }
        case RegistryType::TextList:
            while (!r.atEnd()) {
                r.readNext();
                if (r.isEndElement())
                    break;
                if (r.isCharacters() && r.isWhitespace())
                    continue;
                if (!r.isStartElement() || r.name() != u"item")
                    return Problem(QStringLiteral("the text list \"%1\" holds something else than items").arg(*name));
                const auto item = ReadText();
                if (!item)
                    return Problem(QStringLiteral("an item of \"%1\" is not a text").arg(*name));
                v.items.append(*item);
            }
            break;
        default: {
            const auto text = ReadText();
            const auto bytes = text ? HexToBytes(*text) : std::nullopt;
            if (!bytes)
                return Problem(QStringLiteral("the value \"%1\" is not written as hex bytes").arg(*name));
            v.bytes = *bytes;
            break;
        }
        }
        if (r.hasError())
            return false;
        if (RegistryEntry* existing = key.Entry(*name))
            existing->value = v;
        else
            key.values.append(RegistryEntry{*name, v});
        return true;
    }
};

// One mutex per store file for the whole process: lock files guard against
// other processes, this against other store objects and threads of our own.
QRecursiveMutex& FileMutex(const QString& path)
{
    static QMutex mapMutex;
    static std::map<QString, std::unique_ptr<QRecursiveMutex>> mutexes;
    QMutexLocker lock(&mapMutex);
    auto& m = mutexes[QFileInfo(path).absoluteFilePath()];
    if (!m)
        m = std::make_unique<QRecursiveMutex>();
    return *m;
}

}  // namespace

// ---------------------------------------------------------------------------
// The store

RegistryStore::RegistryStore(QString filePath) : m_filePath(std::move(filePath)), m_root(std::make_unique<Key>()) {}

RegistryStore::~RegistryStore() = default;

QString RegistryStore::DefaultFilePath()
{
    const QString moved = qEnvironmentVariable("RUVADIR_REGISTRY");
    QString folder;
    if (!moved.isEmpty()) {
        folder = moved;
    } else {
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                 + QStringLiteral("/Viziviz/Ruvadir");
    }
    return QDir(folder).absoluteFilePath(QStringLiteral("registry.xml"));
}

RegistryStore& RegistryStore::Instance()
{
    static QMutex mutex;
    static std::map<QString, std::unique_ptr<RegistryStore>> stores;
    const QString path = DefaultFilePath();
    QMutexLocker lock(&mutex);
    auto& store = stores[path];
    if (!store)
        store = std::make_unique<RegistryStore>(path);
    return *store;
}

QString RegistryStore::LastError() const
{
    QMutexLocker lock(&m_mutex);
    return m_lastError;
}

bool RegistryStore::IsDamaged() const
{
    QMutexLocker lock(&m_mutex);
    return m_damaged;
}

RegistryStore::Key* RegistryStore::Hive(RegistryHive hive, bool create)
{
    const QString name = RegistryHiveName(hive);
    Key* k = m_root->Child(name);
    if (!k && create)
        k = m_root->AddChild(name);
    return k;
}

RegistryStore::LoadResult RegistryStore::LoadFile(QString& error)
{
    QFile file(m_filePath);
    if (!file.exists())
        return LoadResult::Missing;
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return LoadResult::Unreadable;
    }
    if (file.size() > kMaxFileSize) {
        error = QStringLiteral("the file is larger than %1 bytes").arg(kMaxFileSize);
        return LoadResult::Unreadable;
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return LoadResult::Unreadable;
    }
    bool tooNew = false;
    Parser parser(data);
    auto root = parser.Parse(error, tooNew);
    if (!root)
        return tooNew ? LoadResult::Unreadable : LoadResult::Damaged;
    m_root = std::move(root);
    return LoadResult::Ok;
}

// Brings the tree up to date with the file; false when the file exists but
// cannot be read at all (reads then see nothing, writes are refused).
bool RegistryStore::RefreshLocked()
{
    FileStamp stamp;
    struct stat st {};
    const QByteArray native = QFile::encodeName(m_filePath);
    if (::stat(native.constData(), &st) == 0) {
        stamp.exists = true;
        stamp.device = static_cast<quint64>(st.st_dev);
        stamp.inode = static_cast<quint64>(st.st_ino);
        stamp.size = static_cast<quint64>(st.st_size);
        stamp.mtimeSec = static_cast<qint64>(st.st_mtim.tv_sec);
        stamp.mtimeNsec = static_cast<qint64>(st.st_mtim.tv_nsec);
    }
    if (m_loadedStamp && *m_loadedStamp == stamp)
        return !(m_damaged && m_damageText.startsWith(QLatin1Char('!')));

    m_root = std::make_unique<Key>();
    m_damaged = false;
    const QString reported = std::exchange(m_damageText, QString());
    QString error;
    const LoadResult result = stamp.exists ? LoadFile(error) : LoadResult::Missing;
    m_loadedStamp = stamp;
    switch (result) {
    case LoadResult::Ok:
    case LoadResult::Missing:
        return true;
    case LoadResult::Damaged:
        m_root = std::make_unique<Key>();
        m_damaged = true;
        m_damageText = QStringLiteral("The settings file \"%1\" is damaged and was not used: %2.")
                           .arg(QDir::toNativeSeparators(m_filePath), error);
        m_lastError = m_damageText;
        if (m_damageText != reported)
            qWarning("%s", qPrintable(m_damageText));
        return true;
    case LoadResult::Unreadable:
        m_root = std::make_unique<Key>();
        m_damaged = true;
        // The leading mark tells a file that must not be replaced.
        m_damageText = QStringLiteral("!The settings file \"%1\" cannot be read: %2.")
                           .arg(QDir::toNativeSeparators(m_filePath), error);
        m_lastError = m_damageText.mid(1);
        if (m_damageText != reported)
            qWarning("%s", qPrintable(m_lastError));
        return false;
    }
    return false;
}

bool RegistryStore::SaveFile()
{
    QByteArray data;
    {
        QXmlStreamWriter w(&data);
        w.setAutoFormatting(true);
        w.setAutoFormattingIndent(1);
        w.writeStartDocument();
        w.writeComment(QStringLiteral(" Ruvadir settings. Types: text, expandtext, binary (hex bytes), number "
                                      "(32-bit, decimal), textlist (items); other codes hold hex bytes. "));
        w.writeStartElement(QStringLiteral("registry"));
        w.writeAttribute(QStringLiteral("version"), QString::number(kFormatVersion));
        for (const auto& hive : m_root->children)
            WriteKey(w, *hive);
        w.writeEndElement();
        w.writeEndDocument();
    }
    QSaveFile file(m_filePath);
    if (!file.open(QIODevice::WriteOnly)) {
        m_lastError = QStringLiteral("The settings file \"%1\" cannot be written: %2.")
                          .arg(QDir::toNativeSeparators(m_filePath), file.errorString());
        return false;
    }
    if (file.write(data) != data.size() || !file.commit()) {
        m_lastError = QStringLiteral("The settings file \"%1\" cannot be written: %2.")
                          .arg(QDir::toNativeSeparators(m_filePath), file.errorString());
        file.cancelWriting();
        return false;
    }
    return true;
}

// Takes the file lock and brings the tree up to date; the caller holds the
// mutexes.
bool RegistryStore::BeginLocked(std::unique_ptr<QLockFile>& lockFile)
{
    const QFileInfo info(m_filePath);
    if (!QDir().mkpath(info.absolutePath())) {
        m_lastError = QStringLiteral("The settings folder \"%1\" cannot be made.")
                          .arg(QDir::toNativeSeparators(info.absolutePath()));
        return false;
    }
    lockFile = std::make_unique<QLockFile>(m_filePath + QStringLiteral(".lock"));
    // A holder that died leaves its lock behind; its process id shows it.
    lockFile->setStaleLockTime(30000);
    if (!lockFile->tryLock(m_lockTimeoutMs)) {
        // A folder that takes no new file (read-only, a full disk) refuses
        // the lock file itself: that is no other program's lock.
        const bool held = lockFile->error() == QLockFile::LockFailedError;
        lockFile.reset();
        if (held)
            m_lastError = QStringLiteral("The settings file \"%1\" is locked by another program.")
                              .arg(QDir::toNativeSeparators(m_filePath));
        else
            m_lastError = QStringLiteral("The settings folder \"%1\" takes no new file: it is read-only, "
                                         "or the disk is full.")
                              .arg(QDir::toNativeSeparators(info.absolutePath()));
        return false;
    }
    // Another process may have written since we last looked.
    m_loadedStamp.reset();
    return RefreshLocked();
}

// Writes the tree under the file lock that BeginLocked took.
bool RegistryStore::CommitLocked(bool wasDamaged)
{
    if (wasDamaged && QFile::exists(m_filePath)) {
        // Keep what the user may still want from the damaged file.
        const QString aside = m_filePath + QStringLiteral(".damaged-")
                              + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-hhmmss-zzz"));
        if (!QFile::rename(m_filePath, aside)) {
            m_lastError = QStringLiteral("The damaged settings file \"%1\" cannot be moved aside.")
                              .arg(QDir::toNativeSeparators(m_filePath));
            m_loadedStamp.reset();
            return false;
        }
        qWarning("The damaged settings file was kept as \"%s\".", qPrintable(QDir::toNativeSeparators(aside)));
    }
    if (!SaveFile()) {
        // Whatever was applied in memory goes; the next call reads the disk.
        m_loadedStamp.reset();
        return false;
    }
    m_loadedStamp.reset();
    RefreshLocked();
    m_lastError.clear();
    return true;
}

// Runs one change under the locks on an up-to-date tree and saves it.
// `apply` returns 0 to fail, 1 when nothing changed, 2 when the file must
// be written.
template <typename Fn>
bool RegistryStore::Change(Fn&& apply)
{
    QMutexLocker lock(&m_mutex);
    QMutexLocker fileLock(&FileMutex(m_filePath));
    if (m_batchDepth > 0) {
        if (!m_batchOk)
            return false;
        const int result = apply();
        m_batchDirty = m_batchDirty || result == 2;
        return result != 0;
    }
    m_lastError.clear();
    std::unique_ptr<QLockFile> lockFile;
    if (!BeginLocked(lockFile))
        return false;
    const bool wasDamaged = m_damaged;
    const int result = apply();
    if (result == 0)
        return false;
    if (result == 1) {
        m_lastError.clear();
        return true;
    }
    return CommitLocked(wasDamaged);
}

void RegistryStore::BeginBatch()
{
    m_mutex.lock();
    FileMutex(m_filePath).lock();
    if (m_batchDepth++ == 0) {
        m_lastError.clear();
        m_batchDirty = false;
        m_batchOk = BeginLocked(m_batchLock);
        m_batchWasDamaged = m_damaged;
    }
}

bool RegistryStore::EndBatch()
{
    bool ok = m_batchOk;
    if (--m_batchDepth == 0) {
        if (m_batchOk && m_batchDirty)
            ok = CommitLocked(m_batchWasDamaged);
        m_batchLock.reset();
        m_batchOk = false;
        m_batchDirty = false;
    }
    FileMutex(m_filePath).unlock();
    m_mutex.unlock();
    return ok;
}

RegistryStore::Batch::Batch(RegistryStore& store) : m_store(&store)
{
    m_store->BeginBatch();
}

RegistryStore::Batch::~Batch()
{
    if (m_open)
        m_store->EndBatch();
}

bool RegistryStore::Batch::Commit()
{
    if (!m_open)
        return false;
    m_open = false;
    return m_store->EndBatch();
}

bool RegistryStore::KeyExists(RegistryHive hive, const QString& subkey)
{
    QMutexLocker lock(&m_mutex);
    if (!RefreshLocked())
        return false;
    Key* h = Hive(hive, false);
    if (!h)
        return SplitSubkey(subkey).value_or(QStringList{QString()}).isEmpty();
    return FindKey(h, subkey) != nullptr;
}

std::optional<RegistryValue> RegistryStore::Value(RegistryHive hive, const QString& subkey, const QString& name)
{
    QMutexLocker lock(&m_mutex);
    if (!RefreshLocked())
        return std::nullopt;
    Key* k = FindKey(Hive(hive, false), subkey);
    if (!k)
        return std::nullopt;
    if (const RegistryEntry* e = k->Entry(name))
        return e->value;
    return std::nullopt;
}

std::optional<QList<RegistryEntry>> RegistryStore::Values(RegistryHive hive, const QString& subkey)
{
    QMutexLocker lock(&m_mutex);
    if (!RefreshLocked())
        return std::nullopt;
    Key* h = Hive(hive, false);
    if (!h) {
        // An empty hive root exists all the same.
        if (SplitSubkey(subkey).value_or(QStringList{QString()}).isEmpty())
            return QList<RegistryEntry>{};
        return std::nullopt;
    }
    Key* k = FindKey(h, subkey);
    if (!k)
        return std::nullopt;
    return k->values;
}

std::optional<QStringList> RegistryStore::SubKeys(RegistryHive hive, const QString& subkey)
{
    QMutexLocker lock(&m_mutex);
    if (!RefreshLocked())
        return std::nullopt;
    Key* h = Hive(hive, false);
    if (!h) {
        if (SplitSubkey(subkey).value_or(QStringList{QString()}).isEmpty())
            return QStringList{};
        return std::nullopt;
    }
    Key* k = FindKey(h, subkey);
    if (!k)
        return std::nullopt;
    QStringList names;
    for (const auto& c : k->children)
        names.append(c->name);
    return names;
}

bool RegistryStore::CreateKey(RegistryHive hive, const QString& subkey)
{
    return Change([&]() -> int {
        bool created = false;
        bool hiveCreated = !Hive(hive, false);
        if (!MakeKey(Hive(hive, true), subkey, created)) {
            m_lastError = QStringLiteral("The key path is too deep.");
            return 0;
        }
        return created || hiveCreated ? 2 : 1;
    });
}

bool RegistryStore::SetValue(RegistryHive hive, const QString& subkey, const QString& name,
                             const RegistryValue& value)
{
    return Change([&]() -> int {
        bool created = false;
        Key* k = MakeKey(Hive(hive, true), subkey, created);
        if (!k) {
            m_lastError = QStringLiteral("The key path is too deep.");
            return 0;
        }
        if (RegistryEntry* e = k->Entry(name)) {
            e->value = value;  // keeps its place and the name as first written
        } else {
            k->values.append(RegistryEntry{name, value});
        }
        return 2;
    });
}

bool RegistryStore::DeleteValue(RegistryHive hive, const QString& subkey, const QString& name)
{
    return Change([&]() -> int {
        Key* k = FindKey(Hive(hive, false), subkey);
        if (!k)
            return 0;
        for (qsizetype i = 0; i < k->values.size(); ++i) {
            if (k->values[i].name.compare(name, Qt::CaseInsensitive) == 0) {
                k->values.removeAt(i);
                return 2;
            }
        }
        return 0;
    });
}

bool RegistryStore::DeleteKey(RegistryHive hive, const QString& subkey)
{
    return Change([&]() -> int {
        const auto parts = SplitSubkey(subkey);
        if (!parts || parts->isEmpty())
            return 0;
        Key* parent = Hive(hive, false);
        for (qsizetype i = 0; parent && i + 1 < parts->size(); ++i)
            parent = parent->Child(parts->at(i));
        if (!parent)
            return 0;
        for (auto it = parent->children.begin(); it != parent->children.end(); ++it) {
            if ((*it)->name.compare(parts->last(), Qt::CaseInsensitive) == 0) {
                parent->children.erase(it);
                return 2;
            }
        }
        return 0;
    });
}

}  // namespace RuvPlatform
