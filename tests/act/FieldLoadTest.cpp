#include "ActTestSupport.h"

#include "act/ActConnection.h"

#include "support/MessageTexts.h"
#include "support/modZusatzDefs.h"

namespace {

const QByteArray CacheOn = "[Config]\r\nCacheFelder=1\r\n";

class FieldLoadTest : public ActTest
{};

TEST_F(FieldLoadTest, ListsTheDatabaseFieldsUnderTheirLabelsOrMadeUpNames)
{
    ASSERT_TRUE(standin.Start());
    standin.SetFieldLabel(201, QStringLiteral("Privat-E-Mail"));
    ASSERT_TRUE(LoadFieldList(rows, host));

    EXPECT_EQ(rows.EntryCount(), ContactDatabase::SeedFields().size());
    const struct
    {
        qint32 number;
        QStringList names;
    } cases[] = {
        {25, {QStringLiteral("Firma")}},         {38, {QStringLiteral("Mobiltelefon")}},
        {200, {QStringLiteral("eMail")}},        // unlabelled e-mail field
        {150, {QStringLiteral("Feld 150")}},     // unlabelled field
        {202, {QStringLiteral("Feld 202")}},     // unlabelled, next to the e-mail field
        {201, {QStringLiteral("Privat-E-Mail")}} // a label always wins
    };
    for (const auto &expected : cases)
        EXPECT_EQ(NamesOf(expected.number), expected.names) << "field " << expected.number;

    // Two fields of one label are listed twice, each with its own number.
    EXPECT_EQ(NamesOf(41), QStringList{QStringLiteral("Empfehlung")});
    EXPECT_EQ(NamesOf(42), QStringList{QStringLiteral("Empfehlung")});
}

TEST_F(FieldLoadTest, FieldTwoHundredKeepsALabelItHas)
{
    ASSERT_TRUE(standin.Start());
    standin.SetFieldLabel(200, QStringLiteral("E-Mail-Adresse"));
    ASSERT_TRUE(LoadFieldList(rows, host));
    EXPECT_EQ(NamesOf(200), QStringList{QStringLiteral("E-Mail-Adresse")});
}

TEST_F(FieldLoadTest, RecognisesTheClipboardAgainUnderTheNewCatalogue)
{
    ASSERT_TRUE(standin.Start());
    host.clipboard = TestData(QStringLiteral("signature-munich.txt"));
    ASSERT_TRUE(LoadFieldList(rows, host));

    EXPECT_EQ(host.captures, 1);
    EXPECT_FALSE(host.busy);
    // The e-mail field has no label in the database; recognition finds it by number.
    const std::optional<RowContent> mail = rows.ReadRow(7);
    ASSERT_TRUE(mail.has_value());
    EXPECT_EQ(mail->FieldNumber, 200);
    EXPECT_EQ(rows.EntryAt(rows.SelectedPosition(7)).Name, QStringLiteral("eMail"));
    // The database object lives for one load only.
    EXPECT_EQ(ActDatabase, nullptr);
}

TEST_F(FieldLoadTest, WritesTheLoadedListAsTheFieldCache)
{
    WriteSettings(CacheOn);
    ASSERT_TRUE(standin.Start());
    ASSERT_TRUE(LoadFieldList(rows, host));

    FieldRows restarted;
    restarted.FillStandardCatalogue();
    LoadSettings(restarted);
    EXPECT_EQ(CatalogueOf(restarted), CatalogueOf(rows));
    EXPECT_EQ(restarted.EntryCount(), ContactDatabase::SeedFields().size());
}

TEST_F(FieldLoadTest, ActNotRunningKeepsTheCatalogueAndSavesItUnchanged)
{
    const struct
    {
        const char *name;
        QByteArray settings;
        int entries; // what the rows hold after LoadSettings
    } cases[] = {
        {"cached list",
         CacheOn + "[Felder]\r\nZeile1=25;Firma\r\nZeile2=200;eMail\r\n"
                   "Zeile3=7001;Hobby\r\nZeile4=\r\n",
         3},
        // The standard catalogue is what the rows hold, so it becomes the cache.
        {"empty cache", CacheOn, 20},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        WriteSettings(c.settings);
        FieldRows before;
        before.FillStandardCatalogue();
        LoadSettings(before);
        ASSERT_EQ(before.EntryCount(), c.entries);
        messages.shown.clear();

        EXPECT_FALSE(LoadFieldList(before, host));
        EXPECT_EQ(messages.Texts(), QStringList{MessageText::FieldLoadFailed});
        EXPECT_EQ(messages.shown.value(0).style, MessageStyle::Exclamation);
        EXPECT_EQ(host.captures, 0);
        EXPECT_FALSE(host.busy);
        EXPECT_EQ(before.EntryCount(), c.entries);

        FieldRows after;
        LoadSettings(after);
        EXPECT_EQ(CatalogueOf(after), CatalogueOf(before));
    }
}

TEST_F(FieldLoadTest, NoOpenDatabaseFailsAndTheNextLoadConnectsAfresh)
{
    ASSERT_TRUE(standin.Start({QStringLiteral("--no-database")}));
    EXPECT_FALSE(LoadFieldList(rows, host));
    EXPECT_EQ(messages.Texts(), QStringList{MessageText::FieldLoadFailed});
    EXPECT_EQ(rows.EntryCount(), 20);
    EXPECT_EQ(ActDatabase, nullptr);

    standin.Stop();
    ASSERT_TRUE(standin.Start());
    EXPECT_TRUE(LoadFieldList(rows, host));
    EXPECT_EQ(rows.EntryCount(), ContactDatabase::SeedFields().size());
}

TEST_F(FieldLoadTest, AnEmptyFieldListEmptiesEveryRow)
{
    ASSERT_TRUE(standin.Start({QStringLiteral("--fields"), QStringLiteral("0")}));
    host.clipboard = TestData(QStringLiteral("signature-munich.txt"));
    ASSERT_TRUE(LoadFieldList(rows, host));

    EXPECT_EQ(rows.EntryCount(), 0);
    for (int row = 0; row < FieldRows::RowCount; ++row)
        EXPECT_FALSE(rows.ReadRow(row).has_value()) << "row " << row;
}

TEST_F(FieldLoadTest, AFailureDuringTheLoadKeepsTheCatalogueAndWritesNoCache)
{
    WriteSettings(CacheOn);
    const QByteArray settingsBefore = SettingsContent();
    // More fields than a 16-bit count can walk: the load fails after connecting.
    ASSERT_TRUE(standin.Start({QStringLiteral("--fields"), QStringLiteral("40000")}));
    host.clipboard = TestData(QStringLiteral("signature-munich.txt"));
    const Catalogue before = CatalogueOf(rows);

    EXPECT_FALSE(LoadFieldList(rows, host));
    EXPECT_EQ(messages.Texts(), QStringList{MessageText::FieldLoadFailed});
    EXPECT_EQ(CatalogueOf(rows), before);
    EXPECT_EQ(host.captures, 0);
    EXPECT_FALSE(host.busy);
    EXPECT_EQ(SettingsContent(), settingsBefore);
    EXPECT_EQ(ActDatabase, nullptr);
}

} // namespace
