// The right-hand half of the main window: the five tab pages, the curve
// manager and the point-grid panel.

#include "MainWidgets.h"
#include "MainWidgetsBuild.h"

#include "CaptionGap.h"
#include "LabelEx.h"
#include "UC3DCurveManager.h"
#include "UCTabbedFlexgrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

using namespace MainWidgetsBuild;

namespace {

QGroupBox* Group(QWidget* parent, const char* name, const QString& title)
{
    auto* g = Make<QGroupBox>(parent, name);
    g->setTitle(title);
    return g;
}

QLineEdit* Box(QWidget* parent, const char* name, const QString& text, int index = -1)
{
    auto* box = Make<QLineEdit>(parent, name, text, index);
    box->setMaximumWidth(90);
    return box;
}

}  // namespace

void MainWidgets::BuildRight(QWidget* parent)
{
    // Placed by the window's layout pass; inside, the tabs, the curve
    // manager and the point-grid panel stand one below the other at the
    // tabs' width.
    fraRight = Make<QFrame>(parent, "fraRight");

    tabControl = Make<QTabWidget>(fraRight, "tabControl");
    const int captions[] = {34, 42, 46, 46, 75};
    for (int i = 0; i < 5; ++i) {
        // Frames the frame enabler can switch as a whole: group boxes
        // without a title or frame of their own.
        fraPanels[i] = Make<QGroupBox>(tabControl, "fraPanels", i);
        fraPanels[i]->setFlat(true);
        tabControl->addTab(fraPanels[i], i == 3 ? Text(46) + QStringLiteral(" 2") : Text(captions[i]));
    }
    BuildPageCalcul(fraPanels[0]);
    BuildPageCurve(fraPanels[1]);
    BuildPageScript(fraPanels[2]);
    BuildPageScript2(fraPanels[3]);
    BuildPageGame(fraPanels[4]);
    const QSize tabs = tabControl->sizeHint();
    tabControl->setGeometry(0, 0, std::max(472, tabs.width()), tabs.height());

    cmCurveManager = Make<UC3DCurveManager>(fraRight, "cmCurveManager");
    cmCurveManager->setGeometry(0, tabControl->height() + 4, tabControl->width(),
                                std::max(120, cmCurveManager->sizeHint().height()));

    fraFlexgridPanel = Make<QFrame>(fraRight, "fraFlexgridPanel");
    fraFlexgridPanel->setGeometry(0, cmCurveManager->y() + cmCurveManager->height() + 4, tabControl->width(), 200);
    tabbedFlexgrid = Make<UCTabbedFlexgrid>(fraFlexgridPanel, "tabbedFlexgrid");
    fraFlexgridToolsPanel = Make<QFrame>(fraFlexgridPanel, "fraFlexgridToolsPanel");
}

