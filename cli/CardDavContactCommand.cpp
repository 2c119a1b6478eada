#include "CardDavContactCommand.h"

#include "BlockHost.h"
#include "CommandMessages.h"
#include "InputFile.h"
#include "JsonWriter.h"
#include "PlainRequest.h"
#include "RowOutput.h"
#include "TextCommandOptions.h"
#include "Usage.h"

#include "destinations/CardDavDestination.h"

#include "recognition/ParseAddress.h"

#include "recognition/RecognitionContext.h"

// The account set up in the window, and its password.
#include "destinations/AddressBookAccount.h"
#include "destinations/PasswordStore.h"

#include "support/FieldRows.h"
#include "support/SettingsFile.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>

using namespace Qt::StringLiterals;

namespace {

constexpr int ExitNotWritten = 1;
const QString PasswordVariable = u"ORDALIS_CARDDAV_PASSWORD"_s;

// The card to edit next, remembered per account beside the settings file.
class LastCardStore
{
public:
    LastCardStore(const QString &settingsFile, const CardDavOptions &options)
        : m_settings(QFileInfo(settingsFile).absolutePath() + u"/carddav-letzte-karte.ini"_s,
                     QSettings::IniFormat),
          m_account(options.user + u'@' + options.url)
    {}

    std::optional<CardRef> Read() const
    {
        if (m_settings.value(u"Konto"_s).toString() != m_account)
            return std::nullopt;
        const QUrl url(m_settings.value(u"Karte"_s).toString());
        if (!url.isValid())
            return std::nullopt;
        return CardRef{url, m_settings.value(u"ETag"_s).toString().toUtf8()};
    }

    bool Write(const CardRef &card)
    {
        m_settings.setValue(u"Konto"_s, m_account);
        m_settings.setValue(u"Karte"_s, card.Url.toString());
        m_settings.setValue(u"ETag"_s, QString::fromUtf8(card.ETag));
        m_settings.sync();
        return m_settings.status() == QSettings::NoError;
    }

private:
    QSettings m_settings;
    QString m_account;
};

QByteArray outcomeLine(qint64 line, bool written, const CardDavDestination &destination,
                       const CommandMessages &messages)
{
    std::string out;
    {
        JsonWriter json(out);
        json.BeginObject();
        if (line > 0)
            json.Key("line").Number(line);
        json.Key("written").Members(written ? "true" : "false");
        if (destination.LastCard())
            json.Key("card").String(destination.LastCard()->Url.toString());
        if (messages.Shown())
            json.Key("message").String(messages.LastText());
        json.EndObject();
    }
    out += '\n';
    return QByteArray::fromStdString(out);
}

// {"text", "separator"} as recognize --jsonl reads it; false with a reason otherwise.
bool readRequest(QByteArrayView line, PlainRequest &request, QString &reason)
{
    if (ReadPlainRequest(line, request))
        return true;
    const QJsonDocument document = QJsonDocument::fromJson(line.toByteArray());
    const QJsonValue text = document.object().value("text"_L1);
    if (!document.isObject() || !text.isString()) {
        reason = u"expected an object with a string \"text\""_s;
        return false;
    }
    request.text = text.toString();
    request.separator = document.object().value("separator"_L1).toString();
    return true;
}

// The password (environment, or the first line of standard input) and the
// input (FILE, or the rest of standard input); false with a reason.
bool readPasswordAndInput(const TextCommandOptions &options, QString &password, QByteArray &input,
                          QString &reason)
{
    password = qEnvironmentVariable(PasswordVariable.toLatin1().constData());
    const bool inputFromFile = !options.inputFile.isEmpty();
    if (options.carddav.passwordStdin) {
        const std::optional<QByteArray> standardInput = ReadInput({}, reason);
        if (!standardInput)
            return false;
        const qsizetype end = standardInput->indexOf('\n');
        password = QString::fromUtf8(standardInput->left(end)).remove(u'\r');
        if (!inputFromFile && end >= 0)
            input = standardInput->mid(end + 1);
    }
    if (password.isEmpty()) {
        AddressBookAccount account;
        account.User = options.carddav.user;
        account.BookUrl = options.carddav.url;
        password = KeyringPasswordStore().Read(account.PasswordKey());
    }
    if (password.isEmpty()) {
        reason = u"no password: set %1, use --password-stdin or keep it in the keyring (the "
                 u"window's address book setup)"_s.arg(PasswordVariable);
        return false;
    }
    if (options.carddav.passwordStdin && !inputFromFile)
        return true;
    const std::optional<QByteArray> read = ReadInput(options.inputFile, reason);
    if (read)
        input = *read;
    return read.has_value();
}

// One command's writes into one account, with the card to edit remembered.
class CardDavRun
{
public:
    CardDavRun(const QString &command, const TextCommandOptions &options,
               const QString &settingsFile, const QString &password)
        : m_command(command), m_options(options), m_settings(LoadSettings(m_rows, settingsFile)),
          m_destination({QUrl(options.carddav.url), options.carddav.user, password,
                         options.carddav.addressBook,
                         std::chrono::seconds(options.carddav.timeoutSeconds)},
                        m_host, QFileInfo(settingsFile).absolutePath(),
                        [create = options.carddav.createAnyway](const QString &) {
                            return create ? DuplicateChoice::CreateAnyway : DuplicateChoice::Cancel;
                        }),
          m_store(settingsFile, options.carddav)
    {
        m_destination.LoadFields(m_rows, m_settings);
        m_destination.SetLastCard(m_store.Read());
    }

