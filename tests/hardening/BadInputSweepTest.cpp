// Everything a user or a file can hand the programs, at its worst: each run
// must end by itself, normally (no signal), with a clear exit code and the
// message meant for it, and leave the files it was not meant to touch alone.

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <functional>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString Cli = QStringLiteral(ORDALIS_CLI);
const QString Tastor = QStringLiteral(TASTOR_BINARY);
const QString Standin = QStringLiteral(ACT_STANDIN_BINARY);

// What ACT! had before: a foreign command with a button on toolbar 1.
const QByteArray Foreign = "[Settings]\r\nVersion=6.0\r\n"
                           "[AuxCommand-0]\r\ncmdname=Kalender\r\ncmdline=/usr/bin/cal\r\n"
                           "[AuxTBarCommand-0]\r\ncmdname=Kalender\r\ntoolbar=1\r\n";

struct Outcome
{
    bool finished = false;
    bool normalExit = false;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;

    QString all() const { return QString::fromUtf8(out + err); }
};

QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QRandomGenerator generator(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &c : bytes)
        c = char(generator.bounded(256));
    return bytes;
}

bool runsAsRoot()
{
    return ::geteuid() == 0;
}

class BadInputSweep : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_temp.isValid());
        m_environment = QProcessEnvironment::systemEnvironment();
        const QString home = path(u"home"_s);
        ASSERT_TRUE(QDir().mkpath(home));
        ASSERT_TRUE(QDir().mkpath(path(u"ordalis"_s)));
        m_environment.insert(u"ACT_STANDIN_HOME"_s, path(u"act"_s));
        m_environment.insert(u"ACT_STANDIN_REGISTRY"_s, registryFile());
        m_environment.insert(u"ORDALIS_HOME"_s, path(u"ordalis"_s));
        m_environment.insert(u"HOME"_s, home);
        m_environment.insert(u"XDG_CONFIG_HOME"_s, home + u"/.config"_s);
        m_environment.insert(u"XDG_DATA_HOME"_s, home + u"/.local/share"_s);
        m_environment.insert(u"XDG_RUNTIME_DIR"_s, home);
        // Numbers are read with the user's conventions: pin them.
        m_environment.insert(u"LC_ALL"_s, u"C.UTF-8"_s);
        m_environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    }

    void TearDown() override
    {
        if (m_standin.state() != QProcess::NotRunning) {
            m_standin.terminate();
            if (!m_standin.waitForFinished(10000))
                m_standin.kill();
            m_standin.waitForFinished(5000);
        }
        // Whatever a row made unreadable must not keep the folder from going.
        QProcess::execute(u"chmod"_s, {u"-R"_s, u"u+rwx"_s, m_temp.path()});
    }

    QString path(const QString &name) const { return m_temp.filePath(name); }
    QString actFolder() const { return path(u"act"_s); }
    QString commandFile() const { return actFolder() + u"/actcmd.ini"_s; }
    QString database() const { return actFolder() + u"/contacts.sqlite"_s; }
    QString registryFile() const { return path(u"registry.ini"_s); }

    Outcome run(const QString &program, const QStringList &arguments, const QByteArray &input = {},
                bool verbose = false)
    {
        QProcess process;
        QProcessEnvironment environment = m_environment;
        if (verbose)
            environment.insert(u"TASTOR_VERBOSE"_s, u"1"_s);
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        Outcome outcome;
        if (!process.waitForStarted(10000))
            return outcome;
        // Written in pieces: a pipe holds far less than a huge input.
        qsizetype written = 0;
        while (written < input.size() && process.state() == QProcess::Running) {
            written += process.write(input.constData() + written,
                                     std::min<qsizetype>(1 << 20, input.size() - written));
            process.waitForBytesWritten(30000);
        }
        process.closeWriteChannel();
        outcome.finished = process.waitForFinished(30000);
        if (!outcome.finished) {
            process.kill();
            process.waitForFinished(5000);
        }
        outcome.normalExit = process.exitStatus() == QProcess::NormalExit;
        outcome.exitCode = outcome.normalExit ? process.exitCode() : -1;
        outcome.out = process.readAllStandardOutput();
        outcome.err = process.readAllStandardError();
        return outcome;
    }

    // Ends by itself, without a signal, with the expected code.
    static void expectClearEnd(const Outcome &outcome, int exitCode, const std::string &name)
    {
        EXPECT_TRUE(outcome.finished) << name << ": did not end in time";
        EXPECT_TRUE(outcome.normalExit) << name << ": ended by a signal";
        EXPECT_EQ(outcome.exitCode, exitCode)
            << name << ": " << outcome.all().left(400).toStdString();
    }

    // The real stand-in, headless, on this test's folders.
    void startStandin()
    {
        m_standin.setProcessEnvironment(m_environment);
        m_standin.start(Standin, {u"--headless"_s});
        ASSERT_TRUE(m_standin.waitForStarted(10000));
        QByteArray seen;
        const QDeadlineTimer deadline(20000);
        while (!deadline.hasExpired() && m_standin.state() == QProcess::Running) {
            m_standin.waitForReadyRead(100);
            seen += m_standin.readAllStandardOutput();
            if (seen.contains("act-standin l"))
                return;
        }
        FAIL() << "act-standin did not start: " << m_standin.readAllStandardError().toStdString();
    }

    static void write(const QString &file, const QByteArray &bytes)
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate)) << file.toStdString();
        out.write(bytes);
    }

    static QByteArray read(const QString &file)
    {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("<unreadable>");
    }

    QTemporaryDir m_temp;
    QProcessEnvironment m_environment;
    QProcess m_standin;
};

