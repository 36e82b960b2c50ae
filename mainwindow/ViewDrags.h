#pragma once

// What the view's input shares with the tools, the camera and the scene:
// the pointer, the drag flags (at most one drag runs, guarded by
// MainState::m_cameraDragActive, each from its button press to the release
// of that button), and the markers the scene draws for the tools.

#include <array>
#include <cstdint>

struct ViewDrags
{
    // ---- The pointer ---------------------------------------------------------
    // Pixel of the last button press in the view.
    int32_t m_mouseDownX = 0;
    int32_t m_mouseDownY = 0;
    // World position of the pointer, set before every move is handled.
    std::array<float, 3> m_pointerWorld{};

    // ---- The drags, in the order a pointer move looks at them -------------
    bool m_mouseLookActive = false;      // 3D, button 1 (camera)
    bool m_selectionRectActive = false;  // tool 0, button 1
    bool m_moveSelectionActive = false;  // tool 0, button 1
    bool m_tangentDragActive = false;    // tool 2, button 1
    bool m_lookAtDragActive = false;     // tool 3, button 1
    bool m_zoomDragActive = false;       // tool 4, button 1 (zoom)
    bool m_panActive = false;            // 2D, button 2
    bool m_mouseMoveActive = false;      // 3D, button 2 (camera)
    bool m_moveControlActive = false;    // tool 1, button 1

    // ---- Held camera keys: their move component outlives a frame -----------
    bool m_sideKeyHeld = false;
    bool m_forwardKeyHeld = false;

    // ---- Markers the scene draws --------------------------------------------
    // World corners of the selection rectangle (while m_selectionRectActive).
    std::array<float, 3> m_selRectStart{};
    std::array<float, 3> m_selRectEnd{};
    // The map corner magnetizing found for the pointer (red cross).
    std::array<float, 3> m_snapPoint{};
    bool m_snapFound = false;
    bool m_snapShown = false;
    // The point being dragged (red cross).
    std::array<float, 3> m_dragMarker{};
    bool m_dragMarkerShown = false;
    // Set by the point grid when the mouse is released on it: the scene
    // marks the grid's selected points until the grid hides them again.
    bool m_showGridSelection = false;
};
