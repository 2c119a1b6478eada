#include "CardDavDestination.h"

#include "act/ActHost.h"

#include "cards/ContactValues.h"
#include "cards/NoteLabels.h"
#include "cards/VCardImport.h"
#include "cards/VCardReader.h"
#include "cards/VCardWriter.h"

#include "recognition/RecognitionContext.h"

#include "support/ActFields.h"
#include "support/FieldRows.h"

#include <QDir>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace {

bool isBlank(const QString &text)
{
    for (const QChar c : text) {
        if (c != u' ')
            return false;
    }
    return true;
}

CardQuery queryFor(const ContactValues &values)
{
    QString name = values.value(ActField::Kontakt);
    if (name.isEmpty())
        name =
            (values.value(ActField::Vorname) + u' ' + values.value(ActField::Nachname)).trimmed();
    if (name.isEmpty())
        name = values.value(ActField::Firma);
    return {values.value(ActField::EMail), name, values.value(ActField::Firma)};
}

// The card keeps the UID it has on the server: other devices know it by it.
QByteArray withUid(const QByteArray &vcard, const QString &uid)
{
    if (uid.isEmpty())
        return vcard;
    const qsizetype start = vcard.indexOf("\r\nUID:");
    if (start < 0)
        return vcard;
    const qsizetype end = vcard.indexOf("\r\n", start + 2);
    return vcard.left(start + 2) + "UID:" + uid.toUtf8() + vcard.mid(end);
}

// Where a contact that did not reach the address book is kept; empty when
// it could not be written either.
QString keepCard(const QString &folder, const QByteArray &vcard, const QString &uid)
{
    const QDir dir(folder);
    const QString stem = u"Kontakt-%1"_s.arg(uid.section(u':', -1).left(8));
    QString path = dir.filePath(stem + u".vcf"_s);
    for (int n = 2; QFile::exists(path); ++n)
        path = dir.filePath(u"%1-%2.vcf"_s.arg(stem).arg(n));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(vcard) != vcard.size() || !file.commit())
        return {};
    return QDir::toNativeSeparators(path);
}

} // namespace

CardDavDestination::CardDavDestination(CardDavAccount account, ActHost &host, QString keepFolder,
                                       AskDuplicate askDuplicate)
    : m_account(std::move(account)), m_host(host), m_keepFolder(std::move(keepFolder)),
      m_askDuplicate(std::move(askDuplicate)),
      m_session(m_account.User, m_account.Password, m_account.Timeout), m_client(m_session)
{}

Outcome CardDavDestination::LoadFields(FieldRows &rows, const Settings &)
{
    // Every field reaches the card: those without a property travel in its note.
    rows.FillStandardCatalogue();
    return Outcome::Done();
}

DavError CardDavDestination::send(bool isNew, const ContactValues &values, const NoteLabels &labels,
                                  QByteArray &vcard, NewCard &outcome, QString &foundName)
{
    DavError error = ensureBook();
    const VCardVersion version =
        m_book && m_book->OffersVCard4 ? VCardVersion::V4 : VCardVersion::V3;
    vcard = WriteVCard(values, labels, version);
    outcome = NewCard::Created;
    if (!error && isNew)
        error = create(vcard, queryFor(values), outcome, foundName);
    if (!error && (!isNew || outcome == NewCard::AddToFound))
        error = edit(values, labels, version, vcard);
    return error;
}

DavError CardDavDestination::ensureBook()
{
    if (m_book)
        return {};
    QList<AddressBook> books;
    if (const DavError error = m_client.Discover(m_account.Server, books))
        return error;
    const QString wanted = m_account.AddressBookName;
    for (const AddressBook &book : books) {
        const QString name = book.Url.path().section(u'/', -2, -2);
        if (wanted.isEmpty() ? books.size() == 1 : (book.DisplayName == wanted || name == wanted)) {
            m_book = book;
            return {};
        }
    }
    QStringList names;
    for (const AddressBook &book : books)
        names.append(book.DisplayName.isEmpty() ? book.Url.path() : book.DisplayName);
    return {DavFailure::NoAddressBook,
            names.isEmpty() ? u"keines im Konto"_s : u"vorhanden: %1"_s.arg(names.join(u", "_s))};
}

DavError CardDavDestination::create(const QByteArray &vcard, const CardQuery &query,
                                    NewCard &outcome, QString &foundName)
{
    outcome = NewCard::Created;
    std::optional<ServerCard> found;
    if (const DavError error = m_client.Find(*m_book, query, found))
        return error;
    if (found) {
        foundName = query.EMail.isEmpty() ? query.FormattedName : query.EMail;
        const DuplicateChoice choice = m_askDuplicate(foundName);
        if (choice != DuplicateChoice::CreateAnyway) {
            m_last = found->Ref;
            outcome = choice == DuplicateChoice::Cancel ? NewCard::Cancelled : NewCard::AddToFound;
            return {};
        }
    }
    const QString uid = QString::fromUtf8(vcard).section(u"\r\nUID:"_s, 1).section(u"\r\n"_s, 0, 0);
    CardRef written;
    if (const DavError error =
            m_client.Create(*m_book, uid.section(u':', -1) + u".vcf"_s, vcard, written))
        return error;
    m_last = written;
    return {};
}

