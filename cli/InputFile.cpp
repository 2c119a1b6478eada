#include "InputFile.h"

#include <QFile>

#include <cstdio>

std::optional<QByteArray> ReadInput(const QString &path, QString &reason)
{
    QFile file;
    const bool opened = path.isEmpty() ? file.open(stdin, QIODevice::ReadOnly)
                                       : (file.setFileName(path), file.open(QIODevice::ReadOnly));
    QByteArray data;
    if (opened)
        data = file.readAll();
    if (!opened || file.error() != QFileDevice::NoError) {
        reason = QStringLiteral("cannot read %1: %2").arg(InputName(path), file.errorString());
        return std::nullopt;
    }
    return data;
}

QString InputName(const QString &path)
{
    return path.isEmpty() ? QStringLiteral("standard input") : path;
}
