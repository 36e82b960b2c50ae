#pragma once

#include <QString>

#include <cstdint>

class C3DCameraScriptOption;
class CGameDefinition;
struct MainContext;

// The camera script of the main curve, written for the active game.
class IScriptCreation
{
public:
    virtual ~IScriptCreation() = default;
    // The create button (also Ctrl+Space).
    virtual void cmdCreateScript_Click() = 0;
    // The text-box handler's validation of txtTransSpeed.
    virtual void fValidateTransSpeed(bool& cancel) = 0;
};

class ScriptCreation final : public IScriptCreation
{
public:
    explicit ScriptCreation(MainContext& context);

    void cmdCreateScript_Click() override;
    void fValidateTransSpeed(bool& cancel) override;
    void cmdExploreScriptDir_Click();

    // Refuses, naming its field, a transition speed that the script cannot
    // be given, before the save dialog; true when it can.
    bool fCheckScriptNumbers();
    // The save dialog and the check of the chosen folder; false when the
    // user gave up or the name cannot be given to the game.
    bool fChooseScriptFile(QString& basename, QString& folder, QString& relativeDir, int32_t& filterIndex);
    // The folder relative to the active game's mod folder, as the game's
    // scripts name it; true when the folder lies below the game's root.
    bool fGetScriptRelativeDir(const QString& folder, QString& relativeDir) const;
    // The options of the script panel for a script of that name and folder.
    void fGatherScriptOptions(C3DCameraScriptOption& options, const QString& basename, const QString& folder,
                              const QString& relativeDir) const;

    // The rule of fGetScriptRelativeDir for a game. The root is the first
    // ancestor of the folder that holds the game's executable (its Windows
    // name or a Linux one) or its mod folder, or for ET QW the folder that
    // holds the mod folder. Below the root the relative folder leaves out
    // the mod folder's own name and is joined with "\"; outside it is the
    // folder's last name.
    static bool RelativeScriptDir(const CGameDefinition& game, const QString& folder, QString& relativeDir);

    // The message that closes itself after a script was written.
    void fShowScriptResult(int32_t elapsedMs, int32_t points);

    const QString& LastScriptName() const { return m_lastScriptName; }

private:

    MainContext& m_c;
    QString m_lastScriptName;
};
