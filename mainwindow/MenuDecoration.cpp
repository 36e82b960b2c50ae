#include "MenuDecoration.h"

#include "DadaviveKeys.h"
#include "MMenuHelper.h"
#include "MainContext.h"
#include "MenuDecorator.h"

#include <QApplication>
#include <QMainWindow>

#include <algorithm>

namespace {

QPixmap MenuPicture(const QString& key)
{
    return QPixmap(QStringLiteral(":/ruvadir/pictures/ilsMenus_%1.png").arg(key));
}

}  // namespace

MenuDecoration::MenuDecoration(MainContext& context) : m_c(context) {}

MenuDecoration::~MenuDecoration() = default;

void MenuDecoration::fBuildIdArray()
{
    // Ctrl+N, Ctrl+O, Ctrl+S, Ctrl+E, Ctrl+Q, Ctrl+Z, Ctrl+Y, Ctrl+B,
    // Ctrl+F1, Ctrl+F2, Ctrl+F5, Ctrl+F6, Ctrl+F7, Ctrl+F8.
    m_menuShortcuts = {14, 15, 19, 5, 17, 26, 25, 2, 38, 39, 42, 43, 44, 45};
}

bool MenuDecoration::fIsMenuShortcut(int16_t& keyCode, int16_t& shift) const
{
    const int32_t code = MMenuHelper::KeyToMenuShortcut(keyCode, shift);
    return code != 0 && std::find(m_menuShortcuts.begin(), m_menuShortcuts.end(), code) != m_menuShortcuts.end();
}

bool MenuDecoration::fIsMenuShortcut(QKeyCombination key) const
{
    int16_t keyCode = static_cast<int16_t>(Dadavive::VirtualKeyFromQt(key.key()));
    const Qt::KeyboardModifiers m = key.keyboardModifiers();
    int16_t shift = static_cast<int16_t>(((m & Qt::ShiftModifier) ? MMenuHelper::ShiftMask : 0)
                                         | ((m & Qt::ControlModifier) ? MMenuHelper::CtrlMask : 0)
                                         | ((m & Qt::AltModifier) ? MMenuHelper::AltMask : 0));
    return fIsMenuShortcut(keyCode, shift);
}

void MenuDecoration::fLoadMenuIcons()
{
    m_menuObject = std::make_unique<MenuDecorator>();
    m_menuObject->Attach(&m_c.window, 0);

    QFont regular = QApplication::font();
    regular.setPointSize(8);
    QFont bold = regular;
    bold.setBold(true);

    m_menuObject->SetFont(regular);
    m_menuObject->SetOwnerDraw(true);
    m_menuObject->SetCheckPicture(MenuPicture(QStringLiteral("check")));
    const std::pair<const char*, int32_t> pictures[] = {{"new", 2},   {"open", 3},   {"save", 4},
                                                        {"notes", 6}, {"export", 7}, {"quit", 10},
                                                        {"undo", 12}, {"redo", 13},  {"refresh", 31},
                                                        {"info", 49}};
    for (const auto& [key, item] : pictures) {
        const QString name = QString::fromLatin1(key);
        m_menuObject->SetItemPictures({MenuPicture(name), MenuPicture(name + QLatin1Char('A'))}, {item});
    }
    m_menuObject->SetItemFont(bold, {51});
    m_menuObject->SetItemFont(regular, {52});
    m_menuObject->SetItemFont(bold, {54});
    m_menuObject->SetItemFont(regular, {56});
    m_menuObject->SetItemFont(regular, {62, 63, 64, 65, 66, 67, 68, 69, 70, 71});
}

void MenuDecoration::fReleaseMenuObject()
{
    m_menuObject.reset();
}
