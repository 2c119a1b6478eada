#pragma once

#include "act/standin/StandinRunLock.h"

#include <QString>

#include <memory>
#include <optional>

class ContactDatabase;

// What makes a running stand-in: the run lock, the database (created on first
// start), the published database state and the registry entry, in that order,
// so a program that finds the registry entry finds a stand-in ready for calls.
class StandinHost
{
public:
    explicit StandinHost(QString folder);
    ~StandinHost();

    // An empty text on success, else why the stand-in cannot run.
    QString Start(bool noDatabase, std::optional<int> fieldCount);

    QString Folder() const { return m_folder; }
    // Null when running without a database.
    std::shared_ptr<ContactDatabase> Database() const { return m_database; }

private:
    QString m_folder;
    StandinRunLock m_lock;
    std::shared_ptr<ContactDatabase> m_database;
};
