#include "cards/NoteLabels.h"
#include "cards/VCardImport.h"
#include "cards/VCardReader.h"
#include "cards/VCardWriter.h"
#include "support/ActFields.h"

#include <benchmark/benchmark.h>

namespace {

// A full address with a field the card keeps in its note, as an export holds it.
ContactValues contact(int i)
{
    return {{ActField::Firma, QStringLiteral("Müller & Söhne GmbH, Niederlassung %1").arg(i)},
            {ActField::Vorname, QStringLiteral("Jürgen")},
            {ActField::Nachname, QStringLiteral("Weiß %1").arg(i)},
            {ActField::Adresse, QStringLiteral("Lange Straße %1").arg(i)},
            {ActField::PLZ, QStringLiteral("01067")},
            {ActField::Ort, QStringLiteral("Dresden")},
            {ActField::Telefon, QStringLiteral("0351 %1").arg(i)},
            {ActField::EMail, QStringLiteral("j.weiss%1@example.org").arg(i)},
            {73, QStringLiteral("Handel; Handwerk")}};
}

const FieldCatalogue Catalogue{{73, QStringLiteral("Branche")}};

QByteArray tenThousandCards()
{
    const NoteLabels labels(Catalogue);
    QByteArray cards;
    for (int i = 0; i < 10000; ++i)
        cards += WriteVCard(contact(i), labels, VCardVersion::V4);
    return cards;
}

void Write10000Cards(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(tenThousandCards());
}
BENCHMARK(Write10000Cards)->Unit(benchmark::kMillisecond);

void ReadAndMap10000Cards(benchmark::State &state)
{
    const QByteArray cards = tenThousandCards();
    const NoteLabels labels(Catalogue);
    for (auto _ : state) {
        const VCardReadResult read = ReadVCards(cards);
        qsizetype fields = 0;
        for (const VCard &card : read.Cards)
            fields += ContactFromVCard(card, labels).Values.size();
        benchmark::DoNotOptimize(fields);
    }
}
BENCHMARK(ReadAndMap10000Cards)->Unit(benchmark::kMillisecond);

} // namespace
