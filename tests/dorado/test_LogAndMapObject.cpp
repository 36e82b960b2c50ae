#include "BspWriter.h"
#include "CBSP.h"
#include "LogFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace Dorado;
using namespace DoradoTest;

namespace {

QString ReadAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}

QString WriteMap(const QTemporaryDir& dir, const QString& name, const MapWriter& w)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    const auto bytes = w.Build();
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    return path;
}

Com::ComPtr<IBSP> NewMapObject()
{
    return Com::ComPtr<IBSP>::Attach(new CBSP(nullptr));
}

}  // namespace

TEST(LogFile, LineFormatAndOneSeparator)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("dorado.log");
    LogFile log;
    ASSERT_TRUE(log.Initialize(path));
    log.SetClock([] { return QDateTime(QDate(2026, 12, 8), QTime(2, 30, 15, 7)); });
    log.Write(LogFile::Level::Info, "first");
    log.Write(LogFile::Level::Error, "second\n\t\t\t\tcontinued");
    const QString expected = QString(83, '-') + "\n" + "08.12.2026 02:30:15.7\t<->\tfirst\n" +
                             "08.12.2026 02:30:15.7\t<!>\tsecond\n\t\t\t\tcontinued\n";
    EXPECT_EQ(ReadAll(path), expected);
    // A new initialization appends, with a separator of its own.
    ASSERT_TRUE(log.Initialize(path));
    log.Write(LogFile::Level::Info, "third");
    EXPECT_EQ(ReadAll(path), expected + QString(83, '-') + "\n08.12.2026 02:30:15.7\t<->\tthird\n");
    EXPECT_EQ(LogFile::TimeStamp(QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5, 123))), "02.01.2026 03:04:05.123");
}

TEST(LogFile, MissingFolderWritesNothing)
{
    QTemporaryDir dir;
    LogFile log;
    EXPECT_FALSE(log.Initialize(dir.filePath("missing/dorado.log")));
    EXPECT_FALSE(log.Initialize(QString()));
    log.Write(LogFile::Level::Info, "lost");
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

TEST(MapObject, StartValues)
{
    auto bsp = NewMapObject();
    EXPECT_EQ(bsp->NumTotalFaces(), 0);
    EXPECT_EQ(bsp->NumVertices(), 0);
    EXPECT_TRUE(bsp->EntityString().isNull());
    EXPECT_TRUE(bsp->ShowPolygons());
    EXPECT_TRUE(bsp->ShowMeshes());
    EXPECT_TRUE(bsp->ShowPatches());
    EXPECT_TRUE(bsp->ClusterVisibilityCheckEnabled());
    EXPECT_EQ(bsp->DrawPolyMode(), 4);
    EXPECT_EQ(bsp->DrawMeshMode(), 4);
    EXPECT_EQ(bsp->DrawPatchMode(), 5);
    EXPECT_FALSE(bsp->LogInitialized());
    MapBounds bounds{};
    bounds[0][0] = 42;
    EXPECT_FALSE(bsp->GetBounds(bounds));
    EXPECT_EQ(bounds[0][0], 42);
    float x = 1, y = 2, z = 3;
    EXPECT_FALSE(bsp->SearchCorner(x, y, z, 0, 10));
    bsp->CalculateVisibleFaces(0, 0, 0);
}

TEST(MapObject, LoadQueriesAndFailedLoadKeepsTheMap)
{
    QTemporaryDir dir;
    const QString good = WriteMap(dir, "rooms.bsp", TwoRooms());
    MapWriter broken = TwoRooms();
    broken.nodes[0].front = 0;
    const QString bad = WriteMap(dir, "loop.bsp", broken);
    const QString logPath = dir.filePath("dorado.log");

    auto bsp = NewMapObject();
    bsp->InitializeLog(logPath);
    EXPECT_TRUE(bsp->LogInitialized());
    bsp->InitializeLog(dir.filePath("other.log"));  // only the first counts
    EXPECT_FALSE(QFile::exists(dir.filePath("other.log")));

    ASSERT_TRUE(bsp->Load(good, 4));
    EXPECT_EQ(bsp->NumTotalFaces(), 5);
    EXPECT_EQ(bsp->NumPatches(), 1);
    EXPECT_TRUE(bsp->EntityString().startsWith("{\n\"classname\" \"worldspawn\""));
    MapBounds b{};
    ASSERT_TRUE(bsp->GetBounds(b));
    EXPECT_EQ(b[0][0], -128);
    EXPECT_EQ(b[0][1], 128);
    EXPECT_EQ(b[2][0], -16);
    EXPECT_EQ(b[2][1], 64);
    float x = 111, y = 63, z = 0;
    EXPECT_TRUE(bsp->SearchCorner(x, y, z, 0, 4));
    EXPECT_EQ(x, 112);
    EXPECT_EQ(y, 64);

    EXPECT_FALSE(bsp->Load(bad, 4));
    EXPECT_FALSE(bsp->Load(dir.filePath("none.bsp"), 4));
    EXPECT_FALSE(bsp->Load(QString(), 4));
    EXPECT_EQ(bsp->NumTotalFaces(), 5);
    ASSERT_TRUE(bsp->GetBounds(b));
    EXPECT_EQ(b[0][0], -128);

    // Without a context nothing is drawn, and the log says why.
    EXPECT_EQ(bsp->Draw(), 0);
    bsp = nullptr;

    const QString log = ReadAll(logPath);
    EXPECT_TRUE(log.startsWith(QString(83, '-') + "\n"));
    EXPECT_TRUE(log.contains("\t<->\tCBSP::LogInitialize() : 1\n"));
    EXPECT_TRUE(log.contains("\t<->\tCBSP::fLoad() - " + good + " Loaded successfully : numVertices 25,"));
    EXPECT_TRUE(log.contains("\t<!>\tCBSP::fLoadBSPData() - node 0 is reached twice: the nodes form a loop\n"));
    EXPECT_TRUE(log.contains("\t<!>\tCBSP::Load(" + bad + ", 4) failed\n"));
    EXPECT_TRUE(log.contains("\t<!>\tCBSP::fLoad() - Unable to open " + dir.filePath("none.bsp") + "\n"));
    EXPECT_TRUE(log.contains("\t<!>\tCBSP::Draw() - no current OpenGL context, nothing drawn\n"));
    EXPECT_TRUE(log.endsWith("\t<->\tCBSP() destructor leave\n"));
}

TEST(MapObject, LogInAMissingFolder)
{
    QTemporaryDir dir;
    auto bsp = NewMapObject();
    bsp->InitializeLog(dir.filePath("missing/dorado.log"));
    EXPECT_FALSE(bsp->LogInitialized());
    bsp->InitializeLog(dir.filePath("later.log"));
    EXPECT_FALSE(bsp->LogInitialized());
    EXPECT_FALSE(bsp->Load(dir.filePath("none.bsp"), 4));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}
