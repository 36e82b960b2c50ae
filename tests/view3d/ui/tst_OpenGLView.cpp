// The OpenGL view drawing for real under Xvfb (Mesa): projections read back
// from GL, conversions, the bitmap font and frames read back before the
// swap.

#include "C3DCamera.h"
#include "ComClient.h"
#include "GLDraw.h"
#include "../GLRecorder.h"
#include "CView.h"
#include "UCOpenGLView.h"
#include "GLViewFixture.h"
#include "ViewProjection.h"

#include <QOpenGLContext>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <GL/gl.h>

#include <functional>

class TestOpenGLView : public QObject
{
    Q_OBJECT

    QStringList boxes;
    QTemporaryDir registry;

    using Fixture = GLViewFixture;

    static bool Start(Fixture& f, int kind, int w, int h, double scale = 0) { return f.Start(kind, w, h, scale); }

private slots:
    void initTestCase()
    {
        // A settings store of the test's own: the view looks the
        // subclassing library up there.
        QVERIFY(registry.isValid());
        qputenv("RUVADIR_REGISTRY", registry.path().toLocal8Bit());
        UCOpenGLView::SetErrorBox([this](const QString& title, const QString& text, bool) {
            boxes << title + QLatin1Char('|') + text;
        });
    }

    void frameWithoutHandlerIsWhiteAndAHandlersDrawingIsReadBack()
    {
        Fixture f;
        QVERIFY(Start(f, CView::ViewXY, 200, 100));
        QVERIFY(f.gl.IsReady());
        QVERIFY(f.gl.Context()->format().majorVersion() >= 2);
        QColor centre;
        f.handler.draw = [&] { centre = PixelAt(100, 50); };
        f.gl.Refresh();
        QCOMPARE(centre, QColor(255, 255, 255));

        f.handler.draw = [&] {
            bool a = false, b = false;
            f.gl.GLViewTransform(a, b);
            glColor3f(1, 0, 0);
            glBegin(GL_QUADS);
            // Clockwise: the view culls front faces.
            glVertex2f(-50, -50);
            glVertex2f(-50, 50);
            glVertex2f(50, 50);
            glVertex2f(50, -50);
            glEnd();
            glFinish();
            centre = PixelAt(100, 50);
        };
        f.gl.Refresh();
        QCOMPARE(centre, QColor(255, 0, 0));
        QVERIFY(boxes.isEmpty());
    }

