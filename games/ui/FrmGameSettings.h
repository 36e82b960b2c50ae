#pragma once

#include "CancelableDialog.h"

#include <QStringList>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class CGameDefinition;
class QComboBox;
class QLabel;
class QPushButton;
class UCCamPosGenerator;
class UCGameLocation;

// The modal "Games settings" window: one game at a time, picked in a combo
// box, with its locations and, for the games that have it, its recorder
// settings. Every edit is made on copies of the caller's game definitions;
// OK copies them back, Cancel or the close box throws them away. Nothing is
// written to the settings store here: the caller saves the games.
class FrmGameSettings : public CancelableDialog
{
    Q_OBJECT

public:
    explicit FrmGameSettings(QWidget* parent = nullptr);
    ~FrmGameSettings() override;

    // Shows the window modally over the owner on copies of the games, with
    // the game at that index (kept within the games) selected; returns when
    // the window is hidden. The caller's games must outlive the call; with
    // no games nothing is shown.
    void ShowForm(QWidget* owner, std::int32_t gameIndex, std::span<CGameDefinition> games);
    // Four texts: the caption (shown after one blank), the combo's label,
    // Cancel and OK. The other setters hand their texts to the embedded
    // controls. Any other count changes nothing.
    void SetControlsText(const QStringList& texts);
    void SetGameLocationControlsText(const QStringList& texts);
    void SetCamPosGeneratorControlsText(const QStringList& texts);
    void SetCamPosGeneratorMessages(const QStringList& texts);
    void SetCamPosGeneratorTooltips(const QStringList& texts);

private:
    void fCopyGames();
    void fFillGameList();
    void fSelectGame();
    bool fIsRecorderSupported() const;
    void fArrangeControls();
    void fApplyGameCopies();
    void cmdOk_Click();

    std::span<CGameDefinition> m_games;
    // The embedded controls keep showing the last copies after the window
    // has closed: they are freed only once the next ShowForm has handed the
    // controls new ones.
    std::vector<std::unique_ptr<CGameDefinition>> m_gameCopies;
    std::int32_t m_gameIndex = 0;
    CGameDefinition* m_currentGame = nullptr;

    QLabel* m_lblGameMod = nullptr;
    QComboBox* m_cboGameType = nullptr;
    UCGameLocation* m_ucGameLocation1 = nullptr;
    UCCamPosGenerator* m_ucCamPosGenerator1 = nullptr;
    QPushButton* m_cmdOk = nullptr;
    QPushButton* m_cmdCancel = nullptr;
};
