#include "PathHelper.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace RuvPlatform;

TEST(PathHelper, WildcardsFollowWindowsRules)
{
    struct Case { const char* pattern; const char* name; bool match; };
    const Case cases[] = {
        {"*.*", "README", true},        {"*.*", "q.bsp", true},          {"*.*", ".hidden", true},
        {"*", "anything.at.all", true}, {"*.bsp", "Q3DM17.BSP", true},   {"*.bsp", "q.bsp.bak", false},
        {"???", "abc", true},           {"???", "ab", false},            {"???", "abcd", false},
        {"shot*.tga", "shot0001.tga", true}, {"shot*.tga", "Shot0001.TGA", true}, {"shot*.tga", "ashot1.tga", false},
        {"shot????.jpg", "shot0001.jpg", true}, {"shot????.jpg", "shot001.jpg", false},
        {"demo.*", "demo", true},       {"demo.*", "demo.dm_84", true},  {"demo.*", "demos", false},
        {"*.", "noext", true},          {"*.", "has.ext", false},
        {"a*b*c", "aXXbYYc", true},     {"a*b*c", "aXXbYY", false},      {"*a", "banana", true},
        {"", "", true},                 {"", "x", false},                {"ÄB*", "äbc", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PathHelper::WildcardMatch(QString::fromUtf8(c.pattern), QString::fromUtf8(c.name)), c.match)
            << c.pattern << " / " << c.name;
}

TEST(PathHelper, WindowsPathsBecomeLinuxPathsAndBack)
{
    struct Case { const char* windows; const char* native; };
    const Case cases[] = {
        {"C:\\", "/"},
        {"C:\\Games\\et\\etmain", "/Games/et/etmain"},
        {"c:\\x\\", "/x/"},
        {"\\usr\\share", "/usr/share"},
        {"maps\\q.bsp", "maps/q.bsp"},
        {"/already/linux", "/already/linux"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PathHelper::ToNative(QString::fromUtf8(c.windows)), QString::fromUtf8(c.native)) << c.windows;
    EXPECT_EQ(PathHelper::ToWindows(QStringLiteral("/Games/et")), QStringLiteral("C:\\Games\\et"));
    EXPECT_EQ(PathHelper::ToWindows(QStringLiteral("/")), QStringLiteral("C:\\"));
    EXPECT_EQ(PathHelper::ToWindows(QStringLiteral("maps/q.bsp")), QStringLiteral("maps\\q.bsp"));
    // A letter that names no present volume leads nowhere.
    EXPECT_TRUE(PathHelper::ToNative(QStringLiteral("B:\\x")).isEmpty());
}

TEST(PathHelper, MissingPartsAreFoundWithoutRegardToCase)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Games/et/etmain")));
    const QString windows = PathHelper::ToWindows(dir.path()) + QStringLiteral("\\GAMES\\ET\\EtMain\\new.cfg");
    EXPECT_EQ(PathHelper::ToNative(windows), dir.path() + QStringLiteral("/Games/et/etmain/new.cfg"));
    // Where the name exists as written, it is taken as written.
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("GAMES")));
    EXPECT_EQ(PathHelper::ToNative(dir.path() + QStringLiteral("\\GAMES")), dir.path() + QStringLiteral("/GAMES"));
}

TEST(PathHelper, DrivesStartWithTheRoot)
{
    const auto drives = PathHelper::LogicalDrives();
    ASSERT_FALSE(drives.isEmpty());
    EXPECT_EQ(drives.front().letter, QLatin1Char('C'));
    EXPECT_EQ(drives.front().rootPath, QStringLiteral("/"));
    EXPECT_TRUE(PathHelper::LogicalDriveMask() & (1u << 2));
    EXPECT_FALSE(PathHelper::LogicalDriveMask() & 0x3u);
}

TEST(PathHelper, SeparatorsAndJoin)
{
    EXPECT_EQ(PathHelper::Join(QStringLiteral("C:\\Games"), QStringLiteral("et")), QStringLiteral("C:\\Games\\et"));
    EXPECT_EQ(PathHelper::Join(QStringLiteral("/home/u"), QStringLiteral("et")), QStringLiteral("/home/u/et"));
    EXPECT_EQ(PathHelper::Join(QStringLiteral("/home/u/"), QStringLiteral("et")), QStringLiteral("/home/u/et"));
    EXPECT_EQ(PathHelper::Join(QStringLiteral("maps\\sub"), QStringLiteral("q.bsp")), QStringLiteral("maps\\sub\\q.bsp"));
    EXPECT_EQ(PathHelper::Join(QString(), QStringLiteral("q.bsp")), QStringLiteral("q.bsp"));
}

TEST(PathHelper, NamesThatWindowsCannotHold)
{
    struct Case { const char* name; bool valid; };
    const Case cases[] = {
        {"q.bsp", true}, {"a b", true}, {"", false}, {"a?b", false}, {"a*", false}, {"a:b", false},
        {"a|b", false}, {"a<b", false}, {"a\"b", false}, {"trailing.", false}, {"trailing ", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PathHelper::IsValidWindowsName(QString::fromUtf8(c.name)), c.valid) << c.name;
    EXPECT_FALSE(PathHelper::IsValidWindowsName(QStringLiteral("tab\there")));
    EXPECT_TRUE(PathHelper::IsValidWindowsPath(QStringLiteral("C:\\Games\\et")));
    EXPECT_FALSE(PathHelper::IsValidWindowsPath(QStringLiteral("C:\\Ga:mes\\et")));
    EXPECT_TRUE(PathHelper::IsValidWindowsPath(QStringLiteral("/home/u/x")));
}

TEST(PathHelper, RelativePathsThatStayInside)
{
    for (const char* inside : {"", "demo.dm_68", "sub\\cup.dm_84", "sub/./cup", "..take\\final..dm_60"})
        EXPECT_TRUE(PathHelper::StaysInside(QString::fromLatin1(inside))) << inside;
    for (const char* outside : {"..", "..\\secret", "sub/../../x", "/etc/passwd", "\\x", "C:\\x", "c:x"})
        EXPECT_FALSE(PathHelper::StaysInside(QString::fromLatin1(outside))) << outside;
}
