#include "MNet.h"

#include "MError.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>
#include <QUrl>

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
}

QString NetReadUrl(const QString& address)
{
    return NetReadUrl(address, DefaultTimeoutMs, DefaultMaxBytes);
}

QString NetReadUrl(const QString& address, int timeoutMs, std::int64_t maxBytes)
{
    QByteArray body;
    if (!NetReadUrlBytes(address, body, timeoutMs, maxBytes))
        return {};
    return QString::fromLatin1(body);
}

bool NetReadUrlBytes(const QString& address, QByteArray& body, int timeoutMs, std::int64_t maxBytes)
{
    body.clear();
    const QUrl url(address, QUrl::StrictMode);
    if (QCoreApplication::instance() == nullptr || !url.isValid() ||
        (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")))
        return Fail(MError::ErrorInvalidParameter, body);

    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Microsoft Internet Explorer"));
    // Every fetch goes to the server.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setRawHeader("Cache-Control", "no-cache");
    request.setRawHeader("Pragma", "no-cache");
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
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
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
