// Skin files and skin bytes: writing, reading back, the region block, and
// damaged skins refused with their numbered errors.
#include "CSkin.h"
#include "RuvError.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>

namespace
{
const QRgb kMagenta = qRgb(255, 0, 255);

// Magenta around an opaque block with a hole, and a stray opaque pixel.
QImage TestPicture()
{
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(kMagenta);
    QPainter p(&image);
    p.fillRect(QRect(5, 4, 30, 20), QColor(20, 40, 200));
    p.fillRect(QRect(15, 10, 6, 5), QColor(kMagenta));
    p.end();
    image.setPixel(39, 29, qRgb(1, 2, 3));
    return image;
}

QByteArray Encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

std::int32_t At(const QByteArray& bytes, int offset)
{
    return qFromLittleEndian<std::int32_t>(bytes.constData() + offset);
}

void SetAt(QByteArray& bytes, int offset, std::int32_t value)
{
    qToLittleEndian(value, bytes.data() + offset);
}

// The number of the RuvError the call raises, 0 when it raises none.
std::int32_t ErrorOf(const std::function<void()>& call, RuvError* caught = nullptr)
{
    try {
        call();
    } catch (const RuvError& e) {
        if (caught != nullptr)
            *caught = e;
        return e.number();
    }
    return 0;
}

// Regions hold their pixels in more than one way of cutting them up.
bool SamePixels(const QRegion& a, const QRegion& b)
{
    return a.xored(b).isEmpty();
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
}

TEST(CSkin, TheRegionLeavesOutTheTopLeftColour)
{
    const QImage picture = TestPicture();
    const QRegion region = CSkin::RegionFromPicture(picture);
    QRegion expected(5, 4, 30, 20);
    expected -= QRegion(15, 10, 6, 5);
    expected += QRegion(39, 29, 1, 1);
    EXPECT_TRUE(SamePixels(region, expected));

    // With no other pixel of its colour, the top-left pixel alone is left
    // out: a picture always has its transparent colour.
    QImage plain(8, 6, QImage::Format_RGB32);
    plain.fill(qRgb(9, 9, 9));
    plain.setPixel(0, 0, qRgb(200, 0, 0));
    EXPECT_TRUE(SamePixels(CSkin::RegionFromPicture(plain), QRegion(0, 0, 8, 6) - QRegion(0, 0, 1, 1)));
    EXPECT_TRUE(CSkin::RegionFromPicture(QImage()).isEmpty());
}

TEST(CSkin, RegionBlockLayout)
{
    QRegion region(2, 3, 10, 4);
    region += QRegion(20, 3, 5, 4);
    region += QRegion(0, 9, 1, 1);
    const QByteArray block = CSkin::EncodeRegion(region);
    ASSERT_EQ(block.size(), 32 + 3 * 16);
    // The bounds are inside the 32-byte header; the rectangles follow it.
    const std::int32_t header[] = {32, 1, 3, 48, 0, 3, 25, 10};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(At(block, 4 * i), header[i]) << i;
    const std::int32_t rects[] = {2, 3, 12, 7, 20, 3, 25, 7, 0, 9, 1, 10};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(At(block, 32 + 4 * i), rects[i]) << i;
    QRegion back;
    ASSERT_TRUE(CSkin::DecodeRegion(block, back));
    EXPECT_EQ(back, region);

    // An empty region: a header alone, its bounds zero.
    const QByteArray empty = CSkin::EncodeRegion(QRegion());
    ASSERT_EQ(empty.size(), 32);
    EXPECT_EQ(At(empty, 8), 0);
    EXPECT_TRUE(CSkin::DecodeRegion(empty, back));
    EXPECT_TRUE(back.isEmpty());
}

TEST(CSkin, DamagedRegionBlocksAreRefused)
{
    QRegion region(2, 3, 10, 4);
    region += QRegion(4, 8, 2, 2);
    const QByteArray good = CSkin::EncodeRegion(region);
    struct Case
    {
        const char* what;
        std::function<void(QByteArray&)> damage;
    };
    const Case cases[] = {
        {"short header", [](QByteArray& b) { b.truncate(31); }},
        {"header size", [](QByteArray& b) { SetAt(b, 0, 40); }},
        {"type", [](QByteArray& b) { SetAt(b, 4, 2); }},
        {"count beyond the bytes", [](QByteArray& b) { SetAt(b, 8, 3); }},
        {"huge count", [](QByteArray& b) { SetAt(b, 8, 0x7FFFFFFF); }},
        {"rectangle bytes", [](QByteArray& b) { SetAt(b, 12, 16); }},
        {"a rectangle cut short", [](QByteArray& b) { b.chop(1); }},
        {"right before left", [](QByteArray& b) { SetAt(b, 40, 1); }},
        {"an empty rectangle", [](QByteArray& b) { SetAt(b, 44, 3); }},
        {"a coordinate out of range", [](QByteArray& b) { SetAt(b, 40, 0x7FFFFFF0); }},
        {"bounds that differ", [](QByteArray& b) { SetAt(b, 16, 0); }},
        {"bands out of order", [](QByteArray& b) {
             const QByteArray first = b.mid(32, 16);
             b.replace(32, 16, b.mid(48, 16));
             b.replace(48, 16, first);
         }},
        // The bounds after the header rather than in it.
        {"bounds misplaced", [](QByteArray& b) { b.insert(32, b.mid(16, 16)); }},
    };
    for (const Case& c : cases) {
        QByteArray block = good;
        c.damage(block);
        QRegion back(1, 1, 1, 1);
        EXPECT_FALSE(CSkin::DecodeRegion(block, back)) << c.what;
        EXPECT_TRUE(back.isEmpty()) << c.what;
    }
}

TEST(CSkin, SkinFilesRoundTripAndAreReplacedWhole)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString image = dir.filePath(QStringLiteral("art.bmp"));
    const QByteArray bmp = Encoded(TestPicture(), "BMP");
    ASSERT_TRUE(WriteFile(image, bmp));
    CSkin skin;
    int asked = 0;
    bool answer = false;
    skin.SetOverwriteQuestion([&](const QString& path) {
        ++asked;
        EXPECT_EQ(path, dir.filePath(QStringLiteral("about.skn")));
        return answer;
    });

