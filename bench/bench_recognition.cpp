// ParseAddress on a typical block, and on hostile input whose time must grow
// only linearly with its size.
#include "TenLineBlock.h"

#include "recognition/ParseAddress.h"
#include "recognition/RecognitionContext.h"

#include "support/FieldRows.h"
#include "support/SettingsFile.h"

#include <benchmark/benchmark.h>

namespace {

void prepare(FieldRows &rows)
{
    rows.FillStandardCatalogue();
}

void runParse(benchmark::State &state, const QString &text, int64_t blocksPerParse = 1)
{
    FieldRows rows;
    prepare(rows);
    const Settings settings;
    RecognitionContext context(settings);
    QString clipText;
    // Untimed: the first parse of a size takes its memory fresh from the system,
    // once; the figures are of the parses after it. bench_recognition_cli times
    // a single cold parse of a huge block end to end.
    ParseAddress(context, text, rows, clipText);
    for (auto _ : state) {
        ParseAddress(context, text, rows, clipText);
        benchmark::DoNotOptimize(clipText.data());
    }
    state.SetItemsProcessed(state.iterations() * blocksPerParse);
    state.SetBytesProcessed(state.iterations() * text.size() * 2);
}

void BM_ParseAddress_TenLineBlock(benchmark::State &state)
{
    runParse(state, TenLineBlock);
}
BENCHMARK(BM_ParseAddress_TenLineBlock);

// The typical block repeated to about 10 MB of text.
void BM_ParseAddress_10MBBlock(benchmark::State &state)
{
    const qsizetype copies = 10 * 1024 * 1024 / (TenLineBlock.size() * 2);
    runParse(state, TenLineBlock.repeated(copies), copies);
}
BENCHMARK(BM_ParseAddress_10MBBlock)->Unit(benchmark::kMillisecond);

// The typical block repeated to 250k, 500k and 1M lines: twice the lines, twice the time.
void BM_ParseAddress_TypicalLines(benchmark::State &state)
{
    const qsizetype copies = state.range(0) / 10;
    runParse(state, TenLineBlock.repeated(copies), copies);
}
BENCHMARK(BM_ParseAddress_TypicalLines)
    ->Arg(250'000)
    ->Arg(500'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond);

// Linear growth: twice the lines, twice the time.
void BM_ParseAddress_Lines(benchmark::State &state)
{
    runParse(state, QStringLiteral("Tel 0301234567\n12345 Berlin\n").repeated(state.range(0) / 2));
}
BENCHMARK(BM_ParseAddress_Lines)
    ->Arg(250'000)
    ->Arg(500'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond);

void BM_ParseAddress_LongLine(benchmark::State &state)
{
    const QString line =
        QStringLiteral("Herr Max Muster GmbH 12345 www. ").repeated(state.range(0) / 32);
    runParse(state, line + QStringLiteral(";Berlin"));
}
BENCHMARK(BM_ParseAddress_LongLine)->Arg(2'500'000)->Arg(5'000'000)->Unit(benchmark::kMillisecond);

void BM_ParseAddress_DetailsLines(benchmark::State &state)
{
    runParse(state, QStringLiteral("Details der X schließen\n").repeated(state.range(0)));
}
BENCHMARK(BM_ParseAddress_DetailsLines)
    ->Arg(500'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond);

// Every details line names another company, and ordinary lines lie between them.
void BM_ParseAddress_DistinctDetailsLines(benchmark::State &state)
{
    QString text;
    for (int64_t k = 0; k < state.range(0); ++k)
        text += QStringLiteral("Details der Firma %1 schließen\nFirma %1 Zeile\n").arg(k);
    runParse(state, text);
}
BENCHMARK(BM_ParseAddress_DistinctDetailsLines)
    ->Arg(50'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond);

} // namespace
