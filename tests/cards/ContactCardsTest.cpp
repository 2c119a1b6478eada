#include "cards/CsvWriter.h"
#include "cards/NoteLabels.h"
#include "cards/VCardImport.h"
#include "cards/VCardReader.h"
#include "cards/VCardText.h"
#include "cards/VCardWriter.h"
#include "support/ActFields.h"

#include "common/CaseFile.h"

#include <QFile>
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

QByteArray cardFile(const QString &name)
{
    QFile file(QStringLiteral(ORDALIS_TEST_DATA "/exporters/") + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return file.readAll();
}

// Each case of data/card-cases.txt: values that survive a write and a read
// in both versions, or another address book's card and what it fills.
using VCardCases = CaseFileTest<>;

TEST_P(VCardCases, Hold)
{
    const NoteLabels labels(Catalogue);
    const DataCase &c = GetParam();
    ContactValues values;
    for (const auto &[field, value] : c.lines) {
        bool number = false;
        if (const int id = field.toInt(&number); number)
            values.insert(id, QString::fromUtf8(Unescape(value)));
    }
    if (!c.has(u"card"_s) && !c.has(u"file"_s)) {
        for (const VCardVersion version : {VCardVersion::V4, VCardVersion::V3}) {
            const QByteArray card = WriteVCard(values, labels, version);
            EXPECT_EQ(readBack(card, labels), values)
                << card.toStdString() << "\ngot " << show(readBack(card, labels));
        }
        return;
    }
    const QStringList file = c.value(u"file"_s).split(u' ');
    const VCardReadResult read = c.has(u"card"_s) ? ReadVCards(Unescape(c.value(u"card"_s)))
                                                  : ReadVCards(cardFile(file.first()));
    EXPECT_TRUE(read.Problems.isEmpty()) << read.Problems.value(0).Message.toStdString();
    const qsizetype index = file.size() > 1 ? file[1].toInt() - 1 : 0;
    ASSERT_LT(index, read.Cards.size());
    const VCard &card = read.Cards[index];
    const ImportedContact contact = ContactFromVCard(card, labels);
    EXPECT_EQ(contact.Values, values) << show(contact.Values);
    EXPECT_EQ(contact.Unused.join(u',').toStdString(), c.value(u"unused"_s).toStdString());
    EXPECT_EQ(card.SkippedLines.join(u" | "_s).toStdString(), c.value(u"notes"_s).toStdString());
    for (const QString &value : std::as_const(contact.Values)) {
        EXPECT_FALSE(value.contains(u'\n') || value.contains(u'\r')) << value.toStdString();
        EXPECT_EQ(value, value.trimmed());
    }
}

INSTANTIATE_TEST_SUITE_P(File, VCardCases, CasesOf(ORDALIS_TEST_DATA "/card-cases.txt"),
                         CaseTestName);

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