void MainWidgets::BuildPageCalcul(QGroupBox* page)
{
    auto* column = new QVBoxLayout(page);

    fraCLookTarget = Group(page, "fraCLookTarget", Text(35));
    auto* look = new QGridLayout(fraCLookTarget);
    const int lookCaptions[] = {36, 37, 38};
    for (int i = 0; i < 3; ++i) {
        optLkTarget[i] = Make<QRadioButton>(fraCLookTarget, "optLkTarget", Text(lookCaptions[i]), i);
        look->addWidget(optLkTarget[i], i, 0);
    }
    optLkTarget[0]->setChecked(true);
    lblLkTargetX = Make<QLabel>(fraCLookTarget, "lblLkTargetX", QStringLiteral("x"));
    lblLkTargetY = Make<QLabel>(fraCLookTarget, "lblLkTargetY", QStringLiteral("y"));
    lblLkTargetZ = Make<QLabel>(fraCLookTarget, "lblLkTargetZ", QStringLiteral("z"));
    QLabel* axisLabels[] = {lblLkTargetX, lblLkTargetY, lblLkTargetZ};
    for (int i = 0; i < 3; ++i) {
        txtCFixedTargets[i] = Box(fraCLookTarget, "txtCFixedTargets", QStringLiteral("0.00"), i);
        look->addWidget(axisLabels[i], i, 1);
        look->addWidget(txtCFixedTargets[i], i, 2);
    }
    cmdLkApply = Make<QPushButton>(fraCLookTarget, "cmdLkApply", Text(270));
    look->addWidget(cmdLkApply, 3, 2);
    column->addWidget(fraCLookTarget);

    fraCCurveMath = Group(page, "fraCCurveMath", QString());
    auto* math = new QGridLayout(fraCCurveMath);
    txtCFactor = Box(fraCCurveMath, "txtCFactor", QString());
    math->addWidget(txtCFactor, 0, 0);
    cmdCAddFactor = Make<QPushButton>(fraCCurveMath, "cmdCAddFactor", QStringLiteral("+"));
    cmdCSubFactor = Make<QPushButton>(fraCCurveMath, "cmdCSubFactor", QStringLiteral("-"));
    cmdCMultiplyByFactor = Make<QPushButton>(fraCCurveMath, "cmdCMultiplyByFactor", QStringLiteral("x"));
    cmdCDivideByFactor = Make<QPushButton>(fraCCurveMath, "cmdCDivideByFactor", QStringLiteral("/"));
    QPushButton* operations[] = {cmdCAddFactor, cmdCSubFactor, cmdCMultiplyByFactor, cmdCDivideByFactor};
    for (int i = 0; i < 4; ++i)
        math->addWidget(operations[i], 0, i + 1);
    const char* steps[] = {"+90", "-90", "+180", "-180", "+360", "-360"};
    for (int i = 0; i < 6; ++i) {
        cmdCAddSubFactor[i] = Make<QPushButton>(fraCCurveMath, "cmdCAddSubFactor", QString::fromLatin1(steps[i]), i);
        math->addWidget(cmdCAddSubFactor[i], 1 + i / 3, 1 + i % 3);
    }
    cmdAverage = Make<QPushButton>(fraCCurveMath, "cmdAverage", Text(95));
    cmdCFixeAngles = Make<QPushButton>(fraCCurveMath, "cmdCFixeAngles", Text(40));
    math->addWidget(cmdAverage, 3, 0, 1, 2);
    math->addWidget(cmdCFixeAngles, 3, 2, 1, 2);
    lblCAutoRoll = Make<QLabel>(fraCCurveMath, "lblCAutoRoll", Text(41));
    txtCAutoRollMaxAngle = Box(fraCCurveMath, "txtCAutoRollMaxAngle", QString());
    cmdCAutoRoll = Make<QPushButton>(fraCCurveMath, "cmdCAutoRoll", Text(270));
    math->addWidget(lblCAutoRoll, 4, 0);
    math->addWidget(txtCAutoRollMaxAngle, 4, 1);
    math->addWidget(cmdCAutoRoll, 4, 2);
    column->addWidget(fraCCurveMath);

    cmdInvert = Make<QPushButton>(page, "cmdInvert", Text(39));
    column->addWidget(cmdInvert, 0, Qt::AlignLeft);
    column->addStretch(1);
}

void MainWidgets::BuildPageCurve(QGroupBox* page)
{
    auto* column = new QVBoxLayout(page);
    fraCCurveSettings = Group(page, "fraCCurveSettings", Text(282));
    auto* grid = new QGridLayout(fraCCurveSettings);
    lblTFrameRate = Make<QLabel>(fraCCurveSettings, "lblTFrameRate", Text(43));
    cboTFrameRate = Make<QComboBox>(fraCCurveSettings, "cboTFrameRate");
    cboTFrameRate->setEditable(true);
    lblTransSpeed = Make<QLabel>(fraCCurveSettings, "lblTransSpeed", Text(44));
    txtTransSpeed = Box(fraCCurveSettings, "txtTransSpeed", QStringLiteral("0"));
    grid->addWidget(lblTFrameRate, 0, 0);
    grid->addWidget(cboTFrameRate, 0, 1);
    grid->addWidget(lblTransSpeed, 1, 0);
    grid->addWidget(txtTransSpeed, 1, 1);
    column->addWidget(fraCCurveSettings);
    column->addStretch(1);
}

