#include "RecognitionTestSupport.h"

namespace {

struct ScoreCase
{
    const char *name;
    const char16_t *block; // lines divided by "\n"
    int line;              // 1-based
    const char16_t *text;  // the line's text after scoring
    const char16_t *scores;
};

// The five lines in front put the line under test beyond the position points.
#define PAD u"a\nb\nc\nd\ne\n"

const ScoreCase ScoreCases[] = {
    {"one-line block: position only", u"xyz", 1, u"xyz", u"Firma=3 Kontakt=3"},
    {"capital pair", u"ABC Consulting", 1, u"ABC Consulting", u"Firma=6 Kontakt=5"},
    {"no capital pair in a name", u"Max Mustermann", 1, u"Max Mustermann", u"Firma=3 Kontakt=5"},
    {"company form at the end counts", u"Musterfirma GmbH", 1, u"Musterfirma GmbH",
     u"Firma=6 Kontakt=5"},
    {"company form glued to a word does not", u"GmbHxyz", 1, u"GmbHxyz", u"Firma=3 Kontakt=3"},
    {"company on line 2 helps line 1 to contact", u"Max Muster\nMuster GmbH", 1, u"Max Muster",
     u"Firma=3 Kontakt=6"},
    {"company on line 2", u"Max Muster\nMuster GmbH", 2, u"Muster GmbH", u"Firma=6 Kontakt=6"},
    {"company on line 1 helps line 2 to contact", u"Muster & Co\nMax Muster", 2, u"Max Muster",
     u"Firma=3 Kontakt=7"},
    {"company on line 1", u"Muster & Co\nMax Muster", 1, u"Muster & Co", u"Firma=8 Kontakt=4"},
    {"salutation alone", u"Herr\nMax Muster", 1, u"Herr", u"Firma=3 Kontakt=3 Anrede=13"},
    {"name after a salutation alone", u"Herr\nMax Muster", 2, u"Max Muster", u"Firma=3 Kontakt=16"},
    {"salutation with name", u"Herr Max Muster", 1, u"Herr Max Muster",
     u"Firma=5 Kontakt=15 Anrede=10"},
    {"salutation ending in a title", u"Frau Dr.\nEva Muster", 1, u"Frau Dr.",
     u"Firma=3 Kontakt=9 Anrede=13 Titel=3"},
    {"name after a salutation with title", u"Frau Dr.\nEva Muster", 2, u"Eva Muster",
     u"Firma=3 Kontakt=16"},
    {"telephone word and number", PAD u"Tel. 0301234567\n0301234567", 6, u"Tel. 0301234567",
     u"Firma=1 Kontakt=2 Postfach=3 Telefon=16 Fax=10 Mobil=5"},
    {"bare number after a telephone word", PAD u"Tel. 0301234567\n0301234567", 7, u"0301234567",
     u"Firma=1 Postfach=3 Telefon=6 Fax=10 Mobil=5"},
    {"telefax sets both flags", PAD u"Telefax 0301234567", 6, u"Telefax 0301234567",
     u"Firma=1 Kontakt=2 Postfach=3 Telefon=16 Fax=18 Mobil=5"},
    {"mobile word", PAD u"Mobil: 0171 1234567", 6, u"Mobil: 0171 1234567",
     u"Firma=3 Kontakt=1 Postfach=3 Telefon=10 Fax=10 Mobil=15"},
    {"four-digit postcode splits", PAD u"1010 Wien", 6, u"1010",
     u"Firma=3 Kontakt=2 Postfach=3 Adresse=3 PLZ=13 EMail=1"},
    {"city cut from a postcode", PAD u"1010 Wien", 7, u"Wien", u"Ort=21"},
    {"worked example", u"a\nb\nc\nd\n12345 Musterstadt", 5, u"12345",
     u"Firma=3 Kontakt=2 Postfach=3 Adresse=6 PLZ=12 Ort=2 EMail=1"},
    {"worked example, city", u"a\nb\nc\nd\n12345 Musterstadt", 6, u"Musterstadt", u"Ort=21"},
    {"postcode alone", u"a\nb\nc\n12345\nBerlin", 4, u"12345",
     u"Firma=3 Postfach=3 Adresse=6 PLZ=12 Ort=2 EMail=1"},
    {"city after a postcode alone", u"a\nb\nc\n12345\nBerlin", 5, u"Berlin",
     u"Adresse=3 PLZ=1 Ort=12"},
    {"no city points up to line 3", u"a\n12345\nBerlin", 3, u"Berlin", u"Adresse=3"},
    {"city before a postcode alone", PAD u"Berlin\n12345", 6, u"Berlin", u"Ort=10"},
    {"six digits: number points and a split", PAD u"123456 Ort", 6, u"12345",
     u"Firma=1 Kontakt=2 Postfach=3 PLZ=8 Telefon=10 Fax=10 Mobil=5"},
    {"six digits: the rest", PAD u"123456 Ort", 7, u"6 Ort",
     u"Firma=3 Kontakt=2 Postfach=3 Adresse=4 PLZ=3 Ort=21 EMail=1"},
    {"seven digits never split", PAD u"1234567 x", 6, u"1234567 x",
     u"Firma=1 Kontakt=2 Postfach=3 Telefon=10 Fax=10 Mobil=5"},
    {"e-mail address", PAD u"max@muster.de", 6, u"max@muster.de", u"Firma=2 EMail=17 Website=7"},
    {"web address", PAD u"www.muster-gmbh.de", 6, u"www.muster-gmbh.de",
     u"Firma=2 EMail=9 Website=17"},
    {"street", PAD u"Hauptstraße 5", 6, u"Hauptstraße 5",
     u"Firma=3 Kontakt=2 Postfach=3 Adresse=14 PLZ=3 EMail=1"},
    {"place with a preposition", PAD u"Am Stadtpark 3", 6, u"Am Stadtpark 3",
     u"Firma=5 Kontakt=1 Postfach=3 Adresse=9 PLZ=3 EMail=1"},
    {"post-office box", PAD u"Postfach 12 34 56", 6, u"Postfach 12 34 56",
     u"Firma=3 Kontakt=1 Postfach=13 Telefon=10 Fax=10 Mobil=5"},
    {"country from line 4", u"a\nb\nc\nDeutschland", 4, u"Deutschland",
     u"Adresse=3 PLZ=1 Ort=2 Land=9"},
    {"country on line 2", u"a\nDeutschland", 2, u"Deutschland", u"Firma=3 Kontakt=4 Land=6"},
    {"inserted country line is scored too", u"D-12345 Berlin", 3, u"Deutschland",
     u"Adresse=3 Land=16"},
    {"label then classification", PAD u"Firma: Muster AG", 6, u"Muster AG", u"Firma=21 Kontakt=2"},
};

TEST(Scoring, EachStepAddsItsPoints)
{
    for (const ScoreCase &c : ScoreCases) {
        const LineList lines = ScoreBlock(QString::fromUtf16(c.block));
        ASSERT_GE(int(lines.size()), c.line) << c.name;
        const clsZeile &line = lines[size_t(c.line - 1)];
        EXPECT_EQ(line.Text, QString::fromUtf16(c.text)) << c.name;
        EXPECT_EQ(ScoreSummary(line), QString::fromUtf16(c.scores)) << c.name;
    }
}

} // namespace