DavError CardDavDestination::edit(const ContactValues &values, const NoteLabels &labels,
                                  VCardVersion version, QByteArray &vcard)
{
    if (!m_last)
        return {DavFailure::NoCard, {}};
    ServerCard server;
    if (const DavError error = m_client.Fetch(m_last->Url, server))
        return error;
    // Changed since we wrote or found it: the rows would overwrite someone's edit
    // unless the user says otherwise; the server's version is then the one edited.
    QByteArray expected = m_last->ETag;
    if (!expected.isEmpty() && server.Ref.ETag != expected) {
        if (!m_prompts.OverwriteChanged || !m_prompts.OverwriteChanged())
            return {DavFailure::Changed, {}};
        expected = server.Ref.ETag;
    }
    const VCardReadResult read = ReadVCards(server.VCard);
    if (read.Cards.size() != 1)
        return {DavFailure::Foreign, u"keine lesbare Karte"_s};
    const ImportedContact imported = ContactFromVCard(read.Cards.first(), labels);
    if (!imported.Unused.isEmpty())
        return {DavFailure::Foreign, imported.Unused.join(u", "_s)};
    // As ACT! does: the rows' fields replace, the card's other fields stay.
    ContactValues merged = imported.Values;
    for (auto it = values.begin(); it != values.end(); ++it)
        merged.insert(it.key(), it.value());
    QString uid;
    for (const VCardProperty &property : read.Cards.first().Properties) {
        if (property.Name == u"UID")
            uid = property.Value;
    }
    vcard = withUid(WriteVCard(merged, labels, version), uid);
    CardRef ref{m_last->Url, expected.isEmpty() ? server.Ref.ETag : expected};
    if (const DavError error = m_client.Update(ref, vcard))
        return error;
    m_last = ref;
    return {};
}

Message CardDavDestination::fail(bool isNew, const DavError &error, const QByteArray &vcard)
{
    Message message{isNew ? Message::Id::ContactNotCreated : Message::Id::ContactNotEdited,
                    {DavFailureText(error)}};
    if (m_prompts.NotWritten) {
        m_prompts.NotWritten(message.Text(), vcard);
        return {};
    }
    const QString uid = QString::fromUtf8(vcard).section(u"\r\nUID:"_s, 1).section(u"\r\n"_s, 0, 0);
    const QString kept = keepCard(m_keepFolder, vcard, uid);
    const QString where =
        kept.isEmpty() ? u"Der Kontakt konnte auch nicht als Datei in „%1“ gesichert werden."_s.arg(
                             QDir::toNativeSeparators(m_keepFolder))
                       : u"Der Kontakt wurde als „%1“ gesichert."_s.arg(kept);
    message.arguments.append(where);
    return message;
}

Outcome CardDavDestination::Write(bool isNew, const FieldRows &rows,
                                  const RecognitionContext &context)
{
    if (isBlank(m_host.CapturedText()))
        return Outcome::Failed({Message::Id::NoData});
    m_host.SetBusyPointer(true);
    const ContactValues values = ValuesFromRows(rows, context.LoadedDefinitionHits());
    const NoteLabels labels(CatalogueFromRows(rows));
    QByteArray vcard;
    NewCard outcome = NewCard::Created;
    QString foundName;
    DavError error = send(isNew, values, labels, vcard, outcome, foundName);
    while (error.Kind == DavFailure::Unauthorized && m_prompts.Password) {
        m_host.SetBusyPointer(false);
        const std::optional<QString> password = m_prompts.Password();
        if (!password)
            break;
        m_account.Password = *password;
        m_session.SetCredentials(m_account.User, *password);
        m_host.SetBusyPointer(true);
        error = send(isNew, values, labels, vcard, outcome, foundName);
    }
    // Sent elsewhere while the address book was looked up: that server is the account's now.
    while (error.Kind == DavFailure::RedirectElsewhere && !m_book && m_prompts.FollowRedirect) {
        m_host.SetBusyPointer(false);
        const QUrl next(error.Detail);
        if (!m_prompts.FollowRedirect(next))
            break;
        m_account.Server = next;
        m_host.SetBusyPointer(true);
        error = send(isNew, values, labels, vcard, outcome, foundName);
    }
    m_host.SetBusyPointer(false);
    m_host.SetTopMost(false);

    if (error)
        return Outcome::Failed(fail(isNew, error, vcard));
    if (outcome == NewCard::Cancelled)
        return Outcome::Failed({Message::Id::CardAlreadyThere, {foundName}});
    if (m_host.ShowCompletionDialog(isNew) == CompletionChoiceQuit)
        m_host.EndProgram();
    return Outcome::Done();
}
