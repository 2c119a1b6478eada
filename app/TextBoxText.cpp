#include "TextBoxText.h"

#include "recognition/TextOps.h"

#include <QPlainTextEdit>

QString TextWithCrLf(const QPlainTextEdit &box)
{
    return WithCrLfLineBreaks(box.toPlainText());
}
