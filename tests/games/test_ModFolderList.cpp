#include "GameDetection.h"
#include "ModFolderList.h"

#include "GamesTempTree.h"

#include <gtest/gtest.h>

using ModFolderList::Entry;

namespace {

class ModFolderListTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(tree.IsValid()); }
    QString Folder(const QString& rel) { return tree.Folder(rel); }
    QString File(const QString& rel) { return tree.File(rel); }
    static QStringList Names(const QList<Entry>& entries) { return Column(entries, &Entry::name); }
    static QStringList Folders(const QList<Entry>& entries) { return Column(entries, &Entry::folder); }
    GamesTempTree tree;
    TreeHome home{tree};
};

} // namespace

TEST_F(ModFolderListTest, ExcludedNamesAreWholeAndCaseBlind)
{
    CGameDefinition et = MakeGame(0);
    et.SetExeFullPath(File("ET/Et.exe"));
    for (const char* name : {"Backup", "DOCS", "pbstats", "pb", "Libs", "uninstall"})
        Folder(QStringLiteral("ET/") + name);
    File("ET/readme.txt");
    const QList<Entry> entries = ModFolderList::ListModFolders(GameDetection::SearchPlaces::OfThisSystem(), et);
    EXPECT_EQ(Names(entries), QStringList{"pbstats"});
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0].folder, tree.Path("ET"));
    EXPECT_TRUE(entries[0].besideExecutable);
    EXPECT_EQ(ModFolderList::FullPath(entries[0]), tree.Path("ET/pbstats"));
}

TEST_F(ModFolderListTest, CurrentEntryMatchesTheModFolderExactly)
{
    CGameDefinition et = MakeGame(0);
    et.SetExeFullPath(File("ET/Et.exe"));
    Folder("ET/etmain");
    Folder("ET/ETPRO");
    Folder("ET/etpro2");
    et.SetModFullDir(Folder("ET/etmain"));
    QList<Entry> entries = ModFolderList::ListModFolders(GameDetection::SearchPlaces::OfThisSystem(), et);
    EXPECT_EQ(Names(entries), (QStringList{"etmain", "ETPRO", "etpro2"}));
    EXPECT_EQ(ModFolderList::CurrentEntry(entries, et), 0);

    // A mod folder named in another case is listed but not chosen.
    et.SetModFullDir(tree.Path("ET/etpro"));
    ASSERT_EQ(et.ModDirBasename(), "etpro");
    EXPECT_EQ(ModFolderList::CurrentEntry(ModFolderList::ListModFolders(GameDetection::SearchPlaces::OfThisSystem(), et), et), -1);
}

TEST_F(ModFolderListTest, HomeFolderOfTheEngineFollows)
{
    CGameDefinition et = MakeGame(0);
    et.SetExeFullPath(File("opt/etlegacy/etl.x86_64"));
    Folder("opt/etlegacy/etmain");
    Folder("opt/etlegacy/legacy");
    Folder("home/.etlegacy/etmain");
    Folder("home/.etlegacy/legacy");
    Folder("home/.etlegacy/docs");
    et.SetModFullDir(Folder("home/.etlegacy/legacy"));
    ASSERT_TRUE(et.IsLocationValid());

    const QList<Entry> entries = ModFolderList::ListModFolders(GameDetection::SearchPlaces::OfThisSystem(), et);
    ASSERT_EQ(Names(entries), (QStringList{"etmain", "legacy", "etmain", "legacy"}));
    EXPECT_TRUE(entries[1].besideExecutable);
    EXPECT_FALSE(entries[3].besideExecutable);
    EXPECT_EQ(entries[3].folder, tree.Path("home/.etlegacy"));
    // The one the game uses, not its namesake beside the executable.
    EXPECT_EQ(ModFolderList::CurrentEntry(entries, et), 3);
    EXPECT_EQ(ModFolderList::FullPath(entries[3]), et.ModFullDir());

    // Beside the executable again: only that folder.
    et.SetModFullDir(tree.Path("opt/etlegacy/legacy"));
    EXPECT_EQ(Names(ModFolderList::ListModFolders(GameDetection::SearchPlaces::OfThisSystem(), et)), (QStringList{"etmain", "legacy"}));
    EXPECT_EQ(ModFolderList::CurrentEntry(ModFolderList::ListModFolders(GameDetection::SearchPlaces::OfThisSystem(), et), et), 1);
}

