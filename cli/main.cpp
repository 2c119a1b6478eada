#include "ContactCommand.h"
#include "FieldsCommand.h"
#include "RecognizeCommand.h"
#include "Usage.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {

constexpr int ExitUsage = 2;

void write(FILE *stream, const QByteArray &text)
{
    std::fwrite(text.constData(), 1, size_t(text.size()), stream);
}

bool isHelp(const QString &argument)
{
    return argument == u"--help" || argument == u"-h";
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    const QString command = arguments.isEmpty() ? QString() : arguments.takeFirst();

    if (isHelp(command) || command == u"help") {
        const QString topic = arguments.value(0);
        const QByteArray help = topic.isEmpty() ? ProgramHelp() : CommandHelp(topic);
        if (help.isEmpty())
            return UsageFailure(QStringLiteral("help"),
                                QStringLiteral("no such command %1").arg(topic));
        write(stdout, help);
        return 0;
    }
    if (command == u"recognize")
        return RunRecognizeCommand(arguments);
    if (command == u"new-contact" || command == u"edit-contact")
        return RunContactCommand(command == u"new-contact", arguments);
    if (command == u"fields")
        return RunFieldsCommand(arguments);

    if (!command.isEmpty())
        write(stderr, "ordalis-cli: unknown command " + command.toUtf8() + "\n\n");
    write(stderr, ProgramHelp());
    return ExitUsage;
}
