#include "ActTestSupport.h"

#include "act/ActConnection.h"
#include "act/ContactWriter.h"

#include "support/MessageTexts.h"

#include "common/CaseFile.h"

namespace {

class ContactWriterTest : public ActTest
{
protected:
    void SetUp() override
    {
        ActTest::SetUp();
        host.clipText = QStringLiteral("Berg & Stein\r\n");
    }
    Values Newest() const { return Contacts().last().values; }
    void SetRows(const QVector<std::pair<qint32, QString>> &values)
    {
        rows.ResetAllRows();
        for (int row = 0; row < values.size(); ++row) {
            rows.SelectRowField(row, values[row].first);
            rows.SetRowValue(row, values[row].second);
        }
    }
};

TEST_F(ContactWriterTest, RecognisedBlocksBecomeNewContacts)
{
    ASSERT_TRUE(StartStandin());
    for (const QString &name :
         {QStringLiteral("signature-munich"), QStringLiteral("letterhead-vienna")}) {
        SCOPED_TRACE(name.toStdString());
        host.clipboard = TestData(name + QStringLiteral(".txt"));
        ASSERT_TRUE(messages.Done(
            LoadFieldList(rows, settings, act, host))); // as at start-up: load, then capture
        const qsizetype before = Contacts().size();

        EXPECT_TRUE(messages.Done(WriteContact(true, rows, context, act, host)));
        EXPECT_EQ(Contacts().size(), before + 1);
        EXPECT_EQ(Newest(), ExpectedContact(name + QStringLiteral(".contact")));
        EXPECT_EQ(ShownId(), Contacts().last().id);
    }
    EXPECT_TRUE(messages.Texts().isEmpty());
    EXPECT_EQ(host.completions, (QList<bool>{true, true}));
}

using ContactWriterCases = CaseFileTest<ContactWriterTest>;

TEST_P(ContactWriterCases, Write)
{
    ASSERT_TRUE(StartStandin());
    const DataCase &c = GetParam();
    QVector<std::pair<qint32, QString>> given;
    Values expected;
    settings.DefinitionsLoaded = c.has(QStringLiteral("definitions"));
    for (const auto &[command, argument] : c.lines) {
        const std::pair<qint32, QString> field{argument.section(u'|', 0, 0).toInt(),
                                               argument.section(u'|', 1)};
        if (command == u"row")
            given.append(field);
        else if (command == u"hit")
            context.DefinitionHits.append({qint16(field.first), field.second});
        else if (command == u"contact")
            expected.insert(field.first, field.second);
    }
    SetRows(given);
    ASSERT_TRUE(messages.Done(WriteContact(true, rows, context, act, host)));
    EXPECT_EQ(Newest(), expected);
}

INSTANTIATE_TEST_SUITE_P(File, ContactWriterCases, CasesOf(ORDALIS_TEST_DATA "/write-cases.txt"),
                         CaseTestName);

TEST_F(ContactWriterTest, NoCapturedTextMeansNoWrite)
{
    ASSERT_TRUE(StartStandin());
    SetRows({{25, QStringLiteral("Von Hand GmbH")}}); // typed by hand, nothing captured
    const qsizetype before = Contacts().size();
    for (const QString &text : {QString(), QStringLiteral("   ")}) {
        host.clipText = text;
        EXPECT_FALSE(messages.Done(WriteContact(true, rows, context, act, host)));
    }
    EXPECT_EQ(messages.Texts(), QStringList(2, MessageText::NoData));
    EXPECT_EQ(messages.Styles(), QList<qint16>(2, MessageStyle::Exclamation));
    EXPECT_EQ(Contacts().size(), before);
    EXPECT_TRUE(host.events.isEmpty());
}

TEST_F(ContactWriterTest, WithoutActNothingIsWrittenAndTheFailureIsShown)
{
    ASSERT_TRUE(StartStandin()); // the database stays when ACT! is closed
    StopStandin();
    const QVector<StandinContact> before = Contacts();
    SetRows({{25, QStringLiteral("Niemand GmbH")}});

    EXPECT_FALSE(messages.Done(WriteContact(true, rows, context, act, host)));
    EXPECT_FALSE(messages.Done(WriteContact(false, rows, context, act, host)));
    EXPECT_EQ(messages.Texts(),
              (QStringList{MessageText::ContactNotCreated, MessageText::ContactNotEdited}));
    EXPECT_EQ(messages.Styles(), QList<qint16>(2, MessageStyle::Exclamation));
    // ACT!'s own reason travels beside the text, for the window to show below it.
    EXPECT_FALSE(messages.said.value(0).reason.isEmpty());
    EXPECT_FALSE(host.busy);
    EXPECT_EQ(host.events.count(QStringLiteral("not topmost")), 2);
    EXPECT_TRUE(host.completions.isEmpty());
    EXPECT_EQ(Contacts().size(), before.size());
    EXPECT_EQ(Contacts().last().values, before.last().values);
}

TEST_F(ContactWriterTest, AWriteFailingPartWayKeepsWhatWasSentAndReportsFailure)
{
    // Ten fields in ACT!: the standard catalogue offers fields it lacks.
    ASSERT_TRUE(StartStandin({QStringLiteral("--fields"), QStringLiteral("10")}));
    SetRows({{25, QStringLiteral("Halb GmbH")},
             {35, QStringLiteral("030 1234")},
             {30, QStringLiteral("Berlin")}});

    EXPECT_FALSE(messages.Done(WriteContact(true, rows, context, act, host)));
    EXPECT_EQ(messages.Texts(), QStringList{MessageText::ContactNotCreated});
    EXPECT_TRUE(host.completions.isEmpty());
    EXPECT_EQ(Newest(), (Values{{25, QStringLiteral("Halb GmbH")}}));
    EXPECT_EQ(act.ActContactView, nullptr); // the next write connects afresh
}

TEST_F(ContactWriterTest, WritesAgainAfterActWasKilledAndRestarted)
{
    ASSERT_TRUE(StartStandin());
    SetRows({{25, QStringLiteral("Vorher GmbH")}});
    ASSERT_TRUE(messages.Done(WriteContact(true, rows, context, act, host)));
    KillStandin();
    EXPECT_FALSE(messages.Done(WriteContact(true, rows, context, act, host)));
    ASSERT_TRUE(StartStandin());
    SetRows({{25, QStringLiteral("Nachher GmbH")}});
    EXPECT_TRUE(messages.Done(WriteContact(true, rows, context, act, host)));
    EXPECT_EQ(Newest(), (Values{{25, QStringLiteral("Nachher GmbH")}}));
}

} // namespace
