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
    // The recent list `listName` ("Config", "BeforeScript", "AfterScript")
    // of the combo box, read from or saved under the active game's key:
    // read, "<none>" is selected; saved, the list replaces what was there.
    virtual void fConfigsRegRead(QComboBox* combo, const QString& listName) = 0;
    virtual void fConfigsRegSave(QComboBox* combo, const QString& listName) = 0;
    // Removes the entries whose file is gone from the game's root folder.
    virtual void fRemoveMissingConfigs(QComboBox* combo) = 0;
    // The configurations window for the combo box: its entries come back
    // as the files chosen there, the selection kept when it still is one.
    virtual void fManageConfigs(QComboBox* combo) = 0;
};

class GameConfigs final : public IGameConfigs
{
public:
    explicit GameConfigs(MainContext& context);

    void fConfigsRegRead(QComboBox* combo, const QString& listName) override;
    void fConfigsRegSave(QComboBox* combo, const QString& listName) override;
    void fRemoveMissingConfigs(QComboBox* combo) override;
    void fManageConfigs(QComboBox* combo) override;

    // Empties the combo box down to its "<none>" entry.
    void fFillConfigCombo(QComboBox* combo);
    // The value names under the active game's key that begin with the list
    // name (case ignored) and are longer; false when there is none.
    bool fConfigsRegList(QStringList& names, const QString& listName);
    void fConfigsRegClear(const QString& listName);
    void cmdGConfigManager_Click();
    void cboGConfigs_Click();

private:
    QString GameKey() const;

    MainContext& m_c;
    // Holds the controls' connections for as long as this object lives.
    QObject m_receiver;
};
