#pragma once

#include <QObject>

// Installed on a control whose value the mouse wheel changes: the wheel acts
// there only while the control has the keyboard focus, so scrolling over the
// window never changes a value the user is not looking at. Otherwise the
// wheel event goes on to the control's parent.
class WheelNeedsFocus : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
