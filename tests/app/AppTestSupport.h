#pragma once

#include "common/RecordingPresenter.h"
#include "tests/standin/StandinFixture.h"

#include <QList>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <gtest/gtest.h>

class QWidget;

// The application every test of this program runs in (offscreen).
void EnsureApplication();

// Runs `action` on the next modal window that opens while a command waits in
// it; gives up after a few seconds or when cancelled.
struct ModalWatch
{
    bool done = false;      // the action ran
    bool cancelled = false; // stop watching
    QString title;          // of the modal window it ran on
};
std::shared_ptr<ModalWatch> WhenModalOpens(std::function<void(QWidget *)> action);

// A test's own world: the stand-in's folder and registry, the program folder
// (settings, update program), a scripted presenter and an empty clipboard.
class AppTest : public StandinFixture
{
protected:
    void SetUp() override;
    void TearDown() override;

    QString ProgramHome() const { return m_root.filePath(QStringLiteral("Ordalis Programm")); }
    static void SetClipboard(const QString &text);

    QTemporaryDir m_root;
    RecordingPresenter m_presenter;
};
