// Our own windows seen through the X server as other programs' windows are:
// found by title and class, with owner, process, state and closing.
#include "TestWindowManager.h"
#include "X11Windows.h"

#include <QGuiApplication>
#include <QTest>
#include <QWindow>

namespace
{
class ClosingWindow : public QWindow
{
public:
    int closeRequests = 0;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::Close) {
            ++closeRequests;
            e->ignore();
            return true;
        }
        return QWindow::event(e);
    }
};

X11Windows::Handle FindByTitle(const QString& title)
{
    for (const X11Windows::Handle w : X11Windows::TopLevelWindows(false)) {
        if (X11Windows::Title(w) == title)
            return w;
    }
    return 0;
}
}

class TestX11Windows : public QObject
{
    Q_OBJECT

    TestWindowManager m_wm;

private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb") || !X11Windows::Available())
            QSKIP("needs an X server");
        m_wm.Ensure();
    }

    void foundWithTitleClassOwnerAndProcess()
    {
        QWindow window;
        window.setTitle(QStringLiteral("X11 window test \u00E9"));
        window.resize(200, 100);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        X11Windows::Handle handle = 0;
        QVERIFY(QTest::qWaitFor([&] { return (handle = FindByTitle(window.title())) != 0; }, 5000));
        QCOMPARE(handle, X11Windows::Handle(window.winId()));
        QVERIFY(!X11Windows::ClassName(handle).isEmpty());
        QVERIFY(!X11Windows::InstanceName(handle).isEmpty());
        QCOMPARE(X11Windows::ProcessId(handle), QCoreApplication::applicationPid());
        QCOMPARE(X11Windows::Owner(handle), X11Windows::Handle(0));
        QVERIFY(X11Windows::Exists(handle));
        QVERIFY(X11Windows::IsShown(handle));

        QWindow owned;
        owned.setTitle(QStringLiteral("X11 owned window"));
        owned.setFlags(Qt::Dialog);
        owned.setTransientParent(&window);
        owned.resize(100, 50);
        owned.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owned));
        QCOMPARE(X11Windows::Owner(owned.winId()), handle);

        window.hide();
        QVERIFY(QTest::qWaitFor([&] { return !X11Windows::TopLevelWindows(false).contains(handle); }, 5000));
        QVERIFY(X11Windows::TopLevelWindows(true).contains(handle));
        QVERIFY(!X11Windows::IsShown(handle));
    }

    void states()
    {
        if (X11Windows::WindowManagerName().isEmpty())
            QSKIP("no window manager");
        ClosingWindow window;
        window.setTitle(QStringLiteral("X11 state test"));
        window.resize(200, 100);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const X11Windows::Handle handle = window.winId();
        using S = X11Windows::State;
        auto stateIs = [&](S wanted) {
            return QTest::qWaitFor([&] {
                S state = S::Normal;
                return X11Windows::GetState(handle, state) && state == wanted;
            }, 5000);
        };
        QVERIFY(stateIs(S::Normal));
        QVERIFY(X11Windows::Activate(handle));
        QVERIFY(QTest::qWaitFor([&] { return X11Windows::ActiveWindow() == handle; }, 5000));
        QVERIFY(X11Windows::Minimize(handle));
        QVERIFY(stateIs(S::Minimized));
        QVERIFY(X11Windows::IsShown(handle));
        QVERIFY(X11Windows::Restore(handle));
        QVERIFY(stateIs(S::Normal));
        QVERIFY(X11Windows::Maximize(handle));
        QVERIFY(stateIs(S::Maximized));
        // Minimized from maximized, it comes back maximized.
        QVERIFY(X11Windows::Minimize(handle));
        QVERIFY(stateIs(S::Minimized));
        QVERIFY(X11Windows::Restore(handle));
        QVERIFY(stateIs(S::Maximized));
        QVERIFY(X11Windows::Restore(handle));
        QVERIFY(stateIs(S::Normal));
        QVERIFY(X11Windows::RequestClose(handle));
        QTRY_COMPARE(window.closeRequests, 1);
    }

    void goneOrNoWindow()
    {
        X11Windows::State state = X11Windows::State::Maximized;
        QVERIFY(!X11Windows::GetState(0, state));
        // An id no client has: every call fails quietly, no X error ends us.
        const X11Windows::Handle bogus = 0x7FFFFFF1;
        QVERIFY(!X11Windows::Exists(bogus));
        QVERIFY(!X11Windows::GetState(bogus, state));
        QVERIFY(!X11Windows::Activate(bogus));
        QVERIFY(!X11Windows::Minimize(bogus));
        QVERIFY(!X11Windows::Restore(bogus));
        QVERIFY(!X11Windows::RequestClose(bogus));
        QCOMPARE(X11Windows::Title(bogus), QString());
        QCOMPARE(X11Windows::ClassName(bogus), QString());
        QCOMPARE(X11Windows::ProcessId(bogus), std::int64_t(0));
        QCOMPARE(X11Windows::Owner(bogus), X11Windows::Handle(0));
    }
};

QTEST_MAIN(TestX11Windows)
#include "tst_X11Windows.moc"
