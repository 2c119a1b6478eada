#include "app/GermanTranslations.h"
#include "app/QtMessagePresenter.h"
#include "app/StartupFigures.h"
#include "app/formMain.h"

#include "support/CheckedOutput.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    CheckedOutput::ExitOnOutOfMemory("ordalis", 1);
    QApplication application(argc, argv);
    InstallGermanTranslations(application);
    QtMessagePresenter presenter;
    SetMessagePresenter(&presenter);

    const bool measure =
        QCoreApplication::arguments().contains(QStringLiteral("--measure-startup")) ||
        qEnvironmentVariableIsSet("ORDALIS_MEASURE_STARTUP");

    formMain window;
    QObject::connect(&window, &formMain::programEnded, &application, &QCoreApplication::quit,
                     Qt::QueuedConnection);
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
    const int code = application.exec();
    SetMessagePresenter(nullptr);
    return code;
}
