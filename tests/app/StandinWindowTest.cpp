// The stand-in's own window: what a user sees of the contacts and commands
// other programs write, and the contact chosen to be shown.

#include "AppTestSupport.h"

#include "act/standin/ActCommandFile.h"
#include "act/standin/ContactDatabase.h"
#include "act/standin/StandinPaths.h"
#include "standin/StandinWindow.h"

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace {

class StandinWindowFixture : public AppTest
{
protected:
    // Row of the contact shown (marked), or -1.
    static int markedRow(QTableWidget *table)
    {
        for (int row = 0; row < table->rowCount(); ++row)
            if (!table->item(row, 0)->text().isEmpty())
                return row;
        return -1;
    }
};

} // namespace

TEST_F(StandinWindowFixture, FollowsOtherWritersAndShowsTheChosenContact)
{
    auto database = std::shared_ptr<ContactDatabase>(
        ContactDatabase::OpenOrCreate(ContactDatabasePath()).release());
    StandinWindow window(Home(), database);
    window.show();
    auto *contacts = window.findChild<QTableWidget *>(u"contactTable"_s);
    auto *commands = window.findChild<QTableWidget *>(u"commandTable"_s);
    auto *buttons = window.findChild<QTableWidget *>(u"toolbarTable"_s);
    auto *showButton = window.findChild<QPushButton *>(u"showButton"_s);
    ASSERT_TRUE(contacts && commands && buttons && showButton);
    ASSERT_EQ(contacts->rowCount(), 1);
    EXPECT_EQ(markedRow(contacts), 0);
    EXPECT_TRUE(window.findChild<QLabel *>(u"statusLabel"_s)->text().endsWith(u"— 1 Kontakt"_s));
    EXPECT_EQ(contacts->item(0, 2)->text(), u"Albers Beratung"_s);

    // Another program (its own connection) adds a contact and a command.
    auto other = ContactDatabase::Open(ContactDatabasePath());
    const qint64 added = other->AddNewContact().contactId;
    other->SetField(std::nullopt, 25, u"Berg AG"_s);
    ActCommandFile file(CommandFilePath());
    file.AddAuxCommand(
        {-1, u"Ordalis"_s, u"/opt/o/ordalis"_s, {}, u"Adresse holen"_s, {}, {}, {}, 0});
    file.AddToToolbar(3, u"Ordalis"_s);
    window.Poll();
    ASSERT_EQ(contacts->rowCount(), 2);
    EXPECT_EQ(markedRow(contacts), 1);
    EXPECT_EQ(contacts->currentRow(), 1) << "the contact just written is highlighted";
    EXPECT_EQ(contacts->item(1, 1)->text(), QString::number(added));
    EXPECT_EQ(contacts->item(1, 2)->text(), u"Berg AG"_s);
    ASSERT_EQ(commands->rowCount(), 1);
    EXPECT_EQ(commands->item(0, 1)->text(), u"Ordalis"_s);
    ASSERT_EQ(buttons->rowCount(), 1);
    EXPECT_EQ(buttons->item(0, 2)->text(), u"3"_s);

    // The user shows the first contact again.
    contacts->setCurrentCell(0, 1);
    ASSERT_TRUE(showButton->isEnabled());
    showButton->click();
    EXPECT_EQ(markedRow(contacts), 0);
    EXPECT_EQ(other->Shown().contactId, contacts->item(0, 1)->text().toLongLong());

    // A change elsewhere keeps the user's row selected, until another
    // contact is shown.
    contacts->setCurrentCell(1, 1);
    other->SetField(std::nullopt, 30, u"Bonn"_s);
    window.Poll();
    EXPECT_EQ(contacts->currentRow(), 1);
    other->AddNewContact();
    window.Poll();
    ASSERT_EQ(contacts->rowCount(), 3);
    EXPECT_EQ(contacts->currentRow(), 2);
    EXPECT_EQ(markedRow(contacts), 2);
}

TEST_F(StandinWindowFixture, WithoutDatabaseItShowsNoContacts)
{
    ASSERT_TRUE(QDir().mkpath(Home()));
    StandinWindow window(Home(), nullptr);
    window.Poll();
    EXPECT_EQ(window.findChild<QTableWidget *>(u"contactTable"_s)->rowCount(), 0);
    EXPECT_FALSE(window.findChild<QPushButton *>(u"showButton"_s)->isEnabled());
}
