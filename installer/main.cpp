// Tastor: adds the command that a button file describes to ACT! and its
// toolbars, or removes it. Runs unattended from setup scripts: it shows and
// prints nothing and ends normally, unless memory runs out.

#include "TastorRun.h"

#include "support/CheckedOutput.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

namespace {
const char *const Usage =
    "Aufruf: tastor <Schaltflächendatei>\n"
    "\n"
    "Legt den Befehl, den die Schaltflächendatei (Abschnitt [BUTTON]) beschreibt,\n"
    "in ACT! an und setzt ihn auf die Symbolleisten, oder entfernt ihn (INSTALL=0).\n"
    "Ohne Programm (FILENAME) legt es keinen Befehl an.\n"
    "Ein bloßer Dateiname wird im Ordner von tastor gesucht. Tastor gibt nichts aus;\n"
    "ist TASTOR_VERBOSE gesetzt, schreibt es je Schritt eine Zeile nach stderr.\n";
} // namespace

int main(int argc, char *argv[])
{
    CheckedOutput::ExitOnOutOfMemory("tastor", 1);
    QCoreApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();

    if (arguments == QStringList{QStringLiteral("--help")}) {
        const QString program = QStringLiteral("tastor");
        return CheckedOutput::WriteStandardOutput(program, QByteArrayView(Usage)) &&
                       CheckedOutput::FinishStandardOutput(program)
                   ? 0
                   : 1;
    }

    TastorSetup setup;
    // Qt answers with slashes; the paths handed to ACT! use the system's separator.
    setup.OwnFolder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    if (qEnvironmentVariableIsSet("TASTOR_VERBOSE")) {
        setup.Report = [](const QString &line) {
            QTextStream(stderr) << QStringLiteral("tastor: ") << line << Qt::endl;
        };
    }
    RunTastor(CommandLineFromArguments(arguments), setup);
    return 0;
}
