#include "TastorRun.h"

#include "ActResults.h"
#include "ButtonFile.h"
#include "TastorPaths.h"
#include "modACTReg.h"

#include "act/ActObject.h"
#include "support/FileTools.h"
#include "support/Registry.h"

#include <QVariantList>

#include <memory>

using namespace Qt::StringLiterals;

namespace {
// Toolbar numbers of ACT!: the contact and the group toolbar.
constexpr qint16 ContactToolbar = 1;
constexpr qint16 GroupToolbar = 3;

QVariant shortInt(qint16 value)
{
    return QVariant::fromValue(value);
}

QString quoted(const QString &text)
{
    return QStringLiteral("„") + text + QStringLiteral("“");
}

// The button file's path from the command line: blanks around it never count,
// and one pair of quotes around it is how a path with blanks gets passed.
QString buttonFilePath(const QString &commandLine)
{
    QString path = commandLine.trimmed();
    if (path.size() >= 2 && path.startsWith(u'"') && path.endsWith(u'"'))
        path = path.mid(1, path.size() - 2);
    return path;
}

class Run
{
public:
    Run(const TastorSetup &setup, const Registry &registry) : m_setup(setup), m_registry(registry)
    {}

    TastorOutcome Start(const QString &commandLine)
    {
        const QString path = ResolvePath(buttonFilePath(commandLine), m_setup.OwnFolder);
        if (path.isEmpty()) {
            report(QStringLiteral("leere Befehlszeile – nichts zu tun"));
            return TastorOutcome::EmptyCommandLine;
        }
        report(QStringLiteral("Schaltflächendatei: %1").arg(path));

        const ButtonFileRead read = ReadButtonFile(path);
        switch (read.Result) {
        case ButtonFileRead::Missing:
            // A mistyped path must not become a removal of some command ACT!
            // might file under the empty name.
            report(QStringLiteral("Schaltflächendatei nicht gefunden – nichts zu tun"));
            return TastorOutcome::ButtonFileMissing;
        case ButtonFileRead::NotANumber:
            report(QStringLiteral("%1 ist keine Zahl – nichts geändert").arg(quoted(read.BadKey)));
            return TastorOutcome::NotANumber;
        case ButtonFileRead::Read:
            break;
        }

        m_button = read.Button;
        m_button.FileName = ResolvePath(m_button.FileName, m_setup.OwnFolder);
        m_button.IconL = ResolvePath(m_button.IconL, m_setup.OwnFolder);
        m_button.IconS = ResolvePath(m_button.IconS, m_setup.OwnFolder);
        m_commandFolder = FolderOf(m_button.FileName);
        report(
            QStringLiteral("Befehl %1: %2, Programm %3, Ordner %4")
                .arg(quoted(m_button.Name),
                     m_button.Install ? QStringLiteral("hinzufügen") : QStringLiteral("entfernen"),
                     quoted(m_button.FileName), quoted(m_commandFolder)));

        try {
            return m_button.Install ? Add() : Remove();
        } catch (const ActError &error) {
            report(
                QStringLiteral("ACT! meldet einen Fehler: %1 – Lauf beendet").arg(error.reason()));
            return TastorOutcome::ActFailed;
        }
    }

private:
    TastorOutcome Add()
    {
        RemoveActCmdEntries(m_button.Name, m_registry);
        reportCleanUp();

        if (!CreateCommands())
            return TastorOutcome::ActUnavailable;

        const qint32 result = ActResultToLong(
            m_commands->Call(QStringLiteral("AddAuxCommand"),
                             {m_button.Name, m_button.FileName, m_commandFolder, m_button.Tooltip,
                              m_button.Description, m_button.IconS, m_button.IconL, shortInt(0)}));
        if (result != 0) {
            report(QStringLiteral("ACT! hat den Befehl nicht angelegt (Antwort %1) – "
                                  "Symbolleisten unverändert")
                       .arg(result));
            return TastorOutcome::AddRefused;
        }
        report(QStringLiteral("Befehl angelegt"));

        PlaceOnToolbar(ContactToolbar, m_button.Contact);
        PlaceOnToolbar(GroupToolbar, m_button.Group);
        return TastorOutcome::Added;
    }

