// The version information of the update check: reading the file, comparing
// the versions and the message the window shows.

#include "UpdateInfo.h"

#include "MainServices.h"

#include <gtest/gtest.h>

using namespace UpdateInfo;

namespace {

const MCommon::VersionList Current{1, 2, 0, 315};

QByteArray File(const char* build, const char* date = "2007-03-14T10:20:30Z")
{
    return QByteArray("<?xml version=\"1.0\"?>\n<Ruvadir><LastVersion date=\"") + date + "\" build=\"" + build
           + "\" url=\"http://example.invalid/ruvadir.zip\"/></Ruvadir>";
}

const Texts TheTexts{QStringLiteral("Cannot retrieve version information."), QStringLiteral("A new version is available"),
                     QStringLiteral("Your version is up to date"), QStringLiteral("Your version"),
                     QStringLiteral("Last version")};

TEST(UpdateInfo, VersionsAreComparedPartByPart)
{
    struct Case
    {
        const char* build;
        int32_t comparison;
        const char* message;
    };
    const Case cases[] = {
        {"1.2.0.316", 1,
         "Your version : 1.2.0.315\r\nLast version : 1.2.0.316\r\n\r\nA new version is available"},
        {"1.2.0.315", 0,
         "Your version : 1.2.0.315\r\nLast version : 1.2.0.315\r\n\r\nYour version is up to date"},
        {"1.3.0.0", 1, "Your version : 1.2.0.315\r\nLast version : 1.3.0.0\r\n\r\nA new version is available"},
        {"1.1.9.999", -1,
         "Your version : 1.2.0.315\r\nLast version : 1.1.9.999\r\n\r\nYour version is up to date"},
        {"2.0.0.0", 1, "Your version : 1.2.0.315\r\nLast version : 2.0.0.0\r\n\r\nA new version is available"},
        // Another part count: both versions, no verdict.
        {"1.2.316", NotComparable, "Your version : 1.2.0.315\r\nLast version : 1.2.316"},
        {"1.2.0.316.1", NotComparable, "Your version : 1.2.0.315\r\nLast version : 1.2.0.316.1"},
        {"7", NotComparable, "Your version : 1.2.0.315\r\nLast version : 7"},
        // A part that is no number gives 0.
        {"1.x.0.400", -1, "Your version : 1.2.0.315\r\nLast version : 1.0.0.400\r\n\r\nYour version is up to date"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.build);
        Info info;
        ASSERT_TRUE(Parse(File(c.build), Current, info));
        EXPECT_EQ(info.comparison, c.comparison);
        EXPECT_EQ(info.newVersionAvailable, c.comparison == 1);
        EXPECT_EQ(info.url, QStringLiteral("http://example.invalid/ruvadir.zip"));
        EXPECT_EQ(info.date, MCommon::MakeDateTime(2007, 3, 14, 10, 20, 30));
        EXPECT_EQ(Message(true, info, TheTexts), QString::fromLatin1(c.message));
    }
}

TEST(UpdateInfo, AMillionVersionPartsGiveAShortMessage)
{
    const QByteArray build = QByteArray("2.").repeated(1000000) + "2";
    Info info;
    ASSERT_TRUE(Parse(File(build.constData()), Current, info));
    EXPECT_EQ(info.last, (MCommon::VersionList{2, 2, 2, 2, 2}));
    EXPECT_EQ(info.comparison, NotComparable);
    EXPECT_EQ(Message(true, info, TheTexts), QStringLiteral("Your version : 1.2.0.315\r\nLast version : 2.2.2.2.2"));
}

TEST(UpdateInfo, OnlyWebAddressesAreAskedOrOpened)
{
    const std::pair<const char*, bool> cases[] = {
        {"http://127.0.0.1:8080", true},
        {"https://updates.example.org", true},
        {"HTTP://Example.org/ruvadir", true},
        {"", false},
        {"/usr/bin/xterm", false},
        {"xterm", false},
        {"file:///usr/bin/xterm", false},
        {"ftp://example.org", false},
        {"javascript:alert(1)", false},
        {"http://", false},
        {"http:///usr/bin/xterm", false},
        {"http://exa mple.org", false},
    };
    for (const auto& [address, web] : cases) {
        SCOPED_TRACE(address);
        EXPECT_EQ(IsWebAddress(QString::fromLatin1(address)), web);
    }
}

TEST(UpdateInfo, FilesThatDoNotReadFail)
{
    const std::pair<const char*, QByteArray> cases[] = {
        {"empty body", QByteArray()},
        {"not XML", "<html><body>500 Internal Server Error"},
        {"no LastVersion", "<Ruvadir><Version build=\"1.2.0.316\"/></Ruvadir>"},
        {"LastVersion below another element", "<Ruvadir><Pub><LastVersion date=\"2007-03-14T10:20:30Z\" "
                                              "build=\"1.2.0.316\"/></Pub></Ruvadir>"},
        {"zero date", File("1.2.0.316", "1899-12-30T00:00:00Z")},
        {"no date", File("1.2.0.316", "")},
        {"date that does not read", File("1.2.0.316", "14.03.2007")},
        {"0.0.0.0", File("0.0.0.0")},
        {"negative sum", File("1.-5.0.0")},
        {"no build", File("")},
    };
    for (const auto& [what, body] : cases) {
        SCOPED_TRACE(what);
        Info info;
        info.newVersionAvailable = true;
        EXPECT_FALSE(Parse(body, Current, info));
        EXPECT_FALSE(info.newVersionAvailable);
        EXPECT_EQ(info.last, (MCommon::VersionList{0, 0, 0, 0}));
        EXPECT_EQ(Message(false, info, TheTexts), TheTexts.failure);
    }
}

TEST(UpdateInfo, CompareVersionsNeedsTwoListsOfOneLength)
{
    EXPECT_EQ(fCompareVersions({}, {}), NotComparable);
    EXPECT_EQ(fCompareVersions({1}, {}), NotComparable);
    EXPECT_EQ(fCompareVersions({1, 2}, {1, 2, 0}), NotComparable);
    EXPECT_EQ(fCompareVersions({3, 0}, {2, 9}), 1);
    EXPECT_EQ(fCompareVersions({2, 9}, {3, 0}), -1);
    // One part beyond a version's four is enough to keep it from comparing.
    EXPECT_EQ(SplitBuild(QStringLiteral("1.2.3.4.5.6")), (MCommon::VersionList{1, 2, 3, 4, 5}));
    EXPECT_EQ(SplitBuild(QStringLiteral("1..99999999999")), (MCommon::VersionList{1, 0, 0}));
    EXPECT_EQ(JoinVersion({1, 2, 316}), QStringLiteral("1.2.316"));
}

class OneValueStore final : public ISettingsStore
{
public:
    TaggedValue value = TaggedValue::MakeNull();
    TaggedValue Read(const QString& key, const QString& name) override
    {
        EXPECT_EQ(key, QStringLiteral("HKLM\\Software\\Viziviz\\Ruvadir"));
        EXPECT_EQ(name, QStringLiteral("UpdateServer"));
        return value;
    }
    bool Write(const QString&, const QString&, int32_t, const TaggedValue&) override { return false; }
    bool Delete(const QString&, const QString&) override { return false; }
    bool ListValues(const QString&, QStringList&, QList<int32_t>&) override { return false; }
    void BeginBatch() override {}
    bool EndBatch() override { return true; }
};

TEST(UpdateInfo, TheServerAddressIsAStoredTextWithoutDefault)
{
    OneValueStore store;
    EXPECT_EQ(ReadServerAddress(store), QString());
    store.value = TaggedValue(int32_t(5));
    EXPECT_EQ(ReadServerAddress(store), QString());
    store.value = TaggedValue(QStringLiteral("  http://127.0.0.1:8080//  "));
    EXPECT_EQ(ReadServerAddress(store), QStringLiteral("http://127.0.0.1:8080"));
    EXPECT_EQ(InfoAddress(ReadServerAddress(store)), QStringLiteral("http://127.0.0.1:8080/pub/ruvadir_info.xml"));
}

}  // namespace
