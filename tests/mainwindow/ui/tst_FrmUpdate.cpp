// The update window against an HTTP server of the test on the loopback
// address: the answers it can give, a server that never answers, no server
// set, the close refused while the check runs (also the close box and
// Escape pressed for real under a window manager), and the home page link.

#include "FrmUpdate.h"

#include "MCommon.h"
#include "MainServices.h"
#include "WindowFakes.h"
#include "X11Keys.h"
#include "X11Windows.h"

#include <QAbstractNativeEventFilter>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest>

#include <xcb/xcb.h>

namespace {

// Answers every GET with the status and body it holds; with `silent` it
// takes the connection and says nothing.
class HttpServer : public QObject
{
public:
    int status = 200;
    QByteArray body;
    bool silent = false;
    int connections = 0;
    QByteArrayList paths;
    // Called while the window waits for the answer, before it is sent.
    std::function<void()> onRequest;
    // When set, the answer waits until it holds (at most two seconds).
    std::function<bool()> answerWhen;

    HttpServer()
    {
        QVERIFY(m_server.listen(QHostAddress::LocalHost));
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                ++connections;
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Serve(socket); });
            }
        });
    }
    QString Address() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()); }

private:
    void Serve(QTcpSocket* socket)
    {
        m_request[socket] += socket->readAll();
        const QByteArray& request = m_request[socket];
        if (!request.contains("\r\n\r\n"))
            return;
        paths << request.split(' ').value(1);
        if (onRequest)
            onRequest();
        if (silent)
            return;
        if (answerWhen && !answerWhen()) {
            auto* poll = new QTimer(socket);
            poll->start(10);
            QElapsedTimer waited;
            waited.start();
            connect(poll, &QTimer::timeout, this, [this, socket, poll, waited] {
                if (!answerWhen() && waited.elapsed() < 2000)
                    return;
                poll->deleteLater();
                Answer(socket);
            });
            return;
        }
        Answer(socket);
    }
    void Answer(QTcpSocket* socket)
    {
        const QByteArray reason = status == 200 ? "OK" : "Internal Server Error";
        socket->write("HTTP/1.1 " + QByteArray::number(status) + ' ' + reason
                      + "\r\nContent-Type: text/xml\r\nConnection: close\r\nContent-Length: "
                      + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QHash<QTcpSocket*, QByteArray> m_request;
};

QByteArray InfoFile(const QString& build, const char* date = "2007-03-14T10:20:30Z")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Ruvadir>\n\t<LastVersion date=\"" + QByteArray(date)
           + "\" build=\"" + build.toLatin1() + "\" url=\"http://127.0.0.1/ruvadir.zip\"/>\n</Ruvadir>\n";
}

// What reaches the program from the display: the key releases as they are
// taken from the X connection (before Qt makes events of them), and the
// releases of Shift once Qt has handed them out.
class DisplayInput final : public QObject, public QAbstractNativeEventFilter
{
public:
    int keyReleasesTaken = 0;
    int shiftReleasesDelivered = 0;

    DisplayInput()
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~DisplayInput() override { QCoreApplication::instance()->removeNativeEventFilter(this); }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type == "xcb_generic_event_t"
            && (static_cast<xcb_generic_event_t*>(message)->response_type & ~0x80) == XCB_KEY_RELEASE)
            ++keyReleasesTaken;
        return false;
    }
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == QEvent::KeyRelease && watched->isWindowType()
            && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Shift)
            ++shiftReleasesDelivered;
        return false;
    }
};

// A key stroke through the display, by Windows virtual-key number.
bool Stroke(int virtualKey)
{
    const std::uint32_t keysym = X11Keys::KeysymForVirtualKey(virtualKey, false);
    return X11Keys::SendKeysym(keysym, true) && X11Keys::SendKeysym(keysym, false);
}
constexpr int VkShift = 0x10;
constexpr int VkEscape = 0x1B;

QString Current()
{
    const MCommon::VersionList v = MCommon::GetAppVersion();
    return QStringLiteral("%1.%2.%3.%4").arg(v[0]).arg(v[1]).arg(v[2]).arg(v[3]);
}

}  // namespace

class TestFrmUpdate : public QObject
{
    Q_OBJECT

    std::shared_ptr<WindowFakes::RecordingShell> m_shell;

    std::unique_ptr<FrmUpdate> Make(const QString& server)
    {
        auto window = std::make_unique<FrmUpdate>(nullptr, m_shell, server);
        window->SetGuiTexts(QStringLiteral("Check for update"), QStringLiteral("Retrieving version information ..."),
                            QStringLiteral("Cannot retrieve version information."),
                            QStringLiteral("A new version is available"), QStringLiteral("Your version is up to date"),
                            QStringLiteral("Your version"), QStringLiteral("Last version"),
                            QStringLiteral("Go to the website"));
        window->SetNoServerText(QStringLiteral("Set \"UpdateServer\"."));
        window->SetBadServerText(QStringLiteral("Not a web address."));
        window->SetTimeoutMs(3000);
        return window;
    }
    static QString Infos(FrmUpdate& w) { return w.findChild<QLabel*>(QStringLiteral("lblInfos"))->text(); }
    static QPushButton* Ok(FrmUpdate& w) { return w.findChild<QPushButton*>(QStringLiteral("cmdOk")); }

