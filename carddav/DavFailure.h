#pragma once

#include <QString>

// What can go wrong between us and an address book; None when nothing did.
enum class DavFailure {
    None,
    Unauthorized,      // 401 or 403
    Unreachable,       // refused, no such host, connection dropped
    Timeout,           // no answer within the time allowed
    Tls,               // certificate or handshake; never ignored
    RedirectElsewhere, // sent on to another host, scheme or port
    NotCardDav,        // no address book behind the address
    NoAddressBook,     // the account holds none, or not the one asked for
    BookGone,          // the address book or the card went away
    Quota,             // 507
    Changed,           // the card changed on the server since we read it
    Exists,            // a card of that name is there already
    NoCard,            // nothing written or found yet to edit
    Foreign,           // the card holds what an edit would lose
    Refused,           // any other answer
    Cancelled,         // the user stopped the request
};

struct DavError
{
    DavFailure Kind = DavFailure::None;
    QString Detail; // what the server or the connection said, for the message

    explicit operator bool() const { return Kind != DavFailure::None; }
};

// The German sentence for a failure, its detail included.
QString DavFailureText(const DavError &error);
