// The HTTP reader against a server of the test's own on 127.0.0.1: whole
// answers come back, every kind of failure gives the empty text.
#include "MError.h"
#include "MNet.h"

#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include <functional>

namespace
{
// Answers each request with what the handler writes; the handler gets the
// socket once the request's header has arrived.
class Server : public QObject
{
public:
    using Handler = std::function<void(QTcpSocket*)>;

    explicit Server(Handler handler) : m_handler(std::move(handler))
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    m_request += socket->readAll();
                    if (m_request.contains("\r\n\r\n") && !m_answered) {
                        m_answered = true;
                        m_handler(socket);
                    }
                });
            }
        });
        m_server.listen(QHostAddress::LocalHost, 0);
    }

    QString Url(const char* path = "/update.xml") const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(QLatin1String(path));
    }

    QByteArray m_request;

private:
    QTcpServer m_server;
    Handler m_handler;
    bool m_answered = false;
};

QByteArray Answer(const QByteArray& status, const QByteArray& body)
{
    return "HTTP/1.1 " + status + "\r\nContent-Type: text/xml\r\nContent-Length: " +
           QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

void Send(QTcpSocket* socket, const QByteArray& data)
{
    socket->write(data);
    socket->flush();
    socket->disconnectFromHost();
}
}

class TestMNet : public QObject
{
    Q_OBJECT

private slots:
    void goodAnswerGivesTheWholeBody()
    {
        // More than one read's worth, with bytes above 127 kept one to a character.
        QByteArray body;
        for (int i = 0; i < 3000; ++i)
            body += "<v n=\"" + QByteArray::number(i) + "\"/>";
        body += "\xE9\xFC";
        Server server([&](QTcpSocket* s) { Send(s, Answer("200 OK", body)); });
        const QString text = MNet::NetReadUrl(server.Url(), 3000, MNet::DefaultMaxBytes);
        QCOMPARE(text.size(), body.size());
        QCOMPARE(text, QString::fromLatin1(body));
        QCOMPARE(MError::LastApiError(), MError::ErrorSuccess);
        QVERIFY(server.m_request.startsWith("GET /update.xml HTTP/1.1\r\n"));
        QVERIFY(server.m_request.contains("User-Agent: Microsoft Internet Explorer\r\n"));
        QVERIFY(server.m_request.contains("Cache-Control: no-cache\r\n"));
        QCOMPARE(MNet::OpenHandleCount(), std::size_t(0));
    }

    void bodyInPiecesWithoutLength()
    {
        Server server([](QTcpSocket* s) {
            s->write("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\nfirst ");
            s->flush();
            QTimer::singleShot(50, s, [s] { Send(s, "second"); });
        });
        QCOMPARE(MNet::NetReadUrl(server.Url(), 3000, MNet::DefaultMaxBytes), QStringLiteral("first second"));
    }

