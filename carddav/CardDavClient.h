#pragma once

#include "DavFailure.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

#include <optional>

class DavSession;

struct AddressBook
{
    QUrl Url;
    QString DisplayName;
    bool OffersVCard4 = false;
};

// A card on the server and the version of it we know.
struct CardRef
{
    QUrl Url;
    QByteArray ETag;

    bool operator==(const CardRef &) const = default;
};

struct ServerCard
{
    CardRef Ref;
    QByteArray VCard;
};

// What to look for before a new card goes in: the e-mail address, else the
// formatted name and the company.
struct CardQuery
{
    QString EMail;
    QString FormattedName;
    QString Company;
};

// The CardDAV conversation: discovery, search, reading and writing cards.
// Knows vCards only as bytes.
class CardDavClient
{
public:
    explicit CardDavClient(DavSession &session) : m_session(session) {}

    // The address books of the account behind a server address (the bare
    // server, the principal, the home or an address book itself).
    DavError Discover(const QUrl &server, QList<AddressBook> &books);
    // The first card that matches, if any.
    DavError Find(const AddressBook &book, const CardQuery &query,
                  std::optional<ServerCard> &found);
    // A new card under `name`; never replaces one that is there.
    DavError Create(const AddressBook &book, const QString &name, const QByteArray &vcard,
                    CardRef &written);
    DavError Fetch(const QUrl &card, ServerCard &fetched);
    // Replaces the card only while it is still the version `ref` names.
    DavError Update(CardRef &ref, const QByteArray &vcard);

private:
    DavError propfind(const QUrl &url, int depth, const QByteArray &body, QUrl &answeredAt,
                      QList<struct DavResource> &resources);

    DavSession &m_session;
};
