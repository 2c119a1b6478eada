// Reading a field list of 5,000 fields as the field load does: FieldCount,
// then FieldIdAt and Label for every position.

#include "act/ActObject.h"
#include "act/standin/ContactDatabase.h"
#include "act/standin/StandinPaths.h"
#include "act/standin/StandinRunLock.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

static void ReadFieldList(benchmark::State &state)
{
    const int fieldCount = int(state.range(0));
    QTemporaryDir home;
    qputenv("ACT_STANDIN_HOME", home.path().toLocal8Bit());
    ContactDatabase::OpenOrCreate(ContactDatabasePath(), fieldCount);
    StandinRunLock lock(RunLockPath());
    if (!lock.TryAcquire()) {
        state.SkipWithError("lock not acquired");
        return;
    }
    lock.PublishDatabaseOpen(true);

    for (auto _ : state) {
        ActObjectPtr database = CreateActObject(ActProgId::Database);
        database->Call(u"OpenEx"_s, {QString()});
        ActObjectPtr contact = ToActObject(database->Call(u"Contact"_s));
        ActObjectPtr fields = ToActObject(contact->Call(u"Fields"_s));
        const int count = contact->Call(u"FieldCount"_s).toInt();
        for (int position = 0; position < count; ++position) {
            const QVariant number = fields->Call(u"FieldIdAt"_s, {position});
            benchmark::DoNotOptimize(fields->Call(u"Label"_s, {number}));
        }
    }
    state.SetItemsProcessed(state.iterations() * fieldCount);
    qunsetenv("ACT_STANDIN_HOME");
}
BENCHMARK(ReadFieldList)->Arg(5000)->Unit(benchmark::kMillisecond);
