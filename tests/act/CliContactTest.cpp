#include "ActTestSupport.h"

#include "support/MessageTexts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace {

struct CliRun
{
    int exitCode = -1;
    QByteArray out;
    QString err;
    QJsonObject json;
};

class CliContactTest : public ActTest
{
protected:
    static CliRun Run(const QStringList &arguments, const QByteArray &input = {})
    {
        QProcess cli;
        cli.start(QStringLiteral(ORDALIS_CLI_BINARY), arguments);
        cli.write(input);
        cli.closeWriteChannel();
        CliRun run;
        EXPECT_TRUE(cli.waitForFinished(30000));
        run.exitCode = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
        run.out = cli.readAllStandardOutput();
        run.err = QString::fromUtf8(cli.readAllStandardError());
        run.json = QJsonDocument::fromJson(run.out).object();
        return run;
    }
};

TEST_F(CliContactTest, NewContactWritesTheRecognisedBlockAndReportsItAsJson)
{
    ASSERT_TRUE(StartStandin());
    const CliRun run = Run({QStringLiteral("new-contact"), QStringLiteral("--json"),
                            QStringLiteral(ORDALIS_TEST_DATA "/signature-munich.txt")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.json.value(QStringLiteral("status")).toString(), QStringLiteral("ok"));
    EXPECT_EQ(run.json.value(QStringLiteral("rows")).toArray().size(), 16);
    EXPECT_TRUE(run.json.value(QStringLiteral("written")).toBool());
    EXPECT_FALSE(run.json.contains(QStringLiteral("message")));
    EXPECT_EQ(Contacts().last().values,
              ExpectedContact(QStringLiteral("signature-munich.contact")));
}

TEST_F(CliContactTest, FailuresExitNonZeroWithTheMessage)
{
    ASSERT_TRUE(StartStandin());
    const CliRun blank = Run({QStringLiteral("new-contact"), QStringLiteral("--json")}, "  \n");
    StopStandin();
    const qsizetype before = Contacts().size();
    const CliRun closed = Run({QStringLiteral("new-contact"), QStringLiteral("--json")},
                              "Beispiel GmbH\nHauptstr. 1\n10115 Berlin\n");

    const struct
    {
        const char *name;
        const CliRun &run;
        QString message;
    } cases[] = {{"blank input", blank, MessageText::NoData},
                 {"ACT! closed", closed, MessageText::ContactNotCreated}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.run.exitCode, 1);
        EXPECT_FALSE(c.run.json.value(QStringLiteral("written")).toBool(true));
        EXPECT_EQ(c.run.json.value(QStringLiteral("message")).toString(), c.message);
        EXPECT_TRUE(c.run.err.contains(c.message)) << c.run.err.toStdString();
    }
    EXPECT_TRUE(closed.err.contains(MessageText::FieldLoadFailed));
    EXPECT_EQ(Contacts().size(), before);
}

} // namespace
