#include "Language.h"

#include "CaptionGap.h"
#include "LabelEx.h"
#include "MainContext.h"
#include "MainControls.h"
#include "MainMenus.h"
#include "MainParts.h"
#include "MainShell.h"
#include "MainState.h"
#include "MainTexts.h"
#include "MainWidgets.h"
#include "StatusMessages.h"
#include "UC3DCurveManager.h"
#include "UCTabbedFlexgrid.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QTabWidget>

#include <algorithm>

namespace {

// The view names in the order of the views: X-Y, X-Z, Y-Z, 3D.
constexpr int32_t kFirstViewText = 99;
constexpr int32_t kNoneText = 281;
constexpr int32_t kFreeRatioText = 278;

// A control of a tab page and its text.
template <class W>
struct Caption
{
    W* control;
    int32_t text;
};

}  // namespace

void Language::mnuVL_Lang_Click(int32_t index)
{
    if (index < 0 || index >= MainMenus::LanguageCount)
        index = 0;
    for (int32_t i = 0; i < MainMenus::LanguageCount; ++i)
        m_c.menus.Language(i)->setChecked(i == index);
    fApplyLanguage(index * 1000);
}

int16_t Language::fGetLanguageIndex() const
{
    for (int32_t i = 0; i < MainMenus::LanguageCount; ++i)
        if (m_c.menus.Language(i)->isChecked())
            return static_cast<int16_t>(i);
    return 0;
}

