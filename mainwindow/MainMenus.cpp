#include "MainMenus.h"

#include "MainContext.h"
#include "MainControls.h"
#include "MainParts.h"
#include "MainShell.h"
#include "MainTexts.h"
#include "MenuDecorator.h"
#include "MenuItemArray.h"
#include "StatusMessages.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace {

QString Latin(const char* text)
{
    return QString::fromLatin1(text);
}

QString ItemName(const char* name, int index)
{
    return index < 0 ? Latin(name) : Latin(name) + QLatin1Char('(') + QString::number(index) + QLatin1Char(')');
}

// Captions from the string table, in the order the language applies them.
struct Caption
{
    const char* name;
    int32_t text;
};
constexpr Caption kCaptions[] = {
    {"mnuTrace", 0},       {"mnuT_New", 3},          {"mnuT_Open", 1},         {"mnuT_Save", 2},
    {"mnuT_Notes", 266},   {"mnuT_Export", 4},       {"mnuT_Quit", 6},         {"mnuEdit", 7},
    {"mnuE_Undo", 8},      {"mnuE_Redo", 9},         {"mnuE_SelectAll", 10},   {"mnuE_DeselectAll", 11},
    {"mnuGame", 12},       {"mnuG_ModRoot", 5},      {"mnuG_Preference", 13},  {"mnuMap", 14},
    {"mnuMapNone", 15},    {"mnuMapLoad", 16},       {"mnuMapMagnetize", 17},  {"mnuMap_ClusterVisibilityState", 20},
    {"mnuMap_WireframeOnly", 21}, {"mnuDisplay", 22}, {"mnuV_Refresh", 23},    {"mnuV_ShowGrid", 24},
    {"mnuV_AntiAliasing", 25}, {"mnuV_ShowRulers", 26}, {"mnuV_MenuTheme", 27}, {"mnuV_Language", 28},
    {"mnuVL_Lang(0)", 29}, {"mnuVL_Lang(1)", 30},    {"mnuVL_Lang(2)", 31},    {"mnuH_About", 33},
    {"mnuH_CheckForUpdate", 32}, {"mnuVP_Save", 285}, {"mnuVP_Clear", 273},    {"mnuAD_SetAsDefault", 45},
    {"mnuAD_Remove", 284},
};

}  // namespace

MainMenus::MainMenus(QMainWindow& window, const MainTexts& texts) : QObject(&window), m_window(window), m_texts(texts)
{
    BuildTree();
    fApplyMenuCaptions();
}

void MainMenus::Number(QAction* action)
{
    action->setProperty(MenuDecorator::ItemNumberProperty, m_nextNumber++);
}

QMenu* MainMenus::AddMenu(QMenu* parent, const char* name)
{
    QMenu* menu = parent ? parent->addMenu(QString()) : new QMenu(&m_window);
    menu->setObjectName(Latin(name));
    menu->menuAction()->setObjectName(Latin(name));
    Number(menu->menuAction());
    m_menus << menu;
    return menu;
}

QAction* MainMenus::AddItem(QMenu* menu, const char* name, int index)
{
    QAction* action = menu->addAction(QString());
    action->setObjectName(ItemName(name, index));
    Number(action);
    return action;
}

QAction* MainMenus::AddSeparator(QMenu* menu, const char* name)
{
    QAction* action = menu->addSeparator();
    if (name)
        action->setObjectName(Latin(name));
    Number(action);
    return action;
}

