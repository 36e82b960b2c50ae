#include "MenuItemArray.h"

#include "RuvError.h"

#include <QAction>
#include <QMenu>

namespace {

const QString kSource = QStringLiteral("MenuItemArray");

[[noreturn]] void RaiseMissing(int32_t index)
{
    throw RuvError(340, QStringLiteral("Control array element '%1' doesn't exist").arg(index), kSource);
}

QString Shown(const QString& caption)
{
    QString text = caption;
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

} // namespace

MenuItemArray::MenuItemArray(QMenu* menu, QAction* first, QObject* parent) : QObject(parent), m_menu(menu)
{
    if (first == nullptr)
        return;
    QString caption = first->text();
    caption.replace(QLatin1String("&&"), QLatin1String("&"));
    m_elements[0] = Element{first, first->isSeparator() ? QStringLiteral("-") : caption, QString(), first->isEnabled()};
    Connect(0, first);
}

MenuItemArray::~MenuItemArray()
{
    for (auto& [index, element] : m_elements)
        if (index != 0 && element.action != nullptr)
            delete element.action.data();
}

void MenuItemArray::Connect(int32_t index, QAction* action)
{
    connect(action, &QAction::triggered, this, [this, index] { emit Clicked(index); });
}

int32_t MenuItemArray::LBound() const
{
    if (m_elements.empty())
        RaiseMissing(0);
    return m_elements.begin()->first;
}

int32_t MenuItemArray::UBound() const
{
    if (m_elements.empty())
        RaiseMissing(0);
    return m_elements.rbegin()->first;
}

int32_t MenuItemArray::Count() const
{
    return static_cast<int32_t>(m_elements.size());
}

bool MenuItemArray::IsLoaded(int32_t index) const
{
    const auto it = m_elements.find(index);
    return it != m_elements.end() && it->second.action != nullptr;
}

void MenuItemArray::Load(int32_t index)
{
    if (m_elements.count(index) != 0)
        throw RuvError(360, QStringLiteral("Object already loaded"), kSource);
    if (m_menu == nullptr)
        RaiseMissing(index);
    auto* action = new QAction(m_menu);
    // Right after the element before it, so that the array stays together
    // where the window placed it.
    QAction* before = nullptr;
    const auto next = m_elements.upper_bound(index);
    if (next != m_elements.begin()) {
        const QList<QAction*> actions = m_menu->actions();
        const qsizetype at = actions.indexOf(std::prev(next)->second.action.data());
        if (at >= 0 && at + 1 < actions.size())
            before = actions[at + 1];
    } else if (next != m_elements.end()) {
        before = next->second.action;
    }
    m_menu->insertAction(before, action);
    m_elements[index] = Element{action, QString(), QString(), true};
    Connect(index, action);
}

void MenuItemArray::Unload(int32_t index)
{
    if (!IsLoaded(index))
        RaiseMissing(index);
    if (index == 0)
        throw RuvError(362, QStringLiteral("Can't unload controls created at design time"), kSource);
    QAction* action = m_elements[index].action;
    m_elements.erase(index);
    delete action;
}

const MenuItemArray::Element& MenuItemArray::At(int32_t index) const
{
    if (!IsLoaded(index))
        RaiseMissing(index);
    return m_elements.at(index);
}

QAction& MenuItemArray::ActionAt(int32_t index) const
{
    return *At(index).action;
}

QAction* MenuItemArray::Action(int32_t index) const
{
    return IsLoaded(index) ? m_elements.at(index).action.data() : nullptr;
}

QString MenuItemArray::Caption(int32_t index) const
{
    return At(index).caption;
}

void MenuItemArray::SetCaption(int32_t index, const QString& caption)
{
    QAction& action = ActionAt(index);
    m_elements[index].caption = caption;
    const bool separator = caption == QLatin1String("-");
    action.setSeparator(separator);
    action.setText(separator ? QString() : Shown(caption));
}

QString MenuItemArray::Tag(int32_t index) const
{
    return At(index).tag;
}

void MenuItemArray::SetTag(int32_t index, const QString& tag)
{
    At(index);
    m_elements[index].tag = tag;
}

bool MenuItemArray::Enabled(int32_t index) const
{
    return At(index).enabled;
}

void MenuItemArray::SetEnabled(int32_t index, bool enabled)
{
    ActionAt(index).setEnabled(enabled);
    m_elements[index].enabled = enabled;
}

bool MenuItemArray::Checked(int32_t index) const
{
    return ActionAt(index).isChecked();
}

void MenuItemArray::SetChecked(int32_t index, bool checked)
{
    // Only a checked item shows the room of a check mark.
    QAction& action = ActionAt(index);
    action.setCheckable(checked);
    action.setChecked(checked);
}

bool MenuItemArray::Visible(int32_t index) const
{
    return ActionAt(index).isVisible();
}

void MenuItemArray::SetVisible(int32_t index, bool visible)
{
    ActionAt(index).setVisible(visible);
}
