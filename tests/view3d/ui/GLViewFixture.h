#pragma once

// A view control shown on screen with a view state, a camera and a drawing
// handler of the test's own, ready to draw; and the pixels it drew.
#include "C3DCamera.h"
#include "GLFrame.h"
#include "CView.h"
#include "IOpenGLViewHandler.h"
#include "UCOpenGLView.h"

#include <QTest>

#include <functional>

// Draws what the test gives it, and counts the draws.
class DrawingHandler final : public IOpenGLViewHandler
{
public:
    std::function<void()> draw;
    int calls = 0;
    void GLDrawScene() override
    {
        ++calls;
        if (draw)
            draw();
    }
};


struct GLViewFixture
{
    DrawingHandler handler;
    CView view;
    C3DCamera camera;
    UCOpenGLView gl;

    // scale 0 keeps the control's own.
    bool Start(int kind, int w, int h, double scale = 0)
    {
        view.Initialize(kind, 0, 1, 2, 5, 1, 20, false, false, false);
        camera.Clear();
        if (scale != 0)
            gl.SetGLViewScale(scale);
        gl.resize(w, h);
        gl.show();
        if (!QTest::qWaitForWindowExposed(&gl))
            return false;
        if (!gl.Initialize(&handler, &view, &camera))
            return false;
        return QTest::qWaitForWindowExposed(gl.GLWindow());
    }
};
