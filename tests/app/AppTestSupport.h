#pragma once

#include "app/formMain.h"
#include "common/RecordingPresenter.h"
#include "tests/standin/StandinFixture.h"

#include <QList>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <gtest/gtest.h>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

// Runs `action` on the next modal window that opens while a command waits in
// it; gives up after a few seconds or when cancelled.
struct ModalWatch
{
    bool done = false;      // the action ran
    bool cancelled = false; // stop watching
    QString title;          // of the modal window it ran on
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

    formMain &window();
    FieldRows &rows() { return window().Rows(); }
    QComboBox *field(int row);
    QLineEdit *value(int row);
    QPlainTextEdit *box();
    void click(const char *button);
    // Shown and active, so the focus moves as a user's would.
    void showActive();
    // The value of the first row that carries this field, or "<none>"; its row or -1.
    QString valueOf(qint32 fieldNumber);
    int rowOf(qint32 fieldNumber);

    QTemporaryDir m_root;
    RecordingPresenter m_presenter;
    std::unique_ptr<formMain> m_window;
};
