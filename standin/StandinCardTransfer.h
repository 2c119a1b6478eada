#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// act-standin export --vcard [FILE]: every contact as one .vcf, to the file or
// (without one) to `output`. Returns the exit code; a failure goes to `error`.
int ExportContactCards(const QString &folder, const QString &file, QByteArray &output,
                       QString &error);

// act-standin import FILE.vcf: each readable card as a new contact, all in one
// transaction; the cards are read and stored one at a time, so memory stays a
// small part of the file. `report` receives, line by line, which cards were
// skipped or lost values and why, and how many were added.
int ImportContactCards(const QString &folder, const QString &file,
                       const std::function<void(const QString &)> &report, QString &error);

// The exit codes of import.
namespace ImportStatus {
constexpr int Complete = 0;      // every card added with every value
constexpr int Failed = 1;        // a card was skipped, or nothing could be added
constexpr int ValuesDropped = 3; // every card added, but values no field takes were left out
} // namespace ImportStatus

// Larger files are refused: ten thousand contacts take some 4 MiB.
inline constexpr qint64 MaxCardFileBytes = qint64(32) << 20;
