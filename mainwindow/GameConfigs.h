#pragma once

#include <QString>

class QComboBox;
struct MainContext;

// The configuration files of the active game, and the recent lists of the
// configuration and command combo boxes kept under the game's key.
class IGameConfigs
{
public:
    virtual ~IGameConfigs() = default;
    // The recent list `listName` ("Config", "BeforeScript", "AfterScript")
    // of the combo box, read from or saved under the active game's key.
    virtual void fConfigsRegRead(QComboBox* combo, const QString& listName) = 0;
    virtual void fConfigsRegSave(QComboBox* combo, const QString& listName) = 0;
    // Removes the combo's entries whose file is gone.
    virtual void fRemoveMissingConfigs(QComboBox* combo) = 0;
    // The configurations window for the combo's entries.
    virtual void fManageConfigs(QComboBox* combo) = 0;
};

class GameConfigs final : public IGameConfigs
{
public:
    explicit GameConfigs(MainContext& context) : m_c(context) {}
    void fConfigsRegRead(QComboBox*, const QString&) override {}
    void fConfigsRegSave(QComboBox*, const QString&) override {}
    void fRemoveMissingConfigs(QComboBox*) override {}
    void fManageConfigs(QComboBox*) override {}

private:
    MainContext& m_c;
};
