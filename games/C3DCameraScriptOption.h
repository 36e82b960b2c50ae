#pragma once

#include <QString>

#include <cstdint>

class C3DCurve;
class CGameDefinition;

// The inputs of one camera script generation, filled once by Initialize
// from the active game, the active curve and the script panel. The game and
// the curve are held by reference: the caller keeps them alive for the call.
class C3DCameraScriptOption
{
public:
    void Initialize(const CGameDefinition* game, C3DCurve* camCurve, const QString& scriptBasename,
                    const QString& scriptFullDir, const QString& relativeDir,
                    const QString& scriptFileExtension, bool warsowCameraLimitationEnabled,
                    int32_t defragTransSpeed, bool includeFov, bool includeTS, bool includeComments,
                    bool includeFreecam, int32_t cameraModeIndex, int32_t cameraModeValue,
                    bool includeFPSLimit, int32_t maxFPS, bool includeOneFrameDelay,
                    bool autostartEnabled, const QString& commandBefore, const QString& commandAfter,
                    bool etqwRecordFrameEnabled, int32_t etqwRecordFrameWidth,
                    int32_t etqwRecordFrameHeight, int32_t etqwRecordFrameAaSize,
                    bool scriptStopEnabled, int32_t scriptStopIncrement, const QString& scriptStopKey);

    const CGameDefinition* Game() const { return m_game; }
    C3DCurve* CamCurve() const { return m_camCurve; }
    const QString& ScriptBasename() const { return m_scriptBasename; }
    const QString& ScriptFullDir() const { return m_scriptFullDir; }
    const QString& RelativeDir() const { return m_relativeDir; }
    const QString& ScriptFileExtension() const { return m_scriptFileExtension; }
    int32_t DefragTransSpeed() const { return m_defragTransSpeed; }
    bool WarsowCameraLimitationEnabled() const { return m_warsowCameraLimitationEnabled; }
    bool IncludeFov() const { return m_includeFov; }
    bool IncludeTS() const { return m_includeTS; }
    bool IncludeComments() const { return m_includeComments; }
    bool IncludeFreecam() const { return m_includeFreecam; }
    bool CamTrackingEnabled() const { return m_cameraModeIndex >= 1; }
    int32_t CameraModeIndex() const { return m_cameraModeIndex; }
    int32_t CameraModeValue() const { return m_cameraModeValue; }
    bool IncludeFPSLimit() const { return m_includeFPSLimit; }
    int32_t MaxFPS() const { return m_maxFPS; }
    bool IncludeOneFrameDelay() const { return m_includeOneFrameDelay; }
    bool AutostartEnabled() const { return m_autostartEnabled; }
    const QString& CommandBefore() const { return m_commandBefore; }
    const QString& CommandAfter() const { return m_commandAfter; }
    bool EtqwRecordFrameEnabled() const { return m_etqwRecordFrameEnabled; }
    int32_t EtqwRecordFrameWidth() const { return m_etqwRecordFrameWidth; }
    int32_t EtqwRecordFrameHeight() const { return m_etqwRecordFrameHeight; }
    int32_t EtqwRecordFrameAaSize() const { return m_etqwRecordFrameAaSize; }
    bool ScriptStopEnabled() const { return m_scriptStopEnabled; }
    int32_t ScriptStopIncrement() const { return m_scriptStopIncrement; }
    const QString& ScriptStopKey() const { return m_scriptStopKey; }

private:
    const CGameDefinition* m_game = nullptr;
    C3DCurve* m_camCurve = nullptr;
    QString m_scriptBasename;
    QString m_scriptFullDir;
    QString m_relativeDir;
    QString m_scriptFileExtension;
    bool m_warsowCameraLimitationEnabled = false;
    int32_t m_defragTransSpeed = 0;
    bool m_includeFov = false;
    bool m_includeTS = false;
    bool m_includeComments = false;
    bool m_includeFreecam = false;
    int32_t m_cameraModeIndex = 0;
    int32_t m_cameraModeValue = 0;
    bool m_includeFPSLimit = false;
    int32_t m_maxFPS = 0;
    bool m_includeOneFrameDelay = false;
    bool m_autostartEnabled = false;
    QString m_commandBefore;
    QString m_commandAfter;
    bool m_etqwRecordFrameEnabled = false;
    int32_t m_etqwRecordFrameWidth = 0;
    int32_t m_etqwRecordFrameHeight = 0;
    int32_t m_etqwRecordFrameAaSize = 0;
    bool m_scriptStopEnabled = false;
    int32_t m_scriptStopIncrement = 0;
    QString m_scriptStopKey;
};
