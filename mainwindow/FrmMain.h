#pragma once

// The main window of Ruvadir. It owns the controls (MainWidgets), the menus
// (MainMenus), the status bar and message boxes (StatusMessages) and the
// shared members (MainState), and composes one collaborator per group of
// its operations (MainParts), made by a MainPartsFactory; all of them reach
// the platform through MainServices.
//
// This class holds the window's life cycle: creation (the game table and
// the zoom), the load in its thirty steps, activation, the first paint,
// the close request, the deferred close and the release of everything it
// owns; the caption, the numeric text boxes and the menu key.

#include "IOpenGLViewHandler.h"
#include "MainContext.h"
#include "MainControls.h"
#include "MainMenus.h"
#include "MainParts.h"
#include "MainServices.h"
#include "MainShell.h"
#include "MainState.h"
#include "MainTexts.h"
#include "MainWidgets.h"
#include "StatusMessages.h"
#include "SubclassSink.h"

#include <QMainWindow>

#include <memory>

class QLineEdit;
class QWindow;

class FrmMain : public QMainWindow, public IOpenGLViewHandler, public IMainShell
{
public:
    // The close request's unload modes: the user (the close box, Alt+F4,
    // File > Quit) and the window's own code (the deferred close).
    static constexpr int32_t UnloadByUser = 0;
    static constexpr int32_t UnloadByCode = 1;

    // Builds the controls and the collaborators, then initializes the
    // window (Form_Initialize). A null factory makes the real collaborators.
    explicit FrmMain(MainServices services, std::unique_ptr<MainPartsFactory> factory = nullptr);
    ~FrmMain() override;

    // The load, step by step. Raises RuvError with the program's own error
    // 1 ("Initialization failed", source "Main form") when the window was
    // not initialized, and after releasing what it had made when the view
    // control cannot be set up.
    void Form_Load();

    MainWidgets& Widgets() { return m_widgets; }
    MainState& State() { return m_state; }
    MainParts& Parts() { return m_parts; }
    MainMenus& Menus() { return m_menus; }
    MainControls& Controls() { return m_controls; }
    MainTexts& Texts() { return m_texts; }
    StatusMessages& Status() { return m_status; }
    MainServices& Services() { return m_services; }
    IViewControl& ViewControl() { return *m_viewControl; }
    // True once fCloseDown has run.
    bool IsClosedDown() const { return m_closedDown; }

    // ---- Life cycle ----------------------------------------------------
    void Form_Initialize();
    // An activation of the main window; `fromOutside` tells that no window
    // of the program had the focus before (another program had it).
    void Form_Activate(bool fromOutside);
    void Form_Paint();
    // The close request; true cancels it.
    bool Form_QueryUnload(int32_t unloadMode);
    void tmrWaitForClose_Timer();
    void fCloseDown();
    void fRegisterTextboxes();
    void FormSc_MenuChar(bool& handled, int32_t& result, int16_t key, int32_t menuType, intptr_t menu);

    // ---- The numeric text boxes' handler events ---------------------------
    void m_textboxHandler_Validating(QLineEdit* textbox, bool& cancel, bool& handled);
    void m_textboxHandler_Validated(QLineEdit* textbox, bool changed);
    void m_textboxHandler_GotFocus(QLineEdit* textbox);
    void m_textboxHandler_LostFocus(QLineEdit* textbox);

    // ---- IMainShell -------------------------------------------------------
    void fUpdateCaption(const QString& projectName) override;
    void fRequestClose() override;
    void fShowUpdateCheck() override;
    void fShowNotes() override;
    // Help > About: the about box, modal, that never closes by itself.
    void fShowAbout();

    // ---- IOpenGLViewHandler -----------------------------------------------
    void GLDrawScene() override;

protected:
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QString fCommandLineProjectPath() const;
    bool fHasRecordFrameSwitch() const;
    void fCreateSubclasses();
    void fLoadViewCursors();
    void fLoadPreviewPictures();
    void OnFocusWindowChanged(QWindow* window);

    MainServices m_services;
    std::unique_ptr<MainPartsFactory> m_factory;
    MainTexts m_texts;
    MainState m_state;
    MainWidgets m_widgets;
    MainMenus m_menus;
    StatusMessages m_status;
    MainControls m_controls;
    std::unique_ptr<IViewControl> m_viewControl;
    MainParts m_parts;
    MainContext m_context;

    Com::ComPtr<SubclassSink> m_formSink;
    Com::ComPtr<SubclassSink> m_demoSink;
    Com::ComPtr<SubclassSink> m_tabSink;

    bool m_closedDown = false;
    bool m_unloadByCode = false;
    // A window of the program has the focus (kept as a flag: a window that
    // had it may be gone by the time the next one gets it).
    bool m_ownWindowFocused = false;
};
