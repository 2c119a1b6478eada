// Runs of the real tastor program against the real act-standin, each in a
// temporary folder of its own.

#include "QtPrinters.h"
#include "StandinProcess.h"

#include "act/ActObject.h"
#include "act/standin/ActCommandFile.h"
#include "act/standin/StandinPaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// What ACT! already had before any test run: a foreign command on toolbar 1.
const QByteArray ForeignCommands = "[Settings]\r\nVersion=6.0\r\n"
                                   "[AuxCommand-0]\r\ncmdname=Kalender\r\ncmdline=/usr/bin/cal\r\n"
                                   "[AuxTBarCommand-0]\r\ncmdname=Kalender\r\ntoolbar=1\r\n";

struct RunResult
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

class TastorRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        m_home = m_root.filePath(u"ACT Daten"_s);
        m_binFolder = m_root.filePath(u"Tastor Programm"_s);
        ASSERT_TRUE(QDir().mkpath(m_home));
        ASSERT_TRUE(QDir().mkpath(m_binFolder));
        // A copy, so that the program's own folder is the test's to fill.
        ASSERT_TRUE(QFile::copy(QStringLiteral(TASTOR_BINARY), tastor()));
        qputenv("ACT_STANDIN_HOME", m_home.toLocal8Bit());
        qputenv("ACT_STANDIN_REGISTRY", m_registryFile.toLocal8Bit());
        ASSERT_TRUE(m_standin.Start()) << "act-standin did not come up";
        writeFile(CommandFilePath(m_home), ForeignCommands);
    }

    QString tastor() const { return m_binFolder + u"/tastor"_s; }

    static void writeFile(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << qPrintable(path);
        file.write(bytes);
    }

    static QByteArray readFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    // A button file in tastor's own folder; returns its full path.
    QString writeButton(const QByteArray &content, const QString &name = u"button.ini"_s)
    {
        const QString path = m_binFolder + u'/' + name;
        writeFile(path, "[BUTTON]\r\n" + content);
        return path;
    }

    RunResult run(const QStringList &arguments,
                  const QProcessEnvironment &environment = QProcessEnvironment())
    {
        QProcess process;
        process.setProcessEnvironment(environment.isEmpty() ? m_standin.Environment()
                                                            : environment);
        process.start(tastor(), arguments);
        RunResult result;
        if (!process.waitForFinished(30000)) {
            process.kill();
            process.waitForFinished();
            ADD_FAILURE() << "tastor did not end";
            return result;
        }
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
        result.out = process.readAllStandardOutput();
        result.err = process.readAllStandardError();
        return result;
    }

    // A run as a setup script makes it: silent, and ending normally.
    void runQuietly(const QStringList &arguments)
    {
        const RunResult result = run(arguments);
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.out, QByteArray());
        EXPECT_EQ(result.err, QByteArray());
    }

    ActCommandFile commandFile() const { return ActCommandFile(CommandFilePath(m_home)); }
    QByteArray commandFileBytes() const { return readFile(CommandFilePath(m_home)); }

    std::optional<AuxCommandEntry> command(const QString &name) const
    {
        const QVector<AuxCommandEntry> commands = commandFile().Commands();
        const auto found = std::find_if(commands.begin(), commands.end(),
                                        [&](const auto &c) { return c.name == name; });
        return found == commands.end() ? std::nullopt : std::optional(*found);
    }

    int commandCount(const QString &name) const
    {
        const QVector<AuxCommandEntry> commands = commandFile().Commands();
        return int(std::count_if(commands.begin(), commands.end(),
                                 [&](const auto &c) { return c.name == name; }));
    }

    // The toolbars carrying a button for the command, one entry per button.
    QList<qint32> toolbarsOf(const QString &name) const
    {
        QList<qint32> toolbars;
        for (const ToolbarEntry &entry : commandFile().ToolbarEntries()) {
            if (entry.name == name)
                toolbars.append(entry.toolbar);
        }
        std::sort(toolbars.begin(), toolbars.end());
        return toolbars;
    }

    // Puts a command into ACT! the way a former install left it.
    static void addThroughAct(const QString &name, const QList<qint16> &toolbars)
    {
        const ActObjectPtr commands = CreateActObject(ActProgId::AuxCommands);
        ASSERT_EQ(commands
                      ->Call(u"AddAuxCommand"_s, {name, u"/opt/alt/prog"_s, u"/opt/alt/"_s,
                                                  QString(), QString(), QString(), QString(), 0})
                      .toInt(),
                  0);
        for (qint16 toolbar : toolbars)
            commands->Call(u"AddAuxCommandToToolbar"_s, {toolbar, name});
    }

    QTemporaryDir m_root;
    QString m_home;
    QString m_binFolder;
    QString m_registryFile = m_root.filePath(u"registry.ini"_s);
    StandinProcess m_standin{m_root.filePath(u"ACT Daten"_s), m_registryFile};
};