void Language::fApplyToolkitTexts(int32_t languageBase)
{
    if (m_toolkitTexts) {
        QCoreApplication::removeTranslator(m_toolkitTexts.get());
        m_toolkitTexts.reset();
    }
    // English is Qt's own; the others come from the system's Qt
    // translations. Without them Qt's texts stay English.
    const char* code = languageBase == 1000 ? "fr" : languageBase == 2000 ? "de" : nullptr;
    if (code == nullptr)
        return;
    auto texts = std::make_unique<QTranslator>();
    if (texts->load(QStringLiteral("qtbase_") + QLatin1String(code),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(texts.get());
        m_toolkitTexts = std::move(texts);
    }
}

void Language::fLocalizeNoneItem(QComboBox* combo)
{
    if (combo == nullptr || combo->count() < 1)
        return;
    combo->setItemText(0, QLatin1Char('<') + m_c.texts.fGetText(kNoneText) + QLatin1Char('>'));
}

void Language::fSetFreeRatioCaption(const QString& text)
{
    QComboBox* combo = m_c.widgets.cbo3DViewRatio;
    if (combo->count() > 0)
        combo->setItemText(0, text);
}

void Language::fApplyLanguage(int32_t languageBase)
{
    const MainTexts& t = m_c.texts;
    MainControls& controls = m_c.controls;
    MainWidgets& w = m_c.widgets;

    m_c.texts.SetLanguageBase(languageBase);
    fApplyToolkitTexts(languageBase);

    if (controls.m_aboutForm)
        controls.m_aboutForm->SetControlsText(t.fGetText(264), t.fGetText(265));

    m_c.menus.fApplyMenuCaptions();
    fSetFreeRatioCaption(t.fGetText(kFreeRatioText));
    w.cmCurveManager->SetListOptionTooltips({t.fGetText(83), t.fGetText(84), t.fGetText(85), t.fGetText(86)});

    // The no-title text follows the language; a project's name stays.
    if (m_c.state.m_captionName.isEmpty())
        m_c.shell.fUpdateCaption(QString());

    fApplyTabPages();

    if (controls.mDemosForm)
        controls.mDemosForm->SetGuiTexts(t.fGetText(280), t.fGetText(274), t.fGetText(270), t.fGetText(23),
                                         t.fGetText(81), t.fGetText(82));
    if (controls.m_gameConfigsForm)
        controls.m_gameConfigsForm->SetCaptions(t.fGetText(272));
    w.cmCurveManager->SetButtonsCaption(t.fGetText(268), t.fGetText(284), t.fGetText(279));

    // The base grid's columns fov, ts, hide, wgA and wgF; the columns
    // before them (number, time, x, y, z) have no tip.
    if (w.tabbedFlexgrid->ItemCount() > 0) {
        QStringList tips(5);
        for (int32_t id = 90; id <= 94; ++id)
            tips << t.fGetText(id);
        w.tabbedFlexgrid->Wrappers(0).SetHeaderTooltips(tips);
    }

    fApplyViewTexts();

    if (m_c.parts.tooltips)
        m_c.parts.tooltips->fSetTooltips();
    if (controls.m_notesForm)
        controls.m_notesForm->setWindowTitle(t.fGetText(266));
    fApplyGameSettingsTexts();
}

void Language::fApplyTabPages()
{
    const MainTexts& t = m_c.texts;
    MainWidgets& w = m_c.widgets;

    const QString tabs[] = {t.fGetText(34), t.fGetText(42), t.fGetText(46), t.fGetText(46) + QStringLiteral(" 2"),
                            t.fGetText(75)};
    for (size_t i = 0; i < w.fraPanels.size(); ++i) {
        const int tab = w.tabControl->indexOf(w.fraPanels[i]);
        if (tab >= 0)
            w.tabControl->setTabText(tab, tabs[i]);
    }

    // Page 1: look target and value tools.
    w.fraCLookTarget->setTitle(t.fGetText(35));
    const Caption<QAbstractButton> buttons[] = {{w.optLkTarget[0], 36}, {w.optLkTarget[1], 37},
                                                {w.optLkTarget[2], 38}, {w.cmdLkApply, 270},
                                                {w.cmdInvert, 39},      {w.cmdCFixeAngles, 40},
                                                {w.cmdCAutoRoll, 270}};
    for (const auto& c : buttons)
        c.control->setText(t.fGetText(c.text));
    w.lblCAutoRoll->setText(t.fGetText(41));

    // Page 2: curve settings (the frame-rate menu's items come with the
    // menu captions).
    w.fraCCurveSettings->setTitle(t.fGetText(282));
    w.lblTFrameRate->setText(t.fGetText(43));
    w.lblTransSpeed->setText(t.fGetText(44));

    fApplyScriptPage();

    // Page 4: the commands before and after the script.
    w.fraSCmdsToExec->setTitle(t.fGetText(74));
    w.lblSCmdsBefore->setText(t.fGetText(271) + QStringLiteral(" :"));
    w.lblSCmdsAfter->setText(t.fGetText(269) + QStringLiteral(" :"));
    w.cmdCreateScript->setText(t.fGetText(73));
    fLocalizeNoneItem(w.cboSCmdsBefore);
    fLocalizeNoneItem(w.cboSCmdsAfter);

    // Page 5: the game.
    w.fraGDemo->setTitle(t.fGetText(76));
    w.lbxGDemo->SetCaption(t.fGetText(76));
    w.cmdDemoGoto->setText(t.fGetText(77));
    w.cmdDemoFd->setText(t.fGetText(78));
    w.chkGMinimizerEnabled->setText(t.fGetText(79));
    fLocalizeNoneItem(w.cboGConfigs);
}

void Language::fApplyScriptPage()
{
    const MainTexts& t = m_c.texts;
    MainWidgets& w = m_c.widgets;

    const Caption<QGroupBox> frames[] = {
        {w.fraS_Includes, 47}, {w.fraScriptOptions, 282}, {w.fraS_CameraMode, 55}, {w.fraS_Pause, 58}};
    for (const auto& c : frames)
        c.control->setTitle(t.fGetText(c.text));
    const Caption<QAbstractButton> checks[] = {{w.chkSIncFov, 48},           {w.chkSIncTS, 49},
                                               {w.chkSIncConMsg, 50},        {w.chkSAutoStart, 51},
                                               {w.chkSIncFPSLimit, 52},      {w.chkSIncOneFrameDelay, 53},
                                               {w.chkSWarsowCamLimitation, 54}, {w.chkSScriptPauseState, 59}};
    for (const auto& c : checks)
        c.control->setText(t.fGetText(c.text));
    w.pauseIntervalGap->Place();
    w.lblCamMode->setText(t.fGetText(56));
    if (m_c.parts.cameraModes)
        m_c.parts.cameraModes->fShowCamModeOption();

    // The label is as wide as its text, and its layout keeps the list the
    // gap to its right, whatever the language's text.
    QLabel* label = w.lblSScriptPauseResumeKey;
    label->setText(t.fGetText(60) + QStringLiteral(" : "));
    label->setFixedWidth(label->fontMetrics().horizontalAdvance(label->text()));
    if (m_c.parts.scriptPanel)
        m_c.parts.scriptPanel->fLocalizePauseKeyItems();
}

void Language::fApplyViewTexts()
{
    const MainTexts& t = m_c.texts;
    MainWidgets& w = m_c.widgets;
    MainState& s = m_c.state;

    w.cmdAverage->setText(t.fGetText(95));
    if (m_c.parts.viewZoom) {
        m_c.parts.viewZoom->fSetScaleUnit(t.fGetText(96));
        if (s.m_view != nullptr)
            m_c.parts.viewZoom->fRefreshScaleLabel();
    }
    // The name of the view that is active, not always the Y-Z view's.
    m_c.status.fSetRightStatus(t.fGetText(kFirstViewText + std::clamp(s.m_activeViewIndex, 0, 3)));
    w.chk3dvAutoSelectPoint->setText(t.fGetText(97));
    w.lbl3dvTime->setProperty("Tag", QStringLiteral("T"));
    w.lbl3dvTime->clear();
}

void Language::fApplyGameSettingsTexts()
{
    FrmGameSettings* settings = m_c.controls.m_gameSettingsForm.get();
    if (settings == nullptr)
        return;
    const MainTexts& t = m_c.texts;
    const auto texts = [&t](std::initializer_list<int32_t> ids) {
        QStringList list;
        for (int32_t id : ids)
            list << t.fGetText(id);
        return list;
    };
    const auto label = [&t](int32_t id) { return t.fGetText(id) + QStringLiteral(" :"); };

    settings->SetControlsText({t.fGetText(111), t.fGetText(112), t.fGetText(272), QStringLiteral("OK")});
    settings->SetGameLocationControlsText({t.fGetText(114), t.fGetText(113), label(115), label(116), label(117),
                                           t.fGetText(118), t.fGetText(119), t.fGetText(120), t.fGetText(121),
                                           t.fGetText(122), t.fGetText(123)});
    settings->SetCamPosGeneratorControlsText({t.fGetText(124), label(126), label(130), label(132), label(134),
                                              label(136), label(138), label(140), label(142), t.fGetText(154),
                                              t.fGetText(155), t.fGetText(270)});
    settings->SetCamPosGeneratorMessages(texts({144, 145, 146, 147, 148, 149, 150, 151, 152, 153, 980, 981}));
    settings->SetCamPosGeneratorTooltips(texts({125, 127, 128, 129, 131, 133, 135, 137, 139, 141, 143}));
}
