// Curves drawn for real from their vertex arrays give the same pixels as
// the same primitives sent in immediate mode: a scene of several curves
// (selected and unselected points, tangent handles edited and not, arrows,
// look-at targets, a hidden control, a translucent path, a hidden curve) in
// each view kind, read back from the back buffer before the swap.

#include "C3DCurve.h"
#include "CView.h"
#include "GLDraw.h"
#include "GLViewFixture.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <GL/gl.h>

#include <algorithm>

namespace {

// OpenGL, with array calls sent vertex by vertex: the seam's own
// immediate-mode rendering of the primitives.
class ImmediateGL final : public GLDraw::ITarget
{
public:
    void Begin(uint32_t mode) override { m_gl.Begin(mode); }
    void End() override { m_gl.End(); }
    void Vertex2f(float x, float y) override { m_gl.Vertex2f(x, y); }
    void Vertex3f(float x, float y, float z) override { m_gl.Vertex3f(x, y, z); }
    void Vertex3d(double x, double y, double z) override { m_gl.Vertex3d(x, y, z); }
    void Color3f(float r, float g, float b) override { m_gl.Color3f(r, g, b); }
    void Color4f(float r, float g, float b, float a) override { m_gl.Color4f(r, g, b, a); }
    void PointSize(float size) override { m_gl.PointSize(size); }
    void LineWidth(float width) override { m_gl.LineWidth(width); }
    void RasterPos3f(float x, float y, float z) override { m_gl.RasterPos3f(x, y, z); }
    void Enable(uint32_t cap) override { m_gl.Enable(cap); }
    void Disable(uint32_t cap) override { m_gl.Disable(cap); }
    void LineStipple(int32_t factor, uint16_t pattern) override { m_gl.LineStipple(factor, pattern); }
    bool HasContext() override { return m_gl.HasContext(); }

private:
    GLDraw::ITarget& m_gl = GLDraw::OpenGL();
};

void SetNumber(C3DCurve& c, int32_t index, ControlPropertyId id, float v)
{
    c.SetValue(index, id, TaggedValue(v));
}

// The path through the middle of every view: five controls, the second and
// fourth selected, a handle edited in the top view and one in the front
// view, the first control looking at the third.
void MakeMain(C3DCurve& c)
{
    c.SetStepRate(25);
    const float points[5][3] = {{-90, -60, -40}, {-40, 30, 20}, {0, -20, 60}, {50, 50, -30}, {90, 0, 10}};
    for (const auto& p : points)
        c.AddControl3(p[0], p[1], p[2], 10, 35, 0, true);
    c.SetSelected(2, true);
    c.SetSelected(4, true);
    SetNumber(c, 2, ControlPropertyId::Tan1C, 1);
    SetNumber(c, 3, ControlPropertyId::Tan2C, 2);
    c.SetControlTarget(1, 0, -20, 60, 0, 0);
    c.SetShowTimes(true);
}

// Another path drawn as lines, half transparent, with its third control
// hidden, a selected control and a target off the path.
void MakeOther(C3DCurve& c)
{
    c.SetStepRate(25);
    const float points[4][3] = {{-80, 70, 50}, {-20, 90, -50}, {30, 60, 40}, {80, 85, -20}};
    for (const auto& p : points)
        c.AddControl3(p[0], p[1], p[2], -20, 200, 0, true);
    c.SetShowArrow(true);
    c.SetShowTangent(true);
    c.SetSelected(1, true);
    SetNumber(c, 3, ControlPropertyId::Hide, 1);
    c.SetSegmentColor(0x2080FF, 50);
    c.SetControlTarget(4, 60, -80, 0, 0, 0);
}

int Differences(const QImage& a, const QImage& b, int& worst)
{
    int count = 0;
    worst = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y);
            const QColor q = b.pixelColor(x, y);
            const int d = std::max({std::abs(p.red() - q.red()), std::abs(p.green() - q.green()),
                                    std::abs(p.blue() - q.blue())});
            if (d > 0)
                ++count;
            worst = std::max(worst, d);
        }
    }
    return count;
}

int Drawn(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != QColor(255, 255, 255))
                ++count;
    return count;
}

}  // namespace

class TestCurveArrays : public QObject
{
    Q_OBJECT

    QTemporaryDir registry;

private slots:
    void initTestCase()
    {
        QVERIFY(registry.isValid());
        qputenv("RUVADIR_REGISTRY", registry.path().toLocal8Bit());
        UCOpenGLView::SetErrorBox([](const QString& title, const QString& text, bool) {
            QFAIL(qPrintable(title + QLatin1Char('|') + text));
        });
    }

    void theArraysDrawWhatImmediateModeDraws_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("top") << CView::ViewXY;
        QTest::newRow("front") << CView::ViewXZ;
        QTest::newRow("side") << CView::ViewYZ;
        QTest::newRow("3D") << CView::View3D;
    }

    void theArraysDrawWhatImmediateModeDraws()
    {
        QFETCH(int, kind);
        GLViewFixture f;
        QVERIFY(f.Start(kind, 260, 240, kind == CView::View3D ? 0 : 1));
        // The 3D camera stands back from the scene, which it sees ahead.
        f.camera.SetPosition({0, 200, 0});
        C3DCurve main, other, hidden;
        MakeMain(main);
        MakeOther(other);
        MakeOther(hidden);
        hidden.SetSelected(2, true);
        hidden.SetIsVisible(false);

        QImage frame;
        f.handler.draw = [&] {
            bool a = false, b = false;
            f.gl.GLViewTransform(a, b);
            // In the scene's order: the other curves as lines, the main
            // curve last.
            hidden.DrawCurveLines(f.gl);
            other.DrawCurveLines(f.gl);
            main.DrawCurve(f.gl);
            glFinish();
            frame = FrameImage();
        };
        QImage immediate;
        {
            ImmediateGL target;
            GLDraw::ScopedTarget scope(target);
            f.gl.Refresh();
            immediate = frame;
        }
        f.gl.Refresh();
        const QImage arrays = frame;
        QCOMPARE(arrays.size(), immediate.size());
        // The scene is there, not an empty frame twice.
        QVERIFY2(Drawn(arrays) > 800, qPrintable(QString::number(Drawn(arrays))));
        int worst = 0;
        const int differing = Differences(arrays, immediate, worst);
        QVERIFY2(differing == 0,
                 qPrintable(QStringLiteral("%1 pixels differ, by up to %2").arg(differing).arg(worst)));
    }
};

QTEST_MAIN(TestCurveArrays)
#include "tst_CurveArrays.moc"