void MainWidgets::BuildPageScript(QGroupBox* page)
{
    auto* grid = new QGridLayout(page);

    fraS_Includes = Group(page, "fraS_Includes", Text(47));
    auto* includes = new QVBoxLayout(fraS_Includes);
    chkSIncFov = Make<QCheckBox>(fraS_Includes, "chkSIncFov", Text(48));
    chkSIncTS = Make<QCheckBox>(fraS_Includes, "chkSIncTS", Text(49));
    chkSIncConMsg = Make<QCheckBox>(fraS_Includes, "chkSIncConMsg", Text(50));
    chkSIncFreecam = Make<QCheckBox>(fraS_Includes, "chkSIncFreecam", QStringLiteral("Freecam"));
    for (QCheckBox* c : {chkSIncFov, chkSIncTS, chkSIncConMsg, chkSIncFreecam})
        includes->addWidget(c);
    grid->addWidget(fraS_Includes, 0, 0);

    fraScriptOptions = Group(page, "fraScriptOptions", Text(282));
    auto* options = new QVBoxLayout(fraScriptOptions);
    chkSAutoStart = Make<QCheckBox>(fraScriptOptions, "chkSAutoStart", Text(51));
    chkSIncFPSLimit = Make<QCheckBox>(fraScriptOptions, "chkSIncFPSLimit", Text(52));
    chkSIncOneFrameDelay = Make<QCheckBox>(fraScriptOptions, "chkSIncOneFrameDelay", Text(53));
    chkSWarsowCamLimitation = Make<QCheckBox>(fraScriptOptions, "chkSWarsowCamLimitation", Text(54));
    for (QCheckBox* c : {chkSAutoStart, chkSIncFPSLimit, chkSIncOneFrameDelay, chkSWarsowCamLimitation})
        options->addWidget(c);
    grid->addWidget(fraScriptOptions, 0, 1);

    fraS_CameraMode = Group(page, "fraS_CameraMode", Text(55));
    auto* mode = new QGridLayout(fraS_CameraMode);
    lblCamMode = Make<QLabel>(fraS_CameraMode, "lblCamMode", Text(56));
    cboCamMode = Make<QComboBox>(fraS_CameraMode, "cboCamMode");
    lblCamModeOption = Make<QLabel>(fraS_CameraMode, "lblCamModeOption", Text(57));
    cboCamModeOption = Make<QComboBox>(fraS_CameraMode, "cboCamModeOption");
    mode->addWidget(lblCamMode, 0, 0);
    mode->addWidget(cboCamMode, 0, 1);
    mode->addWidget(lblCamModeOption, 1, 0);
    mode->addWidget(cboCamModeOption, 1, 1);
    grid->addWidget(fraS_CameraMode, 1, 0, 1, 2);

    fraS_Pause = Group(page, "fraS_Pause", Text(58));
    auto* pause = new QHBoxLayout(fraS_Pause);
    chkSScriptPauseState = Make<QCheckBox>(fraS_Pause, "chkSScriptPauseState", Text(59));
    // The interval box stands in the blanks of the check box's caption.
    txtSScriptPauseInterval = Box(fraS_Pause, "txtSScriptPauseInterval", QStringLiteral("3"));
    pauseIntervalGap = new CaptionGap(chkSScriptPauseState, txtSScriptPauseInterval);
    QWidget::setTabOrder(chkSScriptPauseState, txtSScriptPauseInterval);
    lblSScriptPauseResumeKey = Make<QLabel>(fraS_Pause, "lblSScriptPauseResumeKey", Text(60) + QStringLiteral(" : "));
    cboSScriptPauseKey = Make<QComboBox>(fraS_Pause, "cboSScriptPauseKey");
    pause->addWidget(chkSScriptPauseState);
    // The resume key's list stands 2 pixels right of its label's text (the
    // language sizes the label to its text).
    // The list is narrow, so that the frame holds the label in every
    // language; its drop-down list is as wide as its items.
    cboSScriptPauseKey->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cboSScriptPauseKey->setMinimumContentsLength(2);
    auto* resume = new QHBoxLayout;
    resume->setSpacing(2);
    resume->addWidget(lblSScriptPauseResumeKey);
    resume->addWidget(cboSScriptPauseKey, 1);
    pause->addLayout(resume, 1);
    grid->addWidget(fraS_Pause, 2, 0, 1, 2);
    grid->setRowStretch(3, 1);
}

