#include "CSkin.h"

#include "MGDI.h"
#include "MMsgBoxEx.h"
#include "RuvError.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPalette>
#include <QPixmap>
#include <QSaveFile>
#include <QtEndian>

#include <limits>
#include <vector>

namespace
{
// Region coordinates beyond this are no window's.
constexpr std::int64_t kCoordinateLimit = std::int64_t(1) << 27;
constexpr std::int32_t kFileAccessError = 75;

std::uint32_t U32(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<std::uint32_t>(bytes.constData() + at);
}

std::int32_t I32(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<std::int32_t>(bytes.constData() + at);
}

void Put(QByteArray& bytes, std::int32_t value)
{
    char le[4];
    qToLittleEndian(value, le);
    bytes.append(le, 4);
}

[[noreturn]] void Raise(std::int32_t number, const QString& description, const char* procedure)
{
    throw RuvError(number, description, QStringLiteral("CSkin.") + QLatin1String(procedure));
}

bool AskOverwrite(const QString& skinPath)
{
    return MMsgBoxEx::MsgBoxEx(nullptr, QStringLiteral("Warning"),
                               QStringLiteral("The file '") + skinPath +
                                   QStringLiteral("' already exists, do you want to overwrite it?"),
                               MMsgBoxEx::MbOkCancel | MMsgBoxEx::MbIconQuestion | MMsgBoxEx::MbDefButton2,
                               QString(), 0) == MMsgBoxEx::IdOk;
}

// Rectangles in bands from the top: a band's rectangles share their top and
// bottom and go from left to right without touching; bands do not overlap.
bool Banded(const std::vector<QRect>& rects)
{
    for (size_t i = 1; i < rects.size(); ++i) {
        const QRect& a = rects[i - 1];
        const QRect& b = rects[i];
        if (b.top() == a.top() && b.bottom() == a.bottom()) {
            if (b.left() <= a.right() + 1)
                return false;
        } else if (b.top() <= a.bottom()) {
            return false;
        }
    }
    return true;
}
}

CSkin::CSkin() : m_overwrite(AskOverwrite)
{
}

void CSkin::SetOverwriteQuestion(OverwriteQuestion question)
{
    m_overwrite = question ? std::move(question) : OverwriteQuestion(AskOverwrite);
}

QRegion CSkin::RegionFromPicture(const QImage& picture)
{
    if (picture.isNull())
        return {};
    const QImage pixels = picture.convertToFormat(QImage::Format_RGB32);
    return MGDI::RegionWithoutColor(pixels, pixels.pixel(0, 0), 0, 0);
}

QByteArray CSkin::EncodeRegion(const QRegion& region)
{
    const auto count = static_cast<std::int32_t>(region.rectCount());
    QByteArray block;
    block.reserve(RegionHeaderSize + RegionRectSize * count);
    Put(block, RegionHeaderSize);
    Put(block, 1);
    Put(block, count);
    Put(block, count * RegionRectSize);
    const QRect bounds = region.boundingRect();
    const auto putRect = [&block](const QRect& r) {
        Put(block, r.left());
        Put(block, r.top());
        Put(block, r.left() + r.width());
        Put(block, r.top() + r.height());
    };
    if (region.isEmpty()) {
        for (int i = 0; i < 4; ++i)
            Put(block, 0);
    } else {
        putRect(bounds);
    }
    for (const QRect& r : region)
        putRect(r);
    return block;
}

