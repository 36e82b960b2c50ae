// A look at the OpenGL view: one view control showing the four view kinds
// (keys 1 to 4 or the buttons), a small test scene, a camera path and,
// when a map is given, the map.
//
//   viewdemo [MAP.bsp | FOLDER]
//   viewdemo --self-test [--screenshots DIR] [MAP.bsp | FOLDER]
//
// A folder stands for the first map in it (by name). In 2D views the left
// button pans and the wheel zooms; in the 3D view the left button turns
// the camera and the wheel changes the field of view. --self-test draws one
// frame of each view kind, saves it as viewdemo-<kind>.png when asked, and
// exits 0 when every frame shows something on the white background, each
// different from the others (77 when a folder holds no map).

#include "C3DCamera.h"
#include "C3DCurve.h"
#include "CBSP.h"
#include "CView.h"
#include "ControlRecord.h"
#include "Dorado.h"
#include "MOGLHelper.h"
#include "UCOpenGLView.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

struct Kind
{
    int32_t flag;
    const char* name;   // file names
    const char* title;  // buttons
};
constexpr std::array<Kind, 4> kKinds{{
    {CView::ViewXY, "xy", "Top (x/y)"},
    {CView::ViewXZ, "xz", "Front (x/z)"},
    {CView::ViewYZ, "yz", "Side (y/z)"},
    {CView::View3D, "3d", "3D"},
}};

class Demo final : public QWidget, public IOpenGLViewHandler
{
public:
    Demo()
    {
        setWindowTitle(QStringLiteral("viewdemo"));
        auto* layout = new QVBoxLayout(this);
        auto* bar = new QHBoxLayout;
        auto* group = new QButtonGroup(this);
        for (size_t k = 0; k < kKinds.size(); ++k) {
            auto* b = new QPushButton(QString::fromLatin1(kKinds[k].title), this);
            b->setCheckable(true);
            b->setFocusPolicy(Qt::NoFocus);
            group->addButton(b, static_cast<int>(k));
            bar->addWidget(b);
        }
        group->button(0)->setChecked(true);
        bar->addStretch();
        layout->addLayout(bar);
        m_gl = new UCOpenGLView(this);
        m_gl->setMinimumSize(320, 240);
        layout->addWidget(m_gl, 1);
        connect(group, &QButtonGroup::idClicked, this, [this](int id) { ShowKind(static_cast<size_t>(id)); });
        m_group = group;

        // The 2D views show the axes the main window gives them.
        m_views[0].Initialize(CView::ViewXY, 0, 1, 2, 5, 1, 20, true, true, false);
        m_views[1].Initialize(CView::ViewXZ, 0, 2, 1, 5, 1, 20, true, true, false);
        m_views[2].Initialize(CView::ViewYZ, 1, 2, 0, 5, 1, 20, true, true, false);
        m_views[3].Initialize(CView::View3D, 0, 1, 2, 5, 1, 20, false, false, false);
        m_camera.Clear();
        MakeCurve();

        connect(m_gl, &UCOpenGLView::MouseDown, this, [this](int16_t& button, int16_t&, float& x, float& y) {
            m_dragging = (button & 1) != 0;
            m_last = {x, y};
        });
        connect(m_gl, &UCOpenGLView::MouseUp, this, [this](int16_t&, int16_t&, float&, float&) { m_dragging = false; });
        connect(m_gl, &UCOpenGLView::MouseMove, this, [this](int16_t&, int16_t&, float& x, float& y) {
            if (m_dragging)
                Drag(x - m_last[0], y - m_last[1]);
            m_last = {x, y};
        });
        connect(m_gl, &UCOpenGLView::MouseWheel, this,
                [this](int32_t& distance, int32_t&, int32_t&, int32_t&) { Wheel(distance); });
        connect(m_gl, &UCOpenGLView::KeyDown, this, [this](int16_t& code, int16_t&) {
            if (code >= '1' && code <= '4')
                SelectKind(static_cast<size_t>(code - '1'));
        });
    }

    bool Start()
    {
        if (!m_gl->Initialize(this, &m_views[0], &m_camera))
            return false;
        m_gl->SetGLViewScale(1.0);
        ShowKind(0);
        return true;
    }

    bool LoadMap(const QString& path)
    {
        auto bsp = Com::ComPtr<Dorado::IBSP>::Attach(new Dorado::CBSP());
        m_gl->MakeCurrent();
        if (!bsp->Load(path, 4))
            return false;
        m_map = bsp;
        Dorado::MapBounds b{};
        if (m_map->GetBounds(b)) {
            const float c[3] = {(b[0][0] + b[0][1]) / 2, (b[1][0] + b[1][1]) / 2, (b[2][0] + b[2][1]) / 2};
            for (CView& v : m_views) {
                if (v.Is3D())
                    continue;
                v.SetCurrentOrigin(1, c[v.HAxis()]);
                v.SetCurrentOrigin(2, c[v.VAxis()]);
            }
            const float size = std::max({b[0][1] - b[0][0], b[1][1] - b[1][0], 1.0f});
            m_gl->SetGLViewScale(std::max(0.05, 0.8 * m_gl->GLViewRealWidth() / size));
            PlaceCamera({b[0][0], b[1][0], b[2][1]}, {c[0], c[1], c[2]});
        }
        setWindowTitle(QStringLiteral("viewdemo - %1").arg(QFileInfo(path).fileName()));
        ShowKind(m_kind);
        return true;
    }

