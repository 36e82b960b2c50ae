#pragma once

#include <QString>

#include <cstdint>

class QFontMetrics;
class QWidget;

// The window-facing half of MFileOp: the folder-browse dialog and the path
// shortened to a width in pixels.
namespace MFileOp {

// The text that a cancelled folder dialog gives.
inline const char* const CancelText = "cancel";

// Shows the folder-browse dialog with the title, opened at the initial
// folder (or at the special folder `root` when that is empty or missing).
// Gives the chosen folder, or "cancel". The flags and root must fit in 16
// bits (RuvError 6 otherwise); the icon name names a picture of the
// program's resources for the dialog's icon ("" for none).
QString GetSpecialFolder(const QString& title, const QString& initialFolder, int32_t root, int32_t flags,
                         QWidget* owner = nullptr, const QString& iconName = QString());

// What the browse dialog was last opened with; kept after it closes.
struct BrowseState {
    QString initialFolder;
    QString iconName;
    int32_t flags = 0;
};
const BrowseState& LastBrowseState();

// The path shortened with an ellipsis in its middle so that it fits the
// width as drawn in the font; the whole path when it fits.
QString CompactPath(const QString& path, int32_t width, const QFontMetrics& metrics);

}  // namespace MFileOp
