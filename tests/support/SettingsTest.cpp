#include "TestFiles.h"

#include "support/FieldRows.h"
#include "support/ProgramFolder.h"
#include "support/clsINI.h"
#include "support/modZusatzDefs.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include <vector>

namespace {

using Entries = std::vector<std::pair<QString, qint32>>;

Entries entriesOf(const FieldRows &rows)
{
    Entries entries;
    for (int i = 0; i < rows.EntryCount(); ++i)
        entries.emplace_back(rows.EntryAt(i).Name, rows.EntryAt(i).FieldNumber);
    return entries;
}

Entries standardEntries()
{
    FieldRows rows;
    rows.FillStandardCatalogue();
    return entriesOf(rows);
}

class SettingsTest : public ::testing::Test
{
protected:
    QTemporaryDir folder;
    FieldRows rows;

    void SetUp() override { rows.FillStandardCatalogue(); }
    QString path() const { return folder.filePath(QStringLiteral("ordalis.ini")); }
};

TEST_F(SettingsTest, MissingFileGivesDefaultsAndCreatesNothing)
{
    const Settings settings = LoadSettings(rows, path());
    EXPECT_TRUE(settings.UserDefinitions.isEmpty());
    EXPECT_FALSE(settings.DefinitionsLoaded);
    EXPECT_EQ(settings.StandardLand4PLZ, QStringLiteral("Österreich"));
    EXPECT_EQ(settings.StandardLand5PLZ, QStringLiteral("Deutschland"));
    EXPECT_EQ(entriesOf(rows), standardEntries());
    SaveFieldCache(rows, path());
    EXPECT_TRUE(folderEntries(folder.path()).isEmpty());
}

TEST_F(SettingsTest, DefinitionsLoadUpToTheFirstGap)
{
    struct Case
    {
        const char *name;
        QByteArray definitions;
        std::vector<std::pair<qint16, QString>> expected;
    };
    const std::vector<Case> cases = {
        {"empty ID ends the list",
         "ID1=25\r\nWert1=Firma:\r\nID2=\r\nWert2=Ort:\r\n",
         {{25, QStringLiteral("Firma:")}}},
        {"gap ends the list",
         "ID1=25\r\nWert1=a\r\nID3=26\r\nWert3=c\r\n",
         {{25, QStringLiteral("a")}}},
        {"missing Wert ends the list",
         "ID1=25\r\nWert1=a\r\nID2=26\r\n",
         {{25, QStringLiteral("a")}}},
        {"letters give 0", "ID1=abc\r\nWert1=x\r\n", {{0, QStringLiteral("x")}}},
        {"leading number taken", "ID1= 12abc\r\nWert1=x\r\n", {{12, QStringLiteral("x")}}},
        {"halves round to even",
         "ID1=2.5\r\nWert1=a\r\nID2=3.5\r\nWert2=b\r\nID3=-2.5\r\nWert3=c\r\nID4=1e3\r\nWert4="
         "d\r\n",
         {{2, QStringLiteral("a")},
          {4, QStringLiteral("b")},
          {-2, QStringLiteral("c")},
          {1000, QStringLiteral("d")}}},
        {"outside 16 bits skipped, list goes on",
         "ID1=40000\r\nWert1=a\r\nID2=32767.5\r\nWert2=b\r\nID3=-32768\r\nWert3=c\r\n"
         "ID4=1e999\r\nWert4=d\r\nID5=32767.4\r\nWert5=e\r\n",
         {{-32768, QStringLiteral("c")}, {32767, QStringLiteral("e")}}},
        {"umlaut label",
         "ID1=79\r\nWert1=Stra\xdf"
         "e:\r\n",
         {{79, QStringLiteral("Straße:")}}},
    };
    for (const Case &c : cases) {
        writeBytes(path(), "[Definitionen]\r\n" + c.definitions);
        const Settings settings = LoadSettings(rows, path());
        std::vector<std::pair<qint16, QString>> got;
        for (const clsZusatzDefs &d : settings.UserDefinitions)
            got.emplace_back(d.ID, d.Wert);
        EXPECT_EQ(got, c.expected) << "case: " << c.name;
        EXPECT_EQ(settings.DefinitionsLoaded, !c.expected.empty()) << "case: " << c.name;
    }
}

TEST_F(SettingsTest, FieldCacheReplacesTheCatalogueOnlyWhenOnAndUsable)
{
    struct Case
    {
        const char *name;
        QByteArray file;
        Entries expected; // empty: the standard catalogue stays
    };
    const std::vector<Case> cases = {
        {"cache off", "[Config]\r\nCacheFelder=0\r\n[Felder]\r\nZeile1=25;Firma\r\n", {}},
        {"cache switch not exactly 1",
         "[Config]\r\nCacheFelder=1 x\r\n[Felder]\r\nZeile1=25;F\r\n",
         {}},
        {"cache empty", "[Config]\r\nCacheFelder=1\r\n[Felder]\r\nZeile1=\r\nZeile2=25;F\r\n", {}},
        {"only malformed lines", "[Config]\r\nCacheFelder=1\r\n[Felder]\r\nZeile1=Firma\r\n", {}},
        {"lines in sorted order, semicolon kept in name",
         "[Config]\r\nCacheFelder=1\r\n[Felder]\r\nZeile1=88;Name;mit;Semikolon\r\n"
         "Zeile2=25;Firma\r\nZeile3=\r\nZeile4=26;Kontakt\r\n",
         {{QStringLiteral("Firma"), 25}, {QStringLiteral("Name;mit;Semikolon"), 88}}},
        {"malformed lines skipped",
         "[Config]\r\nCacheFelder=1\r\n[Felder]\r\nZeile1=ohne Semikolon\r\nZeile2=x;Buchstaben\r\n"
         "Zeile3=70000;Zu gross\r\nZeile4=2.5;Halb\r\nZeile5= 12 "
         ";Umrandet\r\nZeile6=-3;Negativ\r\n",
         {{QStringLiteral("Negativ"), -3}, {QStringLiteral("Umrandet"), 12}}},
    };
    for (const Case &c : cases) {
        FieldRows fresh;
        fresh.FillStandardCatalogue();
        writeBytes(path(), c.file);
        LoadSettings(fresh, path());
        EXPECT_EQ(entriesOf(fresh), c.expected.empty() ? standardEntries() : c.expected)
            << "case: " << c.name;
    }
}

TEST_F(SettingsTest, SavedCacheHasEndMarkerAndLoadsBack)
{
    writeBytes(path(), "[Config]\r\nCacheFelder=1\r\n");
    rows.ClearAllLists();
    rows.AddEntryToAllRows(QStringLiteral("Firma"), 25);
    rows.AddEntryToAllRows(QStringLiteral("Abteilung"), 88);
    rows.AddEntryToAllRows(QStringLiteral("Ärger;x"), 7);
    SaveFieldCache(rows, path());
    EXPECT_EQ(visible(readBytes(path())),
              visible("[Config]\r\nCacheFelder=1\r\n[Felder]\r\nZeile1=88;Abteilung\r\n"
                      "Zeile2=7;\xc4rger;x\r\nZeile3=25;Firma\r\nZeile4=\r\n"));

    FieldRows loaded;
    loaded.FillStandardCatalogue();
    LoadSettings(loaded, path());
    EXPECT_EQ(entriesOf(loaded), entriesOf(rows));

    // A shorter list leaves the older lines behind its end marker.
    rows.ClearAllLists();
    rows.AddEntryToAllRows(QStringLiteral("Ort"), 30);
    SaveFieldCache(rows, path());
    EXPECT_EQ(visible(readBytes(path())),
              visible("[Config]\r\nCacheFelder=1\r\n[Felder]\r\nZeile1=30;Ort\r\n"
                      "Zeile2=\r\nZeile3=25;Firma\r\nZeile4=\r\n"));
    LoadSettings(loaded, path());
    EXPECT_EQ(entriesOf(loaded), (Entries{{QStringLiteral("Ort"), 30}}));

    // Saving what the file already holds does not touch it.
    const ino_t before = inodeOf(path());
    SaveFieldCache(loaded, path());
    EXPECT_EQ(inodeOf(path()), before);
}

TEST_F(SettingsTest, SavedCacheEqualsKeyByKeyWrites)
{
    const QByteArray layouts[] = {
        "[Config]\r\nCacheFelder=1",
        "[Config]\r\nCacheFelder=1\r\n[Felder]\r\n;Kommentar\r\nzeile2=alt\r\n\r\n[Definitionen]"
        "\r\n"
        "ID1=25\r\nWert1=Firma:\r\n",
        "[Felder]\r\nZeile1=1;a\r\nZeile1=2;b\r\nZeile9=9;z\r\n[Config]\r\nCacheFelder=1\r\n"
        "[felder]\r\nZeile3=x\r\n",
        "Zeile1=vor\r\n[CONFIG]\r\ncachefelder = 1\n[Felder]\nZEILE4 = 4;Alt\n",
    };
    rows.AddEntryToAllRows(QStringLiteral("Extra  Feld "), 300);
    for (const QByteArray &layout : layouts) {
        const QString reference = folder.filePath(QStringLiteral("reference.ini"));
        writeBytes(reference, layout);
        clsINI ini;
        ini.setFileName(reference);
        for (int i = 0; i < rows.EntryCount(); ++i)
            ini.WriteData(
                QStringLiteral("Felder"), QStringLiteral("Zeile%1").arg(i + 1),
                QStringLiteral("%1;%2").arg(rows.EntryAt(i).FieldNumber).arg(rows.EntryAt(i).Name));
        ini.WriteData(QStringLiteral("Felder"),
                      QStringLiteral("Zeile%1").arg(rows.EntryCount() + 1), QString());

        writeBytes(path(), layout);
        SaveFieldCache(rows, path());
        EXPECT_EQ(visible(readBytes(path())), visible(readBytes(reference)))
            << "layout: " << visible(layout);
    }
}

TEST_F(SettingsTest, UnwritableCacheIsLeftAlone)
{
    const QByteArray content = "[Config]\r\nCacheFelder=1\r\n";
    writeBytes(path(), content);
    QFile::setPermissions(path(), QFile::ReadOwner);
    SaveFieldCache(rows, path());
    QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(readBytes(path()), content);
    EXPECT_EQ(folderEntries(folder.path()), QStringList{QStringLiteral("ordalis.ini")});
}

TEST_F(SettingsTest, BadFilesGiveDefaultsAndAreNeverRewritten)
{
    QByteArray garbage(20 * 1024 * 1024, Qt::Uninitialized);
    QRandomGenerator random(4711);
    for (char &byte : garbage)
        byte = char(random.bounded(256));
    struct Case
    {
        const char *name;
        QByteArray file;
    };
    const std::vector<Case> cases = {
        {"20 MB of random bytes", garbage},
        {"NUL bytes",
         QByteArray("[Config]\0\r\nCache\0Felder=1\r\nStandard\0Land4PLZ=X\r\n\0\0[Definitionen]\0"
                    "ID1=25\r\nWert1=a",
                    80)},
        {"lines without =",
         "[Config]\r\nCacheFelder\r\nStandardLand4PLZ\r\n[Definitionen]\r\nID1\r\n"},
        {"lone brackets", "[\r\n]\r\n[[]]\r\n=\r\n==\r\n;\r\n"},
    };
    for (const Case &c : cases) {
        writeBytes(path(), c.file);
        FieldRows fresh;
        fresh.FillStandardCatalogue();
        const Settings settings = LoadSettings(fresh, path());
        EXPECT_TRUE(settings.UserDefinitions.isEmpty()) << c.name;
        EXPECT_EQ(settings.StandardLand4PLZ, QStringLiteral("Österreich")) << c.name;
        EXPECT_EQ(settings.StandardLand5PLZ, QStringLiteral("Deutschland")) << c.name;
        EXPECT_EQ(entriesOf(fresh), standardEntries()) << c.name;
        SaveFieldCache(fresh, path());
        EXPECT_TRUE(readBytes(path()) == c.file) << "rewritten: " << c.name;
    }

    // A folder where the file should be.
    QDir(folder.path()).mkdir(QStringLiteral("ordalis.ini"));
    FieldRows fresh;
    fresh.FillStandardCatalogue();
    const Settings settings = LoadSettings(fresh, path());
    SaveFieldCache(fresh, path());
    EXPECT_EQ(settings.StandardLand5PLZ, QStringLiteral("Deutschland"));
    EXPECT_EQ(entriesOf(fresh), standardEntries());
}

TEST(SettingsPath, FollowsTheProgramFolder)
{
    QTemporaryDir home;
    qputenv("ORDALIS_HOME", (home.path() + QStringLiteral("/")).toLocal8Bit());
    EXPECT_EQ(ProgramFolder(), home.path());
    EXPECT_EQ(SettingsFilePath(), home.path() + QStringLiteral("/ordalis.ini"));
    qunsetenv("ORDALIS_HOME");
    // Without a QCoreApplication: the folder of the running executable.
    EXPECT_EQ(
        ProgramFolder(),
        QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).absolutePath());
}

} // namespace