QString statusOf(const QByteArray &json)
{
    return QJsonDocument::fromJson(json).object()[u"status"_s].toString();
}

TEST_F(BadInputSweep, ClipboardTextNeverBreaksRecognition)
{
    QByteArray controls;
    for (int c = 0; c < 0x20; ++c)
        controls += char(c);
        // The sanitizer build parses an order of magnitude slower; a smaller block
        // still goes far beyond anything the rows can hold.
#if defined(__SANITIZE_ADDRESS__)
    constexpr int hugeSize = 2 << 20;
#else
    constexpr int hugeSize = 20 << 20;
#endif
    QByteArray huge;
    huge.reserve(hugeSize);
    while (huge.size() < hugeSize)
        huge += "Muster GmbH\r\nHauptstraße 1\r\n12345 Berlin\r\n";
    const struct
    {
        const char *name;
        QByteArray input;
        int exitCode;
        const char *status;
    } cases[] = {
        {"every control character in a block", "Muster GmbH\n" + controls + "\nBerlin\n", 0, "ok"},
        {"only control characters", controls, 0, "ok"},
        {"only NULs", QByteArray(64, '\0'), 1, "no-separator"},
        {"UTF-8 encoded lone high surrogate", "Muster\xed\xa0\x80 GmbH\nBerlin", 0, "ok"},
        {"UTF-8 encoded lone low surrogate", "\xed\xbf\xbf\nBerlin", 0, "ok"},
        {"truncated and overlong sequences", "\xc3\n\xe2\x82\n\xc0\xaf\n\xf8\x88\x80\x80\x80", 0,
         "ok"},
        {"random bytes", randomBytes(64 << 10, 8), 0, "ok"},
        {"megabytes of addresses", huge, 0, "ok"},
    };
    for (const auto &c : cases) {
        const Outcome outcome = run(Cli, {u"recognize"_s, u"--json"_s}, c.input);
        expectClearEnd(outcome, c.exitCode, c.name);
        EXPECT_EQ(statusOf(outcome.out), QString::fromUtf8(c.status)) << c.name;
    }
}

