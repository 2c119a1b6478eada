#include "RecognitionTestSupport.h"

#include "recognition/LineSplitter.h"
#include "recognition/ParseAddress.h"
#include "recognition/TextOps.h"

#include "support/MessageTexts.h"

namespace {

QStringList texts(const LineList &lines)
{
    QStringList out;
    for (const clsZeile &line : lines)
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

class CaptureTest : public RecognitionTest
{};

TEST_F(CaptureTest, BlankClipboardIsReportedExceptAtStart)
{
    QString clipText = QStringLiteral("old");
    Rows.SetRowValue(3, QStringLiteral("kept"));
    EXPECT_EQ(CaptureText(Context, QStringLiteral("   "), false, Rows, clipText, nullptr),
              ParseStatus::Empty);
    EXPECT_EQ(CaptureText(Context, QString(), true, Rows, clipText, nullptr), ParseStatus::Empty);
    EXPECT_EQ(Presenter.Texts(), QStringList{MessageText::ClipboardEmpty});
    EXPECT_EQ(Presenter.Styles(), QList<qint16>{MessageStyle::Information});
    EXPECT_EQ(Rows.RowValue(3), QStringLiteral("kept"));
    EXPECT_TRUE(clipText.isEmpty());
}

TEST_F(CaptureTest, NoSeparatorWithoutChoiceLeavesRowsCleared)
{
    Rows.SetRowValue(0, QStringLiteral("old"));
    QString clipText;
    ScriptedDialog cancelled{QString()};
    EXPECT_EQ(CaptureText(Context, QStringLiteral("Muster"), false, Rows, clipText, &cancelled),
              ParseStatus::NoSeparator);
    EXPECT_EQ(CaptureText(Context, QStringLiteral("Muster"), false, Rows, clipText, nullptr),
              ParseStatus::NoSeparator);
    EXPECT_EQ(RowsSummary(Rows), QString());
    EXPECT_EQ(Presenter.shown.size(), 2);
}

class UserDefinitionsTest : public RecognitionTest
{};

TEST_F(UserDefinitionsTest, HitsSurviveAParseThatEndsBeforeTheLabels)
{
    Config.UserDefinitions = {{88, QStringLiteral("Abteilung:")}};
    Config.DefinitionsLoaded = true;
    QString clipText;
    EXPECT_EQ(ParseAddress(Context, QStringLiteral("Muster\r\nAbteilung: Einkauf"), Rows, clipText,
                           nullptr),
              ParseStatus::Ok);
    EXPECT_EQ(clipText, QStringLiteral("Muster\r\nAbteilung: Einkauf\r\n"));
    EXPECT_EQ(RowsSummary(Rows), QStringLiteral("0 25 Muster\n1 33 Deutschland\n"));
    EXPECT_EQ(ParseAddress(Context, QStringLiteral("no separator"), Rows, clipText, nullptr),
              ParseStatus::NoSeparator);
    ASSERT_EQ(Context.DefinitionHits.size(), 1);
    EXPECT_EQ(ParseAddress(Context, QStringLiteral("a\r\nb"), Rows, clipText, nullptr),
              ParseStatus::Ok);
    EXPECT_TRUE(Context.DefinitionHits.isEmpty());
}

} // namespace
