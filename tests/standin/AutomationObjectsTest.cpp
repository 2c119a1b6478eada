#include "StandinFixture.h"

#include "act/ActObject.h"
#include "act/standin/ContactDatabase.h"
#include "act/standin/StandinPaths.h"
#include "act/standin/StandinRunLock.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

ActObjectPtr openDatabase()
{
    ActObjectPtr database = CreateActObject(ActProgId::Database);
    database->Call(u"OpenEx"_s, {QString()});
    return database;
}

ActObjectPtr fieldsOf(const ActObjectPtr &database)
{
    return ToActObject(ToActObject(database->Call(u"Contact"_s))->Call(u"Fields"_s));
}

ActObjectPtr newContactView()
{
    ActObjectPtr views = ToActObject(CreateActObject(ActProgId::Application)->Call(u"Views"_s));
    return ToActObject(views->Call(u"Create"_s, {1, u"ContactView"_s}));
}

StandinContact contactById(qint64 id)
{
    for (const StandinContact &contact : ContactDatabase::Open(ContactDatabasePath())->Contacts())
        if (contact.id == id)
            return contact;
    return {};
}

// The reason of the ActError the call throws, or "(no error)".
template <typename Call> QString failureOf(Call call)
{
    try {
        call();
    } catch (const ActError &error) {
        return error.reason();
    }
    return u"(no error)"_s;
}

bool isRunning()
{
    return CreateActObject(ActProgId::EventControl)->Call(u"IsActRunning"_s).toBool();
}

class AutomationObjects : public StandinFixture
{};

} // namespace

TEST_F(AutomationObjects, FieldListReadsBackPositionByPosition)
{
    ASSERT_TRUE(StartStandin());
    ActObjectPtr database = openDatabase();
    EXPECT_TRUE(database->Call(u"IsOpen"_s).toBool());
    const int count = ToActObject(database->Call(u"Contact"_s))->Call(u"FieldCount"_s).toInt();
    const QVector<StandinField> expected = ContactDatabase::SeedFields();
    ASSERT_EQ(count, expected.size());
    ActObjectPtr fields = fieldsOf(database);
    QMap<QString, int> labelUse;
    for (int position = 0; position < count; ++position) {
        const QVariant number = fields->Call(u"FieldIdAt"_s, {position});
        EXPECT_EQ(number.toInt(), expected[position].number) << "position " << position;
        const QString label = fields->Call(u"Label"_s, {number}).toString();
        EXPECT_EQ(label, expected[position].label) << "field " << number.toInt();
        ++labelUse[label];
    }
    EXPECT_EQ(fields->Call(u"Label"_s, {200}).toString(), QString());
    EXPECT_EQ(fields->Call(u"Label"_s, {25}).toString(), u"Firma"_s);
    EXPECT_TRUE(std::any_of(labelUse.begin(), labelUse.end(), [](int n) { return n == 2; }))
        << "two fields should share a label";
    EXPECT_GE(labelUse.value(QString()), 2) << "some fields have no label";
}

TEST_F(AutomationObjects, SetFieldGoesToTheNewContactOrTheOneShown)
{
    ASSERT_TRUE(StartStandin());
    auto db = ContactDatabase::Open(ContactDatabasePath());
    const qint64 ownRecord = db->Shown().contactId;
    ActObjectPtr view = newContactView();

    // Without AddNewContact: the contact shown.
    view->Call(u"SetField"_s, {35, u"0421 1"_s});
    EXPECT_EQ(contactById(ownRecord).values.value(35), u"0421 1"_s);

    view->Call(u"AddNewContact"_s);
    const qint64 added = db->Shown().contactId;
    EXPECT_NE(added, ownRecord) << "a new contact becomes the one shown";
    EXPECT_TRUE(contactById(added).values.isEmpty()) << "the new contact starts empty";
    view->Call(u"SetField"_s, {25, u"Berg GmbH"_s});
    view->Call(u"SetField"_s, {25, u"Berg AG"_s});
    view->Call(u"SetField"_s, {94, QString()});
    const StandinContact written = contactById(added);
    EXPECT_EQ(written.values.value(25), u"Berg AG"_s) << "a later value overwrites";
    EXPECT_TRUE(written.values.contains(94)) << "an empty value is stored too";

    // A user showing another contact takes the view along.
    db->ShowContact(ownRecord);
    view->Call(u"SetField"_s, {30, u"Bremen-Nord"_s});
    EXPECT_EQ(contactById(ownRecord).values.value(30), u"Bremen-Nord"_s);
    EXPECT_FALSE(contactById(added).values.contains(30));
}

