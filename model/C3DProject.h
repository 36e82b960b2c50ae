#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

// The record of everything a project file keeps besides the curves: the
// game, the four views and the 3D camera, the demo and game configuration,
// the camera script's commands and options, the demo go-to times, the view
// presets, the frame rates, the record-frame settings and the comment.
//
// It only stores values: no events, no windows, no input or output. A few
// setters correct what they are given (game type, active view, demo times,
// comment); every other setter stores its value as it is. A new record
// holds 0, false, the empty text and an empty preset list everywhere.
class C3DProject
{
public:
    static constexpr int32_t GameTypeCount = 5;
    static constexpr int16_t ViewCount = 4;
    static constexpr int16_t MaxDemoGoToMinute = 999;
    static constexpr int16_t MaxDemoForwardSecond = 9999;

    int32_t GameType() const { return m_gameType; }
    // Outside 0 to 4 is stored as 0.
    void SetGameType(int32_t value);
    int16_t ActiveView() const { return m_activeView; }
    // 4 or more is stored as 3, a negative value as 0.
    void SetActiveView(int16_t value);
    // The state texts of the four views (CView::Serialize).
    const QString& ViewData1() const { return m_viewData1; }
    void SetViewData1(const QString& value) { m_viewData1 = value; }
    const QString& ViewData2() const { return m_viewData2; }
    void SetViewData2(const QString& value) { m_viewData2 = value; }
    const QString& ViewData3() const { return m_viewData3; }
    void SetViewData3(const QString& value) { m_viewData3 = value; }
    const QString& ViewData4() const { return m_viewData4; }
    void SetViewData4(const QString& value) { m_viewData4 = value; }
    // Exchanged as decimal text. A text that is not a number raises
    // RuvError 13 and keeps the old value.
    QString View3dRatioIndex() const;
    void SetView3dRatioIndex(const QString& value);
    // The 3D camera (C3DCamera::Serialize).
    const QString& CameraString() const { return m_cameraString; }
    void SetCameraString(const QString& value) { m_cameraString = value; }
    // Kept by older project texts only.
    double CurveDuration() const { return m_curveDuration; }
    void SetCurveDuration(double value) { m_curveDuration = value; }
    int16_t SelectedStepValue() const { return m_selectedStepValue; }
    void SetSelectedStepValue(int16_t value) { m_selectedStepValue = value; }
    int16_t StepCount1() const { return m_stepCount1; }
    void SetStepCount1(int16_t value) { m_stepCount1 = value; }
    int16_t StepCount2() const { return m_stepCount2; }
    void SetStepCount2(int16_t value) { m_stepCount2 = value; }
    const QString& DemoRootDir() const { return m_demoRootDir; }
    void SetDemoRootDir(const QString& value) { m_demoRootDir = value; }
    const QString& SelectedDemoPath() const { return m_selectedDemoPath; }
    void SetSelectedDemoPath(const QString& value) { m_selectedDemoPath = value; }
    const QString& SelectedConfigName() const { return m_selectedConfigName; }
    void SetSelectedConfigName(const QString& value) { m_selectedConfigName = value; }
    const QString& SelectedBeforeCommand() const { return m_selectedBeforeCommand; }
    void SetSelectedBeforeCommand(const QString& value) { m_selectedBeforeCommand = value; }
    const QString& SelectedAfterCommand() const { return m_selectedAfterCommand; }
    void SetSelectedAfterCommand(const QString& value) { m_selectedAfterCommand = value; }
    const QString& MapFileName() const { return m_mapFileName; }
    void SetMapFileName(const QString& value) { m_mapFileName = value; }
    bool AutostartEnabled() const { return m_autostartEnabled; }
    void SetAutostartEnabled(bool value) { m_autostartEnabled = value; }
    int32_t AutoStartTime() const { return m_autoStartTime; }
    void SetAutoStartTime(int32_t value) { m_autoStartTime = value; }
    bool ScriptPauseEnabled() const { return m_scriptPauseEnabled; }
    void SetScriptPauseEnabled(bool value) { m_scriptPauseEnabled = value; }
    int16_t ScriptPauseInterval() const { return m_scriptPauseInterval; }
    void SetScriptPauseInterval(int16_t value) { m_scriptPauseInterval = value; }
    int16_t ScriptPauseResumeKeyIndex() const { return m_scriptPauseResumeKeyIndex; }
    void SetScriptPauseResumeKeyIndex(int16_t value) { m_scriptPauseResumeKeyIndex = value; }
    bool IncludeFovChecked() const { return m_includeFovChecked; }
    void SetIncludeFovChecked(bool value) { m_includeFovChecked = value; }
    bool IncludeTimescaleChecked() const { return m_includeTimescaleChecked; }
    void SetIncludeTimescaleChecked(bool value) { m_includeTimescaleChecked = value; }
    bool IncludeMessageChecked() const { return m_includeMessageChecked; }
    void SetIncludeMessageChecked(bool value) { m_includeMessageChecked = value; }
    int16_t DemoGoToMinute() const { return m_demoGoToMinute; }
    // Kept within 0 to 999.
    void SetDemoGoToMinute(int16_t value);
    int16_t DemoGoToSecond() const { return m_demoGoToSecond; }
    // Negative is stored as 0; whole minutes of 60 seconds or more are
    // carried into DemoGoToMinute (through its clamp).
    void SetDemoGoToSecond(int16_t value);
    int16_t DemoForwardSecond() const { return m_demoForwardSecond; }
    // Kept within 0 to 9999.
    void SetDemoForwardSecond(int16_t value);
    int32_t CameraMode() const { return m_cameraMode; }
    void SetCameraMode(int32_t value) { m_cameraMode = value; }
    int32_t PlayerNumber() const { return m_playerNumber; }
    void SetPlayerNumber(int32_t value) { m_playerNumber = value; }
    int32_t TransitionSpeed() const { return m_transitionSpeed; }
    void SetTransitionSpeed(int32_t value) { m_transitionSpeed = value; }
    // The record's own list: callers fill it by appending.
    QStringList& ViewPresetStrings() { return m_viewPresetStrings; }
    const QStringList& ViewPresetStrings() const { return m_viewPresetStrings; }
    // Appends a preset text with the slot (0-based) it was saved from; -1
    // for a text whose slot is not known.
    void AddViewPreset(const QString& text, int32_t slot);
    // The slot of the preset text at that position of ViewPresetStrings;
    // -1 when none was given (a text appended to the list directly, or
    // read from a file that kept no slots).
    int32_t ViewPresetSlot(qsizetype position) const;
    int32_t SelectedFramerate() const { return m_selectedFramerate; }
    void SetSelectedFramerate(int32_t value) { m_selectedFramerate = value; }
    const QString& FramerateValuesString() const { return m_framerateValuesString; }
    void SetFramerateValuesString(const QString& value) { m_framerateValuesString = value; }
    const QString& EtqwScreenshotSettingsString() const { return m_etqwScreenshotSettingsString; }
    void SetEtqwScreenshotSettingsString(const QString& value) { m_etqwScreenshotSettingsString = value; }
    const QString& Comment() const { return m_comment; }
    // Trimmed of spaces at both ends; a text of nothing but CR LF pairs is
    // stored as the empty text.
    void SetComment(const QString& value);

