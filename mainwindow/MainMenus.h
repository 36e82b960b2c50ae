#pragma once

// The menu bar of the main window (File, Edit, Game, Map, Display, Help)
// and its two pop-up menus, as named actions (objectName the item's name;
// the elements of an item array "name(index)"), with their captions,
// shortcut keys and first states, and the commands of the shell: the steps
// that run when a top menu opens, Export, Quit, Refresh and the menu
// themes. The other commands are connected by the collaborators they
// belong to, through Action().
//
// Every item of the tree carries its number for the menu decoration
// (property "menuItemNumber"): items are counted in tree order from 1,
// menus and separators included; items added while the program runs
// (the mods beyond the first, the recent files) have none.

#include <QList>
#include <QObject>
#include <QString>

#include <cstdint>

class MenuItemArray;
class QAction;
class QMainWindow;
class QMenu;
class MainTexts;
struct MainContext;

class MainMenus : public QObject
{
public:
    static constexpr int32_t LanguageCount = 3;
    // The menu themes as the settings store them.
    static constexpr int32_t ThemeStandard = 0;
    static constexpr int32_t ThemeGradient = 1;
    static constexpr int32_t ThemeFlat = 2;

    MainMenus(QMainWindow& window, const MainTexts& texts);

    // Connects the shell's commands; the context must outlive the menus.
    void Connect(MainContext& context);

    // The item or menu of that name; null when there is none.
    QAction* Action(const QString& name) const;
    QMenu* Menu(const QString& name) const;
    // Every menu: the six of the menu bar, their submenus and the pop-ups.
    const QList<QMenu*>& Menus() const { return m_menus; }

    // Captions of the current language (the fixed ones stay).
    void fApplyMenuCaptions();

    // The mod menu: item 0 exists from the start; AddModItem makes the
    // others (and gives item 0 back for index 0).
    QAction* AddModItem(int32_t index);
    int32_t ModItemCount() const { return static_cast<int32_t>(m_modItems.size()); }
    QAction* ModItem(int32_t index) const { return m_modItems.value(index); }
    QAction* Language(int32_t index) const { return m_languages.value(index); }
    // The recent projects' item array (element 0 its separator).
    MenuItemArray* mnuT_RecentFiles() const { return m_recentFiles; }

    // ---- Commands of the shell ------------------------------------------
    // The menu opened: File releases the preview lock, Edit, Map and Help
    // stop the playback; then (Display too) the open edits are cancelled.
    void mnuTrace_Click();
    void mnuEdit_Click();
    void mnuGame_Click();
    void mnuMap_Click();
    void mnuDisplay_Click();
    void mnuHelp_Click();
    void mnuT_Export_Click();
    void mnuT_Quit_Click();
    void mnuV_Refresh_Click();
    // A theme command; `wasChecked` tells whether its item had the check
    // mark before.
    void fMenuThemeCommand(int32_t theme, bool wasChecked);
    // 0 Standard checked, else 1 Gradient checked, else 2.
    int32_t fGetMenuTheme() const;
    // 0 Standard, 1 Gradient, any other value the flat theme.
    void fSetMenuTheme(int32_t value);
    static int32_t fDefaultMenuTheme() { return ThemeFlat; }

private:
    QMenu* AddMenu(QMenu* parent, const char* name);
    QAction* AddItem(QMenu* menu, const char* name, int index = -1);
    QAction* AddSeparator(QMenu* menu, const char* name = nullptr);
    void Number(QAction* action);
    void BuildTree();
    void fCancelEdits();
    QAction* ThemeItem(int32_t theme) const;

    QMainWindow& m_window;
    const MainTexts& m_texts;
    MainContext* m_c = nullptr;
    int32_t m_nextNumber = 1;
    QList<QMenu*> m_menus;
    QList<QAction*> m_modItems;
    QList<QAction*> m_languages;
    MenuItemArray* m_recentFiles = nullptr;
};
