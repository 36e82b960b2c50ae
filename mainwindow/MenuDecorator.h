#pragma once

// The menu decoration of a window: it draws the window's menus in one of
// three themes, with pictures and fonts given to its items by number.
// The window numbers the items of its menu tree (the property
// "menuItemNumber" on each item, 1 upward in tree order); Attach finds
// them in every menu of the window. The menus stay ordinary Qt menus: the
// decoration only paints them, through a style of its own.
//
// Themes: 2 Standard (the application's style as it is), 1 Gradient (a
// gradient highlight), 0 Flat (a flat highlight beside a band behind the
// pictures and check marks).

#include <QFont>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPixmap>
#include <QPointer>

#include <cstdint>

class QAction;
class QMenu;
class QStyle;
class QWidget;

class MenuDecorator : public QObject
{
public:
    static constexpr const char* ItemNumberProperty = "menuItemNumber";
    static constexpr int32_t ThemeFlat = 0;
    static constexpr int32_t ThemeGradient = 1;
    static constexpr int32_t ThemeStandard = 2;

    MenuDecorator();
    ~MenuDecorator() override;

    // Takes over the drawing of the window's menus (its menu bar's, their
    // submenus and its pop-up menus). The flags are unused.
    void Attach(QWidget* window, int32_t flags);
    // Pictures: [0] the normal one, [1] the one drawn while the item is
    // highlighted; given to each item number.
    void SetItemPictures(const QList<QPixmap>& pictures, const QList<int32_t>& items);
    void SetItemFont(const QFont& font, const QList<int32_t>& items);
    // Draws the menus again (what: 3 all of them).
    void Redraw(int32_t what);
    void SetCheckPicture(const QPixmap& picture);
    // On: the menus are drawn by the decoration; off: by the application's
    // style.
    void SetOwnerDraw(bool on);
    // The font of every item without one of its own.
    void SetFont(const QFont& font);
    void SetTheme(int32_t theme);
    // The highlight's frame width and corner radius in pixels (the flat
    // theme sets both to 0).
    void SetSelectionBorder(int32_t pixels);
    void SetSelectionRadius(int32_t pixels);

    int32_t Theme() const { return m_theme; }
    bool OwnerDraw() const { return m_ownerDraw; }
    int32_t SelectionBorder() const { return m_selectionBorder; }
    int32_t SelectionRadius() const { return m_selectionRadius; }
    const QPixmap& CheckPicture() const { return m_checkPicture; }
    // The item of that number in the attached menus; null when none.
    QAction* Item(int32_t number) const { return m_items.value(number); }

private:
    class ThemeStyle;
    void ApplyStyle();

    QList<QPointer<QMenu>> m_menus;
    QHash<int32_t, QAction*> m_items;
    QHash<QAction*, bool> m_ownFont;
    ThemeStyle* m_style = nullptr;
    QFont m_font;
    bool m_hasFont = false;
    QPixmap m_checkPicture;
    bool m_ownerDraw = false;
    int32_t m_theme = ThemeStandard;
    int32_t m_selectionBorder = 1;
    int32_t m_selectionRadius = 3;
};