TEST_F(TastorRun, OnlyANameAddsTheCommandToBothToolbars)
{
    runQuietly({writeButton("NAME=Adressfang\r\n")});
    ASSERT_TRUE(command(u"Adressfang"_s)) << commandFileBytes().constData();
    EXPECT_EQ(toolbarsOf(u"Adressfang"_s), (QList<qint32>{1, 3}));
    EXPECT_EQ(toolbarsOf(u"Kalender"_s), QList<qint32>{1}) << "foreign button kept";
}

TEST_F(TastorRun, SwitchedOffToolbarLosesTheButton)
{
    const struct
    {
        const char *what;
        QList<qint16> before; // buttons of an earlier install, in the order made
        QByteArray switches;
        QList<qint32> after;
    } cases[] = {
        // The clean-up takes the first button (toolbar 3); toolbar 1's is left for the run.
        {"contact off, button on toolbar 1", {3, 1}, "CONTACT=0\r\n", {3}},
        {"contact off, no button yet", {}, "CONTACT=0\r\n", {3}},
        {"group off, button on toolbar 3", {1, 3}, "GROUP=0\r\n", {1}},
        {"both off", {1, 3}, "CONTACT=0\r\nGROUP=0\r\n", {}},
        {"leading zero still means on", {}, "CONTACT=01\r\nGROUP=2\r\n", {1}},
    };
    int n = 0;
    for (const auto &c : cases) {
        const QString name = u"Knopf %1"_s.arg(++n);
        if (!c.before.isEmpty())
            addThroughAct(name, c.before);
        runQuietly({writeButton("NAME=" + name.toLatin1() + "\r\nFILENAME=/opt/neu/prog\r\n" +
                                c.switches)});
        const std::optional<AuxCommandEntry> added = command(name);
        ASSERT_TRUE(added) << c.what;
        EXPECT_EQ(added->program, u"/opt/neu/prog"_s) << c.what;
        EXPECT_EQ(toolbarsOf(name), c.after) << c.what;
    }
}

