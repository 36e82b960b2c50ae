#pragma once

// The members of the main window that several of its collaborators share:
// the life-cycle flags, the project's flags, and the window's shared
// objects (the game table and the active game, the curves, the four view
// states, the camera, the map object, the view cursors and the preview
// pictures). Each collaborator owns its own members besides; what stands
// here is what more than one collaborator reads or writes.

#include "C3DCamera.h"
#include "C3DCurveController.h"
#include "CGameDefinition.h"
#include "CView.h"
#include "MainServices.h"
#include "ViewDrags.h"

#include <QCursor>
#include <QPixmap>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>

struct MainState
{
    // ---- Life cycle ------------------------------------------------------
    bool m_initialized = false;
    bool m_loaded = false;
    bool m_splashUntilPaint = false;
    bool m_firstPaintDone = false;
    int32_t m_activateCount = 0;

    // ---- Project and input flags -----------------------------------------
    bool m_projectModified = false;
    bool m_loadingProject = false;
    bool m_comboGuard = false;
    bool m_inputEditing = false;
    bool m_cameraDragActive = false;
    // The name the caption shows (empty for none).
    QString m_captionName;

    // ---- Games -----------------------------------------------------------
    static constexpr int32_t GameCount = 5;
    std::array<CGameDefinition, GameCount> m_games;
    // One entry of m_games (never a copy); empty only while loading.
    CGameDefinition* m_activeGame = nullptr;

    // ---- Curves ----------------------------------------------------------
    std::unique_ptr<C3DCurveController> m_curveController;
    C3DCurve* m_mainCurve = nullptr;

    // ---- Views, camera, map ----------------------------------------------
    std::array<CView, 4> m_views;
    int32_t m_activeViewIndex = 0;
    CView* m_view = nullptr;
    C3DCamera m_camera;
    float m_moveSpeed = 1.0f;
    std::unique_ptr<IMapObject> m_map;
    // The view's pointer, drag flags and tool markers.
    ViewDrags m_drags;

    // Cursors of the view tools: 0 arrow, 1 addPoint, 2 delPoint,
    // 3 movePoint, 4 movePic, 5 rotateView, 6 zoomView.
    std::array<QCursor, 7> m_viewCursors;
    QPixmap m_playPicture;
    QPixmap m_stopPicture;

    // ---- The settings' default export folder and screenshot program -----
    QString m_defaultExportDir;
    QString m_sShotLoader;
};
