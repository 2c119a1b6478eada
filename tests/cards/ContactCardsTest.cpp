#include "cards/CsvWriter.h"
#include "cards/NoteLabels.h"
#include "cards/VCardImport.h"
#include "cards/VCardReader.h"
#include "cards/VCardText.h"
#include "cards/VCardWriter.h"
#include "support/ActFields.h"

#include <QStringDecoder>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// A catalogue with the cases a note must keep apart: a label two fields
// share, and a field without one.
const FieldCatalogue Catalogue{{ActField::Firma, u"Firma"_s},
                               {41, u"Empfehlung"_s},
                               {42, u"Empfehlung"_s},
                               {73, u"Branche"_s},
                               {150, QString()}};

std::string show(const ContactValues &values)
{
    QString text;
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        text += u"%1=%2 | "_s.arg(it.key()).arg(it.value());
    return text.toStdString();
}

ContactValues readBack(const QByteArray &card, const NoteLabels &labels)
{
    const VCardReadResult read = ReadVCards(card);
    EXPECT_TRUE(read.Problems.isEmpty()) << read.Problems.value(0).Message.toStdString();
    if (read.Cards.size() != 1)
        return {};
    const ImportedContact contact = ContactFromVCard(read.Cards.first(), labels);
    EXPECT_TRUE(contact.Unused.isEmpty()) << contact.Unused.join(u',').toStdString();
    return contact.Values;
}

} // namespace

TEST(VCardText, FoldsAt75OctetsWithoutSplittingACharacter)
{
    const struct
    {
        int filler;   // ASCII characters before the wide one
        QString wide; // a character of 2, 3 or 4 octets
    } cases[] = {
        {68, u"ß"_s}, {69, u"ß"_s}, {70, u"ß"_s}, {68, u"€"_s}, {72, u"€"_s}, {71, u"😀"_s},
    };
    for (const auto &c : cases) {
        const QString line = u"NOTE:"_s + QString(c.filler, u'a') + c.wide + u"bc"_s;
        const QByteArray folded = VCardText::Fold(line);
        const std::string name = std::to_string(c.filler) + " + " + c.wide.toStdString();
        ASSERT_TRUE(folded.endsWith("\r\n")) << name;
        QByteArray unfolded;
        const QList<QByteArray> physical = folded.chopped(2).split('\n');
        for (qsizetype i = 0; i < physical.size(); ++i) {
            QByteArray part = physical[i];
            if (part.endsWith('\r'))
                part.chop(1);
            EXPECT_LE(part.size(), 75) << name;
            QStringDecoder decoder(QStringDecoder::Utf8);
            (void)QString(decoder(part));
            EXPECT_FALSE(decoder.hasError()) << name << ": line " << i << " splits a character";
            unfolded += i == 0 ? part : part.mid(1);
        }
        EXPECT_EQ(QString::fromUtf8(unfolded), line) << name;
        EXPECT_EQ(physical.size(), 5 + c.filler + c.wide.toUtf8().size() + 2 > 75 ? 2 : 1) << name;
    }
}

TEST(VCardText, EscapesSeparatorsAndLineBreaks)
{
    const struct
    {
        QString value;
        QString escaped;
        QString readBack;
    } cases[] = {
        {u",;\\"_s, u"\\,\\;\\\\"_s, u",;\\"_s},
        {u";;;"_s, u"\\;\\;\\;"_s, u";;;"_s},
        {u"a\r\nb"_s, u"a\\nb"_s, u"a\r\nb"_s},
        // The system's line break is CR LF; a lone LF or CR is one as well.
        {u"a\nb\rc"_s, u"a\\nb\\nc"_s, u"a\r\nb\r\nc"_s},
        {u"tab\tbell\x07"_s, u"tab\tbell\x07"_s, u"tab\tbell\x07"_s},
        {u"ends with \\"_s, u"ends with \\\\"_s, u"ends with \\"_s},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(VCardText::Escape(c.value), c.escaped) << c.value.toStdString();
        EXPECT_EQ(VCardText::Unescape(c.escaped), c.readBack) << c.value.toStdString();
    }
}

