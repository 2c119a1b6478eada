#include "ActTestSupport.h"

#include "act/standin/StandinPaths.h"

#include "recognition/ParseAddress.h"

#include <QFile>

#include <sqlite3.h>

void TestHost::SetBusyPointer(bool on)
{
    busy = on;
    events.append(on ? QStringLiteral("busy") : QStringLiteral("idle"));
}

void TestHost::SetTopMost(bool onTop)
{
    events.append(onTop ? QStringLiteral("topmost") : QStringLiteral("not topmost"));
}

void TestHost::CaptureClipboard()
{
    ++captures;
    CaptureText(m_context, clipboard, false, m_rows, clipText, nullptr);
}

quint8 TestHost::ShowCompletionDialog(bool LastWriteWasNew)
{
    events.append(QStringLiteral("completion"));
    completions.append(LastWriteWasNew);
    return completionAnswer;
}

void ActTest::SetUp()
{
    StandinFixture::SetUp();
    qputenv("ORDALIS_HOME", m_program.path().toLocal8Bit()); // for the CLI
    SetMessagePresenter(&messages);
    rows.FillStandardCatalogue();
    // No file yet: no definitions, the default countries.
    settings = LoadSettings(rows, SettingsPath());
}

void ActTest::TearDown()
{
    act.ReleaseActObjects();
    SetMessagePresenter(nullptr);
    qunsetenv("ORDALIS_HOME");
    StandinFixture::TearDown();
}

QString ActTest::TestData(const QString &name)
{
    return QString::fromUtf8(readBytes(QStringLiteral(ORDALIS_TEST_DATA "/") + name));
}

Values ActTest::ExpectedContact(const QString &name)
{
    Values values;
    for (const QString &line : TestData(name).split(u'\n', Qt::SkipEmptyParts))
        values.insert(line.section(u'\t', 0, 0).toInt(), line.section(u'\t', 1));
    return values;
}

Catalogue ActTest::CatalogueOf(const FieldRows &rows)
{
    Catalogue entries;
    for (int position = 0; position < rows.EntryCount(); ++position)
        entries.append({rows.EntryAt(position).FieldNumber, rows.EntryAt(position).Name});
    return entries;
}

QStringList ActTest::NamesOf(qint32 fieldNumber) const
{
    QStringList names;
    for (const auto &[number, name] : CatalogueOf(rows)) {
        if (number == fieldNumber)
            names.append(name);
    }
    return names;
}

void ActTest::SetRow(int row, qint32 fieldNumber, const QString &value)
{
    rows.SelectRowField(row, fieldNumber);
    ASSERT_EQ(rows.ReadRow(row).value_or(RowContent{}).FieldNumber, fieldNumber);
    rows.SetRowValue(row, value);
}

QVector<StandinContact> ActTest::Contacts() const
{
    return ContactDatabase::Open(ContactDatabasePath(Home()))->Contacts();
}

qint64 ActTest::ShownId() const
{
    return ContactDatabase::Open(ContactDatabasePath(Home()))->Shown().contactId;
}

Values ActTest::ShownValues() const
{
    const qint64 shown = ShownId();
    for (const StandinContact &contact : Contacts()) {
        if (contact.id == shown)
            return contact.values;
    }
    return {};
}

void ActTest::SetFieldLabel(qint32 fieldNumber, const QString &label) const
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
