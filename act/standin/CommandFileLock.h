#pragma once

#include <QString>

// Serialises read-modify-write edits of actcmd.ini between processes (the
// stand-in's objects and the installer). An advisory flock on
// "actcmd.ini.lock" beside the file, held for the object's lifetime.
class CommandFileLock
{
public:
    // Blocks until the lock is held; a lock file that cannot be created
    // leaves the edit unserialised rather than failing it.
    explicit CommandFileLock(const QString &commandFilePath);
    ~CommandFileLock();
    CommandFileLock(const CommandFileLock &) = delete;
    CommandFileLock &operator=(const CommandFileLock &) = delete;

    bool IsHeld() const { return m_fd >= 0; }
    static QString LockPathFor(const QString &commandFilePath);

private:
    int m_fd = -1;
};
