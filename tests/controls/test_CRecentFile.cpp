// The recent-files list on a fake menu array, with a settings store of its
// own in a temporary folder for each test.
#include "CRecentFile.h"
#include "IMenuItemArray.h"
#include "MRegistry.h"
#include "RuvError.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <map>

namespace {

// A menu item array in memory, with the errors of a real one.
class FakeMenuItems : public IMenuItemArray
{
public:
    struct Item
    {
        QString caption;
        QString tag;
        bool enabled = true;
        bool checked = false;
        bool visible = true;
    };
    std::map<int32_t, Item> items;

    FakeMenuItems() { items[0].caption = QStringLiteral("-"); }

    int32_t LBound() const override { return Bounds().first; }
    int32_t UBound() const override { return Bounds().second; }
    int32_t Count() const override { return static_cast<int32_t>(items.size()); }
    bool IsLoaded(int32_t index) const override { return items.count(index) != 0; }
    void Load(int32_t index) override
    {
        if (IsLoaded(index))
            throw RuvError(360, QStringLiteral("Object already loaded"), QStringLiteral("Fake"));
        items[index] = Item{};
    }
    void Unload(int32_t index) override
    {
        At(index);
        items.erase(index);
    }
    QString Caption(int32_t i) const override { return At(i).caption; }
    void SetCaption(int32_t i, const QString& v) override { At(i).caption = v; }
    QString Tag(int32_t i) const override { return At(i).tag; }
    void SetTag(int32_t i, const QString& v) override { At(i).tag = v; }
    bool Enabled(int32_t i) const override { return At(i).enabled; }
    void SetEnabled(int32_t i, bool v) override { At(i).enabled = v; }
    bool Checked(int32_t i) const override { return At(i).checked; }
    void SetChecked(int32_t i, bool v) override { At(i).checked = v; }
    bool Visible(int32_t i) const override { return At(i).visible; }
    void SetVisible(int32_t i, bool v) override { At(i).visible = v; }

private:
    std::pair<int32_t, int32_t> Bounds() const
    {
        if (items.empty())
            throw RuvError(340, QStringLiteral("Control array element '0' doesn't exist"), QStringLiteral("Fake"));
        return {items.begin()->first, items.rbegin()->first};
    }
    Item& At(int32_t i)
    {
        const auto it = items.find(i);
        if (it == items.end())
            throw RuvError(340, QStringLiteral("Control array element '%1' doesn't exist").arg(i), QStringLiteral("Fake"));
        return it->second;
    }
    const Item& At(int32_t i) const { return const_cast<FakeMenuItems*>(this)->At(i); }
};

const QString kKey = QStringLiteral("HKLM\\Software\\Viziviz\\Ruvadir\\Games settings\\Quake III Arena");

class RecentFileTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QByteArray oldEnv;
    FakeMenuItems menu;
    CRecentFile list;

    void SetUp() override
    {
        oldEnv = qgetenv("RUVADIR_REGISTRY");
        qputenv("RUVADIR_REGISTRY", dir.path().toUtf8());
        ASSERT_TRUE(list.Init(&menu, kKey, 10));
    }
    void TearDown() override
    {
        if (oldEnv.isEmpty())
            qunsetenv("RUVADIR_REGISTRY");
        else
            qputenv("RUVADIR_REGISTRY", oldEnv);
    }

    QStringList Pairs()
    {
        QStringList values;
        list.GetDatas(CRecentFile::ModePairs, values);
        return values;
    }
    // The slots' captions as shown, "" for a hidden slot.
    QStringList Shown() const
    {
        QStringList out;
        for (const auto& [index, item] : menu.items)
            if (index > 0)
                out << (item.visible ? item.caption : QString());
        return out;
    }
    static QStringList StoredNames()
    {
        QStringList names;
        QList<int32_t> types;
        MRegistry::RegListValues(kKey, names, types);
        return names;
    }
    static void Store(const QString& name, const QString& text)
    {
        ASSERT_TRUE(MRegistry::RegWrite(kKey, name, MRegistry::RegSz, TaggedValue(text)));
    }
    static QString Stored(const QString& name) { return MRegistry::RegRead(kKey, name).TextValue(); }
};

} // namespace

