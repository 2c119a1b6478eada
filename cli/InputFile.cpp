#include "InputFile.h"

#include <QFile>

#include <cstdio>

std::optional<QByteArray> ReadInput(const QString &path, QString &reason)
{
    QFile file;
    const bool opened = path.isEmpty() ? file.open(stdin, QIODevice::ReadOnly)
                                       : (file.setFileName(path), file.open(QIODevice::ReadOnly));
    if (!opened) {
        reason =
            QStringLiteral("cannot read %1: %2")
                .arg(path.isEmpty() ? QStringLiteral("standard input") : path, file.errorString());
        return std::nullopt;
    }
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        reason = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    return data;
}
