#include "MRegistry.h"
#include "RuvError.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using RuvPlatform::RegistryHive;
using RuvPlatform::RegistryStore;
using RuvPlatform::RegistryValue;

namespace {

// Every test gets a store of its own in a temporary folder.
class MRegistryTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QByteArray oldEnv;

    void SetUp() override
    {
        oldEnv = qgetenv("RUVADIR_REGISTRY");
        qputenv("RUVADIR_REGISTRY", dir.path().toUtf8());
    }
    void TearDown() override
    {
        if (oldEnv.isEmpty())
            qunsetenv("RUVADIR_REGISTRY");
        else
            qputenv("RUVADIR_REGISTRY", oldEnv);
    }

    static std::vector<TaggedValue> texts(std::initializer_list<const char*> items)
    {
        std::vector<TaggedValue> out;
        for (const char* i : items)
            out.emplace_back(i);
        return out;
    }
};

const QString kKey = QStringLiteral("HKLM\\Software\\Viziviz\\Ruvadir");

}  // namespace

TEST_F(MRegistryTest, SplitKeyPath)
{
    struct Case { const char* path; std::optional<RegistryHive> hive; const char* subkey; };
    const Case cases[] = {
        {"hklm\\software\\x\\", RegistryHive::LocalMachine, "software\\x"},
        {"HKEY_LOCAL_MACHINE\\Software\\x", RegistryHive::LocalMachine, "Software\\x"},
        {"HKPR\\Software\\x", RegistryHive::LocalMachine, "Software\\x"},
        {"HKLM", RegistryHive::LocalMachine, ""},
        {"HKCR\\CLSID\\{0}\\InprocServer32", RegistryHive::ClassesRoot, "CLSID\\{0}\\InprocServer32"},
        {"XYZ\\Software\\x", std::nullopt, "Software\\x"},
    };
    for (const Case& c : cases) {
        std::optional<RegistryHive> hive;
        QString subkey;
        MRegistry::SplitKeyPath(QString::fromLatin1(c.path), hive, subkey);
        EXPECT_EQ(hive, c.hive) << c.path;
        EXPECT_EQ(subkey, QString::fromLatin1(c.subkey)) << c.path;
    }
}

