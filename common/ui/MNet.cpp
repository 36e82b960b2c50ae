#include "MNet.h"

#include "MError.h"

#include "CStringBuilder.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <map>
#include <mutex>

namespace MNet
{
namespace
{
std::int32_t ErrorOf(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::ConnectionRefusedError: return MError::ErrorInternetCannotConnect;
    case QNetworkReply::HostNotFoundError: return MError::ErrorInternetNameNotResolved;
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError: return MError::ErrorInternetTimeout;
    case QNetworkReply::RemoteHostClosedError: return MError::ErrorInternetConnectionAborted;
    case QNetworkReply::ProtocolFailure: return MError::ErrorHttpInvalidServerResponse;
    default: return MError::ErrorHttpStatus;
    }
}

bool Fail(std::int32_t code, QByteArray& body)
{
    body.clear();
    MError::SetLastApiError(code);
    return false;
}

bool Fetch(const QString& address, QByteArray& body, int timeoutMs, std::int64_t maxBytes, bool allowCached);

// Keeps the user's input from the program while a fetch waits. It is
// dropped, not held back: held back, a close box or an Escape pressed at a
// window that looks busy would act the moment the answer is there.
class InputDropper final : public QObject
{
public:
    InputDropper() { QCoreApplication::instance()->installEventFilter(this); }
    ~InputDropper() override { QCoreApplication::instance()->removeEventFilter(this); }
    InputDropper(const InputDropper&) = delete;
    InputDropper& operator=(const InputDropper&) = delete;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        switch (e->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        // From the window manager's close box (a close made by the program
        // itself is not spontaneous).
        case QEvent::Close:
            return e->spontaneous();
        // Made from a key press only.
        case QEvent::Shortcut:
            return true;
        default:
            return false;
        }
    }
};

// The open handles of this process. An internet handle stands for a
// session; an address handle for the body of one answer, read in pieces.
struct Handles
{
    struct Address
    {
        std::uint32_t internet = 0;
        QByteArray body;
        qsizetype position = 0;
    };
    std::mutex lock;
    std::uint32_t last = 0;
    std::map<std::uint32_t, bool> internets;
    std::map<std::uint32_t, Address> addresses;

    // Skips 0 and, after a wrap, any number still open.
    std::uint32_t NextLocked()
    {
        do {
            ++last;
        } while (last == 0 || internets.count(last) != 0 || addresses.count(last) != 0);
        return last;
    }
};

Handles& TheHandles()
{
    static Handles handles;
    return handles;
}

constexpr std::int64_t kChunkSize = 4096;

std::uint32_t OpenUrl(const QString& address, std::uint32_t& addressHandle, bool allowCached, int timeoutMs,
                      std::int64_t maxBytes)
{
    addressHandle = 0;
    QByteArray body;
    if (!Fetch(address, body, timeoutMs, maxBytes, allowCached))
        return 0;
    Handles& handles = TheHandles();
    std::lock_guard<std::mutex> guard(handles.lock);
    const std::uint32_t internet = handles.NextLocked();
    handles.internets[internet] = true;
    addressHandle = handles.NextLocked();
    handles.addresses[addressHandle] = Handles::Address{internet, std::move(body), 0};
    return internet;
}
}

QString NetReadUrl(const QString& address)
{
    return NetReadUrl(address, DefaultTimeoutMs, DefaultMaxBytes);
}

QString NetReadUrl(const QString& address, int timeoutMs, std::int64_t maxBytes)
{
    // The body is read back in the pieces the update server has always been
    // read in; each byte is one character.
    std::uint32_t addressHandle = 0;
    std::uint32_t internet = OpenUrl(address, addressHandle, false, timeoutMs, maxBytes);
    if (internet == 0)
        return {};
    CStringBuilder text;
    char buffer[kChunkSize];
    for (;;) {
        const std::int64_t got = NetReadChunk(addressHandle, buffer, kChunkSize);
        if (got <= 0)
            break;
        text.Append(QString::fromLatin1(buffer, qsizetype(got)));
    }
    NetCloseHandles(internet, addressHandle);
    return text.ToString();
}

