// ordalis-cli recognize --jsonl over 100,000 blocks, measured against
// ParseAddress alone on the same blocks and against only reading and splitting
// the input, and with one job against two; its memory at 100,000 and 1,000,000
// blocks; and one block of 250k, 500k and 1M lines end to end.
#include "TenLineBlock.h"

#include "recognition/ParseAddress.h"
#include "recognition/RecognitionContext.h"

#include "support/FieldRows.h"
#include "support/SettingsFile.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <vector>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <fcntl.h>
#include <unistd.h>

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

QByteArray requestLine(const QString &text)
{
    const QJsonObject block{{QStringLiteral("text"), text}};
    return QJsonDocument(block).toJson(QJsonDocument::Compact) + '\n';
}

QTemporaryDir &folder()
{
    static QTemporaryDir made;
    return made;
}

// blocks lines cycling through the samples.
QString blocksFile(int blocks)
{
    const QString path = folder().filePath(QStringLiteral("blocks-%1.jsonl").arg(blocks));
    QFile file(path);
    if (!file.exists() && file.open(QIODevice::WriteOnly)) {
        const QByteArray lines[] = {requestLine(QString::fromUtf8(Samples[0])),
                                    requestLine(QString::fromUtf8(Samples[1])),
                                    requestLine(QString::fromUtf8(Samples[2]))};
        for (int k = 0; k < blocks; ++k)
            file.write(lines[k % 3]);
    }
    return path;
}

QString hugeBlockText(int lines)
{
    return TenLineBlock.repeated(lines / 10);
}

// One block of the ten-line block repeated to lines lines.
QString hugeBlockFile(int lines)
{
    const QString path = folder().filePath(QStringLiteral("huge-%1.jsonl").arg(lines));
    QFile file(path);
    if (!file.exists() && file.open(QIODevice::WriteOnly))
        file.write(requestLine(hugeBlockText(lines)));
    return path;
}

// The 100,000 blocks most figures are measured on.
const QString &input()
{
    static const QString path = blocksFile(Blocks);
    return path;
}

double baselineSeconds()
{
    QElapsedTimer timer;
    timer.start();
    QFile file(input());
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> lines = file.readAll().split('\n');
    benchmark::DoNotOptimize(lines.size());
    return double(timer.nsecsElapsed()) / 1e9;
}

// Wall and CPU time of ParseAddress alone; the CPU time varies less on a
// machine other work shares.
struct ParseTimes
{
    double wall = 0;
    double cpu = 0;

    void add(const ParseTimes &run)
    {
        wall += run.wall;
        cpu += run.cpu;
    }
};

double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// ParseAddress alone over the same blocks, in this process.
ParseTimes parseSeconds()
{
    const QString texts[] = {QString::fromUtf8(Samples[0]), QString::fromUtf8(Samples[1]),
                             QString::fromUtf8(Samples[2])};
    FieldRows rows;
    rows.FillStandardCatalogue();
    const Settings settings;
    QString clipText;
    QElapsedTimer timer;
    timer.start();
    const double cpuBefore = threadCpuSeconds();
    for (int k = 0; k < Blocks; ++k) {
        RecognitionContext context(settings);
        ParseAddress(context, texts[k % 3], rows, clipText);
        benchmark::DoNotOptimize(clipText.data());
    }
    return {double(timer.nsecsElapsed()) / 1e9, threadCpuSeconds() - cpuBefore};
}

struct CliTimes
{
    double wall = 0;
    double cpu = 0; // user + system
    double peakMegabytes = 0;
    bool ok = true;

    void add(const CliTimes &run)
    {
        wall += run.wall;
        cpu += run.cpu;
        peakMegabytes = std::max(peakMegabytes, run.peakMegabytes);
        ok = ok && run.ok;
    }
};

double seconds(const timeval &time)
{
    return double(time.tv_sec) + double(time.tv_usec) / 1e6;
}

// The peak resident memory of a running process so far, in megabytes. The
// kernel's own count for a finished child would include this benchmark's
// memory, which the child shared until it started the program.
double peakMegabytes(pid_t process)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(process));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    }
    return 0;
}

// recognize --jsonl --jobs jobs path started with output to /dev/null.
struct CliRun
{
    pid_t child = 0;
    bool started = false;
    QElapsedTimer timer;
};

