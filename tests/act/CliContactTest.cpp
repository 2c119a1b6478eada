#include "ActTestSupport.h"

#include "support/MessageTexts.h"

#include <QDir>
#include <QFile>
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

// Overwrites one page of the table of the contact shown, which an import never
// reads: the damage a write would otherwise never notice.
QByteArray Damage(const QString &path)
{
    sqlite3 *db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_stmt *page = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT rootpage, (SELECT page_size FROM pragma_page_size) FROM "
                       "sqlite_master WHERE name = 'shown'",
                       -1, &page, nullptr);
    EXPECT_EQ(sqlite3_step(page), SQLITE_ROW);
    const qsizetype size = sqlite3_column_int(page, 1);
    const qsizetype offset = (sqlite3_column_int(page, 0) - 1) * size;
    sqlite3_finalize(page);
    sqlite3_close(db);
    QByteArray bytes = readBytes(path);
    bytes.replace(offset, size, QByteArray(size, '\xA5'));
    writeBytes(path, bytes);
    return bytes;
}

// A database damaged while ACT! was closed: every way in refuses it before
// writing, names the file and keeps a copy of it as it was.
TEST_F(CliContactTest, ADamagedDatabaseIsRefusedBeforeAnythingIsWritten)
{
    ASSERT_TRUE(StartStandin());
    StopStandin(); // the seeded database, all in its file
    const QString path = ContactDatabasePath(Home());
    const QByteArray damaged = Damage(path);
    const QString cards = Home() + QStringLiteral("/neu.vcf");
    writeBytes(cards, "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Neu\r\nEND:VCARD\r\n");
    const QString refused = path + QStringLiteral(" ist beschädigt");

    const struct
    {
        const char *name;
        QString program;
        QStringList arguments;
        QString message;
    } ways[] = {
        {"import", QStringLiteral(ACT_STANDIN_BINARY), {QStringLiteral("import"), cards}, refused},
        {"start", QStringLiteral(ACT_STANDIN_BINARY), {QStringLiteral("--headless")}, refused},
        {"new contact after the refused start",
         QStringLiteral(ORDALIS_CLI_BINARY),
         {QStringLiteral("new-contact")},
         MessageText::ContactNotCreated},
    };
    for (const auto &way : ways) {
        SCOPED_TRACE(way.name);
        QProcess program;
        program.start(way.program, way.arguments);
        program.write("Beispiel GmbH\nHauptstr. 1\n10115 Berlin\n");
        program.closeWriteChannel();
        ASSERT_TRUE(program.waitForFinished(20000)) << "a damaged database must stop a start";
        const QString error = QString::fromUtf8(program.readAllStandardError());
        EXPECT_EQ(program.exitCode(), 1);
        EXPECT_TRUE(error.contains(way.message)) << error.toStdString();
        EXPECT_FALSE(program.readAllStandardOutput().contains("hinzugef"));
        EXPECT_EQ(readBytes(path), damaged);
    }
    const QStringList copies = QDir(Home()).entryList(
        {QStringLiteral("contacts.sqlite.defekt-????????-??????")}, QDir::Files);
    ASSERT_EQ(copies.size(), 1) << "one copy of one damage";
    EXPECT_EQ(readBytes(Home() + u'/' + copies[0]), damaged);
}

} // namespace
