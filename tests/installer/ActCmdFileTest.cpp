// Finding ACT!'s folder and cleaning stale entries out of its command file.

#include "common/CaseFile.h"
#include "common/TestFiles.h"
#include "installer/ActCommandFile.h"

#include "support/Registry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

// Each case removes the first match of each family and nothing else.
using ActCmdFileCases = CaseFileTest<ActCmdFile>;

TEST_P(ActCmdFileCases, Remove)
{
    const DataCase &c = GetParam();
    write(Unescape(c.value(u"before"_s)));
    RemoveActCmdEntries(c.value(u"name"_s), m_registry);
    EXPECT_EQ(content(), Unescape(c.value(c.has(u"after"_s) ? u"after"_s : u"before"_s)));
}

INSTANTIATE_TEST_SUITE_P(File, ActCmdFileCases, CasesOf(ORDALIS_TEST_DATA "/actcmd-cases.txt"),
                         CaseTestName);

TEST_F(ActCmdFile, WithoutCommandFileOrRegistryEntryNothingIsTouched)
{
    RemoveActCmdEntries(u"X"_s, m_registry);
    EXPECT_TRUE(QDir(m_actFolder).isEmpty()) << "no command file, no lock file";

    write("[AuxCommand-0]\r\ncmdname=X\r\ncmdline=/x\r\n");
    RemoveActCmdEntries(u"X"_s, IniFileRegistry(m_dir.filePath(u"leer.ini"_s)));
    EXPECT_EQ(content(), "[AuxCommand-0]\r\ncmdname=X\r\ncmdline=/x\r\n");
}

TEST(ActFolder, ValueMustFitTheRegistryBuffer)
{
    QTemporaryDir dir;
    const QString fits = u"/"_s + QString(253, u'\u00e4'); // 254 bytes and the NUL
    const std::pair<std::optional<QString>, QString> cases[] = {
        {std::nullopt, QString()}, {u"/opt/act"_s, u"/opt/act"_s}, {fits, fits}, {fits + u'a', {}}};
    int n = 0;
    for (const auto &[value, expected] : cases) {
        IniFileRegistry registry(dir.filePath(u"registry%1.ini"_s.arg(++n)));
        registry.WriteString(u"Anderswo"_s, ActAppPathsValue, u"/falsch"_s);
        if (value)
            registry.WriteString(ActAppPathsKey, ActAppPathsValue, *value);
        EXPECT_EQ(GetActFolder(registry), expected) << "case " << n;
    }
}

} // namespace
