#pragma once

// The program's OpenGL view: one QWindow with the program's one rendering
// context (OpenGL 2.1 compatibility, depth buffer), placed in this widget
// with createWindowContainer. The widget, not the native window, takes the
// keyboard focus and raises the key events. It shows one of the four views
// (kinds 1, 2 and 4 flat, 8 the perspective view) of a view state, sets the
// projection, converts between window and world points, draws text from a
// bitmap font, the selection rectangle, and calls its owner's drawing
// handler.
//
// The context is made current at set-up and again before every frame, and
// stays current in between, so that the map and the curves draw into it
// from the owner's code.

#include "ComTypes.h"
#include "GLDraw.h"
#include "IOpenGLViewHandler.h"
#include "ViewProjection.h"

#include <QCursor>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>

class C3DCamera;
class CView;
class QOpenGLContext;
class QSurfaceFormat;
class QKeyEvent;
class QWindow;

class GLViewWindow;
namespace Dadavive {
class ICSubclass;
}

// The curves draw into it through GLDraw::IView.
class UCOpenGLView : public QWidget, public GLDraw::IView
{
    Q_OBJECT

public:
    static constexpr float ZNearValue = 0.1f;
    static constexpr float DefaultZFarValue = 50000.0f;
    static constexpr double DefaultScale = static_cast<double>(0.2f);

    explicit UCOpenGLView(QWidget* parent = nullptr);
    ~UCOpenGLView() override;

    // The surface the view's window asks for.
    static QSurfaceFormat SurfaceFormat();

    // Keeps the three objects (shared with the owner, not owned) and sets
    // up OpenGL. True when the view is ready; otherwise the error box has
    // told why and everything is released.
    bool Initialize(IOpenGLViewHandler* handler, CView* view, C3DCamera* camera);
    // Draws one frame: clear, identity, the handler, flush, swap. Does
    // nothing without a context, while the window is not exposed, or while
    // a frame is being drawn (a Refresh from inside GLDrawScene).
    void Refresh();
    // Releases the context and the font. True also when there was none.
    bool GLKillWindow();
    bool IsReady() const;

    CView* View() const override { return m_view; }
    void SetView(CView* view) { m_view = view; }

    double GLViewScale() const override { return m_scale; }
    void SetGLViewScale(double scale);
    double GLViewWidth() const { return m_viewWidth; }
    double GLViewHeight() const { return m_viewHeight; }
    int32_t GLViewRealWidth() const { return m_realWidth; }
    int32_t GLViewRealHeight() const { return m_realHeight; }
    float ScaleWidth() const { return static_cast<float>(width()); }
    float ScaleHeight() const { return static_cast<float>(height()); }
    float ZNear() const { return ZNearValue; }
    float DefaultZFar() const { return DefaultZFarValue; }
    // The cursor kind (0 default, 11 hourglass, 99 the custom picture).
    int32_t MousePointer() const { return m_mousePointer; }
    void SetMousePointer(int32_t kind);
    void SetMouseIcon(const QCursor& cursor);

    void UpdateProjection();
    double GL3DViewWidth() const { return 2.0 * m_nearHalfWidth; }
    void GLViewTransform(bool& keepDist0, bool& keepDist1);
    void GLPrint(const QString& text) override;
    // Results go to elements 0..2 of `result` as far as it has them.
    void WindowToWorld(float x, float y, std::span<float> result);
    void WorldToWindow(float x, float y, float z, std::span<float> result);
    void GLDrawSelectionRect2D(std::span<const float> corner1, std::span<const float> corner2);

    // What the conversions use (tests and the owner's overlay code).
    const ViewProjection::Matrix& ProjectionMatrix() const { return m_projection; }
    const ViewProjection::Matrix& ModelViewMatrix() const { return m_modelView; }
    const std::array<int32_t, 4>& Viewport() const { return m_viewport; }
    const ViewProjection::Bounds& FlatBounds() const { return m_flat; }
    double NearHalfHeight() const { return m_nearHalfHeight; }
    // The first of the 96 font lists, 0 without a font.
    uint32_t FontBase() const { return m_fontBase; }
    // The advance of a font character in pixels (0 outside 32..127).
    int GlyphAdvance(unsigned char c) const;
    QOpenGLContext* Context() const;
    QWindow* GLWindow() const;
    // Makes the view's context current; false without one.
    bool MakeCurrent();
    // True while this view's context is the current one on its window.
    bool IsCurrent() const override;

    // How the failure boxes are shown: (title, text, warning?). The
    // default is a message box; tests record them.
    using ErrorBox = std::function<void(const QString& title, const QString& text, bool warning)>;
    static void SetErrorBox(ErrorBox box);

signals:
    void KeyDown(int16_t& KeyCode, int16_t& Shift);
    void KeyPress(int16_t& KeyAscii);
    void KeyUp(int16_t& KeyCode, int16_t& Shift);
    void MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y);
    void MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y);
    void MouseMove(int16_t& Button, int16_t& Shift, float& X, float& Y);
    void MouseWheel(int32_t& Distance, int32_t& X, int32_t& Y, int32_t& Keys);

protected:
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;

private:
    friend class GLViewWindow;
    class WheelSink;

    bool GLSetupContext();
    void GLResize();
    void GLComputeViewSize();
    bool GLInitState();
    void GLCreateFont();
    void GLDeleteFont();
    void GLRenderFrame();
    void GLErrorBox(const QString& message, const QString& detail);
    void OnSurfaceGoing();
    void RaiseWheel(int32_t distance, int32_t x, int32_t y, int32_t keys);
    void RaiseKeyDown(QKeyEvent& e);
    void RaiseKeyUp(QKeyEvent& e);
    // Gives the view the keyboard for a click into it; false when the
    // widget that has it keeps it.
    bool TakeFocusFromClick();

    GLViewWindow* m_window = nullptr;
    QWidget* m_container = nullptr;
    std::unique_ptr<QOpenGLContext> m_context;
    IOpenGLViewHandler* m_handler = nullptr;
    CView* m_view = nullptr;
    C3DCamera* m_camera = nullptr;
    bool m_drawing = false;

    double m_scale = 0.0;
    int32_t m_realWidth = 0;
    int32_t m_realHeight = 0;
    double m_viewWidth = 0.0;
    double m_viewHeight = 0.0;
    std::array<int32_t, 4> m_viewport{};
    ViewProjection::Matrix m_projection = ViewProjection::Identity();
    ViewProjection::Matrix m_modelView = ViewProjection::Identity();
    ViewProjection::Bounds m_flat;
    double m_nearHalfWidth = 0.0;
    double m_nearHalfHeight = 0.0;
    int32_t m_mousePointer = 0;
    std::optional<QCursor> m_customCursor;

    uint32_t m_fontBase = 0;
    std::array<int, 96> m_glyphAdvance{};

    // The subclass object that reports the window's wheel, when the
    // subclassing library is registered; the window's own wheel events
    // stand in for it otherwise.
    Com::ComPtr<Dadavive::ICSubclass> m_subclass;
    Com::ComPtr<WheelSink> m_wheelSink;
};
