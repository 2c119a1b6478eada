#include "ActTestSupport.h"

#include "act/ActConnection.h"
#include "act/ContactWriter.h"

#include "recognition/ParseState.h"

#include "support/MessageTexts.h"
#include "support/modZusatzDefs.h"

namespace {

using Values = QMap<qint32, QString>;

class ContactWriterTest : public ActTest
{
protected:
    void SetUp() override
    {
        ActTest::SetUp();
        host.clipText = QStringLiteral("Berg & Stein\r\n");
    }

    // The contact a successful new write added: the last one.
    Values NewestContact() const
    {
        const QVector<StandinContact> contacts = standin.Contacts();
        return contacts.isEmpty() ? Values() : contacts.last().values;
    }
};

TEST_F(ContactWriterTest, RecognisedBlocksBecomeNewContacts)
{
    ASSERT_TRUE(standin.Start());
    for (const QString &name :
         {QStringLiteral("signature-munich"), QStringLiteral("letterhead-vienna")}) {
        SCOPED_TRACE(name.toStdString());
        host.clipboard = TestData(name + QStringLiteral(".txt"));
        ASSERT_TRUE(LoadFieldList(rows, host)); // as at start-up: load, then capture
        const qsizetype contactsBefore = standin.Contacts().size();

        EXPECT_TRUE(WriteContact(true, rows, host));
        EXPECT_EQ(standin.Contacts().size(), contactsBefore + 1);
        EXPECT_EQ(NewestContact(), ExpectedContact(name + QStringLiteral(".contact")));
        // The new contact is the one ACT! shows.
        EXPECT_EQ(standin.Shown().contactId, standin.Contacts().last().id);
        EXPECT_TRUE(messages.shown.isEmpty());
    }
    EXPECT_EQ(host.completions, (QList<bool>{true, true}));
}

TEST_F(ContactWriterTest, EditingOverwritesTheContactActShows)
{
    ASSERT_TRUE(standin.Start());
    const Values own = standin.ShownValues();
    const qsizetype contactsBefore = standin.Contacts().size();
    SetRow(0, 35, QStringLiteral("0421 555 0199"));
    SetRow(1, 36, QString()); // an empty value is sent as well

    EXPECT_TRUE(WriteContact(false, rows, host));

    Values expected = own;
    expected[35] = QStringLiteral("0421 555 0199");
    expected[36] = QString();
    EXPECT_EQ(standin.ShownValues(), expected);
    EXPECT_EQ(standin.Contacts().size(), contactsBefore);
    EXPECT_EQ(host.completions, QList<bool>{false});
    EXPECT_EQ(host.events,
              (QStringList{QStringLiteral("busy"), QStringLiteral("idle"),
                           QStringLiteral("not topmost"), QStringLiteral("completion")}));
}

TEST_F(ContactWriterTest, ComposesTheContactNameOnlyWhenNoneWasGiven)
{
    ASSERT_TRUE(standin.Start());
    const QString absent = QStringLiteral("<absent>");
    const struct
    {
        const char *name;
        QVector<std::pair<qint32, QString>> rows;
        QString contactName; // field 26 of the new contact
    } cases[] = {
        {"first and last name",
         {{78, QStringLiteral("Anna")}, {79, QStringLiteral("Berg")}},
         QStringLiteral("Anna Berg")},
        {"empty contact row",
         {{26, QString()}, {78, QStringLiteral("Anna")}, {79, QStringLiteral("Berg")}},
         QStringLiteral("Anna Berg")},
        {"contact row given",
         {{78, QStringLiteral("Anna")},
          {79, QStringLiteral("Berg")},
          {26, QStringLiteral("Dr. Anna Berg-Wolff")}},
         QStringLiteral("Dr. Anna Berg-Wolff")},
        {"first name only", {{78, QStringLiteral("Anna")}}, absent},
        {"last name only", {{79, QStringLiteral("Berg")}}, absent},
        {"empty last name", {{78, QStringLiteral("Anna")}, {79, QString()}}, absent},
        {"the later of two rows counts",
         {{78, QStringLiteral("Anna")},
          {79, QStringLiteral("Berg")},
          {79, QStringLiteral("Stein")}},
         QStringLiteral("Anna Stein")},
        {"a later empty contact row clears a given one",
         {{26, QStringLiteral("Anna Berg")},
          {26, QString()},
          {78, QStringLiteral("Jan")},
          {79, QStringLiteral("Ott")}},
         QStringLiteral("Jan Ott")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        rows.ResetAllRows();
        for (int row = 0; row < c.rows.size(); ++row)
            SetRow(row, c.rows[row].first, c.rows[row].second);
        ASSERT_TRUE(WriteContact(true, rows, host));
        EXPECT_EQ(NewestContact().value(26, absent), c.contactName);
    }
}

TEST_F(ContactWriterTest, DefinitionHitsGoLastAndHitsWithoutAFieldAreSkipped)
{
    ASSERT_TRUE(standin.Start());
    SetRow(0, 25, QStringLiteral("Zeilen GmbH"));
    SetRow(1, 30, QStringLiteral("Bremen"));
    // A hit for field -1 would fail the write: no such field in ACT!.
    DefinitionHits = {{-1, QStringLiteral("nirgends")},
                      {25, QStringLiteral("Etikett GmbH")},
                      {88, QStringLiteral("Einkauf")}};

    const struct
    {
        const char *name;
        bool definitionsLoaded;
        Values expected;
    } cases[] = {
        {"definitions loaded",
         true,
         {{25, QStringLiteral("Etikett GmbH")},
          {30, QStringLiteral("Bremen")},
          {88, QStringLiteral("Einkauf")}}},
        {"no definitions",
         false,
         {{25, QStringLiteral("Zeilen GmbH")}, {30, QStringLiteral("Bremen")}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        DefinitionsLoaded = c.definitionsLoaded;
        ASSERT_TRUE(WriteContact(true, rows, host));
        EXPECT_EQ(NewestContact(), c.expected);
    }
}

TEST_F(ContactWriterTest, NoCapturedTextMeansNoWrite)
{
    ASSERT_TRUE(standin.Start());
    SetRow(0, 25, QStringLiteral("Von Hand GmbH")); // typed by hand, not captured
    const qsizetype contactsBefore = standin.Contacts().size();
    for (const QString &text : {QString(), QStringLiteral("   ")}) {
        host.clipText = text;
        messages.shown.clear();
        EXPECT_FALSE(WriteContact(true, rows, host));
        EXPECT_EQ(messages.Texts(), QStringList{MessageText::NoData});
        EXPECT_EQ(messages.shown.value(0).style, MessageStyle::Exclamation);
    }
    EXPECT_EQ(standin.Contacts().size(), contactsBefore);
    EXPECT_TRUE(host.completions.isEmpty());
    EXPECT_TRUE(host.events.isEmpty());
}

TEST_F(ContactWriterTest, WithoutActNothingIsWrittenAndTheFailureIsShown)
{
    ASSERT_TRUE(standin.Start()); // creates the database ...
    standin.Stop();               // ... which stays when ACT! is closed
    const QVector<StandinContact> before = standin.Contacts();
    SetRow(0, 25, QStringLiteral("Niemand GmbH"));

    const struct
    {
        bool isNew;
        QString message;
    } cases[] = {{true, MessageText::ContactNotCreated}, {false, MessageText::ContactNotEdited}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.isNew ? "new" : "edit");
        messages.shown.clear();
        host.events.clear();
        EXPECT_FALSE(WriteContact(c.isNew, rows, host));
        EXPECT_EQ(messages.Texts(), QStringList{c.message});
        EXPECT_EQ(messages.shown.value(0).style, MessageStyle::Exclamation);
        EXPECT_FALSE(host.busy);
        EXPECT_TRUE(host.events.contains(QStringLiteral("not topmost")));
    }
    EXPECT_TRUE(host.completions.isEmpty());
    EXPECT_EQ(standin.Contacts().size(), before.size());
    EXPECT_EQ(standin.Contacts().last().values, before.last().values);
}

TEST_F(ContactWriterTest, AWriteFailingPartWayKeepsWhatWasSentAndReportsFailure)
{
    // A database of ten fields: the standard catalogue offers fields it lacks.
    ASSERT_TRUE(standin.Start({QStringLiteral("--fields"), QStringLiteral("10")}));
    SetRow(0, 25, QStringLiteral("Halb GmbH"));
    SetRow(1, 35, QStringLiteral("030 1234")); // no telephone field in ACT!
    SetRow(2, 30, QStringLiteral("Berlin"));

    EXPECT_FALSE(WriteContact(true, rows, host));
    EXPECT_EQ(messages.Texts(), QStringList{MessageText::ContactNotCreated});
    EXPECT_TRUE(host.completions.isEmpty());
    EXPECT_EQ(NewestContact(), (Values{{25, QStringLiteral("Halb GmbH")}}));
    EXPECT_EQ(ActContactView, nullptr);
    EXPECT_EQ(ActApp, nullptr);
}

TEST_F(ContactWriterTest, AnEmptyFieldListStillAddsAnEmptyContact)
{
    ASSERT_TRUE(standin.Start({QStringLiteral("--fields"), QStringLiteral("0")}));
    host.clipboard = TestData(QStringLiteral("signature-munich.txt"));
    ASSERT_TRUE(LoadFieldList(rows, host));
    const qsizetype contactsBefore = standin.Contacts().size();

    EXPECT_TRUE(WriteContact(true, rows, host));
    EXPECT_EQ(standin.Contacts().size(), contactsBefore + 1);
    EXPECT_EQ(NewestContact(), Values());
    EXPECT_EQ(host.completions, QList<bool>{true});
}

TEST_F(ContactWriterTest, WritesAgainAfterActWasKilledAndRestarted)
{
    const struct
    {
        const char *name;
        bool writeWhileDown; // a failed write in between, or none
    } cases[] = {{"write while down", true}, {"straight after restart", false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(standin.Start());
        SetRow(0, 25, QStringLiteral("Vorher GmbH"));
        ASSERT_TRUE(WriteContact(true, rows, host));

        standin.Kill();
        if (c.writeWhileDown) {
            messages.shown.clear();
            EXPECT_FALSE(WriteContact(true, rows, host));
            EXPECT_EQ(messages.Texts(), QStringList{MessageText::ContactNotCreated});
        }
        ASSERT_TRUE(standin.Start());
        SetRow(0, 25, QStringLiteral("Nachher GmbH"));
        EXPECT_TRUE(WriteContact(true, rows, host));
        EXPECT_EQ(NewestContact(), (Values{{25, QStringLiteral("Nachher GmbH")}}));
        standin.Stop();
    }
}

TEST_F(ContactWriterTest, OnlyTheQuitChoiceEndsTheProgram)
{
    ASSERT_TRUE(standin.Start());
    SetRow(0, 25, QStringLiteral("Ende GmbH"));
    const struct
    {
        quint8 answer;
        int programEnds;
    } cases[] = {{0, 0}, {2, 0}, {1, 1}};
    for (const auto &c : cases) {
        host.programEnds = 0;
        host.completionAnswer = c.answer;
        EXPECT_TRUE(WriteContact(true, rows, host));
        EXPECT_EQ(host.programEnds, c.programEnds) << "answer " << int(c.answer);
    }
}

} // namespace