TEST(VCardRoundTrip, EveryValueComesBackInItsField)
{
    const QString separators = u",;\\,;"_s;
    const struct
    {
        const char *name;
        ContactValues values;
    } cases[] = {
        {"a whole address",
         {{ActField::Firma, u"Müller & Söhne GmbH"_s},
          {ActField::Abteilung, u"Einkauf"_s},
          {ActField::Anrede, u"Herr"_s},
          {ActField::Titel, u"Dr."_s},
          {ActField::Kontakt, u"Herr Dr. Hans Müller"_s},
          {ActField::Vorname, u"Hans"_s},
          {ActField::Nachname, u"Müller"_s},
          {ActField::Adresse, u"Hauptstraße 1"_s},
          {ActField::Adresse2, u"Hinterhaus"_s},
          {ActField::Adresse3, u"3. OG"_s},
          {ActField::PLZ, u"28195"_s},
          {ActField::Ort, u"Bremen"_s},
          {ActField::Land, u"Deutschland"_s},
          {ActField::Telefon, u"0421 1"_s},
          {ActField::Telefon2, u"0421 2"_s},
          {ActField::Telefon3, u"0421 3"_s},
          {ActField::Fax, u"0421 9"_s},
          {ActField::Mobil, u"0171 5"_s},
          {ActField::EMail, u"hans@example.org"_s},
          {ActField::Website, u"https://example.org/a,b;c"_s},
          {73, u"Handel"_s}}},
        {"only separators in every kind of property",
         {{ActField::Firma, separators},
          {ActField::Abteilung, separators},
          {ActField::Anrede, separators},
          {ActField::Titel, separators},
          {ActField::Nachname, separators},
          {ActField::Adresse, separators},
          {ActField::Adresse3, separators},
          {ActField::Telefon2, separators},
          {ActField::EMail, separators},
          {73, separators}}},
        {"line breaks and control characters",
         {{ActField::Kontakt, u"Zeile 1\r\nZeile 2"_s},
          {ActField::Adresse, u"a\tb\x01\x1f"_s},
          {73, u"Branche: Zeile 1\r\nEmpfehlung: keine\r\n"_s}}},
        {"later slots without the earlier ones",
         {{ActField::Telefon3, u"3"_s},
          {ActField::Adresse2, u"zwei"_s},
          {ActField::Titel, u"Prof."_s},
          {ActField::Abteilung, u"Vertrieb"_s}}},
        {"a made-up name is not a field",
         {{ActField::Vorname, u"Anna"_s}, {ActField::Nachname, u"Schmidt"_s}}},
        {"shared and missing labels", {{42, u"Herr Paul"_s}, {150, u"x"_s}, {999, u"y"_s}}},
        {"nothing but an e-mail", {{ActField::EMail, u"a@b.de"_s}}},
    };
    const NoteLabels labels(Catalogue);
    for (const auto &c : cases) {
        for (const VCardVersion version : {VCardVersion::V4, VCardVersion::V3}) {
            const QByteArray card = WriteVCard(c.values, labels, version);
            EXPECT_EQ(readBack(card, labels), c.values)
                << c.name << (version == VCardVersion::V3 ? " (3.0)" : " (4.0)") << "\n"
                << card.toStdString() << "\ngot " << show(readBack(card, labels));
        }
    }
}

TEST(VCardRoundTrip, TheSameValuesGiveTheSameCard)
{
    const NoteLabels labels(Catalogue);
    const ContactValues values{{ActField::Firma, u"A"_s}, {ActField::Ort, u"B"_s}};
    EXPECT_EQ(WriteVCard(values, labels, VCardVersion::V4),
              WriteVCard(values, labels, VCardVersion::V4));
    EXPECT_NE(ContactUid(values), ContactUid({{ActField::Firma, u"A"_s}}));
    EXPECT_TRUE(ContactUid(values).startsWith(u"urn:uuid:"_s));
}