    ASSERT_TRUE(skin.CreateSkin(image, dir.filePath(QStringLiteral("about"))));
    const QString written = dir.filePath(QStringLiteral("about.skn"));
    const QByteArray bytes = ReadFile(written);
    const QByteArray block = CSkin::EncodeRegion(CSkin::RegionFromPicture(TestPicture()));
    ASSERT_EQ(bytes.size(), 20 + bmp.size() + block.size());
    EXPECT_TRUE(bytes.startsWith(QByteArray("NKS\0", 4)));
    EXPECT_EQ(At(bytes, 4), bytes.size());
    EXPECT_EQ(At(bytes, 8), 21);
    EXPECT_EQ(At(bytes, 12), bmp.size());
    EXPECT_EQ(At(bytes, 16), block.size());
    EXPECT_EQ(bytes.mid(20, bmp.size()), bmp);
    EXPECT_EQ(bytes.mid(20 + bmp.size()), block);

    QRegion region;
    QImage picture;
    ASSERT_TRUE(skin.ExtractSkinFromFile(written, region, picture));
    EXPECT_TRUE(SamePixels(region, CSkin::RegionFromPicture(TestPicture())));
    EXPECT_EQ(picture.convertToFormat(QImage::Format_RGB32), TestPicture());
    QRegion fromBytes;
    ASSERT_TRUE(skin.ExtractSkinFromRes(bytes, fromBytes, picture));
    EXPECT_TRUE(SamePixels(fromBytes, region));

