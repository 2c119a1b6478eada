#pragma once

#include <QString>

// The lock that says "the stand-in runs". Held with flock(2), so the kernel
// drops it when the holder dies, even by SIGKILL; anyone can test it from
// another descriptor without taking it.
class StandinRunLock
{
public:
    explicit StandinRunLock(QString lockPath);
    ~StandinRunLock();
    StandinRunLock(const StandinRunLock &) = delete;
    StandinRunLock &operator=(const StandinRunLock &) = delete;

    // False when another process holds it (or the file cannot be opened).
    bool TryAcquire();
    bool IsAcquired() const { return m_fd >= 0; }
    // Publishes whether the running stand-in has its database open.
    void PublishDatabaseOpen(bool open);
    void Release();

    struct Probe
    {
        bool running = false;
        bool databaseOpen = false; // meaningful only while running
    };
    // One look at the lock and the published state.
    static Probe Look(const QString &lockPath);
    static bool IsHeld(const QString &lockPath);

private:
    QString m_lockPath;
    int m_fd = -1;
};
