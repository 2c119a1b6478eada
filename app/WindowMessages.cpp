#include "WindowMessages.h"

#include "QtMessagePresenter.h"

#include "support/Log.h"
#include "support/Outcome.h"

namespace {

MessagePresenter *replacement = nullptr;

MessagePresenter &presenter()
{
    static QtMessagePresenter boxes;
    return replacement != nullptr ? *replacement : boxes;
}

} // namespace

ScopedMessagePresenter::ScopedMessagePresenter(MessagePresenter &presenter)
    : m_previous(replacement)
{
    replacement = &presenter;
}

ScopedMessagePresenter::~ScopedMessagePresenter()
{
    replacement = m_previous;
}

qint16 ShowMessage(const QString &text, qint16 style, bool log)
{
    if (log)
        AppendToLog(text);
    return presenter().Present(ProgramName, text, style);
}

void ShowMessage(const Message &message)
{
    if (message.IsEmpty())
        return;
    const QString text = message.Text();
    ShowMessage(message.reason.isEmpty() ? text : text + QStringLiteral("\n\n") + message.reason,
                message.Style());
}
