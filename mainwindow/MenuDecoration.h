#pragma once

#include <QKeyCombination>

#include <array>
#include <cstdint>
#include <memory>

class MenuDecorator;
struct MainContext;

// The menus' pictures, fonts and theme (the decoration component) and the
// table of the menu shortcut keys, which the window's own shortcut keys
// leave to the menus.
class MenuDecoration
{
public:
    explicit MenuDecoration(MainContext& context);
    ~MenuDecoration();

    // The 14 menu shortcut codes (MMenuHelper::KeyToMenuShortcut).
    void fBuildIdArray();
    // True when the key (virtual key code) with the shift state (1 Shift,
    // 2 Ctrl, 4 Alt) is a menu shortcut.
    bool fIsMenuShortcut(int16_t& keyCode, int16_t& shift) const;
    // The same for a Qt key and its modifiers.
    bool fIsMenuShortcut(QKeyCombination key) const;
    // Makes the decoration component, attaches it to the window and gives
    // it its fonts, check picture, pictures and bold items.
    void fLoadMenuIcons();
    // Drops the component (close-down).
    void fReleaseMenuObject();

    const std::array<int32_t, 14>& MenuShortcuts() const { return m_menuShortcuts; }
    MenuDecorator* MenuObject() const { return m_menuObject.get(); }

private:
    MainContext& m_c;
    std::array<int32_t, 14> m_menuShortcuts{};
    std::unique_ptr<MenuDecorator> m_menuObject;
};
