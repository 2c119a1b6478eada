#include "RecognitionTestSupport.h"

#include "recognition/FieldAssignment.h"
#include "recognition/ParseAddress.h"

namespace {

class AssignmentTest : public RecognitionTest
{
protected:
    QString parse(const QString &block)
    {
        QString clipText;
        EXPECT_EQ(ParseAddress(Context, block, Rows, clipText, nullptr), ParseStatus::Ok);
        return RowsSummary(Rows);
    }
};

struct BlockCase
{
    const char *name;
    const char16_t *block;
    const char16_t *rows;
};

TEST_F(AssignmentTest, RowsFollowTheWinningScores)
{
    const BlockCase cases[] = {
        {"undecided first line counts as company", u"Foo\nBar",
         u"0 25 Foo\n1 26 Bar\n2 33 Deutschland\n"},
        {"undecided first line before a company is the contact", u"Foo\nABC-Team 7",
         u"0 26 Foo\n1 25 ABC-Team 7\n2 33 Deutschland\n"},
        {"second line takes the role opposite a company", u"Foo\nABC Consult",
         u"0 25 Foo\n1 26 ABC Consult\n2 33 Deutschland\n"},
        {"a post-office box leaves its row empty", u"Muster GmbH\nPostfach 123456\n12345 Berlin",
         u"0 25 Muster GmbH\n2 32 12345\n3 30 Berlin\n4 33 Deutschland\n"},
        {"four-digit postcode implies the four-digit country", u"Muster GmbH\nWeg 1\n1010 Wien",
         u"0 25 Muster GmbH\n1 27 Weg 1\n2 32 1010\n3 30 Wien\n4 33 Österreich\n"},
        {"address lines count up to three",
         u"Muster GmbH\nHauptstr. 1\nNebenweg 2\nAllee 3\nGartenweg 4",
         u"0 25 Muster GmbH\n1 27 Hauptstr. 1\n2 28 Nebenweg 2\n3 29 Allee 3\n4 - Gartenweg 4\n"
         u"5 33 Deutschland\n"},
        {"telephone lines count up to three",
         u"Muster GmbH\nTel. 030 1234567\nTelefon 030 7654321\nTel 089 111222\nPhone 040 999888",
         u"0 25 Muster GmbH\n1 35 0301234567\n2 74 0307654321\n3 77 089111222\n4 - 040999888\n"
         u"5 33 Deutschland\n"},
        {"Germany is shown in German", u"Muster GmbH\nGermany",
         u"0 25 Muster GmbH\n1 33 Deutschland\n"},
        {"GERMANY inside a line, any case", u"Muster GmbH\nLand: Berlin, germany",
         u"0 25 Muster GmbH\n1 33 Berlin, Deutschland\n"},
    };
    for (const BlockCase &c : cases)
        EXPECT_EQ(parse(QString::fromUtf16(c.block)), QString::fromUtf16(c.rows)) << c.name;
}

TEST_F(AssignmentTest, DefaultCountriesComeFromTheSettings)
{
    Config.StandardLand4PLZ = QStringLiteral("Vier");
    Config.StandardLand5PLZ = QStringLiteral("Fünf");
    EXPECT_EQ(parse(QStringLiteral("Muster GmbH\nLand:")),
              QStringLiteral("0 25 Muster GmbH\n1 33 Fünf\n"));
    EXPECT_EQ(parse(QStringLiteral("Muster GmbH\n1010 Wien")),
              QStringLiteral("0 25 Muster GmbH\n1 32 1010\n2 30 Wien\n3 33 Vier\n"));
    EXPECT_EQ(parse(QStringLiteral("Muster GmbH\n123 Wien")),
              QStringLiteral("0 25 Muster GmbH\n1 26 123 Wien\n2 33 Fünf\n"));
}

QString numberedLines(const QStringList &words, int count)
{
    return words.mid(0, count).join(u'\n');
}

TEST_F(AssignmentTest, SixteenRowsAtMostAndNoDefaultCountryWhenFull)
{
    const QStringList words =
        QStringLiteral("eins zwei drei vier fuenf sechs sieben acht neun zehn elf "
                       "zwoelf dreizehn vierzehn fuenfzehn sechzehn siebzehn")
            .split(u' ');
    const QString head = QStringLiteral("0 25 eins\n1 26 zwei\n2 27 drei\n3 28 vier\n4 29 fuenf\n");

    QString clipText;
    ParseAddress(Context, numberedLines(words, 17), Rows, clipText, nullptr);
    QString expected = head;
    for (int row = 5; row < 16; ++row)
        expected += QStringLiteral("%1 25 %2\n").arg(row).arg(words[row]);
    EXPECT_EQ(RowsSummary(Rows), expected);
    EXPECT_EQ(clipText,
              words.join(u"\r\n") + QStringLiteral("\r\n")); // the box keeps the dropped line

    ParseAddress(Context, numberedLines(words, 16), Rows, clipText, nullptr);
    EXPECT_EQ(RowsSummary(Rows), expected);

    ParseAddress(Context, numberedLines(words, 15), Rows, clipText, nullptr);
    expected.replace(QStringLiteral("15 25 sechzehn\n"), QStringLiteral("15 33 Deutschland\n"));
    EXPECT_EQ(RowsSummary(Rows), expected);
}

TEST_F(AssignmentTest, FieldMissingFromTheCatalogueLeavesTheValueWithoutField)
{
    Rows.ClearAllLists();
    Rows.AddEntryToAllRows(QStringLiteral("Firma"), 25);
    EXPECT_EQ(parse(QStringLiteral("Foo\nBar")),
              QStringLiteral("0 25 Foo\n1 - Bar\n2 - Deutschland\n"));
}

TEST_F(AssignmentTest, NoLinesStillGetTheDefaultCountry)
{
    EXPECT_EQ(parse(QStringLiteral("\r\n  \r\n")), QStringLiteral("0 33 Deutschland\n"));
}

} // namespace
