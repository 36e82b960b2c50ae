#include "RegistryStore.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>

#include <thread>

#include <sys/wait.h>
#include <unistd.h>

using namespace RuvPlatform;

namespace {

class RegistryStoreTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("registry.xml")); }

    QByteArray fileBytes() const
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    void writeFile(const QByteArray& bytes) const
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }

    QStringList damagedCopies() const
    {
        return QDir(dir.path()).entryList({QStringLiteral("registry.xml.damaged-*")}, QDir::Files);
    }
};

const QString kKey = QStringLiteral("Software\\Viziviz\\Ruvadir");

}  // namespace

TEST(RegistryHiveNames, TableWithAliases)
{
    struct Case { const char* name; std::optional<RegistryHive> hive; };
    const Case cases[] = {
        {"HKEY_CLASSES_ROOT", RegistryHive::ClassesRoot}, {"hkcr", RegistryHive::ClassesRoot},
        {"HKCU", RegistryHive::CurrentUser},            {"HKEY_LOCAL_MACHINE", RegistryHive::LocalMachine},
        {"hklm", RegistryHive::LocalMachine},           {"HKPR", RegistryHive::LocalMachine},
        {"HKEY_PERF_ROOT", RegistryHive::LocalMachine}, {"HKU", RegistryHive::Users},
        {"HKPD", RegistryHive::PerformanceData},        {"HKEY_CURRENT_CONFIG", RegistryHive::CurrentConfig},
        {"HKDD", RegistryHive::DynData},                {"XYZ", std::nullopt},
        {"", std::nullopt},                             {"HKLM ", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RegistryHiveFromName(QString::fromLatin1(c.name)), c.hive) << c.name;
}

TEST(RegistryHiveNames, SplitPath)
{
    RegistryHive hive{};
    QString subkey;
    ASSERT_TRUE(SplitRegistryPath(QStringLiteral("hklm\\software\\x\\"), hive, subkey));
    EXPECT_EQ(hive, RegistryHive::LocalMachine);
    EXPECT_EQ(subkey, QStringLiteral("software\\x"));
    ASSERT_TRUE(SplitRegistryPath(QStringLiteral("HKCR\\CLSID\\{1}\\InprocServer32"), hive, subkey));
    EXPECT_EQ(hive, RegistryHive::ClassesRoot);
    EXPECT_EQ(subkey, QStringLiteral("CLSID\\{1}\\InprocServer32"));
    ASSERT_TRUE(SplitRegistryPath(QStringLiteral("HKLM"), hive, subkey));
    EXPECT_TRUE(subkey.isEmpty());
    ASSERT_TRUE(SplitRegistryPath(QStringLiteral("HKLM\\"), hive, subkey));
    EXPECT_TRUE(subkey.isEmpty());
    EXPECT_FALSE(SplitRegistryPath(QStringLiteral("XYZ\\Software"), hive, subkey));
}

TEST_F(RegistryStoreTest, EveryTypeSurvivesTheFile)
{
    const QString awkward = QStringLiteral("  C:\\Games\\et\r\nline\ttab <&> \"q\" ") + QChar(u'\0') + QStringLiteral("after")
                            + QChar(0x1) + QString::fromUtf8("äöü € 日本") + QChar(0xD800);
    const QList<RegistryEntry> written = {
        {QStringLiteral("Text"), RegistryValue::MakeText(QStringLiteral("plain"))},
        {QStringLiteral("Awkward"), RegistryValue::MakeText(awkward)},
        {QStringLiteral("Empty"), RegistryValue::MakeText(QString())},
        {QStringLiteral("Expand"), RegistryValue::MakeText(QStringLiteral("%HOME%\\x"), true)},
        {QStringLiteral("Number"), RegistryValue::MakeNumber(0xFFFFFFFFu)},
        {QStringLiteral("Zero"), RegistryValue::MakeNumber(0)},
        {QStringLiteral("Bytes"), RegistryValue::MakeBinary(QByteArray("\x00\x01\xff", 3))},
        {QStringLiteral("NoBytes"), RegistryValue::MakeBinary(QByteArray())},
        {QStringLiteral("List"), RegistryValue::MakeTextList({QStringLiteral("a"), QString(), awkward})},
        {QStringLiteral("NoItems"), RegistryValue::MakeTextList({})},
        {QStringLiteral("Odd type"), RegistryValue::MakeRaw(5, QByteArray("\x12\x34", 2))},
        {awkward, RegistryValue::MakeNumber(7)},
    };
    {
        RegistryStore store(path());
        for (const RegistryEntry& e : written)
            ASSERT_TRUE(store.SetValue(RegistryHive::LocalMachine, kKey, e.name, e.value)) << store.LastError().toStdString();
    }
    RegistryStore fresh(path());
    const auto values = fresh.Values(RegistryHive::LocalMachine, kKey);
    ASSERT_TRUE(values.has_value());
    ASSERT_EQ(values->size(), written.size());
    for (qsizetype i = 0; i < written.size(); ++i) {
        EXPECT_EQ(values->at(i).name, written[i].name) << i;
        EXPECT_TRUE(values->at(i).value == written[i].value) << i;
    }
    EXPECT_FALSE(fresh.IsDamaged());
}

TEST_F(RegistryStoreTest, FileIsReadableAndWrittenBeforeTheCallReturns)
{
    RegistryStore store(path());
    ASSERT_TRUE(store.SetValue(RegistryHive::LocalMachine, kKey, QStringLiteral("Language"), RegistryValue::MakeNumber(3)));
    const QByteArray bytes = fileBytes();
    EXPECT_TRUE(bytes.contains("<key name=\"HKEY_LOCAL_MACHINE\">")) << bytes.constData();
    EXPECT_TRUE(bytes.contains("<value name=\"Language\" type=\"number\">3</value>")) << bytes.constData();
    ASSERT_TRUE(store.SetValue(RegistryHive::LocalMachine, kKey, QStringLiteral("Folder"),
                               RegistryValue::MakeText(QStringLiteral("C:\\Games\\et"))));
    EXPECT_TRUE(fileBytes().contains("<value name=\"Folder\" type=\"text\">C:\\Games\\et</value>"));
    // No temporary or lock file stays behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("registry.xml")});
}

TEST_F(RegistryStoreTest, NamesIgnoreCaseKeepSpellingAndOrder)
{
    RegistryStore store(path());
    ASSERT_TRUE(store.SetValue(RegistryHive::LocalMachine, QStringLiteral("Software\\Viziviz"), QStringLiteral("Beta"), RegistryValue::MakeNumber(1)));
    ASSERT_TRUE(store.SetValue(RegistryHive::LocalMachine, QStringLiteral("SOFTWARE\\viziviz"), QStringLiteral("Alpha"), RegistryValue::MakeNumber(2)));
    ASSERT_TRUE(store.SetValue(RegistryHive::LocalMachine, QStringLiteral("software\\VIZIVIZ"), QStringLiteral("BETA"), RegistryValue::MakeNumber(3)));

    const auto values = store.Values(RegistryHive::LocalMachine, QStringLiteral("software\\viziviz"));
    ASSERT_TRUE(values.has_value());
    ASSERT_EQ(values->size(), 2);
    EXPECT_EQ(values->at(0).name, QStringLiteral("Beta"));
    EXPECT_EQ(values->at(0).value.number, 3u);
    EXPECT_EQ(values->at(1).name, QStringLiteral("Alpha"));
    EXPECT_EQ(store.SubKeys(RegistryHive::LocalMachine, QStringLiteral("SOFTWARE")), QStringList{QStringLiteral("Viziviz")});
    EXPECT_EQ(store.Value(RegistryHive::LocalMachine, QStringLiteral("Software\\Viziviz"), QStringLiteral("alpha"))->number, 2u);
}

TEST_F(RegistryStoreTest, KeysAndDeletion)
{
    RegistryStore store(path());
    EXPECT_TRUE(store.KeyExists(RegistryHive::CurrentUser, QString()));
    EXPECT_EQ(store.Values(RegistryHive::CurrentUser, QString()), std::optional<QList<RegistryEntry>>(QList<RegistryEntry>{}));
    EXPECT_FALSE(store.KeyExists(RegistryHive::ClassesRoot, QStringLiteral("CLSID")));
    EXPECT_FALSE(store.Values(RegistryHive::ClassesRoot, QStringLiteral("CLSID")).has_value());

    const QString server = QStringLiteral("CLSID\\{12345678-1234-1234-1234-123456789ABC}\\InprocServer32");
    ASSERT_TRUE(store.SetValue(RegistryHive::ClassesRoot, server, QString(), RegistryValue::MakeText(QStringLiteral("/opt/lib.so"))));
    ASSERT_TRUE(store.CreateKey(RegistryHive::ClassesRoot, QStringLiteral("CLSID\\Other")));
    EXPECT_TRUE(store.KeyExists(RegistryHive::ClassesRoot, QStringLiteral("clsid\\other")));
    EXPECT_EQ(store.Value(RegistryHive::ClassesRoot, server, QString())->text, QStringLiteral("/opt/lib.so"));

    EXPECT_FALSE(store.DeleteValue(RegistryHive::ClassesRoot, server, QStringLiteral("missing")));
    EXPECT_FALSE(store.DeleteValue(RegistryHive::ClassesRoot, QStringLiteral("CLSID\\Nowhere"), QString()));
    EXPECT_FALSE(store.DeleteKey(RegistryHive::ClassesRoot, QString()));  // a hive root stays
    EXPECT_FALSE(store.DeleteKey(RegistryHive::ClassesRoot, QStringLiteral("CLSID\\Nowhere")));
    ASSERT_TRUE(store.DeleteKey(RegistryHive::ClassesRoot, QStringLiteral("CLSID\\{12345678-1234-1234-1234-123456789abc}")));
    EXPECT_FALSE(store.KeyExists(RegistryHive::ClassesRoot, server));
    EXPECT_TRUE(store.KeyExists(RegistryHive::ClassesRoot, QStringLiteral("CLSID\\Other")));
    ASSERT_TRUE(store.SetValue(RegistryHive::ClassesRoot, QStringLiteral("CLSID"), QStringLiteral("v"), RegistryValue::MakeNumber(1)));
    ASSERT_TRUE(store.DeleteValue(RegistryHive::ClassesRoot, QStringLiteral("CLSID"), QStringLiteral("V")));
    EXPECT_FALSE(store.Value(RegistryHive::ClassesRoot, QStringLiteral("CLSID"), QStringLiteral("v")).has_value());
}

TEST_F(RegistryStoreTest, SeesWhatAnotherStoreWrote)
{
    RegistryStore a(path());
    RegistryStore b(path());
    ASSERT_TRUE(a.SetValue(RegistryHive::LocalMachine, kKey, QStringLiteral("x"), RegistryValue::MakeNumber(1)));
    EXPECT_EQ(b.Value(RegistryHive::LocalMachine, kKey, QStringLiteral("x"))->number, 1u);
    ASSERT_TRUE(b.SetValue(RegistryHive::LocalMachine, kKey, QStringLiteral("x"), RegistryValue::MakeNumber(2)));
    EXPECT_EQ(a.Value(RegistryHive::LocalMachine, kKey, QStringLiteral("x"))->number, 2u);
}

TEST_F(RegistryStoreTest, TwoStoresWritingAtOnceLoseNothing)
{
    constexpr int kCount = 40;
    auto writer = [this](QString prefix) {
        RegistryStore store(path());
        for (int i = 0; i < kCount; ++i)
            EXPECT_TRUE(store.SetValue(RegistryHive::LocalMachine, kKey, prefix + QString::number(i), RegistryValue::MakeNumber(i)));
    };
    std::thread t1(writer, QStringLiteral("a"));
    std::thread t2(writer, QStringLiteral("b"));
    t1.join();
    t2.join();
    RegistryStore check(path());
    EXPECT_EQ(check.Values(RegistryHive::LocalMachine, kKey)->size(), 2 * kCount);
}

TEST_F(RegistryStoreTest, TwoProcessesWritingAtOnceLoseNothing)
{
    constexpr int kCount = 40;
    const QString file = path();
    auto write = [&](const QString& prefix) {
        RegistryStore store(file);
        int failures = 0;
        for (int i = 0; i < kCount; ++i)
            failures += store.SetValue(RegistryHive::LocalMachine, kKey, prefix + QString::number(i), RegistryValue::MakeNumber(i)) ? 0 : 1;
        return failures;
    };
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        _exit(write(QStringLiteral("child")) == 0 ? 0 : 1);
    EXPECT_EQ(write(QStringLiteral("parent")), 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);

    RegistryStore check(file);
    const auto values = check.Values(RegistryHive::LocalMachine, kKey);
    ASSERT_TRUE(values.has_value());
    EXPECT_EQ(values->size(), 2 * kCount);
}

TEST_F(RegistryStoreTest, DamagedFileIsReportedAndKeptAside)
{
    const QByteArray good = [&] {
        RegistryStore store(path());
        EXPECT_TRUE(store.SetValue(RegistryHive::LocalMachine, kKey, QStringLiteral("Lost"), RegistryValue::MakeText(QStringLiteral("value"))));
        return fileBytes();
    }();
    const QByteArray damaged[] = {
        good.left(good.size() / 2),                                          // cut short
        QByteArray("\x00\xff garbage \x01\x02", 14),                          // not XML at all
        QByteArray("<?xml version=\"1.0\"?><other/>"),                         // not a store
        QByteArray("<registry version=\"1\"><key name=\"HKEY_LOCAL_MACHINE\"><value name=\"n\" type=\"number\">12x</value></key></registry>"),
        QByteArray("<registry version=\"1\"><key name=\"HKLM\"><value name=\"b\" type=\"binary\">0g</value></key></registry>"),
        QByteArray("<registry version=\"1\"><key><value name=\"b\" type=\"text\">x</value></key></registry>"),
        QByteArray("<registry version=\"1\"><key name=\"A\"><value name=\"b\" type=\"1\">x</value></key></registry>"),
        QByteArray(),                                                         // empty file
    };
    for (const QByteArray& bytes : damaged) {
        SCOPED_TRACE(bytes.toStdString());
        for (const QString& f : damagedCopies())
            QFile::remove(dir.filePath(f));
        writeFile(bytes);
        RegistryStore store(path());
        EXPECT_FALSE(store.Value(RegistryHive::LocalMachine, kKey, QStringLiteral("Lost")).has_value());
        EXPECT_TRUE(store.IsDamaged());
        EXPECT_TRUE(store.LastError().contains(QStringLiteral("damaged"))) << store.LastError().toStdString();
        EXPECT_EQ(fileBytes(), bytes);  // reading changes nothing

        ASSERT_TRUE(store.SetValue(RegistryHive::LocalMachine, kKey, QStringLiteral("New"), RegistryValue::MakeNumber(1)));
        EXPECT_FALSE(store.IsDamaged());
        const QStringList copies = damagedCopies();
        ASSERT_EQ(copies.size(), 1);
        QFile copy(dir.filePath(copies.front()));
        ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
        EXPECT_EQ(copy.readAll(), bytes);
        RegistryStore fresh(path());
        EXPECT_EQ(fresh.Values(RegistryHive::LocalMachine, kKey)->size(), 1);
    }
}

TEST_F(RegistryStoreTest, FileOfALaterFormatIsNeverReplaced)
{
    const QByteArray later("<registry version=\"2\"><key name=\"HKEY_LOCAL_MACHINE\"/></registry>");
    writeFile(later);
    RegistryStore store(path());
    EXPECT_FALSE(store.KeyExists(RegistryHive::LocalMachine, QStringLiteral("Software")));
    EXPECT_FALSE(store.SetValue(RegistryHive::LocalMachine, kKey, QStringLiteral("x"), RegistryValue::MakeNumber(1)));
    EXPECT_TRUE(store.LastError().contains(QStringLiteral("later format"))) << store.LastError().toStdString();
    EXPECT_EQ(fileBytes(), later);
    EXPECT_TRUE(damagedCopies().isEmpty());
}

TEST_F(RegistryStoreTest, LockedStoreFailsAndLeavesTheFileAlone)
{
    RegistryStore store(path());
    ASSERT_TRUE(store.SetValue(RegistryHive::LocalMachine, kKey, QStringLiteral("x"), RegistryValue::MakeNumber(1)));
    const QByteArray before = fileBytes();

    // Another process holds the lock for as long as it lives.
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        QLockFile lock(path() + QStringLiteral(".lock"));
        const char ok = lock.tryLock(0) ? '1' : '0';
        (void)!write(ready[1], &ok, 1);
        pause();
        _exit(0);
    }
    char ok = 0;
    ASSERT_EQ(read(ready[0], &ok, 1), 1);
    ASSERT_EQ(ok, '1');
    store.SetLockTimeoutMs(100);
    EXPECT_FALSE(store.SetValue(RegistryHive::LocalMachine, kKey, QStringLiteral("x"), RegistryValue::MakeNumber(2)));
    EXPECT_TRUE(store.LastError().contains(QStringLiteral("locked"))) << store.LastError().toStdString();
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
    EXPECT_EQ(fileBytes(), before);
    // The dead holder's lock is taken over.
    EXPECT_TRUE(store.SetValue(RegistryHive::LocalMachine, kKey, QStringLiteral("x"), RegistryValue::MakeNumber(2)));
    EXPECT_EQ(store.Value(RegistryHive::LocalMachine, kKey, QStringLiteral("x"))->number, 2u);
}