TEST_F(TastorRun, ActReceivesTheResolvedPathsAndTexts)
{
    const QString own = m_binFolder;
    const QByteArray longText(300, 'x');
    const struct
    {
        const char *what;
        QByteArray keys;
        AuxCommandEntry expected;
    } cases[] = {
        {"bare names come from tastor's folder",
         "FILENAME=prog.sh\r\nICONS=klein.png\r\nICONL=gross.png\r\n",
         {-1,
          {},
          own + u"/prog.sh"_s,
          own + u"/"_s,
          {},
          {},
          own + u"/klein.png"_s,
          own + u"/gross.png"_s,
          0}},
        {"full paths pass unchanged",
         "FILENAME=/usr/local/bin/fang\r\nICONS=/usr/share/icons/f.png\r\n",
         {-1,
          {},
          u"/usr/local/bin/fang"_s,
          u"/usr/local/bin/"_s,
          {},
          {},
          u"/usr/share/icons/f.png"_s,
          {},
          0}},
        {"tooltip and description keep their places",
         "FILENAME=/opt/x/y\r\nTOOLTIP=Adresse holen\r\nDESCRIPTION=\xdc"
         "bernimmt die Adresse\r\n",
         {-1,
          {},
          u"/opt/x/y"_s,
          u"/opt/x/"_s,
          u"Adresse holen"_s,
          u"\u00dcbernimmt die Adresse"_s,
          {},
          {},
          0}},
        {"values are read up to 255 characters",
         "FILENAME=/opt/x/y\r\nDESCRIPTION=" + longText + "\r\n",
         {-1, {}, u"/opt/x/y"_s, u"/opt/x/"_s, {}, QString(255, u'x'), {}, {}, 0}},
    };
    int n = 0;
    for (const auto &c : cases) {
        const QString name = u"Befehl %1"_s.arg(++n);
        runQuietly({writeButton("NAME=" + name.toLatin1() + "\r\n" + c.keys)});
        const std::optional<AuxCommandEntry> added = command(name);
        ASSERT_TRUE(added) << c.what;
        EXPECT_EQ(added->program, c.expected.program) << c.what;
        EXPECT_EQ(added->folder, c.expected.folder) << c.what;
        EXPECT_EQ(added->tooltip, c.expected.tooltip) << c.what;
        EXPECT_EQ(added->description, c.expected.description) << c.what;
        EXPECT_EQ(added->smallIcon, c.expected.smallIcon) << c.what;
        EXPECT_EQ(added->largeIcon, c.expected.largeIcon) << c.what;
        EXPECT_EQ(added->options, 0) << c.what;
    }
}

TEST_F(TastorRun, RemovalLeavesTheCommandFileAsItWas)
{
    for (const QByteArray install : {"0", "2"}) {
        const QString button = writeButton("NAME=Adressfang\r\nFILENAME=/opt/a/fang\r\n");
        runQuietly({button});
        ASSERT_TRUE(command(u"Adressfang"_s));
        writeButton("INSTALL=" + install + "\r\nNAME=adressfang\r\n");
        runQuietly({button});
        EXPECT_EQ(commandFileBytes(), ForeignCommands) << "INSTALL=" << install.constData();
    }

    runQuietly({writeButton("INSTALL=0\r\nNAME=Unbekannt\r\n")});
    EXPECT_EQ(commandFileBytes(), ForeignCommands) << "unknown command";
}

TEST_F(TastorRun, SwitchThatIsNoNumberChangesNothing)
{
    addThroughAct(u"Adressfang"_s, {1});
    const QByteArray before = commandFileBytes();
    for (const QByteArray switches :
         {"INSTALL=ja\r\n", "INSTALL=\r\n", "CONTACT=eins\r\n", "GROUP=\r\n"}) {
        runQuietly({writeButton("NAME=Adressfang\r\nFILENAME=/opt/neu\r\n" + switches)});
        EXPECT_EQ(commandFileBytes(), before) << switches.constData();
    }
}

TEST_F(TastorRun, AddingTwiceInARowReplacesTheCommand)
{
    const QString button = writeButton("NAME=Adressfang\r\nFILENAME=/opt/alt/fang\r\n");
    runQuietly({button});
    writeButton("NAME=Adressfang\r\nFILENAME=/opt/neu/fang\r\n");
    runQuietly({button});
    EXPECT_EQ(commandCount(u"Adressfang"_s), 1);
    EXPECT_EQ(command(u"Adressfang"_s)->program, u"/opt/neu/fang"_s);
    EXPECT_EQ(toolbarsOf(u"Adressfang"_s), (QList<qint32>{1, 3}));
}