void MainWidgets::BuildPageScript2(QGroupBox* page)
{
    auto* column = new QVBoxLayout(page);

    fraSCmdsToExec = Group(page, "fraSCmdsToExec", Text(74));
    auto* commands = new QGridLayout(fraSCmdsToExec);
    lblSCmdsBefore = Make<QLabel>(fraSCmdsToExec, "lblSCmdsBefore", Text(271) + QStringLiteral(" :"));
    cboSCmdsBefore = Make<QComboBox>(fraSCmdsToExec, "cboSCmdsBefore");
    cmdSCmdsBefore = Make<QPushButton>(fraSCmdsToExec, "cmdSCmdsBefore", QStringLiteral("..."));
    lblSCmdsAfter = Make<QLabel>(fraSCmdsToExec, "lblSCmdsAfter", Text(269) + QStringLiteral(" :"));
    cboSCmdsAfter = Make<QComboBox>(fraSCmdsToExec, "cboSCmdsAfter");
    cmdSCmdsAfter = Make<QPushButton>(fraSCmdsToExec, "cmdSCmdsAfter", QStringLiteral("..."));
    commands->addWidget(lblSCmdsBefore, 0, 0);
    commands->addWidget(cboSCmdsBefore, 0, 1);
    commands->addWidget(cmdSCmdsBefore, 0, 2);
    commands->addWidget(lblSCmdsAfter, 1, 0);
    commands->addWidget(cboSCmdsAfter, 1, 1);
    commands->addWidget(cmdSCmdsAfter, 1, 2);
    commands->setColumnStretch(1, 1);
    column->addWidget(fraSCmdsToExec);

    auto* create = new QHBoxLayout;
    cmdCreateScript = Make<QPushButton>(page, "cmdCreateScript", Text(73));
    cmdExploreScriptDir = Make<QPushButton>(page, "cmdExploreScriptDir", QStringLiteral("..."));
    create->addWidget(cmdCreateScript);
    create->addWidget(cmdExploreScriptDir);
    create->addStretch(1);
    column->addLayout(create);

    fraSRecordFrameSettings = Group(page, "fraSRecordFrameSettings", QString());
    auto* record = new QHBoxLayout(fraSRecordFrameSettings);
    chkSRecordFrameSettings = Make<QCheckBox>(fraSRecordFrameSettings, "chkSRecordFrameSettings");
    record->addWidget(chkSRecordFrameSettings);
    const char* captions[] = {"w", "h", "AA"};
    txtSRecordFrameWidth = Box(fraSRecordFrameSettings, "txtSRecordFrameWidth", QStringLiteral("0"));
    txtSRecordFrameHeight = Box(fraSRecordFrameSettings, "txtSRecordFrameHeight", QStringLiteral("0"));
    txtSRecordFrameAA = Box(fraSRecordFrameSettings, "txtSRecordFrameAA", QStringLiteral("16"));
    QLineEdit* boxes[] = {txtSRecordFrameWidth, txtSRecordFrameHeight, txtSRecordFrameAA};
    for (int i = 0; i < 3; ++i) {
        lblSRecordFrameCaptions[i] =
            Make<QLabel>(fraSRecordFrameSettings, "lblSRecordFrameCaptions", QString::fromLatin1(captions[i]), i);
        record->addWidget(lblSRecordFrameCaptions[i]);
        record->addWidget(boxes[i]);
    }
    fraSRecordFrameSettings->setVisible(false);
    column->addWidget(fraSRecordFrameSettings);
    column->addStretch(1);
}

