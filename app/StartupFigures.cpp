#include "StartupFigures.h"

#include <QFile>
#include <QStringList>

#ifdef Q_OS_LINUX
#include <ctime>
#include <unistd.h>
#endif

qint64 MillisecondsSinceProcessStart()
{
#ifdef Q_OS_LINUX
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // The command name in parentheses may hold blanks; count fields behind it.
    const qsizetype close = line.lastIndexOf(')');
    if (close < 0)
        return -1;
    const QList<QByteArray> fields = line.mid(close + 2).split(' ');
    constexpr int StartTimeField = 22 - 3; // field 22 of the file, the third is fields[0]
    if (fields.size() <= StartTimeField)
        return -1;
    bool ok = false;
    const qint64 startTicks = fields.at(StartTimeField).toLongLong(&ok);
    const long ticksPerSecond = sysconf(_SC_CLK_TCK);
    timespec now{};
    if (!ok || ticksPerSecond <= 0 || clock_gettime(CLOCK_BOOTTIME, &now) != 0)
        return -1;
    const qint64 nowMs = qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
    return nowMs - startTicks * 1000 / ticksPerSecond;
#else
    return -1;
#endif
}

qint64 ResidentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    // Files under /proc report no size: read them whole, never test atEnd().
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith("VmRSS:")) {
            const QList<QByteArray> parts = line.mid(6).simplified().split(' ');
            bool ok = false;
            const qint64 kilobytes = parts.value(0).toLongLong(&ok);
            return ok ? kilobytes : -1;
        }
    }
    return -1;
}

QString StartupFiguresLine()
{
    return QStringLiteral("startup_ms=%1 rss_kb=%2")
        .arg(MillisecondsSinceProcessStart())
        .arg(ResidentKilobytes());
}
