#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

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

QJsonObject parseObject(const QByteArray &line)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
    return document.object();
}

TEST(RecognizeCommand, JsonHasTheDocumentedShape)
{
    const QByteArray block =
        "Muster GmbH\r\nAbteilung: Einkauf\r\nHauptstraße 1\r\n12345 Berlin\r\n";
    const CliRun run =
        runCli({QStringLiteral("--json"), QStringLiteral("--settings"), Settings}, block);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    // keys in the documented order
    EXPECT_TRUE(run.out.startsWith("{\"status\":\"ok\",\"text\":")) << run.out.toStdString();
    EXPECT_TRUE(run.out.endsWith("}\n"));

    const QJsonObject result = parseObject(run.out);
    EXPECT_EQ(result.keys().size(), 4);
    EXPECT_EQ(
        result[QStringLiteral("text")].toString(),
        QStringLiteral("Muster GmbH\r\nAbteilung: Einkauf\r\nHauptstraße 1\r\n12345 Berlin\r\n"));
    const QJsonArray rows = result[QStringLiteral("rows")].toArray();
    ASSERT_EQ(rows.size(), 16);
    const struct
    {
        int row;
        QJsonValue field;
        QJsonValue label;
        QString value;
    } expected[] = {
        {0, 25, QStringLiteral("Firma"), QStringLiteral("Muster GmbH")},
        {1, 27, QStringLiteral("Adresse"), QStringLiteral("Hauptstraße 1")},
        {2, 32, QStringLiteral("PLZ"), QStringLiteral("12345")},
        {3, 30, QStringLiteral("Ort"), QStringLiteral("Berlin")},
        {4, 33, QStringLiteral("Land"), QStringLiteral("Germany-Default")},
        {5, QJsonValue::Null, QJsonValue::Null, QString()},
        {15, QJsonValue::Null, QJsonValue::Null, QString()},
    };
    for (const auto &e : expected) {
        const QJsonObject row = rows[e.row].toObject();
        EXPECT_EQ(row.keys().size(), 4) << "row " << e.row;
        EXPECT_EQ(row[QStringLiteral("row")].toInt(), e.row);
        EXPECT_EQ(row[QStringLiteral("field")], e.field) << "row " << e.row;
        EXPECT_EQ(row[QStringLiteral("label")], e.label) << "row " << e.row;
        EXPECT_EQ(row[QStringLiteral("value")].toString(), e.value) << "row " << e.row;
    }
    const QJsonArray hits = result[QStringLiteral("hits")].toArray();
    ASSERT_EQ(hits.size(), 1);
    EXPECT_EQ(hits[0].toObject(),
              (QJsonObject{{QStringLiteral("id"), 88},
                           {QStringLiteral("value"), QStringLiteral("Einkauf")}}));
}

TEST(RecognizeCommand, StatusesExitCodesAndMessages)
{
    QTemporaryDir folder;
    const QString missing = folder.filePath(QStringLiteral("missing.txt"));
    const struct
    {
        const char *name;
        QStringList arguments;
        QByteArray input;
        int exitCode;
        const char *status; // nullptr: no JSON expected
        const char *message;
    } cases[] = {
        {"ok", {QStringLiteral("--json")}, "a\nb", 0, "ok", ""},
        {"blank", {QStringLiteral("--json")}, "   ", 1, "empty", "Die Zwischenablage ist leer."},
        {"no separator",
         {QStringLiteral("--json")},
         "one line",
         1,
         "no-separator",
         "Kein geeignetes Zeilentrennungszeichen gefunden."},
        {"chosen separator",
         {QStringLiteral("--json"), QStringLiteral("--separator"), QStringLiteral(",")},
         "a,b",
         0,
         "ok",
         ""},
        {"unknown option", {QStringLiteral("--bogus")}, "", 2, nullptr, "--bogus"},
        {"unreadable file", {missing}, "", 2, nullptr, "missing.txt"},
        {"empty file name", {QString()}, "a\nb", 2, nullptr, "empty"},
        {"unreadable settings",
         {QStringLiteral("--settings"), missing},
         "a\nb",
         2,
         nullptr,
         "missing.txt"},
        {"jsonl with separator",
         {QStringLiteral("--jsonl"), QStringLiteral("--separator"), QStringLiteral(",")},
         "",
         2,
         nullptr,
         "--jsonl"},
        {"card of nothing", {QStringLiteral("--vcard")}, "   ", 1, nullptr, "leer"},
        {"card as JSON",
         {QStringLiteral("--vcard"), QStringLiteral("--json")},
         "",
         2,
         nullptr,
         "--json"},
        {"card and CSV",
         {QStringLiteral("--vcard"), QStringLiteral("--csv")},
         "",
         2,
         nullptr,
         "exclude"},
        {"vCard 2.1",
         {QStringLiteral("--vcard"), QStringLiteral("--vcard-version"), QStringLiteral("2.1")},
         "",
         2,
         nullptr,
         "4.0 or 3.0"},
        {"version without card",
         {QStringLiteral("--vcard-version"), QStringLiteral("3.0")},
         "",
         2,
         nullptr,
         "goes with --vcard"},
    };
    for (const auto &c : cases) {
        const CliRun run = runCli(c.arguments, c.input);
        if (c.status == nullptr && c.exitCode != 0) {
            EXPECT_EQ(run.out, QByteArray()) << c.name;
        }
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name;
        EXPECT_TRUE(QString::fromUtf8(run.err).contains(QString::fromUtf8(c.message))) << c.name;
        if (c.status != nullptr) {
            EXPECT_EQ(parseObject(run.out)[QStringLiteral("status")].toString(),
                      QString::fromUtf8(c.status))
                << c.name;
        }
    }
}

