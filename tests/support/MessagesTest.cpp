#include "common/RecordingPresenter.h"
#include "common/TestFiles.h"

#include "support/FileTools.h"
#include "support/Log.h"
#include "support/Messages.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <stdexcept>

namespace {

TEST(MessagesTest, LoggedMessagesAppendDatedLinesAndAnUnwritableLogIsTheCallersFailure)
{
    QTemporaryDir home;
    RecordingPresenter presenter;
    SetMessagePresenter(&presenter);
    qputenv("ORDALIS_HOME", home.path().toLocal8Bit());
    ShowMessage(QStringLiteral("erste Meldung"), MessageStyle::Information, true);
    ShowMessage(QStringLiteral("zweite: Möglicherweise"), MessageStyle::Exclamation, true);
    const QString log = QString::fromUtf8(readBytes(home.filePath(QStringLiteral("logfile.txt"))));
    static const QRegularExpression entry(
        QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d : (.*)$"));
    const QStringList lines = log.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 3) << log.toStdString();
    EXPECT_EQ(lines[2], QString());
    EXPECT_EQ(entry.match(lines[0]).captured(1), QStringLiteral("erste Meldung"));
    EXPECT_EQ(entry.match(lines[1]).captured(1), QStringLiteral("zweite: Möglicherweise"));
    EXPECT_EQ(presenter.shown.size(), 2);

    qputenv("ORDALIS_HOME", home.filePath(QStringLiteral("missing/folder")).toLocal8Bit());
    EXPECT_THROW(AppendToLog(QStringLiteral("x")), std::runtime_error);
    EXPECT_THROW(ShowMessage(QStringLiteral("x"), MessageStyle::Information, true),
                 std::runtime_error);
    EXPECT_EQ(presenter.shown.size(), 2) << "logged first, so nothing was shown";
    SetMessagePresenter(nullptr);
    qunsetenv("ORDALIS_HOME");
}

TEST(FileExists, OnlyRegularVisibleFiles)
{
    QTemporaryDir folder;
    writeBytes(folder.filePath(QStringLiteral("plain.ini")), "x");
    writeBytes(folder.filePath(QStringLiteral(".hidden")), "x");
    QFile::link(folder.filePath(QStringLiteral("plain.ini")),
                folder.filePath(QStringLiteral("link.ini")));
    QDir(folder.path()).mkdir(QStringLiteral("sub"));
    const QString plain = folder.filePath(QStringLiteral("plain.ini"));
    for (const QString &yes : {plain, folder.filePath(QStringLiteral("link.ini"))})
        EXPECT_TRUE(FileExists(yes)) << yes.toStdString();
    for (const QString &no :
         {folder.filePath(QStringLiteral(".hidden")), folder.filePath(QStringLiteral("sub")),
          folder.filePath(QStringLiteral("missing.ini")), plain + QStringLiteral("/x"), QString(),
          plain + QChar(0) + u'x'})
        EXPECT_FALSE(FileExists(no)) << no.toStdString();
}

} // namespace
