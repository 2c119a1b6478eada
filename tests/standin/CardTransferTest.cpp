#include "StandinFixture.h"
#include "common/TestFiles.h"

#include "act/standin/ContactDatabase.h"
#include "act/standin/StandinPaths.h"
#include "support/ActFields.h"

#include <QFile>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

using namespace Qt::StringLiterals;

namespace {

class CardTransfer : public StandinFixture
{};

QByteArray card(const QByteArray &name)
{
    return "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:" + name + "\r\nEND:VCARD\r\n";
}

QVector<QMap<qint32, QString>> valuesOf(const QVector<StandinContact> &contacts)
{
    QVector<QMap<qint32, QString>> values;
    for (const StandinContact &contact : contacts)
        values.append(contact.values);
    return values;
}

} // namespace

TEST_F(CardTransfer, ExportThenImportGivesTheSameContactsAgain)
{
    const QString separators = u",;\\\\;,"_s;
    const QVector<QMap<qint32, QString>> contacts{
        {{ActField::Firma, u"Bäckerei Groß, Inh. J. Weiß"_s},
         {ActField::Abteilung, separators},
         {ActField::Adresse3, u"Hof; links"_s},
         {42, u"Empfehlung: Herr Paul\r\nzweite Zeile"_s},
         {150, u"ohne Bezeichnung"_s},
         {73, u"Bau\x01\tund\x1f Handwerk "_s + QString(200, u'ß')}},
        {{ActField::EMail, u"nur@mail.de"_s}},
        {{ActField::Kontakt, u"Anna Alt"_s}, {ActField::Vorname, u"Anna"_s}},
    };
    ContactDatabase::OpenOrCreate(ContactDatabasePath())->AddContacts(contacts);
    const QVector<StandinContact> exported =
        ContactDatabase::Open(ContactDatabasePath())->Contacts();
    const QString file = Home() + u"/../alle.vcf"_s;
    QString error;
    ASSERT_EQ(RunStandin({u"export"_s, u"--vcard"_s, file}, nullptr, &error), 0)
        << error.toStdString();

    // Read back into the same stand-in, running: each contact once more.
    ASSERT_TRUE(StartStandin());
    QString report;
    EXPECT_EQ(RunStandin({u"import"_s, file}, &report, &error), 0) << error.toStdString();
    EXPECT_TRUE(report.contains(u"hinzugefügt: 4, übersprungen: 0"_s)) << report.toStdString();
    const QVector<StandinContact> all = ContactDatabase::Open(ContactDatabasePath())->Contacts();
    EXPECT_EQ(valuesOf(all.mid(exported.size())), valuesOf(exported));
}

// Each file's exit status, report and the contacts it adds: a bad line or an
// oversize photo costs only itself, a lost value is named and gives status 3.
TEST_F(CardTransfer, BadFilesAreReportedAndOnlyTheReadableCardsImported)
{
    QByteArray binary;
    for (int i = 0; i < 4096; ++i)
        binary += char(i % 256);
    QByteArray many;
    for (int i = 0; i < 10000; ++i)
        many += card("Person " + QByteArray::number(i));
    QByteArray photo = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Mit Foto\r\nPHOTO;ENCODING=b;TYPE=JPEG:";
    for (int i = 0; i < 30000; ++i)
        photo += "\r\n " + QByteArray(70, 'A');
    photo += "\r\nEND:VCARD\r\n";
    struct Case
    {
        const char *name;
        QByteArray bytes;
        qint64 sparseSize; // instead of the bytes, a file of this size
        int added;
        int code;
        const char *message;
    } const cases[] = {
        {"empty", {}, 0, 0, 1, "leer"},
        {"binary", binary, 0, 0, 1, "Binärdaten"},
        {"100 MB", {}, qint64(100) << 20, 0, 1, "größer als 32 MiB"},
        {"a card without END", "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Offen\r\n" + card("Danach"), 0, 1,
         1, "END:VCARD fehlt"},
        {"an overlong name", card(QByteArray(2 << 20, 'x')) + card("Danach"), 0, 1, 1,
         "FN länger als"},
        {"an overlong photo", photo, 0, 1, 3, "Zeile 4 übersprungen: PHOTO länger als"},
        {"invalid UTF-8", card("Caf\xe9") + card("Danach"), 0, 2, 3, "kein gültiges UTF-8"},
        {"a line that is no property",
         "BEGIN:VCARD\r\nVERSION:4.0\r\nNOPARAM;:x\r\nFN:Da\r\nEND:VCARD\r\n", 0, 1, 3,
         "Zeile 3 übersprungen: keine Eigenschaft"},
        {"vCard 5.0", "BEGIN:VCARD\r\nVERSION:5.0\r\nFN:Neu\r\nEND:VCARD\r\n", 0, 0, 1,
         "gelesen werden 2.1, 3.0 und 4.0"},
        {"a birthday", "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:Alt\r\nBDAY:1970-01-01\r\nEND:VCARD\r\n",
         0, 1, 3, "nicht übernommen: BDAY"},
        {"10,000 cards", many, 0, 10000, 0, "hinzugefügt: 10000, übersprungen: 0"},
    };
    ContactDatabase::OpenOrCreate(ContactDatabasePath());
    for (const auto &c : cases) {
        const QString path = Home() + u"/../bad.vcf"_s;
        writeBytes(path, c.bytes);
        if (c.sparseSize > 0)
            QFile::resize(path, c.sparseSize);
        const qsizetype before = ContactDatabase::Open(ContactDatabasePath())->Contacts().size();
        QString report, error;
        const int code = RunStandin({u"import"_s, path}, &report, &error);
        EXPECT_EQ(code, c.code) << c.name << ": " << (report + error).toStdString();
        EXPECT_TRUE((report + error).contains(QString::fromUtf8(c.message)))
            << c.name << ": " << (report + error).toStdString();
        EXPECT_EQ(ContactDatabase::Open(ContactDatabasePath())->Contacts().size(), before + c.added)
            << c.name;
    }
}

#ifndef Q_OS_WIN
TEST_F(CardTransfer, WhatIsNoFileIsNamed)
{
    ContactDatabase::OpenOrCreate(ContactDatabasePath());
    const QString fifo = Home() + u"/../pipe.vcf"_s;
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const struct
    {
        QString path;
        const char *message;
    } cases[] = {
        {fifo, "benannte Pipe (FIFO)"},
        {u"/dev/null"_s, "ein Gerät"},
        {Home(), "ein Ordner"},
        {Home() + u"/fehlt.vcf"_s, "gibt es nicht"},
    };
    for (const auto &c : cases) {
        QString error;
        EXPECT_EQ(RunStandin({u"import"_s, c.path}, nullptr, &error), 1) << c.message;
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.message))) << error.toStdString();
    }
}
#endif
