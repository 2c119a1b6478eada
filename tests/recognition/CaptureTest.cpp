// Capture as the window and the command line do it: realistic blocks with
// their rows, blank and unsplittable clipboards, hostile text.

#include "common/CaseFile.h"
#include "common/TestFiles.h"

#include "recognition/LineSplitter.h"
#include "recognition/ParseAddress.h"
#include "recognition/RecognitionContext.h"
#include "recognition/TextOps.h"
#include "support/FieldRows.h"
#include "support/MessageTexts.h"
#include "support/Messages.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QRandomGenerator>

namespace {

QString RowsSummary(const FieldRows &rows)
{
    QString summary;
    for (int row = 0; row < FieldRows::RowCount; ++row) {
        const auto content = rows.ReadRow(row);
        if (!content && rows.RowValue(row).isEmpty())
            continue;
        summary += QStringLiteral("%1 %2 %3\n")
                       .arg(row)
                       .arg(content ? QString::number(content->FieldNumber) : QStringLiteral("-"))
                       .arg(rows.RowValue(row));
    }
    return summary;
}

// Each test its own settings and context: no definitions, default countries,
// automatic separator.
class CaptureTest : public ::testing::Test
{
protected:
    void SetUp() override { Rows.FillStandardCatalogue(); }

    FieldRows Rows;
    Settings Config;
    RecognitionContext Context{Config};
};

// Each block NAME.txt (the text as copied, UTF-8) has NAME.rows beside it:
// one line per filled row, "row field value" (field "-" when none is chosen),
// "hit id value" for each definition hit, and optionally "box TEXT" (what the
// text box shows) and settings "set land4|land5|separator VALUE". Lines
// starting with "#" and blank lines are comments. Every block must parse: the
// Windows package is checked against the same blocks.
struct Expected
{
    QString rows;
    std::optional<QString> box;
};

Expected readExpected(const QString &path, Settings &config, RecognitionContext &context)
{
    Expected expected;
    for (QString line : QString::fromUtf8(readBytes(path)).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QString value = line.section(u' ', 2);
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u"set land4 "))
            config.StandardLand4PLZ = value;
        else if (line.startsWith(u"set land5 "))
            config.StandardLand5PLZ = value;
        else if (line.startsWith(u"set separator "))
            context.UserSeparator = value;
        else if (line.startsWith(u"box"))
            expected.box = QString::fromUtf8(Unescape(line.mid(4)));
        else
            expected.rows += line + u'\n';
    }
    return expected;
}

TEST_F(CaptureTest, RealisticBlocksGiveTheirRows)
{
    const QDir folder(QStringLiteral(ORDALIS_TEST_DATA "/blocks"));
    const QStringList blocks = folder.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    ASSERT_GE(blocks.size(), 50);
    for (const QString &block : blocks) {
        // With two definitions, as a user might keep them; a block none of them
        // hits must give the same rows without any, which parses another way.
        for (const bool definitions : {true, false}) {
            SCOPED_TRACE(block.toStdString() + (definitions ? "" : " without definitions"));
            Settings config;
            config.UserDefinitions = {{88, QStringLiteral("Abteilung:")},
                                      {74, QStringLiteral("Durchwahl:")}};
            config.DefinitionsLoaded = definitions;
            RecognitionContext context{config};
            FieldRows rows;
            rows.FillStandardCatalogue();
            rows.SetRowValue(15, QStringLiteral("from before"));
            const Expected expected = readExpected(
                folder.filePath(block.chopped(4) + QStringLiteral(".rows")), config, context);
            const bool hits = (u'\n' + expected.rows).contains(QStringLiteral("\nhit "));
            if (!definitions && hits)
                continue;
            QString clipText;
            const ParseStatus status =
                CaptureText(context, QString::fromUtf8(readBytes(folder.filePath(block))), false,
                            rows, clipText)
                    .status;
            EXPECT_EQ(status, ParseStatus::Ok);
            QString actual = RowsSummary(rows);
            for (const FieldValue &hit : context.DefinitionHits)
                actual += QStringLiteral("hit %1 %2\n").arg(hit.field).arg(hit.value);
            EXPECT_EQ(actual, expected.rows);
            if (expected.box) {
                EXPECT_EQ(clipText, *expected.box);
            }
        }
    }
}

QStringList texts(const LineList &lines)
{
    QStringList out;
    for (const CapturedLine &line : lines)
        out << line.Text;
    return out;
}

// What the details lines do, done the slow way: insert in front, strip every record behind.
QStringList naiveDetails(const QStringList &pieces)
{
    QStringList list;
    for (QString piece : pieces) {
        while (piece.contains(QStringLiteral("  ")))
            piece.replace(QStringLiteral("  "), QStringLiteral(" "));
        piece = TrimBlanks(piece).toString();
        if (piece.startsWith(u"Details der ") && piece.endsWith(u" schließen") &&
            piece.size() >= 22) {
            const QString name = piece.mid(12, piece.size() - 22);
            for (QString &text : list) {
                if (!name.isEmpty())
                    text.remove(name);
                text = TrimBlanks(text).toString();
            }
            list.prepend(name);
        } else {
            list.append(piece);
        }
    }
    return list;
}

