#include "GameConfigSearch.h"

#include "GamesTempTree.h"

#include <QFile>

#include <gtest/gtest.h>

#include <unistd.h>

using GameConfigSearch::Entry;
using GameConfigSearch::SearchConfigs;

namespace {

class ConfigSearchTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(tree.IsValid()); }
    void File(const QString& rel) { ASSERT_FALSE(tree.File(rel, "bind x y\r\n").isEmpty()); }
    static QStringList Texts(const QList<Entry>& entries) { return Column(entries, &Entry::text); }
    GamesTempTree tree;
};

} // namespace

TEST_F(ConfigSearchTest, NamesFoldersAndOrder)
{
    File(".cfg");           // no name before the extension
    File("A.CFG");
    File("b.cfg.txt");
    File("zz.cfg");
    File("etmain/x.cfg");
    File("etmain/sub/deep.Cfg");
    File("etmainx/no.cfg");  // only begins like a searched folder
    File("other/no.cfg");    // not searched: not entered
    File("Etpro/y.cfg");     // searched folders are compared in lower case
    const QList<Entry> found = SearchConfigs(tree.Root(), {"etmain", "etpro"}, {}, QString());
    // Name order, each folder's files where the folder stands.
    EXPECT_EQ(Texts(found),
              (QStringList{"A.CFG", "etmain\\sub\\deep.Cfg", "etmain\\x.cfg", "Etpro\\y.cfg", "zz.cfg"}));
}

TEST_F(ConfigSearchTest, PreselectionIsExact)
{
    File("autoexec.cfg");
    File("etmain/Game.cfg");
    File("etmain/other.cfg");
    const QList<Entry> found =
        SearchConfigs(tree.Root(), {"etmain"}, {"etmain\\Game.cfg", "AUTOEXEC.CFG", "etmain/other.cfg"}, QString());
    ASSERT_EQ(found.size(), 3);
    EXPECT_FALSE(found[0].selected);  // differs in case
    EXPECT_TRUE(found[1].selected);
    EXPECT_FALSE(found[2].selected);  // the entries are written with "\"
}

TEST_F(ConfigSearchTest, ExcludedFolders)
{
    File("etmain/a.cfg");
    File("etmain/cameras/vava/pos/p.cfg");
    File("etmain/cameras/vava/scripts/pos000.cfg");
    File("etmain/cameras/mine.cfg");
    File("etpro/cameras/vava/pos/q.cfg");
    const QString recorder = QStringLiteral("cameras\\vava\\pos;cameras\\vava\\scripts");
    EXPECT_EQ(Texts(SearchConfigs(tree.Root(), {"etmain", "etpro"}, {}, recorder)),
              (QStringList{"etmain\\a.cfg", "etmain\\cameras\\mine.cfg"}));
    // Nothing excluded, and an empty element (an emptied recorder folder)
    // excludes nothing either.
    const QStringList all{"etmain\\a.cfg", "etmain\\cameras\\mine.cfg", "etmain\\cameras\\vava\\pos\\p.cfg",
                          "etmain\\cameras\\vava\\scripts\\pos000.cfg", "etpro\\cameras\\vava\\pos\\q.cfg"};
    EXPECT_EQ(Texts(SearchConfigs(tree.Root(), {"etmain", "etpro"}, {}, QString())), all);
    EXPECT_EQ(Texts(SearchConfigs(tree.Root(), {"etmain", "etpro"}, {}, ";")), all);
    EXPECT_EQ(Texts(SearchConfigs(tree.Root(), {"etmain", "etpro"}, {}, "cameras\\vava\\pos;")),
              (QStringList{"etmain\\a.cfg", "etmain\\cameras\\mine.cfg", "etmain\\cameras\\vava\\scripts\\pos000.cfg"}));
}

TEST_F(ConfigSearchTest, RootPathRecurringDeeperIsCutOnlyAtTheFront)
{
    // The root's own path again below a searched folder.
    const QString rootAgain = QDir::cleanPath(tree.Root()).mid(1);
    File("etmain/" + rootAgain + "/deep.cfg");
    const QList<Entry> found = SearchConfigs(tree.Root(), {"etmain"}, {}, QString());
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found[0].text, "etmain\\" + QString(rootAgain).replace('/', '\\') + "\\deep.cfg");
    // A root written the Windows way (trailing separator included) is the same root.
    EXPECT_EQ(Texts(SearchConfigs(QString(tree.Root()).replace('/', '\\') + "\\", {"etmain"}, {}, QString())),
              QStringList{found[0].text});
}

TEST_F(ConfigSearchTest, LinkedFoldersAreFollowedOnce)
{
    // The base folder and a mod linked in from elsewhere, as a packaged
    // game's folders often are.
    File("elsewhere/etmain/autoexec.cfg");
    File("elsewhere/etmain/sub/deep.cfg");
    File("elsewhere/mods/etpro/pro.cfg");
    File("game/own.cfg");
    ASSERT_TRUE(QFile::link(tree.Path("elsewhere/etmain"), tree.Path("game/etmain")));
    ASSERT_TRUE(QFile::link(tree.Path("elsewhere/mods/etpro"), tree.Path("game/etpro")));
    // A link inside a linked folder back to the game folder, and a second
    // name for a folder already walked.
    ASSERT_TRUE(QFile::link(tree.Path("game"), tree.Path("elsewhere/etmain/sub/up")));
    ASSERT_TRUE(QFile::link(tree.Path("elsewhere/etmain/sub"), tree.Path("elsewhere/mods/etpro/again")));
    // Linked files are files; a link to nothing is none.
    ASSERT_TRUE(QFile::link(tree.Path("elsewhere/etmain/autoexec.cfg"), tree.Path("game/linked.cfg")));
    ASSERT_TRUE(QFile::link(tree.Path("gone.cfg"), tree.Path("game/dangling.cfg")));
    EXPECT_EQ(Texts(SearchConfigs(tree.Path("game"), {"etmain", "etpro"}, {}, QString())),
              (QStringList{"etmain\\autoexec.cfg", "etmain\\sub\\deep.cfg", "etpro\\pro.cfg", "linked.cfg", "own.cfg"}));
}

TEST_F(ConfigSearchTest, BadFoldersGiveWhatCanBeRead)
{
    File("a.cfg");
    File("etmain/b.cfg");
    File("etmain/locked/c.cfg");
    // A link back to the root would never end if it were followed.
    ASSERT_TRUE(QFile::link(tree.Root(), tree.Path("etmain/loop")));
    const QString locked = tree.Path("etmain/locked");
    ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::Permissions()));
    const QList<Entry> found = SearchConfigs(tree.Root(), {"etmain"}, {}, QString());
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QStringList expected{"a.cfg", "etmain\\b.cfg"};
    if (geteuid() == 0)  // root reads every folder
        expected << "etmain\\locked\\c.cfg";
    EXPECT_EQ(Texts(found), expected);

    EXPECT_TRUE(SearchConfigs(tree.Path("missing"), {"etmain"}, {}, QString()).isEmpty());
    EXPECT_TRUE(SearchConfigs(tree.Path("a.cfg"), {"etmain"}, {}, QString()).isEmpty());
    EXPECT_TRUE(SearchConfigs(QString(), {"etmain"}, {}, QString()).isEmpty());
}