    void SelectKind(size_t k)
    {
        m_group->button(static_cast<int>(k))->setChecked(true);
        ShowKind(k);
    }

    // Draws one frame of the current kind and gives it back as an image.
    QImage Capture()
    {
        m_capture = QImage();
        m_wantCapture = true;
        m_gl->Refresh();
        m_wantCapture = false;
        return m_capture;
    }

    UCOpenGLView* View() const { return m_gl; }

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        if (e->key() >= Qt::Key_1 && e->key() <= Qt::Key_4)
            SelectKind(static_cast<size_t>(e->key() - Qt::Key_1));
        else
            QWidget::keyPressEvent(e);
    }

private:
    void GLDrawScene() override
    {
        bool keep0 = false, keep1 = false;
        m_gl->GLViewTransform(keep0, keep1);
        if (m_map) {
            m_map->FrustumUpdate();
            m_map->CalculateVisibleFaces(m_camera.GamePos(0), m_camera.GamePos(1), m_camera.GamePos(2));
            m_map->Draw();
        }
        DrawScene();
        m_curve.DrawCurve(*m_gl);
        if (m_wantCapture)
            ReadBack();
    }

    // Axes and a box around the origin, so that each view shows where it
    // looks from.
    void DrawScene()
    {
        glLineWidth(2.0f);
        glColor3f(0.8f, 0.1f, 0.1f);
        MOGLHelper::GLDrawVector(0, 0, 0, 200, 0, 0);
        glColor3f(0.1f, 0.6f, 0.1f);
        MOGLHelper::GLDrawVector(0, 0, 0, 0, 200, 0);
        glColor3f(0.1f, 0.1f, 0.8f);
        MOGLHelper::GLDrawVector(0, 0, 0, 0, 0, 200);
        glLineWidth(1.0f);
        glColor3f(0.5f, 0.5f, 0.5f);
        const float s = 64;
        for (int a = 0; a < 3; ++a)
            for (int i = 0; i < 4; ++i) {
                float p[3];
                p[a] = -s;
                p[(a + 1) % 3] = (i & 1) ? s : -s;
                p[(a + 2) % 3] = (i & 2) ? s : -s;
                float d[3] = {0, 0, 0};
                d[a] = 2 * s;
                MOGLHelper::GLDrawVector(p[0], p[1], p[2], d[0], d[1], d[2]);
            }
        glColor3f(0.2f, 0.2f, 0.2f);
        MOGLHelper::GLDrawCross(0, 0, 0, 32);
    }

    void ReadBack()
    {
        const qreal dpr = m_gl->GLWindow()->devicePixelRatio();
        const int w = static_cast<int>(m_gl->GLViewRealWidth() * dpr);
        const int h = static_cast<int>(m_gl->GLViewRealHeight() * dpr);
        if (w <= 0 || h <= 0)
            return;
        QImage img(w, h, QImage::Format_RGBA8888);
        glFinish();
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, img.bits());
        m_capture = img.mirrored();
    }

    void MakeCurve()
    {
        // A rising loop around the box, a control selected, one hidden
        // tangent edit and labels, so that every part of a curve shows.
        m_curve.SetStepRate(25);
        const float pts[5][3] = {{-160, -120, -40}, {0, -180, 0}, {160, -40, 40}, {80, 140, 80}, {-120, 120, 120}};
        for (const auto& p : pts)
            m_curve.AddControl3(p[0], p[1], p[2], 0, 0, 0, true);
        for (int32_t i = 1; i <= m_curve.ControlsCount(); ++i)
            m_curve.SetYaw(i, static_cast<float>(i * 60));
        m_curve.SetSelected(3, true);
        m_curve.SetShowTimes(true);
    }

    // Puts the 3D camera at `from` (map coordinates) looking at `to`.
    void PlaceCamera(const std::array<float, 3>& from, const std::array<float, 3>& to)
    {
        ControlRecord r = NewControlRecord();
        r.X = from[0];
        r.Y = from[1];
        r.Z = from[2];
        const double dx = to[0] - from[0], dy = to[1] - from[1], dz = to[2] - from[2];
        r.Yaw = static_cast<float>(std::atan2(dy, dx) * 180.0 / M_PI);
        // Control pitch is the elevation, positive upwards.
        r.Pitch = static_cast<float>(std::atan2(dz, std::hypot(dx, dy)) * 180.0 / M_PI);
        r.Fov = 90;
        m_camera.SetFromGameValues(r);
    }

    void ShowKind(size_t k)
    {
        m_kind = k;
        if (k == 3 && !m_map && !m_cameraPlaced) {
            PlaceCamera({-420, -380, 300}, {0, 0, 0});
            m_cameraPlaced = true;
        }
        m_gl->SetView(&m_views[k]);
        m_gl->MakeCurrent();
        m_gl->UpdateProjection();
        m_gl->Refresh();
    }

    void Drag(float dx, float dy)
    {
        CView& v = m_views[m_kind];
        if (v.Is3D()) {
            m_camera.SetYaw(m_camera.Yaw() + dx * 0.3f);
            m_camera.SetPitch(std::clamp(m_camera.Pitch() + dy * 0.3f, -89.0f, 89.0f));
        } else {
            const double scale = m_gl->GLViewScale();
            v.SetCurrentOrigin(1, static_cast<float>(v.CurrentOrigin(1) - dx / scale));
            v.SetCurrentOrigin(2, static_cast<float>(v.CurrentOrigin(2) + dy / scale));
        }
        m_gl->MakeCurrent();
        m_gl->UpdateProjection();
        m_gl->Refresh();
    }

    void Wheel(int32_t notches)
    {
        if (m_views[m_kind].Is3D())
            m_camera.SetFov(m_camera.Fov() - 5.0f * static_cast<float>(notches));
        else
            m_gl->SetGLViewScale(std::clamp(m_gl->GLViewScale() * std::pow(1.25, notches), 0.01, 50.0));
        m_gl->MakeCurrent();
        m_gl->UpdateProjection();
        m_gl->Refresh();
    }

    UCOpenGLView* m_gl = nullptr;
    QButtonGroup* m_group = nullptr;
    std::array<CView, 4> m_views;
    C3DCamera m_camera;
    C3DCurve m_curve;
    Com::ComPtr<Dorado::IBSP> m_map;
    size_t m_kind = 0;
    bool m_cameraPlaced = false;
    bool m_dragging = false;
    std::array<float, 2> m_last{};
    bool m_wantCapture = false;
    QImage m_capture;
};

