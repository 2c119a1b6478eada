#include "ContactDatabase.h"

#include "act/ActObject.h"

#include "support/ActFields.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

const char *const SchemaSql = R"(
CREATE TABLE IF NOT EXISTS fields(
    number INTEGER PRIMARY KEY,
    label TEXT NOT NULL,
    position INTEGER NOT NULL UNIQUE);
CREATE TABLE IF NOT EXISTS contacts(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    created TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS contact_values(
    contact_id INTEGER NOT NULL REFERENCES contacts(id),
    field_number INTEGER NOT NULL,
    value TEXT NOT NULL,
    PRIMARY KEY(contact_id, field_number));
CREATE TABLE IF NOT EXISTS shown(
    only INTEGER PRIMARY KEY CHECK(only = 1),
    contact_id INTEGER,
    user_choices INTEGER NOT NULL DEFAULT 0);
)";

// The stand-in starts with the same list as the fake server of the Windows tests.
const StandinField TypicalFields[] = {
#define TYPICAL_FIELD(number, label) {number, QStringLiteral(label)},
#include "TypicalFields.inc"
};

// The user's own record, the one contact of a new database.
const std::pair<qint32, const char16_t *> OwnRecord[] = {
    {ActField::Firma, u"Albers Beratung"},
    {ActField::Kontakt, u"Henrike Albers"},
    {ActField::Vorname, u"Henrike"},
    {ActField::Nachname, u"Albers"},
    {ActField::Adresse, u"Lindenstraße 12"},
    {ActField::PLZ, u"28195"},
    {ActField::Ort, u"Bremen"},
    {ActField::Land, u"Deutschland"},
    {ActField::Telefon, u"0421 555 0134"},
    {ActField::EMail, u"h.albers@example.org"},
};

// Generated fields beyond the typical list start here, clear of ACT!'s own.
constexpr qint32 FirstGeneratedField = 1000;

QString columnText(sqlite3_stmt *statement, int column)
{
    const auto *text = static_cast<const char16_t *>(sqlite3_column_text16(statement, column));
    const int bytes = sqlite3_column_bytes16(statement, column);
    return text ? QString::fromUtf16(text, bytes / 2) : QString();
}

} // namespace

// A cached prepared statement, reset and unbound when the scope ends.
class ContactDatabase::Statement
{
public:
    Statement(ContactDatabase &db, const char *sql) : m_db(db), m_statement(db.prepared(sql)) {}
    ~Statement()
    {
        sqlite3_reset(m_statement);
        sqlite3_clear_bindings(m_statement);
    }
    Statement &bind(int index, qint64 value)
    {
        check(sqlite3_bind_int64(m_statement, index, value));
        return *this;
    }
    Statement &bind(int index, const QString &value)
    {
        check(sqlite3_bind_text16(m_statement, index, value.utf16(), int(value.size() * 2),
                                  SQLITE_TRANSIENT));
        return *this;
    }
    // True while there is a row.
    bool step()
    {
        const int code = sqlite3_step(m_statement);
        if (code == SQLITE_ROW)
            return true;
        if (code == SQLITE_DONE)
            return false;
        m_db.fail(code, QString());
    }
    qint64 integer(int column) const { return sqlite3_column_int64(m_statement, column); }
    bool isNull(int column) const
    {
        return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
    }
    QString text(int column) const { return columnText(m_statement, column); }

private:
    void check(int code)
    {
        if (code != SQLITE_OK)
            m_db.fail(code, QString());
    }
    ContactDatabase &m_db;
    sqlite3_stmt *m_statement;
};

