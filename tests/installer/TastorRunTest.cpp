// Runs of the real tastor program against the real act-standin, each in a
// temporary folder of its own.

#include "common/CaseFile.h"
#include "common/TestFiles.h"
#include "tests/standin/StandinFixture.h"

#include "act/ActObject.h"
#include "act/standin/ActCommandFile.h"
#include "act/standin/StandinPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

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
        writeBytes(CommandFilePath(Home()), Foreign);
    }

    QByteArray commandFileBytes() const { return readBytes(CommandFilePath(Home())); }

    // A button file in tastor's own folder.
    QString button(const QByteArray &keys, const QString &fileName = u"button.ini"_s)
    {
        writeBytes(m_bin + u'/' + fileName, "[BUTTON]\r\n" + keys);
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

    bool hasCommand(const QString &name) const
    {
        const QVector<AuxCommandEntry> all = ActCommandFile(CommandFilePath(Home())).Commands();
        return std::any_of(all.begin(), all.end(), [&](const auto &e) { return e.name == name; });
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

using TastorRunCases = CaseFileTest<TastorRun>;

TEST_P(TastorRunCases, Run)
{
    const DataCase &c = GetParam();
    for (const auto &[command, argument] : c.lines) {
        if (command == u"actcmd") {
            QFile::remove(CommandFilePath(Home()));
            if (!argument.isEmpty())
                writeBytes(CommandFilePath(Home()), Unescape(argument));
        } else if (command == u"installed") {
            QList<qint16> toolbars;
            for (const QString &toolbar : argument.section(u'|', 1).split(u','))
                toolbars.append(qint16(toolbar.toInt()));
            installedBefore(argument.section(u'|', 0, 0), toolbars);
        } else if (command == u"stop") {
            StopStandin();
        } else if (command == u"start") {
            ASSERT_TRUE(StartStandin());
        } else if (command == u"button") {
            runQuietly({button(Unescape(argument))});
        }
    }
    EXPECT_EQ(commandFileBytes(), Unescape(c.value(u"after"_s).replace(u"@BIN"_s, m_bin)));
    EXPECT_EQ(QDir(Home()).entryList({u"actcmd.ini.*"_s}, QDir::Files | QDir::Hidden),
              QStringList{u"actcmd.ini.lock"_s})
        << "no temporary file left";
}

INSTANTIATE_TEST_SUITE_P(File, TastorRunCases, CasesOf(ORDALIS_TEST_DATA "/tastor-cases.txt"),
                         CaseTestName);

TEST_F(TastorRun, WithoutRegistryEntryTheRunGoesOn)
{
    QProcessEnvironment unregistered = QProcessEnvironment::systemEnvironment();
    unregistered.insert(u"ACT_STANDIN_REGISTRY"_s, root() + u"/leer.ini"_s);
    run({button("NAME=Ohne Registry\r\nFILENAME=/p\r\n")}, unregistered);
    EXPECT_TRUE(commandFileBytes().contains("cmdname=Ohne Registry\r\n"));
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
        writeBytes(spaced, "[BUTTON]\r\n" + keys);
        button(keys, u"eigener.ini"_s);
        runQuietly(forms[n]);
        EXPECT_TRUE(hasCommand(u"Form %1"_s.arg(n))) << forms[n].join(u'|').toStdString();
    }
    // Arguments that name no button file change nothing.
    const QByteArray before = commandFileBytes();
    for (const QStringList &arguments : {QStringList(), QStringList{u"  "_s},
                                         QStringList{u"\"\""_s}, QStringList{u"fehlt.ini"_s}}) {
        runQuietly(arguments);
        EXPECT_EQ(commandFileBytes(), before) << arguments.join(u'|').toStdString();
    }
}

TEST_F(TastorRun, TalksOnlyWhenAsked)
{
    EXPECT_TRUE(run({u"--help"_s}).startsWith("Aufruf: tastor"));
    QProcessEnvironment verbose = QProcessEnvironment::systemEnvironment();
    verbose.insert(u"TASTOR_VERBOSE"_s, QString());
    EXPECT_TRUE(run({button("INSTALL=0\r\nNAME=Unbekannt\r\n")}, verbose)
                    .contains("kennt \xe2\x80\x9eUnbekannt\xe2\x80\x9c nicht"));
    installedBefore(u"Alt"_s, {1});
    const QByteArray upgrade = run({button("NAME=Alt\r\nFILENAME=/p\r\n")}, verbose);
    EXPECT_TRUE(upgrade.contains("alter Eintrag [AuxCommand-1] entfernt")) << upgrade.constData();
    EXPECT_FALSE(upgrade.contains("kein alter Eintrag")) << upgrade.constData();
    EXPECT_FALSE(upgrade.contains("kein Programm")) << upgrade.constData();
    // The stand-in's refusal of a name the command file cannot hold.
    const QByteArray refused = run({button("NAME=Haken \xe2\x9c\x93\r\nFILENAME=/p\r\n")}, verbose);
    EXPECT_TRUE(
        refused.contains("\xe2\x80\x9e\xe2\x9c\x93\xe2\x80\x9c gibt es in der Kodierung der "
                         "Datei (Windows-1252) nicht"))
        << refused.constData();
}

} // namespace
