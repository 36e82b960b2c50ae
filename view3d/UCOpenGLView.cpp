#include "UCOpenGLView.h"

#include "C3DCamera.h"
#include "CView.h"
#include "ComClient.h"
#include "Dadavive.h"
#include "DadaviveKeys.h"
#include "GLDraw.h"
#include "X11KeyRepeat.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QPainter>
#include <QPlatformSurfaceEvent>
#include <QResizeEvent>
#include <QWheelEvent>
#include <QWindow>

#include <GL/gl.h>

#include <cmath>
#include <stdexcept>
#include <vector>

namespace {

UCOpenGLView::ErrorBox& ErrorBoxFn()
{
    static UCOpenGLView::ErrorBox box;
    return box;
}

void ShowBox(const QString& title, const QString& text, bool warning)
{
    if (ErrorBoxFn()) {
        ErrorBoxFn()(title, text, warning);
        return;
    }
    if (warning)
        QMessageBox::warning(nullptr, title, text);
    else
        QMessageBox::information(nullptr, title, text);
}

int16_t ShiftFlags(Qt::KeyboardModifiers m)
{
    int16_t s = 0;
    if (m & Qt::ShiftModifier)
        s |= 1;
    if (m & Qt::ControlModifier)
        s |= 2;
    if (m & Qt::AltModifier)
        s |= 4;
    return s;
}

int16_t ButtonFlags(Qt::MouseButtons b)
{
    int16_t r = 0;
    if (b & Qt::LeftButton)
        r |= 1;
    if (b & Qt::RightButton)
        r |= 2;
    if (b & Qt::MiddleButton)
        r |= 4;
    return r;
}

int32_t RoundHalfEven(double v)
{
    return static_cast<int32_t>(std::nearbyint(v));
}

}  // namespace

// The native window holding the context. It never takes the keyboard:
// the control widget does (see the constructor), so the mouse comes here and
// the keys go there.
class GLViewWindow final : public QWindow
{
public:
    explicit GLViewWindow(UCOpenGLView* view) : m_view(view)
    {
        setSurfaceType(QSurface::OpenGLSurface);
        setFormat(UCOpenGLView::SurfaceFormat());
        setFlag(Qt::WindowDoesNotAcceptFocus);
    }

    bool subclassWheel = false;
    // The control is going: no more calls into it.
    void Forget() { m_view = nullptr; }

protected:
    void exposeEvent(QExposeEvent*) override
    {
        if (isExposed() && m_view)
            m_view->Refresh();
    }
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::PlatformSurface
            && static_cast<QPlatformSurfaceEvent*>(e)->surfaceEventType()
                   == QPlatformSurfaceEvent::SurfaceAboutToBeDestroyed
            && m_view)
            m_view->OnSurfaceGoing();
        if (e->type() == QEvent::UpdateRequest && m_view)
            m_view->Refresh();
        return QWindow::event(e);
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        // A click gives the control the keyboard first, as a click on any
        // widget does. When the control that had it refuses to let it go
        // (a value that does not validate), the click does nothing.
        const Qt::MouseButton button = e->button();
        // A press whose release never came (a modal box had the mouse then)
        // drops nothing of this click.
        m_droppedButtons &= ~button;
        m_deciding |= button;
        const bool taken = !m_view || m_view->TakeFocusFromClick();
        // A message box shown meanwhile runs events, and the release can
        // come while the press is still being decided: that click is over
        // before it could act, and nothing of it acts.
        const bool released = !(m_deciding & button);
        m_deciding &= ~button;
        if (released)
            return;
        if (!taken) {
            m_droppedButtons |= button;
            return;
        }
        Mouse(e, &UCOpenGLView::MouseDown, button);
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (m_deciding & e->button()) {
            m_deciding &= ~e->button();
            return;
        }
        if (m_droppedButtons & e->button()) {
            m_droppedButtons &= ~e->button();
            return;
        }
        Mouse(e, &UCOpenGLView::MouseUp, e->button());
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override { mousePressEvent(e); }
    void mouseMoveEvent(QMouseEvent* e) override { Mouse(e, &UCOpenGLView::MouseMove, e->buttons()); }
    // Keys sent to the native window itself take the control's own way.
    void keyPressEvent(QKeyEvent* e) override
    {
        if (m_view)
            m_view->RaiseKeyDown(*e);
    }
    void keyReleaseEvent(QKeyEvent* e) override
    {
        if (m_view)
            m_view->RaiseKeyUp(*e);
    }
    void wheelEvent(QWheelEvent* e) override
    {
        // With the subclass object the hook raises the wheel; this is the
        // same packing for a program without the library.
        if (subclassWheel || !m_view)
            return;
        int32_t keys = 0;
        if (e->modifiers() & Qt::ShiftModifier)
            keys |= Dadavive::MK_SHIFT;
        if (e->modifiers() & Qt::ControlModifier)
            keys |= Dadavive::MK_CONTROL;
        if (e->buttons() & Qt::LeftButton)
            keys |= Dadavive::MK_LBUTTON;
        if (e->buttons() & Qt::RightButton)
            keys |= Dadavive::MK_RBUTTON;
        if (e->buttons() & Qt::MiddleButton)
            keys |= Dadavive::MK_MBUTTON;
        const QPoint g = e->globalPosition().toPoint();
        m_view->RaiseWheel(RoundHalfEven(static_cast<int16_t>(e->angleDelta().y()) / 120.0), g.x(), g.y(), keys);
    }

