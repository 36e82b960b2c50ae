#include "C3DCameraScriptOption.h"

void C3DCameraScriptOption::Initialize(
    const CGameDefinition* game, C3DCurve* camCurve, const QString& scriptBasename,
    const QString& scriptFullDir, const QString& relativeDir, const QString& scriptFileExtension,
    bool warsowCameraLimitationEnabled, int32_t defragTransSpeed, bool includeFov, bool includeTS,
    bool includeComments, bool includeFreecam, int32_t cameraModeIndex, int32_t cameraModeValue,
    bool includeFPSLimit, int32_t maxFPS, bool includeOneFrameDelay, bool autostartEnabled,
    const QString& commandBefore, const QString& commandAfter, bool etqwRecordFrameEnabled,
    int32_t etqwRecordFrameWidth, int32_t etqwRecordFrameHeight, int32_t etqwRecordFrameAaSize,
    bool scriptStopEnabled, int32_t scriptStopIncrement, const QString& scriptStopKey)
{
    m_game = game;
    m_camCurve = camCurve;
    m_scriptBasename = scriptBasename;
    m_scriptFullDir = scriptFullDir;
    m_relativeDir = relativeDir;
    m_scriptFileExtension = scriptFileExtension;
    m_warsowCameraLimitationEnabled = warsowCameraLimitationEnabled;
    m_defragTransSpeed = defragTransSpeed;
    m_includeFov = includeFov;
    m_includeTS = includeTS;
    m_includeComments = includeComments;
    m_includeFreecam = includeFreecam;
    m_cameraModeIndex = cameraModeIndex;
    m_cameraModeValue = cameraModeValue;
    m_includeFPSLimit = includeFPSLimit;
    m_maxFPS = maxFPS;
    m_includeOneFrameDelay = includeOneFrameDelay;
    m_autostartEnabled = autostartEnabled;
    m_commandBefore = commandBefore;
    m_commandAfter = commandAfter;
    m_etqwRecordFrameEnabled = etqwRecordFrameEnabled;
    m_etqwRecordFrameWidth = etqwRecordFrameWidth;
    m_etqwRecordFrameHeight = etqwRecordFrameHeight;
    m_etqwRecordFrameAaSize = etqwRecordFrameAaSize;
    m_scriptStopEnabled = scriptStopEnabled;
    m_scriptStopIncrement = scriptStopIncrement;
    m_scriptStopKey = scriptStopKey;
}
