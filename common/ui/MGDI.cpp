#include "MGDI.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPalette>
#include <QPixmap>
#include <QWidget>

#include <iterator>

namespace MGDI
{
QRegion RegionWithoutColor(const QImage& image, QRgb transparent, int xOffset, int yOffset)
{
    QRegion region;
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    const QRgb key = transparent | 0xFF000000u;
    const int width = pixels.width();
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        int x = 0;
        while (x < width) {
            while (x < width && (line[x] | 0xFF000000u) == key)
                ++x;
            const int start = x;
            while (x < width && (line[x] | 0xFF000000u) != key)
                ++x;
            if (x > start)
                region += QRect(start + xOffset, y + yOffset, x - start, 1);
        }
    }
    return region;
}

void CreateRegionWithoutColor(QWidget* form, QRegion& region, std::int32_t transparentColour,
                              std::int32_t xOffset, std::int32_t yOffset)
{
    region = QRegion();
    if (form == nullptr)
        return;
    const QImage image = form->grab().toImage();
    if (image.isNull())
        return;
    QRgb key = 0;
    if (transparentColour == -1) {
        key = image.pixel(0, 0);
    } else {
        const auto c = static_cast<std::uint32_t>(transparentColour);
        key = qRgb(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                   static_cast<int>((c >> 16) & 0xFF));
    }
    region = RegionWithoutColor(image, key, xOffset, yOffset);
}

void SetWindowRegion(QWidget* form, const QRegion& region)
{
    if (form == nullptr)
        return;
    form->setMask(region.isEmpty() ? QRegion(-1, -1, 1, 1) : region);
}

namespace
{
struct SysColorRole
{
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The system's colour indices 0 to 30 and the palette colours that play
// their parts here; the two unused indices have none.
constexpr SysColorRole kNoRole{QPalette::NColorGroups, QPalette::NoRole};
constexpr SysColorRole kSysColors[] = {
    {QPalette::Active, QPalette::Button},          // 0 scroll bar
    {QPalette::Active, QPalette::Dark},            // 1 desktop
    {QPalette::Active, QPalette::Highlight},       // 2 active caption
    {QPalette::Inactive, QPalette::Highlight},     // 3 inactive caption
    {QPalette::Active, QPalette::Window},          // 4 menu
    {QPalette::Active, QPalette::Base},            // 5 window
    {QPalette::Active, QPalette::WindowText},      // 6 window frame
    {QPalette::Active, QPalette::WindowText},      // 7 menu text
    {QPalette::Active, QPalette::Text},            // 8 window text
    {QPalette::Active, QPalette::HighlightedText}, // 9 caption text
    {QPalette::Active, QPalette::Window},          // 10 active border
    {QPalette::Inactive, QPalette::Window},        // 11 inactive border
    {QPalette::Active, QPalette::Dark},            // 12 application workspace
    {QPalette::Active, QPalette::Highlight},       // 13 highlight
    {QPalette::Active, QPalette::HighlightedText}, // 14 highlighted text
    {QPalette::Active, QPalette::Button},          // 15 button face
    {QPalette::Active, QPalette::Dark},            // 16 button shadow
    {QPalette::Disabled, QPalette::Text},          // 17 grey text
    {QPalette::Active, QPalette::ButtonText},      // 18 button text
    {QPalette::Inactive, QPalette::HighlightedText}, // 19 inactive caption text
    {QPalette::Active, QPalette::Light},           // 20 button highlight
    {QPalette::Active, QPalette::Shadow},          // 21 dark shadow
    {QPalette::Active, QPalette::Midlight},        // 22 light
    {QPalette::Active, QPalette::ToolTipText},     // 23 tooltip text
    {QPalette::Active, QPalette::ToolTipBase},     // 24 tooltip background
    kNoRole,                                       // 25
    {QPalette::Active, QPalette::Link},            // 26 hot-tracked item
    {QPalette::Active, QPalette::Highlight},       // 27 active caption gradient
    {QPalette::Inactive, QPalette::Highlight},     // 28 inactive caption gradient
    {QPalette::Active, QPalette::Highlight},       // 29 menu highlight
    {QPalette::Active, QPalette::Window},          // 30 menu bar
};

std::int32_t ToBgr(const QColor& c)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(c.red()) |
                                     (static_cast<std::uint32_t>(c.green()) << 8) |
                                     (static_cast<std::uint32_t>(c.blue()) << 16));
}
}

std::int32_t GetSysColor(std::int32_t colour)
{
    const auto value = static_cast<std::uint32_t>(colour);
    if ((value & 0x80000000u) == 0)
        return colour;
    const std::uint32_t index = value & 0xFFu;
    if (index >= std::size(kSysColors) || kSysColors[index].role == QPalette::NoRole)
        return 0;
    const QPalette palette = qGuiApp != nullptr ? QGuiApplication::palette() : QPalette();
    return ToBgr(palette.color(kSysColors[index].group, kSysColors[index].role));
}

QColor ToQColor(std::int32_t colour)
{
    const auto c = static_cast<std::uint32_t>(GetSysColor(colour));
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

std::int32_t DrawTextInRect(const QString& text, const QFont& font)
{
    if (text.isEmpty())
        return 0;
    const QFontMetrics metrics(font);
    return metrics.boundingRect(QRect(0, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop, text).width();
}
}