std::uint32_t NetOpenUrl(const QString& address, std::uint32_t& addressHandle, bool allowCached)
{
    return OpenUrl(address, addressHandle, allowCached, DefaultTimeoutMs, DefaultMaxBytes);
}

std::int64_t NetReadChunk(std::uint32_t addressHandle, char* buffer, std::int64_t size)
{
    Handles& handles = TheHandles();
    std::lock_guard<std::mutex> guard(handles.lock);
    const auto it = handles.addresses.find(addressHandle);
    if (it == handles.addresses.end() || buffer == nullptr || size < 0)
        return -1;
    Handles::Address& a = it->second;
    const qsizetype n = qsizetype(std::min<std::int64_t>(size, a.body.size() - a.position));
    std::copy_n(a.body.constData() + a.position, n, buffer);
    a.position += n;
    return n;
}

void NetCloseHandles(std::uint32_t& internetHandle, std::uint32_t& addressHandle)
{
    Handles& handles = TheHandles();
    std::lock_guard<std::mutex> guard(handles.lock);
    if (addressHandle != 0)
        handles.addresses.erase(addressHandle);
    if (internetHandle != 0 && handles.internets.erase(internetHandle) != 0) {
        for (auto it = handles.addresses.begin(); it != handles.addresses.end();)
            it = it->second.internet == internetHandle ? handles.addresses.erase(it) : std::next(it);
    }
    internetHandle = 0;
    addressHandle = 0;
}

std::size_t OpenHandleCount()
{
    Handles& handles = TheHandles();
    std::lock_guard<std::mutex> guard(handles.lock);
    return handles.internets.size() + handles.addresses.size();
}

bool NetReadUrlBytes(const QString& address, QByteArray& body, int timeoutMs, std::int64_t maxBytes)
{
    return Fetch(address, body, timeoutMs, maxBytes, false);
}

namespace
{
bool Fetch(const QString& address, QByteArray& body, int timeoutMs, std::int64_t maxBytes, bool allowCached)
{
    body.clear();
    const QUrl url(address, QUrl::StrictMode);
    if (QCoreApplication::instance() == nullptr || !url.isValid() ||
        (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")))
        return Fail(MError::ErrorInvalidParameter, body);

    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Microsoft Internet Explorer"));
    if (!allowCached) {
        // The fetch goes to the server, and its answer is kept nowhere.
        request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
        request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
        request.setRawHeader("Cache-Control", "no-cache");
        request.setRawHeader("Pragma", "no-cache");
    }
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(5);

    QNetworkReply* reply = manager.get(request);
    QEventLoop loop;
    bool timedOut = false;
    bool tooLarge = false;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        body += reply->readAll();
        if (static_cast<std::int64_t>(body.size()) > maxBytes) {
            tooLarge = true;
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    deadline.start(timeoutMs > 0 ? timeoutMs : DefaultTimeoutMs);
    if (!reply->isFinished()) {
        const InputDropper noInput;
        loop.exec();
    }
    deadline.stop();
    if (!tooLarge && !timedOut)
        body += reply->readAll();

    const QNetworkReply::NetworkError error = reply->error();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QVariant declared = reply->header(QNetworkRequest::ContentLengthHeader);
    const bool encoded = reply->hasRawHeader("Content-Encoding");
    reply->deleteLater();
    // The reply goes with the manager at the end of this call.
    if (timedOut)
        return Fail(MError::ErrorInternetTimeout, body);
    if (tooLarge || static_cast<std::int64_t>(body.size()) > maxBytes)
        return Fail(MError::ErrorHttpStatus, body);
    if (error != QNetworkReply::NoError && status == 0)
        return Fail(ErrorOf(error), body);
    if (status < 200 || status > 299)
        return Fail(MError::ErrorHttpStatus, body);
    if (error != QNetworkReply::NoError)
        return Fail(ErrorOf(error), body);
    // A body shorter than the server announced was cut off on the way.
    if (declared.isValid() && !encoded && declared.toLongLong() != body.size())
        return Fail(MError::ErrorInternetConnectionAborted, body);
    MError::SetLastApiError(MError::ErrorSuccess);
    return true;
}
}
}
