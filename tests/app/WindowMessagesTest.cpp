#include "RecordingPresenter.h"

#include "common/TestFiles.h"

#include "app/WindowMessages.h"
#include "support/MessageTexts.h"
#include "support/Outcome.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTemporaryDir>

#include <stdexcept>

namespace {

TEST(WindowMessages, LoggedMessagesAppendDatedLinesAndAnUnwritableLogShowsNothing)
{
    QTemporaryDir home;
    RecordingPresenter presenter;
    const ScopedMessagePresenter answering(presenter);
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
    EXPECT_THROW(ShowMessage(QStringLiteral("x"), MessageStyle::Information, true),
                 std::runtime_error);
    EXPECT_EQ(presenter.shown.size(), 2) << "logged first, so nothing was shown";
    qunsetenv("ORDALIS_HOME");
}

// The window shows what the core reported, the reason below the text, and
// nothing for a step that had nothing to say.
TEST(WindowMessages, OutcomesShowTheirTextWithTheReasonBelow)
{
    RecordingPresenter presenter;
    {
        const ScopedMessagePresenter answering(presenter);
        ShowMessage(Message{});
        ShowMessage(Message{Message::Id::ContactNotCreated, {}, QStringLiteral("RPC failed")});
        ShowMessage(Message{Message::Id::ClipboardEmpty});
    }
    EXPECT_EQ(presenter.Texts(),
              (QStringList{MessageText::ContactNotCreated + QStringLiteral("\n\nRPC failed"),
                           MessageText::ClipboardEmpty}));
    EXPECT_EQ(presenter.Styles(),
              (QList<qint16>{MessageStyle::Exclamation, MessageStyle::Information}));
    for (const auto &shown : presenter.shown)
        EXPECT_EQ(shown.title, QStringLiteral("Ordalis"));
}

} // namespace
