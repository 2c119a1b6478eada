#include "AppTestSupport.h"

#include "act/standin/StandinPaths.h"
#include "act/standin/StandinRunLock.h"
#include "support/Registry.h"

#include <QApplication>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QDir>
#include <QThread>
#include <QTimer>
#include <QWidget>

void EnsureApplication()
{
    if (QApplication::instance() != nullptr)
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "test_app";
    static char *argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

qint16 ScriptedPresenter::Present(const QString &title, const QString &text, qint16 style)
{
    titles.append(title);
    shown.append({text, style});
    if (!answers.isEmpty())
        return answers.takeFirst();
    return UnattendedAnswer(style);
}

QStringList MessageTexts(const ScriptedPresenter &presenter)
{
    QStringList texts;
    for (const ScriptedPresenter::Shown &message : presenter.shown)
        texts.append(message.text);
    return texts;
}

std::shared_ptr<ModalWatch> WhenModalOpens(std::function<void(QWidget *)> action)
{
    auto done = std::make_shared<ModalWatch>();
    auto tries = std::make_shared<int>(0);
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [action, done, tries, weak = std::weak_ptr<std::function<void()>>(poll)] {
        if (done->cancelled)
            return;
        if (QWidget *modal = QApplication::activeModalWidget()) {
            done->done = true;
            done->title = modal->windowTitle();
            action(modal);
            return;
        }
        if (++*tries > 500)
            return;
        if (auto next = weak.lock())
            QTimer::singleShot(10, [next] { (*next)(); });
    };
    // The first timer holds the function alive; each later one takes it over.
    QTimer::singleShot(0, [poll] { (*poll)(); });
    return done;
}

StandinRunner::StandinRunner(QString home) : m_home(std::move(home)) {}

StandinRunner::~StandinRunner()
{
    Stop();
}

bool StandinRunner::Start(const QStringList &extraArguments)
{
    m_process.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral(ACT_STANDIN_BINARY),
                    QStringList{QStringLiteral("--headless")} + extraArguments);
    if (!m_process.waitForStarted(10000))
        return false;
    const IniFileRegistry registry(qEnvironmentVariable("ACT_STANDIN_REGISTRY"));
    const QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired()) {
        if (m_process.state() != QProcess::Running)
            return false;
        if (StandinRunLock::IsHeld(RunLockPath(m_home)) &&
            registry.ReadString(ActAppPathsKey, ActAppPathsValue) == m_home)
            return true;
        QThread::msleep(20);
    }
    return false;
}

void StandinRunner::Stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(10000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

void AppTest::SetUp()
{
    EnsureApplication();
    ASSERT_TRUE(m_root.isValid());
    ASSERT_TRUE(QDir().mkpath(ProgramHome()));
    ASSERT_TRUE(QDir().mkpath(StandinHome()));
    qputenv("ORDALIS_HOME", ProgramHome().toLocal8Bit());
    qputenv("ACT_STANDIN_HOME", StandinHome().toLocal8Bit());
    qputenv("ACT_STANDIN_REGISTRY", m_root.filePath(QStringLiteral("registry.ini")).toLocal8Bit());
    SetMessagePresenter(&m_presenter);
    m_standin = std::make_unique<StandinRunner>(StandinHome());
    SetClipboard(QString());
}

void AppTest::TearDown()
{
    m_standin.reset();
    SetMessagePresenter(nullptr);
    while (QApplication::overrideCursor() != nullptr)
        QApplication::restoreOverrideCursor();
}

void AppTest::SetClipboard(const QString &text)
{
    QGuiApplication::clipboard()->setText(text, QClipboard::Clipboard);
}
