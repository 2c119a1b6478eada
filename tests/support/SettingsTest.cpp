#include "common/CaseFile.h"
#include "common/TestFiles.h"

#include "support/FieldRows.h"
#include "support/SettingsFile.h"

#include <gtest/gtest.h>

#include <QLoggingCategory>
#include <QRandomGenerator>

#include <functional>

#include <vector>

namespace {

using namespace Qt::StringLiterals;

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

TEST_F(SettingsTest, SavedCacheHasEndMarkerAndLoadsBack)
{
    writeBytes(path(), "[Config]\r\nCacheFelder=1\r\n");
    rows.ClearAllLists();
    rows.AddEntryToAllRows(QStringLiteral("Firma"), 25);
    rows.AddEntryToAllRows(QStringLiteral("Abteilung"), 88);
    rows.AddEntryToAllRows(QStringLiteral("Ärger;x"), 7);
    SaveFieldCache(rows, path());
    EXPECT_EQ(readBytes(path()),
              QByteArray("[Config]\r\nCacheFelder=1\r\n[Felder]\r\nZeile1=88;Abteilung\r\n"
                         "Zeile2=7;\xc4rger;x\r\nZeile3=25;Firma\r\nZeile4=\r\n"));

    FieldRows loaded;
    loaded.FillStandardCatalogue();
    LoadSettings(loaded, path());
    EXPECT_EQ(entriesOf(loaded), entriesOf(rows));

    // A shorter list leaves the older lines behind its end marker.
    rows.ClearAllLists();
    rows.AddEntryToAllRows(QStringLiteral("Ort"), 30);
    SaveFieldCache(rows, path());
    EXPECT_EQ(readBytes(path()),
              QByteArray("[Config]\r\nCacheFelder=1\r\n[Felder]\r\nZeile1=30;Ort\r\n"
                         "Zeile2=\r\nZeile3=25;Firma\r\nZeile4=\r\n"));
    LoadSettings(loaded, path());
    EXPECT_EQ(entriesOf(loaded), (Entries{{QStringLiteral("Ort"), 30}}));

    // Saving what the file already holds does not touch it.
    const ino_t before = inodeOf(path());
    SaveFieldCache(loaded, path());
    EXPECT_EQ(inodeOf(path()), before);
}

using SettingsCases = CaseFileTest<SettingsTest>;

TEST_P(SettingsCases, Load)
{
    const DataCase &c = GetParam();
    const QByteArray file = Unescape(c.value(u"file"_s));
    writeBytes(path(), file);
    FieldRows loaded;
    loaded.FillStandardCatalogue();
    const Settings settings = LoadSettings(loaded, path());
    QStringList definitions;
    for (const FieldValue &d : settings.UserDefinitions)
        definitions << u"%1=%2"_s.arg(d.field).arg(d.value);
    EXPECT_EQ(definitions.join(u'|'), c.value(u"definitions"_s));
    EXPECT_EQ(settings.DefinitionsLoaded, !definitions.isEmpty());
    QStringList catalogue;
    for (const auto &[name, number] : entriesOf(loaded))
        catalogue << u"%1=%2"_s.arg(number).arg(name);
    EXPECT_EQ(entriesOf(loaded) == standardEntries() ? u"standard"_s : catalogue.join(u'|'),
              c.value(u"catalogue"_s));
    if (c.has(u"countries"_s)) {
        EXPECT_EQ(settings.StandardLand4PLZ + u'|' + settings.StandardLand5PLZ,
                  c.value(u"countries"_s));
    }
    if (c.has(u"save"_s)) {
        SaveFieldCache(loaded, path());
        EXPECT_EQ(readBytes(path()), file) << "a bad file is never rewritten";
    }
}

INSTANTIATE_TEST_SUITE_P(File, SettingsCases, CasesOf(ORDALIS_TEST_DATA "/settings-cases.txt"),
                         CaseTestName);

TEST_F(SettingsTest, MissingOrUnusableFilesGiveTheDefaultsAndAreNeverWritten)
{
    const Settings missing = LoadSettings(rows, path());
    EXPECT_FALSE(missing.DefinitionsLoaded);
    EXPECT_EQ(missing.StandardLand4PLZ + u'|' + missing.StandardLand5PLZ,
              u"Österreich|Deutschland"_s);
    SaveFieldCache(rows, path());
    EXPECT_TRUE(folderEntries(folder.path()).isEmpty());

    QByteArray garbage(20 * 1024 * 1024, Qt::Uninitialized);
    QRandomGenerator random(4711);
    for (char &byte : garbage)
        byte = char(random.bounded(256));
    writeBytes(path(), garbage);
    const Settings settings = LoadSettings(rows, path());
    EXPECT_TRUE(settings.UserDefinitions.isEmpty());
    EXPECT_EQ(entriesOf(rows), standardEntries());
    SaveFieldCache(rows, path());
    EXPECT_TRUE(readBytes(path()) == garbage) << "rewritten";

    // A folder where the file should be.
    QFile::remove(path());
    QDir(folder.path()).mkdir(QStringLiteral("ordalis.ini"));
    const Settings none = LoadSettings(rows, path());
    SaveFieldCache(rows, path());
    EXPECT_EQ(none.StandardLand5PLZ, QStringLiteral("Deutschland"));
    EXPECT_EQ(entriesOf(rows), standardEntries());
}

QStringList loggedSettingsLines;

void recordSettingsLine(QtMsgType, const QMessageLogContext &context, const QString &text)
{
    if (QLatin1StringView(context.category) == "ordalis.settings"_L1)
        loggedSettingsLines.append(text);
}

TEST_F(SettingsTest, AnUnreadableFileOrARefusedCacheWriteLeavesItsReason)
{
    struct Case
    {
        const char *name;
        std::function<void()> arrange;
        bool save; // else load
        const char *reason;
    };
    const QByteArray cacheOn = "[Config]\r\nCacheFelder=1\r\n";
    const Case cases[] = {
        {"a folder in its place", [&] { QDir(folder.path()).mkdir(u"ordalis.ini"_s); }, false,
         "it is a folder"},
        {"too large",
         [&] {
             writeBytes(path(), cacheOn);
             QFile(path()).resize(65 * 1024 * 1024); // sparse: cheap to make
         },
         false, "larger than 64 MiB"},
        {"a read-only file",
         [&] {
             writeBytes(path(), cacheOn);
             QFile::setPermissions(path(), QFile::ReadOwner);
         },
         true, "the file is read-only"},
        {"a read-only folder",
         [&] {
             writeBytes(path(), cacheOn);
             QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner);
         },
         true, "its folder is not writable"},
    };
    QLoggingCategory::setFilterRules(u"ordalis.*=true"_s);
    const QtMessageHandler previous = qInstallMessageHandler(recordSettingsLine);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        c.arrange();
        loggedSettingsLines.clear();
        if (c.save)
            SaveFieldCache(rows, path());
        else
            LoadSettings(rows, path());
        QFile::setPermissions(folder.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner);
        QFile::remove(path());
        QDir(folder.path()).rmdir(u"ordalis.ini"_s);
        ASSERT_EQ(loggedSettingsLines.size(), 1) << loggedSettingsLines.join(u'\n').toStdString();
        EXPECT_TRUE(loggedSettingsLines[0].contains(path()));
        EXPECT_TRUE(loggedSettingsLines[0].contains(QLatin1StringView(c.reason)))
            << loggedSettingsLines[0].toStdString();
    }
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules({});
}

} // namespace