void MainMenus::BuildTree()
{
    QMenuBar* bar = m_window.menuBar();
    auto top = [&](const char* name) {
        QMenu* menu = AddMenu(nullptr, name);
        bar->addMenu(menu);
        return menu;
    };
    auto shortcut = [](QAction* a, QKeyCombination key) {
        a->setShortcut(QKeySequence(key));
        return a;
    };
    auto checkable = [](QAction* a, bool checked) {
        a->setCheckable(true);
        a->setChecked(checked);
        return a;
    };

    QMenu* file = top("mnuTrace");
    shortcut(AddItem(file, "mnuT_New"), Qt::CTRL | Qt::Key_N);
    shortcut(AddItem(file, "mnuT_Open"), Qt::CTRL | Qt::Key_O);
    shortcut(AddItem(file, "mnuT_Save"), Qt::CTRL | Qt::Key_S);
    AddSeparator(file);
    AddItem(file, "mnuT_Notes");
    shortcut(AddItem(file, "mnuT_Export"), Qt::CTRL | Qt::Key_E)->setEnabled(false);
    QAction* recent = AddSeparator(file, "mnuT_RecentFiles(0)");
    recent->setVisible(false);
    m_recentFiles = new MenuItemArray(file, recent, this);
    AddSeparator(file);
    shortcut(AddItem(file, "mnuT_Quit"), Qt::CTRL | Qt::Key_Q);

    QMenu* edit = top("mnuEdit");
    shortcut(AddItem(edit, "mnuE_Undo"), Qt::CTRL | Qt::Key_Z)->setEnabled(false);
    shortcut(AddItem(edit, "mnuE_Redo"), Qt::CTRL | Qt::Key_Y)->setEnabled(false);
    AddSeparator(edit);
    AddItem(edit, "mnuE_SelectAll");
    AddItem(edit, "mnuE_DeselectAll");

    QMenu* game = top("mnuGame");
    QMenu* mods = AddMenu(game, "mnuG_ModRoot");
    m_modItems << checkable(AddItem(mods, "mnuGM_Mod", 0), true);
    AddSeparator(game, "mnuG_Sep1");
    AddItem(game, "mnuG_Preference");

    QMenu* map = top("mnuMap");
    AddItem(map, "mnuMapName")->setVisible(false);
    AddSeparator(map, "mnuMapNameSep")->setVisible(false);
    AddItem(map, "mnuMapNone")->setEnabled(false);
    shortcut(AddItem(map, "mnuMapLoad"), Qt::CTRL | Qt::Key_B);
    checkable(AddItem(map, "mnuMapMagnetize"), false)->setEnabled(false);
    QAction* cluster = checkable(AddItem(map, "mnuMap_ClusterVisibilityState"), true);
    shortcut(cluster, Qt::CTRL | Qt::Key_F1)->setEnabled(false);
    QAction* wireframe = checkable(AddItem(map, "mnuMap_WireframeOnly"), false);
    shortcut(wireframe, Qt::CTRL | Qt::Key_F2)->setVisible(false);

    QMenu* display = top("mnuDisplay");
    shortcut(AddItem(display, "mnuV_Refresh"), Qt::CTRL | Qt::Key_F5);
    AddSeparator(display);
    shortcut(checkable(AddItem(display, "mnuV_ShowGrid"), false), Qt::CTRL | Qt::Key_F6);
    shortcut(checkable(AddItem(display, "mnuV_AntiAliasing"), false), Qt::CTRL | Qt::Key_F7);
    shortcut(checkable(AddItem(display, "mnuV_ShowRulers"), false), Qt::CTRL | Qt::Key_F8);
    AddSeparator(display);
    QMenu* themes = AddMenu(display, "mnuV_MenuTheme");
    checkable(AddItem(themes, "mnuVMT_Standard"), false)->setText(QStringLiteral("&Standard"));
    checkable(AddItem(themes, "mnuVMT_Gradient"), false)->setText(QStringLiteral("&Gradient"));
    checkable(AddItem(themes, "mnuVMT_Flat"), true)->setText(QStringLiteral("&Flat"));
    AddSeparator(display);
    QMenu* languages = AddMenu(display, "mnuV_Language");
    for (int i = 0; i < LanguageCount; ++i)
        m_languages << checkable(AddItem(languages, "mnuVL_Lang", i), i == 0);

    QMenu* help = top("mnuHelp");
    help->setTitle(QStringLiteral("&?"));
    AddItem(help, "mnuH_CheckForUpdate");
    AddSeparator(help);
    AddItem(help, "mnuH_About");

    QMenu* preset = AddMenu(nullptr, "mnuViewPreset");
    AddItem(preset, "mnuVP_Save");
    AddItem(preset, "mnuVP_Clear");
    QMenu* rates = AddMenu(nullptr, "mnuAviDemo");
    AddItem(rates, "mnuAD_SetAsDefault");
    AddSeparator(rates);
    AddItem(rates, "mnuAD_Remove");
}

void MainMenus::fApplyMenuCaptions()
{
    for (const Caption& c : kCaptions) {
        if (QAction* a = Action(Latin(c.name)))
            a->setText(m_texts.fGetText(c.text));
    }
}

QAction* MainMenus::Action(const QString& name) const
{
    for (QMenu* menu : m_menus) {
        if (menu->objectName() == name)
            return menu->menuAction();
        for (QAction* a : menu->actions())
            if (a->objectName() == name)
                return a;
    }
    return nullptr;
}

QMenu* MainMenus::Menu(const QString& name) const
{
    for (QMenu* menu : m_menus)
        if (menu->objectName() == name)
            return menu;
    return nullptr;
}

QAction* MainMenus::AddModItem(int32_t index)
{
    if (index < m_modItems.size())
        return m_modItems.at(index);
    QMenu* mods = Menu(QStringLiteral("mnuG_ModRoot"));
    QAction* item = mods->addAction(QString());
    item->setObjectName(ItemName("mnuGM_Mod", index));
    item->setCheckable(true);
    m_modItems << item;
    return item;
}

