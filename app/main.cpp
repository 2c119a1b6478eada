#include "app/GermanTranslations.h"
#include "app/HandedOverCapture.h"
#include "app/MainWindow.h"
#include "app/SingleInstance.h"
#include "app/StartupFigures.h"

#include "support/CheckedOutput.h"
#include "support/ProgramFolder.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    CheckedOutput::ExitOnOutOfMemory("ordalis", 1);
    // Read before the platform plugin may take it for the first window.
    const QString activationToken = qEnvironmentVariable("XDG_ACTIVATION_TOKEN");
    QApplication application(argc, argv);

    const bool measure =
        QCoreApplication::arguments().contains(QStringLiteral("--measure-startup")) ||
        qEnvironmentVariableIsSet("ORDALIS_MEASURE_STARTUP");

    // A second start, or `ordalis --capture`, makes the running Ordalis capture and ends.
    SingleInstance instance(SingleInstance::KeyFor(SettingsFolder()));
    if (!measure && instance.Start(activationToken) == SingleInstance::Role::HandedOver)
        return 0;

    InstallGermanTranslations(application);
    MainWindow window;
    QObject::connect(&window, &MainWindow::programEnded, &application, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    ServeHandOvers(instance, window);
    window.StartUp();
    if (measure) {
        window.close();
        const QString program = QStringLiteral("ordalis");
        return CheckedOutput::WriteStandardOutput(program,
                                                  (StartupFiguresLine() + u'\n').toUtf8()) &&
                       CheckedOutput::FinishStandardOutput(program)
                   ? 0
                   : 1;
    }
    window.show();
    return application.exec();
}
