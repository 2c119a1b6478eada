#include "SignalWatcher.h"
#include "StandinCardTransfer.h"
#include "StandinHost.h"
#include "StandinOptions.h"
#include "StandinQuery.h"
#include "StandinWindow.h"

#include "act/standin/StandinPaths.h"

#include <QApplication>
#include <QTextStream>

#include <cstdio>

namespace {

void print(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

// export --vcard [FILE] and import FILE.vcf; they work whether the stand-in runs or not.
int runCardTransfer(const StandinOptions &options)
{
    QString error;
    int code = 0;
    if (options.mode == StandinOptions::Mode::Export) {
        QByteArray cards;
        code = ExportContactCards(StandinDataFolder(), options.file, cards, error);
        std::fwrite(cards.constData(), 1, size_t(cards.size()), stdout);
        std::fflush(stdout);
    } else {
        code = ImportContactCards(
            StandinDataFolder(), options.file,
            [](const QString &line) { print(stdout, line + u'\n'); }, error);
    }
    if (!error.isEmpty())
        print(stderr, error + u'\n');
    return code;
}

} // namespace

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const StandinOptions options = StandinOptions::Parse(arguments);
    if (!options.error.isEmpty()) {
        print(stderr, options.error + u'\n' + StandinOptions::Usage());
        return 2;
    }
    if (options.help) {
        print(stdout, StandinOptions::Usage());
        return 0;
    }

    if (options.mode == StandinOptions::Mode::Query) {
        QCoreApplication app(argc, argv);
        QString output, error;
        const int code =
            RunStandinQuery(options.query, options.json, StandinDataFolder(), output, error);
        print(stdout, output);
        if (!error.isEmpty())
            print(stderr, error + u'\n');
        return code;
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
        print(stderr,
              QStringLiteral("Kein Bildschirm: act-standin --headless läuft ohne Fenster.\n"));
        return 1;
    }

    std::unique_ptr<QCoreApplication> app;
    if (options.mode == StandinOptions::Mode::Headless)
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = std::make_unique<QApplication>(argc, argv);

    StandinHost host(StandinDataFolder());
    const QString failure = host.Start(options.noDatabase, options.fieldCount);
    if (!failure.isEmpty()) {
        print(stderr, failure + u'\n');
        return 1;
    }
    SignalWatcher signalWatcher;
    QObject::connect(&signalWatcher, &SignalWatcher::terminationRequested, app.get(),
                     [](int) { QCoreApplication::quit(); });

    std::unique_ptr<StandinWindow> window;
    if (options.mode == StandinOptions::Mode::Window) {
        window = std::make_unique<StandinWindow>(host.Folder(), host.Database());
        window->show();
    }
    print(stdout, QStringLiteral("act-standin läuft: %1\n").arg(host.Folder()));
    const int code = app->exec();
    window.reset();
    return code;
}
