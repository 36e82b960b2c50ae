// The main window's load in its order, and the numeric text boxes.

#include "FrmMain.h"

#include "HandlerErrors.h"
#include "MArrayConvert.h"
#include "MControls.h"
#include "MForms.h"
#include "MRuvMain.h"
#include "MRuvResource.h"
#include "RuvError.h"
#include "UCOpenGLView.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QCheckBox>
#include <QGroupBox>
#include <QIcon>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTabBar>

namespace {

QPixmap ResourcePicture(const char* name)
{
    const QString wanted = QString::fromLatin1(name);
    for (int32_t n = 0; !MRuvResource::GetResName(n).isEmpty(); ++n) {
        if (MRuvResource::GetResName(n) == wanted) {
            QPixmap picture;
            picture.loadFromData(MRuvResource::GetResPicture(n), "PNG");
            return picture;
        }
    }
    return {};
}

}  // namespace

QString FrmMain::fCommandLineProjectPath() const
{
    // The whole command line as one text: a project path with blanks in it
    // opens. Anything else that is no existing file (a folder, a switch, a
    // missing file) starts a new project.
    QString text;
    if (!MArrayConvert::GetCommandLineArgs(text, false) || text.trimmed().isEmpty())
        return {};
    const QFileInfo file(text);
    if (!file.isFile())
        return {};
    return file.absoluteFilePath();
}

bool FrmMain::fHasRecordFrameSwitch() const
{
    QStringList arguments;
    if (!MArrayConvert::GetCommandLineArgs(arguments))
        return false;
    for (const QString& argument : arguments)
        if (argument.toLower() == QLatin1String("-recframe"))
            return true;
    return false;
}

void FrmMain::Form_Load()
{
    // 1. Nothing without the initialization.
    if (!m_state.m_initialized)
        MRuvMain::RaiseOwnError(MRuvMain::ErrInitializationFailed, QStringLiteral("Main form"));

    // 2. Camera, views, scales.
    m_parts.cameraNavigation->fResetCamera();
    m_parts.viewInput->fCreateViews();
    m_parts.sceneDrawing->fBuildScaleTable();

    // 3. The project named on the command line.
    const QString projectPath = fCommandLineProjectPath();

    // 4. The splash: it closes itself without a project, and stays until the
    //    first paint while one is opened.
    m_controls.m_aboutForm = std::make_unique<FrmAbout>(m_services.shell, m_services.settings);
    m_controls.m_aboutForm->SetControlsText(m_texts.fGetText(264), m_texts.fGetText(265));
    if (projectPath.isEmpty()) {
        m_state.m_splashUntilPaint = false;
        m_controls.m_aboutForm->CloseAfterDelay(true);
        m_controls.m_aboutForm->ShowModeless(this);
    } else {
        m_state.m_splashUntilPaint = true;
        m_controls.m_aboutForm->ShowModeless(nullptr);
    }

    // 5. Let the splash paint.
    QCoreApplication::processEvents();

    // 6. Map object and curves.
    m_parts.mapBinding->fCreateMapObject();
    m_parts.editState->fCreateCurveObjects();

    // 7. Icons.
    MForms::SetFormIcon(MForms::HandleOf(this), QStringLiteral("IDI_A"), true);

    // 8. The mod menu.
    m_parts.gameSelection->fBuildModMenu();

    // 9. The clock chooses its source at its first reading.
    m_services.clock->GetTickMs();

    // 10. The view control; without it the window unloads itself.
    m_viewControl->SetGLViewScale(m_parts.viewZoom->ScaleOfIndex(m_state.m_view->ScaleIndex()));
    if (!m_viewControl->Initialize(this, m_state.m_view, &m_state.m_camera)) {
        fCloseDown();
        MRuvMain::RaiseOwnError(MRuvMain::ErrInitializationFailed, QStringLiteral("Main form"));
    }

    // 11. The demo box's subclass object (and 14, 27: the tab strip's and
    //     the window's).
    fCreateSubclasses();

    // 12, 13. Secondary windows.
    m_controls.m_notesForm = std::make_unique<FrmNotes>(this);
    m_controls.m_notesForm->setWindowTitle(m_texts.fGetText(266));
    connect(m_controls.m_notesForm.get(), &FrmNotes::ContentChanged, this,
            [this] { m_parts.editState->fSetProjectModified(false); });
    m_controls.mDemosForm = std::make_unique<FrmDemos>(this, m_services.dialogs, m_services.shell);
    m_controls.mDemosForm->Initialize(this);
    m_controls.mDemosForm->SetGuiTexts(m_texts.fGetText(280), m_texts.fGetText(274), m_texts.fGetText(270),
                                       m_texts.fGetText(23), m_texts.fGetText(81), m_texts.fGetText(82));
    m_controls.mDemosForm->SetMessageTexts(m_texts.fGetText(950), m_texts.fGetText(951));
    // The demo selection answers the demo browser's events.
    m_parts.demoSelection->fConnectDemoBrowser(*m_controls.mDemosForm);
    m_controls.m_gameConfigsForm = std::make_unique<FrmGameConfigs>(this);
    m_controls.m_gameSettingsForm = std::make_unique<FrmGameSettings>(this);
    m_controls.m_recentFiles = std::make_unique<CRecentFile>();

    // 15. Grid columns, tab pages, ratios, pause keys.
    m_parts.pointGrid->fDefineGridColumns();
    m_parts.layout->fInitTabPages();
    m_parts.layout->fFillViewRatios();
    m_parts.scriptPanel->fFillPauseKeys();

    // 16, 17. Frame enabler, frame-rate combo box.
    m_controls.m_frameHandler = std::make_unique<CVbFrameHandler>();
    m_controls.m_frameHandler->Initialize(this);
    m_controls.mFramerateHandler = std::make_unique<CFramerateHandler>();
    m_controls.mFramerateHandler->Initialize(m_widgets.cboTFrameRate,
                                             m_menus.Action(QStringLiteral("mnuAD_SetAsDefault")),
                                             m_menus.Action(QStringLiteral("mnuAD_Remove")));
    // The curve manager's and the frame-rate box's events reach the sinks.
    m_parts.eventSinks->fConnectControlSinks();

    // 18. Menu shortcuts, then the menus' pictures and theme component.
    m_parts.menuDecoration->fBuildIdArray();
    m_parts.menuDecoration->fLoadMenuIcons();

    // 19. The default game for the moment, then the settings.
    m_state.m_activeGame = &m_state.m_games[static_cast<size_t>(m_parts.gameSelection->fDefaultModIndex())];
    int32_t game = 0;
    bool minimizerEnabled = false;
    QString minimizerHotkey;
    m_parts.settings->fReadSettings(game, minimizerEnabled, minimizerHotkey);

    // 20. Camera modes, then the game of the settings.
    m_parts.cameraModes->fFillCamModeTexts();
    m_parts.gameSelection->ClearActiveGame();
    m_parts.gameSelection->fApplyGameToGui(game, false);

    // 21. The page of the selected tab.
    m_parts.layout->fSelectTabPage(-1);

    // 22, 23. Preview pictures, view cursors.
    fLoadPreviewPictures();
    fLoadViewCursors();

    // 24, 25. Caption, numeric text boxes.
    fUpdateCaption(QString());
    fRegisterTextboxes();

    // 26. The record-frame settings only with the start-up switch.
    if (fHasRecordFrameSwitch())
        m_widgets.fraSRecordFrameSettings->setVisible(true);

    // 28. The game minimizer's hot key.
    m_parts.gameMinimizer->fFillMinimizerHotkeys(minimizerHotkey);
    m_widgets.chkGMinimizerEnabled->setChecked(minimizerEnabled);

    // 29. The project of the command line, or a new one.
    if (!projectPath.isEmpty())
        m_parts.projectCommands->fOpenProject(projectPath);
    else
        m_parts.projectCommands->fNewProject(false);

    // 30.
    m_state.m_loaded = true;
}