    bool operator==(const C3DProject&) const = default;

private:
    int32_t m_gameType = 0;
    int16_t m_activeView = 0;
    QString m_viewData1;
    QString m_viewData2;
    QString m_viewData3;
    QString m_viewData4;
    int32_t m_view3dRatioIndex = 0;
    QString m_cameraString;
    double m_curveDuration = 0.0;
    int16_t m_selectedStepValue = 0;
    int16_t m_stepCount1 = 0;
    int16_t m_stepCount2 = 0;
    QString m_demoRootDir;
    QString m_selectedDemoPath;
    QString m_selectedConfigName;
    QString m_selectedBeforeCommand;
    QString m_selectedAfterCommand;
    QString m_mapFileName;
    bool m_autostartEnabled = false;
    int32_t m_autoStartTime = 0;
    bool m_scriptPauseEnabled = false;
    int16_t m_scriptPauseInterval = 0;
    int16_t m_scriptPauseResumeKeyIndex = 0;
    bool m_includeFovChecked = false;
    bool m_includeTimescaleChecked = false;
    bool m_includeMessageChecked = false;
    int16_t m_demoGoToMinute = 0;
    int16_t m_demoGoToSecond = 0;
    int16_t m_demoForwardSecond = 0;
    int32_t m_cameraMode = 0;
    int32_t m_playerNumber = 0;
    int32_t m_transitionSpeed = 0;
    QStringList m_viewPresetStrings;
    // Beside m_viewPresetStrings, up to the last text with a known slot.
    QList<int32_t> m_viewPresetSlots;
    int32_t m_selectedFramerate = 0;
    QString m_framerateValuesString;
    QString m_etqwScreenshotSettingsString;
    QString m_comment;
};