    void flatProjectionOfTheWorkedCase()
    {
        Fixture f;
        f.view.Initialize(CView::ViewXY, 0, 1, 2, 5, 1, 20, false, false, false);
        f.view.SetCurrentOrigin(1, 1000);
        f.view.SetCurrentOrigin(2, 500);
        f.gl.SetGLViewScale(2);
        f.gl.resize(400, 300);
        f.gl.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.gl));
        f.camera.Clear();
        QVERIFY(f.gl.Initialize(&f.handler, &f.view, &f.camera));
        QCOMPARE(f.gl.GLViewRealWidth(), 400);
        QCOMPARE(f.gl.GLViewWidth(), 200.0);
        QCOMPARE(f.gl.GLViewHeight(), 150.0);
        QCOMPARE(f.gl.FlatBounds().minH, 900.0);
        QCOMPARE(f.gl.FlatBounds().maxV, 575.0);
        ViewProjection::Matrix fromGL{};
        f.handler.draw = [&] {
            glMatrixMode(GL_PROJECTION);
            glGetDoublev(GL_PROJECTION_MATRIX, fromGL.data());
            glMatrixMode(GL_MODELVIEW);
            bool a = false, b = false;
            f.gl.GLViewTransform(a, b);
        };
        QVERIFY(QTest::qWaitForWindowExposed(f.gl.GLWindow()));
        f.gl.Refresh();
        const auto expected = ViewProjection::Ortho(900, 1100, 425, 575, -25000, 25000);
        for (int i = 0; i < 16; ++i)
            QVERIFY2(std::abs(fromGL[i] - expected[i]) < 1e-5, qPrintable(QString::number(i)));

        float r[3] = {};
        f.gl.WindowToWorld(0, 0, r);
        QCOMPARE(r[0], 900.0f);
        QCOMPARE(r[1], 575.0f);
        f.gl.WindowToWorld(400, 300, r);
        QCOMPARE(r[0], 1100.0f);
        QCOMPARE(r[1], 425.0f);
        f.gl.WindowToWorld(200, 150, r);
        QCOMPARE(r[0], 1000.0f);
        QCOMPARE(r[1], 500.0f);
        float shortArray[1] = {};
        f.gl.WindowToWorld(0, 0, shortArray);  // writes what fits
        QCOMPARE(shortArray[0], 900.0f);
    }

    void perspectiveProjectionOfTheWorkedCase()
    {
        Fixture f;
        QVERIFY(Start(f, CView::View3D, 400, 200));
        QVERIFY(std::abs(f.gl.GL3DViewWidth() - 0.2) < 1e-7);
        ViewProjection::Matrix fromGL{};
        f.handler.draw = [&] {
            glMatrixMode(GL_PROJECTION);
            glGetDoublev(GL_PROJECTION_MATRIX, fromGL.data());
            glMatrixMode(GL_MODELVIEW);
        };
        f.gl.Refresh();
        const auto expected = ViewProjection::Frustum(-0.1, 0.1, -0.05, 0.05, 0.1f, 50000);
        for (int i = 0; i < 16; ++i)
            QVERIFY2(std::abs(fromGL[i] - expected[i]) < 1e-5, qPrintable(QString::number(i)));
    }

    void printAdvancesTheRasterPositionByTheGlyphWidths()
    {
        Fixture f;
        QVERIFY(Start(f, CView::ViewXY, 300, 100, 1));
        QVERIFY(f.gl.FontBase() != 0);
        const int a = f.gl.GlyphAdvance('A'), b = f.gl.GlyphAdvance('B');
        QVERIFY(a > 0 && b > 0);
        QCOMPARE(f.gl.GlyphAdvance(200), 0);
        float start[4] = {}, afterAB[4] = {}, afterMixed[4] = {}, afterEmpty[4] = {};
        bool drewSomething = false;
        f.handler.draw = [&] {
            glMatrixMode(GL_PROJECTION);
            glLoadIdentity();
            glOrtho(0, 300, 0, 100, -1, 1);
            glMatrixMode(GL_MODELVIEW);
            glColor3f(0, 0, 0);
            glRasterPos2f(10, 40);
            glGetFloatv(GL_CURRENT_RASTER_POSITION, start);
            f.gl.GLPrint(QStringLiteral("AB"));
            glGetFloatv(GL_CURRENT_RASTER_POSITION, afterAB);
            glFinish();
            for (int x = 10; x < 10 + a + b && !drewSomething; ++x)
                for (int y = 38; y < 52 && !drewSomething; ++y)
                    drewSomething = PixelAt(x, y) == QColor(0, 0, 0);
            glRasterPos2f(10, 40);
            // Characters without a glyph are left out.
            f.gl.GLPrint(QStringLiteral("A\u00e9\u0007B"));
            glGetFloatv(GL_CURRENT_RASTER_POSITION, afterMixed);
            glRasterPos2f(10, 40);
            f.gl.GLPrint(QString());
            glGetFloatv(GL_CURRENT_RASTER_POSITION, afterEmpty);
        };
        f.gl.Refresh();
        QCOMPARE(afterAB[0] - start[0], float(a + b));
        QCOMPARE(afterMixed[0] - start[0], float(a + b));
        QCOMPARE(afterEmpty[0], start[0]);
        QVERIFY(drewSomething);
    }

    void refreshInsideTheHandlerDoesNotRecurse()
    {
        Fixture f;
        QVERIFY(Start(f, CView::ViewXY, 100, 100));
        f.handler.calls = 0;
        f.handler.draw = [&] { f.gl.Refresh(); };
        f.gl.Refresh();
        QCOMPARE(f.handler.calls, 1);
    }

    void killTwiceAndDrawingAfterItAreHarmless()
    {
        Fixture f;
        QVERIFY(Start(f, CView::ViewXY, 100, 100));
        QVERIFY(f.gl.GLKillWindow());
        QVERIFY(f.gl.GLKillWindow());
        QVERIFY(!f.gl.IsReady());
        f.handler.calls = 0;
        f.gl.Refresh();
        f.gl.GLPrint(QStringLiteral("x"));
        QCOMPARE(f.handler.calls, 0);
        QVERIFY(boxes.isEmpty());
    }

    void inputBecomesTheControlsEvents()
    {
        Fixture f;
        QVERIFY(Start(f, CView::ViewXY, 200, 200));
        int16_t button = 0, shift = 0;
        float x = 0, y = 0;
        connect(&f.gl, &UCOpenGLView::MouseDown, this, [&](int16_t& b, int16_t& s, float& px, float& py) {
            button = b;
            shift = s;
            x = px;
            y = py;
        });
        int16_t key = 0;
        connect(&f.gl, &UCOpenGLView::KeyDown, this, [&](int16_t& k, int16_t&) { key = k; });
        int32_t notches = 99;
        connect(&f.gl, &UCOpenGLView::MouseWheel, this,
                [&](int32_t& d, int32_t&, int32_t&, int32_t&) { notches = d; });
        QTest::mousePress(f.gl.GLWindow(), Qt::RightButton, Qt::ShiftModifier, QPoint(30, 40));
        QCOMPARE(button, int16_t(2));
        QCOMPARE(shift, int16_t(1));
        QCOMPARE(x, 30.0f);
        QCOMPARE(y, 40.0f);
        QTest::mouseRelease(f.gl.GLWindow(), Qt::RightButton, Qt::ShiftModifier, QPoint(30, 40));
        QTest::keyClick(f.gl.GLWindow(), Qt::Key_F5);
        QCOMPARE(key, int16_t(0x74));
        QWheelEvent wheel(QPointF(5, 5), QPointF(105, 105), QPoint(), QPoint(0, -240), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(f.gl.GLWindow(), &wheel);
        QCOMPARE(notches, -2);
    }

    void selectionRectangleInEachViewKind()
    {
        struct Case
        {
            int kind;
            QStringList vertices;
        };
        const Case cases[] = {
            {CView::ViewXY, {"V2 1 5", "V2 4 5", "V2 4 2", "V2 1 2"}},
            {CView::ViewXZ, {"V3 1 0 6", "V3 4 0 6", "V3 4 0 3", "V3 1 0 3"}},
            {CView::ViewYZ, {"V3 0 2 6", "V3 0 5 6", "V3 0 5 3", "V3 0 2 3"}},
            {CView::View3D, {}},
        };
        for (const Case& c : cases) {
            CView view;
            view.Initialize(c.kind, 0, 1, 2, 5, 1, 20, false, false, false);
            UCOpenGLView gl;
            gl.SetView(&view);
            GLRecorder rec;
            {
                GLDraw::ScopedTarget target(rec);
                const float a[3] = {1, 2, 3}, b[3] = {4, 5, 6};
                gl.GLDrawSelectionRect2D(a, b);
            }
            QStringList expected{"Enable 2852", "Stipple 4 aaaa", "Color 0 0 0", "Begin 2"};
            expected << c.vertices << "End" << "Stipple 4 5555" << "Color 1 1 1" << "Begin 2" << c.vertices << "End"
                     << "Disable 2852";
            QCOMPARE(rec.calls, expected);
        }
    }

#ifdef RUV_DADAVIVE_PATH
    void wheelComesThroughTheSubclassObjectWhenTheLibraryIsRegistered()
    {
        QCOMPARE(Com::RegisterServerFile(QStringLiteral(RUV_DADAVIVE_PATH)), Com::S_OK);
        Fixture f;
        QVERIFY(Start(f, CView::ViewXY, 200, 200));
        std::vector<int32_t> seen;
        int32_t keys = 0;
        connect(&f.gl, &UCOpenGLView::MouseWheel, this, [&](int32_t& d, int32_t&, int32_t&, int32_t& k) {
            seen.push_back(d);
            keys = k;
        });
        QWheelEvent wheel(QPointF(5, 5), QPointF(105, 105), QPoint(), QPoint(0, 360), Qt::NoButton,
                          Qt::ShiftModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(f.gl.GLWindow(), &wheel);
        QCOMPARE(seen, std::vector<int32_t>{3});
        QCOMPARE(keys, 4);  // Shift
        QCOMPARE(Com::UnregisterServerFile(QStringLiteral(RUV_DADAVIVE_PATH)), Com::S_OK);
    }
#endif
};

QTEST_MAIN(TestOpenGLView)
#include "tst_OpenGLView.moc"
