#include "MMsgBoxEx.h"

#include "MForms.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <array>
#include <vector>

namespace MMsgBoxEx
{
namespace
{
struct ButtonSpec
{
    std::int32_t id;
    const char* text;
};

// The buttons of each group in their order on the box; the captions rename
// them in this order. Unknown groups show OK alone.
std::vector<ButtonSpec> ButtonsOf(std::int32_t group)
{
    switch (group) {
    case MbOkCancel: return {{IdOk, "OK"}, {IdCancel, "Cancel"}};
    case MbAbortRetryIgnore: return {{IdAbort, "&Abort"}, {IdRetry, "&Retry"}, {IdIgnore, "&Ignore"}};
    case MbYesNoCancel: return {{IdYes, "&Yes"}, {IdNo, "&No"}, {IdCancel, "Cancel"}};
    case MbYesNo: return {{IdYes, "&Yes"}, {IdNo, "&No"}};
    case MbRetryCancel: return {{IdRetry, "&Retry"}, {IdCancel, "Cancel"}};
    case MbCancelTryContinue:
        return {{IdCancel, "Cancel"}, {IdTryAgain, "&Try Again"}, {IdContinue, "&Continue"}};
    default: return {{IdOk, "OK"}};
    }
}

QMessageBox::Icon IconOf(std::int32_t style)
{
    switch (style & 0xF0) {
    case MbIconStop: return QMessageBox::Critical;
    case MbIconQuestion: return QMessageBox::Question;
    case MbIconExclamation: return QMessageBox::Warning;
    case MbIconInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}
}

std::int32_t MsgBoxEx(QWidget* owner, const QString& title, const QString& prompt,
                      std::int32_t style, const QString& iconName, std::int32_t timeoutMs,
                      const QString& caption1, const QString& caption2, const QString& caption3)
{
    const std::int32_t group = style & 15;
    QMessageBox box(owner);
    box.setObjectName(QString::fromLatin1(BoxObjectName));
    box.setWindowTitle(title);
    box.setTextFormat(Qt::PlainText);
    box.setText(prompt);
    box.setIcon(IconOf(style));
    // The box sizes itself to its text; a long title would be cut short in
    // the window manager's title bar of a box with a short text.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        const QMargins margins = grid->contentsMargins();
        const int width = MForms::TitleBarWidth(title) - margins.left() - margins.right();
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                      grid->columnCount());
    }
    if (!iconName.isEmpty()) {
        const QIcon icon = MForms::LoadIconResource(iconName);
        if (!icon.isNull())
            box.setWindowIcon(icon);
    }

    const std::array<const QString*, 3> captions{&caption1, &caption2, &caption3};
    const std::vector<ButtonSpec> specs = ButtonsOf(group);
    std::vector<std::pair<QAbstractButton*, std::int32_t>> buttons;
    QAbstractButton* escape = nullptr;
    for (std::size_t i = 0; i < specs.size(); ++i) {
        const QString text = captions[i]->isEmpty() ? QString::fromLatin1(specs[i].text) : *captions[i];
        // Action roles keep the system's order of the buttons on every style.
        QPushButton* button = box.addButton(text, QMessageBox::ActionRole);
        buttons.emplace_back(button, specs[i].id);
        if (specs[i].id == IdCancel || (group == MbOk && specs[i].id == IdOk) ||
            (specs.size() == 1))
            escape = button;
    }
    const std::size_t defaultIndex = static_cast<std::size_t>((style & 0xF00) >> 8);
    box.setDefaultButton(qobject_cast<QPushButton*>(
        buttons[defaultIndex < buttons.size() ? defaultIndex : 0].first));
    if (escape != nullptr) {
        box.setEscapeButton(escape);
    } else {
        // Abort-Retry-Ignore and Yes-No have no button a close request can
        // press: Escape and the close box do nothing, as on the system.
        box.setWindowFlag(Qt::WindowCloseButtonHint, false);
    }

    // The timer belongs to this box alone and keeps asking until the box has
    // gone: a close request that arrives while another box is on top of this
    // one takes effect when control comes back here.
    QTimer timer;
    if (timeoutMs >= 1 && escape != nullptr) {
        timer.setInterval(timeoutMs);
        QObject::connect(&timer, &QTimer::timeout, &box, [&box] {
            if (box.isVisible())
                box.close();
        });
        timer.start();
    }
    box.exec();
    timer.stop();

    QAbstractButton* clicked = box.clickedButton();
    for (const auto& [button, id] : buttons) {
        if (button == clicked)
            return id;
    }
    // Closed without a button (only possible when a close request reached a
    // box without a close button): the answer a close gives on the system.
    return group == MbOk ? IdOk : IdCancel;
}
}
