#include "RecognizeCommand.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    if (!arguments.isEmpty() && arguments.first() == u"recognize") {
        arguments.removeFirst();
        return RunRecognizeCommand(arguments);
    }
    std::fputs("usage: ordalis-cli recognize [--settings FILE] [--separator SEP] [--json] [FILE]\n"
               "       ordalis-cli recognize --jsonl [--settings FILE] [FILE]\n",
               stderr);
    return 2;
}