// BEGIN IMMEDIATE, so a writer waits for the file lock up front (under the
// busy timeout) instead of failing halfway; rolled back unless committed.
class ContactDatabase::Transaction
{
public:
    explicit Transaction(ContactDatabase &db) : m_db(db) { m_db.exec("BEGIN IMMEDIATE"); }
    ~Transaction()
    {
        if (!m_committed)
            sqlite3_exec(m_db.m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    void commit()
    {
        m_db.exec("COMMIT");
        m_committed = true;
    }

private:
    ContactDatabase &m_db;
    bool m_committed = false;
};

ContactDatabase::ContactDatabase(sqlite3 *db, QString path) : m_db(db), m_path(std::move(path)) {}

ContactDatabase::~ContactDatabase()
{
    for (sqlite3_stmt *statement : std::as_const(m_statements))
        sqlite3_finalize(statement);
    sqlite3_close_v2(m_db);
}

std::unique_ptr<ContactDatabase> ContactDatabase::Open(const QString &path, int busyTimeoutMs,
                                                       Check check)
{
    if (!QFileInfo(path).isFile())
        throw ActError(QStringLiteral("Die ACT!-Datenbank ist nicht vorhanden: %1").arg(path));
    sqlite3 *db = nullptr;
    const int code = sqlite3_open_v2(QFile::encodeName(path).constData(), &db,
                                     SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    std::unique_ptr<ContactDatabase> database(new ContactDatabase(db, path));
    if (code != SQLITE_OK)
        database->fail(code, QStringLiteral("beim Öffnen"));
    sqlite3_busy_timeout(db, busyTimeoutMs);
    sqlite3_extended_result_codes(db, 1);
    if (check == Check::Whole)
        database->requireIntact();
    database->requireSchema();
    // In WAL mode this still never corrupts; it only skips a flush per call.
    database->exec("PRAGMA synchronous=NORMAL");
    return database;
}

std::unique_ptr<ContactDatabase> ContactDatabase::OpenOrCreate(const QString &path,
                                                               std::optional<int> fieldCount)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const bool existed = QFileInfo(path).size() > 0;
    sqlite3 *db = nullptr;
    const int code =
        sqlite3_open_v2(QFile::encodeName(path).constData(), &db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    std::unique_ptr<ContactDatabase> database(new ContactDatabase(db, path));
    if (code != SQLITE_OK)
        database->fail(code, QStringLiteral("beim Anlegen"));
    sqlite3_busy_timeout(db, DefaultBusyTimeoutMs);
    sqlite3_extended_result_codes(db, 1);
    if (existed)
        database->requireIntact();
    database->exec("PRAGMA journal_mode=WAL");
    database->exec("PRAGMA synchronous=NORMAL");
    database->createSchemaAndSeed(fieldCount);
    return database;
}

QVector<StandinField> ContactDatabase::SeedFields(std::optional<int> count)
{
    QVector<StandinField> fields(std::begin(TypicalFields), std::end(TypicalFields));
    if (!count)
        return fields;
    const int wanted = qMax(0, *count);
    if (wanted <= fields.size()) {
        fields.resize(wanted);
        return fields;
    }
    fields.reserve(wanted);
    for (int k = 1; fields.size() < wanted; ++k) {
        // Every 25th one unlabelled, as real lists have gaps.
        const QString label = k % 25 == 0 ? QString() : QStringLiteral("Zusatzfeld %1").arg(k);
        fields.append({FirstGeneratedField + k - 1, label});
    }
    return fields;
}

void ContactDatabase::createSchemaAndSeed(std::optional<int> fieldCount)
{
    Transaction transaction(*this);
    exec(SchemaSql);
    const bool hasFields = [&] {
        Statement count(*this, "SELECT count(*) FROM fields");
        return count.step() && count.integer(0) > 0;
    }();
    if (fieldCount || !hasFields) {
        exec("DELETE FROM fields");
        int position = 0;
        for (const StandinField &field : SeedFields(fieldCount)) {
            Statement insert(*this, "INSERT INTO fields(number, label, position) VALUES(?, ?, ?)");
            insert.bind(1, field.number).bind(2, field.label).bind(3, position++).step();
        }
    }
    exec("INSERT OR IGNORE INTO shown(only, contact_id, user_choices) VALUES(1, NULL, 0)");
    const bool hasContacts = [&] {
        Statement count(*this, "SELECT count(*) FROM contacts");
        return count.step() && count.integer(0) > 0;
    }();
    if (!hasContacts) {
        exec("INSERT INTO contacts(created) VALUES(datetime('now'))");
        const qint64 own = sqlite3_last_insert_rowid(m_db);
        for (const auto &[number, value] : OwnRecord) {
            Statement insert(*this, "INSERT INTO contact_values(contact_id, field_number, value) "
                                    "VALUES(?, ?, ?)");
            insert.bind(1, own).bind(2, number).bind(3, QString::fromUtf16(value)).step();
        }
        Statement show(*this, "UPDATE shown SET contact_id = ?");
        show.bind(1, own).step();
    }
    transaction.commit();
}

// An insert can succeed in a file whose other pages are garbage, and the user
// would be told of contacts that can never be listed again.
void ContactDatabase::requireIntact()
{
    QStringList problems;
    sqlite3_stmt *check = nullptr;
    int code = sqlite3_prepare_v2(m_db, "PRAGMA quick_check(5)", -1, &check, nullptr);
    if (code == SQLITE_OK) {
        while ((code = sqlite3_step(check)) == SQLITE_ROW) {
            for (const QString &line : columnText(check, 0).split(u'\n')) {
                if (line != u"ok" && !line.startsWith(u"*** "))
                    problems.append(line);
            }
        }
    }
    sqlite3_finalize(check);
    if (code != SQLITE_DONE) {
        if ((code & 0xff) != SQLITE_CORRUPT && (code & 0xff) != SQLITE_NOTADB)
            fail(code, QStringLiteral("bei der Prüfung"));
        problems.append(QString::fromUtf8(sqlite3_errmsg(m_db)));
    }
    if (problems.isEmpty())
        return;

    // Closing must not fold the write-ahead log into the damaged file.
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    const QString copy = copiedAside();
    const QString kept = copy.isEmpty()
                             ? QStringLiteral("Eine Kopie ließ sich nicht anlegen.")
                             : QStringLiteral("Eine unveränderte Kopie liegt in %1.").arg(copy);
    throw ActError(
        QStringLiteral("Die ACT!-Datenbank %1 ist beschädigt (%2); es wurde nichts "
                       "hineingeschrieben. %3 Zum Wiederherstellen act-standin beenden und die "
                       "Datei durch eine Sicherung ersetzen, oder retten, was lesbar ist: "
                       "„sqlite3 %1 .recover | sqlite3 neu.sqlite“ und neu.sqlite an ihre "
                       "Stelle setzen. Ohne die Datei legt act-standin eine neue, leere an.")
            .arg(m_path, problems.join(u"; "), kept));
}

// A copy of the damaged file (and its write-ahead log), named after the
// file's time, so that trying again does not pile up copies of one damage.
QString ContactDatabase::copiedAside() const
{
    const QFileInfo file(m_path);
    const QString copy =
        m_path + u".defekt-"_s + file.lastModified().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (QFileInfo::exists(copy))
        return copy;
    const QString log = m_path + u"-wal"_s;
    if (!QFile::copy(m_path, copy) ||
        (QFileInfo(log).size() > 0 && !QFile::copy(log, copy + u"-wal"_s))) {
        QFile::remove(copy);
        return {};
    }
    return copy;
}

void ContactDatabase::requireSchema()
{
    Statement tables(*this, "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN "
                            "('fields', 'contacts', 'contact_values', 'shown')");
    if (!tables.step() || tables.integer(0) != 4)
        throw ActError(
            QStringLiteral("Die ACT!-Datenbank ist beschädigt (Tabellen fehlen): %1").arg(m_path));
}

sqlite3_stmt *ContactDatabase::prepared(const char *sql)
{
    if (sqlite3_stmt *statement = m_statements.value(sql))
        return statement;
    sqlite3_stmt *statement = nullptr;
    const int code =
        sqlite3_prepare_v3(m_db, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr);
    if (code != SQLITE_OK)
        fail(code, QString());
    m_statements.insert(sql, statement);
    return statement;
}

void ContactDatabase::exec(const char *sql)
{
    const int code = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
    if (code != SQLITE_OK)
        fail(code, QString());
}

void ContactDatabase::fail(int code, const QString &during) const
{
    const QString detail =
        m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(code));
    const QString where = during.isEmpty() ? QString() : QLatin1Char(' ') + during;
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw ActError(QStringLiteral("Die ACT!-Datenbank ist gesperrt%1 (%2): %3")
                           .arg(where, detail, m_path));
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        throw ActError(QStringLiteral("Die ACT!-Datenbank ist beschädigt%1 (%2): %3")
                           .arg(where, detail, m_path));
    case SQLITE_CANTOPEN:
        throw ActError(QStringLiteral("Die ACT!-Datenbank lässt sich nicht öffnen%1 (%2): %3")
                           .arg(where, detail, m_path));
    default:
        throw ActError(
            QStringLiteral("Fehler der ACT!-Datenbank%1 (%2): %3").arg(where, detail, m_path));
    }
}

int ContactDatabase::FieldCount()
{
    Statement count(*this, "SELECT count(*) FROM fields");
    count.step();
    return int(count.integer(0));
}

QVector<StandinField> ContactDatabase::Fields()
{
    QVector<StandinField> fields;
    Statement all(*this, "SELECT number, label FROM fields ORDER BY position");
    while (all.step())
        fields.append({qint32(all.integer(0)), all.text(1)});
    return fields;
}

QVector<StandinContact> ContactDatabase::Contacts()
{
    // One read transaction, so contacts and values belong to the same moment.
    exec("BEGIN");
    QVector<StandinContact> contacts;
    try {
        Statement ids(*this, "SELECT id FROM contacts ORDER BY id");
        while (ids.step())
            contacts.append(StandinContact{ids.integer(0), {}});
        Statement values(*this, "SELECT contact_id, field_number, value FROM contact_values "
                                "ORDER BY contact_id");
        int index = 0;
        while (values.step()) {
            const qint64 id = values.integer(0);
            while (index < contacts.size() && contacts[index].id < id)
                ++index;
            if (index < contacts.size() && contacts[index].id == id)
                contacts[index].values.insert(qint32(values.integer(1)), values.text(2));
        }
    } catch (...) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    exec("COMMIT");
    return contacts;
}

ShownContact ContactDatabase::Shown()
{
    Statement shown(*this, "SELECT contact_id, user_choices FROM shown WHERE only = 1");
    if (!shown.step())
        return {};
    return {shown.isNull(0) ? 0 : shown.integer(0), shown.integer(1)};
}

ShownContact ContactDatabase::AddNewContact()
{
    Transaction transaction(*this);
    exec("INSERT INTO contacts(created) VALUES(datetime('now'))");
    const qint64 id = sqlite3_last_insert_rowid(m_db);
    {
        Statement show(*this, "UPDATE shown SET contact_id = ? WHERE only = 1");
        show.bind(1, id).step();
    }
    const ShownContact shown = Shown();
    transaction.commit();
    return shown;
}

qint64 ContactDatabase::SetField(std::optional<ShownContact> boundContact, qint32 fieldNumber,
                                 const QString &value)
{
    Transaction transaction(*this);
    const ShownContact shown = Shown();
    const qint64 target = boundContact && boundContact->userChoices == shown.userChoices
                              ? boundContact->contactId
                              : shown.contactId;
    if (target == 0 || !contactExists(target))
        throw ActError(QStringLiteral("ACT! zeigt keinen Kontakt an."));
    if (!fieldExists(fieldNumber))
        throw ActError(
            QStringLiteral("Das Feld %1 gibt es in der ACT!-Datenbank nicht.").arg(fieldNumber));
    Statement store(*this, "INSERT INTO contact_values(contact_id, field_number, value) "
                           "VALUES(?, ?, ?) ON CONFLICT(contact_id, field_number) "
                           "DO UPDATE SET value = excluded.value");
    store.bind(1, target).bind(2, fieldNumber).bind(3, value).step();
    transaction.commit();
    return target;
}

QVector<qint64> ContactDatabase::AddContacts(const QVector<QMap<qint32, QString>> &contacts)
{
    ContactBatch batch(*this);
    QVector<qint64> ids;
    ids.reserve(contacts.size());
    for (const QMap<qint32, QString> &values : contacts)
        ids.append(batch.Add(values));
    batch.Commit();
    return ids;
}

ContactDatabase::ContactBatch::ContactBatch(ContactDatabase &database)
    : m_database(database), m_transaction(std::make_unique<Transaction>(database))
{}

ContactDatabase::ContactBatch::~ContactBatch() = default;

qint64 ContactDatabase::ContactBatch::Add(const QMap<qint32, QString> &values)
{
    m_database.exec("INSERT INTO contacts(created) VALUES(datetime('now'))");
    const qint64 id = sqlite3_last_insert_rowid(m_database.m_db);
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (!m_database.fieldExists(it.key()))
            throw ActError(
                QStringLiteral("Das Feld %1 gibt es in der ACT!-Datenbank nicht.").arg(it.key()));
        Statement insert(m_database, "INSERT INTO contact_values(contact_id, field_number, "
                                     "value) VALUES(?, ?, ?)");
        insert.bind(1, id).bind(2, it.key()).bind(3, it.value()).step();
    }
    return id;
}

void ContactDatabase::ContactBatch::Commit()
{
    m_transaction->commit();
}

void ContactDatabase::ShowContact(qint64 contactId)
{
    Transaction transaction(*this);
    if (!contactExists(contactId))
        throw ActError(QStringLiteral("Den Kontakt %1 gibt es nicht.").arg(contactId));
    Statement show(*this, "UPDATE shown SET contact_id = ?, user_choices = user_choices + 1 "
                          "WHERE only = 1");
    show.bind(1, contactId).step();
    transaction.commit();
}

qint64 ContactDatabase::DataVersion()
{
    Statement version(*this, "PRAGMA data_version");
    version.step();
    return version.integer(0);
}

bool ContactDatabase::contactExists(qint64 contactId)
{
    Statement exists(*this, "SELECT 1 FROM contacts WHERE id = ?");
    exists.bind(1, contactId);
    return exists.step();
}

bool ContactDatabase::fieldExists(qint32 fieldNumber)
{
    Statement exists(*this, "SELECT 1 FROM fields WHERE number = ?");
    exists.bind(1, fieldNumber);
    return exists.step();
}
