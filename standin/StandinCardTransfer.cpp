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

std::optional<QByteArray> readCardFile(const QString &file, QString &error)
{
    const QFileInfo info(file);
    if (!info.isFile()) {
        error = u"Die Datei gibt es nicht: %1"_s.arg(file);
        return std::nullopt;
    }
    if (info.size() > MaxCardFileBytes) {
        error = u"Die Datei ist größer als %1 MiB und wird nicht gelesen: %2"_s
                    .arg(MaxCardFileBytes >> 20)
                    .arg(file);
        return std::nullopt;
    }
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly)) {
        error = u"Die Datei lässt sich nicht lesen (%1): %2"_s.arg(input.errorString(), file);
        return std::nullopt;
    }
    return input.readAll();
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

// The cards' contacts, kept to the fields the database has.
class ImportPlan
{
public:
    explicit ImportPlan(const FieldCatalogue &catalogue) : m_labels(catalogue)
    {
        for (const CatalogueField &field : catalogue)
            m_fields.insert(field.Number);
    }

    void add(const VCard &card)
    {
        ImportedContact contact = ContactFromVCard(card, m_labels);
        QStringList missing;
        for (auto it = contact.Values.begin(); it != contact.Values.end();) {
            if (m_fields.contains(it.key())) {
                ++it;
                continue;
            }
            missing.append(QString::number(it.key()));
            it = contact.Values.erase(it);
        }
        if (!missing.isEmpty())
            note(card, u"Felder, die die Datenbank nicht hat: %1"_s.arg(missing.join(u", "_s)));
        if (!contact.Unused.isEmpty())
            note(card, u"nicht übernommen: %1"_s.arg(contact.Unused.join(u", "_s)));
        if (contact.Values.isEmpty()) {
            ++skipped;
            report += u"Karte ab Zeile %1 übersprungen: keine Werte\n"_s.arg(card.FirstLine);
            return;
        }
        contacts.append(contact.Values);
    }

    QVector<QMap<qint32, QString>> contacts;
    qsizetype skipped = 0;
    QString report;

private:
    void note(const VCard &card, const QString &text)
    {
        report += u"Karte ab Zeile %1: %2\n"_s.arg(card.FirstLine).arg(text);
    }

    NoteLabels m_labels;
    QSet<qint32> m_fields;
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

int ImportContactCards(const QString &folder, const QString &file, QString &report, QString &error)
{
    const std::optional<QByteArray> bytes = readCardFile(file, error);
    if (!bytes)
        return 1;
    try {
        const auto database = ContactDatabase::Open(ContactDatabasePath(folder));
        const VCardReadResult read = ReadVCards(*bytes);
        ImportPlan plan(catalogueOf(*database));
        for (const VCard &card : read.Cards)
            plan.add(card);
        database->AddContacts(plan.contacts);

        qsizetype skipped = plan.skipped;
        for (const CardProblem &problem : read.Problems) {
            report += problem.Message + u'\n';
            skipped += problem.CardSkipped ? 1 : 0;
        }
        report += plan.report;
        report += u"Kontakte hinzugefügt: %1, übersprungen: %2\n"_s.arg(plan.contacts.size())
                      .arg(skipped);
        return read.Problems.isEmpty() && plan.skipped == 0 ? 0 : 1;
    } catch (const ActError &failure) {
        error = failure.reason();
    }
    return 1;
}
