// Finding ACT!'s folder and cleaning stale entries out of its command file.

#include "QtPrinters.h"
#include "installer/modACTReg.h"

#include "act/standin/CommandFileLock.h"
#include "support/Registry.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

class ActCmdFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_actFolder = m_dir.filePath(u"ACT f\u00fcr Windows"_s);
        ASSERT_TRUE(QDir().mkpath(m_actFolder));
        m_registry.WriteString(ActAppPathsKey, ActAppPathsValue, m_actFolder);
    }

    QString commandFile() const { return m_actFolder + u"/actcmd.ini"_s; }

    void writeCommandFile(const QByteArray &bytes)
    {
        QFile file(commandFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    QByteArray commandFileBytes() const
    {
        QFile file(commandFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir m_dir;
    QString m_actFolder;
    IniFileRegistry m_registry{m_dir.filePath(u"registry.ini"_s)};
};

struct RemovalCase
{
    const char *what;
    QString name;
    QByteArray before;
    QByteArray after;
};

TEST_F(ActCmdFile, RemovesTheFirstMatchOfEachFamilyAndNothingElse)
{
    const RemovalCase cases[] = {
        {"lowest-numbered match only, in either family", u"x"_s,
         "[AuxCommand-0]\r\ncmdname=Other\r\ncmdline=/bin/other\r\n"
         "[AuxCommand-1]\r\ncmdname=X\r\ncmdline=/bin/x\r\n"
         "[AuxCommand-2]\r\ncmdname=X\r\ncmdline=/bin/x2\r\n"
         "[AuxTBarCommand-0]\r\ncmdname=X\r\ntoolbar=1\r\n"
         "[AuxTBarCommand-1]\r\ncmdname=X\r\ntoolbar=3\r\n",
         "[AuxCommand-0]\r\ncmdname=Other\r\ncmdline=/bin/other\r\n"
         "[AuxCommand-2]\r\ncmdname=X\r\ncmdline=/bin/x2\r\n"
         "[AuxTBarCommand-1]\r\ncmdname=X\r\ntoolbar=3\r\n"},
        {"letter case and blanks around the name do not count", u"  adress-fang  "_s,
         "[AuxCommand-0]\r\ncmdname= Adress-Fang \r\ncmdline=/bin/a\r\n"
         "[AuxTBarCommand-0]\r\ncmdname=ADRESS-FANG\r\n",
         ""},
        {"umlauts compare without case, sharp s is never SS", u"\u00e4rger"_s,
         "[AuxCommand-0]\r\ncmdname=\xc4rger\r\ncmdline=/bin/a\r\n"
         "[AuxTBarCommand-0]\r\ncmdname=\xc4RGER\r\n",
         ""},
        {"sharp s does not match double s", u"STRASSE"_s,
         "[AuxCommand-0]\r\ncmdname=Stra\xdf"
         "e\r\ncmdline=/bin/a\r\n",
         "[AuxCommand-0]\r\ncmdname=Stra\xdf"
         "e\r\ncmdline=/bin/a\r\n"},
        {"a command without cmdline ends the command pass at once", u"X"_s,
         "[AuxCommand-0]\r\ncmdname=Y\r\n"
         "[AuxCommand-1]\r\ncmdname=X\r\ncmdline=/bin/x\r\n"
         "[AuxTBarCommand-0]\r\ncmdname=X\r\n",
         "[AuxCommand-0]\r\ncmdname=Y\r\n"
         "[AuxCommand-1]\r\ncmdname=X\r\ncmdline=/bin/x\r\n"},
        {"a gap in the numbers ends the pass", u"X"_s,
         "[AuxCommand-0]\r\ncmdname=Y\r\ncmdline=/bin/y\r\n"
         "[AuxCommand-2]\r\ncmdname=X\r\ncmdline=/bin/x\r\n"
         "[AuxTBarCommand-1]\r\ncmdname=X\r\n",
         "[AuxCommand-0]\r\ncmdname=Y\r\ncmdline=/bin/y\r\n"
         "[AuxCommand-2]\r\ncmdname=X\r\ncmdline=/bin/x\r\n"
         "[AuxTBarCommand-1]\r\ncmdname=X\r\n"},
        {"an empty toolbar name ends the toolbar pass", u"X"_s,
         "[AuxTBarCommand-0]\r\ncmdname=\r\n"
         "[AuxTBarCommand-1]\r\ncmdname=X\r\n",
         "[AuxTBarCommand-0]\r\ncmdname=\r\n"
         "[AuxTBarCommand-1]\r\ncmdname=X\r\n"},
        {"the empty name matches nothing", QString(),
         "[AuxCommand-0]\r\ncmdname=Y\r\ncmdline=/bin/y\r\n",
         "[AuxCommand-0]\r\ncmdname=Y\r\ncmdline=/bin/y\r\n"},
        {"everything around a match stays byte for byte", u"X"_s,
         "; ACT! command file\n"
         "[Settings]\nLast = 3\n\n"
         "[auxcommand-0]\n  cmdname = X\ncmdline=/bin/x\nicon=x.ico\n; note\n\n"
         "[Other]\r\nkey=value with  blanks \r\n"
         "[AuxTBarCommand-0]\ncmdname=Y\n"
         "[AUXTBARCOMMAND-1]\ncmdname=x\n[Tail]\nend=1",
         "; ACT! command file\n"
         "[Settings]\nLast = 3\n\n"
         "[Other]\r\nkey=value with  blanks \r\n"
         "[AuxTBarCommand-0]\ncmdname=Y\n"
         "[Tail]\nend=1"},
        {"no match leaves the file as it was", u"Z"_s,
         "[AuxCommand-0]\ncmdname = X \ncmdline=/bin/x\n[AuxTBarCommand-0]\ncmdname=X",
         "[AuxCommand-0]\ncmdname = X \ncmdline=/bin/x\n[AuxTBarCommand-0]\ncmdname=X"},
    };
    for (const RemovalCase &c : cases) {
        writeCommandFile(c.before);
        RemoveActCmdEntries(c.name, m_registry);
        EXPECT_EQ(commandFileBytes(), c.after) << c.what;
    }
}

TEST_F(ActCmdFile, WithoutCommandFileOrRegistryEntryNothingIsCreated)
{
    RemoveActCmdEntries(u"X"_s, m_registry);
    EXPECT_TRUE(QDir(m_actFolder).isEmpty()) << "no command file, no lock file";

    IniFileRegistry empty(m_dir.filePath(u"empty-registry.ini"_s));
    writeCommandFile("[AuxCommand-0]\r\ncmdname=X\r\ncmdline=/bin/x\r\n");
    RemoveActCmdEntries(u"X"_s, empty);
    EXPECT_EQ(commandFileBytes(), "[AuxCommand-0]\r\ncmdname=X\r\ncmdline=/bin/x\r\n");
}

TEST_F(ActCmdFile, EditWaitsForTheCommandFileLock)
{
    const QByteArray before = "[AuxCommand-0]\r\ncmdname=X\r\ncmdline=/bin/x\r\n";
    writeCommandFile(before);
    std::atomic<bool> done = false;
    std::thread remover;
    {
        const CommandFileLock held(commandFile());
        ASSERT_TRUE(held.IsHeld());
        remover = std::thread([&] {
            RemoveActCmdEntries(u"X"_s, m_registry);
            done = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        EXPECT_FALSE(done) << "the edit must wait while the stand-in holds the lock";
        EXPECT_EQ(commandFileBytes(), before);
    }
    remover.join();
    EXPECT_EQ(commandFileBytes(), QByteArray());
}

TEST(ActFolder, ValueMustFitTheRegistryBuffer)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const struct
    {
        const char *what;
        std::optional<QString> value; // nullopt: no value recorded
        QString expected;
    } cases[] = {
        {"not recorded", std::nullopt, QString()},
        {"recorded", u"/opt/act"_s, u"/opt/act"_s},
        {"empty", QString(), QString()},
        {"254 bytes fit with the NUL", u"/"_s + QString(253, u'a'), u"/"_s + QString(253, u'a')},
        {"255 bytes do not", u"/"_s + QString(254, u'a'), QString()},
        {"umlauts are one byte each", u"/"_s + QString(253, u'\u00e4'),
         u"/"_s + QString(253, u'\u00e4')},
    };
    int n = 0;
    for (const auto &c : cases) {
        IniFileRegistry registry(dir.filePath(u"registry%1.ini"_s.arg(++n)));
        registry.WriteString(u"Elsewhere"_s, ActAppPathsValue, u"/wrong"_s);
        if (c.value)
            registry.WriteString(ActAppPathsKey, ActAppPathsValue, *c.value);
        EXPECT_EQ(GetActFolder(registry), c.expected) << c.what;
    }
    EXPECT_EQ(GetActFolder(IniFileRegistry(dir.filePath(u"none.ini"_s))), QString())
        << "no registry file at all";
}

} // namespace
