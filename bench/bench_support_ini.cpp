#include "support/IniProfile.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

QString settingsWith5000Keys(const QTemporaryDir &folder)
{
    const QString path = folder.filePath(QStringLiteral("ordalis.ini"));
    QByteArray content = "[Config]\r\nCacheFelder=1\r\n[Felder]\r\n";
    for (int i = 1; i <= 5000; ++i)
        content += "Zeile" + QByteArray::number(i) + "=" + QByteArray::number(1000 + i) +
                   ";Feld Nummer " + QByteArray::number(i) + "\r\n";
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(content);
    return path;
}

// Every read sees the file as it is now: it reads and parses the whole file.
void ReadOneKeyOf5000(benchmark::State &state)
{
    QTemporaryDir folder;
    IniProfile ini;
    ini.setFileName(settingsWith5000Keys(folder));
    for (auto _ : state) {
        const QString value =
            ini.ReadData(QStringLiteral("Felder"), QStringLiteral("Zeile5000"), QString());
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(ReadOneKeyOf5000)->Unit(benchmark::kMicrosecond);

void WriteOneKeyOf5000(benchmark::State &state)
{
    QTemporaryDir folder;
    IniProfile ini;
    ini.setFileName(settingsWith5000Keys(folder));
    int i = 0;
    for (auto _ : state)
        ini.WriteData(QStringLiteral("Felder"), QStringLiteral("Zeile2500"), QString::number(++i));
}
BENCHMARK(WriteOneKeyOf5000)->Unit(benchmark::kMicrosecond);

} // namespace