TEST_F(ModFolderListTest, TheEnginesHomeFoldersAreOffered)
{
    // Quake 3 as Debian installs it: the engine's start script alone in a
    // folder, the base folder only in the engine's home folder.
    CGameDefinition q3 = MakeGame(1);
    q3.SetExeFullPath(File("usr/games/ioquake3"));
    File("usr/games/README");
    Folder("user/.q3a/baseq3");
    QList<Entry> entries = ModFolderList::ListModFolders(GameDetection::SearchPlaces::OfThisSystem(), q3);
    ASSERT_EQ(Names(entries), QStringList{"baseq3"});
    EXPECT_FALSE(entries[0].besideExecutable);
    EXPECT_EQ(entries[0].folder, home.Path(".q3a"));
    EXPECT_EQ(ModFolderList::CurrentEntry(entries, q3), -1);
    // Chosen, it is a location the game runs from, and the chosen entry.
    q3.SetModFullDir(ModFolderList::FullPath(entries[0]));
    EXPECT_TRUE(q3.IsLocationValid());
    EXPECT_EQ(ModFolderList::CurrentEntry(ModFolderList::ListModFolders(GameDetection::SearchPlaces::OfThisSystem(), q3), q3), 0);

    // Each home folder of the table that holds the base folder (any case),
    // after the executable's own, in the table's order; the mod folder's
    // own home folder is not listed twice.
    CGameDefinition et = MakeGame(0);
    et.SetExeFullPath(File("opt/etlegacy/etl"));
    Folder("opt/etlegacy/legacy");
    Folder("user/.etlegacy/legacy");  // no base folder: not a place to run from
    Folder("user/.local/share/etlegacy/ETMAIN");
    Folder("user/.local/share/etlegacy/legacy");
    Folder("user/.etwolf/etmain");
    Folder("user/.etwolf/etpro");
    et.SetModFullDir(Folder("user/.etwolf/etpro"));
    entries = ModFolderList::ListModFolders(GameDetection::SearchPlaces::OfThisSystem(), et);
    EXPECT_EQ(Names(entries), (QStringList{"legacy", "ETMAIN", "legacy", "etmain", "etpro"}));
    EXPECT_EQ(Folders(entries), (QStringList{tree.Path("opt/etlegacy"), home.Path(".local/share/etlegacy"),
                                             home.Path(".local/share/etlegacy"), home.Path(".etwolf"),
                                             home.Path(".etwolf")}));
    EXPECT_EQ(ModFolderList::CurrentEntry(entries, et), 4);
    // The namesake beside the executable when the mod folder lies there.
    et.SetModFullDir(tree.Path("opt/etlegacy/legacy"));
    EXPECT_EQ(ModFolderList::CurrentEntry(ModFolderList::ListModFolders(GameDetection::SearchPlaces::OfThisSystem(), et), et), 0);

    // A game that runs from an absolute folder chooses it with a browser.
    CGameDefinition qw = MakeGame(4);
    qw.SetExeFullPath(File("etqw/etqw"));
    Folder("user/.etqwcl/base");
    EXPECT_TRUE(ModFolderList::ListModFolders(GameDetection::SearchPlaces::OfThisSystem(), qw).isEmpty());
}

TEST_F(ModFolderListTest, BadLocationsGiveNothing)
{
    CGameDefinition et = MakeGame(0);
    EXPECT_TRUE(ModFolderList::ListModFolders(GameDetection::SearchPlaces::OfThisSystem(), et).isEmpty());  // no executable yet
    et.SetExeFullPath("Et.exe");                                // no folder part
    EXPECT_TRUE(ModFolderList::ListModFolders(GameDetection::SearchPlaces::OfThisSystem(), et).isEmpty());
    et.SetExeFullPath(tree.Path("gone/Et.exe"));
    EXPECT_TRUE(ModFolderList::ListModFolders(GameDetection::SearchPlaces::OfThisSystem(), et).isEmpty());
    EXPECT_EQ(ModFolderList::CurrentEntry({}, et), -1);
}
