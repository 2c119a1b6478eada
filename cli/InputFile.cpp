#include "InputFile.h"

#include <QFile>

#include <cstdio>

namespace {

constexpr qint64 ChunkBytes = qint64(1) << 20;

} // namespace

std::optional<QByteArray> ReadInput(const QString &path, QString &reason)
{
    QFile file;
    const bool opened = path.isEmpty() ? file.open(stdin, QIODevice::ReadOnly)
                                       : (file.setFileName(path), file.open(QIODevice::ReadOnly));
    QByteArray data;
    // In chunks, so an endless input (/dev/zero) stops at the cap.
    while (opened && data.size() <= MaxTextBytes) {
        const QByteArray chunk = file.read(std::min(ChunkBytes, MaxTextBytes + 1 - data.size()));
        if (chunk.isEmpty())
            break;
        data += chunk;
    }
    if (!opened || file.error() != QFileDevice::NoError) {
        reason = QStringLiteral("cannot read %1: %2").arg(InputName(path), file.errorString());
        return std::nullopt;
    }
    if (data.size() > MaxTextBytes) {
        reason = QStringLiteral("%1 is %2").arg(InputName(path), TooLargeReason());
        return std::nullopt;
    }
    return data;
}

QString InputName(const QString &path)
{
    return path.isEmpty() ? QStringLiteral("standard input") : path;
}

QString TooLargeReason()
{
    return QStringLiteral("larger than %1 MiB; no address block is that large")
        .arg(MaxTextBytes >> 20);
}