TEST(SplitIntoLines, ManyDetailsLinesGiveWhatOneByOneWouldGive)
{
    // Small alphabet and short names so that removals interact (including
    // removals that create new occurrences).
    const QStringList names{QStringLiteral("a"), QStringLiteral("ab"), QStringLiteral("b a"),
                            QStringLiteral("ba"), QString()};
    const QStringList words{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("ab"),
                            QStringLiteral("x"), QStringLiteral("aab b")};
    quint32 seed = 12345;
    const auto next = [&seed](int bound) {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 16) % quint32(bound));
    };
    for (int round = 0; round < 60; ++round) {
        QStringList pieces;
        const int count = 5 + next(600); // often beyond the limit of direct runs
        for (int k = 0; k < count; ++k) {
            if (next(3) == 0) {
                pieces << QStringLiteral("Details der %1 schließen").arg(names[next(names.size())]);
            } else {
                QString piece;
                for (int w = 0; w <= next(4); ++w)
                    piece += words[next(words.size())];
                pieces << piece;
            }
        }
        QString clipText;
        const LineList lines = SplitIntoLines(pieces.join(u'\n'), QStringLiteral("\n"), clipText);
        ASSERT_EQ(texts(lines), naiveDetails(pieces)) << "round " << round;
    }
}

// A blank clipboard is reported (except at start) and leaves the rows; one
// without a separator, and no choice made, clears them.
TEST_F(CaptureTest, BlankOrUnsplittableClipboards)
{
    QString clipText = QStringLiteral("old");
    Rows.SetRowValue(3, QStringLiteral("kept"));
    const ParseOutcome blank = CaptureText(Context, QStringLiteral("   "), false, Rows, clipText);
    EXPECT_EQ(blank.status, ParseStatus::Empty);
    EXPECT_EQ(blank.message.Text(), MessageText::ClipboardEmpty);
    EXPECT_EQ(blank.message.Style(), MessageStyle::Information);
    const ParseOutcome atStart = CaptureText(Context, QString(), true, Rows, clipText);
    EXPECT_EQ(atStart.status, ParseStatus::Empty);
    EXPECT_TRUE(atStart.message.IsEmpty());
    EXPECT_EQ(Rows.RowValue(3), QStringLiteral("kept"));
    EXPECT_TRUE(clipText.isEmpty());

    const ParseOutcome unsplittable =
        CaptureText(Context, QStringLiteral("Muster"), false, Rows, clipText);
    EXPECT_EQ(unsplittable.status, ParseStatus::NoSeparator);
    EXPECT_EQ(unsplittable.message.Text(), MessageText::NoSeparator);
    EXPECT_EQ(unsplittable.message.Style(), MessageStyle::Exclamation);
    EXPECT_EQ(RowsSummary(Rows), QString());
}

TEST_F(CaptureTest, DefinitionHitsSurviveAParseThatEndsBeforeTheLabels)
{
    Config.UserDefinitions = {{88, QStringLiteral("Abteilung:")}};
    Config.DefinitionsLoaded = true;
    QString clipText;
    EXPECT_EQ(ParseAddress(Context, QStringLiteral("Muster\r\nAbteilung: Einkauf"), Rows, clipText)
                  .status,
              ParseStatus::Ok);
    EXPECT_EQ(clipText, QStringLiteral("Muster\r\nAbteilung: Einkauf\r\n"));
    EXPECT_EQ(RowsSummary(Rows), QStringLiteral("0 25 Muster\n1 33 Deutschland\n"));
    EXPECT_EQ(ParseAddress(Context, QStringLiteral("no separator"), Rows, clipText).status,
              ParseStatus::NoSeparator);
    ASSERT_EQ(Context.DefinitionHits.size(), 1);
    EXPECT_EQ(ParseAddress(Context, QStringLiteral("a\r\nb"), Rows, clipText).status,
              ParseStatus::Ok);
    EXPECT_TRUE(Context.DefinitionHits.isEmpty());
}

TEST_F(CaptureTest, HostileTextParsesWithoutFailure)
{
    QRandomGenerator random(7);
    QByteArray binary(64 * 1024, '\0');
    for (char &byte : binary)
        byte = char(random.bounded(256));

    QString surrogates;
    for (int k = 0; k < 1000; ++k) {
        surrogates += QChar(char16_t(0xD800 + random.bounded(0x800)));
        surrogates += k % 7 == 0 ? QStringLiteral("\r\n") : QStringLiteral("x ");
    }

    const struct
    {
        const char *name;
        QString text;
    } cases[] = {
        {"binary", QString::fromLatin1(binary)},
        {"binary as UTF-8", QString::fromUtf8(binary)},
        {"NUL characters", QString(QChar(0)) + QStringLiteral("\r\nD-12345") + QChar(0) +
                               QStringLiteral("\r\n") + QString(100, QChar(0))},
        {"lone surrogates", surrogates},
        {"one long line",
         QStringLiteral("Herr  12345 www.").repeated(40000) + QStringLiteral(";x")},
        {"many lines", QStringLiteral("Tel 1\n12345 Ort\nD-12345 X\n").repeated(30000)},
        {"details lines",
         QStringLiteral("Details der X schließen\n").repeated(50000) + QStringLiteral("X Y\n")},
        {"details with distinct names",
         [] {
             QString text;
             for (int k = 0; k < 20000; ++k)
                 text += QStringLiteral("Details der Firma %1 schließen\nFirma %1 Zeile\n").arg(k);
             return text;
         }()},
    };
    for (const Recognizer recognizer : {Recognizer::Classic, Recognizer::Improved}) {
        Context.recognizer = recognizer;
        for (const auto &c : cases) {
            QString clipText;
            const ParseStatus status = CaptureText(Context, c.text, false, Rows, clipText).status;
            EXPECT_TRUE(status == ParseStatus::Ok || status == ParseStatus::NoSeparator) << c.name;
        }
    }
}

} // namespace