void FrmMain::fCreateSubclasses()
{
    m_demoSink = Com::ComPtr<SubclassSink>::Attach(new SubclassSink);
    m_demoSink->onMouseDown = [this](int32_t& button, int32_t& keys, int32_t x, int32_t y, bool& handled) {
        m_parts.demoSelection->txtDemoSc_MouseDown(button, keys, x, y, handled);
    };
    m_controls.txtDemoSc = MakeSubclass(m_widgets.txtDemo, m_demoSink.Get());
    if (m_controls.txtDemoSc)
        m_controls.txtDemoSc->SetMouseDown(true);

    m_tabSink = Com::ComPtr<SubclassSink>::Attach(new SubclassSink);
    m_tabSink->onMouseDown = [this](int32_t& button, int32_t& keys, int32_t x, int32_t y, bool& handled) {
        m_parts.layout->tabControlSc_MouseDown(button, keys, x, y, handled);
    };
    m_controls.tabControlSc = MakeSubclass(m_widgets.tabControl->tabBar(), m_tabSink.Get());
    if (m_controls.tabControlSc)
        m_controls.tabControlSc->SetMouseDown(true);

    m_formSink = Com::ComPtr<SubclassSink>::Attach(new SubclassSink);
    m_formSink->onResizing = [this](int16_t& minX, int16_t& maxX, int16_t& minY, int16_t& maxY) {
        m_parts.layout->FormSc_Resizing(minX, maxX, minY, maxY);
    };
    m_formSink->onMenuChar = [this](bool& handled, int32_t& result, int16_t key, int32_t type, intptr_t menu) {
        FormSc_MenuChar(handled, result, key, type, menu);
    };
    // The game minimizer's hot key.
    m_formSink->onHotKeyPressed = [this](int32_t modifiers, int32_t key) {
        RunHandler(m_context, [&] { m_parts.gameMinimizer->FormSc_HotKeyPressed(modifiers, key); });
    };
    m_controls.FormSc = MakeSubclass(this, m_formSink.Get());
    if (m_controls.FormSc) {
        m_controls.FormSc->SetResizing(true);
        m_controls.FormSc->SetMenuChar(true);
    }
    if (m_services.makeHotKeys)
        m_controls.m_hotKeys = m_services.makeHotKeys(m_controls.FormSc.Get());
}

