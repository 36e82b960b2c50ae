#include "MFileOp.h"
#include "MCommon.h"
#include "RuvError.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

class MFileOpTree : public ::testing::Test
{
protected:
    QTemporaryDir tmp;
    QString root() const { return tmp.path(); }
    QString at(const QString& rel) const { return root() + QLatin1Char('/') + rel; }

    void put(const QString& rel, const QByteArray& bytes) const
    {
        QDir().mkpath(QFileInfo(at(rel)).absolutePath());
        QFile f(at(rel));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray get(const QString& rel) const
    {
        QFile f(at(rel));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    QStringList relative(const QStringList& paths) const
    {
        QStringList out;
        for (const QString& p : paths)
            out.append(QDir(root()).relativeFilePath(p));
        return out;
    }
};

}  // namespace

TEST(MFileOpPaths, Splitting)
{
    using namespace MFileOp;
    EXPECT_EQ(NormalizePath(QStringLiteral("  C:\\Games\\\\/ ")), QStringLiteral("C:\\Games"));
    EXPECT_EQ(NormalizePath(QStringLiteral("\\\\")), QString());
    EXPECT_EQ(NormalizePath(QStringLiteral("C:\\")), QStringLiteral("C:"));
    EXPECT_EQ(NormalizePath(QStringLiteral("/home/u/")), QStringLiteral("/home/u"));

    struct Parent { const char* path; const char* parent; bool ok; };
    const Parent parents[] = {
        {"C:\\Games\\maps", "C:\\Games", true}, {"C:\\", "C:", false}, {"\\x", "", false},
        {"/home/u/maps", "/home/u", true},     {"/home", "", false},  {"file", "file", false},
    };
    for (const Parent& c : parents) {
        QString parent;
        EXPECT_EQ(GetParentFolder(QString::fromLatin1(c.path), parent), c.ok) << c.path;
        EXPECT_EQ(parent, QString::fromLatin1(c.parent)) << c.path;
    }

    struct Unary { QString (*fn)(const QString&); const char* in; const char* out; };
    const Unary unary[] = {
        {GetFolderPart, "file.txt", ""},          {GetFolderPart, "\\x", ""},
        {GetFolderPart, "C:\\a\\b.txt", "C:\\a"}, {GetFolderPart, "\\", ""},
        {GetFolderPart, "x", "x"},                {GetFolderPart, "/home/u/a.txt", "/home/u"},
        {GetExtension, "C:\\maps\\q.bsp", "bsp"}, {GetExtension, "C:\\maps.old\\file", "C:\\maps.old\\file"},
        {GetExtension, ".cfg", "cfg"},            {GetExtension, "/a.b/c", "/a.b/c"},
        {RemoveExtension, ".cfg", ".cfg"},        {RemoveExtension, "C:\\a\\b.txt", "C:\\a\\b"},
        {RemoveExtension, "C:\\a.d\\b", "C:\\a.d\\b"}, {RemoveExtension, "/x/y.tar.gz", "/x/y.tar"},
        {GetFileName, "C:\\maps\\q.bsp", "q.bsp"}, {GetFileName, "C:\\maps\\", "maps"},
        {GetFileName, "\\", ""},                  {GetFileName, "q.bsp", "q.bsp"},
        {GetFileName, "/home/u/q.bsp", "q.bsp"},
    };
    for (const Unary& c : unary)
        EXPECT_EQ(c.fn(QString::fromLatin1(c.in)), QString::fromLatin1(c.out)) << c.in;
}

TEST(MFileOpPaths, DrivesAndRoots)
{
    EXPECT_TRUE(MFileOp::DrivesPresent(1 << 2));
    EXPECT_FALSE(MFileOp::DrivesPresent((1 << 2) | 1));
    EXPECT_TRUE(MFileOp::DriveExists(QStringLiteral("c:\\whatever")));
    EXPECT_FALSE(MFileOp::DriveExists(QStringLiteral("A:\\")));
    EXPECT_FALSE(MFileOp::DriveExists(QString()));
    EXPECT_FALSE(MFileOp::DriveExists(QStringLiteral("1:")));
    EXPECT_TRUE(MFileOp::FolderExists(QStringLiteral("C:")));
    EXPECT_TRUE(MFileOp::FolderExists(QStringLiteral("C:\\")));
    EXPECT_TRUE(MFileOp::FolderExists(QStringLiteral("/")));
    EXPECT_FALSE(MFileOp::FolderExists(QString()));
}

TEST_F(MFileOpTree, ExistenceTests)
{
    put(QStringLiteral("maps/q3dm17.bsp"), "x");
    EXPECT_TRUE(MFileOp::FileExists(at(QStringLiteral("maps/q3dm17.bsp"))));
    EXPECT_TRUE(MFileOp::FileExists(at(QStringLiteral("maps\\Q3DM17.BSP"))));  // Windows form, other case
    EXPECT_TRUE(MFileOp::FileExists(at(QStringLiteral("maps/*.bsp"))));
    EXPECT_FALSE(MFileOp::FileExists(at(QStringLiteral("maps/*.cfg"))));
    EXPECT_FALSE(MFileOp::FileExists(at(QStringLiteral("maps"))));
    EXPECT_FALSE(MFileOp::FileExists(at(QStringLiteral("*"))));  // the first entry found is a folder
    EXPECT_TRUE(MFileOp::FolderExists(at(QStringLiteral("maps\\"))));
    EXPECT_TRUE(MFileOp::FolderExists(at(QStringLiteral("MAPS"))));
    EXPECT_FALSE(MFileOp::FolderExists(at(QStringLiteral("maps/q3dm17.bsp"))));
    EXPECT_FALSE(MFileOp::FolderExists(at(QStringLiteral("nowhere"))));

    QString existing;
    EXPECT_TRUE(MFileOp::GetExistingFolder(at(QStringLiteral("maps\\a\\b\\c.txt")), existing));
    EXPECT_EQ(existing, at(QStringLiteral("maps")));
}

TEST_F(MFileOpTree, CreateFolderPath)
{
    EXPECT_TRUE(MFileOp::CreateFolderPath(at(QStringLiteral("a\\b\\c"))));
    EXPECT_TRUE(QFileInfo(at(QStringLiteral("a/b/c"))).isDir());
    EXPECT_FALSE(MFileOp::CreateFolderPath(at(QStringLiteral("a/b/c"))));  // exists already
    EXPECT_FALSE(MFileOp::CreateFolderPath(at(QStringLiteral("bad?name"))));
    EXPECT_FALSE(QFileInfo::exists(at(QStringLiteral("bad?name"))));
    EXPECT_FALSE(MFileOp::CreateFolderPath(QStringLiteral("nothing")));  // no parent
}

TEST_F(MFileOpTree, ReadingForms)
{
    put(QStringLiteral("lines.txt"), QByteArray("a\r\n\r\nb", 6));
    QStringList lines{QStringLiteral("old")};
    ASSERT_TRUE(MFileOp::ReadFileData(at(QStringLiteral("lines.txt")), lines));
    EXPECT_EQ(lines, (QStringList{QStringLiteral("a"), QStringLiteral("b")}));

    put(QStringLiteral("ends.txt"), "\r\n");
    EXPECT_FALSE(MFileOp::ReadFileData(at(QStringLiteral("ends.txt")), lines));
    EXPECT_TRUE(lines.isEmpty());

    put(QStringLiteral("latin1.txt"), "caf\xe9 \xa7 12345");
    QString text;
    ASSERT_TRUE(MFileOp::ReadFileData(at(QStringLiteral("latin1.txt")), text));
    EXPECT_EQ(text, QString::fromUtf8("café § 12345"));
    ASSERT_TRUE(MFileOp::ReadFileData(at(QStringLiteral("latin1.txt")), text, 5));
    EXPECT_EQ(text, QString::fromUtf8("café "));

    QByteArray bytes("old");
    ASSERT_TRUE(MFileOp::ReadFileData(at(QStringLiteral("latin1.txt")), bytes, 3));
    EXPECT_EQ(bytes, QByteArray("caf"));

    put(QStringLiteral("empty.txt"), "");
    bytes = "kept";
    EXPECT_FALSE(MFileOp::ReadFileData(at(QStringLiteral("empty.txt")), bytes));
    EXPECT_EQ(bytes, QByteArray("kept"));
    EXPECT_FALSE(MFileOp::ReadFileData(at(QStringLiteral("missing.txt")), text));
}

TEST_F(MFileOpTree, WritingIsByteExactAndAtomic)
{
    ASSERT_TRUE(MFileOp::WriteFileData(at(QStringLiteral("xy.cfg")), QStringList{QStringLiteral("x"), QStringLiteral("y")}));
    EXPECT_EQ(get(QStringLiteral("xy.cfg")), QByteArray("x\r\ny\r\n"));

    ASSERT_TRUE(MFileOp::WriteFileData(at(QStringLiteral("xy.cfg")), QString::fromUtf8("bind F1 \"say café\"")));
    EXPECT_EQ(get(QStringLiteral("xy.cfg")), QByteArray("bind F1 \"say caf\xe9\""));

    const QByteArray raw("\x00\x01\xfe\xff", 4);
    ASSERT_TRUE(MFileOp::WriteFileData(at(QStringLiteral("raw.bin")), raw));
    EXPECT_EQ(get(QStringLiteral("raw.bin")), raw);

    EXPECT_TRUE(MFileOp::WriteFileData(at(QStringLiteral("new.txt")), QString()));
    EXPECT_TRUE(QFileInfo::exists(at(QStringLiteral("new.txt"))));
    EXPECT_EQ(get(QStringLiteral("new.txt")), QByteArray());

    // Failures leave nothing behind and the old file as it was.
    EXPECT_FALSE(MFileOp::WriteFileData(at(QStringLiteral("no/such/folder/x.txt")), QStringLiteral("x")));
    EXPECT_FALSE(MFileOp::WriteFileData(at(QStringLiteral("bad|name.txt")), QStringLiteral("x")));
    EXPECT_FALSE(QFileInfo::exists(at(QStringLiteral("bad|name.txt"))));
    QDir().mkpath(at(QStringLiteral("folder.txt")));
    EXPECT_FALSE(MFileOp::WriteFileData(at(QStringLiteral("folder.txt")), QStringLiteral("x")));
    EXPECT_TRUE(QFileInfo(at(QStringLiteral("folder.txt"))).isDir());
    EXPECT_EQ(QDir(root()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("new.txt"), QStringLiteral("raw.bin"), QStringLiteral("xy.cfg")}));
}

