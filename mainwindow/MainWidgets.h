#pragma once

// Every control of the main window under the name the window's design
// gives it (its objectName; an element of a control array is named
// "name(index)", as in "optTools(0)"), owned by the window through Qt's
// parent chain. The window holds, from left to right, the tool bar and the
// map view `oglView` with the frames below it, and on the right the tab
// strip `tabControl` with its five pages `fraPanels(0..4)`, the curve
// manager `cmCurveManager` and the point-grid panel `fraFlexgridPanel`.
// Plain layouts place the controls inside each frame; the window's layout
// pass (MainLayout) places the view and the frames themselves.

#include <array>

class CaptionGap;
class LabelEx;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTimer;
class QToolButton;
class QWidget;
class UC3DCurveManager;
class UCTabbedFlexgrid;
class UCOpenGLView;

struct MainWidgets
{
    // Builds every control into the window (its central widget and status
    // bar) and the four timers, captions in English.
    explicit MainWidgets(QMainWindow& window);

    QWidget* central = nullptr;

    // ---- Left: tool bar, view, frames below it ----------------------------
    QFrame* fraToolBar = nullptr;
    std::array<QToolButton*, 4> optViews{};   // 0 X-Y, 1 X-Z, 2 Y-Z, 3 3D
    std::array<QToolButton*, 6> optTools{};   // select, points, tangents, look-at, zoom, view
    QComboBox* cbo3DViewRatio = nullptr;
    QCheckBox* chkExpand = nullptr;
    UCOpenGLView* oglView = nullptr;

    QFrame* fra3DView = nullptr;              // shown for the 3D view only
    QCheckBox* chkPreviewLock = nullptr;
    std::array<QPushButton*, 8> cmdPreview{}; // elements 0, 1, 2, 5, 6, 7 (3 and 4 stay null)
    QPushButton* cmdPvwStartStop = nullptr;
    QFrame* fra3dvPan2 = nullptr;
    QLabel* lbl3dvTime = nullptr;
    QCheckBox* chk3dvAutoSelectPoint = nullptr;

    QFrame* fraPans = nullptr;
    QGroupBox* fra3DViewPreset = nullptr;
    std::array<QToolButton*, 12> optViewPreset{};
    QLabel* lblScaleLabel = nullptr;

    // The status bar.
    QLabel* lblMiddleStatus = nullptr;
    QLabel* lblRightStatus = nullptr;

    // ---- Right: tabs, curve manager, point grid ---------------------------
    QFrame* fraRight = nullptr;
    QTabWidget* tabControl = nullptr;
    std::array<QGroupBox*, 5> fraPanels{};  // 0 Calcul., 1 Curve, 2 Script, 3 Script 2, 4 Game

    // Page 0: look target and value tools.
    QGroupBox* fraCLookTarget = nullptr;
    std::array<QRadioButton*, 3> optLkTarget{};
    std::array<QLineEdit*, 3> txtCFixedTargets{};
    QLabel* lblLkTargetX = nullptr;
    QLabel* lblLkTargetY = nullptr;
    QLabel* lblLkTargetZ = nullptr;
    QPushButton* cmdLkApply = nullptr;
    QGroupBox* fraCCurveMath = nullptr;
    QLineEdit* txtCFactor = nullptr;
    QPushButton* cmdCAddFactor = nullptr;
    QPushButton* cmdCSubFactor = nullptr;
    QPushButton* cmdCMultiplyByFactor = nullptr;
    QPushButton* cmdCDivideByFactor = nullptr;
    std::array<QPushButton*, 6> cmdCAddSubFactor{};
    QPushButton* cmdAverage = nullptr;
    QPushButton* cmdCFixeAngles = nullptr;
    QLabel* lblCAutoRoll = nullptr;
    QLineEdit* txtCAutoRollMaxAngle = nullptr;
    QPushButton* cmdCAutoRoll = nullptr;
    QPushButton* cmdInvert = nullptr;

    // Page 1: curve settings.
    QGroupBox* fraCCurveSettings = nullptr;
    QLabel* lblTFrameRate = nullptr;
    QComboBox* cboTFrameRate = nullptr;
    QLabel* lblTransSpeed = nullptr;
    QLineEdit* txtTransSpeed = nullptr;

