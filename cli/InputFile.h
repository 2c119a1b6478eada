#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// No address block comes near this; a larger text (or JSON line) is a wrong
// file or an endless stream, refused before it takes all memory.
inline constexpr qint64 MaxTextBytes = qint64(64) << 20;

// Reads the whole of path, or standard input when path is empty, up to
// MaxTextBytes. On failure gives nothing and a one-line reason.
std::optional<QByteArray> ReadInput(const QString &path, QString &reason);

// How a message names the input: the path, or "standard input".
QString InputName(const QString &path);

// "larger than 64 MiB", for the messages of both caps.
QString TooLargeReason();
