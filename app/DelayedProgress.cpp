#include "DelayedProgress.h"

#include <QApplication>
#include <QEvent>
#include <QProgressDialog>

namespace {

// Often enough that the window looks alive, rarely enough that thousands of
// quick steps cost next to nothing.
constexpr int EventsEveryMs = 40;

bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

} // namespace

DelayedProgress::DelayedProgress(QWidget &window, QString label)
    : m_window(window), m_label(std::move(label))
{
    m_started.start();
    qApp->installEventFilter(this);
    m_blocking = true;
}

DelayedProgress::~DelayedProgress()
{
    finish();
}

std::function<void(int, int)> DelayedProgress::Callback()
{
    return [this](int done, int total) { Step(done, total); };
}

void DelayedProgress::Step(int done, int total)
{
    if (done >= total) {
        finish();
        return;
    }
    if (m_sinceEvents.isValid() && m_sinceEvents.elapsed() < EventsEveryMs)
        return;
    if (m_dialog) {
        m_dialog->setMaximum(total);
        m_dialog->setValue(done);
    } else if (m_started.elapsed() >= ShowAfterMs) {
        show(done, total);
    }
    QCoreApplication::processEvents();
    m_sinceEvents.restart();
}

void DelayedProgress::show(int done, int total)
{
    m_dialog = std::make_unique<QProgressDialog>(m_label, QString(), 0, total, &m_window);
    m_dialog->setObjectName(QStringLiteral("dlgFortschritt"));
    m_dialog->setWindowTitle(m_window.windowTitle());
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setCancelButton(nullptr);
    m_dialog->setAutoReset(false);
    m_dialog->setAutoClose(false);
    m_dialog->setMinimumDuration(0);
    m_dialog->setValue(done);
    m_dialog->show();
}

void DelayedProgress::finish()
{
    m_dialog.reset();
    if (m_blocking) {
        qApp->removeEventFilter(this);
        m_blocking = false;
    }
}

bool DelayedProgress::eventFilter(QObject *watched, QEvent *event)
{
    if (!isUserInput(event->type()) || !watched->isWidgetType())
        return false;
    const QWidget *window = static_cast<QWidget *>(watched)->window();
    if (window != &m_window && window != m_dialog.get())
        return false;
    // A key meant for a shortcut is taken here, so the shortcut never fires.
    event->accept();
    if (event->type() == QEvent::Close)
        event->ignore();
    return true;
}
