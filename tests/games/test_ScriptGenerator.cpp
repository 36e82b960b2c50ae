#include "C3DCameraScriptOption.h"
#include "C3DCurve.h"
#include "CameraScriptText.h"
#include "ControlRecord.h"
#include "GamesTestSupport.h"
#include "MRuvResource.h"
#include "MRuvScriptGenerator.h"

#include <QDir>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace {

struct RecordingUi : IScriptGeneratorUi
{
    std::vector<int32_t> answers;  // given in turn; Cancel once they run out
    int fileErrors = 0;
    QStringList inputErrors;
    int32_t language = 0;
    // Called with each temporary file before it is written, and before the
    // error box answers.
    std::function<void(const QString&)> onWriting;
    std::function<void()> onFileError;
    int32_t LanguageOffset() const override { return language; }
    int32_t ShowScriptFileError(const QString&, const QString&, int32_t style) override
    {
        EXPECT_EQ(style, 69);
        if (onFileError)
            onFileError();
        const size_t i = size_t(fileErrors++);
        return i < answers.size() ? answers[i] : 2;
    }
    void ShowInputError(const QString&, const QString& message) override { inputErrors << message; }
    void WritingFile(const QString& path) override
    {
        if (onWriting)
            onWriting(path);
    }
};

struct Params
{
    QString dir;
    QString relative;
    bool autostart = false;
    bool pause = false;
    int32_t pauseEvery = 2;
    QString basename = "cam";
    QString pauseKey = "SPACE";
    QString before;
    QString after;
    bool warsowLimit = false;

    Params& Dir(const QString& v) { dir = v; return *this; }
    Params& Relative(const QString& v) { relative = v; return *this; }
    Params& Autostart() { autostart = true; return *this; }
    Params& PauseEvery(int32_t n) { pause = true; pauseEvery = n; return *this; }
    Params& PauseKey(const QString& v) { pause = true; pauseKey = v; return *this; }
    Params& Basename(const QString& v) { basename = v; return *this; }
    Params& Before(const QString& v) { before = v; return *this; }
    Params& After(const QString& v) { after = v; return *this; }
    Params& WarsowLimit(bool v) { warsowLimit = v; return *this; }
};

class ScriptGeneratorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        game = MakeGame(3);
        curve.SetGameType(3);
        curve.AddControl3(0, 0, 0, 0, 0, 0, true);
        curve.AddControl3(100, 0, 0, 0, 0, 0, true);
        curve.AddControl3(100, 100, 50, 0, 0, 0, true);
        curve.SetStepRate(30);
        curve.SetDuration(4);
        curve.SetStartTime(1.5);
    }

    bool Generate(const Params& p, RecordingUi& ui, int32_t& points)
    {
        C3DCameraScriptOption opt;
        opt.Initialize(&game, &curve, p.basename, p.dir.isEmpty() ? tmp.path() : p.dir, p.relative, ".cfg",
                       p.warsowLimit, 0, true, true, true, false, 0, 0, false, 0, false, p.autostart, p.before,
                       p.after, false, 0, 0, 0, p.pause, p.pauseEvery, p.pauseKey);
        int32_t elapsed = -1;
        const bool ok = MRuvScriptGenerator::GenerateCameraScripts(ui, "Ruvadir", "cannot write", "Script",
                                                                   opt, elapsed, points);
        EXPECT_GE(elapsed, 0);
        return ok;
    }

    QString File(const QString& name) const { return QString::fromLatin1(ReadAll(tmp.filePath(name))); }
    QStringList Files() const { return QDir(tmp.path()).entryList(QDir::Files, QDir::Name); }
    // Every entry of the folder, temporaries and folders too, with the
    // bytes of the files.
    std::map<QString, QByteArray> Snapshot() const
    {
        std::map<QString, QByteArray> entries;
        for (const QString& name :
             QDir(tmp.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
            entries[name] = ReadAll(tmp.filePath(name));
        return entries;
    }

    QTemporaryDir tmp;
    CGameDefinition game;
    C3DCurve curve;
};

int CountStepLines(const QString& text)
{
    return int(text.count(QStringLiteral("wait;")) / 2);
}

} // namespace

