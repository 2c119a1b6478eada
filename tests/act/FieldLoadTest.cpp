#include "ActTestSupport.h"

#include "act/ActConnection.h"
#include "act/ContactWriter.h"

#include "support/MessageTexts.h"

namespace {

const QByteArray CacheOn = "[Config]\r\nCacheFelder=1\r\n";
const QStringList LoadFailed{MessageText::FieldLoadFailed};

using FieldLoadTest = ActTest;

TEST_F(FieldLoadTest, ListsTheFieldsUnderTheirLabelsOrMadeUpNames)
{
    ASSERT_TRUE(StartStandin());
    SetFieldLabel(201, QStringLiteral("Privat-E-Mail"));
    ASSERT_TRUE(LoadFieldList(rows, settings, act, host));

    EXPECT_EQ(rows.EntryCount(), ContactDatabase::SeedFields().size());
    const std::pair<qint32, QString> cases[] = {
        {25, QStringLiteral("Firma")},
        {200, QStringLiteral("eMail")},
        {150, QStringLiteral("Feld 150")},
        {202, QStringLiteral("Feld 202")},
        {201, QStringLiteral("Privat-E-Mail")},
        // two fields of one label: listed twice, each with its own number
        {41, QStringLiteral("Empfehlung")},
        {42, QStringLiteral("Empfehlung")}};
    for (const auto &[number, name] : cases)
        EXPECT_EQ(NamesOf(number), QStringList{name}) << "field " << number;

    SetFieldLabel(200, QStringLiteral("E-Mail-Adresse"));
    ASSERT_TRUE(LoadFieldList(rows, settings, act, host));
    EXPECT_EQ(NamesOf(200), QStringList{QStringLiteral("E-Mail-Adresse")});
}

TEST_F(FieldLoadTest, RecognisesAgainAndCachesTheNewCatalogue)
{
    WriteSettings(CacheOn);
    ASSERT_TRUE(StartStandin());
    host.clipboard = TestData(QStringLiteral("signature-munich.txt"));
    ASSERT_TRUE(LoadFieldList(rows, settings, act, host));

    EXPECT_EQ(host.captures, 1);
    EXPECT_FALSE(host.busy);
    EXPECT_EQ(act.ActDatabase, nullptr); // held for one load only
    // The e-mail field has no label in ACT!; recognition finds it by number.
    ASSERT_GE(rows.SelectedPosition(7), 0);
    EXPECT_EQ(rows.EntryAt(rows.SelectedPosition(7)).Name, QStringLiteral("eMail"));

    FieldRows restarted;
    LoadSettings(restarted, SettingsPath());
    EXPECT_EQ(CatalogueOf(restarted), CatalogueOf(rows));
}

TEST_F(FieldLoadTest, ActClosedKeepsTheCatalogueAndSavesItUnchanged)
{
    const struct
    {
        const char *name;
        QByteArray settings;
        int entries;
    } cases[] = {
        {"cached list", CacheOn + "[Felder]\r\nZeile1=25;Firma\r\nZeile2=7001;Hobby\r\nZeile3=\r\n",
         2},
        // the standard catalogue is what the rows hold, so it becomes the cache
        {"empty cache", CacheOn, 20},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        WriteSettings(c.settings);
        FieldRows before;
        before.FillStandardCatalogue();
        LoadSettings(before, SettingsPath());
        messages.shown.clear();

        EXPECT_FALSE(LoadFieldList(before, settings, act, host));
        EXPECT_EQ(messages.Texts(), LoadFailed);
        EXPECT_EQ(messages.Styles().value(0), MessageStyle::Exclamation);
        EXPECT_EQ(host.captures, 0);
        EXPECT_FALSE(host.busy);
        EXPECT_EQ(before.EntryCount(), c.entries);
        FieldRows after;
        LoadSettings(after, SettingsPath());
        EXPECT_EQ(CatalogueOf(after), CatalogueOf(before));
    }
}

TEST_F(FieldLoadTest, AnEmptyFieldListLeavesNoRowAFieldAndWritesAnEmptyContact)
{
    ASSERT_TRUE(StartStandin({QStringLiteral("--fields"), QStringLiteral("0")}));
    host.clipboard = TestData(QStringLiteral("signature-munich.txt"));
    ASSERT_TRUE(LoadFieldList(rows, settings, act, host));
    ASSERT_EQ(rows.EntryCount(), 0);
    for (int row = 0; row < FieldRows::RowCount; ++row)
        EXPECT_FALSE(rows.ReadRow(row).has_value()) << "row " << row;

    const qsizetype before = Contacts().size();
    EXPECT_TRUE(WriteContact(true, rows, context, act, host));
    EXPECT_EQ(Contacts().size(), before + 1);
    EXPECT_TRUE(Contacts().last().values.isEmpty());
}

TEST_F(FieldLoadTest, AFailedLoadLosesNothingAndTheNextLoadConnectsAfresh)
{
    WriteSettings(CacheOn);
    const QByteArray settingsBefore = SettingsContent();
    host.clipboard = TestData(QStringLiteral("signature-munich.txt"));
    const Catalogue before = CatalogueOf(rows);
    // More fields than a 16-bit count can walk, or no open database: both fail
    // after connecting.
    for (const QStringList &fault : {QStringList{QStringLiteral("--fields"), QStringLiteral("40000")},
                                     QStringList{QStringLiteral("--no-database")}}) {
        SCOPED_TRACE(fault.join(u' ').toStdString());
        messages.shown.clear();
        ASSERT_TRUE(StartStandin(fault));
        EXPECT_FALSE(LoadFieldList(rows, settings, act, host));
        EXPECT_EQ(messages.Texts(), LoadFailed);
        EXPECT_EQ(CatalogueOf(rows), before);
        EXPECT_EQ(host.captures, 0);
        EXPECT_FALSE(host.busy);
        EXPECT_EQ(SettingsContent(), settingsBefore);
        EXPECT_EQ(act.ActDatabase, nullptr);
        StopStandin();
    }
    ASSERT_TRUE(StartStandin());
    EXPECT_TRUE(LoadFieldList(rows, settings, act, host));
    EXPECT_EQ(rows.EntryCount(), ContactDatabase::SeedFields().size());
}

} // namespace
