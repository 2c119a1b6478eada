// The online update from its button: the question, the file test, and the
// start of the real (here: a recording script) update program with exactly ""
// and "small", from a folder whose name a shell would split.

#include "AppTestSupport.h"
#include "common/TestFiles.h"

#include "app/formMain.h"
#include "support/MessageTexts.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QThread>

using namespace Qt::StringLiterals;

namespace {

class UpdateLauncher : public AppTest
{
protected:
    QString recordFile() const { return m_root.filePath(u"update-arguments.txt"_s); }

    // The update program: writes how many arguments it got and each in brackets.
    void installUpdateProgram(bool executable)
    {
        const QByteArray record = '"' + recordFile().toLocal8Bit() + '"';
        writeBytes(UpdateProgramPath(),
                   "#!/bin/sh\n{ echo \"$#\"; for a in \"$@\"; do echo \"[$a]\"; "
                   "done; } > " +
                       record + ".tmp\nmv " + record + ".tmp " + record + "\n");
        QFile::setPermissions(UpdateProgramPath(),
                              executable ? QFile::ReadOwner | QFile::ExeOwner : QFile::ReadOwner);
    }

    QByteArray waitForRecord() const
    {
        const QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired()) {
            QFile file(recordFile());
            if (file.open(QIODevice::ReadOnly))
                return file.readAll();
            QThread::msleep(20);
        }
        return "<not started>";
    }
};

TEST_F(UpdateLauncher, OutcomesOfTheButton)
{
    const QString home = m_root.filePath(u"Mein Ordner; echo x"_s);
    ASSERT_TRUE(QDir().mkpath(home));
    qputenv("ORDALIS_HOME", home.toLocal8Bit());
    struct Case
    {
        const char *what;
        qint16 answer;
        int program; // 0 missing, 1 present but not executable, 2 ready
        QStringList messages;
        bool started;
    } const cases[] = {
        {"answered No", MessageAnswer::No, 2, {MessageText::UpdateQuestion}, false},
        {"program missing",
         MessageAnswer::Yes,
         0,
         {MessageText::UpdateQuestion, MessageText::UpdateNotFound},
         false},
        {"program cannot start",
         MessageAnswer::Yes,
         1,
         {MessageText::UpdateQuestion, MessageText::UpdateNotStarted},
         false},
        {"started", MessageAnswer::Yes, 2, {MessageText::UpdateQuestion}, true},
    };
    for (const Case &c : cases) {
        QFile::remove(UpdateProgramPath());
        QFile::remove(recordFile());
        if (c.program > 0)
            installUpdateProgram(c.program == 2);
        m_presenter.shown.clear();
        m_presenter.answers = {c.answer};

        formMain window;
        window.show();
        window.findChild<QPushButton *>(u"cmdUpdate"_s)->click();
        EXPECT_EQ(window.Ended(), c.started) << c.what;
        EXPECT_EQ(window.isVisible(), !c.started) << c.what;
        EXPECT_EQ(m_presenter.Texts(), c.messages) << c.what;
        EXPECT_EQ(m_presenter.shown.value(0).style, MessageStyle::YesNoQuestion) << c.what;
        for (qsizetype i = 1; i < m_presenter.shown.size(); ++i)
            EXPECT_EQ(m_presenter.shown[i].style, MessageStyle::Exclamation) << c.what;
        if (c.started)
            EXPECT_EQ(waitForRecord(), "2\n[]\n[small]\n") << c.what;
        else
            EXPECT_FALSE(QFile::exists(recordFile())) << c.what;
    }
}

} // namespace
