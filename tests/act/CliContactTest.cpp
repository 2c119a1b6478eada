#include "ActTestSupport.h"

#include "support/MessageTexts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace {

using CliContactTest = ActTest;

// Runs the CLI's new-contact with the block on stdin (or a file) and checks
// its exit code, its JSON report and what it said on stderr.
void RunNewContact(const QStringList &file, const QByteArray &input, const QString &message)
{
    QProcess cli;
    cli.start(QStringLiteral(ORDALIS_CLI_BINARY),
              QStringList{QStringLiteral("new-contact"), QStringLiteral("--json")} + file);
    cli.write(input);
    cli.closeWriteChannel();
    ASSERT_TRUE(cli.waitForFinished(30000));
    const QString err = QString::fromUtf8(cli.readAllStandardError());
    const QJsonObject json = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
    EXPECT_EQ(cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1,
              message.isEmpty() ? 0 : 1)
        << err.toStdString();
    EXPECT_EQ(json.value(QStringLiteral("written")).toBool(), message.isEmpty());
    EXPECT_EQ(json.value(QStringLiteral("message")).toString(), message);
    EXPECT_TRUE(err.contains(message)) << err.toStdString();
    EXPECT_FALSE(err.contains(QStringLiteral("QCommandLineParser"))) << err.toStdString();
    if (message.isEmpty())
        EXPECT_EQ(json.value(QStringLiteral("rows")).toArray().size(), 16);
}

TEST_F(CliContactTest, NewContactWritesTheBlockOrExitsNonZeroWithTheMessage)
{
    ASSERT_TRUE(StartStandin());
    RunNewContact({QStringLiteral(ORDALIS_TEST_DATA "/signature-munich.txt")}, {}, {});
    EXPECT_EQ(Contacts().last().values,
              ExpectedContact(QStringLiteral("signature-munich.contact")));

    RunNewContact({}, "  \n", MessageText::NoData);
    StopStandin();
    const qsizetype before = Contacts().size();
    RunNewContact({}, "Beispiel GmbH\nHauptstr. 1\n10115 Berlin\n", MessageText::ContactNotCreated);
    EXPECT_EQ(Contacts().size(), before);
}

} // namespace
