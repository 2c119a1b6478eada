#include "RecognitionTestSupport.h"

#include "recognition/CountryPrefixes.h"
#include "recognition/FixedLabels.h"
#include "recognition/LineScorer.h"
#include "recognition/ParseAddress.h"
#include "recognition/TextOps.h"
#include "recognition/UserLabels.h"

namespace {

QStringList texts(const LineList &lines)
{
    QStringList out;
    for (const clsZeile &line : lines)
        out << line.Text;
    return out;
}

class UserDefinitionsTest : public RecognitionTest
{};

TEST_F(UserDefinitionsTest, FirstMatchingLinePerDefinitionBecomesAHit)
{
    Config.UserDefinitions = {{88, QStringLiteral("Abteilung:")},
                              {74, QStringLiteral("Durchwahl:")},
                              {74, QStringLiteral("Durchwahl:")},
                              {12, QStringLiteral("Fehlt:")}};
    Config.DefinitionsLoaded = true;
    LineList lines =
        MakeLines({QStringLiteral("Muster GmbH"), QStringLiteral("abteilung: klein"),
                   QStringLiteral("Abteilung:  Einkauf "), QStringLiteral("Durchwahl: 12"),
                   QStringLiteral("Abteilung: zweite"), QStringLiteral("Durchwahl:34")});
    ApplyUserDefinitions(lines, Context);
    EXPECT_EQ(texts(lines),
              (QStringList{QStringLiteral("Muster GmbH"), QStringLiteral("abteilung: klein"),
                           QStringLiteral("Abteilung: zweite")}));
    ASSERT_EQ(Context.DefinitionHits.size(), 3);
    EXPECT_EQ(Context.DefinitionHits[0].ID, 88);
    EXPECT_EQ(Context.DefinitionHits[0].Wert, QStringLiteral("Einkauf"));
    EXPECT_EQ(Context.DefinitionHits[1].Wert, QStringLiteral("12"));
    EXPECT_EQ(Context.DefinitionHits[2].Wert, QStringLiteral("34"));
}

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

TEST_F(UserDefinitionsTest, WithoutDefinitionsTheHitsAreLeftAlone)
{
    Context.DefinitionHits = {{1, QStringLiteral("from before")}};
    LineList lines = MakeLines({QStringLiteral("Abteilung: x")});
    ApplyUserDefinitions(lines, Context);
    EXPECT_EQ(lines.size(), 1u);
    EXPECT_EQ(Context.DefinitionHits.size(), 1);
}

struct PrefixCase
{
    const char *name;
    QStringList before;
    QStringList after;
    int countryLine; // 0-based index of the inserted line, -1 for none
};

TEST(CountryPrefixes, PostcodeLineIsCutAndACountryLineFollows)
{
    const PrefixCase cases[] = {
        {"D and hyphen",
         {QStringLiteral("D-12345 Berlin")},
         {QStringLiteral("12345 Berlin"), QStringLiteral("Deutschland")},
         1},
        {"spaced form",
         {QStringLiteral("x"), QStringLiteral("D - 12345 Berlin")},
         {QStringLiteral("x"), QStringLiteral("12345 Berlin"), QStringLiteral("Deutschland")},
         2},
        {"D directly before digits",
         {QStringLiteral("D12345 Berlin")},
         {QStringLiteral("12345 Berlin"), QStringLiteral("Deutschland")},
         1},
        {"D and blank",
         {QStringLiteral("D 12345 Berlin")},
         {QStringLiteral("12345 Berlin"), QStringLiteral("Deutschland")},
         1},
        {"four digits are not German",
         {QStringLiteral("D-1234 Ort")},
         {QStringLiteral("D-1234 Ort")},
         -1},
        {"Swiss",
         {QStringLiteral("CH-8001 Zürich")},
         {QStringLiteral("8001 Zürich"), QStringLiteral("Schweiz")},
         1},
        {"Austrian",
         {QStringLiteral("A-1010 Wien")},
         {QStringLiteral("1010 Wien"), QStringLiteral("Österreich")},
         1},
        {"only the first German line",
         {QStringLiteral("D-12345 A"), QStringLiteral("D-54321 B")},
         {QStringLiteral("12345 A"), QStringLiteral("Deutschland"), QStringLiteral("D-54321 B")},
         1},
        {"lower-case d with hyphen",
         {QStringLiteral("d-12345 Ort")},
         {QStringLiteral("12345 Ort"), QStringLiteral("Deutschland")},
         1},
        {"lower-case spaced form is not repaired",
         {QStringLiteral("d - 12345 Ort")},
         {QStringLiteral("d - 12345 Ort")},
         -1},
        {"Am and four digits looks Austrian",
         {QStringLiteral("Am 1234 Hof")},
         {QStringLiteral("1234 Hof"), QStringLiteral("Österreich")},
         1},
        {"each country once, in order",
         {QStringLiteral("A-1010 Wien"), QStringLiteral("CH-3000 Bern"),
          QStringLiteral("D-80331 München")},
         {QStringLiteral("1010 Wien"), QStringLiteral("Österreich"), QStringLiteral("3000 Bern"),
          QStringLiteral("Schweiz"), QStringLiteral("80331 München"),
          QStringLiteral("Deutschland")},
         -1},
    };
    for (const PrefixCase &c : cases) {
        LineList lines = MakeLines(c.before);
        ApplyCountryPrefixes(lines);
        EXPECT_EQ(texts(lines), c.after) << c.name;
        if (c.countryLine >= 0) {
            EXPECT_EQ(ScoreSummary(lines[size_t(c.countryLine)]), QStringLiteral("Land=10"))
                << c.name;
        }
    }
}

struct LabelCase
{
    const char16_t *line;
    const char16_t *text;
    const char16_t *scores;
};

TEST(FixedLabels, LabelIsStrippedAndScores)
{
    const LabelCase cases[] = {
        {u"Firma: Muster GmbH", u"Muster GmbH", u"Firma=15"},
        {u"FIRMA:Muster", u"Muster", u"Firma=15"},
        {u"firma:  Muster", u"Muster", u"Firma=15"},
        {u"Company: X", u"X", u"Firma=15"},
        {u"Name: Muster", u"Muster", u"Kontakt=5 NachName=10"},
        {u"Nachname: Muster", u"Muster", u"NachName=10"},
        {u"Vorname: Max", u"Max", u"Vorname=15"},
        {u"Straße: Weg 1", u"Weg 1", u"Adresse=15"},
        {u"PLZ: 12345", u"12345", u"PLZ=15"},
        {u"ZIP-Code: 12345", u"12345", u"PLZ=15"},
        {u"PLZ/Ort: 12345 Berlin", u"12345 Berlin", u"PLZ=5 Ort=5"},
        {u"City: Berlin", u"Berlin", u"Ort=15"},
        {u"Country: Germany", u"Germany", u"Land=15"},
        {u"Titel: Dr.", u"Dr.", u"Titel=15"},
        {u"Anrede: Herr", u"Herr", u"Anrede=15"},
        {u"Inhaber: Max Muster", u"Max Muster", u"Kontakt=15"},
        {u"Firma:", u"", u"Firma=15"},
        {u"Firma:Name:Muster", u"Muster", u"Firma=15 Kontakt=5 NachName=10"},
        {u"Firma: Name: Muster", u"Name: Muster", u"Firma=15"},
        {u"Tel 030 Firma: x", u"Tel 030 Firma: x", u""},
    };
    for (const LabelCase &c : cases) {
        clsZeile line;
        line.Text = QString::fromUtf16(c.line);
        const qsizetype start = ApplyFixedLabels(UpperText(line.Text), line);
        EXPECT_EQ(TrimBlanks(QStringView(line.Text).sliced(start)).toString(),
                  QString::fromUtf16(c.text))
            << line.Text.toStdString();
        EXPECT_EQ(ScoreSummary(line), QString::fromUtf16(c.scores)) << line.Text.toStdString();
    }
}

} // namespace