TEST(ScriptChunks, PiecesAreNeverSplitAndAnExactFitStays)
{
    std::vector<std::string> chunks(1);
    size_t current = 0, len = 0;
    MRuvScriptGenerator::AppendToChunks(chunks, current, len, "12345", 10);
    MRuvScriptGenerator::AppendToChunks(chunks, current, len, "67890", 10);  // exactly 10
    MRuvScriptGenerator::AppendToChunks(chunks, current, len, "x", 10);
    MRuvScriptGenerator::AppendToChunks(chunks, current, len, "a line longer than ten", 10);
    EXPECT_EQ(chunks, (std::vector<std::string>{"1234567890", "x", "a line longer than ten"}));
    EXPECT_EQ(current, 2u);

    EXPECT_EQ(MRuvScriptGenerator::ChunkNumber(7, 3), "007");
    EXPECT_EQ(MRuvScriptGenerator::ChunkNumber(999, 1000), "999");
    EXPECT_EQ(MRuvScriptGenerator::ChunkNumber(7, 1001), "0007");
    EXPECT_EQ(MRuvScriptGenerator::ChunkNumber(1000, 1001), "1000");
}

TEST_F(ScriptGeneratorTest, OneChunkWithAndWithoutAutostart)
{
    RecordingUi ui;
    int32_t points = 0;
    ASSERT_TRUE(Generate(Params(), ui, points));
    EXPECT_EQ(Files(), (QStringList{"1stPos.cfg", "cam.cfg"}));
    const QString chunk = File("cam.cfg");
    EXPECT_TRUE(chunk.startsWith("// RTCW camera script - generated by Ruvadir\r\n"));
    EXPECT_TRUE(chunk.endsWith("\r\n// End of file\r\n"));
    EXPECT_FALSE(chunk.contains("Exec"));
    EXPECT_EQ(CountStepLines(chunk), points);
    EXPECT_EQ(curve.StepCount(), points);
    EXPECT_TRUE(File("1stPos.cfg").startsWith("freecamsetpos 0.00 0.00 0.00 "));

    ASSERT_TRUE(Generate(Params().Autostart(), ui, points));
    EXPECT_EQ(Files(), (QStringList{"1stPos.cfg", "cam.cfg", "cam000.cfg"}));
    EXPECT_TRUE(File("cam.cfg").endsWith("\r\n\r\nexec_at_time 1.5 cam000.cfg"));
    EXPECT_EQ(CountStepLines(File("cam000.cfg")), points);
    EXPECT_TRUE(ui.inputErrors.isEmpty());
    EXPECT_EQ(ui.fileErrors, 0);
}

TEST_F(ScriptGeneratorTest, ChunksAreChainedAndPauseEverySecond)
{
    game.SetMaxScriptLen(1500);
    RecordingUi ui;
    int32_t points = 0;
    // A folder without its trailing separator, and a relative folder for the
    // game's own exec commands.
    ASSERT_TRUE(Generate(Params().Relative("cameras").PauseEvery(2), ui, points));
    QStringList chunks = Files().filter(QRegularExpression("^cam[0-9]*\\.cfg$"));
    ASSERT_GE(chunks.size(), 3);
    EXPECT_EQ(chunks[0], "cam.cfg");
    EXPECT_EQ(chunks[1], "cam001.cfg");
    EXPECT_EQ(chunks[2], "cam002.cfg");
    int total = 0;
    for (int i = 0; i < chunks.size(); ++i) {
        const QString text = File(chunks[i]);
        total += CountStepLines(text);
        const QString next = QStringLiteral("cameras\\cam%1.cfg").arg(i + 1, 3, 10, QLatin1Char('0'));
        if (i + 1 == chunks.size()) {
            EXPECT_FALSE(text.contains("Exec")) << i;
        } else if ((i + 1) % 2 == 0) {
            EXPECT_TRUE(text.endsWith("\r\nwait;bind SPACE \"Exec " + next + "\"")) << i;
        } else {
            EXPECT_TRUE(text.endsWith("\r\nExec \"" + next + "\"")) << i;
        }
    }
    EXPECT_EQ(total, points);
}

