// The improved recognizer on a typical block, and on hostile input whose time
// must grow only linearly with its size.
#include "TenLineBlock.h"

#include "recognition/ParseAddress.h"
#include "recognition/RecognitionContext.h"

#include "support/FieldRows.h"
#include "support/SettingsFile.h"

#include <benchmark/benchmark.h>

namespace {

void runParse(benchmark::State &state, const QString &text, int64_t blocksPerParse = 1)
{
    FieldRows rows;
    rows.FillStandardCatalogue();
    const Settings settings;
    RecognitionContext context(settings);
    context.recognizer = Recognizer::Improved;
    QString clipText;
    ParseAddress(context, text, rows, clipText); // untimed: fresh memory
    for (auto _ : state) {
        ParseAddress(context, text, rows, clipText);
        benchmark::DoNotOptimize(clipText.data());
    }
    state.SetItemsProcessed(state.iterations() * blocksPerParse);
}

// items_per_second is ten-line blocks per second on one core.
void BM_ParseImproved_TenLineBlock(benchmark::State &state)
{
    runParse(state, TenLineBlock);
}
BENCHMARK(BM_ParseImproved_TenLineBlock);

// A signature with a greeting, a job title and a legal footer to drop.
void BM_ParseImproved_Signature(benchmark::State &state)
{
    runParse(state, QStringLiteral("Mit freundlichen Grüßen\n--\nDr. Max Beispiel\n"
                                   "Leiter Vertrieb\nBeispiel Werkzeugbau GmbH\n"
                                   "Hauptstraße 5 · 70173 Stuttgart\n"
                                   "T +49 711 123456-0 | F +49 711 123456-99\n"
                                   "max.beispiel@beispiel.de\nRegistergericht: Amtsgericht "
                                   "Stuttgart, HRB 123456\nUSt-IdNr.: DE 123456789\n"));
}
BENCHMARK(BM_ParseImproved_Signature);

void BM_ParseImproved_OneLine(benchmark::State &state)
{
    runParse(state, QStringLiteral("Beispiel AG, Seestrasse 5, CH-8001 Zürich, Tel. +41 44 123 45 "
                                   "67, info@beispiel.ch"));
}
BENCHMARK(BM_ParseImproved_OneLine);

// Linear growth: twice the lines, twice the time.
void BM_ParseImproved_TypicalLines(benchmark::State &state)
{
    const qsizetype copies = state.range(0) / 10;
    runParse(state, TenLineBlock.repeated(copies), copies);
}
BENCHMARK(BM_ParseImproved_TypicalLines)->Arg(250'000)->Arg(500'000)->Unit(benchmark::kMillisecond);

void BM_ParseImproved_LongLine(benchmark::State &state)
{
    const QString line =
        QStringLiteral("Herr Max Muster GmbH 12345 www., ").repeated(state.range(0) / 33);
    runParse(state, line + QStringLiteral("Berlin"));
}
BENCHMARK(BM_ParseImproved_LongLine)->Arg(2'500'000)->Arg(5'000'000)->Unit(benchmark::kMillisecond);

} // namespace
