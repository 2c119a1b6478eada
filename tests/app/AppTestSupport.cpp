#include "AppTestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
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

void AppTest::SetUp()
{
    EnsureApplication();
    StandinFixture::SetUp();
    ASSERT_TRUE(m_root.isValid());
    ASSERT_TRUE(QDir().mkpath(ProgramHome()));
    qputenv("ORDALIS_HOME", ProgramHome().toLocal8Bit());
    SetMessagePresenter(&m_presenter);
    SetClipboard(QString());
}

void AppTest::TearDown()
{
    SetMessagePresenter(nullptr);
    while (QApplication::overrideCursor() != nullptr)
        QApplication::restoreOverrideCursor();
    StandinFixture::TearDown();
}

void AppTest::SetClipboard(const QString &text)
{
    QGuiApplication::clipboard()->setText(text, QClipboard::Clipboard);
}