TEST_F(ScriptGeneratorTest, MoreThanAThousandChunksWidenTheNumbers)
{
    game.SetMaxScriptLen(1);  // every line a chunk of its own
    curve.SetStepRate(300);
    curve.SetDuration(4);
    RecordingUi ui;
    int32_t points = 0;
    ASSERT_TRUE(Generate(Params().Autostart(), ui, points));
    ASSERT_GT(points, 1000);
    const QStringList chunks = Files().filter(QRegularExpression("^cam[0-9]+\\.cfg$"));
    ASSERT_GT(chunks.size(), 1000);
    EXPECT_EQ(chunks.first(), "cam0000.cfg");
    // Every chain names a file that exists, and no two chunks share a name.
    for (const QString& name : chunks) {
        const QRegularExpressionMatch m = QRegularExpression("Exec \"(cam[0-9]+\\.cfg)\"$").match(File(name));
        if (m.hasMatch()) {
            EXPECT_TRUE(chunks.contains(m.captured(1))) << name.toStdString();
        }
    }
    EXPECT_TRUE(File("cam.cfg").endsWith(" cam0000.cfg"));
}

// The files of a script's chain from its first file on, each named by the
// link at the end of the one before; empty when a link names no file.
QStringList ChainOf(const QString& dir, const QString& basename)
{
    static const QRegularExpression link(R"re((?:Exec "([^"]*)"|"Exec ([^"]*)")$)re");
    QStringList chain{basename + ".cfg"};
    for (;;) {
        if (!QFile::exists(dir + "/" + chain.last()))
            return {};
        const QRegularExpressionMatch m = link.match(QString::fromLatin1(ReadAll(dir + "/" + chain.last())));
        if (!m.hasMatch())
            return chain;
        chain << m.captured(m.lastCapturedIndex());
    }
}

TEST_F(ScriptGeneratorTest, EachScriptKeepsItsOwnChunksBesideAScriptNamedAlike)
{
    game.SetMaxScriptLen(1500);
    // Files that are no chunk of this script's chain stay: the user's own,
    // another script's in another case, a chunk no chain names.
    const QStringList others{"camera.cfg", "cam.txt", "camabc.cfg", "Cam001.cfg", "cam777.cfg"};
    struct Case
    {
        const char* what;
        QStringList order;  // generated in turn, each with its duration
        QList<int> seconds;
    };
    for (const Case& c : {Case{"cam, then cam1", {"cam", "cam1", "cam", "cam1"}, {8, 8, 3, 12}},
                          Case{"cam1, then cam", {"cam1", "cam", "cam1", "cam"}, {8, 8, 3, 12}},
                          Case{"intro beside Intro", {"Intro", "intro", "Intro"}, {6, 2, 9}}}) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        for (const QString& name : others)
            ASSERT_TRUE(WriteAll(dir.filePath(name), "old"));
        // A temporary that a crashed generation left goes.
        const QString crashed = c.order[0] + "005.cfg.ruvtmp";
        ASSERT_TRUE(WriteAll(dir.filePath(crashed), "old"));
        std::map<QString, int32_t> pointsOf;
        for (qsizetype i = 0; i < c.order.size(); ++i) {
            curve.SetDuration(c.seconds[i]);
            RecordingUi ui;
            int32_t points = 0;
            ASSERT_TRUE(Generate(Params().Dir(dir.path()).Basename(c.order[i]), ui, points));
            pointsOf[c.order[i]] = points;
            // Every script generated so far has its whole chain with all its
            // steps, and no chunk is left that no chain names.
            QStringList expected = others;
            expected << "1stPos.cfg";
            for (const auto& [name, steps] : pointsOf) {
                SCOPED_TRACE(name.toStdString());
                const QStringList chain = ChainOf(dir.path(), name);
                ASSERT_GT(chain.size(), 2);
                int chained = 0;
                for (const QString& chunk : chain)
                    chained += CountStepLines(QString::fromLatin1(ReadAll(dir.filePath(chunk))));
                EXPECT_EQ(chained, steps);
                expected << chain;
            }
            expected.sort();
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name), expected);
        }
        for (const QString& name : others)
            EXPECT_EQ(ReadAll(dir.filePath(name)), QByteArray("old")) << name.toStdString();
    }
}

