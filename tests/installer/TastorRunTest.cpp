// Runs of the real tastor program against the real act-standin, each in a
// temporary folder of its own.

#include "QtPrinters.h"
#include "tests/standin/StandinFixture.h"

#include "act/ActObject.h"
#include "act/standin/ActCommandFile.h"
#include "act/standin/StandinPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// What ACT! had before: a foreign command with a button on toolbar 1.
const QByteArray Foreign = "[Settings]\r\nVersion=6.0\r\n"
                           "[AuxCommand-0]\r\ncmdname=Kalender\r\ncmdline=/usr/bin/cal\r\n"
                           "[AuxTBarCommand-0]\r\ncmdname=Kalender\r\ntoolbar=1\r\n";

class TastorRun : public StandinFixture
{
protected:
    void SetUp() override
    {
        StandinFixture::SetUp();
        m_bin = root() + u"/Tastor Programm"_s;
        ASSERT_TRUE(QDir().mkpath(m_bin));
        // A copy, so that the program's own folder is the test's to fill.
        ASSERT_TRUE(QFile::copy(QStringLiteral(TASTOR_BINARY), m_bin + u"/tastor"_s));
        ASSERT_TRUE(StartStandin());
        write(CommandFilePath(Home()), Foreign);
    }

    static void write(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    QByteArray commandFileBytes() const
    {
        QFile file(CommandFilePath(Home()));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    // A button file in tastor's own folder.
    QString button(const QByteArray &keys, const QString &fileName = u"button.ini"_s)
    {
        write(m_bin + u'/' + fileName, "[BUTTON]\r\n" + keys);
        return m_bin + u'/' + fileName;
    }

    // Runs tastor and returns what it printed (stdout, then stderr).
    QByteArray run(const QStringList &arguments, QProcessEnvironment environment = {})
    {
        QProcess process;
        if (!environment.isEmpty())
            process.setProcessEnvironment(environment);
        process.start(m_bin + u"/tastor"_s, arguments);
        EXPECT_TRUE(process.waitForFinished(30000)) << "tastor must never hang";
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0);
        return process.readAllStandardOutput() + process.readAllStandardError();
    }

    // A run as a setup script makes it: it prints nothing.
    void runQuietly(const QStringList &arguments) { EXPECT_EQ(run(arguments), QByteArray()); }

    std::optional<AuxCommandEntry> command(const QString &name, int *count = nullptr) const
    {
        std::optional<AuxCommandEntry> found;
        for (const AuxCommandEntry &entry : ActCommandFile(CommandFilePath(Home())).Commands()) {
            if (entry.name == name) {
                found = entry;
                if (count)
                    ++*count;
            }
        }
        return found;
    }

    // One entry per button, by toolbar number.
    QList<qint32> toolbarsOf(const QString &name) const
    {
        QList<qint32> toolbars;
        for (const ToolbarEntry &entry : ActCommandFile(CommandFilePath(Home())).ToolbarEntries())
            if (entry.name == name)
                toolbars.append(entry.toolbar);
        std::sort(toolbars.begin(), toolbars.end());
        return toolbars;
    }

    // What an earlier install left in ACT!: the command, then its buttons in this order.
    static void installedBefore(const QString &name, const QList<qint16> &toolbars)
    {
        const ActObjectPtr commands = CreateActObject(ActProgId::AuxCommands);
        const QString none;
        commands->Call(u"AddAuxCommand"_s,
                       {name, u"/opt/alt/prog"_s, u"/opt/alt/"_s, none, none, none, none, 0});
        for (qint16 toolbar : toolbars)
            commands->Call(u"AddAuxCommandToToolbar"_s, {toolbar, name});
    }

    QString root() const { return QFileInfo(Home()).path(); }
    QString m_bin;
};

TEST_F(TastorRun, NameAndProgramAloneAddTheCommandToBothToolbars)
{
    runQuietly({button("NAME=Adressfang\r\nFILENAME=fang\r\n")});
    EXPECT_TRUE(command(u"Adressfang"_s)) << commandFileBytes().constData();
    EXPECT_EQ(toolbarsOf(u"Adressfang"_s), (QList<qint32>{1, 3}));
    EXPECT_EQ(toolbarsOf(u"Kalender"_s), QList<qint32>{1}) << "foreign button kept";
}

TEST_F(TastorRun, SwitchedOffToolbarLosesTheButton)
{
    const struct
    {
        QList<qint16> before; // the clean-up takes the first of these buttons
        QByteArray switches;
        QList<qint32> after;
    } cases[] = {
        {{3, 1}, "CONTACT=0\r\n", {3}},
        {{}, "CONTACT=0\r\n", {3}},
        {{1, 3}, "GROUP=0\r\n", {1}},
        {{}, "CONTACT=01\r\nGROUP=2\r\n", {1}},
    };
    int n = 0;
    for (const auto &c : cases) {
        const QString name = u"Knopf %1"_s.arg(++n);
        if (!c.before.isEmpty())
            installedBefore(name, c.before);
        runQuietly({button("NAME=" + name.toLatin1() + "\r\nFILENAME=/opt/neu\r\n" + c.switches)});
        EXPECT_EQ(command(name).value_or(AuxCommandEntry()).program, u"/opt/neu"_s) << n;
        EXPECT_EQ(toolbarsOf(name), c.after) << "case " << n;
    }
}

TEST_F(TastorRun, ActReceivesTheResolvedPathsAndTexts)
{
    const QString own = m_bin + u'/';
    const struct
    {
        QByteArray keys;
        QStringList expected; // program, folder, tooltip, description, small and large icon
    } cases[] = {
        {"FILENAME=prog.sh\r\nICONS=k.png\r\nICONL=g.png\r\n",
         {own + u"prog.sh"_s, own, {}, {}, own + u"k.png"_s, own + u"g.png"_s}},
        {"FILENAME=/usr/bin/fang\r\nICONS=/i/f.png\r\nTOOLTIP=Tipp\r\nDESCRIPTION=\xdc"
         "ber\r\n",
         {u"/usr/bin/fang"_s, u"/usr/bin/"_s, u"Tipp"_s, u"\u00dcber"_s, u"/i/f.png"_s, {}}},
        {"FILENAME=/x/y\r\nDESCRIPTION=" + QByteArray(300, 'x') + "\r\n",
         {u"/x/y"_s, u"/x/"_s, {}, QString(255, u'x'), {}, {}}},
    };
    int n = 0;
    for (const auto &c : cases) {
        const QString name = u"Befehl %1"_s.arg(++n);
        runQuietly({button("NAME=" + name.toLatin1() + "\r\n" + c.keys)});
        const AuxCommandEntry added = command(name).value_or(AuxCommandEntry());
        EXPECT_EQ((QStringList{added.program, added.folder, added.tooltip, added.description,
                               added.smallIcon, added.largeIcon}),
                  c.expected)
            << "case " << n;
        EXPECT_EQ(added.options, 0);
    }
}

TEST_F(TastorRun, RemovalLeavesTheCommandFileAsItWas)
{
    for (const QByteArray install : {"0", "2"}) {
        runQuietly({button("NAME=Adressfang\r\nFILENAME=/opt/a/fang\r\n")});
        ASSERT_TRUE(command(u"Adressfang"_s));
        runQuietly({button("INSTALL=" + install + "\r\nNAME=adressfang\r\n")});
        EXPECT_EQ(commandFileBytes(), Foreign) << "INSTALL=" << install.constData();
    }
    runQuietly({button("INSTALL=0\r\nNAME=Unbekannt\r\n")});
    EXPECT_EQ(commandFileBytes(), Foreign) << "unknown command";
}

TEST_F(TastorRun, NothingChangesWithoutAUsableButtonFile)
{
    installedBefore(u"Adressfang"_s, {1});
    const QByteArray before = commandFileBytes();
    for (const QByteArray switches : {"INSTALL=ja", "INSTALL=", "CONTACT=eins", "GROUP="}) {
        runQuietly({button("NAME=Adressfang\r\nFILENAME=/neu\r\n" + switches + "\r\n")});
        EXPECT_EQ(commandFileBytes(), before) << switches.constData();
    }
    for (const QStringList &arguments : {QStringList(), QStringList{u"  "_s},
                                         QStringList{u"\"\""_s}, QStringList{u"fehlt.ini"_s}}) {
        runQuietly(arguments);
        EXPECT_EQ(commandFileBytes(), before) << arguments.join(u'|').toStdString();
    }
}

TEST_F(TastorRun, WithoutRegistryEntryOrCommandFileTheRunGoesOn)
{
    QProcessEnvironment unregistered = QProcessEnvironment::systemEnvironment();
    unregistered.insert(u"ACT_STANDIN_REGISTRY"_s, root() + u"/leer.ini"_s);
    run({button("NAME=Ohne Registry\r\nFILENAME=/p\r\n")}, unregistered);
    EXPECT_TRUE(command(u"Ohne Registry"_s));

    ASSERT_TRUE(QFile::remove(CommandFilePath(Home())));
    runQuietly({button("NAME=Ohne Datei\r\nFILENAME=/p\r\n")});
    EXPECT_EQ(toolbarsOf(u"Ohne Datei"_s), (QList<qint32>{1, 3}));
}

TEST_F(TastorRun, WithActClosedOnlyTheCleanUpHappens)
{
    installedBefore(u"Adressfang"_s, {1, 3});
    StopStandin();
    runQuietly({button("NAME=Adressfang\r\nFILENAME=/opt/neu\r\n")});
    EXPECT_FALSE(command(u"Adressfang"_s)) << "stale command removed, none added";
    EXPECT_EQ(toolbarsOf(u"Adressfang"_s), QList<qint32>{3}) << "first stale button removed";
}

TEST_F(TastorRun, CommandLineFormsThatNameTheButtonFile)
{
    ASSERT_TRUE(QDir().mkpath(root() + u"/Mein Ordner"_s));
    const QString spaced = root() + u"/Mein Ordner/mein knopf.ini"_s;
    const QList<QStringList> forms = {{u"\"%1\""_s.arg(spaced)},
                                      spaced.split(u' '),
                                      {u"  %1  "_s.arg(spaced)},
                                      {u" \"%1\" "_s.arg(spaced)},
                                      {u"eigener.ini"_s}};
    for (qsizetype n = 0; n < forms.size(); ++n) {
        const QByteArray keys = "NAME=Form " + QByteArray::number(n) + "\r\nFILENAME=/p\r\n";
        write(spaced, "[BUTTON]\r\n" + keys);
        button(keys, u"eigener.ini"_s);
        runQuietly(forms[n]);
        EXPECT_TRUE(command(u"Form %1"_s.arg(n))) << forms[n].join(u'|').toStdString();
    }
}

TEST_F(TastorRun, TalksOnlyWhenAsked)
{
    EXPECT_TRUE(run({u"--help"_s}).startsWith("Aufruf: tastor"));
    QProcessEnvironment verbose = QProcessEnvironment::systemEnvironment();
    verbose.insert(u"TASTOR_VERBOSE"_s, QString());
    EXPECT_TRUE(run({button("INSTALL=0\r\nNAME=Unbekannt\r\n")}, verbose)
                    .contains("kennt \xe2\x80\x9eUnbekannt\xe2\x80\x9c nicht"));
}

// Everyday sequences that once lost or froze a command while tastor said nothing.
TEST_F(TastorRun, EverydaySequencesEndWithTheCommandInstalledOnce)
{
    const QByteArray alpha = "NAME=Alpha\r\nFILENAME=/opt/a/alpha\r\n";
    const QByteArray betaOld = "NAME=Beta\r\nFILENAME=/opt/b/v1\r\n";
    const QByteArray betaNew = "NAME=Beta\r\nFILENAME=/opt/b/v2\r\n";
    const struct
    {
        const char *what;
        QByteArray before;
        std::vector<QByteArray> buttons; // run one after the other
        QString commands;                // name=program, by section number
        QString buttonsAfter;            // name:toolbar, sorted
    } sequences[] = {
        {"a removal before an upgrade leaves no gap in the numbers",
         Foreign,
         {alpha, betaOld, "INSTALL=0\r\nNAME=Alpha\r\n", betaNew},
         u"Kalender=/usr/bin/cal Beta=/opt/b/v2"_s,
         u"Beta:1 Beta:3 Kalender:1"_s},
        {"lone carriage returns end lines",
         "[AuxCommand-0]\rcmdname=Kalender\rcmdline=/usr/bin/cal\r"
         "[AuxCommand-1]\rcmdname=Beta\rcmdline=/opt/b/v1\r",
         {alpha},
         u"Kalender=/usr/bin/cal Beta=/opt/b/v1 Alpha=/opt/a/alpha"_s,
         u"Alpha:1 Alpha:3"_s},
        {"an add interrupted after its first key is completed",
         Foreign + "[AuxCommand-1]\r\ncmdname=Beta\r\n",
         {betaNew, betaNew},
         u"Kalender=/usr/bin/cal Beta=/opt/b/v2"_s,
         u"Beta:1 Beta:3 Kalender:1"_s},
        {"a button file without a program changes nothing",
         Foreign,
         {"NAME=Ohne\r\nFILENAME=\r\n", "NAME=Ohne\r\n", betaOld, betaNew},
         u"Kalender=/usr/bin/cal Beta=/opt/b/v2"_s,
         u"Beta:1 Beta:3 Kalender:1"_s},
    };
    for (const auto &sequence : sequences) {
        SCOPED_TRACE(sequence.what);
        write(CommandFilePath(Home()), sequence.before);
        for (const QByteArray &keys : sequence.buttons)
            runQuietly({button(keys)});

        const ActCommandFile file(CommandFilePath(Home()));
        QStringList commands;
        int number = 0;
        for (const AuxCommandEntry &entry : file.Commands()) {
            EXPECT_EQ(entry.number, number++) << "commands numbered without gaps";
            commands.append(entry.name + u'=' + entry.program);
        }
        EXPECT_EQ(commands.join(u' '), sequence.commands) << commandFileBytes().constData();
        QStringList buttons;
        number = 0;
        for (const ToolbarEntry &entry : file.ToolbarEntries()) {
            EXPECT_EQ(entry.number, number++) << "buttons numbered without gaps";
            buttons.append(entry.name + u':' + QString::number(entry.toolbar));
        }
        buttons.sort();
        EXPECT_EQ(buttons.join(u' '), sequence.buttonsAfter);
        EXPECT_EQ(QDir(Home()).entryList({u"actcmd.ini.*"_s}, QDir::Files | QDir::Hidden),
                  QStringList{u"actcmd.ini.lock"_s})
            << "no temporary file left";
    }
}

TEST_F(TastorRun, RemovingTheMiddleCommandMovesOnlyTheLaterNumbersDown)
{
    write(CommandFilePath(Home()), "; ACT!\r\n"
                                   "[AuxCommand-0]\r\ncmdname=Eins\r\ncmdline=/opt/1\r\n"
                                   "[AuxCommand-1]\r\ncmdname=Zwei\r\ncmdline=/opt/2\r\n"
                                   "[Settings]\r\nVersion = 6.0\r\n\r\n"
                                   "[ auxcommand-2 ]  \r\n  cmdname = Drei \r\ncmdline=/opt/3\r\n"
                                   "extra=bleibt\r\n"
                                   "[AuxTBarCommand-0]\r\ncmdname=Zwei\r\ntoolbar=1\r\n"
                                   "[AuxTBarCommand-1]\ncmdname=Drei\ntoolbar=3\n");
    runQuietly({button("INSTALL=0\r\nNAME=Zwei\r\n")});
    EXPECT_EQ(commandFileBytes(), "; ACT!\r\n"
                                  "[AuxCommand-0]\r\ncmdname=Eins\r\ncmdline=/opt/1\r\n"
                                  "[Settings]\r\nVersion = 6.0\r\n\r\n"
                                  "[ auxcommand-1 ]  \r\n  cmdname = Drei \r\ncmdline=/opt/3\r\n"
                                  "extra=bleibt\r\n"
                                  "[AuxTBarCommand-0]\ncmdname=Drei\ntoolbar=3\n");
}

} // namespace
