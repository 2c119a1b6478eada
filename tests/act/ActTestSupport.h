#pragma once

#include "../standin/StandinFixture.h"
#include "common/TestFiles.h"

#include "act/ActConnection.h"
#include "act/ActHost.h"
#include "act/standin/ContactDatabase.h"
#include "act/standin/StandinPaths.h"

#include "recognition/ParseAddress.h"
#include "recognition/RecognitionContext.h"

#include "support/FieldRows.h"
#include "support/Messages.h"
#include "support/Outcome.h"
#include "support/SettingsFile.h"

#include <QMap>
#include <QStringList>
#include <QTemporaryDir>

#include <sqlite3.h>

// The window's part, played by the test: a clipboard it recognises from, a
// completion dialog that goes back to the program, and a record of what it was asked.
class TestHost : public ActHost
{
public:
    TestHost(FieldRows &rows, RecognitionContext &context) : m_rows(rows), m_context(context) {}
    void SetBusyPointer(bool on) override
    {
        busy = on;
        events.append(on ? QStringLiteral("busy") : QStringLiteral("idle"));
    }
    void SetTopMost(bool onTop) override
    {
        events.append(onTop ? QStringLiteral("topmost") : QStringLiteral("not topmost"));
    }
    QString CapturedText() const override { return clipText; }
    void CaptureClipboard() override
    {
        ++captures;
        CaptureText(m_context, clipboard, false, m_rows, clipText);
    }
    quint8 ShowCompletionDialog(bool LastWriteWasNew) override
    {
        events.append(QStringLiteral("completion"));
        completions.append(LastWriteWasNew);
        return CompletionChoiceBack;
    }
    void EndProgram() override {}

    QString clipboard, clipText;
    int captures = 0;
    QList<bool> completions; // LastWriteWasNew as each completion dialog saw it
    bool busy = false;
    QStringList events;

private:
    FieldRows &m_rows;
    RecognitionContext &m_context;
};

// What a program would show of the steps' outcomes, in order.
struct SaidMessages
{
    // Keeps the outcome's message, if it has one; true when the step was done.
    bool Done(const Outcome &outcome)
    {
        if (!outcome.message.IsEmpty())
            said.append(outcome.message);
        return outcome.done;
    }
    QStringList Texts() const
    {
        QStringList texts;
        for (const Message &message : said)
            texts.append(message.Text());
        return texts;
    }
    QList<qint16> Styles() const
    {
        QList<qint16> styles;
        for (const Message &message : said)
            styles.append(message.Style());
        return styles;
    }

    QList<Message> said;
};

using Catalogue = QVector<std::pair<qint32, QString>>;
using Values = QMap<qint32, QString>;

// A fresh program per test: standard catalogue and default settings in the
// rows, its own context and connection, its own program folder.
class ActTest : public StandinFixture
{
protected:
    void SetUp() override
    {
        StandinFixture::SetUp();
        qputenv("ORDALIS_HOME", m_program.path().toLocal8Bit()); // for the CLI
        rows.FillStandardCatalogue();
        settings = LoadSettings(rows, SettingsPath()); // no file yet: the defaults
    }
    void TearDown() override
    {
        act.ReleaseActObjects();
        qunsetenv("ORDALIS_HOME");
        StandinFixture::TearDown();
    }

    QString SettingsPath() const { return m_program.path() + QStringLiteral("/ordalis.ini"); }
    void WriteSettings(const QByteArray &content) const { writeBytes(SettingsPath(), content); }
    QByteArray SettingsContent() const { return readBytes(SettingsPath()); }
    static QString TestData(const QString &name)
    {
        return QString::fromUtf8(readBytes(QStringLiteral(ORDALIS_TEST_DATA "/") + name));
    }
    // A contact as "field<TAB>value" lines.
    static Values ExpectedContact(const QString &name)
    {
        Values values;
        for (const QString &line : TestData(name).split(u'\n', Qt::SkipEmptyParts))
            values.insert(line.section(u'\t', 0, 0).toInt(), line.section(u'\t', 1));
        return values;
    }

    static Catalogue CatalogueOf(const FieldRows &rows)
    {
        Catalogue entries;
        for (int position = 0; position < rows.EntryCount(); ++position)
            entries.append({rows.EntryAt(position).FieldNumber, rows.EntryAt(position).Name});
        return entries;
    }
    QStringList NamesOf(qint32 fieldNumber) const
    {
        QStringList names;
        for (const auto &[number, name] : CatalogueOf(rows))
            if (number == fieldNumber)
                names.append(name);
        return names;
    }

    // ACT!'s database, read whether it runs or not.
    QVector<StandinContact> Contacts() const
    {
        return ContactDatabase::Open(ContactDatabasePath(Home()))->Contacts();
    }
    qint64 ShownId() const
    {
        return ContactDatabase::Open(ContactDatabasePath(Home()))->Shown().contactId;
    }
    void SetFieldLabel(qint32 fieldNumber, const QString &label) const
    {
        sqlite3 *db = nullptr;
        sqlite3_open(ContactDatabasePath(Home()).toUtf8().constData(), &db);
        sqlite3_busy_timeout(db, 5000);
        const QByteArray sql = QStringLiteral("UPDATE fields SET label = '%1' WHERE number = %2")
                                   .arg(label)
                                   .arg(fieldNumber)
                                   .toUtf8();
        EXPECT_EQ(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }

    FieldRows rows;
    Settings settings;
    RecognitionContext context{settings};
    ActConnection act;
    TestHost host{rows, context};
    SaidMessages messages;

private:
    QTemporaryDir m_program;
};
