#include "common/TestFiles.h"

#include "support/FileTools.h"
#include "support/MessageTexts.h"
#include "support/Messages.h"
#include "support/Outcome.h"

#include <gtest/gtest.h>

namespace {

// What the core reports reads as users know it: arguments fill a text's
// placeholders, or follow a text without any (a failure, then what went wrong).
TEST(MessagesTest, OutcomeMessagesReadAsUsersKnowThem)
{
    const struct
    {
        Message message;
        QString text;
        qint16 style;
    } cases[] = {
        {{}, QString(), MessageStyle::Exclamation},
        {{Message::Id::ClipboardEmpty}, MessageText::ClipboardEmpty, MessageStyle::Information},
        {{Message::Id::ContactNotCreated, {}, QStringLiteral("reason stays apart")},
         MessageText::ContactNotCreated,
         MessageStyle::Exclamation},
        {{Message::Id::ContactNotEdited, {QStringLiteral("Zeitüberschreitung."), QString()}},
         MessageText::ContactNotEdited + QStringLiteral(" Zeitüberschreitung. "),
         MessageStyle::Exclamation},
        {{Message::Id::CardAlreadyThere, {QStringLiteral("Anna %2 Muster")}},
         QStringLiteral("Im Adressbuch gibt es schon eine Karte für „Anna %2 Muster“; es wurde "
                        "keine neue angelegt. „Bearbeiten“ ergänzt die gefundene Karte."),
         MessageStyle::Exclamation},
    };
    for (const auto &[message, text, style] : cases) {
        EXPECT_EQ(message.Text(), text);
        EXPECT_EQ(message.IsEmpty(), text.isEmpty());
        if (!message.IsEmpty())
            EXPECT_EQ(message.Style(), style) << text.toStdString();
    }
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
