#include "WheelNeedsFocus.h"

#include <QEvent>
#include <QWidget>

bool WheelNeedsFocus::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel && watched->isWidgetType() &&
        !static_cast<QWidget *>(watched)->hasFocus()) {
        // Ignored and filtered: the application hands it to the parent.
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