TEST_F(RecentFileTest, KeyIsNormalised)
{
    struct Case { const char* given; const char* stored; };
    const Case cases[] = {
        {"  HKCU/Software/Viziviz  ", "HKCU\\Software\\Viziviz"},
        {"HKCU\\\\Software\\\\Viziviz", "HKCU\\Software\\Viziviz"},
        // Three backslashes leave two: one pass from the left.
        {"HKCU\\\\\\Software", "HKCU\\\\Software"},
        {"HKCU//Software", "HKCU\\Software"},
    };
    for (const Case& c : cases) {
        list.SetRegistryKey(QString::fromLatin1(c.given));
        EXPECT_EQ(list.RegistryKey(), QString::fromLatin1(c.stored)) << c.given;
    }
}

TEST_F(RecentFileTest, SlotCountIsClampedAndNothingHappensBeforeInit)
{
    list.SetMax(0);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(menu.UBound(), 1);
    list.SetMax(25);
    EXPECT_EQ(list.Count(), 20);
    EXPECT_EQ(menu.Count(), 21);
    list.SetMax(3);
    EXPECT_EQ(menu.UBound(), 3);

    CRecentFile unbound;
    EXPECT_EQ(unbound.Count(), 0);
    unbound.Add(QStringLiteral("a"), QStringLiteral("/a"), true);
    unbound.SetMax(5);
    unbound.ClearAll();
    QStringList values;
    EXPECT_FALSE(unbound.GetDatas(CRecentFile::ModePairs, values));
    EXPECT_FALSE(unbound.RegistryRead());
    EXPECT_FALSE(unbound.RegistrySave());
    EXPECT_EQ(unbound.GetIndex(QStringLiteral("a"), QString()), 0);
    EXPECT_EQ(unbound.Count(), 0);

    // An array without elements cannot be bound.
    FakeMenuItems empty;
    empty.items.clear();
    EXPECT_FALSE(unbound.Init(&empty, kKey, 10));
    EXPECT_FALSE(unbound.Init(nullptr, kKey, 10));
    EXPECT_EQ(unbound.Count(), 0);
}

TEST_F(RecentFileTest, InitLoadsAMissingSeparatorAndFillsGaps)
{
    FakeMenuItems gappy;
    gappy.items.clear();
    gappy.items[2].caption = QStringLiteral("old");
    CRecentFile other;
    ASSERT_TRUE(other.Init(&gappy, kKey, 4));
    EXPECT_EQ(gappy.Count(), 5);
    EXPECT_EQ(gappy.items[0].caption, QStringLiteral("-"));
    // "old" is an entry in slot 2; slot 1 was the gap.
    EXPECT_TRUE(gappy.items[0].visible);
    EXPECT_FALSE(gappy.items[1].visible);
    EXPECT_TRUE(gappy.items[2].visible);
}

TEST_F(RecentFileTest, AddMovesTheSamePathOnlyWhenAsked)
{
    list.Add(QStringLiteral("a"), QStringLiteral("/maps/a.rpj"), true);
    list.Add(QStringLiteral("b"), QStringLiteral("/maps/b.rpj"), true);
    list.Add(QStringLiteral("a again"), QStringLiteral("  /maps/a.rpj "), true);
    // One entry, on top, with its first caption.
    EXPECT_EQ(Pairs(), QStringList({"a", "/maps/a.rpj", "b", "/maps/b.rpj"}));
    EXPECT_EQ(Shown().mid(0, 3), QStringList({"a", "b", ""}));
    EXPECT_TRUE(menu.items[0].visible);
    EXPECT_EQ(menu.items[0].caption, QStringLiteral("-"));

    list.Add(QStringLiteral("b2"), QStringLiteral("/maps/b.rpj"), false);
    EXPECT_EQ(Pairs(), QStringList({"b2", "/maps/b.rpj", "a", "/maps/a.rpj", "b", "/maps/b.rpj"}));

    // Nothing to add; an entry without caption is kept hidden.
    list.Add(QStringLiteral("  "), QString(), true);
    EXPECT_EQ(Pairs().size(), 6);
    list.Add(QString(), QStringLiteral("/hidden"), false);
    EXPECT_EQ(Shown().mid(0, 4), QStringList({"", "b2", "a", "b"}));
    EXPECT_EQ(menu.items[1].tag, QStringLiteral("/hidden"));
}

