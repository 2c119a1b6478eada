#include "QtMessagePresenter.h"

#include <QApplication>
#include <QMessageBox>

namespace {

// Button group and icon are the low and high nibble of a style number.
constexpr int ButtonMask = 0x0F;
constexpr int YesNoButtons = 4;
constexpr int IconMask = 0xF0;
constexpr int StopIcon = 16;
constexpr int QuestionIcon = 32;
constexpr int ExclamationIcon = 48;
constexpr int InformationIcon = 64;

QMessageBox::Icon iconOf(qint16 style)
{
    switch (style & IconMask) {
    case StopIcon:
        return QMessageBox::Critical;
    case QuestionIcon:
        return QMessageBox::Question;
    case ExclamationIcon:
        return QMessageBox::Warning;
    case InformationIcon:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

QWidget *ownerWindow()
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

} // namespace

qint16 QtMessagePresenter::Present(const QString &title, const QString &text, qint16 style)
{
    const bool yesNo = (style & ButtonMask) == YesNoButtons;
    QMessageBox box(iconOf(style), title, text,
                    yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, ownerWindow());
    box.setDefaultButton(yesNo ? QMessageBox::Yes : QMessageBox::Ok);
    const int pressed = box.exec();
    if (!yesNo)
        return MessageAnswer::Ok;
    return pressed == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}
