// SetField calls per second through the ACT! boundary on the stand-in's real
// database (WAL, one transaction per call), the stand-in's lock held in-process.

#include "act/ActObject.h"
#include "act/standin/ContactDatabase.h"
#include "act/standin/StandinPaths.h"
#include "act/standin/StandinRunLock.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

static void SetFieldOnNewContact(benchmark::State &state)
{
    QTemporaryDir home;
    qputenv("ACT_STANDIN_HOME", home.path().toLocal8Bit());
    ContactDatabase::OpenOrCreate(ContactDatabasePath());
    StandinRunLock lock(RunLockPath());
    if (!lock.TryAcquire()) {
        state.SkipWithError("lock not acquired");
        return;
    }
    lock.PublishDatabaseOpen(true);

    ActObjectPtr views = ToActObject(CreateActObject(ActProgId::Application)->Call(u"Views"_s));
    ActObjectPtr view = ToActObject(views->Call(u"Create"_s, {1, u"ContactView"_s}));
    view->Call(u"AddNewContact"_s);
    const qint32 fields[] = {25, 26, 27, 30, 32, 33, 35, 36, 78, 79, 200};
    const QString value = u"Lindenstraße 12"_s;
    qint64 calls = 0;
    for (auto _ : state) {
        view->Call(u"SetField"_s, {fields[calls % std::size(fields)], value});
        ++calls;
    }
    state.SetItemsProcessed(calls);
    qunsetenv("ACT_STANDIN_HOME");
}
BENCHMARK(SetFieldOnNewContact)->Unit(benchmark::kMicrosecond);
