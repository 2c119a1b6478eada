#include "support/clsINI.h"

#include <benchmark/benchmark.h>

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

namespace {

QString settingsWith5000Keys(const QTemporaryDir &folder, bool old)
{
    const QString path = folder.filePath(QStringLiteral("ordalis.ini"));
    QByteArray content = "[Config]\r\nCacheFelder=1\r\n[Felder]\r\n";
    for (int i = 1; i <= 5000; ++i)
        content += "Zeile" + QByteArray::number(i) + "=" + QByteArray::number(1000 + i) +
                   ";Feld Nummer " + QByteArray::number(i) + "\r\n";
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(content);
    if (old) // a settings file as found at start-up, not one written a moment ago
        file.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                         QFileDevice::FileModificationTime);
    file.close();
    return path;
}

void ReadOneKeyOf5000(benchmark::State &state)
{
    QTemporaryDir folder;
    clsINI ini;
    ini.setFileName(settingsWith5000Keys(folder, state.range(0) != 0));
    for (auto _ : state) {
        const QString value =
            ini.ReadData(QStringLiteral("Felder"), QStringLiteral("Zeile5000"), QString());
        benchmark::DoNotOptimize(value);
    }
}
// 1: file unchanged for an hour; 0: written just now, so each call also compares
// the content against the cached copy (time stamps that close are not trusted).
BENCHMARK(ReadOneKeyOf5000)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

void WriteOneKeyOf5000(benchmark::State &state)
{
    QTemporaryDir folder;
    clsINI ini;
    ini.setFileName(settingsWith5000Keys(folder, true));
    int i = 0;
    for (auto _ : state)
        ini.WriteData(QStringLiteral("Felder"), QStringLiteral("Zeile2500"), QString::number(++i));
}
BENCHMARK(WriteOneKeyOf5000)->Unit(benchmark::kMicrosecond);

} // namespace
