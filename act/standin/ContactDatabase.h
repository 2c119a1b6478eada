#pragma once

#include <QMap>
#include <QString>
#include <QVector>

#include <memory>
#include <optional>

struct sqlite3;
struct sqlite3_stmt;

struct StandinField
{
    qint32 number = 0;
    QString label; // may be empty
};

struct StandinContact
{
    qint64 id = 0;
    QMap<qint32, QString> values; // by field number
};

// The contact the stand-in shows and how often a user chose one by hand.
struct ShownContact
{
    qint64 contactId = 0; // 0: none
    qint64 userChoices = 0;
};

// The stand-in's contact database (contacts.sqlite): the field list, the
// contacts with their values and the contact shown. Several processes use the
// file at once: WAL mode, a busy timeout, and one transaction per call, so no
// reader ever sees half a change. Every failure throws ActError.
class ContactDatabase
{
    class Transaction;

public:
    static constexpr int DefaultBusyTimeoutMs = 5000;

    // Damage shows itself only where a statement happens to read it, so an
    // opening checks the whole file (SQLite's quick_check: about half a second
    // for 100,000 contacts) before anything can write to it; a damaged one is
    // copied aside and refused. The running stand-in checked its database when
    // it started: the automation objects, which work only while it runs, skip
    // the check.
    enum class Check : quint8 { Whole, DoneByRunningStandin };

    // An existing database; missing, locked past the timeout or damaged throws.
    static std::unique_ptr<ContactDatabase>
    Open(const QString &path, int busyTimeoutMs = DefaultBusyTimeoutMs, Check check = Check::Whole);
    // Creates the file with its first content when it has none yet; a field
    // count replaces the field list by that many seeded fields.
    static std::unique_ptr<ContactDatabase> OpenOrCreate(const QString &path,
                                                         std::optional<int> fieldCount = {});
    // The field list a new database gets: some 60 fields, or `count` of them.
    static QVector<StandinField> SeedFields(std::optional<int> count = {});

    ~ContactDatabase();
    ContactDatabase(const ContactDatabase &) = delete;
    ContactDatabase &operator=(const ContactDatabase &) = delete;

    int FieldCount();
    QVector<StandinField> Fields();

    QVector<StandinContact> Contacts();
    ShownContact Shown();
    // A new empty contact, which becomes the one shown.
    ShownContact AddNewContact();
    // Stores the value in `boundContact` while nobody has chosen another
    // contact by hand since it was bound (see ShownContact::userChoices), else
    // in the contact shown now. Returns the contact written.
    qint64 SetField(std::optional<ShownContact> boundContact, qint32 fieldNumber,
                    const QString &value);
    // New contacts with their values, all in one transaction: every one is
    // added or, when one fails, none. The contact shown stays. Returns the ids.
    QVector<qint64> AddContacts(const QVector<QMap<qint32, QString>> &contacts);

    // The same one contact at a time, for more contacts than memory should
    // hold at once: none is kept unless Commit is reached.
    class ContactBatch
    {
    public:
        explicit ContactBatch(ContactDatabase &database);
        ~ContactBatch();
        ContactBatch(const ContactBatch &) = delete;
        ContactBatch &operator=(const ContactBatch &) = delete;

        qint64 Add(const QMap<qint32, QString> &values);
        void Commit();

    private:
        ContactDatabase &m_database;
        std::unique_ptr<Transaction> m_transaction;
    };
    // A user's choice of the contact to show.
    void ShowContact(qint64 contactId);

    // Changes whenever another connection committed something.
    qint64 DataVersion();
    QString Path() const { return m_path; }

private:
    ContactDatabase(sqlite3 *db, QString path);
    class Statement;

    sqlite3_stmt *prepared(const char *sql);
    [[noreturn]] void fail(int code, const QString &during) const;
    void exec(const char *sql);
    void createSchemaAndSeed(std::optional<int> fieldCount);
    void requireIntact();
    QString copiedAside() const;
    void requireSchema();
    bool contactExists(qint64 contactId);
    bool fieldExists(qint32 fieldNumber);

    sqlite3 *m_db;
    QString m_path;
    QMap<const char *, sqlite3_stmt *> m_statements;
};
