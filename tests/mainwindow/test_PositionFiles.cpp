// The position files of the games, read from files the tests write, under
// the C locale and under a German and a French one.

#include "PositionFiles.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <clocale>

#include <gtest/gtest.h>

using namespace PositionFiles;

namespace {

// Writes bytes as the games do (one byte a character).
QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

struct Expected
{
    float x, y, z, pitch, yaw, roll, fov;
    double time;
};

void ExpectControl(const ControlRecord& r, const Expected& e, const std::string& where)
{
    SCOPED_TRACE(where);
    EXPECT_FLOAT_EQ(r.X, e.x);
    EXPECT_FLOAT_EQ(r.Y, e.y);
    EXPECT_FLOAT_EQ(r.Z, e.z);
    EXPECT_FLOAT_EQ(r.Pitch, e.pitch);
    EXPECT_FLOAT_EQ(r.Yaw, e.yaw);
    EXPECT_FLOAT_EQ(r.Roll, e.roll);
    EXPECT_FLOAT_EQ(r.Fov, e.fov);
    EXPECT_DOUBLE_EQ(r.Time, e.time);
    EXPECT_FLOAT_EQ(r.Timescale, 1.0f);
    // Nothing else of the control is touched.
    EXPECT_EQ(r.Tan1X, 0.0f);
    EXPECT_EQ(r.TargetX, 0.0);
    EXPECT_EQ(r.Hide, 0);
    EXPECT_TRUE(r.Command.isEmpty());
}

class PositionFileLocales : public ::testing::TestWithParam<const char*>
{
protected:
    void SetUp() override
    {
        const char* name = GetParam();
        ASSERT_NE(std::setlocale(LC_ALL, name), nullptr) << name;
        QLocale::setDefault(QLocale(QString::fromLatin1(name).section(QLatin1Char('.'), 0, 0)));
        if (QString::fromLatin1(name) != QLatin1String("C")) {
            ASSERT_EQ(QLocale().decimalPoint(), QStringLiteral(","));
        }
        ASSERT_TRUE(m_dir.isValid());
    }
    void TearDown() override
    {
        std::setlocale(LC_ALL, "C");
        QLocale::setDefault(QLocale::c());
    }
    QTemporaryDir m_dir;
};

// One file a position (ET Pro, RTCW, ET QW): each case a whole file.
TEST_P(PositionFileLocales, FolderGamesParseTheirFiles)
{
    struct Case
    {
        const char* what;
        int32_t gameType;
        QByteArray text;
        Expected control;
    };
    const QByteArray cvar = "\"cg_fov\" is:\"105^7\" default:\"90^7\"\n";
    const Case cases[] = {
        {"ET Pro", 0, "(1234.567 -89.125 40) : 91.345\n" + cvar, {1234.57f, -89.12f, 40, 0, 91.34f, 0, 105, 0}},
        {"ET Pro, four colons: as RTCW", 0, "(1 2 3) : 10 20 30 : 2500\n" + cvar, {1, 2, 3, -10, 20, 30, 105, 2.5}},
        {"ET Pro, field of view 0", 0, "(1 2 3) : 4\n\"cg_fov\" is:\"0\" default:\"90\"\n", {1, 2, 3, 0, 4, 0, 90, 0}},
        {"ET Pro, field of view missing", 0, "(1 2 3) : 4\n", {1, 2, 3, 0, 4, 0, 90, 0}},
        {"ET Pro, CR LF", 0, "(5 6 7) : 8\r\n\"cg_fov\" is:\"100\"\r\n", {5, 6, 7, 0, 8, 0, 100, 0}},
        {"ET Pro, comma decimals read up to the comma", 0, "(1,5 2 3) : 4\n", {1, 2, 3, 0, 4, 0, 90, 0}},
        {"RTCW", 3, "(-10.5 20.25 30e1) : -45 180.004 -3 : 500.5\n" + cvar,
         {-10.5f, 20.25f, 300, 45, 180, -3, 105, 0.5005}},
        {"RTCW, Z without its bracket", 3, "(1 2 3 : 4 5 6 : 7\n" + cvar, {1, 2, 0, 0, 0, 0, 90, 0}},
        {"RTCW, no bracket at all", 3, "1 2 3) : 4 5 6 : 7\n" + cvar, {0, 0, 0, 0, 0, 0, 90, 0}},
        {"RTCW, fields that do not read", 3, "(x 2 y) : - 5 + : abc\n" + cvar, {0, 2, 0, 0, 5, 0, 105, 0}},
        {"RTCW, beyond the fields' range", 3, "(1e39 2 3) : 4 5 6 : 1e400\n" + cvar, {0, 2, 3, -4, 5, 6, 105, 0}},
        {"ET QW", 4, "getViewPos (7 8 9) (100 -200.5 30.126) 15 270 -5 12000\nui_fov: 80.5\"\n",
         {100, -200.5f, 30.13f, -15, 270, -5, 80.5f, 12}},
        {"ET QW, one bracket only", 4, "(100 200 300) 1 2 3 4\n: 70\"", {0, 0, 0, 0, 0, 0, 90, 0}},
    };
    for (const Case& c : cases) {
        const QString path = WriteFile(m_dir, QStringLiteral("cam.pos"), c.text);
        QStringList entries, read;
        ReadEntryFiles({path}, entries, read);
        ASSERT_EQ(entries.size(), 1) << c.what;
        EXPECT_EQ(read, QStringList{path});
        const std::vector<ControlRecord> controls = ParseEntries(c.gameType, entries);
        ASSERT_EQ(controls.size(), 1u) << c.what;
        ExpectControl(controls[0], c.control, c.what);
    }
}

// One file, one position a line (DeFrag; Warsow has no parser).
TEST_P(PositionFileLocales, LineGamesParseTheirLines)
{
    const QString path = WriteFile(m_dir, QStringLiteral("cams.txt"),
                                   "header:1,2,3,4,5,6,7,8\"\r\n"
                                   "cam1:10.5,-20,30.333,-5,90,99,2,110\"\r\n"
                                   "\r\n"
                                   "cam2:1,2,3,4,5,6,7,0\"\n"
                                   "cam3:1,2\n"
                                   "no colon here,1,2,3\n");
    QStringList lines;
    ASSERT_TRUE(ReadLineFile(path, lines));
    // The landed line reader drops the empty line: it gives no point.
    const QStringList entries = DefragEntries(lines);
    ASSERT_EQ(entries.size(), 4);
    const std::vector<ControlRecord> controls = ParseEntries(1, entries);
    ASSERT_EQ(controls.size(), 4u);
    ExpectControl(controls[0], {10.5f, -20, 30.33f, -5, 90, 2, 110, 0}, "cam1");
    ExpectControl(controls[1], {1, 2, 3, 4, 5, 7, 90, 0}, "cam2: field of view 0");
    ExpectControl(controls[2], {1, 0, 0, 0, 0, 0, 90, 0}, "cam3: cut short");
    ExpectControl(controls[3], {0, 0, 0, 0, 0, 0, 90, 0}, "no colon");

    EXPECT_TRUE(ParseEntries(2, WarsowEntries(lines)).empty());
}

INSTANTIATE_TEST_SUITE_P(PositionFiles, PositionFileLocales, ::testing::Values("C", "de_DE.UTF-8", "fr_FR.UTF-8"));

TEST(PositionFiles, DefragFileOfElevenLinesGivesTenPointsWithoutItsFirstLine)
{
    QStringList lines{QStringLiteral("1:999,999,999,999,999,999,999,\"999\"")};
    for (int i = 1; i <= 10; ++i)
        lines << QStringLiteral("c:%1,0,0,0,0,0,0,\"90\"").arg(i);
    const std::vector<ControlRecord> controls = ParseEntries(1, DefragEntries(lines));
    ASSERT_EQ(controls.size(), 10u);
    for (int i = 0; i < 10; ++i)
        EXPECT_FLOAT_EQ(controls[static_cast<size_t>(i)].X, static_cast<float>(i + 1));
    EXPECT_TRUE(DefragEntries({QStringLiteral("one line")}).isEmpty());
}

TEST(PositionFiles, WarsowDropsItsCommentsAndParsesNothing)
{
    const QStringList lines{QStringLiteral("// Warsow"), QStringLiteral("//"), QStringLiteral("1 2 3"),
                            QStringLiteral("// another"), QStringLiteral("4 5 6")};
    EXPECT_EQ(WarsowEntries(lines), (QStringList{QStringLiteral("//"), QStringLiteral("1 2 3"),
                                                 QStringLiteral("4 5 6")}));
    EXPECT_TRUE(WarsowEntries({QStringLiteral("1 2 3")}).isEmpty());
    EXPECT_TRUE(ParseEntries(2, WarsowEntries(lines)).empty());
    EXPECT_TRUE(ParseEntries(7, {QStringLiteral("(1 2 3) : 4")}).empty());
    EXPECT_TRUE(ParseEntries(0, {}).empty());
}

TEST(PositionFiles, EtProDecidesByItsFirstEntry)
{
    const QString etpro = QStringLiteral("(1 2 3) : 40\n\"cg_fov\" is:\"90\"");
    const QString rtcw = QStringLiteral("(1 2 3) : 10 20 30 : 4000\n\"cg_fov\" is:\"90\" default:\"90\"");
    std::vector<ControlRecord> controls = ParseEntries(0, {rtcw, etpro});
    ASSERT_EQ(controls.size(), 2u);
    EXPECT_FLOAT_EQ(controls[0].Pitch, -10.0f);
    EXPECT_DOUBLE_EQ(controls[0].Time, 4.0);
    // The second entry is read the same way, whatever it holds: its yaw
    // stands where RTCW has the pitch, and no blank ends the yaw.
    EXPECT_FLOAT_EQ(controls[1].Pitch, -40.0f);
    EXPECT_FLOAT_EQ(controls[1].Yaw, 0.0f);
    controls = ParseEntries(0, {etpro, rtcw});
    EXPECT_FLOAT_EQ(controls[0].Yaw, 40.0f);
    EXPECT_FLOAT_EQ(controls[1].Pitch, 0.0f);
    EXPECT_DOUBLE_EQ(controls[1].Time, 0.0);
}

TEST(PositionFiles, FieldReaderFollowsItsPositions)
{
    const QString text = QStringLiteral("ab 1.256 2.345|x");
    int32_t position = 4, end = -1;
    EXPECT_DOUBLE_EQ(fReadPositionField(text, position, end, QStringLiteral(" "), true), 1.26);
    EXPECT_EQ(end, 9);
    EXPECT_EQ(position, 10);
    EXPECT_DOUBLE_EQ(fReadPositionField(text, position, end, QStringLiteral("|"), false), 2.345);
    EXPECT_EQ(position, 16);
    // No terminator: 0, and the position is lost.
    EXPECT_DOUBLE_EQ(fReadPositionField(text, position, end, QStringLiteral(";"), true), 0.0);
    EXPECT_EQ(position, 0);
    EXPECT_EQ(end, 0);
    // A lost position reads 0 and clears the end.
    end = 5;
    EXPECT_DOUBLE_EQ(fReadPositionField(text, position, end, QStringLiteral("|"), true), 0.0);
    EXPECT_EQ(end, 0);
    // Halves to even at two decimals; a position beyond the text.
    position = 1;
    EXPECT_DOUBLE_EQ(fReadPositionField(QStringLiteral("0.125;"), position, end, QStringLiteral(";"), true), 0.12);
    position = 50;
    EXPECT_DOUBLE_EQ(fReadPositionField(text, position, end, QStringLiteral("x"), true), 0.0);
    EXPECT_EQ(position, 0);

    EXPECT_EQ(fCountOccurrences(QStringLiteral("a::b:"), QStringLiteral(":")), 3);
    EXPECT_EQ(fCountOccurrences(QStringLiteral("aaaa"), QStringLiteral("aa")), 3);
    EXPECT_EQ(fCountOccurrences(QStringLiteral("abc"), QString()), 0);
}

TEST(PositionFiles, UnreadableAndOversizedFilesAreSkippedAndNotListedAsRead)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString good = WriteFile(dir, QStringLiteral("a.pos"), "(1 2 3) : 4\n");
    const QString empty = WriteFile(dir, QStringLiteral("b.pos"), "");
    const QString large = WriteFile(dir, QStringLiteral("c.pos"), QByteArray(MaxFileBytes + 1, '('));
    const QString locked = WriteFile(dir, QStringLiteral("d.pos"), "(5 6 7) : 8\n");
    ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::WriteOwner));
    const QString missing = dir.filePath(QStringLiteral("e.pos"));
    const QString exact = WriteFile(dir, QStringLiteral("f.pos"), "(9" + QByteArray(MaxFileBytes - 2, ' '));
    QStringList entries, read;
    ReadEntryFiles({good, empty, large, locked, missing, exact}, entries, read);
    const bool rootReadsAnything = QFile(locked).open(QIODevice::ReadOnly);
    QStringList expected{good};
    if (rootReadsAnything)
        expected << locked;
    expected << exact;
    EXPECT_EQ(read, expected);
    EXPECT_EQ(entries.size(), expected.size());
    EXPECT_EQ(entries.first(), QStringLiteral("(1 2 3) : 4\n"));

    QStringList lines;
    EXPECT_FALSE(ReadLineFile(large, lines));
    EXPECT_FALSE(ReadLineFile(missing, lines));
    EXPECT_FALSE(ReadLineFile(empty, lines));
    EXPECT_TRUE(lines.isEmpty());
    // Skipped files stay where they are.
    EXPECT_TRUE(QFile::exists(large));
    EXPECT_TRUE(QFile::exists(empty));
}

}  // namespace
