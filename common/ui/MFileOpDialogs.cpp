#include "MFileOpDialogs.h"

#include "MFileOp.h"
#include "MRuvResource.h"
#include "PathHelper.h"
#include "RuvError.h"

#include <QFileDialog>
#include <QFontMetrics>
#include <QIcon>
#include <QPixmap>

namespace MFileOp {

namespace {

BrowseState gBrowseState;

void CheckShort(int32_t value, const char* source)
{
    if (value < -32768 || value > 65535)
        throw RuvError(RuvError::Overflow, QStringLiteral("Overflow"), QString::fromLatin1(source));
}

QIcon ResourceIcon(const QString& name)
{
    for (int32_t n = 0; !MRuvResource::GetResName(n).isEmpty(); ++n) {
        if (MRuvResource::GetResName(n).compare(name, Qt::CaseInsensitive) != 0)
            continue;
        try {
            QPixmap pixmap;
            if (pixmap.loadFromData(MRuvResource::GetResPicture(n), "PNG"))
                return QIcon(pixmap);
        } catch (const RuvError&) {
        }
    }
    return {};
}

}  // namespace

const BrowseState& LastBrowseState()
{
    return gBrowseState;
}

QString GetSpecialFolder(const QString& title, const QString& initialFolder, int32_t root, int32_t flags,
                         QWidget* owner, const QString& iconName)
{
    CheckShort(flags, "MFileOp.GetSpecialFolder");
    CheckShort(root, "MFileOp.GetSpecialFolder");
    gBrowseState = BrowseState{initialFolder, iconName, flags};

    QString start = initialFolder;
    QString existing;
    if (start.isEmpty() || !GetExistingFolder(start, existing))
        start = SpecialFolderPath(root);
    else
        start = existing;

    QFileDialog dialog(owner, title, RuvPlatform::PathHelper::ToNative(start));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    // Qt's own dialog: the same on every desktop, and testable.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    if (!iconName.isEmpty()) {
        const QIcon icon = ResourceIcon(iconName);
        if (!icon.isNull())
            dialog.setWindowIcon(icon);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString::fromLatin1(CancelText);
    return NormalizePath(dialog.selectedFiles().front()).isEmpty() ? QStringLiteral("/")
                                                                   : NormalizePath(dialog.selectedFiles().front());
}

QString CompactPath(const QString& path, int32_t width, const QFontMetrics& metrics)
{
    if (metrics.horizontalAdvance(path) <= width)
        return path;
    return metrics.elidedText(path, Qt::ElideMiddle, width);
}

}  // namespace MFileOp