    // An existing file: asked first; Cancel leaves it as it was.
    const QString other = dir.filePath(QStringLiteral("other.png"));
    ASSERT_TRUE(WriteFile(other, Encoded(TestPicture().mirrored(), "PNG")));
    EXPECT_EQ(ErrorOf([&] { skin.CreateSkin(other, written); }), CSkin::ErrCanceled);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(ReadFile(written), bytes);
    answer = true;
    EXPECT_TRUE(skin.CreateSkin(other, written));
    EXPECT_NE(ReadFile(written), bytes);
    EXPECT_EQ(asked, 2);

    // The extension is compared exactly.
    EXPECT_TRUE(skin.CreateSkin(image, dir.filePath(QStringLiteral("upper.SKN"))));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("upper.SKN.skn"))));
}

TEST(CSkin, CreateSkinRefusesBadInput)
{
    QTemporaryDir dir;
    const QString image = dir.filePath(QStringLiteral("art.bmp"));
    ASSERT_TRUE(WriteFile(image, Encoded(TestPicture(), "BMP")));
    const QString junk = dir.filePath(QStringLiteral("junk.bmp"));
    ASSERT_TRUE(WriteFile(junk, QByteArray("BM this is no picture")));
    const QString empty = dir.filePath(QStringLiteral("empty.bmp"));
    ASSERT_TRUE(WriteFile(empty, QByteArray()));
    CSkin skin;
    skin.SetOverwriteQuestion([](const QString&) { return true; });
    const QString out = dir.filePath(QStringLiteral("out.skn"));
    EXPECT_EQ(ErrorOf([&] { skin.CreateSkin(dir.filePath(QStringLiteral("none.bmp")), out); }), CSkin::ErrImagePath);
    EXPECT_EQ(ErrorOf([&] { skin.CreateSkin(dir.path(), out); }), CSkin::ErrImagePath);
    EXPECT_EQ(ErrorOf([&] { skin.CreateSkin(image, QStringLiteral("  ")); }), CSkin::ErrSkinPath);
    EXPECT_EQ(ErrorOf([&] { skin.CreateSkin(image, QString()); }), CSkin::ErrSkinPath);
    EXPECT_EQ(ErrorOf([&] { skin.CreateSkin(junk, out); }), CSkin::ErrImagePicture);
    EXPECT_EQ(ErrorOf([&] { skin.CreateSkin(empty, out); }), CSkin::ErrImagePicture);
    EXPECT_FALSE(QFile::exists(out));
    // A folder that cannot be written to: the error, and no file.
    EXPECT_NE(ErrorOf([&] { skin.CreateSkin(image, dir.filePath(QStringLiteral("no/such/folder/x.skn"))); }), 0);
}