TEST_F(MRegistryTest, AliasesAddressOneKey)
{
    ASSERT_TRUE(MRegistry::RegWrite(QStringLiteral("hklm\\software\\x\\"), QStringLiteral("v"), MRegistry::RegSz, TaggedValue("one")));
    EXPECT_EQ(MRegistry::RegRead(QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\x"), QStringLiteral("V")), TaggedValue("one"));
    EXPECT_EQ(MRegistry::RegRead(QStringLiteral("HKPR\\Software\\x"), QStringLiteral("v")), TaggedValue("one"));
    EXPECT_TRUE(MRegistry::RegRead(QStringLiteral("HKCU\\Software\\x"), QStringLiteral("v")).IsNull());
}

TEST_F(MRegistryTest, HiveRootKey)
{
    ASSERT_TRUE(MRegistry::RegWrite(QStringLiteral("HKLM"), QStringLiteral("root"), MRegistry::RegDword, TaggedValue(int32_t(5))));
    EXPECT_EQ(MRegistry::RegRead(QStringLiteral("HKEY_LOCAL_MACHINE\\"), QStringLiteral("root")), TaggedValue(int32_t(5)));
    QStringList names;
    QList<int32_t> types;
    EXPECT_TRUE(MRegistry::RegListValues(QStringLiteral("HKLM"), names, types));
    EXPECT_EQ(names, QStringList{QStringLiteral("root")});
}

TEST_F(MRegistryTest, UnknownHiveFails)
{
    EXPECT_TRUE(MRegistry::RegRead(QStringLiteral("XYZ\\Software\\x"), QStringLiteral("v")).IsNull());
    EXPECT_FALSE(MRegistry::RegWrite(QStringLiteral("XYZ\\Software\\x"), QStringLiteral("v"), MRegistry::RegSz, TaggedValue("a")));
    EXPECT_FALSE(MRegistry::RegDelete(QStringLiteral("XYZ\\Software\\x"), QStringLiteral("v")));
    QStringList names{QStringLiteral("stale")};
    QList<int32_t> types{1};
    EXPECT_FALSE(MRegistry::RegListValues(QStringLiteral("XYZ\\Software\\x"), names, types));
    EXPECT_TRUE(names.isEmpty());
    EXPECT_TRUE(types.isEmpty());
}

TEST_F(MRegistryTest, ValuesReadBackByType)
{
    struct Case { const char* name; int32_t code; std::vector<TaggedValue> values; TaggedValue expected; int32_t stored; };
    const std::vector<Case> cases = {
        {"text", MRegistry::RegSz, {TaggedValue("C:\\Games\\et")}, TaggedValue("C:\\Games\\et"), 1},
        {"empty text", MRegistry::RegSz, {TaggedValue("")}, TaggedValue(""), 1},
        {"number as text", MRegistry::RegSz, {TaggedValue(1.5)}, TaggedValue("1.5"), 1},
        {"expandable", MRegistry::RegExpandSz, {TaggedValue("%PATH%")}, TaggedValue("%PATH%"), 2},
        {"dword", MRegistry::RegDword, {TaggedValue(int32_t(-2))}, TaggedValue(int32_t(-2)), 4},
        {"dword from text", MRegistry::RegDword, {TaggedValue("42")}, TaggedValue(int32_t(42)), 4},
        {"dword rounds half to even", MRegistry::RegDword, {TaggedValue(2.5)}, TaggedValue(int32_t(2)), 4},
        {"bytes", MRegistry::RegBinary, {TaggedValue(int32_t(1)), TaggedValue(int32_t(255))},
         TaggedValue(std::vector<TaggedValue>{TaggedValue(uint8_t(1)), TaggedValue(uint8_t(255))}), 3},
        {"no bytes", MRegistry::RegBinary, {}, TaggedValue(std::vector<TaggedValue>{}), 3},
        {"three texts", MRegistry::RegMultiSz, texts({"a", "b", "c"}), TaggedValue(texts({"a", "b", "c"})), 7},
        {"empty second item", MRegistry::RegMultiSz, texts({"a", "", "c"}), TaggedValue(texts({"a"})), 7},
        {"bytes from list", MRegistry::RegBinaryFromList,
         {TaggedValue(std::vector<TaggedValue>{TaggedValue(int32_t(1)), TaggedValue(int32_t(2)), TaggedValue(int32_t(3))})},
         TaggedValue(std::vector<TaggedValue>{TaggedValue(uint8_t(1)), TaggedValue(uint8_t(2)), TaggedValue(uint8_t(3))}), 3},
        {"bytes from text", MRegistry::RegBinaryFromText, {TaggedValue("Aé")},
         TaggedValue(std::vector<TaggedValue>{TaggedValue(uint8_t(0x41)), TaggedValue(uint8_t(0xE9))}), 3},
        {"texts from list", MRegistry::RegMultiSzFromList, {TaggedValue(texts({"x", "y"}))}, TaggedValue(texts({"x", "y"})), 7},
    };
    for (const Case& c : cases) {
        int32_t code = c.code;
        ASSERT_TRUE(MRegistry::RegWrite(kKey, QString::fromUtf8(c.name), code, c.values)) << c.name;
        EXPECT_EQ(code, c.stored) << c.name;
        EXPECT_EQ(MRegistry::RegRead(kKey, QString::fromUtf8(c.name)), c.expected) << c.name;
    }
    QStringList names;
    QList<int32_t> types;
    ASSERT_TRUE(MRegistry::RegListValues(kKey, names, types));
    ASSERT_EQ(names.size(), static_cast<qsizetype>(cases.size()));
    for (size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(names[i], QString::fromUtf8(cases[i].name));
        EXPECT_EQ(types[i], cases[i].stored);
    }
}

TEST_F(MRegistryTest, ByteOverflowRaisesBeforeAnythingIsStored)
{
    int32_t code = MRegistry::RegBinaryFromList;
    const std::vector<TaggedValue> values{TaggedValue(std::vector<TaggedValue>{TaggedValue(int32_t(1)), TaggedValue(int32_t(2)), TaggedValue(int32_t(300))})};
    try {
        MRegistry::RegWrite(kKey, QStringLiteral("b"), code, values);
        FAIL() << "no error raised";
    } catch (const RuvError& e) {
        EXPECT_EQ(e.number(), RuvError::Overflow);
    }
    EXPECT_TRUE(MRegistry::RegRead(kKey, QStringLiteral("b")).IsNull());
    // A text that is no number does not convert to a 32-bit value either.
    EXPECT_THROW(MRegistry::RegWrite(kKey, QStringLiteral("n"), MRegistry::RegDword, TaggedValue("abc")), RuvError);
    EXPECT_THROW(MRegistry::RegWrite(kKey, QStringLiteral("n"), MRegistry::RegSz, TaggedValue::MakeNull()), RuvError);
}

TEST_F(MRegistryTest, WritesThatStoreNothing)
{
    int32_t code = MRegistry::RegBinaryFromText;
    EXPECT_FALSE(MRegistry::RegWrite(kKey, QStringLiteral("t"), code, std::vector<TaggedValue>{TaggedValue("")}));
    code = 5;
    EXPECT_FALSE(MRegistry::RegWrite(kKey, QStringLiteral("t"), code, std::vector<TaggedValue>{TaggedValue("x")}));
    code = MRegistry::RegSz;
    EXPECT_FALSE(MRegistry::RegWrite(kKey, QStringLiteral("t"), code, std::vector<TaggedValue>{}));
    EXPECT_TRUE(MRegistry::RegRead(kKey, QStringLiteral("t")).IsNull());
}

TEST_F(MRegistryTest, ConvenienceFormTakesAListForBytesAndTexts)
{
    ASSERT_TRUE(MRegistry::RegWrite(kKey, QStringLiteral("l"), MRegistry::RegMultiSz, TaggedValue(texts({"p", "q"}))));
    EXPECT_EQ(MRegistry::RegRead(kKey, QStringLiteral("l")), TaggedValue(texts({"p", "q"})));
    ASSERT_TRUE(MRegistry::RegWrite(kKey, QStringLiteral("b"), MRegistry::RegBinary,
                                    TaggedValue(std::vector<TaggedValue>{TaggedValue(int32_t(9))})));
    EXPECT_EQ(MRegistry::RegRead(kKey, QStringLiteral("b")), TaggedValue(std::vector<TaggedValue>{TaggedValue(uint8_t(9))}));
}

TEST_F(MRegistryTest, TextsReadUpToTheirFirstNul)
{
    const QString withNul = QStringLiteral("abc") + QChar(u'\0') + QStringLiteral("def");
    ASSERT_TRUE(MRegistry::RegWrite(kKey, QStringLiteral("t"), MRegistry::RegSz, TaggedValue(withNul)));
    EXPECT_EQ(MRegistry::RegRead(kKey, QStringLiteral("t")), TaggedValue("abc"));
    // An item holding a NUL falls apart into two items, as the stored form has it.
    ASSERT_TRUE(MRegistry::RegWrite(kKey, QStringLiteral("l"), MRegistry::RegMultiSz, TaggedValue(std::vector<TaggedValue>{TaggedValue(withNul)})));
    EXPECT_EQ(MRegistry::RegRead(kKey, QStringLiteral("l")), TaggedValue(texts({"abc", "def"})));
}

TEST_F(MRegistryTest, UnsupportedStoredTypeReadsAsNull)
{
    RegistryStore& store = RegistryStore::Instance();
    ASSERT_TRUE(store.SetValue(RegistryHive::LocalMachine, QStringLiteral("Software\\Viziviz\\Ruvadir"), QStringLiteral("odd"),
                               RegistryValue::MakeRaw(5, QByteArray("\1\2\3\4", 4))));
    EXPECT_TRUE(MRegistry::RegRead(kKey, QStringLiteral("odd")).IsNull());
    QStringList names;
    QList<int32_t> types;
    ASSERT_TRUE(MRegistry::RegListValues(kKey, names, types));
    EXPECT_EQ(types, QList<int32_t>{5});
}

TEST_F(MRegistryTest, DeleteAndListing)
{
    QStringList names;
    QList<int32_t> types;
    EXPECT_FALSE(MRegistry::RegListValues(kKey, names, types));  // missing key
    ASSERT_TRUE(RegistryStore::Instance().CreateKey(RegistryHive::LocalMachine, QStringLiteral("Software\\Empty")));
    EXPECT_FALSE(MRegistry::RegListValues(QStringLiteral("HKLM\\Software\\Empty"), names, types));
    EXPECT_TRUE(names.isEmpty());
    EXPECT_TRUE(types.isEmpty());

    ASSERT_TRUE(MRegistry::RegWrite(kKey, QStringLiteral("Second"), MRegistry::RegSz, TaggedValue("2")));
    ASSERT_TRUE(MRegistry::RegWrite(kKey, QStringLiteral("First"), MRegistry::RegDword, TaggedValue(int32_t(1))));
    ASSERT_TRUE(MRegistry::RegWrite(kKey, QStringLiteral("SECOND"), MRegistry::RegSz, TaggedValue("again")));
    ASSERT_TRUE(MRegistry::RegListValues(kKey, names, types));
    EXPECT_EQ(names, (QStringList{QStringLiteral("Second"), QStringLiteral("First")}));
    EXPECT_EQ(types, (QList<int32_t>{1, 4}));

    EXPECT_TRUE(MRegistry::RegDelete(kKey, QStringLiteral("second")));
    EXPECT_FALSE(MRegistry::RegDelete(kKey, QStringLiteral("second")));
    EXPECT_FALSE(MRegistry::RegDelete(QStringLiteral("HKLM\\Software\\Nowhere"), QStringLiteral("x")));
    ASSERT_TRUE(MRegistry::RegListValues(kKey, names, types));
    EXPECT_EQ(names, QStringList{QStringLiteral("First")});
}