void FrmMain::fLoadPreviewPictures()
{
    m_state.m_playPicture = ResourcePicture("IDB_PVWPLAY");
    m_state.m_stopPicture = ResourcePicture("IDB_PVWSTOP");
    QIcon icon(m_state.m_playPicture);
    icon.addPixmap(m_state.m_playPicture, QIcon::Active);
    m_widgets.cmdPvwStartStop->setIcon(icon);
}

void FrmMain::fLoadViewCursors()
{
    // The keys of the image list ilsCursors and the cursors' hot spots.
    struct Key
    {
        const char* name;
        int hotX;
        int hotY;
    };
    constexpr Key keys[] = {{"arrow", 0, 0},     {"addPoint", 0, 0},   {"delPoint", 0, 0}, {"movePoint", 15, 15},
                            {"movePic", 15, 15}, {"rotateView", 15, 15}, {"zoomView", 12, 12}};
    for (size_t i = 0; i < std::size(keys); ++i) {
        const QPixmap picture(QStringLiteral(":/ruvadir/pictures/ilsCursors_%1.png").arg(QLatin1String(keys[i].name)));
        m_state.m_viewCursors[i] = QCursor(picture, keys[i].hotX, keys[i].hotY);
    }
}

void FrmMain::fRegisterTextboxes()
{
    m_controls.m_textboxHandler = std::make_unique<CTextboxHandler>();
    CTextboxHandler* handler = m_controls.m_textboxHandler.get();
    connect(handler, &CTextboxHandler::Validating, this,
            [this](QLineEdit* box, bool& cancel, bool& handled) { m_textboxHandler_Validating(box, cancel, handled); });
    connect(handler, &CTextboxHandler::Validated, this,
            [this](QLineEdit* box, bool changed) { m_textboxHandler_Validated(box, changed); });
    connect(handler, &CTextboxHandler::GotFocus, this, [this](QLineEdit* box) { m_textboxHandler_GotFocus(box); });
    connect(handler, &CTextboxHandler::LostFocus, this, [this](QLineEdit* box) { m_textboxHandler_LostFocus(box); });

    const auto group = [](const auto& boxes) { return QList<QLineEdit*>(boxes.begin(), boxes.end()); };
    handler->RegisterTextbox(group(m_widgets.txtCFixedTargets), false, false);
    m_widgets.txtCFactor->setText(StatusMessages::fFormatStatusNumber(0, 2));
    handler->RegisterTextbox(m_widgets.txtCFactor, true, false);
    handler->RegisterTextbox(m_widgets.txtCAutoRollMaxAngle, true, false);
    MControls::SetNumbersOnly(m_widgets.txtSScriptPauseInterval);
    handler->RegisterTextbox(m_widgets.txtSScriptPauseInterval, true, false);
    for (QLineEdit* box : m_widgets.txtGDemoTimes)
        MControls::SetNumbersOnly(box);
    handler->RegisterTextbox(group(m_widgets.txtGDemoTimes), false, false);
    MControls::SetNumbersOnly(m_widgets.txtTransSpeed);
    handler->RegisterTextbox(m_widgets.txtTransSpeed, true, false);
    MControls::SetNumbersOnly(m_widgets.txtSRecordFrameWidth);
    MControls::SetNumbersOnly(m_widgets.txtSRecordFrameHeight);
    MControls::SetNumbersOnly(m_widgets.txtSRecordFrameAA);
    MControls::SetReadOnly(m_widgets.txtDemo, true);
}

void FrmMain::m_textboxHandler_Validating(QLineEdit* textbox, bool& cancel, bool& handled)
{
    handled = true;
    if (textbox == m_widgets.txtTransSpeed)
        m_parts.scriptCreation->fValidateTransSpeed(cancel);
    else if (textbox == m_widgets.txtSScriptPauseInterval)
        m_parts.scriptPanel->fValidatePauseInterval(cancel);
    else if (textbox == m_widgets.txtCAutoRollMaxAngle)
        m_parts.valueTools->fValidateAutoRollMaxAngle(cancel);
    else if (textbox == m_widgets.txtCFactor)
        m_parts.valueTools->fValidateFactor(cancel);
    else
        handled = false;
}

void FrmMain::m_textboxHandler_Validated(QLineEdit* textbox, bool changed)
{
    if (textbox == m_widgets.txtCFactor) {
        // Enter hands the keyboard on to the first button; a validation on
        // the way to another control leaves it to that control.
        if (textbox->hasFocus())
            m_parts.valueTools->fFocusAddFactor();
    } else if (changed)
        m_parts.editState->fSetProjectModified(false);
}

void FrmMain::m_textboxHandler_GotFocus(QLineEdit*)
{
    m_state.m_inputEditing = true;
}

void FrmMain::m_textboxHandler_LostFocus(QLineEdit*)
{
    m_state.m_inputEditing = false;
}