QString ResolveMap(const QString& arg)
{
    const QFileInfo info(arg);
    if (!info.isDir())
        return arg;
    const QStringList maps = QDir(arg).entryList({QStringLiteral("*.bsp")}, QDir::Files, QDir::Name);
    return maps.isEmpty() ? QString() : QDir(arg).filePath(maps.first());
}

// Share of pixels that are not the white background.
double DrawnShare(const QImage& img)
{
    if (img.isNull())
        return 0;
    qint64 drawn = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                ++drawn;
    return double(drawn) / (double(img.width()) * img.height());
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool selfTest = args.removeAll(QStringLiteral("--self-test")) > 0;
    QString shots;
    const qsizetype s = args.indexOf(QStringLiteral("--screenshots"));
    if (s >= 0) {
        if (s + 1 >= args.size()) {
            std::fprintf(stderr, "viewdemo: --screenshots needs a folder\n");
            return 2;
        }
        shots = args[s + 1];
        args.remove(s, 2);
    }
    if (args.size() > 1 || (!args.isEmpty() && args[0].startsWith(QLatin1Char('-')))) {
        std::fprintf(stderr, "usage: viewdemo [--self-test [--screenshots DIR]] [MAP.bsp | FOLDER]\n");
        return 2;
    }

    Demo demo;
    demo.resize(800, 640);
    demo.show();
    if (!QTest::qWaitForWindowExposed(&demo) || !demo.Start()) {
        std::fprintf(stderr, "viewdemo: no OpenGL view\n");
        return 1;
    }
    if (!QTest::qWaitForWindowExposed(demo.View()->GLWindow()))
        std::fprintf(stderr, "viewdemo: the view is not shown yet\n");
    if (!args.isEmpty()) {
        const QString map = ResolveMap(args[0]);
        if (map.isEmpty()) {
            std::fprintf(stderr, "viewdemo: no map in %s\n", qPrintable(args[0]));
            return 77;
        }
        if (!demo.LoadMap(map)) {
            std::fprintf(stderr, "viewdemo: %s could not be loaded\n", qPrintable(args[0]));
            return 1;
        }
    }
    if (!selfTest)
        return app.exec();

    if (!shots.isEmpty())
        QDir().mkpath(shots);
    int failures = 0;
    std::vector<QImage> frames;
    for (size_t k = 0; k < kKinds.size(); ++k) {
        demo.SelectKind(k);
        const QImage frame = demo.Capture();
        const double share = DrawnShare(frame);
        // Each kind must show something, and something of its own.
        const bool repeated = std::find(frames.begin(), frames.end(), frame) != frames.end();
        std::printf("%-12s %dx%d, %.1f%% drawn%s\n", kKinds[k].title, frame.width(), frame.height(), share * 100,
                    repeated ? ", the same as another kind" : "");
        if (!(share > 0.001) || repeated)
            ++failures;
        frames.push_back(frame);
        if (!shots.isEmpty() && !frame.isNull())
            frame.save(QDir(shots).filePath(QStringLiteral("viewdemo-%1.png").arg(QLatin1String(kKinds[k].name))));
    }
    return failures == 0 ? 0 : 1;
}
