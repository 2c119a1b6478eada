// ordalis-cli recognize --jsonl over 100,000 blocks, measured against
// ParseAddress alone on the same blocks and against only reading and splitting
// the input, and with one job against two.
#include "recognition/ParseAddress.h"
#include "recognition/RecognitionContext.h"

#include "support/FieldRows.h"
#include "support/Messages.h"
#include "support/modZusatzDefs.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

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
    return double(timer.nsecsElapsed()) / 1e9;
}

class SilentPresenter : public MessagePresenter
{
public:
    qint16 Present(const QString &, const QString &, qint16) override { return MessageAnswer::Ok; }
};

// ParseAddress alone over the same blocks, in this process.
double parseSeconds()
{
    static SilentPresenter presenter;
    SetMessagePresenter(&presenter);
    const QString texts[] = {QString::fromUtf8(Samples[0]), QString::fromUtf8(Samples[1]),
                             QString::fromUtf8(Samples[2])};
    FieldRows rows;
    rows.FillStandardCatalogue();
    const Settings settings;
    QString clipText;
    QElapsedTimer timer;
    timer.start();
    for (int k = 0; k < Blocks; ++k) {
        RecognitionContext context(settings);
        ParseAddress(context, texts[k % 3], rows, clipText, nullptr);
        benchmark::DoNotOptimize(clipText.data());
    }
    return double(timer.nsecsElapsed()) / 1e9;
}

double childCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct CliTimes
{
    double wall = 0;
    double cpu = 0; // user + system
    bool ok = true;
};

CliTimes runCli(int jobs)
{
    const double cpuBefore = childCpuSeconds();
    QElapsedTimer timer;
    timer.start();
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(QStringLiteral(ORDALIS_CLI),
                  {QStringLiteral("recognize"), QStringLiteral("--jsonl"), QStringLiteral("--jobs"),
                   QString::number(jobs), input().path});
    process.waitForFinished(-1);
    return {double(timer.nsecsElapsed()) / 1e9, childCpuSeconds() - cpuBefore,
            process.exitCode() == 0};
}

void BM_ReadAndSplitBaseline(benchmark::State &state)
{
    input();
    for (auto _ : state)
        state.SetIterationTime(baselineSeconds());
    state.counters["blocks_per_s"] = benchmark::Counter(double(Blocks) * double(state.iterations()),
                                                        benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReadAndSplitBaseline)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ParseAddressSameBlocks(benchmark::State &state)
{
    for (auto _ : state)
        state.SetIterationTime(parseSeconds());
    state.counters["blocks_per_s"] = benchmark::Counter(double(Blocks) * double(state.iterations()),
                                                        benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ParseAddressSameBlocks)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// Arg: --jobs. Each iteration also times ParseAddress alone and the bare read,
// so the ratios come from one moment of a shared machine.
void BM_CliJsonLines(benchmark::State &state)
{
    input();
    double baseline = 0;
    double parse = 0;
    CliTimes cli;
    for (auto _ : state) {
        state.PauseTiming();
        baseline += baselineSeconds();
        parse += parseSeconds();
        state.ResumeTiming();
        const CliTimes run = runCli(int(state.range(0)));
        cli.wall += run.wall;
        cli.cpu += run.cpu;
        if (!run.ok)
            state.SkipWithError("ordalis-cli failed");
    }
    const double blocks = double(Blocks) * double(state.iterations());
    state.counters["blocks_per_s"] = blocks / cli.wall;
    state.counters["cpu_s"] = cli.cpu / double(state.iterations());
    // How many times longer than ParseAddress alone, and than only reading and splitting.
    state.counters["ratio_to_parse"] = cli.wall / parse;
    state.counters["ratio_to_baseline"] = cli.wall / baseline;
}
BENCHMARK(BM_CliJsonLines)
    ->Arg(1)
    ->Arg(2)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// --jobs 2 against --jobs 1, run by turns so both see the same load.
void BM_CliJobsSpeedup(benchmark::State &state)
{
    input();
    CliTimes one;
    CliTimes two;
    for (auto _ : state) {
        const CliTimes a = runCli(1);
        const CliTimes b = runCli(2);
        one.wall += a.wall;
        one.cpu += a.cpu;
        two.wall += b.wall;
        two.cpu += b.cpu;
    }
    state.counters["speedup"] = one.wall / two.wall;
    state.counters["cpu_ratio"] = two.cpu / one.cpu;
}
BENCHMARK(BM_CliJobsSpeedup)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