TEST(RecognizeCommand, JsonLinesAnswerEachLineAndGoOnAfterBadOnes)
{
    const QByteArray input = "{\"text\": \"Muster GmbH\\nBerlin\"}\n"
                             "not json\n"
                             "{\"text\": \"a,b\", \"separator\": \",\"}\n"
                             "{\"separator\": \";\"}\n"
                             "{\"text\": \"single\"}\n";
    const CliRun run =
        runCli({QStringLiteral("--jsonl"), QStringLiteral("--settings"), Settings}, input);
    EXPECT_EQ(run.exitCode, 0);
    const QList<QByteArray> lines = run.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 5);
    const char *statuses[] = {"ok", "error", "ok", "error", "no-separator"};
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(parseObject(lines[k])[QStringLiteral("status")].toString(),
                  QString::fromUtf8(statuses[k]))
            << "line " << k;
    }
    EXPECT_EQ(parseObject(lines[2])[QStringLiteral("text")].toString(),
              QStringLiteral("a\r\nb\r\n"));
    EXPECT_FALSE(parseObject(lines[1])[QStringLiteral("error")].toString().isEmpty());
    // the separator of one line does not carry over to the next
    EXPECT_EQ(parseObject(lines[4])[QStringLiteral("text")].toString(), QString());
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

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

// Debian's interpreter first: a python3 elsewhere on PATH may lack vobject.
QString pythonWithVobject()
{
    for (const QString &python : {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
        QProcess probe;
        probe.start(python, {QStringLiteral("-c"), QStringLiteral("import vobject")});
        if (probe.waitForFinished(30000) && probe.exitStatus() == QProcess::NormalExit &&
            probe.exitCode() == 0)
            return python;
    }
    return {};
}

} // namespace

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
            EXPECT_EQ(run.out, readFile(output.golden)) << output.golden.toStdString();
        }
    }
}

TEST(RecognizeCommand, AnIndependentReaderReadsTheCardBack)
{
    const QString python = pythonWithVobject();
    if (python.isEmpty())
        GTEST_SKIP() << "python3-vobject is not installed";
    const CliRun run = runCli({QStringLiteral("--vcard"), QStringLiteral("--settings"), Settings,
                               QStringLiteral(ORDALIS_TEST_DATA "/cards/firma.txt")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QProcess reader;
    reader.start(python, {QStringLiteral("-c"), QStringLiteral(R"(
import sys, vobject
card = vobject.readOne(sys.stdin.buffer.read().decode("utf-8"))
adr = card.adr.value
print("|".join([card.fn.value, ";".join(card.org.value), adr.street, adr.code, adr.city,
                adr.country, card.tel.value, card.tel.params["TYPE"][0], card.email.value,
                card.url.value, card.uid.value[:9]]))
)")});
    reader.write(run.out);
    reader.closeWriteChannel();
    ASSERT_TRUE(reader.waitForFinished(60000));
    EXPECT_EQ(reader.readAllStandardError(), QByteArray());
    EXPECT_EQ(QString::fromUtf8(reader.readAllStandardOutput()).trimmed(),
              QStringLiteral("Herr Dr. Max Beispiel|Mustermann & Söhne GmbH;Einkauf|"
                             "Hauptstraße 12|10115|Berlin|Deutschland|(0)301234567|work|"
                             "max.beispiel@mustermann-soehne.de|www.mustermann-soehne.de|"
                             "urn:uuid:"));
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
