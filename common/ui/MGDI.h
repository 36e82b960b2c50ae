#pragma once

#include <QColor>
#include <QRegion>
#include <QRgb>
#include <QString>

#include <cstdint>

class QFont;
class QImage;
class QWidget;

// Shapes cut from a form's own pixels, and text measuring.
namespace MGDI
{
// The region of the image's pixels that differ from the transparent colour,
// moved by the offset: per row, one rectangle per run of other pixels.
QRegion RegionWithoutColor(const QImage& image, QRgb transparent, int xOffset, int yOffset);

// The same for what the form shows. The colour is 0xBBGGRR; -1 takes it from
// the form's top-left pixel. The region is in the form's own coordinates
// (Qt's picture of a form holds no border, so no border offset is added);
// hand it to SetWindowRegion.
void CreateRegionWithoutColor(QWidget* form, QRegion& region, std::int32_t transparentColour,
                              std::int32_t xOffset, std::int32_t yOffset);

// Cuts the window to the region; an empty region leaves nothing visible
// (Qt's own empty mask would show the whole window).
void SetWindowRegion(QWidget* form, const QRegion& region);

// A colour value with the high bit set (0x800000nn) is the system colour of
// index nn (15 button face, 18 button text, 23 tooltip text, 24 tooltip
// background, ...), taken from the application's palette and returned as
// 0xBBGGRR; an index without a system colour gives 0. Any other value is
// returned as it is.
std::int32_t GetSysColor(std::int32_t colour);
// The colour of a 0xBBGGRR value, system colours resolved as above.
QColor ToQColor(std::int32_t colour);

// The width in pixels of the text (its widest line) in the font.
std::int32_t DrawTextInRect(const QString& text, const QFont& font);
}
