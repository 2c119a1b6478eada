#include "TextBoxText.h"

#include <QPlainTextEdit>

QString TextWithCrLf(const QPlainTextEdit &box)
{
    QString text = box.toPlainText();
    text.replace(u'\n', QStringLiteral("\r\n"));
    return text;
}
