#include "CliActHost.h"

#include "act/ContactWriter.h"

#include "recognition/ParseState.h"

namespace {

constexpr quint8 ChoiceBack = 2;

} // namespace

CliActHost::CliActHost(FieldRows &rows, std::optional<QString> input, QString separator)
    : m_rows(rows), m_input(std::move(input)), m_separator(std::move(separator))
{}

void CliActHost::CaptureClipboard()
{
    if (!m_input)
        return;
    UserSeparator = m_separator;
    m_status = CaptureText(*m_input, false, m_rows, m_clipText, nullptr);
    m_captured = true;
}

void CliActHost::ShowCompletionDialog()
{
    CompletionChoice = ChoiceBack;
}
