// ordalis-cli new-contact / edit-contact into a real Radicale, run as a user
// runs it; the cards are read back by python3-vobject.

#include "RadicaleServer.h"

#include "carddav/DavSession.h"
#include "destinations/PasswordStore.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QTcpServer>

using namespace Qt::StringLiterals;

namespace {

const QByteArray Sample = "Beispiel GmbH\nMax Mustermann\nHauptstraße 1\n10115 Berlin\n"
                          "Tel. 030 1234567\nmax.mustermann@beispiel.de\n";

struct CliRun
{
    int exitCode = -1;
    QJsonObject json; // the last JSON line
    QList<QJsonObject> lines;
    QString err;
};

class CardDavTest : public ::testing::Test
{
protected:
    // ordalis-cli COMMAND --carddav-url URL --user anna ... --json (--carddav when there is no
    // URL), settings and the platform's settings place in the temporary folder.
    CliRun Run(const QString &command, const QString &url, const QStringList &more,
               const QByteArray &input, const QString &password = u"geheim"_s)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"ORDALIS_HOME"_s, home.path());
        environment.insert(u"ORDALIS_CARDDAV_PASSWORD"_s, password);
        environment.insert(u"XDG_CONFIG_HOME"_s, home.path());
        QProcess cli;
        cli.setProcessEnvironment(environment);
        QStringList arguments =
            url.isEmpty() ? QStringList{command, u"--carddav"_s}
                          : QStringList{command, u"--carddav-url"_s, url, u"--user"_s, u"anna"_s};
        arguments += more.contains(u"--jsonl"_s) ? more : more + QStringList{u"--json"_s};
        cli.start(QStringLiteral(ORDALIS_CLI), arguments);
        cli.write(input);
        cli.closeWriteChannel();
        CliRun run;
        if (!cli.waitForFinished(60000))
            return run;
        run.exitCode = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
        run.err = QString::fromUtf8(cli.readAllStandardError());
        for (const QByteArray &line : cli.readAllStandardOutput().split('\n')) {
            if (!line.isEmpty())
                run.lines.append(QJsonDocument::fromJson(line).object());
        }
        run.json = run.lines.value(run.lines.size() - 1);
        return run;
    }

    // The card as python3-vobject reads it: property -> values.
    static QJsonObject ReadCard(const QString &path)
    {
        QProcess python;
        python.start(SystemPython, {QStringLiteral(ORDALIS_TEST_DATA "/read-card.py"), path});
        python.waitForFinished(30000);
        return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    }

    QStringList KeptCards() const { return QDir(home.path()).entryList({u"Kontakt-*.vcf"_s}); }

    QTemporaryDir home;
    RadicaleServer radicale;
};

TEST_F(CardDavTest, ANewCardReadsBackTheSameAndItsDuplicateIsFound)
{
    ASSERT_TRUE(radicale.Start());
    const CliRun first = Run(u"new-contact"_s, radicale.Url(), {}, Sample);
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    const QString card = first.json.value("card"_L1).toString();
    EXPECT_TRUE(card.startsWith(radicale.Url() + u"anna/kontakte/"_s)) << card.toStdString();

    const QJsonObject read = ReadCard(radicale.CardFile(card));
    const auto values = [&read](const char *name) {
        return read.value(QLatin1StringView(name)).toVariant().toStringList();
    };
    EXPECT_EQ(values("version"), QStringList{u"3.0"_s});
    EXPECT_EQ(values("fn"), QStringList{u"Max Mustermann"_s});
    EXPECT_EQ(values("n"), QStringList{u";;;;"_s}); // the name came as one "Kontakt"
    EXPECT_EQ(values("org"), QStringList{u"Beispiel GmbH"_s});
    EXPECT_EQ(values("adr"), QStringList{u"Hauptstraße 1;Berlin;10115;Deutschland"_s});
    EXPECT_EQ(values("tel"), QStringList{u"0301234567"_s});
    EXPECT_EQ(values("email"), QStringList{u"max.mustermann@beispiel.de"_s});

    // The same person again, by e-mail address: reported, not written, unless asked to.
    const QByteArray again = QByteArray(Sample).replace("1234567", "7654321");
    const struct
    {
        QStringList options;
        int exitCode;
        int cards;
    } cases[] = {{{}, 1, 1}, {{u"--create-anyway"_s}, 0, 2}};
    for (const auto &c : cases) {
        const CliRun run = Run(u"new-contact"_s, radicale.Url(), c.options, again);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_EQ(radicale.CardCount(), c.cards);
        if (c.exitCode != 0) {
            EXPECT_TRUE(run.json.value("message"_L1).toString().contains(u"schon eine Karte"_s));
            EXPECT_EQ(run.json.value("card"_L1).toString(), card);
        }
    }
}

