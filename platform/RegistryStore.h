#pragma once

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QRecursiveMutex>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>

class QLockFile;

// The settings store that stands in for the Windows registry: a tree of keys
// holding named, typed values, kept in one human-readable XML file per user.
//
// Key and value names are compared without regard to case and kept as they
// were first written; values are listed in the order they were first
// written. Every change is made under a lock file, merged with what another
// process may have written meanwhile, and saved atomically (temporary file,
// synced, renamed over the old one) before the call returns, so that two
// running instances and a crash lose nothing.
//
// The file lives in "$XDG_CONFIG_HOME/Viziviz/Ruvadir/registry.xml"; the
// environment variable RUVADIR_REGISTRY names another folder (tests use it so
// that they never touch the user's own settings).
namespace RuvPlatform {

// The roots of the key tree. The second name of the local machine
// ("HKEY_PERF_ROOT") leads to the same root.
enum class RegistryHive {
    ClassesRoot,
    CurrentUser,
    LocalMachine,
    Users,
    PerformanceData,
    CurrentConfig,
    DynData,
};

// "HKEY_LOCAL_MACHINE" and so on: the name under which a hive is stored.
QString RegistryHiveName(RegistryHive hive);

// Looks a hive name up, long ("HKEY_CLASSES_ROOT") or short ("HKCR"), in any
// letter case; the first row of the table that matches wins, so
// "HKEY_PERF_ROOT" and "HKPR" give the local machine.
std::optional<RegistryHive> RegistryHiveFromName(const QString& name);

// Splits "HKLM\Software\Viziviz" into its hive and the subkey below it
// (one trailing backslash ignored). False when the hive name is unknown.
bool SplitRegistryPath(const QString& path, RegistryHive& hive, QString& subkey);

// The type codes the store keeps (the registry's own numbers).
namespace RegistryType {
constexpr uint32_t None = 0;
constexpr uint32_t Text = 1;
constexpr uint32_t ExpandText = 2;
constexpr uint32_t Binary = 3;
constexpr uint32_t Number = 4;
constexpr uint32_t TextList = 7;
}  // namespace RegistryType

// One stored value. Which member holds the data depends on the type: text
// for 1 and 2, items for 7, number for 4, bytes for 3 and for any other
// type code (kept as raw bytes so that nothing read is lost on rewrite).
struct RegistryValue {
    uint32_t type = RegistryType::None;
    QString text;
    QStringList items;
    uint32_t number = 0;
    QByteArray bytes;

    static RegistryValue MakeText(QString text, bool expandable = false);
    static RegistryValue MakeNumber(uint32_t number);
    static RegistryValue MakeBinary(QByteArray bytes);
    static RegistryValue MakeTextList(QStringList items);
    static RegistryValue MakeRaw(uint32_t type, QByteArray bytes);

    friend bool operator==(const RegistryValue& a, const RegistryValue& b);
};

struct RegistryEntry {
    QString name;  // as first written
    RegistryValue value;

    friend bool operator==(const RegistryEntry& a, const RegistryEntry& b)
    {
        return a.name == b.name && a.value == b.value;
    }
};

class RegistryStore
{
public:
    class Batch;

    // A store on the given file. Nothing is read or written until used.
    explicit RegistryStore(QString filePath);
    ~RegistryStore();
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;

    // The file of the user's store: RUVADIR_REGISTRY (a folder) when set,
    // else the XDG config folder's "Viziviz/Ruvadir".
    static QString DefaultFilePath();

    // The process-wide store on DefaultFilePath(). When the environment
    // variable changes, the next call gives a store on the new file.
    static RegistryStore& Instance();

    const QString& FilePath() const { return m_filePath; }

    // How long a change waits for another process's lock before it fails.
    void SetLockTimeoutMs(int ms) { m_lockTimeoutMs = ms; }

    // Reading. A missing key gives false / nothing; the hive roots always
    // exist. `subkey` is a backslash-separated path below the hive.
    bool KeyExists(RegistryHive hive, const QString& subkey);
    std::optional<RegistryValue> Value(RegistryHive hive, const QString& subkey, const QString& name);
    std::optional<QList<RegistryEntry>> Values(RegistryHive hive, const QString& subkey);
    std::optional<QStringList> SubKeys(RegistryHive hive, const QString& subkey);

    // Changing. Each call is one atomic, durable change of the file; false
    // when the store could not be locked, read or written (see LastError).
    bool CreateKey(RegistryHive hive, const QString& subkey);
    bool SetValue(RegistryHive hive, const QString& subkey, const QString& name, const RegistryValue& value);
    // False when the value (or its key) does not exist.
    bool DeleteValue(RegistryHive hive, const QString& subkey, const QString& name);
    // Deletes the key with everything below it; false when it does not
    // exist. A hive root cannot be deleted.
    bool DeleteKey(RegistryHive hive, const QString& subkey);

    // The last failure as a sentence for the user or a log ("" after a
    // call that succeeded). A damaged file is reported here when it is read.
    QString LastError() const;

    // True while the file on disk could not be understood. Reads then see
    // an empty store; the first change keeps the damaged file beside the
    // new one (".damaged-<time>") instead of overwriting it.
    bool IsDamaged() const;

    struct Key;

private:
    friend class Batch;
    enum class LoadResult { Ok, Missing, Damaged, Unreadable };

    bool RefreshLocked();
    LoadResult LoadFile(QString& error);
    bool SaveFile();
    template <typename Fn> bool Change(Fn&& apply);
    bool BeginLocked(std::unique_ptr<QLockFile>& lockFile);
    bool CommitLocked(bool wasDamaged);
    void BeginBatch();
    bool EndBatch();
    Key* Hive(RegistryHive hive, bool create);

    QString m_filePath;
    int m_lockTimeoutMs = 5000;
    mutable QRecursiveMutex m_mutex;
    int m_batchDepth = 0;
    bool m_batchOk = false;
    bool m_batchDirty = false;
    bool m_batchWasDamaged = false;
    std::unique_ptr<QLockFile> m_batchLock;
    std::unique_ptr<Key> m_root;
    struct FileStamp {
        bool exists = false;
        quint64 device = 0, inode = 0, size = 0;
        qint64 mtimeSec = 0, mtimeNsec = 0;
        friend bool operator==(const FileStamp&, const FileStamp&) = default;
    };
    std::optional<FileStamp> m_loadedStamp;
    bool m_damaged = false;
    QString m_damageText;
    QString m_lastError;
};

// Many changes saved as one: while a batch is open its thread holds the
// store's locks, changes are made in memory and the file is written once,
// when the batch ends (or Commit is called). Other threads and processes
// wait meanwhile, so keep batches short (saving the settings at exit).
// Batches nest; the outermost one writes.
class RegistryStore::Batch
{
public:
    explicit Batch(RegistryStore& store);
    ~Batch();
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

    // Ends the batch now; true when everything was saved (or nothing had
    // changed). A batch whose store could not be locked or read fails every
    // change made in it.
    bool Commit();

private:
    RegistryStore* m_store;
    bool m_open = true;
};

}  // namespace RuvPlatform
