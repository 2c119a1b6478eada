#include "Log.h"

#include "ProgramFolder.h"

#include <QDateTime>
#include <QFile>
#include <QLocale>

#include <stdexcept>

void AppendToLog(const QString &text)
{
    // The German short date with a four-digit year and the time with seconds,
    // as the platform shows them.
    const QLocale german(QLocale::German, QLocale::Germany);
    const QString entry =
        german.toString(QDateTime::currentDateTime(), QStringLiteral("dd.MM.yyyy HH:mm:ss")) +
        QStringLiteral(" : ") + text + QStringLiteral("\r\n");

    QFile log(SettingsFolder() + QStringLiteral("/logfile.txt"));
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append))
        throw std::runtime_error("cannot open the log file: " + log.errorString().toStdString());
    const QByteArray bytes = entry.toUtf8();
    if (log.write(bytes) != bytes.size() || !log.flush())
        throw std::runtime_error("cannot write the log file: " + log.errorString().toStdString());
    log.close();
}
