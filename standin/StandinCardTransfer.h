#pragma once

#include <QByteArray>
#include <QString>

// act-standin export --vcard [FILE]: every contact as one .vcf, to the file or
// (without one) to `output`. Returns the exit code; a failure goes to `error`.
int ExportContactCards(const QString &folder, const QString &file, QByteArray &output,
                       QString &error);

// act-standin import FILE.vcf: each readable card as a new contact, all in one
// transaction; `report` says how many were added and which cards were skipped
// and why. Exit code 0 when every card was added, 1 otherwise.
int ImportContactCards(const QString &folder, const QString &file, QString &report, QString &error);

// Larger files are refused rather than read into memory: ten thousand
// contacts take some 4 MiB.
inline constexpr qint64 MaxCardFileBytes = qint64(32) << 20;
