#include "CardDavContactCommand.h"

#include "InputFile.h"
#include "JsonWriter.h"
#include "PlainRequest.h"
#include "RecordingPresenter.h"
#include "RowOutput.h"
#include "TextCommandOptions.h"

#include "act/ActHost.h"

#include "destinations/CardDavDestination.h"

#include "recognition/ParseAddress.h"

#include "recognition/RecognitionContext.h"

#include "support/FieldRows.h"
#include "support/modZusatzDefs.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>

#include <cstdio>

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
                       const RecordingPresenter &messages)
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

// The front end of one block after another: its text is the block's.
class BlockHost : public ActHost
{
public:
    void SetBusyPointer(bool) override {}
    void SetTopMost(bool) override {}
    QString CapturedText() const override { return text; }
    void CaptureClipboard() override {}
    quint8 ShowCompletionDialog(bool) override { return CompletionChoiceBack; }
    void EndProgram() override {}

    QString text;
};

// One block: recognised as `recognize` does, then written.
bool writeBlock(bool isNew, const QString &text, FieldRows &rows, RecognitionContext &context,
                BlockHost &host, CardDavDestination &destination)
{
    rows.ResetAllRows();
    CaptureText(context, text, false, rows, host.text, nullptr);
    return destination.Write(isNew, rows, context);
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

} // namespace

int RunCardDavContactCommand(bool isNew, const TextCommandOptions &options,
                             const QString &settingsFile)
{
    const QString command = isNew ? u"new-contact"_s : u"edit-contact"_s;
    const CardDavOptions &carddav = options.carddav;
    if (options.jsonLines && !isNew)
        return CommandFailure(command, u"--jsonl goes with new-contact"_s);

    QString reason;
    QByteArray input;
    QString password = qEnvironmentVariable(PasswordVariable.toLatin1().constData());
    if (carddav.passwordStdin) {
        const std::optional<QByteArray> standardInput = ReadInput({}, reason);
        if (!standardInput)
            return CommandFailure(command, reason);
        const qsizetype end = standardInput->indexOf('\n');
        password = QString::fromUtf8(standardInput->left(end)).remove(u'\r');
        if (options.inputFile.isEmpty())
            input = end < 0 ? QByteArray() : standardInput->mid(end + 1);
    }
    if (password.isEmpty())
        return CommandFailure(
            command, u"no password: set %1 or use --password-stdin"_s.arg(PasswordVariable));
    if (!carddav.passwordStdin || !options.inputFile.isEmpty()) {
        const std::optional<QByteArray> read = ReadInput(options.inputFile, reason);
        if (!read)
            return CommandFailure(command, reason);
        input = *read;
    }

    FieldRows rows;
    const Settings settings = LoadSettings(rows, settingsFile);
    const CardDavAccount account{QUrl(carddav.url), carddav.user, password, carddav.addressBook,
                                 std::chrono::seconds(carddav.timeoutSeconds)};
    const auto ask = [&carddav](const QString &) {
        return carddav.createAnyway ? DuplicateChoice::CreateAnyway : DuplicateChoice::Cancel;
    };
    BlockHost host;
    CardDavDestination destination(account, host, QFileInfo(settingsFile).absolutePath(), ask);
    destination.LoadFields(rows, settings);
    LastCardStore store(settingsFile, carddav);
    destination.SetLastCard(store.Read());

    bool allWritten = true;
    const auto remember = [&] {
        if (destination.LastCard() && !store.Write(*destination.LastCard())) {
            ShowMessage(u"Die zuletzt geschriebene Karte konnte nicht vermerkt werden."_s,
                        MessageStyle::Exclamation);
            allWritten = false;
        }
    };
    if (options.jsonLines) {
        qint64 number = 0;
        for (const QByteArray &line : input.split('\n')) {
            ++number;
            if (line.trimmed().isEmpty())
                continue;
            RecordingPresenter messages;
            SetMessagePresenter(&messages);
            PlainRequest request;
            bool written = false;
            if (readRequest(line, request, reason)) {
                RecognitionContext context(settings);
                context.UserSeparator = request.separator;
                written = writeBlock(true, request.text, rows, context, host, destination);
            } else {
                ShowMessage(reason, MessageStyle::Exclamation);
            }
            allWritten = allWritten && written;
            WriteStdout(outcomeLine(number, written, destination, messages));
            SetMessagePresenter(nullptr);
        }
        remember();
    } else {
        RecordingPresenter messages;
        SetMessagePresenter(&messages);
        RecognitionContext context(settings);
        context.UserSeparator = options.separator.value_or(QString());
        const bool written =
            writeBlock(isNew, QString::fromUtf8(input), rows, context, host, destination);
        allWritten = written;
        remember();
        QByteArray text = RowTable(rows, context) + '\n';
        if (written)
            text += isNew ? "Kontakt wurde erfolgreich angelegt.\n"
                          : "Kontakt wurde erfolgreich bearbeitet.\n";
        else
            text += u"Nicht geschrieben: %1\n"_s.arg(messages.LastText()).toUtf8();
        WriteStdout(options.json ? outcomeLine(0, written, destination, messages) : text);
        SetMessagePresenter(nullptr);
    }
    // The cards are in; a report that got lost must still show as a failure.
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        return CommandFailure(command, u"cannot write standard output"_s);
    return allWritten ? 0 : ExitNotWritten;
}
