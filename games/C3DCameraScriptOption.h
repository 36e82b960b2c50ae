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

    const CGameDefinition* Game() const { return mGame; }
    C3DCurve* CamCurve() const { return mCamCurve; }
    const QString& ScriptBasename() const { return mScriptBasename; }
    const QString& ScriptFullDir() const { return mScriptFullDir; }
    const QString& RelativeDir() const { return mRelativeDir; }
    const QString& ScriptFileExtension() const { return mScriptFileExtension; }
    int32_t DefragTransSpeed() const { return mDefragTransSpeed; }
    bool WarsowCameraLimitationEnabled() const { return mWarsowCameraLimitationEnabled; }
    bool IncludeFov() const { return mIncludeFov; }
    bool IncludeTS() const { return mIncludeTS; }
    bool IncludeComments() const { return mIncludeComments; }
    bool IncludeFreecam() const { return mIncludeFreecam; }
    bool CamTrackingEnabled() const { return mCameraModeIndex >= 1; }
    int32_t CameraModeIndex() const { return mCameraModeIndex; }
    int32_t CameraModeValue() const { return mCameraModeValue; }
    bool IncludeFPSLimit() const { return mIncludeFPSLimit; }
    int32_t MaxFPS() const { return mMaxFPS; }
    bool IncludeOneFrameDelay() const { return mIncludeOneFrameDelay; }
    bool AutostartEnabled() const { return mAutostartEnabled; }
    const QString& CommandBefore() const { return mCommandBefore; }
    const QString& CommandAfter() const { return mCommandAfter; }
    bool EtqwRecordFrameEnabled() const { return mEtqwRecordFrameEnabled; }
    int32_t EtqwRecordFrameWidth() const { return mEtqwRecordFrameWidth; }
    int32_t EtqwRecordFrameHeight() const { return mEtqwRecordFrameHeight; }
    int32_t EtqwRecordFrameAaSize() const { return mEtqwRecordFrameAaSize; }
    bool ScriptStopEnabled() const { return mScriptStopEnabled; }
    int32_t ScriptStopIncrement() const { return mScriptStopIncrement; }
    const QString& ScriptStopKey() const { return mScriptStopKey; }

private:
    const CGameDefinition* mGame = nullptr;
    C3DCurve* mCamCurve = nullptr;
    QString mScriptBasename;
    QString mScriptFullDir;
    QString mRelativeDir;
    QString mScriptFileExtension;
    bool mWarsowCameraLimitationEnabled = false;
    int32_t mDefragTransSpeed = 0;
    bool mIncludeFov = false;
    bool mIncludeTS = false;
    bool mIncludeComments = false;
    bool mIncludeFreecam = false;
    int32_t mCameraModeIndex = 0;
    int32_t mCameraModeValue = 0;
    bool mIncludeFPSLimit = false;
    int32_t mMaxFPS = 0;
    bool mIncludeOneFrameDelay = false;
    bool mAutostartEnabled = false;
    QString mCommandBefore;
    QString mCommandAfter;
    bool mEtqwRecordFrameEnabled = false;
    int32_t mEtqwRecordFrameWidth = 0;
    int32_t mEtqwRecordFrameHeight = 0;
    int32_t mEtqwRecordFrameAaSize = 0;
    bool mScriptStopEnabled = false;
    int32_t mScriptStopIncrement = 0;
    QString mScriptStopKey;
};