TEST_F(TastorRun, WithoutRegistryEntryOrCommandFileTheRunGoesOn)
{
    QProcessEnvironment unregistered = m_standin.Environment();
    unregistered.insert(u"ACT_STANDIN_REGISTRY"_s, m_root.filePath(u"leer.ini"_s));
    const RunResult result = run({writeButton("NAME=Ohne Registry\r\n")}, unregistered);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(command(u"Ohne Registry"_s));

    ASSERT_TRUE(QFile::remove(CommandFilePath(m_home)));
    runQuietly({writeButton("NAME=Ohne Datei\r\n")});
    EXPECT_TRUE(command(u"Ohne Datei"_s));
    EXPECT_EQ(toolbarsOf(u"Ohne Datei"_s), (QList<qint32>{1, 3}));
}

TEST_F(TastorRun, WithActClosedOnlyTheCleanUpHappens)
{
    addThroughAct(u"Adressfang"_s, {1, 3});
    m_standin.Stop();
    runQuietly({writeButton("NAME=Adressfang\r\nFILENAME=/opt/neu/fang\r\n")});
    EXPECT_FALSE(command(u"Adressfang"_s)) << "stale command removed";
    EXPECT_EQ(toolbarsOf(u"Adressfang"_s), QList<qint32>{3}) << "first stale button removed";
    EXPECT_EQ(commandCount(u"Kalender"_s), 1);
}

TEST_F(TastorRun, CommandLineFormsThatNameTheButtonFile)
{
    ASSERT_TRUE(QDir().mkpath(m_root.filePath(u"Mein Ordner"_s)));
    const QString spaced = m_root.filePath(u"Mein Ordner/mein knopf.ini"_s);
    const struct
    {
        const char *what;
        QStringList arguments;
    } cases[] = {
        {"quoted, as one argument", {u"\"%1\""_s}},
        {"split at its blanks", spaced.split(u' ')},
        {"blanks around", {u"  %1  "_s}},
        {"quoted with blanks around", {u"  \"%1\" "_s}},
    };
    int n = 0;
    for (const auto &c : cases) {
        const QString name = u"Form %1"_s.arg(++n);
        writeFile(spaced, "[BUTTON]\r\nNAME=" + name.toLatin1() + "\r\n");
        QStringList arguments = c.arguments;
        for (QString &argument : arguments) {
            if (argument.contains(u"%1"_s))
                argument = argument.arg(spaced);
        }
        runQuietly(arguments);
        EXPECT_TRUE(command(name)) << c.what;
    }

    writeButton("NAME=Blank\r\n", u"eigener.ini"_s);
    runQuietly({u"eigener.ini"_s});
    EXPECT_TRUE(command(u"Blank"_s)) << "bare name from tastor's folder";
}

TEST_F(TastorRun, NothingHappensWithoutAButtonFile)
{
    addThroughAct(u"Adressfang"_s, {1});
    const QByteArray before = commandFileBytes();
    for (const QStringList &arguments :
         {QStringList(), QStringList{u"   "_s}, QStringList{u"\"\""_s},
          QStringList{m_root.filePath(u"fehlt.ini"_s)}}) {
        runQuietly(arguments);
        EXPECT_EQ(commandFileBytes(), before) << qPrintable(arguments.join(u'|'));
    }
}

TEST_F(TastorRun, TalksOnlyWhenAsked)
{
    const RunResult help = run({u"--help"_s});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("Aufruf: tastor")) << help.out.constData();

    QProcessEnvironment verbose = m_standin.Environment();
    verbose.insert(u"TASTOR_VERBOSE"_s, u"1"_s);
    const RunResult told = run({writeButton("INSTALL=0\r\nNAME=Unbekannt\r\n")}, verbose);
    EXPECT_EQ(told.exitCode, 0);
    EXPECT_EQ(told.out, QByteArray());
    EXPECT_TRUE(told.err.contains("kennt \xe2\x80\x9eUnbekannt\xe2\x80\x9c nicht"))
        << told.err.constData();
}

} // namespace
