// The online update from its button: the question, the file test, and the
// start of the real (here: a recording script) update program with exactly ""
// and "small", from a folder whose name a shell would split.

#include "AppTestSupport.h"
#include "common/TestFiles.h"

#include "app/MainWindow.h"
#include "app/UpdateLauncher.h"
#include "support/MessageTexts.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>

#include <tuple>

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
};

TEST_F(UpdateLauncher, OutcomesOfTheButton)
{
    const QString home = m_root.filePath(u"Mein Ordner; echo x"_s);
    ASSERT_TRUE(QDir().mkpath(home));
    qputenv("ORDALIS_HOME", home.toLocal8Bit());
    // the answer, the program (0 missing, 1 not executable, 2 ready), the message after the
    // question
    const std::tuple<qint16, int, QString> cases[] = {
        {MessageAnswer::No, 2, {}},
        {MessageAnswer::Yes, 0, MessageText::UpdateNotFound},
        {MessageAnswer::Yes, 1, MessageText::UpdateNotStarted},
        {MessageAnswer::Yes, 2, {}},
    };
    for (const auto &[answer, program, failure] : cases) {
        const bool started = answer == MessageAnswer::Yes && program == 2;
        const std::string what = std::to_string(answer) + "/" + std::to_string(program);
        QFile::remove(UpdateProgramPath());
        QFile::remove(recordFile());
        if (program > 0)
            installUpdateProgram(program == 2);
        m_presenter.shown.clear();
        m_presenter.answers = {answer};

        MainWindow window;
        window.show();
        window.findChild<QPushButton *>(u"cmdUpdate"_s)->click();
        EXPECT_EQ(window.Ended(), started) << what;
        EXPECT_EQ(window.isVisible(), !started) << what;
        QStringList messages{MessageText::UpdateQuestion};
        if (!failure.isEmpty())
            messages << failure;
        EXPECT_EQ(m_presenter.Texts(), messages) << what;
        EXPECT_EQ(m_presenter.shown.value(0).style, MessageStyle::YesNoQuestion) << what;
        // the program writes its record and then moves it into place
        if (started) {
            EXPECT_TRUE(QTest::qWaitFor([this] { return QFile::exists(recordFile()); }, 10000));
        }
        EXPECT_EQ(QFile::exists(recordFile()) ? readBytes(recordFile()) : "<not started>",
                  started ? "2\n[]\n[small]\n" : "<not started>")
            << what;
    }
}

} // namespace