TEST_F(ScriptGeneratorTest, AChainOfANameBeyondAsciiNamesTheFilesOnDiskByteForByte)
{
    game.SetMaxScriptLen(1500);
    const QString folder = QString::fromUtf8("na\xC3\xBC");
    const QString basename = QString::fromUtf8("sc\xC3\xA8ne_\xC3\xBC");
    ASSERT_TRUE(QDir(tmp.path()).mkdir(folder));
    const QString dir = tmp.filePath(folder);
    for (const bool autostart : {false, true}) {
        SCOPED_TRACE(autostart ? "autostart" : "plain");
        Params p = Params().Dir(dir).Relative(folder).Basename(basename).PauseEvery(3);
        if (autostart)
            p.Autostart();
        RecordingUi ui;
        int32_t points = 0;
        ASSERT_TRUE(Generate(p, ui, points));
        // Every link, as the game reads its bytes, names a file written.
        const QByteArray prefix = QFile::encodeName(folder) + '\\';
        static const QRegularExpression link(R"re((?:Exec "([^"]*)"|"Exec ([^"]*)"|exec_at_time \S+ (.*))$)re");
        QByteArray file = QFile::encodeName(basename + ".cfg");
        int chunks = 0;
        for (;;) {
            const QByteArray bytes = ReadAll(QFile::decodeName(QFile::encodeName(dir) + '/' + file));
            ASSERT_FALSE(bytes.isEmpty()) << file.toStdString();
            const QRegularExpressionMatch m = link.match(QString::fromLatin1(bytes));
            if (!m.hasMatch())
                break;
            const QByteArray named = m.captured(m.lastCapturedIndex()).toLatin1();
            ASSERT_TRUE(named.startsWith(prefix)) << named.toStdString();
            file = named.mid(prefix.size());
            ++chunks;
        }
        EXPECT_GT(chunks, 2);
        EXPECT_TRUE(ui.inputErrors.isEmpty());
    }
}

TEST_F(ScriptGeneratorTest, ACommandCharacterTheScriptCannotCarryIsRefusedBeforeAnythingIsWritten)
{
    curve.SetCommand(1, QString::fromUtf8("say h\xC3\xA9llo \xC3\xBC" "ber \xE6\x9D\xB1\xE4\xBA\xAC"));
    RecordingUi ui;
    int32_t points = 0;
    EXPECT_FALSE(Generate(Params(), ui, points));
    EXPECT_EQ(ui.inputErrors, QStringList{MRuvResource::GetResString(
                                  0, 965, {TaggedValue(int32_t(1)), TaggedValue(QString::fromUtf8("\xE6\x9D\xB1"))})});
    EXPECT_TRUE(Files().isEmpty());
    // Latin-1 goes in as it is.
    curve.SetCommand(1, QString::fromUtf8("say h\xC3\xA9llo \xC3\xBC" "ber"));
    ASSERT_TRUE(Generate(Params(), ui, points));
    EXPECT_TRUE(ReadAll(tmp.filePath("cam.cfg")).contains("say h\xe9llo \xfc" "ber"));
}

