#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class QProgressDialog;
class QWidget;

// A cancellable progress indication over `window` while work turns the event
// loop (a network request): shown only after half a second, so quick work
// shows none; the window takes no input and cannot be closed meanwhile.
class CancellableProgress : public QObject
{
    Q_OBJECT
public:
    static constexpr int DelayMs = 500;

    CancellableProgress(QWidget &window, QString label, std::function<void()> cancel);
    ~CancellableProgress() override;

    // Hidden while a question is asked (holding), back half a second after the
    // last hold ends; holds nest.
    void Hold(bool holding);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void show();

    QWidget &m_window;
    QString m_label;
    std::function<void()> m_cancel;
    QTimer m_delay;
    QProgressDialog *m_dialog = nullptr;
    int m_holds = 0;
};