    // Shows the window and waits until its check has run.
    static bool ShowAndCheck(FrmUpdate& w)
    {
        w.show();
        return QTest::qWaitFor([&] { return Ok(w)->isEnabled() && !w.IsBusy() && !Infos(w).isEmpty()
                                            && !Infos(w).startsWith(QLatin1String("Retrieving")); },
                               10000);
    }

private slots:
    void init() { m_shell = std::make_shared<WindowFakes::RecordingShell>(); }

    void answers_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("retrieved");
        QTest::addColumn<bool>("newVersion");
        QTest::addColumn<QString>("message");  // "%1" the running version
        const MCommon::VersionList v = MCommon::GetAppVersion();
        const QString newer = QStringLiteral("%1.%2.%3.%4").arg(v[0]).arg(v[1]).arg(v[2]).arg(v[3] + 1);
        const QString older = QStringLiteral("%1.%2.%3.%4").arg(v[0]).arg(v[1]).arg(v[2]).arg(v[3] - 1);
        const QString threeParts = QStringLiteral("%1.%2.%3").arg(v[0]).arg(v[1]).arg(v[3] + 1);
        const QString failure = QStringLiteral("Cannot retrieve version information.");
        QTest::newRow("new version") << 200 << InfoFile(newer) << true << true
                                     << QStringLiteral("Your version : %1\r\nLast version : ") + newer
                                            + QStringLiteral("\r\n\r\nA new version is available");
        QTest::newRow("up to date") << 200 << InfoFile(Current()) << true << false
                                    << QStringLiteral("Your version : %1\r\nLast version : %1\r\n\r\n"
                                                      "Your version is up to date");
        QTest::newRow("older on the server") << 200 << InfoFile(older) << true << false
                                             << QStringLiteral("Your version : %1\r\nLast version : ") + older
                                                    + QStringLiteral("\r\n\r\nYour version is up to date");
        QTest::newRow("three parts: no verdict") << 200 << InfoFile(threeParts) << true << false
                                                 << QStringLiteral("Your version : %1\r\nLast version : ")
                                                        + threeParts;
        QTest::newRow("HTTP 500") << 500 << InfoFile(newer) << false << false << failure;
        QTest::newRow("malformed XML") << 200 << QByteArray("<Ruvadir><LastVersion build=") << false << false
                                       << failure;
        QTest::newRow("no LastVersion") << 200 << QByteArray("<Ruvadir><Other build=\"9.9.9.9\"/></Ruvadir>")
                                        << false << false << failure;
        QTest::newRow("zero date") << 200 << InfoFile(newer, "1899-12-30T00:00:00Z") << false << false << failure;
        QTest::newRow("0.0.0.0") << 200 << InfoFile(QStringLiteral("0.0.0.0")) << false << false << failure;
        QTest::newRow("empty body") << 200 << QByteArray() << false << false << failure;
    }
    void answers()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(bool, retrieved);
        QFETCH(bool, newVersion);
        QFETCH(QString, message);
        HttpServer server;
        server.status = status;
        server.body = body;
        auto w = Make(server.Address());
        QVERIFY(ShowAndCheck(*w));
        QCOMPARE(Infos(*w), message.contains(QLatin1String("%1")) ? message.arg(Current()) : message);
        QCOMPARE(w->DataSuccessfullyRetrieved(), retrieved);
        QCOMPARE(w->NewVersionAvailable(), newVersion);
        if (retrieved)
            QCOMPARE(w->Info().date, MCommon::MakeDateTime(2007, 3, 14, 10, 20, 30));
        QCOMPARE(server.paths, QByteArrayList{"/pub/ruvadir_info.xml"});
        QCOMPARE(w->windowTitle(), QStringLiteral(" Check for update"));
        QVERIFY(w->findChild<QLabel*>(QStringLiteral("lblHomepageLink"))->isVisible());

        // OK hides the window.
        QTest::mouseClick(Ok(*w), Qt::LeftButton);
        QTRY_VERIFY(!w->isVisible());
    }

    void aServerThatNeverAnswersTimesOut()
    {
        HttpServer server;
        server.silent = true;
        auto w = Make(server.Address());
        w->SetTimeoutMs(400);
        QVERIFY(ShowAndCheck(*w));
        QCOMPARE(server.connections, 1);
        QCOMPARE(Infos(*w), QStringLiteral("Cannot retrieve version information."));
        QVERIFY(!w->DataSuccessfullyRetrieved());
    }

    void noServerSetOpensNoConnection()
    {
        HttpServer server;
        server.body = InfoFile(Current());
        auto w = Make(QString());
        QVERIFY(ShowAndCheck(*w));
        QCOMPARE(Infos(*w), QStringLiteral("Cannot retrieve version information.\r\n\r\nSet \"UpdateServer\"."));
        QVERIFY(!w->DataSuccessfullyRetrieved());
        QVERIFY(!w->findChild<QLabel*>(QStringLiteral("lblHomepageLink"))->isVisible());
        // The same check with the address reaches the server at once: had
        // the first one connected, it would have been counted by now.
        auto reached = Make(server.Address());
        QVERIFY(ShowAndCheck(*reached));
        QCOMPARE(server.connections, 1);
        QVERIFY(reached->DataSuccessfullyRetrieved());
    }

    void aServerThatIsNoWebAddressIsNeitherAskedNorOpened_data()
    {
        QTest::addColumn<QString>("server");
        QTest::newRow("a program") << QStringLiteral("/usr/bin/xterm");
        QTest::newRow("a file address") << QStringLiteral("file:///usr/bin/xterm");
        QTest::newRow("another scheme") << QStringLiteral("ftp://127.0.0.1");
        QTest::newRow("no host") << QStringLiteral("http:///usr/bin/xterm");
    }
    void aServerThatIsNoWebAddressIsNeitherAskedNorOpened()
    {
        QFETCH(QString, server);
        auto w = Make(server);
        QVERIFY(ShowAndCheck(*w));
        // The link is not shown, and even followed it opens nothing.
        auto* link = w->findChild<QLabel*>(QStringLiteral("lblHomepageLink"));
        const bool shown = link->isVisible();
        emit link->linkActivated(QStringLiteral("home"));
        QCOMPARE(m_shell->opened, QStringList());
        QVERIFY(!shown);
        QCOMPARE(Infos(*w), QStringLiteral("Cannot retrieve version information.\r\n\r\nNot a web address."));
    }

    void closeIsRefusedWhileTheCheckRuns()
    {
        HttpServer server;
        server.body = InfoFile(Current());
        auto w = Make(server.Address());
        bool stayedOpen = false;
        QString shown;
        server.onRequest = [&] {
            // Inside the window's wait for the answer.
            shown = Infos(*w);
            const bool busy = w->IsBusy() && !Ok(*w)->isEnabled();
            w->close();
            QTest::keyClick(w.get(), Qt::Key_Escape);
            stayedOpen = busy && w->isVisible();
        };
        QVERIFY(ShowAndCheck(*w));
        QVERIFY(stayedOpen);
        QCOMPARE(shown, QStringLiteral("Retrieving version information ..."));
        QVERIFY(w->isVisible());
        // Once the result is shown, the close box hides it.
        w->close();
        QTRY_VERIFY(!w->isVisible());
    }

    void theCloseBoxAndEscapePressedDuringTheCheckAreDropped()
    {
        if (!X11Keys::Available() || X11Windows::WindowManagerName().isEmpty())
            QSKIP("needs XTest and a window manager");
        HttpServer server;
        server.body = InfoFile(Current());
        auto w = Make(server.Address());
        QVERIFY(ShowAndCheck(*w));
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        const QString result = Infos(*w);

        // While the window waits for the server, the user presses its close
        // box (the window manager then asks the window to close) and
        // Escape; the server answers once the program has taken both from
        // the display.
        DisplayInput input;
        server.onRequest = [&] {
            QVERIFY(X11Windows::RequestClose(w->winId()));
            QVERIFY(Stroke(VkEscape));
        };
        server.answerWhen = [&] { return input.keyReleasesTaken > 0; };
        QVERIFY(w->fCheckForUpdate());
        // A key pressed after the check comes after them: once it is there,
        // they have done what they do.
        QVERIFY(Stroke(VkShift));
        QTRY_VERIFY(input.shiftReleasesDelivered > 0);
        QVERIFY(w->isVisible());
        QCOMPARE(Infos(*w), result);

        // With the result shown, the close box hides the window.
        QVERIFY(X11Windows::RequestClose(w->winId()));
        QTRY_VERIFY(!w->isVisible());
    }

    void theLinkOpensTheHomePageAndHides()
    {
        HttpServer server;
        server.body = InfoFile(Current());
        auto w = Make(server.Address());
        QVERIFY(ShowAndCheck(*w));
        auto* link = w->findChild<QLabel*>(QStringLiteral("lblHomepageLink"));
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QTest::mouseClick(link, Qt::LeftButton, {}, link->rect().center());
        QTRY_VERIFY(!w->isVisible());
        QCOMPARE(m_shell->opened, QStringList{QStringLiteral("0 ") + server.Address()});
    }
};

QTEST_MAIN(TestFrmUpdate)
#include "tst_FrmUpdate.moc"
