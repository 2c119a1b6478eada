#include "StandinFixture.h"

#include "act/ActObject.h"
#include "act/standin/ContactDatabase.h"
#include "act/standin/StandinPaths.h"

#include <sqlite3.h>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

class ContactDatabaseFixture : public StandinFixture
{};

} // namespace

TEST_F(ContactDatabaseFixture, AWriterLockedOutPastTheTimeoutFailsAndWritesNothing)
{
    ContactDatabase::OpenOrCreate(ContactDatabasePath());
    sqlite3 *holder = nullptr;
    ASSERT_EQ(sqlite3_open(ContactDatabasePath().toUtf8().constData(), &holder), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    auto db = ContactDatabase::Open(ContactDatabasePath(), 200);
    try {
        db->AddNewContact();
        ADD_FAILURE() << "AddNewContact went through a held lock";
    } catch (const ActError &error) {
        EXPECT_TRUE(error.reason().contains(u"gesperrt"_s)) << error.what();
    }
    sqlite3_exec(holder, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(holder);
    EXPECT_EQ(db->Contacts().size(), 1);
}

// Two writers, each on its own connection as two programs would be: each
// contact's values must land in the contact that writer added, never in the
// other's, though every AddNewContact changes the contact shown.
TEST_F(ContactDatabaseFixture, TwoWritersAtOnceEachFillTheirOwnContacts)
{
    ASSERT_TRUE(StartStandin());
    constexpr int PerWriter = 40;
    const auto write = [](const QString &tag, QString *failure) {
        try {
            auto db = ContactDatabase::Open(ContactDatabasePath());
            for (int i = 0; i < PerWriter; ++i) {
                const QString name = tag + u'-' + QString::number(i);
                const ShownContact added = db->AddNewContact();
                db->SetField(added, 25, name);
                db->SetField(added, 26, name + u" Kontakt"_s);
                db->SetField(added, 30, tag);
            }
        } catch (const ActError &error) {
            *failure = error.reason();
        }
    };
    QString failureA, failureB;
    std::thread first(write, u"A"_s, &failureA), second(write, u"B"_s, &failureB);
    first.join();
    second.join();
    EXPECT_EQ(failureA + failureB, QString());
    const QVector<StandinContact> contacts =
        ContactDatabase::Open(ContactDatabasePath())->Contacts();
    ASSERT_EQ(contacts.size(), 1 + 2 * PerWriter);
    for (const StandinContact &contact : contacts.mid(1)) {
        const QString name = contact.values.value(25);
        EXPECT_EQ(contact.values.size(), 3) << "contact " << contact.id;
        EXPECT_EQ(contact.values.value(26), name + u" Kontakt"_s) << "contact " << contact.id;
        EXPECT_TRUE(name.startsWith(contact.values.value(30) + u'-')) << "contact " << contact.id;
    }
}
