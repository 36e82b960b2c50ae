#pragma once

#include "IMenuItemArray.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <map>

class QAction;
class QMenu;

// A menu item array on a real menu. Element 0 is an action that the window
// placed in the menu (the recent files' separator); elements loaded later
// go right after the array's last element, so the items after the array
// (Quit) stay where they are. Captions are shown as given: "&" is no
// mnemonic here. A caption "-" makes a separator. Unloading element 0
// raises RuvError 362, as a design-time element.
class MenuItemArray : public QObject, public IMenuItemArray
{
    Q_OBJECT

public:
    MenuItemArray(QMenu* menu, QAction* first, QObject* parent = nullptr);
    // Takes the loaded actions out of the menu; element 0 stays.
    ~MenuItemArray() override;

    int32_t LBound() const override;
    int32_t UBound() const override;
    int32_t Count() const override;
    bool IsLoaded(int32_t index) const override;
    void Load(int32_t index) override;
    void Unload(int32_t index) override;

    QString Caption(int32_t index) const override;
    void SetCaption(int32_t index, const QString& caption) override;
    QString Tag(int32_t index) const override;
    void SetTag(int32_t index, const QString& tag) override;
    bool Enabled(int32_t index) const override;
    void SetEnabled(int32_t index, bool enabled) override;
    bool Checked(int32_t index) const override;
    void SetChecked(int32_t index, bool checked) override;
    bool Visible(int32_t index) const override;
    void SetVisible(int32_t index, bool visible) override;

    // The element's action; null when it is not loaded.
    QAction* Action(int32_t index) const;

signals:
    // The user chose element index.
    void Clicked(int32_t index);

private:
    struct Element
    {
        QPointer<QAction> action;
        QString caption;
        QString tag;
        // Qt disables hidden actions; the item keeps its own state.
        bool enabled = true;
    };

    const Element& At(int32_t index) const;
    QAction& ActionAt(int32_t index) const;
    void Connect(int32_t index, QAction* action);

    QPointer<QMenu> m_menu;
    std::map<int32_t, Element> m_elements;
};