private:
    using MouseSignal = void (UCOpenGLView::*)(int16_t&, int16_t&, float&, float&);
    template <class B>
    void Mouse(QMouseEvent* e, MouseSignal signal, B buttons)
    {
        if (!m_view)
            return;
        int16_t button = ButtonFlags(buttons);
        int16_t shift = ShiftFlags(e->modifiers());
        float x = static_cast<float>(e->position().x());
        float y = static_cast<float>(e->position().y());
        emit(m_view->*signal)(button, shift, x, y);
    }

    QPointer<UCOpenGLView> m_view;
    Qt::MouseButtons m_droppedButtons;
    // The presses being decided (the focus change of their click runs).
    Qt::MouseButtons m_deciding;
};

class UCOpenGLView::WheelSink final : public Dadavive::SubclassEventsBase
{
public:
    explicit WheelSink(UCOpenGLView* view) : m_view(view) {}
    void MouseWheel(int32_t& Distance, int32_t& X, int32_t& Y, int32_t& Keys) override
    {
        if (m_view)
            emit m_view->MouseWheel(Distance, X, Y, Keys);
    }

private:
    QPointer<UCOpenGLView> m_view;
};

QSurfaceFormat UCOpenGLView::SurfaceFormat()
{
    // 2.1 compatibility: immediate mode and display lists.
    QSurfaceFormat fmt;
    fmt.setVersion(2, 1);
    fmt.setProfile(QSurfaceFormat::CompatibilityProfile);
    fmt.setDepthBufferSize(24);
    fmt.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    return fmt;
}

UCOpenGLView::UCOpenGLView(QWidget* parent) : QWidget(parent)
{
    // The keyboard belongs to this widget, never to the native window inside
    // it: Qt then knows the view has it, so the controls that validate or
    // close an edit when they lose the keyboard see it go, and setFocus()
    // gives the view its keys.
    setFocusPolicy(Qt::StrongFocus);
    m_window = new GLViewWindow(this);
    m_container = QWidget::createWindowContainer(m_window, this);
    m_container->setFocusPolicy(Qt::NoFocus);
    m_container->setFocusProxy(this);
    m_container->setGeometry(rect());
    // A held movement key flies until it goes up. X repeats it as a release
    // and a press, and Qt marks such a release only when the press is
    // already queued behind it, which a busy program does not see in time:
    // the server is asked for repeated presses alone. The flag is the
    // connection's, set once for the program.
    static const bool detectableRepeat = PlatformX11::UseDetectableAutoRepeat();
    Q_UNUSED(detectableRepeat);

    Com::ComPtr<Dadavive::ICSubclass> sc;
    if (Com::Succeeded(Com::CreateInstance(Dadavive::CLSID_CSubclass, sc)) && sc) {
        m_wheelSink = Com::ComPtr<WheelSink>::Attach(new WheelSink(this));
        sc->SetEvents(m_wheelSink.Get());
        if (Com::Succeeded(sc->Init(m_window))) {
            sc->SetMouseWheel(true);
            m_window->subclassWheel = true;
            m_subclass = sc;
        } else {
            sc->Terminate();
        }
    }
}

