#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QComboBox;
struct MainContext;

// The game's configuration files in three combo boxes: the one the game
// executes at its start (cboGConfigs) and those run before and after the
// camera script (cboSCmdsBefore, cboSCmdsAfter). Entry 0 is "<none>", the
// others are paths below the game's root folder ("etmain\cfg\x.cfg"),
// chosen in the configurations window and kept per game in the settings
// store as "<list name>1", "<list name>2", ... under the game's key.
class IGameConfigs
{
public:
    virtual ~IGameConfigs() = default;
    // Empties the combo box down to its "<none>" entry.
    virtual void fFillConfigCombo(QComboBox* combo) = 0;
    // The configurations window for the combo box: its entries come back
    // as the files chosen there, the selection kept when it still is one.
    virtual void fManageConfigs(QComboBox* combo) = 0;
    // Removes the entries whose file is gone from the game's root folder.
    virtual void fRemoveMissingConfigs(QComboBox* combo) = 0;
    // The value names under the active game's key that begin with the list
    // name (case ignored) and are longer; false when there is none.
    virtual bool fConfigsRegList(QStringList& names, const QString& listName) = 0;
    virtual void fConfigsRegClear(const QString& listName) = 0;
    // The list `listName` ("Config", "BeforeScript", "AfterScript") read
    // into the combo box, "<none>" selected; true when an entry was added.
    virtual bool fConfigsRegRead(QComboBox* combo, const QString& listName) = 0;
    // The combo box's entries saved as the list, replacing what was there;
    // true when an entry was written.
    virtual bool fConfigsRegSave(QComboBox* combo, const QString& listName) = 0;
    virtual void cmdGConfigManager_Click() = 0;
    virtual void cboGConfigs_Click() = 0;
};

class GameConfigs final : public IGameConfigs
{
public:
    explicit GameConfigs(MainContext& context);

    void fFillConfigCombo(QComboBox* combo) override;
    void fManageConfigs(QComboBox* combo) override;
    void fRemoveMissingConfigs(QComboBox* combo) override;
    bool fConfigsRegList(QStringList& names, const QString& listName) override;
    void fConfigsRegClear(const QString& listName) override;
    bool fConfigsRegRead(QComboBox* combo, const QString& listName) override;
    bool fConfigsRegSave(QComboBox* combo, const QString& listName) override;
    void cmdGConfigManager_Click() override;
    void cboGConfigs_Click() override;

private:
    QString GameKey() const;

    MainContext& m_c;
    // Holds the controls' connections for as long as this object lives.
    QObject m_receiver;
};