TEST_F(BadInputSweep, CommandLinesTheCliCannotUse)
{
    const QString longName = QString(10000, u'x');
    const struct
    {
        const char *name;
        QStringList arguments;
        const char *message;
    } cases[] = {
        {"no command", {}, "Usage:"},
        {"FILE a folder", {u"recognize"_s, m_temp.path()}, "cannot read"},
        {"FILE of 10,000 characters", {u"recognize"_s, longName}, "cannot read"},
        {"FILE only blanks", {u"recognize"_s, u"   "_s}, "cannot read"},
        {"FILE quoted", {u"recognize"_s, u"\"%1\""_s.arg(path(u"a b.txt"_s))}, "cannot read"},
        {"FILE in a missing folder", {u"new-contact"_s, path(u"fehlt/a.txt"_s)}, "cannot read"},
        {"--settings without a value", {u"recognize"_s, u"--settings"_s}, "needs a value"},
        {"--settings of 10,000 characters",
         {u"recognize"_s, u"--settings"_s, longName},
         "cannot read"},
        {"fields with an argument", {u"fields"_s, longName}, "unknown argument"},
    };
    for (const auto &c : cases) {
        const Outcome outcome = run(Cli, c.arguments, "Muster GmbH\nBerlin\n");
        expectClearEnd(outcome, 2, c.name);
        EXPECT_TRUE(outcome.err.contains(c.message))
            << c.name << ": " << outcome.all().toStdString();
        EXPECT_EQ(outcome.out, QByteArray()) << c.name;
    }
}

TEST_F(BadInputSweep, UnusableSettingsFilesGiveTheDefaults)
{
    const QString folder = path(u"ordner.ini"_s);
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString binary = path(u"binaer.ini"_s);
    write(binary, randomBytes(256 << 10, 3));
    const QString huge = path(u"riesig.ini"_s);
    write(huge, "[Allgemein]\r\n" + QByteArray(70 << 20, 'x'));
    const QString nul = path(u"nul.ini"_s);
    write(nul, QByteArray("[Zusatzfelder]\r\nFeld1=\0\0\0\r\n", 26));

    const struct
    {
        const char *name;
        QString settings;
        int exitCode;
        const char *message;
    } cases[] = {
        {"binary", binary, 0, ""},
        {"larger than any settings file", huge, 0, ""},
        {"NUL bytes", nul, 0, ""},
        {"a folder", folder, 2, "ordner.ini"},
    };
    const QByteArray address = "Muster GmbH\nBerlin\n";
    for (const auto &c : cases) {
        const QByteArray before = read(c.settings);
        const Outcome outcome =
            run(Cli, {u"recognize"_s, u"--json"_s, u"--settings"_s, c.settings}, address);
        expectClearEnd(outcome, c.exitCode, c.name);
        EXPECT_TRUE(outcome.all().contains(QString::fromUtf8(c.message))) << c.name;
        EXPECT_EQ(read(c.settings), before) << c.name << ": a bad file is never rewritten";
    }

    // The same files where the program looks for its own settings.
    const QString own = path(u"ordalis/ordalis.ini"_s);
    for (const auto &c : cases) {
        QFile::remove(own);
        QDir(own).removeRecursively();
        if (QFileInfo(c.settings).isDir())
            ASSERT_TRUE(QDir().mkpath(own));
        else
            ASSERT_TRUE(QFile::copy(c.settings, own));
        const Outcome outcome = run(Cli, {u"recognize"_s, u"--json"_s}, address);
        expectClearEnd(outcome, 0, std::string("own settings: ") + c.name);
        EXPECT_EQ(statusOf(outcome.out), u"ok"_s) << c.name;
    }
}

// Tastor runs unattended: whatever it is given, it ends normally with 0 and
// prints nothing; only its step lines (TASTOR_VERBOSE) tell what it did.
class TastorSweep : public BadInputSweep
{
protected:
    void SetUp() override
    {
        BadInputSweep::SetUp();
        ASSERT_NO_FATAL_FAILURE(startStandin());
        write(commandFile(), Foreign);
    }

