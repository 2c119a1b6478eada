#include "support/FieldRows.h"

#include <benchmark/benchmark.h>

#include <QRandomGenerator>
#include <QStringList>

namespace {

// ACT!-like field names in no particular order, some with umlauts and lower-case starts.
QStringList fieldNames(int count)
{
    const QStringList stems = {QStringLiteral("Benutzer"), QStringLiteral("Ölfeld"),
                               QStringLiteral("eMail"),    QStringLiteral("Straße"),
                               QStringLiteral("Ärger"),    QStringLiteral("Telefon")};
    QRandomGenerator random(17);
    QStringList names;
    for (int i = 0; i < count; ++i)
        names << QStringLiteral("%1 %2").arg(stems[i % stems.size()]).arg(random.bounded(100000));
    return names;
}

void FillAllRowsWith5000Entries(benchmark::State &state)
{
    const QStringList names = fieldNames(5000);
    FieldRows rows;
    for (auto _ : state) {
        rows.ClearAllLists();
        for (int i = 0; i < names.size(); ++i)
            rows.AddEntryToAllRows(names[i], 1000 + i);
        benchmark::DoNotOptimize(rows.EntryAt(0));
    }
}
BENCHMARK(FillAllRowsWith5000Entries)->Unit(benchmark::kMillisecond);

} // namespace