bool CSkin::DecodeRegion(const QByteArray& block, QRegion& region)
{
    region = QRegion();
    if (block.size() < RegionHeaderSize)
        return false;
    if (U32(block, 0) != RegionHeaderSize || U32(block, 4) != 1)
        return false;
    const std::uint32_t count = U32(block, 8);
    const std::uint32_t rectBytes = U32(block, 12);
    const std::uint64_t room = static_cast<std::uint64_t>(block.size() - RegionHeaderSize);
    if (count > room / RegionRectSize)
        return false;
    if (rectBytes != 0 && (rectBytes < count * std::uint64_t(RegionRectSize) || rectBytes > room))
        return false;

    const auto readRect = [&block](qsizetype at, QRect& r) {
        const std::int64_t left = I32(block, at), top = I32(block, at + 4);
        const std::int64_t right = I32(block, at + 8), bottom = I32(block, at + 12);
        if (left > right || top > bottom || left < -kCoordinateLimit || top < -kCoordinateLimit ||
            right > kCoordinateLimit || bottom > kCoordinateLimit)
            return false;
        r = QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                  static_cast<int>(bottom - top));
        return true;
    };
    QRect bounds;
    if (!readRect(16, bounds))
        return false;
    std::vector<QRect> rects;
    rects.reserve(count);
    QRect united;
    for (std::uint32_t i = 0; i < count; ++i) {
        QRect r;
        if (!readRect(RegionHeaderSize + qsizetype(i) * RegionRectSize, r) || r.isEmpty())
            return false;
        rects.push_back(r);
        united = united.united(r);
    }
    // The bounds are the rectangles' own: a block whose bounds say otherwise
    // (or stand elsewhere) is not one the system wrote.
    if (bounds != united && !(count == 0 && bounds.isEmpty()))
        return false;
    if (!Banded(rects))
        return false;
    region.setRects(rects.data(), static_cast<int>(rects.size()));
    return true;
}

QByteArray CSkin::BuildSkin(const QByteArray& pictureBytes, const QByteArray& regionBlock)
{
    QByteArray skin;
    skin.reserve(HeaderSize + pictureBytes.size() + regionBlock.size());
    Put(skin, static_cast<std::int32_t>(Magic));
    Put(skin, static_cast<std::int32_t>(HeaderSize + pictureBytes.size() + regionBlock.size()));
    Put(skin, HeaderSize + 1);
    Put(skin, static_cast<std::int32_t>(pictureBytes.size()));
    Put(skin, static_cast<std::int32_t>(regionBlock.size()));
    skin.append(pictureBytes);
    skin.append(regionBlock);
    return skin;
}

bool CSkin::CreateSkin(const QString& imagePath, const QString& skinPath)
{
    if (!QFileInfo(imagePath).isFile())
        Raise(ErrImagePath, QStringLiteral("Image source file path invalid"), "CreateSkin");
    if (skinPath.trimmed().isEmpty())
        Raise(ErrSkinPath, QStringLiteral("Skin file path/name missing"), "CreateSkin");
    QString path = skinPath;
    if (!path.endsWith(QLatin1String(".skn")))
        path += QStringLiteral(".skn");
    if (QFileInfo::exists(path) && !m_overwrite(path))
        Raise(ErrCanceled, QStringLiteral("Canceled file save operation on existing file"), "CreateSkin");

    QFile image(imagePath);
    QByteArray pictureBytes;
    if (image.open(QIODevice::ReadOnly))
        pictureBytes = image.readAll();
    QImage picture;
    if (pictureBytes.isEmpty() || !picture.loadFromData(pictureBytes))
        Raise(ErrImagePicture, QStringLiteral("Unable to create picture object from image source file"),
              "CreateSkin");
    const QRegion region = RegionFromPicture(picture);
    const QByteArray regionBlock = EncodeRegion(region);
    if (regionBlock.size() <= 0)
        Raise(ErrRegionSize, QStringLiteral("Unable to determine size of region"), "CreateSkin");
    if (regionBlock.size() != RegionHeaderSize + RegionRectSize * region.rectCount())
        Raise(ErrRegionData, QStringLiteral("Unable to get region data"), "CreateSkin");
    if (pictureBytes.isEmpty())
        Raise(ErrNoPictureData, QStringLiteral("Missing picture data"), "CreateSkin");
    if (regionBlock.isEmpty())
        Raise(ErrNoRegionData, QStringLiteral("Missing region data"), "CreateSkin");
    if (qsizetype(HeaderSize) + pictureBytes.size() + regionBlock.size() > std::numeric_limits<std::int32_t>::max())
        Raise(ErrImagePicture, QStringLiteral("Unable to create picture object from image source file"),
              "CreateSkin");

    // The old file stays until the new one is complete.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(BuildSkin(pictureBytes, regionBlock)) < 0 || !file.commit())
        Raise(kFileAccessError, QStringLiteral("Path/File access error: ") + file.errorString(), "CreateSkin");
    return true;
}

