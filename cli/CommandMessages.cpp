#include "CommandMessages.h"

#include "support/Outcome.h"

#include <cstdio>

void CommandMessages::Say(const Message &message)
{
    if (!message.IsEmpty())
        Say(message.Text());
}

void CommandMessages::Say(const QString &text)
{
    m_shown = true;
    m_lastText = text;
    const QByteArray line = text.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
}

void AppendMessageLine(std::string &lines, const Message &message)
{
    if (!message.IsEmpty())
        AppendMessageLine(lines, message.Text());
}

void AppendMessageLine(std::string &lines, const QString &text)
{
    lines += text.toUtf8().constData();
    lines += '\n';
}
