#pragma once

#include "act/ActHost.h"

#include "recognition/ParseAddress.h"

#include <optional>

class CommandMessages;
class FieldRows;
struct RecognitionContext;

// The ACT! commands' front end without a window: the "clipboard" is the input
// text, recognised exactly as `recognize` does, its message said at once; the
// completion step answers "back", so the program never ends from inside a command.
class CliActHost : public ActHost
{
public:
    // No input: a capture has nothing to read and does nothing.
    CliActHost(FieldRows &rows, RecognitionContext &context, std::optional<QString> input,
               CommandMessages &messages);

    void SetBusyPointer(bool) override {}
    void SetTopMost(bool) override {}
    QString CapturedText() const override { return m_clipText; }
    void CaptureClipboard() override;
    quint8 ShowCompletionDialog(bool) override { return CompletionChoiceBack; }
    void EndProgram() override {}

    bool Captured() const { return m_captured; }
    ParseStatus Status() const { return m_status; }

private:
    FieldRows &m_rows;
    RecognitionContext &m_context;
    std::optional<QString> m_input;
    CommandMessages &m_messages;
    QString m_clipText;
    bool m_captured = false;
    ParseStatus m_status = ParseStatus::Empty;
};
