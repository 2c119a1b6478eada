#pragma once

#include "ContactDestination.h"

#include "carddav/CardDavClient.h"
#include "carddav/DavSession.h"

#include "cards/ContactValues.h"
#include "cards/VCardWriter.h"

#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

class ActHost;
class NoteLabels;

struct CardDavAccount
{
    QUrl Server; // the bare server, the principal or the address book itself
    QString User;
    QString Password;
    QString AddressBookName; // display name or last path part; empty: the only one
    std::chrono::milliseconds Timeout = DavSession::LongestTimeout;
};

// What to do when the address book holds the same person already.
enum class DuplicateChoice { AddToFound, CreateAnyway, Cancel };

// The questions a write may need answered; each unset one is answered "no".
struct CardDavPrompts
{
    // Another password after the server refused this one; nothing: give up.
    std::function<std::optional<QString>()> Password;
    // Whether the rows go over a card changed on the server meanwhile, the
    // server's other fields kept.
    std::function<bool()> OverwriteChanged;
    // Whether to go on to another server the address book sends us to; the
    // name and password go there too.
    std::function<bool(const QUrl &)> FollowRedirect;
    // Tells the user of a contact that could not be written and keeps it;
    // unset: kept in the keep folder, and the outcome says where.
    std::function<void(const QString &message, const QByteArray &vcard)> NotWritten;
};

// A CardDAV address book. The rows go in as a card of the same mapping the
// exports use; a contact that cannot be written is kept as a .vcf file in
// `keepFolder`, and the message says where.
class CardDavDestination : public ContactDestination
{
public:
    using AskDuplicate = std::function<DuplicateChoice(const QString &foundName)>;

    CardDavDestination(CardDavAccount account, ActHost &host, QString keepFolder,
                       AskDuplicate askDuplicate);

    // The fields the card mapping knows; needs no server.
    Outcome LoadFields(FieldRows &rows, const Settings &settings) override;
    Outcome Write(bool isNew, const FieldRows &rows, const RecognitionContext &context) override;

    // The card last written or found, which "Bearbeiten" edits.
    const std::optional<CardRef> &LastCard() const { return m_last; }
    void SetLastCard(std::optional<CardRef> card) { m_last = std::move(card); }
    void SetPrompts(CardDavPrompts prompts) { m_prompts = std::move(prompts); }
    // Ends the request under way; the write fails as cancelled.
    void Cancel() { m_session.Cancel(); }
    const CardDavAccount &Account() const { return m_account; }

    // The requests sent so far.
    int RequestCount() const { return m_session.RequestCount(); }

private:
    enum class NewCard { Created, Cancelled, AddToFound };

    DavError send(bool isNew, const ContactValues &values, const NoteLabels &labels,
                  QByteArray &vcard, NewCard &outcome, QString &foundName);
    DavError ensureBook();
    DavError create(const QByteArray &vcard, const CardQuery &query, NewCard &outcome,
                    QString &foundName);
    // Over the last card: fetched, its fields kept where the rows set none.
    DavError edit(const ContactValues &values, const NoteLabels &labels, VCardVersion version,
                  QByteArray &vcard);
    // Keeps the unwritten contact; the message for the program to show (none
    // when NotWritten has told the user itself).
    Message fail(bool isNew, const DavError &error, const QByteArray &vcard);

    CardDavAccount m_account;
    ActHost &m_host;
    QString m_keepFolder;
    AskDuplicate m_askDuplicate;
    CardDavPrompts m_prompts;
    DavSession m_session;
    CardDavClient m_client;
    std::optional<AddressBook> m_book;
    std::optional<CardRef> m_last;
};