TEST_F(MFileOpTree, FileDate)
{
    put(QStringLiteral("dated.txt"), "x");
    const QDateTime when(QDate(2007, 3, 9), QTime(14, 5, 0, 700));
    {
        QFile f(at(QStringLiteral("dated.txt")));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(when, QFileDevice::FileModificationTime));
    }
    EXPECT_DOUBLE_EQ(MFileOp::GetFileDate(at(QStringLiteral("dated.txt"))),
                     MCommon::ToOleDate(QDateTime(QDate(2007, 3, 9), QTime(14, 5, 0))));
    EXPECT_EQ(MFileOp::GetFileDate(at(QStringLiteral("missing.txt"))), 0.0);
}

TEST_F(MFileOpTree, ListingAndSearching)
{
    put(QStringLiteral("b/shot0001.tga"), "1");
    put(QStringLiteral("b/a.JPG"), "2");
    put(QStringLiteral("b/b.tga.bak"), "3");
    put(QStringLiteral("a/deep/x.tga"), "4");
    put(QStringLiteral("top.cfg"), "5");

    QStringList folders;
    ASSERT_TRUE(MFileOp::ListFolder(folders, root() + QStringLiteral("/"), true));
    EXPECT_EQ(relative(folders), (QStringList{QStringLiteral("."), QStringLiteral("a"), QStringLiteral("a/deep"), QStringLiteral("b")}));
    folders.clear();
    ASSERT_TRUE(MFileOp::ListFolder(folders, root(), false));
    EXPECT_EQ(relative(folders), (QStringList{QStringLiteral("."), QStringLiteral("a"), QStringLiteral("b")}));

    QStringList found;
    ASSERT_TRUE(MFileOp::FindFilesRecursive(found, root(), true, {QStringLiteral("TGA"), QStringLiteral("jpg")}));
    EXPECT_EQ(relative(found), (QStringList{QStringLiteral("a/deep/x.tga"), QStringLiteral("b/a.JPG"), QStringLiteral("b/shot0001.tga")}));
    ASSERT_TRUE(MFileOp::FindFilesRecursive(found, root(), true, {QStringLiteral("shot*.tga")}));
    EXPECT_EQ(relative(found), QStringList{QStringLiteral("b/shot0001.tga")});
    ASSERT_TRUE(MFileOp::FindFilesRecursive(found, root(), false));
    EXPECT_EQ(relative(found), QStringList{QStringLiteral("top.cfg")});
    EXPECT_FALSE(MFileOp::FindFilesRecursive(found, root(), true, {QStringLiteral("*.dm_84")}));
    EXPECT_EQ(relative(found), QStringList{QStringLiteral("top.cfg")});  // kept
}