    // Page 2: script options.
    QGroupBox* fraS_Includes = nullptr;
    QCheckBox* chkSIncFov = nullptr;
    QCheckBox* chkSIncTS = nullptr;
    QCheckBox* chkSIncConMsg = nullptr;
    QGroupBox* fraScriptOptions = nullptr;
    QCheckBox* chkSIncFreecam = nullptr;
    QCheckBox* chkSAutoStart = nullptr;
    QCheckBox* chkSIncFPSLimit = nullptr;
    QCheckBox* chkSIncOneFrameDelay = nullptr;
    QCheckBox* chkSWarsowCamLimitation = nullptr;
    QGroupBox* fraS_CameraMode = nullptr;
    QLabel* lblCamMode = nullptr;
    QComboBox* cboCamMode = nullptr;
    QLabel* lblCamModeOption = nullptr;
    QComboBox* cboCamModeOption = nullptr;
    QGroupBox* fraS_Pause = nullptr;
    QCheckBox* chkSScriptPauseState = nullptr;
    QLineEdit* txtSScriptPauseInterval = nullptr;
    CaptionGap* pauseIntervalGap = nullptr;  // keeps the interval box in its caption's gap
    QLabel* lblSScriptPauseResumeKey = nullptr;
    QComboBox* cboSScriptPauseKey = nullptr;

    // Page 3: commands, script creation, record-frame settings.
    QGroupBox* fraSCmdsToExec = nullptr;
    QLabel* lblSCmdsBefore = nullptr;
    QComboBox* cboSCmdsBefore = nullptr;
    QPushButton* cmdSCmdsBefore = nullptr;
    QLabel* lblSCmdsAfter = nullptr;
    QComboBox* cboSCmdsAfter = nullptr;
    QPushButton* cmdSCmdsAfter = nullptr;
    QPushButton* cmdCreateScript = nullptr;
    QPushButton* cmdExploreScriptDir = nullptr;
    QGroupBox* fraSRecordFrameSettings = nullptr;  // hidden unless started with -recframe
    QCheckBox* chkSRecordFrameSettings = nullptr;
    std::array<QLabel*, 3> lblSRecordFrameCaptions{};
    QLineEdit* txtSRecordFrameWidth = nullptr;
    QLineEdit* txtSRecordFrameHeight = nullptr;
    QLineEdit* txtSRecordFrameAA = nullptr;

    // Page 4: demo, configurations, game, screenshots, minimizer.
    QGroupBox* fraGDemo = nullptr;
    LabelEx* lbxGDemo = nullptr;
    QLineEdit* txtDemo = nullptr;
    QPushButton* cmdGDemoPick = nullptr;
    QGroupBox* fraGDemoControl = nullptr;
    std::array<QLineEdit*, 3> txtGDemoTimes{};  // minutes, seconds, seconds forward
    QPushButton* cmdDemoGoto = nullptr;
    QPushButton* cmdDemoFd = nullptr;
    QComboBox* cboGConfigs = nullptr;
    QPushButton* cmdGConfigManager = nullptr;
    QPushButton* cmdGameLoad = nullptr;
    QPushButton* cmdGameClose = nullptr;
    QPushButton* cmdGSShotLoad = nullptr;
    QPushButton* cmdGSShotsDelete = nullptr;
    QPushButton* cmdGSShotExploreFolder = nullptr;
    QCheckBox* chkGMinimizerEnabled = nullptr;
    QLabel* lblMZHotkey = nullptr;
    QComboBox* cboGMinimizerHotkey = nullptr;

    // Below the tabs.
    UC3DCurveManager* cmCurveManager = nullptr;
    QFrame* fraFlexgridPanel = nullptr;
    UCTabbedFlexgrid* tabbedFlexgrid = nullptr;
    QFrame* fraFlexgridToolsPanel = nullptr;

    // ---- Timers --------------------------------------------------------------
    QTimer* tmrWaitForClose = nullptr;           // 100 ms, the deferred close
    QTimer* tmrMiddleStatusAutoClear = nullptr;  // 1000 ms, one shot
    QTimer* tmrViewAutoRefresh = nullptr;        // 20 ms
    QTimer* tmrCameraMouseForwarding = nullptr;  // 40 ms

private:
    void BuildLeft(QWidget* parent);
    void BuildRight(QWidget* parent);
    void BuildPageCalcul(QGroupBox* page);
    void BuildPageCurve(QGroupBox* page);
    void BuildPageScript(QGroupBox* page);
    void BuildPageScript2(QGroupBox* page);
    void BuildPageGame(QGroupBox* page);
    void BuildTimers(QMainWindow& window);
};
