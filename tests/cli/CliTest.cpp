// ordalis-cli run as a user runs it, against the cases in data/cli-cases.txt.

#include "common/CaseFile.h"
#include "common/TestFiles.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

using CliCases = CaseFileTest<>;

TEST_P(CliCases, Run)
{
    const QString data = QStringLiteral(ORDALIS_TEST_DATA);
    const DataCase &c = GetParam();
    QTemporaryDir temp;
    const auto place = [&](QString text) {
        return text.replace(u"@DATA"_s, data).replace(u"@TEMP"_s, temp.path());
    };
    QStringList arguments;
    if (!c.value(u"args"_s).isEmpty())
        arguments = place(c.value(u"args"_s)).split(u'|');
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"ORDALIS_HOME"_s, temp.path());
    environment.insert(u"LC_ALL"_s, u"C.UTF-8"_s);
    QProcess cli;
    cli.setProcessEnvironment(environment);
    cli.start(QStringLiteral(ORDALIS_CLI), arguments);
    cli.write(Unescape(c.value(u"stdin"_s)));
    cli.closeWriteChannel();
    ASSERT_TRUE(cli.waitForFinished(60000));
    EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(cli.exitCode(), c.value(u"exit"_s).toInt());
    const QByteArray out = c.has(u"golden"_s) ? readBytes(place(c.value(u"golden"_s)))
                                              : Unescape(place(c.value(u"stdout"_s)));
    EXPECT_EQ(QString::fromUtf8(cli.readAllStandardOutput()), QString::fromUtf8(out));
    EXPECT_EQ(QString::fromUtf8(cli.readAllStandardError()),
              QString::fromUtf8(Unescape(place(c.value(u"stderr"_s)))));
}

INSTANTIATE_TEST_SUITE_P(File, CliCases, CasesOf(ORDALIS_TEST_DATA "/cli-cases.txt"), CaseTestName);

// Inputs that would take all memory, under an address-space limit: the caps
// refuse them with a message, and running out of memory still ends in one.
TEST(Cli, OversizeInputsAreRefusedUnderAMemoryLimit)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer cannot start under an address-space limit";
#endif
    struct Case
    {
        const char *name;
        const char *script; // $CLI is ordalis-cli
        int exit;
        qsizetype outLines;
        const char *out; // in the output's second line, or the output when it has one line
        const char *err;
    };
    const Case cases[] = {
        {"an endless file", "\"$CLI\" recognize --vcard /dev/zero", 2, 0, "",
         "ordalis-cli recognize: /dev/zero is larger than 64 MiB; no address block is that "
         "large\n"},
        {"a JSON line over 64 MiB among others",
         "{ printf '%s\\n' '{\"text\":\"A\\nB\"}'; head -c 67108865 /dev/zero; "
         "printf '\\n%s\\n' '{\"text\":\"C\\nD\"}'; } "
         "| \"$CLI\" recognize --jsonl",
         0, 3,
         R"({"status":"error","error":"the line is larger than 64 MiB; no address block is that large"})",
         ""},
        {"memory runs out", "head -c 60000000 /dev/zero | \"$CLI\" recognize", 3, 0, "",
         "ordalis-cli: not enough memory\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        // The last case gets too little memory for its text, the others enough for theirs.
        const QString limit = c.exit == 3 ? u"ulimit -v 200000; "_s : u"ulimit -v 1000000; "_s;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"CLI"_s, QStringLiteral(ORDALIS_CLI));
        QTemporaryDir temp;
        environment.insert(u"ORDALIS_HOME"_s, temp.path());
        QProcess shell;
        shell.setProcessEnvironment(environment);
        shell.start(u"/bin/sh"_s, {u"-c"_s, limit + QString::fromUtf8(c.script)});
        ASSERT_TRUE(shell.waitForFinished(60000));
        EXPECT_EQ(shell.exitCode(), c.exit);
        const QList<QByteArray> lines = shell.readAllStandardOutput().split('\n');
        EXPECT_EQ(lines.size() - 1, c.outLines);
        EXPECT_EQ(lines.value(c.outLines > 1 ? 1 : 0), QByteArray(c.out));
        EXPECT_EQ(shell.readAllStandardError(), QByteArray(c.err));
    }
}

} // namespace