TEST_F(CardDavTest, EditGoesOnFromTheLastCardButNeverOverAnotherClientsChange)
{
    ASSERT_TRUE(radicale.Start());
    const QString card =
        Run(u"new-contact"_s, radicale.Url(), {}, Sample).json.value("card"_L1).toString();
    ASSERT_FALSE(card.isEmpty());
    const CliRun edited =
        Run(u"edit-contact"_s, radicale.Url(), {}, "Fax 030 999999\nmax.mustermann@beispiel.de\n");
    ASSERT_EQ(edited.exitCode, 0) << edited.err.toStdString();
    const QJsonObject read = ReadCard(radicale.CardFile(card));
    EXPECT_EQ(read.value("fn"_L1).toArray().size(), 1); // the name stayed
    EXPECT_EQ(read.value("tel"_L1).toArray().size(), 2) << QJsonDocument(read).toJson().data();

    // Another client changes the card; the next edit must not overwrite it.
    QFile file(radicale.CardFile(card));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray theirs = file.readAll().replace("Max Mustermann", "Maximilian Mustermann");
    file.close();
    DavSession other(u"anna"_s, u"geheim"_s);
    ASSERT_EQ(other.Send("PUT", QUrl(card), theirs, {{"Content-Type", "text/vcard"}}).Status, 201);
    const CliRun stale = Run(u"edit-contact"_s, radicale.Url(), {}, Sample);
    EXPECT_EQ(stale.exitCode, 1);
    EXPECT_TRUE(stale.json.value("message"_L1).toString().contains(u"inzwischen"_s));
    EXPECT_EQ(ReadCard(radicale.CardFile(card)).value("fn"_L1).toArray().first().toString(),
              u"Maximilian Mustermann"_s);
    EXPECT_EQ(KeptCards().size(), 1);
}

TEST_F(CardDavTest, CarddavWritesIntoTheAccountSetUpInTheWindow)
{
    ASSERT_TRUE(radicale.Start());
    const CliRun none = Run(u"new-contact"_s, {}, {}, Sample);
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_TRUE(none.err.contains(u"no address book is set up"_s)) << none.err.toStdString();

    // As the window's setup dialog leaves it.
    QSettings window(home.filePath(u"Ordalis/Ordalis.conf"_s), QSettings::IniFormat);
    window.setValue(u"Adressbuch/Adresse"_s, radicale.Url() + u"anna/kontakte/"_s);
    window.setValue(u"Adressbuch/Benutzer"_s, u"anna"_s);
    window.sync();
    const CliRun run = Run(u"new-contact"_s, {}, {}, Sample);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(radicale.CardCount(), 1);
}

TEST_F(CardDavTest, JsonlWritesOneCardPerLineInInputOrder)
{
    ASSERT_TRUE(radicale.Start());
    const QByteArray lines = R"({"text":"Anna Alt\nA-Weg 1\n10115 Berlin"})"
                             "\n"
                             R"({"text":"Bernd Bau\nB-Weg 2\n20095 Hamburg"})"
                             "\nkein JSON\n";
    const CliRun run = Run(u"new-contact"_s, radicale.Url(), {u"--jsonl"_s}, lines);
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.lines.size(), 3);
    EXPECT_EQ(radicale.CardCount(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(run.lines[i].value("line"_L1).toInt(), i + 1);
        const QJsonObject read =
            ReadCard(radicale.CardFile(run.lines[i].value("card"_L1).toString()));
        EXPECT_EQ(read.value("fn"_L1).toArray().first().toString(),
                  i == 0 ? u"Anna Alt"_s : u"Bernd Bau"_s);
    }
    EXPECT_FALSE(run.lines[2].value("written"_L1).toBool());
}

