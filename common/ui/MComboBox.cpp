#include "MComboBox.h"

#include "MControls.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace MComboBox
{
QLineEdit* GetComboInfo(QComboBox* combo)
{
    return combo != nullptr ? combo->lineEdit() : nullptr;
}

void FitDropDown(QComboBox* combo, float listHeightTwips)
{
    if (combo == nullptr)
        return;
    int pixels = static_cast<int>(std::lround(listHeightTwips / MControls::TwipsPerPixel(combo, false)));
    if (const QScreen* screen = combo->screen())
        pixels = std::min(pixels, screen->availableGeometry().height());
    QAbstractItemView* view = combo->view();
    int row = view->sizeHintForRow(0);
    if (row <= 0)
        row = combo->fontMetrics().height();
    combo->setMaxVisibleItems(std::max(1, pixels / std::max(1, row)));
    int widest = 0;
    for (int i = 0; i < combo->count(); ++i)
        widest = std::max(widest, combo->fontMetrics().horizontalAdvance(combo->itemText(i)));
    const int margins = 2 * view->frameWidth() + view->verticalScrollBar()->sizeHint().width() + 8;
    view->setMinimumWidth(std::max(combo->width(), widest + margins));
}

bool InitStorage(QComboBox* combo, std::int32_t itemCount, std::uint8_t /*bytesPerItem*/)
{
    return combo != nullptr && itemCount >= 0;
}

std::int32_t FindExact(QComboBox* combo, const QString& text)
{
    if (combo == nullptr)
        return -1;
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemText(i).compare(text, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

std::int32_t FindPrefix(QComboBox* combo, const QString& text, std::int32_t startAfter)
{
    if (combo == nullptr || combo->count() == 0)
        return -1;
    const int count = combo->count();
    const int first = (startAfter < -1 || startAfter >= count) ? 0 : startAfter + 1;
    for (int k = 0; k < count; ++k) {
        const int i = (first + k) % count;
        if (combo->itemText(i).startsWith(text, Qt::CaseInsensitive))
            return i;
    }
    return -1;
}

std::int32_t SelectByText(QComboBox* combo, const QString& text)
{
    if (combo == nullptr || combo->count() == 0)
        return -1;
    const std::int32_t found = FindExact(combo, text);
    combo->setCurrentIndex(found >= 0 ? found : 0);
    return found;
}

std::int32_t SetListIndexBounded(QComboBox* combo, std::int32_t index)
{
    if (combo == nullptr || combo->count() == 0)
        return -1;
    const std::int32_t bounded = std::clamp(index, 0, static_cast<std::int32_t>(combo->count() - 1));
    combo->setCurrentIndex(bounded);
    return bounded;
}
}