    void failuresGiveTheEmptyText_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("error");
        QTest::newRow("404") << Answer("404 Not Found", "<html>not here</html>") << MError::ErrorHttpStatus;
        QTest::newRow("500") << Answer("500 Internal Server Error", "oops") << MError::ErrorHttpStatus;
        QTest::newRow("cut short")
            << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\nConnection: close\r\n\r\n<update version=")
            << MError::ErrorInternetConnectionAborted;
        QTest::newRow("not http") << QByteArray("garbage without a status line\r\n\r\n")
                                  << MError::ErrorHttpInvalidServerResponse;
    }

    void failuresGiveTheEmptyText()
    {
        QFETCH(QByteArray, answer);
        QFETCH(int, error);
        Server server([&](QTcpSocket* s) { Send(s, answer); });
        MError::SetLastApiError(0);
        QCOMPARE(MNet::NetReadUrl(server.Url(), 3000, MNet::DefaultMaxBytes), QString());
        QVERIFY2(MError::LastApiError() != 0, "no error recorded");
        if (error != MError::ErrorHttpInvalidServerResponse)
            QCOMPARE(MError::LastApiError(), error);
    }

    void serverThatNeverAnswersTimesOut()
    {
        Server server([](QTcpSocket*) {});
        QCOMPARE(MNet::NetReadUrl(server.Url(), 700, MNet::DefaultMaxBytes), QString());
        QCOMPARE(MError::LastApiError(), MError::ErrorInternetTimeout);
    }

    void serverThatStallsMidBodyTimesOut()
    {
        Server server([](QTcpSocket* s) {
            s->write("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nhalf");
            s->flush();
        });
        QCOMPARE(MNet::NetReadUrl(server.Url(), 700, MNet::DefaultMaxBytes), QString());
        QCOMPARE(MError::LastApiError(), MError::ErrorInternetTimeout);
    }

    void refusedConnection()
    {
        quint16 port = 0;
        {
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
            port = probe.serverPort();
        }
        QCOMPARE(MNet::NetReadUrl(QStringLiteral("http://127.0.0.1:%1/x").arg(port), 3000, MNet::DefaultMaxBytes),
                 QString());
        QCOMPARE(MError::LastApiError(), MError::ErrorInternetCannotConnect);
    }

    void bodyOverTheLimitIsRefused()
    {
        const QByteArray body(64 * 1024, 'x');
        Server server([&](QTcpSocket* s) { Send(s, Answer("200 OK", body)); });
        QCOMPARE(MNet::NetReadUrl(server.Url(), 3000, 16 * 1024), QString());
        QCOMPARE(MError::LastApiError(), MError::ErrorHttpStatus);
        // The same body within the limit is fine.
        Server again([&](QTcpSocket* s) { Send(s, Answer("200 OK", body)); });
        QCOMPARE(MNet::NetReadUrl(again.Url(), 3000, body.size()).size(), body.size());
    }

    void emptyBodyAndBadAddresses()
    {
        Server server([](QTcpSocket* s) { Send(s, Answer("200 OK", "")); });
        QCOMPARE(MNet::NetReadUrl(server.Url(), 3000, MNet::DefaultMaxBytes), QString());
        QCOMPARE(MError::LastApiError(), MError::ErrorSuccess);
        QCOMPARE(MNet::NetReadUrl(QStringLiteral("not a url"), 1000, 10), QString());
        QCOMPARE(MNet::NetReadUrl(QStringLiteral("file:///etc/passwd"), 1000, 100000), QString());
        QCOMPARE(MError::LastApiError(), MError::ErrorInvalidParameter);
    }

    void handlePairReadsInPiecesAndClosesEverything()
    {
        const QByteArray body(10000, 'q');
        Server server([&](QTcpSocket* s) { Send(s, Answer("200 OK", body)); });
        std::uint32_t address = 99;
        std::uint32_t internet = MNet::NetOpenUrl(server.Url(), address, true);
        QVERIFY(internet != 0 && address != 0 && internet != address);
        // Asking for cached data sends no no-cache header.
        QVERIFY(!server.m_request.contains("no-cache"));
        char buffer[4096];
        QByteArray read;
        QList<qint64> pieces;
        for (qint64 got; (got = MNet::NetReadChunk(address, buffer, sizeof buffer)) > 0;) {
            pieces << got;
            read.append(buffer, got);
        }
        QCOMPARE(pieces, (QList<qint64>{4096, 4096, 1808}));
        QCOMPARE(read, body);
        MNet::NetCloseHandles(internet, address);
        QCOMPARE(internet, 0u);
        QCOMPARE(address, 0u);
        QCOMPARE(MNet::NetReadChunk(1, buffer, sizeof buffer), -1);
        QCOMPARE(MNet::OpenHandleCount(), std::size_t(0));

        // Closing the internet handle alone closes its address too; closing
        // again, or closing zeros, is harmless.
        Server second([&](QTcpSocket* s) { Send(s, Answer("200 OK", "x")); });
        internet = MNet::NetOpenUrl(second.Url(), address, false);
        QVERIFY(internet != 0);
        std::uint32_t none = 0;
        std::uint32_t internetCopy = internet;
        MNet::NetCloseHandles(internet, none);
        QCOMPARE(MNet::NetReadChunk(address, buffer, sizeof buffer), -1);
        MNet::NetCloseHandles(internetCopy, address);
        QCOMPARE(MNet::OpenHandleCount(), std::size_t(0));
    }

    void handlePairFailureKeepsNothingOpen()
    {
        Server server([](QTcpSocket* s) { Send(s, Answer("404 Not Found", "no")); });
        std::uint32_t address = 7;
        QCOMPARE(MNet::NetOpenUrl(server.Url(), address, false), 0u);
        QCOMPARE(address, 0u);
        QCOMPARE(MNet::NetOpenUrl(QStringLiteral("not a url"), address, false), 0u);
        QCOMPARE(MNet::OpenHandleCount(), std::size_t(0));
        // A read that fails to fetch leaves nothing behind either.
        QCOMPARE(MNet::NetReadUrl(QStringLiteral("file:///etc/passwd")), QString());
        QCOMPARE(MNet::OpenHandleCount(), std::size_t(0));
    }

    void errorTexts()
    {
        const QString text = MError::GetApiErrorText(2, MError::FormatMessageFromSystem);
        QCOMPARE(text.size(), 256);
        QVERIFY(text.startsWith(QStringLiteral("The system cannot find the file specified.\r\n\0")));
        QCOMPARE(text.mid(44), QString(212, QChar(u'\0')));
        QCOMPARE(MError::GetApiErrorText(987654, MError::FormatMessageFromSystem), QString(256, QChar(u'\0')));
        QCOMPARE(MError::GetApiErrorText(2, 0), QString(256, QChar(u'\0')));
        MError::SetLastApiError(MError::ErrorInternetTimeout);
        QVERIFY(MError::GetApiErrorText(-1, MError::FormatMessageFromSystem).startsWith(QStringLiteral("The operation timed out\r\n")));
    }
};

QTEST_GUILESS_MAIN(TestMNet)
#include "tst_MNet.moc"
