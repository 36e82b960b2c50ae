#include "CameraModePanel.h"

#include "CTooltip.h"
#include "HandlerErrors.h"
#include "MainContext.h"
#include "MainParts.h"
#include "MainState.h"
#include "MainTexts.h"
#include "MainWidgets.h"

#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QSignalBlocker>

namespace {

enum GameType : int32_t { EtPro = 0, DeFrag = 1, EtQw = 4 };
enum Mode : int32_t { Free = 0, LookPlayer = 1, LookPoint = 2 };

QStringList ModesOfGame(int32_t gameType)
{
    switch (gameType) {
    case EtPro: return {QStringLiteral("Free"), QStringLiteral("LookPlayer")};
    case DeFrag:
        return {QStringLiteral("Free"), QStringLiteral("LookPlayer"), QStringLiteral("LookNoPitch"),
                QStringLiteral("LookNoYaw")};
    case EtQw: return {QStringLiteral("Free"), QStringLiteral("LookPlayer"), QStringLiteral("LookPoint")};
    default: return {};
    }
}

// The box's list changes without a repaint in between, as the box hidden.
class NoRepaint
{
public:
    explicit NoRepaint(QWidget* widget) : m_widget(widget) { m_widget->setUpdatesEnabled(false); }
    ~NoRepaint() { m_widget->setUpdatesEnabled(true); }
    NoRepaint(const NoRepaint&) = delete;
    NoRepaint& operator=(const NoRepaint&) = delete;

private:
    QWidget* m_widget;
};

}  // namespace

CameraModePanel::CameraModePanel(MainContext& context) : m_c(context)
{
    QObject::connect(m_c.widgets.cboCamMode, &QComboBox::currentIndexChanged, &m_c.window, [this](int index) {
        if (index >= 0)
            RunHandler(m_c, [this] { cboCamMode_Click(); });
    });
}

int32_t CameraModePanel::ActiveGameType() const
{
    return m_c.state.m_activeGame ? m_c.state.m_activeGame->GType() : -1;
}

void CameraModePanel::fFillCamModeTexts()
{
    const QString nl = QStringLiteral("\r\n");
    m_defragModeTitles = {QStringLiteral("Transition Cam"), QStringLiteral("Player-Tracking Cam"),
                          QStringLiteral("Player-Tracking Cam, No Pitch"),
                          QStringLiteral("Player-Tracking Cam, No Yaw")};
    m_defragModeTexts = {
        QStringLiteral("Camera view angles transition from the first saved position to the keyed (next) saved "
                       "position."),
        QStringLiteral("Camera view angles continuously track the player."),
        QStringLiteral("Camera view angles continuously track the player, except for pitch (up/down), which is") + nl
            + QStringLiteral("transitioned from the first saved position to the keyed (next) saved position.") + nl
            + QStringLiteral("A nice cam mode to use for strafing maps, as the camera does not bob up and down as")
            + nl + QStringLiteral("the player jumps."),
        QStringLiteral("Camera view angles continuously track the player, except for yaw (left/right), which is")
            + nl + QStringLiteral("transitioned from the first saved position to the keyed (next) saved position."),
    };
}

void CameraModePanel::fFillCamModes()
{
    QComboBox* combo = m_c.widgets.cboCamMode;
    {
        NoRepaint hidden(combo);
        const QSignalBlocker quiet(combo);
        combo->clear();
        combo->addItems(ModesOfGame(ActiveGameType()));
        if (combo->count() > 0)
            combo->setCurrentIndex(0);
    }
    // The choice made by code is a choice as the user's is.
    if (combo->count() > 0)
        cboCamMode_Click();
}

void CameraModePanel::cboCamMode_Click()
{
    fSetCamModeTooltip();
    fShowCamModeOption();
    fFillCamModeOptions();
}

void CameraModePanel::fSetCamModeTooltip()
{
    const int32_t mode = m_c.widgets.cboCamMode->currentIndex();
    if (mode < 0)
        return;
    CTooltip* tip = m_c.parts.tooltips->Balloon(1);
    if (!tip)
        return;
    switch (ActiveGameType()) {
    case EtPro:
        if (mode == Free) {
            tip->SetTitle(m_c.texts.fGetText(250) + QLatin1Char(':'));
            tip->SetText(m_c.texts.fGetText(251));
        } else if (mode == LookPlayer) {
            tip->SetTitle(m_c.texts.fGetText(252) + QLatin1Char(':'));
            tip->SetText(m_c.texts.fGetText(253));
        }
        break;
    case DeFrag:
        if (mode < static_cast<int32_t>(m_defragModeTexts.size())) {
            tip->SetText(m_defragModeTexts[static_cast<size_t>(mode)]);
            tip->SetTitle(m_defragModeTitles[static_cast<size_t>(mode)]);
        }
        break;
    default:
        tip->SetText(QString());
        tip->SetTitle(QString());
        break;
    }
}

void CameraModePanel::fShowCamModeOption()
{
    const bool point = ActiveGameType() == EtQw && m_c.widgets.cboCamMode->currentIndex() == LookPoint;
    m_c.widgets.lblCamModeOption->setText(m_c.texts.fGetText(point ? 283 : 57));
}

void CameraModePanel::fFillCamModeOptions()
{
    const int32_t mode = m_c.widgets.cboCamMode->currentIndex();
    QComboBox* combo = m_c.widgets.cboCamModeOption;
    int32_t count = 64;
    if (ActiveGameType() == EtQw)
        count = mode == LookPlayer ? 32 : mode == LookPoint ? 128 : 0;
    {
        NoRepaint hidden(combo);
        combo->clear();
        for (int32_t i = 0; i < count; ++i)
            combo->addItem(QString::number(i));
        if (combo->count() > 0)
            combo->setCurrentIndex(0);
    }
    combo->setEnabled(mode >= LookPlayer);
}
