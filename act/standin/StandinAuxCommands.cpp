#include "StandinAuxCommands.h"

#include "ActCommandFile.h"
#include "LateBoundArguments.h"
#include "StandinPaths.h"

using namespace Qt::StringLiterals;

namespace {

QString commandName(const QVariant &value, const QString &member, int index)
{
    return TextArgument(
        value, QStringLiteral("Argument %1 von „%2“ (Befehlsname)").arg(index + 1).arg(member));
}

// Only what creates something needs a name; asking about "" is simply false.
QString newCommandName(const QVariant &value, const QString &member, int index)
{
    const QString name = commandName(value, member, index);
    if (name.trimmed().isEmpty())
        throw ActError(QStringLiteral("„%1“ braucht einen Befehlsnamen.").arg(member));
    return name;
}

qint32 toolbarNumber(const QVariant &value, const QString &member)
{
    const qint32 toolbar =
        IntegerArgument(value, QStringLiteral("Argument 1 von „%1“ (Symbolleiste)").arg(member));
    if (toolbar < 0)
        throw ActError(QStringLiteral("Keine Symbolleiste %1.").arg(toolbar));
    return toolbar;
}

} // namespace

StandinAuxCommands::StandinAuxCommands(const QString &dataFolder)
    : StandinObject(ActProgId::AuxCommands, dataFolder)
{
    const auto file = [this] { return ActCommandFile(CommandFilePath(this->dataFolder())); };

    addMember(u"AddAuxCommand"_s, 8, [file](const QVariantList &arguments) {
        const QString member = u"AddAuxCommand"_s;
        const auto text = [&](int index, const QString &meaning) {
            return TextArgument(arguments[index], argumentName(member, index, meaning));
        };
        AuxCommandEntry command;
        command.name = newCommandName(arguments[0], member, 0);
        command.program = text(1, u"Programm"_s);
        command.folder = text(2, u"Programmordner"_s);
        command.tooltip = text(3, u"Tooltip"_s);
        command.description = text(4, u"Beschreibung"_s);
        command.smallIcon = text(5, u"kleines Symbol"_s);
        command.largeIcon = text(6, u"großes Symbol"_s);
        command.options = IntegerArgument(arguments[7], argumentName(member, 7, u"Optionen"_s));
        return QVariant(file().AddAuxCommand(command));
    });
    addMember(u"AuxCommandExists"_s, 1, [file](const QVariantList &arguments) {
        return QVariant(
            file().AuxCommandExists(commandName(arguments[0], u"AuxCommandExists"_s, 0)));
    });
    addMember(u"DeleteAuxCommand"_s, 1, [file](const QVariantList &arguments) {
        return QVariant(
            file().DeleteAuxCommand(commandName(arguments[0], u"DeleteAuxCommand"_s, 0)));
    });
    addMember(u"AddAuxCommandToToolbar"_s, 2, [file](const QVariantList &arguments) {
        const QString member = u"AddAuxCommandToToolbar"_s;
        const qint32 toolbar = toolbarNumber(arguments[0], member);
        const QString name = newCommandName(arguments[1], member, 1);
        ActCommandFile commands = file();
        if (!commands.AuxCommandExists(name))
            throw ActError(QStringLiteral("Den Befehl „%1“ gibt es in ACT! nicht.").arg(name));
        return QVariant(commands.AddToToolbar(toolbar, name));
    });
    addMember(u"AuxCommandExistsInToolbar"_s, 2, [file](const QVariantList &arguments) {
        const QString member = u"AuxCommandExistsInToolbar"_s;
        const qint32 toolbar = toolbarNumber(arguments[0], member);
        return QVariant(file().ExistsInToolbar(toolbar, commandName(arguments[1], member, 1)));
    });
    addMember(u"RemoveAuxCommandFromToolbar"_s, 2, [file](const QVariantList &arguments) {
        const QString member = u"RemoveAuxCommandFromToolbar"_s;
        const qint32 toolbar = toolbarNumber(arguments[0], member);
        return QVariant(file().RemoveFromToolbar(toolbar, commandName(arguments[1], member, 1)));
    });
}
