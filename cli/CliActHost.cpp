#include "CliActHost.h"

CliActHost::CliActHost(FieldRows &rows, RecognitionContext &context, std::optional<QString> input)
    : m_rows(rows), m_context(context), m_input(std::move(input))
{}

void CliActHost::CaptureClipboard()
{
    if (!m_input)
        return;
    m_status = CaptureText(m_context, *m_input, false, m_rows, m_clipText, nullptr);
    m_captured = true;
}
