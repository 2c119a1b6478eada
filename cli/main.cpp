#include "ContactCommand.h"
#include "FieldsCommand.h"
#include "RecognizeCommand.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    const QString command = arguments.isEmpty() ? QString() : arguments.takeFirst();
    if (command == u"recognize")
        return RunRecognizeCommand(arguments);
    if (command == u"new-contact" || command == u"edit-contact")
        return RunContactCommand(command == u"new-contact", arguments);
    if (command == u"fields")
        return RunFieldsCommand(arguments);
    std::fputs(
        "usage: ordalis-cli recognize [--settings FILE] [--separator SEP] [--json] [FILE]\n"
        "       ordalis-cli recognize --jsonl [--settings FILE] [FILE]\n"
        "       ordalis-cli new-contact  [--settings FILE] [--separator SEP] [--json] [FILE]\n"
        "       ordalis-cli edit-contact [--settings FILE] [--separator SEP] [--json] [FILE]\n"
        "       ordalis-cli fields [--json]\n",
        stderr);
    return 2;
}