TEST(CSkin, DamagedSkinsGiveTheirErrorsOnBothPaths)
{
    QTemporaryDir dir;
    const QByteArray bmp = Encoded(TestPicture(), "BMP");
    const QByteArray block = CSkin::EncodeRegion(CSkin::RegionFromPicture(TestPicture()));
    const QByteArray good = CSkin::BuildSkin(bmp, block);
    struct Case
    {
        const char* what;
        std::function<void(QByteArray&)> damage;
        std::int32_t error;
    };
    const Case cases[] = {
        {"shorter than the header", [](QByteArray& b) { b.truncate(12); }, CSkin::ErrInvalidSkin},
        {"magic", [](QByteArray& b) { b[0] = 'X'; }, CSkin::ErrInvalidSkin},
        {"total one short", [](QByteArray& b) { SetAt(b, 4, At(b, 4) - 1); }, CSkin::ErrCorrupted},
        {"bytes missing", [](QByteArray& b) { b.chop(5); }, CSkin::ErrCorrupted},
        {"position in the header", [](QByteArray& b) { SetAt(b, 8, 1); }, CSkin::ErrCorrupted},
        {"position zero", [](QByteArray& b) { SetAt(b, 8, 0); }, CSkin::ErrCorrupted},
        {"position beyond", [](QByteArray& b) { SetAt(b, 8, 0x7FFFFFFF); }, CSkin::ErrCorrupted},
        {"picture length beyond", [](QByteArray& b) { SetAt(b, 12, At(b, 12) + 1); }, CSkin::ErrCorrupted},
        {"negative picture length", [](QByteArray& b) { SetAt(b, 12, -20); }, CSkin::ErrCorrupted},
        {"region length beyond", [](QByteArray& b) { SetAt(b, 16, 0x7FFFFFFF); }, CSkin::ErrCorrupted},
        {"negative region length", [](QByteArray& b) { SetAt(b, 16, -1); }, CSkin::ErrCorrupted},
        {"bad picture", [](QByteArray& b) { b.replace(20, 8, QByteArray(8, 'x')); }, CSkin::ErrDataPicture},
        {"no picture", [&](QByteArray& b) { b = CSkin::BuildSkin(QByteArray(), block); }, CSkin::ErrDataPicture},
        {"damaged region", [&](QByteArray& b) { SetAt(b, 20 + int(bmp.size()) + 8, 1000); }, CSkin::ErrDataRegion},
        {"no region", [&](QByteArray& b) { b = CSkin::BuildSkin(bmp, QByteArray()); }, CSkin::ErrDataRegion},
    };
    CSkin skin;
    for (const Case& c : cases) {
        // Each damaged skin as a tight copy: a read past its end would be
        // seen by the address sanitizer.
        QByteArray bytes = good;
        c.damage(bytes);
        bytes = QByteArray(bytes.constData(), bytes.size());
        QRegion region;
        QImage picture;
        RuvError fromRes(0, {}, {});
        EXPECT_EQ(ErrorOf([&] { skin.ExtractSkinFromRes(bytes, region, picture); }, &fromRes), c.error) << c.what;
        EXPECT_EQ(fromRes.source(), QStringLiteral("CSkin.ExtractSkinFromRes")) << c.what;
        EXPECT_EQ(ErrorOf([&] { skin.SetSkin(bytes, nullptr, true); }), c.error) << c.what;

        const QString path = dir.filePath(QStringLiteral("damaged.skn"));
        ASSERT_TRUE(WriteFile(path, bytes));
        RuvError fromFile(0, {}, {});
        EXPECT_EQ(ErrorOf([&] { skin.ExtractSkinFromFile(path, region, picture); }, &fromFile), c.error) << c.what;
        EXPECT_TRUE(fromFile.description().endsWith(QStringLiteral(" - (Source: Module/Proc= CSkin.ExtractSkinFromFile)")))
            << c.what;
        EXPECT_TRUE(fromFile.source().endsWith(QStringLiteral(".CSkin"))) << c.what;
        if (c.error == CSkin::ErrCorrupted) {
            EXPECT_TRUE(fromFile.description().startsWith(QStringLiteral("File '") + path + "' has been corrupted"))
                << c.what;
        }
    }
    // No file, or no path: false, nothing raised.
    QRegion region;
    QImage picture;
    EXPECT_FALSE(skin.ExtractSkinFromFile(dir.filePath(QStringLiteral("missing.skn")), region, picture));
    EXPECT_FALSE(skin.ExtractSkinFromFile(QString(), region, picture));
    EXPECT_FALSE(skin.ExtractSkinFromFile(dir.path(), region, picture));
}

TEST(CSkin, TheHeldRegion)
{
    CSkin skin;
    skin.RegionCleans();  // nothing held: nothing happens
    EXPECT_TRUE(skin.Region().isEmpty());
    const QByteArray good =
        CSkin::BuildSkin(Encoded(TestPicture(), "BMP"), CSkin::EncodeRegion(CSkin::RegionFromPicture(TestPicture())));
    const QRegion given = skin.SetSkin(good, nullptr, false);
    EXPECT_TRUE(SamePixels(given, CSkin::RegionFromPicture(TestPicture())));
    EXPECT_EQ(skin.Region(), given);
    QRegion mine = given;
    skin.RegionCleans(&mine);
    EXPECT_TRUE(mine.isEmpty());
    EXPECT_TRUE(skin.Region().isEmpty());
}