UCOpenGLView::~UCOpenGLView()
{
    if (m_subclass) {
        m_subclass->Terminate();
        m_subclass = nullptr;
    }
    GLKillWindow();
    // The container destroys the window after this body has run.
    m_window->Forget();
}

void UCOpenGLView::SetErrorBox(ErrorBox box)
{
    ErrorBoxFn() = std::move(box);
}

QOpenGLContext* UCOpenGLView::Context() const
{
    return m_context.get();
}

QWindow* UCOpenGLView::GLWindow() const
{
    return m_window;
}

bool UCOpenGLView::IsReady() const
{
    return m_context != nullptr;
}

bool UCOpenGLView::MakeCurrent()
{
    return m_context && m_window && m_window->handle() && m_context->makeCurrent(m_window);
}

bool UCOpenGLView::IsCurrent() const
{
    return m_context && m_window && QOpenGLContext::currentContext() == m_context.get()
           && m_context->surface() == m_window;
}

void UCOpenGLView::SetMousePointer(int32_t kind)
{
    m_mousePointer = kind;
    switch (kind) {
    case 11: m_container->setCursor(Qt::WaitCursor); m_window->setCursor(Qt::WaitCursor); break;
    case 99:
        if (m_customCursor) {
            m_container->setCursor(*m_customCursor);
            m_window->setCursor(*m_customCursor);
        }
        break;
    default: m_container->unsetCursor(); m_window->unsetCursor(); break;
    }
}

void UCOpenGLView::SetMouseIcon(const QCursor& cursor)
{
    m_customCursor = cursor;
    if (m_mousePointer == 99)
        SetMousePointer(99);
}

bool UCOpenGLView::Initialize(IOpenGLViewHandler* handler, CView* view, C3DCamera* camera)
{
    m_handler = handler;
    m_view = view;
    m_camera = camera;
    try {
        return GLSetupContext();
    } catch (...) {
        GLKillWindow();
        return false;
    }
}

void UCOpenGLView::GLErrorBox(const QString& message, const QString& detail)
{
    QString text = message;
    if (!detail.isEmpty())
        text += QStringLiteral("\r\n\r\n") + detail;
    ShowBox(QStringLiteral("OpenGL Error"), text, true);
}

bool UCOpenGLView::GLSetupContext()
{
    const QString platform = QGuiApplication::platformName();
    auto fail = [this](const QString& message, const QString& detail) {
        GLKillWindow();
        GLErrorBox(message, detail);
        return false;
    };
    m_window->create();
    if (!m_window->handle())
        return fail(QStringLiteral("Can't find a suitable PixelFormat."),
                    QStringLiteral("The display platform \"%1\" gives no window.").arg(platform));
    if (!m_window->supportsOpenGL())
        return fail(QStringLiteral("Can't set the PixelFormat."),
                    QStringLiteral("The display platform \"%1\" has no OpenGL windows.").arg(platform));
    auto context = std::make_unique<QOpenGLContext>();
    context->setFormat(m_window->requestedFormat());
    if (!context->create())
        return fail(QStringLiteral("Can't create a GL rendering context."),
                    QStringLiteral("No OpenGL 2.1 compatibility context on \"%1\".").arg(platform));
    m_context = std::move(context);
    if (!m_context->makeCurrent(m_window))
        return fail(QStringLiteral("Can't activate the OpenGL rendering context."), QString());
    try {
        GLResize();
    } catch (const std::exception& e) {
        return fail(QStringLiteral("Cannot set the OpenGL view size."), QString::fromLocal8Bit(e.what()));
    }
    if (!GLInitState())
        return fail(QStringLiteral("OpenGL settings initialization failed."), QString());
    GLCreateFont();
    return true;
}

bool UCOpenGLView::GLInitState()
{
    glShadeModel(GL_FLAT);
    glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
    glClearDepth(1.0);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    glEnable(GL_POINT_SMOOTH);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    glCullFace(GL_FRONT);
    glEnable(GL_CULL_FACE);
    return glGetError() == GL_NO_ERROR;
}

