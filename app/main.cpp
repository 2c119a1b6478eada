#include "app/GermanTranslations.h"
#include "app/QtMessagePresenter.h"
#include "app/StartupFigures.h"
#include "app/formMain.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
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
        std::printf("%s\n", qPrintable(StartupFiguresLine()));
        window.close();
        return 0;
    }
    window.show();
    const int code = application.exec();
    SetMessagePresenter(nullptr);
    return code;
}
