#include "DavSession.h"

#include <QBuffer>
#include <QEventLoop>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QSslError>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

constexpr int MostRedirects = 5;
// An address book's answer to one request; past this it is no answer we take.
constexpr qint64 LargestAnswer = qint64(64) * 1024 * 1024;

bool sameServer(const QUrl &a, const QUrl &b)
{
    return a.scheme() == b.scheme() && a.host().compare(b.host(), Qt::CaseInsensitive) == 0 &&
           a.port(a.scheme() == u"https" ? 443 : 80) == b.port(b.scheme() == u"https" ? 443 : 80);
}

QString certificateText(const QList<QSslError> &errors)
{
    QStringList parts;
    for (const QSslError &error : errors) {
        QString part = error.errorString();
        const QSslCertificate certificate = error.certificate();
        if (!certificate.isNull()) {
            part +=
                u" (Zertifikat für „%1“, ausgestellt von „%2“, gültig bis %3, SHA-256 %4)"_s.arg(
                    certificate.subjectInfo(QSslCertificate::CommonName).join(u", "_s),
                    certificate.issuerInfo(QSslCertificate::CommonName).join(u", "_s),
                    certificate.expiryDate().toString(Qt::ISODate),
                    QString::fromLatin1(certificate.digest(QCryptographicHash::Sha256).toHex(':')));
        }
        if (!parts.contains(part))
            parts.append(part);
    }
    return parts.join(u"; "_s);
}

} // namespace

DavSession::DavSession(const QString &user, const QString &password,
                       std::chrono::milliseconds timeout)
    : m_timeout(std::min<std::chrono::milliseconds>(timeout, LongestTimeout))
{
    SetCredentials(user, password);
    m_network.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

void DavSession::SetCredentials(const QString &user, const QString &password)
{
    m_authorization = "Basic " + (user + u':' + password).toUtf8().toBase64();
}

void DavSession::Cancel()
{
    if (m_current == nullptr)
        return;
    m_cancelled = true;
    m_current->abort();
}

DavResponse DavSession::Send(const QByteArray &method, const QUrl &url, const QByteArray &body,
                             const DavHeaders &headers)
{
    QUrl target = url;
    for (int redirect = 0;; ++redirect) {
        DavResponse response = sendOnce(method, target, body, headers);
        if (response.Error || response.Status < 300 || response.Status >= 400 ||
            response.Status == 304)
            return response;
        const QUrl next = target.resolved(QUrl(QString::fromUtf8(response.Location)));
        if (!next.isValid() || next == target || redirect == MostRedirects) {
            response.Error = {DavFailure::Refused, u"HTTP %1"_s.arg(response.Status)};
            return response;
        }
        if (!sameServer(target, next)) {
            response.Error = {DavFailure::RedirectElsewhere, next.toDisplayString()};
            return response;
        }
        target = next;
    }
}

DavResponse DavSession::sendOnce(const QByteArray &method, const QUrl &url, const QByteArray &body,
                                 const DavHeaders &headers)
{
    QNetworkRequest request(url);
    request.setRawHeader("Authorization", m_authorization);
    request.setHeader(QNetworkRequest::UserAgentHeader, u"Ordalis"_s);
    for (const auto &[name, value] : headers)
        request.setRawHeader(name, value);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);

    QBuffer upload;
    upload.setData(body);
    upload.open(QIODevice::ReadOnly);
    ++m_requests;
    QNetworkReply *reply = m_network.sendCustomRequest(request, method, &upload);

    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    m_current = reply;
    m_cancelled = false;
    bool timedOut = false;
    QString tlsDetail;
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::sslErrors, &loop,
                     [&](const QList<QSslError> &errors) { tlsDetail = certificateText(errors); });
    bool tooLarge = false;
    QObject::connect(reply, &QNetworkReply::downloadProgress, &loop, [&](qint64 received, qint64) {
        if (received > LargestAnswer && !tooLarge) {
            tooLarge = true;
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    timer.start(m_timeout);
    if (!reply->isFinished())
        loop.exec();
    timer.stop();
    m_current = nullptr;

    DavResponse response;
    response.Url = url;
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (m_cancelled) {
        response.Error = {DavFailure::Cancelled, {}};
    } else if (timedOut) {
        response.Error = {DavFailure::Timeout,
                          QString::number(double(m_timeout.count()) / 1000.0, 'g', 3)};
    } else if (tooLarge) {
        response.Error = {DavFailure::Refused, u"Antwort über 64 MiB"_s};
    } else if (!tlsDetail.isEmpty()) {
        response.Error = {DavFailure::Tls, tlsDetail};
    } else if (!status.isValid()) {
        response.Error = {reply->error() == QNetworkReply::SslHandshakeFailedError
                              ? DavFailure::Tls
                              : DavFailure::Unreachable,
                          reply->errorString()};
    } else {
        response.Status = status.toInt();
        response.ETag = reply->rawHeader("ETag");
        response.Location = reply->rawHeader("Location");
        response.Body = reply->readAll();
        if (response.Status == 401 || response.Status == 403)
            response.Error = {DavFailure::Unauthorized, u"HTTP %1"_s.arg(response.Status)};
        else if (response.Status == 507)
            response.Error = {DavFailure::Quota, u"HTTP 507"_s};
    }
    reply->deleteLater();
    return response;
}