// Each bad condition: the contact is not written, the message says why, and
// the card is kept as a file the message names.
TEST_F(CardDavTest, EachBadConditionSaysWhyAndKeepsTheContact)
{
    ASSERT_TRUE(radicale.Start());
    QTcpServer silent; // takes connections, never answers
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    QProcess odd;
    odd.start(SystemPython, {QStringLiteral(ORDALIS_TEST_DATA "/odd-server.py")});
    // The ports may come in more than one read.
    while (!odd.canReadLine() && odd.waitForReadyRead(10000)) {
    }
    const QList<QByteArray> ports = odd.readLine().trimmed().split(' ');
    ASSERT_EQ(ports.size(), 2) << odd.readAllStandardError().toStdString();
    const QString oddUrl = u"http://127.0.0.1:%1/"_s.arg(ports[0].toInt());
    const QString tlsUrl = u"https://127.0.0.1:%1/"_s.arg(ports[1].toInt());
    const QString stopped = u"http://127.0.0.1:%1/"_s.arg(FreeLoopbackPort());

    const struct
    {
        const char *name;
        QString url;
        QString password;
        QString says;
        QStringList options;
    } cases[] = {
        {"wrong password", radicale.Url(), u"falsch"_s, u"Passwort ist falsch"_s, {}},
        {"server stopped", stopped, u"geheim"_s, u"nicht erreichbar"_s, {}},
        {"never answers",
         u"http://127.0.0.1:%1/"_s.arg(silent.serverPort()),
         u"geheim"_s,
         u"nicht geantwortet (abgebrochen nach 1 s)"_s,
         {}},
        {"self-signed certificate",
         tlsUrl,
         u"geheim"_s,
         u"„127.0.0.1“, ausgestellt von „127.0.0.1“"_s,
         {}},
        {"not CardDAV", oddUrl, u"geheim"_s, u"kein CardDAV-Adressbuch"_s, {}},
        {"redirect elsewhere",
         oddUrl + u"weiter/"_s,
         u"geheim"_s,
         u"http://localhost:1/dav/"_s,
         {}},
        {"quota", oddUrl + u"voll/"_s, u"geheim"_s, u"kein Platz mehr"_s, {}},
        {"no such address book",
         radicale.Url(),
         u"geheim"_s,
         u"Adressbuch nicht zu finden (vorhanden: Kontakte)"_s,
         {u"--addressbook"_s, u"Weg"_s}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const qsizetype kept = KeptCards().size();
        const CliRun run = Run(u"new-contact"_s, c.url,
                               c.options + QStringList{u"--timeout"_s, u"1"_s}, Sample, c.password);
        const QString message = run.json.value("message"_L1).toString();
        EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
        EXPECT_TRUE(message.contains(c.says)) << message.toStdString();
        ASSERT_EQ(KeptCards().size(), kept + 1);
        EXPECT_TRUE(message.contains(home.path())) << message.toStdString();
    }
    for (const QString &name : KeptCards())
        EXPECT_EQ(ReadCard(home.filePath(name)).value("fn"_L1).toArray().size(), 1);
    EXPECT_EQ(radicale.CardCount(), 0);
    odd.kill();
    odd.waitForFinished();
}

// Without a keyring (no session bus here) the password lasts the session only,
// and no file anywhere under the user's folders holds it.
TEST(PasswordStoreTest, WithoutAKeyringThePasswordStaysInMemoryOnly)
{
    QTemporaryDir user;
    const QProcessEnvironment before = QProcessEnvironment::systemEnvironment();
    const auto restore = qScopeGuard([&before] {
        for (const char *variable : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME",
                                     "DBUS_SESSION_BUS_ADDRESS"}) {
            const QString name = QString::fromLatin1(variable);
            if (before.contains(name))
                qputenv(variable, before.value(name).toLocal8Bit());
            else
                qunsetenv(variable);
        }
    });
    for (const char *variable : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        qputenv(variable, user.path().toLocal8Bit());
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
    KeyringPasswordStore store;
    QString reason;
    EXPECT_FALSE(store.Write(u"carddav:anna@127.0.0.1"_s, u"geheim-123"_s, reason));
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_EQ(store.Problem(), reason);
    EXPECT_EQ(store.Read(u"carddav:anna@127.0.0.1"_s), u"geheim-123"_s);
    EXPECT_EQ(KeyringPasswordStore().Read(u"carddav:anna@127.0.0.1"_s), QString());
    QDirIterator files(user.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_FALSE(file.readAll().contains("geheim-123")) << file.fileName().toStdString();
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
