#include "StandinCardTransfer.h"

#include "act/ActObject.h"
#include "act/standin/ContactDatabase.h"
#include "act/standin/StandinPaths.h"
#include "cards/NoteLabels.h"
#include "cards/VCardImport.h"
#include "cards/VCardReader.h"
#include "cards/VCardWriter.h"
#include "support/AtomicReplace.h"
#include "support/FileProbe.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

using namespace Qt::StringLiterals;

namespace {

FieldCatalogue catalogueOf(ContactDatabase &database)
{
    FieldCatalogue catalogue;
    for (const StandinField &field : database.Fields())
        catalogue.append({field.number, field.label});
    return catalogue;
}

ContactValues withoutEmptyValues(const QMap<qint32, QString> &values)
{
    ContactValues kept;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (!it.value().isEmpty())
            kept.insert(it.key(), it.value());
    }
    return kept;
}

// What is at the path when it is no regular file, in the user's words.
QString notACardFile(const QString &file)
{
    const QFileInfo info(file);
    if (!info.exists() && !info.isSymLink())
        return u"Die Datei gibt es nicht: %1"_s.arg(file);
    if (info.isDir())
        return u"Das ist ein Ordner, keine Datei: %1"_s.arg(file);
#ifndef Q_OS_WIN
    struct stat st
    {};
    if (::stat(QFile::encodeName(file).constData(), &st) == 0) {
        if (S_ISFIFO(st.st_mode))
            return u"Das ist eine benannte Pipe (FIFO), keine Datei: %1"_s.arg(file);
        if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
            return u"Das ist ein Gerät, keine Datei: %1"_s.arg(file);
        if (S_ISSOCK(st.st_mode))
            return u"Das ist ein Socket, keine Datei: %1"_s.arg(file);
    } else if (info.isSymLink()) {
        return u"Die Verknüpfung zeigt ins Leere: %1"_s.arg(file);
    }
#endif
    return u"Das ist keine gewöhnliche Datei: %1"_s.arg(file);
}

bool openCardFile(const QString &file, QFile &input, QString &error)
{
    const QFileInfo info(file);
    if (!info.isFile()) {
        error = notACardFile(file);
        return false;
    }
    if (info.size() > MaxCardFileBytes) {
        error = u"Die Datei ist größer als %1 MiB und wird nicht gelesen: %2"_s
                    .arg(MaxCardFileBytes >> 20)
                    .arg(file);
        return false;
    }
    input.setFileName(file);
    if (!input.open(QIODevice::ReadOnly)) {
        error = u"Die Datei lässt sich nicht lesen (%1): %2"_s.arg(input.errorString(), file);
        return false;
    }
    return true;
}

// A file is replaced whole, so a failed export leaves the old one; a device or
// a pipe (/dev/stdout, a FIFO) is written as it is.
bool writeCardFile(const QString &file, const QByteArray &cards, QString &reason)
{
    if (ProbeFile(file).kind != FileKind::Other)
        return ReplaceAtomically(file, cards, &reason);
    QFile device(file);
    if (!device.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        device.write(cards) != cards.size()) {
        reason = device.errorString();
        return false;
    }
    device.close();
    return true;
}
// Each card's contact goes to the database as soon as its END is read, kept
// to the fields the database has; what it loses is reported with the card.
class ImportSink : public VCardSink
{
public:
    ImportSink(const FieldCatalogue &catalogue, ContactDatabase::ContactBatch &batch,
               const std::function<void(const QString &)> &report)
        : m_labels(catalogue), m_builder(m_labels), m_batch(batch), m_report(report)
    {
        for (const CatalogueField &field : catalogue)
            m_fields.insert(field.Number);
    }

    void BeginCard(int /*line*/) override {}
    void Property(const VCardProperty &property) override { m_builder.Take(property); }

    void EndCard(const VCard &card) override
    {
        ImportedContact contact = m_builder.Finish();
        QStringList missing;
        for (auto it = contact.Values.begin(); it != contact.Values.end();) {
            if (m_fields.contains(it.key())) {
                ++it;
                continue;
            }
            missing.append(QString::number(it.key()));
            it = contact.Values.erase(it);
        }
        for (const QString &line : card.SkippedLines)
            note(card, line);
        if (!missing.isEmpty())
            note(card, u"Felder, die die Datenbank nicht hat: %1"_s.arg(missing.join(u", "_s)));
        if (!contact.Unused.isEmpty())
            note(card, u"nicht übernommen: %1"_s.arg(contact.Unused.join(u", "_s)));
        if (contact.Values.isEmpty()) {
            ++skipped;
            m_report(u"Karte ab Zeile %1 übersprungen: keine Werte"_s.arg(card.FirstLine));
            return;
        }
        m_batch.Add(contact.Values);
        ++added;
    }

    void Problem(const CardProblem &problem) override
    {
        if (problem.CardSkipped) {
            (void)m_builder.Finish();
            ++skipped;
        } else {
            valuesDropped = true;
        }
        m_report(problem.Message);
        if (problem.Line == 0)
            fileUnreadable = true;
    }

    qsizetype added = 0;
    qsizetype skipped = 0;
    bool valuesDropped = false;
    bool fileUnreadable = false;

private:
    void note(const VCard &card, const QString &text)
    {
        valuesDropped = true;
        m_report(u"Karte ab Zeile %1: %2"_s.arg(card.FirstLine).arg(text));
    }

    NoteLabels m_labels;
    VCardContactBuilder m_builder;
    QSet<qint32> m_fields;
    ContactDatabase::ContactBatch &m_batch;
    const std::function<void(const QString &)> &m_report;
};

} // namespace

int ExportContactCards(const QString &folder, const QString &file, QByteArray &output,
                       QString &error)
{
    try {
        const auto database = ContactDatabase::Open(ContactDatabasePath(folder));
        const NoteLabels labels(catalogueOf(*database));
        QByteArray cards;
        for (const StandinContact &contact : database->Contacts())
            cards += WriteVCard(withoutEmptyValues(contact.values), labels, VCardVersion::V4);
        if (file.isEmpty()) {
            output = cards;
            return 0;
        }
        QString reason;
        if (!writeCardFile(file, cards, reason)) {
            error = u"Die Datei lässt sich nicht schreiben (%1): %2"_s.arg(reason, file);
            return 1;
        }
        return 0;
    } catch (const ActError &failure) {
        error = failure.reason();
    }
    return 1;
}

int ImportContactCards(const QString &folder, const QString &file,
                       const std::function<void(const QString &)> &report, QString &error)
{
    QFile input;
    if (!openCardFile(file, input, error))
        return ImportStatus::Failed;
    try {
        const auto database = ContactDatabase::Open(ContactDatabasePath(folder));
        ContactDatabase::ContactBatch batch(*database);
        ImportSink sink(catalogueOf(*database), batch, report);
        ReadVCards(input, sink);
        if (input.error() != QFileDevice::NoError) {
            error = u"Die Datei lässt sich nicht lesen (%1): %2"_s.arg(input.errorString(), file);
            return ImportStatus::Failed;
        }
        batch.Commit();
        report(u"Kontakte hinzugefügt: %1, übersprungen: %2"_s.arg(sink.added).arg(sink.skipped));
        if (sink.skipped > 0 || sink.fileUnreadable)
            return ImportStatus::Failed;
        return sink.valuesDropped ? ImportStatus::ValuesDropped : ImportStatus::Complete;
    } catch (const ActError &failure) {
        error = failure.reason() + u"\nNichts wurde hinzugefügt."_s;
    }
    return ImportStatus::Failed;
}