void UCOpenGLView::GLCreateFont()
{
    GLDeleteFont();
    const GLuint base = glGenLists(96);
    if (base == 0)
        return;
    m_fontBase = base;
    QFont font;
    font.setPixelSize(10);
    font.setBold(true);
    font.setStyleStrategy(QFont::NoAntialias);
    const QFontMetrics fm(font);
    const int height = std::max(1, fm.height());
    GLint oldAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &oldAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int i = 0; i < 96; ++i) {
        const QChar ch(static_cast<char16_t>(32 + i));
        const int advance = fm.horizontalAdvance(ch);
        m_glyphAdvance[static_cast<size_t>(i)] = advance;
        const int width = std::max(1, std::max(advance, fm.boundingRect(ch).right() + 1));
        QImage img(width, height, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        {
            QPainter p(&img);
            p.setFont(font);
            p.setPen(Qt::black);
            p.drawText(0, fm.ascent(), QString(ch));
        }
        const int rowBytes = (width + 7) / 8;
        std::vector<GLubyte> bits(static_cast<size_t>(rowBytes * height), 0);
        bool any = false;
        for (int y = 0; y < height; ++y) {
            // glBitmap rows run from the bottom up.
            GLubyte* row = bits.data() + static_cast<size_t>((height - 1 - y) * rowBytes);
            const QRgb* src = reinterpret_cast<const QRgb*>(img.constScanLine(y));
            for (int x = 0; x < width; ++x)
                if (qAlpha(src[x]) >= 128) {
                    row[x / 8] |= static_cast<GLubyte>(0x80 >> (x % 8));
                    any = true;
                }
        }
        glNewList(base + static_cast<GLuint>(i), GL_COMPILE);
        if (any)
            glBitmap(width, height, 0.0f, static_cast<float>(fm.descent()), static_cast<float>(advance), 0.0f,
                     bits.data());
        else {
            // Mesa draws no blank glyph of zero size: a 1x1 empty bitmap
            // carries the advance.
            const GLubyte empty = 0;
            glBitmap(1, 1, 0.0f, 0.0f, static_cast<float>(advance), 0.0f, &empty);
        }
        glEndList();
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, oldAlignment);
}

void UCOpenGLView::GLDeleteFont()
{
    if (m_fontBase != 0) {
        if (QOpenGLContext::currentContext() == m_context.get() && m_context)
            glDeleteLists(m_fontBase, 96);
        m_fontBase = 0;
    }
}

int UCOpenGLView::GlyphAdvance(unsigned char c) const
{
    if (c < 32 || c > 127 || m_fontBase == 0)
        return 0;
    return m_glyphAdvance[static_cast<size_t>(c - 32)];
}

void UCOpenGLView::OnSurfaceGoing()
{
    // The container destroys the native window before this control's
    // destructor runs: free the GL objects while the surface still exists.
    if (m_context && m_window && m_context->makeCurrent(m_window))
        GLDeleteFont();
    m_fontBase = 0;
}

bool UCOpenGLView::GLKillWindow()
{
    if (!m_context)
        return true;
    if (m_window && m_window->handle())
        m_context->makeCurrent(m_window);
    GLDeleteFont();
    m_context->doneCurrent();
    m_context.reset();
    return true;
}

void UCOpenGLView::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    m_container->setGeometry(rect());
    GLResize();
}

void UCOpenGLView::GLResize()
{
    m_realWidth = RoundHalfEven(static_cast<double>(ScaleWidth()));
    m_realHeight = RoundHalfEven(static_cast<double>(ScaleHeight()));
    m_viewport = {0, 0, m_realWidth, m_realHeight};
    if (MakeCurrent()) {
        const qreal dpr = m_window->devicePixelRatio();
        glViewport(0, 0, static_cast<GLsizei>(m_realWidth * dpr), static_cast<GLsizei>(m_realHeight * dpr));
    }
    if (m_scale == 0.0)
        m_scale = DefaultScale;
    GLComputeViewSize();
    UpdateProjection();
}

void UCOpenGLView::SetGLViewScale(double scale)
{
    m_scale = scale;
    GLComputeViewSize();
}

void UCOpenGLView::GLComputeViewSize()
{
    // A zoom of 0 (or worse) would make the view endless: the sizes stay.
    if (!(m_scale > 0.0) || !std::isfinite(m_scale))
        return;
    m_viewWidth = m_realWidth / m_scale;
    m_viewHeight = m_realHeight / m_scale;
}

