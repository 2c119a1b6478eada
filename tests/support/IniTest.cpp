#include "common/CaseFile.h"
#include "common/TestFiles.h"

#include "support/AtomicReplace.h"
#include "support/IniProfile.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFileInfo>

#include <csignal>

#include <sys/resource.h>
#include <unistd.h>

namespace {

using namespace Qt::StringLiterals;

class IniTest : public ::testing::Test
{
protected:
    QTemporaryDir folder;
    QString path() const { return folder.filePath(QStringLiteral("test.ini")); }
    IniProfile ini(int buffer = 8192) const
    {
        IniProfile file(buffer);
        file.setFileName(path());
        return file;
    }
};

// A text of the case file: \xNN is a Windows-1252 byte, the rest as written.
QString text(const QString &escaped)
{
    QString out;
    for (qsizetype i = 0; i < escaped.size(); ++i) {
        if (escaped[i] == u'\\' && i + 1 < escaped.size()) {
            out += cp(Unescape(escaped.mid(i, escaped[i + 1] == u'x' ? 4 : 2)));
            i += escaped[i + 1] == u'x' ? 3 : 1;
        } else {
            out += escaped[i];
        }
    }
    return out;
}

void runLine(IniProfile &file, const QString &command, const QStringList &f)
{
    if (command == u"read") {
        IniProfile sized(f.size() > 4 ? f[4].toInt() : 8192);
        sized.setFileName(file.FileName());
        EXPECT_EQ(sized.ReadData(text(f[0]), text(f[1]), text(f[2])), text(f.value(3)))
            << "read " << f.join(u'|').toStdString();
    } else if (command == u"write") {
        file.WriteData(text(f[0]), text(f[1]), text(f.value(2)));
    } else if (command == u"delete") {
        file.DeleteSection(text(f.value(0)));
    }
}

using IniCases = CaseFileTest<IniTest>;

TEST_P(IniCases, Run)
{
    const DataCase &c = GetParam();
    if (c.has(u"file"_s))
        writeBytes(path(), Unescape(c.value(u"file"_s)));
    IniProfile file = ini();
    for (const auto &[command, argument] : c.lines)
        runLine(file, command, argument.split(u'|'));
    const QString after = c.has(u"after"_s) ? u"after"_s : u"file"_s;
    EXPECT_EQ(readBytes(path()), c.has(after) ? Unescape(c.value(after)) : QByteArray("<missing>"));
    EXPECT_LE(folderEntries(folder.path()).size(), 1) << "stray files";
}

INSTANTIATE_TEST_SUITE_P(File, IniCases, CasesOf(ORDALIS_TEST_DATA "/ini-cases.txt"), CaseTestName);

TEST_F(IniTest, NothingToDoLeavesTheFileUntouched)
{
    writeBytes(path(), "[S]\r\n  k = v \r\n");
    const ino_t before = inodeOf(path());
    IniProfile file = ini();
    file.WriteData(u"s"_s, u" K"_s, u"v"_s);
    file.DeleteSection(u"T"_s);
    EXPECT_EQ(inodeOf(path()), before);
    EXPECT_EQ(readBytes(path()), QByteArray("[S]\r\n  k = v \r\n"));
}

TEST_F(IniTest, ReplacementIsAtomicAndKeepsOwnerGroupModeAndLink)
{
    const QByteArray target = QFile::encodeName(path());
    writeBytes(path(), "[S]\r\nk=old\r\n");
    // Only root can hand a file to another owner.
    const bool root = ::geteuid() == 0;
    const mode_t mode = root ? 02664 : 0640;
    ASSERT_TRUE(!root || ::chown(target.constData(), 65534, 65534) == 0);
    ASSERT_EQ(::chmod(target.constData(), mode), 0);
    const QString link = folder.filePath(u"link.ini"_s);
    ASSERT_TRUE(QFile::link(path(), link));
    QFile reader(path());
    ASSERT_TRUE(reader.open(QIODevice::ReadOnly));
    IniProfile file;
    file.setFileName(link);
    file.WriteData(u"S"_s, u"k"_s, u"new"_s);
    // A reader that opened the file before still sees the whole old version.
    EXPECT_EQ(reader.readAll(), QByteArray("[S]\r\nk=old\r\n"));
    EXPECT_EQ(readBytes(path()), QByteArray("[S]\r\nk=new\r\n"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    struct stat st
    {};
    ASSERT_EQ(::stat(target.constData(), &st), 0);
    EXPECT_EQ(st.st_uid, root ? 65534u : ::geteuid());
    EXPECT_EQ(st.st_gid, root ? 65534u : ::getegid());
    EXPECT_EQ(st.st_mode & 07777, mode);
    EXPECT_EQ(folderEntries(folder.path()), (QStringList{u"link.ini"_s, u"test.ini"_s}));
}

TEST_F(IniTest, WriteRemovesOnlyStaleTemporaryFilesOfItsOwn)
{
    const QDateTime old = QDateTime::currentDateTime().addSecs(-120);
    const auto make = [&](const char *name, const QDateTime &modified) {
        const QString file = folder.filePath(QString::fromLatin1(name));
        writeBytes(file, "x");
        QFile handle(file);
        handle.open(QIODevice::ReadWrite);
        handle.setFileTime(modified, QFileDevice::FileModificationTime);
    };
    make("test.ini.aB3xYz", old);                          // left by a killed write: goes
    make("test.ini.Fresh1", QDateTime::currentDateTime()); // may be a write in flight
    make("test.ini.aB3xY", old);
    make("test.ini.aB3xYz1", old);
    make("test.ini.aB3-Yz", old);
    make("other.ini.aB3xYz", old);
    make("target", old);
    QFile::link(folder.filePath(u"target"_s), folder.filePath(u"test.ini.Link12"_s));
    ini().WriteData(u"S"_s, u"k"_s, u"v"_s);
    EXPECT_EQ(folderEntries(folder.path()),
              QStringList({u"other.ini.aB3xYz"_s, u"target"_s, u"test.ini"_s, u"test.ini.Fresh1"_s,
                           u"test.ini.Link12"_s, u"test.ini.aB3-Yz"_s, u"test.ini.aB3xY"_s,
                           u"test.ini.aB3xYz1"_s}));
}

TEST_F(IniTest, RefusedWritesChangeNothingAndLeaveNoTemporaryFile)
{
    const QByteArray content = "[S]\r\nk=1\r\n";
    const QFile::Permissions rw = QFile::ReadOwner | QFile::WriteOwner;
    const QFile::Permissions rwx = rw | QFile::ExeOwner;
    const std::pair<QFile::Permissions, QFile::Permissions> refusals[] = {
        {QFile::ReadOwner, rwx},                  // a read-only file
        {rw, QFile::ReadOwner | QFile::ExeOwner}, // a read-only folder
    };
    for (const auto &[filePermissions, folderPermissions] : refusals) {
        writeBytes(path(), content);
        QFile::setPermissions(path(), filePermissions);
        QFile::setPermissions(folder.path(), folderPermissions);
        IniProfile file = ini();
        file.WriteData(u"S"_s, u"k"_s, u"2"_s);
        file.WriteData(u"T"_s, u"k"_s, u"2"_s);
        file.DeleteSection(u"S"_s);
        EXPECT_EQ(file.ReadData(u"S"_s, u"k"_s, {}), u"1"_s);
        QFile::setPermissions(folder.path(), rwx);
        QFile::setPermissions(path(), rw);
        EXPECT_EQ(readBytes(path()), content);
        EXPECT_EQ(folderEntries(folder.path()), QStringList{u"test.ini"_s});
    }
}

TEST_F(IniTest, AWriteCutShortByAFullDiskIsNoSuccess)
{
    writeBytes(path(), "[S]\r\nk=old\r\n");
    // The file size limit stands in for a full disk: the write stops part way.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit unlimited{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &unlimited), 0);
    rlimit small = unlimited;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = ReplaceAtomically(path(), QByteArray(64 * 1024, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &unlimited);
    EXPECT_FALSE(written);
    EXPECT_EQ(readBytes(path()), QByteArray("[S]\r\nk=old\r\n"));
    EXPECT_EQ(folderEntries(folder.path()), QStringList{u"test.ini"_s});
}

TEST_F(IniTest, EveryCallSeesChangesByOtherWriters)
{
    IniProfile first = ini();
    IniProfile second = ini();
    writeBytes(path(), "[S]\r\nk=1\r\n");
    EXPECT_EQ(first.ReadData(u"S"_s, u"k"_s, {}), u"1"_s);
    // Same size, same inode, within the same clock tick.
    writeBytes(path(), "[S]\r\nk=2\r\n");
    EXPECT_EQ(first.ReadData(u"S"_s, u"k"_s, {}), u"2"_s);
    second.WriteData(u"S"_s, u"j"_s, u"3"_s);
    EXPECT_EQ(first.ReadData(u"S"_s, u"j"_s, {}), u"3"_s);
    writeBytes(path(), "[S]\r\nk=4\r\nj=3\r\n");
    first.WriteData(u"S"_s, u"x"_s, u"5"_s);
    EXPECT_EQ(readBytes(path()), QByteArray("[S]\r\nk=4\r\nj=3\r\nx=5\r\n"));
    QFile::remove(path());
    EXPECT_EQ(second.ReadData(u"S"_s, u"k"_s, u"d"_s), u"d"_s);
}

TEST_F(IniTest, AMissingFolderOrAnOversizedFileGivesTheDefaultAndIsNeverWritten)
{
    writeBytes(path(), "[S]\r\nk=v\r\n");
    QFile file(path());
    ASSERT_TRUE(file.resize(65 * 1024 * 1024)); // sparse: cheap to make
    for (const QString &place : {path(), folder.filePath(QStringLiteral("no/such/folder/x.ini"))}) {
        IniProfile ini;
        ini.setFileName(place);
        EXPECT_EQ(ini.ReadData(u"S"_s, u"k"_s, u"d"_s), u"d"_s);
        ini.WriteData(u"S"_s, u"k"_s, u"w"_s);
        ini.DeleteSection(u"S"_s);
    }
    EXPECT_EQ(folderEntries(folder.path()), QStringList{u"test.ini"_s});
    EXPECT_EQ(QFileInfo(path()).size(), 65 * 1024 * 1024);
    EXPECT_TRUE(readBytes(path()).startsWith("[S]\r\nk=v\r\n"));
}

} // namespace
