// The field load (ACT!'s list into the sixteen rows, re-capture, cache write)
// and one WriteContact of sixteen rows, on the stand-in's real database with
// its lock held in-process.

#include "act/ActConnection.h"
#include "act/ActHost.h"
#include "act/ContactWriter.h"
#include "act/standin/ContactDatabase.h"
#include "act/standin/StandinPaths.h"
#include "act/standin/StandinRunLock.h"

#include "recognition/ParseAddress.h"
#include "recognition/RecognitionContext.h"

#include "support/FieldRows.h"
#include "support/SettingsFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString Block = u"Berg & Stein Architekten GmbH\r\nAnna Berg\r\nLessingstraße 4\r\n"
                      u"80331 München\r\nTel. 089 2345678\r\nanna.berg@berg-stein.de\r\n"_s;

class BenchHost : public ActHost
{
public:
    BenchHost(FieldRows &rows, const QString &settingsFile) : m_rows(rows)
    {
        settings.FilePath = settingsFile;
    }
    void SetBusyPointer(bool) override {}
    void SetTopMost(bool) override {}
    QString CapturedText() const override { return m_clipText; }
    void CaptureClipboard() override { CaptureText(context, Block, false, m_rows, m_clipText); }
    quint8 ShowCompletionDialog(bool) override { return CompletionChoiceBack; }
    void EndProgram() override {}

    Settings settings;
    RecognitionContext context{settings};
    ActConnection act;

private:
    FieldRows &m_rows;
    QString m_clipText;
};

// A running stand-in with `fieldCount` fields and a settings file with the
// field cache on, both in a temporary folder.
struct Setting
{
    explicit Setting(std::optional<int> fieldCount)
    {
        qputenv("ACT_STANDIN_HOME", home.path().toLocal8Bit());
        ContactDatabase::OpenOrCreate(ContactDatabasePath(), fieldCount);
        lock = std::make_unique<StandinRunLock>(RunLockPath());
        ready = lock->TryAcquire();
        lock->PublishDatabaseOpen(true);
        QFile settings(home.path() + u"/ordalis.ini"_s);
        ready = ready && settings.open(QIODevice::WriteOnly) &&
                settings.write("[Config]\r\nCacheFelder=1\r\n") > 0;
        settings.close();
        settingsFile = settings.fileName();
    }
    ~Setting()
    {
        lock.reset();
        qunsetenv("ACT_STANDIN_HOME");
    }

    QTemporaryDir home;
    std::unique_ptr<StandinRunLock> lock;
    QString settingsFile;
    bool ready = false;
};

void FieldLoad(benchmark::State &state)
{
    Setting setting(int(state.range(0)));
    if (!setting.ready) {
        state.SkipWithError("stand-in not ready");
        return;
    }
    FieldRows rows;
    rows.FillStandardCatalogue();
    BenchHost host(rows, setting.settingsFile);
    for (auto _ : state) {
        if (!LoadFieldList(rows, host.settings, host.act, host).done) {
            state.SkipWithError("field load failed");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(FieldLoad)->Arg(60)->Arg(5000)->Unit(benchmark::kMillisecond);

// The same load without ACT!'s calls: catalogue replaced, re-capture, cache
// written. The difference to FieldLoad is the time spent in ACT!.
void FieldLoadWithoutAct(benchmark::State &state)
{
    Setting setting(0);
    const int count = int(state.range(0));
    FieldRows rows;
    BenchHost host(rows, setting.settingsFile);
    for (auto _ : state) {
        rows.ClearAllLists();
        for (int k = 0; k < count; ++k)
            rows.AddEntryToAllRows(
                k % 25 == 0 ? u"Feld %1"_s.arg(1000 + k) : u"Zusatzfeld %1"_s.arg(k), 1000 + k);
        host.CaptureClipboard();
        SaveFieldCache(rows, setting.settingsFile);
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(FieldLoadWithoutAct)->Arg(5000)->Unit(benchmark::kMillisecond);

void WriteSixteenRows(benchmark::State &state)
{
    Setting setting(std::nullopt);
    if (!setting.ready) {
        state.SkipWithError("stand-in not ready");
        return;
    }
    FieldRows rows;
    rows.FillStandardCatalogue();
    BenchHost host(rows, setting.settingsFile);
    host.CaptureClipboard();
    const qint32 fields[FieldRows::RowCount] = {25, 88, 40, 26, 79, 78,  27, 32,
                                                30, 33, 35, 36, 38, 200, 94, 46};
    for (int row = 0; row < FieldRows::RowCount; ++row) {
        rows.SelectRowField(row, fields[row]);
        rows.SetRowValue(row, u"Wert %1"_s.arg(row));
    }
    for (auto _ : state) {
        if (!WriteContact(true, rows, host.context, host.act, host).done) {
            state.SkipWithError("write failed");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(WriteSixteenRows)->Unit(benchmark::kMillisecond);

} // namespace
