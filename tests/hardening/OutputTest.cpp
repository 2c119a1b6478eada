// Every command that prints or exports, run as a user runs it: into a pipe it
// succeeds, into a full device it fails with a message and a non-zero exit,
// so a full disk is never reported as a finished backup.

#include "act/standin/ContactDatabase.h"
#include "act/standin/StandinPaths.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct OutputCase
{
    const char *name;
    const char *program;
    QStringList arguments; // @OUT: the file the command writes, else standard output
    const char *input;
    int exitCode; // into a pipe or a file
};

const char *const Cli = ORDALIS_CLI;
const char *const Standin = ACT_STANDIN_BINARY;
const char *const Tastor = TASTOR_BINARY;
const char *const Address = "Muster GmbH\nMax Muster\nHauptstr. 1\n12345 Berlin\n";

const OutputCase Cases[] = {
    {"cli help", Cli, {u"--help"_s}, "", 0},
    {"recognize table", Cli, {u"recognize"_s}, Address, 0},
    {"recognize json", Cli, {u"recognize"_s, u"--json"_s}, Address, 0},
    {"recognize vcard", Cli, {u"recognize"_s, u"--vcard"_s}, Address, 0},
    {"recognize csv", Cli, {u"recognize"_s, u"--csv"_s}, Address, 0},
    {"recognize jsonl", Cli, {u"recognize"_s, u"--jsonl"_s}, "{\"text\":\"Max Muster\"}\n", 0},
    {"fields", Cli, {u"fields"_s}, "", 1},
    {"fields json", Cli, {u"fields"_s, u"--json"_s}, "", 1},
    {"new-contact, the stand-in closed", Cli, {u"new-contact"_s}, Address, 1},
    {"stand-in help", Standin, {u"--help"_s}, "", 0},
    {"contacts", Standin, {u"contacts"_s}, "", 0},
    {"contacts json", Standin, {u"contacts"_s, u"--json"_s}, "", 0},
    {"fields of the stand-in", Standin, {u"fields"_s}, "", 0},
    {"export", Standin, {u"export"_s, u"--vcard"_s}, "", 0},
    {"export to a file", Standin, {u"export"_s, u"--vcard"_s, u"@OUT"_s}, "", 0},
    {"import report", Standin, {u"import"_s, u"@IN"_s}, "", 0},
    {"tastor help", Tastor, {u"--help"_s}, "", 0},
};

class Output : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString home = m_temp.filePath(u"standin"_s);
        ContactDatabase::OpenOrCreate(ContactDatabasePath(home))
            ->AddContacts({{{25, u"Muster GmbH"_s}, {26, u"Max Muster"_s}}});
        QFile card(m_temp.filePath(u"card.vcf"_s));
        ASSERT_TRUE(card.open(QIODevice::WriteOnly));
        card.write("BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Erika Muster\r\nEND:VCARD\r\n");
        m_environment = QProcessEnvironment::systemEnvironment();
        m_environment.insert(u"ACT_STANDIN_HOME"_s, home);
        m_environment.insert(u"ACT_STANDIN_REGISTRY"_s, m_temp.filePath(u"registry.ini"_s));
        m_environment.insert(u"ORDALIS_HOME"_s, m_temp.path());
        m_environment.insert(u"LC_ALL"_s, u"C.UTF-8"_s);
    }

    // Runs the case with @OUT as target (or standard output into target when
    // the case has no @OUT); returns the exit code, -1 after a crash.
    int run(const OutputCase &c, const QString &target, QByteArray &output, QByteArray &errors)
    {
        QStringList arguments;
        bool toFile = false;
        for (const QString &argument : c.arguments) {
            toFile = toFile || argument == u"@OUT";
            arguments += argument == u"@OUT"  ? target
                         : argument == u"@IN" ? m_temp.filePath(u"card.vcf"_s)
                                              : argument;
        }
        QProcess process;
        process.setProcessEnvironment(m_environment);
        if (!toFile && !target.isEmpty())
            process.setStandardOutputFile(target);
        process.start(QString::fromUtf8(c.program), arguments);
        process.write(c.input);
        process.closeWriteChannel();
        if (!process.waitForFinished(60000))
            return -2;
        output = process.readAllStandardOutput();
        errors = process.readAllStandardError();
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    QTemporaryDir m_temp;
    QProcessEnvironment m_environment;
};

TEST_F(Output, EveryOutputCommandFailsIntoAFullDevice)
{
    for (const OutputCase &c : Cases) {
        SCOPED_TRACE(c.name);
        const bool toFile = c.arguments.contains(u"@OUT"_s);
        const QString file = m_temp.filePath(u"out.vcf"_s);
        QByteArray output, errors;
        EXPECT_EQ(run(c, toFile ? file : QString(), output, errors), c.exitCode) << errors.data();
        if (toFile) {
            QFile written(file);
            ASSERT_TRUE(written.open(QIODevice::ReadOnly));
            output = written.readAll();
        }
        EXPECT_FALSE(output.isEmpty());

        const int code = run(c, u"/dev/full"_s, output, errors);
        EXPECT_GT(code, 0);
        EXPECT_NE(code, c.exitCode);
        EXPECT_TRUE(errors.contains("No space left on device")) << errors.data();
    }
}

} // namespace
