#pragma once

#include <QString>

#include <string>

struct Message;

// The messages of one command without a window: each goes to standard error as
// a line of its German text; the last is kept for the command's JSON outcome.
class CommandMessages
{
public:
    // Nothing for an empty message.
    void Say(const Message &message);
    void Say(const QString &text);

    bool Shown() const { return m_shown; }
    QString LastText() const { return m_lastText; }

private:
    bool m_shown = false;
    QString m_lastText;
};

// A message line appended where a batch of blocks collects its own, so the
// lines reach standard error in input order whichever thread met them.
void AppendMessageLine(std::string &lines, const Message &message);
void AppendMessageLine(std::string &lines, const QString &text);