void UCOpenGLView::UpdateProjection()
{
    if (!m_view || !m_camera)
        return;
    const bool current = m_context && QOpenGLContext::currentContext() == m_context.get();
    const int32_t kind = m_view->ViewFlag();
    if (kind == CView::View3D) {
        const auto half = ViewProjection::PerspectiveHalf(m_realWidth, m_realHeight, m_camera->Fov(), ZNearValue);
        m_nearHalfWidth = half.width;
        m_nearHalfHeight = half.height;
        if (current && half.width > 0 && half.height > 0) {
            glMatrixMode(GL_PROJECTION);
            glLoadIdentity();
            glFrustum(-half.width, half.width, -half.height, half.height, ZNearValue, m_camera->ZFar());
            glMatrixMode(GL_MODELVIEW);
        }
        return;
    }
    const auto bounds = ViewProjection::FlatBounds(m_viewWidth, m_viewHeight, m_view->CurrentOrigin(1),
                                                   m_view->CurrentOrigin(2));
    // A window of no size has no projection: the last one stays.
    if (!(bounds.maxH > bounds.minH) || !(bounds.maxV > bounds.minV))
        return;
    m_flat = bounds;
    m_projection = ViewProjection::Ortho(bounds.minH, bounds.maxH, bounds.minV, bounds.maxV, -25000.0, 25000.0);
    if (current) {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(bounds.minH, bounds.maxH, bounds.minV, bounds.maxV, -25000.0, 25000.0);
        glGetDoublev(GL_PROJECTION_MATRIX, m_projection.data());
        glMatrixMode(GL_MODELVIEW);
    }
}

void UCOpenGLView::GLViewTransform(bool& keepDist0, bool& keepDist1)
{
    if (!m_view)
        return;
    const int32_t kind = m_view->ViewFlag();
    const bool current = m_context && QOpenGLContext::currentContext() == m_context.get();
    if (kind == CView::View3D) {
        if (m_camera && current)
            m_camera->Tanslate(keepDist0, keepDist1);
        return;
    }
    const ViewProjection::Matrix r = ViewProjection::FlatRotation(kind);
    if (current) {
        glMultMatrixd(r.data());
        glGetDoublev(GL_MODELVIEW_MATRIX, m_modelView.data());
    } else {
        m_modelView = r;
    }
}

void UCOpenGLView::GLPrint(const QString& text)
{
    if (m_fontBase == 0 || text.isEmpty() || !m_context || QOpenGLContext::currentContext() != m_context.get())
        return;
    // Only characters 32 to 127 have a glyph: others are left out rather
    // than calling whatever list they would map to.
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar c : text)
        if (c.unicode() >= 32 && c.unicode() <= 127)
            bytes.append(static_cast<char>(c.unicode()));
    if (bytes.isEmpty())
        return;
    glPushAttrib(GL_LIST_BIT);
    glListBase(m_fontBase - 32);
    glCallLists(static_cast<GLsizei>(bytes.size()), GL_UNSIGNED_BYTE, bytes.constData());
    glPopAttrib();
}

void UCOpenGLView::WindowToWorld(float x, float y, std::span<float> result)
{
    const double wy = static_cast<double>(m_realHeight) - y;
    double out[3] = {0, 0, 0};
    if (!ViewProjection::UnProject(x, wy, 0.0, m_modelView, m_projection, m_viewport, out))
        return;
    for (size_t i = 0; i < 3 && i < result.size(); ++i)
        result[i] = static_cast<float>(out[i]);
}

void UCOpenGLView::WorldToWindow(float x, float y, float z, std::span<float> result)
{
    double out[3] = {0, 0, 0};
    if (!ViewProjection::Project(x, y, z, m_modelView, m_projection, m_viewport, out))
        return;
    for (size_t i = 0; i < 3 && i < result.size(); ++i)
        result[i] = static_cast<float>(out[i]);
}

