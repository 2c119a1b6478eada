#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QProgressDialog;
class QWidget;

// Progress of work that comes in steps, shown in a window. From the first step
// the window repaints but takes no input, so no second command starts in the
// middle of the work; after half a second a window-modal dialog shows how far
// it is. It offers no cancel: the work's result stays whole.
class DelayedProgress : public QObject
{
    Q_OBJECT
public:
    static constexpr int ShowAfterMs = 500;

    DelayedProgress(QWidget &window, QString label);
    ~DelayedProgress() override;

    // `done` of `total` steps. When done reaches total the work is over: the
    // dialog goes and the window takes input again.
    void Step(int done, int total);
    // Step, for a layer below the window.
    std::function<void(int, int)> Callback();

    // The dialog once it is shown, else nullptr.
    QProgressDialog *Dialog() const { return m_dialog.get(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void show(int done, int total);
    void finish();

    QWidget &m_window;
    QString m_label;
    QElapsedTimer m_started;
    QElapsedTimer m_sinceEvents;
    std::unique_ptr<QProgressDialog> m_dialog;
    bool m_blocking = false;
};