TEST_F(RecentFileTest, PathsThatDifferByCaseStayTwoEntries)
{
    list.Add(QStringLiteral("Demo"), QStringLiteral("/home/u/Demo.rpj"), true);
    list.Add(QStringLiteral("demo"), QStringLiteral("/home/u/demo.rpj"), true);
    EXPECT_EQ(Pairs(), QStringList({"demo", "/home/u/demo.rpj", "Demo", "/home/u/Demo.rpj"}));
    // The exact path still moves.
    list.Add(QStringLiteral("x"), QStringLiteral("/home/u/Demo.rpj"), true);
    EXPECT_EQ(Pairs(), QStringList({"Demo", "/home/u/Demo.rpj", "demo", "/home/u/demo.rpj"}));
    // GetIndex compares without regard to case: the first match wins.
    EXPECT_EQ(list.GetIndex(QString(), QStringLiteral(" /HOME/U/DEMO.RPJ ")), 1);
    EXPECT_EQ(list.GetIndex(QStringLiteral("DEMO"), QString()), 1);
    EXPECT_EQ(list.GetIndex(QStringLiteral("demo"), QStringLiteral("/home/u/demo.rpj")), 1);
    EXPECT_EQ(list.GetIndex(QStringLiteral("other"), QStringLiteral("/home/u/demo.rpj")), 0);
    EXPECT_EQ(list.GetIndex(QString(), QString()), 0);
}

TEST_F(RecentFileTest, AnEleventhEntryDropsTheOldest)
{
    for (int i = 1; i <= 11; ++i)
        list.Add(QStringLiteral("p%1").arg(i), QStringLiteral("/p/%1").arg(i), true);
    QStringList captions;
    ASSERT_TRUE(list.GetDatas(CRecentFile::ModeCaptions, captions));
    ASSERT_EQ(captions.size(), 10);
    EXPECT_EQ(captions.front(), QStringLiteral("p11"));
    EXPECT_EQ(captions.back(), QStringLiteral("p2"));
    EXPECT_EQ(menu.UBound(), 10);
}

TEST_F(RecentFileTest, AGapIsSavedWithoutNumbersMissing)
{
    list.Add(QStringLiteral("c"), QStringLiteral("/c"), true);
    list.Add(QStringLiteral("b"), QStringLiteral("/b"), true);
    list.Add(QStringLiteral("a"), QStringLiteral("/a"), true);
    list.Clear(2);
    EXPECT_EQ(Shown().mid(0, 3), QStringList({"a", "", "c"}));
    Store(QStringLiteral("Other"), QStringLiteral("kept"));
    Store(QStringLiteral("RecentFile7"), QStringLiteral("stale|/stale"));
    EXPECT_TRUE(list.RegistrySave());
    EXPECT_EQ(StoredNames(), QStringList({"Other", "RecentFile1", "RecentFile2"}));
    EXPECT_EQ(Stored(QStringLiteral("RecentFile1")), QStringLiteral("a|/a"));
    EXPECT_EQ(Stored(QStringLiteral("RecentFile2")), QStringLiteral("c|/c"));
    EXPECT_EQ(Stored(QStringLiteral("Other")), QStringLiteral("kept"));

    // Clearing out of range moves nothing; all empty hides the separator.
    list.Clear(0);
    list.Clear(11);
    EXPECT_EQ(Shown().mid(0, 3), QStringList({"a", "", "c"}));
    list.ClearAll();
    EXPECT_FALSE(menu.items[0].visible);
    EXPECT_EQ(Shown(), QStringList(QList<QString>(10)));
    // An empty list is not saved, but its stored entries go.
    EXPECT_FALSE(list.RegistrySave());
    EXPECT_EQ(StoredNames(), QStringList({"Other"}));
}