    // --jsonl: a card per line, a JSON line per card.
    bool WriteLines(const QByteArray &input)
    {
        bool allWritten = true;
        qint64 number = 0;
        for (const QByteArray &line : input.split('\n')) {
            ++number;
            if (line.trimmed().isEmpty())
                continue;
            CommandMessages messages;
            PlainRequest request;
            QString reason;
            bool written = false;
            if (readRequest(line, request, reason))
                written = write(true, request.text, request.separator, messages);
            else
                messages.Say(reason);
            allWritten = allWritten && written;
            report(outcomeLine(number, written, m_destination, messages));
        }
        CommandMessages messages;
        return remember(messages) && allWritten;
    }

    // One block, answered as the ACT! command answers.
    bool WriteOne(bool isNew, const QByteArray &input)
    {
        CommandMessages messages;
        // A card found instead of written is remembered too, for edit-contact.
        const bool sent = write(isNew, QString::fromUtf8(input),
                                m_options.separator.value_or(QString()), messages);
        const bool written = remember(messages) && sent;
        QByteArray text = m_table + '\n';
        if (written)
            text += isNew ? "Kontakt wurde erfolgreich angelegt.\n"
                          : "Kontakt wurde erfolgreich bearbeitet.\n";
        else
            text += u"Nicht geschrieben: %1\n"_s.arg(messages.LastText()).toUtf8();
        report(m_options.json ? outcomeLine(0, written, m_destination, messages) : text);
        return written;
    }

    // False when a line of the report did not reach standard output.
    bool Reported() const { return m_reported; }

private:
    // After the first lost line the rest are not tried: the failure is said once.
    void report(const QByteArray &line) { m_reported = m_reported && WriteStdout(m_command, line); }

    // Recognised as `recognize` does, then written.
    bool write(bool isNew, const QString &text, const QString &separator, CommandMessages &messages)
    {
        m_rows.ResetAllRows();
        RecognitionContext context(m_settings);
        context.UserSeparator = separator;
        messages.Say(CaptureText(context, text, false, m_rows, m_host.text).message);
        if (!m_options.jsonLines && !m_options.json)
            m_table = RowTable(m_rows, context);
        const Outcome outcome = m_destination.Write(isNew, m_rows, context);
        messages.Say(outcome.message);
        return outcome.done;
    }

    bool remember(CommandMessages &messages)
    {
        if (!m_destination.LastCard() || m_store.Write(*m_destination.LastCard()))
            return true;
        messages.Say(Message{Message::Id::LastCardNotNoted});
        return false;
    }

    const QString m_command;
    const TextCommandOptions &m_options;
    bool m_reported = true;
    FieldRows m_rows;
    Settings m_settings;
    BlockHost m_host;
    CardDavDestination m_destination;
    LastCardStore m_store;
    QByteArray m_table;
};

} // namespace

int RunCardDavContactCommand(bool isNew, const TextCommandOptions &options,
                             const QString &settingsFile)
{
    const QString command = isNew ? u"new-contact"_s : u"edit-contact"_s;
    if (options.jsonLines && !isNew)
        return CommandFailure(command, u"--jsonl goes with new-contact"_s);
    TextCommandOptions resolved = options;
    if (options.carddav.storedAccount) {
        const AddressBookAccount account = AddressBookAccount::Load(ProgramPreferences());
        if (!account.Complete())
            return CommandFailure(command, u"--carddav: no address book is set up (Ordalis, "
                                           u"\"Adressbuch einrichten …\")"_s);
        resolved.carddav.url = account.BookUrl;
        resolved.carddav.user = account.User;
    }
    QString password, reason;
    QByteArray input;
    if (!readPasswordAndInput(resolved, password, input, reason))
        return CommandFailure(command, reason);

    CardDavRun run(command, resolved, settingsFile, password);
    const bool allWritten = resolved.jsonLines ? run.WriteLines(input) : run.WriteOne(isNew, input);
    // The cards are in; a report that got lost must still show as a failure.
    if (!run.Reported())
        return ExitFailure;
    return allWritten ? 0 : ExitNotWritten;
}
