#include "MClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace MClipboard
{
namespace
{
QClipboard* Clipboard()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return nullptr;
    // The offscreen and minimal platforms keep a clipboard of their own that
    // no other program sees; only a real display counts.
    if (QGuiApplication::platformName() != QLatin1String("xcb") &&
        QGuiApplication::platformName() != QLatin1String("wayland"))
        return nullptr;
    return QGuiApplication::clipboard();
}
}

bool SetClipboardText(std::uint64_t /*ownerWindow*/, const QString& text)
{
    QClipboard* clipboard = Clipboard();
    if (clipboard == nullptr)
        return false;
    // An empty text still replaces what is there, as plain text.
    auto* data = new QMimeData;
    data->setText(text);
    clipboard->setMimeData(data, QClipboard::Clipboard);
    return clipboard->ownsClipboard() && clipboard->text(QClipboard::Clipboard) == text;
}

QString GetClipboardText()
{
    QClipboard* clipboard = Clipboard();
    return clipboard != nullptr ? clipboard->text(QClipboard::Clipboard) : QString();
}
}
