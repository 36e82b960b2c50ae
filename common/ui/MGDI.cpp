#include "MGDI.h"

#include <QFontMetrics>
#include <QImage>
#include <QPixmap>
#include <QWidget>

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

std::int32_t DrawTextInRect(const QString& text, const QFont& font)
{
    if (text.isEmpty())
        return 0;
    const QFontMetrics metrics(font);
    return metrics.boundingRect(QRect(0, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop, text).width();
}
}
