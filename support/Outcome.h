#pragma once

#include <QString>
#include <QStringList>

// What the user is to be told about a step of the core. The core only says
// what happened; each program shows it its own way: the window in a message
// box, the CLI on standard error and in its JSON, the installer not at all.
struct Message
{
    enum class Id {
        None,
        ClipboardEmpty,
        NoSeparator,
        NoData,
        FieldLoadFailed,
        ContactNotCreated,
        ContactNotEdited,
        CardAlreadyThere, // the found card's name
        LastCardNotNoted,
    };

    Message() = default;
    Message(Id id, QStringList arguments = {}, QString reason = {})
        : id(id), arguments(std::move(arguments)), reason(std::move(reason))
    {}

    Id id = Id::None;
    // Fill the text's placeholders in order; a text without placeholders is
    // followed by them, each after a blank (a failure, then what went wrong).
    QStringList arguments;
    // The technical cause, for a program with room to show it beside the text.
    QString reason;

    bool IsEmpty() const { return id == Id::None; }
    // The German text exactly as users know it.
    QString Text() const;
    // The message-box style: information or exclamation.
    qint16 Style() const;
};

// A step's result: whether it did its job, and what the user is to be told.
struct Outcome
{
    bool done = true;
    Message message;

    static Outcome Done() { return {}; }
    static Outcome Failed(Message message) { return {false, std::move(message)}; }
};