void UCOpenGLView::GLDrawSelectionRect2D(std::span<const float> c1, std::span<const float> c2)
{
    if (!m_view || c1.size() < 3 || c2.size() < 3)
        return;
    static constexpr uint16_t patterns[2] = {0xAAAA, 0x5555};
    static constexpr float colours[2] = {0.0f, 1.0f};
    const int32_t kind = m_view->ViewFlag();
    const float x1 = c1[0], y1 = c1[1], z1 = c1[2];
    const float x2 = c2[0], y2 = c2[1], z2 = c2[2];
    GLDraw::ITarget& gl = GLDraw::Current();
    gl.Enable(GLDraw::LINE_STIPPLE);
    for (int pass = 0; pass < 2; ++pass) {
        gl.LineStipple(4, patterns[pass]);
        gl.Color3f(colours[pass], colours[pass], colours[pass]);
        gl.Begin(GLDraw::LINE_LOOP);
        switch (kind) {
        case CView::ViewXY:
            gl.Vertex2f(x1, y2);
            gl.Vertex2f(x2, y2);
            gl.Vertex2f(x2, y1);
            gl.Vertex2f(x1, y1);
            break;
        case CView::ViewXZ:
            gl.Vertex3f(x1, 0, z2);
            gl.Vertex3f(x2, 0, z2);
            gl.Vertex3f(x2, 0, z1);
            gl.Vertex3f(x1, 0, z1);
            break;
        case CView::ViewYZ:
            gl.Vertex3f(0, y1, z2);
            gl.Vertex3f(0, y2, z2);
            gl.Vertex3f(0, y2, z1);
            gl.Vertex3f(0, y1, z1);
            break;
        default:
            break;
        }
        gl.End();
    }
    gl.Disable(GLDraw::LINE_STIPPLE);
}

void UCOpenGLView::Refresh()
{
    if (!m_context || m_drawing || !m_window || !m_window->isExposed())
        return;
    if (!m_context->makeCurrent(m_window))
        return;
    struct Guard
    {
        bool& flag;
        explicit Guard(bool& f) : flag(f) { flag = true; }
        ~Guard() { flag = false; }
    } guard(m_drawing);
    GLRenderFrame();
}

void UCOpenGLView::GLRenderFrame()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    if (m_handler)
        m_handler->GLDrawScene();
    glFlush();
    m_context->swapBuffers(m_window);
}

bool UCOpenGLView::TakeFocusFromClick()
{
    // Without a window manager nothing activates the window on a click.
    if (!isActiveWindow())
        activateWindow();
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    // The window's own focus widget tells, whether the window is active or
    // not: an inactive window records the view and hands it the focus when
    // it becomes active, and a refusal puts the widget that had it back.
    // A refusal's message box leaves the window inactive for as long as
    // the window manager takes to activate it again, so activation says
    // nothing about the click.
    return window()->focusWidget() == this;
}

void UCOpenGLView::keyPressEvent(QKeyEvent* e)
{
    RaiseKeyDown(*e);
}

void UCOpenGLView::keyReleaseEvent(QKeyEvent* e)
{
    RaiseKeyUp(*e);
}

void UCOpenGLView::RaiseKeyDown(QKeyEvent& e)
{
    int16_t code = static_cast<int16_t>(Dadavive::VirtualKeyFromQt(e.key(), e.modifiers()));
    int16_t shift = ShiftFlags(e.modifiers());
    emit KeyDown(code, shift);
    for (QChar c : e.text()) {
        if (c.unicode() == 0 || c.unicode() > 255)
            continue;
        int16_t ascii = static_cast<int16_t>(c.unicode());
        emit KeyPress(ascii);
    }
    e.accept();
}

void UCOpenGLView::RaiseKeyUp(QKeyEvent& e)
{
    // Where the server cannot repeat presses alone, X repeats a held key as
    // a release and a press: the key is still down, and only its repeated
    // press is an event (as KeyDown again).
    if (e.isAutoRepeat()) {
        e.accept();
        return;
    }
    int16_t code = static_cast<int16_t>(Dadavive::VirtualKeyFromQt(e.key(), e.modifiers()));
    int16_t shift = ShiftFlags(e.modifiers());
    emit KeyUp(code, shift);
    e.accept();
}

void UCOpenGLView::RaiseWheel(int32_t distance, int32_t x, int32_t y, int32_t keys)
{
    emit MouseWheel(distance, x, y, keys);
}
