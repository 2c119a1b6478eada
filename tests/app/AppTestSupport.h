#pragma once

#include "RecordingPresenter.h"
#include "app/MainWindow.h"
#include "tests/standin/StandinFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <gtest/gtest.h>
#include <optional>

// Runs `action` on the next modal window that opens while a command waits in
// it; gives up after a few seconds or when cancelled.
struct ModalWatch
{
    bool done = false;      // the action ran
    bool cancelled = false; // stop watching
};
std::shared_ptr<ModalWatch> WhenModalOpens(std::function<void(QWidget *)> action);

// Marks `length` characters of the editor from document position `start`.
void MarkText(QPlainTextEdit *editor, int start, int length = 1);

// A test's own world: the stand-in's folder and registry, the program folder
// (settings, update program), a scripted presenter, an empty clipboard, and
// the main window made on first use.
class AppTest : public StandinFixture
{
protected:
    void SetUp() override;
    void TearDown() override;

    QString ProgramHome() const { return m_root.filePath(QStringLiteral("Ordalis Programm")); }
    static void SetClipboard(const QString &text);

    MainWindow &window();
    FieldRows &rows() { return window().Rows(); }
    template <typename W> W *child(const QString &name) { return window().findChild<W *>(name); }
    QComboBox *field(int row) { return child<QComboBox>(QStringLiteral("txtField%1").arg(row)); }
    QLineEdit *value(int row) { return child<QLineEdit>(QStringLiteral("txtWert%1").arg(row)); }
    QPlainTextEdit *box() { return child<QPlainTextEdit>(QStringLiteral("txtClipText")); }
    void click(const char *button) { child<QPushButton>(QLatin1String(button))->click(); }
    // Shown and active, so the focus moves as a user's would.
    void showActive();
    // The value of the first row that carries this field, or "<none>"; its row or -1.
    QString valueOf(qint32 fieldNumber);
    int rowOf(qint32 fieldNumber);

    QTemporaryDir m_root;
    RecordingPresenter m_presenter;
    std::optional<ScopedMessagePresenter> m_answering;
    std::unique_ptr<MainWindow> m_window;
};
