#include "MenuDecorator.h"

#include <QAction>
#include <QApplication>
#include <QLinearGradient>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>

#include <algorithm>

// Paints the highlight, the band and the check picture of the Flat and
// Gradient themes, and leaves text, pictures and arrows to the base style.
class MenuDecorator::ThemeStyle : public QProxyStyle
{
public:
    ThemeStyle(QStyle* base, const MenuDecorator& owner) : QProxyStyle(base), m_owner(owner) {}

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (element != CE_MenuItem || !item || m_owner.Theme() == ThemeStandard) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        const QRect r = item->rect;
        const int column = std::max({static_cast<int>(r.height() * 0.79), item->maxIconWidth, 21});
        const QRect band(r.x(), r.y(), column + 8, r.height());
        const QPalette& pal = item->palette;
        if (m_owner.Theme() == ThemeFlat)
            painter->fillRect(band, pal.color(QPalette::Window).darker(112));
        if (item->menuItemType == QStyleOptionMenuItem::Separator) {
            const int y = r.center().y();
            painter->setPen(pal.color(QPalette::Mid));
            painter->drawLine(band.right() + 4, y, r.right() - 4, y);
            return;
        }

        QStyleOptionMenuItem plain(*item);
        const bool selected = (item->state & State_Selected) && (item->state & State_Enabled);
        if (selected) {
            const QRect h = r.adjusted(1, 1, -2, -2);
            const QColor highlight = pal.color(QPalette::Highlight);
            painter->save();
            painter->setRenderHint(QPainter::Antialiasing, m_owner.SelectionRadius() > 0);
            QPainterPath path;
            path.addRoundedRect(QRectF(h), m_owner.SelectionRadius(), m_owner.SelectionRadius());
            if (m_owner.Theme() == ThemeGradient) {
                QLinearGradient gradient(h.topLeft(), h.bottomLeft());
                gradient.setColorAt(0.0, highlight.lighter(170));
                gradient.setColorAt(1.0, highlight);
                painter->fillPath(path, gradient);
            } else {
                painter->fillPath(path, highlight.lighter(185));
            }
            if (m_owner.SelectionBorder() > 0) {
                painter->setPen(QPen(highlight.darker(130), m_owner.SelectionBorder()));
                painter->drawPath(path);
            }
            painter->restore();
            // The highlighted item's alternate picture.
            if (!item->icon.isNull()) {
                const int size = pixelMetric(PM_SmallIconSize, option, widget);
                plain.icon = QIcon(item->icon.pixmap(QSize(size, size), QIcon::Active));
            }
        }
        if (item->checkType != QStyleOptionMenuItem::NotCheckable && !m_owner.CheckPicture().isNull()) {
            if (item->checked) {
                const QPixmap& check = m_owner.CheckPicture();
                const QRect slot(r.x() + 4, r.y(), column, r.height());
                painter->drawPixmap(slot.center() - QPoint(check.width() / 2, check.height() / 2), check);
            }
            plain.checkType = QStyleOptionMenuItem::NotCheckable;
            plain.checked = false;
        }
        plain.state &= ~State_Selected;
        QProxyStyle::drawControl(element, &plain, painter, widget);
    }

private:
    const MenuDecorator& m_owner;
};

MenuDecorator::MenuDecorator() = default;

MenuDecorator::~MenuDecorator()
{
    for (QMenu* menu : std::as_const(m_menus))
        if (menu && m_style && menu->style() == m_style)
            menu->setStyle(nullptr);
    delete m_style;
}

void MenuDecorator::Attach(QWidget* window, int32_t)
{
    m_menus.clear();
    m_items.clear();
    QList<QMenu*> found;
    if (auto* main = qobject_cast<QMainWindow*>(window)) {
        for (QAction* a : main->menuBar()->actions())
            if (a->menu())
                found << a->menu();
    }
    for (QMenu* menu : window->findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly))
        if (!found.contains(menu))
            found << menu;
    // Every menu with its submenus, in tree order.
    for (qsizetype i = 0; i < found.size(); ++i) {
        QMenu* menu = found.at(i);
        m_menus << menu;
        const QVariant own = menu->menuAction()->property(ItemNumberProperty);
        if (own.isValid())
            m_items.insert(own.toInt(), menu->menuAction());
        qsizetype next = i + 1;
        for (QAction* a : menu->actions()) {
            const QVariant number = a->property(ItemNumberProperty);
            if (number.isValid() && !a->menu())
                m_items.insert(number.toInt(), a);
            if (a->menu() && !found.contains(a->menu()))
                found.insert(next++, a->menu());
        }
    }
    if (!m_style) {
        QStyle* base = QStyleFactory::create(QApplication::style()->name());
        m_style = new ThemeStyle(base ? base : QStyleFactory::create(QStringLiteral("Fusion")), *this);
    }
    ApplyStyle();
}

void MenuDecorator::ApplyStyle()
{
    for (QMenu* menu : std::as_const(m_menus)) {
        if (!menu)
            continue;
        menu->setStyle(m_ownerDraw ? m_style : nullptr);
        if (m_hasFont)
            menu->setFont(m_font);
    }
}

void MenuDecorator::SetItemPictures(const QList<QPixmap>& pictures, const QList<int32_t>& items)
{
    if (pictures.isEmpty())
        return;
    QIcon icon(pictures.at(0));
    if (pictures.size() > 1) {
        icon.addPixmap(pictures.at(1), QIcon::Active, QIcon::Off);
        icon.addPixmap(pictures.at(1), QIcon::Selected, QIcon::Off);
    }
    for (int32_t number : items)
        if (QAction* a = Item(number))
            a->setIcon(icon);
}

void MenuDecorator::SetItemFont(const QFont& font, const QList<int32_t>& items)
{
    for (int32_t number : items) {
        if (QAction* a = Item(number)) {
            a->setFont(font);
            m_ownFont.insert(a, true);
        }
    }
}

void MenuDecorator::SetFont(const QFont& font)
{
    m_font = font;
    m_hasFont = true;
    for (QAction* a : std::as_const(m_items))
        if (!m_ownFont.contains(a))
            a->setFont(font);
    ApplyStyle();
}

void MenuDecorator::Redraw(int32_t)
{
    ApplyStyle();
    for (QMenu* menu : std::as_const(m_menus))
        if (menu)
            menu->update();
}

void MenuDecorator::SetCheckPicture(const QPixmap& picture)
{
    m_checkPicture = picture;
}

void MenuDecorator::SetOwnerDraw(bool on)
{
    m_ownerDraw = on;
    ApplyStyle();
}

void MenuDecorator::SetTheme(int32_t theme)
{
    m_theme = theme;
}

void MenuDecorator::SetSelectionBorder(int32_t pixels)
{
    m_selectionBorder = std::max(0, pixels);
}

void MenuDecorator::SetSelectionRadius(int32_t pixels)
{
    m_selectionRadius = std::max(0, pixels);
}
