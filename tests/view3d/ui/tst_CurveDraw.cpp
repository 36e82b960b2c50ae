// A curve drawn for real into the OpenGL view under Xvfb (Mesa), read back
// from the back buffer before the swap; and a curve asked to draw into a
// view whose context is not the current one draws nothing.

#include "C3DCamera.h"
#include "C3DCurve.h"
#include "CView.h"
#include "UCOpenGLView.h"
#include "GLViewFixture.h"

#include <QOpenGLContext>
#include <QTemporaryDir>
#include <QTest>

#include <GL/gl.h>

#include <functional>

namespace {

int DarkPixels(int x, int y, int w, int h)
{
    std::vector<GLubyte> px(static_cast<size_t>(w * h * 4));
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    int dark = 0;
    for (size_t i = 0; i < px.size(); i += 4)
        if (px[i] < 64 && px[i + 1] < 64 && px[i + 2] < 64)
            ++dark;
    return dark;
}

// Three controls on the line y = 0.5 (the middle of pixel row 100 in a
// 200-pixel view at one pixel a unit), all yawed to +y so that the arrows
// stand off the path, the last selected, with time labels.
void MakeCurve(C3DCurve& c)
{
    c.SetStepRate(25);
    c.AddControl3(-59.5f, 0.5f, 0, 0, 0, 0, true);
    c.AddControl3(0.5f, 0.5f, 0, 0, 0, 0, true);
    c.AddControl3(60.5f, 0.5f, 0, 0, 0, 0, true);
    for (int32_t i = 1; i <= 3; ++i)
        c.SetYaw(i, 90);
    c.SetSelected(3, true);
    c.SetShowTimes(true);
    c.SetShowTangent(false);
}

}  // namespace

class TestCurveDraw : public QObject
{
    Q_OBJECT

    QTemporaryDir registry;

    using Fixture = GLViewFixture;

    static bool Start(Fixture& f) { return f.Start(CView::ViewXY, 200, 200, 1); }

private slots:
    void initTestCase()
    {
        QVERIFY(registry.isValid());
        qputenv("RUVADIR_REGISTRY", registry.path().toLocal8Bit());
        UCOpenGLView::SetErrorBox([](const QString& title, const QString& text, bool) {
            QFAIL(qPrintable(title + QLatin1Char('|') + text));
        });
    }

    void aCurveIsDrawnIntoTheView()
    {
        Fixture f;
        QVERIFY(Start(f));
        QCOMPARE(f.gl.GLViewScale(), 1.0);
        C3DCurve c;
        MakeCurve(c);
        QCOMPARE(c.ControlsCount(), 3);

        QColor path, control, selectedCentre, selectedRing, arrow, outside;
        int label = 0, labelBefore = 0;
        f.handler.draw = [&] {
            bool a = false, b = false;
            f.gl.GLViewTransform(a, b);
            labelBefore = DarkPixels(106, 106, 30, 14);
            QVERIFY(f.gl.IsCurrent());
            c.DrawCurveLines(f.gl);
            glFinish();
            path = PixelAt(70, 100);            // between controls 1 and 2
            // Beside the centres, where the arrows start.
            control = PixelAt(100, 99);         // control 2
            selectedCentre = PixelAt(160, 99);  // control 3
            selectedRing = PixelAt(160, 97);
            arrow = PixelAt(40, 108);           // control 1's arrow
            outside = PixelAt(100, 60);
            label = DarkPixels(106, 106, 30, 14);  // control 2's "t.tt" label
        };
        f.gl.Refresh();
        QCOMPARE(path, QColor(0, 0, 255));
        QCOMPARE(control, QColor(0, 0, 0));
        QCOMPARE(selectedCentre, QColor(255, 255, 255));
        QCOMPARE(selectedRing, QColor(0, 0, 255));
        QCOMPARE(arrow, QColor(255, 0, 255));
        QCOMPARE(outside, QColor(255, 255, 255));
        QCOMPARE(labelBefore, 0);
        QVERIFY2(label > 5, qPrintable(QString::number(label)));
    }

    void aViewWhoseContextIsNotCurrentGetsNothing()
    {
        Fixture one;
        Fixture other;
        QVERIFY(Start(one));
        QVERIFY(Start(other));
        C3DCurve c;
        MakeCurve(c);
        // Drawing the curve for view one from inside view two's frame
        // must leave view two's picture alone.
        QColor control(1, 2, 3);
        bool oneWasCurrent = true;
        other.handler.draw = [&] {
            bool a = false, b = false;
            other.gl.GLViewTransform(a, b);
            oneWasCurrent = one.gl.IsCurrent();
            c.DrawCurve(one.gl);
            glFinish();
            control = PixelAt(100, 99);
        };
        other.gl.Refresh();
        QVERIFY(!oneWasCurrent);
        QCOMPARE(control, QColor(255, 255, 255));

        // No context at all: nothing happens, and nothing breaks.
        QOpenGLContext* ctx = QOpenGLContext::currentContext();
        QVERIFY(ctx);
        ctx->doneCurrent();
        QVERIFY(!one.gl.IsCurrent());
        c.DrawCurve(one.gl);
        c.DrawCurveLines(one.gl);
        c.DrawControls();
        QVERIFY(!c.IsQuickRefreshing());
    }
};

QTEST_MAIN(TestCurveDraw)
#include "tst_CurveDraw.moc"