TEST_F(ScriptGeneratorTest, ALinkAtATemporaryNameIsNotFollowed)
{
    QTemporaryDir outside;
    const QString victim = outside.filePath("victim.txt");
    ASSERT_TRUE(WriteAll(victim, "victim"));
    for (const char* name : {"cam.cfg.ruvtmp", "1stPos.cfg.ruvtmp"})
        ASSERT_TRUE(QFile::link(victim, tmp.filePath(name)));
    RecordingUi ui;
    int32_t points = 0;
    ASSERT_TRUE(Generate(Params(), ui, points));
    EXPECT_EQ(ReadAll(victim), QByteArray("victim"));
    for (const char* name : {"cam.cfg", "1stPos.cfg"}) {
        EXPECT_FALSE(QFileInfo(tmp.filePath(name)).isSymLink()) << name;
        EXPECT_NE(ReadAll(tmp.filePath(name)), QByteArray("victim")) << name;
    }
    EXPECT_EQ(Files(), (QStringList{"1stPos.cfg", "cam.cfg"}));
}

TEST_F(ScriptGeneratorTest, TheSameBytesUnderAGermanLocale)
{
    QTemporaryDir german;
    RecordingUi ui;
    int32_t points = 0;
    curve.SetStartTime(2.25);
    ASSERT_TRUE(Generate(Params().Autostart(), ui, points));
    {
        CommaLocale de("de_DE.UTF-8");
        ASSERT_TRUE(de.IsSet()) << "de_DE.UTF-8 is not installed";
        ASSERT_TRUE(Generate(Params().Dir(german.path()).Autostart(), ui, points));
    }
    const QStringList names = Files();
    EXPECT_EQ(QDir(german.path()).entryList(QDir::Files, QDir::Name), names);
    for (const QString& n : names)
        EXPECT_EQ(ReadAll(tmp.filePath(n)), ReadAll(german.filePath(n))) << n.toStdString();
    EXPECT_TRUE(File("cam.cfg").contains("exec_at_time 2.25 "));
}

TEST_F(ScriptGeneratorTest, AFailedWriteAsksAndKeepsTheOldScript)
{
    // A folder standing where the second chunk goes makes its write fail.
    game.SetMaxScriptLen(1500);
    ASSERT_TRUE(QDir(tmp.path()).mkdir("cam001.cfg"));
    ASSERT_TRUE(WriteAll(tmp.filePath("cam009.cfg"), "old chunk"));
    RecordingUi ui;
    ui.answers = {4};  // Retry once, then Cancel
    int32_t points = 0;
    EXPECT_FALSE(Generate(Params(), ui, points));
    EXPECT_EQ(ui.fileErrors, 2);
    EXPECT_EQ(ReadAll(tmp.filePath("cam009.cfg")), "old chunk");

    game.SetMaxScriptLen(14848);
    RecordingUi missing;
    EXPECT_FALSE(Generate(Params().Dir(tmp.filePath("no/such/folder")), missing, points));
    EXPECT_EQ(missing.fileErrors, 1);
}

TEST_F(ScriptGeneratorTest, BadInputIsRefusedBeforeAnythingIsWritten)
{
    int32_t points = 0;
    {
        RecordingUi ui;
        EXPECT_FALSE(Generate(Params().PauseEvery(0), ui, points));
        EXPECT_EQ(ui.inputErrors.size(), 1);
    }
    for (const char* name : {"", "a/b", "a\\b", "a:b", "a*"}) {
        RecordingUi ui;
        EXPECT_FALSE(Generate(Params().Basename(name), ui, points)) << name;
        EXPECT_EQ(ui.inputErrors.size(), 1) << name;
    }
    {
        // The refusal speaks the window's language and names the bad name.
        RecordingUi ui;
        ui.language = 2000;
        EXPECT_FALSE(Generate(Params().Basename("a:b"), ui, points));
        ASSERT_EQ(ui.inputErrors.size(), 1);
        EXPECT_EQ(ui.inputErrors[0], QString::fromUtf8("Der Skriptname „a:b“ kann nicht als Dateiname verwendet werden."));
    }
    C3DCurve single;
    single.AddControl3(0, 0, 0, 0, 0, 0, true);
    curve = single;
    RecordingUi ui;
    EXPECT_FALSE(Generate(Params(), ui, points));
    EXPECT_EQ(ui.inputErrors.size(), 1);
    EXPECT_TRUE(Files().isEmpty());
}