TEST_F(RecentFileTest, StoredValuesAreSplitAtTheirLastBar)
{
    Store(QStringLiteral("RecentFile1"), QStringLiteral("a|b|c"));
    Store(QStringLiteral("recentfile2"), QStringLiteral("|abc"));
    Store(QStringLiteral("RECENTFILE3"), QStringLiteral("abc|"));
    Store(QStringLiteral("RecentFile4"), QStringLiteral("   "));
    ASSERT_TRUE(MRegistry::RegWrite(kKey, QStringLiteral("RecentFile5"), MRegistry::RegDword, TaggedValue(int32_t(5))));
    Store(QStringLiteral("RecentFile"), QStringLiteral("no number|/x"));
    Store(QStringLiteral("RecentFileZ"), QStringLiteral("  z|/z  "));
    Store(QStringLiteral("Recent"), QStringLiteral("other|/o"));
    list.ClearAll();
    ASSERT_TRUE(list.RegistryRead());
    EXPECT_EQ(Pairs(), QStringList({"a|b", "c", "|abc", "|abc", "abc|", "abc|", "z", "/z"}));
}

TEST_F(RecentFileTest, BulkAccessByMode)
{
    list.Add(QStringLiteral("two"), QStringLiteral("/2"), true);
    list.Add(QStringLiteral("one"), QStringLiteral("/1"), true);
    QStringList values;
    ASSERT_TRUE(list.GetDatas(CRecentFile::ModeCaptions, values));
    EXPECT_EQ(values, QStringList({"one", "two"}));
    ASSERT_TRUE(list.GetDatas(CRecentFile::ModeDatas, values));
    EXPECT_EQ(values, QStringList({"/1", "/2"}));
    QString text;
    ASSERT_TRUE(list.GetDatasStr(CRecentFile::ModePairs, text));
    EXPECT_EQ(text, QStringLiteral("one|/1|two|/2"));

    // Pairs from a text; trailing empty parts dropped, an odd one gets no
    // data; later slots keep what they hold.
    EXPECT_TRUE(list.SetDatasStr(0, QStringLiteral(" x | /x |y| |")));
    EXPECT_EQ(Pairs(), QStringList({"x", "/x", "y", ""}));
    EXPECT_FALSE(list.SetDatasStr(0, QStringLiteral(" | |")));
    EXPECT_FALSE(list.SetDatas(CRecentFile::ModePairs, {}));
    ASSERT_TRUE(list.SetDatas(CRecentFile::ModeDatas, {QStringLiteral(" /d1 ")}));
    EXPECT_EQ(Pairs(), QStringList({"x", "/d1", "y", ""}));
    ASSERT_TRUE(list.SetDatas(CRecentFile::ModeCaptions, {QStringLiteral("c1"), QStringLiteral("c2")}));
    EXPECT_EQ(Pairs(), QStringList({"c1", "/d1", "c2", ""}));
    list.ClearAll();
    EXPECT_FALSE(list.GetDatas(CRecentFile::ModePairs, values));
    EXPECT_TRUE(values.isEmpty());
}

TEST_F(RecentFileTest, TwelveEntriesComeBackInSlotOrder)
{
    list.SetMax(20);
    for (int i = 12; i >= 1; --i)
        list.Add(QStringLiteral("p%1").arg(i), QStringLiteral("/p/%1").arg(i), true);
    ASSERT_TRUE(list.RegistrySave());
    QStringList expected;
    for (int i = 1; i <= 12; ++i)
        expected << QStringLiteral("RecentFile%1").arg(i);
    EXPECT_EQ(StoredNames(), expected);

    // A list of 10 grows to take them all, in the order they were saved.
    FakeMenuItems otherMenu;
    CRecentFile other;
    ASSERT_TRUE(other.Init(&otherMenu, kKey, 10));
    other.ClearAll();
    ASSERT_TRUE(other.RegistryRead());
    EXPECT_EQ(other.Count(), 12);
    QStringList captions;
    other.GetDatas(CRecentFile::ModeCaptions, captions);
    ASSERT_EQ(captions.size(), 12);
    EXPECT_EQ(captions[8], QStringLiteral("p9"));
    EXPECT_EQ(captions[9], QStringLiteral("p10"));
    EXPECT_EQ(captions[11], QStringLiteral("p12"));
}

