#include "HandedOverCapture.h"

#include "MainWindow.h"
#include "SingleInstance.h"
#include "WindowMessages.h"

#include "support/MessageTexts.h"

#include <QAbstractButton>
#include <QApplication>

namespace {
constexpr int RetryIntervalMs = 100;
// How long the compositor may take to give the window the focus before the user is asked.
constexpr int ActivationPatienceMs = 2000;
} // namespace

HandedOverCapture::HandedOverCapture(MainWindow &window, QObject *parent)
    : QObject(parent), m_window(window)
{
    m_retry.setInterval(RetryIntervalMs);
    connect(&m_retry, &QTimer::timeout, this, &HandedOverCapture::captureWhenReady);
}

bool HandedOverCapture::ClipboardNeedsFocus()
{
    return QGuiApplication::platformName().startsWith(QStringLiteral("wayland"));
}

void HandedOverCapture::Request(const QString &activationToken)
{
    bringToFront(activationToken);
    if (!m_pending) {
        m_pending = true;
        m_toldToClick = false;
        m_patience.setRemainingTime(ActivationPatienceMs);
    }
    // Never inside the socket's signal: the capture may open message boxes.
    m_retry.start();
}

void HandedOverCapture::bringToFront(const QString &activationToken)
{
    // The compositor lets a window take the focus with the token its launcher gave the new start.
    if (!activationToken.isEmpty())
        qputenv("XDG_ACTIVATION_TOKEN", activationToken.toUtf8());
    if (QWidget *dialog = QApplication::activeModalWidget()) {
        dialog->raise();
        dialog->activateWindow();
        return;
    }
    m_window.setWindowState(m_window.windowState() & ~Qt::WindowMinimized);
    // As at start-up: on top and at once not, so it comes in front of ACT! without staying there.
    m_window.SetTopMost(true);
    m_window.SetTopMost(false);
}

void HandedOverCapture::captureWhenReady()
{
    if (!m_pending) {
        m_retry.stop();
        return;
    }
    // A dialog the user is answering goes first, and so does a command still
    // running; either may still use the rows.
    if (QApplication::activeModalWidget() != nullptr || m_window.Busy())
        return;
    if (m_waitForActive && !m_window.isActiveWindow()) {
        if (!m_toldToClick && m_patience.hasExpired()) {
            m_toldToClick = true;
            ShowMessage(MessageText::ClipboardNeedsFocus, MessageStyle::Information);
        }
        return;
    }
    m_pending = false;
    m_retry.stop();
    // The button's own command, so a capture asked for from outside is the same as a click.
    if (auto *button = m_window.findChild<QAbstractButton *>(QStringLiteral("cmdGetClipboard")))
        button->click();
}

void ServeHandOvers(SingleInstance &instance, MainWindow &window)
{
    auto *capture = new HandedOverCapture(window, &window);
    QObject::connect(&instance, &SingleInstance::captureRequested, capture,
                     &HandedOverCapture::Request);
}