    // Runs tastor with its step lines on and returns them.
    QString tastorSays(const QStringList &arguments, const std::string &name)
    {
        const Outcome outcome = run(Tastor, arguments, {}, true);
        expectClearEnd(outcome, 0, name);
        EXPECT_EQ(outcome.out, QByteArray()) << name;
        return outcome.all();
    }

    // Each in a file of its own, so that a table of them can be built first.
    QString button(const QByteArray &bytes)
    {
        const QString file = path(u"knopf%1.ini"_s.arg(++m_buttons));
        write(file, bytes);
        return file;
    }

    int m_buttons = 0;
};

TEST_F(TastorSweep, BadButtonFilesChangeNothing)
{
    const QString folder = path(u"ordner.ini"_s);
    ASSERT_TRUE(QDir().mkpath(folder));
    const QByteArray name = "NAME=Adressfang\r\n";
    const struct
    {
        const char *name;
        QString file;
        const char *says;
    } cases[] = {
        {"a folder", folder, "nicht gefunden"},
        // no section: the defaults, that is adding a command without a program
        {"binary without the section", button(randomBytes(64 << 10, 5)), "kein Programm"},
        {"binary after the keys", button("[BUTTON]\r\nINSTALL=x\r\n" + randomBytes(4096, 6)),
         "keine Zahl"},
        {"larger than any button file", button("[BUTTON]\r\n" + name + QByteArray(65 << 20, ';')),
         "kein Programm"},
        // the value ends at NUL, as the platform's INI functions read it
        {"NUL in INSTALL",
         button(QByteArray("[BUTTON]\r\nINSTALL=0\0"
                           "1\r\n",
                           23) +
                name),
         "kennt \xe2\x80\x9e"
         "Adressfang\xe2\x80\x9c nicht"},
        {"INSTALL empty", button("[BUTTON]\r\nINSTALL=\r\n" + name), "keine Zahl"},
        {"INSTALL x", button("[BUTTON]\r\nINSTALL=x\r\n" + name), "keine Zahl"},
        {"INSTALL Arabic one", button("[BUTTON]\r\nINSTALL=\xd9\xa1\r\n" + name), "keine Zahl"},
        // read cut to 255 characters: the 1 at its end is lost
        {"INSTALL very long",
         button("[BUTTON]\r\nINSTALL=" + QByteArray(300, '0') + "1\r\n" + name),
         "kennt \xe2\x80\x9e"
         "Adressfang\xe2\x80\x9c nicht"},
        {"1e3 removes: nothing to remove", button("[BUTTON]\r\nINSTALL=1e3\r\n" + name),
         "kennt \xe2\x80\x9e"
         "Adressfang\xe2\x80\x9c nicht"},
    };
    for (const auto &c : cases) {
        const QString says = tastorSays({c.file}, c.name);
        EXPECT_TRUE(says.contains(QString::fromUtf8(c.says)))
            << c.name << ": " << says.toStdString();
        EXPECT_EQ(read(commandFile()), Foreign) << c.name;
    }
    if (!runsAsRoot()) {
        const QString locked = button("[BUTTON]\r\n" + name);
        QFile::setPermissions(locked, {});
        // there but empty to read: the defaults again
        EXPECT_TRUE(tastorSays({locked}, "unreadable").contains(u"kein Programm"_s));
        EXPECT_EQ(read(commandFile()), Foreign) << "unreadable";
    }
}

