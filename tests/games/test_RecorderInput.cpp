#include "RecorderKeyTable.h"
#include "RecorderNames.h"

#include <gtest/gtest.h>

using namespace RecorderKeys;

TEST(RecorderKeys, RowsSeparatorsAndBindNames)
{
    const QStringList& texts = DisplayTexts();
    const QStringList& binds = KeyTable();
    ASSERT_EQ(texts.size(), kRowCount);
    ASSERT_EQ(binds.size(), kRowCount);

    // The groups lie between the separators: 11, 10, 26, 5, 8, 6, 4, 17, 12 keys.
    QList<int> separators;
    for (int i = 0; i < kRowCount; ++i)
        if (IsSeparator(i))
            separators << i;
    EXPECT_EQ(separators, (QList<int>{11, 22, 49, 55, 64, 71, 76, 94}));
    EXPECT_EQ(texts.at(11), "-----------");
    EXPECT_FALSE(IsSeparator(0));  // "-" is a key
    EXPECT_FALSE(IsSeparator(-1));
    EXPECT_FALSE(IsSeparator(kRowCount));

    struct Row
    {
        int row;
        const char* text;
        const char* bind;
    };
    const Row rows[] = {
        {0, "-", ""},         {4, ";", "SemiColon"},    {6, "\\", ""},          {10, "0x00", ""},
        {12, "0", ""},        {21, "9", ""},            {23, "A", ""},          {48, "Z", ""},
        {50, "Mouse 1", "mouse1"}, {54, "Mouse 5", "mouse5"}, {56, "Alt", ""},  {63, "Tab", ""},
        {65, "Insert", "Ins"}, {66, "Delete", "Del"},   {67, "Home", ""},       {69, "Page up", "PgUp"},
        {70, "Page down", "PgDn"}, {72, "Up arrow", "UpArrow"}, {75, "Right arrow", "RightArrow"},
        {77, "Num. 0", "KP_Ins"}, {82, "Num. 5", "KP_5"}, {87, "Num. Delete", "KP_Del"},
        {91, "Numlock", "KP_Numlock"}, {92, "Num. *", "*"}, {93, "Num. /", "KP_Slash"},
        {95, "F1", ""},       {106, "F12", ""},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(texts.at(r.row), r.text) << r.row;
        EXPECT_EQ(binds.at(r.row), r.bind) << r.row;
    }
}

TEST(RecorderKeys, ChosenTextsGiveBindNames)
{
    EXPECT_EQ(BindOfText("Page up"), "PgUp");
    EXPECT_EQ(BindOfText("page UP"), "PgUp");  // the list's search ignores case
    EXPECT_EQ(BindOfText("K"), "K");
    EXPECT_EQ(BindOfText("home"), "Home");     // a listed key gives its row's text
    EXPECT_EQ(BindOfText(";"), "SemiColon");
    EXPECT_EQ(BindOfText("Num. *"), "*");
    EXPECT_EQ(BindOfText("KP_INS"), "KP_INS");  // not a row's text: kept as typed
    EXPECT_EQ(BindOfText("kp_leftarrow"), "kp_leftarrow");
    EXPECT_EQ(BindOfText(""), "");
}

TEST(RecorderKeys, StoredBindNamesSelectRows)
{
    EXPECT_EQ(RowOfBind(""), 0);
    EXPECT_EQ(RowOfBind("PgUp"), 69);       // by the key table
    EXPECT_EQ(RowOfBind("home"), 67);       // by the text, without regard to case
    EXPECT_EQ(RowOfBind("pgup"), -1);       // the key table is compared exactly: shown as typed
    EXPECT_EQ(RowOfBind("mouse3"), 52);
    EXPECT_EQ(RowOfBind("SemiColon"), 4);
    EXPECT_EQ(RowOfBind("*"), 92);
    EXPECT_EQ(RowOfBind("8"), 20);
    EXPECT_EQ(RowOfBind("KP_HOME"), -1);
    // Every row is found again from what choosing it stores.
    for (int i = 0; i < kRowCount; ++i) {
        if (!IsSeparator(i)) {
            EXPECT_EQ(RowOfBind(BindOfText(DisplayTexts().at(i))), i) << i;
        }
    }
}

TEST(RecorderNames, SanitizeTable)
{
    using RecorderNames::fSanitizeName;
    struct Case
    {
        const char* in;
        bool separators;
        const char* out;
    };
    const Case cases[] = {
        {" cameras//vava\\\\pos\\ ", true, "cameras\\vava\\pos"},
        {"\\\\cameras\\\\vava\\\\", true, "cameras\\vava"},
        {"my scripts", true, "my_scripts"},
        {"a/b:c", false, "a_b_c"},
        {" pos MV ", false, "pos_MV"},
        {"\\", true, ""},
        {"\\\\", true, ""},
        {"\\a\\", true, "a"},
        {"\\", false, "_"},
        {"\\\\", false, "__"},
        {"a\\b", false, "a_b"},
        {"   ", true, ""},
        {"", false, ""},
        {"x*y?z\"<>|", false, "x_y_z____"},
        {"c:\\games", true, "c_\\games"},
        // What would end or misdirect a console command.
        {"pos;quit", false, "pos_quit"},
        {"dir;exec x", true, "dir_exec_x"},
        {"a\tb", false, "a_b"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fSanitizeName(QString::fromUtf8(c.in), c.separators), QString::fromUtf8(c.out)) << c.in;

    // Latin-1 letters stay (the scripts hold them as one byte); others go,
    // one "_" a character, also beyond the 16-bit range.
    EXPECT_EQ(fSanitizeName(QString::fromUtf8("caméra"), false), QString::fromUtf8("caméra"));
    EXPECT_EQ(fSanitizeName(QString::fromUtf8("posΩ€"), false), "pos__");
    EXPECT_EQ(fSanitizeName(QString::fromUtf8("a\xF0\x9F\x8E\xA5" "b"), true), "a_b");
}

TEST(RecorderNames, FoldersInsideTheModFolder)
{
    struct Case
    {
        const char* folder;
        bool inside;
    };
    for (const Case& c : {Case{"", true}, Case{"cameras\\vava", true}, Case{"a..b\\.c", true},
                          Case{"..\\..\\..\\tmp", false}, Case{"a\\..\\..\\b", false}, Case{".", false},
                          Case{"a/./b", false}, Case{"\\rzz", false}, Case{"/tmp", false}, Case{"C:\\rzz", false}})
        EXPECT_EQ(RecorderNames::IsFolderInside(QString::fromLatin1(c.folder)), c.inside) << c.folder;
}
