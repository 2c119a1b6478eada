#include "StandinFixture.h"

#include "act/ActObject.h"
#include "act/standin/ContactDatabase.h"
#include "act/standin/StandinPaths.h"

#include <QProcess>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

class ContactDatabaseFixture : public StandinFixture
{};

} // namespace

TEST_F(ContactDatabaseFixture, FirstStartHoldsTheOwnRecordShown)
{
    auto db = ContactDatabase::OpenOrCreate(ContactDatabasePath());
    const QVector<StandinContact> contacts = db->Contacts();
    ASSERT_EQ(contacts.size(), 1);
    EXPECT_EQ(db->Shown().contactId, contacts[0].id);
    EXPECT_FALSE(contacts[0].values.value(26).isEmpty());
    // A second start keeps what is there.
    db->AddNewContact();
    EXPECT_EQ(ContactDatabase::OpenOrCreate(ContactDatabasePath())->Contacts().size(), 2);
}

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

TEST_F(ContactDatabaseFixture, TwoProcessesWritingAtOnceEachFillTheirOwnContacts)
{
    ASSERT_TRUE(StartStandin());
    constexpr int PerWriter = 40;
    QProcess first, second;
    for (QProcess *writer : {&first, &second})
        writer->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    first.start(QStringLiteral(CONTACT_WRITER_BINARY), {u"A"_s, QString::number(PerWriter)});
    second.start(QStringLiteral(CONTACT_WRITER_BINARY), {u"B"_s, QString::number(PerWriter)});
    for (QProcess *writer : {&first, &second}) {
        ASSERT_TRUE(writer->waitForFinished(60000));
        EXPECT_EQ(writer->exitCode(), 0);
    }
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
