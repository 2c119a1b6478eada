#include <gtest/gtest.h>

#include <QProcess>

using namespace Qt::StringLiterals;

namespace {

struct CliRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

CliRun runCli(const QStringList &arguments, const QByteArray &input = {})
{
    QProcess process;
    process.start(QStringLiteral(ORDALIS_CLI), arguments);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

TEST(CliUsage, HelpAndBadUsage)
{
    const struct
    {
        const char *what;
        QStringList arguments;
        int exitCode;
        const char *out; // expected at the start of stdout, nullptr: stdout empty
        const char *err; // expected at the start of stderr, nullptr: stderr empty
    } cases[] = {
        {"--help", {u"--help"_s}, 0, "Usage: ordalis-cli recognize ", nullptr},
        {"-h", {u"-h"_s}, 0, "Usage: ordalis-cli recognize ", nullptr},
        {"help COMMAND",
         {u"help"_s, u"fields"_s},
         0,
         "Usage: ordalis-cli fields [--json]\n",
         nullptr},
        {"COMMAND --help after options",
         {u"new-contact"_s, u"--json"_s, u"--help"_s},
         0,
         "Usage: ordalis-cli new-contact ",
         nullptr},
        {"help for no command",
         {u"help"_s, u"senden"_s},
         2,
         nullptr,
         "ordalis-cli help: no such command senden\n"},
        {"no command", {}, 2, nullptr, "Usage: ordalis-cli recognize "},
        {"unknown command", {u"senden"_s}, 2, nullptr, "ordalis-cli: unknown command senden\n"},
        {"unknown option names its command's synopsis",
         {u"edit-contact"_s, u"--bogus"_s},
         2,
         nullptr,
         "ordalis-cli edit-contact: unknown option --bogus\n"
         "Usage: ordalis-cli edit-contact "},
        {"option without its value",
         {u"recognize"_s, u"--settings"_s},
         2,
         nullptr,
         "ordalis-cli recognize: --settings needs a value\nUsage: ordalis-cli recognize "},
        {"fields takes no file",
         {u"fields"_s, u"adresse.txt"_s},
         2,
         nullptr,
         "ordalis-cli fields: unknown argument adresse.txt\nUsage: ordalis-cli fields [--json]\n"},
    };
    for (const auto &c : cases) {
        const CliRun run = runCli(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.what;
        if (c.out)
            EXPECT_TRUE(run.out.startsWith(c.out)) << c.what << ": " << run.out.toStdString();
        else
            EXPECT_TRUE(run.out.isEmpty()) << c.what << ": " << run.out.toStdString();
        if (c.err)
            EXPECT_TRUE(run.err.startsWith(c.err)) << c.what << ": " << run.err.toStdString();
        else
            EXPECT_TRUE(run.err.isEmpty()) << c.what << ": " << run.err.toStdString();
    }
}

// "-h" after --separator is the separator, not a request for help.
TEST(CliUsage, HelpFlagAsAnOptionValueIsNoHelp)
{
    const CliRun run = runCli({u"recognize"_s, u"--json"_s, u"--separator"_s, u"-h"_s},
                              "Muster GmbH-hHauptstraße 1-h12345 Berlin");
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith(R"({"status":"ok")")) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(R"(\r\nHauptstraße 1\r\n)")) << run.out.toStdString();
}

} // namespace