TEST_F(TastorSweep, OddButtonValuesAndCommandLines)
{
    // A name longer than the installer reads is cut, never refused.
    const QString longName = QString(300, u'N');
    tastorSays({button("[BUTTON]\r\nNAME=" + longName.toUtf8() + "\r\nFILENAME=/p\r\n")},
               "long NAME");
    QString section;
    const QByteArray after = read(commandFile());
    EXPECT_TRUE(after.contains("cmdname=" + QByteArray(255, 'N') + "\r\n")) << "long NAME";
    EXPECT_FALSE(after.contains(QByteArray(256, 'N'))) << "long NAME";

    write(commandFile(), Foreign);
    const QString spaced = path(u"mit Leerzeichen/knopf.ini"_s);
    const struct
    {
        const char *name;
        QStringList arguments;
        const char *says;
    } cases[] = {
        {"10,000 characters", {QString(10000, u'k')}, "nicht gefunden"},
        {"10,000 characters of path", {path(QString(10000, u'p'))}, "nicht gefunden"},
        {"path in a missing folder", {path(u"fehlt/knopf.ini"_s)}, "nicht gefunden"},
        {"unpaired quote", {u"\""_s + spaced}, "nicht gefunden"},
        {"only blanks", {u" "_s, u"\t"_s, u"  "_s}, "leere Befehlszeile"},
        {"the root folder", {u"/"_s}, "nicht gefunden"},
    };
    for (const auto &c : cases) {
        const QString says = tastorSays(c.arguments, c.name);
        EXPECT_TRUE(says.contains(QString::fromUtf8(c.says)))
            << c.name << ": " << says.toStdString();
        EXPECT_EQ(read(commandFile()), Foreign) << c.name;
    }
}

TEST_F(TastorSweep, BadCommandFileOrRegistry)
{
    const QString add = button("[BUTTON]\r\nNAME=Adressfang\r\nFILENAME=/opt/o/ordalis\r\n");
    const QByteArray garbage = randomBytes(32 << 10, 11);

    // A folder where the command file belongs: nothing can be added.
    QFile::remove(commandFile());
    ASSERT_TRUE(QDir().mkpath(commandFile()));
    const QString refused = tastorSays({add}, "actcmd.ini a folder");
    EXPECT_TRUE(refused.contains(u"ACT! meldet einen Fehler"_s)) << refused.toStdString();
    EXPECT_TRUE(QFileInfo(commandFile()).isDir());
    // read as no file: an empty list
    const Outcome listed = run(Standin, {u"commands"_s});
    expectClearEnd(listed, 0, "commands with actcmd.ini a folder");
    EXPECT_EQ(listed.out, QByteArray());
    ASSERT_TRUE(QDir(commandFile()).removeRecursively());

    // Garbage: the command goes in, the bytes that were there stay.
    write(commandFile(), garbage);
    EXPECT_TRUE(tastorSays({add}, "actcmd.ini binary").contains(u"Befehl angelegt"_s));
    EXPECT_TRUE(read(commandFile()).startsWith(garbage)) << "foreign bytes kept";
    expectClearEnd(run(Standin, {u"commands"_s}), 0, "commands with actcmd.ini binary");

    if (!runsAsRoot()) {
        write(commandFile(), Foreign);
        QFile::setPermissions(commandFile(), QFile::ReadOwner);
        EXPECT_TRUE(
            tastorSays({add}, "actcmd.ini read-only").contains(u"ACT! meldet einen Fehler"_s));
        EXPECT_EQ(read(commandFile()), Foreign);
        QFile::setPermissions(commandFile(), QFile::ReadOwner | QFile::WriteOwner);
    }

    // The registry tells tastor where the command file is; a bad one only
    // skips the clean-up.
    const QByteArray registry = read(registryFile());
    const QByteArray hugePath =
        registry.left(registry.indexOf("Path=") + 5) + QByteArray(1 << 20, 'p') + "\r\n";
    const struct
    {
        const char *name;
        QByteArray bytes; // empty: a folder
        const char *says;
    } registries[] = {
        {"binary", garbage, "nicht in der Registry"},
        // longer than the value buffer: read as not there
        {"huge Path value", hugePath, "nicht in der Registry"},
        {"a folder", {}, "nicht in der Registry"},
    };
    for (const auto &r : registries) {
        write(commandFile(), Foreign);
        QFile::remove(registryFile());
        if (r.bytes.isEmpty())
            ASSERT_TRUE(QDir().mkpath(registryFile()));
        else
            write(registryFile(), r.bytes);
        const QString says = tastorSays({add}, r.name);
        EXPECT_TRUE(says.contains(QString::fromUtf8(r.says)))
            << r.name << ": " << says.toStdString();
        EXPECT_TRUE(says.contains(u"Befehl angelegt"_s)) << r.name;
        QDir(registryFile()).removeRecursively();
    }
}

