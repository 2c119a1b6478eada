// ordalis-cli recognize beyond its case file: golden cards, the order of
// blocks and lines, jobs and progress.

#include "common/TestFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

namespace {

const QString Settings = QStringLiteral(ORDALIS_TEST_DATA "/settings.ini");

struct CliRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

CliRun runCli(const QStringList &arguments, const QByteArray &input = {})
{
    QProcess process;
    process.start(QStringLiteral(ORDALIS_CLI),
                  QStringList{QStringLiteral("recognize")} + arguments);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

// Each data/cards/NAME.txt is recognised into NAME.vcf (4.0) and, where
// present, NAME.v3.vcf (3.0), byte for byte.
TEST(RecognizeCommand, AddressBlocksBecomeTheirGoldenCards)
{
    const QDir folder(QStringLiteral(ORDALIS_TEST_DATA "/cards"));
    const QStringList blocks = folder.entryList({QStringLiteral("*.txt")}, QDir::Files);
    ASSERT_FALSE(blocks.isEmpty());
    for (const QString &block : blocks) {
        const QString base = folder.filePath(block.chopped(4));
        const struct
        {
            QString golden;
            QStringList options;
        } outputs[] = {{base + QStringLiteral(".vcf"), {}},
                       {base + QStringLiteral(".v3.vcf"),
                        {QStringLiteral("--vcard-version"), QStringLiteral("3.0")}}};
        for (const auto &output : outputs) {
            if (!QFileInfo::exists(output.golden))
                continue;
            const CliRun run =
                runCli(QStringList{QStringLiteral("--vcard"), QStringLiteral("--settings"),
                                   Settings, folder.filePath(block)} +
                       output.options);
            EXPECT_EQ(run.exitCode, 0) << block.toStdString() << run.err.toStdString();
            EXPECT_EQ(run.out, readBytes(output.golden)) << output.golden.toStdString();
        }
    }
}

TEST(RecognizeCommand, CardsAndCsvLinesFollowTheBlocksInInputOrder)
{
    const QByteArray input = "{\"text\": \"Anna Alt\\nA-Weg 1\\n11111 Aheim\"}\n"
                             "not json\n"
                             "{\"text\": \"Bernd Bau\\nB-Weg 2\\n22222 Bdorf\"}\n";
    const CliRun cards = runCli({QStringLiteral("--vcard"), QStringLiteral("--jsonl"),
                                 QStringLiteral("--settings"), Settings},
                                input);
    EXPECT_EQ(cards.exitCode, 0);
    EXPECT_EQ(cards.out.count("BEGIN:VCARD"), 3) << "an unreadable block keeps its place";
    const qsizetype anna = cards.out.indexOf("FN:Anna Alt");
    const qsizetype bernd = cards.out.indexOf("FN:Bernd Bau");
    EXPECT_TRUE(anna > 0 && bernd > anna) << cards.out.toStdString();
    EXPECT_TRUE(cards.err.contains("not JSON")) << cards.err.toStdString();

    const CliRun csv = runCli({QStringLiteral("--csv"), QStringLiteral("--jsonl"),
                               QStringLiteral("--settings"), Settings},
                              input);
    const QList<QByteArray> lines = csv.out.split('\n');
    ASSERT_EQ(lines.size(), 5) << csv.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith("\xEF\xBB\xBF"
                                    "Firma,"));
    EXPECT_TRUE(lines[1].contains("Anna Alt") && lines[1].contains("A-Weg 1"));
    EXPECT_EQ(lines[2], QByteArray(20, ',') + '\r');
    EXPECT_TRUE(lines[3].contains("Bernd Bau"));
}

// A thousand blocks of every kind: addresses, blank and missing texts,
// chosen separators, text that is no JSON, and blank lines between.
QByteArray mixedBlocks()
{
    const QByteArray kinds[] = {
        R"({"text": "Muster GmbH\nHauptstraße 1\n12345 Berlin"})",
        R"({"text": ""})",
        "not json",
        R"({"text": "a;b;Tel. 030 1234567", "separator": ";"})",
        "",
        R"({"text": "one line only"})",
        R"({"separator": ","})",
        R"({"text": "Herr Dr. Max Beispiel\r\nDetails der Beispiel AG schließen\r\nwww.beispiel.de"})",
        R"({"text": "\u00dcbersee \ud83d\ude00\tCH-8001 Zürich"})",
        "[1, 2",
        R"({"text": 42})",
    };
    QByteArray input;
    for (int k = 0; k < 1100; ++k)
        input += kinds[k % std::size(kinds)] + '\n';
    return input;
}

TEST(RecognizeCommand, EveryJobCountGivesTheSameBytesInInputOrder)
{
    const QByteArray input = mixedBlocks();
    const QStringList common{QStringLiteral("--jsonl"), QStringLiteral("--settings"), Settings,
                             QStringLiteral("--no-progress"), QStringLiteral("--jobs")};
    const CliRun one = runCli(common + QStringList{QStringLiteral("1")}, input);
    const CliRun four = runCli(common + QStringList{QStringLiteral("4")}, input);
    ASSERT_EQ(one.exitCode, 0) << one.err.toStdString();
    EXPECT_EQ(one.out.count('\n'), 1000); // one answer per line that is not blank
    EXPECT_EQ(four.exitCode, 0);
    EXPECT_TRUE(four.out == one.out);
    EXPECT_TRUE(four.err == one.err); // the messages too, in input order
}

TEST(RecognizeCommand, ProgressGoesToStandardErrorOnly)
{
    const QByteArray input = mixedBlocks();
    const QStringList common{QStringLiteral("--jsonl"), QStringLiteral("--settings"), Settings,
                             QStringLiteral("--jobs"), QStringLiteral("2")};
    const CliRun quiet = runCli(common + QStringList{QStringLiteral("--no-progress")}, input);
    const CliRun shown = runCli(common + QStringList{QStringLiteral("--progress")}, input);
    EXPECT_EQ(shown.exitCode, 0);
    EXPECT_TRUE(shown.out == quiet.out);
    EXPECT_TRUE(shown.err.contains(" blocks/s")) << shown.err.toStdString();
    // Without the progress lines (each drawn and cleared in place), the
    // messages stand as they would alone.
    QString messages = QString::fromUtf8(shown.err);
    messages.remove(QRegularExpression(QStringLiteral("\r[^\r\n]*\x1b\\[K")));
    EXPECT_EQ(messages, QString::fromUtf8(quiet.err));
}

// A line is answered while the input is still open, as from tail -f.
TEST(RecognizeCommand, JsonLinesAnswerBeforeTheInputEnds)
{
    QProcess process;
    process.start(QStringLiteral(ORDALIS_CLI),
                  {QStringLiteral("recognize"), QStringLiteral("--jsonl"),
                   QStringLiteral("--settings"), Settings});
    process.write("{\"text\": \"Muster GmbH\\nBerlin\"}\n");
    QByteArray answer;
    while (!answer.contains('\n') && process.waitForReadyRead(60000))
        answer += process.readAllStandardOutput();
    EXPECT_TRUE(answer.startsWith("{\"status\":\"ok\"")) << answer.toStdString();
    process.closeWriteChannel();
    process.waitForFinished(60000);
    EXPECT_EQ(process.exitCode(), 0);
}

} // namespace
