// What the main window adds to a field load: the catalogue arrives entry by
// entry, then recognition selects fields in all sixteen rows, and the shared
// list model with its sixteen lists must show the new catalogue. And what a
// user waits for per key when typing a field's name into a list that long.

#include "app/MainWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

MainWindow &window()
{
    static QApplication *application = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "bench_app_fieldlists";
        static char *argv[] = {name, nullptr};
        return new QApplication(argc, argv);
    }();
    Q_UNUSED(application);
    static MainWindow *main = new MainWindow;
    return *main;
}

void FieldLoadIntoTheLists(benchmark::State &state)
{
    MainWindow &main = window();
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

// Per iteration: the list's text deleted, a name typed key by key with the
// completion following each key, Enter. The counter is the time per key.
void TypingANameIntoAList(benchmark::State &state)
{
    MainWindow &main = window();
    FieldRows &rows = main.Rows();
    const int count = int(state.range(0));
    rows.ClearAllLists();
    for (int i = 1; i <= count; ++i)
        rows.AddEntryToAllRows(QStringLiteral("Zusatzfeld %1").arg(i), 1000 + i);
    QCoreApplication::processEvents();
    main.show();
    QApplication::setActiveWindow(&main);
    auto *field = main.findChild<QComboBox *>(QStringLiteral("txtField3"));
    field->setFocus();
    // An open completion has the keyboard and hands the keys on.
    const auto target = [field]() -> QWidget * {
        QWidget *popup = QApplication::activePopupWidget();
        return popup != nullptr ? popup : field;
    };
    const QByteArray name = QByteArrayLiteral("Zusatzfeld 49");
    for (auto _ : state) {
        field->lineEdit()->selectAll();
        QTest::keyClick(target(), Qt::Key_Delete);
        for (const char c : name)
            QTest::keyClick(target(), c);
        QTest::keyClick(target(), Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    if (rows.ReadRow(3).value_or(RowContent{}).FieldNumber != 1049)
        state.SkipWithError("the typed name was not chosen");
    const int keys = int(name.size()) + 2;
    state.counters["per_key"] =
        benchmark::Counter(double(state.iterations() * keys),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(TypingANameIntoAList)->Arg(60)->Arg(5000)->Unit(benchmark::kMillisecond);

} // namespace
