#include "MainTooltips.h"

#include "CGameDefinition.h"
#include "CTooltip.h"
#include "CameraModePanel.h"
#include "MainContext.h"
#include "MainParts.h"
#include "MainState.h"
#include "MainTexts.h"
#include "MainWidgets.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace
{
// A balloon stays up long enough to read its longest text.
constexpr int32_t kInitialDelay = 300;
constexpr int32_t kVisibleTime = 20000;
}

MainTooltips::MainTooltips(MainContext& context) : m_c(context) {}

MainTooltips::~MainTooltips() = default;

CTooltip* MainTooltips::Balloon(int32_t slot)
{
    if (!m_created || slot < 1 || slot > BalloonCount)
        return nullptr;
    return m_tooltips[static_cast<size_t>(slot - 1)].get();
}

void MainTooltips::fCreateTooltips()
{
    if (m_created)
        return;
    const MainWidgets& w = m_c.widgets;
    // The controls of slots 1 to 16; slot 17 covers nothing.
    const std::array<QWidget*, BalloonCount> controls{
        w.cboCamMode,    w.optTools[0],    w.optTools[2],    w.optTools[1],   w.optTools[3],   w.optTools[4],
        w.optTools[5],   w.optViews[0],    w.optViews[1],    w.optViews[2],   w.optViews[3],   w.optLkTarget[0],
        w.chkSIncConMsg, w.txtTransSpeed, w.cmdGameLoad,    w.cmdGameClose,  nullptr};
    for (size_t i = 0; i < controls.size(); ++i) {
        m_tooltips[i] = std::make_unique<CTooltip>();
        m_tooltips[i]->Create(controls[i], QString(), QString(), kInitialDelay, kVisibleTime);
    }
    for (const std::unique_ptr<CTooltip>& tip : m_tooltips)
        tip->SetStyle(CTooltip::StyleBalloon);
    m_created = true;
}

void MainTooltips::SetBalloonText(int32_t slot, int32_t textId)
{
    m_tooltips[static_cast<size_t>(slot - 1)]->SetText(m_c.texts.fGetText(textId));
}

void MainTooltips::fSetTooltips()
{
    fCreateTooltips();
    MainWidgets& w = m_c.widgets;
    const MainTexts& t = m_c.texts;

    w.lblScaleLabel->setToolTip(t.fGetText(229));
    w.lblMiddleStatus->setToolTip(t.fGetText(230));
    // The tools (tangents before points), then the views.
    static constexpr std::array<int32_t, 10> kToolAndViewTexts{231, 232, 233, 234, 235, 236, 99, 100, 101, 102};
    for (size_t i = 0; i < kToolAndViewTexts.size(); ++i)
        SetBalloonText(static_cast<int32_t>(i) + 2, kToolAndViewTexts[i]);

    w.cmdInvert->setToolTip(t.fGetText(237));
    w.cmdAverage->setToolTip(t.fGetText(238));
    w.cmdCFixeAngles->setToolTip(t.fGetText(239));
    w.txtCAutoRollMaxAngle->setToolTip(t.fGetText(240));
    SetBalloonText(12, 242);
    SetBalloonText(14, 263);
    SetBalloonText(13, 243);

    w.chkSIncFreecam->setToolTip(t.fGetText(244));
    w.chkSIncOneFrameDelay->setToolTip(t.fGetText(245));
    w.chkSScriptPauseState->setToolTip(t.fGetText(248));
    w.txtSScriptPauseInterval->setToolTip(t.fGetText(249));
    w.cboSScriptPauseKey->setToolTip(t.fGetText(60));
    m_c.parts.cameraModes->fSetCamModeTooltip();
    w.chkSAutoStart->setToolTip(t.fGetText(254));
    w.fraSCmdsToExec->setToolTip(t.fGetText(257));
    w.cmdCreateScript->setToolTip(t.fGetText(258));
    w.txtDemo->setToolTip(t.fGetText(260));
    const CGameDefinition* game = m_c.state.m_activeGame;
    w.cmdGSShotsDelete->setToolTip(t.fGetText(259, game ? game->FriendlyName() : QString()));
    SetBalloonText(15, 261);
    SetBalloonText(16, 262);
}
