#include "support/FieldRows.h"
#include "support/SettingsFile.h"

#include <benchmark/benchmark.h>

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

namespace {

constexpr int CacheSize = 5000;

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(content);
    file.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                     QFileDevice::FileModificationTime);
}

QByteArray cacheOf5000()
{
    QByteArray content = "[Config]\r\nCacheFelder=1\r\n[Felder]\r\n";
    for (int i = 1; i <= CacheSize; ++i)
        content += "Zeile" + QByteArray::number(i) + "=" + QByteArray::number(1000 + i) +
                   ";Benutzerfeld " + QByteArray::number(i) + "\r\n";
    content += "Zeile" + QByteArray::number(CacheSize + 1) + "=\r\n[Definitionen]\r\n";
    for (int i = 1; i <= 20; ++i)
        content += "ID" + QByteArray::number(i) + "=" + QByteArray::number(i) + "\r\nWert" +
                   QByteArray::number(i) + "=Label " + QByteArray::number(i) + ":\r\n";
    return content;
}

void fill(FieldRows &rows)
{
    rows.ClearAllLists();
    for (int i = 1; i <= CacheSize; ++i)
        rows.AddEntryToAllRows(QStringLiteral("Benutzerfeld %1").arg(i), 1000 + i);
}

// state.range(0): 1 also sorts the loaded catalogue, as the first look at the rows does.
void LoadSettingsWith5000CachedFields(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("ordalis.ini"));
    writeFile(path, cacheOf5000());
    for (auto _ : state) {
        FieldRows rows;
        rows.FillStandardCatalogue();
        LoadSettings(rows, path);
        if (state.range(0))
            benchmark::DoNotOptimize(rows.EntryAt(0));
        benchmark::DoNotOptimize(rows.EntryCount());
    }
}
BENCHMARK(LoadSettingsWith5000CachedFields)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Every round rewrites the whole cache into a file that holds only [Config].
void SaveFieldCacheOf5000Fields(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("ordalis.ini"));
    FieldRows rows;
    fill(rows);
    rows.EntryAt(0);
    for (auto _ : state) {
        state.PauseTiming();
        writeFile(path, "[Config]\r\nCacheFelder=1\r\n");
        state.ResumeTiming();
        SaveFieldCache(rows, path);
    }
}
BENCHMARK(SaveFieldCacheOf5000Fields)->Unit(benchmark::kMillisecond);

// The start without ACT!: the rows hold what the file holds, so nothing is written.
void SaveUnchangedFieldCacheOf5000Fields(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("ordalis.ini"));
    writeFile(path, cacheOf5000());
    FieldRows rows;
    LoadSettings(rows, path);
    for (auto _ : state)
        SaveFieldCache(rows, path);
}
BENCHMARK(SaveUnchangedFieldCacheOf5000Fields)->Unit(benchmark::kMillisecond);

} // namespace
