// What the main window adds to a field load: the catalogue arrives entry by
// entry, then recognition selects fields in all sixteen rows, and the shared
// list model with its sixteen lists must show the new catalogue.

#include "app/formMain.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

formMain &window()
{
    static QApplication *application = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "bench_app_fieldlists";
        static char *argv[] = {name, nullptr};
        return new QApplication(argc, argv);
    }();
    Q_UNUSED(application);
    static formMain *main = new formMain;
    return *main;
}

void FieldLoadIntoTheLists(benchmark::State &state)
{
    formMain &main = window();
    FieldRows &rows = main.Rows();
    const int count = int(state.range(0));
    QStringList names;
    for (int i = 0; i < count; ++i)
        names << QStringLiteral("Benutzerfeld %1").arg(count - i);
    for (auto _ : state) {
        rows.ClearAllLists();
        for (int i = 0; i < count; ++i)
            rows.AddEntryToAllRows(names.at(i), 1000 + i);
        for (int row = 0; row < FieldRows::RowCount; ++row)
            rows.SelectRowField(row, 1000 + row * 7);
        QCoreApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(FieldLoadIntoTheLists)->Arg(60)->Arg(5000)->Unit(benchmark::kMillisecond);

} // namespace