TEST_F(AutomationObjects, ArgumentsAreCoercedAsLateBindingDoes)
{
    ASSERT_TRUE(StartStandin());
    ActObjectPtr view = newContactView();
    view->Call(u"AddNewContact"_s);
    auto db = ContactDatabase::Open(ContactDatabasePath());
    const struct
    {
        const char *name;
        QVariant number;
        QVariant value;
        qint32 field;
        QString stored;
    } accepted[] = {
        {"int and text", 25, u"A"_s, 25, u"A"_s},
        {"short", QVariant::fromValue<short>(26), u"B"_s, 26, u"B"_s},
        {"qlonglong", QVariant::fromValue<qlonglong>(30), u"C"_s, 30, u"C"_s},
        {"whole double", 32.0, u"D"_s, 32, u"D"_s},
        {"number as text", u" 35 "_s, u"E"_s, 35, u"E"_s},
        {"number as value", 36, 4711, 36, u"4711"_s},
    };
    for (const auto &c : accepted) {
        EXPECT_NO_THROW(view->Call(u"SetField"_s, {c.number, c.value})) << c.name;
        EXPECT_EQ(contactById(db->Shown().contactId).values.value(c.field), c.stored) << c.name;
    }

    const struct
    {
        const char *name;
        QVariantList arguments;
        const char *reasonPart;
    } refused[] = {
        {"text that is no number", {u"Firma"_s, u"x"_s}, "Feldnummer"},
        {"empty variant", {QVariant(), u"x"_s}, "Feldnummer"},
        {"not a number", {std::numeric_limits<double>::quiet_NaN(), u"x"_s}, "Feldnummer"},
        {"beyond 32 bits", {QVariant::fromValue<qlonglong>(1LL << 40), u"x"_s}, "Feldnummer"},
        {"list as value", {25, QVariantList{1, 2}}, "Wert"},
        {"object as value", {25, FromActObject(view)}, "Wert"},
        {"unknown field", {9999, u"x"_s}, "9999"},
        {"one argument", {25}, "erwartet 2"},
        {"three arguments", {25, u"x"_s, 1}, "erwartet 2"},
    };
    for (const auto &c : refused) {
        const QString reason = failureOf([&] { view->Call(u"SetField"_s, c.arguments); });
        EXPECT_TRUE(reason.contains(QString::fromUtf8(c.reasonPart)))
            << c.name << ": " << reason.toStdString();
    }
}

TEST_F(AutomationObjects, KilledStandinFailsTheNextCallAndARestartServesAgain)
{
    ASSERT_TRUE(StartStandin());
    ActObjectPtr view = newContactView();
    ActObjectPtr fields = fieldsOf(openDatabase());
    view->Call(u"AddNewContact"_s);
    KillStandin();
    EXPECT_FALSE(isRunning()) << "the kernel dropped the lock";
    EXPECT_EQ(failureOf([&] { view->Call(u"SetField"_s, {25, u"x"_s}); }), u"ACT! läuft nicht."_s);
    EXPECT_EQ(failureOf([&] { fields->Call(u"Label"_s, {25}); }), u"ACT! läuft nicht."_s);

    ASSERT_TRUE(StartStandin());
    EXPECT_NO_THROW(view->Call(u"SetField"_s, {25, u"nach Neustart"_s}));
    EXPECT_EQ(fields->Call(u"Label"_s, {25}).toString(), u"Firma"_s);
}

TEST_F(AutomationObjects, WithoutDatabaseOpenExSucceedsButNothingIsOpen)
{
    ASSERT_TRUE(StartStandin({u"--no-database"_s}));
    ActObjectPtr database = openDatabase();
    EXPECT_FALSE(database->Call(u"IsOpen"_s).toBool());
    EXPECT_NE(failureOf([&] { database->Call(u"Contact"_s); }), u"(no error)"_s);
    EXPECT_NE(failureOf([] { newContactView(); }), u"(no error)"_s);
    EXPECT_FALSE(QFile::exists(ContactDatabasePath())) << "no database is created";
}

TEST_F(AutomationObjects, BrokenDatabaseFilesFailOpenEx)
{
    // The lock held in-process stands for a running stand-in.
    ASSERT_TRUE(QDir().mkpath(Home()));
    StandinRunLock lock(RunLockPath());
    ASSERT_TRUE(lock.TryAcquire());
    lock.PublishDatabaseOpen(true);
    EXPECT_TRUE(isRunning());

    const QString missing = failureOf([] { openDatabase(); });
    EXPECT_TRUE(missing.contains(u"nicht vorhanden"_s)) << missing.toStdString();

    QFile file(ContactDatabasePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(8192, 'x'));
    file.close();
    const QString corrupt = failureOf([] { openDatabase(); });
    EXPECT_TRUE(corrupt.contains(u"beschädigt"_s)) << corrupt.toStdString();
}

TEST_F(AutomationObjects, WithoutADataFolderActIsNotInstalled)
{
    EXPECT_FALSE(isRunning());
    const QString reason = failureOf([] { CreateActObject(ActProgId::AuxCommands); });
    EXPECT_TRUE(reason.contains(u"nicht installiert"_s)) << reason.toStdString();
}
