#include "ActTestSupport.h"

#include "support/MessageTexts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

struct CliRun
{
    int exitCode = -1;
    QByteArray out;
    QString err;
    QJsonObject json; // when the output is one JSON object
};

class CliContactTest : public ActTest
{
protected:
    CliRun Run(const QStringList &arguments, const QByteArray &input = {}) const
    {
        QProcess cli;
        cli.setProcessEnvironment(standin.Environment());
        cli.start(QStringLiteral(ORDALIS_CLI_BINARY), arguments);
        cli.write(input);
        cli.closeWriteChannel();
        CliRun run;
        if (!cli.waitForFinished(30000)) {
            ADD_FAILURE() << "ordalis-cli did not finish";
            cli.kill();
            cli.waitForFinished();
            return run;
        }
        run.exitCode = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
        run.out = cli.readAllStandardOutput();
        run.err = QString::fromUtf8(cli.readAllStandardError());
        run.json = QJsonDocument::fromJson(run.out).object();
        return run;
    }

    static QString Block(const QString &name)
    {
        return QStringLiteral(ORDALIS_TEST_DATA "/") + name;
    }
};

TEST_F(CliContactTest, NewContactWritesTheRecognisedBlockAndReportsItAsJson)
{
    ASSERT_TRUE(standin.Start());
    const CliRun run = Run({QStringLiteral("new-contact"), QStringLiteral("--json"),
                            Block(QStringLiteral("signature-munich.txt"))});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.json.value(QStringLiteral("status")).toString(), QStringLiteral("ok"));
    EXPECT_EQ(run.json.value(QStringLiteral("rows")).toArray().size(), 16);
    EXPECT_TRUE(run.json.value(QStringLiteral("written")).toBool());
    EXPECT_FALSE(run.json.contains(QStringLiteral("message")));
    EXPECT_EQ(standin.Contacts().last().values,
              ExpectedContact(QStringLiteral("signature-munich.contact")));
}

TEST_F(CliContactTest, EditContactWritesIntoTheContactShown)
{
    ASSERT_TRUE(standin.Start());
    const qint64 shown = standin.Shown().contactId;
    const CliRun run =
        Run({QStringLiteral("edit-contact"), QStringLiteral("--separator"), QStringLiteral(";")},
            "Firma: Albers & Partner;Tel.: 0421 555 0177");
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("Kontakt wurde erfolgreich bearbeitet."));
    EXPECT_EQ(standin.Shown().contactId, shown);
    EXPECT_EQ(standin.ShownValues().value(25), QStringLiteral("Albers & Partner"));
    EXPECT_EQ(standin.ShownValues().value(35), QStringLiteral("04215550177"));
}

TEST_F(CliContactTest, FailuresExitNonZeroWithTheMessage)
{
    ASSERT_TRUE(standin.Start()); // the database exists from here on
    const struct
    {
        const char *name;
        bool running;
        QByteArray input;
        QString message;
    } cases[] = {
        {"ACT! closed", false, "Beispiel GmbH\nHauptstr. 1\n10115 Berlin\n",
         MessageText::ContactNotCreated},
        {"blank input", true, "  \n", MessageText::NoData},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        if (c.running)
            ASSERT_TRUE(standin.Start());
        else
            standin.Stop();
        const qsizetype contactsBefore = standin.Contacts().size();
        const CliRun run = Run({QStringLiteral("new-contact"), QStringLiteral("--json")}, c.input);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_FALSE(run.json.value(QStringLiteral("written")).toBool(true));
        EXPECT_EQ(run.json.value(QStringLiteral("message")).toString(), c.message);
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
        EXPECT_EQ(standin.Contacts().size(), contactsBefore);
    }
    // Closed ACT! also says so at the field load, which precedes the write.
    standin.Stop();
    const CliRun closed = Run({QStringLiteral("new-contact")}, "Beispiel GmbH\n10115 Berlin\n");
    EXPECT_TRUE(closed.err.contains(MessageText::FieldLoadFailed)) << closed.err.toStdString();
}

TEST_F(CliContactTest, FieldsPrintsTheCatalogueAndWritesTheCache)
{
    WriteSettings("[Config]\r\nCacheFelder=1\r\n");
    ASSERT_TRUE(standin.Start());
    const CliRun loaded = Run({QStringLiteral("fields"), QStringLiteral("--json")});
    EXPECT_EQ(loaded.exitCode, 0) << loaded.err.toStdString();
    EXPECT_TRUE(loaded.json.value(QStringLiteral("loaded")).toBool());
    const QJsonArray fields = loaded.json.value(QStringLiteral("fields")).toArray();
    EXPECT_EQ(fields.size(), ContactDatabase::SeedFields().size());
    EXPECT_TRUE(fields.contains(QJsonObject{{QStringLiteral("number"), 200},
                                            {QStringLiteral("name"), QStringLiteral("eMail")}}));
    EXPECT_TRUE(SettingsContent().contains("200;eMail"));

    // Without ACT! the cached list is what the rows offer.
    standin.Stop();
    const CliRun cached = Run({QStringLiteral("fields"), QStringLiteral("--json")});
    EXPECT_EQ(cached.exitCode, 1);
    EXPECT_FALSE(cached.json.value(QStringLiteral("loaded")).toBool(true));
    EXPECT_EQ(cached.json.value(QStringLiteral("fields")).toArray(), fields);
}

} // namespace
