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
    mGame = game;
    mCamCurve = camCurve;
    mScriptBasename = scriptBasename;
    mScriptFullDir = scriptFullDir;
    mRelativeDir = relativeDir;
    mScriptFileExtension = scriptFileExtension;
    mWarsowCameraLimitationEnabled = warsowCameraLimitationEnabled;
    mDefragTransSpeed = defragTransSpeed;
    mIncludeFov = includeFov;
    mIncludeTS = includeTS;
    mIncludeComments = includeComments;
    mIncludeFreecam = includeFreecam;
    mCameraModeIndex = cameraModeIndex;
    mCameraModeValue = cameraModeValue;
    mIncludeFPSLimit = includeFPSLimit;
    mMaxFPS = maxFPS;
    mIncludeOneFrameDelay = includeOneFrameDelay;
    mAutostartEnabled = autostartEnabled;
    mCommandBefore = commandBefore;
    mCommandAfter = commandAfter;
    mEtqwRecordFrameEnabled = etqwRecordFrameEnabled;
    mEtqwRecordFrameWidth = etqwRecordFrameWidth;
    mEtqwRecordFrameHeight = etqwRecordFrameHeight;
    mEtqwRecordFrameAaSize = etqwRecordFrameAaSize;
    mScriptStopEnabled = scriptStopEnabled;
    mScriptStopIncrement = scriptStopIncrement;
    mScriptStopKey = scriptStopKey;
}