TEST(VCardImport, CardsOfOtherAddressBooksFillTheFields)
{
    const struct
    {
        const char *name;
        QByteArray card;
        ContactValues values;
        QStringList unused;
    } cases[] = {
        {"3.0 with groups, quoted parameters, bare types and a tab fold",
         "BEGIN:VCARD\nVERSION:3.0\nN:Meier;Eva;;Frau;\nFN:Eva Meier\n"
         "item1.EMAIL;TYPE=INTERNET:eva@example.org\nTEL;TYPE=\"HOME,VOICE\":030 1\n"
         "TEL;CELL:0172 2\nTEL;TYPE=WORK:030 3\nTEL;TYPE=WORK:030 4\nTEL:030 5\n"
         "ADR;TYPE=HOME:Postfach 7;;Weg 1,Haus B;Ber\n\tlin;BE;10115;DE\nBDAY:1980-01-01\n"
         "END:VCARD\n",
         {{ActField::Nachname, u"Meier"_s},
          {ActField::Vorname, u"Eva"_s},
          {ActField::Anrede, u"Frau"_s},
          {ActField::Kontakt, u"Eva Meier"_s},
          {ActField::EMail, u"eva@example.org"_s},
          {ActField::Mobil, u"0172 2"_s},
          {ActField::Telefon, u"030 1"_s},
          {ActField::Telefon2, u"030 3"_s},
          {ActField::Telefon3, u"030 4"_s},
          {ActField::Adresse, u"Weg 1"_s},
          {ActField::Adresse2, u"Haus B"_s},
          {ActField::Adresse3, u"Postfach 7"_s},
          {ActField::Ort, u"Berlin"_s},
          {ActField::PLZ, u"10115"_s},
          {ActField::Land, u"DE"_s}},
         {u"ADR (Region)"_s, u"BDAY"_s, u"TEL"_s}},
        {"4.0 with a free note and several units",
         "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Firma X\r\nORG:Firma X;Vertrieb;Nord\r\n"
         "NOTE:Rückruf erbeten\\nBranche: Bau\r\nEND:VCARD\r\n",
         {{ActField::Kontakt, u"Firma X"_s},
          {ActField::Firma, u"Firma X"_s},
          {ActField::Abteilung, u"Vertrieb, Nord"_s},
          {73, u"Bau"_s}},
         {u"NOTE"_s}},
    };
    const NoteLabels labels(Catalogue);
    for (const auto &c : cases) {
        const VCardReadResult read = ReadVCards(c.card);
        ASSERT_EQ(read.Cards.size(), 1) << c.name;
        const ImportedContact contact = ContactFromVCard(read.Cards.first(), labels);
        EXPECT_EQ(contact.Values, c.values) << c.name << "\ngot " << show(contact.Values);
        EXPECT_EQ(contact.Unused.join(u','), c.unused.join(u',')) << c.name;
    }
}

TEST(ContactCsv, QuotesWhatNeedsItAndStartsWithAByteOrderMark)
{
    const QByteArray header = ContactCsv::Header();
    EXPECT_TRUE(header.startsWith("\xEF\xBB\xBF"
                                  "Firma,Abteilung,Anrede,Kontakt,"))
        << header.toStdString();
    EXPECT_TRUE(header.endsWith(",Telefon 3,Notiz\r\n")) << header.toStdString();

    const NoteLabels labels(Catalogue);
    const ContactValues values{{ActField::Firma, u"Müller, \"M&S\""_s},
                               {ActField::Abteilung, u"a;b"_s},
                               {ActField::Telefon3, u"1\r\n2"_s},
                               {73, u"Bau"_s}};
    EXPECT_EQ(QString::fromUtf8(ContactCsv::Line(values, labels)),
              u"\"Müller, \"\"M&S\"\"\",a;b,,,,,,,,,,,,,,,,,,\"1\r\n2\",Branche: Bau\r\n"_s);
}