// The stand-in's database gone, corrupt or replaced.
TEST_F(BadInputSweep, BrokenContactDatabase)
{
    const QByteArray garbage = randomBytes(64 << 10, 21);
    const auto stop = [this] {
        m_standin.terminate();
        m_standin.waitForFinished(10000);
    };
    const struct
    {
        const char *name;
        std::function<void()> breakIt;
        int contactsExit;
        const char *says; // why the query or the start fails
        bool needsNonRoot;
    } cases[] = {
        {"missing while ACT! runs", [&] { QFile::remove(database()); }, 1, "nicht vorhanden",
         false},
        {"a folder in its place while ACT! runs",
         [&] {
             QFile::remove(database());
             QDir().mkpath(database());
         },
         1, "nicht vorhanden", false},
        {"garbage over it",
         [&] {
             stop();
             write(database(), garbage);
         },
         1, "beschädigt", false},
        // still readable: only what writes fails
        {"read-only",
         [&] {
             stop();
             QFile::setPermissions(database(), QFile::ReadOwner);
         },
         0, "readonly", true},
    };
    const QByteArray address = "Muster GmbH\nHauptstraße 1\n12345 Berlin\n";
    for (const auto &c : cases) {
        if (c.needsNonRoot && runsAsRoot())
            continue;
        QDir(actFolder()).removeRecursively();
        ASSERT_NO_FATAL_FAILURE(startStandin());
        c.breakIt();
        const QByteArray before = read(database());

        const Outcome contacts = run(Standin, {u"contacts"_s});
        expectClearEnd(contacts, c.contactsExit, std::string("contacts: ") + c.name);
        if (c.contactsExit != 0) {
            EXPECT_TRUE(QString::fromUtf8(contacts.err).contains(QString::fromUtf8(c.says)))
                << c.name << ": " << contacts.all().toStdString();
        }

        const Outcome fields = run(Cli, {u"fields"_s, u"--json"_s});
        expectClearEnd(fields, 1, std::string("fields: ") + c.name);
        EXPECT_TRUE(fields.out.startsWith("{\"loaded\":false")) << c.name;
        EXPECT_TRUE(fields.all().contains(u"Die Felder konnten nicht"_s)) << c.name;

        const Outcome added = run(Cli, {u"new-contact"_s, u"--json"_s}, address);
        expectClearEnd(added, 1, std::string("new-contact: ") + c.name);
        const QJsonObject result = QJsonDocument::fromJson(added.out).object();
        EXPECT_FALSE(result[u"written"_s].toBool(true)) << c.name;
        EXPECT_FALSE(result[u"message"_s].toString().isEmpty())
            << c.name << ": " << added.all().toStdString();
        EXPECT_EQ(read(database()), before) << c.name << ": the broken file is left as it was";

        if (m_standin.state() == QProcess::NotRunning) {
            // ACT! does not start on it, says why, and does not replace it
            const Outcome start = run(Standin, {u"--headless"_s});
            expectClearEnd(start, 1, std::string("start: ") + c.name);
            EXPECT_TRUE(start.all().contains(QString::fromUtf8(c.says)))
                << c.name << ": " << start.all().toStdString();
            EXPECT_EQ(read(database()), before) << c.name;
        }
        stop();
    }
}

} // namespace
