#include "StandinFixture.h"

#include "act/ActObject.h"
#include "act/standin/ContactDatabase.h"
#include "act/standin/StandinPaths.h"
#include "act/standin/StandinRunLock.h"

#include <QDir>
#include <QFile>

#include <limits>
#include <tuple>

using namespace Qt::StringLiterals;

namespace {

ActObjectPtr openDatabase()
{
    ActObjectPtr database = CreateActObject(ActProgId::Database);
    database->Call(u"OpenEx"_s, {QString()});
    return database;
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

class AutomationObjects : public StandinFixture
{};

} // namespace

TEST_F(AutomationObjects, SetFieldGoesToTheNewContactOrTheOneShownAndCoercesItsArguments)
{
    ASSERT_TRUE(StartStandin());
    auto db = ContactDatabase::Open(ContactDatabasePath());
    const qint64 ownRecord = db->Shown().contactId;
    ActObjectPtr views = ToActObject(CreateActObject(ActProgId::Application)->Call(u"Views"_s));
    ActObjectPtr view = ToActObject(views->Call(u"Create"_s, {1, u"ContactView"_s}));

    // Without AddNewContact: the contact shown.
    view->Call(u"SetField"_s, {35, u"0421 1"_s});
    EXPECT_EQ(contactById(ownRecord).values.value(35), u"0421 1"_s);

    view->Call(u"AddNewContact"_s);
    const qint64 added = db->Shown().contactId;
    EXPECT_NE(added, ownRecord) << "a new contact becomes the one shown";
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

    // Arguments are coerced as late binding does: number, value, field, stored.
    const std::tuple<QVariant, QVariant, qint32, QString> accepted[] = {
        {QVariant::fromValue<short>(26), u"B"_s, 26, u"B"_s},
        {32.0, u"D"_s, 32, u"D"_s},
        {u" 35 "_s, u"E"_s, 35, u"E"_s},
        {36, 4711, 36, u"4711"_s},
    };
    for (const auto &[number, value, field, stored] : accepted) {
        EXPECT_NO_THROW(view->Call(u"SetField"_s, {number, value})) << field;
        EXPECT_EQ(contactById(ownRecord).values.value(field), stored) << field;
    }
    const std::pair<QVariantList, const char *> refused[] = {
        {{u"Firma"_s, u"x"_s}, "Feldnummer"},
        {{std::numeric_limits<double>::quiet_NaN(), u"x"_s}, "Feldnummer"},
        {{QVariant::fromValue<qlonglong>(1LL << 40), u"x"_s}, "Feldnummer"},
        {{25, FromActObject(view)}, "Wert"},
        {{9999, u"x"_s}, "9999"},
        {{25, u"x"_s, 1}, "erwartet 2"},
    };
    for (const auto &c : refused) {
        const QString reason = failureOf([&] { view->Call(u"SetField"_s, c.first); });
        EXPECT_TRUE(reason.contains(QString::fromUtf8(c.second))) << reason.toStdString();
    }
}

TEST_F(AutomationObjects, WithoutADatabaseNothingOpensAndNoFileIsMade)
{
    const QString notInstalled = failureOf([] { CreateActObject(ActProgId::AuxCommands); });
    EXPECT_TRUE(notInstalled.contains(u"nicht installiert"_s)) << notInstalled.toStdString();

    ASSERT_TRUE(StartStandin({u"--no-database"_s}));
    ActObjectPtr database = openDatabase();
    EXPECT_FALSE(database->Call(u"IsOpen"_s).toBool());
    EXPECT_NE(failureOf([&] { database->Call(u"Contact"_s); }), u"(no error)"_s);
    EXPECT_FALSE(QFile::exists(ContactDatabasePath())) << "no database is created";
}

TEST_F(AutomationObjects, BrokenDatabaseFilesFailOpenEx)
{
    // The lock held in-process stands for a running stand-in.
    ASSERT_TRUE(QDir().mkpath(Home()));
    StandinRunLock lock(RunLockPath());
    ASSERT_TRUE(lock.TryAcquire());
    lock.PublishDatabaseOpen(true);
    const QString missing = failureOf([] { openDatabase(); });
    EXPECT_TRUE(missing.contains(u"nicht vorhanden"_s)) << missing.toStdString();

    QFile file(ContactDatabasePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(8192, 'x'));
    file.close();
    const QString corrupt = failureOf([] { openDatabase(); });
    EXPECT_TRUE(corrupt.contains(u"beschädigt"_s)) << corrupt.toStdString();
}
