#include "BusyCursor.h"

#include <QGuiApplication>

BusyCursor::BusyCursor()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyCursor::~BusyCursor()
{
    // Qt ignores a restore with nothing left to restore, so a caller that
    // cleared every pointer itself costs nothing here.
    QGuiApplication::restoreOverrideCursor();
}

BusyCursor::Pause::Pause()
{
    while (const QCursor *cursor = QGuiApplication::overrideCursor()) {
        m_held.append(*cursor);
        QGuiApplication::restoreOverrideCursor();
    }
}

BusyCursor::Pause::~Pause()
{
    for (auto it = m_held.crbegin(); it != m_held.crend(); ++it)
        QGuiApplication::setOverrideCursor(*it);
}
