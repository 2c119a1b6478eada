#pragma once

#include <QString>

// Message-box styles and answers, numbered as the platform's message boxes are.
namespace MessageStyle {
constexpr qint16 Exclamation = 48;   // OK, exclamation icon
constexpr qint16 Information = 64;   // OK, information icon
constexpr qint16 YesNoQuestion = 36; // Yes and No, question icon
} // namespace MessageStyle

namespace MessageAnswer {
constexpr qint16 Ok = 1;
constexpr qint16 Yes = 6;
constexpr qint16 No = 7;
} // namespace MessageAnswer

// A style number read as the platform reads it: buttons in the low nibble,
// icon in the high one. Button groups other than Yes/No show OK.
enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { None, Stop, Question, Exclamation, Information };
struct MessageKind
{
    MessageButtons Buttons = MessageButtons::Ok;
    MessageIcon Icon = MessageIcon::None;
};
MessageKind DecodeMessageStyle(qint16 style);

// The answer when no one can be asked: No to a question, so nothing
// irreversible happens unattended, OK to everything else.
qint16 UnattendedAnswer(qint16 style);

inline const QString ProgramName = QStringLiteral("Ordalis");
// Written by the build from the project's version.
extern const QString ProgramVersion;