    TastorOutcome Remove()
    {
        if (!CreateCommands())
            return TastorOutcome::ActUnavailable;
        if (!ActResultIsTrue(
                m_commands->Call(QStringLiteral("AuxCommandExists"), {m_button.Name}))) {
            report(
                QStringLiteral("ACT! kennt %1 nicht – nichts zu tun").arg(quoted(m_button.Name)));
            return TastorOutcome::NotKnown;
        }
        TakeOffToolbar(ContactToolbar);
        TakeOffToolbar(GroupToolbar);
        m_commands->Call(QStringLiteral("DeleteAuxCommand"), {m_button.Name});
        report(QStringLiteral("Befehl gelöscht"));
        return TastorOutcome::Removed;
    }

    void reportCleanUp() const
    {
        if (!m_setup.Report)
            return;
        const QString actFolder = GetActFolder(m_registry);
        const QString commandFile = actFolder + PathRules::Native().Separator + u"actcmd.ini"_s;
        if (actFolder.isEmpty())
            report(u"ACT! ist nicht in der Registry eingetragen – actcmd.ini nicht bereinigt"_s);
        else if (!FileExists(commandFile))
            report(u"keine actcmd.ini in %1 – nichts zu bereinigen"_s.arg(quoted(actFolder)));
        else
            report(u"alte Einträge von %1 aus %2 entfernt, soweit vorhanden"_s.arg(
                quoted(m_button.Name), quoted(commandFile)));
    }

    bool CreateCommands()
    {
        try {
            m_commands = CreateActObject(ActProgId::AuxCommands);
        } catch (const ActError &error) {
            report(QStringLiteral("ACT! nicht erreichbar: %1 – Lauf beendet").arg(error.reason()));
            return false;
        }
        return true;
    }

    void PlaceOnToolbar(qint16 toolbar, bool wanted)
    {
        if (wanted) {
            m_commands->Call(QStringLiteral("AddAuxCommandToToolbar"),
                             {shortInt(toolbar), m_button.Name});
            report(QStringLiteral("Symbolleiste %1: hinzugefügt").arg(toolbar));
            return;
        }
        TakeOffToolbar(toolbar);
    }

    void TakeOffToolbar(qint16 toolbar)
    {
        if (!ActResultIsTrue(m_commands->Call(QStringLiteral("AuxCommandExistsInToolbar"),
                                              {shortInt(toolbar), m_button.Name}))) {
            report(QStringLiteral("Symbolleiste %1: nicht darauf").arg(toolbar));
            return;
        }
        m_commands->Call(QStringLiteral("RemoveAuxCommandFromToolbar"),
                         {shortInt(toolbar), m_button.Name});
        report(QStringLiteral("Symbolleiste %1: entfernt").arg(toolbar));
    }

    void report(const QString &line) const
    {
        if (m_setup.Report)
            m_setup.Report(line);
    }

    const TastorSetup &m_setup;
    const Registry &m_registry;
    ButtonFile m_button;
    QString m_commandFolder;
    ActObjectPtr m_commands;
};
} // namespace

QString CommandLineFromArguments(const QStringList &arguments)
{
    return arguments.join(u' ');
}

TastorOutcome RunTastor(const QString &commandLine, const TastorSetup &setup)
{
    try {
        std::unique_ptr<Registry> systemRegistry;
        const Registry *registry = setup.ActRegistry;
        if (!registry) {
            systemRegistry = SystemRegistry();
            registry = systemRegistry.get();
        }
        return Run(setup, *registry).Start(commandLine);
    } catch (const std::exception &error) {
        if (setup.Report)
            setup.Report(QStringLiteral("unerwarteter Fehler: %1 – Lauf beendet")
                             .arg(QString::fromLocal8Bit(error.what())));
        return TastorOutcome::ActFailed;
    }
}
