#pragma once

#include "DavFailure.h"

#include <QByteArray>
#include <QList>
#include <QNetworkAccessManager>
#include <QString>
#include <QUrl>

#include <chrono>
#include <utility>

class QNetworkReply;

struct DavResponse
{
    DavError Error;  // transport failures and the answers every request treats alike
    int Status = 0;  // the HTTP status, when an answer came
    QUrl Url;        // where the answer came from, after redirects on the same server
    QByteArray ETag; // the ETag header, as sent
    QByteArray Location;
    QByteArray Body;
};

using DavHeaders = QList<std::pair<QByteArray, QByteArray>>;

// One account on one server: requests that wait for their answer (the event
// loop turns meanwhile), at most `timeout` each. Redirects are followed only
// on the same scheme, host and port; the credentials never leave that server.
// Certificate errors fail the request with the certificate's details.
class DavSession
{
public:
    static constexpr std::chrono::seconds LongestTimeout{30};

    DavSession(const QString &user, const QString &password,
               std::chrono::milliseconds timeout = LongestTimeout);

    DavResponse Send(const QByteArray &method, const QUrl &url, const QByteArray &body = {},
                     const DavHeaders &headers = {});

    // Ends the request under way, which fails as Cancelled; the next one goes out again.
    void Cancel();
    // Another password for the requests that follow (after a 401).
    void SetCredentials(const QString &user, const QString &password);

    // How many requests went out, redirects included.
    int RequestCount() const { return m_requests; }

private:
    DavResponse sendOnce(const QByteArray &method, const QUrl &url, const QByteArray &body,
                         const DavHeaders &headers);

    QNetworkAccessManager m_network;
    QByteArray m_authorization;
    std::chrono::milliseconds m_timeout;
    int m_requests = 0;
    QNetworkReply *m_current = nullptr;
    bool m_cancelled = false;
};
