// Finding ACT!'s folder and cleaning stale entries out of its command file.

#include "common/TestFiles.h"
#include "installer/modACTReg.h"

#include "act/standin/CommandFileLock.h"
#include "support/Registry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>

using namespace Qt::StringLiterals;

namespace {

class ActCmdFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(m_actFolder));
        m_registry.WriteString(ActAppPathsKey, ActAppPathsValue, m_actFolder);
    }

    void write(const QByteArray &bytes) const { writeBytes(m_commandFile, bytes); }
    QByteArray content() const { return readBytes(m_commandFile); }

    QTemporaryDir m_dir;
    QString m_actFolder = m_dir.filePath(u"ACT f\u00fcr Linux"_s);
    QString m_commandFile = m_actFolder + u"/actcmd.ini"_s;
    IniFileRegistry m_registry{m_dir.filePath(u"registry.ini"_s)};
};

TEST_F(ActCmdFile, RemovesTheFirstMatchOfEachFamilyAndNothingElse)
{
    const struct
    {
        const char *what;
        QString name;
        QByteArray before, after;
    } cases[] = {
        {"lowest-numbered match only", u"x"_s,
         "[AuxCommand-0]\r\ncmdname=Y\r\ncmdline=/y\r\n[AuxCommand-1]\r\ncmdname=X\r\ncmdline=/"
         "x\r\n"
         "[AuxCommand-2]\r\ncmdname=X\r\ncmdline=/x2\r\n"
         "[AuxTBarCommand-0]\r\ncmdname=X\r\ntoolbar=1\r\n[AuxTBarCommand-1]\r\ncmdname=X\r\n",
         "[AuxCommand-0]\r\ncmdname=Y\r\ncmdline=/y\r\n[AuxCommand-2]\r\ncmdname=X\r\ncmdline=/"
         "x2\r\n"
         "[AuxTBarCommand-1]\r\ncmdname=X\r\n"},
        {"case and blanks around the name do not count, umlauts included", u"  \u00e4rger  "_s,
         "[AuxCommand-0]\r\ncmdname= \xc4rger "
         "\r\ncmdline=/a\r\n[AuxTBarCommand-0]\r\ncmdname=\xc4RGER\r\n",
         ""},
        {"sharp s is not double s", u"STRASSE"_s,
         "[AuxCommand-0]\r\ncmdname=Stra\xdf"
         "e\r\ncmdline=/a\r\n",
         "[AuxCommand-0]\r\ncmdname=Stra\xdf"
         "e\r\ncmdline=/a\r\n"},
        {"a command without cmdline ends the command pass", u"X"_s,
         "[AuxCommand-0]\r\ncmdname=Y\r\n[AuxCommand-1]\r\ncmdname=X\r\ncmdline=/x\r\n"
         "[AuxTBarCommand-0]\r\ncmdname=X\r\n",
         "[AuxCommand-0]\r\ncmdname=Y\r\n[AuxCommand-1]\r\ncmdname=X\r\ncmdline=/x\r\n"},
        {"a gap in the numbers or an empty name ends a pass", u"X"_s,
         "[AuxCommand-0]\r\ncmdname=Y\r\ncmdline=/y\r\n[AuxCommand-2]\r\ncmdname=X\r\ncmdline=/"
         "x\r\n"
         "[AuxTBarCommand-0]\r\ncmdname=\r\n[AuxTBarCommand-1]\r\ncmdname=X\r\n",
         "[AuxCommand-0]\r\ncmdname=Y\r\ncmdline=/y\r\n[AuxCommand-2]\r\ncmdname=X\r\ncmdline=/"
         "x\r\n"
         "[AuxTBarCommand-0]\r\ncmdname=\r\n[AuxTBarCommand-1]\r\ncmdname=X\r\n"},
        {"everything around a match stays byte for byte", u"X"_s,
         "; ACT!\n[Settings]\nLast = 3\n\n[auxcommand-0]\n  cmdname = X\ncmdline=/x\nicon=x.ico\n\n"
         "[Other]\r\nkey=value with  blanks \r\n[AuxTBarCommand-0]\ncmdname=Y\n"
         "[AUXTBARCOMMAND-1]\ncmdname=x\n[Tail]\nend=1",
         "; ACT!\n[Settings]\nLast = 3\n\n"
         "[Other]\r\nkey=value with  blanks \r\n[AuxTBarCommand-0]\ncmdname=Y\n[Tail]\nend=1"},
    };
    for (const auto &c : cases) {
        write(c.before);
        RemoveActCmdEntries(c.name, m_registry);
        EXPECT_EQ(content(), c.after) << c.what;
    }
}

TEST_F(ActCmdFile, WithoutCommandFileOrRegistryEntryNothingIsTouched)
{
    RemoveActCmdEntries(u"X"_s, m_registry);
    EXPECT_TRUE(QDir(m_actFolder).isEmpty()) << "no command file, no lock file";

    write("[AuxCommand-0]\r\ncmdname=X\r\ncmdline=/x\r\n");
    RemoveActCmdEntries(u"X"_s, IniFileRegistry(m_dir.filePath(u"leer.ini"_s)));
    EXPECT_EQ(content(), "[AuxCommand-0]\r\ncmdname=X\r\ncmdline=/x\r\n");
}

TEST_F(ActCmdFile, AStuckLockHolderCannotHangTheEdit)
{
    write("[AuxCommand-0]\r\ncmdname=X\r\ncmdline=/x\r\n");
    const CommandFileLock held(m_commandFile);
    ASSERT_TRUE(held.IsHeld());

    const CommandFileLock waiting(m_commandFile, std::chrono::milliseconds(50));
    EXPECT_TRUE(waiting.TimedOut());
    EXPECT_FALSE(waiting.IsHeld()) << "two editors must never hold the lock at once";
}

TEST(ActFolder, ValueMustFitTheRegistryBuffer)
{
    QTemporaryDir dir;
    const QString fits = u"/"_s + QString(253, u'\u00e4'); // 254 bytes and the NUL
    const std::optional<QString> values[] = {std::nullopt, u"/opt/act"_s, fits, fits + u'a'};
    const QString expected[] = {QString(), u"/opt/act"_s, fits, QString()};
    for (int i = 0; i < 4; ++i) {
        IniFileRegistry registry(dir.filePath(u"registry%1.ini"_s.arg(i)));
        registry.WriteString(u"Anderswo"_s, ActAppPathsValue, u"/falsch"_s);
        if (values[i])
            registry.WriteString(ActAppPathsKey, ActAppPathsValue, *values[i]);
        EXPECT_EQ(GetActFolder(registry), expected[i]) << "case " << i;
    }
}

} // namespace