void MainMenus::Connect(MainContext& context)
{
    m_c = &context;
    auto opened = [this](const char* menu, void (MainMenus::*step)()) {
        connect(Menu(Latin(menu)), &QMenu::aboutToShow, this, [this, step] { (this->*step)(); });
    };
    opened("mnuTrace", &MainMenus::mnuTrace_Click);
    opened("mnuEdit", &MainMenus::mnuEdit_Click);
    opened("mnuGame", &MainMenus::mnuGame_Click);
    opened("mnuMap", &MainMenus::mnuMap_Click);
    opened("mnuDisplay", &MainMenus::mnuDisplay_Click);
    opened("mnuHelp", &MainMenus::mnuHelp_Click);
    auto command = [this](const char* item, void (MainMenus::*handler)()) {
        connect(Action(Latin(item)), &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    };
    command("mnuT_Export", &MainMenus::mnuT_Export_Click);
    command("mnuT_Quit", &MainMenus::mnuT_Quit_Click);
    command("mnuV_Refresh", &MainMenus::mnuV_Refresh_Click);
    connect(Action(QStringLiteral("mnuT_Notes")), &QAction::triggered, this, [this] { m_c->shell.fShowNotes(); });
    connect(Action(QStringLiteral("mnuH_CheckForUpdate")), &QAction::triggered, this,
            [this] { m_c->shell.fShowUpdateCheck(); });
    for (int32_t theme : {ThemeStandard, ThemeGradient, ThemeFlat}) {
        // Qt has toggled the check mark when triggered arrives.
        connect(ThemeItem(theme), &QAction::triggered, this,
                [this, theme](bool checked) { fMenuThemeCommand(theme, !checked); });
    }
    for (int32_t i = 0; i < LanguageCount; ++i)
        connect(Language(i), &QAction::triggered, this, [this, i] { m_c->parts.language->mnuVL_Lang_Click(i); });
    // The project commands.
    connect(Action(QStringLiteral("mnuT_New")), &QAction::triggered, this,
            [this] { m_c->parts.projectCommands->mnuT_New_Click(); });
    connect(Action(QStringLiteral("mnuT_Open")), &QAction::triggered, this,
            [this] { m_c->parts.projectCommands->mnuT_Open_Click(); });
    connect(Action(QStringLiteral("mnuT_Save")), &QAction::triggered, this,
            [this] { m_c->parts.projectCommands->mnuT_Save_Click(); });
    // Queued: opening a project reloads the recent list, whose item must
    // not go while its own signal runs.
    connect(
        m_recentFiles, &MenuItemArray::Clicked, this,
        [this](int32_t index) { m_c->parts.projectCommands->fOpenRecentFile(index); }, Qt::QueuedConnection);
}

void MainMenus::fCancelEdits()
{
    m_c->controls.CancelPendingEdits();
}

void MainMenus::mnuTrace_Click()
{
    m_c->parts.preview->fReleasePreviewLock();
    fCancelEdits();
}

void MainMenus::mnuGame_Click()
{
    mnuTrace_Click();
}

void MainMenus::mnuEdit_Click()
{
    if (m_c->parts.preview->fIsPlaying())
        m_c->parts.preview->fStopPlayback();
    fCancelEdits();
}

void MainMenus::mnuMap_Click()
{
    mnuEdit_Click();
}

void MainMenus::mnuHelp_Click()
{
    mnuEdit_Click();
}

void MainMenus::mnuDisplay_Click()
{
    fCancelEdits();
}

void MainMenus::mnuT_Export_Click()
{
    m_c->status.fShowMessageBox(QStringLiteral("Disabled feature"), 0, QStringLiteral("Ruvadir"));
}

void MainMenus::mnuT_Quit_Click()
{
    m_c->shell.fRequestClose();
}

void MainMenus::mnuV_Refresh_Click()
{
    m_c->parts.sceneDrawing->fRefreshView();
}

QAction* MainMenus::ThemeItem(int32_t theme) const
{
    switch (theme) {
    case ThemeStandard: return Action(QStringLiteral("mnuVMT_Standard"));
    case ThemeGradient: return Action(QStringLiteral("mnuVMT_Gradient"));
    default: return Action(QStringLiteral("mnuVMT_Flat"));
    }
}

void MainMenus::fMenuThemeCommand(int32_t theme, bool wasChecked)
{
    MenuDecorator* component = m_c ? m_c->parts.menuDecoration->MenuObject() : nullptr;
    if (theme != ThemeStandard && theme != ThemeGradient) {
        theme = ThemeFlat;
        if (component) {
            component->SetTheme(MenuDecorator::ThemeFlat);
            component->SetSelectionBorder(0);
            component->SetSelectionRadius(0);
        }
    }
    if (!wasChecked) {
        if (component && theme == ThemeStandard)
            component->SetTheme(MenuDecorator::ThemeStandard);
        else if (component && theme == ThemeGradient)
            component->SetTheme(MenuDecorator::ThemeGradient);
    }
    for (int32_t t : {ThemeStandard, ThemeGradient, ThemeFlat})
        ThemeItem(t)->setChecked(t == theme);
    if (component)
        component->Redraw(3);
}

int32_t MainMenus::fGetMenuTheme() const
{
    if (ThemeItem(ThemeStandard)->isChecked())
        return ThemeStandard;
    if (ThemeItem(ThemeGradient)->isChecked())
        return ThemeGradient;
    return ThemeFlat;
}

void MainMenus::fSetMenuTheme(int32_t value)
{
    const int32_t theme = value == ThemeStandard || value == ThemeGradient ? value : ThemeFlat;
    fMenuThemeCommand(theme, ThemeItem(theme)->isChecked());
}
