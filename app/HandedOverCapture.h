#pragma once

#include <QDeadlineTimer>
#include <QObject>
#include <QString>
#include <QTimer>

class MainWindow;
class SingleInstance;

// A capture that a later start of Ordalis handed over: the window comes to the
// front, and its "Hole aus Zwischenablage" runs once the window may read the
// clipboard: after a dialog open in it has closed, and where only the focused
// program may read the clipboard (Wayland), once the window is active.
class HandedOverCapture : public QObject
{
    Q_OBJECT
public:
    explicit HandedOverCapture(MainWindow &window, QObject *parent = nullptr);

    // True on Wayland.
    static bool ClipboardNeedsFocus();
    void SetWaitForActiveWindow(bool wait) { m_waitForActive = wait; }

    // Brings the window forward and captures as soon as it may.
    void Request(const QString &activationToken);
    bool Pending() const { return m_pending; }

private:
    void bringToFront(const QString &activationToken);
    void captureWhenReady();

    MainWindow &m_window;
    QTimer m_retry;
    QDeadlineTimer m_patience;
    bool m_waitForActive = ClipboardNeedsFocus();
    bool m_pending = false;
    bool m_toldToClick = false;
};

// Every request the running instance receives becomes a capture in `window`.
void ServeHandOvers(SingleInstance &instance, MainWindow &window);
