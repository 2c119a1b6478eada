#include "AppTestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QWidget>

std::shared_ptr<ModalWatch> WhenModalOpens(std::function<void(QWidget *)> action)
{
    auto watch = std::make_shared<ModalWatch>();
    auto *poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [=, tries = 0]() mutable {
        QWidget *modal = QApplication::activeModalWidget();
        if (watch->cancelled || modal != nullptr || ++tries > 500) {
            poll->stop();
            poll->deleteLater();
        }
        if (watch->cancelled || modal == nullptr || watch->done)
            return;
        watch->done = true;
        action(modal);
    });
    poll->start(10);
    return watch;
}

void MarkText(QPlainTextEdit *editor, int start, int length)
{
    QTextCursor cursor = editor->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    editor->setTextCursor(cursor);
}

void AppTest::SetUp()
{
    if (QApplication::instance() == nullptr) { // one for the whole program, offscreen
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "test_app";
        static char *argv[] = {name, nullptr};
        new QApplication(argc, argv);
    }
    StandinFixture::SetUp();
    ASSERT_TRUE(m_root.isValid());
    ASSERT_TRUE(QDir().mkpath(ProgramHome()));
    qputenv("ORDALIS_HOME", ProgramHome().toLocal8Bit());
    m_answering.emplace(m_presenter);
    SetClipboard(QString());
    // The window's place and size go here, not to the user's own.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_root.path());
}

void AppTest::TearDown()
{
    m_window.reset();
    m_answering.reset();
    while (QApplication::overrideCursor() != nullptr)
        QApplication::restoreOverrideCursor();
    StandinFixture::TearDown();
}

void AppTest::SetClipboard(const QString &text)
{
    QGuiApplication::clipboard()->setText(text, QClipboard::Clipboard);
}

MainWindow &AppTest::window()
{
    if (!m_window)
        m_window = std::make_unique<MainWindow>();
    return *m_window;
}

void AppTest::showActive()
{
    window().show();
    QApplication::setActiveWindow(&window());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
}

int AppTest::rowOf(qint32 fieldNumber)
{
    for (int row = 0; row < FieldRows::RowCount; ++row) {
        const std::optional<RowContent> content = rows().ReadRow(row);
        if (content && content->FieldNumber == fieldNumber)
            return row;
    }
    return -1;
}

QString AppTest::valueOf(qint32 fieldNumber)
{
    const int row = rowOf(fieldNumber);
    return row < 0 ? QStringLiteral("<none>") : rows().ReadRow(row)->Value;
}
