#include "CancellableProgress.h"

#include <QApplication>
#include <QEvent>
#include <QProgressDialog>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

// The widget an object belongs to: itself, or the nearest widget among its parents.
QWidget *widgetOf(QObject *object)
{
    while (object != nullptr && !object->isWidgetType())
        object = object->parent();
    return static_cast<QWidget *>(object);
}

} // namespace

CancellableProgress::CancellableProgress(QWidget &window, QString label,
                                         std::function<void()> cancel)
    : m_window(window), m_label(std::move(label)), m_cancel(std::move(cancel))
{
    m_delay.setSingleShot(true);
    m_delay.setInterval(DelayMs);
    connect(&m_delay, &QTimer::timeout, this, &CancellableProgress::show);
    m_delay.start();
    qApp->installEventFilter(this);
}

CancellableProgress::~CancellableProgress()
{
    qApp->removeEventFilter(this);
    delete m_dialog;
}

void CancellableProgress::show()
{
    if (m_holds > 0)
        return;
    if (m_dialog == nullptr) {
        m_dialog = new QProgressDialog(m_label, u"Abbrechen"_s, 0, 0, &m_window);
        m_dialog->setObjectName(u"dlgFortschritt"_s);
        m_dialog->setWindowTitle(m_window.window()->windowTitle());
        m_dialog->setWindowModality(Qt::WindowModal);
        m_dialog->setMinimumDuration(0);
        m_dialog->setAutoReset(false);
        m_dialog->setAutoClose(false);
        connect(m_dialog, &QProgressDialog::canceled, this, [this] {
            if (m_cancel)
                m_cancel();
        });
    }
    m_dialog->show();
}

void CancellableProgress::Hold(bool holding)
{
    m_holds += holding ? 1 : -1;
    if (holding) {
        m_delay.stop();
        if (m_dialog != nullptr)
            m_dialog->hide();
    } else if (m_holds == 0) {
        m_delay.start();
    }
}

bool CancellableProgress::eventFilter(QObject *watched, QEvent *event)
{
    // Holding, the work waits for the user: the window is theirs again.
    if (m_holds > 0)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::Shortcut:
    case QEvent::Close:
        break;
    default:
        return false;
    }
    // Only the window's own controls wait; the progress and any question asked
    // meanwhile are windows of their own.
    const QWidget *widget = widgetOf(watched);
    if (widget == nullptr || widget->window() != m_window.window())
        return false;
    event->ignore();
    return true;
}
