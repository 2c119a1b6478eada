// ordalis-cli recognize beyond its case file: jobs, progress and streaming.

#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

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

// Any number of jobs gives the same answers and messages in input order;
// progress goes to standard error only.
TEST(RecognizeCommand, EveryJobCountGivesTheSameBytesAndProgressStaysOnStandardError)
{
    const QByteArray input = mixedBlocks();
    const QStringList common{QStringLiteral("--jsonl"), QStringLiteral("--settings"), Settings,
                             QStringLiteral("--jobs")};
    const QString quiet = QStringLiteral("--no-progress");
    const CliRun one = runCli(common + QStringList{QStringLiteral("1"), quiet}, input);
    const CliRun four = runCli(common + QStringList{QStringLiteral("4"), quiet}, input);
    const CliRun shown = runCli(common + QStringList{QStringLiteral("2"), u"--progress"_s}, input);
    ASSERT_EQ(one.exitCode, 0) << one.err.toStdString();
    EXPECT_EQ(one.out.count('\n'), 1000); // one answer per line that is not blank
    EXPECT_EQ(four.exitCode, 0);
    EXPECT_EQ(shown.exitCode, 0);
    EXPECT_TRUE(four.out == one.out && shown.out == one.out);
    EXPECT_TRUE(four.err == one.err);
    EXPECT_TRUE(shown.err.contains(" blocks/s")) << shown.err.toStdString();
    // Without the progress lines (each drawn and cleared in place), the
    // messages stand as they would alone.
    QString messages = QString::fromUtf8(shown.err);
    messages.remove(QRegularExpression(QStringLiteral("\r[^\r\n]*\x1b\\[K")));
    EXPECT_EQ(messages, QString::fromUtf8(one.err));
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
