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
    GamesTempTree tree;
};

} // namespace

TEST_F(ModFolderListTest, ExcludedNamesAreWholeAndCaseBlind)
{
    CGameDefinition et = MakeGame(0);
    et.SetExeFullPath(File("ET/Et.exe"));
    for (const char* name : {"Backup", "DOCS", "pbstats", "pb", "Libs", "uninstall"})
        Folder(QStringLiteral("ET/") + name);
    File("ET/readme.txt");
    const QList<Entry> entries = ModFolderList::ListModFolders(et);
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
    QList<Entry> entries = ModFolderList::ListModFolders(et);
    EXPECT_EQ(Names(entries), (QStringList{"etmain", "ETPRO", "etpro2"}));
    EXPECT_EQ(ModFolderList::CurrentEntry(entries, et), 0);

    // A mod folder named in another case is listed but not chosen.
    et.SetModFullDir(tree.Path("ET/etpro"));
    ASSERT_EQ(et.ModDirBasename(), "etpro");
    EXPECT_EQ(ModFolderList::CurrentEntry(ModFolderList::ListModFolders(et), et), -1);
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

    const QList<Entry> entries = ModFolderList::ListModFolders(et);
    ASSERT_EQ(Names(entries), (QStringList{"etmain", "legacy", "etmain", "legacy"}));
    EXPECT_TRUE(entries[1].besideExecutable);
    EXPECT_FALSE(entries[3].besideExecutable);
    EXPECT_EQ(entries[3].folder, tree.Path("home/.etlegacy"));
    // The one the game uses, not its namesake beside the executable.
    EXPECT_EQ(ModFolderList::CurrentEntry(entries, et), 3);
    EXPECT_EQ(ModFolderList::FullPath(entries[3]), et.ModFullDir());

    // Beside the executable again: only that folder.
    et.SetModFullDir(tree.Path("opt/etlegacy/legacy"));
    EXPECT_EQ(Names(ModFolderList::ListModFolders(et)), (QStringList{"etmain", "legacy"}));
    EXPECT_EQ(ModFolderList::CurrentEntry(ModFolderList::ListModFolders(et), et), 1);
}

TEST_F(ModFolderListTest, BadLocationsGiveNothing)
{
    CGameDefinition et = MakeGame(0);
    EXPECT_TRUE(ModFolderList::ListModFolders(et).isEmpty());  // no executable yet
    et.SetExeFullPath("Et.exe");                                // no folder part
    EXPECT_TRUE(ModFolderList::ListModFolders(et).isEmpty());
    et.SetExeFullPath(tree.Path("gone/Et.exe"));
    EXPECT_TRUE(ModFolderList::ListModFolders(et).isEmpty());
    EXPECT_EQ(ModFolderList::CurrentEntry({}, et), -1);
}
