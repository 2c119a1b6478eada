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
    ASSERT_TRUE(messages.Done(LoadFieldList(rows, settings, act, host)));

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
    ASSERT_TRUE(messages.Done(LoadFieldList(rows, settings, act, host)));
    EXPECT_EQ(NamesOf(200), QStringList{QStringLiteral("E-Mail-Adresse")});
}

TEST_F(FieldLoadTest, RecognisesAgainAndCachesTheNewCatalogue)
{
    WriteSettings(CacheOn);
    ASSERT_TRUE(StartStandin());
    host.clipboard = TestData(QStringLiteral("signature-munich.txt"));
    ASSERT_TRUE(messages.Done(LoadFieldList(rows, settings, act, host)));

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
    // A cached list stays; without one the standard catalogue is what the
    // rows hold, so it becomes the cache.
    const std::pair<QByteArray, int> cases[] = {
        {CacheOn + "[Felder]\r\nZeile1=25;Firma\r\nZeile2=7001;Hobby\r\nZeile3=\r\n", 2},
        {CacheOn, 20}};
    for (const auto &[content, entries] : cases) {
        WriteSettings(content);
        FieldRows before;
        before.FillStandardCatalogue();
        LoadSettings(before, SettingsPath());
        messages.said.clear();

        EXPECT_FALSE(messages.Done(LoadFieldList(before, settings, act, host)));
        EXPECT_EQ(messages.Texts(), LoadFailed);
        EXPECT_EQ(messages.Styles().value(0), MessageStyle::Exclamation);
        EXPECT_EQ(host.captures, 0);
        EXPECT_FALSE(host.busy);
        EXPECT_EQ(before.EntryCount(), entries);
        FieldRows after;
        LoadSettings(after, SettingsPath());
        EXPECT_EQ(CatalogueOf(after), CatalogueOf(before));
    }
}

TEST_F(FieldLoadTest, AfterNoOpenDatabaseTheNextLoadConnectsAfresh)
{
    ASSERT_TRUE(StartStandin({QStringLiteral("--no-database")}));
    EXPECT_FALSE(messages.Done(LoadFieldList(rows, settings, act, host)));
    EXPECT_EQ(messages.Texts(), LoadFailed);
    EXPECT_EQ(rows.EntryCount(), 20);

    StopStandin();
    ASSERT_TRUE(StartStandin());
    EXPECT_TRUE(messages.Done(LoadFieldList(rows, settings, act, host)));
    EXPECT_EQ(rows.EntryCount(), ContactDatabase::SeedFields().size());
}

TEST_F(FieldLoadTest, AFailureDuringTheLoadLosesNothingAndWritesNoCache)
{
    WriteSettings(CacheOn);
    const QByteArray settingsBefore = SettingsContent();
    // More fields than a 16-bit count can walk: the load fails after connecting.
    ASSERT_TRUE(StartStandin({QStringLiteral("--fields"), QStringLiteral("40000")}));
    host.clipboard = TestData(QStringLiteral("signature-munich.txt"));
    const Catalogue before = CatalogueOf(rows);

    EXPECT_FALSE(messages.Done(LoadFieldList(rows, settings, act, host)));
    EXPECT_EQ(messages.Texts(), LoadFailed);
    EXPECT_EQ(CatalogueOf(rows), before);
    EXPECT_EQ(host.captures, 0);
    EXPECT_FALSE(host.busy);
    EXPECT_EQ(SettingsContent(), settingsBefore);
    EXPECT_EQ(act.ActDatabase, nullptr);
}

} // namespace