void CSkin::ReadSkin(const QByteArray& skin, Origin origin, const QString& path, QRegion& region, QImage& picture)
{
    const bool fromFile = origin == Origin::File;
    const char* procedure = fromFile ? "ExtractSkinFromFile" : "ExtractSkinFromRes";
    const QString corrupted = fromFile ? QStringLiteral("File '") + path + QStringLiteral("' has been corrupted")
                                       : QStringLiteral("The skin data has been corrupted");
    if (skin.size() < HeaderSize || U32(skin, 0) != Magic)
        Raise(ErrInvalidSkin, QStringLiteral("Invalid skin file"), procedure);
    const std::int64_t total = I32(skin, 4);
    const std::int64_t position = I32(skin, 8);
    const std::int64_t pictureLength = I32(skin, 12);
    const std::int64_t regionLength = I32(skin, 16);
    if (total != skin.size())
        Raise(ErrCorrupted, corrupted, procedure);
    // The parts lie after the header and inside the bytes.
    if (position < HeaderSize + 1 || pictureLength < 0 || regionLength < 0 ||
        position - 1 + pictureLength + regionLength > skin.size())
        Raise(ErrCorrupted, corrupted, procedure);

    const QByteArray pictureBytes = skin.mid(position - 1, pictureLength);
    const QByteArray regionBlock = skin.mid(position - 1 + pictureLength, regionLength);
    QImage loaded;
    if (pictureBytes.isEmpty() || !loaded.loadFromData(pictureBytes))
        Raise(ErrDataPicture,
              fromFile ? QStringLiteral("Unable to create picture object from  file data")
                       : QStringLiteral("Unable to create picture object from resource datas."),
              procedure);
    QRegion decoded;
    if (!DecodeRegion(regionBlock, decoded))
        Raise(ErrDataRegion,
              fromFile ? QStringLiteral("Unable to create region from file data")
                       : QStringLiteral("Unable to create region from resource datas."),
              procedure);
    picture = loaded;
    region = decoded;
}

bool CSkin::ExtractSkinFromFile(const QString& skinPath, QRegion& region, QImage& picture)
{
    if (!QFileInfo(skinPath).isFile())
        return false;
    try {
        QFile file(skinPath);
        if (!file.open(QIODevice::ReadOnly))
            Raise(kFileAccessError, QStringLiteral("Path/File access error: ") + file.errorString(),
                  "ExtractSkinFromFile");
        ReadSkin(file.readAll(), Origin::File, skinPath, region, picture);
    } catch (const RuvError& e) {
        QString application = QCoreApplication::applicationName();
        if (application.isEmpty())
            application = QStringLiteral("Ruvadir");
        throw RuvError(e.number(),
                       e.description() + QStringLiteral(" - (Source: Module/Proc= CSkin.ExtractSkinFromFile)"),
                       application + QStringLiteral(".CSkin"));
    }
    return true;
}

bool CSkin::ExtractSkinFromRes(const QByteArray& skin, QRegion& region, QImage& picture)
{
    ReadSkin(skin, Origin::Resource, QString(), region, picture);
    return true;
}

QRegion CSkin::SetSkin(const QByteArray& skin, QWidget* window, bool applyRegion)
{
    QRegion region;
    QImage picture;
    ExtractSkinFromRes(skin, region, picture);
    if (window != nullptr) {
        QPalette palette = window->palette();
        palette.setBrush(QPalette::Window, QBrush(QPixmap::fromImage(picture)));
        window->setPalette(palette);
        window->setAutoFillBackground(true);
        if (applyRegion)
            MGDI::SetWindowRegion(window, region);
    }
    m_region = region;
    return region;
}

void CSkin::RegionCleans(QRegion* region)
{
    if (region != nullptr)
        *region = QRegion();
    m_region = QRegion();
}
