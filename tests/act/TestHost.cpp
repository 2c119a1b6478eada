#include "TestHost.h"

#include "act/ContactWriter.h"

#include "recognition/ParseAddress.h"

void TestHost::SetBusyPointer(bool on)
{
    busy = on;
    events.append(on ? QStringLiteral("busy") : QStringLiteral("idle"));
}

void TestHost::SetTopMost(bool onTop)
{
    events.append(onTop ? QStringLiteral("topmost") : QStringLiteral("not topmost"));
}

void TestHost::CaptureClipboard()
{
    ++captures;
    CaptureText(clipboard, false, m_rows, clipText, nullptr);
}

void TestHost::ShowCompletionDialog()
{
    events.append(QStringLiteral("completion"));
    completions.append(LastWriteWasNew);
    CompletionChoice = completionAnswer;
}

qint16 MessageLog::Present(const QString &, const QString &text, qint16 style)
{
    shown.append({text, style});
    return MessageAnswer::Ok;
}

QStringList MessageLog::Texts() const
{
    QStringList texts;
    for (const Shown &message : shown)
        texts.append(message.text);
    return texts;
}
