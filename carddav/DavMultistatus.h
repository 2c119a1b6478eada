#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// One <response> of a 207 Multi-Status, with the properties an address
// book client asks for; only those the server answered with 200.
struct DavResource
{
    QString Href;
    bool IsAddressBook = false;
    QString DisplayName;
    QString PrincipalHref; // current-user-principal
    QString HomeHref;      // addressbook-home-set
    bool OffersVCard4 = false;
    QByteArray ETag;
    QByteArray AddressData;
};

// The responses of a multistatus body; nothing when it is none.
std::optional<QList<DavResource>> ReadMultistatus(const QByteArray &body);