TEST_F(MFileOpTree, ShellCopyAndDelete)
{
    put(QStringLiteral("src/demo.dm_84"), "demo");
    put(QStringLiteral("src/sub/inner.txt"), "inner");
    put(QStringLiteral("src/other.txt"), "other");
    QDir().mkpath(at(QStringLiteral("dst")));

    // One file to a new name, then into a folder.
    ASSERT_TRUE(MFileOp::ShellCopy(at(QStringLiteral("src/demo.dm_84")), at(QStringLiteral("dst/__vava_last_demo_1.dm_84")), 0x14));
    EXPECT_EQ(get(QStringLiteral("dst/__vava_last_demo_1.dm_84")), QByteArray("demo"));
    ASSERT_TRUE(MFileOp::ShellCopy(at(QStringLiteral("src\\other.txt")), at(QStringLiteral("dst")), 0x14));
    EXPECT_EQ(get(QStringLiteral("dst/other.txt")), QByteArray("other"));
    // Replacing needs the no-confirmation flag.
    put(QStringLiteral("src/other.txt"), "changed");
    EXPECT_FALSE(MFileOp::ShellCopy(at(QStringLiteral("src/other.txt")), at(QStringLiteral("dst")), 0x4));
    EXPECT_EQ(get(QStringLiteral("dst/other.txt")), QByteArray("other"));
    ASSERT_TRUE(MFileOp::ShellCopy(at(QStringLiteral("src/other.txt")), at(QStringLiteral("dst")), 0x14));
    EXPECT_EQ(get(QStringLiteral("dst/other.txt")), QByteArray("changed"));
    // A folder with everything in it, and wildcards.
    ASSERT_TRUE(MFileOp::ShellCopy(at(QStringLiteral("src")), at(QStringLiteral("copy")), 0x14));
    EXPECT_EQ(get(QStringLiteral("copy/sub/inner.txt")), QByteArray("inner"));
    ASSERT_TRUE(MFileOp::ShellCopy(at(QStringLiteral("src/*.txt")), at(QStringLiteral("texts")), 0x14));
    EXPECT_EQ(QDir(at(QStringLiteral("texts"))).entryList(QDir::Files), QStringList{QStringLiteral("other.txt")});
    EXPECT_FALSE(MFileOp::ShellCopy(at(QStringLiteral("src")), at(QStringLiteral("src/sub")), 0x14));  // into itself
    EXPECT_FALSE(MFileOp::ShellCopy(at(QStringLiteral("missing")), at(QStringLiteral("dst")), 0x14));
    EXPECT_TRUE(QDir(at(QStringLiteral("dst"))).entryList(QDir::Hidden | QDir::Files).filter(QStringLiteral(".copying")).isEmpty());

    ASSERT_TRUE(MFileOp::ShellDelete(at(QStringLiteral("copy/*.TXT")), 0x94));  // files only
    EXPECT_TRUE(QFileInfo(at(QStringLiteral("copy/sub/inner.txt"))).exists());
    EXPECT_FALSE(QFileInfo::exists(at(QStringLiteral("copy/other.txt"))));
    ASSERT_TRUE(MFileOp::ShellDelete(at(QStringLiteral("copy")), 0x14));
    EXPECT_FALSE(QFileInfo::exists(at(QStringLiteral("copy"))));
    EXPECT_FALSE(MFileOp::ShellDelete(at(QStringLiteral("copy")), 0x14));
    EXPECT_FALSE(MFileOp::ShellDelete(QString(), 0x14));

    EXPECT_THROW(MFileOp::ShellDelete(at(QStringLiteral("src")), 0x10000), RuvError);
    EXPECT_TRUE(QFileInfo::exists(at(QStringLiteral("src"))));
}
