#pragma once

#include <QString>

#include <chrono>

// Serialises read-modify-write edits of actcmd.ini between processes (the
// stand-in's objects and the installer). An advisory flock on
// "actcmd.ini.lock" beside the file, held for the object's lifetime.
class CommandFileLock
{
public:
    static constexpr std::chrono::milliseconds DefaultTimeout{10000};

    // Waits at most timeout for the lock, so a stuck holder can never hang an
    // unattended installer. A lock file that cannot be created leaves the edit
    // unserialised rather than failing it; only a timeout counts as TimedOut().
    explicit CommandFileLock(const QString &commandFilePath,
                             std::chrono::milliseconds timeout = DefaultTimeout);
    ~CommandFileLock();
    CommandFileLock(const CommandFileLock &) = delete;
    CommandFileLock &operator=(const CommandFileLock &) = delete;

    bool IsHeld() const { return m_fd >= 0; }
    bool TimedOut() const { return m_timedOut; }
    static QString LockPathFor(const QString &commandFilePath);

private:
    int m_fd = -1;
    bool m_timedOut = false;
};