TEST_F(ScriptGeneratorTest, AFailedGenerationLeavesTheOldScriptWhole)
{
    game.SetMaxScriptLen(2300);
    int32_t points = 0;
    {
        RecordingUi ui;
        ASSERT_TRUE(Generate(Params(), ui, points));
    }
    ASSERT_EQ(Files(), (QStringList{"1stPos.cfg", "cam.cfg", "cam001.cfg", "cam002.cfg", "cam003.cfg", "cam004.cfg"}));
    const std::map<QString, QByteArray> old = Snapshot();
    curve.SetX(2, 150);
    curve.SetFov(1, 70);

    // A folder standing where a temporary file goes fails its write, for
    // root too: the third chunk's, made while the set is being written, and
    // the first-position file's, there from the start.
    struct Case
    {
        const char* what;
        QString obstacle;
        bool midWay;
    };
    for (const Case& c : {Case{"third of five chunks", "cam002.cfg.ruvtmp", true},
                          Case{"first-position file", "1stPos.cfg.ruvtmp", false}}) {
        SCOPED_TRACE(c.what);
        const QString obstacle = tmp.filePath(c.obstacle);
        RecordingUi ui;
        QStringList writing;
        ui.onWriting = [&](const QString& path) {
            writing << QFileInfo(path).fileName();
            if (c.midWay && path == obstacle) {
                ASSERT_TRUE(QFile::exists(tmp.filePath("cam001.cfg.ruvtmp")));  // the second is written
                ASSERT_TRUE(QDir().mkdir(obstacle));
            }
        };
        if (!c.midWay) {
            ASSERT_TRUE(QDir().mkdir(obstacle));
        }
        EXPECT_FALSE(Generate(Params(), ui, points));
        EXPECT_EQ(ui.fileErrors, 1);
        EXPECT_EQ(writing.last(), c.obstacle);
        ASSERT_TRUE(QDir().rmdir(obstacle));
        // The old chunks byte for byte, and no temporary file left.
        EXPECT_TRUE(Snapshot() == old);
    }

    // Retry writes the whole set again, once the obstacle is gone.
    QTemporaryDir reference;
    {
        RecordingUi ui;
        ASSERT_TRUE(Generate(Params().Dir(reference.path()), ui, points));
    }
    const QString obstacle = tmp.filePath("cam002.cfg.ruvtmp");
    RecordingUi ui;
    ui.answers = {4};
    QStringList writing;
    ui.onWriting = [&](const QString& path) {
        writing << QFileInfo(path).fileName();
        if (path == obstacle && writing.count(QStringLiteral("cam002.cfg.ruvtmp")) == 1) {
            ASSERT_TRUE(QDir().mkdir(obstacle));
        }
    };
    ui.onFileError = [&] { ASSERT_TRUE(QDir().rmdir(obstacle)); };
    ASSERT_TRUE(Generate(Params(), ui, points));
    EXPECT_EQ(ui.fileErrors, 1);
    EXPECT_EQ(writing, (QStringList{"1stPos.cfg.ruvtmp", "cam.cfg.ruvtmp", "cam001.cfg.ruvtmp", "cam002.cfg.ruvtmp",
                                    "1stPos.cfg.ruvtmp", "cam.cfg.ruvtmp", "cam001.cfg.ruvtmp", "cam002.cfg.ruvtmp",
                                    "cam003.cfg.ruvtmp", "cam004.cfg.ruvtmp"}));
    const std::map<QString, QByteArray> now = Snapshot();
    ASSERT_EQ(now.size(), old.size());
    for (const auto& [name, bytes] : now)
        EXPECT_EQ(bytes, ReadAll(reference.filePath(name))) << name.toStdString();
    EXPECT_NE(now.at("cam002.cfg"), old.at("cam002.cfg"));
}

