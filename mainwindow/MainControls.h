#pragma once

// The objects of the main window that handle its controls and its
// secondary windows: made while the window loads, released at close-down.

#include "CFramerateHandler.h"
#include "CRecentFile.h"
#include "CTextboxHandler.h"
#include "CVbFrameHandler.h"
#include "ComTypes.h"
#include "FrmAbout.h"
#include "FrmDemos.h"
#include "FrmGameConfigs.h"
#include "FrmGameSettings.h"
#include "FrmNotes.h"

#include <memory>

class IHotKeys;

namespace Dadavive {
class ICSubclass;
class ICSubclassEvents;
}

struct MainControls
{
    MainControls();
    ~MainControls();
    MainControls(const MainControls&) = delete;
    MainControls& operator=(const MainControls&) = delete;

    // ---- Secondary windows -------------------------------------------------
    std::unique_ptr<FrmAbout> m_aboutForm;
    std::unique_ptr<FrmNotes> m_notesForm;
    std::unique_ptr<FrmDemos> mDemosForm;
    std::unique_ptr<FrmGameConfigs> m_gameConfigsForm;
    std::unique_ptr<FrmGameSettings> m_gameSettingsForm;

    // ---- Control handlers ---------------------------------------------------
    // The edit and validation protocol of the numeric text boxes.
    std::unique_ptr<CTextboxHandler> m_textboxHandler;
    // The recent projects, in the File menu's item array mnuT_RecentFiles.
    std::unique_ptr<CRecentFile> m_recentFiles;
    // Frames enabled and disabled with their controls.
    std::unique_ptr<CVbFrameHandler> m_frameHandler;
    // The frame-rate combo box cboTFrameRate and its pop-up menu's items.
    std::unique_ptr<CFramerateHandler> mFramerateHandler;

    // ---- Subclass objects (absent when the subclassing library is) ---------
    Com::ComPtr<Dadavive::ICSubclass> FormSc;
    Com::ComPtr<Dadavive::ICSubclass> txtDemoSc;
    Com::ComPtr<Dadavive::ICSubclass> tabControlSc;
    // The hot key on FormSc.
    std::unique_ptr<IHotKeys> m_hotKeys;

    // Cancels every pending edit of the registered text boxes and of the
    // frame-rate box (each gets back its last valid text).
    void CancelPendingEdits();
};
