// One contact from the recognised block to the card stored in a real
// Radicale on loopback (the duplicate search included), and runs of 100 and
// 1,000 such cards as new-contact --jsonl writes them, with the requests per
// card. Radicale answers the duplicate search by reading every card of the
// address book, so the rate falls as the address book fills.

#include "RadicaleServer.h"

#include "cli/BlockHost.h"

#include "destinations/CardDavDestination.h"

#include "recognition/ParseAddress.h"
#include "recognition/RecognitionContext.h"

#include "support/FieldRows.h"
#include "support/SettingsFile.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

// A block of its own per card, so none is a duplicate of another.
QString block(int n)
{
    return u"Berg & Stein Architekten GmbH\r\nAnna Berg %1\r\nLessingstraße 4\r\n"
           u"80331 München\r\nTel. 089 2345678\r\nanna.berg%1@berg-stein.de\r\n"_s.arg(n);
}

struct Writer
{
    Writer(RadicaleServer &server)
        : destination({QUrl(server.Url()), u"anna"_s, u"geheim"_s, {}}, host, keep.path(),
                      [](const QString &) { return DuplicateChoice::CreateAnyway; })
    {
        rows.FillStandardCatalogue();
        rows.blockSignals(true);
    }

    bool write(int n)
    {
        rows.ResetAllRows();
        RecognitionContext context(settings);
        CaptureText(context, block(n), false, rows, host.text);
        return destination.Write(true, rows, context).done;
    }

    QTemporaryDir keep;
    FieldRows rows;
    Settings settings;
    BlockHost host;
    CardDavDestination destination;
};

int next = 0;

void BM_CardDavNewCard(benchmark::State &state)
{
    RadicaleServer server;
    if (!server.Start())
        return state.SkipWithError("Radicale did not start");
    Writer writer(server);
    writer.write(next++); // discovery once, as a running program has done it
    for (auto _ : state) {
        if (!writer.write(next++))
            return state.SkipWithError("card not written");
    }
}
BENCHMARK(BM_CardDavNewCard)
    ->Iterations(1)
    ->Repetitions(20)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_CardDavJsonl(benchmark::State &state)
{
    RadicaleServer server;
    if (!server.Start())
        return state.SkipWithError("Radicale did not start");
    const int Cards = int(state.range(0));
    int requests = 0;
    for (auto _ : state) {
        Writer writer(server);
        for (int i = 0; i < Cards; ++i) {
            if (!writer.write(next++))
                return state.SkipWithError("card not written");
        }
        requests += writer.destination.RequestCount();
    }
    state.counters["cards/s"] =
        benchmark::Counter(double(Cards) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["requests/card"] = double(requests) / double(Cards * state.iterations());
}
BENCHMARK(BM_CardDavJsonl)
    ->Arg(100)
    ->Arg(1000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
