// The about box's skin: its picture with the left-out pixels chequered, and
// a skinned window (a click hides it).
#include "CSkin.h"
#include "DemoPages.h"
#include "MRuvResource.h"
#include "RuvError.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdio>

namespace
{
constexpr std::int32_t kSkinResource = 13;  // "IDC_SKIN"

class SkinnedWindow final : public QWidget
{
public:
    SkinnedWindow() : QWidget(nullptr, Qt::FramelessWindowHint) {}

protected:
    void mousePressEvent(QMouseEvent*) override { hide(); }
};

QPointer<SkinnedWindow> g_window;

QWidget* MakePage(QWidget* parent)
{
    auto* page = new QWidget(parent);
    auto* layout = new QVBoxLayout(page);
    auto* preview = new QLabel(page);
    preview->setObjectName(QStringLiteral("preview"));
    auto* info = new QLabel(page);
    auto* show = new QPushButton(QStringLiteral("Show the skinned window"), page);
    layout->addWidget(preview);
    layout->addWidget(info);
    layout->addWidget(show);
    layout->addStretch(1);

    CSkin skin;
    QRegion region;
    QImage picture;
    try {
        skin.ExtractSkinFromRes(MRuvResource::GetResData(kSkinResource), region, picture);
    } catch (const RuvError& e) {
        info->setText(QStringLiteral("The skin resource cannot be read: ") + e.description());
        show->setEnabled(false);
        return page;
    }
    QPixmap shown(picture.size());
    {
        QPainter p(&shown);
        for (int y = 0; y < shown.height(); y += 8)
            for (int x = 0; x < shown.width(); x += 8)
                p.fillRect(x, y, 8, 8, ((x + y) / 8) % 2 != 0 ? QColor(200, 200, 200) : QColor(240, 240, 240));
        p.setClipRegion(region);
        p.drawImage(0, 0, picture);
    }
    preview->setPixmap(shown);
    info->setText(QStringLiteral("%1 x %2 pixels; the window's shape is %3 rectangles")
                      .arg(picture.width())
                      .arg(picture.height())
                      .arg(region.rectCount()));
    QObject::connect(show, &QPushButton::clicked, page, [picture] {
        if (!g_window) {
            g_window = new SkinnedWindow;
            g_window->setAttribute(Qt::WA_DeleteOnClose);
            CSkin applied;
            applied.SetSkin(MRuvResource::GetResData(kSkinResource), g_window, true);
            g_window->resize(picture.size());
        }
        g_window->show();
        g_window->raise();
    });
    return page;
}

bool SelfTest(QWidget* page)
{
    CSkin skin;
    SkinnedWindow window;
    try {
        const QRegion region = skin.SetSkin(MRuvResource::GetResData(kSkinResource), &window, true);
        window.resize(320, 120);
        window.show();
        const bool shaped = !region.isEmpty() && region.boundingRect().width() == 320 &&
                            !region.contains(QPoint(0, 0)) && region.contains(QPoint(160, 60)) &&
                            !window.mask().isEmpty();
        window.hide();
        return shaped && page->findChild<QLabel*>(QStringLiteral("preview"))->pixmap().width() == 320;
    } catch (const RuvError& e) {
        std::fprintf(stderr, "skin: %s\n", qPrintable(e.description()));
        return false;
    }
}

const DemoPages::Registration registration({QStringLiteral("Skin"), MakePage, SelfTest});
}