TEST_F(ScriptGeneratorTest, NamesTheGameConsoleWouldSplitAreRefusedBeforeAnythingIsWritten)
{
    enum Field { PauseKey, Basename, Relative, Before, After };
    struct Case
    {
        Field field;
        const char* name;  // UTF-8
        int32_t text;      // the refusal's number in the string tables
    };
    const Case cases[] = {
        {PauseKey, "p;quit", 903},
        {PauseKey, "", 903},
        {PauseKey, "KP INS", 903},
        {PauseKey, "\"x", 903},
        {PauseKey, "p\t", 903},
        {PauseKey, "€", 903},
        {Basename, "my cam", 904},
        {Basename, "x;quit", 904},
        {Basename, "my\u00a0cam", 904},
        {Basename, "cam\x7f", 904},
        {Basename, "Ωcam", 904},
        // Not even a file name: the older refusal.
        {Basename, "a\"b", 902},
        {Relative, "x;quit;y", 905},
        {Relative, "my dir", 905},
        {Relative, "a\"b", 905},
        {Relative, "dir\r\nquit", 905},
        {Relative, "dir\u0085", 905},
        {Relative, "камеры", 905},
        {Before, "pre;quit", 906},
        {Before, "my script", 906},
        {After, "post\"quit", 907},
        {After, "終", 907},
    };
    const auto paramsWith = [](Field field, const QString& name) {
        switch (field) {
        case PauseKey: return Params().PauseKey(name);
        case Basename: return Params().Basename(name);
        case Relative: return Params().Relative(name);
        case Before: return Params().Before(name);
        case After: break;
        }
        return Params().After(name);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString name = QString::fromUtf8(c.name);
        RecordingUi ui;
        int32_t points = 0;
        EXPECT_FALSE(Generate(paramsWith(c.field, name), ui, points));
        ASSERT_EQ(ui.inputErrors.size(), 1);
        EXPECT_EQ(ui.inputErrors[0], MRuvResource::GetResString(0, c.text, name));
        EXPECT_EQ(ui.fileErrors, 0);
        EXPECT_TRUE(Snapshot().empty());
    }
    RecordingUi ui;
    int32_t points = 0;
    EXPECT_FALSE(Generate(Params().Relative("x;quit;y"), ui, points));
    EXPECT_FALSE(Generate(Params().PauseKey("p;quit"), ui, points));
    ui.language = 2000;
    EXPECT_FALSE(Generate(Params().Before("pre;quit"), ui, points));
    ASSERT_EQ(ui.inputErrors.size(), 3);
    EXPECT_EQ(ui.inputErrors[0], "The relative folder \"x;quit;y\" cannot be given to the game: it may not hold \";\", "
                                 "double quotes, blanks, line breaks, control characters or characters outside "
                                 "Latin-1.");
    EXPECT_TRUE(ui.inputErrors[1].startsWith("The pause key \"p;quit\" is not a key name the game can bind"));
    EXPECT_TRUE(ui.inputErrors[2].startsWith(QString::fromUtf8("Das vorher auszuführende Skript „pre;quit“")));
}

TEST_F(ScriptGeneratorTest, BindNamesAndPlainFolderNamesGoIn)
{
    game.SetMaxScriptLen(1500);
    for (const char* key : {"p", "PGUP", "KP_INS", "MOUSE3"}) {
        RecordingUi ui;
        int32_t points = 0;
        ASSERT_TRUE(Generate(Params().PauseKey(key).PauseEvery(1).Relative("cameras\\sub").Before("pre.cfg")
                                 .After(QString::fromUtf8("après")),
                             ui, points))
            << key;
        EXPECT_TRUE(ui.inputErrors.isEmpty());
        EXPECT_TRUE(
            File("cam.cfg").endsWith(QStringLiteral("wait;bind %1 \"Exec cameras\\sub\\cam001.cfg\"").arg(key)));
    }
    EXPECT_TRUE(File("cam.cfg").contains("exec pre.cfg\r\n"));
}

