// ordalis-cli recognize --jsonl over 100,000 blocks, against a baseline that
// only reads the same input and splits it into lines.
#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int Blocks = 100'000;

const char *const Samples[] = {
    "Bergmann Maschinenbau GmbH\r\nHerr Dr. Max Beispiel\r\nIndustriestraße 14\r\nD-70565 "
    "Stuttgart\r\nTel.: +49 711 123456-0\r\nFax: +49 711 123456-99\r\nE-Mail: "
    "m.beispiel@bergmann.de\r\nwww.bergmann.de\r\n",
    "Alpenblick Tourismus GmbH\nMariahilfer Straße 88\nA-1070 Wien\nTelefon: +43 1 5234567\n"
    "E-Mail: office@alpenblick.at\n",
    "Müller & Partner AG;Bahnhofstrasse 21;CH-8001 Zürich;Tel. +41 44 211 22 33",
};

struct Input
{
    QTemporaryDir folder;
    QString path;
};

const Input &input()
{
    static Input in = [] {
        Input made;
        made.path = made.folder.filePath(QStringLiteral("blocks.jsonl"));
        QFile file(made.path);
        if (file.open(QIODevice::WriteOnly)) {
            for (int k = 0; k < Blocks; ++k) {
                const QJsonObject block{
                    {QStringLiteral("text"), QString::fromUtf8(Samples[k % 3])}};
                file.write(QJsonDocument(block).toJson(QJsonDocument::Compact) + '\n');
            }
        }
        return made;
    }();
    return in;
}

double baselineSeconds()
{
    QElapsedTimer timer;
    timer.start();
    QFile file(input().path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> lines = file.readAll().split('\n');
    benchmark::DoNotOptimize(lines.size());
    return timer.nsecsElapsed() / 1e9;
}

void BM_ReadAndSplitBaseline(benchmark::State &state)
{
    input();
    for (auto _ : state)
        state.SetIterationTime(baselineSeconds());
    state.counters["blocks_per_s"] =
        benchmark::Counter(double(Blocks) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReadAndSplitBaseline)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_CliJsonLines(benchmark::State &state)
{
    input();
    double baseline = 0;
    double cli = 0;
    for (auto _ : state) {
        state.PauseTiming();
        baseline += baselineSeconds();
        state.ResumeTiming();
        QElapsedTimer timer;
        timer.start();
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        process.start(QStringLiteral(ORDALIS_CLI),
                      {QStringLiteral("recognize"), QStringLiteral("--jsonl"), input().path});
        process.waitForFinished(-1);
        cli += timer.nsecsElapsed() / 1e9;
        if (process.exitCode() != 0)
            state.SkipWithError("ordalis-cli failed");
    }
    const double blocks = double(Blocks) * state.iterations();
    state.counters["blocks_per_s"] = blocks / cli;
    state.counters["baseline_blocks_per_s"] = blocks / baseline;
    // How many times longer than only reading and splitting the input.
    state.counters["ratio_to_baseline"] = cli / baseline;
}
BENCHMARK(BM_CliJsonLines)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