CliRun startCli(int jobs, const QString &path)
{
    // ORDALIS_BENCH_CLI: another build to measure, e.g. the one before a change.
    const QByteArray program = qEnvironmentVariableIsSet("ORDALIS_BENCH_CLI")
                                   ? qgetenv("ORDALIS_BENCH_CLI")
                                   : QByteArray(ORDALIS_CLI);
    QByteArrayList arguments{
        program,         "recognize",       "--jsonl", "--jobs", QByteArray::number(jobs),
        "--no-progress", path.toLocal8Bit()};
    std::vector<char *> argv;
    for (QByteArray &argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    CliRun run;
    run.timer.start();
    run.started = posix_spawn(&run.child, argv[0], &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

// Waits for the run to end; its own CPU time and peak resident memory.
CliTimes finishCli(CliRun &run)
{
    CliTimes times;
    times.ok = run.started;
    int status = 0;
    rusage usage{};
    pid_t ended = 0;
    while (times.ok && ended == 0) {
        times.peakMegabytes = std::max(times.peakMegabytes, peakMegabytes(run.child));
        ended = wait4(run.child, &status, WNOHANG, &usage);
        if (ended == 0)
            usleep(2000);
    }
    if (ended == run.child) {
        times.wall = double(run.timer.nsecsElapsed()) / 1e9;
        times.cpu = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    }
    times.ok = times.ok && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return times;
}

CliTimes runCli(int jobs, const QString &path)
{
    CliRun run = startCli(jobs, path);
    return finishCli(run);
}

CliTimes runCli(int jobs)
{
    return runCli(jobs, input());
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
        state.SetIterationTime(parseSeconds().wall);
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
    ParseTimes parse;
    CliTimes cli;
    for (auto _ : state) {
        state.PauseTiming();
        baseline += baselineSeconds();
        parse.add(parseSeconds());
        state.ResumeTiming();
        cli.add(runCli(int(state.range(0))));
    }
    if (!cli.ok)
        state.SkipWithError("ordalis-cli failed");
    const double blocks = double(Blocks) * double(state.iterations());
    state.counters["blocks_per_s"] = blocks / cli.wall;
    state.counters["cpu_s"] = cli.cpu / double(state.iterations());
    state.counters["peak_MB"] = cli.peakMegabytes;
    // How many times longer than ParseAddress alone, and than only reading and splitting.
    state.counters["ratio_to_parse"] = cli.wall / parse.wall;
    state.counters["cpu_ratio_to_parse"] = cli.cpu / parse.cpu;
    state.counters["ratio_to_baseline"] = cli.wall / baseline;
}
BENCHMARK(BM_CliJsonLines)
    ->Arg(1)
    ->Arg(2)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// --jobs 2 against --jobs 1, run by turns so both see the same load. Beside
// it, what the machine itself gives two busy processes: two --jobs 1 runs side
// by side against one. A shared virtual machine may give two cores far less
// than twice one core's work; that is the ceiling of the speed-up.
void BM_CliJobsSpeedup(benchmark::State &state)
{
    input();
    CliTimes one;
    CliTimes two;
    CliTimes sideBySide;
    for (auto _ : state) {
        one.add(runCli(1));
        two.add(runCli(2));
        CliRun first = startCli(1, input());
        CliRun second = startCli(1, input());
        CliTimes both = finishCli(first);
        const CliTimes secondTimes = finishCli(second);
        both.wall = std::max(both.wall, secondTimes.wall);
        both.ok = both.ok && secondTimes.ok;
        sideBySide.add(both);
    }
    if (!one.ok || !two.ok || !sideBySide.ok)
        state.SkipWithError("ordalis-cli failed");
    state.counters["speedup"] = one.wall / two.wall;
    // User + system time of two jobs against one: the price of the threads.
    state.counters["cpu_ratio"] = two.cpu / one.cpu;
    state.counters["machine_scaling"] = 2 * one.wall / sideBySide.wall;
}
BENCHMARK(BM_CliJobsSpeedup)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// Peak resident memory at 100,000 and at 1,000,000 blocks: the same when
// memory does not grow with the input.
void BM_CliMemory(benchmark::State &state)
{
    const QString small = blocksFile(Blocks);
    const QString large = blocksFile(10 * Blocks);
    CliTimes atSmall;
    CliTimes atLarge;
    for (auto _ : state) {
        atSmall.add(runCli(1, small));
        atLarge.add(runCli(1, large));
    }
    if (!atSmall.ok || !atLarge.ok)
        state.SkipWithError("ordalis-cli failed");
    state.counters["peak_MB_100k"] = atSmall.peakMegabytes;
    state.counters["peak_MB_1M"] = atLarge.peakMegabytes;
}
BENCHMARK(BM_CliMemory)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(1);

ParseTimes parseOnceSeconds(const QString &text)
{
    FieldRows rows;
    rows.FillStandardCatalogue();
    const Settings settings;
    RecognitionContext context(settings);
    QString clipText;
    QElapsedTimer timer;
    timer.start();
    const double cpuBefore = threadCpuSeconds();
    ParseAddress(context, text, rows, clipText);
    return {double(timer.nsecsElapsed()) / 1e9, threadCpuSeconds() - cpuBefore};
}

// One block of 250k, 500k and 1M lines end to end, and ParseAddress alone on
// the 1M lines: each doubling should take at most 2.2 times as long.
void BM_CliHugeBlock(benchmark::State &state)
{
    const int sizes[] = {250'000, 500'000, 1'000'000};
    const QString files[] = {hugeBlockFile(sizes[0]), hugeBlockFile(sizes[1]),
                             hugeBlockFile(sizes[2])};
    const QString largest = hugeBlockText(sizes[2]);
    CliTimes cli[3];
    ParseTimes parse;
    for (auto _ : state) {
        for (int k = 0; k < 3; ++k)
            cli[k].add(runCli(1, files[k]));
        parse.add(parseOnceSeconds(largest));
    }
    if (!cli[0].ok || !cli[1].ok || !cli[2].ok)
        state.SkipWithError("ordalis-cli failed");
    const auto iterations = double(state.iterations());
    state.counters["cli_1M_s"] = cli[2].wall / iterations;
    state.counters["cli_1M_cpu_s"] = cli[2].cpu / iterations;
    state.counters["parse_1M_s"] = parse.wall / iterations;
    state.counters["parse_1M_cpu_s"] = parse.cpu / iterations;
    state.counters["growth_250k_500k"] = cli[1].wall / cli[0].wall;
    state.counters["growth_500k_1M"] = cli[2].wall / cli[1].wall;
    state.counters["peak_MB_1M"] = cli[2].peakMegabytes;
}
BENCHMARK(BM_CliHugeBlock)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
