#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Reads the whole of path, or standard input when path is empty. On failure
// gives nothing and a one-line reason.
std::optional<QByteArray> ReadInput(const QString &path, QString &reason);

// How a message names the input: the path, or "standard input".
QString InputName(const QString &path);