TEST_F(RegistryStoreTest, FolderThatCannotBeMadeFails)
{
    // A plain file stands where the folder should be: not even root gets past it.
    const QString blocker = dir.filePath(QStringLiteral("blocker"));
    QFile f(blocker);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    RegistryStore store(blocker + QStringLiteral("/sub/registry.xml"));
    EXPECT_FALSE(store.SetValue(RegistryHive::LocalMachine, kKey, QStringLiteral("x"), RegistryValue::MakeNumber(1)));
    EXPECT_FALSE(store.LastError().isEmpty());
    EXPECT_FALSE(store.KeyExists(RegistryHive::LocalMachine, kKey));
}

TEST_F(RegistryStoreTest, DefaultPathFollowsTheEnvironment)
{
    const QByteArray old = qgetenv("RUVADIR_REGISTRY");
    qputenv("RUVADIR_REGISTRY", dir.path().toUtf8());
    EXPECT_EQ(RegistryStore::DefaultFilePath(), path());
    EXPECT_EQ(RegistryStore::Instance().FilePath(), path());
    ASSERT_TRUE(RegistryStore::Instance().SetValue(RegistryHive::CurrentUser, QStringLiteral("T"), QStringLiteral("v"), RegistryValue::MakeNumber(5)));
    EXPECT_TRUE(QFile::exists(path()));
    qunsetenv("RUVADIR_REGISTRY");
    EXPECT_TRUE(RegistryStore::DefaultFilePath().endsWith(QStringLiteral("/Viziviz/Ruvadir/registry.xml")));
    if (!old.isEmpty())
        qputenv("RUVADIR_REGISTRY", old);
}