TEST_F(ScriptGeneratorTest, AControlCommandMakingALineLongerThanTheGameReadsIsRefused)
{
    // The command opens the second segment's first line; its other text is
    // measured with a short command.
    RecordingUi ui;
    int32_t points = 0;
    curve.SetCommand(2, "say x");
    ASSERT_TRUE(Generate(Params(), ui, points));
    const auto lineOf = [this](const QString& command) {
        const QStringList lines = File("cam.cfg").split("\r\n");
        for (const QString& line : lines)
            if (line.endsWith(command))
                return line;
        return QString();
    };
    const qsizetype others = lineOf("say x").size() - 5;
    ASSERT_GT(others, 40);
    const auto commandFor = [&](qsizetype lineLength) { return "say " + QString(lineLength - others - 4, 'x'); };

    curve.SetCommand(2, commandFor(1023));
    ASSERT_TRUE(Generate(Params(), ui, points));
    EXPECT_EQ(lineOf(commandFor(1023)).size(), 1023);

    const std::map<QString, QByteArray> before = Snapshot();
    curve.SetCommand(2, commandFor(1024));
    EXPECT_FALSE(Generate(Params(), ui, points));
    ASSERT_EQ(ui.inputErrors.size(), 1);
    EXPECT_EQ(ui.inputErrors[0], "The command of control point 2 makes a script line of 1024 characters; the game "
                                 "reads at most 1023 characters a line.");
    EXPECT_EQ(ui.fileErrors, 0);
    EXPECT_TRUE(Snapshot() == before);
}

TEST_F(ScriptGeneratorTest, WarsowCamerasAreTakenEvenlyAndTheirTransitionsCoverThePath)
{
    game = MakeGame(2);
    curve.SetGameType(2);
    struct Case
    {
        int32_t rate;
        double duration;
        bool limit;
        int32_t steps;
        int32_t cameras;
        int32_t length;  // of every transition, in frames
    };
    const Case cases[] = {
        // Fewer samples than 128: a camera a sample, one frame each.
        {10, 4.0, true, 41, 41, 1},
        {10, 4.0, false, 41, 5, 9},
        {1000, 6.0, true, 6001, 128, 47},
        {1000, 6.0, false, 6001, 667, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.steps << " frames, limitation " << c.limit);
        curve.SetStepRate(c.rate);
        curve.SetDuration(c.duration);
        ASSERT_EQ(curve.StepCount(), c.steps);
        QTemporaryDir dir;
        RecordingUi ui;
        int32_t points = 0;
        ASSERT_TRUE(Generate(Params().Dir(dir.path()).WarsowLimit(c.limit), ui, points));
        // The number of points is still the number of samples.
        EXPECT_EQ(points, c.steps);

        QString script;
        for (const QString& name : QDir(dir.path()).entryList(QDir::Files, QDir::Name))
            script += QString::fromLatin1(ReadAll(dir.filePath(name)));
        EXPECT_EQ(script.count("createcam "), c.cameras);
        const QRegularExpression transition("createtransition ([0-9]+) [0-9]+ [0-9]+ ([0-9]+) 1\r\n");
        int transitions = 0;
        for (auto m = transition.globalMatch(script); m.hasNext(); ++transitions) {
            const QRegularExpressionMatch t = m.next();
            EXPECT_EQ(t.captured(1).toInt(), transitions);
            EXPECT_EQ(t.captured(2).toInt(), c.length);
        }
        EXPECT_EQ(transitions, c.cameras - 1);
        EXPECT_GE(int64_t(c.cameras) * c.length, c.steps);

        // The first and the last sample are cameras.
        std::vector<ControlRecord> samples;
        curve.GetSampledControls(samples, false);
        const auto origin = [](int32_t camera, const ControlRecord& r) {
            return QStringLiteral("setcamorigin %1 ").arg(camera)
                   + QString::fromStdString(CameraScriptText::FormatNum(r.X, 6) + " "
                                            + CameraScriptText::FormatNum(r.Y, 6) + " "
                                            + CameraScriptText::FormatNum(r.Z, 6) + ";");
        };
        EXPECT_TRUE(script.contains(origin(0, samples.front())));
        EXPECT_TRUE(script.contains(origin(c.cameras - 1, samples[size_t(points) - 1])));
    }
}
