#include "ContactCommand.h"
#include "FieldsCommand.h"
#include "RecognizeCommand.h"
#include "Usage.h"

#include "support/CheckedOutput.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {

bool isHelp(const QString &argument)
{
    return argument == u"--help" || argument == u"-h";
}

int runCommand(const QString &command, const QStringList &arguments)
{
    if (isHelp(command) || command == u"help") {
        const QString topic = arguments.value(0);
        const QByteArray help = topic.isEmpty() ? ProgramHelp() : CommandHelp(topic);
        if (help.isEmpty())
            return UsageFailure(QStringLiteral("help"),
                                QStringLiteral("no such command %1").arg(topic));
        return WriteStdout(QString(), help) ? 0 : ExitFailure;
    }
    if (command == u"recognize")
        return RunRecognizeCommand(arguments);
    if (command == u"new-contact" || command == u"edit-contact")
        return RunContactCommand(command == u"new-contact", arguments);
    if (command == u"fields")
        return RunFieldsCommand(arguments);

    QByteArray message;
    if (!command.isEmpty())
        message = "ordalis-cli: unknown command " + command.toUtf8() + "\n\n";
    message += ProgramHelp();
    std::fwrite(message.constData(), 1, size_t(message.size()), stderr);
    return ExitFailure;
}

} // namespace

int main(int argc, char *argv[])
{
    CheckedOutput::ExitOnOutOfMemory("ordalis-cli", ExitOutOfMemory);
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    const QString command = arguments.isEmpty() ? QString() : arguments.takeFirst();
    const int code = runCommand(command, arguments);
    if (!CheckedOutput::FinishStandardOutput(QStringLiteral("ordalis-cli")))
        return code == 0 ? ExitFailure : code;
    return code;
}