TEST_F(RegistryStoreTest, BatchWritesOnceAtItsEnd)
{
    RegistryStore store(path());
    ASSERT_TRUE(store.SetValue(RegistryHive::LocalMachine, kKey, QStringLiteral("before"), RegistryValue::MakeNumber(1)));
    const QByteArray before = fileBytes();
    {
        RegistryStore::Batch batch(store);
        for (int i = 0; i < 50; ++i)
            ASSERT_TRUE(store.SetValue(RegistryHive::LocalMachine, kKey, QStringLiteral("v%1").arg(i), RegistryValue::MakeNumber(i)));
        {
            RegistryStore::Batch inner(store);
            ASSERT_TRUE(store.DeleteValue(RegistryHive::LocalMachine, kKey, QStringLiteral("before")));
        }
        // The batch sees its own changes; the file does not have them yet.
        EXPECT_EQ(store.Values(RegistryHive::LocalMachine, kKey)->size(), 50);
        EXPECT_EQ(fileBytes(), before);
        EXPECT_TRUE(batch.Commit());
        EXPECT_FALSE(batch.Commit());
    }
    RegistryStore fresh(path());
    EXPECT_EQ(fresh.Values(RegistryHive::LocalMachine, kKey)->size(), 50);
    EXPECT_FALSE(fresh.Value(RegistryHive::LocalMachine, kKey, QStringLiteral("before")).has_value());
}

TEST_F(RegistryStoreTest, BatchOnADamagedFileKeepsItAside)
{
    writeFile("not a store");
    RegistryStore store(path());
    {
        RegistryStore::Batch batch(store);
        EXPECT_TRUE(store.SetValue(RegistryHive::LocalMachine, kKey, QStringLiteral("x"), RegistryValue::MakeNumber(1)));
    }
    EXPECT_EQ(damagedCopies().size(), 1);
    EXPECT_EQ(RegistryStore(path()).Value(RegistryHive::LocalMachine, kKey, QStringLiteral("x"))->number, 1u);
}