TEST_F(RecentFileTest, StoredValuesBeyondTwentySlotsAreDropped)
{
    for (int i = 1; i <= 25; ++i)
        Store(QStringLiteral("RecentFile%1").arg(i), QStringLiteral("p%1|/p/%1").arg(i));
    ASSERT_TRUE(list.RegistryRead());
    EXPECT_EQ(list.Count(), 20);
    QStringList datas;
    list.GetDatas(CRecentFile::ModeDatas, datas);
    ASSERT_EQ(datas.size(), 20);
    EXPECT_EQ(datas.back(), QStringLiteral("/p/20"));
    // The same through the bulk setter.
    QStringList many;
    for (int i = 1; i <= 30; ++i)
        many << QStringLiteral("c%1").arg(i);
    EXPECT_TRUE(list.SetDatas(CRecentFile::ModeCaptions, many));
    QStringList captions;
    list.GetDatas(CRecentFile::ModeCaptions, captions);
    EXPECT_EQ(captions.size(), 20);
}

TEST_F(RecentFileTest, StoreFailuresAreReportedAndTheMenuKeepsItsEntries)
{
    list.Add(QStringLiteral("a"), QStringLiteral("/a"), true);
    list.SetDebugMode(true);
    QStringList lines;
    QObject::connect(&list, &CRecentFile::DebugPrint, [&](const QString& line) { lines << line; });
    ASSERT_TRUE(list.RegistrySave());
    ASSERT_TRUE(list.RegistrySave());
    EXPECT_EQ(lines, QStringList({"CRecentFileRegistrySave() - " + kKey + "\\RecentFile1 : True",
                                  "CRecentFile.RegistryClear() - " + kKey + "\\RecentFile1 : True",
                                  "CRecentFileRegistrySave() - " + kKey + "\\RecentFile1 : True"}));

    // A store that cannot be written: a plain file stands where its folder
    // should be.
    const QString blocker = dir.filePath(QStringLiteral("blocker"));
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    qputenv("RUVADIR_REGISTRY", (blocker + QStringLiteral("/sub")).toUtf8());
    lines.clear();
    EXPECT_FALSE(list.RegistrySave());
    EXPECT_EQ(lines, QStringList({"CRecentFileRegistrySave() - " + kKey + "\\RecentFile1 : False"}));
    EXPECT_FALSE(list.RegistryRead());
    EXPECT_EQ(Pairs(), QStringList({"a", "/a"}));

    // A damaged store reads as empty.
    QTemporaryDir damaged;
    QFile broken(damaged.filePath(QStringLiteral("registry.xml")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("<registry><key name=");
    broken.close();
    qputenv("RUVADIR_REGISTRY", damaged.path().toUtf8());
    EXPECT_FALSE(list.RegistryRead());
    EXPECT_EQ(Pairs(), QStringList({"a", "/a"}));

    // Without a key nothing is stored.
    qputenv("RUVADIR_REGISTRY", dir.path().toUtf8());
    list.SetRegistryKey(QString());
    EXPECT_FALSE(list.RegistrySave());
    EXPECT_FALSE(list.RegistryRead());
}

TEST_F(RecentFileTest, MoveToTopKeepsTheOthersInOrder)
{
    for (const char* name : {"d", "c", "b", "a"})
        list.Add(QString::fromLatin1(name), QStringLiteral("/") + QString::fromLatin1(name), true);
    menu.items[3].checked = true;
    list.MoveToTop(3);
    EXPECT_EQ(Pairs(), QStringList({"c", "/c", "a", "/a", "b", "/b", "d", "/d"}));
    EXPECT_TRUE(menu.items[1].checked);
    EXPECT_FALSE(menu.items[0].checked);
    EXPECT_EQ(menu.items[0].caption, QStringLiteral("-"));
    EXPECT_TRUE(menu.items[0].tag.isEmpty());
    list.MoveToTop(0);
    list.MoveToTop(11);
    EXPECT_EQ(Pairs().front(), QStringLiteral("c"));
}
