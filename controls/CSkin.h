#pragma once

// Irregular windows from a picture: the window region leaves out every
// pixel of the picture's transparent colour (the colour of its top-left
// pixel). A skin file (.skn) holds the picture and the region together; the
// program reads its own skin from the resource "IDC_SKIN".
//
// Skin bytes, little-endian 32-bit integers:
//   0  magic 0x00534B4E ("NKS" and a zero)
//   4  total length: 20 + picture length + region length
//   8  position of the picture, counted from 1 (21)
//  12  picture length
//  16  region length
//  20  the picture file's bytes, then the region block
// Region block: a 32-byte header (32, type 1, rectangle count, bytes of the
// rectangles, bounding rectangle) and the rectangles, 16 bytes each (left,
// top, right, bottom; right and bottom excluded), in bands from the top.
//
// Failures are raised as RuvError with the numbers below.

#include <QByteArray>
#include <QImage>
#include <QRegion>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>

class CSkin
{
public:
    static constexpr std::uint32_t Magic = 0x00534B4Eu;
    static constexpr int HeaderSize = 20;
    static constexpr int RegionHeaderSize = 32;
    static constexpr int RegionRectSize = 16;

    static constexpr std::int32_t ErrRegionData = static_cast<std::int32_t>(0x8004B090u);
    static constexpr std::int32_t ErrRegionSize = static_cast<std::int32_t>(0x8004B091u);
    static constexpr std::int32_t ErrNoPictureData = static_cast<std::int32_t>(0x8004B092u);
    static constexpr std::int32_t ErrNoRegionData = static_cast<std::int32_t>(0x8004B093u);
    static constexpr std::int32_t ErrImagePath = static_cast<std::int32_t>(0x8004B094u);
    static constexpr std::int32_t ErrSkinPath = static_cast<std::int32_t>(0x8004B095u);
    static constexpr std::int32_t ErrImagePicture = static_cast<std::int32_t>(0x8004B096u);
    static constexpr std::int32_t ErrImageRegion = static_cast<std::int32_t>(0x8004B097u);
    static constexpr std::int32_t ErrCanceled = static_cast<std::int32_t>(0x8004B098u);
    static constexpr std::int32_t ErrInvalidSkin = static_cast<std::int32_t>(0x8004B099u);
    static constexpr std::int32_t ErrCorrupted = static_cast<std::int32_t>(0x8004B09Au);
    static constexpr std::int32_t ErrDataRegion = static_cast<std::int32_t>(0x8004B09Bu);
    static constexpr std::int32_t ErrDataPicture = static_cast<std::int32_t>(0x8004B09Cu);

    // Asked before an existing skin file is replaced; true replaces it.
    using OverwriteQuestion = std::function<bool(const QString& skinPath)>;

    // The default question is the warning box (OK and Cancel, Cancel the
    // default).
    CSkin();

    void SetOverwriteQuestion(OverwriteQuestion question);

    // Writes a skin file from an image file; ".skn" is appended to a path
    // that does not end in it. The file is replaced whole or not at all.
    bool CreateSkin(const QString& imagePath, const QString& skinPath);
    // False, with nothing raised, when no file is at the path.
    bool ExtractSkinFromFile(const QString& skinPath, QRegion& region, QImage& picture);
    // Reads skin bytes, makes the picture the window's background and, when
    // asked, cuts the window to the region; the region is held as Region
    // and returned.
    QRegion SetSkin(const QByteArray& skin, QWidget* window, bool applyRegion);
    const QRegion& Region() const { return m_region; }
    // Empties the given region (nullptr: the held one); the held region is
    // emptied in either case.
    void RegionCleans(QRegion* region = nullptr);
    bool ExtractSkinFromRes(const QByteArray& skin, QRegion& region, QImage& picture);

    // The picture's pixels other than the colour of its top-left one.
    static QRegion RegionFromPicture(const QImage& picture);
    // The region block of a region, and back; false for a damaged block.
    static QByteArray EncodeRegion(const QRegion& region);
    static bool DecodeRegion(const QByteArray& block, QRegion& region);
    // The skin bytes of a picture file's bytes and a region.
    static QByteArray BuildSkin(const QByteArray& pictureBytes, const QByteArray& regionBlock);

private:
    enum class Origin { File, Resource };
    static void ReadSkin(const QByteArray& skin, Origin origin, const QString& path, QRegion& region,
                         QImage& picture);

    QRegion m_region;
    OverwriteQuestion m_overwrite;
};
