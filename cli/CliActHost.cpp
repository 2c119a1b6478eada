#include "CliActHost.h"

#include "CommandMessages.h"

CliActHost::CliActHost(FieldRows &rows, RecognitionContext &context, std::optional<QString> input,
                       CommandMessages &messages)
    : m_rows(rows), m_context(context), m_input(std::move(input)), m_messages(messages)
{}

void CliActHost::CaptureClipboard()
{
    if (!m_input)
        return;
    const ParseOutcome outcome = CaptureText(m_context, *m_input, false, m_rows, m_clipText);
    m_messages.Say(outcome.message);
    m_status = outcome.status;
    m_captured = true;
}
