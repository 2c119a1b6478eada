#include "SignalWatcher.h"
#include "StandinCardTransfer.h"
#include "StandinHost.h"
#include "StandinOptions.h"
#include "StandinQuery.h"
#include "StandinWindow.h"

#include "act/standin/StandinPaths.h"

#include "support/CheckedOutput.h"

#include <QApplication>

namespace {

constexpr int ExitFailure = 1;
const QString Program = QStringLiteral("act-standin");

void printError(const QString &text)
{
    CheckedOutput::WriteAll(CheckedOutput::StandardError, text.toLocal8Bit());
}

// What a command prints; false (with the reason on standard error) when it did not arrive.
bool print(const QByteArray &bytes)
{
    return CheckedOutput::WriteStandardOutput(Program, bytes);
}

bool print(const QString &text)
{
    return print(text.toLocal8Bit());
}

int runQuery(const StandinOptions &options)
{
    QString output, error;
    const int code =
        RunStandinQuery(options.query, options.json, StandinDataFolder(), output, error);
    if (!print(output))
        return ExitFailure;
    if (!error.isEmpty())
        printError(error + u'\n');
    return code;
}

// export --vcard [FILE] and import FILE.vcf; they work whether the stand-in runs or not.
int runCardTransfer(const StandinOptions &options)
{
    QString error;
    int code = 0;
    if (options.mode == StandinOptions::Mode::Export) {
        QByteArray cards;
        code = ExportContactCards(StandinDataFolder(), options.file, cards, error);
        if (!print(cards))
            return ExitFailure;
    } else {
        bool reported = true;
        code = ImportContactCards(
            StandinDataFolder(), options.file,
            [&reported](const QString &line) { reported = reported && print(line + u'\n'); },
            error);
        if (!reported)
            code = ExitFailure;
    }
    if (!error.isEmpty())
        printError(error + u'\n');
    return code;
}

int run(int argc, char *argv[], const StandinOptions &options)
{
    if (options.mode == StandinOptions::Mode::Query) {
        QCoreApplication app(argc, argv);
        return runQuery(options);
    }

    if (options.mode == StandinOptions::Mode::Export ||
        options.mode == StandinOptions::Mode::Import) {
        QCoreApplication app(argc, argv);
        return runCardTransfer(options);
    }

    // Qt would abort without a display; say what to do instead.
    if (options.mode == StandinOptions::Mode::Window && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        printError(QStringLiteral("Kein Bildschirm: act-standin --headless läuft ohne Fenster.\n"));
        return ExitFailure;
    }

    std::unique_ptr<QCoreApplication> app;
    if (options.mode == StandinOptions::Mode::Headless)
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = std::make_unique<QApplication>(argc, argv);

    StandinHost host(StandinDataFolder());
    const QString failure = host.Start(options.noDatabase, options.fieldCount);
    if (!failure.isEmpty()) {
        printError(failure + u'\n');
        return ExitFailure;
    }
    SignalWatcher signalWatcher;
    QObject::connect(&signalWatcher, &SignalWatcher::terminationRequested, app.get(),
                     [](int) { QCoreApplication::quit(); });

    std::unique_ptr<StandinWindow> window;
    if (options.mode == StandinOptions::Mode::Window) {
        window = std::make_unique<StandinWindow>(host.Folder(), host.Database());
        window->show();
    }
    // Only a notice: a stand-in whose output goes nowhere still serves.
    print(QStringLiteral("act-standin läuft: %1\n").arg(host.Folder()));
    const int code = app->exec();
    window.reset();
    return code;
}

} // namespace

int main(int argc, char *argv[])
{
    CheckedOutput::ExitOnOutOfMemory("act-standin", ExitFailure);
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const StandinOptions options = StandinOptions::Parse(arguments);
    if (options.help)
        return print(StandinOptions::Usage()) && CheckedOutput::FinishStandardOutput(Program)
                   ? 0
                   : ExitFailure;
    if (!options.error.isEmpty()) {
        printError(options.error + u'\n' + StandinOptions::Usage());
        return 2;
    }
    const int code = run(argc, argv, options);
    if (!CheckedOutput::FinishStandardOutput(Program))
        return code == 0 ? ExitFailure : code;
    return code;
}