void MainWidgets::BuildPageGame(QGroupBox* page)
{
    auto* column = new QVBoxLayout(page);

    fraGDemo = Group(page, "fraGDemo", Text(76));
    auto* demo = new QGridLayout(fraGDemo);
    lbxGDemo = Make<LabelEx>(fraGDemo, "lbxGDemo");
    lbxGDemo->SetCaption(Text(76));
    // The label sizes itself to its caption; the layout keeps that size.
    lbxGDemo->setMinimumSize(lbxGDemo->size());
    txtDemo = Make<QLineEdit>(fraGDemo, "txtDemo");
    cmdGDemoPick = Make<QPushButton>(fraGDemo, "cmdGDemoPick", QStringLiteral("..."));
    demo->addWidget(lbxGDemo, 0, 0);
    demo->addWidget(txtDemo, 0, 1);
    demo->addWidget(cmdGDemoPick, 0, 2);
    fraGDemoControl = Make<QGroupBox>(fraGDemo, "fraGDemoControl");
    fraGDemoControl->setFlat(true);
    auto* times = new QHBoxLayout(fraGDemoControl);
    times->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 3; ++i) {
        txtGDemoTimes[i] = Box(fraGDemoControl, "txtGDemoTimes", QStringLiteral("0"), i);
        txtGDemoTimes[i]->setMaximumWidth(40);
        times->addWidget(txtGDemoTimes[i]);
        if (i == 1) {
            cmdDemoGoto = Make<QPushButton>(fraGDemoControl, "cmdDemoGoto", Text(77));
            times->addWidget(cmdDemoGoto);
        }
    }
    cmdDemoFd = Make<QPushButton>(fraGDemoControl, "cmdDemoFd", Text(78));
    times->addWidget(cmdDemoFd);
    times->addStretch(1);
    demo->addWidget(fraGDemoControl, 1, 0, 1, 3);
    demo->setColumnStretch(1, 1);
    column->addWidget(fraGDemo);

    auto* configs = new QHBoxLayout;
    cboGConfigs = Make<QComboBox>(page, "cboGConfigs");
    cmdGConfigManager = Make<QPushButton>(page, "cmdGConfigManager", QStringLiteral("..."));
    configs->addWidget(cboGConfigs, 1);
    configs->addWidget(cmdGConfigManager);
    column->addLayout(configs);

    auto* game = new QHBoxLayout;
    cmdGameLoad = Make<QPushButton>(page, "cmdGameLoad");
    cmdGameClose = Make<QPushButton>(page, "cmdGameClose");
    cmdGSShotLoad = Make<QPushButton>(page, "cmdGSShotLoad", QStringLiteral("Shots"));
    cmdGSShotsDelete = Make<QPushButton>(page, "cmdGSShotsDelete", QStringLiteral("X"));
    cmdGSShotExploreFolder = Make<QPushButton>(page, "cmdGSShotExploreFolder", QStringLiteral("..."));
    for (QPushButton* b : {cmdGameLoad, cmdGameClose, cmdGSShotLoad, cmdGSShotsDelete, cmdGSShotExploreFolder})
        game->addWidget(b);
    game->addStretch(1);
    column->addLayout(game);

    auto* minimizer = new QHBoxLayout;
    chkGMinimizerEnabled = Make<QCheckBox>(page, "chkGMinimizerEnabled", Text(79));
    lblMZHotkey = Make<QLabel>(page, "lblMZHotkey");
    cboGMinimizerHotkey = Make<QComboBox>(page, "cboGMinimizerHotkey");
    minimizer->addWidget(chkGMinimizerEnabled);
    minimizer->addWidget(lblMZHotkey);
    minimizer->addWidget(cboGMinimizerHotkey);
    minimizer->addStretch(1);
    column->addLayout(minimizer);
    column->addStretch(1);
}
