#include "StatusMessages.h"

#include "MCommon.h"
#include "MDisplayNumber.h"
#include "MainServices.h"
#include "MainState.h"

#include <QLabel>
#include <QTimer>

StatusMessages::StatusMessages(QLabel* middle, QLabel* right, QTimer* autoClear, IDialogs& dialogs,
                               QWidget* owner, const MainState& state)
    : QObject(owner), m_middle(middle), m_right(right), m_autoClear(autoClear), m_dialogs(dialogs),
      m_owner(owner), m_state(state)
{
    connect(m_autoClear, &QTimer::timeout, this, [this] { tmrMiddleStatusAutoClear_Timer(); });
}

void StatusMessages::fSetMiddleStatus(const QString& text, bool autoClear)
{
    m_middle->setText(text);
    if (autoClear) {
        m_autoClear->stop();
        m_autoClear->setInterval(1000);
        m_autoClear->start();
    }
}

void StatusMessages::tmrMiddleStatusAutoClear_Timer()
{
    m_autoClear->stop();
    fSetMiddleStatus(QString(), false);
}

void StatusMessages::fSetRightStatus(const QString& text)
{
    m_right->setText(text);
}

void StatusMessages::fShowFovStatus()
{
    fSetMiddleStatus(QStringLiteral("FOV: ") + fFormatStatusNumber(m_state.m_camera.Fov(), 2), true);
}

void StatusMessages::fShowZFarStatus()
{
    fSetMiddleStatus(QStringLiteral("ZFar: ") + fFormatStatusNumber(m_state.m_camera.ZFar(), 2), true);
}

void StatusMessages::fShowMoveSpeedStatus()
{
    fSetMiddleStatus(QStringLiteral("Move speed: ") + fFormatStatusNumber(m_state.m_moveSpeed, 2), true);
}

void StatusMessages::fShowRollStatus()
{
    fSetMiddleStatus(QStringLiteral("Roll ") + fFormatStatusNumber(m_state.m_camera.Roll(), 2), true);
}

int32_t StatusMessages::fShowMessageBox(const QString& prompt, int32_t style, const QString& title)
{
    return m_dialogs.MessageBox(m_owner, QLatin1Char(' ') + title, prompt, style, QStringLiteral("IDI_A"), 0);
}

QString StatusMessages::fFormatStatusNumber(double value, int16_t decimals)
{
    return MDisplayNumber::Format(value, decimals);
}

double StatusMessages::fRound2(double value)
{
    return MCommon::RoundToDecimals(value, 2);
}
