#include "TastorRun.h"

#include "ActCommandFile.h"
#include "ActResults.h"
#include "ButtonFile.h"
#include "TastorPaths.h"

#include "act/ActObject.h"
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

// Only for the report: the installer never relies on these answers, and ACT!
// need not give one.
bool answeredNo(const QVariant &result)
{
    return result.typeId() == QMetaType::Bool && !result.toBool();
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
        // A command without a program starts nothing and, once in actcmd.ini,
        // ends every later clean-up there.
        if (m_button.Install && m_button.FileName.trimmed().isEmpty()) {
            report(QStringLiteral("kein Programm (FILENAME) für %1 – nichts geändert")
                       .arg(quoted(m_button.Name)));
            return TastorOutcome::NoProgram;
        }
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
        reportCleanUp(RemoveActCmdEntries(m_button.Name, m_registry));

        if (!CreateCommands())
            return TastorOutcome::ActUnavailable;

        const qint32 result = ActResultToLong(
            m_commands->Call(QStringLiteral("AddAuxCommand"),
                             {m_button.Name, m_button.FileName, m_commandFolder, m_button.Tooltip,
                              m_button.Description, m_button.IconS, m_button.IconL, shortInt(0)}));
        if (result != 0) {
            report(QStringLiteral("ACT! lehnt das Anlegen von %1 ab (Antwort %2) – "
                                  "Symbolleisten unverändert")
                       .arg(quoted(m_button.Name))
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
        const QVariant deleted =
            m_commands->Call(QStringLiteral("DeleteAuxCommand"), {m_button.Name});
        report(answeredNo(deleted) ? QStringLiteral("ACT! hat den Befehl nicht gelöscht")
                                   : QStringLiteral("Befehl gelöscht"));
        return TastorOutcome::Removed;
    }

    void reportCleanUp(const ActCmdCleanUp &done) const
    {
        const QString file = quoted(done.CommandFile);
        if (done.CommandFile.isEmpty()) {
            report(u"ACT! ist nicht in der Registry eingetragen – actcmd.ini nicht bereinigt"_s);
            return;
        }
        if (!done.FileFound) {
            report(u"%1 gibt es nicht – nichts zu bereinigen"_s.arg(file));
            return;
        }
        if (done.Busy) {
            report(u"%1 wird von einem anderen Programm bearbeitet – nicht bereinigt"_s.arg(file));
            return;
        }
        if (!done.CommandPassEnd.isEmpty())
            report(u"%1: [%2] hat kein Programm (cmdline) – die Suche nach alten Befehlen "
                   "endet dort"_s.arg(file, done.CommandPassEnd));
        for (const QString &section : done.Removed)
            report(u"%1: alter Eintrag [%2] entfernt"_s.arg(file, section));
        for (const QString &section : done.Refused)
            report(u"%1: alter Eintrag [%2] ließ sich nicht entfernen"_s.arg(file, section));
        if (done.Removed.isEmpty() && done.Refused.isEmpty())
            report(u"%1: kein alter Eintrag von %2 gefunden"_s.arg(file, quoted(m_button.Name)));
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
            reportToolbar(toolbar,
                          m_commands->Call(QStringLiteral("AddAuxCommandToToolbar"),
                                           {shortInt(toolbar), m_button.Name}),
                          QStringLiteral("hinzugefügt"), QStringLiteral("schon darauf"));
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
        reportToolbar(toolbar,
                      m_commands->Call(QStringLiteral("RemoveAuxCommandFromToolbar"),
                                       {shortInt(toolbar), m_button.Name}),
                      QStringLiteral("entfernt"), QStringLiteral("ACT! hat nichts entfernt"));
    }

    // "entfernt" and "hinzugefügt" only for what ACT! says it changed.
    void reportToolbar(qint16 toolbar, const QVariant &answer, const QString &done,
                       const QString &unchanged) const
    {
        report(QStringLiteral("Symbolleiste %1: %2")
                   .arg(toolbar)
                   .arg(answeredNo(answer) ? unchanged : done));
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
