// The view on a display platform without OpenGL: set-up fails with one
// box, leaves no context, and drawing afterwards is harmless.

#include "C3DCamera.h"
#include "CView.h"
#include "UCOpenGLView.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

class Handler final : public IOpenGLViewHandler
{
public:
    int calls = 0;
    void GLDrawScene() override { ++calls; }
};

class TestOpenGLViewNoGL : public QObject
{
    Q_OBJECT

private slots:
    void setupFailsWithOneBoxAndNoContext()
    {
        QStringList boxes;
        UCOpenGLView::SetErrorBox([&](const QString& title, const QString& text, bool warning) {
            QVERIFY(warning);
            boxes << title + QLatin1Char('|') + text;
        });
        Handler handler;
        CView view;
        view.Initialize(CView::ViewXY, 0, 1, 2, 5, 1, 20, false, false, false);
        C3DCamera camera;
        camera.Clear();
        UCOpenGLView gl;
        gl.resize(100, 100);
        gl.show();
        QVERIFY(!gl.Initialize(&handler, &view, &camera));
        QCOMPARE(boxes.size(), 1);
        // The minimal platform makes windows but no OpenGL context.
        QCOMPARE(boxes[0], QStringLiteral("OpenGL Error|Can't create a GL rendering context.\r\n\r\n"
                                          "No OpenGL 2.1 compatibility context on \"minimal\"."));
        QVERIFY(!gl.IsReady());
        gl.Refresh();
        gl.GLPrint(QStringLiteral("text"));
        QCOMPARE(handler.calls, 0);
        QVERIFY(gl.GLKillWindow());
        QCOMPARE(boxes.size(), 1);
        // The sizes still follow the control.
        QCOMPARE(gl.GLViewRealWidth(), 100);
        QCOMPARE(gl.GLViewScale(), UCOpenGLView::DefaultScale);
    }
};

int main(int argc, char** argv)
{
    // A platform with windows but no OpenGL, whatever the test runner set.
    qputenv("QT_QPA_PLATFORM", "minimal");
    QTemporaryDir registry;
    qputenv("RUVADIR_REGISTRY", registry.path().toLocal8Bit());
    QApplication app(argc, argv);
    TestOpenGLViewNoGL test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_OpenGLViewNoGL.moc"
