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

inline const QString ProgramName = QStringLiteral("Ordalis");
inline const QString ProgramVersion = QStringLiteral("1.18");

// Shows a message and returns the button pressed. The window implements it with
// real message boxes; tests script the answers; without a window, messages go to
// standard error.
class MessagePresenter
{
public:
    virtual ~MessagePresenter() = default;
    virtual qint16 Present(const QString &title, const QString &text, qint16 style) = 0;
};

// The presenter in force; nullptr restores the standard-error presenter, which
// answers OK, and No to a question.
void SetMessagePresenter(MessagePresenter *presenter);
MessagePresenter &CurrentMessagePresenter();

// The one way of showing a message: title "Ordalis", optionally logged first.
qint16 ShowMessage(const QString &text, qint16 style, bool log = false);
