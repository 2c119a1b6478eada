#pragma once

#include <QStringView>

#include <optional>

// Which recognizer a parse uses. Classic scores every line by the old rules;
// Improved sorts lines by rule tables, drops what is no address and splits
// lines that hold several values.
enum class Recognizer {
    Classic,
    Improved,
};

// "classic" or "improved" (as the command line and the window state spell it).
inline std::optional<Recognizer> RecognizerNamed(QStringView name)
{
    if (name == u"classic")
        return Recognizer::Classic;
    if (name == u"improved")
        return Recognizer::Improved;
    return std::nullopt;
}

inline QStringView RecognizerName(Recognizer recognizer)
{
    return recognizer == Recognizer::Improved ? QStringView(u"improved") : QStringView(u"classic");
}
